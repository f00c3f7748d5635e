/*
 * Speed of the talk core's complex transform (the 256-point complex step of the 512-point real
 * transform): the plain C passes and, in 32-bit ARM builds with NEON, the NEON passes, on the
 * same data. Prints microseconds per transform and their ratio. Under qemu only the ratio
 * means anything, and only roughly (qemu is not the device). Run: bench_talkv2_fft [rounds]
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "vqe_fft.h"

static double now_s(void) {
    struct timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

/* Microseconds per call of `fn` over `rounds` calls on a copy of `src` refreshed every call. */
static double time_us(void (*fn)(const vqe_fft *, float *), const vqe_fft *f, const float *src, int rounds) {
    float z[VQE_FFT_MAX];
    double t0 = now_s();
    for (int r = 0; r < rounds; r++) {
        memcpy(z, src, sizeof(float) * (size_t)f->n);
        fn(f, z);
    }
    return (now_s() - t0) * 1e6 / rounds;
}

int main(int argc, char **argv) {
    int rounds = argc > 1 ? atoi(argv[1]) : 20000;
    if (rounds < 1) {
        fprintf(stderr, "usage: bench_talkv2_fft [rounds]\n");
        return 2;
    }
    vqe_fft f;
    vqe_fft_init(&f, 512);
    float src[VQE_FFT_MAX];
    unsigned s = 7;
    for (int i = 0; i < 512; i++) {
        s = s * 1103515245u + 12345u;
        src[i] = (float)((int)(s >> 16) % 6000 - 3000);
    }
    double plain = time_us(vqe_fft_complex_plain, &f, src, rounds);
    printf("complex transform, 256 points: plain C %.2f us", plain);
#ifdef VQE_FFT_NEON
    double neon = time_us(vqe_fft_complex_neon, &f, src, rounds);
    printf(", NEON %.2f us, plain / NEON %.2f\n", neon, plain / neon);
#else
    printf(" (this build has no NEON transform)\n");
#endif
    return 0;
}
