/*
 * Non-linear processor of the echo canceller: coherence-driven suppression of the echo the
 * linear filter leaves, comfort noise, and the windowed overlap-add that forms the output.
 */
#include "aec_internal.h"
#include "audio_common.h"

#define SMOOTH_Q15          29490 /* 0.9 */
#define NEAR_XD_ENTER       16384 /* 0.5: the reference explains at most half of the microphone */
#define NEAR_XD_LEAVE       13107 /* 0.4 */
#define NEAR_DE_MARGIN      1638  /* 0.05 below nlp_threshold leaves the near-end state */
#define FB_MIN_ENTER        19661 /* 0.6: band gains below this set a new suppression minimum */
#define OD_MAX_Q12          (16 << 12)
#define LOG2_10_OVER_20_Q16 10886 /* log2(10) / 20: dB to log2 of an amplitude */

static const int32_t g_min_over_drive_q12[3] = {1 << 12, 2 << 12, 5 << 12};

void aec_nlp_reset(aec_state *st) {
    for (int b = 0; b < AEC_BANDS; b++) {
        st->od_sm[b] = g_min_over_drive_q12[st->cfg.switch_b < 3 ? st->cfg.switch_b : 1];
    }
    st->fb_min = 32768;
    st->near_state = 0;
    st->diverge = 0;
}

static void clamp_band(const aec_state *st, int lo, int hi, int *out_lo, int *out_hi) {
    int top = st->bins - 1;
    lo = lo > top ? top : lo;
    hi = hi > top ? top : hi;
    *out_lo = lo;
    *out_hi = hi < lo ? lo : hi;
}

static int32_t band_mean(const int32_t *v, int lo, int hi) {
    int64_t s = 0;
    for (int k = lo; k <= hi; k++) {
        s += v[k];
    }
    return (int32_t)(s / (hi - lo + 1));
}

static int erl_band_of(const aec_cfg *c, int k) {
    int b = 0;
    while (b < 6 && k >= c->erl_band[b]) {
        b++;
    }
    return b;
}

static inline int64_t smooth(int64_t s, int64_t v) {
    return (s * SMOOTH_Q15 + v * (32768 - SMOOTH_Q15)) >> 15;
}

/* Power, cross spectra and the two coherences. */
static void zorvo_aec_hnled_calc(aec_state *st, const aec_c32 *d, const aec_c32 *e, const aec_c32 *x) {
    for (int k = 0; k < st->bins; k++) {
        int64_t dr = d[k].re, di = d[k].im, er = e[k].re, ei = e[k].im, xr = x[k].re, xi = x[k].im;
        st->sd[k] = smooth(st->sd[k], ((dr * dr) >> 16) + ((di * di) >> 16));
        st->se[k] = smooth(st->se[k], ((er * er) >> 16) + ((ei * ei) >> 16));
        st->sx[k] = smooth(st->sx[k], ((xr * xr) >> 16) + ((xi * xi) >> 16));
        st->sde[k].re = smooth(st->sde[k].re, (dr * er + di * ei) >> 16);
        st->sde[k].im = smooth(st->sde[k].im, (di * er - dr * ei) >> 16);
        st->sxd[k].re = smooth(st->sxd[k].re, (xr * dr + xi * di) >> 16);
        st->sxd[k].im = smooth(st->sxd[k].im, (xi * dr - xr * di) >> 16);
        st->cde[k] = aec_coherence(st->sd[k], st->se[k], st->sde[k].re, st->sde[k].im);
        /* one minus the reference-microphone coherence, kept in g for now */
        st->g[k] = 32768 - aec_coherence(st->sx[k], st->sd[k], st->sxd[k].re, st->sxd[k].im);
    }
}

/* Error louder than microphone in band c: the filter diverges; process the microphone. */
static void zorvo_aec_diverge_ristrict(aec_state *st) {
    int lo, hi;
    clamp_band(st, st->cfg.band_c_lo, st->cfg.band_c_hi, &lo, &hi);
    int64_t sd = 0, se = 0;
    for (int k = lo; k <= hi; k++) {
        sd += st->sd[k];
        se += st->se[k];
    }
    if (!st->diverge) {
        st->diverge = se > sd;
    } else if (se + se / 20 < sd) {
        st->diverge = 0;
    }
}

/* Minimum tracking of the noise floor of the signal that is output. */
static void zorvo_aec_comfort_noise_estimate(aec_state *st, const aec_c32 *s) {
    for (int k = 0; k < st->bins; k++) {
        int64_t r = s[k].re, i = s[k].im;
        int64_t p = ((r * r) >> 16) + ((i * i) >> 16);
        int64_t n = st->noise[k];
        if (st->block_count <= 50) {
            n += (p - n) / 8;
        } else if (p < n) {
            n -= (n - p) / 8;
        } else {
            n += (n >> 10) + ((p - n) >> 12) + 1;
        }
        st->noise[k] = n;
    }
}

/* Gain set: near-end (microphone-error coherence) or echo (the smaller of both measures). */
static void zorvo_aec_hnl_ctrl(aec_state *st, int32_t avg_de, int32_t avg_xd) {
    int32_t thr = st->cfg.nlp_threshold;
    if (avg_de > thr && avg_xd > NEAR_XD_ENTER && st->vad_mic.flag) {
        st->near_state = 1;
    } else if (avg_de < thr - NEAR_DE_MARGIN || avg_xd < NEAR_XD_LEAVE) {
        st->near_state = 0;
    }
}

static void zorvo_aec_hnl_ctrl1(aec_state *st) {
    for (int k = 0; k < st->bins; k++) {
        int32_t xd = st->g[k];
        /* near end: the microphone-error coherence underrates the near-end share of the error
         * (the microphone still holds the echo), so its square root is taken */
        st->g[k] = st->near_state ? (int32_t)zorvo_aec_sqrt_fix((uint64_t)st->cde[k] << 15)
                                  : (st->cde[k] < xd ? st->cde[k] : xd);
    }
}

/* Over-drive per band from the lowest recent band gain and the echo return loss targets. */
static void zorvo_aec_hnlm_gain(aec_state *st, int32_t fb_low) {
    const aec_cfg *c = &st->cfg;
    if (!st->near_state && fb_low < FB_MIN_ENTER && fb_low < st->fb_min) {
        st->fb_min = fb_low;
    }
    int32_t l_min = 15 * 65536 - zorvo_aec_log2((uint64_t)(st->fb_min > 0 ? st->fb_min : 1));
    int32_t od_min = g_min_over_drive_q12[c->switch_b];
    for (int b = 0; b < AEC_BANDS; b++) {
        int32_t erl = c->erl[b] < 0 ? 0 : (c->erl[b] > 60 ? 60 : c->erl[b]);
        int64_t od = l_min > 0 ? (((int64_t)erl * LOG2_10_OVER_20_Q16) << 12) / l_min : OD_MAX_Q12;
        od = od < od_min ? od_min : (od > OD_MAX_Q12 ? OD_MAX_Q12 : od);
        int32_t diff = (int32_t)od - st->od_sm[b];
        /* fall slowly (0.01), rise quickly (0.1) */
        st->od_sm[b] += (int32_t)(((int64_t)diff * (diff < 0 ? 328 : 3277)) >> 15);
    }
    st->fb_min += (st->fb_min >> 10) + 1;
    st->fb_min = st->fb_min > 32768 ? 32768 : st->fb_min;
}

/* Pulls gains above the band gain toward it, then, unless the near end talks, applies the
 * over-drive power. */
static void zorvo_aec_hnled_sm(aec_state *st, int32_t fb) {
    const int16_t *wc =
        st->cfg.wideband ? g_zorvo_aec_gas_aec_weight_curve_129 : g_zorvo_aec_gas_aec_weight_curve_65;
    const int16_t *odc =
        st->cfg.wideband ? g_zorvo_aec_gas_aec_over_drive_curve_129 : g_zorvo_aec_gas_aec_over_drive_curve_65;
    for (int k = 0; k < st->bins; k++) {
        int32_t g = st->g[k];
        if (g > fb) {
            g = (int32_t)(((int64_t)wc[k] * fb + (int64_t)(32768 - wc[k]) * g) >> 15);
        }
        if (g <= 0) {
            st->g[k] = 0;
            continue;
        }
        if (g < 32768 && !st->near_state) {
            int32_t p = (int32_t)(((int64_t)st->od_sm[erl_band_of(&st->cfg, k)] * odc[k]) >> 12); /* Q12 */
            int64_t l = (int64_t)zorvo_aec_log2((uint64_t)g) - 15 * 65536;                        /* < 0 */
            int64_t lp = (l * p) >> 12;
            g = zorvo_aec_pow2(lp < -16 * 65536 ? -16 * 65536 : (int32_t)lp);
        }
        st->g[k] = g;
    }
}

/* Above band a the gain is held to the band's average. */
static void zorvo_aec_high_freq_proc(aec_state *st) {
    int lo, hi;
    clamp_band(st, st->cfg.band_a_lo, st->cfg.band_a_hi, &lo, &hi);
    int32_t avg = band_mean(st->g, lo, hi);
    for (int k = hi + 1; k < st->bins; k++) {
        st->g[k] = st->g[k] < avg ? st->g[k] : avg;
    }
}

/* Output spectrum: gain, and comfort noise in the proportion the gain removed. */
static void zorvo_aec_comfort_noise(aec_state *st, aec_c32 *s, int with_noise) {
    for (int k = 0; k < st->bins; k++) {
        int32_t g = st->g[k];
        int64_t re = ((int64_t)s[k].re * g) >> 15;
        int64_t im = ((int64_t)s[k].im * g) >> 15;
        if (with_noise && g < 32768) {
            /* amplitude sqrt(2 * noise): the overlap-add halves the power of independent frames */
            int64_t amp = zorvo_aec_sqrt_fix((uint64_t)st->noise[k] << 17);
            int64_t rest = zorvo_aec_sqrt_fix((1ULL << 30) - (uint64_t)((int64_t)g * g));
            int64_t c = (amp * rest) >> 15;
            st->rng = st->rng * 1664525u + 1013904223u;
            int idx = (int)((st->rng >> 16) % 650u);
            re += (c * g_zorvo_aec_gas_aec_cn_cos_650[idx]) >> 15;
            if (k != 0 && k != st->bins - 1) {
                im += (c * g_zorvo_aec_gas_aec_cn_sin_650[idx]) >> 15;
            }
        }
        s[k].re = aec_sat32(re);
        s[k].im = aec_sat32(im);
    }
}

/* Inverse transform, synthesis window and overlap-add into B output samples. */
static void zorvo_aec_out_put_smooth(aec_state *st, const aec_c32 *s, const int16_t *win, int16_t *out) {
    int b = st->blk, sh = st->shift;
    (void)zorvo_aec_realifft(&st->fft, s, st->t0, st->work);
    for (int n = 0; n < b; n++) {
        int64_t v = (((int64_t)st->t0[n] * win[n]) >> 15) + st->ola[n];
        out[n] = audio_sat16(aec_sat32((v + (1 << (sh - 1))) >> sh));
        st->ola[n] = (int32_t)(((int64_t)st->t0[b + n] * win[b - n]) >> 15);
    }
}

void zorvo_aec_nlp(aec_state *st, int16_t *out) {
    int b = st->blk, sh = st->shift;
    const int16_t *win = st->cfg.wideband ? g_zorvo_aec_gas_aec_window_129 : g_zorvo_aec_gas_aec_window_65;
    for (int n = 0; n < 2 * b; n++) {
        int32_t w = n <= b ? win[n] : win[2 * b - n];
        st->t0[n] = ((int32_t)st->d_time[n] * w) >> (15 - sh);
        st->t1[n] = ((int32_t)st->e_time[n] * w) >> (15 - sh);
    }
    aec_c32 *d = st->c0, *e = st->c1;
    (void)zorvo_aec_realfft(&st->fft, st->t0, d, st->work);
    (void)zorvo_aec_realfft(&st->fft, st->t1, e, st->work);
    const aec_c32 *x = st->xh[(st->hist_pos + st->delay_est) % AEC_HIST];
    zorvo_aec_hnled_calc(st, d, e, x);
    int bypass = st->cfg.switch_c == 1;
    if (!bypass) {
        zorvo_aec_diverge_ristrict(st);
    }
    aec_c32 *s = !bypass && st->diverge ? d : e;
    zorvo_aec_comfort_noise_estimate(st, s);

    if (bypass || !st->far_active) {
        for (int k = 0; k < st->bins; k++) {
            st->g[k] = 32768;
        }
        zorvo_aec_comfort_noise(st, s, 0);
    } else {
        int lo, hi;
        clamp_band(st, st->cfg.band_a_lo, st->cfg.band_a_hi, &lo, &hi);
        zorvo_aec_hnl_ctrl(st, band_mean(st->cde, lo, hi), band_mean(st->g, lo, hi));
        zorvo_aec_hnl_ctrl1(st);
        clamp_band(st, st->cfg.band_b_lo, st->cfg.band_b_hi, &lo, &hi);
        int n = hi - lo + 1;
        (void)audio_copy(st->sortbuf, sizeof(st->sortbuf), st->g + lo, (size_t)n * sizeof(int32_t));
        zorvo_aec_qsort(st->sortbuf, n);
        int32_t fb = st->sortbuf[(3 * n) / 4], fb_low = st->sortbuf[n / 2];
        zorvo_aec_hnlm_gain(st, fb_low);
        zorvo_aec_hnled_sm(st, fb);
        zorvo_aec_high_freq_proc(st);
        zorvo_aec_comfort_noise(st, s, st->cfg.comfort_noise_on != 0);
    }
    zorvo_aec_out_put_smooth(st, s, win, out);
}
