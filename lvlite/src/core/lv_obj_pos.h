/**
 * @file lv_obj_pos.h
 * Size, position and alignment. Setters store local styles; coordinates follow at the next layout update.
 */
#ifndef LV_OBJ_POS_H
#define LV_OBJ_POS_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stdint.h>

#include "../misc/lv_area.h"

struct _lv_obj_t;

typedef void (*lv_layout_update_cb_t)(struct _lv_obj_t *, void *user_data);
typedef struct {
    lv_layout_update_cb_t cb;
    void *user_data;
} lv_layout_dsc_t;

void lv_obj_set_pos(struct _lv_obj_t *obj, lv_coord_t x, lv_coord_t y);
void lv_obj_set_x(struct _lv_obj_t *obj, lv_coord_t x);
void lv_obj_set_y(struct _lv_obj_t *obj, lv_coord_t y);
void lv_obj_set_size(struct _lv_obj_t *obj, lv_coord_t w, lv_coord_t h);
bool lv_obj_refr_size(struct _lv_obj_t *obj);
void lv_obj_set_width(struct _lv_obj_t *obj, lv_coord_t w);
void lv_obj_set_height(struct _lv_obj_t *obj, lv_coord_t h);
void lv_obj_set_content_width(struct _lv_obj_t *obj, lv_coord_t w);
void lv_obj_set_content_height(struct _lv_obj_t *obj, lv_coord_t h);
void lv_obj_set_layout(struct _lv_obj_t *obj, uint32_t layout);
bool lv_obj_is_layout_positioned(const struct _lv_obj_t *obj);
void lv_obj_mark_layout_as_dirty(struct _lv_obj_t *obj);
/** Recompute sizes, positions and layouts of obj's screen now. */
void lv_obj_update_layout(const struct _lv_obj_t *obj);
uint32_t lv_layout_register(lv_layout_update_cb_t cb, void *user_data);
void lv_obj_set_align(struct _lv_obj_t *obj, lv_align_t align);
/** Remember the alignment; x and y are offsets from it. */
void lv_obj_align(struct _lv_obj_t *obj, lv_align_t align, lv_coord_t x_ofs, lv_coord_t y_ofs);
/** Place obj relative to base once (after a layout update). */
void lv_obj_align_to(struct _lv_obj_t *obj, const struct _lv_obj_t *base, lv_align_t align, lv_coord_t x_ofs,
                     lv_coord_t y_ofs);
static inline void lv_obj_center(struct _lv_obj_t *obj) {
    lv_obj_align(obj, LV_ALIGN_CENTER, 0, 0);
}
void lv_obj_get_coords(const struct _lv_obj_t *obj, lv_area_t *coords);
/** x relative to the parent's content area, ignoring the parent's scrolling. */
lv_coord_t lv_obj_get_x(const struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_x2(const struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_y(const struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_y2(const struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_x_aligned(const struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_y_aligned(const struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_width(const struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_height(const struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_content_width(const struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_content_height(const struct _lv_obj_t *obj);
void lv_obj_get_content_coords(const struct _lv_obj_t *obj, lv_area_t *area);
lv_coord_t lv_obj_get_self_width(const struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_self_height(const struct _lv_obj_t *obj);
/** Ask the widget for its own content size again; true if it changed. */
bool lv_obj_refresh_self_size(struct _lv_obj_t *obj);
void lv_obj_refr_pos(struct _lv_obj_t *obj);
void lv_obj_move_to(struct _lv_obj_t *obj, lv_coord_t x, lv_coord_t y);
void lv_obj_move_children_by(struct _lv_obj_t *obj, lv_coord_t x_diff, lv_coord_t y_diff,
                             bool ignore_floating);
void lv_obj_invalidate_area(const struct _lv_obj_t *obj, const lv_area_t *area);
void lv_obj_invalidate(const struct _lv_obj_t *obj);
bool lv_obj_area_is_visible(const struct _lv_obj_t *obj, lv_area_t *area);
bool lv_obj_is_visible(const struct _lv_obj_t *obj);
void lv_obj_set_ext_click_area(struct _lv_obj_t *obj, lv_coord_t size);
void lv_obj_get_click_area(const struct _lv_obj_t *obj, lv_area_t *area);
bool lv_obj_hit_test(struct _lv_obj_t *obj, const lv_point_t *point);
lv_coord_t lv_clamp_width(lv_coord_t width, lv_coord_t min_width, lv_coord_t max_width, lv_coord_t ref_width);
lv_coord_t lv_clamp_height(lv_coord_t height, lv_coord_t min_height, lv_coord_t max_height,
                           lv_coord_t ref_height);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_OBJ_POS_H */
