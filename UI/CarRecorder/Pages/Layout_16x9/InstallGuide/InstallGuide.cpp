#include "InstallGuide.h"

#include <stdlib.h>

#include "PageKeys.h"
#include "StatusBar.h"
#include "log.h"
#include "sys_paths.h"
#include "vyx_ui_common_data.h"

namespace Page {

namespace {

/* The settings page of each step before the closing one, its argument and the retry period. */
struct StepPush {
    uint32_t u32Step;
    const char *pcPage;
    uint32_t u32Period; /* ms */
};

const StepPush s_astStepPush[] = {
    {GUIDE_STEP_LANGUAGE, InstallGuide::kSysSetPage, 50},  /* EnterLanguagePageHandle */
    {GUIDE_STEP_TIME, InstallGuide::kSysSetPage, 20},      /* EnterSetTimePageHandle */
    {GUIDE_STEP_4G_INTRO, InstallGuide::kMorePage, 20},    /* Enter4GIntroducePageHandle */
    {GUIDE_STEP_APP_CONNECT, InstallGuide::kMorePage, 50}, /* EnterAppConnectPageHandle */
};

} // namespace

InstallGuide::InstallGuide() = default;

InstallGuide::~InstallGuide() {
    StopPushTimer();
    Model.Deinit();
}

void InstallGuide::onViewLoad() {
    GuideStepInit();
    Model.Init();
    View.Create(root, onEvent, this);
    StatusBar_ShowType(STATUSBAR_SHOW_REC);
}

void InstallGuide::onViewDidLoad() {
    /* bInGuide: supervision does not start the guide again while it runs. */
    SetInGuide(true);
}

void InstallGuide::SetInGuide(bool bInGuide) {
    SystemStatusInfo stInfo;
    if (Model.QuerySystemStatus(&stInfo) == 0) {
        stInfo.bInGuide = bInGuide ? 1 : 0;
        Model.SetSystemStatus(&stInfo);
    }
}

void InstallGuide::onViewWillAppear() {
    LOG_INFO("GuideStep = %d\n", (int)GetGuideStep());
    EnterStep();
}

void InstallGuide::onViewDidAppear() {
    Key_SetEventCallback(KeyEventCallBack, this);
}

void InstallGuide::onViewWillDisappear() {
    Key_SetEventCallback(nullptr, nullptr);
    StopPushTimer();
}

void InstallGuide::onViewDidUnload() {
    StopPushTimer();
    /* The guide is no longer loaded: a later parameter reset may start it again. */
    SetInGuide(false);
    Model.Deinit();
    View.Delete();
}

int InstallGuide::EnterStep() {
    uint32_t u32Step = GetGuideStep();
    for (const StepPush &row : s_astStepPush) {
        if (row.u32Step == u32Step) {
            return StartPushTimer(row.pcPage, static_cast<uint8_t>(u32Step), row.u32Period);
        }
    }
    if (u32Step == GUIDE_STEP_CLOSING) {
        View.ShowOverView();
        Model.CtrlStatusBarItem(STATUSBAR_CMD_UPDATE_TITLE, "", false);
        return 0;
    }
    if (u32Step != GUIDE_STEP_FINISHED) {
        LOG_ERROR("no support this step %d\n", (int)u32Step);
        return -1;
    }
    return 0;
}

int InstallGuide::StartPushTimer(const char *pcPage, uint8_t u8Arg, uint32_t u32Period) {
    StopPushTimer();
    m_pcPushPage = pcPage;
    m_u8PushArg = u8Arg;
    m_pstPushTimer = lv_timer_create(
        [](lv_timer_t *t) { static_cast<InstallGuide *>(t->user_data)->PushTimerTick(); }, u32Period, this);
    if (m_pstPushTimer == nullptr) {
        LOG_ERROR("start timer failed!\n");
        return -1;
    }
    return 0;
}

void InstallGuide::StopPushTimer() {
    if (m_pstPushTimer != nullptr) {
        lv_timer_del(m_pstPushTimer);
        m_pstPushTimer = nullptr;
    }
}

void InstallGuide::PushTimerTick() {
    LOG_INFO("timer overtime,push page\n");
    if (Manager == nullptr) {
        return;
    }
    if (Manager->FindPageInPool(m_pcPushPage) == nullptr) {
        /* A build without that settings page: its step is passed over rather than retried for
         * good, so the guide still reaches its end. */
        LOG_WARN("page %s is not installed, step %d skipped\n", m_pcPushPage, (int)GetGuideStep());
        StopPushTimer();
        SwitchGuideStep(+1);
        EnterStep();
        return;
    }
    PageBase::Stash_t stStash = {&m_u8PushArg, sizeof m_u8PushArg};
    if (Manager->Push(m_pcPushPage, &stStash) != nullptr) {
        StopPushTimer();
    }
    /* Refused (a page switch is running): the timer tries again on its next run. */
}

void InstallGuide::onEvent(lv_event_t *e) {
    if (lv_event_get_code(e) != LV_EVENT_SHORT_CLICKED) {
        return;
    }
    InstallGuide *self = static_cast<InstallGuide *>(lv_event_get_user_data(e));
    if (self->View.ui.bottom_bar == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "View.ui.bottom_bar");
        return;
    }
    lv_obj_t *target = lv_event_get_target(e);
    if (target == self->View.ui.back_btn) {
        self->BackClick();
    } else if (target == self->View.ui.confirm_btn) {
        self->ConfirmClick();
    }
}

void InstallGuide::BackClick() {
    SwitchGuideStep(-1);
    EnterStep();
}

void InstallGuide::ConfirmClick() {
    GeneralSetingInfo stInfo;
    if (Model.QueryGeneralSeting(&stInfo) != 0) {
        return;
    }
    Model.CtrlGeneralSetingItem(GS_INSTALLTION_GUIDECNT, stInfo.installtion_guidecnt + 1);
    PageManager *pstManager = Manager;
    if (pstManager == nullptr) {
        return;
    }
    /* The stack clear unloads this page: nothing of it is used after this line. */
    pstManager->SetStackClear();
    if (pstManager->Push(kHomePage) != nullptr) {
        /* The home page is up for the first time in this run: tell the recorder, as start-up
         * does when it shows the home page itself. */
        if (system("touch " SYS_PATH_UI_RUNNING) != 0) {
            LOG_ERROR("touch %s failed\n", SYS_PATH_UI_RUNNING);
        }
    }
    SwitchGuideStep(+1);
}

void InstallGuide::KeyEventCallBack(KeyEvtInfo *pstEvtInfo) {
    if (!Key_PageCheckInfo(pstEvtInfo)) {
        return;
    }
    InstallGuide *self = static_cast<InstallGuide *>(pstEvtInfo->pcUserDate);
    /* OK and BACK only; the icons show on the closing step, before it they take no key. */
    PageKeys_Send(pstEvtInfo, {self->View.ui.confirm_btn, nullptr, nullptr, self->View.ui.back_btn},
                  &self->m_u32PressTick);
}

} // namespace Page
