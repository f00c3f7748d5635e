/* Scenes rendered through real objects on a 320 x 170 display and compared with the reviewed
 * reference images: a settings list, clipping to parents, the top layer, bars, GIF frames and a
 * transparent screen. */
#include <gtest/gtest.h>

#include "../lv_test_env.h"
#include "render_util.h"

#include <gif_lib.h>

#include <cstring>

using namespace render_test;

namespace {

const char *kSans = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";

class Scene : public LvTest {
  protected:
    void SetUp() override {
        LvTest::SetUp();
        ASSERT_TRUE(lv_freetype_init(8, 8, 0));
        lv_ft_info_t info = {};
        info.name = kSans;
        info.weight = 16;
        ASSERT_TRUE(lv_ft_font_init(&info));
        font_ = info.font;
        dir_ = make_scratch_dir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override {
        lv_obj_clean(lv_scr_act());
        lv_obj_clean(lv_layer_top());
        refresh();
        lv_img_cache_invalidate_src(nullptr);
        lv_ft_font_destroy(font_);
        LvTest::TearDown();
    }
    std::string host(const std::string &name) const { return root_dir() + dir_ + "/" + name; }
    std::string lv(const std::string &name) const { return "/:" + dir_ + "/" + name; }

    lv_obj_t *box(lv_obj_t *parent, lv_coord_t x, lv_coord_t y, lv_coord_t w, lv_coord_t h, uint32_t rgb) {
        lv_obj_t *o = lv_obj_create(parent);
        lv_obj_remove_style_all(o);
        lv_obj_set_pos(o, x, y);
        lv_obj_set_size(o, w, h);
        lv_obj_set_style_bg_color(o, lv_color_hex(rgb), 0);
        lv_obj_set_style_bg_opa(o, LV_OPA_COVER, 0);
        return o;
    }
    lv_obj_t *label(lv_obj_t *parent, const char *text, uint32_t rgb) {
        lv_obj_t *l = lv_label_create(parent);
        lv_obj_set_style_text_font(l, font_, 0);
        lv_obj_set_style_text_color(l, lv_color_hex(rgb), 0);
        lv_label_set_text(l, text);
        return l;
    }
    ::testing::AssertionResult panel_matches(const std::string &name, int tolerance = 8) {
        return matches_reference(panel_, kW, kH, name, tolerance);
    }

    lv_font_t *font_ = nullptr;
    std::string dir_;
};

/* A 16 x 16 icon: a rounded square in rgb with a transparent surround. */
std::vector<uint32_t> icon_pixels(uint32_t rgb) {
    std::vector<uint32_t> px(16 * 16, 0);
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++) {
            bool corner = (x < 2 || x > 13) && (y < 2 || y > 13);
            if (x >= 1 && x <= 14 && y >= 1 && y <= 14 && !corner)
                px[(size_t)y * 16 + x] = 0xFF000000u | rgb;
        }
    return px;
}

/* A GIF of two 8 x 8 frames, red then blue, each shown for 100 ms, played once. */
bool write_two_frame_gif(const std::string &path) {
    int err = 0;
    GifFileType *g = EGifOpenFileName(path.c_str(), false, &err);
    if (!g)
        return false;
    GifColorType colors[4] = {{255, 0, 0}, {0, 0, 255}, {0, 0, 0}, {255, 255, 255}};
    ColorMapObject *cm = GifMakeMapObject(4, colors);
    bool ok = EGifPutScreenDesc(g, 8, 8, 2, 0, cm) == GIF_OK;
    for (int f = 0; f < 2 && ok; f++) {
        GraphicsControlBlock gcb = {DISPOSAL_UNSPECIFIED, false, 10, NO_TRANSPARENT_COLOR};
        GifByteType ext[4];
        size_t n = EGifGCBToExtension(&gcb, ext);
        ok = EGifPutExtension(g, GRAPHICS_EXT_FUNC_CODE, (int)n, ext) == GIF_OK &&
             EGifPutImageDesc(g, 0, 0, 8, 8, false, nullptr) == GIF_OK;
        GifPixelType row[8];
        std::memset(row, f, sizeof(row));
        for (int y = 0; y < 8 && ok; y++)
            ok = EGifPutLine(g, row, 8) == GIF_OK;
    }
    GifFreeMapObject(cm);
    return EGifCloseFile(g, &err) == GIF_OK && ok;
}

} // namespace

TEST_F(Scene, SettingsList) {
    for (int k = 0; k < 3; k++) {
        static const uint32_t colors[3] = {0x2196F3, 0x4CAF50, 0xFF9800};
        std::vector<uint32_t> px = icon_pixels(colors[k]);
        ASSERT_TRUE(write_png(host("icon" + std::to_string(k) + ".png"), 16, 16, px.data()));
    }
    lv_obj_t *scr = lv_scr_act();
    lv_obj_t *title = label(scr, "Settings", 0xFFFFFF);
    lv_obj_set_pos(title, 8, 2);

    static const char *names[4] = {"Resolution", "Loop recording", "Audio", "Language"};
    static const char *values[4] = {"1080P", "3 min", "On", "English"};
    for (int r = 0; r < 4; r++) {
        lv_obj_t *row = box(scr, 4, 24 + r * 28, 312, 24, r == 1 ? 0x2A4A6A : 0x1C2833);
        lv_obj_set_style_radius(row, 6, 0);
        if (r == 1) {
            lv_obj_set_style_border_width(row, 2, 0);
            lv_obj_set_style_border_color(row, lv_color_hex(0x64B5F6), 0);
        }
        lv_obj_t *icon = lv_img_create(row);
        std::string src = lv("icon" + std::to_string(r % 3) + ".png");
        lv_img_set_src(icon, src.c_str());
        lv_obj_align(icon, LV_ALIGN_LEFT_MID, 6, 0);
        lv_obj_t *name = label(row, names[r], 0xE0E0E0);
        lv_obj_align(name, LV_ALIGN_LEFT_MID, 30, 0);
        lv_obj_t *value = label(row, values[r], 0x90A4AE);
        lv_obj_align(value, LV_ALIGN_RIGHT_MID, -8, 0);
    }
    lv_obj_t *nav = box(scr, 0, 140, 320, 30, 0x0D1318);
    for (int k = 0; k < 4; k++) {
        lv_obj_t *icon = lv_img_create(nav);
        std::string src = lv("icon" + std::to_string(k % 3) + ".png");
        lv_img_set_src(icon, src.c_str());
        lv_obj_align(icon, LV_ALIGN_LEFT_MID, 32 + k * 80, 0);
    }
    refresh();
    EXPECT_EQ(ch_a(pixel(0, 0)), 0xFF) << "an opaque screen flushes opaque pixels";
    EXPECT_TRUE(panel_matches("scene_settings"));
}

TEST_F(Scene, ChildrenAreClippedToTheirParent) {
    lv_obj_t *parent = box(lv_scr_act(), 40, 40, 100, 60, 0x303030);
    lv_obj_t *child = box(parent, 60, 30, 100, 100, 0xFF0000);
    (void)child;
    refresh();
    EXPECT_EQ(pixel(139, 99) & 0xFFFFFFu, 0xFF0000u) << "inside the parent";
    EXPECT_EQ(pixel(140, 99) & 0xFFFFFFu, 0x000000u) << "right of the parent";
    EXPECT_EQ(pixel(139, 100) & 0xFFFFFFu, 0x000000u) << "below the parent";
    EXPECT_EQ(pixel(99, 69) & 0xFFFFFFu, 0x303030u);
}

TEST_F(Scene, TopLayerIsDrawnOverTheScreen) {
    box(lv_scr_act(), 0, 0, 320, 170, 0x0000FF);
    lv_obj_t *bar = box(lv_layer_top(), 0, 0, 320, 20, 0x00FF00);
    lv_obj_set_style_bg_opa(bar, LV_OPA_50, 0);
    refresh();
    uint32_t p = pixel(10, 10);
    EXPECT_NEAR(ch_g(p), 127, 1);
    EXPECT_NEAR(ch_b(p), 128, 1);
    EXPECT_EQ(pixel(10, 30) & 0xFFFFFFu, 0x0000FFu);
}

TEST_F(Scene, BarIndicatorFollowsTheValue) {
    lv_obj_t *bar = lv_bar_create(lv_scr_act());
    lv_obj_remove_style_all(bar);
    lv_obj_set_pos(bar, 10, 10);
    lv_obj_set_size(bar, 200, 20);
    lv_obj_set_style_bg_color(bar, lv_color_hex(0x404040), 0);
    lv_obj_set_style_bg_opa(bar, LV_OPA_COVER, 0);
    lv_obj_set_style_bg_color(bar, lv_color_hex(0xFFC107), LV_PART_INDICATOR);
    lv_obj_set_style_bg_opa(bar, LV_OPA_COVER, LV_PART_INDICATOR);
    lv_bar_set_range(bar, 0, 100);
    lv_bar_set_value(bar, 25, LV_ANIM_OFF);
    refresh();
    EXPECT_EQ(pixel(20, 20) & 0xFFFFFFu, 0xFFC107u);
    EXPECT_EQ(pixel(100, 20) & 0xFFFFFFu, 0x404040u);
    lv_bar_set_value(bar, 75, LV_ANIM_OFF);
    refresh();
    EXPECT_EQ(pixel(100, 20) & 0xFFFFFFu, 0xFFC107u);
    EXPECT_EQ(pixel(200, 20) & 0xFFFFFFu, 0x404040u);
}

TEST_F(Scene, GifShowsItsFramesInTime) {
    ASSERT_TRUE(write_two_frame_gif(host("two.gif")));
    lv_obj_t *gif = lv_gif_create(lv_scr_act());
    std::string src = lv("two.gif");
    lv_gif_set_src(gif, src.c_str());
    lv_obj_set_pos(gif, 20, 20);
    bool ready = false;
    lv_obj_add_event_cb(
        gif, [](lv_event_t *e) { *static_cast<bool *>(lv_event_get_user_data(e)) = true; }, LV_EVENT_READY,
        &ready);
    refresh();
    EXPECT_EQ(lv_obj_get_width(gif), 8);
    EXPECT_EQ(pixel(24, 24) & 0xFFFFFFu, 0xFF0000u) << "first frame";

    advance(120);
    refresh();
    EXPECT_EQ(pixel(24, 24) & 0xFFFFFFu, 0x0000FFu) << "second frame after its delay";
    EXPECT_FALSE(ready);

    advance(150);
    EXPECT_TRUE(ready) << "played once, then READY";
    EXPECT_EQ(pixel(24, 24) & 0xFFFFFFu, 0x0000FFu) << "the last frame stays";

    lv_gif_restart(gif);
    refresh();
    EXPECT_EQ(pixel(24, 24) & 0xFFFFFFu, 0xFF0000u);

    /* A damaged file leaves the widget empty. */
    std::vector<char> junk(64, 'G');
    FILE *f = std::fopen(host("bad.gif").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(junk.data(), 1, junk.size(), f);
    std::fclose(f);
    std::string bad = lv("bad.gif");
    lv_gif_set_src(gif, bad.c_str());
    refresh();
    EXPECT_EQ(pixel(24, 24) & 0xFFFFFFu, 0x000000u);
}

TEST(SceneTransparent, ScreenTranspKeepsAlpha) {
    if (!lv_is_initialized())
        lv_init();
    static std::vector<lv_color_t> buf(100 * 40);
    static std::vector<uint32_t> panel(100 * 40, 0xDEADBEEF);
    lv_disp_draw_buf_t draw_buf;
    lv_disp_draw_buf_init(&draw_buf, buf.data(), nullptr, (uint32_t)buf.size());
    lv_disp_drv_t drv;
    lv_disp_drv_init(&drv);
    drv.hor_res = 100;
    drv.ver_res = 40;
    drv.screen_transp = 1;
    drv.draw_buf = &draw_buf;
    drv.flush_cb = [](lv_disp_drv_t *d, const lv_area_t *a, lv_color_t *px) {
        int32_t w = lv_area_get_width(a);
        for (int32_t y = a->y1; y <= a->y2; y++)
            for (int32_t x = a->x1; x <= a->x2; x++)
                panel[(size_t)y * 100 + x] = px[(size_t)(y - a->y1) * w + (x - a->x1)].full;
        lv_disp_flush_ready(d);
    };
    lv_disp_t *prev = lv_disp_get_default();
    lv_disp_t *disp = lv_disp_drv_register(&drv);
    lv_disp_set_default(disp);
    lv_obj_t *scr = lv_disp_get_scr_act(disp);
    lv_obj_remove_style_all(scr);
    lv_obj_set_style_bg_opa(scr, LV_OPA_TRANSP, 0);
    lv_obj_t *o = lv_obj_create(scr);
    lv_obj_remove_style_all(o);
    lv_obj_set_pos(o, 10, 10);
    lv_obj_set_size(o, 20, 20);
    lv_obj_set_style_bg_color(o, lv_color_hex(0xFF0000), 0);
    lv_obj_set_style_bg_opa(o, LV_OPA_50, 0);
    lv_refr_now(disp);

    EXPECT_EQ(ch_a(panel[0]), 0) << "uncovered pixels stay transparent";
    uint32_t p = panel[(size_t)15 * 100 + 15];
    EXPECT_EQ(ch_a(p), LV_OPA_50);
    EXPECT_EQ(p & 0xFFFFFFu, 0xFF0000u);

    lv_disp_remove(disp);
    if (prev)
        lv_disp_set_default(prev);
}
