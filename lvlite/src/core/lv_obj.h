/**
 * @file lv_obj.h
 * The base object: every widget is an lv_obj_t with a class, a parent, styles, flags and a state.
 */
#ifndef LV_OBJ_H
#define LV_OBJ_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "../lv_conf_internal.h"
#include "../misc/lv_area.h"
#include "../misc/lv_assert.h"
#include "../misc/lv_color.h"
#include "../misc/lv_math.h"
#include "../misc/lv_style.h"
#include "../misc/lv_types.h"
#include "../hal/lv_hal.h"

struct _lv_obj_t;
typedef struct _lv_obj_t lv_obj_t;

enum {
    LV_STATE_DEFAULT = 0x0000,
    LV_STATE_CHECKED = 0x0001,
    LV_STATE_FOCUSED = 0x0002,
    LV_STATE_FOCUS_KEY = 0x0004,
    LV_STATE_EDITED = 0x0008,
    LV_STATE_HOVERED = 0x0010,
    LV_STATE_PRESSED = 0x0020,
    LV_STATE_SCROLLED = 0x0040,
    LV_STATE_DISABLED = 0x0080,
    LV_STATE_USER_1 = 0x1000,
    LV_STATE_USER_2 = 0x2000,
    LV_STATE_USER_3 = 0x4000,
    LV_STATE_USER_4 = 0x8000,
    LV_STATE_ANY = 0xFFFF,
};
typedef uint16_t lv_state_t;

enum {
    LV_PART_MAIN = 0x000000,
    LV_PART_SCROLLBAR = 0x010000,
    LV_PART_INDICATOR = 0x020000,
    LV_PART_KNOB = 0x030000,
    LV_PART_SELECTED = 0x040000,
    LV_PART_ITEMS = 0x050000,
    LV_PART_TICKS = 0x060000,
    LV_PART_CURSOR = 0x070000,
    LV_PART_CUSTOM_FIRST = 0x080000,
    LV_PART_ANY = 0x0F0000,
};
typedef uint32_t lv_part_t;

typedef uint32_t lv_style_selector_t;

enum {
    LV_OBJ_FLAG_HIDDEN = (1L << 0),
    LV_OBJ_FLAG_CLICKABLE = (1L << 1),
    LV_OBJ_FLAG_CLICK_FOCUSABLE = (1L << 2),
    LV_OBJ_FLAG_CHECKABLE = (1L << 3),
    LV_OBJ_FLAG_SCROLLABLE = (1L << 4),
    LV_OBJ_FLAG_SCROLL_ELASTIC = (1L << 5),
    LV_OBJ_FLAG_SCROLL_MOMENTUM = (1L << 6),
    LV_OBJ_FLAG_SCROLL_ONE = (1L << 7),
    LV_OBJ_FLAG_SCROLL_CHAIN_HOR = (1L << 8),
    LV_OBJ_FLAG_SCROLL_CHAIN_VER = (1L << 9),
    LV_OBJ_FLAG_SCROLL_CHAIN = (LV_OBJ_FLAG_SCROLL_CHAIN_HOR | LV_OBJ_FLAG_SCROLL_CHAIN_VER),
    LV_OBJ_FLAG_SCROLL_ON_FOCUS = (1L << 10),
    LV_OBJ_FLAG_SCROLL_WITH_ARROW = (1L << 11),
    LV_OBJ_FLAG_SNAPPABLE = (1L << 12),
    LV_OBJ_FLAG_PRESS_LOCK = (1L << 13),
    LV_OBJ_FLAG_EVENT_BUBBLE = (1L << 14),
    LV_OBJ_FLAG_GESTURE_BUBBLE = (1L << 15),
    LV_OBJ_FLAG_ADV_HITTEST = (1L << 16),
    LV_OBJ_FLAG_IGNORE_LAYOUT = (1L << 17),
    LV_OBJ_FLAG_FLOATING = (1L << 18),
    LV_OBJ_FLAG_OVERFLOW_VISIBLE = (1L << 19),
    LV_OBJ_FLAG_LAYOUT_1 = (1L << 23),
    LV_OBJ_FLAG_LAYOUT_2 = (1L << 24),
    LV_OBJ_FLAG_WIDGET_1 = (1L << 25),
    LV_OBJ_FLAG_WIDGET_2 = (1L << 26),
    LV_OBJ_FLAG_USER_1 = (1L << 27),
    LV_OBJ_FLAG_USER_2 = (1L << 28),
    LV_OBJ_FLAG_USER_3 = (1L << 29),
    LV_OBJ_FLAG_USER_4 = (1L << 30),
};
typedef uint32_t lv_obj_flag_t;

typedef enum {
    LV_SCROLLBAR_MODE_OFF,
    LV_SCROLLBAR_MODE_ON,
    LV_SCROLLBAR_MODE_ACTIVE,
    LV_SCROLLBAR_MODE_AUTO,
} lv_scrollbar_mode_t;

typedef enum {
    LV_SCROLL_SNAP_NONE,
    LV_SCROLL_SNAP_START,
    LV_SCROLL_SNAP_END,
    LV_SCROLL_SNAP_CENTER,
} lv_scroll_snap_t;

typedef enum {
    LV_LAYER_TYPE_NONE,
    LV_LAYER_TYPE_SIMPLE,
    LV_LAYER_TYPE_TRANSFORM,
} lv_layer_type_t;

struct _lv_event_dsc_t;
struct _lv_group_t;

typedef struct {
    struct _lv_obj_t **children;
    uint32_t child_cnt;
    struct _lv_group_t *group_p;
    struct _lv_event_dsc_t *event_dsc;
    lv_point_t scroll; /**< how far the children are moved: the negative of the scroll position */
    lv_coord_t ext_click_pad;
    lv_coord_t ext_draw_size;
    lv_scrollbar_mode_t scrollbar_mode : 2;
    lv_scroll_snap_t scroll_snap_x : 2;
    lv_scroll_snap_t scroll_snap_y : 2;
    lv_dir_t scroll_dir : 4;
    uint8_t event_dsc_cnt;
    uint8_t layer_type : 2;
} _lv_obj_spec_attr_t;

typedef struct {
    const lv_style_t *style;
    uint32_t selector : 24;
    uint32_t is_local : 1;
    uint32_t is_trans : 1;
} _lv_obj_style_t;

struct _lv_obj_class_t;

struct _lv_obj_t {
    const struct _lv_obj_class_t *class_p;
    struct _lv_obj_t *parent;
    _lv_obj_spec_attr_t *spec_attr;
    _lv_obj_style_t *styles;
#if LV_USE_USER_DATA
    void *user_data;
#endif
    lv_area_t coords;
    lv_obj_flag_t flags;
    lv_state_t state;
    uint16_t layout_inv : 1;
    uint16_t readjust_scroll_after_layout : 1;
    uint16_t scr_layout_inv : 1;
    uint16_t skip_trans : 1;
    uint16_t style_cnt : 6;
    uint16_t h_layout : 1;
    uint16_t w_layout : 1;
    uint16_t being_deleted : 1;
};

#include "lv_obj_class.h"
#include "lv_event.h"
#include "lv_obj_tree.h"
#include "lv_obj_pos.h"
#include "lv_obj_scroll.h"
#include "lv_obj_style.h"
#include "lv_obj_draw.h"
#include "lv_group.h"

extern const lv_obj_class_t lv_obj_class;

/** Start the graphics core: timers, animations, groups, the draw layer, decoders and layouts. */
void lv_init(void);
bool lv_is_initialized(void);

/** Create a base object on parent, or a new screen when parent is NULL. */
lv_obj_t *lv_obj_create(lv_obj_t *parent);

void lv_obj_add_flag(lv_obj_t *obj, lv_obj_flag_t f);
void lv_obj_clear_flag(lv_obj_t *obj, lv_obj_flag_t f);
/** Add states; styles of the new state and their transitions take effect. */
void lv_obj_add_state(lv_obj_t *obj, lv_state_t state);
void lv_obj_clear_state(lv_obj_t *obj, lv_state_t state);
#if LV_USE_USER_DATA
static inline void lv_obj_set_user_data(lv_obj_t *obj, void *user_data) {
    obj->user_data = user_data;
}
static inline void *lv_obj_get_user_data(lv_obj_t *obj) {
    return obj->user_data;
}
#endif
bool lv_obj_has_flag(const lv_obj_t *obj, lv_obj_flag_t f);
bool lv_obj_has_flag_any(const lv_obj_t *obj, lv_obj_flag_t f);
lv_state_t lv_obj_get_state(const lv_obj_t *obj);
bool lv_obj_has_state(const lv_obj_t *obj, lv_state_t state);
struct _lv_group_t *lv_obj_get_group(const lv_obj_t *obj);
void lv_obj_allocate_spec_attr(lv_obj_t *obj);
bool lv_obj_check_type(const lv_obj_t *obj, const struct _lv_obj_class_t *class_p);
bool lv_obj_has_class(const lv_obj_t *obj, const struct _lv_obj_class_t *class_p);
const struct _lv_obj_class_t *lv_obj_get_class(const lv_obj_t *obj);
/** Whether obj is a live object of some display. */
bool lv_obj_is_valid(const lv_obj_t *obj);
/** Scale a size given for 160 DPI to the object's display. */
lv_coord_t lv_obj_dpx(const lv_obj_t *obj, lv_coord_t n);

#define LV_DPX(n) (n == 0 ? 0 : LV_MAX((((lv_disp_get_dpi(NULL) * (n) + 80) / 160)), 1))
static inline lv_coord_t lv_dpx(lv_coord_t n) {
    return LV_DPX(n);
}

#define LV_ASSERT_OBJ(obj_p, obj_class) LV_ASSERT_NULL(obj_p)

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_OBJ_H */
