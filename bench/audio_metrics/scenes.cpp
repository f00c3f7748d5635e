/* Scene generators of audio_metrics.h. */
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "audio_metrics.h"

namespace am {

double Rng::gauss() {
    double u = uniform(), v = uniform();
    return sqrt(-2 * log(u)) * cos(2 * M_PI * v);
}

Pcm speak(const std::string &voice, const std::string &text, int rate, double rms_dbfs) {
    char wav[] = "/tmp/bench_speech_XXXXXX";
    int fd = mkstemp(wav);
    if (fd < 0) {
        return {};
    }
    close(fd);
    std::string cmd = "espeak-ng -v " + voice + " -s 150 -w " + wav + " \"" + text + "\" && sox " + wav +
                      " -t raw -e signed -b 16 -c 1 -r " + std::to_string(rate) + " - 2>/dev/null";
    FILE *p = popen(cmd.c_str(), "r");
    Pcm out;
    if (p != nullptr) {
        int16_t buf[4096];
        size_t got;
        while ((got = fread(buf, 2, 4096, p)) > 0) {
            out.insert(out.end(), buf, buf + got);
        }
        pclose(p);
    }
    unlink(wav);
    /* level over the samples above -50 dBFS */
    double e = 0;
    size_t n = 0;
    for (int16_t v : out) {
        if (abs(v) > 100) {
            e += (double)v * v;
            n++;
        }
    }
    if (n == 0) {
        return {};
    }
    double g = 32768.0 * pow(10, rms_dbfs / 20) / sqrt(e / (double)n);
    for (auto &v : out) {
        double s = v * g;
        v = (int16_t)(s > 32767 ? 32767 : (s < -32768 ? -32768 : lrint(s)));
    }
    return out;
}

Wave speech_track(int rate, double seconds, double rms_dbfs, double gap_s) {
    const char *lines[][2] = {
        {"en-us", "Turn left at the next junction, then keep to the right lane."},
        {"en+f3", "The recorder keeps the last hour of driving on the card."},
        {"en-us", "We should be there before six, the traffic is light."},
        {"en+f3", "Please check the tyre pressure at the next stop."},
    };
    std::vector<Pcm> parts;
    for (auto &l : lines) {
        parts.push_back(speak(l[0], l[1], rate, rms_dbfs));
        if (parts.back().empty()) {
            return {};
        }
    }
    size_t n = (size_t)(seconds * rate), gap = (size_t)(gap_s * rate);
    Wave out(n, 0.0);
    size_t at = gap / 2;
    for (size_t k = 0; at < n; k++) {
        const Pcm &p = parts[k % parts.size()];
        for (size_t i = 0; i < p.size() && at + i < n; i++) {
            out[at + i] = p[i];
        }
        at += p.size() + gap;
    }
    return out;
}

Wave white_noise(size_t n, uint64_t seed) {
    Rng r(seed);
    Wave w(n);
    for (auto &v : w) {
        v = r.gauss();
    }
    return w;
}

Wave pink_noise(size_t n, int rate, uint64_t seed) {
    Rng r(seed);
    std::vector<double> a, y;
    for (double fc = 10; fc < rate / 2.0; fc *= 2) {
        a.push_back(1 - exp(-2 * M_PI * fc / rate));
        y.push_back(0);
    }
    Wave w(n);
    for (size_t i = 0; i < n; i++) {
        double x = r.gauss(), s = 0;
        for (size_t k = 0; k < a.size(); k++) {
            /* a one-pole low-pass has a noise bandwidth proportional to a; 1/sqrt(a) levels the
             * octaves to equal power, which sums to a 1/f spectrum */
            y[k] += a[k] * (x - y[k]);
            s += y[k] / sqrt(a[k]);
        }
        w[i] = s;
    }
    return w;
}

Wave brown_noise(size_t n, int rate, uint64_t seed) {
    Rng r(seed);
    double leak = exp(-2 * M_PI * 3.0 / rate), y = 0;
    Wave w(n);
    for (size_t i = 0; i < n; i++) {
        y = leak * y + r.gauss();
        w[i] = y;
    }
    return w;
}

Wave engine_harmonics(size_t n, int rate, double rpm, uint64_t seed) {
    Rng r(seed);
    double ph[8];
    for (double &p : ph) {
        p = 2 * M_PI * r.uniform();
    }
    double drift_ph = 2 * M_PI * r.uniform();
    Wave w(n);
    double base = 0;
    for (size_t i = 0; i < n; i++) {
        double t = (double)i / rate;
        double f0 = rpm / 30.0 * (1 + 0.03 * sin(2 * M_PI * 0.2 * t + drift_ph));
        base += 2 * M_PI * f0 / rate;
        double s = 0;
        for (int k = 0; k < 8; k++) {
            s += sin((k + 1) * base + ph[k]) / (1 + k * 0.7);
        }
        w[i] = s;
    }
    return w;
}

static void normalise(Wave &w) {
    set_level(w, 0);
}

Wave car_noise(size_t n, int rate, uint64_t seed) {
    Wave b = brown_noise(n, rate, seed), p = pink_noise(n, rate, seed + 1),
         e = engine_harmonics(n, rate, 2400, seed + 2);
    normalise(b);
    normalise(p);
    normalise(e);
    Wave w(n);
    for (size_t i = 0; i < n; i++) {
        w[i] = b[i] + p[i] * 0.5 + e[i] * 0.316;
    }
    return w;
}

Wave wind_gusts(size_t n, int rate, uint64_t seed) {
    Wave p = pink_noise(n, rate, seed);
    double a = 1 - exp(-2 * M_PI * 400.0 / rate), y = 0;
    for (auto &v : p) {
        y += a * (v - y);
        v = y;
    }
    Rng r(seed + 7);
    Wave env(n, 0.1);
    for (size_t at = 0; at < n;) {
        size_t len = (size_t)((0.3 + 1.2 * r.uniform()) * rate);
        double amp = 0.2 + 0.8 * r.uniform();
        for (size_t i = 0; i < len && at + i < n; i++) {
            env[at + i] += amp * 0.5 * (1 - cos(2 * M_PI * (double)i / (double)len));
        }
        at += len + (size_t)(r.uniform() * 1.5 * rate);
    }
    for (size_t i = 0; i < n; i++) {
        p[i] *= env[i];
    }
    return p;
}

Wave tone(size_t n, int rate, double freq, double peak_dbfs, double phase) {
    Wave w(n);
    double a = 32768.0 * pow(10, peak_dbfs / 20);
    for (size_t i = 0; i < n; i++) {
        w[i] = a * sin(2 * M_PI * freq * (double)i / rate + phase);
    }
    return w;
}

Wave level_steps(const Wave &source, int rate, const std::vector<double> &levels_dbfs, double seconds) {
    size_t seg = (size_t)(seconds * rate);
    Wave out;
    for (double l : levels_dbfs) {
        Wave part(seg);
        for (size_t i = 0; i < seg; i++) {
            part[i] = source[(out.size() + i) % source.size()];
        }
        set_level(part, l);
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

template <class V> static double rms_of(const V &x, size_t from, size_t to) {
    to = to > x.size() ? x.size() : to;
    double e = 0;
    for (size_t i = from; i < to; i++) {
        e += (double)x[i] * x[i];
    }
    return to > from ? 10 * log10(e / (double)(to - from) / (32768.0 * 32768.0) + 1e-20) : -200;
}

double rms_dbfs(const Wave &x, size_t from, size_t to) {
    return rms_of(x, from, to);
}

double rms_dbfs(const Pcm &x, size_t from, size_t to) {
    return rms_of(x, from, to);
}

void set_level(Wave &x, double dbfs, size_t from, size_t to) {
    double g = pow(10, (dbfs - rms_dbfs(x, from, to)) / 20);
    for (auto &v : x) {
        v *= g;
    }
}

Wave mix_at_snr(const Wave &speech, const Wave &noise, double snr_db) {
    double e = 0;
    size_t n = 0;
    for (double v : speech) {
        if (fabs(v) > 100) {
            e += v * v;
            n++;
        }
    }
    double speech_db = n ? 10 * log10(e / (double)n / (32768.0 * 32768.0)) : -100;
    Wave nz = noise;
    nz.resize(speech.size());
    set_level(nz, speech_db - snr_db);
    return add(speech, nz);
}

Wave add(const Wave &a, const Wave &b) {
    Wave w(a.size());
    for (size_t i = 0; i < a.size(); i++) {
        w[i] = a[i] + (i < b.size() ? b[i] : 0.0);
    }
    return w;
}

Pcm to_pcm(const Wave &x) {
    Pcm p(x.size());
    for (size_t i = 0; i < x.size(); i++) {
        double v = x[i];
        p[i] = (int16_t)(v > 32767 ? 32767 : (v < -32768 ? -32768 : lrint(v)));
    }
    return p;
}

Wave to_wave(const Pcm &x) {
    return Wave(x.begin(), x.end());
}

bool write_wav(const std::string &path, int rate, int channels, const Pcm &samples) {
    FILE *f = fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    auto u32 = [&](uint32_t v) {
        uint8_t b[4] = {(uint8_t)v, (uint8_t)(v >> 8), (uint8_t)(v >> 16), (uint8_t)(v >> 24)};
        fwrite(b, 1, 4, f);
    };
    auto u16 = [&](uint16_t v) {
        uint8_t b[2] = {(uint8_t)v, (uint8_t)(v >> 8)};
        fwrite(b, 1, 2, f);
    };
    uint32_t bytes = (uint32_t)(samples.size() * 2);
    fwrite("RIFF", 1, 4, f);
    u32(36 + bytes);
    fwrite("WAVEfmt ", 1, 8, f);
    u32(16);
    u16(1);
    u16((uint16_t)channels);
    u32((uint32_t)rate);
    u32((uint32_t)(rate * channels * 2));
    u16((uint16_t)(channels * 2));
    u16(16);
    fwrite("data", 1, 4, f);
    u32(bytes);
    for (int16_t v : samples) {
        u16((uint16_t)v);
    }
    return fclose(f) == 0;
}

} // namespace am
