/* The core's checks and codes: system configuration, parameter header, module blocks, memory
 * formula, frame descriptor, set/get params, version and scratch measure. */
#include <gtest/gtest.h>

#include <functional>

#include "talk_test_util.h"

using namespace talktest;

namespace {

int size_of(const std::function<void(uint8_t *, uint8_t *)> &edit, int32_t *size_out = nullptr) {
    alignas(8) uint8_t p[AUDIO_VQE_PARAM_LEN] = {}, c[AUDIO_VQE_SYSCFG_SIZE] = {};
    memcpy(p, g_vc_params_normal, AUDIO_VQE_PARAMS_SIZE);
    Core::default_cfg(c);
    edit(p, c);
    alignas(8) int32_t size = -1;
    int r = audio_vqe_get_size(&size, c, p);
    if (size_out != nullptr) {
        *size_out = size;
    }
    return r;
}

} // namespace

TEST(TalkCoreChecks, HeaderAndSwitches) {
    struct {
        int off, value, code;
    } cases[] = {
        {AUDIO_VQE_P_MIC_NUM, 7, -24},    {AUDIO_VQE_P_MIC_NUM, 0, -24},     {AUDIO_VQE_P_CHN_NUM, 4, -25},
        {AUDIO_VQE_P_CHN_NUM, 0, -25},    {AUDIO_VQE_P_AEC_MODE, 3, -26},    {AUDIO_VQE_P_BAND, 2, -27},
        {AUDIO_VQE_P_LEVEL_20, 51, -28},  {AUDIO_VQE_P_AEC_ON, 2, -30},      {AUDIO_VQE_P_FMP_ON, 2, -32},
        {AUDIO_VQE_P_AGC_ON, 2, -33},     {AUDIO_VQE_P_EQ_ON, 2, -34},       {AUDIO_VQE_P_DRC_ON, 2, -35},
        {AUDIO_VQE_P_LIMITER_ON, 2, -36}, {AUDIO_VQE_P_DEREVERB_ON, 2, -37}, {AUDIO_VQE_P_DMNR_ON, 2, -38},
        {AUDIO_VQE_P_PMWF_ON, 2, -39},    {AUDIO_VQE_P_WNR_ON, 2, -39},
    };
    for (auto &t : cases) {
        EXPECT_EQ(t.code, size_of([&](uint8_t *p, uint8_t *) { p[t.off] = (uint8_t)t.value; })) << t.off;
    }
    EXPECT_EQ(0, size_of([](uint8_t *p, uint8_t *) { p[AUDIO_VQE_P_HS_ON] = 7; })); /* unchecked */
    EXPECT_EQ(0, size_of([](uint8_t *p, uint8_t *) { p[AUDIO_VQE_P_LEVEL_20] = 50; }));
}

TEST(TalkCoreChecks, SystemConfiguration) {
    struct {
        int off, wide, value, code;
    } cases[] = {
        {AUDIO_VQE_SYS_BITS, 1, 24, -41}, {AUDIO_VQE_SYS_RATE, 1, 8000, -42},
        {AUDIO_VQE_SYS_COUNT, 0, 0, -40}, {AUDIO_VQE_SYS_COUNT, 0, 32, -40},
        {AUDIO_VQE_SYS_BITS2, 1, 8, -43}, {AUDIO_VQE_SYS_V16, 1, 7, -44},
        {AUDIO_VQE_SYS_V16, 1, 0, -44},   {AUDIO_VQE_SYS_V20, 0, 3, -46},
        {AUDIO_VQE_SYS_V24, 0, 0, -45},   {AUDIO_VQE_SYS_V24, 0, 3, -45},
        {AUDIO_VQE_SYS_V26, 0, 2, -47},
    };
    for (auto &t : cases) {
        EXPECT_EQ(t.code, size_of([&](uint8_t *, uint8_t *c) {
                      if (t.wide) {
                          vqe_put32(c, t.off, t.value);
                      } else {
                          vqe_put16(c, t.off, t.value);
                      }
                  }))
            << t.off;
    }
    /* the value at 20 may be 0 only without the echo canceller */
    EXPECT_EQ(0, size_of([](uint8_t *, uint8_t *c) { vqe_put16(c, AUDIO_VQE_SYS_V20, 0); }));
    EXPECT_EQ(-46, size_of([](uint8_t *p, uint8_t *c) {
        vqe_put16(c, AUDIO_VQE_SYS_V20, 0);
        p[AUDIO_VQE_P_AEC_ON] = 1;
    }));
}

TEST(TalkCoreChecks, EchoCancellerBlock) {
    struct {
        int off, value, code;
    } cases[] = {
        {0, 301, -21},    {3, 3, -27},    {8, 101, -23},  {14, 101, -26}, {16, 10001, -32},
        {22, 10001, -35}, {24, 3, -36},   {26, 257, -37}, {28, 101, -38}, {32, 2, -40},
        {34, 6001, -41},  {36, 50, -41},  {44, 101, -42}, {52, 101, -42}, {58, 0, -44},
        {66, 0, -44},     {68, 101, -43}, {70, 2, -45},   {70, 31, -45},
    };
    for (auto &t : cases) {
        EXPECT_EQ(-100 + t.code, size_of([&](uint8_t *p, uint8_t *) {
            p[AUDIO_VQE_P_AEC_ON] = 1;
            vqe_put16(p, AUDIO_VQE_B_AEC + t.off, t.value);
        })) << t.off;
    }
    for (int i = 4; i < 8; i++) { /* the single-byte switches */
        EXPECT_EQ(-100 - 28 - (i - 4), size_of([&](uint8_t *p, uint8_t *) {
            p[AUDIO_VQE_P_AEC_ON] = 1;
            p[AUDIO_VQE_B_AEC + i] = 2;
        }));
    }
    /* fmp_on is forced by aec_on */
    alignas(8) uint8_t p[AUDIO_VQE_PARAM_LEN] = {};
    memcpy(p, g_vc_params_normal, AUDIO_VQE_PARAMS_SIZE);
    p[AUDIO_VQE_P_AEC_ON] = 1;
    p[AUDIO_VQE_P_FMP_ON] = 0;
    alignas(8) uint8_t c[AUDIO_VQE_SYSCFG_SIZE] = {};
    Core::default_cfg(c);
    alignas(8) int32_t size;
    ASSERT_EQ(0, audio_vqe_get_size(&size, c, p));
    EXPECT_EQ(1, p[AUDIO_VQE_P_FMP_ON]);
}

TEST(TalkCoreChecks, ModuleBlocksAtInit) {
    struct {
        int sw, block, off, wide, value, code;
    } cases[] = {
        {AUDIO_VQE_P_AGC_ON, AUDIO_VQE_B_AGC, 0, 0, 1, -250 - 33},
        {AUDIO_VQE_P_AGC_ON, AUDIO_VQE_B_AGC, 2, 0, 241, -250 - 34},
        {AUDIO_VQE_P_AGC_ON, AUDIO_VQE_B_AGC, 6, 0, 0, -250 - 36},
        {AUDIO_VQE_P_AGC_ON, AUDIO_VQE_B_AGC, 10, 0, -651, -250 - 38},
        {AUDIO_VQE_P_AGC_ON, AUDIO_VQE_B_AGC, 12, 1, 65537, -250 - 39},
        {AUDIO_VQE_P_AGC_ON, AUDIO_VQE_B_AGC, 24, 1, 1025, -250 - 42},
        {AUDIO_VQE_P_AGC_ON, AUDIO_VQE_B_AGC, 28, 0, 1001, -250 - 44},
        {AUDIO_VQE_P_AGC_ON, AUDIO_VQE_B_AGC, 32, 0, 2, -250 - 46},
        {AUDIO_VQE_P_PMWF_ON, AUDIO_VQE_B_PMWF, 0, 0, 0, -600 - 41},
        {AUDIO_VQE_P_PMWF_ON, AUDIO_VQE_B_PMWF, 6, 0, 99, -600 - 44},
        {AUDIO_VQE_P_PMWF_ON, AUDIO_VQE_B_PMWF, 12, 0, 1, -600 - 47},
        {AUDIO_VQE_P_PMWF_ON, AUDIO_VQE_B_PMWF, 20, 0, 4999, -600 - 51},
        {AUDIO_VQE_P_PMWF_ON, AUDIO_VQE_B_PMWF, 24, 0, 3, -600 - 53},
        {AUDIO_VQE_P_PMWF_ON, AUDIO_VQE_B_PMWF, 34, 0, 101, -600 - 59},
        {AUDIO_VQE_P_FMP_ON, AUDIO_VQE_B_FMP, 1, 0, 11, -200 - 15},
        {AUDIO_VQE_P_EQ_ON, AUDIO_VQE_B_EQ, 29, 0, 21, -400 - 10},
        {AUDIO_VQE_P_DRC_ON, AUDIO_VQE_B_DRC, 4, 0, 9, -430 - 14},
        {AUDIO_VQE_P_LIMITER_ON, AUDIO_VQE_B_LIMITER, 0, 0, 1, -480 - 7},
    };
    for (auto &t : cases) {
        Core c([&](uint8_t *p) {
            p[t.sw] = 1;
            if (t.wide) {
                vqe_put32(p, t.block + t.off, t.value);
            } else if (t.block == AUDIO_VQE_B_FMP || t.block == AUDIO_VQE_B_EQ ||
                       t.block == AUDIO_VQE_B_LIMITER || (t.block == AUDIO_VQE_B_DRC && t.off < 8)) {
                p[t.block + t.off] = (uint8_t)t.value;
            } else {
                vqe_put16(p, t.block + t.off, t.value);
            }
        });
        EXPECT_EQ(t.code, c.ret) << t.block << "+" << t.off;
    }
}

TEST(TalkCoreSize, FormulaForEverySwitchCombination) {
    for (int bits = 0; bits < (1 << 11); bits++) {
        int32_t size = 0;
        int r = size_of(
            [&](uint8_t *p, uint8_t *) {
                for (int i = 0; i < 11; i++) {
                    p[AUDIO_VQE_P_AEC_ON + i] = (uint8_t)((bits >> i) & 1);
                }
                p[AUDIO_VQE_P_CHN_NUM] = (uint8_t)(1 + bits % 3);
            },
            &size);
        ASSERT_EQ(0, r) << bits;
        int aec = bits & 1, fmp = ((bits >> 1) & 1) | aec, agc = (bits >> 2) & 1, eq = (bits >> 3) & 1;
        int drc = (bits >> 4) & 1, lim = (bits >> 5) & 1, der = (bits >> 6) & 1, nr = (bits >> 7) & 1;
        int mwf = (bits >> 8) & 1, wnr = (bits >> 9) & 1, hs = (bits >> 10) & 1, chn = 1 + bits % 3;
        int64_t want = 16432 + aec * (187008 + 74016 + 20560 * 6) + der * (1 + fmp) * 90976 + fmp * 520 +
                       nr * 67408 + mwf * 42984 + wnr * 51512 + eq * 7760 + drc * 96 + lim * 56 + hs * 5348 +
                       agc * (464 * chn + 24);
        want = (want + 7) / 8 * 8 + 8;
        ASSERT_EQ(want, size) << bits;
    }
    /* every module fits the memory the formula gives: build them all, with the longest tail */
    Core all([](uint8_t *p) {
        for (int i = 0; i < 11; i++) {
            p[AUDIO_VQE_P_AEC_ON + i] = 1;
        }
        p[AUDIO_VQE_P_CHN_NUM] = 3;
        vqe_put16(p, AUDIO_VQE_B_AEC + AUDIO_VQE_AEC_TAIL, 30);
    });
    EXPECT_EQ(0, all.ret);
}

TEST(TalkCoreCodes, PointerArguments) {
    alignas(8) uint8_t p[AUDIO_VQE_PARAM_LEN] = {}, c[AUDIO_VQE_SYSCFG_SIZE + 8] = {};
    memcpy(p, g_vc_params_normal, AUDIO_VQE_PARAMS_SIZE);
    Core::default_cfg(c);
    alignas(8) int32_t size[2];
    EXPECT_EQ(-4, audio_vqe_get_size(nullptr, c, p));
    EXPECT_EQ(-5, audio_vqe_get_size((int32_t *)((char *)size + 4), c, p));
    EXPECT_EQ(-14, audio_vqe_get_size(size, nullptr, p));
    EXPECT_EQ(-15, audio_vqe_get_size(size, c + 4, p));
    EXPECT_EQ(-16, audio_vqe_get_size(size, c, nullptr));
    EXPECT_EQ(-17, audio_vqe_get_size(size, c, p + 4));
    ASSERT_EQ(0, audio_vqe_get_size(size, c, p));
    std::vector<uint64_t> mem((size_t)size[0] / 8 + 1), scratch(AUDIO_VQE_SCRATCH_MIN / 8 + 1);
    alignas(8) void *h[2] = {};
    EXPECT_EQ(-10, audio_vqe_init(nullptr, mem.data(), size[0], c, p, 512, scratch.data(), 40960));
    EXPECT_EQ(
        -21, audio_vqe_init((void **)((char *)h + 4), mem.data(), size[0], c, p, 512, scratch.data(), 40960));
    EXPECT_EQ(-11, audio_vqe_init(h, nullptr, size[0], c, p, 512, scratch.data(), 40960));
    EXPECT_EQ(-12, audio_vqe_init(h, (char *)mem.data() + 4, size[0], c, p, 512, scratch.data(), 40960));
    EXPECT_EQ(-13, audio_vqe_init(h, mem.data(), size[0] - 8, c, p, 512, scratch.data(), 40960));
    EXPECT_EQ(-18, audio_vqe_init(h, mem.data(), size[0], c, p, 511, scratch.data(), 40960));
    EXPECT_EQ(-19, audio_vqe_init(h, mem.data(), size[0], c, p, 512, nullptr, 40960));
    EXPECT_EQ(-22, audio_vqe_init(h, mem.data(), size[0], c, p, 512, (char *)scratch.data() + 4, 40960));
    EXPECT_EQ(-20, audio_vqe_init(h, mem.data(), size[0], c, p, 512, scratch.data(), 40959));
    ASSERT_EQ(0, audio_vqe_init(h, mem.data(), size[0], c, p, 512, scratch.data(), 40960));

    alignas(8) int16_t m1[256] = {}, m2[256] = {}, out[256];
    alignas(8) int16_t *holder[2] = {out, nullptr};
    alignas(8) audio_vqe_input in;
    memset(&in, 0, sizeof(in));
    in.mic1 = m1;
    in.mic2 = m2;
    in.scratch = scratch.data();
    in.scratch_size = 40960;
    EXPECT_EQ(-50, audio_vqe_apply(nullptr, &in, holder));
    EXPECT_EQ(-51, audio_vqe_apply((char *)h[0] + 4, &in, holder));
    EXPECT_EQ(-56, audio_vqe_apply(h[0], &in, nullptr));
    EXPECT_EQ(-63, audio_vqe_apply(h[0], &in, (int16_t **)((char *)holder + 4)));
    alignas(8) int16_t *no_out = nullptr;
    EXPECT_EQ(-57, audio_vqe_apply(h[0], &in, &no_out));
    alignas(8) int16_t *odd = (int16_t *)((char *)out + 2);
    EXPECT_EQ(-66, audio_vqe_apply(h[0], &in, &odd));
    EXPECT_EQ(-52, audio_vqe_apply(h[0], nullptr, holder));
    in.mic2 = nullptr; /* the default record has two microphones */
    EXPECT_EQ(-53, audio_vqe_apply(h[0], &in, holder));
    in.mic2 = m2;
    in.extra_count = -1;
    EXPECT_EQ(-59, audio_vqe_apply(h[0], &in, holder));
    in.extra_count = 2;
    EXPECT_EQ(-54, audio_vqe_apply(h[0], &in, holder));
    in.extra = m2 + 1;
    EXPECT_EQ(-65, audio_vqe_apply(h[0], &in, holder));
    in.extra = m2;
    in.mic1 = m1 + 2;
    EXPECT_EQ(-64, audio_vqe_apply(h[0], &in, holder));
    in.mic1 = m1;
    in.scratch = nullptr;
    EXPECT_EQ(-60, audio_vqe_apply(h[0], &in, holder));
    in.scratch = (char *)scratch.data() + 4;
    EXPECT_EQ(-61, audio_vqe_apply(h[0], &in, holder));
    in.scratch = scratch.data();
    in.scratch_size = 40959;
    EXPECT_EQ(-67, audio_vqe_apply(h[0], &in, holder));
    in.scratch_size = 40960;
    EXPECT_EQ(0, audio_vqe_apply(h[0], &in, holder));

    /* set / get params */
    void *hh = h[0];
    EXPECT_EQ(-70, audio_vqe_set_params(nullptr, c, p, 512, scratch.data(), 40960));
    EXPECT_EQ(-71, audio_vqe_set_params((char *)hh + 4, c, p, 512, scratch.data(), 40960));
    EXPECT_EQ(-72, audio_vqe_set_params(hh, nullptr, p, 512, scratch.data(), 40960));
    EXPECT_EQ(-78, audio_vqe_set_params(hh, c + 4, p, 512, scratch.data(), 40960));
    EXPECT_EQ(-73, audio_vqe_set_params(hh, c, nullptr, 512, scratch.data(), 40960));
    EXPECT_EQ(-74, audio_vqe_set_params(hh, c, p + 4, 512, scratch.data(), 40960));
    EXPECT_EQ(-75, audio_vqe_set_params(hh, c, p, 511, scratch.data(), 40960));
    EXPECT_EQ(-76, audio_vqe_set_params(hh, c, p, 512, nullptr, 40960));
    EXPECT_EQ(-79, audio_vqe_set_params(hh, c, p, 512, (char *)scratch.data() + 4, 40960));
    EXPECT_EQ(-77, audio_vqe_set_params(hh, c, p, 512, scratch.data(), 40959));
    alignas(8) uint8_t got[512];
    EXPECT_EQ(-80, audio_vqe_get_params(nullptr, c, got, 512));
    EXPECT_EQ(-81, audio_vqe_get_params((char *)hh + 4, c, got, 512));
    EXPECT_EQ(-82, audio_vqe_get_params(hh, nullptr, got, 512));
    EXPECT_EQ(-83, audio_vqe_get_params(hh, c + 4, got, 512));
    EXPECT_EQ(-84, audio_vqe_get_params(hh, c, nullptr, 512));
    EXPECT_EQ(-85, audio_vqe_get_params(hh, c, got + 4, 512));
    EXPECT_EQ(-86, audio_vqe_get_params(hh, c, got, 511));

    /* a module without memory cannot be switched on; the record stays as it was */
    p[AUDIO_VQE_P_DMNR_ON] = 1;
    EXPECT_EQ(-31, audio_vqe_set_params(hh, c, p, 512, scratch.data(), 40960));
    p[AUDIO_VQE_P_DMNR_ON] = 0;
    p[AUDIO_VQE_P_AEC_ON] = 2;
    EXPECT_EQ(-30, audio_vqe_set_params(hh, c, p, 512, scratch.data(), 40960));
    p[AUDIO_VQE_P_AEC_ON] = 0;
    p[AUDIO_VQE_P_LEVEL_20] = 7;
    EXPECT_EQ(0, audio_vqe_set_params(hh, c, p, 512, scratch.data(), 40960));
    ASSERT_EQ(0, audio_vqe_get_params(hh, c, got, 512));
    EXPECT_EQ(0, memcmp(got, p, AUDIO_VQE_PARAMS_SIZE));

    /* damaged markers */
    vqe_core *core = (vqe_core *)hh;
    core->guard2 = 0;
    EXPECT_EQ(-2, audio_vqe_apply(hh, &in, holder));
    core->guard2 = VQE_GUARD;
    core->marker = 0;
    EXPECT_EQ(-1, audio_vqe_apply(hh, &in, holder));
}

TEST(TalkCoreCodes, VersionAndScratchMeasure) {
    const char *v = nullptr;
    ASSERT_EQ(0, audio_vqe_get_version(&v));
    EXPECT_STREQ("arm-linux", v);
    std::vector<uint8_t> s(AUDIO_VQE_SCRATCH_MAX + 1, AUDIO_VQE_SCRATCH_FILL);
    int32_t used = -1;
    EXPECT_EQ(-19, audio_vqe_cal_scratch_used(s.data(), AUDIO_VQE_SCRATCH_MAX + 1, &used));
    ASSERT_EQ(0, audio_vqe_cal_scratch_used(s.data(), AUDIO_VQE_SCRATCH_MAX, &used));
    EXPECT_EQ(0, used);
    s[100] = 0;
    ASSERT_EQ(0, audio_vqe_cal_scratch_used(s.data(), AUDIO_VQE_SCRATCH_MAX, &used));
    EXPECT_EQ(101, used);

    /* a frame with every module of this chain on stays within the minimum scratch */
    Core c([](uint8_t *p) {
        p[AUDIO_VQE_P_AEC_ON] = p[AUDIO_VQE_P_DMNR_ON] = p[AUDIO_VQE_P_PMWF_ON] = p[AUDIO_VQE_P_AGC_ON] = 1;
        p[AUDIO_VQE_P_MIC_NUM] = 2;
    });
    ASSERT_EQ(0, c.ret);
    memset(c.scratch.data(), AUDIO_VQE_SCRATCH_FILL, AUDIO_VQE_SCRATCH_MIN);
    std::vector<int16_t> x = babble(256 * 4, 1, 5000);
    c.run(x, x, x);
    ASSERT_EQ(0, audio_vqe_cal_scratch_used(c.scratch.data(), AUDIO_VQE_SCRATCH_MIN, &used));
    EXPECT_GT(used, 8000);
    EXPECT_LE(used, AUDIO_VQE_SCRATCH_MIN);
}
