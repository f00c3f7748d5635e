/* The dispatch table of the status changes and its handlers, and the toast bars' buttons. */
#include <string.h>
#include <unistd.h>

#include "StatusBar.h"
#include "SysStateCheckPriv.h"
#include "log.h"
#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace sysstate {

namespace {

using Handler = void (*)(const SystemStatusInfo &s, int32_t eType);

constexpr const char *kFacTestPage = "Pages/FacTest";
constexpr const char *kInstallGuidePage = "Pages/InstallGuide";
constexpr const char *kAlbumPlayerPage = "Pages/AlbumPlayer";
constexpr const char *kToastPage = "Pages/SysStateToastPage";
constexpr const char *kResetPage = "Pages/SysSetingReset";
constexpr uint32_t kStorageClearMs = 30000;
constexpr uint32_t kPreviewDelayMs = 3000;

const int32_t s_as32AccItems[] = {GS_ACC_ON, GS_PARKING_TIMES, GS_PARKING_STATUS};
const int32_t s_as32LogoutItems[] = {GS_TIME_FORMAT, GS_PARKING_STATUS, GS_WALLPAPER};
const int32_t s_as32CamItems[] = {GS_PREVIEW_CAMID};
const int32_t s_as32LangItems[] = {GS_LANGUAGE};
const int32_t s_as32WallItems[] = {GS_WALLPAPER};

const char *const s_apcLangCodes[] = {"CN", "TW", "US", "RU", "ES", "HL", "TH", "PL",
                                      "AR", "VN", "JP", "PT", "GE", "FR", "SK", "TU"};

uint32_t s_u32StorageClearTick = 0;
bool s_bStorageCleared = false;

bool CurrentPageIs(const char *pcName) {
    const char *pcCur = CurrentPageName();
    return pcCur != nullptr && strcmp(pcCur, pcName) == 0;
}

void PushPage(const char *pcName, const uint8_t *pu8Arg) {
    State &s = S();
    if (s.pstManager == nullptr || s.pstManager->FindPageInPool(pcName) == nullptr) {
        LOG_WARN("page [%s] is not installed\n", pcName);
        return;
    }
    if (pu8Arg != nullptr) {
        PageBase::Stash_t stStash = {const_cast<uint8_t *>(pu8Arg), 1};
        s.pstManager->Push(pcName, &stStash);
    } else {
        s.pstManager->Push(pcName);
    }
}

/* A tip and nothing else. */
void Tip(const char *pcId) {
    SysStateCheck_ShowTips(pcId, 0);
}

void StatusBarItem(const char *pcType, const char *pcIcon) {
    SysStateCheck_ReferStatusBarIcon(pcIcon != nullptr, pcType, pcIcon);
}

void SetPageBusy(uint8_t u8Busy) {
    SystemStatusInfo stStatus;
    if (SysStateCheck_QuerySystemState(&stStatus) != 0) {
        return;
    }
    stStatus.bPageBusy = u8Busy;
    SysStateCheck_SetSystemStatus(&stStatus);
}

void ScreenResetNow() {
    SysStateCheck_CtrlScreen("reset");
    ResetActivity();
}

/* ---- the handlers ---- */

void ProcessScreenTest(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessScreenTest\n");
    if (s.bScreenKeyTest != 0) {
        if (!CurrentPageIs(kFacTestPage)) {
            PushPage(kFacTestPage, nullptr);
        }
    } else if (CurrentPageIs(kFacTestPage) && S().pstManager != nullptr) {
        S().pstManager->Pop();
    }
}

void OpenPreview(lv_timer_t *t) {
    (void)t;
    S().apstTimer[TIMER_PREVIEW] = nullptr; /* one-shot */
    LOG_INFO("open preview finish\n");
}

void ShowBlackBackground(bool bShow) {
    lv_obj_t *bg = S().apstObj[SYS_OVERLAY_BLACK_BG];
    if (bg == nullptr) {
        return;
    }
    if (bShow) {
        lv_obj_clear_flag(bg, LV_OBJ_FLAG_HIDDEN);
    } else {
        lv_obj_add_flag(bg, LV_OBJ_FLAG_HIDDEN);
    }
}

void ProcessWorkModeChange(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessWorkModeChange\n");
    State &st = S();
    st.bBackFromPlayback = false;
    if (s.iLastWorkMode == 2) {
        LOG_INFO("Exit from playback mode,Back to Home\n");
        unlink(SYS_PATH_FILELIST);
        unlink(SYS_PATH_CATFILELIST);
        st.bBackFromPlayback = true;
        ShowBlackBackground(st.cDispStatus == 0);
        BackToHomeHandle();
        if (s.iWorkMode == 5) {
            StartTimer(TIMER_PREVIEW, kPreviewDelayMs, true, OpenPreview);
        }
    } else if (s.iWorkMode == 2) {
        ShowBlackBackground(false);
    }
    if (s.iLastWorkMode == 9 && s.iWorkMode == 0) {
        st.s32ParkingModeState = 1;
    }
    if (s.iWorkMode == 9) {
        SysStateCheck_DestroyScreenLockAndFullHourPage();
    }
    if (s.bScreenDormant != 0) {
        SysStateCheck_CtrlScreen("on");
    }
    if (s.bAccOn != 0) {
        DestroyParkingLockPage();
    }
}

void ProcessRecState(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessRecState\n");
    State &st = S();
    if (st.bRecSeen && st.u8LastRecording == s.bIsRecording) {
        return;
    }
    st.bRecSeen = true;
    st.u8LastRecording = s.bIsRecording;
    Tip(s.bIsRecording != 0 ? "LANG_RES_ID_START_REC" : "LANG_RES_ID_STOP_REC");
    if (s.bIsRecording != 0 && st.bBackFromPlayback) {
        SysStateCheck_CtrlGeneralCtrlItem(false, CTRL_ELEM_AUDIOPLAY, "rec_start", 0);
        st.bBackFromPlayback = false;
    }
}

void StorageStateHandle(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysStateCheck_StorageStateHandle\n");
    switch (s.eStorageStatus) {
    case STORAGE_STATUS_NOINSERT:
        Tip("LANG_RES_ID_NO_INSERT_SDCAR");
        UpdateSdIcon(true, "sd_out.png");
        break;
    case STORAGE_STATUS_PLUGOUT:
        Tip("LANG_RES_ID_SDCAR_OUTED");
        UpdateSdIcon(true, "sd_out.png");
        break;
    case STORAGE_STATUS_NORMAL_WITHOUT_P1:
    case STORAGE_STATUS_ABNORMAL:
        Tip("LANG_RES_ID_SDCAR_ABNORMAL");
        UpdateSdIcon(true, "sd_err.png");
        break;
    case STORAGE_STATUS_ABNORMAL_EXT:
        Tip("LANG_RES_ID_SDCAR_ABNORMAL_EXT");
        UpdateSdIcon(true, "sd_err.png");
        break;
    case STORAGE_STATUS_NORMAL:
    case 5:
        if (!s_bStorageCleared || lv_tick_elaps(s_u32StorageClearTick) >= kStorageClearMs) {
            s_bStorageCleared = true;
            s_u32StorageClearTick = lv_tick_get();
        } else {
            LOG_INFO("Storage err cnt reset skipped, 30s not passed yet\n");
        }
        UpdateSdIcon(false, nullptr);
        break;
    case STORAGE_STATUS_FIRST_SPEEDTESTING:
        return;
    default:
        UpdateSdIcon(false, nullptr);
        break;
    }
    if (s.bFormatResult == 0) {
        SysStateCheck_DestroyScreenLockAndFullHourPage();
    }
    if (s.bPlaybackMode != 0 &&
        (s.eStorageStatus == STORAGE_STATUS_ABNORMAL || s.eStorageStatus == STORAGE_STATUS_PLUGOUT)) {
        if (CurrentPageIs(kAlbumPlayerPage)) {
            SysStateCheck_MarkPlayerRelease();
        }
        if (SysStateCheck_CtrlGeneralCtrlItem(false, CTRL_ELEM_PLAYBACKMODE, "exit", 0) != 0) {
            LOG_ERROR("Error Code: [0x%08X]\n\n", 0xFFFFFFFFu);
        }
    }
}

void ProcessSensorStateChange(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessSensorStateChange\n");
    if (s.bSensorState == 0) {
        StatusBarItem("sensor", nullptr);
    } else {
        Tip("LANG_RES_ID_NO_FRONT_CAM");
        StatusBarItem("sensor", "sensor_err.png");
    }
}

void AppLogin(bool b4G) {
    State &st = S();
    SysStateOverlay e = b4G ? SYS_OVERLAY_4G_LOCK : SYS_OVERLAY_APP_LOCK;
    if (st.apstObj[e] != nullptr) {
        LOG_INFO(b4G ? "4g lock is show, skip\n" : "app lock is show, skip\n");
        return;
    }
    LOG_INFO("===================App login==============\n");
    BackToHomeHandle();
    DeleteOverlay(SYS_OVERLAY_EMPOWER);
    SysStateCheck_DestroyScreenLockAndFullHourPage();
    SetPageBusy(1);
    if (b4G) {
        LOG_INFO("by 4G\n");
        lv_obj_t *panel = CreateLockPanel("other/4G_connecting.png", "LANG_RES_ID_4G_CONNECTING",
                                          &st.pst4GImg, &st.pst4GLabel);
        st.apstObj[e] = panel;
        st.pst4GTipLabel = AddLabel(lv_obj_get_child(panel, 0), "LANG_RES_ID_4G_CONNECTING_TIP", 18);
        lv_obj_set_style_text_opa(st.pst4GTipLabel, 178, LV_PART_MAIN);
    } else {
        LOG_INFO("by wifi\n");
        lv_obj_t *panel = CreateLockPanel("other/app_connecting.png", "LANG_RES_ID_APP_CONNECTING");
        lv_obj_set_height(lv_obj_get_child(panel, 0), lv_pct(76));
        st.apstObj[e] = panel;
        CreateToastBottom(TOAST_APP_LOCK, panel, true, true);
    }
    BringLocksToFront();
    RouteKeys();
    Shell("touch " SYS_PATH_APP_LOGIN);
}

void ProcessAppLockScreen(const SystemStatusInfo &s, int32_t eType) {
    LOG_INFO("SysEventCheck_ProcessAppLockScreen\n");
    bool b4G = eType == SYS_STATUS_4G_APP_LOGIN;
    bool bLogin = b4G ? s.b4GAppLogin != 0 : s.bAppLogin != 0;
    if (bLogin) {
        AppLogin(b4G);
        return;
    }
    SysStateOverlay e = b4G ? SYS_OVERLAY_4G_LOCK : SYS_OVERLAY_APP_LOCK;
    if (S().apstObj[e] == nullptr) {
        LOG_INFO("no %s lock, skip logout\n", b4G ? "4g" : "app");
        return;
    }
    LOG_INFO("===================App logout==============\n");
    if (!Shown(SYS_OVERLAY_HIGH_TEMP) && s.bAccOff == 0) {
        SysStateCheck_CtrlScreen("resume");
    }
    LOG_INFO("\33[0;32;32mLock out\n\33[m");
    DeleteOverlay(e);
    AppLogout(false);
}

void UsbLockShowCheck(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysStateCheck_UsbLockShowCheck\n");
    State &st = S();
    if (s.bLockLogin != 0) {
        if (st.apstObj[SYS_OVERLAY_USB_LOCK] == nullptr) {
            st.apstObj[SYS_OVERLAY_USB_LOCK] =
                CreateLockPanel("other/usb_lock.png", "LANG_RES_ID_CONNECTING");
            BringLocksToFront();
            RouteKeys();
            SysStateCheck_CtrlScreen("pause");
        }
    } else if (st.apstObj[SYS_OVERLAY_USB_LOCK] != nullptr) {
        DeleteOverlay(SYS_OVERLAY_USB_LOCK);
        RouteKeys();
        SysStateCheck_CtrlScreen("resume");
    }
}

void UpdatingTimeout(TimerId id, SysStateOverlay e) {
    S().apstTimer[id] = nullptr; /* one-shot */
    LOG_INFO("time out, destroy updating_toast_obj\n");
    LOG_INFO("destroy updating_toast_obj[%p]\n", (void *)S().apstObj[e]);
    DeleteOverlay(e);
    RouteKeys();
    SysStateCheck_CtrlScreen("resume");
}

void CreateUpdatingLockPage(SysStateOverlay e, const char *pcTextId) {
    State &st = S();
    if (st.apstObj[e] != nullptr) {
        LOG_INFO("toast is show\n");
        return;
    }
    LOG_INFO("create updating_toast_obj\n");
    st.apstObj[e] = CreateLockPanel("other/app_updating.png", pcTextId);
    if (e == SYS_OVERLAY_DIGICAM_UPDATING) {
        LOG_INFO("update obj[%p]\n", (void *)st.apstObj[e]);
    }
    SysStateCheck_CtrlScreen("pause");
    RouteKeys();
    if (e == SYS_OVERLAY_UPDATING) {
        StartTimer(TIMER_UPDATING, SYS_STATE_UPDATING_LOCK_MS, true,
                   [](lv_timer_t *) { UpdatingTimeout(TIMER_UPDATING, SYS_OVERLAY_UPDATING); });
    } else {
        StartTimer(TIMER_DIGICAM_UPDATING, SYS_STATE_UPDATING_LOCK_MS, true, [](lv_timer_t *) {
            UpdatingTimeout(TIMER_DIGICAM_UPDATING, SYS_OVERLAY_DIGICAM_UPDATING);
        });
    }
}

void DestroyUpdatingLockPage(SysStateOverlay e) {
    State &st = S();
    if (st.apstObj[e] == nullptr) {
        return;
    }
    LOG_INFO("destroy updating_toast_obj[%p]\n", (void *)st.apstObj[e]);
    DeleteOverlay(e);
    if (!Shown(SYS_OVERLAY_WALLPAPER)) {
        LOG_INFO("#### screen_lock_obj == null\n");
    }
    if (Shown(SYS_OVERLAY_4G_LOCK)) {
        LOG_INFO("#### 4G lock\n");
    } else if (Shown(SYS_OVERLAY_EMPOWER) || Shown(SYS_OVERLAY_APP_LOCK)) {
        LOG_INFO("#### app lock\n");
    }
    RouteKeys();
    SysStateCheck_CtrlScreen("resume");
}

void ProcessUpdating(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessUpdating\n");
    if (s.bUpdating != 0) {
        CreateUpdatingLockPage(SYS_OVERLAY_UPDATING, "LANG_RES_ID_UPDATING");
    } else {
        DestroyUpdatingLockPage(SYS_OVERLAY_UPDATING);
    }
}

/* The two digital cameras share one lock: it stays while either of them updates. */
void ProcessDigiCamUpdating(const SystemStatusInfo &s, int32_t eType) {
    bool bRear = eType == SYS_STATUS_DIGICAM_UPDATING;
    LOG_INFO(bRear ? "SysEventCheck_ProcessDigiCamUpdating\n"
                   : "SysEventCheck_ProcessDigiCamInsideUpdating\n");
    bool bSet = bRear ? s.bDigiCamUpdating != 0 : s.bDigiCamInsideUpdating != 0;
    if (bSet) {
        CreateUpdatingLockPage(SYS_OVERLAY_DIGICAM_UPDATING,
                               bRear ? "LANG_RES_ID_DIGICAMUPDATING" : "LANG_RES_ID_DIGICAM_INSIDE_UPDATING");
    } else if (s.bDigiCamUpdating == 0 && s.bDigiCamInsideUpdating == 0) {
        DestroyUpdatingLockPage(SYS_OVERLAY_DIGICAM_UPDATING);
    }
}

void ProcessCamPlug(const SystemStatusInfo &s, int32_t eType) {
    bool bRear = eType == SYS_STATUS_REAR;
    LOG_INFO(bRear ? "SysEventCheck_ProcessRearPlugIn\n" : "SysEventCheck_ProcessInsidePlugIn\n");
    ReloadSettings(s_as32CamItems, 1);
    GeneralSetingInfo stInfo;
    if (SysStateCheck_QueryGeneralSeting(&stInfo) != 0) {
        return;
    }
    bool bPlugged = bRear ? s.bRearPlugIn != 0 : s.bInsidePlugIn != 0;
    if (bPlugged) {
        if (bRear) {
            UpdateRearIcon(true, "rear_plugin.png");
        } else {
            UpdateInsideIcon(true, "inside_plugin.png");
        }
        Tip(bRear ? "LANG_RES_ID_REAR_INSERT" : "LANG_RES_ID_INSIDE_INSERT");
        return;
    }
    if (bRear) {
        UpdateRearIcon(true, "rear_plugout.png");
    } else {
        UpdateInsideIcon(true, "inside_plugout.png");
    }
    Tip(bRear ? "LANG_RES_ID_REAR_PLUGOUT" : "LANG_RES_ID_INSIDE_PLUGOUT");
    LOG_INFO("%s:  %d\n", "stGeneralSetingInfo.ulCamPreviewId", (int)stInfo.preview_camid);
    if (stInfo.preview_camid == (bRear ? 1 : 2)) {
        SysStateCheck_CtrlGeneralSeting(GS_PREVIEW_CAMID, nullptr, 0);
    }
}

void ProcessFacReset(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessFacReset\n");
    if (s.eResetDevResult != RESETDEV_SUCCESS_NO_REBOOT || CurrentPageIs(kInstallGuidePage) ||
        s.bAppLogin != 0 || s.b4GAppLogin != 0 || s.bInGuide != 0) {
        return;
    }
    LOG_INFO("Parameter reset\n");
    Lang_SetCode("US");
    State &st = S();
    st.u32GuideTick = lv_tick_get();
    st.bGuideReq = true;
}

void ProcessGpsStateChange(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessGpsStateChange\n");
    /* Shown while no fix: breathing while a receiver is present but not yet active. */
    bool bShow = s.bGpsActive == 0 || s.bGpsPresent == 0;
    CtrlGpsIconShow(bShow, bShow && s.bGpsPresent != 0);
}

void AccOnScreen(lv_timer_t *t) {
    (void)t;
    S().apstTimer[TIMER_ACC_ON] = nullptr; /* one-shot */
    SysStateCheck_CtrlScreen("on");
}

void ProcessAccState(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessAccState\n");
    State &st = S();
    ReloadSettings(s_as32AccItems, (int32_t)(sizeof s_as32AccItems / sizeof s_as32AccItems[0]));
    GeneralSetingInfo stInfo;
    if (SysStateCheck_QueryGeneralSeting(&stInfo) != 0) {
        return;
    }
    if ((stInfo.acc_on != 0) != (s.bAccOn != 0)) {
        LOG_INFO("state is not same,return[%d] [%d]\n", (int)stInfo.acc_on, (int)s.bAccOn);
        return;
    }
    if (s.bAccOn != 0) {
        LOG_INFO("ACC ON!!!\n");
        st.bParkingDeferred = false;
        SysStateCheck_DestroyScreenLockAndFullHourPage();
        st.bSkipWindow = true;
        st.u32SkipMs = 0;
        if (s.iWorkMode == 0) {
            DestroyParkingLockPage();
        }
        if (stInfo.parking_status == 1) {
            StartTimer(TIMER_ACC_ON, 1000, true, AccOnScreen);
        }
    } else if (s.bAccOff != 0) {
        StopTimer(TIMER_ACC_ON);
        if (s.bAppLogin != 0 || s.b4GAppLogin != 0) {
            LOG_INFO("App login ,not show parking page now\n");
            st.bParkingDeferred = true;
        } else {
            LOG_INFO("ACC OFF !!!\n");
            EnterParkingLockPage();
        }
    }
}

void EmpowerResultHandle(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_EmpowerResultHandle\n");
    if (s.bBtEmpowerResult != 0) {
        LOG_INFO("gtt empower success!\n");
        if (Shown(SYS_OVERLAY_EMPOWER)) {
            ShowEmpowerSuccess();
            DeleteOverlay(SYS_OVERLAY_EMPOWER);
            LOG_INFO("empower page unshow\n");
            RouteKeys();
        }
    } else {
        LOG_INFO("gtt empower fail!\n");
        CreateFailEmpowerPage();
    }
}

void ProcessEmpower(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessEmpower\n");
    /* "bt_empower" "connect" asks for the page; any other text only clears the result. */
    if (s.bBtEmpowerConnect == 0) {
        return;
    }
    DestroyHighTempLock();
    CreateEmpowerPage();
}

void ProcessParkingCollision(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessParkingCollision\n");
    if (s.bParkingCollision != 0) {
        LOG_INFO("show parking event toast\n");
        S().bParkingEvtReq = true;
    }
}

void Process4GStateHandle(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_Process4GStateHandle\n");
    int32_t s32Level = s.i4GLevel < 0 ? 0 : (s.i4GLevel > 4 ? 4 : s.i4GLevel);
    Ctrl4GIconShow(s.b4GLinked != 0, s32Level, s.b4GReady != 0);
}

void ProcessScreenDomant(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessScreenDomant\n");
    State &st = S();
    if (s.bScreenDormant == 0) {
        if (s.bAccOff != 0 && st.s32ParkingModeState == 2) {
            st.s32ParkingModeState = 1;
        }
        if (s.eTempHighReason != TEMP_HIGH_OTHER) {
            HighTempLockHandle(true);
        }
    } else if (s.eTempHighReason == TEMP_HIGH_POWER_OFF) {
        DestroyHighTempLock();
    }
}

void CreateTriggerToastPage(const SystemStatusInfo &s, int32_t eType) {
    LOG_INFO("SysStateCheck_CreateTriggerToastPage\n");
    State &st = S();
    if (eType == SYS_STATUS_SNAP_EVENT) {
        st.u32SnapTick = lv_tick_get();
    }
    if (s.iTempLevel > 2 || Shown(SYS_OVERLAY_HIGH_TEMP)) {
        LOG_INFO("high temp return\n");
        return;
    }
    if (Shown(SYS_OVERLAY_4G_LOCK)) {
        LOG_INFO("4G lock page is show, return\n");
        return;
    }
    /* An alert that ends (its flag cleared) raises nothing. */
    static const struct {
        int32_t eType;
        size_t offset;
    } s_astFlags[] = {
        {SYS_STATUS_DRIVING_REMIND, offsetof(SystemStatusInfo, bDrivingRemind)},
        {SYS_STATUS_CAR_FORWARD, offsetof(SystemStatusInfo, bCarForward)},
        {SYS_STATUS_CROSS_LANE, offsetof(SystemStatusInfo, bCrossLane)},
        {SYS_STATUS_TOO_CLOSE, offsetof(SystemStatusInfo, bTooClose)},
        {SYS_STATUS_PEDESTRIAN, offsetof(SystemStatusInfo, bPedestrian)},
        {SYS_STATUS_HARSH_ACCEL, offsetof(SystemStatusInfo, bHarshAccel)},
        {SYS_STATUS_HARSH_DECEL, offsetof(SystemStatusInfo, bHarshDecel)},
    };
    for (const auto &f : s_astFlags) {
        if (f.eType == eType && reinterpret_cast<const uint8_t *>(&s)[f.offset] == 0) {
            return;
        }
    }
    if (s.bScreenDormant != 0) {
        SysStateCheck_CtrlScreen("on");
    }
    CreateTriggerToast(eType);
}

void ProcessKovarBind(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessKovarBind\n");
    CtrlKovarIconShow(s.bKovarBound != 0);
}

void ProcessKovarConnect(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessKovarConnect\n");
    Tip(s.bKovarConnected == 1 ? "LANG_RES_ID_KOVAR_CONNECT" : "LANG_RES_ID_KOVAR_UNCONNECT");
}

void SetLanguageHandle(const SystemStatusInfo &, int32_t) {
    LOG_INFO("SysStateCheck_SetLanguageHandle\n");
    ReloadSettings(s_as32LangItems, 1);
    GeneralSetingInfo stInfo;
    if (SysStateCheck_QueryGeneralSeting(&stInfo) != 0) {
        return;
    }
    LOG_INFO("set lang id [%d]\n", (int)stInfo.language);
    int32_t s32Count = (int32_t)(sizeof s_apcLangCodes / sizeof s_apcLangCodes[0]);
    if (stInfo.language < 0 || stInfo.language >= s32Count) {
        LOG_INFO("no support\n");
        return;
    }
    const char *pLangCode = s_apcLangCodes[stInfo.language];
    LOG_INFO("%s:  %s\n", "pLangCode", pLangCode);
    Lang_SetCode(pLangCode);
}

void ProcessGsensorstatusHandle(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessGsensorstatusHandle\n");
    if (!Shown(SYS_OVERLAY_WALLPAPER)) {
        return;
    }
    GeneralSetingInfo stInfo;
    if (s.bGsensorStatus != 0) {
        if (SysStateCheck_QueryGeneralSeting(&stInfo) == 0 && stInfo.wallpaper == 0) {
            CreateWallpaper(2);
            RouteKeys();
        }
    } else {
        ReloadSettings(s_as32WallItems, 1);
        if (SysStateCheck_QueryGeneralSeting(&stInfo) == 0 && stInfo.wallpaper == 0) {
            CreateWallpaper(0);
            RouteKeys();
        }
    }
}

void ProcessAppTarkingLock(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessAppTarkingLock\n");
    State &st = S();
    if (st.apstObj[SYS_OVERLAY_4G_LOCK] == nullptr || st.pst4GImg == nullptr) {
        return;
    }
    if (s.bAppTalking != 0) {
        SetImg(st.pst4GImg, "other/talking.png");
        lv_label_set_text_tr(st.pst4GLabel, "LANG_RES_ID_4G_TALKING_CONNECTING");
        lv_obj_clear_flag(st.pst4GTipLabel, LV_OBJ_FLAG_HIDDEN);
    } else {
        SetImg(st.pst4GImg, "other/4G_connecting.png");
        lv_label_set_text_tr(st.pst4GLabel, "LANG_RES_ID_4G_CONNECTING");
        lv_obj_add_flag(st.pst4GTipLabel, LV_OBJ_FLAG_HIDDEN);
    }
}

void ProcessTempHighToast(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessTempHighToast\n");
    State &st = S();
    if (s.eTempHighReason == TEMP_HIGH_OTHER) {
        DestroyHighTempLock();
        return;
    }
    SysStateCheck_DestroyScreenLockAndFullHourPage();
    if (s.eTempHighReason == TEMP_HIGH_WIFI_OFF) {
        LOG_INFO("wifi off ,no should create\n");
    } else {
        const char *pcText = s.eTempHighReason == TEMP_HIGH_SCREEN_OFF
                                 ? "LANG_RES_ID_TEMP_HIGH_SCREEN_OFF_TOAST"
                                 : "LANG_RES_ID_TEMP_HIGH_POWER_OFF_TOAST";
        lv_obj_t *obj = st.apstObj[SYS_OVERLAY_HIGH_TEMP];
        if (obj == nullptr) {
            obj = CreateLockPanel("other/prompt_warning_image.png", pcText);
            st.apstObj[SYS_OVERLAY_HIGH_TEMP] = obj;
            LOG_INFO("\33[0;32;32mLock in[%p]\n\33[m", (void *)obj);
            /* the screen-on time counts from now */
            st.bScreenWasOn = false;
        } else {
            lv_label_set_text_tr(lv_obj_get_child(lv_obj_get_child(obj, 0), 1), pcText);
        }
        StopTimer(TIMER_HIGH_TEMP);
        BringLocksToFront();
    }
    st.bSkipWindow = true;
    st.u32SkipMs = 0;
}

void ProcessDigiCamErr(const SystemStatusInfo &s, int32_t eType) {
    bool bRear = eType == SYS_STATUS_DIGICAM_REAR;
    LOG_INFO(bRear ? "SysEventCheck_ProcessDigiCamRearErrStatus\n"
                   : "SysEventCheck_ProcessDigiCamInsideStatus\n");
    int32_t s32Status = bRear ? s.iDigiCamRearStatus : s.iDigiCamInsideStatus;
    ToastType eToast = bRear ? TOAST_DIGICAM_REAR : TOAST_DIGICAM_INSIDE;
    SysStateOverlay eOverlay = bRear ? SYS_OVERLAY_DIGICAM_REAR : SYS_OVERLAY_DIGICAM_INSIDE;
    if (s32Status == 6 || s32Status == 7 || s32Status == 8) {
        if (bRear) {
            UpdateRearIcon(true, "rear_err.png");
        } else {
            UpdateInsideIcon(true, "inside_err.png");
        }
        SysStateCheck_DestroyScreenLockAndFullHourPage();
        CreateDigiCamErrPage(eToast, s32Status);
        ScreenResetNow();
    } else if (s32Status == 0) {
        if (bRear) {
            UpdateRearIcon(true, "rear_plugout.png");
        } else {
            UpdateInsideIcon(true, "inside_plugout.png");
        }
        SysStateCheck_DestroyScreenLockAndFullHourPage();
        CreateDigiCamErrPage(eToast, s32Status);
    } else if (!bRear && s32Status == 1) {
        UpdateInsideIcon(true, "inside_plugin.png");
    }
    /* A camera that works again takes its error page away. */
    if ((s32Status == 1 || s32Status == 3) && Shown(eOverlay)) {
        LOG_INFO("Del obj:%p\n", (void *)S().apstObj[eOverlay]);
        DeleteOverlay(eOverlay);
        RouteKeys();
    }
}

void ProcessFormatOnTime(const SystemStatusInfo &, int32_t) {
    LOG_INFO("SysEventCheck_ProcessFormatOnTime\n");
    static const uint8_t s_u8Arg = 5;
    PushPage(kToastPage, &s_u8Arg);
    ScreenResetNow();
}

void ProcessDispInitStatus(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessDispInitStatus\n");
    LOG_INFO("init status[%d]\n", (int)s.cDispStatus);
    S().cDispStatus = s.cDispStatus;
    ShowBlackBackground(s.iWorkMode != 2 && s.cDispStatus == 0);
}

void ProcessWifiStateChange(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessWifiStateChange\n");
    StatusBarItem("wifi", s.bWifiOn != 0 ? "wifi_on.png" : "wifi_off.png");
}

void ProcessWritCardSlowRemind(const SystemStatusInfo &s, int32_t) {
    LOG_INFO("SysEventCheck_ProcessWritCardSlowRemind\n");
    if (s.cWriteCardSlowRemind != 0) {
        Tip("LANG_RES_ID_WRITE_CARD_SLOW_REMIND");
    }
}

struct Row {
    int32_t eType;
    Handler pfn;
};

/* Searched in this order. */
const Row s_astTable[] = {
    {SYS_STATUS_TEST_SCREENKEY, ProcessScreenTest},
    {SYS_STATUS_WORKMODE, ProcessWorkModeChange},
    {SYS_STATUS_REC, ProcessRecState},
    {SYS_STATUS_STORAGE, StorageStateHandle},
    {SYS_STATUS_SENSOR, ProcessSensorStateChange},
    {SYS_STATUS_APP_LOGIN, ProcessAppLockScreen},
    {SYS_STATUS_4G_APP_LOGIN, ProcessAppLockScreen},
    {SYS_STATUS_LOCK, UsbLockShowCheck},
    {SYS_STATUS_UPDATING, ProcessUpdating},
    {SYS_STATUS_INSIDE, ProcessCamPlug},
    {SYS_STATUS_DIGICAM_UPDATING, ProcessDigiCamUpdating},
    {SYS_STATUS_DIGICAM_INSIDE_UPDATING, ProcessDigiCamUpdating},
    {SYS_STATUS_RESETDEV, ProcessFacReset},
    {SYS_STATUS_REAR, ProcessCamPlug},
    {SYS_STATUS_GPS, ProcessGpsStateChange},
    {SYS_STATUS_ACC, ProcessAccState},
    {SYS_STATUS_BT_EMPOWER_RESULT, EmpowerResultHandle},
    {SYS_STATUS_BT_EMPOWER, ProcessEmpower},
    {SYS_STATUS_PARKING_COLLISION, ProcessParkingCollision},
    {SYS_STATUS_4G_LEVEL, Process4GStateHandle},
    {SYS_STATUS_4G_LINK, Process4GStateHandle},
    {SYS_STATUS_4G_READY, Process4GStateHandle},
    {SYS_STATUS_SCREEN_DORMANT, ProcessScreenDomant},
    {SYS_STATUS_DRIVING_REMIND, CreateTriggerToastPage},
    {SYS_STATUS_CAR_FORWARD, CreateTriggerToastPage},
    {SYS_STATUS_CROSS_LANE, CreateTriggerToastPage},
    {SYS_STATUS_TOO_CLOSE, CreateTriggerToastPage},
    {SYS_STATUS_PEDESTRIAN, CreateTriggerToastPage},
    {SYS_STATUS_HARSH_ACCEL, CreateTriggerToastPage},
    {SYS_STATUS_HARSH_DECEL, CreateTriggerToastPage},
    {SYS_STATUS_SNAP_EVENT, CreateTriggerToastPage},
    {SYS_STATUS_KOVAR_BIND, ProcessKovarBind},
    {SYS_STATUS_KOVAR_CONNECT, ProcessKovarConnect},
    {SYS_STATUS_SYNC_LANG, SetLanguageHandle},
    {SYS_STATUS_GSENSOR, ProcessGsensorstatusHandle},
    {SYS_STATUS_APP_TALK, ProcessAppTarkingLock},
    {SYS_STATUS_TEMP_HIGH_REASON, ProcessTempHighToast},
    {SYS_STATUS_DIGICAM_REAR, ProcessDigiCamErr},
    {SYS_STATUS_DIGICAM_INSIDE, ProcessDigiCamErr},
    {SYS_STATUS_FORMAT_PERIODICALLY, ProcessFormatOnTime},
    {SYS_STATUS_DISP, ProcessDispInitStatus},
    {SYS_STATUS_WIFI, ProcessWifiStateChange},
    {SYS_STATUS_WRITECARD_SLOW, ProcessWritCardSlowRemind},
};

} // namespace

bool Dispatch(int32_t eType, const SystemStatusInfo &stInfo) {
    for (const Row &row : s_astTable) {
        if (row.eType == eType) {
            row.pfn(stInfo, eType);
            return true;
        }
    }
    return false;
}

uint32_t DispatchRowCount() {
    return (uint32_t)(sizeof s_astTable / sizeof s_astTable[0]);
}

/* After the app lock or the 4G lock went: keys, deferred parking lock, busy flag, marker. */
void AppLogout(bool bByUser) {
    State &st = S();
    RouteKeys();
    SysStateCheck_DestroyScreenLockAndFullHourPage();
    if (bByUser) {
        return;
    }
    SystemStatusInfo stStatus;
    if (st.bParkingDeferred && SysStateCheck_QuerySystemState(&stStatus) == 0 && stStatus.bAccOff != 0 &&
        stStatus.bAppLogin == 0 && stStatus.b4GAppLogin == 0) {
        LOG_INFO("recover parking lock page\n");
        st.bParkingDeferred = false;
        EnterParkingLockPage();
    }
    if (!Shown(SYS_OVERLAY_APP_LOCK) && !Shown(SYS_OVERLAY_4G_LOCK)) {
        SetPageBusy(0);
        Shell("rm -f " SYS_PATH_APP_LOGIN);
    }
    ReloadSettings(s_as32LogoutItems, (int32_t)(sizeof s_as32LogoutItems / sizeof s_as32LogoutItems[0]));
}

} // namespace sysstate

using namespace sysstate;

void SysStateCheck_HandleBackButton(ToastType eType) {
    switch (eType) {
    case TOAST_EMPOWER:
        LOG_INFO("delete empower page\n");
        DeleteOverlay(SYS_OVERLAY_EMPOWER);
        LOG_INFO("empower page unshow\n");
        RouteKeys();
        break;
    case TOAST_APP_LOCK: {
        LOG_INFO("user logout!!!\n");
        DeleteOverlay(SYS_OVERLAY_APP_LOCK);
        SysStateCheck_CtrlGeneralCtrlItem(true, CTRL_ELEM_APPLOGOUT, "out", 0);
        if (!Shown(SYS_OVERLAY_4G_LOCK)) {
            SetPageBusy(0);
            Shell("rm -f " SYS_PATH_APP_LOGIN);
        }
        AppLogout(true);
        break;
    }
    case TOAST_STORAGE_ERR:
        DeleteOverlay(SYS_OVERLAY_STORAGE_ERR);
        RouteKeys();
        break;
    default:
        break;
    }
    HighTempLockHandle(true);
}

void SysStateCheck_HandleConfirmButton(ToastType eType) {
    switch (eType) {
    case TOAST_STORAGE_ERR: {
        SystemStatusInfo stStatus;
        if (SysStateCheck_QuerySystemState(&stStatus) != 0) {
            LOG_ERROR("failed to query system state\n");
            return;
        }
        DeleteOverlay(SYS_OVERLAY_STORAGE_ERR);
        RouteKeys();
        static uint8_t s_u8Arg = 0;
        s_u8Arg = stStatus.iLastWorkMode == 7 ? 1 : 0;
        PushPage(kResetPage, &s_u8Arg);
        break;
    }
    case TOAST_DIGICAM_REAR:
    case TOAST_DIGICAM_INSIDE: {
        SysStateOverlay e =
            eType == TOAST_DIGICAM_REAR ? SYS_OVERLAY_DIGICAM_REAR : SYS_OVERLAY_DIGICAM_INSIDE;
        LOG_INFO("Del obj:%p\n", (void *)S().apstObj[e]);
        DeleteOverlay(e);
        RouteKeys();
        HighTempLockHandle(true);
        break;
    }
    default: {
        const BottomInfo &b = S().astBottom[TOAST_EMPOWER];
        if (b.confirm_obj != nullptr && !lv_obj_has_flag(b.confirm_obj, LV_OBJ_FLAG_HIDDEN)) {
            LOG_INFO("authenticating !\n");
            SysStateCheck_CtrlGeneralCtrlItem(true, CTRL_ELEM_AUTHENTICATION, "star", 0);
        }
        break;
    }
    }
}
