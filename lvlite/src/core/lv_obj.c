/**
 * @file lv_obj.c
 * The base object class: start-up of the library, flags and states, and the base class's own event
 * handling (pressed/checked/focused states, layout bookkeeping, drawing the rectangle of MAIN).
 */
#include "lv_obj.h"
#include "lv_disp.h"
#include "lv_indev.h"
#include "lv_refr.h"
#include "../extra/lv_extra.h"
#include "../misc/lv_async.h"
#include "../misc/lv_fs.h"
#include "../misc/lv_math.h"
#include "../misc/lv_mem.h"

#include <string.h>

static void base_construct(const lv_obj_class_t *cls, lv_obj_t *obj);
static void base_destruct(const lv_obj_class_t *cls, lv_obj_t *obj);
static void base_event(const lv_obj_class_t *cls, lv_event_t *e);

const lv_obj_class_t lv_obj_class = {
    .instance_size = sizeof(lv_obj_t),
    .width_def = LV_DPI_DEF,
    .height_def = LV_DPI_DEF,
    .group_def = LV_OBJ_CLASS_GROUP_DEF_FALSE,
    .editable = LV_OBJ_CLASS_EDITABLE_FALSE,
    .event_cb = base_event,
    .constructor_cb = base_construct,
    .destructor_cb = base_destruct,
};

/* ---- start-up ---- */

static bool started;

static void default_image_cache(void) {
    lv_img_cache_set_size(LV_IMG_CACHE_DEF_SIZE);
}

/* In order: memory and time first, since the modules after them allocate and start timers. */
static void (*const startup_steps[])(void) = {
    lv_mem_init,         _lv_timer_core_init, _lv_anim_core_init, _lv_fs_init,
    _lv_group_init,      _lv_obj_style_init,  lv_draw_init,       _lv_img_decoder_init,
    default_image_cache, _lv_refr_init,       lv_extra_init,
};

void lv_init(void) {
    if (started) {
        LV_LOG_WARN("lv_init: the library is already started");
        return;
    }
    for (size_t i = 0; i < sizeof(startup_steps) / sizeof(startup_steps[0]); i++)
        startup_steps[i]();
    started = true;
}

bool lv_is_initialized(void) {
    return started;
}

lv_obj_t *lv_obj_create(lv_obj_t *parent) {
    lv_obj_t *obj = lv_obj_class_create_obj(&lv_obj_class, parent);
    if (obj != NULL)
        lv_obj_class_init_obj(obj);
    return obj;
}

/* ---- flags ---- */

static const lv_obj_flag_t layout_flags = LV_OBJ_FLAG_LAYOUT_1 | LV_OBJ_FLAG_LAYOUT_2;

static void relayout_around(lv_obj_t *obj, bool self_too) {
    lv_obj_mark_layout_as_dirty(lv_obj_get_parent(obj));
    if (self_too)
        lv_obj_mark_layout_as_dirty(obj);
}

void lv_obj_add_flag(lv_obj_t *obj, lv_obj_flag_t f) {
    bool placed_before = lv_obj_is_layout_positioned(obj);
    bool hiding = (f & LV_OBJ_FLAG_HIDDEN) != 0;
    if (hiding)
        lv_obj_invalidate(obj);
    obj->flags |= f;
    if (hiding)
        lv_obj_invalidate(obj);
    if (placed_before != lv_obj_is_layout_positioned(obj) || (f & layout_flags) != 0)
        relayout_around(obj, true);
    if (f & LV_OBJ_FLAG_SCROLLABLE) {
        /* Scroll bars may appear. */
        lv_area_t bars[2];
        lv_obj_get_scrollbar_area(obj, &bars[0], &bars[1]);
        lv_obj_invalidate_area(obj, &bars[0]);
        lv_obj_invalidate_area(obj, &bars[1]);
    }
}

void lv_obj_clear_flag(lv_obj_t *obj, lv_obj_flag_t f) {
    bool placed_before = lv_obj_is_layout_positioned(obj);
    obj->flags &= ~f;
    bool placed_now = lv_obj_is_layout_positioned(obj);
    if ((f & LV_OBJ_FLAG_HIDDEN) != 0) {
        lv_obj_invalidate(obj);
        if (placed_now)
            relayout_around(obj, true);
    }
    if (placed_before != placed_now || (f & layout_flags) != 0)
        relayout_around(obj, false);
}

bool lv_obj_has_flag(const lv_obj_t *obj, lv_obj_flag_t f) {
    return (obj->flags & f) == f;
}

bool lv_obj_has_flag_any(const lv_obj_t *obj, lv_obj_flag_t f) {
    return (obj->flags & f) != 0;
}

/* ---- states ---- */

static void change_state(lv_obj_t *obj, lv_state_t to) {
    lv_state_t from = obj->state;
    if (from == to)
        return;
    obj->state = to;
    _lv_obj_style_state_changed(obj, from);
}

void lv_obj_add_state(lv_obj_t *obj, lv_state_t state) {
    change_state(obj, (lv_state_t)(obj->state | state));
}

void lv_obj_clear_state(lv_obj_t *obj, lv_state_t state) {
    change_state(obj, (lv_state_t)(obj->state & ~state));
}

lv_state_t lv_obj_get_state(const lv_obj_t *obj) {
    return obj->state;
}

bool lv_obj_has_state(const lv_obj_t *obj, lv_state_t state) {
    return (obj->state & state) != 0;
}

/* ---- other attributes ---- */

lv_group_t *lv_obj_get_group(const lv_obj_t *obj) {
    return obj->spec_attr != NULL ? obj->spec_attr->group_p : NULL;
}

void lv_obj_allocate_spec_attr(lv_obj_t *obj) {
    if (obj->spec_attr != NULL)
        return;
    _lv_obj_spec_attr_t *sa = lv_mem_alloc(sizeof(*sa));
    LV_ASSERT_MALLOC(sa);
    if (sa == NULL)
        return;
    memset(sa, 0, sizeof(*sa));
    sa->scrollbar_mode = LV_SCROLLBAR_MODE_AUTO;
    sa->scroll_dir = LV_DIR_ALL;
    obj->spec_attr = sa;
}

bool lv_obj_check_type(const lv_obj_t *obj, const lv_obj_class_t *class_p) {
    return obj != NULL && obj->class_p == class_p;
}

bool lv_obj_has_class(const lv_obj_t *obj, const lv_obj_class_t *class_p) {
    for (const lv_obj_class_t *c = obj->class_p; c != NULL; c = c->base_class) {
        if (c == class_p)
            return true;
    }
    return false;
}

const lv_obj_class_t *lv_obj_get_class(const lv_obj_t *obj) {
    return obj->class_p;
}

static bool subtree_holds(const lv_obj_t *root, const lv_obj_t *obj) {
    if (root == obj)
        return true;
    for (uint32_t n = 0; n < lv_obj_get_child_cnt(root); n++) {
        if (subtree_holds(root->spec_attr->children[n], obj))
            return true;
    }
    return false;
}

bool lv_obj_is_valid(const lv_obj_t *obj) {
    if (obj == NULL)
        return false;
    for (lv_disp_t *d = lv_disp_get_next(NULL); d != NULL; d = lv_disp_get_next(d)) {
        for (uint32_t n = 0; n < d->screen_cnt; n++) {
            if (subtree_holds(d->screens[n], obj))
                return true;
        }
    }
    return false;
}

lv_coord_t lv_obj_dpx(const lv_obj_t *obj, lv_coord_t n) {
    if (n == 0)
        return 0;
    /* n pixels at 160 dpi, rounded, at least one. */
    int32_t dpi = lv_disp_get_dpi(lv_obj_get_disp(obj));
    int32_t px = (dpi * n + 80) / 160;
    return (lv_coord_t)(px < 1 ? 1 : px);
}

/* ---- construction and destruction ---- */

static void base_construct(const lv_obj_class_t *cls, lv_obj_t *obj) {
    LV_UNUSED(cls);
    lv_obj_flag_t f = LV_OBJ_FLAG_CLICKABLE | LV_OBJ_FLAG_CLICK_FOCUSABLE | LV_OBJ_FLAG_SNAPPABLE |
                      LV_OBJ_FLAG_SCROLLABLE | LV_OBJ_FLAG_SCROLL_ELASTIC | LV_OBJ_FLAG_SCROLL_MOMENTUM |
                      LV_OBJ_FLAG_SCROLL_WITH_ARROW;
    lv_obj_t *parent = obj->parent;
    if (parent != NULL) {
        f |= LV_OBJ_FLAG_PRESS_LOCK | LV_OBJ_FLAG_SCROLL_CHAIN | LV_OBJ_FLAG_GESTURE_BUBBLE;
        /* Empty, at the top left corner of the parent's content until the layout places it. */
        lv_coord_t x = parent->coords.x1 + lv_obj_get_style_pad_left(parent, LV_PART_MAIN) -
                       lv_obj_get_scroll_left(parent);
        lv_coord_t y = parent->coords.y1 + lv_obj_get_style_pad_top(parent, LV_PART_MAIN) -
                       lv_obj_get_scroll_top(parent);
        lv_area_set(&obj->coords, x, y, x - 1, y - 1);
    }
    obj->flags = f;
}

static void del_later_cb(void *obj) {
    lv_obj_del(obj);
}

void lv_obj_del_async(lv_obj_t *obj) {
    lv_async_call(del_later_cb, obj);
}

static void base_destruct(const lv_obj_class_t *cls, lv_obj_t *obj) {
    LV_UNUSED(cls);
    _lv_event_mark_deleted(obj);
    lv_anim_del(obj, NULL);
    _lv_obj_style_drop_all(obj);
    /* A pending lv_obj_del_async of this object must not run on freed memory. */
    lv_async_call_cancel(del_later_cb, obj);
    if (lv_obj_get_group(obj) != NULL)
        lv_group_remove_obj(obj);
    _lv_obj_spec_attr_t *sa = obj->spec_attr;
    if (sa != NULL) {
        obj->spec_attr = NULL;
        lv_mem_free(sa->event_dsc);
        lv_mem_free(sa->children);
        lv_mem_free(sa);
    }
}

/* ---- drawing MAIN ---- */

/* The object's rectangle, grown by the transform width and height. */
static lv_area_t drawn_area(lv_obj_t *obj) {
    lv_area_t a = obj->coords;
    lv_area_increase(&a, lv_obj_get_style_transform_width(obj, LV_PART_MAIN),
                     lv_obj_get_style_transform_height(obj, LV_PART_MAIN));
    return a;
}

static void check_cover(lv_obj_t *obj, lv_cover_check_info_t *info) {
    if (info->res == LV_COVER_RES_MASKED)
        return;
    if (lv_obj_get_style_clip_corner(obj, LV_PART_MAIN)) {
        info->res = LV_COVER_RES_MASKED;
        return;
    }
    lv_area_t a = drawn_area(obj);
    bool opaque = lv_obj_get_style_bg_opa(obj, LV_PART_MAIN) >= LV_OPA_MAX &&
                  lv_obj_get_style_opa(obj, LV_PART_MAIN) >= LV_OPA_MAX &&
                  lv_obj_get_style_blend_mode(obj, LV_PART_MAIN) == LV_BLEND_MODE_NORMAL;
    bool inside = _lv_area_is_in(info->area, &a, lv_obj_get_style_radius(obj, LV_PART_MAIN));
    info->res = opaque && inside ? LV_COVER_RES_COVER : LV_COVER_RES_NOT_COVER;
}

static void draw_body(lv_obj_t *obj, lv_draw_ctx_t *ctx) {
    lv_draw_rect_dsc_t rect;
    lv_draw_rect_dsc_init(&rect);
    /* A border drawn after the children is left out here. */
    rect.border_post = lv_obj_get_style_border_post(obj, LV_PART_MAIN) ? 1 : 0;
    lv_obj_init_draw_rect_dsc(obj, LV_PART_MAIN, &rect);
    lv_area_t a = drawn_area(obj);

    lv_obj_draw_part_dsc_t part;
    lv_obj_draw_dsc_init(&part, ctx);
    part.class_p = &lv_obj_class;
    part.part = LV_PART_MAIN;
    part.type = LV_OBJ_DRAW_PART_RECTANGLE;
    part.rect_dsc = &rect;
    part.draw_area = &a;
    lv_event_send(obj, LV_EVENT_DRAW_PART_BEGIN, &part);
    lv_draw_rect(ctx, &rect, &a);
    lv_event_send(obj, LV_EVENT_DRAW_PART_END, &part);
}

static void draw_late_border(lv_obj_t *obj, lv_draw_ctx_t *ctx) {
    if (!lv_obj_get_style_border_post(obj, LV_PART_MAIN))
        return;
    lv_draw_rect_dsc_t rect;
    lv_draw_rect_dsc_init(&rect);
    rect.bg_opa = rect.bg_img_opa = rect.outline_opa = rect.shadow_opa = LV_OPA_TRANSP;
    lv_obj_init_draw_rect_dsc(obj, LV_PART_MAIN, &rect);
    lv_draw_rect(ctx, &rect, &obj->coords);
}

/* ---- the base class's events ---- */

static bool pointer_click(void) {
    lv_indev_t *indev = lv_indev_get_act();
    return lv_indev_get_type(indev) == LV_INDEV_TYPE_POINTER && indev->proc.types.pointer.scroll_obj == NULL;
}

/* Set or clear CHECKED; VALUE_CHANGED when it changed. */
static void set_checked(lv_obj_t *obj, bool on) {
    if (lv_obj_has_state(obj, LV_STATE_CHECKED) == on)
        return;
    if (on)
        lv_obj_add_state(obj, LV_STATE_CHECKED);
    else
        lv_obj_clear_state(obj, LV_STATE_CHECKED);
    lv_event_send(obj, LV_EVENT_VALUE_CHANGED, NULL);
}

static void on_key(lv_obj_t *obj, uint32_t key) {
    if (!lv_obj_has_flag(obj, LV_OBJ_FLAG_CHECKABLE))
        return;
    if (key == LV_KEY_UP || key == LV_KEY_RIGHT)
        set_checked(obj, true);
    else if (key == LV_KEY_DOWN || key == LV_KEY_LEFT)
        set_checked(obj, false);
}

static void on_focused(lv_obj_t *obj, lv_event_t *e) {
    if (lv_obj_has_flag(obj, LV_OBJ_FLAG_SCROLL_ON_FOCUS))
        lv_obj_scroll_to_view_recursive(obj, LV_ANIM_ON);
    lv_indev_t *indev = lv_indev_get_act();
    lv_indev_type_t type = lv_indev_get_type(indev != NULL ? indev : lv_event_get_indev(e));
    lv_state_t add = LV_STATE_FOCUSED;
    if (type == LV_INDEV_TYPE_KEYPAD || type == LV_INDEV_TYPE_ENCODER)
        add |= LV_STATE_FOCUS_KEY;
    if (lv_group_get_editing(lv_obj_get_group(obj))) {
        lv_obj_add_state(obj, (lv_state_t)(add | LV_STATE_EDITED));
    } else {
        lv_obj_add_state(obj, add);
        lv_obj_clear_state(obj, LV_STATE_EDITED);
    }
}

static void relayout_children(lv_obj_t *obj) {
    for (uint32_t n = 0; n < lv_obj_get_child_cnt(obj); n++)
        lv_obj_mark_layout_as_dirty(obj->spec_attr->children[n]);
}

static bool places_itself(lv_obj_t *obj) {
    return lv_obj_get_style_layout(obj, LV_PART_MAIN) != 0 || lv_obj_get_style_align(obj, LV_PART_MAIN) != 0;
}

static void base_event(const lv_obj_class_t *cls, lv_event_t *e) {
    LV_UNUSED(cls);
    lv_obj_t *obj = lv_event_get_current_target(e);
    switch (lv_event_get_code(e)) {
    case LV_EVENT_PRESSED:
        lv_obj_add_state(obj, LV_STATE_PRESSED);
        break;
    case LV_EVENT_PRESS_LOST:
        lv_obj_clear_state(obj, LV_STATE_PRESSED);
        break;
    case LV_EVENT_RELEASED:
        lv_obj_clear_state(obj, LV_STATE_PRESSED);
        /* A pointer click toggles a checkable object; a keypad toggles it with keys. */
        if (lv_obj_has_flag(obj, LV_OBJ_FLAG_CHECKABLE) && pointer_click())
            set_checked(obj, !lv_obj_has_state(obj, LV_STATE_CHECKED));
        break;
    case LV_EVENT_KEY:
        on_key(obj, lv_event_get_key(e));
        break;
    case LV_EVENT_FOCUSED:
        on_focused(obj, e);
        break;
    case LV_EVENT_DEFOCUSED:
        lv_obj_clear_state(obj, LV_STATE_FOCUSED | LV_STATE_FOCUS_KEY | LV_STATE_EDITED);
        break;
    case LV_EVENT_SCROLL_BEGIN:
        lv_obj_add_state(obj, LV_STATE_SCROLLED);
        break;
    case LV_EVENT_SCROLL_END:
        lv_obj_clear_state(obj, LV_STATE_SCROLLED);
        break;
    case LV_EVENT_SIZE_CHANGED:
        if (places_itself(obj))
            lv_obj_mark_layout_as_dirty(obj);
        relayout_children(obj);
        break;
    case LV_EVENT_CHILD_CHANGED:
        /* A child's change matters to a layout, an alignment or a size that follows the content. */
        if (places_itself(obj) || lv_obj_get_style_width(obj, LV_PART_MAIN) == LV_SIZE_CONTENT ||
            lv_obj_get_style_height(obj, LV_PART_MAIN) == LV_SIZE_CONTENT)
            lv_obj_mark_layout_as_dirty(obj);
        break;
    case LV_EVENT_STYLE_CHANGED:
        /* Padding, border or text changes move the children. */
        relayout_children(obj);
        lv_obj_refresh_ext_draw_size(obj);
        break;
    case LV_EVENT_REFR_EXT_DRAW_SIZE:
        lv_event_set_ext_draw_size(e, lv_obj_calculate_ext_draw_size(obj, LV_PART_MAIN));
        break;
    case LV_EVENT_COVER_CHECK:
        check_cover(obj, lv_event_get_param(e));
        break;
    case LV_EVENT_DRAW_MAIN:
        draw_body(obj, lv_event_get_draw_ctx(e));
        break;
    case LV_EVENT_DRAW_POST:
        draw_late_border(obj, lv_event_get_draw_ctx(e));
        break;
    default:
        break;
    }
}
