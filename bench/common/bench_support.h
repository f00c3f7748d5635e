// What the benchmarks that drive the real programs share: running in private namespaces, starting
// and stopping the programs with their logs, waiting for a log line, reading display_sink's trace
// and CPU time, a work folder that is kept only when the run failed, and the LVGL heap in use.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace bench {

// Returns in the isolated run; otherwise executes this program again through scripts/run-isolated
// (private IPC and mount namespaces, so it never meets a real peer) and returns only when that
// failed.
inline void RunIsolated(int argc, char **argv) {
    if (getenv("RECORDER_ISOLATED") != nullptr) {
        return;
    }
    setenv("RECORDER_ROOT", RECORDER_ROOT, 1);
    std::vector<char *> a = {const_cast<char *>(RECORDER_ISOLATE_SCRIPT)};
    for (int i = 0; i < argc; ++i) {
        a.push_back(argv[i]);
    }
    a.push_back(nullptr);
    execv(a[0], a.data());
    perror("run-isolated");
    exit(1);
}

// Seconds on the monotonic clock.
inline double Mono() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

inline std::string Slurp(const std::string &path) {
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

// Starts argv[0] with standard output and error in `log`.
inline pid_t Launch(const std::vector<std::string> &argv, const std::string &log) {
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

inline void Halt(pid_t pid) {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

inline bool WaitFor(const std::string &log, const char *text, double bound_s = 20) {
    for (double end = Mono() + bound_s; Mono() < end; usleep(2000)) {
        if (Slurp(log).find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// User and system CPU time of a process, in clock ticks; -1 if it cannot be read.
inline long CpuTicksOf(pid_t pid) {
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
inline std::vector<double> AreasIn(const std::string &log, size_t from, int y0, int y1) {
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

// Writes one line into a FIFO (recorder_sim's key hook), opening it for that line only.
inline void AppendLine(const std::string &fifo, const char *line) {
    int fd = open(fifo.c_str(), O_WRONLY);
    if (fd >= 0) {
        if (write(fd, line, strlen(line)) < 0) {
            perror("key hook");
        }
        close(fd);
    }
}

// Runs `run` in a fresh folder below /tmp named after `name`; the folder is removed after a
// successful run and kept (and named) after a failed one. Returns what `run` returned.
inline int InWorkFolder(const char *name, const std::function<int(const std::string &)> &run) {
    std::string tmpl = std::string("/tmp/") + name + ".XXXXXX";
    if (mkdtemp(&tmpl[0]) == nullptr) {
        perror("mkdtemp");
        return 1;
    }
    int rc = run(tmpl);
    if (rc != 0) {
        fprintf(stderr, "logs kept in %s\n", tmpl.c_str());
    } else if (system(("rm -rf '" + tmpl + "'").c_str()) != 0) {
        fprintf(stderr, "could not remove %s\n", tmpl.c_str());
    }
    return rc;
}

} // namespace bench
