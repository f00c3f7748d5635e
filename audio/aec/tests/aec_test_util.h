/* Deterministic signals and echo paths for the echo canceller tests. */
#ifndef AEC_TEST_UTIL_H
#define AEC_TEST_UTIL_H

#include <cmath>
#include <cstdint>
#include <vector>

namespace aectest {

/* Small deterministic generator (no dependence on the C library's rand). */
struct Lcg {
    uint32_t s;
    explicit Lcg(uint32_t seed) : s(seed) {}
    int32_t next(int32_t amp) {
        s = s * 1103515245u + 12345u;
        return (int32_t)((s >> 8) % (2u * (uint32_t)amp + 1u)) - amp;
    }
};

/* Speech-like far end: noise through a resonance, switched on and off in syllable-long bursts. */
inline std::vector<int16_t> babble(size_t n, int rate, uint32_t seed, int amp) {
    Lcg g(seed);
    std::vector<int16_t> out(n);
    double y1 = 0, y2 = 0;
    double r = 0.95, th = 2 * M_PI * 500.0 / rate;
    for (size_t i = 0; i < n; i++) {
        double env = ((i / (size_t)(rate / 5)) % 4) == 3 ? 0.1 : 1.0;
        double x = g.next(1000) / 1000.0;
        double y = x + 2 * r * cos(th) * y1 - r * r * y2;
        y2 = y1;
        y1 = y;
        double v = y * env * amp / 8.0;
        out[i] = (int16_t)(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
    }
    return out;
}

/* Echo path: bulk delay then a decaying random response of `taps` samples, scaled to `gain`. */
inline std::vector<double> room(int delay, int taps, double gain, uint32_t seed) {
    Lcg g(seed);
    std::vector<double> h((size_t)(delay + taps), 0.0);
    double e = 0;
    for (int i = 0; i < taps; i++) {
        h[(size_t)(delay + i)] = g.next(1000) / 1000.0 * exp(-4.0 * i / taps);
        e += h[(size_t)(delay + i)] * h[(size_t)(delay + i)];
    }
    for (auto &v : h) {
        v *= gain / sqrt(e);
    }
    return h;
}

inline std::vector<int16_t> convolve_add(const std::vector<int16_t> &x, const std::vector<double> &h,
                                         const std::vector<int16_t> &add) {
    std::vector<int16_t> out(x.size());
    for (size_t i = 0; i < x.size(); i++) {
        double acc = add.empty() ? 0.0 : add[i];
        for (size_t k = 0; k < h.size() && k <= i; k++) {
            acc += h[k] * x[i - k];
        }
        out[i] = (int16_t)(acc > 32767 ? 32767 : (acc < -32768 ? -32768 : lround(acc)));
    }
    return out;
}

inline double power(const std::vector<int16_t> &v, size_t from, size_t to) {
    double s = 0;
    for (size_t i = from; i < to; i++) {
        s += (double)v[i] * v[i];
    }
    return s / (double)(to - from) + 1e-9;
}

} // namespace aectest

#endif
