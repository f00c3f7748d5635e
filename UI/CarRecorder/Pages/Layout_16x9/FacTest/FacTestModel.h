/* The factory test's model: the account "FacTestModel" and the requests the page makes. */
#ifndef FAC_TEST_MODEL_H
#define FAC_TEST_MODEL_H

#include "PageAccount.h"

namespace Page {

class FacTestModel {
  public:
    /* Creates "FacTestModel", subscribed to "SystemStatus" and "StatusBar". */
    int Init();
    void Deinit();

    /* The status bar's title becomes three blanks. */
    int CtrlStatusBarTitleIsNull();
    int QuerySystemStatus(SystemStatusInfo *pstInfo);
    int SetSystemStatus(const SystemStatusInfo *pstInfo);
    /* Pulls the status record, sets bPageBusy and writes it back. */
    int SetPageBusy(bool bBusy);

    PageAccount Account;
};

} // namespace Page

#endif /* FAC_TEST_MODEL_H */
