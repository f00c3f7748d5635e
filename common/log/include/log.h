/*
 * The one log function of recorder_ui. Every line goes to standard output as
 *   [hh:mm:ss:mmm LABEL-MODULE]:file function[line]:message     (with time stamps)
 *   [LABEL-MODULE]: file function[line]:message                  (without)
 * The label carries its ANSI colour. No newline is added: messages end with "\n" or "\r\n".
 */
#ifndef LOG_H
#define LOG_H

#include <stdbool.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    LOG_LEVEL_FATAL = 0,
    LOG_LEVEL_ERROR = 1,
    LOG_LEVEL_WARN = 2,
    LOG_LEVEL_INFO = 3,
    LOG_LEVEL_DEBUG = 4,
};

/* The module name every line of the program carries. */
#define LOG_MODULE "LVGL_UI"

/* Output on/off, time stamps on/off, highest level shown. Initially on, on, 1 (ERROR). */
void Log_Config(bool enable, bool withTime, int maxLevel);

/* Prints one line unless output is off or level is above the highest level shown.
 * A null module prints as "", a null format prints the prefix only. */
void log_message(int level, const char *module, const char *file, const char *function, unsigned int line,
                 const char *format, ...) __attribute__((format(printf, 6, 7)));

/* Label of a level as printed, colour sequences included; NULL outside 0..4. */
const char *log_level_label(int level);

#if defined(__FILE_NAME__)
#define LOG_FILE_NAME __FILE_NAME__
#else
#define LOG_FILE_NAME __FILE__
#endif

#define LOG_AT(level, ...) log_message((level), LOG_MODULE, LOG_FILE_NAME, __func__, __LINE__, __VA_ARGS__)
#define LOG_FATAL(...)     LOG_AT(LOG_LEVEL_FATAL, __VA_ARGS__)
#define LOG_ERROR(...)     LOG_AT(LOG_LEVEL_ERROR, __VA_ARGS__)
#define LOG_WARN(...)      LOG_AT(LOG_LEVEL_WARN, __VA_ARGS__)
#define LOG_INFO(...)      LOG_AT(LOG_LEVEL_INFO, __VA_ARGS__)
#define LOG_DEBUG(...)     LOG_AT(LOG_LEVEL_DEBUG, __VA_ARGS__)

#ifdef __cplusplus
}
#endif

#endif /* LOG_H */
