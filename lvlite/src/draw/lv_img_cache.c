/**
 * @file lv_img_cache.c
 */
#include "lv_img_cache.h"

#include <string.h>

#include "../misc/lv_mem.h"

static _lv_img_cache_entry_t *entries;
static uint16_t entry_cnt;

static bool same_src(const lv_img_decoder_dsc_t *d, const void *src) {
    if (d->decoder == NULL || d->src == NULL)
        return false;
    lv_img_src_t type = lv_img_src_get_type(src);
    if (type != d->src_type)
        return false;
    if (type == LV_IMG_SRC_VARIABLE)
        return d->src == src;
    return strcmp(d->src, src) == 0;
}

_lv_img_cache_entry_t *_lv_img_cache_open(const void *src, lv_color_t color, int32_t frame_id) {
    if (entry_cnt == 0)
        lv_img_cache_set_size(1);
    if (entry_cnt == 0)
        return NULL;

    for (uint16_t i = 0; i < entry_cnt; i++) {
        _lv_img_cache_entry_t *e = &entries[i];
        if (same_src(&e->dec_dsc, src) && e->dec_dsc.frame_id == frame_id &&
            (e->dec_dsc.header.cf != LV_IMG_CF_ALPHA_8BIT || e->dec_dsc.color.full == color.full)) {
            if (e->life < INT32_MAX - 1)
                e->life++;
            return e;
        }
    }

    _lv_img_cache_entry_t *victim = &entries[0];
    for (uint16_t i = 1; i < entry_cnt; i++) {
        if (entries[i].life < victim->life)
            victim = &entries[i];
    }
    /* Everyone else ages so that old favourites eventually give way. */
    for (uint16_t i = 0; i < entry_cnt; i++) {
        if (entries[i].life > INT32_MIN + 1)
            entries[i].life--;
    }

    if (victim->dec_dsc.decoder)
        lv_img_decoder_close(&victim->dec_dsc);
    if (lv_img_decoder_open(&victim->dec_dsc, src, color, frame_id) != LV_RES_OK) {
        memset(victim, 0, sizeof(*victim));
        return NULL;
    }
    victim->life = 1;
    return victim;
}

void lv_img_cache_set_size(uint16_t new_entry_cnt) {
    lv_img_cache_invalidate_src(NULL);
    lv_mem_free(entries);
    entries = NULL;
    entry_cnt = 0;
    if (new_entry_cnt == 0)
        return;

    entries = lv_mem_alloc(sizeof(_lv_img_cache_entry_t) * new_entry_cnt);
    if (entries == NULL)
        return;
    memset(entries, 0, sizeof(_lv_img_cache_entry_t) * new_entry_cnt);
    entry_cnt = new_entry_cnt;
}

void lv_img_cache_invalidate_src(const void *src) {
    for (uint16_t i = 0; i < entry_cnt; i++) {
        _lv_img_cache_entry_t *e = &entries[i];
        if (e->dec_dsc.decoder && (src == NULL || same_src(&e->dec_dsc, src))) {
            lv_img_decoder_close(&e->dec_dsc);
            memset(e, 0, sizeof(*e));
        }
    }
}
