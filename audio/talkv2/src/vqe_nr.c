/*
 * Single-channel noise reduction of the talk chain: two noise estimates, an optimally-modified
 * log-spectral amplitude gain under speech presence uncertainty, on the 257-bin spectrum of
 * each hop.
 *
 * Noise, conservative estimate (drives the presence decision): the periodogram is smoothed over
 * three bins and in time; its minimum is tracked over `sub_count` sub-windows of `sub_len` hops
 * each. Where the smoothed power stands more than `delta` times above that minimum the bin
 * counts as speech; a recursively averaged speech indicator slows the noise update there (the
 * update weight runs from 1 / `noise_frames` in pure noise to zero in certain speech). Speech
 * leaks into this estimate a little, and it is scaled by 1.5, so it errs high: pauses are judged
 * as pauses.
 * Noise, unbiased estimate (drives the gain): each bin's posterior speech presence is computed
 * for a fixed 15 dB speech-to-noise ratio and equal priors against the previous estimate; the
 * estimate moves (weight 0.05 per hop, a time constant of about 20 hops) towards the expected
 * noise power given that presence, (1 - P) |Y|^2 + P lambda. The slow weight matters: with 0.2
 * the estimate follows each hop's noise fluctuation, and the gain then chases that fluctuation
 * during speech as distortion and leftover noise (at 0 dB SNR in car noise 0.4 dB less
 * speech-to-distortion ratio and 0.1 dB more speech loss than with 0.05). A bin whose presence
 * has averaged above 0.99 is still updated a little, so a rising noise is followed rather than
 * taken for speech for ever. Both estimates take the first half second as noise.
 *
 * Gain for speech present: a priori SNR by the decision-directed rule (the previous hop's clean
 * estimate against the noise, weight `alpha_dd`), refined by a second step (this hop's Wiener
 * gain applied to the a posteriori SNR), which removes the hop of delay the decision-directed
 * rule has at speech onsets; the noise is weighed at half its power here, because the
 * log-spectral amplitude rule at full noise power takes a decibel or more off speech at 0 dB
 * SNR. The gain is exp(E1(v) / 2) xi / (1 + xi), E1 the exponential integral.
 * Speech absence probability: the a priori SNR against the conservative noise, capped at 0 dB
 * and recursively averaged (0.7), is judged in three ways (this bin's neighbourhood, a wide
 * neighbourhood of +- `global_bins`, the whole frame), each mapped linearly in the log domain
 * from -13 dB (absent) to -7 dB (present). The final gain is the speech-present gain to the
 * power of the presence probability times the floor to the power of its complement, so pauses
 * go down to the floor smoothly and speech keeps its level; where any of the three judges
 * speech absent the gain is the floor. In the three lowest bins (to 62.5 Hz, under the lowest
 * pitch searched), where car rumble carries most of its power, the gain is the floor squared
 * (twice as many dB down). In voiced frames (a
 * pitch peak in the real cepstrum of the log power spectrum, 70 to 400 Hz) the absence
 * probability of the bins at the pitch harmonics below 4 kHz is lowered, so the harmonics of
 * speech in noise are kept.
 *
 * Block bytes (offsets in the 40-byte block): 0 floor, in steps of -0.15 dB; 1 noise update
 * time in hops (2..255); 2 sub-window length in hops (1..); 3 sub-windows (1..8); 4 speech
 * threshold delta in halves (1..); 6 noise over-estimation in per cent (100..400); 8
 * decision-directed weight in per cent (..99); 10 speech indicator smoothing in per cent
 * (..99); 12 lowest a priori SNR in -dB (..60); 14 half width of the wide neighbourhood in
 * bins (..64). The other bytes are carried for the tuning tools and not used.
 */
#include <math.h>
#include <string.h>

#include "vqe_internal.h"

#define NR_LEARN_FRAMES 32
#define NR_BIAS         1.5f   /* the speech-gated average runs below the mean noise power */
#define NR_PITCH_MIN    40     /* cepstral search: 400 Hz .. */
#define NR_PITCH_MAX    228    /* .. 70 Hz */
#define NR_VOICED       0.08f  /* cepstral peak of a voiced frame */
#define NR_HARM_TOP     128    /* harmonics marked up to 4 kHz */
#define NR_HARM_ABSENCE 0.1f   /* speech absence probability kept at a harmonic */
#define NR_LOW_BINS     3      /* bins up to 62.5 Hz, under the lowest pitch: floor squared */
#define NR_UNDER        0.5f   /* the speech-present gain weighs the noise at half its power */
#define NR_SPP_SNR      31.62f /* speech-to-noise ratio assumed where speech is present (15 dB) */
#define NR_MIN_BIAS     2.0f   /* the minimum of a smoothed periodogram lies below its mean */
#define NR_MMSE_STEP    0.05f  /* weight of each hop in the unbiased noise estimate */

int audio_vqe_dmnr_init(vqe_nr *st) {
    if (st == NULL) {
        return -1;
    }
    memset(st, 0, sizeof(*st));
    st->guard0 = st->guard1 = VQE_GUARD;
    return 0;
}

int audio_vqe_dmnr_set_params(vqe_nr *st, const uint8_t *b) {
    if (st == NULL || b == NULL) {
        return -1;
    }
    if (b[1] < 2) {
        return -2;
    }
    if (b[2] < 1) {
        return -3;
    }
    if (b[3] < 1 || b[3] > VQE_NR_MAX_SUB) {
        return -4;
    }
    if (vqe_u16(b, 4) < 1) {
        return -5;
    }
    if (vqe_u16(b, 6) < 100 || vqe_u16(b, 6) > 400) {
        return -6;
    }
    if (vqe_u16(b, 8) > 99 || vqe_u16(b, 10) > 99) {
        return -7;
    }
    if (vqe_u16(b, 12) > 60 || vqe_u16(b, 14) > 64) {
        return -8;
    }
    st->floor = powf(10.0f, -0.15f * b[0] / 20.0f);
    st->alpha_d = 1.0f - 1.0f / b[1];
    if (b[3] != st->sub_count) {
        st->sub_next = 0;
        st->sub_fill = 0;
    }
    st->sub_len = b[2];
    st->sub_count = b[3];
    st->delta = vqe_u16(b, 4) * 0.5f;
    st->overest = vqe_u16(b, 6) / 100.0f;
    st->alpha_dd = vqe_u16(b, 8) / 100.0f;
    st->alpha_p = vqe_u16(b, 10) / 100.0f;
    st->xi_min = powf(10.0f, -(float)vqe_u16(b, 12) / 10.0f);
    st->alpha_s = 0.8f;
    st->global = vqe_u16(b, 14);
    return 0;
}

/* Exponential integral E1(v), v > 0: its series below 1, a rational approximation above. */
static float expint1(float v) {
    if (v < 1.0f) {
        float l = logf(v > 1e-10f ? v : 1e-10f);
        return -0.5772157f - l + v * (1.0f - v * (0.25f - v * (1.0f / 18.0f - v / 96.0f)));
    }
    if (v > 30.0f) {
        return 0.0f;
    }
    float num = v * v + 2.334733f * v + 0.250621f;
    float den = v * v + 3.330657f * v + 1.681534f;
    return expf(-v) / v * num / den;
}

/* Voiced speech: the real cepstrum of the log power spectrum has a peak at the pitch period.
 * Marks the bins within one bin of each harmonic below 4 kHz in `harm` (1) and returns 1 when
 * the frame is voiced. */
static int audio_vqe_dmnr_harmonics(const vqe_fft *fft, const float *pw, float *cep, float *harm) {
    for (int k = 1; k < VQE_BINS - 1; k++) {
        cep[2 * k] = logf(pw[k] + 1.0f);
        cep[2 * k + 1] = 0.0f;
        harm[k] = 0.0f;
    }
    cep[0] = logf(pw[0] + 1.0f);
    cep[1] = logf(pw[VQE_BINS - 1] + 1.0f);
    harm[0] = harm[VQE_BINS - 1] = 0.0f;
    vqe_fft_rdft(fft, -1, cep);
    int best = 0;
    float peak = 0.0f;
    for (int q = NR_PITCH_MIN; q <= NR_PITCH_MAX; q++) {
        if (cep[q] > peak) {
            peak = cep[q];
            best = q;
        }
    }
    if (best == 0 || peak / AUDIO_VQE_FFT < NR_VOICED) {
        return 0;
    }
    float spacing = (float)AUDIO_VQE_FFT / (float)best;
    for (float c = spacing; c < NR_HARM_TOP; c += spacing) {
        int k = (int)lrintf(c);
        for (int j = k - 1; j <= k + 1; j++) {
            if (j > 0 && j < VQE_BINS) {
                harm[j] = 1.0f;
            }
        }
    }
    return 1;
}

/* A priori SNR of bin k by the decision-directed rule against the noise power `lam`; the a
 * posteriori SNR goes to *gam. */
static float decision_directed(const vqe_nr *st, int k, float pw, float lam, float *gam) {
    float g = pw / lam;
    g = g > 1e4f ? 1e4f : g;
    *gam = g;
    float xi = st->alpha_dd * st->prev_clean[k] / lam + (1.0f - st->alpha_dd) * (g > 1.0f ? g - 1.0f : 0.0f);
    return xi < st->xi_min ? st->xi_min : (xi > 1e4f ? 1e4f : xi);
}

static float presence_of(float zeta) {
    const float lo = 0.05f, hi = 0.2f;
    if (zeta <= lo) {
        return 0.0f;
    }
    if (zeta >= hi) {
        return 1.0f;
    }
    return logf(zeta / lo) / logf(hi / lo);
}

static void track_noise(vqe_nr *st, const float *pw) {
    for (int k = 0; k < VQE_BINS; k++) {
        float l = pw[k > 0 ? k - 1 : 1], r = pw[k < VQE_BINS - 1 ? k + 1 : k - 1];
        float sf = 0.25f * l + 0.5f * pw[k] + 0.25f * r;
        st->smooth[k] = st->frames == 0 ? sf : st->alpha_s * st->smooth[k] + (1.0f - st->alpha_s) * sf;
        if (st->frames == 0 || st->smooth[k] < st->stmp[k]) {
            st->stmp[k] = st->smooth[k];
        }
    }
    if (++st->sub_pos >= st->sub_len) {
        memcpy(st->sub_min[st->sub_next], st->stmp, sizeof(st->stmp));
        st->sub_next = (st->sub_next + 1) % st->sub_count;
        st->sub_fill = st->sub_fill < st->sub_count ? st->sub_fill + 1 : st->sub_count;
        st->sub_pos = 0;
        memcpy(st->stmp, st->smooth, sizeof(st->stmp));
    }
    for (int k = 0; k < VQE_BINS; k++) {
        float m = st->stmp[k];
        int filled = st->sub_fill;
        for (int j = 0; j < filled; j++) {
            m = st->sub_min[j][k] < m ? st->sub_min[j][k] : m;
        }
        st->smin[k] = m;
        float ind = st->smooth[k] > st->delta * NR_MIN_BIAS * m ? 1.0f : 0.0f;
        st->presence[k] = st->alpha_p * st->presence[k] + (1.0f - st->alpha_p) * ind;
        float a = st->alpha_d + (1.0f - st->alpha_d) * st->presence[k];
        if (st->frames < NR_LEARN_FRAMES) { /* the first half second is taken as noise */
            a = st->frames == 0 ? 0.0f : 0.8f;
            st->noise[k] = a * st->noise[k] + (1.0f - a) * pw[k];
            st->noise_mmse[k] = st->noise[k];
            continue;
        }
        st->noise[k] = a * st->noise[k] + (1.0f - a) * pw[k];
        /* second estimate: speech presence for a fixed 15 dB speech-to-noise ratio and equal
         * priors; the noise power moves towards its expectation given that presence */
        const float xh = NR_SPP_SNR;
        float lam = st->noise_mmse[k] + 1e-3f;
        float e = pw[k] / lam * (xh / (1.0f + xh));
        float ph = 1.0f / (1.0f + (1.0f + xh) * expf(-(e < 80.0f ? e : 80.0f)));
        st->spp_avg[k] = 0.9f * st->spp_avg[k] + 0.1f * ph;
        if (st->spp_avg[k] > 0.99f && ph > 0.99f) {
            ph = 0.99f; /* never stop updating */
        }
        float en = (1.0f - ph) * pw[k] + ph * st->noise_mmse[k];
        st->noise_mmse[k] = (1.0f - NR_MMSE_STEP) * st->noise_mmse[k] + NR_MMSE_STEP * en;
    }
}

int audio_vqe_dmnr_apply(vqe_nr *st, struct vqe_frame_io *io) {
    if (st == NULL || io == NULL || io->bins == NULL) {
        return -1;
    }
    if (st->guard0 != VQE_GUARD || st->guard1 != VQE_GUARD) {
        return -2;
    }
    float *y = io->bins;
    float *pw = io->work;
    for (int k = 0; k < VQE_BINS; k++) {
        pw[k] = y[2 * k] * y[2 * k] + y[2 * k + 1] * y[2 * k + 1];
    }
    track_noise(st, pw);
    float zsum = 0;
    for (int k = 0; k < VQE_BINS; k++) {
        /* presence side: the conservative (minimum-controlled, biased up) noise */
        float gam, xi = decision_directed(st, k, pw[k], st->noise[k] * NR_BIAS * st->overest + 1e-3f, &gam);
        float v = gam * xi / (1.0f + xi);
        /* gain side: the unbiased noise, and this hop's Wiener estimate as the a priori SNR */
        float gg,
            xg = decision_directed(st, k, pw[k], st->noise_mmse[k] * st->overest * NR_UNDER + 1e-3f, &gg);
        float w = xg / (1.0f + xg);
        xg = w * w * gg;
        xg = xg < st->xi_min ? st->xi_min : xg;
        float vg = gg * xg / (1.0f + xg);
        float gh1 = xg / (1.0f + xg) * expf(0.5f * expint1(vg));
        gh1 = gh1 > 1.0f ? 1.0f : gh1;
        st->prev_clean[k] = gh1 * gh1 * pw[k];
        /* capped at 0 dB: the presence map saturates below that, and a loud hop must not hold the
         * presence up for a quarter second after the speech ends */
        st->zeta[k] = 0.7f * st->zeta[k] + 0.3f * (xi < 1.0f ? xi : 1.0f);
        zsum += st->zeta[k];
        st->gain[k] = gh1;
        pw[VQE_BINS + k] = v; /* kept for the presence step */
        pw[2 * VQE_BINS + k] = xi;
    }
    float p_frame = presence_of(zsum / VQE_BINS);
    float *harm = pw + 3 * VQE_BINS, *cep = harm + VQE_BINS;
    int voiced = io->fft != NULL && audio_vqe_dmnr_harmonics(io->fft, pw, cep, harm);
    /* running sums for the local (3-bin) and wide neighbourhoods */
    for (int k = 0; k < VQE_BINS; k++) {
        float loc = 0, glob = 0;
        int nl = 0, ng = 0;
        for (int j = k - 1; j <= k + 1; j++) {
            if (j >= 0 && j < VQE_BINS) {
                loc += st->zeta[j];
                nl++;
            }
        }
        int lo = k - st->global < 0 ? 0 : k - st->global;
        int hi = k + st->global >= VQE_BINS ? VQE_BINS - 1 : k + st->global;
        for (int j = lo; j <= hi; j++) {
            glob += st->zeta[j];
            ng++;
        }
        float q = 1.0f - presence_of(loc / nl) * presence_of(glob / ng) * p_frame;
        if (voiced && harm[k] > 0.0f) { /* a harmonic of voiced speech is more likely speech */
            q *= NR_HARM_ABSENCE;
        }
        float v = pw[VQE_BINS + k], xi = pw[2 * VQE_BINS + k];
        float p = 1.0f;
        if (q >= 0.999f) {
            p = 0.0f; /* speech judged absent: the floor */
        } else if (q > 0.0f) {
            p = 1.0f / (1.0f + q / (1.0f - q) * (1.0f + xi) * expf(-(v < 80.0f ? v : 80.0f)));
        }
        float g = powf(st->gain[k], p) * powf(st->floor, 1.0f - p);
        if (k < NR_LOW_BINS) {
            g = st->floor * st->floor; /* no speech down there: the rumble goes further */
        }
        st->gain[k] = g;
    }
    st->frames++;
    if (io->noise == NULL) { /* the echo canceller's floor leaves out the residual echo */
        io->noise = st->noise;
    }
    io->nr_floor = st->floor;
    if (io->gain_nr != NULL) {
        memcpy(io->gain_nr, st->gain, sizeof(st->gain));
    } else {
        for (int k = 0; k < VQE_BINS; k++) {
            y[2 * k] *= st->gain[k];
            y[2 * k + 1] *= st->gain[k];
        }
    }
    return st->guard0 == VQE_GUARD && st->guard1 == VQE_GUARD ? 0 : -2;
}
