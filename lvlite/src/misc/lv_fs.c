/**
 * @file lv_fs.c
 * Drive letters in front of paths ("L:/dir/file") pick one of the registered drivers; the rest of the
 * path goes to the driver. Files and directories remember their driver.
 */
#include "lv_fs.h"

#include <stddef.h>
#include <string.h>

/* Drivers by registration order; a letter registered again later hides the earlier one. */
#define FS_DRIVES 16
static lv_fs_drv_t *drives[FS_DRIVES];
static uint32_t drive_count;

void _lv_fs_init(void) {
    drive_count = 0;
}

void lv_fs_drv_init(lv_fs_drv_t *drv) {
    memset(drv, 0, sizeof(*drv));
}

void lv_fs_drv_register(lv_fs_drv_t *drv) {
    for (uint32_t i = 0; i < drive_count; i++)
        if (drives[i] == drv)
            return;
    if (drive_count == FS_DRIVES) {
        /* Full: the oldest registration gives way. */
        memmove(drives, drives + 1, sizeof(drives[0]) * (FS_DRIVES - 1));
        drive_count--;
    }
    drives[drive_count++] = drv;
}

lv_fs_drv_t *lv_fs_get_drv(char letter) {
    for (uint32_t i = drive_count; i-- > 0;)
        if (drives[i]->letter == letter)
            return drives[i];
    return NULL;
}

static bool drive_ready(lv_fs_drv_t *d) {
    return d->ready_cb == NULL || d->ready_cb(d);
}

bool lv_fs_is_ready(char letter) {
    lv_fs_drv_t *d = lv_fs_get_drv(letter);
    return d != NULL && drive_ready(d);
}

/* The ready driver of path's drive letter, or NULL with the reason in *why. An empty path names
 * no drive; a letter without ':' after it is not a path. */
static lv_fs_drv_t *resolve(const char *path, lv_fs_res_t *why) {
    if (path == NULL) {
        *why = LV_FS_RES_INV_PARAM;
        return NULL;
    }
    lv_fs_drv_t *d = *path != '\0' ? lv_fs_get_drv(*path) : NULL;
    if (d == NULL) {
        *why = LV_FS_RES_NOT_EX;
    } else if (path[1] != ':') {
        *why = LV_FS_RES_INV_PARAM;
    } else if (!drive_ready(d)) {
        *why = LV_FS_RES_HW_ERR;
    } else {
        return d;
    }
    return NULL;
}

/* Drivers answer "no file" with NULL or (void *)-1. */
static bool handle_ok(const void *h) {
    return h != NULL && h != (void *)-1;
}

lv_fs_res_t lv_fs_open(lv_fs_file_t *f, const char *path, lv_fs_mode_t mode) {
    if (f == NULL)
        return LV_FS_RES_INV_PARAM;
    memset(f, 0, sizeof(*f));
    lv_fs_res_t why = LV_FS_RES_OK;
    lv_fs_drv_t *d = resolve(path, &why);
    if (d == NULL)
        return why;
    if (d->open_cb == NULL)
        return LV_FS_RES_NOT_IMP;
    void *h = d->open_cb(d, path + 2, mode);
    if (!handle_ok(h))
        return LV_FS_RES_UNKNOWN;
    f->drv = d;
    f->file_d = h;
    return LV_FS_RES_OK;
}

/* An open file's driver, or NULL. */
static lv_fs_drv_t *file_drv(const lv_fs_file_t *f) {
    return f != NULL ? f->drv : NULL;
}

lv_fs_res_t lv_fs_close(lv_fs_file_t *f) {
    lv_fs_drv_t *d = file_drv(f);
    if (d == NULL)
        return LV_FS_RES_INV_PARAM;
    if (d->close_cb == NULL)
        return LV_FS_RES_NOT_IMP;
    lv_fs_res_t res = d->close_cb(d, f->file_d);
    f->drv = NULL;
    f->file_d = NULL;
    return res;
}

lv_fs_res_t lv_fs_read(lv_fs_file_t *f, void *buf, uint32_t btr, uint32_t *br) {
    uint32_t got = 0;
    lv_fs_drv_t *d = file_drv(f);
    lv_fs_res_t res = d == NULL            ? LV_FS_RES_INV_PARAM
                      : d->read_cb == NULL ? LV_FS_RES_NOT_IMP
                                           : d->read_cb(d, f->file_d, buf, btr, &got);
    if (br != NULL)
        *br = got;
    return res;
}

lv_fs_res_t lv_fs_write(lv_fs_file_t *f, const void *buf, uint32_t btw, uint32_t *bw) {
    uint32_t put = 0;
    lv_fs_drv_t *d = file_drv(f);
    lv_fs_res_t res = d == NULL             ? LV_FS_RES_INV_PARAM
                      : d->write_cb == NULL ? LV_FS_RES_NOT_IMP
                                            : d->write_cb(d, f->file_d, buf, btw, &put);
    if (bw != NULL)
        *bw = put;
    return res;
}

lv_fs_res_t lv_fs_seek(lv_fs_file_t *f, uint32_t pos, lv_fs_whence_t whence) {
    lv_fs_drv_t *d = file_drv(f);
    if (d == NULL)
        return LV_FS_RES_INV_PARAM;
    return d->seek_cb != NULL ? d->seek_cb(d, f->file_d, pos, whence) : LV_FS_RES_NOT_IMP;
}

lv_fs_res_t lv_fs_tell(lv_fs_file_t *f, uint32_t *pos) {
    lv_fs_drv_t *d = file_drv(f);
    if (d == NULL || pos == NULL)
        return LV_FS_RES_INV_PARAM;
    *pos = 0;
    return d->tell_cb != NULL ? d->tell_cb(d, f->file_d, pos) : LV_FS_RES_NOT_IMP;
}

lv_fs_res_t lv_fs_dir_open(lv_fs_dir_t *dir, const char *path) {
    if (dir == NULL)
        return LV_FS_RES_INV_PARAM;
    dir->drv = NULL;
    dir->dir_d = NULL;
    lv_fs_res_t why = LV_FS_RES_OK;
    lv_fs_drv_t *d = resolve(path, &why);
    if (d == NULL)
        return why;
    if (d->dir_open_cb == NULL)
        return LV_FS_RES_NOT_IMP;
    void *h = d->dir_open_cb(d, path + 2);
    if (!handle_ok(h))
        return LV_FS_RES_UNKNOWN;
    dir->drv = d;
    dir->dir_d = h;
    return LV_FS_RES_OK;
}

/* An open directory's driver, or NULL. */
static lv_fs_drv_t *dir_drv(const lv_fs_dir_t *dir) {
    return dir != NULL && dir->dir_d != NULL ? dir->drv : NULL;
}

lv_fs_res_t lv_fs_dir_read(lv_fs_dir_t *dir, char *fn) {
    if (fn != NULL)
        *fn = '\0';
    lv_fs_drv_t *d = dir_drv(dir);
    if (d == NULL || fn == NULL)
        return LV_FS_RES_INV_PARAM;
    return d->dir_read_cb != NULL ? d->dir_read_cb(d, dir->dir_d, fn) : LV_FS_RES_NOT_IMP;
}

lv_fs_res_t lv_fs_dir_close(lv_fs_dir_t *dir) {
    lv_fs_drv_t *d = dir_drv(dir);
    if (d == NULL)
        return LV_FS_RES_INV_PARAM;
    if (d->dir_close_cb == NULL)
        return LV_FS_RES_NOT_IMP;
    lv_fs_res_t res = d->dir_close_cb(d, dir->dir_d);
    dir->drv = NULL;
    dir->dir_d = NULL;
    return res;
}

char *lv_fs_get_letters(char *buf) {
    size_t n = 0;
    for (uint32_t i = 0; i < drive_count; i++) {
        char l = drives[i]->letter;
        if (memchr(buf, l, n) == NULL)
            buf[n++] = l;
    }
    buf[n] = '\0';
    return buf;
}

static bool is_sep(char c) {
    return c == '/' || c == '\\';
}

const char *lv_fs_get_ext(const char *fn) {
    /* The part after the last '.' of the last path element. */
    for (const char *p = fn + strlen(fn); p > fn; p--) {
        char c = p[-1];
        if (c == '.')
            return p;
        if (is_sep(c) || c == ':')
            break;
    }
    return "";
}

char *lv_fs_up(char *path) {
    size_t end = strlen(path);
    if (end == 0)
        return path;
    end--;
    /* Skip trailing separators, then the last element; keep a drive's "L:". */
    while (end > 0 && is_sep(path[end]))
        end--;
    while (end > 0 && !is_sep(path[end]) && path[end] != ':')
        end--;
    if (path[end] == ':')
        end++;
    path[end] = '\0';
    return path;
}

const char *lv_fs_get_last(const char *path) {
    size_t n = strlen(path);
    if (n == 0)
        return path;
    size_t k = n - 1;
    /* One trailing separator belongs to the last element. */
    if (is_sep(path[k])) {
        if (k == 0)
            return path;
        k--;
    }
    while (k > 0 && !is_sep(path[k]) && path[k] != ':')
        k--;
    return is_sep(path[k]) || path[k] == ':' ? path + k + 1 : path + k;
}
