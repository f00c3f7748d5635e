// Time from the OK that opens a settings page on the settings home to the last area of that
// page reaching the display, measured against the real programs (recorder_ui, recorder_sim,
// display_sink); median and worst over N openings of the sound and the screen page (their
// first rows' texts fit, so nothing keeps scrolling once the page is built).
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

// Sends one key (press, then the timed release after recorder_sim's key hold) and returns the
// time of the last area flushed before the screen stayed quiet for 0.3 s, minus the release
// time (ms); -1 when nothing changed.
double KeyToQuiet(const std::string &keys, const std::string &sinkLog, const char *key) {
    std::string press = std::string(key) + " press\n", release = std::string(key) + " release\n";
    AppendLine(keys, press.c_str());
    usleep(120 * 1000);
    size_t from = Slurp(sinkLog).size();
    double t0 = Mono();
    AppendLine(keys, release.c_str());
    double last = -1;
    for (double quietSince = Mono(), end = t0 + 5; Mono() < end; usleep(2000)) {
        std::vector<double> a = AreasIn(Slurp(sinkLog), from, 0, 169);
        if (!a.empty() && a.back() != last) {
            last = a.back();
            quietSince = Mono();
        }
        if (last > 0 && Mono() - quietSince > 0.3) {
            break;
        }
    }
    return last < 0 ? -1 : (last - t0) * 1000.0;
}

int Run(const std::string &work, int openings) {
    ClearDisplayHandOver();
    const std::string sinkLog = work + "/sink.log", uiLog = work + "/ui.log", simLog = work + "/sim.log";
    const std::string ctl = work + "/ctl", keys = work + "/keys";
    pid_t sink = Launch({DISPLAY_SINK_BIN, "--trace", "--control", ctl}, sinkLog);
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
    sleep(2);
    // PREV is the home page's settings button; then NEXT twice to the sound tile.
    for (const char *k : {"PREV", "NEXT", "NEXT"}) {
        if (rc == 0 && KeyToQuiet(keys, sinkLog, k) < 0) {
            fprintf(stderr, "%s: no change on screen\n", k);
            rc = 1;
        }
    }
    std::vector<double> lat[2];
    for (int i = 0; rc == 0 && i < openings; ++i) {
        int page = i % 2; // 0 sound, 1 screen
        double ms = KeyToQuiet(keys, sinkLog, "OK");
        if (ms < 0 || KeyToQuiet(keys, sinkLog, "BACK") < 0 ||
            KeyToQuiet(keys, sinkLog, page == 0 ? "NEXT" : "PREV") < 0) {
            fprintf(stderr, "opening %d: no change on screen\n", i);
            rc = 1;
            break;
        }
        lat[page].push_back(ms);
    }
    const char *names[2] = {"SysSetingSoundSet", "SysSetingScreenSet"};
    for (int p = 0; p < 2; ++p) {
        if (!lat[p].empty()) {
            std::sort(lat[p].begin(), lat[p].end());
            printf("OK on the settings home to the last area of %s, %zu openings: median %.1f ms, worst %.1f "
                   "ms\n",
                   names[p], lat[p].size(), lat[p][lat[p].size() / 2], lat[p].back());
        }
    }
    Halt(sim);
    Halt(ui);
    Halt(sink);
    return rc;
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        printf("usage: sysseting_bench [OPENINGS]   time from the OK that opens a settings page to its last\n"
               "area on the display, over OPENINGS (default 40) openings of the sound and screen pages\n");
        return 0;
    }
    RunIsolated(argc, argv);
    int openings = argc > 1 ? std::max(1, atoi(argv[1])) : 40;
    return InWorkFolder("sysseting_bench", [&](const std::string &work) { return Run(work, openings); });
}
