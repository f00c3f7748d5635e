#!/usr/bin/env python3
"""Generates the resampler's filter tables (res_tables.c).

Every filter is a Kaiser-windowed sinc low-pass, quantised to Q15.

Design rule. A filter of N taps running at R times the lower of the two rates gets a Kaiser
window for a stopband target A (dB): beta = 0.1102 (A - 8.7), and the transition width that
Kaiser's estimate N - 1 = (A - 8) / (2.285 dw) allows, dw in radians per sample at the filter's
rate. Measured in units of the lower rate f_low the transition is
    df = R (A - 8) / (2 pi 2.285 (N - 1)).
It is centred on the lower rate's Nyquist frequency (passband edge 0.5 - df/2, stopband edge
0.5 + df/2 of f_low); when that would put the stopband edge above 0.68 f_low (the short 8-tap
per phase filters) the stopband edge is held at 0.68 f_low and the passband shrinks instead, so
that an image or alias of anything below 0.32 f_low is always in the stopband. The cut-off is the
middle of the transition band.

Kaiser's estimate is a few dB optimistic at these lengths; the tests hold every table to a
measured floor (1:2 and the 16-tap tables 75 dB, 2:1 70 dB, the 8-tap tables 62 dB).

Quantisation keeps unity gain exactly: after rounding, every output phase (both half-rows of a
polyphase phase, one row of a 1:K interpolator, the whole filter of a K:1 decimator) sums to
32768, the rounding error going to the largest taps.

Usage: gen_res_tables.py [--output FILE] [--report]
"""
import math
import sys

SUM = 32768

# Stopband targets (dB) by filter family.
A_POLY_GOOD = 80.0  # polyphase, 16 taps per half-filter
A_POLY_MID = 66.0   # polyphase, 8 taps per half-filter
A_UP2 = 80.0        # 1:2, 64-tap prototype
A_DOWN2 = 74.0      # 2:1, 32 taps
A_SHORT = 66.0      # 1:4, 4:1, 1:6, 6:1 (8 taps per phase)
S_MAX = 0.68


def bessel_i0(x):
    total, term, k = 1.0, 1.0, 1
    while True:
        term *= (x / (2.0 * k)) ** 2
        total += term
        if term < 1e-21 * total:
            return total
        k += 1


def kaiser_beta(a):
    if a > 50.0:
        return 0.1102 * (a - 8.7)
    if a >= 21.0:
        return 0.5842 * (a - 21.0) ** 0.4 + 0.07886 * (a - 21.0)
    return 0.0


def band(n, r, a):
    """Passband and stopband edge (units of f_low) for N taps at R x f_low, target A."""
    df = r * (a - 8.0) / (2.0 * math.pi * 2.285 * (n - 1))
    s = min(0.5 + df / 2.0, S_MAX)
    return s - df, s


def prototype(n, r, a):
    """N-tap windowed sinc at R x f_low, cut-off mid-transition, as floats summing to R."""
    p, s = band(n, r, a)
    fc = (p + s) / 2.0 / r  # cycles per sample at the filter's rate
    beta = kaiser_beta(a)
    i0b = bessel_i0(beta)
    c = (n - 1) / 2.0
    h = []
    for m in range(n):
        t = m - c
        x = 2.0 * fc * t
        sinc = 1.0 if t == 0 else math.sin(math.pi * x) / (math.pi * x)
        arg = 1.0 - (t / c) ** 2 if c > 0 else 1.0
        w = bessel_i0(beta * math.sqrt(max(arg, 0.0))) / i0b
        h.append(2.0 * fc * sinc * w)
    total = sum(h)
    return [v * r / total for v in h], (p, s)


def round_half_away(v):
    return int(math.floor(v + 0.5)) if v >= 0 else -int(math.floor(-v + 0.5))


def quantise_group(values, target):
    """Rounds a group of taps (floats summing to about 1) to Q15 summing exactly to target.
    Taps stay within int16; the rounding error goes to the largest taps that have room."""
    q = [max(-32768, min(32767, round_half_away(v * SUM))) for v in values]
    err = target - sum(q)
    order = sorted(range(len(q)), key=lambda i: (-abs(values[i]), i))
    while err != 0:
        step = 1 if err > 0 else -1
        moved = False
        for i in order:
            if -32768 <= q[i] + step <= 32767:
                q[i] += step
                err -= step
                moved = True
                if err == 0:
                    break
        if not moved:
            raise ValueError("cannot reach the phase sum %d within int16" % target)
    return q


def half_rows(h, length_l, t):
    """Polyphase half-filter rows: row r, tap k = h[T L + k L + r] of the 2 T L prototype,
    quantised so that rows n and L-1-n (one output phase) sum to 32768 together."""
    rows = [[h[t * length_l + k * length_l + r] for k in range(t)] for r in range(length_l)]
    out = [None] * length_l
    for n in range(length_l):
        m = length_l - 1 - n
        if out[n] is not None:
            continue
        if m == n:
            out[n] = quantise_group(rows[n], SUM // 2)
        else:
            q = quantise_group(rows[n] + rows[m], SUM)
            out[n], out[m] = q[:t], q[t:]
    return out


def interp_rows(h, k_up, taps):
    """1:K rows: row k, tap j = h[K (taps - 1 - j) + k], newest input sample last."""
    return [quantise_group([h[k_up * (taps - 1 - j) + k] for j in range(taps)], SUM) for k in range(k_up)]


def gcd(a, b):
    while b:
        a, b = b, a % b
    return a


def phase_steps(length_l, m):
    """Entry phi: next phase n in bits 20-31, forward row L-1-n in bits 8-19, 2 x advance in 0-7."""
    out = []
    for phi in range(length_l):
        n = (phi + m) % length_l
        adv = (phi + m) // length_l
        out.append((n << 20) | ((length_l - 1 - n) << 8) | (2 * adv))
    return out


# (a, b) pairs with their table names; the rates name the ratio, L = b / gcd, M = a / gcd.
GOOD = [(8000, 11025), (8000, 12000), (8000, 16000), (8000, 24000), (8000, 32000), (8000, 48000),
        (11025, 12000), (12000, 16000), (12000, 32000)]
MID = [(8000, 11025), (8000, 22050), (8000, 44100), (11025, 12000), (11025, 16000), (11025, 24000),
       (11025, 32000), (11025, 48000), (12000, 22050), (12000, 44100)]


def short(rate):
    return {8000: "8", 11025: "11", 12000: "12", 16000: "16", 22050: "22", 24000: "24", 32000: "32",
            44100: "44", 48000: "48"}[rate]


def c_array(ctype, name, values, per_line=12, comment=None):
    lines = []
    if comment:
        lines.append("/* %s */" % comment)
    lines.append("const %s %s[%d] = {" % (ctype, name, len(values)))
    for i in range(0, len(values), per_line):
        lines.append("    " + ", ".join(str(v) for v in values[i:i + per_line]) + ",")
    lines.append("};")
    return "\n".join(lines) + "\n"


def hex_array(name, values, comment=None):
    return c_array("uint32_t", name, ["0x%08Xu" % v for v in values], per_line=6, comment=comment)


def flat(rows):
    return [v for r in rows for v in r]


def generate():
    out = []
    report = []
    out.append("/* Generated by audio/resample/tools/gen_res_tables.py; do not edit. */\n/* clang-format off */\n")
    out.append('#include "res_tables.h"\n')

    def note(name, n, r, a):
        p, s = band(n, r, a)
        report.append((name, n, r, a, p, s))
        return "%d-tap Kaiser prototype at %d x the lower rate; passband to %.3f, stopband from %.3f of " \
               "the lower rate; designed for %.0f dB" % (n, r, p, s, a)

    # Integer-ratio filters.
    h, _ = prototype(64, 2, A_UP2)
    up2 = h
    out.append(c_array("int16_t", "RES_g_up2_coef", flat(interp_rows(h, 2, 32)),
                       comment="1:2, 2 rows x 32 taps; " + note("1:2", 64, 2, A_UP2)))
    h, _ = prototype(32, 4, A_SHORT)
    out.append(c_array("int16_t", "RES_g_up4_coef", flat(interp_rows(h, 4, 8)),
                       comment="1:4, 4 rows x 8 taps; " + note("1:4", 32, 4, A_SHORT)))
    h, _ = prototype(48, 6, A_SHORT)
    out.append(c_array("int16_t", "RES_g_up6_coef", flat(interp_rows(h, 6, 8)),
                       comment="1:6, 6 rows x 8 taps; " + note("1:6", 48, 6, A_SHORT)))
    h, _ = prototype(32, 2, A_DOWN2)
    out.append(c_array("int16_t", "RES_g_down2_coef", quantise_group([v / 2 for v in h], SUM),
                       comment="2:1, 32 taps; " + note("2:1", 32, 2, A_DOWN2)))
    h, _ = prototype(30, 4, A_SHORT)
    out.append(c_array("int16_t", "RES_g_down4_coef", quantise_group([v / 4 for v in h], SUM) + [0, 0],
                       comment="4:1, 30 taps and two zeros; " + note("4:1", 30, 4, A_SHORT)))
    h, _ = prototype(48, 6, A_SHORT)
    out.append(c_array("int16_t", "RES_g_down6_coef", quantise_group([v / 6 for v in h], SUM),
                       comment="6:1, 48 taps; " + note("6:1", 48, 6, A_SHORT)))

    # Polyphase tables.
    pairs = {}
    for grade, lst, t, a in (("good", GOOD, 16, A_POLY_GOOD), ("mid", MID, 8, A_POLY_MID)):
        for (ra, rb) in lst:
            g = gcd(ra, rb)
            length_l, m = rb // g, ra // g
            pairs[(ra, rb)] = (length_l, m)
            name_ab = "%s_%s" % (short(ra), short(rb))
            if (ra, rb) == (8000, 16000) and grade == "good":
                h = up2  # the 1:2 interpolator's prototype
            else:
                h, _ = prototype(2 * t * length_l, length_l, a)
            rows = half_rows(h, length_l, t)
            cname = ("RES_g_res_%s_good_filttab" if grade == "good" else "g_res_%s_mid_filttab") % name_ab
            out.append(c_array("int16_t", cname, flat(rows),
                               comment="%d rows x %d taps; %s" % (length_l, t,
                                                                   note(cname, 2 * t * length_l, length_l, a))))
    # Same-rate table: one phase of a 64-phase, 8-tap interpolator.
    h, _ = prototype(2 * 8 * 64, 64, A_POLY_MID)
    out.append(c_array("int16_t", "RES_g_res_48_48_good_filttab", flat(half_rows(h, 64, 8)),
                       comment="64 rows x 8 taps; " + note("48_48", 1024, 64, A_POLY_MID)))
    for (ra, rb), (length_l, m) in sorted(pairs.items()):
        out.append(hex_array("RES_g_res_%s_%s_good_nextphasetab" % (short(ra), short(rb)),
                             phase_steps(length_l, m), comment="L = %d, M = %d" % (length_l, m)))
    out.append(hex_array("RES_g_res_48_48_good_nextphasetab", [(0 << 20) | (63 << 8) | 2],
                         comment="forward row 63, backward row 0, advance 1"))
    return "\n".join(out), report


def main(argv):
    path = None
    want_report = False
    i = 1
    while i < len(argv):
        if argv[i] == "--output" and i + 1 < len(argv):
            path = argv[i + 1]
            i += 2
        elif argv[i] == "--report":
            want_report = True
            i += 1
        else:
            sys.stderr.write(__doc__)
            return 2
    text, report = generate()
    if want_report:
        for name, n, r, a, p, s in report:
            sys.stderr.write("%-34s N=%5d R=%4d A=%4.0f pass<%.3f stop>%.3f\n" % (name, n, r, a, p, s))
    if path:
        with open(path, "w") as f:
            f.write(text)
    else:
        sys.stdout.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
