/* vqe_talkv2 plug-in shell: builds the core's parameter record from the user record and runs
 * the caller's buffers through the core frame by frame. */
#include <stdio.h>
#include <stdlib.h>

#include "audio_common.h"
#include "audio_vqe.h"
#include "vqe_internal.h"
#include "vqe_talkv2.h"

#define TALK_BLOCK_SIZE   166280
#define TALK_SCRATCH_SIZE 165888
#define TALK_VC_BUF_SIZE  1280
#define TALK_FRAME_BYTES  (AUDIO_VQE_FRAME * 2)
#define TALK_SPARE        7

/* One caller buffer moved to an aligned address for the duration of a call. */
typedef struct talk_moved {
    unsigned char *orig;    /* where the caller's samples are */
    unsigned char *aligned; /* where they are while the core works */
    unsigned char spare[8]; /* the caller's bytes past len that the move overwrote */
    int active;
} talk_moved;

typedef struct talk_instance {
    _Alignas(8) void *core; /* core handle (the core wants its holder 8-byte aligned) */
    void *raw;              /* the block as allocated */
    int32_t frame;          /* 256 */
    int32_t mic_num;        /* from the user record */
    int32_t ref_on;         /* echo cancellation: the reference is used */
    void *core_mem;         /* core memory as allocated (size + 8) */
    int16_t *vc_buf;        /* zeros standing in for unused inputs */
    _Alignas(8) audio_vqe_input desc;
    int16_t *out_ptr;
    talk_moved moved[4]; /* data, extern_data, rin_data, output */
    _Alignas(8) unsigned char scratch[TALK_SCRATCH_SIZE];
} talk_instance;

_Static_assert(sizeof(talk_instance) + 7 <= TALK_BLOCK_SIZE, "instance fits its block");

/* The four messages of the core calls go to standard output as well as to the log. */
#define TALK_LOG_BOTH(...)                                                                                   \
    do {                                                                                                     \
        printf("[Func]:%s [Line]:%d [Info]:", __func__, __LINE__);                                           \
        printf(__VA_ARGS__);                                                                                 \
        fflush(stdout);                                                                                      \
        AUDIO_LOG(__VA_ARGS__);                                                                              \
    } while (0)

static int32_t rd32(const uint8_t *p, int off) {
    return vqe_i32(p, off);
}

/* A user switch or count as a record byte; values that do not fit become 255, which every
 * check refuses (no wrap-around into a valid value). */
static uint8_t as_byte(int32_t v) {
    return (uint8_t)(v < 0 || v > 254 ? 255 : v);
}

static void copy_bytes(uint8_t *dst, int doff, const uint8_t *src, int soff, int n) {
    for (int i = 0; i < n; i++) {
        dst[doff + i] = src[soff + i];
    }
}

/* i16 values from the user record to scattered 16-bit fields of a block. */
static void copy_i16s(uint8_t *blk, const int *offs, int n, const uint8_t *u, int uoff) {
    for (int i = 0; i < n; i++) {
        copy_bytes(blk, offs[i], u, uoff + 2 * i, 2);
    }
}

static void put_clamped16(uint8_t *blk, int off, int32_t v) {
    vqe_put16(blk, off, v < -32768 ? -32768 : (v > 32767 ? 32767 : v));
}

static void apply_presets(uint8_t *p, int type, int nr, int mwf, int agc) {
    uint8_t *n = p + AUDIO_VQE_B_NR, *w = p + AUDIO_VQE_B_PMWF, *a = p + AUDIO_VQE_B_AGC;
    static const uint8_t head1[4] = {134, 45, 24, 8}, head2[4] = {97, 11, 6, 2};
    const uint8_t *head = type == 1 ? head1 : head2;
    if (nr) {
        copy_bytes(n, 0, head, 0, 4);
        if (type == 1) {
            vqe_put16(n, 4, 8);
            vqe_put16(n, 8, 95);
            vqe_put16(n, 12, 30);
            vqe_put16(n, 14, 10);
            vqe_put16(n, 16, 240);
            vqe_put16(n, 28, 50);
        } else {
            vqe_put16(n, 4, 20);
            vqe_put16(n, 6, 200);
            vqe_put16(n, 10, 50);
            vqe_put16(n, 22, 0);
        }
    }
    if (mwf) {
        copy_bytes(w, 0, head, 0, 4);
        if (type == 1) {
            vqe_put16(w, 4, 120);
            vqe_put16(w, 14, 15);
            vqe_put16(w, 18, 9900);
            vqe_put16(w, 20, 9094);
            vqe_put16(w, 26, 0);
            vqe_put16(w, 28, 0);
        } else {
            vqe_put16(w, 4, 200);
            vqe_put16(w, 6, 200);
            vqe_put16(w, 18, 7000);
            w[27] = 1;
        }
    }
    if (agc) {
        if (type == 1) {
            vqe_put32(a, 20, 60);
        } else {
            vqe_put16(a, 2, 64);
            vqe_put32(a, 20, 200);
        }
    }
}

/* The core record for the user record and type. */
static void build_params(uint8_t *p, const uint8_t *u, int type) {
    p[AUDIO_VQE_P_DMNR_ON] = as_byte(rd32(u, VQE_TALKV2_U_DMNR_ON));
    p[AUDIO_VQE_P_PMWF_ON] = as_byte(rd32(u, VQE_TALKV2_U_PMWF_ON));
    p[AUDIO_VQE_P_AGC_ON] = as_byte(rd32(u, VQE_TALKV2_U_AGC_ON));
    p[AUDIO_VQE_P_EQ_ON] = as_byte(rd32(u, VQE_TALKV2_U_EQ_ON));
    p[AUDIO_VQE_P_DRC_ON] = as_byte(rd32(u, VQE_TALKV2_U_DRC_ON));
    p[AUDIO_VQE_P_LIMITER_ON] = as_byte(rd32(u, VQE_TALKV2_U_LIMITER_ON));
    p[AUDIO_VQE_P_DEREVERB_ON] = as_byte(rd32(u, VQE_TALKV2_U_DEREVERB_ON));
    p[AUDIO_VQE_P_FMP_ON] = as_byte(rd32(u, VQE_TALKV2_U_FMP_ON));
    p[AUDIO_VQE_P_AEC_ON] = as_byte(rd32(u, VQE_TALKV2_U_AEC_ON));
    p[AUDIO_VQE_P_WNR_ON] = as_byte(rd32(u, VQE_TALKV2_U_WNR_ON));
    p[AUDIO_VQE_P_HS_ON] = as_byte(rd32(u, VQE_TALKV2_U_HS_ON));
    p[AUDIO_VQE_P_MIC_NUM] = as_byte(rd32(u, VQE_TALKV2_U_MIC_NUM));

    int nr_valid = rd32(u, VQE_TALKV2_U_NR_VALID) == 1, mwf_valid = rd32(u, VQE_TALKV2_U_PMWF_VALID) == 1;
    int agc_valid = rd32(u, VQE_TALKV2_U_AGC_VALID) == 1;
    if (nr_valid) {
        uint8_t *n = p + AUDIO_VQE_B_NR;
        copy_bytes(n, 0, u, VQE_TALKV2_U_NR, 18);
        static const int nr_b[4] = {22, 28, 30, 32};
        copy_i16s(n, nr_b, 4, u, VQE_TALKV2_U_NR_B);
    }
    if (mwf_valid) {
        uint8_t *w = p + AUDIO_VQE_B_PMWF;
        static const int wa[4] = {0, 2, 4, 6}, wb[4] = {14, 16, 18, 20}, we[2] = {30, 32};
        copy_i16s(w, wa, 4, u, VQE_TALKV2_U_PMWF_A);
        copy_i16s(w, wb, 4, u, VQE_TALKV2_U_PMWF_B);
        copy_bytes(w, 26, u, VQE_TALKV2_U_PMWF_C, 3);
        copy_bytes(w, 34, u, VQE_TALKV2_U_PMWF_D, 2);
        copy_i16s(w, we, 2, u, VQE_TALKV2_U_PMWF_E);
    }
    if (agc_valid) {
        uint8_t *a = p + AUDIO_VQE_B_AGC;
        copy_bytes(a, 0, u, VQE_TALKV2_U_AGC_A, 12);
        copy_bytes(a, 20, u, VQE_TALKV2_U_AGC_B, 4);
        put_clamped16(a, 32, rd32(u, VQE_TALKV2_U_AGC_C));
    }
    if (rd32(u, VQE_TALKV2_U_EQ_VALID) == 1) {
        copy_bytes(p, AUDIO_VQE_B_EQ, u, VQE_TALKV2_U_EQ, 30);
    }
    if (rd32(u, VQE_TALKV2_U_FMP_VALID) == 1) {
        p[AUDIO_VQE_B_FMP + 1] = u[VQE_TALKV2_U_FMP];
    }
    if (rd32(u, VQE_TALKV2_U_AEC_VALID) == 1) {
        uint8_t *e = p + AUDIO_VQE_B_AEC;
        copy_bytes(e, 0, u, VQE_TALKV2_U_AEC_A, 2);
        copy_bytes(e, 32, u, VQE_TALKV2_U_AEC_B, 10);
        copy_bytes(e, 44, u, VQE_TALKV2_U_AEC_C, 10);
        static const int ed[3] = {56, 54, AUDIO_VQE_AEC_TAIL};
        copy_i16s(e, ed, 3, u, VQE_TALKV2_U_AEC_D);
    }
    if (rd32(u, VQE_TALKV2_U_HS_VALID) == 1) {
        static const int hs[5] = {0, 12, 16, 20, 24};
        for (int i = 0; i < 5; i++) {
            copy_bytes(p + AUDIO_VQE_B_HS, hs[i], u, VQE_TALKV2_U_HS + 4 * i, 4);
        }
    }
    apply_presets(p, type, p[AUDIO_VQE_P_DMNR_ON] == 1 && !nr_valid,
                  p[AUDIO_VQE_P_PMWF_ON] == 1 && !mwf_valid, p[AUDIO_VQE_P_AGC_ON] == 1 && !agc_valid);
}

static void build_syscfg(uint8_t *c) {
    vqe_put32(c, AUDIO_VQE_SYS_BITS, 16);
    vqe_put32(c, AUDIO_VQE_SYS_RATE, AUDIO_VQE_RATE);
    vqe_put16(c, AUDIO_VQE_SYS_COUNT, 2);
    vqe_put32(c, AUDIO_VQE_SYS_BITS2, 16);
    vqe_put32(c, AUDIO_VQE_SYS_V16, 2);
    vqe_put16(c, AUDIO_VQE_SYS_V20, 2);
    vqe_put16(c, AUDIO_VQE_SYS_V24, 2);
    vqe_put16(c, AUDIO_VQE_SYS_V26, 0);
}

static void free_instance(talk_instance *t) {
    free(t->core_mem);
    free(t->vc_buf);
    free(t->raw);
}

static void *align8(void *p) {
    return (void *)(((uintptr_t)p + 7u) & ~(uintptr_t)7u);
}

int vqe_talkv2_init(void **handle, int sample_rate, const vqe_config *cfg) {
    if (cfg == NULL) {
        AUDIO_LOG("cfg is null!\n");
        return -1;
    }
    if (handle == NULL || cfg->user_params == NULL) {
        AUDIO_LOG("handle or user params is null!\n");
        return -1;
    }
    if (sample_rate != AUDIO_VQE_RATE) {
        AUDIO_LOG("invalid vqe_sample_rate(%d)!\n", sample_rate);
        return -1;
    }
    if (cfg->word2 != 1 && cfg->word2 != 2) {
        AUDIO_LOG("invalid type(%d)!\n", (int)cfg->word2);
        return -1;
    }
    void *raw = calloc(1, TALK_BLOCK_SIZE);
    if (raw == NULL) {
        AUDIO_LOG("malloc state failed!\n");
        return -1;
    }
    talk_instance *t = align8(raw);
    t->raw = raw;
    t->vc_buf = calloc(1, TALK_VC_BUF_SIZE + 8);
    if (t->vc_buf == NULL) {
        AUDIO_LOG("malloc vc_buf failed!\n");
        free(raw);
        return -1;
    }
    _Alignas(8) uint8_t params[AUDIO_VQE_PARAM_LEN];
    _Alignas(8) uint8_t syscfg[AUDIO_VQE_SYSCFG_SIZE];
    audio_fill(params, sizeof(params), 0, sizeof(params));
    int ret = audio_copy(params, sizeof(params), g_vc_params_normal, AUDIO_VQE_PARAMS_SIZE);
    if (ret != 0) {
        AUDIO_LOG("param memcpy_s failed, ret:0x%x!\n", (unsigned)ret);
        free_instance(t);
        return -1;
    }
    const uint8_t *user = cfg->user_params;
    build_params(params, user, cfg->word2);
    build_syscfg(syscfg);
    t->frame = AUDIO_VQE_FRAME;
    t->mic_num = params[AUDIO_VQE_P_MIC_NUM];
    t->ref_on = rd32(user, VQE_TALKV2_U_AEC_ON) > 0;

    _Alignas(8) int32_t size = 0;
    ret = audio_vqe_get_size(&size, syscfg, params);
    if (ret != 0) {
        TALK_LOG_BOTH("get size failed, ret:%d.\n", ret);
        free_instance(t);
        return -1;
    }
    t->core_mem = malloc((size_t)size + 8);
    if (t->core_mem == NULL) {
        TALK_LOG_BOTH("malloc vc_chn failed.\n");
        free_instance(t);
        return -1;
    }
    ret = audio_vqe_init(&t->core, align8(t->core_mem), size, syscfg, params, AUDIO_VQE_PARAM_LEN, t->scratch,
                         TALK_SCRATCH_SIZE);
    if (ret != 0) {
        TALK_LOG_BOTH("init failed, ret:%d.\n", ret);
        free_instance(t);
        return -1;
    }
    ret =
        audio_vqe_set_params(t->core, syscfg, params, AUDIO_VQE_PARAM_LEN, t->scratch, AUDIO_VQE_SCRATCH_MIN);
    if (ret != 0) {
        TALK_LOG_BOTH("set param failed, ret:%d.\n", ret);
        free_instance(t);
        return -1;
    }
    *handle = t;
    return 0;
}

/* Moves `len` bytes at buf to the next 8-byte-aligned address, keeping the bytes past len it
 * overwrites. */
static int move_in(talk_moved *m, void *buf, uint32_t len) {
    m->orig = buf;
    m->aligned = align8(buf);
    m->active = 1;
    size_t shift = (size_t)(m->aligned - m->orig);
    if (shift == 0) {
        return 0;
    }
    audio_copy(m->spare, sizeof(m->spare), m->orig + len, shift);
    return audio_move(m->aligned, (size_t)len + TALK_SPARE - shift, m->orig, len);
}

/* The reverse of move_in (or, for the output, moving the result into place). */
static int move_back(talk_moved *m, uint32_t len) {
    if (!m->active) {
        return 0;
    }
    m->active = 0;
    size_t shift = (size_t)(m->aligned - m->orig);
    if (shift == 0) {
        return 0;
    }
    int ret = audio_move(m->orig, (size_t)len + TALK_SPARE, m->aligned, len);
    audio_copy(m->orig + len, TALK_SPARE, m->spare, shift);
    return ret;
}

enum { MV_DATA, MV_EXTERN, MV_RIN, MV_OUT };

/* The input move whose buffer is also the output's, or NULL. */
static talk_moved *shared_input(talk_instance *t, const audio_frame *out) {
    for (int i = MV_DATA; i <= MV_RIN; i++) {
        if (t->moved[i].active && t->moved[i].orig == (unsigned char *)out->data) {
            return &t->moved[i];
        }
    }
    return NULL;
}

/* Puts every buffer back; the first failure is reported. The output goes first: when it shares
 * an input's buffer, that input has been replaced by it and is not moved again. */
static int restore_all(talk_instance *t, audio_frame *out, uint32_t len) {
    int result = 0, ret;
    talk_moved *shared = shared_input(t, out);
    if ((ret = move_back(&t->moved[MV_OUT], len)) != 0) {
        AUDIO_LOG("out_data memmove_s failed, ret:0x%x.\n", (unsigned)ret);
        result = -1;
    }
    if (shared != NULL) {
        shared->active = 0;
    }
    if ((ret = move_back(&t->moved[MV_RIN], len)) != 0) {
        AUDIO_LOG("rin_data memmove_s failed, ret:0x%x.\n", (unsigned)ret);
        result = -1;
    }
    if ((ret = move_back(&t->moved[MV_DATA], len)) != 0) {
        AUDIO_LOG("in_data memmove_s failed, ret:0x%x.\n", (unsigned)ret);
        result = -1;
    }
    if ((ret = move_back(&t->moved[MV_EXTERN], len)) != 0) {
        AUDIO_LOG("in_extern_data memmove_s failed, ret:0x%x.\n", (unsigned)ret);
        result = -1;
    }
    return result;
}

int vqe_talkv2_process(void *handle, audio_frame *in, audio_frame *out) {
    if (handle == NULL || in == NULL || out == NULL) {
        AUDIO_LOG("param is null!\n");
        return -1;
    }
    talk_instance *t = handle;
    int two = t->mic_num == 2;
    if (in->data == NULL || out->data == NULL ||
        (two && (in->extern_data == NULL || out->extern_data == NULL)) ||
        (t->ref_on && in->rin_data == NULL)) {
        AUDIO_LOG("param is null!\n");
        return -1;
    }
    uint32_t len = in->len;
    out->len = len;
    out->rin_data = in->rin_data;
    if (len == 0) {
        return 0;
    }
    int16_t *vc = align8(t->vc_buf);
    t->desc.mic1 = t->desc.mic2 = t->desc.ref = t->desc.extra = vc;
    t->desc.extra_count = 0;
    t->desc.scratch = t->scratch;
    t->desc.scratch_size = TALK_SCRATCH_SIZE;

    int ret, result = 0;
    for (int i = 0; i < 4; i++) {
        t->moved[i].active = 0;
    }
    if ((ret = move_in(&t->moved[MV_DATA], in->data, len)) != 0) {
        AUDIO_LOG("data memmove_s failed, ret:0x%x.\n", (unsigned)ret);
        result = -1;
    }
    /* a buffer passed twice (the same samples for two inputs) is moved once */
    int ext_own = two && in->extern_data != in->data;
    int rin_own = t->ref_on && in->rin_data != in->data && (!two || in->rin_data != in->extern_data);
    if (result == 0 && ext_own && (ret = move_in(&t->moved[MV_EXTERN], in->extern_data, len)) != 0) {
        AUDIO_LOG("extern_data memmove_s failed, ret:0x%x.\n", (unsigned)ret);
        result = -1;
    }
    if (result == 0 && rin_own && (ret = move_in(&t->moved[MV_RIN], in->rin_data, len)) != 0) {
        AUDIO_LOG("rin_data memmove_s failed, ret:0x%x.\n", (unsigned)ret);
        result = -1;
    }
    if (result == 0) {
        /* the output is written at the aligned address of its buffer and moved into place after */
        talk_moved *o = &t->moved[MV_OUT];
        o->orig = (unsigned char *)out->data;
        o->aligned = align8(out->data);
        o->active = 1;
        talk_moved *shared = shared_input(t, out);
        if (shared != NULL) { /* the input's move already kept the spare bytes */
            audio_copy(o->spare, sizeof(o->spare), shared->spare, sizeof(o->spare));
        } else if (o->aligned != o->orig) {
            audio_copy(o->spare, sizeof(o->spare), o->orig + len, (size_t)(o->aligned - o->orig));
        }
        t->out_ptr = (int16_t *)o->aligned;
        const int16_t *m1 = (const int16_t *)t->moved[MV_DATA].aligned;
        const int16_t *m2 =
            !two ? NULL : (const int16_t *)(ext_own ? t->moved[MV_EXTERN].aligned : (unsigned char *)m1);
        const int16_t *rf = NULL;
        if (t->ref_on) {
            rf = rin_own ? (const int16_t *)t->moved[MV_RIN].aligned : (in->rin_data == in->data ? m1 : m2);
        }
        for (uint32_t at = 0; at + TALK_FRAME_BYTES <= len; at += TALK_FRAME_BYTES) {
            size_t s = at / 2;
            t->desc.mic1 = m1 + s;
            if (m2 != NULL) {
                t->desc.mic2 = m2 + s;
            }
            if (rf != NULL) {
                t->desc.ref = rf + s;
            }
            _Alignas(8) int16_t *dst = t->out_ptr + s;
            ret = audio_vqe_apply(t->core, &t->desc, &dst);
            if (ret != 0) {
                AUDIO_LOG("apply failed, ret:%d.\n", ret);
                result = -1;
                break;
            }
        }
    }
    if (restore_all(t, out, len) != 0) {
        result = -1;
    }
    if (result == 0 && two) {
        ret = audio_copy(out->extern_data, len, out->data, len);
        if (ret != 0) {
            AUDIO_LOG("out_extern_data memcpy_s failed, ret:0x%x.\n", (unsigned)ret);
            result = -1;
        }
    }
    return result;
}

void *vqe_talkv2_core(void *handle) {
    return handle != NULL ? ((talk_instance *)handle)->core : NULL;
}

int vqe_talkv2_deinit(void *handle) {
    if (handle == NULL) {
        return 0;
    }
    free_instance(handle);
    return 0;
}

static const audio_work_handle g_audio_talkv2_work_handle = {
    "talkv2", vqe_talkv2_init, vqe_talkv2_process, vqe_talkv2_deinit, NULL,
};

const audio_work_handle *vx_vqe_talkv2_get_handle(void) {
    return &g_audio_talkv2_work_handle;
}

const audio_work_handle *kq_vqe_talkv2_get_handle(void) {
    return vx_vqe_talkv2_get_handle();
}
