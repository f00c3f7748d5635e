/**
 * @file lv_hal.h
 */
#ifndef LV_HAL_H
#define LV_HAL_H

#include "lv_hal_disp.h"
#include "lv_hal_indev.h"
#include "lv_hal_tick.h"

#endif /* LV_HAL_H */
