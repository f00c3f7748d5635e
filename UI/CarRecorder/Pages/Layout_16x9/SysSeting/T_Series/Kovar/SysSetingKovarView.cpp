#include "SysSetingKovarView.h"

#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace Page {

void SysSetingKovarView::SetNaviIcons() {
    SetImg(ui.btn_back, "setmenu/navibar/kovar_icon.png");
    SetImg(ui.btn_up, "setmenu/navibar/lastitem_icon.png");
    SetImg(ui.btn_down, "setmenu/navibar/nextitem_icon.png");
    SetImg(ui.btn_confirm, "setmenu/navibar/confirm_icon.png");
}

void SysSetingKovarView::ClearScreenRefs() {
    for (SetRow &r : m_astRows) {
        r = {};
    }
    m_pstCountDown = nullptr;
}

void SysSetingKovarView::CreateMainScreen(lv_obj_t *root, bool bLinked, const char *pcDevText,
                                          lv_event_cb_t event_cb, void *user_data) {
    ClearScreenRefs();
    lv_obj_t *scr = CreateScreen(root);
    if (!bLinked) {
        /* The picture beside the hint, below the status bar. */
        lv_obj_t *row = lv_obj_create(scr);
        lv_obj_remove_style_all(row);
        lv_obj_set_size(row, lv_pct(100), lv_disp_get_ver_res(nullptr) - 40 - 34);
        lv_obj_align(row, LV_ALIGN_TOP_MID, 0, 34);
        lv_obj_set_flex_flow(row, LV_FLEX_FLOW_ROW);
        lv_obj_set_flex_align(row, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER);
        lv_obj_set_style_pad_column(row, 12, LV_PART_MAIN);
        lv_obj_clear_flag(row, LV_OBJ_FLAG_SCROLLABLE);
        SetFlow_AddPicture(row, "setmenu/main/kovar_icon.png", false);
        lv_obj_t *hint = SetFlow_AddText(row, "LANG_RES_ID_KOVAR_NO_CONNECT", 18);
        lv_obj_set_width(hint, lv_pct(62));
        lv_obj_set_style_text_align(hint, LV_TEXT_ALIGN_LEFT, LV_PART_MAIN);
        return;
    }
    lv_obj_t *dev = lv_label_create(scr);
    lv_obj_set_width(dev, lv_pct(90));
    lv_label_set_long_mode(dev, LV_LABEL_LONG_DOT);
    lv_obj_set_style_text_color(dev, lv_color_white(), LV_PART_MAIN);
    lv_obj_set_style_text_opa(dev, 204, LV_PART_MAIN);
    lv_label_freetype_set_text_normal(dev, SYS_PATH_FONT_BODY, 17, LV_PART_MAIN);
    lv_label_set_text(dev, pcDevText);
    lv_obj_align(dev, LV_ALIGN_TOP_MID, 0, 34);
    static const char *const s_apcRows[kRowNum] = {"LANG_RES_ID_KOVAR_UNBIND", "LANG_RES_ID_CANCEL"};
    SetFlow_CreateRows(scr, 56, s_apcRows, kRowNum, m_astRows, false, event_cb, user_data);
    for (SetRow &r : m_astRows) {
        lv_obj_set_height(r.btn, 34);
    }
}

void SysSetingKovarView::CreateAskScreen(lv_obj_t *root, const char *pcTextId) {
    ClearScreenRefs();
    SetFlow_AddText(SetFlow_CreateColumn(CreateScreen(root)), pcTextId, 22);
}

void SysSetingKovarView::CreateBindingScreen(lv_obj_t *root) {
    ClearScreenRefs();
    lv_obj_t *col = SetFlow_CreateColumn(CreateScreen(root));
    SetFlow_AddPicture(col, "loading.gif", true);
    SetFlow_AddText(col, "LANG_RES_ID_KOVAR_BINDING", 20);
    m_pstCountDown = SetFlow_AddText(col, "", 16);
    lv_obj_set_style_text_opa(m_pstCountDown, 204, LV_PART_MAIN);
}

void SysSetingKovarView::SetCountDown(const char *pcText) {
    if (m_pstCountDown == nullptr) {
        return;
    }
    if (pcText == nullptr) {
        lv_obj_add_flag(m_pstCountDown, LV_OBJ_FLAG_HIDDEN);
    } else if (strcmp(lv_label_get_text(m_pstCountDown), pcText) != 0) {
        lv_label_set_text(m_pstCountDown, pcText);
    }
}

void SysSetingKovarView::CreateResultScreen(lv_obj_t *root, bool bSuccess) {
    ClearScreenRefs();
    lv_obj_t *col = SetFlow_CreateColumn(CreateScreen(root));
    if (bSuccess) {
        SetFlow_AddPicture(col, "setmenu/sub/kovar/succ_icon.png", false);
        SetFlow_AddText(col, "LANG_RES_ID_KOVAR_BIND_SUCCESS", 20);
        return;
    }
    SetFlow_AddText(col, "LANG_RES_ID_KOVAR_BIND_FAIL_TITLE", 22);
    lv_obj_set_style_text_opa(SetFlow_AddText(col, "LANG_RES_ID_KOVAR_BIND_FAIL_TOAST", 17), 204,
                              LV_PART_MAIN);
}

} // namespace Page
