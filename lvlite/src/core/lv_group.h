/**
 * @file lv_group.h
 * Groups of focusable objects for keypads: one is focused, NEXT and PREV move the focus.
 */
#ifndef LV_GROUP_H
#define LV_GROUP_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stdint.h>

#include "../misc/lv_ll.h"
#include "../misc/lv_types.h"

#define LV_KEY_UP        17
#define LV_KEY_DOWN      18
#define LV_KEY_RIGHT     19
#define LV_KEY_LEFT      20
#define LV_KEY_ESC       27
#define LV_KEY_DEL       127
#define LV_KEY_BACKSPACE 8
#define LV_KEY_ENTER     10
#define LV_KEY_NEXT      9
#define LV_KEY_PREV      11
#define LV_KEY_HOME      2
#define LV_KEY_END       3
typedef uint8_t lv_key_t;

struct _lv_obj_t;
struct _lv_group_t;

typedef void (*lv_group_focus_cb_t)(struct _lv_group_t *);
typedef void (*lv_group_edge_cb_t)(struct _lv_group_t *, bool);

typedef struct _lv_group_t {
    lv_ll_t obj_ll;               /**< pointers to the member objects */
    struct _lv_obj_t **obj_focus; /**< the focused member's node */
    lv_group_focus_cb_t focus_cb;
    lv_group_edge_cb_t edge_cb;
#if LV_USE_USER_DATA
    void *user_data;
#endif
    uint8_t frozen : 1;
    uint8_t editing : 1;
    uint8_t refocus_policy : 1;
    uint8_t wrap : 1;
} lv_group_t;

typedef enum {
    LV_GROUP_REFOCUS_POLICY_NEXT = 0,
    LV_GROUP_REFOCUS_POLICY_PREV = 1,
} lv_group_refocus_policy_t;

void _lv_group_init(void);
lv_group_t *lv_group_create(void);
void lv_group_del(lv_group_t *group);
/** New objects of classes that want a group (buttons, for instance) join the default group. */
void lv_group_set_default(lv_group_t *group);
lv_group_t *lv_group_get_default(void);
/** Add obj at the end; the first object of an empty group is focused. */
void lv_group_add_obj(lv_group_t *group, struct _lv_obj_t *obj);
void lv_group_swap_obj(struct _lv_obj_t *obj1, struct _lv_obj_t *obj2);
/** Remove obj from its group; when it was focused the focus moves (to the previous object by default). */
void lv_group_remove_obj(struct _lv_obj_t *obj);
void lv_group_remove_all_objs(lv_group_t *group);
/** Focus obj in its group (sending FOCUSED again when it is already focused). */
void lv_group_focus_obj(struct _lv_obj_t *obj);
void lv_group_focus_next(lv_group_t *group);
void lv_group_focus_prev(lv_group_t *group);
void lv_group_focus_freeze(lv_group_t *group, bool en);
/** Send a key to the focused object as LV_EVENT_KEY. */
lv_res_t lv_group_send_data(lv_group_t *group, uint32_t c);
void lv_group_set_focus_cb(lv_group_t *group, lv_group_focus_cb_t focus_cb);
void lv_group_set_edge_cb(lv_group_t *group, lv_group_edge_cb_t edge_cb);
void lv_group_set_refocus_policy(lv_group_t *group, lv_group_refocus_policy_t policy);
void lv_group_set_editing(lv_group_t *group, bool edit);
void lv_group_set_wrap(lv_group_t *group, bool en);
struct _lv_obj_t *lv_group_get_focused(const lv_group_t *group);
lv_group_focus_cb_t lv_group_get_focus_cb(const lv_group_t *group);
bool lv_group_get_editing(const lv_group_t *group);
bool lv_group_get_wrap(lv_group_t *group);
uint32_t lv_group_get_obj_count(lv_group_t *group);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_GROUP_H */
