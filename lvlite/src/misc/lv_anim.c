/**
 * @file lv_anim.c
 * Running animations sit in one list, newest first, stepped by one timer of LV_DISP_DEF_REFR_PERIOD that
 * is paused while the list is empty. Each step adds the time since the previous step; time past the end
 * of a cycle is dropped.
 */
#include "lv_anim.h"
#include "lv_ll.h"
#include "lv_math.h"
#include "lv_mem.h"
#include "lv_timer.h"
#include "lv_log.h"

static lv_ll_t anim_ll;
static lv_timer_t *anim_tmr;
static uint32_t last_timer_run;
static bool anim_list_changed;
static bool anim_run_round;

static void anim_mark_list_change(void) {
    anim_list_changed = true;
    if (_lv_ll_get_head(&anim_ll) == NULL)
        lv_timer_pause(anim_tmr);
    else
        lv_timer_resume(anim_tmr);
}

static bool anim_in_list(const lv_anim_t *a) {
    lv_anim_t *i;
    _LV_LL_READ(&anim_ll, i) {
        if (i == a)
            return true;
    }
    return false;
}

/* End of one cycle: repeat, play back or finish. */
static void anim_ready_handler(lv_anim_t *a) {
    if (a->playback_now == 0 && a->repeat_cnt > 0 && a->repeat_cnt != LV_ANIM_REPEAT_INFINITE)
        a->repeat_cnt--;

    if (a->repeat_cnt == 0 && (a->playback_time == 0 || a->playback_now == 1)) {
        /* Unlink first so that the ready callback sees the animation as finished. */
        _lv_ll_remove(&anim_ll, a);
        anim_mark_list_change();
        if (a->ready_cb)
            a->ready_cb(a);
        if (a->deleted_cb)
            a->deleted_cb(a);
        lv_mem_free(a);
        return;
    }
    a->act_time = -(int32_t)a->repeat_delay;
    if (a->playback_time != 0) {
        if (a->playback_now == 0)
            a->act_time = -(int32_t)a->playback_delay;
        a->playback_now = a->playback_now == 0 ? 1 : 0;
        int32_t tmp = a->start_value;
        a->start_value = a->end_value;
        a->end_value = tmp;
        uint32_t t = (uint32_t)a->time;
        a->time = (int32_t)a->playback_time;
        a->playback_time = t;
    }
}

static void anim_timer(lv_timer_t *param) {
    LV_UNUSED(param);
    uint32_t elaps = lv_tick_elaps(last_timer_run);
    anim_run_round = !anim_run_round;

    lv_anim_t *a = _lv_ll_get_head(&anim_ll);
    while (a != NULL) {
        anim_list_changed = false;
        /* run_round marks the animations already stepped when the walk restarts after a list change */
        if (a->run_round != anim_run_round) {
            a->run_round = anim_run_round;
            int32_t new_act_time = a->act_time + (int32_t)elaps;
            if (!a->start_cb_called && a->act_time <= 0 && new_act_time >= 0) {
                if (a->early_apply == 0 && a->get_value_cb) {
                    int32_t v_ofs = a->get_value_cb(a);
                    a->start_value += v_ofs;
                    a->end_value += v_ofs;
                }
                if (a->start_cb)
                    a->start_cb(a);
                a->start_cb_called = 1;
            }
            a->act_time = new_act_time;
            if (a->act_time >= 0) {
                if (a->act_time > a->time)
                    a->act_time = a->time;
                int32_t new_value = a->path_cb(a);
                if (new_value != a->current_value) {
                    a->current_value = new_value;
                    if (a->exec_cb)
                        a->exec_cb(a->var, new_value);
                }
                /* The exec callback may have deleted this animation (with its object, say). */
                if (anim_list_changed && !anim_in_list(a)) {
                    a = _lv_ll_get_head(&anim_ll);
                    continue;
                }
                if (a->act_time >= a->time)
                    anim_ready_handler(a);
            }
        }
        if (anim_list_changed)
            a = _lv_ll_get_head(&anim_ll);
        else
            a = _lv_ll_get_next(&anim_ll, a);
    }
    last_timer_run = lv_tick_get();
}

void _lv_anim_core_init(void) {
    _lv_ll_init(&anim_ll, sizeof(lv_anim_t));
    anim_tmr = lv_timer_create(anim_timer, LV_DISP_DEF_REFR_PERIOD, NULL);
    last_timer_run = lv_tick_get();
    anim_run_round = false;
    anim_mark_list_change();
}

void lv_anim_init(lv_anim_t *a) {
    lv_memset_00(a, sizeof(lv_anim_t));
    a->time = 500;
    a->start_value = 0;
    a->end_value = 100;
    a->repeat_cnt = 1;
    a->path_cb = lv_anim_path_linear;
    a->early_apply = 1;
}

lv_anim_t *lv_anim_start(const lv_anim_t *a) {
    /* One animation per var and exec_cb: the new one replaces the old (without its ready callback). */
    if (a->exec_cb != NULL)
        lv_anim_del(a->var, a->exec_cb);

    /* With an empty list the timer was paused and its last run is stale. */
    if (_lv_ll_is_empty(&anim_ll))
        last_timer_run = lv_tick_get();

    lv_anim_t *new_anim = _lv_ll_ins_head(&anim_ll);
    if (new_anim == NULL) {
        LV_LOG_ERROR("out of memory");
        return NULL;
    }
    lv_memcpy(new_anim, a, sizeof(lv_anim_t));
    if (a->var == a)
        new_anim->var = new_anim;
    new_anim->run_round = anim_run_round;
    new_anim->start_cb_called = 0;
    new_anim->playback_now = 0;

    if (new_anim->early_apply) {
        if (new_anim->get_value_cb) {
            int32_t v_ofs = new_anim->get_value_cb(new_anim);
            new_anim->start_value += v_ofs;
            new_anim->end_value += v_ofs;
        }
        if (new_anim->exec_cb)
            new_anim->exec_cb(new_anim->var, new_anim->start_value);
        new_anim->current_value = new_anim->start_value;
    }
    anim_mark_list_change();
    return new_anim;
}

uint32_t lv_anim_get_playtime(lv_anim_t *a) {
    if (a->repeat_cnt == LV_ANIM_REPEAT_INFINITE)
        return LV_ANIM_PLAYTIME_INFINITE;
    uint32_t playtime = (uint32_t)(a->time - a->act_time);
    if (a->playback_time)
        playtime += a->playback_delay + a->playback_time;
    if (a->repeat_cnt <= 1)
        return playtime;
    playtime += (a->repeat_delay + playtime) * (a->repeat_cnt - 1u);
    return playtime;
}

bool lv_anim_del(void *var, lv_anim_exec_xcb_t exec_cb) {
    bool del = false;
    lv_anim_t *a = _lv_ll_get_head(&anim_ll);
    while (a != NULL) {
        lv_anim_t *next = _lv_ll_get_next(&anim_ll, a);
        if ((a->var == var || var == NULL) && (a->exec_cb == exec_cb || exec_cb == NULL)) {
            _lv_ll_remove(&anim_ll, a);
            if (a->deleted_cb)
                a->deleted_cb(a);
            lv_mem_free(a);
            anim_mark_list_change();
            del = true;
            /* The deleted callback may have changed the list. */
            next = _lv_ll_get_head(&anim_ll);
        }
        a = next;
    }
    return del;
}

void lv_anim_del_all(void) {
    _lv_ll_clear(&anim_ll);
    anim_mark_list_change();
}

lv_anim_t *lv_anim_get(void *var, lv_anim_exec_xcb_t exec_cb) {
    lv_anim_t *a;
    _LV_LL_READ(&anim_ll, a) {
        if (a->var == var && (a->exec_cb == exec_cb || exec_cb == NULL))
            return a;
    }
    return NULL;
}

struct _lv_timer_t *lv_anim_get_timer(void) {
    return anim_tmr;
}

uint16_t lv_anim_count_running(void) {
    uint16_t cnt = 0;
    lv_anim_t *a;
    _LV_LL_READ(&anim_ll, a) cnt++;
    return cnt;
}

uint32_t lv_anim_speed_to_time(uint32_t speed, int32_t start, int32_t end) {
    uint32_t d = (uint32_t)LV_ABS(start - end);
    uint32_t time = speed ? (d * 1000) / speed : 0;
    if (time == 0)
        time++;
    return time;
}

void lv_anim_refr_now(void) {
    anim_timer(NULL);
}

int32_t lv_anim_path_linear(const lv_anim_t *a) {
    int32_t step = lv_map(a->act_time, 0, a->time, 0, LV_ANIM_RESOLUTION);
    int32_t new_value = step * (a->end_value - a->start_value);
    new_value = new_value >> LV_ANIM_RES_SHIFT;
    return new_value + a->start_value;
}

static int32_t path_bezier(const lv_anim_t *a, uint32_t u1, uint32_t u2) {
    uint32_t t = (uint32_t)lv_map(a->act_time, 0, a->time, 0, LV_BEZIER_VAL_MAX);
    int32_t step = (int32_t)lv_bezier3(t, 0, u1, u2, LV_BEZIER_VAL_MAX);
    int32_t new_value = step * (a->end_value - a->start_value);
    new_value = new_value >> LV_BEZIER_VAL_SHIFT;
    return new_value + a->start_value;
}

int32_t lv_anim_path_ease_in(const lv_anim_t *a) {
    return path_bezier(a, 50, 100);
}

int32_t lv_anim_path_ease_out(const lv_anim_t *a) {
    return path_bezier(a, 900, 950);
}

int32_t lv_anim_path_ease_in_out(const lv_anim_t *a) {
    return path_bezier(a, 50, 952);
}

int32_t lv_anim_path_overshoot(const lv_anim_t *a) {
    return path_bezier(a, 1000, 1300);
}

int32_t lv_anim_path_bounce(const lv_anim_t *a) {
    int32_t t = lv_map(a->act_time, 0, a->time, 0, LV_BEZIER_VAL_MAX);
    int32_t diff = a->end_value - a->start_value;
    /* Three falls and two bounces back, each shorter and lower than the previous. */
    if (t < 408) {
        t = (t * 2500) >> LV_BEZIER_VAL_SHIFT;
    } else if (t < 614) {
        t = LV_BEZIER_VAL_MAX - (t - 408) * 5;
        diff = diff / 20;
    } else if (t < 819) {
        t = (t - 614) * 5;
        diff = diff / 20;
    } else if (t < 921) {
        t = LV_BEZIER_VAL_MAX - (t - 819) * 10;
        diff = diff / 40;
    } else {
        t = (t - 921) * 10;
        diff = diff / 40;
    }
    if (t > LV_BEZIER_VAL_MAX)
        t = LV_BEZIER_VAL_MAX;
    if (t < 0)
        t = 0;
    int32_t step = (int32_t)lv_bezier3((uint32_t)t, LV_BEZIER_VAL_MAX, 800, 500, 0);
    int32_t new_value = (step * diff) >> LV_BEZIER_VAL_SHIFT;
    return a->end_value - new_value;
}

int32_t lv_anim_path_step(const lv_anim_t *a) {
    return a->act_time >= a->time ? a->end_value : a->start_value;
}
