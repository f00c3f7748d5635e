/*
 * IPC message agent. The user interface and the recorder process exchange JSON documents over
 * two System V message queues. Every document is one object whose first member "msgHdr" is the
 * message header; the agent runs three receive threads on the receive queue, hands each request
 * to the handler of its message id, and matches answers to the requests waiting for them.
 */
#ifndef VYX_IPCMSG_H
#define VYX_IPCMSG_H

#include <stdbool.h>
#include <stdint.h>

#include <cjson/cJSON.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Queue keys: the user interface receives on the first and sends on the second. */
#define VYX_IPCMSG_KEY_UI_RECV 0x362789A4
#define VYX_IPCMSG_KEY_UI_SEND 0x362789A3

#define VYX_IPCMSG_TEXT_SIZE  2048 /* text area of one queue message, NUL included */
#define VYX_IPCMSG_ID_SIZE    32   /* message id, NUL included */
#define VYX_IPCMSG_SLOT_COUNT 3
#define VYX_IPCMSG_RCV_STACK  0x80000 /* stack of each receive thread */

/* Result codes besides 0 (success), -1 and -2. */
#define VYX_IPCMSG_ERR_NOMEM    0x64 /* no pending-request node, or a synchronous request without buffer */
#define VYX_IPCMSG_ERR_NOT_INIT 0x69
#define VYX_IPCMSG_ERR_TIMEOUT  0x6A

typedef struct {
    int32_t protVer;
    char msgID[VYX_IPCMSG_ID_SIZE];
    uint32_t transID;
    uint32_t isAck;
    uint32_t needAck;
} MsgHeader;

/* A handler receives the whole received text and its decoded header. */
typedef int (*VYX_IPCMSG_HandlerFn)(const char *pcMsg, const MsgHeader *pstHdr);

typedef struct {
    char msgID[VYX_IPCMSG_ID_SIZE];
    VYX_IPCMSG_HandlerFn fnHandle;
} VYX_IPCMSG_HandlerRow;

/* Answer callback of an asynchronous request; runs on a receive thread. */
typedef void (*VYX_IPCMSG_RspFn)(const char *pcMsg, const MsgHeader *pstHdr);

/* What a receive thread does with the text it took from the queue. */
typedef int (*VYX_IPCMSG_SlotFn)(const char *pcMsg);

typedef enum {
    VYX_IPCMSG_NODE_ASYNC = 0,
    VYX_IPCMSG_NODE_SYNC = 1,
} VYX_IPCMSG_NodeType;

typedef struct VYX_IPCMSG_ReqNode {
    struct VYX_IPCMSG_ReqNode *pstPrev;
    struct VYX_IPCMSG_ReqNode *pstNext;
    VYX_IPCMSG_NodeType enNodeType;
    VYX_IPCMSG_RspFn fnRsp;
    volatile int bDone;
    char msgID[VYX_IPCMSG_ID_SIZE];
    uint32_t transID;
    char *pcRspBuf;
    uint32_t u32RspLen;
} VYX_IPCMSG_ReqNode;

typedef struct {
    int s32Id;
    bool bUsed;
    int s32KeyRecv;
    int s32KeySend;
    int s32SendQid;
    long lRecvType;
    VYX_IPCMSG_SlotFn fnHandle;
    char *pcRecvBuf;
} VYX_IPCMSG_Slot;

/* Starts the agent: queues, receive threads, the handler table (kept by pointer). */
int VYX_IPCMSG_AgentInit(int keyRecv, int keySend, const VYX_IPCMSG_HandlerRow *pstHandlers, int count);

void VYX_IPCMSG_InitParam(void);
int VYX_IPCMSG_CreateSvr(int keyRecv, int keySend, VYX_IPCMSG_SlotFn fnHandle, bool *pbInited,
                         VYX_IPCMSG_Slot **ppstIpcmsg);
int VYX_IPCMSG_DestroySvr(VYX_IPCMSG_Slot *pstIpcmsg);

/* Creates *ppJson (caller deletes) with the five header members in order. */
int VYX_IPCMSG_EncodeMsgHeader(const MsgHeader *pstHdr, cJSON **ppJson);
/* Parses text and reads its "msgHdr". -1 on a null argument, unparsable text or missing header. */
int VYX_IPCMSG_DecodeMsgHeader(const char *pcText, MsgHeader *pstHdr);

/* Dispatch of one received text (what each receive thread calls). */
int VYX_IPCMSG_HandleMsg(const char *pcMsg);

/*
 * Sends a request and waits up to timeoutMs for its answer, which is copied into rspBuf (at most
 * rspLen - 1 characters and a NUL). Must not run on a receive thread.
 */
int VYX_IPCMSG_SendSync(const char *pcMsg, uint32_t len, uint32_t timeoutMs, char *pcRspBuf, uint32_t rspLen);
int VYX_IPCMSG_SendAsync(const char *pcMsg, uint32_t len, VYX_IPCMSG_RspFn fnRsp);
int VYX_IPCMSG_SendNoRsp(const char *pcMsg, uint32_t len);
int VYX_IPCMSG_SendRelTypeMsgNoRsp(const char *pcMsg, uint32_t len, long type);
int VYX_IPCMSG_SendOnly(VYX_IPCMSG_Slot *pstIpcmsg, const char *pcMsg, uint32_t len, long type);

int VYX_IPCMSG_AddReqListItem(VYX_IPCMSG_NodeType enType, VYX_IPCMSG_RspFn fnRsp,
                              VYX_IPCMSG_ReqNode **ppstNode, const MsgHeader *pstHdr, char *pcRspBuf,
                              uint32_t rspLen);
int VYX_IPCMSG_RemoveReqListItem(VYX_IPCMSG_ReqNode *pstNode);

/* Number of pending-request nodes (diagnosis and tests). */
int VYX_IPCMSG_PendingCount(void);

/* Fills a header for a new message: protVer 0, the id (cut to 31 characters), transID time(NULL). */
void VYX_IPCMSG_InitHeader(MsgHeader *pstHdr, const char *pcMsgID, uint32_t isAck, uint32_t needAck);

/*
 * Prints the document {"msgHdr":{...}, body members...} compactly. pstBody may be NULL; it is
 * deleted either way, its members moved after the header. Returns a malloc'd text (free with
 * cJSON_free) or NULL.
 */
char *VYX_IPCMSG_BuildMsg(const MsgHeader *pstHdr, cJSON *pstBody);

#ifdef __cplusplus
}
#endif

#endif /* VYX_IPCMSG_H */
