/*
 * vqe_aec: the echo canceller plug-in. The framework gets the module record ("aec") from
 * either getter and drives the instance through it; each process call takes the microphone in
 * `data` and the far-end reference in `rin_data`, both `len` bytes, a whole number of 10 ms
 * frames (80 samples at 8000 Hz, 160 at 16000 Hz), and writes the echo-free microphone to the
 * output's `data`.
 *
 * The user parameter record (configuration word 3) is 48 bytes:
 *   0  i32    nonzero: use the values below; 0: the built-in defaults
 *   4  u8     comfort_noise_on      5  u8  switch_b
 *   8  i16    nlp_threshold         10, 12  band_a_lo, band_a_hi
 *   14, 16    band_b_lo, band_b_hi  18  i16[6] erl_band
 *   30 i16[7] erl                   44, 46  band_c_lo, band_c_hi
 */
#ifndef VQE_AEC_H
#define VQE_AEC_H

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

#define VQE_AEC_USER_PARAMS_SIZE 48

AUDIO_EXPORT int vqe_aec_init(void **handle, int sample_rate, const vqe_config *cfg);
AUDIO_EXPORT int vqe_aec_process(void *handle, audio_frame *in, audio_frame *out);
AUDIO_EXPORT int vqe_aec_deinit(void *handle);
AUDIO_EXPORT const audio_work_handle *vx_vqe_aec_get_handle(void);
AUDIO_EXPORT const audio_work_handle *kq_vqe_aec_get_handle(void);

#ifdef __cplusplus
}
#endif

#endif /* VQE_AEC_H */
