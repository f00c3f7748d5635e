/**
 * @file lv_hal_tick.h
 * Milliseconds since start: from LV_TICK_CUSTOM_SYS_TIME_EXPR when LV_TICK_CUSTOM is 1, else counted up
 * by lv_tick_inc.
 */
#ifndef LV_HAL_TICK_H
#define LV_HAL_TICK_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdint.h>

#include "../lv_conf_internal.h"

#if LV_TICK_CUSTOM == 0
void lv_tick_inc(uint32_t tick_period);
#endif

uint32_t lv_tick_get(void);
/** Milliseconds since prev_tick, correct across the 32-bit wrap. */
uint32_t lv_tick_elaps(uint32_t prev_tick);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_HAL_TICK_H */
