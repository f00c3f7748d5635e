// Labels, images and bars.
#include "lv_test_env.h"

#include <cstring>
#include <vector>

namespace {

class Widgets : public LvTest {};

TEST_F(Widgets, LabelTextSetters) {
    lv_obj_t *l = lv_label_create(lv_scr_act());
    EXPECT_STREQ(lv_label_get_text(l), "Text");
    lv_label_set_text_fmt(l, "%d/%d", 3, 8);
    EXPECT_STREQ(lv_label_get_text(l), "3/8");
    lv_label_ins_text(l, 1, "ab");
    EXPECT_STREQ(lv_label_get_text(l), "3ab/8");
    lv_label_ins_text(l, LV_LABEL_POS_LAST, "!");
    EXPECT_STREQ(lv_label_get_text(l), "3ab/8!");
    // Setting the label's own text (or a part of it) is safe.
    lv_label_set_text(l, lv_label_get_text(l) + 1);
    EXPECT_STREQ(lv_label_get_text(l), "ab/8!");
    static const char kStatic[] = "static";
    lv_label_set_text_static(l, kStatic);
    EXPECT_EQ(lv_label_get_text(l), kStatic);
    lv_label_set_text(l, "copy");
    EXPECT_STREQ(lv_label_get_text(l), "copy");
    EXPECT_NE(lv_label_get_text(l), kStatic);
}

TEST_F(Widgets, LabelSizeFollowsTextAndWraps) {
    lv_obj_t *l = lv_label_create(lv_scr_act());
    lv_label_set_text(l, "one two three four five six");
    lv_obj_update_layout(l);
    lv_point_t size;
    lv_txt_get_size(&size, "one two three four five six", LV_FONT_DEFAULT, 0, 0, LV_COORD_MAX,
                    LV_TEXT_FLAG_NONE);
    EXPECT_EQ(lv_obj_get_width(l), size.x);
    EXPECT_EQ(lv_obj_get_height(l), size.y);
    lv_obj_set_width(l, 60);
    lv_obj_update_layout(l);
    EXPECT_GT(lv_obj_get_height(l), size.y);
}

// The label's pixels over its own box, for comparing two renderings.
static std::vector<uint32_t> box_pixels(const std::vector<uint32_t> &panel, lv_obj_t *obj) {
    lv_area_t a;
    lv_obj_get_coords(obj, &a);
    std::vector<uint32_t> out;
    for (lv_coord_t y = a.y1; y <= a.y2; y++)
        for (lv_coord_t x = a.x1; x <= a.x2; x++)
            out.push_back(panel[(size_t)y * 320 + (size_t)x]);
    return out;
}

TEST_F(Widgets, LabelDotsKeepTheTextAndStaticTextIsNotWritten) {
    static const char kLong[] = "a rather long text that needs several lines";
    lv_obj_t *l = lv_label_create(lv_scr_act());
    lv_obj_set_style_text_color(l, lv_color_white(), 0);
    lv_obj_set_size(l, 60, lv_font_get_line_height(LV_FONT_DEFAULT));
    lv_label_set_text_static(l, kLong);
    lv_label_set_long_mode(l, LV_LABEL_LONG_CLIP);
    refresh();
    std::vector<uint32_t> clipped = box_pixels(panel_, l);
    lv_label_set_long_mode(l, LV_LABEL_LONG_DOT);
    refresh();
    std::vector<uint32_t> dotted = box_pixels(panel_, l);
    EXPECT_STREQ(lv_label_get_text(l), kLong);
    // The end of the line shows dots instead of the clipped letters; the start is the same.
    EXPECT_NE(dotted, clipped);
    lv_coord_t w = lv_obj_get_width(l);
    EXPECT_EQ(std::vector<uint32_t>(dotted.begin(), dotted.begin() + w / 3),
              std::vector<uint32_t>(clipped.begin(), clipped.begin() + w / 3));
    // A text that fits is drawn as it is.
    lv_label_set_text(l, "ab");
    refresh();
    dotted = box_pixels(panel_, l);
    lv_label_set_long_mode(l, LV_LABEL_LONG_CLIP);
    refresh();
    EXPECT_EQ(dotted, box_pixels(panel_, l));
}

TEST_F(Widgets, LabelCircularScrollMovesTheTextAndKeepsItsPlaceOnRefresh) {
    lv_obj_t *l = lv_label_create(lv_scr_act());
    lv_obj_set_width(l, 50);
    lv_label_set_long_mode(l, LV_LABEL_LONG_SCROLL_CIRCULAR);
    lv_label_set_text(l, "a text much wider than fifty pixels");
    lv_obj_update_layout(l);
    ASSERT_NE(lv_anim_get(l, nullptr), nullptr);
    advance(500, 10);
    lv_coord_t ofs = ((lv_label_t *)l)->offset.x;
    EXPECT_LT(ofs, -10);
    lv_label_set_text(l, "a text much wider than fifty pixels");
    EXPECT_LE(((lv_label_t *)l)->offset.x, ofs + 1);
    lv_label_set_long_mode(l, LV_LABEL_LONG_CLIP);
    EXPECT_EQ(lv_anim_get(l, nullptr), nullptr);
    EXPECT_EQ(((lv_label_t *)l)->offset.x, 0);
}

TEST_F(Widgets, ImageTakesItsSizeFromTheDescriptor) {
    static uint32_t px[6 * 4];
    for (uint32_t &p : px)
        p = 0xFF00FF00;
    static lv_img_dsc_t dsc;
    std::memset(&dsc, 0, sizeof(dsc));
    dsc.header.cf = LV_IMG_CF_TRUE_COLOR_ALPHA;
    dsc.header.w = 6;
    dsc.header.h = 4;
    dsc.data_size = sizeof(px);
    dsc.data = reinterpret_cast<const uint8_t *>(px);
    lv_obj_t *img = lv_img_create(lv_scr_act());
    lv_img_set_src(img, &dsc);
    lv_obj_set_pos(img, 30, 40);
    lv_obj_update_layout(img);
    EXPECT_EQ(lv_obj_get_width(img), 6);
    EXPECT_EQ(lv_obj_get_height(img), 4);
    refresh();
    EXPECT_EQ(pixel(32, 41) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(pixel(36, 41) & 0xFFFFFF, 0u);
    lv_img_set_src(img, "/:/no/such/file.png");
    lv_obj_update_layout(img);
    EXPECT_EQ(lv_obj_get_width(img), 0);
}

TEST_F(Widgets, BarRangeValueAndIndicator) {
    lv_obj_t *bar = lv_bar_create(lv_scr_act());
    lv_obj_set_size(bar, 100, 10);
    lv_obj_set_pos(bar, 10, 10);
    lv_obj_set_style_bg_opa(bar, LV_OPA_COVER, LV_PART_INDICATOR);
    lv_obj_set_style_bg_color(bar, lv_color_hex(0xFF0000), LV_PART_INDICATOR);
    lv_bar_set_range(bar, 0, 200);
    lv_bar_set_value(bar, 100, LV_ANIM_OFF);
    EXPECT_EQ(lv_bar_get_value(bar), 100);
    lv_bar_set_value(bar, 500, LV_ANIM_OFF);
    EXPECT_EQ(lv_bar_get_value(bar), 200);
    lv_bar_set_value(bar, 100, LV_ANIM_OFF);
    refresh();
    EXPECT_EQ(pixel(20, 15) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(pixel(58, 15) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(pixel(62, 15) & 0xFFFFFF, 0u);
    lv_obj_set_style_anim_time(bar, 200, 0);
    lv_bar_set_value(bar, 200, LV_ANIM_ON);
    EXPECT_EQ(lv_bar_get_value(bar), 200);
    advance(300, 10);
    refresh();
    EXPECT_EQ(pixel(105, 15) & 0xFFFFFF, 0xFF0000u);
}

} // namespace

namespace {

class MoreWidgets : public LvTest {};

TEST_F(MoreWidgets, LabelScrollGoesToTheEndAndBack) {
    lv_obj_t *l = lv_label_create(lv_scr_act());
    lv_obj_set_width(l, 40);
    lv_label_set_long_mode(l, LV_LABEL_LONG_SCROLL);
    lv_label_set_text(l, "wider than forty pixels");
    lv_obj_update_layout(l);
    lv_anim_t *a = lv_anim_get(l, nullptr);
    ASSERT_NE(a, nullptr);
    lv_coord_t text_w =
        lv_txt_get_width("wider than forty pixels", 23, LV_FONT_DEFAULT, 0, LV_TEXT_FLAG_NONE);
    EXPECT_EQ(a->end_value, 40 - text_w);
    EXPECT_EQ(a->playback_time, (uint32_t)a->time);
    lv_coord_t min_ofs = 0;
    for (int i = 0; i < 200; i++) {
        advance(30, 30);
        min_ofs = LV_MIN(min_ofs, ((lv_label_t *)l)->offset.x);
    }
    EXPECT_EQ(min_ofs, 40 - text_w);
    // A text that fits does not move.
    lv_label_set_text(l, "ab");
    lv_obj_update_layout(l);
    EXPECT_EQ(((lv_label_t *)l)->offset.x, 0);
}

TEST_F(MoreWidgets, BarRangeModeAndVerticalIndicator) {
    lv_obj_t *bar = lv_bar_create(lv_scr_act());
    lv_obj_set_size(bar, 10, 100);
    lv_obj_set_pos(bar, 10, 10);
    lv_obj_set_style_bg_opa(bar, LV_OPA_COVER, LV_PART_INDICATOR);
    lv_obj_set_style_bg_color(bar, lv_color_hex(0x00FF00), LV_PART_INDICATOR);
    lv_bar_set_mode(bar, LV_BAR_MODE_RANGE);
    lv_bar_set_value(bar, 80, LV_ANIM_OFF);
    lv_bar_set_start_value(bar, 20, LV_ANIM_OFF);
    EXPECT_EQ(lv_bar_get_start_value(bar), 20);
    lv_bar_set_start_value(bar, 90, LV_ANIM_OFF); // never past the value
    EXPECT_EQ(lv_bar_get_start_value(bar), 80);
    lv_bar_set_start_value(bar, 20, LV_ANIM_OFF);
    refresh();
    // Vertical: filled from the bottom, between 20 % and 80 %.
    EXPECT_EQ(pixel(15, 10 + 50) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(pixel(15, 10 + 5) & 0xFFFFFF, 0u);
    EXPECT_EQ(pixel(15, 10 + 95) & 0xFFFFFF, 0u);
}

} // namespace
