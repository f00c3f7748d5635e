/**
 * @file lv_draw_arc.c
 * Arcs, pixel by pixel over their bounding box: radial coverage from the exact distance of the
 * pixel centre (integers, 1/256 pixel), a hard angular cut, and round caps as discs.
 */
#include "lv_draw.h"

#include <string.h>

#include "../misc/lv_math.h"
#include "sw/lv_draw_sw.h"

void lv_draw_arc_dsc_init(lv_draw_arc_dsc_t *dsc) {
    memset(dsc, 0, sizeof(*dsc));
    dsc->width = 1;
    dsc->opa = LV_OPA_COVER;
    dsc->color = lv_color_black();
}

void lv_draw_arc_get_area(lv_coord_t x, lv_coord_t y, uint16_t radius, uint16_t start_angle,
                          uint16_t end_angle, lv_coord_t w, bool rounded, lv_area_t *area) {
    (void)start_angle;
    (void)end_angle;
    (void)w;
    (void)rounded;
    /* The whole circle: simple and always enough. */
    lv_area_set(area, x - radius, y - radius, x + radius - 1, y + radius - 1);
}

/* Distance in 1/256 pixel from twice-scaled offsets (dx2 = 2 * dx). */
static int32_t dist256(int64_t dx2, int64_t dy2) {
    uint64_t v = (uint64_t)(dx2 * dx2 + dy2 * dy2) << 14; /* (d * 2)^2 * 2^14 = (d * 256)^2 */
    return (int32_t)_lv_draw_sw_sqrt(v);
}

static inline int32_t clamp256(int32_t v) {
    return v < 0 ? 0 : v > 256 ? 256 : v;
}

static bool angle_in(int32_t a, int32_t start, int32_t end) {
    if (start <= end)
        return a >= start && a <= end;
    return a >= start || a <= end; /* wraps over 0 */
}

void lv_draw_arc(lv_draw_ctx_t *draw_ctx, const lv_draw_arc_dsc_t *dsc, const lv_point_t *center,
                 uint16_t radius, uint16_t start_angle, uint16_t end_angle) {
    if (dsc->opa <= LV_OPA_MIN || dsc->width <= 0 || radius == 0 || start_angle == end_angle)
        return;

    int32_t r = radius;
    int32_t w = LV_MIN(dsc->width, r);
    int32_t ri = r - w;
    bool full = (end_angle > start_angle ? end_angle - start_angle : start_angle - end_angle) >= 360;
    int32_t start = start_angle % 360;
    int32_t end = end_angle % 360;

    lv_area_t area;
    lv_draw_arc_get_area(center->x, center->y, radius, start_angle, end_angle, dsc->width, dsc->rounded,
                         &area);
    lv_area_t clip;
    if (!_lv_area_intersect(&clip, &area, draw_ctx->clip_area))
        return;

    /* Cap centres, twice scaled, on the middle of the stroke. */
    int32_t mid2 = 2 * r - w;
    int64_t cap_x[2] = {(int64_t)mid2 * lv_trigo_cos((int16_t)start) / 32767,
                        (int64_t)mid2 * lv_trigo_cos((int16_t)end) / 32767};
    int64_t cap_y[2] = {(int64_t)mid2 * lv_trigo_sin((int16_t)start) / 32767,
                        (int64_t)mid2 * lv_trigo_sin((int16_t)end) / 32767};
    bool caps = dsc->rounded && !full;

    int32_t len = lv_area_get_width(&clip);
    uint8_t *mask = _lv_draw_sw_scratch(0, (size_t)len);
    if (mask == NULL)
        return;
    bool dest_alpha = _lv_draw_sw_dest_has_alpha();

    for (int32_t y = clip.y1; y <= clip.y2; y++) {
        int64_t dy2 = 2 * (int64_t)(y - center->y) + 1;
        bool any = false;
        for (int32_t k = 0; k < len; k++) {
            int64_t dx2 = 2 * (int64_t)(clip.x1 + k - center->x) + 1;
            int32_t d = dist256(dx2, dy2);
            int32_t cov = clamp256(r * 256 - d + 128) * clamp256(d - ri * 256 + 128) >> 8;
            if (cov > 0 && !full) {
                int32_t a = lv_atan2((int)dx2, (int)dy2);
                if (!angle_in(a, start, end))
                    cov = 0;
            }
            if (caps) {
                for (int c = 0; c < 2; c++) {
                    int32_t dc = dist256(dx2 - cap_x[c], dy2 - cap_y[c]);
                    int32_t cc = clamp256(w * 128 - dc + 128);
                    if (cc > cov)
                        cov = cc;
                }
            }
            mask[k] = (uint8_t)(cov >= 256 ? 255 : cov);
            any |= cov > 0;
        }
        if (any)
            _lv_draw_sw_fill_row(_lv_draw_sw_px(draw_ctx, clip.x1, y), len, dsc->color, dsc->opa, mask,
                                 dest_alpha);
    }
}
