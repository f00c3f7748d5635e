#include "scenes.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

using am::Rng;

int16_t clip16(double v) {
    return (int16_t)(v > 32767 ? 32767 : (v < -32768 ? -32768 : lrint(v)));
}

std::vector<double> convolve(const std::vector<double> &x, const std::vector<double> &h) {
    std::vector<double> y(x.size(), 0.0);
    for (size_t k = 0; k < h.size(); k++) {
        if (h[k] == 0.0) {
            continue;
        }
        for (size_t i = k; i < x.size(); i++) {
            y[i] += h[k] * x[i - k];
        }
    }
    return y;
}

std::vector<double> loop_to(const std::vector<int16_t> &s, size_t n, size_t gap) {
    std::vector<double> out(n, 0.0);
    size_t period = s.size() + gap;
    for (size_t i = 0; i < n; i++) {
        size_t p = i % period;
        out[i] = p < s.size() ? s[p] : 0.0;
    }
    return out;
}

} // namespace

std::vector<double> make_response(const Room &room, int rate, uint32_t seed) {
    Rng r(seed);
    size_t bulk = (size_t)lround(room.bulk_ms * rate / 1000),
           len = (size_t)lround(room.response_ms * rate / 1000);
    std::vector<double> h(bulk + len, 0.0);
    double e = 0;
    for (size_t i = 0; i < len; i++) {
        double decay = pow(10, -3.0 * i / len); /* -60 dB at the end */
        h[bulk + i] = r.gauss() * decay;
        e += h[bulk + i] * h[bulk + i];
    }
    double g = pow(10, -room.erl_db / 20) / sqrt(e);
    for (auto &v : h) {
        v *= g;
    }
    return h;
}

std::vector<Scene> make_scenes(const Room &room, int rate, const std::vector<int16_t> &far_speech,
                               const std::vector<int16_t> &near_speech, double noise_dbfs) {
    std::vector<Scene> scenes;
    Rng nr(99);
    double sigma = 32768.0 * pow(10, noise_dbfs / 20);
    auto noise = [&](size_t n) {
        std::vector<double> v(n);
        for (auto &x : v) {
            x = nr.gauss() * sigma;
        }
        return v;
    };
    std::vector<double> h1 = make_response(room, rate, 1), h2 = make_response(room, rate, 2);
    size_t gap = (size_t)rate / 2;
    auto build = [&](const char *name, double secs, bool far_on, double near_from, double near_to,
                     double change) {
        Scene s;
        s.name = name;
        s.rate = rate;
        size_t n = (size_t)(secs * rate);
        std::vector<double> far = far_on ? loop_to(far_speech, n, gap) : std::vector<double>(n, 0.0);
        std::vector<double> echo = convolve(far, h1);
        if (change > 0) {
            s.change_at = (size_t)(change * rate);
            std::vector<double> e2 = convolve(far, h2);
            for (size_t i = s.change_at; i < n; i++) {
                echo[i] = e2[i];
            }
        }
        std::vector<double> nz = noise(n), near(n, 0.0);
        if (near_to > near_from) {
            s.near_from = (size_t)(near_from * rate);
            s.near_to = (size_t)(near_to * rate);
            for (size_t i = s.near_from; i < s.near_to; i++) {
                size_t p = (i - s.near_from) % (near_speech.size() + gap);
                near[i] = p < near_speech.size() ? near_speech[p] : 0.0;
            }
        }
        s.far.resize(n);
        s.mic.resize(n);
        s.near.resize(n);
        for (size_t i = 0; i < n; i++) {
            s.far[i] = clip16(far[i]);
            s.near[i] = clip16(near[i] + nz[i]);
            s.mic[i] = clip16(echo[i] + near[i] + nz[i]);
        }
        scenes.push_back(std::move(s));
    };
    build("single talk", 12, true, 0, 0, 0);
    build("double talk", 12, true, 6, 11, 0);
    build("path change", 16, true, 0, 0, 8);
    build("silent far end", 8, false, 0.5, 7.5, 0);
    return scenes;
}
