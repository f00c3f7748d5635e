/* Integer-ratio engine: fixed FIR filters for 1:1, 1:2, 2:1, 1:4, 4:1, 1:6 and 6:1. */
#include <string.h>

#include "res_internal.h"
#include "res_tables.h"

/* Coefficient words (pairs of taps) per output, by ratio index; history is twice that per
 * channel. */
static const int k_taps_by_index[7] = {0, 16, 16, 4, 15, 4, 24};

RES_Resampler *RES_resampler2x_create(int in_rate, int out_rate, int index, int chn) {
    if (index < 0 || index > 6 || (chn != 1 && chn != 2) || in_rate <= 0 || out_rate <= 0) {
        return NULL;
    }
    int taps = k_taps_by_index[index];
    int hist = 2 * taps; /* per channel */
    RES_Resampler *res = res_alloc((size_t)chn * (size_t)(hist + RES_INT_ROOM), sizeof(int16_t));
    if (res == NULL) {
        return NULL;
    }
    res->in_rate = in_rate;
    res->out_rate = out_rate;
    res->ratio_index = index;
    res->chn = chn;
    res->taps = taps;
    res->hist_len = chn * hist;
    res->bit_width = 16;
    res->is_int_ratio = 1;
    res->ch_stride = hist + RES_INT_ROOM;
    res->wr16 = res->buf16 + hist;
    return res;
}

void RES_resampler2x_free(RES_Resampler *res) {
    res_free_block(res);
}

void RES_resample2x_flush(RES_Resampler *res) {
    if (!res_integrity_ok(res) || !res->is_int_ratio) {
        return;
    }
    audio_fill(res->buf16, res->buf_values * sizeof(int16_t), 0, res->buf_values * sizeof(int16_t));
    res->wr16 = res->buf16 + res->hist_len / res->chn;
    res->pos = 0;
}

/* 1:K: every new sample i gives K outputs from the window b[i .. i + H - 1]. */
static inline void up_channel(const int16_t *b, int count, const int16_t *rows, int k_up, int h_len,
                              int16_t *out, int chn) {
    for (int i = 0; i < count; i++) {
        for (int k = 0; k < k_up; k++) {
            out[(k_up * i + k) * chn] = res_round_q15(res_dot16(b + i, rows + k * h_len, h_len));
        }
    }
}

static int up2(const int16_t *b, int count, int pos, int16_t *out, int chn, int *next_pos) {
    (void)pos;
    *next_pos = 0;
    for (int i = 0; i < count; i++) {
        out[(2 * i) * chn] = res_round_q15(res_dot16(b + i, RES_g_up2_coef, 32));
        out[(2 * i + 1) * chn] = res_round_q15(res_dot16(b + i, RES_g_up2_coef + 32, 32));
    }
    return 2 * count;
}

static int up4(const int16_t *b, int count, int pos, int16_t *out, int chn, int *next_pos) {
    (void)pos;
    *next_pos = 0;
    up_channel(b, count, RES_g_up4_coef, 4, 8, out, chn);
    return 4 * count;
}

static int up6(const int16_t *b, int count, int pos, int16_t *out, int chn, int *next_pos) {
    (void)pos;
    *next_pos = 0;
    up_channel(b, count, RES_g_up6_coef, 6, 8, out, chn);
    return 6 * count;
}

/* K:1: output m uses the window starting K samples after the previous one. The window start
 * carried in `pos` lets a mono stream be split at any sample; a count that is a multiple of K
 * keeps it at 0. */
#define DOWN_KERNEL(name, k_down, coef, n_taps)                                                              \
    static int name(const int16_t *b, int count, int pos, int16_t *out, int chn, int *next_pos) {            \
        int m = 0;                                                                                           \
        int p = pos;                                                                                         \
        for (; p < count; p += (k_down), m++) {                                                              \
            out[m * chn] = res_round_q15(res_dot16(b + p, coef, n_taps));                                    \
        }                                                                                                    \
        *next_pos = p - count;                                                                               \
        return m;                                                                                            \
    }
DOWN_KERNEL(down2, 2, RES_g_down2_coef, 32)
DOWN_KERNEL(down4, 4, RES_g_down4_coef, 30)
DOWN_KERNEL(down6, 6, RES_g_down6_coef, 48)

typedef int (*res_int_kernel)(const int16_t *b, int count, int pos, int16_t *out, int chn, int *next_pos);

/* Kernel slots by ratio index; 0 (copy) is handled without the buffer, 7 and 8 are empty. */
static const res_int_kernel k_kernels[9] = {NULL, up2, down2, up4, down4, up6, down6, NULL, NULL};
static const int k_down_factor[9] = {0, 0, 2, 0, 4, 0, 6, 0, 0};

int RES_resampler2x_process(RES_Resampler *res, const int16_t *in, int count, int16_t *out) {
    if (in == NULL || out == NULL || !res_integrity_ok(res) || !res->is_int_ratio) {
        return 0;
    }
    if ((unsigned)count > RES_MAX_SAMPLES || (unsigned)res->ratio_index > 8) {
        return 0;
    }
    int chn = res->chn;
    if (res->ratio_index == 0) {
        size_t bytes = (size_t)count * (size_t)chn * sizeof(int16_t);
        return audio_copy(out, bytes, in, bytes) == 0 ? count : 0;
    }
    res_int_kernel kernel = k_kernels[res->ratio_index];
    int k_down = k_down_factor[res->ratio_index];
    if (kernel == NULL || (chn == 2 && k_down != 0 && count % k_down != 0)) {
        return 0;
    }
    int hist = res->hist_len / chn;
    int produced = 0;
    int next_pos = 0;
    for (int c = 0; c < chn; c++) {
        int16_t *b = res->buf16 + (size_t)c * (size_t)res->ch_stride;
        int16_t *w = b + hist;
        for (int i = 0; i < count; i++) {
            w[i] = in[i * chn + c];
        }
        produced = kernel(b, count, res->pos, out + c, chn, &next_pos);
        size_t room = (size_t)res->ch_stride * sizeof(int16_t);
        int rc = audio_move(b, room, b + count, (size_t)hist * sizeof(int16_t));
        if (rc != 0) {
            AUDIO_LOG("memmove_s failed, ret:0x%x.\n", (unsigned)rc);
            return 0;
        }
    }
    res->pos = next_pos;
    return produced;
}

int RES_resampler2x_get_max_output_num(RES_Resampler *res, int count) {
    if (!res_integrity_ok(res)) {
        return RES_ERR_NULL_HANDLE;
    }
    double n = (double)(count + res->chn - 1) * (double)res->out_rate / (double)res->in_rate;
    return (int)n + 1;
}

int RES_resampler2x_get_min_input_num(RES_Resampler *res, int count) {
    if (!res_integrity_ok(res)) {
        return RES_ERR_NULL_HANDLE;
    }
    double n = (double)(count + res->chn - 1) * (double)res->in_rate / (double)res->out_rate;
    return (int)n;
}
