/**
 * @file lv_hal_disp.h
 * Display drivers: resolution, draw buffer and the flush callback that takes each rendered area.
 */
#ifndef LV_HAL_DISP_H
#define LV_HAL_DISP_H

#ifdef __cplusplus
extern "C" {
#endif

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "../lv_conf_internal.h"
#include "../misc/lv_area.h"
#include "../misc/lv_color.h"
#include "../misc/lv_timer.h"
#include "../misc/lv_types.h"

struct _lv_obj_t;
struct _lv_disp_t;
struct _lv_disp_drv_t;
struct _lv_theme_t;
struct _lv_draw_ctx_t;

typedef struct _lv_disp_draw_buf_t {
    void *buf1;
    void *buf2;
    void *buf_act;
    uint32_t size; /**< in pixels */
    volatile int flushing;
    volatile int flushing_last;
    volatile uint32_t last_area : 1;
    volatile uint32_t last_part : 1;
} lv_disp_draw_buf_t;

typedef enum {
    LV_DISP_ROT_NONE = 0,
    LV_DISP_ROT_90,
    LV_DISP_ROT_180,
    LV_DISP_ROT_270,
} lv_disp_rot_t;

typedef struct _lv_disp_drv_t {
    lv_coord_t hor_res;
    lv_coord_t ver_res;
    lv_coord_t physical_hor_res; /**< -1: same as hor_res */
    lv_coord_t physical_ver_res;
    lv_coord_t offset_x; /**< added to every flushed area */
    lv_coord_t offset_y;
    lv_disp_draw_buf_t *draw_buf;
    uint32_t direct_mode : 1;
    uint32_t full_refresh : 1;
    uint32_t sw_rotate : 1;
    uint32_t antialiasing : 1;
    uint32_t rotated : 2;
    uint32_t screen_transp : 1;
    uint32_t dpi : 10;
    void (*flush_cb)(struct _lv_disp_drv_t *disp_drv, const lv_area_t *area, lv_color_t *color_p);
    void (*rounder_cb)(struct _lv_disp_drv_t *disp_drv, lv_area_t *area);
    void (*set_px_cb)(struct _lv_disp_drv_t *disp_drv, uint8_t *buf, lv_coord_t buf_w, lv_coord_t x,
                      lv_coord_t y, lv_color_t color, lv_opa_t opa);
    void (*clear_cb)(struct _lv_disp_drv_t *disp_drv, uint8_t *buf, uint32_t size);
    void (*monitor_cb)(struct _lv_disp_drv_t *disp_drv, uint32_t time, uint32_t px);
    void (*wait_cb)(struct _lv_disp_drv_t *disp_drv);
    void (*clean_dcache_cb)(struct _lv_disp_drv_t *disp_drv);
    void (*drv_update_cb)(struct _lv_disp_drv_t *disp_drv);
    void (*render_start_cb)(struct _lv_disp_drv_t *disp_drv);
    lv_color_t color_chroma_key;
    struct _lv_draw_ctx_t *draw_ctx;
    void (*draw_ctx_init)(struct _lv_disp_drv_t *disp_drv, struct _lv_draw_ctx_t *draw_ctx);
    void (*draw_ctx_deinit)(struct _lv_disp_drv_t *disp_drv, struct _lv_draw_ctx_t *draw_ctx);
    size_t draw_ctx_size;
#if LV_USE_USER_DATA
    void *user_data;
#endif
} lv_disp_drv_t;

typedef struct _lv_disp_t {
    struct _lv_disp_drv_t *driver;
    lv_timer_t *refr_timer;
    struct _lv_theme_t *theme;
    struct _lv_obj_t **screens;
    struct _lv_obj_t *act_scr;
    struct _lv_obj_t *prev_scr;
    struct _lv_obj_t *scr_to_load;
    struct _lv_obj_t *top_layer;
    struct _lv_obj_t *sys_layer;
    uint32_t screen_cnt;
    uint8_t draw_prev_over_act : 1;
    uint8_t del_prev : 1;
    uint8_t rendering_in_progress : 1;
    lv_opa_t bg_opa;
    lv_color_t bg_color;
    const void *bg_img;
    lv_area_t inv_areas[LV_INV_BUF_SIZE];
    uint8_t inv_area_joined[LV_INV_BUF_SIZE];
    uint16_t inv_p;
    int32_t inv_en_cnt;
    uint32_t last_activity_time;
} lv_disp_t;

/** Defaults: no callbacks, antialiasing on, DPI LV_DPI_DEF, the software renderer. */
void lv_disp_drv_init(lv_disp_drv_t *driver);
/** buf2 may be NULL; size_in_px_cnt is the size of each buffer in pixels. */
void lv_disp_draw_buf_init(lv_disp_draw_buf_t *draw_buf, void *buf1, void *buf2, uint32_t size_in_px_cnt);
/** Register the display (its screen, top and system layers and refresh timer); the first becomes default. */
lv_disp_t *lv_disp_drv_register(lv_disp_drv_t *driver);
void lv_disp_drv_update(lv_disp_t *disp, lv_disp_drv_t *new_drv);
void lv_disp_remove(lv_disp_t *disp);
void lv_disp_set_default(lv_disp_t *disp);
lv_disp_t *lv_disp_get_default(void);
/** Resolution as the program sees it (swapped when rotated by 90 or 270 degrees). */
lv_coord_t lv_disp_get_hor_res(lv_disp_t *disp);
lv_coord_t lv_disp_get_ver_res(lv_disp_t *disp);
lv_coord_t lv_disp_get_physical_hor_res(lv_disp_t *disp);
lv_coord_t lv_disp_get_physical_ver_res(lv_disp_t *disp);
lv_coord_t lv_disp_get_offset_x(lv_disp_t *disp);
lv_coord_t lv_disp_get_offset_y(lv_disp_t *disp);
bool lv_disp_get_antialiasing(lv_disp_t *disp);
lv_coord_t lv_disp_get_dpi(const lv_disp_t *disp);
void lv_disp_set_rotation(lv_disp_t *disp, lv_disp_rot_t rotation);
lv_disp_rot_t lv_disp_get_rotation(lv_disp_t *disp);
/** The flush callback calls this when it has taken the area. */
LV_ATTRIBUTE_FLUSH_READY void lv_disp_flush_ready(lv_disp_drv_t *disp_drv);
/** Whether the area being flushed is the last of this refresh. */
LV_ATTRIBUTE_FLUSH_READY bool lv_disp_flush_is_last(lv_disp_drv_t *disp_drv);
lv_disp_t *lv_disp_get_next(lv_disp_t *disp);
lv_disp_draw_buf_t *lv_disp_get_draw_buf(lv_disp_t *disp);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LV_HAL_DISP_H */
