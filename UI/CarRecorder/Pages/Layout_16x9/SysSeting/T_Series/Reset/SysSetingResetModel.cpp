#include "SysSetingResetModel.h"

#include <string.h>

#include "log.h"
#include "lv_label_ext_func.h"

namespace Page {

namespace {

/* The settings the page shows after a format (the card's sizes). */
const int32_t s_as32ResetItems[] = {GS_DEV_AVAILABLE_SIZE, GS_DEV_TOTAL_SIZE};

int LogResult(int s32Ret) {
    if (s32Ret != Account::RES_OK) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
    }
    return s32Ret == Account::RES_OK ? 0 : -1;
}

} // namespace

int SysSetingResetModel::CheckAccount() const {
    if (m_pstAccount == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "m_pstAccount");
        return -1;
    }
    return 0;
}

int SysSetingResetModel::Init() {
    m_pstAccount = new Account("SysSetingResetModel", DataProc_GetCenter(), 0, this);
    for (const char *pcName : {DP_ACCOUNT_GENERAL_SETING, DP_ACCOUNT_STATUS_BAR, DP_ACCOUNT_INFO_TIPS,
                               DP_ACCOUNT_SYSTEM_STATUS, DP_ACCOUNT_GENERAL_CTRL, DP_ACCOUNT_DEVS_INFO}) {
        if (m_pstAccount->Subscribe(pcName) == nullptr) {
            LOG_WARN("subscribe %s failed\n", pcName);
        }
    }
    m_pstAccount->SetEventCallback(onEvent);
    return 0;
}

void SysSetingResetModel::Deinit() {
    delete m_pstAccount;
    m_pstAccount = nullptr;
}

int SysSetingResetModel::onEvent(Account *account, Account::EventParam *param) {
    SysSetingResetModel *self = static_cast<SysSetingResetModel *>(account->UserData);
    if (param->event != Account::EVENT_PUBLISH) {
        return Account::RES_UNSUPPORTED;
    }
    if (strcmp(param->tran->ID, DP_ACCOUNT_SYSTEM_STATUS) != 0) {
        LOG_ERROR("error\n");
        return -1;
    }
    return self->OnStatusNotice(param->data_p, param->size);
}

int SysSetingResetModel::OnStatusNotice(const void *pvData, uint32_t u32Size) {
    if (pvData == nullptr || u32Size != sizeof(SystemStatusNotice)) {
        LOG_ERROR("error\n");
        return -1;
    }
    SystemStatusNotice stNotice;
    memcpy(&stNotice, pvData, sizeof stNotice);
    m_stStatus = stNotice.stInfo;
    if (m_bFormating && stNotice.eType == SYS_STATUS_STORAGE) {
        /* "formating" and "normal" reports carry no result: only the result items end the wait. */
        if (stNotice.stInfo.bFormatResult != 0) {
            m_bSuccess = true;
        } else if (stNotice.stInfo.eStorageStatus != STORAGE_STATUS_FORMATING) {
            m_bFailure = true;
        }
    }
    if (m_bResetting && stNotice.eType == SYS_STATUS_RESETDEV) {
        m_bResetFailed = stNotice.stInfo.eResetDevResult == RESETDEV_FAILURE;
        SetStatusByte(kResetBusyByte, 0);
    }
    return 0;
}

int SysSetingResetModel::GeneralCtrlComm(int32_t eElem, const char *pcValue) {
    if (CheckAccount() != 0) {
        return -1;
    }
    GeneralCtrlReq stReq;
    memset(&stReq, 0, sizeof stReq);
    stReq.bNoBlock = 1;
    stReq.eElem = eElem;
    stReq.pcValue = pcValue;
    if (m_pstAccount->Notify(DP_ACCOUNT_GENERAL_CTRL, &stReq, sizeof stReq) != Account::RES_OK) {
        LOG_ERROR("GeneralCtrl error\n");
        return -1;
    }
    return 0;
}

int SysSetingResetModel::LoadGeneralSetingData() {
    if (CheckAccount() != 0) {
        return -1;
    }
    GeneralSetingReq stReq;
    memset(&stReq, 0, sizeof stReq);
    stReq.peElemList = s_as32ResetItems;
    stReq.iElemNum = (int32_t)(sizeof s_as32ResetItems / sizeof s_as32ResetItems[0]);
    return LogResult(m_pstAccount->Notify(DP_ACCOUNT_GENERAL_SETING, &stReq, sizeof stReq));
}

int SysSetingResetModel::GetGeneralSetingInfo(GeneralSetingInfo *pstInfo) {
    if (CheckAccount() != 0) {
        return -1;
    }
    return LogResult(m_pstAccount->Pull(DP_ACCOUNT_GENERAL_SETING, pstInfo, sizeof *pstInfo));
}

int SysSetingResetModel::GetSystemStatus(SystemStatusInfo *pstInfo) {
    if (CheckAccount() != 0) {
        return -1;
    }
    if (m_pstAccount->Pull(DP_ACCOUNT_SYSTEM_STATUS, pstInfo, sizeof *pstInfo) != Account::RES_OK) {
        LOG_ERROR("error\n");
        return -1;
    }
    return 0;
}

int SysSetingResetModel::SetSystemStatus(const SystemStatusInfo *pstInfo) {
    if (CheckAccount() != 0) {
        return -1;
    }
    if (m_pstAccount->Notify(DP_ACCOUNT_SYSTEM_STATUS, pstInfo, sizeof *pstInfo) != Account::RES_OK) {
        LOG_ERROR("error\n");
        return -1;
    }
    return 0;
}

int SysSetingResetModel::SetStatusByte(uint32_t u32Offset, uint8_t u8Value) {
    SystemStatusInfo stInfo;
    if (u32Offset >= SYSTEM_STATUS_FIELDS_SIZE || GetSystemStatus(&stInfo) != 0) {
        return -1;
    }
    reinterpret_cast<uint8_t *>(&stInfo)[u32Offset] = u8Value;
    return SetSystemStatus(&stInfo);
}

int SysSetingResetModel::CtrlStatusBarTitle(const char *pcTitle, const char *pcFocus) {
    if (CheckAccount() != 0) {
        return -1;
    }
    /* The title goes as text: a plain title also takes the clock's shadow away. */
    char szTitle[128] = "";
    if (pcTitle != nullptr && strncmp(pcTitle, "LANG_RES_ID_", 12) == 0) {
        lv_label_get_text_tr(pcTitle, szTitle, sizeof szTitle);
        pcTitle = szTitle;
    }
    StatusBarMsg stMsg;
    memset(&stMsg, 0, sizeof stMsg);
    stMsg.eCmd = STATUSBAR_CMD_UPDATE_TITLE;
    stMsg.pcTitle = pcTitle;
    stMsg.pcFocus = pcFocus;
    return LogResult(m_pstAccount->Notify(DP_ACCOUNT_STATUS_BAR, &stMsg, sizeof stMsg));
}

} // namespace Page
