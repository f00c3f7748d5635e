/*
 * Compressor: the last stage. A linked multi-channel compressor: the loudest channel (largest
 * sum of magnitudes) drives a fast envelope follower; the frame's envelope peak, in 1/16 dB
 * below full scale, goes through a six-knee static curve (plus a floor segment) to a target gain,
 * smoothed from frame to frame with separate rise and fall rates; the gain never lifts the frame's
 * envelope peak above full scale, and the same gain is applied to every channel while the chain's
 * 32-bit samples become 16-bit output.
 *
 * Within a frame the applied gain is constant except in two cases: during the first 64 samples
 * (from the second frame on) it blends linearly from the previous frame's end gain, and when peak
 * protection cuts in it falls linearly over the frame to the full-scale gain.
 */
#ifndef RECORD_DRC_H
#define RECORD_DRC_H

#include <stdint.h>

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

#define RECORD_DRC_GUARD      0x5A5A5A5Au
#define RECORD_DRC_PARAM_SIZE 40
#define RECORD_DRC_CHANNELS   4

typedef struct record_drc_state {
    uint32_t guard_head;
    int32_t frames;
    uint8_t params[RECORD_DRC_PARAM_SIZE];
    int16_t frame;
    int16_t channels;
    int32_t env;
    int32_t gain16;   /* smoothed gain, 1/16 dB */
    int32_t end_gain; /* Q15 */
    int32_t level16;  /* the last frame's level, 1/16 dB */
    uint32_t guard_tail;
} record_drc_state;

#if UINTPTR_MAX == 0xFFFFFFFFu
AUDIO_STATIC_ASSERT(sizeof(record_drc_state) == 72, "compressor state is 72 bytes");
#endif

AUDIO_EXPORT extern const uint8_t record_record_g_zorvo_drc_default_params[RECORD_DRC_PARAM_SIZE];

/* rate code 1 (16000 Hz) or 2 (48000 Hz); 0, -1 NULL, -2 rate code, -8 channels not 1..4. */
AUDIO_EXPORT int record_record_zorvo_drc_init(record_drc_state *st, int rate_code, int channels);
/* 0; -1 NULL state; -3 NULL block; -4 detect offset; -5 a rate; -6 the curve. */
AUDIO_EXPORT int record_record_zorvo_drc_set_params(record_drc_state *st, const void *block);
AUDIO_EXPORT int record_record_zorvo_drc_get_params(const record_drc_state *st, void *block);
AUDIO_EXPORT int record_record_zorvo_drc_get_version(const char **version);
/* Target gain (1/16 dB) of the static curve for a level L (1/16 dB). */
AUDIO_EXPORT int32_t record_record_zorvo_drc_gain_apply(const record_drc_state *st, int32_t level);
/* Multiplies n samples by the gain ramp and writes 16-bit output. */
AUDIO_EXPORT void record_record_zorvo_drc_mult_gain(const int32_t *in, int16_t *out, int n, int32_t g_start,
                                                    int32_t g_end, int32_t blend_from, int blend);
/* 0; -1 NULL state; -11 guard; -9 input missing; -10 output missing. */
AUDIO_EXPORT int record_record_zorvo_drc_apply(record_drc_state *st, int32_t level_unused,
                                               const int32_t *const in[RECORD_DRC_CHANNELS],
                                               int16_t *const out[RECORD_DRC_CHANNELS]);

#ifdef __cplusplus
}
#endif

#endif /* RECORD_DRC_H */
