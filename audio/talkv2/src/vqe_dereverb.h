/*
 * Dereverberation of the talk chain: suppression of late reverberation by its statistical
 * spectral variance (after Lebart, Boucher and Denbigh, 2001, and Habets' generalisation).
 *
 * Model: the room's impulse response is noise under an exponential decay, so the reverberant
 * power that arrives later than T_l after the direct sound is the smoothed power of the signal
 * T_l earlier, attenuated by the decay over T_l:
 *     lambda_late(k, t) = exp(-2 delta T_l) lambda_x(k, t - T_l),  delta = 3 ln 10 / T60.
 * T_l is 3 frames (48 ms), so early reflections, which help intelligibility, are kept.
 * lambda_x is the recursively smoothed periodogram of the chain's spectrum.
 *
 * Gain: a Wiener gain on the a-priori signal-to-late-reverberation ratio from the decision-
 * directed estimate (weight 0.9 on the last frame's clean estimate), held above -12 dB so that
 * the remaining tail stays natural and speech onsets are not clipped.
 *
 * Decay time: estimated blindly from free decays (in the manner of Loellmann and Vary's
 * maximum-likelihood approach, simplified): in each of the 20 shared bands, a run of 8 frames of
 * steadily falling energy that drops by more than 6 dB gives a decay rate; the estimate follows
 * the slowest rates found (a steep fall is a speech offset, the room's decay is the slowest one),
 * rising quickly towards slower decays and falling slowly, within 0.15..1.5 s, starting at
 * 0.5 s.
 *
 * The chain has no parameter block for this module. Of the instances the memory holds (two, or
 * four with post-processing) the chain runs the first on its single spectrum.
 */
#ifndef VQE_DEREVERB_H
#define VQE_DEREVERB_H

#include <stdint.h>

#include "vqe_fft.h"
#include "vqe_hs.h"
#include "vqe_modules.h"

#ifdef __cplusplus
extern "C" {
#endif

#define VQE_DR_LATE  3 /* frames of T_l */
#define VQE_DR_TRACK 8 /* frames of a decay run */

typedef struct vqe_dereverb {
    uint32_t guard0;
    float t60;       /* current decay time estimate, s */
    float late_gain; /* exp(-2 delta T_l) for t60 */
    int32_t head;    /* ring slot of the newest smoothed power */
    uint32_t frames;
    float ring[VQE_DR_LATE + 1][VQE_BINS];  /* smoothed powers of the last frames */
    float prev_clean[VQE_BINS];             /* |G X|^2 of the last frame */
    float band_db[VQE_BANDS][VQE_DR_TRACK]; /* band energy history for the decay runs */
    vqe_banding bands;
    uint32_t guard1;
} vqe_dereverb;

int audio_vqe_dereverb_init(vqe_dereverb *st);
/* One frame on the 257 interleaved bins; `work` holds 257 + 20 floats. 0, -1 (NULL), -2. */
int audio_vqe_dereverb_apply(vqe_dereverb *st, float *bins, float *work);

#ifdef __cplusplus
}
#endif

#endif
