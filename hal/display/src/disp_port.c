#include "disp_port.h"

#include <stdio.h>
#include <string.h>

#include "disp_dev.h"

/* Searched in order; row 0 is the default. */
static const disp_dev s_astDevices[] = {
    {DISP_DEV_NAME_FB, &g_stDispDevFb},
    {DISP_DEV_NAME_SPI, &g_stDispDevSpi},
};
#define DEVICE_COUNT ((int)(sizeof(s_astDevices) / sizeof(s_astDevices[0])))

/* The current device: every port call goes through it. */
static const disp_dev_ops *s_pstCurDev;

static lv_disp_draw_buf_t s_stDrawBuf;
static lv_disp_drv_t s_stDispDrv;

int disp_port_rotation_code(int degrees) {
    switch (degrees) {
    case 90:
        return 1;
    case 180:
        return 2;
    case 270:
        return 3;
    default:
        return 0;
    }
}

int disp_port_find_device(const char *name) {
    if (name == NULL || name[0] == '\0') {
        return 0;
    }
    for (int row = 0; row < DEVICE_COUNT; ++row) {
        if (strncmp(name, s_astDevices[row].szName, DISP_DEV_NAME_LEN) == 0) {
            return row;
        }
    }
    return 0;
}

const char *disp_port_device_name(int row) {
    return (row >= 0 && row < DEVICE_COUNT) ? s_astDevices[row].szName : NULL;
}

disp_geometry disp_port_geometry(int code, uint32_t w, uint32_t h) {
    disp_geometry g = {0};
    switch (code) {
    case 1:
        g.s32HorRes = DISP_UI_BAND;
        g.s32VerRes = (int32_t)h;
        g.s32OffsetX = ((int32_t)w - DISP_UI_BAND) / 2;
        g.bSwRotate = true;
        g.s32Rotated = 3;
        break;
    case 2:
        g.s32HorRes = (int32_t)w;
        g.s32VerRes = (int32_t)h;
        g.bSwRotate = true;
        g.s32Rotated = 2;
        break;
    case 3:
        g.s32HorRes = (int32_t)h;
        g.s32VerRes = (int32_t)w;
        g.bSwRotate = true;
        g.s32Rotated = 2;
        break;
    default:
        g.s32HorRes = (int32_t)w;
        g.s32VerRes = DISP_UI_BAND;
        g.s32OffsetY = ((int32_t)h - DISP_UI_BAND) / 2;
        break;
    }
    return g;
}

/* Port calls: without a current device or operation they do nothing (and init reports failure). */
static int dev_init(int rotation) {
    return (s_pstCurDev && s_pstCurDev->init) ? s_pstCurDev->init(rotation) : -1;
}

static void dev_get_size(uint32_t *pu32W, uint32_t *pu32H) {
    if (s_pstCurDev && s_pstCurDev->get_size) {
        s_pstCurDev->get_size(pu32W, pu32H);
    }
}

static void dev_alloc_buf(void **ppBuf, uint32_t u32Pixels) {
    if (s_pstCurDev && s_pstCurDev->alloc_buf) {
        s_pstCurDev->alloc_buf(ppBuf, u32Pixels);
    }
}

int disp_port_init(int degrees, const char *devName) {
    int code = disp_port_rotation_code(degrees);

    s_pstCurDev = s_astDevices[disp_port_find_device(devName)].pstOps;
    /* A device whose init fails reports a 0 x 0 panel and yields no buffer below. */
    (void)dev_init(code);

    uint32_t w = 0, h = 0;
    dev_get_size(&w, &h);
    printf("lcd_w =%u, lcd_h = %u \n", w, h);

    void *pBuf = NULL;
    if (w != 0 && h != 0) {
        dev_alloc_buf(&pBuf, w * h);
    }
    if (pBuf == NULL) {
        printf("draw_buf is null\n");
        return -1;
    }

    lv_disp_draw_buf_init(&s_stDrawBuf, pBuf, NULL, w * h);
    lv_disp_drv_init(&s_stDispDrv);
    disp_geometry g = disp_port_geometry(code, w, h);
    s_stDispDrv.hor_res = g.s32HorRes;
    s_stDispDrv.ver_res = g.s32VerRes;
    s_stDispDrv.offset_x = g.s32OffsetX;
    s_stDispDrv.offset_y = g.s32OffsetY;
    s_stDispDrv.sw_rotate = g.bSwRotate ? 1 : 0;
    s_stDispDrv.rotated = (lv_disp_rot_t)g.s32Rotated;
    s_stDispDrv.flush_cb = s_pstCurDev->flush;
    s_stDispDrv.draw_buf = &s_stDrawBuf;
    s_stDispDrv.screen_transp = 1;
    s_stDispDrv.antialiasing = 1;
    if (lv_disp_drv_register(&s_stDispDrv) == NULL) {
        printf("display register failed\n");
        return -1;
    }
    return 0;
}
