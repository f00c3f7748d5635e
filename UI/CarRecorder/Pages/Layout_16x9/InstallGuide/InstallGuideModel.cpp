#include "InstallGuideModel.h"

#include <string.h>

namespace Page {

int InstallGuideModel::Init() {
    return Account.Create("InstallGuideModel",
                          {DP_ACCOUNT_GENERAL_SETING, DP_ACCOUNT_SYSTEM_STATUS, DP_ACCOUNT_STATUS_BAR});
}

void InstallGuideModel::Deinit() {
    Account.Destroy();
}

int InstallGuideModel::CtrlGeneralSetingItem(int32_t eElem, int32_t s32Value) {
    return Account.CtrlGeneralSetingItem(eElem, s32Value);
}

int InstallGuideModel::QueryGeneralSeting(GeneralSetingInfo *pstInfo) {
    return Account.QueryGeneralSeting(pstInfo);
}

int InstallGuideModel::QuerySystemStatus(SystemStatusInfo *pstInfo) {
    return Account.QuerySystemStatus(pstInfo);
}

int InstallGuideModel::SetSystemStatus(const SystemStatusInfo *pstInfo) {
    return Account.SetSystemStatus(pstInfo);
}

int InstallGuideModel::CtrlStatusBarItem(int32_t eCmd, const char *pcTitle, bool bShadow) {
    StatusBarMsg stMsg;
    memset(&stMsg, 0, sizeof stMsg);
    stMsg.eCmd = eCmd;
    stMsg.pcTitle = pcTitle;
    stMsg.bShadow = bShadow;
    return Account.CtrlStatusBarItem(&stMsg);
}

} // namespace Page
