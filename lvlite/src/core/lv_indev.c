/**
 * @file lv_indev.c
 * Keypad: NEXT/PREV move the focus on press; ENTER sends KEY then PRESSED, PRESSING while held,
 * LONG_PRESSED and LONG_PRESSED_REPEAT, and on release RELEASED, SHORT_CLICKED (unless long pressed) and
 * CLICKED; ESC sends KEY then CANCEL; other keys arrive as KEY.
 * Pointer: the topmost clickable object under the point gets PRESSED, PRESSING, LONG_PRESSED(_REPEAT),
 * RELEASED, SHORT_CLICKED, CLICKED, and PRESS_LOST when the point leaves it. Pointers do not scroll.
 */
#include "lv_indev.h"
#include "lv_disp.h"
#include "../misc/lv_math.h"

static lv_indev_t *indev_act;
static lv_obj_t *indev_obj_act;

/* An event handler may reset the device (for instance by deleting the object it works on). */
static bool indev_reset_check(_lv_indev_proc_t *proc) {
    if (proc->reset_query)
        indev_obj_act = NULL;
    return proc->reset_query ? true : false;
}

static void indev_proc_reset_query_handler(lv_indev_t *indev) {
    if (!indev->proc.reset_query)
        return;
    indev->proc.types.pointer.act_obj = NULL;
    indev->proc.types.pointer.last_obj = NULL;
    indev->proc.types.pointer.scroll_obj = NULL;
    indev->proc.long_pr_sent = 0;
    indev->proc.pr_timestamp = 0;
    indev->proc.longpr_rep_timestamp = 0;
    indev->proc.types.pointer.vect.x = 0;
    indev->proc.types.pointer.vect.y = 0;
    indev->proc.reset_query = 0;
    indev_obj_act = NULL;
}

static void indev_keypad_proc(lv_indev_t *i, lv_indev_data_t *data) {
    if (data->state == LV_INDEV_STATE_PRESSED && i->proc.wait_until_release)
        return;
    if (i->proc.wait_until_release) {
        i->proc.wait_until_release = 0;
        i->proc.pr_timestamp = 0;
        i->proc.long_pr_sent = 0;
        i->proc.types.keypad.last_state = LV_INDEV_STATE_RELEASED;
    }
    lv_group_t *g = i->group;
    if (g == NULL)
        return;
    indev_obj_act = lv_group_get_focused(g);
    if (indev_obj_act == NULL)
        return;
    bool dis = lv_obj_has_state(indev_obj_act, LV_STATE_DISABLED);
    uint32_t prev_key = i->proc.types.keypad.last_key;
    i->proc.types.keypad.last_key = data->key;
    lv_indev_state_t prev_state = i->proc.types.keypad.last_state;
    i->proc.types.keypad.last_state = data->state;

    if (data->state == LV_INDEV_STATE_PRESSED && prev_state == LV_INDEV_STATE_RELEASED) {
        i->proc.pr_timestamp = lv_tick_get();
        if (data->key == LV_KEY_NEXT) {
            lv_group_set_editing(g, false);
            lv_group_focus_next(g);
            if (indev_reset_check(&i->proc))
                return;
        } else if (data->key == LV_KEY_PREV) {
            lv_group_set_editing(g, false);
            lv_group_focus_prev(g);
            if (indev_reset_check(&i->proc))
                return;
        } else if (!dis) {
            if (data->key == LV_KEY_ENTER) {
                lv_group_send_data(g, LV_KEY_ENTER);
                if (indev_reset_check(&i->proc))
                    return;
                lv_event_send(indev_obj_act, LV_EVENT_PRESSED, indev_act);
                if (indev_reset_check(&i->proc))
                    return;
            } else if (data->key == LV_KEY_ESC) {
                lv_group_send_data(g, LV_KEY_ESC);
                if (indev_reset_check(&i->proc))
                    return;
                lv_event_send(indev_obj_act, LV_EVENT_CANCEL, indev_act);
                if (indev_reset_check(&i->proc))
                    return;
            } else {
                lv_group_send_data(g, data->key);
                if (indev_reset_check(&i->proc))
                    return;
            }
        }
    } else if (!dis && data->state == LV_INDEV_STATE_PRESSED && prev_state == LV_INDEV_STATE_PRESSED) {
        if (data->key == LV_KEY_ENTER) {
            lv_event_send(indev_obj_act, LV_EVENT_PRESSING, indev_act);
            if (indev_reset_check(&i->proc))
                return;
        }
        if (i->proc.long_pr_sent == 0 && lv_tick_elaps(i->proc.pr_timestamp) > i->driver->long_press_time) {
            i->proc.long_pr_sent = 1;
            if (data->key == LV_KEY_ENTER) {
                i->proc.longpr_rep_timestamp = lv_tick_get();
                lv_event_send(indev_obj_act, LV_EVENT_LONG_PRESSED, indev_act);
                if (indev_reset_check(&i->proc))
                    return;
            }
        } else if (i->proc.long_pr_sent != 0 &&
                   lv_tick_elaps(i->proc.longpr_rep_timestamp) > i->driver->long_press_repeat_time) {
            i->proc.longpr_rep_timestamp = lv_tick_get();
            if (data->key == LV_KEY_ENTER) {
                lv_event_send(indev_obj_act, LV_EVENT_LONG_PRESSED_REPEAT, indev_act);
                if (indev_reset_check(&i->proc))
                    return;
            } else if (data->key == LV_KEY_NEXT) {
                lv_group_set_editing(g, false);
                lv_group_focus_next(g);
                if (indev_reset_check(&i->proc))
                    return;
            } else if (data->key == LV_KEY_PREV) {
                lv_group_set_editing(g, false);
                lv_group_focus_prev(g);
                if (indev_reset_check(&i->proc))
                    return;
            } else {
                lv_group_send_data(g, data->key);
                if (indev_reset_check(&i->proc))
                    return;
            }
        }
    } else if (!dis && data->state == LV_INDEV_STATE_RELEASED && prev_state == LV_INDEV_STATE_PRESSED) {
        /* The driver may clear the key on release: release the key that was pressed. */
        data->key = prev_key;
        if (data->key == LV_KEY_ENTER) {
            lv_event_send(indev_obj_act, LV_EVENT_RELEASED, indev_act);
            if (indev_reset_check(&i->proc))
                return;
            if (i->proc.long_pr_sent == 0) {
                lv_event_send(indev_obj_act, LV_EVENT_SHORT_CLICKED, indev_act);
                if (indev_reset_check(&i->proc))
                    return;
            }
            lv_event_send(indev_obj_act, LV_EVENT_CLICKED, indev_act);
            if (indev_reset_check(&i->proc))
                return;
        }
        i->proc.pr_timestamp = 0;
        i->proc.long_pr_sent = 0;
    }
    indev_obj_act = NULL;
}

static void pointer_press(_lv_indev_proc_t *proc) {
    lv_disp_t *disp = indev_act->driver->disp;
    lv_point_t *p = &proc->types.pointer.act_point;
    if (proc->wait_until_release)
        return;
    indev_obj_act = proc->types.pointer.act_obj;
    if (indev_obj_act == NULL) {
        indev_obj_act = lv_indev_search_obj(lv_disp_get_layer_sys(disp), p);
        if (indev_obj_act == NULL)
            indev_obj_act = lv_indev_search_obj(lv_disp_get_layer_top(disp), p);
        if (indev_obj_act == NULL)
            indev_obj_act = lv_indev_search_obj(lv_disp_get_scr_act(disp), p);
    } else if (!lv_obj_has_flag(indev_obj_act, LV_OBJ_FLAG_PRESS_LOCK)) {
        /* Without press lock the object under the point takes over. */
        lv_obj_t *o = lv_indev_search_obj(lv_disp_get_layer_sys(disp), p);
        if (o == NULL)
            o = lv_indev_search_obj(lv_disp_get_layer_top(disp), p);
        if (o == NULL)
            o = lv_indev_search_obj(lv_disp_get_scr_act(disp), p);
        indev_obj_act = o;
    }
    proc->types.pointer.vect.x = p->x - proc->types.pointer.last_point.x;
    proc->types.pointer.vect.y = p->y - proc->types.pointer.last_point.y;

    if (indev_obj_act != proc->types.pointer.act_obj) {
        proc->types.pointer.last_point = *p;
        if (proc->types.pointer.act_obj != NULL) {
            lv_obj_t *last = proc->types.pointer.act_obj;
            lv_event_send(last, LV_EVENT_PRESS_LOST, indev_act);
            if (indev_reset_check(proc))
                return;
        }
        proc->types.pointer.act_obj = indev_obj_act;
        proc->types.pointer.last_obj = indev_obj_act;
        if (indev_obj_act != NULL) {
            proc->pr_timestamp = lv_tick_get();
            proc->long_pr_sent = 0;
            proc->types.pointer.vect.x = 0;
            proc->types.pointer.vect.y = 0;
            lv_event_send(indev_obj_act, LV_EVENT_PRESSED, indev_act);
            if (indev_reset_check(proc))
                return;
            if (indev_act->proc.wait_until_release)
                return;
        }
    }
    proc->types.pointer.last_point = *p;
    if (indev_obj_act) {
        lv_event_send(indev_obj_act, LV_EVENT_PRESSING, indev_act);
        if (indev_reset_check(proc))
            return;
        if (indev_act->proc.wait_until_release)
            return;
        if (proc->long_pr_sent == 0 &&
            lv_tick_elaps(proc->pr_timestamp) > indev_act->driver->long_press_time) {
            lv_event_send(indev_obj_act, LV_EVENT_LONG_PRESSED, indev_act);
            if (indev_reset_check(proc))
                return;
            proc->longpr_rep_timestamp = lv_tick_get();
            proc->long_pr_sent = 1;
        } else if (proc->long_pr_sent != 0 &&
                   lv_tick_elaps(proc->longpr_rep_timestamp) > indev_act->driver->long_press_repeat_time) {
            lv_event_send(indev_obj_act, LV_EVENT_LONG_PRESSED_REPEAT, indev_act);
            if (indev_reset_check(proc))
                return;
            proc->longpr_rep_timestamp = lv_tick_get();
        }
    }
}

static void pointer_release(_lv_indev_proc_t *proc) {
    if (proc->wait_until_release) {
        proc->types.pointer.act_obj = NULL;
        proc->types.pointer.last_obj = NULL;
        proc->pr_timestamp = 0;
        proc->longpr_rep_timestamp = 0;
        proc->wait_until_release = 0;
    }
    indev_obj_act = proc->types.pointer.act_obj;
    if (indev_obj_act) {
        lv_event_send(indev_obj_act, LV_EVENT_RELEASED, indev_act);
        if (indev_reset_check(proc))
            return;
        if (proc->long_pr_sent == 0) {
            lv_event_send(indev_obj_act, LV_EVENT_SHORT_CLICKED, indev_act);
            if (indev_reset_check(proc))
                return;
        }
        lv_event_send(indev_obj_act, LV_EVENT_CLICKED, indev_act);
        if (indev_reset_check(proc))
            return;
        proc->types.pointer.act_obj = NULL;
        proc->pr_timestamp = 0;
        proc->longpr_rep_timestamp = 0;
    }
    proc->types.pointer.vect.x = 0;
    proc->types.pointer.vect.y = 0;
}

static void indev_pointer_proc(lv_indev_t *i, lv_indev_data_t *data) {
    lv_disp_t *disp = i->driver->disp;
    i->proc.types.pointer.last_raw_point = data->point;
    if (disp->driver->rotated == LV_DISP_ROT_180 || disp->driver->rotated == LV_DISP_ROT_270) {
        data->point.x = disp->driver->hor_res - data->point.x - 1;
        data->point.y = disp->driver->ver_res - data->point.y - 1;
    }
    if (disp->driver->rotated == LV_DISP_ROT_90 || disp->driver->rotated == LV_DISP_ROT_270) {
        lv_coord_t tmp = data->point.y;
        data->point.y = data->point.x;
        data->point.x = disp->driver->ver_res - tmp - 1;
    }
    lv_coord_t hor = lv_disp_get_hor_res(disp);
    lv_coord_t ver = lv_disp_get_ver_res(disp);
    data->point.x = LV_CLAMP(0, data->point.x, hor - 1);
    data->point.y = LV_CLAMP(0, data->point.y, ver - 1);
    if (i->cursor != NULL && (i->proc.types.pointer.last_point.x != data->point.x ||
                              i->proc.types.pointer.last_point.y != data->point.y)) {
        lv_obj_set_pos(i->cursor, data->point.x, data->point.y);
    }
    i->proc.types.pointer.act_point = data->point;
    if (i->proc.state == LV_INDEV_STATE_PRESSED)
        pointer_press(&i->proc);
    else
        pointer_release(&i->proc);
    i->proc.types.pointer.last_point = i->proc.types.pointer.act_point;
}

void lv_indev_read_timer_cb(lv_timer_t *timer) {
    lv_indev_data_t data;
    indev_act = timer->user_data;
    if (indev_act->driver->disp == NULL) {
        indev_act = NULL;
        return;
    }
    indev_proc_reset_query_handler(indev_act);
    if (indev_act->proc.disabled || indev_act->driver->disp->prev_scr != NULL) {
        indev_act = NULL;
        return;
    }
    bool continue_reading;
    do {
        _lv_indev_read(indev_act, &data);
        continue_reading = data.continue_reading;
        indev_proc_reset_query_handler(indev_act);
        indev_obj_act = NULL;
        indev_act->proc.state = data.state;
        if (indev_act->proc.state == LV_INDEV_STATE_PRESSED) {
            indev_act->driver->disp->last_activity_time = lv_tick_get();
        }
        if (indev_act->driver->type == LV_INDEV_TYPE_POINTER)
            indev_pointer_proc(indev_act, &data);
        else if (indev_act->driver->type == LV_INDEV_TYPE_KEYPAD)
            indev_keypad_proc(indev_act, &data);
        indev_proc_reset_query_handler(indev_act);
    } while (continue_reading);
    indev_act = NULL;
    indev_obj_act = NULL;
}

void lv_indev_enable(lv_indev_t *indev, bool en) {
    uint8_t enable = en ? 0 : 1;
    if (indev) {
        indev->proc.disabled = enable;
        return;
    }
    lv_indev_t *i = lv_indev_get_next(NULL);
    while (i) {
        i->proc.disabled = enable;
        i = lv_indev_get_next(i);
    }
}

lv_indev_t *lv_indev_get_act(void) {
    return indev_act;
}

lv_indev_type_t lv_indev_get_type(const lv_indev_t *indev) {
    return indev ? indev->driver->type : LV_INDEV_TYPE_NONE;
}

void lv_indev_reset(lv_indev_t *indev, lv_obj_t *obj) {
    if (indev) {
        indev->proc.reset_query = 1;
        if (indev_act == indev)
            indev_obj_act = NULL;
        if (indev->driver->type == LV_INDEV_TYPE_POINTER || indev->driver->type == LV_INDEV_TYPE_KEYPAD) {
            if (obj == NULL || indev->proc.types.pointer.last_pressed == obj) {
                indev->proc.types.pointer.last_pressed = NULL;
            }
        }
        return;
    }
    lv_indev_t *i = lv_indev_get_next(NULL);
    while (i) {
        i->proc.reset_query = 1;
        i = lv_indev_get_next(i);
    }
    indev_obj_act = NULL;
}

void lv_indev_reset_long_press(lv_indev_t *indev) {
    indev->proc.long_pr_sent = 0;
    indev->proc.longpr_rep_timestamp = lv_tick_get();
    indev->proc.pr_timestamp = lv_tick_get();
}

void lv_indev_set_cursor(lv_indev_t *indev, lv_obj_t *cur_obj) {
    if (indev->driver->type != LV_INDEV_TYPE_POINTER)
        return;
    indev->cursor = cur_obj;
    lv_obj_set_parent(indev->cursor, lv_disp_get_layer_sys(indev->driver->disp));
    lv_obj_set_pos(indev->cursor, indev->proc.types.pointer.act_point.x,
                   indev->proc.types.pointer.act_point.y);
    lv_obj_clear_flag(indev->cursor, LV_OBJ_FLAG_CLICKABLE);
    lv_obj_add_flag(indev->cursor, LV_OBJ_FLAG_IGNORE_LAYOUT | LV_OBJ_FLAG_FLOATING);
}

void lv_indev_set_group(lv_indev_t *indev, lv_group_t *group) {
    if (indev->driver->type == LV_INDEV_TYPE_KEYPAD || indev->driver->type == LV_INDEV_TYPE_ENCODER) {
        indev->group = group;
    }
}

void lv_indev_set_button_points(lv_indev_t *indev, const lv_point_t points[]) {
    if (indev->driver->type == LV_INDEV_TYPE_BUTTON)
        indev->btn_points = points;
}

void lv_indev_get_point(const lv_indev_t *indev, lv_point_t *point) {
    if (indev == NULL) {
        point->x = 0;
        point->y = 0;
        return;
    }
    if (indev->driver->type != LV_INDEV_TYPE_POINTER && indev->driver->type != LV_INDEV_TYPE_BUTTON) {
        point->x = -1;
        point->y = -1;
    } else {
        point->x = indev->proc.types.pointer.act_point.x;
        point->y = indev->proc.types.pointer.act_point.y;
    }
}

lv_dir_t lv_indev_get_gesture_dir(const lv_indev_t *indev) {
    return indev ? indev->proc.types.pointer.gesture_dir : LV_DIR_NONE;
}

uint32_t lv_indev_get_key(const lv_indev_t *indev) {
    if (indev == NULL || indev->driver->type != LV_INDEV_TYPE_KEYPAD)
        return 0;
    return indev->proc.types.keypad.last_key;
}

lv_dir_t lv_indev_get_scroll_dir(const lv_indev_t *indev) {
    if (indev == NULL)
        return LV_DIR_NONE;
    return indev->proc.types.pointer.scroll_dir;
}

lv_obj_t *lv_indev_get_scroll_obj(const lv_indev_t *indev) {
    if (indev == NULL)
        return NULL;
    return indev->proc.types.pointer.scroll_obj;
}

void lv_indev_get_vect(const lv_indev_t *indev, lv_point_t *point) {
    point->x = 0;
    point->y = 0;
    if (indev == NULL)
        return;
    if (indev->driver->type == LV_INDEV_TYPE_POINTER || indev->driver->type == LV_INDEV_TYPE_BUTTON) {
        point->x = indev->proc.types.pointer.vect.x;
        point->y = indev->proc.types.pointer.vect.y;
    }
}

void lv_indev_wait_release(lv_indev_t *indev) {
    if (indev == NULL)
        return;
    indev->proc.wait_until_release = 1;
}

lv_obj_t *lv_indev_get_obj_act(void) {
    return indev_obj_act;
}

lv_timer_t *lv_indev_get_read_timer(lv_disp_t *indev) {
    lv_indev_t *i = (lv_indev_t *)indev;
    return i ? i->driver->read_timer : NULL;
}

lv_obj_t *lv_indev_search_obj(lv_obj_t *obj, lv_point_t *point) {
    if (obj == NULL || lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN))
        return NULL;
    lv_area_t a;
    lv_obj_get_click_area(obj, &a);
    bool hit_test_ok = lv_obj_hit_test(obj, point);
    /* Children outside their parent are only found when the parent lets them overflow. */
    if (!_lv_area_is_point_on(&a, point, 0) && !lv_obj_has_flag(obj, LV_OBJ_FLAG_OVERFLOW_VISIBLE))
        return NULL;
    for (int32_t i = (int32_t)lv_obj_get_child_cnt(obj) - 1; i >= 0; i--) {
        lv_obj_t *found = lv_indev_search_obj(obj->spec_attr->children[i], point);
        if (found)
            return found;
    }
    return hit_test_ok ? obj : NULL;
}
