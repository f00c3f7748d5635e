/*
 * The album home: three tiles (recordings, emergency clips, photos). OK opens the focused
 * category in "Pages/AlbumFileList", PREV and NEXT move the focus, BACK leaves the album: the
 * recorder is sent back to recording and the home page returns once it records again. Installed
 * as "AlbumHome", pushed as "Pages/AlbumHome".
 */
#ifndef ALBUM_HOME_H
#define ALBUM_HOME_H

#include <stdint.h>

#include "AlbumHomeModel.h"
#include "AlbumHomeView.h"
#include "PageManager.h"
#include "key.h"

namespace Page {

class AlbumHome : public PageBase {
  public:
    static constexpr const char *kFileListPage = "Pages/AlbumFileList";
    static constexpr uint32_t kTimerPeriod = 50;    /* ms */
    static constexpr uint32_t kLeaveTimeout = 4999; /* ms to wait for recording after leaving */

    AlbumHome();
    ~AlbumHome() override;

    void onViewLoad() override;
    void onViewDidLoad() override;
    void onViewWillAppear() override;
    void onViewDidAppear() override;
    void onViewWillDisappear() override;
    void onViewDidUnload() override;

    static void KeyEventCallBack(KeyEvtInfo *pstEvtInfo);
    /* Moves the focus to a tile and shows "Album(n/3)" in the status bar. */
    void FocusTile(uint32_t u32Index);
    void onTimerUpdate();

    AlbumHomeView View;
    AlbumHomeModel Model;
    uint32_t m_u32Focus = 0;
    bool m_bLeaving = false; /* the recorder was asked to leave playback mode */
    uint32_t m_u32LeaveTick = 0;

  private:
    static void onEvent(lv_event_t *e);
    void OnShortClick(lv_obj_t *obj);
    void OpenFocusedTile();
    void AttachEvent();

    lv_timer_t *m_pstTimer = nullptr;
    uint32_t m_u32PressTick = 0;
};

} // namespace Page

#endif /* ALBUM_HOME_H */
