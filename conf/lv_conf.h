/*
 * LVGL configuration of recorder_ui. Read by lvlite and by a real LVGL 8.3/8.4 tree alike
 * (LV_CONF_INCLUDE_SIMPLE with this directory on the include path).
 */
#ifndef LV_CONF_H
#define LV_CONF_H

#include <stdint.h>

#define LV_COLOR_DEPTH         32
#define LV_COLOR_SCREEN_TRANSP 1
#define LV_COLOR_CHROMA_KEY    lv_color_hex(0x00ff00)

#define LV_MEM_CUSTOM         1
#define LV_MEM_CUSTOM_INCLUDE <stdlib.h>
#define LV_MEM_CUSTOM_ALLOC   malloc
#define LV_MEM_CUSTOM_FREE    free
#define LV_MEM_CUSTOM_REALLOC realloc

#define LV_DISP_DEF_REFR_PERIOD  30
#define LV_INDEV_DEF_READ_PERIOD 30

/* The program takes time from the monotonic clock; tests set LV_TICK_CUSTOM to 0 and drive
 * time with lv_tick_inc. */
#ifndef LV_TICK_CUSTOM
#define LV_TICK_CUSTOM 1
#endif
#if LV_TICK_CUSTOM
#define LV_TICK_CUSTOM_INCLUDE       "lv_tick_custom.h"
#define LV_TICK_CUSTOM_SYS_TIME_EXPR (lv_tick_custom_ms())
#endif

#define LV_DPI_DEF 130

#define LV_USE_LARGE_COORD 1
#define LV_USE_USER_DATA   1

#define LV_USE_LOG    1
#define LV_LOG_LEVEL  LV_LOG_LEVEL_WARN
#define LV_LOG_PRINTF 1

#define LV_USE_ASSERT_NULL   1
#define LV_USE_ASSERT_MALLOC 1

#define LV_TXT_ENC LV_TXT_ENC_UTF8

#define LV_FONT_MONTSERRAT_14 1
#define LV_FONT_DEFAULT       &lv_font_montserrat_14

#define LV_USE_FLEX 1
#define LV_USE_GRID 0

/* Every object starts with the plain property defaults; the program styles what it shows. */
#define LV_USE_THEME_DEFAULT 0
#define LV_USE_THEME_BASIC   0
#define LV_USE_THEME_MONO    0

#define LV_USE_LABEL            1
#define LV_LABEL_TEXT_SELECTION 0
#define LV_LABEL_LONG_TXT_HINT  1
#define LV_USE_IMG              1
#define LV_USE_BAR              1
#define LV_USE_METER            1
#define LV_USE_GIF              1
#define LV_USE_FREETYPE         1
#define LV_FREETYPE_CACHE_SIZE  0 /* glyph bitmaps of all fonts: 0 = 1 MiB */
#define LV_FREETYPE_CACHE_FT_FACES 64
#define LV_FREETYPE_CACHE_FT_SIZES 64
/* Files "/:/app/bin/res/..." are read below RECORDER_ROOT (empty on the device). */
#define LV_USE_FS_STDIO    1
#define LV_FS_STDIO_LETTER '/'
#ifdef RECORDER_ROOT
#define LV_FS_STDIO_PATH RECORDER_ROOT
#else
#define LV_FS_STDIO_PATH ""
#endif
#define LV_FS_STDIO_CACHE_SIZE 0
#define LV_USE_PNG             1
#define LV_USE_SJPG            1

#define LV_IMG_CACHE_DEF_SIZE 8

#endif /* LV_CONF_H */
