#include "AlbumFileList.h"

#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <chrono>

#include "log.h"
#include "lv_label_ext_func.h"

namespace Page {

namespace {

const char *CategoryTitle(int32_t eCategory) {
    switch (eCategory) {
    case ALBUM_CATEGORY_EMR:
        return "LANG_RES_ID_ALBUM_EMR_TITLE";
    case ALBUM_CATEGORY_PHOTO:
        return "LANG_RES_ID_ALBUM_PHOTO_TITLE";
    default:
        return "LANG_RES_ID_ALBUM_REC_TITLE";
    }
}

} // namespace

AlbumFileList::AlbumFileList() = default;

AlbumFileList::~AlbumFileList() {
    StopThumbThread();
    if (m_pstTimer != nullptr) {
        lv_timer_del(m_pstTimer);
    }
}

void AlbumFileList::onViewLoad() {
    Model.Init();
    View.Create(root, onEvent, this);
    m_bInSub = false;
    m_u32MainFocus = 0;
    m_u32SubFocus = 0;
    m_bPopReq = false;
    /* The lists are asked for again: the player removes the list files when it leaves. */
    if (Model.ReloadInfo(Album_Session().eCategory) != 0) {
        Model.ShowTips("LANG_RES_ID_NO_PLAYBACK_FILE");
        m_bPopReq = true;
    }
    RefershMainListInfo();
}

void AlbumFileList::onViewDidLoad() {}

void AlbumFileList::onViewWillAppear() {
    lv_obj_clear_flag(root, LV_OBJ_FLAG_HIDDEN);
    StatusBar_ShowType(STATUSBAR_SHOW_REC_TITLE);
    if (m_bInSub) {
        RefershListAgainHandle();
    }
    ShowCounter();
    m_pstTimer = lv_timer_create([](lv_timer_t *t) { static_cast<AlbumFileList *>(t->user_data)->onTimer(); },
                                 kTimerPeriod, this);
    if (m_bInSub) {
        StartThumbThread();
    }
}

void AlbumFileList::onViewDidAppear() {
    AttachEvent();
}

void AlbumFileList::AttachEvent() {
    Key_SetEventCallback(KeyEventCallBack, this);
}

void AlbumFileList::onViewWillDisappear() {
    lv_obj_add_flag(root, LV_OBJ_FLAG_HIDDEN); /* a page on top may be see-through */
    Key_SetEventCallback(nullptr, nullptr);
    StopThumbThread();
    if (m_pstTimer != nullptr) {
        lv_timer_del(m_pstTimer);
        m_pstTimer = nullptr;
    }
}

void AlbumFileList::onViewDidUnload() {
    StopThumbThread();
    FreeThumbMem();
    Model.Deinit();
    View.Delete();
}

void AlbumFileList::RefershMainListInfo() {
    View.CreateMainPage(Model.g_stMainItemList, onEvent, this);
    if (m_u32MainFocus >= Model.g_stMainItemList.size()) {
        m_u32MainFocus = 0;
    }
    AlbumFileListView::FocusChild(View.ui.main_cont, m_u32MainFocus);
}

void AlbumFileList::ShowCounter() {
    char szTitle[64] = "";
    lv_label_get_text_tr(CategoryTitle(Model.g_eFileType), szTitle, sizeof szTitle);
    char szFocus[32] = "";
    if (m_bInSub) {
        snprintf(szFocus, sizeof szFocus, "%d/%d", (int)m_u32SubFocus + 1, (int)Model.g_stSubItemList.size());
    } else if (!Model.g_stMainItemList.empty()) {
        snprintf(szFocus, sizeof szFocus, "%d/%d", (int)m_u32MainFocus + 1,
                 (int)Model.g_stMainItemList.size());
    }
    Model.SetStatusBarTitle(szTitle, szFocus, nullptr);
}

void AlbumFileList::OpenSubPage(uint32_t u32Main) {
    LOG_INFO("Short click\n");
    StopThumbThread();
    if (Model.SetSubThumbNameInfo(u32Main) != 0 || Model.g_stSubItemList.empty()) {
        LOG_INFO("sub list is null!\n");
        return;
    }
    m_u32OpenedMain = u32Main;
    m_bInSub = true;
    m_u32SubFocus = 0;
    RefershSubListHandle();
    StartThumbThread();
}

/* The grid built anew from the sub items: the timer makes the item widgets. */
void AlbumFileList::RefershSubListHandle() {
    View.CreateSubPage();
    View.ShowSub(true);
    if (m_u32SubFocus >= Model.g_stSubItemList.size()) {
        m_u32SubFocus = Model.g_stSubItemList.empty() ? 0 : (uint32_t)Model.g_stSubItemList.size() - 1;
    }
    ShowCounter();
}

void AlbumFileList::FreeThumbMem() {
    Model.FreeSubItems();
    if (View.ui.sub_cont != nullptr) {
        View.CreateSubPage();
    }
}

void AlbumFileList::PageBackHandle() {
    LOG_INFO("PageBack\n");
    if (m_bInSub) {
        StopThumbThread();
        FreeThumbMem();
        m_bInSub = false;
        View.ShowSub(false);
        AlbumFileListView::FocusChild(View.ui.main_cont, m_u32MainFocus);
        ShowCounter();
        return;
    }
    if (Manager != nullptr) {
        Manager->Pop();
    }
}

void AlbumFileList::RefershListAgainHandle() {
    AlbumSession &stSession = Album_Session();
    if (stSession.u32Deleted == 0) {
        return;
    }
    stSession.u32Deleted = 0;
    Model.ShowTips("LANG_RES_ID_DEL_FILE_SUCCESS");
    /* The group is found again by its texts: groups before it may have gone. */
    AlbumMainItem stOpened = {};
    if (m_u32OpenedMain < Model.g_stMainItemList.size()) {
        stOpened = Model.g_stMainItemList[m_u32OpenedMain];
    }
    StopThumbThread();
    FreeThumbMem();
    if (Model.ReloadInfo(Model.g_eFileType) != 0) {
        LOG_INFO("file full go back to pop page\n");
        m_bInSub = false;
        m_bPopReq = true;
        return;
    }
    RefershMainListInfo();
    for (uint32_t i = 0; i < Model.g_stMainItemList.size(); ++i) {
        const AlbumMainItem &stItem = Model.g_stMainItemList[i];
        if (strcmp(stItem.szDate, stOpened.szDate) == 0 && strcmp(stItem.szStart, stOpened.szStart) == 0) {
            m_u32MainFocus = i;
            m_u32OpenedMain = i;
            uint32_t u32Focus = m_u32SubFocus;
            Model.SetSubThumbNameInfo(i);
            m_u32SubFocus = u32Focus;
            RefershSubListHandle();
            return;
        }
    }
    LOG_INFO("sub list is null!\n");
    m_bInSub = false;
    View.ShowSub(false);
    AlbumFileListView::FocusChild(View.ui.main_cont, m_u32MainFocus);
}

void AlbumFileList::onTimer() {
    if (m_bPopReq) {
        m_bPopReq = false;
        if (Manager != nullptr) {
            Manager->Pop();
        }
        return;
    }
    if (!m_bInSub) {
        return;
    }
    uint32_t u32Built = 0;
    uint32_t u32Index = 0;
    for (auto &pstItem : Model.g_stSubItemList) {
        AlbumSubItem &stItem = *pstItem;
        int32_t eState;
        char szPath[sizeof stItem.szThumbPath];
        {
            std::lock_guard<std::mutex> stGuard(stItem.lock);
            eState = stItem.eState;
            memcpy(szPath, stItem.szThumbPath, sizeof szPath);
        }
        if (eState == THUMB_STATE_CREATED && u32Built < kItemsPerTick) {
            View.CreateSubPageThumbItem(stItem, onEvent, this);
            if (u32Index == m_u32SubFocus) {
                AlbumFileListView::FocusChild(View.ui.sub_cont, m_u32SubFocus);
            }
            ++u32Built;
            std::lock_guard<std::mutex> stGuard(stItem.lock);
            stItem.eState = THUMB_STATE_LOAD;
        } else if (eState == THUMB_STATE_READY) {
            bool bShown = View.CreateSubPageThumbImg(stItem, szPath);
            std::lock_guard<std::mutex> stGuard(stItem.lock);
            stItem.eState = bShown ? THUMB_STATE_SHOWN : THUMB_STATE_NONE;
        }
        ++u32Index;
    }
}

bool AlbumFileList::CheckSubItemListFileAndGetPath(const AlbumSubItem &stItem, char *pcPath,
                                                   uint32_t u32Size) {
    const char *pcName = stItem.stEntry.szFileName;
    if ((!Album_IsClip(pcName) && !Album_IsPhoto(pcName)) ||
        VYX_UI_ALBUM_GetFilePathByRecNode(&stItem.stEntry, pcPath, u32Size) != 0 || pcPath[0] == '\0') {
        LOG_ERROR("Get file path failed\n");
        return false;
    }
    return true;
}

int AlbumFileList::GetFilesThumbHandler(const AlbumSubItem &stItem, char *pcThumb, uint32_t u32Size) {
    return VYX_UI_ALBUM_LoadThumbHandle(stItem.stEntry.szFileName, stItem.stEntry.u32StorIndex != 0, pcThumb,
                                        u32Size);
}

void AlbumFileList::AlbumSubThumb_Thread() {
    while (m_bThumbRun) {
        bool bWorked = false;
        for (auto &pstItem : Model.g_stSubItemList) {
            if (!m_bThumbRun) {
                break;
            }
            AlbumSubItem &stItem = *pstItem;
            {
                std::lock_guard<std::mutex> stGuard(stItem.lock);
                if (stItem.eState != THUMB_STATE_LOAD) {
                    continue;
                }
            }
            char szPath[512];
            char szThumb[256] = "";
            int32_t eNext = THUMB_STATE_NONE;
            if (CheckSubItemListFileAndGetPath(stItem, szPath, sizeof szPath)) {
                if (GetFilesThumbHandler(stItem, szThumb, sizeof szThumb) == 0) {
                    eNext = THUMB_STATE_READY;
                } else {
                    LOG_WARN("GetFilesThumbHandler is Fail\n");
                }
            }
            std::lock_guard<std::mutex> stGuard(stItem.lock);
            if (stItem.eState == THUMB_STATE_LOAD) {
                memcpy(stItem.szThumbPath, szThumb, sizeof stItem.szThumbPath);
                stItem.eState = eNext;
            }
            bWorked = true;
        }
        if (!bWorked) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kThreadPeriod));
        }
    }
    LOG_INFO("AlbumMainThumb_Thread exit\n");
}

void AlbumFileList::StartThumbThread() {
    if (m_stSubThumbTid.joinable()) {
        return;
    }
    m_bThumbRun = true;
    m_stSubThumbTid = std::thread([this] { AlbumSubThumb_Thread(); });
}

void AlbumFileList::StopThumbThread() {
    if (!m_stSubThumbTid.joinable()) {
        return;
    }
    LOG_INFO("\33[0;32;32mJoin m_stPriv.stSubThumbTid \n\33[m");
    m_bThumbRun = false;
    m_stSubThumbTid.join();
    LOG_INFO("\33[0;32;32mJoin m_stPriv.stSubThumbTid finish\n\33[m");
}

void AlbumFileList::MoveFocus(int32_t s32Step) {
    if (m_bInSub) {
        uint32_t u32Num = (uint32_t)Model.g_stSubItemList.size();
        if (u32Num == 0) {
            return;
        }
        m_u32SubFocus = (m_u32SubFocus + u32Num + (uint32_t)(s32Step % (int32_t)u32Num)) % u32Num;
        AlbumFileListView::FocusChild(View.ui.sub_cont, m_u32SubFocus);
    } else {
        uint32_t u32Num = (uint32_t)Model.g_stMainItemList.size();
        if (u32Num == 0) {
            return;
        }
        m_u32MainFocus = (m_u32MainFocus + u32Num + (uint32_t)(s32Step % (int32_t)u32Num)) % u32Num;
        AlbumFileListView::FocusChild(View.ui.main_cont, m_u32MainFocus);
    }
    ShowCounter();
}

void AlbumFileList::PlayFocused() {
    LOG_INFO("sub page Short click\n");
    if (m_u32SubFocus >= Model.g_stSubItemList.size()) {
        LOG_ERROR("pcFilePath is null\n");
        return;
    }
    const AlbumSubItem &stItem = *Model.g_stSubItemList[m_u32SubFocus];
    char szPath[256] = "";
    if (!CheckSubItemListFileAndGetPath(stItem, szPath, sizeof szPath)) {
        LOG_ERROR("pcFilePath is null\n");
        return;
    }
    AlbumSession &stSession = Album_Session();
    stSession.astFiles.clear();
    for (const auto &pstItem : Model.g_stSubItemList) {
        stSession.astFiles.push_back(pstItem->stEntry);
    }
    stSession.u32Deleted = 0;
    PageBase::Stash_t stStash = {szPath, (uint32_t)strlen(szPath) + 1};
    if (Manager != nullptr) {
        Manager->Push(kPlayerPage, &stStash);
    }
}

void AlbumFileList::onEvent(lv_event_t *e) {
    if (lv_event_get_code(e) != LV_EVENT_SHORT_CLICKED) {
        return;
    }
    AlbumFileList *self = static_cast<AlbumFileList *>(lv_event_get_user_data(e));
    self->onShortClick(lv_event_get_target(e));
}

void AlbumFileList::onShortClick(lv_obj_t *obj) {
    if (obj == View.ui.navi.back) {
        PageBackHandle();
    } else if (obj == View.ui.navi.prev) {
        MoveFocus(-1);
    } else if (obj == View.ui.navi.next) {
        MoveFocus(1);
    } else if (obj == View.ui.navi.ok) {
        if (m_bInSub) {
            PlayFocused();
        } else if (m_u32MainFocus < Model.g_stMainItemList.size()) {
            OpenSubPage(m_u32MainFocus);
        }
    } else if (lv_obj_get_parent(obj) == View.ui.main_cont) {
        m_u32MainFocus = lv_obj_get_index(obj);
        OpenSubPage(m_u32MainFocus);
    } else if (lv_obj_get_parent(obj) == View.ui.sub_cont) {
        m_u32SubFocus = lv_obj_get_index(obj);
        PlayFocused();
    }
}

void AlbumFileList::KeyEventCallBack(KeyEvtInfo *pstEvtInfo) {
    if (!Key_PageCheckInfo(pstEvtInfo)) {
        return;
    }
    AlbumFileList *self = static_cast<AlbumFileList *>(pstEvtInfo->pcUserDate);
    lv_obj_t *pstTarget = self->View.ui.navi.ForKey(pstEvtInfo->keycode);
    if (pstTarget != nullptr) {
        Key_PageSendEvents(pstTarget, pstEvtInfo->keyvalue, &self->m_u32PressTick);
    }
}

} // namespace Page
