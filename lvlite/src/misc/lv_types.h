/**
 * @file lv_types.h
 * Basic types and helper macros shared by every lvlite module.
 */
#ifndef LV_TYPES_H
#define LV_TYPES_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdint.h>

#if defined(__UINTPTR_MAX__) && __UINTPTR_MAX__ > 0xFFFFFFFF
#define LV_ARCH_64
#elif defined(_WIN64)
#define LV_ARCH_64
#endif

/** Result of functions that may delete the object they work on. */
enum {
    LV_RES_INV = 0, /**< the object was deleted or the action failed */
    LV_RES_OK,      /**< the object is still valid, the action succeeded */
};
typedef uint8_t lv_res_t;

#if defined(__cplusplus) || __STDC_VERSION__ >= 199901L
typedef uintptr_t lv_uintptr_t;
#else
typedef uint32_t lv_uintptr_t;
#endif

#define LV_UNUSED(x) ((void)(x))

#define _LV_CONCAT(x, y)     x##y
#define LV_CONCAT(x, y)      _LV_CONCAT(x, y)
#define _LV_CONCAT3(x, y, z) x##y##z
#define LV_CONCAT3(x, y, z)  _LV_CONCAT3(x, y, z)

#ifndef LV_ATTRIBUTE_TICK_INC
#define LV_ATTRIBUTE_TICK_INC
#endif
#ifndef LV_ATTRIBUTE_TIMER_HANDLER
#define LV_ATTRIBUTE_TIMER_HANDLER
#endif
#ifndef LV_ATTRIBUTE_FLUSH_READY
#define LV_ATTRIBUTE_FLUSH_READY
#endif
#ifndef LV_ATTRIBUTE_MEM_ALIGN
#define LV_ATTRIBUTE_MEM_ALIGN
#endif
#ifndef LV_ATTRIBUTE_LARGE_CONST
#define LV_ATTRIBUTE_LARGE_CONST
#endif
#ifndef LV_ATTRIBUTE_LARGE_RAM_ARRAY
#define LV_ATTRIBUTE_LARGE_RAM_ARRAY
#endif
#ifndef LV_ATTRIBUTE_FAST_MEM
#define LV_ATTRIBUTE_FAST_MEM
#endif
#ifndef LV_ATTRIBUTE_DMA
#define LV_ATTRIBUTE_DMA
#endif
#ifndef LV_ATTRIBUTE_EXTERN_DATA
#define LV_ATTRIBUTE_EXTERN_DATA
#endif
#ifndef LV_ATTRIBUTE_MEM_ALIGN_SIZE
#define LV_ATTRIBUTE_MEM_ALIGN_SIZE 1
#endif

#define LV_EXPORT_CONST_INT(int_value)      struct _silence_gcc_warning
#define LV_FORMAT_ATTRIBUTE(fmtstr, vararg) __attribute__((format(printf, fmtstr, vararg)))

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_TYPES_H */
