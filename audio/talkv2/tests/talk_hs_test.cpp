/* Howling suppression: band layout, parameter conversion, detection, shift, and the chain. */
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "talk_test_util.h"
#include "vqe_hs.h"

using namespace talktest;

namespace {

/* The parameter block with the record's defaults, one value changed. */
struct HsBlock {
    alignas(8) uint8_t b[28];
    HsBlock() { memcpy(b, g_vc_params_normal + AUDIO_VQE_B_HS, sizeof(b)); }
    HsBlock &set(int index, int32_t v) {
        vqe_put32(b, 4 * index, v);
        return *this;
    }
};

/* Spectrum of one sine-windowed 512-sample frame of x starting at `at`. */
void spectrum(const std::vector<double> &x, size_t at, float *bins) {
    static vqe_fft f;
    static bool ready = vqe_fft_init(&f, 512) == 0;
    ASSERT_TRUE(ready);
    float t[512];
    for (int i = 0; i < 512; i++) {
        t[i] = (float)(x[at + (size_t)i] * std::sin(M_PI * (i + 0.5) / 512));
    }
    vqe_fft_rdft(&f, 1, t);
    vqe_fft_unpack(&f, t, bins);
}

std::vector<double> sine(size_t n, double hz, double amp) {
    std::vector<double> x(n);
    for (size_t i = 0; i < n; i++) {
        x[i] = amp * std::sin(2 * M_PI * hz * (double)i / 16000);
    }
    return x;
}

/* Goertzel power of x[from, to) at hz. */
double tone_power(const std::vector<int16_t> &x, size_t from, size_t to, double hz) {
    double w = 2 * M_PI * hz / 16000, c = 2 * std::cos(w), s1 = 0, s2 = 0;
    for (size_t i = from; i < to; i++) {
        double s0 = x[i] + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - c * s1 * s2;
}

} // namespace

TEST(TalkHsBands, WeightsOfEveryBinAddUpToOne) {
    vqe_banding b;
    audio_vqe_banding_init(&b);
    std::vector<double> sum(VQE_BINS, 0.0);
    int weights = 0;
    for (int i = 0; i < VQE_BANDS; i++) {
        EXPECT_EQ(weights, b.offset[i]);
        for (int k = b.start[i]; k <= b.end[i]; k++) {
            float w = b.matrix[b.offset[i] + k - b.start[i]];
            EXPECT_GT(w, 0.0f) << "band " << i << " bin " << k;
            EXPECT_LE(w, 1.0f);
            sum[(size_t)k] += w;
            weights++;
        }
    }
    EXPECT_EQ(470, weights);
    EXPECT_LE(weights, VQE_BAND_WEIGHTS);
    for (int k = 0; k < 256; k++) {
        EXPECT_NEAR(1.0, sum[(size_t)k], 1e-6) << "bin " << k;
    }
    EXPECT_EQ(0.0, sum[256]);
    /* spreading a constant gives the constant; band energies of flat power keep the total */
    float ones[VQE_BANDS], bins[VQE_BINS], band[VQE_BANDS];
    std::fill(ones, ones + VQE_BANDS, 0.5f);
    audio_vqe_banding_inverse(&b, ones, bins);
    for (int k = 0; k < 256; k++) {
        EXPECT_NEAR(0.5f, bins[k], 1e-6f);
    }
    EXPECT_EQ(0.0f, bins[256]);
    std::fill(bins, bins + VQE_BINS, 2.0f);
    audio_vqe_banding_forward(&b, bins, band);
    double total = 0;
    for (float e : band) {
        total += e;
    }
    EXPECT_NEAR(2.0 * 256, total, 1e-3);
}

TEST(TalkHsParams, ConversionsAndClamps) {
    vqe_hs_params q;
    audio_vqe_hs_clamp_params(HsBlock().b, &q);
    EXPECT_EQ(6, q.detect_frames); /* 100 ms / 16 ms, rounded */
    EXPECT_NEAR(std::exp(-0.016 / 0.040), q.attack, 1e-6);
    EXPECT_NEAR(std::exp(-0.016 / 18.0), q.release, 1e-6);
    EXPECT_NEAR(std::exp(-0.016 / 0.200), q.smooth, 1e-6);
    EXPECT_FLOAT_EQ(0.01f, q.min_gain);
    EXPECT_FLOAT_EQ(0.20f, q.ratio);
    EXPECT_NEAR(2 * M_PI * 5 / 62.5, q.phase_step, 1e-6);

    /* above the clamps: clamped, not refused */
    audio_vqe_hs_clamp_params(HsBlock()
                                  .set(0, 5000000)
                                  .set(1, 2000000)
                                  .set(2, 5000)
                                  .set(3, 500)
                                  .set(4, 101)
                                  .set(5, 1 << 30)
                                  .set(6, 5000)
                                  .b,
                              &q);
    EXPECT_EQ(1000000, q.detect_ms);
    EXPECT_EQ(62500, q.detect_frames);
    EXPECT_EQ(1000000, q.attack_ms);
    EXPECT_EQ(200, q.release_s);
    EXPECT_FLOAT_EQ(1.0f, q.min_gain);
    EXPECT_FLOAT_EQ(1.0f, q.ratio);
    EXPECT_EQ(1000000, q.smooth_ms);
    EXPECT_EQ(40, q.shift_hz);
    EXPECT_NEAR(4.0212386, q.phase_step, 1e-5); /* 2 pi 40 / 62.5 */

    /* below: zero times give factor 0 and one detection frame */
    audio_vqe_hs_clamp_params(HsBlock().set(0, -7).set(1, 0).set(2, -1).set(3, -5).set(6, -3).b, &q);
    EXPECT_EQ(1, q.detect_frames);
    EXPECT_EQ(0.0f, q.attack);
    EXPECT_EQ(0.0f, q.release);
    EXPECT_EQ(0.0f, q.min_gain);
    EXPECT_EQ(0.0f, q.phase_step);
    /* a shift whose step is a whole turn reduces to 0 (40 Hz is the largest, so use 62.5 x 0) */
    audio_vqe_hs_clamp_params(HsBlock().set(6, 0).b, &q);
    EXPECT_EQ(0.0f, q.phase_step);
}

TEST(TalkHsDetect, SteadySineFallsToTheFloorNoiseNever) {
    vqe_hs st;
    ASSERT_EQ(0, audio_vqe_hs_init(&st, HsBlock().b));
    const vqe_hs_params &q = st.prm;
    /* 1000 Hz is bin 32, which only band 9 (bins 27..39) covers */
    std::vector<double> x = sine(256 * 80 + 512, 1000, 8000);
    float bins[2 * VQE_BINS], gains[VQE_BINS];
    double expect = 1.0;
    for (int f = 1; f <= 40; f++) {
        spectrum(x, (size_t)(f - 1) * 256, bins);
        ASSERT_EQ(0, audio_vqe_hs_calc_gains(&st, bins, gains));
        EXPECT_EQ(std::min(f, q.detect_frames), st.count[9]) << "frame " << f;
        if (f >= q.detect_frames) {
            expect = std::max(expect * q.attack, (double)q.min_gain);
        }
        EXPECT_NEAR(expect, st.gain[9], 1e-5) << "frame " << f;
    }
    EXPECT_FLOAT_EQ(q.min_gain, st.gain[9]);
    EXPECT_NEAR(q.min_gain, gains[32], 1e-6);
    EXPECT_FLOAT_EQ(1.0f, st.gain[3]);
    EXPECT_NEAR(1.0, gains[5 * 16], 1e-6); /* far from the tone */

    /* the tone stops: the counter runs down, then the gain recovers with the release factor */
    std::vector<double> noise(256 * 200 + 512);
    Lcg g(4);
    for (auto &v : noise) {
        v = 3000 * g.uni();
    }
    for (int f = 0; f < 200; f++) {
        spectrum(noise, (size_t)f * 256, bins);
        audio_vqe_hs_calc_gains(&st, bins, gains);
    }
    EXPECT_EQ(0, st.count[9]);
    EXPECT_GT(st.gain[9], q.min_gain);
    EXPECT_LT(st.gain[9], 0.2f); /* an 18 s release */

    /* broadband noise alone never triggers a band */
    vqe_hs fresh;
    audio_vqe_hs_init(&fresh, HsBlock().b);
    std::vector<double> wn(256 * 1000 + 512);
    for (auto &v : wn) {
        v = 8000 * g.uni();
    }
    int most = 0;
    for (int f = 0; f < 1000; f++) {
        spectrum(wn, (size_t)f * 256, bins);
        audio_vqe_hs_calc_gains(&fresh, bins, gains);
        for (int i = 0; i < VQE_BANDS; i++) {
            most = std::max(most, fresh.count[i]);
        }
    }
    EXPECT_LT(most, fresh.prm.detect_frames);
    for (int i = 0; i < VQE_BANDS; i++) {
        EXPECT_FLOAT_EQ(1.0f, fresh.gain[i]) << "band " << i;
    }
}

TEST(TalkHsShift, RotationPerFrame) {
    float bins[2 * VQE_BINS];
    for (int shift : {0, 5, 40}) {
        vqe_hs st;
        audio_vqe_hs_init(&st, HsBlock().set(6, shift).b);
        double theta = 0;
        for (int f = 0; f < 20; f++) {
            for (int k = 0; k < VQE_BINS; k++) {
                bins[2 * k] = 1.0f;
                bins[2 * k + 1] = 0.0f;
            }
            ASSERT_EQ(0, audio_vqe_hs_shift_freq(&st, bins));
            for (int k : {0, 100, 256}) {
                EXPECT_NEAR(std::cos(theta), bins[2 * k], 1e-4) << shift << " Hz, frame " << f;
                EXPECT_NEAR(std::sin(theta), bins[2 * k + 1], 1e-4);
            }
            theta += 2 * M_PI * shift / 62.5;
            EXPECT_LT(std::fabs(st.phase), 2 * M_PI);
        }
    }
    vqe_hs st;
    audio_vqe_hs_init(&st, HsBlock().b);
    st.guard1 = 0;
    EXPECT_EQ(-2, audio_vqe_hs_shift_freq(&st, bins));
    EXPECT_EQ(-1, audio_vqe_hs_shift_freq(nullptr, bins));
}

/* hs_on alone (no post-processing) takes effect: a steady tone is pulled down, and with the
 * detection off the shift moves it up by hs_shift_hz. */
TEST(TalkHsChain, WorksWithoutPostProcessing) {
    Core c([](uint8_t *p) { p[AUDIO_VQE_P_HS_ON] = 1; });
    ASSERT_EQ(0, c.ret);
    EXPECT_EQ(0, c.params[AUDIO_VQE_P_FMP_ON]);
    std::vector<int16_t> x(16000 * 3);
    for (size_t i = 0; i < x.size(); i++) {
        x[i] = (int16_t)std::lround(8000 * std::sin(2 * M_PI * 1000 * (double)i / 16000));
    }
    std::vector<int16_t> y = c.run(x);
    double drop = db(power(x, 32000, 48000)) - db(power(y, 32000, 48000));
    printf("steady 1 kHz tone through hs_on alone: %.1f dB down\n", drop);
    EXPECT_GT(drop, 35.0);

    Core s([](uint8_t *p) {
        p[AUDIO_VQE_P_HS_ON] = 1;
        vqe_put32(p, AUDIO_VQE_B_HS + 16, 0); /* ratio 0: nothing is ever peaky */
        vqe_put32(p, AUDIO_VQE_B_HS + 24, 40);
    });
    ASSERT_EQ(0, s.ret);
    y = s.run(x);
    double at_in = tone_power(y, 16000, 48000, 1000), at_shift = tone_power(y, 16000, 48000, 1040);
    EXPECT_GT(db(at_shift) - db(at_in), 20.0);
    EXPECT_NEAR(db(power(x, 16000, 48000)), db(power(y, 16000, 48000)), 3.0);
}

/* Mic = talker + the chain's own output back through a 40 ms delay and a room whose response
 * peaks above unity: without suppression it rings up to full scale, with it the level stays
 * near the open loop's. */
TEST(TalkHsChain, StopsAFeedbackLoop) {
    const size_t n = 16000 * 12, delay = 640;
    std::vector<int16_t> talk = babble(n, 21, 6000);
    std::vector<double> room = cabin(0, 400, 1.0, 31);
    /* scale the room so its response peaks at +3 dB */
    double peak = 0;
    for (int f = 50; f < 8000; f += 2) {
        double re = 0, im = 0;
        for (size_t k = 0; k < room.size(); k++) {
            re += room[k] * std::cos(2 * M_PI * f * (double)k / 16000);
            im -= room[k] * std::sin(2 * M_PI * f * (double)k / 16000);
        }
        peak = std::max(peak, std::hypot(re, im));
    }
    for (auto &v : room) {
        v *= std::pow(10, 3 / 20.0) / peak;
    }
    auto loop = [&](bool hs) {
        Core c([&](uint8_t *p) { p[AUDIO_VQE_P_HS_ON] = hs ? 1 : 0; });
        EXPECT_EQ(0, c.ret);
        std::vector<int16_t> out(n, 0), mic(256);
        for (size_t at = 0; at + 256 <= n; at += 256) {
            for (size_t i = 0; i < 256; i++) {
                double acc = talk[at + i];
                size_t t = at + i;
                for (size_t k = 0; k < room.size() && t >= delay + k; k++) {
                    acc += room[k] * out[t - delay - k];
                }
                mic[i] = (int16_t)std::lround(std::clamp(acc, -32768.0, 32767.0));
            }
            std::vector<int16_t> o = c.run(mic);
            std::copy(o.begin(), o.end(), out.begin() + (long)at);
        }
        return out;
    };
    std::vector<int16_t> off = loop(false), on = loop(true);
    int off_peak = 0, on_peak = 0;
    for (size_t i = n / 2; i < n; i++) {
        off_peak = std::max(off_peak, std::abs((int)off[i]));
        on_peak = std::max(on_peak, std::abs((int)on[i]));
    }
    double open = db(power(talk, n / 2, n));
    printf("feedback loop, last 6 s: without %.1f dB, with %.1f dB over the talker; peaks %d / %d\n",
           db(power(off, n / 2, n)) - open, db(power(on, n / 2, n)) - open, off_peak, on_peak);
    EXPECT_GE(off_peak, 32767); /* the loop rings without suppression */
    EXPECT_LT(on_peak, 32767);
    EXPECT_LT(db(power(on, n / 2, n)) - open, 6.0);
}
