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

} // namespace

int HomeModel::Init(Home *pstPage) {
    m_pstPage = pstPage;
    Create("HomeModel",
           {DP_ACCOUNT_STATUS_BAR, DP_ACCOUNT_GENERAL_SETING, DP_ACCOUNT_INFO_TIPS, DP_ACCOUNT_GENERAL_CTRL,
            DP_ACCOUNT_SYSTEM_STATUS, kSysStateCheck},
           onEvent, this);
    return QueryGeneralSeting(s_as32HomeItems, (int32_t)(sizeof s_as32HomeItems / sizeof s_as32HomeItems[0]));
}

void HomeModel::Deinit() {
    Destroy();
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

int HomeModel::CtrlGeneralCtrlItem(int32_t eElem, const char *pcValue) {
    return PageAccount::CtrlGeneralCtrlItem(false, eElem, pcValue);
}

int HomeModel::QueryGeneralSeting(const int32_t *peElemList, int32_t s32Num) {
    return LoadGeneralSeting(peElemList, s32Num);
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

int HomeModel::CtrlEnterScreenWallpaper(int32_t s32State) {
    return Notify(kSysStateCheck, &s32State, sizeof s32State);
}

} // namespace Page
