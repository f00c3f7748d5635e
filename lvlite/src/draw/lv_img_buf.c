/**
 * @file lv_img_buf.c
 */
#include "lv_img_buf.h"

uint8_t lv_img_cf_get_px_size(lv_img_cf_t cf) {
    switch (cf) {
    case LV_IMG_CF_TRUE_COLOR:
    case LV_IMG_CF_TRUE_COLOR_CHROMA_KEYED:
    case LV_IMG_CF_TRUE_COLOR_ALPHA:
    case LV_IMG_CF_RGBA8888:
    case LV_IMG_CF_RGBX8888:
        return 32;
    case LV_IMG_CF_RGB888:
        return 24;
    case LV_IMG_CF_RGB565:
        return 16;
    case LV_IMG_CF_INDEXED_1BIT:
    case LV_IMG_CF_ALPHA_1BIT:
        return 1;
    case LV_IMG_CF_INDEXED_2BIT:
    case LV_IMG_CF_ALPHA_2BIT:
        return 2;
    case LV_IMG_CF_INDEXED_4BIT:
    case LV_IMG_CF_ALPHA_4BIT:
        return 4;
    case LV_IMG_CF_INDEXED_8BIT:
    case LV_IMG_CF_ALPHA_8BIT:
        return 8;
    default:
        return 0;
    }
}

uint32_t lv_img_buf_get_img_size(lv_coord_t w, lv_coord_t h, lv_img_cf_t cf) {
    if (w <= 0 || h <= 0)
        return 0;
    uint32_t bits = lv_img_cf_get_px_size(cf);
    return ((uint32_t)w * bits + 7) / 8 * (uint32_t)h;
}

bool lv_img_cf_is_chroma_keyed(lv_img_cf_t cf) {
    return cf == LV_IMG_CF_TRUE_COLOR_CHROMA_KEYED || cf == LV_IMG_CF_RAW_CHROMA_KEYED;
}

bool lv_img_cf_has_alpha(lv_img_cf_t cf) {
    switch (cf) {
    case LV_IMG_CF_TRUE_COLOR_ALPHA:
    case LV_IMG_CF_RAW_ALPHA:
    case LV_IMG_CF_INDEXED_1BIT:
    case LV_IMG_CF_INDEXED_2BIT:
    case LV_IMG_CF_INDEXED_4BIT:
    case LV_IMG_CF_INDEXED_8BIT:
    case LV_IMG_CF_ALPHA_1BIT:
    case LV_IMG_CF_ALPHA_2BIT:
    case LV_IMG_CF_ALPHA_4BIT:
    case LV_IMG_CF_ALPHA_8BIT:
    case LV_IMG_CF_RGBA8888:
        return true;
    default:
        return false;
    }
}
