#include "InstallGuideView.h"

#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace Page {

namespace {

constexpr uint32_t kPanelBg = 0x15191f;
constexpr int32_t kBarHidden = 70; /* y the icons rise from */

void IconY(void *var, int32_t v) {
    lv_obj_set_y(static_cast<lv_obj_t *>(var), v);
}

lv_obj_t *CreateIcon(lv_obj_t *bar, const char *pcIcon, int32_t s32X, lv_event_cb_t event_cb,
                     void *user_data) {
    lv_obj_t *icon = lv_img_create(bar);
    lv_img_set_src(icon, UI_ResPath(pcIcon, UI_RES_PIC_ROOT));
    lv_obj_align(icon, LV_ALIGN_LEFT_MID, s32X, 0);
    lv_obj_add_flag(icon, LV_OBJ_FLAG_CLICKABLE);
    lv_obj_add_flag(icon, LV_OBJ_FLAG_HIDDEN);
    lv_obj_add_event_cb(icon, event_cb, LV_EVENT_ALL, user_data);
    return icon;
}

} // namespace

void InstallGuideView::Create(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data) {
    m_root = root;
    ui.bottom_bar = lv_obj_create(root);
    lv_obj_remove_style_all(ui.bottom_bar);
    lv_obj_set_size(ui.bottom_bar, lv_pct(100), kBarH);
    lv_obj_align(ui.bottom_bar, LV_ALIGN_BOTTOM_LEFT, 0, 0);
    lv_obj_clear_flag(ui.bottom_bar, LV_OBJ_FLAG_SCROLLABLE);
    /* The page lies over the camera picture: the bar keeps the icons readable on it. */
    lv_obj_set_style_bg_color(ui.bottom_bar, lv_color_hex(kPanelBg), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(ui.bottom_bar, LV_OPA_COVER, LV_PART_MAIN);
    ui.back_btn = CreateIcon(ui.bottom_bar, "setmenu/navibar/goback_icon.png", 10, event_cb, user_data);
    ui.confirm_btn = CreateIcon(ui.bottom_bar, "setmenu/navibar/confirm_icon.png", 80, event_cb, user_data);
}

void InstallGuideView::Delete() {
    if (ui.anim_timeline != nullptr) {
        lv_anim_timeline_del(ui.anim_timeline);
    }
    ui = {};
    m_root = nullptr;
}

bool InstallGuideView::IconsShown() const {
    return ui.confirm_btn != nullptr && !lv_obj_has_flag(ui.confirm_btn, LV_OBJ_FLAG_HIDDEN);
}

void InstallGuideView::ShowOverView() {
    if (m_root == nullptr) {
        return;
    }
    if (ui.over_panel == nullptr) {
        lv_obj_t *panel = lv_obj_create(m_root);
        lv_obj_remove_style_all(panel);
        lv_obj_set_size(panel, lv_pct(100), lv_disp_get_ver_res(nullptr) - 30);
        lv_obj_align(panel, LV_ALIGN_TOP_MID, 0, 0);
        lv_obj_clear_flag(panel, LV_OBJ_FLAG_SCROLLABLE);
        lv_obj_set_style_bg_color(panel, lv_color_hex(kPanelBg), LV_PART_MAIN);
        lv_obj_set_style_bg_opa(panel, LV_OPA_COVER, LV_PART_MAIN);

        lv_obj_t *label = lv_label_create(panel);
        lv_obj_set_width(label, lv_pct(80));
        lv_label_set_long_mode(label, LV_LABEL_LONG_WRAP);
        lv_obj_set_style_text_color(label, lv_color_white(), LV_PART_MAIN);
        lv_obj_set_style_text_opa(label, 229, LV_PART_MAIN);
        lv_obj_set_style_text_align(label, LV_TEXT_ALIGN_CENTER, LV_PART_MAIN);
        lv_label_freetype_set_text_normal(label, SYS_PATH_FONT_BODY, 30, LV_PART_MAIN);
        lv_label_set_text(label, "");
        lv_label_set_text_tr(label, "LANG_RES_ID_INSTALL_GUIDE_OVER_TOAST");
        lv_obj_center(label);
        ui.over_panel = panel;
        ui.over_label = label;
        /* The bar stays above the panel. */
        lv_obj_move_foreground(ui.bottom_bar);
    }
    lv_obj_clear_flag(ui.back_btn, LV_OBJ_FLAG_HIDDEN);
    lv_obj_clear_flag(ui.confirm_btn, LV_OBJ_FLAG_HIDDEN);

    if (ui.anim_timeline != nullptr) {
        lv_anim_timeline_del(ui.anim_timeline);
    }
    ui.anim_timeline = lv_anim_timeline_create();
    const AnimTimelineRow astRows[] = {
        {100, ui.back_btn, IconY, kBarHidden, 0, 300, lv_anim_path_ease_in_out, true},
        {200, ui.confirm_btn, IconY, kBarHidden, 0, 300, lv_anim_path_ease_in_out, true},
        {0, nullptr, nullptr, 0, 0, 0, nullptr, false},
    };
    AnimTimelineAddTable(ui.anim_timeline, astRows);
    lv_anim_timeline_start(ui.anim_timeline);
}

} // namespace Page
