/**
 * @file lv_png.c
 */
#include "lv_png.h"

#include <png.h>
#include <string.h>

#include "../../../draw/lv_img_decoder.h"
#include "../../../misc/lv_fs.h"
#include "../../../misc/lv_mem.h"

#define PNG_SIG_LEN  8
#define PNG_MAX_DIM  2047 /* the image header's width and height have 11 bits */
#define PNG_FILE_MAX (32u * 1024u * 1024u)

static const uint8_t png_sig[PNG_SIG_LEN] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

static uint32_t be32(const uint8_t *p) {
    return ((uint32_t)p[0] << 24) | ((uint32_t)p[1] << 16) | ((uint32_t)p[2] << 8) | p[3];
}

/* Width and height from the signature and IHDR chunk (the first 24 bytes). */
static lv_res_t header_from_bytes(const uint8_t *b, uint32_t len, lv_img_header_t *header) {
    if (len < 24 || memcmp(b, png_sig, PNG_SIG_LEN) != 0 || memcmp(b + 12, "IHDR", 4) != 0)
        return LV_RES_INV;
    uint32_t w = be32(b + 16);
    uint32_t h = be32(b + 20);
    if (w == 0 || h == 0 || w > PNG_MAX_DIM || h > PNG_MAX_DIM)
        return LV_RES_INV;
    memset(header, 0, sizeof(*header));
    header->cf = LV_IMG_CF_TRUE_COLOR_ALPHA;
    header->w = w;
    header->h = h;
    return LV_RES_OK;
}

static bool is_png_file(const char *path) {
    const char *ext = lv_fs_get_ext(path);
    return strcmp(ext, "png") == 0 || strcmp(ext, "PNG") == 0;
}

static const lv_img_dsc_t *png_variable(const void *src) {
    if (lv_img_src_get_type(src) != LV_IMG_SRC_VARIABLE)
        return NULL;
    const lv_img_dsc_t *img = src;
    if (img->header.cf != LV_IMG_CF_RAW_ALPHA || img->data == NULL || img->data_size < 24)
        return NULL;
    if (memcmp(img->data, png_sig, PNG_SIG_LEN) != 0)
        return NULL;
    return img;
}

static lv_res_t png_decoder_info(lv_img_decoder_t *decoder, const void *src, lv_img_header_t *header) {
    (void)decoder;
    const lv_img_dsc_t *img = png_variable(src);
    if (img)
        return header_from_bytes(img->data, img->data_size, header);
    if (lv_img_src_get_type(src) != LV_IMG_SRC_FILE || !is_png_file(src))
        return LV_RES_INV;

    lv_fs_file_t f;
    if (lv_fs_open(&f, src, LV_FS_MODE_RD) != LV_FS_RES_OK)
        return LV_RES_INV;
    uint8_t buf[24];
    uint32_t br = 0;
    lv_fs_res_t res = lv_fs_read(&f, buf, sizeof(buf), &br);
    lv_fs_close(&f);
    if (res != LV_FS_RES_OK)
        return LV_RES_INV;
    return header_from_bytes(buf, br, header);
}

static lv_res_t decode(lv_img_decoder_dsc_t *dsc, const uint8_t *data, uint32_t size) {
    png_image image;
    memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) {
        dsc->error_msg = "PNG: not a readable PNG file";
        return LV_RES_INV;
    }
    if (image.width != dsc->header.w || image.height != dsc->header.h) {
        png_image_free(&image);
        dsc->error_msg = "PNG: header changed while decoding";
        return LV_RES_INV;
    }
    /* BGRA bytes are lv_color_t's memory order (blue, green, red, alpha). */
    image.format = PNG_FORMAT_BGRA;
    size_t bytes = PNG_IMAGE_SIZE(image);
    lv_color_t *out = lv_mem_alloc(bytes);
    if (out == NULL) {
        png_image_free(&image);
        dsc->error_msg = "PNG: out of memory";
        return LV_RES_INV;
    }
    if (!png_image_finish_read(&image, NULL, out, 0, NULL)) {
        png_image_free(&image);
        lv_mem_free(out);
        dsc->error_msg = "PNG: corrupt image data";
        return LV_RES_INV;
    }
    dsc->user_data = out;
    dsc->img_data = (const uint8_t *)out;
    return LV_RES_OK;
}

static lv_res_t png_decoder_open(lv_img_decoder_t *decoder, lv_img_decoder_dsc_t *dsc) {
    (void)decoder;
    const lv_img_dsc_t *img = png_variable(dsc->src);
    if (img)
        return decode(dsc, img->data, img->data_size);

    uint8_t *data = NULL;
    uint32_t size = 0;
    if (_lv_img_decoder_read_file(dsc->src, PNG_FILE_MAX, &data, &size) != LV_RES_OK) {
        dsc->error_msg = "PNG: cannot read the file";
        return LV_RES_INV;
    }
    lv_res_t res = decode(dsc, data, size);
    lv_mem_free(data);
    return res;
}

static void png_decoder_close(lv_img_decoder_t *decoder, lv_img_decoder_dsc_t *dsc) {
    (void)decoder;
    lv_mem_free(dsc->user_data);
    dsc->user_data = NULL;
    dsc->img_data = NULL;
}

void lv_png_init(void) {
    lv_img_decoder_t *dec = lv_img_decoder_create();
    if (dec == NULL)
        return;
    lv_img_decoder_set_info_cb(dec, png_decoder_info);
    lv_img_decoder_set_open_cb(dec, png_decoder_open);
    lv_img_decoder_set_close_cb(dec, png_decoder_close);
}
