#include "SysSetingScreenSet.h"

#include "SetFlowScreens.h"
#include "log.h"

namespace Page {

namespace {

using Model_t = SysSetingScreenSetModel;

enum : int32_t {
    ID_SCREEN_TIME_30 = 78,
    ID_SCREEN_TIME_60 = 79,
    ID_SCREEN_TIME_ALWAYS = 80,
    WALLPAPER_NONE = 3,
};

SetMenuItem s_astTime[] = {
    {ID_SCREEN_TIME_30, 0, "LANG_RES_ID_30S", nullptr, 0},
    {ID_SCREEN_TIME_60, 0, "LANG_RES_ID_60S", nullptr, 0},
    {ID_SCREEN_TIME_ALWAYS, 0, "LANG_RES_ID_SCREEN_TIME_ALAWAYS", nullptr, 0},
};
SetMenuItem *s_apstTime[] = {&s_astTime[0], &s_astTime[1], &s_astTime[2]};
SetMenu s_stTimeMenu = {
    29, "LANG_RES_ID_SCREEN_TIME", nullptr, 3, s_apstTime, Model_t::MenuGetDefault_GeneralSetting, 0};

/* 82 and 84 are numbered but not offered: their rows are left out. */
SetMenuItem s_astWallpaper[] = {
    {82, 0, nullptr, nullptr, 0},
    {83, 0, "LANG_RES_ID_ELEC_CLOCK", nullptr, 0},
    {84, 0, nullptr, nullptr, 0},
    {85, 0, "LANG_RES_ID_CLOSE_WALLPAPER", nullptr, 0},
};
SetMenuItem *s_apstWallpaper[] = {&s_astWallpaper[0], &s_astWallpaper[1], &s_astWallpaper[2],
                                  &s_astWallpaper[3]};
SetMenu s_stWallpaperMenu = {
    30, "LANG_RES_ID_WALLPAPER", nullptr, 4, s_apstWallpaper, Model_t::MenuGetDefault_GeneralSetting, 0};

SetMenuItem s_astLight[] = {
    {74, 0, "LANG_RES_ID_BRIGHTNESS_HIGH", nullptr, 0},
    {75, 0, "LANG_RES_ID_BRIGHTNESS_MID", nullptr, 0},
    {76, 0, "LANG_RES_ID_BRIGHTNESS_LOW", nullptr, 0},
};
SetMenuItem *s_apstLight[] = {&s_astLight[0], &s_astLight[1], &s_astLight[2]};
SetMenu s_stLightMenu = {
    31, "LANG_RES_ID_BRIGHTNESS", nullptr, 3, s_apstLight, Model_t::MenuGetDefault_GeneralSetting, 0};

SetMenuItem s_astRoot[] = {
    {77, 0, "LANG_RES_ID_SCREEN_TIME", &s_stTimeMenu, 0},
    {81, 0, "LANG_RES_ID_WALLPAPER", &s_stWallpaperMenu, 0},
    {73, 0, "LANG_RES_ID_BRIGHTNESS", &s_stLightMenu, 0},
};
SetMenuItem *s_apstRoot[] = {&s_astRoot[0], &s_astRoot[1], &s_astRoot[2]};
SetMenu s_stRootMenu = {6, "LANG_RES_ID_SCREEN_SET", nullptr, 3, s_apstRoot, nullptr, 0};

const SetMenuOption s_astTimeVals[] = {{78, 30}, {79, 60}, {80, 0}};
const SetMenuOption s_astWallpaperVals[] = {{83, 1}, {85, WALLPAPER_NONE}};
const SetMenuOption s_astLightVals[] = {{74, 100}, {75, 70}, {76, 40}};
const SetMenuBinding s_astBindings[] = {
    {&s_stTimeMenu, GS_SCREEN_DORMANT, s_astTimeVals, 3},
    {&s_stLightMenu, GS_SCREEN_BRIGHTNESS, s_astLightVals, 3},
};

const int32_t s_as32Items[] = {GS_SCREEN_BRIGHTNESS, GS_SCREEN_DORMANT, GS_WALLPAPER};

} // namespace

SetMenu *SysSetingScreenSet::RootMenu() {
    SetMenu_LinkTree(&s_stRootMenu);
    return &s_stRootMenu;
}

SysSetingScreenSet::SysSetingScreenSet()
    : SysSetingPage(m_stModel, m_stView, "SysSetingScreenSetModel", RootMenu(), s_as32Items,
                    (int32_t)(sizeof s_as32Items / sizeof s_as32Items[0])) {
    m_stModel.SetBindings(s_astBindings, sizeof s_astBindings / sizeof s_astBindings[0]);
}

void SysSetingScreenSet::RowInfo(int32_t s32Pos, PageCommonItem *pstRow) {
    SysSetingPage::RowInfo(s32Pos, pstRow);
    SetRow_FitWidths(pstRow, SetRow_ValueId(Model, s32Pos));
    if (Model.GetItemLabel(s32Pos) == nullptr) {
        pstRow->bEnable = 0;
    }
}

int SysSetingScreenSet::OptionChosen(int32_t s32ItemId) {
    int32_t s32Value = 0;
    if (Model.m_pstTopMenu == &s_stWallpaperMenu) {
        if (!SetMenu_OptionValue(s_astWallpaperVals, 2, s32ItemId, &s32Value)) {
            return -1;
        }
        return Model.GeneralSetingComm(GS_WALLPAPER, s32Value);
    }
    if (Model.m_pstTopMenu != &s_stTimeMenu) {
        return SysSetingPage::OptionChosen(s32ItemId);
    }
    if (!SetMenu_OptionValue(s_astTimeVals, 3, s32ItemId, &s32Value)) {
        return -1;
    }
    if (s32ItemId == ID_SCREEN_TIME_ALWAYS) {
        /* Always on: the screen never sleeps, so it shows no wallpaper either. */
        if (Model.GeneralSetingComm(GS_SCREEN_DORMANT, s32Value) != 0) {
            return -1;
        }
        return Model.GeneralSetingComm(GS_WALLPAPER, WALLPAPER_NONE);
    }
    /* A timed screen-off after "always on": the wallpaper the screen falls to is set back. */
    if (Model.m_stInfo.wallpaper == WALLPAPER_NONE && Model.GeneralSetingComm(GS_WALLPAPER, 0) != 0) {
        return -1;
    }
    return Model.GeneralSetingComm(GS_SCREEN_DORMANT, s32Value);
}

} // namespace Page
