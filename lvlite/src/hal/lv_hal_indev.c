/**
 * @file lv_hal_indev.c
 * The registered input devices, newest first, each read by a timer of its own.
 */
#include "lv_hal_indev.h"
#include "../core/lv_indev.h"
#include "../misc/lv_ll.h"
#include "../misc/lv_mem.h"

static lv_ll_t devices;
static bool devices_ready;

static lv_ll_t *device_list(void) {
    if (!devices_ready) {
        _lv_ll_init(&devices, sizeof(lv_indev_t));
        devices_ready = true;
    }
    return &devices;
}

/* (Re)start the read timer of dev on its current driver. */
static void start_reading(lv_indev_t *dev) {
    dev->driver->read_timer = lv_timer_create(lv_indev_read_timer_cb, LV_INDEV_DEF_READ_PERIOD, dev);
    dev->proc.reset_query = 1;
}

static void stop_reading(lv_indev_t *dev) {
    if (dev->driver->read_timer != NULL)
        lv_timer_del(dev->driver->read_timer);
    dev->driver->read_timer = NULL;
}

void lv_indev_drv_init(lv_indev_drv_t *driver) {
    static const lv_indev_drv_t defaults = {
        .type = LV_INDEV_TYPE_NONE,
        .scroll_limit = LV_INDEV_DEF_SCROLL_LIMIT,
        .scroll_throw = LV_INDEV_DEF_SCROLL_THROW,
        .gesture_min_velocity = LV_INDEV_DEF_GESTURE_MIN_VELOCITY,
        .gesture_limit = LV_INDEV_DEF_GESTURE_LIMIT,
        .long_press_time = LV_INDEV_DEF_LONG_PRESS_TIME,
        .long_press_repeat_time = LV_INDEV_DEF_LONG_PRESS_REP_TIME,
    };
    *driver = defaults;
}

lv_indev_t *lv_indev_drv_register(lv_indev_drv_t *driver) {
    if (driver->disp == NULL)
        driver->disp = lv_disp_get_default();
    if (driver->disp == NULL) {
        LV_LOG_WARN("an input device needs a display: register one first");
        return NULL;
    }
    lv_indev_t *dev = _lv_ll_ins_head(device_list());
    if (dev == NULL) {
        LV_LOG_ERROR("out of memory");
        return NULL;
    }
    lv_memset_00(dev, sizeof(*dev));
    dev->driver = driver;
    start_reading(dev);
    return dev;
}

void lv_indev_drv_update(lv_indev_t *indev, lv_indev_drv_t *new_drv) {
    stop_reading(indev);
    indev->driver = new_drv;
    start_reading(indev);
}

void lv_indev_delete(lv_indev_t *indev) {
    if (indev == NULL)
        return;
    stop_reading(indev);
    _lv_ll_remove(device_list(), indev);
    lv_mem_free(indev);
}

lv_indev_t *lv_indev_get_next(lv_indev_t *indev) {
    lv_ll_t *list = device_list();
    return indev ? _lv_ll_get_next(list, indev) : _lv_ll_get_head(list);
}

void _lv_indev_read(lv_indev_t *indev, lv_indev_data_t *data) {
    /* A driver that reports only changes finds the previous point or key already filled in. */
    const _lv_indev_proc_t *proc = &indev->proc;
    lv_indev_data_t prefill = {.state = LV_INDEV_STATE_RELEASED};
    switch (indev->driver->type) {
    case LV_INDEV_TYPE_POINTER:
        prefill.point = proc->types.pointer.last_raw_point;
        break;
    case LV_INDEV_TYPE_KEYPAD:
        prefill.key = proc->types.keypad.last_key;
        break;
    default:
        break;
    }
    *data = prefill;
    if (indev->driver->read_cb != NULL)
        indev->driver->read_cb(indev->driver, data);
}
