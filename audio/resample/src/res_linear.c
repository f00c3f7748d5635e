/* Linear-interpolation engine. */
#include <string.h>

#include "res_internal.h"

static const struct {
    int rate;
    uint32_t recip; /* floor(2^30 / rate) */
} k_recips[] = {
    {8000, 134217}, {11025, 97391}, {12000, 89478}, {16000, 67109}, {22050, 48696}, {24000, 44739},
    {32000, 33554}, {44100, 24348}, {48000, 22369}, {88200, 12174}, {96000, 11185}, {192000, 5592},
};

#define LIN_MAX_RATE 192000

static uint32_t recip_of(int rate) {
    for (size_t i = 0; i < sizeof(k_recips) / sizeof(k_recips[0]); i++) {
        if (k_recips[i].rate == rate) {
            return k_recips[i].recip;
        }
    }
    return (uint32_t)((1u << 30) / (uint32_t)rate);
}

static int valid_setup(int in_rate, int out_rate, int chn) {
    return in_rate >= 1 && in_rate <= LIN_MAX_RATE && out_rate >= 1 && out_rate <= LIN_MAX_RATE && chn >= 1 &&
           chn <= LIN_MAX_CHN;
}

RES_LinearSrc *RES_linear_src_create(int in_rate, int out_rate, int chn, int bit_width) {
    if (!valid_setup(in_rate, out_rate, chn)) {
        return NULL;
    }
    RES_LinearSrc *lin = audio_block_alloc(sizeof(RES_LinearSrc));
    if (lin == NULL) {
        return NULL;
    }
    lin->head = LIN_MARK_HEAD;
    lin->tail = LIN_MARK_TAIL;
    lin->bit_width = bit_width;
    lin->chn = chn;
    lin->step = in_rate;
    lin->in_rate = in_rate;
    lin->out_rate = out_rate;
    lin->recip = recip_of(out_rate);
    return lin;
}

int RES_linear_src_destroy(RES_LinearSrc *lin) {
    if (lin != NULL) {
        lin->head = 0;
        lin->tail = 0;
        audio_block_free(lin);
    }
    return 0;
}

int RES_linear_src_get_max_output_num(RES_LinearSrc *lin, int count) {
    if (lin == NULL) {
        AUDIO_LOG("handle is null.\n");
        return -1;
    }
    if (!res_lin_integrity_ok(lin) || count < 0) {
        return -1;
    }
    long long n = (long long)count * lin->out_rate / lin->in_rate;
    if (lin->out_rate % lin->in_rate != 0) {
        n++;
    }
    return n > 0x7FFFFFFF ? -1 : (int)n;
}

int RES_linear_src_check_update(const RES_LinearSrc *lin, int in_rate, int out_rate, int bit_width, int chn) {
    if (lin == NULL) {
        return 0;
    }
    return lin->in_rate != in_rate || lin->out_rate != out_rate || lin->bit_width != bit_width ||
           lin->chn != chn;
}

int RES_linear_src_update_change(RES_LinearSrc *lin, int in_rate, int out_rate, int bit_width, int chn) {
    if (!res_lin_integrity_ok(lin) || !valid_setup(in_rate, out_rate, chn)) {
        return -1;
    }
    lin->in_rate = in_rate;
    lin->step = in_rate;
    lin->out_rate = out_rate;
    lin->bit_width = bit_width;
    lin->chn = chn;
    lin->acc = 0;
    lin->pending = 0;
    lin->recip = recip_of(out_rate);
    memset(lin->last, 0, sizeof(lin->last));
    return 0;
}

int RES_linear_src_check_do_src(const RES_LinearSrc *lin) {
    return lin != NULL && (lin->in_rate != lin->out_rate || lin->pending);
}

/* Weighted sum of two neighbouring frames: floor(w_p * p / 2^32) + floor(w_q * q / 2^32). */
static inline int64_t blend(uint32_t wp, uint32_t wq, int32_t p, int32_t q) {
    return (((int64_t)wp * p) >> 32) + (((int64_t)wq * q) >> 32);
}

int res_linear_process(RES_LinearSrc *lin, const void *in, void *out, int count, int interleaved) {
    int chn = lin->chn;
    int wide = lin->bit_width != 16;
    const int16_t *in16 = in;
    const int32_t *in32 = in;
    int16_t *out16 = out;
    int32_t *out32 = out;
    size_t fs = interleaved ? (size_t)chn : 1u;
    size_t cs = interleaved ? 1u : (size_t)count;
    if (count <= 0) {
        return 0;
    }
    if (lin->in_rate == lin->out_rate) {
        for (int j = 0; j < count; j++) {
            for (int c = 0; c < chn; c++) {
                size_t at = (size_t)j * fs + (size_t)c * cs;
                if (wide) {
                    out32[(size_t)j * (size_t)chn + (size_t)c] = in32[at];
                } else {
                    out16[(size_t)j * (size_t)chn + (size_t)c] = in16[at];
                }
            }
        }
        for (int c = 0; c < chn; c++) {
            size_t at = (size_t)(count - 1) * fs + (size_t)c * cs;
            lin->last[c] = wide ? in32[at] : in16[at];
        }
        return count;
    }
    const int out_rate = lin->out_rate, in_rate = lin->in_rate;
    const uint32_t recip = lin->recip;
    int acc = lin->acc;
    int n = 0;
    for (int j = 0; j < count; j++) {
        int a = acc;
        for (; a < out_rate; a += in_rate, n++) {
            uint32_t wp = (uint32_t)(out_rate - a) * recip;
            uint32_t wq = (uint32_t)a * recip;
            for (int c = 0; c < chn; c++) {
                size_t at = (size_t)j * fs + (size_t)c * cs;
                int32_t q = wide ? in32[at] : in16[at];
                int32_t p = j == 0 ? lin->last[c] : (wide ? in32[at - fs] : in16[at - fs]);
                int64_t v = blend(wp, wq, p, q);
                size_t o = (size_t)n * (size_t)chn + (size_t)c;
                if (wide) {
                    int64_t s = v >> 14;
                    s = s > 32767 ? 32767 : (s < -32768 ? -32768 : s);
                    out32[o] = (int32_t)((uint32_t)s << 16);
                } else {
                    int64_t s = v * 4;
                    out16[o] = (int16_t)(s > 32767 ? 32767 : (s < -32768 ? -32768 : s));
                }
            }
        }
        acc = a - out_rate;
    }
    lin->acc = acc;
    for (int c = 0; c < chn; c++) {
        size_t at = (size_t)(count - 1) * fs + (size_t)c * cs;
        lin->last[c] = wide ? in32[at] : in16[at];
    }
    return n;
}

int RES_linear_src_process_frame(RES_LinearSrc *lin, const void *in, void *out, int count) {
    if (!res_lin_integrity_ok(lin) || in == NULL || out == NULL) {
        return -1;
    }
    if ((unsigned)count > RES_MAX_SAMPLES) {
        return RES_ERR_COUNT;
    }
    return res_linear_process(lin, in, out, count, 1);
}
