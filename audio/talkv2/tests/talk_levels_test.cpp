/* The level stages: compressor curve and codes, limiter gains and ceiling, equaliser delay. */
#include <gtest/gtest.h>

#include "talk_test_util.h"

using namespace talktest;

namespace {

struct Drc {
    alignas(8) vqe_drc st;
    Drc() {
        EXPECT_EQ(0, audio_vqe_drc_init(&st, 1, 1));
        EXPECT_EQ(0, audio_vqe_drc_set_params(&st, &g_vc_params_normal[AUDIO_VQE_B_DRC], 1));
    }
    /* Steady square wave of peak `amp`: the settled gain in dB. */
    double settle(int amp, int frames = 200) {
        int32_t in[256], out[256];
        for (int i = 0; i < 256; i++) {
            in[i] = (i / 16) % 2 ? amp : -amp;
        }
        for (int f = 0; f < frames; f++) {
            EXPECT_EQ(0, audio_vqe_drc_apply(&st, in, out));
        }
        return 20 * std::log10((double)std::abs(out[200]) / amp);
    }
};

/* The default curve in dB (points from loud to quiet, then the floor point). */
double curve_db(double in) {
    const double x[7] = {0, -1, -6, -12, -18, -20, -80}, y[7] = {0, -1, -2, -4, -6, -8, -68};
    for (int k = 0; k < 6; k++) {
        if (in >= x[k + 1]) {
            return y[k + 1] + (in - x[k + 1]) * (y[k] - y[k + 1]) / (x[k] - x[k + 1]);
        }
    }
    return y[6] + (in - x[6]);
}

} // namespace

TEST(TalkCompressor, StaticCurveOfTheDefaults) {
    for (double level = -40; level <= -0.5; level += 2.5) {
        Drc d;
        int amp = (int)std::lround(32768 * std::pow(10, level / 20));
        double gain = d.settle(amp);
        EXPECT_NEAR(curve_db(level) - level, gain, 1.0) << level;
    }
    Drc d;
    EXPECT_NEAR(12.0, d.settle(3277), 1.0); /* -20 dBFS: about +12 dB */
    Drc loud;
    EXPECT_LE(loud.settle(32767), 0.01); /* full scale never gains */
}

TEST(TalkCompressor, Codes) {
    alignas(8) vqe_drc st;
    uint8_t b[VQE_DRC_BLOCK];
    memcpy(b, &g_vc_params_normal[AUDIO_VQE_B_DRC], sizeof(b));
    EXPECT_EQ(0, audio_vqe_drc_init(nullptr, 1, 0));
    EXPECT_EQ(-1, audio_vqe_drc_init(nullptr, 1, 1));
    EXPECT_EQ(-9, audio_vqe_drc_init((vqe_drc *)((char *)&st + 4), 1, 1));
    EXPECT_EQ(-2, audio_vqe_drc_init(&st, 2, 1));
    ASSERT_EQ(0, audio_vqe_drc_init(&st, 1, 1));
    EXPECT_EQ(-3, audio_vqe_drc_set_params(&st, nullptr, 1));
    struct {
        int off, wide, value, code;
    } cases[] = {
        {0, 0, 121, -10},    {3, 0, 9, -13},      {4, 0, 9, -14},   {2, 0, 127, -12},
        {20, 1, 5, -15},     {8, 1, 5, -17},      {22, 1, 16, -16}, {10, 1, 16, -18},
        {30, 1, -1441, -15}, {18, 1, -1441, -17}, {1, 0, 9, -11},
    };
    for (auto &t : cases) {
        uint8_t c[VQE_DRC_BLOCK];
        memcpy(c, b, sizeof(c));
        if (t.wide) {
            vqe_put16(c, t.off, t.value);
        } else {
            c[t.off] = (uint8_t)t.value;
        }
        EXPECT_EQ(t.code, audio_vqe_drc_set_params(&st, c, 1)) << t.off;
    }
    ASSERT_EQ(0, audio_vqe_drc_set_params(&st, b, 1));
    uint8_t got[VQE_DRC_BLOCK];
    ASSERT_EQ(0, audio_vqe_voice_drc_get_params(&st, got));
    EXPECT_EQ(0, memcmp(got, b, sizeof(b)));
    int32_t x[256] = {}, y[256];
    EXPECT_EQ(-5, audio_vqe_drc_apply(&st, nullptr, y));
    EXPECT_EQ(-6, audio_vqe_drc_apply(&st, x, nullptr));
    st.guard1 = 0;
    EXPECT_EQ(-8, audio_vqe_drc_apply(&st, x, y));
    const char *v = nullptr;
    EXPECT_EQ(-7, audio_vqe_drc_get_version(nullptr));
    EXPECT_EQ(0, audio_vqe_drc_get_version(&v));
    EXPECT_NE(nullptr, v);
    /* level conversion and its inverse */
    EXPECT_NEAR(0, audio_vqe_drc_level(32768), 2);
    EXPECT_NEAR(-320, audio_vqe_drc_level(3277), 2);
    EXPECT_NEAR(32768 * 3.98107, audio_vqe_drc_gain_apply_db_to_multi(192), 32768 * 0.02);
    EXPECT_NEAR(32768 / 3.98107, audio_vqe_drc_gain_apply_db_to_multi(-192), 32768 * 0.002);
}

TEST(TalkLimiter, GainsCeilingAndCodes) {
    alignas(8) vqe_limiter st;
    int8_t blk[2] = {-2, 0};
    ASSERT_EQ(0, audio_vqe_limiter_init(&st, 1, 1));
    ASSERT_EQ(0, audio_vqe_limiter_set_params(&st, blk, 1));
    int32_t in[256], out[256];
    for (int i = 0; i < 256; i++) {
        in[i] = (int32_t)std::lround(1000 * std::sin(i * 0.3));
    }
    in[10] = 1000;
    for (int f = 0; f < 3; f++) {
        ASSERT_EQ(0, audio_vqe_limiter_apply(&st, in, out));
    }
    EXPECT_NEAR(0.891, (double)out[10] / in[10], 0.002);
    EXPECT_NEAR(-1.0, 20 * std::log10(st.gain), 0.05);
    for (int i = 0; i < 256; i++) {
        in[i] = i % 2 ? 32767 : -32768;
    }
    for (int f = 0; f < 3; f++) {
        ASSERT_EQ(0, audio_vqe_limiter_apply(&st, in, out));
    }
    int32_t peak = audio_vqe_limite_max_abs32_vec(out, 256);
    EXPECT_NEAR(29205, peak, 2);
    /* a chain sample far above full scale lands at the ceiling too */
    in[7] = 200000;
    ASSERT_EQ(0, audio_vqe_limiter_apply(&st, in, out));
    ASSERT_EQ(0, audio_vqe_limiter_apply(&st, in, out));
    EXPECT_NEAR(29205, out[7], 2);
    int32_t mn[2] = {INT32_MIN, 5};
    EXPECT_EQ(INT32_MAX, audio_vqe_limite_max_abs32_vec(mn, 2));

    blk[0] = 1;
    EXPECT_EQ(-7, audio_vqe_limiter_set_params(&st, blk, 1));
    EXPECT_EQ(0, audio_vqe_limiter_set_params(&st, blk, 0));
    EXPECT_EQ(-3, audio_vqe_limiter_set_params(&st, nullptr, 1));
    EXPECT_EQ(-1, audio_vqe_limiter_init(nullptr, 1, 1));
    EXPECT_EQ(-8, audio_vqe_limiter_init((vqe_limiter *)((char *)&st + 4), 1, 1));
    EXPECT_EQ(-2, audio_vqe_limiter_init(&st, 2, 1));
    EXPECT_EQ(-4, audio_vqe_limiter_apply(&st, nullptr, out));
    EXPECT_EQ(-5, audio_vqe_limiter_apply(&st, in, nullptr));
    int8_t got[2];
    ASSERT_EQ(0, audio_vqe_limiter_get_params(&st, got));
    EXPECT_EQ(-2, got[0]);
    st.guard0 = 1;
    EXPECT_EQ(-6, audio_vqe_limiter_apply(&st, in, out));
}

/* The envelope lags the samples a little, so peaks land close to the ceiling, not exactly on it. */
TEST(TalkLimiter, EnvelopeModeHoldsTheCeiling) {
    alignas(8) vqe_limiter st;
    int8_t blk[2] = {-6, 1};
    ASSERT_EQ(0, audio_vqe_limiter_init(&st, 1, 1));
    ASSERT_EQ(0, audio_vqe_limiter_set_params(&st, blk, 1));
    int32_t in[256], out[256];
    for (int i = 0; i < 256; i++) {
        in[i] = (int32_t)std::lround(60000 * std::sin(i * 0.2));
    }
    for (int f = 0; f < 4; f++) {
        ASSERT_EQ(0, audio_vqe_limiter_apply(&st, in, out));
    }
    EXPECT_NEAR(32768 * std::pow(10, -6 / 40.0), audio_vqe_limite_max_abs32_vec(out, 256), 32768 * 0.02);
}

TEST(TalkEqualiser, FlatDesignDelaysBy79AndCodes) {
    alignas(8) vqe_eq st;
    ASSERT_EQ(0, audio_vqe_eq_fir_init(&st, 1, 1));
    int8_t g[31] = {};
    ASSERT_EQ(0, audio_vqe_eq_fir_set_params(&st, g));
    std::vector<int16_t> x = babble(256 * 4, 6, 12000);
    std::vector<int32_t> y(x.size());
    for (size_t f = 0; f < 4; f++) {
        int32_t in[256];
        for (int i = 0; i < 256; i++) {
            in[i] = x[f * 256 + (size_t)i];
        }
        ASSERT_EQ(0, audio_vqe_eq_fir_apply(&st, in, &y[f * 256]));
    }
    double err = 0, ref = 0;
    for (size_t i = 200; i < x.size(); i++) {
        double d = y[i] - x[i - 79];
        err += d * d;
        ref += (double)x[i - 79] * x[i - 79];
    }
    EXPECT_GT(10 * std::log10(ref / (err + 1)), 30.0);
    g[5] = 21;
    EXPECT_EQ(-10, audio_vqe_eq_fir_set_params(&st, g));
    g[5] = 0;
    g[30] = -60; /* the overall gain is not checked with the bands */
    EXPECT_EQ(0, audio_vqe_eq_fir_set_params(&st, g));
    int8_t got[31];
    ASSERT_EQ(0, audio_vqe_eq_fir_get_params(&st, got));
    EXPECT_EQ(-60, got[30]);
    EXPECT_EQ(-2, audio_vqe_eq_fir_set_params(&st, nullptr));
    EXPECT_EQ(-4, audio_vqe_eq_fir_init(&st, 2, 1));
    EXPECT_EQ(-5, audio_vqe_eq_fir_init((vqe_eq *)((char *)&st + 4), 1, 1));
    EXPECT_EQ(0, audio_vqe_eq_fir_init(nullptr, 1, 0));
    int32_t in[256] = {};
    EXPECT_EQ(-20, audio_vqe_eq_fir_apply(&st, nullptr, in));
    EXPECT_EQ(-21, audio_vqe_eq_fir_apply(&st, in, nullptr));
    st.guard2 = 0;
    EXPECT_EQ(-22, audio_vqe_eq_fir_apply(&st, in, in));
}

TEST(TalkFft, RoundTripAndKnownBins) {
    for (int n : {256, 512}) {
        vqe_fft f;
        ASSERT_EQ(0, vqe_fft_init(&f, n));
        std::vector<float> a((size_t)n), b;
        for (int i = 0; i < n; i++) {
            a[(size_t)i] =
                (float)(std::cos(2 * M_PI * 5 * i / n) + 0.5 * std::sin(2 * M_PI * 17 * i / n) + 0.25);
        }
        b = a;
        vqe_fft_rdft(&f, 1, b.data());
        EXPECT_NEAR(0.25 * n, b[0], 1e-3);
        EXPECT_NEAR(0, b[1], 1e-3);
        EXPECT_NEAR(n / 2.0, b[10], 1e-3);        /* cosine at bin 5: real */
        EXPECT_NEAR(-0.5 * n / 2.0, b[35], 1e-3); /* sine at bin 17: negative imaginary */
        vqe_fft_rdft(&f, -1, b.data());
        for (int i = 0; i < n; i++) {
            EXPECT_NEAR(a[(size_t)i], b[(size_t)i] / n, 1e-5) << i;
        }
    }
    vqe_fft f;
    EXPECT_EQ(-1, vqe_fft_init(&f, 128));
}

/* The NEON complex transform (32-bit ARM builds) gives the plain transform's values: within
 * 1e-6 of the largest output magnitude, for speech-like levels and for a mix of full-scale and
 * tiny values. */
TEST(TalkFft, NeonMatchesPlainTransform) {
#ifndef VQE_FFT_NEON
    GTEST_SKIP() << "built without the NEON transform";
#else
    Lcg g(41);
    for (int n : {256, 512}) {
        vqe_fft f;
        ASSERT_EQ(0, vqe_fft_init(&f, n));
        for (int kind = 0; kind < 2; kind++) {
            std::vector<float> a((size_t)n);
            for (int i = 0; i < n; i++) {
                double v = g.uni();
                a[(size_t)i] = (float)(kind == 0 ? v * 3000 : (i % 7 == 0 ? v * 32768 : v * 1e-3));
            }
            std::vector<float> plain = a, neon = a;
            vqe_fft_complex_plain(&f, plain.data());
            vqe_fft_complex_neon(&f, neon.data());
            double top = 0, worst = 0;
            for (int i = 0; i < n; i++) {
                top = std::max(top, (double)std::fabs(plain[(size_t)i]));
                worst = std::max(worst, (double)std::fabs(plain[(size_t)i] - neon[(size_t)i]));
            }
            EXPECT_LE(worst, 1e-6 * top) << "n " << n << " kind " << kind;
        }
    }
#endif
}
