#include "SysSetingKovar.h"

#include <stdio.h>
#include <string.h>

#include "lv_label_ext_func.h"
#include "log.h"

namespace Page {

namespace {

SetMenu s_stRootMenu = {9, "LANG_RES_ID_KOVAR_TOAST", nullptr, 0, nullptr, nullptr, 0};

} // namespace

SetMenu *SysSetingKovar::RootMenu() {
    return &s_stRootMenu;
}

SysSetingKovar::SysSetingKovar()
    : SysSetingPage(m_stModel, m_stView, "SysSetingKovarModel", RootMenu(), nullptr, 0) {}

void SysSetingKovar::onViewLoad() {
    SysSetingPage::onViewLoad();
    m_stView.SetNaviIcons();
}

void SysSetingKovar::onViewDidUnload() {
    for (lv_timer_t **pp : {&m_pstBindTimer, &m_pstReturnTimer}) {
        if (*pp != nullptr) {
            lv_timer_del(*pp);
            *pp = nullptr;
        }
    }
    if (m_stModel.m_bBinding) {
        /* Leaving while pairing stops it, as the stop question would. */
        StopBinding();
    }
    SysSetingPage::onViewDidUnload();
}

int SysSetingKovar::OptionChosen(int32_t s32ItemId) {
    (void)s32ItemId;
    return -1;
}

bool SysSetingKovar::OpenScreen(SetMenu *pstMenu) {
    if (pstMenu != &s_stRootMenu) {
        return false;
    }
    m_stModel.Hook();
    KovarInfo stKovar;
    m_stModel.GetKovarInfo(&stKovar);
    SystemStatusInfo stStatus;
    memset(&stStatus, 0, sizeof stStatus);
    Model.QuerySystemStatus(&stStatus);
    LOG_INFO("%s:  %d\n", "stPrivKovarInfo.eStatus", (int)stKovar.eStatus);
    m_stModel.m_bLinked = stStatus.bKovarBound != 0 || stKovar.eStatus == 2;
    char szCur[64] = "";
    lv_label_get_text_tr("LANG_RES_ID_CUR_DEV", szCur, sizeof szCur);
    if (stKovar.szName[0] != '\0') {
        snprintf(m_szDevText, sizeof m_szDevText, "%s: %s(%s)", szCur, stKovar.szName, stKovar.szModel);
    } else {
        snprintf(m_szDevText, sizeof m_szDevText, "%s", szCur);
    }
    CreateMainPageHandle();
    return true;
}

void SysSetingKovar::ShowNavi(bool bBack, bool bMove, bool bConfirm) {
    SetFlow_ShowImg(View.ui.btn_back, bBack);
    SetFlow_ShowImg(View.ui.btn_up, bMove);
    SetFlow_ShowImg(View.ui.btn_down, bMove);
    SetFlow_ShowImg(View.ui.btn_confirm, bConfirm);
}

void SysSetingKovar::CreateMainPageHandle() {
    LOG_INFO(m_stModel.m_bLinked ? "linked \n" : "dislinked \n");
    m_stView.CreateMainScreen(root, m_stModel.m_bLinked, m_szDevText, onEvent, this);
    m_eScreen = Screen::kMain;
    ShowNavi(true, m_stModel.m_bLinked, true);
    StatusBar_ShowType(STATUSBAR_SHOW_REC_TITLE);
    AddBtnsToGroup();
    UpdateTitle(-1);
}

void SysSetingKovar::AddBtnsToGroup() {
    lv_group_t *pstGroup = lv_group_get_default();
    if (pstGroup == nullptr) {
        return;
    }
    lv_group_remove_all_objs(pstGroup);
    for (const SetRow &r : m_stView.m_astRows) {
        if (r.btn != nullptr) {
            lv_group_add_obj(pstGroup, r.btn);
        }
    }
}

void SysSetingKovar::StartBinding() {
    LOG_INFO("Start kovar now ! \n");
    m_stModel.m_bBinding = true;
    m_stModel.m_bSuccess = m_stModel.m_bFailure = m_stModel.m_bBleSeen = false;
    m_u32Ticks = 0;
    m_stModel.SetBindingByte(1);
    Model.GeneralCtrlComm(CTRL_ELEM_SCRDOMANT_TIMER, "pause");
    Model.GeneralCtrlComm(CTRL_ELEM_KOVAR_START_BIND, nullptr);
    CreateBindingPageHandle();
    if (m_pstBindTimer != nullptr) {
        LOG_WARN("Binding timer already strat!\n");
        return;
    }
    LOG_INFO("Strat binding timer!\n");
    m_pstBindTimer = lv_timer_create(
        [](lv_timer_t *t) { static_cast<SysSetingKovar *>(t->user_data)->WaitBindStatusHandle(); },
        kBindPeriod, this);
}

void SysSetingKovar::CreateBindingPageHandle() {
    m_stView.CreateBindingScreen(root);
    m_eScreen = Screen::kBinding;
    ShowNavi(true, false, false);
    StatusBar_ShowType(STATUSBAR_SHOW_NONE);
    Model.CtrlStatusBarTitle(STATUSBAR_CMD_UPDATE_TITLE, " ", "");
    /* The count-down while the cameras have not seen each other, for the first 20 s. */
    const uint32_t u32Left =
        kCountDownMs / kBindPeriod > m_u32Ticks ? kCountDownMs / kBindPeriod - m_u32Ticks : 0;
    if (m_stModel.m_bBleSeen || u32Left == 0) {
        m_stView.SetCountDown(nullptr);
    } else {
        char szHint[96] = "";
        lv_label_get_text_tr("LANG_RES_ID_DOUBLE_CLICK_SLAVE_KEY_TOAST", szHint, sizeof szHint);
        snprintf(m_szCountDown, sizeof m_szCountDown, "%s(%uS)", szHint, (unsigned)u32Left);
        m_stView.SetCountDown(m_szCountDown);
    }
}

void SysSetingKovar::WaitBindStatusHandle() {
    ++m_u32Ticks;
    if (m_stModel.m_bSuccess || m_stModel.m_bFailure) {
        LOG_INFO("_end_handle_\n");
    } else if (m_u32Ticks * kBindPeriod >= kBindWaitLimit) {
        LOG_WARN("Wait Timeout\n");
        m_stModel.m_bFailure = true;
    } else {
        if (m_eScreen == Screen::kBinding) {
            CreateBindingPageHandle(); /* the count-down and the link state */
        }
        return;
    }
    EndBinding(m_stModel.m_bSuccess);
}

void SysSetingKovar::EndBinding(bool bSuccess) {
    m_stModel.SetBindingByte(0);
    Model.GeneralCtrlComm(CTRL_ELEM_SCRDOMANT_TIMER, "resume");
    m_stModel.m_bBinding = m_stModel.m_bSuccess = m_stModel.m_bFailure = m_stModel.m_bBleSeen = false;
    m_u32Ticks = 0;
    if (m_pstBindTimer != nullptr) {
        lv_timer_del(m_pstBindTimer);
        m_pstBindTimer = nullptr;
    }
    m_stView.CreateResultScreen(root, bSuccess);
    if (bSuccess) {
        LOG_INFO("bind success\n");
        m_stModel.m_bLinked = true;
        m_eScreen = Screen::kSuccess;
        ShowNavi(true, false, false);
        if (m_pstReturnTimer == nullptr) {
            m_pstReturnTimer = lv_timer_create(
                [](lv_timer_t *t) {
                    SysSetingKovar *self = static_cast<SysSetingKovar *>(t->user_data);
                    LOG_INFO("timeout\n");
                    lv_timer_pause(t);
                    if (self->m_eScreen == Screen::kSuccess) {
                        self->OpenScreen(&s_stRootMenu);
                    }
                },
                kReturnPeriod, this);
        } else {
            lv_timer_reset(m_pstReturnTimer);
            lv_timer_resume(m_pstReturnTimer);
        }
    } else {
        LOG_INFO("bind failed\n");
        m_eScreen = Screen::kFail;
        ShowNavi(true, false, false);
    }
}

void SysSetingKovar::StopBinding() {
    m_stModel.SetBindingByte(0);
    Model.GeneralCtrlComm(CTRL_ELEM_SCRDOMANT_TIMER, "resume");
    LOG_INFO("Stop bind start\n");
    m_stModel.m_bBinding = m_stModel.m_bSuccess = m_stModel.m_bFailure = m_stModel.m_bBleSeen = false;
    m_u32Ticks = 0;
    if (m_pstBindTimer != nullptr) {
        lv_timer_del(m_pstBindTimer);
        m_pstBindTimer = nullptr;
    }
    Model.GeneralCtrlComm(CTRL_ELEM_KOVAR_STOP_BIND, nullptr);
}

bool SysSetingKovar::ScreenBack() {
    switch (m_eScreen) {
    case Screen::kMain:
        return false; /* the framework leaves the page */
    case Screen::kSuccess:
        if (m_pstReturnTimer != nullptr) {
            lv_timer_pause(m_pstReturnTimer);
        }
        if (Manager != nullptr) {
            Manager->Pop();
        }
        return true;
    case Screen::kBinding:
        m_stView.CreateAskScreen(root, "LANG_RES_ID_KOVAR_STOP_BINDING_ASK_CONTENT");
        m_eScreen = Screen::kStopAsk;
        ShowNavi(true, false, true);
        return true;
    case Screen::kStopAsk:
        CreateBindingPageHandle();
        return true;
    default:
        CreateMainPageHandle();
        return true;
    }
}

void SysSetingKovar::ScreenClick(lv_obj_t *pstTarget) {
    if (pstTarget != View.ui.btn_confirm) {
        return; /* rows act through the confirm image */
    }
    switch (m_eScreen) {
    case Screen::kMain: {
        if (!m_stModel.m_bLinked) {
            StartBinding();
            return;
        }
        lv_obj_t *pstFocused = lv_group_get_focused(lv_group_get_default());
        if (pstFocused == m_stView.m_astRows[1].btn) {
            PageBackHandle();
        } else if (pstFocused == m_stView.m_astRows[0].btn) {
            lv_group_remove_all_objs(lv_group_get_default());
            m_stView.CreateAskScreen(root, "LANG_RES_ID_KOVAR_UNBIND_ASK_CONTENT");
            m_eScreen = Screen::kUnbindAsk;
            ShowNavi(true, false, true);
        } else {
            LOG_ERROR("error focus!\n");
        }
        return;
    }
    case Screen::kUnbindAsk:
        LOG_INFO("Unbind start\n");
        Model.GeneralCtrlComm(CTRL_ELEM_KOVAR_UNBIND, nullptr);
        m_stModel.m_bLinked = false;
        CreateMainPageHandle();
        return;
    case Screen::kStopAsk:
        StopBinding();
        CreateMainPageHandle();
        return;
    default:
        return;
    }
}

bool SysSetingKovar::ScreenKey(uint32_t u32Code, uint32_t u32Value) {
    (void)u32Value;
    /* Up and down only on the main screen's rows. */
    return (u32Code == KEY_CODE_NEXT || u32Code == KEY_CODE_PREV) &&
           !(m_eScreen == Screen::kMain && m_stModel.m_bLinked);
}

} // namespace Page
