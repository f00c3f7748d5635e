#include "AlbumHome.h"

#include <stdio.h>
#include <string.h>

#include "log.h"
#include "lv_label_ext_func.h"

namespace Page {

namespace {

/* Tile position -> category: recordings, emergency clips, photos. */
const int32_t s_as32TileCategory[AlbumHomeView::kTileNum] = {ALBUM_CATEGORY_REC, ALBUM_CATEGORY_EMR,
                                                             ALBUM_CATEGORY_PHOTO};

} // namespace

AlbumHome::AlbumHome() = default;

AlbumHome::~AlbumHome() {
    if (m_pstTimer != nullptr) {
        lv_timer_del(m_pstTimer);
    }
}

void AlbumHome::onViewLoad() {
    Model.Init();
    View.Create(root, onEvent, this);
}

void AlbumHome::onViewDidLoad() {
    /* The background scan keeps the thumbnails of both cards warm from now on (started once). */
    VYX_UI_ALBUM_LoadThumbTask();
}

void AlbumHome::onViewWillAppear() {
    lv_obj_clear_flag(root, LV_OBJ_FLAG_HIDDEN);
    const char *pcPrev = Manager != nullptr ? Manager->GetPagePrevName() : nullptr;
    if (pcPrev != nullptr && strcmp(pcPrev, "Pages/Home") == 0) {
        m_u32Focus = 0;
    }
    StatusBarMsg stMsg;
    memset(&stMsg, 0, sizeof stMsg);
    stMsg.eCmd = STATUSBAR_CMD_TITLE_CENTER;
    Model.CtrlStatusBarItem(&stMsg);
    StatusBar_ShowType(STATUSBAR_SHOW_REC_TITLE);
    FocusTile(m_u32Focus);
    m_pstTimer = lv_timer_create(
        [](lv_timer_t *t) { static_cast<AlbumHome *>(t->user_data)->onTimerUpdate(); }, kTimerPeriod, this);
}

void AlbumHome::onViewDidAppear() {
    AttachEvent();
    FocusTile(m_u32Focus); /* the title again: the page that pushed this one may have written its own */
}

void AlbumHome::AttachEvent() {
    Key_SetEventCallback(KeyEventCallBack, this);
}

void AlbumHome::onViewWillDisappear() {
    lv_obj_add_flag(root, LV_OBJ_FLAG_HIDDEN); /* a page on top may be see-through */
    Key_SetEventCallback(nullptr, nullptr);
    if (m_pstTimer != nullptr) {
        lv_timer_del(m_pstTimer);
        m_pstTimer = nullptr;
    }
}

void AlbumHome::onViewDidUnload() {
    Model.Deinit();
    View.Delete();
}

void AlbumHome::FocusTile(uint32_t u32Index) {
    if (u32Index >= AlbumHomeView::kTileNum) {
        return;
    }
    m_u32Focus = u32Index;
    View.SetFocus(u32Index);
    char szAlbum[64] = "";
    lv_label_get_text_tr("LANG_RES_ID_ALBUM", szAlbum, sizeof szAlbum);
    char szTitle[96];
    snprintf(szTitle, sizeof szTitle, "%s(%u/%u)", szAlbum, (unsigned)(u32Index + 1),
             (unsigned)AlbumHomeView::kTileNum);
    Model.SetStatusBarTitle(szTitle, nullptr, nullptr);
}

void AlbumHome::onTimerUpdate() {
    if (m_bLeaving && lv_tick_elaps(m_u32LeaveTick) > kLeaveTimeout) {
        LOG_INFO("\33[0;32;32mWait rec start timeout\n\33[m");
        m_bLeaving = false;
    }
}

void AlbumHome::onEvent(lv_event_t *e) {
    AlbumHome *self = static_cast<AlbumHome *>(lv_event_get_user_data(e));
    if (lv_event_get_code(e) == LV_EVENT_SHORT_CLICKED) {
        LOG_INFO("========LV_EVENT_SHORT_CLICKED========\n");
        self->OnShortClick(lv_event_get_target(e));
    }
}

void AlbumHome::OnShortClick(lv_obj_t *obj) {
    if (m_bLeaving) {
        LOG_INFO("Busy now\n");
        return;
    }
    if (obj == View.ui.navi.back) {
        if (Model.CtrlGeneralCtrlItem(CTRL_ELEM_PLAYBACKMODE, "exit") != 0) {
            LOG_ERROR("CtrlGeneralCtrlItem failed\n");
            return;
        }
        m_bLeaving = true;
        m_u32LeaveTick = lv_tick_get();
        return;
    }
    if (obj == View.ui.navi.prev) {
        FocusTile((m_u32Focus + AlbumHomeView::kTileNum - 1) % AlbumHomeView::kTileNum);
        return;
    }
    if (obj == View.ui.navi.next) {
        FocusTile((m_u32Focus + 1) % AlbumHomeView::kTileNum);
        return;
    }
    if (obj == View.ui.navi.ok) {
        OpenFocusedTile();
        return;
    }
    for (uint32_t i = 0; i < AlbumHomeView::kTileNum; ++i) {
        if (obj == View.ui.tile[i]) {
            FocusTile(i);
            OpenFocusedTile();
            return;
        }
    }
}

void AlbumHome::OpenFocusedTile() {
    int32_t eCategory = s_as32TileCategory[m_u32Focus];
    if (Model.FileCount(eCategory) == 0) {
        Model.ShowTips("LANG_RES_ID_NO_PLAYBACK_FILE");
        return;
    }
    Album_Session().eCategory = eCategory;
    if (Manager != nullptr) {
        Manager->Push(kFileListPage);
    }
}

void AlbumHome::KeyEventCallBack(KeyEvtInfo *pstEvtInfo) {
    if (!Key_PageCheckInfo(pstEvtInfo)) {
        return;
    }
    AlbumHome *self = static_cast<AlbumHome *>(pstEvtInfo->pcUserDate);
    lv_obj_t *pstTarget = self->View.ui.navi.ForKey(pstEvtInfo->keycode);
    if (pstTarget != nullptr) {
        Key_PageSendEvents(pstTarget, pstEvtInfo->keyvalue, &self->m_u32PressTick);
    }
}

} // namespace Page
