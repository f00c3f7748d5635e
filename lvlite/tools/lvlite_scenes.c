/*
 * Scenes like the program's, built from lvlite objects.
 */
#include "lvlite_scenes.h"

#include <string.h>

#define ICON_SIZE 24
#define ICON_MAX  8

uint32_t scene_panel[SCENE_W * SCENE_H];
static lv_color_t draw_px[SCENE_W * SCENE_H];
static lv_disp_draw_buf_t draw_buf;
static lv_disp_drv_t disp_drv;

static void flush_cb(lv_disp_drv_t *drv, const lv_area_t *area, lv_color_t *px) {
    lv_coord_t w = lv_area_get_width(area);
    for (lv_coord_t y = area->y1; y <= area->y2; y++) {
        memcpy(&scene_panel[y * SCENE_W + area->x1], &px[(y - area->y1) * w], (size_t)w * sizeof(uint32_t));
    }
    lv_disp_flush_ready(drv);
}

lv_disp_t *scene_display_create(void) {
    if (!lv_is_initialized())
        lv_init();
    lv_disp_draw_buf_init(&draw_buf, draw_px, NULL, SCENE_W * SCENE_H);
    lv_disp_drv_init(&disp_drv);
    disp_drv.hor_res = SCENE_W;
    disp_drv.ver_res = SCENE_H;
    disp_drv.flush_cb = flush_cb;
    disp_drv.draw_buf = &draw_buf;
    disp_drv.screen_transp = 1;
    lv_disp_t *disp = lv_disp_drv_register(&disp_drv);
    lv_obj_t *scr = lv_disp_get_scr_act(disp);
    lv_obj_remove_style_all(scr);
    lv_obj_clear_flag(scr, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_set_size(scr, SCENE_W, SCENE_H);
    lv_obj_set_style_bg_opa(scr, LV_OPA_COVER, 0);
    lv_obj_set_style_bg_color(scr, lv_color_hex(0x101418), 0);
    return disp;
}

void scene_display_delete(lv_disp_t *disp) {
    lv_disp_remove(disp);
}

static struct {
    uint32_t rgb;
    uint32_t px[ICON_SIZE * ICON_SIZE];
    lv_img_dsc_t dsc;
} icons[ICON_MAX];
static int icon_cnt;

const lv_img_dsc_t *scene_icon(uint32_t rgb) {
    for (int i = 0; i < icon_cnt; i++) {
        if (icons[i].rgb == rgb)
            return &icons[i].dsc;
    }
    if (icon_cnt == ICON_MAX)
        return &icons[0].dsc;
    int n = icon_cnt++;
    icons[n].rgb = rgb;
    for (int y = 0; y < ICON_SIZE; y++) {
        for (int x = 0; x < ICON_SIZE; x++) {
            int dx = x < ICON_SIZE / 2 ? ICON_SIZE / 2 - 1 - x : x - ICON_SIZE / 2;
            int dy = y < ICON_SIZE / 2 ? ICON_SIZE / 2 - 1 - y : y - ICON_SIZE / 2;
            uint32_t a = 0xFF;
            if (dx > 8 && dy > 8 && (dx - 8) * (dx - 8) + (dy - 8) * (dy - 8) > 12)
                a = 0; /* rounded corners */
            uint32_t c = rgb;
            if (dx < 5 && dy < 5)
                c = lv_color_lighten(lv_color_hex(rgb), 128).full & 0xFFFFFF;
            icons[n].px[y * ICON_SIZE + x] = a ? (a << 24) | c : 0;
        }
    }
    memset(&icons[n].dsc, 0, sizeof(icons[n].dsc));
    icons[n].dsc.header.cf = LV_IMG_CF_TRUE_COLOR_ALPHA;
    icons[n].dsc.header.w = ICON_SIZE;
    icons[n].dsc.header.h = ICON_SIZE;
    icons[n].dsc.data_size = sizeof(icons[n].px);
    icons[n].dsc.data = (const uint8_t *)icons[n].px;
    return &icons[n].dsc;
}

static lv_obj_t *label(lv_obj_t *parent, const char *text, uint32_t rgb) {
    lv_obj_t *l = lv_label_create(parent);
    lv_label_set_text(l, text);
    lv_obj_set_style_text_color(l, lv_color_hex(rgb), 0);
    return l;
}

static lv_obj_t *plain(lv_obj_t *parent) {
    lv_obj_t *o = lv_obj_create(parent);
    lv_obj_remove_style_all(o);
    lv_obj_clear_flag(o, LV_OBJ_FLAG_SCROLLABLE);
    return o;
}

void scene_settings_build(lv_obj_t *scr, settings_scene_t *s) {
    static const char *names[8] = {"Resolution", "Loop recording", "Exposure", "Microphone",
                                   "Time stamp", "Speed unit",     "Language", "Format card"};
    static const char *values[8] = {"1440P", "3 min", "+0.3", "On", "On", "km/h", "English", ""};
    static const uint32_t colours[4] = {0x3D8BFD, 0x20C997, 0xFFC107, 0xFD7E14};

    s->title = label(scr, "System settings", 0xFFFFFF);
    lv_obj_align(s->title, LV_ALIGN_TOP_MID, 0, 6);

    s->list = lv_obj_create(scr);
    lv_obj_remove_style_all(s->list);
    lv_obj_set_size(s->list, lv_pct(100), 110);
    lv_obj_align(s->list, LV_ALIGN_TOP_MID, 0, 26);
    lv_obj_set_flex_flow(s->list, LV_FLEX_FLOW_COLUMN);
    lv_obj_set_style_pad_hor(s->list, 16, 0);
    lv_obj_set_style_pad_row(s->list, 6, 0);
    lv_obj_set_scroll_snap_y(s->list, LV_SCROLL_SNAP_NONE);
    for (int i = 0; i < 8; i++) {
        lv_obj_t *row = lv_btn_create(s->list);
        lv_obj_remove_style_all(row);
        lv_obj_set_size(row, lv_pct(100), 30);
        lv_obj_set_style_radius(row, 8, 0);
        lv_obj_set_style_bg_opa(row, LV_OPA_COVER, 0);
        lv_obj_set_style_bg_color(row, lv_color_hex(0x22282E), 0);
        lv_obj_set_style_bg_color(row, lv_color_hex(0x2F6FD0), LV_STATE_FOCUSED);
        lv_obj_set_style_border_width(row, 1, 0);
        lv_obj_set_style_border_color(row, lv_color_hex(0x39424B), 0);
        lv_obj_t *icon = lv_img_create(row);
        lv_img_set_src(icon, scene_icon(colours[i % 4]));
        lv_obj_align(icon, LV_ALIGN_LEFT_MID, 4, 0);
        lv_obj_t *name = label(row, names[i], 0xE8E8E8);
        lv_obj_align_to(name, icon, LV_ALIGN_OUT_RIGHT_MID, 8, 0);
        lv_obj_set_width(name, 150);
        lv_label_set_long_mode(name, LV_LABEL_LONG_DOT);
        lv_obj_set_height(name, lv_font_get_line_height(LV_FONT_DEFAULT));
        s->values[i] = label(row, values[i], 0x9AA5B1);
        lv_obj_align(s->values[i], LV_ALIGN_RIGHT_MID, -8, 0);
        s->rows[i] = row;
    }

    lv_obj_t *bar = plain(scr);
    lv_obj_set_size(bar, lv_pct(100), 32);
    lv_obj_align(bar, LV_ALIGN_BOTTOM_MID, 0, 0);
    lv_obj_set_style_bg_opa(bar, LV_OPA_COVER, 0);
    lv_obj_set_style_bg_color(bar, lv_color_hex(0x1A1F24), 0);
    lv_obj_set_flex_flow(bar, LV_FLEX_FLOW_ROW);
    lv_obj_set_flex_align(bar, LV_FLEX_ALIGN_SPACE_EVENLY, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER);
    for (int i = 0; i < 4; i++) {
        s->nav[i] = lv_img_create(bar);
        lv_img_set_src(s->nav[i], scene_icon(colours[i]));
    }
}

void scene_home_build(lv_obj_t *scr) {
    lv_obj_t *status = plain(lv_disp_get_layer_top(lv_obj_get_disp(scr)));
    lv_obj_set_size(status, SCENE_W, 24);
    lv_obj_set_style_bg_opa(status, LV_OPA_70, 0);
    lv_obj_set_style_bg_color(status, lv_color_hex(0x000000), 0);
    lv_obj_set_flex_flow(status, LV_FLEX_FLOW_ROW);
    lv_obj_set_flex_align(status, LV_FLEX_ALIGN_SPACE_BETWEEN, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER);
    lv_obj_set_style_pad_hor(status, 6, 0);
    lv_obj_t *rec = lv_img_create(status);
    lv_img_set_src(rec, scene_icon(0xE03131));
    label(status, "01-23 12:23:34", 0xFFFFFF);
    lv_obj_t *wifi = lv_img_create(status);
    lv_img_set_src(wifi, scene_icon(0x20C997));

    lv_obj_t *view = plain(scr);
    lv_obj_set_size(view, SCENE_W, SCENE_H);
    lv_obj_set_style_bg_opa(view, LV_OPA_COVER, 0);
    lv_obj_set_style_bg_color(view, lv_color_hex(0x2B3A4A), 0);
    lv_obj_set_style_bg_grad_color(view, lv_color_hex(0x0B1016), 0);
    lv_obj_set_style_bg_grad_dir(view, LV_GRAD_DIR_VER, 0);

    lv_obj_t *tip = plain(scr);
    lv_obj_set_size(tip, 220, 44);
    lv_obj_center(tip);
    lv_obj_set_style_radius(tip, 12, 0);
    lv_obj_set_style_bg_opa(tip, LV_OPA_COVER, 0);
    lv_obj_set_style_bg_color(tip, lv_color_hex(0x000000), 0);
    lv_obj_set_style_opa(tip, LV_OPA_60, 0);
    lv_obj_set_style_border_width(tip, 2, 0);
    lv_obj_set_style_border_color(tip, lv_color_hex(0xFFFFFF), 0);
    lv_obj_t *t = label(tip, "Recording started", 0xFFFFFF);
    lv_obj_center(t);

    lv_obj_t *bar = lv_bar_create(scr);
    lv_obj_set_size(bar, 200, 8);
    lv_obj_align(bar, LV_ALIGN_BOTTOM_MID, 0, -16);
    lv_obj_set_style_radius(bar, 4, 0);
    lv_obj_set_style_bg_opa(bar, LV_OPA_COVER, 0);
    lv_obj_set_style_bg_color(bar, lv_color_hex(0x3A3F44), 0);
    lv_obj_set_style_radius(bar, 4, LV_PART_INDICATOR);
    lv_obj_set_style_bg_opa(bar, LV_OPA_COVER, LV_PART_INDICATOR);
    lv_obj_set_style_bg_color(bar, lv_color_hex(0x4DABF7), LV_PART_INDICATOR);
    lv_bar_set_value(bar, 62, LV_ANIM_OFF);
}

void scene_tiles_build(lv_obj_t *scr) {
    lv_obj_t *title = label(scr, "Parking monitor, collision detection and time lapse", 0xFFFFFF);
    lv_obj_set_width(title, 200);
    lv_label_set_long_mode(title, LV_LABEL_LONG_SCROLL_CIRCULAR);
    lv_obj_align(title, LV_ALIGN_TOP_MID, 0, 6);

    lv_obj_t *row = plain(scr);
    lv_obj_set_size(row, lv_pct(97), 130);
    lv_obj_align(row, LV_ALIGN_TOP_MID, 0, 32);
    lv_obj_set_flex_flow(row, LV_FLEX_FLOW_ROW_WRAP);
    lv_obj_set_flex_align(row, LV_FLEX_ALIGN_SPACE_BETWEEN, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_START);
    lv_obj_set_style_pad_row(row, 8, 0);
    static const uint32_t colours[4] = {0x3D8BFD, 0x20C997, 0xFFC107, 0xFD7E14};
    for (int i = 0; i < 7; i++) {
        lv_obj_t *tile = plain(row);
        lv_obj_set_size(tile, 70, 56);
        lv_obj_set_style_radius(tile, 10, 0);
        lv_obj_set_style_bg_opa(tile, LV_OPA_COVER, 0);
        lv_obj_set_style_bg_color(tile, lv_color_hex(0x2A3036), 0);
        lv_obj_set_style_border_width(tile, 2, LV_STATE_USER_1);
        lv_obj_set_style_border_color(tile, lv_color_hex(0xFFD43B), LV_STATE_USER_1);
        if (i == 2)
            lv_obj_add_state(tile, LV_STATE_USER_1);
        lv_obj_t *icon = lv_img_create(tile);
        lv_img_set_src(icon, scene_icon(colours[i % 4]));
        lv_obj_align(icon, LV_ALIGN_TOP_MID, 0, 6);
        lv_obj_set_style_img_recolor_opa(icon, i == 5 ? LV_OPA_50 : 0, 0);
        lv_obj_set_style_img_recolor(icon, lv_color_hex(0xFFFFFF), 0);
        char txt[8];
        txt[0] = (char)('A' + i);
        txt[1] = '\0';
        lv_obj_t *l = label(tile, txt, 0xDDDDDD);
        lv_obj_align(l, LV_ALIGN_BOTTOM_MID, 0, -4);
    }
}
