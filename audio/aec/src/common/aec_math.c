/* Fixed-point helpers of the echo canceller: logarithm, power of two, square root, ratios. */
#include "aec_internal.h"

static inline int bit_length(uint64_t x) {
    return x == 0 ? 0 : 64 - __builtin_clzll(x);
}

int32_t zorvo_aec_log2(uint64_t x) {
    if (x == 0) {
        return -(64 << 16);
    }
    int e = bit_length(x) - 1;
    /* mantissa in [2^31, 2^32) */
    uint64_t m = e >= 31 ? x >> (e - 31) : x << (31 - e);
    int idx = (int)((m >> 26) & 31);              /* next 5 bits after the leading one */
    int32_t frac = (int32_t)((m >> 10) & 0xFFFF); /* following 16 bits, interpolation weight */
    int32_t lo = g_zorvo_aec_gai_aec_log2_tab[idx];
    int32_t hi = idx < 31 ? g_zorvo_aec_gai_aec_log2_tab[idx + 1] : 65536;
    int32_t f = lo + (int32_t)(((int64_t)(hi - lo) * frac) >> 16);
    return e * 65536 + f;
}

int32_t zorvo_aec_pow2(int32_t l) {
    if (l >= 0) {
        return 32768;
    }
    if (l < -15 * 65536) {
        return 0;
    }
    int32_t ip = l >> 16;        /* floor, negative */
    int32_t fp = l - ip * 65536; /* 0..65535 */
    int32_t pos = (int32_t)(((int64_t)fp * 100) >> 16);
    int32_t rem = (int32_t)((((int64_t)fp * 100) & 0xFFFF));
    int32_t lo = g_zorvo_aec_gas_aecpow2tab[pos];
    int32_t hi = g_zorvo_aec_gas_aecpow2tab[pos + 1];
    int32_t v = lo + (int32_t)(((int64_t)(hi - lo) * rem) >> 16); /* 2^(f - 1), Q15 */
    /* 2^l = 2^(f - 1) * 2^(ip + 1) */
    int sh = -(ip + 1);
    return sh >= 31 ? 0 : v >> sh;
}

uint32_t zorvo_aec_sqrt_fix(uint64_t x) {
    if (x == 0) {
        return 0;
    }
    uint64_t r = 0;
    uint64_t bit = 1ULL << ((bit_length(x) - 1) & ~1); /* highest power of four <= x */
    while (bit != 0) {
        if (x >= r + bit) {
            x -= r + bit;
            r = (r >> 1) + bit;
        } else {
            r >>= 1;
        }
        bit >>= 2;
    }
    return (uint32_t)r;
}

int32_t aec_ratio_q15(uint64_t num, uint64_t den) {
    if (den == 0) {
        return 0;
    }
    int sh = bit_length(num | den) - 47;
    if (sh > 0) {
        num >>= sh;
        den >>= sh;
        if (den == 0) {
            return 32768;
        }
    }
    uint64_t r = (num << 15) / den;
    return r > 32768 ? 32768 : (int32_t)r;
}

static uint64_t mag64(int64_t v) {
    return v < 0 ? (uint64_t)0 - (uint64_t)v : (uint64_t)v;
}

int32_t aec_coherence(int64_t a, int64_t b, int64_t c_re, int64_t c_im) {
    if (a <= 0 || b <= 0) {
        return 0;
    }
    uint64_t m = (uint64_t)a | (uint64_t)b | mag64(c_re) | mag64(c_im);
    int sh = bit_length(m) - 30;
    uint64_t ua = (uint64_t)a, ub = (uint64_t)b, ur = mag64(c_re), ui = mag64(c_im);
    if (sh > 0) {
        ua >>= sh;
        ub >>= sh;
        ur >>= sh;
        ui >>= sh;
    }
    return aec_ratio_q15(ur * ur + ui * ui, ua * ub);
}

void zorvo_aec_qsort(int32_t *v, int n) {
    while (n > 1) {
        int32_t pivot = v[n / 2];
        int i = 0, j = n - 1;
        while (i <= j) {
            while (v[i] < pivot) {
                i++;
            }
            while (v[j] > pivot) {
                j--;
            }
            if (i <= j) {
                int32_t t = v[i];
                v[i] = v[j];
                v[j] = t;
                i++;
                j--;
            }
        }
        /* recurse into the smaller part, loop on the larger */
        if (j + 1 < n - i) {
            zorvo_aec_qsort(v, j + 1);
            v += i;
            n -= i;
        } else {
            zorvo_aec_qsort(v + i, n - i);
            n = j + 1;
        }
    }
}

int zorvo_aec_check8_align(const void *p) {
    return ((uintptr_t)p & 7u) == 0;
}
