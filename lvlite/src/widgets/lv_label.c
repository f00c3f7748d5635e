/**
 * @file lv_label.c
 * Dots are not written into the text: the label remembers where they start and draws a shortened copy,
 * so lv_label_get_text always gives the text that was set (static texts are never written).
 */
#include "lv_label.h"
#include "../core/lv_disp.h"
#include "../misc/lv_math.h"
#include "../misc/lv_mem.h"

#include <stdio.h>
#include <string.h>

#define MY_CLASS                   &lv_label_class
#define LV_LABEL_DEFAULT_TEXT      "Text"
#define LV_LABEL_HINT_HEIGHT_LIMIT 1024

static void lv_label_constructor(const lv_obj_class_t *class_p, lv_obj_t *obj);
static void lv_label_destructor(const lv_obj_class_t *class_p, lv_obj_t *obj);
static void lv_label_event(const lv_obj_class_t *class_p, lv_event_t *e);
static void lv_label_refr_text(lv_obj_t *obj);

const lv_obj_class_t lv_label_class = {
    .constructor_cb = lv_label_constructor,
    .destructor_cb = lv_label_destructor,
    .event_cb = lv_label_event,
    .width_def = LV_SIZE_CONTENT,
    .height_def = LV_SIZE_CONTENT,
    .instance_size = sizeof(lv_label_t),
    .base_class = &lv_obj_class,
};

lv_obj_t *lv_label_create(lv_obj_t *parent) {
    lv_obj_t *obj = lv_obj_class_create_obj(MY_CLASS, parent);
    if (obj == NULL)
        return NULL;
    lv_obj_class_init_obj(obj);
    return obj;
}

static void free_text(lv_label_t *label) {
    if (!label->static_txt)
        lv_mem_free(label->text);
    label->text = NULL;
}

void lv_label_set_text(lv_obj_t *obj, const char *text) {
    lv_label_t *label = (lv_label_t *)obj;
    lv_obj_invalidate(obj);
    if (text == NULL)
        text = label->text;
    if (text == NULL)
        text = "";
    if (label->text == text && !label->static_txt) {
        /* Refresh with the label's own text. */
    } else {
        size_t len = strlen(text) + 1;
        char *n = lv_mem_alloc(len);
        LV_ASSERT_MALLOC(n);
        if (n == NULL)
            return;
        memcpy(n, text, len);
        free_text(label);
        label->text = n;
        label->static_txt = 0;
    }
    lv_label_refr_text(obj);
}

void lv_label_set_text_fmt(lv_obj_t *obj, const char *fmt, ...) {
    lv_label_t *label = (lv_label_t *)obj;
    lv_obj_invalidate(obj);
    va_list args;
    va_start(args, fmt);
    char *n = _lv_txt_set_text_vfmt(fmt, args);
    va_end(args);
    if (n == NULL)
        return;
    free_text(label);
    label->text = n;
    label->static_txt = 0;
    lv_label_refr_text(obj);
}

void lv_label_set_text_static(lv_obj_t *obj, const char *text) {
    lv_label_t *label = (lv_label_t *)obj;
    if (!label->static_txt)
        lv_mem_free(label->text);
    label->static_txt = 1;
    label->text = (char *)(text ? text : label->text);
    if (label->text == NULL)
        label->text = (char *)"";
    lv_label_refr_text(obj);
}

void lv_label_set_long_mode(lv_obj_t *obj, lv_label_long_mode_t long_mode) {
    lv_label_t *label = (lv_label_t *)obj;
    lv_anim_del(obj, NULL);
    label->offset.x = 0;
    label->offset.y = 0;
    label->expand = long_mode == LV_LABEL_LONG_SCROLL || long_mode == LV_LABEL_LONG_SCROLL_CIRCULAR ||
                    long_mode == LV_LABEL_LONG_CLIP;
    label->long_mode = long_mode;
    lv_label_refr_text(obj);
}

void lv_label_set_recolor(lv_obj_t *obj, bool en) {
    lv_label_t *label = (lv_label_t *)obj;
    if (label->recolor == en)
        return;
    label->recolor = en ? 1 : 0;
    lv_label_refr_text(obj);
}

char *lv_label_get_text(const lv_obj_t *obj) {
    return ((const lv_label_t *)obj)->text;
}

lv_label_long_mode_t lv_label_get_long_mode(const lv_obj_t *obj) {
    return ((const lv_label_t *)obj)->long_mode;
}

bool lv_label_get_recolor(const lv_obj_t *obj) {
    return ((const lv_label_t *)obj)->recolor;
}

void lv_label_ins_text(lv_obj_t *obj, uint32_t pos, const char *txt) {
    lv_label_t *label = (lv_label_t *)obj;
    if (label->static_txt || txt == NULL || label->text == NULL)
        return;
    lv_obj_invalidate(obj);
    size_t old_len = strlen(label->text);
    size_t ins_len = strlen(txt);
    char *n = lv_mem_realloc(label->text, old_len + ins_len + 1);
    LV_ASSERT_MALLOC(n);
    if (n == NULL)
        return;
    label->text = n;
    if (pos == LV_LABEL_POS_LAST)
        pos = _lv_txt_get_encoded_length(label->text);
    _lv_txt_ins(label->text, pos, txt);
    lv_label_set_text(obj, NULL);
}

void lv_label_cut_text(lv_obj_t *obj, uint32_t pos, uint32_t cnt) {
    lv_label_t *label = (lv_label_t *)obj;
    if (label->static_txt || label->text == NULL)
        return;
    lv_obj_invalidate(obj);
    _lv_txt_cut(label->text, pos, cnt);
    lv_label_refr_text(obj);
}

static lv_text_flag_t get_label_flags(const lv_label_t *label) {
    lv_text_flag_t flag = LV_TEXT_FLAG_NONE;
    if (label->recolor)
        flag |= LV_TEXT_FLAG_RECOLOR;
    if (label->expand)
        flag |= LV_TEXT_FLAG_EXPAND;
    lv_obj_t *obj = (lv_obj_t *)&label->obj;
    if (lv_obj_get_style_width(obj, LV_PART_MAIN) == LV_SIZE_CONTENT && !obj->w_layout)
        flag |= LV_TEXT_FLAG_FIT;
    return flag;
}

void lv_label_get_letter_pos(const lv_obj_t *obj, uint32_t char_id, lv_point_t *pos) {
    const lv_label_t *label = (const lv_label_t *)obj;
    const char *txt = label->text;
    pos->x = 0;
    pos->y = 0;
    if (txt == NULL || txt[0] == '\0')
        return;
    lv_area_t txt_coords;
    lv_obj_get_content_coords(obj, &txt_coords);
    const lv_font_t *font = lv_obj_get_style_text_font(obj, LV_PART_MAIN);
    lv_coord_t line_space = lv_obj_get_style_text_line_space(obj, LV_PART_MAIN);
    lv_coord_t letter_space = lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN);
    lv_coord_t letter_height = lv_font_get_line_height(font);
    lv_coord_t max_w = lv_area_get_width(&txt_coords);
    lv_text_flag_t flag = get_label_flags(label);
    uint32_t byte_id = _lv_txt_encoded_get_byte_id(txt, char_id);
    uint32_t line_start = 0;
    uint32_t new_line_start = 0;
    lv_coord_t y = 0;
    while (txt[new_line_start] != '\0') {
        new_line_start += _lv_txt_get_next_line(&txt[line_start], font, letter_space, max_w, NULL, flag);
        if (byte_id < new_line_start || txt[new_line_start] == '\0')
            break;
        y += letter_height + line_space;
        line_start = new_line_start;
    }
    pos->x = lv_txt_get_width(&txt[line_start], byte_id - line_start, font, letter_space, flag);
    pos->y = y;
}

uint32_t lv_label_get_letter_on(const lv_obj_t *obj, lv_point_t *pos_in) {
    const lv_label_t *label = (const lv_label_t *)obj;
    const char *txt = label->text;
    if (txt == NULL)
        return 0;
    lv_point_t pos;
    pos.x = pos_in->x - lv_obj_get_style_pad_left(obj, LV_PART_MAIN);
    pos.y = pos_in->y - lv_obj_get_style_pad_top(obj, LV_PART_MAIN);
    lv_area_t txt_coords;
    lv_obj_get_content_coords(obj, &txt_coords);
    lv_coord_t max_w = lv_area_get_width(&txt_coords);
    const lv_font_t *font = lv_obj_get_style_text_font(obj, LV_PART_MAIN);
    lv_coord_t line_space = lv_obj_get_style_text_line_space(obj, LV_PART_MAIN);
    lv_coord_t letter_space = lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN);
    lv_coord_t letter_height = lv_font_get_line_height(font);
    lv_text_flag_t flag = get_label_flags(label);
    uint32_t line_start = 0;
    uint32_t new_line_start = 0;
    lv_coord_t y = 0;
    while (txt[line_start] != '\0') {
        new_line_start += _lv_txt_get_next_line(&txt[line_start], font, letter_space, max_w, NULL, flag);
        if (pos.y <= y + letter_height) {
            /* The last line includes the terminator. */
            uint32_t tmp = new_line_start;
            uint32_t letter = _lv_txt_encoded_prev(txt, &tmp);
            if (letter != '\n' && txt[new_line_start] == '\0')
                new_line_start++;
            break;
        }
        y += letter_height + line_space;
        line_start = new_line_start;
    }
    lv_coord_t x = 0;
    lv_text_align_t align = lv_obj_get_style_text_align(obj, LV_PART_MAIN);
    if (align == LV_TEXT_ALIGN_CENTER || align == LV_TEXT_ALIGN_RIGHT) {
        uint32_t len = new_line_start - line_start;
        uint32_t rest = (uint32_t)strlen(&txt[line_start]);
        if (len > rest)
            len = rest;
        lv_coord_t line_w = lv_txt_get_width(&txt[line_start], len, font, letter_space, flag);
        x += align == LV_TEXT_ALIGN_CENTER ? lv_area_get_width(&txt_coords) / 2 - line_w / 2
                                           : lv_area_get_width(&txt_coords) - line_w;
    }
    uint32_t i = 0;
    uint32_t i_act = 0;
    if (new_line_start > 0) {
        while (i + line_start < new_line_start) {
            uint32_t letter, letter_next;
            _lv_txt_encoded_letter_next_2(&txt[line_start], &letter, &letter_next, &i);
            lv_coord_t gw = lv_font_get_glyph_width(font, letter, letter_next);
            if (pos.x < x + gw || i + line_start == new_line_start || txt[i_act + line_start] == '\0') {
                i = i_act;
                break;
            }
            x += gw + letter_space;
            i_act = i;
        }
    }
    return _lv_txt_encoded_get_char_id(txt, i + line_start);
}

static void set_ofs_x_anim(void *obj, int32_t v) {
    lv_label_t *label = (lv_label_t *)obj;
    label->offset.x = (lv_coord_t)v;
    lv_obj_invalidate(obj);
}

static void set_ofs_y_anim(void *obj, int32_t v) {
    lv_label_t *label = (lv_label_t *)obj;
    label->offset.y = (lv_coord_t)v;
    lv_obj_invalidate(obj);
}

/* Scroll the text to end and back (playback) or round and round (circular). */
static void start_scroll_anim(lv_obj_t *obj, lv_anim_exec_xcb_t exec_cb, int32_t end, uint32_t speed,
                              bool playback) {
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, obj);
    lv_anim_set_repeat_count(&a, LV_ANIM_REPEAT_INFINITE);
    lv_anim_set_values(&a, 0, end);
    lv_anim_set_exec_cb(&a, exec_cb);
    lv_anim_set_time(&a, lv_anim_speed_to_time(speed, a.start_value, a.end_value));
    if (playback) {
        lv_anim_set_playback_delay(&a, LV_LABEL_SCROLL_DELAY);
        lv_anim_set_repeat_delay(&a, LV_LABEL_SCROLL_DELAY);
        lv_anim_set_playback_time(&a, (uint32_t)a.time);
    } else {
        lv_anim_set_playback_time(&a, 0);
    }
    /* A running scroll keeps its place when the text is refreshed. */
    lv_anim_t *anim_cur = lv_anim_get(obj, exec_cb);
    int32_t act_time = anim_cur ? anim_cur->act_time : 0;
    if (act_time < a.time) {
        a.act_time = act_time;
        a.early_apply = 0;
    }
    lv_anim_start(&a);
}

static void lv_label_refr_text(lv_obj_t *obj) {
    lv_label_t *label = (lv_label_t *)obj;
    if (label->text == NULL)
        return;
    label->hint.line_start = -1;
    label->dot_end = LV_LABEL_DOT_END_INV;
    lv_area_t txt_coords;
    lv_obj_get_content_coords(obj, &txt_coords);
    lv_coord_t max_w = lv_area_get_width(&txt_coords);
    const lv_font_t *font = lv_obj_get_style_text_font(obj, LV_PART_MAIN);
    lv_coord_t line_space = lv_obj_get_style_text_line_space(obj, LV_PART_MAIN);
    lv_coord_t letter_space = lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN);
    lv_text_flag_t flag = get_label_flags(label);
    lv_point_t size;
    lv_txt_get_size(&size, label->text, font, letter_space, line_space, max_w, flag);
    lv_obj_refresh_self_size(obj);

    if (label->long_mode == LV_LABEL_LONG_SCROLL || label->long_mode == LV_LABEL_LONG_SCROLL_CIRCULAR) {
        bool circular = label->long_mode == LV_LABEL_LONG_SCROLL_CIRCULAR;
        uint32_t anim_speed = lv_obj_get_style_anim_speed(obj, LV_PART_MAIN);
        if (anim_speed == 0)
            anim_speed = LV_LABEL_DEF_SCROLL_SPEED;
        bool hor_anim = false;
        if (size.x > lv_area_get_width(&txt_coords)) {
            int32_t end = circular
                              ? -size.x - lv_font_get_glyph_width(font, ' ', ' ') * LV_LABEL_WAIT_CHAR_COUNT
                              : lv_area_get_width(&txt_coords) - size.x;
            start_scroll_anim(obj, set_ofs_x_anim, end, anim_speed, !circular);
            hor_anim = true;
        } else {
            lv_anim_del(obj, set_ofs_x_anim);
            label->offset.x = 0;
        }
        if (size.y > lv_area_get_height(&txt_coords) && !hor_anim) {
            int32_t end =
                circular ? -size.y - lv_font_get_line_height(font) : lv_area_get_height(&txt_coords) - size.y;
            start_scroll_anim(obj, set_ofs_y_anim, end, anim_speed, !circular);
        } else {
            lv_anim_del(obj, set_ofs_y_anim);
            label->offset.y = 0;
        }
    } else if (label->long_mode == LV_LABEL_LONG_DOT) {
        lv_coord_t line_h = lv_font_get_line_height(font);
        if (size.y > lv_area_get_height(&txt_coords) && size.y > line_h &&
            _lv_txt_get_encoded_length(label->text) > LV_LABEL_DOT_NUM) {
            lv_point_t p;
            p.x = lv_area_get_width(&txt_coords) -
                  (lv_font_get_glyph_width(font, '.', '.') + letter_space) * LV_LABEL_DOT_NUM;
            p.y = lv_area_get_height(&txt_coords);
            lv_coord_t y_overed = p.y % (line_h + line_space);
            if (y_overed >= line_h) {
                p.y -= y_overed;
                p.y += line_h;
            } else {
                p.y -= y_overed;
                p.y -= line_space;
            }
            uint32_t letter_id = lv_label_get_letter_on(obj, &p);
            size_t txt_len = strlen(label->text);
            uint32_t byte_id = _lv_txt_encoded_get_byte_id(label->text, letter_id);
            while (byte_id > 0 && byte_id + LV_LABEL_DOT_NUM > txt_len)
                _lv_txt_encoded_prev(label->text, &byte_id);
            label->dot_end = byte_id;
        }
    }
    lv_obj_invalidate(obj);
}

static void lv_label_constructor(const lv_obj_class_t *class_p, lv_obj_t *obj) {
    LV_UNUSED(class_p);
    lv_label_t *label = (lv_label_t *)obj;
    label->text = NULL;
    label->static_txt = 0;
    label->recolor = 0;
    label->dot_end = LV_LABEL_DOT_END_INV;
    label->long_mode = LV_LABEL_LONG_WRAP;
    label->offset.x = 0;
    label->offset.y = 0;
    label->hint.line_start = -1;
    label->hint.coord_y = 0;
    label->hint.y = 0;
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_CLICKABLE);
    lv_label_set_long_mode(obj, LV_LABEL_LONG_WRAP);
    lv_label_set_text(obj, LV_LABEL_DEFAULT_TEXT);
}

static void lv_label_destructor(const lv_obj_class_t *class_p, lv_obj_t *obj) {
    LV_UNUSED(class_p);
    free_text((lv_label_t *)obj);
}

static void draw_main(lv_event_t *e) {
    lv_obj_t *obj = lv_event_get_target(e);
    lv_label_t *label = (lv_label_t *)obj;
    lv_draw_ctx_t *draw_ctx = lv_event_get_draw_ctx(e);
    if (label->text == NULL)
        return;
    lv_area_t txt_coords;
    lv_obj_get_content_coords(obj, &txt_coords);
    lv_text_flag_t flag = get_label_flags(label);
    lv_draw_label_dsc_t label_draw_dsc;
    lv_draw_label_dsc_init(&label_draw_dsc);
    label_draw_dsc.ofs_x = label->offset.x;
    label_draw_dsc.ofs_y = label->offset.y;
    label_draw_dsc.flag = flag;
    lv_obj_init_draw_label_dsc(obj, LV_PART_MAIN, &label_draw_dsc);
    if (label_draw_dsc.opa <= LV_OPA_MIN)
        return;

    const char *txt = label->text;
    char *dotted = NULL;
    if (label->dot_end != LV_LABEL_DOT_END_INV) {
        dotted = lv_mem_alloc(label->dot_end + LV_LABEL_DOT_NUM + 1);
        if (dotted) {
            memcpy(dotted, label->text, label->dot_end);
            memset(dotted + label->dot_end, '.', LV_LABEL_DOT_NUM);
            dotted[label->dot_end + LV_LABEL_DOT_NUM] = '\0';
            txt = dotted;
        }
    }
    /* In the scrolling modes centre and right alignment apply only when the text fits. */
    if ((label->long_mode == LV_LABEL_LONG_SCROLL_CIRCULAR || label->long_mode == LV_LABEL_LONG_SCROLL) &&
        (label_draw_dsc.align == LV_TEXT_ALIGN_CENTER || label_draw_dsc.align == LV_TEXT_ALIGN_RIGHT)) {
        lv_point_t size;
        lv_txt_get_size(&size, txt, label_draw_dsc.font, label_draw_dsc.letter_space,
                        label_draw_dsc.line_space, LV_COORD_MAX, flag);
        if (size.x > lv_area_get_width(&txt_coords))
            label_draw_dsc.align = LV_TEXT_ALIGN_LEFT;
    }
    lv_draw_label_hint_t *hint = &label->hint;
    if (label->long_mode == LV_LABEL_LONG_SCROLL_CIRCULAR ||
        lv_area_get_height(&txt_coords) < LV_LABEL_HINT_HEIGHT_LIMIT)
        hint = NULL;
    lv_area_t txt_clip;
    if (!_lv_area_intersect(&txt_clip, &txt_coords, draw_ctx->clip_area)) {
        lv_mem_free(dotted);
        return;
    }
    if (label->long_mode == LV_LABEL_LONG_WRAP) {
        lv_coord_t s = lv_obj_get_scroll_top(obj);
        lv_area_move(&txt_coords, 0, -s);
        txt_coords.y2 = obj->coords.y2;
    }
    const lv_area_t *clip_area_ori = draw_ctx->clip_area;
    if (label->long_mode == LV_LABEL_LONG_SCROLL_CIRCULAR || label->long_mode == LV_LABEL_LONG_SCROLL) {
        draw_ctx->clip_area = &txt_clip;
    }
    lv_draw_label(draw_ctx, &label_draw_dsc, &txt_coords, txt, hint);
    draw_ctx->clip_area = clip_area_ori;
    if (label->long_mode == LV_LABEL_LONG_SCROLL_CIRCULAR) {
        draw_ctx->clip_area = &txt_clip;
        lv_point_t size;
        lv_txt_get_size(&size, txt, label_draw_dsc.font, label_draw_dsc.letter_space,
                        label_draw_dsc.line_space, LV_COORD_MAX, flag);
        /* The text once more after the end, for the circular effect. */
        if (size.x > lv_area_get_width(&txt_coords)) {
            label_draw_dsc.ofs_x =
                label->offset.x + size.x +
                lv_font_get_glyph_width(label_draw_dsc.font, ' ', ' ') * LV_LABEL_WAIT_CHAR_COUNT;
            label_draw_dsc.ofs_y = label->offset.y;
            lv_draw_label(draw_ctx, &label_draw_dsc, &txt_coords, txt, hint);
        }
        if (size.y > lv_area_get_height(&txt_coords)) {
            label_draw_dsc.ofs_x = label->offset.x;
            label_draw_dsc.ofs_y = label->offset.y + size.y + lv_font_get_line_height(label_draw_dsc.font);
            lv_draw_label(draw_ctx, &label_draw_dsc, &txt_coords, txt, hint);
        }
        draw_ctx->clip_area = clip_area_ori;
    }
    lv_mem_free(dotted);
}

static void lv_label_event(const lv_obj_class_t *class_p, lv_event_t *e) {
    LV_UNUSED(class_p);
    if (lv_obj_event_base(MY_CLASS, e) != LV_RES_OK)
        return;
    lv_event_code_t code = lv_event_get_code(e);
    lv_obj_t *obj = lv_event_get_target(e);
    lv_label_t *label = (lv_label_t *)obj;
    if (code == LV_EVENT_STYLE_CHANGED) {
        lv_label_refr_text(obj);
    } else if (code == LV_EVENT_SIZE_CHANGED) {
        lv_label_refr_text(obj);
    } else if (code == LV_EVENT_GET_SELF_SIZE) {
        const lv_font_t *font = lv_obj_get_style_text_font(obj, LV_PART_MAIN);
        lv_coord_t letter_space = lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN);
        lv_coord_t line_space = lv_obj_get_style_text_line_space(obj, LV_PART_MAIN);
        lv_text_flag_t flag = LV_TEXT_FLAG_NONE;
        if (label->recolor)
            flag |= LV_TEXT_FLAG_RECOLOR;
        if (label->expand)
            flag |= LV_TEXT_FLAG_EXPAND;
        lv_coord_t w = lv_obj_get_content_width(obj);
        if (lv_obj_get_style_width(obj, LV_PART_MAIN) == LV_SIZE_CONTENT && !obj->w_layout)
            w = LV_COORD_MAX;
        lv_txt_get_size(&label->size_cache, label->text ? label->text : "", font, letter_space, line_space, w,
                        flag);
        lv_point_t *self_size = lv_event_get_param(e);
        self_size->x = LV_MAX(self_size->x, label->size_cache.x);
        self_size->y = LV_MAX(self_size->y, label->size_cache.y);
    } else if (code == LV_EVENT_DRAW_MAIN) {
        draw_main(e);
    }
}
