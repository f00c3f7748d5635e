// recorder_ui started as the system starts it, with display_sink as the display process.
// Runs isolated: private /dev/shm and a fresh RECORDER_ROOT/dev.
#include "disp_flush_record.h"
#include "proc_util.h"
#include "sys_paths.h"

#include <gtest/gtest.h>

#include <semaphore.h>
#include <sys/mman.h>
#include <sys/stat.h>

namespace {

bool Exists(const std::string &path) {
    return access(path.c_str(), F_OK) == 0;
}

class RecorderUi : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/ui_e2e.XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        Clean();
    }
    void TearDown() override {
        ui.Stop();
        sink.Stop();
        Clean();
    }
    // Every run starts from a machine without marker, FIFO, semaphores or shared memory.
    static void Clean() {
        unlink(SYS_PATH_READY2START_UI);
        unlink(DISP_FIFO_PATH);
        rmdir("/dev/shm/sem.sem0");
        sem_unlink(DISP_SEM_READY);
        sem_unlink(DISP_SEM_TAKEN);
        shm_unlink(DISP_SHM_NAME);
    }
    void StartSink() {
        sink.Start({DISPLAY_SINK_BIN, "--trace", "--camera", "none", "--png", dir + "/exit.png", "--control",
                    dir + "/ctl"},
                   dir + "/sink");
        ASSERT_TRUE(e2e::WaitFor([&] { return sink.Out().find("display_sink: ready") != std::string::npos; }))
            << sink.Err();
    }
    static void Touch(const char *path) {
        int fd = open(path, O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        close(fd);
    }
    e2e::Image Shot() {
        std::string path = dir + "/shot.png";
        std::string cmd = "shot " + path + "\n";
        int c = open((dir + "/ctl").c_str(), O_WRONLY);
        EXPECT_EQ(write(c, cmd.data(), cmd.size()), (ssize_t)cmd.size());
        close(c);
        EXPECT_TRUE(e2e::WaitFor([&] { return Exists(path); }));
        e2e::Image img;
        EXPECT_TRUE(e2e::ReadPng(path, img));
        return img;
    }
    void ExpectFullScreenDrawn() {
        // The first refresh redraws the whole 320 x 170 screen in one area. The sink logs the
        // area line after "first area", so wait for the line itself.
        ASSERT_TRUE(e2e::WaitFor([&] {
            return sink.Out().find("area (0,0)-(319,169)") != std::string::npos;
        })) << ui.Out()
            << ui.Err() << sink.Out() << sink.Err();
        e2e::Image img = Shot();
        ASSERT_EQ(img.w, DISP_SPI_PANEL_W);
        ASSERT_EQ(img.h, DISP_SPI_PANEL_H);
        // The bare screen (all styles removed) is drawn as one uniform colour.
        for (uint32_t p : img.px) {
            ASSERT_EQ(p, img.px[0]);
        }
        EXPECT_EQ(sink.Err().find("refused"), std::string::npos) << sink.Err();
    }

    std::string dir;
    e2e::Proc ui, sink;
};

TEST_F(RecorderUi, WithoutTheMarkerItWaitsAndDrawsNothing) {
    StartSink();
    ui.Start({RECORDER_UI_BIN}, dir + "/ui");
    ASSERT_TRUE(e2e::WaitFor([&] { return ui.Out().find("wait to start ui\n") != std::string::npos; }));
    usleep(500 * 1000); // fifty polls of the marker
    EXPECT_TRUE(ui.Alive());
    std::string out = ui.Out();
    EXPECT_EQ(e2e::Count(out, "wait to start ui"), 1u) << out;
    EXPECT_EQ(out.find("ready to start ui"), std::string::npos) << out;
    EXPECT_EQ(ui.Err(), "");
    EXPECT_EQ(sink.Out().find("first area"), std::string::npos);
}

TEST_F(RecorderUi, WithTheMarkerItDrawsThroughTheDisplayProcess) {
    StartSink();
    ui.Start({RECORDER_UI_BIN}, dir + "/ui");
    ASSERT_TRUE(e2e::WaitFor([&] { return ui.Out().find("wait to start ui\n") != std::string::npos; }));
    Touch(SYS_PATH_READY2START_UI);
    ExpectFullScreenDrawn();
    std::string out = ui.Out();
    EXPECT_NE(out.find("ready to start ui\n"), std::string::npos);
    EXPECT_NE(out.find("CONFIG_SCREEN_ROTATE:0\n"), std::string::npos);
    EXPECT_NE(out.find("lcd_w =320, lcd_h = 170 \n"), std::string::npos) << out;
    EXPECT_NE(out.find("ui: size is 217600 221184"), std::string::npos) << out;
    EXPECT_TRUE(ui.Alive());
}

TEST_F(RecorderUi, SecondStartWithTheFifoPresentStillWorks) {
    ASSERT_EQ(mkfifo(DISP_FIFO_PATH, 0660), 0); // left by an earlier run
    Touch(SYS_PATH_READY2START_UI);
    StartSink();
    ui.Start({RECORDER_UI_BIN}, dir + "/ui");
    ExpectFullScreenDrawn();
    EXPECT_NE(ui.Err().find("mkfifo failed\n: File exists"), std::string::npos) << ui.Err();
    EXPECT_EQ(ui.Err().find("open failed"), std::string::npos) << ui.Err();
}

TEST_F(RecorderUi, FailedSemaphoreOpenLeavesItRunningWithoutADisplay) {
    ASSERT_EQ(mkdir("/dev/shm/sem.sem0", 0755), 0); // "/sem0" cannot be opened
    Touch(SYS_PATH_READY2START_UI);
    ui.Start({RECORDER_UI_BIN}, dir + "/ui");
    ASSERT_TRUE(e2e::WaitFor([&] { return ui.Out().find("Join stTid finish") != std::string::npos; }))
        << ui.Out() << ui.Err();
    usleep(300 * 1000); // thirty turns of the main loop
    EXPECT_TRUE(ui.Alive());
    EXPECT_NE(ui.Err().find("sem_open error"), std::string::npos) << ui.Err();
    std::string out = ui.Out();
    EXPECT_NE(out.find("lcd_w =0, lcd_h = 0"), std::string::npos) << out;
    EXPECT_NE(out.find("draw_buf is null"), std::string::npos) << out;
}

} // namespace
