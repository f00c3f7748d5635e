#include "record_hdr.h"

#include "record_common.h"

#define CLIP_A     852903447LL /* above -1 dBFS */
#define CLIP_B     956973407LL /* above -0.5 dBFS */
#define UP_RESTART (-4000)

int record_record_zorvo_hdr_init(record_hdr_state *st, int rate_code, int init_gain) {
    if (st == NULL) {
        return -1;
    }
    static const int32_t frames[3] = {80, 160, 480}, subs[3] = {8, 16, 48};
    if (rate_code < 0 || rate_code > 2) {
        return -2;
    }
    audio_fill(st, sizeof(*st), 0, sizeof(*st));
    st->frame = frames[rate_code];
    st->sub = subs[rate_code];
    st->slow = 6774853;
    if (rate_code == 2) {
        st->t1 = 63812340;
        st->t2 = 50687940;
        st->t3 = 13452820;
        st->t4 = 10685960;
    } else {
        st->t1 = 17017661;
        st->t2 = 10737418;
        st->t3 = 4274643;
        st->t4 = 2142397;
    }
    st->active = 1;
    st->total = init_gain;
    st->up = UP_RESTART;
    st->p = (record_hdr_params){6, 20, 2, 26, 600};
    st->hold_down_vl = 26;
    st->hold_down_l = 39;
    st->hold_up_vq = 600;
    st->hold_up_q = 900;
    st->tag = RECORD_HDR_TAG;
    return 0;
}

static record_hdr_params read_params(const uint8_t *p) {
    record_hdr_params r = {rec_rd32(p), rec_rd32(p + 4), rec_rd32(p + 8), rec_rd32(p + 12), rec_rd32(p + 16)};
    return r;
}

int record_record_zorvo_hdr_params_check(const void *block) {
    record_hdr_params p = read_params(block);
    if (p.gain_step < 1 || p.gain_step > 3) {
        return -6;
    }
    if (p.down_hold < 0) {
        return -7;
    }
    if (p.up_hold < 0) {
        return -8;
    }
    return 0;
}

/* Holds of 1.5 x: computed without overflowing for very large holds. */
static int32_t one_and_half(int32_t v) {
    return v > INT32_MAX / 3 * 2 ? INT32_MAX : v + v / 2;
}

int record_record_zorvo_hdr_set_params(record_hdr_state *st, const void *block) {
    if (st == NULL) {
        return -1;
    }
    if (block == NULL) {
        return -4;
    }
    if (st->tag != RECORD_HDR_TAG) {
        return -2;
    }
    int ret = record_record_zorvo_hdr_params_check(block);
    if (ret != 0) {
        return ret;
    }
    audio_copy(st->raw, sizeof(st->raw), block, RECORD_HDR_PARAM_SIZE);
    st->p = read_params(block);
    st->hold_down_vl = st->p.down_hold;
    st->hold_down_l = one_and_half(st->p.down_hold);
    st->hold_up_vq = st->p.up_hold;
    st->hold_up_q = one_and_half(st->p.up_hold);
    return 0;
}

int record_record_zorvo_hdr_get_params(const record_hdr_state *st, void *block) {
    if (st == NULL) {
        return -1;
    }
    if (block == NULL) {
        return -4;
    }
    if (st->tag != RECORD_HDR_TAG) {
        return -2;
    }
    return audio_copy(block, RECORD_HDR_PARAM_SIZE, st->raw, RECORD_HDR_PARAM_SIZE) == 0 ? 0 : -4;
}

int record_record_zorvo_hdr_single_mic_apply(record_hdr_state *st, const int16_t *frame) {
    int32_t len = 2 * st->sub, step = st->p.gain_step, c = 0;
    int64_t e[5];
    for (int i = 0; i < 5; i++) {
        int64_t s = 0;
        for (int32_t k = 0; k < len; k++) {
            int32_t v = frame[i * len + k];
            s += (int64_t)v * v;
        }
        e[i] = s / len;
    }
    int32_t clip_a = 0, clip_b = 0;
    for (int32_t k = 0; k < 5 * len; k++) {
        int64_t sq = (int64_t)frame[k] * frame[k];
        clip_a += sq > CLIP_A;
        clip_b += sq > CLIP_B;
    }
    for (int i = 0; i < 5; i++) {
        st->fast += (e[i] - st->ring[st->ring_idx]) >> 3;
        st->ring[st->ring_idx] = e[i];
        st->ring_idx = (st->ring_idx + 1) % 5;
        st->slow += (st->fast - st->slow) >> 10;
        int64_t s = st->slow;
        if (s > st->t1 || s > st->t2) {
            int32_t hold = s > st->t1 ? st->hold_down_vl : st->hold_down_l;
            st->down += 2;
            st->up = UP_RESTART;
            st->neutral = 0;
            if (st->down > hold) {
                st->down = 0;
                c -= step;
                st->code = 2;
            }
        } else if (s < st->t4 || s < st->t3) {
            int32_t hold = s < st->t4 ? st->hold_up_vq : st->hold_up_q;
            st->up += 2;
            st->neutral = 0;
            if (st->up > hold) {
                st->down = 0;
                st->up = 0;
                c += step;
                st->code = 1;
            }
        } else {
            if (st->neutral <= 4000) {
                st->neutral += 2;
            } else {
                st->hold_down_vl = st->p.down_hold;
                st->hold_down_l = one_and_half(st->p.down_hold);
            }
            st->down = 0;
            st->up = UP_RESTART;
            st->code = 0;
        }
    }
    if (clip_b > 3 || (clip_a >= 6 && st->slow > st->t3)) {
        st->down = -50;
        st->up = UP_RESTART;
        st->code = 3;
        c -= step;
    }
    c = c > step ? step : (c < -step ? -step : c);
    if (st->total < st->p.gain_min) {
        c = step;
    } else if (st->total > st->p.gain_max) {
        c = -step;
    } else if (st->total + c < st->p.gain_min || st->total + c > st->p.gain_max) {
        c = 0;
    }
    return c;
}

int record_record_zorvo_hdr_apply(record_hdr_state *st, const int16_t *frame, int8_t *step) {
    if (st == NULL) {
        return -1;
    }
    if (st->tag != RECORD_HDR_TAG) {
        return -2;
    }
    if (frame == NULL) {
        return -3;
    }
    int c = record_record_zorvo_hdr_single_mic_apply(st, frame);
    st->total += c;
    if (step != NULL) {
        *step = (int8_t)c;
    }
    return 0;
}
