#include "SysSetingReset.h"

#include <stdio.h>
#include <string.h>

#include "log.h"

namespace Page {

namespace {

/* The main list: item id and label of each row, in display order. */
const struct {
    int32_t s32Id;
    const char *pcLabel;
} s_astMainRows[] = {
    {SysSetingReset::kItemReset, "LANG_RES_ID_RESET"},
    {SysSetingReset::kItemFormatTfCard, "LANG_RES_ID_FORMAT_TFCARD"},
};
constexpr int32_t kMainRowNum = (int32_t)(sizeof s_astMainRows / sizeof s_astMainRows[0]);
static_assert(kMainRowNum == SysSetingResetView::kRowNum, "the view holds the main list's rows");

const char *const kTitle = "LANG_RES_ID_RESET_DEV";

} // namespace

SysSetingReset::SysSetingReset() = default;

SysSetingReset::~SysSetingReset() {
    if (m_pstCheckTimer != nullptr) {
        lv_timer_del(m_pstCheckTimer);
    }
    if (m_pstReturnTimer != nullptr) {
        lv_timer_del(m_pstReturnTimer);
    }
    Model.Deinit();
}

void SysSetingReset::onViewLoad() {
    Model.Init();
    View.CreateBottomBtns(root, onEvent, this);
    m_eScreen = Screen::kMain;
    /* Argument 1 comes from the format reminder and the storage error: the user has already said
     * the card should be formatted, so the page opens on the format question (back leads to the
     * list with the format row focused). */
    uint8_t u8Arg = 0;
    if (StashRead(&u8Arg, sizeof u8Arg) && u8Arg == kArgFormat) {
        CreateMainPageHandle(RowOfItem(kItemFormatTfCard));
        CreateFormatAskPageHandle(0);
    } else {
        CreateMainPageHandle(0);
    }
}

void SysSetingReset::onViewWillAppear() {
    Key_SetEventCallback(KeyEventCallBack, this);
    lv_anim_timeline_start(View.ui.btn.anim_timeline);
    StatusBarMsg stMsg;
    memset(&stMsg, 0, sizeof stMsg);
    stMsg.eCmd = STATUSBAR_CMD_TITLE_CENTER;
    Model.CtrlStatusBarItem(&stMsg);
}

void SysSetingReset::onViewDidAppear() {
    /* The question pages keep the status bar hidden, also when the page opens on one. */
    StatusBar_ShowType(m_eScreen == Screen::kMain ? STATUSBAR_SHOW_REC_TITLE : STATUSBAR_SHOW_NONE);
    lv_obj_clear_state(View.ui.btn.confirm, LV_STATE_PRESSED);
    m_u32IgnoreConfirmKeyTime = lv_tick_get();
}

void SysSetingReset::onViewWillDisappear() {
    Key_SetEventCallback(nullptr, nullptr);
    RemoveBtnsFromeGroup();
}

void SysSetingReset::onViewDidUnload() {
    if (m_pstCheckTimer != nullptr) {
        lv_timer_del(m_pstCheckTimer);
        m_pstCheckTimer = nullptr;
    }
    if (m_pstReturnTimer != nullptr) {
        lv_timer_del(m_pstReturnTimer);
        m_pstReturnTimer = nullptr;
    }
    if (Model.m_bFormating) {
        /* The page goes while the recorder formats: the status must not stay marked. */
        Model.SetStatusByte(SysSetingResetModel::kFormatingByte, 0);
    }
    Model.m_bFormating = Model.m_bSuccess = Model.m_bFailure = false;
    Model.m_bResetting = Model.m_bResetFailed = false;
    m_u32WaitCount = 0;
    View.Delete();
    Model.Deinit();
}

/* ---- screens ---- */

void SysSetingReset::AddBtnsToGroup() {
    lv_group_t *group = lv_group_get_default();
    if (group == nullptr) {
        return;
    }
    for (const SetRow &row : View.ui.rows) {
        if (row.btn != nullptr) {
            lv_group_add_obj(group, row.btn);
        }
    }
}

void SysSetingReset::RemoveBtnsFromeGroup() {
    lv_group_t *group = lv_group_get_default();
    if (group != nullptr) {
        lv_group_remove_all_objs(group);
    }
}

void SysSetingReset::CreateMainPageHandle(int32_t s32Focus) {
    RemoveBtnsFromeGroup();
    const char *apcLabels[kMainRowNum];
    for (int32_t i = 0; i < kMainRowNum; i++) {
        apcLabels[i] = s_astMainRows[i].pcLabel;
    }
    View.CreateMainList(root, apcLabels, onEvent, this);
    m_eScreen = Screen::kMain;
    View.ShowCancelConfirm(true, true);
    SetFlow_ShowImg(View.ui.btn.up, true);
    SetFlow_ShowImg(View.ui.btn.down, true);
    if (s32Focus < 0 || s32Focus >= kMainRowNum) {
        s32Focus = 0;
    }
    m_s32CurPos = s32Focus;
    AddBtnsToGroup();
    lv_group_focus_obj(View.ui.rows[s32Focus].btn);
    RefershStatusbarCommHandle(s32Focus);
    lv_anim_timeline_start(View.ui.btn.anim_timeline);
}

void SysSetingReset::RefershStatusbarCommHandle(int32_t s32Pos) {
    if (m_eScreen != Screen::kMain) {
        Model.CtrlStatusBarTitle(" ", "");
        return;
    }
    snprintf(m_szFocus, sizeof m_szFocus, "%u/%u", (unsigned)(s32Pos + 1), (unsigned)kMainRowNum);
    Model.CtrlStatusBarTitle(kTitle, m_szFocus);
}

void SysSetingReset::CreateResetAskPageHandle() {
    RemoveBtnsFromeGroup();
    View.CreateResetAskPage(root);
    EnterQuestion(Screen::kResetAsk);
}

void SysSetingReset::CreateFormatAskPageHandle(int32_t s32Type) {
    RemoveBtnsFromeGroup();
    m_s32FormatType = s32Type;
    View.CreateFormatAskPage(root, s32Type);
    EnterQuestion(Screen::kFormatAsk);
}

/* A question screen: back and confirm only, no status bar, OK ignored for a moment. */
void SysSetingReset::EnterQuestion(Screen eScreen) {
    m_eScreen = eScreen;
    View.ShowCancelConfirm(true, true);
    SetFlow_ShowImg(View.ui.btn.up, false);
    SetFlow_ShowImg(View.ui.btn.down, false);
    StatusBar_ShowType(STATUSBAR_SHOW_NONE);
    RefershStatusbarCommHandle(0);
    m_u32IgnoreConfirmKeyTime = lv_tick_get();
}

int32_t SysSetingReset::RowOfItem(int32_t s32Id) {
    for (int32_t i = 0; i < kMainRowNum; i++) {
        if (s_astMainRows[i].s32Id == s32Id) {
            return i;
        }
    }
    return 0;
}

int32_t SysSetingReset::RowOf(lv_obj_t *pstTarget) const {
    for (int32_t i = 0; i < kMainRowNum; i++) {
        if (View.ui.rows[i].btn != nullptr && View.ui.rows[i].btn == pstTarget) {
            return i;
        }
    }
    return -1;
}

/* ---- clicks ---- */

void SysSetingReset::MainPageShortClickEventHandle(lv_obj_t *pstTarget) {
    if (pstTarget == View.ui.btn.confirm) {
        /* The keypad clicks the focused row itself. */
        LOG_INFO("no support btn.confirm ,just return\n");
        return;
    }
    const int32_t s32Row = RowOf(pstTarget);
    if (s32Row < 0) {
        return;
    }
    m_s32CurPos = s32Row;
    switch (s_astMainRows[s32Row].s32Id) {
    case kItemFormatTfCard:
        CreateFormatAskPageHandle(0);
        break;
    case kItemFormatEmmc:
        CreateFormatAskPageHandle(1);
        break;
    case kItemReset:
        CreateResetAskPageHandle();
        break;
    default:
        LOG_INFO("no support this option %d\n", (int)s_astMainRows[s32Row].s32Id);
        break;
    }
}

void SysSetingReset::StartCheckTimer(uint32_t u32Period) {
    if (m_pstCheckTimer != nullptr) {
        lv_timer_set_period(m_pstCheckTimer, u32Period);
        lv_timer_reset(m_pstCheckTimer);
        lv_timer_resume(m_pstCheckTimer);
        return;
    }
    m_pstCheckTimer = lv_timer_create(
        [](lv_timer_t *t) { static_cast<SysSetingReset *>(t->user_data)->onTimerUpdate(); }, u32Period, this);
}

void SysSetingReset::ResetAskPageShortClickEventHandle(lv_obj_t *pstTarget) {
    if (pstTarget != View.ui.btn.confirm) {
        LOG_INFO("no support this obj , just return\n");
        return;
    }
    if (Model.m_bResetting) {
        LOG_WARN("Timer already strat!\n");
        return;
    }
    LOG_INFO("Reset start\n");
    /* Busy until the recorder reports its result (the model clears it). */
    Model.m_bResetting = true;
    Model.m_bResetFailed = false;
    Model.SetStatusByte(SysSetingResetModel::kResetBusyByte, 1);
    Model.GeneralCtrlComm(CTRL_ELEM_RESETDEV, nullptr);
    View.ShowCancelConfirm(false, false);
    m_u32ResetStartTick = lv_tick_get();
    if (m_pstCheckTimer != nullptr) {
        LOG_WARN("Timer already strat!\n");
    } else {
        LOG_INFO("Strat check timer!\n");
    }
    StartCheckTimer(kResetCheckPeriod);
}

void SysSetingReset::FormatAskShortClickEventHandle(lv_obj_t *pstTarget) {
    if (pstTarget != View.ui.btn.confirm) {
        LOG_INFO("no support this obj , just return\n");
        return;
    }
    LOG_INFO("Formating start\n");
    Model.GeneralCtrlComm(CTRL_ELEM_FORMAT, "FormatAuxStorage");
    m_s32FormatType = 0;
    View.CreateFormatingPage(root, m_s32FormatType);
    m_eScreen = Screen::kFormating;
    View.ShowCancelConfirm(false, false);
    lv_anim_timeline_start(View.ui.btn.anim_timeline);
    StatusBar_ShowType(STATUSBAR_SHOW_NONE);
    Model.LoadGeneralSetingData();
    SystemStatusInfo stStatus;
    if (Model.GetSystemStatus(&stStatus) == 0) {
        /* A result left from an earlier format must not end this one. */
        stStatus.bFormatResult = 0;
        reinterpret_cast<uint8_t *>(&stStatus)[SysSetingResetModel::kFormatingByte] = 1;
        Model.SetSystemStatus(&stStatus);
    }
    Model.m_bSuccess = Model.m_bFailure = false;
    Model.m_bFormating = true;
    m_u32WaitCount = 0;
    StartCheckTimer(kFormatCheckPeriod);
}

/* ---- waiting ---- */

void SysSetingReset::onTimerUpdate() {
    if (Model.m_bFormating) {
        WaitFormatStatusHandle();
    } else if (Model.m_bResetting) {
        WaitResetStatusHandle();
    } else if (m_pstCheckTimer != nullptr) {
        lv_timer_pause(m_pstCheckTimer);
    }
}

void SysSetingReset::WaitResetStatusHandle() {
    SystemStatusInfo stStatus;
    if (Model.GetSystemStatus(&stStatus) != 0) {
        return;
    }
    const uint8_t u8Busy = reinterpret_cast<const uint8_t *>(&stStatus)[SysSetingResetModel::kResetBusyByte];
    bool bFailed = Model.m_bResetFailed;
    if (u8Busy != 0 && !bFailed) {
        if (lv_tick_elaps(m_u32ResetStartTick) < kResetWaitLimit) {
            return;
        }
        LOG_WARN("Wait Timeout\n");
        bFailed = true;
        Model.SetStatusByte(SysSetingResetModel::kResetBusyByte, 0);
    }
    Model.m_bResetting = false;
    Model.m_bResetFailed = false;
    lv_timer_del(m_pstCheckTimer);
    m_pstCheckTimer = nullptr;
    if (bFailed) {
        /* The recorder refused or never answered: the question stands again. */
        LOG_ERROR("reset failed\n");
        View.ShowCancelConfirm(true, true);
        m_u32IgnoreConfirmKeyTime = lv_tick_get();
        return;
    }
    View.CreateResetOkPage(root);
    m_eScreen = Screen::kResetDone;
    View.ShowCancelConfirm(false, false);
}

void SysSetingReset::WaitFormatStatusHandle() {
    SystemStatusInfo stStatus;
    GeneralSetingInfo stInfo;
    Model.GetSystemStatus(&stStatus);
    Model.GetGeneralSetingInfo(&stInfo);
    ++m_u32WaitCount;
    if (Model.m_bSuccess || Model.m_bFailure) {
        LOG_INFO("_end_handle_\n");
    } else if (m_u32WaitCount * kFormatCheckPeriod >= kFormatWaitLimit) {
        LOG_WARN("Wait Timeout\n");
        Model.m_bFailure = true;
    } else {
        return;
    }
    EndFormatWait();
}

void SysSetingReset::EndFormatWait() {
    const bool bSuccess = Model.m_bSuccess;
    Model.m_bFormating = false;
    m_u32WaitCount = 0;
    Model.SetStatusByte(SysSetingResetModel::kFormatingByte, 0);
    Model.GeneralCtrlComm(CTRL_ELEM_SCREENDORMANT, "reset");
    if (bSuccess) {
        View.CreateFormatSuccessPage(root, m_s32FormatType);
        m_eScreen = Screen::kFormatSuccess;
        lv_anim_timeline_start(View.ui.btn.anim_timeline);
        if (m_pstReturnTimer != nullptr) {
            lv_timer_reset(m_pstReturnTimer);
            lv_timer_resume(m_pstReturnTimer);
        } else if (m_s32FormatType == 0) {
            m_pstReturnTimer = lv_timer_create(
                [](lv_timer_t *t) {
                    SysSetingReset *self = static_cast<SysSetingReset *>(t->user_data);
                    LOG_INFO("timeout\n");
                    if (self->m_eScreen == Screen::kFormatSuccess) {
                        self->PageBackHandle();
                    }
                    lv_timer_pause(t);
                },
                kReturnPeriod, this);
        }
        lv_timer_pause(m_pstCheckTimer);
    } else {
        View.CreateFormatFailPage(root, m_s32FormatType);
        m_eScreen = Screen::kFormatFail;
        View.ShowCancelConfirm(true, false);
        lv_anim_timeline_start(View.ui.btn.anim_timeline);
        Model.CtrlStatusBarTitle(" ", "");
        lv_timer_pause(m_pstCheckTimer);
    }
    Model.m_bSuccess = Model.m_bFailure = false;
}

/* ---- back, focus, events, keys ---- */

void SysSetingReset::PageBackHandle() {
    if (View.ui.cur_cont_row == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "View.ui.cur_cont_row");
        return;
    }
    if (Model.m_bFormating) {
        LOG_INFO("formating , no support oper\n");
        return;
    }
    StatusBar_ShowType(STATUSBAR_SHOW_REC_TITLE);
    if (m_eScreen == Screen::kMain) {
        priv.Stash.ptr = nullptr;
        if (Manager != nullptr) {
            Manager->Pop();
        }
        return;
    }
    if (Model.m_bResetting) {
        /* Leaving the ask page ends the wait on this page; the recorder's result still comes. */
        Model.m_bResetting = false;
        if (m_pstCheckTimer != nullptr) {
            lv_timer_pause(m_pstCheckTimer);
        }
    }
    if (m_pstReturnTimer != nullptr) {
        lv_timer_pause(m_pstReturnTimer);
    }
    CreateMainPageHandle(m_s32CurPos);
}

void SysSetingReset::PageFocusEventHandle(lv_obj_t *pstTarget) {
    const int32_t s32Row = RowOf(pstTarget);
    if (s32Row < 0) {
        return;
    }
    m_s32CurPos = s32Row;
    SetFlow_FocusRow(&View.ui.rows[s32Row], true);
    RefershStatusbarCommHandle(s32Row);
}

void SysSetingReset::PageDeFocusEventHandle(lv_obj_t *pstTarget) {
    const int32_t s32Row = RowOf(pstTarget);
    if (s32Row < 0) {
        return;
    }
    SetFlow_FocusRow(&View.ui.rows[s32Row], false);
}

void SysSetingReset::onEvent(lv_event_t *e) {
    SysSetingReset *self = static_cast<SysSetingReset *>(lv_event_get_user_data(e));
    lv_obj_t *pstTarget = lv_event_get_target(e);
    switch (lv_event_get_code(e)) {
    case LV_EVENT_FOCUSED:
        self->PageFocusEventHandle(pstTarget);
        return;
    case LV_EVENT_DEFOCUSED:
        self->PageDeFocusEventHandle(pstTarget);
        return;
    case LV_EVENT_SHORT_CLICKED:
        break;
    default:
        return;
    }
    LOG_INFO(" LV_EVENT_SHORT_CLICKED \n");
    if (self->View.ui.cur_cont_row == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "instance->View.ui.cur_bg");
        return;
    }
    if (pstTarget == self->View.ui.btn.back) {
        self->PageBackHandle();
        return;
    }
    if (pstTarget == self->View.ui.btn.up || pstTarget == self->View.ui.btn.down) {
        return; /* focus moves with the keypad; the images only show the press */
    }
    switch (self->m_eScreen) {
    case Screen::kMain:
        self->MainPageShortClickEventHandle(pstTarget);
        break;
    case Screen::kResetAsk:
        self->ResetAskPageShortClickEventHandle(pstTarget);
        break;
    case Screen::kFormatAsk:
        self->FormatAskShortClickEventHandle(pstTarget);
        break;
    default:
        break;
    }
}

void SysSetingReset::KeyEventCallBack(KeyEvtInfo *pstEvtInfo) {
    if (!Key_PageCheckInfo(pstEvtInfo)) {
        return;
    }
    SysSetingReset *self = static_cast<SysSetingReset *>(pstEvtInfo->pcUserDate);
    lv_obj_t *pstTarget = nullptr;
    const char *pcName = nullptr;
    switch (pstEvtInfo->keycode) {
    case KEY_CODE_OK:
        pstTarget = self->View.ui.btn.confirm;
        pcName = "OK";
        break;
    case KEY_CODE_NEXT:
        pstTarget = self->View.ui.btn.down;
        pcName = "NEXT";
        break;
    case KEY_CODE_PREV:
        pstTarget = self->View.ui.btn.up;
        pcName = "PREV";
        break;
    case KEY_CODE_BACK:
        pstTarget = self->View.ui.btn.back;
        pcName = "BACK";
        break;
    default:
        return;
    }
    if (pstTarget == nullptr) {
        return;
    }
    if (pstEvtInfo->keyvalue == KEY_VALUE_PRESS) {
        lv_event_send(pstTarget, LV_EVENT_PRESSED, nullptr);
        self->m_u32PressTick = lv_tick_get();
        return;
    }
    if (pstEvtInfo->keyvalue != KEY_VALUE_RELEASE) {
        return;
    }
    lv_event_send(pstTarget, LV_EVENT_RELEASED, nullptr);
    if (lv_tick_elaps(self->m_u32PressTick) > 799) {
        return;
    }
    if (pstEvtInfo->keycode == KEY_CODE_OK &&
        lv_tick_elaps(self->m_u32IgnoreConfirmKeyTime) <= kConfirmIgnoreTime - 1) {
        LOG_INFO("Ignore this key\n");
        return;
    }
    LOG_INFO("LV_EVENT_SHORT_CLICKED %s\n", pcName);
    lv_event_send(pstTarget, LV_EVENT_SHORT_CLICKED, nullptr);
}

} // namespace Page
