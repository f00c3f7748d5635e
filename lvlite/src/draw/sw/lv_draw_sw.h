/**
 * @file lv_draw_sw.h
 * The software renderer's draw context and its row blenders.
 */
#ifndef LV_DRAW_SW_H
#define LV_DRAW_SW_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../lv_draw.h"

struct _lv_disp_drv_t;

typedef lv_draw_ctx_t lv_draw_sw_ctx_t;

void lv_draw_sw_init_ctx(struct _lv_disp_drv_t *drv, lv_draw_ctx_t *draw_ctx);
void lv_draw_sw_deinit_ctx(struct _lv_disp_drv_t *drv, lv_draw_ctx_t *draw_ctx);

/** Whether the display being refreshed keeps alpha (screen_transp): blending then composes alpha. */
bool _lv_draw_sw_dest_has_alpha(void);

/** Address of pixel (x, y) (screen coordinates) in the context's buffer. */
static inline lv_color_t *_lv_draw_sw_px(const lv_draw_ctx_t *draw_ctx, lv_coord_t x, lv_coord_t y) {
    const lv_area_t *ba = draw_ctx->buf_area;
    return (lv_color_t *)draw_ctx->buf + (int32_t)(y - ba->y1) * lv_area_get_width(ba) + (x - ba->x1);
}

/**
 * Blend len pixels of colour with opacity opa into dst, each further weighted by mask[i] when mask
 * is not NULL. dest_alpha composes with the destination's alpha (transparent screens).
 */
void _lv_draw_sw_fill_row(lv_color_t *dst, int32_t len, lv_color_t color, lv_opa_t opa, const lv_opa_t *mask,
                          bool dest_alpha);

/**
 * Blend len source pixels into dst with opacity opa; with src_alpha each source pixel's alpha byte
 * weighs it too, and mask (when not NULL) weighs each pixel.
 */
void _lv_draw_sw_map_row(lv_color_t *dst, const lv_color_t *src, int32_t len, lv_opa_t opa,
                         const lv_opa_t *mask, bool src_alpha, bool dest_alpha);

/** Integer square root (floor). */
uint32_t _lv_draw_sw_sqrt(uint64_t v);

/** A scratch buffer of at least size bytes, reused between calls (one per slot 0..3). */
void *_lv_draw_sw_scratch(int slot, size_t size);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_DRAW_SW_H */
