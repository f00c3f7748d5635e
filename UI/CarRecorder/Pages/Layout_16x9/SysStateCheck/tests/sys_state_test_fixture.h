// The fixture of the supervision's tests: the page harness with the real data processors, status
// module and key driver, a fake recorder, and a page manager whose pages are blank stand-ins (the
// toast page is the real one). Status messages go in through the agent's dispatch.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "DataProc.h"
#include "InfoTips.h"
#include "StatusBar.h"
#include "SysStateCheck.h"
#include "SysStateToastPage.h"
#include "key.h"
#include "lv_label_ext_func.h"
#include "page_test_env.h"
#include "sys_paths.h"

namespace sysstatetest {

using pagetest::Advance;
using pagetest::AdvanceUntil;
using pagetest::Recorder;

// A blank page: transparent root, no keys.
class StubPage : public PageBase {
  public:
    void onViewLoad() override { lv_obj_set_style_bg_opa(root, LV_OPA_TRANSP, 0); }
};

class TestFactory : public PageFactory {
  public:
    PageBase *CreatePage(const char *name) override {
        if (strcmp(name, "SysStateToastPage") == 0) {
            return new Page::SysStateToastPage;
        }
        return new StubPage;
    }
};

const char *const kPages[] = {"Home",         "SysSetingSysSet", "ParkingEvtToast",
                              "FacTest",      "AlbumHome",       "AlbumPlayer",
                              "InstallGuide", "SysSetingReset",  "SysStateToastPage"};

inline time_t FixedClock() {
    struct tm t = {};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 9;
    t.tm_hour = 10;
    t.tm_min = 24;
    t.tm_isdst = -1;
    return mktime(&t);
}

inline time_t BeforeFullHour() {
    return FixedClock() + 35 * 60; /* 10:59 */
}

inline bool FileExists(const char *path) {
    struct stat st;
    return stat(path, &st) == 0;
}

inline void SetSetting(const char *key, int value) {
    cJSON *s = Recorder().LockSettings();
    cJSON_DeleteItemFromObjectCaseSensitive(s, key);
    cJSON_AddNumberToObject(s, key, value);
    Recorder().UnlockSettings();
}

// The recorder's setting and the user interface's copy of it.
inline void SetLoaded(const char *key, int32_t eElem, int value) {
    SetSetting(key, value);
    SysStateCheck_LoadGeneralSeting(&eElem, 1);
}

// Requests of the control item with that value.
inline size_t CtrlCount(const std::string &item, const std::string &value) {
    size_t n = 0;
    for (const std::string &doc : Recorder().Requests("IPCMSG_GENERALCTRL")) {
        if (doc.find("\"" + item + "\"") != std::string::npos &&
            doc.find("\"value\":\"" + value + "\"") != std::string::npos) {
            ++n;
        }
    }
    return n;
}

// The icon of a right-hand status-bar item, "" when absent.
inline std::string BarItem(const char *type) {
    const char *name = nullptr;
    const char *icon = nullptr;
    for (uint32_t i = 0; StatusBar_GetItem(false, i, &name, &icon, nullptr); ++i) {
        if (strcmp(name, type) == 0) {
            return icon;
        }
    }
    return "";
}

inline std::string Tr(const char *id) {
    char buf[256] = "";
    lv_label_get_text_tr(id, buf, sizeof buf);
    return buf;
}

inline std::string ImgFile(lv_obj_t *img) {
    const void *src = img != nullptr ? lv_img_get_src(img) : nullptr;
    if (src == nullptr) {
        return "";
    }
    std::string s = static_cast<const char *>(src);
    size_t p = s.find("/pic/");
    return p == std::string::npos ? s : s.substr(p + 5);
}

// Every image below obj (depth first), as picture paths.
inline void Images(lv_obj_t *obj, std::vector<std::string> &out) {
    for (uint32_t i = 0; i < lv_obj_get_child_cnt(obj); ++i) {
        lv_obj_t *c = lv_obj_get_child(obj, (int32_t)i);
        if (lv_obj_check_type(c, &lv_img_class)) {
            out.push_back(ImgFile(c));
        }
        Images(c, out);
    }
}

inline bool HasImage(SysStateOverlay e, const std::string &file) {
    std::vector<std::string> v;
    lv_obj_t *obj = SysStateCheck_GetOverlay(e);
    if (obj == nullptr) {
        return false;
    }
    Images(obj, v);
    return std::find(v.begin(), v.end(), file) != v.end();
}

// Every label text below obj.
inline void Texts(lv_obj_t *obj, std::vector<std::string> &out) {
    for (uint32_t i = 0; i < lv_obj_get_child_cnt(obj); ++i) {
        lv_obj_t *c = lv_obj_get_child(obj, (int32_t)i);
        if (lv_obj_check_type(c, &lv_label_class) && !lv_obj_has_flag(c, LV_OBJ_FLAG_HIDDEN)) {
            out.push_back(lv_label_get_text(c));
        }
        Texts(c, out);
    }
}

inline bool HasText(lv_obj_t *obj, const char *id) {
    std::vector<std::string> v;
    if (obj == nullptr) {
        return false;
    }
    Texts(obj, v);
    return std::find(v.begin(), v.end(), Tr(id)) != v.end();
}

inline std::vector<ToastType> Stack() {
    ToastType a[16];
    uint32_t n = SysStateCheck_GetToastStack(a, 16);
    return std::vector<ToastType>(a, a + std::min<uint32_t>(n, 16));
}

class SysStateCheckTest : public ::testing::Test {
  protected:
    static PageManager *Mgr() {
        static TestFactory s_factory;
        static PageManager *s_mgr = [] {
            auto *m = new PageManager(&s_factory);
            for (const char *name : kPages) {
                m->Install(name, Intern(name));
            }
            return m;
        }();
        return s_mgr;
    }
    // Page names must outlive the manager.
    static const char *Intern(const char *name) {
        static std::vector<std::unique_ptr<std::string>> s_names;
        s_names.push_back(std::make_unique<std::string>(std::string("Pages/") + name));
        return s_names.back()->c_str();
    }

    void SetUp() override {
        pagetest::Up(Lang());
        Recorder().Reset();
        SetSetting("installtion_guidecnt", 1);
        SetSetting("acc_on", 1);
        SetSetting("parking_status", 0);
        SetSetting("wallpaper", 1);
        SetSetting("language", 2);
        SetSetting("rear_enable", 0);
        SetSetting("inside_enable", 0);
        if (StatusBar_GetObjs() == nullptr) {
            ASSERT_EQ(StatusBar_Create(lv_layer_top()), 0);
        }
        IpcMsg_ResetSystemStatusInfo();
        SysStateCheck_SetClock(FixedClock);
        Mgr()->SetStackClear(false);
        Advance(50);
        ASSERT_NE(Mgr()->Push("Pages/Home"), nullptr);
        Advance(600);
        ASSERT_EQ(SysStateCheck_Init(Mgr()), 0);
        static const int32_t s_as32Items[] = {GS_WALLPAPER, GS_ACC_ON, GS_PARKING_STATUS, GS_LANGUAGE,
                                              GS_INSTALLTION_GUIDECNT};
        SysStateCheck_LoadGeneralSeting(s_as32Items, 5);
        Advance(60);
        DrainTips();
        Recorder().ClearRequests();
    }
    void TearDown() override {
        SysStateCheck_Deinit();
        SysStateCheck_SetClock(nullptr);
        Advance(50);
        for (int i = 0; i < 200 && DP_GeneralSeting_PendingSaves() > 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        Lang_SetCode("US");
    }
    virtual const char *Lang() const { return "US"; }
    // The supervision anew over a fresh status record (quicker than a new test).
    void Restart() {
        SysStateCheck_Deinit();
        Advance(20);
        IpcMsg_ResetSystemStatusInfo();
        SysStateCheck_SetClock(FixedClock);
        SetSetting("acc_on", 1);
        Mgr()->SetStackClear(true);
        ASSERT_EQ(SysStateCheck_Init(Mgr()), 0);
        SetLoaded("wallpaper", GS_WALLPAPER, 1);
        Advance(60);
        Recorder().ClearRequests();
    }

    // One status message handled as a receive thread would, then its notice published and the
    // supervision's timer run once.
    static void Pump() {
        AdvanceUntil([] { return DP_SystemStatus_PendingCount() == 0; });
        Advance(40);
    }
    static void Send(const std::string &key, int value) {
        pagetest::Deliver(pagetest::FakeRecorder::Msg("IPCMSG_SYSTEMSTATUS",
                                                      R"({"int_params":[{"key":")" + key + R"(","value":)" +
                                                          std::to_string(value) + "}]}"));
        Pump();
    }
    static void Send(const std::string &key, const std::string &text) {
        pagetest::Deliver(pagetest::FakeRecorder::Msg("IPCMSG_SYSTEMSTATUS", R"({"string_params":[{"key":")" +
                                                                                 key + R"(","value":")" +
                                                                                 text + R"("}]})"));
        Pump();
    }
    static void Trigger(const char *event) {
        pagetest::Deliver(pagetest::FakeRecorder::Msg(
            "IPCMSG_TRIGGEREVT", std::string(R"({"event_type":")") + event + R"(","duration":10})"));
        Pump();
    }
    static void DrainTips() {
        AdvanceUntil([] { return InfoTips_QueueSize() == 0 && InfoTips_OnScreenCount() == 0; }, 20000);
        Advance(20); /* the last tip's objects are deleted on the next run */
    }
    // Waits (in manual time) until the tip with that text id is on screen.
    static bool TipShown(const char *id) {
        std::string want = Tr(id);
        return AdvanceUntil(
            [&] {
                lv_obj_t *o = InfoTips_OnScreenObj();
                return o != nullptr && lv_obj_check_type(o, &lv_label_class) && want == lv_label_get_text(o);
            },
            6000);
    }
    static const char *TopPage() {
        PageBase *p = Mgr()->GetStackTop();
        return p != nullptr ? p->Name : "";
    }
    static bool Shown(SysStateOverlay e) { return SysStateCheck_OverlayShown(e); }
};

} // namespace sysstatetest
