/*
 * The driving-assistance page, pushed as "Pages/SysSetingAlgorAssist": collision sensitivity
 * while driving and while parked (with the custom level the phone app sets), the ADAS master
 * switch and the sensitivity of each of its four alerts, and the fatigue reminder switch.
 */
#ifndef SYS_SETING_ALGOR_ASSIST_H
#define SYS_SETING_ALGOR_ASSIST_H

#include "SysSetingAlgorAssistModel.h"
#include "SysSetingAlgorAssistView.h"

namespace Page {

class SysSetingAlgorAssist : public SysSetingPage {
  public:
    enum : int32_t {
        ID_COLLISION = 128,
        ID_COLL_NORMAL = 129,
        ID_COLL_PARKING = 130,
        ID_COLL_CUSTOM = 137,
        ID_ADAS = 138,
        ID_ADAS_MASTER = 142,
        ID_ADAS_FRONTCAR = 143,
        ID_ADAS_TOO_CLOSE = 148,
        ID_ADAS_CROSS_LANE = 153,
        ID_ADAS_PEDESTRIAN = 158,
        ID_FATIGUE = 164,
    };

    SysSetingAlgorAssist();
    static SetMenu *RootMenu();
    /* The settings item of an ADAS sensitivity menu, or -1. */
    static int32_t AdasElemOf(const SetMenu *pstMenu);
    /* The settings item of a collision level menu (driving or parked), or -1. */
    static int32_t CollisionElemOf(const SetMenu *pstMenu);

    SysSetingAlgorAssistModel m_stModel;
    SysSetingAlgorAssistView m_stView;

  protected:
    void RowInfo(int32_t s32Pos, PageCommonItem *pstRow) override;
    int OptionChosen(int32_t s32ItemId) override;
    int32_t SwitchState(int32_t s32ItemId) override;
    int SwitchChanged(int32_t s32ItemId, bool bOn) override;
};

} // namespace Page

#endif /* SYS_SETING_ALGOR_ASSIST_H */
