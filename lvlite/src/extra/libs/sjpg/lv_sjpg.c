/**
 * @file lv_sjpg.c
 */
#include "lv_sjpg.h"

#include <setjmp.h>
#include <stdio.h>
#include <string.h>

#include <jpeglib.h>

#include "../../../draw/lv_img_decoder.h"
#include "../../../misc/lv_fs.h"
#include "../../../misc/lv_mem.h"

#define JPEG_MAX_DIM  2047 /* the image header's width and height have 11 bits */
#define JPEG_FILE_MAX (32u * 1024u * 1024u)

typedef struct {
    struct jpeg_error_mgr pub;
    jmp_buf jump;
} jpeg_err_t;

static void on_error(j_common_ptr cinfo) {
    jpeg_err_t *err = (jpeg_err_t *)cinfo->err;
    longjmp(err->jump, 1);
}

static void on_message(j_common_ptr cinfo) {
    (void)cinfo; /* warnings of damaged but readable files are not printed */
}

static bool is_jpeg_file(const void *src) {
    if (lv_img_src_get_type(src) != LV_IMG_SRC_FILE)
        return false;
    const char *ext = lv_fs_get_ext(src);
    return strcmp(ext, "jpg") == 0 || strcmp(ext, "jpeg") == 0 || strcmp(ext, "JPG") == 0 ||
           strcmp(ext, "JPEG") == 0;
}

/*
 * Decode data; with out == NULL only the header is read. Returns false on any error of the
 * file (libjpeg reports them by longjmp to here).
 */
static bool jpeg_run(const uint8_t *data, uint32_t size, lv_img_header_t *header, lv_color_t **out) {
    struct jpeg_decompress_struct cinfo;
    jpeg_err_t err;
    /* volatile: modified between setjmp and a possible longjmp */
    lv_color_t *volatile pixels = NULL;

    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = on_error;
    err.pub.output_message = on_message;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        lv_mem_free(pixels);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK || cinfo.image_width == 0 ||
        cinfo.image_height == 0 || cinfo.image_width > JPEG_MAX_DIM || cinfo.image_height > JPEG_MAX_DIM) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    memset(header, 0, sizeof(*header));
    header->cf = LV_IMG_CF_RAW; /* decoded by this decoder alone, always opaque */
    header->w = cinfo.image_width;
    header->h = cinfo.image_height;
    if (out == NULL) {
        jpeg_destroy_decompress(&cinfo);
        return true;
    }

    /* BGRA bytes are lv_color_t's memory order; the alpha byte comes out 0xFF. */
    cinfo.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&cinfo);
    pixels = lv_mem_alloc((size_t)cinfo.output_width * cinfo.output_height * sizeof(lv_color_t));
    if (pixels == NULL) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = (JSAMPROW)(pixels + (size_t)cinfo.output_scanline * cinfo.output_width);
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    *out = pixels;
    return true;
}

static lv_res_t jpeg_info(lv_img_decoder_t *decoder, const void *src, lv_img_header_t *header) {
    (void)decoder;
    if (!is_jpeg_file(src))
        return LV_RES_INV;

    /* The frame header is normally within the first few kilobytes. */
    lv_fs_file_t f;
    if (lv_fs_open(&f, src, LV_FS_MODE_RD) != LV_FS_RES_OK)
        return LV_RES_INV;
    uint32_t cap = 64 * 1024;
    uint8_t *buf = lv_mem_alloc(cap);
    uint32_t br = 0;
    lv_res_t res = LV_RES_INV;
    if (buf && lv_fs_read(&f, buf, cap, &br) == LV_FS_RES_OK && br > 0 && jpeg_run(buf, br, header, NULL))
        res = LV_RES_OK;
    lv_mem_free(buf);
    lv_fs_close(&f);
    return res;
}

static lv_res_t jpeg_open(lv_img_decoder_t *decoder, lv_img_decoder_dsc_t *dsc) {
    (void)decoder;
    uint8_t *data = NULL;
    uint32_t size = 0;
    if (_lv_img_decoder_read_file(dsc->src, JPEG_FILE_MAX, &data, &size) != LV_RES_OK) {
        dsc->error_msg = "JPEG: cannot read the file";
        return LV_RES_INV;
    }
    lv_img_header_t header;
    lv_color_t *pixels = NULL;
    bool ok = jpeg_run(data, size, &header, &pixels);
    lv_mem_free(data);
    if (!ok || header.w != dsc->header.w || header.h != dsc->header.h) {
        lv_mem_free(pixels);
        dsc->error_msg = "JPEG: corrupt file";
        return LV_RES_INV;
    }
    dsc->user_data = pixels;
    dsc->img_data = (const uint8_t *)pixels;
    return LV_RES_OK;
}

static void jpeg_close(lv_img_decoder_t *decoder, lv_img_decoder_dsc_t *dsc) {
    (void)decoder;
    lv_mem_free(dsc->user_data);
    dsc->user_data = NULL;
    dsc->img_data = NULL;
}

void lv_split_jpeg_init(void) {
    lv_img_decoder_t *dec = lv_img_decoder_create();
    if (dec == NULL)
        return;
    lv_img_decoder_set_info_cb(dec, jpeg_info);
    lv_img_decoder_set_open_cb(dec, jpeg_open);
    lv_img_decoder_set_close_cb(dec, jpeg_close);
}
