/**
 * @file lv_obj_class.c
 */
#include "lv_obj.h"
#include "lv_disp.h"
#include "../misc/lv_mem.h"

static void lv_obj_construct(lv_obj_t *obj, const lv_obj_class_t *class_p) {
    if (class_p->base_class)
        lv_obj_construct(obj, class_p->base_class);
    if (class_p->constructor_cb)
        class_p->constructor_cb(class_p, obj);
}

static uint32_t get_instance_size(const lv_obj_class_t *class_p) {
    const lv_obj_class_t *base = class_p;
    while (base && base->instance_size == 0)
        base = base->base_class;
    return base ? base->instance_size : sizeof(lv_obj_t);
}

lv_obj_t *lv_obj_class_create_obj(const lv_obj_class_t *class_p, lv_obj_t *parent) {
    uint32_t s = get_instance_size(class_p);
    lv_obj_t *obj = lv_mem_alloc(s);
    if (obj == NULL)
        return NULL;
    lv_memset_00(obj, s);
    obj->class_p = class_p;
    obj->parent = parent;

    if (parent == NULL) {
        lv_disp_t *disp = lv_disp_get_default();
        if (disp == NULL) {
            LV_LOG_WARN("no display created yet");
            lv_mem_free(obj);
            return NULL;
        }
        lv_obj_t **screens = lv_mem_realloc(disp->screens, sizeof(lv_obj_t *) * (disp->screen_cnt + 1));
        LV_ASSERT_MALLOC(screens);
        disp->screens = screens;
        disp->screens[disp->screen_cnt] = obj;
        disp->screen_cnt++;
        obj->coords.x1 = 0;
        obj->coords.y1 = 0;
        obj->coords.x2 = lv_disp_get_hor_res(NULL) - 1;
        obj->coords.y2 = lv_disp_get_ver_res(NULL) - 1;
    } else {
        lv_obj_allocate_spec_attr(parent);
        lv_obj_t **children = lv_mem_realloc(parent->spec_attr->children,
                                             sizeof(lv_obj_t *) * (parent->spec_attr->child_cnt + 1));
        LV_ASSERT_MALLOC(children);
        parent->spec_attr->children = children;
        parent->spec_attr->children[parent->spec_attr->child_cnt] = obj;
        parent->spec_attr->child_cnt++;
    }
    lv_obj_construct(obj, class_p);
    return obj;
}

void lv_obj_class_init_obj(lv_obj_t *obj) {
    lv_obj_mark_layout_as_dirty(obj);
    lv_obj_enable_style_refresh(false);
    lv_obj_enable_style_refresh(true);
    lv_obj_refresh_style(obj, LV_PART_ANY, LV_STYLE_PROP_ANY);
    lv_obj_refresh_self_size(obj);

    lv_group_t *def_group = lv_group_get_default();
    if (def_group && lv_obj_is_group_def(obj))
        lv_group_add_obj(def_group, obj);

    lv_obj_t *parent = lv_obj_get_parent(obj);
    if (parent) {
        lv_event_send(parent, LV_EVENT_CHILD_CHANGED, obj);
        lv_event_send(parent, LV_EVENT_CHILD_CREATED, obj);
        lv_obj_invalidate(obj);
    }
}

void _lv_obj_destruct(lv_obj_t *obj) {
    /* Destructors run from the object's own class down to the base class. */
    const lv_obj_class_t *c = obj->class_p;
    while (c) {
        if (c->destructor_cb)
            c->destructor_cb(c, obj);
        c = c->base_class;
    }
}

bool lv_obj_is_editable(lv_obj_t *obj) {
    const lv_obj_class_t *c = obj->class_p;
    while (c && c->editable == LV_OBJ_CLASS_EDITABLE_INHERIT)
        c = c->base_class;
    return c ? c->editable == LV_OBJ_CLASS_EDITABLE_TRUE : false;
}

bool lv_obj_is_group_def(lv_obj_t *obj) {
    const lv_obj_class_t *c = obj->class_p;
    while (c && c->group_def == LV_OBJ_CLASS_GROUP_DEF_INHERIT)
        c = c->base_class;
    return c ? c->group_def == LV_OBJ_CLASS_GROUP_DEF_TRUE : false;
}
