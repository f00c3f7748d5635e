#include "lv_test_env.h"

void LvTest::SetUp() {
    if (!lv_is_initialized())
        lv_init();
    buf_.assign((size_t)kW * kH, lv_color_t{});
    panel_.assign((size_t)kW * kH, 0);
    lv_disp_draw_buf_init(&draw_buf_, buf_.data(), nullptr, (uint32_t)buf_.size());
    lv_disp_drv_init(&drv_);
    drv_.hor_res = kW;
    drv_.ver_res = kH;
    drv_.flush_cb = flush_cb;
    drv_.draw_buf = &draw_buf_;
    drv_.user_data = this;
    disp_ = lv_disp_drv_register(&drv_);
    ASSERT_NE(disp_, nullptr);
    // An opaque black screen, as the program prepares it.
    lv_obj_t *scr = lv_scr_act();
    lv_obj_remove_style_all(scr);
    lv_obj_set_style_bg_opa(scr, LV_OPA_COVER, 0);
    lv_obj_set_style_bg_color(scr, lv_color_black(), 0);
    lv_obj_clear_flag(scr, LV_OBJ_FLAG_SCROLLABLE);
    refresh();
    flushes_.clear();
}

void LvTest::TearDown() {
    lv_anim_del_all();
    lv_group_set_default(nullptr);
    if (indev_)
        lv_indev_delete(indev_);
    indev_ = nullptr;
    lv_disp_remove(disp_);
    disp_ = nullptr;
    // Drop what the test left pending (asynchronous calls and timers of its own).
    lv_timer_t *t = lv_timer_get_next(nullptr);
    std::vector<lv_timer_t *> extra;
    while (t) {
        if (t != lv_anim_get_timer())
            extra.push_back(t);
        t = lv_timer_get_next(t);
    }
    for (lv_timer_t *x : extra)
        lv_timer_del(x);
}

void LvTest::advance(uint32_t ms, uint32_t step) {
    for (uint32_t t = 0; t < ms; t += step) {
        lv_tick_inc(step);
        lv_timer_handler();
    }
}

lv_indev_t *LvTest::add_keypad(lv_group_t *g) {
    lv_indev_drv_init(&indev_drv_);
    indev_drv_.type = LV_INDEV_TYPE_KEYPAD;
    indev_drv_.read_cb = read_cb;
    indev_drv_.user_data = this;
    indev_ = lv_indev_drv_register(&indev_drv_);
    lv_indev_set_group(indev_, g);
    return indev_;
}

void LvTest::flush_cb(lv_disp_drv_t *drv, const lv_area_t *area, lv_color_t *px) {
    auto *self = static_cast<LvTest *>(drv->user_data);
    self->flushes_.push_back(*area);
    lv_coord_t w = lv_area_get_width(area);
    for (lv_coord_t y = area->y1; y <= area->y2; y++) {
        for (lv_coord_t x = area->x1; x <= area->x2; x++) {
            self->panel_[(size_t)y * kW + (size_t)x] =
                px[(size_t)(y - area->y1) * (size_t)w + (size_t)(x - area->x1)].full;
        }
    }
    lv_disp_flush_ready(drv);
}

void LvTest::read_cb(lv_indev_drv_t *drv, lv_indev_data_t *data) {
    auto *self = static_cast<LvTest *>(drv->user_data);
    self->reads_++;
    data->key = self->key_;
    data->state = self->pressed_ ? LV_INDEV_STATE_PRESSED : LV_INDEV_STATE_RELEASED;
}

static void log_cb(lv_event_t *e) {
    auto *log = static_cast<EventLog *>(lv_event_get_user_data(e));
    lv_event_code_t code = lv_event_get_code(e);
    // Drawing and layout bookkeeping events are not what these tests look at.
    if (code >= LV_EVENT_HIT_TEST && code <= LV_EVENT_DRAW_PART_END)
        return;
    if (code >= LV_EVENT_CHILD_CHANGED && code != LV_EVENT_DELETE)
        return;
    log->entries.push_back({lv_event_get_target(e), code, code == LV_EVENT_KEY ? lv_event_get_key(e) : 0});
}

void EventLog::attach(lv_obj_t *obj) {
    lv_obj_add_event_cb(obj, log_cb, LV_EVENT_ALL, this);
    attached.push_back(obj);
}

EventLog::~EventLog() {
    for (lv_obj_t *o : attached) {
        if (lv_obj_is_valid(o))
            lv_obj_remove_event_cb_with_user_data(o, log_cb, this);
    }
}

std::vector<lv_event_code_t> EventLog::codes() const {
    std::vector<lv_event_code_t> c;
    for (const auto &e : entries)
        c.push_back(e.code);
    return c;
}
