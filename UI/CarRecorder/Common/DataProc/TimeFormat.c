/* Date and time texts in the six formats of the setting "time_format". */
#include "TimeFormat.h"

#include <stdio.h>

/* The hour of a 12-hour clock (0 -> 12, 13 -> 1) and its half of the day. */
static int Hour12(int s32Hour, const char **ppcHalf) {
    *ppcHalf = s32Hour < 12 ? "AM" : "PM";
    int h = s32Hour % 12;
    return h == 0 ? 12 : h;
}

int TimeFormat_FormatLong(int eFormat, const struct tm *pstTm, char *pcBuf, size_t size) {
    if (pcBuf == NULL || size == 0 || pstTm == NULL) {
        return -1;
    }
    const int y = pstTm->tm_year + 1900, mo = pstTm->tm_mon + 1, d = pstTm->tm_mday;
    const int H = pstTm->tm_hour, M = pstTm->tm_min, S = pstTm->tm_sec;
    const char *pcHalf;
    const int h = Hour12(H, &pcHalf);
    switch (eFormat) {
    case TIME_FMT_MDY_12H:
        return snprintf(pcBuf, size, "%02d/%02d/%04d %02d:%02d:%02d %s", mo, d, y, h, M, S, pcHalf);
    case TIME_FMT_DMY_DOT_24H:
        return snprintf(pcBuf, size, "%02d.%02d.%04d %02d:%02d:%02d", d, mo, y, H, M, S);
    case TIME_FMT_DMY_24H:
        return snprintf(pcBuf, size, "%02d/%02d/%04d %02d:%02d:%02d", d, mo, y, H, M, S);
    case TIME_FMT_YMD_12H:
        return snprintf(pcBuf, size, "%04d/%02d/%02d %s %02d:%02d:%02d", y, mo, d, pcHalf, h, M, S);
    case TIME_FMT_DMY_12H:
        return snprintf(pcBuf, size, "%02d/%02d/%04d %02d:%02d:%02d %s", d, mo, y, h, M, S, pcHalf);
    default:
        return snprintf(pcBuf, size, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, H, M, S);
    }
}

int TimeFormat_FormatShort(int eFormat, const struct tm *pstTm, char *pcBuf, size_t size) {
    if (pcBuf == NULL || size == 0 || pstTm == NULL) {
        return -1;
    }
    const int mo = pstTm->tm_mon + 1, d = pstTm->tm_mday;
    const int H = pstTm->tm_hour, M = pstTm->tm_min, S = pstTm->tm_sec;
    const char *pcHalf;
    const int h = Hour12(H, &pcHalf);
    switch (eFormat) {
    case TIME_FMT_MDY_12H:
        return snprintf(pcBuf, size, "%02d/%02d  %02d:%02d:%02d  %s", mo, d, h, M, S, pcHalf);
    case TIME_FMT_DMY_DOT_24H:
        return snprintf(pcBuf, size, "%02d.%02d  %02d:%02d:%02d", d, mo, H, M, S);
    case TIME_FMT_DMY_24H:
        return snprintf(pcBuf, size, "%02d/%02d  %02d:%02d:%02d", d, mo, H, M, S);
    case TIME_FMT_YMD_12H:
        return snprintf(pcBuf, size, "%02d/%02d  %s  %02d:%02d:%02d", mo, d, pcHalf, h, M, S);
    case TIME_FMT_DMY_12H:
        return snprintf(pcBuf, size, "%02d/%02d  %02d:%02d:%02d  %s", d, mo, h, M, S, pcHalf);
    default:
        return snprintf(pcBuf, size, "%02d-%02d  %02d:%02d:%02d", mo, d, H, M, S);
    }
}

/* The current local time. */
static int LocalNow(struct tm *pstTm) {
    time_t now = time(NULL);
    return localtime_r(&now, pstTm) != NULL ? 0 : -1;
}

int TimeFormat_GetDateTimeStr(int eFormat, char *pcBuf, size_t size) {
    struct tm stTm;
    if (LocalNow(&stTm) != 0) {
        return -1;
    }
    return TimeFormat_FormatLong(eFormat, &stTm, pcBuf, size);
}

int TimeFormat_GetShortDateTimeStr(int eFormat, char *pcBuf, size_t size) {
    struct tm stTm;
    if (LocalNow(&stTm) != 0) {
        return -1;
    }
    return TimeFormat_FormatShort(eFormat, &stTm, pcBuf, size);
}
