/**
 * @file lv_color.h
 * 32-bit ARGB8888 colours, opacity and the material palette.
 */
#ifndef LV_COLOR_H
#define LV_COLOR_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stdint.h>

#include "../lv_conf_internal.h"
#include "lv_types.h"

#if defined(LV_COLOR_DEPTH) && LV_COLOR_DEPTH != 32
#error "lvlite renders ARGB8888 only: LV_COLOR_DEPTH must be 32"
#endif

enum {
    LV_OPA_TRANSP = 0,
    LV_OPA_0 = 0,
    LV_OPA_10 = 25,
    LV_OPA_20 = 51,
    LV_OPA_30 = 76,
    LV_OPA_40 = 102,
    LV_OPA_50 = 127,
    LV_OPA_60 = 153,
    LV_OPA_70 = 178,
    LV_OPA_80 = 204,
    LV_OPA_90 = 229,
    LV_OPA_100 = 255,
    LV_OPA_COVER = 255,
};
typedef uint8_t lv_opa_t;

/** Below LV_OPA_MIN a layer is not drawn; above LV_OPA_MAX it is drawn as opaque. */
#define LV_OPA_MIN 2
#define LV_OPA_MAX 253

#define LV_COLOR_SIZE             32
#define LV_COLOR_DEPTH_BYTES      4
#define LV_IMG_PX_SIZE_ALPHA_BYTE 4

typedef union {
    struct {
        uint8_t blue;
        uint8_t green;
        uint8_t red;
        uint8_t alpha;
    } ch;
    uint32_t full;
} lv_color32_t;

typedef lv_color32_t lv_color_t;
typedef uint32_t lv_color_int_t;

typedef struct {
    uint16_t h;
    uint8_t s;
    uint8_t v;
} lv_color_hsv_t;

#define LV_COLOR_GET_R(c)    ((c).ch.red)
#define LV_COLOR_GET_G(c)    ((c).ch.green)
#define LV_COLOR_GET_B(c)    ((c).ch.blue)
#define LV_COLOR_GET_A(c)    ((c).ch.alpha)
#define LV_COLOR_SET_R(c, v) ((c).ch.red = (uint8_t)((v)&0xFF))
#define LV_COLOR_SET_G(c, v) ((c).ch.green = (uint8_t)((v)&0xFF))
#define LV_COLOR_SET_B(c, v) ((c).ch.blue = (uint8_t)((v)&0xFF))
#define LV_COLOR_SET_A(c, v) ((c).ch.alpha = (uint8_t)((v)&0xFF))

#ifdef __cplusplus
#define LV_COLOR_MAKE(r8, g8, b8)                                                                            \
    (lv_color_t{{(uint8_t)((b8)&0xff), (uint8_t)((g8)&0xff), (uint8_t)((r8)&0xff), 0xff}})
#else
#define LV_COLOR_MAKE(r8, g8, b8)                                                                            \
    ((lv_color_t){{(uint8_t)((b8)&0xff), (uint8_t)((g8)&0xff), (uint8_t)((r8)&0xff), 0xff}})
#endif

static inline lv_color_t lv_color_make(uint8_t r, uint8_t g, uint8_t b) {
    lv_color_t c;
    c.full = 0xFF000000u | ((uint32_t)r << 16) | ((uint32_t)g << 8) | (uint32_t)b;
    return c;
}

static inline lv_color_t lv_color_hex(uint32_t c) {
    lv_color_t r;
    r.full = c | 0xFF000000u;
    return r;
}

static inline lv_color_t lv_color_hex3(uint32_t c) {
    return lv_color_make((uint8_t)(((c >> 4) & 0xF0) | ((c >> 8) & 0xF)),
                         (uint8_t)((c & 0xF0) | ((c & 0xF0) >> 4)), (uint8_t)((c & 0xF) | ((c & 0xF) << 4)));
}

static inline lv_color_t lv_color_white(void) {
    return lv_color_make(0xFF, 0xFF, 0xFF);
}

static inline lv_color_t lv_color_black(void) {
    return lv_color_make(0x00, 0x00, 0x00);
}

static inline uint32_t lv_color_to32(lv_color_t color) {
    return color.full;
}

static inline uint8_t lv_color_brightness(lv_color_t color) {
    uint16_t bright = (uint16_t)(3u * color.ch.red + color.ch.blue + 4u * color.ch.green);
    return (uint8_t)(bright >> 3);
}

/**
 * Mix two colours: mix = 255 gives c1, 0 gives c2. Integer arithmetic (x / 255 by multiply and shift), so
 * every target produces the same bytes. The result is opaque.
 */
static inline lv_color_t lv_color_mix(lv_color_t c1, lv_color_t c2, uint8_t mix) {
    lv_color_t ret;
    uint32_t inv = 255u - mix;
    ret.ch.red = (uint8_t)(((uint32_t)c1.ch.red * mix + (uint32_t)c2.ch.red * inv) * 0x8081u >> 23);
    ret.ch.green = (uint8_t)(((uint32_t)c1.ch.green * mix + (uint32_t)c2.ch.green * inv) * 0x8081u >> 23);
    ret.ch.blue = (uint8_t)(((uint32_t)c1.ch.blue * mix + (uint32_t)c2.ch.blue * inv) * 0x8081u >> 23);
    ret.ch.alpha = 0xFF;
    return ret;
}

/** Pre-multiply a colour by mix into out[3] (red, green, blue) for repeated lv_color_mix_premult. */
static inline void lv_color_premult(lv_color_t c, uint8_t mix, uint16_t *out) {
    out[0] = (uint16_t)(c.ch.red * mix);
    out[1] = (uint16_t)(c.ch.green * mix);
    out[2] = (uint16_t)(c.ch.blue * mix);
}

/** Mix a colour pre-multiplied by lv_color_premult with c2; mix is the weight of c2. */
static inline lv_color_t lv_color_mix_premult(uint16_t *premult_c1, lv_color_t c2, uint8_t mix) {
    lv_color_t ret;
    ret.ch.red = (uint8_t)(((uint32_t)premult_c1[0] + (uint32_t)c2.ch.red * mix) * 0x8081u >> 23);
    ret.ch.green = (uint8_t)(((uint32_t)premult_c1[1] + (uint32_t)c2.ch.green * mix) * 0x8081u >> 23);
    ret.ch.blue = (uint8_t)(((uint32_t)premult_c1[2] + (uint32_t)c2.ch.blue * mix) * 0x8081u >> 23);
    ret.ch.alpha = 0xFF;
    return ret;
}

/**
 * Mix a colour with opacity over a background that has its own alpha (for transparent screens).
 * res_color and res_opa receive the composed colour and alpha.
 */
void lv_color_mix_with_alpha(lv_color_t bg_color, lv_opa_t bg_opa, lv_color_t fg_color, lv_opa_t fg_opa,
                             lv_color_t *res_color, lv_opa_t *res_opa);

/** The colour that image decoders treat as transparent in LV_IMG_CF_TRUE_COLOR_CHROMA_KEYED images. */
static inline lv_color_t lv_color_chroma_key(void) {
#ifdef LV_COLOR_CHROMA_KEY
    return LV_COLOR_CHROMA_KEY;
#else
    return lv_color_hex(0x00FF00);
#endif
}

static inline lv_color_t lv_color_lighten(lv_color_t c, lv_opa_t lvl) {
    return lv_color_mix(lv_color_white(), c, lvl);
}

static inline lv_color_t lv_color_darken(lv_color_t c, lv_opa_t lvl) {
    return lv_color_mix(lv_color_black(), c, lvl);
}

lv_color_t lv_color_change_lightness(lv_color_t c, lv_opa_t lvl);

/** Fill px_num colours starting at buf. */
void lv_color_fill(lv_color_t *buf, lv_color_t color, uint32_t px_num);

lv_color_t lv_color_hsv_to_rgb(uint16_t h, uint8_t s, uint8_t v);
lv_color_hsv_t lv_color_rgb_to_hsv(uint8_t r8, uint8_t g8, uint8_t b8);
lv_color_hsv_t lv_color_to_hsv(lv_color_t color);

struct _lv_color_filter_dsc_t;
typedef lv_color_t (*lv_color_filter_cb_t)(const struct _lv_color_filter_dsc_t *, lv_color_t, lv_opa_t);

typedef struct _lv_color_filter_dsc_t {
    lv_color_filter_cb_t filter_cb;
    void *user_data;
} lv_color_filter_dsc_t;

void lv_color_filter_dsc_init(lv_color_filter_dsc_t *dsc, lv_color_filter_cb_t cb);

typedef enum {
    LV_PALETTE_RED,
    LV_PALETTE_PINK,
    LV_PALETTE_PURPLE,
    LV_PALETTE_DEEP_PURPLE,
    LV_PALETTE_INDIGO,
    LV_PALETTE_BLUE,
    LV_PALETTE_LIGHT_BLUE,
    LV_PALETTE_CYAN,
    LV_PALETTE_TEAL,
    LV_PALETTE_GREEN,
    LV_PALETTE_LIGHT_GREEN,
    LV_PALETTE_LIME,
    LV_PALETTE_YELLOW,
    LV_PALETTE_AMBER,
    LV_PALETTE_ORANGE,
    LV_PALETTE_DEEP_ORANGE,
    LV_PALETTE_BROWN,
    LV_PALETTE_BLUE_GREY,
    LV_PALETTE_GREY,
    _LV_PALETTE_LAST,
    LV_PALETTE_NONE = 0xff,
} lv_palette_t;

lv_color_t lv_palette_main(lv_palette_t p);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_COLOR_H */
