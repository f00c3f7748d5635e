/**
 * @file lv_txt.c
 */
#include "lv_txt.h"

#include <stdio.h>
#include <string.h>

#include "lv_math.h"
#include "lv_mem.h"

/* A word is measured up to this break index when nothing overflowed. */
#define NO_BREAK_FOUND UINT32_MAX

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

/*
 * Measure the next word of txt (or a single break character). Returns its byte length; 0 when it
 * does not fit and force is false. With force (the first word of a line) an overflowing word is
 * cut where it overflows, and at least one character is taken.
 */
static uint32_t next_word(const char *txt, const lv_font_t *font, lv_coord_t letter_space,
                          lv_coord_t max_width, lv_text_flag_t flag, lv_coord_t *word_w_ptr,
                          lv_text_cmd_state_t *cmd_state, bool force) {
    if (txt == NULL || txt[0] == '\0')
        return 0;

    uint32_t i = 0;
    uint32_t i_next = 0;
    uint32_t i_next_next;
    uint32_t letter = _lv_txt_encoded_next(txt, &i_next);
    uint32_t letter_next = 0;
    lv_coord_t cur_w = 0;
    uint32_t word_len = 0;
    uint32_t break_index = NO_BREAK_FOUND;
    i_next_next = i_next;

    while (txt[i] != '\0') {
        letter_next = _lv_txt_encoded_next(txt, &i_next_next);
        word_len++;

        if ((flag & LV_TEXT_FLAG_RECOLOR) && _lv_txt_is_cmd(cmd_state, letter)) {
            i = i_next;
            i_next = i_next_next;
            letter = letter_next;
            continue;
        }

        lv_coord_t letter_w = lv_font_get_glyph_width(font, letter, letter_next);
        cur_w += letter_w;
        if (letter_w > 0)
            cur_w += letter_space;

        bool ends_word = letter == '\n' || letter == '\r' || _lv_txt_is_break_char(letter);

        /* The break character that ends a word has to fit on the line as well. */
        if (break_index == NO_BREAK_FOUND && (cur_w - letter_space) > max_width)
            break_index = i;

        if (ends_word) {
            /* A break character that starts the word is the word itself. */
            if (i == 0 && break_index == NO_BREAK_FOUND && word_w_ptr)
                *word_w_ptr = cur_w;
            word_len--;
            break;
        }

        if (word_w_ptr && break_index == NO_BREAK_FOUND)
            *word_w_ptr = cur_w;

        i = i_next;
        i_next = i_next_next;
        letter = letter_next;
    }

    if (break_index == NO_BREAK_FOUND) {
        if (word_len == 0 || (letter == '\r' && letter_next == '\n'))
            i = i_next;
        return i;
    }

    if (force) {
        /* Take at least one character so that a line always advances. */
        if (break_index == 0) {
            uint32_t one = 0;
            _lv_txt_encoded_next(txt, &one);
            if (word_w_ptr)
                *word_w_ptr = lv_font_get_glyph_width(font, letter, letter_next);
            return one;
        }
        return break_index;
    }

    if (word_w_ptr)
        *word_w_ptr = 0;
    return 0;
}

uint32_t _lv_txt_get_next_line(const char *txt, const lv_font_t *font, lv_coord_t letter_space,
                               lv_coord_t max_width, lv_coord_t *used_width, lv_text_flag_t flag) {
    if (used_width)
        *used_width = 0;
    if (txt == NULL || txt[0] == '\0' || font == NULL)
        return 0;

    if (flag & LV_TEXT_FLAG_EXPAND)
        max_width = LV_COORD_MAX;

    lv_text_cmd_state_t cmd_state = LV_TEXT_CMD_STATE_WAIT;
    uint32_t i = 0;
    lv_coord_t line_w = 0;

    while (txt[i] != '\0' && max_width > 0) {
        lv_coord_t word_w = 0;
        uint32_t advance =
            next_word(&txt[i], font, letter_space, max_width, flag, &word_w, &cmd_state, i == 0);
        max_width -= word_w;
        line_w += word_w;

        if (advance == 0)
            break;
        i += advance;

        if (txt[0] == '\n' || txt[0] == '\r')
            break;
        if (txt[i] == '\n' || txt[i] == '\r') {
            i++; /* the newline belongs to this line */
            break;
        }
    }

    /* Always step at least one character. */
    if (i == 0) {
        _lv_txt_encoded_next(txt, &i);
        line_w = lv_txt_get_width(txt, i, font, letter_space, flag);
    }
    if (used_width)
        *used_width = line_w > 0 ? line_w - letter_space : 0;
    return i;
}

lv_coord_t lv_txt_get_width(const char *txt, uint32_t length, const lv_font_t *font, lv_coord_t letter_space,
                            lv_text_flag_t flag) {
    if (txt == NULL || font == NULL || txt[0] == '\0')
        return 0;

    uint32_t i = 0;
    lv_coord_t width = 0;
    lv_text_cmd_state_t cmd_state = LV_TEXT_CMD_STATE_WAIT;

    while (i < length && txt[i] != '\0') {
        uint32_t letter;
        uint32_t letter_next;
        _lv_txt_encoded_letter_next_2(txt, &letter, &letter_next, &i);
        if ((flag & LV_TEXT_FLAG_RECOLOR) && _lv_txt_is_cmd(&cmd_state, letter))
            continue;
        lv_coord_t char_width = lv_font_get_glyph_width(font, letter, letter_next);
        if (char_width > 0)
            width += char_width + letter_space;
    }
    if (width > 0)
        width -= letter_space; /* no letter space after the last letter */
    return width;
}

void lv_txt_get_size(lv_point_t *size_res, const char *text, const lv_font_t *font, lv_coord_t letter_space,
                     lv_coord_t line_space, lv_coord_t max_width, lv_text_flag_t flag) {
    size_res->x = 0;
    size_res->y = 0;
    if (text == NULL || font == NULL)
        return;

    if (flag & LV_TEXT_FLAG_EXPAND)
        max_width = LV_COORD_MAX;

    uint32_t line_start = 0;
    lv_coord_t letter_height = lv_font_get_line_height(font);

    while (text[line_start] != '\0') {
        uint32_t len = _lv_txt_get_next_line(&text[line_start], font, letter_space, max_width, NULL, flag);
        if ((int64_t)size_res->y + letter_height + line_space > LV_COORD_MAX)
            break;
        size_res->y += letter_height + line_space;

        lv_coord_t w = lv_txt_get_width(&text[line_start], len, font, letter_space, flag);
        size_res->x = LV_MAX(w, size_res->x);
        line_start += len;
    }

    /* A closing newline opens one more (empty) line. */
    if (line_start != 0 && (text[line_start - 1] == '\n' || text[line_start - 1] == '\r')) {
        size_res->y += letter_height + line_space;
    }

    if (size_res->y == 0) {
        size_res->y = letter_height;
    } else {
        size_res->y -= line_space;
    }
}

bool _lv_txt_is_cmd(lv_text_cmd_state_t *state, uint32_t c) {
    bool ret = false;

    if (c == (uint32_t)LV_TXT_COLOR_CMD[0]) {
        if (*state == LV_TEXT_CMD_STATE_WAIT) { /* Start char */
            *state = LV_TEXT_CMD_STATE_PAR;
            ret = true;
        } else if (*state == LV_TEXT_CMD_STATE_PAR) { /* "##" is a literal '#' */
            *state = LV_TEXT_CMD_STATE_WAIT;
        } else if (*state == LV_TEXT_CMD_STATE_IN) { /* End char */
            *state = LV_TEXT_CMD_STATE_WAIT;
            ret = true;
        }
    }

    /* Skip the colour parameter up to the space after it. */
    if (*state == LV_TEXT_CMD_STATE_PAR) {
        if (c == ' ')
            *state = LV_TEXT_CMD_STATE_IN;
        ret = true;
    }
    return ret;
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
