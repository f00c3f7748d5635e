// Figures of the start-up spine, measured against the real programs (recorder_sim as the recorder):
//   1. time from the start marker appearing to the first area taken by display_sink
//      (recorder_ui's fixed 500 ms start-up sleep reported separately);
//   2. CPU use of recorder_ui's idle main loop, percent of one core over 10 s;
//   3. flush hand-over throughput with display_sink, areas per second, for full-screen
//      320 x 170 areas and for 32 x 32 areas.
// Runs itself in private namespaces (scripts/run-isolated), so it never meets a real peer.
#include "bench_programs.h"
#include "bench_support.h"
#include "disp_dev.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <semaphore.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace bench;

int StartupAndIdle(const std::string &work, int runs) {
    std::vector<double> lat;
    pid_t idleUi = -1, idleSink = -1, idleSim = -1;
    for (int r = 0; r < runs; ++r) {
        ClearDisplayHandOver();
        std::string sinkLog = work + "/sink" + std::to_string(r) + ".log",
                    uiLog = work + "/ui" + std::to_string(r) + ".log",
                    simLog = work + "/sim" + std::to_string(r) + ".log";
        pid_t sink = -1, sim = -1, ui = -1;
        auto fail = [&](const char *what) {
            fprintf(stderr, "%s\n", what);
            Halt(ui);
            Halt(sim);
            Halt(sink);
            return 1;
        };
        sink = Launch({DISPLAY_SINK_BIN, "--png", (work + "/s.png").c_str()}, sinkLog);
        if (!WaitFor(sinkLog, "display_sink: ready")) {
            return fail("display_sink did not start");
        }
        // The recorder answers the start-up's settings load (without it the load waits out its
        // time-out before the first page).
        sim = Launch({RECORDER_SIM_BIN, "--no-marker", "--stay", "--state", work + "/state.json"}, simLog);
        if (!WaitFor(simLog, " ready")) {
            return fail("recorder_sim did not start");
        }
        ui = Launch({RECORDER_UI_BIN}, uiLog);
        if (!WaitFor(uiLog, "wait to start ui")) {
            return fail("recorder_ui did not start");
        }
        double t0 = Mono();
        close(open(SYS_PATH_READY2START_UI, O_CREAT | O_WRONLY, 0644));
        if (!WaitFor(sinkLog, "first area at")) {
            return fail("no area drawn");
        }
        std::string s = Slurp(sinkLog);
        double first = atof(s.c_str() + s.find("first area at") + strlen("first area at"));
        lat.push_back((first - t0) * 1000.0);
        if (r == runs - 1) {
            idleUi = ui;
            idleSink = sink;
            idleSim = sim;
        } else {
            Halt(ui);
            Halt(sink);
            Halt(sim);
        }
    }
    std::sort(lat.begin(), lat.end());
    printf("start marker -> first area taken by display_sink: median %.1f ms (min %.1f, max %.1f, %d runs)\n",
           lat[lat.size() / 2], lat.front(), lat.back(), runs);
    printf("  of which the fixed start-up sleep: 500.0 ms; the rest: median %.1f ms\n",
           lat[lat.size() / 2] - 500.0);

    sleep(2); // let the first frames settle
    long hz = sysconf(_SC_CLK_TCK);
    long c0 = CpuTicksOf(idleUi);
    double w0 = Mono();
    sleep(10);
    long c1 = CpuTicksOf(idleUi);
    double w1 = Mono();
    printf("idle main loop CPU: %.2f %% of one core over %.1f s\n",
           100.0 * (double)(c1 - c0) / hz / (w1 - w0), w1 - w0);
    Halt(idleUi);
    Halt(idleSink);
    Halt(idleSim);
    return 0;
}

int Throughput(const std::string &work, double seconds) {
    ClearDisplayHandOver();
    std::string sinkLog = work + "/sink_tp.log";
    pid_t sink = Launch({DISPLAY_SINK_BIN, "--png", (work + "/tp.png").c_str()}, sinkLog);
    if (!WaitFor(sinkLog, "display_sink: ready")) {
        fprintf(stderr, "display_sink did not start\n");
        Halt(sink);
        return 1;
    }
    if (g_stDispDevSpi.init(0) != 0) {
        Halt(sink);
        return 1;
    }
    void *buf = nullptr;
    g_stDispDevSpi.alloc_buf(&buf, DISP_SPI_PANEL_W * DISP_SPI_PANEL_H);
    if (buf == nullptr) {
        Halt(sink);
        return 1;
    }
    memset(buf, 0x5A, DISP_SPI_PANEL_W * DISP_SPI_PANEL_H * 4);
    struct Case {
        const char *name;
        disp_area area;
    } cases[] = {{"320 x 170 full-screen", {0, 0, 319, 169}}, {"32 x 32", {100, 50, 131, 81}}};
    for (const Case &c : cases) {
        long n = 0;
        double t0 = Mono(), t;
        do {
            for (int k = 0; k < 16; ++k, ++n) {
                if (disp_spi_send_area(&c.area) != 0) {
                    fprintf(stderr, "hand-over failed\n");
                    Halt(sink);
                    return 1;
                }
            }
            t = Mono();
        } while (t - t0 < seconds);
        printf("flush hand-over with display_sink, %s areas: %.0f areas/s (%ld in %.1f s)\n", c.name,
               (double)n / (t - t0), n, t - t0);
    }
    Halt(sink);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        printf("usage: spine_bench [RUNS]   start-up latency (median of RUNS, default 5), idle CPU, "
               "hand-over rate\n");
        return 0;
    }
    RunIsolated(argc, argv);
    int runs = argc > 1 ? atoi(argv[1]) : 5;
    if (runs < 1) {
        runs = 1;
    }
    int rc = InWorkFolder("spine_bench", [&](const std::string &work) {
        int r = StartupAndIdle(work, runs);
        return r != 0 ? r : Throughput(work, 3.0);
    });
    ClearDisplayHandOver();
    return rc;
}
