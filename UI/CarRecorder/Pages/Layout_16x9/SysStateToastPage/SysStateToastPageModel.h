/* The system toast page's model: the account "SysStateToastPageModel" (subscribed to
 * "GeneralSeting", "GeneralCtrl", "SystemStatus", "StatusBar" and "InfoTips"), created with the
 * page and deleted with it. */
#ifndef SYS_STATE_TOAST_PAGE_MODEL_H
#define SYS_STATE_TOAST_PAGE_MODEL_H

#include <stdint.h>

#include "DataProc.h"
#include "PageAccount.h"

namespace Page {

class SysStateToastPage;

class SysStateToastPageModel : public PageAccount {
  public:
    int Init(SysStateToastPage *pstPage);
    void Deinit();

    /* Loads the listed items first, then pulls the settings. */
    int QueryGeneralSeting(GeneralSetingInfo *pstInfo, const int32_t *peItems, int32_t s32Num);
    using PageAccount::QueryGeneralSeting;
    /* The status bar's title becomes empty. */
    int CtrlStatusBarTitleIsNull();

    SystemStatusInfo m_stStatus = {};

  private:
    static int onEvent(Account *account, Account::EventParam *param);
    SysStateToastPage *m_pstPage = nullptr;
};

} // namespace Page

#endif /* SYS_STATE_TOAST_PAGE_MODEL_H */
