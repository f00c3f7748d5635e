/*
 * The more page, pushed as "Pages/SysSetingMore": firmware update and app connection (the app's
 * QR code), about (model, storage, versions, the maker's contacts) and the help menu (the 4G
 * service, the 4G network check with an explanation of each failed check).
 */
#ifndef SYS_SETING_MORE_H
#define SYS_SETING_MORE_H

#include "SysSetingMoreModel.h"
#include "SysSetingMoreView.h"

namespace Page {

class SysSetingMore : public SysSetingPage {
  public:
    enum : int32_t {
        ID_UPDATE = 197,
        ID_ABOUT = 198,
        ID_APP_CONNECT = 199,
        ID_HELP = 200,
        ID_4G_INTRODUCE = 201,
        ID_4G_CHECK = 202,
    };
    /* Screens that are not lists. */
    enum class Screen { kList, kQrCode, kAbout, k4GIntroduce, kLteCheck, kLteAbnormal };

    /* The install guide's arguments: the 4G introduction and the app connection alone. */
    enum : uint8_t { GUIDE_4G_INTRODUCE = 3, GUIDE_APP_CONNECT = 4 };

    SysSetingMore();
    static SetMenu *RootMenu();

    SysSetingMoreModel m_stModel;
    SysSetingMoreView m_stView;
    Screen m_eScreen = Screen::kList;
    SysSetingMoreModel::LteCheck m_astChecks[SysSetingMoreModel::kLteCheckNum] = {};
    int32_t m_s32LtePos = 0;
    bool m_bGuide = false; /* pushed by the install guide for one screen */

  protected:
    void onViewLoad() override;
    void onPageAppear() override;
    void RowInfo(int32_t s32Pos, PageCommonItem *pstRow) override;
    int OptionChosen(int32_t s32ItemId) override;
    bool OpenScreen(SetMenu *pstMenu) override;
    bool ScreenBack() override;
    bool ConfirmImageClick() override;
    void ScreenClick(lv_obj_t *pstTarget) override;
    bool ScreenKey(uint32_t u32Code, uint32_t u32Value) override;
    void AddBtnsToGroup() override;

  private:
    void OpenLteCheck();
    void OpenAbout();
    void GuideDone();
};

} // namespace Page

#endif /* SYS_SETING_MORE_H */
