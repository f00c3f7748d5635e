/**
 * @file lv_obj_style.c
 * An object's style list: transition styles first, then local styles, then added styles (newest first).
 */
#include "lv_obj.h"
#include "lv_disp.h"
#include "../misc/lv_ll.h"
#include "../misc/lv_math.h"
#include "../misc/lv_mem.h"

typedef struct {
    lv_obj_t *obj;
    lv_style_prop_t prop;
    lv_style_selector_t selector;
    lv_style_value_t start_value;
    lv_style_value_t end_value;
} trans_t;

static lv_ll_t trans_ll;
static bool style_refr = true;

static void refresh_children_style(lv_obj_t *obj);
static bool trans_del(lv_obj_t *obj, lv_part_t part, lv_style_prop_t prop, trans_t *tr_limit);
static void trans_anim_cb(void *_tr, int32_t v);
static void trans_anim_start_cb(lv_anim_t *a);
static void trans_anim_ready_cb(lv_anim_t *a);

void _lv_obj_style_init(void) {
    _lv_ll_init(&trans_ll, sizeof(trans_t));
}

static void insert_style(lv_obj_t *obj, uint32_t at, const lv_style_t *style, lv_style_selector_t selector,
                         bool is_local, bool is_trans) {
    _lv_obj_style_t *n = lv_mem_realloc(obj->styles, (obj->style_cnt + 1u) * sizeof(_lv_obj_style_t));
    LV_ASSERT_MALLOC(n);
    obj->styles = n;
    for (uint32_t j = obj->style_cnt; j > at; j--)
        obj->styles[j] = obj->styles[j - 1];
    lv_memset_00(&obj->styles[at], sizeof(_lv_obj_style_t));
    obj->styles[at].style = style;
    obj->styles[at].selector = selector;
    obj->styles[at].is_local = is_local;
    obj->styles[at].is_trans = is_trans;
    obj->style_cnt++;
}

static void remove_style_at(lv_obj_t *obj, uint32_t i) {
    if (obj->styles[i].is_local || obj->styles[i].is_trans) {
        lv_style_reset((lv_style_t *)obj->styles[i].style);
        lv_mem_free((void *)obj->styles[i].style);
    }
    for (uint32_t j = i; j + 1 < obj->style_cnt; j++)
        obj->styles[j] = obj->styles[j + 1];
    obj->style_cnt--;
    if (obj->style_cnt == 0) {
        lv_mem_free(obj->styles);
        obj->styles = NULL;
    }
}

void lv_obj_add_style(lv_obj_t *obj, lv_style_t *style, lv_style_selector_t selector) {
    trans_del(obj, selector, LV_STYLE_PROP_ANY, NULL);
    uint32_t i;
    for (i = 0; i < obj->style_cnt; i++) {
        if (!obj->styles[i].is_trans && !obj->styles[i].is_local)
            break;
    }
    insert_style(obj, i, style, selector, false, false);
    lv_obj_refresh_style(obj, selector, LV_STYLE_PROP_ANY);
}

void lv_obj_remove_style(lv_obj_t *obj, lv_style_t *style, lv_style_selector_t selector) {
    lv_state_t selector_state = lv_obj_style_get_selector_state(selector);
    lv_part_t selector_part = lv_obj_style_get_selector_part(selector);
    lv_style_prop_t prop = LV_STYLE_PROP_ANY;
    if (style && style->prop_cnt == 1)
        prop = style->props[0].prop;
    bool deleted = false;
    uint32_t i = 0;
    while (i < obj->style_cnt) {
        lv_state_t state_act = lv_obj_style_get_selector_state(obj->styles[i].selector);
        lv_part_t part_act = lv_obj_style_get_selector_part(obj->styles[i].selector);
        if ((state_act != selector_state && selector_state != LV_STATE_ANY) ||
            (part_act != selector_part && selector_part != LV_PART_ANY) ||
            (style && style != obj->styles[i].style)) {
            i++;
            continue;
        }
        if (obj->styles[i].is_trans)
            trans_del(obj, part_act, LV_STYLE_PROP_ANY, NULL);
        remove_style_at(obj, i);
        deleted = true;
    }
    if (deleted && prop != LV_STYLE_PROP_INV)
        lv_obj_refresh_style(obj, selector_part, prop);
}

static void report_style_change_core(void *style, lv_obj_t *obj) {
    for (uint32_t i = 0; i < obj->style_cnt; i++) {
        if (style == NULL || obj->styles[i].style == style) {
            lv_obj_refresh_style(obj, LV_PART_ANY, LV_STYLE_PROP_ANY);
            break;
        }
    }
    uint32_t cnt = lv_obj_get_child_cnt(obj);
    for (uint32_t i = 0; i < cnt; i++)
        report_style_change_core(style, obj->spec_attr->children[i]);
}

void lv_obj_report_style_change(lv_style_t *style) {
    if (!style_refr)
        return;
    lv_disp_t *d = lv_disp_get_next(NULL);
    while (d) {
        for (uint32_t i = 0; i < d->screen_cnt; i++)
            report_style_change_core(style, d->screens[i]);
        d = lv_disp_get_next(d);
    }
}

void lv_obj_refresh_style(lv_obj_t *obj, lv_style_selector_t selector, lv_style_prop_t prop) {
    if (!style_refr)
        return;
    lv_obj_invalidate(obj);
    lv_part_t part = lv_obj_style_get_selector_part(selector);
    bool is_layout_refr = lv_style_prop_has_flag(prop, LV_STYLE_PROP_LAYOUT_REFR);
    bool is_ext_draw = lv_style_prop_has_flag(prop, LV_STYLE_PROP_EXT_DRAW);
    bool is_inheritable = lv_style_prop_has_flag(prop, LV_STYLE_PROP_INHERIT);
    if (is_layout_refr) {
        if (part == LV_PART_ANY || part == LV_PART_MAIN ||
            lv_obj_get_style_height(obj, 0) == LV_SIZE_CONTENT ||
            lv_obj_get_style_width(obj, 0) == LV_SIZE_CONTENT) {
            lv_event_send(obj, LV_EVENT_STYLE_CHANGED, NULL);
            lv_obj_mark_layout_as_dirty(obj);
        }
    }
    if ((part == LV_PART_ANY || part == LV_PART_MAIN) && (prop == LV_STYLE_PROP_ANY || is_layout_refr)) {
        lv_obj_t *parent = lv_obj_get_parent(obj);
        if (parent)
            lv_obj_mark_layout_as_dirty(parent);
    }
    if (prop == LV_STYLE_PROP_ANY || is_ext_draw)
        lv_obj_refresh_ext_draw_size(obj);
    lv_obj_invalidate(obj);
    if (prop == LV_STYLE_PROP_ANY || (is_inheritable && (is_ext_draw || is_layout_refr))) {
        if (part != LV_PART_SCROLLBAR)
            refresh_children_style(obj);
    }
}

void lv_obj_enable_style_refresh(bool en) {
    style_refr = en;
}

/* The value of prop for part in the object's current state, from its own styles only. */
static lv_style_res_t get_prop_core(const lv_obj_t *obj, lv_part_t part, lv_style_prop_t prop,
                                    lv_style_value_t *v) {
    int32_t weight = -1;
    lv_state_t state = obj->state;
    lv_state_t state_inv = (lv_state_t)~state;
    lv_style_value_t value_tmp;
    uint32_t i;
    for (i = 0; i < obj->style_cnt; i++) {
        const _lv_obj_style_t *obj_style = &obj->styles[i];
        if (!obj_style->is_trans)
            break;
        if (obj->skip_trans)
            continue;
        if (lv_obj_style_get_selector_part(obj_style->selector) != part)
            continue;
        if (lv_style_get_prop(obj_style->style, prop, &value_tmp) == LV_STYLE_RES_FOUND) {
            *v = value_tmp;
            return LV_STYLE_RES_FOUND;
        }
    }
    for (; i < obj->style_cnt; i++) {
        const _lv_obj_style_t *obj_style = &obj->styles[i];
        lv_part_t part_act = lv_obj_style_get_selector_part(obj_style->selector);
        lv_state_t state_act = lv_obj_style_get_selector_state(obj_style->selector);
        if (part_act != part)
            continue;
        /* The style may not ask for a state the object is not in. */
        if (state_act & state_inv)
            continue;
        if ((int32_t)state_act <= weight)
            continue;
        if (lv_style_get_prop(obj_style->style, prop, &value_tmp) == LV_STYLE_RES_FOUND) {
            if (state_act == state) {
                *v = value_tmp;
                return LV_STYLE_RES_FOUND;
            }
            weight = state_act;
            *v = value_tmp;
        }
    }
    return weight >= 0 ? LV_STYLE_RES_FOUND : LV_STYLE_RES_NOT_FOUND;
}

lv_style_value_t lv_obj_get_style_prop(const lv_obj_t *obj, lv_part_t part, lv_style_prop_t prop) {
    lv_style_value_t value_act;
    bool inheritable = lv_style_prop_has_flag(prop, LV_STYLE_PROP_INHERIT);
    const lv_obj_t *o = obj;
    lv_style_res_t found = LV_STYLE_RES_NOT_FOUND;
    while (o) {
        found = get_prop_core(o, part, prop, &value_act);
        if (found == LV_STYLE_RES_FOUND)
            break;
        if (!inheritable)
            break;
        if (part != LV_PART_MAIN) {
            part = LV_PART_MAIN;
            continue;
        }
        o = lv_obj_get_parent(o);
    }
    if (found == LV_STYLE_RES_FOUND)
        return value_act;
    if (part == LV_PART_MAIN && (prop == LV_STYLE_WIDTH || prop == LV_STYLE_HEIGHT)) {
        const lv_obj_class_t *cls = obj->class_p;
        while (cls) {
            if (prop == LV_STYLE_WIDTH ? cls->width_def != 0 : cls->height_def != 0)
                break;
            cls = cls->base_class;
        }
        if (cls)
            return _lv_style_value_num(prop == LV_STYLE_WIDTH ? cls->width_def : cls->height_def);
        return _lv_style_value_num(0);
    }
    return lv_style_prop_get_default(prop);
}

static lv_style_t *get_local_style(lv_obj_t *obj, lv_style_selector_t selector) {
    for (uint32_t i = 0; i < obj->style_cnt; i++) {
        if (obj->styles[i].is_local && obj->styles[i].selector == selector)
            return (lv_style_t *)obj->styles[i].style;
    }
    lv_style_t *style = lv_mem_alloc(sizeof(lv_style_t));
    LV_ASSERT_MALLOC(style);
    lv_style_init(style);
    uint32_t i;
    for (i = 0; i < obj->style_cnt; i++) {
        if (!obj->styles[i].is_trans)
            break;
    }
    insert_style(obj, i, style, selector, true, false);
    return style;
}

void lv_obj_set_local_style_prop(lv_obj_t *obj, lv_style_prop_t prop, lv_style_value_t value,
                                 lv_style_selector_t selector) {
    lv_style_t *style = get_local_style(obj, selector);
    lv_style_set_prop(style, prop, value);
    lv_obj_refresh_style(obj, selector, prop);
}

lv_res_t lv_obj_get_local_style_prop(lv_obj_t *obj, lv_style_prop_t prop, lv_style_value_t *value,
                                     lv_style_selector_t selector) {
    for (uint32_t i = 0; i < obj->style_cnt; i++) {
        if (obj->styles[i].is_local && obj->styles[i].selector == selector) {
            return lv_style_get_prop(obj->styles[i].style, prop, value) == LV_STYLE_RES_FOUND ? LV_RES_OK
                                                                                              : LV_RES_INV;
        }
    }
    return LV_RES_INV;
}

bool lv_obj_remove_local_style_prop(lv_obj_t *obj, lv_style_prop_t prop, lv_style_selector_t selector) {
    uint32_t i;
    for (i = 0; i < obj->style_cnt; i++) {
        if (obj->styles[i].is_local && obj->styles[i].selector == selector)
            break;
    }
    if (i == obj->style_cnt)
        return false;
    bool res = lv_style_remove_prop((lv_style_t *)obj->styles[i].style, prop);
    if (res)
        lv_obj_refresh_style(obj, selector, prop);
    return res;
}

static _lv_obj_style_t *get_trans_style(lv_obj_t *obj, lv_style_selector_t selector) {
    for (uint32_t i = 0; i < obj->style_cnt; i++) {
        if (obj->styles[i].is_trans && obj->styles[i].selector == selector)
            return &obj->styles[i];
    }
    lv_style_t *style = lv_mem_alloc(sizeof(lv_style_t));
    LV_ASSERT_MALLOC(style);
    lv_style_init(style);
    insert_style(obj, 0, style, selector, false, true);
    return &obj->styles[0];
}

void _lv_obj_style_create_transition(lv_obj_t *obj, lv_part_t part, lv_state_t prev_state,
                                     lv_state_t new_state, const _lv_obj_style_transition_dsc_t *tr_dsc) {
    obj->skip_trans = 1;
    obj->state = prev_state;
    lv_style_value_t v1 = lv_obj_get_style_prop(obj, part, tr_dsc->prop);
    obj->state = new_state;
    lv_style_value_t v2 = lv_obj_get_style_prop(obj, part, tr_dsc->prop);
    obj->skip_trans = 0;
    if (v1.ptr == v2.ptr && v1.num == v2.num && v1.color.full == v2.color.full)
        return;
    /* Start from the value shown now (a running transition's value included). */
    obj->state = prev_state;
    v1 = lv_obj_get_style_prop(obj, part, tr_dsc->prop);
    obj->state = new_state;

    _lv_obj_style_t *style_trans = get_trans_style(obj, part);
    lv_style_set_prop((lv_style_t *)style_trans->style, tr_dsc->prop, v1);

    trans_t *tr = _lv_ll_ins_head(&trans_ll);
    LV_ASSERT_MALLOC(tr);
    tr->start_value = v1;
    tr->end_value = v2;
    tr->obj = obj;
    tr->prop = tr_dsc->prop;
    tr->selector = part;

    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, tr);
    lv_anim_set_exec_cb(&a, trans_anim_cb);
    lv_anim_set_start_cb(&a, trans_anim_start_cb);
    lv_anim_set_ready_cb(&a, trans_anim_ready_cb);
    lv_anim_set_values(&a, 0x00, 0xFF);
    lv_anim_set_time(&a, tr_dsc->time);
    lv_anim_set_delay(&a, tr_dsc->delay);
    lv_anim_set_path_cb(&a, tr_dsc->path_cb);
    lv_anim_set_early_apply(&a, false);
#if LV_USE_USER_DATA
    a.user_data = tr_dsc->user_data;
#endif
    lv_anim_start(&a);
}

/* Whether the styles that differ between the two states need a redraw or a new layout. */
_lv_style_state_cmp_t _lv_obj_style_state_compare(lv_obj_t *obj, lv_state_t state1, lv_state_t state2) {
    _lv_style_state_cmp_t res = _LV_STYLE_STATE_CMP_SAME;
    lv_state_t diff = state1 ^ state2;
    for (uint32_t i = 0; i < obj->style_cnt; i++) {
        if (obj->styles[i].is_trans)
            continue;
        lv_state_t state_act = lv_obj_style_get_selector_state(obj->styles[i].selector);
        /* A style counts if it matches one state but not the other. */
        bool m1 = (state_act & ~state1) == 0;
        bool m2 = (state_act & ~state2) == 0;
        if (m1 == m2 || (state_act & diff) == 0)
            continue;
        const lv_style_t *st = obj->styles[i].style;
        for (uint32_t j = 0; j < st->prop_cnt; j++) {
            uint8_t f = _lv_style_prop_lookup_flags(st->props[j].prop);
            if (f & LV_STYLE_PROP_LAYOUT_REFR)
                return _LV_STYLE_STATE_CMP_DIFF_LAYOUT;
            if (f & LV_STYLE_PROP_EXT_DRAW)
                res = _LV_STYLE_STATE_CMP_DIFF_DRAW_PAD;
            else if (res == _LV_STYLE_STATE_CMP_SAME)
                res = _LV_STYLE_STATE_CMP_DIFF_REDRAW;
        }
    }
    return res;
}

static void fade_anim_cb(void *obj, int32_t v) {
    lv_obj_set_style_opa(obj, (lv_opa_t)v, 0);
}

static void fade_in_anim_ready(lv_anim_t *a) {
    lv_obj_remove_local_style_prop(a->var, LV_STYLE_OPA, 0);
}

void lv_obj_fade_in(lv_obj_t *obj, uint32_t time, uint32_t delay) {
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, obj);
    lv_anim_set_values(&a, 0, LV_OPA_COVER);
    lv_anim_set_exec_cb(&a, fade_anim_cb);
    lv_anim_set_ready_cb(&a, fade_in_anim_ready);
    lv_anim_set_time(&a, time);
    lv_anim_set_delay(&a, delay);
    lv_anim_start(&a);
}

void lv_obj_fade_out(lv_obj_t *obj, uint32_t time, uint32_t delay) {
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, obj);
    lv_anim_set_values(&a, lv_obj_get_style_opa(obj, 0), LV_OPA_TRANSP);
    lv_anim_set_exec_cb(&a, fade_anim_cb);
    lv_anim_set_time(&a, time);
    lv_anim_set_delay(&a, delay);
    lv_anim_start(&a);
}

lv_opa_t lv_obj_get_style_opa_recursive(const lv_obj_t *obj, lv_part_t part) {
    lv_opa_t opa_obj = lv_obj_get_style_opa(obj, part);
    if (opa_obj <= LV_OPA_MIN)
        return LV_OPA_TRANSP;
    uint32_t opa_final = LV_OPA_COVER;
    if (opa_obj < LV_OPA_MAX)
        opa_final = (opa_final * opa_obj) >> 8;
    if (part != LV_PART_MAIN)
        part = LV_PART_MAIN;
    else
        obj = lv_obj_get_parent(obj);
    while (obj) {
        opa_obj = lv_obj_get_style_opa(obj, part);
        if (opa_obj <= LV_OPA_MIN)
            return LV_OPA_TRANSP;
        if (opa_obj < LV_OPA_MAX)
            opa_final = (opa_final * opa_obj) >> 8;
        obj = lv_obj_get_parent(obj);
    }
    if (opa_final <= LV_OPA_MIN)
        return LV_OPA_TRANSP;
    if (opa_final >= LV_OPA_MAX)
        return LV_OPA_COVER;
    return (lv_opa_t)opa_final;
}

lv_layer_type_t _lv_obj_get_layer_type(const lv_obj_t *obj) {
    if (lv_obj_get_style_transform_angle(obj, 0) != 0)
        return LV_LAYER_TYPE_TRANSFORM;
    if (lv_obj_get_style_transform_zoom(obj, 0) != 256)
        return LV_LAYER_TYPE_TRANSFORM;
    if (lv_obj_get_style_opa(obj, 0) != LV_OPA_COVER)
        return LV_LAYER_TYPE_SIMPLE;
    if (lv_obj_get_style_blend_mode(obj, 0) != LV_BLEND_MODE_NORMAL)
        return LV_LAYER_TYPE_SIMPLE;
    return LV_LAYER_TYPE_NONE;
}

static void refresh_children_style(lv_obj_t *obj) {
    uint32_t cnt = lv_obj_get_child_cnt(obj);
    for (uint32_t i = 0; i < cnt; i++) {
        lv_obj_t *child = obj->spec_attr->children[i];
        lv_obj_invalidate(child);
        lv_event_send(child, LV_EVENT_STYLE_CHANGED, NULL);
        lv_obj_invalidate(child);
        refresh_children_style(child);
    }
}

/* Delete the transitions of obj on part and prop (all with LV_PART_ANY / LV_STYLE_PROP_ANY),
 * except tr_limit and the ones after it. */
static bool trans_del(lv_obj_t *obj, lv_part_t part, lv_style_prop_t prop, trans_t *tr_limit) {
    bool removed = false;
    trans_t *tr = _lv_ll_get_tail(&trans_ll);
    while (tr != NULL) {
        if (tr == tr_limit)
            break;
        trans_t *tr_prev = _lv_ll_get_prev(&trans_ll, tr);
        if (tr->obj == obj && (part == tr->selector || part == LV_PART_ANY) &&
            (prop == tr->prop || prop == LV_STYLE_PROP_ANY)) {
            for (uint32_t i = 0; i < obj->style_cnt; i++) {
                if (obj->styles[i].is_trans && (part == LV_PART_ANY || obj->styles[i].selector == part)) {
                    lv_style_remove_prop((lv_style_t *)obj->styles[i].style, tr->prop);
                }
            }
            lv_anim_del(tr, NULL);
            _lv_ll_remove(&trans_ll, tr);
            lv_mem_free(tr);
            removed = true;
        }
        tr = tr_prev;
    }
    return removed;
}

static void trans_anim_cb(void *_tr, int32_t v) {
    trans_t *tr = _tr;
    lv_obj_t *obj = tr->obj;
    lv_style_value_t value_final;
    switch (tr->prop) {
    case LV_STYLE_BORDER_SIDE:
    case LV_STYLE_BORDER_POST:
    case LV_STYLE_BG_IMG_TILED:
    case LV_STYLE_TEXT_FONT:
    case LV_STYLE_BG_IMG_SRC:
    case LV_STYLE_LAYOUT:
    case LV_STYLE_ALIGN:
    case LV_STYLE_TEXT_ALIGN:
    case LV_STYLE_TRANSITION:
    case LV_STYLE_ANIM:
        value_final = v < 255 ? tr->start_value : tr->end_value;
        break;
    case LV_STYLE_BG_COLOR:
    case LV_STYLE_BG_GRAD_COLOR:
    case LV_STYLE_BORDER_COLOR:
    case LV_STYLE_OUTLINE_COLOR:
    case LV_STYLE_SHADOW_COLOR:
    case LV_STYLE_IMG_RECOLOR:
    case LV_STYLE_BG_IMG_RECOLOR:
    case LV_STYLE_LINE_COLOR:
    case LV_STYLE_ARC_COLOR:
    case LV_STYLE_TEXT_COLOR:
        if (v <= 0)
            value_final.color = tr->start_value.color;
        else if (v >= 255)
            value_final.color = tr->end_value.color;
        else
            value_final.color = lv_color_mix(tr->end_value.color, tr->start_value.color, (uint8_t)v);
        break;
    default:
        if (v == 0)
            value_final.num = tr->start_value.num;
        else if (v == 255)
            value_final.num = tr->end_value.num;
        else
            value_final.num = tr->start_value.num + ((tr->end_value.num - tr->start_value.num) * v) / 255;
        break;
    }
    for (uint32_t i = 0; i < obj->style_cnt; i++) {
        if (!obj->styles[i].is_trans || obj->styles[i].selector != tr->selector)
            continue;
        lv_style_value_t old_value;
        bool refr = true;
        if (lv_style_get_prop(obj->styles[i].style, tr->prop, &old_value) == LV_STYLE_RES_FOUND) {
            if (value_final.ptr == old_value.ptr && value_final.color.full == old_value.color.full &&
                value_final.num == old_value.num) {
                refr = false;
            }
        }
        lv_style_set_prop((lv_style_t *)obj->styles[i].style, tr->prop, value_final);
        if (refr)
            lv_obj_refresh_style(tr->obj, tr->selector, tr->prop);
        break;
    }
}

static void trans_anim_start_cb(lv_anim_t *a) {
    trans_t *tr = a->var;
    lv_part_t part = lv_obj_style_get_selector_part(tr->selector);
    tr->start_value = lv_obj_get_style_prop(tr->obj, part, tr->prop);
    /* Older transitions of the same property stop here. */
    lv_style_prop_t prop_tmp = tr->prop;
    tr->prop = LV_STYLE_PROP_INV;
    trans_del(tr->obj, part, prop_tmp, tr);
    tr->prop = prop_tmp;
    _lv_obj_style_t *style_trans = get_trans_style(tr->obj, tr->selector);
    lv_style_set_prop((lv_style_t *)style_trans->style, tr->prop, tr->start_value);
}

static void trans_anim_ready_cb(lv_anim_t *a) {
    trans_t *tr = a->var;
    lv_obj_t *obj = tr->obj;
    lv_style_prop_t prop = tr->prop;
    /* Keep the transition style's value while another transition of the same property runs. */
    bool running = false;
    trans_t *tr_i;
    _LV_LL_READ(&trans_ll, tr_i) {
        if (tr_i != tr && tr_i->obj == tr->obj && tr_i->selector == tr->selector && tr_i->prop == tr->prop) {
            running = true;
        }
    }
    _lv_ll_remove(&trans_ll, tr);
    lv_mem_free(tr);
    if (running)
        return;
    for (uint32_t i = 0; i < obj->style_cnt; i++) {
        if (!obj->styles[i].is_trans)
            continue;
        lv_style_t *st = (lv_style_t *)obj->styles[i].style;
        if (lv_style_remove_prop(st, prop) && lv_style_is_empty(st)) {
            lv_part_t part = lv_obj_style_get_selector_part(obj->styles[i].selector);
            remove_style_at(obj, i);
            lv_obj_refresh_style(obj, part, prop);
            break;
        }
    }
}
