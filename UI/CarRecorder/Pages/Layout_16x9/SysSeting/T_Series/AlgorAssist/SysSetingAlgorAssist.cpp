#include "SysSetingAlgorAssist.h"

#include "SetFlowScreens.h"
#include "log.h"

namespace Page {

namespace {

using AM = SysSetingAlgorAssistModel;
using AA = SysSetingAlgorAssist;

/* The seven collision levels, shared by the driving and the parked list. */
SetMenuItem s_astLevel[7] = {
    {131, 0, "LANG_RES_ID_SENSITIVITY_HIGH", nullptr, 0},
    {132, 0, "LANG_RES_ID_SENSITIVITY_MIDHIGH", nullptr, 0},
    {133, 0, "LANG_RES_ID_SENSITIVITY_MID", nullptr, 0},
    {134, 0, "LANG_RES_ID_SENSITIVITY_MIDLOW", nullptr, 0},
    {135, 0, "LANG_RES_ID_SENSITIVITY_LOW", nullptr, 0},
    {136, 0, "LANG_RES_ID_OFF", nullptr, 0},
    {AA::ID_COLL_CUSTOM, 0, "LANG_RES_ID_CUSTOM", nullptr, 0},
};
SetMenuItem *s_apstLevel[] = {&s_astLevel[0], &s_astLevel[1], &s_astLevel[2], &s_astLevel[3],
                              &s_astLevel[4], &s_astLevel[5], &s_astLevel[6]};
SetMenu s_stCollNormal = {
    35, "LANG_RES_ID_COLLSION_SENSITIVITY_NORMAL", nullptr, 7, s_apstLevel, AM::MenuGetDefault_Collision, 0};
SetMenu s_stCollParking = {
    36, "LANG_RES_ID_COLLSION_SENSITIVITY_PARKING", nullptr, 7, s_apstLevel, AM::MenuGetDefault_Collision, 0};
const int32_t kCollValues[6] = {100, 75, 50, 25, 1, 0};

SetMenuItem s_stCollNormalRow = {AA::ID_COLL_NORMAL, 0, "LANG_RES_ID_COLLSION_SENSITIVITY_NORMAL",
                                 &s_stCollNormal, 0};
SetMenuItem s_stCollParkingRow = {AA::ID_COLL_PARKING, 0, "LANG_RES_ID_COLLSION_SENSITIVITY_PARKING",
                                  &s_stCollParking, 0};
SetMenuItem *s_apstColl[] = {&s_stCollNormalRow, &s_stCollParkingRow};
SetMenu s_stCollMenu = {37, "LANG_RES_ID_COLLISION_SENSITIVITY", nullptr, 2, s_apstColl, nullptr, 0};

/* One ADAS alert: its row, its four options (high, middle, low, off) and its settings item. */
struct AdasAlert {
    SetMenuItem astOpt[4];
    SetMenuItem *apstOpt[4];
    SetMenu stMenu;
    SetMenuItem stRow;
    int32_t eElem;
};
#define ADAS_ALERT(id, menu, label, elem)                                                                    \
    {                                                                                                        \
        {{id + 1, 0, "LANG_RES_ID_SENSITIVITY_HIGH", nullptr, 0},                                            \
         {id + 2, 0, "LANG_RES_ID_SENSITIVITY_MID", nullptr, 0},                                             \
         {id + 3, 0, "LANG_RES_ID_SENSITIVITY_LOW", nullptr, 0},                                             \
         {id + 4, 0, "LANG_RES_ID_OFF", nullptr, 0}},                                                        \
            {}, {menu, label, nullptr, 4, nullptr, AM::MenuGetDefault_Adas, 0}, {id, 0, label, nullptr, 0},  \
            elem                                                                                             \
    }
AdasAlert s_astAdas[4] = {
    ADAS_ALERT(AA::ID_ADAS_FRONTCAR, 53, "LANG_RES_ID_FRONTCAR_START", GS_FRONTCARSTARTDETECT),
    ADAS_ALERT(AA::ID_ADAS_TOO_CLOSE, 54, "LANG_RES_ID_TOO_CLOSED", GS_CARWARNINGDETECT),
    ADAS_ALERT(AA::ID_ADAS_CROSS_LANE, 55, "LANG_RES_ID_CROSS_LANE", GS_LANEDEPARTUREDETECT),
    ADAS_ALERT(AA::ID_ADAS_PEDESTRIAN, 56, "LANG_RES_ID_NOTICT_PEDESTRIAN", GS_HUMANWARNINGDETECT),
};
#undef ADAS_ALERT

SetMenuItem s_stAdasMaster = {AA::ID_ADAS_MASTER, 0, "LANG_RES_ID_ADAS_MASTER_SWITCH", nullptr, 0};
SetMenuItem *s_apstAdas[5] = {&s_stAdasMaster};
SetMenu s_stAdasMenu = {38, "LANG_RES_ID_ADAS", nullptr, 5, s_apstAdas, nullptr, 0};

SetMenuItem s_stCollision = {AA::ID_COLLISION, 0, "LANG_RES_ID_COLLISION_SENSITIVITY", &s_stCollMenu, 0};
SetMenuItem s_stAdas = {AA::ID_ADAS, 0, "LANG_RES_ID_ADAS", &s_stAdasMenu, 0};
SetMenuItem s_stFatigue = {AA::ID_FATIGUE, 0, "LANG_RES_ID_FATIGUE_DRIVE", nullptr, 0};
SetMenuItem *s_apstRoot[] = {&s_stCollision, &s_stAdas, &s_stFatigue};
SetMenu s_stRootMenu = {4, "LANG_RES_ID_ALGOR_ASSIST", nullptr, 3, s_apstRoot, nullptr, 0};

const int32_t s_as32Items[] = {GS_NORMAL_GSENSOR_LEVEL,          GS_PARKING_GSENSOR_LEVEL,
                               GS_FATIGUE_DRIVING_REMIND_SWITCH, GS_AIMASTERSWITCH,
                               GS_FRONTCARSTARTDETECT,           GS_CARWARNINGDETECT,
                               GS_LANEDEPARTUREDETECT,           GS_HUMANWARNINGDETECT};

} // namespace

SetMenu *SysSetingAlgorAssist::RootMenu() {
    static bool s_bBuilt = false;
    if (!s_bBuilt) {
        for (int i = 0; i < 4; ++i) {
            AdasAlert &a = s_astAdas[i];
            for (int k = 0; k < 4; ++k) {
                a.apstOpt[k] = &a.astOpt[k];
            }
            a.stMenu.ppstItems = a.apstOpt;
            a.stRow.pstSubMenu = &a.stMenu;
            s_apstAdas[i + 1] = &a.stRow;
        }
        SetMenu_LinkTree(&s_stRootMenu);
        s_bBuilt = true;
    }
    return &s_stRootMenu;
}

int32_t SysSetingAlgorAssist::AdasElemOf(const SetMenu *pstMenu) {
    for (const AdasAlert &a : s_astAdas) {
        if (&a.stMenu == pstMenu) {
            return a.eElem;
        }
    }
    return -1;
}

int32_t SysSetingAlgorAssist::CollisionElemOf(const SetMenu *pstMenu) {
    if (pstMenu == &s_stCollNormal) {
        return GS_NORMAL_GSENSOR_LEVEL;
    }
    return pstMenu == &s_stCollParking ? GS_PARKING_GSENSOR_LEVEL : -1;
}

SysSetingAlgorAssist::SysSetingAlgorAssist()
    : SysSetingPage(m_stModel, m_stView, "SysSetingAlgorAssistModel", RootMenu(), s_as32Items,
                    (int32_t)(sizeof s_as32Items / sizeof s_as32Items[0])) {}

void SysSetingAlgorAssist::RowInfo(int32_t s32Pos, PageCommonItem *pstRow) {
    SysSetingPage::RowInfo(s32Pos, pstRow);
    SetRow_FitWidths(pstRow, SetRow_ValueId(Model, s32Pos));
}

int SysSetingAlgorAssist::OptionChosen(int32_t s32ItemId) {
    const SetMenu *pstMenu = Model.m_pstTopMenu;
    const int32_t eColl = CollisionElemOf(pstMenu);
    if (eColl >= 0) {
        if (s32ItemId == ID_COLL_CUSTOM) {
            /* The custom level is set in the phone app: nothing to send. */
            Model.ShowTips("LANG_RES_ID_CUSTOM_SENSITIVITY_TOAST");
            return -1;
        }
        const int32_t s32Pos = s32ItemId - 131;
        return s32Pos < 0 || s32Pos > 5 ? -1 : Model.GeneralSetingComm(eColl, kCollValues[s32Pos]);
    }
    const int32_t eAdas = AdasElemOf(pstMenu);
    if (eAdas >= 0) {
        const int32_t s32Pos = s32ItemId - pstMenu->ppstItems[0]->s32ItemId;
        return s32Pos < 0 || s32Pos > 3 ? -1 : Model.GeneralSetingComm(eAdas, 3 - s32Pos);
    }
    return -1;
}

int32_t SysSetingAlgorAssist::SwitchState(int32_t s32ItemId) {
    const GeneralSetingInfo &s = Model.m_stInfo;
    switch (s32ItemId) {
    case ID_ADAS_MASTER:
        return s.aiMasterSwitch != 0 ? 1 : 0;
    case ID_FATIGUE:
        return s.fatigue_driving_remind_switch != 0 ? 1 : 0;
    default:
        return -1;
    }
}

int SysSetingAlgorAssist::SwitchChanged(int32_t s32ItemId, bool bOn) {
    switch (s32ItemId) {
    case ID_ADAS_MASTER:
        if (Model.GeneralSetingComm(GS_FATIGUE_DRIVING_REMIND_SWITCH, bOn ? 1 : 0) != 0 ||
            Model.GeneralSetingComm(GS_AIMASTERSWITCH, bOn ? 1 : 0) != 0) {
            return -1;
        }
        /* Switched on, the car-ahead alert starts at the middle sensitivity. */
        return bOn ? Model.GeneralSetingComm(GS_FRONTCARSTARTDETECT, 2) : 0;
    case ID_FATIGUE:
        return Model.GeneralSetingComm(GS_FATIGUE_DRIVING_REMIND_SWITCH, bOn ? 1 : 0);
    default:
        return SysSetingPage::SwitchChanged(s32ItemId, bOn);
    }
}

} // namespace Page
