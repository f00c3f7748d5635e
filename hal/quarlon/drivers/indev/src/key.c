/* Key input: the last key from the recorder, the key timer, the keypad device and the page rule. */
#include "key.h"

#include <pthread.h>
#include <string.h>

#include <cjson/cJSON.h>

#include "log.h"

typedef struct {
    bool bLoopPending;
    bool bLvglPending;
    uint32_t u32KeyCode;
    uint32_t u32KeyValue;
    KeyEventCallBack pfnKeyEvetCallBack;
    void *pUserData;
    KeyEventCallBack pfnInvalidCallBack;
    void *pInvalidUserData;
    bool bInvalid;
    bool bNavRemap;
    uint32_t u32LastLvKey;
    lv_indev_state_t enLastLvState;
} KeyEvtLoop_Info;

static KeyEvtLoop_Info KeyEvtLoop_Info_s;
/* Static so that a key message arriving before Key_Init finds a working lock. */
static pthread_mutex_t s_keyMutex = PTHREAD_MUTEX_INITIALIZER;
static lv_timer_t *s_pstKeyTimer;
static lv_indev_drv_t s_stIndevDrv;
static lv_indev_t *s_pstIndev;
static lv_group_t *s_pstGroup;

/* A key code or value as sent: a whole number in 0..UINT32_MAX, or false. */
static bool key_whole_u32(const cJSON *pstItem, uint32_t *pu32Out) {
    double dValue = pstItem->valuedouble;
    if (!(dValue >= 0.0) || dValue > 4294967295.0 || (double)(uint32_t)dValue != dValue) {
        return false;
    }
    *pu32Out = (uint32_t)dValue;
    return true;
}

/* The keys the device has and the two things a key does; anything else is not a key event. */
static bool key_is_known(uint32_t u32Code, uint32_t u32Value) {
    bool bCode = u32Code == KEY_CODE_OK || u32Code == KEY_CODE_NEXT || u32Code == KEY_CODE_PREV ||
                 u32Code == KEY_CODE_BACK;
    return bCode && (u32Value == KEY_VALUE_PRESS || u32Value == KEY_VALUE_RELEASE);
}

int Key_IpcMsgEventCallbcak(const char *pcMsg, const MsgHeader *pstHdr) {
    (void)pstHdr;
    if (pcMsg == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pcMsg");
        return -1;
    }
    LOG_INFO("pMsgBuf:%s\n", pcMsg);
    cJSON *pstRoot = cJSON_Parse(pcMsg);
    if (pstRoot == NULL) {
        LOG_ERROR("Decode Json pack Error\n");
        return -1;
    }
    const cJSON *pstCode = cJSON_GetObjectItemCaseSensitive(pstRoot, "keycode");
    const cJSON *pstValue = cJSON_GetObjectItemCaseSensitive(pstRoot, "keyvalue");
    uint32_t u32Code = 0;
    uint32_t u32Value = 0;
    int s32Ret = 0;
    pthread_mutex_lock(&s_keyMutex);
    if (!cJSON_IsNumber(pstCode) || !cJSON_IsNumber(pstValue)) {
        LOG_ERROR("nullptr\n");
        s32Ret = -1;
    } else if (!key_whole_u32(pstCode, &u32Code) || !key_whole_u32(pstValue, &u32Value) ||
               !key_is_known(u32Code, u32Value)) {
        /* A code or value outside the tables would reach pages and LVGL as a key nobody
         * pressed: it is refused and changes nothing. */
        LOG_ERROR("unknown key refused: keycode %.17g keyvalue %.17g\n", pstCode->valuedouble,
                  pstValue->valuedouble);
        s32Ret = -1;
    } else {
        KeyEvtLoop_Info_s.u32KeyCode = u32Code;
        KeyEvtLoop_Info_s.u32KeyValue = u32Value;
        if (!KeyEvtLoop_Info_s.bInvalid) {
            KeyEvtLoop_Info_s.bLvglPending = true;
        }
        KeyEvtLoop_Info_s.bLoopPending = true;
    }
    pthread_mutex_unlock(&s_keyMutex);
    cJSON_Delete(pstRoot);
    return s32Ret;
}

void KEY_EventLoop(lv_timer_t *pstTimer) {
    pthread_mutex_lock(&s_keyMutex);
    bool bPending = KeyEvtLoop_Info_s.bLoopPending;
    pthread_mutex_unlock(&s_keyMutex);
    if (!bPending) {
        return;
    }
    if (pstTimer != NULL) {
        lv_timer_pause(pstTimer);
    }
    pthread_mutex_lock(&s_keyMutex);
    KeyEvtLoop_Info_s.bLoopPending = false;
    KeyEvtInfo stInfo = {KeyEvtLoop_Info_s.u32KeyCode, KeyEvtLoop_Info_s.u32KeyValue, NULL};
    bool bInvalid = KeyEvtLoop_Info_s.bInvalid;
    KeyEventCallBack fnCallback =
        bInvalid ? KeyEvtLoop_Info_s.pfnInvalidCallBack : KeyEvtLoop_Info_s.pfnKeyEvetCallBack;
    stInfo.pcUserDate = bInvalid ? KeyEvtLoop_Info_s.pInvalidUserData : KeyEvtLoop_Info_s.pUserData;
    pthread_mutex_unlock(&s_keyMutex);

    /* Callbacks run without the key mutex: they may set callbacks or modes themselves. */
    LOG_INFO("key %u value %u to the %s callback\n", stInfo.keycode, stInfo.keyvalue,
             bInvalid ? "divert" : "page");
    if (fnCallback != NULL) {
        fnCallback(&stInfo);
    } else if (!bInvalid) {
        LOG_ERROR("KeyEvtLoop_Info.pfnKeyEvetCallBack is null\n");
    }
    if (pstTimer != NULL) {
        lv_timer_resume(pstTimer);
    }
}

uint32_t Key_CodeToLvKey(uint32_t u32KeyCode) {
    switch (u32KeyCode) {
    case KEY_CODE_OK:
        return LV_KEY_ENTER;
    case KEY_CODE_NEXT:
        return LV_KEY_NEXT;
    case KEY_CODE_PREV:
        return LV_KEY_PREV;
    case KEY_CODE_BACK:
        return LV_KEY_ESC;
    default:
        return 0;
    }
}

void Key_ReadKeypad(lv_indev_drv_t *pstDrv, lv_indev_data_t *pstData) {
    (void)pstDrv;
    pthread_mutex_lock(&s_keyMutex);
    if (KeyEvtLoop_Info_s.bLvglPending) {
        KeyEvtLoop_Info_s.bLvglPending = false;
        lv_indev_state_t enState = pstData->state;
        if (KeyEvtLoop_Info_s.u32KeyValue == KEY_VALUE_PRESS) {
            enState = LV_INDEV_STATE_PRESSED;
        } else if (KeyEvtLoop_Info_s.u32KeyValue == KEY_VALUE_RELEASE) {
            enState = LV_INDEV_STATE_RELEASED;
        }
        uint32_t u32Key = Key_CodeToLvKey(KeyEvtLoop_Info_s.u32KeyCode);
        if (KeyEvtLoop_Info_s.bNavRemap) {
            if (u32Key == LV_KEY_PREV || u32Key == LV_KEY_NEXT) {
                u32Key = 0;
            } else if (u32Key == LV_KEY_ESC) {
                u32Key = LV_KEY_NEXT;
            }
        }
        KeyEvtLoop_Info_s.u32LastLvKey = u32Key;
        KeyEvtLoop_Info_s.enLastLvState = enState;
    }
    pstData->key = KeyEvtLoop_Info_s.u32LastLvKey;
    pstData->state = KeyEvtLoop_Info_s.enLastLvState;
    pthread_mutex_unlock(&s_keyMutex);
}

void Key_SetEventCallback(KeyEventCallBack fnCallback, void *pUserData) {
    pthread_mutex_lock(&s_keyMutex);
    KeyEvtLoop_Info_s.pfnKeyEvetCallBack = fnCallback;
    KeyEvtLoop_Info_s.pUserData = pUserData;
    pthread_mutex_unlock(&s_keyMutex);
}

void Key_SetInvalidFun(KeyEventCallBack fnCallback, bool bEnable, void *pUserData) {
    pthread_mutex_lock(&s_keyMutex);
    if (KeyEvtLoop_Info_s.enLastLvState == LV_INDEV_STATE_PRESSED) {
        LOG_INFO("change btn state -> RELEASED\n");
        KeyEvtLoop_Info_s.enLastLvState = LV_INDEV_STATE_RELEASED;
    }
    KeyEvtLoop_Info_s.pfnInvalidCallBack = fnCallback;
    KeyEvtLoop_Info_s.pInvalidUserData = pUserData;
    KeyEvtLoop_Info_s.bInvalid = bEnable;
    pthread_mutex_unlock(&s_keyMutex);
}

void Key_SetInvalidMode(bool bEnable) {
    pthread_mutex_lock(&s_keyMutex);
    KeyEvtLoop_Info_s.bInvalid = bEnable;
    pthread_mutex_unlock(&s_keyMutex);
}

void Key_SetNavRemap(bool bEnable) {
    pthread_mutex_lock(&s_keyMutex);
    KeyEvtLoop_Info_s.bNavRemap = bEnable;
    pthread_mutex_unlock(&s_keyMutex);
}

int Key_Init(void) {
    pthread_mutex_lock(&s_keyMutex);
    KeyEvtLoop_Info_s.u32LastLvKey = 0;
    KeyEvtLoop_Info_s.enLastLvState = LV_INDEV_STATE_RELEASED;
    pthread_mutex_unlock(&s_keyMutex);
    if (s_pstKeyTimer == NULL) {
        s_pstKeyTimer = lv_timer_create(KEY_EventLoop, KEY_EVENT_LOOP_PERIOD_MS, NULL);
    }
    if (s_pstIndev == NULL) {
        lv_indev_drv_init(&s_stIndevDrv);
        s_stIndevDrv.type = LV_INDEV_TYPE_KEYPAD;
        s_stIndevDrv.read_cb = Key_ReadKeypad;
        s_pstIndev = lv_indev_drv_register(&s_stIndevDrv);
        if (s_pstIndev == NULL) {
            /* LVGL attaches input devices to a display; page callbacks still get the keys. */
            LOG_ERROR("keypad device not registered (no display)\n");
            return -1;
        }
        s_pstGroup = lv_group_create();
        lv_indev_set_group(s_pstIndev, s_pstGroup);
        lv_group_set_default(s_pstGroup);
    }
    return s_pstKeyTimer != NULL ? 0 : -1;
}

lv_indev_t *Key_GetIndev(void) {
    return s_pstIndev;
}
lv_group_t *Key_GetGroup(void) {
    return s_pstGroup;
}

bool Key_PageCheckInfo(const KeyEvtInfo *pstEvtInfo) {
    if (pstEvtInfo == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstEvtInfo");
        return false;
    }
    if (pstEvtInfo->pcUserDate == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstEvtInfo->pcUserDate");
        return false;
    }
    return true;
}

KeyPageAction Key_PageTrack(uint32_t u32KeyValue, uint32_t *pu32PressTick) {
    if (pu32PressTick == NULL) {
        return KEY_PAGE_NONE;
    }
    if (u32KeyValue == KEY_VALUE_PRESS) {
        *pu32PressTick = lv_tick_get();
        return KEY_PAGE_PRESS;
    }
    if (u32KeyValue == KEY_VALUE_RELEASE) {
        return lv_tick_elaps(*pu32PressTick) <= KEY_SHORT_CLICK_MAX_MS ? KEY_PAGE_SHORT_CLICK
                                                                       : KEY_PAGE_RELEASE;
    }
    return KEY_PAGE_NONE;
}

KeyPageAction Key_PageSendEvents(lv_obj_t *pstObj, uint32_t u32KeyValue, uint32_t *pu32PressTick) {
    KeyPageAction enAction = Key_PageTrack(u32KeyValue, pu32PressTick);
    if (pstObj == NULL) {
        return enAction;
    }
    if (enAction == KEY_PAGE_PRESS) {
        lv_event_send(pstObj, LV_EVENT_PRESSED, NULL);
    } else if (enAction == KEY_PAGE_RELEASE || enAction == KEY_PAGE_SHORT_CLICK) {
        /* A released handler may delete the object: then there is nothing to click. */
        if (lv_event_send(pstObj, LV_EVENT_RELEASED, NULL) == LV_RES_OK && enAction == KEY_PAGE_SHORT_CLICK) {
            lv_event_send(pstObj, LV_EVENT_SHORT_CLICKED, NULL);
        }
    }
    return enAction;
}
