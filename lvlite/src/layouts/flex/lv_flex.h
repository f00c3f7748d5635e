/**
 * @file lv_flex.h
 * Flex layout: children in rows or columns (optionally wrapping into tracks), placed along the main axis,
 * across it within their track, and the tracks within the container.
 */
#ifndef LV_FLEX_H
#define LV_FLEX_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../../core/lv_obj.h"

/** Layout id of flex (the first layout registered). */
#define LV_LAYOUT_FLEX 1

/** An item with this flag starts a new track of a wrapping flex container. */
#define LV_OBJ_FLAG_FLEX_IN_NEW_TRACK LV_OBJ_FLAG_LAYOUT_1

void lv_flex_init(void);
/** Set the flow as a local style and turn the flex layout on. */
void lv_obj_set_flex_flow(lv_obj_t *obj, lv_flex_flow_t flow);
void lv_obj_set_flex_align(lv_obj_t *obj, lv_flex_align_t main_place, lv_flex_align_t cross_place,
                           lv_flex_align_t track_cross_place);
/** Let obj take grow shares of its track's free space. */
void lv_obj_set_flex_grow(lv_obj_t *obj, uint8_t grow);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_FLEX_H */
