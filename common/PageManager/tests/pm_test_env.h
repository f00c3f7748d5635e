/* A 320 x 170 display with time driven by lv_tick_inc, and a journal of page callbacks. */
#ifndef PM_TEST_ENV_H
#define PM_TEST_ENV_H

#include <map>
#include <string>
#include <vector>

#include "PageManager.h"
#include "lvgl.h"

namespace pmtest {

constexpr int kHor = 320;
constexpr int kVer = 170;

/* The pointer the tests move: position and whether it is pressed. */
struct Pointer {
    lv_point_t point = {0, 0};
    bool pressed = false;
};

inline Pointer &TestPointer() {
    static Pointer s_pointer;
    return s_pointer;
}

inline void LvglUp() {
    static bool s_up = false;
    if (s_up) {
        return;
    }
    s_up = true;
    lv_init();
    static lv_disp_draw_buf_t s_drawBuf;
    static lv_color_t s_buf[kHor * 20];
    lv_disp_draw_buf_init(&s_drawBuf, s_buf, nullptr, kHor * 20);
    static lv_disp_drv_t s_drv;
    lv_disp_drv_init(&s_drv);
    s_drv.hor_res = kHor;
    s_drv.ver_res = kVer;
    s_drv.draw_buf = &s_drawBuf;
    s_drv.flush_cb = [](lv_disp_drv_t *drv, const lv_area_t *, lv_color_t *) { lv_disp_flush_ready(drv); };
    lv_disp_drv_register(&s_drv);
    lv_obj_clear_flag(lv_scr_act(), LV_OBJ_FLAG_SCROLLABLE);

    static lv_indev_drv_t s_indev;
    lv_indev_drv_init(&s_indev);
    s_indev.type = LV_INDEV_TYPE_POINTER;
    s_indev.read_cb = [](lv_indev_drv_t *, lv_indev_data_t *data) {
        data->point = TestPointer().point;
        data->state = TestPointer().pressed ? LV_INDEV_STATE_PRESSED : LV_INDEV_STATE_RELEASED;
    };
    lv_indev_drv_register(&s_indev);
}

/* Advances time in 10 ms steps, running the timer handler after each. */
inline void Advance(uint32_t ms) {
    for (uint32_t t = 0; t < ms; t += 10) {
        lv_tick_inc(10);
        lv_timer_handler();
    }
}

/* Every callback of every test page, as "Name:callback". */
inline std::vector<std::string> &Journal() {
    static std::vector<std::string> s_journal;
    return s_journal;
}

/* The journal lines of one page, without the page name. */
inline std::vector<std::string> JournalOf(const std::string &name) {
    std::vector<std::string> out;
    for (const std::string &line : Journal()) {
        if (line.compare(0, name.size() + 1, name + ":") == 0) {
            out.push_back(line.substr(name.size() + 1));
        }
    }
    return out;
}

/* How a test page configures itself at installation. */
struct PageConfig {
    bool setAutoCache = false; /* call SetAutoCacheEnable(autoCache) */
    bool autoCache = true;
    bool setCache = false; /* call SetCacheEnable(cache) */
    bool cache = false;
    uint8_t animType = 0;
    uint16_t animTime = 500;
};

class TestPage : public PageBase {
  public:
    explicit TestPage(const PageConfig &config) : m_stConfig(config) {}
    void onAttrConfig() override {
        if (m_stConfig.setAutoCache) {
            SetAutoCacheEnable(m_stConfig.autoCache);
        }
        if (m_stConfig.setCache) {
            SetCacheEnable(m_stConfig.cache);
        }
        SetLoadAnim(m_stConfig.animType, m_stConfig.animTime, lv_anim_path_linear);
    }
    void onViewLoad() override { Note("onViewLoad"); }
    void onViewDidLoad() override { Note("onViewDidLoad"); }
    void onViewWillAppear() override { Note("onViewWillAppear"); }
    void onViewDidAppear() override { Note("onViewDidAppear"); }
    void onViewWillDisappear() override { Note("onViewWillDisappear"); }
    void onViewDidDisappear() override { Note("onViewDidDisappear"); }
    void onViewDidUnload() override { Note("onViewDidUnload"); }

  private:
    void Note(const char *what) { Journal().push_back(std::string(Name) + ":" + what); }
    PageConfig m_stConfig;
};

/* Creates a TestPage for every class name it has a configuration for. */
class TestFactory : public PageFactory {
  public:
    PageBase *CreatePage(const char *name) override {
        auto it = configs.find(name);
        return it == configs.end() ? nullptr : new TestPage(it->second);
    }
    std::map<std::string, PageConfig> configs;
};

} // namespace pmtest

#endif /* PM_TEST_ENV_H */
