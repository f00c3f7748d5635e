/**
 * @file lv_draw_rect.h
 * Rectangles: background (colour, gradient, image), border and outline, with rounded corners.
 */
#ifndef LV_DRAW_RECT_H
#define LV_DRAW_RECT_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../misc/lv_area.h"
#include "../misc/lv_color.h"
#include "../misc/lv_style.h"

#ifndef LV_RADIUS_CIRCLE
#define LV_RADIUS_CIRCLE 0x7FFF /**< A very big radius: always a circle / pill */
#endif

struct _lv_draw_ctx_t;

typedef struct {
    lv_coord_t radius;
    lv_blend_mode_t blend_mode;

    /* Background */
    lv_opa_t bg_opa;
    lv_color_t bg_color; /**< First element of a gradient is a color, so it maps well here */
    lv_grad_dsc_t bg_grad;

    /* Background image */
    const void *bg_img_src;
    const void *bg_img_symbol_font;
    lv_color_t bg_img_recolor;
    lv_opa_t bg_img_opa;
    lv_opa_t bg_img_recolor_opa;
    uint8_t bg_img_tiled;

    /* Border */
    lv_color_t border_color;
    lv_coord_t border_width;
    lv_opa_t border_opa;
    uint8_t border_post : 1; /**< There is a border but it will be drawn later */
    lv_border_side_t border_side : 5;

    /* Outline */
    lv_color_t outline_color;
    lv_coord_t outline_width;
    lv_coord_t outline_pad;
    lv_opa_t outline_opa;

    /* Shadow */
    lv_color_t shadow_color;
    lv_coord_t shadow_width;
    lv_coord_t shadow_ofs_x;
    lv_coord_t shadow_ofs_y;
    lv_coord_t shadow_spread;
    lv_opa_t shadow_opa;
} lv_draw_rect_dsc_t;

/** White opaque background, black opaque full border of width 0, no radius. */
void lv_draw_rect_dsc_init(lv_draw_rect_dsc_t *dsc);

/** Draw a rectangle into coords, clipped to draw_ctx->clip_area. */
void lv_draw_rect(struct _lv_draw_ctx_t *draw_ctx, const lv_draw_rect_dsc_t *dsc, const lv_area_t *coords);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_DRAW_RECT_H */
