/*
 * Talk chain measurements: vqe_talkv2 against vqe_aec, speexdsp and WebRTC audio processing on
 * the same reproducible 16000 Hz scenes. Prints one table per scene.
 *
 * Echo scene: far-end speech through a cabin echo path (5 ms delay, a 60 ms decaying response,
 * echo 6 dB below the loudspeaker signal), car noise 40 dB below the echo, near-end speech of
 * another voice from the middle on (double talk). Figures: echo reduction (microphone over
 * output power in the echo-only part after 3 s), and in double talk the near end's SDR
 * (scale-invariant), gain (its component in the output against the clean near end) and
 * intelligibility (STOI), all against the clean near end, outputs aligned by their latency.
 * Noise scenes: near-end speech in car noise at 0 and 10 dB SNR: noise attenuation in pauses,
 * speech loss, SDR, intelligibility (STOI; the input's for comparison). AGC scene: speech
 * stepping through -40, -30, -20, -10 dBFS over car noise: spread of the output speech levels
 * and the noise gain in pauses. Curves: compressor (sine levels in and out against the default
 * curve) and limiter (gain at -20 dBFS, peak of a full-scale sine). Timing: real-time factor of
 * vqe_talkv2 with every module of this chain on (echo canceller, Wiener filter with two
 * microphones, noise reduction, post-processing, AGC, compressor, equaliser, limiter), one
 * thread, and with every module on.
 * Wind scene and howling loop: see bench_talkv2_extra.inc.
 */
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <speex/speex_echo.h>
#include <speex/speex_preprocess.h>
#include <webrtc/modules/audio_processing/include/audio_processing.h>
#include <webrtc/modules/interface/module_common_types.h>

#include "audio_metrics.h"
#include "vqe_aec.h"
#include "vqe_talkv2.h"

namespace {

constexpr int RATE = 16000;
using am::Pcm;
using am::Wave;

/* ---------------- processors: (microphone, far end) -> output ---------------- */

struct Proc {
    virtual ~Proc() = default;
    virtual std::string name() const = 0;
    virtual Pcm run(const Pcm &mic, const Pcm &far) = 0;
};

/* vqe_talkv2 through its module record, four frames per call. */
struct Talk : Proc {
    std::string label;
    std::vector<std::pair<int, int32_t>> fields;
    int type;
    Pcm mic2; /* second microphone (empty: the first one again) */
    Talk(std::string l, std::vector<std::pair<int, int32_t>> f, int t = 1)
        : label(std::move(l)), fields(std::move(f)), type(t) {}
    std::string name() const override { return label; }
    Pcm run(const Pcm &mic, const Pcm &far) override {
        alignas(8) uint8_t user[VQE_TALKV2_USER_SIZE] = {};
        user[44] = 1;
        for (auto &f : fields) {
            for (int i = 0; i < 4; i++) {
                user[f.first + i] = (uint8_t)(((uint32_t)f.second >> (8 * i)) & 0xFF);
            }
        }
        const audio_work_handle *m = vx_vqe_talkv2_get_handle();
        vqe_config cfg = {0, 0, type, user};
        void *h = nullptr;
        if (m->init(&h, RATE, &cfg) != 0) {
            fprintf(stderr, "vqe_talkv2 init failed\n");
            exit(1);
        }
        const size_t per = 1024;
        Pcm out(mic.size(), 0);
        std::vector<int16_t> a(per + 8), b(per + 8), r(per + 8), o(per + 8), o2(per + 8);
        /* the last buffer is completed with silence */
        for (size_t at = 0; at < mic.size(); at += per) {
            size_t len = std::min(per, mic.size() - at);
            std::fill(a.begin(), a.end(), 0);
            std::fill(r.begin(), r.end(), 0);
            memcpy(a.data(), &mic[at], len * 2);
            if (!far.empty()) {
                memcpy(r.data(), &far[at], len * 2);
            }
            memcpy(b.data(), a.data(), per * 2);
            if (!mic2.empty()) {
                std::fill(b.begin(), b.end(), 0);
                memcpy(b.data(), &mic2[at], len * 2);
            }
            audio_frame in = {}, of = {};
            in.data = a.data();
            in.extern_data = b.data();
            in.rin_data = r.data();
            in.len = (uint32_t)per * 2;
            of.data = o.data();
            of.extern_data = o2.data();
            m->process(h, &in, &of);
            memcpy(&out[at], o.data(), len * 2);
        }
        m->deinit(h);
        return out;
    }
};

struct VqeAec : Proc {
    std::string name() const override { return "vqe_aec"; }
    Pcm run(const Pcm &mic, const Pcm &far) override {
        const audio_work_handle *m = vx_vqe_aec_get_handle();
        vqe_config cfg = {};
        void *h = nullptr;
        m->init(&h, RATE, &cfg);
        Pcm out(mic.size(), 0);
        for (size_t at = 0; at + 160 <= mic.size(); at += 160) {
            audio_frame in = {}, o = {};
            in.data = const_cast<int16_t *>(&mic[at]);
            in.rin_data = const_cast<int16_t *>(&far[at]);
            in.len = 320;
            o.data = &out[at];
            m->process(h, &in, &o);
        }
        m->deinit(h);
        return out;
    }
};

struct Speex : Proc {
    bool echo, denoise, agc;
    Speex(bool e, bool d, bool a) : echo(e), denoise(d), agc(a) {}
    std::string name() const override {
        return std::string("speexdsp") + (echo ? " echo" : "") + (denoise ? " +denoise" : "") +
               (agc ? " agc" : "");
    }
    Pcm run(const Pcm &mic, const Pcm &far) override {
        int rate = RATE, n = 160, on = 1, off = 0;
        SpeexEchoState *st = echo ? speex_echo_state_init(n, RATE / 10) : nullptr;
        if (st != nullptr) {
            speex_echo_ctl(st, SPEEX_ECHO_SET_SAMPLING_RATE, &rate);
        }
        SpeexPreprocessState *pp = speex_preprocess_state_init(n, RATE);
        speex_preprocess_ctl(pp, SPEEX_PREPROCESS_SET_DENOISE, denoise ? &on : &off);
        speex_preprocess_ctl(pp, SPEEX_PREPROCESS_SET_AGC, agc ? &on : &off);
        if (st != nullptr) {
            speex_preprocess_ctl(pp, SPEEX_PREPROCESS_SET_ECHO_STATE, st);
        }
        Pcm out(mic.size(), 0);
        for (size_t at = 0; at + (size_t)n <= mic.size(); at += (size_t)n) {
            if (st != nullptr) {
                speex_echo_cancellation(st, &mic[at], &far[at], &out[at]);
            } else {
                memcpy(&out[at], &mic[at], (size_t)n * 2);
            }
            speex_preprocess_run(pp, &out[at]);
        }
        speex_preprocess_state_destroy(pp);
        if (st != nullptr) {
            speex_echo_state_destroy(st);
        }
        return out;
    }
};

struct Webrtc : Proc {
    bool aec, ns, agc;
    Webrtc(bool a, bool n, bool g) : aec(a), ns(n), agc(g) {}
    std::string name() const override {
        return std::string("WebRTC") + (aec ? " AEC" : "") + (ns ? " NS-high" : "") + (agc ? " AGC" : "");
    }
    Pcm run(const Pcm &mic, const Pcm &far) override {
        std::unique_ptr<webrtc::AudioProcessing> apm(webrtc::AudioProcessing::Create());
        if (aec) {
            apm->echo_cancellation()->Enable(true);
        }
        if (ns) {
            apm->noise_suppression()->set_level(webrtc::NoiseSuppression::kHigh);
            apm->noise_suppression()->Enable(true);
        }
        if (agc) {
            apm->gain_control()->set_mode(webrtc::GainControl::kAdaptiveDigital);
            apm->gain_control()->Enable(true);
        }
        webrtc::AudioFrame far_f, near_f;
        for (webrtc::AudioFrame *f : {&far_f, &near_f}) {
            f->sample_rate_hz_ = RATE;
            f->samples_per_channel_ = 160;
            f->num_channels_ = 1;
        }
        Pcm out(mic.size(), 0);
        for (size_t at = 0; at + 160 <= mic.size(); at += 160) {
            if (!far.empty()) {
                memcpy(far_f.data_, &far[at], 320);
                apm->ProcessReverseStream(&far_f);
            }
            memcpy(near_f.data_, &mic[at], 320);
            apm->set_stream_delay_ms(0);
            apm->ProcessStream(&near_f);
            memcpy(&out[at], near_f.data_, 320);
        }
        return out;
    }
};

/* ---------------- scenes ---------------- */

/* Near-end talker: other sentences and voices than the far end's speech track. */
Wave near_track(double seconds, double rms) {
    const char *lines[][2] = {
        {"en+m3", "Yes, I can hear you well, go on."},
        {"en-gb", "The bridge is closed, so we take the ring road instead."},
        {"en+m3", "Call me back when you have parked the car."},
    };
    std::vector<Pcm> parts;
    for (auto &l : lines) {
        parts.push_back(am::speak(l[0], l[1], RATE, rms));
        if (parts.back().empty()) {
            return {};
        }
    }
    size_t n = (size_t)(seconds * RATE), gap = RATE * 6 / 10;
    Wave out(n, 0.0);
    size_t at = gap;
    for (size_t k = 0; at < n; k++) {
        const Pcm &p = parts[k % parts.size()];
        for (size_t i = 0; i < p.size() && at + i < n; i++) {
            out[at + i] = p[i];
        }
        at += p.size() + gap;
    }
    return out;
}

/* Cabin echo path: 5 ms delay, a decaying deterministic response over 60 ms, -6 dB. */
std::vector<double> cabin_path() {
    am::Rng g(17);
    size_t delay = RATE * 5 / 1000, len = RATE * 60 / 1000;
    std::vector<double> h(delay + len, 0.0);
    double e = 0;
    for (size_t i = 0; i < len; i++) {
        double v = g.gauss() * std::exp(-6.9 * (double)i / (double)len);
        h[delay + i] = v;
        e += v * v;
    }
    for (auto &v : h) {
        v *= std::pow(10, -6 / 20.0) / std::sqrt(e);
    }
    return h;
}

Wave convolve(const Wave &x, const std::vector<double> &h) {
    Wave y(x.size(), 0.0);
    for (size_t i = 0; i < x.size(); i++) {
        if (x[i] == 0.0) {
            continue;
        }
        for (size_t k = 0; k < h.size() && i + k < y.size(); k++) {
            y[i + k] += h[k] * x[i];
        }
    }
    return y;
}

Wave slice(const Wave &x, size_t from, size_t to) {
    return Wave(x.begin() + (long)from, x.begin() + (long)std::min(to, x.size()));
}

double power(const Wave &x, size_t from, size_t to) {
    double s = 0;
    for (size_t i = from; i < to && i < x.size(); i++) {
        s += x[i] * x[i];
    }
    return s / (double)(to - from) + 1e-9;
}

/* The output moved back by its latency (found against `ref`, up to 40 ms). */
Wave aligned(const Wave &ref, const Pcm &out) {
    Wave o = am::to_wave(out);
    size_t lag = am::find_lag(ref, o, RATE / 25);
    return am::shift_back(o, lag, ref.size());
}

std::string out_dir;

void save(const std::string &name, const Pcm &x) {
    if (!out_dir.empty()) {
        am::write_wav(out_dir + "/" + name + ".wav", RATE, 1, x);
    }
}

std::string file_name(std::string s) {
    for (auto &c : s) {
        c = isalnum((unsigned char)c) ? c : '_';
    }
    return s;
}

/* ---------------- measurements ---------------- */

void echo_scene(double seconds) {
    size_t n = (size_t)(seconds * RATE), half = n / 2;
    Wave far = am::speech_track(RATE, seconds, -20, 0.6);
    Wave near = near_track(seconds, -26);
    if (far.empty() || near.empty()) {
        fprintf(stderr, "bench_talkv2: espeak-ng and sox are needed\n");
        exit(1);
    }
    for (size_t i = 0; i < half; i++) {
        near[i] = 0.0;
    }
    Wave echo = convolve(far, cabin_path());
    Wave noise = am::car_noise(n, RATE, 3);
    am::set_level(noise, am::rms_dbfs(echo) - 40);
    Wave mic_w = am::add(am::add(echo, near), noise);
    Pcm mic = am::to_pcm(mic_w), farp = am::to_pcm(far);
    save("echo_mic", mic);
    save("echo_far", farp);
    printf(
        "\nEcho scene: %.0f s, far end -20 dBFS through the cabin path (echo %.1f dBFS), near end -26 dBFS "
        "from %.0f s, car noise 40 dB below the echo\n",
        seconds, am::rms_dbfs(echo), seconds / 2);
    printf("%-34s %10s %10s %10s %8s\n", "processor", "echo red.", "DT SDR", "DT gain", "DT STOI");
    std::vector<std::unique_ptr<Proc>> procs;
    procs.emplace_back(new Talk("vqe_talkv2 (echo canceller)", {{32, 1}}));
    procs.emplace_back(new Talk("vqe_talkv2 (echo + noise red.)", {{32, 1}, {0, 1}}));
    procs.emplace_back(new Talk("vqe_talkv2 (echo, Wiener, noise r.)", {{32, 1}, {0, 1}, {4, 1}}));
    /* the echo canceller's block with comfort noise off (bytes 32..41: 0, then the region edges) */
    procs.emplace_back(new Talk("vqe_talkv2 (echo, no comfort noise)", {{32, 1},
                                                                        {196, 1},
                                                                        {202, 100 << 16},
                                                                        {206, 1500 | (3000 << 16)},
                                                                        {210, 4500},
                                                                        {222, 1 | (1 << 16)},
                                                                        {226, 6}}));
    procs.emplace_back(new VqeAec());
    procs.emplace_back(new Speex(true, false, false));
    procs.emplace_back(new Speex(true, true, false));
    procs.emplace_back(new Webrtc(true, false, false));
    procs.emplace_back(new Webrtc(true, true, false));
    /* echo-only: far-end speech present, from 3 s to the near end's start */
    for (auto &p : procs) {
        Pcm out = p->run(mic, farp);
        save("echo_out_" + file_name(p->name()), out);
        Wave o = aligned(mic_w, out);
        double erle = 10 * std::log10(power(mic_w, 3 * RATE, half) / power(o, 3 * RATE, half));
        Wave cn = slice(near, half, n), co = slice(o, half, n);
        /* the output's near-end component: its projection on the clean near end */
        double dot = 0, nn = 0;
        for (size_t i = 0; i < cn.size(); i++) {
            dot += cn[i] * co[i];
            nn += cn[i] * cn[i];
        }
        double gain = 20 * std::log10(std::fabs(dot) / nn + 1e-9);
        printf("%-34s %7.1f dB %7.1f dB %+7.1f dB %8.2f\n", p->name().c_str(), erle, am::sdr(cn, co), gain,
               am::stoi(cn, co, RATE));
    }
}

void noise_scene(double seconds, double snr) {
    size_t n = (size_t)(seconds * RATE);
    Wave clean = near_track(seconds, -26);
    Wave noise = am::car_noise(n, RATE, 8);
    Wave mix = am::mix_at_snr(clean, noise, snr);
    Wave noise_part(n);
    for (size_t i = 0; i < n; i++) {
        noise_part[i] = mix[i] - clean[i];
    }
    Pcm in = am::to_pcm(mix);
    save("noise_" + std::to_string((int)snr) + "dB_in", in);
    std::vector<int> frames = am::speech_frames(clean, RATE);
    printf("\nNoise scene: %.0f s of near-end speech in car noise at %.0f dB SNR\n", seconds, snr);
    printf("%-34s %10s %12s %10s %6s\n", "processor", "noise att.", "speech loss", "SDR", "STOI");
    printf("%-34s %10s %12s %10s %6.3f\n", "(input)", "", "", "", am::stoi(clean, mix, RATE));
    std::vector<std::unique_ptr<Proc>> procs;
    procs.emplace_back(new Talk("vqe_talkv2 (noise reduction)", {{0, 1}}));
    procs.emplace_back(new Talk("vqe_talkv2 (Wiener + noise red.)", {{0, 1}, {4, 1}}));
    procs.emplace_back(new Speex(false, true, false));
    procs.emplace_back(new Webrtc(false, true, false));
    for (auto &p : procs) {
        Pcm out = p->run(in, {});
        save("noise_" + std::to_string((int)snr) + "dB_out_" + file_name(p->name()), out);
        Wave o = aligned(mix, out);
        double skip = 2.0;
        size_t from = (size_t)(skip * RATE);
        printf("%-34s %7.1f dB %9.1f dB %7.1f dB %6.3f\n", p->name().c_str(),
               am::noise_attenuation(mix, o, frames, RATE, skip),
               am::speech_loss(clean, o, frames, RATE, skip),
               am::sdr(slice(clean, from, n), slice(o, from, n)), am::stoi(clean, o, RATE));
    }
}

void agc_scene() {
    Wave speech = near_track(8, -26);
    const std::vector<double> levels = {-40, -30, -20, -10};
    const double step_s = 6;
    Wave x = am::level_steps(speech, RATE, levels, step_s);
    /* level_steps scales whole steps: the speech itself, pauses included */
    Wave noise = am::car_noise(x.size(), RATE, 5);
    am::set_level(noise, -60);
    Wave mix = am::add(x, noise);
    Pcm in = am::to_pcm(mix);
    save("agc_in", in);
    std::vector<int> frames = am::speech_frames(x, RATE);
    printf("\nAGC scene: speech stepping through -40, -30, -20, -10 dBFS (%.0f s each) over car noise at -60 "
           "dBFS\n",
           step_s);
    printf("%-34s %28s %8s %11s\n", "processor", "speech level per step (dBFS)", "spread", "noise gain");
    std::vector<std::unique_ptr<Proc>> procs;
    procs.emplace_back(new Talk("vqe_talkv2 (AGC)", {{8, 1}}));
    procs.emplace_back(new Speex(false, false, true));
    procs.emplace_back(new Webrtc(false, false, true));
    size_t fl = RATE / 50;
    for (auto &p : procs) {
        Pcm out = p->run(in, {});
        save("agc_out_" + file_name(p->name()), out);
        Wave o = aligned(mix, out);
        double lv[4], lo = 1e9, hi = -1e9, pn_in = 0, pn_out = 0;
        for (size_t s = 0; s < levels.size(); s++) {
            /* frames of the step's second half within 20 dB of its loudest speech frame */
            size_t a = (size_t)((s + 0.5) * step_s * RATE) / fl, b = (size_t)((s + 1) * step_s * RATE) / fl;
            double top = 0, e = 0;
            for (size_t f = a; f < b; f++) {
                top = std::max(top, power(x, f * fl, (f + 1) * fl));
            }
            size_t cnt = 0;
            for (size_t f = a; f < b; f++) {
                if (power(x, f * fl, (f + 1) * fl) > top / 100) {
                    e += power(o, f * fl, (f + 1) * fl);
                    cnt++;
                }
            }
            lv[s] = 10 * std::log10(e / (double)(cnt ? cnt : 1) / (32768.0 * 32768.0));
            lo = std::min(lo, lv[s]);
            hi = std::max(hi, lv[s]);
        }
        for (size_t f = 0; f < frames.size() && (f + 1) * fl <= o.size(); f++) {
            if (frames[f] == 0 && f * fl > (size_t)RATE) {
                pn_in += power(mix, f * fl, (f + 1) * fl);
                pn_out += power(o, f * fl, (f + 1) * fl);
            }
        }
        printf("%-34s %6.1f %6.1f %6.1f %6.1f %7.1f dB %+8.1f dB\n", p->name().c_str(), lv[0], lv[1], lv[2],
               lv[3], hi - lo, 10 * std::log10(pn_out / pn_in));
    }
}

void curves() {
    printf("\nCompressor (vqe_talkv2, defaults): 1 kHz sine, RMS level in -> out (curve value)\n");
    Talk drc("drc", {{16, 1}});
    am::Process pd = [&](const Pcm &x) { return drc.run(x, {}); };
    std::vector<double> in_levels;
    for (double l = -50; l <= -3; l += 5) {
        in_levels.push_back(l);
    }
    std::vector<double> out_levels = am::static_curve(pd, RATE, in_levels);
    const double kx[7] = {0, -1, -6, -12, -18, -20, -80}, ky[7] = {0, -1, -2, -4, -6, -8, -68};
    double worst = 0;
    for (size_t i = 0; i < in_levels.size(); i++) {
        /* the curve acts on the envelope peak, 3 dB above a sine's RMS */
        double peak = in_levels[i] + 3.01, want = ky[6] + (peak - kx[6]);
        for (int k = 0; k < 6; k++) {
            if (peak >= kx[k + 1]) {
                want = ky[k + 1] + (peak - kx[k + 1]) * (ky[k] - ky[k + 1]) / (kx[k] - kx[k + 1]);
                break;
            }
        }
        want -= 3.01;
        worst = std::max(worst, std::fabs(out_levels[i] - want));
        printf("  %6.1f -> %6.1f (%6.1f)\n", in_levels[i], out_levels[i], want);
    }
    printf("  largest deviation from the curve: %.2f dB\n", worst);

    Talk lim("limiter", {{20, 1}});
    am::Process pl = [&](const Pcm &x) { return lim.run(x, {}); };
    printf("\nLimiter (vqe_talkv2, -2 dB): gain at -20 dBFS %.2f dB, at -6 dBFS %.2f dB",
           am::sine_gain_db(pl, RATE, 1000, -17), am::sine_gain_db(pl, RATE, 1000, -3));
    Pcm full = am::to_pcm(am::tone(RATE, RATE, 1000, -0.01));
    Pcm out = lim.run(full, {});
    int peak = 0;
    for (size_t i = RATE / 2; i < out.size(); i++) {
        peak = std::max(peak, std::abs((int)out[i]));
    }
    printf(", full-scale sine peak %.2f dBFS\n", 20 * std::log10(peak / 32768.0));
}

void timing(double seconds) {
    size_t n = (size_t)(seconds * RATE);
    am::Rng g(9);
    Pcm mic(n), far(n);
    for (size_t i = 0; i < n; i++) {
        mic[i] = (int16_t)(g.gauss() * 3000);
        far[i] = (int16_t)(g.gauss() * 3000);
    }
    Talk all("every module of this chain on",
             {{0, 1}, {4, 1}, {8, 1}, {12, 1}, {16, 1}, {20, 1}, {28, 1}, {32, 1}, {44, 2}});
    /* and with the wind-noise network, dereverberation and howling suppression too */
    Talk every("every module on", all.fields);
    every.fields.insert(every.fields.end(), {{24, 1}, {36, 1}, {40, 1}});
    for (Talk *p : {&all, &every}) {
        double t0 = am::thread_seconds();
        p->run(mic, far);
        double t = am::thread_seconds() - t0;
        printf("\nReal-time factor, vqe_talkv2 with %s (two microphones): %.4f (%.1f s of audio in %.3f s)\n",
               p->name().c_str(), t / seconds, seconds, t);
    }
}

#include "bench_talkv2_extra.inc"

} // namespace

int main(int argc, char **argv) {
    double seconds = 16;
    std::string only;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            out_dir = argv[++i];
        } else if (strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            only = argv[++i];
        } else if (strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            seconds = atof(argv[++i]);
        } else {
            fprintf(stderr, "usage: bench_talkv2 [--out DIR] [--seconds S] [--only "
                            "echo|noise|agc|curves|timing|wind|howl]\n");
            return 2;
        }
    }
    if (seconds < 8) {
        seconds = 8;
    }
    auto want = [&](const char *part) { return only.empty() || only == part; };
    if (want("echo")) {
        echo_scene(seconds);
    }
    if (want("noise")) {
        noise_scene(seconds, 0);
        noise_scene(seconds, 10);
    }
    if (want("agc")) {
        agc_scene();
    }
    if (want("curves")) {
        curves();
    }
    if (want("timing")) {
        timing(seconds);
    }
    if (want("wind")) {
        wind_scene(std::max(seconds, 16.0));
    }
    if (want("howl")) {
        howling_scene();
    }
    return 0;
}
