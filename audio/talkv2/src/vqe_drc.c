/*
 * Talk compressor: the gain computer of the recording compressor on one channel of 256 samples.
 *
 * Per frame: the detection copy (the input scaled by the detector offset) drives a per-sample
 * envelope (attack and release coefficients 10 / value in Q20); the frame's envelope peak P
 * gives the level L = log2(P) * 394526 / 2^27 - 1445 in 1/16 dB; the six-point curve with its
 * floor point maps L to an output level; the gain (output - input level) is smoothed from frame
 * to frame (rise and fall 10 / value in Q20), turned into a Q15 factor 10^(G / 320) (at most
 * +-96 dB) and limited so that P never goes past full scale (the stored gain then restarts from
 * the full-scale gain). The factor is blended from the previous frame's end gain over the first
 * 64 samples, and the samples are rounded and held within the 16-bit range.
 */
#include <math.h>
#include <string.h>

#include "vqe_internal.h"

#define DRC_ALIGNED(p) ((((uintptr_t)(p)) & 7u) == 0)
#define DRC_BLEND      64

static const char g_vqe_drc_version[] = "vqe_drc 1.0";

/* log2(1 + i / 32) in Q15, i = 0..32 */
static const int32_t g_log2_table[33] = {
    0,     1455,  2866,  4236,  5568,  6863,  8124,  9352,  10549, 11716, 12855,
    13968, 15055, 16117, 17156, 18173, 19168, 20143, 21098, 22034, 22952, 23852,
    24736, 25604, 26455, 27292, 28114, 28922, 29717, 30498, 31267, 32024, 32768,
};

static int16_t knee_in(const vqe_drc *st, int k) {
    return vqe_i16(st->block, 8 + 2 * k);
}

static int16_t knee_out(const vqe_drc *st, int k) {
    return vqe_i16(st->block, 20 + 2 * k);
}

int audio_vqe_drc_init(vqe_drc *st, int channels, int enabled) {
    if (!enabled) {
        return 0;
    }
    if (st == NULL) {
        return -1;
    }
    if (!DRC_ALIGNED(st)) {
        return -9;
    }
    if (channels != 1) {
        return -2;
    }
    memset(st, 0, sizeof(*st));
    st->guard0 = st->guard1 = VQE_GUARD;
    st->frame = AUDIO_VQE_FRAME;
    st->end_gain = 32768;
    return 0;
}

static int out_of(int v, int lo, int hi) {
    return v < lo || v > hi;
}

int audio_vqe_drc_set_params(vqe_drc *st, const uint8_t *b, int enabled) {
    if (!enabled) {
        return 0;
    }
    if (st == NULL) {
        return -1;
    }
    if (b == NULL) {
        return -3;
    }
    if ((uint8_t)(b[0] + 40) > 160) {
        return -10;
    }
    if (out_of(b[3], 10, 126)) {
        return -13;
    }
    if (out_of(b[4], 10, 126)) {
        return -14;
    }
    if (out_of(b[2], 10, 126)) {
        return -12;
    }
    for (int k = 0; k < 5; k++) {
        int oi = vqe_i16(b, 20 + 2 * k), on = vqe_i16(b, 22 + 2 * k);
        int ii = vqe_i16(b, 8 + 2 * k), in = vqe_i16(b, 10 + 2 * k);
        if (out_of(oi, -1440, 0)) {
            return -15;
        }
        if (out_of(ii, -1440, 0)) {
            return -17;
        }
        if (on > oi) {
            return -16;
        }
        if (in > ii) {
            return -18;
        }
    }
    if (out_of(vqe_i16(b, 30), -1440, 0)) {
        return -15;
    }
    if (out_of(vqe_i16(b, 18), -1440, 0)) {
        return -17;
    }
    if (out_of(b[1], 10, 126)) {
        return -11;
    }
    memcpy(st->block, b, VQE_DRC_BLOCK);
    st->gain_db = 16;
    return 0;
}

int audio_vqe_voice_drc_get_params(const vqe_drc *st, uint8_t *b) {
    if (st == NULL) {
        return -1;
    }
    if (b == NULL) {
        return -3;
    }
    memcpy(b, st->block, VQE_DRC_BLOCK);
    return 0;
}

int audio_vqe_drc_get_version(const char **text) {
    if (text == NULL) {
        return -7;
    }
    *text = g_vqe_drc_version;
    return 0;
}

/* log2(v) in Q15 for v >= 1, from the table with linear interpolation. */
static int32_t log2_q15(uint32_t v) {
    int msb = 31;
    while (msb > 0 && !(v & (1u << msb))) {
        msb--;
    }
    /* mantissa in Q16 after the leading one */
    uint32_t frac = msb >= 16 ? (v >> (msb - 16)) & 0xFFFFu : (v << (16 - msb)) & 0xFFFFu;
    uint32_t idx = frac >> 11, rem = frac & 0x7FFu;
    int32_t a = g_log2_table[idx], b = g_log2_table[idx + 1];
    return msb * 32768 + a + (int32_t)(((int64_t)(b - a) * rem) >> 11);
}

int32_t audio_vqe_drc_level(int32_t peak) {
    uint32_t p = peak < 1 ? 1u : (uint32_t)peak;
    return (int32_t)(((int64_t)log2_q15(p) * 394526) >> 27) - 1445;
}

/* 10^(db16 / 320) in Q15, |db16| <= 1536; negative values give the reciprocal. */
int32_t audio_vqe_drc_gain_apply_db_to_multi(int32_t db16) {
    int32_t a = db16 < 0 ? -db16 : db16;
    a = a > 1536 ? 1536 : a;
    /* 2^(a * log2(10) / 320), exponent in Q16 */
    int64_t t = ((int64_t)a * 696668) >> 10;
    int n = (int)(t >> 16);
    int64_t f = t & 0xFFFF; /* Q16 */
    /* 2^f ~ 1 + f (0.6565 + 0.3435 f), Q16 */
    int64_t p2 = 65536 + ((f * (43024 + ((f * 22512) >> 16))) >> 16);
    int64_t g = (p2 << n) >> 1; /* Q15 */
    if (db16 < 0) {
        g = ((int64_t)1 << 30) / (g > 0 ? g : 1);
    }
    return (int32_t)(g > INT32_MAX ? INT32_MAX : g);
}

static int32_t qdiv(int32_t a, int32_t b, int q) {
    if (b == 0) {
        return 1 << q; /* a zero-width segment counts as a slope of one */
    }
    double v = (double)a / (double)b * (double)(1 << q);
    return (int32_t)(v > 2147483647.0 ? 2147483647.0 : (v < -2147483648.0 ? -2147483648.0 : v));
}

int32_t audio_vqe_voice_drc_gain_apply_db_gain_transform(const vqe_drc *st, int32_t level) {
    int k;
    int32_t x0, y0, slope;
    if (level >= knee_in(st, 1)) {
        k = 0;
    } else {
        k = 1;
        while (k < 5 && level < knee_in(st, k + 1)) {
            k++;
        }
    }
    if (k < 5) {
        slope = qdiv(knee_out(st, k) - knee_out(st, k + 1), knee_in(st, k) - knee_in(st, k + 1), 15);
        x0 = knee_in(st, k + 1);
        y0 = knee_out(st, k + 1);
    } else {
        int16_t fin = vqe_i16(st->block, 32), fout = vqe_i16(st->block, 34);
        slope = qdiv(knee_out(st, 5) - fout, knee_in(st, 5) - fin, 15);
        x0 = fin;
        y0 = fout;
    }
    int64_t out = y0 + (((int64_t)(level - x0) * slope) >> 15);
    return (int32_t)(out - level);
}

int audio_vqe_drc_apply(vqe_drc *st, const int32_t *in, int32_t *out) {
    if (st == NULL) {
        return -1;
    }
    if (in == NULL) {
        return -5;
    }
    if (out == NULL) {
        return -6;
    }
    if (st->guard0 != VQE_GUARD || st->guard1 != VQE_GUARD) {
        return -8;
    }
    if (++st->frames > 0x0FFFFFFFu) {
        st->frames = 10000;
    }
    const uint8_t *b = st->block;
    int det = (int8_t)b[0];
    int32_t det_gain = audio_vqe_drc_gain_apply_db_to_multi((det < 0 ? -det : det) * 4); /* 10^(|d|/80) */
    if (det < 0) {
        det_gain = (int32_t)(((int64_t)1 << 30) / det_gain);
    }
    int64_t c_att = (10LL << 20) / b[2], c_rel = (10LL << 20) / b[1];
    int64_t e = st->env, peak = 1;
    for (int i = 0; i < AUDIO_VQE_FRAME; i++) {
        int64_t x = ((int64_t)in[i] * det_gain + (1 << 14)) >> 15;
        x = x < 0 ? -x : x;
        x = x > INT32_MAX ? INT32_MAX : x;
        int64_t c = x > e ? c_att : c_rel;
        e += ((x - e) * c + (1 << 19)) >> 20;
        peak = e > peak ? e : peak;
    }
    st->env = (int32_t)e;
    int32_t level = audio_vqe_drc_level((int32_t)(peak > INT32_MAX ? INT32_MAX : peak));
    int32_t g = audio_vqe_voice_drc_gain_apply_db_gain_transform(st, level);
    if (st->started) {
        int64_t r = g > st->gain_db ? (10LL << 20) / b[4] : (10LL << 20) / b[3];
        g = st->gain_db + (int32_t)((((int64_t)(g - st->gain_db)) * r + (1 << 19)) >> 20);
    }
    st->gain_db = g;
    int32_t lin = audio_vqe_drc_gain_apply_db_to_multi(g > 1536 ? 1536 : (g < -1536 ? -1536 : g));
    int64_t full = ((int64_t)1 << 30) / peak; /* gain that brings P to full scale, Q15 */
    int64_t step = 0;
    if (lin > full) {
        st->gain_db = -level;
        step = ((int64_t)lin - full) / AUDIO_VQE_FRAME;
    }
    int64_t prev = st->end_gain, gi = lin;
    for (int i = 0; i < AUDIO_VQE_FRAME; i++) {
        gi = lin - step * (i + 1);
        int64_t ga = gi;
        if (st->started && i < DRC_BLEND) {
            ga = prev + ((gi - prev) * (i + 1)) / DRC_BLEND;
        }
        int64_t v = ((int64_t)in[i] * ga + (1 << 14)) >> 15;
        out[i] = v > 32767 ? 32767 : (v < -32768 ? -32768 : (int32_t)v);
    }
    st->end_gain = (int32_t)gi;
    st->started = 1;
    return st->guard0 == VQE_GUARD && st->guard1 == VQE_GUARD ? 0 : -8;
}
