/**
 * @file lv_draw_line.c
 */
#include "lv_draw.h"

#include <string.h>

#include "../misc/lv_math.h"
#include "sw/lv_draw_sw.h"

void lv_draw_line_dsc_init(lv_draw_line_dsc_t *dsc) {
    memset(dsc, 0, sizeof(*dsc));
    dsc->width = 1;
    dsc->opa = LV_OPA_COVER;
    dsc->color = lv_color_black();
}

static void fill_area(lv_draw_ctx_t *ctx, const lv_area_t *a, lv_color_t color, lv_opa_t opa,
                      bool dest_alpha) {
    lv_area_t clip;
    if (!_lv_area_intersect(&clip, a, ctx->clip_area))
        return;
    int32_t len = lv_area_get_width(&clip);
    for (int32_t y = clip.y1; y <= clip.y2; y++)
        _lv_draw_sw_fill_row(_lv_draw_sw_px(ctx, clip.x1, y), len, color, opa, NULL, dest_alpha);
}

void lv_draw_line(lv_draw_ctx_t *draw_ctx, const lv_draw_line_dsc_t *dsc, const lv_point_t *point1,
                  const lv_point_t *point2) {
    if (dsc->width <= 0 || dsc->opa <= LV_OPA_MIN)
        return;
    bool dest_alpha = _lv_draw_sw_dest_has_alpha();
    int32_t w = dsc->width;
    int32_t half = (w - 1) / 2;
    lv_area_t a;

    if (point1->y == point2->y || point1->x == point2->x) {
        bool hor = point1->y == point2->y;
        int32_t from = hor ? LV_MIN(point1->x, point2->x) : LV_MIN(point1->y, point2->y);
        int32_t to = hor ? LV_MAX(point1->x, point2->x) : LV_MAX(point1->y, point2->y);
        int32_t dash = dsc->dash_width > 0 && dsc->dash_gap > 0 ? dsc->dash_width : to - from + 1;
        int32_t step = dsc->dash_width > 0 && dsc->dash_gap > 0 ? dsc->dash_width + dsc->dash_gap : dash;
        for (int32_t p = from; p <= to; p += step) {
            int32_t e = LV_MIN(to, p + dash - 1);
            if (hor) {
                lv_area_set(&a, p, point1->y - half, e, point1->y - half + w - 1);
            } else {
                lv_area_set(&a, point1->x - half, p, point1->x - half + w - 1, e);
            }
            fill_area(draw_ctx, &a, dsc->color, dsc->opa, dest_alpha);
        }
        return;
    }

    /* Bresenham walk along the major axis, one pen-wide run per step. */
    int32_t x0 = point1->x, y0 = point1->y, x1 = point2->x, y1 = point2->y;
    int32_t dx = LV_ABS(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int32_t dy = -LV_ABS(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int32_t err = dx + dy;
    bool x_major = dx >= -dy;
    for (;;) {
        if (x_major) {
            lv_area_set(&a, x0, y0 - half, x0, y0 - half + w - 1);
        } else {
            lv_area_set(&a, x0 - half, y0, x0 - half + w - 1, y0);
        }
        fill_area(draw_ctx, &a, dsc->color, dsc->opa, dest_alpha);
        if (x0 == x1 && y0 == y1)
            break;
        int32_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}
