/* vqe_record plug-in shell: builds the core's parameter record from the user record and runs the
 * framework's buffers through the core frame by frame. */
#include <stdlib.h>
#include <string.h>

#include "record_internal.h"
#include "vqe_record.h"

#define SCRATCH_SIZE 4096

typedef struct record_instance {
    void *core;
    int32_t frame; /* 160 or 480 */
    int32_t mics;
    int32_t outs;
    int32_t gain; /* running value reported to the callback */
    vqe_record_gain_cb cb;
    void *block;
    void *scratch;
} record_instance;

/* Band gains from the ten control gains: steps between the controls are integer divisions. */
static void eq_from_controls(int8_t *eq, const int8_t *g) {
    int32_t v[AUDIO_EQ_BANDS];
    v[0] = -50;
    v[1] = v[2] = v[3] = g[0];
    v[4] = g[1];
    v[5] = g[2];
    v[6] = g[3];
    v[7] = g[4];
    v[8] = g[5];
    static const struct {
        int first, count, from, to; /* bands first.. stepping from control `from` towards `to` */
    } ramps[] = {{9, 3, 5, 6}, {13, 5, 6, 7}, {21, 6, 7, 8}, {31, 8, 8, 9}};
    static const int divisors[] = {4, 6, 7, 9};
    for (int r = 0; r < 4; r++) {
        int32_t d = (g[ramps[r].to] - g[ramps[r].from]) / divisors[r];
        for (int k = 0; k < ramps[r].count; k++) {
            v[ramps[r].first + k] = g[ramps[r].from] + d * (k + 1);
        }
    }
    v[12] = g[6];
    v[18] = v[19] = v[20] = g[7];
    v[27] = v[28] = v[29] = v[30] = g[8];
    v[39] = v[40] = v[41] = g[9];
    int32_t d = (-40 - g[9]) / 9;
    for (int k = 0; k < 8; k++) {
        v[42 + k] = g[9] + d * (k + 1);
    }
    for (int j = 0; j < AUDIO_EQ_BANDS; j++) {
        /* kept in the signed byte the record holds; the core refuses what leaves -50..20 */
        eq[j] = (int8_t)(v[j] < -128 ? -128 : (v[j] > 127 ? 127 : v[j]));
    }
    eq[AUDIO_EQ_BANDS] = 0;
}

int vqe_record_build_params(uint8_t *rec, int rate_mode, const vqe_record_user_params *u) {
    int ret = audio_copy(rec, ZORVO_RECORD_PARAMS_SIZE, g_record_params, ZORVO_RECORD_PARAMS_SIZE);
    if (ret != 0) {
        AUDIO_LOG("params memcpy_s failed, ret:0x%x.\n", (unsigned)ret);
        return -1;
    }
    rec[ZR_OFF_RATE_MODE] = (uint8_t)rate_mode;
    rec[ZR_OFF_DELAY_FRAMES] = 1;
    rec[ZR_OFF_MC_ON] = 0;
    if (u == NULL) {
        return 0;
    }
    rec[ZR_OFF_MIC_NUM] = (uint8_t)u->mic_num;
    rec[ZR_OFF_OUT_NUM] = (uint8_t)u->out_num;
    rec[ZR_OFF_HDR_ON] = u->hdr_on != 0;
    rec[ZR_OFF_HLPF_ON] = u->hlpf_on != 0;
    rec[ZR_OFF_RNR_ON] = u->rnr_on != 0;
    rec[ZR_OFF_AGC_ON] = u->agc_on != 0;
    rec[ZR_OFF_EQ_ON] = u->eq_on != 0;
    rec[ZR_OFF_DRC_ON] = u->drc_on != 0;
    if (u->hdr_on) {
        rec_wr32(rec + ZR_OFF_HDR + 0, u->gain_min);
        rec_wr32(rec + ZR_OFF_HDR + 4, u->gain_max);
        rec_wr32(rec + ZR_OFF_HDR + 8, u->gain_step);
        rec[ZR_OFF_HDR_INIT_GAIN] = (uint8_t)u->hdr_init_gain;
    }
    if (u->hpf_reset != 0 && u->hlpf_on) {
        rec_wr16(rec + ZR_OFF_HLPF + 4, 0);
    }
    if (u->rnr_valid) {
        rec_wr32(rec + ZR_OFF_RNR + 0, u->rnr_value0);
        rec_wr32(rec + ZR_OFF_RNR + 4, u->rnr_value4);
    }
    if (u->agc_valid) {
        static const int at[7] = {0, 1, 2, 4, 5, 8, 9};
        for (int i = 0; i < 7; i++) {
            rec[ZR_OFF_AGC + at[i]] = (uint8_t)u->agc_bytes[i];
        }
        rec_wr16(rec + ZR_OFF_AGC + 16, u->agc_value16);
    }
    if (u->eq_on) {
        eq_from_controls((int8_t *)(rec + ZR_OFF_EQ), u->eq_gains);
    }
    if (u->drc_valid) {
        uint8_t *d = rec + ZR_OFF_DRC;
        d[3] = (uint8_t)u->gain_fall;
        d[4] = (uint8_t)u->gain_rise;
        rec_wr16(d + 8, 0);
        rec_wr16(d + 10, u->knee_in1);
        for (int k = 0; k < 4; k++) {
            rec_wr16(d + 12 + 2 * k, u->knee_in[k]);
            rec_wr16(d + 24 + 2 * k, u->knee_out[k]);
        }
        rec_wr16(d + 20, u->knee_out01);
        rec_wr16(d + 22, u->knee_out01);
    }
    return 0;
}

int vqe_record_deinit(void *handle) {
    if (handle == NULL) {
        return 0;
    }
    record_instance *inst = handle;
    audio_block_free(inst->block);
    free(inst->scratch);
    free(inst);
    return 0;
}

static int fail_init(record_instance *inst) {
    int ret = vqe_record_deinit(inst);
    if (ret != 0) {
        AUDIO_LOG("deinit failed, ret:%d.\n", ret);
    }
    return -1;
}

int vqe_record_init(void **handle, int sample_rate, const vqe_config *cfg) {
    if (handle == NULL || cfg == NULL) {
        AUDIO_LOG("handle or config is null!\n");
        return -1;
    }
    const vqe_record_user_params *u = cfg->user_params;
    if (u == NULL) {
        /* the record tells the microphone count and the callback: nothing sound to start from */
        AUDIO_LOG("handle or config is null!\n");
        return -1;
    }
    record_instance *inst = calloc(1, sizeof(*inst));
    if (inst == NULL) {
        AUDIO_LOG("malloc state failed!\n");
        return -1;
    }
    int rate_mode;
    if (sample_rate == 16000) {
        inst->frame = 160;
        rate_mode = 1;
    } else if (sample_rate == 48000) {
        inst->frame = 480;
        rate_mode = 2;
    } else {
        AUDIO_LOG("unsupported sample_rate(%d)!\n", sample_rate);
        free(inst);
        return -1;
    }
    uint8_t rec[ZORVO_RECORD_PARAMS_SIZE];
    if (vqe_record_build_params(rec, rate_mode, u) != 0) {
        free(inst);
        return -1;
    }
    inst->mics = rec[ZR_OFF_MIC_NUM];
    inst->outs = rec[ZR_OFF_OUT_NUM];
    if (u->hdr_on) {
        inst->gain = (int8_t)rec[ZR_OFF_HDR_INIT_GAIN];
        inst->cb = u->gain_cb;
    }
    int32_t size = 0;
    int ret = zorvo_record_get_size(&size);
    if (ret != 0 || size <= 0) {
        AUDIO_LOG("get_size failed, ret:%d.\n", ret);
        return fail_init(inst);
    }
    inst->block = audio_block_alloc((size_t)size);
    if (inst->block == NULL) {
        AUDIO_LOG("malloc buf failed!\n");
        return fail_init(inst);
    }
    ret = zorvo_record_init(&inst->core, inst->block, size, rec);
    if (ret == 0 && inst->outs > 2) {
        ret = -11; /* the frame record carries two output buffers */
    }
    if (ret != 0) {
        AUDIO_LOG("init failed, ret:%d!\n", ret);
        return fail_init(inst);
    }
    inst->scratch = calloc(1, SCRATCH_SIZE);
    if (inst->scratch == NULL) {
        AUDIO_LOG("malloc scratch_buf failed!\n");
        return fail_init(inst);
    }
    *handle = inst;
    return 0;
}

int vqe_record_process(void *handle, audio_frame *in, audio_frame *out) {
    if (handle == NULL || in == NULL || out == NULL) {
        AUDIO_LOG("param is null.\n");
        return -1;
    }
    record_instance *inst = handle;
    out->len = in->len;
    out->rin_data = in->rin_data;
    size_t samples = in->len / 2;
    for (size_t at = 0; at + (size_t)inst->frame <= samples; at += (size_t)inst->frame) {
        zorvo_record_in ci;
        zorvo_record_out co;
        memset(&ci, 0, sizeof(ci));
        memset(&co, 0, sizeof(co));
        ci.mic1 = in->data != NULL ? in->data + at : NULL;
        ci.mic2 = inst->mics == 2 && in->extern_data != NULL ? in->extern_data + at : NULL;
        ci.scratch = inst->scratch;
        co.out[0] = out->data != NULL ? out->data + at : NULL;
        co.out[1] = inst->outs >= 2 && out->extern_data != NULL ? out->extern_data + at : NULL;
        int ret = zorvo_record_apply(inst->core, &ci, &co);
        if (ret != 0) {
            AUDIO_LOG("apply failed, ret:%d.\n", ret);
            return ret;
        }
        if (co.gain_step != 0) {
            inst->gain += co.gain_step;
            if (inst->cb != NULL) {
                inst->cb(inst->gain);
            }
        }
    }
    return 0;
}

static const audio_work_handle g_audio_record_work_handle = {
    "record", vqe_record_init, vqe_record_process, vqe_record_deinit, NULL,
};

const audio_work_handle *vx_vqe_record_get_handle(void) {
    return &g_audio_record_work_handle;
}

const audio_work_handle *kq_vqe_record_get_handle(void) {
    return vx_vqe_record_get_handle();
}
