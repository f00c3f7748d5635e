/**
 * @file lv_txt.c
 * Measuring and breaking text. A line is filled word by word; a word runs up to (not including) the
 * next newline or break character, and that character forms a word of its own when it comes first.
 * A word goes on a line only when it fits together with the break character that follows it.
 */
#include "lv_txt.h"

#include <stdio.h>
#include <string.h>

#include "lv_math.h"
#include "lv_mem.h"

static uint8_t utf8_size(const char *str);
static uint32_t utf8_unicode_to_encoded(uint32_t letter_uni);
static uint32_t utf8_conv_wc(uint32_t c);
static uint32_t utf8_next(const char *txt, uint32_t *i);
static uint32_t utf8_prev(const char *txt, uint32_t *i);
static uint32_t utf8_get_byte_id(const char *txt, uint32_t utf8_id);
static uint32_t utf8_get_char_id(const char *txt, uint32_t byte_id);
static uint32_t utf8_get_length(const char *txt);

uint8_t (*_lv_txt_encoded_size)(const char *) = utf8_size;
uint32_t (*_lv_txt_unicode_to_encoded)(uint32_t) = utf8_unicode_to_encoded;
uint32_t (*_lv_txt_encoded_conv_wc)(uint32_t) = utf8_conv_wc;
uint32_t (*_lv_txt_encoded_next)(const char *, uint32_t *) = utf8_next;
uint32_t (*_lv_txt_encoded_prev)(const char *, uint32_t *) = utf8_prev;
uint32_t (*_lv_txt_encoded_get_byte_id)(const char *, uint32_t) = utf8_get_byte_id;
uint32_t (*_lv_txt_encoded_get_char_id)(const char *, uint32_t) = utf8_get_char_id;
uint32_t (*_lv_txt_get_encoded_length)(const char *) = utf8_get_length;

/* What measuring needs: the font, the letter spacing, the flags and the recolour parser's state. */
typedef struct {
    const lv_font_t *font;
    lv_coord_t gap;
    lv_text_flag_t flags;
    lv_text_cmd_state_t cmd;
} meter_t;

static void meter_init(meter_t *m, const lv_font_t *font, lv_coord_t letter_space, lv_text_flag_t flags) {
    m->font = font;
    m->gap = letter_space;
    m->flags = flags;
    m->cmd = LV_TEXT_CMD_STATE_WAIT;
}

/* Room a letter takes: its glyph and the spacing after it (nothing for an empty glyph); -1 for a
 * letter of a recolour command, which is not drawn. */
static lv_coord_t letter_room(meter_t *m, uint32_t cp, uint32_t next) {
    if ((m->flags & LV_TEXT_FLAG_RECOLOR) && _lv_txt_is_cmd(&m->cmd, cp))
        return -1;
    lv_coord_t w = lv_font_get_glyph_width(m->font, cp, next);
    return w > 0 ? w + m->gap : 0;
}

static bool is_newline(uint32_t cp) {
    return cp == '\n' || cp == '\r';
}

/* The word at the start of txt, measured against `room`. */
typedef struct {
    uint32_t len;     /* bytes of the word */
    lv_coord_t width; /* its room (spacing included) */
} word_t;

/* Measures the word at txt. Returns false, with the part that fits, when the word or the break
 * character after it does not fit in room. `lead` is the first word of a line: it never comes
 * back empty, but is cut where it overflows (at least one letter). */
static bool take_word(meter_t *m, const char *txt, lv_coord_t room, bool lead, word_t *out) {
    uint32_t at = 0;       /* byte of the current letter */
    uint32_t after = 0;    /* byte after it */
    uint32_t overflow = 0; /* where the word stopped fitting */
    bool overflowed = false;
    bool counted_any = false; /* a letter (even of a command) before the end */
    lv_coord_t used = 0;
    uint32_t cp = _lv_txt_encoded_next(txt, &after);
    uint32_t next = 0;
    out->width = 0;

    while (txt[at] != '\0') {
        uint32_t peek = after;
        next = _lv_txt_encoded_next(txt, &peek);
        lv_coord_t r = letter_room(m, cp, next);
        bool ender = is_newline(cp) || _lv_txt_is_break_char(cp);
        if (r >= 0) {
            used += r;
            if (!overflowed && used - m->gap > room) {
                overflowed = true;
                overflow = at;
            }
            if (ender) {
                if (at == 0 && !overflowed)
                    out->width = used;
                break;
            }
            if (!overflowed)
                out->width = used;
        }
        counted_any = true;
        at = after;
        after = peek;
        cp = next;
    }

    if (!overflowed) {
        /* A break character met first is a word by itself; "\r\n" stays together. */
        bool take_ender = !counted_any || (cp == '\r' && next == '\n');
        out->len = take_ender ? after : at;
        return true;
    }
    if (!lead) {
        out->len = 0;
        out->width = 0;
        return false;
    }
    if (overflow == 0) {
        uint32_t one = 0;
        _lv_txt_encoded_next(txt, &one);
        out->len = one;
        out->width = lv_font_get_glyph_width(m->font, cp, next);
    } else {
        out->len = overflow;
    }
    return false;
}

uint32_t _lv_txt_get_next_line(const char *txt, const lv_font_t *font, lv_coord_t letter_space,
                               lv_coord_t max_width, lv_coord_t *used_width, lv_text_flag_t flag) {
    if (used_width != NULL)
        *used_width = 0;
    if (txt == NULL || font == NULL || *txt == '\0')
        return 0;

    meter_t m;
    meter_init(&m, font, letter_space, flag);
    lv_coord_t room = (flag & LV_TEXT_FLAG_EXPAND) ? LV_COORD_MAX : max_width;
    lv_coord_t filled = 0;
    uint32_t len = 0;
    bool starts_with_newline = is_newline((uint8_t)txt[0]);
    while (txt[len] != '\0' && room > 0) {
        word_t w;
        take_word(&m, txt + len, room, len == 0, &w);
        room -= w.width;
        filled += w.width;
        if (w.len == 0)
            break;
        len += w.len;
        if (starts_with_newline)
            break;
        if (is_newline((uint8_t)txt[len])) {
            len++; /* the line owns its newline */
            break;
        }
    }
    if (len == 0) {
        /* A line always moves on by at least one letter. */
        _lv_txt_encoded_next(txt, &len);
        filled = lv_txt_get_width(txt, len, font, letter_space, flag);
    }
    if (used_width != NULL)
        *used_width = filled > 0 ? filled - letter_space : 0;
    return len;
}

lv_coord_t lv_txt_get_width(const char *txt, uint32_t length, const lv_font_t *font, lv_coord_t letter_space,
                            lv_text_flag_t flag) {
    if (txt == NULL || font == NULL)
        return 0;
    meter_t m;
    meter_init(&m, font, letter_space, flag);
    lv_coord_t total = 0;
    uint32_t at = 0;
    while (at < length && txt[at] != '\0') {
        uint32_t cp, next;
        _lv_txt_encoded_letter_next_2(txt, &cp, &next, &at);
        lv_coord_t r = letter_room(&m, cp, next);
        if (r > 0)
            total += r;
    }
    /* No spacing after the last letter. */
    return total > 0 ? total - letter_space : 0;
}

void lv_txt_get_size(lv_point_t *size_res, const char *text, const lv_font_t *font, lv_coord_t letter_space,
                     lv_coord_t line_space, lv_coord_t max_width, lv_text_flag_t flag) {
    lv_point_t sz = {0, 0};
    if (text == NULL || font == NULL) {
        *size_res = sz;
        return;
    }
    lv_coord_t room = (flag & LV_TEXT_FLAG_EXPAND) ? LV_COORD_MAX : max_width;
    lv_coord_t pitch = lv_font_get_line_height(font) + line_space;
    int64_t height = 0;
    uint32_t at = 0;
    while (text[at] != '\0') {
        uint32_t n = _lv_txt_get_next_line(text + at, font, letter_space, room, NULL, flag);
        if (height + pitch > LV_COORD_MAX)
            break;
        height += pitch;
        sz.x = LV_MAX(sz.x, lv_txt_get_width(text + at, n, font, letter_space, flag));
        at += n;
    }
    /* A text ending in a newline has an empty line after it. */
    if (at > 0 && is_newline((uint8_t)text[at - 1]))
        height += pitch;
    sz.y = height == 0 ? lv_font_get_line_height(font) : (lv_coord_t)(height - line_space);
    *size_res = sz;
}

/* Recolour commands are "#RRGGBB text#": the parameter up to its space and both '#' are not drawn;
 * "##" is a literal '#'. */
bool _lv_txt_is_cmd(lv_text_cmd_state_t *state, uint32_t c) {
    bool hash = c == (uint32_t)(uint8_t)LV_TXT_COLOR_CMD[0];
    switch (*state) {
    case LV_TEXT_CMD_STATE_WAIT:
        if (hash)
            *state = LV_TEXT_CMD_STATE_PAR;
        return hash;
    case LV_TEXT_CMD_STATE_PAR:
        if (hash) {
            *state = LV_TEXT_CMD_STATE_WAIT;
            return false;
        }
        if (c == ' ')
            *state = LV_TEXT_CMD_STATE_IN;
        return true;
    case LV_TEXT_CMD_STATE_IN:
        if (hash)
            *state = LV_TEXT_CMD_STATE_WAIT;
        return hash;
    default:
        return false;
    }
}

void _lv_txt_ins(char *txt_buf, uint32_t pos, const char *ins_txt) {
    if (txt_buf == NULL || ins_txt == NULL)
        return;

    size_t old_len = strlen(txt_buf);
    size_t ins_len = strlen(ins_txt);
    if (ins_len == 0)
        return;

    size_t byte_pos = _lv_txt_encoded_get_byte_id(txt_buf, pos);
    if (byte_pos > old_len)
        byte_pos = old_len;
    memmove(txt_buf + byte_pos + ins_len, txt_buf + byte_pos, old_len - byte_pos + 1);
    memcpy(txt_buf + byte_pos, ins_txt, ins_len);
}

void _lv_txt_cut(char *txt, uint32_t pos, uint32_t len) {
    if (txt == NULL)
        return;

    size_t old_len = strlen(txt);
    size_t start = _lv_txt_encoded_get_byte_id(txt, pos);
    size_t end = _lv_txt_encoded_get_byte_id(txt, pos + len);
    if (start > old_len)
        start = old_len;
    if (end > old_len)
        end = old_len;
    memmove(txt + start, txt + end, old_len - end + 1);
}

char *_lv_txt_set_text_vfmt(const char *fmt, va_list ap) {
    va_list ap_copy;
    va_copy(ap_copy, ap);
    int len = vsnprintf(NULL, 0, fmt, ap_copy);
    va_end(ap_copy);
    if (len < 0)
        return NULL;

    char *text = lv_mem_alloc((size_t)len + 1);
    if (text == NULL)
        return NULL;
    vsnprintf(text, (size_t)len + 1, fmt, ap);
    return text;
}

void _lv_txt_encoded_letter_next_2(const char *txt, uint32_t *letter, uint32_t *letter_next, uint32_t *ofs) {
    *letter = _lv_txt_encoded_next(txt, ofs);
    uint32_t tmp = *ofs;
    *letter_next = _lv_txt_encoded_next(txt, &tmp);
}

/* ---- UTF-8 ---- */

static uint8_t utf8_size(const char *str) {
    uint8_t c = (uint8_t)str[0];
    if ((c & 0x80) == 0)
        return 1;
    if ((c & 0xE0) == 0xC0)
        return 2;
    if ((c & 0xF0) == 0xE0)
        return 3;
    if ((c & 0xF8) == 0xF0)
        return 4;
    return 1; /* not a lead byte: stepped over alone */
}

static uint32_t utf8_unicode_to_encoded(uint32_t letter_uni) {
    uint8_t bytes[4] = {0, 0, 0, 0};

    if (letter_uni < 0x80)
        return letter_uni;
    if (letter_uni < 0x0800) {
        bytes[0] = (uint8_t)(((letter_uni >> 6) & 0x1F) | 0xC0);
        bytes[1] = (uint8_t)((letter_uni & 0x3F) | 0x80);
    } else if (letter_uni < 0x010000) {
        bytes[0] = (uint8_t)(((letter_uni >> 12) & 0x0F) | 0xE0);
        bytes[1] = (uint8_t)(((letter_uni >> 6) & 0x3F) | 0x80);
        bytes[2] = (uint8_t)((letter_uni & 0x3F) | 0x80);
    } else {
        bytes[0] = (uint8_t)(((letter_uni >> 18) & 0x07) | 0xF0);
        bytes[1] = (uint8_t)(((letter_uni >> 12) & 0x3F) | 0x80);
        bytes[2] = (uint8_t)(((letter_uni >> 6) & 0x3F) | 0x80);
        bytes[3] = (uint8_t)((letter_uni & 0x3F) | 0x80);
    }
    return (uint32_t)bytes[0] | ((uint32_t)bytes[1] << 8) | ((uint32_t)bytes[2] << 16) |
           ((uint32_t)bytes[3] << 24);
}

static uint32_t utf8_conv_wc(uint32_t c) {
    return c;
}

static inline bool is_cont(uint8_t c) {
    return (c & 0xC0) == 0x80;
}

static uint32_t utf8_next(const char *txt, uint32_t *i) {
    uint32_t i_tmp = 0;
    if (i == NULL)
        i = &i_tmp;

    const uint8_t *s = (const uint8_t *)txt + *i;
    uint8_t c = s[0];

    if ((c & 0x80) == 0) {
        if (c != 0)
            (*i)++;
        return c;
    }
    /* A broken sequence (including one cut by the terminating NUL, which is not a continuation
     * byte) yields its lead byte alone, so decoding never runs past the end. */
    if ((c & 0xE0) == 0xC0 && is_cont(s[1])) {
        *i += 2;
        return ((uint32_t)(c & 0x1F) << 6) | (s[1] & 0x3F);
    }
    if ((c & 0xF0) == 0xE0 && is_cont(s[1]) && is_cont(s[2])) {
        *i += 3;
        return ((uint32_t)(c & 0x0F) << 12) | ((uint32_t)(s[1] & 0x3F) << 6) | (s[2] & 0x3F);
    }
    if ((c & 0xF8) == 0xF0 && is_cont(s[1]) && is_cont(s[2]) && is_cont(s[3])) {
        *i += 4;
        return ((uint32_t)(c & 0x07) << 18) | ((uint32_t)(s[1] & 0x3F) << 12) |
               ((uint32_t)(s[2] & 0x3F) << 6) | (s[3] & 0x3F);
    }
    (*i)++;
    return c;
}

static uint32_t utf8_prev(const char *txt, uint32_t *i) {
    if (*i == 0)
        return 0;

    /* Go back over at most three continuation bytes to the lead byte. */
    uint32_t start = *i - 1;
    for (int n = 0; n < 3 && start > 0 && is_cont((uint8_t)txt[start]); n++)
        start--;

    uint32_t probe = start;
    uint32_t letter = utf8_next(txt, &probe);
    if (probe != *i) {
        /* Not a well-formed sequence ending at *i: step back a single byte. */
        start = *i - 1;
        probe = start;
        letter = utf8_next(txt, &probe);
    }
    *i = start;
    return letter;
}

static uint32_t utf8_get_byte_id(const char *txt, uint32_t utf8_id) {
    uint32_t byte_cnt = 0;
    for (uint32_t i = 0; i < utf8_id && txt[byte_cnt] != '\0'; i++)
        utf8_next(txt, &byte_cnt);
    return byte_cnt;
}

static uint32_t utf8_get_char_id(const char *txt, uint32_t byte_id) {
    uint32_t i = 0;
    uint32_t char_cnt = 0;
    while (i < byte_id && txt[i] != '\0') {
        utf8_next(txt, &i);
        char_cnt++;
    }
    return char_cnt;
}

static uint32_t utf8_get_length(const char *txt) {
    uint32_t len = 0;
    uint32_t i = 0;
    while (txt[i] != '\0') {
        utf8_next(txt, &i);
        len++;
    }
    return len;
}
