/*
 * The account "StatusBar": every second it follows the recording state and the microphone
 * setting; pages notify it with StatusBarMsg commands.
 */
#include <string.h>

#include "DataProc.h"
#include "StatusBar.h"
#include "log.h"

namespace {

Account *s_pstAccount = nullptr;
bool s_bMicKnown = false; /* the first settings pull always sets the item */
uint8_t s_u8LastMic = 0;

int OnTimer(Account *account) {
    SystemStatusInfo stStatus;
    int s32Ret = account->Pull(DP_ACCOUNT_SYSTEM_STATUS, &stStatus, sizeof stStatus);
    if (s32Ret == Account::RES_OK) {
        const StatusBarObjs *o = StatusBar_GetObjs();
        if (o != nullptr) {
            bool bShown = lv_obj_has_state(o->recIcon, LV_STATE_USER_1);
            if ((stStatus.bIsRecording != 0) != bShown) {
                StatusBar_SetRecording(stStatus.bIsRecording != 0);
            }
        }
    } else {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
    }

    GeneralSetingInfo stSeting;
    s32Ret = account->Pull(DP_ACCOUNT_GENERAL_SETING, &stSeting, sizeof stSeting);
    if (s32Ret == Account::RES_OK) {
        if (!s_bMicKnown || stSeting.mic_switch != s_u8LastMic) {
            AddItemToList("mic", stSeting.mic_switch != 0 ? "mic_on.png" : "mic_off.png", false);
            s_u8LastMic = stSeting.mic_switch;
            s_bMicKnown = true;
        }
    } else {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
    }
    return Account::RES_OK;
}

int OnNotify(const StatusBarMsg *pstMsg) {
    switch (pstMsg->eCmd) {
    case STATUSBAR_CMD_ADD_ITEM:
        AddItemToList(pstMsg->pcTypeName, pstMsg->pcIconName, false);
        break;
    case STATUSBAR_CMD_REMOVE_ITEM:
        RemoveItemFromList(pstMsg->pcIconName);
        break;
    case STATUSBAR_CMD_TITLE_LEFT:
    case STATUSBAR_CMD_TITLE_CENTER:
        StatusBar_AlignTitle(pstMsg->eCmd);
        break;
    case STATUSBAR_CMD_UPDATE_TITLE:
        StatusBar_UpdateTitleCont(pstMsg);
        break;
    default:
        LOG_WARN("status bar command [%d] ignored\n", (int)pstMsg->eCmd);
        break;
    }
    return Account::RES_OK;
}

} // namespace

int StatusBar_onEvent(Account *account, Account::EventParam *param) {
    if (param == nullptr) {
        return Account::RES_FAILED;
    }
    switch (param->event) {
    case Account::EVENT_TIMER:
        return OnTimer(account);
    case Account::EVENT_NOTIFY:
        if (param->size != sizeof(StatusBarMsg) || param->data_p == nullptr) {
            LOG_ERROR("StatusBarMsg of %u bytes refused\n", (unsigned)param->size);
            return Account::RES_SIZE_MISMATCH;
        }
        return OnNotify(static_cast<const StatusBarMsg *>(param->data_p));
    default:
        return Account::RES_UNSUPPORTED;
    }
}

bool StatusBar_PullRecording(bool *pbRecording) {
    if (s_pstAccount == nullptr || pbRecording == nullptr) {
        return false;
    }
    SystemStatusInfo stStatus;
    int s32Ret = s_pstAccount->Pull(DP_ACCOUNT_SYSTEM_STATUS, &stStatus, sizeof stStatus);
    if (s32Ret != Account::RES_OK) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
        return false;
    }
    *pbRecording = stStatus.bIsRecording != 0;
    return true;
}

int DP_StatusBar_Init(Account *pstAccount) {
    if (pstAccount == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstAccount");
        return -1;
    }
    s_pstAccount = pstAccount;
    s_bMicKnown = false;
    pstAccount->SetEventCallback(StatusBar_onEvent);
    pstAccount->Subscribe(DP_ACCOUNT_GENERAL_SETING);
    pstAccount->Subscribe(DP_ACCOUNT_SYSTEM_STATUS);
    pstAccount->SetTimerPeriod(STATUSBAR_REFRESH_PERIOD);
    return 0;
}
