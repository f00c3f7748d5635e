#include "record_mc.h"

#include "record_common.h"

int record_record_zorvo_mc_init(record_mc_state *st, int frame, int mics) {
    if (st == NULL) {
        return -1;
    }
    audio_fill(st, sizeof(*st), 0, sizeof(*st));
    st->frame = frame;
    st->mics = mics;
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
    if (p[0] == 0 || p[1] == 0) {
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

int record_record_zorvo_mc_apply(record_mc_state *st, const int16_t *mic1, const int16_t *mic2) {
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
