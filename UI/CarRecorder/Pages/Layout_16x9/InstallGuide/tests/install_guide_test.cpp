// The installation guide on the page harness: the real page manager pushes the guide, which
// pushes stand-ins of the settings pages (they record the argument they were given, and the test
// confirms on them as the user would). Steps, step arithmetic, the retry while the page manager
// is busy, the closing page and its keys, a build without the settings pages.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "AppFactory.h"
#include "DataProc.h"
#include "InstallGuide.h"
#include "StatusBar.h"
#include "key.h"
#include "page_test_env.h"
#include "sys_paths.h"
#include "vyx_ui_common_data.h"

namespace {

using pagetest::Advance;
using pagetest::AdvanceUntil;
using pagetest::Recorder;

// A settings page of the guide: remembers the one-byte argument of its last push.
class StepPage : public PageBase {
  public:
    void onViewLoad() override {
        uint8_t u8 = 0;
        arg = StashRead(&u8, 1) ? u8 : -1;
        ++loads;
    }
    int arg = -1;
    int loads = 0;
};

int SettingOf(const char *key) {
    cJSON *s = Recorder().LockSettings();
    cJSON *v = cJSON_GetObjectItemCaseSensitive(s, key);
    int n = cJSON_IsNumber(v) ? v->valueint : -1;
    Recorder().UnlockSettings();
    return n;
}

void SetSetting(const char *key, int value) {
    cJSON *s = Recorder().LockSettings();
    cJSON_DeleteItemFromObjectCaseSensitive(s, key);
    cJSON_AddNumberToObject(s, key, value);
    Recorder().UnlockSettings();
}

// The user interface's copy of the guide counter, loaded from the recorder.
void LoadGuideCount() {
    static const int32_t s_item = GS_INSTALLTION_GUIDECNT;
    GeneralSetingReq req = {};
    req.peElemList = &s_item;
    req.iElemNum = 1;
    ASSERT_EQ(pagetest::TestAccount()->Notify(DP_ACCOUNT_GENERAL_SETING, &req, sizeof req), 0);
}

void WaitSaves() {
    for (int i = 0; i < 300 && DP_GeneralSeting_PendingSaves() > 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
}

bool Shown(lv_obj_t *obj) {
    return obj != nullptr && !lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN);
}

class GuideTest : public ::testing::Test {
  protected:
    void Start(const char *lang = "US", bool withSettings = true) {
        pagetest::Up(lang);
        Recorder().Reset();
        SetSetting("installtion_guidecnt", 0);
        LoadGuideCount();
        if (StatusBar_GetObjs() == nullptr) {
            ASSERT_EQ(StatusBar_Create(lv_layer_top()), 0);
        }
        IpcMsg_ResetSystemStatusInfo();
        unlink(SYS_PATH_UI_RUNNING);
        mgr = std::make_unique<PageManager>(&factory);
        ASSERT_NE(mgr->Install("InstallGuide", "Pages/InstallGuide"), nullptr);
        ASSERT_NE(mgr->Install("Home", "Pages/Home"), nullptr);
        if (withSettings) {
            ASSERT_TRUE(mgr->Register(&sysSet, "Pages/SysSetingSysSet"));
            ASSERT_TRUE(mgr->Register(&more, "Pages/SysSetingMore"));
        }
        guide = static_cast<Page::InstallGuide *>(mgr->Push("Pages/InstallGuide"));
        ASSERT_NE(guide, nullptr);
    }
    void TearDown() override {
        if (mgr) {
            mgr->Unregister("Pages/SysSetingSysSet");
            mgr->Unregister("Pages/SysSetingMore");
        }
        mgr.reset();
        Advance(50);
        WaitSaves();
    }
    std::string Top() {
        PageBase *p = mgr->GetStackTop();
        return p != nullptr ? p->Name : "";
    }
    // The settings page on top confirms inside the guide: next step, then back to the guide.
    void ConfirmOnSettingsPage() {
        SwitchGuideStep(+1);
        ASSERT_NE(mgr->Pop(), nullptr);
    }
    bool UntilTop(const std::string &name) {
        return AdvanceUntil([&] { return Top() == name && guide->m_pstPushTimer == nullptr; }, 3000);
    }

    AppFactory factory;
    std::unique_ptr<PageManager> mgr;
    Page::InstallGuide *guide = nullptr;
    StepPage sysSet, more;
};

TEST(GuideSteps, SwitchingSkipsTheIntroductionBothWays) {
    GuideStepInit();
    EXPECT_EQ(GetGuideStep(), 1u);
    EXPECT_EQ(SwitchGuideStep(+1), 2u);
    EXPECT_EQ(SwitchGuideStep(+1), 4u); // 3 is passed over
    EXPECT_EQ(SwitchGuideStep(-1), 2u); // and on the way back
    EXPECT_EQ(SwitchGuideStep(+1), 4u);
    EXPECT_EQ(SwitchGuideStep(+1), 5u);
    EXPECT_EQ(SwitchGuideStep(-1), 4u);
    EXPECT_EQ(SwitchGuideStep(+1), 5u);
    EXPECT_EQ(SwitchGuideStep(+1), 6u);
    GuideStepInit();
    EXPECT_EQ(SwitchGuideStep(-1), 1u); // nothing before the first step
}

TEST_F(GuideTest, WalksThroughEveryStepWithItsSettingsPage) {
    Start();
    Advance(10);
    SystemStatusInfo st;
    IpcMsg_GetSystemStatusInfo(&st, sizeof st);
    EXPECT_EQ(st.bInGuide, 1);
    EXPECT_EQ(GetGuideStep(), 1u);
    EXPECT_EQ(StatusBar_GetShowType(), STATUSBAR_SHOW_REC);

    // The page appears (its own animation runs first) and its timer pushes the language page.
    ASSERT_TRUE(UntilTop("Pages/SysSetingSysSet"));
    EXPECT_EQ(sysSet.arg, 1);
    Advance(600);

    // Each confirm pops back to the guide, whose timer retries while the pop animation keeps the
    // page manager busy, then pushes the next step.
    ConfirmOnSettingsPage();
    EXPECT_EQ(GetGuideStep(), 2u);
    Advance(30);
    EXPECT_EQ(Top(), "Pages/InstallGuide"); // refused so far: the switch still runs
    EXPECT_NE(guide->m_pstPushTimer, nullptr);
    ASSERT_TRUE(UntilTop("Pages/SysSetingSysSet"));
    EXPECT_EQ(sysSet.arg, 2);
    Advance(600);

    ConfirmOnSettingsPage();
    EXPECT_EQ(GetGuideStep(), 4u);
    ASSERT_TRUE(UntilTop("Pages/SysSetingMore"));
    EXPECT_EQ(more.arg, 4);
    Advance(600);

    ConfirmOnSettingsPage();
    EXPECT_EQ(GetGuideStep(), 5u);
    Advance(1000);
    EXPECT_EQ(Top(), "Pages/InstallGuide");
    EXPECT_EQ(guide->m_pstPushTimer, nullptr);
    EXPECT_TRUE(Shown(guide->View.ui.over_panel));
    EXPECT_TRUE(Shown(guide->View.ui.back_btn));
    EXPECT_TRUE(Shown(guide->View.ui.confirm_btn));
    // The icons have risen into their places.
    EXPECT_EQ(lv_obj_get_y(guide->View.ui.confirm_btn),
              (Page::InstallGuideView::kBarH - lv_obj_get_height(guide->View.ui.confirm_btn)) / 2);
}

TEST_F(GuideTest, BackOnTheClosingPageOpensTheAppStepAgain) {
    Start();
    ASSERT_TRUE(UntilTop("Pages/SysSetingSysSet"));
    Advance(600);
    for (int i = 0; i < 3; ++i) {
        ConfirmOnSettingsPage();
        AdvanceUntil([&] { return guide->m_pstPushTimer == nullptr && Top() != ""; }, 3000);
        Advance(600);
    }
    ASSERT_EQ(GetGuideStep(), 5u);
    int loads = more.loads;
    pagetest::Click(KEY_CODE_BACK);
    EXPECT_EQ(GetGuideStep(), 4u);
    ASSERT_TRUE(UntilTop("Pages/SysSetingMore"));
    EXPECT_EQ(more.arg, 4);
    EXPECT_EQ(more.loads, loads + 1);
}

TEST_F(GuideTest, KeysDoNothingBeforeTheClosingStep) {
    Start("US", false); // nothing to push: the page stays on top while the keys come
    // Without settings pages every step is passed over up to the closing page.
    Advance(700);
    EXPECT_EQ(GetGuideStep(), 5u);
    EXPECT_EQ(Top(), "Pages/InstallGuide");
    EXPECT_TRUE(Shown(guide->View.ui.confirm_btn));
    // Hide the icons as on the earlier steps: OK and BACK must not finish or move the guide.
    lv_obj_add_flag(guide->View.ui.confirm_btn, LV_OBJ_FLAG_HIDDEN);
    lv_obj_add_flag(guide->View.ui.back_btn, LV_OBJ_FLAG_HIDDEN);
    pagetest::Click(KEY_CODE_OK);
    pagetest::Click(KEY_CODE_BACK);
    pagetest::Click(KEY_CODE_NEXT);
    EXPECT_EQ(GetGuideStep(), 5u);
    EXPECT_EQ(Top(), "Pages/InstallGuide");
    Page::InstallGuide::KeyEventCallBack(nullptr);
}

TEST_F(GuideTest, ConfirmCountsTheGuideAndHandsOverToHome) {
    Start("US", false);
    Advance(700);
    ASSERT_EQ(GetGuideStep(), 5u);
    pagetest::Click(KEY_CODE_OK);
    EXPECT_EQ(GetGuideStep(), 6u);
    EXPECT_EQ(Top(), "Pages/Home");
    EXPECT_EQ(mgr->FindPageInStack("Pages/InstallGuide"), nullptr);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALSETING_SAVE", 1));
    WaitSaves();
    EXPECT_EQ(SettingOf("installtion_guidecnt"), 1);
    EXPECT_EQ(access(SYS_PATH_UI_RUNNING, F_OK), 0);
    SystemStatusInfo st;
    IpcMsg_GetSystemStatusInfo(&st, sizeof st);
    EXPECT_EQ(st.bInGuide, 0); // the guide is gone: a parameter reset may bring it back
    Advance(700);

    // A parameter reset brings the guide back; confirming again counts once more.
    mgr->SetStackClear();
    guide = static_cast<Page::InstallGuide *>(mgr->Push("Pages/InstallGuide"));
    ASSERT_NE(guide, nullptr);
    Advance(700);
    ASSERT_EQ(GetGuideStep(), 5u);
    // The guide pulls the settings the recorder reported last.
    LoadGuideCount();
    pagetest::Click(KEY_CODE_OK);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALSETING_SAVE", 2));
    WaitSaves();
    EXPECT_EQ(SettingOf("installtion_guidecnt"), 2);
}

// The closing page in three languages (one non-Latin, one with long words).
class GuideRefTest : public GuideTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(GuideRefTest, ClosingPage) {
    Start(GetParam(), false);
    Advance(1000);
    ASSERT_EQ(GetGuideStep(), 5u);
    EXPECT_TRUE(pagetest::MatchesReference(PAGE_TEST_REF_DIR, std::string("guide_over_") + GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Languages, GuideRefTest, ::testing::Values("US", "CN", "GE"));

} // namespace
