/*
 * "GeneralSeting": pulls of the settings copy, loads on the asking thread, and saves through the
 * save queue (ten places) to the save thread, which sends at most one every 50 ms.
 */
#include "DataProc.h"

#include <pthread.h>
#include <string.h>
#include <unistd.h>

#include <atomic>

#include "log.h"
#include "msg_queue.h"

namespace {

constexpr uint32_t kSaveQueueDepth = 10;
constexpr useconds_t kSavePeriodUs = 50 * 1000;

msg_queue s_stSaveQueue;
GeneralSetingReq s_astSaveSlots[kSaveQueueDepth];
std::atomic<int32_t> s_s32PendingSaves{0};

void *GeneralSetingItemSave_Thread(void *pArg) {
    (void)pArg;
    for (;;) {
        GeneralSetingReq stReq;
        memset(&stReq, 0, sizeof(stReq));
        if (msg_queue_try_recive(&s_stSaveQueue, &stReq) == 0) {
            LOG_INFO("msg_queue_try_recive\n");
            IpcMsg_GeneralSetingItemSave(stReq.eElem, stReq.pcValue, stReq.iValue);
            s_s32PendingSaves--;
        }
        usleep(kSavePeriodUs);
    }
    return nullptr;
}

/* A notice of "SystemStatus" that carries a setting: microphone, Bluetooth pairing. */
int DP_GeneralSeting_OnStatus(Account::EventParam *pstParam) {
    if (strcmp(pstParam->tran->ID, DP_ACCOUNT_SYSTEM_STATUS) != 0 ||
        pstParam->size != sizeof(SystemStatusNotice)) {
        return Account::RES_FAILED;
    }
    const SystemStatusNotice *pstNotice = static_cast<const SystemStatusNotice *>(pstParam->data_p);
    GeneralSetingInfo *pstInfo = IpcMsg_GeneralSetingGetInfo();
    IpcMsg_GeneralSetingLock();
    if (pstNotice->eType == SYS_STATUS_MIC) {
        pstInfo->mic_switch = pstNotice->stInfo.bMicOn;
    } else if (pstNotice->eType == SYS_STATUS_BTPAIR && pstInfo->btpair_state != 1) {
        pstInfo->btpair_state = pstNotice->stInfo.bBtPairSuccess;
    }
    IpcMsg_GeneralSetingUnlock();
    return Account::RES_OK;
}

int DP_GeneralSeting_OnNotify(const GeneralSetingReq *pstReq) {
    if (pstReq->bSave != 0) {
        if (msg_queue_send(&s_stSaveQueue, pstReq) == 0) {
            s_s32PendingSaves++;
            LOG_INFO("msg_queue_send success\r\n");
        } else {
            LOG_ERROR("msg_queue_send error\r\n");
            LOG_ERROR("save of item %d refused: the save queue is full\n", pstReq->eElem);
        }
        return Account::RES_OK;
    }
    if (pstReq->iElemNum != 0) {
        return IpcMsg_GeneralSetingItemLoad(pstReq->peElemList, pstReq->iElemNum) == 0 ? Account::RES_OK
                                                                                       : Account::RES_FAILED;
    }
    return IpcMsg_GeneralSetingItemLoadAll() == 0 ? Account::RES_OK : Account::RES_FAILED;
}

int DP_GeneralSeting_onEvent(Account *pstAccount, Account::EventParam *pstParam) {
    (void)pstAccount;
    switch (pstParam->event) {
    case Account::EVENT_PULL:
        if (pstParam->size != sizeof(GeneralSetingInfo) || pstParam->data_p == nullptr) {
            return Account::RES_SIZE_MISMATCH;
        }
        IpcMsg_GeneralSetingLock();
        memcpy(pstParam->data_p, IpcMsg_GeneralSetingGetInfo(), sizeof(GeneralSetingInfo));
        IpcMsg_GeneralSetingUnlock();
        return Account::RES_OK;
    case Account::EVENT_NOTIFY:
        if (pstParam->size != sizeof(GeneralSetingReq) || pstParam->data_p == nullptr) {
            return Account::RES_SIZE_MISMATCH;
        }
        return DP_GeneralSeting_OnNotify(static_cast<const GeneralSetingReq *>(pstParam->data_p));
    case Account::EVENT_PUBLISH:
        return DP_GeneralSeting_OnStatus(pstParam);
    default:
        return Account::RES_UNSUPPORTED;
    }
}

} // namespace

int32_t DP_GeneralSeting_PendingSaves(void) {
    return s_s32PendingSaves.load();
}

int DP_GeneralSeting_Init(Account *pstAccount) {
    pstAccount->SetEventCallback(DP_GeneralSeting_onEvent);
    pstAccount->Subscribe(DP_ACCOUNT_SYSTEM_STATUS);
    if (msg_queue_init(&s_stSaveQueue, s_astSaveSlots, sizeof(GeneralSetingReq), kSaveQueueDepth) == 0) {
        LOG_INFO("msg_queue_init done\r\n");
    } else {
        LOG_ERROR("msg_queue_init error\r\n");
    }
    pthread_attr_t stAttr;
    pthread_attr_init(&stAttr);
    pthread_attr_setdetachstate(&stAttr, PTHREAD_CREATE_DETACHED);
    pthread_t stTid;
    int s32Ret = pthread_create(&stTid, &stAttr, GeneralSetingItemSave_Thread, nullptr);
    pthread_attr_destroy(&stAttr);
    if (s32Ret != 0) {
        LOG_ERROR("pthread_create failed: %s !\n", strerror(s32Ret));
    } else {
        pthread_setname_np(stTid, "GeneralSetSave");
    }
    return 0;
}
