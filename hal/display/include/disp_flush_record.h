/*
 * Hand-over between the user interface and the display process.
 *
 * The user interface renders each flushed area into the shared-memory object "shm.test",
 * packed row after row from its start, (x2 - x1 + 1) pixels of 4 bytes per row. It then writes
 * one 20-byte area record to the FIFO "/dev/ui_flush.fifo", posts "/sem0" and waits on "/sem1";
 * the display process reads the record, waits on "/sem0", takes the pixels and posts "/sem1".
 *
 * Area record, little-endian: x1, y1, x2, y2 as signed 32-bit values (inclusive corners in
 * panel coordinates), then four zero bytes.
 */
#ifndef DISP_FLUSH_RECORD_H
#define DISP_FLUSH_RECORD_H

#include <stddef.h>
#include <stdint.h>

#include "sys_paths.h"

#ifdef __cplusplus
extern "C" {
#endif

#define DISP_SPI_PANEL_W 320
#define DISP_SPI_PANEL_H 170
#define DISP_PIXEL_BYTES 4

#define DISP_SHM_NAME  "shm.test"
#define DISP_SEM_READY "/sem0" /* posted by the user interface: an area is ready */
#define DISP_SEM_TAKEN "/sem1" /* posted by the display process: the area was taken */
#define DISP_FIFO_PATH SYS_PATH_UI_FLUSH_FIFO

#define DISP_FLUSH_RECORD_SIZE 20

typedef struct disp_area {
    int32_t x1;
    int32_t y1;
    int32_t x2;
    int32_t y2;
} disp_area;

typedef struct disp_flush_record {
    uint8_t au8Bytes[DISP_FLUSH_RECORD_SIZE];
} disp_flush_record;

#ifdef __cplusplus
static_assert(sizeof(disp_flush_record) == DISP_FLUSH_RECORD_SIZE, "area record is 20 bytes");
#else
_Static_assert(sizeof(disp_flush_record) == DISP_FLUSH_RECORD_SIZE, "area record is 20 bytes");
#endif

void disp_flush_record_encode(const disp_area *pstArea, disp_flush_record *pstRec);

/* 0, or -1 when the four trailing bytes are not zero (not an area record). */
int disp_flush_record_decode(const disp_flush_record *pstRec, disp_area *pstArea);

/* Bytes of the shared draw buffer for a panel of `pixels` pixels: pixels x 4 rounded up to a
 * multiple of 4096. */
size_t disp_shm_size(uint64_t pixels);

#ifdef __cplusplus
}
#endif

#endif /* DISP_FLUSH_RECORD_H */
