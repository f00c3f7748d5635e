/**
 * @file lv_hal_disp.c
 */
#include "lv_hal_disp.h"
#include "../core/lv_disp.h"
#include "../core/lv_indev.h"
#include "../core/lv_obj.h"
#include "../core/lv_refr.h"
#include "../draw/sw/lv_draw_sw.h"
#include "../misc/lv_ll.h"
#include "../misc/lv_mem.h"

static lv_ll_t disp_ll;
static bool disp_ll_inited;
static lv_disp_t *disp_def;

static lv_ll_t *get_disp_ll(void) {
    if (!disp_ll_inited) {
        _lv_ll_init(&disp_ll, sizeof(lv_disp_t));
        disp_ll_inited = true;
    }
    return &disp_ll;
}

void lv_disp_drv_init(lv_disp_drv_t *driver) {
    lv_memset_00(driver, sizeof(lv_disp_drv_t));
    driver->hor_res = 320;
    driver->ver_res = 240;
    driver->physical_hor_res = -1;
    driver->physical_ver_res = -1;
    driver->antialiasing = 1;
    driver->dpi = LV_DPI_DEF;
    driver->color_chroma_key = lv_color_chroma_key();
    driver->draw_ctx_init = lv_draw_sw_init_ctx;
    driver->draw_ctx_deinit = lv_draw_sw_deinit_ctx;
    driver->draw_ctx_size = sizeof(lv_draw_sw_ctx_t);
}

void lv_disp_draw_buf_init(lv_disp_draw_buf_t *draw_buf, void *buf1, void *buf2, uint32_t size_in_px_cnt) {
    lv_memset_00(draw_buf, sizeof(lv_disp_draw_buf_t));
    draw_buf->buf1 = buf1;
    draw_buf->buf2 = buf2;
    draw_buf->buf_act = draw_buf->buf1;
    draw_buf->size = size_in_px_cnt;
}

lv_disp_t *lv_disp_drv_register(lv_disp_drv_t *driver) {
    lv_disp_t *disp = _lv_ll_ins_head(get_disp_ll());
    if (disp == NULL)
        return NULL;
    if (driver->draw_ctx == NULL) {
        lv_draw_ctx_t *draw_ctx = lv_mem_alloc(driver->draw_ctx_size);
        LV_ASSERT_MALLOC(draw_ctx);
        lv_memset_00(draw_ctx, driver->draw_ctx_size);
        driver->draw_ctx_init(driver, draw_ctx);
        driver->draw_ctx = draw_ctx;
    }
    lv_memset_00(disp, sizeof(lv_disp_t));
    disp->driver = driver;
    disp->inv_en_cnt = 1;
    lv_disp_t *disp_def_tmp = disp_def;
    disp_def = disp; /* the screens below are created on the new display */
    disp->refr_timer = lv_timer_create(_lv_disp_refr_timer, LV_DISP_DEF_REFR_PERIOD, disp);
    if (driver->full_refresh &&
        driver->draw_buf->size < (uint32_t)driver->hor_res * (uint32_t)driver->ver_res) {
        driver->full_refresh = 0;
        LV_LOG_WARN("full_refresh needs a full-screen draw buffer");
    }
    disp->bg_color = lv_color_white();
#if LV_COLOR_SCREEN_TRANSP
    disp->bg_opa = LV_OPA_TRANSP;
#else
    disp->bg_opa = LV_OPA_COVER;
#endif
    disp->act_scr = lv_obj_create(NULL);
    disp->top_layer = lv_obj_create(NULL);
    disp->sys_layer = lv_obj_create(NULL);
    lv_obj_remove_style_all(disp->top_layer);
    lv_obj_remove_style_all(disp->sys_layer);
    lv_obj_clear_flag(disp->top_layer, LV_OBJ_FLAG_CLICKABLE);
    lv_obj_clear_flag(disp->sys_layer, LV_OBJ_FLAG_CLICKABLE);
    lv_obj_set_scrollbar_mode(disp->top_layer, LV_SCROLLBAR_MODE_OFF);
    lv_obj_set_scrollbar_mode(disp->sys_layer, LV_SCROLLBAR_MODE_OFF);
    lv_obj_invalidate(disp->act_scr);
    disp_def = disp_def_tmp;
    if (disp_def == NULL)
        disp_def = disp;
    lv_timer_ready(disp->refr_timer);
    return disp;
}

void lv_disp_drv_update(lv_disp_t *disp, lv_disp_drv_t *new_drv) {
    disp->driver = new_drv;
    if (disp->driver->full_refresh &&
        disp->driver->draw_buf->size < (uint32_t)disp->driver->hor_res * (uint32_t)disp->driver->ver_res) {
        disp->driver->full_refresh = 0;
    }
    lv_coord_t w = lv_disp_get_hor_res(disp);
    lv_coord_t h = lv_disp_get_ver_res(disp);
    for (uint32_t i = 0; i < disp->screen_cnt; i++) {
        lv_area_t prev_coords;
        lv_obj_get_coords(disp->screens[i], &prev_coords);
        lv_area_set_width(&disp->screens[i]->coords, w);
        lv_area_set_height(&disp->screens[i]->coords, h);
        lv_event_send(disp->screens[i], LV_EVENT_SIZE_CHANGED, &prev_coords);
    }
    lv_obj_invalidate(disp->act_scr);
    if (disp->driver->drv_update_cb)
        disp->driver->drv_update_cb(disp->driver);
}

void lv_disp_remove(lv_disp_t *disp) {
    bool was_default = disp == lv_disp_get_default();
    lv_indev_t *indev = lv_indev_get_next(NULL);
    while (indev) {
        if (indev->driver->disp == disp)
            indev->driver->disp = NULL;
        indev = lv_indev_get_next(indev);
    }
    /* The screens go with the display; none of them stays active meanwhile. */
    disp->act_scr = NULL;
    while (disp->screen_cnt != 0)
        lv_obj_del(disp->screens[0]);
    lv_mem_free(disp->screens);
    _lv_ll_remove(get_disp_ll(), disp);
    if (disp->refr_timer)
        lv_timer_del(disp->refr_timer);
    if (disp->driver->draw_ctx) {
        if (disp->driver->draw_ctx_deinit)
            disp->driver->draw_ctx_deinit(disp->driver, disp->driver->draw_ctx);
        lv_mem_free(disp->driver->draw_ctx);
        disp->driver->draw_ctx = NULL;
    }
    lv_mem_free(disp);
    if (was_default)
        lv_disp_set_default(_lv_ll_get_head(get_disp_ll()));
}

void lv_disp_set_default(lv_disp_t *disp) {
    disp_def = disp;
}

lv_disp_t *lv_disp_get_default(void) {
    return disp_def;
}

lv_coord_t lv_disp_get_hor_res(lv_disp_t *disp) {
    if (disp == NULL)
        disp = lv_disp_get_default();
    if (disp == NULL)
        return 0;
    switch (disp->driver->rotated) {
    case LV_DISP_ROT_90:
    case LV_DISP_ROT_270:
        return disp->driver->ver_res;
    default:
        return disp->driver->hor_res;
    }
}

lv_coord_t lv_disp_get_ver_res(lv_disp_t *disp) {
    if (disp == NULL)
        disp = lv_disp_get_default();
    if (disp == NULL)
        return 0;
    switch (disp->driver->rotated) {
    case LV_DISP_ROT_90:
    case LV_DISP_ROT_270:
        return disp->driver->hor_res;
    default:
        return disp->driver->ver_res;
    }
}

lv_coord_t lv_disp_get_physical_hor_res(lv_disp_t *disp) {
    if (disp == NULL)
        disp = lv_disp_get_default();
    if (disp == NULL)
        return 0;
    return disp->driver->physical_hor_res > 0 ? disp->driver->physical_hor_res : lv_disp_get_hor_res(disp);
}

lv_coord_t lv_disp_get_physical_ver_res(lv_disp_t *disp) {
    if (disp == NULL)
        disp = lv_disp_get_default();
    if (disp == NULL)
        return 0;
    return disp->driver->physical_ver_res > 0 ? disp->driver->physical_ver_res : lv_disp_get_ver_res(disp);
}

lv_coord_t lv_disp_get_offset_x(lv_disp_t *disp) {
    if (disp == NULL)
        disp = lv_disp_get_default();
    return disp ? disp->driver->offset_x : 0;
}

lv_coord_t lv_disp_get_offset_y(lv_disp_t *disp) {
    if (disp == NULL)
        disp = lv_disp_get_default();
    return disp ? disp->driver->offset_y : 0;
}

bool lv_disp_get_antialiasing(lv_disp_t *disp) {
    if (disp == NULL)
        disp = lv_disp_get_default();
    return disp ? disp->driver->antialiasing : false;
}

lv_coord_t lv_disp_get_dpi(const lv_disp_t *disp) {
    if (disp == NULL)
        disp = lv_disp_get_default();
    if (disp == NULL)
        return LV_DPI_DEF;
    return (lv_coord_t)disp->driver->dpi;
}

void lv_disp_set_rotation(lv_disp_t *disp, lv_disp_rot_t rotation) {
    if (disp == NULL)
        disp = lv_disp_get_default();
    if (disp == NULL)
        return;
    disp->driver->rotated = rotation;
    lv_disp_drv_update(disp, disp->driver);
}

lv_disp_rot_t lv_disp_get_rotation(lv_disp_t *disp) {
    if (disp == NULL)
        disp = lv_disp_get_default();
    if (disp == NULL)
        return LV_DISP_ROT_NONE;
    return (lv_disp_rot_t)disp->driver->rotated;
}

void lv_disp_flush_ready(lv_disp_drv_t *disp_drv) {
    disp_drv->draw_buf->flushing = 0;
    disp_drv->draw_buf->flushing_last = 0;
}

bool lv_disp_flush_is_last(lv_disp_drv_t *disp_drv) {
    return disp_drv->draw_buf->flushing_last;
}

lv_disp_t *lv_disp_get_next(lv_disp_t *disp) {
    if (disp == NULL)
        return _lv_ll_get_head(get_disp_ll());
    return _lv_ll_get_next(get_disp_ll(), disp);
}

lv_disp_draw_buf_t *lv_disp_get_draw_buf(lv_disp_t *disp) {
    return disp->driver->draw_buf;
}
