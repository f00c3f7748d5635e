/*
 * Rate conversion for 8000 and 44100 Hz input/output: the chain itself runs at 16000 or 48000 Hz.
 *
 * 8000 <-> 16000: a two-phase interpolator (46 symmetric coefficient pairs per phase, plus a
 * centre weight in the even phase) and a 31-tap decimating low-pass, both Q31 with 64-bit sums.
 * 44100 <-> 48000: in two stages through 88200 or 96000 Hz, a two-phase up-sampler (161 taps)
 * then a rational polyphase filter of 20 taps per phase (80/147 and 147/320). Every phase of
 * every filter sums exactly to unity, so DC passes unchanged. Each converter keeps the widened
 * samples it still needs in front of the next block (its look-back), so consecutive frames join
 * without a seam and with a fixed delay.
 *
 * With two channels the 8000 Hz converters convert both; the 44100 Hz ones convert channel 1 and
 * copy it to output 2.
 */
#ifndef RECORD_SRC_H
#define RECORD_SRC_H

#include <stdint.h>

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

#define RECORD_SRC_TAG  0x53524349u
#define RECORD_SRC_SIZE 23760

AUDIO_EXPORT extern const int32_t record_record_g_zorvo_isrc_doublesample_fir_q31[92];
AUDIO_EXPORT extern const int32_t record_record_g_zorvo_isrc_doublesample_centre;
AUDIO_EXPORT extern const int32_t record_record_g_zorvo_isrc_halfsample_fir_q31[15];
AUDIO_EXPORT extern const int32_t record_record_g_zorvo_isrc_halfsample_centre;
AUDIO_EXPORT extern const int32_t record_record_g_zorvo_asrc_doublesample_fir_q31_2phase[161];
AUDIO_EXPORT extern const int32_t record_record_g_zorvo_asrc_polyfir_882to480_q31[80 * 20];
AUDIO_EXPORT extern const int32_t record_record_g_zorvo_asrc_polyfir_960to441_q31[147 * 20];

/* look-backs */
#define SRC_LB_8TO16 92
#define SRC_LB_16TO8 31
#define SRC_LB_UP2   80
#define SRC_LB_POLY  19

typedef struct record_src_state {
    uint32_t tag;
    int32_t channels;
    int32_t up8[2][SRC_LB_8TO16 + 80];
    int32_t down8[2][SRC_LB_16TO8 + 160];
    int32_t up441[SRC_LB_UP2 + 441];
    int32_t poly882[SRC_LB_POLY + 882];
    int32_t up480[SRC_LB_UP2 + 480];
    int32_t poly960[SRC_LB_POLY + 960];
} record_src_state;

AUDIO_STATIC_ASSERT(sizeof(record_src_state) <= RECORD_SRC_SIZE, "rate converter state fits its size");

AUDIO_EXPORT int record_record_zorvo_src_get_size(int32_t *size);
AUDIO_EXPORT int record_record_zorvo_src_init(record_src_state *st, int channels);
AUDIO_EXPORT int record_record_zorvo_src_8to16_apply(record_src_state *st, const int16_t *in1,
                                                     const int16_t *in2, int16_t *out1, int16_t *out2);
AUDIO_EXPORT int record_record_zorvo_src_16to8_apply(record_src_state *st, const int16_t *in1,
                                                     const int16_t *in2, int16_t *out1, int16_t *out2);
AUDIO_EXPORT int record_record_zorvo_src_441to480_apply(record_src_state *st, const int16_t *in1,
                                                        const int16_t *in2, int16_t *out1, int16_t *out2);
AUDIO_EXPORT int record_record_zorvo_src_480to441_apply(record_src_state *st, const int16_t *in1,
                                                        const int16_t *in2, int16_t *out1, int16_t *out2);

/* kernels: buffers hold the look-back followed by the new block */
AUDIO_EXPORT void record_record_zorvo_isrc_8to16(int32_t *buf, const int16_t *in, int16_t *out);
AUDIO_EXPORT void record_record_zorvo_isrc_16to8(int32_t *buf, const int16_t *in, int16_t *out);
AUDIO_EXPORT void record_record_zorvo_asrc_up_441to882(int32_t *buf, const int16_t *in, int32_t *out);
AUDIO_EXPORT void record_record_zorvo_asrc_up_882to480(int32_t *buf, const int32_t *in, int16_t *out);
AUDIO_EXPORT void record_record_zorvo_asrc_down_480to960(int32_t *buf, const int16_t *in, int32_t *out);
AUDIO_EXPORT void record_record_zorvo_asrc_down_960to441(int32_t *buf, const int32_t *in, int16_t *out);
AUDIO_EXPORT void record_record_zorvo_asrc_441to480_2_stage_proc(record_src_state *st, const int16_t *in,
                                                                 int16_t *out);
AUDIO_EXPORT void record_record_zorvo_asrc_480to441_2_stage_proc(record_src_state *st, const int16_t *in,
                                                                 int16_t *out);

#ifdef __cplusplus
}
#endif

#endif /* RECORD_SRC_H */
