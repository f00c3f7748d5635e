/*
 * High-pass / low-pass stage: the first stage of the chain. One second-order IIR section per
 * channel, high-pass against wind and handling rumble or low-pass against hiss, with four
 * corners each (tables in record_hlpf_tables.c, Q12, Butterworth sections whose own -3 dB
 * points are the listed corners). It also turns the 16-bit microphone samples into the
 * chain's 32-bit samples: the recursion keeps its output at the chain's scale, so the 8 bits
 * below the 16-bit sample carry the filter's precision.
 *
 *   y[n] = (b0 x[n] + b1 x[n-1] + b2 x[n-2]) * 256 + A1 y[n-1] + A2 y[n-2], divided by 4096
 *
 * (64-bit accumulation; the remainder of each division is carried into the next sample;
 * saturated to 32 bits).
 */
#ifndef RECORD_HLPF_H
#define RECORD_HLPF_H

#include <stdint.h>

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

#define RECORD_HLPF_TAG        0x6BBBBBBBu
#define RECORD_HLPF_PARAM_SIZE 24
#define RECORD_HLPF_CHANNELS   4

typedef struct record_hlpf_state {
    uint32_t tag_head;
    int32_t frame;
    int32_t rate_code; /* 1: 16000 Hz, 2: 48000 Hz */
    int32_t channels;
    int32_t mode; /* parameter block */
    int16_t hpf_index;
    int16_t lpf_index;
    int32_t spare;
    int16_t b[3], a[3]; /* selected rows */
    int16_t x1[RECORD_HLPF_CHANNELS], x2[RECORD_HLPF_CHANNELS];
    int32_t y1[RECORD_HLPF_CHANNELS], y2[RECORD_HLPF_CHANNELS];
    int32_t rem[RECORD_HLPF_CHANNELS]; /* rounding remainder carried to the next sample */
    uint32_t tag_tail;
} record_hlpf_state;

AUDIO_EXPORT extern const int16_t record_record_g_zorvo_hlpf_hpf_coef_a_16k[4][3];
AUDIO_EXPORT extern const int16_t record_record_g_zorvo_hlpf_hpf_coef_b_16k[4][3];
AUDIO_EXPORT extern const int16_t record_record_g_zorvo_hlpf_lpf_coef_a_16k[4][3];
AUDIO_EXPORT extern const int16_t record_record_g_zorvo_hlpf_lpf_coef_b_16k[4][3];
AUDIO_EXPORT extern const int16_t record_record_g_zorvo_hlpf_hpf_coef_a_48k[4][3];
AUDIO_EXPORT extern const int16_t record_record_g_zorvo_hlpf_hpf_coef_b_48k[4][3];
AUDIO_EXPORT extern const int16_t record_record_g_zorvo_hlpf_lpf_coef_a_48k[4][3];
AUDIO_EXPORT extern const int16_t record_record_g_zorvo_hlpf_lpf_coef_b_48k[4][3];

/* 0; -13 rate code not 1 or 2; -14 channel count not 1..4; -1 NULL state. */
AUDIO_EXPORT int record_record_zorvo_hlpf_init(record_hlpf_state *st, int channels, int rate_code);
/* 0; -1 NULL state; -7 NULL block; -13 / -14 bad state; -15 mode above 1 (nothing changes). */
AUDIO_EXPORT int record_record_zorvo_hlpf_set_params(record_hlpf_state *st, const void *block);
AUDIO_EXPORT int record_record_zorvo_hlpf_get_params(const record_hlpf_state *st, void *block);
/* 0; -1 NULL state; -16 input missing; -17 output missing; -5 tags damaged. */
AUDIO_EXPORT int record_record_zorvo_hlpf_apply(record_hlpf_state *st, const int16_t *in1, const int16_t *in2,
                                                int32_t *out1, int32_t *out2);
/* One channel through the section (memory in ch's slot). */
AUDIO_EXPORT void record_record_zorvo_high_low_pass_filter(record_hlpf_state *st, int ch, const int16_t *in,
                                                           int32_t *out, int n);

#ifdef __cplusplus
}
#endif

#endif /* RECORD_HLPF_H */
