/*
 * The device-link page, pushed as "Pages/SysSetingKovar": pairs this recorder with a second
 * camera. Linked: the camera's name with the rows to unpair or go back. Not linked: OK starts a
 * pairing; the page waits up to a minute for the recorder's result (a count-down for the first
 * 20 s until the cameras see each other) and shows success (back to the main screen after 3 s)
 * or failure. Back during the pairing asks whether to stop it.
 */
#ifndef SYS_SETING_KOVAR_H
#define SYS_SETING_KOVAR_H

#include "SysSetingKovarModel.h"
#include "SysSetingKovarView.h"

namespace Page {

class SysSetingKovar : public SysSetingPage {
  public:
    static constexpr uint32_t kBindPeriod = 1000;     /* ms, the pairing timer */
    static constexpr uint32_t kBindWaitLimit = 60001; /* ms: no result means failure */
    static constexpr uint32_t kCountDownMs = 20000;
    static constexpr uint32_t kReturnPeriod = 3000; /* ms on the success screen */

    enum class Screen { kMain, kUnbindAsk, kBinding, kStopAsk, kSuccess, kFail };

    SysSetingKovar();
    static SetMenu *RootMenu();

    void onViewLoad() override;
    void onViewDidUnload() override;

    void CreateMainPageHandle();
    void CreateBindingPageHandle();
    void WaitBindStatusHandle();

    SysSetingKovarModel m_stModel;
    SysSetingKovarView m_stView;
    Screen m_eScreen = Screen::kMain;
    uint32_t m_u32Ticks = 0;
    lv_timer_t *m_pstBindTimer = nullptr;
    lv_timer_t *m_pstReturnTimer = nullptr;

  protected:
    int OptionChosen(int32_t s32ItemId) override;
    bool OpenScreen(SetMenu *pstMenu) override;
    bool ScreenBack() override;
    void ScreenClick(lv_obj_t *pstTarget) override;
    bool ScreenKey(uint32_t u32Code, uint32_t u32Value) override;
    void AddBtnsToGroup() override;

  private:
    void StartBinding();
    void StopBinding();
    void EndBinding(bool bSuccess);
    void ShowNavi(bool bBack, bool bMove, bool bConfirm);
    char m_szDevText[96] = "";
    char m_szCountDown[128] = "";
};

} // namespace Page

#endif /* SYS_SETING_KOVAR_H */
