/**
 * @file lv_indev.c
 * Each read of a device becomes events on one object:
 * - keypad, on the focused object of the device's group: NEXT/PREV move the focus on press; ENTER gives
 *   KEY then PRESSED, PRESSING while held, LONG_PRESSED and LONG_PRESSED_REPEAT, and on release RELEASED,
 *   SHORT_CLICKED (unless it was a long press) and CLICKED; ESC gives KEY then CANCEL; other keys KEY.
 * - pointer, on the topmost clickable object under the point: PRESSED (then the object takes the focus),
 *   PRESSING, LONG_PRESSED(_REPEAT), RELEASED, SHORT_CLICKED, CLICKED, and PRESS_LOST when the point
 *   leaves it for another object. Pointers do not scroll.
 * An event handler may reset the device (deleting the object it works on does): processing of that read
 * stops there.
 */
#include "lv_indev.h"
#include "lv_disp.h"
#include "../misc/lv_math.h"

/* The device being read and the object its current read acts on. */
static lv_indev_t *reading;
static lv_obj_t *target;

/* Clear what a reset asked to forget. */
static void apply_reset(lv_indev_t *dev) {
    _lv_indev_proc_t *p = &dev->proc;
    if (!p->reset_query)
        return;
    p->reset_query = 0;
    p->long_pr_sent = 0;
    p->pr_timestamp = 0;
    p->longpr_rep_timestamp = 0;
    p->types.pointer.act_obj = NULL;
    p->types.pointer.last_obj = NULL;
    p->types.pointer.scroll_obj = NULL;
    p->types.pointer.vect = (lv_point_t){0, 0};
    target = NULL;
}

/* Send code to obj on behalf of the device being read. True when the read must stop because a handler
 * reset the device. */
static bool emit(lv_obj_t *obj, lv_event_code_t code) {
    lv_event_send(obj, code, reading);
    if (!reading->proc.reset_query)
        return false;
    target = NULL;
    return true;
}

static bool halted(void) {
    if (!reading->proc.reset_query)
        return false;
    target = NULL;
    return true;
}

/* RELEASED, SHORT_CLICKED (unless the press was a long one) and CLICKED; false when stopped. */
static bool emit_release(lv_obj_t *obj) {
    if (emit(obj, LV_EVENT_RELEASED))
        return false;
    if (!reading->proc.long_pr_sent && emit(obj, LV_EVENT_SHORT_CLICKED))
        return false;
    return !emit(obj, LV_EVENT_CLICKED);
}

enum hold_phase { HOLD_PLAIN, HOLD_BECAME_LONG, HOLD_REPEAT_DUE };

/* Where a held press stands; marks the long press and stamps the repeat time as it goes. */
static enum hold_phase hold_phase(lv_indev_t *dev) {
    _lv_indev_proc_t *p = &dev->proc;
    if (!p->long_pr_sent) {
        if (lv_tick_elaps(p->pr_timestamp) <= dev->driver->long_press_time)
            return HOLD_PLAIN;
        p->long_pr_sent = 1;
        return HOLD_BECAME_LONG;
    }
    if (lv_tick_elaps(p->longpr_rep_timestamp) <= dev->driver->long_press_repeat_time)
        return HOLD_PLAIN;
    p->longpr_rep_timestamp = lv_tick_get();
    return HOLD_REPEAT_DUE;
}

/* LONG_PRESSED or LONG_PRESSED_REPEAT for a held pointer or ENTER key; false when stopped. */
static bool emit_hold(lv_indev_t *dev, lv_obj_t *obj) {
    switch (hold_phase(dev)) {
    case HOLD_BECAME_LONG:
        dev->proc.longpr_rep_timestamp = lv_tick_get();
        return !emit(obj, LV_EVENT_LONG_PRESSED);
    case HOLD_REPEAT_DUE:
        return !emit(obj, LV_EVENT_LONG_PRESSED_REPEAT);
    default:
        return true;
    }
}

static bool move_focus(lv_group_t *g, bool forward) {
    lv_group_set_editing(g, false);
    if (forward)
        lv_group_focus_next(g);
    else
        lv_group_focus_prev(g);
    return !halted();
}

static bool pass_key(lv_group_t *g, uint32_t key) {
    lv_group_send_data(g, key);
    return !halted();
}

static void key_went_down(lv_indev_t *dev, lv_group_t *g, uint32_t key, bool disabled) {
    dev->proc.pr_timestamp = lv_tick_get();
    if (key == LV_KEY_NEXT || key == LV_KEY_PREV) {
        move_focus(g, key == LV_KEY_NEXT);
        return;
    }
    if (disabled || !pass_key(g, key))
        return;
    if (key == LV_KEY_ENTER)
        emit(target, LV_EVENT_PRESSED);
    else if (key == LV_KEY_ESC)
        emit(target, LV_EVENT_CANCEL);
}

static void key_held(lv_indev_t *dev, lv_group_t *g, uint32_t key) {
    if (key == LV_KEY_ENTER) {
        if (emit(target, LV_EVENT_PRESSING))
            return;
        emit_hold(dev, target);
        return;
    }
    /* Other keys repeat once the press is long. */
    if (hold_phase(dev) != HOLD_REPEAT_DUE)
        return;
    if (key == LV_KEY_NEXT || key == LV_KEY_PREV)
        move_focus(g, key == LV_KEY_NEXT);
    else
        pass_key(g, key);
}

static void key_went_up(lv_indev_t *dev, uint32_t key) {
    if (key == LV_KEY_ENTER && !emit_release(target))
        return;
    dev->proc.pr_timestamp = 0;
    dev->proc.long_pr_sent = 0;
}

static void read_keypad(lv_indev_t *dev, lv_indev_data_t *data) {
    _lv_indev_proc_t *p = &dev->proc;
    bool down = data->state == LV_INDEV_STATE_PRESSED;
    if (p->wait_until_release) {
        if (down)
            return;
        p->wait_until_release = 0;
        p->pr_timestamp = 0;
        p->long_pr_sent = 0;
        p->types.keypad.last_state = LV_INDEV_STATE_RELEASED;
    }
    lv_group_t *g = dev->group;
    target = lv_group_get_focused(g);
    if (target == NULL)
        return;
    bool disabled = lv_obj_has_state(target, LV_STATE_DISABLED);
    bool was_down = p->types.keypad.last_state == LV_INDEV_STATE_PRESSED;
    uint32_t pressed_key = p->types.keypad.last_key;
    p->types.keypad.last_key = data->key;
    p->types.keypad.last_state = data->state;
    if (down && !was_down) {
        key_went_down(dev, g, data->key, disabled);
    } else if (disabled) {
        /* A disabled object gets nothing from a held or released key. */
    } else if (down) {
        key_held(dev, g, data->key);
    } else if (was_down) {
        /* The driver may report no key on release: it is the pressed key that goes up. */
        data->key = pressed_key;
        key_went_up(dev, pressed_key);
    }
    target = NULL;
}

static lv_obj_t *object_at(lv_disp_t *disp, lv_point_t *pt) {
    lv_obj_t *layers[3] = {lv_disp_get_layer_sys(disp), lv_disp_get_layer_top(disp),
                           lv_disp_get_scr_act(disp)};
    for (int i = 0; i < 3; i++) {
        lv_obj_t *hit = lv_indev_search_obj(layers[i], pt);
        if (hit != NULL)
            return hit;
    }
    return NULL;
}

/* A click focuses the object: in its group through the group, else on its own, taking the focus from
 * the object clicked before (unless that one belongs to a group). False when stopped. */
static bool focus_clicked(lv_indev_t *dev, lv_obj_t *obj) {
    if (!lv_obj_has_flag(obj, LV_OBJ_FLAG_CLICK_FOCUSABLE))
        return true;
    lv_obj_t *before = dev->proc.types.pointer.last_pressed;
    dev->proc.types.pointer.last_pressed = obj;
    if (before != NULL && before != obj && lv_obj_get_group(before) == NULL) {
        if (emit(before, LV_EVENT_DEFOCUSED))
            return false;
    }
    lv_group_t *g = lv_obj_get_group(obj);
    if (g != NULL) {
        if (lv_group_get_focused(g) != obj)
            lv_group_focus_obj(obj);
        return !halted();
    }
    if (before == obj && lv_obj_has_state(obj, LV_STATE_FOCUSED))
        return true;
    return !emit(obj, LV_EVENT_FOCUSED);
}

static void pointer_down(lv_indev_t *dev) {
    _lv_indev_proc_t *p = &dev->proc;
    if (p->wait_until_release)
        return;
    lv_point_t *at = &p->types.pointer.act_point;
    lv_obj_t *held = p->types.pointer.act_obj;
    /* A press-locked object keeps the press wherever the point goes. */
    target = (held != NULL && lv_obj_has_flag(held, LV_OBJ_FLAG_PRESS_LOCK))
                 ? held
                 : object_at(dev->driver->disp, at);
    p->types.pointer.vect.x = at->x - p->types.pointer.last_point.x;
    p->types.pointer.vect.y = at->y - p->types.pointer.last_point.y;
    if (target != held) {
        p->types.pointer.last_point = *at;
        if (held != NULL && emit(held, LV_EVENT_PRESS_LOST))
            return;
        p->types.pointer.act_obj = target;
        p->types.pointer.last_obj = target;
        if (target != NULL) {
            p->pr_timestamp = lv_tick_get();
            p->long_pr_sent = 0;
            p->types.pointer.vect = (lv_point_t){0, 0};
            if (emit(target, LV_EVENT_PRESSED) || !focus_clicked(dev, target) || p->wait_until_release)
                return;
        }
    }
    p->types.pointer.last_point = *at;
    if (target == NULL)
        return;
    if (emit(target, LV_EVENT_PRESSING) || p->wait_until_release)
        return;
    emit_hold(dev, target);
}

static void pointer_up(lv_indev_t *dev) {
    _lv_indev_proc_t *p = &dev->proc;
    if (p->wait_until_release) {
        /* The press that was waited out ends without events. */
        p->wait_until_release = 0;
        p->types.pointer.act_obj = NULL;
        p->types.pointer.last_obj = NULL;
        p->pr_timestamp = 0;
        p->longpr_rep_timestamp = 0;
    }
    target = p->types.pointer.act_obj;
    if (target != NULL) {
        if (!emit_release(target))
            return;
        p->types.pointer.act_obj = NULL;
        p->pr_timestamp = 0;
        p->longpr_rep_timestamp = 0;
    }
    p->types.pointer.vect = (lv_point_t){0, 0};
}

/* The point as the program sees it, from the point the panel reports. */
static lv_point_t unrotate(const lv_disp_drv_t *drv, lv_point_t raw) {
    lv_point_t pt = raw;
    switch (drv->rotated) {
    case LV_DISP_ROT_90:
        pt.x = drv->ver_res - 1 - raw.y;
        pt.y = raw.x;
        break;
    case LV_DISP_ROT_180:
        pt.x = drv->hor_res - 1 - raw.x;
        pt.y = drv->ver_res - 1 - raw.y;
        break;
    case LV_DISP_ROT_270:
        pt.x = raw.y;
        pt.y = drv->hor_res - 1 - raw.x;
        break;
    default:
        break;
    }
    return pt;
}

static void read_pointer(lv_indev_t *dev, lv_indev_data_t *data) {
    lv_disp_t *disp = dev->driver->disp;
    dev->proc.types.pointer.last_raw_point = data->point;
    lv_point_t pt = unrotate(disp->driver, data->point);
    pt.x = LV_CLAMP(0, pt.x, lv_disp_get_hor_res(disp) - 1);
    pt.y = LV_CLAMP(0, pt.y, lv_disp_get_ver_res(disp) - 1);
    data->point = pt;
    lv_point_t before = dev->proc.types.pointer.last_point;
    if (dev->cursor != NULL && (before.x != pt.x || before.y != pt.y))
        lv_obj_set_pos(dev->cursor, pt.x, pt.y);
    dev->proc.types.pointer.act_point = pt;
    if (dev->proc.state == LV_INDEV_STATE_PRESSED)
        pointer_down(dev);
    else
        pointer_up(dev);
    dev->proc.types.pointer.last_point = dev->proc.types.pointer.act_point;
}

void lv_indev_read_timer_cb(lv_timer_t *timer) {
    lv_indev_t *dev = timer->user_data;
    lv_disp_t *disp = dev->driver->disp;
    if (disp == NULL)
        return;
    reading = dev;
    apply_reset(dev);
    /* Input waits while a screen is being replaced. */
    bool blocked = dev->proc.disabled || disp->prev_scr != NULL;
    bool again = !blocked;
    while (again) {
        lv_indev_data_t data;
        _lv_indev_read(dev, &data);
        again = data.continue_reading;
        apply_reset(dev);
        target = NULL;
        dev->proc.state = data.state;
        if (data.state == LV_INDEV_STATE_PRESSED)
            disp->last_activity_time = lv_tick_get();
        lv_indev_type_t type = dev->driver->type;
        if (type == LV_INDEV_TYPE_POINTER)
            read_pointer(dev, &data);
        else if (type == LV_INDEV_TYPE_KEYPAD)
            read_keypad(dev, &data);
        apply_reset(dev);
    }
    reading = NULL;
    target = NULL;
}

void lv_indev_enable(lv_indev_t *indev, bool en) {
    for (lv_indev_t *d = indev ? indev : lv_indev_get_next(NULL); d != NULL; d = lv_indev_get_next(d)) {
        d->proc.disabled = en ? 0 : 1;
        if (indev != NULL)
            break;
    }
}

lv_indev_t *lv_indev_get_act(void) {
    return reading;
}

lv_indev_type_t lv_indev_get_type(const lv_indev_t *indev) {
    return indev ? indev->driver->type : LV_INDEV_TYPE_NONE;
}

void lv_indev_reset(lv_indev_t *indev, lv_obj_t *obj) {
    if (indev == NULL) {
        for (lv_indev_t *d = lv_indev_get_next(NULL); d != NULL; d = lv_indev_get_next(d))
            d->proc.reset_query = 1;
        target = NULL;
        return;
    }
    indev->proc.reset_query = 1;
    if (indev == reading)
        target = NULL;
    lv_indev_type_t type = indev->driver->type;
    bool forgets_click = type == LV_INDEV_TYPE_POINTER || type == LV_INDEV_TYPE_KEYPAD;
    if (forgets_click && (obj == NULL || obj == indev->proc.types.pointer.last_pressed))
        indev->proc.types.pointer.last_pressed = NULL;
}

void lv_indev_reset_long_press(lv_indev_t *indev) {
    uint32_t now = lv_tick_get();
    indev->proc.long_pr_sent = 0;
    indev->proc.pr_timestamp = now;
    indev->proc.longpr_rep_timestamp = now;
}

void lv_indev_set_cursor(lv_indev_t *indev, lv_obj_t *cur_obj) {
    if (lv_indev_get_type(indev) != LV_INDEV_TYPE_POINTER)
        return;
    indev->cursor = cur_obj;
    lv_obj_set_parent(cur_obj, lv_disp_get_layer_sys(indev->driver->disp));
    lv_point_t at = indev->proc.types.pointer.act_point;
    lv_obj_set_pos(cur_obj, at.x, at.y);
    lv_obj_clear_flag(cur_obj, LV_OBJ_FLAG_CLICKABLE);
    lv_obj_add_flag(cur_obj, LV_OBJ_FLAG_IGNORE_LAYOUT | LV_OBJ_FLAG_FLOATING);
}

void lv_indev_set_group(lv_indev_t *indev, lv_group_t *group) {
    lv_indev_type_t type = lv_indev_get_type(indev);
    if (type == LV_INDEV_TYPE_KEYPAD || type == LV_INDEV_TYPE_ENCODER)
        indev->group = group;
}

void lv_indev_set_button_points(lv_indev_t *indev, const lv_point_t points[]) {
    if (lv_indev_get_type(indev) == LV_INDEV_TYPE_BUTTON)
        indev->btn_points = points;
}

/* Pointers and buttons have a point. */
static bool has_point(const lv_indev_t *indev) {
    lv_indev_type_t type = lv_indev_get_type(indev);
    return type == LV_INDEV_TYPE_POINTER || type == LV_INDEV_TYPE_BUTTON;
}

void lv_indev_get_point(const lv_indev_t *indev, lv_point_t *point) {
    if (indev == NULL)
        *point = (lv_point_t){0, 0};
    else if (has_point(indev))
        *point = indev->proc.types.pointer.act_point;
    else
        *point = (lv_point_t){-1, -1};
}

lv_dir_t lv_indev_get_gesture_dir(const lv_indev_t *indev) {
    return indev ? indev->proc.types.pointer.gesture_dir : LV_DIR_NONE;
}

uint32_t lv_indev_get_key(const lv_indev_t *indev) {
    return lv_indev_get_type(indev) == LV_INDEV_TYPE_KEYPAD ? indev->proc.types.keypad.last_key : 0;
}

lv_dir_t lv_indev_get_scroll_dir(const lv_indev_t *indev) {
    return indev ? indev->proc.types.pointer.scroll_dir : LV_DIR_NONE;
}

lv_obj_t *lv_indev_get_scroll_obj(const lv_indev_t *indev) {
    return indev ? indev->proc.types.pointer.scroll_obj : NULL;
}

void lv_indev_get_vect(const lv_indev_t *indev, lv_point_t *point) {
    *point = has_point(indev) ? indev->proc.types.pointer.vect : (lv_point_t){0, 0};
}

void lv_indev_wait_release(lv_indev_t *indev) {
    if (indev)
        indev->proc.wait_until_release = 1;
}

lv_obj_t *lv_indev_get_obj_act(void) {
    return target;
}

lv_timer_t *lv_indev_get_read_timer(lv_disp_t *indev) {
    lv_indev_t *dev = (lv_indev_t *)indev;
    return dev ? dev->driver->read_timer : NULL;
}

lv_obj_t *lv_indev_search_obj(lv_obj_t *obj, lv_point_t *point) {
    if (obj == NULL || lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN))
        return NULL;
    lv_area_t click_area;
    lv_obj_get_click_area(obj, &click_area);
    /* Children outside their parent are only found when the parent lets them overflow. */
    bool inside = _lv_area_is_point_on(&click_area, point, 0);
    if (!inside && !lv_obj_has_flag(obj, LV_OBJ_FLAG_OVERFLOW_VISIBLE))
        return NULL;
    /* The youngest child lies on top. */
    for (uint32_t n = lv_obj_get_child_cnt(obj); n > 0; n--) {
        lv_obj_t *hit = lv_indev_search_obj(obj->spec_attr->children[n - 1], point);
        if (hit != NULL)
            return hit;
    }
    return lv_obj_hit_test(obj, point) ? obj : NULL;
}
