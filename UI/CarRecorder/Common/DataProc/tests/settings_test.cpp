// The settings store: the item table, loads and saves through the account "GeneralSeting"
// against the fake recorder, the save queue, and the settings carried by status notices.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "DataProc.h"
#include "page_test_env.h"
#include "sendsync_wrap.h"

namespace {

using namespace pagetest;

GeneralSetingInfo Pull() {
    GeneralSetingInfo s;
    EXPECT_EQ(TestAccount()->Pull(DP_ACCOUNT_GENERAL_SETING, &s, sizeof(s)), 0);
    return s;
}

int Load(const int32_t *list, int32_t n) {
    GeneralSetingReq r{0, 0, list, n, nullptr, 0, 0};
    return TestAccount()->Notify(DP_ACCOUNT_GENERAL_SETING, &r, sizeof(r));
}

int Save(int32_t elem, int32_t value, const char *text = nullptr) {
    GeneralSetingReq r{1, elem, nullptr, 0, text, value, 0};
    return TestAccount()->Notify(DP_ACCOUNT_GENERAL_SETING, &r, sizeof(r));
}

void SetRecorder(const char *key, double v) {
    cJSON *s = Recorder().LockSettings();
    cJSON_ReplaceItemInObject(s, key, cJSON_CreateNumber(v));
    Recorder().UnlockSettings();
}

void SetRecorder(const char *key, const char *v) {
    cJSON *s = Recorder().LockSettings();
    cJSON_ReplaceItemInObject(s, key, cJSON_CreateString(v));
    Recorder().UnlockSettings();
}

// Waits (real time) until the save thread has sent every queued save and got its answer.
void WaitSaves() {
    for (int i = 0; i < 2000 && DP_GeneralSeting_PendingSaves() > 0; i++)
        usleep(1000);
    ASSERT_EQ(DP_GeneralSeting_PendingSaves(), 0);
}

class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        Up();
        WaitSaves();
        Recorder().Reset();
        IpcMsg_GeneralSetingReset();
        datalayer::ClearSyncCalls();
    }
};

TEST(SettingsTable, NinetyTwoItemsWithTheirCodesAndKinds) {
    const GeneralSetingItem *items = IpcMsg_GeneralSetingItems();
    std::set<int32_t> codes;
    std::set<std::string> keys;
    int texts = 0;
    for (int i = 0; i < GENERAL_SETING_ITEM_NUM; i++) {
        codes.insert(items[i].eElem);
        keys.insert(items[i].pcKey);
        texts += items[i].eKind == GS_KIND_TEXT;
        EXPECT_LT(items[i].u16Offset, sizeof(GeneralSetingInfo));
    }
    EXPECT_EQ(codes.size(), 92u);
    EXPECT_EQ(keys.size(), 92u);
    EXPECT_EQ(texts, 8) << "eight char[64] fields";
    EXPECT_EQ(codes.count(27) + codes.count(39), 0u);
    EXPECT_EQ(*codes.begin(), 0);
    EXPECT_EQ(*codes.rbegin(), 93);
    // The first, a few in the middle and the last rows of the load order.
    EXPECT_STREQ(items[0].pcKey, "parking_gsensor_level");
    EXPECT_STREQ(items[28].pcKey, "language");
    EXPECT_EQ(items[28].eElem, 29);
    EXPECT_STREQ(items[50].pcKey, "parkNormDur");
    EXPECT_EQ(items[50].eElem, 35);
    EXPECT_STREQ(items[91].pcKey, "kovar_mic_switch");
    EXPECT_EQ(IpcMsg_GeneralSetingFindElem(GS_PARKING_VOLTLVL)->eKind, GS_KIND_BYTE);
    EXPECT_EQ(IpcMsg_GeneralSetingFindKey("aiMasterSwitch")->eElem, 49);
    EXPECT_EQ(IpcMsg_GeneralSetingFindKey("Language"), nullptr) << "keys compare exactly";
    EXPECT_EQ(IpcMsg_GeneralSetingFindElem(27), nullptr);
}

TEST_F(Settings, AFullLoadTakesEveryItemOfTheAnswer) {
    SetRecorder("language", 13);
    SetRecorder("parking_voltlvl", 300);
    SetRecorder("aiMasterSwitch", 6);
    SetRecorder("mic_switch", 5);
    SetRecorder("api_query_ability", std::string(80, 'a').c_str());
    SetRecorder("digiinsidecam_infrared", -3);
    ASSERT_EQ(Load(nullptr, 0), 0);
    const GeneralSetingInfo s = Pull();
    EXPECT_EQ(s.language, 13);
    EXPECT_EQ(s.parking_voltlvl, 44) << "the low byte of 300";
    EXPECT_EQ(s.aiMasterSwitch, 1);
    EXPECT_EQ(s.aiMasterSwitchValue, 6);
    EXPECT_EQ(s.mic_switch, 1);
    EXPECT_EQ(std::string(s.api_query_ability), std::string(63, 'a'));
    EXPECT_EQ(s.digiinsidecam_infrared, -3);
    EXPECT_EQ(s.installtion_guidecnt, 1);
    // The requests named all 92 items in table order, 16 at a time: 92 keys and their values do
    // not fit in one message of 2047 characters.
    auto req = Recorder().Requests("IPCMSG_GENERALSETING_QUERY");
    ASSERT_EQ(req.size(), 6u);
    std::vector<std::string> keys;
    for (const auto &r : req) {
        EXPECT_LT(r.size(), 2047u);
        cJSON *doc = cJSON_Parse(r.c_str());
        const cJSON *k = nullptr;
        cJSON_ArrayForEach(k, cJSON_GetObjectItem(doc, "keys"))
            keys.push_back(cJSON_GetObjectItem(k, "key")->valuestring);
        cJSON_Delete(doc);
    }
    ASSERT_EQ(keys.size(), 92u);
    for (int i = 0; i < 92; i++)
        EXPECT_EQ(keys[i], IpcMsg_GeneralSetingItems()[i].pcKey);
    auto calls = datalayer::SyncCalls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[0].timeoutMs, 10000u);
    EXPECT_EQ(calls[0].rspLen, 2048u);
}

TEST_F(Settings, ALoadThatFailsPartWayLeavesTheCopyAsItWas) {
    SetRecorder("language", 9);
    std::atomic<int> n{0};
    Recorder().On("IPCMSG_GENERALSETING_QUERY", [&n](const cJSON *) {
        return ++n == 3 ? nullptr
                        : cJSON_Parse(R"({"int_params":[{"key":"language","value":9}],"string_params":[]})");
    });
    EXPECT_EQ(Load(nullptr, 0), Account::RES_FAILED);
    EXPECT_EQ(Pull().language, 0);
    EXPECT_EQ(n, 3) << "nothing is asked after the failed exchange";
}

TEST_F(Settings, ALoadOfAListAsksForThoseItemsInOrder) {
    const int32_t list[] = {GS_LANGUAGE, 27, GS_INSTALLTION_GUIDECNT, GS_API_QUERY_ABILITY};
    SetRecorder("language", 4);
    ASSERT_EQ(Load(list, 4), 0);
    EXPECT_EQ(Pull().language, 4);
    EXPECT_EQ(Pull().dev_total_size, 0) << "not asked for";
    auto req = Recorder().Requests("IPCMSG_GENERALSETING_QUERY");
    ASSERT_EQ(req.size(), 1u);
    EXPECT_NE(
        req[0].find(
            R"("keys":[{"key":"language"},{"key":"installtion_guidecnt"},{"key":"api_query_ability"}])"),
        std::string::npos)
        << req[0];
    EXPECT_EQ(IpcMsg_GeneralSetingItemLoad(nullptr, 3), -1);
}

TEST_F(Settings, AnswersOfTheWrongFormChangeNothing) {
    IpcMsg_GeneralSetingSetNumber(GS_LANGUAGE, 5);
    IpcMsg_GeneralSetingSetText(GS_API_QUERY_ABILITY, "abc");
    Recorder().On("IPCMSG_GENERALSETING_QUERY", [](const cJSON *) {
        return cJSON_Parse(
            R"({"int_params":[{"key":"language","value":"x"},{"key":"no_such_item","value":1},)"
            R"({"key":"api_query_ability","value":7},{"key":"wifi_mode","value":3}],)"
            R"("string_params":[{"key":"language","value":"US"},{"key":"lowPowerVoltageOp","value":"1,2"}]})");
    });
    EXPECT_EQ(Load(nullptr, 0), 0);
    GeneralSetingInfo s = Pull();
    EXPECT_EQ(s.language, 5);
    EXPECT_STREQ(s.api_query_ability, "abc");
    EXPECT_EQ(s.wifi_mode, 3);
    EXPECT_STREQ(s.lowPowerVoltageOp, "1,2");
    // No answer: the load fails after the time-out and the copy keeps what it had.
    Recorder().Mute("IPCMSG_GENERALSETING_QUERY");
    EXPECT_EQ(Load(nullptr, 0), Account::RES_FAILED);
    EXPECT_EQ(Pull().wifi_mode, 3);
    Recorder().On("IPCMSG_GENERALSETING_QUERY",
                  [](const cJSON *) { return cJSON_CreateString("not an object"); });
    EXPECT_EQ(Load(nullptr, 0), 0) << "an answer without lists is an empty answer";
}

TEST_F(Settings, ANumberSaveReachesTheCopyOnlyWhenTheRecorderAcceptsIt) {
    ASSERT_EQ(Save(GS_SPEAKER_TURN, 3), 0);
    WaitSaves();
    EXPECT_EQ(Pull().speaker_turn, 3);
    auto req = Recorder().Requests("IPCMSG_GENERALSETING_SAVE");
    ASSERT_EQ(req.size(), 1u);
    EXPECT_NE(req[0].find(R"("int_params":[{"key":"speaker_turn","value":3}],"string_params":"")"),
              std::string::npos)
        << req[0];
    auto calls = datalayer::SyncCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].timeoutMs, 10000u);
    EXPECT_EQ(calls[0].rspLen, 128u);

    Recorder().Result("IPCMSG_GENERALSETING_SAVE", 1);
    Save(GS_SPEAKER_TURN, 1);
    WaitSaves();
    EXPECT_EQ(Pull().speaker_turn, 3) << "refused";
    Recorder().Mute("IPCMSG_GENERALSETING_SAVE");
    Save(GS_SPEAKER_TURN, 1);
    WaitSaves();
    EXPECT_EQ(Pull().speaker_turn, 3) << "no answer";
}

TEST_F(Settings, TextSavesAndSavesOfNoItem) {
    Save(GS_PARKING_MODE_OPTION, 0, "0,1");
    Save(27, 5);
    WaitSaves();
    auto req = Recorder().Requests("IPCMSG_GENERALSETING_SAVE");
    ASSERT_EQ(req.size(), 1u) << "item 27 is sent nowhere";
    EXPECT_NE(req[0].find(R"("int_params":"","string_params":[{"key":"parking_mode_option","value":"0,1"}])"),
              std::string::npos)
        << req[0];
    EXPECT_STREQ(Pull().parking_mode_option, "") << "a text item waits for the next load";
    EXPECT_EQ(IpcMsg_GeneralSetingItemSave(27, nullptr, 1), 0);
    EXPECT_EQ(IpcMsg_GeneralSetingItemSave(GS_PARKING_MODE_OPTION, nullptr, 1), -1);
}

TEST_F(Settings, AFullSaveQueueRefusesWhatDoesNotFitAndLosesNothingQueued) {
    constexpr int kBurst = 16;
    for (int i = 0; i < kBurst; i++)
        ASSERT_EQ(Save(GS_VIDEOTIME_LEVEL, 100 + i), 0) << "a refused save still returns 0";
    const int accepted = DP_GeneralSeting_PendingSaves();
    WaitSaves();
    auto req = Recorder().Requests("IPCMSG_GENERALSETING_SAVE");
    // Ten places, and the save thread may have taken one or two while the burst went in.
    EXPECT_GE(req.size(), 10u);
    EXPECT_LT(req.size(), (size_t)kBurst);
    EXPECT_GE((int)req.size(), accepted);
    // Saves go out in request order: the values rise.
    int last = 0;
    for (const auto &r : req) {
        cJSON *doc = cJSON_Parse(r.c_str());
        int v = cJSON_GetObjectItem(cJSON_GetArrayItem(cJSON_GetObjectItem(doc, "int_params"), 0), "value")
                    ->valueint;
        cJSON_Delete(doc);
        EXPECT_GT(v, last);
        last = v;
    }
    EXPECT_EQ(Pull().videotime_level, last);
}

TEST_F(Settings, StatusNoticesCarryMicrophoneAndPairing) {
    SystemStatusNotice n{};
    Account *status = DataProc_GetCenter()->SearchAccount(DP_ACCOUNT_SYSTEM_STATUS);
    n.eType = SYS_STATUS_MIC;
    n.stInfo.bMicOn = 1;
    status->Commit(&n, sizeof(n));
    status->Publish();
    EXPECT_EQ(Pull().mic_switch, 1);
    n.eType = SYS_STATUS_BTPAIR;
    n.stInfo.bBtPairSuccess = 0;
    status->Commit(&n, sizeof(n));
    status->Publish();
    EXPECT_EQ(Pull().btpair_state, 0);
    IpcMsg_GeneralSetingSetNumber(GS_BTPAIR_STATE, 1);
    status->Commit(&n, sizeof(n));
    status->Publish();
    EXPECT_EQ(Pull().btpair_state, 1) << "paired stays paired";
    n.eType = SYS_STATUS_REC;
    n.stInfo.bMicOn = 0;
    status->Commit(&n, sizeof(n));
    status->Publish();
    EXPECT_EQ(Pull().mic_switch, 1);
}

TEST_F(Settings, WrongSizesAndEvents) {
    GeneralSetingInfo s;
    EXPECT_EQ(TestAccount()->Pull(DP_ACCOUNT_GENERAL_SETING, &s, sizeof(s) - 4), Account::RES_SIZE_MISMATCH);
    GeneralSetingReq r{};
    EXPECT_EQ(TestAccount()->Notify(DP_ACCOUNT_GENERAL_SETING, &r, sizeof(r) + 1),
              Account::RES_SIZE_MISMATCH);
    uint8_t copy[8];
    EXPECT_EQ(IpcMsg_GeneralSetingCopy(copy, sizeof(copy)), 0);
    EXPECT_EQ(IpcMsg_GeneralSetingCopy(nullptr, 4), -1);
    EXPECT_EQ(IpcMsg_GeneralSetingSetNumber(GS_API_QUERY_ABILITY, 1), -1);
    EXPECT_EQ(IpcMsg_GeneralSetingSetText(GS_LANGUAGE, "x"), -1);
}

} // namespace
