/* Helpers of the talk tests: the core driven directly, deterministic signals, levels. */
#ifndef TALK_TEST_UTIL_H
#define TALK_TEST_UTIL_H

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "audio_vqe.h"
#include "vqe_internal.h"
#include "vqe_talkv2.h"

namespace talktest {

struct Lcg {
    uint32_t s;
    explicit Lcg(uint32_t seed) : s(seed) {}
    double uni() { /* -1 .. 1 */
        s = s * 1103515245u + 12345u;
        return ((double)(s >> 8) / 8388608.0) - 1.0;
    }
};

/* Speech-like signal: noise through two moving resonances, in syllable bursts with pauses. */
inline std::vector<int16_t> babble(size_t n, uint32_t seed, double amp, double f1 = 500, double f2 = 1500) {
    Lcg g(seed);
    std::vector<int16_t> out(n);
    double a1 = 0, a2 = 0, b1 = 0, b2 = 0;
    for (size_t i = 0; i < n; i++) {
        size_t syl = i / 3200;
        double env = (syl % 5) == 4 ? 0.0 : std::sin(M_PI * (double)(i % 3200) / 3200.0);
        double fa = f1 * (1.0 + 0.3 * std::sin(0.7 * (double)syl)),
               fb = f2 * (1.0 + 0.2 * std::cos(1.3 * (double)syl));
        double ra = 0.97, rb = 0.95;
        double x = g.uni();
        double ya = x + 2 * ra * std::cos(2 * M_PI * fa / 16000) * a1 - ra * ra * a2;
        a2 = a1;
        a1 = ya;
        double yb = x + 2 * rb * std::cos(2 * M_PI * fb / 16000) * b1 - rb * rb * b2;
        b2 = b1;
        b1 = yb;
        double v = (0.05 * ya + 0.08 * yb) * env * amp;
        out[i] = (int16_t)std::lround(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
    }
    return out;
}

/* Cabin-like echo path: delay, then a decaying deterministic response, scaled to `gain`. */
inline std::vector<double> cabin(int delay, int taps, double gain, uint32_t seed) {
    Lcg g(seed);
    std::vector<double> h((size_t)(delay + taps), 0.0);
    double e = 0;
    for (int i = 0; i < taps; i++) {
        double v = g.uni() * std::exp(-5.0 * i / taps);
        h[(size_t)(delay + i)] = v;
        e += v * v;
    }
    for (auto &v : h) {
        v *= gain / std::sqrt(e);
    }
    return h;
}

inline std::vector<int16_t> echo_mix(const std::vector<int16_t> &far, const std::vector<double> &h,
                                     const std::vector<int16_t> &near) {
    std::vector<int16_t> out(far.size());
    for (size_t i = 0; i < far.size(); i++) {
        double acc = near.empty() ? 0.0 : near[i];
        for (size_t k = 0; k < h.size() && k <= i; k++) {
            acc += h[k] * far[i - k];
        }
        out[i] = (int16_t)std::lround(acc > 32767 ? 32767 : (acc < -32768 ? -32768 : acc));
    }
    return out;
}

inline double power(const std::vector<int16_t> &v, size_t from, size_t to) {
    double s = 0;
    for (size_t i = from; i < to && i < v.size(); i++) {
        s += (double)v[i] * v[i];
    }
    return s / (double)(to - from) + 1e-9;
}

inline double db(double p) {
    return 10.0 * std::log10(p);
}

/* A core instance with its memory and scratch. */
struct Core {
    std::vector<uint64_t> mem, scratch;
    alignas(8) uint8_t params[AUDIO_VQE_PARAM_LEN] = {};
    alignas(8) uint8_t cfg[AUDIO_VQE_SYSCFG_SIZE] = {};
    alignas(8) void *h = nullptr;
    int ret = 0;

    static void default_cfg(uint8_t *c) {
        vqe_put32(c, AUDIO_VQE_SYS_BITS, 16);
        vqe_put32(c, AUDIO_VQE_SYS_RATE, 16000);
        vqe_put16(c, AUDIO_VQE_SYS_COUNT, 2);
        vqe_put32(c, AUDIO_VQE_SYS_BITS2, 16);
        vqe_put32(c, AUDIO_VQE_SYS_V16, 2);
        vqe_put16(c, AUDIO_VQE_SYS_V20, 2);
        vqe_put16(c, AUDIO_VQE_SYS_V24, 2);
    }
    /* `edit` changes the default record before init. */
    template <typename F> explicit Core(F edit) {
        memcpy(params, g_vc_params_normal, AUDIO_VQE_PARAMS_SIZE);
        params[AUDIO_VQE_P_MIC_NUM] = 1;
        default_cfg(cfg);
        edit(params);
        alignas(8) int32_t size = 0;
        ret = audio_vqe_get_size(&size, cfg, params);
        if (ret != 0) {
            return;
        }
        mem.assign((size_t)size / 8 + 1, 0);
        scratch.assign(AUDIO_VQE_SCRATCH_MIN / 8, 0);
        ret = audio_vqe_init(&h, mem.data(), size, cfg, params, AUDIO_VQE_PARAM_LEN, scratch.data(),
                             AUDIO_VQE_SCRATCH_MIN);
    }
    Core() : Core([](uint8_t *) {}) {}
    /* Whole frames of mic (and ref); returns the output, one frame (256 samples) late. */
    std::vector<int16_t> run(const std::vector<int16_t> &mic, const std::vector<int16_t> &ref = {},
                             const std::vector<int16_t> &mic2 = {}) {
        std::vector<int16_t> out(mic.size(), 0);
        alignas(8) int16_t a[256], b[256], r[256], o[256];
        alignas(8) audio_vqe_input in;
        memset(&in, 0, sizeof(in));
        in.scratch = scratch.data();
        in.scratch_size = AUDIO_VQE_SCRATCH_MIN;
        for (size_t at = 0; at + 256 <= mic.size(); at += 256) {
            memcpy(a, &mic[at], sizeof(a));
            memset(b, 0, sizeof(b));
            memset(r, 0, sizeof(r));
            if (!mic2.empty()) {
                memcpy(b, &mic2[at], sizeof(b));
            }
            if (!ref.empty()) {
                memcpy(r, &ref[at], sizeof(r));
            }
            in.mic1 = a;
            in.mic2 = b;
            in.ref = r;
            alignas(8) int16_t *op = o;
            int rr = audio_vqe_apply(h, &in, &op);
            if (rr != 0) {
                ret = rr;
                return out;
            }
            memcpy(&out[at], o, sizeof(o));
        }
        return out;
    }
};

} // namespace talktest

#endif
