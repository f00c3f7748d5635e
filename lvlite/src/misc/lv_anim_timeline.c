/**
 * @file lv_anim_timeline.c
 * A timeline is an array of animations, each with the time it begins at. Playing it starts them all
 * with those times as delays (mirrored when reversed); a progress applies each one's value directly.
 */
#include "lv_anim_timeline.h"
#include "lv_log.h"
#include "lv_mem.h"

#define TIMELINE_FULL 0xFFFFu /* progress at the end of the play time */

typedef struct {
    lv_anim_t anim;
    uint32_t begins;
} timeline_entry_t;

struct _lv_anim_timeline_t {
    timeline_entry_t *entries;
    uint32_t count;
    bool backwards;
};

static uint32_t entry_end(const timeline_entry_t *e) {
    return e->begins + (uint32_t)e->anim.time;
}

lv_anim_timeline_t *lv_anim_timeline_create(void) {
    lv_anim_timeline_t *tl = lv_mem_alloc(sizeof(*tl));
    if (tl != NULL) {
        tl->entries = NULL;
        tl->count = 0;
        tl->backwards = false;
    }
    return tl;
}

void lv_anim_timeline_del(lv_anim_timeline_t *at) {
    if (at != NULL) {
        lv_anim_timeline_stop(at);
        lv_mem_free(at->entries);
        lv_mem_free(at);
    }
}

void lv_anim_timeline_add(lv_anim_timeline_t *at, uint32_t start_time, lv_anim_t *a) {
    if (at == NULL || a == NULL)
        return;
    timeline_entry_t *grown = lv_mem_realloc(at->entries, sizeof(*grown) * (at->count + 1));
    if (grown == NULL) {
        LV_LOG_ERROR("out of memory");
        return;
    }
    grown[at->count].anim = *a;
    grown[at->count].begins = start_time;
    at->entries = grown;
    at->count++;
}

uint32_t lv_anim_timeline_get_playtime(lv_anim_timeline_t *at) {
    uint32_t longest = 0;
    for (uint32_t i = 0; at != NULL && i < at->count; i++) {
        uint32_t end = entry_end(&at->entries[i]);
        longest = end > longest ? end : longest;
    }
    return longest;
}

uint32_t lv_anim_timeline_start(lv_anim_timeline_t *at) {
    uint32_t total = lv_anim_timeline_get_playtime(at);
    for (uint32_t i = 0; i < at->count; i++) {
        const timeline_entry_t *e = &at->entries[i];
        lv_anim_t run = e->anim;
        uint32_t wait = e->begins;
        if (at->backwards) {
            /* Played backwards: ends swapped, and it finishes where it began in the forward play. */
            run.start_value = e->anim.end_value;
            run.end_value = e->anim.start_value;
            run.current_value = run.start_value;
            wait = total - entry_end(e);
        }
        lv_anim_set_delay(&run, wait);
        lv_anim_start(&run);
    }
    return total;
}

void lv_anim_timeline_stop(lv_anim_timeline_t *at) {
    for (uint32_t i = 0; i < at->count; i++)
        lv_anim_del(at->entries[i].anim.var, at->entries[i].anim.exec_cb);
}

void lv_anim_timeline_set_reverse(lv_anim_timeline_t *at, bool reverse) {
    at->backwards = reverse;
}

bool lv_anim_timeline_get_reverse(lv_anim_timeline_t *at) {
    return at->backwards;
}

void lv_anim_timeline_set_progress(lv_anim_timeline_t *at, uint16_t progress) {
    uint32_t now = (uint32_t)((uint64_t)lv_anim_timeline_get_playtime(at) * progress / TIMELINE_FULL);
    for (uint32_t i = 0; i < at->count; i++) {
        timeline_entry_t *e = &at->entries[i];
        lv_anim_t *a = &e->anim;
        if (a->exec_cb == NULL)
            continue;
        int32_t v = a->end_value;
        if (now < e->begins) {
            v = a->start_value;
        } else if (now < entry_end(e)) {
            a->act_time = (int32_t)(now - e->begins);
            v = a->path_cb(a);
        }
        a->exec_cb(a->var, v);
    }
}
