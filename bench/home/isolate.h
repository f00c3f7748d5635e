// The home benchmarks start the real programs or a fake recorder on System V queues, shared
// memory and semaphores: each runs itself again inside scripts/run-isolated (private namespaces),
// so it never meets a real peer.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

// Returns in the isolated run; otherwise executes this program again through run-isolated and
// returns only when that failed.
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
