/**
 * @file lv_hal_disp.c
 * The registered displays, newest first, and the default one. A display owns its screens, the top and
 * system layers above them, its draw context and a refresh timer.
 */
#include "lv_hal_disp.h"
#include "../core/lv_disp.h"
#include "../core/lv_indev.h"
#include "../core/lv_obj.h"
#include "../core/lv_refr.h"
#include "../draw/sw/lv_draw_sw.h"
#include "../misc/lv_ll.h"
#include "../misc/lv_mem.h"

static lv_ll_t displays;
static bool displays_ready;
static lv_disp_t *default_disp;

static lv_ll_t *display_list(void) {
    if (!displays_ready) {
        _lv_ll_init(&displays, sizeof(lv_disp_t));
        displays_ready = true;
    }
    return &displays;
}

static lv_disp_t *or_default(lv_disp_t *disp) {
    return disp != NULL ? disp : default_disp;
}

void lv_disp_drv_init(lv_disp_drv_t *driver) {
    static const lv_disp_drv_t defaults = {
        .hor_res = 320,
        .ver_res = 240,
        .physical_hor_res = -1,
        .physical_ver_res = -1,
        .antialiasing = 1,
        .dpi = LV_DPI_DEF,
        .draw_ctx_init = lv_draw_sw_init_ctx,
        .draw_ctx_deinit = lv_draw_sw_deinit_ctx,
        .draw_ctx_size = sizeof(lv_draw_sw_ctx_t),
    };
    *driver = defaults;
    driver->color_chroma_key = lv_color_chroma_key();
}

void lv_disp_draw_buf_init(lv_disp_draw_buf_t *draw_buf, void *buf1, void *buf2, uint32_t size_in_px_cnt) {
    *draw_buf = (lv_disp_draw_buf_t){.buf1 = buf1, .buf2 = buf2, .buf_act = buf1, .size = size_in_px_cnt};
}

/* Full refresh redraws the whole display at once, so it needs a buffer that holds all of it. */
static void check_full_refresh(lv_disp_drv_t *drv) {
    uint32_t whole = (uint32_t)drv->hor_res * (uint32_t)drv->ver_res;
    if (drv->full_refresh && drv->draw_buf != NULL && drv->draw_buf->size < whole) {
        drv->full_refresh = 0;
        LV_LOG_WARN("full_refresh needs a full-screen draw buffer: turned off");
    }
}

/* A transparent, unclickable, unscrolled layer over the screens. */
static lv_obj_t *make_layer(void) {
    lv_obj_t *layer = lv_obj_create(NULL);
    lv_obj_remove_style_all(layer);
    lv_obj_clear_flag(layer, LV_OBJ_FLAG_CLICKABLE);
    lv_obj_set_scrollbar_mode(layer, LV_SCROLLBAR_MODE_OFF);
    return layer;
}

lv_disp_t *lv_disp_drv_register(lv_disp_drv_t *driver) {
    lv_disp_t *disp = _lv_ll_ins_head(display_list());
    if (disp == NULL) {
        LV_LOG_ERROR("out of memory");
        return NULL;
    }
    if (driver->draw_ctx == NULL) {
        lv_draw_ctx_t *ctx = lv_mem_alloc(driver->draw_ctx_size);
        if (ctx == NULL) {
            LV_LOG_ERROR("out of memory");
            _lv_ll_remove(display_list(), disp);
            lv_mem_free(disp);
            return NULL;
        }
        lv_memset_00(ctx, driver->draw_ctx_size);
        driver->draw_ctx_init(driver, ctx);
        driver->draw_ctx = ctx;
    }
    lv_memset_00(disp, sizeof(*disp));
    disp->driver = driver;
    disp->inv_en_cnt = 1;
    disp->bg_color = lv_color_white();
    disp->bg_opa = LV_COLOR_SCREEN_TRANSP ? LV_OPA_TRANSP : LV_OPA_COVER;
    check_full_refresh(driver);
    /* Objects are created on the default display: be it while the screens are made. */
    lv_disp_t *was_default = default_disp;
    default_disp = disp;
    disp->refr_timer = lv_timer_create(_lv_disp_refr_timer, LV_DISP_DEF_REFR_PERIOD, disp);
    disp->act_scr = lv_obj_create(NULL);
    disp->top_layer = make_layer();
    disp->sys_layer = make_layer();
    lv_obj_invalidate(disp->act_scr);
    default_disp = was_default != NULL ? was_default : disp;
    lv_timer_ready(disp->refr_timer);
    return disp;
}

void lv_disp_drv_update(lv_disp_t *disp, lv_disp_drv_t *new_drv) {
    disp->driver = new_drv;
    check_full_refresh(new_drv);
    /* Every screen takes the (possibly rotated) new resolution. */
    lv_coord_t w = lv_disp_get_hor_res(disp);
    lv_coord_t h = lv_disp_get_ver_res(disp);
    for (uint32_t i = 0; i < disp->screen_cnt; i++) {
        lv_obj_t *scr = disp->screens[i];
        lv_area_t before = scr->coords;
        scr->coords.x2 = scr->coords.x1 + w - 1;
        scr->coords.y2 = scr->coords.y1 + h - 1;
        lv_event_send(scr, LV_EVENT_SIZE_CHANGED, &before);
    }
    lv_obj_invalidate(disp->act_scr);
    if (new_drv->drv_update_cb != NULL)
        new_drv->drv_update_cb(new_drv);
}

void lv_disp_remove(lv_disp_t *disp) {
    bool was_default = disp == default_disp;
    for (lv_indev_t *dev = lv_indev_get_next(NULL); dev != NULL; dev = lv_indev_get_next(dev)) {
        if (dev->driver->disp == disp)
            dev->driver->disp = NULL;
    }
    /* The screens go with the display; none of them stays active meanwhile. */
    disp->act_scr = NULL;
    while (disp->screen_cnt > 0)
        lv_obj_del(disp->screens[0]);
    lv_mem_free(disp->screens);
    _lv_ll_remove(display_list(), disp);
    if (disp->refr_timer != NULL)
        lv_timer_del(disp->refr_timer);
    lv_disp_drv_t *drv = disp->driver;
    if (drv->draw_ctx != NULL) {
        if (drv->draw_ctx_deinit != NULL)
            drv->draw_ctx_deinit(drv, drv->draw_ctx);
        lv_mem_free(drv->draw_ctx);
        drv->draw_ctx = NULL;
    }
    lv_mem_free(disp);
    if (was_default)
        default_disp = _lv_ll_get_head(display_list());
}

void lv_disp_set_default(lv_disp_t *disp) {
    default_disp = disp;
}

lv_disp_t *lv_disp_get_default(void) {
    return default_disp;
}

/* Turned by 90 or 270 degrees: the program's width is the panel's height. */
static bool quarter_turned(const lv_disp_t *disp) {
    return disp->driver->rotated == LV_DISP_ROT_90 || disp->driver->rotated == LV_DISP_ROT_270;
}

lv_coord_t lv_disp_get_hor_res(lv_disp_t *disp) {
    disp = or_default(disp);
    if (disp == NULL)
        return 0;
    return quarter_turned(disp) ? disp->driver->ver_res : disp->driver->hor_res;
}

lv_coord_t lv_disp_get_ver_res(lv_disp_t *disp) {
    disp = or_default(disp);
    if (disp == NULL)
        return 0;
    return quarter_turned(disp) ? disp->driver->hor_res : disp->driver->ver_res;
}

lv_coord_t lv_disp_get_physical_hor_res(lv_disp_t *disp) {
    disp = or_default(disp);
    if (disp == NULL)
        return 0;
    lv_coord_t phys = disp->driver->physical_hor_res;
    return phys > 0 ? phys : lv_disp_get_hor_res(disp);
}

lv_coord_t lv_disp_get_physical_ver_res(lv_disp_t *disp) {
    disp = or_default(disp);
    if (disp == NULL)
        return 0;
    lv_coord_t phys = disp->driver->physical_ver_res;
    return phys > 0 ? phys : lv_disp_get_ver_res(disp);
}

lv_coord_t lv_disp_get_offset_x(lv_disp_t *disp) {
    disp = or_default(disp);
    return disp ? disp->driver->offset_x : 0;
}

lv_coord_t lv_disp_get_offset_y(lv_disp_t *disp) {
    disp = or_default(disp);
    return disp ? disp->driver->offset_y : 0;
}

bool lv_disp_get_antialiasing(lv_disp_t *disp) {
    disp = or_default(disp);
    return disp ? disp->driver->antialiasing : false;
}

lv_coord_t lv_disp_get_dpi(const lv_disp_t *disp) {
    const lv_disp_t *d = disp ? disp : default_disp;
    return d ? (lv_coord_t)d->driver->dpi : LV_DPI_DEF;
}

void lv_disp_set_rotation(lv_disp_t *disp, lv_disp_rot_t rotation) {
    disp = or_default(disp);
    if (disp == NULL)
        return;
    disp->driver->rotated = rotation;
    lv_disp_drv_update(disp, disp->driver);
}

lv_disp_rot_t lv_disp_get_rotation(lv_disp_t *disp) {
    disp = or_default(disp);
    return disp ? (lv_disp_rot_t)disp->driver->rotated : LV_DISP_ROT_NONE;
}

void lv_disp_flush_ready(lv_disp_drv_t *disp_drv) {
    lv_disp_draw_buf_t *db = disp_drv->draw_buf;
    db->flushing = 0;
    db->flushing_last = 0;
}

bool lv_disp_flush_is_last(lv_disp_drv_t *disp_drv) {
    return disp_drv->draw_buf->flushing_last != 0;
}

lv_disp_t *lv_disp_get_next(lv_disp_t *disp) {
    lv_ll_t *list = display_list();
    return disp ? _lv_ll_get_next(list, disp) : _lv_ll_get_head(list);
}

lv_disp_draw_buf_t *lv_disp_get_draw_buf(lv_disp_t *disp) {
    return disp->driver->draw_buf;
}
