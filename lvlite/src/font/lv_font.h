/**
 * @file lv_font.h
 * Fonts: glyph descriptors, bitmaps and the fallback chain.
 *
 * Notes for the core of lvlite (refresh, objects, lv_init):
 * - LV_FONT_DEFAULT stays &lv_font_montserrat_14 as in lv_conf.h. lvlite provides a built-in
 *   14 px font under that name (ASCII and Latin-1, 8 bpp, generated from DejaVu Sans by
 *   lvlite/tests/render/font_gen.c; see lv_font_montserrat_14.c).
 * - lv_init() calls, as LVGL 8.3 does: _lv_fs_init(), lv_draw_init(), _lv_img_decoder_init(),
 *   lv_img_cache_set_size(LV_IMG_CACHE_DEF_SIZE) and lv_extra_init(). lv_extra_init() (in
 *   src/extra/lv_extra.c) calls, per lv_conf.h: lv_fs_stdio_init() (LV_USE_FS_STDIO: the '/'
 *   driver; LV_FS_STDIO_LETTER '/', LV_FS_STDIO_PATH RECORDER_ROOT), lv_png_init()
 *   (LV_USE_PNG) and lv_split_jpeg_init() (LV_USE_SJPG). The FreeType extension is started by
 *   the program with lv_freetype_init() as in LVGL.
 * - The blender reads _lv_refr_get_disp_refreshing()->driver->screen_transp to compose with
 *   alpha on transparent screens.
 * - The rendering tests live in lvlite/tests/render/CMakeLists.txt (add_subdirectory it).
 */
#ifndef LV_FONT_H
#define LV_FONT_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "../misc/lv_area.h"
#include "../misc/lv_types.h"

/** Describes the properties of a glyph. */
typedef struct {
    const struct _lv_font_t *resolved_font; /**< Font in the fallback chain that has the glyph */
    uint16_t adv_w;                         /**< Advance to the next glyph, in pixels */
    uint16_t box_w;                         /**< Width of the glyph's bitmap */
    uint16_t box_h;                         /**< Height of the glyph's bitmap */
    int16_t ofs_x;                          /**< x offset of the bitmap from the pen position */
    int16_t ofs_y;                          /**< y offset of the bitmap's bottom from the baseline */
    uint8_t bpp : 4;                        /**< Bits per pixel of the bitmap: 1, 2, 4 or 8 */
    uint8_t is_placeholder : 1;             /**< The glyph is missing: draw a box instead */
} lv_font_glyph_dsc_t;

enum {
    LV_FONT_SUBPX_NONE,
    LV_FONT_SUBPX_HOR,
    LV_FONT_SUBPX_VER,
    LV_FONT_SUBPX_BOTH,
};
typedef uint8_t lv_font_subpx_t;

/**
 * A font. Bitmaps are rows of box_w pixels of bpp bits, packed without padding between rows,
 * most significant bits first.
 */
typedef struct _lv_font_t {
    /** Get the descriptor of a glyph; false if the font lacks it. */
    bool (*get_glyph_dsc)(const struct _lv_font_t *, lv_font_glyph_dsc_t *, uint32_t letter,
                          uint32_t letter_next);

    /** Get the bitmap of a glyph (valid until the next call on the same font). */
    const uint8_t *(*get_glyph_bitmap)(const struct _lv_font_t *, uint32_t);

    lv_coord_t line_height;            /**< The real line height where any text fits */
    lv_coord_t base_line;              /**< Base line measured from the bottom of the line_height */
    uint8_t subpx : 2;                 /**< An element of `lv_font_subpx_t` */
    int8_t underline_position;         /**< Distance between the top of the underline and the base line */
    int8_t underline_thickness;        /**< Thickness of the underline */
    const void *dsc;                   /**< The font's own data */
    const struct _lv_font_t *fallback; /**< Where missing glyphs are looked up */
    void *user_data;
} lv_font_t;

/**
 * Descriptor of a glyph, looked up in font_p and then its fallback chain. When no font has it,
 * dsc_out describes a placeholder box (is_placeholder; zero width for control characters) and
 * false is returned.
 */
bool lv_font_get_glyph_dsc(const lv_font_t *font_p, lv_font_glyph_dsc_t *dsc_out, uint32_t letter,
                           uint32_t letter_next);

/** Bitmap of a glyph of font_p itself (pass dsc.resolved_font for a fallback glyph). */
const uint8_t *lv_font_get_glyph_bitmap(const lv_font_t *font_p, uint32_t letter);

/** Advance width of a glyph, through the fallback chain (placeholder width when missing). */
uint16_t lv_font_get_glyph_width(const lv_font_t *font, uint32_t letter, uint32_t letter_next);

static inline lv_coord_t lv_font_get_line_height(const lv_font_t *font_p) {
    return font_p->line_height;
}

#define LV_FONT_DECLARE(font_name) extern const lv_font_t font_name;

LV_FONT_DECLARE(lv_font_montserrat_14)

/** The default font (LV_FONT_DEFAULT). */
const lv_font_t *lv_font_default(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_FONT_H */
