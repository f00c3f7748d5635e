/*
 * The system settings page, pushed as "Pages/SysSetingSysSet": the Wi-Fi and Bluetooth
 * information, the time menu (date and time editor, time format) and the language, which
 * switches the user interface's texts at once.
 *
 * Push parameter (a 32-bit stash, from the install guide): 0 the whole page, 1 only the
 * language list, 2 only the date and time editor.
 */
#ifndef SYS_SETING_SYS_SET_H
#define SYS_SETING_SYS_SET_H

#include "SysSetingSysSetModel.h"
#include "SysSetingSysSetView.h"

namespace Page {

class SysSetingSysSet : public SysSetingPage {
  public:
    enum {
        MODE_NORMAL = 0,
        MODE_LANGUAGE = 1,
        MODE_DATE_TIME = 2,
    };
    SysSetingSysSet();
    static SetMenu *RootMenu();
    static SetMenu *LanguageMenu();
    static SetMenu *DateTimeMenu();

    void onViewLoad() override;

    void CreateWifiBtPageHandle();
    void CreateSetDateTimePageHandle();
    /* One key on the date and time editor (released as a short click). */
    void SetDateTimePageShortClickEventHandle(uint32_t u32Code);
    /* The editor's date and time sent to the recorder. */
    void SyncTimeHandle();

    SysSetingSysSetModel m_stModel;
    SysSetingSysSetView m_stView;
    int32_t m_s32Mode = MODE_NORMAL;
    SysSetingSysSetModel::DateTimeEdit m_stEdit = {};
    uint32_t m_u32Field = 0;
    char m_szDate[24] = "";

  protected:
    void RowInfo(int32_t s32Pos, PageCommonItem *pstRow) override;
    int OptionChosen(int32_t s32ItemId) override;
    const char *RowValueId(int32_t s32ItemId) override;
    bool OpenScreen(SetMenu *pstMenu) override;
    bool ScreenBack() override;
    bool ScreenKey(uint32_t u32Code, uint32_t u32Value) override;
    bool ConfirmImageClick() override;

  private:
    /* Leaves a page opened by the install guide. */
    void GuideDone();

    DevsInfo m_stDevs = {};
    uint32_t m_u32PressTick = 0;
    uint32_t m_u32PressedCode = UINT32_MAX; /* the key pressed on the editor, until released */
};

} // namespace Page

#endif /* SYS_SETING_SYS_SET_H */
