/**
 * @file lv_anim.h
 * Animations of an integer value, applied through a callback, stepped by the animation timer.
 */
#ifndef LV_ANIM_H
#define LV_ANIM_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "../lv_conf_internal.h"

typedef enum {
    LV_ANIM_OFF,
    LV_ANIM_ON,
} lv_anim_enable_t;

#define LV_ANIM_REPEAT_INFINITE   0xFFFF
#define LV_ANIM_PLAYTIME_INFINITE 0xFFFFFFFF

/** Paths map time to LV_ANIM_RESOLUTION steps. */
#define LV_ANIM_RESOLUTION 1024
#define LV_ANIM_RES_SHIFT  10

struct _lv_anim_t;
typedef int32_t (*lv_anim_path_cb_t)(const struct _lv_anim_t *);
typedef void (*lv_anim_exec_xcb_t)(void *, int32_t);
typedef void (*lv_anim_custom_exec_cb_t)(struct _lv_anim_t *, int32_t);
typedef void (*lv_anim_ready_cb_t)(struct _lv_anim_t *);
typedef void (*lv_anim_start_cb_t)(struct _lv_anim_t *);
typedef int32_t (*lv_anim_get_value_cb_t)(struct _lv_anim_t *);
typedef void (*lv_anim_deleted_cb_t)(struct _lv_anim_t *);

typedef struct _lv_anim_t {
    void *var;
    lv_anim_exec_xcb_t exec_cb;
    lv_anim_start_cb_t start_cb;
    lv_anim_ready_cb_t ready_cb;
    lv_anim_deleted_cb_t deleted_cb;
    lv_anim_get_value_cb_t get_value_cb;
#if LV_USE_USER_DATA
    void *user_data;
#endif
    lv_anim_path_cb_t path_cb;
    int32_t start_value;
    int32_t current_value;
    int32_t end_value;
    int32_t time;     /**< duration of one cycle in ms */
    int32_t act_time; /**< time in the cycle; negative while the delay runs */
    uint32_t playback_delay;
    uint32_t playback_time;
    uint32_t repeat_delay;
    uint16_t repeat_cnt;
    uint8_t early_apply : 1;
    uint8_t playback_now : 1;
    uint8_t run_round : 1;
    uint8_t start_cb_called : 1;
} lv_anim_t;

void _lv_anim_core_init(void);
/** Defaults: 500 ms, values 0 to 100, linear, one cycle, early apply on. */
void lv_anim_init(lv_anim_t *a);

static inline void lv_anim_set_var(lv_anim_t *a, void *var) {
    a->var = var;
}
static inline void lv_anim_set_exec_cb(lv_anim_t *a, lv_anim_exec_xcb_t exec_cb) {
    a->exec_cb = exec_cb;
}
static inline void lv_anim_set_time(lv_anim_t *a, uint32_t duration) {
    a->time = (int32_t)duration;
}
static inline void lv_anim_set_delay(lv_anim_t *a, uint32_t delay) {
    a->act_time = -(int32_t)(delay);
}
static inline void lv_anim_set_values(lv_anim_t *a, int32_t start, int32_t end) {
    a->start_value = start;
    a->current_value = start;
    a->end_value = end;
}
static inline void lv_anim_set_custom_exec_cb(lv_anim_t *a, lv_anim_custom_exec_cb_t exec_cb) {
    a->var = a;
    a->exec_cb = (lv_anim_exec_xcb_t)(void (*)(void))exec_cb;
}
static inline void lv_anim_set_path_cb(lv_anim_t *a, lv_anim_path_cb_t path_cb) {
    a->path_cb = path_cb;
}
static inline void lv_anim_set_start_cb(lv_anim_t *a, lv_anim_start_cb_t start_cb) {
    a->start_cb = start_cb;
}
static inline void lv_anim_set_get_value_cb(lv_anim_t *a, lv_anim_get_value_cb_t get_value_cb) {
    a->get_value_cb = get_value_cb;
}
static inline void lv_anim_set_ready_cb(lv_anim_t *a, lv_anim_ready_cb_t ready_cb) {
    a->ready_cb = ready_cb;
}
static inline void lv_anim_set_deleted_cb(lv_anim_t *a, lv_anim_deleted_cb_t deleted_cb) {
    a->deleted_cb = deleted_cb;
}
static inline void lv_anim_set_playback_time(lv_anim_t *a, uint32_t time) {
    a->playback_time = time;
}
static inline void lv_anim_set_playback_delay(lv_anim_t *a, uint32_t delay) {
    a->playback_delay = delay;
}
static inline void lv_anim_set_repeat_count(lv_anim_t *a, uint16_t cnt) {
    a->repeat_cnt = cnt;
}
static inline void lv_anim_set_repeat_delay(lv_anim_t *a, uint32_t delay) {
    a->repeat_delay = delay;
}
static inline void lv_anim_set_early_apply(lv_anim_t *a, bool en) {
    a->early_apply = en;
}
#if LV_USE_USER_DATA
static inline void lv_anim_set_user_data(lv_anim_t *a, void *user_data) {
    a->user_data = user_data;
}
static inline void *lv_anim_get_user_data(lv_anim_t *a) {
    return a->user_data;
}
#endif
static inline uint32_t lv_anim_get_delay(lv_anim_t *a) {
    return (uint32_t)(-a->act_time);
}

/** Copy the descriptor into the running list (replacing an animation of the same var and exec_cb). */
lv_anim_t *lv_anim_start(const lv_anim_t *a);
/** Total time of the animation with its delay, playback and repeats. */
uint32_t lv_anim_get_playtime(lv_anim_t *a);
/** Delete the animations of var with exec_cb (any exec_cb when NULL); true if one was deleted. */
bool lv_anim_del(void *var, lv_anim_exec_xcb_t exec_cb);
void lv_anim_del_all(void);
lv_anim_t *lv_anim_get(void *var, lv_anim_exec_xcb_t exec_cb);
struct _lv_timer_t *lv_anim_get_timer(void);
static inline bool lv_anim_custom_del(lv_anim_t *a, lv_anim_custom_exec_cb_t exec_cb) {
    return lv_anim_del(a ? a->var : NULL, (lv_anim_exec_xcb_t)(void (*)(void))exec_cb);
}
static inline lv_anim_t *lv_anim_custom_get(lv_anim_t *a, lv_anim_custom_exec_cb_t exec_cb) {
    return lv_anim_get(a ? a->var : NULL, (lv_anim_exec_xcb_t)(void (*)(void))exec_cb);
}
uint16_t lv_anim_count_running(void);
/** Time in ms to move from start to end at speed units per second (at least 1). */
uint32_t lv_anim_speed_to_time(uint32_t speed, int32_t start, int32_t end);
/** Step the animations now instead of at the animation timer's next period. */
void lv_anim_refr_now(void);

int32_t lv_anim_path_linear(const lv_anim_t *a);
int32_t lv_anim_path_ease_in(const lv_anim_t *a);
int32_t lv_anim_path_ease_out(const lv_anim_t *a);
int32_t lv_anim_path_ease_in_out(const lv_anim_t *a);
int32_t lv_anim_path_overshoot(const lv_anim_t *a);
int32_t lv_anim_path_bounce(const lv_anim_t *a);
int32_t lv_anim_path_step(const lv_anim_t *a);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_ANIM_H */
