/**
 * @file lv_freetype.c
 */
#include "lv_freetype.h"

#include <string.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include "../../../misc/lv_log.h"
#include "../../../misc/lv_mem.h"

typedef struct {
    uint32_t letter; /* 0: empty slot */
    uint8_t present; /* the face has the glyph */
    uint16_t adv_w;
    uint16_t box_w;
    uint16_t box_h;
    int16_t ofs_x;
    int16_t ofs_y;
    uint8_t *bitmap; /* box_w * box_h coverage bytes */
} ft_glyph_t;

typedef struct {
    lv_font_t font;
    FT_Face face;
    uint16_t style;
    ft_glyph_t *glyphs; /* open addressing, cap a power of two */
    uint32_t cap;
    uint32_t used;
    uint32_t bytes; /* bitmap bytes held */
} ft_font_t;

static FT_Library library;
static bool library_ready;
static uint16_t faces_max;
static uint16_t faces_open;
static uint32_t bytes_max;
static uint32_t bytes_total;

bool lv_freetype_init(uint16_t max_faces, uint16_t max_sizes, uint32_t max_bytes) {
    (void)max_sizes; /* every font holds one face at one size */
    if (library_ready)
        return true;
    if (FT_Init_FreeType(&library) != 0) {
        LV_LOG_ERROR("FreeType could not be started");
        return false;
    }
    library_ready = true;
    faces_max = max_faces ? max_faces : 4;
    bytes_max = max_bytes ? max_bytes : 1024u * 1024u;
    bytes_total = 0;
    faces_open = 0;
    return true;
}

void lv_freetype_destroy(void) {
    if (!library_ready)
        return;
    FT_Done_FreeType(library);
    library_ready = false;
}

static void cache_clear(ft_font_t *f) {
    for (uint32_t i = 0; i < f->cap; i++)
        lv_mem_free(f->glyphs[i].bitmap);
    if (f->glyphs)
        memset(f->glyphs, 0, sizeof(ft_glyph_t) * f->cap);
    bytes_total -= f->bytes;
    f->bytes = 0;
    f->used = 0;
}

static uint32_t slot_of(uint32_t letter, uint32_t cap) {
    return (letter * 2654435761u) & (cap - 1);
}

static bool cache_grow(ft_font_t *f) {
    uint32_t cap = f->cap ? f->cap * 2 : 256;
    ft_glyph_t *g = lv_mem_alloc(sizeof(ft_glyph_t) * cap);
    if (g == NULL)
        return false;
    memset(g, 0, sizeof(ft_glyph_t) * cap);
    for (uint32_t i = 0; i < f->cap; i++) {
        if (f->glyphs[i].letter == 0)
            continue;
        uint32_t s = slot_of(f->glyphs[i].letter, cap);
        while (g[s].letter != 0)
            s = (s + 1) & (cap - 1);
        g[s] = f->glyphs[i];
    }
    lv_mem_free(f->glyphs);
    f->glyphs = g;
    f->cap = cap;
    return true;
}

/* Render letter into a cache entry. */
static bool render_glyph(ft_font_t *f, uint32_t letter, ft_glyph_t *out) {
    memset(out, 0, sizeof(*out));
    out->letter = letter;
    FT_UInt index = FT_Get_Char_Index(f->face, letter);
    if (index == 0)
        return true; /* not in this face: the fallback chain takes over */

    if (FT_Load_Glyph(f->face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0)
        return true;
    FT_GlyphSlot slot = f->face->glyph;
    /* Bold thickens the outline by one pixel, and the advance with it. */
    FT_Pos embolden = 0;
    if ((f->style & FT_FONT_STYLE_BOLD) && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        embolden = 1 << 6;
        FT_Outline_Embolden(&slot->outline, embolden);
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return true;

    FT_Bitmap *b = &slot->bitmap;
    out->present = 1;
    out->adv_w = (uint16_t)((slot->metrics.horiAdvance + embolden) >> 6);
    if (b->pixel_mode != FT_PIXEL_MODE_GRAY || b->width == 0 || b->rows == 0)
        return true;

    size_t size = (size_t)b->width * b->rows;
    out->bitmap = lv_mem_alloc(size);
    if (out->bitmap == NULL)
        return true; /* drawn as an empty glyph */
    for (unsigned y = 0; y < b->rows; y++) {
        const uint8_t *src = b->pitch >= 0 ? b->buffer + (size_t)y * (unsigned)b->pitch
                                           : b->buffer + (size_t)(b->rows - 1 - y) * (unsigned)(-b->pitch);
        memcpy(out->bitmap + (size_t)y * b->width, src, b->width);
    }
    out->box_w = (uint16_t)b->width;
    out->box_h = (uint16_t)b->rows;
    out->ofs_x = (int16_t)slot->bitmap_left;
    out->ofs_y = (int16_t)(slot->bitmap_top - (int)b->rows);
    f->bytes += (uint32_t)size;
    bytes_total += (uint32_t)size;
    return true;
}

static const ft_glyph_t *lookup(const lv_font_t *font, uint32_t letter) {
    ft_font_t *f = font->dsc ? (ft_font_t *)font->dsc : NULL;
    if (f == NULL || letter == 0)
        return NULL;

    if (f->cap) {
        uint32_t s = slot_of(letter, f->cap);
        while (f->glyphs[s].letter != 0) {
            if (f->glyphs[s].letter == letter)
                return &f->glyphs[s];
            s = (s + 1) & (f->cap - 1);
        }
    }

    /* Over the memory bound: start this font's cache afresh (pointers from earlier calls of
     * get_glyph_bitmap are only valid until the next call). */
    if (bytes_total > bytes_max)
        cache_clear(f);
    if (f->cap == 0 || (f->used + 1) * 4 > f->cap * 3) {
        if (!cache_grow(f))
            return NULL;
    }

    ft_glyph_t g;
    render_glyph(f, letter, &g);
    uint32_t s = slot_of(letter, f->cap);
    while (f->glyphs[s].letter != 0)
        s = (s + 1) & (f->cap - 1);
    f->glyphs[s] = g;
    f->used++;
    return &f->glyphs[s];
}

static bool ft_get_glyph_dsc(const lv_font_t *font, lv_font_glyph_dsc_t *dsc_out, uint32_t letter,
                             uint32_t letter_next) {
    (void)letter_next;
    if (letter < 0x20) {
        /* Control characters take no room and draw nothing. */
        memset(dsc_out, 0, sizeof(*dsc_out));
        return true;
    }
    const ft_glyph_t *g = lookup(font, letter);
    if (g == NULL || !g->present)
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

static const uint8_t *ft_get_glyph_bitmap(const lv_font_t *font, uint32_t letter) {
    const ft_glyph_t *g = lookup(font, letter);
    return g ? g->bitmap : NULL;
}

bool lv_ft_font_init(lv_ft_info_t *info) {
    info->font = NULL;
    if (!library_ready) {
        LV_LOG_WARN("lv_freetype_init was not called");
        return false;
    }
    if (info->weight == 0 || info->weight > 1000) {
        LV_LOG_WARN("font size %u is out of range", (unsigned)info->weight);
        return false;
    }
    if (faces_open >= faces_max) {
        LV_LOG_WARN("too many FreeType faces open (%u)", (unsigned)faces_max);
        return false;
    }

    ft_font_t *f = lv_mem_alloc(sizeof(ft_font_t));
    if (f == NULL)
        return false;
    memset(f, 0, sizeof(*f));

    FT_Error err;
    if (info->mem) {
        err = FT_New_Memory_Face(library, info->mem, (FT_Long)info->mem_size, 0, &f->face);
    } else if (info->name) {
        err = FT_New_Face(library, info->name, 0, &f->face);
    } else {
        err = 1;
    }
    if (err != 0) {
        LV_LOG_WARN("cannot open font %s", info->name ? info->name : "(memory)");
        lv_mem_free(f);
        return false;
    }
    if (FT_Set_Pixel_Sizes(f->face, 0, info->weight) != 0) {
        LV_LOG_WARN("font %s has no size %u", info->name ? info->name : "(memory)", (unsigned)info->weight);
        FT_Done_Face(f->face);
        lv_mem_free(f);
        return false;
    }
    if (info->style & FT_FONT_STYLE_ITALIC) {
        FT_Matrix italic = {0x10000, 0x5800, 0x0000, 0x10000};
        FT_Set_Transform(f->face, &italic, NULL);
    }
    f->style = info->style;
    faces_open++;

    lv_font_t *font = &f->font;
    font->get_glyph_dsc = ft_get_glyph_dsc;
    font->get_glyph_bitmap = ft_get_glyph_bitmap;
    font->line_height = (lv_coord_t)(f->face->size->metrics.height >> 6);
    font->base_line = (lv_coord_t)(-(f->face->size->metrics.descender >> 6));
    font->subpx = LV_FONT_SUBPX_NONE;
    int32_t ul_pos = (int32_t)(FT_MulFix(f->face->underline_position, f->face->size->metrics.y_scale) >> 6);
    int32_t ul_thick =
        (int32_t)(FT_MulFix(f->face->underline_thickness, f->face->size->metrics.y_scale) >> 6);
    font->underline_position = (int8_t)(ul_pos < -127 ? -127 : ul_pos > 127 ? 127 : ul_pos);
    font->underline_thickness = (int8_t)(ul_thick < 1 ? 1 : ul_thick > 127 ? 127 : ul_thick);
    font->dsc = f;
    font->fallback = NULL;
    info->font = font;
    return true;
}

void lv_ft_font_destroy(lv_font_t *font) {
    if (font == NULL || font->dsc == NULL)
        return;
    ft_font_t *f = (ft_font_t *)font->dsc;
    cache_clear(f);
    lv_mem_free(f->glyphs);
    FT_Done_Face(f->face);
    faces_open--;
    lv_mem_free(f);
}
