#include "record_common.h"

/* log2(1 + k / 64) in Q15, k = 0..64 */
static const uint16_t log2_table[65] = {
    0,     733,   1455,  2166,  2866,  3556,  4236,  4907,  5568,  6220,  6863,  7498,  8124,
    8742,  9352,  9954,  10549, 11136, 11716, 12289, 12855, 13415, 13968, 14514, 15055, 15589,
    16117, 16639, 17156, 17667, 18173, 18673, 19168, 19658, 20143, 20623, 21098, 21568, 22034,
    22495, 22952, 23404, 23852, 24296, 24736, 25172, 25604, 26031, 26455, 26876, 27292, 27705,
    28114, 28520, 28922, 29321, 29717, 30109, 30498, 30884, 31267, 31647, 32024, 32397, 32768,
};

int32_t rec_log2_q15(uint64_t x) {
    if (x == 0) {
        return 0;
    }
    int msb = 63 - __builtin_clzll(x);
    /* mantissa below the leading one in 22 bits: 6 index the table, 16 interpolate */
    uint32_t m = (uint32_t)(msb >= 22 ? (x >> (msb - 22)) : (x << (22 - msb))) & 0x3FFFFFu;
    uint32_t k = m >> 16, f = m & 0xFFFFu;
    int32_t lo = log2_table[k], hi = log2_table[k + 1];
    return (msb << 15) + lo + (int32_t)(((int64_t)(hi - lo) * f + (1 << 15)) >> 16);
}

/* 2^(k / 64) in Q30, k = 0..64 */
static const uint32_t pow2_table[65] = {
    1073741824u, 1085434106u, 1097253708u, 1109202018u, 1121280436u, 1133490379u, 1145833280u, 1158310587u,
    1170923762u, 1183674286u, 1196563654u, 1209593378u, 1222764986u, 1236080024u, 1249540052u, 1263146652u,
    1276901417u, 1290805962u, 1304861917u, 1319070932u, 1333434672u, 1347954824u, 1362633090u, 1377471191u,
    1392470869u, 1407633882u, 1422962010u, 1438457051u, 1454120821u, 1469955159u, 1485961921u, 1502142985u,
    1518500250u, 1535035634u, 1551751076u, 1568648537u, 1585730000u, 1602997467u, 1620452965u, 1638098541u,
    1655936265u, 1673968228u, 1692196547u, 1710623359u, 1729250827u, 1748081133u, 1767116489u, 1786359126u,
    1805811301u, 1825475297u, 1845353420u, 1865448001u, 1885761398u, 1906295993u, 1927054196u, 1948038440u,
    1969251188u, 1990694927u, 2012372174u, 2034285470u, 2056437387u, 2078830522u, 2101467502u, 2124350982u,
    2147483648u,
};

int32_t rec_pow2_q15(int32_t e, int q) {
    int32_t whole = e >> 15; /* floor */
    uint32_t frac = (uint32_t)e & 0x7FFFu;
    uint32_t k = frac >> 9, f = frac & 511u;
    int64_t lo = pow2_table[k], hi = pow2_table[k + 1];
    int64_t m = lo + (((hi - lo) * f + 256) >> 9); /* Q30, 1.0 .. 2.0 */
    int32_t shift = 30 - q - whole;
    if (shift <= 0) {
        if (-shift >= 32 || (m << -shift) > INT32_MAX) {
            return INT32_MAX;
        }
        return (int32_t)(m << -shift);
    }
    if (shift >= 62) {
        return 0;
    }
    int64_t r = (m + (1LL << (shift - 1))) >> shift;
    return r > INT32_MAX ? INT32_MAX : (int32_t)r;
}

/* log2(10) / 320 in Q31: the exponent of 2 per 1/16 dB. */
#define LOG2_10_OVER_320_Q31 22293082LL

int32_t rec_db16_to_q15(int32_t db16) {
    if (db16 > 1536) {
        db16 = 1536;
    } else if (db16 < -1536) {
        db16 = -1536;
    }
    int32_t e = (int32_t)(((int64_t)db16 * LOG2_10_OVER_320_Q31) >> 16); /* Q15 exponent */
    return rec_pow2_q15(e, 15);
}

int32_t rec_power_db16(uint64_t ms, int scale_bits) {
    if (ms == 0) {
        ms = 1;
    }
    /* 10 log10(ms) - 20 log10(2^scale) = (log2(ms) - 2 scale) * 3.0103; in 1/16 dB: * 48.165 */
    int64_t l = (int64_t)rec_log2_q15(ms) - ((int64_t)(2 * scale_bits) << 15);
    return (int32_t)((l * 1578264) >> 30); /* 48.1648 * 2^15 */
}

uint32_t rec_isqrt64(uint64_t v) {
    if (v == 0) {
        return 0;
    }
    uint64_t r = 0, bit = 1ull << ((63 - __builtin_clzll(v)) & ~1); /* the highest power of 4 <= v */
    while (bit != 0) {
        if (v >= r + bit) {
            v -= r + bit;
            r = (r >> 1) + bit;
        } else {
            r >>= 1;
        }
        bit >>= 2;
    }
    return (uint32_t)r;
}
