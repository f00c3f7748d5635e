/*
 * Time source of the user interface: milliseconds of the monotonic clock, read by LVGL's tick
 * through LV_TICK_CUSTOM_SYS_TIME_EXPR.
 */
#ifndef LV_TICK_CUSTOM_H
#define LV_TICK_CUSTOM_H

#include <stdint.h>
#include <time.h>

static inline uint32_t lv_tick_custom_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint32_t)((uint64_t)ts.tv_sec * 1000u + (uint64_t)ts.tv_nsec / 1000000u);
}

#endif /* LV_TICK_CUSTOM_H */
