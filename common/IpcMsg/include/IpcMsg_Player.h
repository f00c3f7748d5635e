/*
 * Player control: every player request is "IPCMSG_PLAYBACK_CTRL" with one player key and a value
 * text, answered with "result" (10 s time-out). The module keeps the player state that
 * "playback_getplaystate" refreshes.
 */
#ifndef IPCMSG_PLAYER_H
#define IPCMSG_PLAYER_H

#include <assert.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define PLAYER_CTRL_TIMEOUT_MS 10000

/* Player keys. */
#define PLAYER_KEY_INIT         "playback_init"
#define PLAYER_KEY_DEINIT       "playback_deinit"
#define PLAYER_KEY_PLAY         "playback_play"
#define PLAYER_KEY_RESUME       "playback_resume"
#define PLAYER_KEY_PAUSE        "playback_pause"
#define PLAYER_KEY_STOP         "playback_stop"
#define PLAYER_KEY_PREPARE      "playback_prepare"
#define PLAYER_KEY_SEEK         "playback_seek"
#define PLAYER_KEY_GETPLAYSTATE "playback_getplaystate"

/* What the account "Player" publishes and answers to a pull (12 bytes). */
typedef struct {
    int32_t eState;    /* the last positive answer of "playback_getplaystate" */
    int32_t eEvent;    /* player event (none is delivered in this system) */
    int32_t iPlayTime; /* ms */
} PlayerState;

/* Sends one player request and waits for its answer. The answer's "result", or the agent's or
 * message's error; for "playback_getplaystate" a positive result is stored as the state and 0
 * returned. "playback_prepare" without a path is refused before sending (-1). */
int IpcMsg_PlayerBlockingCtrlHandle(const char *pcKey, const char *pcValue);

/* The player state: copy, clear. */
void IpcMsg_PlayerGetState(PlayerState *pstState);
void IpcMsg_PlayerClearState(void);

/* Player events (event code, play time in ms). No inbound message of this system delivers one;
 * IpcMsg_PlayerDeliverEvent hands one to the registered receiver. */
typedef void (*IpcMsg_PlayerEventFn)(int32_t eEvent, int32_t iPlayTime);
void IpcMsg_PlayerSetEventCallback(IpcMsg_PlayerEventFn fnCallback);
void IpcMsg_PlayerDeliverEvent(int32_t eEvent, int32_t iPlayTime);

/* Start time and duration (ms) of the prepared clip. No message of this system carries them,
 * so both read as zero. */
void IpcMsg_PlayerGetClipInfo(int64_t *ps64StartTime, int64_t *ps64Duration);

#ifdef __cplusplus
}
#endif

static_assert(sizeof(PlayerState) == 12, "player state is 12 bytes");

#endif /* IPCMSG_PLAYER_H */
