/**
 * @file lv_math.h
 * Integer maths: trigonometry, square root, Bezier curves, mapping and helpers.
 */
#ifndef LV_MATH_H
#define LV_MATH_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stdint.h>

#define LV_TRIGO_SIN_MAX 32768
#define LV_TRIGO_SHIFT   15 /**< >> LV_TRIGO_SHIFT divides by LV_TRIGO_SIN_MAX */

#define LV_BEZIER_VAL_MAX   1024 /**< Max time in Bezier functions (not [0..1] to use integers) */
#define LV_BEZIER_VAL_SHIFT 10   /**< log2(LV_BEZIER_VAL_MAX): used to normalize up scaled values */

typedef struct {
    uint16_t i; /**< integer part */
    uint16_t f; /**< fraction in 1/256 */
} lv_sqrt_res_t;

/** Sine of an angle in degrees, scaled to -32767..32767. */
int16_t lv_trigo_sin(int16_t angle);

static inline int16_t lv_trigo_cos(int16_t angle) {
    return lv_trigo_sin((int16_t)(angle + 90));
}

/**
 * Cubic Bezier value at time t (0..LV_BEZIER_VAL_MAX) with control values u0..u3
 * (each 0..LV_BEZIER_VAL_MAX).
 */
uint32_t lv_bezier3(uint32_t t, uint32_t u0, uint32_t u1, uint32_t u2, uint32_t u3);

/** Angle of the vector (x, y) in degrees, 0..359. */
uint16_t lv_atan2(int x, int y);

/**
 * Square root of x with 4 bits of fraction: q->i gets the integer part, q->f the fraction in
 * 1/256. mask is the highest bit of the result to try (0x800 covers 24-bit inputs; 0x8000 all).
 */
void lv_sqrt(uint32_t x, lv_sqrt_res_t *q, uint32_t mask);

/** base raised to exp (exp >= 0; a negative exp gives 0). */
int64_t lv_pow(int64_t base, int8_t exp);

/** Map x from [min_in, max_in] to [min_out, max_out], clamped to the output range. */
int32_t lv_map(int32_t x, int32_t min_in, int32_t max_in, int32_t min_out, int32_t max_out);

void lv_rand_set_seed(uint32_t seed);
/** Pseudo-random number in [min, max]. */
uint32_t lv_rand(uint32_t min, uint32_t max);

#define LV_MIN(a, b)        ((a) < (b) ? (a) : (b))
#define LV_MIN3(a, b, c)    (LV_MIN(LV_MIN(a, b), c))
#define LV_MIN4(a, b, c, d) (LV_MIN(LV_MIN(a, b), LV_MIN(c, d)))

#define LV_MAX(a, b)        ((a) > (b) ? (a) : (b))
#define LV_MAX3(a, b, c)    (LV_MAX(LV_MAX(a, b), c))
#define LV_MAX4(a, b, c, d) (LV_MAX(LV_MAX(a, b), LV_MAX(c, d)))

#define LV_CLAMP(min, val, max) (LV_MAX(min, (LV_MIN(val, max))))

#define LV_ABS(x)     ((x) > 0 ? (x) : (-(x)))
#define LV_UDIV255(x) (((x)*0x8081U) >> 0x17)

#define LV_IS_SIGNED(t) (((t)(-1)) < ((t)0))
#define LV_UMAX_OF(t)                                                                                        \
    (((0x1ULL << ((sizeof(t) * 8ULL) - 1ULL)) - 1ULL) | (0xFULL << ((sizeof(t) * 8ULL) - 4ULL)))
#define LV_SMAX_OF(t)                                                                                        \
    (((0x1ULL << ((sizeof(t) * 8ULL) - 1ULL)) - 1ULL) | (0x7ULL << ((sizeof(t) * 8ULL) - 4ULL)))
#define LV_MAX_OF(t) ((unsigned long)(LV_IS_SIGNED(t) ? LV_SMAX_OF(t) : LV_UMAX_OF(t)))

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_MATH_H */
