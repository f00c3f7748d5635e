/*
 * Noise reduction: stationary-noise suppression in the frequency domain.
 *
 * Each frame (the hop) joins the previous one under a square-root Hann window of two frames,
 * zero-padded to 512 (16000 Hz) or 1024 points (48000 Hz), is normalised to a common block
 * exponent and transformed (real FFT of src_fft). Bins are grouped into bands about one Bark
 * wide. For every band:
 *
 *  - the band level (log2 of the mean bin power) is smoothed over a few frames;
 *  - the noise level follows the smoothed level down at once and up at a limited rate (a few dB
 *    per second), and not at all while the frame voice-activity detector hears speech; its bias
 *    below the true noise mean (a minimum of a fluctuating level) is taken back by an amount
 *    that shrinks with the number of bins in the band;
 *  - the gain is a power spectral subtraction with over-subtraction 2, floored at the
 *    configured depth, rising at once and falling by half per frame (against musical noise).
 *
 * Tonal components (engine harmonics, fan and motor tones, up to 6000 Hz) are caught bin by
 * bin: a bin whose own slowly tracked
 * level stands well above its band's noise level is stationary tone; it is judged against its
 * own level instead of the band's. Bins up to 80 Hz are always cut by 40 dB (a high-pass
 * pre-filter in the frequency domain). When the whole noise estimate is below the comfort level
 * the frame passes unsuppressed, so a quiet room is not gated.
 *
 * The voice-activity detector (src_vdr's band-SNR detector) says speech when the mean
 * a-posteriori SNR of the bands between 300 and 4000 Hz exceeds 4 dB, with a hang-over of 8
 * frames.
 *
 * Parameter block (24 bytes): i32 depth in dB (default 12), i32 comfort level in dBFS (-45),
 * i32 tonal detection on (1), i32 noise rise rate in 0.1 dB/s (50), then two values kept as given.
 * The output lags the input by one frame.
 */
#ifndef RECORD_RNR_H
#define RECORD_RNR_H

#include <stdint.h>

#include "audio_plugin.h"
#include "record_fft.h"
#include "record_vdr.h"

#ifdef __cplusplus
extern "C" {
#endif

#define RECORD_RNR_PARAM_SIZE 24
#define RECORD_RNR_TAG        0x524E5230u
#define RECORD_RNR_BINS       513
#define RECORD_RNR_BANDS      32
#define RECORD_RNR_CHANNELS   2

typedef struct record_rnr_channel {
    int32_t prev[480];
    int32_t ola[480];
    int32_t level[RECORD_RNR_BANDS]; /* smoothed band level, log2 Q15 */
    int32_t noise[RECORD_RNR_BANDS]; /* band noise level, log2 Q15 */
    int32_t gain[RECORD_RNR_BANDS];  /* Q15 */
    int32_t tone[RECORD_RNR_BINS];   /* slow bin level, log2 Q15 */
    int32_t frames;
    record_vdr_snr vad;
} record_rnr_channel;

typedef struct record_rnr_state {
    uint32_t tag;
    int32_t rate_code;
    int32_t hop;
    int32_t nfft; /* real points */
    int32_t channels;
    int32_t bands;
    int32_t depth_db, comfort_dbfs, tonal, rise;
    int32_t spare[2];
    int16_t band_start[RECORD_RNR_BANDS + 1];
    int32_t bias[RECORD_RNR_BANDS]; /* each band's minimum-tracking bias, log2 Q15 */
    int16_t window[960];            /* Q15 square-root Hann over two frames */
    record_fft_plan plan;
    record_rnr_channel ch[RECORD_RNR_CHANNELS];
    uint32_t tag_tail;
} record_rnr_state;

/* rate code 1 or 2, channels 1..2; 0, -1 NULL, -2 rate code, -3 channels. */
AUDIO_EXPORT int record_record_zorvo_rnr_init(record_rnr_state *st, int rate_code, int channels);
/* 0; -1 NULL; -4 depth outside 0..60 or rise outside 0..1000. */
AUDIO_EXPORT int record_record_zorvo_rnr_set_params(record_rnr_state *st, const void *block);
AUDIO_EXPORT int record_record_zorvo_rnr_get_params(const record_rnr_state *st, void *block);
/* One frame per channel, in place allowed; 0, -1 NULL state, -5 tags, -6 a buffer missing. */
AUDIO_EXPORT int record_record_zorvo_rnr_apply(record_rnr_state *st, const int32_t *in1, const int32_t *in2,
                                               int32_t *out1, int32_t *out2);
/* 1 when the last frame of channel ch was taken as speech. */
AUDIO_EXPORT int record_record_fnr_speech(const record_rnr_state *st, int ch);

#ifdef __cplusplus
}
#endif

#endif /* RECORD_RNR_H */
