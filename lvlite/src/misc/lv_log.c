/**
 * @file lv_log.c
 */
#include "lv_log.h"

#if LV_USE_LOG

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "../hal/lv_hal_tick.h"

static lv_log_print_g_cb_t custom_print_cb;

void lv_log_register_print_cb(lv_log_print_g_cb_t print_cb) {
    custom_print_cb = print_cb;
}

void _lv_log_add(lv_log_level_t level, const char *file, int line, const char *func, const char *format,
                 ...) {
    if (level >= _LV_LOG_LEVEL_NUM || level < LV_LOG_LEVEL)
        return;
    static const char *lvl_prefix[] = {"Trace", "Info", "Warn", "Error", "User"};
    const char *name = strrchr(file, '/');
    name = name ? name + 1 : file;
    char msg[256];
    va_list args;
    va_start(args, format);
    vsnprintf(msg, sizeof(msg), format, args);
    va_end(args);
    uint32_t t = lv_tick_get();
#if LV_LOG_PRINTF
    printf("[%s]\t(%u.%03u)\t %s: %s \t(in %s line #%d)\n", lvl_prefix[level], (unsigned)(t / 1000),
           (unsigned)(t % 1000), func, msg, name, line);
#endif
    if (custom_print_cb) {
        char buf[384];
        snprintf(buf, sizeof(buf), "[%s]\t(%u.%03u)\t %s: %s \t(in %s line #%d)\n", lvl_prefix[level],
                 (unsigned)(t / 1000), (unsigned)(t % 1000), func, msg, name, line);
        custom_print_cb(buf);
    }
}

void lv_log(const char *format, ...) {
    char msg[256];
    va_list args;
    va_start(args, format);
    vsnprintf(msg, sizeof(msg), format, args);
    va_end(args);
#if LV_LOG_PRINTF
    fputs(msg, stdout);
#endif
    if (custom_print_cb)
        custom_print_cb(msg);
}

#endif /* LV_USE_LOG */
