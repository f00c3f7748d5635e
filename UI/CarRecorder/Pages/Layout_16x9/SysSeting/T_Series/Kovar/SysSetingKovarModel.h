/* The device-link page's model: the account "SysSetingKovarModel" (the framework's model, also
 * subscribed to "KovarInfo"), the link state and what the recorder reports while pairing. */
#ifndef SYS_SETING_KOVAR_MODEL_H
#define SYS_SETING_KOVAR_MODEL_H

#include "PagesCommon.h"

namespace Page {

class SysSetingKovarModel : public SysSetingModel {
  public:
    /* The status byte this page owns while pairing (reserved by the recorder's status items). */
    static constexpr uint32_t kBindingByte = 31;

    /* Takes the status notices itself (the framework's handler ignores them) and subscribes to
     * "KovarInfo". */
    int Hook();
    int GetKovarInfo(KovarInfo *pstInfo);
    int SetBindingByte(uint8_t u8Value);

    /* What a status notice means for the page; the account's publish handler (tests call it). */
    int OnStatusNotice(const void *pvData, uint32_t u32Size);

    /* Set while the page waits for a pairing; the results come from the notices. */
    bool m_bBinding = false;
    bool m_bSuccess = false;
    bool m_bFailure = false;
    bool m_bBleSeen = false;
    bool m_bLinked = false;

  private:
    Account *m_pstHooked = nullptr; /* the account Hook already served */
    static int onStatusEvent(Account *account, Account::EventParam *param);
};

} // namespace Page

#endif /* SYS_SETING_KOVAR_MODEL_H */
