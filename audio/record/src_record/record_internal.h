/* The core's instance record: every module's state at a fixed place of the memory block. */
#ifndef RECORD_INTERNAL_H
#define RECORD_INTERNAL_H

#include "record_agc.h"
#include "record_common.h"
#include "record_drc.h"
#include "record_eq.h"
#include "record_hdr.h"
#include "record_hlpf.h"
#include "record_mc.h"
#include "record_rnr.h"
#include "record_src.h"
#include "zorvo_record.h"

#define ZR_RING 4

typedef struct record_core {
    uint32_t mark_head;
    uint32_t init_mark;
    uint8_t params[ZORVO_RECORD_PARAMS_SIZE];
    int32_t rate_mode;
    int32_t rate_code; /* 1: chain at 16000 Hz, 2: at 48000 Hz */
    int32_t io_frame;  /* samples per I/O frame */
    int32_t frame;     /* samples per chain frame */
    int32_t mics;
    int32_t outs;
    int32_t delay;
    int32_t counter;
    int32_t seen; /* frames seen, up to delay + 1 */
    int32_t write_slot, read_slot;
    int16_t ring[ZR_RING][REC_MAX_MICS][REC_MAX_FRAME];
    record_hlpf_state hlpf;
    record_hdr_state hdr;
    record_drc_state drc;
    record_agc_state agc;
    record_eq_state eq;
    record_mc_state mc;
    record_src_state src;
    record_rnr_state rnr;
} record_core;

/* the end marker sits in the last 8 bytes of the block */
#define ZR_END_MARK_OFFSET (ZORVO_RECORD_MEM_SIZE - 8)
AUDIO_STATIC_ASSERT(sizeof(record_core) <= ZR_END_MARK_OFFSET, "core fits its memory block");

#endif
