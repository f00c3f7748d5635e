/**
 * @file lv_font.c
 */
#include "lv_font.h"

#include <string.h>

bool lv_font_get_glyph_dsc(const lv_font_t *font_p, lv_font_glyph_dsc_t *dsc_out, uint32_t letter,
                           uint32_t letter_next) {
    memset(dsc_out, 0, sizeof(*dsc_out));
    if (font_p == NULL)
        return false;

    /* Walk the fallback chain; a chain longer than this is a loop. */
    const lv_font_t *f = font_p;
    for (int depth = 0; f != NULL && depth < 16; depth++, f = f->fallback) {
        if (f->get_glyph_dsc && f->get_glyph_dsc(f, dsc_out, letter, letter_next) &&
            !dsc_out->is_placeholder) {
            dsc_out->resolved_font = f;
            return true;
        }
        memset(dsc_out, 0, sizeof(*dsc_out));
    }

    /* Missing everywhere: a box half a line wide, except for control and joiner characters. */
    if (letter < 0x20 || letter == 0xF8FF || letter == 0x200C || letter == 0x200B || letter == 0xFEFF) {
        dsc_out->box_w = 0;
        dsc_out->adv_w = 0;
    } else {
        dsc_out->box_w = (uint16_t)(font_p->line_height / 2);
        dsc_out->adv_w = (uint16_t)(dsc_out->box_w + 2);
    }
    dsc_out->resolved_font = NULL;
    dsc_out->box_h = (uint16_t)font_p->line_height;
    dsc_out->ofs_x = 0;
    dsc_out->ofs_y = 0;
    dsc_out->bpp = 1;
    dsc_out->is_placeholder = 1;
    return false;
}

const uint8_t *lv_font_get_glyph_bitmap(const lv_font_t *font_p, uint32_t letter) {
    if (font_p == NULL || font_p->get_glyph_bitmap == NULL)
        return NULL;
    return font_p->get_glyph_bitmap(font_p, letter);
}

uint16_t lv_font_get_glyph_width(const lv_font_t *font, uint32_t letter, uint32_t letter_next) {
    lv_font_glyph_dsc_t g;
    lv_font_get_glyph_dsc(font, &g, letter, letter_next);
    return g.adv_w;
}

const lv_font_t *lv_font_default(void) {
    return &lv_font_montserrat_14;
}
