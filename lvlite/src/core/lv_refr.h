/**
 * @file lv_refr.h
 * Redrawing the invalidated areas of a display.
 */
#ifndef LV_REFR_H
#define LV_REFR_H

#ifdef __cplusplus
extern "C" {
#endif

#include "lv_obj.h"

void _lv_refr_init(void);
/** Redraw the invalid areas of disp (every display when NULL) now, after the pending animations. */
void lv_refr_now(lv_disp_t *disp);
void lv_obj_redraw(lv_draw_ctx_t *draw_ctx, lv_obj_t *obj);
/** Mark area of disp for redrawing: grown by LV_INV_AREA_EXTRA and clipped to the display. */
void _lv_inv_area(lv_disp_t *disp, const lv_area_t *area_p);
lv_disp_t *_lv_refr_get_disp_refreshing(void);
void _lv_disp_refr_timer(lv_timer_t *timer);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_REFR_H */
