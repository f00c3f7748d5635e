/**
 * @file lv_img_cache.h
 * Cache of opened (decoded) images, so that redrawing an image does not decode it again.
 */
#ifndef LV_IMG_CACHE_H
#define LV_IMG_CACHE_H

#ifdef __cplusplus
extern "C" {
#endif

#include "lv_img_decoder.h"

typedef struct {
    lv_img_decoder_dsc_t dec_dsc; /**< Image information */
    int32_t life;                 /**< Grows with every use; the entry of least life gives way */
} _lv_img_cache_entry_t;

/** Open an image through the cache (NULL if it cannot be decoded). Valid until the next open. */
_lv_img_cache_entry_t *_lv_img_cache_open(const void *src, lv_color_t color, int32_t frame_id);

/** Number of images kept decoded (at least one is always kept while drawing). */
void lv_img_cache_set_size(uint16_t new_entry_cnt);

/** Drop the cached images of src (NULL: all), e.g. after its pixels changed. */
void lv_img_cache_invalidate_src(const void *src);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_IMG_CACHE_H */
