/**
 * @file lv_draw_label.h
 */
#ifndef LV_DRAW_LABEL_H
#define LV_DRAW_LABEL_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../font/lv_font.h"
#include "../misc/lv_area.h"
#include "../misc/lv_bidi.h"
#include "../misc/lv_color.h"
#include "../misc/lv_style.h"
#include "../misc/lv_txt.h"

#define LV_DRAW_LABEL_NO_TXT_SEL (0xFFFF)

struct _lv_draw_ctx_t;

typedef struct {
    const lv_font_t *font;
    uint32_t sel_start;
    uint32_t sel_end;
    lv_color_t color;
    lv_color_t sel_color;
    lv_color_t sel_bg_color;
    lv_coord_t line_space;
    lv_coord_t letter_space;
    lv_coord_t ofs_x;
    lv_coord_t ofs_y;
    lv_opa_t opa;
    lv_base_dir_t bidi_dir;
    lv_text_align_t align;
    lv_text_flag_t flag;
    lv_text_decor_t decor : 3;
    lv_blend_mode_t blend_mode : 3;
} lv_draw_label_dsc_t;

/** Store some info to speed up drawing of very large texts. */
typedef struct {
    int32_t line_start; /**< Index of the line at `y` coordinate */
    int32_t y; /**< Give the `y` coordinate of the first letter at `line start` index. Relative to the label's
                  coordinates */
    int32_t coord_y; /**< The 'y1' coordinate of the label when the hint was saved. Used to invalidate the
                        hint if the label has moved too much. */
} lv_draw_label_hint_t;

/** Black, opaque, LV_FONT_DEFAULT, left aligned, no selection. */
void lv_draw_label_dsc_init(lv_draw_label_dsc_t *dsc);

/**
 * Draw txt in coords, wrapped at the width of coords (unless LV_TEXT_FLAG_EXPAND), moved by
 * ofs_x/ofs_y (scrolled labels), clipped to draw_ctx->clip_area. hint may be NULL.
 */
void lv_draw_label(struct _lv_draw_ctx_t *draw_ctx, const lv_draw_label_dsc_t *dsc, const lv_area_t *coords,
                   const char *txt, lv_draw_label_hint_t *hint);

/** Draw one letter with its pen position (the top-left of its line) at pos_p. */
void lv_draw_letter(struct _lv_draw_ctx_t *draw_ctx, const lv_draw_label_dsc_t *dsc, const lv_point_t *pos_p,
                    uint32_t letter);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_DRAW_LABEL_H */
