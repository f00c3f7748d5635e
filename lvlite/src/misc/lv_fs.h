/**
 * @file lv_fs.h
 * File system interface: drivers registered on a drive letter, paths written "L:path".
 */
#ifndef LV_FS_H
#define LV_FS_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stdint.h>

#include "../lv_conf_internal.h"
#include "lv_types.h"

#define LV_FS_MAX_FN_LENGTH   64
#define LV_FS_MAX_PATH_LENGTH 256

enum {
    LV_FS_RES_OK = 0,
    LV_FS_RES_HW_ERR,     /**< Low level hardware error */
    LV_FS_RES_FS_ERR,     /**< Error in the file system structure */
    LV_FS_RES_NOT_EX,     /**< Driver, file or directory does not exist */
    LV_FS_RES_FULL,       /**< Disk full */
    LV_FS_RES_LOCKED,     /**< The file is already opened */
    LV_FS_RES_DENIED,     /**< Access denied */
    LV_FS_RES_BUSY,       /**< The file system cannot handle it, try later */
    LV_FS_RES_TOUT,       /**< Process time out */
    LV_FS_RES_NOT_IMP,    /**< Requested function is not implemented */
    LV_FS_RES_OUT_OF_MEM, /**< Not enough memory for an internal operation */
    LV_FS_RES_INV_PARAM,  /**< Invalid parameter among arguments */
    LV_FS_RES_UNKNOWN,    /**< Other unknown error */
};
typedef uint8_t lv_fs_res_t;

enum {
    LV_FS_MODE_WR = 0x01,
    LV_FS_MODE_RD = 0x02,
};
typedef uint8_t lv_fs_mode_t;

typedef enum {
    LV_FS_SEEK_SET = 0x00, /**< from the beginning of the file */
    LV_FS_SEEK_CUR = 0x01, /**< from the current position */
    LV_FS_SEEK_END = 0x02, /**< from the end of the file */
} lv_fs_whence_t;

typedef struct _lv_fs_drv_t {
    char letter;
    uint16_t cache_size;
    bool (*ready_cb)(struct _lv_fs_drv_t *drv);

    void *(*open_cb)(struct _lv_fs_drv_t *drv, const char *path, lv_fs_mode_t mode);
    lv_fs_res_t (*close_cb)(struct _lv_fs_drv_t *drv, void *file_p);
    lv_fs_res_t (*read_cb)(struct _lv_fs_drv_t *drv, void *file_p, void *buf, uint32_t btr, uint32_t *br);
    lv_fs_res_t (*write_cb)(struct _lv_fs_drv_t *drv, void *file_p, const void *buf, uint32_t btw,
                            uint32_t *bw);
    lv_fs_res_t (*seek_cb)(struct _lv_fs_drv_t *drv, void *file_p, uint32_t pos, lv_fs_whence_t whence);
    lv_fs_res_t (*tell_cb)(struct _lv_fs_drv_t *drv, void *file_p, uint32_t *pos_p);

    void *(*dir_open_cb)(struct _lv_fs_drv_t *drv, const char *path);
    lv_fs_res_t (*dir_read_cb)(struct _lv_fs_drv_t *drv, void *rddir_p, char *fn);
    lv_fs_res_t (*dir_close_cb)(struct _lv_fs_drv_t *drv, void *rddir_p);

    void *user_data;
} lv_fs_drv_t;

typedef struct {
    uint32_t start;
    uint32_t end;
    uint32_t file_position;
    void *buffer;
} lv_fs_file_cache_t;

typedef struct {
    void *file_d;
    lv_fs_drv_t *drv;
    lv_fs_file_cache_t *cache;
} lv_fs_file_t;

typedef struct {
    void *dir_d;
    lv_fs_drv_t *drv;
} lv_fs_dir_t;

/** Forget every registered driver. */
void _lv_fs_init(void);

void lv_fs_drv_init(lv_fs_drv_t *drv);

/** Register a driver (kept by pointer). A later driver on the same letter takes over. */
void lv_fs_drv_register(lv_fs_drv_t *drv);

lv_fs_drv_t *lv_fs_get_drv(char letter);
bool lv_fs_is_ready(char letter);

lv_fs_res_t lv_fs_open(lv_fs_file_t *file_p, const char *path, lv_fs_mode_t mode);
lv_fs_res_t lv_fs_close(lv_fs_file_t *file_p);
lv_fs_res_t lv_fs_read(lv_fs_file_t *file_p, void *buf, uint32_t btr, uint32_t *br);
lv_fs_res_t lv_fs_write(lv_fs_file_t *file_p, const void *buf, uint32_t btw, uint32_t *bw);
lv_fs_res_t lv_fs_seek(lv_fs_file_t *file_p, uint32_t pos, lv_fs_whence_t whence);
lv_fs_res_t lv_fs_tell(lv_fs_file_t *file_p, uint32_t *pos);

lv_fs_res_t lv_fs_dir_open(lv_fs_dir_t *rddir_p, const char *path);
/** Next entry name into fn (LV_FS_MAX_FN_LENGTH bytes; directories start with '/'); "" at the end. */
lv_fs_res_t lv_fs_dir_read(lv_fs_dir_t *rddir_p, char *fn);
lv_fs_res_t lv_fs_dir_close(lv_fs_dir_t *rddir_p);

/** The registered letters as a string into buf (room for one byte per driver plus NUL). */
char *lv_fs_get_letters(char *buf);

/** Extension of a file name without the dot ("" if none). */
const char *lv_fs_get_ext(const char *fn);

/** Remove the last part of a path in place ("S:a/b/c" -> "S:a/b"). */
char *lv_fs_up(char *path);

/** Last part of a path ("S:a/b/c" -> "c"). */
const char *lv_fs_get_last(const char *path);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_FS_H */
