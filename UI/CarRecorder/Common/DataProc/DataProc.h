/*
 * The data processors: the accounts of the data center "CENTER" through which pages reach the
 * device data. Pages never call the IPC agent or the status and settings modules; they pull,
 * notify and subscribe through these accounts:
 *
 *   "GeneralSeting"  pull GeneralSetingInfo; notify GeneralSetingReq (save queued, load blocking)
 *   "Player"         pull PlayerState; notify PlayerCtrlReq
 *   "SystemStatus"   pull / notify SystemStatusInfo; publishes SystemStatusNotice, one a 10 ms tick
 *   "StatusBar"      the status bar's own processor
 *   "GeneralCtrl"    notify GeneralCtrlReq
 *   "DevsInfo"       pull DevsInfo; notify (anything): query again
 *   "InfoTips"       notify TipsInfo: one tip on screen at a time, the others queued
 *   "KovarInfo"      pull KovarInfo; notify: clear
 *   "LteInfo"        pull LteInfo; notify: query again
 *
 * Every pull and notify must give exactly the record's size (else -2); an event an account does
 * not serve gives -3.
 */
#ifndef DATA_PROC_H
#define DATA_PROC_H

#include <assert.h>
#include <stdint.h>

#include "DataCenter.h"
#include "IpcMsg_DevsInfo.h"
#include "IpcMsg_GeneralCtrl.h"
#include "IpcMsg_GeneralSeting.h"
#include "IpcMsg_KovarInfo.h"
#include "IpcMsg_LteInfo.h"
#include "IpcMsg_Player.h"
#include "IpcMsg_SystemStatus.h"

/* The account names, in the order the accounts are created. */
#define DP_ACCOUNT_GENERAL_SETING "GeneralSeting"
#define DP_ACCOUNT_PLAYER         "Player"
#define DP_ACCOUNT_SYSTEM_STATUS  "SystemStatus"
#define DP_ACCOUNT_STATUS_BAR     "StatusBar"
#define DP_ACCOUNT_GENERAL_CTRL   "GeneralCtrl"
#define DP_ACCOUNT_DEVS_INFO      "DevsInfo"
#define DP_ACCOUNT_INFO_TIPS      "InfoTips"
#define DP_ACCOUNT_KOVAR_INFO     "KovarInfo"
#define DP_ACCOUNT_LTE_INFO       "LteInfo"

#define DP_ACCOUNT_NUM 9

/* Request to "GeneralSeting". */
typedef struct {
    int32_t bSave;             /* non-zero: save one item; zero: load items */
    int32_t eElem;             /* save: the item (GeneralSetingElem) */
    const int32_t *peElemList; /* load: the item codes */
    int32_t iElemNum;          /* load: number of codes; 0 loads all 92 */
    const char *pcValue;       /* save of a text item: static text; NULL for a number item */
    int32_t iValue;            /* save of a number item */
    int32_t iReserved;
} GeneralSetingReq;

/* Request to "GeneralCtrl". */
typedef struct {
    int32_t bNoBlock;    /* 0: wait for the recorder's answer; other: send and return */
    int32_t eElem;       /* GeneralCtrlElem */
    const char *pcValue; /* may be NULL */
    int32_t iReserved;
} GeneralCtrlReq;

/* Player commands (eCmd of a PlayerCtrlReq). */
typedef enum {
    PLAYER_CMD_INIT = 0,
    PLAYER_CMD_DEINIT = 1,
    PLAYER_CMD_PLAY = 2,
    PLAYER_CMD_RESUME = 3,
    PLAYER_CMD_PAUSE = 4,
    PLAYER_CMD_STOP = 5,
    PLAYER_CMD_SEEK = 6,
    PLAYER_CMD_PREPARE = 7,
    PLAYER_CMD_CLEAR = 8,
} PlayerCmdType;

/* Request to "Player". Prepare, clear and unknown commands copy the state back into the request
 * (stState). */
typedef struct {
    int32_t eCmd;           /* PlayerCmdType */
    int64_t llSeekPos;      /* seek: ms */
    const char *pcFileName; /* prepare: the clip's path */
    PlayerState stState;    /* the state copied back */
} PlayerCtrlReq;

/* Tip types. */
typedef enum {
    TIPS_TYPE_NORMAL = 0,
    TIPS_TYPE_WARNING = 1,
} TipsType;

/* A short on-screen tip, notified to "InfoTips". */
typedef struct {
    int32_t eMsgType;   /* TipsType */
    const char *pcText; /* language id, or the text itself */
    const char *pcDesc; /* warning: description (language id or text), may be NULL */
    void *pvReserved;
} TipsInfo;

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(GeneralSetingReq) == 28, "GeneralSetingReq is 28 bytes on 32-bit");
static_assert(sizeof(GeneralCtrlReq) == 16, "GeneralCtrlReq is 16 bytes on 32-bit");
static_assert(sizeof(TipsInfo) == 16, "TipsInfo is 16 bytes on 32-bit");
#endif

/* Builds the nine accounts in "CENTER" and initialises their processors, in the order above.
 * Once per process; a second call does nothing. 0, or -1 when an account could not be made. */
int DP_Init(void);

/* The processors' initialisers (each sets the account's event handler, subscriptions, timer and
 * whatever the processor needs). 0 or -1. */
int DP_GeneralSeting_Init(Account *pstAccount);
int DP_Player_Init(Account *pstAccount);
int DP_SystemStatus_Init(Account *pstAccount);
int DP_StatusBar_Init(Account *pstAccount); /* the status bar's processor (DP_StatusBar.cpp) */
int DP_GeneralCtrl_Init(Account *pstAccount);
int DP_DevsInfo_Init(Account *pstAccount);
int DP_InfoTips_Init(Account *pstAccount);
int DP_KovarInfo_Init(Account *pstAccount);
int DP_LteInfo_Init(Account *pstAccount);

/* The receiver registered with the status module: queues a copy of the notice for the
 * "SystemStatus" account's timer (any thread). */
void SystemStatusEvent(SystemStatusNotice stNotice);
/* Notices waiting to be published (diagnosis and tests). */
uint32_t DP_SystemStatus_PendingCount(void);

/* Given the prepared clip's duration (ms) after a successful "playback_prepare": the album data
 * module registers here. */
typedef void (*DP_PlayerPreparedFn)(int64_t s64DurationMs);
void DP_Player_SetPreparedCallback(DP_PlayerPreparedFn fnCallback);

/* The settings-save queue: how many requests wait (diagnosis and tests). */
int32_t DP_GeneralSeting_PendingSaves(void);

#endif /* DATA_PROC_H */
