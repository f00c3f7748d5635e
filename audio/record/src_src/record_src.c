#include "record_src.h"

#include "record_common.h"

int record_record_zorvo_src_get_size(int32_t *size) {
    if (size == NULL) {
        return -5;
    }
    *size = RECORD_SRC_SIZE;
    return 0;
}

int record_record_zorvo_src_init(record_src_state *st, int channels) {
    if (st == NULL) {
        return -1;
    }
    audio_fill(st, sizeof(*st), 0, sizeof(*st));
    st->channels = channels == 2 ? 2 : 1;
    st->tag = RECORD_SRC_TAG;
    return 0;
}

/* Shifts the last `keep` of `keep + n` values to the front. */
static void keep_tail(int32_t *buf, int keep, int n) {
    audio_move(buf, (size_t)keep * sizeof(int32_t), buf + n, (size_t)keep * sizeof(int32_t));
}

void record_record_zorvo_isrc_8to16(int32_t *buf, const int16_t *in, int16_t *out) {
    const int32_t *a = record_record_g_zorvo_isrc_doublesample_fir_q31;
    const int32_t *b = a + 46;
    const int32_t c0 = record_record_g_zorvo_isrc_doublesample_centre;
    for (int i = 0; i < 80; i++) {
        buf[SRC_LB_8TO16 + i] = in[i];
    }
    /* output pair n is centred on buf[46 + n]: the interpolator looks 46 samples ahead */
    for (int n = 0; n < 80; n++) {
        const int32_t *x = buf + 46 + n;
        int64_t e = (int64_t)c0 * x[0], o = 0;
        for (int j = 1; j <= 46; j++) {
            e += (int64_t)a[j - 1] * (x[-j] + x[j]);
            o += (int64_t)b[j - 1] * (x[1 - j] + x[j]);
        }
        out[2 * n] = rec_sat16((e + (1LL << 29)) >> 30);
        out[2 * n + 1] = rec_sat16((o + (1LL << 29)) >> 30);
    }
    keep_tail(buf, SRC_LB_8TO16, 80);
}

void record_record_zorvo_isrc_16to8(int32_t *buf, const int16_t *in, int16_t *out) {
    const int32_t *h = record_record_g_zorvo_isrc_halfsample_fir_q31;
    const int32_t c0 = record_record_g_zorvo_isrc_halfsample_centre;
    for (int i = 0; i < 160; i++) {
        buf[SRC_LB_16TO8 + i] = in[i];
    }
    for (int n = 0; n < 80; n++) {
        const int32_t *x = buf + 16 + 2 * n; /* 15 samples of look-ahead inside the block */
        int64_t acc = (int64_t)c0 * x[0];
        for (int j = 1; j <= 15; j++) {
            acc += (int64_t)h[j - 1] * (x[-j] + x[j]);
        }
        out[n] = rec_sat16((acc + (1LL << 30)) >> 31);
    }
    keep_tail(buf, SRC_LB_16TO8, 160);
}

/* Two-phase up-sampler: out[2m + p] = sum_k h[2k + p] x[m + 40 - k]... written over the look-back. */
static void up2(int32_t *buf, int n, int32_t *out) {
    const int32_t *h = record_record_g_zorvo_asrc_doublesample_fir_q31_2phase;
    for (int m = 0; m < n; m++) {
        const int32_t *x = buf + SRC_LB_UP2 + m; /* newest sample of this step */
        int64_t e = 0, o = 0;
        for (int k = 0; k <= 80; k++) {
            e += (int64_t)h[2 * k] * x[-k];
        }
        for (int k = 0; k < 80; k++) {
            o += (int64_t)h[2 * k + 1] * x[-k];
        }
        out[2 * m] = rec_sat32((e + (1LL << 30)) >> 31);
        out[2 * m + 1] = rec_sat32((o + (1LL << 30)) >> 31);
    }
}

/* Rational L/M polyphase filter over `in_n` new samples giving exactly in_n * L / M outputs. */
static void poly(int32_t *buf, const int32_t *table, int L, int M, int in_n, int16_t *out) {
    int out_n = in_n * L / M;
    for (int m = 0; m < out_n; m++) {
        int32_t t = m * M;
        int idx = t / L, ph = t % L;
        const int32_t *x = buf + SRC_LB_POLY + idx;
        const int32_t *h = table + ph * 20;
        int64_t acc = 0;
        for (int k = 0; k < 20; k++) {
            acc += (int64_t)h[k] * x[-k];
        }
        out[m] = rec_sat16((acc + (1LL << 30)) >> 31);
    }
}

void record_record_zorvo_asrc_up_441to882(int32_t *buf, const int16_t *in, int32_t *out) {
    for (int i = 0; i < 441; i++) {
        buf[SRC_LB_UP2 + i] = in[i];
    }
    up2(buf, 441, out);
    keep_tail(buf, SRC_LB_UP2, 441);
}

void record_record_zorvo_asrc_up_882to480(int32_t *buf, const int32_t *in, int16_t *out) {
    audio_copy(buf + SRC_LB_POLY, 882 * sizeof(int32_t), in, 882 * sizeof(int32_t));
    poly(buf, record_record_g_zorvo_asrc_polyfir_882to480_q31, 80, 147, 882, out);
    keep_tail(buf, SRC_LB_POLY, 882);
}

void record_record_zorvo_asrc_down_480to960(int32_t *buf, const int16_t *in, int32_t *out) {
    for (int i = 0; i < 480; i++) {
        buf[SRC_LB_UP2 + i] = in[i];
    }
    up2(buf, 480, out);
    keep_tail(buf, SRC_LB_UP2, 480);
}

void record_record_zorvo_asrc_down_960to441(int32_t *buf, const int32_t *in, int16_t *out) {
    audio_copy(buf + SRC_LB_POLY, 960 * sizeof(int32_t), in, 960 * sizeof(int32_t));
    poly(buf, record_record_g_zorvo_asrc_polyfir_960to441_q31, 147, 320, 960, out);
    keep_tail(buf, SRC_LB_POLY, 960);
}

void record_record_zorvo_asrc_441to480_2_stage_proc(record_src_state *st, const int16_t *in, int16_t *out) {
    int32_t mid[882];
    record_record_zorvo_asrc_up_441to882(st->up441, in, mid);
    record_record_zorvo_asrc_up_882to480(st->poly882, mid, out);
}

void record_record_zorvo_asrc_480to441_2_stage_proc(record_src_state *st, const int16_t *in, int16_t *out) {
    int32_t mid[960];
    record_record_zorvo_asrc_down_480to960(st->up480, in, mid);
    record_record_zorvo_asrc_down_960to441(st->poly960, mid, out);
}

static int check(const record_src_state *st, const int16_t *in1, const int16_t *in2, const int16_t *out1,
                 const int16_t *out2, int second_in) {
    if (st == NULL) {
        return -1;
    }
    if (in1 == NULL || (second_in && st->channels == 2 && in2 == NULL)) {
        return -16;
    }
    if (out1 == NULL || (st->channels == 2 && out2 == NULL)) {
        return -17;
    }
    return st->tag == RECORD_SRC_TAG ? 0 : -14;
}

int record_record_zorvo_src_8to16_apply(record_src_state *st, const int16_t *in1, const int16_t *in2,
                                        int16_t *out1, int16_t *out2) {
    int ret = check(st, in1, in2, out1, out2, 1);
    if (ret != 0) {
        return ret;
    }
    record_record_zorvo_isrc_8to16(st->up8[0], in1, out1);
    if (st->channels == 2) {
        record_record_zorvo_isrc_8to16(st->up8[1], in2, out2);
    }
    return 0;
}

int record_record_zorvo_src_16to8_apply(record_src_state *st, const int16_t *in1, const int16_t *in2,
                                        int16_t *out1, int16_t *out2) {
    int ret = check(st, in1, in2, out1, out2, 1);
    if (ret != 0) {
        return ret;
    }
    record_record_zorvo_isrc_16to8(st->down8[0], in1, out1);
    if (st->channels == 2) {
        record_record_zorvo_isrc_16to8(st->down8[1], in2, out2);
    }
    return 0;
}

int record_record_zorvo_src_441to480_apply(record_src_state *st, const int16_t *in1, const int16_t *in2,
                                           int16_t *out1, int16_t *out2) {
    int ret = check(st, in1, in2, out1, out2, 0);
    if (ret != 0) {
        return ret;
    }
    record_record_zorvo_asrc_441to480_2_stage_proc(st, in1, out1);
    if (st->channels == 2) {
        audio_copy(out2, 480 * sizeof(int16_t), out1, 480 * sizeof(int16_t));
    }
    return 0;
}

int record_record_zorvo_src_480to441_apply(record_src_state *st, const int16_t *in1, const int16_t *in2,
                                           int16_t *out1, int16_t *out2) {
    int ret = check(st, in1, in2, out1, out2, 0);
    if (ret != 0) {
        return ret;
    }
    record_record_zorvo_asrc_480to441_2_stage_proc(st, in1, out1);
    if (st->channels == 2) {
        audio_copy(out2, 441 * sizeof(int16_t), out1, 441 * sizeof(int16_t));
    }
    return 0;
}
