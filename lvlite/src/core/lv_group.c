/**
 * @file lv_group.c
 * A group keeps its members in insertion order (obj_ll holds pointers to them) and remembers the node
 * of the focused one. Moving the focus walks the list from that node, skipping members that cannot
 * take the focus (disabled, or below a hidden object), and wraps at the ends when the group allows it.
 */
#include "lv_group.h"
#include "lv_indev.h"
#include "lv_obj.h"
#include "../misc/lv_mem.h"

static lv_ll_t all_groups;
static lv_group_t *group_for_new_objs;

void _lv_group_init(void) {
    _lv_ll_init(&all_groups, sizeof(lv_group_t));
    group_for_new_objs = NULL;
}

/* The device that drives g, passed along with its focus events: one of its keypads is preferred, then one
 * of its encoders, then any device attached to it, and without any the first device at all. */
static lv_indev_t *driver_of(const lv_group_t *g) {
    lv_indev_t *best = NULL;
    int best_rank = 0;
    for (lv_indev_t *d = lv_indev_get_next(NULL); d != NULL; d = lv_indev_get_next(d)) {
        if (d->group != g)
            continue;
        lv_indev_type_t type = lv_indev_get_type(d);
        int rank = type == LV_INDEV_TYPE_KEYPAD ? 3 : type == LV_INDEV_TYPE_ENCODER ? 2 : 1;
        /* Among equals the last one found wins, except for keypads, where the first one does. */
        if (rank > best_rank || (rank == best_rank && rank < 3)) {
            best = d;
            best_rank = rank;
        }
    }
    return best ? best : lv_indev_get_next(NULL);
}

static bool takes_focus(lv_obj_t *member) {
    if (lv_obj_get_state(member) & LV_STATE_DISABLED)
        return false;
    for (lv_obj_t *o = member; o != NULL; o = lv_obj_get_parent(o)) {
        if (lv_obj_has_flag(o, LV_OBJ_FLAG_HIDDEN))
            return false;
    }
    return true;
}

static lv_obj_t **node_of(lv_group_t *g, const lv_obj_t *obj) {
    for (lv_obj_t **n = _lv_ll_get_head(&g->obj_ll); n != NULL; n = _lv_ll_get_next(&g->obj_ll, n)) {
        if (*n == obj)
            return n;
    }
    return NULL;
}

/* Tell the focused member it loses the focus; false when a handler stopped the event chain. */
static bool drop_focus(lv_group_t *g) {
    lv_obj_t *old = *g->obj_focus;
    if (lv_event_send(old, LV_EVENT_DEFOCUSED, driver_of(g)) != LV_RES_OK)
        return false;
    lv_obj_invalidate(old);
    return true;
}

/* Give the focus to the member in node. The focus callback runs before the FOCUSED event when asked
 * directly for one object, after it when the focus moves to the next or previous one. */
static bool give_focus(lv_group_t *g, lv_obj_t **node, bool notify_first) {
    g->obj_focus = node;
    if (notify_first && g->focus_cb)
        g->focus_cb(g);
    if (lv_event_send(*node, LV_EVENT_FOCUSED, driver_of(g)) != LV_RES_OK)
        return false;
    lv_obj_invalidate(*node);
    if (!notify_first && g->focus_cb)
        g->focus_cb(g);
    return true;
}

/* Move the focus one eligible member forward or back; false when it stays where it was. */
static bool step_focus(lv_group_t *g, bool forward) {
    if (g->frozen)
        return false;
    lv_obj_t **from = g->obj_focus;
    lv_obj_t **cand;
    bool wrapped;
    if (from == NULL) {
        /* Nothing focused: look from the first member in the direction of travel, without wrapping. */
        cand = forward ? _lv_ll_get_head(&g->obj_ll) : _lv_ll_get_tail(&g->obj_ll);
        wrapped = true;
    } else {
        cand = forward ? _lv_ll_get_next(&g->obj_ll, from) : _lv_ll_get_prev(&g->obj_ll, from);
        wrapped = false;
    }
    for (;;) {
        if (cand == NULL) {
            if (wrapped || !g->wrap)
                return false;
            wrapped = true;
            cand = forward ? _lv_ll_get_head(&g->obj_ll) : _lv_ll_get_tail(&g->obj_ll);
            continue;
        }
        if (cand == from)
            return false;
        if (takes_focus(*cand))
            break;
        cand = forward ? _lv_ll_get_next(&g->obj_ll, cand) : _lv_ll_get_prev(&g->obj_ll, cand);
    }
    if (from != NULL && !drop_focus(g))
        return false;
    return give_focus(g, cand, false);
}

/* After the focused member leaves, focus another one, wrapping whatever the group's setting. */
static void focus_another(lv_group_t *g) {
    uint8_t wrap_setting = g->wrap;
    g->wrap = 1;
    if (g->refocus_policy == LV_GROUP_REFOCUS_POLICY_NEXT)
        lv_group_focus_next(g);
    else
        lv_group_focus_prev(g);
    g->wrap = wrap_setting;
}

/* Forget every member (their group pointer too), telling the focused one first. */
static void forget_members(lv_group_t *g) {
    if (g->obj_focus != NULL) {
        lv_obj_t *focused = *g->obj_focus;
        lv_event_send(focused, LV_EVENT_DEFOCUSED, driver_of(g));
        lv_obj_invalidate(focused);
        g->obj_focus = NULL;
    }
    for (lv_obj_t **n = _lv_ll_get_head(&g->obj_ll); n != NULL; n = _lv_ll_get_next(&g->obj_ll, n)) {
        if ((*n)->spec_attr)
            (*n)->spec_attr->group_p = NULL;
    }
    _lv_ll_clear(&g->obj_ll);
}

lv_group_t *lv_group_create(void) {
    lv_group_t *g = _lv_ll_ins_head(&all_groups);
    if (g == NULL) {
        LV_LOG_ERROR("out of memory");
        return NULL;
    }
    lv_memset_00(g, sizeof(*g));
    _lv_ll_init(&g->obj_ll, sizeof(lv_obj_t *));
    g->wrap = 1;
    g->refocus_policy = LV_GROUP_REFOCUS_POLICY_PREV;
    return g;
}

void lv_group_del(lv_group_t *group) {
    if (group == NULL)
        return;
    forget_members(group);
    for (lv_indev_t *d = lv_indev_get_next(NULL); d != NULL; d = lv_indev_get_next(d)) {
        if (d->group == group)
            lv_indev_set_group(d, NULL);
    }
    if (group_for_new_objs == group)
        group_for_new_objs = NULL;
    _lv_ll_remove(&all_groups, group);
    lv_mem_free(group);
}

void lv_group_set_default(lv_group_t *group) {
    group_for_new_objs = group;
}

lv_group_t *lv_group_get_default(void) {
    return group_for_new_objs;
}

void lv_group_add_obj(lv_group_t *group, lv_obj_t *obj) {
    if (group == NULL || obj == NULL)
        return;
    lv_group_remove_obj(obj);
    if (node_of(group, obj) != NULL)
        return;
    lv_obj_allocate_spec_attr(obj);
    lv_obj_t **node = _lv_ll_ins_tail(&group->obj_ll);
    if (node == NULL) {
        LV_LOG_ERROR("out of memory");
        return;
    }
    *node = obj;
    obj->spec_attr->group_p = group;
    bool was_empty = _lv_ll_get_head(&group->obj_ll) == node;
    if (was_empty)
        focus_another(group);
}

void lv_group_swap_obj(lv_obj_t *obj1, lv_obj_t *obj2) {
    lv_group_t *g = lv_obj_get_group(obj1);
    if (g == NULL || g != lv_obj_get_group(obj2))
        return;
    lv_obj_t **n1 = node_of(g, obj1);
    lv_obj_t **n2 = node_of(g, obj2);
    if (n1 == NULL || n2 == NULL)
        return;
    lv_obj_t *had_focus = lv_group_get_focused(g);
    *n1 = obj2;
    *n2 = obj1;
    /* The focus stays with the object, not with its place. */
    if (had_focus == obj1 || had_focus == obj2)
        lv_group_focus_obj(had_focus);
}

void lv_group_remove_obj(lv_obj_t *obj) {
    lv_group_t *g = lv_obj_get_group(obj);
    if (g == NULL)
        return;
    if (lv_group_get_focused(g) == obj) {
        g->frozen = 0;
        bool alone = _lv_ll_get_len(&g->obj_ll) == 1;
        if (alone)
            lv_event_send(obj, LV_EVENT_DEFOCUSED, driver_of(g));
        else
            focus_another(g);
        if (lv_group_get_focused(g) == obj)
            g->obj_focus = NULL;
    }
    lv_obj_t **node = node_of(g, obj);
    if (node != NULL) {
        _lv_ll_remove(&g->obj_ll, node);
        lv_mem_free(node);
    }
    if (obj->spec_attr)
        obj->spec_attr->group_p = NULL;
    lv_obj_invalidate(obj);
}

void lv_group_remove_all_objs(lv_group_t *group) {
    if (group)
        forget_members(group);
}

void lv_group_focus_obj(lv_obj_t *obj) {
    lv_group_t *g = obj ? lv_obj_get_group(obj) : NULL;
    if (g == NULL || g->frozen)
        return;
    lv_group_set_editing(g, false);
    lv_obj_t **node = node_of(g, obj);
    if (node == NULL)
        return;
    if (g->obj_focus != NULL && *g->obj_focus != obj && !drop_focus(g))
        return;
    give_focus(g, node, true);
}

void lv_group_focus_next(lv_group_t *group) {
    if (!step_focus(group, true) && group->edge_cb)
        group->edge_cb(group, true);
}

void lv_group_focus_prev(lv_group_t *group) {
    if (!step_focus(group, false) && group->edge_cb)
        group->edge_cb(group, false);
}

void lv_group_focus_freeze(lv_group_t *group, bool en) {
    group->frozen = en ? 1 : 0;
}

lv_res_t lv_group_send_data(lv_group_t *group, uint32_t c) {
    lv_obj_t *target = lv_group_get_focused(group);
    if (target == NULL || lv_obj_has_state(target, LV_STATE_DISABLED))
        return LV_RES_OK;
    return lv_event_send(target, LV_EVENT_KEY, &c);
}

void lv_group_set_focus_cb(lv_group_t *group, lv_group_focus_cb_t focus_cb) {
    group->focus_cb = focus_cb;
}

void lv_group_set_edge_cb(lv_group_t *group, lv_group_edge_cb_t edge_cb) {
    group->edge_cb = edge_cb;
}

void lv_group_set_refocus_policy(lv_group_t *group, lv_group_refocus_policy_t policy) {
    group->refocus_policy = (policy == LV_GROUP_REFOCUS_POLICY_PREV) ? 1 : 0;
}

void lv_group_set_editing(lv_group_t *group, bool edit) {
    if (group == NULL || group->editing == (edit ? 1 : 0))
        return;
    group->editing = edit ? 1 : 0;
    /* The focused object hears of the new mode as a repeated FOCUSED. */
    lv_obj_t *target = lv_group_get_focused(group);
    if (target != NULL && lv_event_send(target, LV_EVENT_FOCUSED, driver_of(group)) == LV_RES_OK)
        lv_obj_invalidate(target);
}

void lv_group_set_wrap(lv_group_t *group, bool en) {
    group->wrap = en ? 1 : 0;
}

lv_obj_t *lv_group_get_focused(const lv_group_t *group) {
    return (group && group->obj_focus) ? *group->obj_focus : NULL;
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
    return group ? _lv_ll_get_len(&group->obj_ll) : 0;
}
