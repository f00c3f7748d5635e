/*
 * Howling suppression of the talk chain, and the 20-band analysis it shares with the other
 * spectral modules.
 *
 * Two defences against acoustic feedback, both on the 257-bin spectrum of each 16 ms frame:
 * - Detection: bin powers are smoothed over time; a band whose geometric-mean power falls below
 *   a fraction (`hs_ratio_pct`) of its arithmetic mean holds a sustained tone. A per-band counter
 *   rises in peaky frames and falls otherwise (0..K, K frames = `hs_detect_ms`). At K the band's
 *   gain falls by the attack factor every frame, at 0 it recovers towards 1 with the release
 *   factor, in between it holds; it never drops below `hs_min_gain_pct`. The band gains are
 *   spread over the bins through the raised-cosine band matrix.
 * - Frequency shift: every bin is turned by a common phase that advances by 2 pi f / 62.5 a
 *   frame; with 50 % overlap-add at 62.5 frames a second this moves the spectrum up by f hertz,
 *   so a ringing frequency leaves the room's response peak after a few trips round the loop.
 *
 * Parameter block (7 x i32, little-endian): detection ms, attack ms, release s, minimum gain %,
 * flatness threshold %, power smoothing ms, shift Hz. Values outside their ranges are clamped
 * (times 0..1000 s, release 0..200 s, percentages 0..100, shift 0..40 Hz); a time of 0 makes its
 * factor 0 (no memory).
 */
#ifndef VQE_HS_H
#define VQE_HS_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VQE_BANDS        20
#define VQE_BAND_WEIGHTS 471 /* room for the weights of all bands (the layout uses 470) */

/* The shared band layout: overlapping bands over bins 0..255 whose weights add up to 1 in
 * every bin (bin 256 belongs to no band). */
typedef struct vqe_banding {
    int16_t start[VQE_BANDS], end[VQE_BANDS]; /* inclusive bin range */
    int16_t offset[VQE_BANDS];                /* first weight of each band in `matrix` */
    float matrix[VQE_BAND_WEIGHTS];           /* band_matrix: one weight per bin of each band */
} vqe_banding;

void audio_vqe_banding_init(vqe_banding *b);
/* Band energies: weighted sums of the 257 bin powers. */
void audio_vqe_banding_forward(const vqe_banding *b, const float *bin_power, float *band);
/* 20 band values spread over 257 bins (bin 256 gets 0). */
void audio_vqe_banding_inverse(const vqe_banding *b, const float *band, float *bins);

/* The parameter block after clamping and conversion. */
typedef struct vqe_hs_params {
    int32_t detect_ms, attack_ms, release_s, min_gain_pct, ratio_pct, smooth_ms, shift_hz;
    int32_t detect_frames;         /* K */
    float attack, release, smooth; /* per-frame factors a, r, s */
    float min_gain, ratio;
    float phase_step; /* phi, in (-2 pi, 2 pi) */
} vqe_hs_params;

typedef struct vqe_hs {
    uint32_t guard0;
    vqe_hs_params prm;
    float phase; /* accumulated shift phase theta */
    int32_t count[VQE_BANDS];
    float gain[VQE_BANDS];
    float power[257];
    vqe_banding bands;
    uint32_t guard1;
} vqe_hs;

/* Bytes of state (what the memory formula reserves). */
size_t audio_vqe_hs_get_size(void);
/* Clamps and converts the 7 values of `blk` (the parameter record's block). */
void audio_vqe_hs_clamp_params(const uint8_t *blk, vqe_hs_params *out);
/* 0, or -1 for a NULL argument. */
int audio_vqe_hs_init(vqe_hs *st, const uint8_t *blk);
/* Updates the detection from the spectrum (257 interleaved bins) and writes 257 gains. 0, -1
 * (NULL), -2 (guards). */
int audio_vqe_hs_calc_gains(vqe_hs *st, const float *bins, float *gains);
/* Multiplies the 257 interleaved bins by the gains. */
void audio_vqe_hs_apply_gains(const float *gains, float *bins);
/* Turns the 257 bins by the accumulated phase, then advances it. 0, -1, -2 as above. */
int audio_vqe_hs_shift_freq(vqe_hs *st, float *bins);

#ifdef __cplusplus
}
#endif

#endif
