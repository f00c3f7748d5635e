/**
 * @file lv_area.h
 * Coordinates, points and rectangular areas.
 */
#ifndef LV_AREA_H
#define LV_AREA_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stdint.h>

#include "../lv_conf_internal.h"
#include "lv_types.h"

#if LV_USE_LARGE_COORD
typedef int32_t lv_coord_t;
#else
typedef int16_t lv_coord_t;
#endif

/* The top bits of a coordinate tell whether it is a plain pixel value or a special one
 * (percentage, LV_SIZE_CONTENT). */
#if LV_USE_LARGE_COORD
#define _LV_COORD_TYPE_SHIFT (29U)
#else
#define _LV_COORD_TYPE_SHIFT (13U)
#endif

#define _LV_COORD_TYPE_MASK (3 << _LV_COORD_TYPE_SHIFT)
#define _LV_COORD_TYPE(x)   ((x)&_LV_COORD_TYPE_MASK)
#define _LV_COORD_PLAIN(x)  ((x) & ~_LV_COORD_TYPE_MASK)

#define _LV_COORD_TYPE_PX     (0 << _LV_COORD_TYPE_SHIFT)
#define _LV_COORD_TYPE_SPEC   (1 << _LV_COORD_TYPE_SHIFT)
#define _LV_COORD_TYPE_PX_NEG (3 << _LV_COORD_TYPE_SHIFT)

#define LV_COORD_IS_PX(x)                                                                                    \
    (_LV_COORD_TYPE(x) == _LV_COORD_TYPE_PX || _LV_COORD_TYPE(x) == _LV_COORD_TYPE_PX_NEG)
#define LV_COORD_IS_SPEC(x) (_LV_COORD_TYPE(x) == _LV_COORD_TYPE_SPEC)

#define LV_COORD_SET_SPEC(x) ((x) | _LV_COORD_TYPE_SPEC)

/** Largest plain coordinate value. */
#define LV_COORD_MAX ((1 << _LV_COORD_TYPE_SHIFT) - 1)
#define LV_COORD_MIN (-LV_COORD_MAX)

/** Size of an object that follows its content. */
#define LV_SIZE_CONTENT LV_COORD_SET_SPEC(2001)

#define LV_PCT_STORED_MAX   (1000 - 1)
#define LV_PCT(x)           (((x) < 0) ? LV_COORD_SET_SPEC(1000 - (x)) : LV_COORD_SET_SPEC(x))
#define LV_COORD_IS_PCT(x)  ((LV_COORD_IS_SPEC(x) && _LV_COORD_PLAIN(x) <= 2000) ? true : false)
#define LV_COORD_GET_PCT(x) (_LV_COORD_PLAIN(x) > 1000 ? 1000 - _LV_COORD_PLAIN(x) : _LV_COORD_PLAIN(x))

typedef struct {
    lv_coord_t x;
    lv_coord_t y;
} lv_point_t;

/** A rectangle given by its two inclusive corners. */
typedef struct {
    lv_coord_t x1;
    lv_coord_t y1;
    lv_coord_t x2;
    lv_coord_t y2;
} lv_area_t;

enum {
    LV_ALIGN_DEFAULT = 0,
    LV_ALIGN_TOP_LEFT,
    LV_ALIGN_TOP_MID,
    LV_ALIGN_TOP_RIGHT,
    LV_ALIGN_BOTTOM_LEFT,
    LV_ALIGN_BOTTOM_MID,
    LV_ALIGN_BOTTOM_RIGHT,
    LV_ALIGN_LEFT_MID,
    LV_ALIGN_RIGHT_MID,
    LV_ALIGN_CENTER,

    LV_ALIGN_OUT_TOP_LEFT,
    LV_ALIGN_OUT_TOP_MID,
    LV_ALIGN_OUT_TOP_RIGHT,
    LV_ALIGN_OUT_BOTTOM_LEFT,
    LV_ALIGN_OUT_BOTTOM_MID,
    LV_ALIGN_OUT_BOTTOM_RIGHT,
    LV_ALIGN_OUT_LEFT_TOP,
    LV_ALIGN_OUT_LEFT_MID,
    LV_ALIGN_OUT_LEFT_BOTTOM,
    LV_ALIGN_OUT_RIGHT_TOP,
    LV_ALIGN_OUT_RIGHT_MID,
    LV_ALIGN_OUT_RIGHT_BOTTOM,
};
typedef uint8_t lv_align_t;

enum {
    LV_DIR_NONE = 0x00,
    LV_DIR_LEFT = (1 << 0),
    LV_DIR_RIGHT = (1 << 1),
    LV_DIR_TOP = (1 << 2),
    LV_DIR_BOTTOM = (1 << 3),
    LV_DIR_HOR = LV_DIR_LEFT | LV_DIR_RIGHT,
    LV_DIR_VER = LV_DIR_TOP | LV_DIR_BOTTOM,
    LV_DIR_ALL = LV_DIR_HOR | LV_DIR_VER,
};
typedef uint8_t lv_dir_t;

static inline lv_coord_t lv_pct(lv_coord_t x) {
    return LV_PCT(x);
}

void lv_area_set(lv_area_t *area_p, lv_coord_t x1, lv_coord_t y1, lv_coord_t x2, lv_coord_t y2);

static inline void lv_area_copy(lv_area_t *dest, const lv_area_t *src) {
    dest->x1 = src->x1;
    dest->y1 = src->y1;
    dest->x2 = src->x2;
    dest->y2 = src->y2;
}

static inline lv_coord_t lv_area_get_width(const lv_area_t *area_p) {
    return (lv_coord_t)(area_p->x2 - area_p->x1 + 1);
}

static inline lv_coord_t lv_area_get_height(const lv_area_t *area_p) {
    return (lv_coord_t)(area_p->y2 - area_p->y1 + 1);
}

void lv_area_set_width(lv_area_t *area_p, lv_coord_t w);
void lv_area_set_height(lv_area_t *area_p, lv_coord_t h);
void _lv_area_set_pos(lv_area_t *area_p, lv_coord_t x, lv_coord_t y);

/** Number of pixels of the area (0 for an empty one). */
uint32_t lv_area_get_size(const lv_area_t *area_p);

void lv_area_increase(lv_area_t *area, lv_coord_t w_extra, lv_coord_t h_extra);
void lv_area_move(lv_area_t *area, lv_coord_t x_ofs, lv_coord_t y_ofs);

/** Intersection of a1 and a2 into res; false (res undefined but written) when they do not meet. */
bool _lv_area_intersect(lv_area_t *res_p, const lv_area_t *a1_p, const lv_area_t *a2_p);

/** Smallest area that holds both a1 and a2. */
void _lv_area_join(lv_area_t *a_res_p, const lv_area_t *a1_p, const lv_area_t *a2_p);

/** Whether the point is in the area; with a radius the rounded corners are left out. */
bool _lv_area_is_point_on(const lv_area_t *a_p, const lv_point_t *p_p, lv_coord_t radius);

/** Whether the two areas have at least one common pixel. */
bool _lv_area_is_on(const lv_area_t *a1_p, const lv_area_t *a2_p);

/** Whether ain lies entirely inside aholder (taking the holder's rounded corners into account). */
bool _lv_area_is_in(const lv_area_t *ain_p, const lv_area_t *aholder_p, lv_coord_t radius);

/** Whether ain lies entirely outside aholder. */
bool _lv_area_is_out(const lv_area_t *aout_p, const lv_area_t *aholder_p, lv_coord_t radius);

bool _lv_area_is_equal(const lv_area_t *a, const lv_area_t *b);

/** Place to_align relative to base by align and the offsets; to_align keeps its size. */
void lv_area_align(const lv_area_t *base, lv_area_t *to_align, lv_align_t align, lv_coord_t ofs_x,
                   lv_coord_t ofs_y);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_AREA_H */
