// The pieces every page model and page shares, on the page harness: the account's requests (with
// and without an account, what reaches the data layer and the recorder, refused requests) and the
// navigation keys on the bar's buttons.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DataProc.h"
#include "PageAccount.h"
#include "PageKeys.h"
#include "page_test_env.h"

namespace {

using pagetest::Advance;
using pagetest::Recorder;

class DataComm : public ::testing::Test {
  protected:
    void SetUp() override {
        pagetest::Up();
        Recorder().Reset();
        Recorder().ClearRequests();
    }
    PageAccount account;
};

// Every request of an account that was never made (or is gone) fails and sends nothing.
TEST_F(DataComm, WithoutAnAccountEveryRequestFails) {
    SystemStatusInfo status = {};
    GeneralSetingInfo settings = {};
    StatusBarMsg bar = {};
    const int32_t items[] = {GS_LANGUAGE};
    const std::vector<std::function<int()>> requests = {
        [&] { return account.Pull(DP_ACCOUNT_SYSTEM_STATUS, &status, sizeof status); },
        [&] { return account.Notify(DP_ACCOUNT_SYSTEM_STATUS, &status, sizeof status); },
        [&] { return account.QuerySystemStatus(&status); },
        [&] { return account.SetSystemStatus(&status); },
        [&] { return account.QueryGeneralSeting(&settings); },
        [&] { return account.LoadGeneralSeting(items, 1); },
        [&] { return account.CtrlGeneralSetingItem(GS_SPEAKER_TURN, 2); },
        [&] { return account.CtrlGeneralCtrlItem(true, CTRL_ELEM_PLAYBACKMODE, "enter"); },
        [&] { return account.CtrlStatusBarItem(&bar); },
        [&] { return account.CtrlStatusBarTitle("x"); },
        [&] { return account.ShowTips("LANG_RES_ID_DEL_FILE"); },
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < requests.size(); ++i) {
            EXPECT_EQ(requests[i](), -1) << "request " << i << " pass " << pass;
        }
        // The second pass runs after an account came and went.
        ASSERT_EQ(account.Create("DataCommTest", {DP_ACCOUNT_SYSTEM_STATUS}), 0);
        account.Destroy();
    }
    Advance(50);
    EXPECT_TRUE(Recorder().Requests("IPCMSG_GENERALCTRL").empty());
    EXPECT_TRUE(Recorder().Requests("IPCMSG_GENERALSETING_SAVE").empty());
}

int g_events = 0;
void *g_userData = nullptr;
int OnEvent(Account *acc, Account::EventParam *param) {
    if (param->event == Account::EVENT_PUBLISH) {
        ++g_events;
        g_userData = acc->UserData;
    }
    return Account::RES_OK;
}

// One account per name; its subscriptions bring the publishers' notices with the user data.
TEST_F(DataComm, AccountSubscribesOnceAndGetsItsPublishersNotices) {
    int tag = 7;
    ASSERT_EQ(account.Create("DataCommTest", {DP_ACCOUNT_SYSTEM_STATUS, "NoSuchAccount"}, OnEvent, &tag), 0);
    EXPECT_TRUE(account.Exists());
    EXPECT_EQ(account.Get()->GetPublishersSize(), 1u) << "the unknown publisher is left out";
    EXPECT_EQ(account.Create("DataCommTest", {}), -1);

    g_events = 0;
    ASSERT_EQ(pagetest::Deliver(pagetest::FakeRecorder::Msg(
                  "IPCMSG_SYSTEMSTATUS", R"({"string_params":[{"key":"rec_status","value":"start"}]})")),
              0);
    Advance(20);
    EXPECT_EQ(g_events, 1);
    EXPECT_EQ(g_userData, &tag);
    SystemStatusInfo status = {};
    ASSERT_EQ(account.QuerySystemStatus(&status), 0);
    EXPECT_EQ(status.bIsRecording, 1);
}

// Requests reach the data layer and the recorder; a wrong size or an unknown account is refused.
TEST_F(DataComm, RequestsReachTheRecorderAndRefusalsAreReported) {
    ASSERT_EQ(account.Create("DataCommTest", {DP_ACCOUNT_GENERAL_SETING, DP_ACCOUNT_GENERAL_CTRL,
                                              DP_ACCOUNT_SYSTEM_STATUS, DP_ACCOUNT_INFO_TIPS}),
              0);
    EXPECT_EQ(account.CtrlGeneralCtrlItem(false, CTRL_ELEM_PLAYBACKMODE, "enter"), 0);
    auto ctrl = Recorder().Requests("IPCMSG_GENERALCTRL");
    ASSERT_EQ(ctrl.size(), 1u);
    EXPECT_NE(ctrl[0].find(R"("value":"enter")"), std::string::npos) << ctrl[0];

    ASSERT_EQ(account.CtrlGeneralSetingItem(GS_SPEAKER_TURN, 3), 0);
    GeneralSetingInfo settings = {};
    ASSERT_TRUE(pagetest::AdvanceUntil(
        [&] { return account.QueryGeneralSeting(&settings) == 0 && settings.speaker_turn == 3; }));

    SystemStatusInfo status = {};
    status.bPageBusy = 1;
    ASSERT_EQ(account.SetSystemStatus(&status), 0);
    SystemStatusInfo back = {};
    ASSERT_EQ(account.QuerySystemStatus(&back), 0);
    EXPECT_EQ(back.bPageBusy, 1);

    char tooSmall[4];
    EXPECT_EQ(account.Pull(DP_ACCOUNT_SYSTEM_STATUS, tooSmall, sizeof tooSmall), -1);
    EXPECT_EQ(account.Pull(DP_ACCOUNT_PLAYER, &status, sizeof status), -1) << "not subscribed";
    EXPECT_EQ(account.Notify(DP_ACCOUNT_INFO_TIPS, tooSmall, sizeof tooSmall), -1);
}

struct Counts {
    int pressed = 0, released = 0, clicked = 0;
};
void CountEvent(lv_event_t *e) {
    Counts *c = static_cast<Counts *>(lv_event_get_user_data(e));
    switch (lv_event_get_code(e)) {
    case LV_EVENT_PRESSED:
        ++c->pressed;
        break;
    case LV_EVENT_RELEASED:
        ++c->released;
        break;
    case LV_EVENT_SHORT_CLICKED:
        ++c->clicked;
        break;
    default:
        break;
    }
}

// Each key drives its own button; a short press clicks, a long one does not; a key without a
// button and a hidden button change nothing.
TEST_F(DataComm, KeysDriveTheirNavigationButtons) {
    lv_obj_t *scr = lv_scr_act();
    Counts counts[3];
    lv_obj_t *btns[3];
    for (int i = 0; i < 3; ++i) {
        btns[i] = lv_obj_create(scr);
        lv_obj_add_event_cb(btns[i], CountEvent, LV_EVENT_ALL, &counts[i]);
    }
    const PageNavButtons nav = {btns[0], btns[1], nullptr, btns[2]};
    uint32_t pressTick = 0;
    auto send = [&](uint32_t code, uint32_t value) {
        KeyEvtInfo info = {code, value, nullptr};
        PageKeys_Send(&info, nav, &pressTick);
    };

    send(KEY_CODE_OK, KEY_VALUE_PRESS);
    Advance(100);
    send(KEY_CODE_OK, KEY_VALUE_RELEASE);
    EXPECT_EQ(counts[0].pressed, 1);
    EXPECT_EQ(counts[0].released, 1);
    EXPECT_EQ(counts[0].clicked, 1);

    send(KEY_CODE_NEXT, KEY_VALUE_PRESS);
    Advance(900);
    send(KEY_CODE_NEXT, KEY_VALUE_RELEASE);
    EXPECT_EQ(counts[1].released, 1);
    EXPECT_EQ(counts[1].clicked, 0) << "held past 799 ms";

    lv_obj_add_flag(btns[2], LV_OBJ_FLAG_HIDDEN);
    send(KEY_CODE_BACK, KEY_VALUE_PRESS);
    send(KEY_CODE_BACK, KEY_VALUE_RELEASE);
    send(KEY_CODE_PREV, KEY_VALUE_PRESS);
    send(KEY_CODE_PREV, KEY_VALUE_RELEASE);
    EXPECT_EQ(counts[2].pressed + counts[2].released + counts[2].clicked, 0);
    EXPECT_EQ(counts[0].pressed + counts[1].pressed, 2) << "no other button moved";
    for (lv_obj_t *b : btns) {
        lv_obj_del(b);
    }
}

} // namespace
