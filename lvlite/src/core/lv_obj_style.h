/**
 * @file lv_obj_style.h
 * Styles of objects. For a part, the matching style whose state is the object's exact state wins; else
 * the matching style with the highest state value; among equals the local style, then the newest added.
 * Inherited properties without a value come from the parent.
 */
#ifndef LV_OBJ_STYLE_H
#define LV_OBJ_STYLE_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stdint.h>

#include "../misc/lv_style.h"

struct _lv_obj_t;

void _lv_obj_style_init(void);
void lv_obj_add_style(struct _lv_obj_t *obj, lv_style_t *style, lv_style_selector_t selector);
/** Remove style (any style when NULL) with selector (any part or state with LV_PART_ANY / LV_STATE_ANY). */
void lv_obj_remove_style(struct _lv_obj_t *obj, lv_style_t *style, lv_style_selector_t selector);
static inline void lv_obj_remove_style_all(struct _lv_obj_t *obj) {
    lv_obj_remove_style(obj, NULL, LV_PART_ANY | LV_STATE_ANY);
}
/** Refresh every object that uses style (all objects when NULL) after the style changed. */
void lv_obj_report_style_change(lv_style_t *style);
void lv_obj_refresh_style(struct _lv_obj_t *obj, lv_part_t part, lv_style_prop_t prop);
void lv_obj_enable_style_refresh(bool en);
lv_style_value_t lv_obj_get_style_prop(const struct _lv_obj_t *obj, lv_part_t part, lv_style_prop_t prop);
void lv_obj_set_local_style_prop(struct _lv_obj_t *obj, lv_style_prop_t prop, lv_style_value_t value,
                                 lv_style_selector_t selector);
lv_res_t lv_obj_get_local_style_prop(struct _lv_obj_t *obj, lv_style_prop_t prop, lv_style_value_t *value,
                                     lv_style_selector_t selector);
bool lv_obj_remove_local_style_prop(struct _lv_obj_t *obj, lv_style_prop_t prop,
                                    lv_style_selector_t selector);
/* Internal: after obj->state changed from old_state, start the transitions and redraw or relayout. */
void _lv_obj_style_state_changed(struct _lv_obj_t *obj, lv_state_t old_state);
/* Internal: remove every style of an object that is being deleted, without refreshing it. */
void _lv_obj_style_drop_all(struct _lv_obj_t *obj);
void lv_obj_fade_in(struct _lv_obj_t *obj, uint32_t time, uint32_t delay);
void lv_obj_fade_out(struct _lv_obj_t *obj, uint32_t time, uint32_t delay);
/** Opacity of the part multiplied by the opacity of every ancestor. */
lv_opa_t lv_obj_get_style_opa_recursive(const struct _lv_obj_t *obj, lv_part_t part);
lv_layer_type_t _lv_obj_get_layer_type(const struct _lv_obj_t *obj);
/* Internal: the opacity a part other than MAIN sets on itself (COVER for MAIN, drawn as a layer). */
lv_opa_t _lv_obj_get_part_opa(const struct _lv_obj_t *obj, lv_part_t part);

static inline lv_state_t lv_obj_style_get_selector_state(lv_style_selector_t selector) {
    return (lv_state_t)(selector & 0xFFFF);
}
static inline lv_part_t lv_obj_style_get_selector_part(lv_style_selector_t selector) {
    return selector & 0xFF0000;
}

#define _LV_OBJ_STYLE_GETTER(NAME, name, type, field, flags)                                                 \
    static inline type lv_obj_get_style_##name(const struct _lv_obj_t *obj, uint32_t part) {                 \
        lv_style_value_t v = lv_obj_get_style_prop(obj, part, LV_STYLE_##NAME);                              \
        return _LV_STYLE_FROM_VALUE_##field(v, type);                                                        \
    }
#define _LV_OBJ_STYLE_SETTER(NAME, name, type, field, flags)                                                 \
    static inline void lv_obj_set_style_##name(struct _lv_obj_t *obj, type value,                            \
                                               lv_style_selector_t selector) {                               \
        lv_obj_set_local_style_prop(obj, LV_STYLE_##NAME, _LV_STYLE_TO_VALUE_##field(value), selector);      \
    }
LV_STYLE_PROP_LIST(_LV_OBJ_STYLE_GETTER)
LV_STYLE_PROP_LIST(_LV_OBJ_STYLE_SETTER)
#undef _LV_OBJ_STYLE_GETTER
#undef _LV_OBJ_STYLE_SETTER

static inline void lv_obj_set_style_pad_all(struct _lv_obj_t *obj, lv_coord_t value,
                                            lv_style_selector_t selector) {
    lv_obj_set_style_pad_left(obj, value, selector);
    lv_obj_set_style_pad_right(obj, value, selector);
    lv_obj_set_style_pad_top(obj, value, selector);
    lv_obj_set_style_pad_bottom(obj, value, selector);
}
static inline void lv_obj_set_style_pad_hor(struct _lv_obj_t *obj, lv_coord_t value,
                                            lv_style_selector_t selector) {
    lv_obj_set_style_pad_left(obj, value, selector);
    lv_obj_set_style_pad_right(obj, value, selector);
}
static inline void lv_obj_set_style_pad_ver(struct _lv_obj_t *obj, lv_coord_t value,
                                            lv_style_selector_t selector) {
    lv_obj_set_style_pad_top(obj, value, selector);
    lv_obj_set_style_pad_bottom(obj, value, selector);
}
static inline void lv_obj_set_style_pad_gap(struct _lv_obj_t *obj, lv_coord_t value,
                                            lv_style_selector_t selector) {
    lv_obj_set_style_pad_row(obj, value, selector);
    lv_obj_set_style_pad_column(obj, value, selector);
}
static inline void lv_obj_set_style_size(struct _lv_obj_t *obj, lv_coord_t value,
                                         lv_style_selector_t selector) {
    lv_obj_set_style_width(obj, value, selector);
    lv_obj_set_style_height(obj, value, selector);
}

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_OBJ_STYLE_H */
