/* The parking event toast's model: the account "ParkingEvtToastModel" and the page's requests. */
#ifndef PARKING_EVT_TOAST_MODEL_H
#define PARKING_EVT_TOAST_MODEL_H

#include "PageAccount.h"

namespace Page {

class ParkingEvtToastModel {
  public:
    /* Creates "ParkingEvtToastModel", subscribed to "GeneralSeting", "GeneralCtrl",
     * "SystemStatus", "StatusBar" and "InfoTips". */
    int Init();
    void Deinit();

    /* Saves "parking_collisioncnt" = 0 / "parking_times" = 0. */
    int ResetParkingCollisionCnt();
    int ResetParkingTimes();
    int QueryGeneralSeting(GeneralSetingInfo *pstInfo);
    int QuerySystemStatus(SystemStatusInfo *pstInfo);
    /* Control item "ctrl_playbackmode" with "enter", waiting for the recorder's answer. */
    int CtrlEnterPlayBackMode();
    /* The same with "exit", without waiting. */
    int CtrlExitPlayBackMode();
    int CtrlStatusBarTitleIsNull();
    int ShowTips(const char *pcLangId);

    PageAccount Account;
};

} // namespace Page

#endif /* PARKING_EVT_TOAST_MODEL_H */
