#include "record_hlpf.h"

#include "record_common.h"

int record_record_zorvo_hlpf_init(record_hlpf_state *st, int channels, int rate_code) {
    if (st == NULL) {
        return -1;
    }
    if (rate_code != 1 && rate_code != 2) {
        return -13;
    }
    if (channels < 1 || channels > RECORD_HLPF_CHANNELS) {
        return -14;
    }
    audio_fill(st, sizeof(*st), 0, sizeof(*st));
    st->tag_head = st->tag_tail = RECORD_HLPF_TAG;
    st->rate_code = rate_code;
    st->channels = channels;
    st->frame = rate_code == 1 ? 160 : 480;
    return 0;
}

int record_record_zorvo_hlpf_set_params(record_hlpf_state *st, const void *block) {
    if (st == NULL) {
        return -1;
    }
    if (block == NULL) {
        return -7;
    }
    if (st->rate_code != 1 && st->rate_code != 2) {
        return -13;
    }
    if (st->channels < 1 || st->channels > RECORD_HLPF_CHANNELS) {
        return -14;
    }
    const uint8_t *p = block;
    int32_t mode = rec_rd32(p);
    int16_t hpf = rec_rd16(p + 4), lpf = rec_rd16(p + 6);
    if (mode > 1 || mode < 0) {
        return -15;
    }
    /* An index outside the table would read past it: take the nearest row. */
    hpf = hpf < 0 ? 0 : (hpf > 3 ? 3 : hpf);
    lpf = lpf < 0 ? 0 : (lpf > 3 ? 3 : lpf);
    st->mode = mode;
    st->hpf_index = hpf;
    st->lpf_index = lpf;
    st->spare = rec_rd32(p + 8);
    st->frame = st->rate_code == 1 ? 160 : 480;
    const int16_t(*a)[3], (*b)[3];
    int row = mode == 1 ? hpf : lpf;
    if (st->rate_code == 1) {
        a = mode == 1 ? record_record_g_zorvo_hlpf_hpf_coef_a_16k : record_record_g_zorvo_hlpf_lpf_coef_a_16k;
        b = mode == 1 ? record_record_g_zorvo_hlpf_hpf_coef_b_16k : record_record_g_zorvo_hlpf_lpf_coef_b_16k;
    } else {
        a = mode == 1 ? record_record_g_zorvo_hlpf_hpf_coef_a_48k : record_record_g_zorvo_hlpf_lpf_coef_a_48k;
        b = mode == 1 ? record_record_g_zorvo_hlpf_hpf_coef_b_48k : record_record_g_zorvo_hlpf_lpf_coef_b_48k;
    }
    for (int i = 0; i < 3; i++) {
        st->a[i] = a[row][i];
        st->b[i] = b[row][i];
    }
    return 0;
}

int record_record_zorvo_hlpf_get_params(const record_hlpf_state *st, void *block) {
    if (st == NULL) {
        return -1;
    }
    if (block == NULL) {
        return -7;
    }
    uint8_t *p = block;
    audio_fill(p, RECORD_HLPF_PARAM_SIZE, 0, RECORD_HLPF_PARAM_SIZE);
    rec_wr32(p, st->mode);
    rec_wr16(p + 4, st->hpf_index);
    rec_wr16(p + 6, st->lpf_index);
    rec_wr32(p + 8, st->spare);
    return 0;
}

void record_record_zorvo_high_low_pass_filter(record_hlpf_state *st, int ch, const int16_t *in, int32_t *out,
                                              int n) {
    int32_t b0 = st->b[0], b1 = st->b[1], b2 = st->b[2], a1 = st->a[1], a2 = st->a[2];
    int32_t x1 = st->x1[ch], x2 = st->x2[ch], y1 = st->y1[ch], y2 = st->y2[ch], rem = st->rem[ch];
    for (int i = 0; i < n; i++) {
        int32_t x0 = in[i];
        /* the part below one output step is carried into the next sample (error feedback), so
         * the recursion has no dead band around its poles near DC */
        int64_t acc = (int64_t)(b0 * x0 + b1 * x1 + b2 * x2) * (1 << REC_CHAIN_SHIFT) + (int64_t)a1 * y1 +
                      (int64_t)a2 * y2 + rem;
        int64_t q = acc >> 12;
        rem = (int32_t)(acc - q * 4096);
        int32_t y0 = rec_sat32(q);
        x2 = x1;
        x1 = x0;
        y2 = y1;
        y1 = y0;
        out[i] = y0;
    }
    st->x1[ch] = (int16_t)x1;
    st->x2[ch] = (int16_t)x2;
    st->y1[ch] = y1;
    st->y2[ch] = y2;
    st->rem[ch] = rem;
}

int record_record_zorvo_hlpf_apply(record_hlpf_state *st, const int16_t *in1, const int16_t *in2,
                                   int32_t *out1, int32_t *out2) {
    if (st == NULL) {
        return -1;
    }
    int two = st->channels != 1;
    if (in1 == NULL || (two && in2 == NULL)) {
        return -16;
    }
    if (out1 == NULL || (two && out2 == NULL)) {
        return -17;
    }
    if (st->tag_head != RECORD_HLPF_TAG || st->tag_tail != RECORD_HLPF_TAG) {
        return -5;
    }
    record_record_zorvo_high_low_pass_filter(st, 0, in1, out1, st->frame);
    if (two) {
        record_record_zorvo_high_low_pass_filter(st, 1, in2, out2, st->frame);
    }
    return 0;
}
