#include "record_agc.h"

#include "record_common.h"

#define DB16(x) ((x)*16)

int record_record_zorvo_agc_init(record_agc_state *st, int rate_code, int channels) {
    if (st == NULL) {
        return -1;
    }
    if ((rate_code != 1 && rate_code != 2) || channels < 1 || channels > RECORD_AGC_CHANNELS) {
        return -2;
    }
    audio_fill(st, sizeof(*st), 0, sizeof(*st));
    st->rate_code = rate_code;
    st->frame = rate_code == 1 ? 160 : 480;
    st->channels = channels;
    static const uint8_t defaults[RECORD_AGC_PARAM_SIZE] = {
        0xFD, 0xCE, 2,    0xFF, 0, 2, 0, 0xD8, 0, 0, 0x00, 0x04, 0x00,
        0x0C, 0x00, 0x08, 0,    0, 0, 0, 0,    0, 0, 0x02, 50,
    };
    audio_copy(st->params, sizeof(st->params), defaults, sizeof(defaults));
    record_record_zorvo_vdr_level_init(&st->vad);
    st->speech16 = DB16(-96);
    st->tag = st->tag_tail = RECORD_AGC_TAG;
    return 0;
}

int record_record_zorvo_agc_set_params(record_agc_state *st, const void *block) {
    if (st == NULL || block == NULL) {
        return -1;
    }
    const uint8_t *p = block;
    int target = (int8_t)p[0], gate = (int8_t)p[1], lowest = (int8_t)p[7];
    if (target > 0 || target < -96 || gate < -96 || gate > 0 || lowest < -96 || lowest > 0) {
        return -4;
    }
    if (p[5] == 0) {
        return -5;
    }
    audio_copy(st->params, sizeof(st->params), p, RECORD_AGC_PARAM_SIZE);
    return 0;
}

int record_record_zorvo_agc_get_params(const record_agc_state *st, void *block) {
    if (st == NULL || block == NULL) {
        return -1;
    }
    return audio_copy(block, RECORD_AGC_PARAM_SIZE, st->params, RECORD_AGC_PARAM_SIZE) == 0 ? 0 : -1;
}

static void apply_gain(const int32_t *in, int32_t *out, int n, int32_t g0, int32_t g1) {
    /* the gain steps by (g1 - g0) / n a sample in Q16, reaching g1 on the last sample */
    int64_t step = ((int64_t)g1 - g0) * 65536 / n, g = (int64_t)g0 * 65536;
    for (int i = 0; i < n - 1; i++) {
        g += step;
        out[i] = rec_sat32(((int64_t)in[i] * (g >> 16) + (1 << 14)) >> 15);
    }
    out[n - 1] = rec_sat32(((int64_t)in[n - 1] * g1 + (1 << 14)) >> 15);
}

int record_record_zorvo_agc_apply(record_agc_state *st, const int32_t *in1, const int32_t *in2, int32_t *out1,
                                  int32_t *out2) {
    if (st == NULL) {
        return -1;
    }
    if (st->tag != RECORD_AGC_TAG || st->tag_tail != RECORD_AGC_TAG) {
        return -5;
    }
    int two = st->channels == 2;
    if (in1 == NULL || out1 == NULL || (two && (in2 == NULL || out2 == NULL))) {
        return -6;
    }
    const uint8_t *p = st->params;
    int32_t target = DB16((int8_t)p[0]), gate = DB16((int8_t)p[1]), lowest = DB16((int8_t)p[7]);
    int32_t rise = p[2] * 5 * 16 / 100; /* 1/16 dB per frame */
    rise = rise < 1 ? 1 : rise;
    int32_t fall = DB16(p[5]);
    /* analysis at 16000 Hz: frame mean square and peak of the louder channel, 16-bit scale */
    int step = st->rate_code == 2 ? 3 : 1, n16 = st->frame / step;
    uint64_t best_ms = 0, best_hp = 0;
    int32_t peak = 0;
    for (int c = 0; c < st->channels; c++) {
        const int32_t *x = c == 0 ? in1 : in2;
        uint64_t ms = 0, hp = 0;
        int64_t prev = st->last[c];
        for (int i = 0; i < n16; i++) {
            int64_t s = 0;
            for (int k = 0; k < step; k++) {
                s += x[i * step + k];
            }
            int64_t v = (s / step) >> REC_CHAIN_SHIFT;
            ms += (uint64_t)(v * v);
            /* the first difference tilts the spectrum up by 6 dB an octave: road and engine
             * rumble, which falls by about as much, no longer passes for speech */
            hp += (uint64_t)((v - prev) * (v - prev));
            prev = v;
        }
        st->last[c] = (int32_t)prev;
        ms /= (uint64_t)n16;
        hp /= (uint64_t)n16;
        best_ms = ms > best_ms ? ms : best_ms;
        best_hp = hp > best_hp ? hp : best_hp;
        for (int i = 0; i < st->frame; i++) {
            int32_t a = x[i] < 0 ? -(x[i] + 1) : x[i];
            peak = a > peak ? a : peak;
        }
    }
    int32_t level = rec_power_db16(best_ms, 15); /* dBFS of the mean square, 1/16 dB */
    int32_t tilted = rec_power_db16(best_hp, 15);
    int speech = record_record_zorvo_vdr_level_decide(&st->vad, tilted, level, gate);
    st->frames = st->frames < 1000000 ? st->frames + 1 : st->frames;
    int jump = 0; /* speech clearly louder than before: the gain follows within this frame */
    if (speech) {
        st->pause = 0;
        if (level > st->speech16) {
            jump = level > st->speech16 + DB16(3) && st->speech16 > DB16(-96);
            st->speech16 = level;
        } else if (st->frames % 2 == 0) {
            st->speech16 -= 1;
        }
    } else {
        st->pause = st->pause < 1000 ? st->pause + 1 : st->pause;
    }
    int32_t max_gain = target - DB16(12) - lowest;
    int32_t want = st->speech16 <= DB16(-96) ? 0 : target - DB16(12) - st->speech16;
    want = want > max_gain ? max_gain : (want < DB16(-20) ? DB16(-20) : want);
    int32_t g = st->gain16;
    if (st->pause == 20) {
        st->held16 = g; /* the speech gain, to come back to */
    }
    if (st->pause >= 20) {
        int32_t cap = DB16(6);
        if (g > cap) {
            g = g - DB16(2) < cap ? cap : g - DB16(2);
        }
        want = g < want ? g : want; /* no rising in pauses */
    }
    if (want > g) {
        int32_t up = st->pause == 0 && g < st->held16 ? DB16(4) : rise;
        int32_t top = st->pause == 0 && g < st->held16 && st->held16 < want ? st->held16 : want;
        g = g + up > top ? (g < top ? top : g + rise) : g + up;
        g = g > want ? want : g;
    } else if (want < g) {
        g = jump || g - fall < want ? want : g - fall;
    }
    /* the frame's own peak may not pass the target peak level */
    int32_t peak16 = rec_power_db16((uint64_t)peak * (uint64_t)peak, 15 + REC_CHAIN_SHIFT);
    if (peak16 + g > target) {
        g = target - peak16;
    }
    g = g > DB16(60) ? DB16(60) : g;
    int32_t g0 = rec_db16_to_q15(st->gain16), g1 = rec_db16_to_q15(g);
    if (peak16 + st->gain16 > target) {
        g0 = g1; /* no ramp from a gain that would pass the target */
    }
    st->gain16 = g;
    apply_gain(in1, out1, st->frame, g0, g1);
    if (two) {
        apply_gain(in2, out2, st->frame, g0, g1);
    }
    return 0;
}
