/**
 * @file lv_async.h
 * Calls deferred to the timer handler: a zero-period, one-shot timer per call.
 */
#ifndef LV_ASYNC_H
#define LV_ASYNC_H

#ifdef __cplusplus
extern "C" {
#endif

#include "lv_types.h"

typedef void (*lv_async_cb_t)(void *);

/** Run async_xcb(user_data) from the timer handler: the next call, or the running one when called
 * from a timer, animation or input callback. */
lv_res_t lv_async_call(lv_async_cb_t async_xcb, void *user_data);
/** Cancel the pending calls of async_xcb with user_data. */
lv_res_t lv_async_call_cancel(lv_async_cb_t async_xcb, void *user_data);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_ASYNC_H */
