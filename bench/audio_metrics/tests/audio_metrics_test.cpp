#include "audio_metrics.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace am;

namespace {

/* Speech-like test signal without espeak-ng: noise bands switched on and off in syllables. */
Wave babble(int rate, double seconds) {
    Wave w = pink_noise((size_t)(seconds * rate), rate, 3);
    for (size_t i = 0; i < w.size(); i++) {
        double t = (double)i / rate;
        w[i] *= (fmod(t, 1.0) < 0.7 ? 1.0 : 0.0) * (0.6 + 0.4 * sin(2 * M_PI * 4 * t));
    }
    set_level(w, -26);
    return w;
}

} // namespace

TEST(AudioMetrics, IntelligibilityAndDistortionOrderSignals) {
    const int rate = 16000;
    Wave s = babble(rate, 4);
    EXPECT_NEAR(stoi(s, s, rate), 1.0, 1e-6);
    Wave n = white_noise(s.size(), 9);
    Wave light = mix_at_snr(s, n, 10), heavy = mix_at_snr(s, n, -5);
    double a = stoi(s, light, rate), b = stoi(s, heavy, rate);
    EXPECT_GT(a, b);
    EXPECT_LT(a, 1.0);
    /* Independent noise 10 dB below the active level: SDR over the whole scene is a bit less. */
    double d = sdr(s, light);
    EXPECT_GT(d, 7.0);
    EXPECT_LT(d, 11.0);
    Wave scaled = s;
    for (double &v : scaled) {
        v *= 0.5;
    }
    EXPECT_GT(sdr(s, scaled), 100.0) << "a plain gain is not distortion";
}

TEST(AudioMetrics, LagAttenuationAndLoss) {
    const int rate = 16000;
    Wave s = babble(rate, 3), d(s.size() + 123, 0.0);
    for (size_t i = 0; i < s.size(); i++) {
        d[i + 123] = s[i];
    }
    EXPECT_EQ(find_lag(s, d, 1000), 123u);
    Wave back = shift_back(d, 123, s.size());
    EXPECT_EQ(back, s);
    std::vector<int> frames = speech_frames(s, rate);
    Wave noise = white_noise(s.size(), 4);
    set_level(noise, -50);
    Wave in = add(s, noise), out = in;
    for (double &v : out) {
        v *= 0.5; /* -6 dB on everything */
    }
    EXPECT_NEAR(noise_attenuation(in, out, frames, rate, 0), 6.02, 0.01);
    EXPECT_NEAR(speech_loss(s, out, frames, rate, 0), 6.02, 0.1);
}

TEST(AudioMetrics, CurvesAndTiming) {
    const int rate = 16000;
    Process half = [](const Pcm &x) {
        Pcm y(x.size());
        for (size_t i = 0; i < x.size(); i++) {
            y[i] = (int16_t)(x[i] / 2);
        }
        return y;
    };
    EXPECT_NEAR(sine_gain_db(half, rate, 1000, -6), -6.02, 0.05);
    std::vector<double> c = static_curve(half, rate, {-40, -20});
    EXPECT_NEAR(c[0], -46.02, 0.1);
    EXPECT_NEAR(c[1], -26.02, 0.05);
    /* a gain that follows the input level with a 50 ms one-pole smoother, towards -20 dBFS out */
    Process agc = [rate](const Pcm &x) {
        Pcm y(x.size());
        double env = 1e-3, a = 1 - exp(-1.0 / (0.05 * rate));
        for (size_t i = 0; i < x.size(); i++) {
            env += a * ((double)x[i] * x[i] - env);
            double g = 3276.8 / sqrt(env + 1);
            y[i] = (int16_t)lrint(std::max(-32768.0, std::min(32767.0, x[i] * g)));
        }
        return y;
    };
    StepTiming t = step_timing(agc, rate, -40, -20);
    EXPECT_GT(t.attack_ms, 20);
    EXPECT_LT(t.attack_ms, 150);
    EXPECT_GT(t.overshoot_db, 3);
}
