#include "SysSetingVideoSet.h"

#include "SetFlowScreens.h"
#include "log.h"

namespace Page {

namespace {

using Model_t = SysSetingVideoSetModel;

enum : int32_t {
    ID_RELA_TIME = 30,
    ID_RESO = 35,
    ID_OSD = 58,
    ID_OSD_TIME = 59,
    ID_OSD_SPEED = 60,
    ID_ANTI_FLICKER = 181,
};

SetMenuItem s_astRela[] = {
    {31, 0, "LANG_RES_ID_10S", nullptr, 0},
    {32, 0, "LANG_RES_ID_20S", nullptr, 0},
    {33, 0, "LANG_RES_ID_30S", nullptr, 0},
    {34, 0, "LANG_RES_ID_RELA_OFF", nullptr, 0},
};
SetMenuItem *s_apstRela[] = {&s_astRela[0], &s_astRela[1], &s_astRela[2], &s_astRela[3]};
SetMenu s_stRelaMenu = {21,         "LANG_RES_ID_RELA_VIDEO_TIME",          nullptr, 4,
                        s_apstRela, Model_t::MenuGetDefault_GeneralSetting, 0};

/* Filled from the recorder's answer each time the page loads: labels are texts, not ids. */
SetMenuItem s_astReso[Model_t::kResoMax];
SetMenuItem *s_apstReso[Model_t::kResoMax];
SetMenu s_stResoMenu = {22,         "LANG_RES_ID_RESO_AND_FRAME_RATE",      nullptr, 0,
                        s_apstReso, Model_t::MenuGetDefault_GeneralSetting, 0};

SetMenuItem s_astOsd[] = {
    {ID_OSD_TIME, 0, "LANG_RES_ID_OSD_SET_TIME", nullptr, 0},
    {ID_OSD_SPEED, 0, "LANG_RES_ID_OSD_SET_SPEED", nullptr, 0},
};
SetMenuItem *s_apstOsd[] = {&s_astOsd[0], &s_astOsd[1]};
SetMenu s_stOsdMenu = {23, "LANG_RES_ID_OSD_SET", nullptr, 2, s_apstOsd, nullptr, 0};

SetMenuItem s_astFlicker[] = {
    {182, 0, "LANG_RES_ID_50HZ", nullptr, 0},
    {183, 0, "LANG_RES_ID_60HZ", nullptr, 0},
    {184, 0, "LANG_RES_ID_OFF", nullptr, 0},
};
SetMenuItem *s_apstFlicker[] = {&s_astFlicker[0], &s_astFlicker[1], &s_astFlicker[2]};
SetMenu s_stFlickerMenu = {
    25, "LANG_RES_ID_ANTI_FLICKER", nullptr, 3, s_apstFlicker, Model_t::MenuGetDefault_GeneralSetting, 0};

SetMenuItem s_astRoot[] = {
    {ID_RELA_TIME, 0, "LANG_RES_ID_RELA_VIDEO_TIME", &s_stRelaMenu, 0},
    {ID_RESO, 0, "LANG_RES_ID_RESO_AND_FRAME_RATE", &s_stResoMenu, 0},
    {ID_OSD, 0, "LANG_RES_ID_OSD_SET", &s_stOsdMenu, 0},
    {ID_ANTI_FLICKER, 0, "LANG_RES_ID_ANTI_FLICKER", &s_stFlickerMenu, 0},
};
SetMenuItem *s_apstRoot[] = {&s_astRoot[0], &s_astRoot[1], &s_astRoot[2], &s_astRoot[3]};
SetMenu s_stRootMenu = {1, "LANG_RES_ID_VIDEO_SET", nullptr, 4, s_apstRoot, nullptr, 0};

const SetMenuOption s_astRelaVals[] = {{31, 5}, {32, 10}, {33, 15}, {34, 0}};
const SetMenuOption s_astFlickerVals[] = {{182, 1}, {183, 0}, {184, 2}};
const SetMenuBinding s_astBindings[] = {
    {&s_stRelaMenu, GS_EVENTVIDEO_LEVEL, s_astRelaVals, 4},
    {&s_stFlickerMenu, GS_ANTIFLICKER, s_astFlickerVals, 3},
};

const int32_t s_as32Items[] = {GS_EVENTVIDEO_LEVEL, GS_RES_CUR_LVL, GS_OSD_SWITCH,
                               GS_OSD_SPEEDSWITCH,  GS_ANTIFLICKER, GS_API_QUERY_ABILITY};

/* The resolution menu from the entries the recorder offers. */
void ResoMenuFill() {
    uint32_t u32Num = Model_t::ResoNum();
    for (uint32_t i = 0; i < u32Num; ++i) {
        s_astReso[i] = {Model_t::kResoFirstId + (int32_t)i, 0, Model_t::ResoAt(i)->pcLabel, nullptr, 0};
        s_apstReso[i] = &s_astReso[i];
    }
    s_stResoMenu.s32ItemNum = (int32_t)u32Num;
}

} // namespace

SetMenu *SysSetingVideoSet::RootMenu() {
    SetMenu_LinkTree(&s_stRootMenu);
    return &s_stRootMenu;
}

SysSetingVideoSet::SysSetingVideoSet()
    : SysSetingPage(m_stModel, m_stView, "SysSetingVideoSetModel", RootMenu(), s_as32Items,
                    (int32_t)(sizeof s_as32Items / sizeof s_as32Items[0])) {
    m_stModel.SetBindings(s_astBindings, sizeof s_astBindings / sizeof s_astBindings[0]);
}

bool SysSetingVideoSet::OpenScreen(SetMenu *pstMenu) {
    if (pstMenu == &s_stRootMenu) {
        /* The resolutions offered may differ from the last visit. */
        Model_t::ResoInit(Model.m_stInfo.api_query_ability);
        ResoMenuFill();
    } else if (pstMenu == &s_stResoMenu && s_stResoMenu.s32ItemNum == 0) {
        LOG_ERROR("ResoNum err!\n");
        Model.SwitchMenuToParent();
        return true; /* stays on the main list */
    }
    return false;
}

void SysSetingVideoSet::RowInfo(int32_t s32Pos, PageCommonItem *pstRow) {
    SysSetingPage::RowInfo(s32Pos, pstRow);
    SetRow_FitWidths(pstRow, SetRow_ValueId(Model, s32Pos));
    if (Model.m_pstTopMenu == &s_stResoMenu) {
        pstRow->s32LabelW = 75;
    }
}

int SysSetingVideoSet::OptionChosen(int32_t s32ItemId) {
    if (Model.m_pstTopMenu == &s_stResoMenu) {
        const Model_t::ResoEntry *pstEntry = Model_t::ResoAt((uint32_t)(s32ItemId - Model_t::kResoFirstId));
        return pstEntry != nullptr ? Model.GeneralSetingComm(GS_RES_CUR_LVL, pstEntry->s32Value) : -1;
    }
    return SysSetingPage::OptionChosen(s32ItemId);
}

int32_t SysSetingVideoSet::SwitchState(int32_t s32ItemId) {
    if (s32ItemId == ID_OSD_TIME) {
        return Model.m_stInfo.osd_switch != 0 ? 1 : 0;
    }
    if (s32ItemId == ID_OSD_SPEED) {
        return Model.m_stInfo.osd_speedswitch != 0 ? 1 : 0;
    }
    return -1;
}

int SysSetingVideoSet::SwitchChanged(int32_t s32ItemId, bool bOn) {
    if (s32ItemId == ID_OSD_TIME) {
        return Model.GeneralSetingComm(GS_OSD_SWITCH, bOn ? 1 : 0);
    }
    if (s32ItemId == ID_OSD_SPEED) {
        return Model.GeneralSetingComm(GS_OSD_SPEEDSWITCH, bOn ? 1 : 0);
    }
    return SysSetingPage::SwitchChanged(s32ItemId, bOn);
}

} // namespace Page
