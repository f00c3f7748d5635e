/**
 * @file lv_obj_pos.c
 * Geometry is computed lazily: setters store local styles and mark the layout dirty; sizes, positions
 * and layouts of a screen are recomputed by lv_obj_update_layout (called by the refresh).
 */
#include "lv_obj.h"
#include "lv_disp.h"
#include "lv_refr.h"
#include "../misc/lv_math.h"
#include "../misc/lv_mem.h"

static lv_layout_dsc_t *layout_list;
static uint32_t layout_cnt;

static void layout_update_core(lv_obj_t *obj);
static lv_coord_t calc_content_width(lv_obj_t *obj);
static lv_coord_t calc_content_height(lv_obj_t *obj);

static void set_local_num_if_changed(lv_obj_t *obj, lv_style_prop_t prop, lv_coord_t v) {
    lv_style_value_t cur;
    lv_res_t res = lv_obj_get_local_style_prop(obj, prop, &cur, 0);
    if (res == LV_RES_INV || cur.num != v)
        lv_obj_set_local_style_prop(obj, prop, _lv_style_value_num(v), 0);
}

void lv_obj_set_pos(lv_obj_t *obj, lv_coord_t x, lv_coord_t y) {
    lv_obj_set_x(obj, x);
    lv_obj_set_y(obj, y);
}

void lv_obj_set_x(lv_obj_t *obj, lv_coord_t x) {
    set_local_num_if_changed(obj, LV_STYLE_X, x);
}

void lv_obj_set_y(lv_obj_t *obj, lv_coord_t y) {
    set_local_num_if_changed(obj, LV_STYLE_Y, y);
}

void lv_obj_set_size(lv_obj_t *obj, lv_coord_t w, lv_coord_t h) {
    lv_obj_set_width(obj, w);
    lv_obj_set_height(obj, h);
}

void lv_obj_set_width(lv_obj_t *obj, lv_coord_t w) {
    set_local_num_if_changed(obj, LV_STYLE_WIDTH, w);
}

void lv_obj_set_height(lv_obj_t *obj, lv_coord_t h) {
    set_local_num_if_changed(obj, LV_STYLE_HEIGHT, h);
}

void lv_obj_set_content_width(lv_obj_t *obj, lv_coord_t w) {
    lv_coord_t pl = lv_obj_get_style_pad_left(obj, LV_PART_MAIN);
    lv_coord_t pr = lv_obj_get_style_pad_right(obj, LV_PART_MAIN);
    lv_coord_t bw = lv_obj_get_style_border_width(obj, LV_PART_MAIN);
    lv_obj_set_width(obj, w + pl + pr + 2 * bw);
}

void lv_obj_set_content_height(lv_obj_t *obj, lv_coord_t h) {
    lv_coord_t pt = lv_obj_get_style_pad_top(obj, LV_PART_MAIN);
    lv_coord_t pb = lv_obj_get_style_pad_bottom(obj, LV_PART_MAIN);
    lv_coord_t bw = lv_obj_get_style_border_width(obj, LV_PART_MAIN);
    lv_obj_set_height(obj, h + pt + pb + 2 * bw);
}

void lv_obj_set_layout(lv_obj_t *obj, uint32_t layout) {
    lv_obj_set_style_layout(obj, (uint16_t)layout, 0);
    lv_obj_mark_layout_as_dirty(obj);
}

bool lv_obj_is_layout_positioned(const lv_obj_t *obj) {
    if (lv_obj_has_flag_any(obj, LV_OBJ_FLAG_HIDDEN | LV_OBJ_FLAG_IGNORE_LAYOUT | LV_OBJ_FLAG_FLOATING))
        return false;
    lv_obj_t *parent = lv_obj_get_parent(obj);
    if (parent == NULL)
        return false;
    return lv_obj_get_style_layout(parent, LV_PART_MAIN) != 0;
}

void lv_obj_mark_layout_as_dirty(lv_obj_t *obj) {
    if (obj == NULL)
        return;
    obj->layout_inv = 1;
    lv_obj_t *scr = lv_obj_get_screen(obj);
    scr->scr_layout_inv = 1;
    lv_disp_t *disp = lv_obj_get_disp(scr);
    if (disp && disp->refr_timer)
        lv_timer_resume(disp->refr_timer);
}

void lv_obj_update_layout(const lv_obj_t *obj) {
    static bool running = false;
    if (running)
        return;
    running = true;
    lv_obj_t *scr = lv_obj_get_screen(obj);
    while (scr->scr_layout_inv) {
        scr->scr_layout_inv = 0;
        layout_update_core(scr);
    }
    running = false;
}

uint32_t lv_layout_register(lv_layout_update_cb_t cb, void *user_data) {
    lv_layout_dsc_t *n = lv_mem_realloc(layout_list, (layout_cnt + 1) * sizeof(lv_layout_dsc_t));
    LV_ASSERT_MALLOC(n);
    layout_list = n;
    layout_list[layout_cnt].cb = cb;
    layout_list[layout_cnt].user_data = user_data;
    layout_cnt++;
    return layout_cnt;
}

void lv_obj_set_align(lv_obj_t *obj, lv_align_t align) {
    lv_obj_set_style_align(obj, align, 0);
}

void lv_obj_align(lv_obj_t *obj, lv_align_t align, lv_coord_t x_ofs, lv_coord_t y_ofs) {
    lv_obj_set_style_align(obj, align, 0);
    lv_obj_set_pos(obj, x_ofs, y_ofs);
}

void lv_obj_align_to(lv_obj_t *obj, const lv_obj_t *base, lv_align_t align, lv_coord_t x_ofs,
                     lv_coord_t y_ofs) {
    lv_obj_update_layout(obj);
    if (base == NULL)
        base = lv_obj_get_parent(obj);
    lv_obj_t *parent = lv_obj_get_parent(obj);
    if (parent == NULL || base == NULL)
        return;
    lv_coord_t pborder = lv_obj_get_style_border_width(parent, LV_PART_MAIN);
    lv_coord_t pleft = lv_obj_get_style_pad_left(parent, LV_PART_MAIN) + pborder;
    lv_coord_t ptop = lv_obj_get_style_pad_top(parent, LV_PART_MAIN) + pborder;
    lv_coord_t bborder = lv_obj_get_style_border_width(base, LV_PART_MAIN);
    lv_coord_t bleft = lv_obj_get_style_pad_left(base, LV_PART_MAIN) + bborder;
    lv_coord_t btop = lv_obj_get_style_pad_top(base, LV_PART_MAIN) + bborder;
    lv_coord_t bcw = lv_obj_get_content_width(base);
    lv_coord_t bch = lv_obj_get_content_height(base);
    lv_coord_t bw = lv_obj_get_width(base);
    lv_coord_t bh = lv_obj_get_height(base);
    lv_coord_t w = lv_obj_get_width(obj);
    lv_coord_t h = lv_obj_get_height(obj);
    lv_coord_t x = 0, y = 0;
    if (align == LV_ALIGN_DEFAULT)
        align = LV_ALIGN_TOP_LEFT;
    switch (align) {
    case LV_ALIGN_CENTER:
        x = bcw / 2 - w / 2 + bleft;
        y = bch / 2 - h / 2 + btop;
        break;
    case LV_ALIGN_TOP_LEFT:
        x = bleft;
        y = btop;
        break;
    case LV_ALIGN_TOP_MID:
        x = bcw / 2 - w / 2 + bleft;
        y = btop;
        break;
    case LV_ALIGN_TOP_RIGHT:
        x = bcw - w + bleft;
        y = btop;
        break;
    case LV_ALIGN_BOTTOM_LEFT:
        x = bleft;
        y = bch - h + btop;
        break;
    case LV_ALIGN_BOTTOM_MID:
        x = bcw / 2 - w / 2 + bleft;
        y = bch - h + btop;
        break;
    case LV_ALIGN_BOTTOM_RIGHT:
        x = bcw - w + bleft;
        y = bch - h + btop;
        break;
    case LV_ALIGN_LEFT_MID:
        x = bleft;
        y = bch / 2 - h / 2 + btop;
        break;
    case LV_ALIGN_RIGHT_MID:
        x = bcw - w + bleft;
        y = bch / 2 - h / 2 + btop;
        break;
    case LV_ALIGN_OUT_TOP_LEFT:
        x = 0;
        y = -h;
        break;
    case LV_ALIGN_OUT_TOP_MID:
        x = bw / 2 - w / 2;
        y = -h;
        break;
    case LV_ALIGN_OUT_TOP_RIGHT:
        x = bw - w;
        y = -h;
        break;
    case LV_ALIGN_OUT_BOTTOM_LEFT:
        x = 0;
        y = bh;
        break;
    case LV_ALIGN_OUT_BOTTOM_MID:
        x = bw / 2 - w / 2;
        y = bh;
        break;
    case LV_ALIGN_OUT_BOTTOM_RIGHT:
        x = bw - w;
        y = bh;
        break;
    case LV_ALIGN_OUT_LEFT_TOP:
        x = -w;
        y = 0;
        break;
    case LV_ALIGN_OUT_LEFT_MID:
        x = -w;
        y = bh / 2 - h / 2;
        break;
    case LV_ALIGN_OUT_LEFT_BOTTOM:
        x = -w;
        y = bh - h;
        break;
    case LV_ALIGN_OUT_RIGHT_TOP:
        x = bw;
        y = 0;
        break;
    case LV_ALIGN_OUT_RIGHT_MID:
        x = bw;
        y = bh / 2 - h / 2;
        break;
    case LV_ALIGN_OUT_RIGHT_BOTTOM:
        x = bw;
        y = bh - h;
        break;
    default:
        break;
    }
    x += x_ofs + base->coords.x1 - parent->coords.x1 + lv_obj_get_scroll_left(parent) - pleft;
    y += y_ofs + base->coords.y1 - parent->coords.y1 + lv_obj_get_scroll_top(parent) - ptop;
    lv_obj_set_style_align(obj, LV_ALIGN_TOP_LEFT, 0);
    lv_obj_set_pos(obj, x, y);
}

void lv_obj_get_coords(const lv_obj_t *obj, lv_area_t *coords) {
    lv_area_copy(coords, &obj->coords);
}

lv_coord_t lv_obj_get_x(const lv_obj_t *obj) {
    lv_obj_t *parent = lv_obj_get_parent(obj);
    if (parent == NULL)
        return obj->coords.x1;
    lv_coord_t rel_x = obj->coords.x1 - parent->coords.x1;
    rel_x += lv_obj_get_scroll_x(parent);
    rel_x -= lv_obj_get_style_pad_left(parent, LV_PART_MAIN);
    rel_x -= lv_obj_get_style_border_width(parent, LV_PART_MAIN);
    return rel_x;
}

lv_coord_t lv_obj_get_x2(const lv_obj_t *obj) {
    return lv_obj_get_x(obj) + lv_obj_get_width(obj);
}

lv_coord_t lv_obj_get_y(const lv_obj_t *obj) {
    lv_obj_t *parent = lv_obj_get_parent(obj);
    if (parent == NULL)
        return obj->coords.y1;
    lv_coord_t rel_y = obj->coords.y1 - parent->coords.y1;
    rel_y += lv_obj_get_scroll_y(parent);
    rel_y -= lv_obj_get_style_pad_top(parent, LV_PART_MAIN);
    rel_y -= lv_obj_get_style_border_width(parent, LV_PART_MAIN);
    return rel_y;
}

lv_coord_t lv_obj_get_y2(const lv_obj_t *obj) {
    return lv_obj_get_y(obj) + lv_obj_get_height(obj);
}

lv_coord_t lv_obj_get_x_aligned(const lv_obj_t *obj) {
    return lv_obj_get_style_x(obj, LV_PART_MAIN);
}

lv_coord_t lv_obj_get_y_aligned(const lv_obj_t *obj) {
    return lv_obj_get_style_y(obj, LV_PART_MAIN);
}

lv_coord_t lv_obj_get_width(const lv_obj_t *obj) {
    return lv_area_get_width(&obj->coords);
}

lv_coord_t lv_obj_get_height(const lv_obj_t *obj) {
    return lv_area_get_height(&obj->coords);
}

lv_coord_t lv_obj_get_content_width(const lv_obj_t *obj) {
    lv_coord_t left = lv_obj_get_style_pad_left(obj, LV_PART_MAIN);
    lv_coord_t right = lv_obj_get_style_pad_right(obj, LV_PART_MAIN);
    lv_coord_t border = lv_obj_get_style_border_width(obj, LV_PART_MAIN);
    return lv_obj_get_width(obj) - left - right - 2 * border;
}

lv_coord_t lv_obj_get_content_height(const lv_obj_t *obj) {
    lv_coord_t top = lv_obj_get_style_pad_top(obj, LV_PART_MAIN);
    lv_coord_t bottom = lv_obj_get_style_pad_bottom(obj, LV_PART_MAIN);
    lv_coord_t border = lv_obj_get_style_border_width(obj, LV_PART_MAIN);
    return lv_obj_get_height(obj) - top - bottom - 2 * border;
}

void lv_obj_get_content_coords(const lv_obj_t *obj, lv_area_t *area) {
    lv_coord_t border = lv_obj_get_style_border_width(obj, LV_PART_MAIN);
    lv_obj_get_coords(obj, area);
    area->x1 += lv_obj_get_style_pad_left(obj, LV_PART_MAIN) + border;
    area->x2 -= lv_obj_get_style_pad_right(obj, LV_PART_MAIN) + border;
    area->y1 += lv_obj_get_style_pad_top(obj, LV_PART_MAIN) + border;
    area->y2 -= lv_obj_get_style_pad_bottom(obj, LV_PART_MAIN) + border;
}

lv_coord_t lv_obj_get_self_width(const lv_obj_t *obj) {
    lv_point_t p = {0, 0};
    lv_event_send((lv_obj_t *)obj, LV_EVENT_GET_SELF_SIZE, &p);
    return p.x;
}

lv_coord_t lv_obj_get_self_height(const lv_obj_t *obj) {
    lv_point_t p = {0, 0};
    lv_event_send((lv_obj_t *)obj, LV_EVENT_GET_SELF_SIZE, &p);
    return p.y;
}

bool lv_obj_refresh_self_size(lv_obj_t *obj) {
    lv_coord_t w_set = lv_obj_get_style_width(obj, LV_PART_MAIN);
    lv_coord_t h_set = lv_obj_get_style_height(obj, LV_PART_MAIN);
    if (w_set != LV_SIZE_CONTENT && h_set != LV_SIZE_CONTENT)
        return false;
    lv_obj_mark_layout_as_dirty(obj);
    return true;
}

lv_coord_t lv_clamp_width(lv_coord_t width, lv_coord_t min_width, lv_coord_t max_width,
                          lv_coord_t ref_width) {
    if (LV_COORD_IS_PCT(min_width))
        min_width = (ref_width * LV_COORD_GET_PCT(min_width)) / 100;
    if (LV_COORD_IS_PCT(max_width))
        max_width = (ref_width * LV_COORD_GET_PCT(max_width)) / 100;
    return LV_CLAMP(min_width, width, max_width);
}

lv_coord_t lv_clamp_height(lv_coord_t height, lv_coord_t min_height, lv_coord_t max_height,
                           lv_coord_t ref_height) {
    if (LV_COORD_IS_PCT(min_height))
        min_height = (ref_height * LV_COORD_GET_PCT(min_height)) / 100;
    if (LV_COORD_IS_PCT(max_height))
        max_height = (ref_height * LV_COORD_GET_PCT(max_height)) / 100;
    return LV_CLAMP(min_height, height, max_height);
}

/* One axis of the size from the style: content, percentage of the parent's content, or pixels. */
static lv_coord_t calc_size(lv_obj_t *obj, lv_obj_t *parent, bool hor, bool *is_content) {
    lv_coord_t v =
        hor ? lv_obj_get_style_width(obj, LV_PART_MAIN) : lv_obj_get_style_height(obj, LV_PART_MAIN);
    lv_coord_t parent_s = hor ? lv_obj_get_content_width(parent) : lv_obj_get_content_height(parent);
    *is_content = v == LV_SIZE_CONTENT;
    if (*is_content) {
        v = hor ? calc_content_width(obj) : calc_content_height(obj);
    } else if (LV_COORD_IS_PCT(v)) {
        /* A percentage of a content-sized parent would be circular: keep only padding and border. */
        lv_coord_t ps = hor ? lv_obj_get_style_width(parent, 0) : lv_obj_get_style_height(parent, 0);
        bool p_layout = hor ? parent->w_layout : parent->h_layout;
        if (!p_layout && ps == LV_SIZE_CONTENT) {
            lv_coord_t border_w = lv_obj_get_style_border_width(obj, 0);
            v = hor ? lv_obj_get_style_pad_left(obj, 0) + lv_obj_get_style_pad_right(obj, 0)
                    : lv_obj_get_style_pad_top(obj, 0) + lv_obj_get_style_pad_bottom(obj, 0);
            v += 2 * border_w;
        } else {
            v = (LV_COORD_GET_PCT(v) * parent_s) / 100;
        }
    }
    if (hor) {
        return lv_clamp_width(v, lv_obj_get_style_min_width(obj, LV_PART_MAIN),
                              lv_obj_get_style_max_width(obj, LV_PART_MAIN), parent_s);
    }
    return lv_clamp_height(v, lv_obj_get_style_min_height(obj, LV_PART_MAIN),
                           lv_obj_get_style_max_height(obj, LV_PART_MAIN), parent_s);
}

bool lv_obj_refr_size(lv_obj_t *obj) {
    if (obj->w_layout && obj->h_layout)
        return false;
    lv_obj_t *parent = lv_obj_get_parent(obj);
    if (parent == NULL)
        return false;
    lv_coord_t sl_ori = lv_obj_get_scroll_left(obj);
    lv_coord_t st_ori = lv_obj_get_scroll_top(obj);
    bool w_is_content = false, h_is_content = false;
    lv_coord_t w = obj->w_layout ? lv_obj_get_width(obj) : calc_size(obj, parent, true, &w_is_content);
    lv_coord_t h = obj->h_layout ? lv_obj_get_height(obj) : calc_size(obj, parent, false, &h_is_content);
    /* Measuring the content scrolled back to 0: restore the scroll position. */
    if (w_is_content || h_is_content)
        lv_obj_scroll_to(obj, sl_ori, st_ori, LV_ANIM_OFF);
    if (lv_obj_get_width(obj) == w && lv_obj_get_height(obj) == h)
        return false;

    lv_obj_invalidate(obj);
    lv_area_t ori;
    lv_obj_get_coords(obj, &ori);
    obj->coords.y2 = obj->coords.y1 + h - 1;
    obj->coords.x2 = obj->coords.x1 + w - 1;
    lv_event_send(obj, LV_EVENT_SIZE_CHANGED, &ori);
    lv_event_send(parent, LV_EVENT_CHILD_CHANGED, obj);
    lv_obj_invalidate(obj);
    lv_obj_readjust_scroll(obj, LV_ANIM_OFF);
    lv_obj_refresh_ext_draw_size(obj);
    return true;
}

void lv_obj_refr_pos(lv_obj_t *obj) {
    if (lv_obj_is_layout_positioned(obj))
        return;
    lv_obj_t *parent = lv_obj_get_parent(obj);
    lv_coord_t x = lv_obj_get_style_x(obj, LV_PART_MAIN);
    lv_coord_t y = lv_obj_get_style_y(obj, LV_PART_MAIN);
    if (parent == NULL) {
        lv_obj_move_to(obj, x, y);
        return;
    }
    lv_coord_t pw = lv_obj_get_content_width(parent);
    lv_coord_t ph = lv_obj_get_content_height(parent);
    if (LV_COORD_IS_PCT(x))
        x = (pw * LV_COORD_GET_PCT(x)) / 100;
    if (LV_COORD_IS_PCT(y))
        y = (ph * LV_COORD_GET_PCT(y)) / 100;
    lv_coord_t w = lv_obj_get_width(obj);
    lv_coord_t h = lv_obj_get_height(obj);
    lv_coord_t tr_x = lv_obj_get_style_translate_x(obj, LV_PART_MAIN);
    lv_coord_t tr_y = lv_obj_get_style_translate_y(obj, LV_PART_MAIN);
    if (LV_COORD_IS_PCT(tr_x))
        tr_x = (w * LV_COORD_GET_PCT(tr_x)) / 100;
    if (LV_COORD_IS_PCT(tr_y))
        tr_y = (h * LV_COORD_GET_PCT(tr_y)) / 100;
    x += tr_x;
    y += tr_y;
    lv_align_t align = lv_obj_get_style_align(obj, LV_PART_MAIN);
    switch (align) {
    case LV_ALIGN_TOP_MID:
        x += pw / 2 - w / 2;
        break;
    case LV_ALIGN_TOP_RIGHT:
        x += pw - w;
        break;
    case LV_ALIGN_LEFT_MID:
        y += ph / 2 - h / 2;
        break;
    case LV_ALIGN_BOTTOM_LEFT:
        y += ph - h;
        break;
    case LV_ALIGN_BOTTOM_MID:
        x += pw / 2 - w / 2;
        y += ph - h;
        break;
    case LV_ALIGN_BOTTOM_RIGHT:
        x += pw - w;
        y += ph - h;
        break;
    case LV_ALIGN_RIGHT_MID:
        x += pw - w;
        y += ph / 2 - h / 2;
        break;
    case LV_ALIGN_CENTER:
        x += pw / 2 - w / 2;
        y += ph / 2 - h / 2;
        break;
    default:
        break;
    }
    lv_obj_move_to(obj, x, y);
}

void lv_obj_move_to(lv_obj_t *obj, lv_coord_t x, lv_coord_t y) {
    lv_obj_t *parent = obj->parent;
    if (parent) {
        lv_coord_t pad_left = lv_obj_get_style_pad_left(parent, LV_PART_MAIN);
        lv_coord_t pad_top = lv_obj_get_style_pad_top(parent, LV_PART_MAIN);
        x += pad_left + parent->coords.x1;
        y += pad_top + parent->coords.y1;
        if (!lv_obj_has_flag(obj, LV_OBJ_FLAG_FLOATING)) {
            x -= lv_obj_get_scroll_x(parent);
            y -= lv_obj_get_scroll_y(parent);
        }
        lv_coord_t border_width = lv_obj_get_style_border_width(parent, LV_PART_MAIN);
        x += border_width;
        y += border_width;
    }
    lv_coord_t dx = x - obj->coords.x1;
    lv_coord_t dy = y - obj->coords.y1;
    if (dx == 0 && dy == 0)
        return;
    lv_obj_invalidate(obj);
    obj->coords.x1 += dx;
    obj->coords.y1 += dy;
    obj->coords.x2 += dx;
    obj->coords.y2 += dy;
    lv_obj_move_children_by(obj, dx, dy, false);
    if (parent)
        lv_event_send(parent, LV_EVENT_CHILD_CHANGED, obj);
    lv_obj_invalidate(obj);
}

void lv_obj_move_children_by(lv_obj_t *obj, lv_coord_t x_diff, lv_coord_t y_diff, bool ignore_floating) {
    uint32_t cnt = lv_obj_get_child_cnt(obj);
    for (uint32_t i = 0; i < cnt; i++) {
        lv_obj_t *child = obj->spec_attr->children[i];
        if (ignore_floating && lv_obj_has_flag(child, LV_OBJ_FLAG_FLOATING))
            continue;
        child->coords.x1 += x_diff;
        child->coords.y1 += y_diff;
        child->coords.x2 += x_diff;
        child->coords.y2 += y_diff;
        lv_obj_move_children_by(child, x_diff, y_diff, false);
    }
}

void lv_obj_invalidate_area(const lv_obj_t *obj, const lv_area_t *area) {
    lv_disp_t *disp = lv_obj_get_disp(obj);
    if (!lv_disp_is_invalidation_enabled(disp))
        return;
    lv_area_t area_tmp;
    lv_area_copy(&area_tmp, area);
    if (!lv_obj_area_is_visible(obj, &area_tmp))
        return;
    _lv_inv_area(disp, &area_tmp);
}

void lv_obj_invalidate(const lv_obj_t *obj) {
    lv_area_t obj_coords;
    lv_coord_t ext_size = _lv_obj_get_ext_draw_size(obj);
    lv_area_copy(&obj_coords, &obj->coords);
    lv_area_increase(&obj_coords, ext_size, ext_size);
    lv_obj_invalidate_area(obj, &obj_coords);
}

bool lv_obj_area_is_visible(const lv_obj_t *obj, lv_area_t *area) {
    if (lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN))
        return false;
    lv_obj_t *obj_scr = lv_obj_get_screen(obj);
    lv_disp_t *disp = lv_obj_get_disp(obj_scr);
    if (disp == NULL)
        return false;
    if (obj_scr != lv_disp_get_scr_act(disp) && obj_scr != lv_disp_get_scr_prev(disp) &&
        obj_scr != lv_disp_get_layer_top(disp) && obj_scr != lv_disp_get_layer_sys(disp)) {
        return false;
    }
    if (!lv_obj_has_flag_any(obj, LV_OBJ_FLAG_OVERFLOW_VISIBLE)) {
        lv_area_t obj_coords;
        lv_coord_t ext_size = _lv_obj_get_ext_draw_size(obj);
        lv_area_copy(&obj_coords, &obj->coords);
        lv_area_increase(&obj_coords, ext_size, ext_size);
        if (!_lv_area_intersect(area, area, &obj_coords))
            return false;
    }
    /* Truncate to the parents' areas (children are clipped to their parents). */
    lv_obj_t *par = lv_obj_get_parent(obj);
    while (par != NULL) {
        if (!lv_obj_has_flag(par, LV_OBJ_FLAG_OVERFLOW_VISIBLE)) {
            if (!_lv_area_intersect(area, area, &par->coords))
                return false;
        }
        if (lv_obj_has_flag(par, LV_OBJ_FLAG_HIDDEN))
            return false;
        par = lv_obj_get_parent(par);
    }
    return true;
}

bool lv_obj_is_visible(const lv_obj_t *obj) {
    lv_area_t obj_coords;
    lv_coord_t ext_size = _lv_obj_get_ext_draw_size(obj);
    lv_area_copy(&obj_coords, &obj->coords);
    lv_area_increase(&obj_coords, ext_size, ext_size);
    return lv_obj_area_is_visible(obj, &obj_coords);
}

void lv_obj_set_ext_click_area(lv_obj_t *obj, lv_coord_t size) {
    lv_obj_allocate_spec_attr(obj);
    obj->spec_attr->ext_click_pad = size;
}

void lv_obj_get_click_area(const lv_obj_t *obj, lv_area_t *area) {
    lv_area_copy(area, &obj->coords);
    if (obj->spec_attr)
        lv_area_increase(area, obj->spec_attr->ext_click_pad, obj->spec_attr->ext_click_pad);
}

bool lv_obj_hit_test(lv_obj_t *obj, const lv_point_t *point) {
    if (!lv_obj_has_flag(obj, LV_OBJ_FLAG_CLICKABLE))
        return false;
    if (lv_obj_has_state(obj, LV_STATE_DISABLED))
        return false;
    lv_area_t a;
    lv_obj_get_click_area(obj, &a);
    if (!_lv_area_is_point_on(&a, point, 0))
        return false;
    if (lv_obj_has_flag(obj, LV_OBJ_FLAG_ADV_HITTEST)) {
        lv_hit_test_info_t hit_info;
        hit_info.point = point;
        hit_info.res = true;
        lv_event_send(obj, LV_EVENT_HIT_TEST, &hit_info);
        return hit_info.res;
    }
    return true;
}

static void layout_update_core(lv_obj_t *obj) {
    uint32_t child_cnt = lv_obj_get_child_cnt(obj);
    for (uint32_t i = 0; i < child_cnt; i++)
        layout_update_core(obj->spec_attr->children[i]);
    if (obj->layout_inv == 0)
        return;
    obj->layout_inv = 0;
    lv_obj_refr_size(obj);
    lv_obj_refr_pos(obj);
    if (child_cnt > 0) {
        uint32_t layout_id = lv_obj_get_style_layout(obj, LV_PART_MAIN);
        if (layout_id > 0 && layout_id <= layout_cnt) {
            layout_list[layout_id - 1].cb(obj, layout_list[layout_id - 1].user_data);
        }
    }
}

/* Content extent along one axis: the farthest child edge, or the widget's own content. */
static lv_coord_t calc_content_extent(lv_obj_t *obj, bool hor) {
    if (hor)
        lv_obj_scroll_to_x(obj, 0, LV_ANIM_OFF);
    else
        lv_obj_scroll_to_y(obj, 0, LV_ANIM_OFF);
    lv_coord_t border_w = lv_obj_get_style_border_width(obj, LV_PART_MAIN);
    lv_coord_t pad_start =
        (hor ? lv_obj_get_style_pad_left(obj, LV_PART_MAIN) : lv_obj_get_style_pad_top(obj, LV_PART_MAIN)) +
        border_w;
    lv_coord_t pad_end = (hor ? lv_obj_get_style_pad_right(obj, LV_PART_MAIN)
                              : lv_obj_get_style_pad_bottom(obj, LV_PART_MAIN)) +
                         border_w;
    lv_coord_t self = (hor ? lv_obj_get_self_width(obj) : lv_obj_get_self_height(obj)) + pad_start + pad_end;
    lv_coord_t child_res = LV_COORD_MIN;
    uint32_t cnt = lv_obj_get_child_cnt(obj);
    for (uint32_t i = 0; i < cnt; i++) {
        lv_obj_t *child = obj->spec_attr->children[i];
        if (lv_obj_has_flag_any(child, LV_OBJ_FLAG_HIDDEN | LV_OBJ_FLAG_FLOATING))
            continue;
        lv_coord_t start = hor ? obj->coords.x1 : obj->coords.y1;
        lv_coord_t c2 = hor ? child->coords.x2 : child->coords.y2;
        lv_coord_t csize = hor ? lv_area_get_width(&child->coords) : lv_area_get_height(&child->coords);
        if (!lv_obj_is_layout_positioned(child)) {
            lv_align_t align = lv_obj_get_style_align(child, 0);
            bool start_aligned;
            if (hor) {
                start_aligned = align == LV_ALIGN_DEFAULT || align == LV_ALIGN_TOP_LEFT ||
                                align == LV_ALIGN_BOTTOM_LEFT || align == LV_ALIGN_LEFT_MID;
            } else {
                start_aligned = align == LV_ALIGN_DEFAULT || align == LV_ALIGN_TOP_LEFT ||
                                align == LV_ALIGN_TOP_MID || align == LV_ALIGN_TOP_RIGHT;
            }
            if (start_aligned) {
                child_res = LV_MAX(child_res, c2 - start + 1);
            } else if ((hor ? lv_obj_get_style_x(child, 0) : lv_obj_get_style_y(child, 0)) == 0) {
                /* Centred or end-aligned children count only with a zero offset (else it is circular). */
                child_res = LV_MAX(child_res, csize + pad_start);
            }
        } else {
            child_res = LV_MAX(child_res, c2 - start + 1);
        }
    }
    if (child_res == LV_COORD_MIN)
        return self;
    return LV_MAX(child_res + pad_end, self);
}

static lv_coord_t calc_content_width(lv_obj_t *obj) {
    return calc_content_extent(obj, true);
}

static lv_coord_t calc_content_height(lv_obj_t *obj) {
    return calc_content_extent(obj, false);
}
