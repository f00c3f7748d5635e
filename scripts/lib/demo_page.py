#!/usr/bin/env python3
"""Writes the demo's one page, DEMO/index.html: what the demo covers, the tour's video and
screenshots with their captions, every other picture the demo made, and every audio sample with
its spectrogram and a player. Spectrograms are made with sox where one is missing.

Captions of the tour come from the scenario: a line "# tour: CAPTION" names the screenshot of
the next "shot FILE" step. Coverage comes from "# covers: N N ..." lines (subsystem numbers) in
the demo parts and in the tour scenario.
"""
import argparse
import html
import os
import re
import shutil
import subprocess
import sys

SUBSYSTEMS = [
    (1, "Start-up and platform port (display port, keys, logging)"),
    (2, "IPC message agent and the recorder interface"),
    (3, "UI framework: pages, data center, texts and fonts"),
    (4, "File and archive utilities"),
    (5, "Device data layer: status, settings, data processors, tips"),
    (6, "System state supervision and system pages"),
    (7, "Main screens: status bar and home page"),
    (8, "Settings pages"),
    (9, "Album and player"),
    (10, "Audio: rate conversion (vqe_resample)"),
    (11, "Audio: echo canceller (vqe_aec)"),
    (12, "Audio: recording enhancement (vqe_record)"),
    (13, "Audio: two-way talk enhancement (vqe_talkv2)"),
]

SPECTROGRAM_SUFFIX = ".spectrogram.png"


def read_covers(path):
    found = set()
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            m = re.match(r"#\s*covers:\s*(.*)", line.strip())
            if m:
                found.update(int(n) for n in m.group(1).split() if n.isdigit())
    return found


def tour_captions(scenario):
    """(file, caption) for every shot step of the scenario, in order."""
    shots, caption = [], None
    with open(scenario, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            m = re.match(r"#\s*tour:\s*(.*)", line)
            if m:
                caption = m.group(1)
                continue
            m = re.match(r"shot\s+(\S+)", line)
            if m:
                shots.append((m.group(1), caption or os.path.splitext(m.group(1))[0]))
                caption = None
    return shots


def make_spectrogram(wav, png):
    if os.path.exists(png) and os.path.getmtime(png) >= os.path.getmtime(wav):
        return True
    if not shutil.which("sox"):
        return False
    title = os.path.basename(wav)
    r = subprocess.run(["sox", wav, "-n", "remix", "-", "spectrogram", "-x", "640", "-y", "200",
                        "-t", title, "-o", png], capture_output=True)
    return r.returncode == 0


def rel(path, base):
    return html.escape(os.path.relpath(path, base).replace(os.sep, "/"))


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--demo", required=True, help="the demo's output folder")
    ap.add_argument("--scenario", required=True, help="the tour's scenario file")
    ap.add_argument("--parts", required=True, help="the folder of demo parts")
    a = ap.parse_args()
    demo = os.path.abspath(a.demo)

    covered = {}
    for name in sorted(os.listdir(a.parts)):
        path = os.path.join(a.parts, name)
        if os.path.isfile(path) and os.access(path, os.X_OK):
            for n in read_covers(path):
                covered.setdefault(n, []).append(name)
    for n in read_covers(a.scenario):
        covered.setdefault(n, []).append("the tour")

    tour_dir = os.path.join(demo, "tour")
    tour = [(os.path.join(tour_dir, f), c) for f, c in tour_captions(a.scenario)]
    tour_files = {p for p, _ in tour}

    pictures, sounds = {}, []
    for root, dirs, files in os.walk(demo):
        dirs.sort()
        for f in sorted(files):
            p = os.path.join(root, f)
            if f.endswith(".wav"):
                sounds.append(p)
            elif f.endswith(".png") and not f.endswith(SPECTROGRAM_SUFFIX) and p not in tour_files \
                    and os.path.dirname(p) != os.path.join(tour_dir, "logs"):
                pictures.setdefault(os.path.relpath(root, demo), []).append(p)

    out = []
    w = out.append
    w("<!doctype html><html lang='en'><head><meta charset='utf-8'>")
    w("<title>In-car video recorder: demo</title><style>")
    w("body{font-family:sans-serif;margin:2em;max-width:75em;background:#f4f4f4;color:#222}")
    w("figure{display:inline-block;margin:.5em;vertical-align:top;background:#fff;padding:.5em}")
    w("figure img.screen{width:640px;image-rendering:pixelated}")
    w("figcaption{max-width:640px;font-size:.9em}table{border-collapse:collapse}")
    w("td,th{border:1px solid #bbb;padding:.25em .6em;text-align:left}.no{color:#a33}")
    w("</style></head><body><h1>In-car video recorder: what the demo shows</h1>")
    w("<p>Made by <code>scripts/demo</code>. The user interface ran against the recorder and "
      "display stand-ins on this PC; the audio ran through the plug-ins with "
      "<code>vqe_host</code>.</p>")

    w("<h2>What the demo covers</h2><table><tr><th>subsystem</th><th>shown by</th></tr>")
    for n, title in SUBSYSTEMS:
        parts = covered.get(n)
        shown = html.escape(", ".join(parts)) if parts else "<span class='no'>not shown in this demo</span>"
        w(f"<tr><td>{n}. {html.escape(title)}</td><td>{shown}</td></tr>")
    w("</table>")

    w("<h2>The tour</h2>")
    video = os.path.join(tour_dir, "tour.mp4")
    if os.path.exists(video):
        w(f"<video controls width='640' src='{rel(video, demo)}'></video>")
    for i, (p, caption) in enumerate(tour, 1):
        if os.path.exists(p):
            w(f"<figure><img class='screen' src='{rel(p, demo)}' alt=''>"
              f"<figcaption>{i}. {html.escape(caption)}</figcaption></figure>")
        else:
            w(f"<p class='no'>{i}. {html.escape(caption)}: no screenshot was taken</p>")

    for folder, files in sorted(pictures.items()):
        w(f"<h2>Pictures: {html.escape(folder)}</h2>")
        if folder.startswith("graphics-core-gallery"):
            w("<p>Test scenes of the graphics core itself, not screens of the product.</p>")
        for p in files:
            w(f"<figure><img src='{rel(p, demo)}' alt='' style='max-width:640px'>"
              f"<figcaption>{html.escape(os.path.basename(p))}</figcaption></figure>")

    if sounds:
        w("<h2>Audio</h2>")
    for p in sounds:
        picture = p[:-4] + SPECTROGRAM_SUFFIX
        w(f"<figure><figcaption>{rel(p, demo)}</figcaption>"
          f"<audio controls preload='none' src='{rel(p, demo)}'></audio><br>")
        if make_spectrogram(p, picture):
            w(f"<img src='{rel(picture, demo)}' alt='spectrogram'>")
        w("</figure>")

    w("</body></html>")
    with open(os.path.join(demo, "index.html"), "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
