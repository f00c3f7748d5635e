/**
 * @file lv_obj_scroll.c
 * An object's scroll position is kept as the offset its children were moved by (spec_attr->scroll, the
 * negative of the scroll position), so scrolling moves the children's coordinates at once. Animated
 * scrolls take 200 .. 400 ms (at half the display size per second) on an ease-out path, one animation
 * per axis; the animated value is that raw offset.
 * Both axes share one code path: an axis is picked with `hor` (true: x, false: y).
 */
#include "lv_obj.h"
#include "lv_disp.h"
#include "lv_indev.h"
#include "../misc/lv_math.h"

#define SCROLL_ANIM_TIME_MIN 200
#define SCROLL_ANIM_TIME_MAX 400

static void anim_raw_x(void *obj, int32_t raw) {
    _lv_obj_scroll_by_raw(obj, (lv_coord_t)(raw + lv_obj_get_scroll_x(obj)), 0);
}

static void anim_raw_y(void *obj, int32_t raw) {
    _lv_obj_scroll_by_raw(obj, 0, (lv_coord_t)(raw + lv_obj_get_scroll_y(obj)));
}

static void anim_finished(lv_anim_t *a) {
    lv_event_send(a->var, LV_EVENT_SCROLL_END, NULL);
}

static lv_anim_exec_xcb_t axis_anim(bool hor) {
    return hor ? anim_raw_x : anim_raw_y;
}

/* Padding plus border before and after the content along one axis. */
static void axis_insets(const lv_obj_t *obj, bool hor, lv_coord_t *lead, lv_coord_t *trail) {
    lv_coord_t border = lv_obj_get_style_border_width(obj, LV_PART_MAIN);
    *lead = border + (hor ? lv_obj_get_style_pad_left(obj, LV_PART_MAIN)
                          : lv_obj_get_style_pad_top(obj, LV_PART_MAIN));
    *trail = border + (hor ? lv_obj_get_style_pad_right(obj, LV_PART_MAIN)
                           : lv_obj_get_style_pad_bottom(obj, LV_PART_MAIN));
}

static lv_coord_t area_lo(const lv_area_t *a, bool hor) {
    return hor ? a->x1 : a->y1;
}

static lv_coord_t area_hi(const lv_area_t *a, bool hor) {
    return hor ? a->x2 : a->y2;
}

static lv_coord_t scroll_pos(const lv_obj_t *obj, bool hor) {
    return hor ? lv_obj_get_scroll_x(obj) : lv_obj_get_scroll_y(obj);
}

void lv_obj_set_scrollbar_mode(lv_obj_t *obj, lv_scrollbar_mode_t mode) {
    lv_obj_allocate_spec_attr(obj);
    if (obj->spec_attr->scrollbar_mode != mode) {
        obj->spec_attr->scrollbar_mode = mode;
        lv_obj_invalidate(obj);
    }
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

/* How far the content reaches past the far end of the visible content area: the farthest child edge or
 * the widget's own content, whichever reaches farther. */
static lv_coord_t overhang(lv_obj_t *obj, bool hor) {
    lv_coord_t lead, trail;
    axis_insets(obj, hor, &lead, &trail);
    lv_coord_t view_end = area_hi(&obj->coords, hor) - trail;
    lv_coord_t view_len = (hor ? lv_obj_get_width(obj) : lv_obj_get_height(obj)) - lead - trail;
    lv_coord_t self = hor ? lv_obj_get_self_width(obj) : lv_obj_get_self_height(obj);
    lv_coord_t result = self - view_len - scroll_pos(obj, hor);
    uint32_t n = lv_obj_get_child_cnt(obj);
    for (uint32_t i = 0; i < n; i++) {
        const lv_obj_t *child = obj->spec_attr->children[i];
        if (lv_obj_has_flag_any(child, LV_OBJ_FLAG_HIDDEN | LV_OBJ_FLAG_FLOATING))
            continue;
        result = LV_MAX(result, area_hi(&child->coords, hor) - view_end);
    }
    return result;
}

lv_coord_t lv_obj_get_scroll_bottom(lv_obj_t *obj) {
    return overhang(obj, false);
}

lv_coord_t lv_obj_get_scroll_right(lv_obj_t *obj) {
    return overhang(obj, true);
}

void lv_obj_get_scroll_end(lv_obj_t *obj, lv_point_t *end) {
    const lv_anim_t *ax = lv_anim_get(obj, anim_raw_x);
    const lv_anim_t *ay = lv_anim_get(obj, anim_raw_y);
    end->x = ax ? (lv_coord_t)-ax->end_value : lv_obj_get_scroll_x(obj);
    end->y = ay ? (lv_coord_t)-ay->end_value : lv_obj_get_scroll_y(obj);
}

/* Start the animation of one axis by delta; false when a SCROLL_BEGIN handler stopped it. */
static bool animate_axis(lv_obj_t *obj, bool hor, lv_coord_t delta) {
    lv_disp_t *disp = lv_obj_get_disp(obj);
    lv_coord_t res = hor ? lv_disp_get_hor_res(disp) : lv_disp_get_ver_res(disp);
    uint32_t ms = lv_anim_speed_to_time((uint32_t)res / 2, 0, delta);
    lv_coord_t raw = -scroll_pos(obj, hor);
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, obj);
    lv_anim_set_exec_cb(&a, axis_anim(hor));
    lv_anim_set_values(&a, raw, raw + delta);
    lv_anim_set_time(&a, LV_CLAMP(SCROLL_ANIM_TIME_MIN, ms, SCROLL_ANIM_TIME_MAX));
    lv_anim_set_path_cb(&a, lv_anim_path_ease_out);
    lv_anim_set_ready_cb(&a, anim_finished);
    if (lv_event_send(obj, LV_EVENT_SCROLL_BEGIN, &a) != LV_RES_OK)
        return false;
    lv_anim_start(&a);
    return true;
}

void lv_obj_scroll_by(lv_obj_t *obj, lv_coord_t dx, lv_coord_t dy, lv_anim_enable_t anim_en) {
    if (dx == 0 && dy == 0)
        return;
    if (anim_en == LV_ANIM_ON) {
        if (dx != 0 && !animate_axis(obj, true, dx))
            return;
        if (dy != 0)
            animate_axis(obj, false, dy);
        return;
    }
    /* A jump ends a running scroll animation. */
    bool stopped = lv_anim_del(obj, anim_raw_y);
    stopped = lv_anim_del(obj, anim_raw_x) || stopped;
    if (_lv_obj_scroll_by_raw(obj, dx, dy) == LV_RES_OK && stopped)
        lv_event_send(obj, LV_EVENT_SCROLL_END, NULL);
}

/* The part of delta that keeps the raw offset of one axis within [-overhang-to-the-end, 0]. */
static lv_coord_t bounded_delta(lv_obj_t *obj, bool hor, lv_coord_t delta) {
    lv_coord_t raw = -scroll_pos(obj, hor);
    lv_coord_t lowest = raw - overhang(obj, hor);
    lv_coord_t wanted = raw + delta;
    if (wanted < lowest)
        wanted = lowest;
    if (wanted > 0)
        wanted = 0;
    return wanted - raw;
}

void lv_obj_scroll_by_bounded(lv_obj_t *obj, lv_coord_t dx, lv_coord_t dy, lv_anim_enable_t anim_en) {
    if (dx == 0 && dy == 0)
        return;
    lv_obj_scroll_by(obj, bounded_delta(obj, true, dx), bounded_delta(obj, false, dy), anim_en);
}

void lv_obj_scroll_to(lv_obj_t *obj, lv_coord_t x, lv_coord_t y, lv_anim_enable_t anim_en) {
    lv_obj_scroll_to_x(obj, x, anim_en);
    lv_obj_scroll_to_y(obj, y, anim_en);
}

/* Scroll one axis to pos, limited to 0 .. the largest position the content allows. */
static void scroll_axis_to(lv_obj_t *obj, bool hor, lv_coord_t pos, lv_anim_enable_t anim_en) {
    lv_anim_del(obj, axis_anim(hor));
    lv_coord_t now = scroll_pos(obj, hor);
    if (pos > 0) {
        lv_coord_t limit = LV_MAX(0, now + overhang(obj, hor));
        pos = LV_MIN(pos, limit);
    } else {
        pos = 0;
    }
    if (hor)
        lv_obj_scroll_by(obj, now - pos, 0, anim_en);
    else
        lv_obj_scroll_by(obj, 0, now - pos, anim_en);
}

void lv_obj_scroll_to_x(lv_obj_t *obj, lv_coord_t x, lv_anim_enable_t anim_en) {
    scroll_axis_to(obj, true, x, anim_en);
}

void lv_obj_scroll_to_y(lv_obj_t *obj, lv_coord_t y, lv_anim_enable_t anim_en) {
    scroll_axis_to(obj, false, y, anim_en);
}

/* How much parent must scroll along one axis to show area (already moved by `pending`, scrolls asked for
 * but still animating). Without snapping just enough to bring the nearer edge in, if the content allows;
 * with snapping, the child's own box is placed at the snap point. */
static lv_coord_t reveal_delta(lv_obj_t *parent, const lv_obj_t *child, const lv_area_t *area, bool hor,
                               lv_coord_t pending) {
    lv_scroll_snap_t snap = hor ? lv_obj_get_scroll_snap_x(parent) : lv_obj_get_scroll_snap_y(parent);
    const lv_area_t *box = snap == LV_SCROLL_SNAP_NONE ? area : &child->coords;
    lv_coord_t lead, trail;
    axis_insets(parent, hor, &lead, &trail);
    lv_coord_t view_lo = area_lo(&parent->coords, hor) + lead;
    lv_coord_t view_hi = area_hi(&parent->coords, hor) - trail;
    lv_coord_t box_lo = area_lo(box, hor);
    lv_coord_t box_hi = area_hi(box, hor);
    lv_coord_t hidden_before = view_lo - box_lo - pending;
    lv_coord_t hidden_after = box_hi + pending - view_hi;
    /* Shown already, or larger than the view and covering it: no scroll. Else bring the hidden edge in
     * when the content reaches that far. */
    lv_coord_t d = 0;
    if (hidden_before > 0 && hidden_after < 0) {
        if (scroll_pos(parent, hor) >= hidden_before)
            d = hidden_before;
    } else if (hidden_after > 0 && hidden_before < 0) {
        if (overhang(parent, hor) >= hidden_after)
            d = -hidden_after;
    }
    switch (snap) {
    case LV_SCROLL_SNAP_START:
        d = view_lo - box_lo;
        break;
    case LV_SCROLL_SNAP_END:
        d = view_hi - box_hi;
        break;
    case LV_SCROLL_SNAP_CENTER: {
        lv_coord_t view_mid = view_lo + (view_hi - view_lo + 1) / 2;
        d = view_mid - (box_lo + (box_hi - box_lo + 1) / 2);
        break;
    }
    default:
        break;
    }
    return d;
}

static lv_coord_t allowed(lv_dir_t dirs, lv_dir_t toward_neg, lv_dir_t toward_pos, lv_coord_t d) {
    if (d < 0 && !(dirs & toward_neg))
        return 0;
    if (d > 0 && !(dirs & toward_pos))
        return 0;
    return d;
}

/* Scroll the parent of child so that area shows; pending collects what animated scrolls still owe. */
static void reveal_in_parent(const lv_area_t *area, lv_obj_t *child, lv_point_t *pending,
                             lv_anim_enable_t anim_en) {
    lv_obj_t *parent = lv_obj_get_parent(child);
    if (!lv_obj_has_flag(parent, LV_OBJ_FLAG_SCROLLABLE))
        return;
    lv_coord_t dy = reveal_delta(parent, child, area, false, pending->y);
    lv_coord_t dx = reveal_delta(parent, child, area, true, pending->x);
    bool stopped = lv_anim_del(parent, anim_raw_y);
    stopped = lv_anim_del(parent, anim_raw_x) || stopped;
    if (stopped && lv_event_send(parent, LV_EVENT_SCROLL_END, NULL) != LV_RES_OK)
        return;
    lv_dir_t dirs = lv_obj_get_scroll_dir(parent);
    dx = allowed(dirs, LV_DIR_LEFT, LV_DIR_RIGHT, dx);
    dy = allowed(dirs, LV_DIR_TOP, LV_DIR_BOTTOM, dy);
    if (anim_en != LV_ANIM_OFF) {
        pending->x += dx;
        pending->y += dy;
    }
    lv_obj_scroll_by(parent, dx, dy, anim_en);
}

void lv_obj_scroll_to_view(lv_obj_t *obj, lv_anim_enable_t anim_en) {
    lv_obj_update_layout(obj);
    lv_point_t pending = {0, 0};
    if (lv_obj_get_parent(obj) != NULL)
        reveal_in_parent(&obj->coords, obj, &pending, anim_en);
}

void lv_obj_scroll_to_view_recursive(lv_obj_t *obj, lv_anim_enable_t anim_en) {
    lv_obj_update_layout(obj);
    lv_point_t pending = {0, 0};
    for (lv_obj_t *o = obj; lv_obj_get_parent(o) != NULL; o = lv_obj_get_parent(o))
        reveal_in_parent(&obj->coords, o, &pending, anim_en);
}

lv_res_t _lv_obj_scroll_by_raw(lv_obj_t *obj, lv_coord_t x, lv_coord_t y) {
    if (x == 0 && y == 0)
        return LV_RES_OK;
    lv_obj_allocate_spec_attr(obj);
    lv_point_t *offset = &obj->spec_attr->scroll;
    offset->x += x;
    offset->y += y;
    lv_obj_move_children_by(obj, x, y, true);
    lv_res_t res = lv_event_send(obj, LV_EVENT_SCROLL, NULL);
    if (res == LV_RES_OK)
        lv_obj_invalidate(obj);
    return res;
}

bool lv_obj_is_scrolling(const lv_obj_t *obj) {
    /* Only an input device drags an object's content; scroll animations do not count. */
    for (lv_indev_t *dev = lv_indev_get_next(NULL); dev != NULL; dev = lv_indev_get_next(dev)) {
        if (lv_indev_get_type(dev) == LV_INDEV_TYPE_POINTER && lv_indev_get_scroll_obj(dev) == obj)
            return true;
    }
    return false;
}

void lv_obj_get_scrollbar_area(lv_obj_t *obj, lv_area_t *hor, lv_area_t *ver) {
    /* Scrollbars take their look from the LV_PART_SCROLLBAR styles; they are not drawn. */
    LV_UNUSED(obj);
    *hor = (lv_area_t){0, 0, -1, -1};
    *ver = (lv_area_t){0, 0, -1, -1};
}

void lv_obj_scrollbar_invalidate(lv_obj_t *obj) {
    LV_UNUSED(obj);
}

/* When the content shrank so that the end shows empty space while scrolled, scroll back (no further
 * than to the start). */
static void readjust_axis(lv_obj_t *obj, bool hor, lv_anim_enable_t anim_en) {
    lv_scroll_snap_t snap = hor ? lv_obj_get_scroll_snap_x(obj) : lv_obj_get_scroll_snap_y(obj);
    if (snap != LV_SCROLL_SNAP_NONE)
        return;
    lv_coord_t pos = scroll_pos(obj, hor);
    lv_coord_t gap = -overhang(obj, hor);
    if (gap <= 0 || pos <= 0)
        return;
    lv_coord_t back = LV_MIN(pos, gap);
    if (hor)
        lv_obj_scroll_by(obj, back, 0, anim_en);
    else
        lv_obj_scroll_by(obj, 0, back, anim_en);
}

void lv_obj_readjust_scroll(lv_obj_t *obj, lv_anim_enable_t anim_en) {
    readjust_axis(obj, false, anim_en);
    readjust_axis(obj, true, anim_en);
}
