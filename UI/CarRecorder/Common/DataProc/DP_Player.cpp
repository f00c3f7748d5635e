/*
 * "Player": player commands to the recorder under the player lock, the state pull, and the queue
 * of player events published by the account's 10 ms timer while a player is open.
 */
#include "DataProc.h"

#include <stddef.h>
#include <stdio.h>

#include <deque>
#include <mutex>

#include "log.h"

namespace {

std::mutex s_stPlayerLock; /* serialises the player requests */
std::mutex s_stEventLock;  /* guards the event queue */
std::deque<PlayerState> s_astEvents;
Account *s_pstPlayerAccount = nullptr;
DP_PlayerPreparedFn s_fnPrepared = nullptr;

constexpr size_t kEventQueueMax = 256;

void SetPlayerInitStatus(uint8_t u8Flag) {
    IpcMsg_SetSystemStatusByte(offsetof(SystemStatusInfo, bIsPlayerInit), u8Flag);
    LOG_INFO("bIsPlayerInit[%d]\n", u8Flag);
}

bool PlayerIsOpen() {
    SystemStatusInfo stStatus;
    IpcMsg_GetSystemStatusInfo(&stStatus, sizeof(stStatus));
    return stStatus.bIsPlayerInit != 0;
}

void ClearEvents() {
    std::lock_guard<std::mutex> stGuard(s_stEventLock);
    s_astEvents.clear();
}

/* The receiver of player events (any thread). */
void DP_Player_OnEvent(int32_t eEvent, int32_t iPlayTime) {
    PlayerState stState;
    IpcMsg_PlayerGetState(&stState);
    stState.eEvent = eEvent;
    stState.iPlayTime = iPlayTime;
    std::lock_guard<std::mutex> stGuard(s_stEventLock);
    if (s_astEvents.size() < kEventQueueMax) {
        s_astEvents.push_back(stState);
    }
}

/* Refreshes the state from the recorder and copies it out. */
int RefreshState(PlayerState *pstOut) {
    int s32Ret = IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_GETPLAYSTATE, nullptr);
    IpcMsg_PlayerGetState(pstOut);
    return s32Ret;
}

int Failed(int s32Ret) {
    LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
    return Account::RES_FAILED;
}

int DP_Player_OnCommand(PlayerCtrlReq *pstReq) {
    std::lock_guard<std::mutex> stGuard(s_stPlayerLock);
    static const char *const s_apcSimple[] = {nullptr, nullptr, PLAYER_KEY_PLAY, PLAYER_KEY_RESUME,
                                              PLAYER_KEY_PAUSE};
    int s32Ret = 0;
    switch (pstReq->eCmd) {
    case PLAYER_CMD_INIT:
        IpcMsg_PlayerClearState();
        ClearEvents();
        if (s_pstPlayerAccount != nullptr) {
            s_pstPlayerAccount->SetTimerEnable(true);
        }
        s32Ret = IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_INIT, nullptr);
        if (s32Ret != 0) {
            return Failed(s32Ret);
        }
        SetPlayerInitStatus(1);
        return Account::RES_OK;
    case PLAYER_CMD_DEINIT:
        ClearEvents();
        if (s_pstPlayerAccount != nullptr) {
            s_pstPlayerAccount->SetTimerEnable(false);
        }
        if (!PlayerIsOpen()) {
            IpcMsg_PlayerGetState(&pstReq->stState);
            return Account::RES_OK;
        }
        IpcMsg_PlayerClearState();
        s32Ret = IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_DEINIT, nullptr);
        if (s32Ret != 0) {
            return Failed(s32Ret);
        }
        SetPlayerInitStatus(0);
        return Account::RES_OK;
    case PLAYER_CMD_PLAY:
    case PLAYER_CMD_RESUME:
    case PLAYER_CMD_PAUSE:
        s32Ret = IpcMsg_PlayerBlockingCtrlHandle(s_apcSimple[pstReq->eCmd], nullptr);
        return s32Ret == 0 ? Account::RES_OK : Failed(s32Ret);
    case PLAYER_CMD_STOP:
        ClearEvents();
        IpcMsg_PlayerClearState();
        s32Ret = IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_STOP, nullptr);
        return s32Ret == 0 ? Account::RES_OK : Failed(s32Ret);
    case PLAYER_CMD_SEEK: {
        char szPos[24];
        snprintf(szPos, sizeof(szPos), "%lld", (long long)pstReq->llSeekPos);
        s32Ret = IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_SEEK, szPos);
        return s32Ret == 0 ? Account::RES_OK : Failed(s32Ret);
    }
    case PLAYER_CMD_PREPARE:
        s32Ret = IpcMsg_PlayerBlockingCtrlHandle(PLAYER_KEY_PREPARE, pstReq->pcFileName);
        if (s32Ret != 0) {
            LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
            return s32Ret;
        }
        if (s_fnPrepared != nullptr) {
            int64_t s64Start = 0, s64Duration = 0;
            IpcMsg_PlayerGetClipInfo(&s64Start, &s64Duration);
            s_fnPrepared(s64Duration);
        }
        RefreshState(&pstReq->stState);
        return Account::RES_OK;
    case PLAYER_CMD_CLEAR:
        LOG_INFO("Will clear list buf\n");
        IpcMsg_PlayerClearState();
        RefreshState(&pstReq->stState);
        return Account::RES_OK;
    default:
        RefreshState(&pstReq->stState);
        return Account::RES_OK;
    }
}

int DP_Player_onEvent(Account *pstAccount, Account::EventParam *pstParam) {
    switch (pstParam->event) {
    case Account::EVENT_PULL: {
        if (pstParam->size != sizeof(PlayerState) || pstParam->data_p == nullptr) {
            return Account::RES_SIZE_MISMATCH;
        }
        std::lock_guard<std::mutex> stGuard(s_stPlayerLock);
        RefreshState(static_cast<PlayerState *>(pstParam->data_p));
        return Account::RES_OK;
    }
    case Account::EVENT_NOTIFY:
        if (pstParam->size != sizeof(PlayerCtrlReq) || pstParam->data_p == nullptr) {
            return Account::RES_SIZE_MISMATCH;
        }
        return DP_Player_OnCommand(static_cast<PlayerCtrlReq *>(pstParam->data_p));
    case Account::EVENT_TIMER: {
        PlayerState stState;
        {
            std::lock_guard<std::mutex> stGuard(s_stEventLock);
            if (s_astEvents.empty()) {
                return Account::RES_OK;
            }
            stState = s_astEvents.front();
            s_astEvents.pop_front();
        }
        pstAccount->Commit(&stState, sizeof(stState));
        pstAccount->Publish();
        return Account::RES_OK;
    }
    default:
        return Account::RES_UNSUPPORTED;
    }
}

} // namespace

void DP_Player_SetPreparedCallback(DP_PlayerPreparedFn fnCallback) {
    s_fnPrepared = fnCallback;
}

int DP_Player_Init(Account *pstAccount) {
    s_pstPlayerAccount = pstAccount;
    pstAccount->SetEventCallback(DP_Player_onEvent);
    pstAccount->SetTimerPeriod(10);
    pstAccount->SetTimerEnable(false);
    IpcMsg_PlayerSetEventCallback(DP_Player_OnEvent);
    return 0;
}
