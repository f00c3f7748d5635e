/*
 * Pieces shared by the message modules (not a public interface): building and sending a request,
 * waiting for its answer, and walking the key/value lists of a body.
 */
#ifndef IPCMSG_COMMON_H
#define IPCMSG_COMMON_H

#include <pthread.h>
#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include <cjson/cJSON.h>

#include "vyx_ipcmsg.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef int (*IpcMsg_IntParamFn)(const char *pcKey, const int32_t *ps32Value);
typedef int (*IpcMsg_StrParamFn)(const char *pcKey, const char *pcValue);

/* The coloured message of a failed JSON object creation. */
#define IPCMSG_CJSON_CREATE_ERROR()                                                                          \
    printf("\33[46;31m[%s:%d]\33[0m \"cJSON_CreateObject error.\"\r\n", __func__, __LINE__)

/* {"msgHdr":{...}, body...} for msgID, printed compactly; body (may be NULL) is consumed. Logs
 * "pcBuf:%s\n". NULL when it cannot be built (logged). Free with cJSON_free. */
char *IpcMsg_BuildRequest(const char *pcMsgID, bool bNeedAck, cJSON *pstBody);

/* A body of one "string_params" entry {"key", "value"}; a NULL value is sent as "". */
cJSON *IpcMsg_BuildStringParam(const char *pcKey, const char *pcValue);

/* Sends a request and waits for its answer (rspLen bytes at most, NUL included), then decodes
 * the answer's header into pstRspHdr. 0, or the first error (logged). */
int IpcMsg_RequestSync(const char *pcMsgID, cJSON *pstBody, uint32_t u32TimeoutMs, char *pcRspBuf,
                       uint32_t u32RspLen, MsgHeader *pstRspHdr);

/* Sends a request without waiting for an answer. 0, -1 or the agent's send error (logged). */
int IpcMsg_RequestNoRsp(const char *pcMsgID, cJSON *pstBody);

/* The "result" of an answer: 0 and *ps32Result, or -1 for an answer that is not JSON or has no
 * whole-number "result" (logged). */
int IpcMsg_AnswerResult(const char *pcRsp, int32_t *ps32Result);

/* The body of a query answer: logs "pMsgBuf:%s\n"; NULL (logged) when the recorder refused the
 * query (msgID "QUREY_ERROR") or the answer is not JSON. The caller deletes it. */
cJSON *IpcMsg_QueryAnswer(const char *pcRsp, const MsgHeader *pstRspHdr);

/* Sends a query that carries only "msgHdr" and returns its answer's body (see
 * IpcMsg_QueryAnswer) through *ppstRoot. 0, or the first error (logged). */
#define IPCMSG_QUERY_RSP_SIZE 1024
int IpcMsg_Query(const char *pcMsgID, uint32_t u32TimeoutMs, cJSON **ppstRoot);

/* A record filled by a query (device, device-link, 4G information): its lock, its storage, the
 * query and the function that reads an answer's body into it (called with the lock held and the
 * record cleared; 0 or -1). */
typedef struct {
    pthread_mutex_t *pstLock;
    void *pRecord;
    size_t size;
    const char *pcMsgID;
    uint32_t u32TimeoutMs;
    int (*pfnApply)(const cJSON *pstRoot);
} IpcMsg_QueryRecord;

/* Queries and reads the answer into the record: 0, the exchange's error, or the reader's -1. */
int IpcMsg_QueryRecordRun(const IpcMsg_QueryRecord *pstQuery);
void IpcMsg_QueryRecordClear(const IpcMsg_QueryRecord *pstQuery);
/* Copies the record under its lock: 0, or -1 for a null destination. */
int IpcMsg_QueryRecordCopy(const IpcMsg_QueryRecord *pstQuery, void *pDst);

/* Parses a key/value body ("int_params" then "string_params") and hands each entry to fnInt or
 * fnStr. 0, or -1 for a text that is not JSON (logged). Entries of the wrong form are counted
 * and logged once, with what (for example "status"). */
int IpcMsg_HandleKeyValueBody(const char *pcMsg, IpcMsg_IntParamFn fnInt, IpcMsg_StrParamFn fnStr,
                              const char *pcWhat);

/* Sends a request, waits for its answer and reads its "result": 0 and *ps32Result, or the
 * exchange's error, or -1 for an answer without a whole-number result. */
#define IPCMSG_RESULT_RSP_SIZE 128 /* the answer buffer of requests answered with "result" */
int IpcMsg_RequestResult(const char *pcMsgID, cJSON *pstBody, uint32_t u32TimeoutMs, int32_t *ps32Result);

/* A number of a body that fits an int32 and is whole: true and *ps32Out, else false. */
bool IpcMsg_GetInt32(const cJSON *pstItem, int32_t *ps32Out);

/* Walks "int_params" then "string_params" of a body: for each entry with a text "key", calls
 * fnInt with the value (NULL when it is missing, not a whole number or out of the int32 range)
 * or fnStr with the text value (NULL when missing or not a text). Entries that are not objects
 * or lack a text key, and lists that are not arrays, are skipped; the count of skipped or
 * invalid entries is returned through pu32Bad (may be NULL). */
void IpcMsg_ForEachParam(const cJSON *pstRoot, IpcMsg_IntParamFn fnInt, IpcMsg_StrParamFn fnStr,
                         uint32_t *pu32Bad);

/* Copies at most size - 1 bytes and terminates; a UTF-8 character that does not fit whole is
 * left out. */
void IpcMsg_CopyText(char *pcDst, uint32_t u32Size, const char *pcSrc);

#ifdef __cplusplus
}
#endif

#endif /* IPCMSG_COMMON_H */
