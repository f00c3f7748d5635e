/* vqe_resample: configuration word 0 is the output rate or a mode code, word 2 the channel
 * count; the input is interleaved in the main channel and the library returns the number of
 * frames it wrote. */
#include <stdio.h>
#include <string.h>

#include "vqe_host.h"

/* Frames per buffer, as the framework hands them: 20 ms at 48000 Hz, a multiple of every
 * decimation factor (2, 4, 6). */
#define RES_DEFAULT_FRAME 960

static long res_rate, res_mode, res_channels;

static const vqe_host_option res_options[] = {
    {"rate", "HZ", "output rate (8000 ... 48000); configuration word 0"},
    {"mode", "N", "mode code 1..6 instead of a rate: 1 x2, 2 /2, 3 x4, 4 /4, 5 8000->48000, 6 48000->8000"},
    {"channels", "N", "channel count, configuration word 2 (default: the input's)"},
    {NULL, NULL, NULL},
};

static int res_set_option(vqe_host_run *run, const char *name, const char *value) {
    if (strcmp(name, "rate") == 0) {
        return vqe_host_parse_int(name, value, 1, 1000000, &res_rate);
    }
    if (strcmp(name, "mode") == 0) {
        return vqe_host_parse_int(name, value, 1, 6, &res_mode);
    }
    return vqe_host_parse_int(name, value, 1, 8, &res_channels);
}

/* The rate a mode code asks for; the library itself decides whether it accepts it. */
static long mode_rate(long mode, long in_rate) {
    switch (mode) {
    case 1:
        return in_rate * 2;
    case 2:
        return in_rate / 2;
    case 3:
        return in_rate * 4;
    case 4:
        return in_rate / 4;
    case 5:
        return 48000;
    default:
        return 8000;
    }
}

static int res_setup(vqe_host_run *run) {
    if ((res_rate != 0) == (res_mode != 0)) {
        fprintf(stderr, "vqe_host: vqe_resample needs exactly one of --rate and --mode\n");
        return -1;
    }
    long channels = res_channels != 0 ? res_channels : run->in.channels;
    if (channels != run->in.channels) {
        fprintf(stderr, "vqe_host: %s has %d channel(s), --channels says %ld\n", run->in_path,
                run->in.channels, channels);
        return -1;
    }
    run->cfg.word0 = (int32_t)(res_rate != 0 ? res_rate : res_mode);
    run->cfg.word2 = (int32_t)channels;
    run->frame = RES_DEFAULT_FRAME;
    run->out_rate = (int)(res_rate != 0 ? res_rate : mode_rate(res_mode, run->in.rate));
    run->out_channels = (int)channels;
    return 0;
}

static int res_process(vqe_host_run *run, void *handle, size_t at, size_t frames) {
    size_t ch = (size_t)run->in.channels;
    /* The worst case the library can produce: the wrapper cuts a buffer into calls of at most
     * 2048 frames, each giving at most out/in times its input plus a carry of a few frames. */
    size_t calls = frames / 2046 + 1;
    size_t room = (frames + ch) * (size_t)run->out_rate / (size_t)run->in.rate + 2 * calls + 8;
    int16_t *dst = vqe_host_out_reserve(run, room);
    if (dst == NULL) {
        fprintf(stderr, "vqe_host: out of memory for the output\n");
        return -1;
    }
    audio_frame in, out;
    memset(&in, 0, sizeof(in));
    memset(&out, 0, sizeof(out));
    in.data = run->in.samples + at * ch;
    in.len = (uint32_t)(frames * 2); /* bytes of each channel */
    out.data = dst;
    out.len = (uint32_t)(room * 2);
    int got = run->module->process(handle, &in, &out);
    if (got < 0 || (size_t)got > room) {
        fprintf(stderr, "vqe_host: vqe_resample process failed at frame %zu: 0x%08X\n", at, (unsigned)got);
        return -1;
    }
    vqe_host_out_commit(run, (size_t)got);
    return 0;
}

const vqe_host_plugin vqe_host_plugin_resample = {
    .library = "vqe_resample",
    .module = "res",
    .getter = "vx_vqe_resample_get_handle",
    .options = res_options,
    .set_option = res_set_option,
    .setup = res_setup,
    .process = res_process,
    .cleanup = NULL,
};
