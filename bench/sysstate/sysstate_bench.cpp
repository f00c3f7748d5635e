// Figures of the system state supervision against the real programs (recorder_ui, recorder_sim,
// display_sink):
//   1. status-to-screen latency: from a status message that raises a lock or toast, posted by
//      this program on the user interface's receive queue, to the last area of the overlay
//      reaching display_sink (the screen quiet for 300 ms afterwards); median and worst over N
//      raises of each of: the app lock, the firmware update lock, a driving alert (its 200 ms
//      fade-in included);
//   2. CPU use of recorder_ui with the wallpaper clock on a dormant screen, percent of one core.
// Runs itself in private namespaces (scripts/run-isolated), so it never meets a real peer.
//
//   sysstate_bench [RAISES [SECONDS]]   (defaults 20 and 30)
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <semaphore.h>
#include <string>
#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/msg.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

#include "bench_programs.h"
#include "bench_support.h"
#include "disp_flush_record.h"
#include "sys_paths.h"
#include "vyx_ipcmsg.h"

namespace {

using namespace bench;

// One program with its output in a log file.
struct Proc {
    pid_t pid = -1;
    std::string log;

    bool Start(const std::vector<std::string> &argv, const std::string &logPath) {
        log = logPath;
        pid = Launch(argv, log);
        return pid > 0;
    }
    bool Says(const char *text, double seconds) const { return WaitFor(log, text, seconds); }
    void Stop() {
        Halt(pid);
        pid = -1;
    }
    // User and system time so far, in clock ticks.
    long CpuTicks() const { return CpuTicksOf(pid); }
};

// A status message straight onto the user interface's receive queue, as the recorder sends it.
bool PostStatus(const char *key, const char *value, bool text) {
    MsgHeader hdr;
    VYX_IPCMSG_InitHeader(&hdr, "IPCMSG_SYSTEMSTATUS", 0, 0);
    cJSON *body = cJSON_CreateObject();
    cJSON *arr = cJSON_AddArrayToObject(body, text ? "string_params" : "int_params");
    cJSON *item = cJSON_CreateObject();
    cJSON_AddStringToObject(item, "key", key);
    if (text) {
        cJSON_AddStringToObject(item, "value", value);
    } else {
        cJSON_AddNumberToObject(item, "value", atoi(value));
    }
    cJSON_AddItemToArray(arr, item);
    char *doc = VYX_IPCMSG_BuildMsg(&hdr, body);
    if (doc == nullptr) {
        return false;
    }
    struct {
        long mtype;
        char text[VYX_IPCMSG_TEXT_SIZE];
    } msg = {};
    msg.mtype = 1;
    snprintf(msg.text, sizeof msg.text, "%s", doc);
    cJSON_free(doc);
    int q = msgget(VYX_IPCMSG_KEY_UI_RECV, 0666);
    return q >= 0 && msgsnd(q, &msg, strlen(msg.text) + 1, IPC_NOWAIT) == 0;
}

// Time of the last area display_sink took after byte `from` of its log, once nothing new came
// for `quiet` seconds; -1 when nothing came within `bound` seconds.
double LastArea(const std::string &log, size_t from, double quiet, double bound) {
    double last = -1, seen = Mono();
    size_t count = 0;
    for (double end = Mono() + bound; Mono() < end; usleep(2000)) {
        std::string s = Slurp(log);
        size_t n = 0;
        double t = -1;
        for (size_t p = s.find("display_sink: ", from); p != std::string::npos;
             p = s.find("display_sink: ", p + 1)) {
            double v;
            if (sscanf(s.c_str() + p, "display_sink: %lf area", &v) == 1) {
                t = v;
                ++n;
            }
        }
        if (n != count) {
            count = n;
            last = t;
            seen = Mono();
        } else if (count > 0 && Mono() - seen > quiet) {
            break;
        }
    }
    return last;
}

struct Raise {
    const char *what;
    const char *key;
    const char *on;
    const char *off;
    bool text;
    double settle; /* seconds after clearing before the next raise */
};

int Run(const std::string &work, int raises, int seconds) {
    ClearDisplayHandOver();
    // The wallpaper is the digital clock.
    std::ofstream(work + "/state.json") << R"({"settings":{"wallpaper":1,"installtion_guidecnt":1}})";
    Proc sink, ui, sim;
    sink.Start({DISPLAY_SINK_BIN, "--trace"}, work + "/sink.log");
    if (!sink.Says("display_sink: ready", 20)) {
        fprintf(stderr, "display_sink did not start\n");
        return 1;
    }
    ui.Start({RECORDER_UI_BIN}, work + "/ui.log");
    sim.Start({RECORDER_SIM_BIN, "--state", work + "/state.json"}, work + "/sim.log");
    int rc = 0;
    if (!ui.Says("Page(Pages/Home) state active", 30)) {
        fprintf(stderr, "the home page did not appear (see %s)\n", ui.log.c_str());
        rc = 1;
    }
    sleep(3); /* the slide-in, the buttons' rise and the start-up tips settle */

    const Raise kRaises[] = {
        {"app lock (app_status login)", "app_status", "login", "logout", true, 0.8},
        {"firmware update lock (update_state 1)", "update_state", "1", "0", false, 0.8},
        {"driving alert (car_forward 1)", "car_forward", "1", "0", false, 5.6},
    };
    for (const Raise &r : kRaises) {
        std::vector<double> lat;
        for (int i = 0; rc == 0 && i < raises; ++i) {
            size_t from = Slurp(sink.log).size();
            double t0 = Mono();
            if (!PostStatus(r.key, r.on, r.text)) {
                fprintf(stderr, "cannot post a status message: %s\n", strerror(errno));
                rc = 1;
                break;
            }
            double last = LastArea(sink.log, from, 0.3, 3);
            if (last < 0) {
                fprintf(stderr, "%s: nothing on screen\n", r.what);
                rc = 1;
                break;
            }
            lat.push_back((last - t0) * 1000.0);
            PostStatus(r.key, r.off, r.text);
            usleep((useconds_t)(r.settle * 1e6)); /* the alert stays its 5 s */
        }
        if (!lat.empty()) {
            std::sort(lat.begin(), lat.end());
            printf("status to last area of the %s, %zu raises: median %.1f ms, worst %.1f ms\n", r.what,
                   lat.size(), lat[lat.size() / 2], lat.back());
        }
    }

    if (rc == 0) {
        PostStatus("screen_dormant", "1", false);
        if (!ui.Says("Screen off ,Show wallpaper page", 5)) {
            fprintf(stderr, "no wallpaper (see %s)\n", ui.log.c_str());
            rc = 1;
        }
    }
    if (rc == 0) {
        sleep(2);
        long c0 = ui.CpuTicks();
        double t0 = Mono();
        sleep((unsigned)seconds);
        long c1 = ui.CpuTicks();
        double dt = Mono() - t0;
        printf("recorder_ui with the wallpaper clock on a dormant screen: %.2f %% of one core over %.1f s\n",
               100.0 * (double)(c1 - c0) / (double)sysconf(_SC_CLK_TCK) / dt, dt);
    }
    sim.Stop();
    ui.Stop();
    sink.Stop();
    return rc;
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        printf("usage: sysstate_bench [RAISES [SECONDS]]   status-to-screen latency of the app lock, the\n"
               "update lock and a driving alert over RAISES each (default 20), and recorder_ui's CPU use\n"
               "with the wallpaper clock on a dormant screen over SECONDS (default 30)\n");
        return 0;
    }
    RunIsolated(argc, argv);
    int raises = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    int seconds = argc > 2 ? std::max(1, atoi(argv[2])) : 30;
    return InWorkFolder("sysstate_bench",
                        [&](const std::string &work) { return Run(work, raises, seconds); });
}
