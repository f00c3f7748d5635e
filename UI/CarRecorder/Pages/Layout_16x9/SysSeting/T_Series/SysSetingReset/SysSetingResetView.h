/* The reset and format page's widgets: the navigation bar, the two-row main list and the
 * full-width screens of the two flows (ask, progress, result). One screen exists at a time. */
#ifndef SYS_SETING_RESET_VIEW_H
#define SYS_SETING_RESET_VIEW_H

#include <stdint.h>

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
        struct {
            lv_obj_t *cont;
            lv_obj_t *back;
            lv_obj_t *up;
            lv_obj_t *down;
            lv_obj_t *confirm;
        } btn;
        lv_anim_timeline_t *anim_timeline;
        lv_obj_t *cur_cont_row; /* the current screen (list container or a flow screen) */
        lv_obj_t *content;      /* the list's scrolling content (main list only) */
        lv_obj_t *row_btn[kRowNum];
        lv_obj_t *row_label[kRowNum];
        lv_obj_t *row_arrow[kRowNum];
        lv_obj_t *text;     /* the flow screen's main text */
        lv_obj_t *sub_text; /* the reset ask page's second line */
        lv_obj_t *picture;  /* result picture or progress animation */
    } ui = {};

    /* The navigation bar on root; its four images get event_cb with user_data. */
    void CreateBottomBtns(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data);
    /* The main list with the rows' labels (language ids); every row button gets event_cb. */
    void CreateMainList(lv_obj_t *root, const char *const *ppcLabels, int32_t s32Num, lv_event_cb_t event_cb,
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
    lv_obj_t *CreateScreen(lv_obj_t *root);
    lv_obj_t *CreateFlowScreen(lv_obj_t *root);
    lv_obj_t *AddText(lv_obj_t *parent, const char *pcId, uint16_t u16Size);
    lv_obj_t *AddPicture(lv_obj_t *parent, const char *pcPath, bool bGif);
};

} // namespace Page

#endif /* SYS_SETING_RESET_VIEW_H */
