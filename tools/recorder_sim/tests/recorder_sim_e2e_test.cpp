// The agent on the user interface's side against the recorder_sim program.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "sys_paths.h"
#include "vyx_ipcmsg.h"

namespace {

std::mutex g_mu;
std::vector<std::string> g_inbound;

int Record(const char *msg, const MsgHeader *) {
    std::lock_guard<std::mutex> l(g_mu);
    g_inbound.emplace_back(msg);
    return 0;
}
const VYX_IPCMSG_HandlerRow kRows[] = {{"IPCMSG_KEYEVENT", Record}, {"IPCMSG_SYSTEMSTATUS", Record}};

std::string Dir() {
    static std::string d = [] {
        char t[] = "/tmp/recorder_sim_e2e_XXXXXX";
        return std::string(mkdtemp(t));
    }();
    return d;
}

// Runs recorder_sim with args, standard output and error into files; returns its pid.
// feed, when given, is a shell command whose output becomes the program's standard input.
pid_t Start(const std::vector<std::string> &args, const std::string &name, const std::string &feed = "") {
    std::string cmd = feed.empty() ? "exec " : "(" + feed + ") | exec ";
#ifdef E2E_EMULATOR
    cmd += E2E_EMULATOR " ";
#endif
    cmd += RECORDER_SIM_BIN;
    for (const auto &a : args)
        cmd += " '" + a + "'";
    cmd += " >" + Dir() + "/" + name + ".out 2>" + Dir() + "/" + name + ".err";
    pid_t pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", cmd.c_str(), (char *)nullptr);
        _exit(127);
    }
    return pid;
}

int Wait(pid_t pid) {
    int st = 0;
    waitpid(pid, &st, 0);
    return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
}

std::string Slurp(const std::string &path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string Req(const char *id, const std::string &body) {
    MsgHeader h;
    VYX_IPCMSG_InitHeader(&h, id, 0, 1);
    char *t = VYX_IPCMSG_BuildMsg(&h, cJSON_Parse(body.c_str()));
    std::string s = t;
    cJSON_free(t);
    return s;
}

class RecorderSim : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(VYX_IPCMSG_AgentInit(VYX_IPCMSG_KEY_UI_RECV, VYX_IPCMSG_KEY_UI_SEND, kRows, 2), 0);
    }
    void SetUp() override {
        std::lock_guard<std::mutex> l(g_mu);
        g_inbound.clear();
    }
    std::vector<std::string> Inbound() {
        std::lock_guard<std::mutex> l(g_mu);
        return g_inbound;
    }
};

} // namespace

TEST_F(RecorderSim, HelpAndBadScenariosFailClearly) {
    EXPECT_EQ(Wait(Start({"--help"}, "help")), 0);
    EXPECT_NE(Slurp(Dir() + "/help.out").find("--scenario"), std::string::npos);
    EXPECT_EQ(Wait(Start({"--bogus"}, "bogus")), 2);
    std::ofstream(Dir() + "/bad.txt") << "wait 10\n# fine\nclick HOME\nsend {not json\n";
    EXPECT_EQ(Wait(Start({"--scenario", Dir() + "/bad.txt"}, "bad")), 2);
    std::string err = Slurp(Dir() + "/bad.err");
    EXPECT_NE(err.find("bad.txt:3:"), std::string::npos) << err;
    EXPECT_NE(err.find("bad.txt:4:"), std::string::npos) << err;
    EXPECT_EQ(Wait(Start({"--scenario", Dir() + "/missing.txt"}, "missing")), 2);
}

TEST_F(RecorderSim, SettingsAreSavedQueriedAndKeptInItsFile) {
    const std::string settings = Dir() + "/settings.json";
    pid_t pid = Start({"--settings", settings}, "settings");
    ASSERT_TRUE([&] {
        for (int i = 0; i < 500; i++) {
            if (access(SYS_PATH_READY2START_UI, F_OK) == 0)
                return true;
            usleep(10000);
        }
        return false;
    }());
    char rsp[2048];
    std::string save = Req("IPCMSG_GENERALSETING_SAVE",
                           R"({"int_params":[{"key":"language","value":2}],"string_params":""})");
    ASSERT_EQ(VYX_IPCMSG_SendSync(save.c_str(), save.size() + 1, 10000, rsp, 128), 0);
    EXPECT_NE(strstr(rsp, "\"result\":0"), nullptr) << rsp;
    save = Req("IPCMSG_GENERALSETING_SAVE",
               R"({"int_params":"","string_params":[{"key":"api_query_ability","value":"abc"}]})");
    ASSERT_EQ(VYX_IPCMSG_SendSync(save.c_str(), save.size() + 1, 10000, rsp, 128), 0);
    EXPECT_NE(strstr(rsp, "\"result\":0"), nullptr) << rsp;
    // Nothing storable: refused.
    save = Req("IPCMSG_GENERALSETING_SAVE", R"({"int_params":[{"key":"language","value":"x"}]})");
    ASSERT_EQ(VYX_IPCMSG_SendSync(save.c_str(), save.size() + 1, 10000, rsp, 128), 0);
    EXPECT_NE(strstr(rsp, "\"result\":-1"), nullptr) << rsp;

    std::string query =
        Req("IPCMSG_GENERALSETING_QUERY",
            R"({"keys":[{"key":"language"},{"key":"api_query_ability"},{"key":"never_set"}]})");
    ASSERT_EQ(VYX_IPCMSG_SendSync(query.c_str(), query.size() + 1, 10000, rsp, sizeof(rsp)), 0);
    cJSON *ans = cJSON_Parse(rsp);
    ASSERT_NE(ans, nullptr) << rsp;
    cJSON *ints = cJSON_GetObjectItem(ans, "int_params");
    ASSERT_EQ(cJSON_GetArraySize(ints), 1);
    EXPECT_EQ(cJSON_GetObjectItem(cJSON_GetArrayItem(ints, 0), "value")->valueint, 2);
    cJSON *strs = cJSON_GetObjectItem(ans, "string_params");
    ASSERT_EQ(cJSON_GetArraySize(strs), 1);
    EXPECT_STREQ(cJSON_GetObjectItem(cJSON_GetArrayItem(strs, 0), "value")->valuestring, "abc");
    cJSON_Delete(ans);

    // A request without responder gets no answer.
    std::string unknown = Req("IPCMSG_NO_SUCH_REQUEST", "{}");
    EXPECT_EQ(VYX_IPCMSG_SendSync(unknown.c_str(), unknown.size() + 1, 300, rsp, sizeof(rsp)), 0x6A);

    kill(pid, SIGTERM);
    EXPECT_EQ(Wait(pid), 0);
    std::string file = Slurp(settings);
    EXPECT_NE(file.find("\"language\""), std::string::npos) << file;
    std::string out = Slurp(Dir() + "/settings.out");
    EXPECT_NE(out.find("recv {\"msgHdr\":{\"protVer\":0,\"msgID\":\"IPCMSG_GENERALSETING_QUERY\""),
              std::string::npos);
}

TEST_F(RecorderSim, ScenarioSendsKeysAndStatusAndWaitsForExpectations) {
    std::string marker = Dir() + "/marker";
    std::ofstream(Dir() + "/play.txt")
        << "# keys, a status item, a raw message\n"
           "click OK 20\n"
           "press BACK\n"
           "release BACK\n"
           "status rec_status start\n"
           "status sd_status 2\n"
           "send {\"msgHdr\":{\"msgID\":\"IPCMSG_KEYEVENT\"},\"keycode\":3,\"keyvalue\":3}\n"
           "expect-log IPCMSG_GENERALSETING_QUERY 5000\n"
           "expect-file " +
               marker +
               " 5000\n"
               "wait 10\n";
    pid_t pid = Start({"--scenario", Dir() + "/play.txt", "--settings", Dir() + "/s2.json"}, "play");
    // The scenario waits for a query and for a file, which this side provides once the keys came.
    ASSERT_TRUE([&] {
        for (int i = 0; i < 500 && Inbound().size() < 7; i++)
            usleep(10000);
        return Inbound().size() == 7;
    }());
    char rsp[512];
    std::string query = Req("IPCMSG_GENERALSETING_QUERY", R"({"keys":[]})");
    EXPECT_EQ(VYX_IPCMSG_SendSync(query.c_str(), query.size() + 1, 10000, rsp, sizeof(rsp)), 0);
    std::ofstream(marker) << "x";
    EXPECT_EQ(Wait(pid), 0) << Slurp(Dir() + "/play.err");
    auto in = Inbound();
    ASSERT_EQ(in.size(), 7u);
    // Three receive threads handle messages sent back to back in either order.
    auto count = [&](const char *t) {
        return std::count_if(in.begin(), in.end(),
                             [&](const std::string &s) { return s.find(t) != std::string::npos; });
    };
    EXPECT_EQ(count("\"keycode\":0,\"keyvalue\":3"), 1);
    EXPECT_EQ(count("\"keycode\":0,\"keyvalue\":4"), 1);
    EXPECT_EQ(count("\"keycode\":6,\"keyvalue\":3"), 1);
    EXPECT_EQ(count("\"keycode\":6,\"keyvalue\":4"), 1);
    EXPECT_EQ(count("\"string_params\":[{\"key\":\"rec_status\",\"value\":\"start\"}]"), 1);
    EXPECT_EQ(count("\"int_params\":[{\"key\":\"sd_status\",\"value\":2}]"), 1);
    EXPECT_EQ(count("\"keycode\":3,\"keyvalue\":3}"), 1);
}

TEST_F(RecorderSim, FailedExpectationEndsTheScenarioWithStatus1) {
    std::ofstream(Dir() + "/fail.txt") << "expect-file " << Dir() << "/never 100\nclick OK\n";
    EXPECT_EQ(Wait(Start({"--scenario", Dir() + "/fail.txt", "--no-marker"}, "fail")), 1);
    EXPECT_NE(Slurp(Dir() + "/fail.err").find("did not appear within 100 ms"), std::string::npos);
    usleep(100000);
    EXPECT_TRUE(Inbound().empty());
}

TEST_F(RecorderSim, KeyHookLinesBecomeKeyEvents) {
    std::string fifo = Dir() + "/keys.fifo";
    pid_t pid = Start({"--keys", fifo, "--no-marker"}, "hook");
    struct stat sb;
    for (int i = 0; i < 500 && stat(fifo.c_str(), &sb) != 0; i++)
        usleep(10000);
    ASSERT_EQ(stat(fifo.c_str(), &sb), 0);
    {
        std::ofstream f(fifo);
        f << "NEXT press\nNEXT release\nbogus line\nPREV press\n";
    }
    for (int i = 0; i < 500 && Inbound().size() < 3; i++)
        usleep(10000);
    kill(pid, SIGTERM);
    EXPECT_EQ(Wait(pid), 0);
    auto in = Inbound();
    ASSERT_EQ(in.size(), 3u);
    for (const char *t :
         {"\"keycode\":2,\"keyvalue\":3", "\"keycode\":2,\"keyvalue\":4", "\"keycode\":3,\"keyvalue\":3"})
        EXPECT_EQ(std::count_if(in.begin(), in.end(),
                                [&](const std::string &s) { return s.find(t) != std::string::npos; }),
                  1)
            << t;
    EXPECT_NE(Slurp(Dir() + "/hook.err").find("ignored key line \"bogus line\""), std::string::npos);
}

TEST_F(RecorderSim, InteractiveKeysBecomeClicks) {
    // Enter, Down, Up, then a lone Escape, then q.
    pid_t pid = Start({"--interactive", "--no-marker"}, "tty",
                      "printf '\\n\\033[B\\033[A'; sleep 0.3; printf '\\033'; sleep 0.3; printf q");
    EXPECT_EQ(Wait(pid), 0) << Slurp(Dir() + "/tty.err");
    for (int i = 0; i < 500 && Inbound().size() < 8; i++)
        usleep(10000);
    auto in = Inbound();
    EXPECT_EQ(in.size(), 8u);
    for (int code : {0, 2, 3, 6})
        for (int value : {3, 4}) {
            std::string t = "\"keycode\":" + std::to_string(code) + ",\"keyvalue\":" + std::to_string(value);
            EXPECT_EQ(std::count_if(in.begin(), in.end(),
                                    [&](const std::string &m) { return m.find(t) != std::string::npos; }),
                      1)
                << t;
        }
}

// Sends a request with one string_params entry and returns the answer's "result" (or -100).
int Ctrl(const char *id, const char *key, const char *value) {
    std::string body =
        std::string(R"({"string_params":[{"key":")") + key + R"(","value":")" + value + R"("}]})";
    std::string req = Req(id, body);
    char rsp[512];
    if (VYX_IPCMSG_SendSync(req.c_str(), req.size() + 1, 5000, rsp, sizeof(rsp)) != 0)
        return -100;
    cJSON *a = cJSON_Parse(rsp);
    int r =
        cJSON_IsNumber(cJSON_GetObjectItem(a, "result")) ? cJSON_GetObjectItem(a, "result")->valueint : -100;
    cJSON_Delete(a);
    return r;
}

TEST_F(RecorderSim, FamiliesKeepOneStateDocumentAndReportEffects) {
    const std::string state = Dir() + "/state.json";
    std::ofstream(state) << R"({"language":7,"wifi_mode":2})"; // a settings file of the earlier form
    std::ofstream(Dir() + "/fam.txt") << "state device soft_version=V9.9\nmute IPCMSG_LTEINFO_QUERY\n";
    pid_t pid = Start({"--state", state, "--scenario", Dir() + "/fam.txt", "--stay", "--no-marker"}, "fam");
    ASSERT_TRUE([&] {
        for (int i = 0; i < 500; i++) {
            if (Slurp(Dir() + "/fam.out").find("ready") != std::string::npos)
                return true;
            usleep(10000);
        }
        return false;
    }());
    usleep(100000); // the scenario's two steps
    // The player's state machine: commands the state does not allow are refused.
    EXPECT_EQ(Ctrl("IPCMSG_PLAYBACK_CTRL", "playback_getplaystate", ""), -1);
    EXPECT_EQ(Ctrl("IPCMSG_PLAYBACK_CTRL", "playback_play", ""), -1);
    EXPECT_EQ(Ctrl("IPCMSG_PLAYBACK_CTRL", "playback_init", ""), 0);
    EXPECT_EQ(Ctrl("IPCMSG_PLAYBACK_CTRL", "playback_prepare", ""), -1);
    EXPECT_EQ(Ctrl("IPCMSG_PLAYBACK_CTRL", "playback_prepare", "/app/sd/DCIM/a.mp4"), 0);
    EXPECT_EQ(Ctrl("IPCMSG_PLAYBACK_CTRL", "playback_play", ""), 0);
    EXPECT_EQ(Ctrl("IPCMSG_PLAYBACK_CTRL", "playback_getplaystate", ""), 3);
    EXPECT_EQ(Ctrl("IPCMSG_PLAYBACK_CTRL", "playback_seek", "90000"), 0);
    EXPECT_EQ(Ctrl("IPCMSG_PLAYBACK_CTRL", "playback_resume", ""), -1);
    // A control item changes the state and is reported as status after the answer.
    EXPECT_EQ(Ctrl("IPCMSG_GENERALCTRL", "ctrl_rec", "stop"), 0);
    EXPECT_EQ(Ctrl("IPCMSG_GENERALCTRL", "not_an_item", ""), -1);
    for (int i = 0; i < 500 && Inbound().empty(); i++)
        usleep(10000);
    ASSERT_EQ(Inbound().size(), 1u);
    EXPECT_NE(Inbound()[0].find(R"({"key":"rec_status","value":"stop"})"), std::string::npos) << Inbound()[0];
    // Device information from the state; a muted request gets no answer.
    char rsp[1024];
    std::string q = Req("IPCMSG_DEVINFO_QUERY", "{}");
    ASSERT_EQ(VYX_IPCMSG_SendSync(q.c_str(), q.size() + 1, 5000, rsp, sizeof(rsp)), 0);
    EXPECT_NE(strstr(rsp, "\"soft_version\":\"V9.9\""), nullptr) << rsp;
    q = Req("IPCMSG_LTEINFO_QUERY", "{}");
    EXPECT_EQ(VYX_IPCMSG_SendSync(q.c_str(), q.size() + 1, 300, rsp, sizeof(rsp)), 0x6A);
    kill(pid, SIGTERM);
    EXPECT_EQ(Wait(pid), 0);
    cJSON *doc = cJSON_Parse(Slurp(state).c_str());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(cJSON_GetObjectItem(cJSON_GetObjectItem(doc, "player"), "position")->valueint, 90000);
    EXPECT_EQ(cJSON_GetObjectItem(cJSON_GetObjectItem(doc, "recorder"), "recording")->valueint, 0);
    EXPECT_EQ(cJSON_GetArraySize(cJSON_GetObjectItem(doc, "settings")), 92);
    EXPECT_EQ(cJSON_GetObjectItem(cJSON_GetObjectItem(doc, "settings"), "language")->valueint, 7);
    EXPECT_EQ(cJSON_GetObjectItem(doc, "language"), nullptr);
    cJSON_Delete(doc);
}

// Keys pressed quickly at the terminal reach the user interface's agent in the order pressed,
// press before release, each message with a transID of its own.
TEST_F(RecorderSim, TwoHundredQuickClicksArriveInOrder) {
#ifdef E2E_EMULATOR
    // Under the emulator a receive thread can take longer than 40 ms to reach its handler.
    const int kClicks = 40;
    const char *hold = "200";
#else
    const int kClicks = 200;
    const char *hold = "40";
#endif
    pid_t pid = Start({"--interactive", "--no-marker", "--key-hold", hold}, "clicks",
                      "for i in $(seq " + std::to_string(kClicks) + "); do printf '\\n'; done; printf q");
    EXPECT_EQ(Wait(pid), 0) << Slurp(Dir() + "/clicks.err");
    for (int i = 0; i < 500 && Inbound().size() < 2 * kClicks; i++)
        usleep(10000);
    auto in = Inbound();
    ASSERT_EQ(in.size(), 2u * kClicks);
    std::vector<double> ids;
    for (size_t i = 0; i < in.size(); i++) {
        cJSON *m = cJSON_Parse(in[i].c_str());
        ASSERT_NE(m, nullptr);
        cJSON *value = cJSON_GetObjectItem(m, "keyvalue");
        ASSERT_TRUE(cJSON_IsNumber(value)) << in[i];
        EXPECT_EQ(value->valueint, i % 2 == 0 ? 3 : 4) << "message " << i << ": " << in[i];
        ids.push_back(cJSON_GetObjectItem(cJSON_GetObjectItem(m, "msgHdr"), "transID")->valuedouble);
        cJSON_Delete(m);
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::unique(ids.begin(), ids.end()), ids.end()) << "two messages shared a transID";
}

TEST_F(RecorderSim, ThePromptRunsOneStep) {
    pid_t pid = Start({"--interactive", "--no-marker"}, "prompt",
                      "printf ':status rec_status=start gps_state=1\\n'; sleep 0.3; printf ':bogus\\n'; "
                      "sleep 0.2; printf q");
    EXPECT_EQ(Wait(pid), 0) << Slurp(Dir() + "/prompt.err");
    for (int i = 0; i < 500 && Inbound().empty(); i++)
        usleep(10000);
    auto in = Inbound();
    ASSERT_EQ(in.size(), 1u);
    EXPECT_NE(
        in[0].find(
            R"("int_params":[{"key":"gps_state","value":1}],"string_params":[{"key":"rec_status","value":"start"}])"),
        std::string::npos)
        << in[0];
    EXPECT_NE(Slurp(Dir() + "/prompt.err").find("unknown step \"bogus\""), std::string::npos);
}

namespace {

// Runs recorder_sim with a scenario of setup lines, staying until killed; waits until it is ready.
pid_t StartStaying(const std::string &name, const std::string &setup) {
    std::ofstream(Dir() + "/" + name + ".scn") << setup;
    pid_t pid = Start({"--state", Dir() + "/" + name + ".json", "--scenario", Dir() + "/" + name + ".scn",
                       "--stay", "--no-marker"},
                      name);
    for (int i = 0; i < 500 && Slurp(Dir() + "/" + name + ".out").find("ready") == std::string::npos; i++)
        usleep(10000);
    usleep(100000); // the setup lines
    return pid;
}

// The index of the first status message holding text, waiting up to ms; -1 when none came.
int WaitStatus(const std::vector<std::string> *(*inbound)(), const char *text, int ms) {
    for (int t = 0; t <= ms; t += 10) {
        const auto *in = inbound();
        for (size_t i = 0; i < in->size(); i++)
            if ((*in)[i].find(text) != std::string::npos)
                return (int)i;
        usleep(10000);
    }
    return -1;
}

const std::vector<std::string> *Snapshot() {
    static std::vector<std::string> copy;
    std::lock_guard<std::mutex> l(g_mu);
    copy = g_inbound;
    return &copy;
}

int Number(const std::string &state, const char *section, const char *key) {
    cJSON *doc = cJSON_Parse(Slurp(state).c_str());
    const cJSON *v = cJSON_GetObjectItem(cJSON_GetObjectItem(doc, section), key);
    int n = cJSON_IsNumber(v) ? v->valueint : -100;
    cJSON_Delete(doc);
    return n;
}

} // namespace

// Format, reset and pairing run for their time, report in order and change the state.
TEST_F(RecorderSim, UpkeepJobsTakeTheirTimeAndChangeTheState) {
    pid_t pid = StartStaying("jobs", "upkeep-time format 300\nupkeep-time reset 300\nupkeep-time bind 300\n"
                                     "setting dev_available_size=5 language=7\n");
    EXPECT_EQ(Ctrl("IPCMSG_GENERALCTRL", "ctrl_format", "FormatAuxStorage"), 0);
    EXPECT_EQ(Ctrl("IPCMSG_GENERALCTRL", "ctrl_format", "FormatAuxStorage"), -1) << "one format at a time";
    int busy = WaitStatus(Snapshot, "\"formating\"", 2000);
    int done = WaitStatus(Snapshot, "\"format_succss\"", 3000);
    ASSERT_GE(busy, 0);
    ASSERT_GT(done, busy);
    EXPECT_GT(WaitStatus(Snapshot, "\"value\":\"normal\"", 2000), done);
    EXPECT_EQ(Number(Dir() + "/jobs.json", "settings", "dev_available_size"),
              Number(Dir() + "/jobs.json", "settings", "dev_total_size"));

    EXPECT_EQ(Ctrl("IPCMSG_GENERALCTRL", "ctrl_resetdev", ""), 0);
    EXPECT_EQ(Number(Dir() + "/jobs.json", "settings", "language"), 7) << "the reset takes its time";
    EXPECT_GE(WaitStatus(Snapshot, "\"success_no_reboot\"", 3000), 0);
    EXPECT_EQ(Number(Dir() + "/jobs.json", "settings", "language"), 2);

    EXPECT_EQ(Ctrl("IPCMSG_GENERALCTRL", "ctrl_kovar_start_bind", ""), 0);
    int ble = WaitStatus(Snapshot, "\"kovar_ble_status\",\"value\":1", 2000);
    int bound = WaitStatus(Snapshot, "\"kovar_bind_status\",\"value\":1", 2000);
    ASSERT_GE(ble, 0);
    EXPECT_GT(bound, ble);
    EXPECT_GE(WaitStatus(Snapshot, "\"kovar_Connect_status\",\"value\":1", 2000), 0);
    EXPECT_EQ(Number(Dir() + "/jobs.json", "kovar", "status"), 2);
    EXPECT_EQ(Ctrl("IPCMSG_GENERALCTRL", "ctrl_kovar_unbind", ""), 0);
    EXPECT_GE(WaitStatus(Snapshot, "\"kovar_bind_status\",\"value\":0", 2000), 0);
    EXPECT_EQ(Number(Dir() + "/jobs.json", "kovar", "status"), 1);
    kill(pid, SIGTERM);
    EXPECT_EQ(Wait(pid), 0);
}

// Scenario lines make the jobs fail (missing card, busy recorder) or end without a word.
TEST_F(RecorderSim, UpkeepJobsFailOrStaySilentAsTold) {
    pid_t pid = StartStaying("fails", "state recorder storage=noinsert\nreset-fails busy\nbind-ends fail\n"
                                      "upkeep-time bind 300\n");
    EXPECT_EQ(Ctrl("IPCMSG_GENERALCTRL", "ctrl_format", "FormatAuxStorage"), -1);
    int failed = WaitStatus(Snapshot, "\"format_failed\"", 2000);
    ASSERT_GE(failed, 0);
    EXPECT_GT(WaitStatus(Snapshot, "\"noinsert\"", 2000), failed);
    EXPECT_EQ(Ctrl("IPCMSG_GENERALCTRL", "ctrl_resetdev", ""), -1);
    EXPECT_GE(WaitStatus(Snapshot, "\"resetdev_result\",\"value\":\"failure\"", 2000), 0);
    EXPECT_EQ(Ctrl("IPCMSG_GENERALCTRL", "ctrl_kovar_start_bind", ""), 0);
    EXPECT_GE(WaitStatus(Snapshot, "\"kovar_bind_status\",\"value\":0", 2000), 0);
    EXPECT_EQ(Number(Dir() + "/fails.json", "kovar", "status"), 1);
    kill(pid, SIGTERM);
    EXPECT_EQ(Wait(pid), 0);

    {
        std::lock_guard<std::mutex> l(g_mu);
        g_inbound.clear();
    }
    pid = StartStaying("silent", "format-fails silent\nreset-fails silent\nupkeep-time bind 200\n");
    EXPECT_EQ(Ctrl("IPCMSG_GENERALCTRL", "ctrl_format", "FormatAuxStorage"), 0);
    EXPECT_EQ(Ctrl("IPCMSG_GENERALCTRL", "ctrl_resetdev", ""), 0);
    // A pairing stopped before its end reports nothing either.
    EXPECT_EQ(Ctrl("IPCMSG_GENERALCTRL", "ctrl_kovar_start_bind", ""), 0);
    EXPECT_EQ(Ctrl("IPCMSG_GENERALCTRL", "ctrl_kovar_stop_bind", ""), 0);
    usleep(600000);
    EXPECT_TRUE(Snapshot()->empty()) << Snapshot()->front();
    kill(pid, SIGTERM);
    EXPECT_EQ(Wait(pid), 0);

    std::ofstream(Dir() + "/badup.scn") << "format-fails sometimes\nupkeep-time bind -1\nbind-ends\n";
    EXPECT_EQ(Wait(Start({"--scenario", Dir() + "/badup.scn", "--no-marker"}, "badup")), 2);
    std::string err = Slurp(Dir() + "/badup.err");
    for (const char *line : {"badup.scn:1:", "badup.scn:2:", "badup.scn:3:"})
        EXPECT_NE(err.find(line), std::string::npos) << err;
}
