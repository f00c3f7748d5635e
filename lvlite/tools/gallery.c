/*
 * Renders the lvlite scenes to PNG files: gallery OUT_DIR writes OUT_DIR/<scene>.png.
 */
#include "lvlite_scenes.h"

#include <errno.h>
#include <png.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>

static int write_png(const char *path) {
    FILE *f = fopen(path, "wb");
    if (f == NULL) {
        fprintf(stderr, "gallery: cannot write %s: %s\n", path, strerror(errno));
        return -1;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png ? png_create_info_struct(png) : NULL;
    if (png == NULL || info == NULL || setjmp(png_jmpbuf(png))) {
        fprintf(stderr, "gallery: PNG encoding of %s failed\n", path);
        png_destroy_write_struct(&png, &info);
        fclose(f);
        return -1;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, SCENE_W, SCENE_H, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    static uint8_t row[SCENE_W * 4];
    for (int y = 0; y < SCENE_H; y++) {
        for (int x = 0; x < SCENE_W; x++) {
            uint32_t p = scene_panel[y * SCENE_W + x];
            row[x * 4 + 0] = (uint8_t)(p >> 16);
            row[x * 4 + 1] = (uint8_t)(p >> 8);
            row[x * 4 + 2] = (uint8_t)p;
            row[x * 4 + 3] = (uint8_t)(p >> 24);
        }
        png_write_row(png, row);
    }
    png_write_end(png, NULL);
    png_destroy_write_struct(&png, &info);
    if (fclose(f) != 0) {
        fprintf(stderr, "gallery: cannot write %s: %s\n", path, strerror(errno));
        return -1;
    }
    return 0;
}

typedef void (*scene_fn)(lv_obj_t *scr, void *arg);

static void settings(lv_obj_t *scr, void *arg) {
    settings_scene_t s;
    scene_settings_build(scr, &s);
    lv_group_t *g = arg;
    for (int i = 0; i < 8; i++)
        lv_group_add_obj(g, s.rows[i]);
    lv_group_focus_obj(s.rows[4]); /* scrolls the list to show the fifth row */
}

static void home(lv_obj_t *scr, void *arg) {
    (void)arg;
    scene_home_build(scr);
}

static void tiles(lv_obj_t *scr, void *arg) {
    (void)arg;
    scene_tiles_build(scr);
}

static int render(const char *dir, const char *name, scene_fn fn) {
    lv_disp_t *disp = scene_display_create();
    lv_group_t *g = lv_group_create();
    fn(lv_disp_get_scr_act(disp), g);
    /* Let animations (scrolling, label scroll) run for a second of real time. */
    for (int i = 0; i < 100; i++) {
        lv_timer_handler();
        struct timespec ts = {0, 10 * 1000 * 1000};
        nanosleep(&ts, NULL);
    }
    lv_obj_invalidate(lv_disp_get_scr_act(disp));
    lv_refr_now(disp);
    char path[512];
    snprintf(path, sizeof(path), "%s/%s.png", dir, name);
    int rc = write_png(path);
    if (rc == 0)
        printf("%s\n", path);
    lv_anim_del_all();
    lv_group_del(g);
    scene_display_delete(disp);
    return rc;
}

int main(int argc, char **argv) {
    if (argc != 2 || strcmp(argv[1], "--help") == 0) {
        fprintf(argc == 2 ? stdout : stderr,
                "usage: %s OUT_DIR\nRenders the lvlite scenes to OUT_DIR/*.png.\n", argv[0]);
        return argc == 2 ? 0 : 2;
    }
    if (mkdir(argv[1], 0755) != 0 && errno != EEXIST) {
        fprintf(stderr, "gallery: cannot create %s: %s\n", argv[1], strerror(errno));
        return 1;
    }
    int rc = 0;
    rc |= render(argv[1], "settings_list", settings);
    rc |= render(argv[1], "home_status_bar", home);
    rc |= render(argv[1], "tiles_wrap", tiles);
    return rc ? 1 : 0;
}
