// display_sink against a hand-made writer: pixels in, panel image out; garbage refused.
// Runs isolated: private /dev/shm and a fresh RECORDER_ROOT/dev.
#include "disp_flush_record.h"
#include "proc_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <semaphore.h>
#include <sys/mman.h>
#include <sys/stat.h>

namespace {

class SinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/sink_test.XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        std::vector<std::string> args = {DISPLAY_SINK_BIN, "--png", dir + "/exit.png", "--control",
                                         dir + "/ctl"};
        for (const std::string &a : ExtraArgs()) {
            args.push_back(a);
        }
        sink.Start(args, dir + "/sink");
        ASSERT_TRUE(e2e::WaitFor([&] { return sink.Out().find("display_sink: ready") != std::string::npos; }))
            << sink.Err();
        // The writer's side, as the user interface sets it up.
        fifo = open(DISP_FIFO_PATH, O_RDWR);
        ready = sem_open(DISP_SEM_READY, 0);
        taken = sem_open(DISP_SEM_TAKEN, 0);
        int fd = shm_open(DISP_SHM_NAME, O_CREAT | O_TRUNC | O_RDWR, 0777);
        ASSERT_GE(fifo, 0);
        ASSERT_NE(ready, SEM_FAILED);
        ASSERT_NE(taken, SEM_FAILED);
        ASSERT_GE(fd, 0);
        shmSize = disp_shm_size(DISP_SPI_PANEL_W * DISP_SPI_PANEL_H);
        ASSERT_EQ(ftruncate(fd, (off_t)shmSize), 0);
        void *p = mmap(nullptr, shmSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        ASSERT_NE(p, MAP_FAILED);
        shm = static_cast<uint32_t *>(p);
        close(fd);
    }
    virtual std::vector<std::string> ExtraArgs() { return {}; }
    void TearDown() override {
        sink.Stop();
        munmap(shm, shmSize);
        close(fifo);
        sem_close(ready);
        sem_close(taken);
        sem_unlink(DISP_SEM_READY);
        sem_unlink(DISP_SEM_TAKEN);
        shm_unlink(DISP_SHM_NAME);
        unlink(DISP_FIFO_PATH);
    }

    // One exchange as the user interface makes it; the area's pixels are packed at the start.
    void Send(const disp_area &a, const std::function<uint32_t(int, int)> &colour) {
        size_t i = 0;
        for (int y = a.y1; y <= a.y2 && y - a.y1 < 200; ++y) {
            for (int x = a.x1; x <= a.x2 && i < shmSize / 4; ++x) {
                shm[i++] = colour(x, y);
            }
        }
        disp_flush_record rec;
        disp_flush_record_encode(&a, &rec);
        SendRaw(rec);
    }
    void SendRaw(const disp_flush_record &rec) {
        ASSERT_EQ(write(fifo, rec.au8Bytes, sizeof rec.au8Bytes), 20);
        ASSERT_EQ(sem_post(ready), 0);
        ASSERT_EQ(sem_wait(taken), 0);
    }
    e2e::Image Shot(const std::string &name) {
        e2e::Image img;
        EXPECT_TRUE(e2e::Screenshot(dir + "/ctl", dir + "/" + name, img)) << name;
        return img;
    }

    std::string dir;
    e2e::Proc sink;
    int fifo = -1;
    sem_t *ready = SEM_FAILED, *taken = SEM_FAILED;
    uint32_t *shm = nullptr;
    size_t shmSize = 0;
};

uint32_t Pattern(int x, int y) {
    return 0xFF000000u | (uint32_t)(x & 0xFF) << 16 | (uint32_t)(y & 0xFF) << 8 | (uint32_t)((x ^ y) & 0xFF);
}

TEST_F(SinkTest, AreasBuildThePanelImage) {
    Send({0, 0, 319, 169}, [](int, int) { return 0xFF204060u; }); // LVGL colour: B 0x60, G 0x40, R 0x20
    Send({10, 20, 41, 51}, Pattern);
    Send({319, 169, 319, 169}, [](int, int) { return 0xFFFFFFFFu; });
    e2e::Image img = Shot("a.png");
    ASSERT_EQ(img.w, 320);
    ASSERT_EQ(img.h, 170);
    for (int y = 0; y < 170; ++y) {
        for (int x = 0; x < 320; ++x) {
            uint32_t expect = 0x204060;
            if (x >= 10 && x <= 41 && y >= 20 && y <= 51) {
                expect = Pattern(x, y) & 0xFFFFFF;
            } else if (x == 319 && y == 169) {
                expect = 0xFFFFFF;
            }
            ASSERT_EQ(img.px[y * 320 + x], expect) << x << "," << y;
        }
    }
}

TEST_F(SinkTest, GarbageRecordsAreRefusedAndTheExchangeGoesOn) {
    Send({0, 0, 319, 169}, [](int, int) { return 0xFF00FF00u; });
    Send({300, 0, 320, 10}, [](int, int) { return 0xFFFF0000u; }); // one column past the edge
    Send({-1, 0, 5, 5}, [](int, int) { return 0xFFFF0000u; });     // negative
    Send({5, 5, 4, 4}, [](int, int) { return 0xFFFF0000u; });      // inverted
    Send({0, -2147483647 - 1, 2147483647, 2147483647}, [](int, int) { return 0u; });
    disp_flush_record bad;
    disp_area a = {0, 0, 3, 3};
    disp_flush_record_encode(&a, &bad);
    bad.au8Bytes[17] = 0x5A; // not an area record
    SendRaw(bad);

    std::string err = sink.Err();
    EXPECT_EQ(e2e::Count(err, "refused"), 5u) << err;
    EXPECT_NE(err.find("area (300,0)-(320,10) refused: outside the panel"), std::string::npos) << err;
    EXPECT_NE(err.find("malformed"), std::string::npos) << err;

    // The panel is untouched by refused areas and the next good area still lands.
    Send({0, 0, 0, 0}, [](int, int) { return 0xFF0000FFu; });
    e2e::Image img = Shot("b.png");
    ASSERT_EQ(img.px.size(), 320u * 170u);
    EXPECT_EQ(img.px[0], 0x0000FFu);
    for (size_t i = 1; i < img.px.size(); ++i) {
        ASSERT_EQ(img.px[i], 0x00FF00u) << i;
    }
    EXPECT_TRUE(sink.Alive());
}

TEST_F(SinkTest, AreaLargerThanTheSharedBufferIsRefused) {
    // A writer whose buffer is a single page cannot hand over a full panel.
    ASSERT_EQ(truncate(("/dev/shm/" DISP_SHM_NAME), 4096), 0);
    disp_flush_record rec;
    disp_area a = {0, 0, 319, 169};
    disp_flush_record_encode(&a, &rec);
    SendRaw(rec);
    EXPECT_NE(sink.Err().find("larger than the shared buffer"), std::string::npos) << sink.Err();
    EXPECT_TRUE(sink.Alive());
}

TEST_F(SinkTest, ScreenshotOnSignalAndAtExit) {
    Send({0, 0, 319, 169}, [](int, int) { return 0xFF123456u; });
    std::string png = dir + "/exit.png";
    kill(sink.pid, SIGUSR1);
    ASSERT_TRUE(e2e::WaitFor([&] { return access(png.c_str(), F_OK) == 0; }));
    unlink(png.c_str());
    int st = sink.Stop();
    EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    e2e::Image img;
    ASSERT_TRUE(e2e::ReadPng(png, img));
    EXPECT_EQ(img.px[100], 0x123456u);
}

// The camera layer: the UI composed by its alpha over the picture of the camera shown.
TEST_F(SinkTest, UiIsComposedOverTheCameraPicture) {
    // Nothing drawn yet: the generated front picture, sky above and road below.
    e2e::Image cam = Shot("cam.png");
    ASSERT_EQ(cam.px.size(), 320u * 170u);
    uint32_t sky = cam.px[2 * 320 + 160], road = cam.px[160 * 320 + 100];
    EXPECT_GT(sky & 0xFF, (sky >> 16) & 0xFF) << std::hex << sky; // blue over red
    uint32_t r = (road >> 16) & 0xFF, b = road & 0xFF;
    EXPECT_LT(r > b ? r - b : b - r, 12u) << std::hex << road; // grey asphalt

    // Opaque UI pixels cover it, transparent ones let it through, half-transparent ones mix.
    Send({0, 0, 319, 169}, [](int x, int) {
        return x < 100 ? 0xFFFFFFFFu : x < 200 ? 0x00000000u : 0x80FF0000u; // white, clear, red 50 %
    });
    e2e::Image img = Shot("ui.png");
    EXPECT_EQ(img.px[50 * 320 + 10], 0xFFFFFFu);
    EXPECT_EQ(img.px[160 * 320 + 150], cam.px[160 * 320 + 150]);
    uint32_t c = cam.px[2 * 320 + 250], m = img.px[2 * 320 + 250];
    auto near = [](uint32_t got, uint32_t want) { return got + 1 >= want && got <= want + 1; };
    EXPECT_TRUE(near((m >> 16) & 0xFF, (255 * 128 + ((c >> 16) & 0xFF) * 127) / 255))
        << std::hex << m << " " << c;
    EXPECT_TRUE(near(m & 0xFF, ((c & 0xFF) * 127) / 255)) << std::hex << m << " " << c;

    // The recorder stand-in switches cameras through the control FIFO.
    int ctl = open((dir + "/ctl").c_str(), O_WRONLY);
    ASSERT_EQ(write(ctl, "camera 2\n", 9), 9);
    ASSERT_EQ(write(ctl, "camera 7\n", 9), 9);
    close(ctl);
    ASSERT_TRUE(e2e::WaitFor([&] { return sink.Out().find("display_sink: camera 2") != std::string::npos; }));
    ASSERT_TRUE(e2e::WaitFor([&] { return sink.Err().find("no camera \"7\"") != std::string::npos; }));
    e2e::Image cabin = Shot("cabin.png");
    EXPECT_EQ(cabin.px[50 * 320 + 10], 0xFFFFFFu);
    EXPECT_NE(cabin.px[160 * 320 + 150], cam.px[160 * 320 + 150]);
}

class SinkCameraFileTest : public SinkTest {
  protected:
    std::vector<std::string> ExtraArgs() override {
#if DISPLAY_SINK_HAS_FFMPEG
        // A still picture for the rear camera and an animation (decoded as a looping video)
        // for the front one, both from the resource tree.
        std::string res = std::string(RECORDER_ROOT) + "/app/bin/res/";
        return {"--camera", "1=" + res + "pic/home/rear_warning.png", "--camera", res + "gif/loading.gif"};
#else
        return {}; // files need FFmpeg; the test skips
#endif
    }
};

TEST_F(SinkCameraFileTest, StillImagesAndVideoFilesLieUnderTheUi) {
#if DISPLAY_SINK_HAS_FFMPEG
    e2e::Image front = Shot("front.png");
    ASSERT_EQ(front.px.size(), 320u * 170u);
    int ctl = open((dir + "/ctl").c_str(), O_WRONLY);
    ASSERT_EQ(write(ctl, "camera 1\n", 9), 9);
    close(ctl);
    ASSERT_TRUE(e2e::WaitFor([&] { return sink.Out().find("display_sink: camera 1") != std::string::npos; }));
    e2e::Image rear = Shot("rear.png");
    EXPECT_NE(front.px, rear.px);
    EXPECT_TRUE(sink.Alive()) << sink.Err();
#else
    GTEST_SKIP() << "built without FFmpeg";
#endif
}

TEST_F(SinkTest, AClipPlaysPausesAndStopsInTheVideoLayer) {
#if DISPLAY_SINK_HAS_FFMPEG
    e2e::Image cam = Shot("cam.png");
    auto command = [&](const std::string &line, const std::string &expect, bool error) {
        int ctl = open((dir + "/ctl").c_str(), O_WRONLY);
        ASSERT_GE(ctl, 0);
        std::string l = line + "\n";
        ASSERT_EQ(write(ctl, l.data(), l.size()), (ssize_t)l.size());
        close(ctl);
        ASSERT_TRUE(e2e::WaitFor([&] {
            return (error ? sink.Err() : sink.Out()).find(expect) != std::string::npos;
        })) << line
            << "\n"
            << sink.Out() << sink.Err();
    };
    // An animation of the resource tree stands for a clip.
    const std::string clip = std::string(RECORDER_ROOT) + "/app/bin/res/gif/loading.gif";
    command("clip open " + clip, "display_sink: clip open", false);
    e2e::Image playing = Shot("playing.png");
    EXPECT_NE(playing.px, cam.px);
    // Paused, the picture stays.
    command("clip pause", "display_sink: clip pause", false);
    e2e::Image a = Shot("paused_a.png");
    usleep(400000);
    e2e::Image b = Shot("paused_b.png");
    EXPECT_EQ(a.px, b.px);
    command("clip seek 0", "display_sink: clip seek 0", false);
    command("clip seek soon", "seek needs MS", true);
    command("clip resume", "display_sink: clip resume", false);
    // Stopped, the camera picture is back; commands without a clip are refused.
    command("clip stop", "display_sink: clip stop", false);
    e2e::Image after = Shot("after.png");
    EXPECT_EQ(after.px, cam.px);
    command("clip pause", "no clip open", true);
    command("clip open /nonexistent.mp4", "clip open /nonexistent.mp4:", true);
    EXPECT_TRUE(sink.Alive()) << sink.Err();
#else
    GTEST_SKIP() << "built without FFmpeg";
#endif
}

TEST(SinkCameraOption, AMissingOrUndecodableFileIsAClearError) {
    char tmpl[] = "/tmp/sink_cam.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string dir = tmpl;
    FILE *f = fopen((dir + "/junk.mp4").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fputs("not a video at all", f);
    fclose(f);
    for (const std::string &arg :
         {dir + "/missing.mp4", "2=" + dir + "/junk.mp4", std::string("3=x"), std::string("1=")}) {
        e2e::Proc p;
        p.Start({DISPLAY_SINK_BIN, "--camera", arg, "--png", dir + "/x.png"}, dir + "/p");
        int st = 0;
        ASSERT_EQ(waitpid(p.pid, &st, 0), p.pid);
        p.pid = -1;
        EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) != 0) << arg;
        EXPECT_NE(p.Err().find("camera"), std::string::npos) << arg << ": " << p.Err();
        EXPECT_EQ(p.Out().find("ready"), std::string::npos) << arg;
    }
}

#if DISPLAY_SINK_HAS_SDL
// The window path (texture updates, event pumping) with SDL's headless video driver.
class SinkWindowTest : public SinkTest {
  protected:
    std::vector<std::string> ExtraArgs() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        return {"--window", "--scale", "2", "--keys", dir + "/keys"};
    }
};

TEST_F(SinkWindowTest, AreasStillBuildThePanelImage) {
    Send({0, 0, 319, 169}, [](int, int) { return 0xFF0A0B0Cu; });
    Send({1, 1, 2, 2}, [](int, int) { return 0xFFFFFFFFu; });
    e2e::Image img = Shot("w.png");
    ASSERT_EQ(img.px.size(), 320u * 170u);
    EXPECT_EQ(img.px[0], 0x0A0B0Cu);
    EXPECT_EQ(img.px[321], 0xFFFFFFu);
    EXPECT_TRUE(sink.Alive());
}
#endif

} // namespace
