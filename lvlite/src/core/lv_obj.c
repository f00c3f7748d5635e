/**
 * @file lv_obj.c
 * The base class: construction, flags, states (with style transitions) and the base event handler, which
 * keeps the pressed/focused states, scrolls focused objects into view and draws the background.
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

#define MY_CLASS             &lv_obj_class
#define STYLE_TRANSITION_MAX 32

static void lv_obj_constructor(const lv_obj_class_t *class_p, lv_obj_t *obj);
static void lv_obj_destructor(const lv_obj_class_t *class_p, lv_obj_t *obj);
static void lv_obj_event(const lv_obj_class_t *class_p, lv_event_t *e);

const lv_obj_class_t lv_obj_class = {
    .base_class = NULL,
    .constructor_cb = lv_obj_constructor,
    .destructor_cb = lv_obj_destructor,
    .event_cb = lv_obj_event,
    .width_def = LV_DPI_DEF,
    .height_def = LV_DPI_DEF,
    .editable = LV_OBJ_CLASS_EDITABLE_FALSE,
    .group_def = LV_OBJ_CLASS_GROUP_DEF_FALSE,
    .instance_size = sizeof(lv_obj_t),
};

lv_obj_t *lv_obj_create(lv_obj_t *parent) {
    lv_obj_t *obj = lv_obj_class_create_obj(MY_CLASS, parent);
    if (obj == NULL)
        return NULL;
    lv_obj_class_init_obj(obj);
    return obj;
}

void lv_obj_add_flag(lv_obj_t *obj, lv_obj_flag_t f) {
    bool was_on_layout = lv_obj_is_layout_positioned(obj);
    if (f & LV_OBJ_FLAG_HIDDEN)
        lv_obj_invalidate(obj);
    obj->flags |= f;
    if (f & LV_OBJ_FLAG_HIDDEN)
        lv_obj_invalidate(obj);
    if ((was_on_layout != lv_obj_is_layout_positioned(obj)) ||
        (f & (LV_OBJ_FLAG_LAYOUT_1 | LV_OBJ_FLAG_LAYOUT_2))) {
        lv_obj_mark_layout_as_dirty(lv_obj_get_parent(obj));
        lv_obj_mark_layout_as_dirty(obj);
    }
    if (f & LV_OBJ_FLAG_SCROLLABLE) {
        lv_area_t hor_area, ver_area;
        lv_obj_get_scrollbar_area(obj, &hor_area, &ver_area);
        lv_obj_invalidate_area(obj, &hor_area);
        lv_obj_invalidate_area(obj, &ver_area);
    }
}

void lv_obj_clear_flag(lv_obj_t *obj, lv_obj_flag_t f) {
    bool was_on_layout = lv_obj_is_layout_positioned(obj);
    obj->flags &= ~f;
    if (f & LV_OBJ_FLAG_HIDDEN) {
        lv_obj_invalidate(obj);
        if (lv_obj_is_layout_positioned(obj)) {
            lv_obj_mark_layout_as_dirty(lv_obj_get_parent(obj));
            lv_obj_mark_layout_as_dirty(obj);
        }
    }
    if ((was_on_layout != lv_obj_is_layout_positioned(obj)) ||
        (f & (LV_OBJ_FLAG_LAYOUT_1 | LV_OBJ_FLAG_LAYOUT_2))) {
        lv_obj_mark_layout_as_dirty(lv_obj_get_parent(obj));
    }
}

/* Change the state; transitions of the styles that match the new state start. */
static void lv_obj_set_state(lv_obj_t *obj, lv_state_t new_state) {
    if (obj->state == new_state)
        return;
    lv_state_t prev_state = obj->state;
    _lv_style_state_cmp_t cmp_res = _lv_obj_style_state_compare(obj, prev_state, new_state);
    obj->state = new_state;
    if (cmp_res == _LV_STYLE_STATE_CMP_SAME)
        return;

    _lv_obj_style_transition_dsc_t ts[STYLE_TRANSITION_MAX];
    uint32_t tsi = 0;
    for (uint32_t i = 0; i < obj->style_cnt && tsi < STYLE_TRANSITION_MAX; i++) {
        _lv_obj_style_t *obj_style = &obj->styles[i];
        lv_state_t state_act = lv_obj_style_get_selector_state(obj_style->selector);
        lv_part_t part_act = lv_obj_style_get_selector_part(obj_style->selector);
        if (state_act & (~new_state))
            continue;
        if (obj_style->is_trans)
            continue;
        lv_style_value_t v;
        if (lv_style_get_prop(obj_style->style, LV_STYLE_TRANSITION, &v) != LV_STYLE_RES_FOUND)
            continue;
        const lv_style_transition_dsc_t *tr = v.ptr;
        if (tr == NULL || tr->props == NULL)
            continue;
        for (uint32_t j = 0; tr->props[j] != 0 && tsi < STYLE_TRANSITION_MAX; j++) {
            uint32_t t;
            for (t = 0; t < tsi; t++) {
                lv_state_t state_ts = lv_obj_style_get_selector_state(ts[t].selector);
                lv_part_t part_ts = lv_obj_style_get_selector_part(ts[t].selector);
                if (ts[t].prop == tr->props[j] && part_ts == part_act && state_ts >= state_act)
                    break;
            }
            if (t == tsi) {
                ts[tsi].time = (uint16_t)tr->time;
                ts[tsi].delay = (uint16_t)tr->delay;
                ts[tsi].path_cb = tr->path_xcb;
                ts[tsi].prop = tr->props[j];
#if LV_USE_USER_DATA
                ts[tsi].user_data = tr->user_data;
#endif
                ts[tsi].selector = obj_style->selector;
                tsi++;
            }
        }
    }
    for (uint32_t i = 0; i < tsi; i++) {
        lv_part_t part_act = lv_obj_style_get_selector_part(ts[i].selector);
        _lv_obj_style_create_transition(obj, part_act, prev_state, new_state, &ts[i]);
    }

    if (cmp_res == _LV_STYLE_STATE_CMP_DIFF_REDRAW) {
        lv_obj_invalidate(obj);
    } else if (cmp_res == _LV_STYLE_STATE_CMP_DIFF_LAYOUT) {
        lv_obj_refresh_style(obj, LV_PART_ANY, LV_STYLE_PROP_ANY);
    } else if (cmp_res == _LV_STYLE_STATE_CMP_DIFF_DRAW_PAD) {
        lv_obj_invalidate(obj);
        lv_obj_refresh_ext_draw_size(obj);
    }
}

void lv_obj_add_state(lv_obj_t *obj, lv_state_t state) {
    lv_state_t new_state = obj->state | state;
    if (obj->state != new_state)
        lv_obj_set_state(obj, new_state);
}

void lv_obj_clear_state(lv_obj_t *obj, lv_state_t state) {
    lv_state_t new_state = obj->state & (~state);
    if (obj->state != new_state)
        lv_obj_set_state(obj, new_state);
}

bool lv_obj_has_flag(const lv_obj_t *obj, lv_obj_flag_t f) {
    return (obj->flags & f) == f;
}

bool lv_obj_has_flag_any(const lv_obj_t *obj, lv_obj_flag_t f) {
    return (obj->flags & f) != 0;
}

lv_state_t lv_obj_get_state(const lv_obj_t *obj) {
    return obj->state;
}

bool lv_obj_has_state(const lv_obj_t *obj, lv_state_t state) {
    return (obj->state & state) != 0;
}

lv_group_t *lv_obj_get_group(const lv_obj_t *obj) {
    return obj->spec_attr ? obj->spec_attr->group_p : NULL;
}

void lv_obj_allocate_spec_attr(lv_obj_t *obj) {
    if (obj->spec_attr)
        return;
    obj->spec_attr = lv_mem_alloc(sizeof(_lv_obj_spec_attr_t));
    LV_ASSERT_MALLOC(obj->spec_attr);
    lv_memset_00(obj->spec_attr, sizeof(_lv_obj_spec_attr_t));
    obj->spec_attr->scroll_dir = LV_DIR_ALL;
    obj->spec_attr->scrollbar_mode = LV_SCROLLBAR_MODE_AUTO;
}

bool lv_obj_check_type(const lv_obj_t *obj, const lv_obj_class_t *class_p) {
    return obj && obj->class_p == class_p;
}

bool lv_obj_has_class(const lv_obj_t *obj, const lv_obj_class_t *class_p) {
    const lv_obj_class_t *c = obj->class_p;
    while (c) {
        if (c == class_p)
            return true;
        c = c->base_class;
    }
    return false;
}

const lv_obj_class_t *lv_obj_get_class(const lv_obj_t *obj) {
    return obj->class_p;
}

static bool obj_valid_child(const lv_obj_t *parent, const lv_obj_t *obj_to_find) {
    if (parent == obj_to_find)
        return true;
    uint32_t cnt = lv_obj_get_child_cnt(parent);
    for (uint32_t i = 0; i < cnt; i++) {
        if (obj_valid_child(parent->spec_attr->children[i], obj_to_find))
            return true;
    }
    return false;
}

bool lv_obj_is_valid(const lv_obj_t *obj) {
    if (obj == NULL)
        return false;
    lv_disp_t *disp = lv_disp_get_next(NULL);
    while (disp) {
        for (uint32_t i = 0; i < disp->screen_cnt; i++) {
            if (obj_valid_child(disp->screens[i], obj))
                return true;
        }
        disp = lv_disp_get_next(disp);
    }
    return false;
}

lv_coord_t lv_obj_dpx(const lv_obj_t *obj, lv_coord_t n) {
    lv_coord_t dpi = lv_disp_get_dpi(lv_obj_get_disp(obj));
    return n == 0 ? 0 : LV_MAX((dpi * n + 80) / 160, 1);
}

static void lv_obj_constructor(const lv_obj_class_t *class_p, lv_obj_t *obj) {
    LV_UNUSED(class_p);
    lv_obj_t *parent = obj->parent;
    if (parent) {
        lv_coord_t sl = lv_obj_get_scroll_left(parent);
        lv_coord_t st = lv_obj_get_scroll_top(parent);
        obj->coords.y1 = parent->coords.y1 + lv_obj_get_style_pad_top(parent, LV_PART_MAIN) - st;
        obj->coords.y2 = obj->coords.y1 - 1;
        obj->coords.x1 = parent->coords.x1 + lv_obj_get_style_pad_left(parent, LV_PART_MAIN) - sl;
        obj->coords.x2 = obj->coords.x1 - 1;
    }
    obj->flags = LV_OBJ_FLAG_CLICKABLE;
    obj->flags |= LV_OBJ_FLAG_SNAPPABLE;
    if (parent)
        obj->flags |= LV_OBJ_FLAG_PRESS_LOCK;
    if (parent)
        obj->flags |= LV_OBJ_FLAG_SCROLL_CHAIN;
    obj->flags |= LV_OBJ_FLAG_CLICK_FOCUSABLE;
    obj->flags |= LV_OBJ_FLAG_SCROLLABLE;
    obj->flags |= LV_OBJ_FLAG_SCROLL_ELASTIC;
    obj->flags |= LV_OBJ_FLAG_SCROLL_MOMENTUM;
    obj->flags |= LV_OBJ_FLAG_SCROLL_WITH_ARROW;
    if (parent)
        obj->flags |= LV_OBJ_FLAG_GESTURE_BUBBLE;
}

static void obj_del_async_cb(void *obj) {
    lv_obj_del(obj);
}

static void lv_obj_destructor(const lv_obj_class_t *class_p, lv_obj_t *obj) {
    LV_UNUSED(class_p);
    _lv_event_mark_deleted(obj);
    lv_obj_enable_style_refresh(false);
    lv_obj_remove_style_all(obj);
    lv_obj_enable_style_refresh(true);
    lv_anim_del(obj, NULL);
    /* A pending lv_obj_del_async of this object must not run on freed memory. */
    lv_async_call_cancel(obj_del_async_cb, obj);
    lv_group_t *group = lv_obj_get_group(obj);
    if (group)
        lv_group_remove_obj(obj);
    if (obj->spec_attr) {
        lv_mem_free(obj->spec_attr->children);
        obj->spec_attr->children = NULL;
        lv_mem_free(obj->spec_attr->event_dsc);
        obj->spec_attr->event_dsc = NULL;
        lv_mem_free(obj->spec_attr);
        obj->spec_attr = NULL;
    }
}

void lv_obj_del_async(lv_obj_t *obj) {
    lv_async_call(obj_del_async_cb, obj);
}

static void draw_main(lv_event_t *e) {
    lv_obj_t *obj = lv_event_get_target(e);
    lv_event_code_t code = lv_event_get_code(e);
    if (code == LV_EVENT_COVER_CHECK) {
        lv_cover_check_info_t *info = lv_event_get_param(e);
        if (info->res == LV_COVER_RES_MASKED)
            return;
        if (lv_obj_get_style_clip_corner(obj, LV_PART_MAIN)) {
            info->res = LV_COVER_RES_MASKED;
            return;
        }
        lv_coord_t r = lv_obj_get_style_radius(obj, LV_PART_MAIN);
        lv_coord_t w = lv_obj_get_style_transform_width(obj, LV_PART_MAIN);
        lv_coord_t h = lv_obj_get_style_transform_height(obj, LV_PART_MAIN);
        lv_area_t coords = obj->coords;
        coords.x1 -= w;
        coords.x2 += w;
        coords.y1 -= h;
        coords.y2 += h;
        if (!_lv_area_is_in(info->area, &coords, r) ||
            lv_obj_get_style_bg_opa(obj, LV_PART_MAIN) < LV_OPA_MAX ||
            lv_obj_get_style_blend_mode(obj, LV_PART_MAIN) != LV_BLEND_MODE_NORMAL ||
            lv_obj_get_style_opa(obj, LV_PART_MAIN) < LV_OPA_MAX) {
            info->res = LV_COVER_RES_NOT_COVER;
            return;
        }
        info->res = LV_COVER_RES_COVER;
    } else if (code == LV_EVENT_DRAW_MAIN) {
        lv_draw_ctx_t *draw_ctx = lv_event_get_draw_ctx(e);
        lv_draw_rect_dsc_t draw_dsc;
        lv_draw_rect_dsc_init(&draw_dsc);
        if (lv_obj_get_style_border_post(obj, LV_PART_MAIN))
            draw_dsc.border_post = 1;
        lv_obj_init_draw_rect_dsc(obj, LV_PART_MAIN, &draw_dsc);
        lv_coord_t w = lv_obj_get_style_transform_width(obj, LV_PART_MAIN);
        lv_coord_t h = lv_obj_get_style_transform_height(obj, LV_PART_MAIN);
        lv_area_t coords = obj->coords;
        coords.x1 -= w;
        coords.x2 += w;
        coords.y1 -= h;
        coords.y2 += h;
        lv_obj_draw_part_dsc_t part_dsc;
        lv_obj_draw_dsc_init(&part_dsc, draw_ctx);
        part_dsc.class_p = MY_CLASS;
        part_dsc.type = LV_OBJ_DRAW_PART_RECTANGLE;
        part_dsc.rect_dsc = &draw_dsc;
        part_dsc.draw_area = &coords;
        part_dsc.part = LV_PART_MAIN;
        lv_event_send(obj, LV_EVENT_DRAW_PART_BEGIN, &part_dsc);
        lv_draw_rect(draw_ctx, &draw_dsc, &coords);
        lv_event_send(obj, LV_EVENT_DRAW_PART_END, &part_dsc);
    } else if (code == LV_EVENT_DRAW_POST) {
        if (lv_obj_get_style_border_post(obj, LV_PART_MAIN)) {
            lv_draw_ctx_t *draw_ctx = lv_event_get_draw_ctx(e);
            lv_draw_rect_dsc_t draw_dsc;
            lv_draw_rect_dsc_init(&draw_dsc);
            draw_dsc.bg_opa = LV_OPA_TRANSP;
            draw_dsc.bg_img_opa = LV_OPA_TRANSP;
            draw_dsc.outline_opa = LV_OPA_TRANSP;
            draw_dsc.shadow_opa = LV_OPA_TRANSP;
            lv_obj_init_draw_rect_dsc(obj, LV_PART_MAIN, &draw_dsc);
            lv_area_t coords = obj->coords;
            lv_draw_rect(draw_ctx, &draw_dsc, &coords);
        }
    }
}

static void lv_obj_event(const lv_obj_class_t *class_p, lv_event_t *e) {
    LV_UNUSED(class_p);
    lv_event_code_t code = lv_event_get_code(e);
    lv_obj_t *obj = lv_event_get_current_target(e);
    if (code == LV_EVENT_PRESSED) {
        lv_obj_add_state(obj, LV_STATE_PRESSED);
    } else if (code == LV_EVENT_RELEASED) {
        lv_obj_clear_state(obj, LV_STATE_PRESSED);
        /* A click toggles a checkable object (pointer only: with a keypad the key does it). */
        lv_indev_t *indev = lv_indev_get_act();
        if (lv_indev_get_type(indev) == LV_INDEV_TYPE_POINTER &&
            lv_obj_has_flag(obj, LV_OBJ_FLAG_CHECKABLE) && !(indev->proc.types.pointer.scroll_obj)) {
            if (!(lv_obj_get_state(obj) & LV_STATE_CHECKED))
                lv_obj_add_state(obj, LV_STATE_CHECKED);
            else
                lv_obj_clear_state(obj, LV_STATE_CHECKED);
            if (lv_event_send(obj, LV_EVENT_VALUE_CHANGED, NULL) != LV_RES_OK)
                return;
        }
    } else if (code == LV_EVENT_PRESS_LOST) {
        lv_obj_clear_state(obj, LV_STATE_PRESSED);
    } else if (code == LV_EVENT_KEY) {
        if (lv_obj_has_flag(obj, LV_OBJ_FLAG_CHECKABLE)) {
            uint32_t c = lv_event_get_key(e);
            uint32_t old = lv_obj_get_state(obj) & LV_STATE_CHECKED;
            if (c == LV_KEY_RIGHT || c == LV_KEY_UP)
                lv_obj_add_state(obj, LV_STATE_CHECKED);
            else if (c == LV_KEY_LEFT || c == LV_KEY_DOWN)
                lv_obj_clear_state(obj, LV_STATE_CHECKED);
            if ((lv_obj_get_state(obj) & LV_STATE_CHECKED) != old) {
                if (lv_event_send(obj, LV_EVENT_VALUE_CHANGED, NULL) != LV_RES_OK)
                    return;
            }
        }
    } else if (code == LV_EVENT_FOCUSED) {
        if (lv_obj_has_flag(obj, LV_OBJ_FLAG_SCROLL_ON_FOCUS))
            lv_obj_scroll_to_view_recursive(obj, LV_ANIM_ON);
        bool editing = lv_group_get_editing(lv_obj_get_group(obj));
        lv_state_t state = LV_STATE_FOCUSED;
        lv_indev_t *indev = lv_indev_get_act();
        if (indev == NULL)
            indev = lv_event_get_indev(e);
        lv_indev_type_t indev_type = lv_indev_get_type(indev);
        if (indev_type == LV_INDEV_TYPE_KEYPAD || indev_type == LV_INDEV_TYPE_ENCODER)
            state |= LV_STATE_FOCUS_KEY;
        if (editing) {
            state |= LV_STATE_EDITED;
            lv_obj_add_state(obj, state);
        } else {
            lv_obj_add_state(obj, state);
            lv_obj_clear_state(obj, LV_STATE_EDITED);
        }
    } else if (code == LV_EVENT_SCROLL_BEGIN) {
        lv_obj_add_state(obj, LV_STATE_SCROLLED);
    } else if (code == LV_EVENT_SCROLL_END) {
        lv_obj_clear_state(obj, LV_STATE_SCROLLED);
    } else if (code == LV_EVENT_DEFOCUSED) {
        lv_obj_clear_state(obj, LV_STATE_FOCUSED | LV_STATE_EDITED | LV_STATE_FOCUS_KEY);
    } else if (code == LV_EVENT_SIZE_CHANGED) {
        lv_coord_t align = lv_obj_get_style_align(obj, LV_PART_MAIN);
        uint16_t layout = (uint16_t)lv_obj_get_style_layout(obj, LV_PART_MAIN);
        if (layout || align)
            lv_obj_mark_layout_as_dirty(obj);
        uint32_t cnt = lv_obj_get_child_cnt(obj);
        for (uint32_t i = 0; i < cnt; i++) {
            lv_obj_t *child = obj->spec_attr->children[i];
            lv_obj_mark_layout_as_dirty(child);
        }
    } else if (code == LV_EVENT_CHILD_CHANGED) {
        lv_coord_t w = lv_obj_get_style_width(obj, LV_PART_MAIN);
        lv_coord_t h = lv_obj_get_style_height(obj, LV_PART_MAIN);
        lv_coord_t align = lv_obj_get_style_align(obj, LV_PART_MAIN);
        uint16_t layout = (uint16_t)lv_obj_get_style_layout(obj, LV_PART_MAIN);
        if (layout || align || w == LV_SIZE_CONTENT || h == LV_SIZE_CONTENT)
            lv_obj_mark_layout_as_dirty(obj);
    } else if (code == LV_EVENT_STYLE_CHANGED) {
        /* Padding, border or text changes move the children. */
        uint32_t cnt = lv_obj_get_child_cnt(obj);
        for (uint32_t i = 0; i < cnt; i++)
            lv_obj_mark_layout_as_dirty(obj->spec_attr->children[i]);
        lv_obj_refresh_ext_draw_size(obj);
    } else if (code == LV_EVENT_REFR_EXT_DRAW_SIZE) {
        lv_coord_t d = lv_obj_calculate_ext_draw_size(obj, LV_PART_MAIN);
        lv_event_set_ext_draw_size(e, d);
    } else if (code == LV_EVENT_DRAW_MAIN || code == LV_EVENT_DRAW_POST || code == LV_EVENT_COVER_CHECK) {
        draw_main(e);
    }
}

static bool lv_initialized;

void lv_init(void) {
    if (lv_initialized) {
        LV_LOG_WARN("lv_init: already initialized");
        return;
    }
    lv_mem_init();
    _lv_timer_core_init();
    _lv_fs_init();
    _lv_anim_core_init();
    _lv_group_init();
    lv_draw_init();
    _lv_obj_style_init();
    _lv_refr_init();
    _lv_img_decoder_init();
    lv_img_cache_set_size(LV_IMG_CACHE_DEF_SIZE);
    lv_extra_init();
    lv_initialized = true;
}

bool lv_is_initialized(void) {
    return lv_initialized;
}
