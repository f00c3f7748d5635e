#include "App.h"
#include "log.h"
#include "lv_label_ext_func.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(AppLanguage, IndexTable) {
    const char *expected[] = {"CN", "TW", "US", "RU", "ES", "HL", "TH", "PL",
                              "AR", "VN", "JP", "PT", "GE", "FR", "SK", "TU"};
    for (int i = 0; i < 16; ++i) {
        EXPECT_STREQ(App_GetLanguageCode(i), expected[i]) << i;
    }
    EXPECT_EQ(App_GetLanguageCode(16), nullptr);
    EXPECT_EQ(App_GetLanguageCode(-1), nullptr);
}

TEST(AppLanguage, UnsupportedIndexKeepsTheCurrentCode) {
    EXPECT_STREQ(Lang_GetCode(), "CN"); // the code at start
    Log_Config(true, false, LOG_LEVEL_INFO);
    testing::internal::CaptureStdout();
    App_SetLanguage(16);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_STREQ(Lang_GetCode(), "CN");
    EXPECT_NE(out.find("set lang id [16]\n"), std::string::npos) << out;
    EXPECT_NE(out.find("no support\n"), std::string::npos) << out;

    App_SetLanguage(13);
    EXPECT_STREQ(Lang_GetCode(), "FR");
    App_SetLanguage(-3);
    App_SetLanguage(255);
    EXPECT_STREQ(Lang_GetCode(), "FR");
}

} // namespace
