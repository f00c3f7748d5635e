/*
 * The parking event toast: after the car was parked and the g-sensor registered collisions, the
 * user is told so on return and offered the recorded event clips. The confirm button counts 8
 * seconds down; confirm switches the recorder to playback and opens the event file list, back,
 * previous or the end of the countdown dismiss the toast. Either way the recorder's parking
 * collision and parking event counters are cleared. The event list is loaded by a thread of the
 * page while it shows. Installed as "ParkingEvtToast", pushed as "Pages/ParkingEvtToast".
 */
#ifndef PARKING_EVT_TOAST_H
#define PARKING_EVT_TOAST_H

#include <pthread.h>
#include <stdint.h>

#include <atomic>
#include <memory>
#include <mutex>

#include "PageManager.h"
#include "ParkingEvtToastModel.h"
#include "ParkingEvtToastView.h"
#include "key.h"
#include "vyx_ui_album.h"

namespace Page {

class ParkingEvtToast : public PageBase {
  public:
    static constexpr const char *kFileListPage = "Pages/AlbumFileList";
    static constexpr uint32_t kCountdown = 8;      /* seconds */
    static constexpr uint32_t kTimerPeriod = 1000; /* ms */

    ParkingEvtToast();
    ~ParkingEvtToast() override;

    void onAttrConfig() override;
    void onViewLoad() override;
    void onViewDidLoad() override;
    void onViewWillAppear() override;
    void onViewDidAppear() override;
    void onViewWillDisappear() override;
    void onViewDidDisappear() override;
    void onViewDidUnload() override;

    static void KeyEventCallBack(KeyEvtInfo *pstEvtInfo);

    /* ParkingTipPageTimerHandle: one second of the countdown. */
    void TimerTick();
    /* PushPageStackPopPageHandle: clears both counters and pops the page. */
    void Dismiss();
    /* Short clicks. */
    void ConfirmClick();
    void BackClick();

    /* Event clips loaded so far (0 while loading or without clips). */
    uint32_t LoadedClipCount();
    /* Whether this page's loader is running. */
    bool Loading() const { return m_pstLoad != nullptr && m_pstLoad->bRunning.load(); }
    /* Loader threads of any toast still waiting for the recorder (diagnosis and tests). */
    static uint32_t LoadersRunning();

    ParkingEvtToastView View;
    ParkingEvtToastModel Model;

    /* State, read by the page's tests. */
    uint32_t m_u32Countdown = kCountdown;
    bool m_bEnterPlayback = false;
    bool m_bDismissed = false;
    lv_timer_t *m_pstTimer = nullptr;
    SystemStatusInfo m_stStatus = {};

  private:
    static void onEvent(lv_event_t *e);
    static void *LoadFile_Thread(void *pArg);
    void StartLoader();
    void JoinLoader();
    void ReleaseList();

    /* What one run of the loader finds. The thread holds it too: a toast that goes while the
     * recorder has not answered yet leaves the thread to finish on its own (the query waits up
     * to 10 s) instead of holding up the user interface. */
    struct LoadResult {
        std::mutex mu;
        VYX_UI_Album_FileListTable_S stTable = {}; /* under mu */
        std::atomic<bool> bRunning{false};
        ~LoadResult() { VYX_UI_Album_FreeTable(&stTable); }
    };
    std::shared_ptr<LoadResult> m_pstLoad;
    pthread_t m_stTid = {};
    bool m_bThreadStarted = false;

    bool m_bAlbumPushed = false;
    uint32_t m_u32PressTick = 0;
};

} // namespace Page

#endif /* PARKING_EVT_TOAST_H */
