/*
 * The system toast page: a full page pushed with a one-byte argument that chooses what it shows,
 * 0 the app-connected lock, 3 / 4 the rear / inside camera error, 5 the periodic-format reminder
 * (pushed by the system state supervision when the recorder asks for a format). Installed as
 * "SysStateToastPage", pushed as "Pages/SysStateToastPage".
 */
#ifndef SYS_STATE_TOAST_PAGE_H
#define SYS_STATE_TOAST_PAGE_H

#include <stdint.h>

#include "PageManager.h"
#include "SysStateToastPageModel.h"
#include "SysStateToastPageView.h"
#include "key.h"

namespace Page {

class SysStateToastPage : public PageBase {
  public:
    enum : uint8_t {
        TYPE_APP_LOCK = 0,
        TYPE_DIGICAM_REAR = 3,
        TYPE_DIGICAM_INSIDE = 4,
        TYPE_FORMAT_ONTIME = 5,
    };
    static constexpr const char *kResetPage = "Pages/SysSetingReset";

    SysStateToastPage();
    ~SysStateToastPage() override;

    void onViewLoad() override;
    void onViewDidLoad() override;
    void onViewWillAppear() override;
    void onViewDidAppear() override;
    void onViewWillDisappear() override;
    void onViewDidUnload() override;

    static void KeyEventCallBack(KeyEvtInfo *pstEvtInfo);
    /* A status notice published to the model. */
    void OnStatusNotice(const SystemStatusNotice &stNotice);

    SysStateToastPageView View;
    SysStateToastPageModel Model;
    uint8_t m_u8Type = 0;

  private:
    static void onEvent(lv_event_t *e);
    void OnClick(lv_obj_t *obj);
    uint32_t m_u32PressTick = 0;
    bool m_bLeaving = false;
};

} // namespace Page

#endif /* SYS_STATE_TOAST_PAGE_H */
