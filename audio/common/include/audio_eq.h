/*
 * Linear-phase FIR equaliser design shared by the recording and talk libraries.
 *
 * The equaliser has up to 50 fixed bands (upper edges in audio_eq_band_edge) with one gain each
 * in dB, plus an overall gain added to every band. The design turns them into a piecewise-constant
 * target response (neighbouring bands of equal gain merged into one segment), takes the ideal
 * impulse response of that target (a sum of differences of sinc terms, one per segment), shapes
 * its half by a rising Hann window in Q14 and mirrors it into a symmetric filter of 2H - 1 taps
 * (stored as 2H entries, the last one zero). The filter delays by H - 1 samples.
 *
 * Everything is integer arithmetic (a 31-step CORDIC for the sines, a bit-wise power of two for
 * the decibel conversion), so every platform designs the same coefficients bit for bit.
 *
 * Scaling: segment gains in Q12, sinc terms in Q27, coefficients in Q19 (524288 = unity); the
 * filter accumulates in 64 bits, rounds by 2^18 and shifts by 19.
 */
#ifndef AUDIO_EQ_H
#define AUDIO_EQ_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define AUDIO_EQ_BANDS      50 /* fixed bands, up to 24000 Hz */
#define AUDIO_EQ_PARAMS     51 /* band gains, then the overall gain */
#define AUDIO_EQ_GAIN_MIN   (-50)
#define AUDIO_EQ_GAIN_MAX   20
#define AUDIO_EQ_COEF_SHIFT 19
#define AUDIO_EQ_MAX_HALF   160

/* Upper edge in Hz of band j; band 0 starts at 0 Hz. */
extern const int32_t audio_eq_band_edge[AUDIO_EQ_BANDS];

/* What a sample rate uses: 16000 Hz -> 30 bands (to 8000 Hz), frame 160, H 80, design length
 * 512; 48000 Hz -> 50 bands, frame 480, H 160, design length 1024. */
typedef struct audio_eq_setup {
    int32_t rate;
    int32_t bands;
    int32_t frame;
    int32_t half; /* H: the filter has 2H entries */
    int32_t design_len;
} audio_eq_setup;

/* 0, or -1 for a rate other than 16000 and 48000. */
int audio_eq_setup_for_rate(int32_t rate, audio_eq_setup *setup);

/* 0 when every band in use stays within AUDIO_EQ_GAIN_MIN..MAX after adding the overall gain
 * (gains[50]); -1 otherwise. Bands from `bands` on are ignored. */
int audio_eq_check_gains(const int8_t gains[AUDIO_EQ_PARAMS], int32_t bands);

/* Designs the 2H coefficients (Q19) for the gains; 0, or -1 when the gains are out of range. */
int audio_eq_design(const audio_eq_setup *setup, const int8_t gains[AUDIO_EQ_PARAMS], int32_t *coef);

/* The same design shaped by the caller's rising half window (H values in Q14, the last 16384)
 * instead of the Hann half; window_q14 NULL gives audio_eq_design. */
int audio_eq_design_windowed(const audio_eq_setup *setup, const int8_t gains[AUDIO_EQ_PARAMS],
                             const int16_t *window_q14, int32_t *coef);

/* Filters n samples: out[i] = round(sum_k coef[k] * x[i - k]) >> 19, saturated to 32 bits, where
 * x before in[0] comes from hist (the last taps - 1 inputs, oldest first). hist is then updated.
 * in and out may be the same buffer. n must be at least taps - 1. */
void audio_eq_filter(const int32_t *coef, int32_t taps, int32_t *hist, const int32_t *in, int32_t *out,
                     int32_t n);

/* The same for a designed filter (symmetric about entry half - 1, 2 * half - 1 taps): each pair of
 * equal coefficients takes one multiplication. Bit for bit the result of audio_eq_filter with
 * taps = 2 * half - 1. */
void audio_eq_filter_symmetric(const int32_t *coef, int32_t half, int32_t *hist, const int32_t *in,
                               int32_t *out, int32_t n);

/* ---- the fixed-point routines the design uses ---- */

/* Sine and cosine of the angle `phase` (a full turn is 2^32), both in Q30. */
void audio_eq_sincos(uint32_t phase, int32_t *sin_q30, int32_t *cos_q30);
/* 2^(frac / 2^24) for frac in 0..2^24 - 1, in Q30 (1.0 .. 2.0). */
int32_t audio_pow2_frac_q30(uint32_t frac_q24);
/* 10^(db / 20) in Q12, for db in -90..40 (values outside are clamped to that range). */
int32_t audio_eq_exp10_q12(int32_t db);
/* Rising Hann window value k of H (k = H - 1 gives 16384), Q14. */
int32_t audio_eq_window_q14(int32_t k, int32_t half);

#ifdef __cplusplus
}
#endif

#endif /* AUDIO_EQ_H */
