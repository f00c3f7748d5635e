/*
 * Key input. The recorder reads the device keys and sends every press and release as the IPC
 * message "IPCMSG_KEYEVENT" with the numbers "keycode" and "keyvalue". The receive thread only
 * stores the last key; on the LVGL thread a 30 ms timer hands it to the current page's key
 * callback (or to the divert callback while a system dialog owns the keys), and LVGL's keypad
 * device reads it for the default focus group.
 */
#ifndef KEY_H
#define KEY_H

#include <stdbool.h>
#include <stdint.h>

#include "lvgl.h"
#include "vyx_ipcmsg.h"

#ifdef __cplusplus
extern "C" {
#endif

/* "keycode" of the key message. */
typedef enum {
    KEY_CODE_OK = 0,
    KEY_CODE_NEXT = 2,
    KEY_CODE_PREV = 3,
    KEY_CODE_BACK = 6,
} KeyCode;

/* "keyvalue" of the key message. A message with another code or value is refused. */
typedef enum {
    KEY_VALUE_PRESS = 3,
    KEY_VALUE_RELEASE = 4,
} KeyValue;

#define KEY_EVENT_LOOP_PERIOD_MS 30
#define KEY_SHORT_CLICK_MAX_MS   799

/* The key event handed to callbacks, built for each delivery. */
typedef struct {
    uint32_t keycode;
    uint32_t keyvalue;
    void *pcUserDate; /* the user data given with the callback */
} KeyEvtInfo;

typedef void (*KeyEventCallBack)(KeyEvtInfo *pstEvtInfo);

/* IPC handler of "IPCMSG_KEYEVENT" (runs on a receive thread). 0, or -1 for a bad message. */
int Key_IpcMsgEventCallbcak(const char *pcMsg, const MsgHeader *pstHdr);

/* Key timer, keypad device and default group; called once from lvgl_init after the display. */
int Key_Init(void);

/* The 30 ms LVGL timer callback and LVGL's keypad read callback. */
void KEY_EventLoop(lv_timer_t *pstTimer);
void Key_ReadKeypad(lv_indev_drv_t *pstDrv, lv_indev_data_t *pstData);

/* The page key callback and its user data (null: no page takes keys). */
void Key_SetEventCallback(KeyEventCallBack fnCallback, void *pUserData);
/* The divert callback, its user data and the divert flag; releases a key held in LVGL. */
void Key_SetInvalidFun(KeyEventCallBack fnCallback, bool bEnable, void *pUserData);
void Key_SetInvalidMode(bool bEnable);
/* With remap on, PREV and NEXT reach LVGL as no key and BACK as LV_KEY_NEXT. */
void Key_SetNavRemap(bool bEnable);

/* LVGL key for a key code (0 for a key LVGL does not get). */
uint32_t Key_CodeToLvKey(uint32_t u32KeyCode);

/* The keypad device and the default group made by Key_Init (NULL before, or without display). */
lv_indev_t *Key_GetIndev(void);
lv_group_t *Key_GetGroup(void);

/*
 * The rule every page's key callback follows.
 *
 * Key_PageCheckInfo logs "pointer[%s] is NULL" for a missing record or user data and returns
 * false for them.
 *
 * Key_PageTrack: a press notes lv_tick_get in *pu32PressTick and gives KEY_PAGE_PRESS; a release
 * gives KEY_PAGE_SHORT_CLICK when no more than 799 ms passed since the press, KEY_PAGE_RELEASE
 * otherwise; other values give KEY_PAGE_NONE.
 *
 * Key_PageSendEvents applies Key_PageTrack to an object: LV_EVENT_PRESSED on a press,
 * LV_EVENT_RELEASED on a release, followed by LV_EVENT_SHORT_CLICKED for a short click. A null
 * object only tracks.
 */
typedef enum {
    KEY_PAGE_NONE = 0,
    KEY_PAGE_PRESS,
    KEY_PAGE_RELEASE,
    KEY_PAGE_SHORT_CLICK,
} KeyPageAction;

bool Key_PageCheckInfo(const KeyEvtInfo *pstEvtInfo);
KeyPageAction Key_PageTrack(uint32_t u32KeyValue, uint32_t *pu32PressTick);
KeyPageAction Key_PageSendEvents(lv_obj_t *pstObj, uint32_t u32KeyValue, uint32_t *pu32PressTick);

#ifdef __cplusplus
}
#endif

#endif /* KEY_H */
