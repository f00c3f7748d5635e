#!/usr/bin/env python3
"""Draws every picture of the resource tree (pic/...) from vector sources.

Each picture is an SVG document made here from a few shared pieces, so that all of them keep one
style: white line glyphs with round ends on a transparent ground (the UI is dark), blue for
focus and links, green for "on" and success, amber for warnings and red for recording and faults.
The SVG sources are written to --svg-dir for review and drawn to PNG with rsvg-convert.

Sizes follow the places the pictures are shown in: status-bar icons 32 x 32 (the slots are 35
wide, the bar 32 high), navigation-bar icons 32 x 32 (the bar is 40 high), home-bar buttons
36 x 36, settings tiles 64 x 64 (tiles are 90 wide), list-row images 24 high, page pictures
48 to 80.
"""

import argparse
import concurrent.futures
import os
import subprocess
import sys

WHITE = "#F2F4F7"
GREY = "#7A8190"
DIM = "#4A505C"
BLUE = "#3B82F6"
GREEN = "#22B573"
AMBER = "#F5A524"
RED = "#E5484D"
PLATE_TOP = "#313847"
PLATE_BOTTOM = "#1F242E"


def doc(w, h, body, view="0 0 24 24", defs=""):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="{view}">'
            f'<defs>{defs}</defs>{body}</svg>\n')


def line_group(inner, color=WHITE, width=2.0):
    return (f'<g fill="none" stroke="{color}" stroke-width="{width}" stroke-linecap="round" '
            f'stroke-linejoin="round">{inner}</g>')


def slash(color=RED, width=2.2):
    return line_group('<path d="M4 4L20 20"/>', color, width)


def text(x, y, s, size, color=WHITE, weight="bold", anchor="middle"):
    return (f'<text x="{x}" y="{y}" font-family="Liberation Sans, DejaVu Sans, sans-serif" '
            f'font-size="{size}" font-weight="{weight}" fill="{color}" '
            f'text-anchor="{anchor}">{s}</text>')


# Glyphs on the 24-unit grid, drawn as strokes (the caller picks colour and width).
G = {
    "mic": '<rect x="9" y="2.5" width="6" height="11" rx="3"/><path d="M5.5 10.5a6.5 6.5 0 0 0 13 0'
           'M12 17v4M8.5 21h7"/>',
    "wifi": '<path d="M2.5 9a14 14 0 0 1 19 0M5.5 12.5a9.5 9.5 0 0 1 13 0M8.6 16a5 5 0 0 1 6.8 0"/>',
    "sd": '<path d="M7 2.5h7.5l4 4V21.5H7z"/><path d="M10 2.5v3.5M12.5 2.5v3.5M15 3v3.5"/>',
    "pin": '<path d="M12 21.5s-6.5-6.3-6.5-11.5a6.5 6.5 0 0 1 13 0c0 5.2-6.5 11.5-6.5 11.5z"/>'
           '<circle cx="12" cy="10" r="2.3"/>',
    "link": '<path d="M10 14a4.2 4.2 0 0 0 6 0l3-3a4.2 4.2 0 0 0-6-6l-1.2 1.2"/>'
            '<path d="M14 10a4.2 4.2 0 0 0-6 0l-3 3a4.2 4.2 0 0 0 6 6l1.2-1.2"/>',
    "camera": '<rect x="2.5" y="7" width="13" height="10" rx="2"/><path d="M15.5 10.5l6-3v9l-6-3"/>',
    "photo": '<rect x="3" y="4.5" width="18" height="15" rx="2"/><path d="M3.5 17l5-5 4 4 3-3 5 5"/>'
             '<circle cx="16" cy="9" r="1.6"/>',
    "gear": '<circle cx="12" cy="12" r="3.2"/><path d="M12 2.5v3M12 18.5v3M2.5 12h3M18.5 12h3'
            'M5.3 5.3l2.1 2.1M16.6 16.6l2.1 2.1M5.3 18.7l2.1-2.1M16.6 7.4l2.1-2.1"/>'
            '<circle cx="12" cy="12" r="6.5"/>',
    "power": '<path d="M12 3v8"/><path d="M7 6.2a7.5 7.5 0 1 0 10 0"/>',
    "back": '<path d="M9 5L4 10l5 5"/><path d="M4.5 10H14a6 6 0 0 1 0 12h-3"/>',
    "up": '<path d="M6 15l6-6 6 6"/>',
    "down": '<path d="M6 9l6 6 6-6"/>',
    "left": '<path d="M15 6l-6 6 6 6"/>',
    "right": '<path d="M9 6l6 6-6 6"/>',
    "check": '<path d="M5 12.5l4.5 4.5L19 7.5"/>',
    "trash": '<path d="M4 6.5h16M9.5 6.5V4h5v2.5M6.5 6.5l1 14h9l1-14M10 10.5v6.5M14 10.5v6.5"/>',
    "speaker": '<path d="M4 9.5h3.5L12 5.5v13l-4.5-4H4z"/><path d="M15.5 9a4.5 4.5 0 0 1 0 6'
               'M18 6.5a8 8 0 0 1 0 11"/>',
    "monitor": '<rect x="2.5" y="4" width="19" height="12.5" rx="2"/><path d="M8.5 20.5h7M12 16.5v4"/>',
    "sun": '<circle cx="12" cy="12" r="4"/><path d="M12 2.5v2M12 19.5v2M2.5 12h2M19.5 12h2'
           'M5.3 5.3l1.4 1.4M17.3 17.3l1.4 1.4M5.3 18.7l1.4-1.4M17.3 6.7l1.4-1.4"/>',
    "reset": '<path d="M4.5 12a7.5 7.5 0 1 0 2.2-5.3"/><path d="M4 3.5v4h4"/>',
    "dots": '<circle cx="5.5" cy="12" r="1.2"/><circle cx="12" cy="12" r="1.2"/>'
            '<circle cx="18.5" cy="12" r="1.2"/>',
    "folder": '<path d="M3 6.5a1.5 1.5 0 0 1 1.5-1.5h4.5l2 2.5h8.5a1.5 1.5 0 0 1 1.5 1.5v9.5'
              'a1.5 1.5 0 0 1-1.5 1.5h-15A1.5 1.5 0 0 1 3 18.5z"/>',
    "film": '<rect x="3" y="4" width="18" height="16" rx="2"/><path d="M7 4v16M17 4v16M3 8h4M3 12h4'
            'M3 16h4M17 8h4M17 12h4M17 16h4"/>',
    "phone": '<rect x="7" y="2.5" width="10" height="19" rx="2"/><path d="M11 18.5h2"/>',
    "usb": '<path d="M12 2.5v15"/><path d="M9.5 5L12 2.5 14.5 5"/><path d="M12 14l-4-3V8.5'
           'M12 12l4-3V6.5"/><circle cx="12" cy="19.5" r="2"/><rect x="6.8" y="6.5" width="2.4" '
           'height="2"/><circle cx="16" cy="6" r="1.1"/>',
    "car": '<path d="M4 16.5V12l2.2-5.2A2 2 0 0 1 8 5.5h8a2 2 0 0 1 1.8 1.3L20 12v4.5z"/>'
           '<path d="M4 12h16M4 16.5v2.5h3v-2.5M17 16.5v2.5h3v-2.5"/><circle cx="7.5" cy="14.2" '
           'r=".9"/><circle cx="16.5" cy="14.2" r=".9"/>',
    "walker": '<circle cx="13" cy="4.5" r="1.8"/><path d="M12.5 8l-2.5 5 3 2.5-1 6M12.5 8l3 3.5 3 .5'
              'M12.5 8L9 10l-2 3M10 13l-3 8.5"/>',
    "cup": '<path d="M5 9h11v6a5 5 0 0 1-5 5h-1a5 5 0 0 1-5-5z"/><path d="M16 10.5h1.5a2.5 2.5 0 0 1 0 5'
           'H16M8.5 3.5c-.8 1 .8 2-.1 3M12 3.5c-.8 1 .8 2-.1 3"/>',
    "eye": '<path d="M2.5 12s3.5-6.5 9.5-6.5 9.5 6.5 9.5 6.5-3.5 6.5-9.5 6.5S2.5 12 2.5 12z"/>'
           '<circle cx="12" cy="12" r="2.8"/>',
    "sliders": '<path d="M4 6.5h9M17 6.5h3M4 12h3M11 12h9M4 17.5h11M19 17.5h1"/><circle cx="15" '
               'cy="6.5" r="2"/><circle cx="9" cy="12" r="2"/><circle cx="17" cy="17.5" r="2"/>',
    "wheel": '<circle cx="12" cy="12" r="9"/><circle cx="12" cy="12" r="2.5"/><path d="M3.3 10.5'
             'c3-1 5.5-1 6.5 0M20.7 10.5c-3-1-5.5-1-6.5 0M12 14.5v6.5"/>',
    "play": '<path d="M8 5.5v13l10.5-6.5z"/>',
    "pause": '<path d="M8.5 5.5v13M15.5 5.5v13"/>',
    "download": '<path d="M12 4v11M7.5 10.5L12 15l4.5-4.5M5 19.5h14"/>',
    "bubble": '<path d="M4 5.5h11a1.5 1.5 0 0 1 1.5 1.5v6A1.5 1.5 0 0 1 15 14.5H9l-4 3.5v-3.5H4'
              'A1.5 1.5 0 0 1 2.5 13V7A1.5 1.5 0 0 1 4 5.5z"/><path d="M19 9h1a1.5 1.5 0 0 1 1.5 '
              '1.5V16a1.5 1.5 0 0 1-1.5 1.5h-1v3l-3.5-3H11"/>',
}


def glyph(name, color=WHITE, width=2.0):
    return line_group(G[name], color, width)


def dot(cx, cy, r, color):
    return f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{color}"/>'


def badge_alert(cx, cy, color=AMBER, mark="!"):
    """A small round badge with a mark, drawn over the lower right of a glyph."""
    return (f'<circle cx="{cx}" cy="{cy}" r="5" fill="{color}" stroke="#15181E" stroke-width="1.2"/>'
            + text(cx, cy + 2.6, mark, 7.5, "#15181E"))


def warn_triangle(x, y, s, color=AMBER):
    """A filled warning triangle with its top at (x, y) and side s."""
    h = s * 0.87
    return (f'<path d="M{x} {y}L{x + s / 2} {y + h}H{x - s / 2}z" fill="{color}" '
            f'stroke="{color}" stroke-width="1.2" stroke-linejoin="round"/>'
            + text(x, y + h - 1.2, "!", s * 0.62, "#15181E"))


def plate():
    """The rounded plate behind settings and album tiles."""
    defs = (f'<linearGradient id="p" x1="0" y1="0" x2="0" y2="1"><stop offset="0" '
            f'stop-color="{PLATE_TOP}"/><stop offset="1" stop-color="{PLATE_BOTTOM}"/>'
            '</linearGradient>')
    body = ('<rect x="1" y="1" width="22" height="22" rx="5.5" fill="url(#p)" '
            'stroke="#FFFFFF" stroke-opacity=".08" stroke-width=".5"/>')
    return defs, body


def tile(inner):
    """A 64 x 64 settings or album tile: plate plus a glyph scaled into its middle."""
    defs, body = plate()
    return doc(64, 64, body + f'<g transform="translate(5.4 5.4) scale(.55)">{inner}</g>', defs=defs)


def round_button(inner):
    """A home-bar button: a translucent dark disc behind the glyph (the bar lies on live video)."""
    return doc(36, 36, '<circle cx="12" cy="12" r="11.5" fill="#000000" fill-opacity=".45"/>'
               f'<g transform="translate(4.2 4.2) scale(.65)">{inner}</g>')


def small(inner):
    """A 32 x 32 icon: status bar and navigation bar."""
    return doc(32, 32, f'<g transform="translate(1.2 1.2) scale(.9)">{inner}</g>')


def picture(size, inner):
    """A page picture (locks, toasts, warnings)."""
    return doc(size, size, inner)


def signal_bars(level):
    out = []
    for i in range(4):
        h = 4 + i * 3.2
        color = WHITE if i < level else DIM
        out.append(f'<rect x="{12.5 + i * 3}" y="{20 - h}" width="2.2" height="{h}" rx=".6" '
                   f'fill="{color}"/>')
    return text(6.2, 15.5, "4G", 8.5, WHITE if level > 0 else GREY) + "".join(out)


def camera_with_letter(letter, color=WHITE):
    return glyph("camera", color) + text(9, 14.6, letter, 6.5, color)


def switch_image(on):
    track = GREEN if on else DIM
    knob_x = 30 if on else 14
    return doc(44, 24, f'<rect x="2" y="3" width="40" height="18" rx="9" fill="{track}"/>'
               f'<circle cx="{knob_x}" cy="12" r="7" fill="{WHITE}"/>', view="0 0 44 24")


def rec_badge(on):
    color = RED if on else GREY
    fill = f' fill="{RED}" fill-opacity=".18"' if on else ' fill="none"'
    return doc(48, 28, f'<rect x="1.5" y="3.5" width="45" height="21" rx="10.5"{fill} '
               f'stroke="{color}" stroke-width="1.6"/>' + dot(12, 14, 5, color)
               + text(31, 19, "REC", 11, WHITE if on else GREY), view="0 0 48 28")


def file_type(letter):
    return doc(28, 20, f'<rect x="1" y="2" width="26" height="16" rx="4" fill="{BLUE}"/>'
               + line_group('<rect x="4.5" y="6" width="9" height="8" rx="1.5"/>'
                            '<path d="M13.5 9l3.5-2v6l-3.5-2"/>', WHITE, 1.4)
               + text(22.5, 14.5, letter, 9), view="0 0 28 20")


def qr_picture(payload):
    """A QR code (version 3, level L, byte mode) of payload as white modules on dark."""
    modules = qr_encode(payload.encode("ascii"))
    n = len(modules)
    quiet = 2
    rects = []
    for y in range(n):
        for x in range(n):
            if modules[y][x]:
                rects.append(f"M{x + quiet} {y + quiet}h1v1h-1z")
    side = n + 2 * quiet
    return doc(100, 100, f'<rect width="{side}" height="{side}" fill="#FFFFFF"/>'
               f'<path d="{"".join(rects)}" fill="#000000"/>', view=f"0 0 {side} {side}")


# QR code, version 3 (29 x 29 modules), error correction level L, byte mode, mask 0.
def _gf_tables():
    exp = [0] * 512
    log = [0] * 256
    x = 1
    for i in range(255):
        exp[i] = x
        log[x] = i
        x <<= 1
        if x & 0x100:
            x ^= 0x11D
    for i in range(255, 512):
        exp[i] = exp[i - 255]
    return exp, log


def _rs_ecc(data, n_ecc):
    exp, log = _gf_tables()
    gen = [1]
    for i in range(n_ecc):
        nxt = [0] * (len(gen) + 1)
        for j, g in enumerate(gen):
            nxt[j] ^= g
            if g:
                nxt[j + 1] ^= exp[log[g] + i]
        gen = nxt
    rem = list(data) + [0] * n_ecc
    for i in range(len(data)):
        coef = rem[i]
        if coef:
            for j in range(1, len(gen)):
                if gen[j]:
                    rem[i + j] ^= exp[log[gen[j]] + log[coef]]
    return rem[len(data):]


def qr_encode(payload):
    size, n_data, n_ecc = 29, 55, 15
    if len(payload) > n_data - 2:
        raise ValueError("QR payload too long")
    bits = [0, 1, 0, 0] + [int(b) for b in f"{len(payload):08b}"]
    for byte in payload:
        bits += [int(b) for b in f"{byte:08b}"]
    bits += [0] * min(4, n_data * 8 - len(bits))
    bits += [0] * (-len(bits) % 8)
    data = [int("".join(map(str, bits[i:i + 8])), 2) for i in range(0, len(bits), 8)]
    pad = [0xEC, 0x11]
    while len(data) < n_data:
        data.append(pad[(len(data) - len(bits) // 8) % 2])
    codewords = data + _rs_ecc(data, n_ecc)

    grid = [[None] * size for _ in range(size)]

    def finder(r, c):
        for dy in range(-1, 8):
            for dx in range(-1, 8):
                y, x = r + dy, c + dx
                if 0 <= y < size and 0 <= x < size:
                    ring = max(abs(dy - 3), abs(dx - 3))
                    grid[y][x] = ring != 2 and ring != 4
    finder(0, 0)
    finder(0, size - 7)
    finder(size - 7, 0)
    for i in range(8, size - 8):
        grid[6][i] = grid[i][6] = i % 2 == 0
    for dy in range(-2, 3):
        for dx in range(-2, 3):
            grid[22 + dy][22 + dx] = max(abs(dy), abs(dx)) != 1
    grid[size - 8][8] = True
    # Format information: level L, mask 0, as BCH(15,5) with the fixed mask 0x5412.
    fmt_data = (1 << 3) | 0
    rem = fmt_data
    for _ in range(10):
        rem = (rem << 1) ^ ((rem >> 9) * 0x537)
    fmt = ((fmt_data << 10) | rem) ^ 0x5412
    bit = [bool((fmt >> i) & 1) for i in range(15)]
    for i in range(6):
        grid[i][8] = bit[i]
    grid[7][8] = bit[6]
    grid[8][8] = bit[7]
    grid[8][7] = bit[8]
    for i in range(9, 15):
        grid[8][14 - i] = bit[i]
    for i in range(8):
        grid[8][size - 1 - i] = bit[i]
    for i in range(8, 15):
        grid[size - 15 + i][8] = bit[i]
    stream = [(cw >> (7 - i)) & 1 for cw in codewords for i in range(8)]
    idx = 0
    col = size - 1
    upward = True
    while col > 0:
        if col == 6:
            col -= 1
        rows = range(size - 1, -1, -1) if upward else range(size)
        for y in rows:
            for x in (col, col - 1):
                if grid[y][x] is None:
                    bit = stream[idx] if idx < len(stream) else 0
                    idx += 1
                    grid[y][x] = bool(bit) ^ ((y + x) % 2 == 0)
        upward = not upward
        col -= 2
    return grid


def pictures():
    p = {}
    # Status bar.
    p["statusbar/rec_on.png"] = rec_badge(True)
    p["statusbar/rec_off.png"] = rec_badge(False)
    p["statusbar/point_on.png"] = doc(24, 24, dot(12, 12, 7, RED))
    p["statusbar/point_off.png"] = doc(24, 24, line_group('<circle cx="12" cy="12" r="6"/>', GREY))
    p["statusbar/mic_on.png"] = small(glyph("mic"))
    p["statusbar/mic_off.png"] = small(glyph("mic", GREY) + slash())
    p["statusbar/wifi_on.png"] = small(glyph("wifi") + dot(12, 19.5, 1.5, WHITE))
    p["statusbar/wifi_off.png"] = small(glyph("wifi", GREY) + dot(12, 19.5, 1.5, GREY) + slash())
    p["statusbar/sd_out.png"] = small(glyph("sd", GREY) + slash())
    p["statusbar/sd_err.png"] = small(glyph("sd") + badge_alert(16.5, 16.5))
    p["statusbar/gps_err.png"] = small(glyph("pin", AMBER))
    for level in range(5):
        p[f"statusbar/4G_{level}.png"] = small(signal_bars(level))
    p["statusbar/kovar.png"] = small(glyph("link", BLUE))
    p["statusbar/sensor_err.png"] = small(glyph("camera") + badge_alert(17, 17, RED))
    for cam, letter in (("rear", "R"), ("inside", "I")):
        p[f"statusbar/{cam}_plugin.png"] = small(camera_with_letter(letter))
        p[f"statusbar/{cam}_plugout.png"] = small(camera_with_letter(letter, GREY) + slash())
        p[f"statusbar/{cam}_err.png"] = small(camera_with_letter(letter) + badge_alert(17, 17, RED))

    # Home page.
    p["home/album_icon.png"] = round_button(glyph("photo"))
    p["home/seting_icon.png"] = round_button(glyph("gear"))
    p["home/mic_on_icon.png"] = round_button(glyph("mic"))
    p["home/mic_off_icon.png"] = round_button(glyph("mic", GREY) + slash())
    p["home/switch_icon.png"] = round_button(
        line_group('<path d="M4 9.5A8.5 8.5 0 0 1 19 7"/><path d="M19 3v4h-4"/>'
                   '<path d="M20 14.5A8.5 8.5 0 0 1 5 17"/><path d="M5 21v-4h4"/>')
        + dot(12, 12, 2.6, WHITE))
    p["home/power_icon.png"] = round_button(glyph("power"))
    p["home/goback_icon.png"] = round_button(glyph("back"))
    p["home/rear_warning.png"] = picture(48, camera_with_letter("R") + warn_triangle(18, 13, 9))
    p["home/inside_warning.png"] = picture(48, camera_with_letter("I") + warn_triangle(18, 13, 9))
    p["home/digicam_warning.png"] = picture(48, glyph("camera") + warn_triangle(18, 13, 9, RED))

    # Album.
    p["album/front.png"] = file_type("F")
    p["album/rear.png"] = file_type("R")
    p["album/inside.png"] = file_type("I")
    p["album/home_rec_icon.png"] = tile(glyph("film"))
    p["album/home_emr_icon.png"] = tile(glyph("film") + warn_triangle(17, 12.5, 10, RED))
    p["album/home_photo_icon.png"] = tile(glyph("photo"))
    p["album/file.png"] = doc(28, 28, glyph("folder", BLUE))
    p["album/pic.png"] = doc(20, 20, f'<rect x="1" y="2" width="22" height="20" rx="4" fill="{BLUE}"/>'
                             + glyph("photo", WHITE, 1.6))
    p["album/del_icon.png"] = small(glyph("trash"))

    # Navigation bar of settings, album and system pages.
    nav = {"goback_icon": glyph("back"), "up_icon": glyph("up", WHITE, 2.4),
           "down_icon": glyph("down", WHITE, 2.4), "lastitem_icon": glyph("left", WHITE, 2.4),
           "nextitem_icon": glyph("right", WHITE, 2.4), "kovar_icon": glyph("link"),
           "confirm_icon": line_group('<circle cx="12" cy="12" r="9.5"/>') + glyph("check", GREEN),
           "navibar_album_play_icon": line_group(G["play"]),
           "navibar_album_pause_icon": glyph("pause", WHITE, 2.6)}
    for name, inner in nav.items():
        p[f"setmenu/navibar/{name}.png"] = small(inner)

    # Settings home tiles and page pictures.
    main = {"show_icon": glyph("eye"), "videoset_icon": glyph("camera"),
            "systemset_icon": glyph("sliders"),
            "parking_icon": line_group('<rect x="4" y="3" width="16" height="18" rx="3"/>')
            + text(12, 17.3, "P", 13),
            "algorassist_icon": glyph("wheel"), "soundset_icon": glyph("speaker"),
            "format_icon": glyph("sd") + line_group('<path d="M9.5 14.5a3 3 0 1 0 1-2.3"/>'
                                                    '<path d="M9.3 10.7v1.8h1.8"/>', BLUE, 1.6),
            "kovar_icon": glyph("link", BLUE), "more_icon": line_group(G["dots"], WHITE, 2.6),
            "screenset_icon": glyph("monitor") + line_group('<circle cx="12" cy="10.2" r="2.2"/>',
                                                            AMBER, 1.6),
            "reset_icon": glyph("reset"),
            "dashcam": line_group('<rect x="3" y="6" width="18" height="12" rx="3"/>'
                                  '<circle cx="12" cy="12" r="3.5"/><path d="M9 6V4h6v2"/>')
            + dot(18, 9, 1, RED)}
    for name, inner in main.items():
        p[f"setmenu/main/{name}.png"] = tile(inner)

    # List rows.
    p["setmenu/sub/com/btn_on.png"] = switch_image(True)
    p["setmenu/sub/com/btn_off.png"] = switch_image(False)
    p["setmenu/sub/com/select.png"] = doc(24, 24, dot(12, 12, 9.5, BLUE)
                                          + glyph("check", WHITE, 2.4).replace(
                                              "<path", '<path transform="translate(2.4 2.4) scale(.8)"'))
    p["setmenu/sub/com/noselect.png"] = doc(24, 24, line_group('<circle cx="12" cy="12" r="8.5"/>',
                                                               GREY, 1.8))
    p["setmenu/sub/com/arrow.png"] = doc(20, 20, glyph("right", WHITE, 2.4))
    p["setmenu/sub/com/opersuccess.png"] = picture(48, dot(12, 12, 10.5, GREEN)
                                                   + glyph("check", WHITE, 2.4))
    p["setmenu/sub/kovar/succ_icon.png"] = picture(48, dot(12, 12, 10.5, GREEN)
                                                   + line_group(G["link"], WHITE, 2.0).replace(
                                                       "<path", '<path transform="translate(4.8 4.8)'
                                                       ' scale(.6)"'))
    p["setmenu/menu2nd/appQRcode_overseas.png"] = qr_picture("https://example.com/recorder-app")

    # Lock, toast and alert pictures.
    p["other/prompt_warning_image.png"] = doc(24, 24, warn_triangle(12, 3, 19))
    p["other/usb_lock.png"] = picture(64, glyph("usb"))
    p["other/4G_connecting.png"] = picture(64, glyph("phone")
                                           + line_group('<path d="M19.5 5a6 6 0 0 1 0 8'
                                                        'M21.8 3a9 9 0 0 1 0 12"/>', BLUE, 1.5)
                                           + text(12, 12.8, "4G", 5.2, BLUE))
    p["other/talking.png"] = picture(64, glyph("bubble") + dot(7, 10, .9, BLUE) + dot(9.5, 10, .9, BLUE)
                                     + dot(12, 10, .9, BLUE))
    p["other/app_connecting.png"] = picture(64, glyph("phone")
                                            + line_group(G["link"], BLUE, 2.2).replace(
                                                "<path", '<path transform="translate(7.5 6.5) scale(.4)"'))
    p["other/parking_mode.png"] = picture(64, line_group('<path d="M12 2.5l8 3v6c0 5-3.4 8.6-8 10'
                                                         '-4.6-1.4-8-5-8-10v-6z"/>', BLUE)
                                          + text(12, 16, "P", 10))
    p["other/app_updating.png"] = picture(64, line_group('<path d="M20 12a8 8 0 1 1-2.3-5.7"/>'
                                                         '<path d="M20 3.5v4h-4"/>', BLUE)
                                          + glyph("download").replace(
                                              "<path", '<path transform="translate(6 6) scale(.5)"'))
    p["other/car_forward.png"] = picture(80, glyph("car").replace(
        "<path", '<path transform="translate(2.4 6) scale(.8)"').replace(
        "<circle", '<circle transform="translate(2.4 6) scale(.8)"')
        + line_group('<path d="M12 7.5V1.5M9.5 4L12 1.5 14.5 4"/>', GREEN, 1.8))
    p["other/too_closed.png"] = picture(80, glyph("car").replace(
        "<path", '<path transform="translate(3.6 6.5) scale(.7)"').replace(
        "<circle", '<circle transform="translate(3.6 6.5) scale(.7)"')
        + line_group('<path d="M7 4.5h10M7 4.5l2-2M7 4.5l2 2M17 4.5l-2-2M17 4.5l-2 2"/>', RED, 1.6))
    p["other/cross_lane.png"] = picture(80, line_group('<path d="M4 22L8 2M20 22L16 2"/>', WHITE, 1.6)
                                        + line_group('<path d="M12 22v-3M12 15v-3M12 8V5"/>', AMBER, 1.6)
                                        + line_group('<path d="M14.5 16l-2.5-4 1-5"/>'
                                                     '<path d="M11 9l2-2 1.5 2.6"/>', AMBER, 1.8))
    p["other/notict_pedestrian.png"] = picture(80, '<path d="M12 1.8L22.5 20.5H1.5z" fill="none" '
                                               f'stroke="{AMBER}" stroke-width="1.8" '
                                               'stroke-linejoin="round"/>'
                                               + glyph("walker", WHITE, 1.6).replace(
                                                   "<path", '<path transform="translate(6.3 7.2) '
                                                   'scale(.5)"').replace(
                                                   "<circle", '<circle transform="translate(6.3 7.2) '
                                                   'scale(.5)"'))
    p["other/driving_remind.png"] = picture(80, glyph("cup", AMBER))
    return p


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rsvg", default="rsvg-convert", help="rsvg-convert program")
    parser.add_argument("--svg-dir", required=True, help="where to write the SVG sources")
    parser.add_argument("--out", required=True, help="picture root to fill (pic/)")
    parser.add_argument("--list", action="store_true", help="only print the picture paths")
    args = parser.parse_args()

    pics = pictures()
    if args.list:
        print("\n".join(sorted(pics)))
        return 0

    jobs = []
    for rel, svg in sorted(pics.items()):
        svg_path = os.path.join(args.svg_dir, rel[:-4] + ".svg")
        png_path = os.path.join(args.out, rel)
        os.makedirs(os.path.dirname(svg_path), exist_ok=True)
        os.makedirs(os.path.dirname(png_path), exist_ok=True)
        with open(svg_path, "w", encoding="utf-8") as f:
            f.write(svg)
        jobs.append((svg_path, png_path))

    def draw(job):
        svg_path, png_path = job
        tmp = png_path + ".tmp"
        res = subprocess.run([args.rsvg, "-f", "png", "-o", tmp, svg_path],
                             capture_output=True, text=True)
        if res.returncode != 0:
            return f"{svg_path}: {res.stderr.strip()}"
        os.replace(tmp, png_path)
        return None

    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        errors = [e for e in pool.map(draw, jobs) if e]
    if errors:
        print("make_pics: " + "\n".join(errors), file=sys.stderr)
        return 1
    print(f"make_pics: {len(jobs)} pictures -> {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
