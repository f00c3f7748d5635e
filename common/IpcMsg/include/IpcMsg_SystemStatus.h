/*
 * The user interface's copy of the recorder's state: the system status record.
 *
 * The recorder reports its state as key/value lists ("IPCMSG_SYSTEMSTATUS") and trigger events
 * ("IPCMSG_TRIGGEREVT"). Each known key updates its fields of the record under the record lock
 * and hands a change notice (the whole record and the code of what changed) to the one notice
 * receiver. After every status message the record is written to "/tmp/ui_status", from which a
 * restarted user interface loads its last state.
 *
 * The record is 136 bytes on every target: it is the image of the status file and the size the
 * data center checks.
 */
#ifndef IPCMSG_SYSTEMSTATUS_H
#define IPCMSG_SYSTEMSTATUS_H

#include <assert.h>
#include <stddef.h>
#include <stdint.h>

#include "vyx_ipcmsg.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Storage card states of eStorageStatus (0: not reported yet). */
typedef enum {
    STORAGE_STATUS_NONE = 0,
    STORAGE_STATUS_NOINSERT = 1,
    STORAGE_STATUS_PLUGOUT = 2,
    STORAGE_STATUS_CHECKING = 3,
    STORAGE_STATUS_NORMAL = 4,
    STORAGE_STATUS_NORMAL_WITHOUT_P1 = 6,
    STORAGE_STATUS_ABNORMAL = 7,
    STORAGE_STATUS_ABNORMAL_EXT = 8,
    STORAGE_STATUS_FORMATING = 9,
    STORAGE_STATUS_FRONT_ERR = 10,
    STORAGE_STATUS_FIRST_SPEEDTESTING = 11,
} StorageStatusType;

/* eTempHighReason. */
typedef enum {
    TEMP_HIGH_POWER_OFF = 0,
    TEMP_HIGH_WIFI_OFF = 1,
    TEMP_HIGH_SCREEN_OFF = 2,
    TEMP_HIGH_OTHER = 3,
} TempHighReasonType;

/* eResetDevResult. */
typedef enum {
    RESETDEV_SUCCESS_REBOOT = 0,
    RESETDEV_SUCCESS_NO_REBOOT = 1,
    RESETDEV_FAILURE = 2,
} ResetDevResultType;

typedef struct {
    uint8_t bIsRecording;   /* 0 */
    uint8_t bAppLogin;      /* 1 */
    uint8_t b4GAppLogin;    /* 2 */
    uint8_t bAppTalking;    /* 3 */
    uint8_t bRearPlugIn;    /* 4 */
    uint8_t bInsidePlugIn;  /* 5 */
    uint8_t bAccOn;         /* 6 */
    uint8_t bAccOff;        /* 7 */
    uint8_t bPlaybackMode;  /* 8 */
    uint8_t bTouchpadTest;  /* 9 */
    uint8_t bBtPairSuccess; /* 10 */
    uint8_t bPageBusy;      /* 11: set by the system state supervision */
    uint8_t u8Reserved12;
    uint8_t bScreenDormant;         /* 13 */
    uint8_t bGpsPresent;            /* 14 */
    uint8_t bGpsActive;             /* 15 */
    uint8_t bSensorState;           /* 16 */
    uint8_t bMicOn;                 /* 17 */
    uint8_t bScreenKeyTest;         /* 18 */
    uint8_t bCarForward;            /* 19 */
    uint8_t bCrossLane;             /* 20 */
    uint8_t bTooClose;              /* 21 */
    uint8_t bPedestrian;            /* 22 */
    uint8_t bUpdating;              /* 23 */
    uint8_t bDigiCamUpdating;       /* 24 */
    uint8_t bDigiCamInsideUpdating; /* 25 */
    uint8_t u8Reserved26;
    uint8_t bInGuide;     /* 27: set by the installation guide page */
    uint8_t bReversing;   /* 28 */
    uint8_t bWifiOn;      /* 29 */
    uint8_t bVoiceCtrlVo; /* 30 */
    uint8_t au8Reserved31[5];
    uint8_t bParkingCollision;    /* 36 */
    uint8_t bDrivingRemind;       /* 37 */
    uint8_t bStartupRemind;       /* 38 */
    uint8_t b4GLinked;            /* 39 */
    uint8_t b4GReady;             /* 40 */
    uint8_t bBtEmpowerConnect;    /* 41 */
    uint8_t bBtEmpowerResult;     /* 42 */
    uint8_t bLockLogin;           /* 43 */
    uint8_t bKovarConnected;      /* 44 */
    uint8_t bKovarBound;          /* 45 */
    uint8_t bKovarBle;            /* 46 */
    uint8_t bHarshAccel;          /* 47 */
    uint8_t bHarshDecel;          /* 48 */
    uint8_t bGsensorStatus;       /* 49 */
    int8_t cTfCardTestResult;     /* 50 */
    int8_t cRadarStatus;          /* 51 */
    int8_t cIsMainDevice;         /* 52 */
    int8_t cDispStatus;           /* 53 */
    uint8_t bIsPlayerInit;        /* 54: set by the account "Player" */
    int8_t cWriteCardSlowRemind;  /* 55 */
    int32_t iDigiCamRearStatus;   /* 56 */
    int32_t iDigiCamInsideStatus; /* 60 */
    int32_t i4GLevel;             /* 64 */
    int32_t eResetDevResult;      /* 68: ResetDevResultType */
    int32_t iSnapType;            /* 72: 0 collision, 1 other */
    int32_t iSnapDuration;        /* 76 */
    int32_t iTfCardSpeed;         /* 80 */
    int32_t eStorageStatus;       /* 84: StorageStatusType */
    int32_t bFormatResult;        /* 88 */
    int32_t iScreenTestCmd;       /* 92 */
    int32_t eTempHighReason;      /* 96: TempHighReasonType */
    int32_t iTempLevel;           /* 100 */
    int32_t iWorkMode;            /* 104 */
    int32_t iLastWorkMode;        /* 108 */
    uint8_t au8Reserved112[24];   /* written as zero, ignored when read */
} SystemStatusInfo;

#define SYSTEM_STATUS_INFO_SIZE   136
#define SYSTEM_STATUS_FIELDS_SIZE 112 /* the part of the record that carries status items */

/* What changed: one code per status item. 28 and 29 are never produced. */
typedef enum {
    SYS_STATUS_REC = 0,
    SYS_STATUS_LOCK = 1,
    SYS_STATUS_APP_LOGIN = 2,
    SYS_STATUS_4G_APP_LOGIN = 3,
    SYS_STATUS_APP_TALK = 4,
    SYS_STATUS_REAR = 5,
    SYS_STATUS_INSIDE = 6,
    SYS_STATUS_STORAGE = 7,
    SYS_STATUS_SCREEN_DORMANT = 8,
    SYS_STATUS_TEST_SCREEN = 9,
    SYS_STATUS_TEST_TOUCHPAD = 10,
    SYS_STATUS_TEST_SCREENKEY = 11,
    SYS_STATUS_REVERSING = 12,
    SYS_STATUS_WIFI = 13,
    SYS_STATUS_SNAP_EVENT = 14,
    SYS_STATUS_WORKMODE = 15,
    SYS_STATUS_GPS = 16,
    SYS_STATUS_SENSOR = 17,
    SYS_STATUS_MIC = 18,
    SYS_STATUS_BTPAIR = 19,
    SYS_STATUS_CAR_FORWARD = 20,
    SYS_STATUS_CROSS_LANE = 21,
    SYS_STATUS_TOO_CLOSE = 22,
    SYS_STATUS_PEDESTRIAN = 23,
    SYS_STATUS_DRIVING_REMIND = 24,
    SYS_STATUS_STARTUP_REMIND = 25,
    SYS_STATUS_RESETDEV = 26,
    SYS_STATUS_UPDATING = 27,
    SYS_STATUS_VOICE_CTRL_VO = 30,
    SYS_STATUS_ACC = 31,
    SYS_STATUS_BT_EMPOWER = 32,
    SYS_STATUS_BT_EMPOWER_RESULT = 33,
    SYS_STATUS_PARKING_COLLISION = 34,
    SYS_STATUS_4G_LEVEL = 35,
    SYS_STATUS_4G_LINK = 36,
    SYS_STATUS_4G_READY = 37,
    SYS_STATUS_KOVAR_BIND = 38,
    SYS_STATUS_KOVAR_CONNECT = 39,
    SYS_STATUS_SYNC_LANG = 40,
    SYS_STATUS_KOVAR_RTSP_BLOCK = 41,
    SYS_STATUS_KOVAR_BLE = 42,
    SYS_STATUS_DIGICAM_UPDATING = 43,
    SYS_STATUS_DIGICAM_INSIDE_UPDATING = 44,
    SYS_STATUS_HARSH_ACCEL = 45,
    SYS_STATUS_HARSH_DECEL = 46,
    SYS_STATUS_GSENSOR = 47,
    SYS_STATUS_TEMP_HIGH_REASON = 48,
    SYS_STATUS_TEMP_LEVEL = 49,
    SYS_STATUS_TFCARD_TEST_RESULT = 50,
    SYS_STATUS_TFCARD_SPEED = 51,
    SYS_STATUS_RADAR = 52,
    SYS_STATUS_IS_MAIN_DEVICE = 53,
    SYS_STATUS_DIGICAM_REAR = 54,
    SYS_STATUS_DIGICAM_INSIDE = 55,
    SYS_STATUS_FORMAT_PERIODICALLY = 56,
    SYS_STATUS_DISP = 57,
    SYS_STATUS_WRITECARD_SLOW = 58,
} SystemStatusType;

/* The record followed by the code of the item that changed (what "SystemStatus" publishes). */
typedef struct {
    SystemStatusInfo stInfo;
    int32_t eType; /* SystemStatusType */
} SystemStatusNotice;

#define SYSTEM_STATUS_NOTICE_SIZE 140

/* The one notice receiver. Called on a receive thread with the record lock held: it must only
 * queue the notice and must not call back into this module. */
typedef void (*IpcMsg_StatusCallback)(SystemStatusNotice stNotice);

/* Inbound handlers of "IPCMSG_SYSTEMSTATUS" and "IPCMSG_TRIGGEREVT" (rows of the agent's table).
 * 0, or -1 for a body that is not JSON (or, for a trigger, lacks a member). */
int IpcMsg_UpdateStatuslCallbcak(const char *pcMsg, const MsgHeader *pstHdr);
int IpcMsg_TriggerEvtlCallbcak(const char *pcMsg, const MsgHeader *pstHdr);

/* One key/value of "int_params" or "string_params": 0 for a handled or unknown key, -1 for a
 * missing value. */
int IpcMsg_UpdateStatusIntHandle(const char *pcKey, const int32_t *ps32Value);
int IpcMsg_UpdateStatusStrHandle(const char *pcKey, const char *pcValue);

/* Registers the notice receiver (NULL removes it). */
void IpcMsg_SetStatusCallback(IpcMsg_StatusCallback fnCallback);

/* Copy len bytes (at most the record) out of / into the record under its lock. 0, or -1 for a
 * null pointer. */
int IpcMsg_GetSystemStatusInfo(void *pDst, uint32_t u32Len);
int IpcMsg_SetSystemStatusInfo(const void *pSrc, uint32_t u32Len);

/* Sets one byte of the record (a flag the user interface owns, such as bIsPlayerInit) under the
 * lock, leaving every other field as the receive threads left it. 0, or -1 for an offset outside
 * the status fields. */
int IpcMsg_SetSystemStatusByte(uint32_t u32Offset, uint8_t u8Value);

/* Loads "/tmp/ui_status" once at start (before the pages). */
int IpcMsg_loadSystemStatusInfoInFile(void);
/* 0 loaded or no file; -1 for a file that cannot be read or is not a valid record (the record
 * then keeps what it had). */
int IpcMsg_LoadStatusInFile(void);
/* Writes the record to "/tmp/ui_status" whole or not at all. 0 or -1. */
int IpcMsg_SaveStatusInFile(void);

/* The status file in use: "/tmp/ui_status" unless a test set another (NULL restores it). */
void IpcMsg_SetStatusFilePath(const char *pcPath);
/* Clears the record (tests). */
void IpcMsg_ResetSystemStatusInfo(void);

#ifdef __cplusplus
}
#endif

static_assert(sizeof(SystemStatusInfo) == SYSTEM_STATUS_INFO_SIZE, "status record is 136 bytes");
static_assert(sizeof(SystemStatusNotice) == SYSTEM_STATUS_NOTICE_SIZE, "status notice is 140 bytes");
static_assert(offsetof(SystemStatusInfo, bParkingCollision) == 36, "status record layout");
static_assert(offsetof(SystemStatusInfo, cWriteCardSlowRemind) == 55, "status record layout");
static_assert(offsetof(SystemStatusInfo, iDigiCamRearStatus) == 56, "status record layout");
static_assert(offsetof(SystemStatusInfo, iLastWorkMode) == 108, "status record layout");

#endif /* IPCMSG_SYSTEMSTATUS_H */
