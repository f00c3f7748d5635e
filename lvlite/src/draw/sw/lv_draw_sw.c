/**
 * @file lv_draw_sw.c
 * Row blenders of the software renderer. Every blend is integer arithmetic (x / 255 done as
 * x * 0x8081 >> 23) so that every target produces the same bytes.
 */
#include "lv_draw_sw.h"

#include <stdlib.h>
#include <string.h>

#include "../../hal/lv_hal_disp.h"

/* The display being refreshed (the core's refresh sets it while it renders). */
lv_disp_t *_lv_refr_get_disp_refreshing(void);

void lv_draw_sw_init_ctx(struct _lv_disp_drv_t *drv, lv_draw_ctx_t *draw_ctx) {
    (void)drv;
    memset(draw_ctx, 0, sizeof(*draw_ctx));
}

void lv_draw_sw_deinit_ctx(struct _lv_disp_drv_t *drv, lv_draw_ctx_t *draw_ctx) {
    (void)drv;
    memset(draw_ctx, 0, sizeof(*draw_ctx));
}

bool _lv_draw_sw_dest_has_alpha(void) {
#if LV_COLOR_SCREEN_TRANSP
    lv_disp_t *disp = _lv_refr_get_disp_refreshing();
    return disp != NULL && disp->driver != NULL && disp->driver->screen_transp;
#else
    return false;
#endif
}

#define DIV255(x) (((x)*0x8081u) >> 23)

/* Blend one colour over an opaque destination pixel. */
static inline uint32_t mix_px(uint32_t fg_r, uint32_t fg_g, uint32_t fg_b, uint32_t a, uint32_t dst) {
    uint32_t inv = 255u - a;
    uint32_t r = DIV255(fg_r * a + ((dst >> 16) & 0xFF) * inv);
    uint32_t g = DIV255(fg_g * a + ((dst >> 8) & 0xFF) * inv);
    uint32_t b = DIV255(fg_b * a + (dst & 0xFF) * inv);
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

/* Blend over a destination with its own alpha. */
static inline void mix_px_alpha(lv_color_t fg, lv_opa_t a, lv_color_t *dst) {
    lv_color_t res;
    lv_opa_t res_a;
    lv_color_mix_with_alpha(*dst, dst->ch.alpha, fg, a, &res, &res_a);
    res.ch.alpha = res_a;
    *dst = res;
}

void _lv_draw_sw_fill_row(lv_color_t *dst, int32_t len, lv_color_t color, lv_opa_t opa, const lv_opa_t *mask,
                          bool dest_alpha) {
    if (len <= 0 || opa <= LV_OPA_MIN)
        return;
    uint32_t *d = (uint32_t *)dst;
    uint32_t cr = color.ch.red, cg = color.ch.green, cb = color.ch.blue;
    uint32_t solid = color.full | 0xFF000000u;

    if (dest_alpha) {
        for (int32_t i = 0; i < len; i++) {
            uint32_t a = mask ? (opa >= LV_OPA_MAX ? mask[i] : (mask[i] * opa) >> 8) : opa;
            if (a <= LV_OPA_MIN)
                continue;
            if (a >= LV_OPA_MAX) {
                d[i] = solid;
            } else {
                mix_px_alpha(color, (lv_opa_t)a, &dst[i]);
            }
        }
        return;
    }

    if (mask == NULL) {
        if (opa >= LV_OPA_MAX) {
            for (int32_t i = 0; i < len; i++)
                d[i] = solid;
        } else {
            /* The same destination colour gives the same result: remember the last one. */
            uint32_t last_in = ~d[0];
            uint32_t last_out = 0;
            for (int32_t i = 0; i < len; i++) {
                if (d[i] != last_in) {
                    last_in = d[i];
                    last_out = mix_px(cr, cg, cb, opa, d[i]);
                }
                d[i] = last_out;
            }
        }
        return;
    }

    for (int32_t i = 0; i < len; i++) {
        uint32_t m = mask[i];
        if (m <= LV_OPA_MIN)
            continue;
        uint32_t a = opa >= LV_OPA_MAX ? m : (m * opa) >> 8;
        if (a >= LV_OPA_MAX) {
            d[i] = solid;
        } else if (a > LV_OPA_MIN) {
            d[i] = mix_px(cr, cg, cb, a, d[i]);
        }
    }
}

void _lv_draw_sw_map_row(lv_color_t *dst, const lv_color_t *src, int32_t len, lv_opa_t opa,
                         const lv_opa_t *mask, bool src_alpha, bool dest_alpha) {
    if (len <= 0 || opa <= LV_OPA_MIN)
        return;
    uint32_t *d = (uint32_t *)dst;
    const uint32_t *s = (const uint32_t *)src;

    if (!src_alpha && mask == NULL && opa >= LV_OPA_MAX) {
        for (int32_t i = 0; i < len; i++)
            d[i] = s[i] | 0xFF000000u;
        return;
    }

    for (int32_t i = 0; i < len; i++) {
        uint32_t px = s[i];
        uint32_t a = src_alpha ? (px >> 24) : 255u;
        if (mask)
            a = (a * mask[i] + 255u) >> 8;
        if (opa < LV_OPA_MAX)
            a = (a * opa + 255u) >> 8;
        if (a <= LV_OPA_MIN)
            continue;
        if (dest_alpha) {
            lv_color_t c;
            c.full = px;
            if (a >= LV_OPA_MAX) {
                d[i] = px | 0xFF000000u;
            } else {
                mix_px_alpha(c, (lv_opa_t)a, &dst[i]);
            }
        } else if (a >= LV_OPA_MAX) {
            d[i] = px | 0xFF000000u;
        } else {
            d[i] = mix_px((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF, a, d[i]);
        }
    }
}

uint32_t _lv_draw_sw_sqrt(uint64_t v) {
    uint64_t root = 0;
    uint64_t bit = (uint64_t)1 << 62;
    while (bit > v)
        bit >>= 2;
    while (bit) {
        if (v >= root + bit) {
            v -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
        bit >>= 2;
    }
    return (uint32_t)root;
}

static struct {
    void *buf;
    size_t size;
} scratch[4];

void *_lv_draw_sw_scratch(int slot, size_t size) {
    if (scratch[slot].size < size) {
        void *p = realloc(scratch[slot].buf, size);
        if (p == NULL)
            return NULL;
        scratch[slot].buf = p;
        scratch[slot].size = size;
    }
    return scratch[slot].buf;
}
