// Each stage of the chain alone against what it must do.
#include <gtest/gtest.h>

#include <complex>
#include <cstring>
#include <vector>

#include "record_agc.h"
#include "record_drc.h"
#include "record_eq.h"
#include "record_fft.h"
#include "record_hdr.h"
#include "record_hlpf.h"
#include "record_mc.h"
#include "record_rnr.h"
#include "record_se_drc.h"
#include "record_src.h"
#include "record_test_util.h"
#include "vqe_record.h"
#include "zorvo_record.h"

using namespace rectest;

namespace {

double rms(const int32_t *x, size_t n) {
    double e = 0;
    for (size_t i = 0; i < n; i++) {
        e += (double)x[i] * x[i];
    }
    return sqrt(e / (double)n);
}

double rms16(const std::vector<int16_t> &x, size_t from, size_t to) {
    double e = 0;
    for (size_t i = from; i < to; i++) {
        e += (double)x[i] * x[i];
    }
    return sqrt(e / (double)(to - from));
}

// Exact magnitude of a stored Q12 section at f.
double section_gain(const int16_t *b, const int16_t *a, double f, double fs) {
    std::complex<double> z = std::polar(1.0, -2 * M_PI * f / fs);
    std::complex<double> num = (double)b[0] + (double)b[1] * z + (double)b[2] * z * z;
    std::complex<double> den = 4096.0 - (double)a[1] * z - (double)a[2] * z * z;
    return std::abs(num / den);
}

struct HlpfCase {
    const int16_t (*a)[3];
    const int16_t (*b)[3];
    double fs;
    bool hp;
    double corners[4];
};

const HlpfCase kHlpf[] = {
    {record_record_g_zorvo_hlpf_hpf_coef_a_16k,
     record_record_g_zorvo_hlpf_hpf_coef_b_16k,
     16000,
     true,
     {80, 100, 120, 150}},
    {record_record_g_zorvo_hlpf_hpf_coef_a_48k,
     record_record_g_zorvo_hlpf_hpf_coef_b_48k,
     48000,
     true,
     {92, 103, 121, 152}},
    {record_record_g_zorvo_hlpf_lpf_coef_a_16k,
     record_record_g_zorvo_hlpf_lpf_coef_b_16k,
     16000,
     false,
     {7000, 7200, 7500, 7800}},
    {record_record_g_zorvo_hlpf_lpf_coef_a_48k,
     record_record_g_zorvo_hlpf_lpf_coef_b_48k,
     48000,
     false,
     {15500, 16000, 16500, 17000}},
};

uint8_t hlpf_block(int mode, int hpf, int lpf, uint8_t *p) {
    memset(p, 0, RECORD_HLPF_PARAM_SIZE);
    p[0] = (uint8_t)mode;
    p[4] = (uint8_t)hpf;
    p[6] = (uint8_t)lpf;
    return 0;
}

} // namespace

TEST(RecordHlpf, StoredSectionsHaveTheirCorners) {
    for (const HlpfCase &c : kHlpf) {
        for (int i = 0; i < 4; i++) {
            EXPECT_EQ(c.a[i][0], -4096);
            double lo = 1, hi = c.fs / 2 - 1;
            for (int it = 0; it < 60; it++) {
                double m = (lo + hi) / 2;
                if ((section_gain(c.b[i], c.a[i], m, c.fs) < M_SQRT1_2) == c.hp) {
                    lo = m;
                } else {
                    hi = m;
                }
            }
            EXPECT_NEAR(lo, c.corners[i], c.corners[i] * 0.02) << c.fs << (c.hp ? " high" : " low") << i;
        }
    }
    // the documented 80 Hz high-pass at 16000 Hz
    EXPECT_EQ(record_record_g_zorvo_hlpf_hpf_coef_b_16k[0][0], 4006);
    EXPECT_EQ(record_record_g_zorvo_hlpf_hpf_coef_b_16k[0][1], -8012);
    EXPECT_EQ(record_record_g_zorvo_hlpf_hpf_coef_a_16k[0][1], 8010);
    EXPECT_EQ(record_record_g_zorvo_hlpf_hpf_coef_a_16k[0][2], -3918);
}

TEST(RecordHlpf, FilterFollowsTheSectionWithinHalfADecibel) {
    int case_index = 0;
    for (const HlpfCase &c : kHlpf) {
        int rate_code = c.fs == 16000 ? 1 : 2;
        for (int row = 0; row < 4; row += 3) {
            for (double f :
                 {30.0, 50.0, 92.0, 200.0, 1000.0, 5000.0, 7000.0, 7500.0, 15000.0, 17000.0, 20000.0}) {
                if (f >= c.fs / 2) {
                    continue;
                }
                record_hlpf_state st;
                ASSERT_EQ(0, record_record_zorvo_hlpf_init(&st, 1, rate_code));
                uint8_t p[RECORD_HLPF_PARAM_SIZE];
                hlpf_block(c.hp ? 1 : 0, row, row, p);
                ASSERT_EQ(0, record_record_zorvo_hlpf_set_params(&st, p));
                size_t n = (size_t)c.fs; // one second
                std::vector<int16_t> x = sine(n, c.fs, f, 10000);
                std::vector<int32_t> y(n);
                for (size_t at = 0; at < n; at += (size_t)st.frame) {
                    ASSERT_EQ(0, record_record_zorvo_hlpf_apply(&st, &x[at], nullptr, &y[at], nullptr));
                }
                double got = 20 * log10(rms(&y[n / 2], n / 2) / 256 / rms16(x, n / 2, n));
                double want = 20 * log10(section_gain(c.b[row], c.a[row], f, c.fs));
                if (want > -40) {
                    EXPECT_NEAR(got, want, 0.5) << case_index << " row " << row << " at " << f;
                }
            }
        }
        case_index++;
    }
}

TEST(RecordHlpf, DcIsBlockedAndBadModesRefused) {
    record_hlpf_state st;
    EXPECT_EQ(-13, record_record_zorvo_hlpf_init(&st, 1, 3));
    EXPECT_EQ(-14, record_record_zorvo_hlpf_init(&st, 5, 2));
    ASSERT_EQ(0, record_record_zorvo_hlpf_init(&st, 2, 2));
    uint8_t p[RECORD_HLPF_PARAM_SIZE];
    hlpf_block(1, 0, 0, p);
    ASSERT_EQ(0, record_record_zorvo_hlpf_set_params(&st, p));
    hlpf_block(2, 3, 3, p);
    EXPECT_EQ(-15, record_record_zorvo_hlpf_set_params(&st, p));
    EXPECT_EQ(st.b[0], record_record_g_zorvo_hlpf_hpf_coef_b_48k[0][0]) << "selection kept";
    EXPECT_EQ(-7, record_record_zorvo_hlpf_set_params(&st, nullptr));
    std::vector<int16_t> dc(48000, 20000), dc2(48000, -32768);
    std::vector<int32_t> y(48000), y2(48000);
    EXPECT_EQ(-16, record_record_zorvo_hlpf_apply(&st, dc.data(), nullptr, y.data(), y2.data()));
    EXPECT_EQ(-17, record_record_zorvo_hlpf_apply(&st, dc.data(), dc2.data(), y.data(), nullptr));
    for (size_t at = 0; at < dc.size(); at += 480) {
        ASSERT_EQ(0, record_record_zorvo_hlpf_apply(&st, &dc[at], &dc2[at], &y[at], &y2[at]));
    }
    EXPECT_LT(std::abs(y[47999]), 256) << "DC gone after a second";
    EXPECT_LT(std::abs(y2[47999]), 256);
    st.tag_tail = 0;
    EXPECT_EQ(-5, record_record_zorvo_hlpf_apply(&st, dc.data(), dc2.data(), y.data(), y2.data()));
}

/* The designed filter's response at the band centres from 500 Hz up, against the band gains
 * the shell makes of the ten control gains: within 1 dB for flat, a voice lift and steps of 4 dB
 * between the narrow bands around 4 kHz. */
TEST(RecordEq, ResponseFollowsTheBandGainsFromHalfAKilohertz) {
    EXPECT_EQ(0, memcmp(record_record_g_zorvo_eq_fir_band, audio_eq_band_edge, sizeof(audio_eq_band_edge)));
    for (const int16_t *w : {record_record_g_zorvo_eq_fir_swin_16k, record_record_g_zorvo_eq_fir_swin_48k}) {
        int half = w == record_record_g_zorvo_eq_fir_swin_16k ? 80 : 160;
        EXPECT_EQ(w[half - 1], 16384);
        for (int k = 1; k < half; k++) {
            ASSERT_GE(w[k], w[k - 1]) << k;
        }
    }
    const int8_t curves[3][10] = {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                  {0, -3, -3, 0, 2, 4, 6, 6, 3, 0},
                                  {-10, -6, -2, 2, 6, 10, 6, 2, -2, -6}};
    for (int rate_code : {1, 2}) {
        int fs = rate_code == 1 ? 16000 : 48000, bands = rate_code == 1 ? 30 : 50;
        for (const auto &c : curves) {
            vqe_record_user_params u = {};
            u.eq_on = 1;
            u.mic_num = 1;
            u.out_num = 1;
            memcpy(u.eq_gains, c, 10);
            uint8_t rec[ZORVO_RECORD_PARAMS_SIZE];
            vqe_record_build_params(rec, rate_code, &u);
            record_eq_state st;
            ASSERT_EQ(0, record_record_zorvo_eq_fir_init(&st, 1, 1, rate_code));
            ASSERT_EQ(0, record_record_zorvo_eq_fir_set_params(&st, (const int8_t *)(rec + ZR_OFF_EQ)));
            const int8_t *g = (const int8_t *)(rec + ZR_OFF_EQ);
            for (int j = 7; j < bands; j++) {
                double f = 0.5 * (audio_eq_band_edge[j - 1] + audio_eq_band_edge[j]);
                std::complex<double> h = 0;
                for (int k = 0; k < 2 * st.setup.half; k++) {
                    h += std::polar((double)st.coef[k] / (1 << AUDIO_EQ_COEF_SHIFT), -2 * M_PI * f * k / fs);
                }
                EXPECT_NEAR(20 * log10(std::abs(h)), g[j] + g[50], 1.0) << fs << " Hz, band " << j;
            }
        }
    }
}

TEST(RecordEq, DelayRangeAndGuards) {
    record_eq_state st;
    EXPECT_EQ(-3, record_record_zorvo_eq_fir_init(&st, 5, 1, 1));
    EXPECT_EQ(-4, record_record_zorvo_eq_fir_init(&st, 1, 1, 3));
    ASSERT_EQ(0, record_record_zorvo_eq_fir_init(&st, 3, 2, 1));
    EXPECT_EQ(st.channels, 2);
    int8_t g[AUDIO_EQ_PARAMS] = {};
    g[50] = 10;
    g[15] = 15;
    EXPECT_EQ(-1, record_record_zorvo_eq_fir_set_params(&st, g));
    g[15] = 0;
    g[45] = 100; // above 8000 Hz: ignored at 16000 Hz
    EXPECT_EQ(0, record_record_zorvo_eq_fir_set_params(&st, g));
    memset(g, 0, sizeof(g));
    ASSERT_EQ(0, record_record_zorvo_eq_fir_set_params(&st, g));
    std::vector<int32_t> x(800), y(800), x2(800), y2(800);
    for (size_t i = 0; i < x.size(); i++) {
        x[i] = (int32_t)((i * 7919) % 30001) * 200 - 3000000;
        x2[i] = -x[i];
    }
    for (size_t at = 0; at < 800; at += 160) {
        ASSERT_EQ(
            0, record_record_zorvo_eq_fir_apply(&st, &x[at], &x2[at], nullptr, &y[at], &y2[at], nullptr, 1));
    }
    for (size_t i = 79; i < 800; i++) {
        ASSERT_EQ(y[i], x[i - 79]) << i;
        ASSERT_EQ(y2[i], x2[i - 79]) << i;
    }
    EXPECT_EQ(-5, record_record_zorvo_eq_fir_apply(&st, x.data(), nullptr, nullptr, y.data(), y2.data(),
                                                   nullptr, 1));
    EXPECT_EQ(-6, record_record_zorvo_eq_fir_apply(&st, x.data(), x2.data(), nullptr, y.data(), nullptr,
                                                   nullptr, 1));
    ASSERT_EQ(0, record_record_zorvo_eq_fir_apply(&st, x.data(), x2.data(), nullptr, y.data(), y2.data(),
                                                  nullptr, 0));
    EXPECT_EQ(y[5], x[5]) << "disabled copies";
    // the named fixed-point routines
    EXPECT_EQ(record_record_zorvo_eq_fir_exp10(20), 40960);
    EXPECT_EQ(record_record_zorvo_eq_fir_mul(1 << 20, 1 << 20, 20), 1 << 20);
    EXPECT_EQ(record_record_zorvo_eq_fir_mul(INT32_MAX, INT32_MAX, 0), INT32_MAX);
    EXPECT_EQ(record_record_zorvo_eq_fir_abs(INT32_MIN), INT32_MAX);
    EXPECT_EQ(record_record_zorvo_eq_fir_l_divide_q(1, 3, 15), 10922);
    EXPECT_EQ(record_record_zorvo_eq_fir_l_divide_q(-5, 0, 15), INT32_MIN);
    int32_t sn, cs;
    record_record_zorvo_eq_fir_sincos(1u << 30, &sn, &cs); // a quarter turn
    EXPECT_NEAR(sn, 1 << 30, 8);
    EXPECT_NEAR(cs, 0, 8);
    st.guard_coef = 0;
    EXPECT_EQ(-2, record_record_zorvo_eq_fir_apply(&st, x.data(), x2.data(), nullptr, y.data(), y2.data(),
                                                   nullptr, 1));
}

namespace {

std::vector<uint8_t> drc_block() {
    return std::vector<uint8_t>(record_record_g_zorvo_drc_default_params,
                                record_record_g_zorvo_drc_default_params + RECORD_DRC_PARAM_SIZE);
}

void set16(std::vector<uint8_t> &p, int off, int16_t v) {
    memcpy(&p[(size_t)off], &v, 2);
}

// Static curve of the default block in 1/16 dB, straight from the knees.
double curve_out(double level16) {
    const double kin[6] = {0, -1, -472, -792, -960, -1280}, kout[6] = {-1, -1, -174, -528, -736, -1200};
    if (level16 >= kin[1]) {
        return -1;
    }
    for (int k = 1; k < 5; k++) {
        if (level16 >= kin[k + 1]) {
            return kout[k + 1] + (level16 - kin[k + 1]) * (kout[k] - kout[k + 1]) / (kin[k] - kin[k + 1]);
        }
    }
    return level16 * kout[5] / kin[5];
}

} // namespace

TEST(RecordDrc, ParameterChecks) {
    record_drc_state st;
    EXPECT_EQ(-1, record_record_zorvo_drc_init(nullptr, 1, 1));
    EXPECT_EQ(-2, record_record_zorvo_drc_init(&st, 3, 1));
    EXPECT_EQ(-8, record_record_zorvo_drc_init(&st, 1, 5));
    ASSERT_EQ(0, record_record_zorvo_drc_init(&st, 1, 2));
    std::vector<uint8_t> p = drc_block();
    EXPECT_EQ(-3, record_record_zorvo_drc_set_params(&st, nullptr));
    p[0] = (uint8_t)-41;
    EXPECT_EQ(-4, record_record_zorvo_drc_set_params(&st, p.data()));
    p = drc_block();
    p[4] = 127;
    EXPECT_EQ(-5, record_record_zorvo_drc_set_params(&st, p.data()));
    p[4] = 9;
    EXPECT_EQ(-5, record_record_zorvo_drc_set_params(&st, p.data()));
    p = drc_block();
    set16(p, 24, 5); // knee_out[2] above full scale
    EXPECT_EQ(-6, record_record_zorvo_drc_set_params(&st, p.data()));
    p = drc_block();
    set16(p, 12, -300); // knee_in[2] above knee_in[1]... fine; knee_in[3] above knee_in[2]
    set16(p, 14, -200);
    EXPECT_EQ(-6, record_record_zorvo_drc_set_params(&st, p.data()));
    std::vector<uint8_t> got(RECORD_DRC_PARAM_SIZE);
    ASSERT_EQ(0, record_record_zorvo_drc_get_params(&st, got.data()));
    EXPECT_EQ(got, drc_block()) << "refused blocks change nothing";
    // equal knees: the zero-width segment is skipped, not divided by
    p = drc_block();
    set16(p, 14, -472);
    set16(p, 26, -174);
    EXPECT_EQ(0, record_record_zorvo_drc_set_params(&st, p.data()));
    EXPECT_EQ(record_record_zorvo_drc_gain_apply(&st, -472), -174 + 472);
    const char *v = nullptr;
    EXPECT_EQ(-7, record_record_zorvo_drc_get_version(nullptr));
    EXPECT_EQ(0, record_record_zorvo_drc_get_version(&v));
    EXPECT_NE(v, nullptr);
}

TEST(RecordDrc, StaticCurveWithinOneDecibel) {
    for (int rate_code : {1, 2}) {
        double fs = rate_code == 1 ? 16000 : 48000;
        for (double peak_db = -75; peak_db <= 0; peak_db += 5) {
            record_drc_state st;
            ASSERT_EQ(0, record_record_zorvo_drc_init(&st, rate_code, 1));
            size_t n = (size_t)fs * 2;
            double amp = 32767 * pow(10, peak_db / 20);
            std::vector<int32_t> x(n);
            for (size_t i = 0; i < n; i++) {
                x[i] = (int32_t)lrint(amp * 256 * sin(2 * M_PI * 1000 * (double)i / fs));
            }
            std::vector<int16_t> y(n);
            for (size_t at = 0; at < n; at += (size_t)st.frame) {
                const int32_t *in[4] = {&x[at], nullptr, nullptr, nullptr};
                int16_t *out[4] = {&y[at], nullptr, nullptr, nullptr};
                ASSERT_EQ(0, record_record_zorvo_drc_apply(&st, 0, in, out));
            }
            double out_peak = 0;
            for (size_t i = n - n / 4; i < n; i++) {
                out_peak = std::max(out_peak, fabs((double)y[i]));
            }
            double got = 20 * log10(out_peak / 32768), want = curve_out(peak_db * 16) / 16;
            want = std::min(want, 0.0);
            EXPECT_NEAR(got, want, 1.0) << rate_code << " at " << peak_db << " dBFS";
        }
    }
}

TEST(RecordDrc, SilenceFullScaleAndLinkedChannels) {
    record_drc_state st;
    ASSERT_EQ(0, record_record_zorvo_drc_init(&st, 1, 2));
    std::vector<int32_t> zero(160, 0), loud(160), soft(160);
    std::vector<int16_t> o1(160), o2(160);
    for (size_t i = 0; i < 160; i++) {
        loud[i] = (i % 2 ? 1 : -1) * (32767 << 8);
        soft[i] = (i % 2 ? 1 : -1) * (2000 << 8);
    }
    const int32_t *in0[4] = {zero.data(), zero.data(), nullptr, nullptr};
    int16_t *out[4] = {o1.data(), o2.data(), nullptr, nullptr};
    for (int f = 0; f < 20; f++) {
        ASSERT_EQ(0, record_record_zorvo_drc_apply(&st, 0, in0, out));
    }
    EXPECT_LE(st.gain16, 1536);
    EXPECT_EQ(o1, std::vector<int16_t>(160, 0));
    // a full-scale envelope peak never gets a positive gain
    const int32_t *in1[4] = {soft.data(), loud.data(), nullptr, nullptr};
    for (int f = 0; f < 30; f++) {
        ASSERT_EQ(0, record_record_zorvo_drc_apply(&st, 0, in1, out));
        int32_t p = 0;
        for (int16_t v : o2) {
            p = std::max(p, std::abs((int32_t)v));
        }
        if (f > 2) {
            EXPECT_LE(p, 32768);
            EXPECT_LE(st.end_gain, 32770) << f; // 2^30 / 32767: unity
        }
    }
    // both channels get the same gain: the ratio of the outputs is the ratio of the inputs
    EXPECT_NEAR((double)o1[1] / o2[1], 2000.0 / 32767.0, 0.002);
    // missing buffers, damaged guards
    const int32_t *missing[4] = {soft.data(), nullptr, nullptr, nullptr};
    EXPECT_EQ(-9, record_record_zorvo_drc_apply(&st, 0, missing, out));
    int16_t *no_out[4] = {o1.data(), nullptr, nullptr, nullptr};
    EXPECT_EQ(-10, record_record_zorvo_drc_apply(&st, 0, in1, no_out));
    st.guard_tail = 1;
    EXPECT_EQ(-11, record_record_zorvo_drc_apply(&st, 0, in1, out));
}

namespace {

std::vector<uint8_t> hdr_block(int32_t min, int32_t max, int32_t step, int32_t down, int32_t up) {
    std::vector<uint8_t> p(RECORD_HDR_PARAM_SIZE, 0);
    int32_t v[5] = {min, max, step, down, up};
    memcpy(p.data(), v, sizeof(v));
    return p;
}

} // namespace

TEST(RecordHdr, QuietStretchStepsUpOnTheCountedSubBlock) {
    record_hdr_state st;
    ASSERT_EQ(0, record_record_zorvo_hdr_init(&st, 1, 10));
    ASSERT_EQ(0, record_record_zorvo_hdr_set_params(&st, hdr_block(6, 20, 2, 26, 600).data()));
    std::vector<int16_t> quiet(160, 0);
    // S starts at -22 dB and falls slowly; count sub-blocks (5 a frame) until the first step up.
    std::vector<int> up_at;
    int sub = 0;
    for (int f = 0; f < 2000 && up_at.size() < 3; f++) {
        int8_t step = 0;
        ASSERT_EQ(0, record_record_zorvo_hdr_apply(&st, quiet.data(), &step));
        sub += 5;
        if (step != 0) {
            EXPECT_EQ(step, 2);
            up_at.push_back(sub);
        }
    }
    ASSERT_EQ(up_at.size(), 3u);
    // the first needs 2301 very quiet sub-blocks after the restart at -4000 (plus the ones spent
    // while S was still only quiet); then one every 301
    // 301 sub-blocks apart, seen at whole frames of five
    EXPECT_NEAR(up_at[1] - up_at[0], 301, 4);
    EXPECT_NEAR(up_at[2] - up_at[1], 301, 4);
    EXPECT_NEAR(up_at[2] - up_at[0], 602, 4);
    EXPECT_EQ(st.total, 16);
}

TEST(RecordHdr, ClippingAndRangeRules) {
    record_hdr_state st;
    EXPECT_EQ(-2, record_record_zorvo_hdr_init(&st, 3, 0));
    ASSERT_EQ(0, record_record_zorvo_hdr_init(&st, 1, 20));
    EXPECT_EQ(-6, record_record_zorvo_hdr_set_params(&st, hdr_block(6, 20, 4, 26, 600).data()));
    EXPECT_EQ(-7, record_record_zorvo_hdr_set_params(&st, hdr_block(6, 20, 2, -1, 600).data()));
    EXPECT_EQ(-8, record_record_zorvo_hdr_set_params(&st, hdr_block(6, 20, 2, 26, -1).data()));
    EXPECT_EQ(-4, record_record_zorvo_hdr_set_params(&st, nullptr));
    ASSERT_EQ(0, record_record_zorvo_hdr_set_params(&st, hdr_block(6, 20, 2, 26, 600).data()));
    std::vector<int16_t> clip(160, 0);
    for (int k = 0; k < 4; k++) {
        clip[(size_t)(k * 30)] = -32768;
    }
    int8_t step = 0;
    ASSERT_EQ(0, record_record_zorvo_hdr_apply(&st, clip.data(), &step));
    EXPECT_EQ(step, -2);
    EXPECT_EQ(st.code, 3);
    // at gain_min a clipping frame cannot step further down
    ASSERT_EQ(0, record_record_zorvo_hdr_init(&st, 1, 6));
    ASSERT_EQ(0, record_record_zorvo_hdr_apply(&st, clip.data(), &step));
    EXPECT_EQ(step, 0);
    // above gain_max (a lowered range) every frame steps down until back in range
    ASSERT_EQ(0, record_record_zorvo_hdr_init(&st, 1, 20));
    ASSERT_EQ(0, record_record_zorvo_hdr_set_params(&st, hdr_block(6, 14, 2, 26, 600).data()));
    std::vector<int16_t> mid = sine(160, 16000, 1000, 3000);
    std::vector<int> steps;
    for (int f = 0; f < 5; f++) {
        ASSERT_EQ(0, record_record_zorvo_hdr_apply(&st, mid.data(), &step));
        steps.push_back(step);
    }
    EXPECT_EQ(steps, (std::vector<int>{-2, -2, -2, 0, 0}));
    EXPECT_EQ(-3, record_record_zorvo_hdr_apply(&st, nullptr, &step));
    st.tag = 0;
    EXPECT_EQ(-2, record_record_zorvo_hdr_apply(&st, mid.data(), &step));
}

TEST(RecordSrc, FortyFourOneRoundTripKeepsAFixedDelay) {
    record_src_state st;
    int32_t size = 0;
    EXPECT_EQ(0, record_record_zorvo_src_get_size(&size));
    EXPECT_EQ(size, 23760);
    EXPECT_EQ(-5, record_record_zorvo_src_get_size(nullptr));
    ASSERT_EQ(0, record_record_zorvo_src_init(&st, 2));
    const size_t frames = 600;
    std::vector<int16_t> x = sine(441 * frames, 44100, 997, 12000), other(441, 5000);
    std::vector<int16_t> up(480 * frames), up2(480 * frames), back(441 * frames), back2(441 * frames);
    for (size_t f = 0; f < frames; f++) {
        ASSERT_EQ(0, record_record_zorvo_src_441to480_apply(&st, &x[f * 441], other.data(), &up[f * 480],
                                                            &up2[f * 480]));
        ASSERT_EQ(0, record_record_zorvo_src_480to441_apply(&st, &up[f * 480], nullptr, &back[f * 441],
                                                            &back2[f * 441]));
    }
    EXPECT_EQ(up, up2) << "output 2 copies output 1";
    EXPECT_EQ(back, back2);
    // The 48000 Hz stream is the tone at 48000 Hz with a fixed delay: fit the phase at the start
    // and at the end of the stream.
    auto phase = [&](const std::vector<int16_t> &v, double fs, size_t from) {
        double c = 0, s = 0;
        for (size_t i = from; i < from + (size_t)fs / 10; i++) {
            c += v[i] * cos(2 * M_PI * 997 * (double)i / fs);
            s += v[i] * sin(2 * M_PI * 997 * (double)i / fs);
        }
        return atan2(c, s);
    };
    double p0 = phase(up, 48000, 4800), p1 = phase(up, 48000, 48000 * 5);
    EXPECT_NEAR(remainder(p0 - p1, 2 * M_PI), 0, 0.01) << "no drift";
    EXPECT_NEAR(rms16(up, 4800, up.size()), 12000 / M_SQRT2, 12000 * 0.02);
    EXPECT_NEAR(rms16(back, 4410, back.size()), 12000 / M_SQRT2, 12000 * 0.03);
    EXPECT_EQ(-16, record_record_zorvo_src_441to480_apply(&st, nullptr, nullptr, up.data(), up2.data()));
    EXPECT_EQ(-17, record_record_zorvo_src_441to480_apply(&st, x.data(), nullptr, up.data(), nullptr));
    st.tag = 0;
    EXPECT_EQ(-14, record_record_zorvo_src_441to480_apply(&st, x.data(), nullptr, up.data(), up2.data()));
    EXPECT_EQ(-1, record_record_zorvo_src_8to16_apply(nullptr, x.data(), nullptr, up.data(), up2.data()));
}

TEST(RecordSrc, EightKilohertzBothWaysPassesSpeechBand) {
    record_src_state st;
    ASSERT_EQ(0, record_record_zorvo_src_init(&st, 1));
    for (double f : {300.0, 1000.0, 2500.0}) {
        std::vector<int16_t> x = sine(8000, 8000, f, 10000), up(16000), back(8000);
        for (size_t at = 0; at < 100; at++) {
            ASSERT_EQ(0,
                      record_record_zorvo_src_8to16_apply(&st, &x[at * 80], nullptr, &up[at * 160], nullptr));
            ASSERT_EQ(
                0, record_record_zorvo_src_16to8_apply(&st, &up[at * 160], nullptr, &back[at * 80], nullptr));
        }
        EXPECT_NEAR(20 * log10(rms16(up, 1600, 16000) / (10000 / M_SQRT2)), 0, 0.3) << f;
        EXPECT_NEAR(20 * log10(rms16(back, 800, 8000) / (10000 / M_SQRT2)), 0, 0.5) << f;
    }
    // images of the interpolation stay well down: a 3 kHz tone at 16000 Hz has little at 5 kHz
    std::vector<int16_t> x = sine(8000, 8000, 3000, 10000), up(16000);
    ASSERT_EQ(0, record_record_zorvo_src_init(&st, 1));
    for (size_t at = 0; at < 100; at++) {
        record_record_zorvo_src_8to16_apply(&st, &x[at * 80], nullptr, &up[at * 160], nullptr);
    }
    double c = 0, s = 0;
    for (size_t i = 1600; i < 16000; i++) {
        c += up[i] * cos(2 * M_PI * 5000 * (double)i / 16000);
        s += up[i] * sin(2 * M_PI * 5000 * (double)i / 16000);
    }
    double image = 2 * hypot(c, s) / 14400;
    EXPECT_LT(20 * log10(image / 10000), -40);
}

TEST(RecordFft, RealTransformMatchesTheDefinitionAndRoundTrips) {
    record_fft_plan plan;
    EXPECT_EQ(-1, record_zorvo_fft_init(&plan, 300));
    /* 128 and 512 complex points start with the radix-2 stage, 256 and 1024 are radix-4 only */
    for (int n : {256, 512, 1024, 2048}) {
        ASSERT_EQ(0, record_zorvo_fft_init(&plan, n / 2));
        std::vector<int32_t> x(n), work(n + 2), back(n + 2);
        Lcg g(7);
        for (int i = 0; i < n; i++) {
            x[(size_t)i] = g.next(1 << 26);
        }
        work.assign(x.begin(), x.end());
        work.resize(n + 2);
        std::vector<record_cpx> bins((size_t)n / 2 + 1);
        record_zorvo_fft_r2c_fwd_scaled(&plan, work.data(), bins.data());
        for (int k : {0, 1, 7, n / 4, n / 2 - 1, n / 2}) {
            double re = 0, im = 0;
            for (int i = 0; i < n; i++) {
                re += x[(size_t)i] * cos(2 * M_PI * k * i / n);
                im -= x[(size_t)i] * sin(2 * M_PI * k * i / n);
            }
            EXPECT_NEAR(bins[(size_t)k].r, re / (n / 2), 64) << n << " bin " << k;
            EXPECT_NEAR(bins[(size_t)k].i, im / (n / 2), 64) << n << " bin " << k;
        }
        record_zorvo_fft_c2r_inv_scaled(&plan, bins.data(), back.data());
        for (int i = 0; i < n; i++) {
            ASSERT_NEAR(back[(size_t)i] * (n / 2), x[(size_t)i], 64.0 * n) << i;
        }
    }
}

TEST(RecordFft, ComplexTransformsBothWaysScaledAndNot) {
    record_fft_plan plan;
    for (int n : {128, 256, 512, 1024}) {
        ASSERT_EQ(0, record_zorvo_fft_init(&plan, n));
        std::vector<record_cpx> x((size_t)n), y;
        Lcg g(11);
        for (record_cpx &v : x) {
            v.r = g.next(1 << 20);
            v.i = g.next(1 << 20);
        }
        y = x;
        record_zorvo_fft_c2c_fwd(&plan, y.data());
        for (int k : {0, 3, n / 4, n / 2 + 1, n - 1}) {
            double re = 0, im = 0;
            for (int i = 0; i < n; i++) {
                double a = -2 * M_PI * (double)k * i / n;
                re += x[(size_t)i].r * cos(a) - x[(size_t)i].i * sin(a);
                im += x[(size_t)i].r * sin(a) + x[(size_t)i].i * cos(a);
            }
            EXPECT_NEAR(y[(size_t)k].r, re, 8.0 * n) << n << " bin " << k;
            EXPECT_NEAR(y[(size_t)k].i, im, 8.0 * n) << n << " bin " << k;
        }
        /* back unscaled then forward scaled: the input n times, then the input again */
        record_zorvo_fft_c2c_inv_scaled(&plan, y.data());
        for (int i = 0; i < n; i += 37) {
            EXPECT_NEAR(y[(size_t)i].r, x[(size_t)i].r, 16) << n << " " << i;
            EXPECT_NEAR(y[(size_t)i].i, x[(size_t)i].i, 16) << n << " " << i;
        }
        record_zorvo_fft_c2c_inv(&plan, y.data());
        record_zorvo_fft_c2c_fwd_scaled(&plan, y.data());
        for (int i = 0; i < n; i += 37) {
            EXPECT_NEAR(y[(size_t)i].r, x[(size_t)i].r, 24) << n << " " << i;
        }
    }
}

TEST(RecordRnrAgc, StationaryNoiseIsReducedAndQuietSpeechLifted) {
    record_rnr_state rnr;
    EXPECT_EQ(-2, record_record_zorvo_rnr_init(&rnr, 0, 1));
    ASSERT_EQ(0, record_record_zorvo_rnr_init(&rnr, 1, 1));
    uint8_t p[RECORD_RNR_PARAM_SIZE] = {};
    p[0] = 61;
    EXPECT_EQ(-4, record_record_zorvo_rnr_set_params(&rnr, p));
    Lcg g(3);
    std::vector<int32_t> x(16000 * 3), y(x.size());
    for (auto &v : x) {
        v = g.next(1500) * 256; // white noise near -30 dBFS
    }
    for (size_t at = 0; at < x.size(); at += 160) {
        ASSERT_EQ(0, record_record_zorvo_rnr_apply(&rnr, &x[at], nullptr, &y[at], nullptr));
    }
    double na = 20 * log10(rms(&x[32000], 16000) / rms(&y[32000], 16000));
    EXPECT_GT(na, 12.0) << "the depth aimed at is 12 dB";
    EXPECT_LT(na, 18.5) << "the floor is 6 dB below it";
    record_agc_state agc;
    ASSERT_EQ(0, record_record_zorvo_agc_init(&agc, 2, 1));
    std::vector<int32_t> s(48000 * 4), o(s.size());
    for (size_t i = 0; i < s.size(); i++) {
        double env = ((i / 9600) % 2) ? 1.0 : 0.05; // syllables and pauses
        s[i] = (int32_t)lrint(256 * 600 * env * sin(2 * M_PI * 440 * (double)i / 48000));
    }
    for (size_t at = 0; at < s.size(); at += 480) {
        ASSERT_EQ(0, record_record_zorvo_agc_apply(&agc, &s[at], nullptr, &o[at], nullptr));
    }
    EXPECT_GT(agc.gain16, 16 * 10) << "about -35 dBFS speech is lifted";
    EXPECT_EQ(-6, record_record_zorvo_agc_apply(&agc, nullptr, nullptr, o.data(), nullptr));
}

TEST(RecordSeDrc, StandAloneCompressorLimitsGently) {
    record_se_drc_state st;
    EXPECT_EQ(-2, record_record_zorvo_se_drc_init(&st, 0));
    ASSERT_EQ(0, record_record_zorvo_se_drc_init(&st, 1));
    std::vector<uint8_t> p(RECORD_DRC_PARAM_SIZE);
    ASSERT_EQ(0, record_record_zorvo_se_drc_get_params(&st, p.data()));
    EXPECT_EQ(0, memcmp(p.data(), record_record_g_zorvo_se_drc_params, p.size()));
    // a -20 dBFS sine passes at unity; a full-scale one loses about 1 dB
    for (double peak : {3277.0, 32767.0}) {
        ASSERT_EQ(0, record_record_zorvo_se_drc_init(&st, 1));
        std::vector<int16_t> x = sine(16000, 16000, 1000, peak), y(16000);
        for (size_t at = 0; at < x.size(); at += 160) {
            ASSERT_EQ(0, record_record_zorvo_se_drc_apply(&st, &x[at], &y[at]));
        }
        double g = 20 * log10(rms16(y, 8000, 16000) / rms16(x, 8000, 16000));
        EXPECT_NEAR(g, peak > 30000 ? -1.0 : 0.0, 0.6) << peak;
    }
    EXPECT_EQ(-9, record_record_zorvo_se_drc_apply(
                      &st, nullptr, p.empty() ? nullptr : reinterpret_cast<int16_t *>(p.data())));
    EXPECT_EQ(-1, record_record_zorvo_se_drc_set_params(nullptr, p.data()));
}

/* Two microphones hear one talker, microphone 2 some samples later, each with its own noise:
 * the combination finds the lag, adds the talker in phase (channel 1 = the talker, delayed by
 * the stage's 0.5 ms) and halves the noise power; channel 2 is microphone 2, delayed alike. A
 * dead microphone drops out of the combination. */
TEST(RecordMc, DelayAndSumFindsTheLagAndGainsOnUncorrelatedNoise) {
    for (int frame : {160, 480}) {
        const int lag = frame == 160 ? 3 : 9, delay = frame == 160 ? 8 : 24, frames = 120;
        record_mc_state st;
        EXPECT_EQ(-1, record_record_zorvo_mc_init(&st, 100, 2));
        ASSERT_EQ(0, record_record_zorvo_mc_init(&st, frame, 2));
        uint8_t p[RECORD_MC_PARAM_SIZE] = {30, 50, 2};
        EXPECT_EQ(-2, record_record_zorvo_mc_set_params(&st, p));
        p[2] = 0;
        ASSERT_EQ(0, record_record_zorvo_mc_set_params(&st, p));
        size_t total = (size_t)frame * frames;
        std::vector<int16_t> talk(total + 64), m1(total), m2(total), n1(total), n2(total);
        Lcg g(5), h1(6), h2(7);
        int32_t y = 0;
        for (auto &v : talk) {
            y += (g.next(12000) - y) / 3; /* a low-passed random talker */
            v = (int16_t)y;
        }
        for (size_t i = 0; i < total; i++) {
            n1[i] = (int16_t)h1.next(1500);
            n2[i] = (int16_t)h2.next(1500);
            m1[i] = (int16_t)(talk[i + 32] + n1[i]);
            m2[i] = (int16_t)(talk[i + 32 - lag] + n2[i]);
        }
        std::vector<int16_t> o1 = m1, o2 = m2;
        for (size_t at = 0; at < total; at += (size_t)frame) {
            ASSERT_EQ(0, record_record_zorvo_mc_apply(&st, &o1[at], &o2[at]));
        }
        EXPECT_EQ(lag, record_record_zorvo_mc_lag(&st)) << frame;
        double noise_in = 0, noise_out = 0;
        for (size_t i = total / 2; i < total; i++) {
            double want = talk[i + 32 - lag - delay];
            noise_in += (double)n2[i - delay] * n2[i - delay];
            noise_out += (o1[i] - want) * (o1[i] - want);
            ASSERT_EQ(o2[i], m2[i - delay]) << i;
        }
        EXPECT_LT(10 * log10(noise_out / noise_in), -2.5) << frame;
        /* microphone 1 goes dead: after the hold, channel 1 is microphone 2 alone */
        std::vector<int16_t> z((size_t)frame, 0), w((size_t)frame);
        for (int k = 0; k < 60; k++) {
            for (int i = 0; i < frame; i++) {
                w[(size_t)i] = (int16_t)h2.next(3000);
            }
            std::vector<int16_t> w_in = w;
            z.assign((size_t)frame, 0);
            ASSERT_EQ(0, record_record_zorvo_mc_apply(&st, z.data(), w.data()));
            if (k >= 52) {
                for (int i = delay; i < frame; i++) {
                    ASSERT_EQ(z[(size_t)i], w_in[(size_t)(i - delay)]) << k << " " << i;
                }
            }
        }
    }
}

/* Quiet speech-like bursts at 1 kHz over a steady 100 Hz rumble: the AGC lifts both alike
 * unless the frequency-domain control is on, which then keeps the rumble below 250 Hz lifted
 * by at least 12 dB less than the speech band (a 12 dB control). */
TEST(RecordAgc, FrequencyDomainControlSparesTheRumble) {
    record_agc_state st;
    ASSERT_EQ(0, record_record_zorvo_agc_init(&st, 1, 1));
    uint8_t p[RECORD_AGC_PARAM_SIZE];
    ASSERT_EQ(0, record_record_zorvo_agc_get_params(&st, p));
    p[4] = 41;
    EXPECT_EQ(-4, record_record_zorvo_agc_set_params(&st, p));
    auto component_gain = [](const std::vector<int32_t> &x, const std::vector<int32_t> &y, double f,
                             size_t from) {
        std::complex<double> a = 0, b = 0;
        for (size_t i = from; i < x.size(); i++) {
            std::complex<double> w = std::polar(1.0, -2 * M_PI * f * (double)i / 16000);
            a += (double)x[i] * w;
            b += (double)y[i] * w;
        }
        return 20 * log10(std::abs(b) / std::abs(a));
    };
    double diff[2];
    for (int fd : {0, 1}) {
        ASSERT_EQ(0, record_record_zorvo_agc_init(&st, 1, 1));
        p[4] = fd ? 12 : 0;
        ASSERT_EQ(0, record_record_zorvo_agc_set_params(&st, p));
        size_t n = 16000 * 6;
        std::vector<int32_t> x(n), y(n);
        for (size_t i = 0; i < n; i++) {
            /* 200 ms syllables with smooth onsets, 100 ms between them */
            size_t at = i % 4800;
            double env = at < 3200 ? pow(sin(M_PI * (double)at / 3200), 2) : 0;
            double s = env * 600 * sin(2 * M_PI * 1000 * (double)i / 16000);
            x[i] = (int32_t)lround((s + 100 * sin(2 * M_PI * 100 * (double)i / 16000)) * 256);
        }
        for (size_t at = 0; at < n; at += 160) {
            ASSERT_EQ(0, record_record_zorvo_agc_apply(&st, &x[at], nullptr, &y[at], nullptr));
        }
        double speech = component_gain(x, y, 1000, n / 2), rumble = component_gain(x, y, 100, n / 2);
        EXPECT_GT(speech, 10) << "the quiet bursts are lifted";
        diff[fd] = speech - rumble;
    }
    EXPECT_NEAR(diff[0], 0, 1.0);
    EXPECT_GT(diff[1], 12.0);
}
