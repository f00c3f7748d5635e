/**
 * @file lv_draw_line.h
 */
#ifndef LV_DRAW_LINE_H
#define LV_DRAW_LINE_H

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
    lv_coord_t dash_width;
    lv_coord_t dash_gap;
    lv_opa_t opa;
    lv_blend_mode_t blend_mode : 2;
    uint8_t round_start : 1;
    uint8_t round_end : 1;
    uint8_t
        raw_end : 1; /**< Do not bother with perpendicular line ending if it's not visible for any reason */
} lv_draw_line_dsc_t;

void lv_draw_line_dsc_init(lv_draw_line_dsc_t *dsc);

/**
 * Draw a line of dsc->width pixels from point1 to point2. Horizontal and vertical lines may be
 * dashed; other directions are drawn as runs of square pens without antialiasing.
 */
void lv_draw_line(struct _lv_draw_ctx_t *draw_ctx, const lv_draw_line_dsc_t *dsc, const lv_point_t *point1,
                  const lv_point_t *point2);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_DRAW_LINE_H */
