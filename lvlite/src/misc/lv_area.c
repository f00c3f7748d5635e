/**
 * @file lv_area.c
 */
#include "lv_area.h"

static inline lv_coord_t area_min(lv_coord_t a, lv_coord_t b) {
    return a < b ? a : b;
}

static inline lv_coord_t area_max(lv_coord_t a, lv_coord_t b) {
    return a > b ? a : b;
}

void lv_area_set(lv_area_t *area_p, lv_coord_t x1, lv_coord_t y1, lv_coord_t x2, lv_coord_t y2) {
    area_p->x1 = x1;
    area_p->y1 = y1;
    area_p->x2 = x2;
    area_p->y2 = y2;
}

void lv_area_set_width(lv_area_t *area_p, lv_coord_t w) {
    area_p->x2 = area_p->x1 + w - 1;
}

void lv_area_set_height(lv_area_t *area_p, lv_coord_t h) {
    area_p->y2 = area_p->y1 + h - 1;
}

void _lv_area_set_pos(lv_area_t *area_p, lv_coord_t x, lv_coord_t y) {
    lv_area_move(area_p, (lv_coord_t)(x - area_p->x1), (lv_coord_t)(y - area_p->y1));
}

uint32_t lv_area_get_size(const lv_area_t *area_p) {
    if (area_p->x2 < area_p->x1 || area_p->y2 < area_p->y1)
        return 0;
    return (uint32_t)(area_p->x2 - area_p->x1 + 1) * (uint32_t)(area_p->y2 - area_p->y1 + 1);
}

void lv_area_increase(lv_area_t *area, lv_coord_t w_extra, lv_coord_t h_extra) {
    area->x1 -= w_extra;
    area->x2 += w_extra;
    area->y1 -= h_extra;
    area->y2 += h_extra;
}

void lv_area_move(lv_area_t *area, lv_coord_t x_ofs, lv_coord_t y_ofs) {
    area->x1 += x_ofs;
    area->x2 += x_ofs;
    area->y1 += y_ofs;
    area->y2 += y_ofs;
}

bool _lv_area_intersect(lv_area_t *res_p, const lv_area_t *a1_p, const lv_area_t *a2_p) {
    res_p->x1 = area_max(a1_p->x1, a2_p->x1);
    res_p->y1 = area_max(a1_p->y1, a2_p->y1);
    res_p->x2 = area_min(a1_p->x2, a2_p->x2);
    res_p->y2 = area_min(a1_p->y2, a2_p->y2);
    return res_p->x1 <= res_p->x2 && res_p->y1 <= res_p->y2;
}

void _lv_area_join(lv_area_t *a_res_p, const lv_area_t *a1_p, const lv_area_t *a2_p) {
    a_res_p->x1 = area_min(a1_p->x1, a2_p->x1);
    a_res_p->y1 = area_min(a1_p->y1, a2_p->y1);
    a_res_p->x2 = area_max(a1_p->x2, a2_p->x2);
    a_res_p->y2 = area_max(a1_p->y2, a2_p->y2);
}

/* Whether p lies within the circle of radius r centred at (cx, cy). */
static bool in_circle(lv_coord_t cx, lv_coord_t cy, lv_coord_t r, const lv_point_t *p) {
    int64_t dx = (int64_t)p->x - cx;
    int64_t dy = (int64_t)p->y - cy;
    return dx * dx + dy * dy <= (int64_t)r * r;
}

bool _lv_area_is_point_on(const lv_area_t *a_p, const lv_point_t *p_p, lv_coord_t radius) {
    if (p_p->x < a_p->x1 || p_p->x > a_p->x2 || p_p->y < a_p->y1 || p_p->y > a_p->y2)
        return false;
    if (radius <= 0)
        return true;

    lv_coord_t w = lv_area_get_width(a_p);
    lv_coord_t h = lv_area_get_height(a_p);
    lv_coord_t max_r = area_min(w, h) / 2;
    if (radius > max_r)
        radius = max_r;

    /* Only points in the corner squares can fall outside the rounding. */
    lv_coord_t cx;
    lv_coord_t cy;
    if (p_p->x < a_p->x1 + radius) {
        cx = a_p->x1 + radius;
    } else if (p_p->x > a_p->x2 - radius) {
        cx = a_p->x2 - radius;
    } else {
        return true;
    }
    if (p_p->y < a_p->y1 + radius) {
        cy = a_p->y1 + radius;
    } else if (p_p->y > a_p->y2 - radius) {
        cy = a_p->y2 - radius;
    } else {
        return true;
    }
    return in_circle(cx, cy, radius, p_p);
}

bool _lv_area_is_on(const lv_area_t *a1_p, const lv_area_t *a2_p) {
    return a1_p->x1 <= a2_p->x2 && a1_p->x2 >= a2_p->x1 && a1_p->y1 <= a2_p->y2 && a1_p->y2 >= a2_p->y1;
}

bool _lv_area_is_in(const lv_area_t *ain_p, const lv_area_t *aholder_p, lv_coord_t radius) {
    if (ain_p->x1 < aholder_p->x1 || ain_p->y1 < aholder_p->y1 || ain_p->x2 > aholder_p->x2 ||
        ain_p->y2 > aholder_p->y2)
        return false;
    if (radius <= 0)
        return true;

    lv_point_t corners[4] = {
        {ain_p->x1, ain_p->y1}, {ain_p->x2, ain_p->y1}, {ain_p->x1, ain_p->y2}, {ain_p->x2, ain_p->y2}};
    for (int i = 0; i < 4; i++) {
        if (!_lv_area_is_point_on(aholder_p, &corners[i], radius))
            return false;
    }
    return true;
}

bool _lv_area_is_out(const lv_area_t *aout_p, const lv_area_t *aholder_p, lv_coord_t radius) {
    if (!_lv_area_is_on(aout_p, aholder_p))
        return true;
    if (radius <= 0)
        return false;

    /* The area may still sit entirely in one cut-off corner of the holder. */
    lv_point_t corners[4] = {{aout_p->x1, aout_p->y1},
                             {aout_p->x2, aout_p->y1},
                             {aout_p->x1, aout_p->y2},
                             {aout_p->x2, aout_p->y2}};
    for (int i = 0; i < 4; i++) {
        if (_lv_area_is_point_on(aholder_p, &corners[i], radius))
            return false;
    }
    return true;
}

bool _lv_area_is_equal(const lv_area_t *a, const lv_area_t *b) {
    return a->x1 == b->x1 && a->x2 == b->x2 && a->y1 == b->y1 && a->y2 == b->y2;
}

/* How an alignment places an area along one axis relative to its base. */
enum { AT_START, AT_MIDDLE, AT_END, BEFORE, AFTER };

/* Per lv_align_t value (in enum order): horizontal rule, vertical rule. */
static const uint8_t align_rules[][2] = {
    {AT_START, AT_START},   /* DEFAULT */
    {AT_START, AT_START},   /* TOP_LEFT */
    {AT_MIDDLE, AT_START},  /* TOP_MID */
    {AT_END, AT_START},     /* TOP_RIGHT */
    {AT_START, AT_END},     /* BOTTOM_LEFT */
    {AT_MIDDLE, AT_END},    /* BOTTOM_MID */
    {AT_END, AT_END},       /* BOTTOM_RIGHT */
    {AT_START, AT_MIDDLE},  /* LEFT_MID */
    {AT_END, AT_MIDDLE},    /* RIGHT_MID */
    {AT_MIDDLE, AT_MIDDLE}, /* CENTER */
    {AT_START, BEFORE},     /* OUT_TOP_LEFT */
    {AT_MIDDLE, BEFORE},    /* OUT_TOP_MID */
    {AT_END, BEFORE},       /* OUT_TOP_RIGHT */
    {AT_START, AFTER},      /* OUT_BOTTOM_LEFT */
    {AT_MIDDLE, AFTER},     /* OUT_BOTTOM_MID */
    {AT_END, AFTER},        /* OUT_BOTTOM_RIGHT */
    {BEFORE, AT_START},     /* OUT_LEFT_TOP */
    {BEFORE, AT_MIDDLE},    /* OUT_LEFT_MID */
    {BEFORE, AT_END},       /* OUT_LEFT_BOTTOM */
    {AFTER, AT_START},      /* OUT_RIGHT_TOP */
    {AFTER, AT_MIDDLE},     /* OUT_RIGHT_MID */
    {AFTER, AT_END},        /* OUT_RIGHT_BOTTOM */
};

/* Offset from the base's start of an item of length len on a base of length base_len. The middle is
 * two integer halves, as the alignment always computed it. */
static lv_coord_t align_offset(uint8_t rule, lv_coord_t base_len, lv_coord_t len) {
    switch (rule) {
    case AT_MIDDLE:
        return base_len / 2 - len / 2;
    case AT_END:
        return base_len - len;
    case BEFORE:
        return -len;
    case AFTER:
        return base_len;
    default:
        return 0;
    }
}

void lv_area_align(const lv_area_t *base, lv_area_t *to_align, lv_align_t align, lv_coord_t ofs_x,
                   lv_coord_t ofs_y) {
    const uint8_t *rule = align_rules[align < sizeof(align_rules) / sizeof(align_rules[0]) ? align : 0];
    lv_coord_t w = lv_area_get_width(to_align);
    lv_coord_t h = lv_area_get_height(to_align);
    lv_coord_t x = base->x1 + ofs_x + align_offset(rule[0], lv_area_get_width(base), w);
    lv_coord_t y = base->y1 + ofs_y + align_offset(rule[1], lv_area_get_height(base), h);
    lv_area_set(to_align, x, y, (lv_coord_t)(x + w - 1), (lv_coord_t)(y + h - 1));
}
