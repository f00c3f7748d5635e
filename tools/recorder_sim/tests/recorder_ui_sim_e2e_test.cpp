// recorder_ui started by recorder_sim's start marker, with display_sink as the display process;
// a key entered through recorder_sim's key hook is a change on the screen: NEXT is the home
// page's microphone button, whose icon changes at once, and the status bar's microphone item
// follows with its next refresh once the recorder reported the new setting.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "proc_util.h"
#include "sys_paths.h"

namespace {

e2e::Image Shot(const std::string &ctl, const std::string &path) {
    e2e::Image img;
    EXPECT_TRUE(e2e::Screenshot(ctl, path, img)) << path;
    return img;
}

TEST(RecorderUiWithSim, AKeyIsAChangeOnScreen) {
    char tmpl[] = "/tmp/ui_sim_e2e.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl, ctl = dir + "/ctl";
    unlink(SYS_PATH_READY2START_UI);
    e2e::Proc sink, ui, sim;
    sink.Start({DISPLAY_SINK_BIN, "--png", dir + "/exit.png", "--control", ctl}, dir + "/sink");
    ASSERT_TRUE(e2e::WaitFor([&] { return sink.Out().find("display_sink: ready") != std::string::npos; }))
        << sink.Err();
    ui.Start({RECORDER_UI_BIN}, dir + "/ui");
    ASSERT_TRUE(e2e::WaitFor([&] { return ui.Out().find("wait to start ui") != std::string::npos; }))
        << ui.Err();
    const std::string keys = dir + "/keys.fifo";
    sim.Start({RECORDER_SIM_BIN, "--keys", keys, "--settings", dir + "/settings.json", "--sink-control", ctl},
              dir + "/sim");
    // The home page is up once start-up told the recorder the display is initialised.
    ASSERT_TRUE(e2e::WaitFor([&] { return sim.Out().find("disp_init") != std::string::npos; }))
        << ui.Out() << sim.Err();
    usleep(2500 * 1000); // slide-in, the buttons' rise and a refresh of the bar
    e2e::Image before = Shot(ctl, dir + "/before.png");

    struct stat sb;
    ASSERT_TRUE(e2e::WaitFor([&] { return stat(keys.c_str(), &sb) == 0; }));
    int fd = open(keys.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const char lines[] = "NEXT press\nNEXT release\n";
    ASSERT_EQ(write(fd, lines, sizeof(lines) - 1), (ssize_t)sizeof(lines) - 1);
    close(fd);

    // The microphone button (the third of the bottom bar) changes.
    const std::vector<e2e::Rect> outsideButton = {{0, 0, 319, 124}, {0, 125, 159, 169}, {230, 125, 319, 169}};
    ASSERT_TRUE(e2e::WaitFor([&] {
        return e2e::CountDiff(before, Shot(ctl, dir + "/after.png"), 16, outsideButton) > 50;
    })) << ui.Out();

    // With the bar's next refresh its microphone item (the rightmost icon) changes too.
    const std::vector<e2e::Rect> outsideMicItem = {{0, 0, 279, 169}, {280, 32, 319, 169}};
    ASSERT_TRUE(e2e::WaitFor([&] {
        return e2e::CountDiff(before, Shot(ctl, dir + "/later.png"), 16, outsideMicItem) > 20;
    })) << ui.Out();
    EXPECT_TRUE(ui.Alive());
    EXPECT_EQ(sim.Stop(), 0);
    ui.Stop();
    sink.Stop();
}

} // namespace
