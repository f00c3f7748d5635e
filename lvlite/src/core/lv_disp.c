/**
 * @file lv_disp.c
 */
#include "lv_disp.h"
#include "lv_refr.h"
#include "../misc/lv_math.h"

lv_obj_t *lv_disp_get_scr_act(lv_disp_t *disp) {
    if (!disp)
        disp = lv_disp_get_default();
    if (!disp) {
        LV_LOG_WARN("no display registered to get its active screen");
        return NULL;
    }
    return disp->act_scr;
}

lv_obj_t *lv_disp_get_scr_prev(lv_disp_t *disp) {
    if (!disp)
        disp = lv_disp_get_default();
    return disp ? disp->prev_scr : NULL;
}

void lv_disp_load_scr(lv_obj_t *scr) {
    lv_scr_load_anim(scr, LV_SCR_LOAD_ANIM_NONE, 0, 0, false);
}

lv_obj_t *lv_disp_get_layer_top(lv_disp_t *disp) {
    if (!disp)
        disp = lv_disp_get_default();
    return disp ? disp->top_layer : NULL;
}

lv_obj_t *lv_disp_get_layer_sys(lv_disp_t *disp) {
    if (!disp)
        disp = lv_disp_get_default();
    return disp ? disp->sys_layer : NULL;
}

void lv_disp_set_bg_color(lv_disp_t *disp, lv_color_t color) {
    if (!disp)
        disp = lv_disp_get_default();
    if (!disp)
        return;
    disp->bg_color = color;
    lv_area_t a;
    lv_area_set(&a, 0, 0, lv_disp_get_hor_res(disp) - 1, lv_disp_get_ver_res(disp) - 1);
    _lv_inv_area(disp, &a);
}

void lv_disp_set_bg_image(lv_disp_t *disp, const void *img_src) {
    if (!disp)
        disp = lv_disp_get_default();
    if (!disp)
        return;
    disp->bg_img = img_src;
    lv_area_t a;
    lv_area_set(&a, 0, 0, lv_disp_get_hor_res(disp) - 1, lv_disp_get_ver_res(disp) - 1);
    _lv_inv_area(disp, &a);
}

void lv_disp_set_bg_opa(lv_disp_t *disp, lv_opa_t opa) {
    if (!disp)
        disp = lv_disp_get_default();
    if (!disp)
        return;
    disp->bg_opa = opa;
    lv_area_t a;
    lv_area_set(&a, 0, 0, lv_disp_get_hor_res(disp) - 1, lv_disp_get_ver_res(disp) - 1);
    _lv_inv_area(disp, &a);
}

static void scr_load_internal(lv_obj_t *scr) {
    lv_disp_t *d = lv_obj_get_disp(scr);
    if (!d)
        return;
    lv_obj_t *old_scr = d->act_scr;
    if (old_scr)
        lv_event_send(old_scr, LV_EVENT_SCREEN_UNLOAD_START, NULL);
    lv_event_send(scr, LV_EVENT_SCREEN_LOAD_START, NULL);
    d->act_scr = scr;
    d->scr_to_load = NULL;
    lv_event_send(scr, LV_EVENT_SCREEN_LOADED, NULL);
    if (old_scr)
        lv_event_send(old_scr, LV_EVENT_SCREEN_UNLOADED, NULL);
    if (d->del_prev && old_scr && old_scr != scr) {
        lv_obj_del(old_scr);
        d->del_prev = 0;
    }
    lv_obj_invalidate(scr);
}

static void scr_load_delayed(lv_anim_t *a) {
    scr_load_internal(a->var);
}

static void scr_load_noop(void *var, int32_t v) {
    LV_UNUSED(var);
    LV_UNUSED(v);
}

void lv_scr_load_anim(lv_obj_t *scr, lv_scr_load_anim_t anim_type, uint32_t time, uint32_t delay,
                      bool auto_del) {
    LV_UNUSED(anim_type);
    lv_disp_t *d = lv_obj_get_disp(scr);
    if (!d)
        return;
    d->del_prev = auto_del;
    if (time + delay == 0) {
        scr_load_internal(scr);
        return;
    }
    d->scr_to_load = scr;
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, scr);
    lv_anim_set_exec_cb(&a, scr_load_noop);
    lv_anim_set_time(&a, time);
    lv_anim_set_delay(&a, delay);
    lv_anim_set_ready_cb(&a, scr_load_delayed);
    lv_anim_start(&a);
}

uint32_t lv_disp_get_inactive_time(const lv_disp_t *disp) {
    if (disp)
        return lv_tick_elaps(disp->last_activity_time);
    uint32_t t = UINT32_MAX;
    lv_disp_t *d = lv_disp_get_next(NULL);
    while (d) {
        uint32_t elaps = lv_tick_elaps(d->last_activity_time);
        t = LV_MIN(t, elaps);
        d = lv_disp_get_next(d);
    }
    return t;
}

void lv_disp_trig_activity(lv_disp_t *disp) {
    if (!disp)
        disp = lv_disp_get_default();
    if (disp)
        disp->last_activity_time = lv_tick_get();
}

void lv_disp_clean_dcache(lv_disp_t *disp) {
    if (!disp)
        disp = lv_disp_get_default();
    if (disp && disp->driver->clean_dcache_cb)
        disp->driver->clean_dcache_cb(disp->driver);
}

void lv_disp_enable_invalidation(lv_disp_t *disp, bool en) {
    if (!disp)
        disp = lv_disp_get_default();
    if (!disp)
        return;
    disp->inv_en_cnt += en ? 1 : -1;
}

bool lv_disp_is_invalidation_enabled(lv_disp_t *disp) {
    if (!disp)
        disp = lv_disp_get_default();
    if (!disp)
        return false;
    return disp->inv_en_cnt > 0;
}

lv_timer_t *_lv_disp_get_refr_timer(lv_disp_t *disp) {
    if (!disp)
        disp = lv_disp_get_default();
    return disp ? disp->refr_timer : NULL;
}
