/* The parking event toast's view: the message and the bottom bar whose confirm button carries
 * the countdown. */
#ifndef PARKING_EVT_TOAST_VIEW_H
#define PARKING_EVT_TOAST_VIEW_H

#include <stdint.h>

#include "lvgl.h"

namespace Page {

class ParkingEvtToastView {
  public:
    static constexpr int32_t kBarH = 40;

    struct {
        lv_obj_t *msg_label;
        lv_obj_t *bottom_bar;
        lv_obj_t *back_btn;
        lv_obj_t *prev_btn;
        lv_obj_t *next_btn;
        lv_obj_t *confirm_btn; /* the confirm icon and its countdown label */
        lv_obj_t *confirm_label;
        lv_anim_timeline_t *anim_timeline;
    } ui = {};

    /* CreateParkingTipPageHandle: builds the page on root; event_cb is registered on the back,
     * previous and confirm buttons with user_data. The confirm button is focused. */
    void Create(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data);
    void Delete();
    /* The confirm label: "<LANG_RES_ID_GOTO_CHECK>(<u32Seconds>S)". */
    void SetCountdown(uint32_t u32Seconds);
};

} // namespace Page

#endif /* PARKING_EVT_TOAST_VIEW_H */
