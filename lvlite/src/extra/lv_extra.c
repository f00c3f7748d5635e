/**
 * @file lv_extra.c
 */
#include "lv_extra.h"
#include "../lv_conf_internal.h"
#include "../layouts/flex/lv_flex.h"
#include "libs/fsdrv/lv_fsdrv.h"
#include "libs/png/lv_png.h"
#include "libs/sjpg/lv_sjpg.h"
#include "libs/freetype/lv_freetype.h"

void lv_extra_init(void) {
#if LV_USE_FLEX
    lv_flex_init();
#endif
#if defined(LV_USE_FS_STDIO) && LV_USE_FS_STDIO
    lv_fs_stdio_init();
#endif
#if defined(LV_USE_PNG) && LV_USE_PNG
    lv_png_init();
#endif
#if defined(LV_USE_SJPG) && LV_USE_SJPG
    lv_split_jpeg_init();
#endif
#if defined(LV_USE_FREETYPE) && LV_USE_FREETYPE
    lv_freetype_init(LV_FREETYPE_CACHE_FT_FACES, LV_FREETYPE_CACHE_FT_SIZES, LV_FREETYPE_CACHE_SIZE);
#endif
}
