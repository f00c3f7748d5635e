// Event order, deletion, keypad processing and group focus.
#include "lv_test_env.h"

#include <vector>

namespace {

class Events : public LvTest {};

using Codes = std::vector<lv_event_code_t>;

struct Order {
    std::vector<int> calls;
    bool pressed_in_cb = false;
};

void first_cb(lv_event_t *e) {
    auto *o = static_cast<Order *>(lv_event_get_user_data(e));
    o->calls.push_back(1);
    o->pressed_in_cb = lv_obj_has_state(lv_event_get_target(e), LV_STATE_PRESSED);
}
void second_cb(lv_event_t *e) {
    static_cast<Order *>(lv_event_get_user_data(e))->calls.push_back(2);
}

TEST_F(Events, UserCallbacksRunAfterClassHandlerInRegistrationOrder) {
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    Order order;
    lv_obj_add_event_cb(o, first_cb, LV_EVENT_PRESSED, &order);
    lv_obj_add_event_cb(o, second_cb, LV_EVENT_PRESSED, &order);
    lv_obj_add_event_cb(o, second_cb, LV_EVENT_RELEASED, &order);
    lv_event_send(o, LV_EVENT_PRESSED, nullptr);
    EXPECT_EQ(order.calls, (std::vector<int>{1, 2}));
    EXPECT_TRUE(order.pressed_in_cb);
    EXPECT_TRUE(lv_obj_remove_event_cb(o, second_cb));
    order.calls.clear();
    lv_event_send(o, LV_EVENT_PRESSED, nullptr);
    lv_event_send(o, LV_EVENT_RELEASED, nullptr);
    // The first registration of second_cb went; the RELEASED one stays.
    EXPECT_EQ(order.calls, (std::vector<int>{1, 2}));
    EXPECT_FALSE(lv_obj_has_state(o, LV_STATE_PRESSED));
}

struct Captured {
    lv_obj_t *target = nullptr;
    lv_obj_t *current = nullptr;
    void *param = nullptr;
    int count = 0;
};

void capture_cb(lv_event_t *e) {
    auto *c = static_cast<Captured *>(lv_event_get_user_data(e));
    c->target = lv_event_get_target(e);
    c->current = lv_event_get_current_target(e);
    c->param = lv_event_get_param(e);
    c->count++;
}

TEST_F(Events, BubblingReachesParentsWithTheOriginalTarget) {
    lv_obj_t *p = lv_obj_create(lv_scr_act());
    lv_obj_t *c = lv_obj_create(p);
    Captured cap;
    lv_obj_add_event_cb(p, capture_cb, LV_EVENT_CLICKED, &cap);
    int param = 5;
    lv_event_send(c, LV_EVENT_CLICKED, &param);
    EXPECT_EQ(cap.count, 0);
    lv_obj_add_flag(c, LV_OBJ_FLAG_EVENT_BUBBLE);
    lv_event_send(c, LV_EVENT_CLICKED, &param);
    EXPECT_EQ(cap.count, 1);
    EXPECT_EQ(cap.target, c);
    EXPECT_EQ(cap.current, p);
    EXPECT_EQ(cap.param, &param);
}

std::vector<lv_obj_t *> *g_deleted;
void record_delete(lv_event_t *e) {
    g_deleted->push_back(lv_event_get_target(e));
}
void anim_noop(void *, int32_t) {}

TEST_F(Events, DeleteNotifiesParentFirstThenChildrenDepthFirstAndStopsAnimations) {
    std::vector<lv_obj_t *> deleted;
    g_deleted = &deleted;
    lv_obj_t *root = lv_obj_create(lv_scr_act());
    lv_obj_t *a = lv_obj_create(root);
    lv_obj_t *a1 = lv_obj_create(a);
    lv_obj_t *b = lv_obj_create(root);
    for (lv_obj_t *o : {root, a, a1, b})
        lv_obj_add_event_cb(o, record_delete, LV_EVENT_DELETE, nullptr);
    lv_anim_t an;
    lv_anim_init(&an);
    lv_anim_set_var(&an, a1);
    lv_anim_set_exec_cb(&an, anim_noop);
    lv_anim_start(&an);
    ASSERT_NE(lv_anim_get(a1, anim_noop), nullptr);
    lv_obj_del(root);
    EXPECT_EQ(deleted, (std::vector<lv_obj_t *>{root, a, a1, b}));
    EXPECT_EQ(lv_anim_get(a1, anim_noop), nullptr);
    EXPECT_EQ(lv_obj_get_child_cnt(lv_scr_act()), 0u);
}

TEST_F(Events, KeypadIsReadEveryIndevPeriod) {
    lv_group_t *g = lv_group_create();
    add_keypad(g);
    reads_ = 0;
    advance(300, 10);
    EXPECT_EQ(reads_, 10u);
    lv_group_del(g);
}

TEST_F(Events, EnterPressHoldAndRelease) {
    lv_group_t *g = lv_group_create();
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_group_add_obj(g, o);
    add_keypad(g);
    EventLog log;
    log.attach(o);
    key(LV_KEY_ENTER, true);
    advance(30);
    ASSERT_GE(log.entries.size(), 2u);
    EXPECT_EQ(log.entries[0].code, LV_EVENT_KEY);
    EXPECT_EQ(log.entries[0].key, (uint32_t)LV_KEY_ENTER);
    EXPECT_EQ(log.entries[1].code, LV_EVENT_PRESSED);
    log.clear();
    advance(60);
    EXPECT_EQ(log.codes(), (Codes{LV_EVENT_PRESSING, LV_EVENT_PRESSING}));
    log.clear();
    key(LV_KEY_ENTER, false);
    advance(30);
    EXPECT_EQ(log.codes(), (Codes{LV_EVENT_RELEASED, LV_EVENT_SHORT_CLICKED, LV_EVENT_CLICKED}));
    lv_group_del(g);
}

TEST_F(Events, LongPressRepeatsAndSuppressesShortClick) {
    lv_group_t *g = lv_group_create();
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_group_add_obj(g, o);
    add_keypad(g);
    EventLog log;
    log.attach(o);
    key(LV_KEY_ENTER, true);
    advance(30); // pressed at t = 30
    advance(390);
    for (const auto &e : log.entries)
        EXPECT_NE(e.code, LV_EVENT_LONG_PRESSED);
    log.clear();
    advance(30); // 450 - 30 > 400
    EXPECT_EQ(log.codes(), (Codes{LV_EVENT_PRESSING, LV_EVENT_LONG_PRESSED}));
    log.clear();
    advance(300);
    int repeats = 0;
    for (const auto &e : log.entries)
        repeats += e.code == LV_EVENT_LONG_PRESSED_REPEAT;
    // Reads every 30 ms; a repeat when more than 100 ms passed: at +120, +240.
    EXPECT_EQ(repeats, 2);
    log.clear();
    key(LV_KEY_ENTER, false);
    advance(30);
    EXPECT_EQ(log.codes(), (Codes{LV_EVENT_RELEASED, LV_EVENT_CLICKED}));
    lv_group_del(g);
}

TEST_F(Events, EscSendsKeyThenCancel) {
    lv_group_t *g = lv_group_create();
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_group_add_obj(g, o);
    add_keypad(g);
    EventLog log;
    log.attach(o);
    tap(LV_KEY_ESC);
    ASSERT_EQ(log.codes(), (Codes{LV_EVENT_KEY, LV_EVENT_CANCEL}));
    EXPECT_EQ(log.entries[0].key, (uint32_t)LV_KEY_ESC);
    lv_group_del(g);
}

TEST_F(Events, NextAndPrevMoveFocusOnPressAndWrap) {
    lv_group_t *g = lv_group_create();
    lv_obj_t *a = lv_obj_create(lv_scr_act());
    lv_obj_t *b = lv_obj_create(lv_scr_act());
    lv_group_add_obj(g, a);
    lv_group_add_obj(g, b);
    add_keypad(g);
    EventLog log;
    log.attach(a);
    log.attach(b);
    key(LV_KEY_NEXT, true);
    advance(30);
    ASSERT_EQ(log.entries.size(), 2u);
    EXPECT_EQ(log.entries[0].obj, a);
    EXPECT_EQ(log.entries[0].code, LV_EVENT_DEFOCUSED);
    EXPECT_EQ(log.entries[1].obj, b);
    EXPECT_EQ(log.entries[1].code, LV_EVENT_FOCUSED);
    log.clear();
    key(LV_KEY_NEXT, false);
    advance(60);
    EXPECT_TRUE(log.entries.empty());
    tap(LV_KEY_NEXT); // wraps to a
    EXPECT_EQ(lv_group_get_focused(g), a);
    tap(LV_KEY_PREV); // wraps back to b
    EXPECT_EQ(lv_group_get_focused(g), b);
    lv_group_del(g);
}

TEST_F(Events, OtherKeysArriveAsKeyEvents) {
    lv_group_t *g = lv_group_create();
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_group_add_obj(g, o);
    add_keypad(g);
    EventLog log;
    log.attach(o);
    tap(LV_KEY_RIGHT);
    ASSERT_EQ(log.codes(), (Codes{LV_EVENT_KEY}));
    EXPECT_EQ(log.entries[0].key, (uint32_t)LV_KEY_RIGHT);
    lv_group_del(g);
}

TEST_F(Events, GroupFocusRules) {
    lv_group_t *g = lv_group_create();
    add_keypad(g);
    lv_group_set_default(g);
    lv_obj_t *plain = lv_obj_create(lv_scr_act());
    EXPECT_EQ(lv_obj_get_group(plain), nullptr);
    lv_obj_t *btn = lv_btn_create(lv_scr_act());
    EXPECT_EQ(lv_obj_get_group(btn), g);
    // The first object of an empty group is focused, with the keypad's focus-key state.
    EXPECT_EQ(lv_group_get_focused(g), btn);
    EXPECT_TRUE(lv_obj_has_state(btn, LV_STATE_FOCUSED));
    EXPECT_TRUE(lv_obj_has_state(btn, LV_STATE_FOCUS_KEY));
    EventLog log;
    log.attach(btn);
    lv_group_focus_obj(btn);
    EXPECT_EQ(log.codes(), (Codes{LV_EVENT_FOCUSED}));
    lv_obj_t *b2 = lv_btn_create(lv_scr_act());
    lv_obj_t *b3 = lv_btn_create(lv_scr_act());
    lv_group_focus_obj(b3);
    EXPECT_FALSE(lv_obj_has_state(btn, LV_STATE_FOCUSED));
    lv_obj_del(b3);
    EXPECT_EQ(lv_group_get_focused(g), b2);
    EXPECT_TRUE(lv_obj_has_state(b2, LV_STATE_FOCUSED));
    lv_group_remove_all_objs(g);
    EXPECT_EQ(lv_group_get_focused(g), nullptr);
    EXPECT_FALSE(lv_obj_has_state(b2, LV_STATE_FOCUSED));
    EXPECT_EQ(lv_group_get_obj_count(g), 0u);
    lv_group_del(g);
}

TEST_F(Events, DisabledObjectsAreSkippedByFocusAndIgnoreEnter) {
    lv_group_t *g = lv_group_create();
    lv_obj_t *a = lv_obj_create(lv_scr_act());
    lv_obj_t *b = lv_obj_create(lv_scr_act());
    lv_obj_t *c = lv_obj_create(lv_scr_act());
    lv_group_add_obj(g, a);
    lv_group_add_obj(g, b);
    lv_group_add_obj(g, c);
    lv_obj_add_state(b, LV_STATE_DISABLED);
    lv_group_focus_next(g);
    EXPECT_EQ(lv_group_get_focused(g), c);
    lv_obj_add_flag(a, LV_OBJ_FLAG_HIDDEN);
    lv_group_focus_next(g);
    EXPECT_EQ(lv_group_get_focused(g), c);
    lv_group_del(g);
}

// A handler that deletes the object it gets: the sender must stop touching it.
void delete_self(lv_event_t *e) {
    lv_obj_del(lv_event_get_target(e));
}

TEST_F(Events, DeletingInsideAKeyHandlerStopsTheSequence) {
    lv_group_t *g = lv_group_create();
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_obj_t *other = lv_obj_create(lv_scr_act());
    lv_group_add_obj(g, o);
    lv_group_add_obj(g, other);
    add_keypad(g);
    lv_obj_add_event_cb(o, delete_self, LV_EVENT_KEY, nullptr);
    EventLog log;
    log.attach(other);
    tap(LV_KEY_ENTER);
    EXPECT_EQ(lv_group_get_focused(g), other);
    EXPECT_EQ(lv_obj_get_child_cnt(lv_scr_act()), 1u);
    lv_group_del(g);
}

} // namespace

namespace {

struct Pointer {
    lv_point_t point{0, 0};
    bool pressed = false;
    std::vector<lv_point_t> vects;
};
Pointer g_ptr;

void pointer_read(lv_indev_drv_t *, lv_indev_data_t *data) {
    data->point = g_ptr.point;
    data->state = g_ptr.pressed ? LV_INDEV_STATE_PRESSED : LV_INDEV_STATE_RELEASED;
}

void record_vect(lv_event_t *e) {
    lv_point_t v;
    lv_indev_get_vect(lv_indev_get_act(), &v);
    g_ptr.vects.push_back(v);
}

// A pointer device reading g_ptr, which starts released at (0, 0).
lv_indev_t *add_pointer() {
    static lv_indev_drv_t drv;
    lv_indev_drv_init(&drv);
    drv.type = LV_INDEV_TYPE_POINTER;
    drv.read_cb = pointer_read;
    g_ptr = Pointer{};
    return lv_indev_drv_register(&drv);
}

class Pointers : public LvTest {};

TEST_F(Pointers, DragReportsMovementAndClicksTheObjectUnderThePoint) {
    lv_obj_t *root = lv_obj_create(lv_scr_act());
    lv_obj_remove_style_all(root);
    lv_obj_clear_flag(root, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_set_size(root, 200, 100);
    lv_obj_t *label = lv_label_create(root); // not clickable: the press goes to root
    lv_obj_set_pos(label, 5, 5);
    lv_indev_t *indev = add_pointer();
    EventLog log;
    log.attach(root);
    lv_obj_add_event_cb(root, record_vect, LV_EVENT_PRESSING, nullptr);
    g_ptr.point = {10, 10};
    g_ptr.pressed = true;
    advance(30);
    g_ptr.point = {30, 15};
    advance(30);
    g_ptr.point = {250, 150}; // out of root: the press stays with it
    advance(30);
    g_ptr.pressed = false;
    advance(30);
    // The press also focuses the object.
    EXPECT_EQ(log.codes(),
              (std::vector<lv_event_code_t>{LV_EVENT_PRESSED, LV_EVENT_FOCUSED, LV_EVENT_PRESSING,
                                            LV_EVENT_PRESSING, LV_EVENT_PRESSING, LV_EVENT_RELEASED,
                                            LV_EVENT_SHORT_CLICKED, LV_EVENT_CLICKED}));
    EXPECT_TRUE(lv_obj_has_state(root, LV_STATE_FOCUSED));
    EXPECT_FALSE(lv_obj_has_state(root, LV_STATE_FOCUS_KEY));
    ASSERT_EQ(g_ptr.vects.size(), 3u);
    EXPECT_EQ(g_ptr.vects[0].x, 0);
    EXPECT_EQ(g_ptr.vects[1].x, 20);
    EXPECT_EQ(g_ptr.vects[1].y, 5);
    EXPECT_EQ(g_ptr.vects[2].x, 220);
    EXPECT_FALSE(lv_obj_has_state(root, LV_STATE_PRESSED));
    lv_obj_del(root);
    lv_indev_delete(indev);
}

TEST_F(Pointers, AClickFocusesInTheGroupAndTakesTheFocusFromTheObjectClickedBefore) {
    lv_obj_t *a = lv_obj_create(lv_scr_act()); // a and b: in no group
    lv_obj_t *b = lv_obj_create(lv_scr_act());
    lv_obj_t *c = lv_obj_create(lv_scr_act()); // c and d: in a group, d focused
    lv_obj_t *d = lv_obj_create(lv_scr_act());
    lv_obj_t *objs[] = {a, b, c, d};
    for (int i = 0; i < 4; i++) {
        lv_obj_set_size(objs[i], 50, 50);
        lv_obj_set_pos(objs[i], i * 60, 0);
    }
    lv_group_t *g = lv_group_create();
    lv_group_add_obj(g, c);
    lv_group_add_obj(g, d);
    lv_group_focus_obj(d);
    lv_indev_t *indev = add_pointer();
    auto click = [&](lv_obj_t *o) {
        g_ptr.point = {(lv_coord_t)(o->coords.x1 + 10), 10};
        g_ptr.pressed = true;
        advance(30);
        g_ptr.pressed = false;
        advance(30);
    };
    lv_obj_update_layout(lv_scr_act());
    EventLog log;
    log.attach(a);
    click(a);
    EXPECT_TRUE(lv_obj_has_state(a, LV_STATE_FOCUSED));
    log.clear();
    click(a); // already focused: no second FOCUSED
    EXPECT_EQ(log.codes(),
              (std::vector<lv_event_code_t>{LV_EVENT_PRESSED, LV_EVENT_PRESSING, LV_EVENT_RELEASED,
                                            LV_EVENT_SHORT_CLICKED, LV_EVENT_CLICKED}));
    click(b);
    EXPECT_FALSE(lv_obj_has_state(a, LV_STATE_FOCUSED));
    EXPECT_TRUE(lv_obj_has_state(b, LV_STATE_FOCUSED));
    click(c); // through the group: d loses the focus, b (in no group) too
    EXPECT_EQ(lv_group_get_focused(g), c);
    EXPECT_FALSE(lv_obj_has_state(d, LV_STATE_FOCUSED));
    EXPECT_FALSE(lv_obj_has_state(b, LV_STATE_FOCUSED));
    lv_obj_clear_flag(d, LV_OBJ_FLAG_CLICK_FOCUSABLE);
    click(d); // pressed, but not focusable by a click
    EXPECT_EQ(lv_group_get_focused(g), c);
    lv_indev_delete(indev);
    lv_group_del(g);
}

TEST_F(Pointers, ARotatedPanelsPointIsTurnedBackIntoTheProgramsView) {
    disp_->driver->sw_rotate = 1;                // the panel takes its own orientation
    lv_disp_set_rotation(disp_, LV_DISP_ROT_90); // the program sees 170 x 320
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_obj_set_pos(o, 10, 200);
    lv_obj_set_size(o, 20, 20);
    lv_indev_t *indev = add_pointer();
    EventLog log;
    log.attach(o);
    g_ptr.point = {205, 154}; // panel (x, y) is program (169 - y, x) = (15, 205)
    g_ptr.pressed = true;
    advance(30);
    lv_point_t p;
    lv_indev_get_point(indev, &p);
    EXPECT_EQ(p.x, 15);
    EXPECT_EQ(p.y, 205);
    ASSERT_FALSE(log.entries.empty());
    EXPECT_EQ(log.entries[0].code, LV_EVENT_PRESSED);
    g_ptr.pressed = false;
    advance(30);
    lv_indev_delete(indev);
    lv_obj_del(o);
    lv_disp_set_rotation(disp_, LV_DISP_ROT_NONE);
    disp_->driver->sw_rotate = 0;
}

} // namespace

namespace {

class MoreEvents : public LvTest {};

TEST_F(MoreEvents, WithoutWrapFocusStopsAtTheEnds) {
    lv_group_t *g = lv_group_create();
    lv_group_set_wrap(g, false);
    lv_obj_t *a = lv_obj_create(lv_scr_act());
    lv_obj_t *b = lv_obj_create(lv_scr_act());
    lv_group_add_obj(g, a);
    lv_group_add_obj(g, b);
    lv_group_focus_prev(g);
    EXPECT_EQ(lv_group_get_focused(g), a);
    lv_group_focus_next(g);
    lv_group_focus_next(g);
    EXPECT_EQ(lv_group_get_focused(g), b);
    lv_group_remove_obj(b);
    EXPECT_EQ(lv_group_get_focused(g), a);
    lv_group_remove_obj(a);
    EXPECT_EQ(lv_group_get_focused(g), nullptr);
    EXPECT_FALSE(lv_obj_has_state(a, LV_STATE_FOCUSED));
    lv_group_del(g);
}

std::vector<int> *g_async_order;
void async_mark(void *p) {
    g_async_order->push_back((int)(intptr_t)p);
}
void clicked_schedules(lv_event_t *e) {
    g_async_order->push_back(0);
    lv_async_call(async_mark, (void *)(intptr_t)1);
    lv_obj_del_async(lv_event_get_target(e));
}

TEST_F(MoreEvents, DeferredWorkFromAnInputCallbackRunsInTheSameHandlerCall) {
    std::vector<int> order;
    g_async_order = &order;
    lv_group_t *g = lv_group_create();
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_group_add_obj(g, o);
    add_keypad(g);
    lv_obj_add_event_cb(o, clicked_schedules, LV_EVENT_CLICKED, nullptr);
    key(LV_KEY_ENTER, true);
    advance(30);
    key(LV_KEY_ENTER, false);
    // One handler call reads the release, sends CLICKED and runs both deferred calls.
    advance(30, 30);
    EXPECT_EQ(order, (std::vector<int>{0, 1}));
    EXPECT_EQ(lv_obj_get_child_cnt(lv_scr_act()), 0u);
    lv_group_del(g);
}

} // namespace
