/*
 * Inside the system state supervision: its one state record and the pieces its three source
 * files share (SysStateCheck.cpp: account, operations, toast stack, keys, periodic checks and the
 * watcher; SysStateCheckHandle.cpp: the dispatch table and its handlers; SysStateCheckView.cpp:
 * the overlays' objects).
 */
#ifndef SYS_STATE_CHECK_PRIV_H
#define SYS_STATE_CHECK_PRIV_H

#include <pthread.h>
#include <time.h>

#include <atomic>

#include "SysStateCheck.h"
#include "key.h"

namespace sysstate {

/* The bottom key bar of one toast type. */
using BottomInfo = SysStateBottomBar;

/* Timers the handlers start; each is null while not running. */
enum TimerId {
    TIMER_TRIGGER = 0,      /* the trigger toast's 5000 ms */
    TIMER_UPDATING,         /* device updating lock, 600000 ms */
    TIMER_DIGICAM_UPDATING, /* camera updating lock, 600000 ms */
    TIMER_HIGH_TEMP,        /* removal 4000 ms after "resume" */
    TIMER_ACC_ON,           /* screen "on" 1000 ms after ACC on */
    TIMER_BACK_HOME,        /* 50 ms steps until the home page is back */
    TIMER_PREVIEW,          /* preview opened 3000 ms after leaving playback */
    TIMER_FULL_HOUR,        /* 100 ms: the full-hour toast goes at minute 0 */
    TIMER_WALLPAPER,        /* the wallpaper's figure (30 s) or clock (500 ms) */
    TIMER_WALLPAPER_ON,     /* 200 ms after the wallpaper was drawn: screen on, pause */
    TIMER_NUM
};

struct State {
    PageManager *pstManager = nullptr;
    Account *pstAccount = nullptr;

    /* watcher thread */
    pthread_t stCheckPagestatue{};
    bool bThreadStarted = false;
    std::atomic<bool> bThreadRun{false};
    std::atomic<uint8_t> u8PlayerRelease{0}; /* the player is to be released */
    std::atomic<uint8_t> u8ExitPlayback{0};  /* then playback mode is to be left */

    /* toast stack and keys */
    ToastType aeStack[SYS_STATE_TOAST_STACK_SIZE] = {};
    uint32_t u32StackCount = 0;
    ToastType eActive = TOAST_NONE;
    SysStateKeyOwner eKeys = SYS_KEYS_PAGES;
    BottomInfo astBottom[TOAST_NONE] = {};
    uint32_t u32ToastPressTick = 0;
    uint32_t u32WallPressTick = 0;

    /* overlays */
    lv_obj_t *apstObj[SYS_OVERLAY_NUM] = {};
    lv_obj_t *pst4GTipLabel = nullptr; /* the 4G lock's tip line */
    lv_obj_t *pst4GImg = nullptr;      /* the 4G lock's picture and text */
    lv_obj_t *pst4GLabel = nullptr;
    lv_obj_t *pstClockHour = nullptr; /* wallpaper clock */
    lv_obj_t *pstClockMin = nullptr;
    lv_obj_t *pstClockDate = nullptr;
    lv_obj_t *pstWallGif = nullptr; /* wallpaper figure */
    uint32_t u32WallGifIndex = 0;
    int32_t s32WallpaperKind = 0;
    lv_timer_t *apstTimer[TIMER_NUM] = {};

    /* timing */
    uint32_t u32LastActivity = 0;
    uint32_t u32LastResetTick = 0;
    uint32_t u32SnapTick = 0;
    bool bSkipWindow = false; /* the screen-lock skip window is open */
    uint32_t u32SkipMs = 0;
    uint32_t u32FullHourGoneTick = 0;
    bool bFullHourGone = false;
    uint32_t u32TimerTicks = 0;
    uint32_t u32ScreenOnTick = 0; /* when the screen was last seen on (high-temperature lock) */
    bool bScreenWasOn = false;

    /* what the handlers remember */
    bool bRecSeen = false;
    uint8_t u8LastRecording = 0;
    bool bBackFromPlayback = false;
    bool bParkingDeferred = false;
    int32_t s32ParkingModeState = 0;
    int8_t cDispStatus = 0;
    bool bGuideReq = false;
    uint32_t u32GuideTick = 0;
    bool bParkingEvtReq = false;
    SystemStatusInfo stStatus = {}; /* the record of the notice being handled */

    /* the wall clock (tests replace it) */
    time_t (*pfnNow)(void) = nullptr;
};

State &S();

/* ---- SysStateCheck.cpp ---- */
bool Shown(SysStateOverlay e);
void StartTimer(TimerId id, uint32_t u32Period, bool bOneShot, lv_timer_cb_t cb);
void StopTimer(TimerId id);
/* Gives the keys to whoever the overlays on screen say should have them. */
void RouteKeys();
void ResetActivity();
bool BackToHomeHandle();
bool BackToHomeAllowed(bool bLog);
const char *CurrentPageName();
int ReloadSettings(const int32_t *peItems, int32_t s32Num);
void HighTempLockHandle(bool bResume);
void DestroyHighTempLock();
void EnterParkingLockPage();
void DestroyParkingLockPage();
void CheckUpdatingLocks();
void Shell(const char *pcCmd);
void ToastKeyCb(KeyEvtInfo *pstEvtInfo);
void WallpaperKeyCb(KeyEvtInfo *pstEvtInfo);

/* ---- SysStateCheckHandle.cpp ---- */
/* Runs the row of eType; false when the table has none. */
bool Dispatch(int32_t eType, const SystemStatusInfo &stInfo);
uint32_t DispatchRowCount();
void AppLogout(bool bByUser);

/* ---- SysStateCheckView.cpp ---- */
/* A full-screen panel on the top layer with a picture (may be null) and a text id below it. */
lv_obj_t *CreateLockPanel(const char *pcImg, const char *pcTextId, lv_obj_t **ppstImg = nullptr,
                          lv_obj_t **ppstLabel = nullptr);
lv_obj_t *CreateLockPanelOn(lv_obj_t *parent, const char *pcImg, const char *pcTextId, lv_obj_t **ppstImg,
                            lv_obj_t **ppstLabel);
lv_obj_t *AddLabel(lv_obj_t *parent, const char *pcTextId, uint16_t u16Size);
void SetImg(lv_obj_t *img, const char *pcRelPath);
void DeleteOverlay(SysStateOverlay e);
/* The bottom bar of a toast; the buttons click through ToastKeyCb. */
void CreateToastBottom(ToastType eType, lv_obj_t *parent, bool bHidePrevNext, bool bHideConfirm);
void CreateWallpaper(int32_t s32Kind);
void CreateFullHourToast(int32_t s32Hour);
void CreateTriggerToast(int32_t eType);
void CreateEmpowerPage();
void CreateFailEmpowerPage();
void ShowEmpowerSuccess();
void CreateDigiCamErrPage(ToastType eType, int32_t s32Status);
void BringLocksToFront();

} // namespace sysstate

/* The toast bars' back and confirm buttons (SysStateCheckHandle.cpp). */
void SysStateCheck_HandleBackButton(ToastType eType);
void SysStateCheck_HandleConfirmButton(ToastType eType);

#endif /* SYS_STATE_CHECK_PRIV_H */
