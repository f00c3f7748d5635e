// Figures of the device data layer, against recorder_sim:
//  - latency from recorder_sim sending a status message to its notice being published on the
//    LVGL thread (median, 99th percentile), at 100 and at 50 messages a second;
//  - the highest status rate held with no notice lost (every message published, none refused by
//    a full queue, the backlog drained within a second of the end);
//  - one settings save round trip (IpcMsg_GeneralSetingItemSave), and a save through the account
//    "GeneralSeting" until the copy holds the value (save queue and save thread included);
//  - the heap taken by the nine accounts with their processors.
// The LVGL thread runs as recorder_ui's main loop does: lv_timer_handler, then sleep 10 ms.
// Runs itself in private namespaces (scripts/run-isolated), so it never meets a real peer.
#include <fcntl.h>
#include <malloc.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "DataProc.h"
#include "log.h"
#include "lvgl.h"

namespace {

FILE *g_out = stdout;
std::string g_work;

const VYX_IPCMSG_HandlerRow kRows[] = {{"IPCMSG_SYSTEMSTATUS", IpcMsg_UpdateStatuslCallbcak}};

long long NowUs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000 + ts.tv_nsec / 1000;
}

std::mutex g_mu;
std::vector<long long> g_latency; // us, of the stamped notices published
std::atomic<bool> g_stop{false};
std::mutex g_lvgl; // the UI mutex of this program

int BenchEvent(Account *, Account::EventParam *p) {
    if (p->event != Account::EVENT_PUBLISH || p->size != sizeof(SystemStatusNotice))
        return 0;
    const SystemStatusNotice *n = static_cast<const SystemStatusNotice *>(p->data_p);
    if (n->eType != SYS_STATUS_4G_LEVEL)
        return 0;
    long long d = ((NowUs() & 0x7FFFFFFF) - n->stInfo.i4GLevel) & 0x7FFFFFFF;
    std::lock_guard<std::mutex> l(g_mu);
    g_latency.push_back(d);
    return 0;
}

void MainLoop() {
    while (!g_stop) {
        {
            std::lock_guard<std::mutex> l(g_lvgl);
            lv_timer_handler();
        }
        usleep(10 * 1000);
    }
}

// Runs recorder_sim with a scenario to its end; returns its standard output.
std::string RunSim(const std::string &scenario, bool stay = false, pid_t *pid = nullptr) {
    const std::string sc = g_work + "/scenario.txt", out = g_work + "/sim.out";
    std::ofstream(sc) << scenario;
    pid_t p = fork();
    if (p == 0) {
        int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        const std::string state = g_work + "/state.json";
        execl(RECORDER_SIM_BIN, RECORDER_SIM_BIN, "--no-marker", "--state", state.c_str(), "--scenario",
              sc.c_str(), stay ? "--stay" : nullptr, (char *)nullptr);
        _exit(127);
    }
    if (pid != nullptr) {
        *pid = p;
        return "";
    }
    waitpid(p, nullptr, 0);
    std::ifstream in(out);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

int SendFailures(const std::string &simOut) {
    size_t at = simOut.find(" sent, ");
    return at == std::string::npos ? -1 : atoi(simOut.c_str() + at + 7);
}

double Pct(std::vector<long long> v, double q) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    size_t i = std::min(v.size() - 1, (size_t)(q * (double)(v.size() - 1) + 0.5));
    return (double)v[i] / 1000.0;
}

// One run: n stamped messages at rate; waits up to a second after the last for the backlog.
struct RunResult {
    int sent, failed, published;
    double median, p99;
    uint32_t backlogAtEnd;
};

RunResult Stamped(int rate, int n) {
    {
        std::lock_guard<std::mutex> l(g_mu);
        g_latency.clear();
    }
    std::string out = RunSim("stamp " + std::to_string(rate) + " " + std::to_string(n) + "\n");
    RunResult r{n, SendFailures(out), 0, 0, 0, 0};
    r.backlogAtEnd = DP_SystemStatus_PendingCount();
    for (int i = 0; i < 100; i++) {
        {
            std::lock_guard<std::mutex> l(g_mu);
            if ((int)g_latency.size() >= n - r.failed)
                break;
        }
        usleep(10 * 1000);
    }
    std::vector<long long> lat;
    {
        std::lock_guard<std::mutex> l(g_mu);
        lat = g_latency;
    }
    r.published = (int)lat.size();
    r.median = Pct(lat, 0.5);
    r.p99 = Pct(lat, 0.99);
    // Whatever is still queued is dropped before the next run.
    while (DP_SystemStatus_PendingCount() > 0)
        usleep(10 * 1000);
    usleep(50 * 1000);
    return r;
}

void SettingsRoundTrip() {
    pid_t sim = -1;
    RunSim("wait 1\n", true, &sim);
    usleep(300 * 1000);
    std::vector<long long> direct, account;
    for (int i = 0; i < 50; i++) {
        long long t = NowUs();
        if (IpcMsg_GeneralSetingItemSave(GS_SPEAKER_TURN, nullptr, i % 5) != 0) {
            fprintf(g_out, "settings save failed\n");
            break;
        }
        direct.push_back(NowUs() - t);
    }
    for (int i = 0; i < 20; i++) {
        const int32_t v = 10 + i;
        GeneralSetingReq req{1, GS_EVENTVIDEO_LEVEL, nullptr, 0, nullptr, v, 0};
        long long t = NowUs();
        {
            std::lock_guard<std::mutex> l(g_lvgl);
            DataProc_GetCenter()->SearchAccount("Bench")->Notify(DP_ACCOUNT_GENERAL_SETING, &req,
                                                                 sizeof(req));
        }
        GeneralSetingInfo s{};
        for (int k = 0; k < 2000; k++) {
            IpcMsg_GeneralSetingCopy(&s, sizeof(s));
            if (s.eventvideo_level == v)
                break;
            usleep(500);
        }
        account.push_back(NowUs() - t);
    }
    kill(sim, SIGTERM);
    waitpid(sim, nullptr, 0);
    fprintf(
        g_out,
        "settings save round trip (IpcMsg_GeneralSetingItemSave, 50 saves): median %.1f ms, 99th %.1f ms\n",
        Pct(direct, 0.5), Pct(direct, 0.99));
    fprintf(g_out,
            "settings save through \"GeneralSeting\" until the copy holds it (20 saves): median %.1f ms, "
            "worst %.1f "
            "ms\n",
            Pct(account, 0.5), Pct(account, 1.0));
    fprintf(g_out,
            "  (the agent polls a waiting request every 10 ms; the save thread looks at its queue every "
            "50 ms)\n");
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        printf("usage: data_layer_bench   status latency, highest status rate, settings round trip, heap\n");
        return 0;
    }
    if (getenv("RECORDER_ISOLATED") == nullptr) {
        std::vector<char *> a = {const_cast<char *>(RECORDER_ISOLATE_SCRIPT)};
        for (int i = 0; i < argc; ++i)
            a.push_back(argv[i]);
        a.push_back(nullptr);
        execv(a[0], a.data());
        perror("run-isolated");
        return 1;
    }
    char tmpl[] = "/tmp/data_layer_bench.XXXXXX";
    if (mkdtemp(tmpl) == nullptr)
        return 1;
    g_work = tmpl;
    fflush(stdout);
    g_out = fdopen(dup(1), "w");
    setvbuf(g_out, nullptr, _IOLBF, 0);
    int null = open("/dev/null", O_WRONLY);
    if (g_out == nullptr || null < 0 || dup2(null, 1) < 0)
        return 1;
    Log_Config(false, false, 0);
    IpcMsg_SetStatusFilePath((g_work + "/ui_status").c_str());

    lv_init();
    struct mallinfo2 before = mallinfo2();
    DP_Init();
    struct mallinfo2 after = mallinfo2();
    fprintf(g_out,
            "heap of the nine accounts with their processors: %zu bytes in use after DP_Init (%zu before)\n",
            after.uordblks - before.uordblks, before.uordblks);
    fprintf(g_out,
            "  (plus the save thread's stack, mapped apart from the heap, and the save queue's ten places "
            "of %zu bytes in static storage)\n",
            sizeof(GeneralSetingReq));

    Account bench("Bench", DataProc_GetCenter());
    bench.Subscribe(DP_ACCOUNT_SYSTEM_STATUS);
    bench.Subscribe(DP_ACCOUNT_GENERAL_SETING);
    bench.SetEventCallback(BenchEvent);
    if (VYX_IPCMSG_AgentInit(VYX_IPCMSG_KEY_UI_RECV, VYX_IPCMSG_KEY_UI_SEND, kRows, 1) != 0)
        return 1;
    std::thread loop(MainLoop);

    for (int rate : {100, 50}) {
        RunResult r = Stamped(rate, rate * 10);
        fprintf(g_out,
                "status latency at %d/s (%d messages, %d published, %d refused by a full queue): median %.1f "
                "ms, 99th "
                "%.1f ms\n",
                rate, r.sent, r.published, r.failed, r.median, r.p99);
    }
    fprintf(g_out,
            "status rates held (5 s each; held = every message published, none refused, backlog gone within "
            "1 s):\n");
    int best = 0;
    for (int rate : {50, 80, 90, 95, 100, 110, 150, 300}) {
        RunResult r = Stamped(rate, rate * 5);
        const bool held = r.failed == 0 && r.published == r.sent;
        fprintf(g_out,
                "  %3d/s: %4d sent, %4d published, %3d refused, backlog at the end %u, 99th %.1f ms -> %s\n",
                rate, r.sent, r.published, r.failed, r.backlogAtEnd, r.p99, held ? "held" : "NOT held");
        if (held)
            best = std::max(best, rate);
    }
    fprintf(g_out, "highest status rate held with no notice lost: %d/s\n", best);

    SettingsRoundTrip();
    g_stop = true;
    loop.join();
    fflush(g_out);
    _exit(0);
}
