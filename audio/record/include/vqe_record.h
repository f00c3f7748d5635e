/*
 * vqe_record: the recording enhancement plug-in. The framework gets the module record ("record")
 * from either getter; init takes 16000 or 48000 Hz and the user parameter record below through
 * configuration word 3; process takes microphone 1 in `data` and, with two microphones,
 * microphone 2 in `extern_data`, `len` bytes each, a whole number of 10 ms frames (160 or 480
 * samples), and writes output 1 to the output's `data` and output 2 to its `extern_data`.
 *
 * The user record is a C structure: on the 32-bit device its offsets are those in the comments;
 * on a 64-bit host the callback pointer is 8 bytes at 0x38 and every field after it moves by 8.
 */
#ifndef VQE_RECORD_H
#define VQE_RECORD_H

#include <stddef.h>
#include <stdint.h>

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Called with the new running microphone gain whenever the look-ahead stage steps it. */
typedef void (*vqe_record_gain_cb)(int gain);

typedef struct vqe_record_user_params {
    int32_t hdr_on;             /* 0x00 non-zero = on */
    int32_t hlpf_on;            /* 0x04 */
    int32_t rnr_on;             /* 0x08 */
    int32_t agc_on;             /* 0x0C */
    int32_t eq_on;              /* 0x10 */
    int32_t drc_on;             /* 0x14 */
    int32_t mic_num;            /* 0x18 low byte used */
    int32_t out_num;            /* 0x1C low byte used */
    int32_t reserved_20;        /* 0x20 */
    int32_t gain_min;           /* 0x24 look-ahead stage, when hdr_on */
    int32_t gain_max;           /* 0x28 */
    int8_t hdr_init_gain;       /* 0x2C */
    int8_t reserved_2d[3];      /* 0x2D */
    int32_t gain_step;          /* 0x30 */
    vqe_record_gain_cb gain_cb; /* 0x34 */
    int32_t hpf_reset;          /* 0x38 non-zero with hlpf_on: high-pass corner index 0 */
    int32_t reserved_3c;        /* 0x3C */
    int32_t rnr_valid;          /* 0x40 */
    int32_t reserved_44;        /* 0x44 */
    int32_t rnr_value0;         /* 0x48 */
    int32_t rnr_value4;         /* 0x4C */
    int32_t agc_valid;          /* 0x50 */
    int8_t agc_bytes[7];        /* 0x54 AGC bytes 0, 1, 2, 4, 5, 8, 9 */
    int8_t reserved_5b;         /* 0x5B */
    int16_t agc_value16;        /* 0x5C AGC value at 16 */
    int16_t reserved_5e;        /* 0x5E */
    int32_t reserved_60;        /* 0x60 */
    int8_t eq_gains[10];        /* 0x64 control gains g0..g9 in dB, when eq_on */
    int8_t reserved_6e[6];      /* 0x6E */
    int32_t drc_valid;          /* 0x74 */
    int16_t gain_fall;          /* 0x78 low byte */
    int16_t gain_rise;          /* 0x7A low byte */
    int16_t knee_in1;           /* 0x7C */
    int16_t knee_in[4];         /* 0x7E knee_in[2..5] */
    int16_t knee_out01;         /* 0x86 knee_out[0] and [1] */
    int16_t knee_out[4];        /* 0x88 knee_out[2..5] */
} vqe_record_user_params;

#if UINTPTR_MAX == 0xFFFFFFFFu
AUDIO_STATIC_ASSERT(offsetof(vqe_record_user_params, gain_cb) == 0x34, "callback at 0x34");
AUDIO_STATIC_ASSERT(offsetof(vqe_record_user_params, hpf_reset) == 0x38, "0x38");
AUDIO_STATIC_ASSERT(offsetof(vqe_record_user_params, agc_value16) == 0x5C, "0x5C");
AUDIO_STATIC_ASSERT(offsetof(vqe_record_user_params, eq_gains) == 0x64, "0x64");
AUDIO_STATIC_ASSERT(offsetof(vqe_record_user_params, drc_valid) == 0x74, "0x74");
AUDIO_STATIC_ASSERT(offsetof(vqe_record_user_params, knee_out) == 0x88, "0x88");
AUDIO_STATIC_ASSERT(sizeof(vqe_record_user_params) == 0x90, "user record is 0x90 bytes");
#else
AUDIO_STATIC_ASSERT(offsetof(vqe_record_user_params, gain_cb) == 0x38, "callback 8-aligned");
AUDIO_STATIC_ASSERT(offsetof(vqe_record_user_params, knee_out) == 0x90, "fields after it move by 8");
#endif

AUDIO_EXPORT int vqe_record_init(void **handle, int sample_rate, const vqe_config *cfg);
AUDIO_EXPORT int vqe_record_process(void *handle, audio_frame *in, audio_frame *out);
AUDIO_EXPORT int vqe_record_deinit(void *handle);
AUDIO_EXPORT const audio_work_handle *vx_vqe_record_get_handle(void);
AUDIO_EXPORT const audio_work_handle *kq_vqe_record_get_handle(void);

/* The core parameter record the shell builds from a user record (NULL: no user values) for a
 * rate mode; 0, or -1 after the message. Not exported: the tests and the benchmark link the
 * library's objects. */
int vqe_record_build_params(uint8_t *rec, int rate_mode, const vqe_record_user_params *user);

#ifdef __cplusplus
}
#endif

#endif /* VQE_RECORD_H */
