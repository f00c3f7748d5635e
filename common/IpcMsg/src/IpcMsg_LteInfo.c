/* The 4G modem: "IPCMSG_LTEINFO_QUERY". */
#include "IpcMsg_LteInfo.h"

#include <pthread.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include "IpcMsg_Common.h"
#include "log.h"

#define LTE_INFO_MSGID      "IPCMSG_LTEINFO_QUERY"
#define LTE_INFO_TIMEOUT_MS 10000

static LteInfo m_stLteInfo;
static pthread_mutex_t s_stLock = PTHREAD_MUTEX_INITIALIZER;

/* In the order they are read. */
static const struct {
    const char *pcKey;
    size_t offset;
} s_astLteKeys[] = {
    {"uuid", offsetof(LteInfo, iUuid)},        {"hardware", offsetof(LteInfo, iHardware)},
    {"sim_card", offsetof(LteInfo, iSimCard)}, {"dns", offsetof(LteInfo, iDns)},
    {"network", offsetof(LteInfo, iNetwork)},  {"signal", offsetof(LteInfo, iSignal)},
    {"apn", offsetof(LteInfo, iApn)},          {"flow", offsetof(LteInfo, iFlow)},
    {"mqtt", offsetof(LteInfo, iMqtt)},        {"http", offsetof(LteInfo, iHttp)},
};

/* The caller holds the lock. A member that is missing ends the reading. */
static int IpcMsg_LteInfoQureyCallBack(const cJSON *pstRoot) {
    memset(&m_stLteInfo, 0, sizeof(m_stLteInfo));
    for (size_t i = 0; i < sizeof(s_astLteKeys) / sizeof(s_astLteKeys[0]); i++) {
        const cJSON *pstItem = cJSON_GetObjectItemCaseSensitive(pstRoot, s_astLteKeys[i].pcKey);
        if (pstItem == NULL) {
            printf("[%s]:%d cJSON is null!\n", __func__, __LINE__);
            return -1;
        }
        int32_t s32Value = 0;
        if (!IpcMsg_GetInt32(pstItem, &s32Value)) {
            LOG_WARN("%s is not a number\n", s_astLteKeys[i].pcKey);
        }
        memcpy((char *)&m_stLteInfo + s_astLteKeys[i].offset, &s32Value, sizeof(s32Value));
    }
    return 0;
}

int IpcMsg_LteInfoQuerylHandle(void) {
    cJSON *pstRoot = NULL;
    int s32Ret = IpcMsg_Query(LTE_INFO_MSGID, LTE_INFO_TIMEOUT_MS, &pstRoot);
    if (s32Ret != 0) {
        return s32Ret;
    }
    pthread_mutex_lock(&s_stLock);
    s32Ret = IpcMsg_LteInfoQureyCallBack(pstRoot);
    pthread_mutex_unlock(&s_stLock);
    cJSON_Delete(pstRoot);
    return s32Ret;
}

int IpcMsg_LteInfoLoad(void) {
    pthread_mutex_lock(&s_stLock);
    memset(&m_stLteInfo, 0, sizeof(m_stLteInfo));
    pthread_mutex_unlock(&s_stLock);
    return IpcMsg_LteInfoQuerylHandle();
}

int IpcMsg_LteInfoCopy(LteInfo *pstDst) {
    if (pstDst == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstDst");
        return -1;
    }
    pthread_mutex_lock(&s_stLock);
    *pstDst = m_stLteInfo;
    pthread_mutex_unlock(&s_stLock);
    return 0;
}
