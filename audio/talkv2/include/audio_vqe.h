/*
 * audio_vqe: the talk enhancement core of vqe_talkv2.
 *
 * One instance cleans the microphone signal of a two-way call at 16000 Hz, 256 samples (16 ms)
 * per frame. Spectral work runs in floating point on 512-point transforms with 50 % overlap
 * (257 bins, square-root Hann analysis and synthesis windows); the level stages at the end run
 * on 32-bit integer samples. Order within a frame: microphone averaging (two microphones),
 * transforms, echo canceller, [wind-noise network], [dereverberation], multichannel Wiener
 * filter, noise reduction, [howling gains], post-processing, [frequency shift], inverse
 * transform and overlap-add, AGC, compressor, equaliser, limiter, 16-bit output. The stages in
 * brackets belong to another part of the product: their switches are accepted, their memory is
 * reserved, and the signal passes through them unchanged.
 *
 * Memory: audio_vqe_get_size gives the size of one block that holds the whole instance; the
 * caller allocates it (8-byte aligned) and hands it to audio_vqe_init, which lays the enabled
 * modules out in it. A scratch area (at least AUDIO_VQE_SCRATCH_MIN bytes, 8-byte aligned)
 * holds the per-frame temporaries; nothing is allocated while processing.
 *
 * Records with fixed byte layouts (system configuration, parameter record) are read and
 * written by offset, little-endian. Results are 0 or a negative code; a module's own code is
 * offset by its base (AUDIO_VQE_BASE_*).
 */
#ifndef AUDIO_VQE_H
#define AUDIO_VQE_H

#include <stddef.h>
#include <stdint.h>

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

#define AUDIO_VQE_FRAME        256
#define AUDIO_VQE_FFT          512
#define AUDIO_VQE_BINS         257
#define AUDIO_VQE_RATE         16000
#define AUDIO_VQE_SCRATCH_MIN  40960
#define AUDIO_VQE_SCRATCH_MAX  40968 /* longest area audio_vqe_cal_scratch_used measures */
#define AUDIO_VQE_PARAM_LEN    512   /* room the callers give the parameter record */
#define AUDIO_VQE_PARAMS_SIZE  380
#define AUDIO_VQE_SYSCFG_SIZE  28
#define AUDIO_VQE_SCRATCH_FILL 90 /* byte a scratch area is pre-filled with for measuring */

/* ---- system configuration (28 bytes) ---- */
#define AUDIO_VQE_SYS_BITS  0  /* i32: 16 (-41) */
#define AUDIO_VQE_SYS_RATE  4  /* i32: 16000 (-42) */
#define AUDIO_VQE_SYS_COUNT 8  /* u16: 1..31 (-40) */
#define AUDIO_VQE_SYS_BITS2 12 /* i32: 16 (-43) */
#define AUDIO_VQE_SYS_V16   16 /* i32: 1..6 (-44) */
#define AUDIO_VQE_SYS_V20   20 /* u16: <= 2, non-zero with the echo canceller (-46) */
#define AUDIO_VQE_SYS_V24   24 /* u16: 1..2 (-45) */
#define AUDIO_VQE_SYS_V26   26 /* u16: <= 1 (-47) */

/* ---- parameter record (380 bytes) ---- */
#define AUDIO_VQE_P_MIC_NUM     16
#define AUDIO_VQE_P_CHN_NUM     17
#define AUDIO_VQE_P_AEC_MODE    18
#define AUDIO_VQE_P_BAND        19
#define AUDIO_VQE_P_LEVEL_20    20
#define AUDIO_VQE_P_LEVEL_21    21
#define AUDIO_VQE_P_AEC_ON      29
#define AUDIO_VQE_P_FMP_ON      30
#define AUDIO_VQE_P_AGC_ON      31
#define AUDIO_VQE_P_EQ_ON       32
#define AUDIO_VQE_P_DRC_ON      33
#define AUDIO_VQE_P_LIMITER_ON  34
#define AUDIO_VQE_P_DEREVERB_ON 35
#define AUDIO_VQE_P_DMNR_ON     36
#define AUDIO_VQE_P_PMWF_ON     37
#define AUDIO_VQE_P_WNR_ON      38
#define AUDIO_VQE_P_HS_ON       39

/* module blocks */
#define AUDIO_VQE_B_AEC     40 /* 72 bytes */
#define AUDIO_VQE_B_FMP     112
#define AUDIO_VQE_B_AGC     120
#define AUDIO_VQE_B_EQ      160 /* 31 bytes */
#define AUDIO_VQE_B_NR      192 /* 40 bytes */
#define AUDIO_VQE_B_PMWF    232 /* 36 bytes */
#define AUDIO_VQE_B_DRC     280 /* 56 bytes */
#define AUDIO_VQE_B_LIMITER 336
#define AUDIO_VQE_B_HS      344 /* 7 x i32 */
#define AUDIO_VQE_B_WNR     372

#define AUDIO_VQE_AEC_TAIL 70 /* offset in the echo canceller block: partitions, 3..30 */

/* module-result bases */
#define AUDIO_VQE_BASE_AEC      (-100)
#define AUDIO_VQE_BASE_FMP      (-200)
#define AUDIO_VQE_BASE_AGC      (-250)
#define AUDIO_VQE_BASE_NR_APPLY (-300)
#define AUDIO_VQE_BASE_EQ       (-400)
#define AUDIO_VQE_BASE_DRC      (-430)
#define AUDIO_VQE_BASE_DEREVERB (-460)
#define AUDIO_VQE_BASE_LIMITER  (-480)
#define AUDIO_VQE_BASE_NR       (-500)
#define AUDIO_VQE_BASE_PMWF     (-600)
#define AUDIO_VQE_BASE_WNR      (-800)

/* Built-in parameter record. */
AUDIO_EXPORT extern const uint8_t g_vc_params_normal[AUDIO_VQE_PARAMS_SIZE];

/* Input descriptor of one frame. The slots between the named ones are the caller's; on the
 * 32-bit device the named fields sit at 0, 4, 32, 36, 64, 68 and 74. */
typedef struct audio_vqe_input {
    const int16_t *mic1;  /* 256 samples, 8-byte aligned */
    const int16_t *mic2;  /* needed when mic_num is 2 */
    void *reserved_a[6];  /* 8..31 */
    const int16_t *ref;   /* far-end reference, needed with the echo canceller */
    const int16_t *extra; /* needed when extra_count is 2 or more */
    void *reserved_b[6];  /* 40..63 */
    void *scratch;        /* per-frame temporaries, 8-byte aligned */
    int32_t scratch_size; /* at least AUDIO_VQE_SCRATCH_MIN */
    int16_t reserved_c;   /* 72 */
    int16_t extra_count;  /* 74 */
} audio_vqe_input;

#if UINTPTR_MAX == 0xFFFFFFFFu
#ifdef __cplusplus
static_assert(offsetof(audio_vqe_input, ref) == 32, "reference at 32");
static_assert(offsetof(audio_vqe_input, scratch) == 64, "scratch at 64");
static_assert(offsetof(audio_vqe_input, extra_count) == 74, "count at 74");
#else
_Static_assert(offsetof(audio_vqe_input, ref) == 32, "reference at 32");
_Static_assert(offsetof(audio_vqe_input, scratch) == 64, "scratch at 64");
_Static_assert(offsetof(audio_vqe_input, extra_count) == 74, "count at 74");
#endif
#endif

/* Validates the configuration and parameters (setting fmp_on when aec_on is 1) and gives the
 * size of the instance memory. */
AUDIO_EXPORT int audio_vqe_get_size(int32_t *size, const void *syscfg, void *params);
/* Lays the instance out in `mem` (`mem_size` bytes, at least the size above), builds every
 * enabled module and applies the parameters. `scratch` (`scratch_size` bytes) is used during
 * the call only. */
AUDIO_EXPORT int audio_vqe_init(void **handle, void *mem, int32_t mem_size, const void *syscfg, void *params,
                                int32_t param_len, void *scratch, int32_t scratch_size);
/* One frame: reads the descriptor's inputs and writes 256 samples to *out. */
AUDIO_EXPORT int audio_vqe_apply(void *handle, const audio_vqe_input *in, int16_t **out);
/* Replaces the parameter record; the switches may turn modules off, not on. */
AUDIO_EXPORT int audio_vqe_set_params(void *handle, const void *syscfg, void *params, int32_t param_len,
                                      void *scratch, int32_t scratch_size);
/* Copies the current parameter record (380 bytes) to `params`. */
AUDIO_EXPORT int audio_vqe_get_params(void *handle, const void *syscfg, void *params, int32_t param_len);
AUDIO_EXPORT int audio_vqe_get_version(const char **text);
/* Bytes of a scratch area (pre-filled with AUDIO_VQE_SCRATCH_FILL) that were used. */
AUDIO_EXPORT int audio_vqe_cal_scratch_used(const void *scratch, int32_t length, int32_t *used);

#ifdef __cplusplus
}
#endif

#endif /* AUDIO_VQE_H */
