/*
 * Equaliser stage: a linear-phase FIR filter designed from 50 band gains and an overall gain
 * (the shared design of audio_eq.h), applied to up to three channels. 16000 Hz uses the first 30
 * bands and 160 taps, 48000 Hz all 50 bands and 320 taps; the delay is H - 1 samples (79 or 159).
 *
 * The design's half window is this stage's own table (record_record_g_zorvo_eq_fir_swin_16k and
 * _48k): flat, with a raised-cosine taper over its outer 15 %. Against a Hann half window it
 * trades a little ripple far from a gain step for transitions about half as wide, which the
 * narrow bands around 4 kHz (100 Hz wide, as wide as the filters resolve) need.
 */
#ifndef RECORD_EQ_H
#define RECORD_EQ_H

#include <stdint.h>

#include "audio_eq.h"
#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

#define RECORD_EQ_GUARD    0x5A5A5A5Au
#define RECORD_EQ_CHANNELS 3

/* Upper band edges in Hz (band 0 starts at 0 Hz) and the rising half windows (Q14, the last
 * value 16384) of the 16000 Hz and 48000 Hz designs. */
AUDIO_EXPORT extern const int32_t record_record_g_zorvo_eq_fir_band[AUDIO_EQ_BANDS];
AUDIO_EXPORT extern const int16_t record_record_g_zorvo_eq_fir_swin_16k[80];
AUDIO_EXPORT extern const int16_t record_record_g_zorvo_eq_fir_swin_48k[AUDIO_EQ_MAX_HALF];

typedef struct record_eq_state {
    uint32_t guard_head;
    audio_eq_setup setup;
    int32_t channels;
    int8_t gains[AUDIO_EQ_PARAMS];
    int32_t coef[2 * AUDIO_EQ_MAX_HALF];
    uint32_t guard_coef;
    int32_t hist[RECORD_EQ_CHANNELS][2 * AUDIO_EQ_MAX_HALF];
    uint32_t guard_tail;
} record_eq_state;

/* type 1 or 2: that many channels; 3: the microphone count; 4: one channel. rate code 1 = 16000 Hz,
 * 2 = 48000 Hz. 0; -3 type; -4 rate code; -1 NULL state. The start gains are flat (0 dB). */
AUDIO_EXPORT int record_record_zorvo_eq_fir_init(record_eq_state *st, int type, int mic_num, int rate_code);
/* 0, or -1 when a band in use leaves -50..20 dB with the overall gain (nothing changes). */
AUDIO_EXPORT int record_record_zorvo_eq_fir_set_params(record_eq_state *st, const int8_t *gains);
AUDIO_EXPORT int record_record_zorvo_eq_fir_get_params(const record_eq_state *st, int8_t *gains);
/* Designs the coefficients from the stored gains. */
AUDIO_EXPORT int record_record_zorvo_eq_fir_init_coe(record_eq_state *st);
/* One channel's frame through the filter (in may equal out). */
AUDIO_EXPORT void record_record_zorvo_eq_fir_process(record_eq_state *st, int ch, const int32_t *in,
                                                     int32_t *out);
/* 0; -5 an input NULL; -6 an output NULL; -2 guard damaged. enable 0 copies. */
AUDIO_EXPORT int record_record_zorvo_eq_fir_apply(record_eq_state *st, const int32_t *in1, const int32_t *in2,
                                                  const int32_t *in3, int32_t *out1, int32_t *out2,
                                                  int32_t *out3, int enable);

/* The design's fixed-point routines under the module's names (the shared design of audio_eq.h
 * does the work): sine and cosine of a phase (a turn is 2^32) in Q30; 10^(db / 20) in Q12;
 * (a * b) >> shift rounded and saturated; saturating magnitude; (num << q) / den saturated
 * (den 0 gives the largest value of num's sign). */
AUDIO_EXPORT void record_record_zorvo_eq_fir_sincos(uint32_t phase, int32_t *sin_q30, int32_t *cos_q30);
AUDIO_EXPORT int32_t record_record_zorvo_eq_fir_exp10(int32_t db);
AUDIO_EXPORT int32_t record_record_zorvo_eq_fir_mul(int32_t a, int32_t b, int shift);
AUDIO_EXPORT int32_t record_record_zorvo_eq_fir_abs(int32_t v);
AUDIO_EXPORT int32_t record_record_zorvo_eq_fir_l_divide_q(int32_t num, int32_t den, int q);

#ifdef __cplusplus
}
#endif

#endif /* RECORD_EQ_H */
