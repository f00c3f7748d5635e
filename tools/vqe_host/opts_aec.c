/* vqe_aec: the microphone is channel 0 of --in and the far-end reference channel 1, or the
 * reference comes from --ref; the user parameter record (configuration word 3) is filled from
 * the options, starting from the library's documented defaults. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "vqe_host.h"

#define AEC_BUFFERS_PER_CALL 4 /* 10 ms frames handed to one process call */

static const vqe_host_option aec_options[] = {
    {"ref", "REF.wav", "far-end reference (mono, same rate); default: channel 1 of --in"},
    {"cn", "0|1", "comfort noise off/on"},
    {"switch-b", "N", "minimum suppression over-drive 0..2 (1, 2 or 5)"},
    {"nlp-threshold", "N", "near-end coherence threshold, Q15"},
    {"band-a", "LO,HI", "bins averaged for the echo-state decision"},
    {"band-b", "LO,HI", "bins whose gains set the suppression depth"},
    {"band-c", "LO,HI", "bins watched for filter divergence"},
    {"erl-band", "E0,...,E5", "six ascending band edges in bins"},
    {"erl", "L0,...,L6", "seven per-band suppression targets in dB"},
    {NULL, NULL, NULL},
};

static const char *aec_ref_path;
static wav_audio aec_ref;
static int aec_user_set;
/* user record fields, in the order of the record from offset 8: threshold, band a, band b,
 * erl_band[6], erl[7], band c */
static int16_t aec_fields[20] = {20000, 7,  38, 8,  17, 5,  17, 28, 32, 45,
                                 56,    11, 12, 16, 14, 15, 12, 16, 5,  10};
static uint8_t aec_cn = 1, aec_switch_b = 1;
static uint8_t aec_user[48];
static int16_t *aec_mic, *aec_rin, *aec_outbuf;

/* Parses exactly `count` comma-separated numbers into dst; 0, or -1 after printing why. */
static int parse_list(const char *option, const char *text, int16_t *dst, int count) {
    const char *p = text;
    for (int i = 0; i < count; i++) {
        char *end;
        long v = strtol(p, &end, 10);
        if (end == p || v < -32768 || v > 32767 || (i + 1 < count ? *end != ',' : *end != '\0')) {
            fprintf(stderr, "vqe_host: --%s wants %d comma-separated numbers (-32768..32767), not '%s'\n",
                    option, count, text);
            return -1;
        }
        dst[i] = (int16_t)v;
        p = end + 1;
    }
    return 0;
}

static int aec_set_option(vqe_host_run *run, const char *name, const char *value) {
    long v;
    if (strcmp(name, "ref") == 0) {
        aec_ref_path = value;
        return 0;
    }
    aec_user_set = 1;
    if (strcmp(name, "cn") == 0 || strcmp(name, "switch-b") == 0) {
        int cn = strcmp(name, "cn") == 0;
        if (vqe_host_parse_int(name, value, 0, cn ? 1 : 255, &v) != 0) {
            return -1;
        }
        *(cn ? &aec_cn : &aec_switch_b) = (uint8_t)v;
        return 0;
    }
    if (strcmp(name, "nlp-threshold") == 0) {
        if (vqe_host_parse_int(name, value, -32768, 32767, &v) != 0) {
            return -1;
        }
        aec_fields[0] = (int16_t)v;
        return 0;
    }
    if (strcmp(name, "band-a") == 0) {
        return parse_list(name, value, &aec_fields[1], 2);
    }
    if (strcmp(name, "band-b") == 0) {
        return parse_list(name, value, &aec_fields[3], 2);
    }
    if (strcmp(name, "erl-band") == 0) {
        return parse_list(name, value, &aec_fields[5], 6);
    }
    if (strcmp(name, "erl") == 0) {
        return parse_list(name, value, &aec_fields[11], 7);
    }
    return parse_list(name, value, &aec_fields[18], 2); /* band-c */
}

static void put16(uint8_t *p, int16_t v) {
    p[0] = (uint8_t)((uint16_t)v & 0xFF);
    p[1] = (uint8_t)((uint16_t)v >> 8);
}

static int aec_setup(vqe_host_run *run) {
    if (aec_ref_path != NULL) {
        char err[256];
        if (run->in.channels != 1) {
            fprintf(stderr, "vqe_host: with --ref, %s must be mono\n", run->in_path);
            return -1;
        }
        if (wav_read(aec_ref_path, &aec_ref, err, sizeof(err)) != 0) {
            fprintf(stderr, "vqe_host: %s: %s\n", aec_ref_path, err);
            return -1;
        }
        if (aec_ref.channels != 1 || aec_ref.rate != run->in.rate) {
            fprintf(stderr, "vqe_host: %s must be mono at %d Hz like %s\n", aec_ref_path, run->in.rate,
                    run->in_path);
            return -1;
        }
    } else if (run->in.channels != 2) {
        fprintf(stderr,
                "vqe_host: vqe_aec needs --ref REF.wav or a two-channel input (microphone, reference)\n");
        return -1;
    }
    memset(aec_user, 0, sizeof(aec_user));
    aec_user[0] = (uint8_t)aec_user_set; /* nonzero: the library takes the values below */
    aec_user[4] = aec_cn;
    aec_user[5] = aec_switch_b;
    for (int i = 0; i < 18; i++) {
        put16(aec_user + 8 + 2 * i, aec_fields[i]);
    }
    put16(aec_user + 44, aec_fields[18]);
    put16(aec_user + 46, aec_fields[19]);
    run->cfg.user_params = aec_user;
    size_t frame = (size_t)run->in.rate / 100;
    run->frame = frame * AEC_BUFFERS_PER_CALL;
    run->out_channels = 1;
    aec_mic = calloc(run->frame, sizeof(int16_t));
    aec_rin = calloc(run->frame, sizeof(int16_t));
    aec_outbuf = calloc(run->frame, sizeof(int16_t));
    if (aec_mic == NULL || aec_rin == NULL || aec_outbuf == NULL) {
        fprintf(stderr, "vqe_host: out of memory\n");
        return -1;
    }
    return 0;
}

static int aec_process(vqe_host_run *run, void *handle, size_t at, size_t frames) {
    size_t ch = (size_t)run->in.channels;
    /* The library takes whole 10 ms frames: a short last buffer is completed with silence. */
    size_t frame = (size_t)run->in.rate / 100;
    size_t whole = (frames + frame - 1) / frame * frame;
    memset(aec_mic, 0, run->frame * sizeof(int16_t));
    memset(aec_rin, 0, run->frame * sizeof(int16_t));
    for (size_t i = 0; i < frames; i++) {
        aec_mic[i] = run->in.samples[(at + i) * ch];
        if (aec_ref_path != NULL) {
            aec_rin[i] = at + i < aec_ref.frames ? aec_ref.samples[at + i] : 0;
        } else {
            aec_rin[i] = run->in.samples[(at + i) * ch + 1];
        }
    }
    audio_frame in, out;
    memset(&in, 0, sizeof(in));
    memset(&out, 0, sizeof(out));
    in.data = aec_mic;
    in.rin_data = aec_rin;
    in.len = (uint32_t)(whole * 2);
    out.data = aec_outbuf;
    int ret = run->module->process(handle, &in, &out);
    if (ret != 0) {
        fprintf(stderr, "vqe_host: vqe_aec process failed at frame %zu: %d\n", at, ret);
        return -1;
    }
    int16_t *dst = vqe_host_out_reserve(run, frames);
    if (dst == NULL) {
        fprintf(stderr, "vqe_host: out of memory for the output\n");
        return -1;
    }
    memcpy(dst, aec_outbuf, frames * sizeof(int16_t));
    vqe_host_out_commit(run, frames);
    return 0;
}

static void aec_cleanup(vqe_host_run *run) {
    (void)run;
    if (aec_ref_path != NULL) {
        wav_free(&aec_ref);
    }
    free(aec_mic);
    free(aec_rin);
    free(aec_outbuf);
    aec_mic = aec_rin = aec_outbuf = NULL;
}

const vqe_host_plugin vqe_host_plugin_aec = {
    .library = "vqe_aec",
    .module = "aec",
    .getter = "vx_vqe_aec_get_handle",
    .options = aec_options,
    .set_option = aec_set_option,
    .setup = aec_setup,
    .process = aec_process,
    .cleanup = aec_cleanup,
};
