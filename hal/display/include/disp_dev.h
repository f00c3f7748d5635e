/*
 * Display devices of the display port: a name and five operations.
 */
#ifndef DISP_DEV_H
#define DISP_DEV_H

#include <stdint.h>

#include "lvgl.h"
#include "disp_flush_record.h"

#ifdef __cplusplus
extern "C" {
#endif

#define DISP_DEV_NAME_LEN 32

typedef struct disp_dev_ops {
    int (*init)(int rotation); /* 0 on success */
    int (*deinit)(void);
    void (*get_size)(uint32_t *pu32W, uint32_t *pu32H);
    void (*flush)(lv_disp_drv_t *pstDrv, const lv_area_t *pstArea, lv_color_t *pstColor);
    void (*alloc_buf)(void **ppBuf, uint32_t u32Pixels); /* *ppBuf stays NULL on failure */
} disp_dev_ops;

typedef struct disp_dev {
    char szName[DISP_DEV_NAME_LEN];
    const disp_dev_ops *pstOps;
} disp_dev;

extern const disp_dev_ops g_stDispDevFb;
extern const disp_dev_ops g_stDispDevSpi;

/* One exchange with the display process for an area already rendered at the start of the shared
 * buffer: write the record, post "/sem0", wait for "/sem1". 0, or -1 when the record could not
 * be handed over (the exchange is then skipped so the caller never waits for nothing). */
int disp_spi_send_area(const disp_area *pstArea);

/* Copies a rendered area (rows of its full width, packed) into a framebuffer of `fbBytes` bytes
 * with `lineLength` bytes per line, clipped to the visible xres x yres screen placed at
 * (xoffset, yoffset) of the virtual screen. Rows that would fall outside the mapping are skipped.
 * Returns the number of rows copied. */
int disp_fb_copy_area(uint8_t *pu8Fb, uint64_t fbBytes, uint32_t lineLength, uint32_t xres, uint32_t yres,
                      uint32_t xoffset, uint32_t yoffset, const disp_area *pstArea, const uint32_t *pu32Src);

#ifdef __cplusplus
}
#endif

#endif /* DISP_DEV_H */
