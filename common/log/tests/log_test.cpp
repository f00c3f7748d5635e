#include "log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>
#include <unistd.h>

namespace {

// Runs fn with standard output sent to a temporary file and returns what it printed.
template <typename Fn> std::string CaptureStdout(Fn fn) {
    fflush(stdout);
    FILE *tmp = tmpfile();
    EXPECT_NE(tmp, nullptr);
    int saved = dup(STDOUT_FILENO);
    dup2(fileno(tmp), STDOUT_FILENO);
    fn();
    fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::string out;
    rewind(tmp);
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, tmp)) > 0) {
        out.append(buf, n);
    }
    fclose(tmp);
    return out;
}

// Declared first: the process starts with output on, time stamps on and level 1 as the highest.
TEST(Log, StartsShowingErrorsOnly) {
    std::string out = CaptureStdout([] {
        log_message(LOG_LEVEL_WARN, "LVGL_UI", "f.c", "fn", 1, "hidden\n");
        log_message(LOG_LEVEL_ERROR, "LVGL_UI", "f.c", "fn", 2, "shown\n");
    });
    EXPECT_EQ(out.find("hidden"), std::string::npos);
    EXPECT_NE(out.find("shown\n"), std::string::npos);
}

TEST(Log, PrefixWithoutTimeStampCarriesColouredLabels) {
    Log_Config(true, false, LOG_LEVEL_DEBUG);
    const char *expected[] = {
        "[\033[1;35mFATAL\033[m-LVGL_UI]: a.c fn[12]:m 0\n",
        "[\033[1;31mERROR\033[m-LVGL_UI]: a.c fn[12]:m 1\n",
        "[\033[1;33mWARN\033[m-LVGL_UI]: a.c fn[12]:m 2\n",
        "[\033[1;32mINFO\033[m-LVGL_UI]: a.c fn[12]:m 3\n",
        "[DEBUG-LVGL_UI]: a.c fn[12]:m 4\n",
    };
    for (int level = 0; level <= 4; ++level) {
        std::string out =
            CaptureStdout([&] { log_message(level, "LVGL_UI", "a.c", "fn", 12, "m %d\n", level); });
        EXPECT_EQ(out, expected[level]) << "level " << level;
    }
}

TEST(Log, PrefixWithTimeStamp) {
    Log_Config(true, true, LOG_LEVEL_INFO);
    std::string out =
        CaptureStdout([] { log_message(LOG_LEVEL_INFO, "LVGL_UI", "main.cpp", "main", 7, "x=%s\r\n", "y"); });
    std::regex re(
        "^\\[([0-9]{2}):([0-9]{2}):([0-9]{2}):([0-9]{3}) \033\\[1;32mINFO\033\\[m-LVGL_UI\\]:main.cpp "
        "main\\[7\\]:x=y\r\n$");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(out, m, re)) << out;
    EXPECT_LT(std::stoi(m[1]), 24);
    EXPECT_LT(std::stoi(m[2]), 60);
    EXPECT_LT(std::stoi(m[3]), 61);
}

TEST(Log, LevelFilterAndOutputSwitch) {
    Log_Config(true, false, LOG_LEVEL_INFO);
    EXPECT_EQ(CaptureStdout([] { log_message(LOG_LEVEL_DEBUG, "LVGL_UI", "a.c", "f", 1, "debug\n"); }), "");
    EXPECT_NE(CaptureStdout([] { log_message(LOG_LEVEL_INFO, "LVGL_UI", "a.c", "f", 1, "info\n"); }), "");

    Log_Config(false, false, LOG_LEVEL_DEBUG);
    EXPECT_EQ(CaptureStdout([] { log_message(LOG_LEVEL_FATAL, "LVGL_UI", "a.c", "f", 1, "off\n"); }), "");
}

TEST(Log, NullModuleAndNullFormat) {
    Log_Config(true, false, LOG_LEVEL_DEBUG);
    EXPECT_EQ(CaptureStdout([] { log_message(LOG_LEVEL_DEBUG, nullptr, "a.c", "f", 3, "m\n"); }),
              "[DEBUG-]: a.c f[3]:m\n");
    EXPECT_EQ(CaptureStdout([] { log_message(LOG_LEVEL_DEBUG, "LVGL_UI", "a.c", "f", 3, nullptr); }),
              "[DEBUG-LVGL_UI]: a.c f[3]:");
    EXPECT_EQ(log_level_label(5), nullptr);
    EXPECT_EQ(log_level_label(-1), nullptr);
}

TEST(Log, MacrosPassModuleFileNameFunctionAndLine) {
    Log_Config(true, false, LOG_LEVEL_DEBUG);
    unsigned line = 0;
    std::string out = CaptureStdout([&] {
        line = __LINE__ + 1;
        LOG_WARN("v=%d\n", 3);
    });
    // The lambda's function name is compiler-specific; check the rest of the line.
    EXPECT_EQ(out.rfind("[\033[1;33mWARN\033[m-LVGL_UI]: log_test.cpp ", 0), 0u) << out;
    EXPECT_NE(out.find("[" + std::to_string(line) + "]:v=3\n"), std::string::npos) << out;
}

} // namespace
