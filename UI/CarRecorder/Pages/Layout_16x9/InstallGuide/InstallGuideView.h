/* The installation guide's view: the bottom bar with the back and confirm icons, and the closing
 * panel of the last step. */
#ifndef INSTALL_GUIDE_VIEW_H
#define INSTALL_GUIDE_VIEW_H

#include <stdint.h>

#include "lvgl.h"

namespace Page {

class InstallGuideView {
  public:
    static constexpr int32_t kBarH = 40;

    struct {
        lv_obj_t *bottom_bar;
        lv_obj_t *back_btn;
        lv_obj_t *confirm_btn;
        lv_obj_t *over_panel; /* the closing panel, built once */
        lv_obj_t *over_label;
        lv_anim_timeline_t *anim_timeline;
    } ui = {};

    /* The bar with both icons hidden; event_cb gets every event of each icon with user_data. */
    void Create(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data);
    void Delete();
    /* Builds the closing panel (once), shows both icons and lets them rise into the bar. */
    void ShowOverView();
    bool IconsShown() const;

  private:
    lv_obj_t *m_root = nullptr;
};

} // namespace Page

#endif /* INSTALL_GUIDE_VIEW_H */
