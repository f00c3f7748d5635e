#include "audio_common.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <safe_mem_lib.h>

#define AUDIO_LOG_LINE_MAX 512

void audio_log(const char *func, int line, const char *fmt, ...) {
    char text[AUDIO_LOG_LINE_MAX];
    int n = snprintf(text, sizeof(text), "[Func]:%s [Line]:%d [Info]:", func != NULL ? func : "?", line);
    if (n < 0) {
        return;
    }
    if ((size_t)n < sizeof(text)) {
        va_list ap;
        va_start(ap, fmt);
        int m = vsnprintf(text + n, sizeof(text) - (size_t)n, fmt, ap);
        va_end(ap);
        if (m > 0) {
            n += m;
        }
    }
    if ((size_t)n >= sizeof(text)) {
        n = (int)sizeof(text) - 1;
        text[n - 1] = '\n'; /* a cut line still ends the line */
    }
    fwrite(text, 1, (size_t)n, stderr);
}

/* The byte just below the aligned block holds its distance (1..8) from the allocation's start;
 * the extra 8 bytes of the allocation are exactly the room this needs. */
void *audio_block_alloc(size_t size) {
    if (size == 0 || size > SIZE_MAX - AUDIO_ALIGN) {
        return NULL;
    }
    unsigned char *raw = calloc(1, size + AUDIO_ALIGN);
    if (raw == NULL) {
        return NULL;
    }
    size_t shift = AUDIO_ALIGN - ((uintptr_t)raw & (AUDIO_ALIGN - 1u));
    unsigned char *block = raw + shift;
    block[-1] = (unsigned char)shift;
    return block;
}

void audio_block_free(void *block) {
    if (block == NULL) {
        return;
    }
    unsigned char *p = block;
    free(p - p[-1]);
}

static size_t round_up(size_t v) {
    return (v + (AUDIO_ALIGN - 1u)) & ~(size_t)(AUDIO_ALIGN - 1u);
}

void audio_layout_begin(audio_layout *layout, void *base, size_t size) {
    layout->base = base;
    layout->size = base != NULL ? size : 0;
    layout->used = 0;
    layout->overflow = 0;
}

void *audio_layout_take(audio_layout *layout, size_t size) {
    if (layout->overflow || size > SIZE_MAX / 2) {
        layout->overflow = 1;
        return NULL;
    }
    size_t start = layout->used;
    size_t need = round_up(size) + AUDIO_ALIGN; /* region, then the guard word in its own slot */
    layout->used += need;
    if (layout->base == NULL) {
        return NULL;
    }
    if (layout->used > layout->size) {
        layout->overflow = 1;
        return NULL;
    }
    unsigned char *region = layout->base + start;
    uint32_t guard = AUDIO_GUARD_WORD;
    memcpy(region + round_up(size), &guard, sizeof(guard));
    return region;
}

size_t audio_layout_used(const audio_layout *layout) {
    return layout->used;
}

int audio_layout_failed(const audio_layout *layout) {
    return layout->overflow;
}

int audio_guard_ok(const void *region, size_t size) {
    if (region == NULL) {
        return 0;
    }
    uint32_t guard;
    memcpy(&guard, (const unsigned char *)region + round_up(size), sizeof(guard));
    return guard == AUDIO_GUARD_WORD;
}

int audio_copy(void *dst, size_t dst_size, const void *src, size_t n) {
    if (n == 0) {
        return 0;
    }
    return memcpy_s(dst, dst_size, src, n);
}

int audio_move(void *dst, size_t dst_size, const void *src, size_t n) {
    if (n == 0) {
        return 0;
    }
    return memmove_s(dst, dst_size, src, n);
}

int audio_fill(void *dst, size_t dst_size, int value, size_t n) {
    if (n == 0) {
        return 0;
    }
    return memset_s(dst, dst_size, value, n);
}
