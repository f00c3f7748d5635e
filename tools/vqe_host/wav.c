#include "wav.h"

#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int fail(char *err, size_t err_size, const char *fmt, ...) __attribute__((format(printf, 3, 4)));
static int fail(char *err, size_t err_size, const char *fmt, ...) {
    if (err != NULL && err_size > 0) {
        va_list ap;
        va_start(ap, fmt);
        vsnprintf(err, err_size, fmt, ap);
        va_end(ap);
    }
    return -1;
}

static uint32_t le32(const uint8_t *p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}
static uint16_t le16(const uint8_t *p) {
    return (uint16_t)(p[0] | (p[1] << 8));
}

#define WAVE_FORMAT_PCM        1u
#define WAVE_FORMAT_EXTENSIBLE 0xFFFEu

int wav_parse(const uint8_t *data, size_t size, wav_audio *out, char *err, size_t err_size) {
    memset(out, 0, sizeof(*out));
    if (data == NULL || size < 12) {
        return fail(err, err_size, "not a WAV file (shorter than a RIFF header)");
    }
    if (memcmp(data, "RIFF", 4) != 0 || memcmp(data + 8, "WAVE", 4) != 0) {
        return fail(err, err_size, "not a WAV file (no RIFF/WAVE header)");
    }
    int have_fmt = 0;
    int channels = 0, bits = 0;
    uint32_t rate = 0;
    const uint8_t *pcm = NULL;
    size_t pcm_bytes = 0;
    size_t off = 12;
    while (off + 8 <= size) {
        const uint8_t *chunk = data + off;
        uint32_t len = le32(chunk + 4);
        size_t room = size - off - 8;
        if (len > room) {
            return fail(err, err_size, "truncated file: chunk '%.4s' claims %u bytes, %zu left", chunk, len,
                        room);
        }
        const uint8_t *body = chunk + 8;
        if (memcmp(chunk, "fmt ", 4) == 0) {
            if (have_fmt) {
                return fail(err, err_size, "malformed WAV: two format chunks");
            }
            if (len < 16) {
                return fail(err, err_size, "malformed WAV: format chunk of %u bytes", len);
            }
            unsigned tag = le16(body);
            channels = le16(body + 2);
            rate = le32(body + 4);
            unsigned block_align = le16(body + 12);
            bits = le16(body + 14);
            if (tag == WAVE_FORMAT_EXTENSIBLE) {
                /* The sub-format GUID starts with the plain format tag. */
                if (len < 40 || le16(body + 24) != WAVE_FORMAT_PCM) {
                    return fail(err, err_size, "unsupported WAV format: extensible but not integer PCM");
                }
            } else if (tag != WAVE_FORMAT_PCM) {
                return fail(err, err_size, "unsupported WAV format tag %u (need integer PCM)", tag);
            }
            if (bits != 16) {
                return fail(err, err_size, "unsupported sample width: %d bits (need 16)", bits);
            }
            if (channels < 1 || channels > WAV_MAX_CHANNELS) {
                return fail(err, err_size, "unsupported channel count %d", channels);
            }
            if (block_align != (unsigned)channels * 2u) {
                return fail(err, err_size, "malformed WAV: block align %u for %d channels", block_align,
                            channels);
            }
            if (rate == 0 || rate > 1000000u) {
                return fail(err, err_size, "unsupported sample rate %u", rate);
            }
            have_fmt = 1;
        } else if (memcmp(chunk, "data", 4) == 0) {
            if (!have_fmt) {
                return fail(err, err_size, "malformed WAV: data before the format chunk");
            }
            pcm = body;
            pcm_bytes = len;
            break;
        }
        /* Chunks are padded to an even length. */
        size_t step = 8 + (size_t)len + (len & 1u);
        if (step > size - off) {
            break;
        }
        off += step;
    }
    if (!have_fmt) {
        return fail(err, err_size, "malformed WAV: no format chunk");
    }
    if (pcm == NULL) {
        return fail(err, err_size, "malformed WAV: no data chunk");
    }
    size_t frame_bytes = (size_t)channels * 2u;
    if (pcm_bytes % frame_bytes != 0) {
        return fail(err, err_size, "truncated data: %zu bytes is not a whole number of %d-channel frames",
                    pcm_bytes, channels);
    }
    size_t frames = pcm_bytes / frame_bytes;
    int16_t *samples = malloc(pcm_bytes > 0 ? pcm_bytes : 1);
    if (samples == NULL) {
        return fail(err, err_size, "out of memory for %zu bytes of samples", pcm_bytes);
    }
    for (size_t i = 0; i < frames * (size_t)channels; i++) {
        samples[i] = (int16_t)le16(pcm + 2 * i);
    }
    out->rate = (int)rate;
    out->channels = channels;
    out->frames = frames;
    out->samples = samples;
    return 0;
}

int wav_read(const char *path, wav_audio *out, char *err, size_t err_size) {
    memset(out, 0, sizeof(*out));
    FILE *f = fopen(path, "rb");
    if (f == NULL) {
        return fail(err, err_size, "cannot open %s: %s", path, strerror(errno));
    }
    uint8_t *buf = NULL;
    size_t used = 0, cap = 0;
    for (;;) {
        if (used == cap) {
            if (cap >= WAV_MAX_FILE) {
                free(buf);
                fclose(f);
                return fail(err, err_size, "%s: larger than %u bytes", path, WAV_MAX_FILE);
            }
            size_t ncap = cap == 0 ? 65536 : cap * 2;
            uint8_t *nbuf = realloc(buf, ncap);
            if (nbuf == NULL) {
                free(buf);
                fclose(f);
                return fail(err, err_size, "%s: out of memory", path);
            }
            buf = nbuf;
            cap = ncap;
        }
        size_t n = fread(buf + used, 1, cap - used, f);
        used += n;
        if (n == 0) {
            break;
        }
    }
    int read_error = ferror(f);
    fclose(f);
    if (read_error) {
        free(buf);
        return fail(err, err_size, "cannot read %s", path);
    }
    char why[256];
    int rc = wav_parse(buf, used, out, why, sizeof(why));
    free(buf);
    if (rc != 0) {
        return fail(err, err_size, "%s: %s", path, why);
    }
    return 0;
}

static void put32(uint8_t *p, uint32_t v) {
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
    p[2] = (uint8_t)(v >> 16);
    p[3] = (uint8_t)(v >> 24);
}
static void put16(uint8_t *p, uint16_t v) {
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
}

int wav_write(const char *path, int rate, int channels, const int16_t *samples, size_t frames) {
    size_t bytes = frames * (size_t)channels * 2u;
    if (channels < 1 || channels > WAV_MAX_CHANNELS || rate <= 0 || bytes > 0xFFFFFFFFu - 36u) {
        errno = EINVAL;
        return -1;
    }
    uint8_t h[44];
    memcpy(h, "RIFF", 4);
    put32(h + 4, (uint32_t)(36 + bytes));
    memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, WAVE_FORMAT_PCM);
    put16(h + 22, (uint16_t)channels);
    put32(h + 24, (uint32_t)rate);
    put32(h + 28, (uint32_t)rate * (uint32_t)channels * 2u);
    put16(h + 32, (uint16_t)(channels * 2));
    put16(h + 34, 16);
    memcpy(h + 36, "data", 4);
    put32(h + 40, (uint32_t)bytes);
    FILE *f = fopen(path, "wb");
    if (f == NULL) {
        return -1;
    }
    int ok = fwrite(h, 1, sizeof(h), f) == sizeof(h);
    uint8_t buf[4096];
    size_t total = frames * (size_t)channels;
    for (size_t i = 0; ok && i < total;) {
        size_t n = 0;
        for (; n + 2 <= sizeof(buf) && i < total; i++, n += 2) {
            put16(buf + n, (uint16_t)samples[i]);
        }
        ok = fwrite(buf, 1, n, f) == n;
    }
    if (fclose(f) != 0) {
        ok = 0;
    }
    return ok ? 0 : -1;
}

void wav_free(wav_audio *audio) {
    if (audio != NULL) {
        free(audio->samples);
        audio->samples = NULL;
        audio->frames = 0;
    }
}
