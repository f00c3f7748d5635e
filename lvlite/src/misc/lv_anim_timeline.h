/**
 * @file lv_anim_timeline.h
 * A group of animations placed on one time axis and started, stopped, reversed or scrubbed together.
 */
#ifndef LV_ANIM_TIMELINE_H
#define LV_ANIM_TIMELINE_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stdint.h>

#include "lv_anim.h"

struct _lv_anim_timeline_t;
typedef struct _lv_anim_timeline_t lv_anim_timeline_t;

lv_anim_timeline_t *lv_anim_timeline_create(void);
/** Stop the timeline's animations and free it. */
void lv_anim_timeline_del(lv_anim_timeline_t *at);
/** Add a copy of a, starting start_time ms after the timeline starts. */
void lv_anim_timeline_add(lv_anim_timeline_t *at, uint32_t start_time, lv_anim_t *a);
/** Start every animation (each applies its start value at once); returns the play time. */
uint32_t lv_anim_timeline_start(lv_anim_timeline_t *at);
void lv_anim_timeline_stop(lv_anim_timeline_t *at);
void lv_anim_timeline_set_reverse(lv_anim_timeline_t *at, bool reverse);
/** Apply every animation's value at progress (0 .. 0xFFFF) of the play time. */
void lv_anim_timeline_set_progress(lv_anim_timeline_t *at, uint16_t progress);
uint32_t lv_anim_timeline_get_playtime(lv_anim_timeline_t *at);
bool lv_anim_timeline_get_reverse(lv_anim_timeline_t *at);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_ANIM_TIMELINE_H */
