// Engine choice, conversion behaviour, error results and state handling of the resampler.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

extern "C" {
#include "res_internal.h"
}

namespace {

const int kInRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 64000};
const int kOutRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};

enum Kind { kCopy, kInt, kPoly, kLinear };

Kind kind_of(const RES_Resampler *r) {
    if (r->is_int_ratio) {
        return r->ratio_index == 0 ? kCopy : kInt;
    }
    return r->is_linear ? kLinear : kPoly;
}

std::vector<int16_t> noise(size_t n, unsigned seed, int amp = 20000) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> d(-amp, amp);
    std::vector<int16_t> v(n);
    for (auto &x : v) {
        x = int16_t(d(gen));
    }
    return v;
}

struct Obj {
    RES_Resampler *r;
    explicit Obj(RES_Resampler *p) : r(p) {}
    ~Obj() { vx_resample_destroy(r); }
};

// Converts `frames` frames in calls of the sizes `split` gives (cycled), all through the API.
std::vector<int16_t> run(int in, int out, int chn, const std::vector<int16_t> &x,
                         const std::vector<int> &split) {
    Obj o(vx_resample_create(in, out, chn));
    EXPECT_NE(o.r, nullptr);
    std::vector<int16_t> y;
    size_t frames = x.size() / size_t(chn);
    size_t at = 0;
    for (size_t i = 0; at < frames; i++) {
        int n = int(std::min<size_t>(size_t(split[i % split.size()]), frames - at));
        int max = vx_resample_get_max_output_num(o.r, n);
        std::vector<int16_t> buf(size_t(max + 1) * size_t(chn), int16_t(0x5A5A));
        int got = vx_resample_process(o.r, x.data() + at * size_t(chn), n, buf.data());
        EXPECT_GE(got, 0);
        EXPECT_LE(got, max) << in << "->" << out << " count " << n;
        EXPECT_EQ(buf[size_t(max) * size_t(chn)], int16_t(0x5A5A)) << "wrote past the bound";
        y.insert(y.end(), buf.begin(), buf.begin() + long(got) * chn);
        at += size_t(n);
    }
    return y;
}

} // namespace

TEST(ResEngineChoice, EveryPublicPairGetsItsEngine) {
    for (int in : kInRates) {
        for (int out : kOutRates) {
            for (int chn = 1; chn <= 2; chn++) {
                Obj o(vx_resample_create(in, out, chn));
                ASSERT_NE(o.r, nullptr) << in << "->" << out;
                Kind want;
                if (in == out) {
                    want = kCopy;
                } else if (res_int_ratio_index(in, out) > 0) {
                    want = kInt;
                } else if (in < out) {
                    want = kPoly;
                } else {
                    want = kLinear;
                }
                EXPECT_EQ(kind_of(o.r), want) << in << "->" << out;
                if (want == kPoly) {
                    EXPECT_EQ(o.r->up * in, o.r->down * out);
                    EXPECT_EQ(o.r->taps, res_find_poly_table(in, out)->taps);
                }
            }
        }
    }
    // The integer-ratio table and the named cases.
    struct {
        int in, out, index;
    } ints[] = {{8000, 16000, 1}, {24000, 48000, 1}, {8000, 32000, 3}, {12000, 48000, 3}, {8000, 48000, 5},
                {16000, 8000, 2}, {48000, 24000, 2}, {32000, 8000, 4}, {48000, 12000, 4}, {48000, 8000, 6}};
    for (auto c : ints) {
        Obj o(vx_resample_create(c.in, c.out, 1));
        EXPECT_EQ(o.r->ratio_index, c.index) << c.in << "->" << c.out;
    }
    Obj lin(vx_resample_create(48000, 16000, 1));
    EXPECT_EQ(kind_of(lin.r), kLinear);
    Obj mid(vx_resample_create(8000, 44100, 1));
    EXPECT_EQ(mid.r->taps, 8);
    Obj good(vx_resample_create(44100, 48000, 1));
    EXPECT_EQ(good.r->taps, 16);
    EXPECT_EQ(good.r->up, 160);
    EXPECT_EQ(good.r->down, 147);
}

TEST(ResEngineChoice, RefusesUnsupportedRatesAndChannels) {
    EXPECT_EQ(vx_resample_create(8000, 64000, 1), nullptr);
    EXPECT_EQ(vx_resample_create(96000, 48000, 1), nullptr);
    EXPECT_EQ(vx_resample_create(8000, 16000, 3), nullptr);
    EXPECT_EQ(vx_resample_create(8000, 16000, 0), nullptr);
    EXPECT_EQ(kq_resample_create(7999, 16000, 1), nullptr);
    // Engine level: a ratio's table must match the rates, not just their halves.
    RES_Resampler *odd = RES_new_resampler_create(16001, 24001, 1, 16, 0);
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(odd->is_linear, 1);
    RES_new_resampler_free(odd);
    EXPECT_EQ(RES_new_resampler_create(8000, 12000, 1, 17, 0), nullptr);
    EXPECT_EQ(RES_resampler2x_create(8000, 16000, 7, 1), nullptr);
}

TEST(ResConversion, RatesComeOutRight) {
    // 44100 -> 48000: 160 outputs per 147 inputs.
    auto x = noise(147 * 40, 1);
    EXPECT_EQ(run(44100, 48000, 1, x, {147}).size(), 160u * 40u);
    auto y = run(48000, 8000, 1, noise(6 * 300, 2), {600});
    EXPECT_EQ(y.size(), 300u);
    // Stereo 6:1: 100 frames are refused, 96 give 16.
    Obj st(vx_resample_create(48000, 8000, 2));
    auto s = noise(200, 3);
    std::vector<int16_t> o(64, 7);
    EXPECT_EQ(vx_resample_process(st.r, s.data(), 100, o.data()), 0);
    EXPECT_EQ(o[0], 7);
    EXPECT_EQ(vx_resample_process(st.r, s.data(), 96, o.data()), 16);
}

TEST(ResConversion, ConstantsAndStereoChannelsStayApart) {
    // A constant comes out exactly (unity gain, rounding to nearest) once the history is full.
    for (auto p : std::vector<std::pair<int, int>>{{8000, 16000},
                                                   {16000, 8000},
                                                   {8000, 32000},
                                                   {32000, 8000},
                                                   {8000, 48000},
                                                   {48000, 8000},
                                                   {44100, 48000},
                                                   {8000, 11025},
                                                   {16000, 48000}}) {
        for (int16_t c : {int16_t(1), int16_t(-1), int16_t(12345), int16_t(-32768)}) {
            std::vector<int16_t> x(2 * 1200);
            for (size_t i = 0; i < x.size(); i++) {
                x[i] = (i & 1) ? int16_t(-c / 2) : c; // left c, right -c/2
            }
            auto y = run(p.first, p.second, 2, x, {1200});
            ASSERT_GE(y.size(), 400u);
            for (size_t i = y.size() / 4 * 2; i < y.size(); i += 2) {
                ASSERT_EQ(y[i], c) << p.first << "->" << p.second;
                ASSERT_EQ(y[i + 1], int16_t(-c / 2)) << p.first << "->" << p.second;
            }
        }
    }
}

TEST(ResConversion, HostileInputSaturatesInsteadOfWrapping) {
    // Full-scale samples whose signs follow the filter: the sums exceed 16 bits by far.
    std::vector<int16_t> x(2048);
    for (size_t i = 0; i < x.size(); i++) {
        x[i] = (i / 2) % 2 ? int16_t(-32768) : int16_t(32767);
    }
    for (auto p :
         std::vector<std::pair<int, int>>{{8000, 16000}, {8000, 12000}, {44100, 48000}, {48000, 8000}}) {
        auto y = run(p.first, p.second, 1, x, {2048});
        ASSERT_FALSE(y.empty());
    }
}

TEST(ResChunking, AnySplitGivesTheSameStreamForEveryEngine) {
    struct Case {
        int in, out, chn, multiple;
    } cases[] = {
        {16000, 16000, 1, 1}, {8000, 16000, 1, 1},  {16000, 8000, 1, 1},  {8000, 32000, 2, 2},
        {32000, 8000, 1, 1},  {48000, 12000, 2, 4}, {8000, 48000, 1, 1},  {48000, 8000, 1, 1},
        {48000, 8000, 2, 6},  {44100, 48000, 1, 1}, {44100, 48000, 2, 2}, {8000, 11025, 1, 1},
        {11025, 32000, 2, 2}, {16000, 48000, 1, 1}, {48000, 16000, 1, 1}, {48000, 44100, 2, 2},
        {64000, 48000, 1, 1},
    };
    for (const Case &c : cases) {
        auto x = noise(size_t(4800 * c.chn), unsigned(c.in + c.out));
        auto whole = run(c.in, c.out, c.chn, x, {2040});
        std::mt19937 gen(7);
        std::vector<int> split;
        for (int i = 0; i < 40; i++) {
            int n = std::uniform_int_distribution<int>(1, 700)(gen);
            split.push_back(std::max(c.multiple, n / c.multiple * c.multiple));
        }
        EXPECT_EQ(run(c.in, c.out, c.chn, x, split), whole) << c.in << "->" << c.out << " x" << c.chn;
    }
}

TEST(ResLimits, MaxOutputBoundsEveryCall) {
    std::mt19937 gen(11);
    for (int in : kInRates) {
        for (int out : kOutRates) {
            Obj o(vx_resample_create(in, out, 1));
            std::vector<int16_t> x = noise(2048, unsigned(in ^ out));
            std::vector<int16_t> y(2048 * 6 + 16);
            for (int i = 0; i < 12; i++) {
                int n = std::uniform_int_distribution<int>(0, 2048)(gen);
                int max = vx_resample_get_max_output_num(o.r, n);
                int got = vx_resample_process(o.r, x.data(), n, y.data());
                ASSERT_GE(got, 0);
                ASSERT_LE(got, max) << in << "->" << out << " n " << n;
            }
        }
    }
}

TEST(ResLimits, ErrorCodesAndMessages) {
    Obj o(vx_resample_create(8000, 16000, 1));
    std::vector<int16_t> x(4096, 1), y(8192, 9);
    EXPECT_EQ(vx_resample_process(o.r, x.data(), 2049, y.data()), RES_ERR_COUNT);
    EXPECT_EQ(vx_resample_process(o.r, x.data(), -1, y.data()), RES_ERR_COUNT);
    EXPECT_EQ(y[0], 9);
    EXPECT_EQ(vx_resample_process(nullptr, x.data(), 10, y.data()), RES_ERR_NULL_PARAM);
    EXPECT_EQ(vx_resample_process(o.r, nullptr, 10, y.data()), RES_ERR_NULL_PARAM);
    EXPECT_EQ(vx_resample_process(o.r, x.data(), 10, nullptr), RES_ERR_NULL_PARAM);
    EXPECT_EQ(uint32_t(RES_ERR_NULL_PARAM), 0x80000009u);
    EXPECT_EQ(vx_resample_get_max_output_num(nullptr, 10), RES_ERR_NULL_HANDLE);
    testing::internal::CaptureStderr();
    EXPECT_EQ(vx_resample_get_max_output_num(o.r, 2049), RES_ERR_COUNT);
    Obj st(vx_resample_create(8000, 16000, 2));
    EXPECT_EQ(vx_resample_get_max_output_num(st.r, 7), RES_ERR_COUNT);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("[Info]:invalid in_samps(2049), should <= 2048.\n"), std::string::npos) << err;
    EXPECT_NE(err.find("[Info]:invalid in_samps(7) in stereo.\n"), std::string::npos) << err;
    // Engine level.
    RES_Resampler *p = RES_new_resampler_create(8000, 12000, 2, 16, 0);
    RES_FrameDesc d = {11, 8000, 12000, 1};
    EXPECT_EQ(RES_new_resampler_process_frame(nullptr, x.data(), y.data(), &d), RES_ERR_NULL_HANDLE);
    EXPECT_EQ(RES_new_resampler_process_frame(p, nullptr, y.data(), &d), RES_ERR_NULL_BUFFER);
    EXPECT_EQ(RES_new_resampler_process_frame(p, x.data(), y.data(), &d), RES_ERR_COUNT);
    d.count = 2050;
    EXPECT_EQ(RES_new_resampler_process_frame(p, x.data(), y.data(), &d), RES_ERR_COUNT);
    RES_new_resampler_free(p);
    // A damaged object is refused, not worked on.
    Obj bad(vx_resample_create(44100, 48000, 1));
    bad.r->buf16[bad.r->buf_values + 1] = 0; // runs into the guard behind the buffer
    testing::internal::CaptureStderr();
    EXPECT_EQ(vx_resample_process(bad.r, x.data(), 10, y.data()), RES_ERR_NULL_HANDLE);
    testing::internal::GetCapturedStderr();
    vx_resample_destroy(nullptr);
    resampler_free(nullptr);
}

TEST(ResState, FlushReturnsToTheJustCreatedState) {
    auto x = noise(3000, 5);
    for (auto p :
         std::vector<std::pair<int, int>>{{8000, 16000}, {48000, 8000}, {44100, 48000}, {8000, 11025}}) {
        Obj fresh(vx_resample_create(p.first, p.second, 1));
        Obj used(vx_resample_create(p.first, p.second, 1));
        std::vector<int16_t> a(20000), b(20000);
        vx_resample_process(used.r, x.data(), 1000, b.data());
        if (used.r->is_int_ratio) {
            RES_resample2x_flush(used.r);
        } else {
            RES_new_resample_flush(used.r);
        }
        int na = vx_resample_process(fresh.r, x.data() + 1000, 2000, a.data());
        int nb = vx_resample_process(used.r, x.data() + 1000, 2000, b.data());
        ASSERT_EQ(na, nb);
        EXPECT_TRUE(std::equal(a.begin(), a.begin() + na, b.begin())) << p.first << "->" << p.second;
    }
}

TEST(ResEngines, LinearFollowsItsFormula) {
    RES_LinearSrc *lin = RES_linear_src_create(48000, 16000, 1, 16);
    ASSERT_NE(lin, nullptr);
    EXPECT_EQ(lin->recip, 67109u);
    std::vector<int16_t> x = {1000, 2000, 3000, 4000, 5000, 6000};
    std::vector<int16_t> y(8);
    int n = RES_linear_src_process_frame(lin, x.data(), y.data(), 6);
    ASSERT_EQ(n, 2);
    // acc 0 at segment (last frame 0, 1000) and again at segment (3000, 4000): the earlier frame
    EXPECT_EQ(y[0], 0);
    uint32_t w = 16000u * 67109u;
    EXPECT_EQ(y[1], int16_t(((int64_t(w) * 3000) >> 32) * 4));
    EXPECT_EQ(RES_linear_src_get_max_output_num(lin, 6), 2 + 1);
    EXPECT_TRUE(RES_linear_src_check_do_src(lin));
    EXPECT_TRUE(RES_linear_src_check_update(lin, 48000, 8000, 16, 1));
    EXPECT_FALSE(RES_linear_src_check_update(lin, 48000, 16000, 16, 1));
    EXPECT_EQ(RES_linear_src_update_change(lin, 44100, 44100, 16, 1), 0);
    EXPECT_EQ(lin->recip, 24348u);
    EXPECT_FALSE(RES_linear_src_check_do_src(lin));
    RES_linear_src_destroy(lin);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RES_linear_src_get_max_output_num(nullptr, 6), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("handle is null."), std::string::npos);
}

TEST(ResEngines, WideModeMatchesTheSixteenBitPathAndScalesToItsWidth) {
    auto x = noise(2000, 9);
    RES_Resampler *p16 = RES_new_resampler_create(16000, 24000, 1, 16, 0);
    RES_Resampler *pw = RES_new_resampler_create(16000, 24000, 1, 16, 1);
    RES_Resampler *p24 = RES_new_resampler_create(16000, 24000, 1, 24, 0);
    ASSERT_TRUE(p16 && pw && p24);
    EXPECT_NE(pw->buf32, nullptr);
    std::vector<int16_t> a(4000), b(4000);
    std::vector<int32_t> x32(2000), c(4000);
    for (size_t i = 0; i < x.size(); i++) {
        x32[i] = int32_t(uint32_t(uint16_t(x[i])) << 16);
    }
    RES_FrameDesc d = {2000, 16000, 24000, 1};
    int na = RES_new_resampler_process_frame(p16, x.data(), a.data(), &d);
    int nb = RES_new_resampler_process_frame(pw, x.data(), b.data(), &d);
    int nc = RES_new_resampler_process_frame(p24, x32.data(), c.data(), &d);
    ASSERT_EQ(na, 3000);
    ASSERT_EQ(nb, na);
    ASSERT_EQ(nc, na);
    int differ = 0;
    for (int i = 0; i < na; i++) {
        differ += std::abs(a[size_t(i)] - b[size_t(i)]) > 1;
        ASSERT_LE(std::abs(c[size_t(i)] / 256 - a[size_t(i)]), 2) << i;
    }
    EXPECT_EQ(differ, 0);
    RES_new_resampler_free(p16);
    RES_new_resampler_free(pw);
    RES_new_resampler_free(p24);
}

TEST(ResEngines, BlockStereoInputEqualsInterleaved) {
    auto x = noise(2 * 1000, 13);
    std::vector<int16_t> block(x.size());
    for (size_t i = 0; i < 1000; i++) {
        block[i] = x[2 * i];
        block[1000 + i] = x[2 * i + 1];
    }
    for (auto p : std::vector<std::pair<int, int>>{{16000, 24000}, {48000, 44100}}) {
        RES_Resampler *a = RES_new_resampler_create(p.first, p.second, 2, 16, 0);
        RES_Resampler *b = RES_new_resampler_create(p.first, p.second, 2, 16, 0);
        std::vector<int16_t> ya(4000), yb(4000);
        RES_FrameDesc di = {1000, p.first, p.second, 1}, db = {1000, p.first, p.second, 0};
        int na = RES_new_resampler_process_frame(a, x.data(), ya.data(), &di);
        int nb = RES_new_resampler_process_frame(b, block.data(), yb.data(), &db);
        ASSERT_GT(na, 0);
        EXPECT_EQ(na, nb);
        EXPECT_EQ(ya, yb);
        RES_new_resampler_free(a);
        RES_new_resampler_free(b);
    }
}

TEST(ResEngines, ReconfigurationTakesNewRatesOrRefuses) {
    RES_Resampler *p = RES_new_resampler_create(8000, 12000, 1, 16, 0);
    ASSERT_EQ(RES_resample_config(p, 44100, 48000), 0);
    EXPECT_EQ(p->up, 160);
    EXPECT_EQ(p->phase, 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RES_resample_config(p, 48000, 44100), -1); // no table downwards
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(p->up, 160);
    RES_new_resampler_free(p);
}

TEST(ResEngines, VolumeScalesInQ15) {
    std::vector<int16_t> s = {1000, -1000, 32767, -32768};
    ASSERT_EQ(RES_volume_process_frame(s.data(), 2, 16, 2, 16384), 0);
    EXPECT_EQ(s[0], 500);
    EXPECT_EQ(s[1], -500);
    EXPECT_EQ(s[2], 16382);
    EXPECT_EQ(s[3], -16384);
    std::vector<int16_t> t = {-32768};
    ASSERT_EQ(RES_volume_process_frame(t.data(), 1, 16, 1, -32768), 0);
    EXPECT_EQ(t[0], 32767);
    std::vector<int32_t> w = {1 << 20};
    ASSERT_EQ(RES_volume_process_frame(w.data(), 1, 24, 1, 16384), 0);
    EXPECT_EQ(w[0], 1 << 19);
    EXPECT_EQ(RES_volume_process_frame(nullptr, 1, 16, 1, 1), -1);
    EXPECT_EQ(RES_volume_process_frame(t.data(), 1, 16, 1, 40000), -1);
}
