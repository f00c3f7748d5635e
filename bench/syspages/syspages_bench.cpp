// Figures of the system pages, in one process on the page harness (the real pages, page manager
// and data processors, a fake recorder, a 320 x 170 display in memory, manual time):
//   1. from what raises a page to its last area flushed: the push of the parking event toast and
//      of the installation guide (as supervision and start-up push them), the factory test's
//      status message "test_screenkey" through supervision, and a key of the factory test to its
//      colour on the panel. Two numbers each, median and worst over N runs: the screen time
//      (manual-time ms until the last flush: the page's animations and timer periods) and the
//      processor time the user interface spent until then (wall time of the timer handler runs);
//   2. the LVGL heap of each page while it shows, and after it went (what it leaves behind).
// Runs itself in private namespaces (scripts/run-isolated).
//
//   syspages_bench [RUNS]   (default 20)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bench_support.h"
#include "bench_heap.h"
#include "AppFactory.h"
#include "DataProc.h"
#include "StatusBar.h"
#include "SysStateCheck.h"
#include "key.h"
#include "page_test_env.h"

namespace {

using namespace bench;

// ---- flushes ----

void (*g_origFlush)(lv_disp_drv_t *, const lv_area_t *, lv_color_t *) = nullptr;
uint32_t g_lastFlushTick = 0;
double g_lastFlushCpu = 0;
double g_cpu = 0; // wall time spent in the timer handler since the trigger

void CountingFlush(lv_disp_drv_t *drv, const lv_area_t *area, lv_color_t *px) {
    g_lastFlushTick = lv_tick_get();
    g_lastFlushCpu = g_cpu;
    g_origFlush(drv, area, px);
}

double WallMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Run {
    double screenMs;
    double cpuMs;
};

// Triggers, then steps time (10 ms steps, wall time of each handler run counted) until nothing
// was flushed for quietMs; the last flush's time against the trigger's.
Run Measure(const std::function<void()> &trigger, uint32_t quietMs = 1000) {
    pagetest::Advance(50);
    g_cpu = 0;
    g_lastFlushCpu = 0;
    uint32_t t0 = lv_tick_get();
    g_lastFlushTick = t0;
    double w = WallMs();
    trigger();
    g_cpu += WallMs() - w;
    while (lv_tick_elaps(g_lastFlushTick) < quietMs) {
        lv_tick_inc(10);
        w = WallMs();
        lv_timer_handler();
        g_cpu += WallMs() - w;
        usleep(200); // the receive threads and the save thread work in real time
    }
    return {(double)(g_lastFlushTick - t0), g_lastFlushCpu};
}

void Report(const char *what, std::vector<Run> runs) {
    std::vector<double> s, c;
    for (const Run &r : runs) {
        s.push_back(r.screenMs);
        c.push_back(r.cpuMs);
    }
    std::sort(s.begin(), s.end());
    std::sort(c.begin(), c.end());
    printf("%-52s screen %6.0f ms median %6.0f worst | processor %6.2f ms median %6.2f worst\n", what,
           s[s.size() / 2], s.back(), c[c.size() / 2], c.back());
}

// A page standing for the home page below the system pages (its own figures are bench/home's).
class BasePage : public PageBase {};

void SetSetting(const char *key, int value) {
    cJSON *s = pagetest::Recorder().LockSettings();
    cJSON_DeleteItemFromObjectCaseSensitive(s, key);
    cJSON_AddNumberToObject(s, key, value);
    pagetest::Recorder().UnlockSettings();
}

void Status(const char *key, int value) {
    pagetest::Deliver(pagetest::FakeRecorder::Msg(
        "IPCMSG_SYSTEMSTATUS", "{\"int_params\":[{\"key\":\"" + std::string(key) +
                                   "\",\"value\":" + std::to_string(value) + "}],\"string_params\":[]}"));
}

// The recorder's key message, handled at once (the key timer hands it to the page).
void KeyMessage(uint32_t code, uint32_t value) {
    pagetest::Deliver(
        pagetest::FakeRecorder::Msg("IPCMSG_KEYEVENT", "{\"keycode\":" + std::to_string(code) +
                                                           ",\"keyvalue\":" + std::to_string(value) + "}"));
}

std::string TopName(PageManager &mgr) {
    PageBase *p = mgr.GetStackTop();
    return p != nullptr ? p->Name : "";
}

// Between runs the stand-in home page is the only page: supervision's return home after 30 s
// without input may have reset the stack meanwhile.
void HomeOnTop(PageManager &mgr) {
    if (TopName(mgr) != "Pages/Home") {
        mgr.SetStackClear();
        mgr.Push("Pages/Home");
        pagetest::Advance(1500);
    }
}

// Settings saves go out one every 50 ms of real time: lets the queue empty.
void DrainSaves() {
    for (int i = 0; i < 500 && DP_GeneralSeting_PendingSaves() > 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        printf("usage: syspages_bench [RUNS]   time from what raises each system page to its last area\n"
               "flushed (median and worst of RUNS, default 20) and the LVGL heap of each page\n");
        return 0;
    }
    RunIsolated(argc, argv);
    int runs = argc > 1 ? atoi(argv[1]) : 20;
    if (runs < 1) {
        runs = 1;
    }
    pagetest::Up("US");
    SetSetting("installtion_guidecnt", 1);
    // The parking toast's event list: none (the list file is not read for an empty list).
    pagetest::Recorder().On("GET_EMER_EVENT_LIST", [](const cJSON *) {
        cJSON *b = cJSON_CreateObject();
        for (const char *k : {"filecount", "offsetaddr", "catfilecount", "catfileoffsetaddr"}) {
            cJSON_AddNumberToObject(b, k, 0);
        }
        return b;
    });
    StatusBar_Create(lv_layer_top());
    lv_disp_t *disp = lv_disp_get_default();
    g_origFlush = disp->driver->flush_cb;
    disp->driver->flush_cb = CountingFlush;

    AppFactory factory;
    PageManager mgr(&factory);
    mgr.Register(new BasePage, "Pages/Home"); /* the manager deletes it */
    /* Page names are kept by the manager, not copied. */
    mgr.Install("ParkingEvtToast", "Pages/ParkingEvtToast");
    mgr.Install("InstallGuide", "Pages/InstallGuide");
    mgr.Install("FacTest", "Pages/FacTest");
    mgr.Push("Pages/Home");
    pagetest::Advance(1500);
    if (SysStateCheck_Init(&mgr) != 0) {
        fprintf(stderr, "syspages_bench: supervision did not start\n");
        return 1;
    }
    pagetest::Advance(1500);

    struct HeapRow {
        const char *page;
        size_t shown, after;
    };
    std::vector<HeapRow> heaps;
    DrainSaves();

    // ---- the parking event toast, pushed over the home page ----
    {
        std::vector<Run> v;
        size_t before = 0, shown = 0;
        for (int i = 0; i < runs; ++i) {
            before = LvHeapUsed();
            v.push_back(Measure([&] { mgr.Push("Pages/ParkingEvtToast"); }, 700));
            shown = LvHeapUsed();
            pagetest::Click(KEY_CODE_BACK);
            pagetest::Advance(1500);
            DrainSaves(); // the two counters it cleared
            HomeOnTop(mgr);
        }
        Report("parking event toast: push -> last flush", v);
        heaps.push_back({"parking event toast", shown - before, LvHeapUsed() - before});
    }

    // ---- the installation guide at its closing step (the settings pages are not in this build) ----
    {
        std::vector<Run> v;
        size_t before = 0, shown = 0;
        for (int i = 0; i < runs; ++i) {
            before = LvHeapUsed();
            v.push_back(Measure([&] { mgr.Push("Pages/InstallGuide"); }, 1000));
            shown = LvHeapUsed();
            mgr.Pop();
            pagetest::Advance(1500);
            HomeOnTop(mgr);
        }
        Report("installation guide: push -> closing page's last flush", v);
        heaps.push_back({"installation guide", shown - before, LvHeapUsed() - before});
    }

    // ---- the factory test through supervision, and its keys ----
    {
        std::vector<Run> v, keys;
        size_t before = 0, shown = 0;
        for (int i = 0; i < runs; ++i) {
            before = LvHeapUsed();
            v.push_back(Measure([&] { Status("test_screenkey", 1); }, 700));
            shown = LvHeapUsed();
            if (TopName(mgr) != "Pages/FacTest") {
                fprintf(stderr, "syspages_bench: the factory test did not come up\n");
                return 1;
            }
            static const uint32_t s_keys[] = {KEY_CODE_OK, KEY_CODE_NEXT, KEY_CODE_PREV, KEY_CODE_BACK};
            for (uint32_t k : s_keys) {
                pagetest::Key(k, KEY_VALUE_PRESS);
                pagetest::Advance(50);
                keys.push_back(Measure([&] { KeyMessage(k, KEY_VALUE_RELEASE); }, 300));
            }
            Status("test_screenkey", 0);
            pagetest::Advance(1500);
            HomeOnTop(mgr);
        }
        Report("factory test: status test_screenkey -> last flush", v);
        Report("factory test: key release message -> colour flushed", keys);
        heaps.push_back({"factory test", shown - before, LvHeapUsed() - before});
    }

    for (const HeapRow &h : heaps) {
        printf("LVGL heap of the %-20s %7zu bytes while shown, %+ld bytes after it went\n", h.page, h.shown,
               (long)h.after);
    }
    SysStateCheck_Deinit();
    return 0;
}
