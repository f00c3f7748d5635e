/* The plug-in face of the resampler: module record "res", init with an output rate or mode
 * code, and buffer processing in calls of at most `chunk` frames. */
#include "res_internal.h"

/* Output rate of a mode code for an input rate, or 0 when the mode does not take that input. */
static int mode_rate(int mode, int in_rate) {
    static const int twice[] = {8000, 11025, 12000, 16000, 22050, 24000};
    static const int half[] = {16000, 22050, 24000, 32000, 44100, 48000};
    static const int four[] = {8000, 11025, 12000};
    static const int quarter[] = {32000, 44100, 48000};
    const int *list = NULL;
    size_t n = 0;
    switch (mode) {
    case 1:
        list = twice, n = 6;
        break;
    case 2:
        list = half, n = 6;
        break;
    case 3:
        list = four, n = 3;
        break;
    case 4:
        list = quarter, n = 3;
        break;
    case 5:
        return in_rate == 8000 ? 48000 : 0;
    case 6:
        return in_rate == 48000 ? 8000 : 0;
    default:
        return 0;
    }
    for (size_t i = 0; i < n; i++) {
        if (list[i] == in_rate) {
            return mode == 1 ? in_rate * 2 : mode == 2 ? in_rate / 2 : mode == 3 ? in_rate * 4 : in_rate / 4;
        }
    }
    return 0;
}

/* Resolves the output rate from the configuration; 0 after printing why on failure. */
/* Messages name the caller, the init entry point. */
#define INIT_LOG(...) audio_log(func, __LINE__, __VA_ARGS__)

static int get_out_rate(const char *func, int in_rate, const vqe_config *cfg) {
    int out = cfg->word0;
    int chn = cfg->word2;
    if (out >= 8000 ? !res_is_output_rate(out) : (out < 1 || out > 6)) {
        INIT_LOG("invalid out_rate(%d).\n", out);
        return 0;
    }
    if (chn != 1 && chn != 2) {
        INIT_LOG("invalid chn_num(%d).\n", chn);
        return 0;
    }
    if (!res_is_input_rate(in_rate)) {
        INIT_LOG("invalid in_rate(%d).\n", in_rate);
        return 0;
    }
    if (out < 8000) {
        int rate = mode_rate(out, in_rate);
        if (rate == 0) {
            if (out <= 4) {
                INIT_LOG("invalid in_rate(%d).\n", in_rate);
            } else {
                INIT_LOG("invalid in_rate(%d) when out_rate(%d).\n", in_rate, out == 5 ? 48000 : 8000);
            }
            return 0;
        }
        out = rate;
    }
    return out;
}

AUDIO_EXPORT int vx_resampler_init(void **handle, int in_rate, const vqe_config *cfg) {
    if (handle == NULL || cfg == NULL) {
        AUDIO_LOG("handle or config is null!\n");
        return -1;
    }
    *handle = NULL;
    res_instance *inst = audio_block_alloc(sizeof(res_instance));
    if (inst == NULL) {
        return -1;
    }
    int out_rate = get_out_rate(__func__, in_rate, cfg);
    if (out_rate == 0) {
        AUDIO_LOG("get out_rate failed.\n");
        audio_block_free(inst);
        return -1;
    }
    inst->res = vx_resample_create(in_rate, out_rate, cfg->word2);
    if (inst->res == NULL) {
        audio_block_free(inst);
        return -1;
    }
    int k = in_rate % out_rate == 0 ? in_rate / out_rate : 1;
    inst->chunk = k > 1 ? k * (RES_MAX_SAMPLES / k) : RES_MAX_SAMPLES;
    *handle = inst;
    return 0;
}

AUDIO_EXPORT int vx_resampler_frame_process(void *handle, audio_frame *in, audio_frame *out) {
    res_instance *inst = handle;
    if (inst == NULL || in == NULL || out == NULL || in->data == NULL || out->data == NULL) {
        AUDIO_LOG("param is null!\n");
        return RES_ERR_NULL_PARAM;
    }
    if (inst->chunk < 1 || inst->chunk > RES_MAX_SAMPLES || !res_integrity_ok(inst->res)) {
        AUDIO_LOG("handle is damaged.\n");
        return RES_ERR_NULL_HANDLE;
    }
    const int16_t *src = in->data;
    int16_t *dst = out->data;
    size_t chn = (size_t)inst->res->chn;
    int n = (int)(in->len / 2);
    int total = 0;
    while (n > 0) {
        int count = n > inst->chunk ? inst->chunk : n;
        int got = vx_resample_process(inst->res, src, count, dst);
        if (got < 0) {
            return got;
        }
        total += got;
        src += (size_t)count * chn;
        dst += (size_t)got * chn;
        n -= count;
    }
    return total;
}

AUDIO_EXPORT int vx_resampler_deinit(void *handle) {
    res_instance *inst = handle;
    if (inst == NULL) {
        return 0;
    }
    vx_resample_destroy(inst->res);
    audio_block_free(inst);
    return 0;
}

static const audio_work_handle g_audio_res_work_handle = {
    .name = "res",
    .init = vx_resampler_init,
    .process = vx_resampler_frame_process,
    .deinit = vx_resampler_deinit,
    .reserved = NULL,
};

AUDIO_EXPORT const audio_work_handle *vx_vqe_resample_get_handle(void) {
    return &g_audio_res_work_handle;
}
AUDIO_EXPORT const audio_work_handle *kq_vqe_resample_get_handle(void) {
    return vx_vqe_resample_get_handle();
}
