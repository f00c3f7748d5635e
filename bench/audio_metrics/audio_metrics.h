/*
 * Measurement pieces shared by the audio benchmarks: reproducible scenes (speech from
 * espeak-ng, car-cabin noises, tones, level steps) and the figures computed on a processor's
 * output (intelligibility, distortion, noise attenuation, speech loss, levels, curves, timing).
 *
 * Signals are double-valued in 16-bit units (full scale 32768) until turned into PCM with
 * to_pcm(). Every generator takes a seed and gives the same samples on every run and machine
 * that has the same C library maths.
 */
#ifndef BENCH_AUDIO_METRICS_H
#define BENCH_AUDIO_METRICS_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace am {

using Wave = std::vector<double>;
using Pcm = std::vector<int16_t>;

/* Deterministic generator: uniform in (0, 1) and standard normal. */
struct Rng {
    uint64_t s;
    explicit Rng(uint64_t seed) : s(seed * 2862933555777941757ull + 3037000493ull) {}
    double uniform() {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return ((double)(s >> 11) + 0.5) / 9007199254740992.0;
    }
    double gauss();
};

/* ---------------- scenes ---------------- */

/* Speech from espeak-ng (`voice`, 150 words a minute) at `rate`, scaled so that the samples
 * above -50 dBFS have the RMS level rms_dbfs. Empty when espeak-ng or sox fails. */
Pcm speak(const std::string &voice, const std::string &text, int rate, double rms_dbfs);
/* A few sentences of two voices, gaps of `gap_s` seconds between them, looped to `seconds`,
 * speech at rms_dbfs. Empty when espeak-ng fails. */
Wave speech_track(int rate, double seconds, double rms_dbfs, double gap_s = 1.0);

Wave white_noise(size_t n, uint64_t seed);
/* 1/f noise: octave-spaced one-pole low-passes of white noise summed with equal weight per octave. */
Wave pink_noise(size_t n, int rate, uint64_t seed);
/* 1/f^2 noise: leaky integration of white noise (corner near 3 Hz). */
Wave brown_noise(size_t n, int rate, uint64_t seed);
/* Engine: firing frequency (rpm / 30 for four cylinders) and its first eight harmonics with
 * falling amplitudes, the speed drifting slowly by a few per cent. */
Wave engine_harmonics(size_t n, int rate, double rpm, uint64_t seed);
/* Car cabin: brown rumble, pink road noise 6 dB lower and engine harmonics 10 dB lower. */
Wave car_noise(size_t n, int rate, uint64_t seed);
/* Wind: low-passed pink noise under an envelope of random gusts (0.3..1.5 s bumps). */
Wave wind_gusts(size_t n, int rate, uint64_t seed);
/* A sine at `freq` with peak level peak_dbfs. */
Wave tone(size_t n, int rate, double freq, double peak_dbfs, double phase = 0);
/* Concatenates `seconds` of `source` (looped) at each RMS level in turn. */
Wave level_steps(const Wave &source, int rate, const std::vector<double> &levels_dbfs, double seconds);

double rms_dbfs(const Wave &x, size_t from = 0, size_t to = SIZE_MAX);
double rms_dbfs(const Pcm &x, size_t from = 0, size_t to = SIZE_MAX);
/* Scales x so that its RMS over [from, to) is `dbfs`. */
void set_level(Wave &x, double dbfs, size_t from = 0, size_t to = SIZE_MAX);
/* speech + noise scaled so that the RMS of the noise is snr_db below the speech's active level
 * (the samples of speech above -50 dBFS). */
Wave mix_at_snr(const Wave &speech, const Wave &noise, double snr_db);
Wave add(const Wave &a, const Wave &b);
Pcm to_pcm(const Wave &x); /* rounded and clipped */
Wave to_wave(const Pcm &x);
/* 16-bit WAV, samples interleaved; false on failure. */
bool write_wav(const std::string &path, int rate, int channels, const Pcm &samples);

/* ---------------- figures ---------------- */

/* Lag (0..max_lag samples) by which `out` best matches `ref` (largest cross-correlation). */
size_t find_lag(const Wave &ref, const Wave &out, size_t max_lag);
/* out shifted back by lag and cut to ref's length (zero beyond its end). */
Wave shift_back(const Wave &out, size_t lag, size_t n);

/* Short-time objective intelligibility (Taal et al., 2011), 0..1: both signals at 10 kHz,
 * silent frames of the clean signal removed, one-third octave envelopes over 384 ms segments
 * correlated after clipping the processed envelope at -15 dB signal-to-distortion. */
double stoi(const Wave &clean, const Wave &processed, int rate);
/* Scale-invariant signal-to-distortion ratio in dB of `est` against `ref` (same alignment). */
double sdr(const Wave &ref, const Wave &est);

/* 20 ms frames of the clean speech: 1 = active (within 20 dB of its loudest frame),
 * 0 = pause (below -70 dBFS), -1 = neither. */
std::vector<int> speech_frames(const Wave &clean, int rate);
/* Noise attenuation in dB: power of `in` over power of `out` in the pause frames (aligned
 * output), frames before skip_s left out. */
double noise_attenuation(const Wave &in, const Wave &out, const std::vector<int> &frames, int rate,
                         double skip_s);
/* Speech loss in dB: clean speech energy over the energy of the output's speech component
 * (its projection on the clean speech, frame by frame) in the active frames. */
double speech_loss(const Wave &clean, const Wave &out, const std::vector<int> &frames, int rate,
                   double skip_s);

/* A processor under test: takes 16-bit input at the scene's rate, gives output of the same length
 * (aligned by the caller when it has a delay). */
using Process = std::function<Pcm(const Pcm &)>;

/* Steady-state gain in dB for a sine at freq, peak level peak_dbfs, `seconds` long: output RMS over
 * the second half against the input's. */
double sine_gain_db(const Process &p, int rate, double freq, double peak_dbfs, double seconds = 1.0);
/* Gain in dB at each frequency, from one run of a sum of sines (each at peak_dbfs, phases
 * spread, whole periods of the analysis window): a linear system's magnitude response. */
std::vector<double> multitone_response(const Process &p, int rate, const std::vector<double> &freqs,
                                       double peak_dbfs = -30, double seconds = 2.0);
/* Output RMS level of a 1 kHz sine for each input RMS level (steady state, second half). */
std::vector<double> static_curve(const Process &p, int rate, const std::vector<double> &in_dbfs,
                                 double seconds = 1.5, double freq = 1000);

struct StepTiming {
    double attack_ms = 0;    /* from the step up until the gain has made 90 % of its change in dB */
    double release_ms = 0;   /* the same after the step down */
    double overshoot_db = 0; /* highest 2 ms output level after the step up over its settled level */
};
/* A 1 kHz sine at low_dbfs for 2 s, high_dbfs for 2 s, low_dbfs for 2 s (RMS levels). */
StepTiming step_timing(const Process &p, int rate, double low_dbfs, double high_dbfs);

/* Seconds of processor time used by the calling thread so far. */
double thread_seconds();

} // namespace am

#endif
