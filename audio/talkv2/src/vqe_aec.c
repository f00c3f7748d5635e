/*
 * Echo canceller of the talk chain.
 *
 * Linear part (frequency-domain adaptive filtering, overlap-save): the echo path is modelled
 * by `parts` partitions of 256 taps (parts x 16 ms of echo tail). Each hop the reference block
 * and the one before it are transformed with a 512-point FFT (no window); the echo estimate is
 * the second half of the inverse transform of the sum of weight times reference spectrum over
 * the partitions, and the error is the microphone block minus it. Two filters of this form run
 * side by side on the same reference spectra:
 *
 * - a Kalman filter with one state per bin and partition (weights and a diagonal error
 *   variance). Its gain divides the variance-weighted reference by the predicted error power:
 *   the echo still unexplained plus the near-end power, estimated from the smoothed error. A
 *   loud near end therefore slows adaptation by itself. The weights follow a first-order
 *   Markov model (transition factor close to 1, process noise in proportion to the weight
 *   power), so the filter keeps tracking a changing echo path;
 * - a normalised LMS filter with a fixed step (slowed while double talk is detected), which
 *   reacts faster after echo path changes.
 *
 * Each hop one partition of each filter (in turn) is constrained back to 256 taps (inverse
 * transform, second half cleared, forward transform), so the filters stay linear convolutions.
 * The filter with the smaller smoothed error energy gives the output; a filter far worse than
 * the other takes over the other's weights, and when the error is louder than the microphone
 * itself the microphone passes unchanged.
 *
 * Spectral part, on the chain's windowed spectra of the error and of the echo estimate:
 * residual echo is modelled as a leakage factor times the echo estimate's power, plus a
 * decaying late tail. The leakage follows the ratio of error power (less its noise floor) to
 * echo estimate power: down quickly, up slowly and only while the far end talks alone.
 * Double talk: in the detection band (bins 4 .. dtd_hi) the error power is compared with what
 * the residual model and the noise floor predict; well above it, the near end talks. The
 * post-filter gain is of Wiener form, from the error power against the over-weighted residual
 * echo power (over-weighting per frequency region and by the suppression mode, lowered during
 * double talk), smoothed across frequency with the block's 5-point kernel and in time (falls
 * at once, rises over a few hops). The gain goes to the post-processing stage, which applies
 * it with the noise gains and fills removed noise with comfort noise, from the error's noise
 * floor (minimum tracking) handed over with it.
 *
 * Block bytes used (offsets in the 72-byte block): 0 reference delay in ms; 3 double-talk
 * handling 0..2 (near-end protection off, half, strong); 4 freeze adaptation; 5 post-filter
 * off; 6 double-talk detector off; 7 late residual tail off; 8..14 over-suppression of the four
 * frequency regions (value / 6.25); 16 Kalman transition 1 - value * 1e-6; 18 NLMS step
 * value / 200; 20 double-talk threshold (value / 25 times the predicted power); 22 leakage
 * rise rate value / 20000 per hop; 24 filter choice (0 both, 1 Kalman only, 2 NLMS only); 26
 * top bin of the detection band; 28 weight of the late tail in percent; 32 comfort noise on;
 * 34..40 region edges in Hz; 58..66 the gain smoothing kernel; 68 comfort noise level in
 * percent of the noise floor; 70 partitions. Bytes 44..56 are kept for tuning tools and not
 * used. The header's aec_mode scales the over-suppression by 0.5, 1 or 2.
 */
#include <math.h>
#include <string.h>

#include "vqe_fft.h"
#include "vqe_internal.h"

#define RE(a, k) (a)[2 * (k)]
#define IM(a, k) (a)[2 * (k) + 1]

size_t vqe_aec_size(int parts) {
    return sizeof(vqe_aec) + (size_t)parts * (3 * 2 * VQE_BINS + VQE_BINS) * sizeof(float);
}

_Static_assert(sizeof(vqe_aec) <= VQE_MEM_AEC_FIXED, "echo canceller record fits its memory");
_Static_assert((3 * 2 * VQE_BINS + VQE_BINS) * sizeof(float) <= VQE_MEM_AEC_PART, "partition fits");

int audio_vqe_aec_check_one(const uint8_t *b) {
    if (b == NULL) {
        return -20;
    }
    if (vqe_u16(b, 0) > 300) {
        return -21;
    }
    if (b[3] > 2) {
        return -27;
    }
    for (int i = 0; i < 4; i++) {
        if (b[4 + i] > 1) {
            return -28 - i;
        }
    }
    return 0;
}

int audio_vqe_aec_check_two(const uint8_t *b) {
    if (b == NULL) {
        return -20;
    }
    for (int i = 0; i < 4; i++) {
        if (vqe_u16(b, 8 + 2 * i) > 100) {
            return -23 - i;
        }
    }
    for (int i = 0; i < 4; i++) {
        if (vqe_u16(b, 16 + 2 * i) > 10000) {
            return -32 - i;
        }
    }
    if (vqe_u16(b, 24) > 2) {
        return -36;
    }
    if (vqe_u16(b, 26) > 256) {
        return -37;
    }
    if (vqe_u16(b, 28) > 100) {
        return -38;
    }
    return 0;
}

int audio_vqe_aec_check_three(const uint8_t *b) {
    if (b == NULL) {
        return -20;
    }
    if (vqe_u16(b, 32) > 1) {
        return -40;
    }
    for (int i = 0; i < 4; i++) {
        uint16_t v = vqe_u16(b, 34 + 2 * i);
        if (v > 6000 || (i > 0 && v < vqe_u16(b, 32 + 2 * i))) {
            return -41;
        }
    }
    for (int i = 0; i < 5; i++) {
        if (vqe_u16(b, 44 + 2 * i) > 100) {
            return -42;
        }
    }
    for (int i = 0; i < 5; i++) {
        if (vqe_u16(b, 58 + 2 * i) == 0) {
            return -44;
        }
    }
    if (vqe_u16(b, 68) > 100) {
        return -43;
    }
    uint16_t parts = vqe_u16(b, AUDIO_VQE_AEC_TAIL);
    if (parts < 3 || parts > 30) {
        return -45;
    }
    return 0;
}

int audio_vqe_aec_init(vqe_aec *st, int parts) {
    if (st == NULL) {
        return -1;
    }
    if (parts < 3 || parts > 30) {
        return -45;
    }
    memset(st, 0, vqe_aec_size(parts));
    st->guard0 = st->guard1 = VQE_GUARD;
    st->parts = parts;
    float *tail = (float *)(st + 1);
    st->x_ring = tail;
    st->w_kalman = st->x_ring + (size_t)parts * 2 * VQE_BINS;
    st->w_nlms = st->w_kalman + (size_t)parts * 2 * VQE_BINS;
    st->p_kalman = st->w_nlms + (size_t)parts * 2 * VQE_BINS;
    for (int i = 0; i < parts * VQE_BINS; i++) {
        st->p_kalman[i] = 0.5f;
    }
    for (int k = 0; k < VQE_BINS; k++) {
        st->leak[k] = 1.0f;
        st->gain[k] = 1.0f;
        st->phi_s[k] = 1e6f;
    }
    st->far_floor = 1e12f;
    return 0;
}

int audio_vqe_aec_set_params(vqe_aec *st, const uint8_t *b, int aec_mode) {
    if (st == NULL) {
        return -1;
    }
    int r = audio_vqe_aec_check_one(b);
    r = r != 0 ? r : audio_vqe_aec_check_two(b);
    r = r != 0 ? r : audio_vqe_aec_check_three(b);
    if (r != 0) {
        return r;
    }
    if (vqe_u16(b, AUDIO_VQE_AEC_TAIL) > st->parts) {
        return -45;
    }
    static const float mode_scale[3] = {0.5f, 1.0f, 2.0f};
    st->delay = vqe_u16(b, 0) * (AUDIO_VQE_RATE / 1000);
    st->mode = b[3];
    st->freeze = b[4];
    st->no_postfilter = b[5];
    st->no_dtd = b[6];
    st->late_weight = b[7] ? 0.0f : vqe_u16(b, 28) / 100.0f;
    for (int i = 0; i < 4; i++) {
        st->os[i] = vqe_u16(b, 8 + 2 * i) / 6.25f * mode_scale[aec_mode > 2 ? 1 : aec_mode];
        st->region_bin[i] = (int32_t)(vqe_u16(b, 34 + 2 * i) * AUDIO_VQE_FFT / AUDIO_VQE_RATE);
    }
    st->dtd_threshold = vqe_u16(b, 20) / 25.0f;
    st->kalman_a = 1.0f - vqe_u16(b, 16) * 1e-6f;
    st->nlms_mu = vqe_u16(b, 18) / 200.0f;
    st->leak_rate = vqe_u16(b, 22) / 20000.0f;
    st->no_nlms = vqe_u16(b, 24); /* filter choice */
    st->dtd_hi_bin = vqe_u16(b, 26) < 8 ? 8 : vqe_u16(b, 26);
    if (st->dtd_hi_bin > VQE_BINS - 1) {
        st->dtd_hi_bin = VQE_BINS - 1;
    }
    st->cn_on = vqe_u16(b, 32);
    st->cn_level = vqe_u16(b, 68) / 100.0f;
    float sum = 0;
    for (int i = 0; i < 5; i++) {
        sum += vqe_u16(b, 58 + 2 * i);
    }
    for (int i = 0; i < 5; i++) {
        st->kernel[i] = vqe_u16(b, 58 + 2 * i) / sum;
    }
    return 0;
}

void audio_vqe_aec_pre_process(vqe_aec *st, const vqe_fft *fft, float *mic, const int16_t *ref, float *echo,
                               float *echo_prev, float *work) {
    const int parts = st->parts;
    int d = st->delay;
    float *line = st->line;
    if (d > 0) {
        memmove(line, line + VQE_HOP, (size_t)d * sizeof(float));
    }
    for (int i = 0; i < VQE_HOP; i++) {
        line[d + i] = (float)ref[i];
    }
    float *buf = work, *ek = work + 2 * VQE_BINS, *en = ek + 2 * VQE_BINS, *yk = en + 2 * VQE_BINS;
    /* reference spectrum of the previous and the current block */
    for (int i = 0; i < VQE_HOP; i++) {
        buf[i] = st->ref_hist[i];
        buf[VQE_HOP + i] = line[i];
        st->ref_hist[i] = line[i];
    }
    vqe_fft_rdft(fft, 1, buf);
    st->head = (st->head + parts - 1) % parts;
    float *xnew = st->x_ring + (size_t)st->head * 2 * VQE_BINS;
    vqe_fft_unpack(fft, buf, xnew);
    float far = 0;
    for (int k = 4; k <= st->dtd_hi_bin; k++) {
        far += RE(xnew, k) * RE(xnew, k) + IM(xnew, k) * IM(xnew, k);
    }
    far /= (float)(st->dtd_hi_bin - 3);
    st->far_floor = far < st->far_floor ? 0.7f * st->far_floor + 0.3f * far : st->far_floor * 1.002f;
    st->far_active = far > 4e5f && far > 8.0f * st->far_floor;

    /* echo estimates and errors of both filters (time domain) */
    float *yn = buf;
    for (int f = 0; f < 2; f++) {
        const float *w = f == 0 ? st->w_kalman : st->w_nlms;
        float *acc = f == 0 ? yk : yn;
        memset(acc, 0, 2 * VQE_BINS * sizeof(float));
        for (int p = 0; p < parts; p++) {
            const float *x = st->x_ring + (size_t)((st->head + p) % parts) * 2 * VQE_BINS;
            const float *wp = w + (size_t)p * 2 * VQE_BINS;
            for (int k = 0; k < VQE_BINS; k++) {
                acc[2 * k] += RE(wp, k) * RE(x, k) - IM(wp, k) * IM(x, k);
                acc[2 * k + 1] += RE(wp, k) * IM(x, k) + IM(wp, k) * RE(x, k);
            }
        }
        float *err = f == 0 ? ek : en;
        vqe_fft_pack(fft, acc, err);
        vqe_fft_rdft(fft, -1, err);
        /* keep the echo estimate in the first half, the error block in the second */
        for (int i = 0; i < VQE_HOP; i++) {
            float e = err[VQE_HOP + i] * (1.0f / AUDIO_VQE_FFT);
            err[i] = e;
            err[VQE_HOP + i] = mic[i] - e;
        }
    }
    float ekk = 0, enn = 0, mm = 0;
    for (int i = 0; i < VQE_HOP; i++) {
        ekk += ek[VQE_HOP + i] * ek[VQE_HOP + i];
        enn += en[VQE_HOP + i] * en[VQE_HOP + i];
        mm += mic[i] * mic[i];
    }
    st->ek_s = 0.7f * st->ek_s + 0.3f * ekk;
    st->en_s = 0.7f * st->en_s + 0.3f * enn;
    st->mic_s = 0.7f * st->mic_s + 0.3f * mm;
    int use_n = st->no_nlms == 2 || (st->no_nlms == 0 && st->en_s < st->ek_s);
    const float *chosen = use_n ? en : ek;
    float chosen_s = use_n ? st->en_s : st->ek_s;
    int pass = chosen_s > 2.0f * st->mic_s + 1.0f;
    for (int i = 0; i < VQE_HOP; i++) {
        echo_prev[i] = st->echo_hist[i];
        echo[i] = pass ? 0.0f : chosen[i];
        st->echo_hist[i] = echo[i];
    }
    if (!st->freeze) {
        /* error spectra (zero first half) for the updates */
        for (int f = 0; f < 2; f++) {
            float *e = f == 0 ? ek : en;
            for (int i = 0; i < VQE_HOP; i++) {
                e[i] = 0.0f;
            }
            vqe_fft_rdft(fft, 1, e);
        }
        float *ekb = yk, *enb = yn; /* unpacked errors, in the sums' places */
        vqe_fft_unpack(fft, ek, ekb);
        vqe_fft_unpack(fft, en, enb);
        float a2 = st->kalman_a * st->kalman_a;
        for (int k = 0; k < VQE_BINS; k++) {
            float sx = 0, pxx = 0;
            for (int p = 0; p < parts; p++) {
                const float *x = st->x_ring + (size_t)((st->head + p) % parts) * 2 * VQE_BINS;
                float x2 = RE(x, k) * RE(x, k) + IM(x, k) * IM(x, k);
                sx += x2;
                pxx += st->p_kalman[(size_t)p * VQE_BINS + k] * x2;
            }
            float e2 = RE(ekb, k) * RE(ekb, k) + IM(ekb, k) * IM(ekb, k);
            st->phi_s[k] = 0.5f * st->phi_s[k] + 0.5f * e2;
            float phi = st->phi_s[k] > 1.0f ? st->phi_s[k] : 1.0f;
            float inv_d = 1.0f / (pxx + 2.0f * phi);
            float mu_n = st->nlms_mu * (1.0f - 0.9f * st->dt) / (sx + 1e6f);
            for (int p = 0; p < parts; p++) {
                const float *x = st->x_ring + (size_t)((st->head + p) % parts) * 2 * VQE_BINS;
                float *wk = st->w_kalman + (size_t)p * 2 * VQE_BINS;
                float *wn = st->w_nlms + (size_t)p * 2 * VQE_BINS;
                float *pk = st->p_kalman + (size_t)p * VQE_BINS + k;
                float xr = RE(x, k), xi = -IM(x, k); /* conjugate */
                float kg = *pk * inv_d;
                RE(wk, k) = st->kalman_a * (RE(wk, k) + kg * (xr * RE(ekb, k) - xi * IM(ekb, k)));
                IM(wk, k) = st->kalman_a * (IM(wk, k) + kg * (xr * IM(ekb, k) + xi * RE(ekb, k)));
                float x2 = xr * xr + xi * xi;
                float w2 = RE(wk, k) * RE(wk, k) + IM(wk, k) * IM(wk, k);
                float pn = a2 * (1.0f - 0.5f * kg * x2) * *pk + (1.0f - a2) * w2;
                *pk = pn < 1e-6f ? 1e-6f : (pn > 1.0f ? 1.0f : pn);
                RE(wn, k) += mu_n * (xr * RE(enb, k) - xi * IM(enb, k));
                IM(wn, k) += mu_n * (xr * IM(enb, k) + xi * RE(enb, k));
            }
        }
        /* one partition of each filter back to 256 taps */
        int c = (int)(st->frames % (uint32_t)parts);
        for (int f = 0; f < 2; f++) {
            float *w = (f == 0 ? st->w_kalman : st->w_nlms) + (size_t)c * 2 * VQE_BINS;
            vqe_fft_pack(fft, w, buf);
            vqe_fft_rdft(fft, -1, buf);
            for (int i = 0; i < VQE_HOP; i++) {
                buf[i] *= 1.0f / AUDIO_VQE_FFT;
                buf[VQE_HOP + i] = 0.0f;
            }
            vqe_fft_rdft(fft, 1, buf);
            vqe_fft_unpack(fft, buf, w);
        }
        /* a filter far worse than the other restarts from the other's weights */
        if (st->no_nlms == 0 && (st->ek_s > 4.0f * st->en_s + 1.0f || st->en_s > 4.0f * st->ek_s + 1.0f)) {
            int kal_bad = st->ek_s > st->en_s;
            size_t n = (size_t)parts * 2 * VQE_BINS;
            memcpy(kal_bad ? st->w_kalman : st->w_nlms, kal_bad ? st->w_nlms : st->w_kalman,
                   n * sizeof(float));
            if (kal_bad) {
                st->ek_s = st->en_s;
            } else {
                st->en_s = st->ek_s;
            }
        }
    }
    st->frames++;
    if (!pass) {
        for (int i = 0; i < VQE_HOP; i++) {
            mic[i] -= echo[i];
        }
    }
}

static int region_of(const vqe_aec *st, int k) {
    int r = 0;
    while (r < 3 && k >= st->region_bin[r + 1]) {
        r++;
    }
    return r;
}

int audio_vqe_aec_apply(vqe_aec *st, struct vqe_frame_io *io) {
    if (st == NULL || io == NULL || io->bins == NULL || io->ref == NULL) {
        return -1;
    }
    if (st->guard0 != VQE_GUARD || st->guard1 != VQE_GUARD) {
        return -2;
    }
    if (io->work_floats < 2 * VQE_BINS) {
        return -3;
    }
    float *y = io->bins;      /* error spectrum */
    const float *h = io->ref; /* echo estimate spectrum */
    float *g = io->work, *sm = g + VQE_BINS;
    float near_sum = 0, pred_sum = 0, echo_sum = 0;
    for (int k = 0; k < VQE_BINS; k++) {
        float e2 = RE(y, k) * RE(y, k) + IM(y, k) * IM(y, k);
        float h2 = RE(h, k) * RE(h, k) + IM(h, k) * IM(h, k);
        st->echo_pow[k] = 0.3f * st->echo_pow[k] + 0.7f * h2;
        g[k] = st->err_pow[k]; /* the previous smoothed error, for the gain */
        st->err_pow[k] = 0.5f * st->err_pow[k] + 0.5f * e2;
        if (st->frames <= 1) { /* the first hop starts the floor */
            st->noise[k] = e2;
        }
        st->noise[k] = e2 < st->noise[k] ? 0.8f * st->noise[k] + 0.2f * e2 : st->noise[k] * 1.003f + 1e-3f;
        float r = st->leak[k] * st->echo_pow[k];
        float late = st->late_weight * 0.5f * st->resid[k];
        st->resid[k] = r > late ? r : late;
        if (k >= 4 && k <= st->dtd_hi_bin) {
            near_sum += st->err_pow[k];
            pred_sum += st->resid[k] + st->noise[k];
            echo_sum += st->echo_pow[k];
        }
    }
    /* near end: far more error than the residual model predicts, or an error not much below
     * the echo estimate itself (which the residual model may have grown into) */
    int near = !st->no_dtd && st->far_active &&
               (near_sum > st->dtd_threshold * (pred_sum + 1.0f) || near_sum > 0.25f * echo_sum);
    st->dt = 0.7f * st->dt + 0.3f * (near ? 1.0f : 0.0f);

    /* leakage: down fast; up slowly while the far end talks alone */
    if (st->far_active && !st->freeze) {
        for (int k = 0; k < VQE_BINS; k++) {
            float inst = (st->err_pow[k] - st->noise[k]) / (st->echo_pow[k] + 1.0f);
            inst = inst < 0.001f ? 0.001f : (inst > 1.0f ? 1.0f : inst);
            if (inst < st->leak[k]) {
                st->leak[k] = 0.8f * st->leak[k] + 0.2f * inst;
            } else if (st->dt < 0.2f && !near) {
                st->leak[k] += st->leak_rate * (inst - st->leak[k]);
            }
        }
    }

    /* post-filter gain */
    float *out_gain = io->gain_aec;
    static const float dt_keep[3] = {1.0f, 0.5f, 0.25f};
    float dt_scale = 1.0f - st->dt * (1.0f - dt_keep[st->mode]);
    for (int k = 0; k < VQE_BINS; k++) {
        float se = 0.5f * (RE(y, k) * RE(y, k) + IM(y, k) * IM(y, k)) + 0.5f * g[k];
        float r = st->resid[k];
        float s = se - r > 0 ? se - r : 0.0f;
        float os = st->os[region_of(st, k)] * dt_scale;
        g[k] = s / (s + os * r + 1e-3f);
    }
    for (int k = 0; k < VQE_BINS; k++) {
        float acc = 0;
        for (int j = 0; j < 5; j++) {
            int i = k + j - 2;
            i = i < 0 ? -i : (i >= VQE_BINS ? 2 * (VQE_BINS - 1) - i : i);
            acc += st->kernel[j] * g[i];
        }
        sm[k] = acc;
    }
    for (int k = 0; k < VQE_BINS; k++) {
        float v = sm[k] < st->gain[k] ? sm[k] : 0.6f * st->gain[k] + 0.4f * sm[k];
        st->gain[k] = v;
        if (st->no_postfilter) {
            v = 1.0f;
        }
        if (out_gain != NULL) {
            out_gain[k] = v;
        } else {
            RE(y, k) *= v;
            IM(y, k) *= v;
        }
    }
    if (st->cn_on) {
        io->noise = st->noise;
        io->cn_scale = st->cn_level;
    } else {
        io->cn_scale = 0.0f;
    }
    if (st->guard0 != VQE_GUARD || st->guard1 != VQE_GUARD) {
        return -2;
    }
    return 0;
}
