#include "IpcMsg_Common.h"

#include <stdio.h>
#include <string.h>

#include "log.h"

char *IpcMsg_BuildRequest(const char *pcMsgID, bool bNeedAck, cJSON *pstBody) {
    MsgHeader stHdr;
    VYX_IPCMSG_InitHeader(&stHdr, pcMsgID, 0, bNeedAck ? 1 : 0);
    char *pcBuf = VYX_IPCMSG_BuildMsg(&stHdr, pstBody);
    if (pcBuf == NULL) {
        LOG_ERROR("cJSON_PrintUnformatted() return Null\n");
        return NULL;
    }
    LOG_INFO("pcBuf:%s\n", pcBuf);
    return pcBuf;
}

cJSON *IpcMsg_BuildStringParam(const char *pcKey, const char *pcValue) {
    cJSON *pstBody = cJSON_CreateObject();
    cJSON *pstArr = cJSON_CreateArray();
    cJSON *pstItem = cJSON_CreateObject();
    if (pstBody == NULL || pstArr == NULL || pstItem == NULL) {
        IPCMSG_CJSON_CREATE_ERROR();
        cJSON_Delete(pstBody);
        cJSON_Delete(pstArr);
        cJSON_Delete(pstItem);
        return NULL;
    }
    cJSON_AddStringToObject(pstItem, "key", pcKey);
    cJSON_AddStringToObject(pstItem, "value", pcValue != NULL ? pcValue : "");
    cJSON_AddItemToArray(pstArr, pstItem);
    cJSON_AddItemToObject(pstBody, "string_params", pstArr);
    return pstBody;
}

int IpcMsg_RequestSync(const char *pcMsgID, cJSON *pstBody, uint32_t u32TimeoutMs, char *pcRspBuf,
                       uint32_t u32RspLen, MsgHeader *pstRspHdr) {
    char *pcBuf = IpcMsg_BuildRequest(pcMsgID, true, pstBody);
    if (pcBuf == NULL) {
        return -1;
    }
    memset(pcRspBuf, 0, u32RspLen);
    int s32Ret = VYX_IPCMSG_SendSync(pcBuf, (uint32_t)strlen(pcBuf) + 1, u32TimeoutMs, pcRspBuf, u32RspLen);
    cJSON_free(pcBuf);
    if (s32Ret != 0) {
        LOG_ERROR("VYX_IPCMSG_SendSync() Error:%#x\n", (unsigned)s32Ret);
        return s32Ret;
    }
    LOG_INFO("szRspBuf:%s\n", pcRspBuf);
    s32Ret = VYX_IPCMSG_DecodeMsgHeader(pcRspBuf, pstRspHdr);
    if (s32Ret != 0) {
        LOG_ERROR("VYX_IPCMSG_DecodeMsgHeader() Error:%#x\n", (unsigned)s32Ret);
        return s32Ret;
    }
    return 0;
}

int IpcMsg_RequestNoRsp(const char *pcMsgID, cJSON *pstBody) {
    char *pcBuf = IpcMsg_BuildRequest(pcMsgID, false, pstBody);
    if (pcBuf == NULL) {
        return -1;
    }
    int s32Ret = VYX_IPCMSG_SendNoRsp(pcBuf, (uint32_t)strlen(pcBuf) + 1);
    cJSON_free(pcBuf);
    if (s32Ret != 0) {
        LOG_ERROR("VYX_IPCMSG_SendNoRsp() Error:%#x\n", (unsigned)s32Ret);
    }
    return s32Ret;
}

bool IpcMsg_GetInt32(const cJSON *pstItem, int32_t *ps32Out) {
    if (!cJSON_IsNumber(pstItem)) {
        return false;
    }
    double d = pstItem->valuedouble;
    if (!(d >= -2147483648.0 && d <= 2147483647.0) || d != (double)(int64_t)d) {
        return false;
    }
    *ps32Out = (int32_t)d;
    return true;
}

void IpcMsg_ForEachParam(const cJSON *pstRoot, IpcMsg_IntParamFn fnInt, IpcMsg_StrParamFn fnStr,
                         uint32_t *pu32Bad) {
    uint32_t u32Bad = 0;
    const char *const apcLists[2] = {"int_params", "string_params"};
    for (int i = 0; i < 2; i++) {
        const cJSON *pstList = cJSON_GetObjectItemCaseSensitive(pstRoot, apcLists[i]);
        if (pstList == NULL) {
            continue;
        }
        if (!cJSON_IsArray(pstList)) {
            /* An empty text stands for an empty list (the save request writes one). */
            if (!(cJSON_IsString(pstList) && pstList->valuestring[0] == '\0')) {
                u32Bad++;
            }
            continue;
        }
        const cJSON *pstEntry = NULL;
        cJSON_ArrayForEach(pstEntry, pstList) {
            const cJSON *pstKey = cJSON_GetObjectItemCaseSensitive(pstEntry, "key");
            if (!cJSON_IsObject(pstEntry) || !cJSON_IsString(pstKey)) {
                u32Bad++;
                continue;
            }
            const cJSON *pstValue = cJSON_GetObjectItemCaseSensitive(pstEntry, "value");
            if (i == 0) {
                int32_t s32Value = 0;
                bool bOk = IpcMsg_GetInt32(pstValue, &s32Value);
                u32Bad += bOk ? 0 : 1;
                if (fnInt != NULL) {
                    fnInt(pstKey->valuestring, bOk ? &s32Value : NULL);
                }
            } else {
                bool bOk = cJSON_IsString(pstValue);
                u32Bad += bOk ? 0 : 1;
                if (fnStr != NULL) {
                    fnStr(pstKey->valuestring, bOk ? pstValue->valuestring : NULL);
                }
            }
        }
    }
    if (pu32Bad != NULL) {
        *pu32Bad = u32Bad;
    }
}

void IpcMsg_CopyText(char *pcDst, uint32_t u32Size, const char *pcSrc) {
    if (u32Size == 0) {
        return;
    }
    size_t n = strnlen(pcSrc, u32Size - 1);
    /* A cut inside a UTF-8 sequence drops the whole character. */
    while (n > 0 && ((unsigned char)pcSrc[n] & 0xC0) == 0x80) {
        n--;
    }
    memcpy(pcDst, pcSrc, n);
    pcDst[n] = '\0';
}

int IpcMsg_AnswerResult(const char *pcRsp, int32_t *ps32Result) {
    cJSON *pstRsp = cJSON_Parse(pcRsp);
    if (pstRsp == NULL) {
        LOG_ERROR("Decode Json pack Error\n");
        return -1;
    }
    bool bOk = IpcMsg_GetInt32(cJSON_GetObjectItemCaseSensitive(pstRsp, "result"), ps32Result);
    cJSON_Delete(pstRsp);
    if (!bOk) {
        LOG_ERROR("cJSON_GetObjectItem Error\n");
        return -1;
    }
    return 0;
}

cJSON *IpcMsg_QueryAnswer(const char *pcRsp, const MsgHeader *pstRspHdr) {
    LOG_INFO("pMsgBuf:%s\n", pcRsp);
    if (strcmp(pstRspHdr->msgID, "QUREY_ERROR") == 0) {
        LOG_ERROR("Check Error\n");
        return NULL;
    }
    cJSON *pstRoot = cJSON_Parse(pcRsp);
    if (pstRoot == NULL) {
        LOG_ERROR("Decode Json pack Error\n");
    }
    return pstRoot;
}

int IpcMsg_Query(const char *pcMsgID, uint32_t u32TimeoutMs, cJSON **ppstRoot) {
    char szRspBuf[IPCMSG_QUERY_RSP_SIZE];
    MsgHeader stRspHdr;
    *ppstRoot = NULL;
    int s32Ret = IpcMsg_RequestSync(pcMsgID, NULL, u32TimeoutMs, szRspBuf, sizeof(szRspBuf), &stRspHdr);
    if (s32Ret != 0) {
        return s32Ret;
    }
    *ppstRoot = IpcMsg_QueryAnswer(szRspBuf, &stRspHdr);
    return *ppstRoot != NULL ? 0 : -1;
}

int IpcMsg_QueryRecordRun(const IpcMsg_QueryRecord *pstQuery) {
    cJSON *pstRoot = NULL;
    int s32Ret = IpcMsg_Query(pstQuery->pcMsgID, pstQuery->u32TimeoutMs, &pstRoot);
    if (s32Ret != 0) {
        return s32Ret;
    }
    pthread_mutex_lock(pstQuery->pstLock);
    memset(pstQuery->pRecord, 0, pstQuery->size);
    s32Ret = pstQuery->pfnApply(pstRoot);
    pthread_mutex_unlock(pstQuery->pstLock);
    cJSON_Delete(pstRoot);
    return s32Ret;
}

void IpcMsg_QueryRecordClear(const IpcMsg_QueryRecord *pstQuery) {
    pthread_mutex_lock(pstQuery->pstLock);
    memset(pstQuery->pRecord, 0, pstQuery->size);
    pthread_mutex_unlock(pstQuery->pstLock);
}

int IpcMsg_QueryRecordCopy(const IpcMsg_QueryRecord *pstQuery, void *pDst) {
    if (pDst == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstDst");
        return -1;
    }
    pthread_mutex_lock(pstQuery->pstLock);
    memcpy(pDst, pstQuery->pRecord, pstQuery->size);
    pthread_mutex_unlock(pstQuery->pstLock);
    return 0;
}

int IpcMsg_HandleKeyValueBody(const char *pcMsg, IpcMsg_IntParamFn fnInt, IpcMsg_StrParamFn fnStr,
                              const char *pcWhat) {
    cJSON *pstRoot = pcMsg != NULL ? cJSON_Parse(pcMsg) : NULL;
    if (pstRoot == NULL) {
        LOG_ERROR("Decode Json pack Error\n");
        return -1;
    }
    uint32_t u32Bad = 0;
    IpcMsg_ForEachParam(pstRoot, fnInt, fnStr, &u32Bad);
    cJSON_Delete(pstRoot);
    if (u32Bad != 0) {
        LOG_WARN("%u %s entries of wrong form ignored\n", u32Bad, pcWhat);
    }
    return 0;
}

int IpcMsg_RequestResult(const char *pcMsgID, cJSON *pstBody, uint32_t u32TimeoutMs, int32_t *ps32Result) {
    char szRspBuf[IPCMSG_RESULT_RSP_SIZE];
    MsgHeader stRspHdr;
    int s32Ret = IpcMsg_RequestSync(pcMsgID, pstBody, u32TimeoutMs, szRspBuf, sizeof(szRspBuf), &stRspHdr);
    if (s32Ret != 0) {
        return s32Ret;
    }
    return IpcMsg_AnswerResult(szRspBuf, ps32Result);
}
