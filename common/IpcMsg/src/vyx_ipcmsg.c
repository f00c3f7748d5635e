/*
 * IPC message agent: queues, receive threads, dispatch and the pending-request list.
 *
 * The pending list holds one node per request that waits for an answer. An answer is matched
 * under the agent mutex to the newest node with the same message id and transaction id that has
 * not been answered yet; a synchronous waiter removes exactly its own node under the same mutex
 * before it returns, so no answer is ever copied into the buffer of a caller that has returned
 * and no waiter touches another waiter's node.
 */
#define _GNU_SOURCE
#include "vyx_ipcmsg.h"

#include <errno.h>
#include <pthread.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ipc.h>
#include <sys/msg.h>
#include <time.h>
#include <unistd.h>

#include "log.h"
#include "vyx_pthread.h"

#if defined(__SIZEOF_POINTER__) && __SIZEOF_POINTER__ == 4
_Static_assert(sizeof(MsgHeader) == 48, "the message header is 48 bytes");
_Static_assert(sizeof(VYX_IPCMSG_ReqNode) == 64, "a pending-request node is 64 bytes");
#endif

typedef struct {
    long mtype;
    char mtext[VYX_IPCMSG_TEXT_SIZE];
} IpcQueueMsg;

/* The coloured message: ESC[46;31m[function:line]ESC[0m "text"\r\n */
#define IPCMSG_COLOR(fmt, ...)                                                                               \
    printf("\033[46;31m[%s:%d]\033[0m \"" fmt "\"\r\n", __func__, __LINE__, ##__VA_ARGS__)

static VYX_IPCMSG_Slot s_astSlots[VYX_IPCMSG_SLOT_COUNT];
static bool s_bSlotsInited;
static VYX_IPCMSG_Slot *s_pstSendSlot;
static volatile bool s_bInited;
static const VYX_IPCMSG_HandlerRow *s_pstHandlers;
static int s_s32HandlerCount;
static pthread_mutex_t s_agentMutex = PTHREAD_MUTEX_INITIALIZER; /* guards list searches */
static pthread_mutex_t s_listLock = PTHREAD_MUTEX_INITIALIZER;   /* guards insertion and removal */
static VYX_IPCMSG_ReqNode s_stListHead = {
    &s_stListHead, &s_stListHead, VYX_IPCMSG_NODE_ASYNC, NULL, 0, "", 0, NULL, 0};

static void ipcmsg_list_unlink(VYX_IPCMSG_ReqNode *pstNode) {
    if (pthread_mutex_lock(&s_listLock) != 0) {
        IPCMSG_COLOR("sem_wait fail!\\n");
        return;
    }
    pstNode->pstPrev->pstNext = pstNode->pstNext;
    pstNode->pstNext->pstPrev = pstNode->pstPrev;
    pstNode->pstPrev = pstNode->pstNext = NULL;
    if (pthread_mutex_unlock(&s_listLock) != 0) {
        IPCMSG_COLOR("sem_post fail!\\n");
    }
    free(pstNode);
}

int VYX_IPCMSG_AgentInit(int keyRecv, int keySend, const VYX_IPCMSG_HandlerRow *pstHandlers, int count) {
    printf("%s in , %#x  %#x\n", "VYX_IPCMSG_AgentInit", (unsigned)keyRecv, (unsigned)keySend);
    pthread_mutex_lock(&s_agentMutex);
    s_pstHandlers = pstHandlers;
    s_s32HandlerCount = pstHandlers != NULL ? count : 0;
    bool bInited = false;
    VYX_IPCMSG_Slot *pstSlot = NULL;
    int s32Ret = VYX_IPCMSG_CreateSvr(keyRecv, keySend, VYX_IPCMSG_HandleMsg, &bInited, &pstSlot);
    pthread_mutex_unlock(&s_agentMutex);
    if (s32Ret != 0) {
        LOG_ERROR("CreateSvr error\n");
    }
    return s32Ret;
}

void VYX_IPCMSG_InitParam(void) {
    printf("%s in\n", __func__);
    for (int i = 0; i < VYX_IPCMSG_SLOT_COUNT; i++) {
        VYX_IPCMSG_Slot *pstSlot = &s_astSlots[i];
        pstSlot->s32Id = i;
        pstSlot->bUsed = false;
        pstSlot->s32KeyRecv = 0;
        pstSlot->s32KeySend = 0;
        pstSlot->s32SendQid = -1;
        pstSlot->lRecvType = i == 0 ? 2 : 1;
        pstSlot->fnHandle = NULL;
        pstSlot->pcRecvBuf = NULL;
    }
    s_bSlotsInited = true;
}

/* ---- receive side ---------------------------------------------------------------------- */

/*
 * A peer that breaks the protocol must never stop the receive threads from taking the next
 * good message. The threads receive with MSG_NOERROR into an area larger than the protocol's
 * 2048 bytes, so an oversized message is taken off the queue (and cut like an oversized send)
 * instead of failing every receive; the first thread takes type 2 and every type that no thread
 * asks for, so no message can stay in the queue for good; and a thread takes the next message
 * as soon as it has handled one, so a burst drains as fast as the handlers run. The pause after
 * a failed receive keeps a persistent error from spinning.
 */
#define IPCMSG_RCV_AREA      (64 * 1024) /* larger than any message the kernel's default allows */
#define IPCMSG_TYPE_MAIN     1L          /* the type every sender uses, taken by slots 1 and 2 */
#define IPCMSG_ERR_PAUSE_US  (20 * 1000)
#define IPCMSG_LOG_WINDOW_MS 1000

typedef struct {
    long mtype;
    char mtext[IPCMSG_RCV_AREA];
} IpcRcvMsg;

/*
 * Repeated reports of one kind: the first of each one-second window is printed in full, the
 * others only counted, and their number goes with the next full line.
 */
typedef struct {
    pthread_mutex_t mutex;
    uint64_t u64WindowMs;
    uint32_t u32Held;
    bool bStarted;
} IpcmsgLimit;

#define IPCMSG_LIMIT_INIT                                                                                    \
    { PTHREAD_MUTEX_INITIALIZER, 0, 0, false }

static IpcmsgLimit s_stOversizeLimit = IPCMSG_LIMIT_INIT;
static IpcmsgLimit s_stForeignLimit = IPCMSG_LIMIT_INIT;
static IpcmsgLimit s_stRcvErrLimit = IPCMSG_LIMIT_INIT;
static IpcmsgLimit s_stSendErrLimit = IPCMSG_LIMIT_INIT;
static atomic_bool s_bSendFailing;

static uint64_t ipcmsg_now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint64_t)ts.tv_sec * 1000u + (uint64_t)ts.tv_nsec / 1000000u;
}

/* True when this event is to be printed; *pu32Held is the number held back before it. */
static bool ipcmsg_limit_pass(IpcmsgLimit *pstLimit, uint32_t *pu32Held) {
    uint64_t u64Now = ipcmsg_now_ms();
    bool bPass = false;
    pthread_mutex_lock(&pstLimit->mutex);
    if (!pstLimit->bStarted || u64Now - pstLimit->u64WindowMs >= IPCMSG_LOG_WINDOW_MS) {
        pstLimit->bStarted = true;
        pstLimit->u64WindowMs = u64Now;
        *pu32Held = pstLimit->u32Held;
        pstLimit->u32Held = 0;
        bPass = true;
    } else {
        pstLimit->u32Held++;
    }
    pthread_mutex_unlock(&pstLimit->mutex);
    return bPass;
}

/* The number of events counted but not printed, which is cleared (for the "recovered" lines). */
static uint32_t ipcmsg_limit_take_held(IpcmsgLimit *pstLimit) {
    pthread_mutex_lock(&pstLimit->mutex);
    uint32_t u32Held = pstLimit->u32Held;
    pstLimit->u32Held = 0;
    pstLimit->bStarted = false;
    pthread_mutex_unlock(&pstLimit->mutex);
    return u32Held;
}

/*
 * The state of the receive queue after a message was taken, reported once when it has no room
 * left for a full-size message and once when it has drained to half, never per message.
 */
static atomic_bool s_bRcvQueueFull;

/* Bytes in a queue: glibc names the member with two underscores, musl without. */
#ifdef __GLIBC__
#define IPCMSG_QUEUE_BYTES(ds) ((ds).__msg_cbytes)
#else
#define IPCMSG_QUEUE_BYTES(ds) ((ds).msg_cbytes)
#endif

static void ipcmsg_check_queue(int s32Qid) {
    struct msqid_ds stDs;
    if (msgctl(s32Qid, IPC_STAT, &stDs) != 0) {
        return;
    }
    unsigned long ulUsed = (unsigned long)IPCMSG_QUEUE_BYTES(stDs);
    unsigned long ulCap = (unsigned long)stDs.msg_qbytes;
    bool bFull = ulUsed + VYX_IPCMSG_TEXT_SIZE > ulCap;
    if (bFull && !atomic_exchange(&s_bRcvQueueFull, true)) {
        printf("[%s %d] receive queue full: %lu messages, %lu of %lu bytes; the peer's sends fail until it "
               "drains\n",
               __func__, __LINE__, (unsigned long)stDs.msg_qnum, ulUsed, ulCap);
    } else if (!bFull && ulUsed <= ulCap / 2 && atomic_exchange(&s_bRcvQueueFull, false)) {
        printf("[%s %d] receive queue drained: %lu messages, %lu of %lu bytes\n", __func__, __LINE__,
               (unsigned long)stDs.msg_qnum, ulUsed, ulCap);
    }
}

/* What one receive thread asks msgrcv for: slot 0 takes its own type and every type that is
 * not the main one, so that messages of types no thread takes are drained. */
static void ipcmsg_rcv_filter(const VYX_IPCMSG_Slot *pstSlot, long *plType, int *ps32Flags) {
    *ps32Flags = MSG_NOERROR;
    *plType = pstSlot->lRecvType;
    if (pstSlot->s32Id == 0 && pstSlot->lRecvType != IPCMSG_TYPE_MAIN) {
        *plType = IPCMSG_TYPE_MAIN;
        *ps32Flags |= MSG_EXCEPT;
    }
}

/* Takes one message; returns its text length, or -1 when it was not for a handler. */
static int ipcmsg_take(const VYX_IPCMSG_Slot *pstSlot, IpcRcvMsg *pstMsg, ssize_t n) {
    uint32_t u32Held = 0;
    if (pstMsg->mtype != pstSlot->lRecvType) {
        if (ipcmsg_limit_pass(&s_stForeignLimit, &u32Held)) {
            printf("[%s %d] message of type %ld (%zd bytes) is taken by no receive thread: dropped (%u more "
                   "dropped before it)\n",
                   __func__, __LINE__, pstMsg->mtype, n, u32Held);
        }
        return -1;
    }
    if (n > VYX_IPCMSG_TEXT_SIZE) {
        if (ipcmsg_limit_pass(&s_stOversizeLimit, &u32Held)) {
            printf(
                "[%s %d] message of %s%zd bytes is longer than the %d-byte text area: cut to %d characters "
                "(%u more cut before it)\n",
                __func__, __LINE__, n >= IPCMSG_RCV_AREA ? "at least " : "", n, VYX_IPCMSG_TEXT_SIZE,
                VYX_IPCMSG_TEXT_SIZE - 1, u32Held);
        }
        n = VYX_IPCMSG_TEXT_SIZE;
    }
    /* The text always ends in NUL within the area, whatever the sender put there. */
    size_t len =
        strnlen(pstMsg->mtext, (size_t)n < VYX_IPCMSG_TEXT_SIZE ? (size_t)n : VYX_IPCMSG_TEXT_SIZE - 1);
    return (int)len;
}

static void *VYX_IPCMSG_RcvMsgThread(void *pVoid) {
    VYX_IPCMSG_Slot *pstSlot = pVoid;
    pthread_setname_np(pthread_self(), "IPCMSG_RcvMsg");
    if (pstSlot == NULL || pstSlot->pcRecvBuf == NULL) {
        printf("[%s %d]Error! pVoid is NULL\n", __func__, __LINE__);
        return NULL;
    }
    int s32Qid = msgget((key_t)pstSlot->s32KeyRecv, IPC_CREAT | 0666);
    if (s32Qid < 0) {
        printf("[%s %d]msgget failed errno.%02d is: %s\n", __func__, __LINE__, errno, strerror(errno));
        return NULL;
    }
    IpcRcvMsg *pstMsg = malloc(sizeof(*pstMsg));
    if (pstMsg == NULL) {
        printf("[%s %d] malloc(%d) \n", __func__, __LINE__, (int)sizeof(*pstMsg));
        return NULL;
    }
    long lType = 0;
    int s32Flags = 0;
    ipcmsg_rcv_filter(pstSlot, &lType, &s32Flags);
    for (;;) {
        pstMsg->mtext[0] = '\0';
        ssize_t n = msgrcv(s32Qid, pstMsg, IPCMSG_RCV_AREA, lType, s32Flags);
        if (n < 0) {
            int s32Err = errno;
            if (s32Err == EINTR) {
                continue;
            }
            uint32_t u32Held = 0;
            if (ipcmsg_limit_pass(&s_stRcvErrLimit, &u32Held)) {
                printf("[%s %d] msgrcv failed: %s\n", __func__, __LINE__, strerror(s32Err));
            }
            if (s32Err == EIDRM || s32Err == EINVAL) {
                /* The queue was removed under us: the next one with the key is ours. */
                int s32New = msgget((key_t)pstSlot->s32KeyRecv, IPC_CREAT | 0666);
                if (s32New >= 0) {
                    s32Qid = s32New;
                }
            }
            usleep(IPCMSG_ERR_PAUSE_US);
            continue;
        }
        int s32Len = ipcmsg_take(pstSlot, pstMsg, n);
        if (s32Len >= 0) {
            memset(pstSlot->pcRecvBuf, 0, VYX_IPCMSG_TEXT_SIZE);
            memcpy(pstSlot->pcRecvBuf, pstMsg->mtext, (size_t)s32Len);
            if (pstSlot->fnHandle != NULL) {
                pstSlot->fnHandle(pstSlot->pcRecvBuf);
            }
        }
        ipcmsg_check_queue(s32Qid);
    }
    return NULL;
}

int VYX_IPCMSG_CreateSvr(int keyRecv, int keySend, VYX_IPCMSG_SlotFn fnHandle, bool *pbInited,
                         VYX_IPCMSG_Slot **ppstIpcmsg) {
    printf("[%s %d] in \n", __func__, __LINE__);
    if (!s_bSlotsInited) {
        VYX_IPCMSG_InitParam();
    }
    for (int i = 0; i < VYX_IPCMSG_SLOT_COUNT; i++) {
        VYX_IPCMSG_Slot *pstSlot = &s_astSlots[i];
        if (pstSlot->bUsed) {
            continue;
        }
        pstSlot->s32KeyRecv = keyRecv;
        pstSlot->s32KeySend = keySend;
        pstSlot->bUsed = true;
        pstSlot->fnHandle = fnHandle;
        pstSlot->pcRecvBuf = calloc(1, VYX_IPCMSG_TEXT_SIZE);
        if (pstSlot->pcRecvBuf == NULL) {
            printf("[%s %d] malloc(%d) \n", __func__, __LINE__, VYX_IPCMSG_TEXT_SIZE);
            return -1;
        }
        if (i == 0) {
            /* The send queue is open before any receive thread can hand a request to a handler
             * that answers it. */
            pstSlot->s32SendQid = msgget((key_t)keySend, IPC_CREAT | 0666);
            if (pstSlot->s32SendQid < 0) {
                printf("[%s %d]s32KeySend:%d msgget failed\n", __func__, __LINE__, keySend);
                return -2;
            }
            s_pstSendSlot = pstSlot;
            if (ppstIpcmsg != NULL) {
                *ppstIpcmsg = pstSlot;
            }
            s_bInited = true;
            if (pbInited != NULL) {
                *pbInited = true;
            }
        }
        pthread_attr_t attr;
        pthread_attr_init(&attr);
        pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
        size_t stack = 0;
        if (pthread_attr_getstacksize(&attr, &stack) != 0) {
            printf("[%s][%d]: pthread_attr_getstacksize error.\n", __func__, __LINE__);
        }
        if (pthread_attr_setstacksize(&attr, VYX_IPCMSG_RCV_STACK) != 0) {
            printf("[%s][%d]: pthread_attr_setstacksize error.\n", __func__, __LINE__);
        }
        pthread_t tid;
        int s32Ret = VYX_pthread_create(&tid, &attr, VYX_IPCMSG_RcvMsgThread, pstSlot, __func__,
                                        "VYX_IPCMSG_RcvMsgThread");
        pthread_attr_destroy(&attr);
        if (s32Ret != 0) {
            printf("[%s %d]pthread_create failed:%d\n", __func__, __LINE__, s32Ret);
            return -2;
        }
        printf("[%s %d] out, ppIpcmsg(%d):%p\n", __func__, __LINE__, i, (void *)pstSlot);
    }
    printf("[%s %d]create ipcmsgSvr successful\n", __func__, __LINE__);
    return 0;
}

int VYX_IPCMSG_DestroySvr(VYX_IPCMSG_Slot *pstIpcmsg) {
    printf("[%s %d] in pRecorder:%p\n", __func__, __LINE__, (void *)pstIpcmsg);
    if (pstIpcmsg == NULL) {
        printf("[%s %d]Error, pstIpcmsg is NULL !\n", __func__, __LINE__);
        return -1;
    }
    if (!pstIpcmsg->bUsed) {
        printf("[%s %d]Error, pstIpcmsg(%d):%p is not used !\n", __func__, __LINE__, pstIpcmsg->s32Id,
               (void *)pstIpcmsg);
        return -2;
    }
    pstIpcmsg->bUsed = false;
    pstIpcmsg->s32KeyRecv = 0;
    pstIpcmsg->s32KeySend = 0;
    pstIpcmsg->fnHandle = NULL;
    pstIpcmsg->s32SendQid = -1;
    free(pstIpcmsg->pcRecvBuf);
    pstIpcmsg->pcRecvBuf = NULL;
    printf("[%s %d] out pIpcmsg(%d):%p\n", __func__, __LINE__, pstIpcmsg->s32Id, (void *)pstIpcmsg);
    return 0;
}

int VYX_IPCMSG_EncodeMsgHeader(const MsgHeader *pstHdr, cJSON **ppJson) {
    if (pstHdr == NULL || ppJson == NULL) {
        printf("[%s %d] addr is null!\n", __func__, __LINE__);
        return -1;
    }
    cJSON *pstObj = cJSON_CreateObject();
    if (pstObj == NULL) {
        return -1;
    }
    char szId[VYX_IPCMSG_ID_SIZE];
    snprintf(szId, sizeof(szId), "%s", pstHdr->msgID);
    if (cJSON_AddNumberToObject(pstObj, "protVer", pstHdr->protVer) == NULL ||
        cJSON_AddStringToObject(pstObj, "msgID", szId) == NULL ||
        cJSON_AddNumberToObject(pstObj, "transID", pstHdr->transID) == NULL ||
        cJSON_AddNumberToObject(pstObj, "isAck", pstHdr->isAck ? 1 : 0) == NULL ||
        cJSON_AddNumberToObject(pstObj, "needAck", pstHdr->needAck ? 1 : 0) == NULL) {
        cJSON_Delete(pstObj);
        return -1;
    }
    *ppJson = pstObj;
    return 0;
}

/* A number member as an unsigned value; anything else (missing, not a number, out of range) is 0. */
static uint32_t ipcmsg_get_u32(const cJSON *pstObj, const char *pcName) {
    const cJSON *pstItem = cJSON_GetObjectItemCaseSensitive(pstObj, pcName);
    if (!cJSON_IsNumber(pstItem) || !(pstItem->valuedouble >= 0.0) || pstItem->valuedouble > 4294967295.0) {
        return 0;
    }
    return (uint32_t)pstItem->valuedouble;
}

int VYX_IPCMSG_DecodeMsgHeader(const char *pcText, MsgHeader *pstHdr) {
    if (pcText == NULL || pstHdr == NULL) {
        printf("[%s %d] addr is null!\n", __func__, __LINE__);
        return -1;
    }
    memset(pstHdr, 0, sizeof(*pstHdr));
    cJSON *pstRoot = cJSON_Parse(pcText);
    if (pstRoot == NULL) {
        return -1;
    }
    const cJSON *pstHdrObj = cJSON_GetObjectItemCaseSensitive(pstRoot, "msgHdr");
    if (!cJSON_IsObject(pstHdrObj)) {
        cJSON_Delete(pstRoot);
        return -1;
    }
    const cJSON *pstVer = cJSON_GetObjectItemCaseSensitive(pstHdrObj, "protVer");
    if (cJSON_IsNumber(pstVer)) {
        pstHdr->protVer = pstVer->valueint;
    }
    const cJSON *pstId = cJSON_GetObjectItemCaseSensitive(pstHdrObj, "msgID");
    if (cJSON_IsString(pstId) && pstId->valuestring != NULL) {
        snprintf(pstHdr->msgID, sizeof(pstHdr->msgID), "%s", pstId->valuestring);
    }
    pstHdr->transID = ipcmsg_get_u32(pstHdrObj, "transID");
    pstHdr->isAck = ipcmsg_get_u32(pstHdrObj, "isAck") ? 1 : 0;
    pstHdr->needAck = ipcmsg_get_u32(pstHdrObj, "needAck") ? 1 : 0;
    cJSON_Delete(pstRoot);
    return 0;
}

void VYX_IPCMSG_InitHeader(MsgHeader *pstHdr, const char *pcMsgID, uint32_t isAck, uint32_t needAck) {
    memset(pstHdr, 0, sizeof(*pstHdr));
    snprintf(pstHdr->msgID, sizeof(pstHdr->msgID), "%s", pcMsgID != NULL ? pcMsgID : "");
    pstHdr->transID = (uint32_t)time(NULL);
    pstHdr->isAck = isAck ? 1 : 0;
    pstHdr->needAck = needAck ? 1 : 0;
}

char *VYX_IPCMSG_BuildMsg(const MsgHeader *pstHdr, cJSON *pstBody) {
    cJSON *pstHdrObj = NULL;
    if (VYX_IPCMSG_EncodeMsgHeader(pstHdr, &pstHdrObj) != 0) {
        cJSON_Delete(pstBody);
        return NULL;
    }
    cJSON *pstRoot = cJSON_CreateObject();
    if (pstRoot == NULL) {
        cJSON_Delete(pstHdrObj);
        cJSON_Delete(pstBody);
        return NULL;
    }
    cJSON_AddItemToObject(pstRoot, "msgHdr", pstHdrObj);
    if (pstBody != NULL) {
        cJSON *pstItem = pstBody->child;
        while (pstItem != NULL) {
            cJSON *pstNext = pstItem->next;
            cJSON_DetachItemViaPointer(pstBody, pstItem);
            // Members of an array body have no names: they are dropped, not leaked.
            if (pstItem->string == NULL || !cJSON_AddItemToObject(pstRoot, pstItem->string, pstItem))
                cJSON_Delete(pstItem);
            pstItem = pstNext;
        }
        cJSON_Delete(pstBody);
    }
    char *pcText = cJSON_PrintUnformatted(pstRoot);
    cJSON_Delete(pstRoot);
    return pcText;
}

static int VYX_IPCMSG_ReqMsgProc(const char *pcMsg, const MsgHeader *pstHdr) {
    if (s_pstHandlers == NULL) {
        printf("[%s %d] addr is null!\n", __func__, __LINE__);
        return -1;
    }
    for (int i = 0; i < s_s32HandlerCount; i++) {
        if (strncmp(s_pstHandlers[i].msgID, pstHdr->msgID, VYX_IPCMSG_ID_SIZE) == 0) {
            return s_pstHandlers[i].fnHandle != NULL ? s_pstHandlers[i].fnHandle(pcMsg, pstHdr) : -1;
        }
    }
    IPCMSG_COLOR("unknow MsgID----[%s].", pstHdr->msgID);
    return -1;
}

static int VYX_IPCMSG_RspMsgProc(const char *pcMsg, const MsgHeader *pstHdr) {
    pthread_mutex_lock(&s_agentMutex);
    VYX_IPCMSG_ReqNode *pstNode = s_stListHead.pstNext;
    while (pstNode != &s_stListHead) {
        /* An answered synchronous node only waits for its owner to remove it: a second answer
         * with the same id and second belongs to an older request. */
        if (strncmp(pstNode->msgID, pstHdr->msgID, VYX_IPCMSG_ID_SIZE) == 0 &&
            pstNode->transID == pstHdr->transID &&
            !(pstNode->enNodeType == VYX_IPCMSG_NODE_SYNC &&
              __atomic_load_n(&pstNode->bDone, __ATOMIC_ACQUIRE))) {
            break;
        }
        pstNode = pstNode->pstNext;
    }
    if (pstNode == &s_stListHead) {
        pthread_mutex_unlock(&s_agentMutex);
        return 0;
    }
    if (pstNode->enNodeType == VYX_IPCMSG_NODE_ASYNC) {
        VYX_IPCMSG_RspFn fnRsp = pstNode->fnRsp;
        ipcmsg_list_unlink(pstNode);
        pthread_mutex_unlock(&s_agentMutex);
        /* The callback runs without the agent mutex, so it may send requests of its own. */
        if (fnRsp != NULL) {
            fnRsp(pcMsg, pstHdr);
        } else {
            IPCMSG_COLOR("id(%s) pNode->fnRsp is NULL error", pstHdr->msgID);
        }
        return 0;
    }
    if (pstNode->enNodeType == VYX_IPCMSG_NODE_SYNC) {
        if (pstNode->pcRspBuf != NULL && pstNode->u32RspLen > 0) {
            snprintf(pstNode->pcRspBuf, pstNode->u32RspLen, "%s", pcMsg);
            pstNode->pcRspBuf[pstNode->u32RspLen - 1] = '\0';
        }
        __atomic_store_n(&pstNode->bDone, 1, __ATOMIC_RELEASE);
        pthread_mutex_unlock(&s_agentMutex);
        return 0;
    }
    IPCMSG_COLOR("id(%s) pNode->enNodeType is error", pstHdr->msgID);
    ipcmsg_list_unlink(pstNode);
    pthread_mutex_unlock(&s_agentMutex);
    return 0;
}

int VYX_IPCMSG_HandleMsg(const char *pcMsg) {
    if (pcMsg == NULL) {
        printf("[%s %d] addr is null!\n", __func__, __LINE__);
        return -1;
    }
    MsgHeader stHdr;
    int s32Ret = VYX_IPCMSG_DecodeMsgHeader(pcMsg, &stHdr);
    if (s32Ret != 0) {
        printf("[%s][%d]Error Code: [0x%08X]\n", __func__, __LINE__, (unsigned)s32Ret);
        memset(&stHdr, 0, sizeof(stHdr));
    }
    if (stHdr.isAck == 0) {
        return VYX_IPCMSG_ReqMsgProc(pcMsg, &stHdr);
    }
    return VYX_IPCMSG_RspMsgProc(pcMsg, &stHdr);
}

int VYX_IPCMSG_SendOnly(VYX_IPCMSG_Slot *pstIpcmsg, const char *pcMsg, uint32_t len, long type) {
    if (pstIpcmsg == NULL) {
        printf("[%s %d]Error, pstIpcmsg is NULL !\n", __func__, __LINE__);
        return -1;
    }
    if (!pstIpcmsg->bUsed) {
        printf("[%s %d]Error, pstIpcmsg(%d):%p is not used !\n", __func__, __LINE__, pstIpcmsg->s32Id,
               (void *)pstIpcmsg);
        return -2;
    }
    if (pcMsg == NULL || len == 0) {
        printf("[%s %d]param err, s32Id:%d size:%d\n", __func__, __LINE__, pstIpcmsg->s32Id, (int)len);
        return -2;
    }
    IpcQueueMsg stMsg;
    stMsg.mtype = type;
    size_t size = len < VYX_IPCMSG_TEXT_SIZE ? len : VYX_IPCMSG_TEXT_SIZE;
    /* Copy no more than the caller's length: the text may not be NUL-terminated within it. */
    memset(stMsg.mtext, 0, sizeof(stMsg.mtext));
    memcpy(stMsg.mtext, pcMsg, strnlen(pcMsg, size));
    stMsg.mtext[VYX_IPCMSG_TEXT_SIZE - 1] = '\0';
    if (msgsnd(pstIpcmsg->s32SendQid, &stMsg, size, IPC_NOWAIT) != 0) {
        int s32Err = errno;
        /* A full or missing peer queue fails every send until the peer takes messages again:
         * the first failure of each second is printed with its cause, the rest are counted. */
        uint32_t u32Held = 0;
        if (ipcmsg_limit_pass(&s_stSendErrLimit, &u32Held)) {
            printf("[%s %d] pIpcmsg:%p send msg(%d) failed\n", __func__, __LINE__, (void *)pstIpcmsg,
                   (int)type);
            printf("[%s %d] send failed: %s (%u more sends failed before it)\n", __func__, __LINE__,
                   strerror(s32Err), u32Held);
            if (s32Err == EAGAIN && pstIpcmsg->s32KeySend == VYX_IPCMSG_KEY_UI_RECV) {
                printf("[%s %d] Message queue full! UI might dead\n", __func__, __LINE__);
            }
        }
        atomic_store(&s_bSendFailing, true);
        return -1;
    }
    if (atomic_load(&s_bSendFailing) && atomic_exchange(&s_bSendFailing, false)) {
        printf("[%s %d] send queue accepts messages again (%u failed sends not printed)\n", __func__,
               __LINE__, ipcmsg_limit_take_held(&s_stSendErrLimit));
    }
    return 0;
}

int VYX_IPCMSG_AddReqListItem(VYX_IPCMSG_NodeType enType, VYX_IPCMSG_RspFn fnRsp,
                              VYX_IPCMSG_ReqNode **ppstNode, const MsgHeader *pstHdr, char *pcRspBuf,
                              uint32_t rspLen) {
    VYX_IPCMSG_ReqNode *pstNode = calloc(1, sizeof(*pstNode));
    if (pstNode == NULL || pstHdr == NULL) {
        free(pstNode);
        printf("[%s %d] addr is null!\n", __func__, __LINE__);
        return VYX_IPCMSG_ERR_NOMEM;
    }
    memcpy(pstNode->msgID, pstHdr->msgID, VYX_IPCMSG_ID_SIZE);
    pstNode->msgID[VYX_IPCMSG_ID_SIZE - 1] = '\0';
    pstNode->transID = pstHdr->transID;
    pstNode->enNodeType = enType;
    pstNode->fnRsp = fnRsp;
    pstNode->pcRspBuf = pcRspBuf;
    pstNode->u32RspLen = rspLen;
    if (enType == VYX_IPCMSG_NODE_SYNC && (pcRspBuf == NULL || rspLen == 0)) {
        free(pstNode);
        printf("[%s %d] malloc addr is null!\n", __func__, __LINE__);
        return VYX_IPCMSG_ERR_NOMEM;
    }
    /* Answers walk the list under the agent mutex, so an insertion takes it as well (before the
     * list lock, the order every removal uses). */
    pthread_mutex_lock(&s_agentMutex);
    if (pthread_mutex_lock(&s_listLock) != 0) {
        pthread_mutex_unlock(&s_agentMutex);
        IPCMSG_COLOR("sem_wait fail!\\n");
        free(pstNode);
        return VYX_IPCMSG_ERR_NOMEM;
    }
    pstNode->pstPrev = &s_stListHead;
    pstNode->pstNext = s_stListHead.pstNext;
    s_stListHead.pstNext->pstPrev = pstNode;
    s_stListHead.pstNext = pstNode;
    if (pthread_mutex_unlock(&s_listLock) != 0) {
        IPCMSG_COLOR("sem_post fail!\\n");
    }
    pthread_mutex_unlock(&s_agentMutex);
    if (ppstNode != NULL) {
        *ppstNode = pstNode;
    }
    return 0;
}

int VYX_IPCMSG_RemoveReqListItem(VYX_IPCMSG_ReqNode *pstNode) {
    if (pstNode == NULL || pstNode == &s_stListHead) {
        printf("[%s %d] addr is null!\n", __func__, __LINE__);
        return -1;
    }
    pthread_mutex_lock(&s_agentMutex);
    ipcmsg_list_unlink(pstNode);
    pthread_mutex_unlock(&s_agentMutex);
    return 0;
}

int VYX_IPCMSG_PendingCount(void) {
    int n = 0;
    pthread_mutex_lock(&s_listLock);
    for (VYX_IPCMSG_ReqNode *p = s_stListHead.pstNext; p != &s_stListHead; p = p->pstNext) {
        n++;
    }
    pthread_mutex_unlock(&s_listLock);
    return n;
}

/* Steps shared by both kinds of request: checks, the outgoing header, the node, the send. */
static int ipcmsg_request(const char *pcMsg, uint32_t len, VYX_IPCMSG_NodeType enType, VYX_IPCMSG_RspFn fnRsp,
                          char *pcRspBuf, uint32_t rspLen, VYX_IPCMSG_ReqNode **ppstNode) {
    if (pcMsg == NULL) {
        printf("[%s %d] addr is null!\n", __func__, __LINE__);
        return -1;
    }
    if (!s_bInited || s_pstSendSlot == NULL) {
        printf("[%s][%d]Error not init\n", __func__, __LINE__);
        return VYX_IPCMSG_ERR_NOT_INIT;
    }
    MsgHeader stHdr;
    int s32Ret = VYX_IPCMSG_DecodeMsgHeader(pcMsg, &stHdr);
    if (s32Ret != 0) {
        printf("[%s][%d]Error Code: [0x%08X]\n", __func__, __LINE__, (unsigned)s32Ret);
        return s32Ret;
    }
    s32Ret = VYX_IPCMSG_AddReqListItem(enType, fnRsp, ppstNode, &stHdr, pcRspBuf, rspLen);
    if (s32Ret != 0) {
        return s32Ret;
    }
    return VYX_IPCMSG_SendOnly(s_pstSendSlot, pcMsg, len, 1);
}

int VYX_IPCMSG_SendSync(const char *pcMsg, uint32_t len, uint32_t timeoutMs, char *pcRspBuf,
                        uint32_t rspLen) {
    VYX_IPCMSG_ReqNode *pstNode = NULL;
    int s32Ret = ipcmsg_request(pcMsg, len, VYX_IPCMSG_NODE_SYNC, NULL, pcRspBuf, rspLen, &pstNode);
    if (pstNode == NULL) {
        return s32Ret;
    }
    if (s32Ret == 0) {
        uint32_t u32Waited = 0;
        for (;;) {
            if (u32Waited >= timeoutMs) {
                IPCMSG_COLOR("Time out\\n");
                s32Ret = VYX_IPCMSG_ERR_TIMEOUT;
                break;
            }
            usleep(10 * 1000);
            u32Waited += 10;
            if (__atomic_load_n(&pstNode->bDone, __ATOMIC_ACQUIRE)) {
                break;
            }
        }
    }
    /* The waiter removes its own node; holding the agent mutex makes sure no answer is being
     * copied into the buffer at this moment or after. */
    pthread_mutex_lock(&s_agentMutex);
    ipcmsg_list_unlink(pstNode);
    pthread_mutex_unlock(&s_agentMutex);
    return s32Ret;
}

int VYX_IPCMSG_SendAsync(const char *pcMsg, uint32_t len, VYX_IPCMSG_RspFn fnRsp) {
    VYX_IPCMSG_ReqNode *pstNode = NULL;
    int s32Ret = ipcmsg_request(pcMsg, len, VYX_IPCMSG_NODE_ASYNC, fnRsp, NULL, 0, &pstNode);
    if (s32Ret != 0 && pstNode != NULL) {
        /* Nothing was sent, so no answer will come for this node. */
        pthread_mutex_lock(&s_agentMutex);
        ipcmsg_list_unlink(pstNode);
        pthread_mutex_unlock(&s_agentMutex);
    }
    return s32Ret;
}

int VYX_IPCMSG_SendNoRsp(const char *pcMsg, uint32_t len) {
    return VYX_IPCMSG_SendRelTypeMsgNoRsp(pcMsg, len, 1);
}

int VYX_IPCMSG_SendRelTypeMsgNoRsp(const char *pcMsg, uint32_t len, long type) {
    if (pcMsg == NULL) {
        printf("[%s %d] addr is null!\n", __func__, __LINE__);
        return -1;
    }
    if (!s_bInited || s_pstSendSlot == NULL) {
        printf("[%s][%d]Error not init\n", __func__, __LINE__);
        return VYX_IPCMSG_ERR_NOT_INIT;
    }
    return VYX_IPCMSG_SendOnly(s_pstSendSlot, pcMsg, len, type);
}
