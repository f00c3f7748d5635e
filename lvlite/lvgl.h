/**
 * @file lvgl.h
 * The graphics core of the user interface: the LVGL 8.3 interface the program uses.
 */
#ifndef LVGL_H
#define LVGL_H

#ifdef __cplusplus
extern "C" {
#endif

#define LVGL_VERSION_MAJOR 8
#define LVGL_VERSION_MINOR 3
#define LVGL_VERSION_PATCH 0
#define LVGL_VERSION_INFO  "lvlite"

#include "src/lv_conf_internal.h"

#include "src/misc/lv_anim.h"
#include "src/misc/lv_anim_timeline.h"
#include "src/misc/lv_area.h"
#include "src/misc/lv_assert.h"
#include "src/misc/lv_async.h"
#include "src/misc/lv_color.h"
#include "src/misc/lv_fs.h"
#include "src/misc/lv_ll.h"
#include "src/misc/lv_log.h"
#include "src/misc/lv_math.h"
#include "src/misc/lv_mem.h"
#include "src/misc/lv_style.h"
#include "src/misc/lv_timer.h"
#include "src/misc/lv_txt.h"

#include "src/hal/lv_hal.h"

#include "src/core/lv_disp.h"
#include "src/core/lv_group.h"
#include "src/core/lv_indev.h"
#include "src/core/lv_obj.h"
#include "src/core/lv_refr.h"

#include "src/draw/lv_draw.h"
#include "src/font/lv_font.h"

#include "src/layouts/flex/lv_flex.h"

#include "src/widgets/lv_bar.h"
#include "src/widgets/lv_btn.h"
#include "src/widgets/lv_img.h"
#include "src/widgets/lv_label.h"

#include "src/extra/lv_extra.h"
#include "src/extra/libs/freetype/lv_freetype.h"
#include "src/extra/libs/fsdrv/lv_fsdrv.h"
#include "src/extra/libs/png/lv_png.h"
#include "src/extra/libs/sjpg/lv_sjpg.h"
#include "src/extra/libs/gif/lv_gif.h"

/** Whether the library is at least the given version. */
#define LV_VERSION_CHECK(x, y, z)                                                                            \
    (x == LVGL_VERSION_MAJOR &&                                                                              \
     (y < LVGL_VERSION_MINOR || (y == LVGL_VERSION_MINOR && z <= LVGL_VERSION_PATCH)))

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LVGL_H */
