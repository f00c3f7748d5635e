/* The spectral chain on signals: transparency, echo removal, double talk, noise removal. */
#include <gtest/gtest.h>

#include <cstdio>

#include "talk_test_util.h"

using namespace talktest;

TEST(TalkSignal, AllOffIsTransparentWithOneFrameDelay) {
    Core c;
    ASSERT_EQ(0, c.ret);
    std::vector<int16_t> x = babble(16000, 3, 8000);
    std::vector<int16_t> y = c.run(x);
    int worst = 0;
    for (size_t i = 256; i < x.size(); i++) {
        int d = std::abs(y[i] - x[i - 256]);
        worst = d > worst ? d : worst;
    }
    EXPECT_LE(worst, 2);
}

TEST(TalkSignal, EchoIsRemovedAndNearEndKept) {
    Core c([](uint8_t *p) { p[AUDIO_VQE_P_AEC_ON] = 1; });
    ASSERT_EQ(0, c.ret);
    size_t n = 16000 * 10;
    std::vector<int16_t> far = babble(n, 11, 12000);
    std::vector<int16_t> near = babble(n, 5, 6000, 700, 2200);
    for (size_t i = 0; i < n / 2; i++) {
        near[i] = 0; /* near end joins at 5 s */
    }
    std::vector<double> h = cabin(80, 600, 0.5, 9);
    std::vector<int16_t> mic = echo_mix(far, h, near);
    std::vector<int16_t> out = c.run(mic, far);
    double erle = db(power(mic, 3 * 16000, 5 * 16000 - 256)) - db(power(out, 3 * 16000 + 256, 5 * 16000));
    /* near end in double talk: output against the clean near end, delayed by one frame */
    std::vector<int16_t> near_d(n, 0);
    for (size_t i = 256; i < n; i++) {
        near_d[i] = near[i - 256];
    }
    double err = 0, ref = 0;
    for (size_t i = 7 * 16000; i < n; i++) {
        double e = (double)out[i] - near_d[i];
        err += e * e;
        ref += (double)near_d[i] * near_d[i];
    }
    double sdr = db(ref / (err + 1));
    printf("ERLE %.1f dB, double-talk SDR %.1f dB\n", erle, sdr);
    EXPECT_GT(erle, 30.0);
    EXPECT_GT(sdr, 12.0);
}
