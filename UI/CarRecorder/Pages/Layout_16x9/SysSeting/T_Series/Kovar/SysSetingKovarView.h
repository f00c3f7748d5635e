/* The device-link page's widgets: the framework's navigation bar with the page's own icons and
 * the page's screens (main, ask, pairing, result). */
#ifndef SYS_SETING_KOVAR_VIEW_H
#define SYS_SETING_KOVAR_VIEW_H

#include "PagesCommon.h"
#include "SetFlowScreens.h"

namespace Page {

class SysSetingKovarView : public SysSetingView {
  public:
    static constexpr int32_t kRowNum = 2;
    SetRow m_astRows[kRowNum] = {}; /* unpair, cancel (main screen while linked) */
    lv_obj_t *m_pstCountDown = nullptr;

    void SetNaviIcons();
    /* Linked: the linked camera's name and the two rows; else the picture and the hint to pair. */
    void CreateMainScreen(lv_obj_t *root, bool bLinked, const char *pcDevText, lv_event_cb_t event_cb,
                          void *user_data);
    void CreateAskScreen(lv_obj_t *root, const char *pcTextId);
    void CreateBindingScreen(lv_obj_t *root);
    void SetCountDown(const char *pcText);
    void CreateResultScreen(lv_obj_t *root, bool bSuccess);
    void ClearScreenRefs();
};

} // namespace Page

#endif /* SYS_SETING_KOVAR_VIEW_H */
