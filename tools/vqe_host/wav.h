/*
 * 16-bit PCM WAV files: reading (from memory, so that a crafted file can be checked completely
 * before anything is used) and writing.
 */
#ifndef VQE_HOST_WAV_H
#define VQE_HOST_WAV_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define WAV_MAX_CHANNELS 8
#define WAV_MAX_FILE     (1024u * 1024u * 1024u) /* larger files are refused */

typedef struct wav_audio {
    int rate;
    int channels;
    size_t frames;    /* samples per channel */
    int16_t *samples; /* frames * channels, interleaved; owned (free with wav_free) */
} wav_audio;

/* Parses a RIFF/WAVE image holding 16-bit integer PCM. Returns 0, or -1 with a reason in err. */
int wav_parse(const uint8_t *data, size_t size, wav_audio *out, char *err, size_t err_size);
/* Reads and parses a file. Returns 0, or -1 with a reason in err. */
int wav_read(const char *path, wav_audio *out, char *err, size_t err_size);
/* Writes frames * channels interleaved samples as a 16-bit PCM WAV file. 0 or -1 (errno set). */
int wav_write(const char *path, int rate, int channels, const int16_t *samples, size_t frames);
void wav_free(wav_audio *audio);

#ifdef __cplusplus
}
#endif

#endif /* VQE_HOST_WAV_H */
