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

/* 1:K: every new sample i gives K outputs from the window b[i .. i + H - 1], one per row. */
static int up2(const int16_t *b, int count, int pos, int16_t *out, int chn, int *next_pos) {
    const int16_t *r0 = RES_g_up2_coef, *r1 = RES_g_up2_coef + 32;
    (void)pos;
    *next_pos = 0;
    for (int i = 0; i < count; i++) {
        int32_t s[4];
        res_reduce4(res_run16(b + i, r0), res_run16(b + i + 16, r0 + 16), res_run16(b + i, r1),
                    res_run16(b + i + 16, r1 + 16), s);
        out[(2 * i) * chn] = res_round_q15((int64_t)s[0] + s[1]);
        out[(2 * i + 1) * chn] = res_round_q15((int64_t)s[2] + s[3]);
    }
    return 2 * count;
}

/* Rows of 8 taps: each row is one run. */
static int up4(const int16_t *b, int count, int pos, int16_t *out, int chn, int *next_pos) {
    const int16_t *h = RES_g_up4_coef;
    (void)pos;
    *next_pos = 0;
    for (int i = 0; i < count; i++) {
        const int16_t *x = b + i;
        int32_t s[4];
        res_reduce4(res_mac8(res_acc_zero(), x, h), res_mac8(res_acc_zero(), x, h + 8),
                    res_mac8(res_acc_zero(), x, h + 16), res_mac8(res_acc_zero(), x, h + 24), s);
        for (int k = 0; k < 4; k++) {
            out[(4 * i + k) * chn] = res_round_q15(s[k]);
        }
    }
    return 4 * count;
}

static int up6(const int16_t *b, int count, int pos, int16_t *out, int chn, int *next_pos) {
    const int16_t *h = RES_g_up6_coef;
    (void)pos;
    *next_pos = 0;
    for (int i = 0; i < count; i++) {
        const int16_t *x = b + i;
        int32_t s[8];
        res_reduce4(res_mac8(res_acc_zero(), x, h), res_mac8(res_acc_zero(), x, h + 8),
                    res_mac8(res_acc_zero(), x, h + 16), res_mac8(res_acc_zero(), x, h + 24), s);
        res_reduce4(res_mac8(res_acc_zero(), x, h + 32), res_mac8(res_acc_zero(), x, h + 40), res_acc_zero(),
                    res_acc_zero(), s + 4);
        for (int k = 0; k < 6; k++) {
            out[(6 * i + k) * chn] = res_round_q15(s[k]);
        }
    }
    return 6 * count;
}

/* K:1: output m uses the window starting K samples after the previous one. The window start
 * carried in `pos` lets a mono stream be split at any sample; a count that is a multiple of K
 * keeps it at 0. The 4:1 filter's two trailing zero taps read (zero-filled) room past the
 * input and add nothing. Two outputs share one lane reduction. */
static int down2(const int16_t *b, int count, int pos, int16_t *out, int chn, int *next_pos) {
    const int16_t *h = RES_g_down2_coef;
    int m = 0, p = pos;
    for (; p < count; p += 4, m += 2) {
        int32_t s[4];
        const int16_t *x = b + p;
        res_reduce4(res_run16(x, h), res_run16(x + 16, h + 16), res_run16(x + 2, h),
                    res_run16(x + 18, h + 16), s);
        out[m * chn] = res_round_q15((int64_t)s[0] + s[1]);
        if (p + 2 >= count) {
            p += 2;
            m++;
            break;
        }
        out[(m + 1) * chn] = res_round_q15((int64_t)s[2] + s[3]);
    }
    *next_pos = p - count;
    return m;
}

static int down4(const int16_t *b, int count, int pos, int16_t *out, int chn, int *next_pos) {
    const int16_t *h = RES_g_down4_coef;
    int m = 0, p = pos;
    for (; p < count; p += 8, m += 2) {
        int32_t s[4];
        const int16_t *x = b + p;
        res_reduce4(res_run16(x, h), res_run16(x + 16, h + 16), res_run16(x + 4, h),
                    res_run16(x + 20, h + 16), s);
        out[m * chn] = res_round_q15((int64_t)s[0] + s[1]);
        if (p + 4 >= count) {
            p += 4;
            m++;
            break;
        }
        out[(m + 1) * chn] = res_round_q15((int64_t)s[2] + s[3]);
    }
    *next_pos = p - count;
    return m;
}

static int down6(const int16_t *b, int count, int pos, int16_t *out, int chn, int *next_pos) {
    const int16_t *h = RES_g_down6_coef;
    int m = 0, p = pos;
    for (; p < count; p += 6, m++) {
        int32_t s[4];
        const int16_t *x = b + p;
        res_reduce4(res_run16(x, h), res_run16(x + 16, h + 16), res_run16(x + 32, h + 32), res_acc_zero(), s);
        out[m * chn] = res_round_q15((int64_t)s[0] + s[1] + s[2]);
    }
    *next_pos = p - count;
    return m;
}

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
