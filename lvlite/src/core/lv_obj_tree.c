/**
 * @file lv_obj_tree.c
 * The object tree: screens listed by their display, children listed by their parent (oldest first,
 * which is also the drawing order), deleting subtrees and moving objects within it.
 */
#include "lv_obj.h"
#include "lv_disp.h"
#include "lv_indev.h"
#include "lv_refr.h"
#include "../misc/lv_mem.h"

#include <string.h>

#define NOT_FOUND 0xFFFFFFFFu

/* ---- object lists (children of a parent, screens of a display) ---- */

static uint32_t list_find(lv_obj_t *const *list, uint32_t cnt, const lv_obj_t *obj) {
    for (uint32_t n = 0; n < cnt; n++) {
        if (list[n] == obj)
            return n;
    }
    return NOT_FOUND;
}

bool _lv_obj_list_append(lv_obj_t ***list, uint32_t *cnt, lv_obj_t *obj) {
    lv_obj_t **grown = lv_mem_realloc(*list, sizeof(lv_obj_t *) * (*cnt + 1u));
    LV_ASSERT_MALLOC(grown);
    if (grown == NULL)
        return false;
    grown[(*cnt)++] = obj;
    *list = grown;
    return true;
}

void _lv_obj_list_remove(lv_obj_t ***list, uint32_t *cnt, const lv_obj_t *obj) {
    uint32_t at = list_find(*list, *cnt, obj);
    if (at == NOT_FOUND)
        return;
    lv_obj_t **l = *list;
    memmove(&l[at], &l[at + 1], sizeof(lv_obj_t *) * (*cnt - at - 1));
    if (--*cnt == 0) {
        lv_mem_free(l);
        *list = NULL;
    }
}

static void unlink_from_parent(lv_obj_t *obj) {
    _lv_obj_spec_attr_t *sa = obj->parent->spec_attr;
    _lv_obj_list_remove(&sa->children, &sa->child_cnt, obj);
}

/* ---- deleting ---- */

/* Input devices must not go on pointing at an object that is going away. */
static void forget_in_input_devices(lv_obj_t *obj) {
    lv_group_t *group = lv_obj_get_group(obj);
    for (lv_indev_t *in = lv_indev_get_next(NULL); in != NULL; in = lv_indev_get_next(in)) {
        bool held = in->proc.types.pointer.act_obj == obj || in->proc.types.pointer.last_obj == obj ||
                    in->proc.types.pointer.scroll_obj == obj;
        bool focused = group != NULL && in->group == group && lv_indev_get_obj_act() == obj;
        if (held || focused)
            lv_indev_reset(in, obj);
        if (in->proc.types.pointer.last_pressed == obj)
            in->proc.types.pointer.last_pressed = NULL;
    }
}

/* DELETE goes to the object, then (depth-first) to its children, which are freed before it. */
static void destroy_subtree(lv_obj_t *obj) {
    if (lv_event_send(obj, LV_EVENT_DELETE, NULL) == LV_RES_INV)
        return;
    obj->being_deleted = 1;
    for (lv_obj_t *child; (child = lv_obj_get_child(obj, 0)) != NULL;)
        destroy_subtree(child);

    forget_in_input_devices(obj);
    _lv_obj_destruct(obj);
    if (obj->parent != NULL) {
        unlink_from_parent(obj);
    } else {
        lv_disp_t *disp = lv_obj_get_disp(obj);
        if (disp != NULL)
            _lv_obj_list_remove(&disp->screens, &disp->screen_cnt, obj);
    }
    lv_mem_free(obj);
}

void lv_obj_del(lv_obj_t *obj) {
    if (obj == NULL || obj->being_deleted)
        return;
    lv_obj_invalidate(obj);
    lv_obj_t *parent = obj->parent;
    lv_disp_t *owner = NULL;
    if (parent == NULL) {
        owner = lv_obj_get_disp(obj);
        if (owner == NULL)
            return;
    }
    bool was_active = owner != NULL && owner->act_scr == obj;
    destroy_subtree(obj);
    if (parent != NULL) {
        lv_obj_scrollbar_invalidate(parent);
        lv_event_send(parent, LV_EVENT_CHILD_CHANGED, NULL);
        lv_event_send(parent, LV_EVENT_CHILD_DELETED, NULL);
    } else if (was_active) {
        LV_LOG_WARN("the active screen was deleted");
        owner->act_scr = NULL;
    }
}

void lv_obj_clean(lv_obj_t *obj) {
    lv_obj_invalidate(obj);
    for (lv_obj_t *child; (child = lv_obj_get_child(obj, 0)) != NULL;)
        destroy_subtree(child);
    lv_obj_scroll_to(obj, 0, 0, LV_ANIM_OFF);
    if (obj->spec_attr != NULL) {
        obj->spec_attr->scroll.x = 0;
        obj->spec_attr->scroll.y = 0;
    }
    lv_event_send(obj, LV_EVENT_CHILD_CHANGED, NULL);
}

void lv_obj_del_anim_ready_cb(lv_anim_t *a) {
    lv_obj_del(a->var);
}

static void keep_still(void *var, int32_t value) {
    LV_UNUSED(var);
    LV_UNUSED(value);
}

void lv_obj_del_delayed(lv_obj_t *obj, uint32_t delay_ms) {
    /* A 1 ms animation that does nothing; its end deletes the object. */
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, obj);
    lv_anim_set_exec_cb(&a, keep_still);
    lv_anim_set_ready_cb(&a, lv_obj_del_anim_ready_cb);
    lv_anim_set_time(&a, 1);
    lv_anim_set_delay(&a, delay_ms);
    lv_anim_start(&a);
}

/* ---- moving ---- */

void lv_obj_set_parent(lv_obj_t *obj, lv_obj_t *parent) {
    lv_obj_t *old = obj->parent;
    if (old == NULL) {
        LV_LOG_WARN("a screen has no parent to change");
        return;
    }
    if (parent == NULL || parent == old)
        return;
    lv_obj_invalidate(obj);
    lv_obj_allocate_spec_attr(parent);
    if (!_lv_obj_list_append(&parent->spec_attr->children, &parent->spec_attr->child_cnt, obj))
        return;
    unlink_from_parent(obj);
    obj->parent = parent;

    lv_obj_readjust_scroll(old, LV_ANIM_OFF);
    lv_obj_scrollbar_invalidate(old);
    lv_event_send(old, LV_EVENT_CHILD_CHANGED, obj);
    lv_event_send(old, LV_EVENT_CHILD_DELETED, NULL);
    lv_event_send(parent, LV_EVENT_CHILD_CHANGED, obj);
    lv_event_send(parent, LV_EVENT_CHILD_CREATED, NULL);
    lv_obj_mark_layout_as_dirty(obj);
    lv_obj_invalidate(obj);
}

void lv_obj_swap(lv_obj_t *obj1, lv_obj_t *obj2) {
    lv_obj_t *p1 = obj1->parent;
    lv_obj_t *p2 = obj2->parent;
    if (p1 == NULL || p2 == NULL)
        return;
    lv_obj_t **slot1 = &p1->spec_attr->children[lv_obj_get_index(obj1)];
    lv_obj_t **slot2 = &p2->spec_attr->children[lv_obj_get_index(obj2)];
    *slot1 = obj2;
    *slot2 = obj1;
    obj1->parent = p2;
    obj2->parent = p1;
    lv_event_send(p2, LV_EVENT_CHILD_CHANGED, obj2);
    lv_event_send(p1, LV_EVENT_CHILD_CHANGED, obj1);
    lv_obj_invalidate(p1);
    lv_obj_invalidate(p2);
}

void lv_obj_move_to_index(lv_obj_t *obj, int32_t index) {
    lv_obj_t *parent = obj->parent;
    if (parent == NULL) {
        LV_LOG_WARN("a screen has no place among siblings");
        return;
    }
    int32_t cnt = (int32_t)parent->spec_attr->child_cnt;
    int32_t to = index < 0 ? cnt + index : index;
    int32_t from = (int32_t)lv_obj_get_index(obj);
    if (to < 0 || to >= cnt || to == from)
        return;
    /* Shift the objects between the two places by one towards the free slot. */
    lv_obj_t **ch = parent->spec_attr->children;
    if (to > from)
        memmove(&ch[from], &ch[from + 1], sizeof(lv_obj_t *) * (size_t)(to - from));
    else
        memmove(&ch[to + 1], &ch[to], sizeof(lv_obj_t *) * (size_t)(from - to));
    ch[to] = obj;
    lv_event_send(parent, LV_EVENT_CHILD_CHANGED, NULL);
    lv_obj_invalidate(parent);
}

/* ---- reading the tree ---- */

lv_obj_t *lv_obj_get_screen(const lv_obj_t *obj) {
    while (obj->parent != NULL)
        obj = obj->parent;
    return (lv_obj_t *)obj;
}

lv_disp_t *lv_obj_get_disp(const lv_obj_t *obj) {
    const lv_obj_t *scr = lv_obj_get_screen(obj);
    for (lv_disp_t *d = lv_disp_get_next(NULL); d != NULL; d = lv_disp_get_next(d)) {
        if (list_find(d->screens, d->screen_cnt, scr) != NOT_FOUND)
            return d;
    }
    LV_LOG_WARN("the object's screen belongs to no display");
    return NULL;
}

lv_obj_t *lv_obj_get_parent(const lv_obj_t *obj) {
    return obj != NULL ? obj->parent : NULL;
}

lv_obj_t *lv_obj_get_child(const lv_obj_t *obj, int32_t id) {
    uint32_t cnt = lv_obj_get_child_cnt(obj);
    uint32_t at = id < 0 ? cnt - (uint32_t)(-(int64_t)id) : (uint32_t)id;
    return at < cnt ? obj->spec_attr->children[at] : NULL;
}

uint32_t lv_obj_get_child_cnt(const lv_obj_t *obj) {
    return obj->spec_attr != NULL ? obj->spec_attr->child_cnt : 0;
}

uint32_t lv_obj_get_index(const lv_obj_t *obj) {
    const lv_obj_t *parent = obj->parent;
    if (parent == NULL)
        return NOT_FOUND;
    return list_find(parent->spec_attr->children, parent->spec_attr->child_cnt, obj);
}

/* Pre-order walk; true when the callback asked to end it. */
static bool walk_from(lv_obj_t *obj, lv_obj_tree_walk_cb_t cb, void *user_data) {
    lv_obj_tree_walk_res_t r = cb(obj, user_data);
    if (r == LV_OBJ_TREE_WALK_END)
        return true;
    if (r == LV_OBJ_TREE_WALK_SKIP_CHILDREN)
        return false;
    for (uint32_t n = 0; n < lv_obj_get_child_cnt(obj); n++) {
        if (walk_from(obj->spec_attr->children[n], cb, user_data))
            return true;
    }
    return false;
}

void lv_obj_tree_walk(lv_obj_t *start_obj, lv_obj_tree_walk_cb_t cb, void *user_data) {
    if (start_obj != NULL) {
        walk_from(start_obj, cb, user_data);
        return;
    }
    /* Every screen of every display. */
    for (lv_disp_t *d = lv_disp_get_next(NULL); d != NULL; d = lv_disp_get_next(d)) {
        for (uint32_t n = 0; n < d->screen_cnt; n++) {
            if (walk_from(d->screens[n], cb, user_data))
                return;
        }
    }
}
