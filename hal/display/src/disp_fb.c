/*
 * "FB_DEV": LVGL renders into a heap buffer and each flushed area is copied into the vendor
 * framebuffer "/dev/fb0" (a 480 x 640 ARGB8888 layer with a colour key).
 */
#include "disp_dev.h"

#include <fcntl.h>
#include <linux/fb.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

/* Layer ioctls of the SoC's framebuffer driver. */
#define FBIOPUT_SHOW_VOFB          0x40044665 /* uint32_t: 0 hide, 1 show */
#define FBIOPUT_SCREEN_ORIGIN_VOFB 0x4008465F /* fb_vofb_point */
#define FBIOPUT_COLORKEY_VOFB      0x4008465B /* fb_vofb_colorkey */

typedef struct fb_vofb_point {
    int32_t s32X;
    int32_t s32Y;
} fb_vofb_point;

typedef struct fb_vofb_colorkey {
    uint32_t u32Enable;
    uint32_t u32Key;
} fb_vofb_colorkey;

_Static_assert(sizeof(fb_vofb_point) == 8, "size encoded in the origin ioctl number");
_Static_assert(sizeof(fb_vofb_colorkey) == 8, "size encoded in the colour key ioctl number");

#define FB_XRES      480
#define FB_YRES      640
#define FB_COLOR_KEY 0x1F2F3F

static int s_s32FbFd = -1;
static uint8_t *s_pu8Fb;
static uint64_t s_u64FbBytes;
static struct fb_var_screeninfo s_stVar;
static struct fb_fix_screeninfo s_stFix;
static uint32_t s_u32Width;
static uint32_t s_u32Height;

static int fb_show(uint32_t u32Show) {
    return ioctl(s_s32FbFd, FBIOPUT_SHOW_VOFB, &u32Show);
}

static int fb_fail(void) {
    close(s_s32FbFd);
    s_s32FbFd = -1;
    return -1;
}

static int fb_init(int rotation) {
    (void)rotation;
    s_s32FbFd = open(SYS_PATH_FB0, O_RDWR | O_CLOEXEC);
    if (s_s32FbFd < 0) {
        perror("vofbfd open failed!\n");
        return -1;
    }
    if (fb_show(0) != 0) {
        perror("FBIOPUT_SHOW_VOFB failed!\n");
        return fb_fail();
    }
    fb_vofb_point stOrigin = {0, 0};
    if (ioctl(s_s32FbFd, FBIOPUT_SCREEN_ORIGIN_VOFB, &stOrigin) != 0) {
        perror("set screen original show position failed!\n");
        return fb_fail();
    }
    if (ioctl(s_s32FbFd, FBIOGET_VSCREENINFO, &s_stVar) != 0) {
        perror("Get variable screen info failed!\n");
        return fb_fail();
    }

    usleep(40 * 1000);
    s_stVar.xres = FB_XRES;
    s_stVar.yres = FB_YRES;
    s_stVar.xres_virtual = FB_XRES;
    s_stVar.yres_virtual = FB_YRES;
    s_stVar.bits_per_pixel = 32;
    s_stVar.transp = (struct fb_bitfield){24, 8, 0};
    s_stVar.red = (struct fb_bitfield){16, 8, 0};
    s_stVar.green = (struct fb_bitfield){8, 8, 0};
    s_stVar.blue = (struct fb_bitfield){0, 8, 0};
    s_stVar.activate = 0;
    if (ioctl(s_s32FbFd, FBIOPUT_VSCREENINFO, &s_stVar) != 0) {
        printf(" ====:%d\n", ioctl(s_s32FbFd, FBIOPUT_VSCREENINFO, &s_stVar));
        perror("Put variable screen info failed!\n");
        return fb_fail();
    }
    s_u32Width = s_stVar.xres;
    s_u32Height = s_stVar.yres;

    fb_vofb_colorkey stKey = {1, FB_COLOR_KEY};
    if (ioctl(s_s32FbFd, FBIOPUT_COLORKEY_VOFB, &stKey) != 0) {
        perror("Put colorkey info failed!\n");
        return fb_fail();
    }
    if (ioctl(s_s32FbFd, FBIOGET_FSCREENINFO, &s_stFix) != 0) {
        perror("Get fix screen info failed!\n");
        return fb_fail();
    }
    void *p = mmap(NULL, s_stFix.smem_len, PROT_READ | PROT_WRITE, MAP_SHARED, s_s32FbFd, 0);
    if (p == MAP_FAILED) {
        perror("mmap framebuffer failed!\n");
        return fb_fail();
    }
    s_pu8Fb = p;
    s_u64FbBytes = s_stFix.smem_len;
    memset(s_pu8Fb, 0, (size_t)s_u64FbBytes);

    if (fb_show(1) != 0) {
        perror("FBIOPUT_SHOW_VOFB failed!\n");
        munmap(s_pu8Fb, (size_t)s_u64FbBytes);
        s_pu8Fb = NULL;
        return fb_fail();
    }
    return 0;
}

static void fb_get_size(uint32_t *pu32W, uint32_t *pu32H) {
    *pu32W = s_u32Width;
    *pu32H = s_u32Height;
}

static void fb_alloc_buf(void **ppBuf, uint32_t u32Pixels) {
    void *p = (u32Pixels == 0) ? NULL : malloc((size_t)u32Pixels * DISP_PIXEL_BYTES);
    if (p == NULL) {
        printf("get draw buf err,draw buf is null");
        return;
    }
    *ppBuf = p;
}

int disp_fb_copy_area(uint8_t *pu8Fb, uint64_t fbBytes, uint32_t lineLength, uint32_t xres, uint32_t yres,
                      uint32_t xoffset, uint32_t yoffset, const disp_area *pstArea, const uint32_t *pu32Src) {
    if (pu8Fb == NULL || pu32Src == NULL || xres == 0 || yres == 0 || pstArea->x2 < pstArea->x1 ||
        pstArea->y2 < pstArea->y1) {
        return 0;
    }
    int64_t x1 = pstArea->x1, y1 = pstArea->y1, x2 = pstArea->x2, y2 = pstArea->y2;
    if (x2 < 0 || y2 < 0 || x1 > (int64_t)xres - 1 || y1 > (int64_t)yres - 1) {
        return 0; /* wholly outside the screen */
    }
    int64_t srcStride = x2 - x1 + 1; /* the rendered rows keep the area's full width */
    int64_t cx1 = x1 < 0 ? 0 : x1;
    int64_t cy1 = y1 < 0 ? 0 : y1;
    int64_t cx2 = x2 > (int64_t)xres - 1 ? (int64_t)xres - 1 : x2;
    int64_t cy2 = y2 > (int64_t)yres - 1 ? (int64_t)yres - 1 : y2;
    uint64_t rowBytes = (uint64_t)(cx2 - cx1 + 1) * DISP_PIXEL_BYTES;

    int rows = 0;
    for (int64_t y = cy1; y <= cy2; ++y) {
        uint64_t off =
            ((uint64_t)(y + yoffset) * (lineLength / 4) + (uint64_t)cx1 + xoffset) * DISP_PIXEL_BYTES;
        if (off > fbBytes || rowBytes > fbBytes - off) {
            continue; /* the driver's geometry does not fit its memory: never write past it */
        }
        const uint32_t *src = pu32Src + (y - y1) * srcStride + (cx1 - x1);
        memcpy(pu8Fb + off, src, (size_t)rowBytes);
        ++rows;
    }
    return rows;
}

static void fb_flush(lv_disp_drv_t *pstDrv, const lv_area_t *pstArea, lv_color_t *pstColor) {
    if (s_pu8Fb != NULL) {
        disp_area stArea = {pstArea->x1, pstArea->y1, pstArea->x2, pstArea->y2};
        disp_fb_copy_area(s_pu8Fb, s_u64FbBytes, s_stFix.line_length, s_stVar.xres, s_stVar.yres,
                          s_stVar.xoffset, s_stVar.yoffset, &stArea, (const uint32_t *)(void *)pstColor);
    }
    lv_disp_flush_ready(pstDrv);
}

static int fb_deinit(void) {
    if (s_pu8Fb != NULL) {
        munmap(s_pu8Fb, (size_t)s_u64FbBytes);
        s_pu8Fb = NULL;
    }
    if (s_s32FbFd >= 0) {
        fb_show(0);
        close(s_s32FbFd);
        s_s32FbFd = -1;
    }
    return 0;
}

const disp_dev_ops g_stDispDevFb = {
    .init = fb_init,
    .deinit = fb_deinit,
    .get_size = fb_get_size,
    .flush = fb_flush,
    .alloc_buf = fb_alloc_buf,
};
