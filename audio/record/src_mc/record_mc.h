/*
 * Multi-microphone stage (two microphones): combines the microphones by delay-and-sum and
 * repairs a failed microphone's channel.
 *
 * Combination: the lag between the microphones (a talker is nearer to one of them) is the
 * peak of their cross-correlation over +-0.5 ms (8 samples at 16000 Hz, 24 at 48000 Hz, where
 * every third sample enters the sums), correlated every other frame and smoothed over about
 * eight of those; a new lag is taken only after it has won five of them in a row, and the change
 * is cross-faded over one frame. Channel 1
 * becomes the mean of microphone 2 and microphone 1 shifted by that lag, so speech adds up in
 * phase while noise that differs between the microphones (road, wind, handling) adds up in
 * power only: up to 3 dB better signal-to-noise ratio. Channel 2 carries microphone 2. Both
 * channels are delayed by the largest lag (0.5 ms) so that every lag can be reached without
 * looking ahead.
 *
 * Failure: a microphone counts as failed after `hold` frames in a row in which its level is more
 * than `threshold` dB below the other's, or its samples do not change at all (a stuck
 * converter); while one has failed, channel 1 is the good microphone alone, and the repair step
 * copies it into the failed one's channel until it comes back for as many frames. With one
 * microphone the stage passes the frame on.
 *
 * Parameter block (16 bytes): u8 threshold in dB (default 30), u8 hold in frames (50), u8 mode
 * (0: combine and repair, 1: repair only), rest kept.
 */
#ifndef RECORD_MC_H
#define RECORD_MC_H

#include <stdint.h>

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

#define RECORD_MC_PARAM_SIZE 16
#define RECORD_MC_TAG        0x4D433031u
#define RECORD_MC_MAX_LAG    24 /* samples at 48000 Hz: 0.5 ms */
#define RECORD_MC_MAX_FRAME  480

typedef struct record_mc_state {
    uint32_t tag;
    int32_t frame;
    int32_t mics;
    int32_t max_lag; /* 8 at 16000 Hz, 24 at 48000 Hz */
    uint8_t params[RECORD_MC_PARAM_SIZE];
    int32_t bad_count[2];
    int32_t good_count[2];
    int32_t failed[2];
    int32_t lag;       /* microphone 2 lags microphone 1 by this many samples */
    int32_t candidate; /* the lag the correlation prefers, and for how many frames */
    int32_t candidate_frames;
    uint32_t frames;
    int64_t corr[2 * RECORD_MC_MAX_LAG + 1]; /* smoothed cross-correlation by lag */
    int16_t hist[2][2 * RECORD_MC_MAX_LAG];  /* each microphone's last 2 max_lag samples */
} record_mc_state;

/* frame 160 or 480 samples (the rate follows from it), mics 1..2; 0, -1 NULL or bad frame. */
AUDIO_EXPORT int record_record_zorvo_mc_init(record_mc_state *st, int frame, int mics);
/* 0; -1 NULL; -2 threshold or hold 0, or mode above 1. */
AUDIO_EXPORT int record_record_zorvo_mc_set_params(record_mc_state *st, const void *block);
AUDIO_EXPORT int record_record_zorvo_mc_get_params(const record_mc_state *st, void *block);
/* Updates the failure state from the two frames and, in place, combines them (channel 1) and
 * delays channel 2 alike; 0, -1 NULL, -3 tag, -4 a frame missing. */
AUDIO_EXPORT int record_record_zorvo_mc_apply(record_mc_state *st, int16_t *mic1, int16_t *mic2);
/* Replaces a failed microphone's frame by the other's. */
AUDIO_EXPORT void record_record_zorvo_voice_mic_err_porc(const record_mc_state *st, int16_t *mic1,
                                                         int16_t *mic2);
/* The lag the combination uses now (microphone 2 behind microphone 1, in samples). */
AUDIO_EXPORT int record_record_zorvo_mc_lag(const record_mc_state *st);

#ifdef __cplusplus
}
#endif

#endif /* RECORD_MC_H */
