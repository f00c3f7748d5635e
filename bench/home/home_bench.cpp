// Figures of the home screen, measured against the real programs (recorder_ui, recorder_sim,
// display_sink):
//   1. key latency: time from a key's release handed to recorder_sim's key hook (NEXT: the
//      microphone button toggles on the click, that is on the release) to the last area of the
//      bottom bar reaching display_sink; median and worst over N presses;
//   2. CPU use of recorder_ui idling on the home page with the clock running, percent of one
//      core over S seconds.
// Runs itself in private namespaces (scripts/run-isolated), so it never meets a real peer.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <semaphore.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

#include "bench_programs.h"
#include "bench_support.h"
#include "disp_flush_record.h"
#include "sys_paths.h"

namespace {

using namespace bench;

int Run(const std::string &work, int presses, int idleSeconds) {
    ClearDisplayHandOver();
    const std::string sinkLog = work + "/sink.log", uiLog = work + "/ui.log", simLog = work + "/sim.log";
    const std::string ctl = work + "/ctl", keys = work + "/keys";
    pid_t sink =
        Launch({DISPLAY_SINK_BIN, "--trace", "--control", ctl, "--png", work + "/exit.png"}, sinkLog);
    if (!WaitFor(sinkLog, "display_sink: ready")) {
        fprintf(stderr, "display_sink did not start\n");
        return 1;
    }
    pid_t ui = Launch({RECORDER_UI_BIN}, uiLog);
    pid_t sim =
        Launch({RECORDER_SIM_BIN, "--keys", keys, "--settings", work + "/state.json", "--sink-control", ctl},
               simLog);
    int rc = 0;
    if (!WaitFor(uiLog, "Page(Pages/Home) state active")) {
        fprintf(stderr, "the home page did not appear (see %s)\n", uiLog.c_str());
        rc = 1;
    }
    sleep(2); // the slide-in and the buttons' rise settle
    std::vector<double> lat;
    for (int i = 0; rc == 0 && i < presses; ++i) {
        // The click happens on the release: the press goes first, the release (timed) once
        // recorder_sim's key hold (80 ms) has passed.
        AppendLine(keys, "NEXT press\n");
        usleep(120 * 1000);
        size_t from = Slurp(sinkLog).size();
        double t0 = Mono();
        AppendLine(keys, "NEXT release\n");
        // The bottom bar (rows 130..169) redraws the microphone button; wait until it is quiet.
        double last = -1;
        for (double quietSince = Mono(), end = t0 + 3; Mono() < end; usleep(2000)) {
            std::vector<double> a = AreasIn(Slurp(sinkLog), from, 130, 169);
            if (!a.empty() && a.back() != last) {
                last = a.back();
                quietSince = Mono();
            }
            if (last > 0 && Mono() - quietSince > 0.25) {
                break;
            }
        }
        if (last < 0) {
            fprintf(stderr, "press %d: no change on screen\n", i);
            rc = 1;
            break;
        }
        lat.push_back((last - t0) * 1000.0);
    }
    if (!lat.empty()) {
        std::sort(lat.begin(), lat.end());
        printf(
            "key release to screen (NEXT: microphone button), %zu presses: median %.1f ms, worst %.1f ms\n",
            lat.size(), lat[lat.size() / 2], lat.back());
    }
    if (rc == 0) {
        long c0 = CpuTicksOf(ui);
        double t0 = Mono();
        sleep((unsigned)idleSeconds);
        long c1 = CpuTicksOf(ui);
        double dt = Mono() - t0;
        printf("recorder_ui idle on the home page (clock running): %.2f %% of one core over %.1f s\n",
               100.0 * (double)(c1 - c0) / (double)sysconf(_SC_CLK_TCK) / dt, dt);
    }
    Halt(sim);
    Halt(ui);
    Halt(sink);
    return rc;
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        printf(
            "usage: home_bench [PRESSES [IDLE_SECONDS]]   key-to-screen latency over PRESSES (default 100)\n"
            "and recorder_ui's CPU use idling on the home page over IDLE_SECONDS (default 30)\n");
        return 0;
    }
    RunIsolated(argc, argv);
    int presses = argc > 1 ? std::max(1, atoi(argv[1])) : 100;
    int idle = argc > 2 ? std::max(1, atoi(argv[2])) : 30;
    return InWorkFolder("home_bench", [&](const std::string &work) { return Run(work, presses, idle); });
}
