/**
 * @file lv_bar.c
 * A bar shows [start, value] of [min, max] as its indicator, horizontally when it is at least as wide
 * as tall. Each end of the indicator can glide to a new value: a glide runs a progress of 0..BAR_STEPS
 * between the pixel positions of the old and the new value.
 */
#include "lv_bar.h"
#include "../misc/lv_math.h"

#define BAR_STEPS 256
#define BAR_IDLE  (-1)

static void bar_ctor(const lv_obj_class_t *cls, lv_obj_t *obj);
static void bar_dtor(const lv_obj_class_t *cls, lv_obj_t *obj);
static void bar_on_event(const lv_obj_class_t *cls, lv_event_t *e);

const lv_obj_class_t lv_bar_class = {
    .constructor_cb = bar_ctor,
    .destructor_cb = bar_dtor,
    .event_cb = bar_on_event,
    .width_def = LV_DPI_DEF * 2,
    .height_def = LV_DPI_DEF / 10,
    .instance_size = sizeof(lv_bar_t),
    .base_class = &lv_obj_class,
};

static inline lv_bar_t *as_bar(const lv_obj_t *obj) {
    return (lv_bar_t *)obj;
}

static bool gliding(const _lv_bar_anim_t *g) {
    return g->anim_state != BAR_IDLE;
}

/* Where the glide is now, in value units (for a glide interrupted by another). */
static int32_t glide_now(const _lv_bar_anim_t *g) {
    return g->anim_start + (((g->anim_end - g->anim_start) * g->anim_state) >> 8);
}

static void glide_step(void *var, int32_t progress) {
    _lv_bar_anim_t *g = var;
    g->anim_state = progress;
    lv_obj_invalidate(g->bar);
}

static void glide_done(lv_anim_t *a) {
    _lv_bar_anim_t *g = a->var;
    lv_bar_t *bar = as_bar(g->bar);
    int32_t *field = g == &bar->start_value_anim ? &bar->start_value : &bar->cur_value;
    g->anim_state = BAR_IDLE;
    *field = g->anim_end;
    lv_obj_invalidate(g->bar);
}

/* Moves one end (*field, with its glide g) to target, gliding when asked and the style gives a time. */
static void move_end(lv_obj_t *obj, int32_t *field, _lv_bar_anim_t *g, int32_t target,
                     lv_anim_enable_t anim) {
    uint32_t dur = anim == LV_ANIM_ON ? lv_obj_get_style_anim_time(obj, LV_PART_MAIN) : 0;
    lv_anim_del(g, NULL);
    if (dur == 0) {
        g->anim_state = BAR_IDLE;
        *field = target;
        lv_obj_invalidate(obj);
        return;
    }
    g->anim_start = gliding(g) ? glide_now(g) : *field;
    g->anim_end = target;
    *field = target;

    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, g);
    lv_anim_set_exec_cb(&a, glide_step);
    lv_anim_set_ready_cb(&a, glide_done);
    lv_anim_set_values(&a, 0, BAR_STEPS);
    lv_anim_set_time(&a, dur);
    lv_anim_start(&a);
}

lv_obj_t *lv_bar_create(lv_obj_t *parent) {
    lv_obj_t *obj = lv_obj_class_create_obj(&lv_bar_class, parent);
    if (obj != NULL)
        lv_obj_class_init_obj(obj);
    return obj;
}

void lv_bar_set_value(lv_obj_t *obj, int32_t value, lv_anim_enable_t anim) {
    lv_bar_t *bar = as_bar(obj);
    int32_t v = LV_MAX(LV_CLAMP(bar->min_value, value, bar->max_value), bar->start_value);
    if (v != bar->cur_value)
        move_end(obj, &bar->cur_value, &bar->cur_value_anim, v, anim);
}

void lv_bar_set_start_value(lv_obj_t *obj, int32_t start_value, lv_anim_enable_t anim) {
    lv_bar_t *bar = as_bar(obj);
    if (bar->mode != LV_BAR_MODE_RANGE)
        return;
    int32_t v = LV_MIN(LV_CLAMP(bar->min_value, start_value, bar->max_value), bar->cur_value);
    if (v != bar->start_value)
        move_end(obj, &bar->start_value, &bar->start_value_anim, v, anim);
}

void lv_bar_set_range(lv_obj_t *obj, int32_t min, int32_t max) {
    lv_bar_t *bar = as_bar(obj);
    if (min == bar->min_value && max == bar->max_value)
        return;
    bar->min_value = min;
    bar->max_value = max;
    if (bar->mode != LV_BAR_MODE_RANGE)
        bar->start_value = min;
    if (bar->cur_value > max)
        bar->cur_value = max;
    if (bar->cur_value < min)
        bar->cur_value = min;
    lv_obj_invalidate(obj);
}

void lv_bar_set_mode(lv_obj_t *obj, lv_bar_mode_t mode) {
    lv_bar_t *bar = as_bar(obj);
    bar->mode = mode;
    if (mode != LV_BAR_MODE_RANGE)
        bar->start_value = bar->min_value;
    lv_obj_invalidate(obj);
}

/* While an end glides, the getters give where it is going. */
int32_t lv_bar_get_value(const lv_obj_t *obj) {
    const lv_bar_t *bar = as_bar(obj);
    return gliding(&bar->cur_value_anim) ? bar->cur_value_anim.anim_end : bar->cur_value;
}

int32_t lv_bar_get_start_value(const lv_obj_t *obj) {
    const lv_bar_t *bar = as_bar(obj);
    if (bar->mode != LV_BAR_MODE_RANGE)
        return bar->min_value;
    return gliding(&bar->start_value_anim) ? bar->start_value_anim.anim_end : bar->start_value;
}

int32_t lv_bar_get_min_value(const lv_obj_t *obj) {
    return as_bar(obj)->min_value;
}

int32_t lv_bar_get_max_value(const lv_obj_t *obj) {
    return as_bar(obj)->max_value;
}

lv_bar_mode_t lv_bar_get_mode(lv_obj_t *obj) {
    return as_bar(obj)->mode;
}

static void bar_ctor(const lv_obj_class_t *cls, lv_obj_t *obj) {
    LV_UNUSED(cls);
    lv_bar_t *bar = as_bar(obj);
    bar->mode = LV_BAR_MODE_NORMAL;
    bar->cur_value = bar->start_value = bar->min_value = 0;
    bar->max_value = 100;
    _lv_bar_anim_t *ends[2] = {&bar->cur_value_anim, &bar->start_value_anim};
    for (int i = 0; i < 2; i++) {
        ends[i]->bar = obj;
        ends[i]->anim_start = ends[i]->anim_end = 0;
        ends[i]->anim_state = BAR_IDLE;
    }
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_CHECKABLE | LV_OBJ_FLAG_SCROLLABLE);
}

static void bar_dtor(const lv_obj_class_t *cls, lv_obj_t *obj) {
    LV_UNUSED(cls);
    lv_anim_del(&as_bar(obj)->cur_value_anim, NULL);
    lv_anim_del(&as_bar(obj)->start_value_anim, NULL);
}

/* Pixel offset of one end of the indicator along a track of len pixels. */
static int32_t end_offset(const lv_bar_t *bar, int32_t value, const _lv_bar_anim_t *g, lv_coord_t len) {
    int32_t span = LV_MAX(bar->max_value - bar->min_value, 1);
    if (!gliding(g))
        return len * (value - bar->min_value) / span;
    int32_t from = len * (g->anim_start - bar->min_value) / span;
    int32_t to = len * (g->anim_end - bar->min_value) / span;
    return from + (((to - from) * g->anim_state) >> 8);
}

static void place_indicator(lv_obj_t *obj) {
    lv_bar_t *bar = as_bar(obj);
    lv_area_t *ind = &bar->indic_area;
    *ind = obj->coords;
    bool across = lv_area_get_width(&obj->coords) >= lv_area_get_height(&obj->coords);
    ind->x1 += lv_obj_get_style_pad_left(obj, LV_PART_MAIN);
    ind->y1 += lv_obj_get_style_pad_top(obj, LV_PART_MAIN);
    ind->x2 -= lv_obj_get_style_pad_right(obj, LV_PART_MAIN);
    ind->y2 -= lv_obj_get_style_pad_bottom(obj, LV_PART_MAIN);
    lv_coord_t len = across ? lv_area_get_width(ind) : lv_area_get_height(ind);
    int32_t lo = end_offset(bar, bar->start_value, &bar->start_value_anim, len);
    int32_t hi = end_offset(bar, bar->cur_value, &bar->cur_value_anim, len);
    if (across) {
        ind->x2 = (lv_coord_t)(ind->x1 + hi - 1);
        ind->x1 = (lv_coord_t)(ind->x1 + lo);
    } else {
        /* A vertical bar fills from the bottom. */
        ind->y1 = (lv_coord_t)(ind->y2 - hi + 1);
        ind->y2 = (lv_coord_t)(ind->y2 - lo);
    }
}

static void draw_indicator(lv_event_t *e) {
    lv_obj_t *obj = lv_event_get_target(e);
    lv_area_t *ind = &as_bar(obj)->indic_area;
    place_indicator(obj);
    lv_coord_t iw = lv_area_get_width(ind), ih = lv_area_get_height(ind);
    if (iw <= 0 || ih <= 0)
        return;
    lv_draw_ctx_t *ctx = lv_event_get_draw_ctx(e);
    lv_draw_rect_dsc_t rect;
    lv_draw_rect_dsc_init(&rect);
    lv_obj_init_draw_rect_dsc(obj, LV_PART_INDICATOR, &rect);
    /* Never rounder than the background nor than half the indicator's own short side. */
    lv_coord_t limit = LV_MIN(lv_obj_get_width(obj), lv_obj_get_height(obj)) / 2;
    limit = LV_MIN(limit, lv_obj_get_style_radius(obj, LV_PART_MAIN));
    limit = LV_MIN(limit, LV_MIN(iw, ih) / 2);
    rect.radius = LV_MIN(rect.radius, limit);

    lv_obj_draw_part_dsc_t part;
    lv_obj_draw_dsc_init(&part, ctx);
    part.class_p = &lv_bar_class;
    part.part = LV_PART_INDICATOR;
    part.draw_area = ind;
    part.rect_dsc = &rect;
    lv_event_send(obj, LV_EVENT_DRAW_PART_BEGIN, &part);
    const lv_area_t *outer = ctx->clip_area;
    lv_area_t inside;
    if (_lv_area_intersect(&inside, outer, &obj->coords)) {
        ctx->clip_area = &inside;
        lv_draw_rect(ctx, &rect, ind);
        ctx->clip_area = outer;
    }
    lv_event_send(obj, LV_EVENT_DRAW_PART_END, &part);
}

static void grow_ext_size(lv_obj_t *obj, lv_coord_t *ext) {
    *ext = LV_MAX(*ext, lv_obj_calculate_ext_draw_size(obj, LV_PART_INDICATOR));
    /* A negative padding lets the indicator stick out of the bar. */
    lv_coord_t pads[4] = {
        lv_obj_get_style_pad_left(obj, LV_PART_MAIN), lv_obj_get_style_pad_right(obj, LV_PART_MAIN),
        lv_obj_get_style_pad_top(obj, LV_PART_MAIN), lv_obj_get_style_pad_bottom(obj, LV_PART_MAIN)};
    for (int i = 0; i < 4; i++)
        *ext = LV_MAX(*ext, -pads[i]);
}

static void bar_on_event(const lv_obj_class_t *cls, lv_event_t *e) {
    LV_UNUSED(cls);
    if (lv_obj_event_base(&lv_bar_class, e) != LV_RES_OK)
        return;
    lv_obj_t *obj = lv_event_get_target(e);
    switch (lv_event_get_code(e)) {
    case LV_EVENT_REFR_EXT_DRAW_SIZE:
        grow_ext_size(obj, lv_event_get_param(e));
        break;
    case LV_EVENT_PRESSED:
    case LV_EVENT_RELEASED:
        lv_obj_invalidate_area(obj, &as_bar(obj)->indic_area);
        break;
    case LV_EVENT_DRAW_MAIN:
        draw_indicator(e);
        break;
    default:
        break;
    }
}
