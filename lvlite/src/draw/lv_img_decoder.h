/**
 * @file lv_img_decoder.h
 * Image decoders: each turns a source (an lv_img_dsc_t, or a file path "L:...") into pixels.
 * lvlite's decoders hand over whole ARGB8888 images (img_data); read_line is not used by them.
 */
#ifndef LV_IMG_DECODER_H
#define LV_IMG_DECODER_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdint.h>

#include "../misc/lv_area.h"
#include "../misc/lv_color.h"
#include "../misc/lv_types.h"
#include "lv_img_buf.h"

/** Source of an image. */
enum {
    LV_IMG_SRC_VARIABLE, /**< Binary/C variable (lv_img_dsc_t) */
    LV_IMG_SRC_FILE,     /**< File in the file system ("L:path") */
    LV_IMG_SRC_SYMBOL,   /**< Symbol (text) */
    LV_IMG_SRC_UNKNOWN,
};
typedef uint8_t lv_img_src_t;

struct _lv_img_decoder_t;
struct _lv_img_decoder_dsc_t;

typedef lv_res_t (*lv_img_decoder_info_f_t)(struct _lv_img_decoder_t *decoder, const void *src,
                                            lv_img_header_t *header);
typedef lv_res_t (*lv_img_decoder_open_f_t)(struct _lv_img_decoder_t *decoder,
                                            struct _lv_img_decoder_dsc_t *dsc);
typedef lv_res_t (*lv_img_decoder_read_line_f_t)(struct _lv_img_decoder_t *decoder,
                                                 struct _lv_img_decoder_dsc_t *dsc, lv_coord_t x,
                                                 lv_coord_t y, lv_coord_t len, uint8_t *buf);
typedef void (*lv_img_decoder_close_f_t)(struct _lv_img_decoder_t *decoder,
                                         struct _lv_img_decoder_dsc_t *dsc);

typedef struct _lv_img_decoder_t {
    lv_img_decoder_info_f_t info_cb;
    lv_img_decoder_open_f_t open_cb;
    lv_img_decoder_read_line_f_t read_line_cb;
    lv_img_decoder_close_f_t close_cb;
    void *user_data;
} lv_img_decoder_t;

typedef struct _lv_img_decoder_dsc_t {
    lv_img_decoder_t *decoder;
    const void *src; /**< The image source (a file path is copied) */
    lv_color_t color;
    int32_t frame_id;
    lv_img_src_t src_type;
    lv_img_header_t header;
    const uint8_t *img_data; /**< The decoded pixels, header.w * header.h lv_color_t */
    uint32_t time_to_open;
    const char *error_msg;
    void *user_data;
} lv_img_decoder_dsc_t;

/** Register the built-in decoder of lv_img_dsc_t variables and image files (called by lv_init). */
void _lv_img_decoder_init(void);

/** Header of an image without decoding it. */
lv_res_t lv_img_decoder_get_info(const void *src, lv_img_header_t *header);

/** Decode an image with the first decoder that takes it; dsc->img_data holds the pixels. */
lv_res_t lv_img_decoder_open(lv_img_decoder_dsc_t *dsc, const void *src, lv_color_t color, int32_t frame_id);

lv_res_t lv_img_decoder_read_line(lv_img_decoder_dsc_t *dsc, lv_coord_t x, lv_coord_t y, lv_coord_t len,
                                  uint8_t *buf);

void lv_img_decoder_close(lv_img_decoder_dsc_t *dsc);

lv_img_decoder_t *lv_img_decoder_create(void);
void lv_img_decoder_delete(lv_img_decoder_t *decoder);
void lv_img_decoder_set_info_cb(lv_img_decoder_t *decoder, lv_img_decoder_info_f_t info_cb);
void lv_img_decoder_set_open_cb(lv_img_decoder_t *decoder, lv_img_decoder_open_f_t open_cb);
void lv_img_decoder_set_read_line_cb(lv_img_decoder_t *decoder, lv_img_decoder_read_line_f_t read_line_cb);
void lv_img_decoder_set_close_cb(lv_img_decoder_t *decoder, lv_img_decoder_close_f_t close_cb);

/** Source type: a printable first byte is a file path, 0x80 and above a symbol, else a variable. */
lv_img_src_t lv_img_src_get_type(const void *src);

/**
 * Read a whole file through lv_fs into a new buffer (lv_mem_alloc). Fails on files larger
 * than max_size. For decoders of file formats.
 */
lv_res_t _lv_img_decoder_read_file(const char *path, uint32_t max_size, uint8_t **data, uint32_t *size);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_IMG_DECODER_H */
