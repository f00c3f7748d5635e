/**
 * @file lv_draw_arc.h
 */
#ifndef LV_DRAW_ARC_H
#define LV_DRAW_ARC_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../misc/lv_area.h"
#include "../misc/lv_color.h"
#include "../misc/lv_style.h"

struct _lv_draw_ctx_t;

typedef struct {
    lv_color_t color;
    lv_coord_t width;
    uint16_t start_angle;
    uint16_t end_angle;
    const void *img_src; /**< not drawn by lvlite: arcs are filled with color */
    lv_opa_t opa;
    lv_blend_mode_t blend_mode : 2;
    uint8_t rounded : 1;
} lv_draw_arc_dsc_t;

void lv_draw_arc_dsc_init(lv_draw_arc_dsc_t *dsc);

/**
 * Draw an antialiased arc of the circle of radius `radius` around center, dsc->width thick
 * inwards, clockwise from start_angle to end_angle (degrees, 0 at 3 o'clock); rounded ends
 * with dsc->rounded.
 */
void lv_draw_arc(struct _lv_draw_ctx_t *draw_ctx, const lv_draw_arc_dsc_t *dsc, const lv_point_t *center,
                 uint16_t radius, uint16_t start_angle, uint16_t end_angle);

/** The area an arc may draw on. */
void lv_draw_arc_get_area(lv_coord_t x, lv_coord_t y, uint16_t radius, uint16_t start_angle,
                          uint16_t end_angle, lv_coord_t w, bool rounded, lv_area_t *area);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_DRAW_ARC_H */
