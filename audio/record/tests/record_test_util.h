/* Deterministic signals and a core harness for the recording tests. */
#ifndef RECORD_TEST_UTIL_H
#define RECORD_TEST_UTIL_H

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "zorvo_record.h"

namespace rectest {

struct Lcg {
    uint32_t s;
    explicit Lcg(uint32_t seed) : s(seed) {}
    int32_t next(int32_t amp) {
        s = s * 1103515245u + 12345u;
        return (int32_t)((s >> 8) % (2u * (uint32_t)amp + 1u)) - amp;
    }
};

inline std::vector<int16_t> sine(size_t n, double rate, double f, double amp) {
    std::vector<int16_t> v(n);
    for (size_t i = 0; i < n; i++) {
        v[i] = (int16_t)lrint(amp * sin(2 * M_PI * f * (double)i / rate));
    }
    return v;
}

/* Integer-only speech-like input: bursts of filtered noise with a slow tone, same everywhere. */
inline std::vector<int16_t> integer_scene(size_t n, uint32_t seed, int amp) {
    Lcg g(seed);
    std::vector<int16_t> v(n);
    int32_t y = 0;
    for (size_t i = 0; i < n; i++) {
        int32_t on = ((i / 2400) % 3) != 2;
        y += (g.next(amp) - y) / 4;
        int32_t tone = (int32_t)((i * 37) % 200) - 100;
        v[i] = (int16_t)(on ? y + tone * amp / 400 : g.next(amp / 30));
    }
    return v;
}

inline uint32_t fnv(const void *p, size_t n, uint32_t h = 2166136261u) {
    const auto *b = static_cast<const uint8_t *>(p);
    for (size_t i = 0; i < n; i++) {
        h = (h ^ b[i]) * 16777619u;
    }
    return h;
}

/* A core in its own aligned block, fed frame by frame. */
struct Core {
    std::vector<uint64_t> mem = std::vector<uint64_t>(ZORVO_RECORD_MEM_SIZE / 8);
    void *h = nullptr;
    int init_result;
    int io;
    uint8_t p[ZORVO_RECORD_PARAMS_SIZE];
    explicit Core(const uint8_t *params) {
        memcpy(p, params, sizeof(p));
        static const int ios[4] = {80, 160, 480, 441};
        io = ios[p[0] & 3];
        init_result = zorvo_record_init(&h, mem.data(), ZORVO_RECORD_MEM_SIZE, p);
    }
    /* Runs whole frames; returns the outputs (channel 1, channel 2) and the gain steps. */
    int run(const std::vector<int16_t> &m1, const std::vector<int16_t> &m2, std::vector<int16_t> &o1,
            std::vector<int16_t> &o2, std::vector<int> *steps = nullptr) {
        o1.assign(m1.size(), 0);
        o2.assign(m1.size(), 0);
        for (size_t at = 0; at + (size_t)io <= m1.size(); at += (size_t)io) {
            zorvo_record_in in = {};
            zorvo_record_out out = {};
            in.mic1 = &m1[at];
            in.mic2 = m2.empty() ? nullptr : &m2[at];
            out.out[0] = &o1[at];
            out.out[1] = &o2[at];
            int r = zorvo_record_apply(h, &in, &out);
            if (r != 0) {
                return r;
            }
            if (steps != nullptr) {
                steps->push_back(out.gain_step);
            }
        }
        return 0;
    }
};

/* A parameter record: the shell's defaults at a rate mode, with the given switches (hdr, drc, agc,
 * eq, hlpf, rnr) and microphone count. */
inline std::vector<uint8_t> params(int rate_mode, int mics, const int on[6]) {
    std::vector<uint8_t> p(g_record_params, g_record_params + ZORVO_RECORD_PARAMS_SIZE);
    p[ZR_OFF_RATE_MODE] = (uint8_t)rate_mode;
    p[ZR_OFF_MIC_NUM] = (uint8_t)mics;
    p[ZR_OFF_OUT_NUM] = 2;
    for (int i = 0; i < 6; i++) {
        p[ZR_OFF_HDR_ON + i] = (uint8_t)on[i];
    }
    return p;
}

} // namespace rectest

#endif
