#include <string.h>

#include "res_internal.h"
#include "res_tables.h"

static const int k_in_rates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 64000};
static const int k_out_rates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};

static int in_list(const int *list, size_t n, int rate) {
    for (size_t i = 0; i < n; i++) {
        if (list[i] == rate) {
            return 1;
        }
    }
    return 0;
}

int res_is_input_rate(int rate) {
    return in_list(k_in_rates, sizeof(k_in_rates) / sizeof(int), rate);
}
int res_is_output_rate(int rate) {
    return in_list(k_out_rates, sizeof(k_out_rates) / sizeof(int), rate);
}

/* Integer-ratio pairs, searched in this order. */
static const struct {
    int in_rate, out_rate, index;
} k_int_pairs[] = {
    {8000, 16000, 1},  {11025, 22050, 1}, {12000, 24000, 1}, {16000, 32000, 1}, {22050, 44100, 1},
    {24000, 48000, 1}, {8000, 32000, 3},  {11025, 44100, 3}, {12000, 48000, 3}, {8000, 48000, 5},
    {16000, 8000, 2},  {22050, 11025, 2}, {24000, 12000, 2}, {32000, 16000, 2}, {44100, 22050, 2},
    {48000, 24000, 2}, {32000, 8000, 4},  {44100, 11025, 4}, {48000, 12000, 4}, {48000, 8000, 6},
};

int res_int_ratio_index(int in_rate, int out_rate) {
    for (size_t i = 0; i < sizeof(k_int_pairs) / sizeof(k_int_pairs[0]); i++) {
        if (k_int_pairs[i].in_rate == in_rate && k_int_pairs[i].out_rate == out_rate) {
            return k_int_pairs[i].index;
        }
    }
    return in_rate == out_rate ? 0 : -1;
}

#define GOOD(a, b, x, y, l)                                                                                  \
    { a, b, RES_g_res_##x##_##y##_good_filttab, RES_g_res_##x##_##y##_good_nextphasetab, l, l, 16 }
#define MID(a, b, x, y, l)                                                                                   \
    { a, b, g_res_##x##_##y##_mid_filttab, RES_g_res_##x##_##y##_good_nextphasetab, l, l, 8 }

/* "Good" tables (16 taps per half-filter), searched first. */
static const res_poly_table k_good[] = {
    GOOD(8000, 12000, 8, 12, 3),
    GOOD(8000, 16000, 8, 16, 2),
    GOOD(8000, 24000, 8, 24, 3),
    GOOD(8000, 32000, 8, 32, 4),
    GOOD(8000, 48000, 8, 48, 6),
    GOOD(11025, 22050, 8, 16, 2),
    GOOD(11025, 44100, 8, 32, 4),
    GOOD(12000, 16000, 12, 16, 4),
    GOOD(12000, 24000, 8, 16, 2),
    GOOD(12000, 32000, 12, 32, 8),
    GOOD(12000, 48000, 8, 32, 4),
    GOOD(16000, 24000, 8, 12, 3),
    GOOD(16000, 32000, 8, 16, 2),
    GOOD(16000, 48000, 8, 24, 3),
    GOOD(22050, 44100, 8, 16, 2),
    GOOD(24000, 32000, 12, 16, 4),
    GOOD(24000, 48000, 8, 16, 2),
    GOOD(32000, 44100, 8, 11, 441),
    GOOD(32000, 48000, 8, 12, 3),
    GOOD(44100, 48000, 11, 12, 160),
    /* same rate: one phase step over a 64-row table of 8 taps */
    {48000, 48000, RES_g_res_48_48_good_filttab, RES_g_res_48_48_good_nextphasetab, 64, 1, 8},
};

/* "Mid" tables (8 taps per half-filter); each uses the phase steps of its pair. */
static const res_poly_table k_mid[] = {
    MID(8000, 11025, 8, 11, 441),   MID(16000, 22050, 8, 11, 441),  MID(8000, 22050, 8, 22, 441),
    MID(16000, 44100, 8, 22, 441),  MID(8000, 44100, 8, 44, 441),   MID(11025, 12000, 11, 12, 160),
    MID(22050, 24000, 11, 12, 160), MID(11025, 16000, 11, 16, 640), MID(22050, 32000, 11, 16, 640),
    MID(11025, 24000, 11, 24, 320), MID(22050, 48000, 11, 24, 320), MID(11025, 32000, 11, 32, 1280),
    MID(11025, 48000, 11, 48, 640), MID(12000, 22050, 12, 22, 147), MID(24000, 44100, 12, 22, 147),
    MID(12000, 44100, 12, 44, 147),
};

const res_poly_table *res_poly_table_at(int mid, size_t i) {
    if (!mid) {
        return i < sizeof(k_good) / sizeof(k_good[0]) ? &k_good[i] : NULL;
    }
    return i < sizeof(k_mid) / sizeof(k_mid[0]) ? &k_mid[i] : NULL;
}

static int entry_matches(const res_poly_table *t, int in_rate, int out_rate) {
    return (in_rate == t->in_rate && out_rate == t->out_rate) ||
           (in_rate / 2 == t->in_rate && out_rate / 2 == t->out_rate) ||
           (in_rate / 4 == t->in_rate && out_rate / 4 == t->out_rate);
}

const res_poly_table *res_find_poly_table(int in_rate, int out_rate) {
    for (size_t i = 0; i < sizeof(k_good) / sizeof(k_good[0]); i++) {
        if (entry_matches(&k_good[i], in_rate, out_rate)) {
            return &k_good[i];
        }
    }
    for (size_t i = 0; i < sizeof(k_mid) / sizeof(k_mid[0]); i++) {
        if (entry_matches(&k_mid[i], in_rate, out_rate)) {
            return &k_mid[i];
        }
    }
    return NULL;
}

int res_gcd(int a, int b) {
    if (a <= 0 || b <= 0) {
        return 0;
    }
    while (b != 0) {
        int r = a % b;
        a = b;
        b = r;
    }
    return a;
}

RES_Resampler *res_alloc(size_t buf_values, size_t value_size) {
    audio_layout layout;
    audio_layout_begin(&layout, NULL, 0);
    audio_layout_take(&layout, sizeof(RES_Resampler));
    if (buf_values > 0) {
        audio_layout_take(&layout, buf_values * value_size);
    }
    size_t size = audio_layout_used(&layout);
    void *block = audio_block_alloc(size);
    if (block == NULL) {
        return NULL;
    }
    audio_layout_begin(&layout, block, size);
    RES_Resampler *res = audio_layout_take(&layout, sizeof(RES_Resampler));
    void *buf = buf_values > 0 ? audio_layout_take(&layout, buf_values * value_size) : NULL;
    if (res == NULL || audio_layout_failed(&layout)) {
        audio_block_free(block);
        return NULL;
    }
    res->head = RES_MARK_HEAD;
    res->tail = RES_MARK_TAIL;
    res->buf_values = buf_values;
    if (value_size == sizeof(int16_t)) {
        res->buf16 = buf;
    } else {
        res->buf32 = buf;
    }
    return res;
}

void res_free_block(RES_Resampler *res) {
    if (res == NULL) {
        return;
    }
    res->head = 0; /* a stale handle no longer passes the integrity check */
    res->tail = 0;
    audio_block_free(res);
}

int res_integrity_ok(const RES_Resampler *res) {
    if (res == NULL || res->head != RES_MARK_HEAD || res->tail != RES_MARK_TAIL) {
        return 0;
    }
    if (res->buf16 != NULL && !audio_guard_ok(res->buf16, res->buf_values * sizeof(int16_t))) {
        return 0;
    }
    if (res->buf32 != NULL && !audio_guard_ok(res->buf32, res->buf_values * sizeof(int32_t))) {
        return 0;
    }
    return res->chn == 1 || res->chn == 2;
}

int res_lin_integrity_ok(const RES_LinearSrc *lin) {
    return lin != NULL && lin->head == LIN_MARK_HEAD && lin->tail == LIN_MARK_TAIL && lin->chn >= 1 &&
           lin->chn <= LIN_MAX_CHN && lin->in_rate > 0 && lin->out_rate > 0;
}

int res_max_output(const RES_Resampler *res, int count) {
    if ((unsigned)count > RES_MAX_SAMPLES) {
        AUDIO_LOG("invalid in_samps(%d), should <= %d.\n", count, RES_MAX_SAMPLES);
        return RES_ERR_COUNT;
    }
    if (res->chn == 2 && (count & 1) != 0) {
        AUDIO_LOG("invalid in_samps(%d) in stereo.\n", count);
        return RES_ERR_COUNT;
    }
    unsigned out = (unsigned)res->out_rate, in = (unsigned)res->in_rate;
    unsigned n = out * ((unsigned)count + (unsigned)res->chn - 1u) / in;
    return (int)(n + (out % in != 0 ? 1u : 0u));
}
