/*
 * Look-ahead microphone gain stage. It never touches samples: it watches the newest frame (before
 * the delayed copy is processed) and reports a step of the analog microphone gain, 0 or
 * +-gain_step, keeping a running total inside gain_min..gain_max.
 *
 * Levels: each frame is cut into five sub-blocks; a fast level F follows the mean of the last five
 * sub-block energies, a slow level S follows F with a time constant of 1024 sub-blocks. S is
 * compared with four thresholds (very loud, loud, quiet, very quiet); loud passages count a
 * down counter towards down_hold (1.5 x that when only loud), quiet ones an up counter towards
 * up_hold (1.5 x when only quiet). Any loud or neutral sub-block restarts the up counter at
 * -4000, so a step up needs a long quiet stretch while a step down comes quickly. Samples near
 * full scale override everything with an immediate step down.
 */
#ifndef RECORD_HDR_H
#define RECORD_HDR_H

#include <stdint.h>

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

#define RECORD_HDR_TAG        0x48445249u
#define RECORD_HDR_PARAM_SIZE 32

typedef struct record_hdr_params {
    int32_t gain_min, gain_max, gain_step, down_hold, up_hold;
} record_hdr_params;

typedef struct record_hdr_state {
    uint32_t tag;
    int32_t frame;
    record_hdr_params p;
    uint8_t raw[RECORD_HDR_PARAM_SIZE]; /* the block as given */
    int32_t sub;                        /* n: a sub-block is 2n samples */
    int32_t active;
    int32_t total;
    int64_t fast, slow;
    int64_t ring[5];
    int32_t ring_idx;
    int64_t t1, t2, t3, t4;
    int32_t hold_down_vl, hold_down_l, hold_up_vq, hold_up_q;
    int32_t down, up, neutral;
    int32_t code; /* 0 neutral, 1 up, 2 down, 3 clipping */
} record_hdr_state;

/* rate code 0 (8000 Hz), 1 (16000 Hz), 2 (48000 Hz); 0, or -1 NULL state, -2 other rate code. */
AUDIO_EXPORT int record_record_zorvo_hdr_init(record_hdr_state *st, int rate_code, int init_gain);
AUDIO_EXPORT int record_record_zorvo_hdr_params_check(const void *block);
AUDIO_EXPORT int record_record_zorvo_hdr_set_params(record_hdr_state *st, const void *block);
AUDIO_EXPORT int record_record_zorvo_hdr_get_params(const record_hdr_state *st, void *block);
/* Runs the detector over one frame and returns the step (0 or +-gain_step). */
AUDIO_EXPORT int record_record_zorvo_hdr_single_mic_apply(record_hdr_state *st, const int16_t *frame);
AUDIO_EXPORT int record_record_zorvo_hdr_apply(record_hdr_state *st, const int16_t *frame, int8_t *step);

#ifdef __cplusplus
}
#endif

#endif /* RECORD_HDR_H */
