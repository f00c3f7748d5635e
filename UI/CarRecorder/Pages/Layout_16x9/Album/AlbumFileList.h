/*
 * The file list: first the groups of the chosen category (an hour of recordings, or one event),
 * then the thumbnail grid of the opened group. OK opens a group or plays a file in
 * "Pages/AlbumPlayer", PREV and NEXT move the focus, BACK goes from the grid to the groups and
 * from the groups back to the album home. While the grid is shown a thread fetches the
 * thumbnails; the page's timer builds the items and puts the pictures in. Installed as
 * "AlbumFileList", pushed as "Pages/AlbumFileList".
 */
#ifndef ALBUM_FILE_LIST_H
#define ALBUM_FILE_LIST_H

#include <stdint.h>

#include <atomic>
#include <thread>

#include "AlbumFileListModel.h"
#include "AlbumFileListView.h"
#include "PageManager.h"
#include "key.h"

namespace Page {

class AlbumFileList : public PageBase {
  public:
    static constexpr const char *kPlayerPage = "Pages/AlbumPlayer";
    static constexpr uint32_t kTimerPeriod = 30;  /* ms */
    static constexpr uint32_t kItemsPerTick = 8;  /* grid items built per timer run */
    static constexpr uint32_t kThreadPeriod = 10; /* ms between passes of the thumbnail thread */

    AlbumFileList();
    ~AlbumFileList() override;

    void onViewLoad() override;
    void onViewDidLoad() override;
    void onViewWillAppear() override;
    void onViewDidAppear() override;
    void onViewWillDisappear() override;
    void onViewDidUnload() override;

    static void KeyEventCallBack(KeyEvtInfo *pstEvtInfo);
    void onTimer();
    /* Opens the grid of main item u32Main. */
    void OpenSubPage(uint32_t u32Main);
    /* BACK: grid -> groups, groups -> pop. */
    void PageBackHandle();
    /* After the player: the list read again, the grid or the groups shown as still fits. */
    void RefershListAgainHandle();
    /* Whole path of a sub item's file (".mp4" or ".jpg" only); false otherwise. */
    static bool CheckSubItemListFileAndGetPath(const AlbumSubItem &stItem, char *pcPath, uint32_t u32Size);
    /* The cached thumbnail of one file, asked of the recorder when missing. */
    static int GetFilesThumbHandler(const AlbumSubItem &stItem, char *pcThumb, uint32_t u32Size);

    AlbumFileListView View;
    AlbumFileListModel Model;
    bool m_bInSub = false;
    uint32_t m_u32MainFocus = 0;
    uint32_t m_u32SubFocus = 0;
    uint32_t m_u32OpenedMain = 0;
    bool m_bPopReq = false; /* nothing to show: the page leaves on its next timer run */

  private:
    static void onEvent(lv_event_t *e);
    void onShortClick(lv_obj_t *obj);
    void AttachEvent();
    void MoveFocus(int32_t s32Step);
    void RefershMainListInfo();
    void RefershSubListHandle();
    void ShowCounter();
    void StartThumbThread();
    void StopThumbThread();
    void AlbumSubThumb_Thread();
    void FreeThumbMem();
    void PlayFocused();

    lv_timer_t *m_pstTimer = nullptr;
    uint32_t m_u32PressTick = 0;
    std::thread m_stSubThumbTid;
    std::atomic<bool> m_bThumbRun{false};
};

} // namespace Page

#endif /* ALBUM_FILE_LIST_H */
