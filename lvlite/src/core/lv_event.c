/**
 * @file lv_event.c
 * Sending events: for each object on the way up (the target, then its parents while the event bubbles),
 * the input device's feedback callback, the pre-processing callbacks, the class handlers and then the
 * object's own callbacks in the order they were added. Events in flight form a stack, so that deleting
 * an object can tell every sender that holds it.
 */
#include "lv_obj.h"
#include "lv_indev.h"
#include "../misc/lv_math.h"
#include "../misc/lv_mem.h"

#include <string.h>

static lv_event_t *in_flight;
static uint32_t next_free_code = _LV_EVENT_LAST + 1;

/* Codes that only concern the object itself: drawing, hit tests and changes of the tree or style. */
static bool stays_on_target(lv_event_code_t code) {
    if (code >= LV_EVENT_HIT_TEST && code <= LV_EVENT_DRAW_PART_END)
        return true;
    if (code >= LV_EVENT_DELETE && code <= LV_EVENT_CHILD_DELETED)
        return true;
    return code == LV_EVENT_REFRESH || code == LV_EVENT_SIZE_CHANGED || code == LV_EVENT_STYLE_CHANGED ||
           code == LV_EVENT_GET_SELF_SIZE;
}

typedef enum { FLOW_ON, FLOW_STOP, FLOW_GONE } flow_t;

static flow_t flow_after_call(const lv_event_t *e) {
    if (e->stop_processing)
        return FLOW_STOP;
    return e->deleted ? FLOW_GONE : FLOW_ON;
}

/* The object's callbacks of one kind (pre-processing or not) that accept the event's code. */
static flow_t run_callbacks(lv_event_t *e, bool early) {
    lv_obj_t *obj = e->current_target;
    for (uint32_t n = 0; obj->spec_attr != NULL && n < obj->spec_attr->event_dsc_cnt; n++) {
        const lv_event_dsc_t *d = &obj->spec_attr->event_dsc[n];
        uint32_t filter = (uint32_t)d->filter;
        if (d->cb == NULL || ((filter & LV_EVENT_PREPROCESS) != 0) != early)
            continue;
        filter &= ~(uint32_t)LV_EVENT_PREPROCESS;
        if (filter != LV_EVENT_ALL && filter != (uint32_t)e->code)
            continue;
        e->user_data = d->user_data;
        d->cb(e);
        flow_t f = flow_after_call(e);
        if (f != FLOW_ON)
            return f;
    }
    return FLOW_ON;
}

/* Every stage for the current target. */
static flow_t deliver_here(lv_event_t *e) {
    lv_indev_t *indev = lv_indev_get_act();
    if (indev != NULL && indev->driver->feedback_cb != NULL) {
        indev->driver->feedback_cb(indev->driver, (uint8_t)e->code);
        flow_t f = flow_after_call(e);
        if (f != FLOW_ON)
            return f;
    }
    flow_t f = run_callbacks(e, true);
    if (f != FLOW_ON)
        return f;
    if (lv_obj_event_base(NULL, e) != LV_RES_OK)
        return FLOW_GONE;
    return run_callbacks(e, false);
}

lv_res_t lv_event_send(lv_obj_t *obj, lv_event_code_t event_code, void *param) {
    if (obj == NULL)
        return LV_RES_OK;
    lv_event_t e;
    memset(&e, 0, sizeof(e));
    e.target = obj;
    e.current_target = obj;
    e.code = event_code;
    e.param = param;
    e.prev = in_flight;
    in_flight = &e;

    lv_res_t res = LV_RES_OK;
    for (;;) {
        flow_t f = deliver_here(&e);
        if (f == FLOW_GONE) {
            res = LV_RES_INV;
            break;
        }
        lv_obj_t *up = e.current_target->parent;
        if (f == FLOW_STOP || up == NULL || e.stop_bubbling || stays_on_target(e.code) ||
            !lv_obj_has_flag(e.current_target, LV_OBJ_FLAG_EVENT_BUBBLE))
            break;
        e.current_target = up;
    }
    in_flight = e.prev;
    return res;
}

lv_res_t lv_obj_event_base(const lv_obj_class_t *class_p, lv_event_t *e) {
    /* NULL: start at the object's own class; otherwise continue above class_p. */
    const lv_obj_class_t *c = class_p != NULL ? class_p->base_class : e->current_target->class_p;
    for (; c != NULL; c = c->base_class) {
        if (c->event_cb != NULL) {
            e->user_data = NULL;
            c->event_cb(c, e);
            break;
        }
    }
    return e->deleted ? LV_RES_INV : LV_RES_OK;
}

void _lv_event_mark_deleted(lv_obj_t *obj) {
    for (lv_event_t *e = in_flight; e != NULL; e = e->prev) {
        if (e->target == obj || e->current_target == obj)
            e->deleted = 1;
    }
}

uint32_t lv_event_register_id(void) {
    return next_free_code++;
}

lv_obj_t *lv_event_get_target(lv_event_t *e) {
    return e->target;
}

lv_obj_t *lv_event_get_current_target(lv_event_t *e) {
    return e->current_target;
}

lv_event_code_t lv_event_get_code(lv_event_t *e) {
    return (lv_event_code_t)((uint32_t)e->code & ~(uint32_t)LV_EVENT_PREPROCESS);
}

void *lv_event_get_param(lv_event_t *e) {
    return e->param;
}

void *lv_event_get_user_data(lv_event_t *e) {
    return e->user_data;
}

void lv_event_stop_bubbling(lv_event_t *e) {
    e->stop_bubbling = 1;
}

void lv_event_stop_processing(lv_event_t *e) {
    e->stop_processing = 1;
}

/* ---- callbacks of an object ---- */

lv_event_dsc_t *lv_obj_add_event_cb(lv_obj_t *obj, lv_event_cb_t event_cb, lv_event_code_t filter,
                                    void *user_data) {
    lv_obj_allocate_spec_attr(obj);
    _lv_obj_spec_attr_t *sa = obj->spec_attr;
    if (sa->event_dsc_cnt == UINT8_MAX) {
        LV_LOG_ERROR("an object takes at most %u event callbacks", (unsigned)UINT8_MAX);
        return NULL;
    }
    lv_event_dsc_t *list = lv_mem_realloc(sa->event_dsc, sizeof(lv_event_dsc_t) * (sa->event_dsc_cnt + 1u));
    LV_ASSERT_MALLOC(list);
    if (list == NULL)
        return NULL;
    sa->event_dsc = list;
    lv_event_dsc_t *d = &list[sa->event_dsc_cnt++];
    d->cb = event_cb;
    d->user_data = user_data;
    d->filter = filter;
    return d;
}

typedef bool (*dsc_match_t)(const lv_event_dsc_t *d, lv_event_cb_t cb, const void *key);

/* Remove the first callback that matches; later ones keep their order. */
static bool remove_first(lv_obj_t *obj, dsc_match_t match, lv_event_cb_t cb, const void *key) {
    _lv_obj_spec_attr_t *sa = obj->spec_attr;
    if (sa == NULL)
        return false;
    for (uint32_t n = 0; n < sa->event_dsc_cnt; n++) {
        if (!match(&sa->event_dsc[n], cb, key))
            continue;
        uint32_t after = sa->event_dsc_cnt - n - 1;
        memmove(&sa->event_dsc[n], &sa->event_dsc[n + 1], after * sizeof(lv_event_dsc_t));
        if (--sa->event_dsc_cnt == 0) {
            lv_mem_free(sa->event_dsc);
            sa->event_dsc = NULL;
        }
        return true;
    }
    return false;
}

static bool match_cb(const lv_event_dsc_t *d, lv_event_cb_t cb, const void *key) {
    LV_UNUSED(key);
    return cb == NULL || d->cb == cb;
}

static bool match_cb_and_data(const lv_event_dsc_t *d, lv_event_cb_t cb, const void *key) {
    return match_cb(d, cb, NULL) && d->user_data == key;
}

static bool match_address(const lv_event_dsc_t *d, lv_event_cb_t cb, const void *key) {
    LV_UNUSED(cb);
    return (const void *)d == key;
}

bool lv_obj_remove_event_cb(lv_obj_t *obj, lv_event_cb_t event_cb) {
    return remove_first(obj, match_cb, event_cb, NULL);
}

bool lv_obj_remove_event_cb_with_user_data(lv_obj_t *obj, lv_event_cb_t event_cb, const void *user_data) {
    return remove_first(obj, match_cb_and_data, event_cb, user_data);
}

bool lv_obj_remove_event_dsc(lv_obj_t *obj, lv_event_dsc_t *event_dsc) {
    return remove_first(obj, match_address, NULL, event_dsc);
}

void *lv_obj_get_event_user_data(lv_obj_t *obj, lv_event_cb_t event_cb) {
    const _lv_obj_spec_attr_t *sa = obj->spec_attr;
    uint32_t cnt = sa != NULL ? sa->event_dsc_cnt : 0;
    for (uint32_t n = 0; n < cnt; n++) {
        if (sa->event_dsc[n].cb == event_cb)
            return sa->event_dsc[n].user_data;
    }
    return NULL;
}

/* ---- what the parameter of an event is ---- */

/* The parameter when the event has the given code, NULL otherwise. */
static void *param_if(lv_event_t *e, lv_event_code_t code) {
    return e->code == code ? e->param : NULL;
}

lv_indev_t *lv_event_get_indev(lv_event_t *e) {
    lv_event_code_t code = e->code;
    if (code == LV_EVENT_KEY || code == LV_EVENT_SCROLL_BEGIN)
        return lv_indev_get_act();
    /* The input events, from PRESSED to LEAVE, carry the device. */
    if (code >= LV_EVENT_PRESSED && code <= LV_EVENT_LEAVE)
        return e->param;
    return NULL;
}

lv_obj_draw_part_dsc_t *lv_event_get_draw_part_dsc(lv_event_t *e) {
    if (e->code != LV_EVENT_DRAW_PART_BEGIN && e->code != LV_EVENT_DRAW_PART_END)
        return NULL;
    return e->param;
}

lv_draw_ctx_t *lv_event_get_draw_ctx(lv_event_t *e) {
    bool drawing = e->code >= LV_EVENT_DRAW_MAIN_BEGIN && e->code <= LV_EVENT_DRAW_POST_END;
    return drawing ? e->param : NULL;
}

const lv_area_t *lv_event_get_old_size(lv_event_t *e) {
    return param_if(e, LV_EVENT_SIZE_CHANGED);
}

uint32_t lv_event_get_key(lv_event_t *e) {
    const uint32_t *key = param_if(e, LV_EVENT_KEY);
    return key != NULL ? *key : 0;
}

lv_anim_t *lv_event_get_scroll_anim(lv_event_t *e) {
    return param_if(e, LV_EVENT_SCROLL_BEGIN);
}

void lv_event_set_ext_draw_size(lv_event_t *e, lv_coord_t size) {
    lv_coord_t *acc = param_if(e, LV_EVENT_REFR_EXT_DRAW_SIZE);
    if (acc != NULL && size > *acc)
        *acc = size;
}

lv_point_t *lv_event_get_self_size_info(lv_event_t *e) {
    return param_if(e, LV_EVENT_GET_SELF_SIZE);
}

lv_hit_test_info_t *lv_event_get_hit_test_info(lv_event_t *e) {
    return param_if(e, LV_EVENT_HIT_TEST);
}

const lv_area_t *lv_event_get_cover_area(lv_event_t *e) {
    const lv_cover_check_info_t *info = param_if(e, LV_EVENT_COVER_CHECK);
    return info != NULL ? info->area : NULL;
}

void lv_event_set_cover_res(lv_event_t *e, lv_cover_res_t res) {
    lv_cover_check_info_t *info = param_if(e, LV_EVENT_COVER_CHECK);
    /* The answer only gets worse: COVER < NOT_COVER < MASKED. */
    if (info != NULL && res > info->res)
        info->res = res;
}
