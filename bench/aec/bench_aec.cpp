/*
 * Echo canceller measurements: vqe_aec against speexdsp and WebRTC audio processing on the same
 * reproducible scenes (see scenes.cpp). Prints one table per room.
 *
 * Figures: steady-state ERLE (last 4 s of single talk: microphone over output power), time to
 * 20 dB (first time after which the ERLE of 0.2 s windows with far-end speech, reference above
 * -35 dBFS, stays at 20 dB or
 * more for a second), re-convergence (the same, counted from the echo path change), near-end
 * preservation in double talk (segmental SNR of the output against the clean near end, 20 ms
 * frames with near-end speech, each limited to -10..35 dB), pass-through SNR with a silent far
 * end, and real-time factor (processing time over audio time, one thread).
 * Every output is time-aligned by the latency found on the silent-far-end scene.
 */
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <speex/speex_echo.h>
#include <speex/speex_preprocess.h>
#include <webrtc/modules/audio_processing/include/audio_processing.h>
#include <webrtc/modules/interface/module_common_types.h>

#include "scenes.h"
#include "vqe_aec.h"
#include "zorvo_aec.h"

namespace {

/* Windows count as far-end speech when the reference is above this level (speech is at about
 * -20 dBFS; quieter windows hold only echo tails near the noise floor, where the noise caps ERLE). */
constexpr double FAR_ACTIVE_DBFS = -35;

/* One canceller, driven with 10 ms frames. */
struct Canceller {
    virtual ~Canceller() = default;
    virtual void frame(const int16_t *mic, const int16_t *far, int16_t *out) = 0;
};

struct VqeAec : Canceller {
    const audio_work_handle *m = vx_vqe_aec_get_handle();
    void *h = nullptr;
    int n;
    VqeAec(int rate) : n(rate / 100) {
        vqe_config cfg = {};
        if (m->init(&h, rate, &cfg) != 0) {
            fprintf(stderr, "vqe_aec init failed\n");
            exit(1);
        }
    }
    ~VqeAec() override { m->deinit(h); }
    void frame(const int16_t *mic, const int16_t *far, int16_t *out) override {
        audio_frame in = {}, o = {};
        in.data = const_cast<int16_t *>(mic);
        in.rin_data = const_cast<int16_t *>(far);
        in.len = (uint32_t)n * 2;
        o.data = out;
        m->process(h, &in, &o);
    }
};

/* The core alone with the non-linear processor off: what the linear filter achieves. */
struct VqeAecLinear : Canceller {
    alignas(8) uint8_t mem[ZORVO_AEC_STATE_SIZE];
    void *h = nullptr;
    VqeAecLinear(int rate) {
        uint8_t p[ZORVO_AEC_PARAMS_SIZE];
        memcpy(p, g_zorvo_aec_gast_kre_aec_cfg_tab, sizeof(p));
        p[ZORVO_AEC_OFF_WIDEBAND] = rate == 16000;
        p[ZORVO_AEC_OFF_SWITCH_C] = 1;
        zorvo_aec_init(&h, mem, sizeof(mem), p);
    }
    void frame(const int16_t *mic, const int16_t *far, int16_t *out) override {
        zorvo_aec_apply(h, mic, far, out);
    }
};

struct Speex : Canceller {
    SpeexEchoState *st;
    SpeexPreprocessState *pp = nullptr;
    Speex(int rate, int tail_ms, bool preprocess) {
        st = speex_echo_state_init(rate / 100, rate * tail_ms / 1000);
        speex_echo_ctl(st, SPEEX_ECHO_SET_SAMPLING_RATE, &rate);
        if (preprocess) {
            pp = speex_preprocess_state_init(rate / 100, rate);
            speex_preprocess_ctl(pp, SPEEX_PREPROCESS_SET_ECHO_STATE, st);
        }
    }
    ~Speex() override {
        if (pp != nullptr) {
            speex_preprocess_state_destroy(pp);
        }
        speex_echo_state_destroy(st);
    }
    void frame(const int16_t *mic, const int16_t *far, int16_t *out) override {
        speex_echo_cancellation(st, mic, far, out);
        if (pp != nullptr) {
            speex_preprocess_run(pp, out);
        }
    }
};

struct Webrtc : Canceller {
    std::unique_ptr<webrtc::AudioProcessing> apm;
    webrtc::AudioFrame far_f, near_f;
    int n;
    Webrtc(int rate, bool mobile) : apm(webrtc::AudioProcessing::Create()), n(rate / 100) {
        if (mobile) {
            apm->echo_control_mobile()->Enable(true);
        } else {
            apm->echo_cancellation()->Enable(true);
        }
        for (webrtc::AudioFrame *f : {&far_f, &near_f}) {
            f->sample_rate_hz_ = rate;
            f->samples_per_channel_ = (size_t)n;
            f->num_channels_ = 1;
        }
    }
    void frame(const int16_t *mic, const int16_t *far, int16_t *out) override {
        memcpy(far_f.data_, far, (size_t)n * 2);
        memcpy(near_f.data_, mic, (size_t)n * 2);
        apm->ProcessReverseStream(&far_f);
        apm->set_stream_delay_ms(0);
        apm->ProcessStream(&near_f);
        memcpy(out, near_f.data_, (size_t)n * 2);
    }
};

struct Run {
    std::vector<int16_t> out;
    double seconds = 0; /* processing time */
};

Run run(Canceller &c, const Scene &s) {
    Run r;
    size_t n = (size_t)s.rate / 100;
    r.out.assign(s.mic.size(), 0);
    auto t0 = std::chrono::steady_clock::now();
    for (size_t at = 0; at + n <= s.mic.size(); at += n) {
        c.frame(&s.mic[at], &s.far[at], &r.out[at]);
    }
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return r;
}

double energy(const std::vector<int16_t> &v, size_t from, size_t to, size_t shift = 0) {
    double e = 0;
    for (size_t i = from; i < to && i + shift < v.size(); i++) {
        e += (double)v[i + shift] * v[i + shift];
    }
    return e;
}

/* Output latency: the lag that best matches the output to the microphone (silent far end). */
size_t find_latency(const Scene &s, const std::vector<int16_t> &out) {
    size_t from = (size_t)s.rate, to = (size_t)s.rate * 4, best = 0;
    double best_c = -1e300;
    for (size_t lag = 0; lag < (size_t)s.rate / 20; lag++) {
        double c = 0;
        for (size_t i = from; i < to; i++) {
            c += (double)s.mic[i] * out[i + lag];
        }
        if (c > best_c) {
            best_c = c;
            best = lag;
        }
    }
    return best;
}

double db(double a, double b) {
    return 10 * log10((a + 1e-9) / (b + 1e-9));
}

/* First time (s) from `from` after which 0.2 s windows with far-end speech keep ERLE >= 20 dB
 * for a whole second; -1 if never. */
double time_to_20db(const Scene &s, const std::vector<int16_t> &out, size_t lat, size_t from) {
    size_t win = (size_t)s.rate / 5, hop = (size_t)s.rate / 50, sec = (size_t)s.rate;
    double far_min = (double)win * pow(10, FAR_ACTIVE_DBFS / 10.0) * 32768.0 * 32768.0;
    std::vector<size_t> starts;
    std::vector<int> ok, active;
    for (size_t a = from; a + win + lat < s.mic.size(); a += hop) {
        starts.push_back(a);
        active.push_back(energy(s.far, a, a + win) > far_min);
        ok.push_back(db(energy(s.mic, a, a + win), energy(out, a, a + win, lat)) >= 20);
    }
    for (size_t i = 0; i < starts.size(); i++) {
        if (!active[i] || !ok[i]) {
            continue;
        }
        bool stays = true;
        size_t j = i;
        for (; j < starts.size() && starts[j] < starts[i] + sec; j++) {
            stays &= !active[j] || ok[j];
        }
        if (stays && j < starts.size()) {
            return (double)(starts[i] + win - from) / s.rate;
        }
    }
    return -1;
}

double segmental_snr(const Scene &s, const std::vector<int16_t> &out, size_t lat) {
    size_t f = (size_t)s.rate / 50;
    double thr = (double)f * pow(10, -45 / 10.0) * 32768.0 * 32768.0, sum = 0;
    int frames = 0;
    for (size_t a = s.near_from; a + f <= s.near_to && a + f + lat <= out.size(); a += f) {
        double e = energy(s.near, a, a + f);
        if (e < thr) {
            continue;
        }
        double d = 0;
        for (size_t i = a; i < a + f; i++) {
            double v = (double)out[i + lat] - s.near[i];
            d += v * v;
        }
        double snr = db(e, d);
        sum += snr < -10 ? -10 : (snr > 35 ? 35 : snr);
        frames++;
    }
    return frames ? sum / frames : 0;
}

struct Figures {
    double erle = 0, t20 = 0, reconv = 0, dt = 0, pass = 0, rtf = 0;
};

struct SystemSpec {
    const char *name;
    std::unique_ptr<Canceller> (*make)(int rate, const Room &room);
};

const SystemSpec systems[] = {
    {"vqe_aec",
     [](int rate, const Room &) -> std::unique_ptr<Canceller> { return std::make_unique<VqeAec>(rate); }},
    {"vqe_aec, linear filter only",
     [](int rate, const Room &) -> std::unique_ptr<Canceller> {
         return std::make_unique<VqeAecLinear>(rate);
     }},
    {"speexdsp AEC (200 ms)",
     [](int rate, const Room &) -> std::unique_ptr<Canceller> {
         return std::make_unique<Speex>(rate, 200, false);
     }},
    {"speexdsp AEC + preprocessor",
     [](int rate, const Room &) -> std::unique_ptr<Canceller> {
         return std::make_unique<Speex>(rate, 200, true);
     }},
    {"speexdsp AEC (48 ms)",
     [](int rate, const Room &) -> std::unique_ptr<Canceller> {
         return std::make_unique<Speex>(rate, 48, false);
     }},
    {"WebRTC AEC",
     [](int rate, const Room &) -> std::unique_ptr<Canceller> {
         return std::make_unique<Webrtc>(rate, false);
     }},
    {"WebRTC AECM",
     [](int rate, const Room &) -> std::unique_ptr<Canceller> {
         return std::make_unique<Webrtc>(rate, true);
     }},
};

Figures measure(const SystemSpec &sys, const Room &room, const std::vector<Scene> &scenes) {
    Figures f;
    int rate = scenes[0].rate;
    double proc = 0, audio = 0;
    std::vector<Run> runs;
    for (const Scene &s : scenes) {
        auto c = sys.make(rate, room); /* a fresh instance per scene */
        runs.push_back(run(*c, s));
        proc += runs.back().seconds;
        audio += (double)s.mic.size() / rate;
    }
    const Scene &st = scenes[0], &dt = scenes[1], &pc = scenes[2], &sf = scenes[3];
    size_t lat = find_latency(sf, runs[3].out);
    f.erle = db(energy(st.mic, st.mic.size() - 4 * (size_t)rate - lat, st.mic.size() - lat),
                energy(runs[0].out, st.mic.size() - 4 * (size_t)rate - lat, st.mic.size() - lat, lat));
    f.t20 = time_to_20db(st, runs[0].out, lat, 0);
    f.reconv = time_to_20db(pc, runs[2].out, lat, pc.change_at);
    f.dt = segmental_snr(dt, runs[1].out, lat);
    double e = 0, d = 0;
    for (size_t i = (size_t)rate / 2; i + lat < sf.mic.size(); i++) {
        double v = (double)runs[3].out[i + lat] - sf.mic[i];
        e += (double)sf.mic[i] * sf.mic[i];
        d += v * v;
    }
    f.pass = db(e, d);
    f.rtf = proc / audio;
    return f;
}

std::string secs(double t) {
    char b[32];
    if (t < 0) {
        return "never";
    }
    snprintf(b, sizeof(b), "%.2f s", t);
    return b;
}

} // namespace

int main(int argc, char **argv) {
    const double noise_dbfs = -70;
    const Room rooms[] = {
        {"car cabin (5 ms bulk delay, 40 ms response)", 5, 40, 6},
        {"long room (30 ms bulk delay, 128 ms response)", 30, 128, 6},
    };
    const char *far_text = "The recorder keeps the last hour of driving on the card. Turn left at the next "
                           "junction, then keep to the right lane for about two kilometres. The weather "
                           "tomorrow will be cloudy with some rain in the afternoon.";
    const char *near_text = "Yes, I can hear you well. We are about ten minutes away, the traffic is light "
                            "and we should be there before six.";
    printf("# Echo canceller measurements\n\nNear-end noise %.0f dBFS, far-end speech about -20 dBFS, echo "
           "return loss 6 dB; near-end speech about -26 dBFS.\n",
           noise_dbfs);
    for (int rate : {8000, 16000}) {
        std::vector<int16_t> far = speak("en-us", far_text, rate, -20);
        std::vector<int16_t> near = speak("en+f3", near_text, rate, -26);
        if (far.empty() || near.empty()) {
            fprintf(stderr, "bench_aec: espeak-ng or sox failed\n");
            return 1;
        }
        for (const Room &room : rooms) {
            std::vector<Scene> scenes = make_scenes(room, rate, far, near, noise_dbfs);
            printf("\n## %s, %d Hz\n\n", room.name, rate);
            printf("| system | steady ERLE | to 20 dB | re-convergence | double-talk segSNR | pass-through "
                   "SNR | RTF |\n");
            printf("|---|---|---|---|---|---|---|\n");
            const Scene &st = scenes[0];
            size_t tail = st.mic.size() - 4 * (size_t)rate;
            printf("| (microphone, no processing) | 0.0 dB | - | - | %.1f dB | - | - |\n",
                   segmental_snr(scenes[1], scenes[1].mic, 0));
            /* a canceller that keeps the near-end noise and removes all echo */
            printf("| (noise cap: output = near-end noise) | %.1f dB | - | - | - | - | - |\n",
                   db(energy(st.mic, tail, st.mic.size()), energy(st.near, tail, st.mic.size())));
            for (const SystemSpec &sys : systems) {
                Figures f = measure(sys, room, scenes);
                printf("| %s | %.1f dB | %s | %s | %.1f dB | %.1f dB | %.4f |\n", sys.name, f.erle,
                       secs(f.t20).c_str(), secs(f.reconv).c_str(), f.dt, f.pass, f.rtf);
                fflush(stdout);
            }
        }
    }
    (void)argc;
    (void)argv;
    return 0;
}
