/*
 * vqe_host: runs WAV files through an audio plug-in library the way the platform's audio
 * framework drives it (getter, init, process per buffer, deinit).
 *
 * The host core (main.c) reads the input, loads the library, finds which plug-in it is by the
 * getter it exports, and runs it. Everything that differs between libraries (its options, how
 * the configuration record is filled, how input and output frames are built) lives in one
 * opts_<library>.c file that defines a vqe_host_plugin and is registered with one line in
 * plugins.def.
 */
#ifndef VQE_HOST_H
#define VQE_HOST_H

#include <stddef.h>
#include <stdint.h>

#include "audio_plugin.h"
#include "wav.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct vqe_host_run {
    /* Set by the host before setup. */
    const audio_work_handle *module;
    void *library; /* dlopen handle, for plug-ins that look up more exports */
    const char *in_path;
    wav_audio in; /* the --in file */
    /* Set by the plug-in's setup (the host starts them at: cfg zero, init_rate = in.rate,
     * frame = 0, out_rate = in.rate, out_channels = in.channels). */
    vqe_config cfg;
    int init_rate; /* sample rate handed to init */
    size_t frame;  /* frames handed to one process call (a --frame option overrides it) */
    int out_rate;  /* of the output WAV */
    int out_channels;
    /* Output collected by the plug-in's process through vqe_host_out_reserve/commit. */
    int16_t *out;
    size_t out_frames;
    size_t out_cap; /* frames */
} vqe_host_run;

typedef struct vqe_host_option {
    const char *name; /* without the leading "--" */
    const char *arg;  /* name of its value in the help text, NULL for a flag */
    const char *help;
} vqe_host_option;

typedef struct vqe_host_plugin {
    const char *library;            /* shown in the help text, e.g. "vqe_resample" */
    const char *module;             /* module record name, e.g. "res" */
    const char *getter;             /* exported getter, e.g. "vx_vqe_resample_get_handle" */
    const vqe_host_option *options; /* ends with an entry whose name is NULL */
    /* Takes one of its options (value NULL for a flag). 0, or -1 after printing why. */
    int (*set_option)(vqe_host_run *run, const char *name, const char *value);
    /* After the input is read, before init: fill cfg, init_rate, frame, out_rate, out_channels.
     * 0, or -1 after printing why. */
    int (*setup)(vqe_host_run *run);
    /* Processes `frames` input frames starting at frame `at` through module->process.
     * 0, or -1 after printing why. */
    int (*process)(vqe_host_run *run, void *handle, size_t at, size_t frames);
    /* Releases what set_option and setup kept; may be NULL. */
    void (*cleanup)(vqe_host_run *run);
} vqe_host_plugin;

/* Room for `frames` more output frames at the end of the output; NULL when out of memory. */
int16_t *vqe_host_out_reserve(vqe_host_run *run, size_t frames);
/* Keeps `frames` frames written at the reserved place. */
void vqe_host_out_commit(vqe_host_run *run, size_t frames);
/* Parses a whole decimal number in [min, max]; 0, or -1 after printing why. */
int vqe_host_parse_int(const char *option, const char *text, long min, long max, long *value);

#define VQE_HOST_PLUGIN(id) extern const vqe_host_plugin vqe_host_plugin_##id;
#include "plugins.def"
#undef VQE_HOST_PLUGIN

#ifdef __cplusplus
}
#endif

#endif /* VQE_HOST_H */
