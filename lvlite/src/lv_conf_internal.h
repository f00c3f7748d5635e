/**
 * @file lv_conf_internal.h
 * Reads lv_conf.h and gives every option lvlite knows its default when lv_conf.h leaves it out.
 */
#ifndef LV_CONF_INTERNAL_H
#define LV_CONF_INTERNAL_H

#include <stdint.h>

#if !defined(LV_CONF_SKIP)
#if defined(LV_CONF_PATH)
#define __LV_TO_STR_AUX(x) #x
#define __LV_TO_STR(x)     __LV_TO_STR_AUX(x)
#include __LV_TO_STR(LV_CONF_PATH)
#undef __LV_TO_STR_AUX
#undef __LV_TO_STR
#elif defined(LV_CONF_INCLUDE_SIMPLE)
#include "lv_conf.h"
#else
#include "../../lv_conf.h"
#endif
#endif

#ifndef LV_COLOR_DEPTH
#define LV_COLOR_DEPTH 32
#endif
#ifndef LV_COLOR_SCREEN_TRANSP
#define LV_COLOR_SCREEN_TRANSP 0
#endif

#ifndef LV_MEM_CUSTOM
#define LV_MEM_CUSTOM 0
#endif
#ifndef LV_MEM_SIZE
#define LV_MEM_SIZE (48U * 1024U)
#endif
#ifndef LV_MEM_BUF_MAX_NUM
#define LV_MEM_BUF_MAX_NUM 16
#endif

#ifndef LV_DISP_DEF_REFR_PERIOD
#define LV_DISP_DEF_REFR_PERIOD 30
#endif
#ifndef LV_INDEV_DEF_READ_PERIOD
#define LV_INDEV_DEF_READ_PERIOD 30
#endif
#ifndef LV_TICK_CUSTOM
#define LV_TICK_CUSTOM 0
#endif
#ifndef LV_DPI_DEF
#define LV_DPI_DEF 130
#endif

#ifndef LV_USE_LARGE_COORD
#define LV_USE_LARGE_COORD 0
#endif
#ifndef LV_USE_USER_DATA
#define LV_USE_USER_DATA 1
#endif

#ifndef LV_USE_LOG
#define LV_USE_LOG 0
#endif
#ifndef LV_LOG_LEVEL
#define LV_LOG_LEVEL LV_LOG_LEVEL_WARN
#endif
#ifndef LV_LOG_PRINTF
#define LV_LOG_PRINTF 0
#endif
#ifndef LV_LOG_TRACE_TIMER
#define LV_LOG_TRACE_TIMER 0
#endif

#ifndef LV_USE_ASSERT_NULL
#define LV_USE_ASSERT_NULL 1
#endif
#ifndef LV_USE_ASSERT_MALLOC
#define LV_USE_ASSERT_MALLOC 1
#endif
#ifndef LV_USE_ASSERT_OBJ
#define LV_USE_ASSERT_OBJ 0
#endif

#ifndef LV_TXT_ENC
#define LV_TXT_ENC LV_TXT_ENC_UTF8
#endif

#ifndef LV_INV_BUF_SIZE
#define LV_INV_BUF_SIZE 32
#endif
/* Every invalidated area is grown by this many pixels on each side before it is redrawn. */
#ifndef LV_INV_AREA_EXTRA
#define LV_INV_AREA_EXTRA 5
#endif

#ifndef LV_IMG_CACHE_DEF_SIZE
#define LV_IMG_CACHE_DEF_SIZE 0
#endif

#ifndef LV_USE_FLEX
#define LV_USE_FLEX 1
#endif
#ifndef LV_USE_GRID
#define LV_USE_GRID 0
#endif

#ifndef LV_USE_LABEL
#define LV_USE_LABEL 1
#endif
#ifndef LV_LABEL_TEXT_SELECTION
#define LV_LABEL_TEXT_SELECTION 0
#endif
#ifndef LV_LABEL_LONG_TXT_HINT
#define LV_LABEL_LONG_TXT_HINT 1
#endif
#ifndef LV_USE_IMG
#define LV_USE_IMG 1
#endif
#ifndef LV_USE_BAR
#define LV_USE_BAR 1
#endif
#ifndef LV_USE_BTN
#define LV_USE_BTN 1
#endif

#ifndef LV_USE_THEME_DEFAULT
#define LV_USE_THEME_DEFAULT 0
#endif

#ifndef LV_ATTRIBUTE_TIMER_HANDLER
#define LV_ATTRIBUTE_TIMER_HANDLER
#endif

#endif /* LV_CONF_INTERNAL_H */
