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

#define LABEL_NO_DOTS     UINT32_MAX
#define LABEL_FIRST_TEXT  "Text"
#define LABEL_HINT_MIN_H  1024 /* a line hint pays off only for very tall labels */
#define LABEL_GAP_LETTERS LV_LABEL_WAIT_CHAR_COUNT

/* How the label's text is laid out: font, spacing, flags and the content box. */
typedef struct {
    const lv_font_t *font;
    lv_coord_t letter_sp;
    lv_coord_t line_sp;
    lv_coord_t line_h;
    lv_text_flag_t flags;
    lv_area_t box;
} label_fmt_t;

static void label_ctor(const lv_obj_class_t *cls, lv_obj_t *obj);
static void label_dtor(const lv_obj_class_t *cls, lv_obj_t *obj);
static void label_on_event(const lv_obj_class_t *cls, lv_event_t *e);
static void label_relayout(lv_obj_t *obj);

const lv_obj_class_t lv_label_class = {
    .constructor_cb = label_ctor,
    .destructor_cb = label_dtor,
    .event_cb = label_on_event,
    .width_def = LV_SIZE_CONTENT,
    .height_def = LV_SIZE_CONTENT,
    .instance_size = sizeof(lv_label_t),
    .base_class = &lv_obj_class,
};

static inline lv_label_t *as_label(const lv_obj_t *obj) {
    return (lv_label_t *)obj;
}

static bool scrolls(const lv_label_t *lb) {
    return lb->long_mode == LV_LABEL_LONG_SCROLL || lb->long_mode == LV_LABEL_LONG_SCROLL_CIRCULAR;
}

static bool width_from_text(const lv_obj_t *obj) {
    return !obj->w_layout && lv_obj_get_style_width(obj, LV_PART_MAIN) == LV_SIZE_CONTENT;
}

static lv_text_flag_t base_flags(const lv_label_t *lb) {
    return (lv_text_flag_t)((lb->recolor ? LV_TEXT_FLAG_RECOLOR : 0) |
                            (lb->expand ? LV_TEXT_FLAG_EXPAND : 0));
}

static void read_fmt(const lv_obj_t *obj, label_fmt_t *f) {
    f->font = lv_obj_get_style_text_font(obj, LV_PART_MAIN);
    f->letter_sp = lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN);
    f->line_sp = lv_obj_get_style_text_line_space(obj, LV_PART_MAIN);
    f->line_h = lv_font_get_line_height(f->font);
    f->flags = base_flags(as_label(obj));
    if (width_from_text(obj))
        f->flags |= LV_TEXT_FLAG_FIT;
    lv_obj_get_content_coords(obj, &f->box);
}

/* Replaces the label's text by buf, releasing the old one if the label owned it. */
static void adopt_text(lv_label_t *lb, char *buf, bool is_static) {
    if (lb->text != buf && !lb->static_txt)
        lv_mem_free(lb->text);
    lb->text = buf;
    lb->static_txt = is_static ? 1 : 0;
}

lv_obj_t *lv_label_create(lv_obj_t *parent) {
    lv_obj_t *obj = lv_obj_class_create_obj(&lv_label_class, parent);
    if (obj != NULL)
        lv_obj_class_init_obj(obj);
    return obj;
}

void lv_label_set_text(lv_obj_t *obj, const char *text) {
    lv_label_t *lb = as_label(obj);
    lv_obj_invalidate(obj);
    const char *src = text ? text : (lb->text ? lb->text : "");
    /* NULL (or the label's own buffer) only refreshes; anything else, even a part of the current
     * text, is copied before the old buffer goes. */
    if (src != lb->text || lb->static_txt) {
        size_t n = strlen(src) + 1;
        char *copy = lv_mem_alloc(n);
        LV_ASSERT_MALLOC(copy);
        if (copy == NULL)
            return;
        memcpy(copy, src, n);
        adopt_text(lb, copy, false);
    }
    label_relayout(obj);
}

void lv_label_set_text_fmt(lv_obj_t *obj, const char *fmt, ...) {
    lv_obj_invalidate(obj);
    va_list ap;
    va_start(ap, fmt);
    char *formatted = _lv_txt_set_text_vfmt(fmt, ap);
    va_end(ap);
    if (formatted == NULL)
        return;
    adopt_text(as_label(obj), formatted, false);
    label_relayout(obj);
}

void lv_label_set_text_static(lv_obj_t *obj, const char *text) {
    lv_label_t *lb = as_label(obj);
    /* NULL refreshes with the current text; the label's own buffer stays its own. */
    if (text == NULL || (text == lb->text && !lb->static_txt)) {
        if (lb->text == NULL)
            adopt_text(lb, (char *)"", true);
    } else {
        adopt_text(lb, (char *)text, true);
    }
    label_relayout(obj);
}

void lv_label_set_long_mode(lv_obj_t *obj, lv_label_long_mode_t long_mode) {
    lv_label_t *lb = as_label(obj);
    lv_anim_del(obj, NULL);
    lb->offset.x = 0;
    lb->offset.y = 0;
    lb->long_mode = long_mode;
    lb->expand = long_mode != LV_LABEL_LONG_WRAP && long_mode != LV_LABEL_LONG_DOT;
    label_relayout(obj);
}

void lv_label_set_recolor(lv_obj_t *obj, bool en) {
    lv_label_t *lb = as_label(obj);
    if ((bool)lb->recolor != en) {
        lb->recolor = en;
        label_relayout(obj);
    }
}

char *lv_label_get_text(const lv_obj_t *obj) {
    return as_label(obj)->text;
}

lv_label_long_mode_t lv_label_get_long_mode(const lv_obj_t *obj) {
    return as_label(obj)->long_mode;
}

bool lv_label_get_recolor(const lv_obj_t *obj) {
    return as_label(obj)->recolor;
}

void lv_label_ins_text(lv_obj_t *obj, uint32_t pos, const char *txt) {
    lv_label_t *lb = as_label(obj);
    if (txt == NULL || lb->text == NULL || lb->static_txt)
        return;
    lv_obj_invalidate(obj);
    char *grown = lv_mem_realloc(lb->text, strlen(lb->text) + strlen(txt) + 1);
    LV_ASSERT_MALLOC(grown);
    if (grown == NULL)
        return;
    lb->text = grown;
    _lv_txt_ins(grown, pos == LV_LABEL_POS_LAST ? _lv_txt_get_encoded_length(grown) : pos, txt);
    lv_label_set_text(obj, NULL);
}

void lv_label_cut_text(lv_obj_t *obj, uint32_t pos, uint32_t cnt) {
    lv_label_t *lb = as_label(obj);
    if (lb->text == NULL || lb->static_txt)
        return;
    lv_obj_invalidate(obj);
    _lv_txt_cut(lb->text, pos, cnt);
    label_relayout(obj);
}

/* Byte index where the line starting at `from` ends (the next line's start). */
static uint32_t line_stop(const char *txt, uint32_t from, const label_fmt_t *f) {
    return from + _lv_txt_get_next_line(txt + from, f->font, f->letter_sp, lv_area_get_width(&f->box), NULL,
                                        f->flags);
}

void lv_label_get_letter_pos(const lv_obj_t *obj, uint32_t char_id, lv_point_t *pos) {
    const char *txt = as_label(obj)->text;
    pos->x = 0;
    pos->y = 0;
    if (txt == NULL || *txt == '\0')
        return;
    label_fmt_t f;
    read_fmt(obj, &f);
    uint32_t target = _lv_txt_encoded_get_byte_id(txt, char_id);
    uint32_t from = 0;
    for (;;) {
        uint32_t to = line_stop(txt, from, &f);
        if (target < to || txt[to] == '\0' || to == from)
            break;
        pos->y += f.line_h + f.line_sp;
        from = to;
    }
    pos->x = lv_txt_get_width(txt + from, target - from, f.font, f.letter_sp, f.flags);
}

/* Byte offset within one line (of len bytes, drawn from x) of the letter under px. */
static uint32_t letter_under(const char *line, uint32_t len, lv_coord_t x, lv_coord_t px,
                             const label_fmt_t *f) {
    uint32_t at = 0;
    while (at < len) {
        if (line[at] == '\0')
            return at;
        uint32_t after = at, cp, cp_next;
        _lv_txt_encoded_letter_next_2(line, &cp, &cp_next, &after);
        lv_coord_t gw = lv_font_get_glyph_width(f->font, cp, cp_next);
        if (px < x + gw || after == len)
            return at;
        x += gw + f->letter_sp;
        at = after;
    }
    return at;
}

uint32_t lv_label_get_letter_on(const lv_obj_t *obj, lv_point_t *pos_in) {
    const char *txt = as_label(obj)->text;
    if (txt == NULL)
        return 0;
    label_fmt_t f;
    read_fmt(obj, &f);
    lv_coord_t px = pos_in->x - lv_obj_get_style_pad_left(obj, LV_PART_MAIN);
    lv_coord_t py = pos_in->y - lv_obj_get_style_pad_top(obj, LV_PART_MAIN);

    uint32_t from = 0, to = 0;
    lv_coord_t top = 0;
    while (txt[from] != '\0') {
        to = line_stop(txt, from, &f);
        if (py <= top + f.line_h) {
            /* On the last line the end of the text can be hit too. */
            if (txt[to] == '\0' && to > 0 && txt[to - 1] != '\n')
                to++;
            break;
        }
        top += f.line_h + f.line_sp;
        from = to;
    }
    if (to < from)
        to = from;

    lv_coord_t x = 0;
    lv_text_align_t align = lv_obj_get_style_text_align(obj, LV_PART_MAIN);
    if (align == LV_TEXT_ALIGN_CENTER || align == LV_TEXT_ALIGN_RIGHT) {
        uint32_t shown = LV_MIN(to - from, (uint32_t)strlen(txt + from));
        lv_coord_t used = lv_txt_get_width(txt + from, shown, f.font, f.letter_sp, f.flags);
        lv_coord_t room = lv_area_get_width(&f.box);
        x = align == LV_TEXT_ALIGN_RIGHT ? room - used : room / 2 - used / 2;
    }
    uint32_t hit = letter_under(txt + from, to - from, x, px, &f);
    return _lv_txt_encoded_get_char_id(txt, from + hit);
}

static void scroll_x_cb(void *obj, int32_t v) {
    as_label(obj)->offset.x = (lv_coord_t)v;
    lv_obj_invalidate(obj);
}

static void scroll_y_cb(void *obj, int32_t v) {
    as_label(obj)->offset.y = (lv_coord_t)v;
    lv_obj_invalidate(obj);
}

/* Starts (or restarts, keeping its progress) the scroll of one axis towards `end`. Back-and-forth
 * scrolling pauses at both ends; circular scrolling starts over at once. */
static void run_scroll(lv_obj_t *obj, lv_anim_exec_xcb_t cb, int32_t end, uint32_t speed,
                       bool there_and_back) {
    uint32_t dur = lv_anim_speed_to_time(speed, 0, end);
    const lv_anim_t *running = lv_anim_get(obj, cb);
    int32_t elapsed = running ? running->act_time : 0;

    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, obj);
    lv_anim_set_exec_cb(&a, cb);
    lv_anim_set_values(&a, 0, end);
    lv_anim_set_time(&a, dur);
    lv_anim_set_repeat_count(&a, LV_ANIM_REPEAT_INFINITE);
    lv_anim_set_playback_time(&a, there_and_back ? dur : 0);
    if (there_and_back) {
        lv_anim_set_playback_delay(&a, LV_LABEL_SCROLL_DELAY);
        lv_anim_set_repeat_delay(&a, LV_LABEL_SCROLL_DELAY);
    }
    if (elapsed < (int32_t)dur) {
        a.act_time = elapsed;
        a.early_apply = 0;
    }
    lv_anim_start(&a);
}

static void stop_scroll(lv_obj_t *obj, lv_anim_exec_xcb_t cb, lv_coord_t *ofs) {
    lv_anim_del(obj, cb);
    *ofs = 0;
}

static void update_scrolling(lv_obj_t *obj, const label_fmt_t *f, lv_point_t text) {
    lv_label_t *lb = as_label(obj);
    bool circular = lb->long_mode == LV_LABEL_LONG_SCROLL_CIRCULAR;
    uint32_t speed = lv_obj_get_style_anim_speed(obj, LV_PART_MAIN);
    if (speed == 0)
        speed = LV_LABEL_DEF_SCROLL_SPEED;
    lv_coord_t bw = lv_area_get_width(&f->box), bh = lv_area_get_height(&f->box);
    bool sideways = text.x > bw;
    if (sideways) {
        lv_coord_t gap = lv_font_get_glyph_width(f->font, ' ', ' ') * LABEL_GAP_LETTERS;
        run_scroll(obj, scroll_x_cb, circular ? -(text.x + gap) : bw - text.x, speed, !circular);
    } else {
        stop_scroll(obj, scroll_x_cb, &lb->offset.x);
    }
    if (!sideways && text.y > bh)
        run_scroll(obj, scroll_y_cb, circular ? -(text.y + f->line_h) : bh - text.y, speed, !circular);
    else
        stop_scroll(obj, scroll_y_cb, &lb->offset.y);
}

/* Where the dots go: at the letter under the point that leaves room for them at the end of the last
 * line that fits, kept far enough from the end of the text for all of them. */
static uint32_t find_dot_start(lv_obj_t *obj, const label_fmt_t *f) {
    const char *txt = as_label(obj)->text;
    lv_coord_t bh = lv_area_get_height(&f->box);
    lv_coord_t pitch = f->line_h + f->line_sp;
    lv_coord_t rest = bh % pitch;
    lv_point_t probe;
    probe.x = lv_area_get_width(&f->box) -
              LV_LABEL_DOT_NUM * (lv_font_get_glyph_width(f->font, '.', '.') + f->letter_sp);
    probe.y = bh - rest + (rest >= f->line_h ? f->line_h : -f->line_sp);
    uint32_t at = _lv_txt_encoded_get_byte_id(txt, lv_label_get_letter_on(obj, &probe));
    uint32_t len = (uint32_t)strlen(txt);
    while (at > 0 && at + LV_LABEL_DOT_NUM > len)
        _lv_txt_encoded_prev(txt, &at);
    return at;
}

static void label_relayout(lv_obj_t *obj) {
    lv_label_t *lb = as_label(obj);
    if (lb->text == NULL)
        return;
    lb->hint.line_start = -1;
    lb->dot_end = LABEL_NO_DOTS;
    label_fmt_t f;
    read_fmt(obj, &f);
    lv_point_t text;
    lv_txt_get_size(&text, lb->text, f.font, f.letter_sp, f.line_sp, lv_area_get_width(&f.box), f.flags);
    lv_obj_refresh_self_size(obj);

    if (scrolls(lb)) {
        update_scrolling(obj, &f, text);
    } else if (lb->long_mode == LV_LABEL_LONG_DOT) {
        bool too_tall = text.y > lv_area_get_height(&f.box) && text.y > f.line_h;
        if (too_tall && _lv_txt_get_encoded_length(lb->text) > LV_LABEL_DOT_NUM)
            lb->dot_end = find_dot_start(obj, &f);
    }
    lv_obj_invalidate(obj);
}

static void label_ctor(const lv_obj_class_t *cls, lv_obj_t *obj) {
    LV_UNUSED(cls);
    lv_label_t *lb = as_label(obj);
    lb->text = NULL;
    lb->static_txt = 0;
    lb->recolor = 0;
    lb->dot_end = LABEL_NO_DOTS;
    lb->long_mode = LV_LABEL_LONG_WRAP;
    lb->offset.x = lb->offset.y = 0;
    lb->hint.line_start = -1;
    lb->hint.coord_y = 0;
    lb->hint.y = 0;
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_CLICKABLE);
    lv_label_set_long_mode(obj, LV_LABEL_LONG_WRAP);
    lv_label_set_text(obj, LABEL_FIRST_TEXT);
}

static void label_dtor(const lv_obj_class_t *cls, lv_obj_t *obj) {
    LV_UNUSED(cls);
    adopt_text(as_label(obj), NULL, false);
}

/* The text to draw: the label's own, or a copy cut at the dots with the dots appended (the caller
 * frees *owned). */
static const char *shown_text(const lv_label_t *lb, char **owned) {
    *owned = NULL;
    if (lb->dot_end == LABEL_NO_DOTS)
        return lb->text;
    char *s = lv_mem_alloc(lb->dot_end + LV_LABEL_DOT_NUM + 1);
    if (s == NULL)
        return lb->text;
    memcpy(s, lb->text, lb->dot_end);
    memset(s + lb->dot_end, '.', LV_LABEL_DOT_NUM);
    s[lb->dot_end + LV_LABEL_DOT_NUM] = '\0';
    *owned = s;
    return s;
}

static void draw_text(lv_event_t *e) {
    lv_obj_t *obj = lv_event_get_target(e);
    lv_label_t *lb = as_label(obj);
    if (lb->text == NULL)
        return;
    lv_draw_ctx_t *ctx = lv_event_get_draw_ctx(e);
    label_fmt_t f;
    read_fmt(obj, &f);
    lv_draw_label_dsc_t dsc;
    lv_draw_label_dsc_init(&dsc);
    dsc.ofs_x = lb->offset.x;
    dsc.ofs_y = lb->offset.y;
    dsc.flag = f.flags;
    lv_obj_init_draw_label_dsc(obj, LV_PART_MAIN, &dsc);
    if (dsc.opa <= LV_OPA_MIN)
        return;

    lv_area_t visible;
    if (!_lv_area_intersect(&visible, &f.box, ctx->clip_area))
        return;
    char *owned;
    const char *txt = shown_text(lb, &owned);
    bool moving = scrolls(lb);
    lv_point_t whole = {0, 0};
    if (moving) {
        lv_txt_get_size(&whole, txt, dsc.font, dsc.letter_space, dsc.line_space, LV_COORD_MAX, f.flags);
        /* A scrolling text that does not fit starts at the left whatever its alignment. */
        if (whole.x > lv_area_get_width(&f.box))
            dsc.align = dsc.align == LV_TEXT_ALIGN_CENTER || dsc.align == LV_TEXT_ALIGN_RIGHT
                            ? LV_TEXT_ALIGN_LEFT
                            : dsc.align;
    }
    lv_draw_label_hint_t *hint = &lb->hint;
    if (lb->long_mode == LV_LABEL_LONG_SCROLL_CIRCULAR || lv_area_get_height(&f.box) < LABEL_HINT_MIN_H)
        hint = NULL;
    if (lb->long_mode == LV_LABEL_LONG_WRAP) {
        /* A wrapped label scrolls as an object: the text follows its scroll position. */
        lv_area_move(&f.box, 0, -lv_obj_get_scroll_top(obj));
        f.box.y2 = obj->coords.y2;
    }
    const lv_area_t *outer_clip = ctx->clip_area;
    if (moving)
        ctx->clip_area = &visible;
    lv_draw_label(ctx, &dsc, &f.box, txt, hint);
    if (lb->long_mode == LV_LABEL_LONG_SCROLL_CIRCULAR) {
        /* The copy that follows the text round. */
        if (whole.x > lv_area_get_width(&f.box)) {
            dsc.ofs_x =
                lb->offset.x + whole.x + lv_font_get_glyph_width(dsc.font, ' ', ' ') * LABEL_GAP_LETTERS;
            dsc.ofs_y = lb->offset.y;
            lv_draw_label(ctx, &dsc, &f.box, txt, hint);
        }
        if (whole.y > lv_area_get_height(&f.box)) {
            dsc.ofs_x = lb->offset.x;
            dsc.ofs_y = lb->offset.y + whole.y + lv_font_get_line_height(dsc.font);
            lv_draw_label(ctx, &dsc, &f.box, txt, hint);
        }
    }
    ctx->clip_area = outer_clip;
    lv_mem_free(owned);
}

static void measure_self(lv_obj_t *obj, lv_point_t *self) {
    lv_label_t *lb = as_label(obj);
    lv_coord_t limit = width_from_text(obj) ? LV_COORD_MAX : lv_obj_get_content_width(obj);
    lv_txt_get_size(&lb->size_cache, lb->text ? lb->text : "", lv_obj_get_style_text_font(obj, LV_PART_MAIN),
                    lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN),
                    lv_obj_get_style_text_line_space(obj, LV_PART_MAIN), limit, base_flags(lb));
    self->x = LV_MAX(self->x, lb->size_cache.x);
    self->y = LV_MAX(self->y, lb->size_cache.y);
}

static void label_on_event(const lv_obj_class_t *cls, lv_event_t *e) {
    LV_UNUSED(cls);
    if (lv_obj_event_base(&lv_label_class, e) != LV_RES_OK)
        return;
    lv_obj_t *obj = lv_event_get_target(e);
    switch (lv_event_get_code(e)) {
    case LV_EVENT_STYLE_CHANGED:
    case LV_EVENT_SIZE_CHANGED:
        label_relayout(obj);
        break;
    case LV_EVENT_GET_SELF_SIZE:
        measure_self(obj, lv_event_get_param(e));
        break;
    case LV_EVENT_DRAW_MAIN:
        draw_text(e);
        break;
    default:
        break;
    }
}
