// The parking, driving-assistance, more and device-link settings pages on the page harness: the
// value rules of every option (table-driven), the lists built from what the recorder offers, and
// what each option writes.
#include <algorithm>

#include "SysSetingAlgorAssist.h"
#include "SysSetingHome.h"
#include "SysSetingKovar.h"
#include "SysSetingMore.h"
#include "SysSetingParking.h"
#include "vyx_ui_common_data.h"
#include "sysseting_env.h"

namespace {

using namespace syssettest;
using Page::SysSetingAlgorAssist;
using Page::SysSetingParking;
using AM = Page::SysSetingAlgorAssistModel;
using MM = Page::SysSetingMoreModel;
using Page::SysSetingKovar;
using Page::SysSetingMore;
using KS = Page::SysSetingKovar::Screen;
using PM = Page::SysSetingParkingModel;

// ---- value rules: one row per stored value ----

TEST(ParkingRules, StoredValuesToOptions) {
    const struct {
        int value, mode, durNew, durOld, bat5, bat3;
    } rows[] = {
        // value: parking mode, duration (new scheme), duration (old scheme), battery 5-level, 3-level
        {0, 0, 0, 1, 0, 3},        {1, 3, 0, 2, 1, 2},       {2, 2, 0, 3, 2, 0},
        {3, 1, 0, 0, 3, -1},       {4, -1, 0, 0, 4, -1},     {5, -1, 0, 0, 5, -1},
        {6, -1, 0, 0, -1, -1},     {10, -1, 0, 0, -1, -1},   {15, -1, 0, 0, -1, -1},
        {720, -1, 1, 0, -1, -1},   {1440, -1, 2, 0, -1, -1}, {2880, -1, 3, 0, -1, -1},
        {4320, -1, 4, 0, -1, -1},  {7200, -1, 5, 0, -1, -1}, {11520, -1, 6, 0, -1, -1},
        {11521, -1, 0, 0, -1, -1}, {-1, -1, 0, 0, -1, -1},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(PM::MenuChangeParkingModeValToLevel(r.value), r.mode) << r.value;
        EXPECT_EQ(PM::MenuChangeParkingDurationValToLevel_new(r.value), r.durNew) << r.value;
        EXPECT_EQ(PM::MenuChangeParkingDurationValToLevel_old(r.value), r.durOld) << r.value;
        EXPECT_EQ(PM::MenuChangeBatProtectValToLevel(r.value, true), r.bat5) << r.value;
        EXPECT_EQ(PM::MenuChangeBatProtectValToLevel(r.value, false), r.bat3) << r.value;
    }
    // The 15-minute value is the first option (109 + 0 + 1 = 110 is 12 hours).
    EXPECT_EQ(PM::MenuChangeParkingDurationValToLevel_new(15), 0);
}

TEST(ParkingRules, ModesOfferedByTheRecordersText) {
    const struct {
        const char *text;
        bool offered[4]; // timelapse, aovtimelapse, hibernate, normal
        int num;
    } rows[] = {
        {"na", {true, false, true, true}, 3},
        {"timelapse_hibernate_normal", {true, false, true, true}, 3},
        {"aovtimelapse_normal", {false, true, false, true}, 2},
        {"timelapse_aovtimelapse", {true, true, false, false}, 2},
        {"hibernate", {false, false, true, false}, 1},
        {"", {false, false, false, false}, 0},
        {"0,1,2", {false, false, false, false}, 0},
    };
    for (const auto &r : rows) {
        bool offered[4];
        EXPECT_EQ(PM::ParkingModeInit(r.text, offered), r.num) << r.text;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(offered[i], r.offered[i]) << r.text << " mode " << i;
        }
    }
    // Every mode's option id is its row's id + position + 1, with position = item id - 104.
    for (int i = 0; i < PM::kModeNum; ++i) {
        EXPECT_EQ(PM::kModes[i].s32ItemId, SysSetingParking::ID_ACC_OFF_ENTER + i + 1);
        EXPECT_EQ(PM::MenuChangeParkingModeValToLevel(PM::kModes[i].s32Value), i);
    }
}

TEST(AlgorRules, StoredValuesToOptions) {
    const struct {
        int value, coll, adas;
    } rows[] = {
        {100, 0, 0}, {75, 1, 0}, {50, 2, 0}, {25, 3, 0}, {1, 4, 2},   {0, 5, 3},  {60, 6, 0},
        {99, 6, 0},  {2, 6, 1},  {3, 6, 0},  {4, 6, 0},  {101, 0, 0}, {-1, 0, 0},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(AM::MenuChangeGsnSensitityValToLevel(r.value), r.coll) << r.value;
        EXPECT_EQ(AM::MenuChangeAdasSensitityValToLevel(r.value), r.adas) << r.value;
    }
}

// Option lists (menus with a current value) number their options after the row that opens them.
// The collision levels are the exception the item table fixes: both the driving (129) and the
// parked (130) row open the levels 131 to 137.
void CheckNumbering(SetMenu *menu) {
    for (int i = 0; i < menu->s32ItemNum; ++i) {
        SetMenuItem *row = menu->ppstItems[i];
        SetMenu *sub = row->pstSubMenu;
        if (sub == nullptr) {
            continue;
        }
        EXPECT_EQ(sub->pstParentMenu, menu) << row->s32ItemId;
        for (int k = 0; sub->GetDefaultValCB != nullptr && k < sub->s32ItemNum; ++k) {
            const int expect =
                row->s32ItemId == SysSetingAlgorAssist::ID_COLL_NORMAL ? 131 + k : row->s32ItemId + k + 1;
            EXPECT_EQ(sub->ppstItems[k]->s32ItemId, expect) << "row " << row->s32ItemId << " option " << k;
        }
        CheckNumbering(sub);
    }
}

TEST(MoreRules, StorageAndCheckTexts) {
    char sz[64];
    MM::StorageText("SD card", 41230, 60906, sz, sizeof sz);
    EXPECT_STREQ(sz, "SD card: 40G/59G");
    MM::StorageText("SD card", -5, 0, sz, sizeof sz);
    EXPECT_STREQ(sz, "SD card: 0G/0G");
    const struct {
        int state;
        const char *text;
    } rows[] = {{0, "LANG_RES_ID_NO_DETECT"},
                {1, "LANG_RES_ID_NORMAL"},
                {2, "LANG_RES_ID_ABNORMAL"},
                {3, nullptr},
                {-1, nullptr}};
    for (const auto &r : rows) {
        const char *t = MM::LteStateText(r.state);
        EXPECT_EQ(t == nullptr ? std::string("null") : t, r.text == nullptr ? std::string("null") : r.text);
    }
    LteInfo lte = {};
    lte.iSimCard = 2;
    lte.iApn = 7;
    MM::LteCheck checks[MM::kLteCheckNum];
    EXPECT_EQ(MM::LteInfoInit(lte, checks), 6);
    EXPECT_STREQ(checks[1].pcMainText, "LANG_RES_ID_4G_NETWORK_CHECK_SIM");
    EXPECT_EQ(checks[1].s32State, 2);
    EXPECT_EQ(checks[5].s32State, 7);
}

TEST(MenuTreeB, OptionsFollowTheirRow) {
    for (SetMenu *root :
         {SysSetingParking::RootMenu(), SysSetingAlgorAssist::RootMenu(), SysSetingMore::RootMenu()}) {
        CheckNumbering(root);
    }
}

// ---- pages ----

class PagesB : public SettingsTest {
  protected:
    static constexpr const char *kMore[][2] = {
        {"SysSetingParking", "Pages/SysSetingParking"},
        {"SysSetingAlgorAssist", "Pages/SysSetingAlgorAssist"},
        {"SysSetingMore", "Pages/SysSetingMore"},
        {"SysSetingKovar", "Pages/SysSetingKovar"},
        {"SysSetingReset", "Pages/SysSetingReset"},
    };
    void SetUp() override {
        SettingsTest::SetUp();
        for (const auto &p : kMore) {
            ASSERT_NE(mgr->Install(p[0], p[1]), nullptr) << p[0];
        }
        ASSERT_NE(Open<PageBase>("Pages/SysSetingHome"), nullptr); // the page BACK returns to
    }
    // Opens row `row` of the current list with the keys (the focus starts where the list put it).
    void OpenRow(Page::SysSetingPage *p, int row) {
        for (int i = 0; i < 10 && FocusedRow(p) != row; ++i) {
            Press(KEY_CODE_NEXT);
        }
        ASSERT_EQ(FocusedRow(p), row);
        Press(KEY_CODE_OK);
    }
    std::vector<int> ShownRows(Page::SysSetingPage *p) {
        std::vector<int> ids;
        for (int i = 0; i < p->Model.GetItemNum(); ++i) {
            if (p->RowObj(i, PAGE_COMMON_OBJ_BTN) != nullptr) {
                ids.push_back(p->Model.GetItemId(i));
            }
        }
        return ids;
    }
};

TEST_F(PagesB, ParkingWithAccOffersTheRecordersModesAndWritesThem) {
    SetSetting("acc_status", 1);
    SetSettingText("parking_mode_option", "aovtimelapse_normal");
    SetSetting("parking_status", 1);
    auto *page = Open<SysSetingParking>("Pages/SysSetingParking");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ShownRows(page), (std::vector<int>{103, 108, 120}));
    EXPECT_EQ(LabelText(page->RowObj(0, PAGE_COMMON_OBJ_VALUE)), Tr("LANG_RES_ID_PARKING_MODE_NORMAL"));
    OpenRow(page, 0);
    EXPECT_EQ(ShownRows(page), (std::vector<int>{105, 107}));
    EXPECT_EQ(SelectedPos(page), 3);
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_OK);
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("parking_status"), 3);
    EXPECT_EQ(SelectedPos(page), 1);
    Press(KEY_CODE_BACK);
    EXPECT_EQ(LabelText(page->RowObj(0, PAGE_COMMON_OBJ_VALUE)),
              Tr("LANG_RES_ID_PARKING_MODE_AOV_TIMELAPSE"));
}

TEST_F(PagesB, ParkingDurationMarksByValueAndWritesTheModesItem) {
    SetSetting("acc_status", 1);
    SetSetting("parking_status", 0); // time-lapse: parkTimeLapseDur
    SetSetting("parkTimeLapseDur", 720);
    auto *page = Open<SysSetingParking>("Pages/SysSetingParking");
    ASSERT_NE(page, nullptr);
    OpenRow(page, 1);
    EXPECT_EQ(ShownRows(page), (std::vector<int>{110, 111, 112, 113, 114, 115}));
    EXPECT_EQ(SelectedPos(page), 1) << "720 marks the second option";
    EXPECT_EQ(LabelText(page->RowObj(1, PAGE_COMMON_OBJ_LABEL)), Tr("LANG_RES_ID_PARKING_DURATION_12H"));
    const int minutes[] = {720, 1440, 2880, 4320, 7200, 11520};
    for (int pos = 6; pos >= 2; --pos) {
        Press(KEY_CODE_PREV);
        ASSERT_EQ(FocusedRow(page), pos == 6 ? 6 : pos);
        Press(KEY_CODE_OK);
        ASSERT_TRUE(SavesDone());
        EXPECT_EQ(RecorderSetting("parkTimeLapseDur"), minutes[pos - 1]) << pos;
        EXPECT_EQ(SelectedPos(page), pos);
    }
    EXPECT_EQ(RecorderSetting("parkNormDur"), 0) << "only the mode's own item";
    Press(KEY_CODE_BACK);
    Press(KEY_CODE_BACK);
    Advance(700);

    // 10 minutes is no option: nothing shown is marked and the list still works.
    SetSetting("parkTimeLapseDur", 10);
    page = Open<SysSetingParking>("Pages/SysSetingParking");
    OpenRow(page, 1);
    EXPECT_EQ(page->Model.GetCurMenuDefVal(), 0);
    EXPECT_EQ(SelectedPos(page), -1);
    Press(KEY_CODE_OK);
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("parkTimeLapseDur"), 720);
}

TEST_F(PagesB, ParkingDurationOfTheOlderSchemeShowsHours) {
    SetSetting("acc_status", 1);
    SetSetting("parking_status", 1);
    SetSetting("parkNormDur", 2);
    auto *page = Open<SysSetingParking>("Pages/SysSetingParking");
    OpenRow(page, 1);
    EXPECT_EQ(ShownRows(page), (std::vector<int>{110, 111, 112}));
    EXPECT_EQ(SelectedPos(page), 3);
    EXPECT_EQ(LabelText(page->RowObj(3, PAGE_COMMON_OBJ_LABEL)), Tr("LANG_RES_ID_PARKING_DURATION_48H"));
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_OK);
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("parkNormDur"), 1);
}

TEST_F(PagesB, BatteryProtectionWithThreeOrSixLevels) {
    SetSetting("acc_status", 1);
    SetSetting("showLowPower5Level", 0);
    SetSetting("parking_voltlvl", 1);
    auto *page = Open<SysSetingParking>("Pages/SysSetingParking");
    OpenRow(page, 2);
    EXPECT_EQ(ShownRows(page), (std::vector<int>{121, 123, 124}));
    EXPECT_EQ(SelectedPos(page), 2);
    Press(KEY_CODE_NEXT); // low
    Press(KEY_CODE_OK);
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("parking_voltlvl"), 0);
    Press(KEY_CODE_NEXT); // high
    Press(KEY_CODE_OK);
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("parking_voltlvl"), 2);
    Press(KEY_CODE_BACK);
    Press(KEY_CODE_BACK);
    Advance(700);

    SetSetting("showLowPower5Level", 1);
    SetSetting("parking_voltlvl", 4);
    page = Open<SysSetingParking>("Pages/SysSetingParking");
    OpenRow(page, 2);
    EXPECT_EQ(ShownRows(page).size(), 6u);
    EXPECT_EQ(SelectedPos(page), 4);
    Press(KEY_CODE_NEXT);
    Press(KEY_CODE_OK);
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("parking_voltlvl"), 5);
}

TEST_F(PagesB, ParkingWithoutAccShowsTheAutoShutdownSwitch) {
    SetSetting("acc_status", 0);
    SetSetting("autoshutdown_switch", 1);
    auto *page = Open<SysSetingParking>("Pages/SysSetingParking");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ShownRows(page), (std::vector<int>{127}));
    EXPECT_TRUE(SwitchOn(page, 0));
    EXPECT_EQ(Focus(), "1/1");
    Press(KEY_CODE_OK);
    EXPECT_FALSE(SwitchOn(page, 0));
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("autoshutdown_switch"), 0);
    // No parking mode offered: the ACC-off row is left out when the line comes back.
    Press(KEY_CODE_BACK);
    Advance(700);
    SetSetting("acc_status", 1);
    SetSettingText("parking_mode_option", "0,1,2");
    page = Open<SysSetingParking>("Pages/SysSetingParking");
    EXPECT_EQ(ShownRows(page), (std::vector<int>{108, 120}));
}

TEST_F(PagesB, CollisionLevelsWriteTheirValuesAndCustomSendsNothing) {
    SetSetting("normal_gsensor_level", 60);
    SetSetting("parking_gsensor_level", 25);
    auto *page = Open<SysSetingAlgorAssist>("Pages/SysSetingAlgorAssist");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ShownRows(page), (std::vector<int>{128, 138, 164}));
    OpenRow(page, 0);
    EXPECT_EQ(ShownRows(page), (std::vector<int>{129, 130}));
    EXPECT_EQ(LabelText(page->RowObj(0, PAGE_COMMON_OBJ_VALUE)), Tr("LANG_RES_ID_CUSTOM")) << "60 is custom";
    EXPECT_EQ(LabelText(page->RowObj(1, PAGE_COMMON_OBJ_VALUE)), Tr("LANG_RES_ID_SENSITIVITY_MIDLOW"));
    OpenRow(page, 0);
    EXPECT_EQ(SelectedPos(page), 6);
    // Every level from the top, then custom: nothing sent and the mark stays on the level.
    const int values[] = {100, 75, 50, 25, 1, 0};
    for (int pos = 0; pos < 6; ++pos) {
        Press(KEY_CODE_NEXT);
        ASSERT_EQ(FocusedRow(page), pos);
        Press(KEY_CODE_OK);
        ASSERT_TRUE(SavesDone());
        EXPECT_EQ(RecorderSetting("normal_gsensor_level"), values[pos]) << pos;
        EXPECT_EQ(SelectedPos(page), pos);
    }
    Recorder().ClearRequests();
    Press(KEY_CODE_NEXT); // custom
    Press(KEY_CODE_OK);
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(Saves(), 0u);
    EXPECT_EQ(SelectedPos(page), 5);
    EXPECT_EQ(RecorderSetting("normal_gsensor_level"), 0);
    // The parked list writes its own item.
    Press(KEY_CODE_BACK);
    OpenRow(page, 1);
    EXPECT_EQ(SelectedPos(page), 3);
    Press(KEY_CODE_PREV);
    Press(KEY_CODE_OK);
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("parking_gsensor_level"), 50);
    EXPECT_EQ(RecorderSetting("normal_gsensor_level"), 0);
}

TEST_F(PagesB, AdasMasterSwitchAlertSensitivitiesAndFatigue) {
    SetSetting("aiMasterSwitch", 0);
    SetSetting("fatigue_driving_remind_switch", 0);
    SetSetting("frontCarStartDetect", 0);
    SetSetting("carWarningDetect", 1);
    SetSetting("laneDepartureDetect", 2);
    SetSetting("humanWarningDetect", 3);
    auto *page = Open<SysSetingAlgorAssist>("Pages/SysSetingAlgorAssist");
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(SwitchOn(page, 2));
    OpenRow(page, 1);
    EXPECT_EQ(ShownRows(page), (std::vector<int>{142, 143, 148, 153, 158}));
    EXPECT_FALSE(SwitchOn(page, 0));
    const char *values[] = {"LANG_RES_ID_OFF", "LANG_RES_ID_SENSITIVITY_LOW", "LANG_RES_ID_SENSITIVITY_MID",
                            "LANG_RES_ID_SENSITIVITY_HIGH"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(LabelText(page->RowObj(i + 1, PAGE_COMMON_OBJ_VALUE)), Tr(values[i])) << i;
    }
    // On: fatigue reminder, master switch and the car-ahead alert at the middle level.
    Press(KEY_CODE_OK);
    EXPECT_TRUE(SwitchOn(page, 0));
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("fatigue_driving_remind_switch"), 1);
    EXPECT_EQ(RecorderSetting("aiMasterSwitch"), 1);
    EXPECT_EQ(RecorderSetting("frontCarStartDetect"), 2);
    Press(KEY_CODE_OK);
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("fatigue_driving_remind_switch"), 0);
    EXPECT_EQ(RecorderSetting("aiMasterSwitch"), 0);
    EXPECT_EQ(RecorderSetting("frontCarStartDetect"), 2);
    // Each alert's list: high 3, middle 2, low 1, off 0.
    const char *keys[] = {"frontCarStartDetect", "carWarningDetect", "laneDepartureDetect",
                          "humanWarningDetect"};
    for (int a = 0; a < 4; ++a) {
        OpenRow(page, a + 1);
        for (int pos = 0; pos < 4; ++pos) {
            for (int i = 0; i < 4 && FocusedRow(page) != pos; ++i) {
                Press(KEY_CODE_NEXT);
            }
            Press(KEY_CODE_OK);
            ASSERT_TRUE(SavesDone());
            EXPECT_EQ(RecorderSetting(keys[a]), 3 - pos) << keys[a];
            EXPECT_EQ(SelectedPos(page), pos);
        }
        Press(KEY_CODE_BACK);
        EXPECT_EQ(FocusedRow(page), a + 1);
    }
    Press(KEY_CODE_BACK);
    OpenRow(page, 2); // fatigue
    EXPECT_TRUE(SwitchOn(page, 2));
    ASSERT_TRUE(SavesDone());
    EXPECT_EQ(RecorderSetting("fatigue_driving_remind_switch"), 1);
}

// Labels of a screen that is not a list, in order.
std::vector<std::string> ScreenTexts(lv_obj_t *obj) {
    std::vector<std::string> out;
    if (obj == nullptr) {
        return out;
    }
    if (lv_obj_check_type(obj, &lv_label_class)) {
        out.push_back(lv_label_get_text(obj));
    }
    for (uint32_t i = 0; i < lv_obj_get_child_cnt(obj); ++i) {
        auto sub = ScreenTexts(lv_obj_get_child(obj, (int32_t)i));
        out.insert(out.end(), sub.begin(), sub.end());
    }
    return out;
}

bool Holds(const std::vector<std::string> &texts, const std::string &t) {
    return std::find(texts.begin(), texts.end(), t) != texts.end();
}

TEST_F(PagesB, MoreOpensItsScreensAndComesBackToTheRow) {
    SetSetting("support_4gnet_test", 0);
    SetSetting("dev_available_size", 41230);
    SetSetting("dev_total_size", 60906);
    auto *page = Open<SysSetingMore>("Pages/SysSetingMore");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ShownRows(page), (std::vector<int>{197, 198, 199, 200}));
    EXPECT_EQ(Title(), Tr("LANG_RES_ID_MORE"));
    // Update: the app's QR code over its hint.
    Press(KEY_CODE_OK);
    EXPECT_EQ(page->m_eScreen, SysSetingMore::Screen::kQrCode);
    EXPECT_EQ(page->View.ui.cur_cont_row, nullptr);
    EXPECT_TRUE(Holds(ScreenTexts(page->View.ui.cur_bg), Tr("LANG_RES_ID_APP_CONNECT_TOAST")));
    EXPECT_EQ(Title(), Tr("LANG_RES_ID_UPDATE"));
    Press(KEY_CODE_BACK);
    EXPECT_EQ(FocusedRow(page), 0);
    // About: model, storage in gigabytes, the version with its "v".
    OpenRow(page, 1);
    ASSERT_EQ(page->m_eScreen, SysSetingMore::Screen::kAbout);
    auto texts = ScreenTexts(page->View.ui.cur_bg);
    EXPECT_TRUE(Holds(texts, Tr("LANG_RES_ID_DASHCAM") + " VR-T3"));
    EXPECT_TRUE(Holds(texts, Tr("LANG_RES_ID_TFCARD") + ": 40G/59G"));
    EXPECT_TRUE(Holds(texts, "vV1.0.3"));
    EXPECT_TRUE(Holds(texts, MM::kPhone));
    Press(KEY_CODE_NEXT); // scrolls the screen, keeps it
    Advance(500);
    EXPECT_EQ(page->m_eScreen, SysSetingMore::Screen::kAbout);
    Press(KEY_CODE_BACK);
    EXPECT_EQ(FocusedRow(page), 1);
    // Help without 4G: the introduction only.
    OpenRow(page, 3);
    EXPECT_EQ(ShownRows(page), (std::vector<int>{201}));
    Press(KEY_CODE_OK);
    EXPECT_EQ(page->m_eScreen, SysSetingMore::Screen::k4GIntroduce);
    EXPECT_EQ(Title(), Tr("LANG_RES_ID_4G_INTRODUCE"));
    Press(KEY_CODE_BACK);
    Press(KEY_CODE_BACK);
    EXPECT_EQ(FocusedRow(page), 3);
}

// The install guide pushes the page with one byte: 4 shows the app's QR code alone, 3 the 4G
// introduction alone; BACK or OK moves the guide on (4 -> 5) and leaves; without the byte the page
// is the whole menu again.
TEST_F(PagesB, MoreInsideTheGuideShowsOneScreenAndMovesTheGuideOn) {
    for (uint8_t arg : {uint8_t{4}, uint8_t{3}}) {
        for (uint32_t key : {KEY_CODE_OK, KEY_CODE_BACK}) {
            GuideStepInit();
            SwitchGuideStep(arg == 4 ? 2 : 1); // 1 -> 3 steps on to 4; 1 -> 2 is the time step
            const uint32_t before = GetGuideStep();
            PageBase::Stash_t stash = {&arg, sizeof arg};
            auto *page = static_cast<SysSetingMore *>(mgr->Push("Pages/SysSetingMore", &stash));
            Advance(1000);
            ASSERT_NE(page, nullptr);
            EXPECT_EQ(page->m_eScreen,
                      arg == 4 ? SysSetingMore::Screen::kQrCode : SysSetingMore::Screen::k4GIntroduce);
            Press(key);
            Advance(700);
            EXPECT_NE(mgr->GetStackTop(), page) << "arg " << int(arg) << " key " << key;
            EXPECT_EQ(GetGuideStep(), before + 1 + (before + 1 == 3 ? 1 : 0));
        }
    }
    auto *page = Open<SysSetingMore>("Pages/SysSetingMore");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ShownRows(page), (std::vector<int>{197, 198, 199, 200}));
}

TEST_F(PagesB, MoreNetworkCheckExplainsAFailedCheck) {
    SetSetting("support_4gnet_test", 1);
    Recorder().On("IPCMSG_LTEINFO_QUERY", [](const cJSON *) {
        return cJSON_Parse(R"({"hardware":1,"sim_card":2,"uuid":0,"dns":1,"network":1,"signal":9,)"
                           R"("apn":1,"flow":0,"mqtt":1,"http":1})");
    });
    auto *page = Open<SysSetingMore>("Pages/SysSetingMore");
    OpenRow(page, 3);
    EXPECT_EQ(ShownRows(page), (std::vector<int>{201, 202}));
    OpenRow(page, 1);
    ASSERT_EQ(page->m_eScreen, SysSetingMore::Screen::kLteCheck);
    auto texts = ScreenTexts(page->View.ui.cur_bg);
    EXPECT_TRUE(Holds(texts, Tr("LANG_RES_ID_ABNORMAL")));
    EXPECT_TRUE(Holds(texts, Tr("LANG_RES_ID_NO_DETECT")));
    // A check that passed has nothing to explain; the failed SIM check has.
    Press(KEY_CODE_OK);
    EXPECT_EQ(page->m_eScreen, SysSetingMore::Screen::kLteCheck);
    Press(KEY_CODE_NEXT);
    Press(KEY_CODE_OK);
    ASSERT_EQ(page->m_eScreen, SysSetingMore::Screen::kLteAbnormal);
    EXPECT_TRUE(
        Holds(ScreenTexts(page->View.ui.cur_bg), Tr("LANG_RES_ID_4G_NETWORK_CHECK_SIM_ABNORMAL_TOAST")));
    Press(KEY_CODE_BACK);
    EXPECT_EQ(page->m_eScreen, SysSetingMore::Screen::kLteCheck);
    EXPECT_EQ(lv_group_get_focused(lv_group_get_default()), page->m_stView.m_astLteRows[1].btn);
    Press(KEY_CODE_BACK);
    EXPECT_EQ(ShownRows(page), (std::vector<int>{201, 202}));
}

// ---- the device-link page ----

size_t CtrlCount(const std::string &item, const std::string &value = "") {
    size_t n = 0;
    for (const std::string &doc : Recorder().Requests("IPCMSG_GENERALCTRL")) {
        if (doc.find("\"key\":\"" + item + "\"") != std::string::npos &&
            (value.empty() || doc.find("\"value\":\"" + value + "\"") != std::string::npos)) {
            ++n;
        }
    }
    return n;
}

class KovarPage : public PagesB {
  protected:
    SysSetingKovar *OpenKovar(bool linked) {
        Status("kovar_bind_status", linked ? 1 : 0);
        auto *p = Open<SysSetingKovar>("Pages/SysSetingKovar");
        Recorder().ClearRequests();
        return p;
    }
    void Status(const char *key, int value) {
        size_t n = pagetest::PublishedLog().size();
        ASSERT_EQ(Recorder().Status(key, value), 0);
        ASSERT_TRUE(AdvanceUntil([&] { return pagetest::PublishedLog().size() > n; })) << key;
        Advance(20);
    }
    std::string CountDown(SysSetingKovar *p) {
        lv_obj_t *l = p->m_stView.m_pstCountDown;
        return l == nullptr || lv_obj_has_flag(l, LV_OBJ_FLAG_HIDDEN) ? "" : lv_label_get_text(l);
    }
};

TEST_F(KovarPage, PairingCountsDownAndEndsOnTheRecordersResult) {
    auto *page = OpenKovar(false);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->m_eScreen, KS::kMain);
    EXPECT_TRUE(Holds(ScreenTexts(page->View.ui.cur_bg), Tr("LANG_RES_ID_KOVAR_NO_CONNECT")));
    Press(KEY_CODE_OK);
    ASSERT_EQ(page->m_eScreen, KS::kBinding);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 2));
    EXPECT_EQ(CtrlCount("ctrl_scrdomant_timer", "pause"), 1u);
    EXPECT_EQ(CtrlCount("ctrl_kovar_start_bind"), 1u);
    EXPECT_EQ(CountDown(page), Tr("LANG_RES_ID_DOUBLE_CLICK_SLAVE_KEY_TOAST") + "(20S)");
    Advance(1000);
    EXPECT_EQ(CountDown(page), Tr("LANG_RES_ID_DOUBLE_CLICK_SLAVE_KEY_TOAST") + "(19S)");
    lv_timer_t *timer = page->m_pstBindTimer;
    // The cameras see each other: the count-down goes.
    Status("kovar_ble_status", 1);
    Advance(1000);
    EXPECT_EQ(CountDown(page), "");
    EXPECT_EQ(page->m_pstBindTimer, timer);
    Status("kovar_bind_status", 1);
    ASSERT_TRUE(AdvanceUntil([&] { return page->m_eScreen == KS::kSuccess; }, 1100)); // the next tick
    EXPECT_EQ(page->m_pstBindTimer, nullptr);
    ASSERT_TRUE(Recorder().WaitRequests("IPCMSG_GENERALCTRL", 3));
    EXPECT_EQ(CtrlCount("ctrl_scrdomant_timer", "resume"), 1u);
    // After 3 s the main screen, now linked, with its two rows.
    Advance(2900);
    EXPECT_EQ(page->m_eScreen, KS::kSuccess);
    Advance(200);
    ASSERT_EQ(page->m_eScreen, KS::kMain);
    EXPECT_NE(page->m_stView.m_astRows[0].btn, nullptr);
}

TEST_F(KovarPage, FailedOrUnansweredPairingShowsTheFailure) {
    auto *page = OpenKovar(false);
    Press(KEY_CODE_OK);
    Status("kovar_bind_status", 0);
    Advance(1000);
    ASSERT_EQ(page->m_eScreen, KS::kFail);
    Press(KEY_CODE_BACK);
    EXPECT_EQ(page->m_eScreen, KS::kMain);
    // No answer: failure after 61 ticks of the 1 s timer.
    Press(KEY_CODE_OK);
    ASSERT_EQ(page->m_eScreen, KS::kBinding);
    Advance(60000, 100);
    EXPECT_EQ(page->m_eScreen, KS::kBinding);
    EXPECT_EQ(CountDown(page), "") << "the count-down ends after 20 s";
    Advance(1000, 100);
    EXPECT_EQ(page->m_eScreen, KS::kFail);
}

TEST_F(KovarPage, BackWhilePairingAsksToStop) {
    auto *page = OpenKovar(false);
    Press(KEY_CODE_OK);
    lv_timer_t *timer = page->m_pstBindTimer;
    Press(KEY_CODE_BACK);
    ASSERT_EQ(page->m_eScreen, KS::kStopAsk);
    Press(KEY_CODE_BACK); // no: pairing goes on
    EXPECT_EQ(page->m_eScreen, KS::kBinding);
    EXPECT_EQ(page->m_pstBindTimer, timer);
    Press(KEY_CODE_BACK);
    Press(KEY_CODE_OK); // yes
    EXPECT_EQ(page->m_eScreen, KS::kMain);
    EXPECT_EQ(page->m_pstBindTimer, nullptr);
    ASSERT_TRUE(AdvanceUntil([] { return CtrlCount("ctrl_kovar_stop_bind") == 1; }));
    EXPECT_EQ(CtrlCount("ctrl_scrdomant_timer", "resume"), 1u);
    // A late result changes nothing on the page.
    Status("kovar_bind_status", 1);
    Advance(1500);
    EXPECT_EQ(page->m_eScreen, KS::kMain);
}

TEST_F(KovarPage, LinkedRowsUnpairOrLeave) {
    auto *page = OpenKovar(true);
    ASSERT_EQ(page->m_eScreen, KS::kMain);
    ASSERT_NE(page->m_stView.m_astRows[0].btn, nullptr);
    EXPECT_EQ(lv_group_get_focused(lv_group_get_default()), page->m_stView.m_astRows[0].btn);
    Press(KEY_CODE_OK);
    ASSERT_EQ(page->m_eScreen, KS::kUnbindAsk);
    Press(KEY_CODE_BACK);
    ASSERT_EQ(page->m_eScreen, KS::kMain);
    Press(KEY_CODE_OK);
    Press(KEY_CODE_OK);
    EXPECT_EQ(page->m_eScreen, KS::kMain);
    EXPECT_EQ(page->m_stView.m_astRows[0].btn, nullptr) << "not linked any more";
    ASSERT_TRUE(AdvanceUntil([] { return CtrlCount("ctrl_kovar_unbind") == 1; }));
    // Linked again, the cancel row leaves the page.
    Press(KEY_CODE_BACK);
    Advance(700);
    page = OpenKovar(true);
    Press(KEY_CODE_NEXT);
    Press(KEY_CODE_OK);
    Advance(700);
    EXPECT_STRNE(mgr->GetStackTop()->Name, "Pages/SysSetingKovar");
}

// ---- keys as fast as the driver takes them ----

// A pseudo-random walk of keys on each of this group's pages: after every key the focus is on a
// live object, a framework page shows a screen, and the page leaves only by BACK.
TEST_F(KovarPage, FastKeysLeaveEveryPageWhole) {
    SetSetting("acc_status", 1);
    SetSetting("support_4gnet_test", 1);
    uint32_t seed = 2024;
    for (const char *name : {"Pages/SysSetingParking", "Pages/SysSetingAlgorAssist", "Pages/SysSetingMore",
                             "Pages/SysSetingKovar", "Pages/SysSetingReset"}) {
        Advance(700);
        PageBase *p = Open<PageBase>(name);
        ASSERT_NE(p, nullptr) << name << " over " << mgr->GetStackTop()->Name;
        auto *framework = dynamic_cast<Page::SysSetingPage *>(p);
        for (int i = 0; i < 150 && mgr->GetStackTop() == p; ++i) {
            seed = seed * 1664525u + 1013904223u;
            uint32_t code =
                (seed >> 20) % 8 == 0 ? KEY_CODE_BACK : ((seed >> 24) % 3 == 0 ? KEY_CODE_NEXT : KEY_CODE_OK);
            pagetest::Key(code, KEY_VALUE_PRESS);
            pagetest::Key(code, KEY_VALUE_RELEASE);
            lv_obj_t *focused = lv_group_get_focused(lv_group_get_default());
            ASSERT_TRUE(focused == nullptr || lv_obj_is_valid(focused)) << name << " key " << i;
            if (framework != nullptr && mgr->GetStackTop() == p) {
                ASSERT_NE(framework->View.ui.cur_bg, nullptr) << name << " key " << i;
            }
        }
        for (int i = 0; i < 10 && mgr->GetStackTop() == p; ++i) {
            Advance(4000); // a running format or pairing ends
            Press(KEY_CODE_BACK);
            Advance(700);
        }
        EXPECT_NE(mgr->GetStackTop(), p) << name;
        ASSERT_TRUE(SavesDone());
    }
}

// ---- pictures ----

// Every menu of a tree starts at its first row (the positions live for the run).
void ResetPositions(SetMenu *menu) {
    if (menu == nullptr) {
        return;
    }
    menu->iCurrentPos = 0;
    for (int i = 0; i < menu->s32ItemNum; ++i) {
        ResetPositions(menu->ppstItems[i]->pstSubMenu);
    }
}

class LookB : public KovarPage, public ::testing::WithParamInterface<const char *> {
  protected:
    void SetUp() override {
        for (SetMenu *root :
             {SysSetingParking::RootMenu(), SysSetingAlgorAssist::RootMenu(), SysSetingMore::RootMenu()}) {
            ResetPositions(root);
        }
        Start(GetParam());
        for (const auto &p : kMore) {
            ASSERT_NE(mgr->Install(p[0], p[1]), nullptr) << p[0];
        }
        ASSERT_NE(Open<PageBase>("Pages/SysSetingHome"), nullptr);
        StatusBar_SlideAnim(1); // as the home page leaves it, with the pages' titles
        Advance(600);
    }
    void Shot(const std::string &name) { StillShot(name + "_" + GetParam()); }
    void Close() {
        mgr->Pop();
        Advance(700);
    }
};

TEST_P(LookB, ReferencePictures) {
    SetSetting("acc_status", 1);
    SetSettingText("parking_mode_option", "timelapse_aovtimelapse_hibernate_normal");
    SetSetting("parking_status", 3);
    SetSetting("parkAovTimeLapseDur", 1440);
    SetSetting("normal_gsensor_level", 50);
    SetSetting("aiMasterSwitch", 1);
    auto *parking = Open<SysSetingParking>("Pages/SysSetingParking");
    Shot("parking");
    OpenRow(parking, 0);
    Shot("parking_modes");
    Close();
    auto *algor = Open<SysSetingAlgorAssist>("Pages/SysSetingAlgorAssist");
    Shot("algor");
    OpenRow(algor, 1);
    Shot("algor_adas");
    Close();
    auto *more = Open<SysSetingMore>("Pages/SysSetingMore");
    Shot("more");
    Press(KEY_CODE_OK);
    Shot("more_app");
    Press(KEY_CODE_BACK);
    OpenRow(more, 1);
    Shot("more_about");
    Close();
    auto *kovar = OpenKovar(false);
    Shot("kovar");
    Press(KEY_CODE_OK);
    Shot("kovar_pairing");
    Close();
    kovar = OpenKovar(true);
    (void)kovar;
    Shot("kovar_linked");
    Close();
}

INSTANTIATE_TEST_SUITE_P(Languages, LookB, ::testing::Values("US", "GE", "CN"));

} // namespace
