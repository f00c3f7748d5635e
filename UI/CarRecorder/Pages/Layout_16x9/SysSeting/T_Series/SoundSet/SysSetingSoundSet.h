/*
 * The sound settings page, pushed as "Pages/SysSetingSoundSet": boot sound and microphone
 * switches, the rear microphone switch (left out of the row table) and the speaker volume list.
 */
#ifndef SYS_SETING_SOUND_SET_H
#define SYS_SETING_SOUND_SET_H

#include "SysSetingSoundSetModel.h"
#include "SysSetingSoundSetView.h"

namespace Page {

class SysSetingSoundSet : public SysSetingPage {
  public:
    SysSetingSoundSet();
    static SetMenu *RootMenu();

    SysSetingSoundSetModel m_stModel;
    SysSetingSoundSetView m_stView;

  protected:
    void RowInfo(int32_t s32Pos, PageCommonItem *pstRow) override;
    int32_t SwitchState(int32_t s32ItemId) override;
    int SwitchChanged(int32_t s32ItemId, bool bOn) override;
};

} // namespace Page

#endif /* SYS_SETING_SOUND_SET_H */
