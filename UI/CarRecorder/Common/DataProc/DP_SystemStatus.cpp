/*
 * "SystemStatus": the notices of the status module, queued on the receive threads and published
 * one per 10 ms timer tick on the LVGL thread, in the order they were queued.
 */
#include "DataProc.h"

#include <deque>
#include <mutex>

#include "log.h"

namespace {

/* A peer that floods the program cannot make the queue grow without bound: past this many
 * waiting notices a new one is dropped and logged (once per overflow). */
constexpr size_t kNoticeQueueMax = 65536;

std::mutex s_stNoticeLock;
std::deque<SystemStatusNotice> s_astNotices;
bool s_bOverflowLogged = false;

int DP_SystemStatus_onEvent(Account *pstAccount, Account::EventParam *pstParam) {
    switch (pstParam->event) {
    case Account::EVENT_TIMER: {
        SystemStatusNotice stNotice;
        {
            std::lock_guard<std::mutex> stGuard(s_stNoticeLock);
            if (s_astNotices.empty()) {
                return Account::RES_OK;
            }
            stNotice = s_astNotices.front();
            s_astNotices.pop_front();
        }
        pstAccount->Commit(&stNotice, sizeof(stNotice));
        pstAccount->Publish();
        return Account::RES_OK;
    }
    case Account::EVENT_PULL:
        if (pstParam->size != sizeof(SystemStatusInfo) || pstParam->data_p == nullptr) {
            return Account::RES_SIZE_MISMATCH;
        }
        return IpcMsg_GetSystemStatusInfo(pstParam->data_p, pstParam->size) == 0 ? Account::RES_OK
                                                                                 : Account::RES_FAILED;
    case Account::EVENT_NOTIFY:
        if (pstParam->size != sizeof(SystemStatusInfo) || pstParam->data_p == nullptr) {
            return Account::RES_SIZE_MISMATCH;
        }
        return IpcMsg_SetSystemStatusInfo(pstParam->data_p, pstParam->size) == 0 ? Account::RES_OK
                                                                                 : Account::RES_FAILED;
    default:
        return Account::RES_UNSUPPORTED;
    }
}

} // namespace

void SystemStatusEvent(SystemStatusNotice stNotice) {
    LOG_INFO("\033[0;32;32mstSystemStatus.eType:   %d\n\033[m", stNotice.eType);
    std::lock_guard<std::mutex> stGuard(s_stNoticeLock);
    if (s_astNotices.size() >= kNoticeQueueMax) {
        if (!s_bOverflowLogged) {
            LOG_ERROR("status notice queue full (%u), notices dropped\n", (unsigned)kNoticeQueueMax);
            s_bOverflowLogged = true;
        }
        return;
    }
    s_bOverflowLogged = false;
    s_astNotices.push_back(stNotice);
}

uint32_t DP_SystemStatus_PendingCount(void) {
    std::lock_guard<std::mutex> stGuard(s_stNoticeLock);
    return static_cast<uint32_t>(s_astNotices.size());
}

int DP_SystemStatus_Init(Account *pstAccount) {
    pstAccount->SetEventCallback(DP_SystemStatus_onEvent);
    pstAccount->SetTimerPeriod(10);
    IpcMsg_SetStatusCallback(SystemStatusEvent);
    return 0;
}
