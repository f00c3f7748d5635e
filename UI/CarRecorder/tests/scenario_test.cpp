// An end-to-end scenario: scripts/sim plays a recorder_sim scenario file with the real
// recorder_ui, recorder_sim and display_sink (headless, in private namespaces), and every
// screenshot the scenario takes ("shot NAME.png") is compared with its reviewed reference
// REF_DIR/e2e_NAME_US.png. Registered by recorder_add_scenario (cmake/RecorderHelpers.cmake).
//
//   scenario_test SCENARIO REF_DIR
//
// The clock of the status bar is the machine's time: its text is masked. Animations that run
// while a screenshot is taken (the event recording's bar advances every 50 ms) may be caught a
// few steps apart: up to 1 % of the panel may differ, never a moved or missing element.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "proc_util.h"

namespace {

std::string g_scenario, g_refDir;

const std::vector<e2e::Rect> kClock = {{60, 0, 245, 31}};
constexpr size_t kMaxDiff = 320 * 170 / 100;

TEST(Scenario, ScreensMatchTheirReferences) {
    char tmpl[] = "/tmp/scenario_test.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string work = tmpl;
    e2e::Proc sim;
    sim.Start({"/bin/sh", "-c",
               "cd '" + work + "' && exec '" + std::string(RECORDER_SOURCE_DIR) + "/scripts/sim' --build '" +
                   RECORDER_BINARY_DIR + "' --headless --scenario '" + g_scenario + "' --out '" + work +
                   "/logs'"},
              work + "/sim");
    int st = 0;
    ASSERT_EQ(waitpid(sim.pid, &st, 0), sim.pid);
    sim.pid = -1;
    const std::string logs =
        e2e::ReadFile(work + "/sim.err") + e2e::ReadFile(work + "/logs/recorder_sim.log");
    ASSERT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0) << logs;

    const std::string text = "\n" + e2e::ReadFile(g_scenario);
    size_t shots = 0;
    for (size_t p = text.find("\nshot "); p != std::string::npos; p = text.find("\nshot ", p + 1)) {
        size_t e = text.find_first_of(" \n", p + 6);
        std::string shot = text.substr(p + 6, e - p - 6);
        e2e::Image img;
        ASSERT_TRUE(e2e::ReadPng(work + "/" + shot, img)) << shot << "\n" << logs;
        std::string ref = g_refDir + "/e2e_" + shot.substr(0, shot.rfind('.')) + "_US.png";
        EXPECT_EQ(e2e::CompareWithReference(img, ref, kClock, kMaxDiff), "") << shot;
        ++shots;
    }
    EXPECT_GT(shots, 0u) << "the scenario takes no screenshot";
    std::string rm = "rm -rf '" + work + "'";
    EXPECT_EQ(system(rm.c_str()), 0);
}

} // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        fprintf(stderr, "usage: scenario_test SCENARIO REF_DIR\n");
        return 2;
    }
    g_scenario = argv[1];
    g_refDir = argv[2];
    return RUN_ALL_TESTS();
}
