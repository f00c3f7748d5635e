/**
 * @file lv_hal_tick.c
 */
#include "lv_hal_tick.h"

#if LV_TICK_CUSTOM
#include LV_TICK_CUSTOM_INCLUDE
#else
#include <stdatomic.h>
static _Atomic uint32_t sys_time;

void lv_tick_inc(uint32_t tick_period) {
    atomic_fetch_add(&sys_time, tick_period);
}
#endif

uint32_t lv_tick_get(void) {
#if LV_TICK_CUSTOM
    return (uint32_t)(LV_TICK_CUSTOM_SYS_TIME_EXPR);
#else
    return atomic_load(&sys_time);
#endif
}

uint32_t lv_tick_elaps(uint32_t prev_tick) {
    return lv_tick_get() - prev_tick;
}
