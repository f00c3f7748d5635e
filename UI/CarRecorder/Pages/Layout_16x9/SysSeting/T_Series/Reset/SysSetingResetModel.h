/* The reset and format page's model: the account "SysSetingResetModel", the control requests the
 * page sends and the system status it watches while the recorder formats or resets. */
#ifndef SYS_SETING_RESET_MODEL_H
#define SYS_SETING_RESET_MODEL_H

#include <stdint.h>

#include "DataProc.h"
#include "PageAccount.h"
#include "StatusBar.h"

namespace Page {

class SysSetingResetModel : public PageAccount {
  public:
    /* Bytes of the status record that this page owns (reserved by the recorder's status items,
     * written only by the user interface): the recorder is formatting at the page's request, and
     * a factory reset was asked for and the recorder has not reported its result yet. */
    static constexpr uint32_t kFormatingByte = 26;
    static constexpr uint32_t kResetBusyByte = 12;

    /* Creates "SysSetingResetModel" and subscribes to the six accounts. */
    int Init();
    void Deinit();

    int GeneralCtrlComm(int32_t eElem, const char *pcValue);
    int LoadGeneralSetingData();
    int GetGeneralSetingInfo(GeneralSetingInfo *pstInfo);
    int GetSystemStatus(SystemStatusInfo *pstInfo);
    /* Sets one byte the page owns: pull, change, notify. */
    int SetStatusByte(uint32_t u32Offset, uint8_t u8Value);
    int CtrlStatusBarTitle(const char *pcTitle, const char *pcFocus);

    /* Set by the page while the formatting page waits; the result is read from the notices. */
    bool m_bFormating = false;
    bool m_bSuccess = false;
    bool m_bFailure = false;
    /* Set while a factory reset waits; a "failure" result marks m_bResetFailed. */
    bool m_bResetting = false;
    bool m_bResetFailed = false;
    SystemStatusInfo m_stStatus = {};

    /* What a status notice means for the page (the account's publish handler; tests call it). */
    int OnStatusNotice(const void *pvData, uint32_t u32Size);

  private:
    static int onEvent(Account *account, Account::EventParam *param);
};

} // namespace Page

#endif /* SYS_SETING_RESET_MODEL_H */
