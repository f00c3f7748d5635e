/**
 * @file lv_hal_indev.c
 */
#include "lv_hal_indev.h"
#include "../core/lv_indev.h"
#include "../misc/lv_ll.h"
#include "../misc/lv_mem.h"

static lv_ll_t indev_ll;
static bool indev_ll_inited;

static lv_ll_t *get_indev_ll(void) {
    if (!indev_ll_inited) {
        _lv_ll_init(&indev_ll, sizeof(lv_indev_t));
        indev_ll_inited = true;
    }
    return &indev_ll;
}

void lv_indev_drv_init(lv_indev_drv_t *driver) {
    lv_memset_00(driver, sizeof(lv_indev_drv_t));
    driver->type = LV_INDEV_TYPE_NONE;
    driver->scroll_limit = LV_INDEV_DEF_SCROLL_LIMIT;
    driver->scroll_throw = LV_INDEV_DEF_SCROLL_THROW;
    driver->long_press_time = LV_INDEV_DEF_LONG_PRESS_TIME;
    driver->long_press_repeat_time = LV_INDEV_DEF_LONG_PRESS_REP_TIME;
    driver->gesture_limit = LV_INDEV_DEF_GESTURE_LIMIT;
    driver->gesture_min_velocity = LV_INDEV_DEF_GESTURE_MIN_VELOCITY;
}

lv_indev_t *lv_indev_drv_register(lv_indev_drv_t *driver) {
    if (driver->disp == NULL)
        driver->disp = lv_disp_get_default();
    if (driver->disp == NULL) {
        LV_LOG_WARN("no display registered hence can't attach the input device to a display");
        return NULL;
    }
    lv_indev_t *indev = _lv_ll_ins_head(get_indev_ll());
    LV_ASSERT_MALLOC(indev);
    lv_memset_00(indev, sizeof(lv_indev_t));
    indev->driver = driver;
    indev->proc.reset_query = 1;
    indev->driver->read_timer = lv_timer_create(lv_indev_read_timer_cb, LV_INDEV_DEF_READ_PERIOD, indev);
    return indev;
}

void lv_indev_drv_update(lv_indev_t *indev, lv_indev_drv_t *new_drv) {
    if (indev->driver->read_timer)
        lv_timer_del(indev->driver->read_timer);
    indev->driver = new_drv;
    indev->driver->read_timer = lv_timer_create(lv_indev_read_timer_cb, LV_INDEV_DEF_READ_PERIOD, indev);
    indev->proc.reset_query = 1;
}

void lv_indev_delete(lv_indev_t *indev) {
    if (indev->driver->read_timer)
        lv_timer_del(indev->driver->read_timer);
    _lv_ll_remove(get_indev_ll(), indev);
    lv_mem_free(indev);
}

lv_indev_t *lv_indev_get_next(lv_indev_t *indev) {
    if (indev == NULL)
        return _lv_ll_get_head(get_indev_ll());
    return _lv_ll_get_next(get_indev_ll(), indev);
}

void _lv_indev_read(lv_indev_t *indev, lv_indev_data_t *data) {
    lv_memset_00(data, sizeof(lv_indev_data_t));
    if (indev->driver->type == LV_INDEV_TYPE_POINTER) {
        data->point = indev->proc.types.pointer.last_raw_point;
    } else if (indev->driver->type == LV_INDEV_TYPE_KEYPAD) {
        data->key = indev->proc.types.keypad.last_key;
    }
    if (indev->driver->read_cb)
        indev->driver->read_cb(indev->driver, data);
}
