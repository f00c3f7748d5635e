/*
 * The installation guide, shown on first use and after a parameter reset. It draws no step
 * itself: for each step it pushes the settings page that does the work (language, date and
 * time, phone app) with a one-byte argument telling that page it runs inside the guide; those
 * pages move the step on (SwitchGuideStep) when the user confirms. The last step is the closing
 * panel, whose confirm counts the finished guide and hands over to the home page.
 * Installed as "InstallGuide", pushed as "Pages/InstallGuide".
 */
#ifndef INSTALL_GUIDE_H
#define INSTALL_GUIDE_H

#include <stdint.h>

#include "InstallGuideModel.h"
#include "InstallGuideView.h"
#include "PageManager.h"
#include "key.h"

namespace Page {

class InstallGuide : public PageBase {
  public:
    static constexpr const char *kHomePage = "Pages/Home";
    static constexpr const char *kSysSetPage = "Pages/SysSetingSysSet";
    static constexpr const char *kMorePage = "Pages/SysSetingMore";

    InstallGuide();
    ~InstallGuide() override;

    void onViewLoad() override;
    void onViewDidLoad() override;
    void onViewWillAppear() override;
    void onViewDidAppear() override;
    void onViewWillDisappear() override;
    void onViewDidUnload() override;

    static void KeyEventCallBack(KeyEvtInfo *pstEvtInfo);

    /* What the page does for the current step when it is about to show. */
    int EnterStep();
    /* Short clicks of the two icons. */
    void BackClick();
    void ConfirmClick();

    InstallGuideView View;
    InstallGuideModel Model;

    /* The settings page the step timer is pushing, its argument and the timer (tests read them). */
    const char *m_pcPushPage = nullptr;
    uint8_t m_u8PushArg = 0;
    lv_timer_t *m_pstPushTimer = nullptr;

  private:
    static void onEvent(lv_event_t *e);
    /* Starts the repeating timer that pushes pcPage with u8Arg. 0, or -1 if it cannot be made. */
    int StartPushTimer(const char *pcPage, uint8_t u8Arg, uint32_t u32Period);
    void PushTimerTick();
    void StopPushTimer();
    /* Pulls the status record, sets bInGuide and writes it back. */
    void SetInGuide(bool bInGuide);

    uint32_t m_u32PressTick = 0;
};

} // namespace Page

#endif /* INSTALL_GUIDE_H */
