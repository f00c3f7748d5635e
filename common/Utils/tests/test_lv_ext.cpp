#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "lv_label_ext_func.h"
#include "lvgl.h"

namespace {

void WriteFile(const char *path, const std::string &text) {
    FILE *fp = fopen(path, "wb");
    ASSERT_NE(fp, nullptr) << path;
    fwrite(text.data(), 1, text.size(), fp);
    fclose(fp);
}

/* Replaces the language file the way an update does: a new file renamed over the old one. */
void ReplaceLangFile(const std::string &text) {
    std::string tmp = std::string(TEST_LANG_FILE) + ".new";
    WriteFile(tmp.c_str(), text);
    ASSERT_EQ(rename(tmp.c_str(), TEST_LANG_FILE), 0);
}

const char *kLang = R"({
  "LANG_RES_ID_A": {"CN": "甲", "US": "Alpha", "GE": "Alfa"},
  "LANG_RES_ID_B": {"CN": "乙"},
  "LANG_RES_ID_WIDE": {"US": "甲乙"},
  "LANG_RES_ID_NUM": {"US": 5}
})";

class LvExtTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        lv_init();
        static lv_disp_draw_buf_t s_drawBuf;
        static lv_color_t s_buf[320 * 20];
        lv_disp_draw_buf_init(&s_drawBuf, s_buf, nullptr, 320 * 20);
        static lv_disp_drv_t s_drv;
        lv_disp_drv_init(&s_drv);
        s_drv.hor_res = 320;
        s_drv.ver_res = 170;
        s_drv.draw_buf = &s_drawBuf;
        s_drv.flush_cb = [](lv_disp_drv_t *drv, const lv_area_t *, lv_color_t *) {
            lv_disp_flush_ready(drv);
        };
        lv_disp_drv_register(&s_drv);
        lv_freetype_init(64, 0, 0);
    }

    void SetUp() override {
        ReplaceLangFile(kLang);
        Lang_SetCode("US");
        label = lv_label_create(lv_scr_act());
    }

    void TearDown() override { lv_obj_del(label); }

    std::string Text() { return lv_label_get_text(label); }

    lv_obj_t *label = nullptr;
};

TEST_F(LvExtTest, TextLookupByCurrentLanguage) {
    EXPECT_EQ(lv_label_set_text_tr(label, "LANG_RES_ID_A"), 0);
    EXPECT_EQ(Text(), "Alpha");

    /* A missing language column, a missing id or a text that is not a string leave the label as it was. */
    EXPECT_EQ(lv_label_set_text_tr(label, "LANG_RES_ID_B"), -1);
    EXPECT_EQ(lv_label_set_text_tr(label, "LANG_RES_ID_NONE"), -1);
    EXPECT_EQ(lv_label_set_text_tr(label, "LANG_RES_ID_NUM"), -1);
    EXPECT_EQ(lv_label_set_text_tr(label, nullptr), -1);
    EXPECT_EQ(lv_label_set_text_tr(label, "lang_res_id_a"), -1); /* ids are compared exactly */
    EXPECT_EQ(Text(), "Alpha");

    Lang_SetCode(nullptr);
    EXPECT_STREQ(Lang_GetCode(), "US");
    Lang_SetCode("CN");
    EXPECT_EQ(lv_label_set_text_tr(label, "LANG_RES_ID_B"), 0);
    EXPECT_EQ(Text(), "乙");
    EXPECT_TRUE(Lang_CodeContains("CN"));
    EXPECT_FALSE(Lang_CodeContains("TW"));
    EXPECT_FALSE(Lang_CodeContains(nullptr));

    std::string longCode(300, 'X');
    Lang_SetCode(longCode.c_str());
    EXPECT_EQ(strlen(Lang_GetCode()), 127u);
}

TEST_F(LvExtTest, ChangedLanguageFileIsPickedUp) {
    ASSERT_EQ(lv_label_set_text_tr(label, "LANG_RES_ID_A"), 0);

    ReplaceLangFile(R"({"LANG_RES_ID_A": {"US": "Renamed"}})");
    ASSERT_EQ(lv_label_set_text_tr(label, "LANG_RES_ID_A"), 0);
    EXPECT_EQ(Text(), "Renamed");

    /* Rewritten in place with the same size: its modification time tells. */
    WriteFile(TEST_LANG_FILE, R"({"LANG_RES_ID_A": {"US": "Rewrote"}})");
    struct timespec times[2] = {{0, UTIME_OMIT}, {12345, 678}};
    ASSERT_EQ(utimensat(AT_FDCWD, TEST_LANG_FILE, times, 0), 0);
    ASSERT_EQ(lv_label_set_text_tr(label, "LANG_RES_ID_A"), 0);
    EXPECT_EQ(Text(), "Rewrote");

    /* A broken or missing file fails cleanly, and a good one works again. */
    ReplaceLangFile(R"({"LANG_RES_ID_A": {"US": "Trunc)");
    EXPECT_EQ(lv_label_set_text_tr(label, "LANG_RES_ID_A"), -1);
    ReplaceLangFile("");
    EXPECT_EQ(lv_label_set_text_tr(label, "LANG_RES_ID_A"), -1);
    ASSERT_EQ(unlink(TEST_LANG_FILE), 0);
    EXPECT_EQ(lv_label_set_text_tr(label, "LANG_RES_ID_A"), -1);
    EXPECT_EQ(Text(), "Rewrote");
    ReplaceLangFile(kLang);
    EXPECT_EQ(lv_label_set_text_tr(label, "LANG_RES_ID_A"), 0);
    EXPECT_EQ(Text(), "Alpha");
}

TEST_F(LvExtTest, GetTextAlwaysTerminates) {
    char buf[16];
    memset(buf, '#', sizeof(buf));
    ASSERT_EQ(lv_label_get_text_tr("LANG_RES_ID_A", buf, 6), 0);
    EXPECT_STREQ(buf, "Alpha");

    /* Exactly as long as the buffer: cut by one, still terminated, nothing written past it. */
    memset(buf, '#', sizeof(buf));
    ASSERT_EQ(lv_label_get_text_tr("LANG_RES_ID_A", buf, 5), 0);
    EXPECT_STREQ(buf, "Alph");
    EXPECT_EQ(buf[5], '#');

    /* A cut never splits a character: "甲乙" is two 3-byte characters. */
    ASSERT_EQ(lv_label_get_text_tr("LANG_RES_ID_WIDE", buf, 6), 0);
    EXPECT_STREQ(buf, "甲");
    ASSERT_EQ(lv_label_get_text_tr("LANG_RES_ID_WIDE", buf, 3), 0);
    EXPECT_STREQ(buf, "");

    strcpy(buf, "keep");
    EXPECT_EQ(lv_label_get_text_tr("LANG_RES_ID_B", buf, sizeof(buf)), -1);
    EXPECT_EQ(lv_label_get_text_tr("LANG_RES_ID_A", buf, 0), -1);
    EXPECT_EQ(lv_label_get_text_tr("LANG_RES_ID_A", nullptr, 8), -1);
    EXPECT_STREQ(buf, "keep");
}

TEST_F(LvExtTest, FontsAreReusedPerLabel) {
    const lv_font_t *initial = lv_obj_get_style_text_font(label, LV_PART_MAIN);
    lv_label_freetype_set_text_normal(label, TEST_FONT_FILE, 22, LV_PART_MAIN);
    const lv_font_t *f22 = lv_obj_get_style_text_font(label, LV_PART_MAIN);
    ASSERT_NE(f22, initial);
    EXPECT_EQ(lv_font_get_line_height(f22) > 14, true);

    lv_label_freetype_set_text_normal(label, TEST_FONT_FILE, 22, LV_PART_MAIN);
    EXPECT_EQ(lv_obj_get_style_text_font(label, LV_PART_MAIN), f22);

    lv_label_freetype_set_text_normal(label, TEST_FONT_FILE, 40, LV_PART_MAIN);
    const lv_font_t *f40 = lv_obj_get_style_text_font(label, LV_PART_MAIN);
    EXPECT_NE(f40, f22);
    lv_label_freetype_set_text_bold(label, TEST_FONT_FILE, 22, LV_PART_MAIN);
    EXPECT_NE(lv_obj_get_style_text_font(label, LV_PART_MAIN), f22);

    /* An older record is found again and applied. */
    EXPECT_TRUE(lv_label_check_font_is_same(label, TEST_FONT_FILE, 22, UI_FONT_STYLE_NORMAL, LV_PART_MAIN));
    EXPECT_EQ(lv_obj_get_style_text_font(label, LV_PART_MAIN), f22);
    EXPECT_FALSE(lv_label_check_font_is_same(label, TEST_FONT_FILE, 23, UI_FONT_STYLE_NORMAL, LV_PART_MAIN));

    /* Fonts belong to their label: another label gets its own. */
    lv_obj_t *other = lv_label_create(lv_scr_act());
    EXPECT_FALSE(lv_label_check_font_is_same(other, TEST_FONT_FILE, 22, UI_FONT_STYLE_NORMAL, LV_PART_MAIN));
    lv_label_freetype_set_text_normal(other, TEST_FONT_FILE, 22, LV_PART_MAIN);
    EXPECT_NE(lv_obj_get_style_text_font(other, LV_PART_MAIN), f22);

    /* A font file that cannot be opened leaves the font as it was. */
    const lv_font_t *before = lv_obj_get_style_text_font(other, LV_PART_MAIN);
    lv_label_freetype_set_text_normal(other, "/nonexistent/font.ttf", 22, LV_PART_MAIN);
    EXPECT_EQ(lv_obj_get_style_text_font(other, LV_PART_MAIN), before);

    /* Deleting a label forgets its records (and frees its fonts). */
    lv_obj_del(other);
    other = lv_label_create(lv_scr_act());
    EXPECT_FALSE(lv_label_check_font_is_same(other, TEST_FONT_FILE, 22, UI_FONT_STYLE_NORMAL, LV_PART_MAIN));
    lv_obj_del(other);
}

TEST_F(LvExtTest, MissingCharactersComeFromTheFallbackFonts) {
    struct stat st;
    if (stat(RECORDER_ROOT "/app/bin/res/font/NotoSansCJK-Regular.ttc", &st) != 0) {
        GTEST_SKIP() << "the resource tree's fonts are not built";
    }
    lv_label_freetype_set_text_normal(label, TEST_FONT_FILE, 22, LV_PART_MAIN);
    const lv_font_t *own = lv_obj_get_style_text_font(label, LV_PART_MAIN);
    lv_font_glyph_dsc_t dsc;
    ASSERT_TRUE(lv_font_get_glyph_dsc(own, &dsc, 'A', 0));
    EXPECT_EQ(dsc.resolved_font, own);
    ASSERT_TRUE(lv_font_get_glyph_dsc(own, &dsc, 0x7532 /* 甲 */, 0));
    EXPECT_NE(dsc.resolved_font, own);
    ASSERT_TRUE(lv_font_get_glyph_dsc(own, &dsc, 0x0E01 /* Thai ko kai */, 0));
    EXPECT_NE(dsc.resolved_font, own);

    /* The fallback fonts of a size are shared by the labels using it. */
    lv_obj_t *other = lv_label_create(lv_scr_act());
    lv_label_freetype_set_text_normal(other, TEST_FONT_FILE, 22, LV_PART_MAIN);
    EXPECT_EQ(lv_obj_get_style_text_font(other, LV_PART_MAIN)->fallback, own->fallback);
    lv_obj_del(other);
}

TEST_F(LvExtTest, ResPathReusesOneBuffer) {
    const char *first = UI_ResPath("setmenu/navibar/up_icon.png", UI_RES_PIC_ROOT);
    EXPECT_STREQ(first, "/:/app/bin/res/pic/setmenu/navibar/up_icon.png");
    const char *second = UI_ResPath("loading.gif", UI_RES_GIF_ROOT);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "/:/app/bin/res/gif/loading.gif");

    std::string longName(400, 'a');
    const char *cut = UI_ResPath(longName.c_str(), UI_RES_PIC_ROOT);
    EXPECT_EQ(strlen(cut), 255u);
    EXPECT_STREQ(UI_ResPath(nullptr, UI_RES_PIC_ROOT), "");
}

TEST_F(LvExtTest, LabelHelpers) {
    lv_label_set_text(label, "Rec");
    Label_AppendText(label, " 01:02");
    EXPECT_EQ(Text(), "Rec 01:02");
    Label_AppendText(nullptr, "x");

    lv_point_t one, two;
    Label_GetTextSize(&one, label, "Wide text", 1000);
    Label_GetTextSize(&two, label, "Wide text\nWide text", 1000);
    EXPECT_GT(one.x, 0);
    EXPECT_EQ(two.x, one.x);
    EXPECT_GT(two.y, one.y);
    lv_obj_set_style_text_letter_space(label, 4, LV_PART_MAIN);
    Label_GetTextSize(&two, label, "Wide text", 1000);
    EXPECT_EQ(two.x, one.x + 4 * 8);
}

int32_t g_values[2];

TEST_F(LvExtTest, TimelineTable) {
    const AnimTimelineRow rows[] = {
        {0, label, [](void *, int32_t v) { g_values[0] = v; }, 0, 100, 100, lv_anim_path_linear, true},
        {100, label, [](void *, int32_t v) { g_values[1] = v; }, 10, 20, 100, nullptr, false},
        {0, nullptr, nullptr, 0, 0, 0, nullptr, false},
    };
    g_values[0] = g_values[1] = -1;
    lv_anim_timeline_t *timeline = lv_anim_timeline_create();
    AnimTimelineAddTable(timeline, rows);
    EXPECT_EQ(lv_anim_timeline_get_playtime(timeline), 200u);
    lv_anim_timeline_start(timeline);
    for (int i = 0; i < 30; i++) {
        lv_tick_inc(10);
        lv_timer_handler();
    }
    EXPECT_EQ(g_values[0], 100);
    EXPECT_EQ(g_values[1], 20);
    lv_anim_timeline_del(timeline);
}

} // namespace
