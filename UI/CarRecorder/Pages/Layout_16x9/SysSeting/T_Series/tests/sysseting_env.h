// What the settings pages' tests share: a page manager with the settings pages installed, the
// recorder's settings, the keys and the view of the list on screen.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AppFactory.h"
#include "DataProc.h"
#include "PagesCommon.h"
#include "StatusBar.h"
#include "key.h"
#include "lv_label_ext_func.h"
#include "page_test_env.h"

namespace syssettest {

using pagetest::Advance;
using pagetest::AdvanceUntil;
using pagetest::Recorder;

inline void SetSetting(const char *key, int value) {
    cJSON *s = Recorder().LockSettings();
    cJSON_DeleteItemFromObjectCaseSensitive(s, key);
    cJSON_AddNumberToObject(s, key, value);
    Recorder().UnlockSettings();
}

inline void SetSettingText(const char *key, const char *text) {
    cJSON *s = Recorder().LockSettings();
    cJSON_DeleteItemFromObjectCaseSensitive(s, key);
    cJSON_AddStringToObject(s, key, text);
    Recorder().UnlockSettings();
}

// The recorder's value of a number item (-999 when it has none).
inline int RecorderSetting(const char *key) {
    cJSON *s = Recorder().LockSettings();
    const cJSON *v = cJSON_GetObjectItemCaseSensitive(s, key);
    int r = cJSON_IsNumber(v) ? v->valueint : -999;
    Recorder().UnlockSettings();
    return r;
}

// Forgets the remembered positions of a whole menu tree (they live for the run).
inline void ResetMenus(SetMenu *menu) {
    if (menu == nullptr) {
        return;
    }
    menu->iCurrentPos = 0;
    for (int i = 0; i < menu->s32ItemNum; ++i) {
        if (menu->ppstItems[i]->pstSubMenu != menu) {
            ResetMenus(menu->ppstItems[i]->pstSubMenu);
        }
    }
}

inline size_t Saves() {
    return Recorder().Requests("IPCMSG_GENERALSETING_SAVE").size();
}

inline std::string LabelText(lv_obj_t *label) {
    return label != nullptr ? lv_label_get_text(label) : "";
}

inline std::string Tr(const char *id) {
    char sz[256] = "";
    lv_label_get_text_tr(id, sz, sizeof sz);
    return sz;
}

// Labels that scroll in circles stand still (as dots) for the picture: where a scroll is at
// depends on the time the test ran before, which waits for threads in real time.
inline void StillLabels(lv_obj_t *obj, std::vector<lv_obj_t *> *moved) {
    if (lv_obj_check_type(obj, &lv_label_class) &&
        lv_label_get_long_mode(obj) == LV_LABEL_LONG_SCROLL_CIRCULAR) {
        lv_label_set_long_mode(obj, LV_LABEL_LONG_DOT);
        moved->push_back(obj);
    }
    for (uint32_t i = 0; i < lv_obj_get_child_cnt(obj); ++i) {
        StillLabels(lv_obj_get_child(obj, (int32_t)i), moved);
    }
}

// Compares the screen with the reference picture ref (name_LANG), the recording mark off and the
// scrolling labels still.
inline void StillShot(const std::string &ref) {
    StatusBar_SetRecording(false);
    Advance(600);
    std::vector<lv_obj_t *> moved, bar;
    StillLabels(lv_scr_act(), &moved);
    // The status bar's scrolling title starts again now, so it is as far at every run.
    StillLabels(lv_layer_top(), &bar);
    for (lv_obj_t *obj : bar) {
        std::string text = lv_label_get_text(obj);
        lv_label_set_long_mode(obj, LV_LABEL_LONG_SCROLL_CIRCULAR);
        lv_label_set_text(obj, text.c_str());
    }
    Advance(100);
    EXPECT_TRUE(pagetest::MatchesReference(PAGE_TEST_REF_DIR, ref));
    for (lv_obj_t *obj : moved) {
        lv_label_set_long_mode(obj, LV_LABEL_LONG_SCROLL_CIRCULAR);
    }
}

class SettingsTest : public ::testing::Test {
  protected:
    static constexpr const char *kPages[][2] = {
        {"SysSetingHome", "Pages/SysSetingHome"},           {"SysSetingVideoSet", "Pages/SysSetingVideoSet"},
        {"SysSetingSysSet", "Pages/SysSetingSysSet"},       {"SysSetingSoundSet", "Pages/SysSetingSoundSet"},
        {"SysSetingScreenSet", "Pages/SysSetingScreenSet"},
    };

    void SetUp() override { Start("US"); }
    void Start(const char *lang) {
        pagetest::Up(lang);
        Recorder().Reset();
        if (StatusBar_GetObjs() == nullptr) {
            ASSERT_EQ(StatusBar_Create(lv_layer_top()), 0);
            StatusBar_SlideAnim(1); // as the home page does when it first appears
        }
        mgr = std::make_unique<PageManager>(&factory);
        for (const auto &p : kPages) {
            ASSERT_NE(mgr->Install(p[0], p[1]), nullptr) << p[0];
        }
    }
    void TearDown() override {
        mgr.reset();
        Advance(50);
        // Saves go out one every 50 ms (real time) on the save thread: none may reach the next test.
        for (int i = 0; i < 400 && DP_GeneralSeting_PendingSaves() > 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }

    // Pushes a page and lets its load animation end and OK be taken again.
    template <typename P> P *Open(const char *name) {
        PageBase *p = mgr->Push(name);
        Advance(1000);
        return static_cast<P *>(p);
    }
    // A short click of a device key, then time for the page to react.
    void Press(uint32_t code) {
        pagetest::Click(code);
        Advance(60);
    }
    // Waits until the store worked through the queued saves and the page's check ran.
    bool SavesDone() {
        bool ok = AdvanceUntil([] { return DP_GeneralSeting_PendingSaves() == 0; });
        Advance(250);
        return ok;
    }
    // The status bar's focus counter and title.
    static std::string Focus() { return LabelText(StatusBar_GetObjs()->focus.obj); }
    static std::string Title() { return LabelText(StatusBar_GetObjs()->title.obj); }

    // Rows of the page's list: whether the option at pos carries the selected mark / switch mark.
    static bool Selected(Page::SysSetingPage *p, int pos) {
        lv_obj_t *img = p->RowObj(pos, PAGE_COMMON_OBJ_SWITCH);
        return img != nullptr && lv_obj_has_flag(img, SETMENU_FLAG_SELECTED);
    }
    static int SelectedPos(Page::SysSetingPage *p) {
        int found = -1;
        for (int i = 0; i < p->Model.GetItemNum(); ++i) {
            if (Selected(p, i)) {
                EXPECT_EQ(found, -1) << "two options marked";
                found = i;
            }
        }
        return found;
    }
    static bool SwitchOn(Page::SysSetingPage *p, int pos) {
        lv_obj_t *img = p->RowObj(pos, PAGE_COMMON_OBJ_SWITCH);
        return img != nullptr && lv_obj_has_flag(img, SETMENU_FLAG_SWITCH);
    }
    static std::string ImgFile(lv_obj_t *img) {
        const void *src = img != nullptr ? lv_img_get_src(img) : nullptr;
        if (src == nullptr) {
            return "";
        }
        std::string s = static_cast<const char *>(src);
        size_t at = s.find("/pic/");
        return at == std::string::npos ? s : s.substr(at + 5);
    }
    static int FocusedRow(Page::SysSetingPage *p) {
        return p->RowOfTarget(lv_group_get_focused(lv_group_get_default()));
    }

    AppFactory factory;
    std::unique_ptr<PageManager> mgr;
};

} // namespace syssettest
