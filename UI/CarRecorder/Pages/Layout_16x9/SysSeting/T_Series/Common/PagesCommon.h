/*
 * The machinery every settings page is built from.
 *
 *   - A static menu tree per page: SetMenu nodes (one per menu screen) holding SetMenuItem rows.
 *     Item ids are one numbering for all settings pages and the options of a row follow it: row n
 *     with k options has the options n+1 ... n+k in display order, so row id + position + 1 is the
 *     option at that position.
 *   - The list builder lv_page_common_create_content, which turns a row table (PageCommonItem per
 *     row) into a scrolling list of rows: button, icon, label, switch or select image, value label
 *     and arrow (object indices 0 to 5).
 *   - SysSetingModel, SysSetingView and SysSetingPage: the model (one data-center account per
 *     page, the current menu node, the settings copy), the view (navigation bar, the current list)
 *     and the page (keys, focus, clicks, walking down and back up the tree). A settings page
 *     derives its three classes from them and adds its tree, its value mapping and any screen
 *     that is not a list.
 *
 * Marks on the row images: user flag 1 on the select image marks the option that is set; user
 * flag 2 on the switch image marks a switch that is on. The refresh turns them into pictures.
 * A row button in the user-1 state is disabled: it is shown dimmed and takes no click.
 *
 * Everything runs on the LVGL thread.
 */
#ifndef PAGES_COMMON_H
#define PAGES_COMMON_H

#include <stdint.h>

#include "DataProc.h"
#include "PageManager.h"
#include "PageAccount.h"
#include "StatusBar.h"
#include "key.h"
#include "lvgl.h"

struct SetMenu;

/* One row of a menu. */
struct SetMenuItem {
    int32_t s32ItemId;    /* global item number */
    int32_t s32Icon;      /* index into the settings picture table; 0 without icon */
    const char *pcLabel;  /* language id or null */
    SetMenu *pstSubMenu;  /* option list or sub-menu opened by the row, or null */
    uint32_t u32Reserved; /* zero */
};

/* Which row of pstMenu is currently set (a position), or -1 for none. s32Index is the row of the
 * parent that opens the menu (-1 when asked for the current menu). */
typedef int32_t (*SetMenuDefValCB)(SetMenu *pstMenu, int32_t s32Index, SetMenuItem **ppstItems);

/* One menu screen. Static per page: iCurrentPos survives page pushes and pops for the run. */
struct SetMenu {
    int32_t s32MenuId;
    const char *pcTitle; /* language id shown in the status-bar title */
    SetMenu *pstParentMenu;
    int32_t s32ItemNum;
    SetMenuItem **ppstItems;
    SetMenuDefValCB GetDefaultValCB; /* null where the menu has no current value */
    int32_t iCurrentPos;             /* focus to restore, or the selected option */
};

/* Sets pstParentMenu of every menu below pstRoot (the static trees are written children first). */
void SetMenu_LinkTree(SetMenu *pstRoot);

/* Option id -> setting value, one row per option of a list. */
typedef struct {
    int32_t s32ItemId;
    int32_t s32Value;
} SetMenuOption;
/* The value of option s32ItemId; false when the table has none. */
bool SetMenu_OptionValue(const SetMenuOption *pstTable, uint32_t u32Num, int32_t s32ItemId,
                         int32_t *ps32Value);
/* Position in pstMenu of the option whose value is s32Value, or -1. */
int32_t SetMenu_OptionPos(const SetMenu *pstMenu, const SetMenuOption *pstTable, uint32_t u32Num,
                          int32_t s32Value);

/* An option list that writes one number item: its menu, the item and the option values. */
typedef struct {
    const SetMenu *pstMenu;
    int32_t eElem;
    const SetMenuOption *pstOptions;
    uint32_t u32Num;
} SetMenuBinding;

/* Settings picture table. */
#define SETMENU_PIC_NUM      70
#define SETMENU_PIC_BTN_ON   63
#define SETMENU_PIC_BTN_OFF  64
#define SETMENU_PIC_SELECT   65
#define SETMENU_PIC_NOSELECT 66
/* Path below the picture root of picture s32Index, or null outside the table. */
const char *SetMenu_PicPath(int32_t s32Index);

/* The mark flags. */
#define SETMENU_FLAG_SELECTED LV_OBJ_FLAG_USER_1
#define SETMENU_FLAG_SWITCH   LV_OBJ_FLAG_USER_2

/* One row of a list. */
typedef struct {
    int32_t bEnable;     /* a disabled row is not created */
    int32_t bHasIcon;    /* left icon */
    int32_t bHasSwitch;  /* right on/off or selected/unselected image; hides the value label */
    int32_t bHasArrow;   /* right arrow: the row opens a sub-menu */
    int32_t s32LabelW;   /* percent, -1 for 55 */
    int32_t s32ValueW;   /* percent, -1 for 30 */
    const char *pcIcon;  /* below the picture root */
    const char *pcLabel; /* language id (or, for rows built at run time, the text itself) */
    int32_t bHasDesc;    /* a second, smaller text line under the label */
    const char *pcDesc;  /* language id */
} PageCommonItem;

/* Row object indices. */
typedef enum {
    PAGE_COMMON_OBJ_BTN = 0,
    PAGE_COMMON_OBJ_ICON = 1,
    PAGE_COMMON_OBJ_LABEL = 2,
    PAGE_COMMON_OBJ_SWITCH = 3,
    PAGE_COMMON_OBJ_VALUE = 4,
    PAGE_COMMON_OBJ_ARROW = 5,
    PAGE_COMMON_OBJ_NUM = 6,
} PageCommonObjIndex;

#define PAGE_COMMON_MAX_ROWS 16

/* The objects of one row; all null for a row that was not created. */
typedef struct {
    lv_obj_t *apstObj[PAGE_COMMON_OBJ_NUM];
} PageCommonRow;

/* The list descriptor handed to the builder, and what it builds. */
typedef struct {
    uint32_t u32ItemNum;
    lv_obj_t *pstParent;
    const PageCommonItem *pstItems;
    /* filled in by the builder */
    lv_obj_t *pstCont;
    lv_obj_t *pstContent;
    PageCommonRow astRows[PAGE_COMMON_MAX_ROWS];
} PageCommonListInfo;

/* Builds the list on pstinfo->pstParent; 0, or -1 (logged) for a missing descriptor or table. */
int lv_page_common_create_content(PageCommonListInfo *pstinfo);
/* Object u32ObjIndex of row u32Row of a built list, or null (logged) past the row or object range. */
lv_obj_t *GetMainContItemObjByIndex(const PageCommonListInfo *pstInfo, uint32_t u32Row, uint32_t u32ObjIndex);
/* Whether the builder made the content scrollable (for the list's tests). */
bool PageCommon_ListScrolls(const PageCommonListInfo *pstInfo);

/* Reads a number item of a settings record by its code (the record's field of that item). */
bool SetMenu_GetSettingValue(const GeneralSetingInfo *pstInfo, int32_t eElem, int32_t *ps32Value);

namespace Page {

class SysSetingPage;

/* The model: the page's account, the current menu, the settings copy. */
class SysSetingModel : public PageAccount {
  public:
    /* Creates the account pcName, subscribes to the six accounts a settings page uses and
     * installs onEvent. 0 or -1. */
    int Init(const char *pcName, SetMenu *pstRootMenu, const int32_t *ps32Items, int32_t s32ItemNum);
    void Deinit();

    int SwitchMenuToChild(int32_t s32Pos);
    int SwitchMenuToParent();
    const char *GetTitle() const;
    int32_t GetItemNum() const;
    int32_t GetItemId(int32_t s32Pos) const;
    const char *GetItemLabel(int32_t s32Pos) const;
    int32_t GetCurMenuPos() const;
    void SetCurMenuPos(int32_t s32Pos);
    /* Row s32Pos's sub-menu: its callback's result stored as its iCurrentPos; row id + result + 1,
     * or -1 (logged) without a sub-menu, without a callback or without a current value. */
    int32_t GetSubMenuDefVal(int32_t s32Pos);
    /* The current menu's callback result, or -1 (logged) without a callback. */
    int32_t GetCurMenuDefVal();

    /* Asks the settings store for the page's items, then pulls the record into the copy. */
    int LoadGeneralSetingData();
    /* With bReload LoadGeneralSetingData first; then pulls the record into pstInfo. */
    int GetGeneralSetingInfo(GeneralSetingInfo *pstInfo, bool bReload);
    /* Queues the save of one number item, and remembers it until the store took or refused it. */
    int GeneralSetingComm(int32_t eElem, int32_t s32Value);
    int GeneralCtrlComm(int32_t eElem, const char *pcValue);
    int CtrlStatusBarItem(int32_t eCmd, const char *pcTitle, bool bLangId);
    using PageAccount::CtrlStatusBarItem;
    int CtrlStatusBarTitle(int32_t eCmd, const char *pcTitle, const char *pcFocus);
    /* Pulls "DevsInfo" (bRefresh: asks the recorder first). */
    int GetDevsInfo(DevsInfo *pstInfo, bool bRefresh);

    /* Saves still on their way. After the store worked through its queue, a save whose value the
     * copy does not hold was refused (or never answered): it is logged, the copy re-read and true
     * returned, so that the page puts its marks back. */
    bool CheckPendingSaves();
    bool HasPendingSaves() const { return m_u32Pending > 0; }

    /* The model of the page on screen, for the menus' default-value callbacks. */
    static SysSetingModel *Current() { return s_pstCurrent; }

    /* The page's option lists that write one item each (set before Init). */
    void SetBindings(const SetMenuBinding *pstBindings, uint32_t u32Num) {
        m_pstBindings = pstBindings;
        m_u32BindingNum = u32Num;
    }
    const SetMenuBinding *FindBinding(const SetMenu *pstMenu) const;
    /* Default-value callback of a bound list: the option whose value the copy holds, or -1. */
    static int32_t MenuGetDefault_Binding(SetMenu *pstMenu, int32_t s32Index, SetMenuItem **ppstItems);
    /* A bound list as above; any other list of the page by pfnRule on the page's copy. */
    static int32_t MenuGetDefault_BindingOr(SetMenu *pstMenu, int32_t s32Index, SetMenuItem **ppstItems,
                                            int32_t (*pfnRule)(const GeneralSetingInfo &stInfo));

    SetMenu *m_pstTopMenu = nullptr;
    GeneralSetingInfo m_stInfo = {};

  private:
    static int onEvent(Account *account, Account::EventParam *param);

    static constexpr uint32_t kMaxPending = 8;
    struct Pending {
        int32_t eElem;
        int32_t s32Value;
        int32_t s32Old;
    };
    Pending m_astPending[kMaxPending] = {};
    uint32_t m_u32Pending = 0;
    const int32_t *m_ps32Items = nullptr;
    int32_t m_s32ItemNum = 0;
    const SetMenuBinding *m_pstBindings = nullptr;
    uint32_t m_u32BindingNum = 0;
    static SysSetingModel *s_pstCurrent;
};

/* The view: the navigation bar and the list currently shown. */
class SysSetingView {
  public:
    SysSetingView() = default;
    virtual ~SysSetingView();
    SysSetingView(const SysSetingView &) = delete;
    SysSetingView &operator=(const SysSetingView &) = delete;

    struct {
        lv_obj_t *bottom_cont;
        lv_obj_t *btn_back;
        lv_obj_t *btn_up;
        lv_obj_t *btn_down;
        lv_obj_t *btn_confirm;
        lv_anim_timeline_t *anim_timeline;
        lv_obj_t *cur_bg;                 /* the screen shown: a list's container or another screen */
        PageCommonListInfo *cur_cont_row; /* the list shown, or null */
    } ui = {};

    /* The page root's look and the navigation bar with its four images, each with event_cb. */
    void CreateBottomBtns(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data);
    /* A list of u32Num rows from pstItems on root; every row button gets event_cb. The previous
     * screen is deleted. */
    PageCommonListInfo *CreateList(lv_obj_t *root, const PageCommonItem *pstItems, uint32_t u32Num,
                                   lv_event_cb_t event_cb, void *user_data);
    /* A blank screen of the list's size on root (for screens that are not lists); the previous
     * screen is deleted. */
    lv_obj_t *CreateScreen(lv_obj_t *root);
    void DeleteScreen();
    void Delete();
    void StartTimeline();

    static void SetImg(lv_obj_t *obj, const char *pcRelPath);
    static void SetHidden(lv_obj_t *obj, bool bHidden);
    static lv_color_t BgColor();

  private:
    static void DelObj_Async_Cb(lv_timer_t *t);
    void DeletePending();

    /* Screens left: deleted from a timer, never inside the event that left them (a row's click
     * may end the row's own screen, and LVGL still sends that row the rest of the click). */
    static constexpr uint32_t kMaxPending = 4;
    lv_obj_t *m_apstPending[kMaxPending] = {};
    lv_timer_t *m_pstDelTimer = nullptr;
    PageCommonListInfo m_stList = {};
};

/* The page: lifecycle, keys, focus, clicks and the walk through the tree. */
class SysSetingPage : public PageBase {
  public:
    static constexpr uint32_t kConfirmIgnoreMs = 400;

    /* The page's own model and view (members of the derived page, bound here before they are
     * built; nothing touches them before onViewLoad). */
    SysSetingPage(SysSetingModel &model, SysSetingView &view, const char *pcModelName, SetMenu *pstRootMenu,
                  const int32_t *ps32Items, int32_t s32ItemNum);
    ~SysSetingPage() override;

    void onViewLoad() override;
    void onViewWillAppear() override;
    void onViewDidAppear() override;
    void onViewWillDisappear() override;
    void onViewDidUnload() override;

    static void KeyEventCallBack(KeyEvtInfo *pstEvtInfo);
    static void onEvent(lv_event_t *e);

    /* Builds the list of the current menu focused at s32Focus (clamped to the rows). */
    void CreateListPageHandle(int32_t s32Focus);
    /* Pictures and value texts from the marks. */
    void ListItemRefresh();
    void PageBackHandle();
    void PageFocusEventHandle(lv_obj_t *pstTarget);
    void PageDeFocusEventHandle(lv_obj_t *pstTarget);
    void ClearPageAllUser1FlagHandle();
    void PageScrollEventHandle(lv_obj_t *pstTarget);
    /* A click on a row of the current list. */
    void ListShortClickEventHandle(lv_obj_t *pstTarget);

    /* Row position of a row button of the current list, or -1. */
    int32_t RowOfTarget(lv_obj_t *pstTarget) const;
    /* The object of a row of the current list (by menu position), or null. */
    lv_obj_t *RowObj(int32_t s32Pos, uint32_t u32ObjIndex) const;
    /* Marks the option at s32Pos (or none for -1) and refreshes. */
    void MarkOption(int32_t s32Pos);

    SysSetingModel &Model;
    SysSetingView &View;
    SetMenu *m_pstRootMenu;
    uint32_t m_u32IgnoreConfirmTick = 0;
    const char *m_pcModelName;
    const int32_t *m_ps32Items;
    int32_t m_s32ItemNum;

  protected:
    /* ---- what a page adds ---- */
    /* The row for position s32Pos of the current menu; the default: the item's label, an arrow
     * for rows with a sub-menu, a select image in option lists, a switch image for switch rows. */
    virtual void RowInfo(int32_t s32Pos, PageCommonItem *pstRow);
    /* An option of an option list was chosen: send its value. 0 sent; -1 no value for it. The
     * default sends the value of a bound list. */
    virtual int OptionChosen(int32_t s32ItemId);
    /* Whether a row is a switch (-1 no, else 0 off, 1 on). */
    virtual int32_t SwitchState(int32_t s32ItemId);
    /* A switch row was toggled to bOn: send it. 0 sent, -1 nothing done. */
    virtual int SwitchChanged(int32_t s32ItemId, bool bOn);
    /* Text of a main-list row's value label (the current option's label id), or null. */
    virtual const char *RowValueId(int32_t s32ItemId);
    /* A row without a plain option list below it was clicked (its sub-menu is already current):
     * build that screen and return true; false builds the plain list. */
    virtual bool OpenScreen(SetMenu *pstMenu);
    /* Back on a screen that is not a list: true when the page handled it. */
    virtual bool ScreenBack();
    /* A click while a screen that is not a list is shown. */
    virtual void ScreenClick(lv_obj_t *pstTarget);
    /* A click of the confirm image (OK): true when the page handled it. */
    virtual bool ConfirmImageClick() { return false; }
    /* Up or down on a screen that is not a list: true when handled. */
    virtual bool ScreenKey(uint32_t u32Code, uint32_t u32Value);
    /* Once per appearance, after the list is shown. */
    virtual void onPageAppear() {}
    /* Puts the buttons of the screen shown back into the default group (it is emptied when the
     * page disappears) and focuses the remembered one. */
    virtual void AddBtnsToGroup();

    bool OnList() const { return View.ui.cur_cont_row != nullptr; }
    /* Set while the page's objects leave the group: focus events then are not the user's. */
    bool m_bMuteFocus = false;
    /* Whether the current menu is an option list (has a current value). */
    bool IsOptionList() const;
    void UpdateTitle(int32_t s32Pos);

  private:
    static void TimerCb(lv_timer_t *t);
    void OnShortClick(lv_obj_t *pstTarget);
    void RestoreMarks();

    lv_timer_t *m_pstTimer = nullptr;
    uint32_t m_u32PressTick = 0;
    bool m_bVisible = false;
    bool m_bAppeared = false;
};

} // namespace Page

#endif /* PAGES_COMMON_H */
