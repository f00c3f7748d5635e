/**
 * @file lv_btn.h
 * Buttons: base objects that join the default group, scroll into view on focus and do not scroll.
 */
#ifndef LV_BTN_H
#define LV_BTN_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../core/lv_obj.h"

typedef struct {
    lv_obj_t obj;
} lv_btn_t;

extern const lv_obj_class_t lv_btn_class;

lv_obj_t *lv_btn_create(lv_obj_t *parent);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_BTN_H */
