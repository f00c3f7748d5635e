#include "SysSetingMoreModel.h"

#include <stdio.h>
#include <string.h>

#include "log.h"

namespace Page {

int32_t SysSetingMoreModel::LteInfoInit(const LteInfo &stInfo, LteCheck astChecks[kLteCheckNum]) {
    const LteCheck astAll[kLteCheckNum] = {
        {"LANG_RES_ID_4G_NETWORK_CHECK_HARDWARE", stInfo.iHardware},
        {"LANG_RES_ID_4G_NETWORK_CHECK_SIM", stInfo.iSimCard},
        {"LANG_RES_ID_4G_NETWORK_CHECK_NETWORK", stInfo.iNetwork},
        {"LANG_RES_ID_4G_NETWORK_CHECK_UUID", stInfo.iUuid},
        {"LANG_RES_ID_4G_NETWORK_CHECK_SIGNAL", stInfo.iSignal},
        {"LANG_RES_ID_4G_NETWORK_CHECK_APN", stInfo.iApn},
    };
    LOG_INFO("uCheckMaxNum = %d\n", (int)kLteCheckNum);
    for (int32_t i = 0; i < kLteCheckNum; ++i) {
        astChecks[i] = astAll[i];
        LOG_INFO("i : %d ,MainText : %s ,State : %d \n", (int)i, astAll[i].pcMainText,
                 (int)astAll[i].s32State);
    }
    LOG_INFO("Cfg init over,item num = %d\n", (int)kLteCheckNum);
    return kLteCheckNum;
}

const char *SysSetingMoreModel::LteStateText(int32_t s32State) {
    switch (s32State) {
    case 0:
        return "LANG_RES_ID_NO_DETECT";
    case 1:
        return "LANG_RES_ID_NORMAL";
    case 2:
        return "LANG_RES_ID_ABNORMAL";
    default:
        LOG_WARN("unknown state\n");
        return nullptr;
    }
}

void SysSetingMoreModel::StorageText(const char *pcLabel, int32_t s32FreeMb, int32_t s32TotalMb, char *pcOut,
                                     size_t len) {
    snprintf(pcOut, len, "%s: %dG/%dG", pcLabel, (int)(s32FreeMb > 0 ? s32FreeMb / 1024 : 0),
             (int)(s32TotalMb > 0 ? s32TotalMb / 1024 : 0));
}

int SysSetingMoreModel::SubscribeInfo() {
    if (CheckAccount() != 0) {
        return -1;
    }
    for (const char *pcName : {DP_ACCOUNT_KOVAR_INFO, DP_ACCOUNT_LTE_INFO}) {
        if (m_pstAccount->Subscribe(pcName) == nullptr) {
            LOG_WARN("subscribe %s failed\n", pcName);
        }
    }
    return 0;
}

int SysSetingMoreModel::GetKovarInfo(KovarInfo *pstInfo) {
    memset(pstInfo, 0, sizeof *pstInfo);
    return Pull(DP_ACCOUNT_KOVAR_INFO, pstInfo, sizeof *pstInfo);
}

int SysSetingMoreModel::GetLteInfo(LteInfo *pstInfo) {
    memset(pstInfo, 0, sizeof *pstInfo);
    if (CheckAccount() != 0) {
        return -1;
    }
    char cAsk = 0;
    m_pstAccount->Notify(DP_ACCOUNT_LTE_INFO, &cAsk, sizeof cAsk); /* a refused ask keeps the last answer */
    return Pull(DP_ACCOUNT_LTE_INFO, pstInfo, sizeof *pstInfo);
}

} // namespace Page
