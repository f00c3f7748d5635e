/**
 * @file lv_indev.h
 * Processing input: keys go to the focused object of the device's group; pointers press the object under
 * them.
 */
#ifndef LV_INDEV_H
#define LV_INDEV_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../hal/lv_hal.h"
#include "lv_group.h"
#include "lv_obj.h"

void lv_indev_read_timer_cb(lv_timer_t *timer);
void lv_indev_enable(lv_indev_t *indev, bool en);
/** The device being processed now (NULL outside input processing). */
lv_indev_t *lv_indev_get_act(void);
lv_indev_type_t lv_indev_get_type(const lv_indev_t *indev);
void lv_indev_reset(lv_indev_t *indev, lv_obj_t *obj);
void lv_indev_reset_long_press(lv_indev_t *indev);
void lv_indev_set_cursor(lv_indev_t *indev, lv_obj_t *cur_obj);
void lv_indev_set_group(lv_indev_t *indev, lv_group_t *group);
void lv_indev_set_button_points(lv_indev_t *indev, const lv_point_t points[]);
void lv_indev_get_point(const lv_indev_t *indev, lv_point_t *point);
lv_dir_t lv_indev_get_gesture_dir(const lv_indev_t *indev);
uint32_t lv_indev_get_key(const lv_indev_t *indev);
lv_dir_t lv_indev_get_scroll_dir(const lv_indev_t *indev);
lv_obj_t *lv_indev_get_scroll_obj(const lv_indev_t *indev);
/** Movement of the pointer since the previous read. */
void lv_indev_get_vect(const lv_indev_t *indev, lv_point_t *point);
void lv_indev_wait_release(lv_indev_t *indev);
lv_obj_t *lv_indev_get_obj_act(void);
lv_timer_t *lv_indev_get_read_timer(lv_disp_t *indev);
/** The topmost clickable object under point in obj's tree. */
lv_obj_t *lv_indev_search_obj(lv_obj_t *obj, lv_point_t *point);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_INDEV_H */
