/*
 * The records shared by the audio framework and every audio plug-in library.
 *
 * The framework loads a library, calls its getter for the module record and from then on drives
 * it through the record's three entry points: init (one instance per stream), process (one
 * buffer per call) and deinit. The field order is fixed; on the 32-bit device natural alignment
 * gives the framework's offsets (module record 44 bytes, frame record 24 bytes, configuration
 * record 16 bytes), and on a 64-bit host the same order with natural alignment is used.
 */
#ifndef AUDIO_PLUGIN_H
#define AUDIO_PLUGIN_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Marks a symbol the framework (or a caller of the library) may look up; everything else in an
 * audio library is hidden. */
#define AUDIO_EXPORT __attribute__((visibility("default")))

/* One buffer of each channel. Samples are signed 16-bit, native order; `len` is the length in
 * bytes of each channel buffer. Only these slots are read or written by the libraries. */
typedef struct audio_frame {
    int16_t *data;        /* main channel (microphone 1, or the only channel) */
    int16_t *rin_data;    /* far-end reference the loudspeaker plays */
    int16_t *extern_data; /* second microphone */
    uint32_t reserved[2]; /* owned by the framework */
    uint32_t len;
} audio_frame;

/* Configuration handed to init. Word 0: resampler output rate or mode code. Word 2: resampler
 * channel count, or the talk library's default-set selector. user_params: the library's own
 * parameter record (echo canceller, recording, talk). */
typedef struct vqe_config {
    int32_t word0;
    int32_t word1;
    int32_t word2;
    void *user_params;
} vqe_config;

typedef int (*audio_init_fn)(void **handle, int sample_rate, const vqe_config *cfg);
typedef int (*audio_process_fn)(void *handle, audio_frame *in, audio_frame *out);
typedef int (*audio_deinit_fn)(void *handle);

#define AUDIO_MODULE_NAME_LEN 28

/* The module record: one static instance per library, returned by its getters. */
typedef struct audio_work_handle {
    char name[AUDIO_MODULE_NAME_LEN]; /* NUL-padded: "res", "aec", "record", "talkv2" */
    audio_init_fn init;
    audio_process_fn process;
    audio_deinit_fn deinit;
    void *reserved; /* always NULL */
} audio_work_handle;

typedef const audio_work_handle *(*audio_get_handle_fn)(void);

/* A compile-time check in C and C++ headers alike (pins record layouts on the device). */
#ifdef __cplusplus
#define AUDIO_STATIC_ASSERT static_assert
#else
#define AUDIO_STATIC_ASSERT _Static_assert
#endif

#if UINTPTR_MAX == 0xFFFFFFFFu
AUDIO_STATIC_ASSERT(sizeof(audio_work_handle) == 44, "module record is 44 bytes");
AUDIO_STATIC_ASSERT(offsetof(audio_work_handle, init) == 28, "init at offset 28");
AUDIO_STATIC_ASSERT(offsetof(audio_work_handle, reserved) == 40, "reserved at offset 40");
AUDIO_STATIC_ASSERT(sizeof(audio_frame) == 24, "frame record is 24 bytes");
AUDIO_STATIC_ASSERT(offsetof(audio_frame, len) == 20, "len at offset 20");
AUDIO_STATIC_ASSERT(sizeof(vqe_config) == 16, "configuration record is 16 bytes");
#endif

#ifdef __cplusplus
}
#endif

#endif /* AUDIO_PLUGIN_H */
