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
static int IpcMsg_DevsInfoQureyCallBack(const cJSON *pstRoot) {
    for (size_t i = 0; i < sizeof(s_astDevsInfoKeys) / sizeof(s_astDevsInfoKeys[0]); i++) {
        const cJSON *pstItem = cJSON_GetObjectItemCaseSensitive(pstRoot, s_astDevsInfoKeys[i].pcKey);
        if (cJSON_IsString(pstItem)) {
            IpcMsg_CopyText((char *)&m_stDevsInfo + s_astDevsInfoKeys[i].offset, DEVS_INFO_TEXT_SIZE,
                            pstItem->valuestring);
        }
    }
    return 0;
}

static const IpcMsg_QueryRecord s_stQuery = {
    &s_stLock,       &m_stDevsInfo,        sizeof(m_stDevsInfo),
    DEVS_INFO_MSGID, DEVS_INFO_TIMEOUT_MS, IpcMsg_DevsInfoQureyCallBack};

int IpcMsg_DevsInfoQuerylHandle(void) {
    return IpcMsg_QueryRecordRun(&s_stQuery);
}

int IpcMsg_DevsInfoLoad(void) {
    IpcMsg_QueryRecordClear(&s_stQuery);
    return IpcMsg_DevsInfoQuerylHandle();
}

int IpcMsg_DevsInfoCopy(DevsInfo *pstDst) {
    return IpcMsg_QueryRecordCopy(&s_stQuery, pstDst);
}
