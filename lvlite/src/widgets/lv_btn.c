/**
 * @file lv_btn.c
 * A button is a plain object that sizes to its content, joins the default group, scrolls into view
 * when focused and does not scroll its own content.
 */
#include "lv_btn.h"

static void btn_ctor(const lv_obj_class_t *cls, lv_obj_t *obj) {
    LV_UNUSED(cls);
    lv_obj_add_flag(obj, LV_OBJ_FLAG_SCROLL_ON_FOCUS);
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_SCROLLABLE);
}

const lv_obj_class_t lv_btn_class = {
    .base_class = &lv_obj_class,
    .constructor_cb = btn_ctor,
    .instance_size = sizeof(lv_btn_t),
    .group_def = LV_OBJ_CLASS_GROUP_DEF_TRUE,
    .width_def = LV_SIZE_CONTENT,
    .height_def = LV_SIZE_CONTENT,
};

lv_obj_t *lv_btn_create(lv_obj_t *parent) {
    lv_obj_t *btn = lv_obj_class_create_obj(&lv_btn_class, parent);
    if (btn != NULL)
        lv_obj_class_init_obj(btn);
    return btn;
}
