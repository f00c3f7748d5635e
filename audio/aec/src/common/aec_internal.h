/*
 * Internal layout of the echo canceller core: the instance state that lives in the caller's
 * 62064-byte block, and the stages of block processing. The state holds no pointers, so its
 * layout and contents are the same on 32-bit and 64-bit builds.
 */
#ifndef AEC_INTERNAL_H
#define AEC_INTERNAL_H

#include <stdint.h>

#include "zorvo_aec.h"

#define AEC_INIT_MARKER 0x5A5Au
#define AEC_ALG_MARKER  0xA5A5u
#define AEC_GUARD       0x5A5A5A5Au

#define AEC_PARTS            6   /* filter partitions */
#define AEC_HIST             12  /* reference spectra kept: delay_offset (<= 6) + 6 partitions */
#define AEC_BMAX             128 /* block length, wide band */
#define AEC_NMAX             256 /* transform length */
#define AEC_KMAX             129 /* bins */
#define AEC_LEVELS           23  /* reference levels kept */
#define AEC_BANDS            7   /* echo return loss bands */
#define AEC_W_SHIFT          24  /* weights are Q24 */
#define AEC_MU_Q15           16384
#define AEC_DELAY_EST_PERIOD 16
#define AEC_FAR_LEVEL        5000 /* block level of a reference at about -62 dBFS */

typedef zorvo_cpx32 aec_c32;
typedef struct aec_c64 {
    int64_t re;
    int64_t im;
} aec_c64;

/* Decoded parameter record. */
typedef struct aec_cfg {
    uint8_t comfort_noise_on;
    uint8_t delay_offset;
    uint8_t switch_b;
    uint8_t switch_c;
    uint8_t wideband;
    int16_t nlp_threshold;
    int16_t band_a_lo, band_a_hi;
    int16_t band_b_lo, band_b_hi;
    int16_t erl_band[6];
    int16_t band_c_lo, band_c_hi;
    int16_t erl[AEC_BANDS];
} aec_cfg;

typedef struct aec_vad {
    int32_t noise;  /* N */
    int32_t speech; /* V */
    int32_t run;    /* blocks of speech in a row */
    int32_t pause;  /* blocks without speech in a row */
    int32_t flag;
} aec_vad;

typedef struct aec_state {
    uint32_t init_marker;
    uint32_t alg_marker;
    uint8_t image[ZORVO_AEC_PARAMS_SIZE];
    aec_cfg cfg;
    int32_t blk;   /* B */
    int32_t nfft;  /* 2B */
    int32_t bins;  /* B + 1 */
    int32_t shift; /* samples enter the transforms scaled by 2^shift */
    int32_t phase;
    int32_t block_count;
    zorvo_fft_c_sc32 fft;
    uint32_t guard0;

    /* re-blocking */
    int16_t mic_held[AEC_BMAX];
    int16_t ref_held[AEC_BMAX];
    int16_t out_held[AEC_BMAX + AEC_BMAX / 4];
    /* previous and current block of reference, microphone and error */
    int16_t x_time[2 * AEC_BMAX];
    int16_t d_time[2 * AEC_BMAX];
    int16_t e_time[2 * AEC_BMAX];

    /* levels and voice activity */
    int32_t ref_levels[AEC_LEVELS];
    int32_t ref_level_pos;
    int32_t mic_level;
    aec_vad vad_mic;
    aec_vad vad_ref;
    int32_t far_active;

    /* adaptive filter */
    int32_t hist_pos; /* slot of the newest reference spectrum */
    aec_c32 xh[AEC_HIST][AEC_KMAX];
    aec_c32 wf[AEC_PARTS][AEC_KMAX]; /* foreground, Q24 */
    aec_c32 wb[AEC_PARTS][AEC_KMAX]; /* background, Q24 */
    int64_t pf, pb;                  /* smoothed error energies */
    int32_t better, worse;
    int32_t delay_est;
    uint32_t guard1;

    /* non-linear processor (power and cross spectra are |.|^2 / 2^16) */
    int64_t sd[AEC_KMAX], se[AEC_KMAX], sx[AEC_KMAX];
    aec_c64 sde[AEC_KMAX], sxd[AEC_KMAX];
    int64_t noise[AEC_KMAX];
    int32_t od_sm[AEC_BANDS]; /* Q12 */
    int32_t fb_min;           /* Q15 */
    int32_t near_state;
    int32_t diverge;
    uint32_t rng;
    int32_t ola[AEC_BMAX];
    uint32_t guard2;

    /* scratch of one block (not carried over) */
    int32_t t0[AEC_NMAX];
    int32_t t1[AEC_NMAX];
    aec_c32 c0[AEC_KMAX];
    aec_c32 c1[AEC_KMAX];
    aec_c32 c2[AEC_KMAX];
    aec_c32 work[AEC_NMAX / 2];
    int64_t p4[AEC_KMAX];
    aec_c64 en[AEC_KMAX];
    int32_t g[AEC_KMAX];
    int32_t cde[AEC_KMAX];
    int32_t sortbuf[AEC_KMAX];
} aec_state;

#ifdef __cplusplus
static_assert(sizeof(aec_state) <= ZORVO_AEC_STATE_SIZE, "state fits the instance block");
#else
_Static_assert(sizeof(aec_state) <= ZORVO_AEC_STATE_SIZE, "state fits the instance block");
#endif

/* tables (aec_tables.c) */
extern const int32_t g_zorvo_fft_twiddle_table[256];
extern const int16_t g_zorvo_aec_gas_aec_window_65[65];
extern const int16_t g_zorvo_aec_gas_aec_window_129[129];
extern const int16_t g_zorvo_aec_gas_aec_weight_curve_65[65];
extern const int16_t g_zorvo_aec_gas_aec_weight_curve_129[129];
extern const int16_t g_zorvo_aec_gas_aec_over_drive_curve_65[65];
extern const int16_t g_zorvo_aec_gas_aec_over_drive_curve_129[129];
extern const int16_t g_zorvo_aec_gas_aec_cn_cos_650[650];
extern const int16_t g_zorvo_aec_gas_aec_cn_sin_650[650];
extern const int32_t g_zorvo_aec_gai_aec_log2_tab[32];
extern const int32_t g_zorvo_aec_gas_aecpow2tab[101];

/* helpers (aec_math.c) */
static inline int32_t aec_sat32(int64_t v) {
    return (int32_t)(v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : v));
}
/* min(32768, 32768 * num / den); 0 when den is 0. */
int32_t aec_ratio_q15(uint64_t num, uint64_t den);
/* Coherence |c|^2 / (a * b) in Q15. */
int32_t aec_coherence(int64_t a, int64_t b, int64_t c_re, int64_t c_im);

/* stages */
int32_t zorvo_aec_get_framed_b(const int16_t *x, int n);
void zorvo_aec_vad(aec_vad *vad, int32_t level, int32_t block_count);
void zorvo_aec_mdf(aec_state *st, const int16_t *mic, const int16_t *ref);
void zorvo_aec_nlp(aec_state *st, int16_t *out);
void aec_nlp_reset(aec_state *st);

#endif /* AEC_INTERNAL_H */
