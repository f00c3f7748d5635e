#include "record_rnr.h"

#include "audio_eq.h"
#include "record_common.h"

#define LOG_DB       10885 /* one dB in log2 Q15 units of power (32768 / 3.0103) */
#define LOG_FLOOR    (-(60 << 15))
#define OVERSUB_Q15  65536 /* 2.0 */
#define LOW_CUT_Q15  328   /* -40 dB: the high-pass pre-filter up to 80 Hz */
#define FLOOR_BELOW  6     /* dB of gain floor below the depth aimed at in pauses */
#define TONAL_TOP_HZ 6000  /* engine, fan and motor tones lie below; higher bins follow their band */

/* Upper band edges in Hz, about one Bark wide, up to 24000 Hz. */
static const int32_t band_edges[] = {100,  200,  300,  400,  510,   630,   770,   920,  1080,
                                     1270, 1480, 1720, 2000, 2320,  2700,  3150,  3700, 4400,
                                     5300, 6400, 7700, 9500, 12000, 15500, 20000, 24000};
#define BAND_EDGE_COUNT ((int)(sizeof(band_edges) / sizeof(band_edges[0])))

/* Bias of a band's tracked minimum below its mean noise, in log2 Q15: about 6 dB for a single
 * bin, shrinking with the square root of the band's bin count towards 1.5 dB. */
static int32_t band_bias(int bins) {
    uint32_t r = rec_isqrt64((uint64_t)bins << 16); /* sqrt(bins) in Q8 */
    return (int32_t)(3 * LOG_DB / 2 + (int64_t)(9 * LOG_DB / 2) * 256 / (r ? r : 1));
}

int record_record_zorvo_rnr_init(record_rnr_state *st, int rate_code, int channels) {
    if (st == NULL) {
        return -1;
    }
    if (rate_code != 1 && rate_code != 2) {
        return -2;
    }
    if (channels < 1 || channels > RECORD_RNR_CHANNELS) {
        return -3;
    }
    audio_fill(st, sizeof(*st), 0, sizeof(*st));
    st->rate_code = rate_code;
    st->hop = rate_code == 1 ? 160 : 480;
    st->nfft = rate_code == 1 ? 512 : 1024;
    int32_t fs = rate_code == 1 ? 16000 : 48000;
    st->channels = channels;
    st->depth_db = 12;
    st->comfort_dbfs = -45;
    st->tonal = 1;
    st->rise = 50;
    record_zorvo_fft_init(&st->plan, st->nfft / 2);
    for (int i = 0; i < 2 * st->hop; i++) {
        /* sin(pi (i + 0.5) / 2hop): phase (2i + 1) / (8 hop) of a turn */
        int32_t s;
        audio_eq_sincos((uint32_t)(((uint64_t)(2 * i + 1) << 32) / (uint64_t)(8 * st->hop)), &s, NULL);
        st->window[i] = (int16_t)((s + (1 << 14)) >> 15 > 32767 ? 32767 : (s + (1 << 14)) >> 15);
    }
    /* bands: bin ranges of the edges below fs / 2 */
    int bins = st->nfft / 2 + 1, b = 0;
    st->band_start[0] = 0;
    for (int e = 0; e < BAND_EDGE_COUNT && band_edges[e] <= fs / 2; e++) {
        int end = (int)(((int64_t)band_edges[e] * st->nfft + fs / 2) / fs);
        if (e == BAND_EDGE_COUNT - 1 || band_edges[e] == fs / 2 || end >= bins) {
            end = bins;
        }
        if (end > st->band_start[b]) {
            st->band_start[++b] = (int16_t)end;
        }
        if (end >= bins) {
            break;
        }
    }
    if (st->band_start[b] < bins) {
        st->band_start[++b] = (int16_t)bins; /* the last band runs to half the rate */
    }
    st->bands = b;
    for (int k = 0; k < b; k++) {
        st->bias[k] = band_bias(st->band_start[k + 1] - st->band_start[k]);
    }
    for (int c = 0; c < RECORD_RNR_CHANNELS; c++) {
        for (int k = 0; k < RECORD_RNR_BANDS; k++) {
            st->ch[c].level[k] = LOG_FLOOR;
            st->ch[c].noise[k] = LOG_FLOOR;
            st->ch[c].gain[k] = 32767;
        }
        for (int k = 0; k < RECORD_RNR_BINS; k++) {
            st->ch[c].tone[k] = LOG_FLOOR;
        }
    }
    st->tag = st->tag_tail = RECORD_RNR_TAG;
    return 0;
}

int record_record_zorvo_rnr_set_params(record_rnr_state *st, const void *block) {
    if (st == NULL || block == NULL) {
        return -1;
    }
    const uint8_t *p = block;
    int32_t depth = rec_rd32(p), rise = rec_rd32(p + 12);
    if (depth < 0 || depth > 60 || rise < 0 || rise > 1000) {
        return -4;
    }
    st->depth_db = depth;
    st->comfort_dbfs = rec_rd32(p + 4);
    st->tonal = rec_rd32(p + 8) != 0;
    st->rise = rise;
    st->spare[0] = rec_rd32(p + 16);
    st->spare[1] = rec_rd32(p + 20);
    return 0;
}

int record_record_zorvo_rnr_get_params(const record_rnr_state *st, void *block) {
    if (st == NULL || block == NULL) {
        return -1;
    }
    uint8_t *p = block;
    rec_wr32(p, st->depth_db);
    rec_wr32(p + 4, st->comfort_dbfs);
    rec_wr32(p + 8, st->tonal);
    rec_wr32(p + 12, st->rise);
    rec_wr32(p + 16, st->spare[0]);
    rec_wr32(p + 20, st->spare[1]);
    return 0;
}

int record_record_fnr_speech(const record_rnr_state *st, int ch) {
    return st != NULL && ch >= 0 && ch < st->channels && st->ch[ch].vad.speech;
}

static void process_channel(record_rnr_state *st, record_rnr_channel *c, const int32_t *in, int32_t *out) {
    int hop = st->hop, n = st->nfft, half = n / 2;
    int32_t buf[1024 + 2];
    record_cpx bins[513];
    /* window the previous and the new frame, find the block exponent */
    uint32_t peak = 0;
    for (int i = 0; i < 2 * hop; i++) {
        int32_t v = i < hop ? c->prev[i] : in[i - hop];
        int32_t w = (int32_t)(((int64_t)v * st->window[i]) >> 15);
        buf[i] = w;
        uint32_t a = w < 0 ? (uint32_t)0 - (uint32_t)w : (uint32_t)w;
        peak = a > peak ? a : peak;
    }
    for (int i = 0; i < hop; i++) {
        c->prev[i] = in[i];
    }
    for (int i = 2 * hop; i < n; i++) {
        buf[i] = 0;
    }
    int sh = 0;
    while (peak != 0 && peak < (1u << 27) && sh < 28) {
        peak <<= 1;
        sh++;
    }
    while (peak >= (1u << 28)) {
        peak >>= 1;
        sh--;
    }
    for (int i = 0; i < 2 * hop; i++) {
        buf[i] = sh >= 0 ? buf[i] * (1 << sh) : buf[i] >> -sh;
    }
    record_zorvo_fft_r2c_fwd_scaled(&st->plan, buf, bins);

    /* band levels (log2 of the mean power, at the true scale) */
    int32_t lv[RECORD_RNR_BANDS];
    int64_t noise_sum_log = LOG_FLOOR;
    int32_t speech_snr = 0, speech_bands = 0;
    int fs = st->rate_code == 1 ? 16000 : 48000;
    int32_t rise = (int32_t)((int64_t)st->rise * LOG_DB / 10 * hop / fs); /* per frame */
    for (int b = 0; b < st->bands; b++) {
        uint64_t sum = 0;
        int k0 = st->band_start[b], k1 = st->band_start[b + 1];
        for (int k = k0; k < k1; k++) {
            sum += (uint64_t)((int64_t)bins[k].r * bins[k].r + (int64_t)bins[k].i * bins[k].i) >> 8;
        }
        sum /= (uint64_t)(k1 - k0);
        int32_t l = sum ? rec_log2_q15(sum) + (8 << 15) - sh * 65536 : LOG_FLOOR;
        lv[b] = l;
        c->level[b] += (l - c->level[b]) / 4;
        if (c->frames < 4) {
            c->level[b] = l;
        }
        int32_t s = c->level[b];
        if (c->frames < 10 || s < c->noise[b]) {
            c->noise[b] = s; /* the first frames set the noise level, lower levels take it down */
        } else if (!c->vad.speech) {
            c->noise[b] += s - c->noise[b] < rise ? s - c->noise[b] : rise;
        }
        int32_t nb = c->noise[b] + st->bias[b];
        int32_t f0 = (int32_t)((int64_t)k0 * fs / n), f1 = (int32_t)((int64_t)k1 * fs / n);
        if (f0 >= 300 && f1 <= 4000) {
            speech_snr += l - nb;
            speech_bands++;
        }
        /* total noise power: log2 of the sum over bands of count x mean */
        int32_t lb = nb + rec_log2_q15((uint64_t)(k1 - k0));
        int64_t hi = lb > noise_sum_log ? lb : noise_sum_log, lo = lb > noise_sum_log ? noise_sum_log : lb;
        /* log2(2^hi + 2^lo) ~ hi + log2(1 + 2^(lo - hi)) */
        int64_t d = hi - lo;
        noise_sum_log =
            d > (20 << 15)
                ? hi
                : hi + rec_log2_q15((1ull << 20) + (uint64_t)rec_pow2_q15((int32_t)-d, 20)) - (20 << 15);
    }
    record_record_zorvo_vdr_snr_decide(&c->vad, speech_snr, speech_bands, 4 * LOG_DB, 8);
    /* the noise level in dBFS: the half spectrum of a transform divided by n/2 carries
     * 2 / n of the windowed energy; the window's energy is one hop of the signal */
    int32_t log_ms16 = (int32_t)noise_sum_log + rec_log2_q15((uint64_t)n << 10) - (10 << 15) -
                       rec_log2_q15((uint64_t)(2 * hop)) - ((2 * REC_CHAIN_SHIFT) << 15);
    int32_t noise_db16 = (int32_t)(((int64_t)(log_ms16 - (30 << 15)) * 1578264) >> 30); /* 1/16 dB */
    int pass = noise_db16 < st->comfort_dbfs * 16;
    int32_t floor = rec_db16_to_q15(-16 * (st->depth_db + FLOOR_BELOW));
    int64_t floor2 = ((int64_t)floor * floor) >> 15;

    int32_t bin_gain[513];
    int tonal_top = (int)((int64_t)TONAL_TOP_HZ * n / fs);
    for (int b = 0; b < st->bands; b++) {
        int k0 = st->band_start[b], k1 = st->band_start[b + 1];
        int32_t nb = c->noise[b] + st->bias[b];
        int32_t g;
        if (pass) {
            g = 32767;
        } else {
            /* noise over signal, then G^2 = 1 - 1.5 r, floored */
            int32_t r = rec_pow2_q15(nb - lv[b] > (16 << 15) ? 16 << 15 : nb - lv[b], 15);
            int64_t g2 = 32768 - (((int64_t)r * OVERSUB_Q15) >> 15);
            g2 = g2 < floor2 ? floor2 : g2;
            g = (int32_t)rec_isqrt64((uint64_t)g2 << 15);
            g = g > 32767 ? 32767 : g;
        }
        c->gain[b] = g > c->gain[b] ? g : c->gain[b] + (g - c->gain[b]) / 2;
        for (int k = k0; k < k1; k++) {
            bin_gain[k] = c->gain[b];
            if (st->tonal && !pass && k <= tonal_top) {
                int64_t p = (int64_t)bins[k].r * bins[k].r + (int64_t)bins[k].i * bins[k].i;
                int32_t lk = p ? rec_log2_q15((uint64_t)p) - sh * 65536 : LOG_FLOOR;
                /* slow level of the bin; only the stationary part matters */
                c->tone[k] += (lk - c->tone[k]) / 32;
                if (c->tone[k] > nb + 9 * LOG_DB && lk < c->tone[k] + 3 * LOG_DB) {
                    int32_t r = rec_pow2_q15(
                        c->tone[k] + 3 * LOG_DB / 2 - lk > 0 ? 0 : c->tone[k] + 3 * LOG_DB / 2 - lk, 15);
                    int64_t g2 = 32768 - (((int64_t)r * OVERSUB_Q15) >> 15);
                    g2 = g2 < floor2 ? floor2 : g2;
                    int32_t gt = (int32_t)rec_isqrt64((uint64_t)g2 << 15);
                    bin_gain[k] = gt < bin_gain[k] ? gt : bin_gain[k];
                }
            }
        }
    }
    int low = (int)(80LL * n / fs);
    for (int k = 0; k <= half; k++) {
        int32_t g = k <= low ? LOW_CUT_Q15 : bin_gain[k];
        bins[k].r = (int32_t)(((int64_t)bins[k].r * g) >> 15);
        bins[k].i = (int32_t)(((int64_t)bins[k].i * g) >> 15);
    }
    record_zorvo_fft_c2r_inv_scaled(&st->plan, bins, buf);
    /* back to the chain's scale: times n / 2 (the inverse divided by it), undo the exponent */
    int up = st->plan.log2n - sh;
    for (int i = 0; i < 2 * hop; i++) {
        int64_t v = up >= 0 ? (int64_t)buf[i] * ((int64_t)1 << up) : (int64_t)buf[i] >> -up;
        v = (v * st->window[i]) >> 15;
        if (i < hop) {
            out[i] = rec_sat32((int64_t)c->ola[i] + v);
        } else {
            c->ola[i - hop] = rec_sat32(v);
        }
    }
    c->frames = c->frames < 1000000 ? c->frames + 1 : c->frames;
}

int record_record_zorvo_rnr_apply(record_rnr_state *st, const int32_t *in1, const int32_t *in2, int32_t *out1,
                                  int32_t *out2) {
    if (st == NULL) {
        return -1;
    }
    if (st->tag != RECORD_RNR_TAG || st->tag_tail != RECORD_RNR_TAG) {
        return -5;
    }
    if (in1 == NULL || out1 == NULL || (st->channels == 2 && (in2 == NULL || out2 == NULL))) {
        return -6;
    }
    process_channel(st, &st->ch[0], in1, out1);
    if (st->channels == 2) {
        process_channel(st, &st->ch[1], in2, out2);
    }
    return 0;
}
