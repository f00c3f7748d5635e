/*
 * A stand-alone one-channel compressor for 16-bit frames, outside the recording chain: the
 * chain's compressor (record_drc.h) with its own defaults, a gentle limiter curve (unity from
 * -60 up to -3 dBFS, then a soft knee of 4:3 and 2:1 that leaves 1 dB of gain reduction at full
 * scale, and a mild expander below -60 dBFS), taking and giving 16-bit samples.
 */
#ifndef RECORD_SE_DRC_H
#define RECORD_SE_DRC_H

#include <stdint.h>

#include "audio_plugin.h"
#include "record_drc.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct record_se_drc_state {
    record_drc_state drc;
    int32_t rate_code;
    int32_t frame;
} record_se_drc_state;

#if UINTPTR_MAX == 0xFFFFFFFFu
AUDIO_STATIC_ASSERT(sizeof(record_se_drc_state) == 80, "stand-alone compressor state is 80 bytes");
#endif

AUDIO_EXPORT extern const uint8_t record_record_g_zorvo_se_drc_params[RECORD_DRC_PARAM_SIZE];

/* rate code 1 (160-sample frames) or 2 (480); 0, -1 NULL, -2 rate code. Starts on the defaults. */
AUDIO_EXPORT int record_record_zorvo_se_drc_init(record_se_drc_state *st, int rate_code);
/* The compressor's checks and codes (-1, -3, -4, -5, -6). */
AUDIO_EXPORT int record_record_zorvo_se_drc_set_params(record_se_drc_state *st, const void *block);
AUDIO_EXPORT int record_record_zorvo_se_drc_get_params(const record_se_drc_state *st, void *block);
/* One frame; in may be out. 0, -1 NULL state, -9 NULL input, -10 NULL output, -11 guards. */
AUDIO_EXPORT int record_record_zorvo_se_drc_apply(record_se_drc_state *st, const int16_t *in, int16_t *out);

#ifdef __cplusplus
}
#endif

#endif /* RECORD_SE_DRC_H */
