/*
 * The status bar: one 32-pixel strip across the top of every screen, created once on the top
 * layer before any page and never destroyed. It shows the record icon at the left edge, up to
 * nine status icons at the right (an ordered list of named items, the first added rightmost),
 * two further icon slots at the left and the title area (title with its shadow, file-type
 * image, focus counter).
 *
 * Other modules change it by calling the operations below or by notifying the account
 * "StatusBar" with a StatusBarMsg. Everything runs on the LVGL thread.
 */
#ifndef STATUS_BAR_H
#define STATUS_BAR_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#include "lvgl.h"

#include "DataCenter.h"

#define STATUSBAR_HEIGHT         32
#define STATUSBAR_RIGHT_SLOTS    9
#define STATUSBAR_LEFT_SLOTS     2
#define STATUSBAR_TYPE_NAME_LEN  32
#define STATUSBAR_ICON_NAME_LEN  128
#define STATUSBAR_REFRESH_PERIOD 1000 /* ms, the account's timer */
#define STATUSBAR_ACCOUNT_NAME   "StatusBar"

/* What the bar shows; the home page uses ALL, settings, album and the guide REC_TITLE, the
 * screen lock REC, toasts and warnings NONE. */
typedef enum {
    STATUSBAR_SHOW_REC = 0,       /* record icon only */
    STATUSBAR_SHOW_REC_ICONS = 1, /* record icon and the icons */
    STATUSBAR_SHOW_REC_TITLE = 2, /* record icon and the title area */
    STATUSBAR_SHOW_TITLE = 3,     /* title area only */
    STATUSBAR_SHOW_NONE = 4,      /* nothing */
    STATUSBAR_SHOW_ALL = 5,       /* everything */
    STATUSBAR_SHOW_TYPE_NUM
} StatusBarShowType;

/* Record-icon styles: 0 a point, 1 a "REC" badge. */
typedef enum {
    STATUSBAR_REC_STYLE_POINT = 0,
    STATUSBAR_REC_STYLE_REC = 1,
    STATUSBAR_REC_STYLE_NUM
} StatusBarRecStyle;

/* Commands of a StatusBarMsg. */
typedef enum {
    STATUSBAR_CMD_TITLE_LEFT = 0,   /* title aligned top-left at 18 % */
    STATUSBAR_CMD_TITLE_CENTER = 1, /* title centred */
    STATUSBAR_CMD_UPDATE_TITLE = 2, /* StatusBar_UpdateTitleCont */
    STATUSBAR_CMD_REMOVE_ITEM = 3,  /* remove the right item named pcIconName */
    STATUSBAR_CMD_ADD_ITEM = 4,     /* add or update the right item pcTypeName with pcIconName */
} StatusBarCmd;

/* The command record notified to "StatusBar": 36 bytes on the 32-bit device, zero-filled by the
 * sender. The texts belong to the sender and are used during the call only. */
typedef struct {
    int32_t eCmd;           /* StatusBarCmd */
    const char *pcTypeName; /* add: type name of the item */
    const char *pcIconName; /* add: icon file below "statusbar/"; remove: type name */
    const char *pcTitle;    /* update: title text or language id */
    const char *pcFileType; /* update: "rear", "front" or "inside" */
    const char *pcFocus;    /* update: focus counter text */
    bool bShadow;           /* update: draw the title shadow */
    bool bTitleIsLangId;    /* update: pcTitle is a language id */
    uint8_t au8Rsv0[2];
    bool bCustomFont; /* update: use pcFontPath */
    uint8_t au8Rsv1[3];
    const char *pcFontPath; /* update: custom font file */
} StatusBarMsg;

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(StatusBarMsg) == 36, "StatusBarMsg is 36 bytes on the device");
static_assert(offsetof(StatusBarMsg, bShadow) == 24 && offsetof(StatusBarMsg, bCustomFont) == 28 &&
                  offsetof(StatusBarMsg, pcFontPath) == 32,
              "StatusBarMsg layout");
#endif

/* A title-area member and whether the last update wanted it visible. */
typedef struct {
    lv_obj_t *obj;
    bool bshow;
} StatusBarTitleItem;

/* One right-hand icon slot. */
typedef struct {
    lv_obj_t *img;
    bool bBreath; /* its breathing animation runs */
} StatusBarIconSlot;

/* The bar's widgets (one instance). */
typedef struct {
    lv_obj_t *root;
    lv_obj_t *bar;     /* the strip that slides in and out */
    lv_obj_t *iconRow; /* record icon and right slots, flex row */
    lv_obj_t *recIcon; /* user-1 state while recording is shown */
    StatusBarTitleItem title;
    StatusBarTitleItem shadow_title;
    StatusBarTitleItem filetype_img;
    StatusBarTitleItem focus;
    StatusBarIconSlot astRight[STATUSBAR_RIGHT_SLOTS];
    lv_obj_t *apstLeft[STATUSBAR_LEFT_SLOTS];
} StatusBarObjs;

/* Builds the bar on parent (the top layer). -1 without a parent, else 0. Once per run. */
int StatusBar_Create(lv_obj_t *parent);

void StatusBar_ShowType(int eType);
StatusBarShowType StatusBar_GetShowType(void);
void BackLastTypeShow(void);
/* 1 slides the bar in, anything else out (500 ms, ease-out). */
void StatusBar_SlideAnim(int s32In);

/* Right-hand list: add or update by type name; remove every item of that name. */
void AddItemToList(const char *pTypeName, const char *IconName, bool bBreath);
void RemoveItemFromList(const char *pTypeName);
/* Left-hand list (two slots, no breathing). */
void AddItemToListLeft(const char *pTypeName, const char *IconName);
void RemoveItemFromListLeft(const char *pTypeName);

void CtrlIconBreath(const char *pTypeName, bool bBreath);
void CtrlRecIconStyle(int eTypeName);
void UpdateSdIcon(bool bShow, const char *IconName);
void UpdateRearIcon(bool bShow, const char *IconName);
void UpdateInsideIcon(bool bShow, const char *IconName);
void CtrlGpsIconShow(bool bShow, bool bBreath);
void CtrlKovarIconShow(bool bShow);
void Ctrl4GIconShow(bool bShow, int s32Level, bool bReady);

void StatusBar_UpdateTitleCont(const StatusBarMsg *info);
void StatusBar_ShowAllAvailableTitleCont(void);
/* Commands 0 and 1: title aligned left or centred. */
void StatusBar_AlignTitle(int eCmd);

/* Record icon: recording shown or not (user-1 state and the style's image). */
void StatusBar_SetRecording(bool bRecording);

/* The account "StatusBar": its event handler; DP_StatusBar_Init (DataProc.h) sets it up with the
 * 1000 ms timer and the subscriptions to "GeneralSeting" and "SystemStatus". */
int StatusBar_onEvent(Account *account, Account::EventParam *param);
/* Pulls the status record through the account; false (and *pbRecording unchanged) when that
 * fails or the account is not set up. */
bool StatusBar_PullRecording(bool *pbRecording);

/* Read-only views for the pages' tests and the benchmarks. */
const StatusBarObjs *StatusBar_GetObjs(void);
int StatusBar_GetRecIconStyle(void);
/* Items of the right (bLeft false) or left list, in list order; false past the end. */
bool StatusBar_GetItem(bool bLeft, uint32_t u32Index, const char **ppcTypeName, const char **ppcIconName,
                       bool *pbBreath);
uint32_t StatusBar_GetItemCount(bool bLeft);
/* Whether the record icon breathes. */
bool StatusBar_RecIconBreathing(void);

#endif /* STATUS_BAR_H */
