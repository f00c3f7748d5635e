/**
 * @file lv_draw_rect.c
 * Rounded rectangles with antialiased corners. A shape is an area with a corner radius; a row of
 * it is a full-coverage span except in the corner bands, whose coverage comes from a per-radius
 * table (exact pixel-centre distance, in integers). Borders and outlines are the difference of
 * an outer and an inner shape.
 */
#include "lv_draw.h"

#include <stdlib.h>
#include <string.h>

#include "../misc/lv_math.h"
#include "sw/lv_draw_sw.h"

typedef struct {
    lv_area_t a;
    int32_t r;
    const uint8_t *cov; /* r * r: coverage of the pixel (i, j) from the outermost corner pixel */
} shape_t;

/* Coverage (0..255) of pixel (i, j) counted from the corner of a quarter circle of radius r:
 * r + 1/2 minus the distance of the pixel centre from the circle's centre, clamped to [0, 1]. */
static uint8_t corner_cov(int32_t r, int32_t i, int32_t j) {
    int64_t dx = 2 * (int64_t)r - 2 * i - 1; /* twice the distance, in pixels */
    int64_t dy = 2 * (int64_t)r - 2 * j - 1;
    uint64_t v = (uint64_t)(dx * dx + dy * dy) << 16;
    uint64_t root = _lv_draw_sw_sqrt(v); /* twice the distance in 1/256 pixel */
    int64_t c = ((2 * (int64_t)r + 1) * 256 - (int64_t)root) * 255 / 512;
    if (c < 0)
        return 0;
    if (c > 255)
        return 255;
    return (uint8_t)c;
}

/* Small cache of corner tables by radius. */
#define COV_CACHE_SIZE 8
static struct {
    int32_t r;
    uint8_t *cov;
    uint32_t used;
} cov_cache[COV_CACHE_SIZE];
static uint32_t cov_clock;

static const uint8_t *cov_table(int32_t r) {
    if (r <= 0)
        return NULL;
    int victim = 0;
    for (int k = 0; k < COV_CACHE_SIZE; k++) {
        if (cov_cache[k].cov && cov_cache[k].r == r) {
            cov_cache[k].used = ++cov_clock;
            return cov_cache[k].cov;
        }
        if (cov_cache[k].used < cov_cache[victim].used)
            victim = k;
    }
    uint8_t *t = malloc((size_t)r * (size_t)r);
    if (t == NULL)
        return NULL;
    for (int32_t j = 0; j < r; j++) {
        for (int32_t i = 0; i < r; i++)
            t[j * r + i] = corner_cov(r, i, j);
    }
    free(cov_cache[victim].cov);
    cov_cache[victim].r = r;
    cov_cache[victim].cov = t;
    cov_cache[victim].used = ++cov_clock;
    return t;
}

static void shape_init(shape_t *s, const lv_area_t *a, int32_t radius) {
    s->a = *a;
    int32_t w = lv_area_get_width(a);
    int32_t h = lv_area_get_height(a);
    int32_t max_r = LV_MIN(w, h) / 2;
    if (radius > max_r)
        radius = max_r;
    if (radius < 0)
        radius = 0;
    s->r = radius;
    s->cov = NULL;
}

static inline uint8_t shape_cov(shape_t *s, int32_t i, int32_t j) {
    return s->cov ? s->cov[j * s->r + i] : corner_cov(s->r, i, j);
}

/* Whether row y of the shape is a full span [x1, x2] (no corner coverage). */
static inline bool shape_row_full(const shape_t *s, int32_t y) {
    return y >= s->a.y1 + s->r && y <= s->a.y2 - s->r;
}

/* Coverage of row y of the shape for pixels x0 .. x0 + len - 1 into out. */
static void shape_row_mask(shape_t *s, int32_t y, int32_t x0, int32_t len, uint8_t *out) {
    if (y < s->a.y1 || y > s->a.y2) {
        memset(out, 0, (size_t)len);
        return;
    }
    int32_t j = -1;
    if (y < s->a.y1 + s->r) {
        j = y - s->a.y1;
    } else if (y > s->a.y2 - s->r) {
        j = s->a.y2 - y;
    }
    for (int32_t k = 0; k < len; k++) {
        int32_t x = x0 + k;
        uint8_t c;
        if (x < s->a.x1 || x > s->a.x2) {
            c = 0;
        } else if (j < 0) {
            c = 255;
        } else if (x < s->a.x1 + s->r) {
            c = shape_cov(s, x - s->a.x1, j);
        } else if (x > s->a.x2 - s->r) {
            c = shape_cov(s, s->a.x2 - x, j);
        } else {
            c = 255;
        }
        out[k] = c;
    }
}

typedef struct {
    lv_draw_ctx_t *ctx;
    lv_area_t clip; /* where this element may draw */
    bool dest_alpha;
} target_t;

static bool target_init(target_t *t, lv_draw_ctx_t *ctx, const lv_area_t *coords) {
    t->ctx = ctx;
    t->dest_alpha = _lv_draw_sw_dest_has_alpha();
    return _lv_area_intersect(&t->clip, coords, ctx->clip_area);
}

/* Colour of a gradient at position pos of size (0 .. size - 1). */
static lv_color_t grad_color(const lv_grad_dsc_t *g, int32_t pos, int32_t size) {
    int32_t frac = size > 1 ? pos * 255 / (size - 1) : 0;
    int32_t f0 = g->stops[0].frac;
    int32_t f1 = g->stops[1].frac;
    if (frac <= f0)
        return g->stops[0].color;
    if (frac >= f1)
        return g->stops[1].color;
    int32_t mix = (frac - f0) * 255 / (f1 - f0);
    return lv_color_mix(g->stops[1].color, g->stops[0].color, (uint8_t)mix);
}

static void draw_bg(target_t *t, const lv_draw_rect_dsc_t *dsc, const lv_area_t *coords) {
    lv_area_t clip;
    if (!_lv_area_intersect(&clip, coords, &t->clip))
        return;

    shape_t s;
    shape_init(&s, coords, dsc->radius);
    s.cov = cov_table(s.r);

    bool grad = dsc->bg_grad.dir != LV_GRAD_DIR_NONE && dsc->bg_grad.stops_count >= 2 &&
                dsc->bg_grad.stops[0].color.full != dsc->bg_grad.stops[1].color.full;
    int32_t len = lv_area_get_width(&clip);
    uint8_t *mask = _lv_draw_sw_scratch(0, (size_t)len);
    lv_color_t *hor = NULL;
    if (mask == NULL)
        return;
    if (grad && dsc->bg_grad.dir == LV_GRAD_DIR_HOR) {
        hor = _lv_draw_sw_scratch(1, (size_t)len * sizeof(lv_color_t));
        if (hor == NULL)
            return;
        for (int32_t k = 0; k < len; k++)
            hor[k] = grad_color(&dsc->bg_grad, clip.x1 + k - coords->x1, lv_area_get_width(coords));
    }

    for (int32_t y = clip.y1; y <= clip.y2; y++) {
        lv_color_t *dst = _lv_draw_sw_px(t->ctx, clip.x1, y);
        const uint8_t *m = NULL;
        if (!shape_row_full(&s, y)) {
            shape_row_mask(&s, y, clip.x1, len, mask);
            m = mask;
        }
        if (hor) {
            _lv_draw_sw_map_row(dst, hor, len, dsc->bg_opa, m, false, t->dest_alpha);
        } else {
            lv_color_t c = dsc->bg_color;
            if (grad)
                c = grad_color(&dsc->bg_grad, y - coords->y1, lv_area_get_height(coords));
            _lv_draw_sw_fill_row(dst, len, c, dsc->bg_opa, m, t->dest_alpha);
        }
    }
}

/* Fill the part of outer not covered by inner (an inner area that is empty covers nothing). */
static void draw_ring(target_t *t, const lv_area_t *outer, int32_t r_out, const lv_area_t *inner,
                      int32_t r_in, lv_color_t color, lv_opa_t opa) {
    lv_area_t clip;
    if (!_lv_area_intersect(&clip, outer, &t->clip))
        return;

    shape_t so;
    shape_t si;
    shape_init(&so, outer, r_out);
    bool has_inner = inner->x1 <= inner->x2 && inner->y1 <= inner->y2;
    if (has_inner)
        shape_init(&si, inner, r_in);

    int32_t len = lv_area_get_width(&clip);
    uint8_t *mask = _lv_draw_sw_scratch(0, (size_t)len);
    uint8_t *mask_in = _lv_draw_sw_scratch(2, (size_t)len);
    if (mask == NULL || mask_in == NULL)
        return;
    /* The table cache holds more than two radii, so both stay valid here. */
    so.cov = cov_table(so.r);
    if (has_inner)
        si.cov = cov_table(si.r);

    for (int32_t y = clip.y1; y <= clip.y2; y++) {
        bool in_row = has_inner && y >= si.a.y1 && y <= si.a.y2;
        if (shape_row_full(&so, y) && (!in_row || shape_row_full(&si, y))) {
            /* Plain spans: the outer row minus the inner row. */
            if (!in_row) {
                _lv_draw_sw_fill_row(_lv_draw_sw_px(t->ctx, clip.x1, y), len, color, opa, NULL,
                                     t->dest_alpha);
                continue;
            }
            int32_t l2 = LV_MIN(clip.x2, si.a.x1 - 1);
            if (l2 >= clip.x1)
                _lv_draw_sw_fill_row(_lv_draw_sw_px(t->ctx, clip.x1, y), l2 - clip.x1 + 1, color, opa, NULL,
                                     t->dest_alpha);
            int32_t r1 = LV_MAX(clip.x1, si.a.x2 + 1);
            if (r1 <= clip.x2)
                _lv_draw_sw_fill_row(_lv_draw_sw_px(t->ctx, r1, y), clip.x2 - r1 + 1, color, opa, NULL,
                                     t->dest_alpha);
            continue;
        }
        shape_row_mask(&so, y, clip.x1, len, mask);
        if (in_row) {
            shape_row_mask(&si, y, clip.x1, len, mask_in);
            for (int32_t k = 0; k < len; k++)
                mask[k] = (uint8_t)((mask[k] * (255u - mask_in[k]) + 255u) >> 8);
        }
        _lv_draw_sw_fill_row(_lv_draw_sw_px(t->ctx, clip.x1, y), len, color, opa, mask, t->dest_alpha);
    }
}

static void draw_border(target_t *t, const lv_draw_rect_dsc_t *dsc, const lv_area_t *coords) {
    shape_t so;
    shape_init(&so, coords, dsc->radius);
    int32_t bw = dsc->border_width;
    int32_t r_out = so.r;
    int32_t r_in = LV_MAX(0, r_out - bw);

    /* A side without border pushes the inner area beyond the outer one there. */
    lv_area_t inner = *coords;
    lv_border_side_t side = dsc->border_side;
    inner.x1 += (side & LV_BORDER_SIDE_LEFT) ? bw : -(bw + r_out);
    inner.x2 -= (side & LV_BORDER_SIDE_RIGHT) ? bw : -(bw + r_out);
    inner.y1 += (side & LV_BORDER_SIDE_TOP) ? bw : -(bw + r_out);
    inner.y2 -= (side & LV_BORDER_SIDE_BOTTOM) ? bw : -(bw + r_out);

    draw_ring(t, coords, r_out, &inner, r_in, dsc->border_color, dsc->border_opa);
}

static void draw_outline(target_t *t, const lv_draw_rect_dsc_t *dsc, const lv_area_t *coords) {
    lv_area_t inner = *coords;
    lv_area_increase(&inner, dsc->outline_pad, dsc->outline_pad);
    lv_area_t outer = inner;
    lv_area_increase(&outer, dsc->outline_width, dsc->outline_width);

    shape_t base;
    shape_init(&base, coords, dsc->radius);
    int32_t r_in = base.r == 0 ? 0 : base.r + dsc->outline_pad;
    int32_t r_out = base.r == 0 ? 0 : r_in + dsc->outline_width;

    /* The outline reaches beyond coords: it may draw wherever the clip allows. */
    lv_area_t saved = t->clip;
    if (!_lv_area_intersect(&t->clip, &outer, t->ctx->clip_area)) {
        t->clip = saved;
        return;
    }
    draw_ring(t, &outer, r_out, &inner, r_in, dsc->outline_color, dsc->outline_opa);
    t->clip = saved;
}

/* Signed distance in 1/256 pixel from the centre of pixel (x, y) to the edge of shape s
 * (negative inside). */
static int32_t shape_distance(const shape_t *s, int32_t x, int32_t y) {
    /* twice-scaled offsets from the centre, minus the straight half-lengths */
    int64_t qx = LV_ABS(2 * (int64_t)x + 1 - (s->a.x1 + s->a.x2 + 1)) - (lv_area_get_width(&s->a) - 2 * s->r);
    int64_t qy =
        LV_ABS(2 * (int64_t)y + 1 - (s->a.y1 + s->a.y2 + 1)) - (lv_area_get_height(&s->a) - 2 * s->r);
    int64_t d;
    if (qx > 0 && qy > 0) {
        d = _lv_draw_sw_sqrt((uint64_t)(qx * qx + qy * qy) << 14);
    } else {
        d = (qx > qy ? qx : qy) * 128;
    }
    return (int32_t)(d - (int64_t)s->r * 256);
}

/* Shadow opacity at signed distance d (1/256 px) from the shadow's shape, for a blur reaching
 * `reach` (1/256 px) beyond it: full on and inside the shape, then falling off with the square of
 * the remaining distance, as a blurred edge does, so that the dark part stays close to the shape. */
static int32_t shadow_falloff(int32_t d, int32_t reach) {
    if (d <= 0)
        return 255;
    if (d >= reach)
        return 0;
    int64_t rest = reach - d;
    return (int32_t)(255 * rest * rest / ((int64_t)reach * reach));
}

/* The shadow: the rectangle moved by the offsets and grown by the spread, fully dark up to its
 * edge and fading out over half the shadow_width beyond it; not drawn under the rectangle itself. */
static void draw_shadow(lv_draw_ctx_t *ctx, const lv_draw_rect_dsc_t *dsc, const lv_area_t *coords) {
    int32_t sw = dsc->shadow_width;
    lv_area_t core = *coords;
    lv_area_move(&core, dsc->shadow_ofs_x, dsc->shadow_ofs_y);
    lv_area_increase(&core, dsc->shadow_spread, dsc->shadow_spread);
    if (core.x1 > core.x2 || core.y1 > core.y2)
        return;

    lv_area_t area = core;
    lv_area_increase(&area, sw / 2 + 1, sw / 2 + 1);
    lv_area_t clip;
    if (!_lv_area_intersect(&clip, &area, ctx->clip_area))
        return;

    shape_t obj;
    shape_init(&obj, coords, dsc->radius);
    shape_t sh;
    shape_init(&sh, &core, dsc->radius == 0 ? 0 : dsc->radius + dsc->shadow_spread);
    int32_t len = lv_area_get_width(&clip);
    uint8_t *mask = _lv_draw_sw_scratch(0, (size_t)len);
    uint8_t *under = _lv_draw_sw_scratch(2, (size_t)len);
    if (mask == NULL || under == NULL)
        return;
    obj.cov = cov_table(obj.r);
    bool dest_alpha = _lv_draw_sw_dest_has_alpha();
    int32_t reach = LV_MAX(sw, 1) * 128; /* half the width, in 1/256 px */

    for (int32_t y = clip.y1; y <= clip.y2; y++) {
        shape_row_mask(&obj, y, clip.x1, len, under);
        bool any = false;
        for (int32_t k = 0; k < len; k++) {
            if (under[k] == 255) {
                mask[k] = 0;
                continue;
            }
            int32_t a = shadow_falloff(shape_distance(&sh, clip.x1 + k, y), reach);
            mask[k] = (uint8_t)((a * (255u - under[k])) >> 8);
            any |= mask[k] != 0;
        }
        if (any)
            _lv_draw_sw_fill_row(_lv_draw_sw_px(ctx, clip.x1, y), len, dsc->shadow_color, dsc->shadow_opa,
                                 mask, dest_alpha);
    }
}

static void draw_bg_img(lv_draw_ctx_t *ctx, const lv_draw_rect_dsc_t *dsc, const lv_area_t *coords) {
    if (lv_img_src_get_type(dsc->bg_img_src) == LV_IMG_SRC_SYMBOL)
        return; /* symbol fonts: not drawn */

    lv_img_header_t header;
    if (lv_img_decoder_get_info(dsc->bg_img_src, &header) != LV_RES_OK)
        return;

    lv_draw_img_dsc_t img_dsc;
    lv_draw_img_dsc_init(&img_dsc);
    img_dsc.recolor_opa = dsc->bg_img_recolor_opa;
    if (img_dsc.recolor_opa > LV_OPA_MIN)
        img_dsc.recolor = dsc->bg_img_recolor;
    img_dsc.opa = dsc->bg_img_opa;

    lv_area_t clip;
    if (!_lv_area_intersect(&clip, coords, ctx->clip_area))
        return;
    const lv_area_t *saved = ctx->clip_area;
    ctx->clip_area = &clip;

    lv_area_t area;
    if (dsc->bg_img_tiled) {
        for (int32_t y = coords->y1; y <= coords->y2; y += header.h) {
            for (int32_t x = coords->x1; x <= coords->x2; x += header.w) {
                lv_area_set(&area, x, y, x + header.w - 1, y + header.h - 1);
                lv_draw_img(ctx, &img_dsc, &area, dsc->bg_img_src);
            }
            if (header.h == 0 || header.w == 0)
                break;
        }
    } else {
        area.x1 = coords->x1 + lv_area_get_width(coords) / 2 - header.w / 2;
        area.y1 = coords->y1 + lv_area_get_height(coords) / 2 - header.h / 2;
        area.x2 = area.x1 + header.w - 1;
        area.y2 = area.y1 + header.h - 1;
        lv_draw_img(ctx, &img_dsc, &area, dsc->bg_img_src);
    }
    ctx->clip_area = saved;
}

void lv_draw_rect_dsc_init(lv_draw_rect_dsc_t *dsc) {
    memset(dsc, 0, sizeof(*dsc));
    /* Everything opaque; a white background whose gradient (when asked for) runs to black. */
    dsc->bg_opa = dsc->bg_img_opa = dsc->border_opa = dsc->outline_opa = dsc->shadow_opa = LV_OPA_COVER;
    dsc->bg_color = dsc->bg_grad.stops[0].color = lv_color_white();
    dsc->border_color = dsc->shadow_color = dsc->bg_grad.stops[1].color = lv_color_black();
    dsc->bg_grad.stops_count = 2;
    dsc->bg_grad.stops[1].frac = LV_OPA_COVER;
    dsc->border_side = LV_BORDER_SIDE_FULL;
}

void lv_draw_rect(lv_draw_ctx_t *draw_ctx, const lv_draw_rect_dsc_t *dsc, const lv_area_t *coords) {
    if (lv_area_get_height(coords) < 1 || lv_area_get_width(coords) < 1)
        return;

    if (dsc->shadow_width > 0 && dsc->shadow_opa > LV_OPA_MIN &&
        !(dsc->shadow_width == 1 && dsc->shadow_spread <= 0 && dsc->shadow_ofs_x == 0 &&
          dsc->shadow_ofs_y == 0))
        draw_shadow(draw_ctx, dsc, coords);

    target_t t;
    bool visible = target_init(&t, draw_ctx, coords);

    if (visible && dsc->bg_opa > LV_OPA_MIN) {
        /* Under an opaque rounded border the background stops one pixel short, so that its
         * antialiased corner does not shine through the border's. */
        lv_area_t bg = *coords;
        if (dsc->border_width > 1 && dsc->border_opa >= LV_OPA_MAX && dsc->radius != 0) {
            bg.x1 += (dsc->border_side & LV_BORDER_SIDE_LEFT) ? 1 : 0;
            bg.y1 += (dsc->border_side & LV_BORDER_SIDE_TOP) ? 1 : 0;
            bg.x2 -= (dsc->border_side & LV_BORDER_SIDE_RIGHT) ? 1 : 0;
            bg.y2 -= (dsc->border_side & LV_BORDER_SIDE_BOTTOM) ? 1 : 0;
        }
        draw_bg(&t, dsc, &bg);
    }
    if (visible && dsc->bg_img_src && dsc->bg_img_opa > LV_OPA_MIN)
        draw_bg_img(draw_ctx, dsc, coords);
    if (visible && !dsc->border_post && dsc->border_width > 0 && dsc->border_opa > LV_OPA_MIN &&
        dsc->border_side != LV_BORDER_SIDE_NONE) {
        draw_border(&t, dsc, coords);
    }
    if (dsc->outline_width > 0 && dsc->outline_opa > LV_OPA_MIN)
        draw_outline(&t, dsc, coords);
}
