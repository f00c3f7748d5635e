/**
 * @file lv_img.c
 * The image is tiled over the content area when the object is bigger than the image.
 */
#include "lv_img.h"
#include "../misc/lv_math.h"
#include "../misc/lv_mem.h"

#include <string.h>

#define MY_CLASS &lv_img_class

static void lv_img_constructor(const lv_obj_class_t *class_p, lv_obj_t *obj);
static void lv_img_destructor(const lv_obj_class_t *class_p, lv_obj_t *obj);
static void lv_img_event(const lv_obj_class_t *class_p, lv_event_t *e);

const lv_obj_class_t lv_img_class = {
    .constructor_cb = lv_img_constructor,
    .destructor_cb = lv_img_destructor,
    .event_cb = lv_img_event,
    .width_def = LV_SIZE_CONTENT,
    .height_def = LV_SIZE_CONTENT,
    .instance_size = sizeof(lv_img_t),
    .base_class = &lv_obj_class,
};

lv_obj_t *lv_img_create(lv_obj_t *parent) {
    lv_obj_t *obj = lv_obj_class_create_obj(MY_CLASS, parent);
    if (obj == NULL)
        return NULL;
    lv_obj_class_init_obj(obj);
    return obj;
}

static void free_src(lv_img_t *img) {
    if (img->src_type == LV_IMG_SRC_FILE || img->src_type == LV_IMG_SRC_SYMBOL)
        lv_mem_free((void *)img->src);
    img->src = NULL;
    img->src_type = LV_IMG_SRC_UNKNOWN;
}

void lv_img_set_src(lv_obj_t *obj, const void *src) {
    lv_obj_invalidate(obj);
    lv_img_t *img = (lv_img_t *)obj;
    lv_img_src_t src_type = lv_img_src_get_type(src);
    if (src_type == LV_IMG_SRC_UNKNOWN) {
        LV_LOG_WARN("unknown image type");
        free_src(img);
        img->w = 0;
        img->h = 0;
        lv_obj_refresh_self_size(obj);
        return;
    }
    lv_img_header_t header;
    if (lv_img_decoder_get_info(src, &header) != LV_RES_OK) {
        LV_LOG_WARN("can't read the image information");
        memset(&header, 0, sizeof(header));
    }
    if (src_type == LV_IMG_SRC_VARIABLE) {
        if (img->src_type != LV_IMG_SRC_VARIABLE)
            free_src(img);
        img->src = src;
    } else {
        /* Files and symbols are copied (the new string first: src may be the old one). */
        size_t len = strlen(src) + 1;
        char *n = lv_mem_alloc(len);
        LV_ASSERT_MALLOC(n);
        if (n == NULL)
            return;
        memcpy(n, src, len);
        free_src(img);
        img->src = n;
    }
    img->src_type = src_type;
    if (src_type == LV_IMG_SRC_SYMBOL) {
        const lv_font_t *font = lv_obj_get_style_text_font(obj, LV_PART_MAIN);
        lv_coord_t letter_space = lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN);
        lv_coord_t line_space = lv_obj_get_style_text_line_space(obj, LV_PART_MAIN);
        lv_point_t size;
        lv_txt_get_size(&size, img->src, font, letter_space, line_space, LV_COORD_MAX, LV_TEXT_FLAG_NONE);
        header.w = (uint32_t)size.x;
        header.h = (uint32_t)size.y;
    }
    img->w = (lv_coord_t)header.w;
    img->h = (lv_coord_t)header.h;
    img->cf = header.cf;
    img->pivot.x = img->w / 2;
    img->pivot.y = img->h / 2;
    lv_obj_refresh_self_size(obj);
    lv_obj_invalidate(obj);
}

void lv_img_set_offset_x(lv_obj_t *obj, lv_coord_t x) {
    lv_img_t *img = (lv_img_t *)obj;
    img->offset.x = x;
    lv_obj_invalidate(obj);
}

void lv_img_set_offset_y(lv_obj_t *obj, lv_coord_t y) {
    lv_img_t *img = (lv_img_t *)obj;
    img->offset.y = y;
    lv_obj_invalidate(obj);
}

void lv_img_set_angle(lv_obj_t *obj, int16_t angle) {
    lv_img_t *img = (lv_img_t *)obj;
    while (angle >= 3600)
        angle = (int16_t)(angle - 3600);
    while (angle < 0)
        angle = (int16_t)(angle + 3600);
    img->angle = (uint16_t)angle;
    lv_obj_invalidate(obj);
}

void lv_img_set_pivot(lv_obj_t *obj, lv_coord_t x, lv_coord_t y) {
    lv_img_t *img = (lv_img_t *)obj;
    img->pivot.x = x;
    img->pivot.y = y;
    lv_obj_invalidate(obj);
}

void lv_img_set_zoom(lv_obj_t *obj, uint16_t zoom) {
    lv_img_t *img = (lv_img_t *)obj;
    img->zoom = zoom == 0 ? 1 : zoom;
    lv_obj_invalidate(obj);
}

void lv_img_set_antialias(lv_obj_t *obj, bool antialias) {
    ((lv_img_t *)obj)->antialias = antialias;
    lv_obj_invalidate(obj);
}

void lv_img_set_size_mode(lv_obj_t *obj, lv_img_size_mode_t mode) {
    lv_img_t *img = (lv_img_t *)obj;
    if (img->obj_size_mode == mode)
        return;
    img->obj_size_mode = mode;
    lv_obj_invalidate(obj);
}

const void *lv_img_get_src(lv_obj_t *obj) {
    return ((lv_img_t *)obj)->src;
}

lv_coord_t lv_img_get_offset_x(lv_obj_t *obj) {
    return ((lv_img_t *)obj)->offset.x;
}

lv_coord_t lv_img_get_offset_y(lv_obj_t *obj) {
    return ((lv_img_t *)obj)->offset.y;
}

uint16_t lv_img_get_angle(lv_obj_t *obj) {
    return ((lv_img_t *)obj)->angle;
}

void lv_img_get_pivot(lv_obj_t *obj, lv_point_t *pivot) {
    *pivot = ((lv_img_t *)obj)->pivot;
}

uint16_t lv_img_get_zoom(lv_obj_t *obj) {
    return ((lv_img_t *)obj)->zoom;
}

bool lv_img_get_antialias(lv_obj_t *obj) {
    return ((lv_img_t *)obj)->antialias;
}

lv_img_size_mode_t lv_img_get_size_mode(lv_obj_t *obj) {
    return (lv_img_size_mode_t)((lv_img_t *)obj)->obj_size_mode;
}

static void lv_img_constructor(const lv_obj_class_t *class_p, lv_obj_t *obj) {
    LV_UNUSED(class_p);
    lv_img_t *img = (lv_img_t *)obj;
    img->src = NULL;
    img->src_type = LV_IMG_SRC_UNKNOWN;
    img->cf = 0;
    img->w = lv_obj_get_width(obj);
    img->h = lv_obj_get_height(obj);
    img->angle = 0;
    img->zoom = LV_IMG_ZOOM_NONE;
    img->antialias = 1;
    img->offset.x = 0;
    img->offset.y = 0;
    img->pivot.x = 0;
    img->pivot.y = 0;
    img->obj_size_mode = LV_IMG_SIZE_MODE_VIRTUAL;
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_CLICKABLE);
    lv_obj_add_flag(obj, LV_OBJ_FLAG_ADV_HITTEST);
}

static void lv_img_destructor(const lv_obj_class_t *class_p, lv_obj_t *obj) {
    LV_UNUSED(class_p);
    free_src((lv_img_t *)obj);
}

static void draw_img(lv_event_t *e) {
    lv_event_code_t code = lv_event_get_code(e);
    lv_obj_t *obj = lv_event_get_target(e);
    lv_img_t *img = (lv_img_t *)obj;
    if (code == LV_EVENT_COVER_CHECK) {
        lv_cover_check_info_t *info = lv_event_get_param(e);
        if (info->res == LV_COVER_RES_MASKED)
            return;
        if (img->src_type == LV_IMG_SRC_UNKNOWN || img->src_type == LV_IMG_SRC_SYMBOL) {
            info->res = LV_COVER_RES_NOT_COVER;
            return;
        }
        /* Only opaque colour formats can cover. */
        if (img->cf != LV_IMG_CF_TRUE_COLOR && img->cf != LV_IMG_CF_RAW) {
            info->res = LV_COVER_RES_NOT_COVER;
            return;
        }
        if (lv_obj_get_style_img_opa(obj, LV_PART_MAIN) != LV_OPA_COVER) {
            info->res = LV_COVER_RES_NOT_COVER;
            return;
        }
        lv_area_t a;
        lv_obj_get_content_coords(obj, &a);
        if (!_lv_area_is_in(info->area, &a, 0) || lv_area_get_width(&a) > img->w ||
            lv_area_get_height(&a) > img->h) {
            info->res = LV_COVER_RES_NOT_COVER;
        }
        return;
    }
    if (code != LV_EVENT_DRAW_MAIN)
        return;
    if (img->h == 0 || img->w == 0 || img->src == NULL)
        return;
    lv_draw_ctx_t *draw_ctx = lv_event_get_draw_ctx(e);
    lv_area_t img_max_area;
    lv_obj_get_content_coords(obj, &img_max_area);
    if (img->src_type == LV_IMG_SRC_FILE || img->src_type == LV_IMG_SRC_VARIABLE) {
        lv_draw_img_dsc_t img_dsc;
        lv_draw_img_dsc_init(&img_dsc);
        lv_obj_init_draw_img_dsc(obj, LV_PART_MAIN, &img_dsc);
        if (img_dsc.opa <= LV_OPA_MIN)
            return;
        img_dsc.zoom = img->zoom;
        img_dsc.angle = (int16_t)img->angle;
        img_dsc.pivot = img->pivot;
        img_dsc.antialias = img->antialias;
        lv_area_t img_clip_area;
        if (!_lv_area_intersect(&img_clip_area, draw_ctx->clip_area, &img_max_area))
            return;
        const lv_area_t *clip_area_ori = draw_ctx->clip_area;
        draw_ctx->clip_area = &img_clip_area;
        lv_coord_t offset_x = img->offset.x % img->w;
        lv_coord_t offset_y = img->offset.y % img->h;
        lv_area_t coords_tmp;
        coords_tmp.y1 = img_max_area.y1 + offset_y;
        if (coords_tmp.y1 > img_max_area.y1)
            coords_tmp.y1 -= img->h;
        coords_tmp.y2 = coords_tmp.y1 + img->h - 1;
        for (; coords_tmp.y1 < img_max_area.y2; coords_tmp.y1 += img->h, coords_tmp.y2 += img->h) {
            coords_tmp.x1 = img_max_area.x1 + offset_x;
            if (coords_tmp.x1 > img_max_area.x1)
                coords_tmp.x1 -= img->w;
            coords_tmp.x2 = coords_tmp.x1 + img->w - 1;
            for (; coords_tmp.x1 < img_max_area.x2; coords_tmp.x1 += img->w, coords_tmp.x2 += img->w) {
                lv_draw_img(draw_ctx, &img_dsc, &coords_tmp, img->src);
            }
        }
        draw_ctx->clip_area = clip_area_ori;
    } else if (img->src_type == LV_IMG_SRC_SYMBOL) {
        lv_draw_label_dsc_t label_dsc;
        lv_draw_label_dsc_init(&label_dsc);
        lv_obj_init_draw_label_dsc(obj, LV_PART_MAIN, &label_dsc);
        lv_draw_label(draw_ctx, &label_dsc, &obj->coords, img->src, NULL);
    }
}

static void lv_img_event(const lv_obj_class_t *class_p, lv_event_t *e) {
    LV_UNUSED(class_p);
    lv_event_code_t code = lv_event_get_code(e);
    /* Images draw no background of their own beyond the base object's. */
    if (lv_obj_event_base(MY_CLASS, e) != LV_RES_OK)
        return;
    lv_obj_t *obj = lv_event_get_target(e);
    lv_img_t *img = (lv_img_t *)obj;
    if (code == LV_EVENT_STYLE_CHANGED) {
        if (img->src_type == LV_IMG_SRC_SYMBOL)
            lv_img_set_src(obj, img->src);
    } else if (code == LV_EVENT_HIT_TEST) {
        lv_hit_test_info_t *info = lv_event_get_param(e);
        lv_area_t a;
        lv_obj_get_coords(obj, &a);
        info->res = _lv_area_is_point_on(&a, info->point, 0);
    } else if (code == LV_EVENT_GET_SELF_SIZE) {
        lv_point_t *p = lv_event_get_param(e);
        p->x = LV_MAX(p->x, img->w);
        p->y = LV_MAX(p->y, img->h);
    } else if (code == LV_EVENT_DRAW_MAIN || code == LV_EVENT_COVER_CHECK) {
        draw_img(e);
    }
}
