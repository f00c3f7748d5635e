/**
 * @file lv_img_buf.h
 * Image descriptors and colour formats.
 */
#ifndef LV_IMG_BUF_H
#define LV_IMG_BUF_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stdint.h>

#include "../misc/lv_area.h"
#include "../misc/lv_color.h"

#define LV_IMG_BUF_SIZE_TRUE_COLOR(w, h)       ((LV_COLOR_SIZE / 8) * (w) * (h))
#define LV_IMG_BUF_SIZE_TRUE_COLOR_ALPHA(w, h) (LV_IMG_PX_SIZE_ALPHA_BYTE * (w) * (h))

#define LV_IMG_ZOOM_NONE 256

enum {
    LV_IMG_CF_UNKNOWN = 0,
    LV_IMG_CF_RAW,              /**< Contains the file as it is. Needs custom decoder function */
    LV_IMG_CF_RAW_ALPHA,        /**< Contains the file as it is. The image has alpha. */
    LV_IMG_CF_RAW_CHROMA_KEYED, /**< Contains the file as it is. The image is chroma keyed. */

    LV_IMG_CF_TRUE_COLOR,       /**< Colour format and depth match LV_COLOR_DEPTH (ARGB, alpha ignored) */
    LV_IMG_CF_TRUE_COLOR_ALPHA, /**< Same as above with the alpha byte used (ARGB8888) */
    LV_IMG_CF_TRUE_COLOR_CHROMA_KEYED, /**< LV_COLOR_CHROMA_KEY pixels are transparent */

    LV_IMG_CF_INDEXED_1BIT,
    LV_IMG_CF_INDEXED_2BIT,
    LV_IMG_CF_INDEXED_4BIT,
    LV_IMG_CF_INDEXED_8BIT,

    LV_IMG_CF_ALPHA_1BIT,
    LV_IMG_CF_ALPHA_2BIT,
    LV_IMG_CF_ALPHA_4BIT,
    LV_IMG_CF_ALPHA_8BIT,

    LV_IMG_CF_RGB888,
    LV_IMG_CF_RGBA8888,
    LV_IMG_CF_RGBX8888,
    LV_IMG_CF_RGB565,
    LV_IMG_CF_RGBA5658,
    LV_IMG_CF_RGB565A8,

    LV_IMG_CF_RESERVED_15,
    LV_IMG_CF_RESERVED_16,
    LV_IMG_CF_RESERVED_17,
    LV_IMG_CF_RESERVED_18,
    LV_IMG_CF_RESERVED_19,
    LV_IMG_CF_RESERVED_20,
    LV_IMG_CF_RESERVED_21,
    LV_IMG_CF_RESERVED_22,
    LV_IMG_CF_RESERVED_23,

    LV_IMG_CF_USER_ENCODED_0,
    LV_IMG_CF_USER_ENCODED_1,
    LV_IMG_CF_USER_ENCODED_2,
    LV_IMG_CF_USER_ENCODED_3,
    LV_IMG_CF_USER_ENCODED_4,
    LV_IMG_CF_USER_ENCODED_5,
    LV_IMG_CF_USER_ENCODED_6,
    LV_IMG_CF_USER_ENCODED_7,
};
typedef uint8_t lv_img_cf_t;

/** The 4-byte header of every image; w and h are at most 2047. */
typedef struct {
    uint32_t cf : 5;          /**< Color format: See `lv_img_color_format_t` */
    uint32_t always_zero : 3; /**< It the upper bits of the first byte. Always zero to look like a
                                   non-printable character */
    uint32_t reserved : 2;    /**< Reserved to be used later */
    uint32_t w : 11;          /**< Width of the image map */
    uint32_t h : 11;          /**< Height of the image map */
} lv_img_header_t;

/** An image in memory: header followed by the pixel data. */
typedef struct {
    lv_img_header_t header; /**< A header describing the basics of the image */
    uint32_t data_size;     /**< Size of the image in bytes */
    const uint8_t *data;    /**< Pointer to the data of the image */
} lv_img_dsc_t;

/** Bytes of an image of w x h in format cf (0 for formats lvlite does not draw). */
uint32_t lv_img_buf_get_img_size(lv_coord_t w, lv_coord_t h, lv_img_cf_t cf);

/** Bits per pixel of a colour format. */
uint8_t lv_img_cf_get_px_size(lv_img_cf_t cf);
bool lv_img_cf_is_chroma_keyed(lv_img_cf_t cf);
bool lv_img_cf_has_alpha(lv_img_cf_t cf);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_IMG_BUF_H */
