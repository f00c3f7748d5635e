/* The home page's model: the account "HomeModel" and the requests the page makes through it. */
#ifndef HOME_MODEL_H
#define HOME_MODEL_H

#include <stdint.h>

#include "DataProc.h"
#include "StatusBar.h"

namespace Page {

class Home;

class HomeModel {
  public:
    /* The account of the system state supervision (the screen-saver request goes there). */
    static constexpr const char *kSysStateCheck = "SysStateCheck";

    /* Creates "HomeModel", subscribes and asks the settings store for the page's seven items. */
    int Init(Home *pstPage);
    void Deinit();

    /* The date and time in the settings' format, sent to the status bar's title. */
    int RefershRTCInfo();
    int ShowTips(const char *pcLangId);
    int CtrlGeneralCtrlItem(int32_t eElem, const char *pcValue);
    int CtrlGeneralSetingItem(int32_t eElem, int32_t s32Value);
    int QueryGeneralSeting(const int32_t *peElemList, int32_t s32Num);
    int QueryGeneralSeting(GeneralSetingInfo *pstInfo);
    int QuerySystemStatus(SystemStatusInfo *pstInfo);
    int QuerySystemRearEnableStatus();
    int QuerySystemInsideEnableStatus();
    int CtrlStatusBarItem(const StatusBarMsg *pstMsg);
    int CtrlEnterScreenWallpaper(int32_t s32State);

    /* The last system status published to the page. */
    SystemStatusInfo m_stStatus = {};
    Account *m_pstAccount = nullptr;

  private:
    static int onEvent(Account *account, Account::EventParam *param);
    int CheckAccount() const;
    Home *m_pstPage = nullptr;
};

} // namespace Page

#endif /* HOME_MODEL_H */
