#include <string.h>

#include "record_internal.h"

/* The module blocks both default records share (equaliser and noise reduction differ). */
#define HDR_BLOCK(down)                                                                                      \
    6, 0, 0, 0, 20, 0, 0, 0, 2, 0, 0, 0, (down), 0, 0, 0, 0x58, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0
#define MC_BLOCK 30, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0
#define AGC_BLOCK                                                                                            \
    0xFD, 0xCE, 2, 0xFF, 0, 2, 0, 0xD8, 0, 0, 0x00, 0x04, 0x00, 0x0C, 0x00, 0x08, 0, 0, 0, 0, 0, 0, 0x00,    \
        0x02, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0
#define HLPF_BLOCK 1, 0, 0, 0, 0, 0, 0, 0, 0x90, 0xE8, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0
/* bands 1..41 at 0 dB, band 0 at -50, 42..49 falling by 4 dB a band, overall 0 */
#define EQ_BLOCK                                                                                             \
    0xCE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, \
        0, 0, 0, 0, 0, 0, 0, 0, 0xFC, 0xF8, 0xF4, 0xF0, 0xEC, 0xE8, 0xE4, 0xE0, 0, 0, 0, 0, 0, 0

const uint8_t g_record_params[ZORVO_RECORD_PARAMS_SIZE] = {
    /* header: 48000 Hz, 2 microphones, 2 outputs, start gain 20, 1 frame of look-ahead */
    2, 2, 2, 20, 1, 0, 0, 0,
    /* switches: hdr, drc, agc, eq, hlpf, rnr on; mc off */
    1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, MC_BLOCK, HDR_BLOCK(26),
    /* compressor: the curve of the compressor's own defaults */
    0, 20, 20, 24, 100, 0, 0, 0, 0x00, 0x00, 0xFF, 0xFF, 0x28, 0xFE, 0xE8, 0xFC, 0x40, 0xFC, 0x00, 0xFB, 0xFF,
    0xFF, 0xFF, 0xFF, 0x52, 0xFF, 0xF0, 0xFD, 0x20, 0xFD, 0x50, 0xFB, 0, 0, 0, 0, 0, 0, 0, 0, AGC_BLOCK,
    /* noise reduction: 12 dB, comfort -45 dBFS, tonal on, rise 5 dB/s, two kept values */
    12, 0, 0, 0, 0xD3, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 50, 0, 0, 0, 0x36, 0xF7, 0xFF, 0xFF, 0, 0, 0, 0,
    EQ_BLOCK, HLPF_BLOCK};

const uint8_t g_zorvo_record_params[ZORVO_RECORD_PARAMS_SIZE] = {
    2, 2, 2, 12, 1, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, MC_BLOCK, HDR_BLOCK(20),
    /* compressor: a gentler curve, 2:1 above -36 dB, a lower floor */
    0, 20, 20, 24, 100, 0, 0, 0, 0x00, 0x00, 0xFF, 0xFF, 0xC0, 0xFD, 0x80, 0xFC, 0x40, 0xFC, 0x00, 0xFB, 0xFF,
    0xFF, 0xFF, 0xFF, 0xDF, 0xFE, 0xC0, 0xFD, 0x20, 0xFD, 0x50, 0xFB, 0, 0, 0, 0, 0, 0, 0, 0, AGC_BLOCK,
    /* noise reduction: 15 dB, comfort -50 dBFS */
    15, 0, 0, 0, 0xCE, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 50, 0, 0, 0, 0x36, 0xF7, 0xFF, 0xFF, 0, 0, 0, 0,
    /* equaliser: flat except the rumble band */
    0xCE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, HLPF_BLOCK};

static const int32_t version_record[2] = {ZORVO_RECORD_VERSION, 0};

int zorvo_record_get_size(int32_t *size) {
    if (size == NULL) {
        return -1;
    }
    *size = ZORVO_RECORD_MEM_SIZE;
    return 0;
}

int zorvo_record_get_version(const int32_t **version) {
    if (version == NULL) {
        return -3;
    }
    *version = version_record;
    return 0;
}

static uint32_t end_mark(const record_core *c) {
    uint32_t v;
    memcpy(&v, (const uint8_t *)c + ZR_END_MARK_OFFSET, sizeof(v));
    return v;
}

/* Passes a module's block to it; the module's own code offset by its base, or 0. */
static int configure_modules(record_core *c, const uint8_t *p) {
    int r;
    if ((r = record_record_zorvo_hdr_set_params(&c->hdr, p + ZR_OFF_HDR)) != 0) {
        return ZR_BASE_HDR + r;
    }
    if ((r = record_record_zorvo_drc_set_params(&c->drc, p + ZR_OFF_DRC)) != 0) {
        return ZR_BASE_DRC + r;
    }
    if ((r = record_record_zorvo_agc_set_params(&c->agc, p + ZR_OFF_AGC)) != 0) {
        return ZR_BASE_AGC + r;
    }
    if ((r = record_record_zorvo_rnr_set_params(&c->rnr, p + ZR_OFF_RNR)) != 0) {
        return ZR_BASE_RNR + r;
    }
    if ((r = record_record_zorvo_eq_fir_set_params(&c->eq, (const int8_t *)(p + ZR_OFF_EQ))) != 0) {
        return ZR_BASE_EQ + r;
    }
    if ((r = record_record_zorvo_hlpf_set_params(&c->hlpf, p + ZR_OFF_HLPF)) != 0) {
        return ZR_BASE_HLPF + r;
    }
    if ((r = record_record_zorvo_mc_set_params(&c->mc, p + ZR_OFF_MC)) != 0) {
        return ZR_BASE_MC + r;
    }
    return 0;
}

/* Header rules that set_params applies: aux_mode above 1 turns the high/low-pass stage off. */
static void apply_header_rules(uint8_t *p) {
    if (p[ZR_OFF_AUX_MODE] > 1) {
        p[ZR_OFF_HLPF_ON] = 0;
    }
}

/* The initialised core behind a handle for the parameter calls: 0, -1, -4 or -5. */
static int params_call(void *handle, const void *params, record_core **core) {
    if (handle == NULL) {
        return -1;
    }
    if (params == NULL) {
        return -4;
    }
    *core = handle;
    return (*core)->init_mark == ZORVO_RECORD_INIT_MARK ? 0 : -5;
}

int zorvo_record_set_params(void *handle, const uint8_t *params) {
    record_core *c = NULL;
    int ret = params_call(handle, params, &c);
    if (ret != 0) {
        return ret;
    }
    for (int i = ZR_OFF_HDR_ON; i <= ZR_OFF_MC_ON; i++) {
        if (params[i] > 1) {
            return -15;
        }
    }
    uint8_t next[ZORVO_RECORD_PARAMS_SIZE], old[ZORVO_RECORD_PARAMS_SIZE];
    memcpy(old, c->params, sizeof(old));
    memcpy(next, c->params, 6);
    memcpy(next + 6, params + 6, ZORVO_RECORD_PARAMS_SIZE - 6);
    apply_header_rules(next);
    int r = configure_modules(c, next);
    if (r != 0) {
        configure_modules(c, old); /* the stored record was accepted before: it goes back in */
        return r;
    }
    memcpy(c->params, next, sizeof(next));
    return 0;
}

int zorvo_record_get_params(void *handle, uint8_t *params) {
    record_core *c = NULL;
    int ret = params_call(handle, params, &c);
    if (ret != 0) {
        return ret;
    }
    memcpy(params, c->params, ZORVO_RECORD_PARAMS_SIZE);
    return 0;
}

int zorvo_record_init(void **handle, void *mem, int32_t mem_size, const uint8_t *params) {
    if (handle == NULL) {
        return -1;
    }
    if (mem == NULL) {
        return -6;
    }
    if (params == NULL) {
        return -4;
    }
    if (mem_size < ZORVO_RECORD_MEM_SIZE) {
        return -7;
    }
    int rate_mode = params[ZR_OFF_RATE_MODE], mics = params[ZR_OFF_MIC_NUM], outs = params[ZR_OFF_OUT_NUM];
    int delay = params[ZR_OFF_DELAY_FRAMES], aux = params[ZR_OFF_AUX_MODE];
    if (rate_mode > 3 || ((rate_mode == 0 || rate_mode == 3) && mics > 2)) {
        return -9;
    }
    if (outs < 1 || outs > 3) {
        return -11;
    }
    if (delay > 3) {
        return -16;
    }
    /* buffers exist for two microphones whatever aux_mode says */
    if (mics < 1 || mics > 2 || (aux <= 3 && (outs < 1 || outs > 2))) {
        return -17;
    }
    record_core *c = mem;
    audio_fill(mem, (size_t)mem_size, 0, ZORVO_RECORD_MEM_SIZE);
    c->rate_mode = rate_mode;
    c->rate_code = (rate_mode == 0 || rate_mode == 1) ? 1 : 2;
    static const int32_t io_frames[4] = {80, 160, 480, 441};
    c->io_frame = io_frames[rate_mode];
    c->frame = c->rate_code == 1 ? 160 : 480;
    c->mics = mics;
    c->outs = outs;
    c->delay = delay;
    int r;
    if ((r = record_record_zorvo_hlpf_init(&c->hlpf, mics, c->rate_code)) != 0) {
        return ZR_BASE_HLPF + r;
    }
    record_record_zorvo_hdr_init(&c->hdr, c->rate_code, (int8_t)params[ZR_OFF_HDR_INIT_GAIN]);
    record_record_zorvo_drc_init(&c->drc, c->rate_code, mics);
    record_record_zorvo_agc_init(&c->agc, c->rate_code, mics);
    record_record_zorvo_rnr_init(&c->rnr, c->rate_code, mics);
    record_record_zorvo_eq_fir_init(&c->eq, 3, mics, c->rate_code);
    record_record_zorvo_mc_init(&c->mc, c->frame, mics);
    record_record_zorvo_src_init(&c->src, mics);
    memcpy(c->params, params, ZORVO_RECORD_PARAMS_SIZE);
    apply_header_rules(c->params);
    c->init_mark = ZORVO_RECORD_INIT_MARK;
    r = zorvo_record_set_params(c, params);
    if (r != 0) {
        c->init_mark = 0;
        return r;
    }
    c->mark_head = ZORVO_RECORD_MARK;
    uint32_t mark = ZORVO_RECORD_MARK;
    memcpy((uint8_t *)mem + ZR_END_MARK_OFFSET, &mark, sizeof(mark));
    *handle = c;
    return 0;
}

/* The chain over one delayed frame: 16-bit microphones in, 16-bit channels out. */
static int run_chain(record_core *c, const int16_t *m1, const int16_t *m2, int16_t *o1, int16_t *o2) {
    const uint8_t *p = c->params;
    int n = c->frame, two = c->mics == 2, r;
    int32_t a[REC_MAX_FRAME], b[REC_MAX_FRAME];
    if (p[ZR_OFF_HLPF_ON]) {
        if ((r = record_record_zorvo_hlpf_apply(&c->hlpf, m1, m2, a, b)) != 0) {
            return ZR_BASE_HLPF + r;
        }
    } else {
        for (int i = 0; i < n; i++) {
            a[i] = rec_to_chain(m1[i]);
            b[i] = two ? rec_to_chain(m2[i]) : 0;
        }
    }
    if (p[ZR_OFF_RNR_ON] && (r = record_record_zorvo_rnr_apply(&c->rnr, a, b, a, b)) != 0) {
        return ZR_BASE_RNR + r;
    }
    if (p[ZR_OFF_AGC_ON] && (r = record_record_zorvo_agc_apply(&c->agc, a, b, a, b)) != 0) {
        return ZR_BASE_AGC + r;
    }
    if (p[ZR_OFF_EQ_ON] && (r = record_record_zorvo_eq_fir_apply(&c->eq, a, b, NULL, a, b, NULL, 1)) != 0) {
        return ZR_BASE_EQ + r;
    }
    if (p[ZR_OFF_DRC_ON]) {
        const int32_t *in[RECORD_DRC_CHANNELS] = {a, b, NULL, NULL};
        int16_t *out[RECORD_DRC_CHANNELS] = {o1, o2, NULL, NULL};
        if ((r = record_record_zorvo_drc_apply(&c->drc, 0, in, out)) != 0) {
            return ZR_BASE_DRC + r;
        }
    } else {
        for (int i = 0; i < n; i++) {
            o1[i] = rec_from_chain(a[i]);
            if (two) {
                o2[i] = rec_from_chain(b[i]);
            }
        }
    }
    return 0;
}

static int16_t peak_of(const int16_t *x, int n) {
    int32_t p = 0;
    for (int i = 0; i < n; i++) {
        int32_t a = x[i] < 0 ? -(int32_t)x[i] : x[i];
        p = a > p ? a : p;
    }
    return (int16_t)(p > 32767 ? 32767 : p);
}

int zorvo_record_apply(void *handle, const zorvo_record_in *in, zorvo_record_out *out) {
    if (handle == NULL || in == NULL || out == NULL) {
        return -1;
    }
    record_core *c = handle;
    if (c->mark_head != ZORVO_RECORD_MARK || end_mark(c) != ZORVO_RECORD_MARK) {
        return -8;
    }
    if (c->init_mark != ZORVO_RECORD_INIT_MARK) {
        return -5;
    }
    for (int k = 0; k < c->outs; k++) {
        if (out->out[k] == NULL) {
            return -12;
        }
    }
    if (in->mic1 == NULL || (c->mics == 2 && in->mic2 == NULL)) {
        return -13;
    }
    if (c->rate_mode > 3) {
        return -9;
    }
    const uint8_t *p = c->params;
    int n = c->frame, io = c->io_frame, two = c->mics == 2, r;
    int16_t *slot1 = c->ring[c->write_slot][0], *slot2 = c->ring[c->write_slot][1];
    size_t io_bytes = (size_t)io * sizeof(int16_t), bytes = (size_t)n * sizeof(int16_t);
    /* 1. into the chain's rate, straight into the ring's write slot */
    if (c->rate_mode == 0) {
        r = record_record_zorvo_src_8to16_apply(&c->src, in->mic1, in->mic2, slot1, slot2);
    } else if (c->rate_mode == 3) {
        r = record_record_zorvo_src_441to480_apply(&c->src, in->mic1, in->mic2, slot1, slot2);
    } else {
        r = audio_copy(slot1, bytes, in->mic1, io_bytes);
        if (r == 0 && two) {
            r = audio_copy(slot2, bytes, in->mic2, io_bytes);
        }
        r = r != 0 ? 1 : 0;
    }
    if (r != 0) {
        return ZR_BASE_SRC + (r < 0 ? r : -1);
    }
    /* 2. the microphones combined, a failed microphone's channel repaired from the other */
    if (p[ZR_OFF_MC_ON] && two) {
        if ((r = record_record_zorvo_mc_apply(&c->mc, slot1, slot2)) != 0) {
            return ZR_BASE_MC + r;
        }
        record_record_zorvo_voice_mic_err_porc(&c->mc, slot1, slot2);
    }
    c->counter = c->counter >= (1 << 30) + 1 ? 1000 : c->counter + 1;
    /* 3. the look-ahead stage hears the newest frame of the louder microphone */
    const int16_t *loud = (two && peak_of(slot2, n) > peak_of(slot1, n)) ? slot2 : slot1;
    out->gain_step = 0;
    if (p[ZR_OFF_HDR_ON]) {
        int8_t step = 0;
        if ((r = record_record_zorvo_hdr_apply(&c->hdr, loud, &step)) != 0) {
            return ZR_BASE_HDR + r;
        }
        out->gain_step = step;
    }
    /* 4. the delayed frame through the chain, or silence until the ring is full */
    int slots = c->delay + 1;
    if (c->seen <= c->delay) {
        c->seen++;
    }
    if (c->seen <= c->delay) {
        for (int k = 0; k < c->outs; k++) {
            audio_fill(out->out[k], io_bytes, 0, io_bytes);
        }
    } else {
        int16_t o1[REC_MAX_FRAME], o2[REC_MAX_FRAME];
        const int16_t *d1 = c->ring[c->read_slot][0], *d2 = c->ring[c->read_slot][1];
        if ((r = run_chain(c, d1, two ? d2 : NULL, o1, o2)) != 0) {
            return r;
        }
        if (!two) {
            audio_copy(o2, sizeof(o2), o1, bytes);
        }
        if (c->rate_mode == 0) {
            /* both channels back to 8000 Hz; a third output copies the first */
            int16_t t1[80], t2[80];
            r = record_record_zorvo_src_16to8_apply(&c->src, o1, o2, t1, t2);
            if (r != 0) {
                return ZR_BASE_SRC + r;
            }
            audio_copy(o1, sizeof(o1), t1, sizeof(t1));
            audio_copy(o2, sizeof(o2), two ? t2 : t1, sizeof(t1));
        } else if (c->rate_mode == 3) {
            int16_t t1[441], t2[441];
            r = record_record_zorvo_src_480to441_apply(&c->src, o1, o2, t1, t2);
            if (r != 0) {
                return ZR_BASE_SRC + r;
            }
            audio_copy(o1, sizeof(o1), t1, sizeof(t1));
            audio_copy(o2, sizeof(o2), t1, sizeof(t1));
        }
        audio_copy(out->out[0], io_bytes, o1, io_bytes);
        if (c->outs >= 2) {
            audio_copy(out->out[1], io_bytes, o2, io_bytes);
        }
        if (c->outs >= 3) {
            audio_copy(out->out[2], io_bytes, o1, io_bytes);
        }
        c->read_slot = (c->read_slot + 1) % slots;
    }
    c->write_slot = (c->write_slot + 1) % slots;
    out->out_num = (uint8_t)c->outs;
    return 0;
}
