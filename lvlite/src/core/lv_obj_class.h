/**
 * @file lv_obj_class.h
 * Classes: a base class, a constructor, a destructor and an event handler per widget type.
 */
#ifndef LV_OBJ_CLASS_H
#define LV_OBJ_CLASS_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdint.h>

#include "../misc/lv_area.h"

struct _lv_obj_t;
struct _lv_obj_class_t;
struct _lv_event_t;

typedef enum {
    LV_OBJ_CLASS_EDITABLE_INHERIT,
    LV_OBJ_CLASS_EDITABLE_TRUE,
    LV_OBJ_CLASS_EDITABLE_FALSE,
} lv_obj_class_editable_t;

typedef enum {
    LV_OBJ_CLASS_GROUP_DEF_INHERIT,
    LV_OBJ_CLASS_GROUP_DEF_TRUE,
    LV_OBJ_CLASS_GROUP_DEF_FALSE,
} lv_obj_class_group_def_t;

typedef void (*lv_obj_class_event_cb_t)(struct _lv_obj_class_t *class_p, struct _lv_event_t *e);

typedef struct _lv_obj_class_t {
    const struct _lv_obj_class_t *base_class;
    void (*constructor_cb)(const struct _lv_obj_class_t *class_p, struct _lv_obj_t *obj);
    void (*destructor_cb)(const struct _lv_obj_class_t *class_p, struct _lv_obj_t *obj);
#if LV_USE_USER_DATA
    void *user_data;
#endif
    void (*event_cb)(const struct _lv_obj_class_t *class_p, struct _lv_event_t *e);
    lv_coord_t width_def;
    lv_coord_t height_def;
    uint32_t editable : 2;
    uint32_t group_def : 2;
    uint32_t instance_size : 16;
} lv_obj_class_t;

/** Allocate an object of class_p on parent; lv_obj_class_init_obj finishes it. */
struct _lv_obj_t *lv_obj_class_create_obj(const struct _lv_obj_class_t *class_p, struct _lv_obj_t *parent);
void lv_obj_class_init_obj(struct _lv_obj_t *obj);
void _lv_obj_destruct(struct _lv_obj_t *obj);
bool lv_obj_is_editable(struct _lv_obj_t *obj);
bool lv_obj_is_group_def(struct _lv_obj_t *obj);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_OBJ_CLASS_H */
