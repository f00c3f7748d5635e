/* The home page's widgets: the bottom buttons, the event-recording progress bar and the
 * full-screen warning pages. The page root is transparent: the camera picture lies under it. */
#ifndef HOME_VIEW_H
#define HOME_VIEW_H

#include <stdint.h>

#include "lvgl.h"

namespace Page {

class HomeView {
  public:
    struct {
        lv_obj_t *bottom_bar;
        lv_obj_t *album_btn;
        lv_obj_t *seting_btn;
        lv_obj_t *mic_btn;
        lv_obj_t *switch_btn;
        lv_obj_t *progress_bar;
        lv_obj_t *progress_label;
        lv_anim_timeline_t *anim_timeline;
        lv_obj_t *RearFailToast;
        lv_obj_t *FrontFailToast;
        lv_obj_t *InsideFailToast;
        lv_obj_t *KovarFailToast;
        lv_obj_t *KovarWaitToast;
        lv_obj_t *OpenWifiToast;
        lv_obj_t *HighTempToast;
    } ui = {};

    /* Builds the widgets on root; every button gets event_cb with user_data. */
    void Create(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data);
    void Delete();

    void CreateRearWarningpage();
    void DelRearWarningpage();
    void CreateFrontWarningpage();
    void DelFrontWarningpage();
    void CreateInsideWarningpage();
    void DelInsideWarningpage();
    /* The device-link page; without Wi-Fi the "_NO_WIFI" texts. */
    void CreateKOvarWarningpage(bool bIsMainDev, int eTempState, bool bWifiOn);
    void DelKovarWarningpage();
    void CreateWaitingpage();
    void DelWaitingpage();
    void CreateOpenWifipage();
    void DelOpenWifipage();
    void CreateHighTempProtectPage();
    void DelHighTempProtectPage();

    /* Camera error texts on the rear (bInside false) or inside warning page, by camera state
     * 0, 6, 7 or 8; false for other states (the page is left alone). */
    bool SetCamErrTexts(bool bInside, int32_t s32State);

    /* Progress bar and label shown (bottom buttons hidden) or hidden (buttons shown). */
    void ShowProgress(bool bShow);
    void SetProgress(int32_t s32Value, const char *pcText);

    /* Shows or hides a button (LVGL hidden flag). */
    static void SetHidden(lv_obj_t *obj, bool bHidden);
    static void SetImg(lv_obj_t *obj, const char *pcRelPath);

  private:
    lv_obj_t *CreateToast(lv_obj_t **ppstMember, const char *pcName, uint32_t u32Color);
    lv_obj_t *AddText(lv_obj_t *parent, const char *pcId, uint16_t u16Size);
    void RestoreButtons();

    lv_obj_t *m_root = nullptr;
    lv_style_transition_dsc_t m_stFade = {};
};

} // namespace Page

#endif /* HOME_VIEW_H */
