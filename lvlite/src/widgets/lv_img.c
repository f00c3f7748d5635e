/**
 * @file lv_img.c
 * The image is tiled over the content area when the object is bigger than the image; the offset
 * shifts the tiling.
 */
#include "lv_img.h"
#include "../misc/lv_math.h"
#include "../misc/lv_mem.h"

#include <string.h>

static void img_ctor(const lv_obj_class_t *cls, lv_obj_t *obj);
static void img_dtor(const lv_obj_class_t *cls, lv_obj_t *obj);
static void img_on_event(const lv_obj_class_t *cls, lv_event_t *e);

const lv_obj_class_t lv_img_class = {
    .constructor_cb = img_ctor,
    .destructor_cb = img_dtor,
    .event_cb = img_on_event,
    .width_def = LV_SIZE_CONTENT,
    .height_def = LV_SIZE_CONTENT,
    .instance_size = sizeof(lv_img_t),
    .base_class = &lv_obj_class,
};

static inline lv_img_t *as_img(const lv_obj_t *obj) {
    return (lv_img_t *)obj;
}

/* File paths and symbols are the image's own copies; variables belong to the caller. */
static bool owns_src(const lv_img_t *im) {
    return im->src_type == LV_IMG_SRC_FILE || im->src_type == LV_IMG_SRC_SYMBOL;
}

static void forget_src(lv_img_t *im) {
    if (owns_src(im))
        lv_mem_free((void *)im->src);
    im->src = NULL;
    im->src_type = LV_IMG_SRC_UNKNOWN;
}

lv_obj_t *lv_img_create(lv_obj_t *parent) {
    lv_obj_t *obj = lv_obj_class_create_obj(&lv_img_class, parent);
    if (obj != NULL)
        lv_obj_class_init_obj(obj);
    return obj;
}

/* Size of a symbol source: the text in the object's font. */
static lv_point_t symbol_size(lv_obj_t *obj, const char *sym) {
    lv_point_t sz;
    lv_txt_get_size(&sz, sym, lv_obj_get_style_text_font(obj, LV_PART_MAIN),
                    lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN),
                    lv_obj_get_style_text_line_space(obj, LV_PART_MAIN), LV_COORD_MAX, LV_TEXT_FLAG_NONE);
    return sz;
}

void lv_img_set_src(lv_obj_t *obj, const void *src) {
    lv_img_t *im = as_img(obj);
    lv_obj_invalidate(obj);
    lv_img_src_t kind = lv_img_src_get_type(src);
    if (kind == LV_IMG_SRC_UNKNOWN) {
        LV_LOG_WARN("unknown image type");
        forget_src(im);
        im->w = im->h = 0;
        lv_obj_refresh_self_size(obj);
        return;
    }
    lv_img_header_t info;
    memset(&info, 0, sizeof(info));
    if (lv_img_decoder_get_info(src, &info) != LV_RES_OK) {
        LV_LOG_WARN("can't read the image information");
        memset(&info, 0, sizeof(info));
    }
    const void *keep = src;
    if (kind != LV_IMG_SRC_VARIABLE) {
        /* Copy first: src may be the string being replaced. */
        keep = lv_mem_alloc(strlen(src) + 1);
        LV_ASSERT_MALLOC(keep);
        if (keep == NULL)
            return;
        strcpy((char *)keep, src);
    }
    if (im->src != keep)
        forget_src(im);
    im->src = keep;
    im->src_type = kind;
    if (kind == LV_IMG_SRC_SYMBOL) {
        lv_point_t sz = symbol_size(obj, keep);
        info.w = (uint32_t)sz.x;
        info.h = (uint32_t)sz.y;
    }
    im->cf = info.cf;
    im->w = (lv_coord_t)info.w;
    im->h = (lv_coord_t)info.h;
    im->pivot.x = im->w / 2;
    im->pivot.y = im->h / 2;
    lv_obj_refresh_self_size(obj);
    lv_obj_invalidate(obj);
}

void lv_img_set_offset_x(lv_obj_t *obj, lv_coord_t x) {
    as_img(obj)->offset.x = x;
    lv_obj_invalidate(obj);
}

void lv_img_set_offset_y(lv_obj_t *obj, lv_coord_t y) {
    as_img(obj)->offset.y = y;
    lv_obj_invalidate(obj);
}

void lv_img_set_angle(lv_obj_t *obj, int16_t angle) {
    /* Kept in 0..3599 tenths of a degree. */
    int32_t a = angle % 3600;
    as_img(obj)->angle = (uint16_t)(a < 0 ? a + 3600 : a);
    lv_obj_invalidate(obj);
}

void lv_img_set_pivot(lv_obj_t *obj, lv_coord_t x, lv_coord_t y) {
    lv_point_t p = {x, y};
    as_img(obj)->pivot = p;
    lv_obj_invalidate(obj);
}

void lv_img_set_zoom(lv_obj_t *obj, uint16_t zoom) {
    as_img(obj)->zoom = zoom ? zoom : 1;
    lv_obj_invalidate(obj);
}

void lv_img_set_antialias(lv_obj_t *obj, bool antialias) {
    as_img(obj)->antialias = antialias;
    lv_obj_invalidate(obj);
}

void lv_img_set_size_mode(lv_obj_t *obj, lv_img_size_mode_t mode) {
    if (as_img(obj)->obj_size_mode != mode) {
        as_img(obj)->obj_size_mode = mode;
        lv_obj_invalidate(obj);
    }
}

const void *lv_img_get_src(lv_obj_t *obj) {
    return as_img(obj)->src;
}

lv_coord_t lv_img_get_offset_x(lv_obj_t *obj) {
    return as_img(obj)->offset.x;
}

lv_coord_t lv_img_get_offset_y(lv_obj_t *obj) {
    return as_img(obj)->offset.y;
}

uint16_t lv_img_get_angle(lv_obj_t *obj) {
    return as_img(obj)->angle;
}

void lv_img_get_pivot(lv_obj_t *obj, lv_point_t *pivot) {
    *pivot = as_img(obj)->pivot;
}

uint16_t lv_img_get_zoom(lv_obj_t *obj) {
    return as_img(obj)->zoom;
}

bool lv_img_get_antialias(lv_obj_t *obj) {
    return as_img(obj)->antialias;
}

lv_img_size_mode_t lv_img_get_size_mode(lv_obj_t *obj) {
    return (lv_img_size_mode_t)as_img(obj)->obj_size_mode;
}

static void img_ctor(const lv_obj_class_t *cls, lv_obj_t *obj) {
    LV_UNUSED(cls);
    lv_img_t *im = as_img(obj);
    lv_point_t origin = {0, 0};
    im->src = NULL;
    im->src_type = LV_IMG_SRC_UNKNOWN;
    im->cf = LV_IMG_CF_UNKNOWN;
    im->w = lv_obj_get_width(obj);
    im->h = lv_obj_get_height(obj);
    im->offset = origin;
    im->pivot = origin;
    im->zoom = LV_IMG_ZOOM_NONE;
    im->angle = 0;
    im->antialias = 1;
    im->obj_size_mode = LV_IMG_SIZE_MODE_VIRTUAL;
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_CLICKABLE);
    lv_obj_add_flag(obj, LV_OBJ_FLAG_ADV_HITTEST);
}

static void img_dtor(const lv_obj_class_t *cls, lv_obj_t *obj) {
    LV_UNUSED(cls);
    forget_src(as_img(obj));
}

/* Whether the image alone hides everything behind `area`: an opaque format, fully opaque, and the
 * picture at least as big as the content box, which holds the area. */
static bool hides(lv_obj_t *obj, const lv_area_t *area) {
    const lv_img_t *im = as_img(obj);
    if (im->src_type != LV_IMG_SRC_VARIABLE && im->src_type != LV_IMG_SRC_FILE)
        return false;
    if (im->cf != LV_IMG_CF_TRUE_COLOR && im->cf != LV_IMG_CF_RAW)
        return false;
    if (lv_obj_get_style_img_opa(obj, LV_PART_MAIN) != LV_OPA_COVER)
        return false;
    lv_area_t box;
    lv_obj_get_content_coords(obj, &box);
    return lv_area_get_width(&box) <= im->w && lv_area_get_height(&box) <= im->h &&
           _lv_area_is_in(area, &box, 0);
}

/* First tile position on one axis: the offset taken modulo the tile, never after the box start. */
static lv_coord_t first_tile(lv_coord_t box_start, lv_coord_t ofs, lv_coord_t tile) {
    lv_coord_t p = box_start + ofs % tile;
    return p > box_start ? p - tile : p;
}

static void draw_picture(lv_obj_t *obj, lv_draw_ctx_t *ctx, const lv_area_t *box) {
    const lv_img_t *im = as_img(obj);
    lv_draw_img_dsc_t dsc;
    lv_draw_img_dsc_init(&dsc);
    lv_obj_init_draw_img_dsc(obj, LV_PART_MAIN, &dsc);
    if (dsc.opa <= LV_OPA_MIN)
        return;
    dsc.angle = (int16_t)im->angle;
    dsc.zoom = im->zoom;
    dsc.pivot = im->pivot;
    dsc.antialias = im->antialias;
    lv_area_t visible;
    if (!_lv_area_intersect(&visible, ctx->clip_area, box))
        return;
    const lv_area_t *outer = ctx->clip_area;
    ctx->clip_area = &visible;
    lv_coord_t x0 = first_tile(box->x1, im->offset.x, im->w);
    for (lv_coord_t y = first_tile(box->y1, im->offset.y, im->h); y < box->y2; y += im->h) {
        for (lv_coord_t x = x0; x < box->x2; x += im->w) {
            lv_area_t tile = {x, y, (lv_coord_t)(x + im->w - 1), (lv_coord_t)(y + im->h - 1)};
            lv_draw_img(ctx, &dsc, &tile, im->src);
        }
    }
    ctx->clip_area = outer;
}

static void draw_symbol(lv_obj_t *obj, lv_draw_ctx_t *ctx) {
    lv_draw_label_dsc_t dsc;
    lv_draw_label_dsc_init(&dsc);
    lv_obj_init_draw_label_dsc(obj, LV_PART_MAIN, &dsc);
    lv_draw_label(ctx, &dsc, &obj->coords, as_img(obj)->src, NULL);
}

static void img_on_event(const lv_obj_class_t *cls, lv_event_t *e) {
    LV_UNUSED(cls);
    if (lv_obj_event_base(&lv_img_class, e) != LV_RES_OK)
        return;
    lv_obj_t *obj = lv_event_get_target(e);
    lv_img_t *im = as_img(obj);
    switch (lv_event_get_code(e)) {
    case LV_EVENT_STYLE_CHANGED:
        /* A symbol's size depends on the font. */
        if (im->src_type == LV_IMG_SRC_SYMBOL)
            lv_img_set_src(obj, im->src);
        break;
    case LV_EVENT_HIT_TEST: {
        lv_hit_test_info_t *hit = lv_event_get_param(e);
        hit->res = _lv_area_is_point_on(&obj->coords, hit->point, 0);
        break;
    }
    case LV_EVENT_GET_SELF_SIZE: {
        lv_point_t *self = lv_event_get_param(e);
        self->x = LV_MAX(self->x, im->w);
        self->y = LV_MAX(self->y, im->h);
        break;
    }
    case LV_EVENT_COVER_CHECK: {
        lv_cover_check_info_t *cover = lv_event_get_param(e);
        if (cover->res != LV_COVER_RES_MASKED && !hides(obj, cover->area))
            cover->res = LV_COVER_RES_NOT_COVER;
        break;
    }
    case LV_EVENT_DRAW_MAIN: {
        if (im->src == NULL || im->w == 0 || im->h == 0)
            break;
        lv_area_t box;
        lv_obj_get_content_coords(obj, &box);
        if (im->src_type == LV_IMG_SRC_SYMBOL)
            draw_symbol(obj, lv_event_get_draw_ctx(e));
        else
            draw_picture(obj, lv_event_get_draw_ctx(e), &box);
        break;
    }
    default:
        break;
    }
}
