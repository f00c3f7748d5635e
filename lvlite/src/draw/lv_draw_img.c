/**
 * @file lv_draw_img.c
 */
#include "lv_draw.h"

#include <string.h>

#include "../misc/lv_log.h"
#include "../misc/lv_math.h"
#include "sw/lv_draw_sw.h"

void lv_draw_img_dsc_init(lv_draw_img_dsc_t *dsc) {
    memset(dsc, 0, sizeof(*dsc));
    dsc->recolor = lv_color_black();
    dsc->opa = LV_OPA_COVER;
    dsc->zoom = LV_IMG_ZOOM_NONE;
    dsc->antialias = 1;
}

void lv_draw_img_decoded(lv_draw_ctx_t *draw_ctx, const lv_draw_img_dsc_t *dsc, const lv_area_t *coords,
                         const uint8_t *map_p, lv_img_cf_t color_format) {
    lv_area_t clip;
    if (!_lv_area_intersect(&clip, coords, draw_ctx->clip_area))
        return;

    int32_t img_w = lv_area_get_width(coords);
    int32_t len = lv_area_get_width(&clip);
    bool src_alpha = color_format == LV_IMG_CF_TRUE_COLOR_ALPHA;
    bool dest_alpha = _lv_draw_sw_dest_has_alpha();
    bool recolor = dsc->recolor_opa > LV_OPA_MIN;
    lv_color_t *row = NULL;
    uint16_t premult[3];
    uint8_t keep = (uint8_t)(255 - dsc->recolor_opa);
    if (recolor) {
        row = _lv_draw_sw_scratch(1, (size_t)len * sizeof(lv_color_t));
        if (row == NULL)
            return;
        lv_color_premult(dsc->recolor, dsc->recolor_opa, premult);
    }

    for (int32_t y = clip.y1; y <= clip.y2; y++) {
        const lv_color_t *src = (const lv_color_t *)map_p + (size_t)(y - coords->y1) * (size_t)img_w +
                                (size_t)(clip.x1 - coords->x1);
        if (recolor) {
            for (int32_t k = 0; k < len; k++) {
                lv_color_t c = lv_color_mix_premult(premult, src[k], keep);
                c.ch.alpha = src[k].ch.alpha;
                row[k] = c;
            }
            src = row;
        }
        _lv_draw_sw_map_row(_lv_draw_sw_px(draw_ctx, clip.x1, y), src, len, dsc->opa, NULL, src_alpha,
                            dest_alpha);
    }
}

void lv_draw_img(lv_draw_ctx_t *draw_ctx, const lv_draw_img_dsc_t *dsc, const lv_area_t *coords,
                 const void *src) {
    if (src == NULL || dsc->opa <= LV_OPA_MIN)
        return;

    lv_area_t clip;
    if (!_lv_area_intersect(&clip, coords, draw_ctx->clip_area))
        return;

    _lv_img_cache_entry_t *cdsc = _lv_img_cache_open(src, dsc->recolor, dsc->frame_id);
    if (cdsc == NULL || cdsc->dec_dsc.img_data == NULL) {
        LV_LOG_WARN("image could not be decoded");
        return;
    }

    /* The image's own size decides; coords only places it. */
    lv_area_t area;
    area.x1 = coords->x1;
    area.y1 = coords->y1;
    area.x2 = area.x1 + (lv_coord_t)cdsc->dec_dsc.header.w - 1;
    area.y2 = area.y1 + (lv_coord_t)cdsc->dec_dsc.header.h - 1;
    lv_area_t img_clip;
    if (!_lv_area_intersect(&img_clip, &area, &clip))
        return;

    const lv_area_t *saved = draw_ctx->clip_area;
    draw_ctx->clip_area = &img_clip;
    lv_draw_img_decoded(draw_ctx, dsc, &area, cdsc->dec_dsc.img_data, (lv_img_cf_t)cdsc->dec_dsc.header.cf);
    draw_ctx->clip_area = saved;
}
