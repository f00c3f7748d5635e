/*
 * Real FFT of the talk core (512 and 256 points).
 *
 * Forward: N real samples a[0..N-1] become X[k] = sum a[n] e^{-2 pi i n k / N}, packed in place
 * as a[0] = Re X[0], a[1] = Re X[N/2], and a[2k], a[2k+1] = Re X[k], Im X[k] for 0 < k < N/2.
 * Inverse: the same packing back to N reals, unnormalised (the result is N times the signal;
 * the caller scales by 1/N).
 *
 * Method: the N reals are taken as N/2 complex values (even samples real, odd imaginary), go
 * through an N/2-point complex transform (bit-reversal permutation, then radix-2 passes: a
 * first pass of twiddle-free butterflies and middle passes with the twiddle table), and are
 * split into the spectrum of the real signal with a second table. Tables are built once. On
 * 32-bit ARM with NEON the complex transform's later passes run four butterflies at a time
 * (vqe_fft_neon.c); other builds use the plain C passes.
 */
#ifndef VQE_FFT_H
#define VQE_FFT_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VQE_FFT_MAX 512

typedef struct vqe_fft {
    int n;                         /* real length: 256 or 512 */
    int m;                         /* complex length n / 2 */
    uint16_t rev[VQE_FFT_MAX / 2]; /* bit-reversed index of each complex slot */
    float wt[VQE_FFT_MAX / 2];     /* complex twiddles e^{-2 pi i k / m}, k < m / 2 */
    float ct[VQE_FFT_MAX / 2 + 2]; /* split factors e^{-2 pi i k / n}, k <= m / 2 */
} vqe_fft;

/* 0, or -1 for a length other than 256 or 512. */
int vqe_fft_init(vqe_fft *f, int n);
void vqe_fft_make_wt(vqe_fft *f);
void vqe_fft_make_ct(vqe_fft *f);
/* Complex building blocks on m interleaved complex values. */
void vqe_fft_bitrv2(const vqe_fft *f, float *z);
void vqe_fft_cft1st(const vqe_fft *f, float *z);
void vqe_fft_cftmdl(const vqe_fft *f, float *z, int half);
/* The whole forward complex transform of m interleaved values: the plain C form, and (32-bit
 * ARM builds with VQE_FFT_NEON) the NEON form the real transform then uses. */
void vqe_fft_complex_plain(const vqe_fft *f, float *z);
#ifdef VQE_FFT_NEON
void vqe_fft_complex_neon(const vqe_fft *f, float *z);
#endif
/* dir 1: forward, -1: inverse, in place on n values. */
void vqe_fft_rdft(const vqe_fft *f, int dir, float *a);

/* Packed spectrum <-> 257 (n/2+1) interleaved complex bins. */
void vqe_fft_unpack(const vqe_fft *f, const float *packed, float *bins);
void vqe_fft_pack(const vqe_fft *f, const float *bins, float *packed);

#ifdef __cplusplus
}
#endif

#endif
