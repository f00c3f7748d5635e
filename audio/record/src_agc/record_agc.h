/*
 * Automatic gain control: levels speech towards a target with a time-domain gain.
 *
 * Analysis runs on a 16000 Hz copy (48000 Hz frames are averaged three samples at a time). Each
 * frame gives a level (mean square, in 1/16 dB) and a tilted level (of the first difference,
 * which lifts the spectrum by 6 dB an octave so that rumble does not pass for speech); src_vdr's
 * tilted-level detector says whether the frame is speech (9 dB over its noise floor, level above
 * the gate). The speech level takes a
 * louder speech frame's level at once and otherwise falls by 3 dB/s, so it sits near the loud syllables
 * whatever the input level; the wanted gain brings that level to the target minus 12 dB (the loud syllables'
 * distance above the average speech level), limited to -20..max_gain dB, where max_gain brings a speech level
 * of `lowest_level` to the target.
 *
 * The applied gain moves towards the wanted gain: down at once when the frame's own peak would
 * pass the target peak level or the speech has become more than 3 dB louder (so a step up in
 * level does not overshoot), down by fall_rate dB per frame otherwise, up by rise_rate x 5 dB/s.
 * In pauses (no speech for 200 ms) the gain falls by 2 dB per frame to at most +6 dB, so
 * background noise is never lifted by much more; when speech resumes it comes back at 4 dB per
 * frame to the gain it had when the pause began. The gain is interpolated linearly over
 * each frame.
 *
 * Parameter block (48 bytes): i8 target peak level in dBFS (byte 0, default -3), i8 gate level in
 * dBFS (1, -50), u8 rise rate (2, in 5 dB/s), byte 3 kept, u8 frequency-domain control (4, 0: not
 * used by this implementation), u8 fall rate in dB per frame (5, 2), byte 6 kept, i8 lowest level
 * lifted fully in dBFS (7, -40), bytes 8 and 9 kept, 16-bit values at 10..24 kept as given.
 */
#ifndef RECORD_AGC_H
#define RECORD_AGC_H

#include <stdint.h>

#include "audio_plugin.h"
#include "record_vdr.h"

#ifdef __cplusplus
extern "C" {
#endif

#define RECORD_AGC_PARAM_SIZE 48
#define RECORD_AGC_TAG        0x41474331u
#define RECORD_AGC_CHANNELS   2

typedef struct record_agc_state {
    uint32_t tag;
    int32_t rate_code;
    int32_t frame;
    int32_t channels;
    uint8_t params[RECORD_AGC_PARAM_SIZE];
    record_vdr_level vad;              /* speech or not, from the tilted level over its floor */
    int32_t speech16;                  /* speech level, 1/16 dB */
    int32_t gain16;                    /* applied gain at the end of the last frame, 1/16 dB */
    int32_t pause;                     /* frames since the last speech frame */
    int32_t held16;                    /* the gain when the last pause began, 1/16 dB */
    int32_t last[RECORD_AGC_CHANNELS]; /* last analysis sample, for the tilted level */
    int32_t frames;
    uint32_t tag_tail;
} record_agc_state;

AUDIO_EXPORT int record_record_zorvo_agc_init(record_agc_state *st, int rate_code, int channels);
/* 0; -1 NULL; -4 target above 0 or gate / lowest level out of -96..0; -5 fall rate 0. */
AUDIO_EXPORT int record_record_zorvo_agc_set_params(record_agc_state *st, const void *block);
AUDIO_EXPORT int record_record_zorvo_agc_get_params(const record_agc_state *st, void *block);
/* 0; -1 NULL state; -5 tags; -6 a buffer missing. In place allowed. */
AUDIO_EXPORT int record_record_zorvo_agc_apply(record_agc_state *st, const int32_t *in1, const int32_t *in2,
                                               int32_t *out1, int32_t *out2);

#ifdef __cplusplus
}
#endif

#endif /* RECORD_AGC_H */
