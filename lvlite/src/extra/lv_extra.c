/**
 * @file lv_extra.c
 * Starts the optional parts that lv_conf.h switches on: the flex layout, the stdio file-system
 * driver, the PNG and JPEG decoders and FreeType (with the cache sizes of lv_conf.h).
 */
#include "lv_extra.h"
#include "../lv_conf_internal.h"
#include "../misc/lv_log.h"
#include "../layouts/flex/lv_flex.h"
#include "libs/freetype/lv_freetype.h"
#include "libs/fsdrv/lv_fsdrv.h"
#include "libs/png/lv_png.h"
#include "libs/sjpg/lv_sjpg.h"

#if defined(LV_USE_FREETYPE) && LV_USE_FREETYPE
static void start_freetype(void) {
    if (!lv_freetype_init(LV_FREETYPE_CACHE_FT_FACES, LV_FREETYPE_CACHE_FT_SIZES, LV_FREETYPE_CACHE_SIZE))
        LV_LOG_WARN("FreeType did not start: FreeType fonts will not load");
}
#endif

void lv_extra_init(void) {
    /* Layouts before the drivers and decoders; nothing here depends on another part's order. */
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
    start_freetype();
#endif
}
