/**
 * @file lv_async.c
 */
#include "lv_async.h"
#include "lv_mem.h"
#include "lv_timer.h"

typedef struct {
    lv_async_cb_t cb;
    void *user_data;
} lv_async_info_t;

static void async_timer_cb(lv_timer_t *timer) {
    lv_async_info_t *info = timer->user_data;
    lv_async_info_t call = *info;
    lv_mem_free(info);
    /* The timer has a repeat count of 1: the handler deletes it after this callback. */
    timer->user_data = NULL;
    call.cb(call.user_data);
}

lv_res_t lv_async_call(lv_async_cb_t async_xcb, void *user_data) {
    lv_async_info_t *info = lv_mem_alloc(sizeof(lv_async_info_t));
    if (info == NULL)
        return LV_RES_INV;
    lv_timer_t *timer = lv_timer_create(async_timer_cb, 0, info);
    if (timer == NULL) {
        lv_mem_free(info);
        return LV_RES_INV;
    }
    info->cb = async_xcb;
    info->user_data = user_data;
    lv_timer_set_repeat_count(timer, 1);
    return LV_RES_OK;
}

lv_res_t lv_async_call_cancel(lv_async_cb_t async_xcb, void *user_data) {
    lv_res_t res = LV_RES_INV;
    lv_timer_t *timer = lv_timer_get_next(NULL);
    while (timer) {
        lv_timer_t *next = lv_timer_get_next(timer);
        if (timer->timer_cb == async_timer_cb && timer->user_data) {
            lv_async_info_t *info = timer->user_data;
            if (info->cb == async_xcb && info->user_data == user_data) {
                lv_timer_del(timer);
                lv_mem_free(info);
                res = LV_RES_OK;
            }
        }
        timer = next;
    }
    return res;
}
