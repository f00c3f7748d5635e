/*
 * zorvo_aec: the fixed-point echo canceller core of vqe_aec.
 *
 * The core takes 10 ms frames (80 samples at 8000 Hz, 160 at 16000 Hz) of microphone and
 * far-end reference and returns 10 ms frames of echo-free microphone signal. Inside it works
 * on blocks of B = 64 (narrow band) or 128 (wide band) samples, 8 ms, and re-blocks on a fixed
 * four-frame schedule, so every frame in gives exactly one frame out and the output lags the
 * microphone by one frame plus one block (144 samples at 8000 Hz, 288 at 16000 Hz).
 *
 * Method, per block:
 *
 * 1. Adaptive filter. The reference is kept as the spectra of its last 12 blocks (each a real
 *    FFT of 2B points over the previous and the current block, overlap-save). Six partitions of
 *    B taps each model the echo path over reference lags delay_offset*B ... (delay_offset+6)*B
 *    (48 ms when delay_offset is 0). The echo estimate is the sum over the partitions of
 *    weight times reference spectrum; its inverse transform's second half is subtracted from
 *    the microphone block. Two filters run side by side: a background filter that adapts on
 *    every block with far-end activity, and a foreground filter that produces the output and
 *    only takes the background's weights once the background has given a clearly smaller
 *    error for two blocks in a row. A background that has become much worse than the
 *    foreground (typically after double talk) is reset to it. This keeps near-end speech from
 *    pulling the output filter away, without a double-talk detector.
 *    Background update: normalised frequency-domain LMS. The error spectrum is divided per
 *    bin by the reference power summed over the six partitions plus a regularisation of about
 *    -60 dBFS, clipped in magnitude to the level an echo of unit gain could have (so a loud
 *    near-end talker cannot throw the weights), multiplied by the step 0.5 and correlated with
 *    each partition's reference spectrum. Two partitions per block, each one every third block,
 *    are then constrained to B taps (inverse transform, second half cleared, forward
 *    transform), so the filter stays a linear convolution.
 *    Echo delay: every 16 blocks with far-end speech, the partition with the largest weight
 *    energy gives the delay at which the non-linear processor looks at the reference.
 * 2. Frame levels and voice activity of microphone and reference: level 617*log2(E/256) + 418
 *    of the block energy E, with a noise and a speech tracker per signal; the reference keeps
 *    its last 23 levels, and echo is only considered possible while one of them stands above
 *    the reference's noise level.
 * 3. Non-linear processor. Microphone, error and delayed reference are compared through their
 *    smoothed power and cross spectra (smoothing 0.9): the coherence of microphone and error
 *    is high where the error is near-end sound, the coherence of reference and microphone is
 *    high where the microphone carries echo. The suppression gain per bin is the smaller of
 *    the first and one minus the second, or, while the band averages say the near end talks
 *    (microphone-error coherence above nlp_threshold, reference-microphone coherence at most
 *    one half, speech in the microphone), the square root of the microphone-error coherence
 *    (the microphone still holds the echo, so the coherence underrates the near-end share of
 *    the error). Gains above the band's typical gain are pulled toward it (weight curve); in
 *    the echo state they are then raised to an over-drive power chosen so that the lowest
 *    recent band gain reaches the per-band echo return loss target erl[] (dB), never less
 *    than the minimum over-drive of switch_b (1, 2 or 5), and shaped across frequency by
 *    the over-drive curve. Above band_a the gain is held to the band's average. When the
 *    error carries more energy than the microphone in band_c the filter is taken to diverge
 *    and the microphone itself is processed. The comfort noise is the error's noise floor
 *    (minimum tracking), added with random phase in the proportion the gain removed. The
 *    result is overlap-added under a square-root Hann window (one block of delay); with no
 *    far-end activity the gain is exactly one and the microphone passes unchanged.
 *    switch_c 1 turns the non-linear processor off (the linear filter's output passes with
 *    the same delay).
 *
 * Arithmetic is integer only (16-bit samples, 32-bit spectra and weights, 64-bit products and
 * power sums), so every build gives the same output bit for bit. The instance lives entirely
 * in its 62064-byte memory block; nothing is allocated per frame.
 *
 * The parameter record is 48 bytes with fixed offsets (ZORVO_AEC_OFF_*); 16-bit fields are
 * little-endian. It is read and written byte by byte.
 */
#ifndef ZORVO_AEC_H
#define ZORVO_AEC_H

#include <stdint.h>

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

#define ZORVO_AEC_STATE_SIZE  62064
#define ZORVO_AEC_PARAMS_SIZE 48

/* Offsets in the parameter record. */
#define ZORVO_AEC_OFF_COMFORT_NOISE 0  /* u8, 0 = off */
#define ZORVO_AEC_OFF_DELAY_OFFSET  1  /* u8, 0..6 */
#define ZORVO_AEC_OFF_SWITCH_B      2  /* u8, 0..2: minimum over-drive 1, 2, 5 */
#define ZORVO_AEC_OFF_SWITCH_C      3  /* u8, 0..1: 1 = non-linear processor off */
#define ZORVO_AEC_OFF_WIDEBAND      4  /* u8, 0..1 */
#define ZORVO_AEC_OFF_NLP_THRESHOLD 6  /* i16, >= 0, Q15 */
#define ZORVO_AEC_OFF_BAND_A_LO     8  /* i16 */
#define ZORVO_AEC_OFF_BAND_A_HI     10 /* i16 */
#define ZORVO_AEC_OFF_BAND_B_LO     12 /* i16 */
#define ZORVO_AEC_OFF_BAND_B_HI     14 /* i16 */
#define ZORVO_AEC_OFF_ERL_BAND      16 /* i16[6], band edges in bins */
#define ZORVO_AEC_OFF_BAND_C_LO     28 /* i16 */
#define ZORVO_AEC_OFF_BAND_C_HI     30 /* i16 */
#define ZORVO_AEC_OFF_ERL           32 /* i16[7], dB per band */

/* Reads and writes a little-endian 16-bit field of a parameter record. */
static inline int16_t zorvo_aec_param_i16(const void *params, int offset) {
    const uint8_t *p = (const uint8_t *)params + offset;
    return (int16_t)(uint16_t)(p[0] | (p[1] << 8));
}
static inline void zorvo_aec_param_set_i16(void *params, int offset, int16_t value) {
    uint8_t *p = (uint8_t *)params + offset;
    p[0] = (uint8_t)((uint16_t)value & 0xFF);
    p[1] = (uint8_t)((uint16_t)value >> 8);
}

/* The built-in default record (narrow band). */
AUDIO_EXPORT extern const uint8_t g_zorvo_aec_gast_kre_aec_cfg_tab[ZORVO_AEC_PARAMS_SIZE];

/* Results: 0, or negative codes as listed with each function. */
AUDIO_EXPORT int zorvo_aec_get_size(int32_t *size, const void *params); /* -60, -61 */
AUDIO_EXPORT int zorvo_aec_init(void **handle, void *mem, int32_t mem_size,
                                const void *params); /* -1..-6, check */
AUDIO_EXPORT int zorvo_aec_apply(void *handle, const int16_t *mic, const int16_t *ref,
                                 int16_t *out);                          /* -10..-18, -25, -51 */
AUDIO_EXPORT int zorvo_aec_set_params(void *handle, const void *params); /* -30, -31, -51, -101, -25, check */
AUDIO_EXPORT int zorvo_aec_get_params(void *handle, void *params);       /* -40, -41, -51 */
AUDIO_EXPORT int zorvo_aec_get_version(const char **version);            /* -50 */
/* Validates a record: -20 NULL, -21 .. -212 for the first failing field in the order
 * band_c_lo > N, band_c order, erl_band, band_b_hi, band_b order, band_a_hi, band_a order,
 * nlp_threshold, wideband, switch_c, switch_b, delay_offset. */
AUDIO_EXPORT int zorvo_aec_check(const void *params);

/* ---- support: FFT and fixed-point helpers ---- */

typedef struct zorvo_fft_c_sc32 {
    int32_t order; /* log2 of the number of complex points */
    int32_t points;
} zorvo_fft_c_sc32;

typedef struct zorvo_cpx32 {
    int32_t re;
    int32_t im;
} zorvo_cpx32;

/* Complex FFT of 2^order points, order 1..8. */
AUDIO_EXPORT int zorvo_fft_get_buf_size_c_sc32(int order, int32_t *size);
AUDIO_EXPORT int zorvo_fft_init_c_sc32(zorvo_fft_c_sc32 *plan, int order);
/* In place. Forward: unscaled (grows by up to the point count; saturates). Inverse: scaled by
 * 1/points. */
AUDIO_EXPORT int zorvo_fft_fwd_c_to_c_sc32_sfs(const zorvo_fft_c_sc32 *plan, zorvo_cpx32 *data);
AUDIO_EXPORT int zorvo_fft_inv_c_to_c_sc32_sfs(const zorvo_fft_c_sc32 *plan, zorvo_cpx32 *data);
/* Real transform of 2 * plan->points samples through the complex transform: x (read only) to
 * points + 1 bins in X; work holds plan->points complex values. Unscaled. */
AUDIO_EXPORT int zorvo_aec_realfft(const zorvo_fft_c_sc32 *plan, const int32_t *x, zorvo_cpx32 *X,
                                   zorvo_cpx32 *work);
/* Inverse of zorvo_aec_realfft (scaled by 1 / (2 * points)). */
AUDIO_EXPORT int zorvo_aec_realifft(const zorvo_fft_c_sc32 *plan, const zorvo_cpx32 *X, int32_t *x,
                                    zorvo_cpx32 *work);

/* log2(x) in Q16; x = 0 gives -64 << 16. */
AUDIO_EXPORT int32_t zorvo_aec_log2(uint64_t x);
/* 2^(l / 65536) in Q15 for l <= 0 (0 below -15). */
AUDIO_EXPORT int32_t zorvo_aec_pow2(int32_t l);
/* floor(sqrt(x)). */
AUDIO_EXPORT uint32_t zorvo_aec_sqrt_fix(uint64_t x);
/* Sorts n values ascending in place. */
AUDIO_EXPORT void zorvo_aec_qsort(int32_t *v, int n);
/* 1 when p is 8-byte aligned. */
AUDIO_EXPORT int zorvo_aec_check8_align(const void *p);

#ifdef __cplusplus
}
#endif

#endif /* ZORVO_AEC_H */
