/*
 * The home page: shown over the live camera picture (the page is transparent), with the four
 * bottom buttons (album, settings, microphone, camera switch or power), the event-recording
 * progress bar and the warning pages of the cameras, the device link, Wi-Fi and high
 * temperature. Installed as "Home", pushed as "Pages/Home".
 */
#ifndef HOME_H
#define HOME_H

#include <stdint.h>

#include "HomeModel.h"
#include "HomeView.h"
#include "PageManager.h"
#include "key.h"

namespace Page {

class Home : public PageBase {
  public:
    /* The pages the buttons lead to. */
    static constexpr const char *kSettingsPage = "Pages/SysSetingHome";
    static constexpr const char *kAlbumPage = "Pages/AlbumHome";

    static constexpr uint32_t kTimerPeriod = 50;      /* ms */
    static constexpr uint32_t kAlbumMinAppear = 2000; /* ms after appearing before the album opens */
    static constexpr uint32_t kWaitLimit = 9999;      /* ms: recording stop, playback mode */
    static constexpr uint32_t kSwitchDelay = 1000;    /* ms before warnings close after a switch */
    static constexpr uint32_t kWifiTimeout = 30000;   /* ms */

    /* The event-recording progress. */
    struct Progress {
        bool bRunning;
        uint32_t u32Count; /* 50 ms ticks so far */
        uint32_t u32Total; /* seconds */
        uint32_t u32Left;  /* seconds */
        uint32_t u32Half;  /* half the duration, seconds */
        char szTextId[64];
    };

    Home();
    ~Home() override;

    void onViewLoad() override;
    void onViewDidLoad() override;
    void onViewWillAppear() override;
    void onViewDidAppear() override;
    void onViewWillDisappear() override;
    void onViewDidUnload() override;

    /* Called by the model for every system-status notice published to it. */
    void OnStatusNotice(const SystemStatusNotice &stNotice);
    void StatusChangeCallBack(int32_t eType);
    static void KeyEventCallBack(KeyEvtInfo *pstEvtInfo);

    void SwitchOnShortEventEventHandle();
    void WifiOnShortEventEventHandle();
    void KovarConnectFailEventHandle();
    void KovarHighTempEventHandle();
    void SwitchCamDisplayHandle(uint32_t u32CamId);
    void CheckIsRearEnable();
    void CheckIsInsideEnable();
    void CheckRecStopStatus();
    void RefreshSwitchBtnIcon();
    void RefreshMicBtnIcon();
    void RefreshDigiCamErrViewPage();
    void RefreshDigiCamInsideErrViewPage();
    /* Starts the progress bar for an event recording of s32Duration seconds. */
    void StartProgress(int32_t s32Duration, bool bEmergency);
    /* One 50 ms step of the progress bar. */
    void ProgressTick();
    /* One run of the 50 ms page timer. */
    void TimerTick();

    /* State, read by the page's tests. */
    HomeView View;
    HomeModel Model;
    uint32_t m_u32CamId = 0;
    bool m_bRearPresent = false;
    bool m_bInsidePresent = false;
    bool m_bKovarPresent = false;
    bool m_bKovarMainDev = false;
    bool m_bMicOn = true;
    bool m_bVisible = false;
    bool m_bWaiting = false;
    const char *m_pcTargetPage = nullptr;
    uint32_t m_u32WaitTick = 0;
    uint32_t m_u32LastAppearTick = 0;
    bool m_bBackFromAlbum = true; /* the first appearance counts as one */
    bool m_bWifiStarted = false;
    Progress m_stProgress = {};

  private:
    static void onEvent(lv_event_t *e);
    void OnClick(lv_obj_t *obj);
    void PowerClick();
    void AlbumClick();
    void MicClick();
    void SettingsClick();
    bool AlbumDisabled() const;
    bool FrontFailed() const { return Model.m_stStatus.bSensorState != 0; }

    lv_timer_t *m_pstTimer = nullptr;
    lv_timer_t *m_pstWifiTimer = nullptr;
    uint32_t m_u32PressTick = 0;
    bool m_bSwitchReq = false;
    uint32_t m_u32SwitchTick = 0;
    bool m_bSwitchTickSet = false;
    bool m_bCheckRear = false;
    bool m_bCheckInside = false;
    bool m_bScreenOff = false; /* what the power key asks next time: the screen is dormant */
};

} // namespace Page

#endif /* HOME_H */
