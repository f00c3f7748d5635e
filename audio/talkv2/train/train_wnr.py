#!/usr/bin/env python3
"""Trains the talk chain's wind-noise network and writes it as a C table.

Everything is reproducible from a fixed seed: speech comes from espeak-ng (several voices and
languages), wind is synthesised the way it sounds on a car's two microphones (gusty,
low-frequency-heavy, turbulent bursts, sometimes clipped, uncorrelated between the microphones),
car noise (rumble, road noise, engine harmonics) is common to both, and the three are mixed at
several levels.

Features and targets follow the chain exactly (vqe_wnr.c): 512-point frames with a sine window
every 256 samples, the two microphones averaged, 20 band energies of the average through the
shared band matrix and 20 band coherences of the two microphones. The network (dense, GRU,
LSTM, dense) estimates per band the gain that leaves speech and car noise and removes the wind:
sqrt(E(speech + car) / E(mixture)), clipped to 0..1.

Usage: train_wnr.py --out vqe_wnr_weights.c [--quick] [--cache DIR] [--epochs N]
Needs python3-torch, python3-numpy, espeak-ng and sox. --quick trains a tiny run (a few
sequences, one epoch) to check the output format.
"""
import argparse
import math
import os
import subprocess
import sys
import tempfile
import time
import wave

import numpy as np
import torch

RATE = 16000
HOP = 256
NFFT = 512
BINS = 257
BANDS = 20
N_IN = 2 * BANDS
DENSE = 32
GRU = 48
LSTM = 48
SEED = 1234
COH_SMOOTH = 0.6  # smoothing of the cross-spectra between frames

BAND_START = [0, 1, 3, 5, 7, 10, 13, 17, 21, 27, 33, 41, 51, 62, 75, 91, 111, 134, 161, 194]
BAND_END = [1, 3, 5, 8, 11, 15, 19, 25, 31, 39, 49, 60, 73, 89, 109, 132, 159, 192, 232, 255]

VOICES = ["en-us", "en-gb+m3", "de", "de+f2", "fr-fr", "fr-fr+m4", "es", "it+f3", "nl", "pl+m2",
          "sv+f4", "pt", "en-us+f2", "cs", "fi+m5"]
TEXTS = {
    "en": ["Turn left at the next junction and keep to the right lane.",
           "I will be there in about twenty minutes if the traffic holds.",
           "Can you hear me now? The window is open and it is very windy.",
           "Please send me the address of the hotel before we leave."],
    "de": ["Wir fahren jetzt auf der Autobahn in Richtung Norden.",
           "Kannst du mich hören? Das Fenster ist offen und es ist windig.",
           "Ich rufe dich an, sobald wir an der Tankstelle sind."],
    "fr": ["Nous arrivons bientôt, la route est dégagée ce matin.",
           "Tu m'entends bien? Il y a beaucoup de vent sur le pont."],
    "es": ["Estamos en la carretera y llegaremos en media hora.",
           "¿Me oyes bien? Hace mucho viento con la ventana abierta."],
    "it": ["Siamo quasi arrivati, c'è poco traffico oggi.",
           "Mi senti? Il vento è molto forte in autostrada."],
    "nl": ["We rijden nu over de brug en zijn bijna thuis."],
    "pl": ["Jedziemy autostradą i będziemy za godzinę."],
    "sv": ["Vi kör nu längs kusten och det blåser mycket."],
    "pt": ["Estamos quase a chegar, a estrada está livre."],
    "cs": ["Jedeme po dálnici a budeme tam za hodinu."],
    "fi": ["Ajamme nyt moottoritiellä kohti pohjoista."],
}


def band_matrix():
    """Band weights (20 x 257): sine-squared ramps over the shared bins, adding up to 1."""
    m = np.zeros((BANDS, BINS))
    for i in range(BANDS):
        lo = BAND_END[i - 1] if i > 0 else -1
        hi = BAND_START[i + 1] if i + 1 < BANDS else 1000
        s, e = BAND_START[i], BAND_END[i]
        for k in range(s, e + 1):
            w = 1.0
            if k <= lo:
                ln = lo - s + 1
                w = math.sin(math.pi / 2 * (k - s + 1) / (ln + 1)) ** 2
            elif k >= hi:
                ln = e - hi + 1
                w = math.cos(math.pi / 2 * (k - hi + 1) / (ln + 1)) ** 2
            m[i, k] = w
    return m


BM = band_matrix()
WINDOW = np.sin(np.pi * (np.arange(NFFT) + 0.5) / NFFT)


def stft(x):
    """Frames as the chain sees them: frame t covers samples (t - 1) * 256 .. t * 256 + 255."""
    n = len(x) // HOP
    padded = np.concatenate([np.zeros(HOP), x[: n * HOP]])
    idx = np.arange(n)[:, None] * HOP + np.arange(NFFT)[None, :]
    return np.fft.rfft(padded[idx] * WINDOW, axis=1)


def features(x1, x2, two_mics):
    """Network inputs per frame (frames x 40) and the averaged spectrum."""
    avg = np.trunc(x1 / 2) + np.trunc(x2 / 2) if two_mics else x1
    xa = stft(avg)
    e = (np.abs(xa) ** 2) @ BM.T
    f = np.empty((xa.shape[0], N_IN), dtype=np.float64)
    f[:, :BANDS] = (np.log10(e + 1.0) - 8.0) / 4.0
    if two_mics:
        a, b = stft(x1), stft(x2)
        s11 = np.zeros(BINS)
        s22 = np.zeros(BINS)
        s12 = np.zeros(BINS, dtype=complex)
        for t in range(xa.shape[0]):
            s11 = COH_SMOOTH * s11 + (1 - COH_SMOOTH) * np.abs(a[t]) ** 2
            s22 = COH_SMOOTH * s22 + (1 - COH_SMOOTH) * np.abs(b[t]) ** 2
            s12 = COH_SMOOTH * s12 + (1 - COH_SMOOTH) * a[t] * np.conj(b[t])
            p11, p22 = BM @ s11, BM @ s22
            re, im = BM @ s12.real, BM @ s12.imag
            f[t, BANDS:] = (re * re + im * im) / (p11 * p22 + 1e-3)
    else:
        f[:, BANDS:] = 1.0
    return f, xa


# ---------------------------------------------------------------- synthesis

def read_wav(path):
    with wave.open(path, "rb") as w:
        raw = w.readframes(w.getnframes())
    return np.frombuffer(raw, dtype="<i2").astype(np.float64)


def speech_bank(cache, quick):
    os.makedirs(cache, exist_ok=True)
    bank = []
    voices = VOICES[:3] if quick else VOICES
    for vi, voice in enumerate(voices):
        lang = voice.split("+")[0].split("-")[0]
        for ti, text in enumerate(TEXTS.get(lang, TEXTS["en"])):
            path = os.path.join(cache, "%s_%d.wav" % (voice.replace("+", "_"), ti))
            if not os.path.exists(path):
                speed, pitch = 130 + (vi * 7 + ti * 11) % 50, 30 + (vi * 13 + ti * 5) % 45
                with tempfile.NamedTemporaryFile(suffix=".wav") as tmp:
                    subprocess.run(["espeak-ng", "-v", voice, "-s", str(speed), "-p", str(pitch), "-w",
                                    tmp.name, text], check=True, stderr=subprocess.DEVNULL)
                    subprocess.run(["sox", tmp.name, "-r", str(RATE), "-b", "16", path], check=True)
            bank.append(read_wav(path))
    return bank


def lowpass(x, hz):
    """Second-order low-pass shape (two real poles at hz), applied in the frequency domain."""
    bins = np.fft.rfft(x)
    f = np.fft.rfftfreq(len(x), 1 / RATE)
    return np.fft.irfft(bins / (1 + (f / hz) ** 2), len(x))


def pink(rng, n):
    """1/f noise from white noise shaped in the frequency domain."""
    bins = np.fft.rfft(rng.standard_normal(n))
    f = np.arange(len(bins))
    f[0] = 1
    return np.fft.irfft(bins / np.sqrt(f), n)


def brown(rng, n):
    bins = np.fft.rfft(rng.standard_normal(n))
    f = np.maximum(np.fft.rfftfreq(n, 1 / RATE), 3.0)
    return np.fft.irfft(bins / f, n)


def gust_envelope(rng, n):
    """Slow gusts: raised-cosine bumps of 0.3..2 s on a wandering base."""
    env = np.full(n, 0.15 + 0.2 * rng.random())
    at = int(rng.random() * RATE)
    while at < n:
        ln = int((0.3 + 1.7 * rng.random()) * RATE)
        amp = 0.3 + 1.2 * rng.random()
        seg = amp * 0.5 * (1 - np.cos(2 * np.pi * np.arange(ln) / ln))
        end = min(n, at + ln)
        env[at:end] += seg[: end - at]
        at += int(ln * (0.4 + rng.random()))
    return env


def wind_pair(rng, n):
    """Wind on two microphones: one gust envelope (the same wind), independent turbulence."""
    env = gust_envelope(rng, n)
    corner = 80 + 400 * rng.random()
    out = []
    for _ in range(2):
        turb = lowpass(rng.standard_normal(n), corner) * 6 + 0.15 * pink(rng, n)
        # turbulent bursts: short loud puffs, independent per microphone
        bursts = np.ones(n)
        for _ in range(int(n / RATE * 2 * rng.random())):
            at, ln = int(rng.random() * n), int((0.02 + 0.1 * rng.random()) * RATE)
            end = min(n, at + ln)
            bursts[at:end] += (1 + 3 * rng.random()) * np.hanning(ln)[: end - at]
        gain = 0.7 + 0.6 * rng.random()
        out.append(turb * env ** 1.5 * bursts * gain)
    return out


def car_noise(rng, n):
    b, p = brown(rng, n), pink(rng, n)
    t = np.arange(n) / RATE
    rpm = 1500 + 2000 * rng.random()
    f0 = rpm / 30 * (1 + 0.03 * np.sin(2 * np.pi * 0.1 * t + rng.random() * 6))
    ph = 2 * np.pi * np.cumsum(f0) / RATE
    e = sum(np.sin(h * ph + rng.random() * 6) / h for h in range(1, 9))
    b, p, e = (v / (np.std(v) + 1e-9) for v in (b, p, e))
    return b + 0.5 * p + 0.316 * e


def rms_db(x):
    return 10 * np.log10(np.mean(x * x) + 1e-9) - 20 * np.log10(32768)


def active_db(x):
    frames = x[: len(x) // 320 * 320].reshape(-1, 320)
    p = np.mean(frames * frames, axis=1)
    act = p > (32768 * 10 ** (-50 / 20)) ** 2
    return 10 * np.log10(np.mean(p[act]) + 1e-9) - 20 * np.log10(32768) if act.any() else -200


def scale_to(x, now_db, want_db):
    return x * 10 ** ((want_db - now_db) / 20)


def sequence(rng, bank, seconds):
    """One training scene: (mic1, mic2, clean average) in 16-bit units."""
    n = int(seconds * RATE)
    speech = np.zeros(n)
    at = int(rng.random() * RATE * 0.8)
    while at < n:
        s = bank[rng.integers(len(bank))]
        end = min(n, at + len(s))
        speech[at:end] += s[: end - at]
        at = end + int((0.2 + 1.0 * rng.random()) * RATE)
    has_speech = rng.random() > 0.1
    if has_speech:
        speech = scale_to(speech, active_db(speech), -36 + 16 * rng.random())
    else:
        speech[:] = 0
    car = car_noise(rng, n)
    ref = active_db(speech) if has_speech else -30
    car = scale_to(car, rms_db(car), ref - (8 + 30 * rng.random()))
    w1, w2 = wind_pair(rng, n)
    if rng.random() > 0.1:
        level = ref + (-12 + 24 * rng.random())
        k = 10 ** ((level - rms_db(w1)) / 20)
        w1, w2 = w1 * k, w2 * k
    else:
        w1, w2 = w1 * 0, w2 * 0
    lag = int(rng.integers(0, 3))  # speech reaches the second microphone a little later
    s2 = np.concatenate([np.zeros(lag), speech[: n - lag]])
    c1, c2 = speech + car, s2 + car
    m1, m2 = c1 + w1, c2 + w2
    if rng.random() < 0.3:  # the wind overdrives the microphones
        lim = 32767 * (0.2 + 0.6 * rng.random())
        m1, m2 = np.clip(m1, -lim, lim), np.clip(m2, -lim, lim)
    m1 = np.clip(np.round(m1), -32768, 32767)
    m2 = np.clip(np.round(m2), -32768, 32767)
    return m1, m2, c1, c2


def dataset(rng, bank, count, seconds, one_mic_share=0.2):
    xs, ys = [], []
    for i in range(count):
        m1, m2, c1, c2 = sequence(rng, bank, seconds)
        two = rng.random() >= one_mic_share  # some sequences as a single-microphone device
        f, xa = features(m1, m2, two)
        ca = np.trunc(c1 / 2) + np.trunc(c2 / 2) if two else c1
        ec = (np.abs(stft(ca)) ** 2) @ BM.T
        em = (np.abs(xa) ** 2) @ BM.T
        t = np.clip(np.sqrt((ec + 1.0) / (em + 1.0)), 0.0, 1.0)
        xs.append(f.astype(np.float32))
        ys.append(t.astype(np.float32))
    return torch.tensor(np.stack(xs)), torch.tensor(np.stack(ys))


# ---------------------------------------------------------------- network

class WindNet(torch.nn.Module):
    def __init__(self):
        super().__init__()
        self.inp = torch.nn.Linear(N_IN, DENSE)
        self.gru = torch.nn.GRU(DENSE, GRU, batch_first=True)
        self.lstm = torch.nn.LSTM(GRU, LSTM, batch_first=True)
        self.out = torch.nn.Linear(LSTM, BANDS)

    def forward(self, x):
        h = torch.tanh(self.inp(x))
        h, _ = self.gru(h)
        h, _ = self.lstm(h)
        return torch.sigmoid(self.out(h))


def c_float(x):
    """A float literal that reads back to the same single-precision value."""
    s = "%.9g" % x
    if not any(c in s for c in ".en"):
        s += ".0"
    return s + "f"


def c_array(name, t, out):
    v = t.detach().double().numpy().reshape(-1)
    out.write("const float %s[] = {\n" % name)
    for i in range(0, len(v), 6):
        out.write("    " + " ".join(c_float(x) + "," for x in v[i:i + 6]) + "\n")
    out.write("};\n")
    out.write("_Static_assert(sizeof(%s) / sizeof(%s[0]) == %d, \"%s size\");\n\n" % (name, name, len(v), name))


def export(net, ref_in, path, info):
    ref_out = net(ref_in[None])[0]
    sd = {k: v for k, v in net.state_dict().items()}
    with open(path, "w") as out:
        out.write("/* Generated by audio/talkv2/train/train_wnr.py: the wind-noise network's weights and\n"
                  " * reference outputs of the training framework on fixed inputs. Do not edit. */\n")
        out.write("/* %s */\n" % info)
        out.write("#include \"vqe_wnr_net.h\"\n\n")
        out.write("_Static_assert(WNR_IN == %d && WNR_DENSE == %d && WNR_GRU == %d && WNR_LSTM == %d && "
                  "WNR_OUT == %d && WNR_REF_FRAMES == %d, \"network shape\");\n\n"
                  % (N_IN, DENSE, GRU, LSTM, BANDS, ref_in.shape[0]))
        for layer, key in (("in", "inp"), ("gru", "gru"), ("lstm", "lstm"), ("out", "out")):
            if layer in ("gru", "lstm"):
                for part in ("w_ih", "w_hh", "b_ih", "b_hh"):
                    kind = "weight" if part[0] == "w" else "bias"
                    c_array("vqe_wnr_%s_%s" % (layer, part), sd["%s.%s_%s_l0" % (key, kind, part[2:])], out)
            else:
                c_array("vqe_wnr_%s_w" % layer, sd[key + ".weight"], out)
                c_array("vqe_wnr_%s_b" % layer, sd[key + ".bias"], out)
        c_array("vqe_wnr_ref_in", ref_in, out)
        c_array("vqe_wnr_ref_out", ref_out, out)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--out", required=True)
    ap.add_argument("--cache", default=os.path.join(tempfile.gettempdir(), "wnr_speech"))
    ap.add_argument("--quick", action="store_true")
    ap.add_argument("--epochs", type=int, default=12)
    ap.add_argument("--sequences", type=int, default=200)
    ap.add_argument("--threads", type=int, default=2)
    ap.add_argument("--one-mic-share", type=float, default=0.2)
    a = ap.parse_args()
    torch.manual_seed(SEED)
    torch.set_num_threads(a.threads)
    rng = np.random.default_rng(SEED)
    t0 = time.time()
    bank = speech_bank(a.cache, a.quick)
    count, seconds, epochs = (6, 3.0, 1) if a.quick else (a.sequences, 8.0, a.epochs)
    x, y = dataset(rng, bank, count, seconds, a.one_mic_share)
    xv, yv = dataset(np.random.default_rng(SEED + 1), bank, max(2, count // 10), seconds)
    t_data = time.time() - t0
    print("data: %d sequences of %.0f s (%d utterances), %.0f s" % (count, seconds, len(bank), t_data), flush=True)
    # 1.6 s pieces from a zero state: more of them run side by side per step
    piece = min(100, x.shape[1])
    x = x[:, : x.shape[1] // piece * piece].reshape(-1, piece, N_IN)
    y = y[:, : y.shape[1] // piece * piece].reshape(-1, piece, BANDS)
    net = WindNet()
    opt = torch.optim.Adam(net.parameters(), lr=5e-3)
    sched = torch.optim.lr_scheduler.StepLR(opt, step_size=max(1, epochs // 3), gamma=0.4)
    batch = 64
    for ep in range(epochs):
        perm = torch.randperm(x.shape[0])
        total = 0.0
        for i in range(0, x.shape[0], batch):
            idx = perm[i:i + batch]
            g = net(x[idx])
            # squared error of the gains, more weight on under-estimating speech (over-suppression)
            err = g - y[idx]
            loss = torch.mean(err * err * (1 + 2 * (err < 0).float()))
            opt.zero_grad()
            loss.backward()
            torch.nn.utils.clip_grad_norm_(net.parameters(), 1.0)
            opt.step()
            total += loss.item() * len(idx)
        sched.step()
        with torch.no_grad():
            v = torch.mean((net(xv) - yv) ** 2).item()
        print("epoch %2d  loss %.4f  validation mse %.4f  (%.0f s)" % (ep + 1, total / x.shape[0], v,
                                                                      time.time() - t0), flush=True)
    # fixed inputs for the C check: frames of a validation scene, then hostile extremes
    ref_in = torch.cat([xv[0, 100:140], torch.full((4, N_IN), 3.0), torch.full((4, N_IN), -3.0),
                        torch.zeros((4, N_IN)), xv[0, 140:152]])
    with torch.no_grad():
        export(net, ref_in, a.out, "seed %d, %d sequences of %.0f s, %d epochs, %.0f s of training" %
               (SEED, count, seconds, epochs, time.time() - t0))
    print("wrote %s after %.0f s" % (a.out, time.time() - t0))


if __name__ == "__main__":
    sys.exit(main())
