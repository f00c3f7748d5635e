/**
 * @file lv_freetype.h
 * Fonts rendered by FreeType from TrueType/OpenType files, with 8-bit antialiased glyphs kept
 * in a per-font cache.
 */
#ifndef LV_FREETYPE_H
#define LV_FREETYPE_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "../../../font/lv_font.h"

typedef enum {
    FT_FONT_STYLE_NORMAL = 0,
    FT_FONT_STYLE_ITALIC = 1 << 0,
    FT_FONT_STYLE_BOLD = 1 << 1,
} LV_FT_FONT_STYLE;

typedef struct {
    const char *name; /**< Path of the font file (a host path, not through lv_fs) */
    const void *mem;  /**< Or the font file in memory (used when not NULL) */
    size_t mem_size;  /**< Size of the font file in memory */
    lv_font_t *font;  /**< Set by lv_ft_font_init */
    uint16_t weight;  /**< Pixel size */
    uint16_t style;   /**< LV_FT_FONT_STYLE flags */
} lv_ft_info_t;

/**
 * Start FreeType (lv_init does this when LV_USE_FREETYPE is set, with the cache sizes of
 * lv_conf.h; a second call changes nothing). max_faces and max_sizes bound the open faces and
 * sizes; max_bytes bounds the glyph bitmaps kept by all fonts together (0: 1 MiB).
 */
bool lv_freetype_init(uint16_t max_faces, uint16_t max_sizes, uint32_t max_bytes);

/** Stop FreeType (fonts must have been destroyed). */
void lv_freetype_destroy(void);

/** Create info->font from info->name (or mem) at info->weight pixels; false on any error. */
bool lv_ft_font_init(lv_ft_info_t *info);

void lv_ft_font_destroy(lv_font_t *font);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_FREETYPE_H */
