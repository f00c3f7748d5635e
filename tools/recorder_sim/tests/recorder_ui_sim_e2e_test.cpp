// recorder_ui started by recorder_sim's start marker, with display_sink as the display process;
// keys entered through recorder_sim's key hook reach recorder_ui's key handler.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "proc_util.h"
#include "sys_paths.h"

TEST(RecorderUiWithSim, MarkerStartsTheUiAndKeysReachIt) {
    char tmpl[] = "/tmp/ui_sim_e2e.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    unlink(SYS_PATH_READY2START_UI);
    e2e::Proc sink, ui, sim;
    sink.Start({DISPLAY_SINK_BIN, "--png", dir + "/exit.png"}, dir + "/sink");
    ASSERT_TRUE(e2e::WaitFor([&] { return sink.Out().find("display_sink: ready") != std::string::npos; }))
        << sink.Err();
    ui.Start({RECORDER_UI_BIN}, dir + "/ui");
    ASSERT_TRUE(e2e::WaitFor([&] { return ui.Out().find("wait to start ui") != std::string::npos; }))
        << ui.Err();
    const std::string keys = dir + "/keys.fifo";
    sim.Start({RECORDER_SIM_BIN, "--keys", keys, "--settings", dir + "/settings.json"}, dir + "/sim");
    ASSERT_TRUE(e2e::WaitFor([&] {
        return ui.Out().find("create ipcmsgSvr successful") != std::string::npos;
    })) << ui.Out()
        << sim.Err();
    struct stat sb;
    ASSERT_TRUE(e2e::WaitFor([&] { return stat(keys.c_str(), &sb) == 0; }));
    int fd = open(keys.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const char lines[] = "BACK press\n";
    ASSERT_EQ(write(fd, lines, sizeof(lines) - 1), (ssize_t)sizeof(lines) - 1);
    close(fd);
    EXPECT_TRUE(e2e::WaitFor([&] { return ui.Out().find("pMsgBuf:") != std::string::npos; })) << ui.Out();
    const std::string out = ui.Out();
    EXPECT_NE(out.find("\"keycode\":6,\"keyvalue\":3"), std::string::npos);
    EXPECT_TRUE(ui.Alive());
    EXPECT_EQ(sim.Stop(), 0);
    ui.Stop();
    sink.Stop();
}
