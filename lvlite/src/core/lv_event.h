/**
 * @file lv_event.h
 * Events: the class handler runs first, then the object's callbacks in the order they were added, then the
 * event bubbles to the parent when the object has LV_OBJ_FLAG_EVENT_BUBBLE.
 */
#ifndef LV_EVENT_H
#define LV_EVENT_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stdint.h>

#include "../misc/lv_area.h"
#include "../misc/lv_types.h"

struct _lv_obj_t;
struct _lv_event_dsc_t;
struct _lv_indev_t;
struct _lv_draw_ctx_t;
struct _lv_obj_draw_part_dsc_t;

typedef enum {
    LV_EVENT_ALL = 0,

    LV_EVENT_PRESSED,
    LV_EVENT_PRESSING,
    LV_EVENT_PRESS_LOST,
    LV_EVENT_SHORT_CLICKED,
    LV_EVENT_LONG_PRESSED,
    LV_EVENT_LONG_PRESSED_REPEAT,
    LV_EVENT_CLICKED,
    LV_EVENT_RELEASED,
    LV_EVENT_SCROLL_BEGIN,
    LV_EVENT_SCROLL_END,
    LV_EVENT_SCROLL,
    LV_EVENT_GESTURE,
    LV_EVENT_KEY,
    LV_EVENT_FOCUSED,
    LV_EVENT_DEFOCUSED,
    LV_EVENT_LEAVE,
    LV_EVENT_HIT_TEST,

    LV_EVENT_COVER_CHECK,
    LV_EVENT_REFR_EXT_DRAW_SIZE,
    LV_EVENT_DRAW_MAIN_BEGIN,
    LV_EVENT_DRAW_MAIN,
    LV_EVENT_DRAW_MAIN_END,
    LV_EVENT_DRAW_POST_BEGIN,
    LV_EVENT_DRAW_POST,
    LV_EVENT_DRAW_POST_END,
    LV_EVENT_DRAW_PART_BEGIN,
    LV_EVENT_DRAW_PART_END,

    LV_EVENT_VALUE_CHANGED,
    LV_EVENT_INSERT,
    LV_EVENT_REFRESH,
    LV_EVENT_READY,
    LV_EVENT_CANCEL,

    LV_EVENT_DELETE,
    LV_EVENT_CHILD_CHANGED,
    LV_EVENT_CHILD_CREATED,
    LV_EVENT_CHILD_DELETED,
    LV_EVENT_SCREEN_UNLOAD_START,
    LV_EVENT_SCREEN_LOAD_START,
    LV_EVENT_SCREEN_LOADED,
    LV_EVENT_SCREEN_UNLOADED,
    LV_EVENT_SIZE_CHANGED,
    LV_EVENT_STYLE_CHANGED,
    LV_EVENT_LAYOUT_CHANGED,
    LV_EVENT_GET_SELF_SIZE,

    _LV_EVENT_LAST,
    LV_EVENT_PREPROCESS = 0x80,
} lv_event_code_t;

typedef struct _lv_event_t {
    struct _lv_obj_t *target;
    struct _lv_obj_t *current_target;
    lv_event_code_t code;
    void *user_data;
    void *param;
    struct _lv_event_t *prev;
    uint8_t deleted : 1;
    uint8_t stop_processing : 1;
    uint8_t stop_bubbling : 1;
} lv_event_t;

typedef void (*lv_event_cb_t)(lv_event_t *e);

typedef struct _lv_event_dsc_t {
    lv_event_cb_t cb;
    void *user_data;
    lv_event_code_t filter : 8;
} lv_event_dsc_t;

typedef struct {
    const lv_point_t *point;
    bool res;
} lv_hit_test_info_t;

typedef enum {
    LV_COVER_RES_COVER = 0,
    LV_COVER_RES_NOT_COVER = 1,
    LV_COVER_RES_MASKED = 2,
} lv_cover_res_t;

typedef struct {
    lv_cover_res_t res;
    const lv_area_t *area;
} lv_cover_check_info_t;

lv_res_t lv_event_send(struct _lv_obj_t *obj, lv_event_code_t event_code, void *param);
/** Call the event handler of the class above class_p (of the object's own class when NULL). */
lv_res_t lv_obj_event_base(const struct _lv_obj_class_t *class_p, lv_event_t *e);
struct _lv_obj_t *lv_event_get_target(lv_event_t *e);
struct _lv_obj_t *lv_event_get_current_target(lv_event_t *e);
lv_event_code_t lv_event_get_code(lv_event_t *e);
void *lv_event_get_param(lv_event_t *e);
void *lv_event_get_user_data(lv_event_t *e);
void lv_event_stop_bubbling(lv_event_t *e);
void lv_event_stop_processing(lv_event_t *e);
uint32_t lv_event_register_id(void);
/** Mark the running events of obj so that their senders see it was deleted. */
void _lv_event_mark_deleted(struct _lv_obj_t *obj);

struct _lv_event_dsc_t *lv_obj_add_event_cb(struct _lv_obj_t *obj, lv_event_cb_t event_cb,
                                            lv_event_code_t filter, void *user_data);
bool lv_obj_remove_event_cb(struct _lv_obj_t *obj, lv_event_cb_t event_cb);
bool lv_obj_remove_event_cb_with_user_data(struct _lv_obj_t *obj, lv_event_cb_t event_cb,
                                           const void *user_data);
bool lv_obj_remove_event_dsc(struct _lv_obj_t *obj, struct _lv_event_dsc_t *event_dsc);
void *lv_obj_get_event_user_data(struct _lv_obj_t *obj, lv_event_cb_t event_cb);

struct _lv_indev_t *lv_event_get_indev(lv_event_t *e);
struct _lv_obj_draw_part_dsc_t *lv_event_get_draw_part_dsc(lv_event_t *e);
struct _lv_draw_ctx_t *lv_event_get_draw_ctx(lv_event_t *e);
const lv_area_t *lv_event_get_old_size(lv_event_t *e);
uint32_t lv_event_get_key(lv_event_t *e);
struct _lv_anim_t *lv_event_get_scroll_anim(lv_event_t *e);
void lv_event_set_ext_draw_size(lv_event_t *e, lv_coord_t size);
lv_point_t *lv_event_get_self_size_info(lv_event_t *e);
lv_hit_test_info_t *lv_event_get_hit_test_info(lv_event_t *e);
const lv_area_t *lv_event_get_cover_area(lv_event_t *e);
void lv_event_set_cover_res(lv_event_t *e, lv_cover_res_t res);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_EVENT_H */
