/* The linked second camera: "IPCMSG_KOVARINFO_QUERY". */
#include "IpcMsg_KovarInfo.h"

#include <pthread.h>
#include <stdio.h>
#include <string.h>

#include "IpcMsg_Common.h"
#include "log.h"

#define KOVAR_INFO_MSGID      "IPCMSG_KOVARINFO_QUERY"
#define KOVAR_INFO_TIMEOUT_MS 5000

static KovarInfo m_stKovarInfo;
static pthread_mutex_t s_stLock = PTHREAD_MUTEX_INITIALIZER;

/* The next member, or the "cJSON is null" line and the end of the query. */
#define KOVAR_MEMBER(var, obj, name)                                                                         \
    const cJSON *var = cJSON_GetObjectItemCaseSensitive(obj, name);                                          \
    if (var == NULL) {                                                                                       \
        printf("[%s]:%d cJSON is null!\n", __func__, __LINE__);                                              \
        return -1;                                                                                           \
    }

static int32_t KovarNumber(const cJSON *pstItem) {
    int32_t s32Value = 0;
    return IpcMsg_GetInt32(pstItem, &s32Value) ? s32Value : 0;
}

static void KovarText(char *pcDst, const cJSON *pstItem) {
    IpcMsg_CopyText(pcDst, KOVAR_INFO_TEXT_SIZE, cJSON_IsString(pstItem) ? pstItem->valuestring : "");
}

/* Reads the members in order into the record; the caller holds the lock. */
static int IpcMsg_KovarInfoQureyCallBack(const cJSON *pstRoot) {
    KOVAR_MEMBER(pstStatus, pstRoot, "status");
    int32_t s32Status = KovarNumber(pstStatus);
    m_stKovarInfo.eStatus = (s32Status <= 0 || s32Status > 3) ? 1 : s32Status;
    LOG_INFO("m_stKovarInfo.eStatus[%d]\n", m_stKovarInfo.eStatus);
    KOVAR_MEMBER(pstConnect, pstRoot, "connect");
    m_stKovarInfo.bConnect = KovarNumber(pstConnect) != 0;
    KOVAR_MEMBER(pstSlave, pstRoot, "slave");
    KOVAR_MEMBER(pstClientId, pstSlave, "clientId");
    m_stKovarInfo.iClientId = KovarNumber(pstClientId);
    KOVAR_MEMBER(pstModel, pstSlave, "model");
    KovarText(m_stKovarInfo.szModel, pstModel);
    KOVAR_MEMBER(pstName, pstSlave, "name");
    KovarText(m_stKovarInfo.szName, pstName);
    KOVAR_MEMBER(pstBle, pstSlave, "ble");
    KovarText(m_stKovarInfo.szBle, pstBle);
    KOVAR_MEMBER(pstVersion, pstSlave, "version");
    KovarText(m_stKovarInfo.szVersion, pstVersion);
    KOVAR_MEMBER(pstTotal, pstSlave, "totalSize");
    m_stKovarInfo.iTotalSize = KovarNumber(pstTotal);
    KOVAR_MEMBER(pstAvailable, pstSlave, "availableSize");
    m_stKovarInfo.iAvailableSize = KovarNumber(pstAvailable);
    return 0;
}

static const IpcMsg_QueryRecord s_stQuery = {
    &s_stLock,        &m_stKovarInfo,        sizeof(m_stKovarInfo),
    KOVAR_INFO_MSGID, KOVAR_INFO_TIMEOUT_MS, IpcMsg_KovarInfoQureyCallBack};

int IpcMsg_KovarInfoQuerylHandle(void) {
    return IpcMsg_QueryRecordRun(&s_stQuery);
}

int IpcMsg_KovarInfoLoad(void) {
    LOG_INFO("clear\n");
    IpcMsg_QueryRecordClear(&s_stQuery);
    return 0;
}

int IpcMsg_KovarInfoCopy(KovarInfo *pstDst) {
    return IpcMsg_QueryRecordCopy(&s_stQuery, pstDst);
}
