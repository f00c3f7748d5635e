// The video, system and screen pages: every option's value and the rule that marks the stored
// value (one row per option), the resolutions the recorder offers, the stamps' switches, the
// language switching the texts at once, the date and time editor's limits and what it sends.
#include <vector>

#include "SysSetingScreenSet.h"
#include "SysSetingSysSet.h"
#include "SysSetingVideoSet.h"
#include "sysseting_env.h"

namespace {

using namespace syssettest;
using Page::SysSetingScreenSet;
using Page::SysSetingScreenSetModel;
using Page::SysSetingSysSet;
using Page::SysSetingSysSetModel;
using Page::SysSetingVideoSet;
using Page::SysSetingVideoSetModel;

// ---- value rules ----

TEST(SysSetRules, TimeFormatAndLanguage) {
    const int fmt[][2] = {{0, 3}, {1, 0}, {5, 0}, {2, 1}, {3, 2}, {4, 4}, {6, 0}, {-1, 0}};
    for (const auto &r : fmt) {
        EXPECT_EQ(SysSetingSysSetModel::MenuChangeTimeFmtValToLevel(r[0]), r[1]) << r[0];
    }
    const int lang[][2] = {{2, 0}, {3, 1}, {0, -1}, {12, -1}};
    for (const auto &r : lang) {
        EXPECT_EQ(SysSetingSysSetModel::MenuChangeLangValToLevel(r[0]), r[1]) << r[0];
    }
}

TEST(ScreenRules, Wallpaper) {
    const int rows[][2] = {{1, 1}, {3, 3}, {0, 0}, {2, 0}, {7, 0}};
    for (const auto &r : rows) {
        EXPECT_EQ(SysSetingScreenSetModel::MenuChangeWallPaperValToLevel(r[0]), r[1]) << r[0];
    }
}

TEST(VideoRules, ResolutionsOfferedAndMarked) {
    EXPECT_EQ(SysSetingVideoSetModel::ResoInit("rear,1080p30,wifi,2160p30,1080p3"), 2u);
    // Offered in the table's order, whatever the order of the words.
    EXPECT_STREQ(SysSetingVideoSetModel::ResoAt(0)->pcName, "2160p30");
    EXPECT_STREQ(SysSetingVideoSetModel::ResoAt(1)->pcName, "1080p30");
    EXPECT_EQ(SysSetingVideoSetModel::ResoAt(2), nullptr);
    EXPECT_EQ(SysSetingVideoSetModel::MenuChangeResoValToLevel(3), 0);
    EXPECT_EQ(SysSetingVideoSetModel::MenuChangeResoValToLevel(2), 1);
    EXPECT_EQ(SysSetingVideoSetModel::MenuChangeResoValToLevel(1), -1); // not offered
    EXPECT_EQ(SysSetingVideoSetModel::MenuChangeResoValToLevel(29), 0); // above 28
    EXPECT_EQ(SysSetingVideoSetModel::ResoInit(""), 0u);
    uint32_t n = 0;
    SysSetingVideoSetModel::KnownResolutions(&n);
    std::string all;
    for (uint32_t i = 0; i < n; ++i) {
        all += std::string(all.empty() ? "" : ",") + SysSetingVideoSetModel::KnownResolutions(&n)[i].pcName;
    }
    EXPECT_EQ(SysSetingVideoSetModel::ResoInit(all.c_str()), n);
}

TEST(DateTimeEditor, FieldLimits) {
    using M = SysSetingSysSetModel;
    const struct {
        unsigned y, m;
        unsigned days;
    } months[] = {{2023, 1, 31}, {2023, 2, 28}, {2024, 2, 29},  {1900, 2, 28},  {2000, 2, 29}, {2023, 4, 30},
                  {2023, 6, 30}, {2023, 9, 30}, {2023, 11, 30}, {2023, 12, 31}, {2023, 7, 31}, {2023, 8, 31}};
    for (const auto &c : months) {
        EXPECT_EQ(M::DaysOfMonth(c.y, c.m), c.days) << c.y << "-" << c.m;
    }
    M::DateTimeEdit e = {2024, 2, 29, 23, 59, 59, false, false};
    M::DateTimeStep(&e, M::DT_DAY, +1); // stops at the month's last day
    EXPECT_EQ(e.u32Day, 29u);
    M::DateTimeStep(&e, M::DT_YEAR, +1); // 2025 is no leap year: the day follows
    EXPECT_EQ(e.u32Day, 28u);
    M::DateTimeStep(&e, M::DT_HOUR, +1); // 24-hour clock stops at 23
    EXPECT_EQ(e.u32Hour, 23u);
    M::DateTimeStep(&e, M::DT_MINUTE, +1); // minutes and seconds wrap
    EXPECT_EQ(e.u32Minute, 0u);
    M::DateTimeStep(&e, M::DT_SECOND, +1);
    EXPECT_EQ(e.u32Second, 0u);
    M::DateTimeStep(&e, M::DT_SECOND, -1);
    EXPECT_EQ(e.u32Second, 59u);
    e.u32Month = 12;
    M::DateTimeStep(&e, M::DT_MONTH, +1);
    EXPECT_EQ(e.u32Month, 12u);
    e.u32Month = 1;
    M::DateTimeStep(&e, M::DT_MONTH, -1);
    EXPECT_EQ(e.u32Month, 1u);
    e.u32Year = 9999;
    M::DateTimeStep(&e, M::DT_YEAR, +1);
    EXPECT_EQ(e.u32Year, 9999u);
    e.u32Month = 3;
    e.u32Day = 31;
    M::DateTimeStep(&e, M::DT_MONTH, +1); // April has 30 days
    EXPECT_EQ(e.u32Day, 30u);

    // The 12-hour clock: 1 to 12, AM/PM toggles, sent on the 24-hour clock.
    struct tm t = {};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 9;
    t.tm_hour = 0;
    t.tm_min = 5;
    t.tm_sec = 7;
    M::DateTimeEdit h = M::DateTimeFromTm(t, true);
    EXPECT_EQ(h.u32Hour, 12u);
    EXPECT_FALSE(h.bPm);
    char sz[24];
    M::DateTimeText(h, sz, sizeof sz);
    EXPECT_STREQ(sz, "20261209000507");
    M::DateTimeStep(&h, M::DT_HOUR, +1);
    EXPECT_EQ(h.u32Hour, 12u);
    M::DateTimeStep(&h, M::DT_AMPM, +1);
    M::DateTimeText(h, sz, sizeof sz);
    EXPECT_STREQ(sz, "20261209120507");
    h.u32Hour = 1;
    M::DateTimeStep(&h, M::DT_HOUR, -1);
    EXPECT_EQ(h.u32Hour, 1u);
    M::DateTimeText(h, sz, sizeof sz);
    EXPECT_STREQ(sz, "20261209130507");
    t.tm_hour = 13;
    EXPECT_EQ(M::DateTimeFromTm(t, false).u32Hour, 13u);
    EXPECT_EQ(M::DateTimeFromTm(t, true).u32Hour, 1u);
    EXPECT_EQ(M::FieldNum(M::DateTimeFromTm(t, true)), 7u);
    EXPECT_EQ(M::FieldNum(M::DateTimeFromTm(t, false)), 6u);
}

// ---- every option on screen ----

// One option of a list: where the list hangs (rows from the root), the option's position, and
// the setting it writes.
struct Choice {
    std::vector<int> path;
    int pos;
    const char *key;
    int value;
};

class PagesTest : public SettingsTest {
  protected:
    void SetUp() override {
        SettingsTest::SetUp();
        ASSERT_NE(Open<PageBase>("Pages/SysSetingHome"), nullptr); // the page BACK returns to
    }
    template <typename P> P *OpenPage(const char *name, SetMenu *root) {
        root->iCurrentPos = 0;
        P *p = Open<P>(name);
        Recorder().ClearRequests();
        return p;
    }
    // Moves the focus from the focused row to row pos with NEXT.
    void FocusRow(Page::SysSetingPage *p, int pos) {
        for (int i = 0; i < 16 && FocusedRow(p) != pos; ++i) {
            Press(KEY_CODE_NEXT);
        }
        ASSERT_EQ(FocusedRow(p), pos);
    }
    // From the root list: walks down the path with the keys, chooses the option, checks the
    // recorder's settings and the mark, and walks back up.
    void Choose(Page::SysSetingPage *p, const Choice &c) {
        for (int row : c.path) {
            FocusRow(p, row);
            Press(KEY_CODE_OK);
        }
        FocusRow(p, c.pos);
        Press(KEY_CODE_OK);
        ASSERT_TRUE(SavesDone());
        EXPECT_EQ(RecorderSetting(c.key), c.value) << c.key << " option " << c.pos;
        EXPECT_EQ(SelectedPos(p), c.pos) << c.key;
        for (size_t i = 0; i < c.path.size(); ++i) {
            Press(KEY_CODE_BACK);
        }
        // Opened again, the list marks the option chosen.
        for (int row : c.path) {
            FocusRow(p, row);
            Press(KEY_CODE_OK);
        }
        EXPECT_EQ(SelectedPos(p), c.pos) << c.key << " again";
        for (size_t i = 0; i < c.path.size(); ++i) {
            Press(KEY_CODE_BACK);
        }
    }
};

TEST_F(PagesTest, VideoOptions) {
    SetSettingText("api_query_ability", "rear,wifi,1440p30,1080p60,1080p30");
    SetSetting("eventvideo_level", 10);
    SetSetting("res_cur_lvl", 0);
    SetSetting("antiFlicker", 0);
    auto *p = OpenPage<SysSetingVideoSet>("Pages/SysSetingVideoSet", SysSetingVideoSet::RootMenu());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(LabelText(p->RowObj(0, PAGE_COMMON_OBJ_VALUE)), Tr("LANG_RES_ID_20S"));
    EXPECT_EQ(LabelText(p->RowObj(1, PAGE_COMMON_OBJ_VALUE)), "2560x1440 30P");
    EXPECT_EQ(LabelText(p->RowObj(3, PAGE_COMMON_OBJ_VALUE)), Tr("LANG_RES_ID_60HZ"));
    const Choice choices[] = {
        {{0}, 0, "eventvideo_level", 5},  {{0}, 2, "eventvideo_level", 15}, {{0}, 3, "eventvideo_level", 0},
        {{0}, 1, "eventvideo_level", 10}, {{1}, 1, "res_cur_lvl", 1},       {{1}, 2, "res_cur_lvl", 2},
        {{1}, 0, "res_cur_lvl", 0},       {{3}, 0, "antiFlicker", 1},       {{3}, 2, "antiFlicker", 2},
        {{3}, 1, "antiFlicker", 0},
    };
    for (const Choice &c : choices) {
        Choose(p, c);
    }
    // The resolution list holds what the recorder offers.
    FocusRow(p, 1);
    Press(KEY_CODE_OK);
    EXPECT_EQ(p->Model.GetItemNum(), 3);
    EXPECT_EQ(LabelText(p->RowObj(2, PAGE_COMMON_OBJ_LABEL)), "1920x1080 30P");
    Press(KEY_CODE_BACK);
}

TEST_F(PagesTest, VideoStampsAreSwitchRows) {
    SetSetting("osd_switch", 1);
    SetSetting("osd_speedswitch", 0);
    auto *p = OpenPage<SysSetingVideoSet>("Pages/SysSetingVideoSet", SysSetingVideoSet::RootMenu());
    FocusRow(p, 2);
    Press(KEY_CODE_OK);
    EXPECT_TRUE(SwitchOn(p, 0));
    EXPECT_FALSE(SwitchOn(p, 1));
    FocusRow(p, 0);
    Press(KEY_CODE_OK);
    FocusRow(p, 1);
    Press(KEY_CODE_OK);
    EXPECT_FALSE(SwitchOn(p, 0));
    EXPECT_TRUE(SwitchOn(p, 1));
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("osd_switch"), 0);
    EXPECT_EQ(RecorderSetting("osd_speedswitch"), 1);
    EXPECT_EQ(SelectedPos(p), -1); // switches carry no selected mark
}

TEST_F(PagesTest, VideoWithoutResolutionsStaysOnTheMainList) {
    SetSettingText("api_query_ability", "rear,wifi");
    auto *p = OpenPage<SysSetingVideoSet>("Pages/SysSetingVideoSet", SysSetingVideoSet::RootMenu());
    FocusRow(p, 1);
    Press(KEY_CODE_OK);
    EXPECT_EQ(p->Model.m_pstTopMenu, SysSetingVideoSet::RootMenu());
    EXPECT_EQ(FocusedRow(p), 1);
    EXPECT_EQ(Saves(), 0u);
}

TEST_F(PagesTest, ScreenOptions) {
    SetSetting("screen_dormant", 30);
    SetSetting("wallpaper", 1);
    SetSetting("screen_brightness", 70);
    auto *p = OpenPage<SysSetingScreenSet>("Pages/SysSetingScreenSet", SysSetingScreenSet::RootMenu());
    ASSERT_NE(p, nullptr);
    const Choice choices[] = {
        {{0}, 1, "screen_dormant", 60},     {{0}, 0, "screen_dormant", 30},
        {{1}, 3, "wallpaper", 3},           {{1}, 1, "wallpaper", 1},
        {{2}, 0, "screen_brightness", 100}, {{2}, 2, "screen_brightness", 40},
        {{2}, 1, "screen_brightness", 70},
    };
    for (const Choice &c : choices) {
        Choose(p, c);
    }
    // The wallpaper list shows two options (82 and 84 are not offered).
    FocusRow(p, 1);
    Press(KEY_CODE_OK);
    EXPECT_EQ(p->RowObj(0, PAGE_COMMON_OBJ_BTN), nullptr);
    EXPECT_EQ(p->RowObj(2, PAGE_COMMON_OBJ_BTN), nullptr);
    EXPECT_EQ(Focus(), "1/2");
    Press(KEY_CODE_BACK);
}

TEST_F(PagesTest, AlwaysOnWritesScreenTimeThenWallpaper) {
    SetSetting("screen_dormant", 30);
    SetSetting("wallpaper", 1);
    auto *p = OpenPage<SysSetingScreenSet>("Pages/SysSetingScreenSet", SysSetingScreenSet::RootMenu());
    Press(KEY_CODE_OK);
    FocusRow(p, 2);
    Press(KEY_CODE_OK);
    ASSERT_TRUE(SavesDone());
    auto docs = Recorder().Requests("IPCMSG_GENERALSETING_SAVE");
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_NE(docs[0].find("\"screen_dormant\""), std::string::npos);
    EXPECT_NE(docs[1].find("\"wallpaper\""), std::string::npos);
    EXPECT_EQ(RecorderSetting("screen_dormant"), 0);
    EXPECT_EQ(RecorderSetting("wallpaper"), 3);
    // Back to a timed screen-off: the closed wallpaper is set back first.
    Recorder().ClearRequests();
    FocusRow(p, 0);
    Press(KEY_CODE_OK);
    ASSERT_TRUE(SavesDone());
    docs = Recorder().Requests("IPCMSG_GENERALSETING_SAVE");
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_NE(docs[0].find("\"wallpaper\""), std::string::npos);
    EXPECT_EQ(RecorderSetting("wallpaper"), 0);
    EXPECT_EQ(RecorderSetting("screen_dormant"), 30);
}

TEST_F(PagesTest, SystemTimeFormats) {
    SetSetting("time_format", 5); // marks the first format
    auto *p = OpenPage<SysSetingSysSet>("Pages/SysSetingSysSet", SysSetingSysSet::RootMenu());
    ASSERT_NE(p, nullptr);
    FocusRow(p, 1);
    Press(KEY_CODE_OK);
    FocusRow(p, 1);
    Press(KEY_CODE_OK);
    EXPECT_EQ(SelectedPos(p), 0);
    Press(KEY_CODE_BACK);
    Press(KEY_CODE_BACK);
    const Choice choices[] = {
        {{1, 1}, 1, "time_format", 2}, {{1, 1}, 2, "time_format", 3}, {{1, 1}, 3, "time_format", 0},
        {{1, 1}, 4, "time_format", 4}, {{1, 1}, 0, "time_format", 1},
    };
    for (const Choice &c : choices) {
        Choose(p, c);
    }
    // Two levels down and back: the time menu comes back on its format row.
    FocusRow(p, 1);
    Press(KEY_CODE_OK);
    FocusRow(p, 1);
    Press(KEY_CODE_OK);
    Press(KEY_CODE_BACK);
    EXPECT_EQ(FocusedRow(p), 1);
    EXPECT_EQ(Title(), Tr("LANG_RES_ID_TIME_SET"));
}

TEST_F(PagesTest, LanguageSwitchesTheTextsAtOnce) {
    SetSetting("language", 2);
    auto *p = OpenPage<SysSetingSysSet>("Pages/SysSetingSysSet", SysSetingSysSet::RootMenu());
    FocusRow(p, 2);
    Press(KEY_CODE_OK);
    EXPECT_EQ(SelectedPos(p), 0);
    FocusRow(p, 1);
    Press(KEY_CODE_OK); // Russian
    EXPECT_STREQ(Lang_GetCode(), "RU");
    EXPECT_EQ(SelectedPos(p), 1);
    EXPECT_EQ(FocusedRow(p), 1);
    EXPECT_EQ(LabelText(p->RowObj(0, PAGE_COMMON_OBJ_LABEL)), Tr("LANG_RES_ID_LANGUAGE_US"));
    EXPECT_EQ(Title(), Tr("LANG_RES_ID_LANGUAGE"));
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("language"), 3);
    Press(KEY_CODE_BACK);
    EXPECT_EQ(LabelText(p->RowObj(0, PAGE_COMMON_OBJ_LABEL)), Tr("LANG_RES_ID_WIFIBT"));
    FocusRow(p, 2);
    Press(KEY_CODE_OK);
    FocusRow(p, 0);
    Press(KEY_CODE_OK);
    EXPECT_STREQ(Lang_GetCode(), "US");
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("language"), 2);
    // A language without an option marks none, and the list still works.
    Press(KEY_CODE_BACK);
    SetSetting("language", 0);
    Press(KEY_CODE_BACK);
    Advance(700);
    p = OpenPage<SysSetingSysSet>("Pages/SysSetingSysSet", SysSetingSysSet::RootMenu());
    FocusRow(p, 2);
    Press(KEY_CODE_OK);
    EXPECT_EQ(SelectedPos(p), -1);
    Press(KEY_CODE_BACK);
}

TEST_F(PagesTest, WifiBluetoothInformation) {
    auto *p = OpenPage<SysSetingSysSet>("Pages/SysSetingSysSet", SysSetingSysSet::RootMenu());
    Press(KEY_CODE_OK);
    DevsInfo d;
    ASSERT_EQ(p->Model.GetDevsInfo(&d, false), 0);
    ASSERT_NE(d.szWifiSsid[0], '\0');
    EXPECT_EQ(LabelText(p->RowObj(0, PAGE_COMMON_OBJ_VALUE)), d.szWifiSsid);
    EXPECT_EQ(LabelText(p->RowObj(1, PAGE_COMMON_OBJ_VALUE)), d.szWifiPwd);
    EXPECT_EQ(LabelText(p->RowObj(2, PAGE_COMMON_OBJ_VALUE)), d.szBtInfo);
    Press(KEY_CODE_OK); // information only: nothing is sent
    EXPECT_EQ(Saves(), 0u);
    Press(KEY_CODE_BACK);
    EXPECT_EQ(FocusedRow(p), 0);
}

TEST_F(PagesTest, DateTimeEditorSendsTheEditedTime) {
    SetSetting("time_format", 0);
    auto *p = OpenPage<SysSetingSysSet>("Pages/SysSetingSysSet", SysSetingSysSet::RootMenu());
    FocusRow(p, 1);
    Press(KEY_CODE_OK);
    FocusRow(p, 0);
    Press(KEY_CODE_OK);
    ASSERT_EQ(p->Model.m_pstTopMenu, SysSetingSysSet::DateTimeMenu());
    EXPECT_EQ(Title(), Tr("LANG_RES_ID_SET_DATE_AND_TIME"));
    p->m_stEdit = {2024, 2, 28, 23, 58, 30, false, false};
    Press(KEY_CODE_OK);   // month
    Press(KEY_CODE_OK);   // day
    Press(KEY_CODE_PREV); // 29
    Press(KEY_CODE_PREV); // stays 29 (leap year)
    Press(KEY_CODE_OK);   // hour
    Press(KEY_CODE_PREV); // stays 23
    Press(KEY_CODE_OK);   // minute
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_PREV); // wraps to 00
    Press(KEY_CODE_BACK); // back to the hour field
    Press(KEY_CODE_NEXT); // 22
    Press(KEY_CODE_OK);
    Press(KEY_CODE_OK);   // second
    Press(KEY_CODE_NEXT); // 29
    EXPECT_EQ(LabelText(p->m_stView.m_apstField[SysSetingSysSetModel::DT_DAY]), "29");
    Press(KEY_CODE_OK); // the last field: sent
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 1));
    std::string doc = Recorder().Requests("IPCMSG_GENERALCTRL")[0];
    EXPECT_NE(doc.find("ctrl_syncdate"), std::string::npos);
    EXPECT_NE(doc.find("20240229220029"), std::string::npos) << doc;
    Advance(100);
    EXPECT_EQ(p->Model.m_pstTopMenu->s32MenuId, 12); // back on the time menu
    // BACK on the first field leaves without sending.
    Recorder().ClearRequests();
    FocusRow(p, 0);
    Press(KEY_CODE_OK);
    Press(KEY_CODE_BACK);
    EXPECT_EQ(p->Model.m_pstTopMenu->s32MenuId, 12);
    Advance(300);
    EXPECT_TRUE(Recorder().Requests("IPCMSG_GENERALCTRL").empty());
}

TEST_F(PagesTest, TwelveHourEditorHasAnAmPmField) {
    SetSetting("time_format", 1);
    auto *p = OpenPage<SysSetingSysSet>("Pages/SysSetingSysSet", SysSetingSysSet::RootMenu());
    FocusRow(p, 1);
    Press(KEY_CODE_OK);
    FocusRow(p, 0);
    Press(KEY_CODE_OK);
    ASSERT_TRUE(p->m_stEdit.b12Hour);
    EXPECT_FALSE(lv_obj_has_flag(p->m_stView.m_apstField[SysSetingSysSetModel::DT_AMPM], LV_OBJ_FLAG_HIDDEN));
    p->m_stEdit = {2026, 12, 9, 11, 0, 0, true, true};
    for (int i = 0; i < 6; ++i) {
        Press(KEY_CODE_OK);
    }
    Press(KEY_CODE_PREV); // PM -> AM
    Press(KEY_CODE_OK);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 1));
    EXPECT_NE(Recorder().Requests("IPCMSG_GENERALCTRL")[0].find("20261209110000"), std::string::npos);
}

TEST_F(PagesTest, OpenedByTheGuideForTheLanguageOnly) {
    uint8_t mode = SysSetingSysSet::MODE_LANGUAGE;
    PageBase::Stash_t stash = {&mode, sizeof mode};
    SetSetting("language", 2);
    auto *p = static_cast<SysSetingSysSet *>(mgr->Push("Pages/SysSetingSysSet", &stash));
    Advance(1000);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Model.m_pstTopMenu, SysSetingSysSet::LanguageMenu());
    EXPECT_EQ(Title(), Tr("LANG_RES_ID_LANGUAGE"));
    Press(KEY_CODE_NEXT);
    Press(KEY_CODE_OK); // chooses Russian and leaves
    Advance(700);
    EXPECT_NE(mgr->GetStackTop(), p);
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("language"), 3);
    Lang_SetCode("US");
}

} // namespace

namespace {

// Keys as fast as the key driver takes them, in a fixed pseudo-random order: after every key the
// page shows exactly one screen, and on a list the focus is on one of its rows.
TEST_F(PagesTest, FastKeysNeverLeaveAPageHalfBuilt) {
    const uint32_t keys[] = {KEY_CODE_OK, KEY_CODE_NEXT, KEY_CODE_PREV, KEY_CODE_BACK};
    uint32_t seed = 12345;
    for (const char *name :
         {"Pages/SysSetingSysSet", "Pages/SysSetingVideoSet", "Pages/SysSetingScreenSet"}) {
        auto *p = Open<Page::SysSetingPage>(name);
        ASSERT_NE(p, nullptr) << name;
        for (int i = 0; i < 120 && mgr->GetStackTop() == p; ++i) {
            seed = seed * 1103515245u + 12345u;
            uint32_t code = keys[(seed >> 16) % 4];
            // BACK only now and then, so that the walk goes deep as well.
            if (code == KEY_CODE_BACK && (seed >> 8) % 3 != 0) {
                code = KEY_CODE_OK;
            }
            pagetest::Key(code, KEY_VALUE_PRESS);
            pagetest::Key(code, KEY_VALUE_RELEASE);
            lv_obj_t *focused = lv_group_get_focused(lv_group_get_default());
            if (focused != nullptr && !lv_obj_is_valid(focused)) {
                ADD_FAILURE() << name << " key " << i << ": the focus is on a deleted object";
            }
            if (p->View.ui.cur_cont_row != nullptr && focused != nullptr && p->RowOfTarget(focused) < 0) {
                // Only BACK on the root list gives the keys away: to the page below.
                Advance(700);
                EXPECT_NE(mgr->GetStackTop(), p) << name << " key " << i;
                break;
            }
            ASSERT_NE(p->View.ui.cur_bg, nullptr) << name << " key " << i;
            if (p->View.ui.cur_cont_row != nullptr) {
                EXPECT_GE(FocusedRow(p), 0) << name << " key " << i;
            }
        }
        while (mgr->GetStackTop() == p) {
            Press(KEY_CODE_BACK);
            Press(KEY_CODE_BACK);
        }
        Advance(700);
        ASSERT_TRUE(SavesDone());
    }
    Lang_SetCode("US");
}

} // namespace
