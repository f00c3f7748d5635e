/**
 * @file lv_hal_indev.h
 * Input device drivers: keypads, pointers, encoders and buttons, read by a timer every
 * LV_INDEV_DEF_READ_PERIOD ms.
 */
#ifndef LV_HAL_INDEV_H
#define LV_HAL_INDEV_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stdint.h>

#include "../lv_conf_internal.h"
#include "../misc/lv_area.h"
#include "../misc/lv_timer.h"

struct _lv_obj_t;
struct _lv_disp_t;
struct _lv_group_t;
struct _lv_indev_t;
struct _lv_indev_drv_t;

#define LV_INDEV_DEF_SCROLL_LIMIT         10
#define LV_INDEV_DEF_SCROLL_THROW         10
#define LV_INDEV_DEF_LONG_PRESS_TIME      400
#define LV_INDEV_DEF_LONG_PRESS_REP_TIME  100
#define LV_INDEV_DEF_GESTURE_LIMIT        50
#define LV_INDEV_DEF_GESTURE_MIN_VELOCITY 3

typedef enum {
    LV_INDEV_TYPE_NONE,
    LV_INDEV_TYPE_POINTER,
    LV_INDEV_TYPE_KEYPAD,
    LV_INDEV_TYPE_BUTTON,
    LV_INDEV_TYPE_ENCODER,
} lv_indev_type_t;

typedef enum {
    LV_INDEV_STATE_RELEASED = 0,
    LV_INDEV_STATE_PRESSED,
} lv_indev_state_t;

typedef struct {
    lv_point_t point;
    uint32_t key;
    uint32_t btn_id;
    int16_t enc_diff;
    lv_indev_state_t state;
    bool continue_reading; /**< read again at once (buffered input) */
} lv_indev_data_t;

typedef struct _lv_indev_drv_t {
    lv_indev_type_t type;
    void (*read_cb)(struct _lv_indev_drv_t *indev_drv, lv_indev_data_t *data);
    void (*feedback_cb)(struct _lv_indev_drv_t *indev_drv, uint8_t event_code);
#if LV_USE_USER_DATA
    void *user_data;
#endif
    struct _lv_disp_t *disp;
    lv_timer_t *read_timer;
    uint8_t scroll_limit;
    uint8_t scroll_throw;
    uint8_t gesture_min_velocity;
    uint8_t gesture_limit;
    uint16_t long_press_time;
    uint16_t long_press_repeat_time;
} lv_indev_drv_t;

typedef struct _lv_indev_proc_t {
    lv_indev_state_t state;
    uint8_t long_pr_sent : 1;
    uint8_t reset_query : 1;
    uint8_t disabled : 1;
    uint8_t wait_until_release : 1;
    union {
        struct {
            lv_point_t act_point;
            lv_point_t last_point;
            lv_point_t last_raw_point;
            lv_point_t vect;
            lv_point_t scroll_sum;
            lv_point_t scroll_throw_vect;
            lv_point_t scroll_throw_vect_ori;
            struct _lv_obj_t *act_obj;
            struct _lv_obj_t *last_obj;
            struct _lv_obj_t *scroll_obj;
            struct _lv_obj_t *last_pressed;
            lv_area_t scroll_area;
            lv_point_t gesture_sum;
            uint8_t scroll_dir : 4;
            uint8_t gesture_dir : 4;
            uint8_t gesture_sent : 1;
        } pointer;
        struct {
            lv_indev_state_t last_state;
            uint32_t last_key;
        } keypad;
    } types;
    uint32_t pr_timestamp;
    uint32_t longpr_rep_timestamp;
} _lv_indev_proc_t;

typedef struct _lv_indev_t {
    struct _lv_indev_drv_t *driver;
    _lv_indev_proc_t proc;
    struct _lv_obj_t *cursor;
    struct _lv_group_t *group;
    const lv_point_t *btn_points;
} lv_indev_t;

void lv_indev_drv_init(struct _lv_indev_drv_t *driver);
/** Register the device on its display (the default one when none is set) and start its read timer. */
lv_indev_t *lv_indev_drv_register(struct _lv_indev_drv_t *driver);
void lv_indev_drv_update(lv_indev_t *indev, struct _lv_indev_drv_t *new_drv);
void lv_indev_delete(lv_indev_t *indev);
lv_indev_t *lv_indev_get_next(lv_indev_t *indev);
void _lv_indev_read(lv_indev_t *indev, lv_indev_data_t *data);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_HAL_INDEV_H */
