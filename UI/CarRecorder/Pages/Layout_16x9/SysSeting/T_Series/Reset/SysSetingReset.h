/*
 * The reset and format page: restores factory settings and formats the storage card. Installed
 * as "SysSetingReset", pushed as "Pages/SysSetingReset" from the settings home.
 *
 * Main list -> reset ask -> (confirm) waiting for the recorder -> reset done.
 * Main list -> format ask -> (confirm) formatting -> success (back to the main list after 2 s) or
 * failure (stays until back). Back from any other screen returns to the main list, except while
 * formatting, when it is refused.
 */
#ifndef SYS_SETING_RESET_H
#define SYS_SETING_RESET_H

#include <stdint.h>

#include "PageManager.h"
#include "SysSetingResetModel.h"
#include "SysSetingResetView.h"
#include "key.h"

namespace Page {

class SysSetingReset : public PageBase {
  public:
    /* Item ids of the rows (one numbering with the other settings pages). */
    static constexpr int32_t kItemFormatTfCard = 194;
    static constexpr int32_t kItemFormatEmmc = 195;
    static constexpr int32_t kItemReset = 196;
    static constexpr uint8_t kArgFormat = 1; /* push argument: open on the format question */

    static constexpr uint32_t kResetCheckPeriod = 200;   /* ms */
    static constexpr uint32_t kFormatCheckPeriod = 500;  /* ms */
    static constexpr uint32_t kFormatWaitLimit = 180001; /* ms: no answer means failure */
    static constexpr uint32_t kReturnPeriod = 2000;      /* ms on the success page */
    static constexpr uint32_t kConfirmIgnoreTime = 300;  /* ms after a screen appears */
    static constexpr uint32_t kResetWaitLimit = 60000;   /* ms: no reset result means failure */

    enum class Screen { kMain, kResetAsk, kResetDone, kFormatAsk, kFormating, kFormatSuccess, kFormatFail };

    SysSetingReset();
    ~SysSetingReset() override;

    void onViewLoad() override;
    void onViewWillAppear() override;
    void onViewDidAppear() override;
    void onViewWillDisappear() override;
    void onViewDidUnload() override;

    static void KeyEventCallBack(KeyEvtInfo *pstEvtInfo);

    void CreateMainPageHandle(int32_t s32Focus);
    void CreateFormatAskPageHandle(int32_t s32Type);
    void CreateResetAskPageHandle();
    void MainPageShortClickEventHandle(lv_obj_t *pstTarget);
    void ResetAskPageShortClickEventHandle(lv_obj_t *pstTarget);
    void FormatAskShortClickEventHandle(lv_obj_t *pstTarget);
    void WaitFormatStatusHandle();
    void WaitResetStatusHandle();
    void onTimerUpdate();
    void PageBackHandle();
    void RefershStatusbarCommHandle(int32_t s32Pos);

    /* State, read by the page's tests. */
    SysSetingResetView View;
    SysSetingResetModel Model;
    Screen m_eScreen = Screen::kMain;
    int32_t m_s32FormatType = 0;
    uint32_t m_u32WaitCount = 0;
    lv_timer_t *m_pstCheckTimer = nullptr;
    lv_timer_t *m_pstReturnTimer = nullptr;
    /* Where focus sits on the main list (restored on return). */
    int32_t m_s32CurPos = 0;
    uint32_t m_u32ResetStartTick = 0;

  private:
    void EnterQuestion(Screen eScreen);
    static void onEvent(lv_event_t *e);
    void PageFocusEventHandle(lv_obj_t *pstTarget);
    void PageDeFocusEventHandle(lv_obj_t *pstTarget);
    void AddBtnsToGroup();
    void RemoveBtnsFromeGroup();
    void StartCheckTimer(uint32_t u32Period);
    void EndFormatWait();
    static int32_t RowOfItem(int32_t s32Id);
    int32_t RowOf(lv_obj_t *pstTarget) const;

    uint32_t m_u32PressTick = 0;
    uint32_t m_u32IgnoreConfirmKeyTime = 0;
    char m_szFocus[16] = "";
};

} // namespace Page

#endif /* SYS_SETING_RESET_H */
