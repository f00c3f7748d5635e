// The LVGL heap of each overlay of the system state supervision: raised by its status message,
// measured, cleared, measured again (the heap must come back). Each overlay is raised once
// before it is measured, so that the fonts of its sizes and the glyphs of its texts, which stay
// cached, are not counted. In one process on the page harness (manual time, the real data
// processors, a fake recorder); runs itself in private namespaces.
//
//   sysstate_heap_bench [LANG]   (default US)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "DataProc.h"
#include "StatusBar.h"
#include "SysStateCheck.h"
#include "bench_support.h"
#include "bench_heap.h"
#include "lv_label_ext_func.h"
#include "page_test_env.h"

namespace {

using namespace bench;

class BlankPage : public PageBase {};

class BlankFactory : public PageFactory {
  public:
    PageBase *CreatePage(const char *) override { return new BlankPage; }
};

void Status(const std::string &key, const std::string &value) {
    bool bNumber = !value.empty() && value.find_first_not_of("-0123456789") == std::string::npos;
    std::string item = R"({"key":")" + key + R"(","value":)" + (bNumber ? value : "\"" + value + "\"") + "}";
    pagetest::Deliver(pagetest::FakeRecorder::Msg(
        "IPCMSG_SYSTEMSTATUS",
        std::string(R"({")") + (bNumber ? "int_params" : "string_params") + R"(":[)" + item + "]}"));
    pagetest::AdvanceUntil([] { return DP_SystemStatus_PendingCount() == 0; });
    pagetest::Advance(400);
}

struct Overlay {
    const char *name;
    std::function<void()> raise;
    std::function<void()> clear;
};

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        printf("usage: sysstate_heap_bench [LANG]   LVGL heap of each overlay of the system state\n"
               "supervision (texts in LANG, default US)\n");
        return 0;
    }
    RunIsolated(argc, argv);
    const char *lang = argc > 1 ? argv[1] : "US";
    pagetest::Up(lang);
    StatusBar_Create(lv_layer_top());
    BlankFactory factory;
    PageManager mgr(&factory);
    mgr.Install("Home", "Pages/Home");
    mgr.Push("Pages/Home");
    pagetest::Advance(600);
    SysStateCheck_Init(&mgr);
    pagetest::Advance(3000); /* start-up tips */

    const Overlay overlays[] = {
        {"app lock", [] { Status("app_status", "login"); }, [] { Status("app_status", "logout"); }},
        {"4G lock", [] { Status("4g_app_status", "login_p2p"); },
         [] { Status("4g_app_status", "logout_p2p"); }},
        {"USB lock", [] { Status("lock_status", "login"); }, [] { Status("lock_status", "logout"); }},
        {"firmware update lock", [] { Status("update_state", "1"); }, [] { Status("update_state", "0"); }},
        {"camera update lock", [] { Status("digicam_update_state", "1"); },
         [] { Status("digicam_update_state", "0"); }},
        {"high-temperature lock", [] { Status("temp_high_reason", "power_off"); },
         [] { Status("temp_high_reason", "other"); }},
        {"parking lock",
         [] {
             cJSON *s = pagetest::Recorder().LockSettings();
             cJSON_DeleteItemFromObjectCaseSensitive(s, "acc_on");
             cJSON_AddNumberToObject(s, "acc_on", 0);
             pagetest::Recorder().UnlockSettings();
             Status("acc_status", "off");
         },
         [] {
             cJSON *s = pagetest::Recorder().LockSettings();
             cJSON_DeleteItemFromObjectCaseSensitive(s, "acc_on");
             cJSON_AddNumberToObject(s, "acc_on", 1);
             pagetest::Recorder().UnlockSettings();
             Status("acc_status", "on");
         }},
        {"empower page", [] { Status("bt_empower", "connect"); }, [] { Status("bt_empower", "1"); }},
        {"rear camera error page", [] { Status("digicam_rear_status", "6"); },
         [] { Status("digicam_rear_status", "1"); }},
        {"driving alert", [] { Status("car_forward", "1"); }, [] { pagetest::Advance(5200); }},
        {"wallpaper clock",
         [] {
             static const int32_t s_item = GS_WALLPAPER;
             cJSON *s = pagetest::Recorder().LockSettings();
             cJSON_DeleteItemFromObjectCaseSensitive(s, "wallpaper");
             cJSON_AddNumberToObject(s, "wallpaper", 1);
             pagetest::Recorder().UnlockSettings();
             SysStateCheck_LoadGeneralSeting(&s_item, 1);
             SysStateCheck_CreateScreenLockPage();
             pagetest::Advance(400);
         },
         [] {
             SysStateCheck_DestroyScreenLockAndFullHourPage();
             pagetest::Advance(100);
         }},
    };
    printf("LVGL heap of each overlay (texts in %s), bytes while shown; after it went, against before:\n",
           lang);
    int rc = 0;
    for (const Overlay &o : overlays) {
        o.raise(); /* first time: fonts and glyphs */
        o.clear();
        pagetest::Advance(3000); /* tips of the state go */
        size_t before = LvHeapUsed();
        o.raise();
        size_t shown = LvHeapUsed();
        o.clear();
        pagetest::Advance(3000);
        size_t after = LvHeapUsed();
        printf("  %-24s %7ld   %+ld\n", o.name, (long)shown - (long)before, (long)after - (long)before);
        rc |= after > before + 256 ? 1 : 0;
    }
    SysStateCheck_Deinit();
    return rc;
}
