// The LVGL heap of each settings page while it is shown, and whether the heap comes back to its
// level after open/close cycles of every page over the settings home. In one process on the page
// harness (manual time, the real data processors, a fake recorder); runs itself in private
// namespaces.
//
//   sysseting_heap_bench [CYCLES]   (default 1000 cycles of every page)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench_support.h"
#include "bench_heap.h"
#include "AppFactory.h"
#include "StatusBar.h"
#include "page_test_env.h"

namespace {

using namespace bench;

const char *const kPages[][2] = {
    {"SysSetingHome", "Pages/SysSetingHome"},           {"SysSetingVideoSet", "Pages/SysSetingVideoSet"},
    {"SysSetingSysSet", "Pages/SysSetingSysSet"},       {"SysSetingSoundSet", "Pages/SysSetingSoundSet"},
    {"SysSetingScreenSet", "Pages/SysSetingScreenSet"},
};
constexpr size_t kPageNum = sizeof kPages / sizeof kPages[0];

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        printf("usage: sysseting_heap_bench [CYCLES]   LVGL heap of each settings page while shown, and\n"
               "after CYCLES (default 1000) open/close cycles of every page over the settings home\n");
        return 0;
    }
    RunIsolated(argc, argv);
    int cycles = argc > 1 ? atoi(argv[1]) : 1000;
    if (cycles < 1) {
        cycles = 1;
    }
    pagetest::Up("US");
    StatusBar_Create(lv_layer_top());
    pagetest::Advance(1100);

    AppFactory factory;
    PageManager mgr(&factory);
    for (const auto &p : kPages) {
        mgr.Install(p[0], p[1]);
    }
    size_t base = LvHeapUsed();
    mgr.Push(kPages[0][1]);
    pagetest::Advance(1000);
    size_t withHome = LvHeapUsed();
    printf("LVGL heap of %-20s %6zu bytes\n", kPages[0][0], withHome - base);
    // Each page once: its heap while shown over the settings home (the first load also takes the
    // fonts' glyphs of its texts, which stay in the cache).
    size_t afterFirst = 0;
    for (size_t i = 1; i < kPageNum; ++i) {
        size_t before = LvHeapUsed();
        mgr.Push(kPages[i][1]);
        pagetest::Advance(1000);
        printf("LVGL heap of %-20s %6zu bytes\n", kPages[i][0], LvHeapUsed() - before);
        mgr.Pop();
        pagetest::Advance(1000);
        afterFirst = LvHeapUsed();
    }
    std::vector<size_t> level;
    for (int c = 0; c < cycles; ++c) {
        for (size_t i = 1; i < kPageNum; ++i) {
            mgr.Push(kPages[i][1]);
            pagetest::Advance(600, 30);
            mgr.Pop();
            pagetest::Advance(600, 30);
        }
        level.push_back(LvHeapUsed());
    }
    size_t after = level.back();
    auto half = level.begin() + (long)level.size() / 2;
    size_t lo = *std::min_element(half, level.end()), hi = *std::max_element(half, level.end());
    printf("after each page once: %zu bytes; after %d more cycles of the %zu pages: %zu bytes (%+ld); over "
           "the last %ld cycles %zu..%zu\n",
           afterFirst, cycles, kPageNum - 1, after, (long)after - (long)afterFirst,
           (long)(level.end() - half), lo, hi);
    return lo == hi ? 0 : 1;
}
