/**
 * @file lv_label.h
 * Text labels with long modes: wrap, dots, scroll back and forth, circular scroll and clip.
 */
#ifndef LV_LABEL_H
#define LV_LABEL_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdarg.h>

#include "../core/lv_obj.h"

#define LV_LABEL_WAIT_CHAR_COUNT    3
#define LV_LABEL_SCROLL_DELAY       300
#define LV_LABEL_DOT_NUM            3
#define LV_LABEL_POS_LAST           0xFFFF
#define LV_LABEL_TEXT_SELECTION_OFF LV_DRAW_LABEL_NO_TXT_SEL
#define LV_LABEL_DEF_SCROLL_SPEED   (lv_disp_get_dpi(NULL) / 3)

enum {
    LV_LABEL_LONG_WRAP,
    LV_LABEL_LONG_DOT,
    LV_LABEL_LONG_SCROLL,
    LV_LABEL_LONG_SCROLL_CIRCULAR,
    LV_LABEL_LONG_CLIP,
};
typedef uint8_t lv_label_long_mode_t;

typedef struct {
    lv_obj_t obj;
    char *text;
    uint32_t dot_end; /**< byte where "..." replaces the rest when drawn (UINT32_MAX: no dots) */
    lv_draw_label_hint_t hint;
    lv_point_t offset; /**< text offset of the scrolling modes */
    lv_point_t size_cache;
    lv_label_long_mode_t long_mode : 3;
    uint8_t static_txt : 1;
    uint8_t recolor : 1;
    uint8_t expand : 1;
} lv_label_t;

extern const lv_obj_class_t lv_label_class;

lv_obj_t *lv_label_create(lv_obj_t *parent);
/** Copy text (NULL: refresh with the current text). */
void lv_label_set_text(lv_obj_t *obj, const char *text);
void lv_label_set_text_fmt(lv_obj_t *obj, const char *fmt, ...) LV_FORMAT_ATTRIBUTE(2, 3);
/** Show text without copying it; it must stay valid while shown. */
void lv_label_set_text_static(lv_obj_t *obj, const char *text);
void lv_label_set_long_mode(lv_obj_t *obj, lv_label_long_mode_t long_mode);
void lv_label_set_recolor(lv_obj_t *obj, bool en);
char *lv_label_get_text(const lv_obj_t *obj);
lv_label_long_mode_t lv_label_get_long_mode(const lv_obj_t *obj);
bool lv_label_get_recolor(const lv_obj_t *obj);
/** Insert txt before the pos-th character (LV_LABEL_POS_LAST: at the end). */
void lv_label_ins_text(lv_obj_t *obj, uint32_t pos, const char *txt);
void lv_label_cut_text(lv_obj_t *obj, uint32_t pos, uint32_t cnt);
void lv_label_get_letter_pos(const lv_obj_t *obj, uint32_t char_id, lv_point_t *pos);
uint32_t lv_label_get_letter_on(const lv_obj_t *obj, lv_point_t *pos_in);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_LABEL_H */
