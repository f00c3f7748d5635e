#define _GNU_SOURCE
#include "vyx_file_utils.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdatomic.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>
#include <zlib.h>

#define FU_ERR(fmt, ...) printf("[%s][%d]: " fmt, __func__, __LINE__, ##__VA_ARGS__)

#define FU_CRC_BLOCK       512
#define FU_ZLIB_BLOCK      (16 * 1024)
#define FU_WRITE_SYNC_SPAN 512000
#define FU_WRITE_SLEEP_US  20000
#define FU_MD5_BLOCK       1024
#define FU_DUMPINT_MAX     20

/* ---- throttling ------------------------------------------------------------------------ */

static _Atomic uint64_t g_sleptUs;
static atomic_bool g_throttleOff;

void VYX_throttleEnable(bool enable) {
    atomic_store(&g_throttleOff, !enable);
}

void VYX_throttleSleep(unsigned us) {
    if (atomic_load(&g_throttleOff)) {
        return;
    }
    struct timespec ts = {us / 1000000u, (long)(us % 1000000u) * 1000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
    atomic_fetch_add(&g_sleptUs, us);
}

uint64_t VYX_throttleSleptUs(void) {
    return atomic_load(&g_sleptUs);
}

/* Counts processed bytes and sleeps after each full 32 KiB. */
typedef struct {
    size_t pending;
} Throttle;

static void throttle_add(Throttle *t, size_t n) {
    t->pending += n;
    while (t->pending >= VYX_THROTTLE_BLOCK) {
        t->pending -= VYX_THROTTLE_BLOCK;
        VYX_throttleSleep(VYX_THROTTLE_SLEEP_US);
    }
}

/* ---- CRC-32 ---------------------------------------------------------------------------- */

static uint32_t g_crcTable[256];
static pthread_once_t g_crcOnce = PTHREAD_ONCE_INIT;

static void crc_build_table(void) {
    for (uint32_t i = 0; i < 256; i++) {
        uint32_t c = i;
        for (int k = 0; k < 8; k++) {
            c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        g_crcTable[i] = c;
    }
}

uint32_t VYX_crc32(uint32_t crc, const void *data, size_t len) {
    pthread_once(&g_crcOnce, crc_build_table);
    const unsigned char *p = data;
    uint32_t c = crc ^ 0xFFFFFFFFu;
    for (size_t i = 0; i < len; i++) {
        c = g_crcTable[(c ^ p[i]) & 0xFFu] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

/* ---- open files ------------------------------------------------------------------------ */

int VYX_fsync(FILE *fp) {
    if (fp == NULL) {
        FU_ERR("param error\n");
        return -1;
    }
    if (fflush(fp) != 0 || fsync(fileno(fp)) != 0) {
        FU_ERR("fsync error, errno=%d,%s\n", errno, strerror(errno));
        return -1;
    }
    return 0;
}

long VYX_fsize(FILE *fp) {
    if (fp == NULL) {
        FU_ERR("param error\n");
        return -1;
    }
    long pos = ftell(fp);
    if (pos < 0 || fseek(fp, 0, SEEK_END) != 0) {
        FU_ERR("seek error, errno=%d,%s\n", errno, strerror(errno));
        return -1;
    }
    long size = ftell(fp);
    if (fseek(fp, pos, SEEK_SET) != 0) {
        FU_ERR("seek error, errno=%d,%s\n", errno, strerror(errno));
        return -1;
    }
    return size;
}

long VYX_pathSize(const char *path) {
    if (path == NULL) {
        FU_ERR("param error\n");
        return 0;
    }
    FILE *fp = fopen(path, "rb");
    if (fp == NULL) {
        return 0;
    }
    long size = VYX_fsize(fp);
    fclose(fp);
    return size < 0 ? 0 : size;
}

long VYX_Statfsize(const char *path) {
    struct stat st;
    if (path == NULL || stat(path, &st) != 0) {
        printf("[%s][%d] get file(%s) size fail!!!\n", __func__, __LINE__, path ? path : "(null)");
        return 0;
    }
    return (long)st.st_size;
}

int VYX_fread(void *buf, long offset, long size, FILE *fp) {
    if (buf == NULL || fp == NULL || offset < 0 || size < 0) {
        FU_ERR("param error\n");
        return -1;
    }
    long fileSize = VYX_fsize(fp);
    if (fileSize < 0 || offset > fileSize || size > fileSize - offset) {
        FU_ERR("input error, ptr=%p, offset=%d, size=%d, fileSize=%d.\n", buf, (int)offset, (int)size,
               (int)fileSize);
        return -1;
    }
    long pos = ftell(fp);
    if (fseek(fp, offset, SEEK_SET) != 0) {
        FU_ERR("fseek error, offset=%d\n", (int)offset);
        return -1;
    }
    Throttle th = {0};
    unsigned char *dst = buf;
    long done = 0;
    int ret = 0;
    while (done < size) {
        size_t want = (size_t)(size - done) < VYX_THROTTLE_BLOCK ? (size_t)(size - done) : VYX_THROTTLE_BLOCK;
        size_t got = fread(dst + done, 1, want, fp);
        if (got != want) {
            FU_ERR("fread error, offset=%d, size=%d, done=%d\n", (int)offset, (int)size, (int)done);
            ret = -1;
            break;
        }
        done += (long)got;
        throttle_add(&th, got);
    }
    fseek(fp, pos, SEEK_SET);
    return ret;
}

int VYX_fwrite(const void *data, size_t len, FILE *fp) {
    if (data == NULL || fp == NULL) {
        FU_ERR("param error\n");
        return -1;
    }
    const unsigned char *p = data;
    size_t done = 0;
    size_t sinceSync = 0;
    while (done < len) {
        size_t n = fwrite(p + done, 1, len - done, fp);
        if (n == 0) {
            FU_ERR("fwrite error, len=%zu, done=%zu, errno=%d,%s\n", len, done, errno, strerror(errno));
            return -1;
        }
        done += n;
        sinceSync += n;
        if (sinceSync >= FU_WRITE_SYNC_SPAN) {
            sinceSync = 0;
            if (VYX_fsync(fp) != 0) {
                return -1;
            }
            VYX_throttleSleep(FU_WRITE_SLEEP_US);
        }
    }
    return 0;
}

int VYX_fcopy(FILE *dst, FILE *src, size_t len) {
    if (dst == NULL || src == NULL) {
        FU_ERR("param error\n");
        return -1;
    }
    unsigned char *buf = malloc(VYX_THROTTLE_BLOCK);
    if (buf == NULL) {
        FU_ERR("malloc error\n");
        return -1;
    }
    Throttle th = {0};
    int ret = 0;
    while (len > 0) {
        size_t want = len < VYX_THROTTLE_BLOCK ? len : VYX_THROTTLE_BLOCK;
        if (fread(buf, 1, want, src) != want) {
            FU_ERR("fread error, left=%zu\n", len);
            ret = -1;
            break;
        }
        if (VYX_fwrite(buf, want, dst) != 0) {
            ret = -1;
            break;
        }
        len -= want;
        throttle_add(&th, want);
    }
    free(buf);
    return ret;
}

int VYX_fdump(const char *path, long offset, void *buf, long *size) {
    if (path == NULL || buf == NULL || size == NULL || offset < 0 || *size < 0) {
        FU_ERR("param error\n");
        return -1;
    }
    FILE *fp = fopen(path, "rb");
    if (fp == NULL) {
        FU_ERR("fopen error, file=%s\n", path);
        return -1;
    }
    long fileSize = VYX_fsize(fp);
    int ret = -1;
    if (fileSize >= 0 && offset <= fileSize) {
        long want = fileSize - offset;
        if (want > *size) {
            FU_ERR("buffer too small, file=%s, need=%ld, have=%ld\n", path, want, *size);
        } else if (VYX_fread(buf, offset, want, fp) == 0) {
            *size = want;
            ret = 0;
        }
    } else {
        FU_ERR("offset error, file=%s, offset=%ld, fileSize=%ld\n", path, offset, fileSize);
    }
    fclose(fp);
    return ret;
}

int VYX_fcrc32(FILE *fp, long offset, long len, uint32_t *crc) {
    if (fp == NULL || crc == NULL || offset < 0 || len < 0) {
        FU_ERR("param error\n");
        return -1;
    }
    long pos = ftell(fp);
    if (fseek(fp, offset, SEEK_SET) != 0) {
        FU_ERR("fseek error, offset=%ld\n", offset);
        return -1;
    }
    unsigned char buf[FU_CRC_BLOCK];
    Throttle th = {0};
    uint32_t c = *crc;
    int ret = 0;
    while (len > 0) {
        size_t want = len < FU_CRC_BLOCK ? (size_t)len : FU_CRC_BLOCK;
        if (fread(buf, 1, want, fp) != want) {
            FU_ERR("fread error, left=%ld\n", len);
            ret = -1;
            break;
        }
        c = VYX_crc32(c, buf, want);
        len -= (long)want;
        throttle_add(&th, want);
    }
    fseek(fp, pos, SEEK_SET);
    if (ret == 0) {
        *crc = c;
    }
    return ret;
}

int VYX_funzip(FILE *dst, FILE *src, size_t len) {
    return VYX_funzipLimit(dst, src, len, UINT64_MAX, NULL);
}

int VYX_funzipLimit(FILE *dst, FILE *src, size_t len, uint64_t maxOut, uint64_t *written) {
    if (written != NULL) {
        *written = 0;
    }
    if (dst == NULL || src == NULL) {
        FU_ERR("param error\n");
        return -1;
    }
    unsigned char *in = malloc(2 * FU_ZLIB_BLOCK);
    if (in == NULL) {
        FU_ERR("malloc error\n");
        return -1;
    }
    unsigned char *out = in + FU_ZLIB_BLOCK;
    z_stream zs;
    memset(&zs, 0, sizeof(zs));
    if (inflateInit(&zs) != Z_OK) {
        FU_ERR("inflateInit error\n");
        free(in);
        return -1;
    }
    Throttle th = {0};
    int zret = Z_OK;
    int ret = 0;
    uint64_t done = 0;
    while (zret != Z_STREAM_END) {
        if (zs.avail_in == 0) {
            if (len == 0) {
                FU_ERR("zlib stream truncated\n");
                ret = -1;
                break;
            }
            size_t want = len < FU_ZLIB_BLOCK ? len : FU_ZLIB_BLOCK;
            if (fread(in, 1, want, src) != want) {
                FU_ERR("fread error, left=%zu\n", len);
                ret = -1;
                break;
            }
            len -= want;
            zs.next_in = in;
            zs.avail_in = (uInt)want;
            throttle_add(&th, want);
        }
        zs.next_out = out;
        zs.avail_out = FU_ZLIB_BLOCK;
        zret = inflate(&zs, Z_NO_FLUSH);
        if (zret != Z_OK && zret != Z_STREAM_END) {
            FU_ERR("inflate error, ret=%d\n", zret);
            ret = -1;
            break;
        }
        size_t have = FU_ZLIB_BLOCK - zs.avail_out;
        if (have > maxOut - done) {
            /* Up to the limit and not a byte past it. */
            if (VYX_fwrite(out, (size_t)(maxOut - done), dst) == 0) {
                done = maxOut;
            }
            FU_ERR("inflated data exceed the limit of %llu bytes\n", (unsigned long long)maxOut);
            ret = -1;
            break;
        }
        if (have > 0 && VYX_fwrite(out, have, dst) != 0) {
            ret = -1;
            break;
        }
        done += have;
    }
    if (written != NULL) {
        *written = done;
    }
    if (ret == 0 && (zs.avail_in != 0 || len != 0)) {
        FU_ERR("data after the end of the zlib stream\n");
        ret = -1;
    }
    inflateEnd(&zs);
    free(in);
    return ret;
}

/* ---- names and small files ------------------------------------------------------------- */

int VYX_baseName(const char *path, char *dst, size_t size) {
    if (path == NULL || dst == NULL || size == 0) {
        FU_ERR("param error\n");
        return -1;
    }
    const char *slash = strrchr(path, '/');
    const char *name = slash ? slash + 1 : path;
    size_t len = strlen(name);
    if (len == 0) {
        FU_ERR("no file name in path, path=%s\n", path);
        return -1;
    }
    if (len >= size) {
        FU_ERR("file name too long, path=%s, max=%zu\n", path, size - 1);
        return -1;
    }
    memcpy(dst, name, len + 1);
    return 0;
}

bool VYX_isDir(const char *path) {
    struct stat st;
    return path != NULL && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool VYX_isFile(const char *path) {
    struct stat st;
    return path != NULL && stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

int VYX_fdumpInt(const char *path) {
    if (path == NULL || !VYX_isFile(path)) {
        return -1;
    }
    FU_ERR("file exists, %s\n", path);
    char buf[FU_DUMPINT_MAX + 1] = {0};
    FILE *fp = fopen(path, "rb");
    if (fp == NULL) {
        return -1;
    }
    size_t n = fread(buf, 1, FU_DUMPINT_MAX, fp);
    fclose(fp);
    if (n < 1 || n > FU_DUMPINT_MAX - 1) {
        return -1;
    }
    buf[n] = '\0';
    int data = atoi(buf);
    FU_ERR("data=%d, buf=%s\n", data, buf);
    return data;
}

int VYX_ftouch(const char *path) {
    if (path == NULL) {
        FU_ERR("param error\n");
        return -1;
    }
    int value = VYX_fdumpInt(path);
    int next = value < 0 ? 1 : value + 1;
    char text[FU_DUMPINT_MAX];
    int len = snprintf(text, sizeof(text), "%d", next);
    FILE *fp = fopen(path, "wb");
    if (fp == NULL || fwrite(text, 1, (size_t)len, fp) != (size_t)len || VYX_fsync(fp) != 0) {
        if (fp != NULL) {
            fclose(fp);
        }
        FU_ERR("failed, file=%s!\n", path);
        return -1;
    }
    fclose(fp);
    FU_ERR("success, file=%s, data=%d!\n", path, next);
    return 0;
}

int VYX_fecho(const char *path, const char *text) {
    if (path == NULL || text == NULL) {
        FU_ERR("param error\n");
        return -1;
    }
    FILE *fp = fopen(path, "wb");
    if (fp == NULL) {
        FU_ERR("fopen error, file=%s\n", path);
        return -1;
    }
    size_t size = strlen(text) + 1;
    int ret = VYX_fwrite(text, size, fp) == 0 ? VYX_fsync(fp) : -1;
    fclose(fp);
    if (ret == 0) {
        printf("%s > %s, echo_size:%zu\n", text, path, size);
    }
    return ret;
}

int VYX_fCat(const char *path, char *buf, size_t max) {
    if (path == NULL || buf == NULL) {
        FU_ERR("param error\n");
        return -1;
    }
    FILE *fp = fopen(path, "rb");
    if (fp == NULL) {
        FU_ERR("fopen error, file=%s\n", path);
        return -1;
    }
    size_t n = fread(buf, 1, max, fp);
    int err = ferror(fp);
    fclose(fp);
    if (err) {
        FU_ERR("fread error, file=%s\n", path);
        return -1;
    }
    return (int)n;
}

/* ---- directories ----------------------------------------------------------------------- */

/* Directories are created rwx for everyone before the process's umask. */
#define FU_DIR_MODE 0777

int VYX_mkDir(const char *path) {
    if (path == NULL) {
        FU_ERR("param is null.\n");
        return -1;
    }
    if (path[0] == '\0') {
        FU_ERR("Empty Dir path\n");
        return -1;
    }
    char buf[VYX_MKDIR_PATH_MAX + 1];
    size_t len = strlen(path);
    if (len + 1 > VYX_MKDIR_PATH_MAX) {
        FU_ERR("path too long, %s\n", path);
        return -1;
    }
    memcpy(buf, path, len + 1);
    if (buf[len - 1] != '/') {
        buf[len] = '/';
        buf[len + 1] = '\0';
    }
    for (char *p = buf + 1; *p != '\0'; p++) {
        if (*p != '/') {
            continue;
        }
        *p = '\0';
        struct stat st;
        if (stat(buf, &st) == 0) {
            if (!S_ISDIR(st.st_mode)) {
                char bak[VYX_MKDIR_PATH_MAX + 8];
                snprintf(bak, sizeof(bak), "%s.BAK", buf);
                FU_ERR("rename %s to %s\n", buf, bak);
                if (rename(buf, bak) != 0) {
                    FU_ERR("Rename File %s to %s failed, errno=%d,%s\n", buf, bak, errno, strerror(errno));
                    return -1;
                }
                if (mkdir(buf, FU_DIR_MODE) != 0) {
                    FU_ERR("Failed to mkdir %s, errno=%d,%s\n", buf, errno, strerror(errno));
                    return -1;
                }
            }
        } else {
            FU_ERR("mkdir %s\n", buf);
            if (mkdir(buf, FU_DIR_MODE) != 0 && errno != EEXIST) {
                FU_ERR("Failed to mkdir %s, errno=%d,%s\n", buf, errno, strerror(errno));
                return -1;
            }
        }
        *p = '/';
    }
    return 0;
}

static int rm_tree(const char *dir, bool keep) {
    DIR *d = opendir(dir);
    if (d == NULL) {
        FU_ERR("Open Dir[%s] failed\n", dir);
        return -1;
    }
    int ret = 0;
    struct dirent *e;
    while ((e = readdir(d)) != NULL) {
        if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) {
            continue;
        }
        char full[VYX_PATH_MAX];
        if (snprintf(full, sizeof(full), "%s/%s", dir, e->d_name) >= (int)sizeof(full)) {
            FU_ERR("path too long, %s/%s\n", dir, e->d_name);
            ret = -1;
            break;
        }
        struct stat st;
        if (lstat(full, &st) == 0 && S_ISDIR(st.st_mode)) {
            if (rm_tree(full, false) != 0) {
                FU_ERR("Delete SubDir[%s] failed\n", full);
                ret = -1;
                break;
            }
        } else if (remove(full) != 0) {
            FU_ERR("Delete File[%s] failed, errno=%d,%s.\n", full, errno, strerror(errno));
            ret = -1;
            break;
        }
    }
    closedir(d);
    if (ret != 0) {
        return ret;
    }
    if (keep) {
        FU_ERR("retain %s\n", dir);
        return 0;
    }
    FU_ERR("rmdir %s\n", dir);
    if (rmdir(dir) != 0) {
        FU_ERR("Delete Dir[%s] failed, errno=%d,%s.\n", dir, errno, strerror(errno));
        return -1;
    }
    return 0;
}

int VYX_rmDir(const char *path) {
    if (path == NULL) {
        FU_ERR("param is null.\n");
        return -1;
    }
    size_t len = strlen(path);
    if (len < 2) {
        FU_ERR("param error, dir=%s.\n", path);
        return -1;
    }
    char dir[VYX_PATH_MAX];
    if (len >= sizeof(dir)) {
        FU_ERR("param error, dir=%s.\n", path);
        return -1;
    }
    memcpy(dir, path, len + 1);
    bool keep = false;
    if (len >= 2 && strcmp(dir + len - 2, "/*") == 0) {
        dir[len - 2] = '\0';
        keep = true;
    } else if (dir[len - 1] == '/') {
        dir[len - 1] = '\0';
        keep = true;
    }
    if (dir[0] == '\0') {
        FU_ERR("param error, dir=%s.\n", path);
        return -1;
    }
    return rm_tree(dir, keep);
}

int VYX_cpFile(const char *from, const char *to) {
    if (from == NULL || to == NULL) {
        FU_ERR("param error\n");
        return -1;
    }
    FILE *src = fopen(from, "rb");
    if (src == NULL) {
        FU_ERR("fopen error, file=%s\n", from);
        return -1;
    }
    FILE *dst = fopen(to, "wb");
    if (dst == NULL) {
        FU_ERR("fopen error, file=%s\n", to);
        fclose(src);
        return -1;
    }
    long size = VYX_fsize(src);
    int ret = size < 0 ? -1 : VYX_fcopy(dst, src, (size_t)size);
    if (ret == 0) {
        ret = VYX_fsync(dst);
    }
    fclose(src);
    fclose(dst);
    return ret;
}

int VYX_cpDir(const char *from, const char *to) {
    if (from == NULL || to == NULL) {
        FU_ERR("param error\n");
        return -1;
    }
    if (VYX_mkDir(to) != 0) {
        return -1;
    }
    DIR *d = opendir(from);
    if (d == NULL) {
        FU_ERR("Open Dir[%s] failed\n", from);
        return -1;
    }
    int ret = 0;
    struct dirent *e;
    while (ret == 0 && (e = readdir(d)) != NULL) {
        if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) {
            continue;
        }
        char src[VYX_PATH_MAX];
        char dst[VYX_PATH_MAX];
        if (snprintf(src, sizeof(src), "%s/%s", from, e->d_name) >= (int)sizeof(src) ||
            snprintf(dst, sizeof(dst), "%s/%s", to, e->d_name) >= (int)sizeof(dst)) {
            FU_ERR("path too long, %s\n", e->d_name);
            ret = -1;
            break;
        }
        ret = VYX_isDir(src) ? VYX_cpDir(src, dst) : VYX_cpFile(src, dst);
    }
    closedir(d);
    return ret;
}

int VYX_getDirFilesNum(const char *dir, int *files, int *dirs) {
    if (dir == NULL || files == NULL || dirs == NULL) {
        FU_ERR("param error\n");
        return -1;
    }
    DIR *d = opendir(dir);
    if (d == NULL) {
        FU_ERR("Open Dir[%s] failed\n", dir);
        return -1;
    }
    *files = 0;
    *dirs = 0;
    struct dirent *e;
    while ((e = readdir(d)) != NULL) {
        if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) {
            continue;
        }
        char full[VYX_PATH_MAX];
        if (snprintf(full, sizeof(full), "%s/%s", dir, e->d_name) < (int)sizeof(full) && VYX_isDir(full)) {
            (*dirs)++;
        } else {
            (*files)++;
        }
    }
    closedir(d);
    return 0;
}

/* ---- zlib files ------------------------------------------------------------------------ */

int VYX_zip(const char *srcFile, const char *zipFile, int level) {
    if (srcFile == NULL || zipFile == NULL) {
        FU_ERR("param error\n");
        return -1;
    }
    FILE *src = fopen(srcFile, "rb");
    if (src == NULL) {
        FU_ERR("fopen error, file=%s\n", srcFile);
        return -1;
    }
    FILE *dst = fopen(zipFile, "wb");
    if (dst == NULL) {
        FU_ERR("fopen error, file=%s\n", zipFile);
        fclose(src);
        return -1;
    }
    unsigned char *in = malloc(2 * FU_ZLIB_BLOCK);
    z_stream zs;
    memset(&zs, 0, sizeof(zs));
    int ret = 0;
    if (in == NULL || deflateInit(&zs, level) != Z_OK) {
        FU_ERR("deflateInit error, level=%d\n", level);
        free(in);
        fclose(src);
        fclose(dst);
        return -1;
    }
    unsigned char *out = in + FU_ZLIB_BLOCK;
    Throttle th = {0};
    int flush = Z_NO_FLUSH;
    while (ret == 0 && flush != Z_FINISH) {
        size_t n = fread(in, 1, FU_ZLIB_BLOCK, src);
        if (ferror(src)) {
            FU_ERR("fread error, file=%s\n", srcFile);
            ret = -1;
            break;
        }
        flush = feof(src) ? Z_FINISH : Z_NO_FLUSH;
        zs.next_in = in;
        zs.avail_in = (uInt)n;
        throttle_add(&th, n);
        do {
            zs.next_out = out;
            zs.avail_out = FU_ZLIB_BLOCK;
            if (deflate(&zs, flush) == Z_STREAM_ERROR) {
                FU_ERR("deflate error\n");
                ret = -1;
                break;
            }
            size_t have = FU_ZLIB_BLOCK - zs.avail_out;
            if (have > 0 && VYX_fwrite(out, have, dst) != 0) {
                ret = -1;
                break;
            }
        } while (zs.avail_out == 0);
    }
    deflateEnd(&zs);
    free(in);
    fclose(src);
    if (ret == 0) {
        ret = VYX_fsync(dst);
    }
    fclose(dst);
    return ret;
}

int VYX_unzip(const char *zipFile, const char *dstFile) {
    if (zipFile == NULL || dstFile == NULL) {
        FU_ERR("param error\n");
        return -1;
    }
    FILE *src = fopen(zipFile, "rb");
    if (src == NULL) {
        FU_ERR("fopen error, file=%s\n", zipFile);
        return -1;
    }
    long size = VYX_fsize(src);
    FILE *dst = size < 0 ? NULL : fopen(dstFile, "wb");
    if (dst == NULL) {
        FU_ERR("fopen error, file=%s\n", dstFile);
        fclose(src);
        return -1;
    }
    int ret = VYX_funzip(dst, src, (size_t)size);
    if (ret == 0) {
        ret = VYX_fsync(dst);
    }
    fclose(src);
    fclose(dst);
    return ret;
}

/* ---- directory listings ---------------------------------------------------------------- */

static int cmp_names(const void *a, const void *b) {
    return strcmp(*(char *const *)a, *(char *const *)b);
}

/* Names of dir's entries (without "." and ".."), sorted, in one block. regularOnly keeps only
 * regular files. */
static int list_dir(const char *dir, bool regularOnly, int max, char ***names, int *num, char **block) {
    DIR *d = opendir(dir);
    if (d == NULL) {
        FU_ERR("Open Dir[%s] failed\n", dir);
        return -1;
    }
    size_t cap = 4096;
    size_t used = 0;
    char *blk = malloc(cap);
    int n = 0;
    int ret = 0;
    struct dirent *e;
    while (blk != NULL && (e = readdir(d)) != NULL) {
        if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) {
            continue;
        }
        if (regularOnly) {
            char full[VYX_PATH_MAX];
            if (snprintf(full, sizeof(full), "%s/%s", dir, e->d_name) >= (int)sizeof(full) ||
                !VYX_isFile(full)) {
                continue;
            }
        }
        if (n >= max) {
            FU_ERR("too many files in %s, max=%d\n", dir, max);
            ret = -1;
            break;
        }
        size_t len = strlen(e->d_name) + 1;
        if (used + len > cap) {
            while (used + len > cap) {
                cap *= 2;
            }
            char *grown = realloc(blk, cap);
            if (grown == NULL) {
                free(blk);
                blk = NULL;
                break;
            }
            blk = grown;
        }
        memcpy(blk + used, e->d_name, len);
        used += len;
        n++;
    }
    closedir(d);
    if (blk == NULL) {
        FU_ERR("malloc error\n");
        return -1;
    }
    char **arr = ret == 0 ? calloc((size_t)(n > 0 ? n : 1), sizeof(char *)) : NULL;
    if (arr == NULL) {
        if (ret == 0) {
            FU_ERR("malloc error\n");
        }
        free(blk);
        return -1;
    }
    size_t off = 0;
    for (int i = 0; i < n; i++) {
        arr[i] = blk + off;
        off += strlen(blk + off) + 1;
    }
    qsort(arr, (size_t)n, sizeof(char *), cmp_names);
    *names = arr;
    *num = n;
    *block = blk;
    return 0;
}

int VYX_getfiles(VYX_FileList *pstList) {
    if (pstList == NULL || pstList->s32Max <= 0) {
        FU_ERR("param error\n");
        return -1;
    }
    pstList->ppcNames = NULL;
    pstList->pcBlock = NULL;
    pstList->s32Num = 0;
    if (list_dir(pstList->szDir, true, pstList->s32Max, &pstList->ppcNames, &pstList->s32Num,
                 &pstList->pcBlock) != 0) {
        return -1;
    }
    FU_ERR("arraySize=%d, max=%d\n", pstList->s32Num, pstList->s32Max);
    return 0;
}

void VYX_freefiles(VYX_FileList *pstList) {
    if (pstList == NULL) {
        return;
    }
    free(pstList->ppcNames);
    free(pstList->pcBlock);
    pstList->ppcNames = NULL;
    pstList->pcBlock = NULL;
    pstList->s32Num = 0;
}

bool VYX_isFileByKeyword(const char *dir, const char *keyword) {
    if (dir == NULL || keyword == NULL) {
        FU_ERR("param error\n");
        return false;
    }
    DIR *d = opendir(dir);
    if (d == NULL) {
        FU_ERR("Open Dir[%s] failed\n", dir);
        return false;
    }
    bool found = false;
    struct dirent *e;
    while (!found && (e = readdir(d)) != NULL) {
        found = strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0 && strstr(e->d_name, keyword);
    }
    closedir(d);
    return found;
}

int VYX_filterDelOldestFile(const char *dir, const char *pattern, int keep) {
    if (dir == NULL || keep < 0) {
        FU_ERR("param error\n");
        return -1;
    }
    char **names = NULL;
    char *block = NULL;
    int num = 0;
    if (list_dir(dir, false, 1 << 20, &names, &num, &block) != 0) {
        return -1;
    }
    int kept = 0;
    int ret = 0;
    for (int i = num - 1; i >= 0; i--) {
        char full[VYX_PATH_MAX];
        if (snprintf(full, sizeof(full), "%s/%s", dir, names[i]) >= (int)sizeof(full)) {
            continue;
        }
        if (VYX_isDir(full) || (pattern != NULL && strstr(names[i], pattern) == NULL)) {
            continue;
        }
        if (kept < keep) {
            kept++;
            continue;
        }
        FU_ERR("remove file = %s\n", full);
        if (remove(full) != 0) {
            FU_ERR("Delete File[%s] failed, errno=%d,%s.\n", full, errno, strerror(errno));
            ret = -1;
        }
    }
    free(names);
    free(block);
    return ret;
}

/* ---- numbers and clocks ---------------------------------------------------------------- */

long long VYX_hexToInt(const char *text) {
    if (text == NULL || text[0] == '\0' || strlen(text) > 15) {
        return -1;
    }
    long long v = 0;
    for (const char *p = text; *p != '\0'; p++) {
        int d;
        if (*p >= '0' && *p <= '9') {
            d = *p - '0';
        } else if (*p >= 'a' && *p <= 'f') {
            d = *p - 'a' + 10;
        } else if (*p >= 'A' && *p <= 'F') {
            d = *p - 'A' + 10;
        } else {
            return -1;
        }
        v = v * 16 + d;
    }
    return v;
}

double VYX_getMonotonicSec(void) {
    struct timespec ts;
    if (clock_gettime(CLOCK_MONOTONIC, &ts) != 0) {
        return 0;
    }
    return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

/* ---- the archive lock ------------------------------------------------------------------ */

static pthread_mutex_t g_tarMutex = PTHREAD_MUTEX_INITIALIZER;
static pthread_mutex_t g_tarStateMutex = PTHREAD_MUTEX_INITIALIZER;
static pthread_t g_tarOwner;
static int g_tarDepth;

int VYX_tarLock(int take) {
    pthread_t self = pthread_self();
    if (take) {
        pthread_mutex_lock(&g_tarStateMutex);
        if (g_tarDepth > 0 && pthread_equal(g_tarOwner, self)) {
            g_tarDepth++;
            pthread_mutex_unlock(&g_tarStateMutex);
            return 0;
        }
        pthread_mutex_unlock(&g_tarStateMutex);
        pthread_mutex_lock(&g_tarMutex);
        pthread_mutex_lock(&g_tarStateMutex);
        g_tarOwner = self;
        g_tarDepth = 1;
        pthread_mutex_unlock(&g_tarStateMutex);
        return 0;
    }
    pthread_mutex_lock(&g_tarStateMutex);
    if (g_tarDepth == 0 || !pthread_equal(g_tarOwner, self)) {
        pthread_mutex_unlock(&g_tarStateMutex);
        FU_ERR("archive lock not held by this thread\n");
        return -1;
    }
    int depth = --g_tarDepth;
    pthread_mutex_unlock(&g_tarStateMutex);
    if (depth == 0) {
        pthread_mutex_unlock(&g_tarMutex);
    }
    return 0;
}
