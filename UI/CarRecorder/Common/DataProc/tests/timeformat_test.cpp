// Date and time texts of the six formats.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TimeFormat.h"

namespace {

struct tm At(int y, int mo, int d, int H, int M, int S) {
    struct tm t;
    memset(&t, 0, sizeof(t));
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = H;
    t.tm_min = M;
    t.tm_sec = S;
    return t;
}

std::string Long(int fmt, const struct tm &t) {
    char b[64];
    TimeFormat_FormatLong(fmt, &t, b, sizeof(b));
    return b;
}

std::string Short(int fmt, const struct tm &t) {
    char b[64];
    TimeFormat_FormatShort(fmt, &t, b, sizeof(b));
    return b;
}

TEST(TimeFormat, EverFormatLongAndShort) {
    const struct tm t = At(2024, 3, 2, 13, 5, 9);
    EXPECT_EQ(Long(TIME_FMT_YMD_24H, t), "2024-03-02 13:05:09");
    EXPECT_EQ(Short(TIME_FMT_YMD_24H, t), "03-02  13:05:09");
    EXPECT_EQ(Long(TIME_FMT_MDY_12H, t), "03/02/2024 01:05:09 PM");
    EXPECT_EQ(Short(TIME_FMT_MDY_12H, t), "03/02  01:05:09  PM");
    EXPECT_EQ(Long(TIME_FMT_DMY_DOT_24H, t), "02.03.2024 13:05:09");
    EXPECT_EQ(Short(TIME_FMT_DMY_DOT_24H, t), "02.03  13:05:09");
    EXPECT_EQ(Long(TIME_FMT_DMY_24H, t), "02/03/2024 13:05:09");
    EXPECT_EQ(Short(TIME_FMT_DMY_24H, t), "02/03  13:05:09");
    EXPECT_EQ(Long(TIME_FMT_YMD_12H, t), "2024/03/02 PM 01:05:09");
    EXPECT_EQ(Short(TIME_FMT_YMD_12H, t), "03/02  PM  01:05:09");
    EXPECT_EQ(Long(TIME_FMT_DMY_12H, t), "02/03/2024 01:05:09 PM");
    EXPECT_EQ(Short(TIME_FMT_DMY_12H, t), "02/03  01:05:09  PM");
}

TEST(TimeFormat, TwelveHourClockAroundMidnightAndNoon) {
    EXPECT_EQ(Long(TIME_FMT_MDY_12H, At(2024, 3, 2, 0, 5, 9)), "03/02/2024 12:05:09 AM");
    EXPECT_EQ(Short(TIME_FMT_MDY_12H, At(2024, 3, 2, 0, 5, 9)), "03/02  12:05:09  AM");
    EXPECT_EQ(Long(TIME_FMT_DMY_12H, At(2024, 3, 2, 12, 0, 0)), "02/03/2024 12:00:00 PM");
    EXPECT_EQ(Long(TIME_FMT_DMY_12H, At(2024, 3, 2, 13, 30, 0)), "02/03/2024 01:30:00 PM");
    EXPECT_EQ(Long(TIME_FMT_YMD_12H, At(2024, 3, 2, 11, 59, 59)), "2024/03/02 AM 11:59:59");
}

TEST(TimeFormat, UnknownFormatsWriteFormatZeroAndSmallBuffersStayTerminated) {
    const struct tm t = At(2024, 12, 31, 23, 59, 58);
    EXPECT_EQ(Long(9, t), "2024-12-31 23:59:58");
    EXPECT_EQ(Short(-1, t), "12-31  23:59:58");
    char b[8];
    memset(b, 'x', sizeof(b));
    TimeFormat_FormatLong(TIME_FMT_YMD_24H, &t, b, sizeof(b));
    EXPECT_STREQ(b, "2024-12");
    EXPECT_EQ(TimeFormat_FormatLong(0, &t, nullptr, 8), -1);
    EXPECT_EQ(TimeFormat_GetShortDateTimeStr(0, b, 0), -1);
    char now[64];
    EXPECT_GT(TimeFormat_GetDateTimeStr(TIME_FMT_DMY_12H, now, sizeof(now)), 0);
    EXPECT_EQ(strlen(now), strlen("02/03/2024 01:30:00 PM"));
}

} // namespace
