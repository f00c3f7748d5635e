/* Late-reverberation suppression (method in vqe_dereverb.h). */
#include "vqe_dereverb.h"

#include <math.h>
#include <string.h>

#include "vqe_internal.h"

_Static_assert(sizeof(vqe_dereverb) <= VQE_MEM_DEREVERB / 2, "dereverberation fits its memory");

#define DR_HOP_S     0.016f
#define DR_SMOOTH    0.5f  /* periodogram smoothing */
#define DR_DD        0.9f  /* decision-directed weight */
#define DR_FLOOR     0.25f /* -12 dB */
#define DR_T60_START 0.5f
#define DR_T60_MIN   0.15f
#define DR_T60_MAX   1.5f
#define DR_MIN_DROP  6.0f /* dB over a decay run */

static void set_t60(vqe_dereverb *st, float t60) {
    st->t60 = t60 < DR_T60_MIN ? DR_T60_MIN : (t60 > DR_T60_MAX ? DR_T60_MAX : t60);
    float delta = 3.0f * logf(10.0f) / st->t60;
    st->late_gain = expf(-2.0f * delta * VQE_DR_LATE * DR_HOP_S);
}

int audio_vqe_dereverb_init(vqe_dereverb *st) {
    if (st == NULL) {
        return -1;
    }
    memset(st, 0, sizeof(*st));
    set_t60(st, DR_T60_START);
    audio_vqe_banding_init(&st->bands);
    st->guard0 = st->guard1 = VQE_GUARD;
    return 0;
}

/* Looks for free decays in the band energies and moves the decay time estimate. */
static void track_decay(vqe_dereverb *st, const float *power, float *band) {
    audio_vqe_banding_forward(&st->bands, power, band);
    int slot = (int)(st->frames % VQE_DR_TRACK);
    float slowest = 0.0f; /* dB per frame of the slowest valid decay this frame */
    for (int b = 2; b < VQE_BANDS; b++) {
        float *h = st->band_db[b];
        h[slot] = 10.0f * log10f(band[b] + 1.0f);
        if (st->frames < VQE_DR_TRACK) {
            continue;
        }
        int falling = 1;
        for (int i = 1; i < VQE_DR_TRACK && falling; i++) {
            int cur = (slot - i + 1 + VQE_DR_TRACK) % VQE_DR_TRACK,
                prev = (slot - i + VQE_DR_TRACK) % VQE_DR_TRACK;
            falling = h[cur] < h[prev];
        }
        float drop = h[(slot + 1) % VQE_DR_TRACK] - h[slot];
        if (falling && drop > DR_MIN_DROP && h[slot] > 20.0f) {
            float rate = drop / (VQE_DR_TRACK - 1);
            if (slowest == 0.0f || rate < slowest) {
                slowest = rate;
            }
        }
    }
    if (slowest > 0.0f) {
        float cand = 60.0f / (slowest / DR_HOP_S);
        float step = cand > st->t60 ? 0.1f : 0.02f;
        set_t60(st, st->t60 + step * (cand - st->t60));
    }
}

int audio_vqe_dereverb_apply(vqe_dereverb *st, float *bins, float *work) {
    if (st == NULL || bins == NULL || work == NULL) {
        return -1;
    }
    if (st->guard0 != VQE_GUARD || st->guard1 != VQE_GUARD) {
        return -2;
    }
    float *power = work, *band = work + VQE_BINS;
    int head = (st->head + 1) % (VQE_DR_LATE + 1);
    const float *late_src = st->ring[(head + 1) % (VQE_DR_LATE + 1)]; /* VQE_DR_LATE frames back */
    const float *last = st->ring[st->head];
    float *now = st->ring[head];
    for (int k = 0; k < VQE_BINS; k++) {
        float p = bins[2 * k] * bins[2 * k] + bins[2 * k + 1] * bins[2 * k + 1];
        power[k] = isfinite(p) ? p : 0.0f;
        now[k] = DR_SMOOTH * last[k] + (1.0f - DR_SMOOTH) * power[k];
    }
    for (int k = 0; k < VQE_BINS; k++) {
        float late = st->late_gain * late_src[k] + 1e-3f;
        float post = power[k] / late;
        float prior = DR_DD * st->prev_clean[k] / late + (1.0f - DR_DD) * (post > 1.0f ? post - 1.0f : 0.0f);
        float g = prior / (1.0f + prior);
        g = g > DR_FLOOR ? g : DR_FLOOR;
        g = isfinite(g) ? g : 1.0f;
        bins[2 * k] *= g;
        bins[2 * k + 1] *= g;
        st->prev_clean[k] = g * g * power[k];
    }
    st->head = head;
    track_decay(st, power, band);
    st->frames++;
    return 0;
}
