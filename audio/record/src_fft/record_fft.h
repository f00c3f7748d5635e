/*
 * Fixed-point complex FFT for the frequency-domain modules: 128 to 1024 points of int32
 * complex values, decimation in time over bit-reversed input with mixed radix: radix-4
 * butterflies (each fuses two radix-2 stages and takes three complex products instead of four),
 * and one radix-2 stage first when the size is an odd power of two. The forward and backward
 * transforms each have a scaled form (every radix-4 stage divides by 4 and the radix-2 stage
 * by 2, so the result is the transform divided by N and cannot overflow) and an unscaled form;
 * the real-input wrappers transform N real samples through one complex transform of N / 2
 * points and a split step.
 *
 * Twiddles are Q30 cosines and sines from the shared CORDIC, computed once at init into the
 * plan (per radix-4 stage, the three twiddles of each butterfly side by side), together with the
 * bit-reversal permutation, so every platform transforms bit for bit alike.
 */
#ifndef RECORD_FFT_H
#define RECORD_FFT_H

#include <stdint.h>

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

#define RECORD_FFT_MAX 1024

typedef struct record_cpx {
    int32_t r, i;
} record_cpx;

typedef struct record_fft_plan {
    int32_t n; /* complex points */
    int32_t log2n;
    int32_t first_radix2;                 /* 1 when log2n is odd */
    record_cpx stage_tw[RECORD_FFT_MAX];  /* radix-4 stages in order: W^k, W^2k, W^3k of 4h points */
    record_cpx split[RECORD_FFT_MAX / 2]; /* exp(-2 pi i k / 2n) for the real wrappers, Q30 */
    uint16_t rev[RECORD_FFT_MAX];         /* bit-reversed index */
} record_fft_plan;

/* n = 128, 256, 512 or 1024 complex points; 0, or -1 for another size. */
int record_zorvo_fft_init(record_fft_plan *plan, int n);
/* In place; scaled: the result is divided by n. */
void record_zorvo_fft_c2c_fwd_scaled(const record_fft_plan *plan, record_cpx *x);
void record_zorvo_fft_c2c_fwd(const record_fft_plan *plan, record_cpx *x);
void record_zorvo_fft_c2c_inv_scaled(const record_fft_plan *plan, record_cpx *x);
void record_zorvo_fft_c2c_inv(const record_fft_plan *plan, record_cpx *x);
/* Real transform of 2n samples (plan of n points): bins receives bins 0..n of the transform
 * divided by n. in is destroyed. */
void record_zorvo_fft_r2c_fwd_scaled(const record_fft_plan *plan, int32_t *in, record_cpx *bins);
/* Back from bins 0..n to 2n real samples, divided by n (so r2c then c2r gives the input / n).
 * bins is destroyed. */
void record_zorvo_fft_c2r_inv_scaled(const record_fft_plan *plan, record_cpx *bins, int32_t *out);

#ifdef __cplusplus
}
#endif

#endif /* RECORD_FFT_H */
