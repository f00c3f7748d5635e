// A 320 x 170 display with one full-size draw buffer whose flushes are recorded, and a keypad whose
// key and state the test sets. Time advances only through advance().
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "lvgl.h"

class LvTest : public ::testing::Test {
  public:
    static constexpr lv_coord_t kW = 320;
    static constexpr lv_coord_t kH = 170;

  protected:
    void SetUp() override;
    void TearDown() override;

    // Step time by `ms` in increments of `step` ms, running the timer handler after each.
    void advance(uint32_t ms, uint32_t step = 5);
    // Set the keypad's state; it is read at the next indev period.
    void key(uint32_t k, bool pressed) {
        key_ = k;
        pressed_ = pressed;
    }
    // Press and release k, letting the keypad read each state.
    void tap(uint32_t k) {
        key(k, true);
        advance(30);
        key(k, false);
        advance(30);
    }
    lv_indev_t *add_keypad(lv_group_t *g);
    // Refresh now (layout and redraw of the invalid areas).
    void refresh() { lv_refr_now(disp_); }
    uint32_t pixel(lv_coord_t x, lv_coord_t y) const { return panel_[(size_t)y * kW + (size_t)x]; }

    lv_disp_t *disp_ = nullptr;
    uint32_t reads_ = 0; // keypad reads so far
    std::vector<lv_area_t> flushes_;
    std::vector<uint32_t> panel_;

  private:
    static void flush_cb(lv_disp_drv_t *drv, const lv_area_t *area, lv_color_t *px);
    static void read_cb(lv_indev_drv_t *drv, lv_indev_data_t *data);
    std::vector<lv_color_t> buf_;
    lv_disp_draw_buf_t draw_buf_{};
    lv_disp_drv_t drv_{};
    lv_indev_drv_t indev_drv_{};
    lv_indev_t *indev_ = nullptr;
    uint32_t key_ = 0;
    bool pressed_ = false;
};

// Records event codes (and the object that got them) in order.
struct EventLog {
    struct Entry {
        lv_obj_t *obj;
        lv_event_code_t code;
        uint32_t key;
    };
    std::vector<Entry> entries;
    std::vector<lv_obj_t *> attached;
    EventLog() = default;
    EventLog(const EventLog &) = delete;
    EventLog &operator=(const EventLog &) = delete;
    ~EventLog(); // detaches from the objects still alive
    void attach(lv_obj_t *obj);
    std::vector<lv_event_code_t> codes() const;
    void clear() { entries.clear(); }
};
