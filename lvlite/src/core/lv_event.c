/**
 * @file lv_event.c
 */
#include "lv_obj.h"
#include "lv_indev.h"
#include "../misc/lv_math.h"
#include "../misc/lv_mem.h"

/* The events being sent, innermost first, so that a deletion can mark them. */
static lv_event_t *event_head;
static uint32_t last_id = _LV_EVENT_LAST;

static bool event_is_bubbled(lv_event_t *e) {
    if (e->stop_bubbling)
        return false;
    switch (e->code) {
    case LV_EVENT_HIT_TEST:
    case LV_EVENT_COVER_CHECK:
    case LV_EVENT_REFR_EXT_DRAW_SIZE:
    case LV_EVENT_DRAW_MAIN_BEGIN:
    case LV_EVENT_DRAW_MAIN:
    case LV_EVENT_DRAW_MAIN_END:
    case LV_EVENT_DRAW_POST_BEGIN:
    case LV_EVENT_DRAW_POST:
    case LV_EVENT_DRAW_POST_END:
    case LV_EVENT_DRAW_PART_BEGIN:
    case LV_EVENT_DRAW_PART_END:
    case LV_EVENT_REFRESH:
    case LV_EVENT_DELETE:
    case LV_EVENT_CHILD_CREATED:
    case LV_EVENT_CHILD_DELETED:
    case LV_EVENT_CHILD_CHANGED:
    case LV_EVENT_SIZE_CHANGED:
    case LV_EVENT_STYLE_CHANGED:
    case LV_EVENT_GET_SELF_SIZE:
        return false;
    default:
        return true;
    }
}

static lv_res_t call_user_cbs(lv_event_t *e, bool preprocess) {
    lv_obj_t *obj = e->current_target;
    for (uint32_t i = 0; obj->spec_attr && i < obj->spec_attr->event_dsc_cnt; i++) {
        lv_event_dsc_t *dsc = &obj->spec_attr->event_dsc[i];
        bool is_pre = (dsc->filter & LV_EVENT_PREPROCESS) != 0;
        if (dsc->cb == NULL || is_pre != preprocess)
            continue;
        lv_event_code_t f = (lv_event_code_t)(dsc->filter & ~LV_EVENT_PREPROCESS);
        if (f != LV_EVENT_ALL && f != e->code)
            continue;
        e->user_data = dsc->user_data;
        dsc->cb(e);
        if (e->stop_processing)
            return LV_RES_OK;
        if (e->deleted)
            return LV_RES_INV;
    }
    return LV_RES_OK;
}

static lv_res_t event_send_core(lv_event_t *e) {
    lv_indev_t *indev_act = lv_indev_get_act();
    if (indev_act && indev_act->driver->feedback_cb) {
        indev_act->driver->feedback_cb(indev_act->driver, (uint8_t)e->code);
        if (e->stop_processing)
            return LV_RES_OK;
        if (e->deleted)
            return LV_RES_INV;
    }
    lv_res_t res = call_user_cbs(e, true);
    if (res != LV_RES_OK || e->stop_processing)
        return res;
    res = lv_obj_event_base(NULL, e);
    if (res != LV_RES_OK)
        return res;
    res = call_user_cbs(e, false);
    if (res != LV_RES_OK || e->stop_processing)
        return res;
    if (e->current_target->parent && event_is_bubbled(e) &&
        lv_obj_has_flag(e->current_target, LV_OBJ_FLAG_EVENT_BUBBLE)) {
        e->current_target = e->current_target->parent;
        res = event_send_core(e);
        if (res != LV_RES_OK)
            return LV_RES_INV;
    }
    return res;
}

lv_res_t lv_event_send(lv_obj_t *obj, lv_event_code_t event_code, void *param) {
    if (obj == NULL)
        return LV_RES_OK;
    lv_event_t e;
    e.target = obj;
    e.current_target = obj;
    e.code = event_code;
    e.user_data = NULL;
    e.param = param;
    e.deleted = 0;
    e.stop_bubbling = 0;
    e.stop_processing = 0;
    e.prev = event_head;
    event_head = &e;
    lv_res_t res = event_send_core(&e);
    event_head = e.prev;
    return res;
}

lv_res_t lv_obj_event_base(const lv_obj_class_t *class_p, lv_event_t *e) {
    const lv_obj_class_t *base = class_p == NULL ? e->current_target->class_p : class_p->base_class;
    while (base && base->event_cb == NULL)
        base = base->base_class;
    if (base == NULL)
        return LV_RES_OK;
    e->user_data = NULL;
    base->event_cb(base, e);
    return e->deleted ? LV_RES_INV : LV_RES_OK;
}

lv_obj_t *lv_event_get_target(lv_event_t *e) {
    return e->target;
}

lv_obj_t *lv_event_get_current_target(lv_event_t *e) {
    return e->current_target;
}

lv_event_code_t lv_event_get_code(lv_event_t *e) {
    return (lv_event_code_t)(e->code & ~LV_EVENT_PREPROCESS);
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

uint32_t lv_event_register_id(void) {
    last_id++;
    return last_id;
}

void _lv_event_mark_deleted(lv_obj_t *obj) {
    for (lv_event_t *e = event_head; e; e = e->prev) {
        if (e->current_target == obj || e->target == obj)
            e->deleted = 1;
    }
}

lv_event_dsc_t *lv_obj_add_event_cb(lv_obj_t *obj, lv_event_cb_t event_cb, lv_event_code_t filter,
                                    void *user_data) {
    lv_obj_allocate_spec_attr(obj);
    uint32_t cnt = obj->spec_attr->event_dsc_cnt;
    if (cnt >= UINT8_MAX) {
        LV_LOG_ERROR("too many event callbacks");
        return NULL;
    }
    lv_event_dsc_t *n = lv_mem_realloc(obj->spec_attr->event_dsc, (cnt + 1) * sizeof(lv_event_dsc_t));
    LV_ASSERT_MALLOC(n);
    obj->spec_attr->event_dsc = n;
    n[cnt].cb = event_cb;
    n[cnt].filter = filter;
    n[cnt].user_data = user_data;
    obj->spec_attr->event_dsc_cnt++;
    return &n[cnt];
}

static void remove_dsc_at(lv_obj_t *obj, uint32_t i) {
    for (uint32_t j = i; j + 1 < obj->spec_attr->event_dsc_cnt; j++) {
        obj->spec_attr->event_dsc[j] = obj->spec_attr->event_dsc[j + 1];
    }
    obj->spec_attr->event_dsc_cnt--;
    if (obj->spec_attr->event_dsc_cnt == 0) {
        lv_mem_free(obj->spec_attr->event_dsc);
        obj->spec_attr->event_dsc = NULL;
    }
}

bool lv_obj_remove_event_cb(lv_obj_t *obj, lv_event_cb_t event_cb) {
    if (obj->spec_attr == NULL)
        return false;
    for (uint32_t i = 0; i < obj->spec_attr->event_dsc_cnt; i++) {
        if (event_cb == NULL || obj->spec_attr->event_dsc[i].cb == event_cb) {
            remove_dsc_at(obj, i);
            return true;
        }
    }
    return false;
}

bool lv_obj_remove_event_cb_with_user_data(lv_obj_t *obj, lv_event_cb_t event_cb, const void *user_data) {
    if (obj->spec_attr == NULL)
        return false;
    for (uint32_t i = 0; i < obj->spec_attr->event_dsc_cnt; i++) {
        lv_event_dsc_t *d = &obj->spec_attr->event_dsc[i];
        if ((event_cb == NULL || d->cb == event_cb) && d->user_data == user_data) {
            remove_dsc_at(obj, i);
            return true;
        }
    }
    return false;
}

bool lv_obj_remove_event_dsc(lv_obj_t *obj, lv_event_dsc_t *event_dsc) {
    if (obj->spec_attr == NULL)
        return false;
    for (uint32_t i = 0; i < obj->spec_attr->event_dsc_cnt; i++) {
        if (&obj->spec_attr->event_dsc[i] == event_dsc) {
            remove_dsc_at(obj, i);
            return true;
        }
    }
    return false;
}

void *lv_obj_get_event_user_data(lv_obj_t *obj, lv_event_cb_t event_cb) {
    if (obj->spec_attr == NULL)
        return NULL;
    for (uint32_t i = 0; i < obj->spec_attr->event_dsc_cnt; i++) {
        if (obj->spec_attr->event_dsc[i].cb == event_cb)
            return obj->spec_attr->event_dsc[i].user_data;
    }
    return NULL;
}

lv_indev_t *lv_event_get_indev(lv_event_t *e) {
    switch (e->code) {
    case LV_EVENT_PRESSED:
    case LV_EVENT_PRESSING:
    case LV_EVENT_PRESS_LOST:
    case LV_EVENT_SHORT_CLICKED:
    case LV_EVENT_LONG_PRESSED:
    case LV_EVENT_LONG_PRESSED_REPEAT:
    case LV_EVENT_CLICKED:
    case LV_EVENT_RELEASED:
    case LV_EVENT_SCROLL_BEGIN:
    case LV_EVENT_SCROLL_END:
    case LV_EVENT_SCROLL:
    case LV_EVENT_GESTURE:
    case LV_EVENT_KEY:
    case LV_EVENT_FOCUSED:
    case LV_EVENT_DEFOCUSED:
    case LV_EVENT_LEAVE:
        if (e->code == LV_EVENT_KEY || e->code == LV_EVENT_SCROLL_BEGIN)
            return lv_indev_get_act();
        return lv_event_get_param(e);
    default:
        return NULL;
    }
}

lv_obj_draw_part_dsc_t *lv_event_get_draw_part_dsc(lv_event_t *e) {
    if (e->code == LV_EVENT_DRAW_PART_BEGIN || e->code == LV_EVENT_DRAW_PART_END)
        return lv_event_get_param(e);
    return NULL;
}

lv_draw_ctx_t *lv_event_get_draw_ctx(lv_event_t *e) {
    switch (e->code) {
    case LV_EVENT_DRAW_MAIN:
    case LV_EVENT_DRAW_MAIN_BEGIN:
    case LV_EVENT_DRAW_MAIN_END:
    case LV_EVENT_DRAW_POST:
    case LV_EVENT_DRAW_POST_BEGIN:
    case LV_EVENT_DRAW_POST_END:
        return lv_event_get_param(e);
    default:
        return NULL;
    }
}

const lv_area_t *lv_event_get_old_size(lv_event_t *e) {
    return e->code == LV_EVENT_SIZE_CHANGED ? lv_event_get_param(e) : NULL;
}

uint32_t lv_event_get_key(lv_event_t *e) {
    if (e->code != LV_EVENT_KEY)
        return 0;
    uint32_t *k = lv_event_get_param(e);
    return k ? *k : 0;
}

lv_anim_t *lv_event_get_scroll_anim(lv_event_t *e) {
    return e->code == LV_EVENT_SCROLL_BEGIN ? lv_event_get_param(e) : NULL;
}

void lv_event_set_ext_draw_size(lv_event_t *e, lv_coord_t size) {
    if (e->code != LV_EVENT_REFR_EXT_DRAW_SIZE)
        return;
    lv_coord_t *cur = lv_event_get_param(e);
    *cur = LV_MAX(*cur, size);
}

lv_point_t *lv_event_get_self_size_info(lv_event_t *e) {
    return e->code == LV_EVENT_GET_SELF_SIZE ? lv_event_get_param(e) : NULL;
}

lv_hit_test_info_t *lv_event_get_hit_test_info(lv_event_t *e) {
    return e->code == LV_EVENT_HIT_TEST ? lv_event_get_param(e) : NULL;
}

const lv_area_t *lv_event_get_cover_area(lv_event_t *e) {
    if (e->code != LV_EVENT_COVER_CHECK)
        return NULL;
    lv_cover_check_info_t *p = lv_event_get_param(e);
    return p->area;
}

void lv_event_set_cover_res(lv_event_t *e, lv_cover_res_t res) {
    if (e->code != LV_EVENT_COVER_CHECK)
        return;
    lv_cover_check_info_t *p = lv_event_get_param(e);
    if (res > p->res)
        p->res = res;
}
