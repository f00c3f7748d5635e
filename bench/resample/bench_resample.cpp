// Compares vqe_resample with speexdsp (quality 4 and 10), libsoxr (high quality) and
// libsamplerate (fastest sinc) on the telephony and media rate pairs, mono, one core:
//   throughput   input samples per second of CPU time, 16-bit in and out
//   SNR          1 kHz sine at -6 dBFS: the fitted 1 kHz component against everything else
//   rejection    upward: a tone at 0.3 of the input rate, everything but that tone against it
//                (images and noise); downward: a tone at 0.7 of the output rate (above its
//                Nyquist frequency; for 48000 -> 44100 midway between the two Nyquist
//                frequencies), the whole output against it (aliases and noise)
//   gain         of a tone at 0.2 and 0.4 of the lower rate
//   DC error     mean output minus input for a constant input of 12345, in LSB
// Run: bench_resample [seconds per throughput figure, default 0.5]
#include <samplerate.h>
#include <soxr.h>
#include <speex/speex_resampler.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "vqe_resample.h"

namespace {

const double kPi = 3.14159265358979323846;

// One converter: feed() takes any number of input frames and appends all it outputs.
struct Converter {
    virtual ~Converter() = default;
    virtual void feed(const int16_t *in, size_t n, std::vector<int16_t> &out) = 0;
};

struct Ours : Converter {
    RES_Resampler *r;
    std::vector<int16_t> buf;
    Ours(int in, int out) : r(vx_resample_create(in, out, 1)), buf(2048 * 6 + 16) {}
    ~Ours() override { vx_resample_destroy(r); }
    void feed(const int16_t *in, size_t n, std::vector<int16_t> &out) override {
        for (size_t at = 0; at < n;) {
            int c = int(std::min<size_t>(2040, n - at)); // a multiple of every decimation factor
            int got = vx_resample_process(r, in + at, c, buf.data());
            if (got > 0) {
                out.insert(out.end(), buf.begin(), buf.begin() + got);
            }
            at += size_t(c);
        }
    }
};

struct Speex : Converter {
    SpeexResamplerState *s;
    std::vector<int16_t> buf;
    double ratio;
    Speex(int in, int out, int q) : buf(8192 * 7), ratio(double(out) / in) {
        int err = 0;
        s = speex_resampler_init(1, spx_uint32_t(in), spx_uint32_t(out), q, &err);
        speex_resampler_skip_zeros(s);
    }
    ~Speex() override { speex_resampler_destroy(s); }
    void feed(const int16_t *in, size_t n, std::vector<int16_t> &out) override {
        for (size_t at = 0; at < n;) {
            spx_uint32_t il = spx_uint32_t(std::min<size_t>(2048, n - at)), ol = spx_uint32_t(buf.size());
            speex_resampler_process_int(s, 0, in + at, &il, buf.data(), &ol);
            out.insert(out.end(), buf.begin(), buf.begin() + ol);
            at += il;
        }
    }
};

struct Soxr : Converter {
    soxr_t s;
    std::vector<int16_t> buf;
    Soxr(int in, int out) : buf(8192 * 7) {
        soxr_error_t err;
        soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
        soxr_quality_spec_t q = soxr_quality_spec(SOXR_HQ, 0);
        s = soxr_create(in, out, 1, &err, &io, &q, nullptr);
    }
    ~Soxr() override { soxr_delete(s); }
    void feed(const int16_t *in, size_t n, std::vector<int16_t> &out) override {
        for (size_t at = 0; at < n;) {
            size_t il = std::min<size_t>(2048, n - at), idone = 0, odone = 0;
            soxr_process(s, in + at, il, &idone, buf.data(), buf.size(), &odone);
            out.insert(out.end(), buf.begin(), buf.begin() + long(odone));
            at += idone;
        }
    }
};

struct Src : Converter {
    SRC_STATE *s;
    double ratio;
    std::vector<float> fin, fout;
    std::vector<int16_t> buf;
    Src(int in, int out) : ratio(double(out) / in), fin(2048), fout(8192 * 7), buf(8192 * 7) {
        int err = 0;
        s = src_new(SRC_SINC_FASTEST, 1, &err);
    }
    ~Src() override { src_delete(s); }
    void feed(const int16_t *in, size_t n, std::vector<int16_t> &out) override {
        for (size_t at = 0; at < n;) {
            size_t il = std::min<size_t>(2048, n - at);
            src_short_to_float_array(in + at, fin.data(), int(il));
            SRC_DATA d{};
            d.data_in = fin.data();
            d.input_frames = long(il);
            d.data_out = fout.data();
            d.output_frames = long(fout.size());
            d.src_ratio = ratio;
            src_process(s, &d);
            src_float_to_short_array(fout.data(), buf.data(), int(d.output_frames_gen));
            out.insert(out.end(), buf.begin(), buf.begin() + d.output_frames_gen);
            at += size_t(d.input_frames_used);
        }
    }
};

using Factory = std::function<std::unique_ptr<Converter>(int, int)>;

std::vector<int16_t> tone(int rate, double f, double amp, size_t n) {
    std::vector<int16_t> v(n);
    for (size_t i = 0; i < n; i++) {
        v[i] = int16_t(std::lround(amp * std::sin(2 * kPi * f * double(i) / rate)));
    }
    return v;
}

// Least-squares fit of a sin + b cos + c at frequency f (cycles/sample) over y; returns the
// fitted amplitude and the power of what the fit leaves.
void fit(const std::vector<double> &y, double f, double *amp, double *resid_power) {
    double m[3][4] = {};
    for (size_t i = 0; i < y.size(); i++) {
        double b[3] = {std::sin(2 * kPi * f * double(i)), std::cos(2 * kPi * f * double(i)), 1.0};
        for (int r = 0; r < 3; r++) {
            for (int c = 0; c < 3; c++) {
                m[r][c] += b[r] * b[c];
            }
            m[r][3] += b[r] * y[i];
        }
    }
    for (int p = 0; p < 3; p++) { // Gauss-Jordan
        for (int r = 0; r < 3; r++) {
            if (r != p) {
                double k = m[r][p] / m[p][p];
                for (int c = 0; c < 4; c++) {
                    m[r][c] -= k * m[p][c];
                }
            }
        }
    }
    double a = m[0][3] / m[0][0], bb = m[1][3] / m[1][1], c0 = m[2][3] / m[2][2];
    double e = 0;
    for (size_t i = 0; i < y.size(); i++) {
        double v = y[i] - a * std::sin(2 * kPi * f * double(i)) - bb * std::cos(2 * kPi * f * double(i)) - c0;
        e += v * v;
    }
    *amp = std::hypot(a, bb);
    *resid_power = e / double(y.size());
}

// Output of a fresh converter for `x`, without its first 20% (start-up) and last 10%.
std::vector<double> steady(const Factory &make, int in, int out, const std::vector<int16_t> &x) {
    auto c = make(in, out);
    std::vector<int16_t> y;
    c->feed(x.data(), x.size(), y);
    size_t from = y.size() / 5, to = y.size() - y.size() / 10;
    return std::vector<double>(y.begin() + long(from), y.begin() + long(to));
}

struct Figures {
    double msps, snr, reject, g2, g4, dc;
};

Figures measure(const Factory &make, int in, int out, double seconds) {
    Figures f{};
    int low = std::min(in, out);
    size_t n = size_t(in) * 2; // two seconds of input
    double amp, resid;
    // SNR at 1 kHz, -6 dBFS.
    auto y = steady(make, in, out, tone(in, 1000, 16384, n));
    fit(y, 1000.0 / out, &amp, &resid);
    f.snr = 10 * std::log10(amp * amp / 2 / resid);
    // Rejection.
    if (out > in) {
        double ft = 0.3 * in;
        y = steady(make, in, out, tone(in, ft, 16384, n));
        fit(y, ft / out, &amp, &resid);
        f.reject = 10 * std::log10(amp * amp / 2 / resid);
    } else {
        double ft = std::min(0.7 * out, (out / 2.0 + in / 2.0) / 2);
        y = steady(make, in, out, tone(in, ft, 16384, n));
        double p = 0;
        for (double v : y) {
            p += v * v;
        }
        p /= double(y.size());
        f.reject = 10 * std::log10(16384.0 * 16384.0 / 2 / (p + 1e-9));
    }
    // Passband gain.
    for (int k = 0; k < 2; k++) {
        double ft = (k == 0 ? 0.2 : 0.4) * low;
        y = steady(make, in, out, tone(in, ft, 16384, n));
        fit(y, ft / out, &amp, &resid);
        (k == 0 ? f.g2 : f.g4) = 20 * std::log10(amp / 16384);
    }
    // DC.
    y = steady(make, in, out, std::vector<int16_t>(n, 12345));
    double mean = 0;
    for (double v : y) {
        mean += v;
    }
    f.dc = mean / double(y.size()) - 12345;
    // Throughput on noise, one second of input per pass.
    std::vector<int16_t> x(static_cast<size_t>(in));
    uint32_t s = 1;
    for (auto &v : x) {
        s = s * 1664525u + 1013904223u;
        v = int16_t(s >> 17);
    }
    auto c = make(in, out);
    std::vector<int16_t> sink;
    sink.reserve(size_t(out) * 2);
    timespec t0, t1;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t0);
    double used = 0;
    long passes = 0;
    do {
        sink.clear();
        c->feed(x.data(), x.size(), sink);
        passes++;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t1);
        used = double(t1.tv_sec - t0.tv_sec) + 1e-9 * double(t1.tv_nsec - t0.tv_nsec);
    } while (used < seconds);
    f.msps = double(passes) * double(in) / used / 1e6;
    return f;
}

// The engine the library picks for a pair (integer-ratio table, else polyphase upwards).
const char *engine_of(int in, int out) {
    if (in == out) {
        return "copy";
    }
    if ((out % in == 0 && (out / in == 2 || out / in == 4 || out / in == 6)) ||
        (in % out == 0 && (in / out == 2 || in / out == 4 || (in / out == 6 && in == 48000)))) {
        if (!(in == 48000 && out == 16000)) {
            return "integer";
        }
    }
    return in < out ? "polyphase" : "linear";
}

} // namespace

int main(int argc, char **argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 0.5;
    const int pairs[][2] = {{8000, 16000},  {16000, 8000},  {16000, 48000}, {8000, 48000}, {48000, 8000},
                            {44100, 48000}, {48000, 44100}, {48000, 16000}, {8000, 32000}, {32000, 8000}};
    struct Impl {
        const char *name;
        Factory make;
    } impls[] = {
        {"vqe_resample", [](int i, int o) { return std::unique_ptr<Converter>(new Ours(i, o)); }},
        {"speexdsp q4", [](int i, int o) { return std::unique_ptr<Converter>(new Speex(i, o, 4)); }},
        {"speexdsp q10", [](int i, int o) { return std::unique_ptr<Converter>(new Speex(i, o, 10)); }},
        {"soxr HQ", [](int i, int o) { return std::unique_ptr<Converter>(new Soxr(i, o)); }},
        {"samplerate fast", [](int i, int o) { return std::unique_ptr<Converter>(new Src(i, o)); }},
    };
    std::printf("%-13s %-16s %-9s %9s %7s %8s %8s %9s %9s %8s\n", "pair", "converter", "engine", "Msamp/s",
                "x spx4", "SNR dB", "rej dB", "g@0.2 dB", "g@0.4 dB", "DC LSB");
    for (auto &p : pairs) {
        std::vector<Figures> figs;
        for (auto &impl : impls) {
            figs.push_back(measure(impl.make, p[0], p[1], seconds));
        }
        double speex4 = figs[1].msps;
        for (size_t k = 0; k < figs.size(); k++) {
            const Figures &f = figs[k];
            char pair[32], ratio[16] = "";
            std::snprintf(pair, sizeof(pair), "%d>%d", p[0], p[1]);
            std::snprintf(ratio, sizeof(ratio), "%.2f", f.msps / speex4);
            std::printf("%-13s %-16s %-9s %9.1f %7s %8.1f %8.1f %9.3f %9.3f %8.3f\n", pair, impls[k].name,
                        k == 0 ? engine_of(p[0], p[1]) : "", f.msps, ratio, f.snr, f.reject, f.g2, f.g4,
                        f.dc);
        }
    }
    return 0;
}
