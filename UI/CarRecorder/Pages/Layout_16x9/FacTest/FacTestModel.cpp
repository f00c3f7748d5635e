#include "FacTestModel.h"

namespace Page {

int FacTestModel::Init() {
    return Account.Create("FacTestModel", {DP_ACCOUNT_SYSTEM_STATUS, DP_ACCOUNT_STATUS_BAR});
}

void FacTestModel::Deinit() {
    Account.Destroy();
}

int FacTestModel::CtrlStatusBarTitleIsNull() {
    return Account.CtrlStatusBarTitle("   ");
}

int FacTestModel::QuerySystemStatus(SystemStatusInfo *pstInfo) {
    return Account.QuerySystemStatus(pstInfo);
}

int FacTestModel::SetSystemStatus(const SystemStatusInfo *pstInfo) {
    return Account.SetSystemStatus(pstInfo);
}

int FacTestModel::SetPageBusy(bool bBusy) {
    SystemStatusInfo stInfo;
    if (QuerySystemStatus(&stInfo) != 0) {
        return -1;
    }
    stInfo.bPageBusy = bBusy ? 1 : 0;
    return SetSystemStatus(&stInfo);
}

} // namespace Page
