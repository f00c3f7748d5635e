/* Public resampler API: creation by rate pair, processing and destruction under the
 * library-wide mutex. */
#include <pthread.h>

#include "res_internal.h"

static pthread_mutex_t g_res_mutex = PTHREAD_MUTEX_INITIALIZER;

AUDIO_EXPORT RES_Resampler *vx_resample_create(int in_rate, int out_rate, int chn) {
    if (!res_is_input_rate(in_rate) || !res_is_output_rate(out_rate) || (chn != 1 && chn != 2)) {
        return NULL;
    }
    RES_Resampler *res;
    pthread_mutex_lock(&g_res_mutex);
    int index = res_int_ratio_index(in_rate, out_rate);
    if (index >= 0) {
        res = RES_resampler2x_create(in_rate, out_rate, index, chn);
    } else {
        res = RES_new_resampler_create(in_rate, out_rate, chn, 16, 0);
    }
    pthread_mutex_unlock(&g_res_mutex);
    return res;
}

AUDIO_EXPORT int vx_resample_process(RES_Resampler *res, const int16_t *in, int count, int16_t *out) {
    if (res == NULL || in == NULL || out == NULL) {
        return RES_ERR_NULL_PARAM;
    }
    if ((unsigned)count > RES_MAX_SAMPLES) {
        return RES_ERR_COUNT;
    }
    int rc;
    pthread_mutex_lock(&g_res_mutex);
    if (!res_integrity_ok(res)) {
        AUDIO_LOG("handle is damaged.\n");
        rc = RES_ERR_NULL_HANDLE;
    } else if (res->is_int_ratio) {
        rc = RES_resampler2x_process(res, in, count, out);
    } else {
        RES_FrameDesc desc = {count, res->in_rate, res->out_rate, 1};
        rc = RES_new_resampler_process_frame(res, in, out, &desc);
    }
    pthread_mutex_unlock(&g_res_mutex);
    return rc;
}

AUDIO_EXPORT void vx_resampler_free(RES_Resampler *res) {
    if (res == NULL) {
        return;
    }
    if (res->is_int_ratio) {
        RES_resampler2x_free(res);
    } else {
        RES_new_resampler_free(res);
    }
}

AUDIO_EXPORT int vx_resample_destroy(RES_Resampler *res) {
    if (res == NULL) {
        return 0;
    }
    pthread_mutex_lock(&g_res_mutex);
    vx_resampler_free(res);
    pthread_mutex_unlock(&g_res_mutex);
    return 0;
}

AUDIO_EXPORT int vx_resample_get_max_output_num(RES_Resampler *res, int count) {
    if (res == NULL) {
        return RES_ERR_NULL_HANDLE;
    }
    if ((unsigned)count > RES_MAX_SAMPLES) {
        AUDIO_LOG("invalid in_samps(%d), should <= %d.\n", count, RES_MAX_SAMPLES);
        return RES_ERR_COUNT;
    }
    int rc;
    pthread_mutex_lock(&g_res_mutex);
    if (!res_integrity_ok(res)) {
        rc = RES_ERR_NULL_HANDLE;
    } else if (res->is_linear) {
        rc = RES_linear_src_get_max_output_num(res->lin, count);
    } else {
        rc = res_max_output(res, count);
    }
    pthread_mutex_unlock(&g_res_mutex);
    return rc;
}

AUDIO_EXPORT RES_Resampler *kq_resample_create(int in_rate, int out_rate, int chn) {
    return vx_resample_create(in_rate, out_rate, chn);
}
AUDIO_EXPORT int kq_resample_process(RES_Resampler *res, const int16_t *in, int count, int16_t *out) {
    return vx_resample_process(res, in, count, out);
}
AUDIO_EXPORT int kq_resample_destroy(RES_Resampler *res) {
    return vx_resample_destroy(res);
}
AUDIO_EXPORT int kq_resample_get_max_output_num(RES_Resampler *res, int count) {
    return vx_resample_get_max_output_num(res, count);
}

#define RES_PROCESS_ALIAS(name)                                                                              \
    AUDIO_EXPORT int name(RES_Resampler *res, const int16_t *in, int count, int16_t *out) {                  \
        return vx_resample_process(res, in, count, out);                                                     \
    }
RES_PROCESS_ALIAS(resampler_frame_process)
RES_PROCESS_ALIAS(resampler_mono1x2_process)
RES_PROCESS_ALIAS(resampler_mono2x1_process)
RES_PROCESS_ALIAS(resampler_mono1x4_process)
RES_PROCESS_ALIAS(resampler_mono4x1_process)
RES_PROCESS_ALIAS(resampler_mono1x6_process)
RES_PROCESS_ALIAS(resampler_mono6x1_process)

AUDIO_EXPORT int resampler_get_max_output_num(RES_Resampler *res, int count) {
    return vx_resample_get_max_output_num(res, count);
}
AUDIO_EXPORT void resampler_free(RES_Resampler *res) {
    vx_resampler_free(res);
}
AUDIO_EXPORT void resample_flush(RES_Resampler *res) {
    (void)res;
}

AUDIO_EXPORT int RES_volume_process_frame(void *buf, int count, int bit_width, int chn, int gain) {
    if (buf == NULL || count < 0 || chn < 1 || chn > LIN_MAX_CHN || gain < -32768 || gain > 32767) {
        return -1;
    }
    size_t n = (size_t)count * (size_t)chn;
    if (bit_width == 16) {
        int16_t *s = buf;
        for (size_t i = 0; i < n; i++) {
            /* Only -32768 * -32768 leaves the 16-bit range; it is held at full scale. */
            s[i] = audio_sat16((((int32_t)s[i] * gain) >> 16) * 2);
        }
    } else {
        int32_t *s = buf;
        for (size_t i = 0; i < n; i++) {
            int64_t v = (((int64_t)s[i] * gain) >> 16) * 2;
            s[i] = (int32_t)(v > INT32_MAX ? INT32_MAX : v);
        }
    }
    return 0;
}
