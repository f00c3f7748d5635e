// The whole chain on signals: golden output, chunking, hostile frames, no allocation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "record_test_util.h"
#include "vqe_record.h"

extern "C" void *__libc_malloc(size_t);
extern "C" void *__libc_calloc(size_t, size_t);
extern "C" void *__libc_realloc(void *, size_t);

using namespace rectest;

namespace {

int g_counting = 0;
[[maybe_unused]] int g_allocations = 0;

const int kAllOn[6] = {1, 1, 1, 1, 1, 1};

/* Output checksum of 1.5 s of an integer-only scene through the whole chain. */
uint32_t chain_sum(int mode, int mics) {
    std::vector<uint8_t> p = params(mode, mics, kAllOn);
    Core c(p.data());
    if (c.init_result != 0) {
        return 0;
    }
    size_t n = (size_t)c.io * 150;
    std::vector<int16_t> a = integer_scene(n, 11u + (uint32_t)mode, 12000), b = integer_scene(n, 5, 3000);
    std::vector<int16_t> o1(n), o2(n);
    std::vector<int> steps;
    steps.reserve(n / (size_t)c.io + 1);
    int r = 0;
    g_counting = 1;
    for (size_t at = 0; at + (size_t)c.io <= n && r == 0; at += (size_t)c.io) {
        zorvo_record_in in = {};
        zorvo_record_out out = {};
        in.mic1 = &a[at];
        in.mic2 = mics == 2 ? &b[at] : nullptr;
        out.out[0] = &o1[at];
        out.out[1] = &o2[at];
        r = zorvo_record_apply(c.h, &in, &out);
        steps.push_back(out.gain_step); // the library's calls are counted, not this one
    }
    g_counting = 0;
    uint32_t h = fnv(o1.data(), o1.size() * 2);
    h = fnv(o2.data(), o2.size() * 2, h);
    return fnv(&r, sizeof(r), fnv(steps.data(), steps.size() * sizeof(int), h));
}

struct Golden {
    int mode, mics;
    uint32_t sum;
};

const Golden kGolden[] = {
#include "record_golden.inc"
};

} // namespace

#ifndef __SANITIZE_ADDRESS__
extern "C" void *malloc(size_t n) {
    if (g_counting) {
        g_allocations++;
    }
    return __libc_malloc(n);
}
extern "C" void *calloc(size_t a, size_t b) {
    if (g_counting) {
        g_allocations++;
    }
    return __libc_calloc(a, b);
}
extern "C" void *realloc(void *p, size_t n) {
    if (g_counting) {
        g_allocations++;
    }
    return __libc_realloc(p, n);
}
#endif

/* Integer arithmetic only: x86-64 and 32-bit ARM give these bits. */
TEST(RecordGolden, EveryRateModeGivesTheRecordedOutput) {
    if (std::getenv("RECORD_GOLDEN_PRINT") != nullptr) {
        for (int mode = 0; mode < 4; mode++) {
            for (int mics = 1; mics <= 2; mics++) {
                std::printf("    {%d, %d, 0x%08Xu},\n", mode, mics, chain_sum(mode, mics));
            }
        }
        return;
    }
    ASSERT_EQ(sizeof(kGolden) / sizeof(kGolden[0]), 8u);
    for (const Golden &g : kGolden) {
        EXPECT_EQ(chain_sum(g.mode, g.mics), g.sum) << "mode " << g.mode << " mics " << g.mics;
    }
}

TEST(RecordGolden, ProcessingAllocatesNothing) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizer owns malloc";
#else
    g_allocations = 0;
    for (int mode = 0; mode < 4; mode++) {
        chain_sum(mode, 2);
    }
    EXPECT_EQ(g_allocations, 0);
    g_counting = 1;
    void *volatile p = std::malloc(16);
    g_counting = 0;
    std::free(p);
    EXPECT_EQ(g_allocations, 1) << "the counter itself works";
#endif
}

TEST(RecordSignal, ChunkingDoesNotChangeTheOutput) {
    vqe_record_user_params u;
    memset(&u, 0, sizeof(u));
    u.hdr_on = u.hlpf_on = u.rnr_on = u.agc_on = u.eq_on = u.drc_on = 1;
    u.mic_num = 2;
    u.out_num = 2;
    u.gain_min = 6;
    u.gain_max = 20;
    u.gain_step = 2;
    u.hdr_init_gain = 14;
    const size_t frame = 480, frames = 60;
    std::vector<int16_t> a = integer_scene(frame * frames, 8, 20000),
                         b = integer_scene(frame * frames, 9, 5000);
    std::vector<std::vector<int16_t>> outs;
    for (size_t per_call : {1u, 3u, 10u}) {
        const audio_work_handle *m = vx_vqe_record_get_handle();
        void *h = nullptr;
        vqe_config cfg = {};
        cfg.user_params = &u;
        ASSERT_EQ(0, m->init(&h, 48000, &cfg));
        std::vector<int16_t> o1(a.size()), o2(a.size());
        for (size_t at = 0; at < a.size(); at += per_call * frame) {
            audio_frame in = {}, out = {};
            in.data = &a[at];
            in.extern_data = &b[at];
            in.len = (uint32_t)(per_call * frame * 2);
            out.data = &o1[at];
            out.extern_data = &o2[at];
            ASSERT_EQ(0, m->process(h, &in, &out));
        }
        m->deinit(h);
        o1.insert(o1.end(), o2.begin(), o2.end());
        outs.push_back(o1);
    }
    EXPECT_EQ(outs[0], outs[1]);
    EXPECT_EQ(outs[0], outs[2]);
}

TEST(RecordSignal, HostileFramesNeitherWrapNorDiffer) {
    const size_t n = 480 * 40;
    std::vector<std::vector<int16_t>> inputs(4, std::vector<int16_t>(n));
    Lcg g(77);
    for (size_t i = 0; i < n; i++) {
        inputs[0][i] = (int16_t)lrint(32767 * sin(2 * M_PI * (double)i / 240)); // full-scale 200 Hz at 48 kHz
        inputs[1][i] = 32767;                                                   // DC
        inputs[2][i] = i % 2 ? 32767 : -32768;                                  // alternating
        inputs[3][i] = (int16_t)g.next(32767);                                  // random
    }
    for (int mode : {1, 2}) {
        for (const auto &x : inputs) {
            std::vector<uint8_t> p = params(mode, 2, kAllOn);
            std::vector<int16_t> in(x.begin(), x.begin() + (long)(mode == 1 ? n / 3 : n)), o1, o2, r1, r2;
            std::vector<int16_t> neg = in;
            for (auto &v : neg) {
                v = (int16_t)(v == -32768 ? 32767 : -v);
            }
            Core c(p.data()), again(p.data());
            ASSERT_EQ(0, c.run(in, neg, o1, o2));
            ASSERT_EQ(0, again.run(in, neg, r1, r2));
            EXPECT_EQ(o1, r1);
            EXPECT_EQ(o2, r2);
            // no wrap-around: full-scale DC, once its switch-on has passed (the first 100 ms hold
            // the step from silence and the block processing's ringing), never comes out with a
            // jump from one full-scale sign to the other
            if (&x == &inputs[1]) {
                int32_t jump = 0;
                for (size_t i = mode == 1 ? 1600 : 4800; i + 1 < o1.size(); i++) {
                    jump = std::max(jump, std::abs((int32_t)o1[i + 1] - o1[i]));
                    jump = std::max(jump, std::abs((int32_t)o2[i + 1] - o2[i]));
                }
                EXPECT_LT(jump, 40000) << "mode " << mode;
            }
        }
    }
}
