/*
 * The settings home, pushed as "Pages/SysSetingHome" from the home page: eight tiles, one per
 * settings page. PREV and NEXT move between the tiles, OK opens the focused one, BACK returns.
 * The status-bar title names the focused tile.
 */
#ifndef SYS_SETING_HOME_H
#define SYS_SETING_HOME_H

#include "SysSetingHomeModel.h"
#include "SysSetingHomeView.h"

namespace Page {

class SysSetingHome : public SysSetingPage {
  public:
    static constexpr uint32_t kClickIgnoreMs = 50;

    SysSetingHome();
    static SetMenu *RootMenu();
    /* Page pushed by the tile at u32Pos, or null. */
    static const char *TilePage(uint32_t u32Pos);

    void CreateMainPageHandle(int32_t s32Focus);
    void RefershMainMenuItemInfo(int32_t s32Pos);
    void MainPageBtnsShortClickHandle(lv_obj_t *pstTarget);

    SysSetingHomeModel m_stModel;
    SysSetingHomeView m_stView;

  protected:
    bool OpenScreen(SetMenu *pstMenu) override;
    void AddBtnsToGroup() override;
    void onPageAppear() override;

  private:
    static void TileEvent(lv_event_t *e);
};

} // namespace Page

#endif /* SYS_SETING_HOME_H */
