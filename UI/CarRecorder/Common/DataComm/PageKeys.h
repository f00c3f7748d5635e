/*
 * The device keys on a page's navigation bar: OK, NEXT, PREV and BACK drive the confirm, next,
 * previous and back buttons, the same on every page.
 */
#ifndef PAGE_KEYS_H
#define PAGE_KEYS_H

#include <stdint.h>

#include "key.h"
#include "lvgl.h"

/* The buttons by key; null for a key the page does not take. */
struct PageNavButtons {
    lv_obj_t *ok;
    lv_obj_t *next;
    lv_obj_t *prev;
    lv_obj_t *back;
};

/* Hands a checked key record (Key_PageCheckInfo) to its button with Key_PageSendEvents: pressed,
 * released, and short-clicked for a release within 799 ms of the press. A key without a button,
 * or whose button is hidden, changes nothing. */
void PageKeys_Send(const KeyEvtInfo *pstEvtInfo, const PageNavButtons &stButtons, uint32_t *pu32PressTick);

#endif /* PAGE_KEYS_H */
