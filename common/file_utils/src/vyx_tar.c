#define _GNU_SOURCE
#include "vyx_tar.h"
#include "vyx_file_utils.h"
#include "sys_paths.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdatomic.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

#define TAR_ERR(fmt, ...) printf("[%s][%d]: " fmt, __func__, __LINE__, ##__VA_ARGS__)

#define TAR_FILE_SLEEP_US 50000
#define TAR_OFF_CRC       12
#define TAR_OFF_HEADLEN   16
#define TAR_OFF_COUNT     20

static atomic_uint s_partSeq; /* tells apart the scratch names of archives being written */

typedef struct {
    uint32_t offset;
    uint32_t length;
    uint32_t size;
    uint32_t crc;
    uint8_t nameLen; /* with the NUL */
    char name[256];
} TarEntry;

/* The head, entry table and record heads of an archive, read with bounds checks. */
typedef struct {
    unsigned char head[VYX_TAR_HEAD_LEN];
    uint8_t flags;
    int count;
    uint32_t storedCrc;
    uint32_t computedCrc;
    TarEntry entries[VYX_TAR_MAX_FILES];
} TarIndex;

static void put_le32(unsigned char *p, uint32_t v) {
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
    p[2] = (unsigned char)(v >> 16);
    p[3] = (unsigned char)(v >> 24);
}

static uint32_t get_le32(const unsigned char *p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static int read_at(FILE *fp, long offset, void *buf, size_t len) {
    return fseek(fp, offset, SEEK_SET) == 0 && fread(buf, 1, len, fp) == len ? 0 : -1;
}

/*
 * Reads the head, the entry table and every record head, and computes the head CRC. Every
 * offset and length is checked against the file before it is used, so a crafted archive can
 * make this fail but never read out of bounds. Tag and version are the caller's business.
 */
static int tar_read_index(FILE *fp, TarIndex *idx) {
    long fileSize = VYX_fsize(fp);
    if (fileSize < VYX_TAR_HEAD_LEN || read_at(fp, 0, idx->head, VYX_TAR_HEAD_LEN) != 0) {
        TAR_ERR("archive too short for its head\n");
        return -1;
    }
    idx->flags = idx->head[7];
    idx->count = idx->head[TAR_OFF_COUNT];
    idx->storedCrc = get_le32(idx->head + TAR_OFF_CRC);
    uint32_t headLen = get_le32(idx->head + TAR_OFF_HEADLEN);
    uint32_t wantLen = VYX_TAR_HEAD_LEN + VYX_TAR_ENTRY_LEN * (uint32_t)idx->count;
    if (headLen != wantLen || (uint64_t)fileSize < headLen) {
        TAR_ERR("head length error, headLen=%u, count=%d, fileSize=%ld\n", headLen, idx->count, fileSize);
        return -1;
    }
    unsigned char table[VYX_TAR_ENTRY_LEN * VYX_TAR_MAX_FILES];
    size_t tableLen = VYX_TAR_ENTRY_LEN * (size_t)idx->count;
    if (tableLen > 0 && read_at(fp, VYX_TAR_HEAD_LEN, table, tableLen) != 0) {
        TAR_ERR("entry table read error\n");
        return -1;
    }
    unsigned char head[VYX_TAR_HEAD_LEN];
    memcpy(head, idx->head, sizeof(head));
    put_le32(head + TAR_OFF_CRC, 0);
    uint32_t crc = VYX_crc32(0, head, sizeof(head));
    crc = VYX_crc32(crc, table, tableLen);

    for (int i = 0; i < idx->count; i++) {
        TarEntry *e = &idx->entries[i];
        e->offset = get_le32(table + VYX_TAR_ENTRY_LEN * i);
        e->length = get_le32(table + VYX_TAR_ENTRY_LEN * i + 4);
        if ((uint64_t)e->offset + e->length > (uint64_t)fileSize || e->length < VYX_TAR_RECORD_HEAD) {
            TAR_ERR("entry error, i=%d, offset=%u, length=%u, fileSize=%ld\n", i, e->offset, e->length,
                    fileSize);
            return -1;
        }
        unsigned char rec[VYX_TAR_RECORD_HEAD];
        if (read_at(fp, (long)e->offset, rec, sizeof(rec)) != 0) {
            TAR_ERR("record read error, i=%d\n", i);
            return -1;
        }
        e->size = get_le32(rec);
        e->crc = get_le32(rec + 4);
        e->nameLen = rec[8];
        if ((uint64_t)VYX_TAR_RECORD_HEAD + e->nameLen + e->size != e->length) {
            TAR_ERR("record length error, i=%d, length=%u, size=%u, nameLen=%u\n", i, e->length, e->size,
                    e->nameLen);
            return -1;
        }
        if (e->nameLen > 0 && read_at(fp, (long)e->offset + VYX_TAR_RECORD_HEAD, e->name, e->nameLen) != 0) {
            TAR_ERR("record name read error, i=%d\n", i);
            return -1;
        }
        crc = VYX_crc32(crc, rec, sizeof(rec));
        crc = VYX_crc32(crc, e->name, e->nameLen);
        e->name[e->nameLen] = '\0';
    }
    idx->computedCrc = crc;
    return 0;
}

/*
 * What unpacking adds to the bounds checks: records follow each other directly after the entry
 * table, and every name is a plain base name (not empty, ".", "..", no '/', at most 127 bytes,
 * NUL where the length says) that no other record of the archive uses.
 */
static int tar_check_layout(const TarIndex *idx) {
    uint64_t expect = VYX_TAR_HEAD_LEN + VYX_TAR_ENTRY_LEN * (uint64_t)idx->count;
    for (int i = 0; i < idx->count; i++) {
        const TarEntry *e = &idx->entries[i];
        if (e->offset != expect) {
            TAR_ERR("record offset error, i=%d, offset=%u, expected=%llu\n", i, e->offset,
                    (unsigned long long)expect);
            return -1;
        }
        expect += e->length;
        size_t len = strnlen(e->name, e->nameLen);
        if (e->nameLen < 2 || len != (size_t)e->nameLen - 1 || len > VYX_TAR_NAME_MAX ||
            strcmp(e->name, ".") == 0 || strcmp(e->name, "..") == 0 || strchr(e->name, '/') != NULL) {
            TAR_ERR("check file name error, i=%d\n", i);
            return -1;
        }
        for (int j = 0; j < i; j++) {
            if (strcmp(idx->entries[j].name, e->name) == 0) {
                TAR_ERR("duplicate file name, i=%d, name=%s\n", i, e->name);
                return -1;
            }
        }
    }
    return 0;
}

int VYX_tar_getBigHeadCrc32(FILE *fp, uint32_t *stored, uint32_t *computed) {
    if (fp == NULL || stored == NULL || computed == NULL) {
        TAR_ERR("param error\n");
        return -1;
    }
    TarIndex *idx = malloc(sizeof(*idx));
    if (idx == NULL) {
        TAR_ERR("malloc error\n");
        return -1;
    }
    long pos = ftell(fp);
    int ret = tar_read_index(fp, idx);
    if (ret == 0) {
        *stored = idx->storedCrc;
        *computed = idx->computedCrc;
    }
    fseek(fp, pos, SEEK_SET);
    free(idx);
    return ret;
}

/* ---- packing --------------------------------------------------------------------------- */

/* Base names of all files, refusing names that do not fit the format or occur twice. */
static int tar_collect_names(const char *const *files, int count, char (*names)[VYX_TAR_NAME_MAX + 1]) {
    for (int i = 0; i < count; i++) {
        if (files[i] == NULL) {
            TAR_ERR("fileList error, i=%d\n", i);
            return -1;
        }
        if (VYX_baseName(files[i], names[i], VYX_TAR_NAME_MAX + 1) != 0 || strcmp(names[i], ".") == 0 ||
            strcmp(names[i], "..") == 0) {
            TAR_ERR("VYX_baseName error, tarName=%s\n", files[i]);
            return -1;
        }
        for (int j = 0; j < i; j++) {
            if (strcmp(names[i], names[j]) == 0) {
                TAR_ERR("duplicate file name, file=%s\n", files[i]);
                return -1;
            }
        }
    }
    return 0;
}

static int tar_write_files(FILE *tar, const char *tarName, const char *const *files, int count,
                           char (*names)[VYX_TAR_NAME_MAX + 1], unsigned char *table, uint64_t *offset) {
    for (int i = 0; i < count; i++) {
        TAR_ERR("----- tar file[%d]=%s\n", i, files[i]);
        FILE *fp = fopen(files[i], "rb");
        if (fp == NULL) {
            TAR_ERR("fopen error, file=%s\n", files[i]);
            return -1;
        }
        long size = VYX_fsize(fp);
        if (size < 0 || (uint64_t)size > UINT32_MAX) {
            TAR_ERR("VYX_fsize error, file=%s\n", files[i]);
            fclose(fp);
            return -1;
        }
        uint32_t crc = 0;
        if (VYX_fcrc32(fp, 0, size, &crc) != 0) {
            TAR_ERR("VYX_fcrc32 error, file=%s\n", files[i]);
            fclose(fp);
            return -1;
        }
        size_t nameLen = strlen(names[i]) + 1;
        uint64_t length = VYX_TAR_RECORD_HEAD + nameLen + (uint64_t)size;
        if (*offset + length > UINT32_MAX) {
            TAR_ERR("archive too large, file=%s\n", files[i]);
            fclose(fp);
            return -1;
        }
        unsigned char rec[VYX_TAR_RECORD_HEAD];
        put_le32(rec, (uint32_t)size);
        put_le32(rec + 4, crc);
        rec[8] = (unsigned char)nameLen;
        if (VYX_fwrite(rec, sizeof(rec), tar) != 0 || VYX_fwrite(names[i], nameLen, tar) != 0) {
            TAR_ERR("VYX_fwrite error, tarName=%s\n", tarName);
            fclose(fp);
            return -1;
        }
        int copied = VYX_fcopy(tar, fp, (size_t)size);
        fclose(fp);
        if (copied != 0) {
            TAR_ERR("VYX_fcopy error, tarName=%s\n", tarName);
            return -1;
        }
        put_le32(table + VYX_TAR_ENTRY_LEN * i, (uint32_t)*offset);
        put_le32(table + VYX_TAR_ENTRY_LEN * i + 4, (uint32_t)length);
        *offset += length;
        VYX_throttleSleep(TAR_FILE_SLEEP_US);
    }
    return 0;
}

int VYX_tar(const char *tarName, const char *const *files, int count, uint8_t flags) {
    if (tarName == NULL || (files == NULL && count > 0) || count < 0 || count > VYX_TAR_MAX_FILES) {
        TAR_ERR("param error\n");
        return -1;
    }
    TAR_ERR("in ... , tarName=%s, fileNum=%d, flags=0x%02X\n", tarName, count, flags);
    char(*names)[VYX_TAR_NAME_MAX + 1] = calloc((size_t)(count > 0 ? count : 1), sizeof(*names));
    if (names == NULL) {
        TAR_ERR("malloc error\n");
        return -1;
    }
    if (tar_collect_names(files, count, names) != 0) {
        free(names);
        return -1;
    }

    uint32_t headLen = VYX_TAR_HEAD_LEN + VYX_TAR_ENTRY_LEN * (uint32_t)count;
    unsigned char *head = calloc(1, headLen);
    if (head == NULL) {
        TAR_ERR("malloc error\n");
        free(names);
        return -1;
    }
    memcpy(head, VYX_TAR_TAG, 4);
    memcpy(head + 4, VYX_TAR_VERSION, 3);
    head[7] = flags;
    put_le32(head + 8, (uint32_t)time(NULL));
    put_le32(head + TAR_OFF_HEADLEN, headLen);
    head[TAR_OFF_COUNT] = (unsigned char)count;

    VYX_tarLock(1);
    int ret = -1;
    /* The archive is written under a name of its own and renamed when complete: a failure
     * leaves no partial archive behind, and an archive of the same name stays as it was. */
    char part[PATH_MAX];
    FILE *tar = NULL;
    if (snprintf(part, sizeof(part), "%s.part.%d.%u", tarName, (int)getpid(),
                 (unsigned)atomic_fetch_add(&s_partSeq, 1)) >= (int)sizeof(part)) {
        TAR_ERR("path too long, tarName=%s\n", tarName);
    } else {
        int fd = open(part, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        tar = fd < 0 ? NULL : fdopen(fd, "wb+");
        if (tar == NULL && fd >= 0) {
            close(fd);
            unlink(part);
        }
    }
    if (tar == NULL) {
        TAR_ERR("fopen error, file=%s\n", tarName);
    } else if (VYX_fwrite(head, headLen, tar) != 0) {
        TAR_ERR("VYX_fwrite error, tarName=%s\n", tarName);
    } else {
        uint64_t offset = headLen;
        uint32_t stored = 0;
        uint32_t crc = 0;
        if (tar_write_files(tar, tarName, files, count, names, head + VYX_TAR_HEAD_LEN, &offset) != 0) {
            /* already reported */
        } else if (fseek(tar, 0, SEEK_SET) != 0 || VYX_fwrite(head, headLen, tar) != 0 || fflush(tar) != 0) {
            TAR_ERR("VYX_fwrite error, tarName=%s\n", tarName);
        } else if (VYX_tar_getBigHeadCrc32(tar, &stored, &crc) != 0) {
            TAR_ERR("VYX_tar_getBigHeadCrc32 error, tarName=%s\n", tarName);
        } else {
            put_le32(head + TAR_OFF_CRC, crc);
            if (fseek(tar, 0, SEEK_SET) != 0 || VYX_fwrite(head, VYX_TAR_HEAD_LEN, tar) != 0 ||
                VYX_fsync(tar) != 0) {
                TAR_ERR("VYX_fwrite error, tarName=%s\n", tarName);
            } else {
                ret = 0;
            }
        }
    }
    if (tar != NULL && fclose(tar) != 0 && ret == 0) {
        TAR_ERR("fclose error, tarName=%s\n", tarName);
        ret = -1;
    }
    if (tar != NULL && ret == 0 && rename(part, tarName) != 0) {
        TAR_ERR("rename error, tarName=%s, errno=%d,%s\n", tarName, errno, strerror(errno));
        ret = -1;
    }
    if (tar != NULL && ret != 0) {
        unlink(part);
    }
    VYX_tarLock(0);
    free(head);
    free(names);
    return ret;
}

/* Regular files of dir as full paths, for the directory variants. */
static int tar_dir_files(const char *dir, VYX_FileList *list, char ***paths) {
    memset(list, 0, sizeof(*list));
    if (snprintf(list->szDir, sizeof(list->szDir), "%s", dir) >= (int)sizeof(list->szDir)) {
        TAR_ERR("dir too long, dir=%s\n", dir);
        return -1;
    }
    list->s32Max = VYX_TAR_MAX_FILES;
    if (VYX_getfiles(list) != 0) {
        return -1;
    }
    *paths = calloc((size_t)(list->s32Num > 0 ? list->s32Num : 1), sizeof(char *));
    if (*paths == NULL) {
        VYX_freefiles(list);
        return -1;
    }
    for (int i = 0; i < list->s32Num; i++) {
        if (asprintf(&(*paths)[i], "%s/%s", dir, list->ppcNames[i]) < 0) {
            (*paths)[i] = NULL;
            return -1;
        }
    }
    return 0;
}

static void tar_free_paths(VYX_FileList *list, char **paths) {
    if (paths != NULL) {
        for (int i = 0; i < list->s32Num; i++) {
            free(paths[i]);
        }
    }
    free(paths);
    VYX_freefiles(list);
}

int VYX_tarDir(const char *tarName, const char *dir) {
    if (tarName == NULL || dir == NULL) {
        TAR_ERR("param error\n");
        return -1;
    }
    VYX_FileList list;
    char **paths = NULL;
    int ret = -1;
    if (tar_dir_files(dir, &list, &paths) == 0) {
        ret = VYX_tar(tarName, (const char *const *)paths, list.s32Num, 0);
    }
    tar_free_paths(&list, paths);
    return ret;
}

int VYX_zipTar(const char *tarName, const char *const *files, int count) {
    if (tarName == NULL || (files == NULL && count > 0) || count < 0 || count > VYX_TAR_MAX_FILES) {
        TAR_ERR("param error\n");
        return -1;
    }
    /* Each run compresses into a private directory below the scratch directory, so two runs at
     * once never meet, and removes only its own directory. */
    char tmpl[PATH_MAX];
    snprintf(tmpl, sizeof(tmpl), "%s/run.XXXXXX", SYS_PATH(VYX_TAR_ZIP_TMP_DIR));
    if (VYX_mkDir(SYS_PATH(VYX_TAR_ZIP_TMP_DIR)) != 0 || mkdtemp(tmpl) == NULL) {
        TAR_ERR("create temp dir error, dir=%s, errno=%d,%s\n", tmpl, errno, strerror(errno));
        return -1;
    }
    char(*names)[VYX_TAR_NAME_MAX + 1] = calloc((size_t)(count > 0 ? count : 1), sizeof(*names));
    char **zipped = calloc((size_t)(count > 0 ? count : 1), sizeof(char *));
    int ret = (names != NULL && zipped != NULL) ? tar_collect_names(files, count, names) : -1;
    for (int i = 0; ret == 0 && i < count; i++) {
        if (asprintf(&zipped[i], "%s/%s", tmpl, names[i]) < 0) {
            zipped[i] = NULL;
            ret = -1;
        } else if (VYX_zip(files[i], zipped[i], -1) != 0) {
            TAR_ERR("VYX_zip error, file=%s\n", files[i]);
            ret = -1;
        }
    }
    if (ret == 0) {
        ret = VYX_tar(tarName, (const char *const *)zipped, count, VYX_TAR_FLAG_ZIP);
    }
    if (zipped != NULL) {
        for (int i = 0; i < count; i++) {
            free(zipped[i]);
        }
    }
    free(zipped);
    free(names);
    if (VYX_rmDir(tmpl) != 0) {
        ret = -1;
    }
    return ret;
}

int VYX_zipTarDir(const char *tarName, const char *dir) {
    if (tarName == NULL || dir == NULL) {
        TAR_ERR("param error\n");
        return -1;
    }
    VYX_FileList list;
    char **paths = NULL;
    int ret = -1;
    if (tar_dir_files(dir, &list, &paths) == 0) {
        ret = VYX_zipTar(tarName, (const char *const *)paths, list.s32Num);
    }
    tar_free_paths(&list, paths);
    return ret;
}

/* ---- checking and unpacking ------------------------------------------------------------ */

/* Opens an archive and reads and checks everything that can be checked before any data:
 * tag, version, bounds, layout, names and the head CRC. */
static FILE *tar_open_checked(const char *tarName, TarIndex *idx) {
    FILE *fp = fopen(tarName, "rb");
    if (fp == NULL) {
        TAR_ERR("fopen error, file=%s\n", tarName);
        return NULL;
    }
    unsigned char head[VYX_TAR_HEAD_LEN];
    if (fread(head, 1, sizeof(head), fp) != sizeof(head) || memcmp(head, VYX_TAR_TAG, 4) != 0 ||
        memcmp(head + 4, VYX_TAR_VERSION, 3) != 0) {
        char data[8] = {0};
        memcpy(data, head, 7);
        for (int i = 0; i < 7; i++) {
            if ((unsigned char)data[i] < 0x20 || (unsigned char)data[i] > 0x7E) {
                data[i] = '?';
            }
        }
        TAR_ERR("tag or version error, data=%s\n", data);
        fclose(fp);
        return NULL;
    }
    if (tar_read_index(fp, idx) != 0) {
        fclose(fp);
        return NULL;
    }
    TAR_ERR("origCrc32=%08x, calcCrc32=%08x\n", idx->storedCrc, idx->computedCrc);
    if (idx->storedCrc != idx->computedCrc) {
        TAR_ERR("check crc32 error, tarName=%s\n", tarName);
        fclose(fp);
        return NULL;
    }
    if (tar_check_layout(idx) != 0) {
        TAR_ERR("check file name error, tarName=%s\n", tarName);
        fclose(fp);
        return NULL;
    }
    return fp;
}

/*
 * How many bytes unpacking may write: the archive limit, or the room the destination's file
 * system has beyond its reserve, whichever is smaller. *fromDisk tells which one it is.
 */
static int tar_unpack_budget(const char *dir, uint64_t maxBytes, uint64_t *budget, bool *fromDisk) {
    struct statvfs st;
    if (statvfs(dir, &st) != 0) {
        TAR_ERR("statvfs error, dir=%s, errno=%d,%s\n", dir, errno, strerror(errno));
        return -1;
    }
    uint64_t room = (uint64_t)st.f_bavail * (uint64_t)st.f_frsize;
    room = room > VYX_TAR_DISK_RESERVE ? room - VYX_TAR_DISK_RESERVE : 0;
    *fromDisk = room < maxBytes;
    *budget = *fromDisk ? room : maxBytes;
    return 0;
}

/* need is the exact size for stored data, 0 for compressed data that inflated past the budget. */
static void tar_report_budget(const char *tarName, const char *dir, uint64_t need, uint64_t budget,
                              bool fromDisk) {
    const char *more = need == 0 ? "more than " : "";
    unsigned long long shown = need == 0 ? budget : need;
    if (fromDisk) {
        TAR_ERR("unpacking would fill the disk, tarName=%s, dir=%s, needs %s%llu bytes, "
                "room %llu bytes (%u bytes kept free)\n",
                tarName, dir, more, shown, (unsigned long long)budget, VYX_TAR_DISK_RESERVE);
    } else {
        TAR_ERR("unpacked size over the limit, tarName=%s, needs %s%llu bytes, limit %llu bytes\n", tarName,
                more, shown, (unsigned long long)budget);
    }
}

static int tar_extract_one(FILE *fp, const char *tarName, const TarEntry *e, const char *dir, bool zip,
                           uint64_t *left) {
    long dataOff = (long)e->offset + VYX_TAR_RECORD_HEAD + e->nameLen;
    uint32_t crc = 0;
    if (VYX_fcrc32(fp, dataOff, (long)e->size, &crc) != 0 || crc != e->crc) {
        TAR_ERR("check crc32 error, tarName=%s, fullName=%s\n", tarName, e->name);
        return -1;
    }
    char full[PATH_MAX];
    if (snprintf(full, sizeof(full), "%s/%s", dir, e->name) >= (int)sizeof(full)) {
        TAR_ERR("path too long, dir=%s\n", dir);
        return -1;
    }
    int fd = open(full, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    FILE *out = fd < 0 ? NULL : fdopen(fd, "wb");
    if (out == NULL) {
        TAR_ERR("fopen error, file=%s, errno=%d,%s\n", full, errno, strerror(errno));
        if (fd >= 0) {
            close(fd);
        }
        return -1;
    }
    int ret = fseek(fp, dataOff, SEEK_SET) == 0 ? 0 : -1;
    bool overBudget = false;
    if (ret == 0 && zip) {
        uint64_t written = 0;
        ret = VYX_funzipLimit(out, fp, e->size, *left, &written);
        overBudget = ret != 0 && written == *left;
        *left -= written;
    } else if (ret == 0) {
        ret = VYX_fcopy(out, fp, e->size);
        *left -= e->size; /* checked against the budget before anything was written */
    }
    if (ret == 0) {
        ret = VYX_fsync(out);
    }
    if (fclose(out) != 0) {
        ret = -1;
    }
    if (ret != 0 && !overBudget) {
        TAR_ERR("write error, tarName=%s, fullName=%s\n", tarName, full);
    }
    return overBudget ? -2 : ret;
}

int VYX_untar(const char *tarName, const char *dir) {
    return VYX_untarMax(tarName, dir, VYX_TAR_UNPACK_MAX);
}

int VYX_untarMax(const char *tarName, const char *dir, uint64_t maxBytes) {
    if (tarName == NULL || dir == NULL || dir[0] == '\0') {
        TAR_ERR("param error\n");
        return -1;
    }
    TarIndex *idx = malloc(sizeof(*idx));
    if (idx == NULL) {
        TAR_ERR("malloc error\n");
        return -1;
    }
    VYX_tarLock(1);
    int ret = -1;
    FILE *fp = tar_open_checked(tarName, idx);
    if (fp != NULL) {
        if (VYX_isDir(dir) && VYX_rmDir(dir) != 0) {
            TAR_ERR("remove dir error, dir=%s\n", dir);
        } else if (VYX_mkDir(dir) != 0) {
            TAR_ERR("create dir error, dir=%s\n", dir);
        } else {
            bool zip = (idx->flags & VYX_TAR_FLAG_ZIP) != 0;
            uint64_t budget = 0;
            bool fromDisk = false;
            ret = tar_unpack_budget(dir, maxBytes, &budget, &fromDisk);
            /* Stored data have their sizes in the records: too much is refused before any is
             * written. Compressed data are counted while they inflate. */
            uint64_t stored = 0;
            for (int i = 0; i < idx->count; i++) {
                stored += idx->entries[i].size;
            }
            if (ret == 0 && !zip && stored > budget) {
                tar_report_budget(tarName, dir, stored, budget, fromDisk);
                ret = -1;
            }
            uint64_t left = budget;
            for (int i = 0; ret == 0 && i < idx->count; i++) {
                TAR_ERR("----- untar(type:%s) file[%d]=%s\n", zip ? "zip" : "raw", i, idx->entries[i].name);
                ret = tar_extract_one(fp, tarName, &idx->entries[i], dir, zip, &left);
                if (ret == -2) {
                    tar_report_budget(tarName, dir, 0, budget, fromDisk);
                    ret = -1;
                }
                VYX_throttleSleep(TAR_FILE_SLEEP_US);
            }
            if (ret != 0) {
                VYX_rmDir(dir);
            }
        }
        fclose(fp);
    }
    VYX_tarLock(0);
    free(idx);
    return ret;
}

int VYX_tarList(const char *tarName, VYX_TarListFn fn, void *user, uint8_t *flags) {
    if (tarName == NULL || fn == NULL) {
        TAR_ERR("param error\n");
        return -1;
    }
    TarIndex *idx = malloc(sizeof(*idx));
    if (idx == NULL) {
        TAR_ERR("malloc error\n");
        return -1;
    }
    FILE *fp = tar_open_checked(tarName, idx);
    int ret = -1;
    if (fp != NULL) {
        if (flags != NULL) {
            *flags = idx->flags;
        }
        for (int i = 0; i < idx->count; i++) {
            fn(idx->entries[i].name, idx->entries[i].size, user);
        }
        fclose(fp);
        ret = 0;
    }
    free(idx);
    return ret;
}
