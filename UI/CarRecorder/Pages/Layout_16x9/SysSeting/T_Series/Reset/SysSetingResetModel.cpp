#include "SysSetingResetModel.h"

#include <string.h>

#include "log.h"
#include "lv_label_ext_func.h"

namespace Page {

namespace {

/* The settings the page shows after a format (the card's sizes). */
const int32_t s_as32ResetItems[] = {GS_DEV_AVAILABLE_SIZE, GS_DEV_TOTAL_SIZE};

} // namespace

int SysSetingResetModel::Init() {
    return Create("SysSetingResetModel",
                  {DP_ACCOUNT_GENERAL_SETING, DP_ACCOUNT_STATUS_BAR, DP_ACCOUNT_INFO_TIPS,
                   DP_ACCOUNT_SYSTEM_STATUS, DP_ACCOUNT_GENERAL_CTRL, DP_ACCOUNT_DEVS_INFO},
                  onEvent, this);
}

void SysSetingResetModel::Deinit() {
    Destroy();
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
    return CtrlGeneralCtrlItem(true, eElem, pcValue);
}

int SysSetingResetModel::LoadGeneralSetingData() {
    return LoadGeneralSeting(s_as32ResetItems,
                             (int32_t)(sizeof s_as32ResetItems / sizeof s_as32ResetItems[0]));
}

int SysSetingResetModel::GetGeneralSetingInfo(GeneralSetingInfo *pstInfo) {
    return QueryGeneralSeting(pstInfo);
}

int SysSetingResetModel::GetSystemStatus(SystemStatusInfo *pstInfo) {
    return QuerySystemStatus(pstInfo);
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
    return CtrlStatusBarItem(&stMsg);
}

} // namespace Page
