#include "record_se_drc.h"

#include "record_common.h"

/* detect_offset 0, envelope 20/20, gain fall 12, rise 60; knees in 1/16 dB */
const uint8_t record_record_g_zorvo_se_drc_params[RECORD_DRC_PARAM_SIZE] = {
    0,    20,   20,   12,   60,   0,    0,    0,    /* rates */
    0x00, 0x00, 0xF0, 0xFF, 0xD0, 0xFF, 0x60, 0xFF, /* knee_in 0, -16, -48, -160 */
    0x40, 0xFC, 0x00, 0xFB,                         /* knee_in -960, -1280 */
    0xF0, 0xFF, 0xE8, 0xFF, 0xD0, 0xFF, 0x60, 0xFF, /* knee_out -16, -24, -48, -160 */
    0x40, 0xFC, 0x80, 0xFA,                         /* knee_out -960, -1408 */
    0,    0,    0,    0,    0,    0,    0,    0,    /* floor point, spare */
};

int record_record_zorvo_se_drc_init(record_se_drc_state *st, int rate_code) {
    if (st == NULL) {
        return -1;
    }
    int r = record_record_zorvo_drc_init(&st->drc, rate_code, 1);
    if (r != 0) {
        return r;
    }
    st->rate_code = rate_code;
    st->frame = rate_code == 1 ? 160 : 480;
    return record_record_zorvo_drc_set_params(&st->drc, record_record_g_zorvo_se_drc_params);
}

int record_record_zorvo_se_drc_set_params(record_se_drc_state *st, const void *block) {
    return st == NULL ? -1 : record_record_zorvo_drc_set_params(&st->drc, block);
}

int record_record_zorvo_se_drc_get_params(const record_se_drc_state *st, void *block) {
    return st == NULL ? -1 : record_record_zorvo_drc_get_params(&st->drc, block);
}

int record_record_zorvo_se_drc_apply(record_se_drc_state *st, const int16_t *in, int16_t *out) {
    if (st == NULL) {
        return -1;
    }
    if (in == NULL) {
        return -9;
    }
    if (out == NULL) {
        return -10;
    }
    int32_t x[REC_MAX_FRAME];
    int n = st->frame > REC_MAX_FRAME ? REC_MAX_FRAME : st->frame;
    for (int i = 0; i < n; i++) {
        x[i] = rec_to_chain(in[i]);
    }
    const int32_t *ins[RECORD_DRC_CHANNELS] = {x, NULL, NULL, NULL};
    int16_t *outs[RECORD_DRC_CHANNELS] = {out, NULL, NULL, NULL};
    return record_record_zorvo_drc_apply(&st->drc, 0, ins, outs);
}
