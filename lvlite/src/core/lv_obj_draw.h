/**
 * @file lv_obj_draw.h
 * Filling draw descriptors from an object's styles, and the extra area objects draw outside themselves.
 */
#ifndef LV_OBJ_DRAW_H
#define LV_OBJ_DRAW_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../draw/lv_draw.h"

struct _lv_obj_t;
struct _lv_obj_class_t;

typedef enum {
    LV_OBJ_DRAW_PART_RECTANGLE,
    LV_OBJ_DRAW_PART_BORDER_POST,
    LV_OBJ_DRAW_PART_SCROLLBAR,
} lv_obj_draw_part_type_t;

typedef struct _lv_obj_draw_part_dsc_t {
    lv_draw_ctx_t *draw_ctx;
    const struct _lv_obj_class_t *class_p;
    uint32_t type;
    lv_area_t *draw_area;
    lv_draw_rect_dsc_t *rect_dsc;
    lv_draw_label_dsc_t *label_dsc;
    void *line_dsc;
    lv_draw_img_dsc_t *img_dsc;
    void *arc_dsc;
    const lv_point_t *p1;
    const lv_point_t *p2;
    char *text;
    uint32_t text_length;
    uint32_t part;
    uint32_t id;
    lv_coord_t radius;
    int32_t value;
    const void *sub_part_ptr;
} lv_obj_draw_part_dsc_t;

void lv_obj_init_draw_rect_dsc(struct _lv_obj_t *obj, uint32_t part, lv_draw_rect_dsc_t *draw_dsc);
void lv_obj_init_draw_label_dsc(struct _lv_obj_t *obj, uint32_t part, lv_draw_label_dsc_t *draw_dsc);
void lv_obj_init_draw_img_dsc(struct _lv_obj_t *obj, uint32_t part, lv_draw_img_dsc_t *draw_dsc);
/** How far the part draws outside the object (outline, shadow). */
lv_coord_t lv_obj_calculate_ext_draw_size(struct _lv_obj_t *obj, uint32_t part);
void lv_obj_draw_dsc_init(lv_obj_draw_part_dsc_t *dsc, lv_draw_ctx_t *draw_ctx);
bool lv_obj_draw_part_check_type(lv_obj_draw_part_dsc_t *dsc, const struct _lv_obj_class_t *class_p,
                                 uint32_t type);
void lv_obj_refresh_ext_draw_size(struct _lv_obj_t *obj);
lv_coord_t _lv_obj_get_ext_draw_size(const struct _lv_obj_t *obj);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_OBJ_DRAW_H */
