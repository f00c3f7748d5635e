/*
 * Post-processing stage of the talk chain. It applies the suppression gains the earlier stages
 * handed over (echo canceller and noise reduction) as one gain per bin: their product, smoothed
 * across frequency (none, 3 or 5 bins) and held above a floor. Where the gain removed more than
 * the noise reduction would leave of the noise (typically echo removed in a pause of the near
 * end), comfort noise of random phase fills the bin up to that noise level, so the background
 * does not drop out while the far end talks.
 *
 * The howling suppressor's band gains, when handed over, act last, on signal and comfort noise
 * alike.
 *
 * Block bytes: 0 comfort noise on; 1 gain floor in steps of -15 dB (1..10); 2 smoothing across
 * frequency (0 none, 1 three bins, 2 five bins).
 */
#include <math.h>
#include <string.h>

#include "vqe_hs.h"
#include "vqe_internal.h"

int audio_vqe_fmp_init(vqe_fmp *st) {
    if (st == NULL) {
        return -1;
    }
    memset(st, 0, sizeof(*st));
    st->guard0 = st->guard1 = VQE_GUARD;
    st->seed = 0x1234567u;
    return 0;
}

int audio_vqe_fmp_set_params(vqe_fmp *st, const uint8_t *b) {
    if (st == NULL || b == NULL) {
        return -13;
    }
    if (b[0] > 1) {
        return -14;
    }
    if (b[1] < 1 || b[1] > 10) {
        return -15;
    }
    if (b[2] > 2) {
        return -16;
    }
    st->cn_on = b[0];
    st->floor_step = b[1];
    st->smooth = b[2];
    st->floor = powf(10.0f, -15.0f * b[1] / 20.0f);
    return 0;
}

static float noise_unit(uint32_t *s) {
    *s = *s * 1664525u + 1013904223u;
    return (float)(int32_t)*s * (1.0f / 2147483648.0f);
}

int audio_vqe_fmp_apply(vqe_fmp *st, struct vqe_frame_io *io) {
    if (st == NULL || io == NULL || io->bins == NULL) {
        return -1;
    }
    if (st->guard0 != VQE_GUARD || st->guard1 != VQE_GUARD) {
        return -2;
    }
    float *g = io->work;
    float *gs = g + VQE_BINS;
    for (int k = 0; k < VQE_BINS; k++) {
        float a = io->gain_aec != NULL ? io->gain_aec[k] : 1.0f;
        float n = io->gain_nr != NULL ? io->gain_nr[k] : 1.0f;
        g[k] = a * n;
    }
    static const float k3[3] = {0.25f, 0.5f, 0.25f};
    static const float k5[5] = {1.0f / 9, 2.0f / 9, 3.0f / 9, 2.0f / 9, 1.0f / 9};
    int half = st->smooth;
    const float *kern = half == 2 ? k5 : k3;
    for (int k = 0; k < VQE_BINS; k++) {
        float v = g[k];
        if (half > 0) {
            v = 0;
            for (int j = -half; j <= half; j++) {
                int i = k + j;
                i = i < 0 ? -i : (i >= VQE_BINS ? 2 * (VQE_BINS - 1) - i : i);
                v += kern[j + half] * g[i];
            }
        }
        gs[k] = v > st->floor ? v : st->floor;
    }
    float *y = io->bins;
    int cn = st->cn_on && io->noise != NULL && io->cn_scale > 0.0f;
    for (int k = 0; k < VQE_BINS; k++) {
        y[2 * k] *= gs[k];
        y[2 * k + 1] *= gs[k];
        if (cn) {
            float n = io->noise[k];
            float target = n * io->nr_floor * io->nr_floor * io->cn_scale;
            float add = target - gs[k] * gs[k] * n;
            if (add > 0.0f) {
                float a = sqrtf(1.5f * add);
                y[2 * k] += a * noise_unit(&st->seed);
                y[2 * k + 1] += a * noise_unit(&st->seed);
            }
        }
    }
    if (io->gain_hs != NULL) {
        audio_vqe_hs_apply_gains(io->gain_hs, y);
    }
    return 0;
}
