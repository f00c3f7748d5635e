/*
 * The display port: picks a display device by name, lets it prepare the hardware, allocates the
 * draw buffer through it and registers LVGL's display driver.
 *
 * Devices: "FB_DEV" (row 0, the default), the vendor framebuffer "/dev/fb0"; "SPI_DEV" (row 1),
 * a shared-memory draw buffer handed area by area to the display process.
 */
#ifndef DISP_PORT_H
#define DISP_PORT_H

#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define DISP_DEV_NAME_FB  "FB_DEV"
#define DISP_DEV_NAME_SPI "SPI_DEV"

/* Height (or width, turned) of the user interface's band on the panel. */
#define DISP_UI_BAND 170

/* Display geometry for one rotation code. */
typedef struct disp_geometry {
    int32_t s32HorRes;
    int32_t s32VerRes;
    int32_t s32OffsetX;
    int32_t s32OffsetY;
    bool bSwRotate;
    int s32Rotated; /* LVGL's rotation value */
} disp_geometry;

/* Rotation in degrees to code: 90 -> 1, 180 -> 2, 270 -> 3, anything else -> 0. */
int disp_port_rotation_code(int degrees);

/* Row of the device table for a name; an empty, null or unmatched name gives row 0. */
int disp_port_find_device(const char *name);

/* Name of a row of the device table, NULL outside it. */
const char *disp_port_device_name(int row);

/* Geometry of the display for rotation code `code` on a panel of w x h pixels. */
disp_geometry disp_port_geometry(int code, uint32_t w, uint32_t h);

/* Display set-up: selects the device `devName`, initialises it with the rotation code of
 * `degrees`, allocates the draw buffer and registers the display. 0 when a display was
 * registered; -1 when no draw buffer resulted and the program runs without a display. */
int disp_port_init(int degrees, const char *devName);

#ifdef __cplusplus
}
#endif

#endif /* DISP_PORT_H */
