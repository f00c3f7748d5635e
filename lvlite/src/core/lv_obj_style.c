/**
 * @file lv_obj_style.c
 * The styles of an object and how a property's value is found.
 *
 * An object keeps one list of style entries, ordered so that the first entry that applies and holds
 * the property is the one that wins:
 *   1. the transition styles (one per part, values of running transitions);
 *   2. then every other entry by the state of its selector, highest first (USER_1 beats PRESSED
 *      beats FOCUSED beats the default state);
 *   3. within one state, the local style before the added ones, and added styles newest first.
 * An entry applies when its part is the asked part and the object has every state bit it names.
 * Inheritable properties that no entry holds come from the object's MAIN part, then from the
 * ancestors' MAIN parts; everything else falls back to the property's default.
 */
#include "lv_obj.h"
#include "lv_disp.h"
#include "../misc/lv_mem.h"

#include <string.h>

/* ---- the entry list ---- */

static lv_state_t state_of(const _lv_obj_style_t *e) {
    return lv_obj_style_get_selector_state(e->selector);
}

static lv_part_t part_of(const _lv_obj_style_t *e) {
    return lv_obj_style_get_selector_part(e->selector);
}

/* Where a new entry of this state goes so that the list stays in winning order. */
static uint32_t slot_for(const lv_obj_t *obj, lv_state_t state, bool local) {
    uint32_t n = 0;
    while (n < obj->style_cnt && obj->styles[n].is_trans)
        n++;
    for (; n < obj->style_cnt; n++) {
        const _lv_obj_style_t *e = &obj->styles[n];
        if (state_of(e) > state)
            continue;
        if (state_of(e) < state || local || !e->is_local)
            break;
    }
    return n;
}

static _lv_obj_style_t *insert_entry(lv_obj_t *obj, uint32_t at, const lv_style_t *style,
                                     lv_style_selector_t selector) {
    if (obj->style_cnt == 63) {
        LV_LOG_ERROR("an object takes at most 63 styles");
        return NULL;
    }
    _lv_obj_style_t *list = lv_mem_realloc(obj->styles, sizeof(_lv_obj_style_t) * (obj->style_cnt + 1u));
    LV_ASSERT_MALLOC(list);
    if (list == NULL)
        return NULL;
    memmove(&list[at + 1], &list[at], sizeof(_lv_obj_style_t) * (obj->style_cnt - at));
    obj->styles = list;
    obj->style_cnt++;
    _lv_obj_style_t *e = &list[at];
    e->style = style;
    e->selector = selector;
    e->is_local = 0;
    e->is_trans = 0;
    return e;
}

static void drop_entry(lv_obj_t *obj, uint32_t at) {
    _lv_obj_style_t *e = &obj->styles[at];
    if (e->is_local || e->is_trans) {
        /* Those styles belong to the object. */
        lv_style_t *own = (lv_style_t *)e->style;
        lv_style_reset(own);
        lv_mem_free(own);
    }
    obj->style_cnt--;
    memmove(e, e + 1, sizeof(_lv_obj_style_t) * (obj->style_cnt - at));
    if (obj->style_cnt == 0) {
        lv_mem_free(obj->styles);
        obj->styles = NULL;
    }
}

/* The object's own style of the given kind for a selector, made on first use. */
static lv_style_t *owned_style(lv_obj_t *obj, lv_style_selector_t selector, bool trans) {
    for (uint32_t n = 0; n < obj->style_cnt; n++) {
        _lv_obj_style_t *e = &obj->styles[n];
        if (e->selector == selector && (trans ? e->is_trans : e->is_local))
            return (lv_style_t *)e->style;
    }
    lv_style_t *style = lv_mem_alloc(sizeof(lv_style_t));
    LV_ASSERT_MALLOC(style);
    if (style == NULL)
        return NULL;
    lv_style_init(style);
    uint32_t at = trans ? 0 : slot_for(obj, lv_obj_style_get_selector_state(selector), true);
    _lv_obj_style_t *e = insert_entry(obj, at, style, selector);
    if (e == NULL) {
        lv_mem_free(style);
        return NULL;
    }
    e->is_local = !trans;
    e->is_trans = trans;
    return style;
}

static lv_style_t *find_owned_style(const lv_obj_t *obj, lv_style_selector_t selector, bool trans) {
    for (uint32_t n = 0; n < obj->style_cnt; n++) {
        const _lv_obj_style_t *e = &obj->styles[n];
        if (e->selector == selector && (trans ? e->is_trans : e->is_local))
            return (lv_style_t *)e->style;
    }
    return NULL;
}

/* ---- finding a value ---- */

static bool value_on(const lv_obj_t *obj, lv_part_t part, lv_style_prop_t prop, lv_style_value_t *out) {
    const _lv_obj_style_t *e = obj->styles;
    const _lv_obj_style_t *end = e + obj->style_cnt;
    for (; e != end; e++) {
        if (part_of(e) != part)
            continue;
        if (e->is_trans ? obj->skip_trans : (state_of(e) & ~obj->state) != 0)
            continue;
        if (lv_style_get_prop(e->style, prop, out) == LV_STYLE_RES_FOUND)
            return true;
    }
    return false;
}

static lv_style_value_t class_size_default(const lv_obj_t *obj, bool width) {
    for (const lv_obj_class_t *c = obj->class_p; c != NULL; c = c->base_class) {
        lv_coord_t d = width ? c->width_def : c->height_def;
        if (d != 0)
            return _lv_style_value_num(d);
    }
    return _lv_style_value_num(0);
}

lv_style_value_t lv_obj_get_style_prop(const lv_obj_t *obj, lv_part_t part, lv_style_prop_t prop) {
    lv_style_value_t v;
    if (value_on(obj, part, prop, &v))
        return v;
    if (lv_style_prop_has_flag(prop, LV_STYLE_PROP_INHERIT)) {
        if (part != LV_PART_MAIN && value_on(obj, LV_PART_MAIN, prop, &v))
            return v;
        for (const lv_obj_t *up = obj->parent; up != NULL; up = up->parent) {
            if (value_on(up, LV_PART_MAIN, prop, &v))
                return v;
        }
    } else if (part == LV_PART_MAIN && (prop == LV_STYLE_WIDTH || prop == LV_STYLE_HEIGHT)) {
        return class_size_default(obj, prop == LV_STYLE_WIDTH);
    }
    return lv_style_prop_get_default(prop);
}

static bool same_value(lv_style_value_t a, lv_style_value_t b) {
    return a.num == b.num && a.ptr == b.ptr && a.color.full == b.color.full;
}

/* ---- refreshing after a change ---- */

static bool refresh_enabled = true;

void lv_obj_enable_style_refresh(bool en) {
    refresh_enabled = en;
}

static void restyle_descendants(lv_obj_t *obj) {
    for (uint32_t n = 0; n < lv_obj_get_child_cnt(obj); n++) {
        lv_obj_t *child = obj->spec_attr->children[n];
        lv_obj_invalidate(child);
        lv_event_send(child, LV_EVENT_STYLE_CHANGED, NULL);
        lv_obj_invalidate(child);
        restyle_descendants(child);
    }
}

void lv_obj_refresh_style(lv_obj_t *obj, lv_style_selector_t selector, lv_style_prop_t prop) {
    if (!refresh_enabled)
        return;
    lv_obj_invalidate(obj);
    lv_part_t part = lv_obj_style_get_selector_part(selector);
    bool main_part = part == LV_PART_ANY || part == LV_PART_MAIN;
    uint8_t what = _lv_style_prop_lookup_flags(prop);
    bool moves = (what & LV_STYLE_PROP_LAYOUT_REFR) != 0;
    bool grows = (what & LV_STYLE_PROP_EXT_DRAW) != 0;

    if (moves && (main_part || lv_obj_get_style_width(obj, LV_PART_MAIN) == LV_SIZE_CONTENT ||
                  lv_obj_get_style_height(obj, LV_PART_MAIN) == LV_SIZE_CONTENT)) {
        lv_event_send(obj, LV_EVENT_STYLE_CHANGED, NULL);
        lv_obj_mark_layout_as_dirty(obj);
    }
    if (moves && main_part && obj->parent != NULL)
        lv_obj_mark_layout_as_dirty(obj->parent);
    if (grows)
        lv_obj_refresh_ext_draw_size(obj);
    lv_obj_invalidate(obj);

    bool children_see_it =
        prop == LV_STYLE_PROP_ANY || ((what & LV_STYLE_PROP_INHERIT) != 0 && (moves || grows));
    if (children_see_it && part != LV_PART_SCROLLBAR)
        restyle_descendants(obj);
}

static void report_in_subtree(lv_obj_t *obj, const lv_style_t *style) {
    for (uint32_t n = 0; n < obj->style_cnt; n++) {
        if (style == NULL || obj->styles[n].style == style) {
            lv_obj_refresh_style(obj, LV_PART_ANY, LV_STYLE_PROP_ANY);
            break;
        }
    }
    for (uint32_t n = 0; n < lv_obj_get_child_cnt(obj); n++)
        report_in_subtree(obj->spec_attr->children[n], style);
}

void lv_obj_report_style_change(lv_style_t *style) {
    if (!refresh_enabled)
        return;
    for (lv_disp_t *d = lv_disp_get_next(NULL); d != NULL; d = lv_disp_get_next(d)) {
        for (uint32_t n = 0; n < d->screen_cnt; n++)
            report_in_subtree(d->screens[n], style);
    }
}

/* ---- transitions ---- */

/* A running transition of one property of one part; the animation's var. Newest first. */
typedef struct trans_rec {
    struct trans_rec *older;
    lv_obj_t *obj;
    lv_part_t part;
    lv_style_prop_t prop;
    lv_style_value_t from;
    lv_style_value_t to;
} trans_rec_t;

static trans_rec_t *newest_trans;

static bool trans_matches(const trans_rec_t *t, const lv_obj_t *obj, lv_part_t part, lv_style_prop_t prop) {
    return t->obj == obj && (part == LV_PART_ANY || t->part == part) &&
           (prop == LV_STYLE_PROP_ANY || t->prop == prop);
}

/* End the matching transitions older than `after` (all of them when NULL) without finishing them. */
static void stop_transitions(lv_obj_t *obj, lv_part_t part, lv_style_prop_t prop, trans_rec_t *after) {
    trans_rec_t **link = after != NULL ? &after->older : &newest_trans;
    while (*link != NULL) {
        trans_rec_t *t = *link;
        if (!trans_matches(t, obj, part, prop)) {
            link = &t->older;
            continue;
        }
        for (uint32_t n = 0; n < obj->style_cnt; n++) {
            _lv_obj_style_t *e = &obj->styles[n];
            if (e->is_trans && (part == LV_PART_ANY || e->selector == part))
                lv_style_remove_prop((lv_style_t *)e->style, t->prop);
        }
        *link = t->older;
        lv_anim_del(t, NULL);
        lv_mem_free(t);
    }
}

typedef enum { STEP_NUMBER, STEP_COLOR, STEP_SWITCH } step_kind_t;

#define STEP_OF(NAME, name, type, field, flags) STEP_OF_##field,
#define STEP_OF_num                             STEP_NUMBER
#define STEP_OF_color                           STEP_COLOR
#define STEP_OF_ptr                             STEP_SWITCH
static const uint8_t step_kind[_LV_STYLE_NUM_BUILT_IN_PROPS] = {STEP_NUMBER, LV_STYLE_PROP_LIST(STEP_OF)};
#undef STEP_OF

static step_kind_t how_to_step(lv_style_prop_t prop) {
    switch (prop) {
    case LV_STYLE_BORDER_SIDE:
    case LV_STYLE_BORDER_POST:
    case LV_STYLE_BG_IMG_TILED:
    case LV_STYLE_LAYOUT:
    case LV_STYLE_ALIGN:
    case LV_STYLE_TEXT_ALIGN:
        /* Numbers that name a choice: there is nothing between two of them. */
        return STEP_SWITCH;
    default:
        return prop < _LV_STYLE_NUM_BUILT_IN_PROPS ? (step_kind_t)step_kind[prop] : STEP_NUMBER;
    }
}

/* The value `progress` (0..255) of the way from `from` to `to`. */
static lv_style_value_t between(lv_style_prop_t prop, lv_style_value_t from, lv_style_value_t to,
                                int32_t progress) {
    if (progress <= 0)
        return from;
    if (progress >= 255)
        return to;
    switch (how_to_step(prop)) {
    case STEP_SWITCH:
        return from;
    case STEP_COLOR:
        return _lv_style_value_color(lv_color_mix(to.color, from.color, (uint8_t)progress));
    default:
        return _lv_style_value_num(from.num + (to.num - from.num) * progress / 255);
    }
}

static void trans_step(void *var, int32_t progress) {
    trans_rec_t *t = var;
    lv_style_t *style = find_owned_style(t->obj, t->part, true);
    if (style == NULL)
        return;
    lv_style_value_t now = between(t->prop, t->from, t->to, progress);
    lv_style_value_t before;
    bool changed =
        lv_style_get_prop(style, t->prop, &before) != LV_STYLE_RES_FOUND || !same_value(before, now);
    lv_style_set_prop(style, t->prop, now);
    if (changed)
        lv_obj_refresh_style(t->obj, t->part, t->prop);
}

static void trans_begins(lv_anim_t *a) {
    trans_rec_t *t = a->var;
    /* After the delay: start from what is shown now, and take over from older transitions. */
    t->from = lv_obj_get_style_prop(t->obj, t->part, t->prop);
    stop_transitions(t->obj, t->part, t->prop, t);
    lv_style_t *style = owned_style(t->obj, t->part, true);
    if (style != NULL)
        lv_style_set_prop(style, t->prop, t->from);
}

static void trans_ends(lv_anim_t *a) {
    trans_rec_t *t = a->var;
    lv_obj_t *obj = t->obj;
    lv_part_t part = t->part;
    lv_style_prop_t prop = t->prop;
    bool still_running = false;
    for (trans_rec_t **link = &newest_trans; *link != NULL;) {
        trans_rec_t *o = *link;
        if (o == t) {
            *link = o->older;
            continue;
        }
        if (o->obj == obj && o->part == part && o->prop == prop)
            still_running = true;
        link = &o->older;
    }
    lv_mem_free(t);
    if (still_running)
        return;
    /* The value left in the transition style is the end value; once gone, the styles give it. */
    for (uint32_t n = 0; n < obj->style_cnt; n++) {
        _lv_obj_style_t *e = &obj->styles[n];
        if (!e->is_trans)
            continue;
        lv_style_t *style = (lv_style_t *)e->style;
        if (lv_style_remove_prop(style, prop) && lv_style_is_empty(style)) {
            lv_part_t p = part_of(e);
            drop_entry(obj, n);
            lv_obj_refresh_style(obj, p, prop);
            break;
        }
    }
}

typedef struct {
    const lv_style_transition_dsc_t *dsc;
    lv_part_t part;
    lv_style_prop_t prop;
    lv_state_t state;
} trans_plan_t;

static void start_transition(lv_obj_t *obj, const trans_plan_t *plan, lv_state_t old_state) {
    lv_state_t new_state = obj->state;
    /* Only a property whose settled value differs between the two states moves. */
    obj->skip_trans = 1;
    obj->state = old_state;
    lv_style_value_t settled_old = lv_obj_get_style_prop(obj, plan->part, plan->prop);
    obj->state = new_state;
    lv_style_value_t target = lv_obj_get_style_prop(obj, plan->part, plan->prop);
    obj->skip_trans = 0;
    if (same_value(settled_old, target))
        return;
    /* It moves from what is shown now, a running transition included. */
    obj->state = old_state;
    lv_style_value_t shown = lv_obj_get_style_prop(obj, plan->part, plan->prop);
    obj->state = new_state;

    lv_style_t *style = owned_style(obj, plan->part, true);
    trans_rec_t *t = lv_mem_alloc(sizeof(trans_rec_t));
    LV_ASSERT_MALLOC(t);
    if (style == NULL || t == NULL) {
        lv_mem_free(t);
        return;
    }
    lv_style_set_prop(style, plan->prop, shown);
    t->obj = obj;
    t->part = plan->part;
    t->prop = plan->prop;
    t->from = shown;
    t->to = target;
    t->older = newest_trans;
    newest_trans = t;

    const lv_style_transition_dsc_t *d = plan->dsc;
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, t);
    lv_anim_set_values(&a, 0, 255);
    lv_anim_set_exec_cb(&a, trans_step);
    lv_anim_set_start_cb(&a, trans_begins);
    lv_anim_set_ready_cb(&a, trans_ends);
    lv_anim_set_time(&a, (uint16_t)d->time);
    lv_anim_set_delay(&a, (uint16_t)d->delay);
    lv_anim_set_path_cb(&a, d->path_xcb);
    lv_anim_set_early_apply(&a, false);
#if LV_USE_USER_DATA
    a.user_data = d->user_data;
#endif
    lv_anim_start(&a);
}

#define MAX_PLANS 32

/* The transitions the new state asks for: per part and property, the descriptor of the highest state. */
static uint32_t plan_transitions(const lv_obj_t *obj, trans_plan_t *plans) {
    uint32_t cnt = 0;
    for (uint32_t n = 0; n < obj->style_cnt; n++) {
        const _lv_obj_style_t *e = &obj->styles[n];
        lv_style_value_t v;
        if (e->is_trans || (state_of(e) & ~obj->state) != 0)
            continue;
        if (lv_style_get_prop(e->style, LV_STYLE_TRANSITION, &v) != LV_STYLE_RES_FOUND || v.ptr == NULL)
            continue;
        const lv_style_transition_dsc_t *d = v.ptr;
        for (const lv_style_prop_t *p = d->props; p != NULL && *p != 0; p++) {
            uint32_t k = 0;
            while (k < cnt && !(plans[k].prop == *p && plans[k].part == part_of(e)))
                k++;
            if (k == cnt) {
                if (cnt == MAX_PLANS)
                    return cnt;
                cnt++;
            } else if (plans[k].state >= state_of(e)) {
                continue;
            }
            plans[k].dsc = d;
            plans[k].part = part_of(e);
            plans[k].prop = *p;
            plans[k].state = state_of(e);
        }
    }
    return cnt;
}

typedef enum { CHANGE_NONE, CHANGE_LOOK, CHANGE_REACH, CHANGE_SIZE } state_change_t;

/* What the entries that apply in one state but not in the other may change. */
static state_change_t state_change_reach(const lv_obj_t *obj, lv_state_t a, lv_state_t b) {
    state_change_t worst = CHANGE_NONE;
    for (uint32_t n = 0; n < obj->style_cnt; n++) {
        const _lv_obj_style_t *e = &obj->styles[n];
        bool in_a = (state_of(e) & ~a) == 0;
        bool in_b = (state_of(e) & ~b) == 0;
        if (e->is_trans || in_a == in_b)
            continue;
        const lv_style_t *st = e->style;
        for (uint32_t k = 0; k < st->prop_cnt; k++) {
            uint8_t f = _lv_style_prop_lookup_flags(st->props[k].prop);
            state_change_t c = (f & LV_STYLE_PROP_LAYOUT_REFR) ? CHANGE_SIZE
                               : (f & LV_STYLE_PROP_EXT_DRAW)  ? CHANGE_REACH
                                                               : CHANGE_LOOK;
            if (c == CHANGE_SIZE)
                return c;
            if (c > worst)
                worst = c;
        }
    }
    return worst;
}

void _lv_obj_style_state_changed(lv_obj_t *obj, lv_state_t old_state) {
    state_change_t change = state_change_reach(obj, old_state, obj->state);
    if (change == CHANGE_NONE)
        return;
    trans_plan_t plans[MAX_PLANS];
    uint32_t cnt = plan_transitions(obj, plans);
    for (uint32_t k = 0; k < cnt; k++)
        start_transition(obj, &plans[k], old_state);

    switch (change) {
    case CHANGE_SIZE:
        lv_obj_refresh_style(obj, LV_PART_ANY, LV_STYLE_PROP_ANY);
        break;
    case CHANGE_REACH:
        lv_obj_invalidate(obj);
        lv_obj_refresh_ext_draw_size(obj);
        break;
    default:
        lv_obj_invalidate(obj);
        break;
    }
}

/* ---- adding and removing styles ---- */

void _lv_obj_style_init(void) {
    newest_trans = NULL;
}

void lv_obj_add_style(lv_obj_t *obj, lv_style_t *style, lv_style_selector_t selector) {
    /* A style for the default state of a part ends that part's transitions. */
    if (lv_obj_style_get_selector_state(selector) == LV_STATE_DEFAULT)
        stop_transitions(obj, lv_obj_style_get_selector_part(selector), LV_STYLE_PROP_ANY, NULL);
    uint32_t at = slot_for(obj, lv_obj_style_get_selector_state(selector), false);
    if (insert_entry(obj, at, style, selector) != NULL)
        lv_obj_refresh_style(obj, selector, LV_STYLE_PROP_ANY);
}

void lv_obj_remove_style(lv_obj_t *obj, lv_style_t *style, lv_style_selector_t selector) {
    lv_state_t state = lv_obj_style_get_selector_state(selector);
    lv_part_t part = lv_obj_style_get_selector_part(selector);
    /* A style of one property refreshes only what that property touches. */
    lv_style_prop_t prop = style != NULL && style->prop_cnt == 1 ? style->props[0].prop : LV_STYLE_PROP_ANY;
    if (style == NULL && state == LV_STATE_ANY && part == LV_PART_ANY)
        stop_transitions(obj, LV_PART_ANY, LV_STYLE_PROP_ANY, NULL);
    bool removed = false;
    for (uint32_t n = obj->style_cnt; n-- > 0;) {
        const _lv_obj_style_t *e = &obj->styles[n];
        bool state_ok = state == LV_STATE_ANY || state_of(e) == state;
        bool part_ok = part == LV_PART_ANY || part_of(e) == part;
        if (!state_ok || !part_ok || (style != NULL && e->style != style))
            continue;
        if (e->is_trans)
            stop_transitions(obj, part_of(e), LV_STYLE_PROP_ANY, NULL);
        drop_entry(obj, n);
        removed = true;
    }
    if (removed && prop != LV_STYLE_PROP_INV)
        lv_obj_refresh_style(obj, part, prop);
}

void _lv_obj_style_drop_all(lv_obj_t *obj) {
    /* The object is going away: nothing to redraw or lay out. */
    stop_transitions(obj, LV_PART_ANY, LV_STYLE_PROP_ANY, NULL);
    while (obj->style_cnt > 0)
        drop_entry(obj, obj->style_cnt - 1u);
}

void lv_obj_set_local_style_prop(lv_obj_t *obj, lv_style_prop_t prop, lv_style_value_t value,
                                 lv_style_selector_t selector) {
    lv_style_t *style = owned_style(obj, selector, false);
    if (style == NULL)
        return;
    lv_style_set_prop(style, prop, value);
    lv_obj_refresh_style(obj, selector, prop);
}

lv_res_t lv_obj_get_local_style_prop(lv_obj_t *obj, lv_style_prop_t prop, lv_style_value_t *value,
                                     lv_style_selector_t selector) {
    const lv_style_t *style = find_owned_style(obj, selector, false);
    if (style == NULL || lv_style_get_prop(style, prop, value) != LV_STYLE_RES_FOUND)
        return LV_RES_INV;
    return LV_RES_OK;
}

bool lv_obj_remove_local_style_prop(lv_obj_t *obj, lv_style_prop_t prop, lv_style_selector_t selector) {
    lv_style_t *style = find_owned_style(obj, selector, false);
    if (style == NULL || !lv_style_remove_prop(style, prop))
        return false;
    lv_obj_refresh_style(obj, selector, prop);
    return true;
}

/* ---- fading ---- */

static void set_opa_step(void *obj, int32_t v) {
    lv_obj_set_style_opa(obj, (lv_opa_t)v, LV_PART_MAIN);
}

static void drop_local_opa(lv_anim_t *a) {
    lv_obj_remove_local_style_prop(a->var, LV_STYLE_OPA, LV_PART_MAIN);
}

static void fade(lv_obj_t *obj, int32_t from, int32_t to, uint32_t time, uint32_t delay,
                 lv_anim_ready_cb_t done) {
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, obj);
    lv_anim_set_values(&a, from, to);
    lv_anim_set_exec_cb(&a, set_opa_step);
    lv_anim_set_ready_cb(&a, done);
    lv_anim_set_time(&a, time);
    lv_anim_set_delay(&a, delay);
    lv_anim_start(&a);
}

void lv_obj_fade_in(lv_obj_t *obj, uint32_t time, uint32_t delay) {
    /* At the end the object is as opaque as its styles say. */
    fade(obj, LV_OPA_TRANSP, LV_OPA_COVER, time, delay, drop_local_opa);
}

void lv_obj_fade_out(lv_obj_t *obj, uint32_t time, uint32_t delay) {
    fade(obj, lv_obj_get_style_opa(obj, LV_PART_MAIN), LV_OPA_TRANSP, time, delay, NULL);
}

/* ---- opacity ---- */

lv_opa_t lv_obj_get_style_opa_recursive(const lv_obj_t *obj, lv_part_t part) {
    /* The part's opacity, then the MAIN opacity of the object (for other parts) and its ancestors. */
    uint32_t acc = LV_OPA_COVER;
    const lv_obj_t *o = obj;
    lv_part_t p = part;
    while (o != NULL) {
        lv_opa_t f = lv_obj_get_style_opa(o, p);
        if (f <= LV_OPA_MIN)
            return LV_OPA_TRANSP;
        if (f < LV_OPA_MAX)
            acc = acc * f >> 8;
        if (p != LV_PART_MAIN)
            p = LV_PART_MAIN;
        else
            o = o->parent;
    }
    return acc <= LV_OPA_MIN ? LV_OPA_TRANSP : acc >= LV_OPA_MAX ? LV_OPA_COVER : (lv_opa_t)acc;
}

lv_opa_t _lv_obj_get_part_opa(const lv_obj_t *obj, lv_part_t part) {
    /* MAIN's opacity (the object's own or inherited) is applied by drawing the object in a layer;
     * another part is scaled only by an opacity set on that part itself. */
    lv_style_value_t v;
    if (part == LV_PART_MAIN || !value_on(obj, part, LV_STYLE_OPA, &v))
        return LV_OPA_COVER;
    return (lv_opa_t)v.num;
}

lv_layer_type_t _lv_obj_get_layer_type(const lv_obj_t *obj) {
    if (lv_obj_get_style_transform_angle(obj, LV_PART_MAIN) != 0 ||
        lv_obj_get_style_transform_zoom(obj, LV_PART_MAIN) != LV_IMG_ZOOM_NONE)
        return LV_LAYER_TYPE_TRANSFORM;
    bool see_through = lv_obj_get_style_opa(obj, LV_PART_MAIN) != LV_OPA_COVER;
    bool blended = lv_obj_get_style_blend_mode(obj, LV_PART_MAIN) != LV_BLEND_MODE_NORMAL;
    return see_through || blended ? LV_LAYER_TYPE_SIMPLE : LV_LAYER_TYPE_NONE;
}
