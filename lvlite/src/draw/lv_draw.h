/**
 * @file lv_draw.h
 * The draw layer: a draw context names the buffer being rendered and the clip area, and the
 * lv_draw_* functions render rectangles, text, images and lines into it (ARGB8888, software).
 */
#ifndef LV_DRAW_H
#define LV_DRAW_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../lv_conf_internal.h"
#include "../misc/lv_area.h"
#include "../misc/lv_color.h"
#include "../misc/lv_style.h"
#include "../misc/lv_txt.h"
#include "lv_img_decoder.h"
#include "lv_img_cache.h"

#include "lv_draw_arc.h"
#include "lv_draw_img.h"
#include "lv_draw_label.h"
#include "lv_draw_line.h"
#include "lv_draw_rect.h"

/**
 * Where drawing goes. buf holds the pixels of buf_area, packed (lv_area_get_width(buf_area)
 * pixels per row); nothing is drawn outside clip_area, which lies within buf_area.
 */
typedef struct _lv_draw_ctx_t {
    void *buf;
    lv_area_t *buf_area;
    const lv_area_t *clip_area;
    void *user_data;
} lv_draw_ctx_t;

/** Start the draw layer (called by lv_init). */
void lv_draw_init(void);

/** Wait until every drawing started in draw_ctx has finished (the software renderer is synchronous). */
void lv_draw_wait_for_finish(lv_draw_ctx_t *draw_ctx);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_DRAW_H */
