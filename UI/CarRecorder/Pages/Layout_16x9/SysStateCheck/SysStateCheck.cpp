#include "SysStateCheck.h"

#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "StatusBar.h"
#include "SysStateCheckPriv.h"
#include "key.h"
#include "log.h"
#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace sysstate {

namespace {

constexpr const char *kHomePage = "Pages/Home";
constexpr const char *kParkingEvtPage = "Pages/ParkingEvtToast";
constexpr const char *kAlbumHomePage = "Pages/AlbumHome";
constexpr const char *kAlbumPlayerPage = "Pages/AlbumPlayer";
constexpr const char *kInstallGuidePage = "Pages/InstallGuide";

constexpr uint32_t kSnapQuietMs = 5000;   /* parking event toast waits this after a snapshot */
constexpr uint32_t kGuideWaitMs = 2000;   /* parameter reset -> installation guide */
constexpr uint32_t kSkipWindowMs = 15000; /* no wallpaper this long after ACC on or heat */
constexpr uint32_t kResetStepMs = 1001;   /* spacing of the "reset" before going home */
constexpr uint32_t kHighTempOnMs = 6000;  /* the heat lock goes once the screen was on this long */
constexpr uint32_t kFullHourSpacingMs = 60000;
constexpr uint32_t kWakeClickMs = 800;

const int32_t s_as32StartItems[] = {GS_INSIDE_ENABLE, GS_REAR_ENABLE, GS_PARKING_TIMES,
                                    GS_QUIETREBOOT_ENABLE};
const int32_t s_as32GuideItems[] = {GS_INSTALLTION_GUIDECNT};

/* Swallowing locks: while one is up no key reaches anybody. */
const SysStateOverlay s_aeSwallowing[] = {SYS_OVERLAY_UPDATING, SYS_OVERLAY_DIGICAM_UPDATING,
                                          SYS_OVERLAY_4G_LOCK, SYS_OVERLAY_USB_LOCK,
                                          SYS_OVERLAY_PARKING_LOCK};

/* The overlay of each toast type. */
const SysStateOverlay s_aeToastOverlay[TOAST_NONE] = {SYS_OVERLAY_EMPOWER, SYS_OVERLAY_APP_LOCK,
                                                      SYS_OVERLAY_STORAGE_ERR, SYS_OVERLAY_DIGICAM_REAR,
                                                      SYS_OVERLAY_DIGICAM_INSIDE};

int LogResult(int s32Ret) {
    if (s32Ret != Account::RES_OK) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
    }
    return s32Ret;
}

bool CheckAccount() {
    if (S().pstAccount == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "m_pstAccount");
        return false;
    }
    return true;
}

void OnTimerEvent();

int onEvent(Account *account, Account::EventParam *param) {
    (void)account;
    switch (param->event) {
    case Account::EVENT_PUBLISH: {
        if (param->size != sizeof(SystemStatusNotice)) {
            return Account::RES_SIZE_MISMATCH;
        }
        SystemStatusNotice stNotice;
        memcpy(&stNotice, param->data_p, sizeof stNotice);
        LOG_INFO("eTempState[%d]\n", (int)stNotice.stInfo.iTempLevel);
        if (lv_disp_get_default() == nullptr) {
            return Account::RES_OK; /* no screen for tips and overlays */
        }
        S().stStatus = stNotice.stInfo;
        Dispatch(stNotice.eType, stNotice.stInfo);
        return Account::RES_OK;
    }
    case Account::EVENT_NOTIFY: {
        if (param->size != sizeof(int32_t)) {
            return Account::RES_SIZE_MISMATCH;
        }
        int32_t s32Value;
        memcpy(&s32Value, param->data_p, sizeof s32Value);
        if (s32Value == 0 && !Shown(SYS_OVERLAY_WALLPAPER)) {
            LOG_INFO("Show wallpaper page\n");
            SysStateCheck_CreateScreenLockPage();
        }
        return Account::RES_OK;
    }
    case Account::EVENT_TIMER:
        OnTimerEvent();
        return Account::RES_OK;
    default:
        return Account::RES_UNSUPPORTED;
    }
}

void *AlbumPageStatueCheck_Thread(void *pArg) {
    (void)pArg;
    State &s = S();
    while (s.bThreadRun.load()) {
        if (s.u8PlayerRelease.load() != 0) {
            LOG_INFO("deinit player\n");
            PlayerCtrlReq stReq;
            memset(&stReq, 0, sizeof stReq);
            stReq.eCmd = PLAYER_CMD_DEINIT;
            Account *pstAccount = s.pstAccount;
            if (pstAccount == nullptr ||
                pstAccount->Notify(DP_ACCOUNT_PLAYER, &stReq, sizeof stReq) != Account::RES_OK) {
                LOG_ERROR("player deinit fail!\n");
            } else {
                s.u8PlayerRelease.store(0);
                if (s.u8ExitPlayback.load() != 0) {
                    if (SysStateCheck_CtrlGeneralCtrlItem(false, CTRL_ELEM_PLAYBACKMODE, "exit", 0) != 0) {
                        LOG_ERROR("[%s] failed\n", "ctrl_playbackmode");
                    }
                    LOG_INFO("\33[0;32;32mExit From Playck Back Mode\n\33[m");
                    s.u8ExitPlayback.store(0);
                }
            }
        }
        usleep(SYS_STATE_WATCH_PERIOD_MS * 1000);
    }
    LOG_INFO("end\n");
    return nullptr;
}

/* 1. Wallpaper while the screen is dormant. */
void ShowWallPaper() {
    State &s = S();
    if (Shown(SYS_OVERLAY_HIGH_TEMP) || Shown(SYS_OVERLAY_USB_LOCK) || Shown(SYS_OVERLAY_STORAGE_ERR) ||
        Shown(SYS_OVERLAY_DIGICAM_REAR) || Shown(SYS_OVERLAY_DIGICAM_INSIDE)) {
        return;
    }
    SystemStatusInfo stStatus;
    if (SysStateCheck_QuerySystemState(&stStatus) != 0) {
        return;
    }
    if (Shown(SYS_OVERLAY_APP_LOCK) || Shown(SYS_OVERLAY_4G_LOCK)) {
        if (stStatus.bScreenDormant != 0) {
            SysStateCheck_CtrlScreen("on");
            SysStateCheck_CtrlScreen("pause");
        }
        return;
    }
    if (s.u32TimerTicks % 10 != 0) {
        return;
    }
    if (s.bSkipWindow && stStatus.bScreenDormant == 0) {
        s.u32SkipMs += 300;
        if (s.u32SkipMs >= kSkipWindowMs) {
            s.bSkipWindow = false;
        }
    }
    GeneralSetingInfo stInfo;
    if (SysStateCheck_QueryGeneralSeting(&stInfo) != 0) {
        return;
    }
    if (stStatus.bScreenDormant != 0 && stStatus.bAccOff == 0 && stInfo.wallpaper != 3 &&
        !Shown(SYS_OVERLAY_WALLPAPER) && !s.bSkipWindow) {
        LOG_INFO("Screen off ,Show wallpaper page\n");
        SysStateCheck_CreateScreenLockPage();
    }
}

/* 2. Back to the home page after 30 s without input. */
void AutoBackCheck() {
    State &s = S();
    uint32_t u32Idle = lv_tick_elaps(s.u32LastActivity);
    if (u32Idle >= SYS_STATE_BACK_HOME_MS - 1000 && u32Idle < SYS_STATE_BACK_HOME_MS) {
        if (lv_tick_elaps(s.u32LastResetTick) >= kResetStepMs) {
            s.u32LastResetTick = lv_tick_get();
            if (BackToHomeAllowed(false) && !Shown(SYS_OVERLAY_HIGH_TEMP)) {
                SysStateCheck_CtrlScreen("reset");
            }
        }
    } else if (u32Idle >= SYS_STATE_BACK_HOME_MS) {
        ResetActivity();
        BackToHomeHandle();
    } else if (SysStateCheck_GetPageIsBusy() != 0) {
        ResetActivity();
    }
}

/* 3. The full-hour clock on the wallpaper. */
void FullHourCheck() {
    State &s = S();
    if (!Shown(SYS_OVERLAY_WALLPAPER) || Shown(SYS_OVERLAY_FULL_HOUR)) {
        return;
    }
    if (s.bFullHourGone && lv_tick_elaps(s.u32FullHourGoneTick) < kFullHourSpacingMs) {
        return;
    }
    time_t t = s.pfnNow != nullptr ? s.pfnNow() : time(nullptr);
    struct tm stTm;
    localtime_r(&t, &stTm);
    if (stTm.tm_min != 59) {
        return;
    }
    LOG_INFO("full hour, NextHour = %d\n", stTm.tm_hour + 1);
    CreateFullHourToast(stTm.tm_hour + 1);
}

/* 5. The heat lock goes once the screen has been on for a while. */
void HighTempCheck() {
    State &s = S();
    bool bOn = SysStateCheck_ScreenIsOn() != 0;
    if (!bOn) {
        s.bScreenWasOn = false;
        return;
    }
    if (!s.bScreenWasOn) {
        s.bScreenWasOn = true;
        s.u32ScreenOnTick = lv_tick_get();
    }
    if (Shown(SYS_OVERLAY_HIGH_TEMP) && lv_tick_elaps(s.u32ScreenOnTick) >= kHighTempOnMs &&
        s.apstTimer[TIMER_HIGH_TEMP] == nullptr) {
        DestroyHighTempLock();
    }
}

/* 6. The installation guide after a parameter reset. */
void InstallGuideCheck() {
    State &s = S();
    if (!s.bGuideReq || lv_tick_elaps(s.u32GuideTick) < kGuideWaitMs) {
        return;
    }
    s.u32GuideTick = lv_tick_get();
    ReloadSettings(s_as32GuideItems, 1);
    GeneralSetingInfo stInfo;
    if (SysStateCheck_QueryGeneralSeting(&stInfo) != 0 || stInfo.installtion_guidecnt != 0) {
        return;
    }
    LOG_INFO("End of parameter reset, skip to the installation page\n");
    s.bGuideReq = false;
    StatusBar_ShowType(STATUSBAR_SHOW_NONE);
    SysStateCheck_CtrlBarItem(STATUSBAR_CMD_UPDATE_TITLE, " ", false);
    if (s.pstManager != nullptr) {
        s.pstManager->SetStackClear(false);
        s.pstManager->Push(kInstallGuidePage);
    }
}

/* 7. The parking event toast, once the snapshots have settled. */
void ParkingEvtCheck() {
    State &s = S();
    if (!s.bParkingEvtReq || lv_tick_elaps(s.u32SnapTick) < kSnapQuietMs) {
        return;
    }
    SystemStatusInfo stStatus;
    if (SysStateCheck_QuerySystemState(&stStatus) != 0 || stStatus.bAccOn == 0 || stStatus.bInGuide != 0) {
        return;
    }
    const char *pcCur = CurrentPageName();
    if (pcCur == nullptr || strcmp(pcCur, kHomePage) != 0) {
        return; /* shown over the home page only */
    }
    LOG_INFO("show parking event page\n");
    s.bParkingEvtReq = false;
    if (s.pstManager != nullptr && s.pstManager->FindPageInPool(kParkingEvtPage) != nullptr) {
        s.pstManager->Push(kParkingEvtPage);
    }
}

void OnTimerEvent() {
    State &s = S();
    ++s.u32TimerTicks;
    ShowWallPaper();
    AutoBackCheck();
    FullHourCheck();
    lv_indev_t *pstIndev = Key_GetIndev();
    if (pstIndev != nullptr && pstIndev->proc.state == LV_INDEV_STATE_PRESSED) {
        ResetActivity();
    }
    HighTempCheck();
    InstallGuideCheck();
    ParkingEvtCheck();
}

void BackHomeStep(lv_timer_t *t) {
    (void)t;
    State &s = S();
    const char *pcCur = CurrentPageName();
    if (s.pstManager == nullptr || (pcCur != nullptr && strcmp(pcCur, kHomePage) == 0) ||
        s.pstManager->PopToBottom()) {
        LOG_INFO("backhome, finish\n");
        StopTimer(TIMER_BACK_HOME);
    }
}

void HighTempTimeout(lv_timer_t *t) {
    (void)t;
    S().apstTimer[TIMER_HIGH_TEMP] = nullptr; /* one-shot: LVGL deletes it */
    DestroyHighTempLock();
}

} // namespace

State &S() {
    static State s_stState;
    return s_stState;
}

bool Shown(SysStateOverlay e) {
    if (e == SYS_OVERLAY_BLACK_BG) {
        lv_obj_t *obj = S().apstObj[e];
        return obj != nullptr && !lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN);
    }
    return e < SYS_OVERLAY_NUM && S().apstObj[e] != nullptr;
}

void StartTimer(TimerId id, uint32_t u32Period, bool bOneShot, lv_timer_cb_t cb) {
    State &s = S();
    StopTimer(id);
    s.apstTimer[id] = lv_timer_create(cb, u32Period, nullptr);
    if (bOneShot) {
        lv_timer_set_repeat_count(s.apstTimer[id], 1);
    }
}

void StopTimer(TimerId id) {
    State &s = S();
    if (s.apstTimer[id] != nullptr) {
        lv_timer_del(s.apstTimer[id]);
        s.apstTimer[id] = nullptr;
    }
}

void ResetActivity() {
    S().u32LastActivity = lv_tick_get();
}

const char *CurrentPageName() {
    State &s = S();
    if (s.pstManager == nullptr) {
        return nullptr;
    }
    PageBase *pstTop = s.pstManager->GetStackTop();
    return pstTop != nullptr ? pstTop->Name : nullptr;
}

static bool CurrentPageIs(const char *pcName) {
    const char *pcCur = CurrentPageName();
    return pcCur != nullptr && strcmp(pcCur, pcName) == 0;
}

bool BackToHomeAllowed(bool bLog) {
    State &s = S();
    if (s.pstManager == nullptr || s.pstManager->FindPageInPool(kHomePage) == nullptr) {
        return false;
    }
    const char *pcCur = CurrentPageName();
    if (pcCur == nullptr) {
        return false;
    }
    if (strcmp(pcCur, kHomePage) == 0) {
        if (bLog) {
            LOG_INFO("Alraedy in home page\n");
        }
        return false;
    }
    if (strcmp(pcCur, kParkingEvtPage) == 0) {
        if (bLog) {
            LOG_INFO("Not allow back to home,current page is[%s]\n", pcCur);
        }
        return false;
    }
    return true;
}

bool BackToHomeHandle() {
    if (!BackToHomeAllowed(true)) {
        return false;
    }
    State &s = S();
    if (SysStateCheck_IsInPlayBackMode() != 0 || CurrentPageIs(kAlbumHomePage)) {
        if (CurrentPageIs(kAlbumPlayerPage)) {
            SysStateCheck_MarkPlayerRelease();
            s.u8ExitPlayback.store(1);
        }
    }
    if (s.apstTimer[TIMER_BACK_HOME] == nullptr) {
        StartTimer(TIMER_BACK_HOME, 50, false, BackHomeStep);
    }
    return true;
}

int ReloadSettings(const int32_t *peItems, int32_t s32Num) {
    int s32Ret = SysStateCheck_LoadGeneralSeting(peItems, s32Num);
    if (s32Ret != 0) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
    }
    return s32Ret;
}

void Shell(const char *pcCmd) {
    if (system(pcCmd) != 0) {
        LOG_ERROR("[%s] failed\n", pcCmd);
    }
}

void DestroyHighTempLock() {
    State &s = S();
    StopTimer(TIMER_HIGH_TEMP);
    if (s.apstObj[SYS_OVERLAY_HIGH_TEMP] != nullptr) {
        LOG_INFO("page del [%p]\n", (void *)s.apstObj[SYS_OVERLAY_HIGH_TEMP]);
        DeleteOverlay(SYS_OVERLAY_HIGH_TEMP);
        RouteKeys();
    }
}

void HighTempLockHandle(bool bResume) {
    State &s = S();
    lv_obj_t *obj = s.apstObj[SYS_OVERLAY_HIGH_TEMP];
    if (obj == nullptr) {
        return;
    }
    if (!bResume) {
        DestroyHighTempLock();
        return;
    }
    lv_obj_move_foreground(obj);
    if (s.apstTimer[TIMER_HIGH_TEMP] == nullptr) {
        StartTimer(TIMER_HIGH_TEMP, 4000, true, HighTempTimeout);
    }
}

void EnterParkingLockPage() {
    State &s = S();
    GeneralSetingInfo stInfo;
    if (SysStateCheck_QueryGeneralSeting(&stInfo) != 0) {
        return;
    }
    LOG_INFO("Parkingmode = %d\n", (int)stInfo.parking_status);
    if (s.apstObj[SYS_OVERLAY_PARKING_LOCK] == nullptr) {
        LOG_INFO("Create parking lock page\n");
        s.apstObj[SYS_OVERLAY_PARKING_LOCK] =
            CreateLockPanel("other/parking_mode.png", "LANG_RES_ID_PARKING_MODE_TOAST");
        BringLocksToFront();
        RouteKeys();
        Shell("touch " SYS_PATH_PARKING_PAGE);
    }
    if (!BackToHomeAllowed(false)) {
        return;
    }
    if (CurrentPageIs(kAlbumPlayerPage)) {
        SysStateCheck_MarkPlayerRelease();
    }
    if (SysStateCheck_IsInPlayBackMode() != 0 && stInfo.parking_status == 1) {
        if (!SysStateCheck_PlayerReleasePending()) {
            if (SysStateCheck_CtrlGeneralCtrlItem(false, CTRL_ELEM_PLAYBACKMODE, "exit", 0) != 0) {
                LOG_ERROR("Error Code: [0x%08X]\n\n", 0xFFFFFFFFu);
            }
            LOG_INFO("\33[0;32;32mExit From Playck Back Mode\n\33[m");
        } else {
            s.u8ExitPlayback.store(1);
        }
    } else {
        LOG_INFO("Back to Home, Before enter parking toast\n");
        BackToHomeHandle();
    }
}

void DestroyParkingLockPage() {
    State &s = S();
    if (s.apstObj[SYS_OVERLAY_PARKING_LOCK] == nullptr) {
        return;
    }
    LOG_INFO("Destroy parking lock page\n");
    DeleteOverlay(SYS_OVERLAY_PARKING_LOCK);
    RouteKeys();
    Shell("rm -f " SYS_PATH_PARKING_PAGE);
}

/* The updating locks follow their flags in the status record (a wake-up checks them). */
void CheckUpdatingLocks() {
    SystemStatusInfo stStatus;
    if (SysStateCheck_QuerySystemState(&stStatus) != 0) {
        return;
    }
    if (stStatus.bUpdating == 0 && Shown(SYS_OVERLAY_UPDATING)) {
        Dispatch(SYS_STATUS_UPDATING, stStatus);
    }
    if (stStatus.bDigiCamUpdating == 0 && stStatus.bDigiCamInsideUpdating == 0 &&
        Shown(SYS_OVERLAY_DIGICAM_UPDATING)) {
        Dispatch(SYS_STATUS_DIGICAM_UPDATING, stStatus);
    }
}

static SysStateKeyOwner WantedKeyOwner() {
    for (SysStateOverlay e : s_aeSwallowing) {
        if (Shown(e)) {
            return SYS_KEYS_SWALLOWED;
        }
    }
    if (Shown(SYS_OVERLAY_WALLPAPER)) {
        return SYS_KEYS_WALLPAPER;
    }
    return SysStateCheck_GetCurrentShowToastType() != TOAST_NONE ? SYS_KEYS_TOAST : SYS_KEYS_PAGES;
}

void RouteKeys() {
    State &s = S();
    SysStateKeyOwner eOwner = WantedKeyOwner();
    ToastType eShown = SysStateCheck_GetCurrentShowToastType();
    s.eActive = eShown;
    if (eOwner == s.eKeys) {
        return;
    }
    s.eKeys = eOwner;
    switch (eOwner) {
    case SYS_KEYS_PAGES:
        LOG_INFO("Setting keys is valid for UI\n");
        Key_SetInvalidFun(nullptr, false, nullptr);
        break;
    case SYS_KEYS_WALLPAPER:
        Key_SetInvalidFun(WallpaperKeyCb, true, nullptr);
        break;
    case SYS_KEYS_TOAST:
        Key_SetInvalidFun(ToastKeyCb, true, nullptr);
        break;
    case SYS_KEYS_SWALLOWED:
        Key_SetInvalidFun(nullptr, true, nullptr);
        break;
    }
}

void WallpaperKeyCb(KeyEvtInfo *pstEvtInfo) {
    if (pstEvtInfo == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstEvtInfo");
        return;
    }
    State &s = S();
    ResetActivity();
    if (pstEvtInfo->keyvalue == KEY_VALUE_PRESS) {
        s.u32WallPressTick = lv_tick_get();
        return;
    }
    if (pstEvtInfo->keyvalue != KEY_VALUE_RELEASE || lv_tick_elaps(s.u32WallPressTick) >= kWakeClickMs) {
        return;
    }
    if (SysStateCheck_IsInParkingMode() == 0) {
        CheckUpdatingLocks();
    }
    SysStateCheck_DestroyScreenLockAndFullHourPage();
}

static void ClickButton(lv_obj_t *obj, uint32_t u32Value) {
    Key_PageSendEvents(obj, u32Value, &S().u32ToastPressTick);
}

void ToastKeyCb(KeyEvtInfo *pstEvtInfo) {
    if (pstEvtInfo == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstEvtInfo");
        return;
    }
    State &s = S();
    ResetActivity();
    if (s.eActive == TOAST_NONE) {
        LOG_INFO("no active toast page\n");
        return;
    }
    BottomInfo &b = s.astBottom[s.eActive];
    if (pstEvtInfo->keycode == KEY_CODE_BACK) {
        if (b.back_obj == nullptr || lv_obj_has_flag(b.back_obj, LV_OBJ_FLAG_HIDDEN)) {
            LOG_INFO("back_obj is hidden\n");
            return;
        }
        ClickButton(b.back_obj, pstEvtInfo->keyvalue);
    } else if (pstEvtInfo->keycode == KEY_CODE_OK) {
        if (b.confirm_obj == nullptr || lv_obj_has_flag(b.confirm_obj, LV_OBJ_FLAG_HIDDEN)) {
            LOG_INFO("confirm_obj is hidden\n");
            return;
        }
        ClickButton(b.confirm_obj, pstEvtInfo->keyvalue);
    }
}

} // namespace sysstate

using namespace sysstate;

/* ---- life ---- */

int SysStateCheck_Init(PageManager *pstManager) {
    State &s = S();
    LOG_INFO("in\n");
    if (s.pstAccount != nullptr) {
        LOG_WARN("already running\n");
        return 0;
    }
    s.pstManager = pstManager;
    s.pstAccount = new Account(SYS_STATE_CHECK_ACCOUNT, DataProc_GetCenter(), 0, nullptr);
    s.pstAccount->SetEventCallback(onEvent);
    s.pstAccount->SetTimerPeriod(SYS_STATE_CHECK_PERIOD_MS);
    for (const char *pcName : {DP_ACCOUNT_SYSTEM_STATUS, DP_ACCOUNT_GENERAL_CTRL, DP_ACCOUNT_INFO_TIPS,
                               DP_ACCOUNT_GENERAL_SETING, DP_ACCOUNT_STATUS_BAR, DP_ACCOUNT_PLAYER}) {
        if (s.pstAccount->Subscribe(pcName) == nullptr) {
            LOG_ERROR("Error Code: [0x%08X]\n\n", 0xFFFFFFFFu);
        }
    }
    s.u32LastActivity = lv_tick_get();
    s.u32LastResetTick = s.u32LastActivity;
    s.u32SnapTick = s.u32LastActivity - kSnapQuietMs;
    s.eKeys = SYS_KEYS_PAGES;
    s.eActive = TOAST_NONE;
    s.u32StackCount = 0;

    s.bThreadRun.store(true);
    if (pthread_create(&s.stCheckPagestatue, nullptr, AlbumPageStatueCheck_Thread, nullptr) == 0) {
        s.bThreadStarted = true;
    } else {
        s.bThreadRun.store(false);
        LOG_ERROR("Error Code: [0x%08X]\n\n", 0xFFFFFFFFu);
    }

    /* The black background over the camera picture, behind the pages. */
    lv_obj_t *pstScr = lv_scr_act();
    if (pstScr != nullptr) {
        lv_obj_t *bg = lv_obj_create(pstScr);
        lv_obj_remove_style_all(bg);
        lv_obj_set_size(bg, lv_pct(100), lv_pct(100));
        lv_obj_set_style_bg_color(bg, lv_color_black(), LV_PART_MAIN);
        lv_obj_set_style_bg_opa(bg, LV_OPA_COVER, LV_PART_MAIN);
        lv_obj_clear_flag(bg, LV_OBJ_FLAG_SCROLLABLE | LV_OBJ_FLAG_CLICKABLE);
        lv_obj_add_flag(bg, LV_OBJ_FLAG_HIDDEN);
        lv_obj_move_background(bg);
        s.apstObj[SYS_OVERLAY_BLACK_BG] = bg;
    }

    ReloadSettings(s_as32StartItems, (int32_t)(sizeof s_as32StartItems / sizeof s_as32StartItems[0]));
    GeneralSetingInfo stInfo;
    if (SysStateCheck_QueryGeneralSeting(&stInfo) == 0) {
        LOG_INFO("rear warning enable[%d] inside warning enable[%d]\n", (int)stInfo.rear_enable,
                 (int)stInfo.inside_enable);
        if (stInfo.rear_enable != 0) {
            UpdateRearIcon(true, "rear_plugout.png");
        }
        if (stInfo.inside_enable != 0) {
            UpdateInsideIcon(true, "inside_plugout.png");
        }
    }
    SysStateCheck_CtrlGeneralSeting(GS_PARKING_TIMES, nullptr, 0);
    return 0;
}

void SysStateCheck_Deinit(void) {
    State &s = S();
    if (s.bThreadStarted) {
        s.bThreadRun.store(false);
        LOG_INFO("\33[0;32;32mJoin m_stPriv.stCheckPagestatue \n\33[m");
        if (pthread_join(s.stCheckPagestatue, nullptr) != 0) {
            LOG_ERROR("Join m_stPriv.stCheckPagestatue Fail!\n");
        }
        LOG_INFO("\033[0;32;32mJoin m_stPriv.stCheckPagestatue finish\n\033[m");
        s.bThreadStarted = false;
    }
    for (int i = 0; i < TIMER_NUM; ++i) {
        StopTimer(static_cast<TimerId>(i));
    }
    for (int i = 0; i < SYS_OVERLAY_NUM; ++i) {
        DeleteOverlay(static_cast<SysStateOverlay>(i));
    }
    if (s.eKeys != SYS_KEYS_PAGES) {
        Key_SetInvalidFun(nullptr, false, nullptr);
    }
    delete s.pstAccount;
    s.pstAccount = nullptr;
    s.pstManager = nullptr;
    s.u32StackCount = 0;
    s.eActive = TOAST_NONE;
    s.eKeys = SYS_KEYS_PAGES;
    s.u8PlayerRelease.store(0);
    s.u8ExitPlayback.store(0);
    s.bRecSeen = false;
    s.bBackFromPlayback = false;
    s.bParkingDeferred = false;
    s.s32ParkingModeState = 0;
    s.cDispStatus = 0;
    s.bGuideReq = false;
    s.bParkingEvtReq = false;
    s.bSkipWindow = false;
    s.bFullHourGone = false;
}

/* ---- requests ---- */

int SysStateCheck_CtrlGeneralSeting(int32_t eElem, const char *pcValue, int32_t s32Value) {
    if (!CheckAccount()) {
        return -1;
    }
    GeneralSetingReq stReq;
    memset(&stReq, 0, sizeof stReq);
    stReq.bSave = 1;
    stReq.eElem = eElem;
    stReq.pcValue = pcValue;
    stReq.iValue = s32Value;
    return LogResult(S().pstAccount->Notify(DP_ACCOUNT_GENERAL_SETING, &stReq, sizeof stReq)) == 0 ? 0 : -1;
}

int SysStateCheck_LoadGeneralSeting(const int32_t *peElemList, int32_t s32Num) {
    if (!CheckAccount()) {
        return -1;
    }
    GeneralSetingReq stReq;
    memset(&stReq, 0, sizeof stReq);
    stReq.peElemList = peElemList;
    stReq.iElemNum = s32Num;
    return S().pstAccount->Notify(DP_ACCOUNT_GENERAL_SETING, &stReq, sizeof stReq) == 0 ? 0 : -1;
}

int SysStateCheck_QueryGeneralSeting(GeneralSetingInfo *pstInfo) {
    if (pstInfo == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstInfo");
        return -1;
    }
    if (!CheckAccount()) {
        return -1;
    }
    return LogResult(S().pstAccount->Pull(DP_ACCOUNT_GENERAL_SETING, pstInfo, sizeof *pstInfo)) == 0 ? 0 : -1;
}

int SysStateCheck_QuerySystemState(SystemStatusInfo *pstInfo) {
    if (pstInfo == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstInfo");
        return -1;
    }
    if (!CheckAccount()) {
        return -1;
    }
    return LogResult(S().pstAccount->Pull(DP_ACCOUNT_SYSTEM_STATUS, pstInfo, sizeof *pstInfo)) == 0 ? 0 : -1;
}

int SysStateCheck_CtrlGeneralCtrlItem(bool bNoBlock, int32_t eElem, const char *pcValue, int32_t s32Value) {
    (void)s32Value;
    if (!CheckAccount()) {
        return -1;
    }
    GeneralCtrlReq stReq;
    memset(&stReq, 0, sizeof stReq);
    stReq.bNoBlock = bNoBlock ? 1 : 0;
    stReq.eElem = eElem;
    stReq.pcValue = pcValue;
    if (S().pstAccount->Notify(DP_ACCOUNT_GENERAL_CTRL, &stReq, sizeof stReq) != Account::RES_OK) {
        LOG_ERROR("GeneralCtrl error\n");
        return -1;
    }
    return 0;
}

int SysStateCheck_SetSystemStatus(const SystemStatusInfo *pstInfo) {
    if (pstInfo == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstInfo");
        return -1;
    }
    if (!CheckAccount()) {
        return -1;
    }
    if (S().pstAccount->Notify(DP_ACCOUNT_SYSTEM_STATUS, pstInfo, sizeof *pstInfo) != Account::RES_OK) {
        LOG_ERROR("snap error\n");
        return -1;
    }
    return 0;
}

int SysStateCheck_ShowTips(const char *pcLangId, int32_t s32Num) {
    (void)s32Num;
    if (pcLangId == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pcLangId");
        return -1;
    }
    if (!CheckAccount()) {
        return -1;
    }
    TipsInfo stTips;
    memset(&stTips, 0, sizeof stTips);
    stTips.eMsgType = TIPS_TYPE_NORMAL;
    stTips.pcText = pcLangId;
    return LogResult(S().pstAccount->Notify(DP_ACCOUNT_INFO_TIPS, &stTips, sizeof stTips)) == 0 ? 0 : -1;
}

int SysStateCheck_CtrlBarItem(int32_t eCmd, const char *pcText, bool bFlag) {
    if (!CheckAccount()) {
        return -1;
    }
    StatusBarMsg stMsg;
    memset(&stMsg, 0, sizeof stMsg);
    stMsg.eCmd = eCmd;
    stMsg.pcTitle = pcText;
    stMsg.bTitleIsLangId = bFlag;
    return LogResult(S().pstAccount->Notify(DP_ACCOUNT_STATUS_BAR, &stMsg, sizeof stMsg)) == 0 ? 0 : -1;
}

int SysStateCheck_ReferStatusBarIcon(bool bAdd, const char *pcType, const char *pcIcon) {
    if (!CheckAccount()) {
        return -1;
    }
    StatusBarMsg stMsg;
    memset(&stMsg, 0, sizeof stMsg);
    if (bAdd) {
        stMsg.eCmd = STATUSBAR_CMD_ADD_ITEM;
        stMsg.pcTypeName = pcType;
        stMsg.pcIconName = pcIcon;
    } else {
        stMsg.eCmd = STATUSBAR_CMD_REMOVE_ITEM;
        stMsg.pcIconName = pcType;
    }
    return LogResult(S().pstAccount->Notify(DP_ACCOUNT_STATUS_BAR, &stMsg, sizeof stMsg)) == 0 ? 0 : -1;
}

/* ---- state ---- */

static int StatusByte(size_t offset) {
    SystemStatusInfo stInfo;
    if (SysStateCheck_QuerySystemState(&stInfo) != 0) {
        return 0;
    }
    return reinterpret_cast<const uint8_t *>(&stInfo)[offset] != 0 ? 1 : 0;
}

int SysStateCheck_ScreenIsOn(void) {
    return StatusByte(offsetof(SystemStatusInfo, bScreenDormant)) == 0 ? 1 : 0;
}

int SysStateCheck_IsInParkingMode(void) {
    return StatusByte(offsetof(SystemStatusInfo, bAccOff));
}

int SysStateCheck_IsInPlayBackMode(void) {
    return StatusByte(offsetof(SystemStatusInfo, bPlaybackMode));
}

int SysStateCheck_GetPageIsBusy(void) {
    return StatusByte(offsetof(SystemStatusInfo, bPageBusy));
}

int SysStateCheck_CtrlScreen(const char *pcCmd) {
    static const char *const s_apcCmds[] = {"on", "off", "pause", "resume", "reset"};
    const char *pcFound = nullptr;
    for (const char *pc : s_apcCmds) {
        if (pcCmd != nullptr && strcmp(pcCmd, pc) == 0) {
            pcFound = pc;
        }
    }
    if (pcFound == nullptr) {
        LOG_ERROR("no support this type!!!\n");
        return -1;
    }
    LOG_INFO("Will ctrl screen %s\n", pcFound);
    if (SysStateCheck_CtrlGeneralCtrlItem(false, CTRL_ELEM_SCREENDORMANT, pcFound, 0) != 0) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", 0xFFFFFFFFu);
        return -1;
    }
    return 0;
}

/* ---- toast stack and keys ---- */

void SysStateCheck_SetCurrentActiveToastType(ToastType eType) {
    S().eActive = eType;
}

void SysStateCheck_ClearCurrentActiveToastType(void) {
    S().eActive = TOAST_NONE;
}

ToastType SysStateCheck_GetCurrentActiveToastType(void) {
    return S().eActive;
}

int SysStateCheck_PushToastPage(ToastType eType) {
    State &s = S();
    if (eType < TOAST_EMPOWER || eType >= TOAST_NONE) {
        LOG_ERROR("invalid toast type: %d\n", (int)eType);
        return -1;
    }
    if (s.u32StackCount >= SYS_STATE_TOAST_STACK_SIZE) {
        LOG_ERROR("toast page stack overflow\n");
        return -1;
    }
    s.aeStack[s.u32StackCount++] = eType;
    LOG_INFO("push toast page type: %d, stack top: %d\n", (int)eType, (int)s.u32StackCount - 1);
    return 0;
}

int SysStateCheck_PopToastPage(ToastType eType) {
    State &s = S();
    for (uint32_t i = s.u32StackCount; i-- > 0;) {
        if (s.aeStack[i] == eType) {
            memmove(&s.aeStack[i], &s.aeStack[i + 1], (s.u32StackCount - i - 1) * sizeof s.aeStack[0]);
            --s.u32StackCount;
            LOG_INFO("pop toast page type: %d, stack top: %d\n", (int)eType, (int)s.u32StackCount - 1);
            return 0;
        }
    }
    LOG_INFO("toast page type %d not found in stack\n", (int)eType);
    return 0;
}

ToastType SysStateCheck_GetCurrentShowToastType(void) {
    State &s = S();
    for (uint32_t i = s.u32StackCount; i-- > 0;) {
        ToastType e = s.aeStack[i];
        if (e >= TOAST_EMPOWER && e < TOAST_NONE && Shown(s_aeToastOverlay[e])) {
            return e;
        }
    }
    return TOAST_NONE;
}

void SysStateCheck_RestoreToastKeyState(void) {
    LOG_INFO("restore toast key state\n");
    ToastType eType = SysStateCheck_GetCurrentShowToastType();
    if (eType == TOAST_NONE) {
        LOG_INFO("no toast page show, disable key callback\n");
    } else {
        LOG_INFO("restore key state for type: %d\n", (int)eType);
    }
    RouteKeys();
}

uint32_t SysStateCheck_GetToastStack(ToastType *peTypes, uint32_t u32Max) {
    State &s = S();
    for (uint32_t i = 0; peTypes != nullptr && i < s.u32StackCount && i < u32Max; ++i) {
        peTypes[i] = s.aeStack[i];
    }
    return s.u32StackCount;
}

SysStateKeyOwner SysStateCheck_GetKeyOwner(void) {
    return S().eKeys;
}

/* ---- overlays ---- */

bool SysStateCheck_OverlayShown(SysStateOverlay eOverlay) {
    return eOverlay >= 0 && eOverlay < SYS_OVERLAY_NUM && Shown(eOverlay);
}

lv_obj_t *SysStateCheck_GetOverlay(SysStateOverlay eOverlay) {
    return (eOverlay >= 0 && eOverlay < SYS_OVERLAY_NUM) ? S().apstObj[eOverlay] : nullptr;
}

/* ---- album player ---- */

void SysStateCheck_MarkPlayerRelease(void) {
    S().u8PlayerRelease.store(1);
}

bool SysStateCheck_PlayerReleasePending(void) {
    return S().u8PlayerRelease.load() != 0;
}

void SysStateCheck_SetClock(time_t (*pfnNow)(void)) {
    S().pfnNow = pfnNow;
}

bool SysStateCheck_ParkingEvtRequested(void) {
    return S().bParkingEvtReq;
}
