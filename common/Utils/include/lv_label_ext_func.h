/*
 * Texts, fonts and resource paths for the views.
 *
 * Views never hold display texts: they name a text by its id ("LANG_RES_ID_...") and the text is
 * looked up in the language file for the current language code. Labels get FreeType fonts by
 * file, size and style; a font already created for the same label is reused. Picture and
 * animation paths are built from the resource roots below.
 *
 * Everything here is for the LVGL thread, except the language code and lv_label_get_text_tr,
 * which any thread may use.
 */
#ifndef LV_LABEL_EXT_FUNC_H
#define LV_LABEL_EXT_FUNC_H

#include <stdbool.h>
#include <stdint.h>

#include "lvgl.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Roots handed to LVGL ("/:" is the drive letter of LVGL's file-system driver on the real root). */
#define UI_RES_PIC_ROOT "/:/app/bin/res/pic/"
#define UI_RES_GIF_ROOT "/:/app/bin/res/gif/"

#define LANG_CODE_LEN 128

/* FreeType font styles. */
#define UI_FONT_STYLE_NORMAL 0
#define UI_FONT_STYLE_ITALIC 1
#define UI_FONT_STYLE_BOLD   2

/* Sets the label's text to the current language's text for id; 0, or -1 with the label unchanged. */
int lv_label_set_text_tr(lv_obj_t *label, const char *id);
/* Copies the text for id into dst (len bytes), always NUL-terminated: a longer text is cut at a
 * character boundary. 0, or -1 with dst unchanged. */
int lv_label_get_text_tr(const char *id, char *dst, uint32_t len);

/* A null code changes nothing; a longer code keeps its first 127 characters. */
void Lang_SetCode(const char *code);
const char *Lang_GetCode(void);
/* Whether the current code contains pattern ("CN", "TW", ...). */
bool Lang_CodeContains(const char *pattern);

/* Gives the label a FreeType font of fontFile at size pixels in style, applied with selector. */
void lv_label_freetype_set_text(lv_obj_t *label, const char *fontFile, uint16_t size,
                                lv_style_selector_t selector, uint16_t style);
void lv_label_freetype_set_text_normal(lv_obj_t *label, const char *fontFile, uint16_t size,
                                       lv_style_selector_t selector);
void lv_label_freetype_set_text_italic(lv_obj_t *label, const char *fontFile, uint16_t size,
                                       lv_style_selector_t selector);
void lv_label_freetype_set_text_bold(lv_obj_t *label, const char *fontFile, uint16_t size,
                                     lv_style_selector_t selector);
/* If the label already has a font of this file, size and style, applies it with selector. */
bool lv_label_check_font_is_same(lv_obj_t *label, const char *fontFile, uint16_t size, uint16_t style,
                                 lv_style_selector_t selector);

/* root followed by file, in a buffer of 256 characters that the next call reuses. */
const char *UI_ResPath(const char *file, const char *root);

void Label_AppendText(lv_obj_t *label, const char *text);
/* Size of text in the label's main-part font, letter and line spacing. */
void Label_GetTextSize(lv_point_t *size, lv_obj_t *label, const char *text, lv_coord_t maxWidth);

/* One animation of a timeline table; a table ends with a row whose obj is null. */
typedef struct {
    uint32_t start_time;
    lv_obj_t *obj;
    lv_anim_exec_xcb_t exec_cb;
    int32_t start;
    int32_t end;
    uint32_t duration;
    lv_anim_path_cb_t path_cb;
    bool early_apply;
} AnimTimelineRow;

void AnimTimelineAddTable(lv_anim_timeline_t *timeline, const AnimTimelineRow *rows);

#ifdef __cplusplus
}
#endif

#endif /* LV_LABEL_EXT_FUNC_H */
