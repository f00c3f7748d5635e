/*
 * NEON form of the complex transform of vqe_fft.c, for 32-bit ARM builds with NEON
 * (VQE_FFT_NEON). The same bit-reversal and the same radix-2 passes with the same twiddles:
 * the first pass (no twiddles) runs eight butterflies per load, the second (twiddles 1 and -i)
 * stays scalar, every later pass runs four butterflies at a time on de-interleaved real and
 * imaginary parts. Such a pass loads four twiddles once and applies them to every group of the
 * pass, so the strided twiddle table is read once per pass.
 */
#include "vqe_fft.h"

#if defined(VQE_FFT_NEON) && (defined(__ARM_NEON) || defined(__ARM_NEON__))
#include <arm_neon.h>

/* The first pass: sums and differences of neighbours, eight butterflies per load (vld4 puts
 * the even values' real and imaginary parts in two registers and the odd values' in two more). */
static void first_pass_neon(float *z, int m) {
    for (int i = 0; i < 2 * m; i += 16) {
        float32x4x4_t v = vld4q_f32(z + i), o;
        o.val[0] = vaddq_f32(v.val[0], v.val[2]);
        o.val[1] = vaddq_f32(v.val[1], v.val[3]);
        o.val[2] = vsubq_f32(v.val[0], v.val[2]);
        o.val[3] = vsubq_f32(v.val[1], v.val[3]);
        vst4q_f32(z + i, o);
    }
}

static void pass_neon(const vqe_fft *f, float *z, int half) {
    int m = f->m, stride = m / (2 * half);
    for (int j = 0; j < half; j += 4) {
        float r[4], i[4];
        for (int l = 0; l < 4; l++) {
            r[l] = f->wt[2 * (j + l) * stride];
            i[l] = f->wt[2 * (j + l) * stride + 1];
        }
        float32x4_t wr = vld1q_f32(r), wi = vld1q_f32(i);
        for (int g = 0; g < m; g += 2 * half) {
            float *a = z + 2 * (g + j), *b = z + 2 * (g + j + half);
            float32x4x2_t va = vld2q_f32(a), vb = vld2q_f32(b), oa, ob;
            float32x4_t tr = vmlsq_f32(vmulq_f32(wr, vb.val[0]), wi, vb.val[1]);
            float32x4_t ti = vmlaq_f32(vmulq_f32(wr, vb.val[1]), wi, vb.val[0]);
            ob.val[0] = vsubq_f32(va.val[0], tr);
            ob.val[1] = vsubq_f32(va.val[1], ti);
            oa.val[0] = vaddq_f32(va.val[0], tr);
            oa.val[1] = vaddq_f32(va.val[1], ti);
            vst2q_f32(b, ob);
            vst2q_f32(a, oa);
        }
    }
}

void vqe_fft_complex_neon(const vqe_fft *f, float *z) {
    vqe_fft_bitrv2(f, z);
    first_pass_neon(z, f->m);
    vqe_fft_cftmdl(f, z, 2);
    for (int half = 4; half < f->m; half *= 2) {
        pass_neon(f, z, half);
    }
}
#else
/* Built without NEON: the plain transform of vqe_fft.c is the only one. */
typedef int vqe_fft_neon_absent;
#endif
