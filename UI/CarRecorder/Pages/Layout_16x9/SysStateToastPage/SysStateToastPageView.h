/* The system toast page's widgets: one panel for the page type (app lock, camera error or the
 * periodic-format reminder) above the four-button key bar. */
#ifndef SYS_STATE_TOAST_PAGE_VIEW_H
#define SYS_STATE_TOAST_PAGE_VIEW_H

#include <stdint.h>

#include "SysStateCheck.h"
#include "lvgl.h"

namespace Page {

class SysStateToastPageView {
  public:
    struct {
        lv_obj_t *lock;                        /* type 0 */
        SysStateDigiCamView digicam_err_toast; /* types 3 and 4 */
        lv_obj_t *format;                      /* type 5 */
        lv_obj_t *label_title;                 /* type 5: "... %d days ..." */
        SysStateBottomBar bottom;
    } ui = {};

    /* Builds the panel of the type on root and the key bar; false for an unknown type (only the
     * bar with its back button is built). */
    bool Create(lv_obj_t *root, uint8_t u8Type, lv_event_cb_t event_cb, void *user_data);
    void Delete();

    void CreateAppLock();
    void DeleteAppLock();
    void CreateDigiCamToastPage();
    /* s32Cam 1 rear, 2 inside. */
    void RefreshDigiCamErrViewPage(int32_t s32Cam, int32_t s32Status);
    void CreateFormatOnTimePage();
    void RefrashFormatOnTimePage(int32_t s32Days);

  private:
    lv_obj_t *m_root = nullptr;
};

} // namespace Page

#endif /* SYS_STATE_TOAST_PAGE_VIEW_H */
