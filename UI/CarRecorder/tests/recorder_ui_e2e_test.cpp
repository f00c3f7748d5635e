// recorder_ui started as the system starts it, with display_sink as the display process and
// recorder_sim as the recorder. Runs isolated: private /dev/shm and a fresh RECORDER_ROOT/dev.
#include "disp_flush_record.h"
#include "proc_util.h"
#include "sys_paths.h"

#include <gtest/gtest.h>

#include <semaphore.h>
#include <fstream>
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
        sim.Stop();
        ui.Stop();
        sink.Stop();
        Clean();
    }
    // Every run starts from a machine without marker, FIFO, semaphores or shared memory.
    static void Clean() {
        unlink(SYS_PATH_READY2START_UI);
        unlink(SYS_PATH_UI_RUNNING);
        unlink(DISP_FIFO_PATH);
        rmdir("/dev/shm/sem.sem0");
        sem_unlink(DISP_SEM_READY);
        sem_unlink(DISP_SEM_TAKEN);
        shm_unlink(DISP_SHM_NAME);
    }
    void StartSink() {
        sink.Start({DISPLAY_SINK_BIN, "--trace", "--png", dir + "/exit.png", "--control", dir + "/ctl"},
                   dir + "/sink");
        ASSERT_TRUE(e2e::WaitFor([&] { return sink.Out().find("display_sink: ready") != std::string::npos; }))
            << sink.Err();
    }
    // The recorder stand-in answers the start-up's settings load (without it the load waits for
    // its 10 s time-out); the tests create the start marker themselves.
    void StartSim() {
        sim.Start({RECORDER_SIM_BIN, "--no-marker", "--stay", "--state", dir + "/state.json"}, dir + "/sim");
    }
    static void Touch(const char *path) {
        int fd = open(path, O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        close(fd);
    }
    e2e::Image Shot() {
        e2e::Image img;
        EXPECT_TRUE(e2e::Screenshot(dir + "/ctl", dir + "/shot.png", img));
        return img;
    }
    // What a person sees first: the status bar slid in over the home page, over the camera
    // picture (the reviewed first screen of the home scenario; the clock's text is masked).
    void ExpectFirstScreen() {
        // The first refresh redraws the whole 320 x 170 screen in one area.
        ASSERT_TRUE(e2e::WaitFor([&] {
            return sink.Out().find("area (0,0)-(319,169)") != std::string::npos;
        })) << ui.Out()
            << ui.Err() << sink.Out() << sink.Err();
        ASSERT_TRUE(e2e::WaitFor([&] { return sim.Out().find("disp_init") != std::string::npos; }))
            << ui.Out() << sim.Out() << sim.Err();
        usleep(1500 * 1000); // the bar slides in, the buttons rise
        e2e::Image img = Shot();
        ASSERT_EQ(img.w, DISP_SPI_PANEL_W);
        ASSERT_EQ(img.h, DISP_SPI_PANEL_H);
        EXPECT_EQ(
            e2e::CompareWithReference(img, HOME_REF_DIR "/e2e_home_first_US.png", {{60, 0, 245, 31}}, 40),
            "");
        EXPECT_EQ(sink.Err().find("refused"), std::string::npos) << sink.Err();
        EXPECT_TRUE(Exists(SYS_PATH_UI_RUNNING));
    }

    std::string dir;
    e2e::Proc ui, sink, sim;
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
    StartSim();
    Touch(SYS_PATH_READY2START_UI);
    ExpectFirstScreen();
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
    StartSim();
    ui.Start({RECORDER_UI_BIN}, dir + "/ui");
    ExpectFirstScreen();
    EXPECT_NE(ui.Err().find("mkfifo failed\n: File exists"), std::string::npos) << ui.Err();
    EXPECT_EQ(ui.Err().find("open failed"), std::string::npos) << ui.Err();
}

TEST_F(RecorderUi, FailedSemaphoreOpenLeavesItRunningWithoutADisplay) {
    ASSERT_EQ(mkdir("/dev/shm/sem.sem0", 0755), 0); // "/sem0" cannot be opened
    Touch(SYS_PATH_READY2START_UI);
    StartSim();
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

// Start-up asks for the three settings it needs, takes the language from them, chooses the first
// page by the guide flag and tells the recorder that the display is up.
TEST_F(RecorderUi, StartUpTakesLanguageAndFirstPageFromTheRecordersSettings) {
    for (int guide : {1, 0}) {
        SCOPED_TRACE(guide);
        unlink(SYS_PATH_UI_RUNNING);
        std::ofstream(dir + "/state.json")
            << R"({"settings":{"language":3,"installtion_guidecnt":)" << guide << "}}";
        StartSim();
        ASSERT_TRUE(e2e::WaitFor([&] { return sim.Out().find(" ready") != std::string::npos; }));
        Touch(SYS_PATH_READY2START_UI);
        ui.Start({RECORDER_UI_BIN}, dir + "/ui");
        ASSERT_TRUE(e2e::WaitFor([&] { return sim.Out().find("ctrl_displayinit") != std::string::npos; }))
            << ui.Out() << sim.Out();
        const std::string out = ui.Out(), simOut = sim.Out();
        EXPECT_NE(
            simOut.find(
                R"("keys":[{"key":"dev_total_size"},{"key":"installtion_guidecnt"},{"key":"language"}])"),
            std::string::npos)
            << simOut;
        EXPECT_NE(simOut.find(R"({"key":"ctrl_displayinit","value":"disp_init"})"), std::string::npos);
        EXPECT_NE(out.find("set lang id [3]"), std::string::npos) << out;
        EXPECT_NE(out.find("pLangCode:  RU"), std::string::npos) << out;
        EXPECT_LT(out.find("Join stTid finish"), out.find("pLangCode:  RU"));
        EXPECT_EQ(Exists(SYS_PATH_UI_RUNNING), guide == 1);
        ui.Stop();
        sim.Stop();
    }
}

} // namespace
