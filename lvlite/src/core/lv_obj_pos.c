/**
 * @file lv_obj_pos.c
 * Geometry is computed lazily: setters store local styles and mark the layout dirty; sizes, positions
 * and layouts of a screen are recomputed by lv_obj_update_layout (the refresh calls it), children before
 * their parent, repeated until nothing is dirty any more.
 * Most of the arithmetic is the same for both axes; helpers take `hor` (true: x, false: y).
 */
#include "lv_obj.h"
#include "lv_disp.h"
#include "lv_refr.h"
#include "../misc/lv_math.h"
#include "../misc/lv_mem.h"

static lv_layout_dsc_t *layouts;
static uint32_t layouts_len;

static void relayout(lv_obj_t *obj);
static lv_coord_t content_extent(lv_obj_t *obj, bool hor);

/* ---- small helpers ---- */

static lv_coord_t pad_lead(const lv_obj_t *obj, bool hor) {
    return hor ? lv_obj_get_style_pad_left(obj, LV_PART_MAIN) : lv_obj_get_style_pad_top(obj, LV_PART_MAIN);
}

static lv_coord_t pad_trail(const lv_obj_t *obj, bool hor) {
    return hor ? lv_obj_get_style_pad_right(obj, LV_PART_MAIN)
               : lv_obj_get_style_pad_bottom(obj, LV_PART_MAIN);
}

static lv_coord_t border_of(const lv_obj_t *obj) {
    return lv_obj_get_style_border_width(obj, LV_PART_MAIN);
}

/* Padding on both sides and the border twice: what lies between the box and the content. */
static lv_coord_t frame(const lv_obj_t *obj, bool hor) {
    return pad_lead(obj, hor) + pad_trail(obj, hor) + 2 * border_of(obj);
}

static lv_coord_t extent(const lv_obj_t *obj, bool hor) {
    return hor ? lv_obj_get_width(obj) : lv_obj_get_height(obj);
}

static lv_coord_t content_len(const lv_obj_t *obj, bool hor) {
    return extent(obj, hor) - frame(obj, hor);
}

static lv_coord_t pct_of(lv_coord_t v, lv_coord_t whole) {
    return LV_COORD_IS_PCT(v) ? (lv_coord_t)((whole * LV_COORD_GET_PCT(v)) / 100) : v;
}

static void store_coord(lv_obj_t *obj, lv_style_prop_t prop, lv_coord_t v) {
    lv_style_value_t now;
    bool same = lv_obj_get_local_style_prop(obj, prop, &now, 0) == LV_RES_OK && now.num == v;
    if (!same) {
        lv_style_value_t nv = {.num = v};
        lv_obj_set_local_style_prop(obj, prop, nv, 0);
    }
}

/* ---- setters ---- */

void lv_obj_set_pos(lv_obj_t *obj, lv_coord_t x, lv_coord_t y) {
    store_coord(obj, LV_STYLE_X, x);
    store_coord(obj, LV_STYLE_Y, y);
}

void lv_obj_set_x(lv_obj_t *obj, lv_coord_t x) {
    store_coord(obj, LV_STYLE_X, x);
}

void lv_obj_set_y(lv_obj_t *obj, lv_coord_t y) {
    store_coord(obj, LV_STYLE_Y, y);
}

void lv_obj_set_size(lv_obj_t *obj, lv_coord_t w, lv_coord_t h) {
    store_coord(obj, LV_STYLE_WIDTH, w);
    store_coord(obj, LV_STYLE_HEIGHT, h);
}

void lv_obj_set_width(lv_obj_t *obj, lv_coord_t w) {
    store_coord(obj, LV_STYLE_WIDTH, w);
}

void lv_obj_set_height(lv_obj_t *obj, lv_coord_t h) {
    store_coord(obj, LV_STYLE_HEIGHT, h);
}

void lv_obj_set_content_width(lv_obj_t *obj, lv_coord_t w) {
    lv_obj_set_width(obj, w + frame(obj, true));
}

void lv_obj_set_content_height(lv_obj_t *obj, lv_coord_t h) {
    lv_obj_set_height(obj, h + frame(obj, false));
}

void lv_obj_set_layout(lv_obj_t *obj, uint32_t layout) {
    lv_obj_set_style_layout(obj, (uint16_t)layout, 0);
    lv_obj_mark_layout_as_dirty(obj);
}

void lv_obj_set_align(lv_obj_t *obj, lv_align_t align) {
    lv_obj_set_style_align(obj, align, 0);
}

void lv_obj_align(lv_obj_t *obj, lv_align_t align, lv_coord_t x_ofs, lv_coord_t y_ofs) {
    lv_obj_set_style_align(obj, align, 0);
    lv_obj_set_pos(obj, x_ofs, y_ofs);
}

/* ---- layout bookkeeping ---- */

bool lv_obj_is_layout_positioned(const lv_obj_t *obj) {
    const lv_obj_flag_t outside = LV_OBJ_FLAG_HIDDEN | LV_OBJ_FLAG_IGNORE_LAYOUT | LV_OBJ_FLAG_FLOATING;
    if (lv_obj_has_flag_any(obj, outside))
        return false;
    const lv_obj_t *parent = lv_obj_get_parent(obj);
    return parent != NULL && lv_obj_get_style_layout(parent, LV_PART_MAIN) != 0;
}

void lv_obj_mark_layout_as_dirty(lv_obj_t *obj) {
    if (obj == NULL)
        return;
    obj->layout_inv = 1;
    lv_obj_t *scr = lv_obj_get_screen(obj);
    scr->scr_layout_inv = 1;
    /* The refresh timer sleeps while nothing changes: wake it. */
    lv_disp_t *disp = lv_obj_get_disp(scr);
    if (disp != NULL && disp->refr_timer != NULL)
        lv_timer_resume(disp->refr_timer);
}

void lv_obj_update_layout(const lv_obj_t *obj) {
    static bool busy;
    if (busy)
        return; /* a size or layout callback asked again: the running update covers it */
    busy = true;
    lv_obj_t *scr = lv_obj_get_screen(obj);
    /* A pass may dirty the screen again (a child's size changes its content-sized parent). */
    while (scr->scr_layout_inv) {
        scr->scr_layout_inv = 0;
        relayout(scr);
    }
    busy = false;
}

uint32_t lv_layout_register(lv_layout_update_cb_t cb, void *user_data) {
    lv_layout_dsc_t *grown = lv_mem_realloc(layouts, (layouts_len + 1) * sizeof(*grown));
    if (grown == NULL) {
        LV_LOG_ERROR("out of memory");
        return 0;
    }
    layouts = grown;
    layouts[layouts_len] = (lv_layout_dsc_t){.cb = cb, .user_data = user_data};
    return ++layouts_len; /* ids start at 1: 0 means no layout */
}

/* ---- alignment ---- */

/* Where an object goes along one axis within a room: at its start, centred, at its end, just before it
 * or just after it. */
enum place { PLACE_START, PLACE_MID, PLACE_END, PLACE_BEFORE, PLACE_AFTER };

static lv_coord_t place(enum place how, lv_coord_t room, lv_coord_t size) {
    switch (how) {
    case PLACE_MID:
        return room / 2 - size / 2; /* two divisions: a 31 px child in 200 px sits at 85 */
    case PLACE_END:
        return room - size;
    case PLACE_BEFORE:
        return -size;
    case PLACE_AFTER:
        return room;
    default:
        return 0;
    }
}

/* Each alignment as (horizontal, vertical) placement; the OUT_ ones place outside the room. */
static void placement(lv_align_t align, enum place *h, enum place *v) {
    static const uint8_t table[][2] = {
        [LV_ALIGN_DEFAULT] = {PLACE_START, PLACE_START},
        [LV_ALIGN_TOP_LEFT] = {PLACE_START, PLACE_START},
        [LV_ALIGN_TOP_MID] = {PLACE_MID, PLACE_START},
        [LV_ALIGN_TOP_RIGHT] = {PLACE_END, PLACE_START},
        [LV_ALIGN_BOTTOM_LEFT] = {PLACE_START, PLACE_END},
        [LV_ALIGN_BOTTOM_MID] = {PLACE_MID, PLACE_END},
        [LV_ALIGN_BOTTOM_RIGHT] = {PLACE_END, PLACE_END},
        [LV_ALIGN_LEFT_MID] = {PLACE_START, PLACE_MID},
        [LV_ALIGN_RIGHT_MID] = {PLACE_END, PLACE_MID},
        [LV_ALIGN_CENTER] = {PLACE_MID, PLACE_MID},
        [LV_ALIGN_OUT_TOP_LEFT] = {PLACE_START, PLACE_BEFORE},
        [LV_ALIGN_OUT_TOP_MID] = {PLACE_MID, PLACE_BEFORE},
        [LV_ALIGN_OUT_TOP_RIGHT] = {PLACE_END, PLACE_BEFORE},
        [LV_ALIGN_OUT_BOTTOM_LEFT] = {PLACE_START, PLACE_AFTER},
        [LV_ALIGN_OUT_BOTTOM_MID] = {PLACE_MID, PLACE_AFTER},
        [LV_ALIGN_OUT_BOTTOM_RIGHT] = {PLACE_END, PLACE_AFTER},
        [LV_ALIGN_OUT_LEFT_TOP] = {PLACE_BEFORE, PLACE_START},
        [LV_ALIGN_OUT_LEFT_MID] = {PLACE_BEFORE, PLACE_MID},
        [LV_ALIGN_OUT_LEFT_BOTTOM] = {PLACE_BEFORE, PLACE_END},
        [LV_ALIGN_OUT_RIGHT_TOP] = {PLACE_AFTER, PLACE_START},
        [LV_ALIGN_OUT_RIGHT_MID] = {PLACE_AFTER, PLACE_MID},
        [LV_ALIGN_OUT_RIGHT_BOTTOM] = {PLACE_AFTER, PLACE_END},
    };
    if ((size_t)align >= sizeof(table) / sizeof(table[0]))
        align = LV_ALIGN_DEFAULT;
    *h = (enum place)table[align][0];
    *v = (enum place)table[align][1];
}

static bool is_outside_align(lv_align_t align) {
    return align >= LV_ALIGN_OUT_TOP_LEFT;
}

/* Offset of obj from base's top-left corner along one axis for align: inner alignments are measured in
 * base's content area, outer ones against its whole box. */
static lv_coord_t offset_at(const lv_obj_t *obj, const lv_obj_t *base, lv_align_t align, bool hor) {
    enum place h, v;
    placement(align, &h, &v);
    enum place how = hor ? h : v;
    lv_coord_t size = extent(obj, hor);
    if (is_outside_align(align))
        return place(how, extent(base, hor), size);
    return border_of(base) + pad_lead(base, hor) + place(how, content_len(base, hor), size);
}

void lv_obj_align_to(lv_obj_t *obj, const lv_obj_t *base, lv_align_t align, lv_coord_t x_ofs,
                     lv_coord_t y_ofs) {
    lv_obj_update_layout(obj);
    lv_obj_t *parent = lv_obj_get_parent(obj);
    if (base == NULL)
        base = parent;
    if (parent == NULL || base == NULL)
        return;
    /* Turn base-relative into a position in the parent's (scrolled) content area, stored once. */
    lv_coord_t pos[2];
    for (int axis = 0; axis < 2; axis++) {
        bool hor = axis == 0;
        lv_coord_t base_at = hor ? base->coords.x1 : base->coords.y1;
        lv_coord_t parent_at = hor ? parent->coords.x1 : parent->coords.y1;
        lv_coord_t scrolled = hor ? lv_obj_get_scroll_left(parent) : lv_obj_get_scroll_top(parent);
        lv_coord_t content_at = parent_at + border_of(parent) + pad_lead(parent, hor);
        pos[axis] =
            offset_at(obj, base, align, hor) + (hor ? x_ofs : y_ofs) + base_at - content_at + scrolled;
    }
    lv_obj_set_style_align(obj, LV_ALIGN_TOP_LEFT, 0);
    lv_obj_set_pos(obj, pos[0], pos[1]);
}

/* ---- getters ---- */

void lv_obj_get_coords(const lv_obj_t *obj, lv_area_t *coords) {
    *coords = obj->coords;
}

/* Position relative to the parent's content area, as if the parent were not scrolled. */
static lv_coord_t rel_pos(const lv_obj_t *obj, bool hor) {
    const lv_obj_t *parent = lv_obj_get_parent(obj);
    lv_coord_t at = hor ? obj->coords.x1 : obj->coords.y1;
    if (parent == NULL)
        return at;
    lv_coord_t parent_at = hor ? parent->coords.x1 : parent->coords.y1;
    lv_coord_t scrolled = hor ? lv_obj_get_scroll_x(parent) : lv_obj_get_scroll_y(parent);
    return at - parent_at - border_of(parent) - pad_lead(parent, hor) + scrolled;
}

lv_coord_t lv_obj_get_x(const lv_obj_t *obj) {
    return rel_pos(obj, true);
}

lv_coord_t lv_obj_get_x2(const lv_obj_t *obj) {
    return rel_pos(obj, true) + extent(obj, true);
}

lv_coord_t lv_obj_get_y(const lv_obj_t *obj) {
    return rel_pos(obj, false);
}

lv_coord_t lv_obj_get_y2(const lv_obj_t *obj) {
    return rel_pos(obj, false) + extent(obj, false);
}

lv_coord_t lv_obj_get_x_aligned(const lv_obj_t *obj) {
    return lv_obj_get_style_x(obj, LV_PART_MAIN);
}

lv_coord_t lv_obj_get_y_aligned(const lv_obj_t *obj) {
    return lv_obj_get_style_y(obj, LV_PART_MAIN);
}

lv_coord_t lv_obj_get_width(const lv_obj_t *obj) {
    return obj->coords.x2 - obj->coords.x1 + 1;
}

lv_coord_t lv_obj_get_height(const lv_obj_t *obj) {
    return obj->coords.y2 - obj->coords.y1 + 1;
}

lv_coord_t lv_obj_get_content_width(const lv_obj_t *obj) {
    return content_len(obj, true);
}

lv_coord_t lv_obj_get_content_height(const lv_obj_t *obj) {
    return content_len(obj, false);
}

void lv_obj_get_content_coords(const lv_obj_t *obj, lv_area_t *area) {
    lv_coord_t b = border_of(obj);
    area->x1 = obj->coords.x1 + b + pad_lead(obj, true);
    area->y1 = obj->coords.y1 + b + pad_lead(obj, false);
    area->x2 = obj->coords.x2 - b - pad_trail(obj, true);
    area->y2 = obj->coords.y2 - b - pad_trail(obj, false);
}

/* What the widget itself needs (a label's text, an image), asked through GET_SELF_SIZE. */
static lv_point_t self_size(const lv_obj_t *obj) {
    lv_point_t need = {0, 0};
    lv_event_send((lv_obj_t *)obj, LV_EVENT_GET_SELF_SIZE, &need);
    return need;
}

lv_coord_t lv_obj_get_self_width(const lv_obj_t *obj) {
    return self_size(obj).x;
}

lv_coord_t lv_obj_get_self_height(const lv_obj_t *obj) {
    return self_size(obj).y;
}

bool lv_obj_refresh_self_size(lv_obj_t *obj) {
    bool content_sized = lv_obj_get_style_width(obj, LV_PART_MAIN) == LV_SIZE_CONTENT ||
                         lv_obj_get_style_height(obj, LV_PART_MAIN) == LV_SIZE_CONTENT;
    if (content_sized)
        lv_obj_mark_layout_as_dirty(obj);
    return content_sized;
}

lv_coord_t lv_clamp_width(lv_coord_t width, lv_coord_t min_width, lv_coord_t max_width,
                          lv_coord_t ref_width) {
    lv_coord_t lo = pct_of(min_width, ref_width);
    lv_coord_t hi = pct_of(max_width, ref_width);
    return LV_MAX(lo, LV_MIN(width, hi));
}

lv_coord_t lv_clamp_height(lv_coord_t height, lv_coord_t min_height, lv_coord_t max_height,
                           lv_coord_t ref_height) {
    return lv_clamp_width(height, min_height, max_height, ref_height);
}

/* ---- sizes and positions ---- */

/* One axis of the size the styles ask for: content, a percentage of the parent's content, or pixels,
 * then limited by the min and max styles. */
static lv_coord_t wanted_size(lv_obj_t *obj, lv_obj_t *parent, bool hor, bool *by_content) {
    lv_coord_t v =
        hor ? lv_obj_get_style_width(obj, LV_PART_MAIN) : lv_obj_get_style_height(obj, LV_PART_MAIN);
    lv_coord_t room = content_len(parent, hor);
    *by_content = v == LV_SIZE_CONTENT;
    if (*by_content) {
        v = content_extent(obj, hor);
    } else if (LV_COORD_IS_PCT(v)) {
        lv_coord_t parent_style = hor ? lv_obj_get_style_width(parent, LV_PART_MAIN)
                                      : lv_obj_get_style_height(parent, LV_PART_MAIN);
        bool parent_by_layout = hor ? parent->w_layout : parent->h_layout;
        /* A percentage of a content-sized parent would be circular: only the frame counts. */
        if (parent_style == LV_SIZE_CONTENT && !parent_by_layout)
            v = frame(obj, hor);
        else
            v = pct_of(v, room);
    }
    lv_coord_t lo =
        hor ? lv_obj_get_style_min_width(obj, LV_PART_MAIN) : lv_obj_get_style_min_height(obj, LV_PART_MAIN);
    lv_coord_t hi =
        hor ? lv_obj_get_style_max_width(obj, LV_PART_MAIN) : lv_obj_get_style_max_height(obj, LV_PART_MAIN);
    return lv_clamp_width(v, lo, hi, room);
}

bool lv_obj_refr_size(lv_obj_t *obj) {
    /* A layout that sets both sides has the last word. */
    if (obj->w_layout && obj->h_layout)
        return false;
    lv_obj_t *parent = lv_obj_get_parent(obj);
    if (parent == NULL)
        return false;
    lv_point_t scrolled = {lv_obj_get_scroll_left(obj), lv_obj_get_scroll_top(obj)};
    bool w_content = false, h_content = false;
    lv_coord_t w = obj->w_layout ? lv_obj_get_width(obj) : wanted_size(obj, parent, true, &w_content);
    lv_coord_t h = obj->h_layout ? lv_obj_get_height(obj) : wanted_size(obj, parent, false, &h_content);
    /* Measuring the content scrolled it back to the start: restore the scroll position. */
    if (w_content || h_content)
        lv_obj_scroll_to(obj, scrolled.x, scrolled.y, LV_ANIM_OFF);
    if (w == lv_obj_get_width(obj) && h == lv_obj_get_height(obj))
        return false;
    lv_area_t before = obj->coords;
    lv_obj_invalidate(obj);
    obj->coords.x2 = before.x1 + w - 1;
    obj->coords.y2 = before.y1 + h - 1;
    lv_event_send(obj, LV_EVENT_SIZE_CHANGED, &before);
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
    lv_coord_t xy[2] = {lv_obj_get_style_x(obj, LV_PART_MAIN), lv_obj_get_style_y(obj, LV_PART_MAIN)};
    if (parent == NULL) {
        lv_obj_move_to(obj, xy[0], xy[1]);
        return;
    }
    lv_coord_t shift[2] = {lv_obj_get_style_translate_x(obj, LV_PART_MAIN),
                           lv_obj_get_style_translate_y(obj, LV_PART_MAIN)};
    enum place how[2];
    lv_align_t align = lv_obj_get_style_align(obj, LV_PART_MAIN);
    if (is_outside_align(align))
        align = LV_ALIGN_DEFAULT; /* outer alignments mean nothing within the parent */
    placement(align, &how[0], &how[1]);
    for (int axis = 0; axis < 2; axis++) {
        bool hor = axis == 0;
        lv_coord_t room = content_len(parent, hor);
        lv_coord_t size = extent(obj, hor);
        /* Percentages: of the parent's content for the position, of the object itself for the shift. */
        xy[axis] = pct_of(xy[axis], room) + pct_of(shift[axis], size) + place(how[axis], room, size);
    }
    lv_obj_move_to(obj, xy[0], xy[1]);
}

void lv_obj_move_to(lv_obj_t *obj, lv_coord_t x, lv_coord_t y) {
    lv_obj_t *parent = obj->parent;
    if (parent != NULL) {
        /* From the parent's content area to the screen; floating objects ignore the parent's scroll. */
        lv_coord_t b = border_of(parent);
        x += parent->coords.x1 + b + pad_lead(parent, true);
        y += parent->coords.y1 + b + pad_lead(parent, false);
        if (!lv_obj_has_flag(obj, LV_OBJ_FLAG_FLOATING)) {
            x -= lv_obj_get_scroll_x(parent);
            y -= lv_obj_get_scroll_y(parent);
        }
    }
    lv_coord_t dx = x - obj->coords.x1;
    lv_coord_t dy = y - obj->coords.y1;
    if (dx == 0 && dy == 0)
        return;
    lv_obj_invalidate(obj);
    lv_area_move(&obj->coords, dx, dy);
    lv_obj_move_children_by(obj, dx, dy, false);
    if (parent != NULL)
        lv_event_send(parent, LV_EVENT_CHILD_CHANGED, obj);
    lv_obj_invalidate(obj);
}

void lv_obj_move_children_by(lv_obj_t *obj, lv_coord_t x_diff, lv_coord_t y_diff, bool ignore_floating) {
    uint32_t n = lv_obj_get_child_cnt(obj);
    for (uint32_t i = 0; i < n; i++) {
        lv_obj_t *child = obj->spec_attr->children[i];
        if (ignore_floating && lv_obj_has_flag(child, LV_OBJ_FLAG_FLOATING))
            continue;
        lv_area_move(&child->coords, x_diff, y_diff);
        /* Everything below moves with the child, floating or not. */
        lv_obj_move_children_by(child, x_diff, y_diff, false);
    }
}

/* ---- visibility and invalidation ---- */

/* obj's box grown by what it draws outside it (shadows, outlines). */
static lv_area_t drawn_area(const lv_obj_t *obj) {
    lv_area_t a = obj->coords;
    lv_coord_t ext = _lv_obj_get_ext_draw_size(obj);
    lv_area_increase(&a, ext, ext);
    return a;
}

void lv_obj_invalidate_area(const lv_obj_t *obj, const lv_area_t *area) {
    lv_disp_t *disp = lv_obj_get_disp(obj);
    if (!lv_disp_is_invalidation_enabled(disp))
        return;
    lv_area_t visible = *area;
    if (lv_obj_area_is_visible(obj, &visible))
        _lv_inv_area(disp, &visible);
}

void lv_obj_invalidate(const lv_obj_t *obj) {
    lv_area_t a = drawn_area(obj);
    lv_obj_invalidate_area(obj, &a);
}

/* Is obj's screen one that is drawn: the active or previous screen or one of the layers? */
static bool on_shown_screen(const lv_obj_t *obj) {
    lv_obj_t *scr = lv_obj_get_screen(obj);
    lv_disp_t *disp = lv_obj_get_disp(scr);
    if (disp == NULL)
        return false;
    return scr == lv_disp_get_scr_act(disp) || scr == lv_disp_get_scr_prev(disp) ||
           scr == lv_disp_get_layer_top(disp) || scr == lv_disp_get_layer_sys(disp);
}

bool lv_obj_area_is_visible(const lv_obj_t *obj, lv_area_t *area) {
    if (lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN) || !on_shown_screen(obj))
        return false;
    if (!lv_obj_has_flag(obj, LV_OBJ_FLAG_OVERFLOW_VISIBLE)) {
        lv_area_t own = drawn_area(obj);
        if (!_lv_area_intersect(area, area, &own))
            return false;
    }
    /* Children are clipped to their ancestors (unless these let them overflow) and hidden with them. */
    for (const lv_obj_t *up = lv_obj_get_parent(obj); up != NULL; up = lv_obj_get_parent(up)) {
        if (lv_obj_has_flag(up, LV_OBJ_FLAG_HIDDEN))
            return false;
        if (!lv_obj_has_flag(up, LV_OBJ_FLAG_OVERFLOW_VISIBLE) &&
            !_lv_area_intersect(area, area, &up->coords))
            return false;
    }
    return true;
}

bool lv_obj_is_visible(const lv_obj_t *obj) {
    lv_area_t a = drawn_area(obj);
    return lv_obj_area_is_visible(obj, &a);
}

/* ---- clicking ---- */

void lv_obj_set_ext_click_area(lv_obj_t *obj, lv_coord_t size) {
    lv_obj_allocate_spec_attr(obj);
    obj->spec_attr->ext_click_pad = size;
}

void lv_obj_get_click_area(const lv_obj_t *obj, lv_area_t *area) {
    *area = obj->coords;
    lv_coord_t ext = obj->spec_attr ? obj->spec_attr->ext_click_pad : 0;
    lv_area_increase(area, ext, ext);
}

bool lv_obj_hit_test(lv_obj_t *obj, const lv_point_t *point) {
    if (!lv_obj_has_flag(obj, LV_OBJ_FLAG_CLICKABLE) || lv_obj_has_state(obj, LV_STATE_DISABLED))
        return false;
    lv_area_t a;
    lv_obj_get_click_area(obj, &a);
    if (!_lv_area_is_point_on(&a, point, 0))
        return false;
    if (!lv_obj_has_flag(obj, LV_OBJ_FLAG_ADV_HITTEST))
        return true;
    /* The widget refines the test (a round button, for instance). */
    lv_hit_test_info_t info = {.point = point, .res = true};
    lv_event_send(obj, LV_EVENT_HIT_TEST, &info);
    return info.res;
}

/* ---- the layout pass ---- */

static void run_layout(lv_obj_t *obj) {
    uint32_t id = lv_obj_get_style_layout(obj, LV_PART_MAIN);
    if (id == 0 || id > layouts_len)
        return;
    const lv_layout_dsc_t *dsc = &layouts[id - 1];
    dsc->cb(obj, dsc->user_data);
}

/* Children first, then the object itself if it is dirty: size, position, then its layout. */
static void relayout(lv_obj_t *obj) {
    uint32_t n = lv_obj_get_child_cnt(obj);
    for (uint32_t i = 0; i < n; i++)
        relayout(obj->spec_attr->children[i]);
    if (!obj->layout_inv)
        return;
    obj->layout_inv = 0;
    lv_obj_refr_size(obj);
    lv_obj_refr_pos(obj);
    if (n > 0)
        run_layout(obj);
}

/* Does a child aligned this way grow its parent's content along the axis from its far edge? Only
 * start-aligned ones do; centred and end-aligned ones count by their size alone, and only without an
 * offset (else the size would feed back into the position). */
static bool start_aligned(lv_align_t align, bool hor) {
    enum place h, v;
    placement(align, &h, &v);
    return (hor ? h : v) == PLACE_START && !is_outside_align(align);
}

/* Content extent along one axis (frame included): the farthest child edge, or the widget's own
 * content, whichever is larger. Measured scrolled back to the start. */
static lv_coord_t content_extent(lv_obj_t *obj, bool hor) {
    if (hor)
        lv_obj_scroll_to_x(obj, 0, LV_ANIM_OFF);
    else
        lv_obj_scroll_to_y(obj, 0, LV_ANIM_OFF);
    lv_coord_t lead = border_of(obj) + pad_lead(obj, hor);
    lv_coord_t trail = border_of(obj) + pad_trail(obj, hor);
    lv_coord_t own = (hor ? lv_obj_get_self_width(obj) : lv_obj_get_self_height(obj)) + lead + trail;
    lv_coord_t origin = hor ? obj->coords.x1 : obj->coords.y1;
    lv_coord_t reach = LV_COORD_MIN;
    uint32_t n = lv_obj_get_child_cnt(obj);
    for (uint32_t i = 0; i < n; i++) {
        const lv_obj_t *child = obj->spec_attr->children[i];
        if (lv_obj_has_flag_any(child, LV_OBJ_FLAG_HIDDEN | LV_OBJ_FLAG_FLOATING))
            continue;
        lv_coord_t far_edge = (hor ? child->coords.x2 : child->coords.y2) - origin + 1;
        if (lv_obj_is_layout_positioned(child) || start_aligned(lv_obj_get_style_align(child, 0), hor)) {
            reach = LV_MAX(reach, far_edge);
        } else if ((hor ? lv_obj_get_style_x(child, 0) : lv_obj_get_style_y(child, 0)) == 0) {
            reach = LV_MAX(reach, extent(child, hor) + lead);
        }
    }
    return reach == LV_COORD_MIN ? own : LV_MAX(reach + trail, own);
}
