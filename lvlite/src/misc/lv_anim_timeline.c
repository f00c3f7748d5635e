/**
 * @file lv_anim_timeline.c
 */
#include "lv_anim_timeline.h"
#include "lv_mem.h"
#include "lv_log.h"

typedef struct {
    lv_anim_t anim;
    uint32_t start_time;
} lv_anim_timeline_dsc_t;

struct _lv_anim_timeline_t {
    lv_anim_timeline_dsc_t *anim_dsc;
    uint32_t anim_dsc_cnt;
    bool reverse;
};

lv_anim_timeline_t *lv_anim_timeline_create(void) {
    lv_anim_timeline_t *at = lv_mem_alloc(sizeof(lv_anim_timeline_t));
    if (at == NULL)
        return NULL;
    lv_memset_00(at, sizeof(*at));
    return at;
}

void lv_anim_timeline_del(lv_anim_timeline_t *at) {
    if (at == NULL)
        return;
    lv_anim_timeline_stop(at);
    lv_mem_free(at->anim_dsc);
    lv_mem_free(at);
}

void lv_anim_timeline_add(lv_anim_timeline_t *at, uint32_t start_time, lv_anim_t *a) {
    if (at == NULL || a == NULL)
        return;
    lv_anim_timeline_dsc_t *n = lv_mem_realloc(at->anim_dsc, (at->anim_dsc_cnt + 1) * sizeof(*n));
    if (n == NULL) {
        LV_LOG_ERROR("out of memory");
        return;
    }
    at->anim_dsc = n;
    at->anim_dsc[at->anim_dsc_cnt].anim = *a;
    at->anim_dsc[at->anim_dsc_cnt].start_time = start_time;
    at->anim_dsc_cnt++;
}

uint32_t lv_anim_timeline_start(lv_anim_timeline_t *at) {
    const uint32_t playtime = lv_anim_timeline_get_playtime(at);
    for (uint32_t i = 0; i < at->anim_dsc_cnt; i++) {
        lv_anim_t a = at->anim_dsc[i].anim;
        uint32_t start_time = at->anim_dsc[i].start_time;
        if (at->reverse) {
            int32_t tmp = a.start_value;
            a.start_value = a.end_value;
            a.end_value = tmp;
            a.current_value = a.start_value;
            lv_anim_set_delay(&a, playtime - (start_time + (uint32_t)a.time));
        } else {
            lv_anim_set_delay(&a, start_time);
        }
        lv_anim_start(&a);
    }
    return playtime;
}

void lv_anim_timeline_stop(lv_anim_timeline_t *at) {
    for (uint32_t i = 0; i < at->anim_dsc_cnt; i++) {
        lv_anim_t *a = &at->anim_dsc[i].anim;
        lv_anim_del(a->var, a->exec_cb);
    }
}

void lv_anim_timeline_set_reverse(lv_anim_timeline_t *at, bool reverse) {
    at->reverse = reverse;
}

void lv_anim_timeline_set_progress(lv_anim_timeline_t *at, uint16_t progress) {
    const uint32_t playtime = lv_anim_timeline_get_playtime(at);
    const uint32_t act_time = (uint32_t)((uint64_t)progress * playtime / LV_ANIM_TIMELINE_PROGRESS_MAX);
    for (uint32_t i = 0; i < at->anim_dsc_cnt; i++) {
        lv_anim_t *a = &at->anim_dsc[i].anim;
        if (a->exec_cb == NULL)
            continue;
        const uint32_t start_time = at->anim_dsc[i].start_time;
        int32_t value;
        if (act_time < start_time) {
            value = a->start_value;
        } else if (act_time < start_time + (uint32_t)a->time) {
            a->act_time = (int32_t)(act_time - start_time);
            value = a->path_cb(a);
        } else {
            value = a->end_value;
        }
        a->exec_cb(a->var, value);
    }
}

uint32_t lv_anim_timeline_get_playtime(lv_anim_timeline_t *at) {
    if (at == NULL)
        return 0;
    uint32_t playtime = 0;
    for (uint32_t i = 0; i < at->anim_dsc_cnt; i++) {
        uint32_t end = at->anim_dsc[i].start_time + (uint32_t)at->anim_dsc[i].anim.time;
        if (end > playtime)
            playtime = end;
    }
    return playtime;
}

bool lv_anim_timeline_get_reverse(lv_anim_timeline_t *at) {
    return at->reverse;
}
