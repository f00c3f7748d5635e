/*
 * Automatic gain control of the talk chain, on the time-domain frame after the overlap-add.
 *
 * Each frame's power level is compared with a tracked noise floor (starts at the first frame
 * that is not digital silence, follows falling levels at once, rises by `floor_rise` / 1024 dB per frame,
 * smoothed by `floor_smooth`). A frame is speech when the far end does not talk alone (the chain says so:
 * what remains then is residual echo), when it stands `act_thr` / 10 dB above the floor and above the gate
 * level; the speech level is then averaged in the power domain (`alpha` in Q16). The wanted gain brings that
 * level to `target` dBFS within `min_gain` / 10 .. `max_gain` / 4 dB. The applied gain moves towards it by at
 * most 2 x `rise` dB per second upwards (four times that during the first second of speech) and 10 x `fall`
 * dB per second downwards, and only while speech is present (or for `hold_ms` after it) when the gated mode
 * is on, so pauses and noise are not pumped up. Near the noise floor the gain is expanded downwards: a frame
 * within 18 dB of the floor is lifted by at most 6 dB when it lies at the floor, by the full gain 18 dB above
 * it, in proportion between (the gain returns at once when the level rises and falls by at most 3 dB a
 * frame), so a quiet talker's pauses are not raised 24 dB with the speech. Peak protection (on by default)
 * lowers the gain of a frame whose peak it would push past -0.2 dBFS. The gain is interpolated linearly
 * across the frame; the result becomes 32-bit chain samples.
 *
 * Block (offsets): 0 target dBFS; 2 max gain in 1/4 dB; 4 gate dBFS; 6 fall; 8 rise; 10 min
 * gain in 1/10 dB; 12 alpha (Q16); 16 hold ms; 20 activity threshold in 1/10 dB; 24 floor rise;
 * 28 floor smoothing in 1/1000; 30 peak protection; 32 gated mode.
 */
#include <math.h>
#include <string.h>

#include "vqe_internal.h"

#define AGC_SILENCE    -100.0f /* dBFS: a frame this quiet tells nothing of the noise floor */
#define AGC_EXPAND     18.0f   /* dB above the noise floor where the expansion starts */
#define AGC_PAUSE_GAIN 6.0f    /* dB: most gain a frame at the noise floor gets */
#define AGC_PAUSE_FALL 3.0f    /* dB per frame towards it */

int audio_vqe_agc_check_params(const uint8_t *b) {
    if (b == NULL) {
        return -32;
    }
    int16_t v0 = vqe_i16(b, 0), v2 = vqe_i16(b, 2), v4 = vqe_i16(b, 4), v6 = vqe_i16(b, 6),
            v8 = vqe_i16(b, 8);
    int16_t v10 = vqe_i16(b, 10);
    if (v0 < -120 || v0 > 0) {
        return -33;
    }
    if (v2 < -120 || v2 > 240) {
        return -34;
    }
    if (v4 < -120 || v4 > 0) {
        return -35;
    }
    if (v6 < 1 || v6 > 30) {
        return -36;
    }
    if (v8 < 1 || v8 > 30) {
        return -37;
    }
    if (v10 < -650 || v10 > 0) {
        return -38;
    }
    int32_t a = vqe_i32(b, 12), h = vqe_i32(b, 16), t = vqe_i32(b, 20), r = vqe_i32(b, 24);
    if (a < 0 || a > 65536) {
        return -39;
    }
    if (h < 0 || h > 65536) {
        return -40;
    }
    if (t < 0 || t > 1024) {
        return -41;
    }
    if (r < 0 || r > 1024) {
        return -42;
    }
    if (vqe_i16(b, 28) > 1000 || vqe_i16(b, 28) < 0) {
        return -44;
    }
    if (vqe_i16(b, 30) > 1 || vqe_i16(b, 30) < 0) {
        return -45;
    }
    if (vqe_i16(b, 32) > 1 || vqe_i16(b, 32) < 0) {
        return -46;
    }
    return 0;
}

int audio_vqe_agc_init(vqe_agc *st, int channels) {
    if (st == NULL) {
        return -1;
    }
    if (channels < 1 || channels > 3) {
        return -2;
    }
    memset(st, 0, sizeof(*st) + (size_t)channels * sizeof(vqe_agc_chan));
    st->guard0 = st->guard1 = VQE_GUARD;
    st->channels = channels;
    for (int c = 0; c < channels; c++) {
        st->chan[c].level_db = -30.0f;
        st->chan[c].floor_db = -60.0f;
        st->chan[c].gain_lin = 1.0f;
    }
    return 0;
}

int audio_vqe_agc_set_params(vqe_agc *st, const uint8_t *b) {
    if (st == NULL) {
        return -1;
    }
    int r = audio_vqe_agc_check_params(b);
    if (r != 0) {
        return r;
    }
    st->target = vqe_i16(b, 0);
    st->max_gain = vqe_i16(b, 2);
    st->gate = vqe_i16(b, 4);
    st->fall = vqe_i16(b, 6);
    st->rise = vqe_i16(b, 8);
    st->min_gain = vqe_i16(b, 10);
    st->alpha_q16 = vqe_i32(b, 12);
    st->hold_ms = vqe_i32(b, 16);
    st->act_thr = vqe_i32(b, 20);
    st->floor_rise = vqe_i32(b, 24);
    st->floor_smooth = vqe_i16(b, 28);
    st->peak_protect = vqe_i16(b, 30);
    st->gated = vqe_i16(b, 32);
    return 0;
}

int audio_vqe_voice_agc_apply(vqe_agc *st, const float *in, int32_t *out) {
    if (st == NULL || in == NULL || out == NULL) {
        return -1;
    }
    if (st->guard0 != VQE_GUARD || st->guard1 != VQE_GUARD) {
        return -2;
    }
    vqe_agc_chan *c = &st->chan[0];
    const float frame_s = (float)VQE_HOP / AUDIO_VQE_RATE;
    double pw = 0;
    float peak = 0;
    for (int i = 0; i < VQE_HOP; i++) {
        pw += (double)in[i] * in[i];
        float a = fabsf(in[i]);
        peak = a > peak ? a : peak;
    }
    float lev = (float)(10.0 * log10(pw / VQE_HOP / (32768.0 * 32768.0) + 1e-12));
    /* noise floor: taken from the first frame that is not digital silence, then tracked */
    if (c->calls++ == 0 || lev < c->floor_db || c->floor_db < AGC_SILENCE) {
        c->floor_db = lev;
    } else {
        float fs = st->floor_smooth / 1000.0f;
        float up = c->floor_db + st->floor_rise / 1024.0f;
        float next = fs * c->floor_db + (1.0f - fs) * lev;
        c->floor_db = next < up ? next : up;
    }
    int speech = lev > c->floor_db + st->act_thr / 10.0f && lev > st->gate && !st->far_only;
    if (speech) {
        float a = st->alpha_q16 / 65536.0f;
        if (c->frames == 0) {
            c->level_db = lev;
        }
        double e = a * pow(10.0, c->level_db / 10.0) + (1.0 - a) * pow(10.0, lev / 10.0);
        c->level_db = (float)(10.0 * log10(e + 1e-12));
        c->hold = 0;
        c->frames++;
    } else if (c->hold < 1000000) {
        c->hold++;
    }
    int adapt = !st->gated || speech || c->hold * frame_s * 1000.0f < st->hold_ms;
    if (adapt && c->frames > 0) {
        float want = st->target - c->level_db;
        float hi = st->max_gain / 4.0f, lo = st->min_gain / 10.0f;
        want = want > hi ? hi : (want < lo ? lo : want);
        /* faster during the first second of speech, so a call starts at its level */
        float boost = c->frames < 62 ? 4.0f : 1.0f;
        float up = 2.0f * st->rise * frame_s * boost, down = 10.0f * st->fall * frame_s;
        float d = want - c->gain_db;
        d = d > up ? up : (d < -down ? -down : d);
        c->gain_db += d;
    }
    /* downward expansion near the noise floor: a frame within AGC_EXPAND dB of the floor is lifted
     * by no more than AGC_PAUSE_GAIN (fully so at the floor, in proportion above it), so pauses are
     * not raised with the speech; the gain comes back at once when the level rises, and falls by at
     * most AGC_PAUSE_FALL dB a frame */
    float att = 0.0f;
    if (c->frames > 0 && c->gain_db > AGC_PAUSE_GAIN) {
        float frac = (c->floor_db + AGC_EXPAND - lev) / AGC_EXPAND;
        frac = frac < 0.0f ? 0.0f : (frac > 1.0f ? 1.0f : frac);
        att = frac * (AGC_PAUSE_GAIN - c->gain_db);
        att = att < c->pause_db - AGC_PAUSE_FALL ? c->pause_db - AGC_PAUSE_FALL : att;
    }
    c->pause_db = att;
    float g = powf(10.0f, (c->gain_db + att) / 20.0f);
    if (st->peak_protect && peak * g > 32400.0f) {
        g = 32400.0f / peak;
    }
    float g0 = c->gain_lin, step = (g - g0) / VQE_HOP;
    for (int i = 0; i < VQE_HOP; i++) {
        float v = in[i] * (g0 + step * (float)(i + 1));
        v = v > 1e9f ? 1e9f : (v < -1e9f ? -1e9f : v);
        out[i] = (int32_t)lrintf(v);
    }
    c->gain_lin = g;
    return 0;
}
