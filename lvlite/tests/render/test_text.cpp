/* Text: UTF-8 decoding, measuring and line breaking, glyph lookup through fallback fonts, and
 * labels drawn with the built-in font and with FreeType. */
#include <gtest/gtest.h>

#include "render_util.h"

#include <cstring>

using namespace render_test;

namespace {

const char *kSans = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";
const char *kCjk = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc";

/* A monospaced font of 10 px advance and 12 px lines with no glyph bitmaps, for measuring. */
bool mono_dsc(const lv_font_t *, lv_font_glyph_dsc_t *g, uint32_t letter, uint32_t) {
    if (letter < 0x20)
        return false;
    g->adv_w = 10;
    g->box_w = 0;
    g->box_h = 0;
    g->bpp = 8;
    return true;
}
const uint8_t *no_bitmap(const lv_font_t *, uint32_t) {
    return nullptr;
}

lv_font_t mono() {
    lv_font_t f;
    std::memset(&f, 0, sizeof(f));
    f.get_glyph_dsc = mono_dsc;
    f.get_glyph_bitmap = no_bitmap;
    f.line_height = 12;
    f.base_line = 2;
    return f;
}

class FreeTypeFonts : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(lv_freetype_init(8, 8, 0)); }
    lv_font_t *open(const char *path, uint16_t px, uint16_t style = FT_FONT_STYLE_NORMAL) {
        lv_ft_info_t info = {};
        info.name = path;
        info.weight = px;
        info.style = style;
        if (!lv_ft_font_init(&info))
            return nullptr;
        fonts_.push_back(info.font);
        return info.font;
    }
    void TearDown() override {
        for (lv_font_t *f : fonts_)
            lv_ft_font_destroy(f);
    }
    std::vector<lv_font_t *> fonts_;
};

lv_draw_label_dsc_t label_dsc(const lv_font_t *font, uint32_t rgb = 0x000000) {
    lv_draw_label_dsc_t d;
    lv_draw_label_dsc_init(&d);
    d.font = font;
    d.color = lv_color_hex(rgb);
    return d;
}

/* Bounding box of the pixels that differ from bg. */
lv_area_t ink_box(const Canvas &c, uint32_t bg = 0xFFFFFFFF) {
    lv_area_t a = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int32_t y = c.buf_area.y1; y <= c.buf_area.y2; y++)
        for (int32_t x = c.buf_area.x1; x <= c.buf_area.x2; x++)
            if (c.at(x, y) != bg) {
                a.x1 = std::min(a.x1, x);
                a.y1 = std::min(a.y1, y);
                a.x2 = std::max(a.x2, x);
                a.y2 = std::max(a.y2, y);
            }
    return a;
}

} // namespace

TEST(Utf8, DecodesAndStepsOverBrokenSequences) {
    const char *s = "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80";
    uint32_t i = 0;
    EXPECT_EQ(_lv_txt_encoded_next(s, &i), 'A');
    EXPECT_EQ(_lv_txt_encoded_next(s, &i), 0xE9u);
    EXPECT_EQ(_lv_txt_encoded_next(s, &i), 0x4E2Du);
    EXPECT_EQ(_lv_txt_encoded_next(s, &i), 0x1F600u);
    EXPECT_EQ(i, 10u);
    EXPECT_EQ(_lv_txt_get_encoded_length(s), 4u);
    EXPECT_EQ(_lv_txt_encoded_prev(s, &i), 0x1F600u);
    EXPECT_EQ(i, 6u);
    EXPECT_EQ(_lv_txt_encoded_get_byte_id(s, 2), 3u);
    EXPECT_EQ(_lv_txt_encoded_get_char_id(s, 6), 3u);

    /* A sequence cut by the end of the string never reads past the terminator. */
    const char cut[] = "\xE4\xB8";
    i = 0;
    EXPECT_EQ(_lv_txt_encoded_next(cut, &i), 0xE4u);
    EXPECT_EQ(i, 1u);
    EXPECT_EQ(_lv_txt_encoded_next(cut, &i), 0xB8u);
    EXPECT_EQ(i, 2u);
    EXPECT_EQ(_lv_txt_encoded_next(cut, &i), 0u);
    EXPECT_EQ(i, 2u);
    EXPECT_EQ(_lv_txt_get_encoded_length(cut), 2u);
}

TEST(Utf8, InsertAndCutByCharacter) {
    char buf[32] = "a\xC3\xA9z";
    _lv_txt_ins(buf, 2, "XY");
    EXPECT_STREQ(buf, "a\xC3\xA9XYz");
    _lv_txt_cut(buf, 1, 2);
    EXPECT_STREQ(buf, "aYz");
    _lv_txt_cut(buf, 2, 10);
    EXPECT_STREQ(buf, "aY");
}

TEST(TextLayout, SizeOfLinesWithSpacing) {
    lv_font_t f = mono();
    lv_point_t p;
    lv_txt_get_size(&p, "abc", &f, 2, 3, LV_COORD_MAX, LV_TEXT_FLAG_NONE);
    EXPECT_EQ(p.x, 34) << "three letters and two letter spaces";
    EXPECT_EQ(p.y, 12);

    lv_txt_get_size(&p, "ab\nabcd", &f, 0, 3, LV_COORD_MAX, LV_TEXT_FLAG_NONE);
    EXPECT_EQ(p.x, 40);
    EXPECT_EQ(p.y, 12 + 3 + 12);

    lv_txt_get_size(&p, "ab\n", &f, 0, 0, LV_COORD_MAX, LV_TEXT_FLAG_NONE);
    EXPECT_EQ(p.y, 24) << "a closing newline opens a line";

    lv_txt_get_size(&p, "", &f, 0, 5, 100, LV_TEXT_FLAG_NONE);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 12) << "an empty text is one line tall";
}

TEST(TextLayout, WrapsAtWordsAndBreaksLongWords) {
    lv_font_t f = mono();
    const char *t = "aaa bbb ccc";
    /* 75 px hold "aaa bbb" (70) but not the space after it (80): a word goes on the line only with
     * the space that follows it. */
    uint32_t n = _lv_txt_get_next_line(t, &f, 0, 75, nullptr, LV_TEXT_FLAG_NONE);
    EXPECT_EQ(std::string(t, n), "aaa ");
    EXPECT_EQ(std::string(t + n), "bbb ccc");
    n = _lv_txt_get_next_line(t, &f, 0, 80, nullptr, LV_TEXT_FLAG_NONE);
    EXPECT_EQ(std::string(t, n), "aaa bbb ");

    lv_point_t p;
    lv_txt_get_size(&p, t, &f, 0, 0, 75, LV_TEXT_FLAG_NONE);
    EXPECT_EQ(p.y, 24);
    lv_txt_get_size(&p, t, &f, 0, 0, 75, LV_TEXT_FLAG_EXPAND);
    EXPECT_EQ(p.y, 12) << "EXPAND never wraps";

    /* A word longer than the line is cut where it overflows. */
    const char *w = "abcdefghij";
    n = _lv_txt_get_next_line(w, &f, 0, 35, nullptr, LV_TEXT_FLAG_NONE);
    EXPECT_EQ(n, 3u);
    lv_txt_get_size(&p, w, &f, 0, 0, 35, LV_TEXT_FLAG_NONE);
    EXPECT_EQ(p.y, 4 * 12);
    EXPECT_EQ(p.x, 30);

    /* Narrower than one letter: still one letter per line, no endless loop. */
    lv_txt_get_size(&p, "abc", &f, 0, 0, 3, LV_TEXT_FLAG_NONE);
    EXPECT_EQ(p.y, 3 * 12);

    /* The newline belongs to its line. */
    n = _lv_txt_get_next_line("ab\ncd", &f, 0, 100, nullptr, LV_TEXT_FLAG_NONE);
    EXPECT_EQ(n, 3u);
}

TEST(FontFallback, MissingGlyphsComeFromTheChain) {
    lv_font_t second = mono();
    lv_font_t first = lv_font_montserrat_14;
    first.fallback = &second;

    lv_font_glyph_dsc_t g;
    ASSERT_TRUE(lv_font_get_glyph_dsc(&first, &g, 'A', 0));
    EXPECT_EQ(g.resolved_font, &first);
    ASSERT_TRUE(lv_font_get_glyph_dsc(&first, &g, 0x4E2D, 0));
    EXPECT_EQ(g.resolved_font, &second);
    EXPECT_EQ(g.adv_w, 10);

    /* Missing everywhere: a placeholder box, except for control characters. */
    EXPECT_FALSE(lv_font_get_glyph_dsc(&lv_font_montserrat_14, &g, 0x4E2D, 0));
    EXPECT_TRUE(g.is_placeholder);
    EXPECT_GT(g.adv_w, 0);
    EXPECT_FALSE(lv_font_get_glyph_dsc(&lv_font_montserrat_14, &g, '\n', 0));
    EXPECT_EQ(g.adv_w, 0);

    /* A chain that loops back on itself ends. */
    lv_font_t loop_a = mono(), loop_b = mono();
    loop_a.get_glyph_dsc = [](const lv_font_t *, lv_font_glyph_dsc_t *, uint32_t, uint32_t) { return false; };
    loop_b.get_glyph_dsc = loop_a.get_glyph_dsc;
    loop_a.fallback = &loop_b;
    loop_b.fallback = &loop_a;
    EXPECT_FALSE(lv_font_get_glyph_dsc(&loop_a, &g, 'x', 0));
}

TEST(DrawLabel, BuiltInFontDrawsInsideItsArea) {
    Canvas c(120, 40);
    const lv_font_t *def = LV_FONT_DEFAULT;
    lv_draw_label_dsc_t d = label_dsc(def);
    lv_area_t a = {10, 10, 109, 29};
    lv_draw_label(c.ctx, &d, &a, "Hello, world", nullptr);
    lv_area_t ink = ink_box(c);
    EXPECT_GE(ink.x1, 10);
    EXPECT_LE(ink.x1, 12);
    EXPECT_GE(ink.y1, 10);
    EXPECT_LE(ink.y2, 10 + def->line_height);
    lv_point_t size;
    lv_txt_get_size(&size, "Hello, world", def, 0, 0, LV_COORD_MAX, LV_TEXT_FLAG_NONE);
    EXPECT_NEAR(ink.x2 - 10 + 1, size.x, 2);
    EXPECT_TRUE(matches_reference(c, "label_builtin"));
}

TEST(DrawLabel, AlignmentOffsetsAndClipping) {
    const lv_font_t *font = LV_FONT_DEFAULT;
    lv_draw_label_dsc_t d = label_dsc(font);
    lv_area_t a = {0, 0, 99, 19};

    Canvas left(100, 20), right(100, 20), center(100, 20);
    lv_draw_label(left.ctx, &d, &a, "ab", nullptr);
    d.align = LV_TEXT_ALIGN_RIGHT;
    lv_draw_label(right.ctx, &d, &a, "ab", nullptr);
    d.align = LV_TEXT_ALIGN_CENTER;
    lv_draw_label(center.ctx, &d, &a, "ab", nullptr);
    lv_area_t l = ink_box(left), r = ink_box(right), m = ink_box(center);
    EXPECT_LT(l.x2, 20);
    EXPECT_GT(r.x1, 80);
    EXPECT_NEAR((m.x1 + m.x2) / 2, 50, 2);

    /* ofs_x/ofs_y move the text (scrolled labels). */
    Canvas moved(100, 40);
    d.align = LV_TEXT_ALIGN_LEFT;
    d.ofs_x = 7;
    d.ofs_y = 13;
    lv_area_t a2 = {0, 0, 99, 39};
    lv_draw_label(moved.ctx, &d, &a2, "ab", nullptr);
    lv_area_t mv = ink_box(moved);
    EXPECT_EQ(mv.x1, l.x1 + 7);
    EXPECT_EQ(mv.y1, l.y1 + 13);

    /* Nothing outside the clip area, even for text that reaches beyond it. */
    Canvas clipped(100, 20);
    clipped.set_clip(0, 0, 9, 19);
    d.ofs_x = d.ofs_y = 0;
    lv_draw_label(clipped.ctx, &d, &a, "WWWWWWWW", nullptr);
    EXPECT_GT(clipped.count_not(0xFFFFFFFFu), 0u);
    lv_area_t ck = ink_box(clipped);
    EXPECT_LE(ck.x2, 9);
}

TEST(DrawLabel, OpacityAndLineSpacing) {
    lv_draw_label_dsc_t d = label_dsc(LV_FONT_DEFAULT);
    lv_area_t a = {0, 0, 59, 59};
    Canvas one(60, 60);
    lv_draw_label(one.ctx, &d, &a, "I", nullptr);
    uint8_t darkest = 255;
    for (auto &p : one.px)
        darkest = std::min(darkest, p.ch.red);
    EXPECT_LT(darkest, 100);

    /* Half opacity halves every pixel's coverage. */
    Canvas half(60, 60);
    d.opa = LV_OPA_50;
    lv_draw_label(half.ctx, &d, &a, "I", nullptr);
    uint8_t darkest_half = 255;
    for (auto &p : half.px)
        darkest_half = std::min(darkest_half, p.ch.red);
    EXPECT_NEAR(darkest_half, 255 - (255 - darkest) * 127 / 255, 2);

    Canvas two(60, 60), spaced(60, 60);
    d.opa = LV_OPA_COVER;
    lv_draw_label(two.ctx, &d, &a, "I\nI", nullptr);
    d.line_space = 9;
    lv_draw_label(spaced.ctx, &d, &a, "I\nI", nullptr);
    EXPECT_EQ(ink_box(spaced).y2 - ink_box(two).y2, 9);
}

TEST_F(FreeTypeFonts, RendersAntialiasedGlyphs) {
    lv_font_t *font = open(kSans, 20);
    ASSERT_NE(font, nullptr);
    EXPECT_GE(font->line_height, 20);
    EXPECT_GT(font->base_line, 0);

    lv_font_glyph_dsc_t g;
    ASSERT_TRUE(lv_font_get_glyph_dsc(font, &g, 'O', 0));
    EXPECT_EQ(g.bpp, 8);
    const uint8_t *bm = lv_font_get_glyph_bitmap(font, 'O');
    ASSERT_NE(bm, nullptr);
    int partial = 0;
    for (int i = 0; i < g.box_w * g.box_h; i++)
        partial += bm[i] > 0 && bm[i] < 255;
    EXPECT_GT(partial, 10) << "8-bit coverage, not a 1-bit bitmap";

    Canvas c(200, 40);
    lv_draw_label_dsc_t d = label_dsc(font, 0x202020);
    lv_area_t a = {4, 4, 195, 35};
    lv_draw_label(c.ctx, &d, &a, "Settings 12:45", nullptr);
    EXPECT_TRUE(matches_reference(c, "label_freetype", 8));
}

TEST_F(FreeTypeFonts, BoldIsWiderAndMissingFontsFail) {
    lv_font_t *normal = open(kSans, 16);
    lv_font_t *bold = open(kSans, 16, FT_FONT_STYLE_BOLD);
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(bold, nullptr);
    lv_font_glyph_dsc_t gn, gb;
    ASSERT_TRUE(lv_font_get_glyph_dsc(normal, &gn, 'H', 0));
    ASSERT_TRUE(lv_font_get_glyph_dsc(bold, &gb, 'H', 0));
    EXPECT_GT(gb.adv_w, gn.adv_w);
    auto ink = [](lv_font_t *f, const lv_font_glyph_dsc_t &g) {
        const uint8_t *bm = lv_font_get_glyph_bitmap(f, 'H');
        long sum = 0;
        for (int i = 0; i < g.box_w * g.box_h; i++)
            sum += bm[i];
        return sum;
    };
    EXPECT_GT(ink(bold, gb), ink(normal, gn) * 5 / 4);

    EXPECT_EQ(open("/nonexistent/font.ttf", 16), nullptr);
    lv_ft_info_t bad = {};
    bad.name = kSans;
    bad.weight = 0;
    EXPECT_FALSE(lv_ft_font_init(&bad));
    EXPECT_EQ(bad.font, nullptr);
}

TEST_F(FreeTypeFonts, CjkGlyphsComeFromTheFallbackFont) {
    lv_font_t *latin = open(kSans, 18);
    lv_font_t *cjk = open(kCjk, 18);
    ASSERT_NE(latin, nullptr);
    ASSERT_NE(cjk, nullptr);

    const char *text = "Menu \xE8\xAE\xBE\xE7\xBD\xAE"; /* "Menu 设置" */
    Canvas without(160, 30), with(160, 30);
    lv_draw_label_dsc_t d = label_dsc(latin);
    lv_area_t a = {2, 2, 157, 27};
    lv_draw_label(without.ctx, &d, &a, text, nullptr);
    latin->fallback = cjk;
    lv_draw_label(with.ctx, &d, &a, text, nullptr);
    latin->fallback = nullptr;

    /* Without the fallback the two characters are placeholder boxes; with it, real glyphs. */
    lv_font_glyph_dsc_t g;
    EXPECT_FALSE(lv_font_get_glyph_dsc(latin, &g, 0x8BBE, 0));
    latin->fallback = cjk;
    ASSERT_TRUE(lv_font_get_glyph_dsc(latin, &g, 0x8BBE, 0));
    EXPECT_EQ(g.resolved_font, cjk);
    latin->fallback = nullptr;
    EXPECT_NE(without.px.size(), 0u);
    size_t diff = 0;
    for (size_t i = 0; i < with.px.size(); i++)
        diff += with.px[i].full != without.px[i].full;
    EXPECT_GT(diff, 30u);
    EXPECT_TRUE(matches_reference(with, "label_cjk_fallback", 8));
}
