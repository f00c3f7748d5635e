#include "FacTestView.h"

namespace Page {

void FacTestView::CreateScreenTest(lv_obj_t *root) {
    m_pstPanel = root;
    lv_obj_remove_style_all(root);
    lv_obj_set_size(root, lv_disp_get_hor_res(nullptr), lv_disp_get_ver_res(nullptr));
    lv_obj_set_style_bg_opa(root, LV_OPA_COVER, LV_PART_MAIN);
    lv_obj_set_style_bg_color(root, lv_color_hex(kStartColor), LV_PART_MAIN);
}

void FacTestView::SetColor(lv_color_t stColor) {
    if (m_pstPanel != nullptr) {
        lv_obj_set_style_bg_color(m_pstPanel, stColor, LV_PART_MAIN);
    }
}

} // namespace Page
