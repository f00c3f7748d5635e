/*
 * The screen settings page, pushed as "Pages/SysSetingScreenSet": screen-off time (always on
 * closes the wallpaper), wallpaper and brightness.
 */
#ifndef SYS_SETING_SCREEN_SET_H
#define SYS_SETING_SCREEN_SET_H

#include "SysSetingScreenSetModel.h"
#include "SysSetingScreenSetView.h"

namespace Page {

class SysSetingScreenSet : public SysSetingPage {
  public:
    SysSetingScreenSet();
    static SetMenu *RootMenu();

    SysSetingScreenSetModel m_stModel;
    SysSetingScreenSetView m_stView;

  protected:
    void RowInfo(int32_t s32Pos, PageCommonItem *pstRow) override;
    int OptionChosen(int32_t s32ItemId) override;
};

} // namespace Page

#endif /* SYS_SETING_SCREEN_SET_H */
