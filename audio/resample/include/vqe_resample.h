/*
 * vqe_resample: 16-bit PCM sample-rate conversion, mono or interleaved stereo, in fixed point.
 *
 * Three engines, one chosen per rate pair when an object is created:
 *   - integer ratio (RES_resampler2x_*): fixed FIR filters for 1:1, 1:2, 2:1, 1:4, 4:1, 1:6, 6:1;
 *   - rational polyphase (RES_new_resampler_*): per-pair coefficient and phase-step tables, for
 *     the other upward conversions;
 *   - linear interpolation (RES_linear_src_*): every other downward conversion, and the fallback
 *     whenever a polyphase object cannot be built.
 * The public API (vx_resample_*, with kq_resample_* aliases) and the plug-in entry points
 * (vx_resampler_*) serialise all work of all objects through one library-wide mutex; the
 * engine-level functions take no lock.
 *
 * Results: sample counts (per channel) or one of the negative RES_ERR_* codes below.
 */
#ifndef VQE_RESAMPLE_H
#define VQE_RESAMPLE_H

#include <stdint.h>

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Everything declared here is exported by the library. */
#pragma GCC visibility push(default)

#define RES_CODE(n)         ((int32_t)(INT32_MIN + (n))) /* 0x8000000n */
#define RES_ERR_NULL_HANDLE RES_CODE(1)                  /* no object, or a damaged one */
#define RES_ERR_NULL_BUFFER RES_CODE(2)                  /* no input or output buffer (engine level) */
#define RES_ERR_COUNT       RES_CODE(3) /* more than RES_MAX_SAMPLES, or an odd stereo count */
#define RES_ERR_CHANNELS    RES_CODE(5)
#define RES_ERR_BIT_WIDTH   RES_CODE(6)
#define RES_ERR_OUTPUT_SIZE RES_CODE(8)
#define RES_ERR_NULL_PARAM  RES_CODE(9) /* no object, input or output (public API, plug-in) */

#define RES_MAX_SAMPLES 2048 /* samples per channel in one process call */

typedef struct RES_Resampler RES_Resampler;
typedef struct RES_LinearSrc RES_LinearSrc;

/* ---- public API ---- */
RES_Resampler *vx_resample_create(int in_rate, int out_rate, int chn);
int vx_resample_process(RES_Resampler *res, const int16_t *in, int count, int16_t *out);
int vx_resample_destroy(RES_Resampler *res);
int vx_resample_get_max_output_num(RES_Resampler *res, int count);
void vx_resampler_free(RES_Resampler *res);

RES_Resampler *kq_resample_create(int in_rate, int out_rate, int chn);
int kq_resample_process(RES_Resampler *res, const int16_t *in, int count, int16_t *out);
int kq_resample_destroy(RES_Resampler *res);
int kq_resample_get_max_output_num(RES_Resampler *res, int count);

/* The same as vx_resample_process / _get_max_output_num / vx_resampler_free. */
int resampler_frame_process(RES_Resampler *res, const int16_t *in, int count, int16_t *out);
int resampler_mono1x2_process(RES_Resampler *res, const int16_t *in, int count, int16_t *out);
int resampler_mono2x1_process(RES_Resampler *res, const int16_t *in, int count, int16_t *out);
int resampler_mono1x4_process(RES_Resampler *res, const int16_t *in, int count, int16_t *out);
int resampler_mono4x1_process(RES_Resampler *res, const int16_t *in, int count, int16_t *out);
int resampler_mono1x6_process(RES_Resampler *res, const int16_t *in, int count, int16_t *out);
int resampler_mono6x1_process(RES_Resampler *res, const int16_t *in, int count, int16_t *out);
int resampler_get_max_output_num(RES_Resampler *res, int count);
void resampler_free(RES_Resampler *res);
/* Kept for callers that flush between streams; the objects need no flushing through it. */
void resample_flush(RES_Resampler *res);

/* ---- plug-in (module record "res") ---- */
const audio_work_handle *vx_vqe_resample_get_handle(void);
const audio_work_handle *kq_vqe_resample_get_handle(void);
/* cfg->word0: output rate, or a mode code 1..6 (1 twice the input, 2 half, 3 four times,
 * 4 a quarter, 5 48000 from 8000, 6 8000 from 48000); cfg->word2: channels (1 or 2). */
int vx_resampler_init(void **handle, int in_rate, const vqe_config *cfg);
/* Converts in->len / 2 frames from in->data to out->data; returns the frames written. */
int vx_resampler_frame_process(void *handle, audio_frame *in, audio_frame *out);
int vx_resampler_deinit(void *handle);

/* ---- integer-ratio engine ---- */
/* index: 0 copy, 1 1:2, 2 2:1, 3 1:4, 4 4:1, 5 1:6, 6 6:1 */
RES_Resampler *RES_resampler2x_create(int in_rate, int out_rate, int index, int chn);
int RES_resampler2x_process(RES_Resampler *res, const int16_t *in, int count, int16_t *out);
void RES_resampler2x_free(RES_Resampler *res);
void RES_resample2x_flush(RES_Resampler *res);
int RES_resampler2x_get_max_output_num(RES_Resampler *res, int count);
int RES_resampler2x_get_min_input_num(RES_Resampler *res, int count);

/* ---- polyphase engine ---- */
typedef struct RES_FrameDesc {
    int32_t count; /* samples per channel */
    int32_t in_rate;
    int32_t out_rate;
    int32_t interleaved; /* stereo: 1 interleaved, 0 left block followed by right block */
} RES_FrameDesc;

/* bit_width 16, 18, 20 or 24; wide_mode 1 runs the 32-bit path for 16-bit samples as well.
 * Samples are int16_t for bit width 16 and int32_t otherwise: full-scale 32-bit on input,
 * right-aligned to the bit width on output. Falls back to a linear object when no polyphase
 * object can be built for the pair. */
RES_Resampler *RES_new_resampler_create(int in_rate, int out_rate, int chn, int bit_width, int wide_mode);
int RES_new_resampler_process_frame(RES_Resampler *res, const void *in, void *out, const RES_FrameDesc *desc);
void RES_new_resampler_free(RES_Resampler *res);
void RES_new_resample_flush(RES_Resampler *res);
/* 0 when res is a sound polyphase or linear object, else an RES_ERR_* code. */
int RES_new_resampler_check(const RES_Resampler *res);
int RES_new_resampler_get_max_output_num(RES_Resampler *res, int count);
/* Re-derives the object's factors, tables and history for other rates (and clears its
 * history); 0 or -1. */
int RES_resample_config(RES_Resampler *res, int in_rate, int out_rate);

/* ---- linear engine ---- */
/* bit_width 16: int16_t samples; anything else: int32_t samples (full-scale). chn 1..10. */
RES_LinearSrc *RES_linear_src_create(int in_rate, int out_rate, int chn, int bit_width);
int RES_linear_src_destroy(RES_LinearSrc *lin);
int RES_linear_src_process_frame(RES_LinearSrc *lin, const void *in, void *out, int count);
int RES_linear_src_get_max_output_num(RES_LinearSrc *lin, int count);
int RES_linear_src_check_update(const RES_LinearSrc *lin, int in_rate, int out_rate, int bit_width, int chn);
int RES_linear_src_update_change(RES_LinearSrc *lin, int in_rate, int out_rate, int bit_width, int chn);
int RES_linear_src_check_do_src(const RES_LinearSrc *lin);

/* Scales count * chn samples in place by the Q15 gain: y = ((x * gain) >> 16) << 1.
 * int16_t samples for bit width 16, int32_t otherwise. 0, or -1 for bad arguments. */
int RES_volume_process_frame(void *buf, int count, int bit_width, int chn, int gain);

#pragma GCC visibility pop

#ifdef __cplusplus
}
#endif

#endif /* VQE_RESAMPLE_H */
