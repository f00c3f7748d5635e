/*
 * Fixed-point FFT of the echo canceller: radix-2 decimation in time on 32-bit complex values
 * with Q30 twiddles and 64-bit products, and the real transform of 2M points built on the
 * M-point complex one (even/odd packing and a split step).
 */
#include "aec_internal.h"

#define TW_POINTS 256 /* the twiddle table holds e^(j*2*pi*k/256), k < 128 */

static inline int32_t round30(int64_t v) {
    return aec_sat32((v + (1 << 29)) >> 30);
}

int zorvo_fft_get_buf_size_c_sc32(int order, int32_t *size) {
    if (size == 0 || order < 1 || order > 8) {
        return -1;
    }
    *size = (int32_t)(sizeof(zorvo_cpx32) << order);
    return 0;
}

int zorvo_fft_init_c_sc32(zorvo_fft_c_sc32 *plan, int order) {
    if (plan == 0 || order < 1 || order > 8) {
        return -1;
    }
    plan->order = order;
    plan->points = 1 << order;
    return 0;
}

/* Bit-reversed order of 8-bit indices; an order-m index reverses to rev8[i] >> (8 - m). */
static const uint8_t g_rev8[256] = {
#define R2(n) n, n + 128, n + 64, n + 192
#define R4(n) R2(n), R2(n + 32), R2(n + 16), R2(n + 48)
#define R6(n) R4(n), R4(n + 8), R4(n + 4), R4(n + 12)
    R6(0),
    R6(2),
    R6(1),
    R6(3),
#undef R2
#undef R4
#undef R6
};

static void bit_reverse(zorvo_cpx32 *d, int n, int order) {
    int sh = 8 - order;
    for (int i = 0; i < n; i++) {
        int r = g_rev8[i] >> sh;
        if (r > i) {
            zorvo_cpx32 t = d[i];
            d[i] = d[r];
            d[r] = t;
        }
    }
}

/* Forward uses e^(-j), inverse e^(+j) and halves at every stage with rounding. Angles stay
 * below pi (j < len / 2), inside the table. */
static int fft_run(const zorvo_fft_c_sc32 *plan, zorvo_cpx32 *d, int inverse) {
    if (plan == 0 || d == 0 || plan->order < 1 || plan->order > 8 || plan->points != (1 << plan->order)) {
        return -1;
    }
    int n = plan->points;
    bit_reverse(d, n, plan->order);
    for (int len = 2; len <= n; len <<= 1) {
        int half = len >> 1;
        int step = TW_POINTS / len; /* table index step of e^(j*2*pi/len) */
        /* one twiddle per j for all groups; j = 0 multiplies by one */
        for (int j = 0; j < half; j++) {
            int64_t c = g_zorvo_fft_twiddle_table[2 * j * step];
            int64_t s = g_zorvo_fft_twiddle_table[2 * j * step + 1];
            if (!inverse) {
                s = -s;
            }
            for (int i = j; i < n; i += len) {
                zorvo_cpx32 *a = &d[i];
                zorvo_cpx32 *b = &d[i + half];
                int64_t xr, xi;
                if (j == 0) {
                    xr = b->re;
                    xi = b->im;
                } else {
                    xr = round30((int64_t)b->re * c - (int64_t)b->im * s);
                    xi = round30((int64_t)b->re * s + (int64_t)b->im * c);
                }
                int64_t ar = a->re, ai = a->im;
                if (inverse) {
                    a->re = (int32_t)((ar + xr + 1) >> 1);
                    a->im = (int32_t)((ai + xi + 1) >> 1);
                    b->re = (int32_t)((ar - xr + 1) >> 1);
                    b->im = (int32_t)((ai - xi + 1) >> 1);
                } else {
                    a->re = aec_sat32(ar + xr);
                    a->im = aec_sat32(ai + xi);
                    b->re = aec_sat32(ar - xr);
                    b->im = aec_sat32(ai - xi);
                }
            }
        }
    }
    return 0;
}

int zorvo_fft_fwd_c_to_c_sc32_sfs(const zorvo_fft_c_sc32 *plan, zorvo_cpx32 *data) {
    return fft_run(plan, data, 0);
}

int zorvo_fft_inv_c_to_c_sc32_sfs(const zorvo_fft_c_sc32 *plan, zorvo_cpx32 *data) {
    return fft_run(plan, data, 1);
}

/* e^(-j*2*pi*k/(2M)) as (cos, sin) with the sign of sin positive (callers conjugate). */
static void split_twiddle(int m, int k, int64_t *c, int64_t *s) {
    int idx = k * (TW_POINTS / (2 * m));
    *c = g_zorvo_fft_twiddle_table[2 * idx];
    *s = g_zorvo_fft_twiddle_table[2 * idx + 1];
}

int zorvo_aec_realfft(const zorvo_fft_c_sc32 *plan, const int32_t *x, zorvo_cpx32 *X, zorvo_cpx32 *work) {
    if (plan == 0 || x == 0 || X == 0 || work == 0 || plan->points > TW_POINTS / 2) {
        return -1;
    }
    int m = plan->points;
    for (int n = 0; n < m; n++) {
        work[n].re = x[2 * n];
        work[n].im = x[2 * n + 1];
    }
    if (zorvo_fft_fwd_c_to_c_sc32_sfs(plan, work) != 0) {
        return -1;
    }
    /* X[k] = Xe[k] + W^k Xo[k], Xe = (Z[k] + Z*[m-k]) / 2, Xo = (Z[k] - Z*[m-k]) / 2j */
    X[0].re = aec_sat32((int64_t)work[0].re + work[0].im);
    X[0].im = 0;
    X[m].re = aec_sat32((int64_t)work[0].re - work[0].im);
    X[m].im = 0;
    for (int k = 1; k < m; k++) {
        zorvo_cpx32 z = work[k], w = work[m - k];
        int64_t er = (int64_t)z.re + w.re, ei = (int64_t)z.im - w.im;  /* 2 Xe */
        int64_t or_ = (int64_t)z.im + w.im, oi = (int64_t)w.re - z.re; /* 2 Xo */
        int64_t c, s;
        split_twiddle(m, k, &c, &s); /* W^k = c - j s */
        int64_t tr = or_ * c + oi * s;
        int64_t ti = oi * c - or_ * s;
        X[k].re = aec_sat32((er * (1LL << 30) + tr + (1LL << 30)) >> 31);
        X[k].im = aec_sat32((ei * (1LL << 30) + ti + (1LL << 30)) >> 31);
    }
    return 0;
}

int zorvo_aec_realifft(const zorvo_fft_c_sc32 *plan, const zorvo_cpx32 *X, int32_t *x, zorvo_cpx32 *work) {
    if (plan == 0 || x == 0 || X == 0 || work == 0 || plan->points > TW_POINTS / 2) {
        return -1;
    }
    int m = plan->points;
    /* Z[k] = Xe[k] + j Xo[k], Xe = (X[k] + X*[m-k]) / 2, Xo = (X[k] - X*[m-k]) e^(+j pi k/m) / 2 */
    for (int k = 0; k < m; k++) {
        zorvo_cpx32 a = X[k], b = X[m - k];
        int64_t er = (int64_t)a.re + b.re, ei = (int64_t)a.im - b.im;
        int64_t dr = (int64_t)a.re - b.re, di = (int64_t)a.im + b.im;
        int64_t c, s;
        split_twiddle(m, k, &c, &s);   /* e^(+j) = c + j s */
        int64_t orr = dr * c - di * s; /* 2 Xo, Q30 */
        int64_t oii = dr * s + di * c;
        /* Z = Xe + j Xo: re = Xe.re - Xo.im, im = Xe.im + Xo.re */
        work[k].re = aec_sat32((er * (1LL << 30) - oii + (1LL << 30)) >> 31);
        work[k].im = aec_sat32((ei * (1LL << 30) + orr + (1LL << 30)) >> 31);
    }
    if (zorvo_fft_inv_c_to_c_sc32_sfs(plan, work) != 0) {
        return -1;
    }
    for (int n = 0; n < m; n++) {
        x[2 * n] = work[n].re;
        x[2 * n + 1] = work[n].im;
    }
    return 0;
}
