#include "Home.h"

#include <stdio.h>
#include <string.h>

#include "log.h"
#include "lv_label_ext_func.h"

namespace Page {

namespace {

bool StorageDisablesAlbum(int32_t eStorage) {
    return eStorage == 1 || eStorage == 2 || eStorage == 7;
}

bool IsHidden(lv_obj_t *obj) {
    return obj == nullptr || lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN);
}

} // namespace

Home::Home() = default;

Home::~Home() {
    if (m_pstTimer != nullptr) {
        lv_timer_del(m_pstTimer);
    }
    if (m_pstWifiTimer != nullptr) {
        lv_timer_del(m_pstWifiTimer);
    }
    Model.Deinit();
}

void Home::onViewLoad() {
    View.Create(root, onEvent, this);
}

void Home::onViewDidLoad() {
    m_pstTimer = lv_timer_create([](lv_timer_t *t) { static_cast<Home *>(t->user_data)->TimerTick(); },
                                 kTimerPeriod, this);
    Model.Init(this);
    GeneralSetingInfo stInfo;
    if (Model.QueryGeneralSeting(&stInfo) == 0) {
        if (stInfo.preview_camid >= 0 && stInfo.preview_camid <= 2) {
            m_u32CamId = (uint32_t)stInfo.preview_camid;
        } else {
            LOG_ERROR("current cam id is invalid [%d]\n", (int)stInfo.preview_camid);
        }
        m_bRearPresent = stInfo.rear_enable != 0;
        m_bInsidePresent = stInfo.inside_enable != 0;
        m_bMicOn = stInfo.mic_switch != 0;
    }
    LOG_INFO("camid when home show[%d]\n", (int)m_u32CamId);
}

void Home::onViewWillAppear() {
    GeneralSetingInfo stInfo;
    if (Model.QueryGeneralSeting(&stInfo) == 0) {
        m_bRearPresent = stInfo.rear_enable != 0;
        m_bInsidePresent = stInfo.inside_enable != 0;
        m_bMicOn = stInfo.mic_switch != 0;
    } else {
        LOG_ERROR("[%s] failed\n", "QueryGeneralSeting");
    }
    if (Model.QuerySystemStatus(&Model.m_stStatus) != 0) {
        LOG_ERROR("[%s] failed\n", "QuerySystemStatus");
    }
    m_bKovarPresent = Model.m_stStatus.bKovarConnected != 0;
    m_bKovarMainDev = Model.m_stStatus.cIsMainDevice == 1;
    if (m_u32CamId == 0) {
        View.DelRearWarningpage();
        View.DelInsideWarningpage();
    }
    if (FrontFailed() && m_u32CamId == 0) {
        View.CreateFrontWarningpage();
    }
    RefreshDigiCamErrViewPage();
    RefreshDigiCamInsideErrViewPage();

    StatusBar_SlideAnim(1);
    StatusBar_ShowType(STATUSBAR_SHOW_ALL);
    CtrlRecIconStyle(STATUSBAR_REC_STYLE_REC);
    StatusBarMsg stMsg;
    memset(&stMsg, 0, sizeof stMsg);
    stMsg.eCmd = STATUSBAR_CMD_TITLE_CENTER;
    Model.CtrlStatusBarItem(&stMsg);

    for (lv_obj_t *btn : {View.ui.album_btn, View.ui.seting_btn, View.ui.mic_btn, View.ui.switch_btn}) {
        lv_obj_clear_state(btn, LV_STATE_PRESSED | LV_STATE_USER_1);
    }
    RefreshSwitchBtnIcon();
    RefreshMicBtnIcon();
    if (StorageDisablesAlbum(Model.m_stStatus.eStorageStatus)) {
        lv_obj_add_state(View.ui.album_btn, LV_STATE_USER_1);
    }
    lv_anim_timeline_start(View.ui.anim_timeline);
    lv_obj_clear_flag(root, LV_OBJ_FLAG_HIDDEN);
}

void Home::onViewDidAppear() {
    Key_SetEventCallback(KeyEventCallBack, this);
    m_bVisible = true;
    if (m_bBackFromAlbum) {
        m_u32LastAppearTick = lv_tick_get();
        m_bBackFromAlbum = false;
    }
}

void Home::onViewWillDisappear() {
    View.DelRearWarningpage();
    Key_SetEventCallback(nullptr, nullptr);
    m_bVisible = false;
    lv_obj_add_flag(root, LV_OBJ_FLAG_HIDDEN);
}

void Home::onViewDidUnload() {
    Model.Deinit();
    if (m_pstTimer != nullptr) {
        lv_timer_del(m_pstTimer);
        m_pstTimer = nullptr;
    }
    if (m_pstWifiTimer != nullptr) {
        lv_timer_del(m_pstWifiTimer);
        m_pstWifiTimer = nullptr;
    }
    View.Delete();
}

void Home::TimerTick() {
    if (m_bVisible) {
        CheckRecStopStatus();
        Model.RefershRTCInfo();
    }
    ProgressTick();
    CheckIsRearEnable();
    CheckIsInsideEnable();
    if (m_bSwitchReq) {
        if (!m_bSwitchTickSet) {
            m_u32SwitchTick = lv_tick_get();
            m_bSwitchTickSet = true;
        } else if (lv_tick_elaps(m_u32SwitchTick) > kSwitchDelay) {
            View.DelRearWarningpage();
            View.DelInsideWarningpage();
            m_bSwitchReq = false;
            m_bSwitchTickSet = false;
        }
    }
}

void Home::StartProgress(int32_t s32Duration, bool bEmergency) {
    if (s32Duration < 0 || s32Duration > 3600) {
        LOG_ERROR("event duration [%d] out of range\n", (int)s32Duration);
        return;
    }
    if (!bEmergency && s32Duration == 0) {
        s32Duration = 10;
    }
    Progress &p = m_stProgress;
    p.bRunning = true;
    p.u32Count = 0;
    p.u32Total = (uint32_t)s32Duration;
    p.u32Left = p.u32Total;
    p.u32Half = p.u32Total / 2;
    snprintf(p.szTextId, sizeof p.szTextId, "%s",
             bEmergency ? "LANG_RES_ID_RECORDING_VIDEO_EMER" : "LANG_RES_ID_RECORDING_VIDEO");
    char szText[64] = "";
    lv_label_get_text_tr(p.szTextId, szText, sizeof szText);
    char szLabel[96];
    snprintf(szLabel, sizeof szLabel, "%s(%uS)", szText, (unsigned)p.u32Left);
    View.SetProgress(0, szLabel);
    View.ShowProgress(true);
}

void Home::ProgressTick() {
    Progress &p = m_stProgress;
    if (!p.bRunning) {
        return;
    }
    ++p.u32Count;
    int32_t s32Value = 0;
    switch (p.u32Total) {
    case 10:
        s32Value = (int32_t)(p.u32Count * 100);
        break;
    case 20:
        s32Value = (int32_t)(p.u32Count * 50);
        break;
    case 30:
        s32Value = (int32_t)(p.u32Count * 100 / 3);
        break;
    default:
        s32Value = 0;
        break;
    }
    const char *pcLabel = nullptr;
    char szLabel[96];
    if (p.u32Count % 20 == 0 || p.u32Left == 0) {
        if (p.u32Left > 0) {
            --p.u32Left;
        }
        char szText[64] = "";
        lv_label_get_text_tr(p.szTextId, szText, sizeof szText);
        snprintf(szLabel, sizeof szLabel, "%s(%uS)", szText, (unsigned)p.u32Left);
        pcLabel = szLabel;
    }
    View.SetProgress(s32Value, pcLabel);
    if (p.u32Left == 0) {
        p.bRunning = false;
        View.ShowProgress(false);
    }
}

void Home::onEvent(lv_event_t *e) {
    if (lv_event_get_code(e) != LV_EVENT_SHORT_CLICKED) {
        return;
    }
    Home *self = static_cast<Home *>(lv_event_get_user_data(e));
    self->OnClick(lv_event_get_target(e));
}

void Home::OnClick(lv_obj_t *obj) {
    int s32Ret = Model.QuerySystemStatus(&Model.m_stStatus);
    if (s32Ret != 0) {
        return; /* logged by the model */
    }
    if (obj == View.ui.switch_btn) {
        LOG_INFO("switch_btn click\n");
        SwitchOnShortEventEventHandle();
    } else if (obj == View.ui.seting_btn) {
        SettingsClick();
    } else if (obj == View.ui.album_btn) {
        AlbumClick();
    } else if (obj == View.ui.mic_btn) {
        MicClick();
    }
}

void Home::SwitchOnShortEventEventHandle() {
    if (!(m_bRearPresent || m_bInsidePresent || m_bKovarPresent)) {
        PowerClick();
        return;
    }
    HomeView::SetImg(View.ui.switch_btn, "home/switch_icon.png");
    uint32_t u32Next = m_u32CamId;
    switch (m_u32CamId) {
    case 0:
        u32Next = m_bRearPresent ? 1 : (m_bInsidePresent ? 2 : 0);
        break;
    case 1:
        u32Next = m_bInsidePresent ? 2 : 0;
        break;
    case 2:
        u32Next = 0;
        break;
    default:
        LOG_ERROR("current cam id is invalid [%d]\n", (int)m_u32CamId);
        break;
    }
    if (u32Next != m_u32CamId) {
        if (m_u32CamId == 0) {
            View.DelFrontWarningpage();
        } else if (m_u32CamId == 1) {
            View.DelRearWarningpage();
        } else {
            View.DelInsideWarningpage();
        }
        View.DelWaitingpage();
        LOG_INFO("ulCurCamID,ulNextCamID[%d->%d],%d\n", (int)m_u32CamId, (int)u32Next,
                 m_bKovarPresent ? 1 : 0);
        SwitchCamDisplayHandle(u32Next);
    }
}

void Home::PowerClick() {
    LOG_INFO("power click\n");
    if (Model.m_stStatus.iWorkMode == 3) {
        Model.CtrlGeneralCtrlItem(CTRL_ELEM_SCREENDORMANT,
                                  Model.m_stStatus.bScreenDormant != 0 ? "on" : "off");
    } else {
        /* The supervision's screen-saver / wallpaper state: it shows the wallpaper for the
         * value 0. */
        Model.CtrlEnterScreenWallpaper(0);
    }
}

void Home::SwitchCamDisplayHandle(uint32_t u32CamId) {
    m_u32CamId = u32CamId;
    LOG_INFO("camid[%d]\n", (int)u32CamId);
    switch (u32CamId) {
    case 0:
        if (FrontFailed()) {
            View.CreateFrontWarningpage();
            return;
        }
        Model.ShowTips("LANG_RES_ID_CHANGE_FRONT_CAMERA");
        break;
    case 1:
        if (Model.m_stStatus.bRearPlugIn == 0) {
            View.CreateRearWarningpage();
            return;
        }
        Model.ShowTips("LANG_RES_ID_CHANGE_REAR_CAMERA");
        break;
    case 2:
        /* The inside camera is switched to like the rear one, so that the recorder learns it. */
        if (Model.m_stStatus.bInsidePlugIn == 0) {
            View.CreateInsideWarningpage();
            return;
        }
        break;
    default:
        return;
    }
    Model.CtrlGeneralSetingItem(GS_PREVIEW_CAMID, (int32_t)u32CamId);
    m_bSwitchReq = true;
    m_bSwitchTickSet = false;
}

void Home::SettingsClick() {
    LOG_INFO("seting click\n");
    if (Model.m_stStatus.bAppLogin != 0) {
        Model.ShowTips("LANG_RES_ID_APP_CONNECTING");
        return;
    }
    /* The settings menu: "Pages/SysSetingHome" is pushed once the settings pages are installed
     * (until then the page manager refuses it as not installed). */
    if (Manager != nullptr) {
        Manager->Push(kSettingsPage);
    }
}

void Home::AlbumClick() {
    LOG_INFO("album click\n");
    if (View.ui.OpenWifiToast != nullptr || View.ui.HighTempToast != nullptr) {
        KovarConnectFailEventHandle(); /* the button is "go back" on these pages */
        return;
    }
    uint32_t u32Since = lv_tick_elaps(m_u32LastAppearTick);
    if (u32Since < kAlbumMinAppear) {
        LOG_WARN("Too shot,not allow to switch to Album:%d\n", (int)u32Since);
        return;
    }
    if (Model.m_stStatus.bAppLogin != 0) {
        Model.ShowTips("LANG_RES_ID_APP_CONNECTING");
        return;
    }
    if (m_bWaiting) {
        LOG_INFO("Busy now\n");
        return;
    }
    if (Model.m_stStatus.bIsRecording == 0) {
        LOG_ERROR("not recording,erro\n");
        return;
    }
    if (Model.CtrlGeneralCtrlItem(CTRL_ELEM_PLAYBACKMODE, "enter") != 0) {
        LOG_ERROR("Ctrl enter playback mode error\n");
        return;
    }
    LOG_INFO("ready to album\n");
    m_bWaiting = true;
    m_u32WaitTick = lv_tick_get();
    m_pcTargetPage = kAlbumPage;
}

void Home::CheckRecStopStatus() {
    if (!m_bWaiting) {
        return;
    }
    SystemStatusInfo stStatus;
    if (Model.QuerySystemStatus(&stStatus) != 0) {
        return;
    }
    uint32_t u32Elapsed = lv_tick_elaps(m_u32WaitTick);
    if (stStatus.bIsRecording == 0) {
        if (m_pcTargetPage == kAlbumPage && stStatus.bPlaybackMode == 0) {
            if (u32Elapsed > kWaitLimit) {
                LOG_INFO("\33[0;32;32mWait playback mode timeout\n\33[m");
                m_bWaiting = false;
            }
            return;
        }
        m_bWaiting = false;
        m_bBackFromAlbum = true;
        /* The album: "Pages/AlbumHome" is pushed once the album pages are installed. */
        if (Manager != nullptr) {
            Manager->Push(m_pcTargetPage);
        }
    } else if (u32Elapsed > kWaitLimit) {
        LOG_INFO("\33[0;32;32mWait rec stop timeout\n\33[m");
        m_bWaiting = false;
    }
}

void Home::MicClick() {
    LOG_INFO("mic click\n");
    m_bMicOn = !m_bMicOn;
    Model.CtrlGeneralSetingItem(GS_MIC_SWITCH, m_bMicOn ? 1 : 0);
    RefreshMicBtnIcon();
}

bool Home::AlbumDisabled() const {
    return lv_obj_has_state(View.ui.album_btn, LV_STATE_USER_1);
}

void Home::KeyEventCallBack(KeyEvtInfo *pstEvtInfo) {
    if (!Key_PageCheckInfo(pstEvtInfo)) {
        return;
    }
    Home *self = static_cast<Home *>(pstEvtInfo->pcUserDate);
    uint32_t u32Value = pstEvtInfo->keyvalue;
    lv_obj_t *pstTarget = nullptr;
    switch (pstEvtInfo->keycode) {
    case KEY_CODE_OK:
        if (IsHidden(self->View.ui.switch_btn)) {
            return;
        }
        if (self->View.ui.KovarWaitToast != nullptr) {
            LOG_WARN("Kovar Switching\n");
            return;
        }
        pstTarget = self->View.ui.switch_btn;
        break;
    case KEY_CODE_NEXT:
        pstTarget = self->View.ui.mic_btn;
        break;
    case KEY_CODE_PREV:
        pstTarget = self->View.ui.seting_btn;
        break;
    case KEY_CODE_BACK:
        if (self->AlbumDisabled()) {
            if (u32Value == KEY_VALUE_RELEASE && self->Model.m_stStatus.bPageBusy != 1) {
                self->Model.ShowTips("LANG_RES_ID_NO_INSERT_SDCAR");
            }
            LOG_WARN("album is disable return\n");
            return;
        }
        /* The album button is not drawn on the home page, yet its key opens the album: without
         * it the album could not be reached at all. */
        Key_PageSendEvents(self->View.ui.album_btn, u32Value, &self->m_u32PressTick);
        return;
    default:
        return;
    }
    if (IsHidden(pstTarget)) {
        return; /* a hidden button takes no key */
    }
    Key_PageSendEvents(pstTarget, u32Value, &self->m_u32PressTick);
}

void Home::OnStatusNotice(const SystemStatusNotice &stNotice) {
    const SystemStatusInfo &s = stNotice.stInfo;
    switch (stNotice.eType) {
    case SYS_STATUS_SNAP_EVENT:
        StartProgress(s.iSnapDuration, s.iSnapType == 0);
        break;
    case SYS_STATUS_REAR:
    case SYS_STATUS_DIGICAM_REAR:
        if ((stNotice.eType == SYS_STATUS_REAR && s.bRearPlugIn) ||
            (stNotice.eType == SYS_STATUS_DIGICAM_REAR && s.iDigiCamRearStatus == 1)) {
            Model.QuerySystemRearEnableStatus();
            m_bCheckRear = true;
        }
        if (stNotice.eType == SYS_STATUS_DIGICAM_REAR) {
            RefreshDigiCamErrViewPage();
        }
        break;
    case SYS_STATUS_INSIDE:
    case SYS_STATUS_DIGICAM_INSIDE:
        if ((stNotice.eType == SYS_STATUS_INSIDE && s.bInsidePlugIn) ||
            (stNotice.eType == SYS_STATUS_DIGICAM_INSIDE && s.iDigiCamInsideStatus == 1)) {
            Model.QuerySystemInsideEnableStatus();
            m_bCheckInside = true;
        }
        if (stNotice.eType == SYS_STATUS_DIGICAM_INSIDE) {
            RefreshDigiCamInsideErrViewPage();
        }
        break;
    case SYS_STATUS_KOVAR_BIND:
        m_bKovarMainDev = s.cIsMainDevice == 1;
        break;
    default:
        break;
    }
    StatusChangeCallBack(stNotice.eType);
}

void Home::StatusChangeCallBack(int32_t eType) {
    const SystemStatusInfo &s = Model.m_stStatus;
    switch (eType) {
    case SYS_STATUS_REAR:
    case SYS_STATUS_INSIDE: {
        bool bRear = eType == SYS_STATUS_REAR;
        uint32_t u32Cam = bRear ? 1 : 2;
        bool bPlugged = bRear ? s.bRearPlugIn != 0 : s.bInsidePlugIn != 0;
        if (m_u32CamId != u32Cam) {
            break;
        }
        if (bPlugged) {
            GeneralSetingInfo stInfo;
            if (Model.QueryGeneralSeting(&stInfo) == 0 && stInfo.preview_camid != (int32_t)u32Cam) {
                View.DelWaitingpage();
            }
        } else {
            m_u32CamId = 0;
        }
        break;
    }
    case SYS_STATUS_STORAGE:
        if (StorageDisablesAlbum(s.eStorageStatus)) {
            lv_obj_add_state(View.ui.album_btn, LV_STATE_USER_1);
        } else {
            lv_obj_clear_state(View.ui.album_btn, LV_STATE_USER_1);
        }
        break;
    case SYS_STATUS_SENSOR:
        if (s.bSensorState != 0) {
            if (m_u32CamId == 0) {
                View.CreateFrontWarningpage();
            }
        } else {
            View.DelFrontWarningpage();
        }
        break;
    case SYS_STATUS_MIC:
        m_bMicOn = s.bMicOn != 0;
        RefreshMicBtnIcon();
        break;
    case SYS_STATUS_KOVAR_RTSP_BLOCK: {
        char szHex[SYSTEM_STATUS_FIELDS_SIZE * 2 + 1];
        const uint8_t *pu8 = reinterpret_cast<const uint8_t *>(&s);
        for (size_t i = 0; i < SYSTEM_STATUS_FIELDS_SIZE; ++i) {
            snprintf(&szHex[i * 2], 3, "%02x", pu8[i]);
        }
        LOG_INFO("status record %s\n", szHex);
        break;
    }
    default:
        break;
    }
}

/* Both checks run in the page timer once the model saw a camera come up: the switch button
 * becomes a camera switch as soon as the settings say the camera is enabled. The store is asked
 * again a bounded number of times (each ask waits for the recorder on this thread). */
static bool CheckEnable(HomeModel &model, bool &bFlag, bool bInside, bool &bPresent, lv_obj_t *pstSwitch,
                        uint32_t &u32Tries) {
    if (!bFlag) {
        return false;
    }
    GeneralSetingInfo stInfo;
    if (model.QueryGeneralSeting(&stInfo) != 0) {
        LOG_ERROR("[%s] failed\n", "QueryGeneralSeting");
        return false;
    }
    if ((bInside ? stInfo.inside_enable : stInfo.rear_enable) != 0) {
        bPresent = true;
        HomeView::SetImg(pstSwitch, "home/switch_icon.png");
        bFlag = false;
        u32Tries = 0;
        return true;
    }
    if (++u32Tries > 10) {
        LOG_WARN("%s camera still disabled\n", bInside ? "inside" : "rear");
        bFlag = false;
        u32Tries = 0;
        return false;
    }
    static const int32_t s_as32Items[2] = {GS_REAR_ENABLE, GS_INSIDE_ENABLE};
    model.QueryGeneralSeting(&s_as32Items[bInside ? 1 : 0], 1);
    return false;
}

void Home::CheckIsRearEnable() {
    static uint32_t s_u32Tries = 0;
    CheckEnable(Model, m_bCheckRear, false, m_bRearPresent, View.ui.switch_btn, s_u32Tries);
}

void Home::CheckIsInsideEnable() {
    static uint32_t s_u32Tries = 0;
    CheckEnable(Model, m_bCheckInside, true, m_bInsidePresent, View.ui.switch_btn, s_u32Tries);
}

void Home::RefreshSwitchBtnIcon() {
    bool bCams = m_bRearPresent || m_bInsidePresent || m_bKovarPresent;
    HomeView::SetImg(View.ui.switch_btn, bCams ? "home/switch_icon.png" : "home/power_icon.png");
}

void Home::RefreshMicBtnIcon() {
    HomeView::SetImg(View.ui.mic_btn, m_bMicOn ? "home/mic_on_icon.png" : "home/mic_off_icon.png");
}

void Home::RefreshDigiCamErrViewPage() {
    int32_t s32State = Model.m_stStatus.iDigiCamRearStatus;
    LOG_INFO("digicam staus[%d]\n", (int)s32State);
    if (View.SetCamErrTexts(false, s32State)) {
        View.DelWaitingpage();
    }
}

void Home::RefreshDigiCamInsideErrViewPage() {
    int32_t s32State = Model.m_stStatus.iDigiCamInsideStatus;
    LOG_INFO("digicam staus[%d]\n", (int)s32State);
    if (View.SetCamErrTexts(true, s32State)) {
        View.DelWaitingpage();
    }
}

void Home::WifiOnShortEventEventHandle() {
    if (m_bWifiStarted) {
        LOG_INFO("wifi already start,return!\n");
        return;
    }
    if (Model.m_stStatus.iTempLevel != 0) {
        KovarHighTempEventHandle();
        View.CreateHighTempProtectPage();
        StatusBar_ShowType(STATUSBAR_SHOW_NONE);
        return;
    }
    View.DelKovarWarningpage();
    View.CreateOpenWifipage();
    Model.CtrlGeneralSetingItem(GS_WIFI_MODE, 0);
    m_pstWifiTimer = lv_timer_create(
        [](lv_timer_t *t) {
            Home *self = static_cast<Home *>(t->user_data);
            LOG_WARN("wifi start timeout\n");
            self->KovarConnectFailEventHandle();
        },
        kWifiTimeout, this);
    m_bWifiStarted = true;
    StatusBar_ShowType(STATUSBAR_SHOW_NONE);
}

void Home::KovarConnectFailEventHandle() {
    m_u32CamId = 0;
    View.DelOpenWifipage();
    View.DelHighTempProtectPage();
    RefreshMicBtnIcon();
    if (m_pstWifiTimer != nullptr) {
        lv_timer_del(m_pstWifiTimer); /* also from inside its own run (the time-out) */
        m_pstWifiTimer = nullptr;
    }
    m_bWifiStarted = false;
    StatusBar_ShowType(STATUSBAR_SHOW_ALL);
}

void Home::KovarHighTempEventHandle() {
    int32_t s32State = Model.m_stStatus.iTempLevel;
    if (s32State == 2 && Model.m_stStatus.bKovarConnected != 0) {
        KovarConnectFailEventHandle();
    }
    if (s32State != 1) {
        LOG_INFO("return ,%d \n", (int)s32State);
        return;
    }
    if (!m_bKovarMainDev) {
        LOG_INFO("return\n");
    }
}

} // namespace Page
