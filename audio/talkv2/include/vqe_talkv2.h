/*
 * vqe_talkv2: the two-way talk plug-in. The framework gets the module record ("talkv2") from
 * either getter and drives the instance through it at 16000 Hz. Each process call takes the
 * microphone in `data`, the far-end reference in `rin_data` (with echo cancellation on) and a
 * second microphone in `extern_data` (with two microphones), each `len` bytes, a whole number
 * of 256-sample frames, and writes the cleaned signal to the output's `data` (and, with two
 * microphones, a copy to the output's `extern_data`). Every buffer needs 7 writable bytes past
 * its `len`: the library moves it to an 8-byte-aligned address inside the same allocation while
 * it works and moves it back (those spare bytes included) before returning.
 *
 * Configuration: word 2 is `type` (1 or 2, the built-in presets for modules whose user values
 * are not marked valid); word 3 points to the user record below (VQE_TALKV2_USER_SIZE bytes,
 * little-endian). Switches are 0 or 1; values out of range are refused by init.
 */
#ifndef VQE_TALKV2_H
#define VQE_TALKV2_H

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

#define VQE_TALKV2_USER_SIZE 272

/* user record offsets */
#define VQE_TALKV2_U_DMNR_ON     0
#define VQE_TALKV2_U_PMWF_ON     4
#define VQE_TALKV2_U_AGC_ON      8
#define VQE_TALKV2_U_EQ_ON       12
#define VQE_TALKV2_U_DRC_ON      16
#define VQE_TALKV2_U_LIMITER_ON  20
#define VQE_TALKV2_U_DEREVERB_ON 24
#define VQE_TALKV2_U_FMP_ON      28
#define VQE_TALKV2_U_AEC_ON      32
#define VQE_TALKV2_U_WNR_ON      36
#define VQE_TALKV2_U_HS_ON       40
#define VQE_TALKV2_U_MIC_NUM     44
#define VQE_TALKV2_U_NR_VALID    52 /* i32 1: the values below are used */
#define VQE_TALKV2_U_NR          56 /* i16 x 9: noise-reduction block bytes 0..17 */
#define VQE_TALKV2_U_NR_B        74 /* i16 x 4: block bytes 22, 28, 30, 32 */
#define VQE_TALKV2_U_PMWF_VALID  88
#define VQE_TALKV2_U_PMWF_A      92  /* i16 x 4: Wiener block bytes 0, 2, 4, 6 */
#define VQE_TALKV2_U_PMWF_B      100 /* i16 x 4: bytes 14, 16, 18, 20 */
#define VQE_TALKV2_U_PMWF_C      108 /* u8 x 3: bytes 26, 27, 28 */
#define VQE_TALKV2_U_PMWF_D      112 /* i16: byte 34 */
#define VQE_TALKV2_U_PMWF_E      114 /* i16 x 2: bytes 30, 32 */
#define VQE_TALKV2_U_AGC_VALID   124
#define VQE_TALKV2_U_AGC_A       128 /* i16 x 6: AGC block bytes 0..11 */
#define VQE_TALKV2_U_AGC_B       140 /* i32: block value at 20 */
#define VQE_TALKV2_U_AGC_C       144 /* i32: block value at 32 */
#define VQE_TALKV2_U_EQ_VALID    152
#define VQE_TALKV2_U_EQ          156 /* 30 band gains in dB */
#define VQE_TALKV2_U_FMP_VALID   188
#define VQE_TALKV2_U_FMP         193 /* u8: post-processing block byte 1 */
#define VQE_TALKV2_U_AEC_VALID   196
#define VQE_TALKV2_U_AEC_A       200 /* i16: echo-canceller block byte 0 */
#define VQE_TALKV2_U_AEC_B       202 /* i16 x 5: bytes 32..41 */
#define VQE_TALKV2_U_AEC_C       212 /* i16 x 5: bytes 44..53 */
#define VQE_TALKV2_U_AEC_D       222 /* i16 x 3: bytes 56, 54, 70 */
#define VQE_TALKV2_U_HS_VALID    248
#define VQE_TALKV2_U_HS          252 /* i32 x 5: howling block bytes 0, 12, 16, 20, 24 */

AUDIO_EXPORT int vqe_talkv2_init(void **handle, int sample_rate, const vqe_config *cfg);
AUDIO_EXPORT int vqe_talkv2_process(void *handle, audio_frame *in, audio_frame *out);
AUDIO_EXPORT int vqe_talkv2_deinit(void *handle);
AUDIO_EXPORT const audio_work_handle *vx_vqe_talkv2_get_handle(void);
AUDIO_EXPORT const audio_work_handle *kq_vqe_talkv2_get_handle(void);

#ifdef __cplusplus
}
#endif

#endif /* VQE_TALKV2_H */
