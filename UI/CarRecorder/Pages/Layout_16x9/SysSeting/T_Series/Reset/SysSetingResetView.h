/* The reset and format page's widgets: the navigation bar, the two-row main list and the
 * full-width screens of the two flows (ask, progress, result). One screen exists at a time. */
#ifndef SYS_SETING_RESET_VIEW_H
#define SYS_SETING_RESET_VIEW_H

#include <stdint.h>

#include "SetFlowScreens.h"
#include "lvgl.h"

namespace Page {

class SysSetingResetView {
  public:
    static constexpr int32_t kRowNum = 2;
    /* The screen texts of one format type (0 storage card, 1 internal storage). */
    struct FormatTexts {
        const char *pcAsk;
        const char *pcFormating;
        const char *pcSuccess;
        const char *pcFailure;
    };
    static const FormatTexts &TextsOf(int32_t s32Type);

    struct {
        SetNaviBar btn;
        lv_obj_t *cur_cont_row; /* the current screen (main list or a flow screen) */
        SetRow rows[kRowNum];   /* main list only */
        lv_obj_t *text;         /* the flow screen's main text */
        lv_obj_t *sub_text;     /* the reset ask page's second line */
        lv_obj_t *picture;      /* result picture or progress animation */
    } ui = {};

    /* The navigation bar on root; its four images get event_cb with user_data. */
    void CreateBottomBtns(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data);
    /* The main list with the rows' labels (language ids); every row button gets event_cb. */
    void CreateMainList(lv_obj_t *root, const char *const *ppcLabels, lv_event_cb_t event_cb,
                        void *user_data);
    void CreateResetAskPage(lv_obj_t *root);
    void CreateResetOkPage(lv_obj_t *root);
    void CreateFormatAskPage(lv_obj_t *root, int32_t s32Type);
    void CreateFormatingPage(lv_obj_t *root, int32_t s32Type);
    void CreateFormatSuccessPage(lv_obj_t *root, int32_t s32Type);
    void CreateFormatFailPage(lv_obj_t *root, int32_t s32Type);
    /* Deletes the current screen. */
    void DeleteScreen();
    void Delete();

    /* Shows or hides the go-back (cancel) and confirm images. */
    void ShowCancelConfirm(bool bCancel, bool bConfirm);

  private:
    lv_obj_t *CreateFlow(lv_obj_t *root);
};

} // namespace Page

#endif /* SYS_SETING_RESET_VIEW_H */
