// The message modules against recorder_sim: settings loaded and saved end to end (the stand-in's
// state file changes), control items answered and reported back as status, the player's state
// machine and the three queries.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "IpcMsg_DevFacTest.h"
#include "IpcMsg_DevsInfo.h"
#include "IpcMsg_GeneralCtrl.h"
#include "IpcMsg_GeneralSeting.h"
#include "IpcMsg_KovarInfo.h"
#include "IpcMsg_LteInfo.h"
#include "IpcMsg_Player.h"
#include "IpcMsg_SystemStatus.h"
#include "log.h"

namespace {

const VYX_IPCMSG_HandlerRow kRows[] = {
    {"IPCMSG_SYSTEMSTATUS", IpcMsg_UpdateStatuslCallbcak},
    {"IPCMSG_TRIGGEREVT", IpcMsg_TriggerEvtlCallbcak},
    {"IPCMSG_DEV_FACTEST_CB", IpcMsg_DevFacTestStatuslCallbcak},
};

std::atomic<int> g_notices{0};
void Count(SystemStatusNotice) {
    g_notices++;
}

std::string Dir() {
    static std::string d = [] {
        char t[] = "/tmp/data_layer_sim_XXXXXX";
        return std::string(mkdtemp(t));
    }();
    return d;
}

std::string Slurp(const std::string &p) {
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

cJSON *State() {
    return cJSON_Parse(Slurp(Dir() + "/state.json").c_str());
}

template <typename F> bool WaitFor(F cond) {
    for (int i = 0; i < 500; i++) {
        if (cond())
            return true;
        usleep(10000);
    }
    return cond();
}

class WithRecorderSim : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Log_Config(true, true, LOG_LEVEL_WARN);
        std::ofstream(Dir() + "/play.txt") << "state device soft_version=V2.1.0\n"
                                              "factest key_status=1 snap_status=/mnt/R_0001.jpg\n"
                                              "upkeep-time format 300\n";
        // Cross builds run the stand-in through the emulator.
        std::string cmd = "exec ";
#ifdef E2E_EMULATOR
        cmd += E2E_EMULATOR " ";
#endif
        cmd += std::string(RECORDER_SIM_BIN) + " --no-marker --stay --state " + Dir() +
               "/state.json --scenario " + Dir() + "/play.txt >" + Dir() + "/sim.out";
        s_pid = fork();
        if (s_pid == 0) {
            execl("/bin/sh", "sh", "-c", cmd.c_str(), (char *)nullptr);
            _exit(127);
        }
        ASSERT_EQ(VYX_IPCMSG_AgentInit(VYX_IPCMSG_KEY_UI_RECV, VYX_IPCMSG_KEY_UI_SEND, kRows, 3), 0);
        IpcMsg_SetStatusCallback(Count);
        IpcMsg_SetStatusFilePath((Dir() + "/ui_status").c_str());
        ASSERT_TRUE(WaitFor([] { return Slurp(Dir() + "/sim.out").find(" ready") != std::string::npos; }));
    }
    static void TearDownTestSuite() {
        kill(s_pid, SIGTERM);
        int st = 0;
        waitpid(s_pid, &st, 0);
        EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    }
    static pid_t s_pid;
};
pid_t WithRecorderSim::s_pid = -1;

TEST_F(WithRecorderSim, SettingsAreLoadedAndSavedIntoItsStateFile) {
    ASSERT_EQ(IpcMsg_GeneralSetingItemLoadAll(), 0);
    GeneralSetingInfo s;
    IpcMsg_GeneralSetingCopy(&s, sizeof(s));
    EXPECT_EQ(s.language, 2);
    EXPECT_EQ(s.installtion_guidecnt, 1);
    EXPECT_EQ(s.dev_total_size, 60906);
    EXPECT_STREQ(s.lowPowerVoltageOp, "116,118,120,122");

    ASSERT_EQ(IpcMsg_GeneralSetingItemSave(GS_SPEAKER_TURN, nullptr, 4), 0);
    ASSERT_EQ(IpcMsg_GeneralSetingItemSave(GS_PARKING_MODE_OPTION, "1,2", 0), 0);
    IpcMsg_GeneralSetingCopy(&s, sizeof(s));
    EXPECT_EQ(s.speaker_turn, 4);
    cJSON *st = State();
    ASSERT_NE(st, nullptr);
    cJSON *set = cJSON_GetObjectItem(st, "settings");
    EXPECT_EQ(cJSON_GetObjectItem(set, "speaker_turn")->valueint, 4);
    EXPECT_STREQ(cJSON_GetObjectItem(set, "parking_mode_option")->valuestring, "1,2");
    cJSON_Delete(st);
    // Saving the microphone setting makes the recorder report the microphone as status.
    const int before = g_notices;
    ASSERT_EQ(IpcMsg_GeneralSetingItemSave(GS_MIC_SWITCH, nullptr, 0), 0);
    EXPECT_TRUE(WaitFor([&] { return g_notices > before; }));
    SystemStatusInfo rec;
    IpcMsg_GetSystemStatusInfo(&rec, sizeof(rec));
    EXPECT_EQ(rec.bMicOn, 0);
    ASSERT_EQ(IpcMsg_GeneralSetingItemLoadAll(), 0);
    IpcMsg_GeneralSetingCopy(&s, sizeof(s));
    EXPECT_STREQ(s.parking_mode_option, "1,2");
}

TEST_F(WithRecorderSim, ControlItemsAreAnsweredAndReportedAsStatus) {
    ASSERT_EQ(IpcMsg_GeneralCtrlBlockingPublish(CTRL_ELEM_REC, "start"), 0);
    EXPECT_TRUE(WaitFor([] {
        SystemStatusInfo rec;
        IpcMsg_GetSystemStatusInfo(&rec, sizeof(rec));
        return rec.bIsRecording == 1;
    }));
    ASSERT_EQ(IpcMsg_GeneralCtrlBlockingPublish(CTRL_ELEM_FORMAT, nullptr), 0);
    EXPECT_TRUE(WaitFor([] {
        SystemStatusInfo rec;
        IpcMsg_GetSystemStatusInfo(&rec, sizeof(rec));
        return rec.bFormatResult == 1 && rec.eStorageStatus == STORAGE_STATUS_NORMAL;
    }));
    EXPECT_EQ(IpcMsg_GeneralCtrlNoBlockingPublish(CTRL_ELEM_PLAYBACKMODE, "enter"), 0);
    EXPECT_TRUE(WaitFor([] {
        SystemStatusInfo rec;
        IpcMsg_GetSystemStatusInfo(&rec, sizeof(rec));
        return rec.bPlaybackMode == 1;
    }));
    // The status file follows every status message.
    EXPECT_EQ(Slurp(Dir() + "/ui_status").size(), 136u);
}

TEST_F(WithRecorderSim, PlayerStateMachine) {
    IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_DEINIT, nullptr);
    EXPECT_EQ(IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_PLAY, nullptr), -1) << "no player open";
    EXPECT_EQ(IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_INIT, nullptr), 0);
    EXPECT_EQ(IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_PREPARE, "/app/sd/DCIM/200video/a.mp4"), 0);
    EXPECT_EQ(IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_PLAY, nullptr), 0);
    EXPECT_EQ(IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_GETPLAYSTATE, nullptr), 0);
    PlayerState st;
    IpcMsg_PlayerGetState(&st);
    EXPECT_EQ(st.eState, 3);
    EXPECT_EQ(IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_SEEK, "90000"), 0);
    EXPECT_EQ(IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_DEINIT, nullptr), 0);
    EXPECT_EQ(IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_GETPLAYSTATE, nullptr), -1);
}

TEST_F(WithRecorderSim, QueriesAndTheFactoryTestNotice) {
    ASSERT_EQ(IpcMsg_DevsInfoLoad(), 0);
    DevsInfo d;
    IpcMsg_DevsInfoCopy(&d);
    EXPECT_STREQ(d.szSoftVersion, "V2.1.0");
    EXPECT_STREQ(d.szModel, "VR-T3");
    ASSERT_EQ(IpcMsg_KovarInfoQuerylHandle(), 0);
    KovarInfo k;
    IpcMsg_KovarInfoCopy(&k);
    EXPECT_EQ(k.eStatus, 1);
    EXPECT_STREQ(k.szName, "Rear link");
    ASSERT_EQ(IpcMsg_LteInfoLoad(), 0);
    DevFacTestInfo f;
    IpcMsg_DevFacTestCopy(&f);
    EXPECT_EQ(f.bFacKeyOk, 1);
    EXPECT_STREQ(f.szRearSnapFile, "/mnt/R_0001.jpg");
}

} // namespace
