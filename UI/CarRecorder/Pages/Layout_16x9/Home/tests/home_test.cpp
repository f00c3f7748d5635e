// The home page on the page harness: pushed by the real page manager and factory, with the real
// data processors and a fake recorder. Camera switching, the album wait, the progress bar, the
// reactions to status changes, key handling, the warning pages and their reference pictures.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "AppFactory.h"
#include "DataProc.h"
#include "Home.h"
#include "StatusBar.h"
#include "key.h"
#include "lv_label_ext_func.h"
#include "page_test_env.h"

namespace {

using pagetest::Advance;
using pagetest::AdvanceUntil;
using pagetest::Recorder;

std::string ImgFile(lv_obj_t *img) {
    const void *src = lv_img_get_src(img);
    if (src == nullptr) {
        return "";
    }
    std::string s = static_cast<const char *>(src);
    size_t p = s.find("/pic/");
    return p == std::string::npos ? s : s.substr(p + 5);
}

bool Hidden(lv_obj_t *obj) {
    return lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN);
}

// Saves of one settings key the fake recorder received, as "key=value" texts in order.
size_t SavesOf(const std::string &key) {
    size_t n = 0;
    for (const std::string &doc : Recorder().Requests("IPCMSG_GENERALSETING_SAVE")) {
        if (doc.find("\"" + key + "\"") != std::string::npos) {
            ++n;
        }
    }
    return n;
}

bool LastSaveHas(const std::string &key, int value) {
    auto docs = Recorder().Requests("IPCMSG_GENERALSETING_SAVE");
    for (auto it = docs.rbegin(); it != docs.rend(); ++it) {
        if (it->find("\"" + key + "\"") != std::string::npos) {
            return it->find("\"value\":" + std::to_string(value)) != std::string::npos;
        }
    }
    return false;
}

void SetSetting(const char *key, int value) {
    cJSON *s = Recorder().LockSettings();
    cJSON_DeleteItemFromObjectCaseSensitive(s, key);
    cJSON_AddNumberToObject(s, key, value);
    Recorder().UnlockSettings();
}

class HomeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pagetest::Up("US");
        Recorder().Reset();
        SetSetting("installtion_guidecnt", 1);
        SetSetting("rear_enable", 1);
        SetSetting("inside_enable", 0);
        SetSetting("mic_switch", 1);
        SetSetting("preview_camid", 0);
        if (StatusBar_GetObjs() == nullptr) {
            ASSERT_EQ(StatusBar_Create(lv_layer_top()), 0);
        }
        Status("rec_status", "stop");
        Status("rear_status", "plugin");
        Status("inside_status", "plugout");
        Status("storage_status", "normal");
        Status("sensor_state", 0);
        Status("app_status", "logout");
        Status("switch_workmode", 1);
        ASSERT_TRUE(Settle());
        mgr = std::make_unique<PageManager>(&factory);
        ASSERT_NE(mgr->Install("Home", "Pages/Home"), nullptr);
        home = static_cast<Page::Home *>(mgr->Push("Pages/Home"));
        ASSERT_NE(home, nullptr);
        Advance(1200);
        Recorder().ClearRequests();
    }
    void TearDown() override {
        mgr.reset();
        Advance(50);
        // Saves go out one every 50 ms (real time) on the save thread: none may reach the next test.
        for (int i = 0; i < 200 && DP_GeneralSeting_PendingSaves() > 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }
    // Every status message reaches the page as one published notice: waits for it.
    static size_t Notices() {
        size_t n = 0;
        for (const auto &p : pagetest::PublishedLog()) {
            n += p.from == DP_ACCOUNT_SYSTEM_STATUS ? 1 : 0;
        }
        return n;
    }
    bool Settle() {
        return AdvanceUntil([] { return DP_SystemStatus_PendingCount() == 0; }) && (Advance(50), true);
    }
    void Status(const char *key, const char *text) {
        size_t n = Notices();
        ASSERT_EQ(Recorder().Status(key, text), 0);
        ASSERT_TRUE(AdvanceUntil([&] { return Notices() > n; })) << key;
    }
    void Status(const char *key, int value) {
        size_t n = Notices();
        ASSERT_EQ(Recorder().Status(key, value), 0);
        ASSERT_TRUE(AdvanceUntil([&] { return Notices() > n; })) << key;
    }
    // Waits until the page's copy of the status holds.
    template <typename P> bool Until(P pred) { return AdvanceUntil(pred); }
    void Click(lv_obj_t *btn) { lv_event_send(btn, LV_EVENT_SHORT_CLICKED, nullptr); }
    void Key(uint32_t code, uint32_t value) {
        KeyEvtInfo info = {code, value, home};
        Page::Home::KeyEventCallBack(&info);
    }

    AppFactory factory;
    std::unique_ptr<PageManager> mgr;
    Page::Home *home = nullptr;
};

// ---- first screen ----

TEST_F(HomeTest, AppearsTransparentWithItsButtonsAndTheBarSlidIn) {
    const StatusBarObjs *bar = StatusBar_GetObjs();
    EXPECT_EQ(lv_obj_get_y(bar->bar), 0);
    EXPECT_EQ(StatusBar_GetShowType(), STATUSBAR_SHOW_ALL);
    EXPECT_EQ(lv_obj_get_style_bg_opa(home->root, LV_PART_MAIN), LV_OPA_TRANSP);
    EXPECT_TRUE(Hidden(home->View.ui.album_btn));
    EXPECT_FALSE(Hidden(home->View.ui.seting_btn));
    EXPECT_EQ(ImgFile(home->View.ui.switch_btn), "home/switch_icon.png"); // the rear camera is enabled
    EXPECT_EQ(ImgFile(home->View.ui.mic_btn), "home/mic_on_icon.png");
    // The buttons have risen into place.
    lv_obj_t *sw = home->View.ui.switch_btn;
    EXPECT_EQ(lv_obj_get_y(sw), (lv_obj_get_height(home->View.ui.bottom_bar) - lv_obj_get_height(sw)) / 2);
    // The clock: the status bar's title shows the short date and time.
    Advance(100);
    std::string title = lv_label_get_text(bar->title.obj);
    EXPECT_EQ(title.size(), strlen("12-09  08:30:00")) << title;
}

// ---- camera switching ----

TEST_F(HomeTest, SwitchTableFollowsThePresentCameras) {
    struct Row {
        bool rear, inside, kovar;
        uint32_t from, to;
    } const rows[] = {
        {true, false, false, 0, 1}, {false, true, false, 0, 2}, {true, true, false, 1, 2},
        {true, false, false, 1, 0}, {true, true, false, 2, 0},  {false, false, true, 0, 0},
    };
    Status("inside_status", "plugin");
    ASSERT_TRUE(Settle());
    for (const Row &r : rows) {
        home->m_bRearPresent = r.rear;
        home->m_bInsidePresent = r.inside;
        home->m_bKovarPresent = r.kovar;
        home->m_u32CamId = r.from;
        Click(home->View.ui.switch_btn);
        EXPECT_EQ(home->m_u32CamId, r.to) << r.rear << r.inside << r.kovar << " from " << r.from;
        Advance(1100); // the switch-over delay closes the warnings of the camera left
    }
    // An invalid id is logged and kept.
    home->m_u32CamId = 5;
    Click(home->View.ui.switch_btn);
    EXPECT_EQ(home->m_u32CamId, 5u);
}

TEST_F(HomeTest, SwitchingSavesTheCameraOrShowsItsWarning) {
    Click(home->View.ui.switch_btn); // front -> rear, plugged in
    EXPECT_EQ(home->m_u32CamId, 1u);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALSETING_SAVE", 1));
    EXPECT_TRUE(LastSaveHas("preview_camid", 1));
    Click(home->View.ui.switch_btn); // rear -> front
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALSETING_SAVE", 2));
    EXPECT_TRUE(LastSaveHas("preview_camid", 0));
    Advance(1100);

    // The rear camera unplugged: its warning page and no save.
    Status("rear_status", "plugout");
    ASSERT_TRUE(Settle());
    Recorder().ClearRequests();
    Click(home->View.ui.switch_btn);
    EXPECT_NE(home->View.ui.RearFailToast, nullptr);
    Advance(1500);
    EXPECT_NE(home->View.ui.RearFailToast, nullptr); // stays: no switch went to the recorder
    EXPECT_EQ(SavesOf("preview_camid"), 0u);
    // Unplugged while shown: the page's camera goes back to the front one.
    Click(home->View.ui.switch_btn);
    EXPECT_EQ(home->View.ui.RearFailToast, nullptr);
    EXPECT_EQ(home->m_u32CamId, 0u);
}

TEST_F(HomeTest, WithoutCamerasTheSwitchIsThePowerButton) {
    home->m_bRearPresent = false;
    home->m_bInsidePresent = false;
    home->m_bKovarPresent = false;
    home->RefreshSwitchBtnIcon();
    EXPECT_EQ(ImgFile(home->View.ui.switch_btn), "home/power_icon.png");
    // In work mode 3 the power key switches the screen; its text follows the dormant flag.
    Status("switch_workmode", 3);
    Status("screen_dormant", 1);
    ASSERT_TRUE(Settle());
    Click(home->View.ui.switch_btn);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 1));
    EXPECT_NE(Recorder().Requests("IPCMSG_GENERALCTRL").back().find("\"on\""), std::string::npos);
    EXPECT_EQ(home->m_u32CamId, 0u);
}

// Outside work mode 3 the power button asks the supervision for the wallpaper, which it shows
// for the value 0.
TEST_F(HomeTest, PowerButtonAsksTheSupervisionForTheWallpaper) {
    static std::vector<int32_t> s_values;
    s_values.clear();
    Account supervision("SysStateCheck", DataProc_GetCenter());
    supervision.SetEventCallback([](Account *, Account::EventParam *param) {
        if (param->event == Account::EVENT_NOTIFY && param->size == sizeof(int32_t)) {
            s_values.push_back(*static_cast<const int32_t *>(param->data_p));
        }
        return 0;
    });
    // The supervision's account exists before the pages in the program; here the home page
    // subscribes to it again.
    ASSERT_NE(home->Model.Get()->Subscribe("SysStateCheck"), nullptr);
    home->m_bRearPresent = false;
    home->m_bInsidePresent = false;
    home->m_bKovarPresent = false;
    home->RefreshSwitchBtnIcon();
    Click(home->View.ui.switch_btn);
    EXPECT_EQ(s_values, std::vector<int32_t>{0});
}

// ---- album ----

TEST_F(HomeTest, AlbumWaitsForTheRecordingToStopAndForPlaybackMode) {
    // Too soon after appearing.
    Click(home->View.ui.album_btn);
    EXPECT_FALSE(home->m_bWaiting);
    Advance(2000);
    // Not recording: refused.
    Click(home->View.ui.album_btn);
    EXPECT_FALSE(home->m_bWaiting);
    Status("rec_status", "start");
    ASSERT_TRUE(Settle());
    Recorder().ClearRequests();
    Click(home->View.ui.album_btn);
    ASSERT_TRUE(home->m_bWaiting);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 1));
    EXPECT_NE(Recorder().Requests("IPCMSG_GENERALCTRL")[0].find("enter"), std::string::npos);
    Click(home->View.ui.album_btn); // "Busy now"
    EXPECT_EQ(Recorder().Requests("IPCMSG_GENERALCTRL").size(), 1u);
    // Recording stops, playback mode comes: the album page is pushed (it is not installed yet,
    // so the manager refuses it) and the wait ends.
    Status("rec_status", "stop");
    Advance(500);
    EXPECT_TRUE(home->m_bWaiting);
    Status("switch_workmode", 2);
    ASSERT_TRUE(Until([&] { return !home->m_bWaiting; }));
}

TEST_F(HomeTest, AlbumWaitGivesUpAfterTenSeconds) {
    Advance(2000);
    Status("rec_status", "start");
    ASSERT_TRUE(Settle());
    Click(home->View.ui.album_btn);
    ASSERT_TRUE(home->m_bWaiting);
    Advance(9900);
    EXPECT_TRUE(home->m_bWaiting);
    Advance(200);
    EXPECT_FALSE(home->m_bWaiting); // "Wait rec stop timeout"

    // Stopped but playback mode never reported.
    Advance(2000);
    Click(home->View.ui.album_btn);
    ASSERT_TRUE(home->m_bWaiting);
    Status("rec_status", "stop");
    ASSERT_TRUE(Settle());
    Advance(9000);
    EXPECT_TRUE(home->m_bWaiting);
    Advance(1100);
    EXPECT_FALSE(home->m_bWaiting); // "Wait playback mode timeout"
}

// ---- progress bar ----

TEST_F(HomeTest, EventRecordingFillsTheBarAndCountsDown) {
    ASSERT_EQ(Recorder().Post(pagetest::FakeRecorder::Msg("IPCMSG_TRIGGEREVT",
                                                          "{\"event_type\":\"collision\",\"duration\":10}")),
              0);
    ASSERT_TRUE(Until([&] { return home->m_stProgress.bRunning; }));
    EXPECT_TRUE(Hidden(home->View.ui.bottom_bar));
    EXPECT_FALSE(lv_obj_has_state(home->View.ui.progress_bar, LV_STATE_USER_1));
    EXPECT_STREQ(home->m_stProgress.szTextId, "LANG_RES_ID_RECORDING_VIDEO");
    uint32_t c0 = home->m_stProgress.u32Count;
    Advance(1000);
    uint32_t c1 = home->m_stProgress.u32Count;
    EXPECT_EQ(c1 - c0, 20u);
    EXPECT_EQ(lv_bar_get_value(home->View.ui.progress_bar), (int32_t)(c1 * 100));
    char szText[64] = "";
    lv_label_get_text_tr("LANG_RES_ID_RECORDING_VIDEO", szText, sizeof szText);
    EXPECT_EQ(std::string(lv_label_get_text(home->View.ui.progress_label)),
              std::string(szText) + "(" + std::to_string(home->m_stProgress.u32Left) + "S)");
    Advance(10000);
    EXPECT_FALSE(home->m_stProgress.bRunning);
    EXPECT_FALSE(Hidden(home->View.ui.bottom_bar));
    EXPECT_TRUE(lv_obj_has_state(home->View.ui.progress_bar, LV_STATE_USER_1));
}

TEST_F(HomeTest, ProgressStepsByDuration) {
    struct Row {
        int32_t duration;
        bool emergency;
        uint32_t total;
        int32_t after20; // bar value after 20 ticks
    } const rows[] = {
        {0, false, 10, 2000},
        {20, false, 20, 1000},
        {30, true, 30, 666},
        {15, false, 15, 0},
    };
    for (const Row &r : rows) {
        home->StartProgress(r.duration, r.emergency);
        ASSERT_TRUE(home->m_stProgress.bRunning);
        EXPECT_EQ(home->m_stProgress.u32Total, r.total);
        EXPECT_STREQ(home->m_stProgress.szTextId,
                     r.emergency ? "LANG_RES_ID_RECORDING_VIDEO_EMER" : "LANG_RES_ID_RECORDING_VIDEO");
        for (int i = 0; i < 20; ++i) {
            home->ProgressTick();
        }
        EXPECT_EQ(lv_bar_get_value(home->View.ui.progress_bar), r.after20) << r.duration;
        EXPECT_EQ(home->m_stProgress.u32Left, r.total - 1) << r.duration; // the seconds still count
    }
    // Out of range: logged, the bar stays as it was.
    home->StartProgress(-5, false);
    EXPECT_EQ(home->m_stProgress.u32Total, 15u);
}

// ---- status changes ----

TEST_F(HomeTest, StatusChangesReachThePage) {
    Status("storage_status", "noinsert");
    ASSERT_TRUE(Until([&] { return lv_obj_has_state(home->View.ui.album_btn, LV_STATE_USER_1); }));
    Status("storage_status", "normal");
    ASSERT_TRUE(Until([&] { return !lv_obj_has_state(home->View.ui.album_btn, LV_STATE_USER_1); }));

    Status("sensor_state", 1); // the front camera failed while shown
    ASSERT_TRUE(Until([&] { return home->View.ui.FrontFailToast != nullptr; }));
    Status("sensor_state", 0);
    ASSERT_TRUE(Until([&] { return home->View.ui.FrontFailToast == nullptr; }));

    Status("switch_mic", "off");
    ASSERT_TRUE(Until([&] { return ImgFile(home->View.ui.mic_btn) == "home/mic_off_icon.png"; }));

    home->m_u32CamId = 1;
    Status("rear_status", "plugout");
    ASSERT_TRUE(Until([&] { return home->m_u32CamId == 0; }));
}

TEST_F(HomeTest, DigitalCameraErrorsRewriteTheRearWarning) {
    home->View.CreateRearWarningpage();
    home->View.CreateRearWarningpage();              // "page is show!": still one
    EXPECT_EQ(lv_obj_get_child_cnt(home->root), 4u); // bottom bar, progress bar and label, one page
    lv_obj_t *page = home->View.ui.RearFailToast;
    Status("digicam_rear_status", 7);
    ASSERT_TRUE(Until([&] { return Hidden(lv_obj_get_child(page, 1)); }));
    EXPECT_TRUE(Hidden(lv_obj_get_child(page, 2)));
    Status("digicam_rear_status", 6);
    ASSERT_TRUE(Until([&] { return !Hidden(lv_obj_get_child(page, 2)); }));
    EXPECT_EQ(ImgFile(lv_obj_get_child(page, 2)), "home/digicam_warning.png");
    Status("digicam_rear_status", 3); // no text for this state: left alone
    ASSERT_TRUE(Settle());
    EXPECT_EQ(ImgFile(lv_obj_get_child(page, 2)), "home/digicam_warning.png");
}

// ---- keys ----

TEST_F(HomeTest, KeysFollowTheSharedPressReleaseRule) {
    // NEXT: the microphone, clicked on a quick release.
    Key(KEY_CODE_NEXT, KEY_VALUE_PRESS);
    Advance(100);
    Key(KEY_CODE_NEXT, KEY_VALUE_RELEASE);
    EXPECT_EQ(ImgFile(home->View.ui.mic_btn), "home/mic_off_icon.png");
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALSETING_SAVE", 1));
    EXPECT_TRUE(LastSaveHas("mic_switch", 0));
    // A release 800 ms after the press is no click.
    Key(KEY_CODE_NEXT, KEY_VALUE_PRESS);
    Advance(800);
    Key(KEY_CODE_NEXT, KEY_VALUE_RELEASE);
    EXPECT_EQ(ImgFile(home->View.ui.mic_btn), "home/mic_off_icon.png");
    // BACK: the album key (its button is not drawn); while not recording the album stays shut.
    Key(KEY_CODE_BACK, KEY_VALUE_PRESS);
    Key(KEY_CODE_BACK, KEY_VALUE_RELEASE);
    EXPECT_FALSE(home->m_bWaiting);
    // OK while the waiting page is up: "Kovar Switching", ignored.
    home->View.CreateWaitingpage();
    Key(KEY_CODE_OK, KEY_VALUE_PRESS);
    Key(KEY_CODE_OK, KEY_VALUE_RELEASE);
    EXPECT_EQ(home->m_u32CamId, 0u);
    home->View.DelWaitingpage();
    // OK switches the camera; unknown codes and a missing record are ignored.
    Key(KEY_CODE_OK, KEY_VALUE_PRESS);
    Key(KEY_CODE_OK, KEY_VALUE_RELEASE);
    EXPECT_EQ(home->m_u32CamId, 1u);
    Key(9, KEY_VALUE_PRESS);
    Page::Home::KeyEventCallBack(nullptr);
    KeyEvtInfo noUser = {KEY_CODE_OK, KEY_VALUE_PRESS, nullptr};
    Page::Home::KeyEventCallBack(&noUser);
    EXPECT_EQ(home->m_u32CamId, 1u);
}

TEST_F(HomeTest, DisabledAlbumKeyGivesTheCardTip) {
    Status("storage_status", "noinsert");
    ASSERT_TRUE(Until([&] { return lv_obj_has_state(home->View.ui.album_btn, LV_STATE_USER_1); }));
    // Where the album button is shown, a disabled album answers the key with a tip.
    Page::HomeView::SetHidden(home->View.ui.album_btn, false);
    Advance(2500); // earlier tips are gone
    uint32_t u32Top = lv_obj_get_child_cnt(lv_layer_top());
    Key(KEY_CODE_BACK, KEY_VALUE_PRESS);
    EXPECT_EQ(lv_obj_get_child_cnt(lv_layer_top()), u32Top); // the press only
    Key(KEY_CODE_BACK, KEY_VALUE_RELEASE);
    EXPECT_GT(lv_obj_get_child_cnt(lv_layer_top()), u32Top);
    EXPECT_FALSE(home->m_bWaiting);
}

// ---- Wi-Fi ----

TEST_F(HomeTest, WifiPageOpensOnceAndGivesUpAfter30s) {
    home->WifiOnShortEventEventHandle();
    ASSERT_NE(home->View.ui.OpenWifiToast, nullptr);
    EXPECT_EQ(StatusBar_GetShowType(), STATUSBAR_SHOW_NONE);
    EXPECT_FALSE(Hidden(home->View.ui.album_btn));
    EXPECT_EQ(ImgFile(home->View.ui.album_btn), "home/goback_icon.png");
    EXPECT_TRUE(Hidden(home->View.ui.seting_btn));
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALSETING_SAVE", 1));
    EXPECT_TRUE(LastSaveHas("wifi_mode", 0));
    home->WifiOnShortEventEventHandle(); // "wifi already start"
    Advance(30100);
    EXPECT_EQ(home->View.ui.OpenWifiToast, nullptr);
    EXPECT_EQ(StatusBar_GetShowType(), STATUSBAR_SHOW_ALL);
    EXPECT_FALSE(Hidden(home->View.ui.seting_btn));
    EXPECT_EQ(ImgFile(home->View.ui.album_btn), "home/album_icon.png");
}

// ---- what it looks like ----

class HomeLook : public HomeTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(HomeLook, ReferencePictures) {
    const std::string lang = GetParam();
    // The page is built again in the language (labels take their texts when created).
    mgr.reset();
    Advance(50);
    pagetest::Up(lang.c_str());
    mgr = std::make_unique<PageManager>(&factory);
    ASSERT_NE(mgr->Install("Home", "Pages/Home"), nullptr);
    home = static_cast<Page::Home *>(mgr->Push("Pages/Home"));
    ASSERT_NE(home, nullptr);
    Advance(1200);
    // A fixed clock for the pictures.
    StatusBarMsg m;
    memset(&m, 0, sizeof m);
    m.eCmd = STATUSBAR_CMD_UPDATE_TITLE;
    m.pcTitle = "12-09  08:30:00";
    m.bShadow = true;
    auto shot = [&](const std::string &name) {
        home->m_bVisible = false; // the page timer would write the real time into the title
        StatusBar_UpdateTitleCont(&m);
        Advance(400);
        EXPECT_TRUE(pagetest::MatchesReference(PAGE_TEST_REF_DIR, name + "_" + lang));
    };
    shot("home");
    home->StartProgress(10, false);
    for (int i = 0; i < 90; ++i) {
        home->ProgressTick();
    }
    shot("home_event");
    home->m_stProgress.u32Left = 1;
    home->m_stProgress.u32Count = 199;
    home->ProgressTick();

    const struct {
        const char *name;
        void (::Page::HomeView::*create)();
        void (::Page::HomeView::*del)();
    } pages[] = {
        {"warning_rear", &::Page::HomeView::CreateRearWarningpage, &::Page::HomeView::DelRearWarningpage},
        {"warning_front", &::Page::HomeView::CreateFrontWarningpage, &::Page::HomeView::DelFrontWarningpage},
        {"warning_inside", &::Page::HomeView::CreateInsideWarningpage,
         &::Page::HomeView::DelInsideWarningpage},
        {"waiting", &::Page::HomeView::CreateWaitingpage, &::Page::HomeView::DelWaitingpage},
        {"wifi", &::Page::HomeView::CreateOpenWifipage, &::Page::HomeView::DelOpenWifipage},
        {"high_temp", &::Page::HomeView::CreateHighTempProtectPage,
         &::Page::HomeView::DelHighTempProtectPage},
    };
    for (const auto &p : pages) {
        (home->View.*p.create)();
        // The Wi-Fi and high-temperature pages come with the status bar hidden.
        bool bFull = home->View.ui.OpenWifiToast != nullptr || home->View.ui.HighTempToast != nullptr;
        StatusBar_ShowType(bFull ? STATUSBAR_SHOW_NONE : STATUSBAR_SHOW_ALL);
        shot(p.name);
        (home->View.*p.del)();
        StatusBar_ShowType(STATUSBAR_SHOW_ALL);
    }
    home->View.CreateKOvarWarningpage(true, 0, true);
    shot("warning_kovar");
    home->View.DelKovarWarningpage();
    home->View.CreateRearWarningpage();
    home->View.SetCamErrTexts(false, 6);
    shot("warning_digicam");
    home->View.DelRearWarningpage();
}

INSTANTIATE_TEST_SUITE_P(Languages, HomeLook, ::testing::Values("US", "GE", "CN"));

} // namespace
