/* vqe_aec plug-in shell: builds the core's parameter record and runs frames through it. */
#include <stdlib.h>

#include "audio_common.h"
#include "vqe_aec.h"
#include "zorvo_aec.h"

typedef struct aec_instance {
    void *core;  /* aligned core state */
    int frame;   /* samples per core frame: 80 or 160 */
    void *block; /* the core's memory */
} aec_instance;

/* user record offsets */
#define USR_ENABLE    0
#define USR_CN        4
#define USR_SWITCH_B  5
#define USR_NLP_THR   8
#define USR_BAND_A_LO 10
#define USR_BAND_A_HI 12
#define USR_BAND_B_LO 14
#define USR_BAND_B_HI 16
#define USR_ERL_BAND  18
#define USR_ERL       30
#define USR_BAND_C_LO 44
#define USR_BAND_C_HI 46

static int32_t read_i32(const uint8_t *p) {
    return (int32_t)((uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) |
                     ((uint32_t)p[3] << 24));
}

/* The core record for this instance; 0, or -1 after the message. */
static int build_params(uint8_t *rec, int wideband, const uint8_t *user) {
    int ret = audio_copy(rec, ZORVO_AEC_PARAMS_SIZE, g_zorvo_aec_gast_kre_aec_cfg_tab, ZORVO_AEC_PARAMS_SIZE);
    if (ret != 0) {
        return -1;
    }
    rec[ZORVO_AEC_OFF_WIDEBAND] = (uint8_t)wideband;
    rec[ZORVO_AEC_OFF_DELAY_OFFSET] = 0;
    if (user == NULL || read_i32(user + USR_ENABLE) == 0) {
        return 0;
    }
    rec[ZORVO_AEC_OFF_COMFORT_NOISE] = user[USR_CN];
    rec[ZORVO_AEC_OFF_SWITCH_B] = user[USR_SWITCH_B];
    static const int map[][2] = {
        {USR_NLP_THR, ZORVO_AEC_OFF_NLP_THRESHOLD}, {USR_BAND_A_LO, ZORVO_AEC_OFF_BAND_A_LO},
        {USR_BAND_A_HI, ZORVO_AEC_OFF_BAND_A_HI},   {USR_BAND_B_LO, ZORVO_AEC_OFF_BAND_B_LO},
        {USR_BAND_B_HI, ZORVO_AEC_OFF_BAND_B_HI},   {USR_BAND_C_LO, ZORVO_AEC_OFF_BAND_C_LO},
        {USR_BAND_C_HI, ZORVO_AEC_OFF_BAND_C_HI},
    };
    for (size_t i = 0; i < sizeof(map) / sizeof(map[0]); i++) {
        zorvo_aec_param_set_i16(rec, map[i][1], zorvo_aec_param_i16(user, map[i][0]));
    }
    ret = audio_copy(rec + ZORVO_AEC_OFF_ERL_BAND, 12, user + USR_ERL_BAND, 12);
    if (ret != 0) {
        AUDIO_LOG("erl_band memcpy_s failed, ret:0x%x.\n", (unsigned)ret);
        return -1;
    }
    ret = audio_copy(rec + ZORVO_AEC_OFF_ERL, 14, user + USR_ERL, 14);
    if (ret != 0) {
        AUDIO_LOG("erl memcpy_s failed, ret:0x%x.\n", (unsigned)ret);
        return -1;
    }
    return 0;
}

int vqe_aec_init(void **handle, int sample_rate, const vqe_config *cfg) {
    if (handle == NULL || cfg == NULL) {
        AUDIO_LOG("handle or config is null!\n");
        return -1;
    }
    aec_instance *inst = (aec_instance *)calloc(1, sizeof(*inst));
    if (inst == NULL) {
        AUDIO_LOG("malloc state failed.\n");
        return -1;
    }
    int wideband;
    if (sample_rate == 8000) {
        inst->frame = 80;
        wideband = 0;
    } else if (sample_rate == 16000) {
        inst->frame = 160;
        wideband = 1;
    } else {
        AUDIO_LOG("invalid rate(%d) for aec!\n", sample_rate);
        free(inst);
        return -1;
    }
    uint8_t rec[ZORVO_AEC_PARAMS_SIZE];
    if (build_params(rec, wideband, (const uint8_t *)cfg->user_params) != 0) {
        free(inst);
        return -1;
    }
    int32_t size = 0;
    int ret = zorvo_aec_get_size(&size, rec);
    if (ret != 0 || size <= 0 || size > INT32_MAX - 8) {
        AUDIO_LOG("invalid aec_len(%d).\n", (int)size);
        free(inst);
        return -1;
    }
    inst->block = audio_block_alloc((size_t)size);
    if (inst->block == NULL) {
        AUDIO_LOG("malloc buf failed.\n");
        free(inst);
        return -1;
    }
    ret = zorvo_aec_init(&inst->core, inst->block, size, rec);
    if (ret != 0) {
        AUDIO_LOG("init aec failed, ret:%d.\n", ret);
        audio_block_free(inst->block);
        free(inst);
        return -1;
    }
    *handle = inst;
    return 0;
}

int vqe_aec_process(void *handle, audio_frame *in, audio_frame *out) {
    if (handle == NULL || in == NULL || out == NULL) {
        AUDIO_LOG("param is null!\n");
        return -1;
    }
    aec_instance *inst = (aec_instance *)handle;
    out->len = in->len;
    out->rin_data = in->rin_data;
    size_t samples = in->len / 2;
    for (size_t at = 0; at + (size_t)inst->frame <= samples; at += (size_t)inst->frame) {
        int ret = zorvo_aec_apply(inst->core, in->data + at, in->rin_data + at, out->data + at);
        if (ret != 0) {
            AUDIO_LOG("apply failed with %d.\n", ret);
            return ret;
        }
    }
    return 0;
}

int vqe_aec_deinit(void *handle) {
    if (handle == NULL) {
        return 0;
    }
    aec_instance *inst = (aec_instance *)handle;
    audio_block_free(inst->block);
    free(inst);
    return 0;
}

static const audio_work_handle g_audio_aec_work_handle = {
    "aec", vqe_aec_init, vqe_aec_process, vqe_aec_deinit, NULL,
};

const audio_work_handle *vx_vqe_aec_get_handle(void) {
    return &g_audio_aec_work_handle;
}

const audio_work_handle *kq_vqe_aec_get_handle(void) {
    return vx_vqe_aec_get_handle();
}
