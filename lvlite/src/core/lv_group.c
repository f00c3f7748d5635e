/**
 * @file lv_group.c
 */
#include "lv_group.h"
#include "lv_indev.h"
#include "lv_obj.h"
#include "../misc/lv_mem.h"

static lv_ll_t group_ll;
static lv_group_t *default_group;

void _lv_group_init(void) {
    _lv_ll_init(&group_ll, sizeof(lv_group_t));
    default_group = NULL;
}

/* The input device that drives the group: a keypad of it first, then an encoder, then any device. */
static lv_indev_t *get_indev(const lv_group_t *g) {
    lv_indev_t *indev_encoder = NULL;
    lv_indev_t *indev_group = NULL;
    lv_indev_t *indev = lv_indev_get_next(NULL);
    while (indev) {
        lv_indev_type_t t = lv_indev_get_type(indev);
        if (indev->group == g) {
            if (t == LV_INDEV_TYPE_KEYPAD)
                return indev;
            if (t == LV_INDEV_TYPE_ENCODER)
                indev_encoder = indev;
            indev_group = indev;
        }
        indev = lv_indev_get_next(indev);
    }
    if (indev_encoder)
        return indev_encoder;
    if (indev_group)
        return indev_group;
    return lv_indev_get_next(NULL);
}

lv_group_t *lv_group_create(void) {
    lv_group_t *group = _lv_ll_ins_head(&group_ll);
    LV_ASSERT_MALLOC(group);
    lv_memset_00(group, sizeof(*group));
    _lv_ll_init(&group->obj_ll, sizeof(lv_obj_t *));
    group->refocus_policy = LV_GROUP_REFOCUS_POLICY_PREV;
    group->wrap = 1;
    return group;
}

void lv_group_del(lv_group_t *group) {
    if (group->obj_focus != NULL) {
        (*group->obj_focus)->spec_attr->group_p = NULL;
        lv_event_send(*group->obj_focus, LV_EVENT_DEFOCUSED, get_indev(group));
        lv_obj_invalidate(*group->obj_focus);
    }
    lv_obj_t **obj;
    _LV_LL_READ(&group->obj_ll, obj) {
        if ((*obj)->spec_attr)
            (*obj)->spec_attr->group_p = NULL;
    }
    lv_indev_t *indev = lv_indev_get_next(NULL);
    while (indev) {
        if (indev->group == group)
            lv_indev_set_group(indev, NULL);
        indev = lv_indev_get_next(indev);
    }
    _lv_ll_clear(&group->obj_ll);
    _lv_ll_remove(&group_ll, group);
    if (default_group == group)
        default_group = NULL;
    lv_mem_free(group);
}

void lv_group_set_default(lv_group_t *group) {
    default_group = group;
}

lv_group_t *lv_group_get_default(void) {
    return default_group;
}

static bool focus_next_core(lv_group_t *group, void *(*begin)(const lv_ll_t *),
                            void *(*move)(const lv_ll_t *, const void *)) {
    if (group->frozen)
        return false;
    lv_obj_t **obj_next = group->obj_focus;
    lv_obj_t **obj_sentinel = NULL;
    bool can_move = true;
    bool can_begin = true;
    for (;;) {
        if (obj_next == NULL) {
            if (group->wrap || obj_sentinel == NULL) {
                if (!can_begin)
                    return false;
                obj_next = begin(&group->obj_ll);
                can_move = false;
                can_begin = false;
            } else {
                return false;
            }
        }
        if (obj_sentinel == NULL) {
            obj_sentinel = obj_next;
            if (obj_sentinel == NULL)
                return false;
        }
        if (can_move) {
            obj_next = move(&group->obj_ll, obj_next);
            if (obj_next == obj_sentinel)
                return false;
        }
        can_move = true;
        if (obj_next == NULL)
            continue;
        if (lv_obj_get_state(*obj_next) & LV_STATE_DISABLED)
            continue;
        /* Objects with a hidden ancestor take no focus. */
        lv_obj_t *parent = *obj_next;
        while (parent) {
            if (lv_obj_has_flag(parent, LV_OBJ_FLAG_HIDDEN))
                break;
            parent = lv_obj_get_parent(parent);
        }
        if (parent != NULL)
            continue;
        break;
    }
    if (obj_next == group->obj_focus)
        return false;
    if (group->obj_focus) {
        if (lv_event_send(*group->obj_focus, LV_EVENT_DEFOCUSED, get_indev(group)) != LV_RES_OK)
            return false;
        lv_obj_invalidate(*group->obj_focus);
    }
    group->obj_focus = obj_next;
    if (lv_event_send(*group->obj_focus, LV_EVENT_FOCUSED, get_indev(group)) != LV_RES_OK)
        return false;
    lv_obj_invalidate(*group->obj_focus);
    if (group->focus_cb)
        group->focus_cb(group);
    return true;
}

static void group_refocus(lv_group_t *g) {
    uint8_t temp_wrap = g->wrap;
    g->wrap = 1;
    if (g->refocus_policy == LV_GROUP_REFOCUS_POLICY_NEXT)
        lv_group_focus_next(g);
    else
        lv_group_focus_prev(g);
    g->wrap = temp_wrap;
}

void lv_group_add_obj(lv_group_t *group, lv_obj_t *obj) {
    if (group == NULL)
        return;
    lv_group_remove_obj(obj);
    lv_obj_t **obj_i;
    _LV_LL_READ(&group->obj_ll, obj_i) {
        if (*obj_i == obj)
            return;
    }
    lv_obj_allocate_spec_attr(obj);
    obj->spec_attr->group_p = group;
    lv_obj_t **next = _lv_ll_ins_tail(&group->obj_ll);
    LV_ASSERT_MALLOC(next);
    *next = obj;
    /* The first object of the group is focused at once. */
    if (_lv_ll_get_head(&group->obj_ll) == next)
        group_refocus(group);
}

void lv_group_swap_obj(lv_obj_t *obj1, lv_obj_t *obj2) {
    lv_group_t *g1 = lv_obj_get_group(obj1);
    lv_group_t *g2 = lv_obj_get_group(obj2);
    if (g1 != g2 || g1 == NULL)
        return;
    lv_obj_t **i;
    _LV_LL_READ(&g1->obj_ll, i) {
        if (*i == obj1)
            *i = obj2;
        else if (*i == obj2)
            *i = obj1;
    }
    lv_obj_t *focused = *g1->obj_focus;
    if (focused == obj1)
        lv_group_focus_obj(obj2);
    else if (focused == obj2)
        lv_group_focus_obj(obj1);
}

void lv_group_remove_obj(lv_obj_t *obj) {
    lv_group_t *g = lv_obj_get_group(obj);
    if (g == NULL)
        return;
    if (g->obj_focus && *g->obj_focus == obj) {
        if (g->frozen)
            g->frozen = 0;
        if (_lv_ll_get_head(&g->obj_ll) == g->obj_focus && _lv_ll_get_tail(&g->obj_ll) == g->obj_focus) {
            lv_event_send(*g->obj_focus, LV_EVENT_DEFOCUSED, get_indev(g));
        } else {
            group_refocus(g);
        }
    }
    if (g->obj_focus && *g->obj_focus == obj)
        g->obj_focus = NULL;
    lv_obj_t **i;
    _LV_LL_READ(&g->obj_ll, i) {
        if (*i == obj) {
            _lv_ll_remove(&g->obj_ll, i);
            lv_mem_free(i);
            if (obj->spec_attr)
                obj->spec_attr->group_p = NULL;
            break;
        }
    }
    lv_obj_invalidate(obj);
}

void lv_group_remove_all_objs(lv_group_t *group) {
    if (group->obj_focus != NULL) {
        lv_event_send(*group->obj_focus, LV_EVENT_DEFOCUSED, get_indev(group));
        lv_obj_invalidate(*group->obj_focus);
        group->obj_focus = NULL;
    }
    lv_obj_t **obj;
    _LV_LL_READ(&group->obj_ll, obj) {
        if ((*obj)->spec_attr)
            (*obj)->spec_attr->group_p = NULL;
    }
    _lv_ll_clear(&group->obj_ll);
}

void lv_group_focus_obj(lv_obj_t *obj) {
    if (obj == NULL)
        return;
    lv_group_t *g = lv_obj_get_group(obj);
    if (g == NULL || g->frozen)
        return;
    lv_group_set_editing(g, false);
    lv_obj_t **i;
    _LV_LL_READ(&g->obj_ll, i) {
        if (*i != obj)
            continue;
        if (g->obj_focus != NULL && obj != *g->obj_focus) {
            if (lv_event_send(*g->obj_focus, LV_EVENT_DEFOCUSED, get_indev(g)) != LV_RES_OK)
                return;
            lv_obj_invalidate(*g->obj_focus);
        }
        g->obj_focus = i;
        if (g->focus_cb)
            g->focus_cb(g);
        if (lv_event_send(*g->obj_focus, LV_EVENT_FOCUSED, get_indev(g)) != LV_RES_OK)
            return;
        lv_obj_invalidate(*g->obj_focus);
        break;
    }
}

void lv_group_focus_next(lv_group_t *group) {
    bool changed = focus_next_core(group, _lv_ll_get_head, _lv_ll_get_next);
    if (group->edge_cb && !changed)
        group->edge_cb(group, true);
}

void lv_group_focus_prev(lv_group_t *group) {
    bool changed = focus_next_core(group, _lv_ll_get_tail, _lv_ll_get_prev);
    if (group->edge_cb && !changed)
        group->edge_cb(group, false);
}

void lv_group_focus_freeze(lv_group_t *group, bool en) {
    group->frozen = en ? 1 : 0;
}

lv_res_t lv_group_send_data(lv_group_t *group, uint32_t c) {
    lv_obj_t *act = lv_group_get_focused(group);
    if (act == NULL)
        return LV_RES_OK;
    if (lv_obj_has_state(act, LV_STATE_DISABLED))
        return LV_RES_OK;
    return lv_event_send(act, LV_EVENT_KEY, &c);
}

void lv_group_set_focus_cb(lv_group_t *group, lv_group_focus_cb_t focus_cb) {
    group->focus_cb = focus_cb;
}

void lv_group_set_edge_cb(lv_group_t *group, lv_group_edge_cb_t edge_cb) {
    group->edge_cb = edge_cb;
}

void lv_group_set_refocus_policy(lv_group_t *group, lv_group_refocus_policy_t policy) {
    group->refocus_policy = policy & 0x01;
}

void lv_group_set_editing(lv_group_t *group, bool edit) {
    if (group == NULL)
        return;
    uint8_t en_val = edit ? 1 : 0;
    if (en_val == group->editing)
        return;
    group->editing = en_val;
    lv_obj_t *focused = lv_group_get_focused(group);
    if (focused) {
        if (lv_event_send(*group->obj_focus, LV_EVENT_FOCUSED, get_indev(group)) != LV_RES_OK)
            return;
        lv_obj_invalidate(focused);
    }
}

void lv_group_set_wrap(lv_group_t *group, bool en) {
    group->wrap = en ? 1 : 0;
}

lv_obj_t *lv_group_get_focused(const lv_group_t *group) {
    if (group == NULL || group->obj_focus == NULL)
        return NULL;
    return *group->obj_focus;
}

lv_group_focus_cb_t lv_group_get_focus_cb(const lv_group_t *group) {
    return group ? group->focus_cb : NULL;
}

bool lv_group_get_editing(const lv_group_t *group) {
    return group ? group->editing : false;
}

bool lv_group_get_wrap(lv_group_t *group) {
    return group ? group->wrap : false;
}

uint32_t lv_group_get_obj_count(lv_group_t *group) {
    return _lv_ll_get_len(&group->obj_ll);
}
