#include "record_eq.h"

#include "record_common.h"

static int guards_ok(const record_eq_state *st) {
    return st->guard_head == RECORD_EQ_GUARD && st->guard_coef == RECORD_EQ_GUARD &&
           st->guard_tail == RECORD_EQ_GUARD;
}

int record_record_zorvo_eq_fir_init(record_eq_state *st, int type, int mic_num, int rate_code) {
    if (st == NULL) {
        return -1;
    }
    if (type < 1 || type > 4) {
        return -3;
    }
    if (rate_code != 1 && rate_code != 2) {
        return -4;
    }
    audio_fill(st, sizeof(*st), 0, sizeof(*st));
    audio_eq_setup_for_rate(rate_code == 1 ? 16000 : 48000, &st->setup);
    st->channels = type == 3 ? mic_num : (type == 4 ? 1 : type);
    st->channels =
        st->channels < 1 ? 1 : (st->channels > RECORD_EQ_CHANNELS ? RECORD_EQ_CHANNELS : st->channels);
    st->guard_head = st->guard_coef = st->guard_tail = RECORD_EQ_GUARD;
    return record_record_zorvo_eq_fir_init_coe(st);
}

int record_record_zorvo_eq_fir_init_coe(record_eq_state *st) {
    const int16_t *window = st->setup.rate == 16000 ? record_record_g_zorvo_eq_fir_swin_16k
                                                    : record_record_g_zorvo_eq_fir_swin_48k;
    return audio_eq_design_windowed(&st->setup, st->gains, window, st->coef) == 0 ? 0 : -1;
}

int record_record_zorvo_eq_fir_set_params(record_eq_state *st, const int8_t *gains) {
    if (st == NULL || gains == NULL) {
        return -1;
    }
    if (audio_eq_check_gains(gains, st->setup.bands) != 0) {
        return -1;
    }
    audio_copy(st->gains, sizeof(st->gains), gains, AUDIO_EQ_PARAMS);
    return record_record_zorvo_eq_fir_init_coe(st);
}

int record_record_zorvo_eq_fir_get_params(const record_eq_state *st, int8_t *gains) {
    if (st == NULL || gains == NULL) {
        return -1;
    }
    return audio_copy(gains, AUDIO_EQ_PARAMS, st->gains, AUDIO_EQ_PARAMS) == 0 ? 0 : -1;
}

void record_record_zorvo_eq_fir_process(record_eq_state *st, int ch, const int32_t *in, int32_t *out) {
    /* the last entry is zero: a symmetric filter of 2H - 1 taps with 2H - 2 samples of history */
    audio_eq_filter_symmetric(st->coef, st->setup.half, st->hist[ch], in, out, st->setup.frame);
}

int record_record_zorvo_eq_fir_apply(record_eq_state *st, const int32_t *in1, const int32_t *in2,
                                     const int32_t *in3, int32_t *out1, int32_t *out2, int32_t *out3,
                                     int enable) {
    if (st == NULL) {
        return -1;
    }
    const int32_t *in[3] = {in1, in2, in3};
    int32_t *out[3] = {out1, out2, out3};
    for (int c = 0; c < st->channels; c++) {
        if (in[c] == NULL) {
            return -5;
        }
    }
    for (int c = 0; c < st->channels; c++) {
        if (out[c] == NULL) {
            return -6;
        }
    }
    if (!guards_ok(st)) {
        return -2;
    }
    size_t bytes = (size_t)st->setup.frame * sizeof(int32_t);
    for (int c = 0; c < st->channels; c++) {
        if (enable) {
            record_record_zorvo_eq_fir_process(st, c, in[c], out[c]);
        } else if (in[c] != out[c]) {
            audio_move(out[c], bytes, in[c], bytes);
        }
    }
    return guards_ok(st) ? 0 : -2;
}

void record_record_zorvo_eq_fir_sincos(uint32_t phase, int32_t *sin_q30, int32_t *cos_q30) {
    audio_eq_sincos(phase, sin_q30, cos_q30);
}

int32_t record_record_zorvo_eq_fir_exp10(int32_t db) {
    return audio_eq_exp10_q12(db);
}

int32_t record_record_zorvo_eq_fir_mul(int32_t a, int32_t b, int shift) {
    int64_t p = (int64_t)a * b;
    if (shift <= 0) {
        return rec_sat32(p);
    }
    shift = shift > 62 ? 62 : shift;
    return rec_sat32((p + (1LL << (shift - 1))) >> shift);
}

int32_t record_record_zorvo_eq_fir_abs(int32_t v) {
    return v == INT32_MIN ? INT32_MAX : (v < 0 ? -v : v);
}

int32_t record_record_zorvo_eq_fir_l_divide_q(int32_t num, int32_t den, int q) {
    if (den == 0) {
        return num < 0 ? INT32_MIN : INT32_MAX;
    }
    q = q < 0 ? 0 : (q > 31 ? 31 : q);
    return rec_sat32((int64_t)num * ((int64_t)1 << q) / den);
}
