// The status record: every key of both tables, the notices, the status file and the road of a
// notice from the receive threads to the subscribers on the LVGL thread.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "DataProc.h"
#include "page_test_env.h"

namespace {

using namespace pagetest;

std::mutex g_mu;
std::vector<SystemStatusNotice> g_notices;

void Capture(SystemStatusNotice n) {
    std::lock_guard<std::mutex> l(g_mu);
    g_notices.push_back(n);
}

SystemStatusInfo Record() {
    SystemStatusInfo s;
    IpcMsg_GetSystemStatusInfo(&s, sizeof(s));
    return s;
}

std::string StatusMsg(const std::string &ints, const std::string &strs) {
    return FakeRecorder::Msg("IPCMSG_SYSTEMSTATUS",
                             "{\"int_params\":[" + ints + "],\"string_params\":[" + strs + "]}");
}

std::string Item(const std::string &key, int v) {
    return "{\"key\":\"" + key + "\",\"value\":" + std::to_string(v) + "}";
}

std::string Item(const std::string &key, const char *v) {
    return "{\"key\":\"" + key + "\",\"value\":\"" + v + "\"}";
}

// Handles one status body on this thread, as a receive thread would.
int Handle(const std::string &ints, const std::string &strs = "") {
    MsgHeader h{};
    return IpcMsg_UpdateStatuslCallbcak(StatusMsg(ints, strs).c_str(), &h);
}

std::string StatusFile() {
    return std::string(RECORDER_ROOT) + "/tmp/data_layer_ui_status";
}

// The receiver is this test's capture; the record and the file start empty.
class Status : public ::testing::Test {
  protected:
    void SetUp() override {
        Up();
        IpcMsg_SetStatusCallback(Capture);
        IpcMsg_SetStatusFilePath(StatusFile().c_str());
        IpcMsg_ResetSystemStatusInfo();
        unlink(StatusFile().c_str());
        std::lock_guard<std::mutex> l(g_mu);
        g_notices.clear();
    }
    void TearDown() override {
        IpcMsg_SetStatusCallback(SystemStatusEvent);
        IpcMsg_SetStatusFilePath(nullptr);
    }
    std::vector<int32_t> Types() {
        std::lock_guard<std::mutex> l(g_mu);
        std::vector<int32_t> t;
        for (const auto &n : g_notices)
            t.push_back(n.eType);
        return t;
    }
};

struct NumberCase {
    const char *key;
    int value;
    size_t offset;
    int width; // 1 byte or 4
    int32_t expected;
    int32_t eType;
};

#define AT(f) offsetof(SystemStatusInfo, f)

int32_t FieldOf(const SystemStatusInfo &s, size_t offset, int width) {
    const uint8_t *p = reinterpret_cast<const uint8_t *>(&s) + offset;
    if (width == 1)
        return (int8_t)*p;
    int32_t v;
    memcpy(&v, p, 4);
    return v;
}

TEST_F(Status, EveryNumberKeySetsItsFieldAndSendsItsNotice) {
    const NumberCase cases[] = {
        {"test_screen", 5, AT(iScreenTestCmd), 4, 5, 9},
        {"screen_dormant", 3, AT(bScreenDormant), 1, 1, 8},
        {"sensor_state", 1, AT(bSensorState), 1, 1, 17},
        {"test_screenkey", 2, AT(bScreenKeyTest), 1, 1, 11},
        {"car_forward", 1, AT(bCarForward), 1, 1, 20},
        {"cross_lane", 1, AT(bCrossLane), 1, 1, 21},
        {"too_closed", 1, AT(bTooClose), 1, 1, 22},
        {"notict_pedestrian", 1, AT(bPedestrian), 1, 1, 23},
        {"update_state", 1, AT(bUpdating), 1, 1, 27},
        {"digicam_update_state", 1, AT(bDigiCamUpdating), 1, 1, 43},
        {"digicaminside_update_state", 1, AT(bDigiCamInsideUpdating), 1, 1, 44},
        {"aispeekctrl_vo", 1, AT(bVoiceCtrlVo), 1, 1, 30},
        {"parkingcollision_status", 1, AT(bParkingCollision), 1, 1, 34},
        {"driving_remind", 1, AT(bDrivingRemind), 1, 1, 24},
        {"startup_remind", 1, AT(bStartupRemind), 1, 1, 25},
        {"4G_level", 4, AT(i4GLevel), 4, 4, 35},
        {"4G_linkstatus", 1, AT(b4GLinked), 1, 1, 36},
        {"4G_ready", 1, AT(b4GReady), 1, 1, 37},
        {"kovar_bind_status", 1, AT(bKovarBound), 1, 1, 38},
        {"kovar_Connect_status", 1, AT(bKovarConnected), 1, 1, 39},
        {"kovar_ble_status", 1, AT(bKovarBle), 1, 1, 42},
        {"behavior_acceler", 1, AT(bHarshAccel), 1, 1, 45},
        {"behavior_deceler", 1, AT(bHarshDecel), 1, 1, 46},
        {"gsensor_status", 1, AT(bGsensorStatus), 1, 1, 47},
        {"temp_level", 3, AT(iTempLevel), 4, 3, 49},
        {"tftext_result", 257, AT(cTfCardTestResult), 1, 1, 50}, // low byte
        {"rada_status", -2, AT(cRadarStatus), 1, -2, 52},
        {"is_main_device", 1, AT(cIsMainDevice), 1, 1, 53},
        {"digicam_rear_status", 6, AT(iDigiCamRearStatus), 4, 6, 54},
        {"digicam_inside_status", 7, AT(iDigiCamInsideStatus), 4, 7, 55},
        {"tfcard_curspeed", 31, AT(iTfCardSpeed), 4, 31, 51},
        {"disp_status", 1, AT(cDispStatus), 1, 1, 57},
        {"writecardslow_remind", 0x180, AT(cWriteCardSlowRemind), 1, -128, 58},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        IpcMsg_ResetSystemStatusInfo();
        {
            std::lock_guard<std::mutex> l(g_mu);
            g_notices.clear();
        }
        ASSERT_EQ(Handle(Item(c.key, c.value)), 0);
        EXPECT_EQ(FieldOf(Record(), c.offset, c.width), c.expected);
        ASSERT_EQ(Types(), std::vector<int32_t>{c.eType});
        // A flag goes back to 0 with the value 0.
        if (c.width == 1 && c.expected == 1) {
            Handle(Item(c.key, 0));
            EXPECT_EQ(FieldOf(Record(), c.offset, c.width), 0);
        }
    }
}

TEST_F(Status, NumberKeysWithTwoFieldsAndNoticeOnlyKeys) {
    Handle(Item("switch_workmode", 2));
    Handle(Item("switch_workmode", 1));
    SystemStatusInfo s = Record();
    EXPECT_EQ(s.iWorkMode, 1);
    EXPECT_EQ(s.iLastWorkMode, 2);
    EXPECT_EQ(s.bPlaybackMode, 0);
    Handle(Item("switch_workmode", 2));
    EXPECT_EQ(Record().bPlaybackMode, 1);

    const int gps[3][2] = {{1, 0}, {1, 1}, {0, 1}}; // present, active for 0, 1, 2
    for (int v = 0; v < 3; v++) {
        Handle(Item("gps_state", v));
        EXPECT_EQ(Record().bGpsPresent, gps[v][0]) << v;
        EXPECT_EQ(Record().bGpsActive, gps[v][1]) << v;
    }
    // Both test-result keys set the same field with the same notice.
    Handle(Item("tfcardtest_result", 3));
    EXPECT_EQ(Record().cTfCardTestResult, 3);
    // Keys that change no field still send their notice.
    IpcMsg_ResetSystemStatusInfo();
    {
        std::lock_guard<std::mutex> l(g_mu);
        g_notices.clear();
    }
    Handle(Item("kovar_rtsp_block", 1) + "," + Item("format_periodically", 1), Item("sync_lang", "US"));
    EXPECT_EQ(Types(), (std::vector<int32_t>{41, 56, 40}));
    SystemStatusInfo zero{};
    EXPECT_EQ(memcmp(&zero, &(s = Record()), sizeof(s)), 0);
}

struct TextCase {
    const char *key;
    const char *value;
    size_t offset;
    int width;
    int32_t expected;
    int32_t eType;
};

TEST_F(Status, EveryTextKeySetsItsFieldAndSendsItsNotice) {
    const TextCase cases[] = {
        {"lock_status", "login", AT(bLockLogin), 1, 1, 1},
        {"app_status", "login", AT(bAppLogin), 1, 1, 2},
        {"4g_app_status", "login_p2p", AT(b4GAppLogin), 1, 1, 3},
        {"rec_status", "start", AT(bIsRecording), 1, 1, 0},
        {"rear_status", "plugin", AT(bRearPlugIn), 1, 1, 5},
        {"inside_status", "plugin", AT(bInsidePlugIn), 1, 1, 6},
        {"snap_event", "gsensor_collision", AT(iSnapType), 4, 0, 14},
        {"switch_mic", "on", AT(bMicOn), 1, 1, 18},
        {"btpair_result", "success", AT(bBtPairSuccess), 1, 1, 19},
        {"resetdev_result", "failure", AT(eResetDevResult), 4, 2, 26},
        {"test_touchpad", "begin", AT(bTouchpadTest), 1, 1, 10},
        {"switch_reversing", "on", AT(bReversing), 1, 1, 12},
        {"switch_wifi", "on", AT(bWifiOn), 1, 1, 13},
        {"acc_status", "on", AT(bAccOn), 1, 1, 31},
        {"bt_empower", "connect", AT(bBtEmpowerConnect), 1, 1, 32},
        {"p2p_talk_status", "p2p_talk_start", AT(bAppTalking), 1, 1, 4},
        {"temp_high_reason", "wifi_off", AT(eTempHighReason), 4, 1, 48},
        {"storage_status", "noinsert", AT(eStorageStatus), 4, 1, 7},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        IpcMsg_ResetSystemStatusInfo();
        {
            std::lock_guard<std::mutex> l(g_mu);
            g_notices.clear();
        }
        ASSERT_EQ(Handle("", Item(c.key, c.value)), 0);
        EXPECT_EQ(FieldOf(Record(), c.offset, c.width), c.expected);
        EXPECT_EQ(Types(), std::vector<int32_t>{c.eType});
    }
}

TEST_F(Status, TextValuesOfTheTables) {
    auto s = [&](const char *key, const char *v) { Handle("", Item(key, v)); };
    // Flags set by one word and cleared by any other.
    s("rec_status", "START");
    EXPECT_EQ(Record().bIsRecording, 1) << "values compare without regard to case";
    s("rec_status", "paused");
    EXPECT_EQ(Record().bIsRecording, 0);
    // Flags set by one word, cleared by another, left by the rest.
    s("app_status", "login");
    s("app_status", "whatever");
    EXPECT_EQ(Record().bAppLogin, 1);
    s("app_status", "logout");
    EXPECT_EQ(Record().bAppLogin, 0);
    s("p2p_talk_status", "p2p_talk_start");
    s("p2p_talk_status", "p2p_talk_stop");
    EXPECT_EQ(Record().bAppTalking, 0);
    s("4g_app_status", "login_p2p");
    s("4g_app_status", "logout_p2p");
    EXPECT_EQ(Record().b4GAppLogin, 0);
    // ACC: on / off move both flags, other words leave them.
    s("acc_status", "off");
    EXPECT_EQ(Record().bAccOff, 1);
    EXPECT_EQ(Record().bAccOn, 0);
    s("acc_status", "unknown");
    EXPECT_EQ(Record().bAccOff, 1);
    s("acc_status", "on");
    EXPECT_EQ(Record().bAccOn, 1);
    EXPECT_EQ(Record().bAccOff, 0);
    // Bluetooth authorisation: text and number forms.
    s("bt_empower", "connect");
    Handle(Item("bt_empower", 5));
    EXPECT_EQ(Record().bBtEmpowerConnect, 0);
    EXPECT_EQ(Record().bBtEmpowerResult, 1);
    s("bt_empower", "refused");
    EXPECT_EQ(Record().bBtEmpowerResult, 0);
    s("bt_empower", "connect");
    s("bt_empower", "other");
    EXPECT_EQ(Record().bBtEmpowerConnect, 1) << "another text leaves the connect flag";
    // Reset results, snapshot kinds, temperature reasons.
    s("resetdev_result", "success_reboot");
    EXPECT_EQ(Record().eResetDevResult, 0);
    s("resetdev_result", "success_no_reboot");
    EXPECT_EQ(Record().eResetDevResult, 1);
    s("resetdev_result", "other");
    EXPECT_EQ(Record().eResetDevResult, 1);
    s("snap_event", "manual");
    EXPECT_EQ(Record().iSnapType, 1);
    s("temp_high_reason", "power_off");
    EXPECT_EQ(Record().eTempHighReason, 0);
    s("temp_high_reason", "srceen_off");
    EXPECT_EQ(Record().eTempHighReason, 2);
    s("temp_high_reason", "screen_off");
    EXPECT_EQ(Record().eTempHighReason, 3) << "only the recorder's spelling means screen off";
}

TEST_F(Status, StorageStates) {
    auto st = [&](const char *v) {
        Handle("", Item("storage_status", v));
        return Record().eStorageStatus;
    };
    EXPECT_EQ(st("plugout"), 2);
    EXPECT_EQ(st("checking"), 3);
    EXPECT_EQ(st("formating"), 9);
    EXPECT_EQ(st("format_succss"), 4);
    EXPECT_EQ(Record().bFormatResult, 1);
    EXPECT_EQ(st("format_failed"), 4) << "the state stays";
    EXPECT_EQ(Record().bFormatResult, 0);
    EXPECT_EQ(st("abnormal_ext"), 8);
    EXPECT_EQ(st("normal"), 8) << "normal keeps abnormal_ext";
    EXPECT_EQ(st("normal_ext"), 4);
    EXPECT_EQ(st("abnormal"), 7);
    EXPECT_EQ(st("normal_ext"), 7) << "normal_ext keeps abnormal";
    EXPECT_EQ(st("normal"), 4);
    EXPECT_EQ(st("normal_without_p1"), 6);
    EXPECT_EQ(st("front_err"), 10);
    EXPECT_EQ(st("first_speedtesting"), 11);
    EXPECT_EQ(st("no_such_state"), 11);
}

TEST_F(Status, KeysIgnoreCaseUnknownKeysAreIgnoredNumbersComeBeforeTexts) {
    ASSERT_EQ(Handle(Item("GPS_STATE", 1) + "," + Item("no_such_key", 1),
                     Item("REC_Status", "start") + "," + Item("switch_mic", "on")),
              0);
    EXPECT_EQ(Record().bIsRecording, 1);
    EXPECT_EQ(Record().bGpsActive, 1);
    EXPECT_EQ(Types(), (std::vector<int32_t>{16, 0, 18}));
}

TEST_F(Status, BadBodiesChangeNothingTheyShouldNot) {
    Handle(Item("4G_level", 3), Item("rec_status", "start"));
    const SystemStatusInfo before = Record();
    MsgHeader h{};
    EXPECT_EQ(IpcMsg_UpdateStatuslCallbcak("{not json", &h), -1);
    EXPECT_EQ(IpcMsg_UpdateStatuslCallbcak(nullptr, &h), -1);
    // Wrong types, values out of the int32 range, entries that are not objects, lists that are
    // not lists: each is skipped, the good entries beside them still count.
    const std::string body =
        R"({"int_params":[{"key":"4G_level","value":"7"},{"key":"4G_level","value":1e12},)"
        R"({"key":"4G_level","value":2.5},7,{"value":3},{"key":5,"value":5},)"
        R"({"key":"temp_level","value":9}],"string_params":{"key":"rec_status"}})";
    EXPECT_EQ(IpcMsg_UpdateStatuslCallbcak(FakeRecorder::Msg("IPCMSG_SYSTEMSTATUS", body).c_str(), &h), 0);
    SystemStatusInfo after = Record();
    EXPECT_EQ(after.i4GLevel, before.i4GLevel);
    EXPECT_EQ(after.bIsRecording, 1);
    EXPECT_EQ(after.iTempLevel, 9);
    after.iTempLevel = before.iTempLevel;
    EXPECT_EQ(memcmp(&before, &after, sizeof(after)), 0);
    // A text where a number belongs (and the reverse) is refused by the row.
    EXPECT_EQ(IpcMsg_UpdateStatusIntHandle("rec_status", nullptr), 0) << "not a number key";
    EXPECT_EQ(IpcMsg_UpdateStatusIntHandle("4G_level", nullptr), -1);
    EXPECT_EQ(IpcMsg_UpdateStatusStrHandle("rec_status", nullptr), -1);
}

TEST_F(Status, TriggerEvents) {
    MsgHeader h{};
    auto trig = [&](const std::string &body) {
        return IpcMsg_TriggerEvtlCallbcak(FakeRecorder::Msg("IPCMSG_TRIGGEREVT", body).c_str(), &h);
    };
    EXPECT_EQ(trig(R"({"event_type":"GSENSOR_collision","duration":12})"), 0);
    EXPECT_EQ(Record().iSnapType, 0);
    EXPECT_EQ(Record().iSnapDuration, 12);
    EXPECT_EQ(Types(), std::vector<int32_t>{14});
    // Without a duration the type changes and no notice goes out.
    EXPECT_EQ(trig(R"({"event_type":"emergency"})"), -1);
    EXPECT_EQ(Record().iSnapType, 1);
    EXPECT_EQ(Record().iSnapDuration, 12);
    EXPECT_EQ(trig(R"({"event_type":"emergency","duration":"long"})"), -1);
    EXPECT_EQ(trig(R"({"duration":3})"), -1);
    EXPECT_EQ(trig(R"({"event_type":7,"duration":3})"), -1);
    EXPECT_EQ(IpcMsg_TriggerEvtlCallbcak("[", &h), -1);
    EXPECT_EQ(Types().size(), 1u);
    EXPECT_EQ(access(StatusFile().c_str(), F_OK), -1) << "trigger events do not write the file";
}

TEST_F(Status, NoReceiverStillUpdatesTheRecord) {
    IpcMsg_SetStatusCallback(nullptr);
    EXPECT_EQ(IpcMsg_UpdateStatusStrHandle("rec_status", "start"), -1);
    EXPECT_EQ(Record().bIsRecording, 1);
}

// ---- the status file ------------------------------------------------------------------------

std::string Slurp(const std::string &p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Spit(const std::string &p, const std::string &data) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << data;
}

TEST_F(Status, TheFileKeepsTheRecordAcrossARestart) {
    EXPECT_EQ(IpcMsg_LoadStatusInFile(), 0) << "no file yet";
    Handle(Item("4G_level", 4) + "," + Item("gps_state", 1), Item("rear_status", "plugin"));
    const std::string image = Slurp(StatusFile());
    ASSERT_EQ(image.size(), 136u);
    const SystemStatusInfo rec = Record();
    EXPECT_EQ(memcmp(image.data(), &rec, 112), 0);
    EXPECT_EQ(access((StatusFile() + ".tmp").c_str(), F_OK), -1);
    const SystemStatusInfo saved = Record();
    IpcMsg_ResetSystemStatusInfo(); // a new start
    EXPECT_EQ(IpcMsg_loadSystemStatusInfoInFile(), 0);
    SystemStatusInfo loaded = Record();
    EXPECT_EQ(memcmp(&saved, &loaded, sizeof(loaded)), 0);
    EXPECT_EQ(loaded.bRearPlugIn, 1);
}

TEST_F(Status, ShortLongAndForeignFilesAreRefused) {
    Handle(Item("4G_level", 4));
    const std::string good = Slurp(StatusFile());
    const std::string bad[] = {
        good.substr(0, 135),                      // truncated
        good + "x",                               // too long
        std::string(136, '\x01'),                 // garbage of the right size
        std::string(136, '\0'),                   // all zero, as an older program left it
        std::string(good).replace(64, 1, "\x09"), // one status byte changed
        "",
    };
    Handle(Item("temp_level", 2));
    const SystemStatusInfo current = Record();
    for (const auto &b : bad) {
        Spit(StatusFile(), b);
        EXPECT_EQ(IpcMsg_LoadStatusInFile(), -1) << b.size();
        SystemStatusInfo now = Record();
        EXPECT_EQ(memcmp(&current, &now, sizeof(now)), 0) << "the record keeps what it had";
    }
    Spit(StatusFile(), good);
    EXPECT_EQ(IpcMsg_LoadStatusInFile(), 0);
    EXPECT_EQ(Record().i4GLevel, 4);
    EXPECT_EQ(Record().iTempLevel, 0);
}

TEST_F(Status, AWriterKilledAnyTimeLeavesAWholeRecord) {
    Handle(Item("4G_level", 1));
    std::mt19937 rnd(7);
    for (int round = 0; round < 20; round++) {
        pid_t pid = fork();
        if (pid == 0) {
            for (int i = 0;; i++) {
                IpcMsg_UpdateStatusIntHandle("4G_level", &i);
                IpcMsg_SaveStatusInFile();
            }
        }
        usleep(200 + rnd() % 3000);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        IpcMsg_ResetSystemStatusInfo();
        ASSERT_EQ(IpcMsg_LoadStatusInFile(), 0) << "round " << round;
        EXPECT_EQ(Slurp(StatusFile()).size(), 136u);
    }
}

TEST_F(Status, SetFromPagesKeepsTheReservedBytesZero) {
    SystemStatusInfo s{};
    s.bInGuide = 1;
    memset(s.au8Reserved112, 0xAB, sizeof(s.au8Reserved112));
    EXPECT_EQ(IpcMsg_SetSystemStatusInfo(&s, sizeof(s)), 0);
    SystemStatusInfo r = Record();
    EXPECT_EQ(r.bInGuide, 1);
    EXPECT_EQ(r.au8Reserved112[0], 0);
    EXPECT_EQ(IpcMsg_SetSystemStatusInfo(nullptr, 136), -1);
    EXPECT_EQ(IpcMsg_GetSystemStatusInfo(nullptr, 136), -1);
    EXPECT_EQ(IpcMsg_SetSystemStatusByte(offsetof(SystemStatusInfo, bIsPlayerInit), 1), 0);
    EXPECT_EQ(Record().bIsPlayerInit, 1);
    EXPECT_EQ(IpcMsg_SetSystemStatusByte(112, 1), -1);
}

// ---- from the receive threads to the subscribers --------------------------------------------

class StatusRoad : public ::testing::Test {
  protected:
    void SetUp() override {
        Up();
        IpcMsg_SetStatusFilePath(StatusFile().c_str());
        IpcMsg_ResetSystemStatusInfo();
        Drain();
        PublishedLog().clear();
    }
    void TearDown() override { IpcMsg_SetStatusFilePath(nullptr); }
    static void Drain() {
        while (DP_SystemStatus_PendingCount() > 0)
            Advance(10);
    }
    // The notices published by "SystemStatus" since the start of the test.
    static std::vector<SystemStatusNotice> Published() {
        std::vector<SystemStatusNotice> out;
        for (const auto &p : PublishedLog()) {
            if (p.from == DP_ACCOUNT_SYSTEM_STATUS && p.data.size() == sizeof(SystemStatusNotice)) {
                SystemStatusNotice n;
                memcpy(&n, p.data.data(), sizeof(n));
                out.push_back(n);
            }
        }
        return out;
    }
    // Every notice was published in the order the handlers ran: each work-mode notice names the
    // mode of the one before as the last mode.
    static void ExpectChain(const std::vector<SystemStatusNotice> &n, size_t count) {
        ASSERT_EQ(n.size(), count);
        std::set<int32_t> modes;
        for (size_t i = 0; i < n.size(); i++) {
            EXPECT_EQ(n[i].eType, SYS_STATUS_WORKMODE);
            if (i > 0) {
                ASSERT_EQ(n[i].stInfo.iLastWorkMode, n[i - 1].stInfo.iWorkMode) << i;
            }
            modes.insert(n[i].stInfo.iWorkMode);
        }
        EXPECT_EQ(modes.size(), count) << "no notice lost or doubled";
    }
    static bool WaitPending(uint32_t n) {
        for (int i = 0; i < 5000 && DP_SystemStatus_PendingCount() < n; i++)
            usleep(1000);
        return DP_SystemStatus_PendingCount() >= n;
    }
};

TEST_F(StatusRoad, ABurstOfTenIsPublishedOnePerTickInArrivalOrder) {
    for (int i = 1; i <= 10; i++)
        ASSERT_EQ(Recorder().Status("switch_workmode", i), 0);
    ASSERT_TRUE(WaitPending(10));
    for (int tick = 1; tick <= 10; tick++) {
        Advance(10);
        EXPECT_EQ(Published().size(), (size_t)tick);
    }
    ExpectChain(Published(), 10);
    // Pulls and notifies of the record through the account.
    SystemStatusInfo s;
    EXPECT_EQ(TestAccount()->Pull(DP_ACCOUNT_SYSTEM_STATUS, &s, sizeof(s)), 0);
    EXPECT_EQ(s.iWorkMode, Published().back().stInfo.iWorkMode);
    EXPECT_EQ(TestAccount()->Pull(DP_ACCOUNT_SYSTEM_STATUS, &s, sizeof(s) - 1), Account::RES_SIZE_MISMATCH);
    s.bPageBusy = 1;
    EXPECT_EQ(TestAccount()->Notify(DP_ACCOUNT_SYSTEM_STATUS, &s, sizeof(s)), 0);
    EXPECT_EQ(Record().bPageBusy, 1);
    EXPECT_EQ(TestAccount()->Notify(DP_ACCOUNT_SYSTEM_STATUS, &s, 140), Account::RES_SIZE_MISMATCH);
}

// Three threads hand 10 000 messages to the agent's dispatch as fast as they can, as its three
// receive threads do (without the 20 ms pause each of them takes after a message: through the
// queue the agent takes about 150 a second, see bench/data_layer), while the LVGL thread
// publishes.
TEST_F(StatusRoad, TenThousandFromThreeThreadsLoseNothing) {
    constexpr int kCount = 10000;
    std::atomic<int> next{1}, done{0};
    std::vector<std::thread> receivers;
    for (int t = 0; t < 3; t++) {
        receivers.emplace_back([&] {
            for (int i = next++; i <= kCount; i = next++) {
                const std::string msg = StatusMsg(Item("switch_workmode", i), "");
                VYX_IPCMSG_HandleMsg(msg.c_str());
            }
            done++;
        });
    }
    // The LVGL thread publishes meanwhile, until the receivers are done and nothing waits.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!(done == 3 && DP_SystemStatus_PendingCount() == 0) && std::chrono::steady_clock::now() < end)
        Advance(10);
    for (auto &r : receivers)
        r.join();
    ExpectChain(Published(), kCount);
}

} // namespace
