#include "record_agc.h"

#include "audio_eq.h"
#include "record_common.h"

#define DB16(x) ((x)*16)

int record_record_zorvo_agc_init(record_agc_state *st, int rate_code, int channels) {
    if (st == NULL) {
        return -1;
    }
    if ((rate_code != 1 && rate_code != 2) || channels < 1 || channels > RECORD_AGC_CHANNELS) {
        return -2;
    }
    audio_fill(st, sizeof(*st), 0, sizeof(*st));
    st->rate_code = rate_code;
    st->frame = rate_code == 1 ? 160 : 480;
    st->channels = channels;
    static const uint8_t defaults[RECORD_AGC_PARAM_SIZE] = {
        0xFD, 0xCE, 2,    0xFF, 0, 2, 0, 0xD8, 0, 0, 0x00, 0x04, 0x00,
        0x0C, 0x00, 0x08, 0,    0, 0, 0, 0,    0, 0, 0x02, 50,
    };
    audio_copy(st->params, sizeof(st->params), defaults, sizeof(defaults));
    record_record_zorvo_vdr_level_init(&st->vad);
    record_record_zorvo_vdr_level_init(&st->low_vad);
    /* Butterworth high-pass at 250 Hz (bilinear), Q24: b0 (b1 = -2 b0, b2 = b0), a1, a2 */
    static const int32_t split[2][3] = {{15652004, -31228458, 14602343}, {16393448, -32778116, 16018459}};
    for (int k = 0; k < 3; k++) {
        st->split_q24[k] = split[rate_code - 1][k];
    }
    record_zorvo_fft_init(&st->plan, 128);
    for (int i = 0; i < 160; i++) {
        /* sin^2(pi (i + 0.5) / 160): half a turn over the frame */
        int32_t sn;
        audio_eq_sincos((uint32_t)(((uint64_t)(2 * i + 1) << 32) / 640u), &sn, NULL);
        st->hann[i] = (int16_t)(((int64_t)sn * sn) >> 45 > 32767 ? 32767 : ((int64_t)sn * sn) >> 45);
    }
    st->speech16 = DB16(-96);
    st->tag = st->tag_tail = RECORD_AGC_TAG;
    return 0;
}

int record_record_zorvo_agc_set_params(record_agc_state *st, const void *block) {
    if (st == NULL || block == NULL) {
        return -1;
    }
    const uint8_t *p = block;
    int target = (int8_t)p[0], gate = (int8_t)p[1], lowest = (int8_t)p[7];
    if (target > 0 || target < -96 || gate < -96 || gate > 0 || lowest < -96 || lowest > 0) {
        return -4;
    }
    if (p[4] > 40) {
        return -4;
    }
    if (p[5] == 0) {
        return -5;
    }
    audio_copy(st->params, sizeof(st->params), p, RECORD_AGC_PARAM_SIZE);
    return 0;
}

int record_record_zorvo_agc_get_params(const record_agc_state *st, void *block) {
    if (st == NULL || block == NULL) {
        return -1;
    }
    return audio_copy(block, RECORD_AGC_PARAM_SIZE, st->params, RECORD_AGC_PARAM_SIZE) == 0 ? 0 : -1;
}

static void apply_gain(const int32_t *in, int32_t *out, int n, int32_t g0, int32_t g1) {
    /* the gain steps by (g1 - g0) / n a sample in Q16, reaching g1 on the last sample */
    int64_t step = ((int64_t)g1 - g0) * 65536 / n, g = (int64_t)g0 * 65536;
    for (int i = 0; i < n - 1; i++) {
        g += step;
        out[i] = rec_sat32(((int64_t)in[i] * (g >> 16) + (1 << 14)) >> 15);
    }
    out[n - 1] = rec_sat32(((int64_t)in[n - 1] * g1 + (1 << 14)) >> 15);
}

/* Power of the band below 250 Hz (bins 1..4) of the analysis frame, in 1/16 dB of its own scale. */
static int32_t low_band_db16(record_agc_state *st, const int32_t *ana) {
    int32_t buf[256 + 2];
    record_cpx bins[129];
    for (int i = 0; i < 256; i++) {
        /* 16-bit scale times the Q15 window, lifted by 12 bits for the transform's precision */
        buf[i] = i < 160 ? (int32_t)(((int64_t)ana[i] * st->hann[i]) >> 3) : 0;
    }
    record_zorvo_fft_r2c_fwd_scaled(&st->plan, buf, bins);
    uint64_t pw = 0;
    for (int k = 1; k <= 4; k++) {
        pw += (uint64_t)((int64_t)bins[k].r * bins[k].r + (int64_t)bins[k].i * bins[k].i) >> 4;
    }
    return rec_power_db16(pw, 0);
}

/* The frame split by the 250 Hz high-pass: its high part ramps g0 -> g1, the rest l0 -> l1
 * (Q15 gains). */
static void apply_split_gain(record_agc_state *st, int ch, const int32_t *in, int32_t *out, int32_t g0,
                             int32_t g1, int32_t l0, int32_t l1) {
    int n = st->frame;
    int64_t step = ((int64_t)g1 - g0) * 65536 / n, g = (int64_t)g0 * 65536;
    int64_t lstep = ((int64_t)l1 - l0) * 65536 / n, l = (int64_t)l0 * 65536;
    int64_t b0 = st->split_q24[0], a1 = st->split_q24[1], a2 = st->split_q24[2];
    int64_t *m = st->split_mem[ch]; /* x[n-1], x[n-2], y[n-1], y[n-2] */
    for (int i = 0; i < n; i++) {
        g += step;
        l += lstep;
        int64_t gi = i == n - 1 ? g1 : g >> 16, li = i == n - 1 ? l1 : l >> 16;
        int64_t x = in[i];
        int64_t hp = (b0 * (x - 2 * m[0] + m[1]) - a1 * m[2] - a2 * m[3] + (1 << 23)) >> 24;
        m[1] = m[0];
        m[0] = x;
        m[3] = m[2];
        m[2] = hp;
        /* high part at the time-domain gain, the rest (below 250 Hz) at the low gain */
        out[i] = rec_sat32((hp * gi + (x - hp) * li + (1 << 14)) >> 15);
    }
}

int record_record_zorvo_agc_apply(record_agc_state *st, const int32_t *in1, const int32_t *in2, int32_t *out1,
                                  int32_t *out2) {
    if (st == NULL) {
        return -1;
    }
    if (st->tag != RECORD_AGC_TAG || st->tag_tail != RECORD_AGC_TAG) {
        return -5;
    }
    int two = st->channels == 2;
    if (in1 == NULL || out1 == NULL || (two && (in2 == NULL || out2 == NULL))) {
        return -6;
    }
    const uint8_t *p = st->params;
    int32_t target = DB16((int8_t)p[0]), gate = DB16((int8_t)p[1]), lowest = DB16((int8_t)p[7]);
    int32_t rise = p[2] * 5 * 16 / 100; /* 1/16 dB per frame */
    rise = rise < 1 ? 1 : rise;
    int32_t fall = DB16(p[5]);
    /* analysis at 16000 Hz: frame mean square and peak of the louder channel, 16-bit scale */
    int step = st->rate_code == 2 ? 3 : 1, n16 = st->frame / step;
    uint64_t best_ms = 0, best_hp = 0;
    int32_t peak = 0;
    int32_t ana[RECORD_AGC_CHANNELS][160];
    int loud = 0;
    for (int c = 0; c < st->channels; c++) {
        const int32_t *x = c == 0 ? in1 : in2;
        uint64_t ms = 0, hp = 0;
        int64_t prev = st->last[c];
        for (int i = 0; i < n16; i++) {
            int64_t s = 0;
            for (int k = 0; k < step; k++) {
                s += x[i * step + k];
            }
            int64_t v = (s / step) >> REC_CHAIN_SHIFT;
            ana[c][i] = (int32_t)v;
            ms += (uint64_t)(v * v);
            /* the first difference tilts the spectrum up by 6 dB an octave: road and engine
             * rumble, which falls by about as much, no longer passes for speech */
            hp += (uint64_t)((v - prev) * (v - prev));
            prev = v;
        }
        st->last[c] = (int32_t)prev;
        ms /= (uint64_t)n16;
        hp /= (uint64_t)n16;
        loud = ms > best_ms ? c : loud;
        best_ms = ms > best_ms ? ms : best_ms;
        best_hp = hp > best_hp ? hp : best_hp;
        for (int i = 0; i < st->frame; i++) {
            int32_t a = x[i] < 0 ? -(x[i] + 1) : x[i];
            peak = a > peak ? a : peak;
        }
    }
    int32_t level = rec_power_db16(best_ms, 15); /* dBFS of the mean square, 1/16 dB */
    int32_t tilted = rec_power_db16(best_hp, 15);
    int speech = record_record_zorvo_vdr_level_decide(&st->vad, tilted, level, gate);
    st->frames = st->frames < 1000000 ? st->frames + 1 : st->frames;
    int jump = 0; /* speech clearly louder than before: the gain follows within this frame */
    if (speech) {
        st->pause = 0;
        if (level > st->speech16) {
            jump = level > st->speech16 + DB16(3) && st->speech16 > DB16(-96);
            st->speech16 = level;
        } else if (st->frames % 2 == 0) {
            st->speech16 -= 1;
        }
    } else {
        st->pause = st->pause < 1000 ? st->pause + 1 : st->pause;
    }
    int32_t max_gain = target - DB16(12) - lowest;
    int32_t want = st->speech16 <= DB16(-96) ? 0 : target - DB16(12) - st->speech16;
    want = want > max_gain ? max_gain : (want < DB16(-20) ? DB16(-20) : want);
    int32_t g = st->gain16;
    if (st->pause == 20) {
        st->held16 = g; /* the speech gain, to come back to */
    }
    if (st->pause >= 20) {
        int32_t cap = DB16(6);
        if (g > cap) {
            g = g - DB16(2) < cap ? cap : g - DB16(2);
        }
        want = g < want ? g : want; /* no rising in pauses */
    }
    if (want > g) {
        int32_t up = st->pause == 0 && g < st->held16 ? DB16(4) : rise;
        int32_t top = st->pause == 0 && g < st->held16 && st->held16 < want ? st->held16 : want;
        g = g + up > top ? (g < top ? top : g + rise) : g + up;
        g = g > want ? want : g;
    } else if (want < g) {
        g = jump || g - fall < want ? want : g - fall;
    }
    /* the frame's own peak may not pass the target peak level */
    int32_t peak16 = rec_power_db16((uint64_t)peak * (uint64_t)peak, 15 + REC_CHAIN_SHIFT);
    if (peak16 + g > target) {
        g = target - peak16;
    }
    g = g > DB16(60) ? DB16(60) : g;
    int32_t g0 = rec_db16_to_q15(st->gain16), g1 = rec_db16_to_q15(g);
    if (peak16 + st->gain16 > target) {
        g0 = g1; /* no ramp from a gain that would pass the target */
    }
    int32_t cut0 = st->low_cut16;
    if (p[4] != 0) {
        /* the band below 250 Hz: only its noise, and the gain lifts? then it is lifted less */
        int32_t low16 = low_band_db16(st, ana[loud]);
        int busy = record_record_zorvo_vdr_level_decide(&st->low_vad, low16, low16, INT32_MIN);
        int32_t cut = busy || g <= 0 ? 0 : (g < DB16(p[4]) ? g : DB16(p[4]));
        st->low_cut16 += cut > st->low_cut16
                             ? (cut - st->low_cut16 > DB16(1) ? DB16(1) : cut - st->low_cut16)
                             : (st->low_cut16 - cut > DB16(1) ? -DB16(1) : cut - st->low_cut16);
    } else {
        st->low_cut16 = 0;
    }
    int32_t gain_before = st->gain16;
    st->gain16 = g;
    if (p[4] == 0 && cut0 == 0) {
        apply_gain(in1, out1, st->frame, g0, g1);
        if (two) {
            apply_gain(in2, out2, st->frame, g0, g1);
        }
        return 0;
    }
    int32_t l0 = g0 == g1 ? rec_db16_to_q15(g - cut0) : rec_db16_to_q15(gain_before - cut0);
    int32_t l1 = rec_db16_to_q15(g - st->low_cut16);
    apply_split_gain(st, 0, in1, out1, g0, g1, l0, l1);
    if (two) {
        apply_split_gain(st, 1, in2, out2, g0, g1, l0, l1);
    }
    return 0;
}
