/* Player requests: "IPCMSG_PLAYBACK_CTRL" with one {"key": player key, "value": text}. */
#include "IpcMsg_Player.h"

#include <pthread.h>
#include <stdio.h>
#include <string.h>

#include "IpcMsg_Common.h"
#include "log.h"

#define PLAYER_CTRL_MSGID "IPCMSG_PLAYBACK_CTRL"

static PlayerState m_stPlayerState;
static IpcMsg_PlayerEventFn s_fnPlayerEvent;
static pthread_mutex_t s_stStateLock = PTHREAD_MUTEX_INITIALIZER;

int IpcMsg_PlayerBlockingCtrlHandle(const char *pcKey, const char *pcValue) {
    if (pcKey == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pKeyName");
        return -1;
    }
    LOG_INFO("pKeyName:%s\n", pcKey);
    if (strcmp(pcKey, PLAYER_KEY_PREPARE) == 0 && (pcValue == NULL || pcValue[0] == '\0')) {
        LOG_ERROR("pFileName is invalid\n");
        return -1;
    }
    cJSON *pstBody = IpcMsg_BuildStringParam(pcKey, pcValue);
    if (pstBody == NULL) {
        return -1;
    }
    int32_t s32Result = -1;
    int s32Ret = IpcMsg_RequestResult(PLAYER_CTRL_MSGID, pstBody, PLAYER_CTRL_TIMEOUT_MS, &s32Result);
    if (s32Ret != 0) {
        return s32Ret;
    }
    if (strcmp(pcKey, PLAYER_KEY_GETPLAYSTATE) == 0 && s32Result > 0) {
        pthread_mutex_lock(&s_stStateLock);
        m_stPlayerState.eState = s32Result;
        pthread_mutex_unlock(&s_stStateLock);
        return 0;
    }
    return s32Result;
}

void IpcMsg_PlayerGetState(PlayerState *pstState) {
    if (pstState == NULL) {
        return;
    }
    pthread_mutex_lock(&s_stStateLock);
    *pstState = m_stPlayerState;
    pthread_mutex_unlock(&s_stStateLock);
}

void IpcMsg_PlayerClearState(void) {
    pthread_mutex_lock(&s_stStateLock);
    memset(&m_stPlayerState, 0, sizeof(m_stPlayerState));
    pthread_mutex_unlock(&s_stStateLock);
}

void IpcMsg_PlayerSetEventCallback(IpcMsg_PlayerEventFn fnCallback) {
    pthread_mutex_lock(&s_stStateLock);
    s_fnPlayerEvent = fnCallback;
    pthread_mutex_unlock(&s_stStateLock);
}

void IpcMsg_PlayerDeliverEvent(int32_t eEvent, int32_t iPlayTime) {
    pthread_mutex_lock(&s_stStateLock);
    IpcMsg_PlayerEventFn fn = s_fnPlayerEvent;
    pthread_mutex_unlock(&s_stStateLock);
    if (fn != NULL) {
        fn(eEvent, iPlayTime);
    }
}

void IpcMsg_PlayerGetClipInfo(int64_t *ps64StartTime, int64_t *ps64Duration) {
    if (ps64StartTime != NULL) {
        *ps64StartTime = 0;
    }
    if (ps64Duration != NULL) {
        *ps64Duration = 0;
    }
}
