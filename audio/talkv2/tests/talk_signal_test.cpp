/* The chain on signals: transparency, echo removal, double talk, noise removal, AGC pauses. */
#include <gtest/gtest.h>

#include <algorithm>
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

/* Syllables of babble (a 200 ms pause after every four) over steady white noise. */
static std::vector<int16_t> babble_in_noise(size_t n, double speech_amp, double noise_amp) {
    std::vector<int16_t> x = babble(n, 21, speech_amp);
    Lcg g(22);
    for (size_t i = 0; i < n; i++) {
        long v = std::lround(x[i] + g.uni() * noise_amp);
        x[i] = (int16_t)std::max(-32768L, std::min(32767L, v));
    }
    return x;
}

/* Output over input power in the syllable pauses (from `skip` samples into each 200 ms pause)
 * and in the middle of the syllables, after the first 2 s; the output is one frame late. */
static void pause_and_speech_gain(const std::vector<int16_t> &in, const std::vector<int16_t> &out,
                                  size_t skip, double *pause_db, double *speech_db) {
    double pi = 0, po = 0, si = 0, so = 0;
    for (size_t syl = 10; (syl + 1) * 3200 + 256 <= in.size(); syl++) {
        size_t at = syl * 3200;
        bool pause = syl % 5 == 4;
        size_t from = pause ? at + skip : at + 800, to = pause ? at + 3200 : at + 2400;
        for (size_t i = from; i < to; i++) {
            double a = in[i], b = out[i + 256];
            (pause ? pi : si) += a * a;
            (pause ? po : so) += b * b;
        }
    }
    *pause_db = db(po / pi);
    *speech_db = db(so / si);
}

/* The noise reduction takes the pauses between syllables down near its floor (-20 dB) and keeps
 * the syllables' level (the speech-present gain must not treat speech as noise). */
TEST(TalkSignal, NoiseReductionFallsInPausesAndKeepsSpeech) {
    Core c([](uint8_t *p) { p[AUDIO_VQE_P_DMNR_ON] = 1; });
    ASSERT_EQ(0, c.ret);
    std::vector<int16_t> x = babble_in_noise(16000 * 8, 4000, 150);
    std::vector<int16_t> y = c.run(x);
    double pause, speech;
    pause_and_speech_gain(x, y, 800, &pause, &speech);
    printf("noise reduction: pauses %.1f dB, syllables %.1f dB\n", pause, speech);
    EXPECT_LT(pause, -15.0);
    EXPECT_GT(speech, -1.5);
}

/* The AGC lifts a quiet talker to its target but lifts the noise of the pauses by a few dB only,
 * also when the stream starts with the digital silence of the chain's first frame. */
TEST(TalkSignal, AgcLiftsQuietSpeechNotItsPauses) {
    Core c([](uint8_t *p) { p[AUDIO_VQE_P_AGC_ON] = 1; });
    ASSERT_EQ(0, c.ret);
    std::vector<int16_t> x = babble_in_noise(16000 * 8, 1500, 100);
    std::vector<int16_t> y = c.run(x);
    double pause, speech;
    pause_and_speech_gain(x, y, 1600, &pause, &speech);
    printf("AGC: pauses %+.1f dB, syllables %+.1f dB\n", pause, speech);
    EXPECT_GT(speech, 15.0);
    EXPECT_LT(pause, 8.0);
}
