/* Internal pieces of the talk core: byte access to the records, the module states and the
 * per-frame hand-over between the spectral stages. */
#ifndef VQE_INTERNAL_H
#define VQE_INTERNAL_H

#include <stddef.h>
#include <stdint.h>

#include "audio_vqe.h"
#include "vqe_fft.h"
#include "vqe_modules.h"

#ifdef __cplusplus
extern "C" {
#endif

#define VQE_MARKER 0x49825349u
#define VQE_GUARD  0x5A5A5A5Au

#define VQE_FAR_HANGOVER 20 /* hops (320 ms) */

/* ---- little-endian fields of the fixed-layout records ---- */
static inline uint16_t vqe_u16(const uint8_t *p, int off) {
    return (uint16_t)(p[off] | (p[off + 1] << 8));
}
static inline int16_t vqe_i16(const uint8_t *p, int off) {
    return (int16_t)vqe_u16(p, off);
}
static inline int32_t vqe_i32(const uint8_t *p, int off) {
    return (int32_t)((uint32_t)p[off] | ((uint32_t)p[off + 1] << 8) | ((uint32_t)p[off + 2] << 16) |
                     ((uint32_t)p[off + 3] << 24));
}
static inline void vqe_put16(uint8_t *p, int off, int v) {
    p[off] = (uint8_t)((unsigned)v & 0xFFu);
    p[off + 1] = (uint8_t)(((unsigned)v >> 8) & 0xFFu);
}
static inline void vqe_put32(uint8_t *p, int off, int32_t v) {
    for (int i = 0; i < 4; i++) {
        p[off + i] = (uint8_t)(((uint32_t)v >> (8 * i)) & 0xFFu);
    }
}

/* ---- memory of each module (bytes a switch adds to the instance) ---- */
#define VQE_MEM_CORE        16432
#define VQE_MEM_AEC_FIXED   (187008 + 74016)
#define VQE_MEM_AEC_PART    20560
#define VQE_MEM_DEREVERB    90976
#define VQE_MEM_FMP         520
#define VQE_MEM_NR          67408
#define VQE_MEM_PMWF        42984
#define VQE_MEM_WNR         51512
#define VQE_MEM_EQ          7760
#define VQE_MEM_DRC         96
#define VQE_MEM_LIMITER     56
#define VQE_MEM_HS          5348
#define VQE_MEM_AGC_CHANNEL 464
#define VQE_MEM_AGC_FIXED   24

/* What the spectral stages of one frame hand each other (all in the scratch area). */
typedef struct vqe_frame_io {
    float *bins;        /* microphone 1 spectrum, 257 interleaved bins, processed in place */
    float *spec2;       /* microphone 2 spectrum (NULL with one microphone) */
    float *ref;         /* far-end spectrum (NULL without the echo canceller) */
    float *spec_in;     /* the microphone spectrum before any stage */
    float *gain_aec;    /* 257 echo suppression gains (NULL: none) */
    float *gain_nr;     /* 257 noise suppression gains (NULL: none) */
    float *gain_hs;     /* 257 howling suppression gains, applied last (NULL: none) */
    const float *noise; /* 257 noise powers of the signal the gains act on (NULL: unknown) */
    float nr_floor;     /* lowest noise-reduction gain */
    float cn_scale;     /* comfort noise level relative to the noise (0: none) */
    const vqe_fft *fft; /* the chain's 512-point transform */
    float *work;        /* further room for a stage's temporaries */
    size_t work_floats;
} vqe_frame_io;

typedef struct vqe_core {
    uint32_t marker;
    uint32_t guard0;
    uint8_t params[384];
    uint8_t syscfg[AUDIO_VQE_SYSCFG_SIZE];
    uint32_t guard1;
    int32_t frame, nfft;
    int32_t mem_size;
    uint32_t frames;
    uint8_t built[11]; /* switches 29..39 as laid out at init */
    uint8_t built_chn, built_tail, pad;
    int32_t far_hang; /* hops left in which the far end still counts as talking */
    vqe_aec *aec;
    void *wnr;
    void *dereverb[4];
    vqe_fmp *fmp;
    vqe_nr *nr;
    vqe_pmwf *pmwf;
    vqe_agc *agc;
    vqe_eq *eq;
    vqe_drc *drc;
    vqe_limiter *lim;
    void *hs;
    vqe_fft fft512, fft256;
    float window[AUDIO_VQE_FFT];
    float hist1[AUDIO_VQE_FRAME], hist_err[AUDIO_VQE_FRAME];
    float ola[AUDIO_VQE_FRAME];
    int32_t chain[AUDIO_VQE_FRAME];
    int32_t chain2[AUDIO_VQE_FRAME];
    uint32_t guard2;
    uint32_t guard3;
} vqe_core;

/* The core handle of a shell instance (for the tests). */
void *vqe_talkv2_core(void *handle);

/* ---- parameter checks and defaults (vqe_params.c) ---- */
int vqe_check_syscfg(const uint8_t *cfg, int aec_on);
int vqe_check_header(const uint8_t *p);
int audio_vqe_set_alg_status(const uint8_t *p);
int32_t vqe_memory_size(const uint8_t *p);

#ifdef __cplusplus
}
#endif

#endif
