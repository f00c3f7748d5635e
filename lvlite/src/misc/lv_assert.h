/**
 * @file lv_assert.h
 * Checks that log an error and stop the program: a null argument or a failed allocation here is a bug
 * that must not be carried on silently.
 */
#ifndef LV_ASSERT_H
#define LV_ASSERT_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdlib.h>

#include "../lv_conf_internal.h"
#include "lv_log.h"

#define LV_ASSERT(expr)                                                                                      \
    do {                                                                                                     \
        if (!(expr)) {                                                                                       \
            LV_LOG_ERROR("Asserted at expression: %s", #expr);                                               \
            abort();                                                                                         \
        }                                                                                                    \
    } while (0)

#define LV_ASSERT_MSG(expr, msg)                                                                             \
    do {                                                                                                     \
        if (!(expr)) {                                                                                       \
            LV_LOG_ERROR("Asserted at expression: %s (%s)", #expr, msg);                                     \
            abort();                                                                                         \
        }                                                                                                    \
    } while (0)

#if LV_USE_ASSERT_NULL
#define LV_ASSERT_NULL(p) LV_ASSERT_MSG((p) != NULL, "NULL pointer")
#else
#define LV_ASSERT_NULL(p)                                                                                    \
    do {                                                                                                     \
    } while (0)
#endif

#if LV_USE_ASSERT_MALLOC
#define LV_ASSERT_MALLOC(p) LV_ASSERT_MSG((p) != NULL, "Out of memory")
#else
#define LV_ASSERT_MALLOC(p)                                                                                  \
    do {                                                                                                     \
    } while (0)
#endif

#define LV_ASSERT_MEM_INTEGRITY()                                                                            \
    do {                                                                                                     \
    } while (0)

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_ASSERT_H */
