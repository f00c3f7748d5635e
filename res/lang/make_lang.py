#!/usr/bin/env python3
"""Builds the language file lang.json from one text table per language.

Each table texts/<CODE>.txt holds lines "<text id>|<text>" (the text runs from the first '|' to
the end of the line, blanks included); blank lines and lines starting with '#' are skipped, and
"\\n" in a text stands for a line break. The English table (US) is the
reference: every other table must hold exactly its ids, and each text must carry the same format
conversions (%d, %s, %u ...) in the same order, so a view that formats a text never gets a
mismatched argument.

The output is one JSON object: {"<text id>": {"CN": "...", "TW": "...", ...}, ...}, ids in
the order of the reference table, codes in the order of the language table, one id a line.
"""

import argparse
import json
import os
import re
import sys

# Language index -> code, as the language setting selects it.
CODES = ["CN", "TW", "US", "RU", "ES", "HL", "TH", "PL",
         "AR", "VN", "JP", "PT", "GE", "FR", "SK", "TU"]
REFERENCE = "US"
ID_RE = re.compile(r"^LANG_RES_ID_[A-Z0-9_]+$")
FORMAT_RE = re.compile(r"%[-+ 0#]*[0-9]*(?:\.[0-9]+)?(?:hh|h|ll|l|z)?[diouxXcsfp%]")


class TableError(Exception):
    pass


def read_table(path):
    texts = {}
    order = []
    with open(path, encoding="utf-8") as f:
        for lineno, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            if "|" not in line:
                raise TableError(f"{path}:{lineno}: expected '<id>|<text>'")
            text_id, text = line.split("|", 1)
            if not ID_RE.match(text_id):
                raise TableError(f"{path}:{lineno}: bad text id '{text_id}'")
            if text_id in texts:
                raise TableError(f"{path}:{lineno}: duplicate text id '{text_id}'")
            text = text.replace("\\n", "\n")
            if not text.strip():
                raise TableError(f"{path}:{lineno}: empty text for '{text_id}'")
            texts[text_id] = text
            order.append(text_id)
    return texts, order


def formats(text):
    return [m for m in FORMAT_RE.findall(text) if m != "%%"]


def build(src_dir):
    tables = {}
    ref_order = None
    for code in CODES:
        texts, order = read_table(os.path.join(src_dir, f"{code}.txt"))
        tables[code] = texts
        if code == REFERENCE:
            ref_order = order
    errors = []
    ref = tables[REFERENCE]
    for code in CODES:
        missing = [i for i in ref_order if i not in tables[code]]
        extra = sorted(set(tables[code]) - set(ref))
        errors += [f"{code}: missing {i}" for i in missing]
        errors += [f"{code}: id not in {REFERENCE}: {i}" for i in extra]
        for text_id in ref_order:
            text = tables[code].get(text_id)
            if text is not None and formats(text) != formats(ref[text_id]):
                errors.append(f"{code}: {text_id}: format parts {formats(text)} differ from "
                              f"{REFERENCE} {formats(ref[text_id])}")
    if errors:
        raise TableError("\n".join(errors))
    return {i: {code: tables[code][i] for code in CODES} for i in ref_order}


def write(doc, out_path):
    lines = []
    for text_id, row in doc.items():
        lines.append(json.dumps(text_id, ensure_ascii=False) + ":" +
                     json.dumps(row, ensure_ascii=False, separators=(",", ":")))
    tmp = out_path + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        f.write("{\n" + ",\n".join(lines) + "\n}\n")
    os.replace(tmp, out_path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--src", required=True, help="folder of the <CODE>.txt tables")
    parser.add_argument("--out", required=True, help="lang.json to write")
    args = parser.parse_args()
    try:
        doc = build(args.src)
    except (TableError, OSError, UnicodeDecodeError) as e:
        print(f"make_lang: {e}", file=sys.stderr)
        return 1
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    write(doc, args.out)
    print(f"make_lang: {len(doc)} texts in {len(CODES)} languages -> {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
