/* Device information: "IPCMSG_DEVINFO_QUERY". */
#include "IpcMsg_DevsInfo.h"

#include <pthread.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include "IpcMsg_Common.h"
#include "log.h"

#define DEVS_INFO_MSGID      "IPCMSG_DEVINFO_QUERY"
#define DEVS_INFO_TIMEOUT_MS 5000

static DevsInfo m_stDevsInfo;
static pthread_mutex_t s_stLock = PTHREAD_MUTEX_INITIALIZER;

static const struct {
    const char *pcKey;
    size_t offset;
} s_astDevsInfoKeys[] = {
    {"model", offsetof(DevsInfo, szModel)},      {"wifi_ssid", offsetof(DevsInfo, szWifiSsid)},
    {"wifi_pwd", offsetof(DevsInfo, szWifiPwd)}, {"soft_version", offsetof(DevsInfo, szSoftVersion)},
    {"sn_code", offsetof(DevsInfo, szSnCode)},   {"bt_info", offsetof(DevsInfo, szBtInfo)},
};

/* Takes the answer: each text member that is there, the others stay empty. */
static void IpcMsg_DevsInfoQureyCallBack(const cJSON *pstRoot) {
    pthread_mutex_lock(&s_stLock);
    memset(&m_stDevsInfo, 0, sizeof(m_stDevsInfo));
    for (size_t i = 0; i < sizeof(s_astDevsInfoKeys) / sizeof(s_astDevsInfoKeys[0]); i++) {
        const cJSON *pstItem = cJSON_GetObjectItemCaseSensitive(pstRoot, s_astDevsInfoKeys[i].pcKey);
        if (cJSON_IsString(pstItem)) {
            IpcMsg_CopyText((char *)&m_stDevsInfo + s_astDevsInfoKeys[i].offset, DEVS_INFO_TEXT_SIZE,
                            pstItem->valuestring);
        }
    }
    pthread_mutex_unlock(&s_stLock);
}

int IpcMsg_DevsInfoQuerylHandle(void) {
    cJSON *pstRoot = NULL;
    int s32Ret = IpcMsg_Query(DEVS_INFO_MSGID, DEVS_INFO_TIMEOUT_MS, &pstRoot);
    if (s32Ret != 0) {
        return s32Ret;
    }
    IpcMsg_DevsInfoQureyCallBack(pstRoot);
    cJSON_Delete(pstRoot);
    return 0;
}

int IpcMsg_DevsInfoLoad(void) {
    pthread_mutex_lock(&s_stLock);
    memset(&m_stDevsInfo, 0, sizeof(m_stDevsInfo));
    pthread_mutex_unlock(&s_stLock);
    return IpcMsg_DevsInfoQuerylHandle();
}

int IpcMsg_DevsInfoCopy(DevsInfo *pstDst) {
    if (pstDst == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstDst");
        return -1;
    }
    pthread_mutex_lock(&s_stLock);
    *pstDst = m_stDevsInfo;
    pthread_mutex_unlock(&s_stLock);
    return 0;
}
