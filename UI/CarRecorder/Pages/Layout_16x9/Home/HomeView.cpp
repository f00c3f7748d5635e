#include "HomeView.h"

#include <string.h>

#include <initializer_list>

#include "log.h"
#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace Page {

namespace {

constexpr uint32_t kToastBg = 0x15191f;   /* warning pages */
constexpr uint32_t kWaitingBg = 0x050607; /* the darker waiting page */
constexpr int32_t kBarH = 40;

const lv_style_prop_t s_astFadeProps[] = {LV_STYLE_OPA, LV_STYLE_PROP_INV};

void ButtonY(void *var, int32_t v) {
    lv_obj_set_y(static_cast<lv_obj_t *>(var), v);
}

} // namespace

void HomeView::SetHidden(lv_obj_t *obj, bool bHidden) {
    if (obj == nullptr) {
        return;
    }
    if (bHidden) {
        lv_obj_add_flag(obj, LV_OBJ_FLAG_HIDDEN);
    } else {
        lv_obj_clear_flag(obj, LV_OBJ_FLAG_HIDDEN);
    }
}

void HomeView::SetImg(lv_obj_t *obj, const char *pcRelPath) {
    lv_img_set_src(obj, UI_ResPath(pcRelPath, UI_RES_PIC_ROOT));
}

void HomeView::Create(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data) {
    m_root = root;
    lv_obj_set_style_bg_opa(root, LV_OPA_TRANSP, LV_PART_MAIN);
    lv_obj_set_size(root, lv_pct(100), lv_pct(100));

    ui.bottom_bar = lv_obj_create(root);
    lv_obj_remove_style_all(ui.bottom_bar);
    lv_obj_set_size(ui.bottom_bar, lv_pct(100), kBarH);
    lv_obj_align(ui.bottom_bar, LV_ALIGN_BOTTOM_LEFT, 0, 0);
    lv_obj_clear_flag(ui.bottom_bar, LV_OBJ_FLAG_SCROLLABLE);

    struct {
        lv_obj_t **ppObj;
        const char *pcIcon;
        int32_t s32Pct;
    } const astButtons[] = {
        {&ui.album_btn, "home/album_icon.png", 10},
        {&ui.seting_btn, "home/seting_icon.png", 33},
        {&ui.mic_btn, "home/mic_on_icon.png", 57},
        {&ui.switch_btn, "home/switch_icon.png", 80},
    };
    for (const auto &b : astButtons) {
        lv_obj_t *btn = lv_img_create(ui.bottom_bar);
        SetImg(btn, b.pcIcon);
        lv_obj_align(btn, LV_ALIGN_LEFT_MID, lv_pct(b.s32Pct), 0);
        lv_obj_add_flag(btn, LV_OBJ_FLAG_CLICKABLE);
        lv_obj_add_event_cb(btn, event_cb, LV_EVENT_ALL, user_data);
        *b.ppObj = btn;
    }
    SetHidden(ui.album_btn, true);

    lv_style_transition_dsc_init(&m_stFade, s_astFadeProps, lv_anim_path_linear, 300, 0, nullptr);

    ui.progress_bar = lv_bar_create(root);
    lv_obj_set_size(ui.progress_bar, lv_pct(100), 30);
    lv_obj_align(ui.progress_bar, LV_ALIGN_BOTTOM_MID, 0, 0);
    lv_bar_set_range(ui.progress_bar, 0, 20000);
    lv_obj_set_style_bg_opa(ui.progress_bar, LV_OPA_TRANSP, LV_PART_MAIN);
    lv_obj_set_style_bg_opa(ui.progress_bar, LV_OPA_COVER, LV_PART_INDICATOR);
    lv_obj_set_style_bg_color(ui.progress_bar, lv_color_hex(0x2263d3), LV_PART_INDICATOR);
    lv_obj_set_style_radius(ui.progress_bar, 3, LV_PART_INDICATOR);

    ui.progress_label = lv_label_create(root);
    lv_obj_set_style_text_color(ui.progress_label, lv_color_white(), LV_PART_MAIN);
    lv_label_freetype_set_text_normal(ui.progress_label, SYS_PATH_FONT_BODY, 20, LV_PART_MAIN);
    lv_obj_set_style_text_align(ui.progress_label, LV_TEXT_ALIGN_CENTER, LV_PART_MAIN);
    lv_label_set_text(ui.progress_label, "");
    lv_obj_align(ui.progress_label, LV_ALIGN_BOTTOM_MID, 0, -2);

    for (lv_obj_t *obj : {ui.progress_bar, ui.progress_label}) {
        lv_obj_set_style_opa(obj, LV_OPA_TRANSP, LV_STATE_USER_1);
        lv_obj_set_style_transition(obj, &m_stFade, LV_STATE_DEFAULT);
        lv_obj_set_style_transition(obj, &m_stFade, LV_STATE_USER_1);
        lv_obj_add_state(obj, LV_STATE_USER_1);
    }

    /* The buttons rise into place one after another. */
    ui.anim_timeline = lv_anim_timeline_create();
    const AnimTimelineRow astRows[] = {
        {0, ui.album_btn, ButtonY, kBarH, 0, 300, lv_anim_path_ease_out, true},
        {60, ui.seting_btn, ButtonY, kBarH, 0, 300, lv_anim_path_ease_out, true},
        {120, ui.mic_btn, ButtonY, kBarH, 0, 300, lv_anim_path_ease_out, true},
        {180, ui.switch_btn, ButtonY, kBarH, 0, 300, lv_anim_path_ease_out, true},
        {0, nullptr, nullptr, 0, 0, 0, nullptr, false},
    };
    AnimTimelineAddTable(ui.anim_timeline, astRows);
}

void HomeView::Delete() {
    if (ui.anim_timeline != nullptr) {
        lv_anim_timeline_del(ui.anim_timeline);
    }
    ui = {};
    m_root = nullptr;
}

void HomeView::ShowProgress(bool bShow) {
    for (lv_obj_t *obj : {ui.progress_bar, ui.progress_label}) {
        if (bShow) {
            lv_obj_clear_state(obj, LV_STATE_USER_1);
        } else {
            lv_obj_add_state(obj, LV_STATE_USER_1);
        }
    }
    SetHidden(ui.bottom_bar, bShow);
}

void HomeView::SetProgress(int32_t s32Value, const char *pcText) {
    lv_bar_set_value(ui.progress_bar, s32Value, LV_ANIM_OFF);
    if (pcText != nullptr && strcmp(lv_label_get_text(ui.progress_label), pcText) != 0) {
        lv_label_set_text(ui.progress_label, pcText);
    }
}

lv_obj_t *HomeView::CreateToast(lv_obj_t **ppstMember, const char *pcName, uint32_t u32Color) {
    LOG_INFO("\n");
    if (*ppstMember != nullptr) {
        LOG_INFO("page is show!\n");
        return nullptr;
    }
    if (m_root == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", pcName);
        return nullptr;
    }
    lv_obj_t *page = lv_obj_create(m_root);
    lv_obj_remove_style_all(page);
    lv_obj_set_size(page, lv_pct(100), lv_pct(100));
    lv_obj_align(page, LV_ALIGN_TOP_LEFT, 0, 0);
    lv_obj_clear_flag(page, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_set_style_bg_color(page, lv_color_hex(u32Color), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(page, LV_OPA_COVER, LV_PART_MAIN);
    *ppstMember = page;
    return page;
}

lv_obj_t *HomeView::AddText(lv_obj_t *parent, const char *pcId, uint16_t u16Size) {
    lv_obj_t *label = lv_label_create(parent);
    lv_obj_set_width(label, lv_pct(85));
    lv_label_set_long_mode(label, LV_LABEL_LONG_WRAP);
    lv_obj_set_style_text_color(label, lv_color_white(), LV_PART_MAIN);
    lv_obj_set_style_text_line_space(label, 5, LV_PART_MAIN);
    lv_obj_set_style_text_align(label, LV_TEXT_ALIGN_CENTER, LV_PART_MAIN);
    lv_label_freetype_set_text_normal(label, SYS_PATH_FONT_BODY, u16Size, LV_PART_MAIN);
    lv_label_set_text(label, "");
    lv_label_set_text_tr(label, pcId);
    return label;
}

static void DeleteToast(lv_obj_t **ppstMember, const char *pcName) {
    if (*ppstMember == nullptr) {
        LOG_INFO("pointer[%s] is NULL\n", pcName);
        return;
    }
    lv_obj_del(*ppstMember);
    *ppstMember = nullptr;
}

/* Rear and inside pages: text label, title label and picture (children 0, 1, 2); the title
 * and the picture show only for the camera error states that have them. */
static void FillCamPage(HomeView &view, lv_obj_t *page, lv_obj_t *label) {
    (void)view;
    lv_obj_align(label, LV_ALIGN_TOP_MID, 0, 55);
    lv_obj_t *title = lv_label_create(page);
    lv_obj_set_width(title, lv_pct(85));
    lv_label_set_long_mode(title, LV_LABEL_LONG_WRAP);
    lv_obj_set_style_text_color(title, lv_color_white(), LV_PART_MAIN);
    lv_obj_set_style_text_opa(title, 153, LV_PART_MAIN);
    lv_obj_set_style_text_align(title, LV_TEXT_ALIGN_CENTER, LV_PART_MAIN);
    lv_label_freetype_set_text_normal(title, SYS_PATH_FONT_BODY, 20, LV_PART_MAIN);
    lv_label_set_text(title, "");
    lv_obj_align(title, LV_ALIGN_TOP_MID, 0, 120);
    lv_obj_add_flag(title, LV_OBJ_FLAG_HIDDEN);
    lv_obj_t *img = lv_img_create(page);
    lv_obj_align(img, LV_ALIGN_BOTTOM_MID, 0, -6);
    lv_obj_add_flag(img, LV_OBJ_FLAG_HIDDEN);
}

void HomeView::CreateRearWarningpage() {
    lv_obj_t *page = CreateToast(&ui.RearFailToast, "ui.RearFailToast", kToastBg);
    if (page != nullptr) {
        FillCamPage(*this, page, AddText(page, "LANG_RES_ID_CHANGE_REAR_ERROR", 24));
        lv_obj_move_foreground(page);
    }
}

void HomeView::DelRearWarningpage() {
    DeleteToast(&ui.RearFailToast, "ui.RearFailToast");
}

void HomeView::CreateFrontWarningpage() {
    lv_obj_t *page = CreateToast(&ui.FrontFailToast, "ui.FrontFailToast", kToastBg);
    if (page != nullptr) {
        lv_obj_align(AddText(page, "LANG_RES_ID_CHANGE_FRONT_ERROR", 24), LV_ALIGN_TOP_MID, 0, 55);
        lv_obj_move_foreground(page);
    }
}

void HomeView::DelFrontWarningpage() {
    DeleteToast(&ui.FrontFailToast, "ui.FrontFailToast");
}

void HomeView::CreateInsideWarningpage() {
    lv_obj_t *page = CreateToast(&ui.InsideFailToast, "ui.InsideFailToast", kToastBg);
    if (page != nullptr) {
        FillCamPage(*this, page, AddText(page, "LANG_RES_ID_CHANGE_INSIDE_ERROR", 24));
        lv_obj_move_foreground(page);
    }
}

void HomeView::DelInsideWarningpage() {
    DeleteToast(&ui.InsideFailToast, "ui.InsideFailToast");
}

/* The device-link, Wi-Fi and high-temperature pages have big texts: they take the whole width
 * with tight lines, so that two lines of each fit (above the go-back button) in every language. */
static bool LongTexts() {
    for (const char *pcCode : {"GE", "FR", "RU", "PL", "PT", "ES", "HL", "SK", "TU", "VN"}) {
        if (Lang_CodeContains(pcCode)) {
            return true;
        }
    }
    return false;
}

static void WidePageText(lv_obj_t *label) {
    lv_obj_set_width(label, lv_pct(94));
    lv_obj_set_style_text_line_space(label, 1, LV_PART_MAIN);
}

void HomeView::CreateKOvarWarningpage(bool bIsMainDev, int eTempState, bool bWifiOn) {
    LOG_INFO("bIsMainDev = %d  eTempState = %d\n", bIsMainDev ? 1 : 0, eTempState);
    lv_obj_t *page = CreateToast(&ui.KovarFailToast, "ui.KovarFailToast", kToastBg);
    if (page == nullptr) {
        return;
    }
    lv_obj_t *label = AddText(
        page, bWifiOn ? "LANG_RES_ID_CHANGE_KOVAR_ERROR" : "LANG_RES_ID_CHANGE_KOVAR_ERROR_NO_WIFI", 28);
    WidePageText(label);
    lv_obj_align(label, LV_ALIGN_TOP_MID, 0, 36);
    lv_obj_t *title = AddText(page,
                              bWifiOn ? "LANG_RES_ID_CHANGE_KOVAR_ERROR_TITLE"
                                      : "LANG_RES_ID_CHANGE_KOVAR_ERROR_TITLE_NO_WIFI",
                              22);
    lv_obj_set_style_text_opa(title, 153, LV_PART_MAIN);
    WidePageText(title);
    lv_obj_align_to(title, label, LV_ALIGN_OUT_BOTTOM_MID, 0, 2);
    lv_obj_move_foreground(page);
}

void HomeView::DelKovarWarningpage() {
    DeleteToast(&ui.KovarFailToast, "ui.KovarFailToast");
}

void HomeView::CreateWaitingpage() {
    lv_obj_t *page = CreateToast(&ui.KovarWaitToast, "ui.KovarWaitToast", kWaitingBg);
    if (page == nullptr) {
        return;
    }
    lv_obj_t *gif = lv_gif_create(page);
    lv_gif_set_src(gif, UI_ResPath("loading.gif", UI_RES_GIF_ROOT));
    lv_obj_center(gif);
    lv_obj_add_state(ui.switch_btn, LV_STATE_USER_1);
    lv_obj_move_foreground(page);
}

void HomeView::DelWaitingpage() {
    if (ui.KovarWaitToast != nullptr && ui.switch_btn != nullptr) {
        lv_obj_clear_state(ui.switch_btn, LV_STATE_USER_1);
    }
    DeleteToast(&ui.KovarWaitToast, "ui.KovarWaitToast");
}

/* The Wi-Fi and high-temperature pages leave one button: the album button as "go back". */
static void OnlyGoBack(HomeView &view) {
    HomeView::SetImg(view.ui.album_btn, "home/goback_icon.png");
    HomeView::SetHidden(view.ui.album_btn, false);
    HomeView::SetHidden(view.ui.seting_btn, true);
    HomeView::SetHidden(view.ui.mic_btn, true);
    HomeView::SetHidden(view.ui.switch_btn, true);
    lv_obj_move_foreground(view.ui.bottom_bar);
}

void HomeView::RestoreButtons() {
    if (ui.OpenWifiToast != nullptr || ui.HighTempToast != nullptr) {
        return; /* the other page still needs the go-back button */
    }
    SetImg(ui.album_btn, "home/album_icon.png");
    SetHidden(ui.album_btn, true);
    SetHidden(ui.seting_btn, false);
    SetHidden(ui.mic_btn, false);
    SetHidden(ui.switch_btn, false);
}

void HomeView::CreateOpenWifipage() {
    lv_obj_t *page = CreateToast(&ui.OpenWifiToast, "ui.OpenWifiToast", kToastBg);
    if (page == nullptr) {
        return;
    }
    /* Languages with long words take a size smaller. */
    const bool bLong = LongTexts();
    lv_obj_t *label = AddText(page, "LANG_RES_ID_START_WIFI", bLong ? 28 : 32);
    WidePageText(label);
    lv_obj_align(label, LV_ALIGN_TOP_MID, 0, 6);
    lv_obj_t *title = AddText(page, "LANG_RES_ID_START_WIFI_TITLE", bLong ? 22 : 26);
    lv_obj_set_style_text_opa(title, 153, LV_PART_MAIN);
    WidePageText(title);
    lv_obj_align_to(title, label, LV_ALIGN_OUT_BOTTOM_MID, 0, 4);
    lv_obj_move_foreground(page);
    OnlyGoBack(*this);
}

void HomeView::DelOpenWifipage() {
    DeleteToast(&ui.OpenWifiToast, "ui.OpenWifiToast");
    RestoreButtons();
}

void HomeView::CreateHighTempProtectPage() {
    lv_obj_t *page = CreateToast(&ui.HighTempToast, "ui.HighTempToast", kToastBg);
    if (page == nullptr) {
        return;
    }
    const bool bLong = LongTexts();
    lv_obj_t *label = AddText(page, "LANG_RES_ID_WIFI_MODE_UNABLE_TITLE", bLong ? 28 : 32);
    WidePageText(label);
    lv_obj_align(label, LV_ALIGN_TOP_MID, 0, 6);
    lv_obj_t *tip = AddText(page, "LANG_RES_ID_WIFI_MODE_UNABLE_TIP", bLong ? 22 : 26);
    lv_obj_set_style_text_opa(tip, 153, LV_PART_MAIN);
    WidePageText(tip);
    lv_obj_align_to(tip, label, LV_ALIGN_OUT_BOTTOM_MID, 0, 4);
    lv_obj_move_foreground(page);
    OnlyGoBack(*this);
}

void HomeView::DelHighTempProtectPage() {
    DeleteToast(&ui.HighTempToast, "ui.HighTempToast");
    RestoreButtons();
}

bool HomeView::SetCamErrTexts(bool bInside, int32_t s32State) {
    struct Row {
        int32_t s32State;
        const char *apcText[2][2]; /* rear, inside: label, title */
        const char *apcImg[2];
        bool bFull; /* title and picture shown, label at the top */
    };
    static const Row s_astRows[] = {
        {0,
         {{"LANG_RES_ID_CHANGE_REAR_ERROR", "LANG_RES_ID_CHANGE_REAR_ERROR_TITLE"},
          {"LANG_RES_ID_CHANGE_INSIDE_PLOGOUT", "LANG_RES_ID_CHANGE_INSIDE_PLOGOUT_TITLE"}},
         {"home/rear_warning.png", "home/rear_warning.png"},
         true},
        {6,
         {{"LANG_RES_ID_CHANGE_DIGICAM_ERROR", "LANG_RES_ID_CHANGE_DIGICAM_ERROR_TITLE"},
          {"LANG_RES_ID_CHANGE_INSIDE_ERROR", "LANG_RES_ID_CHANGE_INSIDE_ERROR_TITLE"}},
         {"home/digicam_warning.png", "home/inside_warning.png"},
         true},
        {7,
         {{"LANG_RES_ID_CHANGE_DIGICAM_STREAM_ERROR", nullptr},
          {"LANG_RES_ID_CHANGE_INSIDE_STREAM_ERROR", nullptr}},
         {nullptr, nullptr},
         false},
        {8,
         {{"LANG_RES_ID_CHANGE_DIGICAM_DEV_ERROR", nullptr},
          {"LANG_RES_ID_CHANGE_INSIDE_DEV_ERROR", nullptr}},
         {nullptr, nullptr},
         false},
    };
    lv_obj_t *page = bInside ? ui.InsideFailToast : ui.RearFailToast;
    if (page == nullptr || lv_obj_get_child_cnt(page) < 3) {
        return false;
    }
    for (const Row &r : s_astRows) {
        if (r.s32State != s32State) {
            continue;
        }
        int k = bInside ? 1 : 0;
        lv_obj_t *label = lv_obj_get_child(page, 0);
        lv_obj_t *title = lv_obj_get_child(page, 1);
        lv_obj_t *img = lv_obj_get_child(page, 2);
        lv_label_set_text_tr(label, r.apcText[k][0]);
        if (r.bFull) {
            lv_label_set_text_tr(title, r.apcText[k][1]);
            SetImg(img, r.apcImg[k]);
            lv_obj_align(label, LV_ALIGN_TOP_MID, 0, 55);
            lv_obj_align_to(title, label, LV_ALIGN_OUT_BOTTOM_MID, 0, 4);
            SetHidden(title, false);
            SetHidden(img, false);
        } else {
            lv_obj_align(label, LV_ALIGN_CENTER, 0, 0);
            SetHidden(title, true);
            SetHidden(img, true);
        }
        SetHidden(page, false);
        return true;
    }
    return false;
}

} // namespace Page
