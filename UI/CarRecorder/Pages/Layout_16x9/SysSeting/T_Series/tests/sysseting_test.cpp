// The settings framework on the page harness, shown on the sound page: the numbering rule, the
// list builder, keys and focus, option and switch rows, rows left out of the table, walking down
// and back up the tree, and saves the recorder refuses.
#include "SysSetingHome.h"
#include "SysSetingScreenSet.h"
#include "SysSetingSoundSet.h"
#include "SysSetingSysSet.h"
#include "SysSetingVideoSet.h"
#include "sysseting_env.h"

namespace {

using namespace syssettest;
using Page::SysSetingSoundSet;
using Page::SysSetingSoundSetModel;

// ---- the list builder ----

PageCommonItem Row(const char *label, bool desc = false) {
    PageCommonItem r = {};
    r.bEnable = 1;
    r.s32LabelW = -1;
    r.s32ValueW = -1;
    r.pcLabel = label;
    r.bHasDesc = desc;
    r.pcDesc = desc ? "LANG_RES_ID_STATIC_AUTO_SHUTDOWN_TIP" : nullptr;
    return r;
}

TEST(ListBuilder, ScrollsOnlyWithMoreThanTwoRowsOrADescription) {
    pagetest::Up("US");
    const struct {
        std::vector<PageCommonItem> rows;
        bool scrolls;
    } cases[] = {
        {{Row("LANG_RES_ID_MIC"), Row("LANG_RES_ID_SPEEKER")}, false},
        {{Row("LANG_RES_ID_MIC")}, false},
        {{Row("LANG_RES_ID_MIC"), Row("LANG_RES_ID_SPEEKER"), Row("LANG_RES_ID_BOOT_SOUND")}, true},
        {{Row("LANG_RES_ID_MIC"), Row("LANG_RES_ID_SPEEKER", true)}, true},
    };
    for (const auto &c : cases) {
        PageCommonListInfo info = {};
        info.u32ItemNum = (uint32_t)c.rows.size();
        info.pstParent = lv_scr_act();
        info.pstItems = c.rows.data();
        ASSERT_EQ(lv_page_common_create_content(&info), 0);
        EXPECT_EQ(PageCommon_ListScrolls(&info), c.scrolls) << c.rows.size() << " rows";
        lv_obj_del(info.pstCont);
    }
}

TEST(ListBuilder, RowObjectsAndTheirBounds) {
    pagetest::Up("US");
    PageCommonItem rows[3] = {Row("LANG_RES_ID_MIC"), Row("LANG_RES_ID_MIC_REAR"),
                              Row("LANG_RES_ID_SPEEKER")};
    rows[1].bEnable = 0;
    rows[2].bHasArrow = 1;
    PageCommonListInfo info = {};
    info.u32ItemNum = 3;
    info.pstParent = lv_scr_act();
    info.pstItems = rows;
    EXPECT_EQ(lv_page_common_create_content(nullptr), -1);
    ASSERT_EQ(lv_page_common_create_content(&info), 0);
    EXPECT_NE(GetMainContItemObjByIndex(&info, 0, PAGE_COMMON_OBJ_BTN), nullptr);
    EXPECT_EQ(LabelText(GetMainContItemObjByIndex(&info, 0, PAGE_COMMON_OBJ_LABEL)), Tr("LANG_RES_ID_MIC"));
    // A row left out of the table is not created.
    EXPECT_EQ(GetMainContItemObjByIndex(&info, 1, PAGE_COMMON_OBJ_BTN), nullptr);
    EXPECT_EQ(lv_obj_get_child_cnt(info.pstContent), 2u);
    // Only the row that opens a sub-menu shows its arrow.
    EXPECT_FALSE(
        lv_obj_has_flag(GetMainContItemObjByIndex(&info, 2, PAGE_COMMON_OBJ_ARROW), LV_OBJ_FLAG_HIDDEN));
    EXPECT_TRUE(
        lv_obj_has_flag(GetMainContItemObjByIndex(&info, 0, PAGE_COMMON_OBJ_ARROW), LV_OBJ_FLAG_HIDDEN));
    EXPECT_EQ(GetMainContItemObjByIndex(&info, 0, 6), nullptr);
    EXPECT_EQ(GetMainContItemObjByIndex(&info, 3, 0), nullptr);
    lv_obj_del(info.pstCont);
}

// ---- value rules ----

TEST(SoundRules, VolumeToOption) {
    const struct {
        int value;
        int pos;
    } rows[] = {{100, 0}, {67, 0}, {150, 0}, {66, 1}, {34, 1}, {33, 2}, {1, 2}, {0, 3}, {-5, 0}};
    for (const auto &r : rows) {
        EXPECT_EQ(SysSetingSoundSetModel::MenuChangeVolumeValToLevel(r.value), r.pos) << r.value;
    }
}

TEST(MenuTree, OptionsFollowTheirRow) {
    // Every option id is its row's id + position + 1, on every menu of the page.
    SetMenu *root = SysSetingSoundSet::RootMenu();
    for (int i = 0; i < root->s32ItemNum; ++i) {
        SetMenu *sub = root->ppstItems[i]->pstSubMenu;
        for (int k = 0; sub != nullptr && k < sub->s32ItemNum; ++k) {
            EXPECT_EQ(sub->ppstItems[k]->s32ItemId, root->ppstItems[i]->s32ItemId + k + 1);
            EXPECT_EQ(sub->pstParentMenu, root);
        }
    }
}

// ---- the sound page ----

class SoundPage : public SettingsTest {
  protected:
    void SetUp() override {
        SettingsTest::SetUp();
        SetSetting("start_sound_switch", 0);
        SetSetting("mic_switch", 1);
        SetSetting("rearMicSwitch", 1);
        SetSetting("speaker_turn", 33);
        ASSERT_NE(Open<PageBase>("Pages/SysSetingHome"), nullptr); // the page BACK returns to
        page = Open<SysSetingSoundSet>("Pages/SysSetingSoundSet");
        ASSERT_NE(page, nullptr);
        Recorder().ClearRequests();
    }
    SysSetingSoundSet *page = nullptr;
};

TEST_F(SoundPage, NumberingRuleGivesTheStoredOption) {
    // Speaker row 176, stored volume 33 -> position 2 -> option 179.
    page->Model.m_pstTopMenu = SysSetingSoundSet::RootMenu();
    EXPECT_EQ(page->Model.GetSubMenuDefVal(3), 179);
    EXPECT_EQ(SysSetingSoundSet::RootMenu()->ppstItems[3]->pstSubMenu->iCurrentPos, 2);
    EXPECT_EQ(page->Model.GetSubMenuDefVal(0), -1); // a switch row has no sub-menu
    EXPECT_EQ(page->Model.GetSubMenuDefVal(9), -1);
    EXPECT_EQ(page->Model.GetCurMenuDefVal(), -1); // the root has no current value
}

TEST_F(SoundPage, MainListRowsSwitchesAndValue) {
    EXPECT_EQ(Title(), Tr("LANG_RES_ID_SOUND_SET"));
    EXPECT_EQ(Focus(), "1/3"); // the rear microphone row is left out
    EXPECT_EQ(page->RowObj(2, PAGE_COMMON_OBJ_BTN), nullptr);
    EXPECT_FALSE(SwitchOn(page, 0));
    EXPECT_TRUE(SwitchOn(page, 1));
    EXPECT_EQ(ImgFile(page->RowObj(0, PAGE_COMMON_OBJ_SWITCH)), "setmenu/sub/com/btn_off.png");
    EXPECT_EQ(ImgFile(page->RowObj(1, PAGE_COMMON_OBJ_SWITCH)), "setmenu/sub/com/btn_on.png");
    EXPECT_EQ(LabelText(page->RowObj(3, PAGE_COMMON_OBJ_VALUE)), Tr("LANG_RES_ID_LOW"));
    // NEXT walks the rows, skipping the missing one, and wraps.
    Press(KEY_CODE_NEXT);
    EXPECT_EQ(FocusedRow(page), 1);
    Press(KEY_CODE_NEXT);
    EXPECT_EQ(FocusedRow(page), 3);
    EXPECT_EQ(Focus(), "3/3");
    Press(KEY_CODE_NEXT);
    EXPECT_EQ(FocusedRow(page), 0);
    Press(KEY_CODE_PREV);
    EXPECT_EQ(FocusedRow(page), 3);
}

TEST_F(SoundPage, SwitchRowsToggleAtOnce) {
    Press(KEY_CODE_OK); // boot sound on
    EXPECT_TRUE(SwitchOn(page, 0));
    EXPECT_EQ(ImgFile(page->RowObj(0, PAGE_COMMON_OBJ_SWITCH)), "setmenu/sub/com/btn_on.png");
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("start_sound_switch"), 1);
    // The microphone off also switches the rear microphone off.
    Press(KEY_CODE_NEXT);
    Press(KEY_CODE_OK);
    EXPECT_FALSE(SwitchOn(page, 1));
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("mic_switch"), 0);
    EXPECT_EQ(RecorderSetting("rearMicSwitch"), 0);
    Press(KEY_CODE_OK);
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("mic_switch"), 1);
    EXPECT_EQ(RecorderSetting("rearMicSwitch"), 0);
}

TEST_F(SoundPage, OptionListMarksChoosesAndReturnsToItsRow) {
    Press(KEY_CODE_PREV); // speaker
    Press(KEY_CODE_OK);
    ASSERT_EQ(page->Model.m_pstTopMenu->s32MenuId, 51);
    EXPECT_EQ(Title(), Tr("LANG_RES_ID_SPEEKER"));
    EXPECT_EQ(SelectedPos(page), 2);
    EXPECT_EQ(FocusedRow(page), 2); // the list opens on the option that is set
    EXPECT_EQ(ImgFile(page->RowObj(2, PAGE_COMMON_OBJ_SWITCH)), "setmenu/sub/com/select.png");
    EXPECT_EQ(ImgFile(page->RowObj(0, PAGE_COMMON_OBJ_SWITCH)), "setmenu/sub/com/noselect.png");
    // The option that is already set sends nothing.
    Press(KEY_CODE_OK);
    EXPECT_EQ(Saves(), 0u);
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_OK); // middle
    EXPECT_EQ(SelectedPos(page), 1);
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("speaker_turn"), 66);
    EXPECT_EQ(SelectedPos(page), 1);
    // Back: the main list, focused on the speaker row, showing the new value.
    Press(KEY_CODE_BACK);
    EXPECT_EQ(page->Model.m_pstTopMenu, SysSetingSoundSet::RootMenu());
    EXPECT_EQ(FocusedRow(page), 3);
    EXPECT_EQ(Focus(), "3/3");
    EXPECT_EQ(LabelText(page->RowObj(3, PAGE_COMMON_OBJ_VALUE)), Tr("LANG_RES_ID_MID"));
    // Opened again, the list marks the new value.
    Press(KEY_CODE_OK);
    EXPECT_EQ(SelectedPos(page), 1);
}

TEST_F(SoundPage, RefusedSavePutsTheOldMarkBack) {
    Recorder().Result("IPCMSG_GENERALSETING_SAVE", -1);
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_OK);
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_OK); // high: refused
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("speaker_turn"), 33);
    EXPECT_EQ(SelectedPos(page), 2);
    GeneralSetingInfo info;
    ASSERT_EQ(page->Model.GetGeneralSetingInfo(&info, false), 0);
    EXPECT_EQ(info.speaker_turn, 33);
    // A refused switch goes back off.
    Press(KEY_CODE_BACK);
    Press(KEY_CODE_NEXT); // boot sound
    Press(KEY_CODE_OK);
    ASSERT_TRUE(SavesDone());
    EXPECT_FALSE(SwitchOn(page, 0));
}

TEST_F(SoundPage, StoredValueOutsideTheRuleMarksTheFirstOption) {
    Press(KEY_CODE_BACK);
    Advance(700);
    SetSetting("speaker_turn", -3);
    page = Open<SysSetingSoundSet>("Pages/SysSetingSoundSet");
    EXPECT_EQ(LabelText(page->RowObj(3, PAGE_COMMON_OBJ_VALUE)), Tr("LANG_RES_ID_HIGH"));
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_OK);
    EXPECT_EQ(SelectedPos(page), 0);
    EXPECT_EQ(FocusedRow(page), 0);
    Press(KEY_CODE_NEXT);
    Press(KEY_CODE_NEXT);
    Press(KEY_CODE_OK); // low
    EXPECT_EQ(SelectedPos(page), 2);
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("speaker_turn"), 33);
}

TEST_F(SoundPage, KeyTimingRules) {
    // OK held 800 ms gives no click.
    pagetest::Key(KEY_CODE_OK, KEY_VALUE_PRESS);
    Advance(800);
    pagetest::Key(KEY_CODE_OK, KEY_VALUE_RELEASE);
    Advance(100);
    EXPECT_FALSE(SwitchOn(page, 0));
    // OK right after the page appeared is ignored.
    Press(KEY_CODE_BACK);
    Advance(700);
    page = Open<SysSetingSoundSet>("Pages/SysSetingSoundSet");
    page->m_u32IgnoreConfirmTick = lv_tick_get();
    Press(KEY_CODE_OK);
    EXPECT_FALSE(SwitchOn(page, 0));
    Advance(400);
    Press(KEY_CODE_OK);
    EXPECT_TRUE(SwitchOn(page, 0));
}

TEST_F(SettingsTest, HomeTileOpensItsPageAndBackRestoresTheTile) {
    Page::SysSetingHome::RootMenu()->iCurrentPos = 0;
    PageBase *home = Open<PageBase>("Pages/SysSetingHome");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(Title(), Tr("LANG_RES_ID_VIDEO_SET"));
    EXPECT_EQ(Focus(), "1/8");
    EXPECT_EQ(StatusBar_GetRecIconStyle(), STATUSBAR_REC_STYLE_POINT);
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_PREV); // tile 2: sound
    Press(KEY_CODE_OK);
    Advance(700);
    EXPECT_EQ(mgr->GetStackTop()->Name, std::string("Pages/SysSetingSoundSet"));
    Press(KEY_CODE_BACK);
    Advance(700);
    EXPECT_EQ(mgr->GetStackTop(), home);
    EXPECT_EQ(Title(), Tr("LANG_RES_ID_SOUND_SET"));
    EXPECT_EQ(Focus(), "3/8");
    // The tiles take the keys again: the next one opens the screen page.
    Press(KEY_CODE_NEXT);
    EXPECT_EQ(Focus(), "4/8");
    Press(KEY_CODE_OK);
    Advance(1000);
    EXPECT_EQ(mgr->GetStackTop()->Name, std::string("Pages/SysSetingScreenSet"));
}

} // namespace

// ---- what it looks like ----

class SettingsLook : public SettingsTest, public ::testing::WithParamInterface<const char *> {
  protected:
    void SetUp() override {
        Start(GetParam());
        SetSetting("start_sound_switch", 1);
        SetSetting("mic_switch", 0);
        SetSetting("speaker_turn", 66);
        SetSettingText("api_query_ability", "rear,wifi,1440p30,1080p60,1080p30");
        SetSetting("res_cur_lvl", 1);
        SetSetting("eventvideo_level", 15);
        SetSetting("time_format", 1);
        SetSetting("screen_dormant", 60);
        SetSetting("wallpaper", 1);
        SetSetting("screen_brightness", 100);
        for (SetMenu *m : {Page::SysSetingHome::RootMenu(), SysSetingSoundSet::RootMenu(),
                           Page::SysSetingVideoSet::RootMenu(), Page::SysSetingSysSet::RootMenu(),
                           Page::SysSetingScreenSet::RootMenu()}) {
            ResetMenus(m);
        }
    }
    // Opens the page of home tile pos (from the settings home).
    void OpenTile(int pos) {
        for (int i = 0; i < pos; ++i) {
            Press(KEY_CODE_NEXT);
        }
        Press(KEY_CODE_OK);
        Advance(1000);
    }
    void Shot(const std::string &name) { StillShot(name + "_" + GetParam()); }
};

TEST_P(SettingsLook, HomeAndSound) {
    ASSERT_NE(Open<PageBase>("Pages/SysSetingHome"), nullptr);
    Shot("settings_home");
    OpenTile(2);
    Shot("sound_main");
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_OK);
    Shot("sound_speaker");
}

TEST_P(SettingsLook, Video) {
    ASSERT_NE(Open<PageBase>("Pages/SysSetingHome"), nullptr);
    OpenTile(0);
    Shot("video_main");
    Press(KEY_CODE_NEXT);
    Press(KEY_CODE_OK);
    Shot("video_resolution");
    Press(KEY_CODE_BACK);
    Press(KEY_CODE_NEXT);
    Press(KEY_CODE_OK);
    Shot("video_osd");
}

TEST_P(SettingsLook, System) {
    ASSERT_NE(Open<PageBase>("Pages/SysSetingHome"), nullptr);
    OpenTile(1);
    Shot("system_main");
    Press(KEY_CODE_OK);
    Shot("system_wifibt");
    Press(KEY_CODE_BACK);
    Press(KEY_CODE_NEXT);
    Press(KEY_CODE_OK);
    Shot("system_time");
    Press(KEY_CODE_NEXT);
    Press(KEY_CODE_OK);
    Shot("system_time_format");
    Press(KEY_CODE_BACK);
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_OK);
    auto *p = static_cast<Page::SysSetingSysSet *>(mgr->GetStackTop());
    p->m_stEdit = {2026, 12, 9, 8, 30, 0, true, true};
    p->m_u32Field = Page::SysSetingSysSetModel::DT_DAY;
    p->m_stView.SetDateTimePageItemRefresh(p->m_stEdit, p->m_u32Field);
    Shot("system_date_time");
    p->m_u32Field = 0;
    Press(KEY_CODE_BACK);
    Press(KEY_CODE_BACK);
    Press(KEY_CODE_NEXT); // from the time row
    Press(KEY_CODE_OK);
    Shot("system_language");
}

TEST_P(SettingsLook, Screen) {
    ASSERT_NE(Open<PageBase>("Pages/SysSetingHome"), nullptr);
    OpenTile(3);
    Shot("screen_main");
    Press(KEY_CODE_NEXT);
    Press(KEY_CODE_OK);
    Shot("screen_wallpaper");
}

INSTANTIATE_TEST_SUITE_P(Languages, SettingsLook, ::testing::Values("US", "GE", "CN"));
