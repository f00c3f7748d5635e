/* Reproducible echo scenes for the echo canceller measurements. */
#ifndef BENCH_AEC_SCENES_H
#define BENCH_AEC_SCENES_H

#include <cstdint>
#include <string>
#include <vector>

#include "audio_metrics.h"

struct Room {
    const char *name;
    double bulk_ms;     /* delay before the first reflection */
    double response_ms; /* length of the response (decays by 60 dB over it) */
    double erl_db;      /* echo level below the loudspeaker signal */
};

struct Scene {
    std::string name;
    int rate = 0;
    std::vector<int16_t> far, mic;
    std::vector<int16_t> near; /* near-end speech plus noise: what should come out */
    size_t change_at = 0;      /* echo path change (samples), 0 = none */
    size_t near_from = 0, near_to = 0;
};

/* Speech from espeak-ng (shared with the other audio benchmarks). */
using am::speak;
/* Impulse response: bulk delay, then deterministic noise decaying by 60 dB over the response. */
std::vector<double> make_response(const Room &room, int rate, uint32_t seed);
/* The four scenes of a room: single talk, double talk, echo path change, silent far end. */
std::vector<Scene> make_scenes(const Room &room, int rate, const std::vector<int16_t> &far_speech,
                               const std::vector<int16_t> &near_speech, double noise_dbfs);

#endif
