#include "PagesCommon.h"

#include <stdio.h>
#include <string.h>

#include "log.h"
#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace {

/* The settings picture table: number -> picture below the picture root. Numbers 1 to 54 are
 * option icons no list of these pages draws. */
struct SetMenuPic {
    int32_t s32Index;
    const char *pcPath;
};
const SetMenuPic s_astSetMenuPics[] = {
    {0, "setmenu/main/show_icon.png"},
    {55, "setmenu/main/videoset_icon.png"},
    {56, "setmenu/main/systemset_icon.png"},
    {57, "setmenu/main/parking_icon.png"},
    {58, "setmenu/main/algorassist_icon.png"},
    {59, "setmenu/main/soundset_icon.png"},
    {60, "setmenu/main/format_icon.png"},
    {61, "setmenu/main/kovar_icon.png"},
    {62, "setmenu/main/more_icon.png"},
    {SETMENU_PIC_BTN_ON, "setmenu/sub/com/btn_on.png"},
    {SETMENU_PIC_BTN_OFF, "setmenu/sub/com/btn_off.png"},
    {SETMENU_PIC_SELECT, "setmenu/sub/com/select.png"},
    {SETMENU_PIC_NOSELECT, "setmenu/sub/com/noselect.png"},
    {67, "setmenu/main/screenset_icon.png"},
    {68, "setmenu/main/reset_icon.png"},
    {69, "setmenu/main/dashcam.png"},
};

constexpr const char *kArrowPic = "setmenu/sub/com/arrow.png";
constexpr uint32_t kPageBg = 0x101418;
constexpr int32_t kNavH = 40;
constexpr int32_t kContentTop = 32; /* the status bar's height */
constexpr int32_t kRowH = 46;
constexpr uint16_t kFontSize = 22;
constexpr uint16_t kDescFontSize = 17;

const lv_style_prop_t s_astTransProps[] = {LV_STYLE_BG_OPA, LV_STYLE_TEXT_OPA, LV_STYLE_IMG_OPA,
                                           LV_STYLE_IMG_RECOLOR_OPA, LV_STYLE_PROP_INV};

/* Shared row styles (one set for all lists, made on first use). */
struct RowStyles {
    bool bInit;
    lv_style_transition_dsc_t stTrans;
    lv_style_t stBtn, stBtnFocus, stLabel, stLabelFocus, stArrow, stArrowFocus, stDisabled;
};
RowStyles s_stStyles;

void InitRowStyles() {
    RowStyles &s = s_stStyles;
    if (s.bInit) {
        return;
    }
    s.bInit = true;
    lv_style_transition_dsc_init(&s.stTrans, s_astTransProps, lv_anim_path_linear, 200, 0, nullptr);
    lv_style_init(&s.stBtn);
    lv_style_set_bg_color(&s.stBtn, lv_color_white());
    lv_style_set_bg_opa(&s.stBtn, LV_OPA_TRANSP);
    lv_style_set_radius(&s.stBtn, 10);
    lv_style_set_border_width(&s.stBtn, 0);
    lv_style_set_pad_all(&s.stBtn, 0);
    lv_style_set_transition(&s.stBtn, &s.stTrans);
    lv_style_init(&s.stBtnFocus);
    lv_style_set_bg_opa(&s.stBtnFocus, 51);
    lv_style_set_transition(&s.stBtnFocus, &s.stTrans);
    lv_style_init(&s.stLabel);
    lv_style_set_text_color(&s.stLabel, lv_color_white());
    lv_style_set_text_opa(&s.stLabel, 178);
    lv_style_set_transition(&s.stLabel, &s.stTrans);
    lv_style_init(&s.stLabelFocus);
    lv_style_set_text_opa(&s.stLabelFocus, LV_OPA_COVER);
    lv_style_set_transition(&s.stLabelFocus, &s.stTrans);
    lv_style_init(&s.stArrow);
    lv_style_set_img_opa(&s.stArrow, 127);
    lv_style_set_transition(&s.stArrow, &s.stTrans);
    lv_style_init(&s.stArrowFocus);
    lv_style_set_img_opa(&s.stArrowFocus, LV_OPA_COVER);
    lv_style_set_transition(&s.stArrowFocus, &s.stTrans);
    lv_style_init(&s.stDisabled);
    lv_style_set_opa(&s.stDisabled, 102);
}

lv_obj_t *PlainObj(lv_obj_t *parent) {
    lv_obj_t *obj = lv_obj_create(parent);
    lv_obj_remove_style_all(obj);
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_SCROLLABLE);
    return obj;
}

lv_obj_t *RowImg(lv_obj_t *parent, const char *pcPath) {
    lv_obj_t *img = lv_img_create(parent);
    if (pcPath != nullptr && pcPath[0] != '\0') {
        lv_img_set_src(img, UI_ResPath(pcPath, UI_RES_PIC_ROOT));
    }
    return img;
}

/* Takes obj and everything below it out of their group (other pages' objects stay). */
void RemoveFromGroup(lv_obj_t *obj) {
    if (obj == nullptr) {
        return;
    }
    if (lv_obj_get_group(obj) != nullptr) {
        lv_group_remove_obj(obj);
    }
    for (uint32_t i = 0; i < lv_obj_get_child_cnt(obj); ++i) {
        RemoveFromGroup(lv_obj_get_child(obj, (int32_t)i));
    }
}

bool IsInside(const lv_obj_t *obj, const lv_obj_t *pstAncestor) {
    for (; obj != nullptr; obj = lv_obj_get_parent(obj)) {
        if (obj == pstAncestor) {
            return true;
        }
    }
    return false;
}

/* An object that takes no room and is not drawn. */
void Collapse(lv_obj_t *obj) {
    lv_obj_set_width(obj, 0);
    lv_obj_add_flag(obj, LV_OBJ_FLAG_HIDDEN);
}

lv_obj_t *RowLabel(lv_obj_t *parent, uint16_t u16Size, int32_t s32WidthPct) {
    lv_obj_t *label = lv_label_create(parent);
    lv_label_freetype_set_text_normal(label, SYS_PATH_FONT_BODY, u16Size, LV_PART_MAIN);
    lv_obj_add_style(label, &s_stStyles.stLabel, LV_STATE_DEFAULT);
    lv_obj_add_style(label, &s_stStyles.stLabelFocus, LV_STATE_FOCUSED);
    lv_obj_set_size(label, lv_pct(s32WidthPct), u16Size + 8); /* one line: longer texts end in dots */
    lv_label_set_long_mode(label, LV_LABEL_LONG_DOT);
    lv_label_set_text(label, "");
    return label;
}

/* Number of line breaks in a text. */
int32_t LineBreaks(const char *pcText) {
    int32_t n = 0;
    for (const char *p = pcText; p != nullptr && *p != '\0'; ++p) {
        n += *p == '\n' ? 1 : 0;
    }
    return n;
}

void SetText(lv_obj_t *label, const char *pcId) {
    if (pcId == nullptr) {
        lv_label_set_text(label, "");
    } else if (lv_label_set_text_tr(label, pcId) != 0) {
        lv_label_set_text(label, pcId); /* rows built at run time carry their text */
    }
}

void BuildRow(PageCommonListInfo *pstInfo, uint32_t u32Row, bool bDescTall) {
    const PageCommonItem &it = pstInfo->pstItems[u32Row];
    PageCommonRow &row = pstInfo->astRows[u32Row];
    lv_obj_t *cont = PlainObj(pstInfo->pstContent);
    int32_t s32H = kRowH;
    char szDesc[256] = "";
    if (it.bHasDesc && it.pcDesc != nullptr) {
        if (lv_label_get_text_tr(it.pcDesc, szDesc, sizeof szDesc) != 0) {
            snprintf(szDesc, sizeof szDesc, "%s", it.pcDesc);
        }
        s32H = 30 * LineBreaks(szDesc) + 75;
        if (bDescTall && s32H > kRowH) {
            s32H = 92;
        }
    }
    lv_obj_set_size(cont, lv_pct(100), s32H);

    lv_obj_t *btn = PlainObj(cont);
    lv_obj_add_style(btn, &s_stStyles.stBtn, LV_STATE_DEFAULT);
    lv_obj_add_style(btn, &s_stStyles.stBtnFocus, LV_STATE_FOCUSED);
    lv_obj_add_style(btn, &s_stStyles.stDisabled, LV_STATE_USER_1);
    lv_obj_set_size(btn, lv_pct(98), lv_pct(100));
    lv_obj_align(btn, LV_ALIGN_TOP_MID, 0, 0);
    lv_obj_add_flag(btn, LV_OBJ_FLAG_CLICKABLE | LV_OBJ_FLAG_SCROLL_ON_FOCUS);
    row.apstObj[PAGE_COMMON_OBJ_BTN] = btn;

    lv_obj_t *icon = RowImg(btn, it.bHasIcon ? it.pcIcon : nullptr);
    lv_obj_align(icon, LV_ALIGN_LEFT_MID, 12, 0);
    if (!it.bHasIcon) {
        Collapse(icon);
    }
    row.apstObj[PAGE_COMMON_OBJ_ICON] = icon;

    lv_obj_t *label = RowLabel(btn, kFontSize, it.s32LabelW < 0 ? 55 : it.s32LabelW);
    SetText(label, it.pcLabel);
    int32_t s32LabelX = it.bHasIcon ? 52 : 12;
    if (it.bHasDesc) {
        lv_obj_align(label, LV_ALIGN_TOP_LEFT, s32LabelX, 8);
    } else {
        lv_obj_align(label, LV_ALIGN_LEFT_MID, s32LabelX, 0);
    }
    row.apstObj[PAGE_COMMON_OBJ_LABEL] = label;

    lv_obj_t *sw = RowImg(btn, SetMenu_PicPath(SETMENU_PIC_BTN_ON));
    lv_obj_align(sw, LV_ALIGN_RIGHT_MID, -10, 0);
    if (it.bHasDesc) {
        lv_obj_align(sw, LV_ALIGN_TOP_RIGHT, -10, 12);
    }
    if (!it.bHasSwitch) {
        Collapse(sw);
    }
    row.apstObj[PAGE_COMMON_OBJ_SWITCH] = sw;

    lv_obj_t *arrow = RowImg(btn, kArrowPic);
    lv_obj_add_style(arrow, &s_stStyles.stArrow, LV_STATE_DEFAULT);
    lv_obj_add_style(arrow, &s_stStyles.stArrowFocus, LV_STATE_FOCUSED);
    lv_obj_align(arrow, LV_ALIGN_RIGHT_MID, -8, 0);
    if (!it.bHasArrow) {
        Collapse(arrow);
    }
    row.apstObj[PAGE_COMMON_OBJ_ARROW] = arrow;

    lv_obj_t *value = RowLabel(btn, kFontSize, it.s32ValueW < 0 ? 30 : it.s32ValueW);
    lv_obj_set_style_text_align(value, LV_TEXT_ALIGN_RIGHT, LV_PART_MAIN);
    lv_obj_align(value, LV_ALIGN_RIGHT_MID, it.bHasArrow ? -30 : -12, 0);
    if (it.bHasSwitch) {
        lv_obj_add_flag(value, LV_OBJ_FLAG_HIDDEN);
    }
    row.apstObj[PAGE_COMMON_OBJ_VALUE] = value;

    if (it.bHasDesc) {
        lv_obj_t *desc = lv_label_create(btn);
        lv_label_freetype_set_text_normal(desc, SYS_PATH_FONT_BODY, kDescFontSize, LV_PART_MAIN);
        lv_obj_set_style_text_color(desc, lv_color_white(), LV_PART_MAIN);
        lv_obj_set_style_text_opa(desc, 204, LV_PART_MAIN);
        lv_obj_set_style_text_line_space(desc, -6, LV_PART_MAIN);
        lv_label_set_long_mode(desc, LV_LABEL_LONG_WRAP);
        lv_obj_set_width(desc, lv_pct(90));
        lv_label_set_text(desc, szDesc);
        lv_obj_align(desc, LV_ALIGN_TOP_LEFT, s32LabelX, 38);
    }
}

} // namespace

const char *SetMenu_PicPath(int32_t s32Index) {
    for (const SetMenuPic &pic : s_astSetMenuPics) {
        if (pic.s32Index == s32Index) {
            return pic.pcPath;
        }
    }
    return nullptr;
}

void SetMenu_LinkTree(SetMenu *pstRoot) {
    if (pstRoot == nullptr) {
        return;
    }
    for (int32_t i = 0; i < pstRoot->s32ItemNum; ++i) {
        SetMenu *pstSub = pstRoot->ppstItems[i]->pstSubMenu;
        if (pstSub != nullptr && pstSub != pstRoot) {
            pstSub->pstParentMenu = pstRoot;
            SetMenu_LinkTree(pstSub);
        }
    }
}

bool SetMenu_OptionValue(const SetMenuOption *pstTable, uint32_t u32Num, int32_t s32ItemId,
                         int32_t *ps32Value) {
    for (uint32_t i = 0; i < u32Num; ++i) {
        if (pstTable[i].s32ItemId == s32ItemId) {
            *ps32Value = pstTable[i].s32Value;
            return true;
        }
    }
    return false;
}

int32_t SetMenu_OptionPos(const SetMenu *pstMenu, const SetMenuOption *pstTable, uint32_t u32Num,
                          int32_t s32Value) {
    for (int32_t i = 0; pstMenu != nullptr && i < pstMenu->s32ItemNum; ++i) {
        int32_t s32V = 0;
        if (SetMenu_OptionValue(pstTable, u32Num, pstMenu->ppstItems[i]->s32ItemId, &s32V) &&
            s32V == s32Value) {
            return i;
        }
    }
    return -1;
}

int lv_page_common_create_content(PageCommonListInfo *pstinfo) {
    if (pstinfo == nullptr || pstinfo->pstItems == nullptr || pstinfo->pstParent == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstinfo");
        return -1;
    }
    InitRowStyles();
    memset(pstinfo->astRows, 0, sizeof pstinfo->astRows);
    if (pstinfo->u32ItemNum > PAGE_COMMON_MAX_ROWS) {
        LOG_WARN("%u rows, %u shown\n", (unsigned)pstinfo->u32ItemNum, (unsigned)PAGE_COMMON_MAX_ROWS);
        pstinfo->u32ItemNum = PAGE_COMMON_MAX_ROWS;
    }
    lv_obj_t *cont = PlainObj(pstinfo->pstParent);
    lv_obj_set_size(cont, lv_pct(100), lv_disp_get_ver_res(nullptr) - 30);
    lv_obj_align(cont, LV_ALIGN_TOP_MID, 0, 0);
    lv_obj_set_style_bg_color(cont, lv_color_hex(kPageBg), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(cont, LV_OPA_COVER, LV_PART_MAIN);

    lv_obj_t *content = PlainObj(cont);
    lv_obj_set_flex_flow(content, LV_FLEX_FLOW_COLUMN);
    lv_obj_set_scroll_snap_y(content, LV_SCROLL_SNAP_NONE);
    lv_obj_set_style_pad_left(content, 16, LV_PART_MAIN);
    lv_obj_set_style_pad_right(content, 16, LV_PART_MAIN);
    lv_obj_set_style_pad_row(content, 6, LV_PART_MAIN);
    lv_obj_set_style_pad_top(content, 0, LV_PART_MAIN);
    /* Below the status bar and above the navigation bar, so a row scrolled into view is whole. */
    lv_obj_set_size(content, lv_pct(100), lv_disp_get_ver_res(nullptr) - kNavH - kContentTop);
    lv_obj_align(content, LV_ALIGN_TOP_MID, 0, kContentTop);
    lv_obj_set_scrollbar_mode(content, LV_SCROLLBAR_MODE_OFF);

    pstinfo->pstCont = cont;
    pstinfo->pstContent = content;
    uint32_t u32Enabled = 0;
    bool bDesc = false;
    for (uint32_t i = 0; i < pstinfo->u32ItemNum; ++i) {
        u32Enabled += pstinfo->pstItems[i].bEnable ? 1 : 0;
        bDesc = bDesc || (pstinfo->pstItems[i].bEnable && pstinfo->pstItems[i].bHasDesc);
    }
    if (u32Enabled > 2 || (u32Enabled == 2 && bDesc)) {
        lv_obj_add_flag(content, LV_OBJ_FLAG_SCROLLABLE);
    }
    for (uint32_t i = 0; i < pstinfo->u32ItemNum; ++i) {
        if (!pstinfo->pstItems[i].bEnable) {
            LOG_INFO("option %d Not Enable\n", (int)i);
            continue;
        }
        BuildRow(pstinfo, i, u32Enabled > 1);
    }
    return 0;
}

lv_obj_t *GetMainContItemObjByIndex(const PageCommonListInfo *pstInfo, uint32_t u32Row,
                                    uint32_t u32ObjIndex) {
    if (pstInfo == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstInfo");
        return nullptr;
    }
    if (u32ObjIndex >= PAGE_COMMON_OBJ_NUM) {
        LOG_ERROR("ulObjIndex[%d] error\n", (int)u32ObjIndex);
        return nullptr;
    }
    if (u32Row >= pstInfo->u32ItemNum) {
        LOG_ERROR("ulItemIndex[%d] error\n", (int)u32Row);
        return nullptr;
    }
    return pstInfo->astRows[u32Row].apstObj[u32ObjIndex];
}

bool PageCommon_ListScrolls(const PageCommonListInfo *pstInfo) {
    return pstInfo != nullptr && pstInfo->pstContent != nullptr &&
           lv_obj_has_flag(pstInfo->pstContent, LV_OBJ_FLAG_SCROLLABLE);
}

bool SetMenu_GetSettingValue(const GeneralSetingInfo *pstInfo, int32_t eElem, int32_t *ps32Value) {
    const GeneralSetingItem *pstItem = IpcMsg_GeneralSetingFindElem(eElem);
    if (pstInfo == nullptr || ps32Value == nullptr || pstItem == nullptr) {
        return false;
    }
    const uint8_t *pu8 = reinterpret_cast<const uint8_t *>(pstInfo) + pstItem->u16Offset;
    switch (pstItem->eKind) {
    case GS_KIND_FLAG:
    case GS_KIND_BYTE:
        *ps32Value = *pu8;
        return true;
    case GS_KIND_INT:
        memcpy(ps32Value, pu8, sizeof *ps32Value);
        return true;
    case GS_KIND_MASTER:
        *ps32Value = pstInfo->aiMasterSwitchValue;
        return true;
    default:
        return false;
    }
}

namespace {

/* Writes a number item into a settings record, as the store does when the recorder accepts it. */
void SetSettingValue(GeneralSetingInfo *pstInfo, int32_t eElem, int32_t s32Value) {
    const GeneralSetingItem *pstItem = IpcMsg_GeneralSetingFindElem(eElem);
    if (pstItem == nullptr) {
        return;
    }
    uint8_t *pu8 = reinterpret_cast<uint8_t *>(pstInfo) + pstItem->u16Offset;
    switch (pstItem->eKind) {
    case GS_KIND_FLAG:
        *pu8 = s32Value != 0 ? 1 : 0;
        break;
    case GS_KIND_BYTE:
        *pu8 = (uint8_t)s32Value;
        break;
    case GS_KIND_INT:
        memcpy(pu8, &s32Value, sizeof s32Value);
        break;
    case GS_KIND_MASTER:
        pstInfo->aiMasterSwitch = s32Value != 0 ? 1 : 0;
        pstInfo->aiMasterSwitchValue = s32Value;
        break;
    default:
        break;
    }
}

} // namespace

namespace Page {

/* ======================================== model ======================================== */

SysSetingModel *SysSetingModel::s_pstCurrent = nullptr;

int SysSetingModel::Init(const char *pcName, SetMenu *pstRootMenu, const int32_t *ps32Items,
                         int32_t s32ItemNum) {
    m_pstTopMenu = pstRootMenu;
    m_ps32Items = ps32Items;
    m_s32ItemNum = s32ItemNum;
    m_u32Pending = 0;
    if (Create(pcName,
               {DP_ACCOUNT_GENERAL_SETING, DP_ACCOUNT_STATUS_BAR, DP_ACCOUNT_INFO_TIPS,
                DP_ACCOUNT_SYSTEM_STATUS, DP_ACCOUNT_GENERAL_CTRL, DP_ACCOUNT_DEVS_INFO},
               onEvent, this) != 0) {
        return -1;
    }
    s_pstCurrent = this;
    return 0;
}

void SysSetingModel::Deinit() {
    Destroy();
    m_u32Pending = 0;
    if (s_pstCurrent == this) {
        s_pstCurrent = nullptr;
    }
}

int SysSetingModel::onEvent(Account *account, Account::EventParam *param) {
    SysSetingModel *self = static_cast<SysSetingModel *>(account->UserData);
    if (param->event != Account::EVENT_PUBLISH) {
        return Account::RES_UNSUPPORTED;
    }
    if (strcmp(param->tran->ID, DP_ACCOUNT_GENERAL_SETING) != 0 || param->size != sizeof(GeneralSetingReq)) {
        /* Status notices reach every settings page; only the store's reports are taken. */
        if (strcmp(param->tran->ID, DP_ACCOUNT_SYSTEM_STATUS) == 0) {
            return Account::RES_OK;
        }
        LOG_ERROR("error\n");
        return -1;
    }
    const GeneralSetingReq *pstReq = static_cast<const GeneralSetingReq *>(param->data_p);
    int32_t s32Cur = 0;
    SetMenu_GetSettingValue(&self->m_stInfo, pstReq->eElem, &s32Cur);
    LOG_ERROR("setting error , update [%d]--->[%d]\n", (int)s32Cur, (int)pstReq->iValue);
    SetSettingValue(&self->m_stInfo, pstReq->eElem, pstReq->iValue);
    return Account::RES_OK;
}

const SetMenuBinding *SysSetingModel::FindBinding(const SetMenu *pstMenu) const {
    for (uint32_t i = 0; i < m_u32BindingNum; ++i) {
        if (m_pstBindings[i].pstMenu == pstMenu) {
            return &m_pstBindings[i];
        }
    }
    return nullptr;
}

int32_t SysSetingModel::MenuGetDefault_Binding(SetMenu *pstMenu, int32_t s32Index, SetMenuItem **ppstItems) {
    (void)s32Index;
    (void)ppstItems;
    SysSetingModel *pstModel = Current();
    const SetMenuBinding *pstBind = pstModel != nullptr ? pstModel->FindBinding(pstMenu) : nullptr;
    int32_t s32Value = 0;
    if (pstBind == nullptr || !SetMenu_GetSettingValue(&pstModel->m_stInfo, pstBind->eElem, &s32Value)) {
        return -1;
    }
    int32_t s32Pos = SetMenu_OptionPos(pstMenu, pstBind->pstOptions, pstBind->u32Num, s32Value);
    if (s32Pos < 0) {
        LOG_WARN("no support  %d ,skip \n", (int)s32Value);
    }
    return s32Pos;
}

int32_t SysSetingModel::MenuGetDefault_BindingOr(SetMenu *pstMenu, int32_t s32Index, SetMenuItem **ppstItems,
                                                 int32_t (*pfnRule)(const GeneralSetingInfo &stInfo)) {
    SysSetingModel *pstModel = Current();
    if (pstModel == nullptr) {
        return -1;
    }
    if (pstModel->FindBinding(pstMenu) != nullptr) {
        return MenuGetDefault_Binding(pstMenu, s32Index, ppstItems);
    }
    return pfnRule(pstModel->m_stInfo);
}

int SysSetingModel::SwitchMenuToChild(int32_t s32Pos) {
    if (m_pstTopMenu == nullptr || s32Pos < 0 || s32Pos >= m_pstTopMenu->s32ItemNum) {
        LOG_ERROR("pstSubMenu[%d] = NULL \n", (int)s32Pos);
        return -1;
    }
    SetMenu *pstSub = m_pstTopMenu->ppstItems[s32Pos]->pstSubMenu;
    if (pstSub == nullptr) {
        LOG_ERROR("pstSubMenu[%d] = NULL \n", (int)s32Pos);
        return -1;
    }
    m_pstTopMenu = pstSub;
    LOG_INFO("swtich to menu : %s\n", pstSub->pcTitle != nullptr ? pstSub->pcTitle : "");
    return 0;
}

int SysSetingModel::SwitchMenuToParent() {
    if (m_pstTopMenu == nullptr || m_pstTopMenu->pstParentMenu == nullptr) {
        LOG_ERROR("pstParentMenu = NULL \n");
        return -1;
    }
    m_pstTopMenu = m_pstTopMenu->pstParentMenu;
    LOG_INFO("swtich to menu : %s\n", m_pstTopMenu->pcTitle != nullptr ? m_pstTopMenu->pcTitle : "");
    return 0;
}

const char *SysSetingModel::GetTitle() const {
    return m_pstTopMenu != nullptr ? m_pstTopMenu->pcTitle : nullptr;
}

int32_t SysSetingModel::GetItemNum() const {
    return m_pstTopMenu != nullptr ? m_pstTopMenu->s32ItemNum : 0;
}

int32_t SysSetingModel::GetItemId(int32_t s32Pos) const {
    if (m_pstTopMenu == nullptr || s32Pos < 0 || s32Pos >= m_pstTopMenu->s32ItemNum) {
        return -1;
    }
    return m_pstTopMenu->ppstItems[s32Pos]->s32ItemId;
}

const char *SysSetingModel::GetItemLabel(int32_t s32Pos) const {
    if (m_pstTopMenu == nullptr || s32Pos < 0 || s32Pos >= m_pstTopMenu->s32ItemNum) {
        return nullptr;
    }
    return m_pstTopMenu->ppstItems[s32Pos]->pcLabel;
}

int32_t SysSetingModel::GetCurMenuPos() const {
    if (m_pstTopMenu == nullptr) {
        return 0;
    }
    LOG_DEBUG("%s:  %d\n", "m_pstTopMenu->iCurrentPos", (int)m_pstTopMenu->iCurrentPos);
    return m_pstTopMenu->iCurrentPos;
}

void SysSetingModel::SetCurMenuPos(int32_t s32Pos) {
    if (m_pstTopMenu == nullptr) {
        return;
    }
    m_pstTopMenu->iCurrentPos = s32Pos;
    LOG_DEBUG("%s:  %d\n", "m_pstTopMenu->iCurrentPos", (int)s32Pos);
}

int32_t SysSetingModel::GetSubMenuDefVal(int32_t s32Pos) {
    if (m_pstTopMenu == nullptr || s32Pos < 0 || s32Pos >= m_pstTopMenu->s32ItemNum ||
        m_pstTopMenu->ppstItems[s32Pos]->pstSubMenu == nullptr) {
        LOG_ERROR("index [%d] no SubMenu \n", (int)s32Pos);
        return -1;
    }
    SetMenuItem *pstItem = m_pstTopMenu->ppstItems[s32Pos];
    SetMenu *pstSub = pstItem->pstSubMenu;
    if (pstSub->GetDefaultValCB == nullptr) {
        LOG_ERROR("index [%d] SubMenu no set GetDefaultValCB\n", (int)s32Pos);
        return -1;
    }
    int32_t s32Res = pstSub->GetDefaultValCB(pstSub, s32Pos, pstSub->ppstItems);
    if (s32Res < 0) {
        return -1; /* the stored value matches no option */
    }
    pstSub->iCurrentPos = s32Res;
    return pstItem->s32ItemId + s32Res + 1;
}

int32_t SysSetingModel::GetCurMenuDefVal() {
    if (m_pstTopMenu == nullptr || m_pstTopMenu->GetDefaultValCB == nullptr) {
        LOG_ERROR("Cur menu no set GetDefaultValCB\n");
        return -1;
    }
    return m_pstTopMenu->GetDefaultValCB(m_pstTopMenu, -1, m_pstTopMenu->ppstItems);
}

int SysSetingModel::LoadGeneralSetingData() {
    if (CheckAccount() != 0) {
        return -1;
    }
    int s32Ret = 0;
    if (m_ps32Items != nullptr && m_s32ItemNum > 0) {
        s32Ret = LoadGeneralSeting(m_ps32Items, m_s32ItemNum);
    }
    if (QueryGeneralSeting(&m_stInfo) != 0) {
        return -1;
    }
    /* Values sent but not yet taken by the store stay as chosen in the page's copy. */
    for (uint32_t i = 0; i < m_u32Pending; ++i) {
        SetSettingValue(&m_stInfo, m_astPending[i].eElem, m_astPending[i].s32Value);
    }
    return s32Ret;
}

int SysSetingModel::GetGeneralSetingInfo(GeneralSetingInfo *pstInfo, bool bReload) {
    if (CheckAccount() != 0) {
        return -1;
    }
    if (bReload) {
        LoadGeneralSetingData();
    }
    return QueryGeneralSeting(pstInfo);
}

int SysSetingModel::GeneralSetingComm(int32_t eElem, int32_t s32Value) {
    if (CtrlGeneralSetingItem(eElem, s32Value) != 0) {
        return -1;
    }
    int32_t s32Old = 0;
    SetMenu_GetSettingValue(&m_stInfo, eElem, &s32Old);
    if (eElem == GS_WIFI_MODE) {
        LOG_INFO("update [%d]--->[%d]\n", (int)s32Old, (int)s32Value);
    }
    if (m_u32Pending < kMaxPending) {
        m_astPending[m_u32Pending++] = {eElem, s32Value, s32Old};
    }
    SetSettingValue(&m_stInfo, eElem, s32Value);
    return 0;
}

bool SysSetingModel::CheckPendingSaves() {
    if (m_u32Pending == 0 || DP_GeneralSeting_PendingSaves() > 0 || CheckAccount() != 0) {
        return false;
    }
    GeneralSetingInfo stStore;
    if (QueryGeneralSeting(&stStore) != 0) {
        return false;
    }
    bool bRefused = false;
    for (uint32_t i = 0; i < m_u32Pending; ++i) {
        int32_t s32Now = 0;
        SetMenu_GetSettingValue(&stStore, m_astPending[i].eElem, &s32Now);
        if (s32Now != m_astPending[i].s32Value) {
            LOG_ERROR("setting error , update [%d]--->[%d]\n", (int)m_astPending[i].s32Value, (int)s32Now);
            bRefused = true;
        }
    }
    m_u32Pending = 0;
    if (bRefused) {
        m_stInfo = stStore;
    }
    return bRefused;
}

int SysSetingModel::GeneralCtrlComm(int32_t eElem, const char *pcValue) {
    return CtrlGeneralCtrlItem(true, eElem, pcValue);
}

int SysSetingModel::CtrlStatusBarItem(int32_t eCmd, const char *pcTitle, bool bLangId) {
    StatusBarMsg stMsg;
    memset(&stMsg, 0, sizeof stMsg);
    stMsg.eCmd = eCmd;
    stMsg.pcTitle = pcTitle;
    stMsg.bTitleIsLangId = bLangId;
    return CtrlStatusBarItem(&stMsg);
}

int SysSetingModel::CtrlStatusBarTitle(int32_t eCmd, const char *pcTitle, const char *pcFocus) {
    /* The title goes as text: a language-id title would leave the clock's shadow of the page
     * before under it. */
    char szTitle[128] = "";
    if (pcTitle != nullptr && lv_label_get_text_tr(pcTitle, szTitle, sizeof szTitle) != 0) {
        snprintf(szTitle, sizeof szTitle, "%s", pcTitle);
    }
    StatusBarMsg stMsg;
    memset(&stMsg, 0, sizeof stMsg);
    stMsg.eCmd = eCmd;
    stMsg.pcTitle = szTitle;
    stMsg.pcFocus = pcFocus;
    return CtrlStatusBarItem(&stMsg);
}

int SysSetingModel::GetDevsInfo(DevsInfo *pstInfo, bool bRefresh) {
    if (bRefresh) {
        int32_t s32Any = 0;
        Notify(DP_ACCOUNT_DEVS_INFO, &s32Any, sizeof s32Any);
    }
    return Pull(DP_ACCOUNT_DEVS_INFO, pstInfo, sizeof *pstInfo);
}

/* ======================================== view ======================================== */

void SysSetingView::SetImg(lv_obj_t *obj, const char *pcRelPath) {
    if (obj != nullptr && pcRelPath != nullptr) {
        lv_img_set_src(obj, UI_ResPath(pcRelPath, UI_RES_PIC_ROOT));
    }
}

void SysSetingView::SetHidden(lv_obj_t *obj, bool bHidden) {
    if (obj == nullptr) {
        return;
    }
    if (bHidden) {
        lv_obj_add_flag(obj, LV_OBJ_FLAG_HIDDEN);
    } else {
        lv_obj_clear_flag(obj, LV_OBJ_FLAG_HIDDEN);
    }
}

lv_color_t SysSetingView::BgColor() {
    return lv_color_hex(kPageBg);
}

namespace {
void NavY(void *var, int32_t v) {
    lv_obj_set_y(static_cast<lv_obj_t *>(var), v);
}
} // namespace

void SysSetingView::CreateBottomBtns(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data) {
    /* One press style for every page's navigation images, made on first use. */
    static lv_style_transition_dsc_t s_stTrans;
    static lv_style_t s_stPress;
    static bool s_bStyleInit = false;
    if (!s_bStyleInit) {
        static const lv_style_prop_t s_astProps[] = {LV_STYLE_IMG_RECOLOR_OPA, LV_STYLE_PROP_INV};
        lv_style_transition_dsc_init(&s_stTrans, s_astProps, lv_anim_path_linear, 200, 0, nullptr);
        lv_style_init(&s_stPress);
        lv_style_set_img_recolor(&s_stPress, lv_color_black());
        lv_style_set_transition(&s_stPress, &s_stTrans);
        s_bStyleInit = true;
    }
    lv_obj_remove_style_all(root);
    lv_obj_set_size(root, lv_pct(100), lv_pct(100));
    lv_obj_set_style_bg_color(root, BgColor(), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(root, LV_OPA_COVER, LV_PART_MAIN);
    lv_obj_clear_flag(root, LV_OBJ_FLAG_SCROLLABLE);

    ui.bottom_cont = PlainObj(root);
    lv_obj_set_size(ui.bottom_cont, lv_pct(100), kNavH);
    lv_obj_align(ui.bottom_cont, LV_ALIGN_BOTTOM_LEFT, 0, 0);
    lv_obj_set_style_bg_color(ui.bottom_cont, BgColor(), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(ui.bottom_cont, LV_OPA_COVER, LV_PART_MAIN);
    struct {
        lv_obj_t **ppstObj;
        const char *pcIcon;
        int32_t s32Pct;
    } const astBtns[] = {
        {&ui.btn_back, "setmenu/navibar/goback_icon.png", 10},
        {&ui.btn_up, "setmenu/navibar/up_icon.png", 33},
        {&ui.btn_down, "setmenu/navibar/down_icon.png", 57},
        {&ui.btn_confirm, "setmenu/navibar/confirm_icon.png", 80},
    };
    for (const auto &b : astBtns) {
        lv_obj_t *img = lv_img_create(ui.bottom_cont);
        SetImg(img, b.pcIcon);
        lv_obj_align(img, LV_ALIGN_LEFT_MID, lv_pct(b.s32Pct), 0);
        lv_obj_add_flag(img, LV_OBJ_FLAG_CLICKABLE);
        lv_obj_add_style(img, &s_stPress, LV_STATE_DEFAULT);
        lv_obj_set_style_img_recolor_opa(img, 153, LV_STATE_PRESSED);
        lv_obj_set_style_img_recolor_opa(img, 102, LV_STATE_USER_1);
        lv_obj_add_event_cb(img, event_cb, LV_EVENT_ALL, user_data);
        *b.ppstObj = img;
    }
    ui.anim_timeline = lv_anim_timeline_create();
    const AnimTimelineRow astRows[] = {
        {0, ui.btn_back, NavY, kNavH, 0, 300, lv_anim_path_ease_out, true},
        {60, ui.btn_up, NavY, kNavH, 0, 300, lv_anim_path_ease_out, true},
        {120, ui.btn_down, NavY, kNavH, 0, 300, lv_anim_path_ease_out, true},
        {180, ui.btn_confirm, NavY, kNavH, 0, 300, lv_anim_path_ease_out, true},
        {0, nullptr, nullptr, 0, 0, 0, nullptr, false},
    };
    AnimTimelineAddTable(ui.anim_timeline, astRows);
    LOG_INFO("sysset page create confirm key[%p] success", (void *)ui.btn_confirm);
}

void SysSetingView::StartTimeline() {
    if (ui.anim_timeline != nullptr) {
        lv_anim_timeline_start(ui.anim_timeline);
    }
}

SysSetingView::~SysSetingView() {
    if (m_pstDelTimer != nullptr) {
        lv_timer_del(m_pstDelTimer);
    }
}

void SysSetingView::DeletePending() {
    for (lv_obj_t *&obj : m_apstPending) {
        if (obj != nullptr) {
            lv_obj_del(obj);
            obj = nullptr;
        }
    }
}

void SysSetingView::DelObj_Async_Cb(lv_timer_t *t) {
    SysSetingView *self = static_cast<SysSetingView *>(t->user_data);
    self->DeletePending();
    lv_timer_del(t);
    self->m_pstDelTimer = nullptr;
}

void SysSetingView::DeleteScreen() {
    lv_obj_t *pstOld = ui.cur_bg;
    /* Forgotten first: leaving the group moves the focus over the old rows, which must not
     * count as the user's focus any more. */
    ui.cur_bg = nullptr;
    ui.cur_cont_row = nullptr;
    if (pstOld == nullptr) {
        return;
    }
    lv_obj_add_flag(pstOld, LV_OBJ_FLAG_HIDDEN);
    RemoveFromGroup(pstOld);
    bool bQueued = false;
    for (lv_obj_t *&obj : m_apstPending) {
        if (obj == nullptr) {
            obj = pstOld;
            bQueued = true;
            break;
        }
    }
    if (!bQueued) {
        lv_obj_del(pstOld); /* only when keys come faster than the timers run */
    }
    if (m_pstDelTimer == nullptr) {
        m_pstDelTimer = lv_timer_create(DelObj_Async_Cb, 0, this);
    }
}

PageCommonListInfo *SysSetingView::CreateList(lv_obj_t *root, const PageCommonItem *pstItems, uint32_t u32Num,
                                              lv_event_cb_t event_cb, void *user_data) {
    DeleteScreen();
    memset(&m_stList, 0, sizeof m_stList);
    m_stList.u32ItemNum = u32Num;
    m_stList.pstParent = root;
    m_stList.pstItems = pstItems;
    if (lv_page_common_create_content(&m_stList) != 0) {
        return nullptr;
    }
    lv_obj_move_background(m_stList.pstCont);
    lv_group_t *pstGroup = lv_group_get_default();
    for (uint32_t i = 0; i < m_stList.u32ItemNum; ++i) {
        lv_obj_t *btn = m_stList.astRows[i].apstObj[PAGE_COMMON_OBJ_BTN];
        if (btn == nullptr) {
            continue;
        }
        lv_obj_add_event_cb(btn, event_cb, LV_EVENT_ALL, user_data);
        if (pstGroup != nullptr) {
            lv_group_add_obj(pstGroup, btn);
        }
    }
    ui.cur_bg = m_stList.pstCont;
    ui.cur_cont_row = &m_stList;
    return &m_stList;
}

lv_obj_t *SysSetingView::CreateScreen(lv_obj_t *root) {
    DeleteScreen();
    lv_obj_t *scr = PlainObj(root);
    lv_obj_set_size(scr, lv_pct(100), lv_disp_get_ver_res(nullptr) - kNavH);
    lv_obj_align(scr, LV_ALIGN_TOP_MID, 0, 0);
    lv_obj_set_style_bg_color(scr, BgColor(), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(scr, LV_OPA_COVER, LV_PART_MAIN);
    lv_obj_move_background(scr);
    ui.cur_bg = scr;
    return scr;
}

void SysSetingView::Delete() {
    DeleteScreen();
    if (m_pstDelTimer != nullptr) {
        lv_timer_del(m_pstDelTimer);
        m_pstDelTimer = nullptr;
    }
    DeletePending();
    if (ui.anim_timeline != nullptr) {
        lv_anim_timeline_del(ui.anim_timeline);
    }
    ui = {};
}

/* ======================================== page ======================================== */

SysSetingPage::SysSetingPage(SysSetingModel &model, SysSetingView &view, const char *pcModelName,
                             SetMenu *pstRootMenu, const int32_t *ps32Items, int32_t s32ItemNum)
    : Model(model), View(view), m_pstRootMenu(pstRootMenu), m_pcModelName(pcModelName),
      m_ps32Items(ps32Items), m_s32ItemNum(s32ItemNum) {}

SysSetingPage::~SysSetingPage() {
    if (m_pstTimer != nullptr) {
        lv_timer_del(m_pstTimer);
    }
}

void SysSetingPage::onViewLoad() {
    Model.Init(m_pcModelName, m_pstRootMenu, m_ps32Items, m_s32ItemNum);
    Model.LoadGeneralSetingData();
    View.CreateBottomBtns(root, onEvent, this);
    m_pstTimer = lv_timer_create(TimerCb, 100, this);
    if (!OpenScreen(Model.m_pstTopMenu)) {
        CreateListPageHandle(0);
    }
}

void SysSetingPage::AddBtnsToGroup() {
    if (!OnList()) {
        return;
    }
    /* Rebuilt: what a page opened from here changed shows in the values and marks. */
    int32_t s32Focus = Model.GetCurMenuPos();
    if (IsOptionList()) {
        int32_t s32Sel = Model.GetCurMenuDefVal();
        s32Focus = s32Sel >= 0 ? s32Sel : s32Focus;
    }
    CreateListPageHandle(s32Focus);
}

void SysSetingPage::onViewWillAppear() {
    Key_SetEventCallback(KeyEventCallBack, this);
    lv_group_t *pstGroup = lv_group_get_default();
    if (m_bAppeared && pstGroup != nullptr && !IsInside(lv_group_get_focused(pstGroup), root)) {
        Model.LoadGeneralSetingData();
        AddBtnsToGroup();
    }
    m_bAppeared = true;
    View.StartTimeline();
    Model.CtrlStatusBarItem(STATUSBAR_CMD_TITLE_CENTER, nullptr, false);
}

void SysSetingPage::onViewDidAppear() {
    StatusBar_ShowType(STATUSBAR_SHOW_REC_TITLE);
    lv_obj_clear_state(View.ui.btn_confirm, LV_STATE_PRESSED);
    m_u32IgnoreConfirmTick = lv_tick_get();
    m_bVisible = true;
    UpdateTitle(-1);
    onPageAppear();
}

void SysSetingPage::onViewWillDisappear() {
    m_bVisible = false;
    Key_SetEventCallback(nullptr, nullptr);
    m_bMuteFocus = true;   /* the focus moving over the rows as they leave is not the user's */
    RemoveFromGroup(root); /* only this page's: the page coming in may have added its own */
    m_bMuteFocus = false;
}

void SysSetingPage::onViewDidUnload() {
    m_bAppeared = false;
    if (m_pstTimer != nullptr) {
        lv_timer_del(m_pstTimer);
        m_pstTimer = nullptr;
    }
    View.Delete();
    Model.Deinit();
}

void SysSetingPage::TimerCb(lv_timer_t *t) {
    SysSetingPage *self = static_cast<SysSetingPage *>(t->user_data);
    if (self->Model.HasPendingSaves() && self->Model.CheckPendingSaves()) {
        self->RestoreMarks();
    }
}

bool SysSetingPage::IsOptionList() const {
    return Model.m_pstTopMenu != nullptr && Model.m_pstTopMenu->GetDefaultValCB != nullptr;
}

int SysSetingPage::OptionChosen(int32_t s32ItemId) {
    const SetMenuBinding *pstBind = Model.FindBinding(Model.m_pstTopMenu);
    int32_t s32Value = 0;
    if (pstBind == nullptr ||
        !SetMenu_OptionValue(pstBind->pstOptions, pstBind->u32Num, s32ItemId, &s32Value)) {
        return -1;
    }
    return Model.GeneralSetingComm(pstBind->eElem, s32Value);
}

int32_t SysSetingPage::SwitchState(int32_t s32ItemId) {
    (void)s32ItemId;
    return -1;
}

int SysSetingPage::SwitchChanged(int32_t s32ItemId, bool bOn) {
    (void)bOn;
    LOG_WARN("no support this option %d\n", (int)s32ItemId);
    return -1;
}

const char *SysSetingPage::RowValueId(int32_t s32ItemId) {
    (void)s32ItemId;
    return nullptr;
}

bool SysSetingPage::OpenScreen(SetMenu *pstMenu) {
    (void)pstMenu;
    return false;
}

bool SysSetingPage::ScreenBack() {
    return false;
}

void SysSetingPage::ScreenClick(lv_obj_t *pstTarget) {
    (void)pstTarget;
}

bool SysSetingPage::ScreenKey(uint32_t u32Code, uint32_t u32Value) {
    (void)u32Code;
    (void)u32Value;
    return false;
}

void SysSetingPage::RowInfo(int32_t s32Pos, PageCommonItem *pstRow) {
    const SetMenuItem *pstItem = Model.m_pstTopMenu->ppstItems[s32Pos];
    memset(pstRow, 0, sizeof *pstRow);
    pstRow->bEnable = 1;
    pstRow->s32LabelW = -1;
    pstRow->s32ValueW = -1;
    pstRow->pcLabel = pstItem->pcLabel;
    const char *pcIcon = SetMenu_PicPath(pstItem->s32Icon);
    pstRow->bHasIcon = pstItem->s32Icon != 0 && pcIcon != nullptr;
    pstRow->pcIcon = pcIcon;
    if (IsOptionList() && pstItem->pstSubMenu == nullptr) {
        pstRow->bHasSwitch = 1;
        pstRow->s32LabelW = 70;
    } else if (SwitchState(pstItem->s32ItemId) >= 0) {
        pstRow->bHasSwitch = 1;
        pstRow->s32LabelW = 70;
    } else if (pstItem->pstSubMenu != nullptr) {
        pstRow->bHasArrow = 1;
    }
}

void SysSetingPage::CreateListPageHandle(int32_t s32Focus) {
    int32_t s32Num = Model.GetItemNum();
    if (s32Num > PAGE_COMMON_MAX_ROWS) {
        s32Num = PAGE_COMMON_MAX_ROWS;
    }
    static PageCommonItem s_astRows[PAGE_COMMON_MAX_ROWS];
    for (int32_t i = 0; i < s32Num; ++i) {
        RowInfo(i, &s_astRows[i]);
    }
    PageCommonListInfo *pstList = View.CreateList(root, s_astRows, (uint32_t)s32Num, onEvent, this);
    if (pstList == nullptr) {
        return;
    }
    /* Marks first, so that the focus event shows the right value. */
    RestoreMarks();
    if (s32Focus < 0 || s32Focus >= s32Num || RowObj(s32Focus, PAGE_COMMON_OBJ_BTN) == nullptr) {
        s32Focus = 0;
        while (s32Focus < s32Num && RowObj(s32Focus, PAGE_COMMON_OBJ_BTN) == nullptr) {
            ++s32Focus;
        }
    }
    lv_obj_t *btn = RowObj(s32Focus, PAGE_COMMON_OBJ_BTN);
    if (btn != nullptr) {
        lv_group_focus_obj(btn);
        lv_obj_scroll_to_view(btn, LV_ANIM_OFF);
        /* Focusing the object the group already had gives no event in every LVGL version. */
        PageFocusEventHandle(btn);
    }
    View.StartTimeline();
    bool bFew = s32Num <= 1;
    for (lv_obj_t *nav : {View.ui.btn_up, View.ui.btn_down}) {
        if (bFew) {
            lv_obj_add_state(nav, LV_STATE_USER_1);
        } else {
            lv_obj_clear_state(nav, LV_STATE_USER_1);
        }
    }
}

void SysSetingPage::RestoreMarks() {
    if (!OnList()) {
        return;
    }
    int32_t s32Num = Model.GetItemNum();
    if (IsOptionList()) {
        int32_t s32Sel = Model.GetCurMenuDefVal();
        LOG_INFO("u32SelectItemPos = %d\n", (int)s32Sel);
        ClearPageAllUser1FlagHandle();
        if (s32Sel >= 0 && s32Sel < s32Num) {
            lv_obj_t *img = RowObj(s32Sel, PAGE_COMMON_OBJ_SWITCH);
            if (img != nullptr) {
                lv_obj_add_flag(img, SETMENU_FLAG_SELECTED);
            }
        }
    }
    for (int32_t i = 0; i < s32Num; ++i) {
        int32_t s32State = SwitchState(Model.GetItemId(i));
        lv_obj_t *img = RowObj(i, PAGE_COMMON_OBJ_SWITCH);
        if (s32State < 0 || img == nullptr) {
            continue;
        }
        if (s32State > 0) {
            lv_obj_add_flag(img, SETMENU_FLAG_SWITCH);
        } else {
            lv_obj_clear_flag(img, SETMENU_FLAG_SWITCH);
        }
    }
    ListItemRefresh();
}

void SysSetingPage::ListItemRefresh() {
    if (!OnList()) {
        return;
    }
    bool bOptions = IsOptionList();
    int32_t s32Num = Model.GetItemNum();
    for (int32_t i = 0; i < s32Num; ++i) {
        lv_obj_t *img = RowObj(i, PAGE_COMMON_OBJ_SWITCH);
        if (img == nullptr || lv_obj_has_flag(img, LV_OBJ_FLAG_HIDDEN)) {
            continue;
        }
        int32_t s32ItemId = Model.GetItemId(i);
        if (SwitchState(s32ItemId) >= 0) {
            bool bOn = lv_obj_has_flag(img, SETMENU_FLAG_SWITCH);
            SysSetingView::SetImg(img, SetMenu_PicPath(bOn ? SETMENU_PIC_BTN_ON : SETMENU_PIC_BTN_OFF));
        } else if (bOptions) {
            bool bSel = lv_obj_has_flag(img, SETMENU_FLAG_SELECTED);
            SysSetingView::SetImg(img, SetMenu_PicPath(bSel ? SETMENU_PIC_SELECT : SETMENU_PIC_NOSELECT));
        }
    }
    for (int32_t i = 0; i < s32Num; ++i) {
        lv_obj_t *value = RowObj(i, PAGE_COMMON_OBJ_VALUE);
        if (value == nullptr || lv_obj_has_flag(value, LV_OBJ_FLAG_HIDDEN)) {
            continue;
        }
        const char *pcId = RowValueId(Model.GetItemId(i));
        if (pcId == nullptr && !bOptions && Model.m_pstTopMenu->ppstItems[i]->pstSubMenu != nullptr) {
            SetMenu *pstSub = Model.m_pstTopMenu->ppstItems[i]->pstSubMenu;
            if (pstSub->GetDefaultValCB != nullptr) {
                int32_t s32Id = Model.GetSubMenuDefVal(i);
                int32_t s32Pos = s32Id - Model.GetItemId(i) - 1;
                if (s32Id >= 0 && s32Pos >= 0 && s32Pos < pstSub->s32ItemNum) {
                    pcId = pstSub->ppstItems[s32Pos]->pcLabel;
                }
            }
        }
        SetText(value, pcId);
    }
}

void SysSetingPage::ClearPageAllUser1FlagHandle() {
    for (int32_t i = 0; i < Model.GetItemNum(); ++i) {
        lv_obj_t *img = RowObj(i, PAGE_COMMON_OBJ_SWITCH);
        if (img != nullptr) {
            lv_obj_clear_flag(img, SETMENU_FLAG_SELECTED);
        }
    }
}

void SysSetingPage::MarkOption(int32_t s32Pos) {
    ClearPageAllUser1FlagHandle();
    lv_obj_t *img = RowObj(s32Pos, PAGE_COMMON_OBJ_SWITCH);
    if (img != nullptr) {
        lv_obj_add_flag(img, SETMENU_FLAG_SELECTED);
    }
    ListItemRefresh();
}

lv_obj_t *SysSetingPage::RowObj(int32_t s32Pos, uint32_t u32ObjIndex) const {
    const PageCommonListInfo *pstList = View.ui.cur_cont_row;
    if (pstList == nullptr || s32Pos < 0 || (uint32_t)s32Pos >= pstList->u32ItemNum ||
        u32ObjIndex >= PAGE_COMMON_OBJ_NUM) {
        return nullptr;
    }
    return pstList->astRows[s32Pos].apstObj[u32ObjIndex];
}

int32_t SysSetingPage::RowOfTarget(lv_obj_t *pstTarget) const {
    const PageCommonListInfo *pstList = View.ui.cur_cont_row;
    if (pstList == nullptr || pstTarget == nullptr) {
        return -1;
    }
    for (uint32_t i = 0; i < pstList->u32ItemNum; ++i) {
        if (pstList->astRows[i].apstObj[PAGE_COMMON_OBJ_BTN] == pstTarget) {
            return (int32_t)i;
        }
    }
    return -1;
}

void SysSetingPage::UpdateTitle(int32_t s32Pos) {
    if (!m_bVisible) {
        return;
    }
    char szFocus[24] = "";
    if (OnList()) {
        if (s32Pos < 0) {
            s32Pos = RowOfTarget(lv_group_get_focused(lv_group_get_default()));
        }
        uint32_t u32Count = 0, u32No = 0;
        for (int32_t i = 0; i < Model.GetItemNum(); ++i) {
            if (RowObj(i, PAGE_COMMON_OBJ_BTN) != nullptr) {
                ++u32Count;
                u32No = i == s32Pos ? u32Count : u32No;
            }
        }
        if (u32No > 0) {
            snprintf(szFocus, sizeof szFocus, "%u/%u", (unsigned)u32No, (unsigned)u32Count);
        }
    }
    Model.CtrlStatusBarTitle(STATUSBAR_CMD_UPDATE_TITLE, Model.GetTitle(), szFocus);
}

void SysSetingPage::PageFocusEventHandle(lv_obj_t *pstTarget) {
    int32_t s32Pos = RowOfTarget(pstTarget);
    if (s32Pos < 0 || m_bMuteFocus) {
        return;
    }
    if (!IsOptionList()) {
        Model.SetCurMenuPos(s32Pos); /* the focus to restore on return */
    }
    lv_obj_t *label = RowObj(s32Pos, PAGE_COMMON_OBJ_LABEL);
    lv_label_set_long_mode(label, LV_LABEL_LONG_SCROLL_CIRCULAR);
    for (uint32_t u32Obj : {PAGE_COMMON_OBJ_LABEL, PAGE_COMMON_OBJ_VALUE, PAGE_COMMON_OBJ_ARROW}) {
        lv_obj_add_state(RowObj(s32Pos, u32Obj), LV_STATE_FOCUSED | LV_STATE_FOCUS_KEY | LV_STATE_EDITED);
    }
    UpdateTitle(s32Pos);
}

void SysSetingPage::PageDeFocusEventHandle(lv_obj_t *pstTarget) {
    int32_t s32Pos = RowOfTarget(pstTarget);
    if (s32Pos < 0) {
        return;
    }
    lv_label_set_long_mode(RowObj(s32Pos, PAGE_COMMON_OBJ_LABEL), LV_LABEL_LONG_DOT);
    for (uint32_t u32Obj : {PAGE_COMMON_OBJ_LABEL, PAGE_COMMON_OBJ_VALUE, PAGE_COMMON_OBJ_ARROW}) {
        lv_obj_clear_state(RowObj(s32Pos, u32Obj), LV_STATE_FOCUSED | LV_STATE_FOCUS_KEY | LV_STATE_EDITED);
    }
}

void SysSetingPage::PageScrollEventHandle(lv_obj_t *pstTarget) {
    if (pstTarget != View.ui.btn_up && pstTarget != View.ui.btn_down) {
        LOG_WARN("only support btn.up / btn.down ,return\n");
    }
    /* The focus itself is moved by the key input on the default group. */
}

void SysSetingPage::PageBackHandle() {
    if (View.ui.cur_bg == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "View.ui.cur_cont_row");
        return;
    }
    StatusBar_ShowType(STATUSBAR_SHOW_REC_TITLE);
    if (!OnList() && ScreenBack()) {
        return;
    }
    if (Model.m_pstTopMenu == m_pstRootMenu || Model.m_pstTopMenu->pstParentMenu == nullptr) {
        if (Manager != nullptr) {
            Manager->Pop();
        }
        return;
    }
    View.DeleteScreen();
    Model.SwitchMenuToParent();
    if (!OpenScreen(Model.m_pstTopMenu)) {
        CreateListPageHandle(Model.GetCurMenuPos());
    }
}

void SysSetingPage::ListShortClickEventHandle(lv_obj_t *pstTarget) {
    int32_t s32Pos = RowOfTarget(pstTarget);
    if (s32Pos < 0) {
        return;
    }
    if (lv_tick_elaps(m_u32IgnoreConfirmTick) < kConfirmIgnoreMs) {
        LOG_WARN("Ignore this key\n");
        return;
    }
    if (lv_obj_has_state(pstTarget, LV_STATE_USER_1)) {
        LOG_WARN("option %d disabled\n", (int)Model.GetItemId(s32Pos));
        return;
    }
    SetMenuItem *pstItem = Model.m_pstTopMenu->ppstItems[s32Pos];
    lv_obj_t *img = RowObj(s32Pos, PAGE_COMMON_OBJ_SWITCH);
    int32_t s32Switch = SwitchState(pstItem->s32ItemId);
    if (s32Switch >= 0) {
        bool bOn = img != nullptr && lv_obj_has_flag(img, SETMENU_FLAG_SWITCH);
        if (SwitchChanged(pstItem->s32ItemId, !bOn) == 0 && img != nullptr) {
            if (bOn) {
                lv_obj_clear_flag(img, SETMENU_FLAG_SWITCH);
            } else {
                lv_obj_add_flag(img, SETMENU_FLAG_SWITCH);
            }
            ListItemRefresh();
        }
        return;
    }
    if (pstItem->pstSubMenu != nullptr) {
        Model.SetCurMenuPos(s32Pos);
        if (Model.SwitchMenuToChild(s32Pos) != 0) {
            return;
        }
        if (OpenScreen(Model.m_pstTopMenu)) {
            return;
        }
        int32_t s32Focus = Model.m_pstTopMenu->iCurrentPos;
        if (IsOptionList()) {
            int32_t s32Sel = Model.GetCurMenuDefVal();
            s32Focus = s32Sel >= 0 ? s32Sel : s32Focus;
        }
        CreateListPageHandle(s32Focus);
        return;
    }
    if (!IsOptionList()) {
        LOG_WARN("no support this option %d\n", (int)pstItem->s32ItemId);
        return;
    }
    if (img != nullptr && lv_obj_has_flag(img, SETMENU_FLAG_SELECTED)) {
        LOG_INFO("already select ,skip \n");
        return;
    }
    if (OptionChosen(pstItem->s32ItemId) != 0) {
        LOG_WARN("no support this option %d\n", (int)pstItem->s32ItemId);
        return;
    }
    if (!OnList() || RowObj(s32Pos, PAGE_COMMON_OBJ_BTN) != pstTarget) {
        return; /* the option rebuilt the screen (a language change) */
    }
    Model.SetCurMenuPos(s32Pos);
    MarkOption(s32Pos);
}

void SysSetingPage::OnShortClick(lv_obj_t *pstTarget) {
    LOG_DEBUG(" LV_EVENT_SHORT_CLICKED \n");
    if (View.ui.cur_bg == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "instance->View.ui.cur_bg");
        return;
    }
    if (pstTarget == View.ui.btn_back) {
        PageBackHandle();
    } else if (pstTarget == View.ui.btn_up || pstTarget == View.ui.btn_down) {
        PageScrollEventHandle(pstTarget);
    } else if (pstTarget == View.ui.btn_confirm && ConfirmImageClick()) {
        return;
    } else if (!OnList()) {
        ScreenClick(pstTarget);
    } else {
        ListShortClickEventHandle(pstTarget);
    }
}

void SysSetingPage::onEvent(lv_event_t *e) {
    SysSetingPage *self = static_cast<SysSetingPage *>(lv_event_get_user_data(e));
    lv_obj_t *pstTarget = lv_event_get_target(e);
    switch (lv_event_get_code(e)) {
    case LV_EVENT_SHORT_CLICKED:
        self->OnShortClick(pstTarget);
        break;
    case LV_EVENT_FOCUSED:
        self->PageFocusEventHandle(pstTarget);
        break;
    case LV_EVENT_DEFOCUSED:
        self->PageDeFocusEventHandle(pstTarget);
        break;
    default:
        break;
    }
}

void SysSetingPage::KeyEventCallBack(KeyEvtInfo *pstEvtInfo) {
    if (!Key_PageCheckInfo(pstEvtInfo)) {
        return;
    }
    SysSetingPage *self = static_cast<SysSetingPage *>(pstEvtInfo->pcUserDate);
    if (!self->OnList() && self->ScreenKey(pstEvtInfo->keycode, pstEvtInfo->keyvalue)) {
        return;
    }
    lv_obj_t *pstTarget = nullptr;
    const char *pcName = "";
    switch (pstEvtInfo->keycode) {
    case KEY_CODE_OK:
        pstTarget = self->View.ui.btn_confirm;
        pcName = "OK";
        break;
    case KEY_CODE_NEXT:
        pstTarget = self->View.ui.btn_down;
        pcName = "NEXT";
        break;
    case KEY_CODE_PREV:
        pstTarget = self->View.ui.btn_up;
        pcName = "PREV";
        break;
    case KEY_CODE_BACK:
        pstTarget = self->View.ui.btn_back;
        pcName = "BACK";
        break;
    default:
        return;
    }
    if (pstTarget == nullptr) {
        return;
    }
    KeyPageAction eAction = Key_PageTrack(pstEvtInfo->keyvalue, &self->m_u32PressTick);
    if (eAction == KEY_PAGE_PRESS) {
        lv_event_send(pstTarget, LV_EVENT_PRESSED, nullptr);
        return;
    }
    if (eAction != KEY_PAGE_RELEASE && eAction != KEY_PAGE_SHORT_CLICK) {
        return;
    }
    if (lv_event_send(pstTarget, LV_EVENT_RELEASED, nullptr) != LV_RES_OK ||
        eAction != KEY_PAGE_SHORT_CLICK) {
        return;
    }
    LOG_DEBUG("LV_EVENT_SHORT_CLICKED %s\n", pcName);
    if (pstEvtInfo->keycode == KEY_CODE_OK &&
        lv_tick_elaps(self->m_u32IgnoreConfirmTick) < kConfirmIgnoreMs) {
        LOG_WARN("Ignore this key\n");
        return;
    }
    lv_event_send(pstTarget, LV_EVENT_SHORT_CLICKED, nullptr);
}

} // namespace Page
