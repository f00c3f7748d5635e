/* The system toast page's model: the account "SysStateToastPageModel" (subscribed to
 * "GeneralSeting", "GeneralCtrl", "SystemStatus", "StatusBar" and "InfoTips"), created with the
 * page and deleted with it. */
#ifndef SYS_STATE_TOAST_PAGE_MODEL_H
#define SYS_STATE_TOAST_PAGE_MODEL_H

#include <stdint.h>

#include "DataProc.h"

namespace Page {

class SysStateToastPage;

class SysStateToastPageModel {
  public:
    int Init(SysStateToastPage *pstPage);
    void Deinit();

    int QuerySystemStatus(SystemStatusInfo *pstInfo);
    /* Loads the listed items first when peItems is not null, then pulls the settings. */
    int QueryGeneralSeting(GeneralSetingInfo *pstInfo, const int32_t *peItems = nullptr, int32_t s32Num = 0);
    /* The status bar's title becomes empty. */
    int CtrlStatusBarTitleIsNull();

    SystemStatusInfo m_stStatus = {};
    Account *m_pstAccount = nullptr;

  private:
    static int onEvent(Account *account, Account::EventParam *param);
    SysStateToastPage *m_pstPage = nullptr;
};

} // namespace Page

#endif /* SYS_STATE_TOAST_PAGE_MODEL_H */
