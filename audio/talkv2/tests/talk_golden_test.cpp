/* The whole chain through the plug-in: hostile frames leave a finite state, processing
 * allocates nothing, and a fixed scene gives the recorded levels (floating point: compared
 * within 0.3 dB per block, so that every platform's rounding passes). */
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "talk_test_util.h"

using namespace talktest;

extern "C" void *__libc_malloc(size_t);
extern "C" void *__libc_calloc(size_t, size_t);
extern "C" void *__libc_realloc(void *, size_t);

namespace {

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
int g_counting;
int g_allocations;
#endif

/* Every module of this chain on, two microphones. */
struct Full {
    alignas(8) uint8_t user[VQE_TALKV2_USER_SIZE] = {};
    void *h = nullptr;
    explicit Full(int mics = 2, std::vector<int> more = {}) {
        for (int off : {VQE_TALKV2_U_DMNR_ON, VQE_TALKV2_U_PMWF_ON, VQE_TALKV2_U_AGC_ON, VQE_TALKV2_U_EQ_ON,
                        VQE_TALKV2_U_DRC_ON, VQE_TALKV2_U_LIMITER_ON, VQE_TALKV2_U_AEC_ON}) {
            vqe_put32(user, off, 1);
        }
        for (int off : more) {
            vqe_put32(user, off, 1);
        }
        vqe_put32(user, VQE_TALKV2_U_MIC_NUM, mics);
        vqe_config cfg = {0, 0, 1, user};
        EXPECT_EQ(0, vqe_talkv2_init(&h, 16000, &cfg));
    }
    ~Full() { vqe_talkv2_deinit(h); }
    std::vector<int16_t> run(std::vector<int16_t> mic, std::vector<int16_t> far, std::vector<int16_t> mic2,
                             size_t per_call = 256 * 4) {
        size_t n = mic.size();
        mic.resize(n + 8);
        far.resize(n + 8);
        mic2.resize(n + 8);
        std::vector<int16_t> out(n + 8), out2(n + 8);
        for (size_t at = 0; at + per_call <= n; at += per_call) {
            audio_frame in = {}, o = {};
            in.data = &mic[at];
            in.rin_data = &far[at];
            in.extern_data = &mic2[at];
            in.len = (uint32_t)(per_call * 2);
            o.data = &out[at];
            o.extern_data = &out2[at];
            EXPECT_EQ(0, vqe_talkv2_process(h, &in, &o));
        }
        out.resize(n);
        return out;
    }
};

bool finite_all(const float *v, size_t n) {
    for (size_t i = 0; i < n; i++) {
        if (!std::isfinite(v[i])) {
            return false;
        }
    }
    return true;
}

/* Every floating-point field of the core and its spectral modules. */
void expect_finite_state(void *h) {
    vqe_core *c = (vqe_core *)vqe_talkv2_core(h);
    ASSERT_NE(nullptr, c);
    EXPECT_TRUE(finite_all(c->ola, VQE_HOP));
    EXPECT_TRUE(finite_all(c->hist1, VQE_HOP));
    EXPECT_TRUE(finite_all(c->hist_err, VQE_HOP));
    if (c->aec != nullptr) {
        vqe_aec *a = c->aec;
        size_t per = (size_t)a->parts * 2 * VQE_BINS;
        EXPECT_TRUE(finite_all(a->x_ring, per));
        EXPECT_TRUE(finite_all(a->w_kalman, per));
        EXPECT_TRUE(finite_all(a->w_nlms, per));
        EXPECT_TRUE(finite_all(a->p_kalman, (size_t)a->parts * VQE_BINS));
        EXPECT_TRUE(finite_all(a->phi_s, VQE_BINS * 9));
        EXPECT_TRUE(std::isfinite(a->dt) && std::isfinite(a->ek_s) && std::isfinite(a->en_s));
    }
    if (c->nr != nullptr) {
        EXPECT_TRUE(finite_all(c->nr->noise, VQE_BINS * (6 + VQE_NR_MAX_SUB)));
        EXPECT_TRUE(finite_all(c->nr->gain, VQE_BINS));
    }
    if (c->pmwf != nullptr) {
        EXPECT_TRUE(finite_all(&c->pmwf->ryy[0][0], VQE_BINS * 8));
        EXPECT_TRUE(finite_all(c->pmwf->p_avg, VQE_BINS));
    }
    if (c->agc != nullptr) {
        vqe_agc_chan *ch = &c->agc->chan[0];
        EXPECT_TRUE(std::isfinite(ch->level_db) && std::isfinite(ch->floor_db) &&
                    std::isfinite(ch->gain_db) && std::isfinite(ch->gain_lin));
    }
    if (c->lim != nullptr) {
        EXPECT_TRUE(std::isfinite(c->lim->gain) && std::isfinite(c->lim->envelope));
    }
}

} // namespace

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
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

TEST(TalkRobust, HostileFramesLeaveAFiniteState) {
    Full t;
    size_t n = 256 * 8;
    std::vector<std::vector<int16_t>> kinds;
    std::vector<int16_t> v(n);
    for (size_t i = 0; i < n; i++) {
        v[i] = (i / 8) % 2 ? 32767 : -32768; /* full-scale square */
    }
    kinds.push_back(v);
    kinds.push_back(std::vector<int16_t>(n, 32767)); /* DC */
    Lcg g(77);
    for (auto &s : v) {
        s = (int16_t)(g.uni() * 32767); /* random */
    }
    kinds.push_back(v);
    std::vector<int16_t> step(n, 0); /* silence, then full scale */
    for (size_t i = n / 2; i < n; i++) {
        step[i] = i % 2 ? 32767 : -32768;
    }
    kinds.push_back(step);
    kinds.push_back(std::vector<int16_t>(n, 0));
    for (int round = 0; round < 2; round++) {
        for (size_t a = 0; a < kinds.size(); a++) {
            for (size_t b = 0; b < kinds.size(); b++) {
                std::vector<int16_t> out = t.run(kinds[a], kinds[b], kinds[(a + b) % kinds.size()]);
                ASSERT_EQ(n, out.size());
            }
            expect_finite_state(t.h);
        }
    }
    /* and it still works afterwards: a quiet babble comes through */
    std::vector<int16_t> x = babble(16000, 3, 4000);
    std::vector<int16_t> out = t.run(x, std::vector<int16_t>(x.size(), 0), x);
    EXPECT_GT(power(out, 8000, 16000), 1000.0);
    expect_finite_state(t.h);
}

TEST(TalkRobust, ProcessingAllocatesNothing) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizer owns malloc";
#else
    /* every module, the wind-noise network, dereverberation and howling suppression included */
    Full t(2, {VQE_TALKV2_U_WNR_ON, VQE_TALKV2_U_DEREVERB_ON, VQE_TALKV2_U_HS_ON});
    std::vector<int16_t> x = babble(256 * 40, 5, 8000), far = babble(256 * 40, 6, 8000);
    std::vector<int16_t> mic = echo_mix(far, cabin(40, 300, 0.5, 2), x);
    std::vector<int16_t> out(mic.size() + 8), out2(mic.size() + 8);
    mic.resize(mic.size() + 8);
    far.resize(far.size() + 8);
    std::vector<int16_t> mic2 = mic;
    audio_frame in = {}, o = {};
    in.data = mic.data();
    in.rin_data = far.data();
    in.extern_data = mic2.data();
    in.len = 256 * 40 * 2;
    o.data = out.data();
    o.extern_data = out2.data();
    g_allocations = 0;
    g_counting = 1;
    int r = vqe_talkv2_process(t.h, &in, &o);
    g_counting = 0;
    EXPECT_EQ(0, r);
    EXPECT_EQ(0, g_allocations);
    g_counting = 1;
    void *volatile p = std::malloc(16);
    g_counting = 0;
    std::free(p);
    EXPECT_EQ(1, g_allocations);
#endif
}

/* Levels (dB, 0.25 s blocks) of a fixed double-talk scene through the full chain. */
static const double kGoldenLevels[] = {
#include "talk_golden_levels.inc"
};

TEST(TalkGolden, FullChainGivesTheRecordedLevels) {
    size_t n = 16000 * 6;
    std::vector<int16_t> far = babble(n, 31, 10000), near = babble(n, 32, 5000, 800, 2500);
    Lcg g(5);
    for (size_t i = 0; i < n; i++) {
        double noise = g.uni() * 300;
        near[i] = (int16_t)(i < n / 2 ? noise : near[i] + noise);
    }
    std::vector<int16_t> mic = echo_mix(far, cabin(60, 500, 0.6, 4), near);
    Full t;
    std::vector<int16_t> out = t.run(mic, far, mic);
    std::vector<double> levels;
    for (size_t at = 0; at + 4000 <= n; at += 4000) {
        levels.push_back(db(power(out, at, at + 4000) / (32768.0 * 32768.0)));
    }
    if (std::getenv("TALK_GOLDEN_PRINT") != nullptr) {
        for (double l : levels) {
            printf("%.2f,\n", l);
        }
        return;
    }
    ASSERT_EQ(sizeof(kGoldenLevels) / sizeof(kGoldenLevels[0]), levels.size());
    for (size_t i = 0; i < levels.size(); i++) {
        EXPECT_NEAR(kGoldenLevels[i], levels[i], 0.3) << "block " << i;
    }
}
