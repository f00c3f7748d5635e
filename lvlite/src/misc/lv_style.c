/**
 * @file lv_style.c
 * A style is a small array of (property, value) pairs, one per property.
 */
#include "lv_style.h"
#include "lv_mem.h"
#include "lv_log.h"

#define _LV_STYLE_FLAG_ITEM(NAME, name, type, field, flags) (uint8_t)(flags),
static const uint8_t builtin_flags[_LV_STYLE_NUM_BUILT_IN_PROPS] = {0,
                                                                    LV_STYLE_PROP_LIST(_LV_STYLE_FLAG_ITEM)};
#undef _LV_STYLE_FLAG_ITEM

static uint8_t *custom_flags;
static uint16_t custom_cnt;

void lv_style_init(lv_style_t *style) {
    lv_memset_00(style, sizeof(lv_style_t));
    style->sentinel = LV_STYLE_SENTINEL_VALUE;
}

void lv_style_reset(lv_style_t *style) {
    lv_mem_free(style->props);
    lv_style_init(style);
}

lv_style_prop_t lv_style_register_prop(uint8_t flag) {
    uint8_t *n = lv_mem_realloc(custom_flags, custom_cnt + 1u);
    if (n == NULL)
        return LV_STYLE_PROP_INV;
    custom_flags = n;
    custom_flags[custom_cnt] = flag;
    custom_cnt++;
    return (lv_style_prop_t)(_LV_STYLE_LAST_BUILT_IN_PROP + custom_cnt - 1);
}

lv_style_prop_t lv_style_get_num_custom_props(void) {
    return custom_cnt;
}

bool lv_style_remove_prop(lv_style_t *style, lv_style_prop_t prop) {
    for (uint16_t i = 0; i < style->prop_cnt; i++) {
        if (style->props[i].prop != prop)
            continue;
        for (uint16_t j = i; j + 1 < style->prop_cnt; j++)
            style->props[j] = style->props[j + 1];
        style->prop_cnt--;
        if (style->prop_cnt == 0) {
            lv_mem_free(style->props);
            style->props = NULL;
        }
        return true;
    }
    return false;
}

void lv_style_set_prop(lv_style_t *style, lv_style_prop_t prop, lv_style_value_t value) {
    if (prop == LV_STYLE_PROP_INV || prop == LV_STYLE_PROP_ANY) {
        LV_LOG_ERROR("invalid property");
        return;
    }
    for (uint16_t i = 0; i < style->prop_cnt; i++) {
        if (style->props[i].prop == prop) {
            style->props[i].value = value;
            return;
        }
    }
    lv_style_const_prop_t *n = lv_mem_realloc(style->props, (style->prop_cnt + 1u) * sizeof(*n));
    if (n == NULL) {
        LV_LOG_ERROR("out of memory");
        return;
    }
    style->props = n;
    style->props[style->prop_cnt].prop = prop;
    style->props[style->prop_cnt].value = value;
    style->prop_cnt++;
}

lv_style_res_t lv_style_get_prop(const lv_style_t *style, lv_style_prop_t prop, lv_style_value_t *value) {
    for (uint16_t i = 0; i < style->prop_cnt; i++) {
        if (style->props[i].prop == prop) {
            *value = style->props[i].value;
            return LV_STYLE_RES_FOUND;
        }
    }
    return LV_STYLE_RES_NOT_FOUND;
}

void lv_style_transition_dsc_init(lv_style_transition_dsc_t *tr, const lv_style_prop_t props[],
                                  lv_anim_path_cb_t path_cb, uint32_t time, uint32_t delay, void *user_data) {
    lv_memset_00(tr, sizeof(lv_style_transition_dsc_t));
    tr->props = props;
    tr->path_xcb = path_cb == NULL ? lv_anim_path_linear : path_cb;
    tr->time = time;
    tr->delay = delay;
    tr->user_data = user_data;
}

lv_style_value_t lv_style_prop_get_default(lv_style_prop_t prop) {
    switch (prop) {
    case LV_STYLE_TRANSFORM_ZOOM:
        return _lv_style_value_num(256);
    case LV_STYLE_BG_COLOR:
        return _lv_style_value_color(lv_color_white());
    case LV_STYLE_BG_GRAD_COLOR:
    case LV_STYLE_BORDER_COLOR:
    case LV_STYLE_SHADOW_COLOR:
    case LV_STYLE_OUTLINE_COLOR:
    case LV_STYLE_ARC_COLOR:
    case LV_STYLE_LINE_COLOR:
    case LV_STYLE_TEXT_COLOR:
    case LV_STYLE_IMG_RECOLOR:
    case LV_STYLE_BG_IMG_RECOLOR:
        return _lv_style_value_color(lv_color_black());
    case LV_STYLE_OPA:
    case LV_STYLE_BORDER_OPA:
    case LV_STYLE_TEXT_OPA:
    case LV_STYLE_IMG_OPA:
    case LV_STYLE_BG_IMG_OPA:
    case LV_STYLE_OUTLINE_OPA:
    case LV_STYLE_SHADOW_OPA:
    case LV_STYLE_LINE_OPA:
    case LV_STYLE_ARC_OPA:
        return _lv_style_value_num(LV_OPA_COVER);
    case LV_STYLE_BG_GRAD_STOP:
        return _lv_style_value_num(255);
    case LV_STYLE_BORDER_SIDE:
        return _lv_style_value_num(LV_BORDER_SIDE_FULL);
    case LV_STYLE_TEXT_FONT:
        return _lv_style_value_ptr(LV_FONT_DEFAULT);
    case LV_STYLE_MAX_WIDTH:
    case LV_STYLE_MAX_HEIGHT:
        return _lv_style_value_num(LV_COORD_MAX);
    default:
        return _lv_style_value_num(0);
    }
}

bool lv_style_is_empty(const lv_style_t *style) {
    return style->prop_cnt == 0;
}

uint8_t _lv_style_prop_lookup_flags(lv_style_prop_t prop) {
    if (prop == LV_STYLE_PROP_ANY)
        return LV_STYLE_PROP_ALL;
    if (prop < _LV_STYLE_NUM_BUILT_IN_PROPS)
        return builtin_flags[prop];
    uint32_t c = (uint32_t)prop - _LV_STYLE_LAST_BUILT_IN_PROP;
    if (c < custom_cnt)
        return custom_flags[c];
    return 0;
}
