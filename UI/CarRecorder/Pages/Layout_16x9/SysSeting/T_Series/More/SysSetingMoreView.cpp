#include "SysSetingMoreView.h"

#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace Page {

namespace {

/* A label of the body font with a text that is already translated. */
lv_obj_t *PlainText(lv_obj_t *parent, const char *pcText, uint16_t u16Size, lv_opa_t opa) {
    lv_obj_t *label = lv_label_create(parent);
    lv_obj_set_width(label, lv_pct(100));
    lv_label_set_long_mode(label, LV_LABEL_LONG_WRAP);
    lv_obj_set_style_text_color(label, lv_color_white(), LV_PART_MAIN);
    lv_obj_set_style_text_opa(label, opa, LV_PART_MAIN);
    lv_label_freetype_set_text_normal(label, SYS_PATH_FONT_BODY, u16Size, LV_PART_MAIN);
    lv_label_set_text(label, pcText);
    return label;
}

lv_obj_t *ScrollColumn(lv_obj_t *screen) {
    lv_obj_t *col = lv_obj_create(screen);
    lv_obj_remove_style_all(col);
    lv_obj_set_size(col, lv_pct(100), lv_pct(100));
    lv_obj_align(col, LV_ALIGN_TOP_MID, 0, 0);
    lv_obj_set_flex_flow(col, LV_FLEX_FLOW_COLUMN);
    lv_obj_set_style_pad_top(col, 34, LV_PART_MAIN);
    lv_obj_set_style_pad_left(col, 18, LV_PART_MAIN);
    lv_obj_set_style_pad_right(col, 18, LV_PART_MAIN);
    lv_obj_set_style_pad_bottom(col, 6, LV_PART_MAIN);
    lv_obj_set_style_pad_row(col, 2, LV_PART_MAIN);
    lv_obj_set_scrollbar_mode(col, LV_SCROLLBAR_MODE_OFF);
    return col;
}

} // namespace

void SysSetingMoreView::ClearScreenRefs() {
    m_pstColumn = nullptr;
    for (SetRow &r : m_astLteRows) {
        r = {};
    }
}

void SysSetingMoreView::CreateAppConnectScreen(lv_obj_t *root) {
    ClearScreenRefs();
    /* The code beside its hint, below the status bar. */
    lv_obj_t *row = lv_obj_create(CreateScreen(root));
    lv_obj_remove_style_all(row);
    lv_obj_set_size(row, lv_pct(100), lv_disp_get_ver_res(nullptr) - 40 - 34);
    lv_obj_align(row, LV_ALIGN_TOP_MID, 0, 34);
    lv_obj_set_flex_flow(row, LV_FLEX_FLOW_ROW);
    lv_obj_set_flex_align(row, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER);
    lv_obj_set_style_pad_column(row, 12, LV_PART_MAIN);
    lv_obj_clear_flag(row, LV_OBJ_FLAG_SCROLLABLE);
    SetFlow_AddPicture(row, "setmenu/menu2nd/appQRcode_overseas.png", false);
    lv_obj_t *hint = SetFlow_AddText(row, "LANG_RES_ID_APP_CONNECT_TOAST", 17);
    lv_obj_set_width(hint, lv_pct(55));
    lv_obj_set_style_text_align(hint, LV_TEXT_ALIGN_LEFT, LV_PART_MAIN);
}

void SysSetingMoreView::CreateAboutScreen(lv_obj_t *root, const char *const (*ppcLines)[2], int32_t s32Num) {
    ClearScreenRefs();
    m_pstColumn = ScrollColumn(CreateScreen(root));
    for (int32_t i = 0; i < s32Num; ++i) {
        PlainText(m_pstColumn, ppcLines[i][0], 17, 178);
        PlainText(m_pstColumn, ppcLines[i][1], 20, LV_OPA_COVER);
    }
}

void SysSetingMoreView::Create4GIntroduceScreen(lv_obj_t *root) {
    ClearScreenRefs();
    lv_obj_t *col = SetFlow_CreateColumn(CreateScreen(root));
    SetFlow_AddText(col, "LANG_RES_ID_4G_REMOTE_MONITOR_TOAST_UP", 22);
    lv_obj_set_style_text_opa(SetFlow_AddText(col, "LANG_RES_ID_4G_REMOTE_MONITOR_TOAST_DOWN", 17), 204,
                              LV_PART_MAIN);
}

void SysSetingMoreView::CreateLteCheckScreen(lv_obj_t *root, const char *const *ppcNames,
                                             const char *const *ppcStates, int32_t s32Num,
                                             lv_event_cb_t event_cb, void *user_data) {
    ClearScreenRefs();
    m_pstColumn = CreateScreen(root);
    lv_obj_add_flag(m_pstColumn, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_set_scrollbar_mode(m_pstColumn, LV_SCROLLBAR_MODE_OFF);
    if (s32Num > 6) {
        s32Num = 6;
    }
    SetFlow_CreateRows(m_pstColumn, 32, ppcNames, s32Num, m_astLteRows, false, event_cb, user_data);
    for (int32_t i = 0; i < s32Num; ++i) {
        lv_obj_t *state = lv_label_create(m_astLteRows[i].btn);
        lv_obj_set_style_text_color(state, lv_color_white(), LV_PART_MAIN);
        lv_label_freetype_set_text_normal(state, SYS_PATH_FONT_BODY, 18, LV_PART_MAIN);
        lv_label_set_text(state, "");
        if (ppcStates[i] != nullptr) {
            lv_label_set_text_tr(state, ppcStates[i]);
        }
        lv_obj_align(state, LV_ALIGN_RIGHT_MID, -12, 2);
        lv_obj_set_width(m_astLteRows[i].label, lv_pct(55));
    }
}

void SysSetingMoreView::CreateLteAbnormalScreen(lv_obj_t *root, const char *pcToastId) {
    ClearScreenRefs();
    SetFlow_AddText(SetFlow_CreateColumn(CreateScreen(root)), pcToastId, 20);
}

} // namespace Page
