/* Figures of audio_metrics.h. */
#include <algorithm>
#include <cmath>
#include <complex>
#include <ctime>

#include "audio_metrics.h"

namespace am {

namespace {

using cd = std::complex<double>;

/* In-place radix-2 transform; the size is a power of two. */
void fft(std::vector<cd> &a, bool inverse) {
    size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; i++) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(a[i], a[j]);
        }
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        double ang = 2 * M_PI / (double)len * (inverse ? 1 : -1);
        cd step(cos(ang), sin(ang));
        for (size_t i = 0; i < n; i += len) {
            cd w(1);
            for (size_t k = 0; k < len / 2; k++) {
                cd u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
    if (inverse) {
        for (auto &v : a) {
            v /= (double)n;
        }
    }
}

size_t pow2_at_least(size_t n) {
    size_t p = 1;
    while (p < n) {
        p <<= 1;
    }
    return p;
}

/* Windowed-sinc conversion to `to` Hz (band limit 0.45 of the lower rate). */
Wave resample(const Wave &x, int from, int to) {
    if (from == to) {
        return x;
    }
    double ratio = (double)from / to, fc = 0.9 * std::min(1.0, 1.0 / ratio); /* of the input's Nyquist */
    int half = (int)ceil(16 / fc);
    size_t n = (size_t)((double)x.size() / ratio);
    Wave y(n);
    for (size_t m = 0; m < n; m++) {
        double p = (double)m * ratio, s = 0;
        long c = (long)floor(p);
        for (long k = c - half + 1; k <= c + half; k++) {
            if (k < 0 || k >= (long)x.size()) {
                continue;
            }
            double t = p - (double)k, arg = M_PI * fc * t;
            double sinc = fabs(t) < 1e-12 ? 1.0 : sin(arg) / arg;
            double win = 0.5 + 0.5 * cos(M_PI * t / half);
            s += x[(size_t)k] * fc * sinc * win;
        }
        y[m] = s;
    }
    return y;
}

double dot(const double *a, const double *b, size_t n) {
    double s = 0;
    for (size_t i = 0; i < n; i++) {
        s += a[i] * b[i];
    }
    return s;
}

} // namespace

size_t find_lag(const Wave &ref, const Wave &out, size_t max_lag) {
    size_t n = pow2_at_least(ref.size() + out.size());
    std::vector<cd> a(n), b(n);
    for (size_t i = 0; i < ref.size(); i++) {
        a[i] = ref[i];
    }
    for (size_t i = 0; i < out.size(); i++) {
        b[i] = out[i];
    }
    fft(a, false);
    fft(b, false);
    for (size_t i = 0; i < n; i++) {
        a[i] = std::conj(a[i]) * b[i];
    }
    fft(a, true);
    size_t best = 0;
    for (size_t lag = 1; lag <= max_lag && lag < n; lag++) {
        if (a[lag].real() > a[best].real()) {
            best = lag;
        }
    }
    return best;
}

Wave shift_back(const Wave &out, size_t lag, size_t n) {
    Wave y(n, 0.0);
    for (size_t i = 0; i < n && i + lag < out.size(); i++) {
        y[i] = out[i + lag];
    }
    return y;
}

double stoi(const Wave &clean, const Wave &processed, int rate) {
    const int fs = 10000, frame = 256, hop = 128, nfft = 512, bands = 15, seg = 30;
    const double beta_db = -15, range_db = 40;
    Wave x = resample(clean, rate, fs), y = resample(processed, rate, fs);
    y.resize(x.size());
    std::vector<double> win(frame);
    for (int i = 0; i < frame; i++) {
        win[(size_t)i] = 0.5 - 0.5 * cos(2 * M_PI * (i + 1) / (frame + 1));
    }
    /* Drop frames of the clean signal more than 40 dB below its loudest; rebuild both by
     * overlap-add of the frames kept. */
    std::vector<double> e;
    for (size_t at = 0; at + frame <= x.size(); at += hop) {
        double s = 0;
        for (int i = 0; i < frame; i++) {
            double v = x[at + (size_t)i] * win[(size_t)i];
            s += v * v;
        }
        e.push_back(10 * log10(s + 1e-20));
    }
    double top = e.empty() ? 0 : *std::max_element(e.begin(), e.end());
    Wave xs, ys;
    size_t k = 0;
    for (size_t f = 0; f < e.size(); f++) {
        if (e[f] < top - range_db) {
            continue;
        }
        size_t at = f * hop;
        xs.resize(k * hop + frame, 0.0);
        ys.resize(k * hop + frame, 0.0);
        for (int i = 0; i < frame; i++) {
            xs[k * hop + (size_t)i] += x[at + (size_t)i] * win[(size_t)i];
            ys[k * hop + (size_t)i] += y[at + (size_t)i] * win[(size_t)i];
        }
        k++;
    }
    /* One-third octave band envelopes of each frame. */
    std::vector<int> lo(bands), hi(bands);
    for (int b = 0; b < bands; b++) {
        double cf = 150 * pow(2.0, b / 3.0);
        lo[(size_t)b] = (int)lround(cf * pow(2.0, -1 / 6.0) * nfft / fs);
        hi[(size_t)b] = (int)lround(cf * pow(2.0, 1 / 6.0) * nfft / fs);
    }
    std::vector<std::vector<double>> X(bands), Y(bands);
    for (size_t at = 0; at + frame <= xs.size(); at += hop) {
        std::vector<cd> a(nfft), b(nfft);
        for (int i = 0; i < frame; i++) {
            a[(size_t)i] = xs[at + (size_t)i] * win[(size_t)i];
            b[(size_t)i] = ys[at + (size_t)i] * win[(size_t)i];
        }
        fft(a, false);
        fft(b, false);
        for (int j = 0; j < bands; j++) {
            double sx = 0, sy = 0;
            for (int bin = lo[(size_t)j]; bin < hi[(size_t)j]; bin++) {
                sx += std::norm(a[(size_t)bin]);
                sy += std::norm(b[(size_t)bin]);
            }
            X[(size_t)j].push_back(sqrt(sx));
            Y[(size_t)j].push_back(sqrt(sy));
        }
    }
    size_t frames = X[0].size();
    if (frames < (size_t)seg) {
        return 0;
    }
    double clip = pow(10, -beta_db / 20), sum = 0;
    size_t count = 0;
    for (size_t m = seg; m <= frames; m++) {
        for (int j = 0; j < bands; j++) {
            const double *xv = &X[(size_t)j][m - seg], *yv = &Y[(size_t)j][m - seg];
            double nx = sqrt(dot(xv, xv, seg)), ny = sqrt(dot(yv, yv, seg));
            double alpha = ny > 0 ? nx / ny : 0;
            double yn[seg], mx = 0, my = 0;
            for (int i = 0; i < seg; i++) {
                yn[i] = std::min(alpha * yv[i], (1 + clip) * xv[i]);
                mx += xv[i] / seg;
                my += yn[i] / seg;
            }
            double sxy = 0, sxx = 0, syy = 0;
            for (int i = 0; i < seg; i++) {
                double a = xv[i] - mx, b = yn[i] - my;
                sxy += a * b;
                sxx += a * a;
                syy += b * b;
            }
            sum += sxy / (sqrt(sxx * syy) + 1e-20);
            count++;
        }
    }
    return sum / (double)count;
}

double sdr(const Wave &ref, const Wave &est) {
    size_t n = std::min(ref.size(), est.size());
    double rr = dot(ref.data(), ref.data(), n), re = dot(ref.data(), est.data(), n);
    double a = rr > 0 ? re / rr : 0, target = 0, err = 0;
    for (size_t i = 0; i < n; i++) {
        double t = a * ref[i], d = est[i] - t;
        target += t * t;
        err += d * d;
    }
    return 10 * log10((target + 1e-20) / (err + 1e-20));
}

std::vector<int> speech_frames(const Wave &clean, int rate) {
    size_t f = (size_t)rate / 50;
    std::vector<double> lv;
    for (size_t at = 0; at + f <= clean.size(); at += f) {
        lv.push_back(rms_dbfs(clean, at, at + f));
    }
    double top = lv.empty() ? 0 : *std::max_element(lv.begin(), lv.end());
    std::vector<int> out;
    for (double l : lv) {
        out.push_back(l > top - 20 ? 1 : (l < -70 ? 0 : -1));
    }
    return out;
}

double noise_attenuation(const Wave &in, const Wave &out, const std::vector<int> &frames, int rate,
                         double skip_s) {
    size_t f = (size_t)rate / 50, skip = (size_t)(skip_s * rate);
    double ei = 0, eo = 0;
    for (size_t k = 0; k < frames.size(); k++) {
        if (frames[k] != 0 || k * f < skip) {
            continue;
        }
        ei += dot(&in[k * f], &in[k * f], f);
        eo += dot(&out[k * f], &out[k * f], f);
    }
    return 10 * log10((ei + 1e-9) / (eo + 1e-9));
}

double speech_loss(const Wave &clean, const Wave &out, const std::vector<int> &frames, int rate,
                   double skip_s) {
    size_t f = (size_t)rate / 50, skip = (size_t)(skip_s * rate);
    double es = 0, ep = 0;
    for (size_t k = 0; k < frames.size(); k++) {
        if (frames[k] != 1 || k * f < skip) {
            continue;
        }
        double ss = dot(&clean[k * f], &clean[k * f], f), sy = dot(&clean[k * f], &out[k * f], f);
        es += ss;
        ep += sy * sy / (ss + 1e-9);
    }
    return 10 * log10((es + 1e-9) / (ep + 1e-9));
}

double sine_gain_db(const Process &p, int rate, double freq, double peak_dbfs, double seconds) {
    size_t n = (size_t)(seconds * rate);
    Pcm in = to_pcm(tone(n, rate, freq, peak_dbfs));
    Pcm out = p(in);
    return rms_dbfs(out, n / 2, n) - rms_dbfs(in, n / 2, n);
}

std::vector<double> multitone_response(const Process &p, int rate, const std::vector<double> &freqs,
                                       double peak_dbfs, double seconds) {
    size_t n = (size_t)(seconds * rate);
    Wave x(n, 0.0);
    double a = 32768.0 * pow(10, peak_dbfs / 20);
    for (size_t k = 0; k < freqs.size(); k++) {
        double ph = 2.399963 * (double)k; /* golden-angle phases keep the crest factor down */
        for (size_t i = 0; i < n; i++) {
            x[i] += a * sin(2 * M_PI * freqs[k] * (double)i / rate + ph);
        }
    }
    Pcm in = to_pcm(x), out = p(in);
    /* each tone's amplitude in the second half, by correlation */
    std::vector<double> g;
    for (double f : freqs) {
        double ci = 0, si = 0, co = 0, so = 0;
        for (size_t i = n / 2; i < n; i++) {
            /* a Hann weight keeps the other tones' leakage far down */
            double w = 0.5 - 0.5 * cos(2 * M_PI * (double)(i - n / 2) / (double)(n / 2));
            double c = w * cos(2 * M_PI * f * (double)i / rate), s = w * sin(2 * M_PI * f * (double)i / rate);
            ci += in[i] * c;
            si += in[i] * s;
            co += out[i] * c;
            so += out[i] * s;
        }
        g.push_back(20 * log10((hypot(co, so) + 1e-9) / (hypot(ci, si) + 1e-9)));
    }
    return g;
}

std::vector<double> static_curve(const Process &p, int rate, const std::vector<double> &in_dbfs,
                                 double seconds, double freq) {
    std::vector<double> out;
    size_t n = (size_t)(seconds * rate);
    for (double l : in_dbfs) {
        /* RMS level l: the peak is 3 dB higher */
        Pcm in = to_pcm(tone(n, rate, freq, l + 3.0103));
        Pcm y = p(in);
        out.push_back(rms_dbfs(y, n / 2, n));
    }
    return out;
}

StepTiming step_timing(const Process &p, int rate, double low_dbfs, double high_dbfs) {
    size_t seg = (size_t)(2 * rate), n = 3 * seg;
    Wave x = tone(n, rate, 1000, 0);
    for (size_t i = 0; i < n; i++) {
        double l = (i >= seg && i < 2 * seg) ? high_dbfs : low_dbfs;
        x[i] *= pow(10, (l + 3.0103) / 20);
    }
    Pcm in = to_pcm(x), out = p(in);
    /* gain track in 2 ms windows (two periods of the tone) */
    size_t w = (size_t)rate / 500;
    std::vector<double> g;
    for (size_t at = 0; at + w <= n; at += w) {
        g.push_back(rms_dbfs(out, at, at + w) - rms_dbfs(in, at, at + w));
    }
    auto settled = [&](size_t end) {
        double s = 0;
        size_t c = 0;
        for (size_t k = end / w - 100; k < end / w; k++) {
            s += g[k];
            c++;
        }
        return s / (double)c;
    };
    double g_low = settled(seg), g_high = settled(2 * seg), g_end = settled(n);
    StepTiming t;
    size_t k0 = seg / w, k1 = 2 * seg / w;
    t.attack_ms = 2.0 * (double)(k1 - k0);
    for (size_t k = k0; k < k1; k++) {
        if (fabs(g[k] - g_high) <= 0.1 * fabs(g_low - g_high) + 0.05) {
            t.attack_ms = 2.0 * (double)(k - k0);
            break;
        }
    }
    t.release_ms = 2.0 * (double)(g.size() - k1);
    for (size_t k = k1; k < g.size(); k++) {
        if (fabs(g[k] - g_end) <= 0.1 * fabs(g_high - g_end) + 0.05) {
            t.release_ms = 2.0 * (double)(k - k1);
            break;
        }
    }
    double peak = -200;
    for (size_t k = k0; k < k1; k++) {
        peak = std::max(peak, g[k]);
    }
    t.overshoot_db = std::max(0.0, peak - g_high);
    return t;
}

double thread_seconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return (double)ts.tv_sec + ts.tv_nsec * 1e-9;
}

} // namespace am
