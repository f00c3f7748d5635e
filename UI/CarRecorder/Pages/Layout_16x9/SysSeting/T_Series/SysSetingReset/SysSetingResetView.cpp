#include "SysSetingResetView.h"

#include <initializer_list>

#include "log.h"
#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace Page {

namespace {

constexpr uint32_t kPageBg = 0x101418;
constexpr lv_coord_t kNaviH = 40;
constexpr lv_coord_t kRowH = 46;

/* The languages whose ask and done texts run longer or taller: their texts start higher. */
bool TallTexts() {
    for (const char *pcCode : {"CN", "TW", "GE", "ES", "RU", "PL", "PT"}) {
        if (Lang_CodeContains(pcCode)) {
            return true;
        }
    }
    return false;
}

void SetImg(lv_obj_t *img, const char *pcRelPath) {
    lv_img_set_src(img, UI_ResPath(pcRelPath, UI_RES_PIC_ROOT));
}

void ButtonY(void *var, int32_t v) {
    lv_obj_set_y(static_cast<lv_obj_t *>(var), v);
}

const lv_style_prop_t s_aeFadeProps[] = {LV_STYLE_BG_OPA, LV_STYLE_TEXT_OPA, LV_STYLE_IMG_OPA,
                                         LV_STYLE_IMG_RECOLOR_OPA, LV_STYLE_PROP_INV};
lv_style_transition_dsc_t s_stFade;

} // namespace

const SysSetingResetView::FormatTexts &SysSetingResetView::TextsOf(int32_t s32Type) {
    static const FormatTexts s_astTexts[2] = {
        {"LANG_RES_ID_FORMAT_TFCARD_ASK_CONTENT", "LANG_RES_ID_FORMATING_TFCARD",
         "LANG_RES_ID_FORMAT_TFCARD_SUCCESS", "LANG_RES_ID_FORMAT_SD_FAILED_TOAST"},
        {"LANG_RES_ID_FORMAT_EMMC_ASK_CONTENT", "LANG_RES_ID_FORMATING_EMMC",
         "LANG_RES_ID_FORMAT_EMMC_SUCCESS", "LANG_RES_ID_FORMAT_EMMC_FAILED_TOAST"},
    };
    return s_astTexts[s32Type == 1 ? 1 : 0];
}

void SysSetingResetView::CreateBottomBtns(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data) {
    lv_style_transition_dsc_init(&s_stFade, s_aeFadeProps, lv_anim_path_linear, 200, 0, nullptr);
    lv_obj_set_style_bg_color(root, lv_color_hex(kPageBg), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(root, LV_OPA_COVER, LV_PART_MAIN);
    ui.btn.cont = lv_obj_create(root);
    lv_obj_remove_style_all(ui.btn.cont);
    lv_obj_set_size(ui.btn.cont, lv_pct(100), kNaviH);
    lv_obj_align(ui.btn.cont, LV_ALIGN_BOTTOM_LEFT, 0, 0);
    lv_obj_set_style_bg_color(ui.btn.cont, lv_color_hex(kPageBg), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(ui.btn.cont, LV_OPA_COVER, LV_PART_MAIN);
    lv_obj_clear_flag(ui.btn.cont, LV_OBJ_FLAG_SCROLLABLE);
    const struct {
        lv_obj_t **ppObj;
        const char *pcIcon;
        int32_t s32Pct;
    } astBtns[] = {
        {&ui.btn.back, "setmenu/navibar/goback_icon.png", 10},
        {&ui.btn.up, "setmenu/navibar/up_icon.png", 33},
        {&ui.btn.down, "setmenu/navibar/down_icon.png", 57},
        {&ui.btn.confirm, "setmenu/navibar/confirm_icon.png", 80},
    };
    for (const auto &b : astBtns) {
        lv_obj_t *img = lv_img_create(ui.btn.cont);
        SetImg(img, b.pcIcon);
        lv_obj_align(img, LV_ALIGN_LEFT_MID, lv_pct(b.s32Pct), 0);
        lv_obj_add_flag(img, LV_OBJ_FLAG_CLICKABLE);
        lv_obj_set_style_img_recolor(img, lv_color_black(), LV_STATE_PRESSED);
        lv_obj_set_style_img_recolor_opa(img, 153, LV_STATE_PRESSED);
        lv_obj_set_style_img_recolor(img, lv_color_black(), LV_STATE_USER_1);
        lv_obj_set_style_img_recolor_opa(img, 102, LV_STATE_USER_1);
        lv_obj_set_style_transition(img, &s_stFade, LV_STATE_PRESSED);
        lv_obj_add_event_cb(img, event_cb, LV_EVENT_ALL, user_data);
        *b.ppObj = img;
    }
    LOG_INFO("sysset page create confirm key[%p] success", (void *)ui.btn.confirm);
    ui.anim_timeline = lv_anim_timeline_create();
    const AnimTimelineRow astRows[] = {
        {0, ui.btn.back, ButtonY, kNaviH, 0, 300, lv_anim_path_ease_out, true},
        {60, ui.btn.up, ButtonY, kNaviH, 0, 300, lv_anim_path_ease_out, true},
        {120, ui.btn.down, ButtonY, kNaviH, 0, 300, lv_anim_path_ease_out, true},
        {180, ui.btn.confirm, ButtonY, kNaviH, 0, 300, lv_anim_path_ease_out, true},
        {0, nullptr, nullptr, 0, 0, 0, nullptr, false},
    };
    AnimTimelineAddTable(ui.anim_timeline, astRows);
}

lv_obj_t *SysSetingResetView::CreateScreen(lv_obj_t *root) {
    DeleteScreen();
    lv_obj_t *cont = lv_obj_create(root);
    lv_obj_remove_style_all(cont);
    lv_obj_set_size(cont, lv_pct(100), lv_disp_get_ver_res(nullptr) - 30);
    lv_obj_align(cont, LV_ALIGN_TOP_MID, 0, 0);
    lv_obj_set_style_bg_color(cont, lv_color_hex(kPageBg), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(cont, LV_OPA_COVER, LV_PART_MAIN);
    lv_obj_clear_flag(cont, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_move_background(cont);
    ui.cur_cont_row = cont;
    return cont;
}

/* The flow screens stack their picture and texts in a column centred above the navigation bar;
 * the languages with taller texts start it a little higher. */
lv_obj_t *SysSetingResetView::CreateFlowScreen(lv_obj_t *root) {
    lv_obj_t *cont = CreateScreen(root);
    lv_obj_t *col = lv_obj_create(cont);
    lv_obj_remove_style_all(col);
    lv_obj_set_size(col, lv_pct(100), lv_disp_get_ver_res(nullptr) - kNaviH);
    lv_obj_align(col, LV_ALIGN_TOP_MID, 0, TallTexts() ? -4 : 0);
    lv_obj_set_flex_flow(col, LV_FLEX_FLOW_COLUMN);
    lv_obj_set_flex_align(col, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER);
    lv_obj_set_style_pad_row(col, 6, LV_PART_MAIN);
    lv_obj_clear_flag(col, LV_OBJ_FLAG_SCROLLABLE);
    return col;
}

lv_obj_t *SysSetingResetView::AddText(lv_obj_t *parent, const char *pcId, uint16_t u16Size) {
    lv_obj_t *label = lv_label_create(parent);
    lv_obj_set_width(label, lv_pct(92));
    lv_label_set_long_mode(label, LV_LABEL_LONG_WRAP);
    lv_obj_set_style_text_color(label, lv_color_white(), LV_PART_MAIN);
    lv_obj_set_style_text_align(label, LV_TEXT_ALIGN_CENTER, LV_PART_MAIN);
    lv_label_freetype_set_text_normal(label, SYS_PATH_FONT_BODY, u16Size, LV_PART_MAIN);
    lv_label_set_text(label, "");
    lv_label_set_text_tr(label, pcId);
    return label;
}

lv_obj_t *SysSetingResetView::AddPicture(lv_obj_t *parent, const char *pcPath, bool bGif) {
    lv_obj_t *pic = bGif ? lv_gif_create(parent) : lv_img_create(parent);
    if (bGif) {
        lv_gif_set_src(pic, UI_ResPath(pcPath, UI_RES_GIF_ROOT));
    } else {
        SetImg(pic, pcPath);
    }
    return pic;
}

void SysSetingResetView::CreateMainList(lv_obj_t *root, const char *const *ppcLabels, int32_t s32Num,
                                        lv_event_cb_t event_cb, void *user_data) {
    lv_obj_t *cont = CreateScreen(root);
    ui.content = lv_obj_create(cont);
    lv_obj_remove_style_all(ui.content);
    lv_obj_set_size(ui.content, lv_pct(100), lv_pct(84));
    lv_obj_align(ui.content, LV_ALIGN_TOP_MID, 0, 32);
    lv_obj_set_flex_flow(ui.content, LV_FLEX_FLOW_COLUMN);
    lv_obj_set_style_pad_left(ui.content, 16, LV_PART_MAIN);
    lv_obj_set_style_pad_right(ui.content, 16, LV_PART_MAIN);
    lv_obj_set_style_pad_row(ui.content, 6, LV_PART_MAIN);
    lv_obj_clear_flag(ui.content, LV_OBJ_FLAG_SCROLLABLE); /* two rows never scroll */
    for (int32_t i = 0; i < s32Num && i < kRowNum; i++) {
        lv_obj_t *row = lv_obj_create(ui.content);
        lv_obj_remove_style_all(row);
        lv_obj_set_size(row, lv_pct(100), kRowH);
        lv_obj_clear_flag(row, LV_OBJ_FLAG_SCROLLABLE);
        lv_obj_t *btn = lv_btn_create(row);
        lv_obj_remove_style_all(btn);
        lv_obj_set_size(btn, lv_pct(98), lv_pct(100));
        lv_obj_align(btn, LV_ALIGN_TOP_MID, 0, 0);
        lv_obj_set_style_radius(btn, 10, LV_PART_MAIN);
        lv_obj_set_style_bg_color(btn, lv_color_white(), LV_PART_MAIN);
        lv_obj_set_style_bg_opa(btn, LV_OPA_0, LV_PART_MAIN);
        lv_obj_set_style_bg_opa(btn, 51, LV_STATE_FOCUSED);
        lv_obj_set_style_transition(btn, &s_stFade, LV_STATE_FOCUSED);
        lv_obj_add_flag(btn, LV_OBJ_FLAG_SCROLL_ON_FOCUS);
        lv_obj_add_event_cb(btn, event_cb, LV_EVENT_ALL, user_data);
        lv_obj_t *label = lv_label_create(btn);
        lv_obj_set_size(label, lv_pct(80), 30);
        lv_label_set_long_mode(label, LV_LABEL_LONG_DOT);
        lv_obj_set_style_text_color(label, lv_color_white(), LV_PART_MAIN);
        lv_obj_set_style_text_opa(label, 178, LV_PART_MAIN);
        lv_obj_set_style_text_opa(label, LV_OPA_COVER, LV_STATE_FOCUSED);
        lv_label_freetype_set_text_normal(label, SYS_PATH_FONT_BODY, 22, LV_PART_MAIN);
        lv_label_set_text(label, "");
        lv_label_set_text_tr(label, ppcLabels[i]);
        lv_obj_align(label, LV_ALIGN_LEFT_MID, 12, 2);
        lv_obj_t *arrow = lv_img_create(btn);
        SetImg(arrow, "setmenu/sub/com/arrow.png");
        lv_obj_align(arrow, LV_ALIGN_RIGHT_MID, -8, 0);
        lv_obj_set_style_img_opa(arrow, 127, LV_PART_MAIN);
        lv_obj_set_style_img_opa(arrow, LV_OPA_COVER, LV_STATE_FOCUSED);
        ui.row_btn[i] = btn;
        ui.row_label[i] = label;
        ui.row_arrow[i] = arrow;
    }
}

void SysSetingResetView::CreateResetAskPage(lv_obj_t *root) {
    lv_obj_t *col = CreateFlowScreen(root);
    ui.text = AddText(col, "LANG_RES_ID_RESET_TOASTUP", 22);
    ui.sub_text = AddText(col, "LANG_RES_ID_RESET_TOASTDOWN", 17);
    lv_obj_set_style_text_opa(ui.sub_text, 204, LV_PART_MAIN);
}

void SysSetingResetView::CreateResetOkPage(lv_obj_t *root) {
    lv_obj_t *col = CreateFlowScreen(root);
    ui.picture = AddPicture(col, "setmenu/sub/com/opersuccess.png", false);
    ui.text = AddText(col, "LANG_RES_ID_RESET_SUCCESS_REBOOT", 20);
}

void SysSetingResetView::CreateFormatAskPage(lv_obj_t *root, int32_t s32Type) {
    ui.text = AddText(CreateFlowScreen(root), TextsOf(s32Type).pcAsk, 22);
}

void SysSetingResetView::CreateFormatingPage(lv_obj_t *root, int32_t s32Type) {
    lv_obj_t *col = CreateFlowScreen(root);
    ui.picture = AddPicture(col, "loading.gif", true);
    ui.text = AddText(col, TextsOf(s32Type).pcFormating, 20);
}

void SysSetingResetView::CreateFormatSuccessPage(lv_obj_t *root, int32_t s32Type) {
    lv_obj_t *col = CreateFlowScreen(root);
    ui.picture = AddPicture(col, "setmenu/sub/com/opersuccess.png", false);
    ui.text = AddText(col, TextsOf(s32Type).pcSuccess, 20);
}

void SysSetingResetView::CreateFormatFailPage(lv_obj_t *root, int32_t s32Type) {
    ui.text = AddText(CreateFlowScreen(root), TextsOf(s32Type).pcFailure, 22);
}

void SysSetingResetView::ShowCancelConfirm(bool bCancel, bool bConfirm) {
    const struct {
        lv_obj_t *obj;
        bool bShow;
    } astBtns[] = {{ui.btn.back, bCancel}, {ui.btn.confirm, bConfirm}};
    for (const auto &b : astBtns) {
        if (b.obj == nullptr) {
            continue;
        }
        if (b.bShow) {
            lv_obj_clear_flag(b.obj, LV_OBJ_FLAG_HIDDEN);
        } else {
            lv_obj_add_flag(b.obj, LV_OBJ_FLAG_HIDDEN);
        }
    }
}

void SysSetingResetView::DeleteScreen() {
    if (ui.cur_cont_row != nullptr) {
        lv_obj_del(ui.cur_cont_row);
    }
    ui.cur_cont_row = nullptr;
    ui.content = nullptr;
    ui.text = nullptr;
    ui.sub_text = nullptr;
    ui.picture = nullptr;
    for (int32_t i = 0; i < kRowNum; i++) {
        ui.row_btn[i] = nullptr;
        ui.row_label[i] = nullptr;
        ui.row_arrow[i] = nullptr;
    }
}

void SysSetingResetView::Delete() {
    DeleteScreen();
    if (ui.anim_timeline != nullptr) {
        lv_anim_timeline_del(ui.anim_timeline);
    }
    ui = {};
}

} // namespace Page
