/* Rational polyphase engine: output phase by phase through per-pair half-filter tables. */
#include <string.h>

#include "res_internal.h"

static int valid_bit_width(int bw) {
    return bw == 16 || bw == 18 || bw == 20 || bw == 24;
}

static int uses_wide_path(const RES_Resampler *res) {
    return res->wide_mode || res->bit_width != 16;
}

static void reset_phase(RES_Resampler *res) {
    res->phase = 0;
    res->pos = 0;
    res->coef_b = res->coef_tab;
    res->coef_a = res->coef_tab + (size_t)(res->up - 1) * (size_t)res->taps;
}

static void clear_history(RES_Resampler *res) {
    if (res->buf16 != NULL) {
        audio_fill(res->buf16, res->buf_values * sizeof(int16_t), 0, res->buf_values * sizeof(int16_t));
    }
    if (res->buf32 != NULL) {
        audio_fill(res->buf32, res->buf_values * sizeof(int32_t), 0, res->buf_values * sizeof(int32_t));
    }
}

/* Looks up the table and derives L, M, rows and history for (in, out). Leaves res untouched
 * and returns -1 when the pair cannot be served. */
static int derive(RES_Resampler *res, int in_rate, int out_rate, int from_config) {
    const res_poly_table *t = res_find_poly_table(in_rate, out_rate);
    if (t == NULL) {
        AUDIO_LOG("info_ptr is null.\n");
        return -1;
    }
    int g = res_gcd(in_rate, out_rate);
    if (g <= 0) {
        if (from_config) {
            AUDIO_LOG("invalid divisor(%d).\n", g);
        } else {
            AUDIO_LOG("invalid divisor(%d)!\n", g);
        }
        return -1;
    }
    int up = out_rate / g, down = in_rate / g;
    if (up > RES_MAX_L || res->chn * ((down + up - 1) / up) > 255) {
        return -1;
    }
    /* A table found through the halved or quartered rates must be for the same ratio. */
    if (t->steps_len != up || (long long)t->out_rate * in_rate != (long long)t->in_rate * out_rate) {
        AUDIO_LOG("info_ptr is null.\n");
        return -1;
    }
    /* The history of every channel and a full call's input must fit its buffer region. */
    int hist = 2 * t->taps;
    if (res->ch_stride != 0 && hist + RES_MAX_SAMPLES > res->ch_stride) {
        return -1;
    }
    res->table = t;
    res->up = up;
    res->down = down;
    res->in_rate = in_rate;
    res->out_rate = out_rate;
    res->taps = t->taps;
    res->hist_len = res->chn * hist;
    res->coef_tab = t->coef;
    res->phase_tab = t->steps;
    reset_phase(res);
    return 0;
}

static RES_Resampler *linear_object(int in_rate, int out_rate, int chn, int bit_width, int wide_mode) {
    RES_Resampler *res = res_alloc(0, 0);
    if (res == NULL) {
        return NULL;
    }
    res->lin = RES_linear_src_create(in_rate, out_rate, chn, (wide_mode && bit_width == 16) ? 16 : bit_width);
    if (res->lin == NULL) {
        res_free_block(res);
        return NULL;
    }
    res->in_rate = in_rate;
    res->out_rate = out_rate;
    res->chn = chn;
    res->bit_width = bit_width;
    res->wide_mode = wide_mode;
    res->is_linear = 1;
    return res;
}

static RES_Resampler *poly_object(int in_rate, int out_rate, int chn, int bit_width, int wide_mode) {
    if (in_rate >= out_rate) {
        return NULL;
    }
    const res_poly_table *t = res_find_poly_table(in_rate, out_rate);
    if (t == NULL) {
        AUDIO_LOG("info_ptr is null.\n");
        return NULL;
    }
    int wide = wide_mode || bit_width != 16;
    size_t values = wide ? RES_POLY_BUF32 : (size_t)(2 * chn * t->taps + RES_POLY_ROOM);
    RES_Resampler *res = res_alloc(values, wide ? sizeof(int32_t) : sizeof(int16_t));
    if (res == NULL) {
        return NULL;
    }
    res->chn = chn;
    res->bit_width = bit_width;
    res->wide_mode = wide_mode;
    res->ch_stride = (int)(values / (size_t)chn);
    if (derive(res, in_rate, out_rate, 0) != 0) {
        res_free_block(res);
        return NULL;
    }
    if (wide) {
        res->wr32 = res->buf32 + 2 * res->taps;
    } else {
        res->wr16 = res->buf16 + 2 * res->taps;
    }
    return res;
}

RES_Resampler *RES_new_resampler_create(int in_rate, int out_rate, int chn, int bit_width, int wide_mode) {
    if ((chn != 1 && chn != 2) || !valid_bit_width(bit_width)) {
        return NULL;
    }
    RES_Resampler *res = poly_object(in_rate, out_rate, chn, bit_width, wide_mode);
    return res != NULL ? res : linear_object(in_rate, out_rate, chn, bit_width, wide_mode);
}

void RES_new_resampler_free(RES_Resampler *res) {
    if (res == NULL) {
        return;
    }
    if (res->is_linear) {
        RES_linear_src_destroy(res->lin);
        res->lin = NULL;
    }
    res_free_block(res);
}

void RES_new_resample_flush(RES_Resampler *res) {
    if (RES_new_resampler_check(res) != 0) {
        return;
    }
    if (res->is_linear) {
        /* back to the just-created state: no carried frame, accumulator at 0 */
        RES_LinearSrc *lin = res->lin;
        RES_linear_src_update_change(lin, lin->in_rate, lin->out_rate, lin->bit_width, lin->chn);
        return;
    }
    reset_phase(res);
    clear_history(res);
}

int RES_new_resampler_check(const RES_Resampler *res) {
    if (!res_integrity_ok(res) || res->is_int_ratio) {
        return RES_ERR_NULL_HANDLE;
    }
    if (res->is_linear) {
        return res_lin_integrity_ok(res->lin) ? 0 : RES_ERR_NULL_HANDLE;
    }
    if (res->table == NULL || res->up < 1 || res->phase < 0 || res->phase >= res->up || res->pos < 0 ||
        res->pos > 2 * res->down + 2) {
        return RES_ERR_NULL_HANDLE;
    }
    if (!valid_bit_width(res->bit_width)) {
        return RES_ERR_BIT_WIDTH;
    }
    return 0;
}

int RES_new_resampler_get_max_output_num(RES_Resampler *res, int count) {
    int rc = RES_new_resampler_check(res);
    if (rc != 0) {
        return rc;
    }
    if (res->is_linear) {
        return RES_linear_src_get_max_output_num(res->lin, count);
    }
    return res_max_output(res, count);
}

int RES_resample_config(RES_Resampler *res, int in_rate, int out_rate) {
    if (RES_new_resampler_check(res) != 0) {
        return -1;
    }
    if (res->is_linear) {
        return RES_linear_src_update_change(res->lin, in_rate, out_rate, res->lin->bit_width, res->chn);
    }
    if (in_rate == res->in_rate && out_rate == res->out_rate) {
        return 0;
    }
    if (derive(res, in_rate, out_rate, 1) != 0) {
        return -1;
    }
    clear_history(res);
    return 0;
}

static inline int64_t half_dots32(const int32_t *x, const int16_t *a, const int16_t *b, int taps) {
    int64_t s = 0;
    for (int k = 0; k < taps; k++) {
        s += ((int64_t)x[k] * a[k]) >> 16;
        s += ((int64_t)x[-1 - k] * b[k]) >> 16;
    }
    return s;
}

typedef struct poly_walk {
    int phase;
    int pos;
    const int16_t *a;
    const int16_t *b;
} poly_walk;

static inline void step(const RES_Resampler *res, poly_walk *w, int *x) {
    uint32_t e = res->phase_tab[w->phase];
    *x += (int)((e & 0xFFu) >> 1);
    w->a = res->coef_tab + (size_t)((e >> 8) & 0xFFFu) * (size_t)res->taps;
    w->b = res->coef_tab + (size_t)(e >> 20) * (size_t)res->taps;
    w->phase = (int)(e >> 20);
}

/* Forward half x[0 .. T-1] against coef_a, backward half x[-1 .. -T] against coef_b: one run
 * each (T is 8 or 16). */
static inline void halves(const int16_t *x, const int16_t *a, const int16_t *b, int taps, res_acc *fa,
                          res_acc *fb) {
    if (taps == 16) {
        *fa = res_run16(x, a);
        *fb = res_mac8_rev(res_mac8_rev(res_acc_zero(), x, b), x - 8, b + 8);
    } else {
        *fa = res_mac8(res_acc_zero(), x, a);
        *fb = res_mac8_rev(res_acc_zero(), x, b);
    }
}

/* One channel: outputs while the window start x is inside this call's input, two outputs per
 * lane reduction. */
static inline int channel16(const RES_Resampler *res, poly_walk *w, const int16_t *b, int count, int16_t *out,
                            int chn, int taps) {
    const int16_t *base = b + 2 * taps - (taps - 1);
    int x = w->pos;
    int n = 0;
    while (x < count) {
        res_acc fa0, fb0, fa1, fb1;
        int32_t s[4];
        halves(base + x, w->a, w->b, taps, &fa0, &fb0);
        step(res, w, &x);
        if (x < count) {
            halves(base + x, w->a, w->b, taps, &fa1, &fb1);
            step(res, w, &x);
            res_reduce4(fa0, fb0, fa1, fb1, s);
            out[n * chn] = res_round_q15((int64_t)s[0] + s[1]);
            out[(n + 1) * chn] = res_round_q15((int64_t)s[2] + s[3]);
            n += 2;
        } else {
            res_reduce4(fa0, fb0, res_acc_zero(), res_acc_zero(), s);
            out[n * chn] = res_round_q15((int64_t)s[0] + s[1]);
            n++;
        }
    }
    w->pos = x - count;
    return n;
}

static int channel16_8(const RES_Resampler *res, poly_walk *w, const int16_t *b, int count, int16_t *out,
                       int chn) {
    return channel16(res, w, b, count, out, chn, 8);
}

static int channel16_16(const RES_Resampler *res, poly_walk *w, const int16_t *b, int count, int16_t *out,
                        int chn) {
    return channel16(res, w, b, count, out, chn, 16);
}

static int32_t narrow(int64_t y, int bit_width) {
    int shift = 15 - (bit_width - 16);
    int64_t v = (y + ((int64_t)1 << (shift - 1))) >> shift;
    int64_t hi = ((int64_t)1 << (bit_width - 1)) - 1, lo = -((int64_t)1 << (bit_width - 1));
    return (int32_t)(v > hi ? hi : (v < lo ? lo : v));
}

static int channel32(const RES_Resampler *res, poly_walk *w, const int32_t *b, int count, void *out, int c) {
    int taps = res->taps, chn = res->chn;
    const int32_t *base = b + 2 * taps - (taps - 1);
    int x = w->pos;
    int n = 0;
    while (x < count) {
        int32_t v = narrow(half_dots32(base + x, w->a, w->b, taps), res->bit_width);
        if (res->bit_width == 16) {
            ((int16_t *)out)[n * chn + c] = (int16_t)v;
        } else {
            ((int32_t *)out)[n * chn + c] = v;
        }
        n++;
        step(res, w, &x);
    }
    w->pos = x - count;
    return n;
}

static int poly_process(RES_Resampler *res, const void *in, void *out, int count, int interleaved) {
    int chn = res->chn;
    int taps = res->taps;
    int hist = 2 * taps;
    int wide = uses_wide_path(res);
    /* frame j of channel c is in[j * fs + c * cs] */
    size_t fs = (chn == 2 && !interleaved) ? 1u : (size_t)chn;
    size_t cs = (chn == 2 && !interleaved) ? (size_t)count : 1u;
    poly_walk w = {0, 0, NULL, NULL};
    int produced = 0;
    for (int c = 0; c < chn; c++) {
        w.phase = res->phase;
        w.pos = res->pos;
        w.a = res->coef_a;
        w.b = res->coef_b;
        size_t room;
        int rc;
        if (wide) {
            int32_t *b = res->buf32 + (size_t)c * (size_t)res->ch_stride;
            int32_t *dst = b + hist;
            if (res->bit_width == 16) {
                const int16_t *src = in;
                for (int j = 0; j < count; j++) {
                    dst[j] = (int32_t)((uint32_t)(uint16_t)src[j * fs + c * cs] << 16);
                }
            } else {
                const int32_t *src = in;
                for (int j = 0; j < count; j++) {
                    dst[j] = src[j * fs + c * cs];
                }
            }
            produced = channel32(res, &w, b, count, out, c);
            room = (size_t)res->ch_stride * sizeof(int32_t);
            rc = audio_move(b, room, b + count, (size_t)hist * sizeof(int32_t));
        } else {
            int16_t *b = res->buf16 + (size_t)c * (size_t)res->ch_stride;
            int16_t *dst = b + hist;
            const int16_t *src = in;
            for (int j = 0; j < count; j++) {
                dst[j] = src[j * fs + c * cs];
            }
            int16_t *o = (int16_t *)out + c;
            produced =
                taps == 16 ? channel16_16(res, &w, b, count, o, chn) : channel16_8(res, &w, b, count, o, chn);
            room = (size_t)res->ch_stride * sizeof(int16_t);
            rc = audio_move(b, room, b + count, (size_t)hist * sizeof(int16_t));
        }
        if (rc != 0) {
            audio_log("RES_resampler_mono_process16", __LINE__, "memmove_s failed, ret:0x%x.\n",
                      (unsigned)rc);
            return 0;
        }
    }
    res->phase = w.phase;
    res->pos = w.pos;
    res->coef_a = w.a;
    res->coef_b = w.b;
    return produced;
}

int RES_new_resampler_process_frame(RES_Resampler *res, const void *in, void *out,
                                    const RES_FrameDesc *desc) {
    if (res == NULL) {
        return RES_ERR_NULL_HANDLE;
    }
    if (in == NULL || out == NULL || desc == NULL) {
        return RES_ERR_NULL_BUFFER;
    }
    int rc = RES_new_resampler_check(res);
    if (rc != 0) {
        return rc;
    }
    int count = desc->count;
    if ((unsigned)count > RES_MAX_SAMPLES || (!res->is_linear && res->chn == 2 && (count & 1) != 0)) {
        return RES_ERR_COUNT;
    }
    if (res->chn != 1 && res->chn != 2) {
        return RES_ERR_CHANNELS;
    }
    if (!valid_bit_width(res->bit_width)) {
        return RES_ERR_BIT_WIDTH;
    }
    if (desc->in_rate != res->in_rate || desc->out_rate != res->out_rate) {
        if (RES_resample_config(res, desc->in_rate, desc->out_rate) != 0) {
            return -1;
        }
        res->in_rate = desc->in_rate;
        res->out_rate = desc->out_rate;
    }
    int max = RES_new_resampler_get_max_output_num(res, count);
    if (max < 0) {
        return max == RES_ERR_COUNT ? RES_ERR_COUNT : RES_ERR_OUTPUT_SIZE;
    }
    if (res->is_linear) {
        return res_linear_process(res->lin, in, out, count, desc->interleaved || res->chn == 1);
    }
    return poly_process(res, in, out, count, desc->interleaved);
}
