/* The nine accounts of "CENTER" and their processors, built once at start. */
#include "DataProc.h"

#include <mutex>

#include "log.h"

namespace {

struct DataProcRow {
    const char *pcName;
    uint32_t u32BufSize; /* publish cache, 0 for none */
    int (*pfnInit)(Account *pstAccount);
};

/* In the order of creation. */
const DataProcRow s_astDataProcs[DP_ACCOUNT_NUM] = {
    {DP_ACCOUNT_GENERAL_SETING, 0, DP_GeneralSeting_Init},
    {DP_ACCOUNT_PLAYER, sizeof(PlayerState), DP_Player_Init},
    {DP_ACCOUNT_SYSTEM_STATUS, sizeof(SystemStatusNotice), DP_SystemStatus_Init},
    {DP_ACCOUNT_STATUS_BAR, 0, DP_StatusBar_Init},
    {DP_ACCOUNT_GENERAL_CTRL, 0, DP_GeneralCtrl_Init},
    {DP_ACCOUNT_DEVS_INFO, 0, DP_DevsInfo_Init},
    {DP_ACCOUNT_INFO_TIPS, 0, DP_InfoTips_Init},
    {DP_ACCOUNT_KOVAR_INFO, 0, DP_KovarInfo_Init},
    {DP_ACCOUNT_LTE_INFO, 0, DP_LteInfo_Init},
};

} // namespace

int DP_Init(void) {
    static std::once_flag s_once;
    static int s_s32Result = -1;
    std::call_once(s_once, [] {
        DataCenter *pstCenter = DataProc_GetCenter();
        Account *apstAccounts[DP_ACCOUNT_NUM] = {};
        for (int i = 0; i < DP_ACCOUNT_NUM; i++) {
            apstAccounts[i] = new Account(s_astDataProcs[i].pcName, pstCenter, s_astDataProcs[i].u32BufSize);
            if (pstCenter->SearchAccount(s_astDataProcs[i].pcName) != apstAccounts[i]) {
                LOG_ERROR("account %s could not be made\n", s_astDataProcs[i].pcName);
                return;
            }
        }
        /* Every account exists before any processor subscribes to another. */
        s_s32Result = 0;
        for (int i = 0; i < DP_ACCOUNT_NUM; i++) {
            if (s_astDataProcs[i].pfnInit(apstAccounts[i]) != 0) {
                LOG_ERROR("Error Code: [0x%08X]\n\n", 0xFFFFFFFFu);
                s_s32Result = -1;
            }
        }
    });
    return s_s32Result;
}
