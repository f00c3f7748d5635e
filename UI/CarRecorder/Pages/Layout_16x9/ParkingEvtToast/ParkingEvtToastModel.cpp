#include "ParkingEvtToastModel.h"

namespace Page {

int ParkingEvtToastModel::Init() {
    return Account.Create("ParkingEvtToastModel",
                          {DP_ACCOUNT_GENERAL_SETING, DP_ACCOUNT_GENERAL_CTRL, DP_ACCOUNT_SYSTEM_STATUS,
                           DP_ACCOUNT_STATUS_BAR, DP_ACCOUNT_INFO_TIPS});
}

void ParkingEvtToastModel::Deinit() {
    Account.Destroy();
}

int ParkingEvtToastModel::ResetParkingCollisionCnt() {
    return Account.CtrlGeneralSetingItem(GS_PARKING_COLLISIONCNT, 0);
}

int ParkingEvtToastModel::ResetParkingTimes() {
    return Account.CtrlGeneralSetingItem(GS_PARKING_TIMES, 0);
}

int ParkingEvtToastModel::QueryGeneralSeting(GeneralSetingInfo *pstInfo) {
    return Account.QueryGeneralSeting(pstInfo);
}

int ParkingEvtToastModel::QuerySystemStatus(SystemStatusInfo *pstInfo) {
    return Account.QuerySystemStatus(pstInfo);
}

int ParkingEvtToastModel::CtrlEnterPlayBackMode() {
    return Account.CtrlGeneralCtrlItem(false, CTRL_ELEM_PLAYBACKMODE, "enter");
}

int ParkingEvtToastModel::CtrlExitPlayBackMode() {
    return Account.CtrlGeneralCtrlItem(true, CTRL_ELEM_PLAYBACKMODE, "exit");
}

int ParkingEvtToastModel::CtrlStatusBarTitleIsNull() {
    return Account.CtrlStatusBarTitle("   ");
}

int ParkingEvtToastModel::ShowTips(const char *pcLangId) {
    return Account.ShowTips(pcLangId);
}

} // namespace Page
