// Full redraw and one-label redraw of the settings-list scene, and the heap the scene takes.
#include <benchmark/benchmark.h>

#include "lvlite_scenes.h"

namespace {

struct Scene {
    lv_disp_t *disp = nullptr;
    settings_scene_t s{};
    lv_group_t *group = nullptr;
    uint32_t heap_bytes = 0;
    uint32_t heap_blocks = 0;

    Scene() {
        disp = scene_display_create();
        lv_refr_now(disp);
        lv_mem_monitor_t before, after;
        lv_mem_monitor(&before);
        scene_settings_build(lv_disp_get_scr_act(disp), &s);
        group = lv_group_create();
        for (lv_obj_t *row : s.rows)
            lv_group_add_obj(group, row);
        lv_obj_update_layout(s.list);
        lv_mem_monitor(&after);
        heap_bytes = after.total_size - before.total_size;
        heap_blocks = after.used_cnt - before.used_cnt;
        lv_refr_now(disp);
    }
    ~Scene() {
        lv_anim_del_all();
        lv_group_del(group);
        scene_display_delete(disp);
    }
};

void BM_FullRedraw(benchmark::State &state) {
    Scene sc;
    for (auto _ : state) {
        lv_obj_invalidate(lv_disp_get_scr_act(sc.disp));
        lv_refr_now(sc.disp);
    }
    state.counters["scene_heap_bytes"] = sc.heap_bytes;
    state.counters["scene_heap_blocks"] = sc.heap_blocks;
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

void BM_OneLabelUpdate(benchmark::State &state) {
    Scene sc;
    bool flip = false;
    for (auto _ : state) {
        lv_label_set_text(sc.s.values[0], flip ? "1440P" : "1080P");
        flip = !flip;
        lv_refr_now(sc.disp);
    }
}
BENCHMARK(BM_OneLabelUpdate)->Unit(benchmark::kMicrosecond);

void BM_SceneBuildAndDelete(benchmark::State &state) {
    lv_disp_t *disp = scene_display_create();
    for (auto _ : state) {
        settings_scene_t s;
        lv_obj_t *root = lv_obj_create(lv_disp_get_scr_act(disp));
        lv_obj_remove_style_all(root);
        lv_obj_set_size(root, SCENE_W, SCENE_H);
        scene_settings_build(root, &s);
        lv_obj_update_layout(root);
        lv_obj_del(root);
    }
    scene_display_delete(disp);
}
BENCHMARK(BM_SceneBuildAndDelete)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
