#include "SysSetingSysSet.h"

#include <string.h>
#include <time.h>

#include "SetFlowScreens.h"
#include "log.h"
#include "lv_label_ext_func.h"
#include "vyx_ui_common_data.h"

namespace Page {

namespace {

using Model_t = SysSetingSysSetModel;

enum : int32_t {
    ID_WIFIBT = 72,
    ID_WIFI_NAME = -1, /* information rows: no item of their own */
    ID_WIFI_PWD = -2,
    ID_BT_NAME = -3,
    ID_TIME_SET = 89,
    ID_DATE_TIME = 90,
    ID_TIME_FORMAT = 91,
    ID_LANGUAGE = 97,
    ID_LANG_US = 98,
    ID_LANG_RU = 99,
};

SetMenuItem s_astWifi[] = {
    {ID_WIFI_NAME, 0, "LANG_RES_ID_WIFI_NAME", nullptr, 0},
    {ID_WIFI_PWD, 0, "LANG_RES_ID_WIFI_PWD", nullptr, 0},
    {ID_BT_NAME, 0, "LANG_RES_ID_BT_NAME", nullptr, 0},
};
SetMenuItem *s_apstWifi[] = {&s_astWifi[0], &s_astWifi[1], &s_astWifi[2]};
SetMenu s_stWifiMenu = {11, "LANG_RES_ID_WIFIBT", nullptr, 3, s_apstWifi, nullptr, 0};

SetMenu s_stDateTimeMenu = {13, "LANG_RES_ID_SET_DATE_AND_TIME", nullptr, 0, nullptr, nullptr, 0};

/* The five formats, each labelled with its own pattern. */
SetMenuItem s_astFormat[] = {
    {92, 0, "MM/DD/YYYY 12H", nullptr, 0}, {93, 0, "DD.MM.YYYY 24H", nullptr, 0},
    {94, 0, "DD/MM/YYYY 24H", nullptr, 0}, {95, 0, "YYYY-MM-DD 24H", nullptr, 0},
    {96, 0, "YYYY/MM/DD 12H", nullptr, 0},
};
SetMenuItem *s_apstFormat[] = {&s_astFormat[0], &s_astFormat[1], &s_astFormat[2], &s_astFormat[3],
                               &s_astFormat[4]};
SetMenu s_stFormatMenu = {
    14, "LANG_RES_ID_TIME_FORMAT", nullptr, 5, s_apstFormat, Model_t::MenuGetDefault_GeneralSetting, 0};

SetMenuItem s_astTime[] = {
    {ID_DATE_TIME, 0, "LANG_RES_ID_SET_DATE_AND_TIME", &s_stDateTimeMenu, 0},
    {ID_TIME_FORMAT, 0, "LANG_RES_ID_TIME_FORMAT", &s_stFormatMenu, 0},
};
SetMenuItem *s_apstTime[] = {&s_astTime[0], &s_astTime[1]};
SetMenu s_stTimeMenu = {12, "LANG_RES_ID_TIME_SET", nullptr, 2, s_apstTime, nullptr, 0};

SetMenuItem s_astLang[] = {
    {ID_LANG_US, 0, "LANG_RES_ID_LANGUAGE_US", nullptr, 0},
    {ID_LANG_RU, 0, "LANG_RES_ID_LANGUAGE_RU", nullptr, 0},
};
SetMenuItem *s_apstLang[] = {&s_astLang[0], &s_astLang[1]};
SetMenu s_stLangMenu = {
    15, "LANG_RES_ID_LANGUAGE", nullptr, 2, s_apstLang, Model_t::MenuGetDefault_GeneralSetting, 0};

SetMenuItem s_astRoot[] = {
    {ID_WIFIBT, 0, "LANG_RES_ID_WIFIBT", &s_stWifiMenu, 0},
    {ID_TIME_SET, 0, "LANG_RES_ID_TIME_SET", &s_stTimeMenu, 0},
    {ID_LANGUAGE, 0, "LANG_RES_ID_LANGUAGE", &s_stLangMenu, 0},
};
SetMenuItem *s_apstRoot[] = {&s_astRoot[0], &s_astRoot[1], &s_astRoot[2]};
SetMenu s_stRootMenu = {2, "LANG_RES_ID_SYSTEM_SET", nullptr, 3, s_apstRoot, nullptr, 0};

const SetMenuOption s_astFormatVals[] = {{92, 1}, {93, 2}, {94, 3}, {95, 0}, {96, 4}};
const SetMenuOption s_astLangVals[] = {{ID_LANG_US, 2}, {ID_LANG_RU, 3}};
const SetMenuBinding s_astBindings[] = {
    {&s_stFormatMenu, GS_TIME_FORMAT, s_astFormatVals, 5},
    {&s_stLangMenu, GS_LANGUAGE, s_astLangVals, 2},
};

/* Language setting value -> language code of the texts. */
const char *LangCode(int32_t s32Value) {
    return s32Value == 2 ? "US" : (s32Value == 3 ? "RU" : nullptr);
}

const int32_t s_as32Items[] = {GS_SCREEN_BRIGHTNESS, GS_SCREEN_DORMANT, GS_WALLPAPER, GS_LANGUAGE,
                               GS_TIME_FORMAT,       GS_OSD_SPEEDUNIT,  GS_WIFI_MODE};

} // namespace

SetMenu *SysSetingSysSet::RootMenu() {
    SetMenu_LinkTree(&s_stRootMenu);
    return &s_stRootMenu;
}

SetMenu *SysSetingSysSet::LanguageMenu() {
    RootMenu();
    return &s_stLangMenu;
}

SetMenu *SysSetingSysSet::DateTimeMenu() {
    RootMenu();
    return &s_stDateTimeMenu;
}

SysSetingSysSet::SysSetingSysSet()
    : SysSetingPage(m_stModel, m_stView, "SysSetingSysSetModel", RootMenu(), s_as32Items,
                    (int32_t)(sizeof s_as32Items / sizeof s_as32Items[0])) {
    m_stModel.SetBindings(s_astBindings, sizeof s_astBindings / sizeof s_astBindings[0]);
}

void SysSetingSysSet::onViewLoad() {
    /* The install guide pushes this page with a one-byte argument: 1 language, 2 date and time. */
    uint8_t u8Mode = MODE_NORMAL;
    int32_t s32Mode = MODE_NORMAL;
    if (StashRead(&u8Mode, sizeof u8Mode) && u8Mode <= MODE_DATE_TIME) {
        s32Mode = u8Mode;
    }
    m_s32Mode = s32Mode;
    m_pstRootMenu = s32Mode == MODE_LANGUAGE
                        ? &s_stLangMenu
                        : (s32Mode == MODE_DATE_TIME ? &s_stDateTimeMenu : &s_stRootMenu);
    SysSetingPage::onViewLoad();
}

void SysSetingSysSet::RowInfo(int32_t s32Pos, PageCommonItem *pstRow) {
    SysSetingPage::RowInfo(s32Pos, pstRow);
    SetRow_FitWidths(pstRow, SetRow_ValueId(Model, s32Pos));
    if (Model.m_pstTopMenu == &s_stWifiMenu) {
        pstRow->bHasSwitch = 0;
        /* The label whole (up to 55 %), the rest for the name or key, which may be long. */
        const int32_t s32Label = SetRow_TextPct(pstRow->pcLabel);
        pstRow->s32LabelW = s32Label < 55 ? s32Label : 55;
        pstRow->s32ValueW = 88 - pstRow->s32LabelW;
    }
}

const char *SysSetingSysSet::RowValueId(int32_t s32ItemId) {
    switch (s32ItemId) {
    case ID_WIFI_NAME:
        return m_stDevs.szWifiSsid;
    case ID_WIFI_PWD:
        return m_stDevs.szWifiPwd;
    case ID_BT_NAME:
        return m_stDevs.szBtInfo;
    default:
        return nullptr;
    }
}

int SysSetingSysSet::OptionChosen(int32_t s32ItemId) {
    if (SysSetingPage::OptionChosen(s32ItemId) != 0) {
        return -1;
    }
    if (Model.m_pstTopMenu != &s_stLangMenu) {
        return 0;
    }
    int32_t s32Value = Model.m_stInfo.language;
    const char *pcCode = LangCode(s32Value);
    LOG_INFO("Set LangCode : %s ,LangCmd : %d\n", pcCode != nullptr ? pcCode : "", (int)s32Value);
    Lang_SetCode(pcCode);
    /* The texts change at once: the list is built again in the new language. */
    CreateListPageHandle(SysSetingSysSetModel::MenuChangeLangValToLevel(s32Value));
    return 0;
}

bool SysSetingSysSet::OpenScreen(SetMenu *pstMenu) {
    if (pstMenu == &s_stWifiMenu) {
        CreateWifiBtPageHandle();
        return true;
    }
    if (pstMenu == &s_stDateTimeMenu) {
        CreateSetDateTimePageHandle();
        return true;
    }
    return false;
}

void SysSetingSysSet::CreateWifiBtPageHandle() {
    if (Model.GetDevsInfo(&m_stDevs, true) != 0) {
        memset(&m_stDevs, 0, sizeof m_stDevs);
    }
    CreateListPageHandle(0);
}

void SysSetingSysSet::CreateSetDateTimePageHandle() {
    time_t t = time(nullptr);
    struct tm stTm;
    localtime_r(&t, &stTm);
    m_stEdit = Model_t::DateTimeFromTm(stTm, Model_t::Is12HourFormat(Model.m_stInfo.time_format));
    m_u32Field = Model_t::DT_YEAR;
    m_u32PressedCode = UINT32_MAX;
    m_stView.CreateSetDateTimePage(root);
    m_stView.SetDateTimePageItemRefresh(m_stEdit, m_u32Field);
    UpdateTitle(-1);
}

bool SysSetingSysSet::ScreenKey(uint32_t u32Code, uint32_t u32Value) {
    if (Model.m_pstTopMenu != &s_stDateTimeMenu) {
        return false;
    }
    lv_obj_t *pstImg = u32Code == KEY_CODE_OK     ? View.ui.btn_confirm
                       : u32Code == KEY_CODE_NEXT ? View.ui.btn_down
                       : u32Code == KEY_CODE_PREV ? View.ui.btn_up
                       : u32Code == KEY_CODE_BACK ? View.ui.btn_back
                                                  : nullptr;
    if (pstImg == nullptr) {
        return true;
    }
    KeyPageAction eAction = Key_PageTrack(u32Value, &m_u32PressTick);
    if (eAction == KEY_PAGE_PRESS) {
        lv_obj_add_state(pstImg, LV_STATE_PRESSED);
        m_u32PressedCode = u32Code;
    } else if (eAction == KEY_PAGE_RELEASE || eAction == KEY_PAGE_SHORT_CLICK) {
        lv_obj_clear_state(pstImg, LV_STATE_PRESSED);
        /* The release of the OK that opened the editor was pressed on the list: not a click here. */
        bool bOwn = m_u32PressedCode == u32Code;
        m_u32PressedCode = UINT32_MAX;
        if (eAction == KEY_PAGE_SHORT_CLICK && bOwn) {
            SetDateTimePageShortClickEventHandle(u32Code);
        }
    }
    return true;
}

void SysSetingSysSet::SetDateTimePageShortClickEventHandle(uint32_t u32Code) {
    int32_t s32Oper = 0;
    switch (u32Code) {
    case KEY_CODE_PREV:
        s32Oper = 1;
        break;
    case KEY_CODE_NEXT:
        s32Oper = -1;
        break;
    case KEY_CODE_OK:
        if (lv_tick_elaps(m_u32IgnoreConfirmTick) < kConfirmIgnoreMs) {
            LOG_WARN("Ignore this key\n");
            return;
        }
        if (m_u32Field + 1 < Model_t::FieldNum(m_stEdit)) {
            ++m_u32Field;
            m_stView.SetDateTimePageItemRefresh(m_stEdit, m_u32Field);
        } else {
            SyncTimeHandle();
        }
        return;
    case KEY_CODE_BACK:
        if (m_u32Field > 0) {
            --m_u32Field;
            m_stView.SetDateTimePageItemRefresh(m_stEdit, m_u32Field);
        } else {
            PageBackHandle(); /* nothing sent */
        }
        return;
    default:
        return;
    }
    LOG_INFO("fmt:%d idx:%d oper:%d \n", (int)Model.m_stInfo.time_format, (int)m_u32Field, (int)s32Oper);
    Model_t::DateTimeStep(&m_stEdit, m_u32Field, s32Oper);
    m_stView.SetDateTimePageItemRefresh(m_stEdit, m_u32Field);
}

void SysSetingSysSet::SyncTimeHandle() {
    Model_t::DateTimeText(m_stEdit, m_szDate, sizeof m_szDate);
    LOG_INFO("szDate : %s\n", m_szDate);
    Model.GeneralCtrlComm(CTRL_ELEM_SYNCDATE, m_szDate);
    PageBackHandle();
}

bool SysSetingSysSet::ScreenBack() {
    if (m_s32Mode != MODE_NORMAL && Model.m_pstTopMenu == m_pstRootMenu) {
        GuideDone();
        return true;
    }
    return false;
}

bool SysSetingSysSet::ConfirmImageClick() {
    if (m_s32Mode != MODE_LANGUAGE || !OnList()) {
        return false;
    }
    ListShortClickEventHandle(lv_group_get_focused(lv_group_get_default()));
    GuideDone();
    return true;
}

void SysSetingSysSet::GuideDone() {
    /* The install guide takes its next step when it appears again. */
    LOG_INFO("guide step done, mode %d\n", (int)m_s32Mode);
    SwitchGuideStep(1);
    if (Manager != nullptr) {
        Manager->Pop();
    }
}

} // namespace Page
