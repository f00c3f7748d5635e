/**
 * @file lv_refr.c
 * Refresh: invalidated areas are grown by LV_INV_AREA_EXTRA pixels and clipped to the display, merged
 * where that saves pixels, and each remaining area is rendered in bands of as many rows as the draw buffer
 * holds, each band packed at the start of the buffer (its width in pixels per row) and handed to
 * flush_cb.
 * Drawing one band: find the topmost object that covers it entirely (nothing below it needs drawing),
 * draw from there with everything stacked above it, then the top and system layers.
 */
#include "lv_refr.h"
#include "lv_disp.h"
#include "../misc/lv_math.h"
#include "../misc/lv_mem.h"

/* The display being refreshed (NULL between refreshes). */
static lv_disp_t *refreshing;

static void draw_obj(lv_draw_ctx_t *draw_ctx, lv_obj_t *obj);

void _lv_refr_init(void) {
    refreshing = NULL;
}

lv_disp_t *_lv_refr_get_disp_refreshing(void) {
    return refreshing;
}

void lv_refr_now(lv_disp_t *disp) {
    lv_anim_refr_now();
    for (lv_disp_t *d = disp ? disp : lv_disp_get_next(NULL); d != NULL;
         d = disp ? NULL : lv_disp_get_next(d)) {
        if (d->refr_timer != NULL)
            _lv_disp_refr_timer(d->refr_timer);
    }
}

static lv_area_t whole_display(lv_disp_t *disp) {
    lv_area_t a = {0, 0, lv_disp_get_hor_res(disp) - 1, lv_disp_get_ver_res(disp) - 1};
    return a;
}

static void wake(lv_disp_t *disp) {
    if (disp->refr_timer != NULL)
        lv_timer_resume(disp->refr_timer);
}

void _lv_inv_area(lv_disp_t *disp, const lv_area_t *area_p) {
    if (disp == NULL)
        disp = lv_disp_get_default();
    if (disp == NULL || !lv_disp_is_invalidation_enabled(disp))
        return;
    if (disp->rendering_in_progress) {
        LV_LOG_ERROR("an area was invalidated while the display was being drawn: ignored");
        return;
    }
    if (area_p == NULL) {
        /* Forget everything that was pending. */
        disp->inv_p = 0;
        return;
    }
    lv_area_t screen = whole_display(disp);
    lv_area_t grown = *area_p;
    lv_area_increase(&grown, LV_INV_AREA_EXTRA, LV_INV_AREA_EXTRA);
    lv_area_t dirty;
    if (!_lv_area_intersect(&dirty, &grown, &screen))
        return;
    if (disp->driver->full_refresh) {
        disp->inv_areas[0] = screen;
        disp->inv_p = 1;
        wake(disp);
        return;
    }
    if (disp->driver->rounder_cb != NULL)
        disp->driver->rounder_cb(disp->driver, &dirty);
    for (uint16_t i = 0; i < disp->inv_p; i++) {
        if (_lv_area_is_in(&dirty, &disp->inv_areas[i], 0))
            return; /* already covered */
    }
    if (disp->inv_p >= LV_INV_BUF_SIZE) {
        /* Too many separate areas: redraw the whole display instead. */
        disp->inv_areas[0] = screen;
        disp->inv_p = 1;
    } else {
        disp->inv_areas[disp->inv_p++] = dirty;
    }
    wake(disp);
}

/* Join overlapping or touching areas when the joined box is smaller than the two together. */
static void merge_dirty(lv_disp_t *disp) {
    uint8_t *gone = disp->inv_area_joined;
    for (uint32_t keep = 0; keep < disp->inv_p; keep++) {
        if (gone[keep])
            continue;
        for (uint32_t other = 0; other < disp->inv_p; other++) {
            if (gone[other] || other == keep)
                continue;
            lv_area_t *a = &disp->inv_areas[keep];
            const lv_area_t *b = &disp->inv_areas[other];
            if (!_lv_area_is_on(a, b))
                continue;
            lv_area_t both;
            _lv_area_join(&both, a, b);
            if (lv_area_get_size(&both) < lv_area_get_size(a) + lv_area_get_size(b)) {
                *a = both;
                gone[other] = 1;
            }
        }
    }
}

/* The topmost object in obj's tree that fully covers area (so nothing under it needs drawing). */
static lv_obj_t *cover_of(const lv_area_t *area, lv_obj_t *obj) {
    if (!_lv_area_is_in(area, &obj->coords, 0) || lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN))
        return NULL;
    if (_lv_obj_get_layer_type(obj) != LV_LAYER_TYPE_NONE)
        return NULL; /* drawn through a layer: never opaque for sure */
    lv_cover_check_info_t check = {.res = LV_COVER_RES_COVER, .area = area};
    lv_event_send(obj, LV_EVENT_COVER_CHECK, &check);
    if (check.res == LV_COVER_RES_MASKED)
        return NULL;
    for (uint32_t n = lv_obj_get_child_cnt(obj); n > 0; n--) {
        lv_obj_t *found = cover_of(area, obj->spec_attr->children[n - 1]);
        if (found != NULL)
            return found;
    }
    return check.res == LV_COVER_RES_COVER ? obj : NULL;
}

/* BEGIN, the phase itself and END of one drawing phase (MAIN or POST), in that order. */
static void draw_phase(lv_obj_t *obj, lv_draw_ctx_t *draw_ctx, lv_event_code_t begin) {
    for (int step = 0; step < 3; step++)
        lv_event_send(obj, (lv_event_code_t)(begin + step), draw_ctx);
}

void lv_obj_redraw(lv_draw_ctx_t *draw_ctx, lv_obj_t *obj) {
    const lv_area_t *outer_clip = draw_ctx->clip_area;
    bool overflow = lv_obj_has_flag(obj, LV_OBJ_FLAG_OVERFLOW_VISIBLE);
    lv_area_t drawn = obj->coords;
    lv_coord_t ext = _lv_obj_get_ext_draw_size(obj);
    lv_area_increase(&drawn, ext, ext);
    lv_area_t own_clip;
    bool own_visible = _lv_area_intersect(&own_clip, outer_clip, &drawn) || overflow;
    if (own_visible) {
        draw_ctx->clip_area = &own_clip;
        draw_phase(obj, draw_ctx, LV_EVENT_DRAW_MAIN_BEGIN);
    }
    /* Children are clipped to the object unless it lets them overflow. */
    lv_area_t child_clip = *outer_clip;
    bool children_visible = overflow || _lv_area_intersect(&child_clip, outer_clip, &obj->coords);
    if (children_visible) {
        draw_ctx->clip_area = &child_clip;
        uint32_t n = lv_obj_get_child_cnt(obj);
        for (uint32_t i = 0; i < n; i++)
            draw_obj(draw_ctx, obj->spec_attr->children[i]);
    }
    if (own_visible) {
        draw_ctx->clip_area = &own_clip;
        draw_phase(obj, draw_ctx, LV_EVENT_DRAW_POST_BEGIN);
    }
    draw_ctx->clip_area = outer_clip;
}

/* Compose a layer (straight alpha) over the draw buffer with opacity opa. */
static void blend_layer(lv_draw_ctx_t *draw_ctx, const lv_color_t *layer, const lv_area_t *layer_area,
                        lv_opa_t opa) {
    lv_coord_t dst_w = lv_area_get_width(draw_ctx->buf_area);
    lv_coord_t lw = lv_area_get_width(layer_area);
    lv_color_t *dst = draw_ctx->buf;
    for (lv_coord_t y = layer_area->y1; y <= layer_area->y2; y++) {
        const lv_color_t *src_row = layer + (y - layer_area->y1) * lw;
        lv_color_t *dst_row = dst + (y - draw_ctx->buf_area->y1) * dst_w - draw_ctx->buf_area->x1;
        for (lv_coord_t x = layer_area->x1; x <= layer_area->x2; x++) {
            lv_color_t s = src_row[x - layer_area->x1];
            lv_opa_t a = (lv_opa_t)LV_UDIV255((uint32_t)s.ch.alpha * opa);
            if (a <= LV_OPA_MIN)
                continue;
            lv_color_t *d = &dst_row[x];
            if (d->ch.alpha == LV_OPA_COVER) {
                *d = lv_color_mix(s, *d, a);
            } else {
                lv_color_t res;
                lv_opa_t res_opa;
                lv_color_mix_with_alpha(*d, d->ch.alpha, s, a, &res, &res_opa);
                res.ch.alpha = res_opa;
                *d = res;
            }
        }
    }
}

/* Draw obj and its children into a transparent layer of their own, then compose it with opacity opa. */
static void draw_through_layer(lv_draw_ctx_t *draw_ctx, lv_obj_t *obj, lv_opa_t opa) {
    lv_area_t drawn = obj->coords;
    lv_coord_t ext = _lv_obj_get_ext_draw_size(obj);
    lv_area_increase(&drawn, ext, ext);
    lv_area_t layer_area;
    if (!_lv_area_intersect(&layer_area, &drawn, draw_ctx->clip_area))
        return;
    size_t bytes = (size_t)lv_area_get_size(&layer_area) * sizeof(lv_color_t);
    lv_color_t *layer = lv_mem_alloc(bytes);
    if (layer == NULL) {
        LV_LOG_WARN("no memory for a layer: drawing without opacity");
        lv_obj_redraw(draw_ctx, obj);
        return;
    }
    lv_memset_00(layer, bytes);
    lv_draw_ctx_t saved = *draw_ctx;
    draw_ctx->buf = layer;
    draw_ctx->buf_area = &layer_area;
    draw_ctx->clip_area = &layer_area;
    lv_obj_redraw(draw_ctx, obj);
    draw_ctx->buf = saved.buf;
    draw_ctx->buf_area = saved.buf_area;
    draw_ctx->clip_area = saved.clip_area;
    blend_layer(draw_ctx, layer, &layer_area, opa);
    lv_mem_free(layer);
}

static void draw_obj(lv_draw_ctx_t *draw_ctx, lv_obj_t *obj) {
    if (lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN))
        return;
    if (_lv_obj_get_layer_type(obj) == LV_LAYER_TYPE_NONE) {
        lv_obj_redraw(draw_ctx, obj);
        return;
    }
    lv_opa_t opa = lv_obj_get_style_opa(obj, LV_PART_MAIN);
    if (opa >= LV_OPA_MIN)
        draw_through_layer(draw_ctx, obj, opa);
}

/* Draw from `from` upward: the object itself, then whatever lies above it, that is the younger
 * siblings of it and of each of its ancestors, finishing each ancestor's POST phase on the way. */
static void draw_stack_from(lv_draw_ctx_t *draw_ctx, lv_obj_t *from) {
    if (from == NULL)
        return;
    draw_obj(draw_ctx, from);
    lv_obj_t *below = from;
    for (lv_obj_t *up = lv_obj_get_parent(from); up != NULL; below = up, up = lv_obj_get_parent(up)) {
        uint32_t n = lv_obj_get_child_cnt(up);
        uint32_t i = 0;
        while (i < n && up->spec_attr->children[i] != below)
            i++;
        for (i++; i < n; i++)
            draw_obj(draw_ctx, up->spec_attr->children[i]);
        draw_phase(up, draw_ctx, LV_EVENT_DRAW_POST_BEGIN);
    }
}

/* Map an area of the program's orientation to the panel's. */
static void rotate_area(const lv_disp_drv_t *drv, const lv_area_t *a, lv_area_t *r) {
    switch (drv->rotated) {
    case LV_DISP_ROT_90:
        *r = (lv_area_t){a->y1, drv->ver_res - a->x2 - 1, a->y2, drv->ver_res - a->x1 - 1};
        break;
    case LV_DISP_ROT_180:
        *r = (lv_area_t){drv->hor_res - a->x2 - 1, drv->ver_res - a->y2 - 1, drv->hor_res - a->x1 - 1,
                         drv->ver_res - a->y1 - 1};
        break;
    case LV_DISP_ROT_270:
        *r = (lv_area_t){drv->hor_res - a->y2 - 1, a->x1, drv->hor_res - a->y1 - 1, a->x2};
        break;
    default:
        *r = *a;
        break;
    }
}

/* Turn the packed w x h band in px into the panel's orientation, in place; false without memory. */
static bool rotate_pixels(lv_disp_rot_t rot, lv_color_t *px, lv_coord_t w, lv_coord_t h) {
    size_t bytes = (size_t)w * (size_t)h * sizeof(lv_color_t);
    lv_color_t *turned = lv_mem_alloc(bytes);
    if (turned == NULL)
        return false;
    /* Row length of the turned band: h for quarter turns, w for a half turn. */
    lv_coord_t out_w = rot == LV_DISP_ROT_180 ? w : h;
    for (lv_coord_t y = 0; y < h; y++) {
        for (lv_coord_t x = 0; x < w; x++) {
            lv_coord_t tx, ty;
            if (rot == LV_DISP_ROT_90) {
                tx = y;
                ty = w - 1 - x;
            } else if (rot == LV_DISP_ROT_180) {
                tx = w - 1 - x;
                ty = h - 1 - y;
            } else {
                tx = h - 1 - y;
                ty = x;
            }
            turned[ty * out_w + tx] = px[y * w + x];
        }
    }
    lv_memcpy(px, turned, bytes);
    lv_mem_free(turned);
    return true;
}

static void wait_until_taken(lv_disp_t *disp) {
    lv_disp_draw_buf_t *db = disp->driver->draw_buf;
    while (db->flushing) {
        if (disp->driver->wait_cb != NULL)
            disp->driver->wait_cb(disp->driver);
    }
}

/* Hand the rendered band to the driver: rotated first when the driver asks for it, moved by the
 * driver's offset. With two buffers the next band goes to the other one. */
static void flush_band(lv_disp_t *disp, lv_draw_ctx_t *draw_ctx) {
    lv_disp_drv_t *drv = disp->driver;
    lv_disp_draw_buf_t *db = drv->draw_buf;
    bool two_buffers = db->buf1 != NULL && db->buf2 != NULL;
    lv_draw_wait_for_finish(draw_ctx);
    if (two_buffers)
        wait_until_taken(disp);
    db->flushing = 1;
    db->flushing_last = db->last_area && db->last_part;
    if (drv->flush_cb == NULL) {
        db->flushing = 0;
    } else {
        lv_area_t area = *draw_ctx->buf_area;
        if (drv->rotated != LV_DISP_ROT_NONE && drv->sw_rotate) {
            lv_disp_rot_t rot = (lv_disp_rot_t)drv->rotated;
            if (!rotate_pixels(rot, draw_ctx->buf, lv_area_get_width(&area), lv_area_get_height(&area))) {
                LV_LOG_ERROR("no memory to rotate the area");
                db->flushing = 0;
                return;
            }
            lv_area_t turned;
            rotate_area(drv, &area, &turned);
            area = turned;
        }
        lv_area_move(&area, drv->offset_x, drv->offset_y);
        drv->flush_cb(drv, &area, draw_ctx->buf);
    }
    if (two_buffers)
        db->buf_act = db->buf_act == db->buf1 ? db->buf2 : db->buf1;
}

/* What lies below everything in a band nothing covers: the display's image or colour. */
static void draw_display_background(lv_disp_t *disp, lv_draw_ctx_t *draw_ctx) {
    if (disp->bg_img != NULL) {
        lv_draw_img_dsc_t img;
        lv_draw_img_dsc_init(&img);
        img.opa = disp->bg_opa;
        lv_area_t full = whole_display(disp);
        lv_draw_img(draw_ctx, &img, &full, disp->bg_img);
    } else if (disp->bg_opa > LV_OPA_MIN) {
        lv_draw_rect_dsc_t fill;
        lv_draw_rect_dsc_init(&fill);
        fill.bg_color = disp->bg_color;
        fill.bg_opa = disp->bg_opa;
        lv_draw_rect(draw_ctx, &fill, draw_ctx->buf_area);
    }
}

static void draw_band(lv_disp_t *disp, lv_draw_ctx_t *draw_ctx) {
    /* With one buffer the previous band must have been taken first. */
    wait_until_taken(disp);
    if (disp->driver->screen_transp) {
        uint32_t px = lv_area_get_size(draw_ctx->buf_area);
        if (disp->driver->clear_cb != NULL)
            disp->driver->clear_cb(disp->driver, draw_ctx->buf, px);
        else
            lv_memset_00(draw_ctx->buf, px * sizeof(lv_color_t));
    }
    lv_obj_t *act_cover = cover_of(draw_ctx->buf_area, disp->act_scr);
    lv_obj_t *prev_cover = disp->prev_scr ? cover_of(draw_ctx->buf_area, disp->prev_scr) : NULL;
    if (act_cover == NULL && prev_cover == NULL)
        draw_display_background(disp, draw_ctx);
    if (disp->prev_scr != NULL)
        draw_stack_from(draw_ctx, prev_cover ? prev_cover : disp->prev_scr);
    draw_stack_from(draw_ctx, act_cover ? act_cover : disp->act_scr);
    draw_stack_from(draw_ctx, disp->top_layer);
    draw_stack_from(draw_ctx, disp->sys_layer);
    flush_band(disp, draw_ctx);
}

/* Render area in bands of as many full rows as the buffer holds. */
static void draw_dirty_area(lv_disp_t *disp, const lv_area_t *area) {
    lv_draw_ctx_t *draw_ctx = disp->driver->draw_ctx;
    lv_disp_draw_buf_t *db = disp->driver->draw_buf;
    lv_coord_t w = lv_area_get_width(area);
    lv_coord_t last_row = LV_MIN(area->y2, lv_disp_get_ver_res(disp) - 1);
    int32_t rows = w > 0 ? (int32_t)(db->size / (uint32_t)w) : 0;
    rows = LV_MIN(rows, lv_area_get_height(area));
    if (rows <= 0) {
        LV_LOG_ERROR("the draw buffer is smaller than one row");
        return;
    }
    lv_area_t band = *area;
    draw_ctx->buf_area = &band;
    draw_ctx->clip_area = &band;
    for (band.y1 = area->y1; band.y1 <= last_row; band.y1 = (lv_coord_t)(band.y2 + 1)) {
        band.y2 = (lv_coord_t)LV_MIN(band.y1 + rows - 1, last_row);
        draw_ctx->buf = db->buf_act;
        db->last_part = band.y2 == last_row;
        draw_band(disp, draw_ctx);
    }
}

/* Draw every area left after merging; returns the number of pixels drawn. */
static uint32_t draw_all_dirty(lv_disp_t *disp) {
    uint32_t pixels = 0;
    int32_t final_area = -1;
    for (int32_t i = 0; i < disp->inv_p; i++) {
        if (!disp->inv_area_joined[i])
            final_area = i;
    }
    if (final_area < 0)
        return 0;
    if (disp->driver->render_start_cb != NULL)
        disp->driver->render_start_cb(disp->driver);
    lv_disp_draw_buf_t *db = disp->driver->draw_buf;
    db->last_area = 0;
    db->last_part = 0;
    disp->rendering_in_progress = 1;
    for (int32_t i = 0; i <= final_area; i++) {
        if (disp->inv_area_joined[i])
            continue;
        db->last_area = i == final_area;
        db->last_part = 0;
        draw_dirty_area(disp, &disp->inv_areas[i]);
        pixels += lv_area_get_size(&disp->inv_areas[i]);
    }
    disp->rendering_in_progress = 0;
    return pixels;
}

static void settle_layouts(lv_disp_t *disp) {
    lv_obj_t *roots[] = {disp->act_scr, disp->prev_scr, disp->top_layer, disp->sys_layer};
    for (size_t i = 0; i < sizeof(roots) / sizeof(roots[0]); i++) {
        if (roots[i] != NULL)
            lv_obj_update_layout(roots[i]);
    }
}

void _lv_disp_refr_timer(lv_timer_t *tmr) {
    uint32_t started = lv_tick_get();
    lv_disp_t *disp = tmr ? tmr->user_data : lv_disp_get_default();
    /* The timer sleeps until something is invalidated again. */
    if (tmr != NULL)
        lv_timer_pause(tmr);
    if (disp == NULL)
        return;
    refreshing = disp;
    settle_layouts(disp);
    if (disp->act_scr == NULL) {
        LV_LOG_WARN("there is no active screen");
        disp->inv_p = 0;
    } else if (disp->driver->draw_buf == NULL || disp->driver->draw_buf->buf_act == NULL) {
        LV_LOG_WARN("the display has no draw buffer");
        disp->inv_p = 0;
    } else if (disp->inv_p > 0) {
        merge_dirty(disp);
        uint32_t pixels = draw_all_dirty(disp);
        lv_memset_00(disp->inv_area_joined, sizeof(disp->inv_area_joined));
        disp->inv_p = 0;
        if (disp->driver->monitor_cb != NULL)
            disp->driver->monitor_cb(disp->driver, lv_tick_elaps(started), pixels);
    }
    lv_mem_buf_free_all();
    refreshing = NULL;
}
