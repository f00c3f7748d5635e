/*
 * The video settings page, pushed as "Pages/SysSetingVideoSet": event clip length, resolution
 * (the list the recorder offers), the picture's time and speed stamps, and anti-flicker.
 */
#ifndef SYS_SETING_VIDEO_SET_H
#define SYS_SETING_VIDEO_SET_H

#include "SysSetingVideoSetModel.h"
#include "SysSetingVideoSetView.h"

namespace Page {

class SysSetingVideoSet : public SysSetingPage {
  public:
    SysSetingVideoSet();
    static SetMenu *RootMenu();

    SysSetingVideoSetModel m_stModel;
    SysSetingVideoSetView m_stView;

  protected:
    void RowInfo(int32_t s32Pos, PageCommonItem *pstRow) override;
    int OptionChosen(int32_t s32ItemId) override;
    int32_t SwitchState(int32_t s32ItemId) override;
    int SwitchChanged(int32_t s32ItemId, bool bOn) override;
    bool OpenScreen(SetMenu *pstMenu) override;
};

} // namespace Page

#endif /* SYS_SETING_VIDEO_SET_H */
