/* States and entry points of the talk core's modules. Each module's method is described at the
 * top of its source file. Codes are the module's own; the core adds the module's base. */
#ifndef VQE_MODULES_H
#define VQE_MODULES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VQE_BINS 257
#define VQE_HOP  256

struct vqe_frame_io;

/* ---- echo canceller (vqe_aec.c) ---- */
#define VQE_AEC_MAX_DELAY 4800 /* 300 ms of reference delay */
typedef struct vqe_aec {
    uint32_t guard0;
    int32_t parts, delay;
    int32_t mode, no_nlms, no_postfilter, no_dtd, freeze, cn_on;
    float os[4];
    int32_t region_bin[4];
    float kalman_a, nlms_mu, dtd_threshold, leak_rate, late_weight, cn_level;
    int32_t dtd_hi_bin;
    float kernel[5];
    int32_t head;     /* ring slot of the newest reference spectrum */
    int32_t line_pos; /* write position of the delay line */
    float dt;         /* double-talk measure, 0..1 */
    float far_floor;  /* far-end band energy floor */
    float *x_ring;    /* parts x 514: reference spectra, newest at head */
    float *w_kalman;  /* parts x 514 */
    float *p_kalman;  /* parts x 257 */
    float *w_nlms;    /* parts x 514 */
    float phi_s[VQE_BINS];
    float ek_s, en_s, mic_s; /* smoothed frame energies of both errors and the microphone */
    int32_t far_active;
    uint32_t frames;
    float err_pow[VQE_BINS], echo_pow[VQE_BINS];
    float leak[VQE_BINS], resid[VQE_BINS], gain[VQE_BINS];
    float noise[VQE_BINS];
    float ref_hist[VQE_HOP];  /* previous reference block (overlap-save) */
    float echo_hist[VQE_HOP]; /* previous echo estimate block (analysis window) */
    float line[VQE_AEC_MAX_DELAY + VQE_HOP];
    uint32_t guard1;
} vqe_aec;

size_t vqe_aec_size(int parts);
int audio_vqe_aec_check_one(const uint8_t *blk);
int audio_vqe_aec_check_two(const uint8_t *blk);
int audio_vqe_aec_check_three(const uint8_t *blk);
int audio_vqe_aec_init(vqe_aec *st, int parts);
int audio_vqe_aec_set_params(vqe_aec *st, const uint8_t *blk, int aec_mode);
/* Linear echo cancellation of one block: `mic` (256 samples) becomes the error, `echo` the echo
 * estimate, `echo_prev` the previous echo block; `work` holds 4 x 514 floats. */
void audio_vqe_aec_pre_process(vqe_aec *st, const struct vqe_fft *fft, float *mic, const int16_t *ref,
                               float *echo, float *echo_prev, float *work);
int audio_vqe_aec_apply(vqe_aec *st, struct vqe_frame_io *io);

/* ---- post-processing (vqe_fmp.c) ---- */
typedef struct vqe_fmp {
    uint32_t guard0;
    uint8_t cn_on, floor_step, smooth, pad;
    uint32_t seed;
    float floor;
    uint32_t guard1;
} vqe_fmp;
int audio_vqe_fmp_init(vqe_fmp *st);
int audio_vqe_fmp_set_params(vqe_fmp *st, const uint8_t *blk);
int audio_vqe_fmp_apply(vqe_fmp *st, struct vqe_frame_io *io);

/* ---- noise reduction (vqe_nr.c) ---- */
#define VQE_NR_MAX_SUB 8
typedef struct vqe_nr {
    uint32_t guard0;
    float floor, alpha_d, alpha_s, alpha_p, alpha_dd, delta, overest, xi_min;
    int32_t sub_len, sub_count, sub_pos, sub_fill, sub_next, frames, global;
    float noise[VQE_BINS];  /* noise power */
    float smooth[VQE_BINS]; /* smoothed periodogram */
    float smin[VQE_BINS], stmp[VQE_BINS];
    float sub_min[VQE_NR_MAX_SUB][VQE_BINS];
    float presence[VQE_BINS];
    float spp_avg[VQE_BINS];
    float noise_mmse[VQE_BINS];
    float prev_clean[VQE_BINS]; /* |clean estimate|^2 of the previous frame */
    float zeta[VQE_BINS];
    float zeta_frame_peak;
    float gain[VQE_BINS];
    uint32_t guard1;
} vqe_nr;
int audio_vqe_dmnr_init(vqe_nr *st);
int audio_vqe_dmnr_set_params(vqe_nr *st, const uint8_t *blk);
/* Computes the gains; applies them unless a later stage (io->gain_nr set) will. */
int audio_vqe_dmnr_apply(vqe_nr *st, struct vqe_frame_io *io);

/* ---- multichannel Wiener filter (vqe_pmwf.c) ---- */
typedef struct vqe_pmwf {
    uint32_t guard0;
    float mu, overest, floor, alpha_y, alpha_p, alpha_n, presence_cap;
    int32_t ref_mic, frames;
    float ryy[VQE_BINS][4]; /* r11, r22, Re r12, Im r12 */
    float rnn[VQE_BINS][4];
    float p_avg[VQE_BINS];
    uint32_t guard1;
} vqe_pmwf;
int zorvo_pmwf_check_params(const uint8_t *blk);
int audio_voice_pmwfwfnr_init(vqe_pmwf *st);
int audio_voice_pmwfwfnr_set_params(vqe_pmwf *st, const uint8_t *blk);
int audio_voice_pmwfwfnr_apply(vqe_pmwf *st, struct vqe_frame_io *io);

/* ---- automatic gain control (vqe_agc.c) ---- */
typedef struct vqe_agc_chan {
    float level_db; /* speech level */
    float floor_db; /* noise floor */
    float gain_db;  /* applied gain */
    float gain_lin; /* at the end of the last frame */
    float pause_db; /* gain taken off in a pause */
    int32_t hold;   /* frames since speech */
    int32_t frames; /* speech frames */
    int32_t calls;
} vqe_agc_chan;
typedef struct vqe_agc {
    uint32_t guard0;
    int32_t channels;
    int16_t target, max_gain, gate, fall, rise, min_gain;
    int32_t alpha_q16, hold_ms, act_thr, floor_rise;
    int16_t floor_smooth, peak_protect, gated;
    int32_t far_only; /* set by the chain: the far end talks alone, hold the level */
    uint32_t guard1;
    vqe_agc_chan chan[];
} vqe_agc;
int audio_vqe_agc_check_params(const uint8_t *blk);
int audio_vqe_agc_init(vqe_agc *st, int channels);
int audio_vqe_agc_set_params(vqe_agc *st, const uint8_t *blk);
/* Float frame to 32-bit chain samples. */
int audio_vqe_voice_agc_apply(vqe_agc *st, const float *in, int32_t *out);

/* ---- compressor (vqe_drc.c) ---- */
#define VQE_DRC_BLOCK 56
typedef struct vqe_drc {
    uint32_t guard0;
    uint32_t frames;
    uint8_t block[VQE_DRC_BLOCK];
    int32_t frame;
    int32_t env;      /* envelope */
    int32_t gain_db;  /* smoothed gain, 1/16 dB */
    int32_t end_gain; /* Q15 at the end of the last frame */
    int32_t started;
    uint32_t guard1;
} vqe_drc;
int audio_vqe_drc_init(vqe_drc *st, int channels, int enabled);
int audio_vqe_drc_set_params(vqe_drc *st, const uint8_t *blk, int enabled);
int audio_vqe_voice_drc_get_params(const vqe_drc *st, uint8_t *blk);
int audio_vqe_drc_apply(vqe_drc *st, const int32_t *in, int32_t *out);
int audio_vqe_drc_get_version(const char **text);
/* Helpers of the gain computer, also used by the tests. */
int32_t audio_vqe_drc_level(int32_t peak);                  /* 1/16 dB re full scale */
int32_t audio_vqe_drc_gain_apply_db_to_multi(int32_t db16); /* Q15 */
int32_t audio_vqe_voice_drc_gain_apply_db_gain_transform(const vqe_drc *st, int32_t level);

/* ---- limiter (vqe_limiter.c) ---- */
typedef struct vqe_limiter {
    uint32_t guard0;
    int8_t limit_db, envelope_mode;
    int16_t pad;
    int32_t rate, frame;
    float attack, release, envelope, gain, target, ceiling;
    uint32_t guard1;
} vqe_limiter;
int audio_vqe_limiter_init(vqe_limiter *st, int channels, int enabled);
int audio_vqe_limiter_set_params(vqe_limiter *st, const int8_t *blk, int enabled);
int audio_vqe_limiter_get_params(const vqe_limiter *st, int8_t *blk);
int audio_vqe_limiter_check_mem(const vqe_limiter *st);
int audio_vqe_limiter_apply(vqe_limiter *st, const int32_t *in, int32_t *out);
float audio_vqe_limiter_gain_calc(const vqe_limiter *st, float level);
int32_t audio_vqe_limite_max_abs32_vec(const int32_t *x, int n);

/* ---- equaliser (vqe_eq.c) ---- */
#define VQE_EQ_BANDS 30
#define VQE_EQ_HALF  80
typedef struct vqe_eq {
    uint32_t guard0;
    int8_t gains[31];
    uint8_t pad;
    int32_t coef[2 * VQE_EQ_HALF];
    uint32_t guard1;
    int32_t hist[2 * VQE_EQ_HALF + VQE_HOP];
    uint32_t guard2;
} vqe_eq;
int audio_vqe_eq_fir_init(vqe_eq *st, int channels, int enabled);
int audio_vqe_eq_fir_set_params(vqe_eq *st, const int8_t *gains);
int audio_vqe_eq_fir_get_params(const vqe_eq *st, int8_t *gains);
int audio_vqe_eq_fir_apply(vqe_eq *st, const int32_t *in, int32_t *out);

#ifdef __cplusplus
}
#endif

#endif
