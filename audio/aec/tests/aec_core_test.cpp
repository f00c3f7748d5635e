/* The core's interface: sizes, result codes, parameter validation and integrity markers. */
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "aec_internal.h"
#include "zorvo_aec.h"

namespace {

struct Params {
    uint8_t b[ZORVO_AEC_PARAMS_SIZE];
    explicit Params(int wide = 0) {
        memcpy(b, g_zorvo_aec_gast_kre_aec_cfg_tab, sizeof(b));
        b[ZORVO_AEC_OFF_WIDEBAND] = (uint8_t)wide;
    }
    void set(int off, int16_t v) { zorvo_aec_param_set_i16(b, off, v); }
};

struct Mem {
    alignas(8) uint8_t b[ZORVO_AEC_STATE_SIZE + 8];
};

} // namespace

TEST(AecCoreAbi, DefaultRecordAndSize) {
    Params p;
    EXPECT_EQ(1, p.b[0]);
    EXPECT_EQ(20000, zorvo_aec_param_i16(p.b, ZORVO_AEC_OFF_NLP_THRESHOLD));
    EXPECT_EQ(38, zorvo_aec_param_i16(p.b, ZORVO_AEC_OFF_BAND_A_HI));
    EXPECT_EQ(56, zorvo_aec_param_i16(p.b, ZORVO_AEC_OFF_ERL_BAND + 10));
    EXPECT_EQ(10, zorvo_aec_param_i16(p.b, ZORVO_AEC_OFF_BAND_C_HI));
    EXPECT_EQ(16, zorvo_aec_param_i16(p.b, ZORVO_AEC_OFF_ERL + 12));
    int32_t size = 0;
    EXPECT_EQ(0, zorvo_aec_get_size(&size, p.b));
    EXPECT_EQ(62064, size);
    EXPECT_EQ(-60, zorvo_aec_get_size(nullptr, p.b));
    EXPECT_EQ(-61, zorvo_aec_get_size(&size, nullptr));
    const char *v = nullptr;
    EXPECT_EQ(0, zorvo_aec_get_version(&v));
    ASSERT_NE(nullptr, v);
    EXPECT_LT(strlen(v), 48u);
    EXPECT_EQ(-50, zorvo_aec_get_version(nullptr));
}

TEST(AecCoreAbi, InitResults) {
    Params p;
    Mem m;
    void *h = nullptr;
    EXPECT_EQ(-1, zorvo_aec_init(nullptr, m.b, ZORVO_AEC_STATE_SIZE, p.b));
    EXPECT_EQ(-2, zorvo_aec_init(&h, nullptr, ZORVO_AEC_STATE_SIZE, p.b));
    EXPECT_EQ(-3, zorvo_aec_init(&h, m.b + 4, ZORVO_AEC_STATE_SIZE, p.b));
    EXPECT_EQ(-4, zorvo_aec_init(&h, m.b, ZORVO_AEC_STATE_SIZE - 1, p.b));
    EXPECT_EQ(-5, zorvo_aec_init(&h, m.b, ZORVO_AEC_STATE_SIZE, nullptr));
    p.b[ZORVO_AEC_OFF_SWITCH_B] = 3;
    EXPECT_EQ(-22, zorvo_aec_init(&h, m.b, ZORVO_AEC_STATE_SIZE, p.b));
    EXPECT_EQ(nullptr, h);
    p.b[ZORVO_AEC_OFF_SWITCH_B] = 1;
    EXPECT_EQ(0, zorvo_aec_init(&h, m.b, ZORVO_AEC_STATE_SIZE, p.b));
    EXPECT_EQ((void *)m.b, h);
}

TEST(AecCoreAbi, ApplyResults) {
    Params p;
    Mem m;
    void *h = nullptr;
    ASSERT_EQ(0, zorvo_aec_init(&h, m.b, ZORVO_AEC_STATE_SIZE, p.b));
    alignas(4) int16_t buf[3][82] = {};
    int16_t *mic = buf[0], *ref = buf[1], *out = buf[2];
    auto odd = [](int16_t *q) { return (int16_t *)((uint8_t *)q + 1); };
    EXPECT_EQ(-10, zorvo_aec_apply(nullptr, mic, ref, out));
    EXPECT_EQ(-11, zorvo_aec_apply((uint8_t *)h + 4, mic, ref, out));
    EXPECT_EQ(-12, zorvo_aec_apply(h, nullptr, ref, out));
    EXPECT_EQ(-13, zorvo_aec_apply(h, odd(mic), ref, out));
    EXPECT_EQ(-14, zorvo_aec_apply(h, mic, nullptr, out));
    EXPECT_EQ(-15, zorvo_aec_apply(h, mic, odd(ref), out));
    EXPECT_EQ(-16, zorvo_aec_apply(h, mic, ref, nullptr));
    EXPECT_EQ(-17, zorvo_aec_apply(h, mic, ref, odd(out)));
    EXPECT_EQ(0, zorvo_aec_apply(h, mic, ref, out));
}

TEST(AecCoreAbi, UninitialisedMemoryIsRefused) {
    Mem m;
    memset(m.b, 0, sizeof(m.b));
    int16_t mic[80] = {}, ref[80] = {}, out[80];
    Params p;
    EXPECT_EQ(-51, zorvo_aec_apply(m.b, mic, ref, out));
    EXPECT_EQ(-51, zorvo_aec_set_params(m.b, p.b));
    EXPECT_EQ(-51, zorvo_aec_get_params(m.b, p.b));
    memset(m.b, 0xA5, sizeof(m.b));
    EXPECT_EQ(-51, zorvo_aec_apply(m.b, mic, ref, out));
}

TEST(AecCoreAbi, GuardDamageIsReported) {
    Params p;
    Mem m;
    void *h = nullptr;
    ASSERT_EQ(0, zorvo_aec_init(&h, m.b, ZORVO_AEC_STATE_SIZE, p.b));
    int16_t mic[80] = {}, ref[80] = {}, out[80];
    aec_state *st = (aec_state *)h;
    for (uint32_t *g : {&st->guard0, &st->guard1, &st->guard2}) {
        *g ^= 1;
        EXPECT_EQ(-18, zorvo_aec_apply(h, mic, ref, out));
        *g ^= 1;
        EXPECT_EQ(0, zorvo_aec_apply(h, mic, ref, out));
    }
    st->cfg.wideband = 2;
    EXPECT_EQ(-25, zorvo_aec_apply(h, mic, ref, out));
}

TEST(AecCoreAbi, BlockCounterWraps) {
    Params p;
    Mem m;
    void *h = nullptr;
    ASSERT_EQ(0, zorvo_aec_init(&h, m.b, ZORVO_AEC_STATE_SIZE, p.b));
    aec_state *st = (aec_state *)h;
    int16_t mic[80] = {}, ref[80] = {}, out[80];
    st->block_count = 2147483645;
    ASSERT_EQ(0, zorvo_aec_apply(h, mic, ref, out)); /* phase 0: one block */
    EXPECT_EQ(2147483646, st->block_count);
    ASSERT_EQ(0, zorvo_aec_apply(h, mic, ref, out));
    EXPECT_EQ(520, st->block_count);
}

TEST(AecCoreParams, SetAndGetKeepTheRecord) {
    Params p;
    Mem m;
    void *h = nullptr;
    ASSERT_EQ(0, zorvo_aec_init(&h, m.b, ZORVO_AEC_STATE_SIZE, p.b));
    Params q;
    q.set(ZORVO_AEC_OFF_NLP_THRESHOLD, 12345);
    q.b[ZORVO_AEC_OFF_DELAY_OFFSET] = 3;
    EXPECT_EQ(-30, zorvo_aec_set_params(nullptr, q.b));
    EXPECT_EQ(-31, zorvo_aec_set_params(h, nullptr));
    EXPECT_EQ(0, zorvo_aec_set_params(h, q.b));
    uint8_t back[ZORVO_AEC_PARAMS_SIZE];
    EXPECT_EQ(-40, zorvo_aec_get_params(nullptr, back));
    EXPECT_EQ(-41, zorvo_aec_get_params(h, nullptr));
    EXPECT_EQ(0, zorvo_aec_get_params(h, back));
    EXPECT_EQ(0, memcmp(back, q.b, sizeof(back)));
    /* a refused record leaves the stored one */
    Params bad;
    bad.set(ZORVO_AEC_OFF_NLP_THRESHOLD, -1);
    EXPECT_EQ(-26, zorvo_aec_set_params(h, bad.b));
    /* the block length is fixed at init */
    Params wide(1);
    EXPECT_EQ(-25, zorvo_aec_set_params(h, wide.b));
    EXPECT_EQ(0, zorvo_aec_get_params(h, back));
    EXPECT_EQ(0, memcmp(back, q.b, sizeof(back)));
    ((aec_state *)h)->alg_marker = 0;
    EXPECT_EQ(-101, zorvo_aec_set_params(h, q.b));
}

TEST(AecCoreParams, EachFieldIsChecked) {
    EXPECT_EQ(-20, zorvo_aec_check(nullptr));
    struct Case {
        int off;
        int16_t value;
        int wide;
        int expect;
        bool byte;
    } cases[] = {
        {ZORVO_AEC_OFF_DELAY_OFFSET, 6, 0, 0, true},      {ZORVO_AEC_OFF_DELAY_OFFSET, 7, 0, -21, true},
        {ZORVO_AEC_OFF_SWITCH_B, 2, 0, 0, true},          {ZORVO_AEC_OFF_SWITCH_B, 3, 0, -22, true},
        {ZORVO_AEC_OFF_SWITCH_C, 2, 0, -23, true},        {ZORVO_AEC_OFF_WIDEBAND, 2, 0, -25, true},
        {ZORVO_AEC_OFF_NLP_THRESHOLD, -1, 0, -26, false}, {ZORVO_AEC_OFF_BAND_A_LO, -1, 0, -27, false},
        {ZORVO_AEC_OFF_BAND_A_LO, 39, 0, -27, false},     {ZORVO_AEC_OFF_BAND_A_HI, 200, 0, -28, false},
        {ZORVO_AEC_OFF_BAND_A_HI, 200, 1, 0, false},      {ZORVO_AEC_OFF_BAND_A_HI, 257, 1, -28, false},
        {ZORVO_AEC_OFF_BAND_B_LO, 18, 0, -29, false},     {ZORVO_AEC_OFF_BAND_B_HI, 129, 0, -210, false},
        {ZORVO_AEC_OFF_BAND_C_LO, 11, 0, -211, false},    {ZORVO_AEC_OFF_BAND_C_LO, -1, 0, -211, false},
        {ZORVO_AEC_OFF_BAND_C_LO, 129, 0, -212, false},   {ZORVO_AEC_OFF_BAND_C_HI, 300, 0, 0, false},
        {ZORVO_AEC_OFF_ERL_BAND, -1, 0, -24, false},      {ZORVO_AEC_OFF_ERL_BAND + 10, 129, 0, -24, false},
        {ZORVO_AEC_OFF_ERL_BAND + 10, 256, 1, 0, false},  {ZORVO_AEC_OFF_ERL, -300, 0, 0, false},
    };
    for (const Case &c : cases) {
        Params p(c.wide);
        if (c.byte) {
            p.b[c.off] = (uint8_t)c.value;
        } else {
            p.set(c.off, c.value);
        }
        EXPECT_EQ(c.expect, zorvo_aec_check(p.b)) << "offset " << c.off << " value " << c.value;
    }
    Params eq;
    eq.set(ZORVO_AEC_OFF_ERL_BAND + 4, 17); /* 5, 17, 17, 32, 45, 56 */
    EXPECT_EQ(0, zorvo_aec_check(eq.b));
    Params down;
    down.set(ZORVO_AEC_OFF_ERL_BAND + 4, 16); /* 5, 17, 16, ... */
    EXPECT_EQ(-24, zorvo_aec_check(down.b));
}

TEST(AecCoreParams, FirstFailureByPrecedence) {
    /* Break every field, then repair them one by one in the order of precedence. */
    Params p;
    p.set(ZORVO_AEC_OFF_BAND_C_LO, 200);
    p.set(ZORVO_AEC_OFF_BAND_C_HI, 100);
    p.set(ZORVO_AEC_OFF_ERL_BAND + 2, 1);
    p.set(ZORVO_AEC_OFF_BAND_B_LO, 150);
    p.set(ZORVO_AEC_OFF_BAND_B_HI, 140);
    p.set(ZORVO_AEC_OFF_BAND_A_LO, 150);
    p.set(ZORVO_AEC_OFF_BAND_A_HI, 140);
    p.set(ZORVO_AEC_OFF_NLP_THRESHOLD, -5);
    p.b[ZORVO_AEC_OFF_WIDEBAND] = 3;
    p.b[ZORVO_AEC_OFF_SWITCH_C] = 2;
    p.b[ZORVO_AEC_OFF_SWITCH_B] = 3;
    p.b[ZORVO_AEC_OFF_DELAY_OFFSET] = 7;
    struct Step {
        int expect;
        int off; /* then set this field */
        int value;
    } steps[] = {
        {-212, ZORVO_AEC_OFF_BAND_C_LO, 120}, /* lo within N, still above hi */
        {-211, ZORVO_AEC_OFF_BAND_C_LO, 5},        {-24, ZORVO_AEC_OFF_ERL_BAND + 2, 17},
        {-210, ZORVO_AEC_OFF_BAND_B_HI, 17},       {-29, ZORVO_AEC_OFF_BAND_B_LO, 8},
        {-28, ZORVO_AEC_OFF_BAND_A_HI, 38},        {-27, ZORVO_AEC_OFF_BAND_A_LO, 7},
        {-26, ZORVO_AEC_OFF_NLP_THRESHOLD, 20000}, {-25, -ZORVO_AEC_OFF_WIDEBAND, 0},
        {-23, -ZORVO_AEC_OFF_SWITCH_C, 0},         {-22, -ZORVO_AEC_OFF_SWITCH_B, 1},
        {-21, -ZORVO_AEC_OFF_DELAY_OFFSET, 0},
    };
    for (const Step &s : steps) {
        EXPECT_EQ(s.expect, zorvo_aec_check(p.b));
        if (s.off <= 0) { /* byte fields are given negated */
            p.b[-s.off] = (uint8_t)s.value;
        } else {
            p.set(s.off, (int16_t)s.value);
        }
    }
    EXPECT_EQ(0, zorvo_aec_check(p.b));
}

TEST(AecCoreMath, TransformsAndHelpers) {
    zorvo_fft_c_sc32 f;
    EXPECT_EQ(-1, zorvo_fft_init_c_sc32(&f, 9));
    ASSERT_EQ(0, zorvo_fft_init_c_sc32(&f, 7));
    int32_t x[256], y[256];
    zorvo_cpx32 X[129], w[128];
    for (int i = 0; i < 256; i++) {
        x[i] = ((i * 7919) % 2001 - 1000) * 4096;
    }
    ASSERT_EQ(0, zorvo_aec_realfft(&f, x, X, w));
    /* bin 0 is the sum */
    int64_t sum = 0;
    for (int i = 0; i < 256; i++) {
        sum += x[i];
    }
    EXPECT_NEAR((double)X[0].re, (double)sum, 4.0);
    ASSERT_EQ(0, zorvo_aec_realifft(&f, X, y, w));
    for (int i = 0; i < 256; i++) {
        EXPECT_NEAR(y[i], x[i], 2) << i;
    }
    EXPECT_EQ(10 << 16, zorvo_aec_log2(1024));
    EXPECT_NEAR(zorvo_aec_log2(3) / 65536.0, 1.58496, 1e-3);
    EXPECT_NEAR(zorvo_aec_pow2(-65536 / 2), 23170, 30);
    EXPECT_EQ(0, zorvo_aec_pow2(-20 * 65536));
    EXPECT_EQ(3037000499u, zorvo_aec_sqrt_fix(9223372036854775807ull));
    int32_t v[] = {5, -3, 9, 9, 0, 2, -8};
    zorvo_aec_qsort(v, 7);
    for (int i = 1; i < 7; i++) {
        EXPECT_LE(v[i - 1], v[i]);
    }
}
