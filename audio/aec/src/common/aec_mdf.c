/*
 * Adaptive filter stage of the echo canceller: frame levels and voice activity, the two
 * six-partition frequency-domain filters (foreground for the output, background adapting),
 * and the echo delay estimate.
 */
#include "aec_internal.h"
#include "audio_common.h"

int32_t zorvo_aec_get_framed_b(const int16_t *x, int n) {
    uint64_t e = 0;
    for (int i = 0; i < n; i++) {
        e += (uint64_t)((int32_t)x[i] * x[i]);
    }
    if (e == 0) {
        return 0;
    }
    /* 617 * log2(E / 256) + 418 */
    int64_t l = ((617 * ((int64_t)zorvo_aec_log2(e) - 8 * 65536)) >> 16) + 418;
    return l < 0 ? 0 : (int32_t)l;
}

void zorvo_aec_vad(aec_vad *v, int32_t level, int32_t block_count) {
    int32_t b;
    if (block_count <= 50) {
        b = 16384;
    } else if (v->run >= 129) {
        b = v->run < 384 ? 32767 >> (11 - v->run / 64) : 32767 >> 6;
    } else {
        b = 16;
    }
    int32_t dn = level - v->noise;
    if (dn > 615) {
        v->noise += (int32_t)(((int64_t)dn * b) >> 15);
    }
    if (level < v->noise) {
        v->noise += (int32_t)(((int64_t)(level - v->noise) * 29490) >> 15);
    }
    if (level > v->speech) {
        v->speech += (int32_t)(((int64_t)(level - v->speech) * 22938) >> 15);
    }
    if (level - v->speech <= -2461) {
        v->speech += (level - v->speech) / 2;
    }
    if (v->speech - v->noise > 1640 && level - v->noise > 615 && level > 7404) {
        v->flag = 1;
        v->run = v->run < 32767 ? v->run + 1 : 32767;
        v->pause = 0;
    } else {
        v->flag = 0;
        v->run = 0;
        v->pause = v->pause < 32767 ? v->pause + 1 : 32767;
    }
}

#define EN_FRAC 11

static inline int hist_slot(const aec_state *st, int age) {
    return (st->hist_pos + age) % AEC_HIST;
}

/* Echo estimate of one filter: the second half of the inverse transform of sum(W_j X_j). */
static void filter_output(aec_state *st, aec_c32 (*w)[AEC_KMAX], int32_t *y) {
    int bins = st->bins;
    aec_c32 *yf = st->c1;
    for (int k = 0; k < bins; k++) {
        int64_t re = 0, im = 0;
        for (int j = 0; j < AEC_PARTS; j++) {
            const aec_c32 *x = &st->xh[hist_slot(st, st->cfg.delay_offset + j)][k];
            const aec_c32 *h = &w[j][k];
            re += (int64_t)h->re * x->re - (int64_t)h->im * x->im;
            im += (int64_t)h->re * x->im + (int64_t)h->im * x->re;
        }
        yf[k].re = aec_sat32(re >> AEC_W_SHIFT);
        yf[k].im = aec_sat32(im >> AEC_W_SHIFT);
    }
    (void)zorvo_aec_realifft(&st->fft, yf, y, st->work);
}

/* Error of one filter (scaled by 2^shift, limited to the input range) and its energy. */
static int64_t filter_error(const aec_state *st, const int32_t *y, int32_t *e) {
    int b = st->blk;
    int32_t lim = (32767 << st->shift);
    int64_t energy = 0;
    for (int n = 0; n < b; n++) {
        int64_t v = (int64_t)st->d_time[b + n] * (1 << st->shift) - y[b + n];
        v = v > lim ? lim : (v < -lim ? -lim : v);
        e[n] = (int32_t)v;
        energy += (v * v) >> 16;
    }
    return energy;
}

/* Constrains a partition to B taps: inverse transform, clear the second half, transform. */
static void constrain(aec_state *st, aec_c32 *w) {
    int b = st->blk;
    (void)zorvo_aec_realifft(&st->fft, w, st->t1, st->work);
    for (int n = b; n < 2 * b; n++) {
        st->t1[n] = 0;
    }
    (void)zorvo_aec_realfft(&st->fft, st->t1, w, st->work);
}

/* Background update: normalised, magnitude-limited error correlated with each partition. */
static void zorvo_aec_update_filter_parameter(aec_state *st, const int32_t *eb) {
    int b = st->blk, bins = st->bins;
    for (int n = 0; n < b; n++) {
        st->t1[n] = 0;
        st->t1[b + n] = eb[n];
    }
    aec_c32 *ef = st->c2;
    (void)zorvo_aec_realfft(&st->fft, st->t1, ef, st->work);
    /* regularisation: six partitions of a reference at about -60 dBFS, in p4's units */
    int64_t delta = ((int64_t)AEC_PARTS * ((int64_t)st->nfft << (2 * st->shift)) * 1024) >> 4;
    /* normalised error with 11 extra fractional bits: conj(X) * en / 2^11 is a Q24 weight step */
    aec_c64 *en = st->en;
    for (int k = 0; k < bins; k++) {
        int64_t p = st->p4[k] + delta;
        int64_t er = ef[k].re, ei = ef[k].im;
        uint64_t e2 = (uint64_t)(er * er) + (uint64_t)(ei * ei);
        /* |E| at most the level of an echo of unit gain: |E|^2 <= 16 * p4 / parts */
        int64_t lim = p / AEC_PARTS;
        if ((int64_t)(e2 >> 4) > lim) {
            uint32_t se = zorvo_aec_sqrt_fix(e2);
            int64_t f = se == 0 ? 0 : ((int64_t)zorvo_aec_sqrt_fix((uint64_t)lim) << 17) / se;
            er = (er * f) >> 15;
            ei = (ei * f) >> 15;
        }
        en[k].re = er * ((int64_t)1 << (AEC_W_SHIFT - 4 + EN_FRAC)) / p;
        en[k].im = ei * ((int64_t)1 << (AEC_W_SHIFT - 4 + EN_FRAC)) / p;
    }
    for (int j = 0; j < AEC_PARTS; j++) {
        const aec_c32 *x = st->xh[hist_slot(st, st->cfg.delay_offset + j)];
        aec_c32 *w = st->wb[j];
        for (int k = 0; k < bins; k++) {
            /* conj(X) * en * mu */
            int64_t gr = (x[k].re * en[k].re + x[k].im * en[k].im) >> EN_FRAC;
            int64_t gi = (x[k].re * en[k].im - x[k].im * en[k].re) >> EN_FRAC;
            w[k].re = aec_sat32(w[k].re + ((gr * AEC_MU_Q15) >> 15));
            w[k].im = aec_sat32(w[k].im + ((gi * AEC_MU_Q15) >> 15));
        }
        /* two partitions per block are constrained, each one every third block */
        if ((j + st->block_count) % 3 == 0) {
            constrain(st, w);
        }
    }
}

/* The partition with the most weight energy, as a delay in blocks. */
static void zorvo_aec_filter_delay_estimate(aec_state *st) {
    int best = 0;
    int64_t best_e = -1;
    for (int j = 0; j < AEC_PARTS; j++) {
        int64_t e = 0;
        for (int k = 0; k < st->bins; k++) {
            int64_t r = st->wf[j][k].re >> 8, i = st->wf[j][k].im >> 8;
            e += r * r + i * i;
        }
        if (e > best_e) {
            best_e = e;
            best = j;
        }
    }
    st->delay_est = st->cfg.delay_offset + best;
}

static void push_block(int16_t *hist, const int16_t *blk, int b) {
    (void)audio_move(hist, (size_t)b * 4, hist + b, (size_t)b * 2);
    (void)audio_copy(hist + b, (size_t)b * 2, blk, (size_t)b * 2);
}

void zorvo_aec_mdf(aec_state *st, const int16_t *mic, const int16_t *ref) {
    int b = st->blk, bins = st->bins, sh = st->shift;
    push_block(st->x_time, ref, b);
    push_block(st->d_time, mic, b);

    /* levels and voice activity */
    int32_t lx = zorvo_aec_get_framed_b(ref, b);
    st->mic_level = zorvo_aec_get_framed_b(mic, b);
    zorvo_aec_vad(&st->vad_ref, lx, st->block_count);
    zorvo_aec_vad(&st->vad_mic, st->mic_level, st->block_count);
    st->ref_levels[st->ref_level_pos] = lx;
    st->ref_level_pos = (st->ref_level_pos + 1) % AEC_LEVELS;
    /* echo is possible while the reference was above about -62 dBFS within the last 23 blocks */
    st->far_active = 0;
    for (int i = 0; i < AEC_LEVELS; i++) {
        st->far_active |= st->ref_levels[i] > AEC_FAR_LEVEL;
    }

    /* newest reference spectrum */
    st->hist_pos = (st->hist_pos + AEC_HIST - 1) % AEC_HIST;
    for (int n = 0; n < 2 * b; n++) {
        st->t0[n] = (int32_t)st->x_time[n] * (1 << sh);
    }
    (void)zorvo_aec_realfft(&st->fft, st->t0, st->xh[st->hist_pos], st->work);

    /* reference power over the partitions */
    for (int k = 0; k < bins; k++) {
        int64_t p = 0;
        for (int j = 0; j < AEC_PARTS; j++) {
            const aec_c32 *x = &st->xh[hist_slot(st, st->cfg.delay_offset + j)][k];
            p += (((int64_t)x->re * x->re) >> 4) + (((int64_t)x->im * x->im) >> 4);
        }
        st->p4[k] = p;
    }

    /* foreground (output) and background errors */
    int32_t *ef = st->g, *eb = st->cde; /* scratch of B values each */
    filter_output(st, st->wf, st->t0);
    int64_t sf = filter_error(st, st->t0, ef);
    filter_output(st, st->wb, st->t0);
    int64_t sb = filter_error(st, st->t0, eb);
    for (int n = 0; n < b; n++) {
        int32_t v = (ef[n] + (1 << (sh - 1))) >> sh;
        st->e_time[n] = st->e_time[b + n];
        st->e_time[b + n] = audio_sat16(v);
    }

    if (!st->far_active) {
        return;
    }
    /* background adaptation and the choice between the two filters */
    st->pf = st->pf - (st->pf >> 2) + (sf >> 2);
    st->pb = st->pb - (st->pb >> 2) + (sb >> 2);
    st->better = st->pb < st->pf - (st->pf >> 2) ? st->better + 1 : 0;
    st->worse = st->pb > 8 * st->pf + 1 ? st->worse + 1 : 0;
    if (st->better >= 2) {
        (void)audio_copy(st->wf, sizeof(st->wf), st->wb, sizeof(st->wb));
        st->pf = st->pb;
        st->better = 0;
    } else if (st->worse >= 8) {
        /* the background ran off (double talk): restart it from the foreground */
        (void)audio_copy(st->wb, sizeof(st->wb), st->wf, sizeof(st->wf));
        st->pb = st->pf;
        st->worse = 0;
        eb = ef;
    }
    zorvo_aec_update_filter_parameter(st, eb);
    if (st->vad_ref.flag && st->block_count % AEC_DELAY_EST_PERIOD == 0) {
        zorvo_aec_filter_delay_estimate(st);
    }
}
