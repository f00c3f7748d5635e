#include "PageAccount.h"

#include <string.h>

#include "log.h"

namespace {

int Result(int s32Ret) {
    if (s32Ret != Account::RES_OK) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
        return -1;
    }
    return 0;
}

} // namespace

int PageAccount::Create(const char *pcName, std::initializer_list<const char *> subscriptions,
                        Account::EventCallback_t fnEvent, void *pUserData) {
    if (m_pstAccount != nullptr) {
        LOG_ERROR("account %s exists\n", pcName);
        return -1;
    }
    m_pstAccount = new Account(pcName, DataProc_GetCenter(), 0, pUserData);
    for (const char *pcPub : subscriptions) {
        if (m_pstAccount->Subscribe(pcPub) == nullptr) {
            LOG_WARN("subscribe %s failed\n", pcPub);
        }
    }
    if (fnEvent != nullptr) {
        m_pstAccount->SetEventCallback(fnEvent);
    }
    return 0;
}

void PageAccount::Destroy() {
    delete m_pstAccount;
    m_pstAccount = nullptr;
}

int PageAccount::CheckAccount() const {
    if (m_pstAccount == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "m_pstAccount");
        return -1;
    }
    return 0;
}

int PageAccount::Pull(const char *pcId, void *pData, uint32_t u32Size) {
    if (CheckAccount() != 0) {
        return -1;
    }
    return Result(m_pstAccount->Pull(pcId, pData, u32Size));
}

int PageAccount::Notify(const char *pcId, const void *pData, uint32_t u32Size) {
    if (CheckAccount() != 0) {
        return -1;
    }
    return Result(m_pstAccount->Notify(pcId, pData, u32Size));
}

int PageAccount::QuerySystemStatus(SystemStatusInfo *pstInfo) {
    return Pull(DP_ACCOUNT_SYSTEM_STATUS, pstInfo, sizeof *pstInfo);
}

int PageAccount::SetSystemStatus(const SystemStatusInfo *pstInfo) {
    return Notify(DP_ACCOUNT_SYSTEM_STATUS, pstInfo, sizeof *pstInfo);
}

int PageAccount::QueryGeneralSeting(GeneralSetingInfo *pstInfo) {
    return Pull(DP_ACCOUNT_GENERAL_SETING, pstInfo, sizeof *pstInfo);
}

int PageAccount::LoadGeneralSeting(const int32_t *ps32Items, int32_t s32Num) {
    GeneralSetingReq stReq;
    memset(&stReq, 0, sizeof stReq);
    stReq.peElemList = ps32Items;
    stReq.iElemNum = s32Num;
    return Notify(DP_ACCOUNT_GENERAL_SETING, &stReq, sizeof stReq);
}

int PageAccount::CtrlGeneralSetingItem(int32_t eElem, int32_t s32Value) {
    GeneralSetingReq stReq;
    memset(&stReq, 0, sizeof stReq);
    stReq.bSave = 1;
    stReq.eElem = eElem;
    stReq.iValue = s32Value;
    return Notify(DP_ACCOUNT_GENERAL_SETING, &stReq, sizeof stReq);
}

int PageAccount::CtrlGeneralCtrlItem(bool bNoBlock, int32_t eElem, const char *pcValue) {
    if (CheckAccount() != 0) {
        return -1;
    }
    GeneralCtrlReq stReq;
    memset(&stReq, 0, sizeof stReq);
    stReq.bNoBlock = bNoBlock ? 1 : 0;
    stReq.eElem = eElem;
    stReq.pcValue = pcValue;
    if (m_pstAccount->Notify(DP_ACCOUNT_GENERAL_CTRL, &stReq, sizeof stReq) != Account::RES_OK) {
        LOG_ERROR("GeneralCtrl error\n");
        return -1;
    }
    return 0;
}

int PageAccount::CtrlStatusBarItem(const StatusBarMsg *pstMsg) {
    return Notify(DP_ACCOUNT_STATUS_BAR, pstMsg, sizeof *pstMsg);
}

int PageAccount::CtrlStatusBarTitle(const char *pcTitle) {
    StatusBarMsg stMsg;
    memset(&stMsg, 0, sizeof stMsg);
    stMsg.eCmd = STATUSBAR_CMD_UPDATE_TITLE;
    stMsg.pcTitle = pcTitle;
    return CtrlStatusBarItem(&stMsg);
}

int PageAccount::ShowTips(const char *pcLangId) {
    TipsInfo stTips;
    memset(&stTips, 0, sizeof stTips);
    stTips.eMsgType = TIPS_TYPE_NORMAL;
    stTips.pcText = pcLangId;
    return Notify(DP_ACCOUNT_INFO_TIPS, &stTips, sizeof stTips);
}
