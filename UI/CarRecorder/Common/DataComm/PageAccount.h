/*
 * The account a page model keeps on the data center, with the requests the system pages make
 * through it: status pull and write-back, settings pull, load and save, control items, the
 * status bar's commands and tips. Every request logs "Error Code: [0x%08X]\n\n" (control items:
 * "GeneralCtrl error\n") and returns -1 on failure, 0 on success; without an account it logs
 * "pointer[m_pstAccount] is NULL\n" and returns -1.
 *
 * The account is made when the page loads and deleted when it unloads; LVGL thread only. Page
 * models derive from it (or keep one as a member) and add their own requests on Pull and Notify.
 */
#ifndef PAGE_ACCOUNT_H
#define PAGE_ACCOUNT_H

#include <stdint.h>

#include <initializer_list>

#include "DataProc.h"
#include "StatusBar.h"

class PageAccount {
  public:
    PageAccount() = default;
    virtual ~PageAccount() { Destroy(); }
    PageAccount(const PageAccount &) = delete;
    PageAccount &operator=(const PageAccount &) = delete;

    /* Makes the account pcName subscribed to the given publishers; fnEvent (may be null) gets
     * its events with pUserData in the account's UserData. 0, or -1 if it exists already. */
    int Create(const char *pcName, std::initializer_list<const char *> subscriptions,
               Account::EventCallback_t fnEvent = nullptr, void *pUserData = nullptr);
    void Destroy();
    bool Exists() const { return m_pstAccount != nullptr; }
    Account *Get() const { return m_pstAccount; }

    /* Pull from / notify the account pcId of the data center, with the checks and logs above. */
    int Pull(const char *pcId, void *pData, uint32_t u32Size);
    int Notify(const char *pcId, const void *pData, uint32_t u32Size);

    int QuerySystemStatus(SystemStatusInfo *pstInfo);
    int SetSystemStatus(const SystemStatusInfo *pstInfo);
    int QueryGeneralSeting(GeneralSetingInfo *pstInfo);
    /* Asks the recorder for the listed settings items (blocking load). */
    int LoadGeneralSeting(const int32_t *ps32Items, int32_t s32Num);
    /* Queues a save of a number item. */
    int CtrlGeneralSetingItem(int32_t eElem, int32_t s32Value);
    int CtrlGeneralCtrlItem(bool bNoBlock, int32_t eElem, const char *pcValue);
    int CtrlStatusBarItem(const StatusBarMsg *pstMsg);
    /* Status bar command 2 (update the title) with pcTitle as plain text. */
    int CtrlStatusBarTitle(const char *pcTitle);
    /* A normal tip of a language id. */
    int ShowTips(const char *pcLangId);

  protected:
    int CheckAccount() const;
    Account *m_pstAccount = nullptr;
};

#endif /* PAGE_ACCOUNT_H */
