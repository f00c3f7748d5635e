/*
 * Echo canceller core: instance set-up, parameter records, and the re-blocking of 10 ms frames
 * into 8 ms blocks. The block stages are in aec_mdf.c (adaptive filter, levels, voice activity)
 * and aec_nlp.c (non-linear processor).
 */
#include <string.h>

#include "aec_internal.h"
#include "audio_common.h"

const uint8_t g_zorvo_aec_gast_kre_aec_cfg_tab[ZORVO_AEC_PARAMS_SIZE] = {
    1,    0,    1,  0, 0,  0,                      /* comfort noise, delay offset, switches, narrow band */
    0x20, 0x4E,                                    /* nlp_threshold 20000 */
    7,    0,    38, 0,                             /* band a */
    8,    0,    17, 0,                             /* band b */
    5,    0,    17, 0, 28, 0, 32, 0, 45, 0, 56, 0, /* erl_band */
    5,    0,    10, 0,                             /* band c */
    11,   0,    12, 0, 16, 0, 14, 0, 15, 0, 12, 0, 16, 0, /* erl */
    0,    0,
};

/* Re-blocking schedule per phase, narrow band: held input D, new input E completing the block,
 * new input G held over, held output I emitted first, K samples of the block's output next, L
 * samples of it held over. Wide band doubles every value. */
static const int16_t g_zorvo_aec_gas_aec_pro8_k[4][6] = {
    {0, 64, 16, 80, 0, 64},
    {16, 48, 32, 64, 16, 48},
    {32, 32, 48, 48, 32, 32},
    {48, 16, 64, 32, 48, 16},
};
static const int16_t g_zorvo_aec_gas_aec_pro16_k[4][6] = {
    {0, 128, 32, 160, 0, 128},
    {32, 96, 64, 128, 32, 96},
    {64, 64, 96, 96, 64, 64},
    {96, 32, 128, 64, 96, 32},
};

static const struct {
    char text[48];
    char build[28];
    char tool[28];
} g_zorvo_aec_version = {"zorvo_aec 1.0.0 fixed-point MDF + NLP", "2026-12-08 00:00:00", "gcc c11"};

static void decode_params(aec_cfg *c, const uint8_t *p) {
    c->comfort_noise_on = p[ZORVO_AEC_OFF_COMFORT_NOISE];
    c->delay_offset = p[ZORVO_AEC_OFF_DELAY_OFFSET];
    c->switch_b = p[ZORVO_AEC_OFF_SWITCH_B];
    c->switch_c = p[ZORVO_AEC_OFF_SWITCH_C];
    c->wideband = p[ZORVO_AEC_OFF_WIDEBAND];
    c->nlp_threshold = zorvo_aec_param_i16(p, ZORVO_AEC_OFF_NLP_THRESHOLD);
    c->band_a_lo = zorvo_aec_param_i16(p, ZORVO_AEC_OFF_BAND_A_LO);
    c->band_a_hi = zorvo_aec_param_i16(p, ZORVO_AEC_OFF_BAND_A_HI);
    c->band_b_lo = zorvo_aec_param_i16(p, ZORVO_AEC_OFF_BAND_B_LO);
    c->band_b_hi = zorvo_aec_param_i16(p, ZORVO_AEC_OFF_BAND_B_HI);
    for (int i = 0; i < 6; i++) {
        c->erl_band[i] = zorvo_aec_param_i16(p, ZORVO_AEC_OFF_ERL_BAND + 2 * i);
    }
    c->band_c_lo = zorvo_aec_param_i16(p, ZORVO_AEC_OFF_BAND_C_LO);
    c->band_c_hi = zorvo_aec_param_i16(p, ZORVO_AEC_OFF_BAND_C_HI);
    for (int i = 0; i < AEC_BANDS; i++) {
        c->erl[i] = zorvo_aec_param_i16(p, ZORVO_AEC_OFF_ERL + 2 * i);
    }
}

int zorvo_aec_check(const void *params) {
    if (params == NULL) {
        return -20;
    }
    aec_cfg c;
    decode_params(&c, (const uint8_t *)params);
    int n = c.wideband == 1 ? 256 : 128;
    int erl_bad = c.erl_band[0] < 0 || c.erl_band[5] > n;
    for (int i = 0; i < 5; i++) {
        erl_bad |= c.erl_band[i + 1] < c.erl_band[i];
    }
    /* first failing test in order of precedence */
    if (c.band_c_lo > n) {
        return -212;
    }
    if (c.band_c_lo > c.band_c_hi || c.band_c_lo < 0) {
        return -211;
    }
    if (erl_bad) {
        return -24;
    }
    if (c.band_b_hi > n) {
        return -210;
    }
    if (c.band_b_lo > c.band_b_hi || c.band_b_lo < 0) {
        return -29;
    }
    if (c.band_a_hi > n) {
        return -28;
    }
    if (c.band_a_lo > c.band_a_hi || c.band_a_lo < 0) {
        return -27;
    }
    if (c.nlp_threshold < 0) {
        return -26;
    }
    if (c.wideband >= 2) {
        return -25;
    }
    if (c.switch_c >= 2) {
        return -23;
    }
    if (c.switch_b >= 3) {
        return -22;
    }
    if (c.delay_offset >= 7) {
        return -21;
    }
    return 0;
}

int zorvo_aec_get_size(int32_t *size, const void *params) {
    if (size == NULL) {
        return -60;
    }
    if (params == NULL) {
        return -61;
    }
    *size = ZORVO_AEC_STATE_SIZE;
    return 0;
}

int zorvo_aec_init(void **handle, void *mem, int32_t mem_size, const void *params) {
    if (handle == NULL) {
        return -1;
    }
    if (mem == NULL) {
        return -2;
    }
    if (!zorvo_aec_check8_align(mem)) {
        return -3;
    }
    if (mem_size < ZORVO_AEC_STATE_SIZE) {
        return -4;
    }
    if (params == NULL) {
        return -5;
    }
    int ret = zorvo_aec_check(params);
    if (ret != 0) {
        return ret;
    }
    (void)audio_fill(mem, (size_t)mem_size, 0, ZORVO_AEC_STATE_SIZE);
    aec_state *st = (aec_state *)mem;
    (void)audio_copy(st->image, sizeof(st->image), params, ZORVO_AEC_PARAMS_SIZE);
    decode_params(&st->cfg, st->image);
    st->blk = st->cfg.wideband ? 128 : 64;
    st->nfft = 2 * st->blk;
    st->bins = st->blk + 1;
    /* transforms of 2B samples grow by up to 2B: 2^15 * 2^shift * 2B stays at 2^30 */
    st->shift = st->cfg.wideband ? 7 : 8;
    if (zorvo_fft_init_c_sc32(&st->fft, st->cfg.wideband ? 7 : 6) != 0) {
        return -6;
    }
    st->delay_est = st->cfg.delay_offset;
    st->rng = 0x12345678u;
    aec_nlp_reset(st);
    st->guard0 = st->guard1 = st->guard2 = AEC_GUARD;
    st->alg_marker = AEC_ALG_MARKER;
    st->init_marker = AEC_INIT_MARKER;
    *handle = st;
    return 0;
}

int zorvo_aec_set_params(void *handle, const void *params) {
    if (handle == NULL) {
        return -30;
    }
    if (params == NULL) {
        return -31;
    }
    aec_state *st = (aec_state *)handle;
    if (st->init_marker != AEC_INIT_MARKER) {
        return -51;
    }
    if (st->alg_marker != AEC_ALG_MARKER) {
        return -101;
    }
    int ret = zorvo_aec_check(params);
    if (ret != 0) {
        return ret;
    }
    /* The block length is fixed at init; the band flag cannot change under a running instance. */
    if (((const uint8_t *)params)[ZORVO_AEC_OFF_WIDEBAND] != st->cfg.wideband) {
        return -25;
    }
    (void)audio_copy(st->image, sizeof(st->image), params, ZORVO_AEC_PARAMS_SIZE);
    decode_params(&st->cfg, st->image);
    if (st->delay_est < st->cfg.delay_offset || st->delay_est >= st->cfg.delay_offset + AEC_PARTS) {
        st->delay_est = st->cfg.delay_offset;
    }
    return 0;
}

int zorvo_aec_get_params(void *handle, void *params) {
    if (handle == NULL) {
        return -40;
    }
    if (params == NULL) {
        return -41;
    }
    aec_state *st = (aec_state *)handle;
    if (st->init_marker != AEC_INIT_MARKER) {
        return -51;
    }
    (void)audio_copy(params, ZORVO_AEC_PARAMS_SIZE, st->image, ZORVO_AEC_PARAMS_SIZE);
    return 0;
}

int zorvo_aec_get_version(const char **version) {
    if (version == NULL) {
        return -50;
    }
    *version = g_zorvo_aec_version.text;
    return 0;
}

/* One block of B samples: guard words, block counter, filter, non-linear processor. */
static int zorvo_aec_sub_proc(aec_state *st, const int16_t *mic, const int16_t *ref, int16_t *out) {
    if (st->guard0 != AEC_GUARD || st->guard1 != AEC_GUARD || st->guard2 != AEC_GUARD) {
        return -18;
    }
    st->block_count = st->block_count >= 2147483646 ? 520 : st->block_count + 1;
    zorvo_aec_mdf(st, mic, ref);
    zorvo_aec_nlp(st, out);
    return 0;
}

int zorvo_aec_apply(void *handle, const int16_t *mic, const int16_t *ref, int16_t *out) {
    if (handle == NULL) {
        return -10;
    }
    if (!zorvo_aec_check8_align(handle)) {
        return -11;
    }
    if (mic == NULL) {
        return -12;
    }
    if (((uintptr_t)mic & 1u) != 0) {
        return -13;
    }
    if (ref == NULL) {
        return -14;
    }
    if (((uintptr_t)ref & 1u) != 0) {
        return -15;
    }
    if (out == NULL) {
        return -16;
    }
    if (((uintptr_t)out & 1u) != 0) {
        return -17;
    }
    aec_state *st = (aec_state *)handle;
    if (st->init_marker != AEC_INIT_MARKER) {
        return -51;
    }
    if (st->cfg.wideband > 1) {
        return -25;
    }
    const int16_t(*tab)[6] = st->cfg.wideband ? g_zorvo_aec_gas_aec_pro16_k : g_zorvo_aec_gas_aec_pro8_k;
    int b = st->blk;
    int frame = b + b / 4;
    if (st->phase < 0 || st->phase > 3) {
        return -18;
    }
    const int16_t *row = tab[st->phase];
    int d = row[0], e = row[1], g = row[2], i = row[3], k = row[4], l = row[5];
    /* The caller's buffers may overlap (in-place processing): take the whole frame first. */
    int16_t mic_f[AEC_BMAX + AEC_BMAX / 4], ref_f[AEC_BMAX + AEC_BMAX / 4];
    int16_t mic_b[AEC_BMAX], ref_b[AEC_BMAX], out_b[AEC_BMAX];
    size_t fb = (size_t)frame * sizeof(int16_t);
    (void)audio_copy(mic_f, sizeof(mic_f), mic, fb);
    (void)audio_copy(ref_f, sizeof(ref_f), ref, fb);

    (void)audio_copy(mic_b, sizeof(mic_b), st->mic_held, (size_t)d * 2);
    (void)audio_copy(ref_b, sizeof(ref_b), st->ref_held, (size_t)d * 2);
    (void)audio_copy(mic_b + d, sizeof(mic_b) - (size_t)d * 2, mic_f, (size_t)e * 2);
    (void)audio_copy(ref_b + d, sizeof(ref_b) - (size_t)d * 2, ref_f, (size_t)e * 2);
    int ret = zorvo_aec_sub_proc(st, mic_b, ref_b, out_b);
    if (ret != 0) {
        return ret;
    }
    (void)audio_copy(out, fb, st->out_held, (size_t)i * 2);
    (void)audio_copy(out + i, fb - (size_t)i * 2, out_b, (size_t)k * 2);
    (void)audio_copy(st->out_held, sizeof(st->out_held), out_b + k, (size_t)l * 2);
    if (st->phase == 3) {
        /* the held-over samples form a whole block: process it now, hold its output */
        ret = zorvo_aec_sub_proc(st, mic_f + e, ref_f + e, out_b);
        if (ret != 0) {
            return ret;
        }
        (void)audio_copy(st->out_held + l, sizeof(st->out_held) - (size_t)l * 2, out_b, (size_t)g * 2);
    } else {
        (void)audio_copy(st->mic_held, sizeof(st->mic_held), mic_f + e, (size_t)g * 2);
        (void)audio_copy(st->ref_held, sizeof(st->ref_held), ref_f + e, (size_t)g * 2);
    }
    st->phase = st->phase + 1 == 4 ? 0 : st->phase + 1;
    return 0;
}
