#include "HomeModel.h"

#include <string.h>

#include "Home.h"
#include "TimeFormat.h"
#include "log.h"

namespace Page {

namespace {

/* The settings items the page reads. */
const int32_t s_as32HomeItems[] = {GS_MIC_SWITCH,  GS_PREVIEW_CAMID, GS_REAR_ENABLE,   GS_INSIDE_ENABLE,
                                   GS_TIME_FORMAT, GS_WALLPAPER,     GS_PARKING_STATUS};

int LogResult(int s32Ret) {
    if (s32Ret != Account::RES_OK) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
    }
    return s32Ret;
}

} // namespace

int HomeModel::CheckAccount() const {
    if (m_pstAccount == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "m_pstAccount");
        return -1;
    }
    return 0;
}

int HomeModel::Init(Home *pstPage) {
    m_pstPage = pstPage;
    m_pstAccount = new Account("HomeModel", DataProc_GetCenter(), 0, this);
    for (const char *pcName : {DP_ACCOUNT_STATUS_BAR, DP_ACCOUNT_GENERAL_SETING, DP_ACCOUNT_INFO_TIPS,
                               DP_ACCOUNT_GENERAL_CTRL, DP_ACCOUNT_SYSTEM_STATUS, kSysStateCheck}) {
        if (m_pstAccount->Subscribe(pcName) == nullptr) {
            LOG_WARN("subscribe %s failed\n", pcName);
        }
    }
    m_pstAccount->SetEventCallback(onEvent);
    return QueryGeneralSeting(s_as32HomeItems, (int32_t)(sizeof s_as32HomeItems / sizeof s_as32HomeItems[0]));
}

void HomeModel::Deinit() {
    delete m_pstAccount;
    m_pstAccount = nullptr;
    m_pstPage = nullptr;
}

int HomeModel::onEvent(Account *account, Account::EventParam *param) {
    HomeModel *self = static_cast<HomeModel *>(account->UserData);
    if (param->event == Account::EVENT_PUBLISH) {
        if (strcmp(param->tran->ID, DP_ACCOUNT_SYSTEM_STATUS) != 0 ||
            param->size != sizeof(SystemStatusNotice)) {
            LOG_ERROR("error\n");
            return Account::RES_FAILED;
        }
        SystemStatusNotice stNotice;
        memcpy(&stNotice, param->data_p, sizeof stNotice);
        self->m_stStatus = stNotice.stInfo;
        if (self->m_pstPage != nullptr) {
            self->m_pstPage->OnStatusNotice(stNotice);
        }
        return Account::RES_OK;
    }
    if (param->event == Account::EVENT_NOTIFY) {
        return param->size == 8 ? Account::RES_OK : Account::RES_SIZE_MISMATCH;
    }
    return Account::RES_UNSUPPORTED;
}

int HomeModel::RefershRTCInfo() {
    if (CheckAccount() != 0) {
        return -1;
    }
    GeneralSetingInfo stInfo;
    if (m_pstAccount->Pull(DP_ACCOUNT_GENERAL_SETING, &stInfo, sizeof stInfo) != Account::RES_OK) {
        LOG_ERROR("Get GeneralSetingInfo Err\n");
        return -1;
    }
    char szTime[64];
    TimeFormat_GetShortDateTimeStr(stInfo.time_format, szTime, sizeof szTime);
    StatusBarMsg stMsg;
    memset(&stMsg, 0, sizeof stMsg);
    stMsg.eCmd = STATUSBAR_CMD_UPDATE_TITLE;
    stMsg.pcTitle = szTime;
    stMsg.bShadow = true;
    return CtrlStatusBarItem(&stMsg);
}

int HomeModel::ShowTips(const char *pcLangId) {
    if (CheckAccount() != 0) {
        return -1;
    }
    TipsInfo stTips;
    memset(&stTips, 0, sizeof stTips);
    stTips.eMsgType = TIPS_TYPE_NORMAL;
    stTips.pcText = pcLangId;
    return LogResult(m_pstAccount->Notify(DP_ACCOUNT_INFO_TIPS, &stTips, sizeof stTips));
}

int HomeModel::CtrlGeneralCtrlItem(int32_t eElem, const char *pcValue) {
    if (CheckAccount() != 0) {
        return -1;
    }
    GeneralCtrlReq stReq;
    memset(&stReq, 0, sizeof stReq);
    stReq.eElem = eElem;
    stReq.pcValue = pcValue;
    int s32Ret = m_pstAccount->Notify(DP_ACCOUNT_GENERAL_CTRL, &stReq, sizeof stReq);
    if (s32Ret != Account::RES_OK) {
        LOG_ERROR("GeneralCtrl error\n");
    }
    return s32Ret;
}

int HomeModel::CtrlGeneralSetingItem(int32_t eElem, int32_t s32Value) {
    if (CheckAccount() != 0) {
        return -1;
    }
    GeneralSetingReq stReq;
    memset(&stReq, 0, sizeof stReq);
    stReq.bSave = 1;
    stReq.eElem = eElem;
    stReq.iValue = s32Value;
    return LogResult(m_pstAccount->Notify(DP_ACCOUNT_GENERAL_SETING, &stReq, sizeof stReq));
}

int HomeModel::QueryGeneralSeting(const int32_t *peElemList, int32_t s32Num) {
    if (CheckAccount() != 0) {
        return -1;
    }
    GeneralSetingReq stReq;
    memset(&stReq, 0, sizeof stReq);
    stReq.peElemList = peElemList;
    stReq.iElemNum = s32Num;
    return LogResult(m_pstAccount->Notify(DP_ACCOUNT_GENERAL_SETING, &stReq, sizeof stReq));
}

int HomeModel::QueryGeneralSeting(GeneralSetingInfo *pstInfo) {
    if (CheckAccount() != 0) {
        return -1;
    }
    return LogResult(m_pstAccount->Pull(DP_ACCOUNT_GENERAL_SETING, pstInfo, sizeof *pstInfo));
}

int HomeModel::QuerySystemStatus(SystemStatusInfo *pstInfo) {
    if (CheckAccount() != 0) {
        return -1;
    }
    return LogResult(m_pstAccount->Pull(DP_ACCOUNT_SYSTEM_STATUS, pstInfo, sizeof *pstInfo));
}

int HomeModel::QuerySystemRearEnableStatus() {
    GeneralSetingInfo stInfo;
    if (QueryGeneralSeting(&stInfo) != 0) {
        return -1;
    }
    if (stInfo.rear_enable != 1) {
        static const int32_t s_s32Item = GS_REAR_ENABLE;
        return QueryGeneralSeting(&s_s32Item, 1);
    }
    return 0;
}

int HomeModel::QuerySystemInsideEnableStatus() {
    GeneralSetingInfo stInfo;
    if (QueryGeneralSeting(&stInfo) != 0) {
        return -1;
    }
    if (stInfo.inside_enable != 1) {
        static const int32_t s_s32Item = GS_INSIDE_ENABLE;
        return QueryGeneralSeting(&s_s32Item, 1);
    }
    return 0;
}

int HomeModel::CtrlStatusBarItem(const StatusBarMsg *pstMsg) {
    if (CheckAccount() != 0) {
        return -1;
    }
    return LogResult(m_pstAccount->Notify(DP_ACCOUNT_STATUS_BAR, pstMsg, sizeof *pstMsg));
}

int HomeModel::CtrlEnterScreenWallpaper(int32_t s32State) {
    if (CheckAccount() != 0) {
        return -1;
    }
    return LogResult(m_pstAccount->Notify(kSysStateCheck, &s32State, sizeof s32State));
}

} // namespace Page
