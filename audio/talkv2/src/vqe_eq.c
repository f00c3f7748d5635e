/*
 * Equaliser of the talk chain: the shared linear-phase FIR design at 16000 Hz (30 bands up to
 * 8000 Hz, 159 taps, H - 1 = 79 samples of delay) on one channel of 256-sample frames. Each
 * band gain is checked alone against -50..20 dB; the overall gain is added to every band and
 * the sum held within that range before the design. The filter's 64-bit sum is shifted right
 * by 19 (no rounding) and held within the 32-bit range.
 */
#include <string.h>

#include "audio_common.h"
#include "audio_eq.h"
#include "vqe_internal.h"

#define EQ_ALIGNED(p) ((((uintptr_t)(p)) & 7u) == 0)
#define EQ_TAPS       (2 * VQE_EQ_HALF)

int audio_vqe_eq_fir_init(vqe_eq *st, int channels, int enabled) {
    if (!enabled) {
        return 0;
    }
    if (st == NULL) {
        return -1;
    }
    if (!EQ_ALIGNED(st)) {
        return -5;
    }
    if (channels != 1) {
        return -4;
    }
    memset(st, 0, sizeof(*st));
    st->guard0 = st->guard1 = st->guard2 = VQE_GUARD;
    return 0;
}

/* Designs the filter for the stored gains. */
static int audio_vqe_eq_fir_init_coe(vqe_eq *st) {
    audio_eq_setup setup;
    if (audio_eq_setup_for_rate(AUDIO_VQE_RATE, &setup) != 0 || setup.half != VQE_EQ_HALF) {
        return -3;
    }
    int8_t g[AUDIO_EQ_PARAMS];
    memset(g, 0, sizeof(g));
    for (int i = 0; i < VQE_EQ_BANDS; i++) {
        int v = st->gains[i] + st->gains[VQE_EQ_BANDS];
        g[i] = (int8_t)(v < AUDIO_EQ_GAIN_MIN ? AUDIO_EQ_GAIN_MIN
                                              : (v > AUDIO_EQ_GAIN_MAX ? AUDIO_EQ_GAIN_MAX : v));
    }
    return audio_eq_design(&setup, g, st->coef) == 0 ? 0 : -3;
}

int audio_vqe_eq_fir_set_params(vqe_eq *st, const int8_t *gains) {
    if (st == NULL) {
        return -1;
    }
    if (gains == NULL) {
        return -2;
    }
    for (int i = 0; i < VQE_EQ_BANDS; i++) {
        if (gains[i] < -50 || gains[i] > 20) {
            return -10;
        }
    }
    memcpy(st->gains, gains, sizeof(st->gains));
    return audio_vqe_eq_fir_init_coe(st);
}

int audio_vqe_eq_fir_get_params(const vqe_eq *st, int8_t *gains) {
    if (st == NULL) {
        return -1;
    }
    if (gains == NULL) {
        return -2;
    }
    memcpy(gains, st->gains, sizeof(st->gains));
    return 0;
}

/* hist holds the last EQ_TAPS - 1 inputs (oldest first) followed by the frame. */
static void audio_vqe_eq_fir_process(vqe_eq *st, const int32_t *in, int32_t *out) {
    int32_t *x = st->hist;
    memcpy(x + EQ_TAPS - 1, in, VQE_HOP * sizeof(int32_t));
    for (int i = 0; i < VQE_HOP; i++) {
        const int32_t *xi = x + i + EQ_TAPS - 1;
        int64_t acc = 0;
        for (int k = 0; k < EQ_TAPS; k++) {
            acc += (int64_t)st->coef[k] * xi[-k];
        }
        acc >>= AUDIO_EQ_COEF_SHIFT;
        out[i] = (int32_t)(acc > INT32_MAX ? INT32_MAX : (acc < INT32_MIN ? INT32_MIN : acc));
    }
    memmove(x, x + VQE_HOP, (EQ_TAPS - 1) * sizeof(int32_t));
}

int audio_vqe_eq_fir_apply(vqe_eq *st, const int32_t *in, int32_t *out) {
    if (st == NULL) {
        return -1;
    }
    if (in == NULL) {
        return -20;
    }
    if (out == NULL) {
        return -21;
    }
    if (st->guard0 != VQE_GUARD || st->guard1 != VQE_GUARD || st->guard2 != VQE_GUARD) {
        return -22;
    }
    audio_vqe_eq_fir_process(st, in, out);
    return 0;
}
