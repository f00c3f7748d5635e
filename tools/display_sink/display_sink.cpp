// display_sink: the display process on a development machine. See README.md.
#include "camera.h"
#include "clip.h"
#include "disp_flush_record.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <png.h>
#include <poll.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#if DISPLAY_SINK_SDL
#include <SDL.h>
#endif

namespace {

constexpr int kW = DISP_SPI_PANEL_W;
constexpr int kH = DISP_SPI_PANEL_H;

volatile sig_atomic_t g_stop = 0;
volatile sig_atomic_t g_shot = 0;

void OnStop(int) {
    g_stop = 1;
}
void OnShot(int) {
    g_shot = 1;
}

struct Options {
    std::string png = "display_sink.png";
    std::string control;
    std::string keys;
    bool window = false;
    int scale = 3;
    bool trace = false;
    std::string camera[cam::kCameraCount] = {"test", "test", "test"};
};

void Usage(FILE *f) {
    fprintf(f,
            "usage: display_sink [options]\n"
            "Stands in for the display process: opens the FIFO %s, the semaphores %s and %s\n"
            "and the shared memory %s, and for each 20-byte area record waits on %s, copies the\n"
            "area's pixels from the start of the shared buffer into a %dx%d panel image and posts %s.\n"
            "\n"
            "  --png FILE      screenshot file, written on SIGUSR1, on the \"shot\" command and at exit\n"
            "                  (default display_sink.png; written atomically through FILE.tmp)\n"
            "  --control FIFO  command FIFO (created if missing), one command a line:\n"
            "                    shot [FILE]   write a screenshot (to FILE if given)\n"
            "                    camera ID     show the picture of camera ID (0, 1 or 2)\n"
            "                    clip open PATH|pause|resume|seek MS|stop  a clip played in the\n"
            "                                  video layer in place of the camera picture\n"
            "                    quit          write the screenshot and stop\n"
            "  --window        show the panel in an SDL2 window (frame rate in the title)\n"
            "  --scale N       window scale factor (default 3)\n"
            "  --keys PATH     key hook: window keys are appended to PATH, one event a line,\n"
            "                  \"<KEY> press\" or \"<KEY> release\", KEY one of OK (Enter), NEXT (Down,\n"
            "                  Right), PREV (Up, Left), BACK (Escape, Backspace). PATH may be a FIFO\n"
            "                  (events are dropped while it has no reader) or a regular file.\n"
            "  --camera [ID=]SRC  picture under the user interface for camera ID (0 front, the\n"
            "                  default; 1 rear; 2 inside): a video file (looped), a still image, \"test\"\n"
            "                  (a generated road picture, the default of every camera) or \"none\"\n"
            "                  (black). The UI is composed over it by its alpha, as the device shows\n"
            "                  the UI layer over the live video; window and screenshots show the result.\n"
            "  --trace         print one line per area with the monotonic time\n"
            "  --help          this text\n"
            "\n"
            "Standard output: \"display_sink: ready\" once everything is open, \"display_sink: first area\n"
            "at <s> s\" (monotonic clock) for the first area taken, a summary at exit. Areas outside\n"
            "the panel or larger than the shared buffer, and malformed records, are refused with a\n"
            "message; their exchange is still completed so the writer never hangs. SIGINT/SIGTERM stop.\n",
            DISP_FIFO_PATH, DISP_SEM_READY, DISP_SEM_TAKEN, DISP_SHM_NAME, DISP_SEM_READY, kW, kH,
            DISP_SEM_TAKEN);
}

double MonoSeconds() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

// The panel image: pixels as LVGL's 32-bit colour (bytes blue, green, red, alpha).
std::vector<uint32_t> g_panel(kW *kH, 0);

// The camera pictures under the UI and the one shown.
std::unique_ptr<cam::Source> g_camera[cam::kCameraCount];
int g_camid = 0;

// A clip the recorder's player plays in the video layer; while open it takes the camera's place.
std::unique_ptr<cam::Clip> g_clip;

cam::Source &Shown() {
    return g_clip != nullptr ? static_cast<cam::Source &>(*g_clip) : *g_camera[g_camid];
}

// What a person sees: the UI composed over the current camera picture or clip.
const std::vector<uint32_t> &Screen() {
    static std::vector<uint32_t> screen(kW * kH);
    cam::Compose(g_panel.data(), Shown().Frame().data(), screen.data(), screen.size());
    return screen;
}

bool WritePng(const std::string &path) {
    std::string tmp = path + ".tmp";
    FILE *f = fopen(tmp.c_str(), "wb");
    if (f == nullptr) {
        fprintf(stderr, "display_sink: cannot write %s: %s\n", tmp.c_str(), strerror(errno));
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<uint8_t> row(kW * 3);
    const std::vector<uint32_t> &screen = Screen();
    if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(f);
        unlink(tmp.c_str());
        fprintf(stderr, "display_sink: PNG encoding of %s failed\n", path.c_str());
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, kW, kH, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            uint32_t p = screen[y * kW + x];
            row[x * 3 + 0] = (uint8_t)(p >> 16);
            row[x * 3 + 1] = (uint8_t)(p >> 8);
            row[x * 3 + 2] = (uint8_t)p;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (fclose(f) != 0 || rename(tmp.c_str(), path.c_str()) != 0) {
        fprintf(stderr, "display_sink: cannot write %s: %s\n", path.c_str(), strerror(errno));
        unlink(tmp.c_str());
        return false;
    }
    printf("display_sink: screenshot %s\n", path.c_str());
    return true;
}

// The shared buffer, mapped when the first area arrives and again whenever its size changed
// (the user interface creates or truncates the object when it starts).
struct Shm {
    int fd = -1;
    const uint8_t *map = nullptr;
    size_t size = 0;

    bool Refresh() {
        if (fd < 0) {
            fd = shm_open(DISP_SHM_NAME, O_RDWR | O_CREAT, 0777);
            if (fd < 0) {
                fprintf(stderr, "display_sink: shm_open %s: %s\n", DISP_SHM_NAME, strerror(errno));
                return false;
            }
        }
        struct stat st;
        if (fstat(fd, &st) != 0) {
            return false;
        }
        if ((size_t)st.st_size == size && map != nullptr) {
            return true;
        }
        if (map != nullptr) {
            munmap(const_cast<uint8_t *>(map), size);
            map = nullptr;
            size = 0;
        }
        if (st.st_size <= 0) {
            return false;
        }
        void *p = mmap(nullptr, (size_t)st.st_size, PROT_READ, MAP_SHARED, fd, 0);
        if (p == MAP_FAILED) {
            fprintf(stderr, "display_sink: mmap %s: %s\n", DISP_SHM_NAME, strerror(errno));
            return false;
        }
        map = static_cast<const uint8_t *>(p);
        size = (size_t)st.st_size;
        return true;
    }
};

// Checks an area against the panel and the shared buffer; the reason when refused.
const char *CheckArea(const disp_area &a, size_t shmSize) {
    if (a.x1 < 0 || a.y1 < 0 || a.x2 >= kW || a.y2 >= kH || a.x2 < a.x1 || a.y2 < a.y1) {
        return "outside the panel";
    }
    uint64_t bytes = (uint64_t)(a.x2 - a.x1 + 1) * (uint64_t)(a.y2 - a.y1 + 1) * DISP_PIXEL_BYTES;
    if (bytes > shmSize) {
        return "larger than the shared buffer";
    }
    return nullptr;
}

void TakeArea(const disp_area &a, const uint8_t *src) {
    int w = a.x2 - a.x1 + 1;
    for (int y = a.y1; y <= a.y2; ++y) {
        memcpy(&g_panel[(size_t)y * kW + a.x1], src + (size_t)(y - a.y1) * w * DISP_PIXEL_BYTES,
               (size_t)w * DISP_PIXEL_BYTES);
    }
}

bool ReadFull(int fd, uint8_t *buf, size_t n) {
    size_t got = 0;
    while (got < n) {
        ssize_t r = read(fd, buf + got, n - got);
        if (r > 0) {
            got += (size_t)r;
        } else if (r < 0 && errno == EINTR && !g_stop) {
            continue;
        } else {
            return false;
        }
    }
    return true;
}

#if DISPLAY_SINK_SDL
struct Window {
    SDL_Window *win = nullptr;
    SDL_Renderer *ren = nullptr;
    SDL_Texture *tex = nullptr;
    std::string keysPath;
    double fpsStart = 0;
    unsigned frames = 0;
    bool dirty = true;

    bool Open(int scale, const std::string &keys) {
        keysPath = keys;
        if (SDL_Init(SDL_INIT_VIDEO) != 0) {
            fprintf(stderr, "display_sink: SDL_Init: %s\n", SDL_GetError());
            return false;
        }
        win = SDL_CreateWindow("display_sink", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kW * scale,
                               kH * scale, 0);
        ren = win ? SDL_CreateRenderer(win, -1, 0) : nullptr;
        tex = ren ? SDL_CreateTexture(ren, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kW, kH)
                  : nullptr;
        if (tex == nullptr) {
            fprintf(stderr, "display_sink: SDL window: %s\n", SDL_GetError());
            return false;
        }
        fpsStart = MonoSeconds();
        return true;
    }

    void SendKey(const char *name, bool press) {
        if (keysPath.empty()) {
            return;
        }
        int fd = open(keysPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
        if (fd < 0) {
            return; // a FIFO without reader: the event is dropped
        }
        char line[32];
        int n = snprintf(line, sizeof line, "%s %s\n", name, press ? "press" : "release");
        if (write(fd, line, (size_t)n) != n) {
            fprintf(stderr, "display_sink: key event to %s lost\n", keysPath.c_str());
        }
        close(fd);
    }

    void Pump() {
        SDL_Event ev;
        while (SDL_PollEvent(&ev)) {
            if (ev.type == SDL_QUIT) {
                g_stop = 1;
            } else if ((ev.type == SDL_KEYDOWN && ev.key.repeat == 0) || ev.type == SDL_KEYUP) {
                const char *name = nullptr;
                switch (ev.key.keysym.sym) {
                case SDLK_RETURN:
                case SDLK_KP_ENTER:
                    name = "OK";
                    break;
                case SDLK_DOWN:
                case SDLK_RIGHT:
                    name = "NEXT";
                    break;
                case SDLK_UP:
                case SDLK_LEFT:
                    name = "PREV";
                    break;
                case SDLK_ESCAPE:
                case SDLK_BACKSPACE:
                    name = "BACK";
                    break;
                default:
                    break;
                }
                if (name != nullptr) {
                    SendKey(name, ev.type == SDL_KEYDOWN);
                }
            }
        }
        if (dirty) {
            SDL_UpdateTexture(tex, nullptr, Screen().data(), kW * 4);
            SDL_RenderClear(ren);
            SDL_RenderCopy(ren, tex, nullptr, nullptr);
            SDL_RenderPresent(ren);
            dirty = false;
            ++frames;
        }
        double now = MonoSeconds();
        if (now - fpsStart >= 1.0) {
            char title[64];
            snprintf(title, sizeof title, "display_sink %dx%d - %.1f fps", kW, kH, frames / (now - fpsStart));
            SDL_SetWindowTitle(win, title);
            frames = 0;
            fpsStart = now;
        }
    }

    ~Window() {
        if (tex) {
            SDL_DestroyTexture(tex);
        }
        if (ren) {
            SDL_DestroyRenderer(ren);
        }
        if (win) {
            SDL_DestroyWindow(win);
        }
        SDL_Quit();
    }
};
#endif

#if DISPLAY_SINK_SDL
void MarkDirty(Window &w) {
    w.dirty = true;
}
#else
void MarkDirty(int) {}
#endif

// Reads commands from the control FIFO ("quit" sets the stop flag).
// True when the picture shown changed.
bool HandleControl(int fd, const Options &opt, std::string &pending) {
    bool return_dirty = false;
    char buf[256];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) {
        return false;
    }
    pending.append(buf, (size_t)n);
    size_t nl;
    while ((nl = pending.find('\n')) != std::string::npos) {
        std::string line = pending.substr(0, nl);
        pending.erase(0, nl + 1);
        if (line == "quit") {
            g_stop = 1;
        } else if (line == "shot") {
            WritePng(opt.png);
        } else if (line.rfind("shot ", 0) == 0 && line.size() > 5) {
            WritePng(line.substr(5));
        } else if (line.rfind("camera ", 0) == 0) {
            std::string v = line.substr(7);
            if (v.size() == 1 && v[0] >= '0' && v[0] < '0' + cam::kCameraCount) {
                g_camid = v[0] - '0';
                printf("display_sink: camera %d\n", g_camid);
                return_dirty = true;
            } else {
                fprintf(stderr, "display_sink: no camera \"%s\" (0, 1 or 2)\n", v.c_str());
            }
        } else if (line.rfind("clip ", 0) == 0) {
            std::string err;
            if (cam::ClipCommand(line.substr(5), g_clip, kW, kH, MonoSeconds(), err)) {
                printf("display_sink: %s\n", line.c_str());
                return_dirty = true;
            } else {
                fprintf(stderr, "display_sink: %s: %s\n", line.c_str(), err.c_str());
            }
        } else if (!line.empty()) {
            fprintf(stderr, "display_sink: unknown command \"%s\"\n", line.c_str());
        }
    }
    if (pending.size() > 4096) {
        fprintf(stderr, "display_sink: control line too long, dropped\n");
        pending.clear();
    }
    return return_dirty;
}

int OpenFifo(const char *path) {
    if (mkfifo(path, 0660) != 0 && errno != EEXIST) {
        fprintf(stderr, "display_sink: mkfifo %s: %s\n", path, strerror(errno));
        return -1;
    }
    struct stat st;
    if (stat(path, &st) != 0 || !S_ISFIFO(st.st_mode)) {
        fprintf(stderr, "display_sink: %s exists and is not a FIFO\n", path);
        return -1;
    }
    // Read-write: the FIFO never reports end of file while the writer restarts.
    int fd = open(path, O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        fprintf(stderr, "display_sink: open %s: %s\n", path, strerror(errno));
    }
    return fd;
}

} // namespace

int main(int argc, char **argv) {
    Options opt;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char *name) -> std::string {
            if (i + 1 >= argc) {
                fprintf(stderr, "display_sink: %s needs a value\n", name);
                exit(2);
            }
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            Usage(stdout);
            return 0;
        } else if (a == "--png") {
            opt.png = value("--png");
        } else if (a == "--control") {
            opt.control = value("--control");
        } else if (a == "--keys") {
            opt.keys = value("--keys");
        } else if (a == "--window") {
            opt.window = true;
        } else if (a == "--scale") {
            std::string v = value("--scale");
            char *end = nullptr;
            long s = strtol(v.c_str(), &end, 10);
            if (end == v.c_str() || *end != '\0' || s < 1 || s > 16) {
                fprintf(stderr, "display_sink: --scale takes 1 to 16, not \"%s\"\n", v.c_str());
                return 2;
            }
            opt.scale = (int)s;
        } else if (a == "--camera") {
            cam::CameraOption source;
            std::string err;
            if (!cam::ParseCameraOption(value("--camera"), source, err)) {
                fprintf(stderr, "display_sink: --camera: %s\n", err.c_str());
                return 2;
            }
            opt.camera[source.id] = source.src;
        } else if (a == "--trace") {
            opt.trace = true;
        } else {
            fprintf(stderr, "display_sink: unknown option \"%s\" (see --help)\n", a.c_str());
            return 2;
        }
    }
    setvbuf(stdout, nullptr, _IOLBF, 0);

    for (int id = 0; id < cam::kCameraCount; ++id) {
        const std::string &src = opt.camera[id];
        if (src == "test") {
            g_camera[id] = cam::MakeGenerated(id, kW, kH);
        } else if (src == "none") {
            g_camera[id] = cam::MakeBlack(kW, kH);
        } else {
            std::string err;
            g_camera[id] = cam::MakeFile(src, kW, kH, err);
            if (g_camera[id] == nullptr) {
                fprintf(stderr, "display_sink: camera %d: cannot show %s: %s\n", id, src.c_str(),
                        err.c_str());
                return 1;
            }
        }
    }

    struct sigaction sa = {};
    sa.sa_handler = OnStop; // no SA_RESTART: blocking waits return to look at the flags
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sa.sa_handler = OnShot;
    sigaction(SIGUSR1, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    int fifo = OpenFifo(DISP_FIFO_PATH);
    if (fifo < 0) {
        return 1;
    }
    int control = -1;
    if (!opt.control.empty() && (control = OpenFifo(opt.control.c_str())) < 0) {
        return 1;
    }
    sem_t *ready = sem_open(DISP_SEM_READY, O_CREAT | O_RDWR, 0644, 0);
    sem_t *taken = sem_open(DISP_SEM_TAKEN, O_CREAT | O_RDWR, 0644, 0);
    if (ready == SEM_FAILED || taken == SEM_FAILED) {
        fprintf(stderr, "display_sink: sem_open %s/%s: %s\n", DISP_SEM_READY, DISP_SEM_TAKEN,
                strerror(errno));
        return 1;
    }
    Shm shm;
    if (!shm.Refresh() && shm.fd < 0) {
        return 1;
    }
#if DISPLAY_SINK_SDL
    Window window;
    if (opt.window && !window.Open(opt.scale, opt.keys)) {
        return 1;
    }
#else
    if (opt.window) {
        fprintf(stderr, "display_sink: built without SDL2, --window is not available\n");
        return 2;
    }
    int window = 0;
#endif
    printf("display_sink: ready\n");

    unsigned long taken_count = 0, refused = 0;
    double first = 0;
    std::string pending;
    const int idle_ms = opt.window ? 16 : 200;
    while (!g_stop) {
        if (g_shot) {
            g_shot = 0;
            WritePng(opt.png);
        }
        pollfd fds[2] = {{fifo, POLLIN, 0}, {control, POLLIN, 0}};
        int wait_ms = idle_ms;
        double next = Shown().NextChange(MonoSeconds());
        if (next >= 0) {
            wait_ms = std::min(wait_ms, (int)(next * 1000.0) + 1);
        }
        int r = poll(fds, control >= 0 ? 2 : 1, wait_ms);
        if (Shown().Advance(MonoSeconds())) {
            MarkDirty(window);
        }
#if DISPLAY_SINK_SDL
        if (opt.window) {
            window.Pump();
        }
#endif
        if (r <= 0) {
            continue;
        }
        if (control >= 0 && (fds[1].revents & POLLIN) && HandleControl(control, opt, pending)) {
            MarkDirty(window);
        }
        if (!(fds[0].revents & POLLIN)) {
            continue;
        }
        disp_flush_record rec;
        if (!ReadFull(fifo, rec.au8Bytes, sizeof rec.au8Bytes)) {
            continue;
        }
        // The writer posts "/sem0" once its record is out; wait for it, staying responsive.
        bool got = false;
        while (!g_stop) {
            timespec ts;
            clock_gettime(CLOCK_REALTIME, &ts);
            ts.tv_nsec += (long)idle_ms * 1000000L;
            if (ts.tv_nsec >= 1000000000L) {
                ts.tv_sec += 1;
                ts.tv_nsec -= 1000000000L;
            }
            if (sem_timedwait(ready, &ts) == 0) {
                got = true;
                break;
            }
#if DISPLAY_SINK_SDL
            if (opt.window) {
                window.Pump();
            }
#endif
            if (g_shot) {
                g_shot = 0;
                WritePng(opt.png);
            }
        }
        if (!got) {
            break;
        }
        disp_area a = {};
        const char *why = nullptr;
        if (disp_flush_record_decode(&rec, &a) != 0) {
            why = "malformed (trailing bytes not zero)";
        } else if (!shm.Refresh()) {
            why = "without a shared buffer";
        } else {
            why = CheckArea(a, shm.size);
        }
        if (why != nullptr) {
            ++refused;
            fprintf(stderr, "display_sink: area (%d,%d)-(%d,%d) refused: %s\n", a.x1, a.y1, a.x2, a.y2, why);
        } else {
            TakeArea(a, shm.map);
            ++taken_count;
            if (taken_count == 1) {
                first = MonoSeconds();
                printf("display_sink: first area at %.6f s\n", first);
            }
            if (opt.trace) {
                printf("display_sink: %.6f area (%d,%d)-(%d,%d)\n", MonoSeconds(), a.x1, a.y1, a.x2, a.y2);
            }
            MarkDirty(window);
        }
        sem_post(taken);
    }
    WritePng(opt.png);
    printf("display_sink: %lu areas taken, %lu refused\n", taken_count, refused);
    return 0;
}
