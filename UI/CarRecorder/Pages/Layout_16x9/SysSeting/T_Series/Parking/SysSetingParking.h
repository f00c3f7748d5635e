/*
 * The parking settings page, pushed as "Pages/SysSetingParking". With the ACC line wired: what
 * the recorder does when the ignition goes off (the parking modes it offers), how long it watches
 * and the battery protection level. Without it: the switch that turns the recorder off when the
 * car stays still.
 */
#ifndef SYS_SETING_PARKING_H
#define SYS_SETING_PARKING_H

#include "SysSetingParkingModel.h"
#include "SysSetingParkingView.h"

namespace Page {

class SysSetingParking : public SysSetingPage {
  public:
    enum : int32_t {
        ID_ACC_OFF_ENTER = 103,
        ID_DURATION = 108,
        ID_BAT_PROTECT = 120,
        ID_AUTO_SHUTDOWN = 127,
    };

    SysSetingParking();
    /* The root with the ACC line, and the one-row root without it. */
    static SetMenu *RootMenu();
    static SetMenu *NoAccRootMenu();

    SysSetingParkingModel m_stModel;
    SysSetingParkingView m_stView;
    /* The modes the recorder offers (kModes order), set whenever the page reads the settings. */
    bool m_abOffered[SysSetingParkingModel::kModeNum] = {};
    int32_t m_s32ModeNum = 0;

  protected:
    void RowInfo(int32_t s32Pos, PageCommonItem *pstRow) override;
    int OptionChosen(int32_t s32ItemId) override;
    int32_t SwitchState(int32_t s32ItemId) override;
    int SwitchChanged(int32_t s32ItemId, bool bOn) override;
    bool OpenScreen(SetMenu *pstMenu) override;
};

} // namespace Page

#endif /* SYS_SETING_PARKING_H */
