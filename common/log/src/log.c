#include "log.h"

#include <stdarg.h>
#include <stdatomic.h>
#include <stdio.h>
#include <time.h>

/* Read by every thread that logs, written at start-up: atomics keep that well defined. */
static atomic_bool s_bEnable = true;
static atomic_bool s_bWithTime = true;
static atomic_int s_s32MaxLevel = LOG_LEVEL_ERROR;

static const char *const s_apcLabels[] = {
    "\033[1;35mFATAL\033[m", "\033[1;31mERROR\033[m", "\033[1;33mWARN\033[m", "\033[1;32mINFO\033[m", "DEBUG",
};

void Log_Config(bool enable, bool withTime, int maxLevel) {
    atomic_store_explicit(&s_bEnable, enable, memory_order_relaxed);
    atomic_store_explicit(&s_bWithTime, withTime, memory_order_relaxed);
    atomic_store_explicit(&s_s32MaxLevel, maxLevel, memory_order_relaxed);
}

const char *log_level_label(int level) {
    if (level < 0 || level >= (int)(sizeof(s_apcLabels) / sizeof(s_apcLabels[0]))) {
        return NULL;
    }
    return s_apcLabels[level];
}

void log_message(int level, const char *module, const char *file, const char *function, unsigned int line,
                 const char *format, ...) {
    if (!atomic_load_explicit(&s_bEnable, memory_order_relaxed) ||
        level > atomic_load_explicit(&s_s32MaxLevel, memory_order_relaxed)) {
        return;
    }
    const char *pcLabel = log_level_label(level);
    if (pcLabel == NULL) {
        pcLabel = ""; /* a negative level passes the filter but has no label */
    }
    if (module == NULL) {
        module = "";
    }
    if (file == NULL) {
        file = "";
    }
    if (function == NULL) {
        function = "";
    }

    /* One stdio lock per line keeps the prefix and the message of a line together. */
    flockfile(stdout);
    if (atomic_load_explicit(&s_bWithTime, memory_order_relaxed)) {
        time_t now = time(NULL);
        struct tm stTm = {0};
        gmtime_r(&now, &stTm);
        /* The milliseconds come from the monotonic clock, not from the printed second. */
        struct timespec stMono = {0};
        clock_gettime(CLOCK_MONOTONIC, &stMono);
        printf("[%02d:%02d:%02d:%03ld %s-%s]:%s %s[%u]:", stTm.tm_hour, stTm.tm_min, stTm.tm_sec,
               (long)(stMono.tv_nsec / 1000000), pcLabel, module, file, function, line);
    } else {
        printf("[%s-%s]: %s %s[%u]:", pcLabel, module, file, function, line);
    }
    if (format != NULL) {
        va_list args;
        va_start(args, format);
        vprintf(format, args);
        va_end(args);
    }
    /* Standard output is often a pipe or a file: a line must be visible when it is logged. */
    fflush(stdout);
    funlockfile(stdout);
}
