/**
 * @file lv_disp.h
 * Screens and layers of a display.
 */
#ifndef LV_DISP_H
#define LV_DISP_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../hal/lv_hal.h"
#include "lv_obj.h"

typedef enum {
    LV_SCR_LOAD_ANIM_NONE,
    LV_SCR_LOAD_ANIM_OVER_LEFT,
    LV_SCR_LOAD_ANIM_OVER_RIGHT,
    LV_SCR_LOAD_ANIM_OVER_TOP,
    LV_SCR_LOAD_ANIM_OVER_BOTTOM,
    LV_SCR_LOAD_ANIM_MOVE_LEFT,
    LV_SCR_LOAD_ANIM_MOVE_RIGHT,
    LV_SCR_LOAD_ANIM_MOVE_TOP,
    LV_SCR_LOAD_ANIM_MOVE_BOTTOM,
    LV_SCR_LOAD_ANIM_FADE_IN,
    LV_SCR_LOAD_ANIM_FADE_ON = LV_SCR_LOAD_ANIM_FADE_IN,
    LV_SCR_LOAD_ANIM_FADE_OUT,
    LV_SCR_LOAD_ANIM_OUT_LEFT,
    LV_SCR_LOAD_ANIM_OUT_RIGHT,
    LV_SCR_LOAD_ANIM_OUT_TOP,
    LV_SCR_LOAD_ANIM_OUT_BOTTOM,
} lv_scr_load_anim_t;

lv_obj_t *lv_disp_get_scr_act(lv_disp_t *disp);
lv_obj_t *lv_disp_get_scr_prev(lv_disp_t *disp);
void lv_disp_load_scr(lv_obj_t *scr);
/** Layer above every screen (the program's status bar lives here). */
lv_obj_t *lv_disp_get_layer_top(lv_disp_t *disp);
lv_obj_t *lv_disp_get_layer_sys(lv_disp_t *disp);
void lv_disp_set_bg_color(lv_disp_t *disp, lv_color_t color);
void lv_disp_set_bg_image(lv_disp_t *disp, const void *img_src);
void lv_disp_set_bg_opa(lv_disp_t *disp, lv_opa_t opa);
/** Load scr; the time and delay are honoured, the slide and fade effects are not drawn. */
void lv_scr_load_anim(lv_obj_t *scr, lv_scr_load_anim_t anim_type, uint32_t time, uint32_t delay,
                      bool auto_del);
uint32_t lv_disp_get_inactive_time(const lv_disp_t *disp);
void lv_disp_trig_activity(lv_disp_t *disp);
void lv_disp_clean_dcache(lv_disp_t *disp);
void lv_disp_enable_invalidation(lv_disp_t *disp, bool en);
bool lv_disp_is_invalidation_enabled(lv_disp_t *disp);
lv_timer_t *_lv_disp_get_refr_timer(lv_disp_t *disp);

static inline lv_obj_t *lv_scr_act(void) {
    return lv_disp_get_scr_act(lv_disp_get_default());
}
static inline lv_obj_t *lv_layer_top(void) {
    return lv_disp_get_layer_top(lv_disp_get_default());
}
static inline lv_obj_t *lv_layer_sys(void) {
    return lv_disp_get_layer_sys(lv_disp_get_default());
}
static inline void lv_scr_load(lv_obj_t *scr) {
    lv_disp_load_scr(scr);
}

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_DISP_H */
