#include "audio_eq.h"

const int32_t audio_eq_band_edge[AUDIO_EQ_BANDS] = {
    60,    100,   150,   200,   250,   350,   500,   800,   1200,  1600,  2000,  2400,  2500,
    2800,  3100,  3400,  3600,  3800,  3900,  4000,  4500,  5000,  5500,  6000,  6500,  7000,
    7300,  7600,  7800,  8000,  8800,  9600,  10400, 11200, 12000, 12800, 13600, 14400, 15200,
    16000, 16800, 17600, 18400, 19200, 20000, 20800, 21600, 22400, 23200, 24000,
};

/* atan(2^-i) as a fraction of a full turn, scaled by 2^32. */
static const int32_t cordic_angle[31] = {
    536870912, 316933406, 167458907, 85004756, 42667331, 21354465, 10679838, 5340245,
    2670163,   1335087,   667544,    333772,   166886,   83443,    41722,    20861,
    10430,     5215,      2608,      1304,     652,      326,      163,      81,
    41,        20,        10,        5,        3,        1,        1,
};
/* Product of the CORDIC steps' 1/sqrt(1 + 2^-2i), Q30: the start vector that ends at length 1. */
#define CORDIC_START 652032874

/* 2^(2^-k) for k = 1..24, Q30. */
static const int32_t pow2_frac[24] = {
    1518500250, 1276901417, 1170923762, 1121280436, 1097253708, 1085434106, 1079572136, 1076653033,
    1075196443, 1074468888, 1074105294, 1073923544, 1073832680, 1073787251, 1073764537, 1073753181,
    1073747502, 1073744663, 1073743244, 1073742534, 1073742179, 1073742001, 1073741913, 1073741868,
};
#define LOG2_10_OVER_20_Q24 2786635 /* log2(10) / 20 */
#define INV_PI_Q32          1367130551LL

int audio_eq_setup_for_rate(int32_t rate, audio_eq_setup *setup) {
    if (rate == 16000) {
        *setup = (audio_eq_setup){16000, 30, 160, 80, 512};
    } else if (rate == 48000) {
        *setup = (audio_eq_setup){48000, 50, 480, 160, 1024};
    } else {
        return -1;
    }
    return 0;
}

int audio_eq_check_gains(const int8_t gains[AUDIO_EQ_PARAMS], int32_t bands) {
    for (int32_t j = 0; j < bands && j < AUDIO_EQ_BANDS; j++) {
        int32_t g = (int32_t)gains[j] + gains[AUDIO_EQ_BANDS];
        if (g < AUDIO_EQ_GAIN_MIN || g > AUDIO_EQ_GAIN_MAX) {
            return -1;
        }
    }
    return 0;
}

void audio_eq_sincos(uint32_t phase, int32_t *sin_q30, int32_t *cos_q30) {
    /* Fold into -1/4..1/4 turn, where the rotation converges, and remember the half turn. */
    int32_t a = (int32_t)phase;
    int negate = 0;
    if (a > (1 << 30)) {
        a = (int32_t)((uint32_t)a - 0x80000000u);
        negate = 1;
    } else if (a < -(1 << 30)) {
        a = (int32_t)((uint32_t)a + 0x80000000u);
        negate = 1;
    }
    int32_t x = CORDIC_START, y = 0;
    for (int i = 0; i < 31; i++) {
        int32_t xs = x >> i, ys = y >> i;
        if (a >= 0) {
            x -= ys;
            y += xs;
            a -= cordic_angle[i];
        } else {
            x += ys;
            y -= xs;
            a += cordic_angle[i];
        }
    }
    if (sin_q30 != NULL) {
        *sin_q30 = negate ? -y : y;
    }
    if (cos_q30 != NULL) {
        *cos_q30 = negate ? -x : x;
    }
}

int32_t audio_pow2_frac_q30(uint32_t frac_q24) {
    int64_t r = 1LL << 30;
    for (int k = 1; k <= 24; k++) {
        if (frac_q24 & (1u << (24 - k))) {
            r = (r * pow2_frac[k - 1] + (1LL << 29)) >> 30;
        }
    }
    return (int32_t)r;
}

int32_t audio_eq_exp10_q12(int32_t db) {
    if (db < -90) {
        db = -90;
    } else if (db > 40) {
        db = 40;
    }
    /* 10^(db/20) = 2^e, e = db * log2(10) / 20 in Q24: a whole part and a fraction of 24 bits. */
    int32_t e = db * LOG2_10_OVER_20_Q24;
    int32_t whole = e >> 24; /* floor, also for negative e */
    int64_t r = audio_pow2_frac_q30((uint32_t)e & 0xFFFFFFu);
    /* Q30 to Q12 with the whole power: shift by 18 - whole. */
    int32_t shift = 18 - whole;
    if (shift <= 0) {
        return (int32_t)(r << -shift);
    }
    if (shift >= 62) {
        return 0;
    }
    return (int32_t)((r + (1LL << (shift - 1))) >> shift);
}

int32_t audio_eq_window_q14(int32_t k, int32_t half) {
    /* 0.5 - 0.5 cos(pi (k + 1) / H): the angle is (k + 1) / (2H) of a turn. */
    uint32_t phase = (uint32_t)(((uint64_t)(uint32_t)(k + 1) << 32) / (uint64_t)(2 * half));
    int32_t c;
    audio_eq_sincos(phase, NULL, &c);
    int32_t w = (int32_t)((((1LL << 30) - c) + (1LL << 16)) >> 17);
    return w > 16384 ? 16384 : (w < 0 ? 0 : w);
}

/* sin(2 pi f n / fs) / (pi n) in Q27; n may be zero (2 f / fs). The half-rate edge is exact. */
static int64_t sinc_term(int32_t f, int32_t n, int32_t fs) {
    if (f <= 0) {
        return 0;
    }
    if (2 * f >= fs) {
        return n == 0 ? (1LL << 27) : 0;
    }
    if (n == 0) {
        return ((int64_t)2 * f << 27) / fs;
    }
    int32_t an = n < 0 ? -n : n;
    uint32_t turn = (uint32_t)(((int64_t)f * an) % fs);
    uint32_t phase = (uint32_t)(((uint64_t)turn << 32) / (uint64_t)fs);
    int32_t s;
    audio_eq_sincos(phase, &s, NULL);
    if (n < 0) {
        s = -s; /* sin(-x) / (-pi n) keeps the sign of sin(x) / (pi n): the sign is in s and n */
    }
    return ((int64_t)s * INV_PI_Q32) / n >> 35;
}

int audio_eq_design(const audio_eq_setup *setup, const int8_t gains[AUDIO_EQ_PARAMS], int32_t *coef) {
    return audio_eq_design_windowed(setup, gains, NULL, coef);
}

int audio_eq_design_windowed(const audio_eq_setup *setup, const int8_t gains[AUDIO_EQ_PARAMS],
                             const int16_t *window_q14, int32_t *coef) {
    int32_t bands = setup->bands, half = setup->half, fs = setup->rate;
    if (audio_eq_check_gains(gains, bands) != 0) {
        return -1;
    }
    /* Segments of equal gain: their upper edges and linear gains (Q12). */
    int32_t edge[AUDIO_EQ_BANDS], lin[AUDIO_EQ_BANDS], segs = 0;
    for (int32_t j = 0; j < bands; j++) {
        if (j == bands - 1 || gains[j] != gains[j + 1]) {
            edge[segs] = j == bands - 1 ? fs / 2 : audio_eq_band_edge[j];
            lin[segs] = audio_eq_exp10_q12((int32_t)gains[j] + gains[AUDIO_EQ_BANDS]);
            segs++;
        }
    }
    for (int32_t k = 0; k < half; k++) {
        int32_t n = k - half + 1;
        int64_t acc = 0, low = 0;
        for (int32_t s = 0; s < segs; s++) {
            int64_t high = sinc_term(edge[s], n, fs);
            acc += (int64_t)lin[s] * (high - low); /* Q12 * Q27 */
            low = high;
        }
        int64_t h = (acc + (1LL << 19)) >> 20; /* Q39 -> Q19 */
        int32_t w = window_q14 != NULL ? window_q14[k] : audio_eq_window_q14(k, half);
        coef[k] = (int32_t)((h * w + (1 << 13)) >> 14);
    }
    for (int32_t k = 0; k < half - 1; k++) {
        coef[half + k] = coef[half - 2 - k];
    }
    coef[2 * half - 1] = 0;
    return 0;
}

static int32_t sat32(int64_t v) {
    return (int32_t)(v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : v));
}

void audio_eq_filter(const int32_t *coef, int32_t taps, int32_t *hist, const int32_t *in, int32_t *out,
                     int32_t n) {
    int32_t keep = taps - 1;
    /* The last `keep` inputs become the next history; take them before out may overwrite in. */
    int32_t tail[2 * AUDIO_EQ_MAX_HALF];
    for (int32_t i = 0; i < keep; i++) {
        tail[i] = in[n - keep + i];
    }
    /* Work from the end backwards so that an in-place call still reads unfiltered inputs. */
    for (int32_t i = n - 1; i >= 0; i--) {
        int64_t acc = 0;
        int32_t k = 0;
        for (; k <= i && k < taps; k++) {
            acc += (int64_t)coef[k] * in[i - k];
        }
        for (; k < taps; k++) {
            acc += (int64_t)coef[k] * hist[keep + i - k];
        }
        out[i] = sat32((acc + (1LL << 18)) >> AUDIO_EQ_COEF_SHIFT);
    }
    for (int32_t i = 0; i < keep; i++) {
        hist[i] = tail[i];
    }
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define EQ_HAVE_AVX2_PATH 1

/* The symmetric filter for x86-64 processors with AVX2, sixteen outputs at a time (n a multiple
 * of 16): four 32 x 32 -> 64-bit products an instruction, the sums held in registers over all
 * coefficient pairs. The same sums as the plain loop, so the same bits. */
__attribute__((target("avx2"))) static void filter_symmetric_avx2(const int32_t *coef, int32_t half,
                                                                  int32_t *buf, int32_t *out, int32_t n) {
    int32_t keep = 2 * half - 2;
    for (int32_t i = 0; i < n; i += 16) {
        __m256i acc[4];
        __m256i centre = _mm256_set1_epi64x(coef[half - 1]);
        for (int q = 0; q < 4; q++) {
            __m256i x = _mm256_cvtepi32_epi64(_mm_loadu_si128((const __m128i *)(buf + i + half - 1 + 4 * q)));
            acc[q] = _mm256_mul_epi32(x, centre);
        }
        for (int32_t k = 0; k < half - 1; k++) {
            __m256i c = _mm256_set1_epi64x(coef[k]);
            const int32_t *a = buf + i + k, *b = buf + i + keep - k;
            for (int q = 0; q < 4; q++) {
                __m256i xa = _mm256_cvtepi32_epi64(_mm_loadu_si128((const __m128i *)(a + 4 * q)));
                __m256i xb = _mm256_cvtepi32_epi64(_mm_loadu_si128((const __m128i *)(b + 4 * q)));
                acc[q] = _mm256_add_epi64(acc[q],
                                          _mm256_add_epi64(_mm256_mul_epi32(xa, c), _mm256_mul_epi32(xb, c)));
            }
        }
        int64_t sums[16];
        for (int q = 0; q < 4; q++) {
            _mm256_storeu_si256((__m256i *)(sums + 4 * q), acc[q]);
        }
        for (int j = 0; j < 16; j++) {
            out[i + j] = sat32((sums[j] + (1LL << 18)) >> AUDIO_EQ_COEF_SHIFT);
        }
    }
}
#endif

void audio_eq_filter_symmetric(const int32_t *coef, int32_t half, int32_t *hist, const int32_t *in,
                               int32_t *out, int32_t n) {
    int32_t keep = 2 * half - 2;
    /* history then the new samples, one run (in may be out) */
    int32_t buf[2 * AUDIO_EQ_MAX_HALF + 2 * 480];
    if (keep + n > (int32_t)(sizeof(buf) / sizeof(buf[0])) || n > 480) {
        audio_eq_filter(coef, 2 * half - 1, hist, in, out, n);
        return;
    }
    for (int32_t i = 0; i < keep; i++) {
        buf[i] = hist[i];
    }
    for (int32_t i = 0; i < n; i++) {
        buf[keep + i] = in[i];
    }
#ifdef EQ_HAVE_AVX2_PATH
    if (n % 16 == 0 && __builtin_cpu_supports("avx2")) {
        filter_symmetric_avx2(coef, half, buf, out, n);
        for (int32_t i = 0; i < keep; i++) {
            hist[i] = buf[n + i];
        }
        return;
    }
#endif
    /* coefficient by coefficient over the whole frame: the inner loop runs over neighbouring
     * samples, which the vectoriser can take several at a time */
    int64_t acc[480];
    int32_t centre = coef[half - 1];
    for (int32_t i = 0; i < n; i++) {
        acc[i] = (int64_t)centre * buf[i + half - 1];
    }
    for (int32_t k = 0; k < half - 1; k++) {
        int64_t c = coef[k];
        const int32_t *a = buf + k, *b = buf + keep - k;
        for (int32_t i = 0; i < n; i++) {
            acc[i] += c * a[i] + c * b[i];
        }
    }
    for (int32_t i = 0; i < n; i++) {
        out[i] = sat32((acc[i] + (1LL << 18)) >> AUDIO_EQ_COEF_SHIFT);
    }
    for (int32_t i = 0; i < keep; i++) {
        hist[i] = buf[n + i];
    }
}
