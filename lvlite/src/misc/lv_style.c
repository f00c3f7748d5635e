/**
 * @file lv_style.c
 * A style is an unordered array of (property, value) entries, at most one entry per property.
 * Removing an entry moves the last one into its place: the order of the entries means nothing.
 */
#include "lv_style.h"
#include "lv_log.h"
#include "lv_mem.h"

/* What changes with each built-in property, indexed by its id (id 0 is "no property"). */
#define FLAGS_OF(NAME, name, type, field, flags) (uint8_t)(flags),
static const uint8_t prop_flags[_LV_STYLE_NUM_BUILT_IN_PROPS] = {0, LV_STYLE_PROP_LIST(FLAGS_OF)};
#undef FLAGS_OF

/* Properties registered by the program, after the built-in ones. */
static struct {
    uint8_t *flags;
    uint16_t count;
} registered;

static lv_style_const_prop_t *entry_of(const lv_style_t *style, lv_style_prop_t prop) {
    lv_style_const_prop_t *e = style->props;
    lv_style_const_prop_t *end = e + style->prop_cnt;
    for (; e != end; ++e) {
        if (e->prop == prop)
            return e;
    }
    return NULL;
}

void lv_style_init(lv_style_t *style) {
    style->props = NULL;
    style->prop_cnt = 0;
    style->sentinel = LV_STYLE_SENTINEL_VALUE;
}

void lv_style_reset(lv_style_t *style) {
    void *old = style->props;
    lv_style_init(style);
    lv_mem_free(old);
}

lv_style_prop_t lv_style_register_prop(uint8_t flag) {
    uint8_t *grown = lv_mem_realloc(registered.flags, (size_t)registered.count + 1);
    if (grown == NULL)
        return LV_STYLE_PROP_INV;
    registered.flags = grown;
    grown[registered.count] = flag;
    return (lv_style_prop_t)(_LV_STYLE_LAST_BUILT_IN_PROP + registered.count++);
}

lv_style_prop_t lv_style_get_num_custom_props(void) {
    return registered.count;
}

bool lv_style_remove_prop(lv_style_t *style, lv_style_prop_t prop) {
    lv_style_const_prop_t *e = entry_of(style, prop);
    if (e == NULL)
        return false;
    uint16_t left = (uint16_t)(style->prop_cnt - 1);
    *e = style->props[left];
    style->prop_cnt = left;
    if (left == 0) {
        lv_mem_free(style->props);
        style->props = NULL;
    }
    return true;
}

void lv_style_set_prop(lv_style_t *style, lv_style_prop_t prop, lv_style_value_t value) {
    if (prop == LV_STYLE_PROP_ANY || prop == LV_STYLE_PROP_INV) {
        LV_LOG_ERROR("not a property that can be set: %u", (unsigned)prop);
        return;
    }
    lv_style_const_prop_t *e = entry_of(style, prop);
    if (e == NULL) {
        size_t bytes = sizeof(lv_style_const_prop_t) * ((size_t)style->prop_cnt + 1);
        lv_style_const_prop_t *grown = lv_mem_realloc(style->props, bytes);
        if (grown == NULL) {
            LV_LOG_ERROR("no memory for another style property");
            return;
        }
        style->props = grown;
        e = &grown[style->prop_cnt++];
        e->prop = prop;
    }
    e->value = value;
}

lv_style_res_t lv_style_get_prop(const lv_style_t *style, lv_style_prop_t prop, lv_style_value_t *value) {
    const lv_style_const_prop_t *e = entry_of(style, prop);
    if (e == NULL)
        return LV_STYLE_RES_NOT_FOUND;
    *value = e->value;
    return LV_STYLE_RES_FOUND;
}

void lv_style_transition_dsc_init(lv_style_transition_dsc_t *tr, const lv_style_prop_t props[],
                                  lv_anim_path_cb_t path_cb, uint32_t time, uint32_t delay, void *user_data) {
    lv_style_transition_dsc_t d = {0};
    d.props = props;
    d.path_xcb = path_cb ? path_cb : lv_anim_path_linear;
    d.time = time;
    d.delay = delay;
    d.user_data = user_data;
    *tr = d;
}

/* Defaults that are not zero; every other property defaults to 0 / NULL. */
typedef enum { DEF_WHITE, DEF_BLACK, DEF_COVER, DEF_NUM, DEF_FONT } def_kind_t;
typedef struct {
    lv_style_prop_t prop;
    uint8_t kind;
    int32_t num;
} prop_default_t;

static const prop_default_t non_zero_defaults[] = {
    {LV_STYLE_BG_COLOR, DEF_WHITE, 0},
    {LV_STYLE_BG_GRAD_COLOR, DEF_BLACK, 0},
    {LV_STYLE_BG_IMG_RECOLOR, DEF_BLACK, 0},
    {LV_STYLE_BORDER_COLOR, DEF_BLACK, 0},
    {LV_STYLE_OUTLINE_COLOR, DEF_BLACK, 0},
    {LV_STYLE_SHADOW_COLOR, DEF_BLACK, 0},
    {LV_STYLE_IMG_RECOLOR, DEF_BLACK, 0},
    {LV_STYLE_LINE_COLOR, DEF_BLACK, 0},
    {LV_STYLE_ARC_COLOR, DEF_BLACK, 0},
    {LV_STYLE_TEXT_COLOR, DEF_BLACK, 0},
    {LV_STYLE_OPA, DEF_COVER, 0},
    {LV_STYLE_BG_IMG_OPA, DEF_COVER, 0},
    {LV_STYLE_BORDER_OPA, DEF_COVER, 0},
    {LV_STYLE_OUTLINE_OPA, DEF_COVER, 0},
    {LV_STYLE_SHADOW_OPA, DEF_COVER, 0},
    {LV_STYLE_IMG_OPA, DEF_COVER, 0},
    {LV_STYLE_LINE_OPA, DEF_COVER, 0},
    {LV_STYLE_ARC_OPA, DEF_COVER, 0},
    {LV_STYLE_TEXT_OPA, DEF_COVER, 0},
    {LV_STYLE_TEXT_FONT, DEF_FONT, 0},
    {LV_STYLE_TRANSFORM_ZOOM, DEF_NUM, 256},
    {LV_STYLE_BG_GRAD_STOP, DEF_NUM, 255},
    {LV_STYLE_BORDER_SIDE, DEF_NUM, LV_BORDER_SIDE_FULL},
    {LV_STYLE_MAX_WIDTH, DEF_NUM, LV_COORD_MAX},
    {LV_STYLE_MAX_HEIGHT, DEF_NUM, LV_COORD_MAX},
};

/* Looked up on every style miss, so it is expanded once into a table indexed by property. */
static lv_style_value_t default_table[_LV_STYLE_NUM_BUILT_IN_PROPS];
static bool default_table_ready;

static void fill_default_table(void) {
    for (size_t i = 0; i < _LV_STYLE_NUM_BUILT_IN_PROPS; i++)
        default_table[i] = _lv_style_value_num(0);
    for (size_t i = 0; i < sizeof(non_zero_defaults) / sizeof(non_zero_defaults[0]); i++) {
        const prop_default_t *d = &non_zero_defaults[i];
        lv_style_value_t *slot = &default_table[d->prop];
        switch (d->kind) {
        case DEF_WHITE:
            *slot = _lv_style_value_color(lv_color_white());
            break;
        case DEF_BLACK:
            *slot = _lv_style_value_color(lv_color_black());
            break;
        case DEF_COVER:
            *slot = _lv_style_value_num(LV_OPA_COVER);
            break;
        case DEF_FONT:
            *slot = _lv_style_value_ptr(LV_FONT_DEFAULT);
            break;
        default:
            *slot = _lv_style_value_num(d->num);
            break;
        }
    }
    default_table_ready = true;
}

lv_style_value_t lv_style_prop_get_default(lv_style_prop_t prop) {
    if (prop >= _LV_STYLE_NUM_BUILT_IN_PROPS)
        return _lv_style_value_num(0);
    if (!default_table_ready)
        fill_default_table();
    return default_table[prop];
}

bool lv_style_is_empty(const lv_style_t *style) {
    return style->prop_cnt == 0;
}

uint8_t _lv_style_prop_lookup_flags(lv_style_prop_t prop) {
    if (prop < _LV_STYLE_NUM_BUILT_IN_PROPS)
        return prop_flags[prop];
    if (prop == LV_STYLE_PROP_ANY)
        return LV_STYLE_PROP_ALL;
    uint32_t own = (uint32_t)prop - _LV_STYLE_LAST_BUILT_IN_PROP;
    return own < registered.count ? registered.flags[own] : 0;
}
