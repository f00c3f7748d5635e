/**
 * @file lv_txt.h
 * UTF-8 text helpers, text size and line breaking.
 */
#ifndef LV_TXT_H
#define LV_TXT_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdarg.h>
#include <stdbool.h>
#include <stdint.h>

#include "../lv_conf_internal.h"
#include "lv_area.h"
#include "../font/lv_font.h"

#define LV_TXT_ENC_UTF8  1
#define LV_TXT_ENC_ASCII 2

/** Characters after which a line may break. */
#ifndef LV_TXT_BREAK_CHARS
#define LV_TXT_BREAK_CHARS " ,.;:-_"
#endif

#ifndef LV_TXT_COLOR_CMD
#define LV_TXT_COLOR_CMD "#"
#endif

#define LV_TXT_ENC_UTF8_BOM 0xFEFF

enum {
    LV_TEXT_FLAG_NONE = 0x00,
    LV_TEXT_FLAG_RECOLOR = 0x01, /**< Enable parsing of recolor command */
    LV_TEXT_FLAG_EXPAND = 0x02,  /**< Ignore max-width to avoid automatic word wrapping */
    LV_TEXT_FLAG_FIT = 0x04,     /**< Max-width is already equal to the longest line */
};
typedef uint8_t lv_text_flag_t;

enum {
    LV_TEXT_CMD_STATE_WAIT, /**< Waiting for command */
    LV_TEXT_CMD_STATE_PAR,  /**< Processing the parameter */
    LV_TEXT_CMD_STATE_IN,   /**< Processing the command */
};
typedef uint8_t lv_text_cmd_state_t;

enum {
    LV_TEXT_ALIGN_AUTO,
    LV_TEXT_ALIGN_LEFT,
    LV_TEXT_ALIGN_CENTER,
    LV_TEXT_ALIGN_RIGHT,
};
typedef uint8_t lv_text_align_t;

/**
 * Size of a text: the longest line and the total height, wrapped at max_width unless
 * LV_TEXT_FLAG_EXPAND. An empty text is one line tall.
 */
void lv_txt_get_size(lv_point_t *size_res, const char *text, const lv_font_t *font, lv_coord_t letter_space,
                     lv_coord_t line_space, lv_coord_t max_width, lv_text_flag_t flag);

/**
 * Byte length of the first line of txt when wrapped at max_width: words move to the next line
 * whole, a word longer than a line breaks where it overflows, and a newline ends the line (it
 * belongs to the line). used_width, if not NULL, receives the width taken by the line.
 */
uint32_t _lv_txt_get_next_line(const char *txt, const lv_font_t *font, lv_coord_t letter_space,
                               lv_coord_t max_width, lv_coord_t *used_width, lv_text_flag_t flag);

/** Width of the first length bytes of txt on one line (no trailing letter space). */
lv_coord_t lv_txt_get_width(const char *txt, uint32_t length, const lv_font_t *font, lv_coord_t letter_space,
                            lv_text_flag_t flag);

/** Steps the recolor command parser; true if c belongs to a command and is not drawn. */
bool _lv_txt_is_cmd(lv_text_cmd_state_t *state, uint32_t c);

/** Insert ins_txt at character position pos of txt_buf (which has room for it). */
void _lv_txt_ins(char *txt_buf, uint32_t pos, const char *ins_txt);

/** Remove len characters from character position pos of txt. */
void _lv_txt_cut(char *txt, uint32_t pos, uint32_t len);

/** Format into a new buffer from lv_mem_alloc (NULL on failure). */
char *_lv_txt_set_text_vfmt(const char *fmt, va_list ap);

/** Decode the letter at *ofs and the one after it, advancing *ofs past the first. */
void _lv_txt_encoded_letter_next_2(const char *txt, uint32_t *letter, uint32_t *letter_next, uint32_t *ofs);

static inline bool _lv_txt_is_break_char(uint32_t letter) {
    static const char breaks[] = LV_TXT_BREAK_CHARS;
    for (const char *p = breaks; *p; p++) {
        if (letter == (uint32_t)(unsigned char)*p)
            return true;
    }
    return false;
}

/** Byte size of the UTF-8 character starting at str (1 for invalid lead bytes). */
extern uint8_t (*_lv_txt_encoded_size)(const char *);
/** UTF-8 bytes of a code point packed into an integer (first byte lowest). */
extern uint32_t (*_lv_txt_unicode_to_encoded)(uint32_t);
/** Convert a wide character read as bytes into an integer code (identity for UTF-8). */
extern uint32_t (*_lv_txt_encoded_conv_wc)(uint32_t c);
/** Decode the character at byte index *i (NULL: index 0) and advance *i past it. */
extern uint32_t (*_lv_txt_encoded_next)(const char *, uint32_t *);
/** Step *i back to the previous character and decode it. */
extern uint32_t (*_lv_txt_encoded_prev)(const char *, uint32_t *);
/** Byte index of character index utf8_id. */
extern uint32_t (*_lv_txt_encoded_get_byte_id)(const char *, uint32_t);
/** Character index of byte index byte_id. */
extern uint32_t (*_lv_txt_encoded_get_char_id)(const char *, uint32_t);
/** Number of characters in a NUL-terminated text. */
extern uint32_t (*_lv_txt_get_encoded_length)(const char *);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_TXT_H */
