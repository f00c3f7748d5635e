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

#include "isolate.h"
#include "disp_flush_record.h"
#include "sys_paths.h"

namespace {

double Mono() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

std::string Slurp(const std::string &path) {
    std::string s;
    FILE *f = fopen(path.c_str(), "rb");
    if (f != nullptr) {
        char b[8192];
        size_t n;
        while ((n = fread(b, 1, sizeof b, f)) > 0) {
            s.append(b, n);
        }
        fclose(f);
    }
    return s;
}

pid_t Launch(const std::vector<std::string> &argv, const std::string &log) {
    pid_t pid = fork();
    if (pid == 0) {
        int fd = open(log.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        std::vector<char *> a;
        for (const std::string &s : argv) {
            a.push_back(const_cast<char *>(s.c_str()));
        }
        a.push_back(nullptr);
        execv(a[0], a.data());
        _exit(127);
    }
    return pid;
}

void Halt(pid_t pid) {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

bool WaitFor(const std::string &log, const char *text, double bound_s = 20) {
    for (double end = Mono() + bound_s; Mono() < end; usleep(2000)) {
        if (Slurp(log).find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

[[maybe_unused]] long CpuTicksOf(pid_t pid) {
    std::string s = Slurp("/proc/" + std::to_string(pid) + "/stat");
    size_t p = s.rfind(')');
    if (p == std::string::npos) {
        return -1;
    }
    long ut = 0, st = 0;
    // After ") ": field 3 is the state; utime and stime are fields 14 and 15.
    if (sscanf(s.c_str() + p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %ld %ld", &ut, &st) != 2) {
        return -1;
    }
    return ut + st;
}

// Area lines of display_sink --trace after byte offset `from`: times of the areas that touch
// rows y0..y1.
std::vector<double> AreasIn(const std::string &log, size_t from, int y0, int y1) {
    std::vector<double> out;
    for (size_t p = log.find("display_sink: ", from); p != std::string::npos;
         p = log.find("display_sink: ", p + 1)) {
        double t;
        int x1, ya, x2, yb;
        if (sscanf(log.c_str() + p, "display_sink: %lf area (%d,%d)-(%d,%d)", &t, &x1, &ya, &x2, &yb) == 5 &&
            yb >= y0 && ya <= y1) {
            out.push_back(t);
        }
    }
    return out;
}

void AppendLine(const std::string &fifo, const char *line) {
    int fd = open(fifo.c_str(), O_WRONLY);
    if (fd >= 0) {
        if (write(fd, line, strlen(line)) < 0) {
            perror("key hook");
        }
        close(fd);
    }
}

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
    unlink(SYS_PATH_READY2START_UI);
    unlink(DISP_FIFO_PATH);
    sem_unlink(DISP_SEM_READY);
    sem_unlink(DISP_SEM_TAKEN);
    shm_unlink(DISP_SHM_NAME);
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
    char tmpl[] = "/tmp/sysseting_bench.XXXXXX";
    if (mkdtemp(tmpl) == nullptr) {
        return 1;
    }
    int rc = Run(tmpl, openings);
    if (rc != 0) {
        fprintf(stderr, "logs kept in %s\n", tmpl);
    } else {
        std::string rm = std::string("rm -rf '") + tmpl + "'";
        if (system(rm.c_str()) != 0) {
            fprintf(stderr, "could not remove %s\n", tmpl);
        }
    }
    return rc;
}
