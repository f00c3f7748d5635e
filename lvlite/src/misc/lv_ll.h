/**
 * @file lv_ll.h
 * Doubly linked lists whose nodes hold a fixed-size payload followed by the two links.
 */
#ifndef LV_LL_H
#define LV_LL_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

typedef uint8_t lv_ll_node_t;

typedef struct {
    uint32_t n_size; /**< payload size, rounded up for pointer alignment */
    lv_ll_node_t *head;
    lv_ll_node_t *tail;
} lv_ll_t;

void _lv_ll_init(lv_ll_t *ll_p, uint32_t node_size);
void *_lv_ll_ins_head(lv_ll_t *ll_p);
void *_lv_ll_ins_prev(lv_ll_t *ll_p, void *n_act);
void *_lv_ll_ins_tail(lv_ll_t *ll_p);
/** Unlink a node; the caller frees it with lv_mem_free. */
void _lv_ll_remove(lv_ll_t *ll_p, void *node_p);
/** Unlink and free every node. */
void _lv_ll_clear(lv_ll_t *ll_p);
void _lv_ll_chg_list(lv_ll_t *ll_ori_p, lv_ll_t *ll_new_p, void *node, bool head);
void *_lv_ll_get_head(const lv_ll_t *ll_p);
void *_lv_ll_get_tail(const lv_ll_t *ll_p);
void *_lv_ll_get_next(const lv_ll_t *ll_p, const void *n_act);
void *_lv_ll_get_prev(const lv_ll_t *ll_p, const void *n_act);
uint32_t _lv_ll_get_len(const lv_ll_t *ll_p);
/** Move n_act before n_after (at the end when n_after is NULL). */
void _lv_ll_move_before(lv_ll_t *ll_p, void *n_act, void *n_after);
bool _lv_ll_is_empty(lv_ll_t *ll_p);

#define _LV_LL_READ(list, i)      for (i = _lv_ll_get_head(list); i != NULL; i = _lv_ll_get_next(list, i))
#define _LV_LL_READ_BACK(list, i) for (i = _lv_ll_get_tail(list); i != NULL; i = _lv_ll_get_prev(list, i))

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_LL_H */
