/*
 * The player: plays the chosen clip (in the recorder's video layer below the transparent page) or
 * shows the chosen photo, steps through the files of the group and deletes them. OK plays and
 * pauses a clip; while nothing plays NEXT steps to the next file (past the last comes the first)
 * and PREV asks whether to delete the file (with its related clip); BACK leaves. A thread checks
 * the player every 50 ms and carries out the requested switches and play/pause; the page's timer
 * follows the player state on screen. Installed as "AlbumPlayer", pushed as "Pages/AlbumPlayer"
 * with the file's path as the stash.
 */
#ifndef ALBUM_PLAYER_H
#define ALBUM_PLAYER_H

#include <stdint.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "AlbumPlayerModel.h"
#include "AlbumPlayerView.h"
#include "PageManager.h"
#include "key.h"

namespace Page {

class AlbumPlayer : public PageBase {
  public:
    static constexpr uint32_t kTimerPeriod = 50; /* ms */
    static constexpr uint32_t kCheckPeriod = 50; /* ms between the play checks */

    AlbumPlayer();
    ~AlbumPlayer() override;

    void onViewLoad() override;
    void onViewDidLoad() override;
    void onViewWillAppear() override;
    void onViewDidAppear() override;
    void onViewWillDisappear() override;
    void onViewDidUnload() override;

    /*
     * Lets go of the recorder's player at once: the play-check thread ends, playback stops, the
     * player is released, the page is no longer busy and the screen may dim again. For system
     * events that must take the screen from a playing album (the page stays until it is popped).
     * Safe to call more than once; LVGL thread.
     */
    void ReleasePlayer();
    /* The player page on screen now, or null (LVGL thread). */
    static AlbumPlayer *Current();

    static void KeyEventCallBack(KeyEvtInfo *pstEvtInfo);
    void onTimer();

    /* Index step with wrap-around; the new index. */
    uint32_t PlayerUpdatePlayIndex(int32_t s32Step);
    /* Asks the check thread to play the file at the current index; false while one is pending. */
    bool RequestSwitch();
    void RequestPlayPause();

    /* State read by the page's tests (LVGL thread). */
    AlbumPlayerView View;
    AlbumPlayerModel Model;
    std::vector<VYX_UI_Album_FileEntry_S> CopyFiles();
    uint32_t CurIndex();
    int32_t PlayerState() const { return m_ePlayerState; }
    bool PageBusy() const { return m_bBusy; }
    uint32_t DelCount() const { return m_stDelSt.ulDelCnt; }
    uint32_t DelPending() const { return m_stDelSt.ulPending; }
    uint32_t PlayedSeconds() const { return m_u32PlayedMs / 1000; }
    uint32_t Duration();
    bool DelPageShown() const { return View.ui.del_page != nullptr; }

  private:
    struct DelState {
        uint32_t ulDelCnt = 0;  /* files deleted */
        uint32_t ulPending = 0; /* delete requests without their answer */
        bool bAnyFailed = false;
    };

    static void onEvent(lv_event_t *e);
    void onShortClick(lv_obj_t *obj);
    void AttachEvent();
    void PlayCheck_Thread();
    int PlayerPlayEndHandle();
    int PlayerPlayPauseCtrl(int32_t eState);
    /* Plays one file (check thread); 0 or -1. */
    int PlayerPlayFile(const VYX_UI_Album_FileEntry_S &stEntry);
    int PlayerPlayJpgFile(const VYX_UI_Album_FileEntry_S &stEntry);
    void PlayerRefershUiProgress(uint32_t u32ElapsedMs);
    void PlayerRefershStatusBar();
    void FollowPlayerState();
    void SetNaviForPlaying(bool bPlaying);
    uint32_t GetMp4FileDurationByName(const char *pcName) const;

    /* Deleting. */
    void OpenDelPage();
    void CloseDelPage();
    void DelFilesHandler();
    static void DelFilesCbFun(const char *pcFileName, void *pUserData);
    /* Takes a deleted file out of the list; false when it is not in it. */
    bool DelFilesFromListHanlder(const char *pcFileName);
    void TakeDelResults();

    void StartCheckThread();
    void StopCheckThread();

    lv_timer_t *m_pstTimer = nullptr;
    uint32_t m_u32PressTick = 0;
    uint32_t m_u32LastTick = 0;

    /* Guarded by m_stLock (the page and the check thread). */
    std::mutex m_stLock;
    std::vector<VYX_UI_Album_FileEntry_S> m_astFiles;
    uint32_t m_ulCurIndex = 0;
    bool m_bSwitchReq = false;
    bool m_bPlayPauseReq = false;
    bool m_bPlayEnd = false;
    uint32_t m_u32SwitchTries = 0;
    bool m_bCurIsClip = false;
    uint32_t m_ulDuration = 0; /* s */
    bool m_bUiDirty = false;   /* a new file: status bar, photo, progress */
    std::string m_strPhoto;    /* the bitmap to show ("" none) */

    std::thread m_stPlayCheckTid;
    std::atomic<bool> m_bCheckRun{false};
    std::atomic<int32_t> m_ePlayerState{0};
    bool m_bBusy = false;
    bool m_bReleased = true;
    bool m_bLeaveReq = false;
    uint32_t m_u32PlayedMs = 0;
    VYX_UI_Album_CatListTable_S m_stCatTable = {nullptr, 0};

    /* Deletes: the results come on a receive thread. */
    DelState m_stDelSt;
    std::mutex m_stDelLock;
    std::vector<std::string> m_astDelResults;
};

} // namespace Page

#endif /* ALBUM_PLAYER_H */
