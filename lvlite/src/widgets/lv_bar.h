/**
 * @file lv_bar.h
 * Progress bars: a background (MAIN) and an indicator (LV_PART_INDICATOR) as long as the value.
 */
#ifndef LV_BAR_H
#define LV_BAR_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../core/lv_obj.h"

enum {
    LV_BAR_MODE_NORMAL,
    LV_BAR_MODE_SYMMETRICAL,
    LV_BAR_MODE_RANGE,
};
typedef uint8_t lv_bar_mode_t;

typedef struct {
    lv_obj_t *bar;
    int32_t anim_start;
    int32_t anim_end;
    int32_t anim_state;
} _lv_bar_anim_t;

typedef struct {
    lv_obj_t obj;
    int32_t cur_value;
    int32_t min_value;
    int32_t max_value;
    int32_t start_value;
    lv_area_t indic_area;
    _lv_bar_anim_t cur_value_anim;
    _lv_bar_anim_t start_value_anim;
    lv_bar_mode_t mode : 2;
} lv_bar_t;

extern const lv_obj_class_t lv_bar_class;

lv_obj_t *lv_bar_create(lv_obj_t *parent);
/** With LV_ANIM_ON the indicator moves there in the MAIN part's anim_time. */
void lv_bar_set_value(lv_obj_t *obj, int32_t value, lv_anim_enable_t anim);
void lv_bar_set_start_value(lv_obj_t *obj, int32_t start_value, lv_anim_enable_t anim);
void lv_bar_set_range(lv_obj_t *obj, int32_t min, int32_t max);
void lv_bar_set_mode(lv_obj_t *obj, lv_bar_mode_t mode);
int32_t lv_bar_get_value(const lv_obj_t *obj);
int32_t lv_bar_get_start_value(const lv_obj_t *obj);
int32_t lv_bar_get_min_value(const lv_obj_t *obj);
int32_t lv_bar_get_max_value(const lv_obj_t *obj);
lv_bar_mode_t lv_bar_get_mode(lv_obj_t *obj);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_BAR_H */
