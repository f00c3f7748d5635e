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

/* Dot products of Q15 coefficients with 16-bit samples. Products are summed in 32 bits over
 * runs of at most RES_DOT_RUN taps and the runs in 64 bits: the filter tables keep every run's
 * absolute coefficient sum below 65536, so no run can overflow, whatever the input, and any
 * order of summation gives the same bits. */
#define RES_DOT_RUN 16

static inline int32_t res_dot_run(const int16_t *x, const int16_t *h, int n) {
    int32_t s = 0;
    for (int i = 0; i < n; i++) {
        s += (int32_t)x[i] * h[i];
    }
    return s;
}

static inline int64_t res_dot16(const int16_t *x, const int16_t *h, int n) {
    int64_t s = 0;
    for (int i = 0; i < n; i += RES_DOT_RUN) {
        s += res_dot_run(x + i, h + i, n - i < RES_DOT_RUN ? n - i : RES_DOT_RUN);
    }
    return s;
}

/* Q15 sum to a 16-bit sample: round half up, saturate. */
static inline int16_t res_round_q15(int64_t s) {
    int64_t v = (s + 16384) >> 15;
    return (int16_t)(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
}

#endif /* RES_INTERNAL_H */
