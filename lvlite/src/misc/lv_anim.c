/**
 * @file lv_anim.c
 * Running animations sit in one list, newest first, stepped by one timer of LV_DISP_DEF_REFR_PERIOD that
 * is paused while the list is empty. Each step adds the time since the previous step; time past the end
 * of a cycle is dropped.
 *
 * A step works on a snapshot of the list: callbacks may start and delete animations meanwhile. Those
 * started during the step carry the step's mark and wait for the next one; those deleted are found
 * missing and skipped.
 */
#include "lv_anim.h"
#include "lv_ll.h"
#include "lv_log.h"
#include "lv_math.h"
#include "lv_mem.h"
#include "lv_timer.h"

#define SNAPSHOT_LOCAL 32

static lv_ll_t running;
static lv_timer_t *stepper;
static uint32_t last_step_at;
static uint32_t list_version; /* bumped at every insertion and removal */
static bool step_mark;        /* compared with lv_anim_t.run_round */

static void list_changed(void) {
    list_version++;
    if (_lv_ll_get_head(&running) != NULL)
        lv_timer_resume(stepper);
    else
        lv_timer_pause(stepper);
}

static bool is_running(const lv_anim_t *a) {
    for (const lv_anim_t *it = _lv_ll_get_head(&running); it != NULL; it = _lv_ll_get_next(&running, it))
        if (it == a)
            return true;
    return false;
}

static void unlink_and_free(lv_anim_t *a, bool finished) {
    _lv_ll_remove(&running, a);
    list_changed();
    if (finished && a->ready_cb != NULL)
        a->ready_cb(a);
    if (a->deleted_cb != NULL)
        a->deleted_cb(a);
    lv_mem_free(a);
}

/* Values follow the current value of the property when asked to (get_value_cb). */
static void follow_property(lv_anim_t *a) {
    if (a->get_value_cb == NULL)
        return;
    int32_t base = a->get_value_cb(a);
    a->start_value += base;
    a->end_value += base;
}

/* A cycle is over: start the way back, the next repeat, or finish. */
static void cycle_over(lv_anim_t *a) {
    bool was_forward = !a->playback_now;
    if (was_forward && a->repeat_cnt != LV_ANIM_REPEAT_INFINITE && a->repeat_cnt > 0)
        a->repeat_cnt--;
    bool more_to_play = a->repeat_cnt > 0 || (a->playback_time != 0 && was_forward);
    if (!more_to_play) {
        unlink_and_free(a, true);
        return;
    }
    if (a->playback_time == 0) {
        a->act_time = -(int32_t)a->repeat_delay;
        return;
    }
    /* Going back swaps the ends and the two durations; coming back waits the repeat delay. */
    a->act_time = -(int32_t)(was_forward ? a->playback_delay : a->repeat_delay);
    a->playback_now = was_forward;
    int32_t v = a->start_value;
    a->start_value = a->end_value;
    a->end_value = v;
    uint32_t d = (uint32_t)a->time;
    a->time = (int32_t)a->playback_time;
    a->playback_time = d;
}

static void step_one(lv_anim_t *a, int32_t elapsed) {
    int32_t before = a->act_time;
    int32_t now = before + elapsed;
    if (!a->start_cb_called && before <= 0 && now >= 0) {
        if (!a->early_apply)
            follow_property(a);
        if (a->start_cb != NULL)
            a->start_cb(a);
        a->start_cb_called = 1;
    }
    a->act_time = now;
    if (now < 0)
        return;
    if (now > a->time)
        a->act_time = a->time;
    int32_t v = a->path_cb(a);
    if (v != a->current_value) {
        uint32_t version = list_version;
        a->current_value = v;
        if (a->exec_cb != NULL)
            a->exec_cb(a->var, v);
        /* The callback may have deleted the animation (with its object, say). */
        if (version != list_version && !is_running(a))
            return;
    }
    if (a->act_time >= a->time)
        cycle_over(a);
}

static void step_all(lv_timer_t *t) {
    LV_UNUSED(t);
    int32_t elapsed = (int32_t)lv_tick_elaps(last_step_at);
    step_mark = !step_mark;

    lv_anim_t *local[SNAPSHOT_LOCAL];
    lv_anim_t **snap = local;
    uint32_t n = _lv_ll_get_len(&running);
    if (n > SNAPSHOT_LOCAL) {
        snap = lv_mem_alloc(n * sizeof(*snap));
        if (snap == NULL) {
            LV_LOG_ERROR("out of memory");
            return;
        }
    }
    uint32_t k = 0;
    for (lv_anim_t *a = _lv_ll_get_head(&running); a != NULL; a = _lv_ll_get_next(&running, a))
        snap[k++] = a;

    uint32_t version = list_version;
    for (uint32_t i = 0; i < n; i++) {
        lv_anim_t *a = snap[i];
        /* After a change of the list: skip the deleted, and a new one that took a deleted one's place. */
        if (version != list_version && !is_running(a))
            continue;
        if (a->run_round == step_mark)
            continue;
        a->run_round = step_mark;
        step_one(a, elapsed);
    }
    if (snap != local)
        lv_mem_free(snap);
    last_step_at = lv_tick_get();
}

void _lv_anim_core_init(void) {
    _lv_ll_init(&running, sizeof(lv_anim_t));
    stepper = lv_timer_create(step_all, LV_DISP_DEF_REFR_PERIOD, NULL);
    last_step_at = lv_tick_get();
    step_mark = false;
    list_changed();
}

void lv_anim_init(lv_anim_t *a) {
    static const lv_anim_t fresh = {
        .path_cb = lv_anim_path_linear, .end_value = 100, .time = 500, .repeat_cnt = 1, .early_apply = 1};
    *a = fresh;
}

lv_anim_t *lv_anim_start(const lv_anim_t *a) {
    /* One animation per var and exec_cb: the new one replaces the old (without its ready callback). */
    if (a->exec_cb != NULL)
        lv_anim_del(a->var, a->exec_cb);
    /* The stepper slept while nothing ran: time counts from now. */
    if (_lv_ll_get_head(&running) == NULL)
        last_step_at = lv_tick_get();

    lv_anim_t *copy = _lv_ll_ins_head(&running);
    if (copy == NULL) {
        LV_LOG_ERROR("out of memory");
        return NULL;
    }
    *copy = *a;
    if (a->var == (const void *)a)
        copy->var = copy;
    copy->run_round = step_mark; /* not stepped before the next round */
    copy->playback_now = 0;
    copy->start_cb_called = 0;
    if (copy->early_apply) {
        follow_property(copy);
        if (copy->exec_cb != NULL)
            copy->exec_cb(copy->var, copy->start_value);
        copy->current_value = copy->start_value;
    }
    list_changed();
    return copy;
}

uint32_t lv_anim_get_playtime(lv_anim_t *a) {
    if (a->repeat_cnt == LV_ANIM_REPEAT_INFINITE)
        return LV_ANIM_PLAYTIME_INFINITE;
    uint32_t cycle = (uint32_t)(a->time - a->act_time);
    if (a->playback_time != 0)
        cycle += a->playback_delay + a->playback_time;
    uint32_t repeats = a->repeat_cnt > 1 ? a->repeat_cnt : 1;
    return cycle * repeats + a->repeat_delay * (repeats - 1);
}

static bool matches(const lv_anim_t *a, const void *var, lv_anim_exec_xcb_t cb) {
    return (var == NULL || a->var == var) && (cb == NULL || a->exec_cb == cb);
}

bool lv_anim_del(void *var, lv_anim_exec_xcb_t exec_cb) {
    bool any = false;
    /* Search again from the head after each one: a deleted callback may change the list. */
    for (;;) {
        lv_anim_t *hit = _lv_ll_get_head(&running);
        while (hit != NULL && !matches(hit, var, exec_cb))
            hit = _lv_ll_get_next(&running, hit);
        if (hit == NULL)
            return any;
        unlink_and_free(hit, false);
        any = true;
    }
}

void lv_anim_del_all(void) {
    _lv_ll_clear(&running);
    list_changed();
}

lv_anim_t *lv_anim_get(void *var, lv_anim_exec_xcb_t exec_cb) {
    for (lv_anim_t *a = _lv_ll_get_head(&running); a != NULL; a = _lv_ll_get_next(&running, a))
        if (a->var == var && matches(a, var, exec_cb))
            return a;
    return NULL;
}

struct _lv_timer_t *lv_anim_get_timer(void) {
    return stepper;
}

uint16_t lv_anim_count_running(void) {
    return (uint16_t)_lv_ll_get_len(&running);
}

uint32_t lv_anim_speed_to_time(uint32_t speed, int32_t start, int32_t end) {
    uint32_t dist = (uint32_t)LV_ABS(end - start);
    uint32_t ms = speed == 0 ? 0 : dist * 1000 / speed;
    return ms > 0 ? ms : 1;
}

void lv_anim_refr_now(void) {
    step_all(NULL);
}

/* start + (end - start) * frac / 2^shift */
static int32_t between(const lv_anim_t *a, int32_t frac, unsigned shift) {
    return a->start_value + ((frac * (a->end_value - a->start_value)) >> shift);
}

int32_t lv_anim_path_linear(const lv_anim_t *a) {
    return between(a, lv_map(a->act_time, 0, a->time, 0, LV_ANIM_RESOLUTION), LV_ANIM_RES_SHIFT);
}

/* A cubic Bezier easing from 0 to 1 with inner control points c1 and c2 (of LV_BEZIER_VAL_MAX). */
static int32_t eased(const lv_anim_t *a, uint32_t c1, uint32_t c2) {
    uint32_t x = (uint32_t)lv_map(a->act_time, 0, a->time, 0, LV_BEZIER_VAL_MAX);
    return between(a, (int32_t)lv_bezier3(x, 0, c1, c2, LV_BEZIER_VAL_MAX), LV_BEZIER_VAL_SHIFT);
}

int32_t lv_anim_path_ease_in(const lv_anim_t *a) {
    return eased(a, 50, 100);
}

int32_t lv_anim_path_ease_out(const lv_anim_t *a) {
    return eased(a, 900, 950);
}

int32_t lv_anim_path_ease_in_out(const lv_anim_t *a) {
    return eased(a, 50, 952);
}

int32_t lv_anim_path_overshoot(const lv_anim_t *a) {
    return eased(a, 1000, 1300);
}

/* The bounce: a fall, then two smaller hops (up and down again), each at a fraction of the height. */
typedef struct {
    int16_t from;   /* start of the part in 0..LV_BEZIER_VAL_MAX of the time */
    int16_t speed;  /* how fast the part runs through the curve */
    bool rising;    /* runs the curve backwards */
    uint8_t height; /* the height is the distance divided by this */
} bounce_part_t;

static const bounce_part_t bounce_parts[] = {
    {921, 10, false, 40},
    {819, 10, true, 40},
    {614, 5, false, 20},
    {408, 5, true, 20},
};

int32_t lv_anim_path_bounce(const lv_anim_t *a) {
    int32_t x = lv_map(a->act_time, 0, a->time, 0, LV_BEZIER_VAL_MAX);
    int32_t dist = a->end_value - a->start_value;
    int32_t u = (x * 2500) >> LV_BEZIER_VAL_SHIFT; /* the first fall */
    for (size_t i = 0; i < sizeof(bounce_parts) / sizeof(bounce_parts[0]); i++) {
        const bounce_part_t *p = &bounce_parts[i];
        if (x >= p->from) {
            u = (x - p->from) * p->speed;
            if (p->rising)
                u = LV_BEZIER_VAL_MAX - u;
            dist /= p->height;
            break;
        }
    }
    u = LV_CLAMP(0, u, LV_BEZIER_VAL_MAX);
    int32_t fall = (int32_t)lv_bezier3((uint32_t)u, LV_BEZIER_VAL_MAX, 800, 500, 0);
    return a->end_value - ((fall * dist) >> LV_BEZIER_VAL_SHIFT);
}

int32_t lv_anim_path_step(const lv_anim_t *a) {
    return a->act_time < a->time ? a->start_value : a->end_value;
}
