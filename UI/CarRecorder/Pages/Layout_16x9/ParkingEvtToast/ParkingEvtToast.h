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
    /* Whether the loader thread is running. */
    bool Loading() const { return m_bLoaderRunning.load(); }

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

    /* The loader thread and what it found (under m_mu). */
    pthread_t m_stTid = {};
    bool m_bThreadStarted = false;
    std::atomic<bool> m_bLoaderRunning{false};
    std::mutex m_mu;
    VYX_UI_Album_FileListTable_S m_stFileTable = {};

    bool m_bAlbumPushed = false;
    uint32_t m_u32PressTick = 0;
};

} // namespace Page

#endif /* PARKING_EVT_TOAST_H */
