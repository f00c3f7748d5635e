/**
 * @file lv_log.c
 * Log lines: "[Level]\t(seconds.millis)\t function: message \t(in file line #n)", printed to
 * stdout when LV_LOG_PRINTF is set and handed to the registered print callback.
 */
#include "lv_log.h"

#if LV_USE_LOG

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "../hal/lv_hal_tick.h"

static lv_log_print_g_cb_t print_hook;

void lv_log_register_print_cb(lv_log_print_g_cb_t print_cb) {
    print_hook = print_cb;
}

static void emit(const char *line) {
#if LV_LOG_PRINTF
    fputs(line, stdout);
#endif
    if (print_hook != NULL)
        print_hook(line);
}

static const char *const level_names[] = {"Trace", "Info", "Warn", "Error", "User"};

void _lv_log_add(lv_log_level_t level, const char *file, int line, const char *func, const char *format,
                 ...) {
    if (level < LV_LOG_LEVEL || level >= LV_LOG_LEVEL_NONE)
        return;
    char text[256];
    va_list ap;
    va_start(ap, format);
    vsnprintf(text, sizeof(text), format, ap);
    va_end(ap);

    const char *slash = strrchr(file, '/');
    const char *base = slash != NULL ? slash + 1 : file;
    uint32_t ms = lv_tick_get();
    char out[400];
    snprintf(out, sizeof(out), "[%s]\t(%u.%03u)\t %s: %s \t(in %s line #%d)\n", level_names[level],
             (unsigned)(ms / 1000u), (unsigned)(ms % 1000u), func, text, base, line);
    emit(out);
}

void lv_log(const char *format, ...) {
    char text[256];
    va_list ap;
    va_start(ap, format);
    vsnprintf(text, sizeof(text), format, ap);
    va_end(ap);
    emit(text);
}

#endif /* LV_USE_LOG */
