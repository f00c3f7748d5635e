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

static lv_coord_t aligned_x(const lv_draw_label_dsc_t *dsc, const lv_area_t *coords, const char *line,
                            uint32_t len) {
    if (dsc->align != LV_TEXT_ALIGN_CENTER && dsc->align != LV_TEXT_ALIGN_RIGHT)
        return coords->x1;
    lv_coord_t w = lv_txt_get_width(line, len, dsc->font, dsc->letter_space, dsc->flag);
    if (dsc->align == LV_TEXT_ALIGN_CENTER)
        return coords->x1 + (lv_area_get_width(coords) - w) / 2;
    return coords->x1 + lv_area_get_width(coords) - w;
}

void lv_draw_label(lv_draw_ctx_t *draw_ctx, const lv_draw_label_dsc_t *dsc, const lv_area_t *coords,
                   const char *txt, lv_draw_label_hint_t *hint) {
    if (dsc->opa <= LV_OPA_MIN || dsc->font == NULL || txt == NULL || txt[0] == '\0')
        return;

    lv_area_t clipped;
    if (!_lv_area_intersect(&clipped, coords, draw_ctx->clip_area))
        return;

    const lv_font_t *font = dsc->font;
    int32_t w;
    if ((dsc->flag & LV_TEXT_FLAG_EXPAND) == 0) {
        w = lv_area_get_width(coords);
    } else {
        lv_point_t p;
        lv_txt_get_size(&p, txt, font, dsc->letter_space, dsc->line_space, LV_COORD_MAX, dsc->flag);
        w = p.x;
    }

    int32_t line_height_font = lv_font_get_line_height(font);
    int32_t line_height = line_height_font + dsc->line_space;

    lv_point_t pos;
    pos.y = coords->y1 + dsc->ofs_y;

    uint32_t line_start = 0;
    int32_t last_line_start = -1;
    if (hint && dsc->ofs_y == 0 && coords->y1 < 0) {
        /* The label moved too much since the hint was saved: start over. */
        if (LV_ABS(hint->coord_y - coords->y1) > LABEL_HINT_UPDATE_TH - 2 * line_height)
            hint->line_start = -1;
        last_line_start = hint->line_start;
    }
    if (hint && last_line_start >= 0) {
        line_start = (uint32_t)last_line_start;
        pos.y += hint->y;
    }

    uint32_t line_end =
        line_start + _lv_txt_get_next_line(&txt[line_start], font, dsc->letter_space, w, NULL, dsc->flag);

    /* Skip the lines above the clip area. */
    while (pos.y + line_height_font < draw_ctx->clip_area->y1) {
        line_start = line_end;
        line_end += _lv_txt_get_next_line(&txt[line_start], font, dsc->letter_space, w, NULL, dsc->flag);
        pos.y += line_height;
        if (hint && pos.y >= -LABEL_HINT_UPDATE_TH && hint->line_start < 0) {
            hint->line_start = (int32_t)line_start;
            hint->y = pos.y - coords->y1;
            hint->coord_y = coords->y1;
        }
        if (txt[line_start] == '\0')
            return;
    }

    lv_draw_label_dsc_t letter_dsc = *dsc;
    lv_text_cmd_state_t cmd_state = LV_TEXT_CMD_STATE_WAIT;
    lv_color_t recolor = dsc->color;

    while (txt[line_start] != '\0') {
        pos.x = aligned_x(dsc, coords, &txt[line_start], line_end - line_start) + dsc->ofs_x;
        lv_point_t line_pos = pos;

        cmd_state = LV_TEXT_CMD_STATE_WAIT;
        uint32_t i = 0;
        const char *line = &txt[line_start];
        uint32_t line_len = line_end - line_start;
        while (i < line_len) {
            uint32_t letter;
            uint32_t letter_next;
            _lv_txt_encoded_letter_next_2(line, &letter, &letter_next, &i);

            if (dsc->flag & LV_TEXT_FLAG_RECOLOR) {
                lv_text_cmd_state_t before = cmd_state;
                if (_lv_txt_is_cmd(&cmd_state, letter)) {
                    if (before == LV_TEXT_CMD_STATE_WAIT && cmd_state == LV_TEXT_CMD_STATE_PAR) {
                        if (!parse_recolor(line + i, line_len - i, &recolor))
                            recolor = dsc->color;
                    }
                    continue;
                }
                letter_dsc.color = cmd_state == LV_TEXT_CMD_STATE_IN ? recolor : dsc->color;
            }

            lv_coord_t letter_w = lv_font_get_glyph_width(font, letter, letter_next);
            /* Glyphs reach at most about a line height beyond their pen position: further away
             * they are not visible, and neither is the rest of the line. */
            if (pos.x - line_height_font > draw_ctx->clip_area->x2)
                break;
            if (pos.x + letter_w + line_height_font >= draw_ctx->clip_area->x1)
                lv_draw_letter(draw_ctx, &letter_dsc, &pos, letter);
            if (letter_w > 0)
                pos.x += letter_w + dsc->letter_space;
        }
        if (dsc->decor != LV_TEXT_DECOR_NONE) {
            draw_decor(draw_ctx, dsc, &line_pos,
                       lv_txt_get_width(line, line_len, font, dsc->letter_space, dsc->flag));
        }

        line_start = line_end;
        line_end += _lv_txt_get_next_line(&txt[line_start], font, dsc->letter_space, w, NULL, dsc->flag);
        pos.y += line_height;
        if (pos.y > draw_ctx->clip_area->y2)
            return;
    }
}
