/* The echo canceller on signals: latency, pass-through, convergence, output identity. */
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "aec_test_util.h"
#include "zorvo_aec.h"

using namespace aectest;

#define GOLDEN_NARROW 3667925837u
#define GOLDEN_WIDE   3393939082u

namespace {

struct Core {
    alignas(8) uint8_t mem[ZORVO_AEC_STATE_SIZE];
    void *h = nullptr;
    int frame;
    explicit Core(int wide, int switch_c = 0) : frame(wide ? 160 : 80) {
        uint8_t p[ZORVO_AEC_PARAMS_SIZE];
        memcpy(p, g_zorvo_aec_gast_kre_aec_cfg_tab, sizeof(p));
        p[ZORVO_AEC_OFF_WIDEBAND] = (uint8_t)wide;
        p[ZORVO_AEC_OFF_SWITCH_C] = (uint8_t)switch_c;
        EXPECT_EQ(0, zorvo_aec_init(&h, mem, sizeof(mem), p));
    }
    std::vector<int16_t> run(const std::vector<int16_t> &mic, const std::vector<int16_t> &ref) {
        std::vector<int16_t> out(mic.size(), 0x7777);
        for (size_t at = 0; at + (size_t)frame <= mic.size(); at += (size_t)frame) {
            EXPECT_EQ(0, zorvo_aec_apply(h, &mic[at], &ref[at], &out[at]));
        }
        return out;
    }
};

int latency(int wide) {
    return wide ? 160 + 128 : 80 + 64;
}

} // namespace

class AecSignal : public ::testing::TestWithParam<int> {};

TEST_P(AecSignal, FixedLatencyAndOneFrameOutPerFrameIn) {
    int wide = GetParam();
    Core c(wide);
    size_t n = (size_t)c.frame * 40;
    std::vector<int16_t> mic(n, 0), ref(n, 0);
    /* impulses at several phases of the four-frame schedule */
    std::vector<size_t> at = {3, (size_t)c.frame * 5 + 17, (size_t)c.frame * 10 + 70,
                              (size_t)c.frame * 23 + 1};
    for (size_t a : at) {
        mic[a] = 20000;
    }
    std::vector<int16_t> out = c.run(mic, ref);
    for (size_t i = 0; i < n; i++) {
        ASSERT_NE(out[i], 0x7777) << "sample " << i << " not written";
    }
    for (size_t a : at) {
        size_t d = a + (size_t)latency(wide);
        EXPECT_NEAR(out[d], 20000, 3) << a;
        EXPECT_NEAR(out[d - 1], 0, 3);
        EXPECT_NEAR(out[d + 1], 0, 3);
    }
}

TEST_P(AecSignal, SilentReferencePassesMicrophoneThrough) {
    int wide = GetParam();
    int rate = wide ? 16000 : 8000;
    Core c(wide);
    size_t n = (size_t)rate * 3;
    std::vector<int16_t> mic = babble(n, rate, 7, 12000), ref(n, 0);
    std::vector<int16_t> out = c.run(mic, ref);
    int lat = latency(wide);
    int worst = 0;
    for (size_t i = (size_t)lat; i < n; i++) {
        int d = abs(out[i] - mic[i - (size_t)lat]);
        worst = d > worst ? d : worst;
    }
    EXPECT_LE(worst, 4); /* window and transform rounding, about -78 dBFS */
}

/* Echo-return-loss enhancement in dB over [from, to) samples of the output, time-aligned. */
static double erle(const std::vector<int16_t> &mic, const std::vector<int16_t> &out, size_t from, size_t to,
                   int lat) {
    std::vector<int16_t> aligned(out.begin() + lat, out.end());
    return 10 * log10(power(mic, from, to) / power(aligned, from, to));
}

TEST_P(AecSignal, ConvergesOnSimulatedEchoPath) {
    int wide = GetParam();
    int rate = wide ? 16000 : 8000;
    size_t n = (size_t)rate * 6;
    std::vector<int16_t> far = babble(n, rate, 11, 16000);
    Lcg g(3);
    std::vector<int16_t> noise(n);
    for (auto &v : noise) {
        v = (int16_t)g.next(3);
    }
    std::vector<int16_t> mic = convolve_add(far, room(rate / 200, rate * 40 / 1000, 0.5, 5), noise);
    Core full(wide), linear(wide, 1);
    std::vector<int16_t> out = full.run(mic, far);
    std::vector<int16_t> lin = linear.run(mic, far);
    size_t from = (size_t)rate * 4, to = n - (size_t)latency(wide);
    EXPECT_GT(erle(mic, lin, from, to, latency(wide)), 20.0) << "linear filter";
    EXPECT_GT(erle(mic, out, from, to, latency(wide)), 30.0) << "with the non-linear processor";
    EXPECT_GT(erle(mic, out, (size_t)rate / 2, (size_t)rate, latency(wide)), 15.0)
        << "within the first second";
}

INSTANTIATE_TEST_SUITE_P(Rates, AecSignal, ::testing::Values(0, 1));

/* The output is integer arithmetic only: every build (x86-64, 32-bit ARM) gives these bits. */
TEST(AecSignalGolden, OutputChecksums) {
    const uint32_t expect[2] = {GOLDEN_NARROW, GOLDEN_WIDE};
    for (int wide = 0; wide < 2; wide++) {
        int rate = wide ? 16000 : 8000;
        size_t n = (size_t)rate * 2;
        /* integer-only scene, so the input is the same everywhere too */
        Lcg g(21);
        std::vector<int16_t> far(n), mic(n);
        std::vector<int32_t> taps((size_t)rate / 40);
        for (size_t k = 0; k < taps.size(); k++) {
            taps[k] = g.next(6000) >> (int)(4 * k / taps.size());
        }
        for (size_t i = 0; i < n; i++) {
            far[i] = (int16_t)(((i / 1600) % 3 == 2) ? 0 : g.next(9000));
        }
        int delay = rate / 100;
        for (size_t i = 0; i < n; i++) {
            int64_t acc = i >= n / 2 ? (int64_t)g.next(3000) * 32768 : 0; /* double talk in the second half */
            for (size_t k = 0; k < taps.size() && k + (size_t)delay <= i; k++) {
                acc += (int64_t)taps[k] * far[i - (size_t)delay - k];
            }
            acc >>= 15;
            mic[i] = (int16_t)(acc > 32767 ? 32767 : (acc < -32768 ? -32768 : acc));
        }
        Core c(wide);
        std::vector<int16_t> out = c.run(mic, far);
        uint32_t h = 2166136261u;
        for (int16_t v : out) {
            h = (h ^ (uint16_t)v) * 16777619u;
        }
        EXPECT_EQ(expect[wide], h) << (wide ? "wide band" : "narrow band");
    }
}

TEST_P(AecSignal, InPlaceAndHostileInput) {
    int wide = GetParam();
    int rate = wide ? 16000 : 8000;
    size_t n = (size_t)rate * 3;
    /* full-scale square waves on both channels, then full-scale noise */
    std::vector<int16_t> mic(n), ref(n);
    Lcg g(5);
    for (size_t i = 0; i < n; i++) {
        bool sq = i < n / 2;
        mic[i] = sq ? ((i / 37) % 2 ? 32767 : -32768) : (int16_t)g.next(32767);
        ref[i] = sq ? ((i / 11) % 2 ? -32768 : 32767) : (int16_t)g.next(32767);
    }
    Core separate(wide), inplace(wide);
    std::vector<int16_t> out = separate.run(mic, ref);
    /* the output may be the microphone buffer itself */
    std::vector<int16_t> buf = mic;
    for (size_t at = 0; at + (size_t)inplace.frame <= n; at += (size_t)inplace.frame) {
        ASSERT_EQ(0, zorvo_aec_apply(inplace.h, &buf[at], &ref[at], &buf[at]));
    }
    EXPECT_EQ(out, buf);
}
