/**
 * @file lv_mem.h
 * Memory of the graphics core: the heap (the C library's allocator) and a small pool of scratch buffers.
 */
#ifndef LV_MEM_H
#define LV_MEM_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "../lv_conf_internal.h"
#include "lv_types.h"

typedef struct {
    uint32_t total_size;
    uint32_t free_cnt;
    uint32_t free_size;
    uint32_t free_biggest_size;
    uint32_t used_cnt;
    uint32_t max_used;
    uint8_t used_pct;
    uint8_t frag_pct;
} lv_mem_monitor_t;

typedef struct {
    void *p;
    uint32_t size;
    uint8_t used : 1;
} lv_mem_buf_t;

typedef lv_mem_buf_t lv_mem_buf_arr_t[LV_MEM_BUF_MAX_NUM];

void lv_mem_init(void);
void lv_mem_deinit(void);
/** Allocate size bytes; a request of 0 bytes gives a valid pointer that must not be written. */
void *lv_mem_alloc(size_t size);
void lv_mem_free(void *data);
void *lv_mem_realloc(void *data_p, size_t new_size);
lv_res_t lv_mem_test(void);
/** Number of live blocks and their bytes, counted over every lv_mem_alloc/realloc/free. */
void lv_mem_monitor(lv_mem_monitor_t *mon_p);

/** A scratch buffer for the duration of one operation; give it back with lv_mem_buf_release. */
void *lv_mem_buf_get(uint32_t size);
void lv_mem_buf_release(void *p);
void lv_mem_buf_free_all(void);

static inline void *lv_memcpy(void *dst, const void *src, size_t len) {
    return memcpy(dst, src, len);
}
static inline void *lv_memcpy_small(void *dst, const void *src, uint32_t len) {
    return memcpy(dst, src, len);
}
static inline void lv_memset(void *dst, uint8_t v, size_t len) {
    memset(dst, v, len);
}
static inline void lv_memset_00(void *dst, size_t len) {
    memset(dst, 0x00, len);
}
static inline void lv_memset_ff(void *dst, size_t len) {
    memset(dst, 0xFF, len);
}

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_MEM_H */
