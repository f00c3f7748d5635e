/*
 * Date and time texts in the six ways the setting "time_format" selects: a long form with the
 * year (the date-and-time settings page) and a short form without it (the home page's clock).
 */
#ifndef TIME_FORMAT_H
#define TIME_FORMAT_H

#include <stddef.h>
#include <time.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef enum {
    TIME_FMT_YMD_24H = 0,     /* 2024-03-02 13:05:09 */
    TIME_FMT_MDY_12H = 1,     /* 03/02/2024 01:05:09 PM */
    TIME_FMT_DMY_DOT_24H = 2, /* 02.03.2024 13:05:09 */
    TIME_FMT_DMY_24H = 3,     /* 02/03/2024 13:05:09 */
    TIME_FMT_YMD_12H = 4,     /* 2024/03/02 PM 01:05:09 */
    TIME_FMT_DMY_12H = 5,     /* 02/03/2024 01:05:09 PM */
} TimeFormatType;

/* The current local time, long and short forms, into buf (at most size bytes with the NUL).
 * Any other format value writes format 0. Return the length written (as snprintf), or -1 for a
 * null or empty buffer. */
int TimeFormat_GetDateTimeStr(int eFormat, char *pcBuf, size_t size);
int TimeFormat_GetShortDateTimeStr(int eFormat, char *pcBuf, size_t size);

/* The same for a given broken-down local time. */
int TimeFormat_FormatLong(int eFormat, const struct tm *pstTm, char *pcBuf, size_t size);
int TimeFormat_FormatShort(int eFormat, const struct tm *pstTm, char *pcBuf, size_t size);

#ifdef __cplusplus
}
#endif

#endif /* TIME_FORMAT_H */
