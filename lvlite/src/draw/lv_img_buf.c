/**
 * @file lv_img_buf.c
 * Properties of the colour formats, from one table.
 */
#include "lv_img_buf.h"

typedef struct {
    uint8_t bits;  /* per pixel, 0 when not fixed */
    uint8_t alpha; /* pixels carry transparency */
    uint8_t keyed; /* LV_COLOR_CHROMA_KEY pixels are transparent */
} cf_props_t;

static const cf_props_t cf_table[] = {
    [LV_IMG_CF_RAW_ALPHA] = {0, 1, 0},
    [LV_IMG_CF_RAW_CHROMA_KEYED] = {0, 0, 1},
    [LV_IMG_CF_TRUE_COLOR] = {32, 0, 0},
    [LV_IMG_CF_TRUE_COLOR_ALPHA] = {32, 1, 0},
    [LV_IMG_CF_TRUE_COLOR_CHROMA_KEYED] = {32, 0, 1},
    [LV_IMG_CF_INDEXED_1BIT] = {1, 1, 0},
    [LV_IMG_CF_INDEXED_2BIT] = {2, 1, 0},
    [LV_IMG_CF_INDEXED_4BIT] = {4, 1, 0},
    [LV_IMG_CF_INDEXED_8BIT] = {8, 1, 0},
    [LV_IMG_CF_ALPHA_1BIT] = {1, 1, 0},
    [LV_IMG_CF_ALPHA_2BIT] = {2, 1, 0},
    [LV_IMG_CF_ALPHA_4BIT] = {4, 1, 0},
    [LV_IMG_CF_ALPHA_8BIT] = {8, 1, 0},
    [LV_IMG_CF_RGB888] = {24, 0, 0},
    [LV_IMG_CF_RGBA8888] = {32, 1, 0},
    [LV_IMG_CF_RGBX8888] = {32, 0, 0},
    [LV_IMG_CF_RGB565] = {16, 0, 0},
};

static cf_props_t props_of(lv_img_cf_t cf) {
    static const cf_props_t none = {0, 0, 0};
    return cf < sizeof(cf_table) / sizeof(cf_table[0]) ? cf_table[cf] : none;
}

uint8_t lv_img_cf_get_px_size(lv_img_cf_t cf) {
    return props_of(cf).bits;
}

uint32_t lv_img_buf_get_img_size(lv_coord_t w, lv_coord_t h, lv_img_cf_t cf) {
    if (w <= 0 || h <= 0)
        return 0;
    /* Rows start on a byte. */
    uint32_t row_bytes = ((uint32_t)w * props_of(cf).bits + 7) / 8;
    return row_bytes * (uint32_t)h;
}

bool lv_img_cf_is_chroma_keyed(lv_img_cf_t cf) {
    return props_of(cf).keyed;
}

bool lv_img_cf_has_alpha(lv_img_cf_t cf) {
    return props_of(cf).alpha;
}
