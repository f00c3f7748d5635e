/**
 * @file lv_color.c
 */
#include "lv_color.h"

#include <stddef.h>

void lv_color_mix_with_alpha(lv_color_t bg_color, lv_opa_t bg_opa, lv_color_t fg_color, lv_opa_t fg_opa,
                             lv_color_t *res_color, lv_opa_t *res_opa) {
    if (fg_opa >= LV_OPA_MAX || bg_opa <= LV_OPA_MIN) {
        res_color->full = fg_color.full;
        *res_opa = fg_opa;
        return;
    }
    if (fg_opa <= LV_OPA_MIN) {
        res_color->full = bg_color.full;
        *res_opa = bg_opa;
        return;
    }
    if (bg_opa >= LV_OPA_MAX) {
        *res_color = lv_color_mix(fg_color, bg_color, fg_opa);
        *res_opa = LV_OPA_COVER;
        return;
    }
    /* Both translucent: out_a = fa + ba * (1 - fa); the colour is the fg weight of that. */
    uint32_t out_a = 255u * 255u - (255u - fg_opa) * (255u - bg_opa); /* scaled by 255 */
    uint32_t ratio = (uint32_t)fg_opa * 255u * 255u / out_a;          /* fg share 0..255 */
    *res_color = lv_color_mix(fg_color, bg_color, (uint8_t)ratio);
    *res_opa = (lv_opa_t)((out_a + 127u) / 255u);
}

lv_color_t lv_color_change_lightness(lv_color_t c, lv_opa_t lvl) {
    if (lvl == LV_OPA_50)
        return c;
    if (lvl < LV_OPA_50)
        return lv_color_darken(c, (lv_opa_t)((LV_OPA_50 - lvl) * 2));
    return lv_color_lighten(c, (lv_opa_t)((lvl - LV_OPA_50) * 2));
}

void lv_color_fill(lv_color_t *buf, lv_color_t color, uint32_t px_num) {
    uint32_t v = color.full;
    uint32_t *p = (uint32_t *)buf;
    for (uint32_t i = 0; i < px_num; i++)
        p[i] = v;
}

lv_color_t lv_color_hsv_to_rgb(uint16_t h, uint8_t s, uint8_t v) {
    h = (uint16_t)(((uint32_t)h * 255) / 360);
    s = (uint8_t)(((uint16_t)s * 255) / 100);
    v = (uint8_t)(((uint16_t)v * 255) / 100);

    if (s == 0)
        return lv_color_make(v, v, v);

    uint8_t region = (uint8_t)(h / 43);
    uint8_t remainder = (uint8_t)((h - (region * 43)) * 6);
    uint8_t p = (uint8_t)((v * (255 - s)) >> 8);
    uint8_t q = (uint8_t)((v * (255 - ((s * remainder) >> 8))) >> 8);
    uint8_t t = (uint8_t)((v * (255 - ((s * (255 - remainder)) >> 8))) >> 8);

    switch (region) {
    case 0:
        return lv_color_make(v, t, p);
    case 1:
        return lv_color_make(q, v, p);
    case 2:
        return lv_color_make(p, v, t);
    case 3:
        return lv_color_make(p, q, v);
    case 4:
        return lv_color_make(t, p, v);
    default:
        return lv_color_make(v, p, q);
    }
}

lv_color_hsv_t lv_color_rgb_to_hsv(uint8_t r8, uint8_t g8, uint8_t b8) {
    int32_t r = (int32_t)r8 * 1000 / 255;
    int32_t g = (int32_t)g8 * 1000 / 255;
    int32_t b = (int32_t)b8 * 1000 / 255;
    int32_t rgb_min = r < g ? (r < b ? r : b) : (g < b ? g : b);
    int32_t rgb_max = r > g ? (r > b ? r : b) : (g > b ? g : b);
    int32_t delta = rgb_max - rgb_min;
    lv_color_hsv_t hsv;

    hsv.v = (uint8_t)(100 * rgb_max / 1000);
    if (delta == 0 || rgb_max == 0) {
        hsv.h = 0;
        hsv.s = 0;
        return hsv;
    }
    hsv.s = (uint8_t)(100 * delta / rgb_max);

    int32_t h;
    if (rgb_max == r) {
        h = 60 * (g - b) / delta;
    } else if (rgb_max == g) {
        h = 60 * (b - r) / delta + 120;
    } else {
        h = 60 * (r - g) / delta + 240;
    }
    if (h < 0)
        h += 360;
    hsv.h = (uint16_t)h;
    return hsv;
}

lv_color_hsv_t lv_color_to_hsv(lv_color_t color) {
    return lv_color_rgb_to_hsv(color.ch.red, color.ch.green, color.ch.blue);
}

void lv_color_filter_dsc_init(lv_color_filter_dsc_t *dsc, lv_color_filter_cb_t cb) {
    dsc->filter_cb = cb;
    dsc->user_data = NULL;
}

lv_color_t lv_palette_main(lv_palette_t p) {
    static const uint32_t colors[_LV_PALETTE_LAST] = {
        0xF44336, 0xE91E63, 0x9C27B0, 0x673AB7, 0x3F51B5, 0x2196F3, 0x03A9F4, 0x00BCD4, 0x009688, 0x4CAF50,
        0x8BC34A, 0xCDDC39, 0xFFEB3B, 0xFFC107, 0xFF9800, 0xFF5722, 0x795548, 0x607D8B, 0x9E9E9E,
    };
    if ((unsigned)p >= _LV_PALETTE_LAST)
        return lv_color_black();
    return lv_color_hex(colors[p]);
}
