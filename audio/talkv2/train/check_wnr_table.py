#!/usr/bin/env python3
"""Checks the checked-in wind-noise table against the format of a fresh training run.

Runs train_wnr.py --quick (a tiny training run with the same code) into a temporary file and
compares it with audio/talkv2/src/vqe_wnr_weights.c: the same arrays in the same order with the
same element counts, the same network shape line, every value a finite float literal; and the
shape agrees with the macros of vqe_wnr_net.h. Exit status 0 when they agree.

Usage: check_wnr_table.py [--table PATH] [--cache DIR]   (needs python3-torch, espeak-ng, sox)
"""
import argparse
import math
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SRC = os.path.join(HERE, "..", "src")


def parse(path):
    text = open(path).read()
    shape = re.search(r"_Static_assert\((WNR_IN == .*?), \"network shape\"\)", text)
    arrays = []
    for m in re.finditer(r"const float (\w+)\[\] = \{(.*?)\};", text, re.S):
        values = [v.strip() for v in m.group(2).replace("\n", " ").split(",") if v.strip()]
        for v in values:
            if not re.fullmatch(r"-?[0-9.]+(e[-+]?[0-9]+)?f", v) or not math.isfinite(float(v[:-1])):
                raise ValueError("%s: %s holds %r" % (path, m.group(1), v))
        arrays.append((m.group(1), len(values)))
    return (shape.group(1) if shape else None), arrays


def header_shape():
    text = open(os.path.join(SRC, "vqe_wnr_net.h")).read()
    return {k: int(v) for k, v in re.findall(r"#define (WNR_\w+)\s+(\d+)", text)}


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--table", default=os.path.join(SRC, "vqe_wnr_weights.c"))
    ap.add_argument("--cache", default=os.path.join(tempfile.gettempdir(), "wnr_speech"))
    a = ap.parse_args()
    with tempfile.TemporaryDirectory() as tmp:
        fresh = os.path.join(tmp, "fresh.c")
        subprocess.run([sys.executable, os.path.join(HERE, "train_wnr.py"), "--quick", "--out", fresh,
                        "--cache", a.cache], check=True, stdout=subprocess.DEVNULL)
        want_shape, want = parse(fresh)
    have_shape, have = parse(a.table)
    ok = True
    if have_shape != want_shape:
        print("shape differs:\n  table: %s\n  fresh: %s" % (have_shape, want_shape))
        ok = False
    if have != want:
        print("arrays differ:\n  table: %s\n  fresh: %s" % (have, want))
        ok = False
    h = header_shape()
    for name, value in re.findall(r"(WNR_\w+) == (\d+)", have_shape or ""):
        if h.get(name) != int(value):
            print("vqe_wnr_net.h has %s = %s, the table %s" % (name, h.get(name), value))
            ok = False
    print("%s: %d arrays, %d values, %s" % (a.table, len(have), sum(n for _, n in have),
                                          "agrees with a fresh run" if ok else "DOES NOT agree"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
