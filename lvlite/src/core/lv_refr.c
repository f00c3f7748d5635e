/**
 * @file lv_refr.c
 * Refresh: invalidated areas are grown by LV_INV_AREA_EXTRA pixels and clipped to the display, merged
 * where that saves pixels, and each remaining area is rendered packed at the start of the draw buffer
 * (its width in pixels per row) and handed to flush_cb.
 */
#include "lv_refr.h"
#include "lv_disp.h"
#include "../misc/lv_math.h"
#include "../misc/lv_mem.h"

static lv_disp_t *disp_refr;
static uint32_t px_num;

static void refr_obj(lv_draw_ctx_t *draw_ctx, lv_obj_t *obj);

void _lv_refr_init(void) {
    disp_refr = NULL;
}

void lv_refr_now(lv_disp_t *disp) {
    lv_anim_refr_now();
    if (disp) {
        if (disp->refr_timer)
            _lv_disp_refr_timer(disp->refr_timer);
        return;
    }
    lv_disp_t *d = lv_disp_get_next(NULL);
    while (d) {
        if (d->refr_timer)
            _lv_disp_refr_timer(d->refr_timer);
        d = lv_disp_get_next(d);
    }
}

void _lv_inv_area(lv_disp_t *disp, const lv_area_t *area_p) {
    if (!disp)
        disp = lv_disp_get_default();
    if (!disp)
        return;
    if (!lv_disp_is_invalidation_enabled(disp))
        return;
    if (disp->rendering_in_progress) {
        LV_LOG_ERROR("detected modifying dirty areas in render");
        return;
    }
    if (area_p == NULL) {
        disp->inv_p = 0;
        return;
    }
    lv_area_t scr_area;
    lv_area_set(&scr_area, 0, 0, lv_disp_get_hor_res(disp) - 1, lv_disp_get_ver_res(disp) - 1);
    lv_area_t grown = *area_p;
    lv_area_increase(&grown, LV_INV_AREA_EXTRA, LV_INV_AREA_EXTRA);
    lv_area_t com_area;
    if (!_lv_area_intersect(&com_area, &grown, &scr_area))
        return;
    if (disp->driver->full_refresh) {
        disp->inv_areas[0] = scr_area;
        disp->inv_p = 1;
        if (disp->refr_timer)
            lv_timer_resume(disp->refr_timer);
        return;
    }
    if (disp->driver->rounder_cb)
        disp->driver->rounder_cb(disp->driver, &com_area);
    for (uint16_t i = 0; i < disp->inv_p; i++) {
        if (_lv_area_is_in(&com_area, &disp->inv_areas[i], 0))
            return;
    }
    if (disp->inv_p < LV_INV_BUF_SIZE) {
        disp->inv_areas[disp->inv_p] = com_area;
    } else {
        disp->inv_p = 0;
        disp->inv_areas[0] = scr_area;
    }
    disp->inv_p++;
    if (disp->refr_timer)
        lv_timer_resume(disp->refr_timer);
}

lv_disp_t *_lv_refr_get_disp_refreshing(void) {
    return disp_refr;
}

static void join_areas(void) {
    lv_area_t joined;
    for (uint32_t join_in = 0; join_in < disp_refr->inv_p; join_in++) {
        if (disp_refr->inv_area_joined[join_in])
            continue;
        for (uint32_t join_from = 0; join_from < disp_refr->inv_p; join_from++) {
            if (disp_refr->inv_area_joined[join_from] || join_in == join_from)
                continue;
            if (!_lv_area_is_on(&disp_refr->inv_areas[join_in], &disp_refr->inv_areas[join_from]))
                continue;
            _lv_area_join(&joined, &disp_refr->inv_areas[join_in], &disp_refr->inv_areas[join_from]);
            /* Join only when the joined area is smaller than the two together. */
            if (lv_area_get_size(&joined) < lv_area_get_size(&disp_refr->inv_areas[join_in]) +
                                                lv_area_get_size(&disp_refr->inv_areas[join_from])) {
                disp_refr->inv_areas[join_in] = joined;
                disp_refr->inv_area_joined[join_from] = 1;
            }
        }
    }
}

/* The topmost object that fully covers area (so nothing under it needs drawing). */
static lv_obj_t *get_top_obj(const lv_area_t *area_p, lv_obj_t *obj) {
    if (!_lv_area_is_in(area_p, &obj->coords, 0))
        return NULL;
    if (lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN))
        return NULL;
    if (_lv_obj_get_layer_type(obj) != LV_LAYER_TYPE_NONE)
        return NULL;
    lv_cover_check_info_t info;
    info.res = LV_COVER_RES_COVER;
    info.area = area_p;
    lv_event_send(obj, LV_EVENT_COVER_CHECK, &info);
    if (info.res == LV_COVER_RES_MASKED)
        return NULL;
    lv_obj_t *found = NULL;
    for (int32_t i = (int32_t)lv_obj_get_child_cnt(obj) - 1; i >= 0; i--) {
        found = get_top_obj(area_p, obj->spec_attr->children[i]);
        if (found)
            break;
    }
    if (found == NULL && info.res == LV_COVER_RES_COVER)
        found = obj;
    return found;
}

void lv_obj_redraw(lv_draw_ctx_t *draw_ctx, lv_obj_t *obj) {
    const lv_area_t *clip_area_ori = draw_ctx->clip_area;
    lv_area_t clip_coords_for_obj;
    lv_area_t obj_coords_ext;
    lv_obj_get_coords(obj, &obj_coords_ext);
    lv_coord_t ext_draw_size = _lv_obj_get_ext_draw_size(obj);
    lv_area_increase(&obj_coords_ext, ext_draw_size, ext_draw_size);
    bool com_clip_res = _lv_area_intersect(&clip_coords_for_obj, clip_area_ori, &obj_coords_ext);
    bool should_draw = com_clip_res || lv_obj_has_flag(obj, LV_OBJ_FLAG_OVERFLOW_VISIBLE);
    if (should_draw) {
        draw_ctx->clip_area = &clip_coords_for_obj;
        lv_event_send(obj, LV_EVENT_DRAW_MAIN_BEGIN, draw_ctx);
        lv_event_send(obj, LV_EVENT_DRAW_MAIN, draw_ctx);
        lv_event_send(obj, LV_EVENT_DRAW_MAIN_END, draw_ctx);
    }
    /* Children are clipped to the object unless it lets them overflow. */
    lv_area_t clip_coords_for_children;
    bool refr_children = true;
    if (lv_obj_has_flag(obj, LV_OBJ_FLAG_OVERFLOW_VISIBLE)) {
        clip_coords_for_children = *clip_area_ori;
    } else if (!_lv_area_intersect(&clip_coords_for_children, clip_area_ori, &obj->coords)) {
        refr_children = false;
    }
    if (refr_children) {
        draw_ctx->clip_area = &clip_coords_for_children;
        uint32_t cnt = lv_obj_get_child_cnt(obj);
        for (uint32_t i = 0; i < cnt; i++)
            refr_obj(draw_ctx, obj->spec_attr->children[i]);
    }
    if (should_draw) {
        draw_ctx->clip_area = &clip_coords_for_obj;
        lv_event_send(obj, LV_EVENT_DRAW_POST_BEGIN, draw_ctx);
        lv_event_send(obj, LV_EVENT_DRAW_POST, draw_ctx);
        lv_event_send(obj, LV_EVENT_DRAW_POST_END, draw_ctx);
    }
    draw_ctx->clip_area = clip_area_ori;
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
                lv_color_t m = lv_color_mix(s, *d, a);
                *d = m;
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

static void refr_obj(lv_draw_ctx_t *draw_ctx, lv_obj_t *obj) {
    if (lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN))
        return;
    lv_layer_type_t layer_type = _lv_obj_get_layer_type(obj);
    if (layer_type == LV_LAYER_TYPE_NONE) {
        lv_obj_redraw(draw_ctx, obj);
        return;
    }
    lv_opa_t opa = lv_obj_get_style_opa(obj, LV_PART_MAIN);
    if (opa < LV_OPA_MIN)
        return;
    /* The object and its children are drawn into a layer first, then composed with the opacity. */
    lv_area_t obj_area;
    lv_obj_get_coords(obj, &obj_area);
    lv_coord_t ext = _lv_obj_get_ext_draw_size(obj);
    lv_area_increase(&obj_area, ext, ext);
    lv_area_t layer_area;
    if (!_lv_area_intersect(&layer_area, &obj_area, draw_ctx->clip_area))
        return;
    uint32_t px = lv_area_get_size(&layer_area);
    lv_color_t *layer = lv_mem_alloc(px * sizeof(lv_color_t));
    if (layer == NULL) {
        LV_LOG_WARN("no memory for a layer: drawing without opacity");
        lv_obj_redraw(draw_ctx, obj);
        return;
    }
    lv_memset_00(layer, px * sizeof(lv_color_t));
    void *buf_ori = draw_ctx->buf;
    lv_area_t *buf_area_ori = draw_ctx->buf_area;
    const lv_area_t *clip_ori = draw_ctx->clip_area;
    draw_ctx->buf = layer;
    draw_ctx->buf_area = &layer_area;
    draw_ctx->clip_area = &layer_area;
    lv_obj_redraw(draw_ctx, obj);
    draw_ctx->buf = buf_ori;
    draw_ctx->buf_area = buf_area_ori;
    draw_ctx->clip_area = clip_ori;
    blend_layer(draw_ctx, layer, &layer_area, opa);
    lv_mem_free(layer);
}

static void refr_obj_and_children(lv_draw_ctx_t *draw_ctx, lv_obj_t *top_obj) {
    if (top_obj == NULL)
        top_obj = lv_disp_get_scr_act(disp_refr);
    if (top_obj == NULL)
        return;
    refr_obj(draw_ctx, top_obj);
    /* The younger siblings of top_obj and of its ancestors may lie on top of it. */
    lv_obj_t *border_p = top_obj;
    lv_obj_t *parent = lv_obj_get_parent(top_obj);
    while (parent != NULL) {
        bool go = false;
        uint32_t cnt = lv_obj_get_child_cnt(parent);
        for (uint32_t i = 0; i < cnt; i++) {
            lv_obj_t *child = parent->spec_attr->children[i];
            if (!go) {
                if (child == border_p)
                    go = true;
            } else {
                refr_obj(draw_ctx, child);
            }
        }
        lv_event_send(parent, LV_EVENT_DRAW_POST_BEGIN, draw_ctx);
        lv_event_send(parent, LV_EVENT_DRAW_POST, draw_ctx);
        lv_event_send(parent, LV_EVENT_DRAW_POST_END, draw_ctx);
        border_p = parent;
        parent = lv_obj_get_parent(parent);
    }
}

/* Map an area of the program's orientation to the panel's. */
static void rotate_area(const lv_disp_drv_t *drv, const lv_area_t *a, lv_area_t *r) {
    switch (drv->rotated) {
    case LV_DISP_ROT_90:
        r->x1 = a->y1;
        r->x2 = a->y2;
        r->y1 = drv->ver_res - a->x2 - 1;
        r->y2 = drv->ver_res - a->x1 - 1;
        break;
    case LV_DISP_ROT_180:
        r->x1 = drv->hor_res - a->x2 - 1;
        r->x2 = drv->hor_res - a->x1 - 1;
        r->y1 = drv->ver_res - a->y2 - 1;
        r->y2 = drv->ver_res - a->y1 - 1;
        break;
    case LV_DISP_ROT_270:
        r->x1 = drv->hor_res - a->y2 - 1;
        r->x2 = drv->hor_res - a->y1 - 1;
        r->y1 = a->x1;
        r->y2 = a->x2;
        break;
    default:
        *r = *a;
        break;
    }
}

static void call_flush_cb(lv_disp_drv_t *drv, const lv_area_t *area, lv_color_t *color_p) {
    lv_area_t offset_area = {area->x1 + drv->offset_x, area->y1 + drv->offset_y, area->x2 + drv->offset_x,
                             area->y2 + drv->offset_y};
    drv->flush_cb(drv, &offset_area, color_p);
}

static void draw_buf_flush(lv_disp_t *disp, lv_draw_ctx_t *draw_ctx) {
    lv_disp_draw_buf_t *draw_buf = lv_disp_get_draw_buf(disp);
    lv_draw_wait_for_finish(draw_ctx);
    if (draw_buf->buf1 && draw_buf->buf2) {
        while (draw_buf->flushing) {
            if (disp->driver->wait_cb)
                disp->driver->wait_cb(disp->driver);
        }
    }
    draw_buf->flushing = 1;
    draw_buf->flushing_last = draw_buf->last_area && draw_buf->last_part;
    if (disp->driver->flush_cb) {
        if (disp->driver->rotated != LV_DISP_ROT_NONE && disp->driver->sw_rotate) {
            /* Rotate into a scratch buffer and copy back, so the panel gets one packed area. */
            const lv_area_t *a = draw_ctx->buf_area;
            lv_coord_t w = lv_area_get_width(a);
            lv_coord_t h = lv_area_get_height(a);
            lv_area_t r;
            rotate_area(disp->driver, a, &r);
            lv_coord_t rw = lv_area_get_width(&r);
            lv_color_t *src = draw_ctx->buf;
            lv_color_t *tmp = lv_mem_alloc((size_t)w * (size_t)h * sizeof(lv_color_t));
            if (tmp == NULL) {
                LV_LOG_ERROR("no memory to rotate the area");
                draw_buf->flushing = 0;
                return;
            }
            for (lv_coord_t y = 0; y < h; y++) {
                for (lv_coord_t x = 0; x < w; x++) {
                    lv_coord_t dx, dy;
                    switch (disp->driver->rotated) {
                    case LV_DISP_ROT_90:
                        dx = y;
                        dy = w - 1 - x;
                        break;
                    case LV_DISP_ROT_180:
                        dx = w - 1 - x;
                        dy = h - 1 - y;
                        break;
                    default:
                        dx = h - 1 - y;
                        dy = x;
                        break;
                    }
                    tmp[dy * rw + dx] = src[y * w + x];
                }
            }
            lv_memcpy(src, tmp, (size_t)w * (size_t)h * sizeof(lv_color_t));
            lv_mem_free(tmp);
            call_flush_cb(disp->driver, &r, src);
        } else {
            call_flush_cb(disp->driver, draw_ctx->buf_area, draw_ctx->buf);
        }
    } else {
        draw_buf->flushing = 0;
    }
    if (draw_buf->buf1 && draw_buf->buf2) {
        draw_buf->buf_act = draw_buf->buf_act == draw_buf->buf1 ? draw_buf->buf2 : draw_buf->buf1;
    }
}

static void refr_area_part(lv_draw_ctx_t *draw_ctx) {
    lv_disp_draw_buf_t *draw_buf = lv_disp_get_draw_buf(disp_refr);
    /* With one buffer, wait until the previous area was taken. */
    while (draw_buf->flushing) {
        if (disp_refr->driver->wait_cb)
            disp_refr->driver->wait_cb(disp_refr->driver);
    }
    uint32_t px = lv_area_get_size(draw_ctx->buf_area);
    if (disp_refr->driver->screen_transp) {
        if (disp_refr->driver->clear_cb)
            disp_refr->driver->clear_cb(disp_refr->driver, draw_ctx->buf, px);
        else
            lv_memset_00(draw_ctx->buf, px * sizeof(lv_color_t));
    }
    lv_obj_t *top_act_scr = get_top_obj(draw_ctx->buf_area, lv_disp_get_scr_act(disp_refr));
    lv_obj_t *top_prev_scr = NULL;
    if (disp_refr->prev_scr)
        top_prev_scr = get_top_obj(draw_ctx->buf_area, disp_refr->prev_scr);
    if (top_act_scr == NULL && top_prev_scr == NULL) {
        /* Nothing covers the area: the display's own background goes below. */
        if (disp_refr->bg_img) {
            lv_draw_img_dsc_t dsc;
            lv_draw_img_dsc_init(&dsc);
            dsc.opa = disp_refr->bg_opa;
            lv_area_t a;
            lv_area_set(&a, 0, 0, lv_disp_get_hor_res(disp_refr) - 1, lv_disp_get_ver_res(disp_refr) - 1);
            lv_draw_img(draw_ctx, &dsc, &a, disp_refr->bg_img);
        } else if (disp_refr->bg_opa > LV_OPA_MIN) {
            lv_draw_rect_dsc_t dsc;
            lv_draw_rect_dsc_init(&dsc);
            dsc.bg_color = disp_refr->bg_color;
            dsc.bg_opa = disp_refr->bg_opa;
            lv_draw_rect(draw_ctx, &dsc, draw_ctx->buf_area);
        }
    }
    if (disp_refr->prev_scr) {
        if (top_prev_scr == NULL)
            top_prev_scr = disp_refr->prev_scr;
        refr_obj_and_children(draw_ctx, top_prev_scr);
    }
    if (top_act_scr == NULL)
        top_act_scr = disp_refr->act_scr;
    refr_obj_and_children(draw_ctx, top_act_scr);
    refr_obj_and_children(draw_ctx, lv_disp_get_layer_top(disp_refr));
    refr_obj_and_children(draw_ctx, lv_disp_get_layer_sys(disp_refr));
    draw_buf_flush(disp_refr, draw_ctx);
}

static void refr_area(const lv_area_t *area_p) {
    lv_draw_ctx_t *draw_ctx = disp_refr->driver->draw_ctx;
    lv_disp_draw_buf_t *draw_buf = lv_disp_get_draw_buf(disp_refr);
    draw_ctx->buf = draw_buf->buf_act;
    lv_coord_t w = lv_area_get_width(area_p);
    lv_coord_t h = lv_area_get_height(area_p);
    lv_coord_t y2 = LV_MIN(area_p->y2, lv_disp_get_ver_res(disp_refr) - 1);
    int32_t max_row = w > 0 ? (int32_t)(draw_buf->size / (uint32_t)w) : 0;
    if (max_row > h)
        max_row = h;
    if (max_row <= 0) {
        LV_LOG_ERROR("the draw buffer is smaller than one row");
        return;
    }
    /* Render in parts of max_row rows, each packed at the start of the buffer. */
    lv_area_t sub_area;
    for (lv_coord_t row = area_p->y1; row <= y2; row += max_row) {
        sub_area.x1 = area_p->x1;
        sub_area.x2 = area_p->x2;
        sub_area.y1 = row;
        sub_area.y2 = LV_MIN(row + max_row - 1, y2);
        draw_ctx->buf = draw_buf->buf_act;
        draw_ctx->buf_area = &sub_area;
        draw_ctx->clip_area = &sub_area;
        draw_buf->last_part = sub_area.y2 == y2;
        refr_area_part(draw_ctx);
    }
}

static void refr_invalid_areas(void) {
    px_num = 0;
    if (disp_refr->inv_p == 0)
        return;
    int32_t last_i = 0;
    for (int32_t i = disp_refr->inv_p - 1; i >= 0; i--) {
        if (disp_refr->inv_area_joined[i] == 0) {
            last_i = i;
            break;
        }
    }
    if (disp_refr->driver->render_start_cb)
        disp_refr->driver->render_start_cb(disp_refr->driver);
    disp_refr->driver->draw_buf->last_area = 0;
    disp_refr->driver->draw_buf->last_part = 0;
    disp_refr->rendering_in_progress = true;
    for (int32_t i = 0; i < disp_refr->inv_p; i++) {
        if (disp_refr->inv_area_joined[i])
            continue;
        if (i == last_i)
            disp_refr->driver->draw_buf->last_area = 1;
        disp_refr->driver->draw_buf->last_part = 0;
        refr_area(&disp_refr->inv_areas[i]);
        px_num += lv_area_get_size(&disp_refr->inv_areas[i]);
    }
    disp_refr->rendering_in_progress = false;
}

void _lv_disp_refr_timer(lv_timer_t *tmr) {
    uint32_t start = lv_tick_get();
    if (tmr) {
        disp_refr = tmr->user_data;
        /* Paused until something is invalidated again. */
        lv_timer_pause(tmr);
    } else {
        disp_refr = lv_disp_get_default();
    }
    if (disp_refr == NULL)
        return;
    if (disp_refr->act_scr)
        lv_obj_update_layout(disp_refr->act_scr);
    if (disp_refr->prev_scr)
        lv_obj_update_layout(disp_refr->prev_scr);
    lv_obj_update_layout(disp_refr->top_layer);
    lv_obj_update_layout(disp_refr->sys_layer);
    if (disp_refr->act_scr == NULL) {
        disp_refr->inv_p = 0;
        LV_LOG_WARN("there is no active screen");
        return;
    }
    if (disp_refr->driver->draw_buf == NULL || disp_refr->driver->draw_buf->buf_act == NULL) {
        disp_refr->inv_p = 0;
        LV_LOG_WARN("the display has no draw buffer");
        return;
    }
    join_areas();
    refr_invalid_areas();
    if (disp_refr->inv_p != 0) {
        lv_memset_00(disp_refr->inv_areas, sizeof(disp_refr->inv_areas));
        lv_memset_00(disp_refr->inv_area_joined, sizeof(disp_refr->inv_area_joined));
        disp_refr->inv_p = 0;
        uint32_t elaps = lv_tick_elaps(start);
        if (disp_refr->driver->monitor_cb)
            disp_refr->driver->monitor_cb(disp_refr->driver, elaps, px_num);
    }
    lv_mem_buf_free_all();
    disp_refr = NULL;
}
