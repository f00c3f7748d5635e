#include "SysStateToastPageView.h"

#include <stdio.h>

#include "log.h"
#include "lv_label_ext_func.h"

namespace Page {

namespace {

/* The overlays' label, a little wider: the reminder's long texts take the whole width. */
lv_obj_t *Text(lv_obj_t *parent, const char *pcId, uint16_t u16Size) {
    lv_obj_t *label = SysStateCheck_CreateLabel(parent, pcId, u16Size);
    lv_obj_set_width(label, lv_pct(96));
    lv_obj_set_style_text_line_space(label, 0, LV_PART_MAIN);
    return label;
}

} // namespace

bool SysStateToastPageView::Create(lv_obj_t *root, uint8_t u8Type, lv_event_cb_t event_cb, void *user_data) {
    m_root = root;
    lv_obj_remove_style_all(root);
    lv_obj_set_size(root, lv_pct(100), lv_pct(100));
    lv_obj_clear_flag(root, LV_OBJ_FLAG_SCROLLABLE);
    bool bKnown = true;
    switch (u8Type) {
    case 0:
        CreateAppLock();
        break;
    case 3:
    case 4:
        CreateDigiCamToastPage();
        break;
    case 5:
        CreateFormatOnTimePage();
        break;
    default:
        LOG_ERROR("no support this type %d\n", (int)u8Type);
        SysStateCheck_CreatePanel(m_root); /* an empty page */
        bKnown = false;
        break;
    }
    SysStateCheck_CreateBottomBar(root, &ui.bottom, event_cb, user_data);
    lv_obj_add_flag(ui.bottom.prev_obj, LV_OBJ_FLAG_HIDDEN);
    lv_obj_add_flag(ui.bottom.next_obj, LV_OBJ_FLAG_HIDDEN);
    if (u8Type == 0 || !bKnown) {
        lv_obj_add_flag(ui.bottom.confirm_obj, LV_OBJ_FLAG_HIDDEN);
    }
    return bKnown;
}

void SysStateToastPageView::Delete() {
    ui = {};
    m_root = nullptr;
}

void SysStateToastPageView::CreateAppLock() {
    LOG_INFO("\33[0;32;32mLock in\n\33[m");
    ui.lock = SysStateCheck_CreateLockView(m_root, "other/app_connecting.png", "LANG_RES_ID_APP_CONNECTING");
    LOG_INFO("out\n");
}

void SysStateToastPageView::DeleteAppLock() {
    if (ui.lock != nullptr) {
        lv_obj_del(ui.lock);
        ui.lock = nullptr;
    }
}

void SysStateToastPageView::CreateDigiCamToastPage() {
    SysStateCheck_CreateDigiCamView(SysStateCheck_CreatePanel(m_root), &ui.digicam_err_toast);
}

void SysStateToastPageView::RefreshDigiCamErrViewPage(int32_t s32Cam, int32_t s32Status) {
    SysStateCheck_RefreshDigiCamView(&ui.digicam_err_toast, s32Cam, s32Status);
}

void SysStateToastPageView::CreateFormatOnTimePage() {
    ui.format = SysStateCheck_CreatePanel(m_root);
    lv_obj_t *col = lv_obj_create(ui.format);
    lv_obj_remove_style_all(col);
    lv_obj_set_size(col, lv_pct(100), lv_pct(76));
    lv_obj_clear_flag(col, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_set_flex_flow(col, LV_FLEX_FLOW_COLUMN);
    lv_obj_set_flex_align(col, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER);
    lv_obj_set_style_pad_row(col, 2, LV_PART_MAIN);
    /* Smaller than the reminder's 28 px and the tip's 26 px of the larger panel: the three texts
     * fit above the key bar of the 170-pixel screen in the long languages too. */
    ui.label_title = Text(col, nullptr, 17);
    lv_obj_set_style_text_opa(ui.label_title, 178, LV_PART_MAIN);
    Text(col, "LANG_RES_ID_FORMAT_ONTIME_REMINDER", 21);
    lv_obj_set_style_text_color(Text(col, "LANG_RES_ID_FORMAT_ONTIME_REMINDER_TIP", 18),
                                lv_color_hex(0x7fb2ff), LV_PART_MAIN);
}

void SysStateToastPageView::RefrashFormatOnTimePage(int32_t s32Days) {
    if (ui.label_title == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "label_title");
        return;
    }
    char szPart1[256] = "";
    char szPart2[256] = "";
    lv_label_get_text_tr("LANG_RES_ID_FORMAT_ONTIME_REMINDER_TITLE_1", szPart1, sizeof szPart1);
    lv_label_get_text_tr("LANG_RES_ID_FORMAT_ONTIME_REMINDER_TITLE_2", szPart2, sizeof szPart2);
    char szTitle[540];
    snprintf(szTitle, sizeof szTitle, "%s %d %s", szPart1, (int)s32Days, szPart2);
    lv_label_set_text(ui.label_title, szTitle);
}

} // namespace Page
