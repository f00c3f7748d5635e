#include "SysSetingHome.h"

#include <stdio.h>

#include "log.h"

namespace Page {

namespace {

SetMenuItem s_stVideo = {0, 55, "LANG_RES_ID_VIDEO_SET", nullptr, 0};
SetMenuItem s_stSystem = {1, 56, "LANG_RES_ID_SYSTEM_SET", nullptr, 0};
SetMenuItem s_stSound = {4, 59, "LANG_RES_ID_SOUND_SET", nullptr, 0};
SetMenuItem s_stScreen = {5, 67, "LANG_RES_ID_SCREEN_SET", nullptr, 0};
SetMenuItem s_stParking = {2, 57, "LANG_RES_ID_PARKING", nullptr, 0};
SetMenuItem s_stAlgor = {3, 58, "LANG_RES_ID_ALGOR_ASSIST", nullptr, 0};
SetMenuItem s_stReset = {8, 68, "LANG_RES_ID_RESET_DEV", nullptr, 0};
SetMenuItem s_stMore = {7, 62, "LANG_RES_ID_MORE", nullptr, 0};
SetMenuItem *s_apstRoot[] = {&s_stVideo,   &s_stSystem, &s_stSound, &s_stScreen,
                             &s_stParking, &s_stAlgor,  &s_stReset, &s_stMore};
SetMenu s_stRootMenu = {0, "LANG_RES_ID_SET_MIAN_SETING", nullptr, 8, s_apstRoot, nullptr, 0};

const char *const s_apcTilePages[] = {
    "Pages/SysSetingVideoSet",  "Pages/SysSetingSysSet",  "Pages/SysSetingSoundSet",
    "Pages/SysSetingScreenSet", "Pages/SysSetingParking", "Pages/SysSetingAlgorAssist",
    "Pages/SysSetingReset",     "Pages/SysSetingMore",
};

} // namespace

SetMenu *SysSetingHome::RootMenu() {
    return &s_stRootMenu;
}

const char *SysSetingHome::TilePage(uint32_t u32Pos) {
    return u32Pos < sizeof s_apcTilePages / sizeof s_apcTilePages[0] ? s_apcTilePages[u32Pos] : nullptr;
}

SysSetingHome::SysSetingHome()
    : SysSetingPage(m_stModel, m_stView, "SysSetingHomeModel", RootMenu(), nullptr, 0) {}

bool SysSetingHome::OpenScreen(SetMenu *pstMenu) {
    if (pstMenu != &s_stRootMenu) {
        return false;
    }
    CreateMainPageHandle(pstMenu->iCurrentPos);
    return true;
}

void SysSetingHome::CreateMainPageHandle(int32_t s32Focus) {
    m_stView.CreateTiles(root, &s_stRootMenu, TileEvent, this);
    if (s32Focus < 0 || s32Focus >= s_stRootMenu.s32ItemNum) {
        s32Focus = 0;
    }
    lv_group_focus_obj(m_stView.m_astTiles[s32Focus].btn);
    lv_obj_scroll_to_view(m_stView.m_astTiles[s32Focus].btn, LV_ANIM_OFF);
    RefershMainMenuItemInfo(s32Focus);
    m_stView.StartTimeline();
}

void SysSetingHome::AddBtnsToGroup() {
    CreateMainPageHandle(s_stRootMenu.iCurrentPos);
}

void SysSetingHome::onPageAppear() {
    CtrlRecIconStyle(STATUSBAR_REC_STYLE_POINT);
    StatusBar_ShowType(STATUSBAR_SHOW_REC_TITLE);
    RefershMainMenuItemInfo(s_stRootMenu.iCurrentPos);
}

void SysSetingHome::RefershMainMenuItemInfo(int32_t s32Pos) {
    if (s32Pos < 0 || s32Pos >= s_stRootMenu.s32ItemNum) {
        return;
    }
    char szFocus[24];
    snprintf(szFocus, sizeof szFocus, "%u/%u", (unsigned)(s32Pos + 1), (unsigned)s_stRootMenu.s32ItemNum);
    Model.CtrlStatusBarTitle(STATUSBAR_CMD_UPDATE_TITLE, s_stRootMenu.ppstItems[s32Pos]->pcLabel, szFocus);
}

void SysSetingHome::MainPageBtnsShortClickHandle(lv_obj_t *pstTarget) {
    LOG_INFO("in , ulIgnoreConfirmKeyTime = %d\n", (int)m_u32IgnoreConfirmTick);
    if (lv_tick_elaps(m_u32IgnoreConfirmTick) < kClickIgnoreMs) {
        LOG_WARN("triger too short,discard\n");
        return;
    }
    int32_t s32Pos = m_stView.TileOf(pstTarget);
    const char *pcPage = s32Pos >= 0 ? TilePage((uint32_t)s32Pos) : nullptr;
    if (pcPage == nullptr) {
        LOG_WARN("no support this option %d\n", (int)s32Pos);
        return;
    }
    s_stRootMenu.iCurrentPos = s32Pos;
    if (Manager != nullptr) {
        Manager->Push(pcPage);
    }
}

void SysSetingHome::TileEvent(lv_event_t *e) {
    SysSetingHome *self = static_cast<SysSetingHome *>(lv_event_get_user_data(e));
    lv_obj_t *pstTarget = lv_event_get_target(e);
    switch (lv_event_get_code(e)) {
    case LV_EVENT_SHORT_CLICKED:
        self->MainPageBtnsShortClickHandle(pstTarget);
        break;
    case LV_EVENT_FOCUSED: {
        int32_t s32Pos = self->m_stView.TileOf(pstTarget);
        if (s32Pos >= 0 && !self->m_bMuteFocus) {
            s_stRootMenu.iCurrentPos = s32Pos;
            self->RefershMainMenuItemInfo(s32Pos);
        }
        break;
    }
    default:
        break;
    }
}

} // namespace Page
