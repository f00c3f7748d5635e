/* The home page's model: the account "HomeModel" and the requests the page makes through it. */
#ifndef HOME_MODEL_H
#define HOME_MODEL_H

#include <stdint.h>

#include "DataProc.h"
#include "PageAccount.h"
#include "StatusBar.h"

namespace Page {

class Home;

/* Status, settings, tips and the status bar come with PageAccount. */
class HomeModel : public PageAccount {
  public:
    /* The account of the system state supervision (the screen-saver request goes there). */
    static constexpr const char *kSysStateCheck = "SysStateCheck";

    /* Creates "HomeModel", subscribes and asks the settings store for the page's seven items. */
    int Init(Home *pstPage);
    void Deinit();

    /* The date and time in the settings' format, sent to the status bar's title. */
    int RefershRTCInfo();
    /* Control item to the recorder (waits for its answer). */
    int CtrlGeneralCtrlItem(int32_t eElem, const char *pcValue);
    /* Asks the recorder for the listed settings items. */
    int QueryGeneralSeting(const int32_t *peElemList, int32_t s32Num);
    using PageAccount::QueryGeneralSeting;
    int QuerySystemRearEnableStatus();
    int QuerySystemInsideEnableStatus();
    int CtrlEnterScreenWallpaper(int32_t s32State);

    /* The last system status published to the page. */
    SystemStatusInfo m_stStatus = {};

  private:
    static int onEvent(Account *account, Account::EventParam *param);
    Home *m_pstPage = nullptr;
};

} // namespace Page

#endif /* HOME_MODEL_H */
