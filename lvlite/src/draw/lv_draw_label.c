/**
 * @file lv_draw_label.c
 */
#include "lv_draw.h"

#include <string.h>

#include "../misc/lv_math.h"
#include "sw/lv_draw_sw.h"

#define LABEL_HINT_UPDATE_TH 1024 /* lines this far above the view are worth remembering */

void lv_draw_label_dsc_init(lv_draw_label_dsc_t *dsc) {
    memset(dsc, 0, sizeof(*dsc));
    /* Black opaque text in the default font, left to right, nothing selected. */
    dsc->font = LV_FONT_DEFAULT;
    dsc->color = dsc->sel_color = lv_color_black();
    dsc->opa = LV_OPA_COVER;
    dsc->sel_start = dsc->sel_end = LV_DRAW_LABEL_NO_TXT_SEL;
    dsc->sel_bg_color = lv_palette_main(LV_PALETTE_BLUE);
    dsc->bidi_dir = LV_BASE_DIR_LTR;
}

/* Coverage of pixel x of a glyph row of bpp bits per pixel starting at bit offset bit0. */
static void glyph_row_to_mask(const uint8_t *bitmap, uint32_t bit0, uint32_t bpp, int32_t len, uint8_t *out) {
    static const uint8_t scale4[16] = {0,   17,  34,  51,  68,  85,  102, 119,
                                       136, 153, 170, 187, 204, 221, 238, 255};
    uint32_t bit = bit0;
    for (int32_t k = 0; k < len; k++, bit += bpp) {
        uint8_t byte = bitmap[bit >> 3];
        uint32_t shift = 8 - bpp - (bit & 7);
        uint32_t v = (byte >> shift) & ((1u << bpp) - 1);
        switch (bpp) {
        case 1:
            out[k] = v ? 255 : 0;
            break;
        case 2:
            out[k] = (uint8_t)(v * 85);
            break;
        default:
            out[k] = scale4[v];
            break;
        }
    }
}

static void draw_placeholder(lv_draw_ctx_t *ctx, const lv_draw_label_dsc_t *dsc, const lv_area_t *box) {
    lv_draw_rect_dsc_t r;
    lv_draw_rect_dsc_init(&r);
    r.bg_opa = LV_OPA_TRANSP;
    r.border_color = dsc->color;
    r.border_opa = dsc->opa;
    r.border_width = 1;
    lv_draw_rect(ctx, &r, box);
}

void lv_draw_letter(lv_draw_ctx_t *draw_ctx, const lv_draw_label_dsc_t *dsc, const lv_point_t *pos_p,
                    uint32_t letter) {
    lv_font_glyph_dsc_t g;
    bool found = lv_font_get_glyph_dsc(dsc->font, &g, letter, '\0');
    if (!found) {
        if (g.is_placeholder && g.box_w > 0) {
            lv_area_t box = {pos_p->x, pos_p->y, pos_p->x + g.box_w - 1, pos_p->y + g.box_h - 1};
            draw_placeholder(draw_ctx, dsc, &box);
        }
        return;
    }
    if (g.box_h == 0 || g.box_w == 0)
        return; /* e.g. a space */

    const lv_font_t *font = g.resolved_font;
    lv_coord_t gx = pos_p->x + g.ofs_x;
    lv_coord_t gy = pos_p->y + (dsc->font->line_height - dsc->font->base_line) - g.box_h - g.ofs_y;
    lv_area_t box = {gx, gy, gx + g.box_w - 1, gy + g.box_h - 1};
    lv_area_t clip;
    if (!_lv_area_intersect(&clip, &box, draw_ctx->clip_area))
        return;

    const uint8_t *bitmap = lv_font_get_glyph_bitmap(font, letter);
    if (bitmap == NULL)
        return;

    uint32_t bpp = g.bpp;
    if (bpp != 1 && bpp != 2 && bpp != 4 && bpp != 8)
        return;
    int32_t len = lv_area_get_width(&clip);
    bool dest_alpha = _lv_draw_sw_dest_has_alpha();
    uint8_t *mask = NULL;
    if (bpp != 8) {
        mask = _lv_draw_sw_scratch(3, (size_t)len);
        if (mask == NULL)
            return;
    }

    for (int32_t y = clip.y1; y <= clip.y2; y++) {
        uint32_t px0 = (uint32_t)(y - gy) * g.box_w + (uint32_t)(clip.x1 - gx);
        const uint8_t *m;
        if (bpp == 8) {
            m = bitmap + px0;
        } else {
            glyph_row_to_mask(bitmap, px0 * bpp, bpp, len, mask);
            m = mask;
        }
        _lv_draw_sw_fill_row(_lv_draw_sw_px(draw_ctx, clip.x1, y), len, dsc->color, dsc->opa, m, dest_alpha);
    }
}

static int hex_val(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

/* Colour of a recolor command "#rrggbb " starting at txt (the text after '#'). */
static bool parse_recolor(const char *txt, uint32_t avail, lv_color_t *out) {
    if (avail < 6)
        return false;
    int v[6];
    for (int k = 0; k < 6; k++) {
        v[k] = hex_val(txt[k]);
        if (v[k] < 0)
            return false;
    }
    *out =
        lv_color_make((uint8_t)(v[0] * 16 + v[1]), (uint8_t)(v[2] * 16 + v[3]), (uint8_t)(v[4] * 16 + v[5]));
    return true;
}

static void draw_decor(lv_draw_ctx_t *ctx, const lv_draw_label_dsc_t *dsc, const lv_point_t *line_pos,
                       lv_coord_t line_w) {
    const lv_font_t *font = dsc->font;
    bool dest_alpha = _lv_draw_sw_dest_has_alpha();
    lv_area_t a;
    int32_t thick = LV_MAX(1, font->underline_thickness);
    if (dsc->decor & LV_TEXT_DECOR_STRIKETHROUGH) {
        int32_t y = line_pos->y + (font->line_height - font->base_line) / 2 + thick / 2;
        lv_area_set(&a, line_pos->x, y, line_pos->x + line_w - 1, y + thick - 1);
        lv_area_t clip;
        if (_lv_area_intersect(&clip, &a, ctx->clip_area)) {
            for (int32_t yy = clip.y1; yy <= clip.y2; yy++)
                _lv_draw_sw_fill_row(_lv_draw_sw_px(ctx, clip.x1, yy), lv_area_get_width(&clip), dsc->color,
                                     dsc->opa, NULL, dest_alpha);
        }
    }
    if (dsc->decor & LV_TEXT_DECOR_UNDERLINE) {
        int32_t y = line_pos->y + font->line_height - font->base_line - font->underline_position;
        lv_area_set(&a, line_pos->x, y, line_pos->x + line_w - 1, y + thick - 1);
        lv_area_t clip;
        if (_lv_area_intersect(&clip, &a, ctx->clip_area)) {
            for (int32_t yy = clip.y1; yy <= clip.y2; yy++)
                _lv_draw_sw_fill_row(_lv_draw_sw_px(ctx, clip.x1, yy), lv_area_get_width(&clip), dsc->color,
                                     dsc->opa, NULL, dest_alpha);
        }
    }
}

/* Where a line starts on the x axis for the descriptor's alignment. */
static lv_coord_t line_left(const lv_draw_label_dsc_t *dsc, const lv_area_t *coords, const char *line,
                            uint32_t len) {
    lv_text_align_t al = dsc->align;
    if (al != LV_TEXT_ALIGN_CENTER && al != LV_TEXT_ALIGN_RIGHT)
        return coords->x1;
    lv_coord_t room =
        lv_area_get_width(coords) - lv_txt_get_width(line, len, dsc->font, dsc->letter_space, dsc->flag);
    return coords->x1 + (al == LV_TEXT_ALIGN_CENTER ? room / 2 : room);
}

/* Walks the lines of a text: [from, to) is the current line, `top` its y. */
typedef struct {
    const char *txt;
    const lv_draw_label_dsc_t *dsc;
    lv_coord_t wrap;
    uint32_t from, to;
    lv_coord_t top;
} lines_t;

static void lines_measure(lines_t *ln) {
    ln->to = ln->from + _lv_txt_get_next_line(ln->txt + ln->from, ln->dsc->font, ln->dsc->letter_space,
                                              ln->wrap, NULL, ln->dsc->flag);
}

/* Moves to the next line; false at the end of the text. */
static bool lines_next(lines_t *ln, lv_coord_t pitch) {
    ln->from = ln->to;
    ln->top += pitch;
    lines_measure(ln);
    return ln->txt[ln->from] != '\0';
}

/* Draws one line with its pen starting at pen; recolour commands switch the colour to *recolor. */
static void draw_line(lv_draw_ctx_t *ctx, const lv_draw_label_dsc_t *dsc, const char *line, uint32_t len,
                      lv_point_t pen, lv_color_t *recolor) {
    const lv_area_t *clip = ctx->clip_area;
    lv_coord_t reach = lv_font_get_line_height(dsc->font); /* how far a glyph may stick out of its advance */
    lv_draw_label_dsc_t ink = *dsc;
    lv_text_cmd_state_t cmd = LV_TEXT_CMD_STATE_WAIT;
    bool recolouring = (dsc->flag & LV_TEXT_FLAG_RECOLOR) != 0;
    for (uint32_t at = 0; at < len;) {
        uint32_t cp, next;
        _lv_txt_encoded_letter_next_2(line, &cp, &next, &at);
        if (recolouring) {
            bool was_waiting = cmd == LV_TEXT_CMD_STATE_WAIT;
            if (_lv_txt_is_cmd(&cmd, cp)) {
                /* A command starts: read its colour (a bad one falls back to the text colour). */
                if (was_waiting && cmd == LV_TEXT_CMD_STATE_PAR &&
                    !parse_recolor(line + at, len - at, recolor))
                    *recolor = dsc->color;
                continue;
            }
            ink.color = cmd == LV_TEXT_CMD_STATE_IN ? *recolor : dsc->color;
        }
        if (pen.x - reach > clip->x2)
            break; /* the rest of the line is right of the clip */
        lv_coord_t adv = lv_font_get_glyph_width(dsc->font, cp, next);
        if (pen.x + adv + reach >= clip->x1)
            lv_draw_letter(ctx, &ink, &pen, cp);
        if (adv > 0)
            pen.x += adv + dsc->letter_space;
    }
}

void lv_draw_label(lv_draw_ctx_t *draw_ctx, const lv_draw_label_dsc_t *dsc, const lv_area_t *coords,
                   const char *txt, lv_draw_label_hint_t *hint) {
    lv_area_t visible;
    if (dsc->opa <= LV_OPA_MIN || dsc->font == NULL || txt == NULL || *txt == '\0' ||
        !_lv_area_intersect(&visible, coords, draw_ctx->clip_area))
        return;

    lines_t ln = {txt, dsc, lv_area_get_width(coords), 0, 0, (lv_coord_t)(coords->y1 + dsc->ofs_y)};
    if (dsc->flag & LV_TEXT_FLAG_EXPAND) {
        /* Unwrapped: as wide as the longest line. */
        lv_point_t whole;
        lv_txt_get_size(&whole, txt, dsc->font, dsc->letter_space, dsc->line_space, LV_COORD_MAX, dsc->flag);
        ln.wrap = whole.x;
    }
    lv_coord_t glyph_h = lv_font_get_line_height(dsc->font);
    lv_coord_t pitch = glyph_h + dsc->line_space;

    /* A tall label far above the screen may resume from the line it remembered. */
    bool hint_usable = hint != NULL && dsc->ofs_y == 0 && coords->y1 < 0;
    if (hint_usable && LV_ABS(hint->coord_y - coords->y1) > LABEL_HINT_UPDATE_TH - 2 * pitch)
        hint->line_start = -1;
    if (hint_usable && hint->line_start >= 0) {
        ln.from = (uint32_t)hint->line_start;
        ln.top += hint->y;
    }
    lines_measure(&ln);

    /* Lines wholly above the clip are only counted. */
    while (ln.top + glyph_h < draw_ctx->clip_area->y1) {
        bool more = lines_next(&ln, pitch);
        if (hint != NULL && hint->line_start < 0 && ln.top >= -LABEL_HINT_UPDATE_TH) {
            hint->line_start = (int32_t)ln.from;
            hint->y = ln.top - coords->y1;
            hint->coord_y = coords->y1;
        }
        if (!more)
            return;
    }

    if (txt[ln.from] == '\0')
        return;
    lv_color_t recolor = dsc->color;
    do {
        const char *line = txt + ln.from;
        uint32_t len = ln.to - ln.from;
        lv_point_t pen = {(lv_coord_t)(line_left(dsc, coords, line, len) + dsc->ofs_x), ln.top};
        draw_line(draw_ctx, dsc, line, len, pen, &recolor);
        if (dsc->decor != LV_TEXT_DECOR_NONE)
            draw_decor(draw_ctx, dsc, &pen,
                       lv_txt_get_width(line, len, dsc->font, dsc->letter_space, dsc->flag));
    } while (lines_next(&ln, pitch) && ln.top <= draw_ctx->clip_area->y2);
}
