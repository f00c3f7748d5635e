// The camera picture under the user interface, as the display process of the device shows the
// live video below the UI layer: per camera id a generated test picture, a still image or a
// looping video file, and the composition of the UI (32-bit pixels with straight alpha) over it.
#ifndef DISPLAY_SINK_CAMERA_H
#define DISPLAY_SINK_CAMERA_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cam {

// Camera ids as the recorder's "preview_camid" setting names them.
constexpr int kCameraCount = 3; // 0 front, 1 rear, 2 inside

// One picture source of w x h pixels (bytes blue, green, red, alpha as LVGL's 32-bit colour).
class Source {
  public:
    virtual ~Source() = default;
    // Moves the source to the monotonic time `now` (seconds); true when its picture changed.
    virtual bool Advance(double now) = 0;
    // The current picture, w x h opaque pixels.
    virtual const std::vector<uint32_t> &Frame() const = 0;
    // Seconds until the picture changes next, or a negative value for a still picture.
    virtual double NextChange(double now) const = 0;
};

// A road-like test picture, different per camera id (front road, rear road, cabin).
std::unique_ptr<Source> MakeGenerated(int id, int w, int h);
// A black picture (the layer switched off).
std::unique_ptr<Source> MakeBlack(int w, int h);
// A still image or a video file decoded with FFmpeg, scaled to cover w x h and cropped to the
// centre; a video loops. Null with the reason in `err` when the file cannot be decoded (or the
// program was built without FFmpeg).
std::unique_ptr<Source> MakeFile(const std::string &path, int w, int h, std::string &err);

// Parses one --camera value, "[ID=]SRC"; false with the reason in err.
struct CameraOption {
    int id = 0;
    std::string src; // "test", "none" or a file path
};
bool ParseCameraOption(const std::string &arg, CameraOption &out, std::string &err);

// Composes the UI over the camera picture: out = ui * a + cam * (1 - a), a = the UI pixel's alpha.
// The result is opaque.
void Compose(const uint32_t *ui, const uint32_t *camera, uint32_t *out, size_t n);

} // namespace cam

#endif // DISPLAY_SINK_CAMERA_H
