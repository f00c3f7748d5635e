// IPC figures of the user interface's side of the agent:
//  - round trip of a synchronous request answered by recorder_sim (median, 99th percentile);
//  - the highest rate of status-sized inbound messages that are all handled (none refused by a
//    full queue, none lost);
//  - key latency, from a key line handed to recorder_sim's key hook to the page callback running
//    in the LVGL loop (median, worst).
// Runs itself in private namespaces (scripts/run-isolated), so it never meets a real peer.
#include <fcntl.h>
#include <signal.h>
#include <sys/ipc.h>
#include <sys/msg.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "key.h"
#include "lvgl.h"
#include "vyx_ipcmsg.h"

namespace {

using Clock = std::chrono::steady_clock;
FILE *g_out = stdout; // the figures

std::atomic<int> g_status{0};
int CountStatus(const char *, const MsgHeader *) {
    g_status++;
    return 0;
}
const VYX_IPCMSG_HandlerRow kRows[] = {
    {"IPCMSG_KEYEVENT", Key_IpcMsgEventCallbcak},
    {"IPCMSG_SYSTEMSTATUS", CountStatus},
};

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Pct(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    size_t i = (size_t)(p * (double)(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

pid_t StartSim(const std::string &work) {
    pid_t pid = fork();
    if (pid == 0) {
        std::string out = work + "/sim.out";
        int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        std::string settings = work + "/settings.json", keys = work + "/keys.fifo";
        execl(RECORDER_SIM_BIN, RECORDER_SIM_BIN, "--no-marker", "--settings", settings.c_str(), "--keys",
              keys.c_str(), (char *)nullptr);
        _exit(127);
    }
    return pid;
}

void RoundTrip(int n, bool report) {
    std::string req;
    {
        MsgHeader h;
        VYX_IPCMSG_InitHeader(&h, "IPCMSG_GENERALSETING_QUERY", 0, 1);
        char *t = VYX_IPCMSG_BuildMsg(&h, cJSON_Parse("{\"keys\":[{\"key\":\"language\"}]}"));
        req = t;
        cJSON_free(t);
    }
    std::vector<double> rtt;
    int failed = 0;
    char rsp[2048];
    for (int i = 0; i < n; i++) {
        auto t0 = Clock::now();
        if (VYX_IPCMSG_SendSync(req.c_str(), (uint32_t)req.size() + 1, 10000, rsp, sizeof(rsp)) != 0) {
            failed++;
            continue;
        }
        rtt.push_back(Ms(Clock::now() - t0));
    }
    if (!report)
        return;
    if (rtt.empty()) {
        fprintf(g_out, "round trip: no answers\n");
        return;
    }
    fprintf(
        g_out,
        "synchronous round trip to recorder_sim over %d requests: median %.2f ms, p99 %.2f ms, max %.2f ms, "
        "%d failed\n",
        n, Pct(rtt, 0.5), Pct(rtt, 0.99), Pct(rtt, 1.0), failed);
}

// Sends status-sized messages at `rate` per second for `seconds`; true when every one was handled.
bool InboundAt(int rate, double seconds) {
    struct {
        long mtype;
        char mtext[VYX_IPCMSG_TEXT_SIZE];
    } m{};
    m.mtype = 1;
    std::string doc =
        "{\"msgHdr\":{\"protVer\":0,\"msgID\":\"IPCMSG_SYSTEMSTATUS\",\"transID\":1,\"isAck\":0,\"needAck\":"
        "0},"
        "\"int_params\":[{\"key\":\"sd_status\",\"value\":2},{\"key\":\"gps_status\",\"value\":1}],"
        "\"string_params\":[{\"key\":\"rec_status\",\"value\":\"start\"}]}";
    memcpy(m.mtext, doc.c_str(), doc.size() + 1);
    int q = msgget(VYX_IPCMSG_KEY_UI_RECV, IPC_CREAT | 0666);
    g_status = 0;
    int total = (int)(rate * seconds), refused = 0;
    auto t0 = Clock::now();
    for (int i = 0; i < total; i++) {
        std::this_thread::sleep_until(t0 + std::chrono::microseconds((long)(1e6 * i / rate)));
        if (msgsnd(q, &m, doc.size() + 1, IPC_NOWAIT) != 0)
            refused++;
    }
    for (int i = 0; i < 300 && g_status.load() < total - refused; i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    fprintf(g_out, "  %4d msg/s for %.0f s: %d sent, %d refused by a full queue, %d handled\n", rate, seconds,
            total, refused, g_status.load());
    return refused == 0 && g_status.load() == total;
}

void InboundRate() {
    fprintf(g_out, "inbound status messages (%s):\n", "three receive threads");
    int best = 0;
    for (int rate : {50, 100, 125, 140, 150, 175, 200, 300, 500, 1000, 2000, 5000, 10000, 20000}) {
        if (!InboundAt(rate, 5.0))
            break;
        best = rate;
    }
    fprintf(g_out, "highest sustained inbound rate without loss: %d msg/s\n", best);
}

std::atomic<long> g_keyAt{0}; // steady-clock ns of the last page callback
void PageKey(KeyEvtInfo *e) {
    if (e->keyvalue == KEY_VALUE_PRESS)
        g_keyAt = (long)Clock::now().time_since_epoch().count();
}

void KeyLatency(const std::string &work, int n) {
    lv_init();
    static lv_color_t buf[64 * 16];
    static lv_disp_draw_buf_t draw;
    static lv_disp_drv_t drv;
    lv_disp_draw_buf_init(&draw, buf, nullptr, 64 * 16);
    lv_disp_drv_init(&drv);
    drv.hor_res = 64;
    drv.ver_res = 16;
    drv.draw_buf = &draw;
    drv.flush_cb = [](lv_disp_drv_t *d, const lv_area_t *, lv_color_t *) { lv_disp_flush_ready(d); };
    lv_disp_drv_register(&drv);
    Key_Init();
    int dummy;
    Key_SetEventCallback(PageKey, &dummy);
    std::string fifo = work + "/keys.fifo";
    int fd = -1;
    for (int i = 0; i < 500 && fd < 0; i++) {
        fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (fd < 0) {
        fprintf(g_out, "key latency: recorder_sim's key hook %s did not open\n", fifo.c_str());
        return;
    }
    std::vector<double> lat;
    auto loopFor = [](int ms) {
        auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (Clock::now() < end) { // the program's main loop: timers, then 10 ms sleep
            lv_timer_handler();
            usleep(10 * 1000);
        }
    };
    for (int i = 0; i < n; i++) {
        g_keyAt = 0;
        long t0 = (long)Clock::now().time_since_epoch().count();
        if (write(fd, "OK press\n", 9) != 9)
            break;
        for (int w = 0; w < 200 && g_keyAt.load() == 0; w++) {
            lv_timer_handler();
            usleep(10 * 1000);
        }
        if (g_keyAt.load() != 0)
            lat.push_back((double)(g_keyAt.load() - t0) / 1e6);
        if (write(fd, "OK release\n", 11) != 11)
            break;
        loopFor(60 + (i * 7) % 40); // spread the presses over the loop's phases
    }
    close(fd);
    if (lat.empty()) {
        fprintf(g_out, "key latency: no key reached the page callback\n");
        return;
    }
    fprintf(g_out, "key latency over %zu presses (of %d): median %.1f ms, worst %.1f ms\n", lat.size(), n,
            Pct(lat, 0.5), Pct(lat, 1.0));
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        printf("usage: ipc_bench [REQUESTS [KEYS]]   round trip (default 1000 requests), inbound rate, key "
               "latency (default 200 keys)\n");
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
    int requests = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    int keys = argc > 2 ? std::max(1, atoi(argv[2])) : 200;
    char tmpl[] = "/tmp/ipc_bench.XXXXXX";
    if (mkdtemp(tmpl) == nullptr)
        return 1;
    std::string work = tmpl;
    // The agent and the key driver log every message on standard output; the figures go to the
    // original standard output, everything else to /dev/null.
    fflush(stdout);
    g_out = fdopen(dup(1), "w");
    setvbuf(g_out, nullptr, _IOLBF, 0);
    int null = open("/dev/null", O_WRONLY);
    if (g_out == nullptr || null < 0 || dup2(null, 1) < 0)
        return 1;
    if (VYX_IPCMSG_AgentInit(VYX_IPCMSG_KEY_UI_RECV, VYX_IPCMSG_KEY_UI_SEND, kRows, 2) != 0)
        return 1;
    pid_t sim = StartSim(work);
    RoundTrip(1, false); // recorder_sim is up once it answers
    RoundTrip(requests, true);
    InboundRate();
    KeyLatency(work, keys);
    kill(sim, SIGTERM);
    waitpid(sim, nullptr, 0);
    return 0;
}
