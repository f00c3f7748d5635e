#include "SysSetingResetView.h"

namespace Page {

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
    static const char *const s_apcIcons[4] = {"setmenu/navibar/goback_icon.png",
                                              "setmenu/navibar/up_icon.png", "setmenu/navibar/down_icon.png",
                                              "setmenu/navibar/confirm_icon.png"};
    SetFlow_CreateNaviBar(root, &ui.btn, s_apcIcons, event_cb, user_data);
}

void SysSetingResetView::CreateMainList(lv_obj_t *root, const char *const *ppcLabels, lv_event_cb_t event_cb,
                                        void *user_data) {
    DeleteScreen();
    ui.cur_cont_row = SetFlow_CreateScreen(root);
    SetFlow_CreateRows(ui.cur_cont_row, 32, ppcLabels, kRowNum, ui.rows, true, event_cb, user_data);
}

lv_obj_t *SysSetingResetView::CreateFlow(lv_obj_t *root) {
    DeleteScreen();
    ui.cur_cont_row = SetFlow_CreateScreen(root);
    return SetFlow_CreateColumn(ui.cur_cont_row);
}

void SysSetingResetView::CreateResetAskPage(lv_obj_t *root) {
    lv_obj_t *col = CreateFlow(root);
    ui.text = SetFlow_AddText(col, "LANG_RES_ID_RESET_TOASTUP", 22);
    ui.sub_text = SetFlow_AddText(col, "LANG_RES_ID_RESET_TOASTDOWN", 17);
    lv_obj_set_style_text_opa(ui.sub_text, 204, LV_PART_MAIN);
}

void SysSetingResetView::CreateResetOkPage(lv_obj_t *root) {
    lv_obj_t *col = CreateFlow(root);
    ui.picture = SetFlow_AddPicture(col, "setmenu/sub/com/opersuccess.png", false);
    ui.text = SetFlow_AddText(col, "LANG_RES_ID_RESET_SUCCESS_REBOOT", 20);
}

void SysSetingResetView::CreateFormatAskPage(lv_obj_t *root, int32_t s32Type) {
    ui.text = SetFlow_AddText(CreateFlow(root), TextsOf(s32Type).pcAsk, 22);
}

void SysSetingResetView::CreateFormatingPage(lv_obj_t *root, int32_t s32Type) {
    lv_obj_t *col = CreateFlow(root);
    ui.picture = SetFlow_AddPicture(col, "loading.gif", true);
    ui.text = SetFlow_AddText(col, TextsOf(s32Type).pcFormating, 20);
}

void SysSetingResetView::CreateFormatSuccessPage(lv_obj_t *root, int32_t s32Type) {
    lv_obj_t *col = CreateFlow(root);
    ui.picture = SetFlow_AddPicture(col, "setmenu/sub/com/opersuccess.png", false);
    ui.text = SetFlow_AddText(col, TextsOf(s32Type).pcSuccess, 20);
}

void SysSetingResetView::CreateFormatFailPage(lv_obj_t *root, int32_t s32Type) {
    ui.text = SetFlow_AddText(CreateFlow(root), TextsOf(s32Type).pcFailure, 22);
}

void SysSetingResetView::ShowCancelConfirm(bool bCancel, bool bConfirm) {
    SetFlow_ShowImg(ui.btn.back, bCancel);
    SetFlow_ShowImg(ui.btn.confirm, bConfirm);
}

void SysSetingResetView::DeleteScreen() {
    lv_obj_t *pstScreen = ui.cur_cont_row;
    /* The rows leave the group first: removing a focused row focuses another one, whose focus
     * events must not meet rows half deleted. */
    for (SetRow &row : ui.rows) {
        if (row.btn != nullptr) {
            lv_group_remove_obj(row.btn);
        }
        row = {};
    }
    if (pstScreen != nullptr) {
        /* Deleted after the event that left it: a row's click may end the row's own screen, and
         * the input device still sends that row the rest of the click. */
        lv_obj_add_flag(pstScreen, LV_OBJ_FLAG_HIDDEN);
        lv_obj_del_async(pstScreen);
    }
    ui.cur_cont_row = nullptr;
    ui.text = nullptr;
    ui.sub_text = nullptr;
    ui.picture = nullptr;
}

void SysSetingResetView::Delete() {
    DeleteScreen();
    SetFlow_DeleteNaviBar(&ui.btn);
    ui = {};
}

} // namespace Page
