#include "clip.h"

#include <cstdlib>

namespace cam {

std::unique_ptr<Clip> Clip::Open(const std::string &path, int w, int h, double now, std::string &err) {
    std::unique_ptr<Clip> c(new Clip(path, w, h));
    if (!c->Seek(0, now, err)) {
        return nullptr;
    }
    return c;
}

double Clip::Position(double now) const {
    return paused_ ? pos0_ : pos0_ + (now - start_);
}

void Clip::Pause(double now) {
    if (!paused_) {
        pos0_ = Position(now);
        paused_ = true;
    }
}

void Clip::Resume(double now) {
    if (paused_) {
        start_ = now;
        paused_ = false;
    }
}

bool Clip::Seek(double pos, double now, std::string &err) {
    // The file is opened again and decoded up to the position (clips are short).
    std::unique_ptr<Source> src = MakeFile(path_, w_, h_, err);
    if (src == nullptr) {
        return false;
    }
    src->Advance(kOrigin);
    for (int i = 0; i < 1000 && src->Advance(kOrigin + pos); ++i) {
    }
    src_ = std::move(src);
    pos0_ = pos;
    start_ = now;
    return true;
}

bool Clip::Advance(double now) {
    if (paused_) {
        return false;
    }
    return src_->Advance(kOrigin + Position(now));
}

double Clip::NextChange(double now) const {
    return paused_ ? -1 : src_->NextChange(kOrigin + Position(now));
}

bool ClipCommand(const std::string &args, std::unique_ptr<Clip> &slot, int w, int h, double now,
                 std::string &err) {
    if (args.rfind("open ", 0) == 0 && args.size() > 5) {
        std::unique_ptr<Clip> c = Clip::Open(args.substr(5), w, h, now, err);
        if (c == nullptr) {
            return false;
        }
        slot = std::move(c);
        return true;
    }
    if (args == "stop") {
        slot.reset();
        return true;
    }
    if (slot == nullptr) {
        err = "no clip open";
        return false;
    }
    if (args == "pause") {
        slot->Pause(now);
        return true;
    }
    if (args == "resume") {
        slot->Resume(now);
        return true;
    }
    if (args.rfind("seek ", 0) == 0) {
        char *end = nullptr;
        long ms = strtol(args.c_str() + 5, &end, 10);
        if (end == args.c_str() + 5 || *end != '\0' || ms < 0) {
            err = "seek needs MS (0 or more)";
            return false;
        }
        bool paused = slot->Paused();
        if (!slot->Seek(ms / 1000.0, now, err)) {
            return false;
        }
        if (paused) {
            slot->Pause(now);
        }
        return true;
    }
    err = "clip needs open PATH, pause, resume, seek MS or stop";
    return false;
}

} // namespace cam
