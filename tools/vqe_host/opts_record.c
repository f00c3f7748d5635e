/* vqe_record: microphone 1 is channel 0 of --in and microphone 2 channel 1 (a two-channel input
 * means two microphones); the user parameter record (configuration word 3) is filled from the
 * options, each field of it having one. The look-ahead stage's gain callback prints every call. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "vqe_host.h"
#include "vqe_record.h"

#define REC_BUFFERS_PER_CALL 4 /* 10 ms frames handed to one process call */

static const vqe_host_option rec_options[] = {
    {"hdr", "0|1", "look-ahead microphone gain stage (default 1)"},
    {"hlpf", "0|1", "high/low-pass filter (1)"},
    {"rnr", "0|1", "noise reduction (1)"},
    {"agc", "0|1", "automatic gain control (1)"},
    {"eq", "0|1", "equaliser (1)"},
    {"drc", "0|1", "compressor (1)"},
    {"outs", "N", "output channels 1..2 (default: the input's channel count)"},
    {"gain-range", "MIN,MAX,STEP", "look-ahead gain range and step (6,20,2)"},
    {"init-gain", "N", "look-ahead start gain (20)"},
    {"hpf-reset", "0|1", "with the filter on: high-pass corner index 0"},
    {"rnr-values", "DEPTH,COMFORT", "noise reduction depth dB and comfort level dBFS (12,-45)"},
    {"agc-values", "B0,B1,B2,B4,B5,B8,B9,V16", "AGC bytes 0,1,2,4,5,8,9 and the value at 16"},
    {"eq-gains", "G0,...,G9", "equaliser control gains in dB (0,...,0)"},
    {"drc-rates", "FALL,RISE", "compressor gain fall and rise (24,100)"},
    {"drc-knees-in", "K1,...,K5", "compressor knee input levels, 1/16 dB (-1,-472,-792,-960,-1280)"},
    {"drc-knees-out", "O01,O2,...,O5", "compressor knee output levels, 1/16 dB (-1,-174,-528,-736,-1200)"},
    {NULL, NULL, NULL},
};

static vqe_record_user_params rec_user;
static int rec_user_ready, rec_outs;
static int16_t *rec_in1, *rec_in2, *rec_out1, *rec_out2;
static size_t rec_at; /* first frame of the buffer being processed, for the callback's line */

static void rec_defaults(void) {
    if (rec_user_ready) {
        return;
    }
    memset(&rec_user, 0, sizeof(rec_user));
    rec_user.hdr_on = rec_user.hlpf_on = rec_user.rnr_on = rec_user.agc_on = rec_user.eq_on = 1;
    rec_user.drc_on = 1;
    rec_user.gain_min = 6;
    rec_user.gain_max = 20;
    rec_user.gain_step = 2;
    rec_user.hdr_init_gain = 20;
    rec_user.gain_fall = 24;
    rec_user.gain_rise = 100;
    rec_user.knee_in1 = -1;
    const int16_t kin[4] = {-472, -792, -960, -1280}, kout[4] = {-174, -528, -736, -1200};
    memcpy(rec_user.knee_in, kin, sizeof(kin));
    memcpy(rec_user.knee_out, kout, sizeof(kout));
    rec_user.knee_out01 = -1;
    rec_user.rnr_value0 = 12;
    rec_user.rnr_value4 = -45;
    const int8_t agc[7] = {-3, -50, 2, 0, 2, 0, 0};
    memcpy(rec_user.agc_bytes, agc, sizeof(agc));
    rec_user_ready = 1;
}

/* Exactly `count` comma-separated numbers in [min, max]; 0, or -1 after printing why. */
static int parse_list(const char *option, const char *text, long *dst, int count, long min, long max) {
    const char *p = text;
    for (int i = 0; i < count; i++) {
        char *end;
        long v = strtol(p, &end, 10);
        if (end == p || v < min || v > max || (i + 1 < count ? *end != ',' : *end != '\0')) {
            fprintf(stderr, "vqe_host: --%s wants %d comma-separated numbers (%ld..%ld), not '%s'\n", option,
                    count, min, max, text);
            return -1;
        }
        dst[i] = v;
        p = end + 1;
    }
    return 0;
}

static void rec_gain_callback(int gain) {
    printf("vqe_host: gain callback(%d) in the buffer at frame %zu\n", gain, rec_at);
}

static int rec_set_option(vqe_host_run *run, const char *name, const char *value) {
    (void)run;
    rec_defaults();
    long v[10];
    static const struct {
        const char *name;
        int32_t *field;
    } switches[] = {{"hdr", &rec_user.hdr_on},         {"hlpf", &rec_user.hlpf_on}, {"rnr", &rec_user.rnr_on},
                    {"agc", &rec_user.agc_on},         {"eq", &rec_user.eq_on},     {"drc", &rec_user.drc_on},
                    {"hpf-reset", &rec_user.hpf_reset}};
    for (size_t i = 0; i < sizeof(switches) / sizeof(switches[0]); i++) {
        if (strcmp(name, switches[i].name) == 0) {
            if (vqe_host_parse_int(name, value, 0, 1, v) != 0) {
                return -1;
            }
            *switches[i].field = (int32_t)v[0];
            return 0;
        }
    }
    if (strcmp(name, "outs") == 0) {
        if (vqe_host_parse_int(name, value, 1, 3, v) != 0) {
            return -1;
        }
        rec_outs = (int)v[0];
        return 0;
    }
    if (strcmp(name, "gain-range") == 0) {
        if (parse_list(name, value, v, 3, -128, 127) != 0) {
            return -1;
        }
        rec_user.gain_min = (int32_t)v[0];
        rec_user.gain_max = (int32_t)v[1];
        rec_user.gain_step = (int32_t)v[2];
        return 0;
    }
    if (strcmp(name, "init-gain") == 0) {
        if (vqe_host_parse_int(name, value, -128, 127, v) != 0) {
            return -1;
        }
        rec_user.hdr_init_gain = (int8_t)v[0];
        return 0;
    }
    if (strcmp(name, "rnr-values") == 0) {
        if (parse_list(name, value, v, 2, -1000, 1000) != 0) {
            return -1;
        }
        rec_user.rnr_valid = 1;
        rec_user.rnr_value0 = (int32_t)v[0];
        rec_user.rnr_value4 = (int32_t)v[1];
        return 0;
    }
    if (strcmp(name, "agc-values") == 0) {
        if (parse_list(name, value, v, 8, -32768, 32767) != 0) {
            return -1;
        }
        rec_user.agc_valid = 1;
        for (int i = 0; i < 7; i++) {
            if (v[i] < -128 || v[i] > 255) {
                fprintf(stderr, "vqe_host: --agc-values: the first seven values are bytes\n");
                return -1;
            }
            rec_user.agc_bytes[i] = (int8_t)v[i];
        }
        rec_user.agc_value16 = (int16_t)v[7];
        return 0;
    }
    if (strcmp(name, "eq-gains") == 0) {
        if (parse_list(name, value, v, 10, -128, 127) != 0) {
            return -1;
        }
        for (int i = 0; i < 10; i++) {
            rec_user.eq_gains[i] = (int8_t)v[i];
        }
        return 0;
    }
    if (strcmp(name, "drc-rates") == 0) {
        if (parse_list(name, value, v, 2, 0, 255) != 0) {
            return -1;
        }
        rec_user.drc_valid = 1;
        rec_user.gain_fall = (int16_t)v[0];
        rec_user.gain_rise = (int16_t)v[1];
        return 0;
    }
    if (parse_list(name, value, v, 5, -32768, 32767) != 0) {
        return -1;
    }
    rec_user.drc_valid = 1;
    int16_t *first = strcmp(name, "drc-knees-in") == 0 ? &rec_user.knee_in1 : &rec_user.knee_out01;
    int16_t *rest = strcmp(name, "drc-knees-in") == 0 ? rec_user.knee_in : rec_user.knee_out;
    *first = (int16_t)v[0];
    for (int i = 0; i < 4; i++) {
        rest[i] = (int16_t)v[i + 1];
    }
    return 0;
}

static int rec_setup(vqe_host_run *run) {
    rec_defaults();
    if (run->in.channels != 1 && run->in.channels != 2) {
        fprintf(stderr, "vqe_host: vqe_record takes one or two microphones (mono or two-channel WAV)\n");
        return -1;
    }
    rec_user.mic_num = run->in.channels;
    rec_user.out_num = rec_outs ? rec_outs : run->in.channels;
    rec_user.gain_cb = rec_gain_callback;
    run->cfg.user_params = &rec_user;
    run->frame = (size_t)run->in.rate / 100 * REC_BUFFERS_PER_CALL;
    run->out_channels = rec_user.out_num > 2 ? 2 : rec_user.out_num;
    rec_in1 = calloc(run->frame, sizeof(int16_t));
    rec_in2 = calloc(run->frame, sizeof(int16_t));
    rec_out1 = calloc(run->frame, sizeof(int16_t));
    rec_out2 = calloc(run->frame, sizeof(int16_t));
    if (rec_in1 == NULL || rec_in2 == NULL || rec_out1 == NULL || rec_out2 == NULL) {
        fprintf(stderr, "vqe_host: out of memory\n");
        return -1;
    }
    return 0;
}

static int rec_process(vqe_host_run *run, void *handle, size_t at, size_t frames) {
    size_t ch = (size_t)run->in.channels;
    /* Whole 10 ms frames only: a short last buffer is completed with silence. */
    size_t frame = (size_t)run->in.rate / 100;
    size_t whole = (frames + frame - 1) / frame * frame;
    memset(rec_in1, 0, run->frame * sizeof(int16_t));
    memset(rec_in2, 0, run->frame * sizeof(int16_t));
    for (size_t i = 0; i < frames; i++) {
        rec_in1[i] = run->in.samples[(at + i) * ch];
        if (ch == 2) {
            rec_in2[i] = run->in.samples[(at + i) * ch + 1];
        }
    }
    audio_frame in, out;
    memset(&in, 0, sizeof(in));
    memset(&out, 0, sizeof(out));
    in.data = rec_in1;
    in.extern_data = ch == 2 ? rec_in2 : NULL;
    in.len = (uint32_t)(whole * 2);
    out.data = rec_out1;
    out.extern_data = rec_out2;
    rec_at = at;
    int ret = run->module->process(handle, &in, &out);
    if (ret != 0) {
        fprintf(stderr, "vqe_host: vqe_record process failed at frame %zu: %d\n", at, ret);
        return -1;
    }
    size_t oc = (size_t)run->out_channels;
    int16_t *dst = vqe_host_out_reserve(run, frames);
    if (dst == NULL) {
        fprintf(stderr, "vqe_host: out of memory for the output\n");
        return -1;
    }
    for (size_t i = 0; i < frames; i++) {
        dst[i * oc] = rec_out1[i];
        if (oc == 2) {
            dst[i * oc + 1] = rec_out2[i];
        }
    }
    vqe_host_out_commit(run, frames);
    return 0;
}

static void rec_cleanup(vqe_host_run *run) {
    (void)run;
    free(rec_in1);
    free(rec_in2);
    free(rec_out1);
    free(rec_out2);
    rec_in1 = rec_in2 = rec_out1 = rec_out2 = NULL;
}

const vqe_host_plugin vqe_host_plugin_record = {
    .library = "vqe_record",
    .module = "record",
    .getter = "vx_vqe_record_get_handle",
    .options = rec_options,
    .set_option = rec_set_option,
    .setup = rec_setup,
    .process = rec_process,
    .cleanup = rec_cleanup,
};
