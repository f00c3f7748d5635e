/**
 * @file lv_timer.c
 * Timers live in one list, newest first. The handler walks it from the head; when a callback creates or
 * deletes a timer the walk starts over, so a timer created inside a callback (an asynchronous call, for
 * instance) runs in the same handler call. A timer's next period counts from when it actually ran.
 */
#include "lv_timer.h"
#include "lv_ll.h"
#include "lv_mem.h"
#include "lv_log.h"

#define IDLE_MEAS_PERIOD 500

static lv_ll_t timer_ll;
static lv_timer_t *timer_act;
static bool timer_deleted;
static bool timer_created;
static bool timer_enabled;
static uint8_t idle_last;
static uint32_t idle_period_start;
static uint32_t busy_time;

static uint32_t time_remaining(lv_timer_t *timer) {
    uint32_t elp = lv_tick_elaps(timer->last_run);
    if (elp >= timer->period)
        return 0;
    return timer->period - elp;
}

/* Run the timer if it is due, and delete it when its repeat count is used up. */
static void timer_exec(lv_timer_t *timer) {
    if (timer->paused)
        return;
    if (time_remaining(timer) == 0) {
        int32_t original_repeat_count = timer->repeat_count;
        if (timer->repeat_count > 0)
            timer->repeat_count--;
        timer->last_run = lv_tick_get();
        if (timer->timer_cb && original_repeat_count != 0)
            timer->timer_cb(timer);
    }
    /* After a list change the timer itself may be gone; a finished one is deleted on the next walk. */
    if (!timer_deleted && timer->repeat_count == 0)
        lv_timer_del(timer);
}

void _lv_timer_core_init(void) {
    _lv_ll_init(&timer_ll, sizeof(lv_timer_t));
    timer_act = NULL;
    timer_enabled = true;
    idle_last = 0;
    busy_time = 0;
    idle_period_start = lv_tick_get();
}

uint32_t lv_timer_handler(void) {
    static bool already_running = false;
    if (already_running)
        return 1;
    already_running = true;
    if (!timer_enabled) {
        already_running = false;
        return 1;
    }
    uint32_t handler_start = lv_tick_get();
    do {
        timer_deleted = false;
        timer_created = false;
        timer_act = _lv_ll_get_head(&timer_ll);
        while (timer_act) {
            lv_timer_t *next = _lv_ll_get_next(&timer_ll, timer_act);
            timer_exec(timer_act);
            /* The list changed (next may be gone): walk again from the head. Timers that already ran
             * are not due again. */
            if (timer_created || timer_deleted)
                break;
            timer_act = next;
        }
    } while (timer_act);

    uint32_t time_till_next = LV_NO_TIMER_READY;
    lv_timer_t *t = _lv_ll_get_head(&timer_ll);
    while (t) {
        if (!t->paused) {
            uint32_t delay = time_remaining(t);
            if (delay < time_till_next)
                time_till_next = delay;
        }
        t = _lv_ll_get_next(&timer_ll, t);
    }

    busy_time += lv_tick_elaps(handler_start);
    uint32_t idle_period_time = lv_tick_elaps(idle_period_start);
    if (idle_period_time >= IDLE_MEAS_PERIOD) {
        idle_last = (uint8_t)((busy_time * 100) / idle_period_time);
        idle_last = idle_last > 100 ? 0 : (uint8_t)(100 - idle_last);
        busy_time = 0;
        idle_period_start = lv_tick_get();
    }
    already_running = false;
    return time_till_next;
}

lv_timer_t *lv_timer_create_basic(void) {
    return lv_timer_create(NULL, 500, NULL);
}

lv_timer_t *lv_timer_create(lv_timer_cb_t timer_xcb, uint32_t period, void *user_data) {
    lv_timer_t *t = _lv_ll_ins_head(&timer_ll);
    if (t == NULL) {
        LV_LOG_ERROR("out of memory");
        return NULL;
    }
    t->period = period;
    t->timer_cb = timer_xcb;
    t->repeat_count = -1;
    t->paused = 0;
    t->last_run = lv_tick_get();
    t->user_data = user_data;
    timer_created = true;
    return t;
}

void lv_timer_del(lv_timer_t *timer) {
    if (timer == NULL)
        return;
    _lv_ll_remove(&timer_ll, timer);
    timer_deleted = true;
    lv_mem_free(timer);
}

void lv_timer_pause(lv_timer_t *timer) {
    timer->paused = 1;
}

void lv_timer_resume(lv_timer_t *timer) {
    timer->paused = 0;
}

void lv_timer_set_cb(lv_timer_t *timer, lv_timer_cb_t timer_cb) {
    timer->timer_cb = timer_cb;
}

void lv_timer_set_period(lv_timer_t *timer, uint32_t period) {
    timer->period = period;
}

void lv_timer_ready(lv_timer_t *timer) {
    timer->last_run = lv_tick_get() - timer->period - 1;
}

void lv_timer_set_repeat_count(lv_timer_t *timer, int32_t repeat_count) {
    timer->repeat_count = repeat_count;
}

void lv_timer_reset(lv_timer_t *timer) {
    timer->last_run = lv_tick_get();
}

void lv_timer_enable(bool en) {
    timer_enabled = en;
}

uint8_t lv_timer_get_idle(void) {
    return idle_last;
}

lv_timer_t *lv_timer_get_next(lv_timer_t *timer) {
    if (timer == NULL)
        return _lv_ll_get_head(&timer_ll);
    return _lv_ll_get_next(&timer_ll, timer);
}
