// Child processes and files for the end-to-end tests of the display hand-over.
#ifndef PROC_UTIL_H
#define PROC_UTIL_H

#include <png.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace e2e {

inline std::string ReadFile(const std::string &path) {
    std::string out;
    FILE *f = fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return out;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) {
        out.append(buf, n);
    }
    fclose(f);
    return out;
}

inline size_t Count(const std::string &hay, const std::string &needle) {
    size_t n = 0;
    for (size_t p = hay.find(needle); p != std::string::npos; p = hay.find(needle, p + 1)) {
        ++n;
    }
    return n;
}

// Waits until pred holds; the bound only keeps a broken run from hanging.
inline bool WaitFor(const std::function<bool()> &pred, int bound_ms = 20000) {
    for (int t = 0; t < bound_ms; t += 10) {
        if (pred()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return pred();
}

// A child process with standard output and standard error in files.
struct Proc {
    pid_t pid = -1;
    std::string out, err;

    // Cross builds run their programs through the emulator (E2E_EMULATOR, words separated by
    // spaces): a test running under it cannot start a target binary directly.
    void Start(const std::vector<std::string> &argvIn, const std::string &logBase) {
        std::vector<std::string> argv;
#ifdef E2E_EMULATOR
        std::string emu = E2E_EMULATOR;
        for (size_t p = 0; p < emu.size();) {
            size_t q = emu.find(' ', p);
            q = q == std::string::npos ? emu.size() : q;
            if (q > p) {
                argv.push_back(emu.substr(p, q - p));
            }
            p = q + 1;
        }
#endif
        argv.insert(argv.end(), argvIn.begin(), argvIn.end());
        out = logBase + ".out";
        err = logBase + ".err";
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
        posix_spawn_file_actions_addopen(&fa, 2, err.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
        std::vector<char *> args;
        for (const std::string &a : argv) {
            args.push_back(const_cast<char *>(a.c_str()));
        }
        args.push_back(nullptr);
        if (posix_spawnp(&pid, args[0], &fa, nullptr, args.data(), environ) != 0) {
            pid = -1;
        }
        posix_spawn_file_actions_destroy(&fa);
    }
    std::string Out() const {
        return ReadFile(out);
    }
    std::string Err() const {
        return ReadFile(err);
    }
    bool Alive() const {
        int st;
        return pid > 0 && waitpid(pid, &st, WNOHANG) == 0;
    }
    // SIGTERM and wait; returns the wait status.
    int Stop() {
        int st = 0;
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, &st, 0);
            pid = -1;
        }
        return st;
    }
    ~Proc() {
        Stop();
    }
};

// An RGB PNG as 0xRRGGBB values.
struct Image {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
};

inline bool ReadPng(const std::string &path, Image &img) {
    png_image pi = {};
    pi.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&pi, path.c_str())) {
        return false;
    }
    pi.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> buf(PNG_IMAGE_SIZE(pi));
    if (!png_image_finish_read(&pi, nullptr, buf.data(), 0, nullptr)) {
        return false;
    }
    img.w = (int)pi.width;
    img.h = (int)pi.height;
    img.px.resize((size_t)img.w * img.h);
    for (size_t i = 0; i < img.px.size(); ++i) {
        img.px[i] = (uint32_t)buf[i * 3] << 16 | (uint32_t)buf[i * 3 + 1] << 8 | buf[i * 3 + 2];
    }
    return true;
}

} // namespace e2e

#endif
