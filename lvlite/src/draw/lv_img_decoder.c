/**
 * @file lv_img_decoder.c
 * Decoder registry and the built-in decoder of lv_img_dsc_t variables and LVGL ".bin" files
 * (a 4-byte header followed by the pixels).
 */
#include "lv_img_decoder.h"

#include "lv_img_cache.h"

#include <string.h>

#include "../misc/lv_fs.h"
#include "../misc/lv_log.h"
#include "../misc/lv_mem.h"

#define DECODER_MAX 8
/* Newest first: a decoder registered later is tried before older ones. */
static lv_img_decoder_t *decoders[DECODER_MAX];
static uint32_t decoder_cnt;

lv_img_src_t lv_img_src_get_type(const void *src) {
    if (src == NULL)
        return LV_IMG_SRC_UNKNOWN;
    const uint8_t *u8_p = src;
    if (u8_p[0] >= 0x20 && u8_p[0] <= 0x7F)
        return LV_IMG_SRC_FILE;
    if (u8_p[0] >= 0x80)
        return LV_IMG_SRC_SYMBOL;
    return LV_IMG_SRC_VARIABLE;
}

lv_img_decoder_t *lv_img_decoder_create(void) {
    if (decoder_cnt == DECODER_MAX) {
        LV_LOG_WARN("too many image decoders");
        return NULL;
    }
    lv_img_decoder_t *d = lv_mem_alloc(sizeof(lv_img_decoder_t));
    if (d == NULL)
        return NULL;
    memset(d, 0, sizeof(*d));
    memmove(&decoders[1], &decoders[0], sizeof(decoders[0]) * decoder_cnt);
    decoders[0] = d;
    decoder_cnt++;
    return d;
}

void lv_img_decoder_delete(lv_img_decoder_t *decoder) {
    /* Cached images may have been opened by this decoder: they go first. */
    lv_img_cache_invalidate_src(NULL);
    for (uint32_t i = 0; i < decoder_cnt; i++) {
        if (decoders[i] == decoder) {
            memmove(&decoders[i], &decoders[i + 1], sizeof(decoders[0]) * (decoder_cnt - i - 1));
            decoder_cnt--;
            lv_mem_free(decoder);
            return;
        }
    }
}

void lv_img_decoder_set_info_cb(lv_img_decoder_t *decoder, lv_img_decoder_info_f_t info_cb) {
    decoder->info_cb = info_cb;
}

void lv_img_decoder_set_open_cb(lv_img_decoder_t *decoder, lv_img_decoder_open_f_t open_cb) {
    decoder->open_cb = open_cb;
}

void lv_img_decoder_set_read_line_cb(lv_img_decoder_t *decoder, lv_img_decoder_read_line_f_t read_line_cb) {
    decoder->read_line_cb = read_line_cb;
}

void lv_img_decoder_set_close_cb(lv_img_decoder_t *decoder, lv_img_decoder_close_f_t close_cb) {
    decoder->close_cb = close_cb;
}

lv_res_t lv_img_decoder_get_info(const void *src, lv_img_header_t *header) {
    memset(header, 0, sizeof(*header));
    if (src == NULL || lv_img_src_get_type(src) == LV_IMG_SRC_UNKNOWN)
        return LV_RES_INV;
    if (lv_img_src_get_type(src) == LV_IMG_SRC_FILE && strchr(src, ':') == NULL)
        return LV_RES_INV;

    for (uint32_t i = 0; i < decoder_cnt; i++) {
        lv_img_decoder_t *d = decoders[i];
        if (d->info_cb && d->info_cb(d, src, header) == LV_RES_OK)
            return LV_RES_OK;
    }
    return LV_RES_INV;
}

/* A copy of a file name: the caller's string may go away before the image is closed. */
static char *copy_path(const char *path) {
    size_t n = strlen(path) + 1;
    char *c = lv_mem_alloc(n);
    if (c != NULL)
        memcpy(c, path, n);
    return c;
}

/* Lets decoder d try to open dsc's source; true when it did. */
static bool try_open(lv_img_decoder_t *d, lv_img_decoder_dsc_t *dsc) {
    if (d->info_cb == NULL || d->open_cb == NULL || d->info_cb(d, dsc->src, &dsc->header) != LV_RES_OK)
        return false;
    dsc->decoder = d;
    dsc->img_data = NULL;
    dsc->user_data = NULL;
    dsc->error_msg = NULL;
    if (d->open_cb(d, dsc) == LV_RES_OK)
        return true;
    if (dsc->error_msg != NULL)
        LV_LOG_WARN("%s", dsc->error_msg);
    dsc->decoder = NULL;
    return false;
}

lv_res_t lv_img_decoder_open(lv_img_decoder_dsc_t *dsc, const void *src, lv_color_t color, int32_t frame_id) {
    memset(dsc, 0, sizeof(*dsc));
    lv_img_src_t kind = src != NULL ? lv_img_src_get_type(src) : LV_IMG_SRC_UNKNOWN;
    if (kind != LV_IMG_SRC_VARIABLE && kind != LV_IMG_SRC_FILE)
        return LV_RES_INV;
    const void *own = kind == LV_IMG_SRC_FILE ? copy_path(src) : src;
    if (own == NULL)
        return LV_RES_INV;
    dsc->src = own;
    dsc->src_type = kind;
    dsc->frame_id = frame_id;
    dsc->color = color;
    for (uint32_t i = 0; i < decoder_cnt; i++) {
        if (try_open(decoders[i], dsc))
            return LV_RES_OK;
    }
    if (kind == LV_IMG_SRC_FILE)
        lv_mem_free((void *)own);
    dsc->src = NULL;
    return LV_RES_INV;
}

lv_res_t lv_img_decoder_read_line(lv_img_decoder_dsc_t *dsc, lv_coord_t x, lv_coord_t y, lv_coord_t len,
                                  uint8_t *buf) {
    if (dsc->decoder == NULL)
        return LV_RES_INV;
    if (dsc->decoder->read_line_cb)
        return dsc->decoder->read_line_cb(dsc->decoder, dsc, x, y, len, buf);
    if (dsc->img_data == NULL || x < 0 || y < 0 || len < 0 || x + len > (lv_coord_t)dsc->header.w ||
        y >= (lv_coord_t)dsc->header.h)
        return LV_RES_INV;
    memcpy(buf, dsc->img_data + ((size_t)y * dsc->header.w + (size_t)x) * sizeof(lv_color_t),
           (size_t)len * sizeof(lv_color_t));
    return LV_RES_OK;
}

void lv_img_decoder_close(lv_img_decoder_dsc_t *dsc) {
    if (dsc->decoder) {
        if (dsc->decoder->close_cb)
            dsc->decoder->close_cb(dsc->decoder, dsc);
        if (dsc->src_type == LV_IMG_SRC_FILE)
            lv_mem_free((void *)dsc->src);
    }
    memset(dsc, 0, sizeof(*dsc));
}

lv_res_t _lv_img_decoder_read_file(const char *path, uint32_t max_size, uint8_t **data, uint32_t *size) {
    *data = NULL;
    *size = 0;
    lv_fs_file_t f;
    if (lv_fs_open(&f, path, LV_FS_MODE_RD) != LV_FS_RES_OK)
        return LV_RES_INV;

    uint32_t len = 0;
    lv_res_t res = LV_RES_INV;
    uint8_t *buf = NULL;
    if (lv_fs_seek(&f, 0, LV_FS_SEEK_END) == LV_FS_RES_OK && lv_fs_tell(&f, &len) == LV_FS_RES_OK &&
        len > 0 && len <= max_size && lv_fs_seek(&f, 0, LV_FS_SEEK_SET) == LV_FS_RES_OK) {
        buf = lv_mem_alloc(len);
        uint32_t br = 0;
        if (buf && lv_fs_read(&f, buf, len, &br) == LV_FS_RES_OK && br == len) {
            *data = buf;
            *size = len;
            buf = NULL;
            res = LV_RES_OK;
        }
    }
    lv_mem_free(buf);
    lv_fs_close(&f);
    return res;
}

/* ---- built-in decoder ---- */

/* Formats the built-in decoder draws. */
static bool builtin_cf(uint32_t cf) {
    return cf == LV_IMG_CF_TRUE_COLOR || cf == LV_IMG_CF_TRUE_COLOR_ALPHA ||
           cf == LV_IMG_CF_TRUE_COLOR_CHROMA_KEYED || cf == LV_IMG_CF_ALPHA_8BIT;
}

static bool has_ext(const char *path, const char *ext) {
    const char *e = lv_fs_get_ext(path);
    return strcmp(e, ext) == 0;
}

static lv_res_t builtin_info(lv_img_decoder_t *decoder, const void *src, lv_img_header_t *header) {
    (void)decoder;
    lv_img_src_t type = lv_img_src_get_type(src);
    if (type == LV_IMG_SRC_VARIABLE) {
        const lv_img_dsc_t *img = src;
        if (!builtin_cf(img->header.cf))
            return LV_RES_INV;
        *header = img->header;
        return LV_RES_OK;
    }
    if (type == LV_IMG_SRC_FILE && (has_ext(src, "bin") || has_ext(src, "BIN"))) {
        lv_fs_file_t f;
        if (lv_fs_open(&f, src, LV_FS_MODE_RD) != LV_FS_RES_OK)
            return LV_RES_INV;
        uint32_t br = 0;
        lv_img_header_t h;
        lv_fs_res_t fr = lv_fs_read(&f, &h, sizeof(h), &br);
        lv_fs_close(&f);
        if (fr != LV_FS_RES_OK || br != sizeof(h) || !builtin_cf(h.cf))
            return LV_RES_INV;
        *header = h;
        return LV_RES_OK;
    }
    return LV_RES_INV;
}

/* Convert pixels that need it into a new ARGB8888 image held in dsc->user_data. */
static lv_res_t builtin_convert(lv_img_decoder_dsc_t *dsc, const uint8_t *data) {
    uint32_t n = (uint32_t)dsc->header.w * dsc->header.h;
    lv_color_t *out = lv_mem_alloc((size_t)n * sizeof(lv_color_t) + 1);
    if (out == NULL) {
        dsc->error_msg = "out of memory decoding an image";
        return LV_RES_INV;
    }
    if (dsc->header.cf == LV_IMG_CF_ALPHA_8BIT) {
        lv_color_t c = dsc->color;
        for (uint32_t i = 0; i < n; i++) {
            c.ch.alpha = data[i];
            out[i] = c;
        }
    } else { /* chroma keyed */
        uint32_t key = lv_color_chroma_key().full & 0xFFFFFFu;
        const uint32_t *px = (const uint32_t *)data;
        for (uint32_t i = 0; i < n; i++) {
            uint32_t v;
            memcpy(&v, &px[i], sizeof(v));
            out[i].full = (v & 0xFFFFFFu) == key ? 0 : (v | 0xFF000000u);
        }
    }
    dsc->user_data = out;
    dsc->img_data = (const uint8_t *)out;
    dsc->header.cf = LV_IMG_CF_TRUE_COLOR_ALPHA;
    return LV_RES_OK;
}

static lv_res_t builtin_open(lv_img_decoder_t *decoder, lv_img_decoder_dsc_t *dsc) {
    (void)decoder;
    uint32_t need = lv_img_buf_get_img_size((lv_coord_t)dsc->header.w, (lv_coord_t)dsc->header.h,
                                            (lv_img_cf_t)dsc->header.cf);
    if (need == 0) {
        dsc->error_msg = "image of no pixels";
        return LV_RES_INV;
    }

    const uint8_t *data = NULL;
    uint8_t *file_data = NULL;
    if (dsc->src_type == LV_IMG_SRC_VARIABLE) {
        const lv_img_dsc_t *img = dsc->src;
        if (img->data == NULL || img->data_size < need) {
            dsc->error_msg = "image data smaller than its header says";
            return LV_RES_INV;
        }
        data = img->data;
    } else {
        uint32_t size = 0;
        if (_lv_img_decoder_read_file(dsc->src, need + sizeof(lv_img_header_t), &file_data, &size) !=
                LV_RES_OK ||
            size < need + sizeof(lv_img_header_t)) {
            lv_mem_free(file_data);
            dsc->error_msg = "image file missing or shorter than its header says";
            return LV_RES_INV;
        }
        data = file_data + sizeof(lv_img_header_t);
    }

    lv_res_t res = LV_RES_OK;
    bool direct = (dsc->header.cf == LV_IMG_CF_TRUE_COLOR || dsc->header.cf == LV_IMG_CF_TRUE_COLOR_ALPHA) &&
                  ((uintptr_t)data % sizeof(uint32_t)) == 0;
    if (direct && file_data == NULL) {
        dsc->img_data = data;
    } else if (dsc->header.cf == LV_IMG_CF_TRUE_COLOR || dsc->header.cf == LV_IMG_CF_TRUE_COLOR_ALPHA) {
        lv_color_t *out = lv_mem_alloc(need);
        if (out == NULL) {
            res = LV_RES_INV;
        } else {
            memcpy(out, data, need);
            dsc->user_data = out;
            dsc->img_data = (const uint8_t *)out;
        }
    } else {
        res = builtin_convert(dsc, data);
    }
    lv_mem_free(file_data);
    return res;
}

static void builtin_close(lv_img_decoder_t *decoder, lv_img_decoder_dsc_t *dsc) {
    (void)decoder;
    lv_mem_free(dsc->user_data);
    dsc->user_data = NULL;
    dsc->img_data = NULL;
}

void _lv_img_decoder_init(void) {
    while (decoder_cnt > 0)
        lv_img_decoder_delete(decoders[0]);
    lv_img_decoder_t *d = lv_img_decoder_create();
    if (d == NULL)
        return;
    lv_img_decoder_set_info_cb(d, builtin_info);
    lv_img_decoder_set_open_cb(d, builtin_open);
    lv_img_decoder_set_close_cb(d, builtin_close);
}
