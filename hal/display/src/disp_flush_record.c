#include "disp_flush_record.h"

static void put_le32(uint8_t *p, int32_t v) {
    uint32_t u = (uint32_t)v;
    p[0] = (uint8_t)u;
    p[1] = (uint8_t)(u >> 8);
    p[2] = (uint8_t)(u >> 16);
    p[3] = (uint8_t)(u >> 24);
}

static int32_t get_le32(const uint8_t *p) {
    uint32_t u = (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
    return (int32_t)u;
}

void disp_flush_record_encode(const disp_area *pstArea, disp_flush_record *pstRec) {
    put_le32(&pstRec->au8Bytes[0], pstArea->x1);
    put_le32(&pstRec->au8Bytes[4], pstArea->y1);
    put_le32(&pstRec->au8Bytes[8], pstArea->x2);
    put_le32(&pstRec->au8Bytes[12], pstArea->y2);
    put_le32(&pstRec->au8Bytes[16], 0);
}

int disp_flush_record_decode(const disp_flush_record *pstRec, disp_area *pstArea) {
    if (get_le32(&pstRec->au8Bytes[16]) != 0) {
        return -1;
    }
    pstArea->x1 = get_le32(&pstRec->au8Bytes[0]);
    pstArea->y1 = get_le32(&pstRec->au8Bytes[4]);
    pstArea->x2 = get_le32(&pstRec->au8Bytes[8]);
    pstArea->y2 = get_le32(&pstRec->au8Bytes[12]);
    return 0;
}

size_t disp_shm_size(uint64_t pixels) {
    uint64_t bytes = pixels * DISP_PIXEL_BYTES;
    return (size_t)((bytes + 4095u) / 4096u * 4096u);
}
