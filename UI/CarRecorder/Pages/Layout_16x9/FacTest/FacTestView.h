/* The factory test's view: the page root is the one full-screen panel. */
#ifndef FAC_TEST_VIEW_H
#define FAC_TEST_VIEW_H

#include <stdint.h>

#include "lvgl.h"

namespace Page {

class FacTestView {
  public:
    static constexpr uint32_t kStartColor = 0xFFFFFF; /* white */

    /* Strips the root of its styles and makes it an opaque white panel of the display's size. */
    void CreateScreenTest(lv_obj_t *root);
    void Delete() { m_pstPanel = nullptr; }
    /* Paints the panel (RGB). */
    void SetColor(lv_color_t stColor);
    lv_obj_t *Panel() const { return m_pstPanel; }

  private:
    lv_obj_t *m_pstPanel = nullptr;
};

} // namespace Page

#endif /* FAC_TEST_VIEW_H */
