#include "SysSetingKovarModel.h"

#include <string.h>

#include "log.h"

namespace Page {

int SysSetingKovarModel::Hook() {
    if (CheckAccount() != 0) {
        return -1;
    }
    if (m_pstHooked == m_pstAccount) {
        return 0;
    }
    m_pstHooked = m_pstAccount;
    if (m_pstAccount->Subscribe(DP_ACCOUNT_KOVAR_INFO) == nullptr) {
        LOG_WARN("subscribe %s failed\n", DP_ACCOUNT_KOVAR_INFO);
    }
    m_pstAccount->SetEventCallback(onStatusEvent);
    return 0;
}

int SysSetingKovarModel::onStatusEvent(Account *account, Account::EventParam *param) {
    SysSetingKovarModel *self =
        static_cast<SysSetingKovarModel *>(static_cast<SysSetingModel *>(account->UserData));
    if (param->event != Account::EVENT_PUBLISH) {
        return Account::RES_UNSUPPORTED;
    }
    if (strcmp(param->tran->ID, DP_ACCOUNT_SYSTEM_STATUS) != 0) {
        return Account::RES_OK; /* the page saves no settings */
    }
    return self->OnStatusNotice(param->data_p, param->size);
}

int SysSetingKovarModel::OnStatusNotice(const void *pvData, uint32_t u32Size) {
    if (pvData == nullptr || u32Size != sizeof(SystemStatusNotice)) {
        LOG_ERROR("error\n");
        return -1;
    }
    SystemStatusNotice stNotice;
    memcpy(&stNotice, pvData, sizeof stNotice);
    if (stNotice.eType == SYS_STATUS_KOVAR_BIND) {
        m_bLinked = stNotice.stInfo.bKovarBound != 0;
        if (m_bBinding) {
            (m_bLinked ? m_bSuccess : m_bFailure) = true;
        }
    } else if (stNotice.eType == SYS_STATUS_KOVAR_BLE && m_bBinding && stNotice.stInfo.bKovarBle != 0) {
        LOG_INFO("ble conect!\n");
        m_bBleSeen = true;
    }
    return 0;
}

int SysSetingKovarModel::GetKovarInfo(KovarInfo *pstInfo) {
    memset(pstInfo, 0, sizeof *pstInfo);
    return Pull(DP_ACCOUNT_KOVAR_INFO, pstInfo, sizeof *pstInfo);
}

int SysSetingKovarModel::SetBindingByte(uint8_t u8Value) {
    SystemStatusInfo stInfo;
    if (QuerySystemStatus(&stInfo) != 0) {
        return -1;
    }
    reinterpret_cast<uint8_t *>(&stInfo)[kBindingByte] = u8Value;
    return SetSystemStatus(&stInfo);
}

} // namespace Page
