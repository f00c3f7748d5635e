/*
 * zorvo_record: the fixed-point core of vqe_record.
 *
 * One instance lives in a caller-provided block of ZORVO_RECORD_MEM_SIZE bytes (8-byte aligned).
 * Each apply call takes one frame per microphone at the I/O rate (80 samples at 8000 Hz, 160 at
 * 16000 Hz, 480 at 48000 Hz, 441 at 44100 Hz) and writes one frame per output. The chain runs at
 * 16000 or 48000 Hz: 8000 and 44100 Hz I/O is converted on the way in and out.
 *
 * Per frame: rate conversion in; multi-microphone repair (mc_on); the frame goes into a ring that
 * delays it by delay_frames frames while the look-ahead gain stage (hdr_on) watches the newest,
 * undelayed frame of the louder microphone and may report a microphone gain step; the delayed
 * frame then passes high/low-pass (hlpf_on, 16 to 32 bits), noise reduction (rnr_on), AGC
 * (agc_on), equaliser (eq_on) and compressor (drc_on, 32 to 16 bits); rate conversion out.
 * A stage whose switch is off is a plain copy. Until delay_frames frames have been seen the
 * outputs are silent.
 *
 * The parameter record (ZORVO_RECORD_PARAMS_SIZE bytes, little-endian, read by offset) is a
 * header followed by each module's block at the offsets below.
 */
#ifndef ZORVO_RECORD_H
#define ZORVO_RECORD_H

#include <stddef.h>
#include <stdint.h>

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

#define ZORVO_RECORD_MEM_SIZE    164368
#define ZORVO_RECORD_PARAMS_SIZE 264
#define ZORVO_RECORD_MARK        0x88888888u
#define ZORVO_RECORD_INIT_MARK   0x49825349u
#define ZORVO_RECORD_VERSION     200000000

/* header */
#define ZR_OFF_RATE_MODE     0 /* 0: 8000 via 16000, 1: 16000, 2: 48000, 3: 44100 via 48000 */
#define ZR_OFF_MIC_NUM       1
#define ZR_OFF_OUT_NUM       2
#define ZR_OFF_HDR_INIT_GAIN 3
#define ZR_OFF_DELAY_FRAMES  4
#define ZR_OFF_AUX_MODE      5 /* above 1: the high/low-pass stage is off */
#define ZR_OFF_HDR_ON        8
#define ZR_OFF_DRC_ON        9
#define ZR_OFF_AGC_ON        10
#define ZR_OFF_EQ_ON         11
#define ZR_OFF_HLPF_ON       12
#define ZR_OFF_RNR_ON        13
#define ZR_OFF_MC_ON         14
/* module blocks */
#define ZR_OFF_MC   24  /* 16 bytes */
#define ZR_OFF_HDR  40  /* 32 bytes */
#define ZR_OFF_DRC  72  /* 40 bytes */
#define ZR_OFF_AGC  112 /* 48 bytes */
#define ZR_OFF_RNR  160 /* 24 bytes */
#define ZR_OFF_EQ   184 /* 56 bytes, 51 used */
#define ZR_OFF_HLPF 240 /* 24 bytes */

/* module bases of the results passed on from a module */
#define ZR_BASE_HDR  (-100)
#define ZR_BASE_DRC  (-200)
#define ZR_BASE_AGC  (-300)
#define ZR_BASE_RNR  (-400)
#define ZR_BASE_EQ   (-500)
#define ZR_BASE_HLPF (-600)
#define ZR_BASE_MC   (-800)
#define ZR_BASE_SRC  (-1000)

/* Input descriptor: on the 32-bit device microphone 1 at offset 0, microphone 2 at 12 and the
 * scratch buffer at 16; the host keeps the order with natural alignment. */
typedef struct zorvo_record_in {
    const int16_t *mic1;
    void *reserved[2];
    const int16_t *mic2;
    void *scratch;
} zorvo_record_in;

/* Output descriptor: outputs at 0, 4 and 8, the gain step at byte 16, the output count at 17. */
typedef struct zorvo_record_out {
    int16_t *out[3];
    void *reserved;
    int8_t gain_step;
    uint8_t out_num;
    uint8_t pad[2];
} zorvo_record_out;

#if UINTPTR_MAX == 0xFFFFFFFFu
AUDIO_STATIC_ASSERT(sizeof(zorvo_record_in) == 20, "input descriptor");
AUDIO_STATIC_ASSERT(offsetof(zorvo_record_in, mic2) == 12, "microphone 2 at 12");
AUDIO_STATIC_ASSERT(offsetof(zorvo_record_out, gain_step) == 16, "gain step at 16");
#endif

AUDIO_EXPORT extern const uint8_t g_record_params[ZORVO_RECORD_PARAMS_SIZE];
AUDIO_EXPORT extern const uint8_t g_zorvo_record_params[ZORVO_RECORD_PARAMS_SIZE];

AUDIO_EXPORT int zorvo_record_get_size(int32_t *size);
/* 0; -1 no handle pointer; -6 no memory; -4 no parameters; -7 memory too small; -9 rate mode;
 * -11 out_num not 1..3; -16 delay_frames above 3; -17 mic_num or out_num outside 1..2 (aux_mode
 * 0..3), or mic_num outside 1..2 at all; a module's refusal of its block (offset by its base). */
AUDIO_EXPORT int zorvo_record_init(void **handle, void *mem, int32_t mem_size, const uint8_t *params);
/* 0; -1 NULL handle or descriptor; -5 not initialised; -8 markers damaged; -9 bad rate mode;
 * -12 an output missing; -13 an input missing; a module's error offset by its base. */
AUDIO_EXPORT int zorvo_record_apply(void *handle, const zorvo_record_in *in, zorvo_record_out *out);
/* Replaces bytes 6..263; 0; -1; -4; -5; -15 a switch byte not 0 or 1; a module's refusal (offset).
 * On any failure the stored record and the modules stay as they were. */
AUDIO_EXPORT int zorvo_record_set_params(void *handle, const uint8_t *params);
AUDIO_EXPORT int zorvo_record_get_params(void *handle, uint8_t *params);
AUDIO_EXPORT int zorvo_record_get_version(const int32_t **version);

#ifdef __cplusplus
}
#endif

#endif /* ZORVO_RECORD_H */
