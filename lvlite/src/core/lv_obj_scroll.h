/**
 * @file lv_obj_scroll.h
 * Scrolling moves an object's children; the scroll position is how far they moved.
 */
#ifndef LV_OBJ_SCROLL_H
#define LV_OBJ_SCROLL_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../misc/lv_anim.h"
#include "../misc/lv_area.h"

struct _lv_obj_t;

void lv_obj_set_scrollbar_mode(struct _lv_obj_t *obj, lv_scrollbar_mode_t mode);
void lv_obj_set_scroll_dir(struct _lv_obj_t *obj, lv_dir_t dir);
void lv_obj_set_scroll_snap_x(struct _lv_obj_t *obj, lv_scroll_snap_t align);
void lv_obj_set_scroll_snap_y(struct _lv_obj_t *obj, lv_scroll_snap_t align);
lv_scrollbar_mode_t lv_obj_get_scrollbar_mode(const struct _lv_obj_t *obj);
lv_dir_t lv_obj_get_scroll_dir(const struct _lv_obj_t *obj);
lv_scroll_snap_t lv_obj_get_scroll_snap_x(const struct _lv_obj_t *obj);
lv_scroll_snap_t lv_obj_get_scroll_snap_y(const struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_scroll_x(const struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_scroll_y(const struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_scroll_top(struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_scroll_bottom(struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_scroll_left(struct _lv_obj_t *obj);
lv_coord_t lv_obj_get_scroll_right(struct _lv_obj_t *obj);
/** Where a running scroll animation ends (the current position without one). */
void lv_obj_get_scroll_end(struct _lv_obj_t *obj, lv_point_t *end);
void lv_obj_scroll_by(struct _lv_obj_t *obj, lv_coord_t x, lv_coord_t y, lv_anim_enable_t anim_en);
void lv_obj_scroll_by_bounded(struct _lv_obj_t *obj, lv_coord_t dx, lv_coord_t dy, lv_anim_enable_t anim_en);
void lv_obj_scroll_to(struct _lv_obj_t *obj, lv_coord_t x, lv_coord_t y, lv_anim_enable_t anim_en);
void lv_obj_scroll_to_x(struct _lv_obj_t *obj, lv_coord_t x, lv_anim_enable_t anim_en);
void lv_obj_scroll_to_y(struct _lv_obj_t *obj, lv_coord_t y, lv_anim_enable_t anim_en);
/** Scroll obj's parent just enough to show obj. */
void lv_obj_scroll_to_view(struct _lv_obj_t *obj, lv_anim_enable_t anim_en);
/** Scroll every ancestor just enough to show obj. */
void lv_obj_scroll_to_view_recursive(struct _lv_obj_t *obj, lv_anim_enable_t anim_en);
lv_res_t _lv_obj_scroll_by_raw(struct _lv_obj_t *obj, lv_coord_t x, lv_coord_t y);
bool lv_obj_is_scrolling(const struct _lv_obj_t *obj);
void lv_obj_get_scrollbar_area(struct _lv_obj_t *obj, lv_area_t *hor, lv_area_t *ver);
void lv_obj_scrollbar_invalidate(struct _lv_obj_t *obj);
/** Undo scrolling past the content after the object or its content changed size. */
void lv_obj_readjust_scroll(struct _lv_obj_t *obj, lv_anim_enable_t anim_en);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_OBJ_SCROLL_H */
