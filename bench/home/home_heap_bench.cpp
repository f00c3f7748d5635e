// The LVGL heap of the status bar and of the home page, and whether it comes back to its level
// after push/pop cycles of another page over the home page. In one process on the page harness
// (manual time, the real data processors, a fake recorder); runs itself in private namespaces.
//
//   home_heap_bench [CYCLES]   (default 1000)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

#include "bench_support.h"
#include "bench_heap.h"
#include "AppFactory.h"
#include "Home.h"
#include "StatusBar.h"
#include "lv_label_ext_func.h"
#include "page_test_env.h"

namespace {

using namespace bench;

// A small page pushed over the home page: a panel with a few labels, as a settings page has.
class OtherPage : public PageBase {
  public:
    void onAttrConfig() override { SetLoadAnim(PageManager::LOAD_ANIM_OVER_LEFT, 200); }
    void onViewLoad() override {
        lv_obj_set_style_bg_opa(root, LV_OPA_COVER, LV_PART_MAIN);
        for (int i = 0; i < 4; ++i) {
            lv_obj_t *l = lv_label_create(root);
            lv_label_set_text_fmt(l, "row %d", i);
            lv_obj_align(l, LV_ALIGN_TOP_LEFT, 10, 40 + 30 * i);
        }
    }
};

class BenchFactory : public AppFactory {
  public:
    PageBase *CreatePage(const char *name) override {
        if (strcmp(name, "Other") == 0) {
            return new OtherPage;
        }
        return AppFactory::CreatePage(name);
    }
};

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        printf("usage: home_heap_bench [CYCLES]   LVGL heap of the status bar and the home page, and after\n"
               "CYCLES (default 1000) push/pop cycles of another page over the home page\n");
        return 0;
    }
    RunIsolated(argc, argv);
    int cycles = argc > 1 ? atoi(argv[1]) : 1000;
    if (cycles < 1) {
        cycles = 1;
    }
    pagetest::Up("US");
    pagetest::Advance(100);
    size_t base = LvHeapUsed();
    StatusBar_Create(lv_layer_top());
    pagetest::Advance(1100);
    size_t withBar = LvHeapUsed();

    BenchFactory factory;
    PageManager mgr(&factory);
    mgr.Install("Home", "Pages/Home");
    mgr.Install("Other", "Pages/Other");
    mgr.Push("Pages/Home");
    pagetest::Advance(2000);
    size_t withHome = LvHeapUsed();
    // One cycle first: the other page's first load and what stays cached after it.
    mgr.Push("Pages/Other");
    pagetest::Advance(400);
    mgr.Pop();
    pagetest::Advance(400);
    size_t afterFirst = LvHeapUsed();
    // The clock of the status bar runs on the machine's time: while its digits change the
    // FreeType glyph cache takes each digit once. The level is judged over the second half.
    std::vector<size_t> level;
    for (int i = 0; i < cycles; ++i) {
        mgr.Push("Pages/Other");
        pagetest::Advance(300);
        mgr.Pop();
        pagetest::Advance(300);
        level.push_back(LvHeapUsed());
    }
    size_t after = level.back();
    auto half = level.begin() + (long)level.size() / 2;
    size_t lo = *std::min_element(half, level.end()), hi = *std::max_element(half, level.end());
    printf("LVGL heap of the status bar: %zu bytes\n", withBar - base);
    printf("LVGL heap of the home page (view, timers, model): %zu bytes\n", withHome - withBar);
    printf("after 1 push/pop of another page over home: %zu bytes (%+ld against home shown)\n", afterFirst,
           (long)afterFirst - (long)withHome);
    printf(
        "after %d more push/pop cycles: %zu bytes (%+ld against after the first); over the last %ld cycles "
        "%zu..%zu\n",
        cycles, after, (long)after - (long)afterFirst, (long)(level.end() - half), lo, hi);
    return lo == hi ? 0 : 1;
}
