#include "vqe_fft.h"

#include <math.h>

int vqe_fft_init(vqe_fft *f, int n) {
    if (n != 256 && n != 512) {
        return -1;
    }
    f->n = n;
    f->m = n / 2;
    int bits = 0;
    while ((1 << bits) < f->m) {
        bits++;
    }
    for (int i = 0; i < f->m; i++) {
        int r = 0;
        for (int b = 0; b < bits; b++) {
            r |= ((i >> b) & 1) << (bits - 1 - b);
        }
        f->rev[i] = (uint16_t)r;
    }
    vqe_fft_make_wt(f);
    vqe_fft_make_ct(f);
    return 0;
}

void vqe_fft_make_wt(vqe_fft *f) {
    for (int k = 0; k < f->m / 2; k++) {
        double ang = 2.0 * M_PI * k / f->m;
        f->wt[2 * k] = (float)cos(ang);
        f->wt[2 * k + 1] = (float)-sin(ang);
    }
}

void vqe_fft_make_ct(vqe_fft *f) {
    for (int k = 0; k <= f->m / 2; k++) {
        double ang = 2.0 * M_PI * k / f->n;
        f->ct[2 * k] = (float)cos(ang);
        f->ct[2 * k + 1] = (float)-sin(ang);
    }
}

void vqe_fft_bitrv2(const vqe_fft *f, float *z) {
    for (int i = 0; i < f->m; i++) {
        int r = f->rev[i];
        if (r > i) {
            float re = z[2 * i], im = z[2 * i + 1];
            z[2 * i] = z[2 * r];
            z[2 * i + 1] = z[2 * r + 1];
            z[2 * r] = re;
            z[2 * r + 1] = im;
        }
    }
}

/* Pairs of neighbours: the first pass needs no twiddles. */
void vqe_fft_cft1st(const vqe_fft *f, float *z) {
    for (int i = 0; i < 2 * f->m; i += 4) {
        float ar = z[i], ai = z[i + 1], br = z[i + 2], bi = z[i + 3];
        z[i] = ar + br;
        z[i + 1] = ai + bi;
        z[i + 2] = ar - br;
        z[i + 3] = ai - bi;
    }
}

/* One pass joining transforms of length `half` into transforms of length 2 * half. */
void vqe_fft_cftmdl(const vqe_fft *f, float *z, int half) {
    int stride = f->m / (2 * half);
    for (int g = 0; g < f->m; g += 2 * half) {
        for (int j = 0; j < half; j++) {
            float wr = f->wt[2 * j * stride], wi = f->wt[2 * j * stride + 1];
            float *a = z + 2 * (g + j), *b = z + 2 * (g + j + half);
            float tr = wr * b[0] - wi * b[1];
            float ti = wr * b[1] + wi * b[0];
            b[0] = a[0] - tr;
            b[1] = a[1] - ti;
            a[0] += tr;
            a[1] += ti;
        }
    }
}

void vqe_fft_complex_plain(const vqe_fft *f, float *z) {
    vqe_fft_bitrv2(f, z);
    vqe_fft_cft1st(f, z);
    for (int half = 2; half < f->m; half *= 2) {
        vqe_fft_cftmdl(f, z, half);
    }
}

static void complex_forward(const vqe_fft *f, float *z) {
#ifdef VQE_FFT_NEON
    vqe_fft_complex_neon(f, z);
#else
    vqe_fft_complex_plain(f, z);
#endif
}

static void conjugate(float *z, int m) {
    for (int i = 0; i < m; i++) {
        z[2 * i + 1] = -z[2 * i + 1];
    }
}

void vqe_fft_rdft(const vqe_fft *f, int dir, float *a) {
    int m = f->m;
    if (dir >= 0) {
        complex_forward(f, a);
        float r0 = a[0], i0 = a[1];
        a[0] = r0 + i0;
        a[1] = r0 - i0;
        for (int k = 1; k <= m / 2; k++) {
            float *p = a + 2 * k, *q = a + 2 * (m - k);
            float zr = p[0], zi = p[1], cr = q[0], ci = -q[1];
            float er = 0.5f * (zr + cr), ei = 0.5f * (zi + ci);
            /* O = -i (Zk - Zc) / 2 */
            float or_ = 0.5f * (zi - ci), oi = -0.5f * (zr - cr);
            float wr = f->ct[2 * k], wi = f->ct[2 * k + 1];
            float tr = wr * or_ - wi * oi, ti = wr * oi + wi * or_;
            p[0] = er + tr;
            p[1] = ei + ti;
            if (k != m - k) {
                q[0] = er - tr;
                q[1] = -(ei - ti);
            }
        }
        return;
    }
    float x0 = a[0], xm = a[1];
    a[0] = x0 + xm;
    a[1] = x0 - xm;
    for (int k = 1; k <= m / 2; k++) {
        float *p = a + 2 * k, *q = a + 2 * (m - k);
        float xr = p[0], xi = p[1], cr = q[0], ci = -q[1];
        float er = xr + cr, ei = xi + ci;
        float dr = xr - cr, di = xi - ci;
        /* O = (Xk - Xc) / W^k = (Xk - Xc) conj(W^k) */
        float wr = f->ct[2 * k], wi = -f->ct[2 * k + 1];
        float or_ = dr * wr - di * wi, oi = dr * wi + di * wr;
        /* Z[k] = E + i O, Z[m-k] = conj(E) + i conj(O) */
        p[0] = er - oi;
        p[1] = ei + or_;
        if (k != m - k) {
            q[0] = er + oi;
            q[1] = -ei + or_;
        }
    }
    conjugate(a, m);
    complex_forward(f, a);
    conjugate(a, m);
}

void vqe_fft_unpack(const vqe_fft *f, const float *packed, float *bins) {
    int m = f->m;
    bins[0] = packed[0];
    bins[1] = 0.0f;
    for (int k = 1; k < m; k++) {
        bins[2 * k] = packed[2 * k];
        bins[2 * k + 1] = packed[2 * k + 1];
    }
    bins[2 * m] = packed[1];
    bins[2 * m + 1] = 0.0f;
}

void vqe_fft_pack(const vqe_fft *f, const float *bins, float *packed) {
    int m = f->m;
    for (int k = 1; k < m; k++) {
        packed[2 * k] = bins[2 * k];
        packed[2 * k + 1] = bins[2 * k + 1];
    }
    packed[0] = bins[0];
    packed[1] = bins[2 * m];
}
