/*
 * Output limiter: one target gain per frame from the frame's level (its peak, or the peak of a
 * fast envelope), ramped linearly from the previous frame's gain. The level is never taken
 * below 32767, so the gain never exceeds 10^(limit_db / 40) and the output always sits at
 * least limit_db / 2 below the input; peaks are held at the ceiling 32768 * 10^(limit_db / 40).
 */
#include <math.h>
#include <string.h>

#include "vqe_internal.h"

#define LIM_ALIGNED(p) ((((uintptr_t)(p)) & 7u) == 0)

int audio_vqe_limiter_init(vqe_limiter *st, int channels, int enabled) {
    if (!enabled) {
        return 0;
    }
    if (st == NULL) {
        return -1;
    }
    if (!LIM_ALIGNED(st)) {
        return -8;
    }
    if (channels != 1) {
        return -2;
    }
    memset(st, 0, sizeof(*st));
    st->guard0 = st->guard1 = VQE_GUARD;
    st->rate = AUDIO_VQE_RATE;
    st->frame = AUDIO_VQE_FRAME;
    return 0;
}

int audio_vqe_limiter_set_params(vqe_limiter *st, const int8_t *blk, int enabled) {
    if (!enabled) {
        return 0;
    }
    if (st == NULL) {
        return -1;
    }
    if (blk == NULL) {
        return -3;
    }
    if (blk[0] > 0) {
        return -7;
    }
    st->limit_db = blk[0];
    st->envelope_mode = blk[1];
    st->attack = 0.3f;
    st->release = 0.7f;
    st->envelope = 16384.0f;
    st->gain = 1.0f;
    st->target = 1.0f;
    st->ceiling = 32768.0f * powf(10.0f, st->limit_db / 40.0f);
    return 0;
}

int audio_vqe_limiter_get_params(const vqe_limiter *st, int8_t *blk) {
    if (st == NULL) {
        return -1;
    }
    if (blk == NULL) {
        return -3;
    }
    blk[0] = st->limit_db;
    blk[1] = st->envelope_mode;
    return 0;
}

int audio_vqe_limiter_check_mem(const vqe_limiter *st) {
    return st->guard0 == VQE_GUARD && st->guard1 == VQE_GUARD ? 0 : -6;
}

/* Largest |x| of the frame; |INT32_MIN| saturates to INT32_MAX. */
int32_t audio_vqe_limite_max_abs32_vec(const int32_t *x, int n) {
    int32_t m = 0;
    for (int i = 0; i < n; i++) {
        int32_t a = x[i] == INT32_MIN ? INT32_MAX : (x[i] < 0 ? -x[i] : x[i]);
        m = a > m ? a : m;
    }
    return m;
}

float audio_vqe_limiter_gain_calc(const vqe_limiter *st, float level) {
    float db = 20.0f * log10f(level / 32768.0f);
    float half = st->limit_db / 2.0f;
    float r = db >= half ? powf(10.0f, (half - db) / 20.0f) : 1.0f;
    if (level * r > st->ceiling) {
        return st->ceiling / (level + 1e-6f);
    }
    return r;
}

static void audio_vqe_limiter_time_gain_ctrl(vqe_limiter *st, const int32_t *in, int32_t *out) {
    float p = st->gain, t = st->target;
    if (fabsf(t - p) <= 2.220446e-16f) {
        for (int j = 0; j < AUDIO_VQE_FRAME; j++) {
            out[j] = (int32_t)((float)in[j] * p);
        }
    } else {
        float d = (t - p) / AUDIO_VQE_FRAME;
        for (int j = 0; j < AUDIO_VQE_FRAME; j++) {
            out[j] = (int32_t)((float)in[j] * (p + (float)(j + 1) * d));
        }
    }
    st->gain = t;
}

static void audio_vqe_limiter_gain_apply(vqe_limiter *st, const int32_t *in, int32_t *out) {
    float level = 32767.0f;
    if (st->envelope_mode == 0) {
        float m = (float)audio_vqe_limite_max_abs32_vec(in, AUDIO_VQE_FRAME);
        level = m > level ? m : level;
    } else {
        float e = st->envelope, m = 0;
        for (int j = 0; j < AUDIO_VQE_FRAME; j++) {
            float a = in[j] == INT32_MIN ? 2147483647.0f : fabsf((float)in[j]);
            float c = e < a ? st->attack : st->release;
            e = c * e + (1.0f - c) * a;
            m = e > m ? e : m;
        }
        st->envelope = e;
        level = m > level ? m : level;
    }
    st->target = audio_vqe_limiter_gain_calc(st, level);
    audio_vqe_limiter_time_gain_ctrl(st, in, out);
}

int audio_vqe_limiter_apply(vqe_limiter *st, const int32_t *in, int32_t *out) {
    if (st == NULL) {
        return -1;
    }
    if (in == NULL) {
        return -4;
    }
    if (out == NULL) {
        return -5;
    }
    if (audio_vqe_limiter_check_mem(st) != 0) {
        return -6;
    }
    audio_vqe_limiter_gain_apply(st, in, out);
    return audio_vqe_limiter_check_mem(st);
}
