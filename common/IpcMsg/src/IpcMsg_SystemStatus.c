/*
 * The system status record: decoding of the status and trigger messages, the update handlers,
 * the change notices and the status file.
 *
 * The status file is the record's 136-byte image. Its last 24 bytes (reserved in the record)
 * carry a mark, a version and a CRC-32 of the 112 status bytes, so that a load takes only a whole
 * record this program wrote: a short, long or foreign file is refused and the record keeps what
 * it had. The file is written to a temporary name and renamed over the old one, so a program
 * killed while writing leaves either the old or the new record, never a torn one.
 */
#define _GNU_SOURCE
#include "IpcMsg_SystemStatus.h"

#include <pthread.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>
#include <unistd.h>
#include <zlib.h>

#include "IpcMsg_Common.h"
#include "log.h"
#include "sys_paths.h"

static SystemStatusInfo m_stSystemStatus;
static pthread_mutex_t s_stStatusLock = PTHREAD_MUTEX_INITIALIZER;
static IpcMsg_StatusCallback s_fnStatusCb;
static char s_szStatusPath[256] = SYS_PATH_UI_STATUS;

#define STATUS_FILE_MARK    0x54535549u /* "UIST" */
#define STATUS_FILE_VERSION 1u

/* ---- update handlers ---- */

typedef int (*StatusIntFn)(const int32_t *ps32Value);
typedef int (*StatusStrFn)(const char *pcValue);

#define STATUS_CHECK_ARG(p)                                                                                  \
    do {                                                                                                     \
        if ((p) == NULL) {                                                                                   \
            printf("[%s %d] addr is null!\n", __func__, __LINE__);                                           \
            return -1;                                                                                       \
        }                                                                                                    \
    } while (0)

/* A number handler that sets a flag to value != 0. */
#define STATUS_FLAG_FN(name, field)                                                                          \
    static int name(const int32_t *ps32Value) {                                                              \
        LOG_INFO("in\n");                                                                                    \
        STATUS_CHECK_ARG(ps32Value);                                                                         \
        m_stSystemStatus.field = *ps32Value != 0;                                                            \
        return 0;                                                                                            \
    }
/* A number handler that stores the value (or its low byte, by the field's type). */
#define STATUS_VALUE_FN(name, field, type)                                                                   \
    static int name(const int32_t *ps32Value) {                                                              \
        LOG_INFO("in\n");                                                                                    \
        STATUS_CHECK_ARG(ps32Value);                                                                         \
        m_stSystemStatus.field = (type)*ps32Value;                                                           \
        return 0;                                                                                            \
    }
/* A number handler that only produces a notice. */
#define STATUS_NOTICE_FN(name)                                                                               \
    static int name(const int32_t *ps32Value) {                                                              \
        LOG_INFO("in\n");                                                                                    \
        STATUS_CHECK_ARG(ps32Value);                                                                         \
        return 0;                                                                                            \
    }
/* A text handler that sets a flag to 1 for one text, 0 for any other. */
#define STATUS_TEXT_FLAG_FN(name, field, text)                                                               \
    static int name(const char *pcValue) {                                                                   \
        LOG_INFO("in\n");                                                                                    \
        STATUS_CHECK_ARG(pcValue);                                                                           \
        m_stSystemStatus.field = strcasecmp(pcValue, text) == 0;                                             \
        return 0;                                                                                            \
    }
/* A text handler that sets a flag for one text, clears it for another, leaves it otherwise. */
#define STATUS_TEXT_ONOFF_FN(name, field, on, off)                                                           \
    static int name(const char *pcValue) {                                                                   \
        LOG_INFO("in\n");                                                                                    \
        STATUS_CHECK_ARG(pcValue);                                                                           \
        if (strcasecmp(pcValue, on) == 0) {                                                                  \
            m_stSystemStatus.field = 1;                                                                      \
        } else if (strcasecmp(pcValue, off) == 0) {                                                          \
            m_stSystemStatus.field = 0;                                                                      \
        }                                                                                                    \
        return 0;                                                                                            \
    }

STATUS_TEXT_FLAG_FN(IpcMsg_UpdateRecStatus, bIsRecording, "start")
STATUS_TEXT_ONOFF_FN(IpcMsg_UpdateAppLogInStatus, bAppLogin, "login", "logout")
STATUS_TEXT_ONOFF_FN(IpcMsg_Update4GAppLogInStatus, b4GAppLogin, "login_p2p", "logout_p2p")
STATUS_TEXT_ONOFF_FN(IpcMsg_UpdateAppTalkStatus, bAppTalking, "p2p_talk_start", "p2p_talk_stop")
STATUS_TEXT_FLAG_FN(IpcMsg_UpdateRearStatus, bRearPlugIn, "plugin")
STATUS_TEXT_FLAG_FN(IpcMsg_UpdateInsideStatus, bInsidePlugIn, "plugin")
STATUS_TEXT_FLAG_FN(IpcMsg_UpdateTouchpadTest, bTouchpadTest, "begin")
STATUS_TEXT_FLAG_FN(IpcMsg_UpdateBtPairState, bBtPairSuccess, "success")
STATUS_TEXT_FLAG_FN(IpcMsg_UpdateMicState, bMicOn, "on")
STATUS_TEXT_FLAG_FN(IpcMsg_UpdateReversing, bReversing, "on")
STATUS_TEXT_FLAG_FN(IpcMsg_UpdateWifiSwitch, bWifiOn, "on")
STATUS_TEXT_FLAG_FN(IpcMsg_UpdateLockScreenStatus, bLockLogin, "login")

static int IpcMsg_UpdateAccStatus(const char *pcValue) {
    LOG_INFO("in\n");
    STATUS_CHECK_ARG(pcValue);
    if (strcasecmp(pcValue, "on") == 0) {
        m_stSystemStatus.bAccOn = 1;
        m_stSystemStatus.bAccOff = 0;
    } else if (strcasecmp(pcValue, "off") == 0) {
        m_stSystemStatus.bAccOff = 1;
        m_stSystemStatus.bAccOn = 0;
    }
    return 0;
}

static int IpcMsg_UpdateSnapEvent(const char *pcValue) {
    LOG_INFO("in\n");
    STATUS_CHECK_ARG(pcValue);
    m_stSystemStatus.iSnapType = strcasecmp(pcValue, "gsensor_collision") == 0 ? 0 : 1;
    return 0;
}

static int IpcMsg_UpdateResetDevRst(const char *pcValue) {
    LOG_INFO("in\n");
    STATUS_CHECK_ARG(pcValue);
    if (strcasecmp(pcValue, "success_reboot") == 0) {
        m_stSystemStatus.eResetDevResult = RESETDEV_SUCCESS_REBOOT;
    } else if (strcasecmp(pcValue, "success_no_reboot") == 0) {
        m_stSystemStatus.eResetDevResult = RESETDEV_SUCCESS_NO_REBOOT;
    } else if (strcasecmp(pcValue, "failure") == 0) {
        m_stSystemStatus.eResetDevResult = RESETDEV_FAILURE;
    }
    return 0;
}

static int IpcMsg_UpdateBtEmpower(const char *pcValue) {
    LOG_INFO("in\n");
    STATUS_CHECK_ARG(pcValue);
    if (strcasecmp(pcValue, "connect") == 0) {
        m_stSystemStatus.bBtEmpowerConnect = 1;
    }
    m_stSystemStatus.bBtEmpowerResult = 0;
    return 0;
}

static int IpcMsg_UpdateLanguage(const char *pcValue) {
    STATUS_CHECK_ARG(pcValue);
    LOG_INFO("set lang id [%s]\n", pcValue);
    return 0;
}

static int IpcMsg_UpdateTempHighReasonStatus(const char *pcValue) {
    LOG_INFO("in\n");
    STATUS_CHECK_ARG(pcValue);
    if (strcasecmp(pcValue, "power_off") == 0) {
        m_stSystemStatus.eTempHighReason = TEMP_HIGH_POWER_OFF;
    } else if (strcasecmp(pcValue, "wifi_off") == 0) {
        m_stSystemStatus.eTempHighReason = TEMP_HIGH_WIFI_OFF;
    } else if (strcasecmp(pcValue, "srceen_off") == 0) {
        m_stSystemStatus.eTempHighReason = TEMP_HIGH_SCREEN_OFF;
    } else {
        m_stSystemStatus.eTempHighReason = TEMP_HIGH_OTHER;
    }
    return 0;
}

/* Storage card states by text; "normal" and "normal_ext" keep an abnormal state of the other
 * kind. */
static int IpcMsg_UpdateStorageStatus(const char *pcValue) {
    static const struct {
        const char *pcText;
        int32_t eState;
    } s_astStates[] = {
        {"noinsert", STORAGE_STATUS_NOINSERT},
        {"plugout", STORAGE_STATUS_PLUGOUT},
        {"checking", STORAGE_STATUS_CHECKING},
        {"formating", STORAGE_STATUS_FORMATING},
        {"abnormal", STORAGE_STATUS_ABNORMAL},
        {"normal_without_p1", STORAGE_STATUS_NORMAL_WITHOUT_P1},
        {"abnormal_ext", STORAGE_STATUS_ABNORMAL_EXT},
        {"front_err", STORAGE_STATUS_FRONT_ERR},
        {"first_speedtesting", STORAGE_STATUS_FIRST_SPEEDTESTING},
    };
    LOG_INFO("in\n");
    STATUS_CHECK_ARG(pcValue);
    SystemStatusInfo *pst = &m_stSystemStatus;
    if (strcasecmp(pcValue, "format_succss") == 0) {
        pst->eStorageStatus = STORAGE_STATUS_NORMAL;
        pst->bFormatResult = 1;
    } else if (strcasecmp(pcValue, "format_failed") == 0) {
        pst->bFormatResult = 0;
    } else if (strcasecmp(pcValue, "normal") == 0) {
        if (pst->eStorageStatus != STORAGE_STATUS_ABNORMAL_EXT) {
            pst->eStorageStatus = STORAGE_STATUS_NORMAL;
        }
    } else if (strcasecmp(pcValue, "normal_ext") == 0) {
        if (pst->eStorageStatus != STORAGE_STATUS_ABNORMAL) {
            pst->eStorageStatus = STORAGE_STATUS_NORMAL;
        }
    } else {
        for (size_t i = 0; i < sizeof(s_astStates) / sizeof(s_astStates[0]); i++) {
            if (strcasecmp(pcValue, s_astStates[i].pcText) == 0) {
                pst->eStorageStatus = s_astStates[i].eState;
                break;
            }
        }
    }
    return 0;
}

static int IpcMsg_UpdateWorkMode(const int32_t *ps32Value) {
    LOG_INFO("in\n");
    STATUS_CHECK_ARG(ps32Value);
    m_stSystemStatus.iLastWorkMode = m_stSystemStatus.iWorkMode;
    m_stSystemStatus.iWorkMode = *ps32Value;
    m_stSystemStatus.bPlaybackMode = *ps32Value == 2;
    return 0;
}

static int IpcMsg_UpdateGpsState(const int32_t *ps32Value) {
    LOG_INFO("in\n");
    STATUS_CHECK_ARG(ps32Value);
    m_stSystemStatus.bGpsPresent = *ps32Value != 2;
    m_stSystemStatus.bGpsActive = *ps32Value != 0;
    return 0;
}

static int IpcMsg_UpateBtEmpowerResult(const int32_t *ps32Value) {
    LOG_INFO("in\n");
    STATUS_CHECK_ARG(ps32Value);
    m_stSystemStatus.bBtEmpowerResult = *ps32Value != 0;
    m_stSystemStatus.bBtEmpowerConnect = 0;
    return 0;
}

STATUS_VALUE_FN(IpcMsg_UpdateScreenTestCmdType, iScreenTestCmd, int32_t)
STATUS_FLAG_FN(IpcMsg_UpdateScreenDormantStatus, bScreenDormant)
STATUS_FLAG_FN(IpcMsg_UpdateSensorState, bSensorState)
STATUS_FLAG_FN(IpcMsg_UpdateScreenKeyTest, bScreenKeyTest)
STATUS_FLAG_FN(IpcMsg_UpdateCarForWard, bCarForward)
STATUS_FLAG_FN(IpcMsg_UpdateCrossLane, bCrossLane)
STATUS_FLAG_FN(IpcMsg_UpdateTooClosed, bTooClose)
STATUS_FLAG_FN(IpcMsg_UpdateNotictPedestrian, bPedestrian)
STATUS_FLAG_FN(IpcMsg_UpdateIsUpdating, bUpdating)
STATUS_FLAG_FN(IpcMsg_UpdateIsDigiCamUpdating, bDigiCamUpdating)
STATUS_FLAG_FN(IpcMsg_UpdateIsDigiCamInsideUpdating, bDigiCamInsideUpdating)
STATUS_FLAG_FN(IpcMsg_UpdateVoSwitch, bVoiceCtrlVo)
STATUS_FLAG_FN(IpcMsg_UpdateParkingCollisionStatus, bParkingCollision)
STATUS_FLAG_FN(IpcMsg_UpdateDrivingRemind, bDrivingRemind)
STATUS_FLAG_FN(IpcMsg_UpdateStartupRemind, bStartupRemind)
STATUS_VALUE_FN(IpcMsg_Update4GSignalLevel, i4GLevel, int32_t)
STATUS_FLAG_FN(IpcMsg_Update4GStatus, b4GLinked)
STATUS_FLAG_FN(IpcMsg_Update4GReady, b4GReady)
STATUS_FLAG_FN(IpcMsg_UpdateKovarBinkStatus, bKovarBound)
STATUS_FLAG_FN(IpcMsg_UpdateKovarIsConnect, bKovarConnected)
STATUS_NOTICE_FN(IpcMsg_UpdateKovarRtspBlock)
STATUS_FLAG_FN(IpcMsg_UpdateKovarBleStatus, bKovarBle)
STATUS_FLAG_FN(IpcMsg_UpdateDrivingBehaviorAcceler, bHarshAccel)
STATUS_FLAG_FN(IpcMsg_UpdateDrivingBehaviorDeceler, bHarshDecel)
STATUS_FLAG_FN(IpcMsg_UpdateGsensorStatus, bGsensorStatus)
STATUS_VALUE_FN(IpcMsg_UpdateTempLevel, iTempLevel, int32_t)
STATUS_VALUE_FN(IpcMsg_UpdateTFCardTextResult, cTfCardTestResult, int8_t)
STATUS_VALUE_FN(IpcMsg_UpdateRadaStatus, cRadarStatus, int8_t)
STATUS_VALUE_FN(IpcMsg_UpdateIsMainDevice, cIsMainDevice, int8_t)
STATUS_VALUE_FN(IpcMsg_UpdateDigiCamRearStatus, iDigiCamRearStatus, int32_t)
STATUS_VALUE_FN(IpcMsg_UpdateDigiCamInsideStatus, iDigiCamInsideStatus, int32_t)
STATUS_NOTICE_FN(IpcMsg_UpdateFormatPeriodically)
STATUS_VALUE_FN(IpcMsg_UpdateTfCardSpeed, iTfCardSpeed, int32_t)
STATUS_VALUE_FN(IpcMsg_UpdateDispInitStatus, cDispStatus, int8_t)
STATUS_VALUE_FN(IpcMsg_UpdateWriteCardSlowRemind, cWriteCardSlowRemind, int8_t)

typedef struct {
    int32_t eType;
    const char *pcKey;
    StatusStrFn pfnUpdate;
} StatusStrRow;

typedef struct {
    int32_t eType;
    const char *pcKey;
    StatusIntFn pfnUpdate;
} StatusIntRow;

static const StatusStrRow s_astStrTable[] = {
    {SYS_STATUS_STORAGE, "storage_status", IpcMsg_UpdateStorageStatus},
    {SYS_STATUS_LOCK, "lock_status", IpcMsg_UpdateLockScreenStatus},
    {SYS_STATUS_APP_LOGIN, "app_status", IpcMsg_UpdateAppLogInStatus},
    {SYS_STATUS_4G_APP_LOGIN, "4g_app_status", IpcMsg_Update4GAppLogInStatus},
    {SYS_STATUS_REC, "rec_status", IpcMsg_UpdateRecStatus},
    {SYS_STATUS_REAR, "rear_status", IpcMsg_UpdateRearStatus},
    {SYS_STATUS_INSIDE, "inside_status", IpcMsg_UpdateInsideStatus},
    {SYS_STATUS_SNAP_EVENT, "snap_event", IpcMsg_UpdateSnapEvent},
    {SYS_STATUS_MIC, "switch_mic", IpcMsg_UpdateMicState},
    {SYS_STATUS_BTPAIR, "btpair_result", IpcMsg_UpdateBtPairState},
    {SYS_STATUS_RESETDEV, "resetdev_result", IpcMsg_UpdateResetDevRst},
    {SYS_STATUS_TEST_TOUCHPAD, "test_touchpad", IpcMsg_UpdateTouchpadTest},
    {SYS_STATUS_REVERSING, "switch_reversing", IpcMsg_UpdateReversing},
    {SYS_STATUS_WIFI, "switch_wifi", IpcMsg_UpdateWifiSwitch},
    {SYS_STATUS_ACC, "acc_status", IpcMsg_UpdateAccStatus},
    {SYS_STATUS_BT_EMPOWER, "bt_empower", IpcMsg_UpdateBtEmpower},
    {SYS_STATUS_SYNC_LANG, "sync_lang", IpcMsg_UpdateLanguage},
    {SYS_STATUS_APP_TALK, "p2p_talk_status", IpcMsg_UpdateAppTalkStatus},
    {SYS_STATUS_TEMP_HIGH_REASON, "temp_high_reason", IpcMsg_UpdateTempHighReasonStatus},
};

static const StatusIntRow s_astIntTable[] = {
    {SYS_STATUS_WORKMODE, "switch_workmode", IpcMsg_UpdateWorkMode},
    {SYS_STATUS_TEST_SCREEN, "test_screen", IpcMsg_UpdateScreenTestCmdType},
    {SYS_STATUS_SCREEN_DORMANT, "screen_dormant", IpcMsg_UpdateScreenDormantStatus},
    {SYS_STATUS_SENSOR, "sensor_state", IpcMsg_UpdateSensorState},
    {SYS_STATUS_GPS, "gps_state", IpcMsg_UpdateGpsState},
    {SYS_STATUS_TEST_SCREENKEY, "test_screenkey", IpcMsg_UpdateScreenKeyTest},
    {SYS_STATUS_CAR_FORWARD, "car_forward", IpcMsg_UpdateCarForWard},
    {SYS_STATUS_CROSS_LANE, "cross_lane", IpcMsg_UpdateCrossLane},
    {SYS_STATUS_TOO_CLOSE, "too_closed", IpcMsg_UpdateTooClosed},
    {SYS_STATUS_PEDESTRIAN, "notict_pedestrian", IpcMsg_UpdateNotictPedestrian},
    {SYS_STATUS_UPDATING, "update_state", IpcMsg_UpdateIsUpdating},
    {SYS_STATUS_DIGICAM_UPDATING, "digicam_update_state", IpcMsg_UpdateIsDigiCamUpdating},
    {SYS_STATUS_DIGICAM_INSIDE_UPDATING, "digicaminside_update_state", IpcMsg_UpdateIsDigiCamInsideUpdating},
    {SYS_STATUS_VOICE_CTRL_VO, "aispeekctrl_vo", IpcMsg_UpdateVoSwitch},
    {SYS_STATUS_BT_EMPOWER_RESULT, "bt_empower", IpcMsg_UpateBtEmpowerResult},
    {SYS_STATUS_PARKING_COLLISION, "parkingcollision_status", IpcMsg_UpdateParkingCollisionStatus},
    {SYS_STATUS_DRIVING_REMIND, "driving_remind", IpcMsg_UpdateDrivingRemind},
    {SYS_STATUS_STARTUP_REMIND, "startup_remind", IpcMsg_UpdateStartupRemind},
    {SYS_STATUS_4G_LEVEL, "4G_level", IpcMsg_Update4GSignalLevel},
    {SYS_STATUS_4G_LINK, "4G_linkstatus", IpcMsg_Update4GStatus},
    {SYS_STATUS_4G_READY, "4G_ready", IpcMsg_Update4GReady},
    {SYS_STATUS_KOVAR_BIND, "kovar_bind_status", IpcMsg_UpdateKovarBinkStatus},
    {SYS_STATUS_KOVAR_CONNECT, "kovar_Connect_status", IpcMsg_UpdateKovarIsConnect},
    {SYS_STATUS_KOVAR_RTSP_BLOCK, "kovar_rtsp_block", IpcMsg_UpdateKovarRtspBlock},
    {SYS_STATUS_KOVAR_BLE, "kovar_ble_status", IpcMsg_UpdateKovarBleStatus},
    {SYS_STATUS_HARSH_ACCEL, "behavior_acceler", IpcMsg_UpdateDrivingBehaviorAcceler},
    {SYS_STATUS_HARSH_DECEL, "behavior_deceler", IpcMsg_UpdateDrivingBehaviorDeceler},
    {SYS_STATUS_GSENSOR, "gsensor_status", IpcMsg_UpdateGsensorStatus},
    {SYS_STATUS_TEMP_LEVEL, "temp_level", IpcMsg_UpdateTempLevel},
    {SYS_STATUS_TFCARD_TEST_RESULT, "tftext_result", IpcMsg_UpdateTFCardTextResult},
    {SYS_STATUS_RADAR, "rada_status", IpcMsg_UpdateRadaStatus},
    {SYS_STATUS_IS_MAIN_DEVICE, "is_main_device", IpcMsg_UpdateIsMainDevice},
    {SYS_STATUS_DIGICAM_REAR, "digicam_rear_status", IpcMsg_UpdateDigiCamRearStatus},
    {SYS_STATUS_DIGICAM_INSIDE, "digicam_inside_status", IpcMsg_UpdateDigiCamInsideStatus},
    {SYS_STATUS_FORMAT_PERIODICALLY, "format_periodically", IpcMsg_UpdateFormatPeriodically},
    {SYS_STATUS_TFCARD_SPEED, "tfcard_curspeed", IpcMsg_UpdateTfCardSpeed},
    {SYS_STATUS_TFCARD_TEST_RESULT, "tfcardtest_result", IpcMsg_UpdateTFCardTextResult},
    {SYS_STATUS_DISP, "disp_status", IpcMsg_UpdateDispInitStatus},
    {SYS_STATUS_WRITECARD_SLOW, "writecardslow_remind", IpcMsg_UpdateWriteCardSlowRemind},
};

_Static_assert(sizeof(s_astStrTable) / sizeof(s_astStrTable[0]) == 19, "19 text rows");
_Static_assert(sizeof(s_astIntTable) / sizeof(s_astIntTable[0]) == 39, "39 number rows");

/* ---- notices ---- */

void IpcMsg_SetStatusCallback(IpcMsg_StatusCallback fnCallback) {
    pthread_mutex_lock(&s_stStatusLock);
    s_fnStatusCb = fnCallback;
    pthread_mutex_unlock(&s_stStatusLock);
}

/* Hands the record and the code of what changed to the receiver; the caller holds the lock. */
static int IpcMsg_UpdateStatusCb(int32_t eType) {
    if (s_fnStatusCb == NULL) {
        printf("[%s %d] addr is null!\n", __func__, __LINE__);
        return -1;
    }
    SystemStatusNotice stNotice;
    memset(&stNotice, 0, sizeof(stNotice));
    memcpy(&stNotice.stInfo, &m_stSystemStatus, sizeof(stNotice.stInfo));
    stNotice.eType = eType;
    s_fnStatusCb(stNotice);
    return 0;
}

/* Runs one row's handler under the lock and sends its notice. */
#define STATUS_RUN_ROW(table, idx, value)                                                                    \
    do {                                                                                                     \
        if ((table)[idx].pfnUpdate == NULL) {                                                                \
            LOG_ERROR("Invalid [%d]pfnUpdate", (int)(idx));                                                  \
            return -1;                                                                                       \
        }                                                                                                    \
        pthread_mutex_lock(&s_stStatusLock);                                                                 \
        int s32Ret = (table)[idx].pfnUpdate(value);                                                          \
        if (s32Ret != 0) {                                                                                   \
            pthread_mutex_unlock(&s_stStatusLock);                                                           \
            LOG_ERROR("[%d]pfnUpdate fail\n", (int)(idx));                                                   \
            return s32Ret;                                                                                   \
        }                                                                                                    \
        s32Ret = IpcMsg_UpdateStatusCb((table)[idx].eType);                                                  \
        if (s32Ret != 0) {                                                                                   \
            LOG_ERROR("[%d]pfnUpdate fail\n", (int)(idx));                                                   \
        }                                                                                                    \
        pthread_mutex_unlock(&s_stStatusLock);                                                               \
        return s32Ret;                                                                                       \
    } while (0)

int IpcMsg_UpdateStatusIntHandle(const char *pcKey, const int32_t *ps32Value) {
    if (pcKey == NULL) {
        return 0;
    }
    if (ps32Value != NULL) {
        LOG_INFO("[%s = %d]\n", pcKey, *ps32Value);
    }
    for (size_t i = 0; i < sizeof(s_astIntTable) / sizeof(s_astIntTable[0]); i++) {
        if (strcasecmp(s_astIntTable[i].pcKey, pcKey) == 0) {
            STATUS_RUN_ROW(s_astIntTable, i, ps32Value);
        }
    }
    return 0;
}

int IpcMsg_UpdateStatusStrHandle(const char *pcKey, const char *pcValue) {
    if (pcKey == NULL) {
        return 0;
    }
    if (pcValue != NULL) {
        LOG_INFO("[%s = %s]\n", pcKey, pcValue);
    }
    for (size_t i = 0; i < sizeof(s_astStrTable) / sizeof(s_astStrTable[0]); i++) {
        if (strcasecmp(s_astStrTable[i].pcKey, pcKey) == 0) {
            STATUS_RUN_ROW(s_astStrTable, i, pcValue);
        }
    }
    return 0;
}

int IpcMsg_UpdateStatuslCallbcak(const char *pcMsg, const MsgHeader *pstHdr) {
    (void)pstHdr;
    if (IpcMsg_HandleKeyValueBody(pcMsg, IpcMsg_UpdateStatusIntHandle, IpcMsg_UpdateStatusStrHandle,
                                  "status") != 0) {
        return -1;
    }
    IpcMsg_SaveStatusInFile();
    return 0;
}

int IpcMsg_TriggerEvtlCallbcak(const char *pcMsg, const MsgHeader *pstHdr) {
    (void)pstHdr;
    LOG_INFO("in\n");
    cJSON *pstRoot = pcMsg != NULL ? cJSON_Parse(pcMsg) : NULL;
    if (pstRoot == NULL) {
        LOG_ERROR("Decode Json pack Error\n");
        return -1;
    }
    const cJSON *pstType = cJSON_GetObjectItemCaseSensitive(pstRoot, "event_type");
    if (!cJSON_IsString(pstType)) {
        LOG_ERROR("cJSON_GetObjectItem Error\n");
        cJSON_Delete(pstRoot);
        return -1;
    }
    pthread_mutex_lock(&s_stStatusLock);
    m_stSystemStatus.iSnapType = strcasecmp(pstType->valuestring, "gsensor_collision") == 0 ? 0 : 1;
    int32_t s32Duration = 0;
    if (!IpcMsg_GetInt32(cJSON_GetObjectItemCaseSensitive(pstRoot, "duration"), &s32Duration)) {
        LOG_ERROR("cJSON_GetObjectItem Error\n");
        pthread_mutex_unlock(&s_stStatusLock);
        cJSON_Delete(pstRoot);
        return -1;
    }
    m_stSystemStatus.iSnapDuration = s32Duration;
    int s32Ret = IpcMsg_UpdateStatusCb(SYS_STATUS_SNAP_EVENT);
    pthread_mutex_unlock(&s_stStatusLock);
    cJSON_Delete(pstRoot);
    if (s32Ret != 0) {
        LOG_ERROR("IpcMsg_UpdateStatusCb Error\n");
        return s32Ret;
    }
    return 0;
}

/* ---- the record ---- */

int IpcMsg_GetSystemStatusInfo(void *pDst, uint32_t u32Len) {
    if (pDst == NULL) {
        printf("[%s %d] addr is null!\n", __func__, __LINE__);
        return -1;
    }
    if (u32Len > sizeof(m_stSystemStatus)) {
        u32Len = sizeof(m_stSystemStatus);
    }
    pthread_mutex_lock(&s_stStatusLock);
    memcpy(pDst, &m_stSystemStatus, u32Len);
    pthread_mutex_unlock(&s_stStatusLock);
    return 0;
}

int IpcMsg_SetSystemStatusInfo(const void *pSrc, uint32_t u32Len) {
    LOG_INFO("in\n");
    if (pSrc == NULL) {
        printf("[%s %d] addr is null!\n", __func__, __LINE__);
        return -1;
    }
    /* The reserved tail stays zero. */
    if (u32Len > SYSTEM_STATUS_FIELDS_SIZE) {
        u32Len = SYSTEM_STATUS_FIELDS_SIZE;
    }
    pthread_mutex_lock(&s_stStatusLock);
    memcpy(&m_stSystemStatus, pSrc, u32Len);
    pthread_mutex_unlock(&s_stStatusLock);
    return 0;
}

int IpcMsg_SetSystemStatusByte(uint32_t u32Offset, uint8_t u8Value) {
    if (u32Offset >= SYSTEM_STATUS_FIELDS_SIZE) {
        return -1;
    }
    pthread_mutex_lock(&s_stStatusLock);
    ((uint8_t *)&m_stSystemStatus)[u32Offset] = u8Value;
    pthread_mutex_unlock(&s_stStatusLock);
    return 0;
}

void IpcMsg_ResetSystemStatusInfo(void) {
    pthread_mutex_lock(&s_stStatusLock);
    memset(&m_stSystemStatus, 0, sizeof(m_stSystemStatus));
    pthread_mutex_unlock(&s_stStatusLock);
}

/* ---- the status file ---- */

void IpcMsg_SetStatusFilePath(const char *pcPath) {
    pthread_mutex_lock(&s_stStatusLock);
    snprintf(s_szStatusPath, sizeof(s_szStatusPath), "%s", pcPath != NULL ? pcPath : SYS_PATH_UI_STATUS);
    pthread_mutex_unlock(&s_stStatusLock);
}

/* The file image: the status bytes, then in the reserved tail the mark, the version and the
 * CRC-32 of the status bytes (little-endian words), the rest zero. */
static void StatusFileImage(const SystemStatusInfo *pstInfo, uint8_t au8Image[SYSTEM_STATUS_INFO_SIZE]) {
    memset(au8Image, 0, SYSTEM_STATUS_INFO_SIZE);
    memcpy(au8Image, pstInfo, SYSTEM_STATUS_FIELDS_SIZE);
    uint32_t au32Tail[3] = {STATUS_FILE_MARK, STATUS_FILE_VERSION,
                            (uint32_t)crc32(0L, au8Image, SYSTEM_STATUS_FIELDS_SIZE)};
    for (int w = 0; w < 3; w++) {
        for (int b = 0; b < 4; b++) {
            au8Image[SYSTEM_STATUS_FIELDS_SIZE + 4 * w + b] = (uint8_t)(au32Tail[w] >> (8 * b));
        }
    }
}

int IpcMsg_SaveStatusInFile(void) {
    uint8_t au8Image[SYSTEM_STATUS_INFO_SIZE];
    char szTmp[sizeof(s_szStatusPath) + 8];
    int s32Ret = 0;
    pthread_mutex_lock(&s_stStatusLock);
    StatusFileImage(&m_stSystemStatus, au8Image);
    snprintf(szTmp, sizeof(szTmp), "%s.tmp", s_szStatusPath);
    FILE *pFile = fopen(szTmp, "wb");
    if (pFile == NULL) {
        perror("Failed to open file for writing");
        s32Ret = -1;
    } else {
        bool bOk = fwrite(au8Image, sizeof(au8Image), 1, pFile) == 1;
        if (fclose(pFile) != 0) {
            bOk = false;
        }
        if (bOk && rename(szTmp, s_szStatusPath) == 0) {
            LOG_INFO("data saved successfully\n");
        } else {
            LOG_ERROR("Failed to write\n");
            unlink(szTmp);
            s32Ret = -1;
        }
    }
    pthread_mutex_unlock(&s_stStatusLock);
    return s32Ret;
}

int IpcMsg_LoadStatusInFile(void) {
    pthread_mutex_lock(&s_stStatusLock);
    if (access(s_szStatusPath, F_OK) != 0) {
        pthread_mutex_unlock(&s_stStatusLock);
        LOG_INFO("file is no access\n");
        return 0;
    }
    FILE *pFile = fopen(s_szStatusPath, "rb");
    if (pFile == NULL) {
        pthread_mutex_unlock(&s_stStatusLock);
        perror("Failed to open file for reading");
        return -1;
    }
    /* One byte more than a record, to see a file that is too long. */
    uint8_t au8Read[SYSTEM_STATUS_INFO_SIZE + 1];
    size_t n = fread(au8Read, 1, sizeof(au8Read), pFile);
    fclose(pFile);
    int s32Ret = -1;
    if (n != SYSTEM_STATUS_INFO_SIZE) {
        LOG_ERROR("Failed to read the whole structure\n");
    } else {
        SystemStatusInfo stLoaded;
        memcpy(&stLoaded, au8Read, SYSTEM_STATUS_FIELDS_SIZE);
        uint8_t au8Expect[SYSTEM_STATUS_INFO_SIZE];
        StatusFileImage(&stLoaded, au8Expect);
        if (memcmp(au8Expect, au8Read, SYSTEM_STATUS_INFO_SIZE) != 0) {
            LOG_ERROR("the status file is not a record of this program, ignored\n");
        } else {
            memcpy(&m_stSystemStatus, au8Read, SYSTEM_STATUS_FIELDS_SIZE);
            LOG_INFO("data loaded successfully\n");
            s32Ret = 0;
        }
    }
    pthread_mutex_unlock(&s_stStatusLock);
    return s32Ret;
}

int IpcMsg_loadSystemStatusInfoInFile(void) {
    int s32Ret = IpcMsg_LoadStatusInFile();
    LOG_INFO("m_stSystemStatus[%d]\n", m_stSystemStatus.bRearPlugIn);
    return s32Ret;
}
