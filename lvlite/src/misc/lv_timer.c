/**
 * @file lv_timer.c
 * Timers live in one list, newest first. The handler walks it from the head; when a callback creates or
 * deletes a timer the walk starts over, so a timer created inside a callback (an asynchronous call, for
 * instance) runs in the same handler call, while timers that already ran are not due again. A timer's
 * next period counts from when it actually ran.
 */
#include "lv_timer.h"
#include "lv_ll.h"
#include "lv_mem.h"
#include "lv_log.h"

/* Busy/idle share is measured over windows of this many milliseconds. */
#define LOAD_WINDOW_MS 500

static lv_ll_t timers;
static bool handling_enabled;
/* Counts creations and deletions: a walk that sees it change starts over. */
static uint32_t list_changes;
static uint32_t deletions;

static struct {
    uint32_t window_start;
    uint32_t busy_ms;
    uint8_t idle_pct;
} load;

void _lv_timer_core_init(void) {
    _lv_ll_init(&timers, sizeof(lv_timer_t));
    handling_enabled = true;
    list_changes = 0;
    deletions = 0;
    load.window_start = lv_tick_get();
    load.busy_ms = 0;
    load.idle_pct = 0;
}

/* Milliseconds until t is due (0: due now). */
static uint32_t due_in(const lv_timer_t *t) {
    uint32_t since = lv_tick_elaps(t->last_run);
    return since < t->period ? t->period - since : 0;
}

/* Run t when due; a timer whose repeats are used up is deleted (unless the list just lost a timer, which
 * may have been t: then the next walk deletes it). */
static void serve(lv_timer_t *t) {
    if (t->paused)
        return;
    uint32_t deletions_before = deletions;
    if (due_in(t) == 0) {
        bool runs = t->repeat_count != 0;
        if (t->repeat_count > 0)
            t->repeat_count--;
        t->last_run = lv_tick_get();
        if (runs && t->timer_cb != NULL)
            t->timer_cb(t);
    }
    if (deletions == deletions_before && t->repeat_count == 0)
        lv_timer_del(t);
}

/* One walk over the list; false when the list changed on the way. */
static bool walk_once(void) {
    lv_timer_t *t = _lv_ll_get_head(&timers);
    while (t != NULL) {
        lv_timer_t *after = _lv_ll_get_next(&timers, t);
        uint32_t changes_before = list_changes;
        serve(t);
        if (list_changes != changes_before)
            return false;
        t = after;
    }
    return true;
}

static void account_load(uint32_t handler_start) {
    load.busy_ms += lv_tick_elaps(handler_start);
    uint32_t window = lv_tick_elaps(load.window_start);
    if (window < LOAD_WINDOW_MS)
        return;
    uint32_t busy_pct = load.busy_ms * 100 / window;
    load.idle_pct = busy_pct > 100 ? 0 : (uint8_t)(100 - busy_pct);
    load.busy_ms = 0;
    load.window_start = lv_tick_get();
}

uint32_t lv_timer_handler(void) {
    static bool inside;
    if (inside || !handling_enabled)
        return 1; /* a callback called the handler again, or handling is off */
    inside = true;
    uint32_t start = lv_tick_get();
    while (!walk_once()) {
    }
    uint32_t wait = LV_NO_TIMER_READY;
    for (lv_timer_t *t = _lv_ll_get_head(&timers); t != NULL; t = _lv_ll_get_next(&timers, t)) {
        if (!t->paused && due_in(t) < wait)
            wait = due_in(t);
    }
    account_load(start);
    inside = false;
    return wait;
}

lv_timer_t *lv_timer_create_basic(void) {
    return lv_timer_create(NULL, 500, NULL);
}

lv_timer_t *lv_timer_create(lv_timer_cb_t timer_xcb, uint32_t period, void *user_data) {
    lv_timer_t *t = _lv_ll_ins_head(&timers);
    if (t == NULL) {
        LV_LOG_ERROR("out of memory");
        return NULL;
    }
    *t = (lv_timer_t){
        .period = period,
        .last_run = lv_tick_get(),
        .timer_cb = timer_xcb,
        .user_data = user_data,
        .repeat_count = -1,
    };
    list_changes++;
    return t;
}

void lv_timer_del(lv_timer_t *timer) {
    if (timer == NULL)
        return;
    _lv_ll_remove(&timers, timer);
    lv_mem_free(timer);
    list_changes++;
    deletions++;
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
    /* Pretend it last ran more than a period ago. */
    timer->last_run = lv_tick_get() - (timer->period + 1);
}

void lv_timer_set_repeat_count(lv_timer_t *timer, int32_t repeat_count) {
    timer->repeat_count = repeat_count;
}

void lv_timer_reset(lv_timer_t *timer) {
    timer->last_run = lv_tick_get();
}

void lv_timer_enable(bool en) {
    handling_enabled = en;
}

uint8_t lv_timer_get_idle(void) {
    return load.idle_pct;
}

lv_timer_t *lv_timer_get_next(lv_timer_t *timer) {
    return timer ? _lv_ll_get_next(&timers, timer) : _lv_ll_get_head(&timers);
}
