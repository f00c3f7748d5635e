/**
 * @file lv_bar.c
 */
#include "lv_bar.h"
#include "../misc/lv_math.h"

#define MY_CLASS                         &lv_bar_class
#define LV_BAR_ANIM_STATE_START          0
#define LV_BAR_ANIM_STATE_END            256
#define LV_BAR_ANIM_STATE_INV            -1
#define LV_BAR_IS_ANIMATING(anim_struct) (((anim_struct).anim_state) != LV_BAR_ANIM_STATE_INV)
#define LV_BAR_GET_ANIM_VALUE(orig_value, anim_struct)                                                       \
    (LV_BAR_IS_ANIMATING(anim_struct) ? ((anim_struct).anim_end) : (orig_value))

static void lv_bar_constructor(const lv_obj_class_t *class_p, lv_obj_t *obj);
static void lv_bar_destructor(const lv_obj_class_t *class_p, lv_obj_t *obj);
static void lv_bar_event(const lv_obj_class_t *class_p, lv_event_t *e);
static void lv_bar_set_value_with_anim(lv_obj_t *obj, int32_t new_value, int32_t *value_ptr,
                                       _lv_bar_anim_t *anim_info, lv_anim_enable_t en);

const lv_obj_class_t lv_bar_class = {
    .constructor_cb = lv_bar_constructor,
    .destructor_cb = lv_bar_destructor,
    .event_cb = lv_bar_event,
    .width_def = LV_DPI_DEF * 2,
    .height_def = LV_DPI_DEF / 10,
    .instance_size = sizeof(lv_bar_t),
    .base_class = &lv_obj_class,
};

lv_obj_t *lv_bar_create(lv_obj_t *parent) {
    lv_obj_t *obj = lv_obj_class_create_obj(MY_CLASS, parent);
    if (obj == NULL)
        return NULL;
    lv_obj_class_init_obj(obj);
    return obj;
}

void lv_bar_set_value(lv_obj_t *obj, int32_t value, lv_anim_enable_t anim) {
    lv_bar_t *bar = (lv_bar_t *)obj;
    if (bar->cur_value == value)
        return;
    value = LV_CLAMP(bar->min_value, value, bar->max_value);
    value = value < bar->start_value ? bar->start_value : value;
    if (bar->cur_value == value)
        return;
    lv_bar_set_value_with_anim(obj, value, &bar->cur_value, &bar->cur_value_anim, anim);
}

void lv_bar_set_start_value(lv_obj_t *obj, int32_t value, lv_anim_enable_t anim) {
    lv_bar_t *bar = (lv_bar_t *)obj;
    if (bar->mode != LV_BAR_MODE_RANGE)
        return;
    value = LV_CLAMP(bar->min_value, value, bar->max_value);
    value = value > bar->cur_value ? bar->cur_value : value;
    if (bar->start_value == value)
        return;
    lv_bar_set_value_with_anim(obj, value, &bar->start_value, &bar->start_value_anim, anim);
}

void lv_bar_set_range(lv_obj_t *obj, int32_t min, int32_t max) {
    lv_bar_t *bar = (lv_bar_t *)obj;
    if (bar->min_value == min && bar->max_value == max)
        return;
    bar->max_value = max;
    bar->min_value = min;
    if (lv_bar_get_mode(obj) != LV_BAR_MODE_RANGE)
        bar->start_value = min;
    if (bar->cur_value > max) {
        bar->cur_value = max;
        lv_bar_set_value(obj, bar->cur_value, LV_ANIM_OFF);
    }
    if (bar->cur_value < min) {
        bar->cur_value = min;
        lv_bar_set_value(obj, bar->cur_value, LV_ANIM_OFF);
    }
    lv_obj_invalidate(obj);
}

void lv_bar_set_mode(lv_obj_t *obj, lv_bar_mode_t mode) {
    lv_bar_t *bar = (lv_bar_t *)obj;
    bar->mode = mode;
    if (bar->mode != LV_BAR_MODE_RANGE)
        bar->start_value = bar->min_value;
    lv_obj_invalidate(obj);
}

int32_t lv_bar_get_value(const lv_obj_t *obj) {
    const lv_bar_t *bar = (const lv_bar_t *)obj;
    return LV_BAR_GET_ANIM_VALUE(bar->cur_value, bar->cur_value_anim);
}

int32_t lv_bar_get_start_value(const lv_obj_t *obj) {
    const lv_bar_t *bar = (const lv_bar_t *)obj;
    if (bar->mode != LV_BAR_MODE_RANGE)
        return bar->min_value;
    return LV_BAR_GET_ANIM_VALUE(bar->start_value, bar->start_value_anim);
}

int32_t lv_bar_get_min_value(const lv_obj_t *obj) {
    return ((const lv_bar_t *)obj)->min_value;
}

int32_t lv_bar_get_max_value(const lv_obj_t *obj) {
    return ((const lv_bar_t *)obj)->max_value;
}

lv_bar_mode_t lv_bar_get_mode(lv_obj_t *obj) {
    return ((lv_bar_t *)obj)->mode;
}

static void lv_bar_init_anim(_lv_bar_anim_t *bar_anim, lv_obj_t *obj) {
    bar_anim->bar = obj;
    bar_anim->anim_start = 0;
    bar_anim->anim_end = 0;
    bar_anim->anim_state = LV_BAR_ANIM_STATE_INV;
}

static void lv_bar_constructor(const lv_obj_class_t *class_p, lv_obj_t *obj) {
    LV_UNUSED(class_p);
    lv_bar_t *bar = (lv_bar_t *)obj;
    bar->min_value = 0;
    bar->max_value = 100;
    bar->start_value = 0;
    bar->cur_value = 0;
    bar->mode = LV_BAR_MODE_NORMAL;
    lv_bar_init_anim(&bar->cur_value_anim, obj);
    lv_bar_init_anim(&bar->start_value_anim, obj);
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_CHECKABLE);
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_SCROLLABLE);
    lv_bar_set_value(obj, 0, LV_ANIM_OFF);
}

static void lv_bar_destructor(const lv_obj_class_t *class_p, lv_obj_t *obj) {
    LV_UNUSED(class_p);
    lv_bar_t *bar = (lv_bar_t *)obj;
    lv_anim_del(&bar->cur_value_anim, NULL);
    lv_anim_del(&bar->start_value_anim, NULL);
}

static void calc_indic_area(lv_obj_t *obj) {
    lv_bar_t *bar = (lv_bar_t *)obj;
    lv_area_t bar_coords;
    lv_obj_get_coords(obj, &bar_coords);
    lv_coord_t barw = lv_area_get_width(&bar_coords);
    lv_coord_t barh = lv_area_get_height(&bar_coords);
    int32_t range = bar->max_value - bar->min_value;
    bool hor = barw >= barh;
    bar->indic_area = bar_coords;
    bar->indic_area.x1 += lv_obj_get_style_pad_left(obj, LV_PART_MAIN);
    bar->indic_area.x2 -= lv_obj_get_style_pad_right(obj, LV_PART_MAIN);
    bar->indic_area.y1 += lv_obj_get_style_pad_top(obj, LV_PART_MAIN);
    bar->indic_area.y2 -= lv_obj_get_style_pad_bottom(obj, LV_PART_MAIN);
    lv_coord_t anim_length = hor ? lv_area_get_width(&bar->indic_area) : lv_area_get_height(&bar->indic_area);
    if (range <= 0)
        range = 1;
    int32_t anim_start_value_x, anim_cur_value_x;
    if (LV_BAR_IS_ANIMATING(bar->start_value_anim)) {
        int32_t s = (anim_length * (bar->start_value_anim.anim_start - bar->min_value)) / range;
        int32_t e = (anim_length * (bar->start_value_anim.anim_end - bar->min_value)) / range;
        anim_start_value_x = s + (((e - s) * bar->start_value_anim.anim_state) >> 8);
    } else {
        anim_start_value_x = (anim_length * (bar->start_value - bar->min_value)) / range;
    }
    if (LV_BAR_IS_ANIMATING(bar->cur_value_anim)) {
        int32_t s = (anim_length * (bar->cur_value_anim.anim_start - bar->min_value)) / range;
        int32_t e = (anim_length * (bar->cur_value_anim.anim_end - bar->min_value)) / range;
        anim_cur_value_x = s + (((e - s) * bar->cur_value_anim.anim_state) >> 8);
    } else {
        anim_cur_value_x = (anim_length * (bar->cur_value - bar->min_value)) / range;
    }
    if (hor) {
        bar->indic_area.x2 = bar->indic_area.x1 + anim_cur_value_x - 1;
        bar->indic_area.x1 += anim_start_value_x;
    } else {
        bar->indic_area.y1 = bar->indic_area.y2 - anim_cur_value_x + 1;
        bar->indic_area.y2 -= anim_start_value_x;
    }
}

static void draw_indicator(lv_event_t *e) {
    lv_obj_t *obj = lv_event_get_target(e);
    lv_bar_t *bar = (lv_bar_t *)obj;
    lv_draw_ctx_t *draw_ctx = lv_event_get_draw_ctx(e);
    calc_indic_area(obj);
    if (lv_area_get_width(&bar->indic_area) <= 0 || lv_area_get_height(&bar->indic_area) <= 0)
        return;
    lv_draw_rect_dsc_t draw_rect_dsc;
    lv_draw_rect_dsc_init(&draw_rect_dsc);
    lv_obj_init_draw_rect_dsc(obj, LV_PART_INDICATOR, &draw_rect_dsc);
    /* The indicator stays within the rounded background. */
    lv_coord_t bg_radius = lv_obj_get_style_radius(obj, LV_PART_MAIN);
    lv_coord_t short_side = LV_MIN(lv_obj_get_width(obj), lv_obj_get_height(obj));
    bg_radius = LV_MIN(bg_radius, short_side / 2);
    lv_coord_t indic_short =
        LV_MIN(lv_area_get_width(&bar->indic_area), lv_area_get_height(&bar->indic_area));
    draw_rect_dsc.radius = LV_MIN(LV_MIN(draw_rect_dsc.radius, bg_radius), indic_short / 2);
    lv_obj_draw_part_dsc_t part_draw_dsc;
    lv_obj_draw_dsc_init(&part_draw_dsc, draw_ctx);
    part_draw_dsc.part = LV_PART_INDICATOR;
    part_draw_dsc.class_p = MY_CLASS;
    part_draw_dsc.draw_area = &bar->indic_area;
    part_draw_dsc.rect_dsc = &draw_rect_dsc;
    lv_event_send(obj, LV_EVENT_DRAW_PART_BEGIN, &part_draw_dsc);
    lv_area_t clip;
    if (_lv_area_intersect(&clip, draw_ctx->clip_area, &obj->coords)) {
        const lv_area_t *ori = draw_ctx->clip_area;
        draw_ctx->clip_area = &clip;
        lv_draw_rect(draw_ctx, &draw_rect_dsc, &bar->indic_area);
        draw_ctx->clip_area = ori;
    }
    lv_event_send(obj, LV_EVENT_DRAW_PART_END, &part_draw_dsc);
}

static void lv_bar_event(const lv_obj_class_t *class_p, lv_event_t *e) {
    LV_UNUSED(class_p);
    if (lv_obj_event_base(MY_CLASS, e) != LV_RES_OK)
        return;
    lv_event_code_t code = lv_event_get_code(e);
    lv_obj_t *obj = lv_event_get_target(e);
    if (code == LV_EVENT_REFR_EXT_DRAW_SIZE) {
        lv_coord_t indic_size = lv_obj_calculate_ext_draw_size(obj, LV_PART_INDICATOR);
        lv_coord_t *s = lv_event_get_param(e);
        *s = LV_MAX(*s, indic_size);
        lv_coord_t pad = LV_MIN4(lv_obj_get_style_pad_left(obj, 0), lv_obj_get_style_pad_right(obj, 0),
                                 lv_obj_get_style_pad_top(obj, 0), lv_obj_get_style_pad_bottom(obj, 0));
        if (pad < 0)
            *s = LV_MAX(*s, -pad);
    } else if (code == LV_EVENT_PRESSED || code == LV_EVENT_RELEASED) {
        lv_bar_t *bar = (lv_bar_t *)obj;
        lv_obj_invalidate_area(obj, &bar->indic_area);
    } else if (code == LV_EVENT_DRAW_MAIN) {
        draw_indicator(e);
    }
}

static void lv_bar_anim(void *var, int32_t value) {
    _lv_bar_anim_t *bar_anim = var;
    bar_anim->anim_state = value;
    lv_obj_invalidate(bar_anim->bar);
}

static void lv_bar_anim_ready(lv_anim_t *a) {
    _lv_bar_anim_t *var = a->var;
    lv_obj_t *obj = var->bar;
    lv_bar_t *bar = (lv_bar_t *)obj;
    var->anim_state = LV_BAR_ANIM_STATE_INV;
    if (var == &bar->cur_value_anim)
        bar->cur_value = var->anim_end;
    else if (var == &bar->start_value_anim)
        bar->start_value = var->anim_end;
    lv_obj_invalidate(var->bar);
}

static void lv_bar_set_value_with_anim(lv_obj_t *obj, int32_t new_value, int32_t *value_ptr,
                                       _lv_bar_anim_t *anim_info, lv_anim_enable_t en) {
    if (en == LV_ANIM_OFF) {
        lv_anim_del(anim_info, NULL);
        anim_info->anim_state = LV_BAR_ANIM_STATE_INV;
        *value_ptr = new_value;
        lv_obj_invalidate(obj);
        return;
    }
    uint32_t anim_time = lv_obj_get_style_anim_time(obj, LV_PART_MAIN);
    if (anim_time == 0) {
        lv_anim_del(anim_info, NULL);
        anim_info->anim_state = LV_BAR_ANIM_STATE_INV;
        *value_ptr = new_value;
        lv_obj_invalidate(obj);
        return;
    }
    /* A running animation continues from where it is now. */
    if (anim_info->anim_state == LV_BAR_ANIM_STATE_INV)
        anim_info->anim_start = *value_ptr;
    else
        anim_info->anim_start =
            anim_info->anim_start +
            (((anim_info->anim_end - anim_info->anim_start) * anim_info->anim_state) >> 8);
    anim_info->anim_end = new_value;
    *value_ptr = new_value;
    lv_anim_del(anim_info, NULL);
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, anim_info);
    lv_anim_set_exec_cb(&a, lv_bar_anim);
    lv_anim_set_values(&a, LV_BAR_ANIM_STATE_START, LV_BAR_ANIM_STATE_END);
    lv_anim_set_ready_cb(&a, lv_bar_anim_ready);
    lv_anim_set_time(&a, anim_time);
    lv_anim_start(&a);
}
