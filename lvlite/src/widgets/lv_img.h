/**
 * @file lv_img.h
 * Images from a file ("/:path"), an lv_img_dsc_t variable or a symbol; the size comes from the decoder.
 */
#ifndef LV_IMG_H
#define LV_IMG_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../core/lv_obj.h"

typedef enum {
    LV_IMG_SIZE_MODE_VIRTUAL,
    LV_IMG_SIZE_MODE_REAL,
} lv_img_size_mode_t;

typedef struct {
    lv_obj_t obj;
    const void *src;
    lv_point_t offset;
    lv_coord_t w;
    lv_coord_t h;
    uint16_t angle;
    lv_point_t pivot;
    uint16_t zoom;
    uint8_t src_type : 2;
    uint8_t cf : 5;
    uint8_t antialias : 1;
    uint8_t obj_size_mode : 2;
} lv_img_t;

extern const lv_obj_class_t lv_img_class;

lv_obj_t *lv_img_create(lv_obj_t *parent);
/** A file path is copied; a variable or symbol must stay valid. */
void lv_img_set_src(lv_obj_t *obj, const void *src);
void lv_img_set_offset_x(lv_obj_t *obj, lv_coord_t x);
void lv_img_set_offset_y(lv_obj_t *obj, lv_coord_t y);
void lv_img_set_angle(lv_obj_t *obj, int16_t angle);
void lv_img_set_pivot(lv_obj_t *obj, lv_coord_t x, lv_coord_t y);
void lv_img_set_zoom(lv_obj_t *obj, uint16_t zoom);
void lv_img_set_antialias(lv_obj_t *obj, bool antialias);
void lv_img_set_size_mode(lv_obj_t *obj, lv_img_size_mode_t mode);
const void *lv_img_get_src(lv_obj_t *obj);
lv_coord_t lv_img_get_offset_x(lv_obj_t *obj);
lv_coord_t lv_img_get_offset_y(lv_obj_t *obj);
uint16_t lv_img_get_angle(lv_obj_t *obj);
void lv_img_get_pivot(lv_obj_t *obj, lv_point_t *pivot);
uint16_t lv_img_get_zoom(lv_obj_t *obj);
bool lv_img_get_antialias(lv_obj_t *obj);
lv_img_size_mode_t lv_img_get_size_mode(lv_obj_t *obj);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_IMG_H */
