#include "SysStateToastPageModel.h"

#include <string.h>

#include "StatusBar.h"
#include "SysStateToastPage.h"
#include "log.h"

namespace Page {

int SysStateToastPageModel::Init(SysStateToastPage *pstPage) {
    m_pstPage = pstPage;
    Create("SysStateToastPageModel",
           {DP_ACCOUNT_GENERAL_SETING, DP_ACCOUNT_GENERAL_CTRL, DP_ACCOUNT_SYSTEM_STATUS,
            DP_ACCOUNT_STATUS_BAR, DP_ACCOUNT_INFO_TIPS},
           onEvent, this);
    return QuerySystemStatus(&m_stStatus);
}

void SysStateToastPageModel::Deinit() {
    Destroy();
    m_pstPage = nullptr;
}

int SysStateToastPageModel::onEvent(Account *account, Account::EventParam *param) {
    SysStateToastPageModel *self = static_cast<SysStateToastPageModel *>(account->UserData);
    if (param->event != Account::EVENT_PUBLISH) {
        return Account::RES_UNSUPPORTED;
    }
    if (strcmp(param->tran->ID, DP_ACCOUNT_SYSTEM_STATUS) != 0) {
        return Account::RES_OK;
    }
    if (param->size != sizeof(SystemStatusNotice)) {
        return Account::RES_SIZE_MISMATCH;
    }
    SystemStatusNotice stNotice;
    memcpy(&stNotice, param->data_p, sizeof stNotice);
    self->m_stStatus = stNotice.stInfo;
    if (self->m_pstPage != nullptr) {
        self->m_pstPage->OnStatusNotice(stNotice);
    }
    return Account::RES_OK;
}

int SysStateToastPageModel::QueryGeneralSeting(GeneralSetingInfo *pstInfo, const int32_t *peItems,
                                               int32_t s32Num) {
    LoadGeneralSeting(peItems, s32Num);
    return QueryGeneralSeting(pstInfo);
}

int SysStateToastPageModel::CtrlStatusBarTitleIsNull() {
    return CtrlStatusBarTitle(" ");
}

} // namespace Page
