// Animations, their paths, and timelines.
#include "lv_test_env.h"

#include <vector>

namespace {

class Anim : public LvTest {};

struct Rec {
    std::vector<int32_t> values;
    int ready = 0;
    int deleted = 0;
};

void rec_exec(void *var, int32_t v) {
    static_cast<Rec *>(var)->values.push_back(v);
}
void rec_exec2(void *var, int32_t v) {
    static_cast<Rec *>(var)->values.push_back(v + 100000);
}
void rec_ready(lv_anim_t *a) {
    static_cast<Rec *>(a->var)->ready++;
}
void rec_deleted(lv_anim_t *a) {
    static_cast<Rec *>(a->var)->deleted++;
}

lv_anim_t make(Rec *r, int32_t from, int32_t to, uint32_t time) {
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, r);
    lv_anim_set_exec_cb(&a, rec_exec);
    lv_anim_set_values(&a, from, to);
    lv_anim_set_time(&a, time);
    lv_anim_set_ready_cb(&a, rec_ready);
    lv_anim_set_deleted_cb(&a, rec_deleted);
    return a;
}

TEST_F(Anim, LinearPathMapsTimeTo1024Steps) {
    Rec r;
    lv_anim_t a = make(&r, 0, 1000, 500);
    lv_anim_start(&a);
    EXPECT_EQ(r.values, (std::vector<int32_t>{0})); // early apply
    advance(100, 100);
    EXPECT_EQ(r.values.back(), 199);
    advance(400, 100);
    EXPECT_EQ(r.values.back(), 1000);
    EXPECT_EQ(r.ready, 1);
    EXPECT_EQ(r.deleted, 1);
    EXPECT_EQ(lv_anim_count_running(), 0);
}

TEST_F(Anim, ExecRunsOnlyOnChangeAndEarlyApplyOffWaitsForTheDelay) {
    Rec r;
    lv_anim_t a = make(&r, 5, 5, 200);
    lv_anim_start(&a);
    advance(300, 10);
    EXPECT_EQ(r.values, (std::vector<int32_t>{5}));
    Rec r2;
    lv_anim_t b = make(&r2, 0, 100, 100);
    lv_anim_set_early_apply(&b, false);
    lv_anim_set_delay(&b, 100);
    lv_anim_start(&b);
    advance(90, 10);
    EXPECT_TRUE(r2.values.empty());
    advance(200, 10);
    ASSERT_FALSE(r2.values.empty());
    EXPECT_GT(r2.values.front(), 0);
    EXPECT_EQ(r2.values.back(), 100);
}

TEST_F(Anim, TimePastTheEndOfACycleIsDropped) {
    Rec r;
    lv_anim_t a = make(&r, 0, 100, 100);
    lv_anim_set_repeat_count(&a, 2);
    lv_anim_start(&a);
    advance(150, 150); // late handler: the first cycle ends, the rest of the time is lost
    EXPECT_EQ(r.values.back(), 100);
    advance(50, 50);
    EXPECT_EQ(r.ready, 0);
    EXPECT_EQ(r.values.back(), 50); // 50 of 100 ms into the second cycle
    advance(50, 50);
    EXPECT_EQ(r.ready, 1);
}

TEST_F(Anim, SecondAnimationOnSameVarAndExecReplacesTheFirstWithoutReady) {
    Rec r;
    lv_anim_t a = make(&r, 0, 100, 100);
    lv_anim_start(&a);
    lv_anim_t other = make(&r, 0, 10, 100);
    lv_anim_set_exec_cb(&other, rec_exec2);
    lv_anim_start(&other);
    lv_anim_t b = make(&r, 50, 60, 100);
    lv_anim_start(&b);
    EXPECT_EQ(r.ready, 0);
    EXPECT_EQ(r.deleted, 1);
    EXPECT_EQ(lv_anim_count_running(), 2);
    EXPECT_EQ(lv_anim_get(&r, rec_exec)->start_value, 50);
    EXPECT_TRUE(lv_anim_del(&r, nullptr));
    EXPECT_EQ(lv_anim_count_running(), 0);
    EXPECT_EQ(r.ready, 0);
}

TEST_F(Anim, PlaybackAndInfiniteRepeat) {
    Rec r;
    lv_anim_t a = make(&r, 0, 100, 100);
    lv_anim_set_playback_time(&a, 100);
    lv_anim_set_playback_delay(&a, 50);
    lv_anim_start(&a);
    EXPECT_EQ(lv_anim_get_playtime(&a), 250u);
    advance(100, 100);
    EXPECT_EQ(r.values.back(), 100);
    advance(50, 50);
    EXPECT_EQ(r.values.back(), 100); // playback delay
    advance(100, 100);
    EXPECT_EQ(r.values.back(), 0);
    EXPECT_EQ(r.ready, 1);
    Rec inf;
    lv_anim_t b = make(&inf, 0, 10, 50);
    lv_anim_set_repeat_count(&b, LV_ANIM_REPEAT_INFINITE);
    lv_anim_start(&b);
    EXPECT_EQ(lv_anim_get_playtime(&b), LV_ANIM_PLAYTIME_INFINITE);
    advance(1000, 50);
    EXPECT_EQ(inf.ready, 0);
    EXPECT_EQ(lv_anim_count_running(), 1);
}

int32_t path_at(lv_anim_path_cb_t path, int32_t t) {
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_values(&a, 0, 1000);
    lv_anim_set_time(&a, 1000);
    a.act_time = t;
    return path(&a);
}

TEST_F(Anim, PathsStartAtStartAndEndAtEnd) {
    for (lv_anim_path_cb_t p : {lv_anim_path_linear, lv_anim_path_ease_in, lv_anim_path_ease_out,
                                lv_anim_path_ease_in_out, lv_anim_path_overshoot, lv_anim_path_bounce}) {
        EXPECT_EQ(path_at(p, 0), p == lv_anim_path_bounce ? path_at(p, 0) : 0);
        EXPECT_EQ(path_at(p, 1000), 1000);
    }
    // ease-out is ahead of linear, ease-in behind; overshoot goes past the end.
    EXPECT_GT(path_at(lv_anim_path_ease_out, 300), path_at(lv_anim_path_linear, 300));
    EXPECT_LT(path_at(lv_anim_path_ease_in, 300), path_at(lv_anim_path_linear, 300));
    EXPECT_GT(path_at(lv_anim_path_overshoot, 800), 1000);
    EXPECT_EQ(path_at(lv_anim_path_step, 999), 0);
    EXPECT_EQ(path_at(lv_anim_path_step, 1000), 1000);
}

TEST_F(Anim, TimelineAppliesEveryStartValueAtOnce) {
    Rec r1, r2;
    lv_anim_timeline_t *at = lv_anim_timeline_create();
    lv_anim_t a = make(&r1, 0, 100, 100);
    lv_anim_t b = make(&r2, 10, 20, 100);
    lv_anim_timeline_add(at, 0, &a);
    lv_anim_timeline_add(at, 200, &b);
    EXPECT_EQ(lv_anim_timeline_start(at), 300u);
    EXPECT_EQ(r1.values, (std::vector<int32_t>{0}));
    EXPECT_EQ(r2.values, (std::vector<int32_t>{10}));
    advance(300, 10);
    EXPECT_EQ(r1.values.back(), 100);
    EXPECT_EQ(r2.values.back(), 20);
    lv_anim_timeline_del(at);
}

TEST_F(Anim, TimelineProgressReverseAndStop) {
    Rec r1, r2;
    lv_anim_timeline_t *at = lv_anim_timeline_create();
    lv_anim_t a = make(&r1, 0, 100, 100);
    lv_anim_t b = make(&r2, 0, 100, 100);
    lv_anim_timeline_add(at, 0, &a);
    lv_anim_timeline_add(at, 100, &b);
    lv_anim_timeline_set_progress(at, 0x8000); // 100 of 200 ms
    EXPECT_EQ(r1.values.back(), 100);
    EXPECT_EQ(r2.values.back(), 0);
    lv_anim_timeline_set_progress(at, 0xFFFF); // the end
    EXPECT_EQ(r2.values.back(), 100);
    lv_anim_timeline_set_reverse(at, true);
    EXPECT_TRUE(lv_anim_timeline_get_reverse(at));
    lv_anim_timeline_start(at);
    EXPECT_EQ(r1.values.back(), 100);
    EXPECT_EQ(r2.values.back(), 100);
    advance(130, 10); // the animation timer runs every 30 ms
    EXPECT_EQ(r2.values.back(), 0);
    lv_anim_timeline_stop(at);
    EXPECT_EQ(lv_anim_count_running(), 0);
    lv_anim_timeline_del(at);
}

} // namespace

namespace {

class AnimDeletion : public LvTest {};

void delete_obj_exec(void *var, int32_t v) {
    if (v > 50)
        lv_obj_del(static_cast<lv_obj_t *>(var)); // also deletes this animation
}

TEST_F(AnimDeletion, ExecCallbackMayDeleteItsOwnAnimation) {
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, o);
    lv_anim_set_exec_cb(&a, delete_obj_exec);
    lv_anim_set_values(&a, 0, 100);
    lv_anim_set_time(&a, 100);
    lv_anim_start(&a);
    advance(200, 10);
    EXPECT_EQ(lv_anim_count_running(), 0);
    EXPECT_EQ(lv_obj_get_child_cnt(lv_scr_act()), 0u);
}

} // namespace
