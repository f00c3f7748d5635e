/*
 * Scenes like the program's, built from lvlite objects: used by the benchmark and the gallery.
 */
#ifndef LVLITE_SCENES_H
#define LVLITE_SCENES_H

#ifdef __cplusplus
extern "C" {
#endif

#include "lvgl.h"

#define SCENE_W 320
#define SCENE_H 170

/* A display of SCENE_W x SCENE_H with one full-size buffer; flushed areas are copied into
 * scene_panel (ARGB8888, SCENE_W pixels a row). */
lv_disp_t *scene_display_create(void);
void scene_display_delete(lv_disp_t *disp);
extern uint32_t scene_panel[SCENE_W * SCENE_H];

typedef struct {
    lv_obj_t *title;
    lv_obj_t *list;
    lv_obj_t *rows[8];
    lv_obj_t *values[8];
    lv_obj_t *nav[4];
} settings_scene_t;

/* A title, a scrolling list of eight rows (icon, label, value) and a navigation bar of four icons. */
void scene_settings_build(lv_obj_t *scr, settings_scene_t *s);
/* A home screen with a status bar on the top layer, a translucent tip and a progress bar. */
void scene_home_build(lv_obj_t *scr);
/* A wrapping row of tiles, a circular-scrolling title and state styles. */
void scene_tiles_build(lv_obj_t *scr);

/* A 24 x 24 ARGB8888 icon: a filled rounded square of the colour with a lighter core. */
const lv_img_dsc_t *scene_icon(uint32_t rgb);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* LVLITE_SCENES_H */
