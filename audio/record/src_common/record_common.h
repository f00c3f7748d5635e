/*
 * Pieces every module of the recording core shares: the chain's sample scale, saturation,
 * little-endian field access of the parameter records, and the fixed-point logarithm and
 * power functions.
 *
 * Chain samples are 32-bit with 8 fractional bits below the 16-bit sample (full scale 2^23),
 * which leaves 48 dB of headroom for the equaliser's and the AGC's boosts before the
 * compressor brings the signal back to 16 bits.
 */
#ifndef RECORD_COMMON_H
#define RECORD_COMMON_H

#include <stddef.h>
#include <stdint.h>

#include "audio_common.h"

#ifdef __cplusplus
extern "C" {
#endif

#define REC_CHAIN_SHIFT 8
#define REC_MAX_FRAME   480 /* samples of one frame at 48000 Hz */
#define REC_MAX_MICS    2

static inline int32_t rec_sat32(int64_t v) {
    return (int32_t)(v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : v));
}
static inline int16_t rec_sat16(int64_t v) {
    return (int16_t)(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
}
/* 16-bit sample to the chain's scale and back (rounded, saturated). */
static inline int32_t rec_to_chain(int16_t v) {
    return (int32_t)v * (1 << REC_CHAIN_SHIFT);
}
static inline int16_t rec_from_chain(int32_t v) {
    return rec_sat16(((int64_t)v + (1 << (REC_CHAIN_SHIFT - 1))) >> REC_CHAIN_SHIFT);
}

static inline int32_t rec_rd32(const uint8_t *p) {
    return (int32_t)((uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) |
                     ((uint32_t)p[3] << 24));
}
static inline int16_t rec_rd16(const uint8_t *p) {
    return (int16_t)((uint16_t)p[0] | ((uint16_t)p[1] << 8));
}
static inline void rec_wr32(uint8_t *p, int32_t v) {
    uint32_t u = (uint32_t)v;
    p[0] = (uint8_t)u;
    p[1] = (uint8_t)(u >> 8);
    p[2] = (uint8_t)(u >> 16);
    p[3] = (uint8_t)(u >> 24);
}
static inline void rec_wr16(uint8_t *p, int16_t v) {
    uint16_t u = (uint16_t)v;
    p[0] = (uint8_t)u;
    p[1] = (uint8_t)(u >> 8);
}

/* log2(x) in Q15 for x >= 1 (0 for x = 0). */
int32_t rec_log2_q15(uint64_t x);
/* 2^(e / 2^15) scaled by 2^q (q 0..30), rounded, saturated to INT32_MAX; e may be negative. */
int32_t rec_pow2_q15(int32_t e, int q);
/* 10^(db16 / 320) in Q15 (db16 in 1/16 dB, |db16| up to 1536); negative values give the reciprocal. */
int32_t rec_db16_to_q15(int32_t db16);
/* Level in 1/16 dB relative to 2^(2 * scale_bits) of a mean-square value (10 log10). */
int32_t rec_power_db16(uint64_t ms, int scale_bits);
/* Integer square root of a 64-bit value. */
uint32_t rec_isqrt64(uint64_t v);

#ifdef __cplusplus
}
#endif

#endif /* RECORD_COMMON_H */
