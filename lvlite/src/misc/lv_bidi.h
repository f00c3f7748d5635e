/**
 * @file lv_bidi.h
 * Base directions of text and layouts. Text is laid out left to right; the values exist for the
 * base_dir style property.
 */
#ifndef LV_BIDI_H
#define LV_BIDI_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdint.h>

enum {
    LV_BASE_DIR_LTR = 0x00,
    LV_BASE_DIR_RTL = 0x01,
    LV_BASE_DIR_AUTO = 0x02,
    LV_BASE_DIR_NEUTRAL = 0x20,
    LV_BASE_DIR_WEAK = 0x21,
};
typedef uint8_t lv_base_dir_t;

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_BIDI_H */
