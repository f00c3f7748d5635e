/*
 * Wind-noise reduction of the talk chain: a small recurrent network (vqe_wnr_net.h) estimates
 * per band how much of the spectrum is wind; its band gains, spread over the bins with the
 * shared band matrix, scale the spectrum.
 *
 * Inputs of the network per 16 ms frame: the 20 band log energies of the chain's spectrum
 * ((log10(E + 1) - 8) / 4) and, with two microphones, the 20 band magnitude-squared coherences
 * of the raw microphone spectra (cross- and auto-spectra smoothed over frames with 0.6, summed
 * over each band's weights); wind is turbulence close to each microphone and so incoherent
 * between them, speech and car noise arrive at both alike. With one microphone the coherences
 * are given as 1 (the network was trained with such sequences too).
 *
 * Noise estimation: with two microphones the wind power in each bin is the incoherent part of
 * the auto-spectra, (S11 + S22) / 2 - |S12|, halved for the averaged signal the chain carries;
 * with one microphone it is what the gain removes, (1 - g^2) |X|^2. With two microphones the
 * network's gain is multiplied by the Wiener gain of that estimate, |S12| / (|S12| + wind), held
 * above the attenuation limit: the network knows what wind sounds like, the coherence where it is
 * in this frame. Smoothed over frames, it
 * sets the comfort noise: where the gain takes the wind below the attenuation limit, noise of
 * random phase fills the bin up to the limit, so gusts fade to a steady low rustle instead of
 * leaving holes that pump with the gain.
 *
 * Block (8 bytes at the record's wind-noise offset): byte 0 the attenuation limit in dB
 * (0: 20 dB; above 60 taken as 60); byte 1 set to 1 turns the comfort noise off. Other bytes
 * are kept and not used. The block is read at init (the shell's user record has no field for it).
 */
#ifndef VQE_WNR_H
#define VQE_WNR_H

#include <stdint.h>

#include "vqe_fft.h"
#include "vqe_hs.h"
#include "vqe_modules.h"
#include "vqe_wnr_net.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct vqe_wnr {
    uint32_t guard0;
    int32_t two_mics;
    float floor; /* attenuation limit as an amplitude factor */
    int32_t cn_on;
    uint32_t seed;
    vqe_wnr_net net;
    vqe_banding bands;
    float window[512];
    float hist1[VQE_HOP], hist2[VQE_HOP];
    float s11[VQE_BINS], s22[VQE_BINS], s12_re[VQE_BINS], s12_im[VQE_BINS];
    float wind[VQE_BINS]; /* smoothed wind power of the chain's signal */
    float gain[VQE_BINS]; /* the last frame's gains */
    float band_gain[WNR_OUT];
    uint32_t guard1;
} vqe_wnr;

struct vqe_frame_io;

/* 0, or -1 for a NULL argument. */
int audio_ai_wnr_init(vqe_wnr *st, int mic_num, const uint8_t *blk);
/* One frame on io->bins; mic2 NULL with one microphone. 0, -1 (NULL), -2 (guards). */
int audio_ai_wnr_apply(vqe_wnr *st, struct vqe_frame_io *io, const int16_t *mic1, const int16_t *mic2);

#ifdef __cplusplus
}
#endif

#endif
