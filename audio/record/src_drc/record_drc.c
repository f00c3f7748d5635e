#include "record_drc.h"

#include "record_common.h"

/* detect_offset 0, env_release 20, env_attack 20, gain_fall 24, gain_rise 100; knees and outputs. */
const uint8_t record_record_g_zorvo_drc_default_params[RECORD_DRC_PARAM_SIZE] = {
    0,    20,   20,   24,   100,  0,    0,    0,    /* rates */
    0x00, 0x00, 0xFF, 0xFF, 0x28, 0xFE, 0xE8, 0xFC, /* knee_in 0, -1, -472, -792 */
    0x40, 0xFC, 0x00, 0xFB,                         /* knee_in -960, -1280 */
    0xFF, 0xFF, 0xFF, 0xFF, 0x52, 0xFF, 0xF0, 0xFD, /* knee_out -1, -1, -174, -528 */
    0x20, 0xFD, 0x50, 0xFB,                         /* knee_out -736, -1200 */
    0,    0,    0,    0,    0,    0,    0,    0,    /* floor point, spare */
};

#define OFF_DETECT   0
#define OFF_ENV_REL  1
#define OFF_ENV_ATT  2
#define OFF_GAIN_FAL 3
#define OFF_GAIN_RIS 4
#define OFF_KNEE_IN  8
#define OFF_KNEE_OUT 20
#define OFF_FLOOR_IN 32
#define OFF_FLOOR_OU 34

static int32_t knee_in(const uint8_t *p, int k) {
    return rec_rd16(p + OFF_KNEE_IN + 2 * k);
}
static int32_t knee_out(const uint8_t *p, int k) {
    return rec_rd16(p + OFF_KNEE_OUT + 2 * k);
}

int record_record_zorvo_drc_init(record_drc_state *st, int rate_code, int channels) {
    if (st == NULL) {
        return -1;
    }
    if (rate_code != 1 && rate_code != 2) {
        return -2;
    }
    if (channels < 1 || channels > RECORD_DRC_CHANNELS) {
        return -8;
    }
    audio_fill(st, sizeof(*st), 0, sizeof(*st));
    audio_copy(st->params, sizeof(st->params), record_record_g_zorvo_drc_default_params,
               RECORD_DRC_PARAM_SIZE);
    st->frame = rate_code == 1 ? 160 : 480;
    st->channels = (int16_t)channels;
    st->gain16 = 16;
    st->end_gain = 32768;
    st->guard_head = st->guard_tail = RECORD_DRC_GUARD;
    return 0;
}

static int rate_ok(uint8_t v) {
    return v >= 10 && v != 127;
}

int record_record_zorvo_drc_set_params(record_drc_state *st, const void *block) {
    if (st == NULL) {
        return -1;
    }
    if (block == NULL) {
        return -3;
    }
    const uint8_t *p = block;
    int32_t det = (int8_t)p[OFF_DETECT] + 40;
    if (det < 0 || det > 159) {
        return -4;
    }
    if (!rate_ok(p[OFF_GAIN_FAL]) || !rate_ok(p[OFF_GAIN_RIS]) || !rate_ok(p[OFF_ENV_REL]) ||
        !rate_ok(p[OFF_ENV_ATT])) {
        return -5;
    }
    for (int k = 0; k < 5; k++) {
        if (knee_out(p, k) < -1440 || knee_out(p, k) > 0 || knee_in(p, k) < -1440 || knee_in(p, k) > 0 ||
            knee_out(p, k + 1) > knee_out(p, k) || knee_in(p, k + 1) > knee_in(p, k)) {
            return -6;
        }
    }
    if (knee_out(p, 5) < -1440 || knee_out(p, 5) > 0 || knee_in(p, 5) < -1440 || knee_in(p, 5) > 0) {
        return -6;
    }
    audio_copy(st->params, sizeof(st->params), p, RECORD_DRC_PARAM_SIZE);
    st->gain16 = 16;
    return 0;
}

int record_record_zorvo_drc_get_params(const record_drc_state *st, void *block) {
    if (st == NULL) {
        return -1;
    }
    if (block == NULL) {
        return -3;
    }
    return audio_copy(block, RECORD_DRC_PARAM_SIZE, st->params, RECORD_DRC_PARAM_SIZE) == 0 ? 0 : -3;
}

int record_record_zorvo_drc_get_version(const char **version) {
    if (version == NULL) {
        return -7;
    }
    *version = "record drc 1.0";
    return 0;
}

/* Output level on the segment from (x0, y0) with the slope of (x1, y1) - (x0, y0). Knees of
 * equal input level make a zero-width segment: it has no slope, and the level maps to its
 * lower point's output. */
static int32_t on_segment(int32_t level, int32_t x_hi, int32_t y_hi, int32_t x_lo, int32_t y_lo) {
    int32_t dx = x_hi - x_lo;
    if (dx == 0) {
        return y_lo;
    }
    int64_t slope = ((int64_t)(y_hi - y_lo) * 32768) / dx; /* Q15 */
    return y_lo + (int32_t)(((int64_t)(level - x_lo) * slope) >> 15);
}

int32_t record_record_zorvo_drc_gain_apply(const record_drc_state *st, int32_t level) {
    const uint8_t *p = st->params;
    int32_t out;
    if (level >= knee_in(p, 1)) {
        out = on_segment(level, knee_in(p, 0), knee_out(p, 0), knee_in(p, 1), knee_out(p, 1));
    } else {
        int k = 1;
        while (k < 5 && level < knee_in(p, k + 1)) {
            k++;
        }
        if (k < 5) {
            out = on_segment(level, knee_in(p, k), knee_out(p, k), knee_in(p, k + 1), knee_out(p, k + 1));
        } else {
            /* the floor: through (knee_in[5], knee_out[5]) along the line to the seventh point */
            int32_t fx = rec_rd16(p + OFF_FLOOR_IN), fy = rec_rd16(p + OFF_FLOOR_OU);
            int32_t dx = knee_in(p, 5) - fx;
            if (dx == 0) {
                out = fy;
            } else {
                int64_t slope = ((int64_t)(knee_out(p, 5) - fy) * 32768) / dx;
                out = fy + (int32_t)(((int64_t)(level - fx) * slope) >> 15);
            }
        }
    }
    return out - level;
}

void record_record_zorvo_drc_mult_gain(const int32_t *in, int16_t *out, int n, int32_t g_start, int32_t g_end,
                                       int32_t blend_from, int blend) {
    int64_t dg = (int64_t)g_end - g_start;
    for (int i = 0; i < n; i++) {
        int64_t g = g_start + dg * (i + 1) / n;
        if (blend && i < 64) {
            g = blend_from + (g - blend_from) * (i + 1) / 64;
        }
        int64_t v = (int64_t)in[i] * g;
        out[i] = rec_sat16((v + (1LL << (14 + REC_CHAIN_SHIFT))) >> (15 + REC_CHAIN_SHIFT));
    }
}

static int guards_ok(const record_drc_state *st) {
    return st->guard_head == RECORD_DRC_GUARD && st->guard_tail == RECORD_DRC_GUARD;
}

int record_record_zorvo_drc_apply(record_drc_state *st, int32_t level_unused,
                                  const int32_t *const in[RECORD_DRC_CHANNELS],
                                  int16_t *const out[RECORD_DRC_CHANNELS]) {
    (void)level_unused;
    if (st == NULL) {
        return -1;
    }
    if (!guards_ok(st)) {
        return -11;
    }
    int n = st->frame, chn = st->channels;
    for (int c = 0; c < chn; c++) {
        if (in == NULL || in[c] == NULL) {
            return -9;
        }
        if (out == NULL || out[c] == NULL) {
            return -10;
        }
    }
    int first = st->frames == 0;
    st->frames = st->frames > 0x0FFFFFFF ? 10000 : st->frames + 1;
    /* detection channel: the largest sum of magnitudes, the earlier one on a tie */
    int det = 0;
    uint32_t best = 0;
    for (int c = 0; c < chn; c++) {
        uint32_t s = 0;
        for (int i = 0; i < n; i++) {
            int32_t v = in[c][i];
            uint32_t a = v < 0 ? (uint32_t)0 - (uint32_t)v : (uint32_t)v;
            s = s > UINT32_MAX - a ? UINT32_MAX : s + a;
        }
        if (c == 0 || s > best) {
            best = s;
            det = c;
        }
    }
    const uint8_t *p = st->params;
    int32_t offset = (int8_t)p[OFF_DETECT];
    int32_t dgain = rec_db16_to_q15(offset * 4); /* 1/4 dB -> 1/16 dB */
    int64_t c_att = (10LL << 20) / p[OFF_ENV_ATT], c_rel = (10LL << 20) / p[OFF_ENV_REL];
    int32_t env = st->env, peak = 1;
    for (int i = 0; i < n; i++) {
        /* detector copy at the 16-bit scale, with the detector gain */
        int64_t x = ((int64_t)in[det][i] * dgain + (1LL << (14 + REC_CHAIN_SHIFT))) >> (15 + REC_CHAIN_SHIFT);
        int32_t ax = rec_sat32(x < 0 ? -x : x);
        int64_t c = ax > env ? c_att : c_rel;
        env = rec_sat32(env + ((((int64_t)ax - env) * c + (1 << 19)) >> 20));
        if (env > peak) {
            peak = env;
        }
    }
    st->env = env;
    int32_t level = (int32_t)(((int64_t)rec_log2_q15((uint64_t)peak) * 394526) >> 27) - 1445;
    st->level16 = level;
    int32_t g16 = record_record_zorvo_drc_gain_apply(st, level);
    if (!first) {
        int32_t prev = st->gain16;
        int64_t r = g16 > prev ? (10LL << 20) / p[OFF_GAIN_RIS] : (10LL << 20) / p[OFF_GAIN_FAL];
        g16 = prev + (int32_t)((((int64_t)g16 - prev) * r + (1 << 19)) >> 20);
    }
    st->gain16 = g16;
    int32_t mag = g16 < 0 ? -g16 : g16;
    mag = mag > 1536 ? 1536 : mag;
    int32_t g = rec_db16_to_q15(g16 < 0 ? -mag : mag);
    int32_t g_full = (int32_t)((1LL << 30) / peak); /* brings the peak to full scale */
    int32_t g_end = g;
    if (g > g_full) {
        st->gain16 = -level;
        g_end = g_full;
    }
    for (int c = 0; c < chn; c++) {
        record_record_zorvo_drc_mult_gain(in[c], out[c], n, g, g_end, st->end_gain, !first);
    }
    st->end_gain = g_end;
    return guards_ok(st) ? 0 : -11;
}
