/**
 * @file lv_log.h
 * Log lines of the graphics core, filtered by LV_LOG_LEVEL and printed with printf or a registered callback.
 */
#ifndef LV_LOG_H
#define LV_LOG_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdint.h>

#include "../lv_conf_internal.h"
#include "lv_types.h"

#define LV_LOG_LEVEL_TRACE 0
#define LV_LOG_LEVEL_INFO  1
#define LV_LOG_LEVEL_WARN  2
#define LV_LOG_LEVEL_ERROR 3
#define LV_LOG_LEVEL_USER  4
#define LV_LOG_LEVEL_NONE  5
#define _LV_LOG_LEVEL_NUM  6

typedef int8_t lv_log_level_t;

#if LV_USE_LOG
typedef void (*lv_log_print_g_cb_t)(const char *buf);

void lv_log_register_print_cb(lv_log_print_g_cb_t print_cb);
/** Print a raw line (no level, no location). */
void lv_log(const char *format, ...) LV_FORMAT_ATTRIBUTE(1, 2);
void _lv_log_add(lv_log_level_t level, const char *file, int line, const char *func, const char *format, ...)
    LV_FORMAT_ATTRIBUTE(5, 6);

#if LV_LOG_LEVEL <= LV_LOG_LEVEL_TRACE
#define LV_LOG_TRACE(...) _lv_log_add(LV_LOG_LEVEL_TRACE, __FILE__, __LINE__, __func__, __VA_ARGS__)
#else
#define LV_LOG_TRACE(...)                                                                                    \
    do {                                                                                                     \
    } while (0)
#endif
#if LV_LOG_LEVEL <= LV_LOG_LEVEL_INFO
#define LV_LOG_INFO(...) _lv_log_add(LV_LOG_LEVEL_INFO, __FILE__, __LINE__, __func__, __VA_ARGS__)
#else
#define LV_LOG_INFO(...)                                                                                     \
    do {                                                                                                     \
    } while (0)
#endif
#if LV_LOG_LEVEL <= LV_LOG_LEVEL_WARN
#define LV_LOG_WARN(...) _lv_log_add(LV_LOG_LEVEL_WARN, __FILE__, __LINE__, __func__, __VA_ARGS__)
#else
#define LV_LOG_WARN(...)                                                                                     \
    do {                                                                                                     \
    } while (0)
#endif
#if LV_LOG_LEVEL <= LV_LOG_LEVEL_ERROR
#define LV_LOG_ERROR(...) _lv_log_add(LV_LOG_LEVEL_ERROR, __FILE__, __LINE__, __func__, __VA_ARGS__)
#else
#define LV_LOG_ERROR(...)                                                                                    \
    do {                                                                                                     \
    } while (0)
#endif
#if LV_LOG_LEVEL <= LV_LOG_LEVEL_USER
#define LV_LOG_USER(...) _lv_log_add(LV_LOG_LEVEL_USER, __FILE__, __LINE__, __func__, __VA_ARGS__)
#else
#define LV_LOG_USER(...)                                                                                     \
    do {                                                                                                     \
    } while (0)
#endif
#if LV_LOG_LEVEL < LV_LOG_LEVEL_NONE
#define LV_LOG(...) lv_log(__VA_ARGS__)
#else
#define LV_LOG(...)                                                                                          \
    do {                                                                                                     \
    } while (0)
#endif

#else /* LV_USE_LOG */
#define lv_log_register_print_cb(p)                                                                          \
    do {                                                                                                     \
    } while (0)
#define LV_LOG_TRACE(...)                                                                                    \
    do {                                                                                                     \
    } while (0)
#define LV_LOG_INFO(...)                                                                                     \
    do {                                                                                                     \
    } while (0)
#define LV_LOG_WARN(...)                                                                                     \
    do {                                                                                                     \
    } while (0)
#define LV_LOG_ERROR(...)                                                                                    \
    do {                                                                                                     \
    } while (0)
#define LV_LOG_USER(...)                                                                                     \
    do {                                                                                                     \
    } while (0)
#define LV_LOG(...)                                                                                          \
    do {                                                                                                     \
    } while (0)
#endif

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_LOG_H */
