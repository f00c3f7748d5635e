#include "audio_eq.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Magnitude response in dB of the designed filter at f.
double response_db(const std::vector<int32_t> &coef, double f, double fs) {
    double re = 0, im = 0;
    for (size_t k = 0; k < coef.size(); k++) {
        re += coef[k] * cos(2 * M_PI * f * (double)k / fs);
        im -= coef[k] * sin(2 * M_PI * f * (double)k / fs);
    }
    return 20 * log10(hypot(re, im) / (1 << AUDIO_EQ_COEF_SHIFT));
}

std::vector<int32_t> design(int rate, const int8_t *gains) {
    audio_eq_setup s;
    EXPECT_EQ(0, audio_eq_setup_for_rate(rate, &s));
    std::vector<int32_t> coef((size_t)(2 * s.half));
    EXPECT_EQ(0, audio_eq_design(&s, gains, coef.data()));
    return coef;
}

} // namespace

TEST(AudioEqMath, SineCosineAndDecibelsAreAccurate) {
    for (int i = 0; i < 4096; i++) {
        uint32_t phase = (uint32_t)i * 1048573u;
        double a = phase / 4294967296.0 * 2 * M_PI;
        int32_t s, c;
        audio_eq_sincos(phase, &s, &c);
        ASSERT_NEAR(s / 1073741824.0, sin(a), 2e-8) << i;
        ASSERT_NEAR(c / 1073741824.0, cos(a), 2e-8) << i;
    }
    for (int db = -90; db <= 40; db++) {
        double want = 4096 * pow(10, db / 20.0);
        EXPECT_NEAR(audio_eq_exp10_q12(db), want, 0.5 + want * 1e-6) << db;
    }
    EXPECT_EQ(audio_eq_exp10_q12(0), 4096);
    EXPECT_EQ(audio_eq_window_q14(79, 80), 16384);
    EXPECT_EQ(audio_eq_window_q14(159, 160), 16384);
    EXPECT_LT(audio_eq_window_q14(0, 80), 10);
}

TEST(AudioEqDesign, RatesAndRangeChecks) {
    audio_eq_setup s;
    EXPECT_EQ(-1, audio_eq_setup_for_rate(44100, &s));
    ASSERT_EQ(0, audio_eq_setup_for_rate(16000, &s));
    EXPECT_EQ(30, s.bands);
    EXPECT_EQ(80, s.half);
    int8_t g[AUDIO_EQ_PARAMS] = {};
    g[50] = 10;
    g[15] = 15; // 25 dB in all
    std::vector<int32_t> coef(160);
    EXPECT_EQ(-1, audio_eq_design(&s, g, coef.data()));
    g[15] = 0;
    g[40] = -100; // beyond 8000 Hz: not used at 16000 Hz, not checked either
    EXPECT_EQ(0, audio_eq_design(&s, g, coef.data()));
    ASSERT_EQ(0, audio_eq_setup_for_rate(48000, &s));
    coef.resize(320);
    EXPECT_EQ(-1, audio_eq_design(&s, g, coef.data()));
    g[40] = -60; // -50 after the overall +10
    EXPECT_EQ(0, audio_eq_design(&s, g, coef.data()));
    g[40] = -61;
    EXPECT_EQ(-1, audio_eq_check_gains(g, 50));
}

TEST(AudioEqDesign, FlatGainsDelayByHMinusOne) {
    for (int rate : {16000, 48000}) {
        int8_t g[AUDIO_EQ_PARAMS] = {};
        std::vector<int32_t> coef = design(rate, g);
        size_t half = coef.size() / 2;
        EXPECT_EQ(coef.back(), 0);
        for (size_t k = 0; k < half - 1; k++) {
            EXPECT_EQ(coef[k], coef[2 * half - 2 - k]) << "symmetric";
        }
        std::vector<int32_t> hist(coef.size() - 1, 0), x(coef.size() * 3), y(x.size());
        for (size_t i = 0; i < x.size(); i++) {
            x[i] = (int32_t)((i * 7919u) % 20001u) * 256 - 2560000;
        }
        audio_eq_filter(coef.data(), (int32_t)coef.size(), hist.data(), x.data(), y.data(),
                        (int32_t)x.size());
        for (size_t i = half - 1; i < x.size(); i++) {
            ASSERT_EQ(y[i], x[i - (half - 1)]) << rate << " at " << i;
        }
    }
}

TEST(AudioEqDesign, ResponseFollowsTheBandsFrom500Hz) {
    for (int rate : {16000, 48000}) {
        int8_t g[AUDIO_EQ_PARAMS] = {};
        int bands = rate == 16000 ? 30 : 50;
        // A staircase from -12 to +9 dB in groups of three bands, and a 3 dB overall lift.
        for (int j = 0; j < bands; j++) {
            g[j] = (int8_t)(-12 + 3 * ((j / 3) % 8));
        }
        g[50] = 3;
        std::vector<int32_t> coef = design(rate, g);
        for (int j = 7; j < bands; j++) {
            // the middle of runs of equal gain, away from the steps between them
            if (j % 3 != 1 || audio_eq_band_edge[j - 1] < 500) {
                continue;
            }
            double mid = 0.5 * (audio_eq_band_edge[j - 1] + audio_eq_band_edge[j]);
            EXPECT_NEAR(response_db(coef, mid, rate), g[j] + 3, 1.0) << rate << " band " << j << " " << mid;
        }
    }
}

TEST(AudioEqFilter, InPlaceAndSplitCallsMatchOneCall) {
    int8_t g[AUDIO_EQ_PARAMS] = {};
    g[10] = 12;
    g[20] = -20;
    std::vector<int32_t> coef = design(16000, g);
    std::vector<int32_t> x(640), one(640), parts(640);
    for (size_t i = 0; i < x.size(); i++) {
        x[i] = (i % 2 ? 1 : -1) * (int32_t)(i * 40503u % 8388608u);
    }
    std::vector<int32_t> h1(159, 0), h2(159, 0);
    audio_eq_filter(coef.data(), 160, h1.data(), x.data(), one.data(), 640);
    parts = x;
    for (int at = 0; at < 640; at += 160) {
        audio_eq_filter(coef.data(), 160, h2.data(), &parts[at], &parts[at], 160);
    }
    EXPECT_EQ(one, parts);
}

TEST(AudioEqFilter, SymmetricFormGivesTheSameBits) {
    for (int rate : {16000, 48000}) {
        int8_t g[AUDIO_EQ_PARAMS] = {};
        g[8] = 20;
        g[25] = -30;
        std::vector<int32_t> coef = design(rate, g);
        int32_t half = (int32_t)coef.size() / 2, frame = rate / 100;
        std::vector<int32_t> x((size_t)frame * 4), a(x.size()), b(x.size());
        for (size_t i = 0; i < x.size(); i++) {
            x[i] = (int32_t)(i * 2654435761u >> 1) >> 6; // large values: the pair sums need 33 bits
        }
        std::vector<int32_t> h1((size_t)(2 * half - 2), 0), h2 = h1;
        for (int32_t at = 0; at < 4 * frame; at += frame) {
            audio_eq_filter(coef.data(), 2 * half - 1, h1.data(), &x[(size_t)at], &a[(size_t)at], frame);
            audio_eq_filter_symmetric(coef.data(), half, h2.data(), &x[(size_t)at], &b[(size_t)at], frame);
        }
        EXPECT_EQ(a, b) << rate;
    }
}
