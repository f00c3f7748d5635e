/**
 * @file lv_mem.c
 * Every block carries a small header with its size so that the monitor can count the heap in use.
 */
#include "lv_mem.h"
#include "lv_log.h"

#include <stdlib.h>

typedef union {
    size_t size;
    max_align_t align;
} mem_header_t;

static uint32_t zero_mem = 0xa1b2c3d4; /* the address handed out for 0-byte requests */
static size_t used_bytes;
static size_t max_used_bytes;
static uint32_t used_blocks;
static lv_mem_buf_arr_t mem_buf_pool;

void lv_mem_init(void) {}

void lv_mem_deinit(void) {
    lv_mem_buf_free_all();
}

void *lv_mem_alloc(size_t size) {
    if (size == 0)
        return &zero_mem;
    mem_header_t *h = malloc(sizeof(mem_header_t) + size);
    if (h == NULL) {
        LV_LOG_ERROR("couldn't allocate memory (%zu bytes)", size);
        return NULL;
    }
    h->size = size;
    used_bytes += size;
    used_blocks++;
    if (used_bytes > max_used_bytes)
        max_used_bytes = used_bytes;
    return h + 1;
}

void lv_mem_free(void *data) {
    if (data == NULL || data == &zero_mem)
        return;
    mem_header_t *h = (mem_header_t *)data - 1;
    used_bytes -= h->size;
    used_blocks--;
    free(h);
}

void *lv_mem_realloc(void *data_p, size_t new_size) {
    if (data_p == NULL || data_p == &zero_mem)
        return lv_mem_alloc(new_size);
    if (new_size == 0) {
        lv_mem_free(data_p);
        return &zero_mem;
    }
    mem_header_t *h = (mem_header_t *)data_p - 1;
    size_t old = h->size;
    mem_header_t *n = realloc(h, sizeof(mem_header_t) + new_size);
    if (n == NULL) {
        LV_LOG_ERROR("couldn't reallocate memory (%zu bytes)", new_size);
        return NULL;
    }
    n->size = new_size;
    used_bytes = used_bytes - old + new_size;
    if (used_bytes > max_used_bytes)
        max_used_bytes = used_bytes;
    return n + 1;
}

lv_res_t lv_mem_test(void) {
    return zero_mem == 0xa1b2c3d4 ? LV_RES_OK : LV_RES_INV;
}

void lv_mem_monitor(lv_mem_monitor_t *mon_p) {
    memset(mon_p, 0, sizeof(*mon_p));
    mon_p->total_size = (uint32_t)used_bytes;
    mon_p->used_cnt = used_blocks;
    mon_p->max_used = (uint32_t)max_used_bytes;
    mon_p->used_pct = 100;
}

void *lv_mem_buf_get(uint32_t size) {
    if (size == 0)
        return NULL;
    /* Prefer a free buffer that is already big enough, then grow one, then give up. */
    int free_idx = -1;
    for (int i = 0; i < LV_MEM_BUF_MAX_NUM; i++) {
        if (mem_buf_pool[i].used)
            continue;
        if (mem_buf_pool[i].p && mem_buf_pool[i].size >= size) {
            mem_buf_pool[i].used = 1;
            return mem_buf_pool[i].p;
        }
        if (free_idx < 0)
            free_idx = i;
    }
    if (free_idx < 0) {
        LV_LOG_ERROR("no more scratch buffers (size %u)", (unsigned)size);
        return NULL;
    }
    void *p = lv_mem_realloc(mem_buf_pool[free_idx].p, size);
    if (p == NULL)
        return NULL;
    mem_buf_pool[free_idx].p = p;
    mem_buf_pool[free_idx].size = size;
    mem_buf_pool[free_idx].used = 1;
    return p;
}

void lv_mem_buf_release(void *p) {
    for (int i = 0; i < LV_MEM_BUF_MAX_NUM; i++) {
        if (mem_buf_pool[i].p == p) {
            mem_buf_pool[i].used = 0;
            return;
        }
    }
    LV_LOG_ERROR("p is not a known scratch buffer");
}

void lv_mem_buf_free_all(void) {
    for (int i = 0; i < LV_MEM_BUF_MAX_NUM; i++) {
        if (mem_buf_pool[i].p && !mem_buf_pool[i].used) {
            lv_mem_free(mem_buf_pool[i].p);
            mem_buf_pool[i].p = NULL;
            mem_buf_pool[i].size = 0;
        }
    }
}
