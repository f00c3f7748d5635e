/*
 * Multi-microphone stage (two microphones): watches both channels for a failed microphone and
 * repairs its channel. A microphone counts as failed after `hold` frames in a row in which its
 * level is more than `threshold` dB below the other's, or its samples do not change at all (a
 * stuck converter); its channel is then replaced by the other microphone's samples until it
 * comes back for as many frames. With one microphone the stage passes the frame on.
 *
 * Parameter block (16 bytes): u8 threshold in dB (default 30), u8 hold in frames (50), rest kept.
 */
#ifndef RECORD_MC_H
#define RECORD_MC_H

#include <stdint.h>

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

#define RECORD_MC_PARAM_SIZE 16
#define RECORD_MC_TAG        0x4D433031u

typedef struct record_mc_state {
    uint32_t tag;
    int32_t frame;
    int32_t mics;
    uint8_t params[RECORD_MC_PARAM_SIZE];
    int32_t bad_count[2];
    int32_t good_count[2];
    int32_t failed[2];
} record_mc_state;

AUDIO_EXPORT int record_record_zorvo_mc_init(record_mc_state *st, int frame, int mics);
/* 0; -1 NULL; -2 threshold or hold 0. */
AUDIO_EXPORT int record_record_zorvo_mc_set_params(record_mc_state *st, const void *block);
AUDIO_EXPORT int record_record_zorvo_mc_get_params(const record_mc_state *st, void *block);
/* Updates the failure state from the two frames; 0, -1 NULL, -3 tag, -4 a frame missing. */
AUDIO_EXPORT int record_record_zorvo_mc_apply(record_mc_state *st, const int16_t *mic1, const int16_t *mic2);
/* Replaces a failed microphone's frame by the other's. */
AUDIO_EXPORT void record_record_zorvo_voice_mic_err_porc(const record_mc_state *st, int16_t *mic1,
                                                         int16_t *mic2);

#ifdef __cplusplus
}
#endif

#endif /* RECORD_MC_H */
