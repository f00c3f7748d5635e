#include "record_mc.h"

#include "record_common.h"

#define LAG_HOLD 5 /* frames a new lag must win in a row */

int record_record_zorvo_mc_init(record_mc_state *st, int frame, int mics) {
    if (st == NULL || (frame != 160 && frame != 480)) {
        return -1;
    }
    audio_fill(st, sizeof(*st), 0, sizeof(*st));
    st->frame = frame;
    st->mics = mics;
    st->max_lag = frame == 160 ? 8 : RECORD_MC_MAX_LAG;
    st->params[0] = 30;
    st->params[1] = 50;
    st->tag = RECORD_MC_TAG;
    return 0;
}

int record_record_zorvo_mc_set_params(record_mc_state *st, const void *block) {
    if (st == NULL || block == NULL) {
        return -1;
    }
    const uint8_t *p = block;
    if (p[0] == 0 || p[1] == 0 || p[2] > 1) {
        return -2;
    }
    audio_copy(st->params, sizeof(st->params), p, RECORD_MC_PARAM_SIZE);
    return 0;
}

int record_record_zorvo_mc_get_params(const record_mc_state *st, void *block) {
    if (st == NULL || block == NULL) {
        return -1;
    }
    return audio_copy(block, RECORD_MC_PARAM_SIZE, st->params, RECORD_MC_PARAM_SIZE) == 0 ? 0 : -1;
}

int record_record_zorvo_mc_lag(const record_mc_state *st) {
    return st != NULL ? st->lag : 0;
}

/* Smooths this frame's cross-correlation into the state and moves the lag after LAG_HOLD frames
 * of a new winner. x1 and x2 hold 2 max_lag samples of history, then the frame. */
static void track_lag(record_mc_state *st, const int16_t *x1, const int16_t *x2) {
    int n = st->frame, L = st->max_lag, best = 0;
    /* At 48000 Hz the sums take every third sample of the signals summed three at a time (a
     * low-pass that keeps the speech band and drops two thirds of the wide-band noise's
     * variance). The sums run over contiguous copies, microphone 1 in one copy per phase of the
     * stride, scaled down so that a frame's products add up in 32 bits. */
    int stride = n == 480 ? 3 : 1, m = n / stride, span = 2 * L + n, down = stride == 3 ? 5 : 4;
    int16_t d2[160], ph[3][(2 * RECORD_MC_MAX_LAG + RECORD_MC_MAX_FRAME) / 3 + 1];
    for (int k = 0; k < m; k++) {
        int32_t v = 0;
        for (int j = 0; j < stride; j++) {
            v += x2[L + stride * k + j] >> down;
        }
        d2[k] = (int16_t)v;
    }
    for (int r = 0; r < stride; r++) {
        for (int k = 0; r + stride * k + stride - 1 < span; k++) {
            int32_t v = 0;
            for (int j = 0; j < stride; j++) {
                v += x1[r + stride * k + j] >> down;
            }
            ph[r][k] = (int16_t)v;
        }
    }
    int64_t best_v = INT64_MIN;
    for (int l = -L; l <= L; l++) {
        /* sum over the frame of x2[i] x1[i - l], microphone 2 taken at the middle delay */
        int off = L - l;
        const int16_t *b = ph[off % stride] + off / stride;
        int32_t acc = 0;
        for (int k = 0; k < m; k++) {
            acc += (int32_t)d2[k] * b[k];
        }
        int64_t *c = &st->corr[l + L];
        *c += (acc - *c) / 8;
        if (*c > best_v) {
            best_v = *c;
            best = l;
        }
    }
    if (best == st->lag) {
        st->candidate_frames = 0;
    } else if (best == st->candidate) {
        st->candidate_frames++;
    } else {
        st->candidate = best;
        st->candidate_frames = 1;
    }
}

/* In place: channel 1 the combination (or the good microphone alone), channel 2 microphone 2,
 * both max_lag samples late. */
static void combine(record_mc_state *st, int16_t *mic1, int16_t *mic2) {
    int n = st->frame, L = st->max_lag, keep = 2 * L;
    int16_t x1[2 * RECORD_MC_MAX_LAG + RECORD_MC_MAX_FRAME], x2[2 * RECORD_MC_MAX_LAG + RECORD_MC_MAX_FRAME];
    size_t hist_bytes = (size_t)keep * sizeof(int16_t), bytes = (size_t)n * sizeof(int16_t);
    audio_copy(x1, sizeof(x1), st->hist[0], hist_bytes);
    audio_copy(x1 + keep, sizeof(x1) - hist_bytes, mic1, bytes);
    audio_copy(x2, sizeof(x2), st->hist[1], hist_bytes);
    audio_copy(x2 + keep, sizeof(x2) - hist_bytes, mic2, bytes);
    audio_copy(st->hist[0], sizeof(st->hist[0]), x1 + n, hist_bytes);
    audio_copy(st->hist[1], sizeof(st->hist[1]), x2 + n, hist_bytes);
    int mode = st->params[2];
    /* every other frame is enough to follow a talker who leans over */
    st->frames++;
    if (mode == 0 && !st->failed[0] && !st->failed[1] && st->frames % 2 == 0) {
        track_lag(st, x1, x2);
    }
    int old = st->lag, lag = old;
    if (st->candidate_frames >= LAG_HOLD) {
        lag = st->lag = st->candidate;
        st->candidate_frames = 0;
    }
    /* the middle of the window is "now minus max_lag" for microphone 2 */
    const int16_t *d2 = x2 + L, *d1_old = x1 + L - old, *d1 = x1 + L - lag;
    if (st->failed[1] && !st->failed[0]) {
        audio_copy(mic1, bytes, d1, bytes); /* microphone 1 alone, at the lag it had */
    } else if (st->failed[0] || mode == 1) {
        audio_copy(mic1, bytes, st->failed[0] ? d2 : x1 + L, bytes);
    } else if (lag == old) {
        for (int i = 0; i < n; i++) {
            mic1[i] = (int16_t)(((int32_t)d1[i] + d2[i]) >> 1);
        }
    } else {
        /* cross-fade from the old alignment to the new one over the frame */
        for (int i = 0; i < n; i++) {
            int32_t m1 = (d1_old[i] * (n - i) + d1[i] * i) / n;
            mic1[i] = (int16_t)((m1 + d2[i]) >> 1);
        }
    }
    audio_copy(mic2, bytes, d2, bytes);
}

int record_record_zorvo_mc_apply(record_mc_state *st, int16_t *mic1, int16_t *mic2) {
    if (st == NULL) {
        return -1;
    }
    if (st->tag != RECORD_MC_TAG) {
        return -3;
    }
    if (st->mics < 2) {
        return 0;
    }
    if (mic1 == NULL || mic2 == NULL) {
        return -4;
    }
    const int16_t *m[2] = {mic1, mic2};
    int32_t lv[2], stuck[2];
    for (int c = 0; c < 2; c++) {
        uint64_t e = 0;
        stuck[c] = 1;
        for (int i = 0; i < st->frame; i++) {
            e += (uint64_t)((int32_t)m[c][i] * m[c][i]);
            stuck[c] &= m[c][i] == m[c][0];
        }
        lv[c] = rec_power_db16(e / (uint64_t)st->frame + 1, 15);
    }
    int32_t thr = st->params[0] * 16, hold = st->params[1];
    for (int c = 0; c < 2; c++) {
        int bad = stuck[c] || lv[c] + thr < lv[1 - c];
        if (bad) {
            st->good_count[c] = 0;
            if (st->bad_count[c] < hold) {
                st->bad_count[c]++;
            }
            if (st->bad_count[c] >= hold && !st->failed[1 - c]) {
                st->failed[c] = 1;
            }
        } else {
            st->bad_count[c] = 0;
            if (st->good_count[c] < hold) {
                st->good_count[c]++;
            }
            if (st->good_count[c] >= hold) {
                st->failed[c] = 0;
            }
        }
    }
    combine(st, mic1, mic2);
    return 0;
}

void record_record_zorvo_voice_mic_err_porc(const record_mc_state *st, int16_t *mic1, int16_t *mic2) {
    if (st == NULL || st->mics < 2 || mic1 == NULL || mic2 == NULL) {
        return;
    }
    size_t bytes = (size_t)st->frame * sizeof(int16_t);
    if (st->failed[0] && !st->failed[1]) {
        audio_copy(mic1, bytes, mic2, bytes);
    } else if (st->failed[1] && !st->failed[0]) {
        audio_copy(mic2, bytes, mic1, bytes);
    }
}
