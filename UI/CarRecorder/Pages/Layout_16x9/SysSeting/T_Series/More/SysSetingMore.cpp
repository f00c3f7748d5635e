#include "SysSetingMore.h"

#include <stdio.h>
#include <string.h>

#include <string>

#include "lv_label_ext_func.h"
#include "SetFlowScreens.h"
#include "log.h"
#include "vyx_ui_common_data.h"

namespace Page {

namespace {

using MM = SysSetingMoreModel;

/* Menus of the screens that are not lists (no rows; the page builds them). */
SetMenu s_stUpdateMenu = {59, "LANG_RES_ID_UPDATE", nullptr, 0, nullptr, nullptr, 0};
SetMenu s_stAboutMenu = {60, "LANG_RES_ID_ABOUT", nullptr, 0, nullptr, nullptr, 0};
SetMenu s_stAppMenu = {61, "LANG_RES_ID_APP_CONNECT", nullptr, 0, nullptr, nullptr, 0};
SetMenu s_st4GMenu = {62, "LANG_RES_ID_4G_INTRODUCE", nullptr, 0, nullptr, nullptr, 0};
SetMenu s_stLteMenu = {63, "LANG_RES_ID_4G_NETWORK_CHECK", nullptr, 0, nullptr, nullptr, 0};

SetMenuItem s_st4GIntroduce = {SysSetingMore::ID_4G_INTRODUCE, 0, "LANG_RES_ID_4G_INTRODUCE", &s_st4GMenu, 0};
SetMenuItem s_stLteCheck = {SysSetingMore::ID_4G_CHECK, 0, "LANG_RES_ID_4G_NETWORK_CHECK", &s_stLteMenu, 0};
/* ---- INSTALL GUIDE: the help menu's entry that opens the install guide ("Pages/InstallGuide")
 * joins here, as a third row, when the guide page exists. ---- */
SetMenuItem *s_apstHelp[] = {&s_st4GIntroduce, &s_stLteCheck};
SetMenu s_stHelpMenu = {58, "LANG_RES_ID_HELP", nullptr, 2, s_apstHelp, nullptr, 0};

SetMenuItem s_stUpdate = {SysSetingMore::ID_UPDATE, 0, "LANG_RES_ID_UPDATE", &s_stUpdateMenu, 0};
SetMenuItem s_stAbout = {SysSetingMore::ID_ABOUT, 0, "LANG_RES_ID_ABOUT", &s_stAboutMenu, 0};
SetMenuItem s_stApp = {SysSetingMore::ID_APP_CONNECT, 0, "LANG_RES_ID_APP_CONNECT", &s_stAppMenu, 0};
SetMenuItem s_stHelp = {SysSetingMore::ID_HELP, 0, "LANG_RES_ID_HELP", &s_stHelpMenu, 0};
SetMenuItem *s_apstRoot[] = {&s_stUpdate, &s_stAbout, &s_stApp, &s_stHelp};
SetMenu s_stRootMenu = {10, "LANG_RES_ID_MORE", nullptr, 4, s_apstRoot, nullptr, 0};

const int32_t s_as32Items[] = {GS_DEV_AVAILABLE_SIZE, GS_DEV_TOTAL_SIZE, GS_SUPPORT_4GNET_TEST};

std::string Tr(const char *pcId) {
    char sz[160] = "";
    lv_label_get_text_tr(pcId, sz, sizeof sz);
    return sz;
}

} // namespace

SetMenu *SysSetingMore::RootMenu() {
    SetMenu_LinkTree(&s_stRootMenu);
    return &s_stRootMenu;
}

SysSetingMore::SysSetingMore()
    : SysSetingPage(m_stModel, m_stView, "SysSetingMoreModel", RootMenu(), s_as32Items,
                    (int32_t)(sizeof s_as32Items / sizeof s_as32Items[0])) {}

void SysSetingMore::onViewLoad() {
    uint8_t u8Arg = 0;
    m_bGuide = StashRead(&u8Arg, sizeof u8Arg) && (u8Arg == GUIDE_4G_INTRODUCE || u8Arg == GUIDE_APP_CONNECT);
    m_pstRootMenu = !m_bGuide ? &s_stRootMenu : (u8Arg == GUIDE_APP_CONNECT ? &s_stAppMenu : &s_st4GMenu);
    SysSetingPage::onViewLoad();
}

void SysSetingMore::GuideDone() {
    /* The install guide takes its next step when it appears again. */
    LOG_INFO("eGuideStep = %d\n", (int)GetGuideStep());
    SwitchGuideStep(1);
    if (Manager != nullptr) {
        Manager->Pop();
    }
}

bool SysSetingMore::ConfirmImageClick() {
    if (!m_bGuide) {
        return false;
    }
    GuideDone();
    return true;
}

void SysSetingMore::onPageAppear() {
    m_stModel.SubscribeInfo();
}

void SysSetingMore::RowInfo(int32_t s32Pos, PageCommonItem *pstRow) {
    SysSetingPage::RowInfo(s32Pos, pstRow);
    SetRow_FitWidths(pstRow, SetRow_ValueId(Model, s32Pos));
    if (Model.GetItemId(s32Pos) == ID_4G_CHECK && m_stModel.m_stInfo.support_4gnet_test == 0) {
        pstRow->bEnable = 0; /* a recorder without 4G has nothing to check */
    }
}

int SysSetingMore::OptionChosen(int32_t s32ItemId) {
    (void)s32ItemId;
    return -1; /* no option lists on this page */
}

bool SysSetingMore::OpenScreen(SetMenu *pstMenu) {
    if (pstMenu == &s_stUpdateMenu || pstMenu == &s_stAppMenu) {
        m_stView.CreateAppConnectScreen(root);
        m_eScreen = Screen::kQrCode;
    } else if (pstMenu == &s_stAboutMenu) {
        OpenAbout();
    } else if (pstMenu == &s_st4GMenu) {
        m_stView.Create4GIntroduceScreen(root);
        m_eScreen = Screen::k4GIntroduce;
    } else if (pstMenu == &s_stLteMenu) {
        OpenLteCheck();
    } else {
        m_eScreen = Screen::kList;
        return false;
    }
    UpdateTitle(-1);
    return true;
}

void SysSetingMore::OpenAbout() {
    DevsInfo stDevs;
    memset(&stDevs, 0, sizeof stDevs);
    Model.GetDevsInfo(&stDevs, true);
    KovarInfo stKovar;
    m_stModel.GetKovarInfo(&stKovar);
    SystemStatusInfo stStatus;
    memset(&stStatus, 0, sizeof stStatus);
    Model.QuerySystemStatus(&stStatus);
    char szModel[96], szLinked[96], szStorage[96], szVersion[64];
    snprintf(szModel, sizeof szModel, "%s %s", Tr("LANG_RES_ID_DASHCAM").c_str(), stDevs.szModel);
    snprintf(szLinked, sizeof szLinked, "%s(%s)", stKovar.szName, stKovar.szModel);
    MM::StorageText(Tr("LANG_RES_ID_TFCARD").c_str(), m_stModel.m_stInfo.dev_available_size,
                    m_stModel.m_stInfo.dev_total_size, szStorage, sizeof szStorage);
    snprintf(szVersion, sizeof szVersion, "v%s", stDevs.szSoftVersion);
    const std::string astNames[] = {Tr("LANG_RES_ID_DEV_MODEL"),   Tr("LANG_RES_ID_CUR_DEV"),
                                    Tr("LANG_RES_ID_STORAGE"),     Tr("LANG_RES_ID_OS_VERSION"),
                                    Tr("LANG_RES_ID_DEV_VERSION"), Tr("LANG_RES_ID_ABOUTDEV_WEBSITE"),
                                    Tr("LANG_RES_ID_BOXMAIL"),     Tr("LANG_RES_ID_CONTACT")};
    const char *apcLines[8][2] = {
        {astNames[0].c_str(), szModel},   {astNames[1].c_str(), szLinked},
        {astNames[2].c_str(), szStorage}, {astNames[3].c_str(), MM::kOsVersion},
        {astNames[4].c_str(), szVersion}, {astNames[5].c_str(), MM::kWebsite},
        {astNames[6].c_str(), MM::kMail}, {astNames[7].c_str(), MM::kPhone},
    };
    /* The linked camera's line only while one is linked. */
    const bool bLinked = stStatus.bKovarBound != 0 && stKovar.szName[0] != '\0';
    if (!bLinked) {
        for (int i = 1; i < 7; ++i) {
            apcLines[i][0] = apcLines[i + 1][0];
            apcLines[i][1] = apcLines[i + 1][1];
        }
    }
    m_stView.CreateAboutScreen(root, apcLines, bLinked ? 8 : 7);
    m_eScreen = Screen::kAbout;
}

void SysSetingMore::OpenLteCheck() {
    LteInfo stLte;
    m_stModel.GetLteInfo(&stLte);
    MM::LteInfoInit(stLte, m_astChecks);
    const char *apcNames[MM::kLteCheckNum], *apcStates[MM::kLteCheckNum];
    for (int32_t i = 0; i < MM::kLteCheckNum; ++i) {
        apcNames[i] = m_astChecks[i].pcMainText;
        apcStates[i] = MM::LteStateText(m_astChecks[i].s32State);
    }
    m_stView.CreateLteCheckScreen(root, apcNames, apcStates, MM::kLteCheckNum, onEvent, this);
    m_eScreen = Screen::kLteCheck;
    AddBtnsToGroup();
}

void SysSetingMore::AddBtnsToGroup() {
    if (m_eScreen != Screen::kLteCheck) {
        SysSetingPage::AddBtnsToGroup();
        return;
    }
    lv_group_t *pstGroup = lv_group_get_default();
    if (pstGroup == nullptr) {
        return;
    }
    lv_group_remove_all_objs(pstGroup);
    for (const SetRow &r : m_stView.m_astLteRows) {
        if (r.btn != nullptr) {
            lv_group_add_obj(pstGroup, r.btn);
        }
    }
    if (m_s32LtePos >= 0 && m_s32LtePos < MM::kLteCheckNum &&
        m_stView.m_astLteRows[m_s32LtePos].btn != nullptr) {
        lv_group_focus_obj(m_stView.m_astLteRows[m_s32LtePos].btn);
    }
}

bool SysSetingMore::ScreenBack() {
    if (m_bGuide) {
        GuideDone();
        return true;
    }
    if (m_eScreen == Screen::kLteAbnormal) {
        OpenLteCheck();
        UpdateTitle(-1);
        return true;
    }
    lv_group_t *pstGroup = lv_group_get_default();
    if (pstGroup != nullptr) {
        lv_group_remove_all_objs(pstGroup);
    }
    m_eScreen = Screen::kList;
    return false;
}

void SysSetingMore::ScreenClick(lv_obj_t *pstTarget) {
    if (m_eScreen != Screen::kLteCheck) {
        return;
    }
    /* The confirm image or a row: the focused check. */
    lv_obj_t *pstFocused = lv_group_get_focused(lv_group_get_default());
    for (int32_t i = 0; i < MM::kLteCheckNum; ++i) {
        const SetRow &r = m_stView.m_astLteRows[i];
        if (r.btn == nullptr ||
            (pstTarget != r.btn && !(pstTarget == View.ui.btn_confirm && pstFocused == r.btn))) {
            continue;
        }
        m_s32LtePos = i;
        if (m_astChecks[i].s32State != 2) {
            return; /* only a failed check has an explanation */
        }
        char szId[96];
        snprintf(szId, sizeof szId, "%s_ABNORMAL_TOAST", m_astChecks[i].pcMainText);
        lv_group_remove_all_objs(lv_group_get_default());
        m_stView.CreateLteAbnormalScreen(root, szId);
        m_eScreen = Screen::kLteAbnormal;
        return;
    }
}

bool SysSetingMore::ScreenKey(uint32_t u32Code, uint32_t u32Value) {
    if (m_eScreen != Screen::kAbout || m_stView.m_pstColumn == nullptr ||
        (u32Code != KEY_CODE_NEXT && u32Code != KEY_CODE_PREV)) {
        return false;
    }
    if (u32Value == KEY_VALUE_PRESS) {
        lv_obj_scroll_by_bounded(m_stView.m_pstColumn, 0, u32Code == KEY_CODE_NEXT ? -40 : 40, LV_ANIM_ON);
    }
    return true;
}

} // namespace Page
