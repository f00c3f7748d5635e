/* Wind-noise reduction: features, network, gains, comfort noise (method in vqe_wnr.h). */
#include "vqe_wnr.h"

#include <math.h>
#include <string.h>

#include "vqe_hs.h"
#include "vqe_internal.h"

_Static_assert(sizeof(vqe_wnr) <= VQE_MEM_WNR, "wind-noise reduction fits its memory");

#define WNR_COH_SMOOTH  0.6f
#define WNR_WIND_SMOOTH 0.7f
#define WNR_FEAT_LIMIT  10.0f

/* ---------------- the network ---------------- */

static float logistic(float x) {
    return 1.0f / (1.0f + expf(-x));
}

/* y = W x + b for a row-major W (rows outputs); y may not alias x. */
static void dense(const float *w, const float *b, const float *x, int n_in, int n_out, float *y) {
    for (int o = 0; o < n_out; o++) {
        const float *row = w + (long)o * n_in;
        float acc = b[o];
        for (int i = 0; i < n_in; i++) {
            acc += row[i] * x[i];
        }
        y[o] = acc;
    }
}

void vqe_wnr_net_reset(vqe_wnr_net *n) {
    memset(n, 0, sizeof(*n));
}

void vqe_wnr_net_step(vqe_wnr_net *n, const float *in, float *out) {
    float x[WNR_IN], d[WNR_DENSE];
    float gi[3 * WNR_GRU], gh[3 * WNR_GRU];
    float li[4 * WNR_LSTM], lh[4 * WNR_LSTM];
    for (int i = 0; i < WNR_IN; i++) {
        float v = isfinite(in[i]) ? in[i] : 0.0f;
        x[i] = v > WNR_FEAT_LIMIT ? WNR_FEAT_LIMIT : (v < -WNR_FEAT_LIMIT ? -WNR_FEAT_LIMIT : v);
    }
    dense(vqe_wnr_in_w, vqe_wnr_in_b, x, WNR_IN, WNR_DENSE, d);
    for (int i = 0; i < WNR_DENSE; i++) {
        d[i] = tanhf(d[i]);
    }
    /* GRU: gate rows r, z, n */
    dense(vqe_wnr_gru_w_ih, vqe_wnr_gru_b_ih, d, WNR_DENSE, 3 * WNR_GRU, gi);
    dense(vqe_wnr_gru_w_hh, vqe_wnr_gru_b_hh, n->gru, WNR_GRU, 3 * WNR_GRU, gh);
    for (int j = 0; j < WNR_GRU; j++) {
        float r = logistic(gi[j] + gh[j]);
        float z = logistic(gi[WNR_GRU + j] + gh[WNR_GRU + j]);
        float c = tanhf(gi[2 * WNR_GRU + j] + r * gh[2 * WNR_GRU + j]);
        n->gru[j] = (1.0f - z) * c + z * n->gru[j];
    }
    /* LSTM: gate rows i, f, g, o */
    dense(vqe_wnr_lstm_w_ih, vqe_wnr_lstm_b_ih, n->gru, WNR_GRU, 4 * WNR_LSTM, li);
    dense(vqe_wnr_lstm_w_hh, vqe_wnr_lstm_b_hh, n->lstm_h, WNR_LSTM, 4 * WNR_LSTM, lh);
    for (int j = 0; j < WNR_LSTM; j++) {
        float ig = logistic(li[j] + lh[j]);
        float fg = logistic(li[WNR_LSTM + j] + lh[WNR_LSTM + j]);
        float gg = tanhf(li[2 * WNR_LSTM + j] + lh[2 * WNR_LSTM + j]);
        float og = logistic(li[3 * WNR_LSTM + j] + lh[3 * WNR_LSTM + j]);
        n->lstm_c[j] = fg * n->lstm_c[j] + ig * gg;
        n->lstm_h[j] = og * tanhf(n->lstm_c[j]);
    }
    dense(vqe_wnr_out_w, vqe_wnr_out_b, n->lstm_h, WNR_LSTM, WNR_OUT, out);
    for (int o = 0; o < WNR_OUT; o++) {
        out[o] = logistic(out[o]);
    }
}

/* ---------------- the module ---------------- */

int audio_ai_wnr_init(vqe_wnr *st, int mic_num, const uint8_t *blk) {
    if (st == NULL || blk == NULL) {
        return -1;
    }
    memset(st, 0, sizeof(*st));
    st->two_mics = mic_num == 2;
    int limit = blk[0] == 0 ? 20 : (blk[0] > 60 ? 60 : blk[0]);
    st->floor = powf(10.0f, -(float)limit / 20.0f);
    st->cn_on = blk[1] != 1;
    st->seed = 0x2545F491u;
    audio_vqe_banding_init(&st->bands);
    for (int i = 0; i < 512; i++) {
        st->window[i] = (float)sin(M_PI * (i + 0.5) / 512);
    }
    for (int k = 0; k < VQE_BINS; k++) {
        st->gain[k] = 1.0f;
    }
    st->guard0 = st->guard1 = VQE_GUARD;
    return 0;
}

/* Window and transform one raw microphone frame (previous hop and this one) into 257 bins. */
static void analyse_mic(vqe_wnr *st, const vqe_fft *fft, float *hist, const int16_t *x, float *time,
                        float *bins) {
    for (int i = 0; i < VQE_HOP; i++) {
        time[i] = hist[i] * st->window[i];
        time[VQE_HOP + i] = (float)x[i] * st->window[VQE_HOP + i];
        hist[i] = (float)x[i];
    }
    vqe_fft_rdft(fft, 1, time);
    vqe_fft_unpack(fft, time, bins);
}

static float cn_unit(uint32_t *s) {
    *s = *s * 1664525u + 1013904223u;
    return (float)(int32_t)*s * (1.0f / 2147483648.0f);
}

/* Band coherences of the two microphones into feat[0..19] (work: 4 x 257 + 2 x 20 floats). */
static void coherence(vqe_wnr *st, const vqe_banding *bands, const float *a, const float *b, float *work,
                      float *feat) {
    const float s = WNR_COH_SMOOTH;
    for (int k = 0; k < VQE_BINS; k++) {
        float ar = a[2 * k], ai = a[2 * k + 1], br = b[2 * k], bi = b[2 * k + 1];
        st->s11[k] = s * st->s11[k] + (1 - s) * (ar * ar + ai * ai);
        st->s22[k] = s * st->s22[k] + (1 - s) * (br * br + bi * bi);
        st->s12_re[k] = s * st->s12_re[k] + (1 - s) * (ar * br + ai * bi);
        st->s12_im[k] = s * st->s12_im[k] + (1 - s) * (ai * br - ar * bi);
        if (!isfinite(st->s11[k] + st->s22[k] + st->s12_re[k] + st->s12_im[k])) {
            st->s11[k] = st->s22[k] = st->s12_re[k] = st->s12_im[k] = 0.0f;
        }
    }
    float *p11 = work, *p22 = p11 + VQE_BANDS, *re = p22 + VQE_BANDS, *im = re + VQE_BANDS;
    audio_vqe_banding_forward(bands, st->s11, p11);
    audio_vqe_banding_forward(bands, st->s22, p22);
    audio_vqe_banding_forward(bands, st->s12_re, re);
    audio_vqe_banding_forward(bands, st->s12_im, im);
    for (int i = 0; i < VQE_BANDS; i++) {
        /* in double: the band powers of loud frames overflow a float product */
        double c = ((double)re[i] * re[i] + (double)im[i] * im[i]) / ((double)p11[i] * p22[i] + 1e-3);
        feat[i] = (float)c;
    }
}

int audio_ai_wnr_apply(vqe_wnr *st, struct vqe_frame_io *io, const int16_t *mic1, const int16_t *mic2) {
    if (st == NULL || io == NULL || io->bins == NULL || mic1 == NULL) {
        return -1;
    }
    if (st->guard0 != VQE_GUARD || st->guard1 != VQE_GUARD) {
        return -2;
    }
    const vqe_banding *bands = &st->bands;
    float *y = io->bins;
    float *pow_ = io->work, *time = pow_ + VQE_BINS, *a = time + 512, *b = a + 2 * VQE_BINS,
          *tmp = b + 2 * VQE_BINS;
    float feat[WNR_IN], band[VQE_BANDS];
    for (int k = 0; k < VQE_BINS; k++) {
        pow_[k] = y[2 * k] * y[2 * k] + y[2 * k + 1] * y[2 * k + 1];
    }
    audio_vqe_banding_forward(bands, pow_, band);
    for (int i = 0; i < VQE_BANDS; i++) {
        feat[i] = (log10f(band[i] + 1.0f) - 8.0f) / 4.0f;
    }
    int two = st->two_mics && mic2 != NULL;
    if (two) {
        analyse_mic(st, io->fft, st->hist1, mic1, time, a);
        analyse_mic(st, io->fft, st->hist2, mic2, time, b);
        coherence(st, bands, a, b, tmp, feat + VQE_BANDS);
    } else {
        for (int i = 0; i < VQE_BANDS; i++) {
            feat[VQE_BANDS + i] = 1.0f;
        }
    }
    vqe_wnr_net_step(&st->net, feat, st->band_gain);
    audio_vqe_banding_inverse(bands, st->band_gain, st->gain);
    st->gain[VQE_BINS - 1] = st->gain[VQE_BINS - 2];
    const float fl2 = st->floor * st->floor, ws = WNR_WIND_SMOOTH;
    for (int k = 0; k < VQE_BINS; k++) {
        float g = st->gain[k];
        float w;
        if (two) {
            float cross = sqrtf(st->s12_re[k] * st->s12_re[k] + st->s12_im[k] * st->s12_im[k]);
            w = 0.5f * ((st->s11[k] + st->s22[k]) * 0.5f - cross);
            w = w > 0.0f ? w : 0.0f;
            /* the coherent part over the whole: a Wiener gain of its own on the wind estimate */
            float gc = cross / (cross + w + 1e-3f);
            g *= gc > st->floor ? gc : st->floor;
        } else {
            w = (1.0f - g * g) * pow_[k];
        }
        st->wind[k] = ws * st->wind[k] + (1.0f - ws) * w;
        if (!isfinite(st->wind[k])) {
            st->wind[k] = 0.0f;
        }
        y[2 * k] *= g;
        y[2 * k + 1] *= g;
        if (st->cn_on) {
            /* comfort noise up to the limit, never above what the bin held */
            float want = fl2 * st->wind[k];
            want = want < fl2 * pow_[k] ? want : fl2 * pow_[k];
            float add = want - g * g * st->wind[k];
            if (add > 0.0f) {
                float amp = sqrtf(1.5f * add);
                y[2 * k] += amp * cn_unit(&st->seed);
                y[2 * k + 1] += amp * cn_unit(&st->seed);
            }
        }
    }
    return 0;
}
