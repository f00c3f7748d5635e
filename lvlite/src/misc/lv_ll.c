/**
 * @file lv_ll.c
 * Each node is [payload n_size bytes][prev pointer][next pointer].
 */
#include "lv_ll.h"
#include "lv_mem.h"

#include <string.h>

#define LL_PREV_OFS(ll)  ((ll)->n_size)
#define LL_NEXT_OFS(ll)  ((ll)->n_size + sizeof(lv_ll_node_t *))
#define LL_NODE_SIZE(ll) ((ll)->n_size + 2 * sizeof(lv_ll_node_t *))

static lv_ll_node_t *node_prev(const lv_ll_t *ll, const void *n) {
    lv_ll_node_t *p;
    memcpy(&p, (const uint8_t *)n + LL_PREV_OFS(ll), sizeof(p));
    return p;
}

static lv_ll_node_t *node_next(const lv_ll_t *ll, const void *n) {
    lv_ll_node_t *p;
    memcpy(&p, (const uint8_t *)n + LL_NEXT_OFS(ll), sizeof(p));
    return p;
}

static void set_prev(const lv_ll_t *ll, lv_ll_node_t *n, lv_ll_node_t *prev) {
    if (n)
        memcpy(n + LL_PREV_OFS(ll), &prev, sizeof(prev));
}

static void set_next(const lv_ll_t *ll, lv_ll_node_t *n, lv_ll_node_t *next) {
    if (n)
        memcpy(n + LL_NEXT_OFS(ll), &next, sizeof(next));
}

void _lv_ll_init(lv_ll_t *ll_p, uint32_t node_size) {
    ll_p->head = NULL;
    ll_p->tail = NULL;
    uint32_t align = (uint32_t)sizeof(void *);
    ll_p->n_size = (node_size + align - 1) / align * align;
}

void *_lv_ll_ins_head(lv_ll_t *ll_p) {
    lv_ll_node_t *n = lv_mem_alloc(LL_NODE_SIZE(ll_p));
    if (n == NULL)
        return NULL;
    set_prev(ll_p, n, NULL);
    set_next(ll_p, n, ll_p->head);
    if (ll_p->head)
        set_prev(ll_p, ll_p->head, n);
    ll_p->head = n;
    if (ll_p->tail == NULL)
        ll_p->tail = n;
    return n;
}

void *_lv_ll_ins_prev(lv_ll_t *ll_p, void *n_act) {
    if (ll_p == NULL || n_act == NULL)
        return NULL;
    if (_lv_ll_get_head(ll_p) == n_act)
        return _lv_ll_ins_head(ll_p);
    lv_ll_node_t *n = lv_mem_alloc(LL_NODE_SIZE(ll_p));
    if (n == NULL)
        return NULL;
    lv_ll_node_t *prev = node_prev(ll_p, n_act);
    set_next(ll_p, prev, n);
    set_prev(ll_p, n, prev);
    set_prev(ll_p, n_act, n);
    set_next(ll_p, n, n_act);
    return n;
}

void *_lv_ll_ins_tail(lv_ll_t *ll_p) {
    lv_ll_node_t *n = lv_mem_alloc(LL_NODE_SIZE(ll_p));
    if (n == NULL)
        return NULL;
    set_next(ll_p, n, NULL);
    set_prev(ll_p, n, ll_p->tail);
    if (ll_p->tail)
        set_next(ll_p, ll_p->tail, n);
    ll_p->tail = n;
    if (ll_p->head == NULL)
        ll_p->head = n;
    return n;
}

void _lv_ll_remove(lv_ll_t *ll_p, void *node_p) {
    if (ll_p == NULL || node_p == NULL)
        return;
    lv_ll_node_t *prev = node_prev(ll_p, node_p);
    lv_ll_node_t *next = node_next(ll_p, node_p);
    if (prev)
        set_next(ll_p, prev, next);
    else
        ll_p->head = next;
    if (next)
        set_prev(ll_p, next, prev);
    else
        ll_p->tail = prev;
}

void _lv_ll_clear(lv_ll_t *ll_p) {
    void *i = _lv_ll_get_head(ll_p);
    while (i) {
        void *next = _lv_ll_get_next(ll_p, i);
        _lv_ll_remove(ll_p, i);
        lv_mem_free(i);
        i = next;
    }
}

void _lv_ll_chg_list(lv_ll_t *ll_ori_p, lv_ll_t *ll_new_p, void *node, bool head) {
    _lv_ll_remove(ll_ori_p, node);
    lv_ll_node_t *n = node;
    if (head) {
        set_prev(ll_new_p, n, NULL);
        set_next(ll_new_p, n, ll_new_p->head);
        if (ll_new_p->head)
            set_prev(ll_new_p, ll_new_p->head, n);
        ll_new_p->head = n;
        if (ll_new_p->tail == NULL)
            ll_new_p->tail = n;
    } else {
        set_prev(ll_new_p, n, ll_new_p->tail);
        set_next(ll_new_p, n, NULL);
        if (ll_new_p->tail)
            set_next(ll_new_p, ll_new_p->tail, n);
        ll_new_p->tail = n;
        if (ll_new_p->head == NULL)
            ll_new_p->head = n;
    }
}

void *_lv_ll_get_head(const lv_ll_t *ll_p) {
    return ll_p ? ll_p->head : NULL;
}

void *_lv_ll_get_tail(const lv_ll_t *ll_p) {
    return ll_p ? ll_p->tail : NULL;
}

void *_lv_ll_get_next(const lv_ll_t *ll_p, const void *n_act) {
    if (ll_p == NULL || n_act == NULL)
        return NULL;
    return node_next(ll_p, n_act);
}

void *_lv_ll_get_prev(const lv_ll_t *ll_p, const void *n_act) {
    if (ll_p == NULL || n_act == NULL)
        return NULL;
    return node_prev(ll_p, n_act);
}

uint32_t _lv_ll_get_len(const lv_ll_t *ll_p) {
    uint32_t len = 0;
    void *n;
    _LV_LL_READ(ll_p, n) len++;
    return len;
}

void _lv_ll_move_before(lv_ll_t *ll_p, void *n_act, void *n_after) {
    if (n_act == n_after)
        return;
    _lv_ll_remove(ll_p, n_act);
    lv_ll_node_t *n = n_act;
    if (n_after == NULL) {
        set_prev(ll_p, n, ll_p->tail);
        set_next(ll_p, n, NULL);
        if (ll_p->tail)
            set_next(ll_p, ll_p->tail, n);
        ll_p->tail = n;
        if (ll_p->head == NULL)
            ll_p->head = n;
        return;
    }
    lv_ll_node_t *prev = node_prev(ll_p, n_after);
    set_prev(ll_p, n, prev);
    set_next(ll_p, n, n_after);
    set_prev(ll_p, n_after, n);
    if (prev)
        set_next(ll_p, prev, n);
    else
        ll_p->head = n;
}

bool _lv_ll_is_empty(lv_ll_t *ll_p) {
    return ll_p == NULL || ll_p->head == NULL;
}
