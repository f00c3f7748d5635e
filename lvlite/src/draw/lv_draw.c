/**
 * @file lv_draw.c
 */
#include "lv_draw.h"

void lv_draw_init(void) {
    /* The software renderer keeps no state that needs starting. */
}

void lv_draw_wait_for_finish(lv_draw_ctx_t *draw_ctx) {
    (void)draw_ctx; /* drawing is synchronous */
}
