#include "record_fft.h"

#include "audio_eq.h"

int record_zorvo_fft_init(record_fft_plan *plan, int n) {
    if (plan == NULL || (n != 128 && n != 256 && n != 512 && n != 1024)) {
        return -1;
    }
    plan->n = n;
    plan->log2n = 0;
    while ((1 << plan->log2n) < n) {
        plan->log2n++;
    }
    for (int k = 0; k < n / 2; k++) {
        int32_t s, c;
        audio_eq_sincos((uint32_t)(((uint64_t)k << 32) / (uint64_t)n), &s, &c);
        plan->tw[k].r = c;
        plan->tw[k].i = -s;
        audio_eq_sincos((uint32_t)(((uint64_t)k << 32) / (uint64_t)(2 * n)), &s, &c);
        plan->split[k].r = c;
        plan->split[k].i = -s;
    }
    return 0;
}

static void bit_reverse(record_cpx *x, int n) {
    for (int i = 1, j = 0; i < n; i++) {
        int bit = n >> 1;
        for (; j & bit; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            record_cpx t = x[i];
            x[i] = x[j];
            x[j] = t;
        }
    }
}

/* Radix-2 stages; inverse conjugates the twiddles; scale halves each stage's outputs. */
static void transform(const record_fft_plan *plan, record_cpx *x, int inverse, int scale) {
    int n = plan->n;
    bit_reverse(x, n);
    for (int len = 2, step = n / 2; len <= n; len <<= 1, step >>= 1) {
        int half = len / 2;
        for (int i = 0; i < n; i += len) {
            for (int k = 0; k < half; k++) {
                record_cpx w = plan->tw[k * step];
                int64_t wi = inverse ? -(int64_t)w.i : w.i;
                record_cpx *a = &x[i + k], *b = &x[i + k + half];
                int64_t tr = ((int64_t)b->r * w.r - (int64_t)b->i * wi + (1 << 29)) >> 30;
                int64_t ti = ((int64_t)b->r * wi + (int64_t)b->i * w.r + (1 << 29)) >> 30;
                int64_t ar = a->r, ai = a->i;
                if (scale) {
                    a->r = (int32_t)((ar + tr) >> 1);
                    a->i = (int32_t)((ai + ti) >> 1);
                    b->r = (int32_t)((ar - tr) >> 1);
                    b->i = (int32_t)((ai - ti) >> 1);
                } else {
                    a->r = (int32_t)(ar + tr);
                    a->i = (int32_t)(ai + ti);
                    b->r = (int32_t)(ar - tr);
                    b->i = (int32_t)(ai - ti);
                }
            }
        }
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
