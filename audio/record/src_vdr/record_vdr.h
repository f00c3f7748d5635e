/*
 * Voice-activity detectors of the recording chain, one per kind of evidence.
 *
 * Band SNR (the noise reduction's): speech when the mean a-posteriori signal-to-noise ratio of
 * the speech bands (300 to 4000 Hz), each band's level over its tracked noise level, exceeds a
 * threshold; a hang-over keeps the decision for some frames after the last speech frame, so
 * word endings and short pauses between syllables do not let the noise estimate rise into the
 * speech.
 *
 * Tilted level (the AGC's): a noise floor follows the frame's tilted level (the level of the
 * first difference, which lifts the spectrum by 6 dB an octave so that road and engine rumble do
 * not pass for speech) down by up to 1 dB a frame and up by 1/16 dB every other frame (about
 * 3 dB/s at 100 frames a second); the first five frames set it. A frame is speech when its
 * tilted level stands 9 dB above the floor and its plain level above the gate.
 */
#ifndef RECORD_VDR_H
#define RECORD_VDR_H

#include <stdint.h>

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct record_vdr_snr {
    int32_t hang; /* frames of hang-over left */
    int32_t speech;
} record_vdr_snr;

typedef struct record_vdr_level {
    int32_t floor16; /* noise floor of the tilted level, 1/16 dB */
    int32_t frames;
} record_vdr_level;

/* snr_sum over `bands` speech bands (any log unit), threshold per band in the same unit, hang
 * frames of hang-over; returns 1 for speech (also during the hang-over). */
AUDIO_EXPORT int record_record_zorvo_vdr_snr_decide(record_vdr_snr *v, int32_t snr_sum, int32_t bands,
                                                    int32_t threshold, int32_t hang);
AUDIO_EXPORT void record_record_zorvo_vdr_level_init(record_vdr_level *v);
/* Levels in 1/16 dB; updates the floor and returns 1 for speech. */
AUDIO_EXPORT int record_record_zorvo_vdr_level_decide(record_vdr_level *v, int32_t tilted16, int32_t level16,
                                                      int32_t gate16);

#ifdef __cplusplus
}
#endif

#endif /* RECORD_VDR_H */
