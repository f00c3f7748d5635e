// Control items, player commands and the device, device-link and 4G queries through their
// accounts, with the bodies, time-outs and answer buffers of each exchange.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "DataProc.h"
#include "IpcMsg_Common.h"
#include "page_test_env.h"
#include "sendsync_wrap.h"

namespace {

using namespace pagetest;

int Ctrl(int32_t elem, const char *value, int32_t noBlock = 0) {
    GeneralCtrlReq r{noBlock, elem, value, 0};
    return TestAccount()->Notify(DP_ACCOUNT_GENERAL_CTRL, &r, sizeof(r));
}

int Player(PlayerCtrlReq *r) {
    return TestAccount()->Notify(DP_ACCOUNT_PLAYER, r, sizeof(*r));
}

int Player(int32_t cmd) {
    PlayerCtrlReq r{};
    r.eCmd = cmd;
    return Player(&r);
}

std::string LastRequest(const char *id) {
    auto r = Recorder().Requests(id);
    return r.empty() ? "" : r.back();
}

// The one synchronous exchange since the last clear.
datalayer::SyncCall OnlyCall() {
    auto c = datalayer::SyncCalls();
    EXPECT_EQ(c.size(), 1u);
    return c.empty() ? datalayer::SyncCall{} : c.back();
}

class Exchanges : public ::testing::Test {
  protected:
    void SetUp() override {
        Up();
        Recorder().Reset();
        datalayer::ClearSyncCalls();
    }
};

TEST_F(Exchanges, BlockingControlSendsTheItemAndWaitsForItsResult) {
    EXPECT_EQ(Ctrl(CTRL_ELEM_REC, "stop"), 0);
    EXPECT_NE(
        LastRequest("IPCMSG_GENERALCTRL").find(R"("string_params":[{"key":"ctrl_rec","value":"stop"}])"),
        std::string::npos);
    EXPECT_NE(LastRequest("IPCMSG_GENERALCTRL").find(R"("needAck":1)"), std::string::npos);
    const auto call = OnlyCall();
    EXPECT_EQ(call.msgID, "IPCMSG_GENERALCTRL");
    EXPECT_EQ(call.timeoutMs, 15000u);
    EXPECT_EQ(call.rspLen, 128u);

    EXPECT_EQ(Ctrl(CTRL_ELEM_SNAP, nullptr), 0);
    EXPECT_NE(LastRequest("IPCMSG_GENERALCTRL").find(R"({"key":"ctrl_snap","value":""})"), std::string::npos);
    Recorder().Result("IPCMSG_GENERALCTRL", 3);
    EXPECT_EQ(Ctrl(CTRL_ELEM_FORMAT, nullptr), Account::RES_FAILED);
    Recorder().Mute("IPCMSG_GENERALCTRL");
    EXPECT_EQ(Ctrl(CTRL_ELEM_FORMAT, nullptr), Account::RES_FAILED) << "time-out";
    Recorder().On("IPCMSG_GENERALCTRL", [](const cJSON *) { return cJSON_Parse(R"({"result":"ok"})"); });
    EXPECT_EQ(Ctrl(CTRL_ELEM_FORMAT, nullptr), Account::RES_FAILED) << "a result that is no number";
}

TEST_F(Exchanges, ControlItemsByCodeAndTheNonBlockingForm) {
    const std::pair<int, const char *> items[] = {{0, "ctrl_snap"},
                                                  {5, "ctrl_playbackmode"},
                                                  {6, "ctrl_displayinit"},
                                                  {12, "ctrl_displaydeinit"},
                                                  {7, "ctrl_btpair"},
                                                  {11, "ctrl_touchpadtestend"},
                                                  {22, "ctrl_kovar_stop_bind"},
                                                  {23, "ctrl_tfcard_speedtext"},
                                                  {25, "ctrl_kovar_format"}};
    for (const auto &it : items)
        EXPECT_STREQ(IpcMsg_ItemNameParser(it.first), it.second);
    EXPECT_EQ(IpcMsg_ItemNameParser(8), nullptr);
    EXPECT_EQ(IpcMsg_ItemNameParser(26), nullptr);
    EXPECT_EQ(Ctrl(8, "x"), Account::RES_FAILED);
    EXPECT_EQ(Ctrl(8, "x", 1), Account::RES_FAILED);
    EXPECT_TRUE(Recorder().Requests("IPCMSG_GENERALCTRL").empty()) << "unknown items are not sent";

    EXPECT_EQ(Ctrl(CTRL_ELEM_DISPLAYINIT, "disp_init", 1), 0);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 1));
    EXPECT_NE(LastRequest("IPCMSG_GENERALCTRL")
                  .find(R"("needAck":0},"string_params":[{"key":"ctrl_displayinit","value":"disp_init"}])"),
              std::string::npos)
        << LastRequest("IPCMSG_GENERALCTRL");
    EXPECT_TRUE(datalayer::SyncCalls().empty()) << "nothing waits";
    GeneralCtrlReq r{};
    EXPECT_EQ(TestAccount()->Notify(DP_ACCOUNT_GENERAL_CTRL, &r, sizeof(r) - 1), Account::RES_SIZE_MISMATCH);
    EXPECT_EQ(TestAccount()->Pull(DP_ACCOUNT_GENERAL_CTRL, &r, sizeof(r)), Account::RES_UNSUPPORTED);
}

TEST_F(Exchanges, PlayerCommands) {
    Player(PLAYER_CMD_DEINIT); // whatever an earlier test left
    Recorder().ClearRequests();
    datalayer::ClearSyncCalls();
    // No player open: close does nothing and copies the state back.
    PlayerCtrlReq r{};
    r.eCmd = PLAYER_CMD_DEINIT;
    r.stState.eState = 77;
    EXPECT_EQ(Player(&r), 0);
    EXPECT_EQ(r.stState.eState, 0);
    EXPECT_TRUE(Recorder().Requests().empty());

    EXPECT_EQ(Player(PLAYER_CMD_INIT), 0);
    SystemStatusInfo s;
    IpcMsg_GetSystemStatusInfo(&s, sizeof(s));
    EXPECT_EQ(s.bIsPlayerInit, 1);
    EXPECT_EQ(OnlyCall().timeoutMs, 10000u);
    EXPECT_EQ(OnlyCall().rspLen, 128u);
    EXPECT_NE(LastRequest("IPCMSG_PLAYBACK_CTRL").find(R"({"key":"playback_init","value":""})"),
              std::string::npos);

    r = PlayerCtrlReq{};
    r.eCmd = PLAYER_CMD_SEEK;
    r.llSeekPos = 90000;
    EXPECT_EQ(Player(&r), 0);
    EXPECT_NE(LastRequest("IPCMSG_PLAYBACK_CTRL").find(R"({"key":"playback_seek","value":"90000"})"),
              std::string::npos);

    // The state: a positive answer of getplaystate.
    Recorder().On("IPCMSG_PLAYBACK_CTRL", [](const cJSON *req) {
        const cJSON *p = cJSON_GetArrayItem(cJSON_GetObjectItem(req, "string_params"), 0);
        bool state = strcmp(cJSON_GetObjectItem(p, "key")->valuestring, "playback_getplaystate") == 0;
        cJSON *b = cJSON_CreateObject();
        cJSON_AddNumberToObject(b, "result", state ? 3 : 0);
        return b;
    });
    PlayerState st{};
    EXPECT_EQ(TestAccount()->Pull(DP_ACCOUNT_PLAYER, &st, sizeof(st)), 0);
    EXPECT_EQ(st.eState, 3);
    r = PlayerCtrlReq{};
    r.eCmd = PLAYER_CMD_PREPARE;
    r.pcFileName = "/app/sd/DCIM/200video/a.mp4";
    EXPECT_EQ(Player(&r), 0);
    EXPECT_EQ(r.stState.eState, 3) << "prepare copies the state back";
    EXPECT_NE(LastRequest("IPCMSG_PLAYBACK_CTRL").find("playback_getplaystate"), std::string::npos);
    const size_t before = Recorder().Requests().size();
    r.pcFileName = "";
    EXPECT_NE(Player(&r), 0);
    EXPECT_EQ(Recorder().Requests().size(), before) << "an empty path is not sent";

    Recorder().Result("IPCMSG_PLAYBACK_CTRL", -5);
    EXPECT_EQ(Player(PLAYER_CMD_PAUSE), Account::RES_FAILED);
    Recorder().Reset();
    EXPECT_EQ(Player(PLAYER_CMD_STOP), 0);
    EXPECT_EQ(Player(PLAYER_CMD_DEINIT), 0);
    IpcMsg_GetSystemStatusInfo(&s, sizeof(s));
    EXPECT_EQ(s.bIsPlayerInit, 0);
    EXPECT_EQ(TestAccount()->Pull(DP_ACCOUNT_PLAYER, &st, sizeof(st) + 1), Account::RES_SIZE_MISMATCH);
}

// Player events (none of the recorder's messages carries one yet) are published one per tick
// while a player is open, and dropped once it is closed.
TEST_F(Exchanges, PlayerEventsArePublishedWhileAPlayerIsOpen) {
    ASSERT_EQ(Player(PLAYER_CMD_INIT), 0);
    PublishedLog().clear();
    IpcMsg_PlayerDeliverEvent(4, 1500);
    IpcMsg_PlayerDeliverEvent(5, 2500);
    Advance(10);
    Advance(10);
    Advance(10);
    std::vector<PlayerState> got;
    for (const auto &p : PublishedLog()) {
        if (p.from == std::string(DP_ACCOUNT_PLAYER) && p.data.size() == sizeof(PlayerState)) {
            PlayerState st;
            memcpy(&st, p.data.data(), sizeof(st));
            got.push_back(st);
        }
    }
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].eEvent, 4);
    EXPECT_EQ(got[1].iPlayTime, 2500);
    ASSERT_EQ(Player(PLAYER_CMD_DEINIT), 0);
    PublishedLog().clear();
    IpcMsg_PlayerDeliverEvent(6, 0);
    Advance(50);
    EXPECT_TRUE(PublishedLog().empty()) << "the timer rests while no player is open";
}

TEST_F(Exchanges, DeviceInformation) {
    DevsInfo d;
    EXPECT_EQ(TestAccount()->Notify(DP_ACCOUNT_DEVS_INFO, "x", 1), 0) << "any payload asks again";
    EXPECT_EQ(OnlyCall().msgID, "IPCMSG_DEVINFO_QUERY");
    EXPECT_EQ(OnlyCall().timeoutMs, 5000u);
    EXPECT_EQ(OnlyCall().rspLen, 1024u);
    EXPECT_EQ(TestAccount()->Pull(DP_ACCOUNT_DEVS_INFO, &d, sizeof(d)), 0);
    EXPECT_STREQ(d.szSoftVersion, "V1.0.3");
    EXPECT_STREQ(d.szBtInfo, "VR-T3-BT");
    Recorder().On("IPCMSG_DEVINFO_QUERY", [](const cJSON *) {
        return cJSON_Parse(R"({"model":"0123456789012345678901234567890123456789","wifi_ssid":7})");
    });
    EXPECT_EQ(TestAccount()->Notify(DP_ACCOUNT_DEVS_INFO, nullptr, 0), 0);
    TestAccount()->Pull(DP_ACCOUNT_DEVS_INFO, &d, sizeof(d));
    EXPECT_STREQ(d.szModel, "0123456789012345678901234567890") << "31 characters";
    EXPECT_STREQ(d.szWifiSsid, "");
    EXPECT_STREQ(d.szSoftVersion, "") << "cleared before the query";
    Recorder().Mute("IPCMSG_DEVINFO_QUERY");
    EXPECT_EQ(TestAccount()->Notify(DP_ACCOUNT_DEVS_INFO, nullptr, 0), Account::RES_FAILED);
    TestAccount()->Pull(DP_ACCOUNT_DEVS_INFO, &d, sizeof(d));
    EXPECT_STREQ(d.szModel, "") << "a failed query leaves the record cleared";
    EXPECT_EQ(TestAccount()->Pull(DP_ACCOUNT_DEVS_INFO, &d, 10), Account::RES_SIZE_MISMATCH);
}

TEST_F(Exchanges, DeviceLinkInformation) {
    KovarInfo k;
    EXPECT_EQ(IpcMsg_KovarInfoQuerylHandle(), 0);
    EXPECT_EQ(OnlyCall().timeoutMs, 5000u);
    TestAccount()->Pull(DP_ACCOUNT_KOVAR_INFO, &k, sizeof(k));
    EXPECT_EQ(k.eStatus, 2);
    EXPECT_EQ(k.bConnect, 1);
    EXPECT_EQ(k.iClientId, 7);
    EXPECT_STREQ(k.szVersion, "V0.9.1");
    EXPECT_EQ(k.iAvailableSize, 20118);
    // The account's notify only clears.
    EXPECT_EQ(TestAccount()->Notify(DP_ACCOUNT_KOVAR_INFO, nullptr, 0), 0);
    TestAccount()->Pull(DP_ACCOUNT_KOVAR_INFO, &k, sizeof(k));
    EXPECT_EQ(k.eStatus, 0);
    EXPECT_EQ(datalayer::SyncCalls().size(), 1u);
    // A status out of 1..3 is 1; a missing member ends the reading, keeping what was read.
    Recorder().On("IPCMSG_KOVARINFO_QUERY", [](const cJSON *) {
        return cJSON_Parse(R"({"status":7,"connect":1,"slave":{"clientId":4,"model":"K","ble":"B"}})");
    });
    EXPECT_EQ(IpcMsg_KovarInfoQuerylHandle(), -1);
    TestAccount()->Pull(DP_ACCOUNT_KOVAR_INFO, &k, sizeof(k));
    EXPECT_EQ(k.eStatus, 1);
    EXPECT_EQ(k.iClientId, 4);
    EXPECT_STREQ(k.szModel, "K");
    EXPECT_STREQ(k.szBle, "") << "after the missing name";
}

TEST_F(Exchanges, FourGInformation) {
    LteInfo l;
    EXPECT_EQ(TestAccount()->Notify(DP_ACCOUNT_LTE_INFO, nullptr, 0), 0);
    EXPECT_EQ(OnlyCall().timeoutMs, 10000u);
    TestAccount()->Pull(DP_ACCOUNT_LTE_INFO, &l, sizeof(l));
    EXPECT_EQ(l.iSignal, 3);
    EXPECT_EQ(l.iHttp, 1);
    Recorder().On("IPCMSG_LTEINFO_QUERY", [](const cJSON *) {
        return cJSON_Parse(R"({"uuid":5,"hardware":1,"sim_card":1,"network":4})");
    });
    EXPECT_EQ(TestAccount()->Notify(DP_ACCOUNT_LTE_INFO, nullptr, 0), Account::RES_FAILED);
    TestAccount()->Pull(DP_ACCOUNT_LTE_INFO, &l, sizeof(l));
    EXPECT_EQ(l.iUuid, 5);
    EXPECT_EQ(l.iSimCard, 1);
    EXPECT_EQ(l.iNetwork, 0) << "read after the missing dns";
}

TEST(QueryAnswers, ARefusedOrUnreadableAnswerGivesNoBody) {
    MsgHeader h{};
    strcpy(h.msgID, "QUREY_ERROR");
    EXPECT_EQ(IpcMsg_QueryAnswer(R"({"model":"x"})", &h), nullptr);
    strcpy(h.msgID, "IPCMSG_DEVINFO_QUERY");
    EXPECT_EQ(IpcMsg_QueryAnswer("{bad", &h), nullptr);
    cJSON *b = IpcMsg_QueryAnswer(R"({"model":"x"})", &h);
    EXPECT_NE(b, nullptr);
    cJSON_Delete(b);
    int32_t r = 0;
    EXPECT_EQ(IpcMsg_AnswerResult(R"({"result":-3})", &r), 0);
    EXPECT_EQ(r, -3);
    EXPECT_EQ(IpcMsg_AnswerResult(R"({"result":1.5})", &r), -1);
    EXPECT_EQ(IpcMsg_AnswerResult(R"({})", &r), -1);
}

} // namespace
