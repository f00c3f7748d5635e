/* Internals shared by the resampler's engines, its public API and its tests. */
#ifndef RES_INTERNAL_H
#define RES_INTERNAL_H

#include <stddef.h>
#include <stdint.h>

#include "audio_common.h"
#include "vqe_resample.h"

#define RES_MARK_HEAD 0x52455331u /* "RES1" */
#define RES_MARK_TAIL 0x31534552u
#define LIN_MARK_HEAD 0x4C494E31u /* "LIN1" */
#define LIN_MARK_TAIL 0x314E494Cu

#define RES_INT_ROOM   8192 /* integer engine: new values of room per channel */
#define RES_POLY_ROOM  4096 /* polyphase 16-bit: new values of room (all channels) */
#define RES_POLY_BUF32 4160 /* polyphase 32-bit: values of the whole buffer */
#define RES_MAX_L      1280
#define LIN_MAX_CHN    10

/* One polyphase table: the pair it is listed under, its coefficient rows and phase steps. */
typedef struct res_poly_table {
    int in_rate, out_rate;
    const int16_t *coef;
    const uint32_t *steps;
    int rows; /* rows of coef */
    int steps_len;
    int taps; /* T, taps per half-filter */
} res_poly_table;

struct RES_LinearSrc {
    uint32_t head;
    int bit_width;
    int chn;
    int step; /* the input rate */
    int in_rate;
    int out_rate;
    int acc;
    int pending;
    uint32_t recip;
    int32_t last[LIN_MAX_CHN];
    uint32_t tail;
};

/* One record for all three kinds. Sample buffers hold each channel's history followed by
 * room for its new input, one channel after the other (stride `ch_stride` values). */
struct RES_Resampler {
    uint32_t head;
    int up;
    int down;
    int in_rate;
    int out_rate;
    int ratio_index;
    int chn;
    int taps;
    int hist_len; /* values of history, all channels */
    int phase;
    int pos; /* polyphase: carried input position; integer K:1: carried window start */
    int bit_width;
    int16_t *buf16;
    int16_t *wr16;
    int32_t *buf32;
    int32_t *wr32;
    const int16_t *coef_a;
    const int16_t *coef_b;
    const int16_t *coef_tab;
    const uint32_t *phase_tab;
    int wide_mode;
    int is_linear;
    int is_int_ratio;
    RES_LinearSrc *lin;
    const res_poly_table *table;
    size_t buf_values; /* capacity of buf16 or buf32 */
    int ch_stride;     /* values per channel region */
    uint32_t tail;
};

/* Plug-in instance. */
typedef struct res_instance {
    RES_Resampler *res;
    int chunk; /* the most frames handed to one conversion call */
} res_instance;

/* The polyphase table serving (in, out), or NULL. */
const res_poly_table *res_find_poly_table(int in_rate, int out_rate);
/* Entry i of the "good" (mid 0) or "mid" (mid 1) list, NULL past its end. */
const res_poly_table *res_poly_table_at(int mid, size_t i);
/* Index of the integer-ratio table for (in, out): 0..6, or -1. */
int res_int_ratio_index(int in_rate, int out_rate);
int res_is_input_rate(int rate);
int res_is_output_rate(int rate);
/* Greatest common divisor of two positive rates, 0 when either is not positive. */
int res_gcd(int a, int b);

/* Objects of each kind are one block: the record, then its buffer. */
RES_Resampler *res_alloc(size_t buf_values, size_t value_size);
void res_free_block(RES_Resampler *res);
int res_integrity_ok(const RES_Resampler *res);
int res_lin_integrity_ok(const RES_LinearSrc *lin);
/* Linear conversion of count frames; stereo input interleaved, or (interleaved 0) the left
 * block followed by the right block. Output is interleaved. */
int res_linear_process(RES_LinearSrc *lin, const void *in, void *out, int count, int interleaved);
/* Upper bound on the output of count samples for integer and polyphase objects. */
int res_max_output(const RES_Resampler *res, int count);

/* Multiply-accumulate of Q15 coefficients with 16-bit samples. Products are summed in 32 bits
 * over runs of at most 16 taps, and runs are added in 64 bits: the filter tables keep every
 * run's absolute coefficient sum below 65536, so no run can overflow whatever the input, and
 * the order of summation inside a run does not change a bit of the result.
 *
 * res_acc holds one run's partial sums. With SSE2 it is four 32-bit lanes fed by pmaddwd,
 * eight taps at a time, and res_reduce4 adds the lanes of four runs at once; elsewhere it is a
 * plain 32-bit sum. Both give the same exact integers. */
#if defined(__SSE2__)
#include <emmintrin.h>
typedef __m128i res_acc;
static inline res_acc res_acc_zero(void) {
    return _mm_setzero_si128();
}
/* acc + sum of x[k] * h[k], k = 0..7 */
static inline res_acc res_mac8(res_acc acc, const int16_t *x, const int16_t *h) {
    __m128i vx = _mm_loadu_si128((const __m128i *)(const void *)x);
    __m128i vh = _mm_loadu_si128((const __m128i *)(const void *)h);
    return _mm_add_epi32(acc, _mm_madd_epi16(vx, vh));
}
/* acc + sum of x[-1 - k] * h[k], k = 0..7 */
static inline res_acc res_mac8_rev(res_acc acc, const int16_t *x, const int16_t *h) {
    __m128i vx = _mm_loadu_si128((const __m128i *)(const void *)(x - 8));
    vx = _mm_shuffle_epi32(vx, 0x4E);
    vx = _mm_shufflehi_epi16(_mm_shufflelo_epi16(vx, 0x1B), 0x1B);
    __m128i vh = _mm_loadu_si128((const __m128i *)(const void *)h);
    return _mm_add_epi32(acc, _mm_madd_epi16(vx, vh));
}
static inline void res_reduce4(res_acc a, res_acc b, res_acc c, res_acc d, int32_t out[4]) {
    __m128i ab = _mm_add_epi32(_mm_unpacklo_epi32(a, b), _mm_unpackhi_epi32(a, b));
    __m128i cd = _mm_add_epi32(_mm_unpacklo_epi32(c, d), _mm_unpackhi_epi32(c, d));
    __m128i r = _mm_add_epi32(_mm_unpacklo_epi64(ab, cd), _mm_unpackhi_epi64(ab, cd));
    _mm_storeu_si128((__m128i *)(void *)out, r);
}
#else
typedef int32_t res_acc;
static inline res_acc res_acc_zero(void) {
    return 0;
}
static inline res_acc res_mac8(res_acc acc, const int16_t *x, const int16_t *h) {
    for (int k = 0; k < 8; k++) {
        acc += (int32_t)x[k] * h[k];
    }
    return acc;
}
static inline res_acc res_mac8_rev(res_acc acc, const int16_t *x, const int16_t *h) {
    for (int k = 0; k < 8; k++) {
        acc += (int32_t)x[-1 - k] * h[k];
    }
    return acc;
}
static inline void res_reduce4(res_acc a, res_acc b, res_acc c, res_acc d, int32_t out[4]) {
    out[0] = a;
    out[1] = b;
    out[2] = c;
    out[3] = d;
}
#endif

/* One run of 16 taps. */
static inline res_acc res_run16(const int16_t *x, const int16_t *h) {
    return res_mac8(res_mac8(res_acc_zero(), x, h), x + 8, h + 8);
}

#define RES_DOT_RUN 16

/* Q15 sum to a 16-bit sample: round half up, saturate. */
static inline int16_t res_round_q15(int64_t s) {
    int64_t v = (s + 16384) >> 15;
    return (int16_t)(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
}

#endif /* RES_INTERNAL_H */
