#include "SysSetingParking.h"

#include "SetFlowScreens.h"
#include "log.h"

namespace Page {

namespace {

using PM = SysSetingParkingModel;

SetMenuItem s_astModeItems[PM::kModeNum] = {
    {104, 0, "LANG_RES_ID_PARKING_MODE_TIMELAPSE", nullptr, 0},
    {105, 0, "LANG_RES_ID_PARKING_MODE_AOV_TIMELAPSE", nullptr, 0},
    {106, 0, "LANG_RES_ID_PARKING_MODE_HIBERNATE", nullptr, 0},
    {107, 0, "LANG_RES_ID_PARKING_MODE_NORMAL", nullptr, 0},
};
SetMenuItem *s_apstMode[] = {&s_astModeItems[0], &s_astModeItems[1], &s_astModeItems[2], &s_astModeItems[3]};
SetMenu s_stModeMenu = {32,         "LANG_RES_ID_ACC_OFF_ENTER",    nullptr, 4,
                        s_apstMode, PM::MenuGetDefault_ParkingMode, 0};

/* Position 0 (15 minutes) has no label and is not shown; the labels follow the value scheme. */
SetMenuItem s_astDurItems[7] = {
    {109, 0, nullptr, nullptr, 0},
    {110, 0, "LANG_RES_ID_PARKING_DURATION_12H", nullptr, 0},
    {111, 0, "LANG_RES_ID_PARKING_DURATION_1D", nullptr, 0},
    {112, 0, "LANG_RES_ID_PARKING_DURATION_2D", nullptr, 0},
    {113, 0, "LANG_RES_ID_PARKING_DURATION_3D", nullptr, 0},
    {114, 0, "LANG_RES_ID_PARKING_DURATION_5D", nullptr, 0},
    {115, 0, "LANG_RES_ID_PARKING_DURATION_8D", nullptr, 0},
};
SetMenuItem *s_apstDur[] = {&s_astDurItems[0], &s_astDurItems[1], &s_astDurItems[2], &s_astDurItems[3],
                            &s_astDurItems[4], &s_astDurItems[5], &s_astDurItems[6]};
SetMenu s_stDurMenu = {33,        "LANG_RES_ID_PARKING_DURATION", nullptr, 7,
                       s_apstDur, PM::MenuGetDefault_Duration,    0};
/* The labels of the older three-level scheme, at positions 1 to 3. */
const char *const kOldDurLabels[3] = {"LANG_RES_ID_PARKING_DURATION_12H", "LANG_RES_ID_PARKING_DURATION_24H",
                                      "LANG_RES_ID_PARKING_DURATION_48H"};
const int32_t kDurMinutes[7] = {15, 720, 1440, 2880, 4320, 7200, 11520};

SetMenuItem s_astBatItems[6] = {
    {121, 0, "LANG_RES_ID_BATTERY_PROTECT_HIGH", nullptr, 0},
    {122, 0, "LANG_RES_ID_BATTERY_PROTECT_MID_HIGH", nullptr, 0},
    {123, 0, "LANG_RES_ID_BATTERY_PROTECT_MID", nullptr, 0},
    {124, 0, "LANG_RES_ID_BATTERY_PROTECT_LOW", nullptr, 0},
    {125, 0, "LANG_RES_ID_BATTERY_PROTECT_LOWER", nullptr, 0},
    {126, 0, "LANG_RES_ID_BATTERY_PROTECT_LOWEST", nullptr, 0},
};
SetMenuItem *s_apstBat[] = {&s_astBatItems[0], &s_astBatItems[1], &s_astBatItems[2],
                            &s_astBatItems[3], &s_astBatItems[4], &s_astBatItems[5]};
SetMenu s_stBatMenu = {34,        "LANG_RES_ID_BATTERY_PROTECT", nullptr, 6,
                       s_apstBat, PM::MenuGetDefault_BatProtect, 0};
/* Without five levels the list offers high, middle and low, stored as 2, 1 and 0. */
const int32_t kThreeLevelValue[6] = {2, -1, 1, 0, -1, -1};

SetMenuItem s_stAccOff = {SysSetingParking::ID_ACC_OFF_ENTER, 0, "LANG_RES_ID_ACC_OFF_ENTER", &s_stModeMenu,
                          0};
SetMenuItem s_stDuration = {SysSetingParking::ID_DURATION, 0, "LANG_RES_ID_PARKING_DURATION", &s_stDurMenu,
                            0};
SetMenuItem s_stBatProtect = {SysSetingParking::ID_BAT_PROTECT, 0, "LANG_RES_ID_BATTERY_PROTECT",
                              &s_stBatMenu, 0};
SetMenuItem *s_apstRoot[] = {&s_stAccOff, &s_stDuration, &s_stBatProtect};
SetMenu s_stRootMenu = {3, "LANG_RES_ID_PARKING", nullptr, 3, s_apstRoot, nullptr, 0};

SetMenuItem s_stAutoShutdown = {SysSetingParking::ID_AUTO_SHUTDOWN, 0, "LANG_RES_ID_STATIC_AUTO_SHUTDOWN",
                                nullptr, 0};
SetMenuItem *s_apstNoAcc[] = {&s_stAutoShutdown};
SetMenu s_stNoAccMenu = {3, "LANG_RES_ID_PARKING", nullptr, 1, s_apstNoAcc, nullptr, 0};

const int32_t s_as32Items[] = {GS_ACC_STATUS,          GS_PARKING_STATUS,      GS_PARKNORMDUR,
                               GS_PARKTIMELAPSEDUR,    GS_PARKAOVTIMELAPSEDUR, GS_PARKING_VOLTLVL,
                               GS_AUTOSHUTDOWN_SWITCH, GS_SHOWLOWPOWER5LEVEL,  GS_LOWPOWERVOLTAGEEN,
                               GS_PARKING_MODE_OPTION};

} // namespace

SetMenu *SysSetingParking::RootMenu() {
    SetMenu_LinkTree(&s_stRootMenu);
    return &s_stRootMenu;
}

SetMenu *SysSetingParking::NoAccRootMenu() {
    return &s_stNoAccMenu;
}

SysSetingParking::SysSetingParking()
    : SysSetingPage(m_stModel, m_stView, "SysSetingParkingModel", RootMenu(), s_as32Items,
                    (int32_t)(sizeof s_as32Items / sizeof s_as32Items[0])) {}

bool SysSetingParking::OpenScreen(SetMenu *pstMenu) {
    if (pstMenu == &s_stRootMenu || pstMenu == &s_stNoAccMenu || pstMenu == &s_stModeMenu) {
        m_s32ModeNum = PM::ParkingModeInit(m_stModel.m_stInfo.parking_mode_option, m_abOffered);
    }
    if (pstMenu == &s_stRootMenu || pstMenu == &s_stNoAccMenu) {
        /* The root follows the ACC line each time the page shows it. */
        const bool bAcc = m_stModel.GetAccInsertedStatus();
        LOG_INFO(bAcc ? "Acc Insert!\n" : "Acc Pull Out!\n");
        m_pstRootMenu = bAcc ? &s_stRootMenu : &s_stNoAccMenu;
        Model.m_pstTopMenu = m_pstRootMenu;
    }
    return false;
}

void SysSetingParking::RowInfo(int32_t s32Pos, PageCommonItem *pstRow) {
    SysSetingPage::RowInfo(s32Pos, pstRow);
    SetRow_FitWidths(pstRow, SetRow_ValueId(Model, s32Pos));
    const SetMenu *pstMenu = Model.m_pstTopMenu;
    const int32_t s32Id = Model.GetItemId(s32Pos);
    if (pstMenu == &s_stRootMenu && s32Id == ID_ACC_OFF_ENTER && m_s32ModeNum == 0) {
        pstRow->bEnable = 0; /* the recorder offers no parking mode */
    } else if (pstMenu == &s_stModeMenu) {
        pstRow->bEnable = m_abOffered[s32Pos] ? 1 : 0;
    } else if (pstMenu == &s_stDurMenu) {
        const bool bOld = PM::IsOldDurationScheme(m_stModel.CurDuration());
        pstRow->bEnable = s32Pos > 0 && (!bOld || s32Pos <= 3);
        if (bOld && s32Pos >= 1 && s32Pos <= 3) {
            pstRow->pcLabel = kOldDurLabels[s32Pos - 1];
        }
    } else if (pstMenu == &s_stBatMenu) {
        pstRow->bEnable = m_stModel.IsSupportLowPower5Level() || kThreeLevelValue[s32Pos] >= 0;
    } else if (s32Id == ID_AUTO_SHUTDOWN) {
        pstRow->bHasDesc = 1;
        pstRow->pcDesc = "LANG_RES_ID_STATIC_AUTO_SHUTDOWN_TIP";
    }
}

int SysSetingParking::OptionChosen(int32_t s32ItemId) {
    if (s32ItemId >= 104 && s32ItemId <= 107) {
        const int32_t i = s32ItemId - 104;
        if (!m_abOffered[i]) {
            return -1;
        }
        return Model.GeneralSetingComm(GS_PARKING_STATUS, PM::kModes[i].s32Value);
    }
    if (s32ItemId >= 110 && s32ItemId <= 115) {
        const int32_t s32Pos = s32ItemId - 109;
        const bool bOld = PM::IsOldDurationScheme(m_stModel.CurDuration());
        if (bOld && s32Pos > 3) {
            return -1;
        }
        const int32_t eElem = PM::DurationElem(m_stModel.m_stInfo.parking_status);
        const int32_t s32Value = bOld ? s32Pos - 1 : kDurMinutes[s32Pos];
        LOG_INFO("Set type : %d    val : %d\n", (int)eElem, (int)s32Value);
        return Model.GeneralSetingComm(eElem, s32Value);
    }
    if (s32ItemId >= 121 && s32ItemId <= 126) {
        const int32_t s32Pos = s32ItemId - 121;
        const int32_t s32Value = m_stModel.IsSupportLowPower5Level() ? s32Pos : kThreeLevelValue[s32Pos];
        return s32Value < 0 ? -1 : Model.GeneralSetingComm(GS_PARKING_VOLTLVL, s32Value);
    }
    return -1;
}

int32_t SysSetingParking::SwitchState(int32_t s32ItemId) {
    if (s32ItemId != ID_AUTO_SHUTDOWN) {
        return -1;
    }
    const int32_t s32Value = m_stModel.m_stInfo.autoshutdown_switch;
    LOG_INFO("u32SelectItemVal = %d bCloseStaticAutoShutdown = %d\n", (int)s32Value, s32Value == 1 ? 1 : 0);
    return s32Value == 1 ? 1 : 0;
}

int SysSetingParking::SwitchChanged(int32_t s32ItemId, bool bOn) {
    if (s32ItemId != ID_AUTO_SHUTDOWN) {
        return SysSetingPage::SwitchChanged(s32ItemId, bOn);
    }
    return Model.GeneralSetingComm(GS_AUTOSHUTDOWN_SWITCH, bOn ? 1 : 0);
}

} // namespace Page
