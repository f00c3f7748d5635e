/**
 * @file lv_fsdrv.h
 * File-system drivers over the C library.
 */
#ifndef LV_FSDRV_H
#define LV_FSDRV_H

#ifdef __cplusplus
extern "C" {
#endif

#include "../../../lv_conf_internal.h"

#ifndef LV_FS_STDIO_LETTER
#define LV_FS_STDIO_LETTER '/'
#endif

/* Prefix of every path of the stdio driver: "/:/app/x.png" opens LV_FS_STDIO_PATH "/app/x.png".
 * The build's RECORDER_ROOT by default (empty on the device). */
#ifndef LV_FS_STDIO_PATH
#ifdef RECORDER_ROOT
#define LV_FS_STDIO_PATH RECORDER_ROOT
#else
#define LV_FS_STDIO_PATH ""
#endif
#endif

/** Register the stdio driver on LV_FS_STDIO_LETTER. */
void lv_fs_stdio_init(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_FSDRV_H */
