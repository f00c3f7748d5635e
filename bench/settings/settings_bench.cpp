// The settings pages on the page harness (manual time, the real data processors, a fake
// recorder), one process run in private namespaces:
//   - open time: from the click that pushes a page (as the settings home's OK does) to the last
//     area the display flushes for its opening (the frame after its load animation ended): the
//     page's own time (virtual ms, the animation included) and the processor time the work took
//     (wall ms), median and worst of 50 opens;
//   - the LVGL heap of each page while shown;
//   - the heap after CYCLES open/close cycles of every page against its level after the first.
//
//   settings_bench [CYCLES]   (default 1000)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "AppFactory.h"
#include "StatusBar.h"
#include "bench_support.h"
#include "bench_heap.h"
#include "page_test_env.h"

namespace {

using namespace bench;

// Every settings page by class name; those this build does not create are skipped.
const char *const kPages[] = {
    "SysSetingHome",    "SysSetingVideoSet",    "SysSetingSysSet", "SysSetingSoundSet", "SysSetingScreenSet",
    "SysSetingParking", "SysSetingAlgorAssist", "SysSetingReset",  "SysSetingMore",     "SysSetingKovar"};

// The display's flushes, with the tick of the last one.
lv_disp_drv_t *s_pstDrv = nullptr;
void (*s_fnFlush)(lv_disp_drv_t *, const lv_area_t *, lv_color_t *) = nullptr;
uint32_t s_u32LastFlush = 0;
void CountingFlush(lv_disp_drv_t *drv, const lv_area_t *area, lv_color_t *px) {
    s_u32LastFlush = lv_tick_get();
    s_fnFlush(drv, area, px);
}

// Runs time until nothing was flushed for quiet ms (at most limit ms).
void Settle(uint32_t quiet = 300, uint32_t limit = 5000) {
    const uint32_t start = lv_tick_get();
    s_u32LastFlush = start;
    while (lv_tick_elaps(s_u32LastFlush) < quiet && lv_tick_elaps(start) < limit) {
        pagetest::Advance(10);
    }
}

// Runs time until the page's load animation ended and the display took the frame after it
// (animated parts of a page, a spinner or a scrolling label, flush on and are not waited for).
void SettleOpen(PageBase *page) {
    const uint32_t start = lv_tick_get();
    while (page != nullptr && (page->priv.State != PageBase::PAGE_STATE_ACTIVITY || page->priv.Anim.IsBusy) &&
           lv_tick_elaps(start) < 5000) {
        pagetest::Advance(10);
    }
    pagetest::Advance(40);
}

struct Figures {
    std::vector<double> virt, wall;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        printf("usage: settings_bench [CYCLES]   open time and LVGL heap of every settings page, and the\n"
               "heap after CYCLES (default 1000) open/close cycles of every page\n");
        return 0;
    }
    RunIsolated(argc, argv);
    int cycles = argc > 1 ? atoi(argv[1]) : 1000;
    cycles = std::max(cycles, 1);
    pagetest::Up("US");
    s_pstDrv = lv_disp_get_default()->driver;
    s_fnFlush = s_pstDrv->flush_cb;
    s_pstDrv->flush_cb = CountingFlush;
    StatusBar_Create(lv_layer_top());
    AppFactory factory;
    PageManager mgr(&factory);
    mgr.Install("Home", "Pages/Home");
    mgr.Push("Pages/Home");
    Settle();

    // The page manager keeps the names it is given: they live as long as it does.
    std::vector<std::string> pages, paths;
    pages.reserve(sizeof kPages / sizeof kPages[0]);
    paths.reserve(sizeof kPages / sizeof kPages[0]);
    for (const char *pcClass : kPages) {
        PageBase *probe = factory.CreatePage(pcClass);
        if (probe == nullptr) {
            continue;
        }
        delete probe;
        pages.push_back(pcClass);
        paths.push_back("Pages/" + pages.back());
        mgr.Install(pcClass, paths.back().c_str());
    }
    if (pages.empty()) {
        printf("no settings page in this build\n");
        return 1;
    }
    printf("%-22s %14s %14s %12s %12s\n", "page", "open virt ms", "open wall ms", "heap shown", "");
    printf("%-22s %14s %14s %12s\n", "", "median/worst", "median/worst", "bytes");
    int bad = 0;
    for (size_t p = 0; p < pages.size(); ++p) {
        const std::string &name = pages[p], &path = paths[p];
        Figures f;
        size_t shown = 0;
        for (int i = 0; i < 50; ++i) {
            const size_t before = LvHeapUsed();
            const auto t0 = std::chrono::steady_clock::now();
            const uint32_t v0 = lv_tick_get();
            PageBase *page = mgr.Push(path.c_str());
            SettleOpen(page);
            const auto t1 = std::chrono::steady_clock::now();
            f.virt.push_back((double)(s_u32LastFlush - v0));
            f.wall.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
            shown = LvHeapUsed() - before;
            mgr.Pop();
            Settle();
        }
        printf("%-22s %6.0f/%-7.0f %6.2f/%-7.2f %12zu\n", name.c_str(), Median(f.virt),
               *std::max_element(f.virt.begin(), f.virt.end()), Median(f.wall),
               *std::max_element(f.wall.begin(), f.wall.end()), shown);
    }
    // The status bar's clock runs on the machine's time: while its digits change the FreeType
    // glyph cache takes each digit once. The level is judged over the second half of the cycles.
    const size_t level = LvHeapUsed();
    std::vector<size_t> levels;
    for (int i = 0; i < cycles; ++i) {
        for (const std::string &path : paths) {
            mgr.Push(path.c_str());
            pagetest::Advance(600, 20);
            mgr.Pop();
            pagetest::Advance(600, 20);
        }
        levels.push_back(LvHeapUsed());
    }
    const auto half = levels.begin() + (long)levels.size() / 2;
    const size_t lo = *std::min_element(half, levels.end()), hi = *std::max_element(half, levels.end());
    printf("heap with home shown after the first opens: %zu bytes; after %d open/close cycles of every page: "
           "%zu bytes (%+ld); over the last %ld cycles %zu..%zu\n",
           level, cycles, levels.back(), (long)levels.back() - (long)level, (long)(levels.end() - half), lo,
           hi);
    bad += lo != hi;
    return bad;
}
