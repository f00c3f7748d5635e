// Camera pictures of display_sink. See camera.h.
#include "camera.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#if DISPLAY_SINK_FFMPEG
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}
#endif

namespace cam {
namespace {

// x / 255 rounded, for x up to 255 * 255 * 2.
inline uint32_t Div255(uint32_t x) {
    return (x + 128u + ((x + 128u) >> 8)) >> 8;
}

inline uint32_t Rgb(int r, int g, int b) {
    auto c = [](int v) { return (uint32_t)std::clamp(v, 0, 255); };
    return 0xFF000000u | c(r) << 16 | c(g) << 8 | c(b);
}

inline uint32_t Mix(uint32_t a, uint32_t b, float t) {
    auto ch = [&](int s) {
        float x = (float)((a >> s) & 0xFF) * (1.0f - t) + (float)((b >> s) & 0xFF) * t;
        return (uint32_t)std::lround(x) << s;
    };
    return 0xFF000000u | ch(16) | ch(8) | ch(0);
}

class Still : public Source {
  public:
    explicit Still(std::vector<uint32_t> px) : px_(std::move(px)) {}
    bool Advance(double) override { return false; }
    const std::vector<uint32_t> &Frame() const override { return px_; }
    double NextChange(double) const override { return -1; }

  private:
    std::vector<uint32_t> px_;
};

// The colour of one point of a generated scene, in coordinates of a 320 x 170 picture.
struct Scene {
    int id;
    float w, h;

    // Road seen through a windscreen (front) or a rear window (rear): sky, far hills, verges,
    // asphalt narrowing to the vanishing point, edge lines and a dashed centre line.
    uint32_t Road(float x, float y, bool rear) const {
        const float horizon = h * (rear ? 0.46f : 0.40f);
        const float vx = w * (rear ? 0.56f : 0.50f);
        if (y < horizon) {
            uint32_t top = rear ? Rgb(250, 160, 95) : Rgb(92, 150, 214);
            uint32_t low = rear ? Rgb(255, 214, 150) : Rgb(196, 222, 240);
            uint32_t c = Mix(top, low, y / horizon);
            // Far hills: a gentle wave just above the horizon.
            float hill = horizon - 9.0f - 7.0f * std::sin(x * 0.045f + (rear ? 1.7f : 0.3f)) -
                         4.0f * std::sin(x * 0.11f);
            if (y > hill) {
                c = rear ? Rgb(120, 86, 96) : Rgb(96, 132, 104);
            }
            return c;
        }
        float depth = (y - horizon) / (h - horizon); // 0 at the horizon, 1 at the bottom
        float half = 6.0f + depth * w * 0.62f;       // half width of the road at this row
        float dx = x - vx;
        if (std::fabs(dx) > half) {
            uint32_t grass = rear ? Rgb(86, 98, 60) : Rgb(78, 140, 64);
            return Mix(grass, Rgb(40, 70, 36), depth * 0.5f);
        }
        uint32_t asphalt = Mix(Rgb(128, 128, 132), Rgb(70, 70, 74), depth);
        float edge = half - std::fabs(dx);
        float line = 0.8f + depth * 3.5f;
        if (edge < line * 1.6f && edge > line * 0.4f) {
            return Rgb(236, 236, 230);
        }
        // Dashes repeat in perspective: equal steps of 1 / depth.
        if (std::fabs(dx) < line * 0.7f) {
            float phase = std::fmod(12.0f / (depth + 0.02f), 2.0f);
            if (phase < 1.0f) {
                return rear ? Rgb(236, 236, 230) : Rgb(240, 200, 60);
            }
        }
        return asphalt;
    }

    // The cabin seen from the mirror: dark roof and pillars, the windscreen showing the road,
    // the dashboard and two seat backs.
    uint32_t Cabin(float x, float y) const {
        const float top = h * 0.12f, bottom = h * 0.58f;
        float inset = (y - top) * 0.35f; // the pillars lean outwards downwards
        bool glass = y > top && y < bottom && x > 30.0f - inset && x < w - 30.0f + inset;
        if (glass) {
            // The road through the glass, squeezed into the windscreen.
            float sy = (y - top) / (bottom - top) * h;
            return Mix(Road(x, sy, false), Rgb(20, 24, 30), 0.25f);
        }
        uint32_t c = Mix(Rgb(52, 50, 56), Rgb(28, 27, 30), y / h);
        if (y >= bottom && y < bottom + 14.0f) {
            c = Rgb(36, 34, 38); // dashboard
        }
        for (float cx : {w * 0.28f, w * 0.72f}) {
            float ex = (x - cx) / 46.0f, ey = (y - h * 1.02f) / 58.0f;
            if (ex * ex + ey * ey < 1.0f) {
                c = Mix(Rgb(92, 70, 58), Rgb(62, 46, 40), (y - h * 0.6f) / (h * 0.4f));
            }
        }
        return c;
    }

    uint32_t At(float x, float y) const {
        x *= 320.0f / w;
        y *= 170.0f / h;
        Scene s{id, 320.0f, 170.0f};
        switch (id) {
        case 1:
            return s.Road(x, y, true);
        case 2:
            return s.Cabin(x, y);
        default:
            return s.Road(x, y, false);
        }
    }
};

} // namespace

std::unique_ptr<Source> MakeGenerated(int id, int w, int h) {
    Scene scene{id, (float)w, (float)h};
    std::vector<uint32_t> px((size_t)w * h);
    // 2 x 2 samples a pixel for smooth lines.
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint32_t r = 0, g = 0, b = 0;
            for (int s = 0; s < 4; ++s) {
                uint32_t c = scene.At((float)x + 0.25f + 0.5f * (float)(s & 1),
                                      (float)y + 0.25f + 0.5f * (float)(s >> 1));
                r += (c >> 16) & 0xFF;
                g += (c >> 8) & 0xFF;
                b += c & 0xFF;
            }
            px[(size_t)y * w + x] = 0xFF000000u | ((r + 2) / 4) << 16 | ((g + 2) / 4) << 8 | ((b + 2) / 4);
        }
    }
    return std::make_unique<Still>(std::move(px));
}

std::unique_ptr<Source> MakeBlack(int w, int h) {
    return std::make_unique<Still>(std::vector<uint32_t>((size_t)w * h, 0xFF000000u));
}

bool ParseCameraOption(const std::string &arg, CameraOption &out, std::string &err) {
    CameraOption s;
    std::string src = arg;
    size_t eq = arg.find('=');
    if (eq != std::string::npos && eq == 1 && arg[0] >= '0' && arg[0] <= '9') {
        s.id = arg[0] - '0';
        src = arg.substr(2);
        if (s.id >= kCameraCount) {
            err = "camera id " + std::to_string(s.id) + " is not 0 (front), 1 (rear) or 2 (inside)";
            return false;
        }
    }
    if (src.empty()) {
        err = "no picture source in \"" + arg + "\"";
        return false;
    }
    s.src = src;
    out = s;
    return true;
}

void Compose(const uint32_t *ui, const uint32_t *camera, uint32_t *out, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        uint32_t p = ui[i];
        uint32_t a = p >> 24;
        if (a == 255) {
            out[i] = p;
            continue;
        }
        uint32_t c = camera[i];
        if (a == 0) {
            out[i] = c | 0xFF000000u;
            continue;
        }
        uint32_t inv = 255 - a;
        uint32_t r = Div255(((p >> 16) & 0xFF) * a + ((c >> 16) & 0xFF) * inv);
        uint32_t g = Div255(((p >> 8) & 0xFF) * a + ((c >> 8) & 0xFF) * inv);
        uint32_t b = Div255((p & 0xFF) * a + (c & 0xFF) * inv);
        out[i] = 0xFF000000u | r << 16 | g << 8 | b;
    }
}

#if DISPLAY_SINK_FFMPEG
namespace {

std::string AvError(int code) {
    char buf[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, buf, sizeof buf);
    return buf;
}

// A file decoded frame by frame; a file with one picture is a still, anything longer loops.
class Media : public Source {
  public:
    Media(int w, int h) : w_(w), h_(h), px_((size_t)w * h, 0xFF000000u) {}
    ~Media() override {
        sws_freeContext(sws_);
        av_frame_free(&frame_);
        av_packet_free(&pkt_);
        avcodec_free_context(&dec_);
        avformat_close_input(&fmt_);
    }

    bool Open(const std::string &path, std::string &err) {
        int r = avformat_open_input(&fmt_, path.c_str(), nullptr, nullptr);
        if (r < 0) {
            err = AvError(r);
            return false;
        }
        if ((r = avformat_find_stream_info(fmt_, nullptr)) < 0) {
            err = AvError(r);
            return false;
        }
        const AVCodec *codec = nullptr;
        stream_ = av_find_best_stream(fmt_, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
        if (stream_ < 0 || codec == nullptr) {
            err = "no video stream";
            return false;
        }
        dec_ = avcodec_alloc_context3(codec);
        frame_ = av_frame_alloc();
        pkt_ = av_packet_alloc();
        if (dec_ == nullptr || frame_ == nullptr || pkt_ == nullptr) {
            err = "out of memory";
            return false;
        }
        if ((r = avcodec_parameters_to_context(dec_, fmt_->streams[stream_]->codecpar)) < 0 ||
            (r = avcodec_open2(dec_, codec, nullptr)) < 0) {
            err = AvError(r);
            return false;
        }
        tb_ = av_q2d(fmt_->streams[stream_]->time_base);
        if (!DecodeNext(pending_, pendingPts_)) {
            err = "no picture could be decoded";
            return false;
        }
        px_ = pending_;
        shownPts_ = pendingPts_;
        firstPts_ = pendingPts_;
        havePending_ = DecodeNext(pending_, pendingPts_);
        still_ = !havePending_;
        return true;
    }

    bool Advance(double now) override {
        if (still_) {
            return false;
        }
        if (start_ < 0) {
            start_ = now - (shownPts_ - firstPts_);
        }
        bool changed = false;
        int guard = 0;
        while (guard++ < 240) {
            if (!havePending_) {
                // End of the file: start again from the beginning, continuing the clock.
                double loopLen = lastPts_ - firstPts_ + lastDur_;
                if (loopLen <= 0 || !Rewind()) {
                    still_ = true;
                    break;
                }
                start_ += loopLen;
                continue;
            }
            if (start_ + (pendingPts_ - firstPts_) > now) {
                break;
            }
            px_.swap(pending_);
            shownPts_ = pendingPts_;
            changed = true;
            havePending_ = DecodeNext(pending_, pendingPts_);
        }
        if (guard >= 240) {
            start_ = now - (shownPts_ - firstPts_); // far behind: resynchronise instead of racing
        }
        return changed;
    }

    const std::vector<uint32_t> &Frame() const override { return px_; }

    double NextChange(double now) const override {
        if (still_) {
            return -1;
        }
        if (!havePending_ || start_ < 0) {
            return 0;
        }
        return std::max(0.0, start_ + (pendingPts_ - firstPts_) - now);
    }

  private:
    bool Rewind() {
        if (av_seek_frame(fmt_, stream_, 0, AVSEEK_FLAG_BACKWARD) < 0 &&
            avformat_seek_file(fmt_, -1, INT64_MIN, 0, INT64_MAX, 0) < 0) {
            return false;
        }
        avcodec_flush_buffers(dec_);
        eof_ = false;
        havePending_ = DecodeNext(pending_, pendingPts_);
        return havePending_;
    }

    // Decodes the next picture into out (scaled and cropped); false at the end of the file.
    bool DecodeNext(std::vector<uint32_t> &out, double &pts) {
        for (;;) {
            int r = avcodec_receive_frame(dec_, frame_);
            if (r == 0) {
                int64_t ts =
                    frame_->best_effort_timestamp != AV_NOPTS_VALUE ? frame_->best_effort_timestamp : 0;
                pts = (double)ts * tb_;
                double dur = frame_->pkt_duration > 0 ? (double)frame_->pkt_duration * tb_ : 0.04;
                lastPts_ = std::max(lastPts_, pts);
                lastDur_ = dur;
                Convert(out);
                av_frame_unref(frame_);
                return true;
            }
            if (r == AVERROR_EOF) {
                return false;
            }
            if (r != AVERROR(EAGAIN)) {
                return false;
            }
            if (eof_) {
                return false;
            }
            r = av_read_frame(fmt_, pkt_);
            if (r < 0) {
                eof_ = true;
                avcodec_send_packet(dec_, nullptr); // drain
                continue;
            }
            if (pkt_->stream_index == stream_) {
                avcodec_send_packet(dec_, pkt_);
            }
            av_packet_unref(pkt_);
        }
    }

    // Scales the frame to cover w x h (keeping its aspect) and keeps the centre.
    void Convert(std::vector<uint32_t> &out) {
        int fw = frame_->width, fh = frame_->height;
        if (fw <= 0 || fh <= 0) {
            return;
        }
        double scale = std::max((double)w_ / fw, (double)h_ / fh);
        int sw = std::max(w_, (int)std::lround(fw * scale));
        int sh = std::max(h_, (int)std::lround(fh * scale));
        sws_ = sws_getCachedContext(sws_, fw, fh, (AVPixelFormat)frame_->format, sw, sh, AV_PIX_FMT_BGRA,
                                    SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (sws_ == nullptr) {
            return;
        }
        scaled_.resize((size_t)sw * sh);
        uint8_t *dst[4] = {reinterpret_cast<uint8_t *>(scaled_.data()), nullptr, nullptr, nullptr};
        int stride[4] = {sw * 4, 0, 0, 0};
        sws_scale(sws_, frame_->data, frame_->linesize, 0, fh, dst, stride);
        out.resize((size_t)w_ * h_);
        int ox = (sw - w_) / 2, oy = (sh - h_) / 2;
        for (int y = 0; y < h_; ++y) {
            const uint32_t *src = &scaled_[(size_t)(y + oy) * sw + ox];
            for (int x = 0; x < w_; ++x) {
                out[(size_t)y * w_ + x] = src[x] | 0xFF000000u;
            }
        }
    }

    int w_, h_;
    std::vector<uint32_t> px_, pending_, scaled_;
    AVFormatContext *fmt_ = nullptr;
    AVCodecContext *dec_ = nullptr;
    AVFrame *frame_ = nullptr;
    AVPacket *pkt_ = nullptr;
    SwsContext *sws_ = nullptr;
    int stream_ = -1;
    double tb_ = 0;
    bool eof_ = false, still_ = false, havePending_ = false;
    double firstPts_ = 0, shownPts_ = 0, pendingPts_ = 0, lastPts_ = 0, lastDur_ = 0.04;
    double start_ = -1; // monotonic time at which the first picture was due
};

} // namespace

std::unique_ptr<Source> MakeFile(const std::string &path, int w, int h, std::string &err) {
    av_log_set_level(AV_LOG_ERROR);
    auto m = std::make_unique<Media>(w, h);
    if (!m->Open(path, err)) {
        return nullptr;
    }
    return m;
}
#else
std::unique_ptr<Source> MakeFile(const std::string &path, int, int, std::string &err) {
    err = "built without FFmpeg, only the generated pictures are available";
    (void)path;
    return nullptr;
}
#endif

} // namespace cam
