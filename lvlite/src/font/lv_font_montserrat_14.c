/**
 * @file lv_font_montserrat_14.c
 * The built-in 14 px default font. It carries LVGL's name for its default font so that
 * LV_FONT_DEFAULT works unchanged; its glyphs are DejaVu Sans (ASCII and Latin-1), 8 bpp.
 */
#include "lv_font.h"

typedef struct {
    uint32_t unicode;
    uint32_t bitmap_index;
    uint8_t adv_w;
    uint8_t box_w;
    uint8_t box_h;
    int8_t ofs_x;
    int8_t ofs_y;
} builtin_glyph_t;

#include "lv_font_montserrat_14_data.h"

#define GLYPH_COUNT (sizeof(builtin_glyphs) / sizeof(builtin_glyphs[0]))

static const builtin_glyph_t *find_glyph(uint32_t letter) {
    size_t lo = 0;
    size_t hi = GLYPH_COUNT;
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (builtin_glyphs[mid].unicode == letter)
            return &builtin_glyphs[mid];
        if (builtin_glyphs[mid].unicode < letter) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return NULL;
}

static bool builtin_get_glyph_dsc(const lv_font_t *font, lv_font_glyph_dsc_t *dsc_out, uint32_t letter,
                                  uint32_t letter_next) {
    (void)font;
    (void)letter_next;
    const builtin_glyph_t *g = find_glyph(letter);
    if (g == NULL)
        return false;
    dsc_out->adv_w = g->adv_w;
    dsc_out->box_w = g->box_w;
    dsc_out->box_h = g->box_h;
    dsc_out->ofs_x = g->ofs_x;
    dsc_out->ofs_y = g->ofs_y;
    dsc_out->bpp = 8;
    dsc_out->is_placeholder = 0;
    return true;
}

static const uint8_t *builtin_get_glyph_bitmap(const lv_font_t *font, uint32_t letter) {
    (void)font;
    const builtin_glyph_t *g = find_glyph(letter);
    if (g == NULL || g->box_w == 0)
        return NULL;
    return &builtin_bitmaps[g->bitmap_index];
}

const lv_font_t lv_font_montserrat_14 = {
    .get_glyph_dsc = builtin_get_glyph_dsc,
    .get_glyph_bitmap = builtin_get_glyph_bitmap,
    .line_height = BUILTIN_LINE_HEIGHT,
    .base_line = BUILTIN_BASE_LINE,
    .subpx = LV_FONT_SUBPX_NONE,
    .underline_position = -2,
    .underline_thickness = 1,
    .dsc = NULL,
    .fallback = NULL,
    .user_data = NULL,
};
