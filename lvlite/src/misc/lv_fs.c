/**
 * @file lv_fs.c
 */
#include "lv_fs.h"

#include <stddef.h>
#include <string.h>

/* Drivers by registration order; lookups go from the newest. */
#define FS_DRV_MAX 16
static lv_fs_drv_t *drivers[FS_DRV_MAX];
static uint32_t driver_cnt;

void _lv_fs_init(void) {
    driver_cnt = 0;
}

void lv_fs_drv_init(lv_fs_drv_t *drv) {
    memset(drv, 0, sizeof(*drv));
}

void lv_fs_drv_register(lv_fs_drv_t *drv) {
    for (uint32_t i = 0; i < driver_cnt; i++) {
        if (drivers[i] == drv)
            return;
    }
    if (driver_cnt == FS_DRV_MAX) {
        /* Full: the oldest registration gives way. */
        memmove(&drivers[0], &drivers[1], sizeof(drivers[0]) * (FS_DRV_MAX - 1));
        driver_cnt--;
    }
    drivers[driver_cnt++] = drv;
}

lv_fs_drv_t *lv_fs_get_drv(char letter) {
    for (uint32_t i = driver_cnt; i > 0; i--) {
        if (drivers[i - 1]->letter == letter)
            return drivers[i - 1];
    }
    return NULL;
}

bool lv_fs_is_ready(char letter) {
    lv_fs_drv_t *drv = lv_fs_get_drv(letter);
    if (drv == NULL)
        return false;
    if (drv->ready_cb == NULL)
        return true;
    return drv->ready_cb(drv);
}

lv_fs_res_t lv_fs_open(lv_fs_file_t *file_p, const char *path, lv_fs_mode_t mode) {
    if (file_p == NULL)
        return LV_FS_RES_INV_PARAM;
    file_p->file_d = NULL;
    file_p->drv = NULL;
    file_p->cache = NULL;
    if (path == NULL)
        return LV_FS_RES_INV_PARAM;
    /* The drive letter comes first: an empty path names no drive. */
    lv_fs_drv_t *drv = path[0] == '\0' ? NULL : lv_fs_get_drv(path[0]);
    if (drv == NULL)
        return LV_FS_RES_NOT_EX;
    if (path[1] != ':')
        return LV_FS_RES_INV_PARAM;
    if (drv->ready_cb && !drv->ready_cb(drv))
        return LV_FS_RES_HW_ERR;
    if (drv->open_cb == NULL)
        return LV_FS_RES_NOT_IMP;

    void *file_d = drv->open_cb(drv, path + 2, mode);
    if (file_d == NULL || file_d == (void *)-1)
        return LV_FS_RES_UNKNOWN;

    file_p->drv = drv;
    file_p->file_d = file_d;
    return LV_FS_RES_OK;
}

lv_fs_res_t lv_fs_close(lv_fs_file_t *file_p) {
    if (file_p == NULL || file_p->drv == NULL)
        return LV_FS_RES_INV_PARAM;
    if (file_p->drv->close_cb == NULL)
        return LV_FS_RES_NOT_IMP;

    lv_fs_res_t res = file_p->drv->close_cb(file_p->drv, file_p->file_d);
    file_p->file_d = NULL;
    file_p->drv = NULL;
    return res;
}

lv_fs_res_t lv_fs_read(lv_fs_file_t *file_p, void *buf, uint32_t btr, uint32_t *br) {
    if (br != NULL)
        *br = 0;
    if (file_p == NULL || file_p->drv == NULL)
        return LV_FS_RES_INV_PARAM;
    if (file_p->drv->read_cb == NULL)
        return LV_FS_RES_NOT_IMP;

    uint32_t br_tmp = 0;
    lv_fs_res_t res = file_p->drv->read_cb(file_p->drv, file_p->file_d, buf, btr, &br_tmp);
    if (br != NULL)
        *br = br_tmp;
    return res;
}

lv_fs_res_t lv_fs_write(lv_fs_file_t *file_p, const void *buf, uint32_t btw, uint32_t *bw) {
    if (bw != NULL)
        *bw = 0;
    if (file_p == NULL || file_p->drv == NULL)
        return LV_FS_RES_INV_PARAM;
    if (file_p->drv->write_cb == NULL)
        return LV_FS_RES_NOT_IMP;

    uint32_t bw_tmp = 0;
    lv_fs_res_t res = file_p->drv->write_cb(file_p->drv, file_p->file_d, buf, btw, &bw_tmp);
    if (bw != NULL)
        *bw = bw_tmp;
    return res;
}

lv_fs_res_t lv_fs_seek(lv_fs_file_t *file_p, uint32_t pos, lv_fs_whence_t whence) {
    if (file_p == NULL || file_p->drv == NULL)
        return LV_FS_RES_INV_PARAM;
    if (file_p->drv->seek_cb == NULL)
        return LV_FS_RES_NOT_IMP;
    return file_p->drv->seek_cb(file_p->drv, file_p->file_d, pos, whence);
}

lv_fs_res_t lv_fs_tell(lv_fs_file_t *file_p, uint32_t *pos) {
    if (file_p == NULL || file_p->drv == NULL || pos == NULL)
        return LV_FS_RES_INV_PARAM;
    *pos = 0;
    if (file_p->drv->tell_cb == NULL)
        return LV_FS_RES_NOT_IMP;
    return file_p->drv->tell_cb(file_p->drv, file_p->file_d, pos);
}

lv_fs_res_t lv_fs_dir_open(lv_fs_dir_t *rddir_p, const char *path) {
    if (rddir_p == NULL)
        return LV_FS_RES_INV_PARAM;
    rddir_p->drv = NULL;
    rddir_p->dir_d = NULL;
    if (path == NULL)
        return LV_FS_RES_INV_PARAM;
    /* The drive letter comes first: an empty path names no drive. */
    lv_fs_drv_t *drv = path[0] == '\0' ? NULL : lv_fs_get_drv(path[0]);
    if (drv == NULL)
        return LV_FS_RES_NOT_EX;
    if (path[1] != ':')
        return LV_FS_RES_INV_PARAM;
    if (drv->ready_cb && !drv->ready_cb(drv))
        return LV_FS_RES_HW_ERR;
    if (drv->dir_open_cb == NULL)
        return LV_FS_RES_NOT_IMP;

    void *dir_d = drv->dir_open_cb(drv, path + 2);
    if (dir_d == NULL || dir_d == (void *)-1)
        return LV_FS_RES_UNKNOWN;
    rddir_p->drv = drv;
    rddir_p->dir_d = dir_d;
    return LV_FS_RES_OK;
}

lv_fs_res_t lv_fs_dir_read(lv_fs_dir_t *rddir_p, char *fn) {
    if (fn != NULL)
        fn[0] = '\0';
    if (rddir_p == NULL || rddir_p->drv == NULL || rddir_p->dir_d == NULL || fn == NULL)
        return LV_FS_RES_INV_PARAM;
    if (rddir_p->drv->dir_read_cb == NULL)
        return LV_FS_RES_NOT_IMP;
    return rddir_p->drv->dir_read_cb(rddir_p->drv, rddir_p->dir_d, fn);
}

lv_fs_res_t lv_fs_dir_close(lv_fs_dir_t *rddir_p) {
    if (rddir_p == NULL || rddir_p->drv == NULL || rddir_p->dir_d == NULL)
        return LV_FS_RES_INV_PARAM;
    if (rddir_p->drv->dir_close_cb == NULL)
        return LV_FS_RES_NOT_IMP;
    lv_fs_res_t res = rddir_p->drv->dir_close_cb(rddir_p->drv, rddir_p->dir_d);
    rddir_p->dir_d = NULL;
    rddir_p->drv = NULL;
    return res;
}

char *lv_fs_get_letters(char *buf) {
    uint32_t n = 0;
    for (uint32_t i = 0; i < driver_cnt; i++) {
        if (memchr(buf, drivers[i]->letter, n) == NULL)
            buf[n++] = drivers[i]->letter;
    }
    buf[n] = '\0';
    return buf;
}

const char *lv_fs_get_ext(const char *fn) {
    size_t len = strlen(fn);
    for (size_t i = len; i > 0; i--) {
        if (fn[i - 1] == '.')
            return &fn[i];
        if (fn[i - 1] == '/' || fn[i - 1] == '\\' || fn[i - 1] == ':')
            break;
    }
    return "";
}

char *lv_fs_up(char *path) {
    size_t len = strlen(path);
    if (len == 0)
        return path;

    len--; /* a trailing separator does not count */
    while (len > 0 && (path[len] == '/' || path[len] == '\\'))
        len--;
    while (len > 0 && path[len] != '/' && path[len] != '\\' && path[len] != ':')
        len--;
    if (path[len] == ':')
        len++;
    path[len] = '\0';
    return path;
}

const char *lv_fs_get_last(const char *path) {
    size_t len = strlen(path);
    if (len == 0)
        return path;

    size_t i = len - 1;
    if (path[i] == '/' || path[i] == '\\') {
        if (i == 0)
            return path;
        i--;
    }
    while (i > 0 && path[i] != '/' && path[i] != '\\' && path[i] != ':')
        i--;
    if (path[i] == '/' || path[i] == '\\' || path[i] == ':')
        i++;
    return &path[i];
}
