/*
 * Pieces every audio library shares: the diagnostics line, the single instance allocation with
 * its layout helper, guard words, and bounds-checked copies.
 *
 * Memory: a library works out the size of everything an instance needs (audio_layout in
 * measuring mode), makes one allocation of that size (audio_block_alloc: size + 8 bytes,
 * returned 8-byte aligned and zero-filled), then carves the same layout out of it. Process
 * calls allocate nothing.
 *
 * Integrity: every carved region is followed by a guard word, and each library's state record
 * carries marker words of its own at both ends; a library checks both on every call so that an
 * overrun or a stale handle is reported instead of being worked on.
 *
 * Copies, fills and moves go through the bounds-checked functions of the safe C library; the
 * wrappers here return 0 or the library's error number, and treat a zero length as success.
 */
#ifndef AUDIO_COMMON_H
#define AUDIO_COMMON_H

#include <stddef.h>
#include <stdint.h>

#include "audio_plugin.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Writes "[Func]:<func> [Line]:<line> [Info]:" and the formatted message to standard error as
 * one write. The message carries its own newline. */
void audio_log(const char *func, int line, const char *fmt, ...) __attribute__((format(printf, 3, 4)));
#define AUDIO_LOG(...) audio_log(__func__, __LINE__, __VA_ARGS__)

/* ---- one allocation per instance ---- */

/* Allocates size + 8 bytes once and returns an 8-byte-aligned, zero-filled block of `size`
 * bytes inside it, or NULL. size 0 is refused. */
void *audio_block_alloc(size_t size);
/* Frees a block from audio_block_alloc; NULL is ignored. */
void audio_block_free(void *block);

/* Guard word written behind every region a layout hands out. */
#define AUDIO_GUARD_WORD 0xA5C3E1F0u
#define AUDIO_ALIGN      8u

/* Lays regions out one after the other, each 8-byte aligned and followed by a guard word.
 * Measuring: begin with base NULL; take returns NULL and only counts. Carving: begin with the
 * block and the measured size; take returns the region (zero-filled by the block) and writes
 * its guard, or NULL if the block is too small. */
typedef struct audio_layout {
    unsigned char *base;
    size_t size;
    size_t used;
    int overflow;
} audio_layout;

void audio_layout_begin(audio_layout *layout, void *base, size_t size);
void *audio_layout_take(audio_layout *layout, size_t size);
/* Bytes needed so far (the size to allocate after a measuring pass). */
size_t audio_layout_used(const audio_layout *layout);
/* 1 when the carving pass ran out of room (or a size overflowed). */
int audio_layout_failed(const audio_layout *layout);

/* 1 when the guard word behind a region of `size` bytes handed out by a layout is intact. */
int audio_guard_ok(const void *region, size_t size);

/* ---- bounds-checked copies (0 or the safe C library's error number) ---- */
int audio_copy(void *dst, size_t dst_size, const void *src, size_t n);
int audio_move(void *dst, size_t dst_size, const void *src, size_t n);
int audio_fill(void *dst, size_t dst_size, int value, size_t n);

/* ---- helpers on samples ---- */
static inline int16_t audio_sat16(int32_t v) {
    return (int16_t)(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
}

#ifdef __cplusplus
}
#endif

#endif /* AUDIO_COMMON_H */
