/**
 * @file lv_obj_tree.c
 */
#include "lv_obj.h"
#include "lv_disp.h"
#include "lv_indev.h"
#include "lv_refr.h"
#include "../misc/lv_mem.h"

static void obj_del_core(lv_obj_t *obj);

void lv_obj_del(lv_obj_t *obj) {
    if (obj == NULL || obj->being_deleted)
        return;
    lv_obj_invalidate(obj);
    lv_obj_t *par = lv_obj_get_parent(obj);
    lv_disp_t *disp = NULL;
    bool act_scr_del = false;
    if (par == NULL) {
        disp = lv_obj_get_disp(obj);
        if (!disp)
            return;
        if (disp->act_scr == obj)
            act_scr_del = true;
    }
    obj_del_core(obj);
    if (par) {
        lv_obj_scrollbar_invalidate(par);
        lv_event_send(par, LV_EVENT_CHILD_CHANGED, NULL);
        lv_event_send(par, LV_EVENT_CHILD_DELETED, NULL);
    }
    if (act_scr_del) {
        LV_LOG_WARN("the active screen was deleted");
        disp->act_scr = NULL;
    }
}

void lv_obj_clean(lv_obj_t *obj) {
    lv_obj_invalidate(obj);
    lv_obj_t *child = lv_obj_get_child(obj, 0);
    while (child) {
        obj_del_core(child);
        child = lv_obj_get_child(obj, 0);
    }
    lv_obj_scroll_to(obj, 0, 0, LV_ANIM_OFF);
    if (obj->spec_attr) {
        obj->spec_attr->scroll.x = 0;
        obj->spec_attr->scroll.y = 0;
    }
    lv_event_send(obj, LV_EVENT_CHILD_CHANGED, NULL);
}

void lv_obj_del_anim_ready_cb(lv_anim_t *a) {
    lv_obj_del(a->var);
}

static void del_delayed_exec(void *obj, int32_t v) {
    LV_UNUSED(obj);
    LV_UNUSED(v);
}

void lv_obj_del_delayed(lv_obj_t *obj, uint32_t delay_ms) {
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, obj);
    lv_anim_set_exec_cb(&a, del_delayed_exec);
    lv_anim_set_time(&a, 1);
    lv_anim_set_delay(&a, delay_ms);
    lv_anim_set_ready_cb(&a, lv_obj_del_anim_ready_cb);
    lv_anim_start(&a);
}

void lv_obj_set_parent(lv_obj_t *obj, lv_obj_t *parent) {
    if (obj->parent == NULL) {
        LV_LOG_WARN("can't set the parent of a screen");
        return;
    }
    if (parent == NULL || parent == obj->parent)
        return;
    lv_obj_invalidate(obj);
    lv_obj_allocate_spec_attr(parent);
    lv_obj_t *old_parent = obj->parent;
    uint32_t idx = lv_obj_get_index(obj);
    for (uint32_t i = idx; i + 1 < old_parent->spec_attr->child_cnt; i++) {
        old_parent->spec_attr->children[i] = old_parent->spec_attr->children[i + 1];
    }
    old_parent->spec_attr->child_cnt--;
    if (old_parent->spec_attr->child_cnt == 0) {
        lv_mem_free(old_parent->spec_attr->children);
        old_parent->spec_attr->children = NULL;
    }
    lv_obj_t **children =
        lv_mem_realloc(parent->spec_attr->children, sizeof(lv_obj_t *) * (parent->spec_attr->child_cnt + 1));
    LV_ASSERT_MALLOC(children);
    parent->spec_attr->children = children;
    parent->spec_attr->children[parent->spec_attr->child_cnt] = obj;
    parent->spec_attr->child_cnt++;
    obj->parent = parent;
    lv_obj_readjust_scroll(old_parent, LV_ANIM_OFF);
    lv_obj_scrollbar_invalidate(old_parent);
    lv_event_send(old_parent, LV_EVENT_CHILD_CHANGED, obj);
    lv_event_send(old_parent, LV_EVENT_CHILD_DELETED, NULL);
    lv_event_send(parent, LV_EVENT_CHILD_CHANGED, obj);
    lv_event_send(parent, LV_EVENT_CHILD_CREATED, NULL);
    lv_obj_mark_layout_as_dirty(obj);
    lv_obj_invalidate(obj);
}

void lv_obj_swap(lv_obj_t *obj1, lv_obj_t *obj2) {
    lv_obj_t *p1 = lv_obj_get_parent(obj1);
    lv_obj_t *p2 = lv_obj_get_parent(obj2);
    if (p1 == NULL || p2 == NULL)
        return;
    uint32_t i1 = lv_obj_get_index(obj1);
    uint32_t i2 = lv_obj_get_index(obj2);
    p1->spec_attr->children[i1] = obj2;
    p2->spec_attr->children[i2] = obj1;
    obj1->parent = p2;
    obj2->parent = p1;
    lv_event_send(p2, LV_EVENT_CHILD_CHANGED, obj2);
    lv_event_send(p1, LV_EVENT_CHILD_CHANGED, obj1);
    lv_obj_invalidate(p1);
    lv_obj_invalidate(p2);
}

void lv_obj_move_to_index(lv_obj_t *obj, int32_t index) {
    lv_obj_t *parent = lv_obj_get_parent(obj);
    if (parent == NULL) {
        LV_LOG_WARN("parent is NULL");
        return;
    }
    int32_t cnt = (int32_t)lv_obj_get_child_cnt(parent);
    if (index < 0)
        index = cnt + index;
    int32_t old_index = (int32_t)lv_obj_get_index(obj);
    if (index < 0 || index >= cnt || index == old_index)
        return;
    lv_obj_t **ch = parent->spec_attr->children;
    if (index < old_index) {
        for (int32_t i = old_index; i > index; i--)
            ch[i] = ch[i - 1];
    } else {
        for (int32_t i = old_index; i < index; i++)
            ch[i] = ch[i + 1];
    }
    ch[index] = obj;
    lv_event_send(parent, LV_EVENT_CHILD_CHANGED, NULL);
    lv_obj_invalidate(parent);
}

lv_obj_t *lv_obj_get_screen(const lv_obj_t *obj) {
    const lv_obj_t *par = obj;
    while (par->parent)
        par = par->parent;
    return (lv_obj_t *)par;
}

lv_disp_t *lv_obj_get_disp(const lv_obj_t *obj) {
    const lv_obj_t *scr = obj->parent == NULL ? obj : lv_obj_get_screen(obj);
    lv_disp_t *d = lv_disp_get_next(NULL);
    while (d) {
        for (uint32_t i = 0; i < d->screen_cnt; i++) {
            if (d->screens[i] == scr)
                return d;
        }
        d = lv_disp_get_next(d);
    }
    LV_LOG_WARN("no screen found");
    return NULL;
}

lv_obj_t *lv_obj_get_parent(const lv_obj_t *obj) {
    return obj ? obj->parent : NULL;
}

lv_obj_t *lv_obj_get_child(const lv_obj_t *obj, int32_t id) {
    if (obj->spec_attr == NULL)
        return NULL;
    int32_t cnt = (int32_t)obj->spec_attr->child_cnt;
    if (id < 0)
        id = cnt + id;
    if (id < 0 || id >= cnt)
        return NULL;
    return obj->spec_attr->children[id];
}

uint32_t lv_obj_get_child_cnt(const lv_obj_t *obj) {
    return obj->spec_attr ? obj->spec_attr->child_cnt : 0;
}

uint32_t lv_obj_get_index(const lv_obj_t *obj) {
    lv_obj_t *parent = lv_obj_get_parent(obj);
    if (parent == NULL)
        return 0xFFFFFFFF;
    for (uint32_t i = 0; i < lv_obj_get_child_cnt(parent); i++) {
        if (parent->spec_attr->children[i] == obj)
            return i;
    }
    return 0xFFFFFFFF;
}

static lv_obj_tree_walk_res_t walk_core(lv_obj_t *obj, lv_obj_tree_walk_cb_t cb, void *user_data) {
    lv_obj_tree_walk_res_t res = LV_OBJ_TREE_WALK_NEXT;
    if (obj == NULL) {
        lv_disp_t *disp = lv_disp_get_next(NULL);
        while (disp) {
            for (uint32_t i = 0; i < disp->screen_cnt; i++) {
                if (walk_core(disp->screens[i], cb, user_data) == LV_OBJ_TREE_WALK_END)
                    return LV_OBJ_TREE_WALK_END;
            }
            disp = lv_disp_get_next(disp);
        }
        return LV_OBJ_TREE_WALK_END;
    }
    res = cb(obj, user_data);
    if (res == LV_OBJ_TREE_WALK_END)
        return LV_OBJ_TREE_WALK_END;
    if (res != LV_OBJ_TREE_WALK_SKIP_CHILDREN) {
        for (uint32_t i = 0; i < lv_obj_get_child_cnt(obj); i++) {
            if (walk_core(obj->spec_attr->children[i], cb, user_data) == LV_OBJ_TREE_WALK_END)
                return LV_OBJ_TREE_WALK_END;
        }
    }
    return LV_OBJ_TREE_WALK_NEXT;
}

void lv_obj_tree_walk(lv_obj_t *start_obj, lv_obj_tree_walk_cb_t cb, void *user_data) {
    walk_core(start_obj, cb, user_data);
}

static void obj_del_core(lv_obj_t *obj) {
    /* DELETE goes to the object first, then to its children depth-first. */
    lv_res_t res = lv_event_send(obj, LV_EVENT_DELETE, NULL);
    if (res == LV_RES_INV)
        return;
    obj->being_deleted = 1;
    lv_obj_t *child = lv_obj_get_child(obj, 0);
    while (child) {
        obj_del_core(child);
        child = lv_obj_get_child(obj, 0);
    }
    lv_group_t *group = lv_obj_get_group(obj);
    lv_indev_t *indev = lv_indev_get_next(NULL);
    while (indev) {
        if (indev->proc.types.pointer.act_obj == obj || indev->proc.types.pointer.last_obj == obj ||
            indev->proc.types.pointer.scroll_obj == obj) {
            lv_indev_reset(indev, obj);
        }
        if (indev->proc.types.pointer.last_pressed == obj)
            indev->proc.types.pointer.last_pressed = NULL;
        if (group && indev->group == group && obj == lv_indev_get_obj_act())
            lv_indev_reset(indev, obj);
        indev = lv_indev_get_next(indev);
    }
    _lv_obj_destruct(obj);
    if (obj->parent == NULL) {
        lv_disp_t *disp = lv_obj_get_disp(obj);
        if (disp) {
            uint32_t i;
            for (i = 0; i < disp->screen_cnt; i++) {
                if (disp->screens[i] == obj)
                    break;
            }
            for (; i + 1 < disp->screen_cnt; i++)
                disp->screens[i] = disp->screens[i + 1];
            disp->screen_cnt--;
        }
    } else {
        lv_obj_t *p = obj->parent;
        uint32_t id = lv_obj_get_index(obj);
        for (uint32_t i = id; i + 1 < p->spec_attr->child_cnt; i++)
            p->spec_attr->children[i] = p->spec_attr->children[i + 1];
        p->spec_attr->child_cnt--;
        if (p->spec_attr->child_cnt == 0) {
            lv_mem_free(p->spec_attr->children);
            p->spec_attr->children = NULL;
        }
    }
    lv_mem_free(obj);
}
