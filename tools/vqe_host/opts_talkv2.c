/* vqe_talkv2: the microphone is channel 0 of --in; the far-end reference comes from --ref or
 * channel 1, the second microphone from --mic2 or channel 2. Every field of the user record
 * (configuration word 3) has an option; giving a module's values also marks them valid. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "vqe_host.h"

#define TALK_FRAME      256
#define TALK_FRAMES_PER 4 /* 256-sample frames handed to one process call */
#define TALK_USER_SIZE  272
#define TALK_SPARE      8 /* the library needs 7 writable bytes past each buffer */

static const vqe_host_option talk_options[] = {
    {"ref", "REF.wav", "far-end reference (mono, 16000 Hz); default: channel 1 of --in"},
    {"mic2", "MIC2.wav", "second microphone (mono, 16000 Hz); default: channel 2 of --in"},
    {"type", "1|2", "built-in presets for modules without values (default 1)"},
    {"aec", "0|1", "echo canceller (uses the reference)"},
    {"nr", "0|1", "noise reduction"},
    {"pmwf", "0|1", "multichannel Wiener filter"},
    {"agc", "0|1", "automatic gain control"},
    {"eq", "0|1", "equaliser"},
    {"drc", "0|1", "compressor"},
    {"limiter", "0|1", "output limiter"},
    {"dereverb", "0|1", "dereverberation"},
    {"fmp", "0|1", "post-processing (forced on by --aec 1)"},
    {"wnr", "0|1", "wind-noise reduction"},
    {"hs", "0|1", "howling suppression"},
    {"mics", "N", "microphone count 1..6 (default 1, or 2 with --mic2 or a third channel)"},
    {"nr-values", "V0,...,V12",
     "noise-reduction block: nine 16-bit values for bytes 0..17, then bytes 22, 28, 30, 32"},
    {"pmwf-values", "V0,...,V13",
     "Wiener block: bytes 0, 2, 4, 6, 14, 16, 18, 20 (16-bit), 26, 27, 28 (8-bit), 34, 30, 32 (16-bit)"},
    {"agc-values", "V0,...,V7", "AGC block: bytes 0..11 (six 16-bit values), the values at 20 and 32"},
    {"eq-gains", "G0,...,G29", "equaliser: 30 band gains in dB"},
    {"fmp-value", "N", "post-processing block byte 1 (1..10)"},
    {"aec-values", "V0,...,V13",
     "echo-canceller block: byte 0, bytes 32..41 (five), 44..53 (five), then bytes 56, 54, 70 (partitions)"},
    {"hs-values", "V0,...,V4", "howling block values at bytes 0, 12, 16, 20, 24"},
    {NULL, NULL, NULL},
};

static const struct {
    const char *name;
    int off;
} talk_switches[] = {
    {"nr", 0},        {"pmwf", 4}, {"agc", 8},  {"eq", 12},  {"drc", 16}, {"limiter", 20},
    {"dereverb", 24}, {"fmp", 28}, {"aec", 32}, {"wnr", 36}, {"hs", 40},  {"mics", 44},
};

static const char *talk_ref_path, *talk_mic2_path;
static wav_audio talk_ref, talk_mic2;
static int talk_type = 1, talk_mics_set;
static uint8_t talk_user[TALK_USER_SIZE];
static int16_t *talk_buf[5]; /* mic, reference, mic 2, output, output 2 */

static void put16(uint8_t *p, long v) {
    p[0] = (uint8_t)((unsigned long)v & 0xFF);
    p[1] = (uint8_t)(((unsigned long)v >> 8) & 0xFF);
}

static void put32(uint8_t *p, long v) {
    for (int i = 0; i < 4; i++) {
        p[i] = (uint8_t)(((unsigned long)v >> (8 * i)) & 0xFF);
    }
}

/* Parses exactly `count` comma-separated numbers in [lo, hi]; 0, or -1 after printing why. */
static int parse_values(const char *option, const char *text, long *dst, int count, long lo, long hi) {
    const char *p = text;
    for (int i = 0; i < count; i++) {
        char *end;
        long v = strtol(p, &end, 10);
        if (end == p || v < lo || v > hi || (i + 1 < count ? *end != ',' : *end != '\0')) {
            fprintf(stderr, "vqe_host: --%s wants %d comma-separated numbers (%ld..%ld), not '%s'\n", option,
                    count, lo, hi, text);
            return -1;
        }
        dst[i] = v;
        p = end + 1;
    }
    return 0;
}

/* A module's values: each value goes to (user offset, width in bytes). */
typedef struct talk_block {
    const char *name;
    int valid;
    int count;
    int off[16];
    int width[16];
} talk_block;

static const talk_block talk_blocks[] = {
    {"nr-values",
     52,
     13,
     {56, 58, 60, 62, 64, 66, 68, 70, 72, 74, 76, 78, 80},
     {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}},
    {"pmwf-values",
     88,
     14,
     {92, 94, 96, 98, 100, 102, 104, 106, 108, 109, 110, 112, 114, 116},
     {2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 2, 2, 2}},
    {"agc-values", 124, 8, {128, 130, 132, 134, 136, 138, 140, 144}, {2, 2, 2, 2, 2, 2, 4, 4}},
    {"fmp-value", 188, 1, {193}, {1}},
    {"aec-values",
     196,
     14,
     {200, 202, 204, 206, 208, 210, 212, 214, 216, 218, 220, 222, 224, 226},
     {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}},
    {"hs-values", 248, 5, {252, 256, 260, 264, 268}, {4, 4, 4, 4, 4}},
};

static int talk_set_option(vqe_host_run *run, const char *name, const char *value) {
    (void)run;
    long v[30];
    if (strcmp(name, "ref") == 0) {
        talk_ref_path = value;
        return 0;
    }
    if (strcmp(name, "mic2") == 0) {
        talk_mic2_path = value;
        return 0;
    }
    if (strcmp(name, "type") == 0) {
        if (vqe_host_parse_int(name, value, 1, 2, v) != 0) {
            return -1;
        }
        talk_type = (int)v[0];
        return 0;
    }
    for (size_t i = 0; i < sizeof(talk_switches) / sizeof(talk_switches[0]); i++) {
        if (strcmp(name, talk_switches[i].name) == 0) {
            int mics = strcmp(name, "mics") == 0;
            if (vqe_host_parse_int(name, value, mics ? 1 : 0, mics ? 6 : 1, v) != 0) {
                return -1;
            }
            talk_mics_set |= mics;
            put32(talk_user + talk_switches[i].off, v[0]);
            return 0;
        }
    }
    if (strcmp(name, "eq-gains") == 0) {
        if (parse_values(name, value, v, 30, -128, 127) != 0) {
            return -1;
        }
        put32(talk_user + 152, 1);
        for (int i = 0; i < 30; i++) {
            talk_user[156 + i] = (uint8_t)(v[i] & 0xFF);
        }
        return 0;
    }
    for (size_t i = 0; i < sizeof(talk_blocks) / sizeof(talk_blocks[0]); i++) {
        const talk_block *b = &talk_blocks[i];
        if (strcmp(name, b->name) != 0) {
            continue;
        }
        if (parse_values(name, value, v, b->count, -2147483647L, 2147483647L) != 0) {
            return -1;
        }
        put32(talk_user + b->valid, 1);
        for (int k = 0; k < b->count; k++) {
            uint8_t *p = talk_user + b->off[k];
            if (b->width[k] == 1) {
                p[0] = (uint8_t)(v[k] & 0xFF);
            } else if (b->width[k] == 2) {
                put16(p, v[k]);
            } else {
                put32(p, v[k]);
            }
        }
        return 0;
    }
    return -1;
}

static int talk_read_mono(const char *path, wav_audio *w, const vqe_host_run *run) {
    char err[256];
    if (wav_read(path, w, err, sizeof(err)) != 0) {
        fprintf(stderr, "vqe_host: %s: %s\n", path, err);
        return -1;
    }
    if (w->channels != 1 || w->rate != run->in.rate) {
        fprintf(stderr, "vqe_host: %s must be mono at %d Hz like %s\n", path, run->in.rate, run->in_path);
        return -1;
    }
    return 0;
}

static int talk_setup(vqe_host_run *run) {
    if (run->in.rate != 16000) {
        fprintf(stderr, "vqe_host: vqe_talkv2 works at 16000 Hz, %s is at %d Hz\n", run->in_path,
                run->in.rate);
        return -1;
    }
    if (talk_ref_path != NULL && talk_read_mono(talk_ref_path, &talk_ref, run) != 0) {
        return -1;
    }
    if (talk_mic2_path != NULL && talk_read_mono(talk_mic2_path, &talk_mic2, run) != 0) {
        return -1;
    }
    if (!talk_mics_set) {
        put32(talk_user + 44, talk_mic2_path != NULL || run->in.channels >= 3 ? 2 : 1);
    }
    if (talk_user[32] && talk_ref_path == NULL && run->in.channels < 2) {
        fprintf(stderr, "vqe_host: --aec 1 needs --ref REF.wav or the reference in channel 1 of the input\n");
        return -1;
    }
    run->cfg.word2 = talk_type;
    run->cfg.user_params = talk_user;
    run->frame = TALK_FRAME * TALK_FRAMES_PER;
    run->out_channels = 1;
    for (int i = 0; i < 5; i++) {
        talk_buf[i] = calloc(run->frame * sizeof(int16_t) + TALK_SPARE, 1);
        if (talk_buf[i] == NULL) {
            fprintf(stderr, "vqe_host: out of memory\n");
            return -1;
        }
    }
    return 0;
}

static int16_t talk_sample(const wav_audio *w, size_t at) {
    return at < w->frames ? w->samples[at] : 0;
}

static int talk_process(vqe_host_run *run, void *handle, size_t at, size_t frames) {
    size_t ch = (size_t)run->in.channels;
    /* whole 256-sample frames: a short last buffer is completed with silence */
    size_t whole = (frames + TALK_FRAME - 1) / TALK_FRAME * TALK_FRAME;
    for (int i = 0; i < 5; i++) {
        memset(talk_buf[i], 0, run->frame * sizeof(int16_t) + TALK_SPARE);
    }
    for (size_t i = 0; i < frames; i++) {
        const int16_t *s = run->in.samples + (at + i) * ch;
        talk_buf[0][i] = s[0];
        talk_buf[1][i] = talk_ref_path != NULL ? talk_sample(&talk_ref, at + i) : (ch >= 2 ? s[1] : 0);
        talk_buf[2][i] = talk_mic2_path != NULL ? talk_sample(&talk_mic2, at + i) : (ch >= 3 ? s[2] : 0);
    }
    audio_frame in, out;
    memset(&in, 0, sizeof(in));
    memset(&out, 0, sizeof(out));
    in.data = talk_buf[0];
    in.rin_data = talk_buf[1];
    in.extern_data = talk_buf[2];
    in.len = (uint32_t)(whole * 2);
    out.data = talk_buf[3];
    out.extern_data = talk_buf[4];
    int ret = run->module->process(handle, &in, &out);
    if (ret != 0) {
        fprintf(stderr, "vqe_host: vqe_talkv2 process failed at frame %zu: %d\n", at, ret);
        return -1;
    }
    int16_t *dst = vqe_host_out_reserve(run, frames);
    if (dst == NULL) {
        fprintf(stderr, "vqe_host: out of memory for the output\n");
        return -1;
    }
    memcpy(dst, talk_buf[3], frames * sizeof(int16_t));
    vqe_host_out_commit(run, frames);
    return 0;
}

static void talk_cleanup(vqe_host_run *run) {
    (void)run;
    if (talk_ref_path != NULL) {
        wav_free(&talk_ref);
    }
    if (talk_mic2_path != NULL) {
        wav_free(&talk_mic2);
    }
    for (int i = 0; i < 5; i++) {
        free(talk_buf[i]);
        talk_buf[i] = NULL;
    }
}

const vqe_host_plugin vqe_host_plugin_talkv2 = {
    .library = "vqe_talkv2",
    .module = "talkv2",
    .getter = "vx_vqe_talkv2_get_handle",
    .options = talk_options,
    .set_option = talk_set_option,
    .setup = talk_setup,
    .process = talk_process,
    .cleanup = talk_cleanup,
};
