/* The more page's widgets: the framework's navigation bar and lists, and the screens that are not
 * lists (the app's QR code, about, the 4G introduction, the 4G check and its explanations). */
#ifndef SYS_SETING_MORE_VIEW_H
#define SYS_SETING_MORE_VIEW_H

#include "PagesCommon.h"
#include "SetFlowScreens.h"

namespace Page {

class SysSetingMoreView : public SysSetingView {
  public:
    /* The screen's scrolling column (about, 4G check), or null. */
    lv_obj_t *m_pstColumn = nullptr;
    /* The 4G check's rows. */
    SetRow m_astLteRows[6] = {};

    void CreateAppConnectScreen(lv_obj_t *root);
    /* Label texts (already translated) of the about screen, two a line: name and value. */
    void CreateAboutScreen(lv_obj_t *root, const char *const (*ppcLines)[2], int32_t s32Num);
    void Create4GIntroduceScreen(lv_obj_t *root);
    void CreateLteCheckScreen(lv_obj_t *root, const char *const *ppcNames, const char *const *ppcStates,
                              int32_t s32Num, lv_event_cb_t event_cb, void *user_data);
    void CreateLteAbnormalScreen(lv_obj_t *root, const char *pcToastId);
    void ClearScreenRefs();
};

} // namespace Page

#endif /* SYS_SETING_MORE_VIEW_H */
