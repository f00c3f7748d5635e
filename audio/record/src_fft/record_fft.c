#include "record_fft.h"

#include "audio_eq.h"

/* exp(-2 pi i num / den) in Q30 */
static record_cpx twiddle(uint64_t num, uint64_t den) {
    int32_t s, c;
    audio_eq_sincos((uint32_t)((num << 32) / den), &s, &c);
    return (record_cpx){c, -s};
}

int record_zorvo_fft_init(record_fft_plan *plan, int n) {
    if (plan == NULL || (n != 128 && n != 256 && n != 512 && n != 1024)) {
        return -1;
    }
    plan->n = n;
    plan->log2n = 0;
    while ((1 << plan->log2n) < n) {
        plan->log2n++;
    }
    plan->first_radix2 = plan->log2n & 1;
    for (int i = 0; i < n; i++) {
        int r = 0;
        for (int b = 0; b < plan->log2n; b++) {
            r |= ((i >> b) & 1) << (plan->log2n - 1 - b);
        }
        plan->rev[i] = (uint16_t)r;
    }
    int at = 0;
    for (int h = plan->first_radix2 ? 2 : 1; 4 * h <= n; h *= 4) {
        for (int k = 0; k < h; k++) {
            for (int m = 1; m <= 3; m++) {
                plan->stage_tw[at++] = twiddle((uint64_t)(m * k), (uint64_t)(4 * h));
            }
        }
    }
    for (int k = 0; k < n / 2; k++) {
        plan->split[k] = twiddle((uint64_t)k, (uint64_t)(2 * n));
    }
    return 0;
}

static inline record_cpx cmul(record_cpx a, record_cpx w, int inverse) {
    int64_t wi = inverse ? -(int64_t)w.i : w.i;
    return (record_cpx){(int32_t)(((int64_t)a.r * w.r - (int64_t)a.i * wi + (1 << 29)) >> 30),
                        (int32_t)(((int64_t)a.r * wi + (int64_t)a.i * w.r + (1 << 29)) >> 30)};
}

/* The first radix-2 stage (span 1, no products) of an odd power of two. */
static void radix2_first(record_cpx *x, int n, int shift) {
    for (int j = 0; j < n; j += 2) {
        int64_t ar = x[j].r, ai = x[j].i, br = x[j + 1].r, bi = x[j + 1].i;
        x[j].r = (int32_t)((ar + br) >> shift);
        x[j].i = (int32_t)((ai + bi) >> shift);
        x[j + 1].r = (int32_t)((ar - br) >> shift);
        x[j + 1].i = (int32_t)((ai - bi) >> shift);
    }
}

/* One radix-4 stage over blocks of 4h: two radix-2 stages (spans h and 2h) fused. With
 * t1 = W^2k x1, t2 = W^k x2, t3 = W^3k x3 and the forward sign s = -i (the backward +i):
 * y0 = x0 + t1 + (t2 + t3), y2 = x0 + t1 - (t2 + t3), y1 = x0 - t1 + s (t2 - t3),
 * y3 = x0 - t1 - s (t2 - t3). */
static void radix4_stage(record_cpx *x, int n, int h, const record_cpx *tw, int inverse, int shift) {
    for (int k = 0; k < h; k++) {
        record_cpx w1 = tw[3 * k], w2 = tw[3 * k + 1], w3 = tw[3 * k + 2];
        for (int j = k; j < n; j += 4 * h) {
            record_cpx x0 = x[j];
            /* the twiddles of k = 0 are 1: the products would give the samples back exactly */
            record_cpx t1 = k == 0 ? x[j + h] : cmul(x[j + h], w2, inverse);
            record_cpx t2 = k == 0 ? x[j + 2 * h] : cmul(x[j + 2 * h], w1, inverse);
            record_cpx t3 = k == 0 ? x[j + 3 * h] : cmul(x[j + 3 * h], w3, inverse);
            int64_t ar = (int64_t)x0.r + t1.r, ai = (int64_t)x0.i + t1.i;
            int64_t er = (int64_t)x0.r - t1.r, ei = (int64_t)x0.i - t1.i;
            int64_t sr = (int64_t)t2.r + t3.r, si = (int64_t)t2.i + t3.i;
            int64_t dr = (int64_t)t2.r - t3.r, di = (int64_t)t2.i - t3.i;
            if (inverse) { /* +i d = (-di, dr) */
                int64_t t = dr;
                dr = -di;
                di = t;
            } else { /* -i d = (di, -dr) */
                int64_t t = dr;
                dr = di;
                di = -t;
            }
            x[j].r = (int32_t)((ar + sr) >> shift);
            x[j].i = (int32_t)((ai + si) >> shift);
            x[j + 2 * h].r = (int32_t)((ar - sr) >> shift);
            x[j + 2 * h].i = (int32_t)((ai - si) >> shift);
            x[j + h].r = (int32_t)((er + dr) >> shift);
            x[j + h].i = (int32_t)((ei + di) >> shift);
            x[j + 3 * h].r = (int32_t)((er - dr) >> shift);
            x[j + 3 * h].i = (int32_t)((ei - di) >> shift);
        }
    }
}

/* inverse conjugates the twiddles; scale divides each stage's outputs by its radix. */
static void transform(const record_fft_plan *plan, record_cpx *x, int inverse, int scale) {
    int n = plan->n;
    for (int i = 0; i < n; i++) {
        int r = plan->rev[i];
        if (i < r) {
            record_cpx t = x[i];
            x[i] = x[r];
            x[r] = t;
        }
    }
    int h = 1;
    if (plan->first_radix2) {
        radix2_first(x, n, scale ? 1 : 0);
        h = 2;
    }
    const record_cpx *tw = plan->stage_tw;
    for (; 4 * h <= n; h *= 4) {
        radix4_stage(x, n, h, tw, inverse, scale ? 2 : 0);
        tw += 3 * h;
    }
}

void record_zorvo_fft_c2c_fwd_scaled(const record_fft_plan *plan, record_cpx *x) {
    transform(plan, x, 0, 1);
}
void record_zorvo_fft_c2c_fwd(const record_fft_plan *plan, record_cpx *x) {
    transform(plan, x, 0, 0);
}
void record_zorvo_fft_c2c_inv_scaled(const record_fft_plan *plan, record_cpx *x) {
    transform(plan, x, 1, 1);
}
void record_zorvo_fft_c2c_inv(const record_fft_plan *plan, record_cpx *x) {
    transform(plan, x, 1, 0);
}

/* W^k = exp(-2 pi i k / 2n) for k = 0..n: the table holds the first half; past it W^k is
 * -i W^(k - n/2), and W^n = -1. */
static record_cpx split_twiddle(const record_fft_plan *plan, int k) {
    int n = plan->n;
    if (k < n / 2) {
        return plan->split[k];
    }
    if (k == n) {
        return (record_cpx){-(1 << 30), 0};
    }
    record_cpx v = plan->split[k - n / 2];
    return (record_cpx){v.i, -v.r};
}

void record_zorvo_fft_r2c_fwd_scaled(const record_fft_plan *plan, int32_t *in, record_cpx *bins) {
    int n = plan->n;
    record_cpx *z = (record_cpx *)in; /* pairs (even, odd) are the complex points */
    transform(plan, z, 0, 1);
    /* X[k] = E[k] + W^k O[k], E = (Z[k] + conj Z[n-k]) / 2, O = (Z[k] - conj Z[n-k]) / 2i */
    for (int k = 0; k <= n; k++) {
        record_cpx a = z[k % n], b = z[(n - k) % n];
        int64_t er = ((int64_t)a.r + b.r) >> 1, ei = ((int64_t)a.i - b.i) >> 1;
        int64_t or_ = ((int64_t)a.i + b.i) >> 1, oi = -(((int64_t)a.r - b.r) >> 1);
        record_cpx w = split_twiddle(plan, k);
        bins[k].r = (int32_t)(er + ((or_ * w.r - oi * w.i + (1 << 29)) >> 30));
        bins[k].i = (int32_t)(ei + ((or_ * w.i + oi * w.r + (1 << 29)) >> 30));
    }
}

void record_zorvo_fft_c2r_inv_scaled(const record_fft_plan *plan, record_cpx *bins, int32_t *out) {
    int n = plan->n;
    record_cpx *z = (record_cpx *)out;
    /* E = (X[k] + conj X[n-k]) / 2, O = (X[k] - conj X[n-k]) / 2 * W^-k, Z = E + i O */
    for (int k = 0; k < n; k++) {
        record_cpx a = bins[k], b = bins[n - k];
        int64_t er = ((int64_t)a.r + b.r) >> 1, ei = ((int64_t)a.i - b.i) >> 1;
        int64_t dr = ((int64_t)a.r - b.r) >> 1, di = ((int64_t)a.i + b.i) >> 1;
        record_cpx w = split_twiddle(plan, k);
        /* times conj(W^k) */
        int64_t or_ = (dr * w.r + di * w.i + (1 << 29)) >> 30;
        int64_t oi = (di * w.r - dr * w.i + (1 << 29)) >> 30;
        z[k].r = (int32_t)(er - oi);
        z[k].i = (int32_t)(ei + or_);
    }
    transform(plan, z, 1, 1);
}
