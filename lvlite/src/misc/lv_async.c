/**
 * @file lv_async.c
 * Deferred calls. Each request rides on a timer of its own with period 0 that runs once, so that
 * deferred calls keep the timers' order: they run in the next timer pass (or in the running pass
 * when requested from inside one), the newest first.
 */
#include "lv_async.h"
#include "lv_mem.h"
#include "lv_timer.h"

typedef struct {
    lv_async_cb_t fn;
    void *arg;
} deferred_t;

static void run_deferred(lv_timer_t *t) {
    deferred_t *req = t->user_data;
    if (req == NULL)
        return;
    /* The request is freed before the call, which may itself defer or cancel calls. */
    deferred_t copy = *req;
    t->user_data = NULL;
    lv_mem_free(req);
    copy.fn(copy.arg);
}

lv_res_t lv_async_call(lv_async_cb_t async_xcb, void *user_data) {
    deferred_t *req = lv_mem_alloc(sizeof(*req));
    if (req == NULL)
        return LV_RES_INV;
    req->fn = async_xcb;
    req->arg = user_data;
    lv_timer_t *t = lv_timer_create(run_deferred, 0, req);
    if (t == NULL) {
        lv_mem_free(req);
        return LV_RES_INV;
    }
    /* One run; the timer module deletes the timer after it. */
    lv_timer_set_repeat_count(t, 1);
    return LV_RES_OK;
}

static bool is_request_for(const lv_timer_t *t, lv_async_cb_t fn, const void *arg) {
    const deferred_t *req = t->user_data;
    return t->timer_cb == run_deferred && req != NULL && req->fn == fn && req->arg == arg;
}

lv_res_t lv_async_call_cancel(lv_async_cb_t async_xcb, void *user_data) {
    bool any = false;
    lv_timer_t *t = lv_timer_get_next(NULL);
    while (t != NULL) {
        lv_timer_t *after = lv_timer_get_next(t);
        if (is_request_for(t, async_xcb, user_data)) {
            lv_mem_free(t->user_data);
            lv_timer_del(t);
            any = true;
        }
        t = after;
    }
    return any ? LV_RES_OK : LV_RES_INV;
}
