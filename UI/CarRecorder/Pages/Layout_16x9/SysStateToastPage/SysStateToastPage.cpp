#include "SysStateToastPage.h"

#include "PageKeys.h"
#include "StatusBar.h"
#include "log.h"

namespace Page {

namespace {

const int32_t s_as32FormatItems[] = {GS_FORMAT_ONTIME};

} // namespace

SysStateToastPage::SysStateToastPage() = default;

SysStateToastPage::~SysStateToastPage() {
    Model.Deinit();
}

void SysStateToastPage::onViewLoad() {
    m_u8Type = 0;
    if (!StashRead(&m_u8Type, sizeof m_u8Type)) {
        LOG_WARN("no page type, app lock\n");
    }
    m_bLeaving = false;
    LOG_INFO("\33[0;32;32mpage type[%d]\n\33[m", (int)m_u8Type);
    View.Create(root, m_u8Type, onEvent, this);
}

void SysStateToastPage::onViewDidLoad() {
    Model.Init(this);
    if (m_u8Type == TYPE_DIGICAM_REAR) {
        View.RefreshDigiCamErrViewPage(1, Model.m_stStatus.iDigiCamRearStatus);
    } else if (m_u8Type == TYPE_DIGICAM_INSIDE) {
        View.RefreshDigiCamErrViewPage(2, Model.m_stStatus.iDigiCamInsideStatus);
    } else if (m_u8Type == TYPE_FORMAT_ONTIME) {
        GeneralSetingInfo stInfo;
        if (Model.QueryGeneralSeting(&stInfo, s_as32FormatItems, 1) == 0) {
            View.RefrashFormatOnTimePage(stInfo.format_ontime);
        }
    }
}

void SysStateToastPage::onViewWillAppear() {
    StatusBar_ShowType(STATUSBAR_SHOW_NONE);
    Model.CtrlStatusBarTitleIsNull();
}

void SysStateToastPage::onViewDidAppear() {
    Key_SetEventCallback(KeyEventCallBack, this);
}

void SysStateToastPage::onViewWillDisappear() {
    Key_SetEventCallback(nullptr, nullptr);
}

void SysStateToastPage::onViewDidUnload() {
    Model.Deinit();
    View.Delete();
}

void SysStateToastPage::KeyEventCallBack(KeyEvtInfo *pstEvtInfo) {
    if (!Key_PageCheckInfo(pstEvtInfo)) {
        return;
    }
    SysStateToastPage *self = static_cast<SysStateToastPage *>(pstEvtInfo->pcUserDate);
    const SysStateBottomBar &b = self->View.ui.bottom;
    /* A hidden button takes no key. */
    PageKeys_Send(pstEvtInfo, {b.confirm_obj, b.next_obj, b.prev_obj, b.back_obj}, &self->m_u32PressTick);
}

void SysStateToastPage::onEvent(lv_event_t *e) {
    if (lv_event_get_code(e) != LV_EVENT_SHORT_CLICKED) {
        return;
    }
    static_cast<SysStateToastPage *>(lv_event_get_user_data(e))->OnClick(lv_event_get_target(e));
}

void SysStateToastPage::OnClick(lv_obj_t *obj) {
    if (Manager == nullptr || m_bLeaving) {
        return;
    }
    if (obj == View.ui.bottom.back_obj) {
        LOG_INFO("back\n");
        m_bLeaving = true;
        Manager->Pop();
    } else if (obj == View.ui.bottom.confirm_obj) {
        if (m_u8Type == TYPE_DIGICAM_REAR || m_u8Type == TYPE_DIGICAM_INSIDE) {
            m_bLeaving = true;
            Manager->Pop();
        } else if (m_u8Type == TYPE_FORMAT_ONTIME) {
            static const uint8_t s_u8Arg = 1;
            PageBase::Stash_t stStash = {const_cast<uint8_t *>(&s_u8Arg), 1};
            if (Manager->Push(kResetPage, &stStash) == nullptr) {
                LOG_WARN("page [%s] is not installed\n", kResetPage);
            }
        }
    }
}

/* A camera that comes back (status 3) closes its error page. The inside page follows the inside
 * camera's own notices too. */
void SysStateToastPage::OnStatusNotice(const SystemStatusNotice &stNotice) {
    const SystemStatusInfo &s = stNotice.stInfo;
    bool bRearNotice = stNotice.eType == SYS_STATUS_DIGICAM_REAR;
    bool bInsideNotice = stNotice.eType == SYS_STATUS_DIGICAM_INSIDE;
    int32_t s32Status = 0;
    if (m_u8Type == TYPE_DIGICAM_REAR && bRearNotice) {
        s32Status = s.iDigiCamRearStatus;
        View.RefreshDigiCamErrViewPage(1, s32Status);
    } else if (m_u8Type == TYPE_DIGICAM_INSIDE && (bRearNotice || bInsideNotice)) {
        s32Status = s.iDigiCamInsideStatus;
        View.RefreshDigiCamErrViewPage(2, s32Status);
    } else {
        return;
    }
    if (s32Status == 3 && Manager != nullptr && !m_bLeaving) {
        m_bLeaving = true;
        Manager->Pop();
    }
}

} // namespace Page
