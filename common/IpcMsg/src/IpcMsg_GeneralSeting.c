/*
 * The general settings store: the copy of the recorder's settings, the item table and the query
 * and save exchanges.
 */
#include "IpcMsg_GeneralSeting.h"

#include <pthread.h>
#include <stdio.h>
#include <string.h>

#include "IpcMsg_Common.h"
#include "log.h"

#define GS_QUERY_MSGID    "IPCMSG_GENERALSETING_QUERY"
#define GS_SAVE_MSGID     "IPCMSG_GENERALSETING_SAVE"
#define GS_TIMEOUT_MS     10000
#define GS_QUERY_RSP_SIZE 2048
#define GS_QUERY_CHUNK    16 /* items asked for in one exchange */

static GeneralSetingInfo m_stGeneralSetingInfo;
static pthread_mutex_t s_stLock = PTHREAD_MUTEX_INITIALIZER;

#define GS_ROW(code, key, kind)                                                                              \
    { code, #key, kind, (uint16_t)offsetof(GeneralSetingInfo, key) }

/* In table order: the order of a full load. */
static const GeneralSetingItem s_astItems[GENERAL_SETING_ITEM_NUM] = {
    GS_ROW(GS_PARKING_GSENSOR_LEVEL, parking_gsensor_level, GS_KIND_INT),
    GS_ROW(GS_NORMAL_GSENSOR_LEVEL, normal_gsensor_level, GS_KIND_INT),
    GS_ROW(GS_EVENTVIDEO_LEVEL, eventvideo_level, GS_KIND_INT),
    GS_ROW(GS_VIDEOTIME_LEVEL, videotime_level, GS_KIND_INT),
    GS_ROW(GS_SPEAKER_TURN, speaker_turn, GS_KIND_INT),
    GS_ROW(GS_MIC_SWITCH, mic_switch, GS_KIND_FLAG),
    GS_ROW(GS_IMAGE_QUALITY, image_quality, GS_KIND_INT),
    GS_ROW(GS_VERTICAL_MIRROR, vertical_mirror, GS_KIND_FLAG),
    GS_ROW(GS_HORIZONTAL_MIRROR, horizontal_mirror, GS_KIND_FLAG),
    GS_ROW(GS_OSD_SWITCH, osd_switch, GS_KIND_FLAG),
    GS_ROW(GS_OSD_SPEEDSWITCH, osd_speedswitch, GS_KIND_FLAG),
    GS_ROW(GS_OSD_SPEEDUNIT, osd_speedUnit, GS_KIND_FLAG),
    GS_ROW(GS_START_SOUND_SWITCH, start_sound_switch, GS_KIND_FLAG),
    GS_ROW(GS_ACC_STATUS, acc_status, GS_KIND_FLAG),
    GS_ROW(GS_PARKING_STATUS, parking_status, GS_KIND_INT),
    GS_ROW(GS_PARKING_STBYTIMELVL, parking_stbytimelvl, GS_KIND_INT),
    GS_ROW(GS_PARKING_VOLTLVL, parking_voltlvl, GS_KIND_BYTE),
    GS_ROW(GS_PARKING_COLLISIONCNT, parking_collisioncnt, GS_KIND_INT),
    GS_ROW(GS_SCREEN_BRIGHTNESS, screen_brightness, GS_KIND_INT),
    GS_ROW(GS_SCREEN_DORMANT, screen_dormant, GS_KIND_INT),
    GS_ROW(GS_WIFI_SWITCH, wifi_switch, GS_KIND_FLAG),
    GS_ROW(GS_REVERSE_AREA, reverse_area, GS_KIND_INT),
    GS_ROW(GS_PREVIEW_AREA, preview_area, GS_KIND_INT),
    GS_ROW(GS_PREVIEW_CAMID, preview_camid, GS_KIND_INT),
    GS_ROW(GS_INSTALLTION_GUIDECNT, installtion_guidecnt, GS_KIND_INT),
    GS_ROW(GS_AUTOSHUTDOWN_SWITCH, autoshutdown_switch, GS_KIND_FLAG),
    GS_ROW(GS_WALLPAPER, wallpaper, GS_KIND_INT),
    GS_ROW(GS_BTPAIR_STATE, btpair_state, GS_KIND_FLAG),
    GS_ROW(GS_LANGUAGE, language, GS_KIND_INT),
    GS_ROW(GS_ACC_ON, acc_on, GS_KIND_FLAG),
    GS_ROW(GS_REAR_ENABLE, rear_enable, GS_KIND_FLAG),
    GS_ROW(GS_INSIDE_ENABLE, inside_enable, GS_KIND_FLAG),
    GS_ROW(GS_VIDEO_CODEC, video_codec, GS_KIND_INT),
    GS_ROW(GS_RES_CUR_LVL, res_cur_lvl, GS_KIND_INT),
    GS_ROW(GS_AISPEECH_SUPPORT, aispeech_support, GS_KIND_FLAG),
    GS_ROW(GS_AI_ALGORITHM_SENSITIVITY, ai_algorithm_sensitivity, GS_KIND_INT),
    GS_ROW(GS_FATIGUE_DRIVING_REMIND_SWITCH, fatigue_driving_remind_switch, GS_KIND_FLAG),
    GS_ROW(GS_FRONT_CAR_START_SWITCH, front_car_start_switch, GS_KIND_FLAG),
    GS_ROW(GS_DEV_AVAILABLE_SIZE, dev_available_size, GS_KIND_INT),
    GS_ROW(GS_DEV_TOTAL_SIZE, dev_total_size, GS_KIND_INT),
    GS_ROW(GS_DEV_AVAILABLE_SIZE_AUX, dev_available_size_aux, GS_KIND_INT),
    GS_ROW(GS_DEV_TOTAL_SIZE_AUX, dev_total_size_aux, GS_KIND_INT),
    GS_ROW(GS_TIME_FORMAT, time_format, GS_KIND_INT),
    GS_ROW(GS_AIMASTERSWITCH, aiMasterSwitch, GS_KIND_MASTER),
    GS_ROW(GS_FRONTCARSTARTDETECT, frontCarStartDetect, GS_KIND_INT),
    GS_ROW(GS_CARWARNINGDETECT, carWarningDetect, GS_KIND_INT),
    GS_ROW(GS_LANEDEPARTUREDETECT, laneDepartureDetect, GS_KIND_INT),
    GS_ROW(GS_HUMANWARNINGDETECT, humanWarningDetect, GS_KIND_INT),
    GS_ROW(GS_ANTIFLICKER, antiFlicker, GS_KIND_INT),
    GS_ROW(GS_IR_LED, IR_led, GS_KIND_INT),
    GS_ROW(GS_PARKNORMDUR, parkNormDur, GS_KIND_INT),
    GS_ROW(GS_PARKTIMELAPSEDUR, parkTimeLapseDur, GS_KIND_INT),
    GS_ROW(GS_PARKAOVTIMELAPSEDUR, parkAovTimeLapseDur, GS_KIND_INT),
    GS_ROW(GS_API_QUERY_ABILITY, api_query_ability, GS_KIND_TEXT),
    GS_ROW(GS_PARKING_MODE_OPTION, parking_mode_option, GS_KIND_TEXT),
    GS_ROW(GS_REARMICSWITCH, rearMicSwitch, GS_KIND_FLAG),
    GS_ROW(GS_INSIDEMICSWITCH, insideMicSwitch, GS_KIND_FLAG),
    GS_ROW(GS_LOWPOWERVOLTAGEEN, lowPowerVoltageEn, GS_KIND_FLAG),
    GS_ROW(GS_SHOWLOWPOWER5LEVEL, showLowPower5Level, GS_KIND_FLAG),
    GS_ROW(GS_LOWPOWERVOLTAGE, lowPowerVoltage, GS_KIND_INT),
    GS_ROW(GS_FRONTCARSTARTDETECTOP, frontCarStartDetectOp, GS_KIND_TEXT),
    GS_ROW(GS_CARWARNINGDETECTOP, carWarningDetectOp, GS_KIND_TEXT),
    GS_ROW(GS_LANEDEPARTUREDETECTOP, laneDepartureDetectOp, GS_KIND_TEXT),
    GS_ROW(GS_HUMANWARNINGDETECTOP, humanWarningDetectOp, GS_KIND_TEXT),
    GS_ROW(GS_SUPPORT_4GNET_TEST, support_4gnet_test, GS_KIND_FLAG),
    GS_ROW(GS_WIFI_MODE, wifi_mode, GS_KIND_INT),
    GS_ROW(GS_FORMAT_ONTIME, format_ontime, GS_KIND_INT),
    GS_ROW(GS_RADASENSITITY, radasensitity, GS_KIND_INT),
    GS_ROW(GS_LOWPOWERVOLTAGEOP, lowPowerVoltageOp, GS_KIND_TEXT),
    GS_ROW(GS_KOVAR_SETORIENTATION, kovar_setorientation, GS_KIND_INT),
    GS_ROW(GS_EV_BIASLEVEL, ev_biaslevel, GS_KIND_INT),
    GS_ROW(GS_PARKING_TIMES, parking_times, GS_KIND_INT),
    GS_ROW(GS_PARKING_VOLT, parking_volt, GS_KIND_INT),
    GS_ROW(GS_QUIETREBOOT_ENABLE, quietreboot_enable, GS_KIND_FLAG),
    GS_ROW(GS_DIGICAM_MIC_SWITCH, digicam_mic_switch, GS_KIND_FLAG),
    GS_ROW(GS_DIGICAM_VERTICAL_MIRROR, digicam_vertical_mirror, GS_KIND_FLAG),
    GS_ROW(GS_DIGICAM_HORIZONTAL_MIRROR, digicam_horizontal_mirror, GS_KIND_FLAG),
    GS_ROW(GS_DIGIINSIDECAM_MIC_SWITCH, digiinsidecam_mic_switch, GS_KIND_FLAG),
    GS_ROW(GS_DIGIINSIDECAM_VERTICAL_MIRROR, digiinsidecam_vertical_mirror, GS_KIND_FLAG),
    GS_ROW(GS_DIGIINSIDECAM_HORIZONTAL_MIRROR, digiinsidecam_horizontal_mirror, GS_KIND_FLAG),
    GS_ROW(GS_DIGIINSIDECAM_INFRARED, digiinsidecam_infrared, GS_KIND_INT),
    GS_ROW(GS_KOVAR_RES_CUR_LVL, kovar_res_cur_lvl, GS_KIND_INT),
    GS_ROW(GS_KOVAR_API_QUERY_ABILITY, kovar_api_query_ability, GS_KIND_TEXT),
    GS_ROW(GS_KOVAR_INFRARED, kovar_infrared, GS_KIND_INT),
    GS_ROW(GS_KOVAR_OSD_SWITCH, kovar_osd_switch, GS_KIND_FLAG),
    GS_ROW(GS_KOVAR_OSD_SPEEDSWITCH, kovar_osd_speedswitch, GS_KIND_FLAG),
    GS_ROW(GS_KOVAR_VERTICAL_MIRROR, kovar_vertical_mirror, GS_KIND_FLAG),
    GS_ROW(GS_KOVAR_HORIZONTAL_MIRROR, kovar_horizontal_mirror, GS_KIND_FLAG),
    GS_ROW(GS_KOVAR_NORMAL_GSENSOR_LEVEL, kovar_normal_gsensor_level, GS_KIND_INT),
    GS_ROW(GS_KOVAR_PARKING_GSENSOR_LEVEL, kovar_parking_gsensor_level, GS_KIND_INT),
    GS_ROW(GS_KOVAR_SPEAKER_TURN, kovar_speaker_turn, GS_KIND_INT),
    GS_ROW(GS_KOVAR_MIC_SWITCH, kovar_mic_switch, GS_KIND_FLAG),
};

const GeneralSetingItem *IpcMsg_GeneralSetingItems(void) {
    return s_astItems;
}

const GeneralSetingItem *IpcMsg_GeneralSetingFindElem(int32_t eElem) {
    for (int i = 0; i < GENERAL_SETING_ITEM_NUM; i++) {
        if (s_astItems[i].eElem == eElem) {
            return &s_astItems[i];
        }
    }
    return NULL;
}

const GeneralSetingItem *IpcMsg_GeneralSetingFindKey(const char *pcKey) {
    if (pcKey == NULL) {
        return NULL;
    }
    for (int i = 0; i < GENERAL_SETING_ITEM_NUM; i++) {
        if (strcmp(s_astItems[i].pcKey, pcKey) == 0) {
            return &s_astItems[i];
        }
    }
    return NULL;
}

/* The setter of a number item; the caller holds the lock. */
static void GeneralSetingItemUp_Number(const GeneralSetingItem *pstItem, int32_t s32Value) {
    uint8_t *pu8Field = (uint8_t *)&m_stGeneralSetingInfo + pstItem->u16Offset;
    switch (pstItem->eKind) {
    case GS_KIND_FLAG:
        *pu8Field = s32Value != 0;
        break;
    case GS_KIND_BYTE:
        *pu8Field = (uint8_t)(s32Value & 0xFF);
        break;
    case GS_KIND_MASTER:
        *pu8Field = s32Value != 0;
        m_stGeneralSetingInfo.aiMasterSwitchValue = s32Value;
        break;
    case GS_KIND_INT:
        memcpy(pu8Field, &s32Value, sizeof(s32Value));
        if (pstItem->eElem == GS_AI_ALGORITHM_SENSITIVITY) {
            LOG_INFO("update GeneralSetingInfo\n");
        }
        break;
    default:
        break;
    }
}

/* The setter of a text item; the caller holds the lock. */
static void GeneralSetingItemUp_Text(const GeneralSetingItem *pstItem, const char *pcValue) {
    IpcMsg_CopyText((char *)&m_stGeneralSetingInfo + pstItem->u16Offset, GENERAL_SETING_TEXT_SIZE, pcValue);
}

int IpcMsg_GeneralSetingSetNumber(int32_t eElem, int32_t s32Value) {
    const GeneralSetingItem *pstItem = IpcMsg_GeneralSetingFindElem(eElem);
    if (pstItem == NULL || pstItem->eKind == GS_KIND_TEXT) {
        return -1;
    }
    pthread_mutex_lock(&s_stLock);
    GeneralSetingItemUp_Number(pstItem, s32Value);
    pthread_mutex_unlock(&s_stLock);
    return 0;
}

int IpcMsg_GeneralSetingSetText(int32_t eElem, const char *pcValue) {
    const GeneralSetingItem *pstItem = IpcMsg_GeneralSetingFindElem(eElem);
    if (pstItem == NULL || pstItem->eKind != GS_KIND_TEXT || pcValue == NULL) {
        return -1;
    }
    pthread_mutex_lock(&s_stLock);
    GeneralSetingItemUp_Text(pstItem, pcValue);
    pthread_mutex_unlock(&s_stLock);
    return 0;
}

/* One "int_params" entry of a load answer: only items of the table, with a number of the right
 * kind; the lock is held by the caller. */
static int GeneralSetingQueryInt(const char *pcKey, const int32_t *ps32Value) {
    const GeneralSetingItem *pstItem = IpcMsg_GeneralSetingFindKey(pcKey);
    if (pstItem == NULL) {
        return 0;
    }
    if (ps32Value == NULL || pstItem->eKind == GS_KIND_TEXT) {
        return -1;
    }
    GeneralSetingItemUp_Number(pstItem, *ps32Value);
    return 0;
}

static int GeneralSetingQueryStr(const char *pcKey, const char *pcValue) {
    const GeneralSetingItem *pstItem = IpcMsg_GeneralSetingFindKey(pcKey);
    if (pstItem == NULL) {
        return 0;
    }
    if (pcValue == NULL || pstItem->eKind != GS_KIND_TEXT) {
        return -1;
    }
    GeneralSetingItemUp_Text(pstItem, pcValue);
    return 0;
}

/* Takes every item of an answer's lists into the copy (known items of the right kind only). */
static void IpcMsg_GeneralSetingApply(const cJSON *pstRoot) {
    uint32_t u32Bad = 0;
    pthread_mutex_lock(&s_stLock);
    IpcMsg_ForEachParam(pstRoot, GeneralSetingQueryInt, GeneralSetingQueryStr, &u32Bad);
    pthread_mutex_unlock(&s_stLock);
    if (u32Bad != 0) {
        LOG_WARN("%u settings entries of wrong form ignored\n", u32Bad);
    }
}

int IpcMsg_GeneralSetingQureyCallBack(const char *pcMsg, const MsgHeader *pstHdr) {
    if (pcMsg == NULL || pstHdr == NULL) {
        return -1;
    }
    cJSON *pstRoot = IpcMsg_QueryAnswer(pcMsg, pstHdr);
    if (pstRoot == NULL) {
        return -1;
    }
    IpcMsg_GeneralSetingApply(pstRoot);
    cJSON_Delete(pstRoot);
    return 0;
}

/* Asks the recorder for up to GS_QUERY_CHUNK items and returns the answer's body. */
static int IpcMsg_GeneralSetingQueryChunk(const GeneralSetingItem *const *ppstItems, int32_t s32Num,
                                          cJSON **ppstAnswer) {
    *ppstAnswer = NULL;
    cJSON *pstBody = cJSON_CreateObject();
    cJSON *pstKeys = cJSON_CreateArray();
    if (pstBody == NULL || pstKeys == NULL) {
        IPCMSG_CJSON_CREATE_ERROR();
        cJSON_Delete(pstBody);
        cJSON_Delete(pstKeys);
        return -1;
    }
    for (int32_t i = 0; i < s32Num; i++) {
        cJSON *pstKey = cJSON_CreateObject();
        cJSON_AddStringToObject(pstKey, "key", ppstItems[i]->pcKey);
        cJSON_AddItemToArray(pstKeys, pstKey);
    }
    cJSON_AddItemToObject(pstBody, "keys", pstKeys);
    char szRspBuf[GS_QUERY_RSP_SIZE];
    MsgHeader stRspHdr;
    int s32Ret =
        IpcMsg_RequestSync(GS_QUERY_MSGID, pstBody, GS_TIMEOUT_MS, szRspBuf, sizeof(szRspBuf), &stRspHdr);
    if (s32Ret != 0) {
        return s32Ret;
    }
    *ppstAnswer = IpcMsg_QueryAnswer(szRspBuf, &stRspHdr);
    return *ppstAnswer != NULL ? 0 : -1;
}

/*
 * Asks the recorder for the listed items (codes not in the table are skipped) and takes the
 * answers. A message carries at most 2047 characters, which 92 keys and their values do not fit
 * in: the items are asked for GS_QUERY_CHUNK at a time, and the copy takes the answers only when
 * every exchange succeeded, so that a failed load leaves it as it was.
 */
static int IpcMsg_GeneralSetingQuerylHandle(const int32_t *peElemList, int32_t iElemNum) {
    const GeneralSetingItem *apstItems[GS_QUERY_CHUNK];
    cJSON *apstAnswers[(GENERAL_SETING_ITEM_NUM + GS_QUERY_CHUNK - 1) / GS_QUERY_CHUNK + 1] = {NULL};
    const int32_t s32MaxAnswers = (int32_t)(sizeof(apstAnswers) / sizeof(apstAnswers[0]));
    int32_t s32Answers = 0;
    int32_t s32Num = 0;
    int s32Ret = 0;
    for (int32_t i = 0; i <= iElemNum && s32Ret == 0; i++) {
        const GeneralSetingItem *pstItem = i < iElemNum ? IpcMsg_GeneralSetingFindElem(peElemList[i]) : NULL;
        if (pstItem != NULL) {
            apstItems[s32Num++] = pstItem;
        }
        const bool bLast = i == iElemNum;
        if ((s32Num == GS_QUERY_CHUNK || (bLast && (s32Num > 0 || s32Answers == 0)))) {
            if (s32Answers == s32MaxAnswers) {
                LOG_ERROR("too many settings items asked for (%d)\n", iElemNum);
                s32Ret = -1;
                break;
            }
            s32Ret = IpcMsg_GeneralSetingQueryChunk(apstItems, s32Num, &apstAnswers[s32Answers++]);
            s32Num = 0;
        }
    }
    if (s32Ret == 0) {
        for (int32_t i = 0; i < s32Answers; i++) {
            IpcMsg_GeneralSetingApply(apstAnswers[i]);
        }
    }
    for (int32_t i = 0; i < s32Answers; i++) {
        cJSON_Delete(apstAnswers[i]);
    }
    return s32Ret;
}

int IpcMsg_GeneralSetingItemLoad(const int32_t *peElemList, int32_t iElemNum) {
    if (peElemList == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pKeyInfo");
        return -1;
    }
    if (iElemNum < 0) {
        iElemNum = 0;
    }
    int s32Ret = IpcMsg_GeneralSetingQuerylHandle(peElemList, iElemNum);
    if (s32Ret != 0) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
        return -1;
    }
    return 0;
}

int IpcMsg_GeneralSetingItemLoadAll(void) {
    int32_t as32Elem[GENERAL_SETING_ITEM_NUM];
    for (int i = 0; i < GENERAL_SETING_ITEM_NUM; i++) {
        as32Elem[i] = s_astItems[i].eElem;
    }
    return IpcMsg_GeneralSetingItemLoad(as32Elem, GENERAL_SETING_ITEM_NUM);
}

/* Sends one item and reads the recorder's "result". */
static int IpcMsg_GeneralSetingHandle(const GeneralSetingItem *pstItem, const char *pcValue,
                                      int32_t s32Value) {
    cJSON *pstBody = cJSON_CreateObject();
    cJSON *pstArr = cJSON_CreateArray();
    cJSON *pstEntry = cJSON_CreateObject();
    if (pstBody == NULL || pstArr == NULL || pstEntry == NULL) {
        IPCMSG_CJSON_CREATE_ERROR();
        cJSON_Delete(pstBody);
        cJSON_Delete(pstArr);
        cJSON_Delete(pstEntry);
        return -1;
    }
    cJSON_AddStringToObject(pstEntry, "key", pstItem->pcKey);
    cJSON_AddItemToArray(pstArr, pstEntry);
    if (pcValue != NULL) {
        cJSON_AddStringToObject(pstEntry, "value", pcValue);
        cJSON_AddStringToObject(pstBody, "int_params", "");
        cJSON_AddItemToObject(pstBody, "string_params", pstArr);
    } else {
        cJSON_AddNumberToObject(pstEntry, "value", s32Value);
        cJSON_AddItemToObject(pstBody, "int_params", pstArr);
        cJSON_AddStringToObject(pstBody, "string_params", "");
    }

    int32_t s32Result = -1;
    int s32Ret = IpcMsg_RequestResult(GS_SAVE_MSGID, pstBody, GS_TIMEOUT_MS, &s32Result);
    if (s32Ret != 0) {
        return s32Ret;
    }
    return s32Result;
}

int IpcMsg_GeneralSetingItemSave(int32_t eElem, const char *pcValue, int32_t s32Value) {
    const GeneralSetingItem *pstItem = IpcMsg_GeneralSetingFindElem(eElem);
    if (pstItem == NULL) {
        LOG_ERROR("No eElem:  %d\n", eElem);
        return 0;
    }
    /* A text item is saved with its text, a number item with its number, whatever was passed. */
    bool bText = pstItem->eKind == GS_KIND_TEXT;
    if (bText && pcValue == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pcValue");
        return -1;
    }
    int s32Ret = IpcMsg_GeneralSetingHandle(pstItem, bText ? pcValue : NULL, s32Value);
    if (s32Ret != 0) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
        return -1;
    }
    if (!bText) {
        pthread_mutex_lock(&s_stLock);
        GeneralSetingItemUp_Number(pstItem, s32Value);
        pthread_mutex_unlock(&s_stLock);
    }
    return 0;
}

int IpcMsg_GeneralSetingCopy(void *pDst, uint32_t u32Len) {
    if (pDst == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pDst");
        return -1;
    }
    if (u32Len > sizeof(m_stGeneralSetingInfo)) {
        u32Len = sizeof(m_stGeneralSetingInfo);
    }
    pthread_mutex_lock(&s_stLock);
    memcpy(pDst, &m_stGeneralSetingInfo, u32Len);
    pthread_mutex_unlock(&s_stLock);
    return 0;
}

GeneralSetingInfo *IpcMsg_GeneralSetingGetInfo(void) {
    return &m_stGeneralSetingInfo;
}

void IpcMsg_GeneralSetingLock(void) {
    pthread_mutex_lock(&s_stLock);
}

void IpcMsg_GeneralSetingUnlock(void) {
    pthread_mutex_unlock(&s_stLock);
}

void IpcMsg_GeneralSetingReset(void) {
    pthread_mutex_lock(&s_stLock);
    memset(&m_stGeneralSetingInfo, 0, sizeof(m_stGeneralSetingInfo));
    pthread_mutex_unlock(&s_stLock);
}
