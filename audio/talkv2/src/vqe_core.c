/*
 * The talk core: instance layout, parameter application and the frame chain.
 *
 * The instance memory starts with the core record (transform tables, window, analysis and
 * synthesis history, 32-bit chain buffers, the parameter record) followed by one region per
 * enabled module in a fixed order; every region has exactly the size the memory formula gives
 * that module. Per-frame temporaries (spectra, gains, transform buffer) live in the caller's
 * scratch area.
 */
#include <math.h>
#include <string.h>

#include "audio_common.h"
#include "vqe_dereverb.h"
#include "vqe_hs.h"
#include "vqe_internal.h"
#include "vqe_wnr.h"

_Static_assert(sizeof(vqe_core) <= VQE_MEM_CORE, "core record fits its memory");
_Static_assert(sizeof(vqe_fmp) <= VQE_MEM_FMP, "post-processing fits its memory");
_Static_assert(sizeof(vqe_nr) <= VQE_MEM_NR, "noise reduction fits its memory");
_Static_assert(sizeof(vqe_pmwf) <= VQE_MEM_PMWF, "Wiener filter fits its memory");
_Static_assert(sizeof(vqe_agc) + sizeof(vqe_agc_chan) <= VQE_MEM_AGC_FIXED + VQE_MEM_AGC_CHANNEL &&
                   sizeof(vqe_agc_chan) <= VQE_MEM_AGC_CHANNEL,
               "AGC fits its memory");
_Static_assert(sizeof(vqe_eq) <= VQE_MEM_EQ, "equaliser fits its memory");
_Static_assert(sizeof(vqe_drc) <= VQE_MEM_DRC, "compressor fits its memory");
_Static_assert(sizeof(vqe_limiter) <= VQE_MEM_LIMITER, "limiter fits its memory");

static const char g_vqe_version[] = "arm-linux";

#define ALIGNED(p) ((((uintptr_t)(p)) & 7u) == 0)

/* Scratch layout of one frame, in floats. */
#define SC_SPEC    0
#define SC_SPEC2   (SC_SPEC + 2 * VQE_BINS)
#define SC_REF     (SC_SPEC2 + 2 * VQE_BINS)
#define SC_SPEC_IN (SC_REF + 2 * VQE_BINS)
#define SC_GAIN_A  (SC_SPEC_IN + 2 * VQE_BINS)
#define SC_GAIN_N  (SC_GAIN_A + VQE_BINS + 1)
#define SC_TIME    (SC_GAIN_N + VQE_BINS + 1)
#define SC_WORK    (SC_TIME + AUDIO_VQE_FFT)
#define SC_FLOATS  (AUDIO_VQE_SCRATCH_MIN / 4)
#define SC_GAIN_H  (SC_FLOATS - (VQE_BINS + 1)) /* howling gains, at the end of the scratch */

/* The echo canceller block's three checks; the first failure with the module's base. */
static int aec_block_check(const uint8_t *p) {
    const uint8_t *blk = p + AUDIO_VQE_B_AEC;
    int r = audio_vqe_aec_check_one(blk);
    r = r != 0 ? r : audio_vqe_aec_check_two(blk);
    r = r != 0 ? r : audio_vqe_aec_check_three(blk);
    return r != 0 ? AUDIO_VQE_BASE_AEC + r : 0;
}

static int header_and_config(const uint8_t *cfg, uint8_t *p) {
    int ret = vqe_check_header(p);
    if (ret != 0) {
        return ret;
    }
    ret = vqe_check_syscfg(cfg, p[AUDIO_VQE_P_AEC_ON]);
    if (ret != 0) {
        return ret;
    }
    if (p[AUDIO_VQE_P_AEC_ON]) {
        if ((ret = aec_block_check(p)) != 0) {
            return ret;
        }
        p[AUDIO_VQE_P_FMP_ON] = 1;
    }
    return 0;
}

int audio_vqe_get_size(int32_t *size, const void *syscfg, void *params) {
    if (size == NULL) {
        return -4;
    }
    if (!ALIGNED(size)) {
        return -5;
    }
    if (syscfg == NULL) {
        return -14;
    }
    if (!ALIGNED(syscfg)) {
        return -15;
    }
    if (params == NULL) {
        return -16;
    }
    if (!ALIGNED(params)) {
        return -17;
    }
    int ret = header_and_config(syscfg, params);
    if (ret != 0) {
        return ret;
    }
    *size = vqe_memory_size(params);
    return 0;
}

/* Checks every block the enabled modules will take, before any module changes. */
static int check_blocks(const uint8_t *p) {
    int r;
    if (p[AUDIO_VQE_P_AEC_ON] && (r = aec_block_check(p)) != 0) {
        return r;
    }
    if (p[AUDIO_VQE_P_FMP_ON]) {
        const uint8_t *f = p + AUDIO_VQE_B_FMP;
        if (f[0] > 1) {
            return AUDIO_VQE_BASE_FMP - 14;
        }
        if (f[1] < 1 || f[1] > 10) {
            return AUDIO_VQE_BASE_FMP - 15;
        }
        if (f[2] > 2) {
            return AUDIO_VQE_BASE_FMP - 16;
        }
    }
    if (p[AUDIO_VQE_P_AGC_ON]) {
        r = audio_vqe_agc_check_params(p + AUDIO_VQE_B_AGC);
        if (r != 0) {
            return AUDIO_VQE_BASE_AGC + r;
        }
    }
    if (p[AUDIO_VQE_P_EQ_ON]) {
        for (int i = 0; i < VQE_EQ_BANDS; i++) {
            int8_t g = (int8_t)p[AUDIO_VQE_B_EQ + i];
            if (g < -50 || g > 20) {
                return AUDIO_VQE_BASE_EQ - 10;
            }
        }
    }
    if (p[AUDIO_VQE_P_PMWF_ON]) {
        r = zorvo_pmwf_check_params(p + AUDIO_VQE_B_PMWF);
        if (r != 0) {
            return AUDIO_VQE_BASE_PMWF + r;
        }
    }
    return 0;
}

/* Hands every built module its block, in the order echo canceller, post-processing, AGC,
 * equaliser, noise reduction, Wiener filter, compressor, limiter. */
static int audio_vqe_set_nvid_params(vqe_core *c, uint8_t *p) {
    int r = check_blocks(p);
    if (r != 0) {
        return r;
    }
    if (c->aec != NULL &&
        (r = audio_vqe_aec_set_params(c->aec, p + AUDIO_VQE_B_AEC, p[AUDIO_VQE_P_AEC_MODE])) != 0) {
        return AUDIO_VQE_BASE_AEC + r;
    }
    if (c->fmp != NULL && (r = audio_vqe_fmp_set_params(c->fmp, p + AUDIO_VQE_B_FMP)) != 0) {
        return AUDIO_VQE_BASE_FMP + r;
    }
    if (c->agc != NULL && (r = audio_vqe_agc_set_params(c->agc, p + AUDIO_VQE_B_AGC)) != 0) {
        return AUDIO_VQE_BASE_AGC + r;
    }
    if (c->eq != NULL &&
        (r = audio_vqe_eq_fir_set_params(c->eq, (const int8_t *)(p + AUDIO_VQE_B_EQ))) != 0) {
        return AUDIO_VQE_BASE_EQ + r;
    }
    if (c->nr != NULL && (r = audio_vqe_dmnr_set_params(c->nr, p + AUDIO_VQE_B_NR)) != 0) {
        return AUDIO_VQE_BASE_NR + r;
    }
    if (c->pmwf != NULL && (r = audio_voice_pmwfwfnr_set_params(c->pmwf, p + AUDIO_VQE_B_PMWF)) != 0) {
        return AUDIO_VQE_BASE_PMWF + r;
    }
    if (c->drc != NULL && (r = audio_vqe_drc_set_params(c->drc, p + AUDIO_VQE_B_DRC, 1)) != 0) {
        return AUDIO_VQE_BASE_DRC + r;
    }
    if (c->lim != NULL &&
        (r = audio_vqe_limiter_set_params(c->lim, (const int8_t *)(p + AUDIO_VQE_B_LIMITER), 1)) != 0) {
        return AUDIO_VQE_BASE_LIMITER + r;
    }
    return audio_copy(c->params, sizeof(c->params), p, AUDIO_VQE_PARAMS_SIZE) == 0 ? 0 : -3;
}

/* Hands out the next region of `size` bytes (regions follow each other in the memory). */
static void *carve(uint8_t **at, int64_t size) {
    void *r = *at;
    *at += (size + 7) / 8 * 8;
    return r;
}

static int build_modules(vqe_core *c, uint8_t *p) {
    uint8_t *at = (uint8_t *)c + VQE_MEM_CORE;
    const uint8_t *sw = p + AUDIO_VQE_P_AEC_ON;
    int r;
    if (sw[0]) {
        int parts = vqe_u16(p, AUDIO_VQE_B_AEC + AUDIO_VQE_AEC_TAIL);
        c->aec = carve(&at, VQE_MEM_AEC_FIXED + (int64_t)VQE_MEM_AEC_PART * parts);
        if ((r = audio_vqe_aec_init(c->aec, parts)) != 0) {
            return AUDIO_VQE_BASE_AEC + r;
        }
    }
    if (p[AUDIO_VQE_P_WNR_ON]) {
        c->wnr = carve(&at, VQE_MEM_WNR);
        if ((r = audio_ai_wnr_init(c->wnr, p[AUDIO_VQE_P_MIC_NUM], p + AUDIO_VQE_B_WNR)) != 0) {
            return AUDIO_VQE_BASE_WNR + r;
        }
    }
    if (p[AUDIO_VQE_P_DEREVERB_ON]) {
        for (int i = 0; i < (p[AUDIO_VQE_P_FMP_ON] ? 4 : 2); i++) {
            c->dereverb[i] = carve(&at, VQE_MEM_DEREVERB / 2);
            if ((r = audio_vqe_dereverb_init(c->dereverb[i])) != 0) {
                return AUDIO_VQE_BASE_DEREVERB + r;
            }
        }
    }
    if (p[AUDIO_VQE_P_FMP_ON]) {
        c->fmp = carve(&at, VQE_MEM_FMP);
        audio_vqe_fmp_init(c->fmp);
    }
    if (p[AUDIO_VQE_P_DMNR_ON]) {
        c->nr = carve(&at, VQE_MEM_NR);
        audio_vqe_dmnr_init(c->nr);
    }
    if (p[AUDIO_VQE_P_PMWF_ON]) {
        c->pmwf = carve(&at, VQE_MEM_PMWF);
        audio_voice_pmwfwfnr_init(c->pmwf);
    }
    if (p[AUDIO_VQE_P_AGC_ON]) {
        c->agc = carve(&at, VQE_MEM_AGC_FIXED + VQE_MEM_AGC_CHANNEL * (int64_t)p[AUDIO_VQE_P_CHN_NUM]);
        if ((r = audio_vqe_agc_init(c->agc, p[AUDIO_VQE_P_CHN_NUM])) != 0) {
            return AUDIO_VQE_BASE_AGC + r;
        }
    }
    if (p[AUDIO_VQE_P_EQ_ON]) {
        c->eq = carve(&at, VQE_MEM_EQ);
        if ((r = audio_vqe_eq_fir_init(c->eq, 1, 1)) != 0) {
            return AUDIO_VQE_BASE_EQ + r;
        }
    }
    if (p[AUDIO_VQE_P_DRC_ON]) {
        c->drc = carve(&at, VQE_MEM_DRC);
        if ((r = audio_vqe_drc_init(c->drc, 1, 1)) != 0) {
            return AUDIO_VQE_BASE_DRC + r;
        }
    }
    if (p[AUDIO_VQE_P_LIMITER_ON]) {
        c->lim = carve(&at, VQE_MEM_LIMITER);
        if ((r = audio_vqe_limiter_init(c->lim, 1, 1)) != 0) {
            return AUDIO_VQE_BASE_LIMITER + r;
        }
    }
    if (p[AUDIO_VQE_P_HS_ON]) {
        c->hs = carve(&at, VQE_MEM_HS);
        audio_vqe_hs_init(c->hs, p + AUDIO_VQE_B_HS);
    }
    return 0;
}

int audio_vqe_init(void **handle, void *mem, int32_t mem_size, const void *syscfg, void *params,
                   int32_t param_len, void *scratch, int32_t scratch_size) {
    if (handle == NULL) {
        return -10;
    }
    if (!ALIGNED(handle)) {
        return -21;
    }
    if (mem == NULL) {
        return -11;
    }
    if (!ALIGNED(mem)) {
        return -12;
    }
    _Alignas(8) int32_t need = 0;
    int ret = audio_vqe_get_size(&need, syscfg, params);
    if (ret != 0) {
        return ret;
    }
    if (param_len < AUDIO_VQE_PARAM_LEN) {
        return -18;
    }
    if (scratch == NULL) {
        return -19;
    }
    if (!ALIGNED(scratch)) {
        return -22;
    }
    if (scratch_size < AUDIO_VQE_SCRATCH_MIN) {
        return -20;
    }
    if (mem_size < need) {
        return -13;
    }
    uint8_t *p = params;
    if (audio_fill(mem, (size_t)mem_size, 0, (size_t)need) != 0) {
        return -11;
    }
    vqe_core *c = mem;
    c->mem_size = need;
    audio_copy(c->syscfg, sizeof(c->syscfg), syscfg, AUDIO_VQE_SYSCFG_SIZE);
    audio_copy(c->built, sizeof(c->built), p + AUDIO_VQE_P_AEC_ON, sizeof(c->built));
    c->built_chn = p[AUDIO_VQE_P_CHN_NUM];
    c->built_tail = (uint8_t)vqe_u16(p, AUDIO_VQE_B_AEC + AUDIO_VQE_AEC_TAIL);
    vqe_fft_init(&c->fft512, AUDIO_VQE_FFT);
    vqe_fft_init(&c->fft256, AUDIO_VQE_FFT / 2);
    for (int i = 0; i < AUDIO_VQE_FFT; i++) {
        c->window[i] = (float)sin(M_PI * (i + 0.5) / AUDIO_VQE_FFT);
    }
    ret = build_modules(c, p);
    if (ret != 0) {
        return ret;
    }
    c->marker = VQE_MARKER;
    c->guard0 = c->guard1 = c->guard2 = c->guard3 = VQE_GUARD;
    ret = audio_vqe_set_nvid_params(c, p);
    if (ret != 0) {
        c->marker = 0;
        return ret;
    }
    c->frame = AUDIO_VQE_FRAME;
    c->nfft = AUDIO_VQE_FFT;
    *handle = c;
    return 0;
}

static int core_ok(const vqe_core *c) {
    if (c->marker != VQE_MARKER) {
        return -1;
    }
    if (c->guard0 != VQE_GUARD || c->guard1 != VQE_GUARD || c->guard2 != VQE_GUARD ||
        c->guard3 != VQE_GUARD) {
        return -2;
    }
    return 0;
}

/* Window, transform and unpack one half-overlapped frame into 257 bins. */
static void analyse(vqe_core *c, float *hist, const float *cur, float *time, float *bins) {
    for (int i = 0; i < VQE_HOP; i++) {
        time[i] = hist[i] * c->window[i];
        time[VQE_HOP + i] = cur[i] * c->window[VQE_HOP + i];
        hist[i] = cur[i];
    }
    vqe_fft_rdft(&c->fft512, 1, time);
    vqe_fft_unpack(&c->fft512, time, bins);
}

/* Inverse transform, 1/512 scaling, synthesis window and overlap-add into `out`. */
static void audio_vqe_agc_over_lap(vqe_core *c, const float *bins, float *time, float *out) {
    vqe_fft_pack(&c->fft512, bins, time);
    vqe_fft_rdft(&c->fft512, -1, time);
    const float scale = 1.0f / AUDIO_VQE_FFT;
    for (int i = 0; i < VQE_HOP; i++) {
        float v = c->ola[i] + time[i] * scale * c->window[i];
        c->ola[i] = time[VQE_HOP + i] * scale * c->window[VQE_HOP + i];
        out[i] = isfinite(v) ? v : 0.0f;
    }
    for (int i = 0; i < VQE_HOP; i++) {
        if (!isfinite(c->ola[i])) {
            c->ola[i] = 0.0f;
        }
    }
}

static int check_input(const vqe_core *c, const audio_vqe_input *in, int16_t **out) {
    if (out == NULL) {
        return -56;
    }
    if (!ALIGNED(out)) {
        return -63;
    }
    if (*out == NULL) {
        return -57;
    }
    if (!ALIGNED(*out)) {
        return -66;
    }
    if (in == NULL) {
        return -52;
    }
    if (!ALIGNED(in)) {
        return -62;
    }
    int two = c->params[AUDIO_VQE_P_MIC_NUM] == 2;
    if (in->mic1 == NULL || (two && in->mic2 == NULL)) {
        return -53;
    }
    if (in->extra_count < 0) {
        return -59;
    }
    if ((c->params[AUDIO_VQE_P_AEC_ON] && in->ref == NULL) || (in->extra_count >= 2 && in->extra == NULL)) {
        return -54;
    }
    if (!ALIGNED(in->mic1) || (two && !ALIGNED(in->mic2))) {
        return -64;
    }
    if ((in->ref != NULL && !ALIGNED(in->ref)) ||
        (in->extra != NULL && in->extra_count >= 2 && !ALIGNED(in->extra))) {
        return -65;
    }
    if (in->scratch == NULL) {
        return -60;
    }
    if (!ALIGNED(in->scratch)) {
        return -61;
    }
    if (in->scratch_size < AUDIO_VQE_SCRATCH_MIN) {
        return -67;
    }
    return 0;
}

int audio_vqe_apply(void *handle, const audio_vqe_input *in, int16_t **out) {
    if (handle == NULL) {
        return -50;
    }
    if (!ALIGNED(handle)) {
        return -51;
    }
    vqe_core *c = handle;
    int ret = check_input(c, in, out);
    if (ret != 0) {
        return ret;
    }
    if ((ret = core_ok(c)) != 0) {
        return ret;
    }
    c->frames++;
    const uint8_t *p = c->params;
    float *sc = in->scratch;
    float *time = sc + SC_TIME;
    float *cur = sc + SC_WORK; /* the time-domain frame, before the stages use the work room */
    vqe_frame_io io;
    memset(&io, 0, sizeof(io));
    io.bins = sc + SC_SPEC;
    io.spec_in = sc + SC_SPEC_IN;
    io.work = sc + SC_WORK;
    io.fft = &c->fft512;
    io.work_floats = SC_GAIN_H - SC_WORK;
    io.nr_floor = 1.0f;
    io.cn_scale = 1.0f;

    /* 1-3: microphones (averaged when there are two), linear echo removal, transforms */
    int two = p[AUDIO_VQE_P_MIC_NUM] == 2;
    for (int i = 0; i < VQE_HOP; i++) {
        int v = in->mic1[i];
        if (two) {
            v = in->mic1[i] / 2 + in->mic2[i] / 2;
        }
        cur[i] = (float)v;
    }
    analyse(c, c->hist1, cur, time, io.spec_in);
    int aec = c->aec != NULL && p[AUDIO_VQE_P_AEC_ON];
    int fmp = c->fmp != NULL && p[AUDIO_VQE_P_FMP_ON];
    if (fmp) {
        io.gain_aec = sc + SC_GAIN_A;
        io.gain_nr = sc + SC_GAIN_N;
        for (int k = 0; k < VQE_BINS; k++) {
            io.gain_aec[k] = io.gain_nr[k] = 1.0f;
        }
    }
    if (aec) {
        float *echo = cur + VQE_HOP, *echo_prev = echo + VQE_HOP;
        audio_vqe_aec_pre_process(c->aec, &c->fft512, cur, in->ref, echo, echo_prev, echo_prev + VQE_HOP);
        analyse(c, c->hist_err, cur, time, io.bins);
        io.ref = sc + SC_REF;
        analyse(c, echo_prev, echo, time, io.ref);
    } else {
        audio_copy(io.bins, 2 * VQE_BINS * sizeof(float), io.spec_in, 2 * VQE_BINS * sizeof(float));
    }
    if (two && c->pmwf != NULL && p[AUDIO_VQE_P_PMWF_ON]) {
        /* the two channels are one signal after averaging (and echo removal) */
        io.spec2 = sc + SC_SPEC2;
        audio_copy(io.spec2, 2 * VQE_BINS * sizeof(float), io.bins, 2 * VQE_BINS * sizeof(float));
    }

    /* 4: echo canceller (residual echo and post-filter) */
    if (aec && (ret = audio_vqe_aec_apply(c->aec, &io)) != 0) {
        return AUDIO_VQE_BASE_AEC + ret;
    }
    /* 5: wind-noise network */
    if (c->wnr != NULL && p[AUDIO_VQE_P_WNR_ON] &&
        (ret = audio_ai_wnr_apply(c->wnr, &io, in->mic1, two ? in->mic2 : NULL)) != 0) {
        return AUDIO_VQE_BASE_WNR + ret;
    }
    /* 6: dereverberation (one spectrum: the first instance) */
    if (c->dereverb[0] != NULL && p[AUDIO_VQE_P_DEREVERB_ON] &&
        (ret = audio_vqe_dereverb_apply(c->dereverb[0], io.bins, io.work)) != 0) {
        return AUDIO_VQE_BASE_DEREVERB + ret;
    }
    /* 7: Wiener filter */
    if (c->pmwf != NULL && p[AUDIO_VQE_P_PMWF_ON]) {
        audio_voice_pmwfwfnr_apply(c->pmwf, &io);
    }
    /* 8: noise reduction */
    if (c->nr != NULL && p[AUDIO_VQE_P_DMNR_ON]) {
        if (!fmp) {
            io.gain_nr = NULL;
        }
        if ((ret = audio_vqe_dmnr_apply(c->nr, &io)) != 0) {
            return AUDIO_VQE_BASE_NR_APPLY + ret;
        }
    }
    /* 9: howling gains; they act through post-processing, or here when there is none */
    int hs = c->hs != NULL && p[AUDIO_VQE_P_HS_ON];
    if (hs) {
        io.gain_hs = sc + SC_GAIN_H;
        audio_vqe_hs_calc_gains(c->hs, io.bins, io.gain_hs);
    }
    /* 10: post-processing */
    if (fmp && (ret = audio_vqe_fmp_apply(c->fmp, &io)) != 0) {
        return AUDIO_VQE_BASE_FMP + ret;
    }
    if (hs && !fmp) {
        audio_vqe_hs_apply_gains(io.gain_hs, io.bins);
    }
    /* 11: frequency shift */
    if (hs) {
        audio_vqe_hs_shift_freq(c->hs, io.bins);
    }
    /* 12: back to the time domain */
    audio_vqe_agc_over_lap(c, io.bins, time, cur);
    /* 13: AGC, or conversion to 32-bit chain samples */
    int32_t *a = c->chain, *b = c->chain2;
    if (c->agc != NULL && p[AUDIO_VQE_P_AGC_ON]) {
        /* the far end counts as talking for a while after it stops: its echo tail is still there */
        if (aec && c->aec->far_active) {
            c->far_hang = VQE_FAR_HANGOVER;
        } else if (c->far_hang > 0) {
            c->far_hang--;
        }
        c->agc->far_only = aec && c->far_hang > 0 && c->aec->dt < 0.5f;
        if ((ret = audio_vqe_voice_agc_apply(c->agc, cur, a)) != 0) {
            return AUDIO_VQE_BASE_AGC + ret;
        }
    } else {
        for (int i = 0; i < VQE_HOP; i++) {
            float v = cur[i];
            v = v > 1e9f ? 1e9f : (v < -1e9f ? -1e9f : v);
            a[i] = (int32_t)lrintf(v);
        }
    }
    /* 14: compressor */
    if (c->drc != NULL && p[AUDIO_VQE_P_DRC_ON]) {
        if ((ret = audio_vqe_drc_apply(c->drc, a, b)) != 0) {
            return AUDIO_VQE_BASE_DRC + ret;
        }
        int32_t *t = a;
        a = b;
        b = t;
    }
    /* 15: equaliser */
    if (c->eq != NULL && p[AUDIO_VQE_P_EQ_ON]) {
        if ((ret = audio_vqe_eq_fir_apply(c->eq, a, b)) != 0) {
            return AUDIO_VQE_BASE_EQ + ret;
        }
        int32_t *t = a;
        a = b;
        b = t;
    }
    /* 16: limiter and 16-bit output */
    if (c->lim != NULL && p[AUDIO_VQE_P_LIMITER_ON]) {
        if ((ret = audio_vqe_limiter_apply(c->lim, a, b)) != 0) {
            return AUDIO_VQE_BASE_LIMITER + ret;
        }
        a = b;
    }
    int16_t *o = *out;
    for (int i = 0; i < VQE_HOP; i++) {
        o[i] = audio_sat16(a[i]);
    }
    return core_ok(c);
}

int audio_vqe_set_params(void *handle, const void *syscfg, void *params, int32_t param_len, void *scratch,
                         int32_t scratch_size) {
    if (handle == NULL) {
        return -70;
    }
    if (!ALIGNED(handle)) {
        return -71;
    }
    if (syscfg == NULL) {
        return -72;
    }
    if (!ALIGNED(syscfg)) {
        return -78;
    }
    if (params == NULL) {
        return -73;
    }
    if (!ALIGNED(params)) {
        return -74;
    }
    if (param_len < AUDIO_VQE_PARAM_LEN) {
        return -75;
    }
    if (scratch == NULL) {
        return -76;
    }
    if (!ALIGNED(scratch)) {
        return -79;
    }
    if (scratch_size < AUDIO_VQE_SCRATCH_MIN) {
        return -77;
    }
    vqe_core *c = handle;
    int ret = core_ok(c);
    if (ret != 0) {
        return ret;
    }
    uint8_t *p = params;
    if ((ret = header_and_config(syscfg, p)) != 0) {
        return ret;
    }
    /* The memory was laid out by the switches at init: a module that was not built cannot be
     * turned on, and the echo canceller and AGC cannot grow. */
    for (int i = 0; i < 11; i++) {
        if (i != AUDIO_VQE_P_HS_ON - AUDIO_VQE_P_AEC_ON && p[AUDIO_VQE_P_AEC_ON + i] > c->built[i]) {
            return -31;
        }
    }
    if ((p[AUDIO_VQE_P_HS_ON] != 0 && c->built[10] == 0) ||
        (p[AUDIO_VQE_P_AEC_ON] && vqe_u16(p, AUDIO_VQE_B_AEC + AUDIO_VQE_AEC_TAIL) > c->built_tail) ||
        (p[AUDIO_VQE_P_AGC_ON] && p[AUDIO_VQE_P_CHN_NUM] > c->built_chn)) {
        return -31;
    }
    return audio_vqe_set_nvid_params(c, p);
}

int audio_vqe_get_params(void *handle, const void *syscfg, void *params, int32_t param_len) {
    if (handle == NULL) {
        return -80;
    }
    if (!ALIGNED(handle)) {
        return -81;
    }
    if (syscfg == NULL) {
        return -82;
    }
    if (!ALIGNED(syscfg)) {
        return -83;
    }
    if (params == NULL) {
        return -84;
    }
    if (!ALIGNED(params)) {
        return -85;
    }
    if (param_len < AUDIO_VQE_PARAM_LEN) {
        return -86;
    }
    vqe_core *c = handle;
    int ret = core_ok(c);
    if (ret != 0) {
        return ret;
    }
    return audio_copy(params, (size_t)param_len, c->params, AUDIO_VQE_PARAMS_SIZE) == 0 ? 0 : -86;
}

int audio_vqe_get_version(const char **text) {
    if (text == NULL) {
        return -1;
    }
    *text = g_vqe_version;
    return 0;
}

int audio_vqe_cal_scratch_used(const void *scratch, int32_t length, int32_t *used) {
    if (scratch == NULL || used == NULL || length < 0) {
        return -18;
    }
    if (length > AUDIO_VQE_SCRATCH_MAX) {
        return -19;
    }
    const uint8_t *s = scratch;
    int32_t n = length;
    while (n > 0 && s[n - 1] == AUDIO_VQE_SCRATCH_FILL) {
        n--;
    }
    *used = n;
    return 0;
}
