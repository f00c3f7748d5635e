/**
 * @file lv_timer.h
 * Periodic callbacks run by lv_timer_handler.
 */
#ifndef LV_TIMER_H
#define LV_TIMER_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stdint.h>

#include "../lv_conf_internal.h"
#include "../hal/lv_hal_tick.h"

#define LV_NO_TIMER_READY 0xFFFFFFFF

struct _lv_timer_t;
typedef void (*lv_timer_cb_t)(struct _lv_timer_t *);

typedef struct _lv_timer_t {
    uint32_t period;
    uint32_t last_run;
    lv_timer_cb_t timer_cb;
    void *user_data;
    int32_t repeat_count; /**< -1: forever; 0: delete at the next check; n: run n more times */
    uint32_t paused : 1;
} lv_timer_t;

void _lv_timer_core_init(void);
/** Run every due timer; returns the milliseconds until the next one is due. */
LV_ATTRIBUTE_TIMER_HANDLER uint32_t lv_timer_handler(void);
lv_timer_t *lv_timer_create_basic(void);
lv_timer_t *lv_timer_create(lv_timer_cb_t timer_xcb, uint32_t period, void *user_data);
void lv_timer_del(lv_timer_t *timer);
void lv_timer_pause(lv_timer_t *timer);
void lv_timer_resume(lv_timer_t *timer);
void lv_timer_set_cb(lv_timer_t *timer, lv_timer_cb_t timer_cb);
void lv_timer_set_period(lv_timer_t *timer, uint32_t period);
/** Make the timer due at the next lv_timer_handler. */
void lv_timer_ready(lv_timer_t *timer);
void lv_timer_set_repeat_count(lv_timer_t *timer, int32_t repeat_count);
/** Start the period again from now. */
void lv_timer_reset(lv_timer_t *timer);
void lv_timer_enable(bool en);
uint8_t lv_timer_get_idle(void);
/** Iterate the timers: NULL gives the first. */
lv_timer_t *lv_timer_get_next(lv_timer_t *timer);

static inline LV_ATTRIBUTE_TIMER_HANDLER uint32_t lv_timer_handler_run_in_period(uint32_t ms) {
    static uint32_t last_tick = 0;
    uint32_t curr_tick = lv_tick_get();
    if ((curr_tick - last_tick) >= ms) {
        last_tick = curr_tick;
        return lv_timer_handler();
    }
    return 1;
}

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_TIMER_H */
