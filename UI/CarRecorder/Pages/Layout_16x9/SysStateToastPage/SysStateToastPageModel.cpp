#include "SysStateToastPageModel.h"

#include <string.h>

#include "StatusBar.h"
#include "SysStateToastPage.h"
#include "log.h"

namespace Page {

namespace {

int LogResult(int s32Ret) {
    if (s32Ret != Account::RES_OK) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
    }
    return s32Ret;
}

} // namespace

int SysStateToastPageModel::Init(SysStateToastPage *pstPage) {
    m_pstPage = pstPage;
    m_pstAccount = new Account("SysStateToastPageModel", DataProc_GetCenter(), 0, this);
    for (const char *pcName : {DP_ACCOUNT_GENERAL_SETING, DP_ACCOUNT_GENERAL_CTRL, DP_ACCOUNT_SYSTEM_STATUS,
                               DP_ACCOUNT_STATUS_BAR, DP_ACCOUNT_INFO_TIPS}) {
        if (m_pstAccount->Subscribe(pcName) == nullptr) {
            LOG_WARN("subscribe %s failed\n", pcName);
        }
    }
    m_pstAccount->SetEventCallback(onEvent);
    return QuerySystemStatus(&m_stStatus);
}

void SysStateToastPageModel::Deinit() {
    delete m_pstAccount;
    m_pstAccount = nullptr;
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

int SysStateToastPageModel::QuerySystemStatus(SystemStatusInfo *pstInfo) {
    if (m_pstAccount == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "m_pstAccount");
        return -1;
    }
    return LogResult(m_pstAccount->Pull(DP_ACCOUNT_SYSTEM_STATUS, pstInfo, sizeof *pstInfo));
}

int SysStateToastPageModel::QueryGeneralSeting(GeneralSetingInfo *pstInfo, const int32_t *peItems,
                                               int32_t s32Num) {
    if (m_pstAccount == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "m_pstAccount");
        return -1;
    }
    if (peItems != nullptr && s32Num > 0) {
        GeneralSetingReq stReq;
        memset(&stReq, 0, sizeof stReq);
        stReq.peElemList = peItems;
        stReq.iElemNum = s32Num;
        LogResult(m_pstAccount->Notify(DP_ACCOUNT_GENERAL_SETING, &stReq, sizeof stReq));
    }
    return LogResult(m_pstAccount->Pull(DP_ACCOUNT_GENERAL_SETING, pstInfo, sizeof *pstInfo));
}

int SysStateToastPageModel::CtrlStatusBarTitleIsNull() {
    if (m_pstAccount == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "m_pstAccount");
        return -1;
    }
    StatusBarMsg stMsg;
    memset(&stMsg, 0, sizeof stMsg);
    stMsg.eCmd = STATUSBAR_CMD_UPDATE_TITLE;
    stMsg.pcTitle = " ";
    return LogResult(m_pstAccount->Notify(DP_ACCOUNT_STATUS_BAR, &stMsg, sizeof stMsg));
}

} // namespace Page
