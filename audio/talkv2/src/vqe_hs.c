/* Howling suppression and the shared band analysis; the method is described in vqe_hs.h. */
#include "vqe_hs.h"

#include <math.h>
#include <string.h>

#include "vqe_internal.h"

_Static_assert(sizeof(vqe_hs) <= VQE_MEM_HS, "howling suppression fits its memory");

#define HS_HOP_S    0.016 /* seconds per frame */
#define HS_FRAME_HZ 62.5  /* frames per second */
#define HS_TWO_PI   6.283185307179586
#define HS_TINY     1e-12f /* power floor of the log mean */

static const int16_t g_band_start[VQE_BANDS] = {0,  1,  3,  5,  7,  10, 13,  17,  21,  27,
                                                33, 41, 51, 62, 75, 91, 111, 134, 161, 194};
static const int16_t g_band_end[VQE_BANDS] = {1,  3,  5,  8,  11,  15,  19,  25,  31,  39,
                                              49, 60, 73, 89, 109, 132, 159, 192, 232, 255};

void audio_vqe_banding_init(vqe_banding *b) {
    int16_t at = 0;
    for (int i = 0; i < VQE_BANDS; i++) {
        b->start[i] = g_band_start[i];
        b->end[i] = g_band_end[i];
        b->offset[i] = at;
        at = (int16_t)(at + g_band_end[i] - g_band_start[i] + 1);
    }
    for (int i = at; i < VQE_BAND_WEIGHTS; i++) {
        b->matrix[i] = 0.0f;
    }
    /* Each bin shared by bands i and i + 1 (bins start[i + 1] .. end[i]) rises along a
     * sine-squared ramp for band i + 1 and falls along its complement for band i. */
    for (int i = 0; i < VQE_BANDS; i++) {
        int lo = i > 0 ? b->end[i - 1] : -1;                 /* last bin shared with the band below */
        int hi = i + 1 < VQE_BANDS ? b->start[i + 1] : 1000; /* first bin shared with the one above */
        for (int k = b->start[i]; k <= b->end[i]; k++) {
            double w = 1.0;
            if (k <= lo) {
                int len = lo - b->start[i] + 1;
                double x = M_PI / 2 * (k - b->start[i] + 1) / (len + 1);
                w = sin(x) * sin(x);
            } else if (k >= hi) {
                int len = b->end[i] - hi + 1;
                double x = M_PI / 2 * (k - hi + 1) / (len + 1);
                w = cos(x) * cos(x);
            }
            b->matrix[b->offset[i] + k - b->start[i]] = (float)w;
        }
    }
}

void audio_vqe_banding_forward(const vqe_banding *b, const float *bin_power, float *band) {
    for (int i = 0; i < VQE_BANDS; i++) {
        const float *w = b->matrix + b->offset[i];
        float e = 0.0f;
        for (int k = b->start[i]; k <= b->end[i]; k++) {
            e += w[k - b->start[i]] * bin_power[k];
        }
        band[i] = e;
    }
}

void audio_vqe_banding_inverse(const vqe_banding *b, const float *band, float *bins) {
    for (int k = 0; k < VQE_BINS; k++) {
        bins[k] = 0.0f;
    }
    for (int i = 0; i < VQE_BANDS; i++) {
        const float *w = b->matrix + b->offset[i];
        for (int k = b->start[i]; k <= b->end[i]; k++) {
            bins[k] += w[k - b->start[i]] * band[i];
        }
    }
}

size_t audio_vqe_hs_get_size(void) {
    return VQE_MEM_HS;
}

static int32_t clamp_i32(int32_t v, int32_t lo, int32_t hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

/* exp(-hop / t): the per-frame factor of a time constant t in seconds (0 when t is 0). */
static float frame_factor(double t) {
    return t > 0.0 ? (float)exp(-HS_HOP_S / t) : 0.0f;
}

void audio_vqe_hs_clamp_params(const uint8_t *blk, vqe_hs_params *o) {
    o->detect_ms = clamp_i32(vqe_i32(blk, 0), 0, 1000000);
    o->attack_ms = clamp_i32(vqe_i32(blk, 4), 0, 1000000);
    o->release_s = clamp_i32(vqe_i32(blk, 8), 0, 200);
    o->min_gain_pct = clamp_i32(vqe_i32(blk, 12), 0, 100);
    o->ratio_pct = clamp_i32(vqe_i32(blk, 16), 0, 100);
    o->smooth_ms = clamp_i32(vqe_i32(blk, 20), 0, 1000000);
    o->shift_hz = clamp_i32(vqe_i32(blk, 24), 0, 40);
    long k = lround(o->detect_ms / 1000.0 / HS_HOP_S);
    o->detect_frames = k < 1 ? 1 : (int32_t)k;
    o->attack = frame_factor(o->attack_ms / 1000.0);
    o->release = frame_factor((double)o->release_s);
    o->smooth = frame_factor(o->smooth_ms / 1000.0);
    o->min_gain = (float)o->min_gain_pct / 100.0f;
    o->ratio = (float)o->ratio_pct / 100.0f;
    o->phase_step = (float)fmod(HS_TWO_PI * o->shift_hz / HS_FRAME_HZ, HS_TWO_PI);
}

int audio_vqe_hs_init(vqe_hs *st, const uint8_t *blk) {
    if (st == NULL || blk == NULL) {
        return -1;
    }
    memset(st, 0, sizeof(*st));
    audio_vqe_hs_clamp_params(blk, &st->prm);
    for (int i = 0; i < VQE_BANDS; i++) {
        st->gain[i] = 1.0f;
    }
    audio_vqe_banding_init(&st->bands);
    st->guard0 = st->guard1 = VQE_GUARD;
    return 0;
}

static int hs_ok(const vqe_hs *st) {
    if (st == NULL) {
        return -1;
    }
    return st->guard0 == VQE_GUARD && st->guard1 == VQE_GUARD ? 0 : -2;
}

int audio_vqe_hs_calc_gains(vqe_hs *st, const float *bins, float *gains) {
    int r = hs_ok(st);
    if (r != 0 || bins == NULL || gains == NULL) {
        return r != 0 ? r : -1;
    }
    const vqe_hs_params *q = &st->prm;
    const float s = q->smooth;
    for (int k = 0; k < VQE_BINS; k++) {
        float re = bins[2 * k], im = bins[2 * k + 1];
        float p = s * st->power[k] + (1.0f - s) * (re * re + im * im);
        st->power[k] = isfinite(p) ? p : 0.0f;
    }
    const vqe_banding *b = &st->bands;
    for (int i = 0; i < VQE_BANDS; i++) {
        double log_sum = 0.0, sum = 0.0;
        int n = b->end[i] - b->start[i] + 1;
        for (int k = b->start[i]; k <= b->end[i]; k++) {
            log_sum += log((double)st->power[k] + HS_TINY);
            sum += st->power[k];
        }
        double geo = exp(log_sum / n), mean = sum / n;
        int peaky = geo < (double)q->ratio * mean;
        int32_t c = st->count[i] + (peaky ? 1 : -1);
        st->count[i] = clamp_i32(c, 0, q->detect_frames);
        float g = st->gain[i];
        if (st->count[i] == q->detect_frames) {
            g *= q->attack;
        } else if (st->count[i] == 0) {
            g = q->release * g + (1.0f - q->release);
        }
        g = g < q->min_gain ? q->min_gain : (g > 1.0f ? 1.0f : g);
        st->gain[i] = g;
    }
    audio_vqe_banding_inverse(b, st->gain, gains);
    gains[VQE_BINS - 1] = gains[VQE_BINS - 2]; /* the Nyquist bin follows the top band */
    return 0;
}

void audio_vqe_hs_apply_gains(const float *gains, float *bins) {
    for (int k = 0; k < VQE_BINS; k++) {
        bins[2 * k] *= gains[k];
        bins[2 * k + 1] *= gains[k];
    }
}

int audio_vqe_hs_shift_freq(vqe_hs *st, float *bins) {
    int r = hs_ok(st);
    if (r != 0 || bins == NULL) {
        return r != 0 ? r : -1;
    }
    float c = cosf(st->phase), sn = sinf(st->phase);
    if (st->phase != 0.0f) {
        for (int k = 0; k < VQE_BINS; k++) {
            float re = bins[2 * k], im = bins[2 * k + 1];
            bins[2 * k] = re * c - im * sn;
            bins[2 * k + 1] = re * sn + im * c;
        }
    }
    st->phase = (float)fmod((double)st->phase + st->prm.phase_step, HS_TWO_PI);
    return 0;
}
