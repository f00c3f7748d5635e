#include "ParkingEvtToast.h"

#include "PageKeys.h"
#include "StatusBar.h"
#include "log.h"

namespace Page {

namespace {

bool IsHidden(lv_obj_t *obj) {
    return obj == nullptr || lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN);
}

} // namespace

ParkingEvtToast::ParkingEvtToast() = default;

ParkingEvtToast::~ParkingEvtToast() {
    JoinLoader();
    ReleaseList();
    if (m_pstTimer != nullptr) {
        lv_timer_del(m_pstTimer);
    }
    Model.Deinit();
}

void ParkingEvtToast::onAttrConfig() {
    SetLoadAnim(PageManager::LOAD_ANIM_GLOBAL, 500, lv_anim_path_ease_out);
}

void ParkingEvtToast::onViewLoad() {
    Model.Init();
    View.Create(root, onEvent, this);
    m_u32Countdown = kCountdown;
    m_bEnterPlayback = false;
    m_bDismissed = false;
    m_bAlbumPushed = false;
    View.SetCountdown(m_u32Countdown);
}

void ParkingEvtToast::onViewDidLoad() {
    Model.CtrlStatusBarTitleIsNull();
    StatusBar_ShowType(STATUSBAR_SHOW_NONE);
}

void ParkingEvtToast::onViewWillAppear() {
    if (m_bAlbumPushed) {
        /* Back from the event list: the counters were cleared when it opened, so the toast has
         * done its work and goes at the next second instead of waiting with its keys taken. */
        m_bAlbumPushed = false;
        m_bEnterPlayback = false;
        m_u32Countdown = 0;
        View.SetCountdown(0);
    } else if (!IsHidden(View.ui.confirm_btn)) {
        LOG_INFO("create loadfile thread\n");
        StartLoader();
    }
    if (m_pstTimer == nullptr) {
        m_pstTimer =
            lv_timer_create([](lv_timer_t *t) { static_cast<ParkingEvtToast *>(t->user_data)->TimerTick(); },
                            kTimerPeriod, this);
    } else {
        lv_timer_resume(m_pstTimer);
    }
}

void ParkingEvtToast::onViewDidAppear() {
    if (View.ui.anim_timeline != nullptr) {
        lv_anim_timeline_start(View.ui.anim_timeline);
    }
    Key_SetEventCallback(KeyEventCallBack, this);
}

void ParkingEvtToast::onViewWillDisappear() {
    Key_SetEventCallback(nullptr, nullptr);
    /* Covered by the event list (or leaving): the countdown waits. */
    if (m_pstTimer != nullptr) {
        lv_timer_pause(m_pstTimer);
    }
}

void ParkingEvtToast::onViewDidDisappear() {
    JoinLoader();
}

void ParkingEvtToast::onViewDidUnload() {
    View.Delete();
    Model.Deinit();
    if (m_pstTimer != nullptr) {
        lv_timer_del(m_pstTimer);
        m_pstTimer = nullptr;
    }
    JoinLoader();
    ReleaseList();
}

/* ---- the event list ---- */

namespace {

std::atomic<uint32_t> s_u32LoadersRunning{0};

} // namespace

uint32_t ParkingEvtToast::LoadersRunning() {
    return s_u32LoadersRunning.load();
}

void *ParkingEvtToast::LoadFile_Thread(void *pArg) {
    std::unique_ptr<std::shared_ptr<LoadResult>> pstArg(static_cast<std::shared_ptr<LoadResult> *>(pArg));
    LoadResult &stResult = **pstArg;
    VYX_UI_Album_FileListTable_S stTable = {};
    int s32Ret = VYX_UI_Album_QueryEmrEventFiles();
    if (s32Ret == 0) {
        s32Ret = VYX_UI_Album_QueryRecordTable(VYX_UI_ALBUM_EMER_EVENT, &stTable);
    }
    if (s32Ret != 0 || stTable.ulCount == 0) {
        LOG_WARN("No file,Try again\n");
    }
    {
        std::lock_guard<std::mutex> stGuard(stResult.mu);
        VYX_UI_Album_FreeTable(&stResult.stTable);
        stResult.stTable = stTable;
    }
    stResult.bRunning = false;
    --s_u32LoadersRunning;
    return nullptr;
}

void ParkingEvtToast::StartLoader() {
    if (Loading()) {
        return;
    }
    JoinLoader(); /* a finished earlier run */
    auto pstLoad = std::make_shared<LoadResult>();
    pstLoad->bRunning = true;
    ++s_u32LoadersRunning;
    auto *pstArg = new std::shared_ptr<LoadResult>(pstLoad);
    int s32Ret = pthread_create(&m_stTid, nullptr, LoadFile_Thread, pstArg);
    if (s32Ret != 0) {
        delete pstArg;
        --s_u32LoadersRunning;
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
        return;
    }
    m_pstLoad = pstLoad;
    m_bThreadStarted = true;
}

void ParkingEvtToast::JoinLoader() {
    if (!m_bThreadStarted) {
        return;
    }
    m_bThreadStarted = false;
    if (Loading()) {
        /* Still waiting for the recorder: the thread finishes and cleans up by itself. */
        LOG_WARN("loader still waits for the recorder, left to finish\n");
        pthread_detach(m_stTid);
        m_pstLoad.reset();
        return;
    }
    LOG_INFO("\33[0;32;32mJoin stTid \n\33[m");
    if (pthread_join(m_stTid, nullptr) != 0) {
        LOG_ERROR("Join stTid Fail!\n");
    }
    LOG_INFO("\33[0;32;32mJoin stTid finish\n\33[m");
}

void ParkingEvtToast::ReleaseList() {
    if (m_pstLoad != nullptr) {
        std::lock_guard<std::mutex> stGuard(m_pstLoad->mu);
        VYX_UI_Album_FreeTable(&m_pstLoad->stTable);
    }
}

uint32_t ParkingEvtToast::LoadedClipCount() {
    if (m_pstLoad == nullptr) {
        return 0;
    }
    std::lock_guard<std::mutex> stGuard(m_pstLoad->mu);
    return m_pstLoad->stTable.pstFileList != nullptr ? m_pstLoad->stTable.ulCount : 0;
}

/* ---- countdown, dismiss, clicks ---- */

void ParkingEvtToast::TimerTick() {
    if (Model.QuerySystemStatus(&m_stStatus) == 0 && m_stStatus.bScreenDormant != 0) {
        return; /* the countdown stands still while the screen sleeps */
    }
    if (m_u32Countdown > 0) {
        --m_u32Countdown;
        View.SetCountdown(m_u32Countdown);
    }
    if (m_u32Countdown > 0) {
        return;
    }
    if (m_bEnterPlayback) {
        LOG_WARN("in playback model,return\n");
        return;
    }
    Dismiss();
    if (m_bDismissed && m_pstTimer != nullptr) {
        lv_timer_pause(m_pstTimer);
    }
}

void ParkingEvtToast::Dismiss() {
    if (m_bDismissed) {
        return;
    }
    if (Model.ResetParkingCollisionCnt() != 0) {
        LOG_ERROR("[%s] failed\n", "ResetParkingCollisionCnt");
    }
    if (Model.ResetParkingTimes() != 0) {
        LOG_ERROR("[%s] failed\n", "ResetParkingTimes");
    }
    /* Pop gives the new top page (none when this was the only one) or nothing when refused: the
     * top of the stack tells which. */
    if (Manager != nullptr) {
        Manager->Pop();
    }
    if (Manager == nullptr || Manager->GetStackTop() == this) {
        /* Refused while a page switch runs: the next second of the timer tries again. */
        LOG_ERROR("pop page is err\n");
        return;
    }
    m_bDismissed = true;
}

void ParkingEvtToast::ConfirmClick() {
    if (Model.QuerySystemStatus(&m_stStatus) != 0) {
        return;
    }
    if (m_stStatus.bAppLogin != 0) {
        Model.ShowTips("LANG_RES_ID_APP_CONNECTING");
        return;
    }
    if (m_u32Countdown == 0 || m_bDismissed || m_bEnterPlayback) {
        return;
    }
    if (LoadedClipCount() == 0) {
        LOG_INFO("No file,Try again\n");
        ReleaseList();
        Model.ShowTips("LANG_RES_ID_NO_EMEREVENT_FILE");
        /* Try again: the list is asked for once more, for the next confirm. */
        StartLoader();
        return;
    }
    m_bEnterPlayback = true;
    if (Model.CtrlEnterPlayBackMode() != 0) {
        m_bEnterPlayback = false;
        return;
    }
    LOG_WARN("CtrlEnterPlayBackMode Success\n");
    ReleaseList();
    if (Model.ResetParkingCollisionCnt() != 0) {
        LOG_ERROR("[%s] failed\n", "ResetParkingCollisionCnt");
    }
    if (Model.ResetParkingTimes() != 0) {
        LOG_ERROR("[%s] failed\n", "ResetParkingTimes");
    }
    if (Manager == nullptr || Manager->Push(kFileListPage) == nullptr) {
        /* No event list to show (not installed, or a switch runs): the recorder leaves playback
         * again and the toast goes, rather than waiting for a list that never comes. */
        LOG_ERROR("Push page is err\n");
        Model.CtrlExitPlayBackMode();
        m_bEnterPlayback = false;
        Dismiss();
        return;
    }
    m_bAlbumPushed = true;
}

void ParkingEvtToast::BackClick() {
    if (m_bEnterPlayback) {
        LOG_WARN("in playback model,return\n");
        return;
    }
    Dismiss();
}

void ParkingEvtToast::onEvent(lv_event_t *e) {
    if (lv_event_get_code(e) != LV_EVENT_SHORT_CLICKED) {
        return;
    }
    ParkingEvtToast *self = static_cast<ParkingEvtToast *>(lv_event_get_user_data(e));
    lv_obj_t *target = lv_event_get_target(e);
    if (target == self->View.ui.confirm_btn) {
        self->ConfirmClick();
    } else if (target == self->View.ui.back_btn || target == self->View.ui.prev_btn) {
        self->BackClick();
    }
}

void ParkingEvtToast::KeyEventCallBack(KeyEvtInfo *pstEvtInfo) {
    if (!Key_PageCheckInfo(pstEvtInfo)) {
        return;
    }
    ParkingEvtToast *self = static_cast<ParkingEvtToast *>(pstEvtInfo->pcUserDate);
    const ParkingEvtToastView &v = self->View;
    PageKeys_Send(pstEvtInfo, {v.ui.confirm_btn, v.ui.next_btn, v.ui.prev_btn, v.ui.back_btn},
                  &self->m_u32PressTick);
}

} // namespace Page
