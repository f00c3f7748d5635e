#include "ParkingEvtToastView.h"

#include <stdio.h>
#include <string.h>

#include <initializer_list>

#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace Page {

namespace {

constexpr uint32_t kPageBg = 0x15191f;
constexpr uint32_t kConfirmBg = 0x2263d3;

void ButtonY(void *var, int32_t v) {
    lv_obj_set_y(static_cast<lv_obj_t *>(var), v);
}

lv_obj_t *CreateIcon(lv_obj_t *parent, const char *pcIcon) {
    lv_obj_t *icon = lv_img_create(parent);
    lv_img_set_src(icon, UI_ResPath(pcIcon, UI_RES_PIC_ROOT));
    lv_obj_add_flag(icon, LV_OBJ_FLAG_CLICKABLE);
    return icon;
}

} // namespace

void ParkingEvtToastView::Create(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data) {
    lv_obj_set_style_bg_color(root, lv_color_hex(kPageBg), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(root, LV_OPA_COVER, LV_PART_MAIN);

    /* The message; Chinese texts are short and take a larger font a little lower. */
    bool bHan = Lang_CodeContains("CN") || Lang_CodeContains("TW");
    ui.msg_label = lv_label_create(root);
    lv_obj_set_width(ui.msg_label, lv_pct(86));
    lv_label_set_long_mode(ui.msg_label, LV_LABEL_LONG_WRAP);
    lv_obj_set_style_text_color(ui.msg_label, lv_color_white(), LV_PART_MAIN);
    lv_obj_set_style_text_align(ui.msg_label, LV_TEXT_ALIGN_CENTER, LV_PART_MAIN);
    lv_obj_set_style_text_line_space(ui.msg_label, 4, LV_PART_MAIN);
    lv_label_freetype_set_text_normal(ui.msg_label, SYS_PATH_FONT_BODY, bHan ? 28 : 24, LV_PART_MAIN);
    lv_label_set_text(ui.msg_label, "");
    lv_label_set_text_tr(ui.msg_label, "LANG_RES_ID_PARKING_HAS_COLLISION");
    lv_obj_align(ui.msg_label, LV_ALIGN_CENTER, 0, bHan ? -16 : -22);

    ui.bottom_bar = lv_obj_create(root);
    lv_obj_remove_style_all(ui.bottom_bar);
    lv_obj_set_size(ui.bottom_bar, lv_pct(100), kBarH);
    lv_obj_align(ui.bottom_bar, LV_ALIGN_BOTTOM_LEFT, 0, 0);
    lv_obj_clear_flag(ui.bottom_bar, LV_OBJ_FLAG_SCROLLABLE);

    ui.back_btn = CreateIcon(ui.bottom_bar, "setmenu/navibar/goback_icon.png");
    lv_obj_align(ui.back_btn, LV_ALIGN_LEFT_MID, 10, 0);
    ui.prev_btn = CreateIcon(ui.bottom_bar, "setmenu/navibar/lastitem_icon.png");
    lv_obj_align(ui.prev_btn, LV_ALIGN_LEFT_MID, 60, 0);
    ui.next_btn = CreateIcon(ui.bottom_bar, "setmenu/navibar/nextitem_icon.png");
    lv_obj_align(ui.next_btn, LV_ALIGN_LEFT_MID, 110, 0);

    /* The confirm button: a rounded pill with the icon and the countdown. */
    ui.confirm_btn = lv_obj_create(ui.bottom_bar);
    lv_obj_remove_style_all(ui.confirm_btn);
    lv_obj_set_size(ui.confirm_btn, LV_SIZE_CONTENT, 32);
    lv_obj_set_style_bg_color(ui.confirm_btn, lv_color_hex(kConfirmBg), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(ui.confirm_btn, LV_OPA_COVER, LV_PART_MAIN);
    lv_obj_set_style_radius(ui.confirm_btn, 16, LV_PART_MAIN);
    lv_obj_set_style_pad_left(ui.confirm_btn, 6, LV_PART_MAIN);
    lv_obj_set_style_pad_right(ui.confirm_btn, 12, LV_PART_MAIN);
    lv_obj_set_style_pad_column(ui.confirm_btn, 4, LV_PART_MAIN);
    lv_obj_set_flex_flow(ui.confirm_btn, LV_FLEX_FLOW_ROW);
    lv_obj_set_flex_align(ui.confirm_btn, LV_FLEX_ALIGN_START, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER);
    lv_obj_clear_flag(ui.confirm_btn, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_add_flag(ui.confirm_btn, LV_OBJ_FLAG_CLICKABLE);
    lv_obj_align(ui.confirm_btn, LV_ALIGN_RIGHT_MID, -8, 0);
    lv_obj_t *icon = lv_img_create(ui.confirm_btn);
    lv_img_set_src(icon, UI_ResPath("setmenu/navibar/confirm_icon.png", UI_RES_PIC_ROOT));
    ui.confirm_label = lv_label_create(ui.confirm_btn);
    lv_obj_set_style_text_color(ui.confirm_label, lv_color_white(), LV_PART_MAIN);
    lv_label_freetype_set_text_normal(ui.confirm_label, SYS_PATH_FONT_BODY, 20, LV_PART_MAIN);
    lv_label_set_text(ui.confirm_label, "");

    for (lv_obj_t *btn : {ui.back_btn, ui.prev_btn, ui.confirm_btn}) {
        lv_obj_add_event_cb(btn, event_cb, LV_EVENT_ALL, user_data);
    }
    lv_obj_add_state(ui.confirm_btn, LV_STATE_FOCUSED);

    /* The buttons rise into the bar one after another. */
    ui.anim_timeline = lv_anim_timeline_create();
    const AnimTimelineRow astRows[] = {
        {0, ui.back_btn, ButtonY, kBarH, 0, 300, lv_anim_path_ease_out, true},
        {60, ui.prev_btn, ButtonY, kBarH, 0, 300, lv_anim_path_ease_out, true},
        {120, ui.next_btn, ButtonY, kBarH, 0, 300, lv_anim_path_ease_out, true},
        {180, ui.confirm_btn, ButtonY, kBarH, 0, 300, lv_anim_path_ease_out, true},
        {0, nullptr, nullptr, 0, 0, 0, nullptr, false},
    };
    AnimTimelineAddTable(ui.anim_timeline, astRows);
}

void ParkingEvtToastView::Delete() {
    if (ui.anim_timeline != nullptr) {
        lv_anim_timeline_del(ui.anim_timeline);
    }
    ui = {};
}

void ParkingEvtToastView::SetCountdown(uint32_t u32Seconds) {
    if (ui.confirm_label == nullptr) {
        return;
    }
    char szText[128] = "";
    lv_label_get_text_tr("LANG_RES_ID_GOTO_CHECK", szText, sizeof szText);
    char szLabel[160];
    snprintf(szLabel, sizeof szLabel, "%s(%uS)", szText, (unsigned)u32Seconds);
    if (strcmp(lv_label_get_text(ui.confirm_label), szLabel) != 0) {
        lv_label_set_text(ui.confirm_label, szLabel);
    }
}

} // namespace Page
