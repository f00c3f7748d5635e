// Child processes and files for the end-to-end tests of the display hand-over.
#ifndef PROC_UTIL_H
#define PROC_UTIL_H

#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
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
        // The files are emptied here, before the spawn: under qemu's user mode the spawn returns
        // before the child has opened them, and a read in between would still see the output of
        // the previous process that wrote there.
        for (const std::string *path : {&out, &err}) {
            int fd = open(path->c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
            if (fd >= 0) {
                close(fd);
            }
        }
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_CREAT | O_WRONLY, 0644);
        posix_spawn_file_actions_addopen(&fa, 2, err.c_str(), O_CREAT | O_WRONLY, 0644);
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

// Asks display_sink for a screenshot through its control FIFO and reads it; false when none came.
inline bool Screenshot(const std::string &control, const std::string &path, Image &img) {
    unlink(path.c_str());
    std::string cmd = "shot " + path + "\n";
    int c = open(control.c_str(), O_WRONLY);
    if (c < 0) {
        return false;
    }
    bool sent = write(c, cmd.data(), cmd.size()) == (ssize_t)cmd.size();
    close(c);
    return sent && WaitFor([&] { return access(path.c_str(), F_OK) == 0; }) && ReadPng(path, img);
}

inline bool WritePng(const std::string &path, const Image &img) {
    std::vector<uint8_t> buf(img.px.size() * 3);
    for (size_t i = 0; i < img.px.size(); ++i) {
        buf[i * 3] = (uint8_t)(img.px[i] >> 16);
        buf[i * 3 + 1] = (uint8_t)(img.px[i] >> 8);
        buf[i * 3 + 2] = (uint8_t)img.px[i];
    }
    png_image pi = {};
    pi.version = PNG_IMAGE_VERSION;
    pi.width = (png_uint_32)img.w;
    pi.height = (png_uint_32)img.h;
    pi.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&pi, path.c_str(), 0, buf.data(), 0, nullptr) != 0;
}

// An inclusive rectangle of the panel.
struct Rect {
    int x1, y1, x2, y2;
    bool Has(int x, int y) const { return x >= x1 && x <= x2 && y >= y1 && y <= y2; }
};

// Pixels outside the masks where a channel differs by more than tol; their bounding box in *box.
inline size_t CountDiff(const Image &a, const Image &b, int tol, const std::vector<Rect> &masks = {},
                        Rect *box = nullptr) {
    if (a.w != b.w || a.h != b.h) {
        return (size_t)-1;
    }
    size_t n = 0;
    Rect bb = {a.w, a.h, -1, -1};
    for (int y = 0; y < a.h; ++y) {
        for (int x = 0; x < a.w; ++x) {
            bool masked = false;
            for (const Rect &m : masks) {
                masked = masked || m.Has(x, y);
            }
            uint32_t p = a.px[(size_t)y * a.w + x], q = b.px[(size_t)y * b.w + x];
            bool differs = false;
            for (int sh : {0, 8, 16}) {
                int d = (int)((p >> sh) & 0xFF) - (int)((q >> sh) & 0xFF);
                differs = differs || d > tol || -d > tol;
            }
            if (masked || !differs) {
                continue;
            }
            ++n;
            bb = {std::min(bb.x1, x), std::min(bb.y1, y), std::max(bb.x2, x), std::max(bb.y2, y)};
        }
    }
    if (box != nullptr) {
        *box = bb;
    }
    return n;
}

// Compares a screenshot with a reviewed reference picture: at most maxDiff pixels outside the
// masks may differ by more than 16 in a channel. With RECORDER_UPDATE_REFS=1 the screenshot
// becomes the reference (look at it before committing it). "" when it matches, else why not.
inline std::string CompareWithReference(const Image &img, const std::string &ref,
                                        const std::vector<Rect> &masks, size_t maxDiff) {
    const char *update = getenv("RECORDER_UPDATE_REFS");
    if (update != nullptr && std::string(update) == "1") {
        return WritePng(ref, img) ? "" : "cannot write " + ref;
    }
    Image want;
    if (!ReadPng(ref, want)) {
        return "no reference " + ref + " (RECORDER_UPDATE_REFS=1 writes it)";
    }
    Rect box;
    size_t n = CountDiff(img, want, 16, masks, &box);
    if (n <= maxDiff) {
        return "";
    }
    return std::to_string(n) + " pixels differ from " + ref + " in (" + std::to_string(box.x1) + "," +
           std::to_string(box.y1) + ")-(" + std::to_string(box.x2) + "," + std::to_string(box.y2) + ")";
}

} // namespace e2e

#endif
