// The tips of the account "InfoTips": one on screen, the queue and its same-text rule, the views
// and their pictures in several languages.
#include <gtest/gtest.h>

#include <string>

#include "DataProc.h"
#include "InfoTips.h"
#include "lv_label_ext_func.h"
#include "page_test_env.h"

namespace {

using namespace pagetest;

int Tip(int32_t type, const char *text, const char *desc = nullptr) {
    TipsInfo info{type, text, desc, nullptr};
    return TestAccount()->Notify(DP_ACCOUNT_INFO_TIPS, &info, sizeof(info));
}

std::string OnScreenText() {
    lv_obj_t *o = InfoTips_OnScreenObj();
    return o != nullptr ? lv_label_get_text(o) : "";
}

class InfoTips : public ::testing::Test {
  protected:
    void SetUp() override { Up("US"); }
    // Lets every tip run out.
    void TearDown() override {
        for (int i = 0; i < 20 && (InfoTips_OnScreenCount() != 0 || InfoTips_QueueSize() != 0); i++)
            Advance(2400);
        Advance(50);
        ASSERT_EQ(InfoTips_OnScreenCount(), 0u);
    }
};

TEST_F(InfoTips, OneOnScreenTheOthersQueuedSameTextAtTheHeadDropped) {
    ASSERT_EQ(Tip(TIPS_TYPE_NORMAL, "LANG_RES_ID_START_REC"), 0);
    EXPECT_EQ(InfoTips_OnScreenCount(), 1u);
    EXPECT_EQ(OnScreenText(), "Recording started");
    Tip(TIPS_TYPE_NORMAL, "LANG_RES_ID_REAR_INSERT");
    Tip(TIPS_TYPE_NORMAL, "LANG_RES_ID_REAR_INSERT"); // same text at the head: dropped
    EXPECT_EQ(InfoTips_QueueSize(), 1u);
    Tip(TIPS_TYPE_NORMAL, "LANG_RES_ID_STOP_REC");
    Tip(TIPS_TYPE_NORMAL, "LANG_RES_ID_STOP_REC"); // same text, but not at the head: queued again
    EXPECT_EQ(InfoTips_QueueSize(), 3u);
    // The text on screen is not the head of the queue: the same tip is queued.
    Tip(TIPS_TYPE_NORMAL, "LANG_RES_ID_START_REC");
    EXPECT_EQ(InfoTips_QueueSize(), 4u);

    // Each tip stays a full period, then hides (200 ms) and the next one comes.
    Advance(2000);
    EXPECT_EQ(OnScreenText(), "Recording started");
    Advance(400);
    EXPECT_EQ(OnScreenText(), "Rear camera connected");
    EXPECT_EQ(InfoTips_QueueSize(), 3u);
    Advance(2300);
    EXPECT_EQ(OnScreenText(), "Recording stopped");
    Advance(2300);
    EXPECT_EQ(OnScreenText(), "Recording stopped");
    Advance(2300);
    EXPECT_EQ(OnScreenText(), "Recording started");
    EXPECT_EQ(InfoTips_QueueSize(), 0u);
}

// A peer flipping a status as fast as it can (the head rule lets every other tip through) fills
// the queue to its bound, not for hours; the first queued tips still come in order.
TEST_F(InfoTips, AFloodOfAlternatingTipsStopsAtTheQueueBound) {
    ASSERT_EQ(Tip(TIPS_TYPE_NORMAL, "LANG_RES_ID_START_REC"), 0);
    for (int i = 0; i < 200; i++) {
        Tip(TIPS_TYPE_NORMAL, i % 2 ? "LANG_RES_ID_START_REC" : "LANG_RES_ID_STOP_REC");
    }
    EXPECT_EQ(InfoTips_QueueSize(), INFO_TIPS_QUEUE_MAX);
    Advance(2400);
    EXPECT_EQ(OnScreenText(), "Recording stopped");
    EXPECT_EQ(InfoTips_QueueSize(), INFO_TIPS_QUEUE_MAX - 1);
}

TEST_F(InfoTips, AnUnknownIdIsShownAsItIsAndBadRequestsAreRefused) {
    Tip(TIPS_TYPE_NORMAL, "Plain words");
    EXPECT_EQ(OnScreenText(), "Plain words");
    TipsInfo info{0, nullptr, nullptr, nullptr};
    EXPECT_EQ(TestAccount()->Notify(DP_ACCOUNT_INFO_TIPS, &info, sizeof(info)), Account::RES_FAILED);
    EXPECT_EQ(TestAccount()->Notify(DP_ACCOUNT_INFO_TIPS, &info, sizeof(info) - 1),
              Account::RES_SIZE_MISMATCH);
    EXPECT_EQ(TestAccount()->Pull(DP_ACCOUNT_INFO_TIPS, &info, sizeof(info)), Account::RES_UNSUPPORTED);
    // A type that shows nothing leaves the screen free for the next tip.
    Advance(2400);
    Tip(7, "LANG_RES_ID_START_REC");
    EXPECT_EQ(InfoTips_OnScreenCount(), 0u);
    Tip(TIPS_TYPE_NORMAL, "LANG_RES_ID_STOP_REC");
    EXPECT_EQ(OnScreenText(), "Recording stopped");
}

TEST_F(InfoTips, NormalTipGeometryAndTheWidthLimit) {
    Tip(TIPS_TYPE_NORMAL, "LANG_RES_ID_START_REC");
    Advance(300);
    lv_obj_t *o = InfoTips_OnScreenObj();
    ASSERT_NE(o, nullptr);
    lv_obj_update_layout(o);
    EXPECT_EQ(lv_obj_get_parent(o), lv_layer_top());
    EXPECT_EQ(lv_obj_get_y(o), 45);
    EXPECT_EQ(lv_obj_get_x(o) * 2 + lv_obj_get_width(o), kW) << "centred";
    EXPECT_LT(lv_obj_get_width(o), kW * 9 / 10);
    // The background in the middle of the tip's left padding.
    Refresh();
    EXPECT_EQ(Frame()[(size_t)(45 + 6) * kW + (size_t)(lv_obj_get_x(o) + 22)] & 0xFFFFFF, 0x252525u);
    Advance(2400);

    Tip(TIPS_TYPE_NORMAL, "A tip that is much too long to fit on this small screen in one line");
    Advance(300);
    o = InfoTips_OnScreenObj();
    lv_obj_update_layout(o);
    EXPECT_EQ(lv_obj_get_width(o), kW * 9 / 10);
    EXPECT_EQ(lv_obj_get_y(o), 25);
    EXPECT_GT(lv_obj_get_height(o), 2 * 23) << "the text wraps";
}

TEST_F(InfoTips, ShowAndHideAnimateTheOpacity) {
    Tip(TIPS_TYPE_NORMAL, "LANG_RES_ID_START_REC");
    lv_obj_t *o = InfoTips_OnScreenObj();
    Advance(20);
    EXPECT_LT(lv_obj_get_style_opa(o, 0), LV_OPA_COVER);
    Advance(300);
    EXPECT_EQ(lv_obj_get_style_opa(o, 0), LV_OPA_COVER);
    Advance(1800 + 100);
    EXPECT_LT(lv_obj_get_style_opa(o, 0), LV_OPA_COVER) << "hiding";
    Advance(200);
    EXPECT_EQ(InfoTips_OnScreenCount(), 0u);
}

// The three views in three languages, one of them not in Latin script.
class InfoTipsPictures : public InfoTips, public ::testing::WithParamInterface<const char *> {};

TEST_P(InfoTipsPictures, ThreeViews) {
    const std::string lang = GetParam();
    Up(lang.c_str());
    SetBackground(0x5A6E82); // a grey-blue picture behind, so that the translucent views show
    Tip(TIPS_TYPE_NORMAL, "LANG_RES_ID_START_REC");
    Advance(300);
    EXPECT_TRUE(MatchesReference(PAGE_TEST_REF_DIR, "tip_normal_" + lang));
    EXPECT_GT(CountNot(0x5A6E82, 0, 45, kW - 1, 80), 3000u) << "the tip is drawn";
    Advance(2400);
    Tip(TIPS_TYPE_WARNING, "LANG_RES_ID_SDCAR_OUTED");
    Advance(300);
    EXPECT_TRUE(MatchesReference(PAGE_TEST_REF_DIR, "tip_warning_" + lang));
    Advance(2400);
    Tip(TIPS_TYPE_WARNING, "LANG_RES_ID_CHANGE_REAR_ERROR", "LANG_RES_ID_CHANGE_REAR_ERROR_TITLE");
    Advance(300);
    EXPECT_TRUE(MatchesReference(PAGE_TEST_REF_DIR, "tip_warning_desc_" + lang));
    SetBackground(0x000000);
    Up("US");
}

INSTANTIATE_TEST_SUITE_P(Languages, InfoTipsPictures, ::testing::Values("US", "RU", "CN"));

} // namespace
