// The reset and format page on the page harness: the two confirmation flows, what goes to the
// recorder, the progress and result screens with their time-outs, back handling and keys, and the
// reference pictures of every screen.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "AppFactory.h"
#include "DataProc.h"
#include "StatusBar.h"
#include "SysSetingReset.h"
#include "key.h"
#include "lv_label_ext_func.h"
#include "page_test_env.h"

namespace {

using pagetest::Advance;
using pagetest::AdvanceUntil;
using pagetest::Recorder;
using Screen = Page::SysSetingReset::Screen;
using Model = Page::SysSetingResetModel;

bool Hidden(lv_obj_t *obj) {
    return lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN);
}

// Control requests of one item the fake recorder received.
size_t CtrlCount(const std::string &item, const std::string &value = "") {
    size_t n = 0;
    for (const std::string &doc : Recorder().Requests("IPCMSG_GENERALCTRL")) {
        if (doc.find("\"key\":\"" + item + "\"") != std::string::npos &&
            (value.empty() || doc.find("\"value\":\"" + value + "\"") != std::string::npos)) {
            ++n;
        }
    }
    return n;
}

uint8_t StatusByte(uint32_t offset) {
    SystemStatusInfo st;
    IpcMsg_GetSystemStatusInfo(&st, sizeof st);
    return reinterpret_cast<const uint8_t *>(&st)[offset];
}

class ResetTest : public ::testing::Test {
  protected:
    void SetUp() override { Open("US"); }
    // Opens the page from the home page, with a one-byte push argument when `arg` is given.
    void Open(const char *lang, const uint8_t *arg = nullptr) {
        mgr.reset();
        Advance(50);
        pagetest::Up(lang);
        Recorder().Reset();
        if (StatusBar_GetObjs() == nullptr) {
            ASSERT_EQ(StatusBar_Create(lv_layer_top()), 0);
        }
        Status("storage_status", "normal");
        mgr = std::make_unique<PageManager>(&factory);
        ASSERT_NE(mgr->Install("Home", "Pages/Home"), nullptr);
        ASSERT_NE(mgr->Install("SysSetingReset", "Pages/SysSetingReset"), nullptr);
        ASSERT_NE(mgr->Push("Pages/Home"), nullptr);
        Advance(600);
        PageBase::Stash_t stash = {const_cast<uint8_t *>(arg), arg != nullptr ? 1u : 0u};
        page = static_cast<Page::SysSetingReset *>(mgr->Push("Pages/SysSetingReset", arg ? &stash : nullptr));
        ASSERT_NE(page, nullptr);
        Advance(700);
        Recorder().ClearRequests();
    }
    void TearDown() override {
        mgr.reset();
        Advance(50);
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }
    static size_t Notices() {
        size_t n = 0;
        for (const auto &p : pagetest::PublishedLog()) {
            n += p.from == DP_ACCOUNT_SYSTEM_STATUS ? 1 : 0;
        }
        return n;
    }
    void Status(const char *key, const char *text) {
        size_t n = Notices();
        ASSERT_EQ(Recorder().Status(key, text), 0);
        ASSERT_TRUE(AdvanceUntil([&] { return Notices() > n; })) << key;
    }
    // A short click of a device key, as the recorder sends it.
    void Click(uint32_t code) {
        Key(code, KEY_VALUE_PRESS);
        Advance(100);
        Key(code, KEY_VALUE_RELEASE);
        Advance(30);
    }
    void Key(uint32_t code, uint32_t value) {
        KeyEvtInfo info = {code, value, page};
        Page::SysSetingReset::KeyEventCallBack(&info);
        if (code != KEY_CODE_OK) {
            return;
        }
        // OK also reaches the focused row through the keypad.
        lv_obj_t *focused = lv_group_get_focused(lv_group_get_default());
        if (focused != nullptr && value == KEY_VALUE_RELEASE) {
            lv_event_send(focused, LV_EVENT_SHORT_CLICKED, nullptr);
        }
    }
    void Next() {
        lv_group_focus_next(lv_group_get_default());
        Click(KEY_CODE_NEXT);
    }
    // Opens the ask page of main-list row `row` (0 reset, 1 format) and waits out the OK guard.
    void OpenAsk(int row) {
        if (lv_group_get_focused(lv_group_get_default()) != page->View.ui.rows[row].btn) {
            Next();
        }
        Click(KEY_CODE_OK);
        Advance(400);
    }
    void ConfirmFormat() {
        OpenAsk(1);
        ASSERT_EQ(page->m_eScreen, Screen::kFormatAsk);
        Click(KEY_CODE_OK);
        ASSERT_EQ(page->m_eScreen, Screen::kFormating);
    }

    AppFactory factory;
    std::unique_ptr<PageManager> mgr;
    Page::SysSetingReset *page = nullptr;
};

// ---- main list and ask pages ----

TEST_F(ResetTest, MainListOpensEachAskPageAndBackRestoresTheFocus) {
    ASSERT_EQ(page->m_eScreen, Screen::kMain);
    EXPECT_STREQ(lv_label_get_text(page->View.ui.rows[0].label), "Factory reset");
    EXPECT_STREQ(lv_label_get_text(page->View.ui.rows[1].label), "Format SD card");
    EXPECT_EQ(lv_group_get_focused(lv_group_get_default()), page->View.ui.rows[0].btn);
    EXPECT_STREQ(lv_label_get_text(StatusBar_GetObjs()->focus.obj), "1/2");

    OpenAsk(1);
    EXPECT_EQ(page->m_eScreen, Screen::kFormatAsk);
    EXPECT_EQ(page->m_s32FormatType, 0);
    EXPECT_EQ(lv_group_get_obj_count(lv_group_get_default()), 0u) << "the list's rows left the group";
    EXPECT_FALSE(Hidden(page->View.ui.btn.confirm));
    Click(KEY_CODE_BACK);
    ASSERT_EQ(page->m_eScreen, Screen::kMain);
    EXPECT_EQ(lv_group_get_focused(lv_group_get_default()), page->View.ui.rows[1].btn) << "focus restored";
    EXPECT_STREQ(lv_label_get_text(StatusBar_GetObjs()->focus.obj), "2/2");

    OpenAsk(0);
    EXPECT_EQ(page->m_eScreen, Screen::kResetAsk);
    // Only the confirm image acts on an ask page.
    lv_event_send(page->View.ui.btn.up, LV_EVENT_SHORT_CLICKED, nullptr);
    EXPECT_EQ(page->m_eScreen, Screen::kResetAsk);
    EXPECT_EQ(CtrlCount("ctrl_resetdev"), 0u);
    Click(KEY_CODE_BACK);
    EXPECT_EQ(page->m_eScreen, Screen::kMain);
    // Back on the main list leaves the page.
    Click(KEY_CODE_BACK);
    Advance(700);
    EXPECT_STREQ(mgr->GetStackTop()->Name, "Pages/Home");
}

// The format reminder and the storage error push the page with argument 1: it opens on the format
// question, and back shows the list with the format row focused. Other arguments open the list.
TEST_F(ResetTest, ArgumentOneOpensOnTheFormatQuestion) {
    const uint8_t one = 1, five = 5;
    Open("US", &one);
    ASSERT_EQ(page->m_eScreen, Screen::kFormatAsk);
    EXPECT_EQ(page->m_s32FormatType, 0);
    Advance(400);
    Click(KEY_CODE_BACK);
    ASSERT_EQ(page->m_eScreen, Screen::kMain);
    EXPECT_EQ(lv_group_get_focused(lv_group_get_default()), page->View.ui.rows[1].btn);
    OpenAsk(1);
    Click(KEY_CODE_OK);
    EXPECT_EQ(page->m_eScreen, Screen::kFormating);
    EXPECT_EQ(CtrlCount("ctrl_format"), 1u);

    Open("US", &five);
    EXPECT_EQ(page->m_eScreen, Screen::kMain);
    EXPECT_EQ(lv_group_get_focused(lv_group_get_default()), page->View.ui.rows[0].btn);
}

TEST_F(ResetTest, OkIsIgnoredRightAfterAScreenAppearsAndAfterALongPress) {
    OpenAsk(1);
    // A confirm within 300 ms of the ask page appearing is dropped.
    page->CreateFormatAskPageHandle(0);
    Click(KEY_CODE_OK);
    EXPECT_EQ(page->m_eScreen, Screen::kFormatAsk);
    EXPECT_EQ(CtrlCount("ctrl_format"), 0u);
    Advance(300);
    // Held 800 ms: no click.
    Key(KEY_CODE_OK, KEY_VALUE_PRESS);
    Advance(800);
    KeyEvtInfo info = {KEY_CODE_OK, KEY_VALUE_RELEASE, page};
    Page::SysSetingReset::KeyEventCallBack(&info);
    EXPECT_EQ(page->m_eScreen, Screen::kFormatAsk);
}

// ---- factory reset ----

TEST_F(ResetTest, ResetWaitsForTheRecordersResultWithOneTimer) {
    OpenAsk(0);
    Click(KEY_CODE_OK);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 1));
    EXPECT_EQ(CtrlCount("ctrl_resetdev"), 1u);
    EXPECT_TRUE(Hidden(page->View.ui.btn.back));
    EXPECT_TRUE(Hidden(page->View.ui.btn.confirm));
    EXPECT_EQ(StatusByte(Model::kResetBusyByte), 1);
    lv_timer_t *timer = page->m_pstCheckTimer;
    ASSERT_NE(timer, nullptr);
    // A second confirm makes neither a second timer nor a second request.
    Advance(400);
    Click(KEY_CODE_OK);
    EXPECT_EQ(page->m_pstCheckTimer, timer);
    Advance(1000);
    EXPECT_EQ(page->m_eScreen, Screen::kResetAsk) << "busy until the recorder reports";
    EXPECT_EQ(CtrlCount("ctrl_resetdev"), 1u);

    Status("resetdev_result", "success_no_reboot");
    Advance(250);
    EXPECT_EQ(page->m_eScreen, Screen::kResetDone);
    EXPECT_EQ(page->m_pstCheckTimer, nullptr);
    EXPECT_EQ(StatusByte(Model::kResetBusyByte), 0);
}

TEST_F(ResetTest, RefusedOrUnansweredResetAsksAgain) {
    OpenAsk(0);
    Click(KEY_CODE_OK);
    Status("resetdev_result", "failure");
    Advance(250);
    EXPECT_EQ(page->m_eScreen, Screen::kResetAsk);
    EXPECT_FALSE(Hidden(page->View.ui.btn.confirm));
    EXPECT_FALSE(Hidden(page->View.ui.btn.back));

    // No answer at all: after a minute the question stands again.
    Advance(400);
    Click(KEY_CODE_OK);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 2));
    EXPECT_EQ(CtrlCount("ctrl_resetdev"), 2u);
    Advance(Page::SysSetingReset::kResetWaitLimit - 1000, 100);
    EXPECT_TRUE(Hidden(page->View.ui.btn.confirm));
    Advance(1300, 100);
    EXPECT_EQ(page->m_eScreen, Screen::kResetAsk);
    EXPECT_FALSE(Hidden(page->View.ui.btn.confirm));
    EXPECT_EQ(StatusByte(Model::kResetBusyByte), 0);

    // Back while waiting ends the wait on the page: a late result does not jump to the done page.
    Advance(400);
    Click(KEY_CODE_OK);
    page->PageBackHandle();
    ASSERT_EQ(page->m_eScreen, Screen::kMain);
    Status("resetdev_result", "success_no_reboot");
    Advance(500);
    EXPECT_EQ(page->m_eScreen, Screen::kMain);
}

// ---- format ----

TEST_F(ResetTest, FormatSuccessShowsItsPageAndReturnsAfterTwoSeconds) {
    ConfirmFormat();
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 1));
    EXPECT_EQ(CtrlCount("ctrl_format", "FormatAuxStorage"), 1u);
    EXPECT_EQ(StatusByte(Model::kFormatingByte), 1);
    EXPECT_TRUE(Hidden(page->View.ui.btn.back));
    // Back is refused while formatting.
    page->PageBackHandle();
    Click(KEY_CODE_BACK);
    EXPECT_EQ(page->m_eScreen, Screen::kFormating);
    // The progress report is no result.
    Status("storage_status", "formating");
    Advance(1000);
    EXPECT_EQ(page->m_eScreen, Screen::kFormating);

    Status("storage_status", "format_succss");
    ASSERT_TRUE(AdvanceUntil([&] { return page->m_eScreen == Screen::kFormatSuccess; }, 500));
    EXPECT_EQ(StatusByte(Model::kFormatingByte), 0);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 2));
    EXPECT_EQ(CtrlCount("ctrl_screendormant", "reset"), 1u);
    Advance(1950);
    EXPECT_EQ(page->m_eScreen, Screen::kFormatSuccess);
    Advance(100);
    EXPECT_EQ(page->m_eScreen, Screen::kMain);
    EXPECT_EQ(lv_group_get_focused(lv_group_get_default()), page->View.ui.rows[1].btn);

    // A second format: the return timer is reused, and an old success result does not count.
    ConfirmFormat();
    Advance(1000);
    EXPECT_EQ(page->m_eScreen, Screen::kFormating);
}

TEST_F(ResetTest, FormatFailureStaysUntilBack) {
    ConfirmFormat();
    Status("storage_status", "format_failed");
    Advance(500);
    ASSERT_EQ(page->m_eScreen, Screen::kFormatFail);
    EXPECT_FALSE(Hidden(page->View.ui.btn.back));
    EXPECT_TRUE(Hidden(page->View.ui.btn.confirm));
    Advance(5000);
    EXPECT_EQ(page->m_eScreen, Screen::kFormatFail);
    Click(KEY_CODE_BACK);
    EXPECT_EQ(page->m_eScreen, Screen::kMain);
}

TEST_F(ResetTest, FormatWithoutAnswerFailsAfter361Ticks) {
    ConfirmFormat();
    Advance(360 * 500, 100);
    EXPECT_EQ(page->m_eScreen, Screen::kFormating);
    EXPECT_EQ(page->m_u32WaitCount, 360u);
    Advance(500, 100);
    EXPECT_EQ(page->m_eScreen, Screen::kFormatFail);
    EXPECT_EQ(StatusByte(Model::kFormatingByte), 0);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 2));
    EXPECT_EQ(CtrlCount("ctrl_screendormant", "reset"), 1u);
}

TEST_F(ResetTest, ModelTakesOnlyStorageResultsWhileFormatting) {
    SystemStatusNotice n;
    memset(&n, 0, sizeof n);
    n.eType = SYS_STATUS_STORAGE;
    n.stInfo.bFormatResult = 1;
    Model &m = page->Model;
    EXPECT_EQ(m.OnStatusNotice(&n, sizeof n), 0);
    EXPECT_FALSE(m.m_bSuccess || m.m_bFailure) << "not formatting";
    EXPECT_EQ(m.OnStatusNotice(&n, sizeof n - 1), -1);
    m.m_bFormating = true;
    n.eType = SYS_STATUS_REC;
    m.OnStatusNotice(&n, sizeof n);
    EXPECT_FALSE(m.m_bSuccess) << "another item";
    n.eType = SYS_STATUS_STORAGE;
    m.OnStatusNotice(&n, sizeof n);
    EXPECT_TRUE(m.m_bSuccess);
    m.m_bSuccess = false;
    n.stInfo.bFormatResult = 0;
    n.stInfo.eStorageStatus = STORAGE_STATUS_NOINSERT;
    m.OnStatusNotice(&n, sizeof n);
    EXPECT_TRUE(m.m_bFailure);
    m.m_bFormating = m.m_bFailure = false;
}

// ---- pictures ----

class ResetLook : public ResetTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(ResetLook, ReferencePictures) {
    const std::string lang = GetParam();
    Open(lang.c_str());
    auto shot = [&](const std::string &name) {
        Advance(600);
        EXPECT_TRUE(pagetest::MatchesReference(PAGE_TEST_REF_DIR, name + "_" + lang));
    };
    shot("reset_main");
    OpenAsk(0);
    shot("reset_ask");
    page->View.CreateResetOkPage(page->root);
    shot("reset_done");
    page->PageBackHandle();
    OpenAsk(1);
    shot("format_ask");
    Click(KEY_CODE_OK);
    shot("format_progress");
    Status("storage_status", "format_succss");
    Advance(500);
    shot("format_success");
    Advance(2000);
    ConfirmFormat();
    Status("storage_status", "format_failed");
    Advance(500);
    shot("format_failure");
}

INSTANTIATE_TEST_SUITE_P(Languages, ResetLook, ::testing::Values("US", "GE", "CN"));

} // namespace
