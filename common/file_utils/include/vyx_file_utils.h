/*
 * File, directory, compression and checksum helpers.
 *
 * One convention throughout: every function checks its arguments, prints one line on failure
 * that starts with "[function][line]: ", and returns 0 on success or -1 on failure (the size
 * and count functions return the value). Bulk transfers run in bounded blocks with short sleeps
 * (5 ms after each 32 KiB) so that long operations never monopolise the storage.
 */
#ifndef VYX_FILE_UTILS_H
#define VYX_FILE_UTILS_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VYX_PATH_MAX          128 /* directory walks and joined "%s/%s" names */
#define VYX_MKDIR_PATH_MAX    255
#define VYX_THROTTLE_BLOCK    (32 * 1024)
#define VYX_THROTTLE_SLEEP_US 5000

/* fflush and fsync of an open file. */
int VYX_fsync(FILE *fp);
/* Size of an open file by seeking to its end; the position is kept. */
long VYX_fsize(FILE *fp);
/* Size of the named file, 0 if it cannot be opened. */
long VYX_pathSize(const char *path);
/* Size of the named file by stat, 0 on failure. */
long VYX_Statfsize(const char *path);
/* Reads size bytes at offset (which must lie within the file) in blocks of at most 32 KiB;
 * the file position is kept. */
int VYX_fread(void *buf, long offset, long size, FILE *fp);
/* Writes all len bytes; syncs and sleeps 20 ms after every 512 000 bytes. */
int VYX_fwrite(const void *data, size_t len, FILE *fp);
/* Copies len bytes from src's current position to dst. */
int VYX_fcopy(FILE *dst, FILE *src, size_t len);
/* Reads the file from offset into buf. *size is the capacity of buf on entry and the number of
 * bytes read on return; a file that does not fit is an error. */
int VYX_fdump(const char *path, long offset, void *buf, long *size);
/* Continues the CRC-32 *crc (0 to start) over len bytes at offset; the position is kept. */
int VYX_fcrc32(FILE *fp, long offset, long len, uint32_t *crc);
/* Inflates a zlib stream of exactly len bytes from src's position into dst. */
int VYX_funzip(FILE *dst, FILE *src, size_t len);
/* The same, refusing a stream that inflates to more than maxOut bytes: nothing past maxOut is
 * written. *written (may be NULL) gets the number of bytes written. */
int VYX_funzipLimit(FILE *dst, FILE *src, size_t len, uint64_t maxOut, uint64_t *written);
/* Copies the part of path after its last '/' (the whole path when it has none) into dst.
 * Nothing after the last '/', or a name that does not fit into size bytes, is an error. */
int VYX_baseName(const char *path, char *dst, size_t size);
bool VYX_isDir(const char *path);
bool VYX_isFile(const char *path);
/* Counter files: a value of 1 to 19 decimal characters. */
int VYX_fdumpInt(const char *path);
int VYX_ftouch(const char *path);
/* Writes text including its NUL into a new file. */
int VYX_fecho(const char *path, const char *text);
/* Reads at most max bytes of a file; returns the count. */
int VYX_fCat(const char *path, char *buf, size_t max);
/* Creates path and every missing parent; a file in the way is renamed to "<name>.BAK". */
int VYX_mkDir(const char *path);
/* Removes a directory tree. A path that ends in a slash, or in a slash and a star, empties the
 * directory and keeps it. */
int VYX_rmDir(const char *path);
int VYX_cpFile(const char *from, const char *to);
int VYX_cpDir(const char *from, const char *to);
/* Counts the entries of one directory: directories into *dirs, everything else into *files. */
int VYX_getDirFilesNum(const char *dir, int *files, int *dirs);
/* zlib stream files; level -1 is zlib's default. */
int VYX_zip(const char *srcFile, const char *zipFile, int level);
int VYX_unzip(const char *zipFile, const char *dstFile);

/* The regular files of one directory, sorted by name. */
typedef struct {
    char szDir[VYX_PATH_MAX]; /* set by the caller */
    char **ppcNames;          /* s32Num names, each a base name */
    int s32Num;
    int s32Max;    /* set by the caller: the most names accepted (more is an error) */
    char *pcBlock; /* one block holding the names */
} VYX_FileList;
int VYX_getfiles(VYX_FileList *pstList);
void VYX_freefiles(VYX_FileList *pstList);

bool VYX_isFileByKeyword(const char *dir, const char *keyword);
/* Keeps the keep alphabetically last non-directory entries whose names contain pattern (all
 * entries when pattern is NULL) and removes the others. */
int VYX_filterDelOldestFile(const char *dir, const char *pattern, int keep);

int VYX_getFileMd5(const char *path, unsigned char digest[16]);
void VYX_md5ToHex(const unsigned char digest[16], char text[33]);
/* MD5 of a memory block (RFC 1321). */
void VYX_md5(const void *data, size_t len, unsigned char digest[16]);
/* Hexadecimal digits of either case; anything else, an empty text or more than 15 digits: -1. */
long long VYX_hexToInt(const char *text);
double VYX_getMonotonicSec(void);

/* The archive lock: take (1) or release (0). The owning thread may take it again. */
int VYX_tarLock(int take);

/* Standard reflected CRC-32, continued from crc (0 to start), like zlib's crc32(). */
uint32_t VYX_crc32(uint32_t crc, const void *data, size_t len);

/* Total time the throttling sleeps of this process took, in microseconds (for measurements). */
uint64_t VYX_throttleSleptUs(void);
/* Sleeps us microseconds and counts them as throttling. */
void VYX_throttleSleep(unsigned us);
/* Throttling sleeps on (the default) or off, for the whole process (fuzzing, tools in a hurry). */
void VYX_throttleEnable(bool enable);

#ifdef __cplusplus
}
#endif

#endif /* VYX_FILE_UTILS_H */
