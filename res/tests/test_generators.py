#!/usr/bin/env python3
"""Tests of the resource generators: the language table checks and the GIF encoder."""

import importlib.util
import json
import os
import random
import shutil
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.dirname(HERE)


def load(name, rel):
    found = importlib.util.spec_from_file_location(name, os.path.join(RES, rel))
    mod = importlib.util.module_from_spec(found)
    found.loader.exec_module(mod)
    return mod


make_lang = load("make_lang", "lang/make_lang.py")
make_gifs = load("make_gifs", "gif/make_gifs.py")


def lzw_decode(data, min_size):
    """A plain GIF LZW decoder, written from the format, to check the encoder against."""
    clear, eoi = 1 << min_size, (1 << min_size) + 1
    pos = 0
    width = min_size + 1

    def read():
        nonlocal pos
        code = 0
        for i in range(width):
            byte = data[(pos + i) // 8]
            code |= ((byte >> ((pos + i) % 8)) & 1) << i
        pos += width
        return code

    table = None
    prev = None
    out = bytearray()
    while True:
        code = read()
        if code == clear:
            table = [bytes([i]) for i in range(clear)] + [b"", b""]
            width = min_size + 1
            prev = None
            continue
        if code == eoi:
            return bytes(out)
        if prev is None:
            entry = table[code]
        elif code < len(table):
            entry = table[code]
            table.append(prev + entry[:1])
        elif code == len(table):
            entry = prev + prev[:1]
            table.append(entry)
        else:
            raise ValueError(f"code {code} beyond table {len(table)}")
        out += entry
        prev = entry
        if len(table) == (1 << width) and width < 12:
            width += 1


class LanguageTables(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.dir)

    def write(self, rows, override=None):
        for code in make_lang.CODES:
            lines = dict(rows)
            if override and code in override:
                lines = override[code]
            with open(os.path.join(self.dir, f"{code}.txt"), "w", encoding="utf-8") as f:
                f.write("# table\n\n")
                for k, v in (lines.items() if isinstance(lines, dict) else lines):
                    f.write(f"{k}|{v}\n")

    def test_builds_one_row_per_id_with_every_code_in_table_order(self):
        self.write({"LANG_RES_ID_A": "A %d", "LANG_RES_ID_B": " times|x\\nnext"})
        doc = make_lang.build(self.dir)
        self.assertEqual(list(doc), ["LANG_RES_ID_A", "LANG_RES_ID_B"])
        self.assertEqual(list(doc["LANG_RES_ID_A"]), make_lang.CODES)
        self.assertEqual(doc["LANG_RES_ID_B"]["SK"], " times|x\nnext")
        out = os.path.join(self.dir, "out", "lang.json")
        os.makedirs(os.path.dirname(out))
        make_lang.write(doc, out)
        with open(out, encoding="utf-8") as f:
            self.assertEqual(json.load(f), doc)

    def test_rejects_missing_extra_and_duplicate_ids(self):
        base = {"LANG_RES_ID_A": "a", "LANG_RES_ID_B": "b"}
        self.write(base, {"JP": {"LANG_RES_ID_A": "a"}})
        with self.assertRaisesRegex(make_lang.TableError, "JP: missing LANG_RES_ID_B"):
            make_lang.build(self.dir)
        self.write(base, {"TH": dict(base, LANG_RES_ID_C="c")})
        with self.assertRaisesRegex(make_lang.TableError, "TH: id not in US: LANG_RES_ID_C"):
            make_lang.build(self.dir)
        self.write(base, {"PL": [("LANG_RES_ID_A", "a"), ("LANG_RES_ID_A", "a"),
                                 ("LANG_RES_ID_B", "b")]})
        with self.assertRaisesRegex(make_lang.TableError, "duplicate text id"):
            make_lang.build(self.dir)

    def test_rejects_changed_format_parts(self):
        base = {"LANG_RES_ID_A": "%s: %dG/%dG"}
        self.write(base, {"RU": {"LANG_RES_ID_A": "%s: %dG"}})
        with self.assertRaisesRegex(make_lang.TableError, "RU: LANG_RES_ID_A: format parts"):
            make_lang.build(self.dir)
        self.write(base, {"FR": {"LANG_RES_ID_A": "%d: %sG/%dG"}})
        with self.assertRaises(make_lang.TableError):
            make_lang.build(self.dir)
        self.write({"LANG_RES_ID_A": "100%% %d"}, {"GE": {"LANG_RES_ID_A": "%d 100%%"}})
        make_lang.build(self.dir)

    def test_rejects_malformed_lines_and_empty_texts(self):
        self.write({"LANG_RES_ID_A": "a"}, {"VN": [("LANG_RES_ID_A", "a")]})
        with open(os.path.join(self.dir, "VN.txt"), "a", encoding="utf-8") as f:
            f.write("no bar here\n")
        with self.assertRaisesRegex(make_lang.TableError, "VN.txt:.*expected"):
            make_lang.build(self.dir)
        self.write({"LANG_RES_ID_A": "a"}, {"AR": {"LANG_RES_ID_A": "  "}})
        with self.assertRaisesRegex(make_lang.TableError, "empty text"):
            make_lang.build(self.dir)
        self.write({"lang_res_id_a": "a"})
        with self.assertRaisesRegex(make_lang.TableError, "bad text id"):
            make_lang.build(self.dir)

    def test_missing_table_is_an_error_of_the_command(self):
        self.write({"LANG_RES_ID_A": "a"})
        os.remove(os.path.join(self.dir, "TU.txt"))
        argv = sys.argv
        sys.argv = ["make_lang", "--src", self.dir, "--out", os.path.join(self.dir, "x.json")]
        try:
            self.assertEqual(make_lang.main(), 1)
        finally:
            sys.argv = argv
        self.assertFalse(os.path.exists(os.path.join(self.dir, "x.json")))


class GifEncoder(unittest.TestCase):
    def test_round_trip_of_short_long_and_table_filling_inputs(self):
        rng = random.Random(7)
        cases = [b"", b"\x00", b"\x01\x01\x01\x01", bytes(10000),
                 bytes(rng.randrange(4) for _ in range(20000)),
                 bytes(rng.randrange(13) for _ in range(60000)),
                 bytes(rng.randrange(256) for _ in range(30000))]
        for n in range(250, 270):  # ends around the first widening of the codes
            cases.append(bytes(i % 3 for i in range(n)))
        for data in cases:
            size = max(2, max(data, default=0).bit_length())
            self.assertEqual(lzw_decode(make_gifs.lzw(data, size), size), data, len(data))

    def test_changed_rect_is_the_bounding_box_of_the_difference(self):
        a = bytearray(40)
        b = bytearray(40)
        b[1 * 8 + 2] = 1
        b[3 * 8 + 5] = 1
        self.assertEqual(make_gifs.changed_rect(bytes(a), bytes(b), 8, 5), (2, 1, 6, 4))
        self.assertEqual(make_gifs.changed_rect(bytes(a), bytes(a), 8, 5), (0, 0, 1, 1))


if __name__ == "__main__":
    unittest.main()
