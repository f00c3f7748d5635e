/**
 * @file lv_disp.c
 * Screens, layers, background and activity of a display. Every function takes NULL for the default
 * display.
 */
#include "lv_disp.h"
#include "lv_refr.h"
#include "../misc/lv_math.h"

static lv_disp_t *pick(lv_disp_t *disp) {
    return disp != NULL ? disp : lv_disp_get_default();
}

lv_obj_t *lv_disp_get_scr_act(lv_disp_t *disp) {
    disp = pick(disp);
    if (disp == NULL) {
        LV_LOG_WARN("no display: no active screen");
        return NULL;
    }
    return disp->act_scr;
}

lv_obj_t *lv_disp_get_scr_prev(lv_disp_t *disp) {
    disp = pick(disp);
    return disp ? disp->prev_scr : NULL;
}

lv_obj_t *lv_disp_get_layer_top(lv_disp_t *disp) {
    disp = pick(disp);
    return disp ? disp->top_layer : NULL;
}

lv_obj_t *lv_disp_get_layer_sys(lv_disp_t *disp) {
    disp = pick(disp);
    return disp ? disp->sys_layer : NULL;
}

/* The background changed: all of the display is to be drawn again. */
static void redraw_all(lv_disp_t *disp) {
    lv_area_t all = {0, 0, lv_disp_get_hor_res(disp) - 1, lv_disp_get_ver_res(disp) - 1};
    _lv_inv_area(disp, &all);
}

void lv_disp_set_bg_color(lv_disp_t *disp, lv_color_t color) {
    disp = pick(disp);
    if (disp != NULL) {
        disp->bg_color = color;
        redraw_all(disp);
    }
}

void lv_disp_set_bg_image(lv_disp_t *disp, const void *img_src) {
    disp = pick(disp);
    if (disp != NULL) {
        disp->bg_img = img_src;
        redraw_all(disp);
    }
}

void lv_disp_set_bg_opa(lv_disp_t *disp, lv_opa_t opa) {
    disp = pick(disp);
    if (disp != NULL) {
        disp->bg_opa = opa;
        redraw_all(disp);
    }
}

/* Make scr the active screen now, with the four screen events around the switch; the old screen is
 * deleted when the load asked for it. */
static void switch_screen(lv_obj_t *scr) {
    lv_disp_t *disp = lv_obj_get_disp(scr);
    if (disp == NULL)
        return;
    lv_obj_t *old = disp->act_scr;
    if (old != NULL)
        lv_event_send(old, LV_EVENT_SCREEN_UNLOAD_START, NULL);
    lv_event_send(scr, LV_EVENT_SCREEN_LOAD_START, NULL);
    disp->act_scr = scr;
    disp->scr_to_load = NULL;
    lv_event_send(scr, LV_EVENT_SCREEN_LOADED, NULL);
    if (old != NULL)
        lv_event_send(old, LV_EVENT_SCREEN_UNLOADED, NULL);
    bool drop_old = disp->del_prev && old != NULL && old != scr;
    if (drop_old) {
        disp->del_prev = 0;
        lv_obj_del(old);
    }
    lv_obj_invalidate(scr);
}

static void load_when_due(lv_anim_t *a) {
    switch_screen(a->var);
}

/* The load waits for time + delay; the animation only measures that time. */
static void no_effect(void *var, int32_t v) {
    (void)var;
    (void)v;
}

void lv_disp_load_scr(lv_obj_t *scr) {
    lv_scr_load_anim(scr, LV_SCR_LOAD_ANIM_NONE, 0, 0, false);
}

void lv_scr_load_anim(lv_obj_t *scr, lv_scr_load_anim_t anim_type, uint32_t time, uint32_t delay,
                      bool auto_del) {
    (void)anim_type; /* the slide and fade effects are not drawn */
    lv_disp_t *disp = lv_obj_get_disp(scr);
    if (disp == NULL)
        return;
    disp->del_prev = auto_del ? 1 : 0;
    if (time == 0 && delay == 0) {
        switch_screen(scr);
        return;
    }
    disp->scr_to_load = scr;
    lv_anim_t wait;
    lv_anim_init(&wait);
    lv_anim_set_var(&wait, scr);
    lv_anim_set_exec_cb(&wait, no_effect);
    lv_anim_set_delay(&wait, delay);
    lv_anim_set_time(&wait, time);
    lv_anim_set_ready_cb(&wait, load_when_due);
    lv_anim_start(&wait);
}

uint32_t lv_disp_get_inactive_time(const lv_disp_t *disp) {
    if (disp != NULL)
        return lv_tick_elaps(disp->last_activity_time);
    /* Over all displays: the time since the most recent activity on any of them. */
    uint32_t idle = UINT32_MAX;
    for (lv_disp_t *d = lv_disp_get_next(NULL); d != NULL; d = lv_disp_get_next(d))
        idle = LV_MIN(idle, lv_tick_elaps(d->last_activity_time));
    return idle;
}

void lv_disp_trig_activity(lv_disp_t *disp) {
    disp = pick(disp);
    if (disp != NULL)
        disp->last_activity_time = lv_tick_get();
}

void lv_disp_clean_dcache(lv_disp_t *disp) {
    disp = pick(disp);
    if (disp != NULL && disp->driver->clean_dcache_cb != NULL)
        disp->driver->clean_dcache_cb(disp->driver);
}

void lv_disp_enable_invalidation(lv_disp_t *disp, bool en) {
    /* Nested: each disable needs its enable. */
    disp = pick(disp);
    if (disp != NULL)
        disp->inv_en_cnt += en ? 1 : -1;
}

bool lv_disp_is_invalidation_enabled(lv_disp_t *disp) {
    disp = pick(disp);
    return disp != NULL && disp->inv_en_cnt > 0;
}

lv_timer_t *_lv_disp_get_refr_timer(lv_disp_t *disp) {
    disp = pick(disp);
    return disp ? disp->refr_timer : NULL;
}
