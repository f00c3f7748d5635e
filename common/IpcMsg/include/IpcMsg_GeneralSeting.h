/*
 * The general settings store: the user interface's copy of the recorder's 92 settings items.
 *
 * The recorder owns the settings. The copy is loaded item by item with
 * "IPCMSG_GENERALSETING_QUERY" and single items are written back with
 * "IPCMSG_GENERALSETING_SAVE"; a saved number item is taken into the copy once the recorder
 * accepted it. One lock guards the copy. Keys are compared exactly.
 */
#ifndef IPCMSG_GENERALSETING_H
#define IPCMSG_GENERALSETING_H

#include <assert.h>
#include <stddef.h>
#include <stdint.h>

#include "vyx_ipcmsg.h"

#ifdef __cplusplus
extern "C" {
#endif

#define GENERAL_SETING_TEXT_SIZE 64 /* text items: at most 63 characters and the NUL */
#define GENERAL_SETING_ITEM_NUM  92

/* Settings item codes (eElem). No item has 27 or 39. */
typedef enum {
    GS_PARKING_GSENSOR_LEVEL = 0,
    GS_NORMAL_GSENSOR_LEVEL = 1,
    GS_EVENTVIDEO_LEVEL = 2,
    GS_VIDEOTIME_LEVEL = 3,
    GS_SPEAKER_TURN = 4,
    GS_MIC_SWITCH = 5,
    GS_IMAGE_QUALITY = 6,
    GS_VERTICAL_MIRROR = 7,
    GS_HORIZONTAL_MIRROR = 8,
    GS_OSD_SWITCH = 9,
    GS_OSD_SPEEDSWITCH = 10,
    GS_OSD_SPEEDUNIT = 11,
    GS_START_SOUND_SWITCH = 12,
    GS_ACC_STATUS = 13,
    GS_PARKING_STATUS = 14,
    GS_PARKING_STBYTIMELVL = 15,
    GS_PARKING_VOLTLVL = 16,
    GS_PARKING_COLLISIONCNT = 17,
    GS_SCREEN_BRIGHTNESS = 18,
    GS_SCREEN_DORMANT = 19,
    GS_WIFI_SWITCH = 20,
    GS_REVERSE_AREA = 21,
    GS_PREVIEW_AREA = 22,
    GS_PREVIEW_CAMID = 23,
    GS_INSTALLTION_GUIDECNT = 24,
    GS_AUTOSHUTDOWN_SWITCH = 25,
    GS_WALLPAPER = 26,
    GS_BTPAIR_STATE = 28,
    GS_LANGUAGE = 29,
    GS_ACC_ON = 30,
    GS_REAR_ENABLE = 31,
    GS_INSIDE_ENABLE = 32,
    GS_VIDEO_CODEC = 33,
    GS_RES_CUR_LVL = 34,
    GS_PARKNORMDUR = 35,
    GS_PARKTIMELAPSEDUR = 36,
    GS_PARKAOVTIMELAPSEDUR = 37,
    GS_RADASENSITITY = 38,
    GS_AISPEECH_SUPPORT = 40,
    GS_AI_ALGORITHM_SENSITIVITY = 41,
    GS_FATIGUE_DRIVING_REMIND_SWITCH = 42,
    GS_FRONT_CAR_START_SWITCH = 43,
    GS_DEV_AVAILABLE_SIZE = 44,
    GS_DEV_TOTAL_SIZE = 45,
    GS_DEV_AVAILABLE_SIZE_AUX = 46,
    GS_DEV_TOTAL_SIZE_AUX = 47,
    GS_TIME_FORMAT = 48,
    GS_AIMASTERSWITCH = 49,
    GS_FRONTCARSTARTDETECT = 50,
    GS_CARWARNINGDETECT = 51,
    GS_LANEDEPARTUREDETECT = 52,
    GS_HUMANWARNINGDETECT = 53,
    GS_ANTIFLICKER = 54,
    GS_IR_LED = 55,
    GS_API_QUERY_ABILITY = 56,
    GS_PARKING_MODE_OPTION = 57,
    GS_REARMICSWITCH = 58,
    GS_INSIDEMICSWITCH = 59,
    GS_LOWPOWERVOLTAGEEN = 60,
    GS_SHOWLOWPOWER5LEVEL = 61,
    GS_LOWPOWERVOLTAGE = 62,
    GS_FRONTCARSTARTDETECTOP = 63,
    GS_CARWARNINGDETECTOP = 64,
    GS_LANEDEPARTUREDETECTOP = 65,
    GS_HUMANWARNINGDETECTOP = 66,
    GS_SUPPORT_4GNET_TEST = 67,
    GS_WIFI_MODE = 68,
    GS_FORMAT_ONTIME = 69,
    GS_LOWPOWERVOLTAGEOP = 70,
    GS_KOVAR_SETORIENTATION = 71,
    GS_EV_BIASLEVEL = 72,
    GS_PARKING_TIMES = 73,
    GS_PARKING_VOLT = 74,
    GS_QUIETREBOOT_ENABLE = 75,
    GS_KOVAR_RES_CUR_LVL = 76,
    GS_KOVAR_API_QUERY_ABILITY = 77,
    GS_KOVAR_INFRARED = 78,
    GS_KOVAR_OSD_SWITCH = 79,
    GS_KOVAR_OSD_SPEEDSWITCH = 80,
    GS_KOVAR_VERTICAL_MIRROR = 81,
    GS_KOVAR_HORIZONTAL_MIRROR = 82,
    GS_KOVAR_PARKING_GSENSOR_LEVEL = 83,
    GS_KOVAR_NORMAL_GSENSOR_LEVEL = 84,
    GS_KOVAR_SPEAKER_TURN = 85,
    GS_KOVAR_MIC_SWITCH = 86,
    GS_DIGICAM_MIC_SWITCH = 87,
    GS_DIGICAM_VERTICAL_MIRROR = 88,
    GS_DIGICAM_HORIZONTAL_MIRROR = 89,
    GS_DIGIINSIDECAM_MIC_SWITCH = 90,
    GS_DIGIINSIDECAM_VERTICAL_MIRROR = 91,
    GS_DIGIINSIDECAM_HORIZONTAL_MIRROR = 92,
    GS_DIGIINSIDECAM_INFRARED = 93,
} GeneralSetingElem;

/* The settings record. Flags are one byte (value != 0), numbers signed 32-bit, texts
 * NUL-terminated within 63 characters. Each field is named after its item key; the item
 * "aiMasterSwitch" has a flag and a number. The record is never stored or sent as a block; its
 * size is fixed at 784 bytes so that every pull asks for the same size on every target. */
typedef struct {
    uint8_t start_sound_switch;
    uint8_t mic_switch;
    uint8_t wifi_switch;
    uint8_t osd_switch;
    uint8_t osd_speedswitch;
    uint8_t osd_speedUnit;
    uint8_t btpair_state;
    uint8_t horizontal_mirror;
    uint8_t vertical_mirror;
    uint8_t acc_status;
    uint8_t acc_on;
    uint8_t autoshutdown_switch;
    uint8_t aispeech_support;
    uint8_t fatigue_driving_remind_switch;
    uint8_t front_car_start_switch;
    uint8_t rear_enable;
    uint8_t inside_enable;
    uint8_t aiMasterSwitch; /* flag copy of the item */
    uint8_t rearMicSwitch;
    uint8_t insideMicSwitch;
    uint8_t support_4gnet_test;
    uint8_t quietreboot_enable;
    int32_t image_quality;
    int32_t language;
    int32_t parking_status;
    int32_t IR_led;
    int32_t parking_stbytimelvl;
    uint8_t parking_voltlvl; /* one byte: the low byte of the value */
    int32_t parking_collisioncnt;
    int32_t speaker_turn;
    int32_t eventvideo_level;
    int32_t videotime_level;
    int32_t screen_brightness;
    int32_t format_ontime;
    int32_t screen_dormant;
    int32_t reverse_area;
    int32_t preview_area;
    int32_t preview_camid;
    int32_t installtion_guidecnt;
    int32_t video_codec;
    int32_t parkNormDur;
    int32_t parkTimeLapseDur;
    int32_t parkAovTimeLapseDur;
    int32_t dev_available_size;
    int32_t dev_total_size;
    int32_t dev_available_size_aux;
    int32_t dev_total_size_aux;
    int32_t parking_gsensor_level;
    int32_t normal_gsensor_level;
    int32_t aiMasterSwitchValue; /* the item's full value */
    int32_t radasensitity;
    int32_t parking_times;
    int32_t parking_volt;
    int32_t ev_biaslevel;
    int32_t kovar_setorientation;
    int32_t res_cur_lvl;
    int32_t wallpaper;
    int32_t ai_algorithm_sensitivity;
    int32_t frontCarStartDetect;
    int32_t carWarningDetect;
    int32_t laneDepartureDetect;
    int32_t humanWarningDetect;
    int32_t time_format;
    int32_t antiFlicker;
    int32_t wifi_mode;
    char api_query_ability[GENERAL_SETING_TEXT_SIZE];
    char parking_mode_option[GENERAL_SETING_TEXT_SIZE];
    char frontCarStartDetectOp[GENERAL_SETING_TEXT_SIZE];
    char carWarningDetectOp[GENERAL_SETING_TEXT_SIZE];
    char laneDepartureDetectOp[GENERAL_SETING_TEXT_SIZE];
    char humanWarningDetectOp[GENERAL_SETING_TEXT_SIZE];
    uint8_t lowPowerVoltageEn;
    uint8_t showLowPower5Level;
    int32_t lowPowerVoltage;
    char lowPowerVoltageOp[GENERAL_SETING_TEXT_SIZE];
    uint8_t kovar_osd_switch;
    uint8_t kovar_osd_speedswitch;
    int32_t kovar_infrared;
    uint8_t kovar_horizontal_mirror;
    uint8_t kovar_vertical_mirror;
    uint8_t kovar_mic_switch;
    int32_t kovar_res_cur_lvl;
    char kovar_api_query_ability[GENERAL_SETING_TEXT_SIZE];
    int32_t kovar_parking_gsensor_level;
    int32_t kovar_normal_gsensor_level;
    int32_t kovar_speaker_turn;
    uint8_t digicam_horizontal_mirror;
    uint8_t digicam_vertical_mirror;
    uint8_t digicam_mic_switch;
    uint8_t digiinsidecam_horizontal_mirror;
    uint8_t digiinsidecam_vertical_mirror;
    uint8_t digiinsidecam_mic_switch;
    int32_t digiinsidecam_infrared;
    uint8_t au8Reserved[28]; /* room up to the record's fixed size */
} GeneralSetingInfo;

#define GENERAL_SETING_INFO_SIZE 784

/* Kind of a settings item. */
typedef enum {
    GS_KIND_FLAG = 0,  /* one byte, value != 0 */
    GS_KIND_INT = 1,   /* signed 32-bit */
    GS_KIND_BYTE = 2,  /* one byte, the low byte of the value */
    GS_KIND_TEXT = 3,  /* char[64] */
    GS_KIND_MASTER = 4 /* "aiMasterSwitch": flag and number */
} GeneralSetingKind;

/* One row of the item table, in table order (also the order of a full load). */
typedef struct {
    int32_t eElem;
    const char *pcKey;
    GeneralSetingKind eKind;
    uint16_t u16Offset; /* of the field in GeneralSetingInfo */
} GeneralSetingItem;

/* The 92 rows and their row for a code or key (NULL when there is none). */
const GeneralSetingItem *IpcMsg_GeneralSetingItems(void);
const GeneralSetingItem *IpcMsg_GeneralSetingFindElem(int32_t eElem);
const GeneralSetingItem *IpcMsg_GeneralSetingFindKey(const char *pcKey);

/* Loads the listed items (in the given order; codes not in the table are skipped) from the
 * recorder. 0, or -1 for a null list, a failed exchange or a refused or undecodable answer (the
 * copy then keeps what it had). */
int IpcMsg_GeneralSetingItemLoad(const int32_t *peElemList, int32_t iElemNum);
/* Loads all 92 items. */
int IpcMsg_GeneralSetingItemLoadAll(void);
/* Takes one answer of a load (the whole document with its decoded header): 0, or -1 when the
 * recorder refused ("QUREY_ERROR") or the text is not JSON. */
int IpcMsg_GeneralSetingQureyCallBack(const char *pcMsg, const MsgHeader *pstHdr);

/* Saves one item: pcValue for a text item, s32Value for a number item. 0 saved (a number item is
 * then taken into the copy) or no such item; -1 when the recorder did not accept it. */
int IpcMsg_GeneralSetingItemSave(int32_t eElem, const char *pcValue, int32_t s32Value);

/* Sets one item of the copy under the lock, as a load answer would. 0, or -1 for an unknown code
 * or a text/number mismatch. */
int IpcMsg_GeneralSetingSetNumber(int32_t eElem, int32_t s32Value);
int IpcMsg_GeneralSetingSetText(int32_t eElem, const char *pcValue);

/* Copies len bytes (at most the record) under the lock. 0, or -1 for a null pointer. */
int IpcMsg_GeneralSetingCopy(void *pDst, uint32_t u32Len);
/* The record's address and its lock, for the account handler. */
GeneralSetingInfo *IpcMsg_GeneralSetingGetInfo(void);
void IpcMsg_GeneralSetingLock(void);
void IpcMsg_GeneralSetingUnlock(void);
/* Clears the copy (tests). */
void IpcMsg_GeneralSetingReset(void);

#ifdef __cplusplus
}
#endif

static_assert(sizeof(GeneralSetingInfo) == GENERAL_SETING_INFO_SIZE, "settings record is 784 bytes");
static_assert(offsetof(GeneralSetingInfo, parking_voltlvl) == 44, "settings record layout");
static_assert(offsetof(GeneralSetingInfo, digiinsidecam_infrared) == 752, "settings record layout");

#endif /* IPCMSG_GENERALSETING_H */
