/**
 * @file lv_obj_draw.c
 * Draw descriptors filled from an object's styles, and the extra room an object draws around itself.
 *
 * A caller can switch a feature of a rectangle off beforehand by setting its opacity to
 * LV_OPA_TRANSP; such a feature is left alone. Every other opacity is scaled by the opacity the part
 * sets on itself (MAIN's opacity, own or inherited, is applied by drawing the object in a layer).
 */
#include "lv_obj.h"
#include "../misc/lv_math.h"
#include "../misc/lv_mem.h"

#include <string.h>

static lv_opa_t scaled(lv_opa_t value, lv_opa_t by) {
    if (by >= LV_OPA_MAX)
        return value;
    return (lv_opa_t)(((uint32_t)value * by) >> 8);
}

static void fill_bg(lv_obj_t *obj, uint32_t part, lv_draw_rect_dsc_t *d, lv_opa_t by) {
    lv_opa_t opa = lv_obj_get_style_bg_opa(obj, part);
    d->bg_opa = opa;
    if (opa <= LV_OPA_MIN)
        return;
    lv_color_t main_color = lv_obj_get_style_bg_color(obj, part);
    d->bg_color = main_color;
    const lv_grad_dsc_t *given = lv_obj_get_style_bg_grad(obj, part);
    if (given != NULL && given->dir != LV_GRAD_DIR_NONE) {
        d->bg_grad = *given;
    } else {
        /* A two-stop gradient from the separate properties. */
        lv_grad_dir_t dir = lv_obj_get_style_bg_grad_dir(obj, part);
        d->bg_grad.dir = dir;
        if (dir != LV_GRAD_DIR_NONE) {
            lv_gradient_stop_t *st = d->bg_grad.stops;
            st[0].color = main_color;
            st[0].frac = (uint8_t)lv_obj_get_style_bg_main_stop(obj, part);
            st[1].color = lv_obj_get_style_bg_grad_color(obj, part);
            st[1].frac = (uint8_t)lv_obj_get_style_bg_grad_stop(obj, part);
            d->bg_grad.stops_count = 2;
        }
    }
    d->bg_opa = scaled(opa, by);
}

static void fill_border(lv_obj_t *obj, uint32_t part, lv_draw_rect_dsc_t *d, lv_opa_t by) {
    lv_opa_t opa = lv_obj_get_style_border_opa(obj, part);
    if (opa > LV_OPA_MIN) {
        d->border_color = lv_obj_get_style_border_color(obj, part);
        d->border_side = lv_obj_get_style_border_side(obj, part);
    }
    d->border_opa = scaled(opa, by);
}

static void fill_outline(lv_obj_t *obj, uint32_t part, lv_draw_rect_dsc_t *d, lv_opa_t by) {
    lv_opa_t opa = lv_obj_get_style_outline_opa(obj, part);
    if (opa > LV_OPA_MIN) {
        d->outline_color = lv_obj_get_style_outline_color(obj, part);
        d->outline_pad = lv_obj_get_style_outline_pad(obj, part);
    }
    d->outline_opa = scaled(opa, by);
}

static void fill_bg_img(lv_obj_t *obj, uint32_t part, lv_draw_rect_dsc_t *d, lv_opa_t by) {
    lv_opa_t opa = lv_obj_get_style_bg_img_opa(obj, part);
    if (opa > LV_OPA_MIN) {
        d->bg_img_tiled = lv_obj_get_style_bg_img_tiled(obj, part);
        d->bg_img_recolor = lv_obj_get_style_bg_img_recolor(obj, part);
        d->bg_img_recolor_opa = lv_obj_get_style_bg_img_recolor_opa(obj, part);
        d->bg_img_symbol_font = lv_obj_get_style_text_font(obj, part);
    }
    d->bg_img_opa = scaled(opa, by);
}

static void fill_shadow(lv_obj_t *obj, uint32_t part, lv_draw_rect_dsc_t *d, lv_opa_t by) {
    lv_opa_t opa = lv_obj_get_style_shadow_opa(obj, part);
    if (opa > LV_OPA_MIN) {
        d->shadow_color = lv_obj_get_style_shadow_color(obj, part);
        d->shadow_spread = lv_obj_get_style_shadow_spread(obj, part);
        d->shadow_ofs_x = lv_obj_get_style_shadow_ofs_x(obj, part);
        d->shadow_ofs_y = lv_obj_get_style_shadow_ofs_y(obj, part);
    }
    d->shadow_opa = scaled(opa, by);
}

void lv_obj_init_draw_rect_dsc(lv_obj_t *obj, uint32_t part, lv_draw_rect_dsc_t *draw_dsc) {
    lv_draw_rect_dsc_t *d = draw_dsc;
    lv_opa_t by = _lv_obj_get_part_opa(obj, part);
    if (by <= LV_OPA_MIN) {
        d->bg_opa = d->bg_img_opa = d->border_opa = d->outline_opa = d->shadow_opa = LV_OPA_TRANSP;
        return;
    }
    d->radius = lv_obj_get_style_radius(obj, part);
    d->blend_mode = lv_obj_get_style_blend_mode(obj, part);

    if (d->bg_opa != LV_OPA_TRANSP)
        fill_bg(obj, part, d, by);

    d->border_width = lv_obj_get_style_border_width(obj, part);
    if (d->border_width != 0 && d->border_opa != LV_OPA_TRANSP)
        fill_border(obj, part, d, by);

    d->outline_width = lv_obj_get_style_outline_width(obj, part);
    if (d->outline_width != 0 && d->outline_opa != LV_OPA_TRANSP)
        fill_outline(obj, part, d, by);

    if (d->bg_img_opa != LV_OPA_TRANSP) {
        d->bg_img_src = lv_obj_get_style_bg_img_src(obj, part);
        if (d->bg_img_src != NULL)
            fill_bg_img(obj, part, d, by);
    }

    if (d->shadow_opa != LV_OPA_TRANSP) {
        d->shadow_width = lv_obj_get_style_shadow_width(obj, part);
        if (d->shadow_width != 0)
            fill_shadow(obj, part, d, by);
    }
}

void lv_obj_init_draw_label_dsc(lv_obj_t *obj, uint32_t part, lv_draw_label_dsc_t *draw_dsc) {
    lv_opa_t own = lv_obj_get_style_text_opa(obj, part);
    draw_dsc->opa = own;
    if (own <= LV_OPA_MIN)
        return;
    lv_opa_t opa = scaled(own, _lv_obj_get_part_opa(obj, part));
    draw_dsc->opa = opa;
    if (opa <= LV_OPA_MIN)
        return;
    draw_dsc->font = lv_obj_get_style_text_font(obj, part);
    draw_dsc->color = lv_obj_get_style_text_color(obj, part);
    draw_dsc->align = lv_obj_get_style_text_align(obj, part);
    draw_dsc->decor = lv_obj_get_style_text_decor(obj, part);
    draw_dsc->letter_space = lv_obj_get_style_text_letter_space(obj, part);
    draw_dsc->line_space = lv_obj_get_style_text_line_space(obj, part);
    draw_dsc->blend_mode = lv_obj_get_style_blend_mode(obj, part);
}

void lv_obj_init_draw_img_dsc(lv_obj_t *obj, uint32_t part, lv_draw_img_dsc_t *draw_dsc) {
    lv_opa_t own = lv_obj_get_style_img_opa(obj, part);
    draw_dsc->opa = own;
    if (own <= LV_OPA_MIN)
        return;
    lv_opa_t opa = scaled(own, _lv_obj_get_part_opa(obj, part));
    draw_dsc->opa = opa;
    if (opa <= LV_OPA_MIN)
        return;
    /* Objects are not rotated or zoomed; an image would turn about the object's centre. */
    draw_dsc->angle = 0;
    draw_dsc->zoom = LV_IMG_ZOOM_NONE;
    draw_dsc->pivot.x = (lv_coord_t)(lv_area_get_width(&obj->coords) / 2);
    draw_dsc->pivot.y = (lv_coord_t)(lv_area_get_height(&obj->coords) / 2);
    draw_dsc->blend_mode = lv_obj_get_style_blend_mode(obj, part);
    lv_opa_t recolor_opa = lv_obj_get_style_img_recolor_opa(obj, part);
    draw_dsc->recolor_opa = recolor_opa;
    if (recolor_opa != 0)
        draw_dsc->recolor = lv_obj_get_style_img_recolor(obj, part);
}

/* How far a visible shadow reaches past the object: half its blur, its spread and its offset. */
static lv_coord_t shadow_reach(lv_obj_t *obj, uint32_t part) {
    lv_coord_t blur = lv_obj_get_style_shadow_width(obj, part);
    if (blur == 0 || lv_obj_get_style_shadow_opa(obj, part) <= LV_OPA_MIN)
        return 0;
    lv_coord_t dx = LV_ABS(lv_obj_get_style_shadow_ofs_x(obj, part));
    lv_coord_t dy = LV_ABS(lv_obj_get_style_shadow_ofs_y(obj, part));
    return (lv_coord_t)(blur / 2 + 1 + lv_obj_get_style_shadow_spread(obj, part) + LV_MAX(dx, dy));
}

static lv_coord_t outline_reach(lv_obj_t *obj, uint32_t part) {
    lv_coord_t w = lv_obj_get_style_outline_width(obj, part);
    if (w == 0 || lv_obj_get_style_outline_opa(obj, part) <= LV_OPA_MIN)
        return 0;
    return (lv_coord_t)(w + lv_obj_get_style_outline_pad(obj, part));
}

lv_coord_t lv_obj_calculate_ext_draw_size(lv_obj_t *obj, uint32_t part) {
    lv_coord_t reach = LV_MAX(LV_MAX(shadow_reach(obj, part), outline_reach(obj, part)), 0);
    lv_coord_t grow =
        LV_MAX(lv_obj_get_style_transform_width(obj, part), lv_obj_get_style_transform_height(obj, part));
    return grow > 0 ? (lv_coord_t)(reach + grow) : reach;
}

void lv_obj_draw_dsc_init(lv_obj_draw_part_dsc_t *dsc, lv_draw_ctx_t *draw_ctx) {
    memset(dsc, 0, sizeof(*dsc));
    dsc->draw_ctx = draw_ctx;
}

bool lv_obj_draw_part_check_type(lv_obj_draw_part_dsc_t *dsc, const lv_obj_class_t *class_p, uint32_t type) {
    return dsc->type == type && dsc->class_p == class_p;
}

lv_coord_t _lv_obj_get_ext_draw_size(const lv_obj_t *obj) {
    return obj->spec_attr != NULL ? obj->spec_attr->ext_draw_size : 0;
}

void lv_obj_refresh_ext_draw_size(lv_obj_t *obj) {
    lv_coord_t was = _lv_obj_get_ext_draw_size(obj);
    lv_coord_t now = 0;
    lv_event_send(obj, LV_EVENT_REFR_EXT_DRAW_SIZE, &now);
    if (now == was)
        return;
    /* Both the old and the new extent are redrawn. */
    lv_obj_invalidate(obj);
    lv_obj_allocate_spec_attr(obj);
    obj->spec_attr->ext_draw_size = now;
    lv_obj_invalidate(obj);
}
