// The status bar on the page harness: its item lists, every command of the "StatusBar" account,
// the show types, the title area, the record icon and reference pictures of the bar.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "DataProc.h"
#include "StatusBar.h"
#include "lv_label_ext_func.h"
#include "page_test_env.h"

namespace {

using pagetest::Advance;
using pagetest::AdvanceUntil;

std::vector<std::string> Items(bool bLeft = false) {
    std::vector<std::string> out;
    const char *name = nullptr, *icon = nullptr;
    for (uint32_t i = 0; StatusBar_GetItem(bLeft, i, &name, &icon, nullptr); ++i) {
        out.push_back(std::string(name) + ":" + icon);
    }
    return out;
}

// The file name the slot's image shows ("" without a source).
std::string SlotIcon(lv_obj_t *img) {
    const void *src = lv_img_get_src(img);
    if (src == nullptr) {
        return "";
    }
    std::string s = static_cast<const char *>(src);
    return s.substr(s.rfind('/') + 1);
}

lv_opa_t ImgOpa(lv_obj_t *obj) {
    return lv_obj_get_style_img_opa(obj, LV_PART_MAIN);
}

bool Hidden(lv_obj_t *obj) {
    return lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN);
}

// The recorder's microphone setting, loaded into the user interface's copy.
void SetMicSetting(int value) {
    cJSON *s = pagetest::Recorder().LockSettings();
    cJSON_DeleteItemFromObjectCaseSensitive(s, "mic_switch");
    cJSON_AddNumberToObject(s, "mic_switch", value);
    pagetest::Recorder().UnlockSettings();
    static const int32_t s_as32Item[] = {GS_MIC_SWITCH};
    GeneralSetingReq req;
    memset(&req, 0, sizeof req);
    req.peElemList = s_as32Item;
    req.iElemNum = 1;
    ASSERT_EQ(pagetest::TestAccount()->Notify(DP_ACCOUNT_GENERAL_SETING, &req, sizeof req), 0);
}

// A title update (command 2) as the pages send it.
StatusBarMsg TitleMsg(const char *pcTitle, bool bShadow = true) {
    StatusBarMsg m;
    memset(&m, 0, sizeof m);
    m.eCmd = STATUSBAR_CMD_UPDATE_TITLE;
    m.pcTitle = pcTitle;
    m.bShadow = bShadow;
    return m;
}

int Notify(const StatusBarMsg &msg) {
    return pagetest::TestAccount()->Notify(DP_ACCOUNT_STATUS_BAR, &msg, sizeof msg);
}

class StatusBarTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pagetest::Up("US");
        pagetest::Recorder().Reset();
        SetMicSetting(1);
        // A fresh bar for every test: the old one is deleted with its animations.
        if (StatusBar_GetObjs() != nullptr) {
            lv_obj_del(StatusBar_GetObjs()->root);
        }
        ASSERT_EQ(StatusBar_Create(lv_layer_top()), 0);
        o = StatusBar_GetObjs();
        ASSERT_NE(o, nullptr);
        StatusBar_SlideAnim(1);
        Advance(600);
    }
    const StatusBarObjs *o = nullptr;
};

// ---- item lists ----

TEST_F(StatusBarTest, CreationShowsMicrophoneThenWifiFromTheRightEdge) {
    EXPECT_EQ(Items(), (std::vector<std::string>{"mic:mic_on.png", "wifi:wifi_off.png"}));
    EXPECT_EQ(SlotIcon(o->astRight[0].img), "mic_on.png");
    EXPECT_EQ(SlotIcon(o->astRight[1].img), "wifi_off.png");
    lv_obj_update_layout(o->bar);
    // Slot 0 is the rightmost icon of the row.
    EXPECT_GT(lv_obj_get_x(o->astRight[0].img), lv_obj_get_x(o->astRight[1].img));
    EXPECT_EQ(ImgOpa(o->astRight[0].img), LV_OPA_COVER);
    EXPECT_EQ(ImgOpa(o->astRight[2].img), LV_OPA_TRANSP);
    EXPECT_EQ(StatusBar_GetShowType(), STATUSBAR_SHOW_ALL);
    EXPECT_EQ(lv_obj_get_height(o->bar), STATUSBAR_HEIGHT);
    EXPECT_EQ(StatusBar_Create(nullptr), -1); // logged; the bar stays as it is
    EXPECT_EQ(StatusBar_GetObjs(), o);
}

TEST_F(StatusBarTest, AddAppendsUpdateKeepsTheSlotRemoveShifts) {
    AddItemToList("sd", "sd_err.png", false);
    Ctrl4GIconShow(true, 1, true);
    CtrlKovarIconShow(true);
    EXPECT_EQ(Items(), (std::vector<std::string>{"mic:mic_on.png", "wifi:wifi_off.png", "sd:sd_err.png",
                                                 "4G:4G_1.png", "kovar:kovar.png"}));
    // A new level replaces the icon in the same slot.
    Ctrl4GIconShow(true, 4, true);
    EXPECT_EQ(SlotIcon(o->astRight[3].img), "4G_4.png");
    EXPECT_EQ(Items()[3], "4G:4G_4.png");
    // Removing "sd" moves every later item one slot to the right edge; the freed last slot goes
    // transparent.
    UpdateSdIcon(false, nullptr);
    EXPECT_EQ(SlotIcon(o->astRight[2].img), "4G_4.png");
    EXPECT_EQ(SlotIcon(o->astRight[3].img), "kovar.png");
    EXPECT_EQ(ImgOpa(o->astRight[4].img), LV_OPA_TRANSP);
    // The rear and inside camera operations show nothing.
    UpdateRearIcon(true, "rear_plugin.png");
    UpdateInsideIcon(true, "inside_err.png");
    EXPECT_EQ(StatusBar_GetItemCount(false), 4u);
}

TEST_F(StatusBarTest, TheSameItemAgainChangesNothingAndDrawsNothing) {
    AddItemToList("sd", "sd_out.png", false);
    pagetest::Refresh();
    lv_disp_t *disp = lv_disp_get_default();
    ASSERT_EQ(disp->inv_p, 0);
    AddItemToList("sd", "sd_out.png", false);
    EXPECT_EQ(disp->inv_p, 0);
    EXPECT_EQ(StatusBar_GetItemCount(false), 3u);
}

TEST_F(StatusBarTest, NineSlotsShowTheFirstNineItemsTheRestWaitInTheList) {
    const char *names[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i"};
    for (const char *n : names) {
        AddItemToList(n, "kovar.png", false);
    }
    ASSERT_EQ(StatusBar_GetItemCount(false), 11u); // mic, wifi and nine more
    EXPECT_EQ(SlotIcon(o->astRight[8].img), "kovar.png");
    for (const auto &slot : o->astRight) {
        EXPECT_EQ(ImgOpa(slot.img), LV_OPA_COVER);
    }
    // The tenth item comes into view when one before it goes.
    AddItemToList("h", "sd_err.png", false); // position 9: kept, not drawn
    EXPECT_NE(SlotIcon(o->astRight[8].img), "sd_err.png");
    RemoveItemFromList("wifi");
    EXPECT_EQ(SlotIcon(o->astRight[8].img), "sd_err.png");
}

TEST_F(StatusBarTest, LeftListHasTwoSlots) {
    AddItemToListLeft("rear", "rear_plugin.png");
    AddItemToListLeft("inside", "inside_plugin.png");
    AddItemToListLeft("extra", "kovar.png"); // kept, "u32IconId err", not drawn
    EXPECT_EQ(Items(true), (std::vector<std::string>{"rear:rear_plugin.png", "inside:inside_plugin.png",
                                                     "extra:kovar.png"}));
    EXPECT_EQ(SlotIcon(o->apstLeft[0]), "rear_plugin.png");
    EXPECT_EQ(SlotIcon(o->apstLeft[1]), "inside_plugin.png");
    EXPECT_EQ(ImgOpa(o->apstLeft[1]), LV_OPA_COVER);
    RemoveItemFromListLeft("rear");
    EXPECT_EQ(SlotIcon(o->apstLeft[0]), "inside_plugin.png");
    EXPECT_EQ(SlotIcon(o->apstLeft[1]), "kovar.png");
}

TEST_F(StatusBarTest, BadItemsAreRefusedAndLeaveTheListsAsTheyWere) {
    const std::vector<std::string> before = Items();
    AddItemToList(nullptr, "sd_err.png", false);
    AddItemToList("sd", nullptr, false);
    AddItemToList("sd", "no_such_picture.png", false);                // missing picture
    AddItemToList("", "sd_err.png", false);                           // no name
    AddItemToList(std::string(40, 'x').c_str(), "sd_err.png", false); // longer than 31
    AddItemToList("mic", "no_such_picture.png", false);               // update to a missing picture
    RemoveItemFromList("no_such_item");
    RemoveItemFromList(nullptr);
    Ctrl4GIconShow(true, 5, true); // level out of range
    Ctrl4GIconShow(true, -1, true);
    EXPECT_EQ(Items(), before);
    EXPECT_EQ(SlotIcon(o->astRight[0].img), "mic_on.png");
    AddItemToListLeft("rear", "no_such_picture.png");
    RemoveItemFromListLeft("rear");
    EXPECT_TRUE(Items(true).empty());
}

TEST_F(StatusBarTest, BreathingFollowsTheItemsAndRestartsAfterARemoval) {
    CtrlGpsIconShow(true, true); // gps at slot 2, breathing
    ASSERT_EQ(Items()[2], "gps:gps_err.png");
    EXPECT_TRUE(o->astRight[2].bBreath);
    Advance(400);
    EXPECT_LT(lv_obj_get_style_opa(o->astRight[2].img, LV_PART_MAIN), 255);
    // Same show and breath: nothing to do; breath off: the slot stops at full opacity.
    CtrlGpsIconShow(true, true);
    CtrlGpsIconShow(true, false);
    EXPECT_FALSE(o->astRight[2].bBreath);
    EXPECT_EQ(lv_obj_get_style_opa(o->astRight[2].img, LV_PART_MAIN), 255);
    // Removing an item before a breathing one moves the breathing to its new slot.
    CtrlIconBreath("gps", true);
    EXPECT_TRUE(o->astRight[2].bBreath);
    RemoveItemFromList("wifi");
    EXPECT_TRUE(o->astRight[1].bBreath);
    EXPECT_FALSE(o->astRight[2].bBreath);
    EXPECT_EQ(lv_obj_get_style_opa(o->astRight[2].img, LV_PART_MAIN), 255);
    CtrlGpsIconShow(false, false);
    EXPECT_FALSE(o->astRight[1].bBreath);
    EXPECT_EQ(StatusBar_GetItemCount(false), 1u);
    // A 4G link that is not ready breathes.
    Ctrl4GIconShow(true, 2, false);
    EXPECT_TRUE(o->astRight[1].bBreath);
}

// ---- commands of the account ----

TEST_F(StatusBarTest, CommandsAddRemoveAndAlignTheTitle) {
    StatusBarMsg m;
    memset(&m, 0, sizeof m);
    m.eCmd = STATUSBAR_CMD_ADD_ITEM;
    m.pcTypeName = "sd";
    m.pcIconName = "sd_out.png";
    EXPECT_EQ(Notify(m), 0);
    EXPECT_EQ(Items().back(), "sd:sd_out.png");
    memset(&m, 0, sizeof m);
    m.eCmd = STATUSBAR_CMD_REMOVE_ITEM;
    m.pcIconName = "sd"; // the name travels in the icon field
    EXPECT_EQ(Notify(m), 0);
    EXPECT_EQ(StatusBar_GetItemCount(false), 2u);

    memset(&m, 0, sizeof m);
    m.eCmd = STATUSBAR_CMD_TITLE_LEFT;
    EXPECT_EQ(Notify(m), 0);
    lv_obj_update_layout(o->bar);
    EXPECT_EQ(lv_obj_get_x(o->title.obj), 320 * 18 / 100);
    EXPECT_EQ(lv_obj_get_y(o->title.obj), 0);
    m.eCmd = STATUSBAR_CMD_TITLE_CENTER;
    EXPECT_EQ(Notify(m), 0);
    lv_obj_update_layout(o->bar);
    EXPECT_EQ(lv_obj_get_x(o->title.obj), (320 - lv_obj_get_width(o->title.obj)) / 2 - 10);

    m.eCmd = 9; // no such command: ignored
    EXPECT_EQ(Notify(m), 0);
}

TEST_F(StatusBarTest, ARecordOfAnotherSizeOrAnotherEventIsRefused) {
    uint8_t buf[sizeof(StatusBarMsg) + 1] = {};
    Account *acc = pagetest::TestAccount();
    EXPECT_EQ(acc->Notify(DP_ACCOUNT_STATUS_BAR, buf, sizeof(StatusBarMsg) - 1), Account::RES_SIZE_MISMATCH);
    EXPECT_EQ(acc->Notify(DP_ACCOUNT_STATUS_BAR, buf, sizeof(StatusBarMsg) + 1), Account::RES_SIZE_MISMATCH);
    EXPECT_EQ(acc->Pull(DP_ACCOUNT_STATUS_BAR, buf, sizeof(StatusBarMsg)), Account::RES_UNSUPPORTED);
    EXPECT_EQ(StatusBar_GetItemCount(false), 2u);
}

TEST_F(StatusBarTest, TitleAreaUpdate) {
    StatusBarMsg m = TitleMsg("Video");
    m.pcFocus = "3/12";
    m.pcFileType = "rear";
    ASSERT_EQ(Notify(m), 0);
    EXPECT_STREQ(lv_label_get_text(o->title.obj), "Video");
    EXPECT_STREQ(lv_label_get_text(o->shadow_title.obj), "Video");
    EXPECT_STREQ(lv_label_get_text(o->focus.obj), "3/12");
    EXPECT_EQ(SlotIcon(o->filetype_img.obj), "rear.png");
    for (const StatusBarTitleItem *p : {&o->title, &o->shadow_title, &o->focus, &o->filetype_img}) {
        EXPECT_TRUE(p->bshow);
        EXPECT_FALSE(Hidden(p->obj));
    }
    // A language id is looked up; the shadow keeps what it had. An unknown file type keeps the
    // picture; no focus text hides the counter.
    m.pcTitle = "LANG_RES_ID_RECORDING_VIDEO";
    m.bTitleIsLangId = true;
    m.pcFocus = "";
    m.pcFileType = "side";
    ASSERT_EQ(Notify(m), 0);
    char szText[64] = "";
    ASSERT_EQ(lv_label_get_text_tr("LANG_RES_ID_RECORDING_VIDEO", szText, sizeof szText), 0);
    EXPECT_STREQ(lv_label_get_text(o->title.obj), szText);
    EXPECT_STREQ(lv_label_get_text(o->shadow_title.obj), "Video");
    EXPECT_TRUE(Hidden(o->focus.obj));
    EXPECT_FALSE(o->focus.bshow);
    EXPECT_EQ(SlotIcon(o->filetype_img.obj), "rear.png");
    // No title, no shadow flag, no file type: all hidden.
    memset(&m, 0, sizeof m);
    m.eCmd = STATUSBAR_CMD_UPDATE_TITLE;
    ASSERT_EQ(Notify(m), 0);
    for (const StatusBarTitleItem *p : {&o->title, &o->shadow_title, &o->focus, &o->filetype_img}) {
        EXPECT_TRUE(Hidden(p->obj));
    }
    StatusBar_UpdateTitleCont(nullptr); // logged, nothing happens
}

// The home page sends its clock every 50 ms: the same title again must not redraw anything (on
// the device every redraw goes over the SPI link to the panel).
TEST_F(StatusBarTest, TheSameTitleAgainDrawsNothing) {
    StatusBarMsg m = TitleMsg("12-09  08:30:00");
    ASSERT_EQ(Notify(m), 0);
    pagetest::Refresh();
    lv_disp_t *disp = lv_disp_get_default();
    ASSERT_EQ(disp->inv_p, 0);
    ASSERT_EQ(Notify(m), 0);
    EXPECT_EQ(disp->inv_p, 0);
    StatusBar_ShowType(STATUSBAR_SHOW_ALL);
    EXPECT_EQ(disp->inv_p, 0);
}

TEST_F(StatusBarTest, TitleUpdateInShowTypesWithoutTitleChangesNothing) {
    StatusBarMsg m = TitleMsg("Changed", false);
    for (int t : {STATUSBAR_SHOW_REC, STATUSBAR_SHOW_REC_ICONS, STATUSBAR_SHOW_NONE}) {
        StatusBar_ShowType(t);
        ASSERT_EQ(Notify(m), 0);
        EXPECT_STRNE(lv_label_get_text(o->title.obj), "Changed") << t;
    }
    StatusBar_ShowType(STATUSBAR_SHOW_TITLE);
    ASSERT_EQ(Notify(m), 0);
    EXPECT_STREQ(lv_label_get_text(o->title.obj), "Changed");
}

// ---- show types ----

TEST_F(StatusBarTest, EachShowTypeShowsItsParts) {
    StatusBarMsg m = TitleMsg("T");
    ASSERT_EQ(Notify(m), 0);
    AddItemToListLeft("rear", "rear_plugin.png");
    struct Row {
        int type;
        bool rec, icons, title;
    } const rows[] = {
        {STATUSBAR_SHOW_REC, true, false, false},      {STATUSBAR_SHOW_REC_ICONS, true, true, false},
        {STATUSBAR_SHOW_REC_TITLE, true, false, true}, {STATUSBAR_SHOW_TITLE, false, false, true},
        {STATUSBAR_SHOW_NONE, false, false, false},    {STATUSBAR_SHOW_ALL, true, true, true},
    };
    for (const Row &r : rows) {
        StatusBar_ShowType(r.type);
        EXPECT_EQ(StatusBar_GetShowType(), r.type);
        EXPECT_EQ(!Hidden(o->recIcon), r.rec) << r.type;
        EXPECT_EQ(ImgOpa(o->astRight[0].img), r.icons ? LV_OPA_COVER : LV_OPA_TRANSP) << r.type;
        EXPECT_EQ(ImgOpa(o->apstLeft[0]), r.icons ? LV_OPA_COVER : LV_OPA_TRANSP) << r.type;
        EXPECT_EQ(ImgOpa(o->astRight[5].img), LV_OPA_TRANSP) << r.type; // no item there
        EXPECT_EQ(!Hidden(o->title.obj), r.title) << r.type;
        EXPECT_EQ(!Hidden(o->shadow_title.obj), r.title) << r.type;
        // Hiding keeps the flags for the next show.
        EXPECT_TRUE(o->title.bshow);
    }
    // The previous type comes back; an unknown type is ignored.
    StatusBar_ShowType(STATUSBAR_SHOW_REC_TITLE);
    StatusBar_ShowType(STATUSBAR_SHOW_NONE);
    BackLastTypeShow();
    EXPECT_EQ(StatusBar_GetShowType(), STATUSBAR_SHOW_REC_TITLE);
    StatusBar_ShowType(6);
    StatusBar_ShowType(-1);
    EXPECT_EQ(StatusBar_GetShowType(), STATUSBAR_SHOW_REC_TITLE);
}

TEST_F(StatusBarTest, IconsAddedWhileHiddenStayHiddenUntilShown) {
    StatusBar_ShowType(STATUSBAR_SHOW_REC_TITLE);
    AddItemToList("sd", "sd_err.png", false);
    EXPECT_EQ(SlotIcon(o->astRight[2].img), "sd_err.png");
    EXPECT_EQ(ImgOpa(o->astRight[2].img), LV_OPA_TRANSP);
    StatusBar_ShowType(STATUSBAR_SHOW_ALL);
    EXPECT_EQ(ImgOpa(o->astRight[2].img), LV_OPA_COVER);
}

TEST_F(StatusBarTest, SlidesInAndOutIn500ms) {
    StatusBar_SlideAnim(0);
    Advance(250);
    lv_coord_t y = lv_obj_get_y(o->bar);
    EXPECT_LT(y, 0);
    EXPECT_GT(y, -STATUSBAR_HEIGHT);
    Advance(300);
    EXPECT_EQ(lv_obj_get_y(o->bar), -STATUSBAR_HEIGHT);
    StatusBar_SlideAnim(1);
    Advance(20);
    EXPECT_LT(lv_obj_get_y(o->bar), 0);
    Advance(520);
    EXPECT_EQ(lv_obj_get_y(o->bar), 0);
}

// ---- record icon and the 1000 ms refresh ----

TEST_F(StatusBarTest, RecordIconFollowsTheRecordingEverySecond) {
    ASSERT_EQ(pagetest::Recorder().Status("rec_status", "start"), 0);
    ASSERT_TRUE(AdvanceUntil([&] { return lv_obj_has_state(o->recIcon, LV_STATE_USER_1); }));
    EXPECT_EQ(SlotIcon(o->recIcon), "rec_on.png");
    EXPECT_FALSE(StatusBar_RecIconBreathing());
    // The point style breathes while recording.
    CtrlRecIconStyle(STATUSBAR_REC_STYLE_POINT);
    EXPECT_EQ(SlotIcon(o->recIcon), "point_on.png");
    EXPECT_TRUE(StatusBar_RecIconBreathing());
    CtrlRecIconStyle(STATUSBAR_REC_STYLE_POINT); // "type is same"
    CtrlRecIconStyle(2);                         // no such style
    EXPECT_EQ(StatusBar_GetRecIconStyle(), STATUSBAR_REC_STYLE_POINT);
    ASSERT_EQ(pagetest::Recorder().Status("rec_status", "stop"), 0);
    ASSERT_TRUE(AdvanceUntil([&] { return !lv_obj_has_state(o->recIcon, LV_STATE_USER_1); }));
    EXPECT_EQ(SlotIcon(o->recIcon), "point_off.png");
    EXPECT_FALSE(StatusBar_RecIconBreathing());
    EXPECT_EQ(lv_obj_get_style_opa(o->recIcon, LV_PART_MAIN), 255);
    CtrlRecIconStyle(STATUSBAR_REC_STYLE_REC);
    EXPECT_EQ(SlotIcon(o->recIcon), "rec_off.png");
}

TEST_F(StatusBarTest, MicrophoneItemFollowsTheSetting) {
    SetMicSetting(0);
    ASSERT_TRUE(AdvanceUntil([&] { return Items()[0] == "mic:mic_off.png"; }));
    EXPECT_EQ(SlotIcon(o->astRight[0].img), "mic_off.png");
}

// ---- what it looks like ----

class StatusBarLook : public StatusBarTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(StatusBarLook, ReferencePictures) {
    const std::string lang = GetParam();
    Lang_SetCode(lang.c_str());
    StatusBarMsg m = TitleMsg("12-09  08:30:00");
    ASSERT_EQ(Notify(m), 0);
    Advance(100);
    EXPECT_TRUE(pagetest::MatchesReference(PAGE_TEST_REF_DIR, "bar_idle_" + lang));

    // Recording, with the storage, GPS, 4G and device-link icons and a left camera item.
    StatusBar_SetRecording(true);
    AddItemToList("sd", "sd_err.png", false);
    AddItemToList("gps", "gps_err.png", false);
    Ctrl4GIconShow(true, 3, true);
    CtrlKovarIconShow(true);
    AddItemToList("wifi", "wifi_on.png", false);
    AddItemToListLeft("rear", "rear_plugin.png");
    Advance(100);
    EXPECT_TRUE(pagetest::MatchesReference(PAGE_TEST_REF_DIR, "bar_recording_" + lang));

    // A settings or album page: record icon and title (a language id), focus counter, file type.
    StatusBar_ShowType(STATUSBAR_SHOW_REC_TITLE);
    StatusBar_AlignTitle(STATUSBAR_CMD_TITLE_LEFT);
    m.pcTitle = "LANG_RES_ID_VIDEO_SET";
    m.bTitleIsLangId = true;
    m.pcFocus = "3/12";
    m.pcFileType = "front";
    ASSERT_EQ(Notify(m), 0);
    Advance(100);
    EXPECT_TRUE(pagetest::MatchesReference(PAGE_TEST_REF_DIR, "bar_title_" + lang));
}

INSTANTIATE_TEST_SUITE_P(Languages, StatusBarLook, ::testing::Values("US", "RU", "CN"));

} // namespace
