/*
 * The "vyxT" archive, version "1.0": up to 255 files in one file, a CRC-32 per file and one
 * CRC-32 over all headers, file data stored or each compressed as a zlib stream.
 *
 *   head (21 bytes, little-endian): "vyxT", "1.0", flags (bit 0: zlib data), creation time,
 *        head CRC-32, head length (21 + 8 x count), file count
 *   entry table: count x {record offset, record length}
 *   file records: data size, data CRC-32, name length n (with NUL), name, data
 *
 * The head CRC covers the head and entry table (with the CRC field as zeros) and then the first
 * 9 + n bytes of every record in table order.
 */
#ifndef VYX_TAR_H
#define VYX_TAR_H

#include <stdint.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VYX_TAR_TAG         "vyxT"
#define VYX_TAR_VERSION     "1.0"
#define VYX_TAR_HEAD_LEN    21
#define VYX_TAR_ENTRY_LEN   8
#define VYX_TAR_RECORD_HEAD 9
#define VYX_TAR_MAX_FILES   255
#define VYX_TAR_NAME_MAX    127 /* bytes of a file name, without its NUL */
#define VYX_TAR_FLAG_ZIP    0x01
/* Scratch directory of the compressing variants (below the system root). */
#define VYX_TAR_ZIP_TMP_DIR "/app/sd/vyx_temp/tar/zlib"

int VYX_tar(const char *tarName, const char *const *files, int count, uint8_t flags);
int VYX_tarDir(const char *tarName, const char *dir);
int VYX_zipTar(const char *tarName, const char *const *files, int count);
int VYX_zipTarDir(const char *tarName, const char *dir);
/*
 * Unpacking writes at most VYX_TAR_UNPACK_MAX bytes of file data, and never so much that less
 * than VYX_TAR_DISK_RESERVE bytes stay free on the destination's file system. An archive that
 * needs more is refused with one line that says which bound it hit: stored data before anything
 * is written, compressed data as soon as they inflate past the bound (nothing past it is
 * written); the destination is removed as after any other failure.
 */
#define VYX_TAR_UNPACK_MAX   (256ull * 1024 * 1024)
#define VYX_TAR_DISK_RESERVE (1024u * 1024)

/* Checks the whole archive and unpacks it into dir, which is replaced. */
int VYX_untar(const char *tarName, const char *dir);
/* The same with another bound than VYX_TAR_UNPACK_MAX on the unpacked size. */
int VYX_untarMax(const char *tarName, const char *dir, uint64_t maxBytes);
/* Reads the stored head CRC of an open archive and computes it anew. */
int VYX_tar_getBigHeadCrc32(FILE *fp, uint32_t *stored, uint32_t *computed);

/* Checks the head CRC and the structure of an archive and calls fn for each file in table
 * order with its name and its stored data size. Returns 0 or -1. */
typedef void (*VYX_TarListFn)(const char *name, uint32_t size, void *user);
int VYX_tarList(const char *tarName, VYX_TarListFn fn, void *user, uint8_t *flags);

#ifdef __cplusplus
}
#endif

#endif /* VYX_TAR_H */
