/**
 * @file lv_font.c
 * Glyph look-up through a font and its fallbacks. A letter no font has gets a placeholder box.
 */
#include "lv_font.h"

#include <string.h>

/* More fallbacks than this can only be a loop of fonts. */
#define FALLBACK_LIMIT 16

/* Letters that take no room when missing: controls, joiners, the byte-order mark. */
static bool invisible_when_missing(uint32_t letter) {
    return letter < 0x20 || letter == 0x200B || letter == 0x200C || letter == 0xFEFF || letter == 0xF8FF;
}

static void placeholder(const lv_font_t *font, uint32_t letter, lv_font_glyph_dsc_t *g) {
    memset(g, 0, sizeof(*g));
    if (!invisible_when_missing(letter)) {
        g->box_w = (uint16_t)(font->line_height / 2);
        g->adv_w = (uint16_t)(g->box_w + 2);
    }
    g->box_h = (uint16_t)font->line_height;
    g->bpp = 1;
    g->is_placeholder = 1;
}

bool lv_font_get_glyph_dsc(const lv_font_t *font_p, lv_font_glyph_dsc_t *dsc_out, uint32_t letter,
                           uint32_t letter_next) {
    memset(dsc_out, 0, sizeof(*dsc_out));
    if (font_p == NULL)
        return false;
    const lv_font_t *f = font_p;
    for (int hops = 0; f != NULL && hops < FALLBACK_LIMIT; hops++) {
        bool found = f->get_glyph_dsc != NULL && f->get_glyph_dsc(f, dsc_out, letter, letter_next);
        if (found && !dsc_out->is_placeholder) {
            dsc_out->resolved_font = f;
            return true;
        }
        memset(dsc_out, 0, sizeof(*dsc_out));
        f = f->fallback;
    }
    placeholder(font_p, letter, dsc_out);
    return false;
}

const uint8_t *lv_font_get_glyph_bitmap(const lv_font_t *font_p, uint32_t letter) {
    bool can = font_p != NULL && font_p->get_glyph_bitmap != NULL;
    return can ? font_p->get_glyph_bitmap(font_p, letter) : NULL;
}

uint16_t lv_font_get_glyph_width(const lv_font_t *font, uint32_t letter, uint32_t letter_next) {
    lv_font_glyph_dsc_t g;
    lv_font_get_glyph_dsc(font, &g, letter, letter_next);
    return g.adv_w;
}

const lv_font_t *lv_font_default(void) {
    return &lv_font_montserrat_14;
}
