/*
 * System state supervision: the one place that turns the recorder's state into what the user
 * sees outside the normal pages. It listens to every status change (the account "SysStateCheck",
 * subscribed to "SystemStatus", "GeneralCtrl", "InfoTips", "GeneralSeting", "StatusBar" and
 * "Player", with a 30 ms timer), shows tips, drives status-bar icons, raises the lock and toast
 * overlays on the display's top layer, switches the screen through the recorder, shows the
 * wallpaper while the screen is dormant and goes back to the home page after 30 s without
 * input. One watcher thread releases the album player when asked to.
 *
 * Overlays that own a bottom key bar (the toasts) are kept on a stack of nine places; the top
 * shown one has the keys. Everything here runs on the LVGL thread except the watcher thread and
 * SysStateCheck_MarkPlayerRelease, which any thread may call.
 */
#ifndef SYS_STATE_CHECK_H
#define SYS_STATE_CHECK_H

#include <stdbool.h>
#include <stdint.h>
#include <time.h>

#include "DataProc.h"
#include "PageManager.h"
#include "lvgl.h"

#define SYS_STATE_CHECK_ACCOUNT    "SysStateCheck"
#define SYS_STATE_CHECK_PERIOD_MS  30    /* the account's timer */
#define SYS_STATE_WATCH_PERIOD_MS  50    /* the watcher thread */
#define SYS_STATE_BACK_HOME_MS     30000 /* without input, the home page comes back */
#define SYS_STATE_TOAST_STACK_SIZE 9
#define SYS_STATE_TRIGGER_TOAST_MS 5000 /* a driving alert stays this long */
#define SYS_STATE_UPDATING_LOCK_MS 600000

/* The overlays that own a bottom key bar. */
typedef enum {
    TOAST_EMPOWER = 0,        /* Bluetooth empower page */
    TOAST_APP_LOCK = 1,       /* app connected lock */
    TOAST_STORAGE_ERR = 2,    /* storage error toast */
    TOAST_DIGICAM_REAR = 3,   /* rear camera error page */
    TOAST_DIGICAM_INSIDE = 4, /* inside camera error page */
    TOAST_NONE = 5,
} ToastType;

/* Every overlay, for SysStateCheck_OverlayShown and SysStateCheck_GetOverlay. */
typedef enum {
    SYS_OVERLAY_WALLPAPER = 0,    /* wallpaper page while the screen is dormant */
    SYS_OVERLAY_FULL_HOUR,        /* full-hour clock toast on the wallpaper */
    SYS_OVERLAY_HIGH_TEMP,        /* high-temperature lock */
    SYS_OVERLAY_APP_LOCK,         /* app connected (Wi-Fi), toast type 1 */
    SYS_OVERLAY_4G_LOCK,          /* app connected over 4G */
    SYS_OVERLAY_USB_LOCK,         /* USB connected */
    SYS_OVERLAY_PARKING_LOCK,     /* parking mode */
    SYS_OVERLAY_UPDATING,         /* firmware updating (the device) */
    SYS_OVERLAY_DIGICAM_UPDATING, /* firmware updating (a digital camera) */
    SYS_OVERLAY_EMPOWER,          /* Bluetooth empower page, toast type 0 */
    SYS_OVERLAY_EMPOWER_FAIL,     /* empower failed */
    SYS_OVERLAY_DIGICAM_REAR,     /* rear camera error page, toast type 3 */
    SYS_OVERLAY_DIGICAM_INSIDE,   /* inside camera error page, toast type 4 */
    SYS_OVERLAY_TRIGGER,          /* driving-assistance alert */
    SYS_OVERLAY_STORAGE_ERR,      /* storage error toast, toast type 2 */
    SYS_OVERLAY_BLACK_BG,         /* black background over the camera picture */
    SYS_OVERLAY_NUM
} SysStateOverlay;

/* Who has the keys. */
typedef enum {
    SYS_KEYS_PAGES = 0, /* the current page's key callback */
    SYS_KEYS_WALLPAPER, /* SysStateCheck_KeyCb: a short press wakes the screen */
    SYS_KEYS_TOAST,     /* SysStateCheck_ToastKeyCb: the active toast's bar */
    SYS_KEYS_SWALLOWED, /* nobody: a lock without bar is up */
} SysStateKeyOwner;

/* ---- life ---- */

/* Creates the account and its subscriptions, starts the watcher thread, loads the start-up
 * settings. Once; 0, or -1 (logged) when the account cannot be made. */
int SysStateCheck_Init(PageManager *pstManager);
/* Stops and joins the watcher thread, deletes every overlay and the account. */
void SysStateCheck_Deinit(void);

/* ---- requests through the data center ---- */

/* Saves one settings item (number, or text when pcValue is not null). 0 or -1. */
int SysStateCheck_CtrlGeneralSeting(int32_t eElem, const char *pcValue, int32_t s32Value);
/* Asks the recorder for the listed settings items (blocking). 0 or -1. */
int SysStateCheck_LoadGeneralSeting(const int32_t *peElemList, int32_t s32Num);
int SysStateCheck_QueryGeneralSeting(GeneralSetingInfo *pstInfo);
int SysStateCheck_QuerySystemState(SystemStatusInfo *pstInfo);
/* Sends a control item (s32Value is unused by the recorder's items and kept for callers). */
int SysStateCheck_CtrlGeneralCtrlItem(bool bNoBlock, int32_t eElem, const char *pcValue, int32_t s32Value);
/* Writes a whole status record (fields the user interface owns, such as bPageBusy). */
int SysStateCheck_SetSystemStatus(const SystemStatusInfo *pstInfo);
/* A normal tip of that language id (s32Num is kept for callers). */
int SysStateCheck_ShowTips(const char *pcLangId, int32_t s32Num);
/* A status-bar command (StatusBarCmd) with a title or item name; bFlag: the title is a language
 * id. */
int SysStateCheck_CtrlBarItem(int32_t eCmd, const char *pcText, bool bFlag);
/* bAdd: add the item pcType with the icon pcIcon; else remove the item pcType. */
int SysStateCheck_ReferStatusBarIcon(bool bAdd, const char *pcType, const char *pcIcon);

/* ---- the recorder's state ---- */

int SysStateCheck_ScreenIsOn(void);       /* 1 unless the screen is dormant */
int SysStateCheck_IsInParkingMode(void);  /* bAccOff */
int SysStateCheck_IsInPlayBackMode(void); /* bPlaybackMode */
int SysStateCheck_GetPageIsBusy(void);    /* bPageBusy */

/* "on", "off", "pause", "resume" or "reset" to the recorder (control item 9, blocking). 0 or
 * -1. */
int SysStateCheck_CtrlScreen(const char *pcCmd);

/* ---- toast stack and keys ---- */

void SysStateCheck_SetCurrentActiveToastType(ToastType eType);
void SysStateCheck_ClearCurrentActiveToastType(void);
ToastType SysStateCheck_GetCurrentActiveToastType(void);
/* 0; -1 for a type outside 0-4 or a full stack (nothing changes). */
int SysStateCheck_PushToastPage(ToastType eType);
/* Removes the topmost entry of that type; 0 also when it is not on the stack. */
int SysStateCheck_PopToastPage(ToastType eType);
/* The topmost type whose overlay is shown, or TOAST_NONE. */
ToastType SysStateCheck_GetCurrentShowToastType(void);
/* After an overlay went away: the keys go to the top shown toast, else back to the pages. */
void SysStateCheck_RestoreToastKeyState(void);
/* Copies the stack (bottom first) into peTypes (at most u32Max); the number of entries. */
uint32_t SysStateCheck_GetToastStack(ToastType *peTypes, uint32_t u32Max);
SysStateKeyOwner SysStateCheck_GetKeyOwner(void);

/* ---- overlays ---- */

bool SysStateCheck_OverlayShown(SysStateOverlay eOverlay);
lv_obj_t *SysStateCheck_GetOverlay(SysStateOverlay eOverlay);
/* The wallpaper page (the screen went dormant, or the power button) and its removal. */
void SysStateCheck_CreateScreenLockPage(void);
void SysStateCheck_DestroyScreenLockAndFullHourPage(void);

/* Pieces shared with the system toast page. A lock view: a full-size panel on parent with a
 * picture (may be null) above a text id, centred in a column that leaves room for a key bar. */
lv_obj_t *SysStateCheck_CreateLockView(lv_obj_t *parent, const char *pcImg, const char *pcTextId);
/* A full-size opaque panel of the overlays' colour on parent. */
lv_obj_t *SysStateCheck_CreatePanel(lv_obj_t *parent);
/* A centred, wrapping white label of the body font at u16Size px with the text of pcTextId (null:
 * empty). */
lv_obj_t *SysStateCheck_CreateLabel(lv_obj_t *parent, const char *pcTextId, uint16_t u16Size);
/* A bottom key bar of four buttons (back, previous, next, confirm) on parent; each button gets
 * event_cb for LV_EVENT_SHORT_CLICKED with user_data. */
typedef struct {
    lv_obj_t *bar;
    lv_obj_t *back_obj;
    lv_obj_t *prev_obj;
    lv_obj_t *next_obj;
    lv_obj_t *confirm_obj;
} SysStateBottomBar;
void SysStateCheck_CreateBottomBar(lv_obj_t *parent, SysStateBottomBar *pstBar, lv_event_cb_t event_cb,
                                   void *user_data);

/* The camera error view (also used by the system toast page): a panel with a text label, a
 * title label and a picture. Refresh fills it for camera 1 (rear) or 2 (inside) and its status;
 * false (nothing changed) for a status without texts. */
typedef struct {
    lv_obj_t *obj;
    lv_obj_t *label;
    lv_obj_t *label_title;
    lv_obj_t *img;
} SysStateDigiCamView;
void SysStateCheck_CreateDigiCamView(lv_obj_t *parent, SysStateDigiCamView *pstView);
bool SysStateCheck_RefreshDigiCamView(SysStateDigiCamView *pstView, int32_t s32Cam, int32_t s32Status);

/* The wall clock of the wallpaper clock and the full-hour toast (null: the system's); tests and
 * benchmarks set a fixed one. */
void SysStateCheck_SetClock(time_t (*pfnNow)(void));

/* ---- album player ---- */

/* Marks the player for release by the watcher thread (any thread). */
void SysStateCheck_MarkPlayerRelease(void);
bool SysStateCheck_PlayerReleasePending(void);

/* ---- parking events ---- */

/* A parking collision asked for the parking event toast and it is not shown yet. */
bool SysStateCheck_ParkingEvtRequested(void);

#endif /* SYS_STATE_CHECK_H */
