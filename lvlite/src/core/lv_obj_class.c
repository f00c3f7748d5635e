/**
 * @file lv_obj_class.c
 * Making and unmaking objects of a class. A class reaches its ancestors through base_class; fields a
 * class leaves open (instance size, "editable", "in the default group") come from the nearest
 * ancestor that sets them.
 */
#include "lv_obj.h"
#include "lv_disp.h"
#include "../misc/lv_mem.h"

#include <string.h>

static size_t bytes_for(const lv_obj_class_t *cls) {
    for (; cls != NULL; cls = cls->base_class) {
        if (cls->instance_size != 0)
            return cls->instance_size;
    }
    return sizeof(lv_obj_t);
}

/* Constructors run from the root class down to cls. */
static void construct_down_to(const lv_obj_class_t *cls, lv_obj_t *obj) {
    const lv_obj_class_t *chain[16];
    unsigned depth = 0;
    for (const lv_obj_class_t *c = cls; c != NULL && depth < 16; c = c->base_class)
        chain[depth++] = c;
    while (depth-- > 0) {
        if (chain[depth]->constructor_cb != NULL)
            chain[depth]->constructor_cb(chain[depth], obj);
    }
}

lv_obj_t *lv_obj_class_create_obj(const lv_obj_class_t *class_p, lv_obj_t *parent) {
    lv_disp_t *disp = NULL;
    if (parent == NULL) {
        disp = lv_disp_get_default();
        if (disp == NULL) {
            LV_LOG_WARN("a screen needs a display: none is registered");
            return NULL;
        }
    }
    size_t size = bytes_for(class_p);
    lv_obj_t *obj = lv_mem_alloc(size);
    if (obj == NULL)
        return NULL;
    memset(obj, 0, size);
    obj->class_p = class_p;
    obj->parent = parent;

    bool listed;
    if (disp != NULL) {
        /* A screen spans its display. */
        lv_area_set(&obj->coords, 0, 0, lv_disp_get_hor_res(disp) - 1, lv_disp_get_ver_res(disp) - 1);
        listed = _lv_obj_list_append(&disp->screens, &disp->screen_cnt, obj);
    } else {
        lv_obj_allocate_spec_attr(parent);
        listed = _lv_obj_list_append(&parent->spec_attr->children, &parent->spec_attr->child_cnt, obj);
    }
    if (!listed) {
        lv_mem_free(obj);
        return NULL;
    }
    construct_down_to(class_p, obj);
    return obj;
}

void lv_obj_class_init_obj(lv_obj_t *obj) {
    lv_obj_mark_layout_as_dirty(obj);
    lv_obj_refresh_style(obj, LV_PART_ANY, LV_STYLE_PROP_ANY);
    lv_obj_refresh_self_size(obj);

    lv_group_t *group = lv_group_get_default();
    if (group != NULL && lv_obj_is_group_def(obj))
        lv_group_add_obj(group, obj);

    lv_obj_t *parent = obj->parent;
    if (parent == NULL)
        return;
    lv_event_send(parent, LV_EVENT_CHILD_CHANGED, obj);
    lv_event_send(parent, LV_EVENT_CHILD_CREATED, obj);
    lv_obj_invalidate(obj);
}

void _lv_obj_destruct(lv_obj_t *obj) {
    /* The reverse of construction: the object's own class first, the root class last. */
    for (const lv_obj_class_t *c = obj->class_p; c != NULL; c = c->base_class) {
        if (c->destructor_cb != NULL)
            c->destructor_cb(c, obj);
    }
}

/* The nearest class that does not say "inherit" decides; when none does, the answer is no. */
static bool class_says_yes(const lv_obj_class_t *c, bool about_editing) {
    for (; c != NULL; c = c->base_class) {
        uint32_t v = about_editing ? c->editable : c->group_def;
        uint32_t inherit = about_editing ? LV_OBJ_CLASS_EDITABLE_INHERIT : LV_OBJ_CLASS_GROUP_DEF_INHERIT;
        if (v != inherit)
            return v == (about_editing ? (uint32_t)LV_OBJ_CLASS_EDITABLE_TRUE
                                       : (uint32_t)LV_OBJ_CLASS_GROUP_DEF_TRUE);
    }
    return false;
}

bool lv_obj_is_editable(lv_obj_t *obj) {
    return class_says_yes(obj->class_p, true);
}

bool lv_obj_is_group_def(lv_obj_t *obj) {
    return class_says_yes(obj->class_p, false);
}
