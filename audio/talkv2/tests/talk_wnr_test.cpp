/* Wind-noise network and dereverberation: the network against the training framework's own
 * outputs, hostile frames, and both modules on synthetic scenes. */
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "talk_test_util.h"
#include "vqe_dereverb.h"
#include "vqe_wnr.h"

using namespace talktest;

namespace {

/* Wind as a car's microphones pick it up: a common gust envelope over low-passed turbulence of
 * each microphone's own (uncorrelated between the two). */
void wind(size_t n, uint32_t seed, double amp, std::vector<int16_t> &a, std::vector<int16_t> &b) {
    Lcg g(seed), g1(seed + 1), g2(seed + 2);
    a.assign(n, 0);
    b.assign(n, 0);
    double l1 = 0, l2 = 0, m1 = 0, m2 = 0, env = 0, target = 0.5;
    for (size_t i = 0; i < n; i++) {
        if (i % 4000 == 0) {
            target = 0.2 + 0.8 * std::fabs(g.uni());
        }
        env += (target - env) * 0.0005;
        l1 += 0.03 * (g1.uni() - l1);
        m1 += 0.03 * (l1 - m1);
        l2 += 0.03 * (g2.uni() - l2);
        m2 += 0.03 * (l2 - m2);
        a[i] = (int16_t)std::clamp(amp * 30 * env * m1, -32768.0, 32767.0);
        b[i] = (int16_t)std::clamp(amp * 30 * env * m2, -32768.0, 32767.0);
    }
}

bool all_finite(const float *v, size_t n) {
    for (size_t i = 0; i < n; i++) {
        if (!std::isfinite(v[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST(TalkWnrNet, MatchesTheTrainingFrameworkOnFixedInputs) {
    /* tolerance: the framework computes in single precision too, with its own order of sums and
     * its own exp/tanh; 1e-4 on gains in 0..1 over a 64-frame sequence */
    vqe_wnr_net n;
    vqe_wnr_net_reset(&n);
    float out[WNR_OUT];
    double worst = 0;
    for (int f = 0; f < WNR_REF_FRAMES; f++) {
        vqe_wnr_net_step(&n, vqe_wnr_ref_in + f * WNR_IN, out);
        for (int o = 0; o < WNR_OUT; o++) {
            worst = std::max(worst, (double)std::fabs(out[o] - vqe_wnr_ref_out[f * WNR_OUT + o]));
        }
    }
    printf("largest difference from the framework: %.2e\n", worst);
    EXPECT_LT(worst, 1e-4);
}

TEST(TalkWnrNet, HostileInputsGiveGainsInRange) {
    vqe_wnr_net n;
    vqe_wnr_net_reset(&n);
    float in[WNR_IN], out[WNR_OUT];
    const float values[] = {NAN, INFINITY, -INFINITY, 1e30f, -1e30f, 0.0f};
    for (int f = 0; f < 200; f++) {
        std::fill(in, in + WNR_IN, values[f % 6]);
        vqe_wnr_net_step(&n, in, out);
        for (float g : out) {
            ASSERT_TRUE(g >= 0.0f && g <= 1.0f) << "frame " << f;
        }
        ASSERT_TRUE(all_finite(n.gru, WNR_GRU) && all_finite(n.lstm_h, WNR_LSTM) &&
                    all_finite(n.lstm_c, WNR_LSTM));
    }
}

/* Silence, full scale (square and random) and DC through the chain with the network on, one and
 * two microphones: every output finite, never louder than the input, silence stays silent. */
TEST(TalkWnrChain, HostileFramesStayFiniteAndQuiet) {
    for (int mics : {1, 2}) {
        Core c([&](uint8_t *p) {
            p[AUDIO_VQE_P_WNR_ON] = 1;
            p[AUDIO_VQE_P_MIC_NUM] = (uint8_t)mics;
        });
        ASSERT_EQ(0, c.ret);
        size_t n = 256 * 60;
        std::vector<int16_t> silent(n, 0);
        std::vector<int16_t> y = c.run(silent, {}, silent);
        EXPECT_EQ(0, *std::max_element(y.begin(), y.end()));
        EXPECT_EQ(0, *std::min_element(y.begin(), y.end()));
        Lcg g(3);
        std::vector<int16_t> square(n), noise(n), dc(n, 32767);
        for (size_t i = 0; i < n; i++) {
            square[i] = (i / 40) % 2 ? 32767 : -32768;
            noise[i] = (int16_t)std::lround(32767 * g.uni());
        }
        for (auto *x : {&square, &noise, &dc}) {
            y = c.run(*x, {}, *x);
            EXPECT_EQ(0, c.ret);
            EXPECT_LE(db(power(y, 2560, n)), db(power(*x, 2560, n)) + 0.5) << mics << " microphones";
        }
        auto *st = (vqe_wnr *)((vqe_core *)c.h)->wnr;
        EXPECT_TRUE(all_finite(st->wind, VQE_BINS) && all_finite(st->s11, VQE_BINS) &&
                    all_finite(st->net.lstm_c, WNR_LSTM));
        y = c.run(silent, {}, silent);
        EXPECT_LE(db(power(y, 256 * 20, n)), 0.0) << "silence after full scale";
    }
}

/* Gusts on two microphones, speech-like bursts in the middle third: the wind alone is pulled
 * down, speech without wind keeps its level. */
TEST(TalkWnrChain, AttenuatesWindKeepsCleanSpeech) {
    size_t n = 16000 * 9;
    std::vector<int16_t> w1, w2;
    wind(n, 7, 3000, w1, w2);
    std::vector<int16_t> talk = babble(n, 12, 5000);
    std::vector<int16_t> m1(n), m2(n), clean(n, 0);
    for (size_t i = 0; i < n; i++) {
        bool wind_part = i < 6 * 16000;
        bool talk_part = i >= 6 * 16000;
        int s = talk_part ? talk[i] : 0;
        clean[i] = (int16_t)s;
        m1[i] = (int16_t)std::clamp(s + (wind_part ? w1[i] : 0), -32768, 32767);
        m2[i] = (int16_t)std::clamp(s + (wind_part ? w2[i] : 0), -32768, 32767);
    }
    Core c([](uint8_t *p) {
        p[AUDIO_VQE_P_WNR_ON] = 1;
        p[AUDIO_VQE_P_MIC_NUM] = 2;
    });
    ASSERT_EQ(0, c.ret);
    std::vector<int16_t> y = c.run(m1, {}, m2);
    std::vector<int16_t> avg(n);
    for (size_t i = 0; i < n; i++) {
        avg[i] = (int16_t)(m1[i] / 2 + m2[i] / 2);
    }
    double wind_att = db(power(avg, 16000, 6 * 16000)) - db(power(y, 16000 + 256, 6 * 16000 + 256));
    double speech_change = db(power(y, 7 * 16000 + 256, n)) - db(power(avg, 7 * 16000, n - 256));
    printf("wind alone %.1f dB down, clean speech %+.1f dB\n", wind_att, speech_change);
    EXPECT_GT(wind_att, 8.0);
    EXPECT_GT(speech_change, -2.0);
}

/* A dry talker in a room (exponential decay, T60 0.6 s, direct sound as strong as the tail):
 * the late tail after each burst falls, the bursts themselves stay. */
TEST(TalkDereverb, SuppressesTheLateTail) {
    size_t n = 16000 * 10;
    std::vector<int16_t> dry = babble(n, 8, 6000);
    /* a sparse (velvet) noise response: one tap of random sign per 8 samples under the decay */
    Lcg g(9);
    const double t60 = 0.6;
    std::vector<std::pair<size_t, double>> taps = {{0, 1.0}};
    double e = 0;
    for (size_t slot = 1; slot < (size_t)(16000 * t60) / 8; slot++) {
        size_t at = slot * 8 + (size_t)(4 + 3.99 * g.uni());
        double v = (g.uni() > 0 ? 1.0 : -1.0) * std::exp(-6.9 * (double)at / (16000 * t60));
        taps.push_back({at, v});
        e += v * v;
    }
    for (size_t i = 1; i < taps.size(); i++) {
        taps[i].second /= std::sqrt(e);
    }
    std::vector<double> acc(n, 0.0);
    for (size_t i = 0; i < n; i++) {
        for (auto &t : taps) {
            if (i + t.first < n) {
                acc[i + t.first] += t.second * dry[i];
            }
        }
    }
    std::vector<int16_t> wet(n);
    for (size_t i = 0; i < n; i++) {
        wet[i] = (int16_t)std::lround(std::clamp(acc[i], -32768.0, 32767.0));
    }
    Core c([](uint8_t *p) { p[AUDIO_VQE_P_DEREVERB_ON] = 1; });
    ASSERT_EQ(0, c.ret);
    std::vector<int16_t> y = c.run(wet);
    /* babble pauses are syllables 4, 9, ... (3200 samples each): the tail rings into them */
    double tail_in = 0, tail_out = 0, burst_in = 0, burst_out = 0;
    for (size_t syl = 10; (syl + 1) * 3200 + 256 < n; syl++) {
        size_t a = syl * 3200, b = a + 3200;
        if (syl % 5 == 4) {
            tail_in += power(wet, a + 400, b);
            tail_out += power(y, a + 400 + 256, b + 256);
        } else if (syl % 5 == 1) {
            burst_in += power(wet, a + 800, b - 800);
            burst_out += power(y, a + 800 + 256, b - 800 + 256);
        }
    }
    double tail_down = db(tail_in) - db(tail_out), burst_down = db(burst_in) - db(burst_out);
    auto *st = (vqe_dereverb *)((vqe_core *)c.h)->dereverb[0];
    printf("late tail %.1f dB down, speech %.1f dB down, decay time estimate %.2f s\n", tail_down, burst_down,
           st->t60);
    EXPECT_GT(tail_down, 6.0);
    EXPECT_LT(burst_down, 4.0); /* the bursts carry the tail of the earlier ones too */
    EXPECT_GT(st->t60, 0.3f);
    EXPECT_LT(st->t60, 1.0f);

    /* a dry signal passes nearly unchanged */
    Core d([](uint8_t *p) { p[AUDIO_VQE_P_DEREVERB_ON] = 1; });
    y = d.run(dry);
    EXPECT_NEAR(db(power(dry, 16000, n - 256)), db(power(y, 16000 + 256, n)), 2.0);
}
