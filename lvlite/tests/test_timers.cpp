// Timers, asynchronous calls and deferred deletion.
#include "lv_test_env.h"

#include <string>
#include <vector>

namespace {

class Timers : public LvTest {
  protected:
    // Time since the test's start, as seen by the callbacks.
    uint32_t now() const { return lv_tick_get() - t0_; }
    void SetUp() override {
        LvTest::SetUp();
        t0_ = lv_tick_get();
    }
    uint32_t t0_ = 0;
};

std::vector<std::string> *g_log;

void log_timer(lv_timer_t *t) {
    g_log->push_back(static_cast<const char *>(t->user_data));
}

TEST_F(Timers, DueTimersRunNewestFirst) {
    std::vector<std::string> log;
    g_log = &log;
    lv_timer_t *a = lv_timer_create(log_timer, 50, (void *)"a");
    lv_timer_t *b = lv_timer_create(log_timer, 50, (void *)"b");
    advance(50, 50);
    EXPECT_EQ(log, (std::vector<std::string>{"b", "a"}));
    lv_timer_del(a);
    lv_timer_del(b);
}

std::vector<uint32_t> *g_times;
uint32_t g_t0;
void time_timer(lv_timer_t *) {
    g_times->push_back(lv_tick_get() - g_t0);
}

TEST_F(Timers, NextPeriodCountsFromTheActualRun) {
    std::vector<uint32_t> times;
    g_times = &times;
    g_t0 = lv_tick_get();
    lv_timer_t *t = lv_timer_create(time_timer, 100, nullptr);
    advance(390, 30);
    EXPECT_EQ(times, (std::vector<uint32_t>{120, 240, 360}));
    lv_timer_del(t);
}

TEST_F(Timers, ResumedAfterPausePastItsPeriodFiresAtOnce) {
    std::vector<uint32_t> times;
    g_times = &times;
    g_t0 = lv_tick_get();
    lv_timer_t *t = lv_timer_create(time_timer, 100, nullptr);
    lv_timer_pause(t);
    advance(250, 10);
    EXPECT_TRUE(times.empty());
    lv_timer_resume(t);
    advance(10, 10);
    EXPECT_EQ(times, (std::vector<uint32_t>{260}));
    lv_timer_del(t);
}

TEST_F(Timers, RepeatCountReadyResetAndPeriod) {
    std::vector<uint32_t> times;
    g_times = &times;
    g_t0 = lv_tick_get();
    lv_timer_t *t = lv_timer_create(time_timer, 100, nullptr);
    lv_timer_set_repeat_count(t, 2);
    lv_timer_ready(t);
    advance(10, 10);
    EXPECT_EQ(times, (std::vector<uint32_t>{10}));
    advance(60, 10);
    lv_timer_reset(t); // at 70: the next run is at 170
    lv_timer_set_period(t, 100);
    advance(200, 10);
    EXPECT_EQ(times, (std::vector<uint32_t>{10, 170}));
    // Two runs done: the timer deleted itself.
    bool found = false;
    for (lv_timer_t *i = lv_timer_get_next(nullptr); i; i = lv_timer_get_next(i))
        found |= i == t;
    EXPECT_FALSE(found);
}

void log_async(void *p) {
    g_log->push_back(static_cast<const char *>(p));
}

TEST_F(Timers, AsyncCallsRunInTheNextHandlerNewestFirst) {
    std::vector<std::string> log;
    g_log = &log;
    lv_async_call(log_async, (void *)"first");
    lv_async_call(log_async, (void *)"second");
    EXPECT_TRUE(log.empty());
    lv_timer_handler();
    EXPECT_EQ(log, (std::vector<std::string>{"second", "first"}));
    lv_timer_handler();
    EXPECT_EQ(log.size(), 2u);
}

void schedule_from_timer(lv_timer_t *t) {
    g_log->push_back("timer");
    lv_async_call(log_async, (void *)"async");
    lv_timer_del(t);
}

TEST_F(Timers, AsyncCallFromATimerRunsInTheSameHandlerCall) {
    std::vector<std::string> log;
    g_log = &log;
    lv_timer_create(schedule_from_timer, 10, nullptr);
    advance(10, 10);
    EXPECT_EQ(log, (std::vector<std::string>{"timer", "async"}));
}

TEST_F(Timers, AsyncCancel) {
    std::vector<std::string> log;
    g_log = &log;
    lv_async_call(log_async, (void *)"x");
    EXPECT_EQ(lv_async_call_cancel(log_async, (void *)"x"), LV_RES_OK);
    lv_timer_handler();
    EXPECT_TRUE(log.empty());
}

std::vector<lv_obj_t *> *g_deleted;
void record_delete(lv_event_t *e) {
    g_deleted->push_back(lv_event_get_target(e));
}

TEST_F(Timers, DelAsyncDeletesInTheNextHandler) {
    std::vector<lv_obj_t *> deleted;
    g_deleted = &deleted;
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_obj_add_event_cb(o, record_delete, LV_EVENT_DELETE, nullptr);
    lv_obj_del_async(o);
    EXPECT_TRUE(deleted.empty());
    lv_timer_handler();
    EXPECT_EQ(deleted, (std::vector<lv_obj_t *>{o}));
}

TEST_F(Timers, DelAsyncOfAnObjectDeletedMeanwhileIsDropped) {
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_obj_del_async(o);
    lv_obj_del_async(o);
    lv_obj_del(o);
    lv_timer_handler(); // must not touch the freed object
    EXPECT_EQ(lv_obj_get_child_cnt(lv_scr_act()), 0u);
}

} // namespace
