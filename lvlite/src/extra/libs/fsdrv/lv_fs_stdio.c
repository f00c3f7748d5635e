/**
 * @file lv_fs_stdio.c
 * The stdio driver: paths of its letter are LV_FS_STDIO_PATH followed by the path.
 */
#include "lv_fsdrv.h"

#include <dirent.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include "../../../misc/lv_fs.h"
#include "../../../misc/lv_mem.h"

static lv_fs_drv_t stdio_drv;

/* Full host path of a driver path; false when it does not fit. */
static bool full_path(char *buf, size_t size, const char *path) {
    int n = snprintf(buf, size, "%s%s", LV_FS_STDIO_PATH, path);
    return n >= 0 && (size_t)n < size;
}

static void *fs_open(lv_fs_drv_t *drv, const char *path, lv_fs_mode_t mode) {
    (void)drv;
    const char *flags;
    if (mode == LV_FS_MODE_WR) {
        flags = "wb";
    } else if (mode == LV_FS_MODE_RD) {
        flags = "rb";
    } else if (mode == (LV_FS_MODE_WR | LV_FS_MODE_RD)) {
        flags = "rb+";
    } else {
        return NULL;
    }

    char buf[LV_FS_MAX_PATH_LENGTH];
    if (!full_path(buf, sizeof(buf), path))
        return NULL;
    return fopen(buf, flags);
}

static lv_fs_res_t fs_close(lv_fs_drv_t *drv, void *file_p) {
    (void)drv;
    return fclose((FILE *)file_p) == 0 ? LV_FS_RES_OK : LV_FS_RES_UNKNOWN;
}

static lv_fs_res_t fs_read(lv_fs_drv_t *drv, void *file_p, void *buf, uint32_t btr, uint32_t *br) {
    (void)drv;
    *br = (uint32_t)fread(buf, 1, btr, (FILE *)file_p);
    return (*br < btr && ferror((FILE *)file_p)) ? LV_FS_RES_FS_ERR : LV_FS_RES_OK;
}

static lv_fs_res_t fs_write(lv_fs_drv_t *drv, void *file_p, const void *buf, uint32_t btw, uint32_t *bw) {
    (void)drv;
    *bw = (uint32_t)fwrite(buf, 1, btw, (FILE *)file_p);
    return *bw == btw ? LV_FS_RES_OK : LV_FS_RES_FS_ERR;
}

static lv_fs_res_t fs_seek(lv_fs_drv_t *drv, void *file_p, uint32_t pos, lv_fs_whence_t whence) {
    (void)drv;
    static const int origin[] = {
        [LV_FS_SEEK_SET] = SEEK_SET, [LV_FS_SEEK_CUR] = SEEK_CUR, [LV_FS_SEEK_END] = SEEK_END};
    if ((unsigned)whence >= sizeof(origin) / sizeof(origin[0]))
        return LV_FS_RES_INV_PARAM;
    int w = origin[whence];
    /* SEEK_CUR and SEEK_END take pos as a signed offset, as the unsigned argument wraps. */
    long ofs = whence == LV_FS_SEEK_SET ? (long)pos : (long)(int32_t)pos;
    return fseek((FILE *)file_p, ofs, w) == 0 ? LV_FS_RES_OK : LV_FS_RES_FS_ERR;
}

static lv_fs_res_t fs_tell(lv_fs_drv_t *drv, void *file_p, uint32_t *pos_p) {
    (void)drv;
    long pos = ftell((FILE *)file_p);
    if (pos < 0)
        return LV_FS_RES_FS_ERR;
    *pos_p = (uint32_t)pos;
    return LV_FS_RES_OK;
}

typedef struct {
    DIR *dir;
    char path[LV_FS_MAX_PATH_LENGTH];
} stdio_dir_t;

static void *fs_dir_open(lv_fs_drv_t *drv, const char *path) {
    (void)drv;
    stdio_dir_t *d = lv_mem_alloc(sizeof(stdio_dir_t));
    if (d == NULL)
        return NULL;
    if (!full_path(d->path, sizeof(d->path), path) || (d->dir = opendir(d->path)) == NULL) {
        lv_mem_free(d);
        return NULL;
    }
    return d;
}

static lv_fs_res_t fs_dir_read(lv_fs_drv_t *drv, void *dir_p, char *fn) {
    (void)drv;
    stdio_dir_t *d = dir_p;
    fn[0] = '\0';
    for (;;) {
        struct dirent *entry = readdir(d->dir);
        if (entry == NULL)
            return LV_FS_RES_OK;
        if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0)
            continue;

        bool is_dir = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            char buf[LV_FS_MAX_PATH_LENGTH];
            struct stat st;
            int n = snprintf(buf, sizeof(buf), "%s/%s", d->path, entry->d_name);
            is_dir = n > 0 && (size_t)n < sizeof(buf) && stat(buf, &st) == 0 && S_ISDIR(st.st_mode);
        }
        /* A name that does not fit the caller's buffer is skipped rather than cut into the name
         * of another file. */
        size_t len = strlen(entry->d_name) + (is_dir ? 1 : 0);
        if (len >= LV_FS_MAX_FN_LENGTH)
            continue;
        fn[0] = '/';
        memcpy(fn + (is_dir ? 1 : 0), entry->d_name, strlen(entry->d_name) + 1);
        return LV_FS_RES_OK;
    }
}

static lv_fs_res_t fs_dir_close(lv_fs_drv_t *drv, void *dir_p) {
    (void)drv;
    stdio_dir_t *d = dir_p;
    closedir(d->dir);
    lv_mem_free(d);
    return LV_FS_RES_OK;
}

void lv_fs_stdio_init(void) {
    lv_fs_drv_init(&stdio_drv);
    stdio_drv.letter = LV_FS_STDIO_LETTER;
    stdio_drv.open_cb = fs_open;
    stdio_drv.close_cb = fs_close;
    stdio_drv.read_cb = fs_read;
    stdio_drv.write_cb = fs_write;
    stdio_drv.seek_cb = fs_seek;
    stdio_drv.tell_cb = fs_tell;
    stdio_drv.dir_open_cb = fs_dir_open;
    stdio_drv.dir_read_cb = fs_dir_read;
    stdio_drv.dir_close_cb = fs_dir_close;
    lv_fs_drv_register(&stdio_drv);
}
