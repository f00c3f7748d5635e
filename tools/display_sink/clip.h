// A clip under the user interface, as the recorder's player shows it in the video layer: opened
// at its start, paused, resumed, moved to a position and closed by commands. Its picture is the
// clip's frame at the play position.
#ifndef DISPLAY_SINK_CLIP_H
#define DISPLAY_SINK_CLIP_H

#include <memory>
#include <string>

#include "camera.h"

namespace cam {

class Clip : public Source {
  public:
    // Null with the reason in err when the file cannot be decoded.
    static std::unique_ptr<Clip> Open(const std::string &path, int w, int h, double now, std::string &err);

    void Pause(double now);
    void Resume(double now);
    // Moves to pos seconds from the start; false (position unchanged) when the file cannot be
    // opened again.
    bool Seek(double pos, double now, std::string &err);
    bool Paused() const { return paused_; }
    // Seconds from the clip's start at time now.
    double Position(double now) const;

    bool Advance(double now) override;
    const std::vector<uint32_t> &Frame() const override { return src_->Frame(); }
    double NextChange(double now) const override;

  private:
    Clip(const std::string &path, int w, int h) : path_(path), w_(w), h_(h) {}
    // The source's own clock: it runs from kOrigin at the clip's start.
    static constexpr double kOrigin = 1000.0;

    std::unique_ptr<Source> src_;
    std::string path_;
    int w_, h_;
    double pos0_ = 0;  // position at start_
    double start_ = 0; // monotonic time at which the position was pos0_
    bool paused_ = false;
};

// Applies one "clip ..." control command ("clip open PATH", "clip pause", "clip resume",
// "clip seek MS", "clip stop") to the clip slot; false with the reason in err when it is not one.
bool ClipCommand(const std::string &args, std::unique_ptr<Clip> &slot, int w, int h, double now,
                 std::string &err);

} // namespace cam

#endif // DISPLAY_SINK_CLIP_H
