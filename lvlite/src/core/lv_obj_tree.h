/**
 * @file lv_obj_tree.h
 * The object tree: deleting, cleaning, re-parenting and ordering children.
 */
#ifndef LV_OBJ_TREE_H
#define LV_OBJ_TREE_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdint.h>

struct _lv_obj_t;
struct _lv_disp_t;
struct _lv_anim_t;

typedef enum {
    LV_OBJ_TREE_WALK_NEXT,
    LV_OBJ_TREE_WALK_SKIP_CHILDREN,
    LV_OBJ_TREE_WALK_END,
} lv_obj_tree_walk_res_t;

typedef lv_obj_tree_walk_res_t (*lv_obj_tree_walk_cb_t)(struct _lv_obj_t *, void *);

/** Send DELETE to obj, then to its children depth-first, and free them all. */
void lv_obj_del(struct _lv_obj_t *obj);
/** Delete every child of obj. */
void lv_obj_clean(struct _lv_obj_t *obj);
void lv_obj_del_delayed(struct _lv_obj_t *obj, uint32_t delay_ms);
void lv_obj_del_anim_ready_cb(struct _lv_anim_t *a);
/** Delete obj from the next timer handler call. */
void lv_obj_del_async(struct _lv_obj_t *obj);
void lv_obj_set_parent(struct _lv_obj_t *obj, struct _lv_obj_t *parent);
void lv_obj_swap(struct _lv_obj_t *obj1, struct _lv_obj_t *obj2);
/** Move obj among its siblings; a negative index counts from the end. Redraws the parent. */
void lv_obj_move_to_index(struct _lv_obj_t *obj, int32_t index);
struct _lv_obj_t *lv_obj_get_screen(const struct _lv_obj_t *obj);
struct _lv_disp_t *lv_obj_get_disp(const struct _lv_obj_t *obj);
struct _lv_obj_t *lv_obj_get_parent(const struct _lv_obj_t *obj);
/** The child at id (a negative id counts from the last child), or NULL. */
struct _lv_obj_t *lv_obj_get_child(const struct _lv_obj_t *obj, int32_t id);
uint32_t lv_obj_get_child_cnt(const struct _lv_obj_t *obj);
uint32_t lv_obj_get_index(const struct _lv_obj_t *obj);
void lv_obj_tree_walk(struct _lv_obj_t *start_obj, lv_obj_tree_walk_cb_t cb, void *user_data);

/* Internal: append to / remove from a parent's children or a display's screens (freed when empty). */
bool _lv_obj_list_append(struct _lv_obj_t ***list, uint32_t *cnt, struct _lv_obj_t *obj);
void _lv_obj_list_remove(struct _lv_obj_t ***list, uint32_t *cnt, const struct _lv_obj_t *obj);

static inline void lv_obj_move_foreground(struct _lv_obj_t *obj) {
    lv_obj_move_to_index(obj, -1);
}
static inline void lv_obj_move_background(struct _lv_obj_t *obj) {
    lv_obj_move_to_index(obj, 0);
}

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_OBJ_TREE_H */
