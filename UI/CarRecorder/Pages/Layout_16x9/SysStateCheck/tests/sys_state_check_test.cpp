// System state supervision on the page harness: status messages in; overlays, the toast stack,
// the key owner, tips, status-bar items, the recorder's requests and the page stack out.
#include "sys_state_test_fixture.h"

namespace sysstatetest {
// ---- every row of the dispatch table ----

struct RowCase {
    const char *name;
    std::function<void()> prepare;
    std::function<void()> send;
    std::function<void()> check;
};

TEST_F(SysStateCheckTest, EveryDispatchRow) {
    const RowCase cases[] = {
        {"11 screen key test pushes and pops the factory test", [] {}, [] { Send("test_screenkey", 1); },
         [] {
             Advance(600);
             EXPECT_STREQ(TopPage(), "Pages/FacTest");
             Send("test_screenkey", 0);
             Advance(600);
             EXPECT_STREQ(TopPage(), "Pages/Home");
         }},
        {"15 leaving playback shows the black background and drops the album lists",
         [] {
             Send("switch_workmode", 2);
             FILE *f = fopen(SYS_PATH_FILELIST, "w");
             if (f != nullptr) {
                 fclose(f);
             }
         },
         [] { Send("switch_workmode", 1); },
         [] {
             EXPECT_TRUE(Shown(SYS_OVERLAY_BLACK_BG));
             EXPECT_FALSE(FileExists(SYS_PATH_FILELIST));
             Send("switch_workmode", 2);
             EXPECT_FALSE(Shown(SYS_OVERLAY_BLACK_BG));
         }},
        {"0 recording start and stop tips", [] {}, [] { Send("rec_status", "start"); },
         [] {
             EXPECT_TRUE(TipShown("LANG_RES_ID_START_REC"));
             DrainTips();
             Send("rec_status", "start"); /* unchanged: no tip */
             Advance(300);
             EXPECT_EQ(InfoTips_OnScreenCount(), 0u);
             Send("rec_status", "stop");
             EXPECT_TRUE(TipShown("LANG_RES_ID_STOP_REC"));
         }},
        {"7 storage states: tip and card icon", [] {}, [] { Send("storage_status", "noinsert"); },
         [] {
             EXPECT_TRUE(TipShown("LANG_RES_ID_NO_INSERT_SDCAR"));
             EXPECT_EQ(BarItem("sd"), "sd_out.png");
             Send("storage_status", "abnormal_ext");
             EXPECT_EQ(BarItem("sd"), "sd_err.png");
             EXPECT_TRUE(TipShown("LANG_RES_ID_SDCAR_ABNORMAL_EXT"));
             Send("storage_status", "normal");
             EXPECT_EQ(BarItem("sd"), "sd_err.png"); /* the record keeps 8 */
             Send("storage_status", "normal_ext");
             EXPECT_EQ(BarItem("sd"), "");
         }},
        {"17 front sensor failure", [] {}, [] { Send("sensor_state", 1); },
         [] {
             EXPECT_TRUE(TipShown("LANG_RES_ID_NO_FRONT_CAM"));
             EXPECT_EQ(BarItem("sensor"), "sensor_err.png");
             Send("sensor_state", 0);
             EXPECT_EQ(BarItem("sensor"), "");
         }},
        {"2 app login over Wi-Fi: app lock with its key bar", [] {}, [] { Send("app_status", "login"); },
         [] {
             EXPECT_TRUE(Shown(SYS_OVERLAY_APP_LOCK));
             EXPECT_TRUE(HasImage(SYS_OVERLAY_APP_LOCK, "other/app_connecting.png"));
             EXPECT_EQ(Stack(), std::vector<ToastType>{TOAST_APP_LOCK});
             EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_TOAST);
             EXPECT_EQ(SysStateCheck_GetPageIsBusy(), 1);
             EXPECT_TRUE(FileExists(SYS_PATH_APP_LOGIN));
             Send("app_status", "logout");
             EXPECT_FALSE(Shown(SYS_OVERLAY_APP_LOCK));
             EXPECT_TRUE(Stack().empty());
             EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_PAGES);
             EXPECT_EQ(SysStateCheck_GetPageIsBusy(), 0);
             EXPECT_FALSE(FileExists(SYS_PATH_APP_LOGIN));
         }},
        {"3 app login over 4G: 4G lock swallows the keys", [] {}, [] { Send("4g_app_status", "login_p2p"); },
         [] {
             EXPECT_TRUE(Shown(SYS_OVERLAY_4G_LOCK));
             EXPECT_TRUE(
                 HasText(SysStateCheck_GetOverlay(SYS_OVERLAY_4G_LOCK), "LANG_RES_ID_4G_CONNECTING_TIP"));
             EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_SWALLOWED);
             Send("4g_app_status", "logout_p2p");
             EXPECT_FALSE(Shown(SYS_OVERLAY_4G_LOCK));
             EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_PAGES);
         }},
        {"4 talking over 4G changes the 4G lock", [] { Send("4g_app_status", "login_p2p"); },
         [] { Send("p2p_talk_status", "p2p_talk_start"); },
         [] {
             EXPECT_TRUE(HasImage(SYS_OVERLAY_4G_LOCK, "other/talking.png"));
             EXPECT_TRUE(
                 HasText(SysStateCheck_GetOverlay(SYS_OVERLAY_4G_LOCK), "LANG_RES_ID_4G_TALKING_CONNECTING"));
             Send("p2p_talk_status", "p2p_talk_stop");
             EXPECT_TRUE(HasImage(SYS_OVERLAY_4G_LOCK, "other/4G_connecting.png"));
             EXPECT_FALSE(
                 HasText(SysStateCheck_GetOverlay(SYS_OVERLAY_4G_LOCK), "LANG_RES_ID_4G_CONNECTING_TIP"));
         }},
        {"1 USB lock and the screen pause", [] {}, [] { Send("lock_status", "login"); },
         [] {
             EXPECT_TRUE(Shown(SYS_OVERLAY_USB_LOCK));
             EXPECT_TRUE(HasImage(SYS_OVERLAY_USB_LOCK, "other/usb_lock.png"));
             EXPECT_EQ(CtrlCount("ctrl_screendormant", "pause"), 1u);
             Send("lock_status", "logout");
             EXPECT_FALSE(Shown(SYS_OVERLAY_USB_LOCK));
             EXPECT_EQ(CtrlCount("ctrl_screendormant", "resume"), 1u);
         }},
        {"27 firmware update lock", [] {}, [] { Send("update_state", 1); },
         [] {
             EXPECT_TRUE(Shown(SYS_OVERLAY_UPDATING));
             EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_SWALLOWED);
             Send("update_state", 0);
             EXPECT_FALSE(Shown(SYS_OVERLAY_UPDATING));
             EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_PAGES);
         }},
        {"43/44 camera update lock, shared by both cameras", [] {}, [] { Send("digicam_update_state", 1); },
         [] {
             EXPECT_TRUE(HasText(SysStateCheck_GetOverlay(SYS_OVERLAY_DIGICAM_UPDATING),
                                 "LANG_RES_ID_DIGICAMUPDATING"));
             Send("digicaminside_update_state", 1);
             Send("digicam_update_state", 0);
             EXPECT_TRUE(Shown(SYS_OVERLAY_DIGICAM_UPDATING)); /* the inside camera still updates */
             Send("digicaminside_update_state", 0);
             EXPECT_FALSE(Shown(SYS_OVERLAY_DIGICAM_UPDATING));
         }},
        {"5/6 camera plug events", [] { SetSetting("preview_camid", 1); },
         [] { Send("rear_status", "plugout"); },
         [] {
             EXPECT_TRUE(TipShown("LANG_RES_ID_REAR_PLUGOUT"));
             EXPECT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALSETING_SAVE", 1));
             DrainTips();
             Send("inside_status", "plugin");
             EXPECT_TRUE(TipShown("LANG_RES_ID_INSIDE_INSERT"));
         }},
        {"26 parameter reset opens the installation guide once the recorder is done",
         [] { SetSetting("installtion_guidecnt", 0); }, [] { Send("resetdev_result", "success_no_reboot"); },
         [] {
             EXPECT_STREQ(Lang_GetCode(), "US");
             Advance(2500);
             AdvanceUntil([] { return strcmp(TopPage(), "Pages/InstallGuide") == 0; }, 3000);
             EXPECT_STREQ(TopPage(), "Pages/InstallGuide");
         }},
        {"16 GPS icon", [] {}, [] { Send("gps_state", 0); },
         [] {
             EXPECT_EQ(BarItem("gps"), "gps_err.png");
             Send("gps_state", 1);
             EXPECT_EQ(BarItem("gps"), "");
         }},
        {"31 ACC off enters the parking lock, ACC on leaves it", [] { SetSetting("acc_on", 0); },
         [] { Send("acc_status", "off"); },
         [] {
             EXPECT_TRUE(Shown(SYS_OVERLAY_PARKING_LOCK));
             EXPECT_TRUE(FileExists(SYS_PATH_PARKING_PAGE));
             EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_SWALLOWED);
             SetSetting("acc_on", 1);
             Send("acc_status", "on");
             EXPECT_FALSE(Shown(SYS_OVERLAY_PARKING_LOCK));
             EXPECT_FALSE(FileExists(SYS_PATH_PARKING_PAGE));
         }},
        {"31 an ACC report the settings contradict changes nothing", [] { SetSetting("acc_on", 1); },
         [] { Send("acc_status", "off"); }, [] { EXPECT_FALSE(Shown(SYS_OVERLAY_PARKING_LOCK)); }},
        {"32/33 Bluetooth empower page, failure and success", [] {}, [] { Send("bt_empower", "connect"); },
         [] {
             EXPECT_TRUE(Shown(SYS_OVERLAY_EMPOWER));
             EXPECT_EQ(Stack(), std::vector<ToastType>{TOAST_EMPOWER});
             Send("bt_empower", 0);
             EXPECT_TRUE(Shown(SYS_OVERLAY_EMPOWER_FAIL));
             Send("bt_empower", "connect");
             Send("bt_empower", 1);
             EXPECT_FALSE(Shown(SYS_OVERLAY_EMPOWER));
             EXPECT_TRUE(Stack().empty());
             EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_PAGES);
         }},
        {"34 a parking collision asks for the parking event toast", [] {},
         [] { Send("parkingcollision_status", 1); },
         [] { EXPECT_TRUE(SysStateCheck_ParkingEvtRequested()); }},
        {"35/36/37 4G icon", [] {}, [] { Send("4G_linkstatus", 1); },
         [] {
             Send("4G_level", 3);
             EXPECT_EQ(BarItem("4G"), "4G_3.png");
             Send("4G_ready", 1);
             Send("4G_level", 9);
             EXPECT_EQ(BarItem("4G"), "4G_4.png");
             Send("4G_linkstatus", 0);
             EXPECT_EQ(BarItem("4G"), "");
         }},
        {"8 the screen going off takes the heat lock of a power-off warning",
         [] { Send("temp_high_reason", "power_off"); }, [] { Send("screen_dormant", 1); },
         [] { EXPECT_FALSE(Shown(SYS_OVERLAY_HIGH_TEMP)); }},
        {"20-24, 45, 46, 14 driving alerts raise the trigger toast", [] {}, [] { Send("car_forward", 1); },
         [] {
             EXPECT_TRUE(HasImage(SYS_OVERLAY_TRIGGER, "other/car_forward.png"));
             for (const char *key : {"driving_remind", "cross_lane", "too_closed", "notict_pedestrian",
                                     "behavior_acceler", "behavior_deceler"}) {
                 Send(key, 1);
                 EXPECT_TRUE(Shown(SYS_OVERLAY_TRIGGER)) << key;
             }
             Trigger("gsensor_collision");
             EXPECT_TRUE(Shown(SYS_OVERLAY_TRIGGER));
             Advance(5100);
             EXPECT_FALSE(Shown(SYS_OVERLAY_TRIGGER));
             Send("cross_lane", 0); /* an alert that ends raises nothing */
             EXPECT_FALSE(Shown(SYS_OVERLAY_TRIGGER));
         }},
        {"38 device-link bind icon", [] {}, [] { Send("kovar_bind_status", 1); },
         [] {
             EXPECT_EQ(BarItem("kovar"), "kovar.png");
             Send("kovar_bind_status", 0);
             EXPECT_EQ(BarItem("kovar"), "");
         }},
        {"39 device-link connection tips", [] {}, [] { Send("kovar_Connect_status", 1); },
         [] { EXPECT_TRUE(TipShown("LANG_RES_ID_KOVAR_CONNECT")); }},
        {"40 language from the recorder", [] { SetSetting("language", 3); }, [] { Send("sync_lang", "3"); },
         [] { EXPECT_STREQ(Lang_GetCode(), "RU"); }},
        {"47 a g-sensor event swaps the animated wallpaper for a plain one",
         [] {
             SetLoaded("wallpaper", GS_WALLPAPER, 0);
             SysStateCheck_CreateScreenLockPage();
         },
         [] { Send("gsensor_status", 1); },
         [] {
             EXPECT_TRUE(Shown(SYS_OVERLAY_WALLPAPER));
             std::vector<std::string> v;
             EXPECT_EQ(lv_obj_get_child_cnt(SysStateCheck_GetOverlay(SYS_OVERLAY_WALLPAPER)), 0u);
             Send("gsensor_status", 0);
             EXPECT_EQ(lv_obj_get_child_cnt(SysStateCheck_GetOverlay(SYS_OVERLAY_WALLPAPER)), 1u);
         }},
        {"48 heat lock: reasons and the resume timer", [] {}, [] { Send("temp_high_reason", "srceen_off"); },
         [] {
             EXPECT_TRUE(HasText(SysStateCheck_GetOverlay(SYS_OVERLAY_HIGH_TEMP),
                                 "LANG_RES_ID_TEMP_HIGH_SCREEN_OFF_TOAST"));
             Send("temp_high_reason", "other");
             EXPECT_FALSE(Shown(SYS_OVERLAY_HIGH_TEMP));
             Send("temp_high_reason", "wifi_off");
             EXPECT_FALSE(Shown(SYS_OVERLAY_HIGH_TEMP));
             Send("temp_high_reason", "power_off");
             EXPECT_TRUE(Shown(SYS_OVERLAY_HIGH_TEMP));
             Advance(6100); /* the screen has been on for 6 s */
             EXPECT_FALSE(Shown(SYS_OVERLAY_HIGH_TEMP));
         }},
        {"54 rear camera error page with its key bar", [] {}, [] { Send("digicam_rear_status", 6); },
         [] {
             EXPECT_TRUE(HasImage(SYS_OVERLAY_DIGICAM_REAR, "home/digicam_warning.png"));
             EXPECT_EQ(Stack(), std::vector<ToastType>{TOAST_DIGICAM_REAR});
             EXPECT_EQ(CtrlCount("ctrl_screendormant", "reset"), 1u);
             Send("digicam_rear_status", 7); /* already shown: one page */
             EXPECT_EQ(Stack().size(), 1u);
             Send("digicam_rear_status", 3);
             EXPECT_FALSE(Shown(SYS_OVERLAY_DIGICAM_REAR));
             EXPECT_TRUE(Stack().empty());
         }},
        {"55 inside camera unplugged: error page", [] {}, [] { Send("digicam_inside_status", 0); },
         [] {
             EXPECT_TRUE(HasText(SysStateCheck_GetOverlay(SYS_OVERLAY_DIGICAM_INSIDE),
                                 "LANG_RES_ID_CHANGE_INSIDE_PLOGOUT"));
             EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_TOAST);
         }},
        {"56 periodic format pushes the toast page with argument 5", [] {},
         [] { Send("format_periodically", 1); },
         [] {
             Advance(600);
             ASSERT_STREQ(TopPage(), "Pages/SysStateToastPage");
             EXPECT_EQ(static_cast<Page::SysStateToastPage *>(Mgr()->GetStackTop())->m_u8Type, 5);
         }},
        {"57 display not up: black background", [] {}, [] { Send("disp_status", 0); },
         [] {
             EXPECT_TRUE(Shown(SYS_OVERLAY_BLACK_BG));
             Send("disp_status", 1);
             EXPECT_FALSE(Shown(SYS_OVERLAY_BLACK_BG));
         }},
        {"13 Wi-Fi icon", [] {}, [] { Send("switch_wifi", "on"); },
         [] {
             EXPECT_EQ(BarItem("wifi"), "wifi_on.png");
             Send("switch_wifi", "off");
             EXPECT_EQ(BarItem("wifi"), "wifi_off.png");
         }},
        {"58 slow card tip", [] {}, [] { Send("writecardslow_remind", 1); },
         [] { EXPECT_TRUE(TipShown("LANG_RES_ID_WRITE_CARD_SLOW_REMIND")); }},
    };
    bool bFirst = true;
    for (const RowCase &c : cases) {
        SCOPED_TRACE(c.name);
        if (!bFirst) {
            TearDown();
            SetUp();
        }
        bFirst = false;
        c.prepare();
        Recorder().ClearRequests();
        c.send();
        c.check();
    }
}

TEST_F(SysStateCheckTest, TypesWithoutRowChangeNothing) {
    Send("test_screen", 1);         /* 9 */
    Send("switch_reversing", "on"); /* 12 */
    Send("switch_mic", "off");      /* 18 */
    Advance(300);
    for (int e = 0; e < SYS_OVERLAY_NUM; ++e) {
        EXPECT_FALSE(Shown(static_cast<SysStateOverlay>(e))) << e;
    }
    EXPECT_EQ(InfoTips_OnScreenCount(), 0u);
    EXPECT_TRUE(Recorder().Requests("IPCMSG_GENERALCTRL").empty());
}

// ---- toast stack and keys ----

TEST_F(SysStateCheckTest, ToastStackHoldsNineAndPopsTheUpperDuplicate) {
    for (int i = 0; i < SYS_STATE_TOAST_STACK_SIZE; ++i) {
        EXPECT_EQ(SysStateCheck_PushToastPage(static_cast<ToastType>(i % 5)), 0);
    }
    EXPECT_EQ(SysStateCheck_PushToastPage(TOAST_EMPOWER), -1); /* overflow refused */
    EXPECT_EQ(Stack().size(), 9u);
    EXPECT_EQ(SysStateCheck_PushToastPage(TOAST_NONE), -1);
    EXPECT_EQ(SysStateCheck_PushToastPage(static_cast<ToastType>(-1)), -1);
    // [0 1 2 3 4 0 1 2 3]: popping 1 removes the upper one
    EXPECT_EQ(SysStateCheck_PopToastPage(TOAST_APP_LOCK), 0);
    std::vector<ToastType> want = {TOAST_EMPOWER,      TOAST_APP_LOCK,       TOAST_STORAGE_ERR,
                                   TOAST_DIGICAM_REAR, TOAST_DIGICAM_INSIDE, TOAST_EMPOWER,
                                   TOAST_STORAGE_ERR,  TOAST_DIGICAM_REAR};
    EXPECT_EQ(Stack(), want);
    while (!Stack().empty()) {
        SysStateCheck_PopToastPage(Stack().back());
    }
    EXPECT_EQ(SysStateCheck_PopToastPage(TOAST_APP_LOCK), 0); /* absent: nothing, no failure */
    EXPECT_EQ(SysStateCheck_GetCurrentShowToastType(), TOAST_NONE);
}

TEST_F(SysStateCheckTest, KeysFollowTheTopShownToast) {
    Send("app_status", "login");
    Send("digicam_rear_status", 8);
    EXPECT_EQ(SysStateCheck_GetCurrentShowToastType(), TOAST_DIGICAM_REAR);
    EXPECT_EQ(SysStateCheck_GetCurrentActiveToastType(), TOAST_DIGICAM_REAR);
    // OK confirms the camera page: it goes and the app lock has the keys again.
    pagetest::Click(KEY_CODE_OK);
    EXPECT_FALSE(Shown(SYS_OVERLAY_DIGICAM_REAR));
    EXPECT_EQ(SysStateCheck_GetCurrentActiveToastType(), TOAST_APP_LOCK);
    EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_TOAST);
    // OK on the app lock: its confirm button is hidden, nothing happens.
    pagetest::Click(KEY_CODE_OK);
    EXPECT_TRUE(Shown(SYS_OVERLAY_APP_LOCK));
    // BACK logs the user out: lock gone, the recorder told, keys back to the pages.
    pagetest::Click(KEY_CODE_BACK);
    EXPECT_FALSE(Shown(SYS_OVERLAY_APP_LOCK));
    EXPECT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 1));
    EXPECT_TRUE(AdvanceUntil([] { return CtrlCount("ctrl_applogout", "out") == 1; }));
    EXPECT_FALSE(FileExists(SYS_PATH_APP_LOGIN));
    EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_PAGES);
    EXPECT_EQ(SysStateCheck_GetCurrentActiveToastType(), TOAST_NONE);
}

TEST_F(SysStateCheckTest, EmpowerConfirmAuthenticatesAndBackCloses) {
    Send("bt_empower", "connect");
    pagetest::Click(KEY_CODE_OK);
    EXPECT_TRUE(AdvanceUntil([] { return CtrlCount("ctrl_authentication", "star") == 1; }));
    pagetest::Click(KEY_CODE_NEXT); /* not on the bar */
    EXPECT_TRUE(Shown(SYS_OVERLAY_EMPOWER));
    pagetest::Click(KEY_CODE_BACK);
    EXPECT_FALSE(Shown(SYS_OVERLAY_EMPOWER));
    EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_PAGES);
}

TEST_F(SysStateCheckTest, ContradictoryStatesLeaveNothingUnexplained) {
    // Logout without login, unplug without plug, clear without set.
    Send("app_status", "logout");
    Send("4g_app_status", "logout_p2p");
    Send("lock_status", "logout");
    Send("update_state", 0);
    Send("digicam_rear_status", 1);
    for (int e = 0; e < SYS_OVERLAY_NUM; ++e) {
        EXPECT_FALSE(Shown(static_cast<SysStateOverlay>(e))) << e;
    }
    EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_PAGES);
    // App login during a firmware update: both shown, the update keeps the keys, then the lock.
    Send("update_state", 1);
    Send("app_status", "login");
    Send("app_status", "login"); /* repeated: one lock, one stack entry */
    EXPECT_EQ(Stack(), std::vector<ToastType>{TOAST_APP_LOCK});
    EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_SWALLOWED);
    EXPECT_EQ(lv_obj_get_index(SysStateCheck_GetOverlay(SYS_OVERLAY_UPDATING)),
              (int32_t)lv_obj_get_child_cnt(lv_layer_top()) - 1); /* the update stays on top */
    Send("update_state", 0);
    EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_TOAST);
    // Both app logins, one logout: the page stays busy and the marker stays.
    Send("4g_app_status", "login_p2p");
    Send("app_status", "logout");
    EXPECT_EQ(SysStateCheck_GetPageIsBusy(), 1);
    EXPECT_TRUE(FileExists(SYS_PATH_APP_LOGIN));
    Send("4g_app_status", "logout_p2p");
    EXPECT_EQ(SysStateCheck_GetPageIsBusy(), 0);
    EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_PAGES);
}

TEST_F(SysStateCheckTest, AccOffWhileTheAppIsConnectedWaitsForTheLogout) {
    Send("app_status", "login");
    SetSetting("acc_on", 0);
    Send("acc_status", "off");
    EXPECT_FALSE(Shown(SYS_OVERLAY_PARKING_LOCK));
    Send("app_status", "logout");
    EXPECT_TRUE(Shown(SYS_OVERLAY_PARKING_LOCK));
}

// ---- going home ----

TEST_F(SysStateCheckTest, ThirtySecondsWithoutInputReturnHome) {
    Mgr()->Push("Pages/SysSetingSysSet");
    Advance(600);
    ASSERT_STREQ(TopPage(), "Pages/SysSetingSysSet");
    Advance(20000);
    pagetest::Click(KEY_CODE_NEXT); /* any input restarts the count */
    Advance(20000);
    EXPECT_STREQ(TopPage(), "Pages/SysSetingSysSet");
    Advance(9500);
    EXPECT_GE(CtrlCount("ctrl_screendormant", "reset"), 1u); /* the screen timer is reset before */
    Advance(1200);
    EXPECT_STREQ(TopPage(), "Pages/Home");
}

TEST_F(SysStateCheckTest, TheParkingEventToastIsNotLeftForHome) {
    Mgr()->Push("Pages/ParkingEvtToast");
    Advance(31000);
    EXPECT_STREQ(TopPage(), "Pages/ParkingEvtToast");
}

TEST_F(SysStateCheckTest, ParkingEventToastFollowsACollisionOnTheHomePage) {
    Send("acc_status", "on");
    Trigger("other"); /* a snapshot: the toast waits until they have settled */
    Send("parkingcollision_status", 1);
    Advance(4000);
    EXPECT_STREQ(TopPage(), "Pages/Home"); /* 5 s after the last snapshot */
    Advance(1500);
    EXPECT_STREQ(TopPage(), "Pages/ParkingEvtToast");
    EXPECT_FALSE(SysStateCheck_ParkingEvtRequested());
}

// ---- screen and wallpaper ----

TEST_F(SysStateCheckTest, ScreenCommands) {
    EXPECT_EQ(SysStateCheck_CtrlScreen("sleep"), -1);
    EXPECT_EQ(SysStateCheck_CtrlScreen(nullptr), -1);
    EXPECT_EQ(SysStateCheck_CtrlScreen("off"), 0);
    EXPECT_EQ(CtrlCount("ctrl_screendormant", "off"), 1u);
    Recorder().Result("IPCMSG_GENERALCTRL", 1);
    EXPECT_EQ(SysStateCheck_CtrlScreen("on"), -1); /* refused by the recorder */
}

TEST_F(SysStateCheckTest, DormantScreenShowsTheClockAndAKeyWakesIt) {
    Mgr()->Push("Pages/SysSetingSysSet");
    Advance(600);
    Send("screen_dormant", 1);
    Advance(400);
    ASSERT_TRUE(Shown(SYS_OVERLAY_WALLPAPER));
    EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_WALLPAPER);
    std::vector<std::string> texts;
    Texts(SysStateCheck_GetOverlay(SYS_OVERLAY_WALLPAPER), texts);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "2026 - 12 - 09"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "24"), texts.end());
    EXPECT_EQ(StatusBar_GetShowType(), STATUSBAR_SHOW_REC);
    Advance(600);
    EXPECT_STREQ(TopPage(), "Pages/Home"); /* the wallpaper goes home first */
    EXPECT_EQ(CtrlCount("ctrl_screendormant", "on"), 1u);
    EXPECT_EQ(CtrlCount("ctrl_screendormant", "pause"), 1u);
    Send("screen_dormant", 0); /* the recorder switched it on */
    // A long press does not wake; a short one does.
    pagetest::Key(KEY_CODE_OK, KEY_VALUE_PRESS);
    Advance(900);
    pagetest::Key(KEY_CODE_OK, KEY_VALUE_RELEASE);
    EXPECT_TRUE(Shown(SYS_OVERLAY_WALLPAPER));
    pagetest::Click(KEY_CODE_OK);
    EXPECT_FALSE(Shown(SYS_OVERLAY_WALLPAPER));
    EXPECT_EQ(SysStateCheck_GetKeyOwner(), SYS_KEYS_PAGES);
    EXPECT_EQ(CtrlCount("ctrl_screendormant", "resume"), 1u);
}

TEST_F(SysStateCheckTest, NoWallpaperWhenClosedOrParked) {
    SetLoaded("wallpaper", GS_WALLPAPER, 3);
    Send("screen_dormant", 1);
    Advance(700);
    EXPECT_FALSE(Shown(SYS_OVERLAY_WALLPAPER));
    SetLoaded("wallpaper", GS_WALLPAPER, 1);
    SetSetting("acc_on", 0);
    Send("acc_status", "off");
    Advance(700);
    EXPECT_FALSE(Shown(SYS_OVERLAY_WALLPAPER));
}

TEST_F(SysStateCheckTest, FullHourClockOnTheWallpaper) {
    SysStateCheck_SetClock(BeforeFullHour);
    SysStateCheck_CreateScreenLockPage();
    Advance(100);
    ASSERT_TRUE(Shown(SYS_OVERLAY_FULL_HOUR));
    EXPECT_EQ(lv_obj_get_index(SysStateCheck_GetOverlay(SYS_OVERLAY_FULL_HOUR)),
              lv_obj_get_index(SysStateCheck_GetOverlay(SYS_OVERLAY_WALLPAPER)) + 1);
    SysStateCheck_SetClock([]() { return BeforeFullHour() + 60; }); /* 11:00:00 */
    Advance(200);
    EXPECT_FALSE(Shown(SYS_OVERLAY_FULL_HOUR));
    SysStateCheck_SetClock(BeforeFullHour);
    Advance(1000);
    EXPECT_FALSE(Shown(SYS_OVERLAY_FULL_HOUR)); /* not again within a minute */
}

TEST_F(SysStateCheckTest, PowerButtonRequestShowsTheWallpaper) {
    int32_t s32Value = 0;
    ASSERT_NE(pagetest::TestAccount()->Subscribe(SYS_STATE_CHECK_ACCOUNT), nullptr);
    EXPECT_EQ(pagetest::TestAccount()->Notify(SYS_STATE_CHECK_ACCOUNT, &s32Value, sizeof s32Value), 0);
    EXPECT_TRUE(Shown(SYS_OVERLAY_WALLPAPER));
    uint8_t u8Bad = 0;
    EXPECT_EQ(pagetest::TestAccount()->Notify(SYS_STATE_CHECK_ACCOUNT, &u8Bad, 1),
              Account::RES_SIZE_MISMATCH);
}

// ---- the watcher thread ----

TEST_F(SysStateCheckTest, WatcherReleasesThePlayerAndLeavesPlayback) {
    SysStateCheck_MarkPlayerRelease();
    EXPECT_TRUE(SysStateCheck_PlayerReleasePending());
    for (int i = 0; i < 100 && SysStateCheck_PlayerReleasePending(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(SysStateCheck_PlayerReleasePending());
    // Leaving the player page in playback mode: released, then the recorder leaves playback.
    Send("switch_workmode", 2);
    Mgr()->Push("Pages/AlbumPlayer");
    Advance(600);
    Send("storage_status", "plugout");
    EXPECT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 1));
    EXPECT_GE(CtrlCount("ctrl_playbackmode", "exit"), 1u);
    // Deinit joins the watcher while it is asked to work.
    SysStateCheck_MarkPlayerRelease();
    SysStateCheck_Deinit();
    EXPECT_EQ(SysStateCheck_Init(Mgr()), 0);
}

// ---- randomised states ----

// Status messages drawn from the table's keys in random order and timing. Afterwards every
// overlay is explained by the last state of its key, the toast stack holds exactly the shown
// toasts once each, the key owner is the one the shown overlays call for, the top layer holds
// nothing else, and the LVGL heap is back where it was.
TEST_F(SysStateCheckTest, RandomStatesEndConsistent) {
    struct Key {
        const char *key;
        bool text;
        std::vector<std::string> values;
    };
    const std::vector<Key> keys = {
        {"app_status", true, {"login", "logout", "other"}},
        {"4g_app_status", true, {"login_p2p", "logout_p2p"}},
        {"p2p_talk_status", true, {"p2p_talk_start", "p2p_talk_stop"}},
        {"lock_status", true, {"login", "logout"}},
        {"update_state", false, {"0", "1"}},
        {"digicam_update_state", false, {"0", "1"}},
        {"digicaminside_update_state", false, {"0", "1"}},
        {"acc_status", true, {"on", "off"}},
        {"bt_empower", true, {"connect", "disconnect"}},
        {"bt_empower", false, {"0", "1"}},
        {"temp_high_reason", true, {"power_off", "wifi_off", "srceen_off", "other"}},
        {"screen_dormant", false, {"0", "1"}},
        {"digicam_rear_status", false, {"0", "1", "3", "6", "7", "8"}},
        {"digicam_inside_status", false, {"0", "1", "3", "6", "7", "8"}},
        {"car_forward", false, {"0", "1"}},
        {"notict_pedestrian", false, {"0", "1"}},
        {"storage_status", true, {"noinsert", "normal", "abnormal", "plugout"}},
        {"rec_status", true, {"start", "stop"}},
        {"gps_state", false, {"0", "1", "2"}},
        {"4G_level", false, {"-3", "2", "7"}},
        {"sensor_state", false, {"0", "1"}},
        {"disp_status", false, {"0", "1"}},
        {"switch_wifi", true, {"on", "off"}},
        {"gsensor_status", false, {"0", "1"}},
        {"kovar_bind_status", false, {"0", "1"}},
        {"writecardslow_remind", false, {"0", "1"}},
    };
    std::mt19937 rng(1509);
    lv_mem_monitor_t before;
    const uint32_t nOthers = lv_obj_get_child_cnt(lv_layer_top()); /* the status bar and the tips' */
    auto send = [&](const Key &k, const std::string &v) {
        if (strcmp(k.key, "acc_status") == 0) {
            SetSetting("acc_on", v == "on" ? 1 : 0);
        }
        std::string body =
            k.text ? R"({"string_params":[{"key":")" + std::string(k.key) + R"(","value":")" + v + R"("}]})"
                   : R"({"int_params":[{"key":")" + std::string(k.key) + R"(","value":)" + v + "}]}";
        pagetest::Deliver(pagetest::FakeRecorder::Msg("IPCMSG_SYSTEMSTATUS", body));
    };
    auto run = [&](int n) {
        for (int i = 0; i < n; ++i) {
            const Key &k = keys[rng() % keys.size()];
            send(k, k.values[rng() % k.values.size()]);
            if (rng() % 4 == 0) {
                Advance(10 * (rng() % 8)); /* bursts: several notices wait for the publish tick */
            }
        }
        Pump();
        Advance(7000); /* alerts and heat locks run out */
        Advance(20);
    };
    auto check = [&]() {
        SystemStatusInfo s;
        ASSERT_EQ(IpcMsg_GetSystemStatusInfo(&s, sizeof s), 0);
        EXPECT_EQ(Shown(SYS_OVERLAY_APP_LOCK), s.bAppLogin != 0);
        EXPECT_EQ(Shown(SYS_OVERLAY_4G_LOCK), s.b4GAppLogin != 0);
        EXPECT_EQ(Shown(SYS_OVERLAY_USB_LOCK), s.bLockLogin != 0);
        EXPECT_EQ(Shown(SYS_OVERLAY_UPDATING), s.bUpdating != 0);
        EXPECT_EQ(Shown(SYS_OVERLAY_DIGICAM_UPDATING),
                  s.bDigiCamUpdating != 0 || s.bDigiCamInsideUpdating != 0);
        if (s.bAccOff == 0) {
            EXPECT_FALSE(Shown(SYS_OVERLAY_PARKING_LOCK));
        } else if (s.bAppLogin == 0 && s.b4GAppLogin == 0) {
            EXPECT_TRUE(Shown(SYS_OVERLAY_PARKING_LOCK));
        }
        EXPECT_EQ(FileExists(SYS_PATH_PARKING_PAGE), Shown(SYS_OVERLAY_PARKING_LOCK));
        EXPECT_EQ(FileExists(SYS_PATH_APP_LOGIN), s.bAppLogin != 0 || s.b4GAppLogin != 0);
        EXPECT_EQ(s.bPageBusy != 0, s.bAppLogin != 0 || s.b4GAppLogin != 0);
        for (auto cam : {std::make_pair(SYS_OVERLAY_DIGICAM_REAR, s.iDigiCamRearStatus),
                         std::make_pair(SYS_OVERLAY_DIGICAM_INSIDE, s.iDigiCamInsideStatus)}) {
            if (cam.second == 1 || cam.second == 3) {
                EXPECT_FALSE(Shown(cam.first));
            }
        }
        EXPECT_FALSE(Shown(SYS_OVERLAY_TRIGGER));
        EXPECT_FALSE(Shown(SYS_OVERLAY_HIGH_TEMP));
        // The stack: each shown toast exactly once, nothing else.
        std::vector<ToastType> st = Stack();
        const std::pair<ToastType, SysStateOverlay> toasts[] = {
            {TOAST_EMPOWER, SYS_OVERLAY_EMPOWER},
            {TOAST_APP_LOCK, SYS_OVERLAY_APP_LOCK},
            {TOAST_STORAGE_ERR, SYS_OVERLAY_STORAGE_ERR},
            {TOAST_DIGICAM_REAR, SYS_OVERLAY_DIGICAM_REAR},
            {TOAST_DIGICAM_INSIDE, SYS_OVERLAY_DIGICAM_INSIDE}};
        size_t nShown = 0;
        for (auto t : toasts) {
            size_t n = (size_t)std::count(st.begin(), st.end(), t.first);
            EXPECT_EQ(n, Shown(t.second) ? 1u : 0u) << t.first;
            nShown += n;
        }
        EXPECT_EQ(st.size(), nShown);
        // The key owner the overlays call for.
        SysStateKeyOwner want = SYS_KEYS_PAGES;
        if (Shown(SYS_OVERLAY_UPDATING) || Shown(SYS_OVERLAY_DIGICAM_UPDATING) ||
            Shown(SYS_OVERLAY_4G_LOCK) || Shown(SYS_OVERLAY_USB_LOCK) || Shown(SYS_OVERLAY_PARKING_LOCK)) {
            want = SYS_KEYS_SWALLOWED;
        } else if (Shown(SYS_OVERLAY_WALLPAPER)) {
            want = SYS_KEYS_WALLPAPER;
        } else if (nShown > 0) {
            want = SYS_KEYS_TOAST;
        }
        EXPECT_EQ(SysStateCheck_GetKeyOwner(), want);
        // Nothing on the top layer but the status bar, the tip on screen and the shown overlays.
        uint32_t nOverlays = 0;
        for (int e = 0; e < SYS_OVERLAY_NUM; ++e) {
            if (e != SYS_OVERLAY_BLACK_BG && e != SYS_OVERLAY_EMPOWER_FAIL &&
                SysStateCheck_GetOverlay(static_cast<SysStateOverlay>(e)) != nullptr) {
                EXPECT_EQ(lv_obj_get_parent(SysStateCheck_GetOverlay(static_cast<SysStateOverlay>(e))),
                          lv_layer_top());
                ++nOverlays;
            }
        }
        EXPECT_EQ(lv_obj_get_child_cnt(lv_layer_top()), nOthers + nOverlays + InfoTips_OnScreenCount());
    };
    /* Warm-up: fonts of every size and the glyphs of every text are made once and kept, so every
     * value of every key goes in once before the heap is measured. */
    for (const Key &k : keys) {
        for (const std::string &v : k.values) {
            send(k, v);
            Pump();
        }
    }
    for (int round = 0; round < 2; ++round) {
        run(250);
        check();
    }
    SysStateCheck_Deinit();
    Advance(50);
    lv_mem_monitor(&before);
    ASSERT_EQ(SysStateCheck_Init(Mgr()), 0);
    for (int round = 0; round < 4; ++round) {
        run(400);
        check();
        if (HasFailure()) {
            break;
        }
    }
    SysStateCheck_Deinit();
    Advance(50);
    lv_mem_monitor_t after;
    lv_mem_monitor(&after);
    EXPECT_LE(after.total_size - after.free_size, before.total_size - before.free_size + 1024)
        << "LVGL heap grew";
    ASSERT_EQ(SysStateCheck_Init(Mgr()), 0);
}

} // namespace sysstatetest
