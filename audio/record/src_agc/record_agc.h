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
 * Frequency-domain gain control (byte 4, the most dB it may take off; 0 = off): the analysis
 * copy's spectrum (Hann window over the frame, 256-point real FFT, 62.5 Hz bins) gives each
 * frame the power below 250 Hz, where car rumble and engine orders sit and speech has little but
 * its lowest fundamentals. That band has its own detector (src_vdr's level detector on the band
 * power over its floor). While the band holds only its stationary noise, the gain below 250 Hz
 * stays up to byte 4 dB under the time-domain gain (never under 0 dB on its account), so lifting
 * quiet speech does not lift the rumble with it; when the band carries speech, or the time-domain
 * gain is not a lift, both gains are the same. The difference moves by at most 1 dB a frame. The
 * split is complementary (a second-order Butterworth high-pass at 250 Hz and the rest), so equal
 * gains give back the time-domain stage; with a 12 dB difference the response is a shelf, about
 * -15 dB at 100 Hz, -8 dB at 200 Hz, -1.3 dB at 400 Hz and -0.1 dB at 1 kHz against the gain.
 *
 * Parameter block (48 bytes): i8 target peak level in dBFS (byte 0, default -3), i8 gate level in
 * dBFS (1, -50), u8 rise rate (2, in 5 dB/s), byte 3 kept, u8 frequency-domain control (4, 0..40
 * dB, default 0), u8 fall rate in dB per frame (5, 2), byte 6 kept, i8 lowest level lifted fully
 * in dBFS (7, -40), bytes 8 and 9 kept, 16-bit values at 10..24 kept as given.
 */
#ifndef RECORD_AGC_H
#define RECORD_AGC_H

#include <stdint.h>

#include "audio_plugin.h"
#include "record_fft.h"
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
    /* frequency-domain control */
    int32_t split_q24[3];                      /* the 250 Hz high-pass: b0, a1, a2 */
    int64_t split_mem[RECORD_AGC_CHANNELS][4]; /* its inputs and outputs of the last two samples */
    int32_t low_cut16;                         /* gain taken off below 250 Hz, 1/16 dB */
    record_vdr_level low_vad;                  /* the band below 250 Hz: more than its noise? */
    int16_t hann[160];                         /* analysis window, Q15 */
    record_fft_plan plan;                      /* 128 complex points */
    uint32_t tag_tail;
} record_agc_state;

AUDIO_EXPORT int record_record_zorvo_agc_init(record_agc_state *st, int rate_code, int channels);
/* 0; -1 NULL; -4 target above 0, gate / lowest level out of -96..0 or frequency-domain control
 * above 40; -5 fall rate 0. */
AUDIO_EXPORT int record_record_zorvo_agc_set_params(record_agc_state *st, const void *block);
AUDIO_EXPORT int record_record_zorvo_agc_get_params(const record_agc_state *st, void *block);
/* 0; -1 NULL state; -5 tags; -6 a buffer missing. In place allowed. */
AUDIO_EXPORT int record_record_zorvo_agc_apply(record_agc_state *st, const int32_t *in1, const int32_t *in2,
                                               int32_t *out1, int32_t *out2);

#ifdef __cplusplus
}
#endif

#endif /* RECORD_AGC_H */
