// Every overlay of the supervision against its reviewed reference picture, in English, Chinese
// (non-Latin) and German (long words).
#include "sys_state_test_fixture.h"

namespace sysstatetest {

namespace {

struct Screen {
    const char *name;
    std::function<void()> raise;
};

const char *const kLangs[] = {"US", "CN", "GE"};

} // namespace

TEST_F(SysStateCheckTest, OverlayScreens) {
    const Screen screens[] = {
        {"app_lock", [] { Send("app_status", "login"); }},
        {"4g_lock", [] { Send("4g_app_status", "login_p2p"); }},
        {"4g_talking",
         [] {
             Send("4g_app_status", "login_p2p");
             Send("p2p_talk_status", "p2p_talk_start");
         }},
        {"usb_lock", [] { Send("lock_status", "login"); }},
        {"parking_lock",
         [] {
             SetSetting("acc_on", 0);
             Send("acc_status", "off");
         }},
        {"updating", [] { Send("update_state", 1); }},
        {"digicam_updating", [] { Send("digicaminside_update_state", 1); }},
        {"high_temp", [] { Send("temp_high_reason", "power_off"); }},
        {"empower", [] { Send("bt_empower", "connect"); }},
        {"empower_fail",
         [] {
             Send("bt_empower", "connect");
             Send("bt_empower", 0);
         }},
        {"rear_cam_error", [] { Send("digicam_rear_status", 6); }},
        {"rear_cam_stream", [] { Send("digicam_rear_status", 7); }},
        {"inside_cam_unplugged", [] { Send("digicam_inside_status", 0); }},
        {"alert_car_forward", [] { Send("car_forward", 1); }},
        {"alert_pedestrian", [] { Send("notict_pedestrian", 1); }},
        {"wallpaper_clock", [] { SysStateCheck_CreateScreenLockPage(); }},
        {"wallpaper_robot",
         [] {
             SetLoaded("wallpaper", GS_WALLPAPER, 0);
             SysStateCheck_CreateScreenLockPage();
         }},
        {"full_hour",
         [] {
             SysStateCheck_SetClock(BeforeFullHour);
             SysStateCheck_CreateScreenLockPage();
         }},
    };
    bool bFirst = true;
    for (const char *lang : kLangs) {
        for (const Screen &sc : screens) {
            SCOPED_TRACE(std::string(sc.name) + "_" + lang);
            if (!bFirst) {
                Restart();
            }
            bFirst = false;
            Lang_SetCode(lang);
            sc.raise();
            Advance(400); /* fade-ins end, the wallpaper's screen commands go out */
            DrainTips();
            pagetest::Refresh();
            EXPECT_TRUE(pagetest::MatchesReference(PAGE_TEST_REF_DIR, std::string(sc.name) + "_" + lang));
            EXPECT_GT(pagetest::CountNot(0x000000, 0, 0, pagetest::kW - 1, pagetest::kH - 1), 500u)
                << "blank screen";
        }
    }
}

} // namespace sysstatetest
