/*
 * Multichannel Wiener filter of the talk chain, for two microphones (one microphone gives the
 * single-channel form of the same filter).
 *
 * Per bin the filter keeps the 2x2 covariance of the microphone spectra and that of the noise.
 * Speech presence comes from the a posteriori SNR of the reference microphone under a fixed a
 * priori SNR of 15 dB (even odds of speech); its long-run average caps it so that the noise
 * estimate cannot stall. The noise covariance is updated with the expected noise outer product
 * given that probability (the noisy outer product where speech is absent, the old estimate
 * where it is present), so no separate detector is needed. The filter is the speech-distortion
 * weighted form w = (Ryy + (mu - 1) Rnn)^-1 (Ryy - Rnn) e_ref: mu = 1 gives the plain Wiener
 * filter, larger values trade speech distortion for noise removal. The diagonal is loaded in
 * proportion to the trace so that nearly equal channels (the chain averages two microphones
 * into both) stay well conditioned. The output is limited to the reference microphone's level
 * and to `max_att` dB below it.
 *
 * Block bytes used: 4 mu in hundredths; 6 noise over-estimation in per cent; 14 max_att in dB;
 * 16 covariance smoothing, 18 presence average smoothing, 20 noise smoothing (all in 1/10000);
 * 24 reference microphone (1 or 2); 34 cap of the presence probability while the average says
 * speech, in per cent. The others are checked and carried for the tuning tools.
 */
#include <math.h>
#include <string.h>

#include "vqe_internal.h"

int zorvo_pmwf_check_params(const uint8_t *b) {
    if (b == NULL) {
        return -40;
    }
    if (vqe_i16(b, 0) < 1) {
        return -41;
    }
    if (vqe_i16(b, 2) < 1) {
        return -42;
    }
    if (vqe_u16(b, 4) > 1000) {
        return -43;
    }
    if (vqe_u16(b, 6) < 100 || vqe_u16(b, 6) > 1100) {
        return -44;
    }
    if (vqe_u16(b, 8) > 2) {
        return -45;
    }
    if (vqe_u16(b, 10) < 1 || vqe_u16(b, 10) > 60) {
        return -46;
    }
    if (vqe_u16(b, 12) < 2 || vqe_u16(b, 12) > 100) {
        return -47;
    }
    if (vqe_u16(b, 14) > 20) {
        return -48;
    }
    for (int i = 0; i < 4; i++) {
        uint16_t v = vqe_u16(b, 16 + 2 * i);
        if (v < 5000 || v > 10000) {
            return -49 - i;
        }
    }
    if (vqe_u16(b, 24) < 1 || vqe_u16(b, 24) > 2) {
        return -53;
    }
    if (b[26] > 1) {
        return -54;
    }
    if (vqe_u16(b, 28) > 1) {
        return -56;
    }
    if (vqe_u16(b, 30) > 100) {
        return -57;
    }
    if (vqe_u16(b, 32) > 1000) {
        return -58;
    }
    if (vqe_u16(b, 34) > 100) {
        return -59;
    }
    return 0;
}

int audio_voice_pmwfwfnr_init(vqe_pmwf *st) {
    if (st == NULL) {
        return -1;
    }
    memset(st, 0, sizeof(*st));
    st->guard0 = st->guard1 = VQE_GUARD;
    return 0;
}

int audio_voice_pmwfwfnr_set_params(vqe_pmwf *st, const uint8_t *b) {
    if (st == NULL) {
        return -1;
    }
    int r = zorvo_pmwf_check_params(b);
    if (r != 0) {
        return r;
    }
    st->mu = vqe_u16(b, 4) / 100.0f;
    st->overest = vqe_u16(b, 6) / 100.0f;
    st->floor = powf(10.0f, -(float)vqe_u16(b, 14) / 20.0f);
    st->alpha_y = vqe_u16(b, 16) / 10000.0f;
    st->alpha_p = vqe_u16(b, 18) / 10000.0f;
    st->alpha_n = vqe_u16(b, 20) / 10000.0f;
    st->ref_mic = vqe_u16(b, 24);
    st->presence_cap = vqe_u16(b, 34) / 100.0f;
    return 0;
}

int audio_voice_pmwfwfnr_apply(vqe_pmwf *st, struct vqe_frame_io *io) {
    if (st == NULL || io == NULL || io->bins == NULL) {
        return -1;
    }
    if (st->guard0 != VQE_GUARD || st->guard1 != VQE_GUARD) {
        return -2;
    }
    const float xi0 = 31.6227766f; /* 15 dB */
    float *y1 = io->bins;
    const float *y2 = io->spec2;
    int ref2 = y2 != NULL && st->ref_mic == 2;
    for (int k = 0; k < VQE_BINS; k++) {
        float ar = y1[2 * k], ai = y1[2 * k + 1];
        float br = y2 != NULL ? y2[2 * k] : 0.0f, bi = y2 != NULL ? y2[2 * k + 1] : 0.0f;
        float a2 = ar * ar + ai * ai, b2 = br * br + bi * bi;
        /* a * conj(b) */
        float cr = ar * br + ai * bi, ci = ai * br - ar * bi;
        float *ryy = st->ryy[k], *rnn = st->rnn[k];
        if (st->frames == 0) {
            ryy[0] = rnn[0] = a2;
            ryy[1] = rnn[1] = b2;
            ryy[2] = rnn[2] = cr;
            ryy[3] = rnn[3] = ci;
        }
        float nref = (ref2 ? rnn[1] : rnn[0]) + 1e-3f;
        float gam = (ref2 ? b2 : a2) / nref;
        float e = gam * xi0 / (1.0f + xi0);
        float p = 1.0f / (1.0f + (1.0f + xi0) * expf(-(e < 80.0f ? e : 80.0f)));
        st->p_avg[k] = st->alpha_p * st->p_avg[k] + (1.0f - st->alpha_p) * p;
        if (st->p_avg[k] > 0.99f && p > st->presence_cap) {
            p = st->presence_cap;
        }
        float an = st->alpha_n, ay = st->alpha_y;
        float obs[4] = {a2, b2, cr, ci};
        for (int i = 0; i < 4; i++) {
            float expect = (1.0f - p) * obs[i] + p * rnn[i];
            rnn[i] = an * rnn[i] + (1.0f - an) * expect;
            ryy[i] = ay * ryy[i] + (1.0f - ay) * obs[i];
        }
        float out_r, out_i;
        float ov = st->overest;
        if (y2 == NULL) {
            float s = ryy[0] - ov * rnn[0];
            s = s > 0 ? s : 0.0f;
            float g = s / (s + st->mu * ov * rnn[0] + 1e-3f);
            out_r = g * ar;
            out_i = g * ai;
        } else {
            /* S = Ryy - Rnn (speech), A = S + mu Rnn, w = A^-1 S e_ref */
            float s11 = ryy[0] - ov * rnn[0], s22 = ryy[1] - ov * rnn[1];
            float s12r = ryy[2] - ov * rnn[2], s12i = ryy[3] - ov * rnn[3];
            s11 = s11 > 0 ? s11 : 0.0f;
            s22 = s22 > 0 ? s22 : 0.0f;
            float load = 1e-3f * (ryy[0] + ryy[1]) + 1e-3f;
            float a11 = s11 + st->mu * ov * rnn[0] + load, a22 = s22 + st->mu * ov * rnn[1] + load;
            float a12r = s12r + st->mu * ov * rnn[2], a12i = s12i + st->mu * ov * rnn[3];
            float det = a11 * a22 - (a12r * a12r + a12i * a12i);
            det = det > 1e-6f ? det : 1e-6f;
            /* column of S for the reference: e1 -> (s11, conj s12), e2 -> (s12, s22) */
            float v1r, v1i, v2r, v2i;
            if (ref2) {
                v1r = s12r, v1i = s12i, v2r = s22, v2i = 0;
            } else {
                v1r = s11, v1i = 0, v2r = s12r, v2i = -s12i;
            }
            /* A^-1 = [a22, -a12; -conj(a12), a11] / det */
            float w1r = (a22 * v1r - (a12r * v2r - a12i * v2i)) / det;
            float w1i = (a22 * v1i - (a12r * v2i + a12i * v2r)) / det;
            float w2r = (a11 * v2r - (a12r * v1r + a12i * v1i)) / det;
            float w2i = (a11 * v2i - (a12r * v1i - a12i * v1r)) / det;
            /* out = w^H y */
            out_r = w1r * ar + w1i * ai + w2r * br + w2i * bi;
            out_i = w1r * ai - w1i * ar + w2r * bi - w2i * br;
        }
        float lim2 = ref2 ? b2 : a2;
        float o2 = out_r * out_r + out_i * out_i;
        float lo2 = st->floor * st->floor * lim2;
        float sc = 1.0f;
        if (o2 > lim2) {
            sc = sqrtf(lim2 / (o2 + 1e-20f));
        } else if (o2 < lo2) {
            /* at the floor, keep the reference microphone's phase */
            float f = st->floor;
            out_r = f * (ref2 ? br : ar);
            out_i = f * (ref2 ? bi : ai);
        }
        y1[2 * k] = out_r * sc;
        y1[2 * k + 1] = out_i * sc;
    }
    st->frames++;
    return 0;
}
