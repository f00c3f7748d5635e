/* The installation guide's model: the account "InstallGuideModel" and the page's requests. */
#ifndef INSTALL_GUIDE_MODEL_H
#define INSTALL_GUIDE_MODEL_H

#include "PageAccount.h"

namespace Page {

class InstallGuideModel {
  public:
    /* Creates "InstallGuideModel", subscribed to "GeneralSeting", "SystemStatus", "StatusBar". */
    int Init();
    void Deinit();

    int CtrlGeneralSetingItem(int32_t eElem, int32_t s32Value);
    int QueryGeneralSeting(GeneralSetingInfo *pstInfo);
    int QuerySystemStatus(SystemStatusInfo *pstInfo);
    int SetSystemStatus(const SystemStatusInfo *pstInfo);
    /* Status bar command with a title text (plain text) and the shadow flag. */
    int CtrlStatusBarItem(int32_t eCmd, const char *pcTitle, bool bShadow);

    PageAccount Account;
};

} // namespace Page

#endif /* INSTALL_GUIDE_MODEL_H */
