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

static const IpcMsg_QueryRecord s_stQuery = {&s_stLock,           &m_stLteInfo,
                                             sizeof(m_stLteInfo), LTE_INFO_MSGID,
                                             LTE_INFO_TIMEOUT_MS, IpcMsg_LteInfoQureyCallBack};

int IpcMsg_LteInfoQuerylHandle(void) {
    return IpcMsg_QueryRecordRun(&s_stQuery);
}

int IpcMsg_LteInfoLoad(void) {
    IpcMsg_QueryRecordClear(&s_stQuery);
    return IpcMsg_LteInfoQuerylHandle();
}

int IpcMsg_LteInfoCopy(LteInfo *pstDst) {
    return IpcMsg_QueryRecordCopy(&s_stQuery, pstDst);
}
