/*
 * Recording chain measurements: every stage of vqe_record alone against what it must do, and
 * the peers on the same scenes (speexdsp's preprocessor, WebRTC audio processing, sox's filters
 * and compander as curve references). Prints one table per stage; all scenes are generated
 * (audio_metrics.h). Run: bench_record [--quick] [--only TABLES] [--out DIR] (DIR receives the
 * noise scenes' WAVs).
 *
 * Figures:
 * - high/low-pass: largest deviation of the measured response (a sum of 40 sines) from the exact
 *   response of the stored Q12 section, over the frequencies where that response is above -20 dB;
 * - equaliser: largest deviation from the target band gains at the band centres from 500 Hz up;
 * - compressor: static curve error (1 kHz sine, RMS levels, against the knees), attack and
 *   release (90 % of the gain change in dB) and overshoot for a step of -40 to -10 dBFS;
 * - AGC: output speech level for speech at -40 ... -10 dBFS (spread), the time to settle within
 *   2 dB and the overshoot after a step of -40 to -10 dBFS, noise gain in pauses (speech at
 *   -35 dBFS with car noise 20 dB lower);
 * - noise reduction: car noise (and wind, white noise) at 0 dB SNR: noise attenuation in pauses, speech
 *   loss, SDR and STOI (input's STOI in the header);
 * - two-microphone combination: the same figures on channel 1 for two microphones with their own
 *   noise, the combination off and on (alone and before the noise reduction);
 * - real-time factor: the core's processing time over audio time on the calling thread, every
 *   stage on.
 */
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include <speex/speex_preprocess.h>
#include <webrtc/modules/audio_processing/include/audio_processing.h>
#include <webrtc/modules/interface/module_common_types.h>

#include "audio_metrics.h"
#include "record_hlpf.h"
#include "vqe_record.h"
#include "zorvo_record.h"

using namespace am;

namespace {

bool g_quick = false;
std::string g_only; /* comma-separated table names, empty for all */

bool wanted(const char *table) {
    return g_only.empty() || ("," + g_only + ",").find(std::string(",") + table + ",") != std::string::npos;
}
std::string g_out;

/* ---------------- the processors ---------------- */

/* CPU seconds the last core_stages run spent in the core itself (init and frames), without
 * the harness's buffers (the second microphone's copy, the outputs). */
double g_core_seconds = 0;

/* The default record at the rate with the given stages (hdr, drc, agc, eq, hlpf, rnr) and no
 * look-ahead. */
void stage_params(uint8_t *p, int rate, const int on[6], int mics) {
    memcpy(p, g_record_params, ZORVO_RECORD_PARAMS_SIZE);
    p[ZR_OFF_RATE_MODE] = rate == 16000 ? 1 : 2;
    p[ZR_OFF_MIC_NUM] = (uint8_t)mics;
    p[ZR_OFF_OUT_NUM] = (uint8_t)mics;
    p[ZR_OFF_DELAY_FRAMES] = 0;
    for (int i = 0; i < 6; i++) {
        p[ZR_OFF_HDR_ON + i] = (uint8_t)on[i];
    }
}

/* Both microphones through the core with the record p; channel 1 out (g_core_seconds set). */
Pcm run_core(int rate, const uint8_t *p, const Pcm &m1, const Pcm &m2) {
    std::vector<uint64_t> mem(ZORVO_RECORD_MEM_SIZE / 8);
    void *h = nullptr;
    Pcm y(m1.size(), 0), y2(m1.size(), 0);
    double t0 = thread_seconds();
    if (zorvo_record_init(&h, mem.data(), ZORVO_RECORD_MEM_SIZE, p) != 0) {
        fprintf(stderr, "bench_record: core init failed\n");
        return y;
    }
    size_t n = (size_t)rate / 100;
    for (size_t at = 0; at + n <= m1.size(); at += n) {
        zorvo_record_in in = {};
        zorvo_record_out out = {};
        in.mic1 = &m1[at];
        in.mic2 = &m2[at];
        out.out[0] = &y[at];
        out.out[1] = &y2[at];
        zorvo_record_apply(h, &in, &out);
    }
    g_core_seconds = thread_seconds() - t0;
    return y;
}

/* The core with the given stages; with two microphones the second is the first, 6 dB down. The
 * output is microphone 1's channel. */
Process core_stages(int rate, const int on[6], const std::function<void(uint8_t *)> &tweak = nullptr,
                    int mics = 1) {
    return [rate, on = std::vector<int>(on, on + 6), tweak, mics](const Pcm &x) {
        uint8_t p[ZORVO_RECORD_PARAMS_SIZE];
        stage_params(p, rate, on.data(), mics);
        if (tweak) {
            tweak(p);
        }
        Pcm x2(x.size());
        for (size_t i = 0; i < x.size(); i++) {
            x2[i] = (int16_t)(x[i] / 2);
        }
        return run_core(rate, p, x, x2);
    };
}

struct Speex {
    SpeexPreprocessState *st;
    Speex(int rate, bool denoise, bool agc) {
        st = speex_preprocess_state_init(rate / 100, rate);
        int on = denoise, a = agc;
        speex_preprocess_ctl(st, SPEEX_PREPROCESS_SET_DENOISE, &on);
        speex_preprocess_ctl(st, SPEEX_PREPROCESS_SET_AGC, &a);
        if (agc) {
            float level = 32768.0f * powf(10, -18 / 20.0f);
            speex_preprocess_ctl(st, SPEEX_PREPROCESS_SET_AGC_LEVEL, &level);
        }
    }
    ~Speex() { speex_preprocess_state_destroy(st); }
};

Process speex(int rate, bool denoise, bool agc) {
    return [=](const Pcm &x) {
        Speex s(rate, denoise, agc);
        Pcm y = x;
        size_t n = (size_t)rate / 100;
        for (size_t at = 0; at + n <= y.size(); at += n) {
            speex_preprocess_run(s.st, &y[at]);
        }
        return y;
    };
}

enum WebrtcParts { W_HPF = 1, W_NS_MOD = 2, W_NS_HIGH = 4, W_AGC = 8 };

Process webrtc(int rate, int parts) {
    return [=](const Pcm &x) {
        std::unique_ptr<webrtc::AudioProcessing> apm(webrtc::AudioProcessing::Create());
        apm->high_pass_filter()->Enable((parts & W_HPF) != 0);
        if (parts & (W_NS_MOD | W_NS_HIGH)) {
            apm->noise_suppression()->set_level((parts & W_NS_HIGH) ? webrtc::NoiseSuppression::kHigh
                                                                    : webrtc::NoiseSuppression::kModerate);
            apm->noise_suppression()->Enable(true);
        }
        if (parts & W_AGC) {
            apm->gain_control()->set_mode(webrtc::GainControl::kAdaptiveDigital);
            apm->gain_control()->set_target_level_dbfs(18);
            apm->gain_control()->Enable(true);
        }
        webrtc::AudioFrame f;
        f.sample_rate_hz_ = rate;
        f.samples_per_channel_ = (size_t)rate / 100;
        f.num_channels_ = 1;
        Pcm y(x.size(), 0);
        size_t n = (size_t)rate / 100;
        for (size_t at = 0; at + n <= x.size(); at += n) {
            memcpy(f.data_, &x[at], n * 2);
            apm->ProcessStream(&f);
            memcpy(&y[at], f.data_, n * 2);
        }
        return y;
    };
}

/* sox with an effect chain, through temporary WAV files. */
Process sox(int rate, const std::string &effects) {
    return [=](const Pcm &x) {
        char in[] = "/tmp/bench_record_XXXXXX";
        int fd = mkstemp(in);
        close(fd);
        std::string inw = std::string(in) + ".wav";
        write_wav(inw, rate, 1, x);
        std::string cmd = "sox -D " + inw + " -t raw -e signed -b 16 -c 1 -r " + std::to_string(rate) +
                          " - " + effects + " 2>/dev/null";
        Pcm y;
        FILE *p = popen(cmd.c_str(), "r");
        if (p != nullptr) {
            int16_t buf[4096];
            size_t got;
            while ((got = fread(buf, 2, 4096, p)) > 0) {
                y.insert(y.end(), buf, buf + got);
            }
            pclose(p);
        }
        unlink(in);
        unlink(inw.c_str());
        y.resize(x.size(), 0);
        return y;
    };
}

double run_seconds(const Process &p, const Pcm &x) {
    double t0 = thread_seconds();
    Pcm y = p(x);
    (void)y;
    return thread_seconds() - t0;
}

/* ---------------- tables ---------------- */

const int STAGE_HLPF[6] = {0, 0, 0, 0, 1, 0};
const int STAGE_EQ[6] = {0, 0, 0, 1, 0, 0};
const int STAGE_DRC[6] = {0, 1, 0, 0, 0, 0};
const int STAGE_AGC[6] = {0, 0, 1, 0, 0, 0};
const int STAGE_RNR[6] = {0, 0, 0, 0, 0, 1};
const int STAGE_ALL[6] = {1, 1, 1, 1, 1, 1};

void table_hlpf() {
    printf("\n## High/low-pass filter: measured response against the stored section's exact response\n\n");
    printf("| section | corner | max error (response > -20 dB) | at |\n|---|---|---|---|\n");
    struct Row {
        const char *name;
        int rate, mode, index;
        const int16_t (*a)[3], (*b)[3];
        double corner;
    };
    const Row rows[] = {
        {"high-pass 16 kHz #0", 16000, 1, 0, record_record_g_zorvo_hlpf_hpf_coef_a_16k,
         record_record_g_zorvo_hlpf_hpf_coef_b_16k, 80},
        {"high-pass 16 kHz #3", 16000, 1, 3, record_record_g_zorvo_hlpf_hpf_coef_a_16k,
         record_record_g_zorvo_hlpf_hpf_coef_b_16k, 150},
        {"high-pass 48 kHz #0", 48000, 1, 0, record_record_g_zorvo_hlpf_hpf_coef_a_48k,
         record_record_g_zorvo_hlpf_hpf_coef_b_48k, 92},
        {"high-pass 48 kHz #3", 48000, 1, 3, record_record_g_zorvo_hlpf_hpf_coef_a_48k,
         record_record_g_zorvo_hlpf_hpf_coef_b_48k, 152},
        {"low-pass 16 kHz #0", 16000, 0, 0, record_record_g_zorvo_hlpf_lpf_coef_a_16k,
         record_record_g_zorvo_hlpf_lpf_coef_b_16k, 7000},
        {"low-pass 48 kHz #3", 48000, 0, 3, record_record_g_zorvo_hlpf_lpf_coef_a_48k,
         record_record_g_zorvo_hlpf_lpf_coef_b_48k, 17000},
    };
    for (const Row &r : rows) {
        std::vector<double> f;
        for (double v = 20; v < r.rate / 2.0 * 0.98; v *= 1.2) {
            f.push_back(v);
        }
        Process p = core_stages(r.rate, STAGE_HLPF, [&](uint8_t *q) {
            q[ZR_OFF_HLPF] = (uint8_t)r.mode;
            q[ZR_OFF_HLPF + 4] = (uint8_t)r.index;
            q[ZR_OFF_HLPF + 6] = (uint8_t)r.index;
        });
        std::vector<double> g = multitone_response(p, r.rate, f, -40, 2.0);
        double worst = 0, at = 0;
        for (size_t k = 0; k < f.size(); k++) {
            std::complex<double> z = std::polar(1.0, -2 * M_PI * f[k] / r.rate);
            const int16_t *b = r.b[r.index], *a = r.a[r.index];
            double exact = 20 * log10(std::abs(((double)b[0] + (double)b[1] * z + (double)b[2] * z * z) /
                                               (4096.0 - (double)a[1] * z - (double)a[2] * z * z)));
            if (exact > -20 && fabs(g[k] - exact) > fabs(worst)) {
                worst = g[k] - exact;
                at = f[k];
            }
        }
        printf("| %s | %.0f Hz | %+.3f dB | %.0f Hz |\n", r.name, r.corner, worst, at);
    }
    /* references: the corners of WebRTC's high-pass and of sox's two-pole Butterworth */
    for (int rate : {16000, 48000}) {
        std::vector<double> f = {40, 60, 80, 100, 150, 200, 400, 1000};
        std::vector<double> w = multitone_response(webrtc(rate, W_HPF), rate, f, -40, 2.0);
        std::vector<double> s = multitone_response(sox(rate, "highpass 80"), rate, f, -40, 2.0);
        printf("| (WebRTC HPF %d Hz: 40/60/80/100/150 Hz) | - | %.1f / %.1f / %.1f / %.1f / %.1f dB | - |\n",
               rate, w[0], w[1], w[2], w[3], w[4]);
        printf("| (sox highpass 80, %d Hz: 40/60/80/100/150 Hz) | 80 Hz | %.1f / %.1f / %.1f / %.1f / %.1f "
               "dB | - |\n",
               rate, s[0], s[1], s[2], s[3], s[4]);
    }
}

void table_eq() {
    printf("\n## Equaliser: response against the band gains (band centres from 500 Hz up)\n\n");
    printf("| rate | curve | max error | at | delay |\n|---|---|---|---|---|\n");
    struct Curve {
        const char *name;
        int8_t g[10];
    };
    const Curve curves[] = {
        {"control gains all 0 (defaults)", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"voice lift 0,-3,-3,0,2,4,6,6,3,0", {0, -3, -3, 0, 2, 4, 6, 6, 3, 0}},
        {"steps -10..+10", {-10, -6, -2, 2, 6, 10, 6, 2, -2, -6}},
        {"(also) bass lift 12,10,6,3,0,...", {12, 10, 6, 3, 0, 0, 0, 0, 0, 0}},
        {"(also) presence -5,-5,0,5,10,10,5,0,-5,-10", {-5, -5, 0, 5, 10, 10, 5, 0, -5, -10}},
    };
    for (int rate : {16000, 48000}) {
        for (const Curve &c : curves) {
            vqe_record_user_params u = {};
            u.eq_on = 1;
            u.mic_num = 1;
            u.out_num = 1;
            memcpy(u.eq_gains, c.g, 10);
            uint8_t rec[ZORVO_RECORD_PARAMS_SIZE];
            vqe_record_build_params(rec, 1, &u);
            const int8_t *bands = (const int8_t *)(rec + ZR_OFF_EQ);
            std::vector<double> f, want;
            int used = rate == 16000 ? 30 : 50;
            static const int edges[50] = {
                60,    100,   150,   200,   250,   350,   500,   800,   1200,  1600,  2000,  2400,  2500,
                2800,  3100,  3400,  3600,  3800,  3900,  4000,  4500,  5000,  5500,  6000,  6500,  7000,
                7300,  7600,  7800,  8000,  8800,  9600,  10400, 11200, 12000, 12800, 13600, 14400, 15200,
                16000, 16800, 17600, 18400, 19200, 20000, 20800, 21600, 22400, 23200, 24000};
            for (int j = 7; j < used; j++) {
                f.push_back(0.5 * (edges[j - 1] + edges[j]));
                want.push_back(bands[j] + bands[50]);
            }
            Process p = core_stages(rate, STAGE_EQ, [&](uint8_t *q) { memcpy(q + ZR_OFF_EQ, bands, 51); });
            std::vector<double> g = multitone_response(p, rate, f, -45, 2.0);
            double worst = 0, at = 0;
            for (size_t k = 0; k < f.size(); k++) {
                if (fabs(g[k] - want[k]) > fabs(worst)) {
                    worst = g[k] - want[k];
                    at = f[k];
                }
            }
            printf("| %d Hz | %s | %+.2f dB | %.0f Hz | %d samples |\n", rate, c.name, worst, at,
                   rate == 16000 ? 79 : 159);
        }
    }
}

double curve_out_db(double in_db) {
    const double kin[6] = {0, -1, -472, -792, -960, -1280}, kout[6] = {-1, -1, -174, -528, -736, -1200};
    double l = in_db * 16;
    if (l >= kin[1]) {
        return -1 / 16.0;
    }
    for (int k = 1; k < 5; k++) {
        if (l >= kin[k + 1]) {
            return (kout[k + 1] + (l - kin[k + 1]) * (kout[k] - kout[k + 1]) / (kin[k] - kin[k + 1])) / 16;
        }
    }
    return l * kout[5] / kin[5] / 16;
}

void table_drc() {
    printf("\n## Compressor: static curve (1 kHz sine, peak levels) and timing (step -40 to -10 dBFS)\n\n");
    printf("| system | curve error (-70..0 dBFS peak) | attack | release | overshoot "
           "|\n|---|---|---|---|---|\n");
    std::vector<double> levels;
    for (double l = -70; l <= -3; l += 3) {
        levels.push_back(l);
    }
    /* the knees as sox compand points (dB), the same curve */
    std::string pts = "-90,-84.4,-80,-75,-60,-46,-49.5,-33,-29.5,-10.9,-0.1,-0.1";
    struct Sys {
        const char *name;
        Process p;
    };
    for (int rate : {16000, 48000}) {
        Sys systems[] = {
            {"vqe_record compressor", core_stages(rate, STAGE_DRC)},
            {"sox compand 5 ms / 220 ms, same knees", sox(rate, "compand 0.005,0.22 " + pts)},
        };
        for (Sys &s : systems) {
            std::vector<double> rms_in;
            for (double l : levels) {
                rms_in.push_back(l - 3.0103);
            }
            std::vector<double> out = static_curve(s.p, rate, rms_in, g_quick ? 1.0 : 1.5);
            double worst = 0;
            for (size_t k = 0; k < levels.size(); k++) {
                double want = curve_out_db(levels[k]) - 3.0103;
                if (fabs(out[k] - want) > fabs(worst)) {
                    worst = out[k] - want;
                }
            }
            StepTiming t = step_timing(s.p, rate, -40, -10);
            printf("| %s, %d Hz | %+.2f dB | %.0f ms | %.0f ms | %.1f dB |\n", s.name, rate, worst,
                   t.attack_ms, t.release_ms, t.overshoot_db);
        }
    }
}

/* Output speech level (active frames of the clean speech) over the last half of the scene. */
double active_level(const Wave &clean, const Pcm &out, int rate, size_t from) {
    std::vector<int> fr = speech_frames(clean, rate);
    size_t f = (size_t)rate / 50;
    double e = 0;
    size_t n = 0;
    for (size_t k = from / f; k < fr.size(); k++) {
        if (fr[k] == 1) {
            for (size_t i = k * f; i < (k + 1) * f && i < out.size(); i++) {
                e += (double)out[i] * out[i];
                n++;
            }
        }
    }
    return n ? 10 * log10(e / (double)n / (32768.0 * 32768.0)) : -200;
}

void table_agc(const Wave &speech16, const Wave &speech48) {
    printf("\n## AGC: output speech level across input levels, step response, noise in pauses\n\n");
    printf("| system | out level at -40 / -30 / -20 / -10 dBFS | spread -40..-20 | spread all | settle | "
           "overshoot | noise gain |\n|---|---|---|---|---|---|---|\n");
    for (int rate : {16000, 48000}) {
        const Wave &sp = rate == 16000 ? speech16 : speech48;
        struct Sys {
            const char *name;
            Process p;
        };
        Sys systems[] = {
            {"vqe_record AGC", core_stages(rate, STAGE_AGC)},
            {"vqe_record AGC, frequency-domain control 12 dB",
             core_stages(rate, STAGE_AGC, [](uint8_t *q) { q[ZR_OFF_AGC + 4] = 12; })},
            {"speexdsp AGC (target -18 dBFS)", speex(rate, false, true)},
            {"WebRTC AGC adaptive digital (-18 dBFS)", webrtc(rate, W_AGC)},
        };
        for (Sys &s : systems) {
            std::vector<double> lv;
            std::vector<double> levels = {-40, -35, -30, -25, -20, -15, -10};
            for (double l : levels) {
                Wave x = sp;
                set_level(x, l);
                Pcm y = s.p(to_pcm(x));
                lv.push_back(active_level(x, y, rate, x.size() / 2));
            }
            double lo = 1e9, hi = -1e9, lo2 = 1e9, hi2 = -1e9;
            for (size_t k = 0; k < levels.size(); k++) {
                lo = std::min(lo, lv[k]);
                hi = std::max(hi, lv[k]);
                if (levels[k] <= -20) {
                    lo2 = std::min(lo2, lv[k]);
                    hi2 = std::max(hi2, lv[k]);
                }
            }
            /* step: the same speech at -40 then -10 dBFS; 200 ms windows of active speech */
            Wave a = sp, b = sp;
            set_level(a, -40);
            set_level(b, -10);
            Wave step = a;
            step.insert(step.end(), b.begin(), b.end());
            Pcm y = s.p(to_pcm(step));
            size_t w = (size_t)rate / 5, start = a.size();
            std::vector<int> fr = speech_frames(step, rate);
            double settled = active_level(step, y, rate, start + b.size() / 2);
            double over = -200, settle = -1;
            for (size_t at = start; at + w <= step.size(); at += w / 2) {
                double l = rms_dbfs(y, at, at + w), li = rms_dbfs(step, at, at + w);
                if (li < -40) {
                    continue; /* a pause */
                }
                over = std::max(over, l - settled - (li - (-10 + 0)) * 0);
            }
            for (size_t at = start; at + w <= step.size(); at += w / 2) {
                bool ok = true;
                for (size_t bt = at; bt + w <= step.size(); bt += w / 2) {
                    double li = rms_dbfs(step, bt, bt + w);
                    if (li > -25 && fabs(rms_dbfs(y, bt, bt + w) - li - (settled + 10)) > 6) {
                        ok = false;
                        break;
                    }
                }
                if (ok) {
                    settle = (double)(at - start) / rate;
                    break;
                }
            }
            /* noise: speech at -35 dBFS with car noise 20 dB below, pauses compared */
            Wave q = sp;
            set_level(q, -35);
            Wave noise = car_noise(q.size(), rate, 41);
            Wave mix = mix_at_snr(q, noise, 20);
            Pcm ym = s.p(to_pcm(mix));
            std::vector<int> qf = speech_frames(q, rate);
            double ng = -noise_attenuation(mix, to_wave(ym), qf, rate, (double)q.size() / rate / 2);
            printf("| %s, %d Hz | %.1f / %.1f / %.1f / %.1f dBFS | %.1f dB | %.1f dB | %s | %.1f dB | %+.1f "
                   "dB |\n",
                   s.name, rate, lv[0], lv[2], lv[4], lv[6], hi2 - lo2, hi - lo,
                   settle < 0 ? "never" : (std::to_string(settle).substr(0, 4) + " s").c_str(), over, ng);
            fflush(stdout);
        }
    }
}

void table_rnr(const Wave &speech16, const Wave &speech48) {
    printf("\n## Noise reduction: speech at -26 dBFS with noise at 0 dB SNR\n\n");
    printf("| system | noise | NA in pauses | speech loss | SDR (in -> out) | STOI (in -> out) "
           "|\n|---|---|---|---|---|---|\n");
    for (int rate : {16000, 48000}) {
        if (g_quick && rate == 48000) {
            continue;
        }
        const Wave &sp = rate == 16000 ? speech16 : speech48;
        struct Noise {
            const char *name;
            Wave w;
        };
        Noise noises[] = {{"car", car_noise(sp.size(), rate, 7)},
                          {"wind", wind_gusts(sp.size(), rate, 8)},
                          {"white", white_noise(sp.size(), 9)}};
        for (Noise &nz : noises) {
            Wave clean = sp;
            set_level(clean, -26);
            Wave mix = mix_at_snr(clean, nz.w, 0);
            if (!g_out.empty()) {
                write_wav(g_out + "/rnr_" + nz.name + "_" + std::to_string(rate) + ".wav", rate, 1,
                          to_pcm(mix));
            }
            std::vector<int> fr = speech_frames(clean, rate);
            double skip = 2.0;
            size_t from = (size_t)(skip * rate);
            Wave cin(clean.begin() + (long)from, clean.end()), min(mix.begin() + (long)from, mix.end());
            double sdr_in = sdr(cin, min), stoi_in = stoi(cin, min, rate);
            struct Sys {
                const char *name;
                Process p;
            };
            Sys systems[] = {
                {"vqe_record noise reduction", core_stages(rate, STAGE_RNR)},
                {"speexdsp denoise", speex(rate, true, false)},
                {"WebRTC NS moderate", webrtc(rate, W_NS_MOD)},
                {"WebRTC NS high", webrtc(rate, W_NS_HIGH)},
            };
            for (Sys &s : systems) {
                Wave y = to_wave(s.p(to_pcm(mix)));
                size_t lag = find_lag(clean, y, (size_t)rate / 10);
                Wave ya = shift_back(y, lag, clean.size());
                double na = noise_attenuation(mix, ya, fr, rate, skip);
                double loss = speech_loss(clean, ya, fr, rate, skip);
                Wave yo(ya.begin() + (long)from, ya.end());
                printf("| %s, %d Hz | %s | %.1f dB | %.1f dB | %.1f -> %.1f dB | %.3f -> %.3f |\n", s.name,
                       rate, nz.name, na, loss, sdr_in, sdr(cin, yo), stoi_in, stoi(cin, yo, rate));
                fflush(stdout);
            }
        }
    }
}

/* Two microphones, each with its own noise (seeds differ), microphone 2 hearing the talker
 * `lag` samples later; channel 1 of the core with the given stages, the combination on or off. */
Pcm core_two_mics(int rate, const int on[6], bool mc, const Pcm &m1, const Pcm &m2) {
    uint8_t p[ZORVO_RECORD_PARAMS_SIZE];
    stage_params(p, rate, on, 2);
    p[ZR_OFF_MC_ON] = mc ? 1 : 0;
    return run_core(rate, p, m1, m2);
}

void table_mc(const Wave &speech16, const Wave &speech48) {
    printf("\n## Two-microphone combination: speech at -26 dBFS, each microphone with its own noise at 0 dB "
           "SNR, microphone 2 0.19 ms later\n\n");
    printf("| stages | noise | combination | NA in pauses | speech loss | SDR (mic 1 in -> out) | STOI (mic "
           "1 in "
           "-> out) |\n|---|---|---|---|---|---|---|\n");
    const int none[6] = {0, 0, 0, 0, 0, 0};
    for (int rate : {16000, 48000}) {
        const Wave &sp = rate == 16000 ? speech16 : speech48;
        size_t lag = rate == 16000 ? 3 : 9;
        struct Noise {
            const char *name;
            Wave a, b;
        };
        Noise noises[] = {{"car", car_noise(sp.size(), rate, 7), car_noise(sp.size(), rate, 17)},
                          {"wind", wind_gusts(sp.size(), rate, 8), wind_gusts(sp.size(), rate, 18)},
                          {"white", white_noise(sp.size(), 9), white_noise(sp.size(), 19)}};
        for (Noise &nz : noises) {
            Wave clean = sp;
            set_level(clean, -26);
            Wave late(clean.size(), 0);
            for (size_t i = lag; i < clean.size(); i++) {
                late[i] = clean[i - lag];
            }
            Wave mix1 = mix_at_snr(clean, nz.a, 0), mix2 = mix_at_snr(late, nz.b, 0);
            std::vector<int> fr = speech_frames(clean, rate);
            double skip = 2.0;
            size_t from = (size_t)(skip * rate);
            Wave cin(clean.begin() + (long)from, clean.end()), min(mix1.begin() + (long)from, mix1.end());
            double sdr_in = sdr(cin, min), stoi_in = stoi(cin, min, rate);
            for (int stages = 0; stages < 2; stages++) {
                for (bool mc : {false, true}) {
                    Wave y = to_wave(
                        core_two_mics(rate, stages ? STAGE_RNR : none, mc, to_pcm(mix1), to_pcm(mix2)));
                    size_t d = find_lag(clean, y, (size_t)rate / 10);
                    Wave ya = shift_back(y, d, clean.size());
                    double na = noise_attenuation(mix1, ya, fr, rate, skip);
                    double loss = speech_loss(clean, ya, fr, rate, skip);
                    Wave yo(ya.begin() + (long)from, ya.end());
                    printf("| %s, %d Hz | %s | %s | %.1f dB | %.1f dB | %.1f -> %.1f dB | %.3f -> %.3f |\n",
                           stages ? "noise reduction" : "none", rate, nz.name, mc ? "on" : "off", na, loss,
                           sdr_in, sdr(cin, yo), stoi_in, stoi(cin, yo, rate));
                    fflush(stdout);
                }
            }
        }
    }
}

void table_rtf(const Wave &speech16, const Wave &speech48) {
    printf("\n## Real-time factor on one core (processing time / audio time, calling thread)\n\n");
    printf("| system | 16000 Hz | 48000 Hz |\n|---|---|---|\n");
    /* core: the core's own time (g_core_seconds), not the harness's buffers around it */
    auto both = [&](const char *name, const std::function<Process(int)> &make, bool core = false) {
        double r[2];
        int i = 0;
        for (int rate : {16000, 48000}) {
            const Wave &sp = rate == 16000 ? speech16 : speech48;
            Pcm x = to_pcm(mix_at_snr(sp, car_noise(sp.size(), rate, 3), 5));
            Process p = make(rate);
            double best = 1e9;
            for (int k = 0; k < 3; k++) {
                double t = run_seconds(p, x);
                best = std::min(best, core ? g_core_seconds : t);
            }
            r[i++] = best / ((double)x.size() / rate);
        }
        printf("| %s | %.4f | %.4f |\n", name, r[0], r[1]);
        fflush(stdout);
    };
    both(
        "vqe_record, every stage on, one microphone", [](int rate) { return core_stages(rate, STAGE_ALL); },
        true);
    both(
        "vqe_record, every stage on, two microphones",
        [](int rate) { return core_stages(rate, STAGE_ALL, nullptr, 2); }, true);
    both(
        "vqe_record, every stage and the two-microphone combination on",
        [](int rate) {
            return core_stages(
                rate, STAGE_ALL, [](uint8_t *q) { q[ZR_OFF_MC_ON] = 1; }, 2);
        },
        true);
    both("(the same two microphones, harness buffers counted)",
         [](int rate) { return core_stages(rate, STAGE_ALL, nullptr, 2); });
    const int no_rnr[6] = {1, 1, 1, 1, 1, 0};
    both(
        "vqe_record without noise reduction", [&](int rate) { return core_stages(rate, no_rnr); }, true);
    both(
        "vqe_record noise reduction alone", [](int rate) { return core_stages(rate, STAGE_RNR); }, true);
    both(
        "vqe_record equaliser alone", [](int rate) { return core_stages(rate, STAGE_EQ); }, true);
    both("WebRTC HPF + NS + AGC", [](int rate) { return webrtc(rate, W_HPF | W_NS_MOD | W_AGC); });
    both("speexdsp denoise + AGC", [](int rate) { return speex(rate, true, true); });
}

} // namespace

int main(int argc, char **argv) {
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--quick") == 0) {
            g_quick = true;
        } else if (strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            g_only = argv[++i];
        } else if (strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            g_out = argv[++i];
        } else {
            fprintf(stderr,
                    "usage: bench_record [--quick] [--only hlpf,eq,drc,agc,rnr,mc,rtf] [--out DIR]\n");
            return 2;
        }
    }
    double secs = g_quick ? 8 : 14;
    Wave s16 = speech_track(16000, secs, -26), s48 = speech_track(48000, secs, -26);
    if (s16.empty() || s48.empty()) {
        fprintf(stderr, "bench_record: espeak-ng or sox failed\n");
        return 1;
    }
    printf("# Recording chain measurements\n\nScenes: espeak-ng speech (%.0f s, two voices, 1 s gaps), car "
           "noise "
           "(brown + pink + engine harmonics), wind gusts; see bench/audio_metrics.\n",
           secs);
    if (wanted("hlpf")) {
        table_hlpf();
    }
    if (wanted("eq")) {
        table_eq();
    }
    if (wanted("drc")) {
        table_drc();
    }
    if (wanted("agc")) {
        table_agc(s16, s48);
    }
    if (wanted("rnr")) {
        table_rnr(s16, s48);
    }
    if (wanted("mc")) {
        table_mc(s16, s48);
    }
    if (wanted("rtf")) {
        table_rtf(s16, s48);
    }
    return 0;
}
