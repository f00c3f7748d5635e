/**
 * @file lv_style.h
 * Styles: sets of property values that objects take for a part and a state.
 */
#ifndef LV_STYLE_H
#define LV_STYLE_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stdint.h>

#include "../lv_conf_internal.h"
#include "../font/lv_font.h"
#include "lv_anim.h"
#include "lv_area.h"
#include "lv_bidi.h"
#include "lv_color.h"
#include "lv_txt.h"
#include "lv_types.h"

#define LV_STYLE_SENTINEL_VALUE 0xAABBCCDD

/* Property flags: what has to be recomputed when the property changes. */
#define LV_STYLE_PROP_INHERIT            (1 << 0) /**< children take the parent's value when they have none */
#define LV_STYLE_PROP_EXT_DRAW           (1 << 1) /**< may draw outside the object */
#define LV_STYLE_PROP_LAYOUT_REFR        (1 << 2) /**< changes the object's size or its children's places */
#define LV_STYLE_PROP_PARENT_LAYOUT_REFR (1 << 3) /**< changes the parent's layout */
#define LV_STYLE_PROP_LAYER_REFR         (1 << 4) /**< changes how the object is composed (opacity, transform) */
#define LV_STYLE_PROP_ALL                (0x1F)

enum {
    LV_BLEND_MODE_NORMAL,
    LV_BLEND_MODE_ADDITIVE,
    LV_BLEND_MODE_SUBTRACTIVE,
    LV_BLEND_MODE_MULTIPLY,
    LV_BLEND_MODE_REPLACE,
};
typedef uint8_t lv_blend_mode_t;

enum {
    LV_TEXT_DECOR_NONE = 0x00,
    LV_TEXT_DECOR_UNDERLINE = 0x01,
    LV_TEXT_DECOR_STRIKETHROUGH = 0x02,
};
typedef uint8_t lv_text_decor_t;

enum {
    LV_BORDER_SIDE_NONE = 0x00,
    LV_BORDER_SIDE_BOTTOM = 0x01,
    LV_BORDER_SIDE_TOP = 0x02,
    LV_BORDER_SIDE_LEFT = 0x04,
    LV_BORDER_SIDE_RIGHT = 0x08,
    LV_BORDER_SIDE_FULL = 0x0F,
    LV_BORDER_SIDE_INTERNAL = 0x10,
};
typedef uint8_t lv_border_side_t;

enum {
    LV_GRAD_DIR_NONE,
    LV_GRAD_DIR_VER,
    LV_GRAD_DIR_HOR,
};
typedef uint8_t lv_grad_dir_t;

enum {
    LV_DITHER_NONE,
    LV_DITHER_ORDERED,
    LV_DITHER_ERR_DIFF,
};
typedef uint8_t lv_dither_mode_t;

#define LV_GRADIENT_MAX_STOPS 2

typedef struct {
    lv_color_t color;
    uint8_t frac; /**< place of the stop, 0 .. 255 */
} lv_gradient_stop_t;

typedef struct {
    lv_gradient_stop_t stops[LV_GRADIENT_MAX_STOPS];
    uint8_t stops_count;
    lv_grad_dir_t dir : 3;
    lv_dither_mode_t dither : 3;
} lv_grad_dsc_t;

/** Flex placements; the flex layout reads them from the flex_* properties. */
typedef enum {
    LV_FLEX_ALIGN_START,
    LV_FLEX_ALIGN_END,
    LV_FLEX_ALIGN_CENTER,
    LV_FLEX_ALIGN_SPACE_EVENLY,
    LV_FLEX_ALIGN_SPACE_AROUND,
    LV_FLEX_ALIGN_SPACE_BETWEEN,
} lv_flex_align_t;

#define _LV_FLEX_COLUMN  (1 << 0)
#define _LV_FLEX_WRAP    (1 << 2)
#define _LV_FLEX_REVERSE (1 << 3)

typedef enum {
    LV_FLEX_FLOW_ROW = 0x00,
    LV_FLEX_FLOW_COLUMN = _LV_FLEX_COLUMN,
    LV_FLEX_FLOW_ROW_WRAP = LV_FLEX_FLOW_ROW | _LV_FLEX_WRAP,
    LV_FLEX_FLOW_ROW_REVERSE = LV_FLEX_FLOW_ROW | _LV_FLEX_REVERSE,
    LV_FLEX_FLOW_ROW_WRAP_REVERSE = LV_FLEX_FLOW_ROW | _LV_FLEX_WRAP | _LV_FLEX_REVERSE,
    LV_FLEX_FLOW_COLUMN_WRAP = LV_FLEX_FLOW_COLUMN | _LV_FLEX_WRAP,
    LV_FLEX_FLOW_COLUMN_REVERSE = LV_FLEX_FLOW_COLUMN | _LV_FLEX_REVERSE,
    LV_FLEX_FLOW_COLUMN_WRAP_REVERSE = LV_FLEX_FLOW_COLUMN | _LV_FLEX_WRAP | _LV_FLEX_REVERSE,
} lv_flex_flow_t;

typedef union {
    int32_t num;
    const void *ptr;
    lv_color_t color;
} lv_style_value_t;

/*
 * Every built-in property: PROP(NAME, name, value type, stored as, flags).
 * The style setters and getters of styles and objects are generated from this list.
 */
#define _LV_I LV_STYLE_PROP_INHERIT
#define _LV_E LV_STYLE_PROP_EXT_DRAW
#define _LV_L LV_STYLE_PROP_LAYOUT_REFR
#define _LV_P LV_STYLE_PROP_PARENT_LAYOUT_REFR
#define _LV_Y LV_STYLE_PROP_LAYER_REFR
#define LV_STYLE_PROP_LIST(PROP)                                                                             \
    PROP(WIDTH, width, lv_coord_t, num, _LV_L)                                                               \
    PROP(MIN_WIDTH, min_width, lv_coord_t, num, _LV_L)                                                       \
    PROP(MAX_WIDTH, max_width, lv_coord_t, num, _LV_L)                                                       \
    PROP(HEIGHT, height, lv_coord_t, num, _LV_L)                                                             \
    PROP(MIN_HEIGHT, min_height, lv_coord_t, num, _LV_L)                                                     \
    PROP(MAX_HEIGHT, max_height, lv_coord_t, num, _LV_L)                                                     \
    PROP(X, x, lv_coord_t, num, _LV_L)                                                                       \
    PROP(Y, y, lv_coord_t, num, _LV_L)                                                                       \
    PROP(ALIGN, align, lv_align_t, num, _LV_L)                                                               \
    PROP(TRANSFORM_WIDTH, transform_width, lv_coord_t, num, _LV_E)                                           \
    PROP(TRANSFORM_HEIGHT, transform_height, lv_coord_t, num, _LV_E)                                         \
    PROP(TRANSLATE_X, translate_x, lv_coord_t, num, _LV_L | _LV_P)                                           \
    PROP(TRANSLATE_Y, translate_y, lv_coord_t, num, _LV_L | _LV_P)                                           \
    PROP(TRANSFORM_ZOOM, transform_zoom, lv_coord_t, num, _LV_E | _LV_Y)                                     \
    PROP(TRANSFORM_ANGLE, transform_angle, lv_coord_t, num, _LV_E | _LV_Y)                                   \
    PROP(TRANSFORM_PIVOT_X, transform_pivot_x, lv_coord_t, num, 0)                                           \
    PROP(TRANSFORM_PIVOT_Y, transform_pivot_y, lv_coord_t, num, 0)                                           \
    PROP(PAD_TOP, pad_top, lv_coord_t, num, _LV_L)                                                           \
    PROP(PAD_BOTTOM, pad_bottom, lv_coord_t, num, _LV_L)                                                     \
    PROP(PAD_LEFT, pad_left, lv_coord_t, num, _LV_L)                                                         \
    PROP(PAD_RIGHT, pad_right, lv_coord_t, num, _LV_L)                                                       \
    PROP(PAD_ROW, pad_row, lv_coord_t, num, _LV_L)                                                           \
    PROP(PAD_COLUMN, pad_column, lv_coord_t, num, _LV_L)                                                     \
    PROP(BG_COLOR, bg_color, lv_color_t, color, 0)                                                           \
    PROP(BG_OPA, bg_opa, lv_opa_t, num, 0)                                                                   \
    PROP(BG_GRAD_COLOR, bg_grad_color, lv_color_t, color, 0)                                                 \
    PROP(BG_GRAD_DIR, bg_grad_dir, lv_grad_dir_t, num, 0)                                                    \
    PROP(BG_MAIN_STOP, bg_main_stop, lv_coord_t, num, 0)                                                     \
    PROP(BG_GRAD_STOP, bg_grad_stop, lv_coord_t, num, 0)                                                     \
    PROP(BG_GRAD, bg_grad, const lv_grad_dsc_t *, ptr, 0)                                                    \
    PROP(BG_DITHER_MODE, bg_dither_mode, lv_dither_mode_t, num, 0)                                           \
    PROP(BG_IMG_SRC, bg_img_src, const void *, ptr, _LV_E)                                                   \
    PROP(BG_IMG_OPA, bg_img_opa, lv_opa_t, num, 0)                                                           \
    PROP(BG_IMG_RECOLOR, bg_img_recolor, lv_color_t, color, 0)                                               \
    PROP(BG_IMG_RECOLOR_OPA, bg_img_recolor_opa, lv_opa_t, num, 0)                                           \
    PROP(BG_IMG_TILED, bg_img_tiled, bool, num, 0)                                                           \
    PROP(BORDER_COLOR, border_color, lv_color_t, color, 0)                                                   \
    PROP(BORDER_OPA, border_opa, lv_opa_t, num, 0)                                                           \
    PROP(BORDER_WIDTH, border_width, lv_coord_t, num, _LV_L)                                                 \
    PROP(BORDER_SIDE, border_side, lv_border_side_t, num, 0)                                                 \
    PROP(BORDER_POST, border_post, bool, num, 0)                                                             \
    PROP(OUTLINE_WIDTH, outline_width, lv_coord_t, num, _LV_E)                                               \
    PROP(OUTLINE_COLOR, outline_color, lv_color_t, color, 0)                                                 \
    PROP(OUTLINE_OPA, outline_opa, lv_opa_t, num, _LV_E)                                                     \
    PROP(OUTLINE_PAD, outline_pad, lv_coord_t, num, _LV_E)                                                   \
    PROP(SHADOW_WIDTH, shadow_width, lv_coord_t, num, _LV_E)                                                 \
    PROP(SHADOW_OFS_X, shadow_ofs_x, lv_coord_t, num, _LV_E)                                                 \
    PROP(SHADOW_OFS_Y, shadow_ofs_y, lv_coord_t, num, _LV_E)                                                 \
    PROP(SHADOW_SPREAD, shadow_spread, lv_coord_t, num, _LV_E)                                               \
    PROP(SHADOW_COLOR, shadow_color, lv_color_t, color, 0)                                                   \
    PROP(SHADOW_OPA, shadow_opa, lv_opa_t, num, _LV_E)                                                       \
    PROP(IMG_OPA, img_opa, lv_opa_t, num, 0)                                                                 \
    PROP(IMG_RECOLOR, img_recolor, lv_color_t, color, 0)                                                     \
    PROP(IMG_RECOLOR_OPA, img_recolor_opa, lv_opa_t, num, 0)                                                 \
    PROP(LINE_WIDTH, line_width, lv_coord_t, num, _LV_E)                                                     \
    PROP(LINE_DASH_WIDTH, line_dash_width, lv_coord_t, num, 0)                                               \
    PROP(LINE_DASH_GAP, line_dash_gap, lv_coord_t, num, 0)                                                   \
    PROP(LINE_ROUNDED, line_rounded, bool, num, 0)                                                           \
    PROP(LINE_COLOR, line_color, lv_color_t, color, 0)                                                       \
    PROP(LINE_OPA, line_opa, lv_opa_t, num, 0)                                                               \
    PROP(ARC_WIDTH, arc_width, lv_coord_t, num, _LV_E)                                                       \
    PROP(ARC_ROUNDED, arc_rounded, bool, num, 0)                                                             \
    PROP(ARC_COLOR, arc_color, lv_color_t, color, 0)                                                         \
    PROP(ARC_OPA, arc_opa, lv_opa_t, num, 0)                                                                 \
    PROP(ARC_IMG_SRC, arc_img_src, const void *, ptr, 0)                                                     \
    PROP(TEXT_COLOR, text_color, lv_color_t, color, _LV_I)                                                   \
    PROP(TEXT_OPA, text_opa, lv_opa_t, num, _LV_I)                                                           \
    PROP(TEXT_FONT, text_font, const lv_font_t *, ptr, _LV_I | _LV_L)                                        \
    PROP(TEXT_LETTER_SPACE, text_letter_space, lv_coord_t, num, _LV_I | _LV_L)                               \
    PROP(TEXT_LINE_SPACE, text_line_space, lv_coord_t, num, _LV_I | _LV_L)                                   \
    PROP(TEXT_DECOR, text_decor, lv_text_decor_t, num, _LV_I)                                                \
    PROP(TEXT_ALIGN, text_align, lv_text_align_t, num, _LV_I | _LV_L)                                        \
    PROP(RADIUS, radius, lv_coord_t, num, 0)                                                                 \
    PROP(CLIP_CORNER, clip_corner, bool, num, 0)                                                             \
    PROP(OPA, opa, lv_opa_t, num, _LV_I | _LV_Y)                                                             \
    PROP(COLOR_FILTER_DSC, color_filter_dsc, const lv_color_filter_dsc_t *, ptr, 0)                          \
    PROP(COLOR_FILTER_OPA, color_filter_opa, lv_opa_t, num, 0)                                               \
    PROP(ANIM, anim, const lv_anim_t *, ptr, 0)                                                              \
    PROP(ANIM_TIME, anim_time, uint32_t, num, 0)                                                             \
    PROP(ANIM_SPEED, anim_speed, uint32_t, num, 0)                                                           \
    PROP(TRANSITION, transition, const struct _lv_style_transition_dsc_t *, ptr, 0)                          \
    PROP(BLEND_MODE, blend_mode, lv_blend_mode_t, num, _LV_Y)                                                \
    PROP(LAYOUT, layout, uint16_t, num, _LV_L)                                                               \
    PROP(BASE_DIR, base_dir, lv_base_dir_t, num, _LV_I | _LV_L)                                              \
    PROP(FLEX_FLOW, flex_flow, lv_flex_flow_t, num, _LV_L)                                                   \
    PROP(FLEX_MAIN_PLACE, flex_main_place, lv_flex_align_t, num, _LV_L)                                      \
    PROP(FLEX_CROSS_PLACE, flex_cross_place, lv_flex_align_t, num, _LV_L)                                    \
    PROP(FLEX_TRACK_PLACE, flex_track_place, lv_flex_align_t, num, _LV_L)                                    \
    PROP(FLEX_GROW, flex_grow, uint8_t, num, _LV_L)

#define _LV_STYLE_ENUM_ITEM(NAME, name, type, field, flags) LV_STYLE_##NAME,
typedef enum {
    LV_STYLE_PROP_INV = 0,
    _LV_STYLE_FIRST_BUILT_IN = 0,
    LV_STYLE_PROP_LIST(_LV_STYLE_ENUM_ITEM) _LV_STYLE_LAST_BUILT_IN_PROP,
    _LV_STYLE_NUM_BUILT_IN_PROPS = _LV_STYLE_LAST_BUILT_IN_PROP,
    LV_STYLE_PROP_ANY = 0xFFFF,
} _lv_style_id_t;
#undef _LV_STYLE_ENUM_ITEM

typedef uint16_t lv_style_prop_t;

typedef enum {
    LV_STYLE_RES_NOT_FOUND,
    LV_STYLE_RES_FOUND,
    LV_STYLE_RES_INHERIT,
} lv_style_res_t;

/** Which properties animate, and how, when an object enters a state whose style carries this. */
typedef struct _lv_style_transition_dsc_t {
    const lv_style_prop_t *props; /**< ends with 0 */
    void *user_data;
    lv_anim_path_cb_t path_xcb;
    uint32_t time;
    uint32_t delay;
} lv_style_transition_dsc_t;

typedef struct {
    lv_style_prop_t prop;
    lv_style_value_t value;
} lv_style_const_prop_t;

typedef struct {
    uint32_t sentinel;
    lv_style_const_prop_t *props;
    uint16_t prop_cnt;
} lv_style_t;

void lv_style_init(lv_style_t *style);
/** Remove every property and free the style's memory. */
void lv_style_reset(lv_style_t *style);
/** A new property id for properties of the program's own; flags as LV_STYLE_PROP_*. */
lv_style_prop_t lv_style_register_prop(uint8_t flag);
lv_style_prop_t lv_style_get_num_custom_props(void);
bool lv_style_remove_prop(lv_style_t *style, lv_style_prop_t prop);
void lv_style_set_prop(lv_style_t *style, lv_style_prop_t prop, lv_style_value_t value);
lv_style_res_t lv_style_get_prop(const lv_style_t *style, lv_style_prop_t prop, lv_style_value_t *value);
static inline lv_style_res_t lv_style_get_prop_inlined(const lv_style_t *style, lv_style_prop_t prop,
                                                       lv_style_value_t *value) {
    return lv_style_get_prop(style, prop, value);
}
void lv_style_transition_dsc_init(lv_style_transition_dsc_t *tr, const lv_style_prop_t props[],
                                  lv_anim_path_cb_t path_cb, uint32_t time, uint32_t delay, void *user_data);
lv_style_value_t lv_style_prop_get_default(lv_style_prop_t prop);
bool lv_style_is_empty(const lv_style_t *style);
uint8_t _lv_style_prop_lookup_flags(lv_style_prop_t prop);
static inline bool lv_style_prop_has_flag(lv_style_prop_t prop, uint8_t flag) {
    return (_lv_style_prop_lookup_flags(prop) & flag) != 0;
}

static inline lv_style_value_t _lv_style_value_num(int32_t n) {
    lv_style_value_t v;
    v.ptr = NULL;
    v.num = n;
    return v;
}
static inline lv_style_value_t _lv_style_value_ptr(const void *p) {
    lv_style_value_t v;
    v.ptr = p;
    return v;
}
static inline lv_style_value_t _lv_style_value_color(lv_color_t c) {
    lv_style_value_t v;
    v.ptr = NULL;
    v.color = c;
    return v;
}
#define _LV_STYLE_TO_VALUE_num(x)           _lv_style_value_num((int32_t)(x))
#define _LV_STYLE_TO_VALUE_ptr(x)           _lv_style_value_ptr((const void *)(x))
#define _LV_STYLE_TO_VALUE_color(x)         _lv_style_value_color(x)
#define _LV_STYLE_FROM_VALUE_num(v, type)   ((type)(v).num)
#define _LV_STYLE_FROM_VALUE_ptr(v, type)   ((type)(v).ptr)
#define _LV_STYLE_FROM_VALUE_color(v, type) ((v).color)

#define _LV_STYLE_SETTER(NAME, name, type, field, flags)                                                     \
    static inline void lv_style_set_##name(lv_style_t *style, type value) {                                  \
        lv_style_set_prop(style, LV_STYLE_##NAME, _LV_STYLE_TO_VALUE_##field(value));                        \
    }
LV_STYLE_PROP_LIST(_LV_STYLE_SETTER)
#undef _LV_STYLE_SETTER

static inline void lv_style_set_size(lv_style_t *style, lv_coord_t value) {
    lv_style_set_width(style, value);
    lv_style_set_height(style, value);
}
static inline void lv_style_set_pad_all(lv_style_t *style, lv_coord_t value) {
    lv_style_set_pad_left(style, value);
    lv_style_set_pad_right(style, value);
    lv_style_set_pad_top(style, value);
    lv_style_set_pad_bottom(style, value);
}
static inline void lv_style_set_pad_hor(lv_style_t *style, lv_coord_t value) {
    lv_style_set_pad_left(style, value);
    lv_style_set_pad_right(style, value);
}
static inline void lv_style_set_pad_ver(lv_style_t *style, lv_coord_t value) {
    lv_style_set_pad_top(style, value);
    lv_style_set_pad_bottom(style, value);
}
static inline void lv_style_set_pad_gap(lv_style_t *style, lv_coord_t value) {
    lv_style_set_pad_row(style, value);
    lv_style_set_pad_column(style, value);
}

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_STYLE_H */
