/**
 * @file lv_obj_scroll.c
 * Animated scrolls take 200 .. 400 ms (distance at half the display size per second) on an ease-out path.
 */
#include "lv_obj.h"
#include "lv_disp.h"
#include "../misc/lv_math.h"

#define SCROLL_ANIM_TIME_MIN 200
#define SCROLL_ANIM_TIME_MAX 400

static void scroll_x_anim(void *obj, int32_t v) {
    _lv_obj_scroll_by_raw(obj, v + lv_obj_get_scroll_x(obj), 0);
}

static void scroll_y_anim(void *obj, int32_t v) {
    _lv_obj_scroll_by_raw(obj, 0, v + lv_obj_get_scroll_y(obj));
}

static void scroll_anim_ready_cb(lv_anim_t *a) {
    lv_event_send(a->var, LV_EVENT_SCROLL_END, NULL);
}

void lv_obj_set_scrollbar_mode(lv_obj_t *obj, lv_scrollbar_mode_t mode) {
    lv_obj_allocate_spec_attr(obj);
    if (obj->spec_attr->scrollbar_mode == mode)
        return;
    obj->spec_attr->scrollbar_mode = mode;
    lv_obj_invalidate(obj);
}

void lv_obj_set_scroll_dir(lv_obj_t *obj, lv_dir_t dir) {
    lv_obj_allocate_spec_attr(obj);
    obj->spec_attr->scroll_dir = dir;
}

void lv_obj_set_scroll_snap_x(lv_obj_t *obj, lv_scroll_snap_t align) {
    lv_obj_allocate_spec_attr(obj);
    obj->spec_attr->scroll_snap_x = align;
}

void lv_obj_set_scroll_snap_y(lv_obj_t *obj, lv_scroll_snap_t align) {
    lv_obj_allocate_spec_attr(obj);
    obj->spec_attr->scroll_snap_y = align;
}

lv_scrollbar_mode_t lv_obj_get_scrollbar_mode(const lv_obj_t *obj) {
    return obj->spec_attr ? (lv_scrollbar_mode_t)obj->spec_attr->scrollbar_mode : LV_SCROLLBAR_MODE_AUTO;
}

lv_dir_t lv_obj_get_scroll_dir(const lv_obj_t *obj) {
    return obj->spec_attr ? (lv_dir_t)obj->spec_attr->scroll_dir : LV_DIR_ALL;
}

lv_scroll_snap_t lv_obj_get_scroll_snap_x(const lv_obj_t *obj) {
    return obj->spec_attr ? (lv_scroll_snap_t)obj->spec_attr->scroll_snap_x : LV_SCROLL_SNAP_NONE;
}

lv_scroll_snap_t lv_obj_get_scroll_snap_y(const lv_obj_t *obj) {
    return obj->spec_attr ? (lv_scroll_snap_t)obj->spec_attr->scroll_snap_y : LV_SCROLL_SNAP_NONE;
}

lv_coord_t lv_obj_get_scroll_x(const lv_obj_t *obj) {
    return obj->spec_attr ? -obj->spec_attr->scroll.x : 0;
}

lv_coord_t lv_obj_get_scroll_y(const lv_obj_t *obj) {
    return obj->spec_attr ? -obj->spec_attr->scroll.y : 0;
}

lv_coord_t lv_obj_get_scroll_top(lv_obj_t *obj) {
    return lv_obj_get_scroll_y(obj);
}

lv_coord_t lv_obj_get_scroll_left(lv_obj_t *obj) {
    return lv_obj_get_scroll_x(obj);
}

lv_coord_t lv_obj_get_scroll_bottom(lv_obj_t *obj) {
    lv_coord_t child_res = LV_COORD_MIN;
    uint32_t cnt = lv_obj_get_child_cnt(obj);
    for (uint32_t i = 0; i < cnt; i++) {
        lv_obj_t *child = obj->spec_attr->children[i];
        if (lv_obj_has_flag_any(child, LV_OBJ_FLAG_HIDDEN | LV_OBJ_FLAG_FLOATING))
            continue;
        child_res = LV_MAX(child_res, child->coords.y2);
    }
    lv_coord_t pad_top = lv_obj_get_style_pad_top(obj, LV_PART_MAIN);
    lv_coord_t pad_bottom = lv_obj_get_style_pad_bottom(obj, LV_PART_MAIN);
    lv_coord_t border_width = lv_obj_get_style_border_width(obj, LV_PART_MAIN);
    if (child_res != LV_COORD_MIN)
        child_res -= (obj->coords.y2 - pad_bottom - border_width);
    lv_coord_t self_h = lv_obj_get_self_height(obj);
    self_h = self_h - (lv_obj_get_height(obj) - pad_top - pad_bottom - 2 * border_width);
    self_h -= lv_obj_get_scroll_y(obj);
    return LV_MAX(child_res, self_h);
}

lv_coord_t lv_obj_get_scroll_right(lv_obj_t *obj) {
    lv_coord_t child_res = LV_COORD_MIN;
    uint32_t cnt = lv_obj_get_child_cnt(obj);
    for (uint32_t i = 0; i < cnt; i++) {
        lv_obj_t *child = obj->spec_attr->children[i];
        if (lv_obj_has_flag_any(child, LV_OBJ_FLAG_HIDDEN | LV_OBJ_FLAG_FLOATING))
            continue;
        child_res = LV_MAX(child_res, child->coords.x2);
    }
    lv_coord_t pad_left = lv_obj_get_style_pad_left(obj, LV_PART_MAIN);
    lv_coord_t pad_right = lv_obj_get_style_pad_right(obj, LV_PART_MAIN);
    lv_coord_t border_width = lv_obj_get_style_border_width(obj, LV_PART_MAIN);
    if (child_res != LV_COORD_MIN)
        child_res -= (obj->coords.x2 - pad_right - border_width);
    lv_coord_t self_w = lv_obj_get_self_width(obj);
    self_w = self_w - (lv_obj_get_width(obj) - pad_right - pad_left - 2 * border_width);
    self_w -= lv_obj_get_scroll_x(obj);
    return LV_MAX(child_res, self_w);
}

void lv_obj_get_scroll_end(lv_obj_t *obj, lv_point_t *end) {
    lv_anim_t *a = lv_anim_get(obj, scroll_x_anim);
    end->x = a ? -a->end_value : lv_obj_get_scroll_x(obj);
    a = lv_anim_get(obj, scroll_y_anim);
    end->y = a ? -a->end_value : lv_obj_get_scroll_y(obj);
}

static uint32_t scroll_time(lv_coord_t res, lv_coord_t d) {
    uint32_t t = lv_anim_speed_to_time((uint32_t)((res * 2) >> 2), 0, d);
    if (t < SCROLL_ANIM_TIME_MIN)
        t = SCROLL_ANIM_TIME_MIN;
    if (t > SCROLL_ANIM_TIME_MAX)
        t = SCROLL_ANIM_TIME_MAX;
    return t;
}

void lv_obj_scroll_by(lv_obj_t *obj, lv_coord_t dx, lv_coord_t dy, lv_anim_enable_t anim_en) {
    if (dx == 0 && dy == 0)
        return;
    if (anim_en == LV_ANIM_ON) {
        lv_disp_t *d = lv_obj_get_disp(obj);
        lv_anim_t a;
        lv_anim_init(&a);
        lv_anim_set_var(&a, obj);
        lv_anim_set_ready_cb(&a, scroll_anim_ready_cb);
        lv_anim_set_path_cb(&a, lv_anim_path_ease_out);
        if (dx) {
            lv_anim_set_time(&a, scroll_time(lv_disp_get_hor_res(d), dx));
            lv_coord_t sx = lv_obj_get_scroll_x(obj);
            lv_anim_set_values(&a, -sx, -sx + dx);
            lv_anim_set_exec_cb(&a, scroll_x_anim);
            if (lv_event_send(obj, LV_EVENT_SCROLL_BEGIN, &a) != LV_RES_OK)
                return;
            lv_anim_start(&a);
        }
        if (dy) {
            lv_anim_set_time(&a, scroll_time(lv_disp_get_ver_res(d), dy));
            lv_coord_t sy = lv_obj_get_scroll_y(obj);
            lv_anim_set_values(&a, -sy, -sy + dy);
            lv_anim_set_exec_cb(&a, scroll_y_anim);
            if (lv_event_send(obj, LV_EVENT_SCROLL_BEGIN, &a) != LV_RES_OK)
                return;
            lv_anim_start(&a);
        }
    } else {
        bool y_del = lv_anim_del(obj, scroll_y_anim);
        bool x_del = lv_anim_del(obj, scroll_x_anim);
        if (_lv_obj_scroll_by_raw(obj, dx, dy) != LV_RES_OK)
            return;
        if (y_del || x_del)
            lv_event_send(obj, LV_EVENT_SCROLL_END, NULL);
    }
}

void lv_obj_scroll_by_bounded(lv_obj_t *obj, lv_coord_t dx, lv_coord_t dy, lv_anim_enable_t anim_en) {
    if (dx == 0 && dy == 0)
        return;
    lv_coord_t x_current = -lv_obj_get_scroll_x(obj);
    lv_coord_t y_current = -lv_obj_get_scroll_y(obj);
    lv_coord_t x_bounded = x_current + dx;
    lv_coord_t y_bounded = y_current + dy;
    lv_coord_t min_x = -lv_obj_get_scroll_right(obj) + x_current;
    if (x_bounded < min_x)
        x_bounded = min_x;
    if (x_bounded > 0)
        x_bounded = 0;
    lv_coord_t min_y = -lv_obj_get_scroll_bottom(obj) + y_current;
    if (y_bounded < min_y)
        y_bounded = min_y;
    if (y_bounded > 0)
        y_bounded = 0;
    lv_obj_scroll_by(obj, x_bounded - x_current, y_bounded - y_current, anim_en);
}

void lv_obj_scroll_to(lv_obj_t *obj, lv_coord_t x, lv_coord_t y, lv_anim_enable_t anim_en) {
    lv_obj_scroll_to_x(obj, x, anim_en);
    lv_obj_scroll_to_y(obj, y, anim_en);
}

void lv_obj_scroll_to_x(lv_obj_t *obj, lv_coord_t x, lv_anim_enable_t anim_en) {
    lv_anim_del(obj, scroll_x_anim);
    if (x < 0)
        x = 0;
    if (x > 0) {
        lv_coord_t scroll_max = lv_obj_get_scroll_left(obj) + lv_obj_get_scroll_right(obj);
        if (scroll_max < 0)
            scroll_max = 0;
        if (x > scroll_max)
            x = scroll_max;
    }
    lv_coord_t sx = lv_obj_get_scroll_x(obj);
    lv_obj_scroll_by(obj, sx - x, 0, anim_en);
}

void lv_obj_scroll_to_y(lv_obj_t *obj, lv_coord_t y, lv_anim_enable_t anim_en) {
    lv_anim_del(obj, scroll_y_anim);
    if (y < 0)
        y = 0;
    if (y > 0) {
        lv_coord_t scroll_max = lv_obj_get_scroll_top(obj) + lv_obj_get_scroll_bottom(obj);
        if (scroll_max < 0)
            scroll_max = 0;
        if (y > scroll_max)
            y = scroll_max;
    }
    lv_coord_t sy = lv_obj_get_scroll_y(obj);
    lv_obj_scroll_by(obj, 0, sy - y, anim_en);
}

static void scroll_area_into_view(const lv_area_t *area, lv_obj_t *child, lv_point_t *scroll_value,
                                  lv_anim_enable_t anim_en) {
    lv_obj_t *parent = lv_obj_get_parent(child);
    if (!lv_obj_has_flag(parent, LV_OBJ_FLAG_SCROLLABLE))
        return;
    lv_dir_t scroll_dir = lv_obj_get_scroll_dir(parent);
    const lv_area_t *area_tmp;

    lv_coord_t y_scroll = 0;
    lv_scroll_snap_t snap_y = lv_obj_get_scroll_snap_y(parent);
    area_tmp = snap_y != LV_SCROLL_SNAP_NONE ? &child->coords : area;
    lv_coord_t border_width = lv_obj_get_style_border_width(parent, LV_PART_MAIN);
    lv_coord_t ptop = lv_obj_get_style_pad_top(parent, LV_PART_MAIN) + border_width;
    lv_coord_t pbottom = lv_obj_get_style_pad_bottom(parent, LV_PART_MAIN) + border_width;
    lv_coord_t top_diff = parent->coords.y1 + ptop - area_tmp->y1 - scroll_value->y;
    lv_coord_t bottom_diff = -(parent->coords.y2 - pbottom - area_tmp->y2 - scroll_value->y);
    lv_coord_t parent_h = lv_obj_get_height(parent) - ptop - pbottom;
    if (top_diff >= 0 && bottom_diff >= 0)
        y_scroll = 0;
    else if (top_diff > 0) {
        y_scroll = top_diff;
        lv_coord_t st = lv_obj_get_scroll_top(parent);
        if (st - y_scroll < 0)
            y_scroll = 0;
    } else if (bottom_diff > 0) {
        y_scroll = -bottom_diff;
        lv_coord_t sb = lv_obj_get_scroll_bottom(parent);
        if (sb + y_scroll < 0)
            y_scroll = 0;
    }
    switch (snap_y) {
    case LV_SCROLL_SNAP_START:
        y_scroll += parent->coords.y1 + ptop - (area_tmp->y1 + y_scroll);
        break;
    case LV_SCROLL_SNAP_END:
        y_scroll += parent->coords.y2 - pbottom - (area_tmp->y2 + y_scroll);
        break;
    case LV_SCROLL_SNAP_CENTER:
        y_scroll += parent->coords.y1 + ptop + parent_h / 2 -
                    (area_tmp->y1 + lv_area_get_height(area_tmp) / 2 + y_scroll);
        break;
    default:
        break;
    }

    lv_coord_t x_scroll = 0;
    lv_scroll_snap_t snap_x = lv_obj_get_scroll_snap_x(parent);
    area_tmp = snap_x != LV_SCROLL_SNAP_NONE ? &child->coords : area;
    lv_coord_t pleft = lv_obj_get_style_pad_left(parent, LV_PART_MAIN) + border_width;
    lv_coord_t pright = lv_obj_get_style_pad_right(parent, LV_PART_MAIN) + border_width;
    lv_coord_t left_diff = parent->coords.x1 + pleft - area_tmp->x1 - scroll_value->x;
    lv_coord_t right_diff = -(parent->coords.x2 - pright - area_tmp->x2 - scroll_value->x);
    lv_coord_t parent_w = lv_obj_get_width(parent) - pleft - pright;
    if (left_diff >= 0 && right_diff >= 0)
        x_scroll = 0;
    else if (left_diff > 0) {
        x_scroll = left_diff;
        lv_coord_t sl = lv_obj_get_scroll_left(parent);
        if (sl - x_scroll < 0)
            x_scroll = 0;
    } else if (right_diff > 0) {
        x_scroll = -right_diff;
        lv_coord_t sr = lv_obj_get_scroll_right(parent);
        if (sr + x_scroll < 0)
            x_scroll = 0;
    }
    switch (snap_x) {
    case LV_SCROLL_SNAP_START:
        x_scroll += parent->coords.x1 + pleft - (area_tmp->x1 + x_scroll);
        break;
    case LV_SCROLL_SNAP_END:
        x_scroll += parent->coords.x2 - pright - (area_tmp->x2 + x_scroll);
        break;
    case LV_SCROLL_SNAP_CENTER:
        x_scroll += parent->coords.x1 + pleft + parent_w / 2 -
                    (area_tmp->x1 + lv_area_get_width(area_tmp) / 2 + x_scroll);
        break;
    default:
        break;
    }

    bool y_del = lv_anim_del(parent, scroll_y_anim);
    bool x_del = lv_anim_del(parent, scroll_x_anim);
    if (y_del || x_del) {
        if (lv_event_send(parent, LV_EVENT_SCROLL_END, NULL) != LV_RES_OK)
            return;
    }
    if ((scroll_dir & LV_DIR_LEFT) == 0 && x_scroll < 0)
        x_scroll = 0;
    if ((scroll_dir & LV_DIR_RIGHT) == 0 && x_scroll > 0)
        x_scroll = 0;
    if ((scroll_dir & LV_DIR_TOP) == 0 && y_scroll < 0)
        y_scroll = 0;
    if ((scroll_dir & LV_DIR_BOTTOM) == 0 && y_scroll > 0)
        y_scroll = 0;
    scroll_value->x += anim_en == LV_ANIM_OFF ? 0 : x_scroll;
    scroll_value->y += anim_en == LV_ANIM_OFF ? 0 : y_scroll;
    lv_obj_scroll_by(parent, x_scroll, y_scroll, anim_en);
}

void lv_obj_scroll_to_view(lv_obj_t *obj, lv_anim_enable_t anim_en) {
    lv_obj_update_layout(obj);
    lv_point_t p = {0, 0};
    if (lv_obj_get_parent(obj))
        scroll_area_into_view(&obj->coords, obj, &p, anim_en);
}

void lv_obj_scroll_to_view_recursive(lv_obj_t *obj, lv_anim_enable_t anim_en) {
    lv_obj_update_layout(obj);
    lv_point_t p = {0, 0};
    lv_obj_t *child = obj;
    lv_obj_t *parent = lv_obj_get_parent(child);
    while (parent) {
        scroll_area_into_view(&obj->coords, child, &p, anim_en);
        child = parent;
        parent = lv_obj_get_parent(parent);
    }
}

lv_res_t _lv_obj_scroll_by_raw(lv_obj_t *obj, lv_coord_t x, lv_coord_t y) {
    if (x == 0 && y == 0)
        return LV_RES_OK;
    lv_obj_allocate_spec_attr(obj);
    obj->spec_attr->scroll.x += x;
    obj->spec_attr->scroll.y += y;
    lv_obj_move_children_by(obj, x, y, true);
    lv_res_t res = lv_event_send(obj, LV_EVENT_SCROLL, NULL);
    if (res != LV_RES_OK)
        return res;
    lv_obj_invalidate(obj);
    return LV_RES_OK;
}

bool lv_obj_is_scrolling(const lv_obj_t *obj) {
    return lv_anim_get((void *)obj, scroll_x_anim) || lv_anim_get((void *)obj, scroll_y_anim);
}

void lv_obj_get_scrollbar_area(lv_obj_t *obj, lv_area_t *hor, lv_area_t *ver) {
    /* Scrollbars take their look from the LV_PART_SCROLLBAR styles; they are not drawn. */
    LV_UNUSED(obj);
    lv_area_set(hor, 0, 0, -1, -1);
    lv_area_set(ver, 0, 0, -1, -1);
}

void lv_obj_scrollbar_invalidate(lv_obj_t *obj) {
    LV_UNUSED(obj);
}

void lv_obj_readjust_scroll(lv_obj_t *obj, lv_anim_enable_t anim_en) {
    if (lv_obj_get_scroll_snap_y(obj) == LV_SCROLL_SNAP_NONE) {
        lv_coord_t st = lv_obj_get_scroll_top(obj);
        lv_coord_t sb = lv_obj_get_scroll_bottom(obj);
        if (sb < 0 && st > 0) {
            sb = LV_MIN(st, -sb);
            lv_obj_scroll_by(obj, 0, sb, anim_en);
        }
    }
    if (lv_obj_get_scroll_snap_x(obj) == LV_SCROLL_SNAP_NONE) {
        lv_coord_t sl = lv_obj_get_scroll_left(obj);
        lv_coord_t sr = lv_obj_get_scroll_right(obj);
        if (sr < 0 && sl > 0) {
            sr = LV_MIN(sl, -sr);
            lv_obj_scroll_by(obj, sr, 0, anim_en);
        }
    }
}
