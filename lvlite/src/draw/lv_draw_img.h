/**
 * @file lv_draw_img.h
 */
#ifndef LV_DRAW_IMG_H
#define LV_DRAW_IMG_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../misc/lv_area.h"
#include "../misc/lv_color.h"
#include "../misc/lv_style.h"
#include "lv_img_buf.h"
#include "lv_img_decoder.h"

struct _lv_draw_ctx_t;

typedef struct {
    int16_t angle; /**< 0.1 degrees; lvlite draws images unrotated */
    uint16_t zoom; /**< 256 is 100 %; lvlite draws images unzoomed */
    lv_point_t pivot;

    lv_color_t recolor;
    lv_opa_t recolor_opa;

    lv_opa_t opa;
    lv_blend_mode_t blend_mode : 4;

    int32_t frame_id;
    uint8_t antialias : 1;
} lv_draw_img_dsc_t;

void lv_draw_img_dsc_init(lv_draw_img_dsc_t *dsc);

/**
 * Draw the image src with its top-left corner at coords->x1/y1 (coords has the image's size;
 * a larger area repeats nothing), clipped to draw_ctx->clip_area. A source that cannot be
 * decoded draws nothing and logs a warning.
 */
void lv_draw_img(struct _lv_draw_ctx_t *draw_ctx, const lv_draw_img_dsc_t *dsc, const lv_area_t *coords,
                 const void *src);

/** Draw decoded pixels (w x h lv_color_t, with or without alpha per cf) at coords. */
void lv_draw_img_decoded(struct _lv_draw_ctx_t *draw_ctx, const lv_draw_img_dsc_t *dsc,
                         const lv_area_t *coords, const uint8_t *map_p, lv_img_cf_t color_format);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_DRAW_IMG_H */
