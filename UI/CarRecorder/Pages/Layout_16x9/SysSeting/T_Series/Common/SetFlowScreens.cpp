#include "SetFlowScreens.h"

#include <initializer_list>

#include "log.h"
#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace Page {

namespace {

constexpr lv_coord_t kNaviH = 40;
constexpr lv_coord_t kRowH = 46;

bool TallTexts() {
    for (const char *pcCode : {"CN", "TW", "GE", "ES", "RU", "PL", "PT"}) {
        if (Lang_CodeContains(pcCode)) {
            return true;
        }
    }
    return false;
}

void ButtonY(void *var, int32_t v) {
    lv_obj_set_y(static_cast<lv_obj_t *>(var), v);
}

const lv_style_prop_t s_aeFadeProps[] = {LV_STYLE_BG_OPA, LV_STYLE_TEXT_OPA, LV_STYLE_IMG_OPA,
                                         LV_STYLE_IMG_RECOLOR_OPA, LV_STYLE_PROP_INV};

const lv_style_transition_dsc_t *Fade() {
    static lv_style_transition_dsc_t s_stFade;
    static bool s_bInit = false;
    if (!s_bInit) {
        lv_style_transition_dsc_init(&s_stFade, s_aeFadeProps, lv_anim_path_linear, 200, 0, nullptr);
        s_bInit = true;
    }
    return &s_stFade;
}

} // namespace

void SetFlow_CreateNaviBar(lv_obj_t *root, SetNaviBar *pstBar, const char *const apcIcons[4],
                           lv_event_cb_t event_cb, void *user_data) {
    lv_obj_set_style_bg_color(root, lv_color_hex(kSetPageBg), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(root, LV_OPA_COVER, LV_PART_MAIN);
    pstBar->cont = lv_obj_create(root);
    lv_obj_remove_style_all(pstBar->cont);
    lv_obj_set_size(pstBar->cont, lv_pct(100), kNaviH);
    lv_obj_align(pstBar->cont, LV_ALIGN_BOTTOM_LEFT, 0, 0);
    lv_obj_set_style_bg_color(pstBar->cont, lv_color_hex(kSetPageBg), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(pstBar->cont, LV_OPA_COVER, LV_PART_MAIN);
    lv_obj_clear_flag(pstBar->cont, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_t **appstImgs[4] = {&pstBar->back, &pstBar->up, &pstBar->down, &pstBar->confirm};
    const int32_t as32Pct[4] = {10, 33, 57, 80};
    for (int i = 0; i < 4; i++) {
        lv_obj_t *img = lv_img_create(pstBar->cont);
        lv_img_set_src(img, UI_ResPath(apcIcons[i], UI_RES_PIC_ROOT));
        lv_obj_align(img, LV_ALIGN_LEFT_MID, lv_pct(as32Pct[i]), 0);
        lv_obj_add_flag(img, LV_OBJ_FLAG_CLICKABLE);
        lv_obj_set_style_img_recolor(img, lv_color_black(), LV_STATE_PRESSED);
        lv_obj_set_style_img_recolor_opa(img, 153, LV_STATE_PRESSED);
        lv_obj_set_style_img_recolor(img, lv_color_black(), LV_STATE_USER_1);
        lv_obj_set_style_img_recolor_opa(img, 102, LV_STATE_USER_1);
        lv_obj_set_style_transition(img, Fade(), LV_STATE_PRESSED);
        lv_obj_add_event_cb(img, event_cb, LV_EVENT_ALL, user_data);
        *appstImgs[i] = img;
    }
    LOG_INFO("sysset page create confirm key[%p] success", (void *)pstBar->confirm);
    pstBar->anim_timeline = lv_anim_timeline_create();
    const AnimTimelineRow astRows[] = {
        {0, pstBar->back, ButtonY, kNaviH, 0, 300, lv_anim_path_ease_out, true},
        {60, pstBar->up, ButtonY, kNaviH, 0, 300, lv_anim_path_ease_out, true},
        {120, pstBar->down, ButtonY, kNaviH, 0, 300, lv_anim_path_ease_out, true},
        {180, pstBar->confirm, ButtonY, kNaviH, 0, 300, lv_anim_path_ease_out, true},
        {0, nullptr, nullptr, 0, 0, 0, nullptr, false},
    };
    AnimTimelineAddTable(pstBar->anim_timeline, astRows);
}

void SetFlow_DeleteNaviBar(SetNaviBar *pstBar) {
    if (pstBar->anim_timeline != nullptr) {
        lv_anim_timeline_del(pstBar->anim_timeline);
    }
    *pstBar = {};
}

void SetFlow_ShowImg(lv_obj_t *obj, bool bShow) {
    if (obj == nullptr) {
        return;
    }
    if (bShow) {
        lv_obj_clear_flag(obj, LV_OBJ_FLAG_HIDDEN);
    } else {
        lv_obj_add_flag(obj, LV_OBJ_FLAG_HIDDEN);
    }
}

lv_obj_t *SetFlow_CreateScreen(lv_obj_t *root) {
    lv_obj_t *cont = lv_obj_create(root);
    lv_obj_remove_style_all(cont);
    lv_obj_set_size(cont, lv_pct(100), lv_disp_get_ver_res(nullptr) - 30);
    lv_obj_align(cont, LV_ALIGN_TOP_MID, 0, 0);
    lv_obj_set_style_bg_color(cont, lv_color_hex(kSetPageBg), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(cont, LV_OPA_COVER, LV_PART_MAIN);
    lv_obj_clear_flag(cont, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_move_background(cont);
    return cont;
}

lv_obj_t *SetFlow_CreateColumn(lv_obj_t *screen) {
    lv_obj_t *col = lv_obj_create(screen);
    lv_obj_remove_style_all(col);
    lv_obj_set_size(col, lv_pct(100), lv_disp_get_ver_res(nullptr) - kNaviH);
    lv_obj_align(col, LV_ALIGN_TOP_MID, 0, TallTexts() ? -4 : 0);
    lv_obj_set_flex_flow(col, LV_FLEX_FLOW_COLUMN);
    lv_obj_set_flex_align(col, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER);
    lv_obj_set_style_pad_row(col, 6, LV_PART_MAIN);
    lv_obj_clear_flag(col, LV_OBJ_FLAG_SCROLLABLE);
    return col;
}

lv_obj_t *SetFlow_AddText(lv_obj_t *parent, const char *pcId, uint16_t u16Size) {
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

lv_obj_t *SetFlow_AddPicture(lv_obj_t *parent, const char *pcPath, bool bGif) {
    lv_obj_t *pic = bGif ? lv_gif_create(parent) : lv_img_create(parent);
    if (bGif) {
        lv_gif_set_src(pic, UI_ResPath(pcPath, UI_RES_GIF_ROOT));
    } else {
        lv_img_set_src(pic, UI_ResPath(pcPath, UI_RES_PIC_ROOT));
    }
    return pic;
}

void SetFlow_CreateRows(lv_obj_t *screen, lv_coord_t s32Y, const char *const *ppcLabels, int32_t s32Num,
                        SetRow *pstRows, bool bArrow, lv_event_cb_t event_cb, void *user_data) {
    lv_obj_t *content = lv_obj_create(screen);
    lv_obj_remove_style_all(content);
    lv_obj_set_size(content, lv_pct(100), LV_SIZE_CONTENT);
    lv_obj_align(content, LV_ALIGN_TOP_MID, 0, s32Y);
    lv_obj_set_flex_flow(content, LV_FLEX_FLOW_COLUMN);
    lv_obj_set_style_pad_left(content, 16, LV_PART_MAIN);
    lv_obj_set_style_pad_right(content, 16, LV_PART_MAIN);
    lv_obj_set_style_pad_row(content, 6, LV_PART_MAIN);
    lv_obj_clear_flag(content, LV_OBJ_FLAG_SCROLLABLE);
    for (int32_t i = 0; i < s32Num; i++) {
        lv_obj_t *btn = lv_btn_create(content);
        lv_obj_remove_style_all(btn);
        lv_obj_set_size(btn, lv_pct(98), kRowH);
        lv_obj_set_style_radius(btn, 10, LV_PART_MAIN);
        lv_obj_set_style_bg_color(btn, lv_color_white(), LV_PART_MAIN);
        lv_obj_set_style_bg_opa(btn, LV_OPA_0, LV_PART_MAIN);
        lv_obj_set_style_bg_opa(btn, 51, LV_STATE_FOCUSED);
        lv_obj_set_style_transition(btn, Fade(), LV_STATE_FOCUSED);
        lv_obj_add_flag(btn, LV_OBJ_FLAG_SCROLL_ON_FOCUS);
        lv_obj_add_event_cb(btn, event_cb, LV_EVENT_ALL, user_data);
        lv_obj_t *label = lv_label_create(btn);
        lv_obj_set_size(label, lv_pct(bArrow ? 80 : 90), 30);
        lv_label_set_long_mode(label, LV_LABEL_LONG_DOT);
        lv_obj_set_style_text_color(label, lv_color_white(), LV_PART_MAIN);
        lv_obj_set_style_text_opa(label, 178, LV_PART_MAIN);
        lv_obj_set_style_text_opa(label, LV_OPA_COVER, LV_STATE_FOCUSED);
        lv_label_freetype_set_text_normal(label, SYS_PATH_FONT_BODY, 22, LV_PART_MAIN);
        lv_label_set_text(label, "");
        lv_label_set_text_tr(label, ppcLabels[i]);
        lv_obj_align(label, LV_ALIGN_LEFT_MID, 12, 2);
        lv_obj_t *arrow = nullptr;
        if (bArrow) {
            arrow = lv_img_create(btn);
            lv_img_set_src(arrow, UI_ResPath("setmenu/sub/com/arrow.png", UI_RES_PIC_ROOT));
            lv_obj_align(arrow, LV_ALIGN_RIGHT_MID, -8, 0);
            lv_obj_set_style_img_opa(arrow, 127, LV_PART_MAIN);
            lv_obj_set_style_img_opa(arrow, LV_OPA_COVER, LV_STATE_FOCUSED);
        }
        pstRows[i] = {btn, label, arrow};
    }
}

void SetFlow_FocusRow(const SetRow *pstRow, bool bFocused) {
    const lv_state_t eStates = LV_STATE_FOCUSED | LV_STATE_FOCUS_KEY | LV_STATE_EDITED;
    lv_label_set_long_mode(pstRow->label, bFocused ? LV_LABEL_LONG_SCROLL_CIRCULAR : LV_LABEL_LONG_DOT);
    for (lv_obj_t *obj : {pstRow->label, pstRow->arrow}) {
        if (obj == nullptr) {
            continue;
        }
        if (bFocused) {
            lv_obj_add_state(obj, eStates);
        } else {
            lv_obj_clear_state(obj, eStates);
        }
    }
}

namespace {

/* Width in pixels of a language id's text in the rows' font. */
lv_coord_t RowTextWidth(const char *pcId) {
    if (pcId == nullptr) {
        return 0;
    }
    lv_obj_t *probe = lv_label_create(lv_layer_top());
    lv_label_freetype_set_text_normal(probe, SYS_PATH_FONT_BODY, 22, LV_PART_MAIN);
    lv_label_set_text(probe, "");
    if (lv_label_set_text_tr(probe, pcId) != 0) {
        lv_label_set_text(probe, pcId); /* options built at run time carry their text */
    }
    lv_point_t size = {0, 0};
    lv_txt_get_size(&size, lv_label_get_text(probe), lv_obj_get_style_text_font(probe, LV_PART_MAIN), 0, 0,
                    LV_COORD_MAX, LV_TEXT_FLAG_NONE);
    lv_obj_del(probe);
    return size.x;
}

} // namespace

int32_t SetRow_TextPct(const char *pcId) {
    /* A row's button is 98 % of the list's 288-pixel content. */
    const int32_t s32Row = 282;
    return (RowTextWidth(pcId) * 100 + s32Row - 1) / s32Row + 1;
}

void SetRow_FitWidths(PageCommonItem *pstRow, const char *pcValueId) {
    if (pcValueId == nullptr || pstRow->bHasSwitch) {
        pstRow->s32LabelW = pstRow->bHasSwitch ? 80 : 84;
        return;
    }
    /* Label and value share 85 % of a row. */
    const int32_t s32Room = 85;
    const int32_t s32Label = SetRow_TextPct(pstRow->pcLabel);
    const int32_t s32Value = SetRow_TextPct(pcValueId);
    if (s32Label + s32Value <= s32Room) {
        pstRow->s32LabelW = s32Room - s32Value;
        pstRow->s32ValueW = s32Value;
    } else if (s32Value <= 45) {
        /* An option's name stays whole; a long label scrolls when focused. */
        pstRow->s32ValueW = s32Value;
        pstRow->s32LabelW = s32Room - s32Value;
    } else {
        /* A value too long for any row (a date format) ends in dots after the whole label. */
        pstRow->s32LabelW = s32Label < 50 ? s32Label : 50;
        pstRow->s32ValueW = s32Room - pstRow->s32LabelW;
    }
}

const char *SetRow_ValueId(SysSetingModel &stModel, int32_t s32Pos) {
    const SetMenu *pstMenu = stModel.m_pstTopMenu;
    if (pstMenu == nullptr || s32Pos < 0 || s32Pos >= pstMenu->s32ItemNum ||
        pstMenu->GetDefaultValCB != nullptr) {
        return nullptr;
    }
    const SetMenu *pstSub = pstMenu->ppstItems[s32Pos]->pstSubMenu;
    if (pstSub == nullptr || pstSub->GetDefaultValCB == nullptr) {
        return nullptr;
    }
    const int32_t s32Opt = stModel.GetSubMenuDefVal(s32Pos) - pstMenu->ppstItems[s32Pos]->s32ItemId - 1;
    if (s32Opt < 0 || s32Opt >= pstSub->s32ItemNum) {
        return nullptr;
    }
    return pstSub->ppstItems[s32Opt]->pcLabel;
}

} // namespace Page
