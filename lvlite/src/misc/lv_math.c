/**
 * @file lv_math.c
 */
#include "lv_math.h"

/* sin(0..90 degrees) * 32767, rounded. */
static const int16_t sin0_90_table[91] = {
    0,     572,   1144,  1715,  2286,  2856,  3425,  3993,  4560,  5126,  5690,  6252,  6813,
    7371,  7927,  8481,  9032,  9580,  10126, 10668, 11207, 11743, 12275, 12803, 13328, 13848,
    14364, 14876, 15383, 15886, 16383, 16876, 17364, 17846, 18323, 18794, 19260, 19720, 20173,
    20621, 21062, 21497, 21925, 22347, 22762, 23170, 23571, 23964, 24351, 24730, 25101, 25465,
    25821, 26169, 26509, 26841, 27165, 27481, 27788, 28087, 28377, 28659, 28932, 29196, 29451,
    29697, 29934, 30162, 30381, 30591, 30791, 30982, 31163, 31335, 31498, 31650, 31794, 31927,
    32051, 32165, 32269, 32364, 32448, 32523, 32587, 32642, 32687, 32722, 32747, 32762, 32767};

int16_t lv_trigo_sin(int16_t angle) {
    int32_t a = angle % 360;
    if (a < 0)
        a += 360;

    if (a < 90)
        return sin0_90_table[a];
    if (a < 180)
        return sin0_90_table[180 - a];
    if (a < 270)
        return (int16_t)-sin0_90_table[a - 180];
    return (int16_t)-sin0_90_table[360 - a];
}

uint32_t lv_bezier3(uint32_t t, uint32_t u0, uint32_t u1, uint32_t u2, uint32_t u3) {
    /* Bernstein form with every product renormalised to 10 bits. */
    uint32_t rem = LV_BEZIER_VAL_MAX - t;
    uint32_t rem2 = (rem * rem) >> LV_BEZIER_VAL_SHIFT;
    uint32_t rem3 = (rem2 * rem) >> LV_BEZIER_VAL_SHIFT;
    uint32_t t2 = (t * t) >> LV_BEZIER_VAL_SHIFT;
    uint32_t t3 = (t2 * t) >> LV_BEZIER_VAL_SHIFT;

    uint32_t v1 = (rem3 * u0) >> LV_BEZIER_VAL_SHIFT;
    uint32_t v2 = (uint32_t)(((uint64_t)3 * rem2 * t * u1) >> (2 * LV_BEZIER_VAL_SHIFT));
    uint32_t v3 = (uint32_t)(((uint64_t)3 * rem * t2 * u2) >> (2 * LV_BEZIER_VAL_SHIFT));
    uint32_t v4 = (t3 * u3) >> LV_BEZIER_VAL_SHIFT;
    return v1 + v2 + v3 + v4;
}

uint16_t lv_atan2(int x, int y) {
    /* Reduce to the first octant, then atan(r) ~ 45 * r + r * (1 - r) * (14.02 + 3.80 * r) degrees
     * for r in [0, 1], evaluated in fixed point (r and degrees scaled by 1024). */
    if (x == 0 && y == 0)
        return 0;
    int64_t ax = x < 0 ? -(int64_t)x : x;
    int64_t ay = y < 0 ? -(int64_t)y : y;
    bool swap = ay > ax;
    int64_t num = swap ? ax : ay;
    int64_t den = swap ? ay : ax;
    int64_t r = (num << 10) / den; /* 0..1024 */
    int64_t deg = 45 * r + ((r * (1024 - r)) >> 10) * (14356 + ((3891 * r) >> 10)) / 1024;
    int32_t a = (int32_t)((deg + 512) >> 10); /* 0..45 */
    if (swap)
        a = 90 - a;
    if (x < 0)
        a = 180 - a;
    if (y < 0)
        a = 360 - a;
    if (a >= 360)
        a -= 360;
    return (uint16_t)a;
}

void lv_sqrt(uint32_t x, lv_sqrt_res_t *q, uint32_t mask) {
    (void)mask;
    /* Integer square root of x * 256 gives sqrt(x) with 4 bits of fraction. */
    uint64_t v = (uint64_t)x << 8;
    uint64_t root = 0;
    uint64_t bit = (uint64_t)1 << 40;
    while (bit > v)
        bit >>= 2;
    while (bit != 0) {
        if (v >= root + bit) {
            v -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
        bit >>= 2;
    }
    q->i = (uint16_t)(root >> 4);
    q->f = (uint16_t)((root & 0xF) << 4);
}

int64_t lv_pow(int64_t base, int8_t exp) {
    int64_t result = 1;
    if (exp < 0)
        return 0;
    while (exp) {
        if (exp & 1)
            result *= base;
        exp >>= 1;
        base *= base;
    }
    return result;
}

int32_t lv_map(int32_t x, int32_t min_in, int32_t max_in, int32_t min_out, int32_t max_out) {
    if (max_in >= min_in && x >= max_in)
        return max_out;
    if (max_in >= min_in && x <= min_in)
        return min_out;
    if (max_in <= min_in && x <= max_in)
        return max_out;
    if (max_in <= min_in && x >= min_in)
        return min_out;

    /* The equation should be (x - min_in) * delta_out / delta_in + min_out; multiplying first
     * keeps the precision. */
    int64_t delta_in = (int64_t)max_in - min_in;
    int64_t delta_out = (int64_t)max_out - min_out;
    return (int32_t)(((int64_t)x - min_in) * delta_out / delta_in + min_out);
}

static uint32_t rand_seed = 0x1234ABCD;

void lv_rand_set_seed(uint32_t seed) {
    rand_seed = seed;
}

uint32_t lv_rand(uint32_t min, uint32_t max) {
    /* xorshift32 */
    uint32_t v = rand_seed;
    v ^= v << 13;
    v ^= v >> 17;
    v ^= v << 5;
    rand_seed = v;
    if (max <= min)
        return min;
    return (v % (max - min + 1)) + min;
}
