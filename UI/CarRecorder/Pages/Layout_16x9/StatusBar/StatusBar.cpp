/*
 * The status bar's widgets, item lists, show types, breathing and title area. The account
 * "StatusBar" that drives it from the status and settings records is in StatusBarProc.cpp.
 */
#include "StatusBar.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <initializer_list>

#include "log.h"
#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace {

#define STATUSBAR_PIC_DIR "statusbar/"

/* One item of a list: a node of a doubly linked circular list with a sentinel head. */
struct ItemNode {
    ItemNode *pstPrev;
    ItemNode *pstNext;
    char szTypeName[STATUSBAR_TYPE_NAME_LEN];
    char szIconName[STATUSBAR_ICON_NAME_LEN];
    uint32_t u32Breath; /* right list only */
};

struct ItemList {
    ItemNode stHead; /* sentinel */
    void Init() { stHead.pstPrev = stHead.pstNext = &stHead; }
    bool Empty() const { return stHead.pstNext == &stHead; }
    void Append(ItemNode *n) {
        n->pstPrev = stHead.pstPrev;
        n->pstNext = &stHead;
        stHead.pstPrev->pstNext = n;
        stHead.pstPrev = n;
    }
    static void Unlink(ItemNode *n) {
        n->pstPrev->pstNext = n->pstNext;
        n->pstNext->pstPrev = n->pstPrev;
    }
    ItemNode *Find(const char *name) {
        for (ItemNode *n = stHead.pstNext; n != &stHead; n = n->pstNext) {
            if (strncmp(n->szTypeName, name, STATUSBAR_TYPE_NAME_LEN) == 0) {
                return n;
            }
        }
        return nullptr;
    }
    uint32_t Count() const {
        uint32_t c = 0;
        for (const ItemNode *n = stHead.pstNext; n != &stHead; n = n->pstNext) {
            ++c;
        }
        return c;
    }
};

/* Record-icon images by style: recording, not recording. */
const char *const s_apcRecIcon[STATUSBAR_REC_STYLE_NUM][2] = {
    {"point_on.png", "point_off.png"},
    {"rec_on.png", "rec_off.png"},
};

/* The bar, zero-filled before creation; process-wide state that survives page changes. */
struct StatusBarState {
    StatusBarObjs stObjs;
    ItemList stRight;
    ItemList stLeft;
    int eShowType;
    int eShowLastType;
    int eTypeName; /* record-icon style */
    bool bRecIconBreath;
    bool bGpsShow;
    bool bGpsBreath;
    bool bCreated;
};

StatusBarState s_stBar = {};
lv_style_t s_stRowStyle;
lv_style_transition_dsc_t s_stBarTrans;
const lv_style_prop_t s_astBarTransProps[] = {LV_STYLE_BG_OPA, LV_STYLE_BG_COLOR, LV_STYLE_PROP_INV};

void ClearList(ItemList &list) {
    ItemNode *n = list.stHead.pstNext;
    while (n != &list.stHead) {
        ItemNode *next = n->pstNext;
        free(n);
        n = next;
    }
    list.Init();
}

/* "statusbar/" + icon file, below the picture root. */
const char *IconPath(const char *pcIcon) {
    char szRel[sizeof(STATUSBAR_PIC_DIR) + STATUSBAR_ICON_NAME_LEN];
    snprintf(szRel, sizeof szRel, STATUSBAR_PIC_DIR "%s", pcIcon);
    return UI_ResPath(szRel, UI_RES_PIC_ROOT);
}

/* Whether the picture of an icon file exists (a missing picture leaves the bar as it was). */
bool IconExists(const char *pcIcon) {
    lv_fs_file_t f;
    if (lv_fs_open(&f, IconPath(pcIcon), LV_FS_MODE_RD) != LV_FS_RES_OK) {
        return false;
    }
    lv_fs_close(&f);
    return true;
}

/* A type name fits its 32 bytes with the terminator, an icon file its 128; empty names do not. */
bool NameFits(const char *pTypeName, const char *IconName) {
    return pTypeName[0] != '\0' && strlen(pTypeName) < STATUSBAR_TYPE_NAME_LEN && IconName[0] != '\0' &&
           strlen(IconName) < STATUSBAR_ICON_NAME_LEN;
}

/* Image opacity of an icon slot; the same value again is left alone (setting it redraws). */
void SetImgOpa(lv_obj_t *img, lv_opa_t opa) {
    if (lv_obj_get_style_img_opa(img, LV_PART_MAIN) != opa) {
        lv_obj_set_style_img_opa(img, opa, LV_PART_MAIN);
    }
}

bool ShowsIcons() {
    return s_stBar.eShowType == STATUSBAR_SHOW_ALL || s_stBar.eShowType == STATUSBAR_SHOW_REC_ICONS;
}

bool ShowsTitle() {
    return s_stBar.eShowType == STATUSBAR_SHOW_ALL || s_stBar.eShowType == STATUSBAR_SHOW_REC_TITLE ||
           s_stBar.eShowType == STATUSBAR_SHOW_TITLE;
}

/* Hides or shows an object; an object already so is left alone (LVGL redraws it on every call). */
void SetHidden(lv_obj_t *obj, bool bHidden) {
    if (lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN) == bHidden) {
        return;
    }
    if (bHidden) {
        lv_obj_add_flag(obj, LV_OBJ_FLAG_HIDDEN);
    } else {
        lv_obj_clear_flag(obj, LV_OBJ_FLAG_HIDDEN);
    }
}

void _lv_obj_add_hidden_flag(StatusBarTitleItem *pInfo) {
    if (pInfo == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pInfo");
        return;
    }
    SetHidden(pInfo->obj, true);
    pInfo->bshow = false;
}

void _lv_obj_clear_hidden_flag(StatusBarTitleItem *pInfo) {
    if (pInfo == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pInfo");
        return;
    }
    SetHidden(pInfo->obj, false);
    pInfo->bshow = true;
}

/* Breathing of a slot or of the record icon: opacity 255 -> 0 and back, forever. */
void BreathExec(void *var, int32_t v) {
    lv_obj_set_style_opa(static_cast<lv_obj_t *>(var), (lv_opa_t)v, LV_PART_MAIN);
}

void StartBreathAnim(lv_obj_t *obj, uint32_t u32PlaybackDelay, uint32_t u32RepeatDelay) {
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, obj);
    lv_anim_set_values(&a, 255, 0);
    lv_anim_set_time(&a, 800);
    lv_anim_set_playback_delay(&a, u32PlaybackDelay);
    lv_anim_set_playback_time(&a, 800);
    lv_anim_set_repeat_delay(&a, u32RepeatDelay);
    lv_anim_set_repeat_count(&a, LV_ANIM_REPEAT_INFINITE);
    lv_anim_set_path_cb(&a, lv_anim_path_ease_in_out);
    lv_anim_set_exec_cb(&a, BreathExec);
    lv_anim_start(&a);
}

void StatusBar_IconStartBreath(uint32_t u32Slot) {
    StatusBarIconSlot &slot = s_stBar.stObjs.astRight[u32Slot];
    if (slot.bBreath) {
        LOG_INFO("anim is start\n");
        return;
    }
    StartBreathAnim(slot.img, 100, 100);
    slot.bBreath = true;
}

void StatusBar_IconStopBreath(uint32_t u32Slot) {
    StatusBarIconSlot &slot = s_stBar.stObjs.astRight[u32Slot];
    if (slot.bBreath) {
        lv_anim_del(slot.img, BreathExec);
        slot.bBreath = false;
    }
    lv_obj_set_style_opa(slot.img, LV_OPA_COVER, LV_PART_MAIN);
}

void StatusBar_RecIconStartBreath() {
    if (s_stBar.bRecIconBreath) {
        return;
    }
    StartBreathAnim(s_stBar.stObjs.recIcon, 0, 200);
    s_stBar.bRecIconBreath = true;
}

void StatusBar_RecIconStopBreath() {
    if (s_stBar.bRecIconBreath) {
        lv_anim_del(s_stBar.stObjs.recIcon, BreathExec);
        s_stBar.bRecIconBreath = false;
    }
    lv_obj_set_style_opa(s_stBar.stObjs.recIcon, LV_OPA_COVER, LV_PART_MAIN);
}

void RefreshRight() {
    StatusBarObjs &o = s_stBar.stObjs;
    for (auto &slot : o.astRight) {
        SetImgOpa(slot.img, LV_OPA_TRANSP);
    }
    uint32_t i = 0;
    for (ItemNode *n = s_stBar.stRight.stHead.pstNext; n != &s_stBar.stRight.stHead; n = n->pstNext, ++i) {
        if (i >= STATUSBAR_RIGHT_SLOTS) {
            break; /* kept in the list, not drawn */
        }
        const char *pcPath = IconPath(n->szIconName);
        lv_img_set_src(o.astRight[i].img, pcPath);
        LOG_INFO("\33[0;32;32mu32IconId[%d]: %s\n\33[m", (int)i, pcPath);
        if (ShowsIcons()) {
            SetImgOpa(o.astRight[i].img, LV_OPA_COVER);
        }
        if (n->u32Breath != 0) {
            StatusBar_IconStartBreath(i);
        } else {
            StatusBar_IconStopBreath(i);
        }
    }
}

void RefreshLeft() {
    StatusBarObjs &o = s_stBar.stObjs;
    for (lv_obj_t *img : o.apstLeft) {
        SetImgOpa(img, LV_OPA_TRANSP);
    }
    uint32_t i = 0;
    for (ItemNode *n = s_stBar.stLeft.stHead.pstNext; n != &s_stBar.stLeft.stHead; n = n->pstNext, ++i) {
        if (i >= STATUSBAR_LEFT_SLOTS) {
            LOG_ERROR("u32IconId err\n");
            continue;
        }
        lv_img_set_src(o.apstLeft[i], IconPath(n->szIconName));
        if (ShowsIcons()) {
            SetImgOpa(o.apstLeft[i], LV_OPA_COVER);
        }
    }
}

void ShowRecIcon(bool bShow) {
    SetHidden(s_stBar.stObjs.recIcon, !bShow);
}

void ShowRightIcons(bool bShow) {
    StatusBarObjs &o = s_stBar.stObjs;
    uint32_t n = bShow ? s_stBar.stRight.Count() : 0;
    for (uint32_t i = 0; i < STATUSBAR_RIGHT_SLOTS; ++i) {
        SetImgOpa(o.astRight[i].img, i < n ? LV_OPA_COVER : LV_OPA_TRANSP);
    }
}

void ShowLeftIcons(bool bShow) {
    StatusBarObjs &o = s_stBar.stObjs;
    uint32_t n = bShow ? s_stBar.stLeft.Count() : 0;
    for (uint32_t i = 0; i < STATUSBAR_LEFT_SLOTS; ++i) {
        SetImgOpa(o.apstLeft[i], i < n ? LV_OPA_COVER : LV_OPA_TRANSP);
    }
}

/* Hides the four title members, keeping their bshow flags. */
void HideTitle() {
    StatusBarObjs &o = s_stBar.stObjs;
    for (StatusBarTitleItem *p : {&o.title, &o.shadow_title, &o.filetype_img, &o.focus}) {
        SetHidden(p->obj, true);
    }
}

/* The font a title label has: setting the same again would still restyle and redraw the label,
 * and the home page's clock sends its title every 50 ms. */
struct FontMemo {
    char szFile[STATUSBAR_ICON_NAME_LEN];
    uint16_t u16Size;
};
FontMemo s_stTitleFont, s_stShadowFont;
bool s_bShadowAlignDue = false;

void SetTitleFont(lv_obj_t *label, const char *pcFont, uint16_t u16Size, FontMemo *pstMemo = nullptr) {
    if (pstMemo != nullptr) {
        if (pstMemo->u16Size == u16Size && strncmp(pstMemo->szFile, pcFont, sizeof pstMemo->szFile) == 0) {
            return;
        }
        snprintf(pstMemo->szFile, sizeof pstMemo->szFile, "%s", pcFont);
        pstMemo->u16Size = u16Size;
    }
    lv_label_freetype_set_text_normal(label, pcFont, u16Size, LV_PART_MAIN);
}

void AlignShadowToTitle() {
    lv_obj_align_to(s_stBar.stObjs.shadow_title.obj, s_stBar.stObjs.title.obj, LV_ALIGN_TOP_LEFT, 2, 2);
}

} // namespace

int StatusBar_Create(lv_obj_t *parent) {
    if (parent == nullptr) {
        LV_LOG_ERROR("Error\n");
        LOG_ERROR("Error\n");
        return -1;
    }
    memset(&s_stBar.stObjs, 0, sizeof s_stBar.stObjs);
    if (s_stBar.bCreated) {
        ClearList(s_stBar.stRight);
        ClearList(s_stBar.stLeft);
    }
    s_stBar.stRight.Init();
    s_stBar.stLeft.Init();
    s_stBar.eShowType = STATUSBAR_SHOW_ALL;
    s_stBar.eShowLastType = STATUSBAR_SHOW_ALL;
    s_stBar.eTypeName = STATUSBAR_REC_STYLE_REC;
    s_stBar.bRecIconBreath = false;
    s_stBar.bGpsShow = false;
    s_stBar.bGpsBreath = false;
    s_stBar.bCreated = true;
    StatusBarObjs &o = s_stBar.stObjs;

    o.root = lv_obj_create(parent);
    lv_obj_remove_style_all(o.root);
    lv_obj_set_size(o.root, lv_pct(100), lv_pct(100));
    lv_obj_center(o.root);
    lv_obj_clear_flag(o.root, LV_OBJ_FLAG_CLICKABLE);

    o.bar = lv_obj_create(o.root);
    lv_obj_remove_style_all(o.bar);
    lv_obj_set_size(o.bar, lv_pct(100), STATUSBAR_HEIGHT);
    lv_obj_align(o.bar, LV_ALIGN_TOP_MID, 0, 0);
    lv_obj_set_y(o.bar, -STATUSBAR_HEIGHT);
    lv_obj_set_style_bg_opa(o.bar, LV_OPA_TRANSP, LV_PART_MAIN);
    lv_obj_set_style_bg_color(o.bar, lv_color_hex(0x333333), LV_PART_MAIN);
    lv_style_transition_dsc_init(&s_stBarTrans, s_astBarTransProps, lv_anim_path_ease_out, 200, 0, nullptr);
    lv_obj_set_style_transition(o.bar, &s_stBarTrans, LV_STATE_USER_1);

    static bool s_bRowStyleReady = false; /* one shared style, made once */
    if (!s_bRowStyleReady) {
        lv_style_init(&s_stRowStyle);
        lv_style_set_flex_flow(&s_stRowStyle, LV_FLEX_FLOW_ROW_WRAP);
        lv_style_set_flex_main_place(&s_stRowStyle, LV_FLEX_ALIGN_SPACE_BETWEEN);
        lv_style_set_layout(&s_stRowStyle, LV_LAYOUT_FLEX);
        s_bRowStyleReady = true;
    }

    o.iconRow = lv_obj_create(o.bar);
    lv_obj_remove_style_all(o.iconRow);
    lv_obj_set_size(o.iconRow, lv_pct(100), lv_pct(100));
    lv_obj_set_flex_flow(o.iconRow, LV_FLEX_FLOW_ROW);
    lv_obj_add_style(o.iconRow, &s_stRowStyle, LV_PART_MAIN);

    o.recIcon = lv_img_create(o.iconRow);
    lv_img_set_src(o.recIcon, IconPath(s_apcRecIcon[STATUSBAR_REC_STYLE_REC][1]));
    lv_obj_align(o.recIcon, LV_ALIGN_LEFT_MID, 0, 0);

    for (int i = 0; i < STATUSBAR_LEFT_SLOTS; ++i) {
        o.apstLeft[i] = lv_img_create(o.bar);
        lv_obj_set_size(o.apstLeft[i], 35, 35);
        lv_obj_align(o.apstLeft[i], LV_ALIGN_LEFT_MID, i == 0 ? 70 : 120, 0);
    }

    o.shadow_title.obj = lv_label_create(o.bar);
    lv_obj_set_width(o.shadow_title.obj, lv_pct(75));
    lv_obj_set_style_text_opa(o.shadow_title.obj, 178, LV_PART_MAIN);
    lv_obj_set_style_text_color(o.shadow_title.obj, lv_color_black(), LV_PART_MAIN);
    lv_obj_set_style_text_align(o.shadow_title.obj, LV_TEXT_ALIGN_CENTER, LV_PART_MAIN);
    lv_label_set_text(o.shadow_title.obj, "01-23 12:23:34");
    s_stTitleFont = {};
    s_stShadowFont = {};
    SetTitleFont(o.shadow_title.obj, SYS_PATH_FONT_BODY, 20, &s_stShadowFont);

    o.title.obj = lv_label_create(o.bar);
    lv_obj_set_width(o.title.obj, lv_pct(75));
    lv_label_set_long_mode(o.title.obj, LV_LABEL_LONG_SCROLL_CIRCULAR);
    lv_obj_set_style_text_align(o.title.obj, LV_TEXT_ALIGN_CENTER, LV_PART_MAIN);
    lv_obj_set_style_text_color(o.title.obj, lv_color_white(), LV_PART_MAIN);
    SetTitleFont(o.title.obj, SYS_PATH_FONT_BODY, 20, &s_stTitleFont);
    lv_label_set_text(o.title.obj, "01-23 12:23:34");
    lv_obj_align(o.title.obj, LV_ALIGN_CENTER, -10, 0);
    AlignShadowToTitle();

    o.filetype_img.obj = lv_img_create(o.bar);
    lv_obj_align_to(o.filetype_img.obj, o.title.obj, LV_ALIGN_TOP_MID, 130, 4);

    for (int i = STATUSBAR_RIGHT_SLOTS - 1; i >= 0; --i) {
        o.astRight[i].img = lv_img_create(o.iconRow);
        lv_obj_set_size(o.astRight[i].img, 35, lv_pct(100));
        SetImgOpa(o.astRight[i].img, LV_OPA_TRANSP);
    }

    AddItemToList("mic", "mic_on.png", false);

    o.focus.obj = lv_label_create(o.bar);
    lv_obj_set_style_text_color(o.focus.obj, lv_color_white(), LV_PART_MAIN);
    lv_label_set_text(o.focus.obj, "1/10");
    SetTitleFont(o.focus.obj, SYS_PATH_FONT_DIGITS, 24);
    lv_obj_align(o.focus.obj, LV_ALIGN_RIGHT_MID, -5, 0);
    _lv_obj_add_hidden_flag(&o.focus);

    StatusBar_ShowType(STATUSBAR_SHOW_ALL);
    AddItemToList("wifi", "wifi_off.png", false);
    return 0;
}

void StatusBar_ShowType(int eType) {
    if (!s_stBar.bCreated) {
        LOG_ERROR("status bar not created\n");
        return;
    }
    if (eType < 0 || eType >= STATUSBAR_SHOW_TYPE_NUM) {
        LOG_ERROR("show type [%d] out of range\n", eType);
        return;
    }
    s_stBar.eShowLastType = s_stBar.eShowType;
    s_stBar.eShowType = eType;
    switch (eType) {
    case STATUSBAR_SHOW_ALL:
        ShowRecIcon(true);
        StatusBar_ShowAllAvailableTitleCont();
        ShowRightIcons(true);
        ShowLeftIcons(true);
        break;
    case STATUSBAR_SHOW_REC:
    case STATUSBAR_SHOW_NONE:
        ShowRecIcon(eType == STATUSBAR_SHOW_REC);
        ShowRightIcons(false);
        ShowLeftIcons(false);
        HideTitle();
        break;
    case STATUSBAR_SHOW_REC_ICONS:
        ShowRecIcon(true);
        ShowRightIcons(true);
        ShowLeftIcons(true);
        HideTitle();
        break;
    case STATUSBAR_SHOW_REC_TITLE:
        ShowRecIcon(true);
        ShowRightIcons(false);
        ShowLeftIcons(false);
        StatusBar_ShowAllAvailableTitleCont();
        break;
    case STATUSBAR_SHOW_TITLE:
        ShowRecIcon(false);
        StatusBar_ShowAllAvailableTitleCont();
        ShowRightIcons(false);
        ShowLeftIcons(false);
        break;
    default:
        break;
    }
}

StatusBarShowType StatusBar_GetShowType(void) {
    return (StatusBarShowType)s_stBar.eShowType;
}

void BackLastTypeShow(void) {
    LOG_INFO("m_eShowLastType[%d]\n", s_stBar.eShowLastType);
    StatusBar_ShowType(s_stBar.eShowLastType);
}

void StatusBar_SlideAnim(int s32In) {
    if (!s_stBar.bCreated) {
        return;
    }
    lv_obj_t *bar = s_stBar.stObjs.bar;
    lv_coord_t h = lv_obj_get_height(bar);
    if (h <= 0) {
        h = STATUSBAR_HEIGHT; /* geometry not laid out yet */
    }
    lv_anim_t a;
    lv_anim_init(&a);
    lv_anim_set_var(&a, bar);
    if (s32In == 1) {
        lv_anim_set_values(&a, -h, 0);
    } else {
        lv_anim_set_values(&a, 0, -h);
    }
    lv_anim_set_time(&a, 500);
    lv_anim_set_delay(&a, 0);
    lv_anim_set_early_apply(&a, true);
    lv_anim_set_path_cb(&a, lv_anim_path_ease_out);
    lv_anim_set_exec_cb(&a, [](void *var, int32_t v) { lv_obj_set_y(static_cast<lv_obj_t *>(var), v); });
    lv_anim_start(&a);
}

void AddItemToList(const char *pTypeName, const char *IconName, bool bBreath) {
    if (pTypeName == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pTypeName");
        return;
    }
    if (IconName == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "IconName");
        return;
    }
    if (!s_stBar.bCreated) {
        return;
    }
    if (!NameFits(pTypeName, IconName)) {
        LOG_ERROR("item [%s] with icon [%s] refused\n", pTypeName, IconName);
        return;
    }
    ItemNode *n = s_stBar.stRight.Find(pTypeName);
    if (n != nullptr && strcmp(n->szIconName, IconName) == 0 && (n->u32Breath != 0) == bBreath) {
        return; /* nothing changes, nothing is redrawn */
    }
    if ((n == nullptr || strcmp(n->szIconName, IconName) != 0) && !IconExists(IconName)) {
        LOG_ERROR("picture %s%s is missing\n", STATUSBAR_PIC_DIR, IconName);
        return;
    }
    if (n == nullptr) {
        n = static_cast<ItemNode *>(calloc(1, sizeof(ItemNode)));
        if (n == nullptr) {
            LOG_ERROR("no memory for item [%s]\n", pTypeName);
            return;
        }
        snprintf(n->szTypeName, sizeof n->szTypeName, "%s", pTypeName);
        snprintf(n->szIconName, sizeof n->szIconName, "%s", IconName);
        n->u32Breath = bBreath ? 1 : 0;
        s_stBar.stRight.Append(n);
    } else {
        if (strcmp(n->szIconName, IconName) != 0) {
            snprintf(n->szIconName, sizeof n->szIconName, "%s", IconName);
        }
        n->u32Breath = bBreath ? 1 : 0;
    }
    RefreshRight();
}

void RemoveItemFromList(const char *pTypeName) {
    if (pTypeName == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pTypeName");
        return;
    }
    if (!s_stBar.bCreated) {
        return;
    }
    LOG_INFO("typeName[%s]\n", pTypeName);
    if (s_stBar.stRight.Find(pTypeName) == nullptr) {
        LOG_WARN("no item [%s]\n", pTypeName);
        return;
    }
    ItemList &list = s_stBar.stRight;
    uint32_t i = 0;
    ItemNode *n = list.stHead.pstNext;
    while (n != &list.stHead) {
        ItemNode *next = n->pstNext;
        if (i < STATUSBAR_RIGHT_SLOTS) {
            StatusBar_IconStopBreath(i);
        }
        if (strncmp(n->szTypeName, pTypeName, STATUSBAR_TYPE_NAME_LEN) == 0) {
            ItemList::Unlink(n);
            free(n);
        }
        n = next;
        ++i;
    }
    RefreshRight();
}

void AddItemToListLeft(const char *pTypeName, const char *IconName) {
    if (pTypeName == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pTypeName");
        return;
    }
    if (IconName == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "IconName");
        return;
    }
    if (!s_stBar.bCreated || !NameFits(pTypeName, IconName)) {
        LOG_ERROR("item [%s] with icon [%s] refused\n", pTypeName, IconName);
        return;
    }
    ItemNode *n = s_stBar.stLeft.Find(pTypeName);
    if (n != nullptr && strcmp(n->szIconName, IconName) == 0) {
        return;
    }
    if (!IconExists(IconName)) {
        LOG_ERROR("picture %s%s is missing\n", STATUSBAR_PIC_DIR, IconName);
        return;
    }
    if (n == nullptr) {
        n = static_cast<ItemNode *>(calloc(1, sizeof(ItemNode)));
        if (n == nullptr) {
            LOG_ERROR("no memory for item [%s]\n", pTypeName);
            return;
        }
        snprintf(n->szTypeName, sizeof n->szTypeName, "%s", pTypeName);
        s_stBar.stLeft.Append(n);
    }
    snprintf(n->szIconName, sizeof n->szIconName, "%s", IconName);
    RefreshLeft();
}

void RemoveItemFromListLeft(const char *pTypeName) {
    if (pTypeName == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pTypeName");
        return;
    }
    if (!s_stBar.bCreated) {
        return;
    }
    LOG_INFO("typeName[%s]\n", pTypeName);
    ItemNode *n;
    bool bFound = false;
    while ((n = s_stBar.stLeft.Find(pTypeName)) != nullptr) {
        ItemList::Unlink(n);
        free(n);
        bFound = true;
    }
    if (!bFound) {
        LOG_WARN("no item [%s]\n", pTypeName);
        return;
    }
    RefreshLeft();
}

void CtrlIconBreath(const char *pTypeName, bool bBreath) {
    if (pTypeName == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "pTypeName");
        return;
    }
    if (!s_stBar.bCreated) {
        return;
    }
    uint32_t i = 0;
    ItemList &list = s_stBar.stRight;
    for (ItemNode *n = list.stHead.pstNext; n != &list.stHead && i < STATUSBAR_RIGHT_SLOTS;
         n = n->pstNext, ++i) {
        if (bBreath && s_stBar.stObjs.astRight[i].bBreath) {
            /* every breathing slot restarts, so they all breathe in phase */
            StatusBar_IconStopBreath(i);
            StatusBar_IconStartBreath(i);
        }
        if (strncmp(n->szTypeName, pTypeName, STATUSBAR_TYPE_NAME_LEN) == 0) {
            LOG_INFO("pTypeName :%s Breath[%d]\n", pTypeName, bBreath ? 1 : 0);
            n->u32Breath = bBreath ? 1 : 0;
            if (bBreath) {
                StatusBar_IconStartBreath(i);
            } else {
                StatusBar_IconStopBreath(i);
            }
        }
    }
}

void StatusBar_SetRecording(bool bRecording) {
    if (!s_stBar.bCreated) {
        return;
    }
    lv_obj_t *icon = s_stBar.stObjs.recIcon;
    if (bRecording) {
        lv_obj_add_state(icon, LV_STATE_USER_1);
        lv_img_set_src(icon, IconPath(s_apcRecIcon[s_stBar.eTypeName][0]));
        if (s_stBar.eTypeName == STATUSBAR_REC_STYLE_POINT) {
            StatusBar_RecIconStartBreath();
        }
    } else {
        lv_obj_clear_state(icon, LV_STATE_USER_1);
        StatusBar_RecIconStopBreath();
        lv_img_set_src(icon, IconPath(s_apcRecIcon[s_stBar.eTypeName][1]));
    }
}

void CtrlRecIconStyle(int eTypeName) {
    if (!s_stBar.bCreated) {
        return;
    }
    if (eTypeName < 0 || eTypeName >= STATUSBAR_REC_STYLE_NUM) {
        LOG_ERROR("record icon style [%d] out of range\n", eTypeName);
        return;
    }
    if (eTypeName == s_stBar.eTypeName) {
        LOG_WARN("type is same[%d]\n", eTypeName);
        return;
    }
    LOG_INFO("eTypeName[%d]\n", eTypeName);
    s_stBar.eTypeName = eTypeName;
    bool bRecording = lv_obj_has_state(s_stBar.stObjs.recIcon, LV_STATE_USER_1);
    StatusBar_PullRecording(&bRecording);
    StatusBar_RecIconStopBreath();
    StatusBar_SetRecording(bRecording);
}

void UpdateSdIcon(bool bShow, const char *IconName) {
    LOG_INFO("\n");
    if (bShow) {
        LOG_INFO("szContPath[%d]\n", 1);
        AddItemToList("sd", IconName, false);
    } else {
        RemoveItemFromList("sd");
    }
}

void UpdateRearIcon(bool bShow, const char *IconName) {
    LOG_INFO("rear icon show[%d] %s\n", bShow ? 1 : 0, IconName != nullptr ? IconName : "");
}

void UpdateInsideIcon(bool bShow, const char *IconName) {
    LOG_INFO("inside icon show[%d] %s\n", bShow ? 1 : 0, IconName != nullptr ? IconName : "");
}

void CtrlGpsIconShow(bool bShow, bool bBreath) {
    if (bShow == s_stBar.bGpsShow) {
        LOG_INFO("show same[%d] ctrl\n", bShow ? 1 : 0);
    } else if (bShow) {
        AddItemToList("gps", "gps_err.png", bBreath);
    } else {
        RemoveItemFromList("gps");
    }
    s_stBar.bGpsShow = bShow;
    if (bShow) {
        if (bBreath == s_stBar.bGpsBreath) {
            LOG_INFO("Breath same ctrl\n");
        } else {
            AddItemToList("gps", "gps_err.png", bBreath);
        }
        s_stBar.bGpsBreath = bBreath;
    } else {
        LOG_INFO("gps icon unshow!\n");
        s_stBar.bGpsBreath = false;
    }
}

void CtrlKovarIconShow(bool bShow) {
    if (bShow) {
        AddItemToList("kovar", "kovar.png", false);
    } else {
        RemoveItemFromList("kovar");
    }
}

void Ctrl4GIconShow(bool bShow, int s32Level, bool bReady) {
    static const char *const s_apc4G[] = {"4G_0.png", "4G_1.png", "4G_2.png", "4G_3.png", "4G_4.png"};
    if (!bShow) {
        RemoveItemFromList("4G");
        return;
    }
    if (s32Level < 0 || s32Level > 4) {
        LOG_ERROR("4G level [%d] out of range\n", s32Level);
        return;
    }
    AddItemToList("4G", s_apc4G[s32Level], !bReady);
}

void StatusBar_ShowAllAvailableTitleCont(void) {
    if (!s_stBar.bCreated) {
        return;
    }
    StatusBarObjs &o = s_stBar.stObjs;
    if (o.title.bshow) {
        LOG_DEBUG("title.bshow\n");
        SetHidden(o.title.obj, false);
    }
    if (o.focus.bshow) {
        LOG_DEBUG("focus.bshow\n");
        SetHidden(o.focus.obj, false);
    }
    if (o.shadow_title.bshow) {
        LOG_DEBUG("shadow_title.bshow\n");
        SetHidden(o.shadow_title.obj, false);
    }
    if (o.filetype_img.bshow) {
        LOG_DEBUG("filetype_img.bshow\n");
        SetHidden(o.filetype_img.obj, false);
    }
}

/* The file-type image stands just right of the title's text. The title label is wider than the
 * date it shows and centres it: an image at a fixed place in the label (80 pixels from its right
 * end) lay over the time. */
static void AlignFileTypeToTitleText() {
    StatusBarObjs &o = s_stBar.stObjs;
    lv_obj_update_layout(o.title.obj);
    const lv_coord_t s32LabelW = lv_obj_get_width(o.title.obj);
    lv_point_t stText;
    lv_txt_get_size(
        &stText, lv_label_get_text(o.title.obj), lv_obj_get_style_text_font(o.title.obj, LV_PART_MAIN),
        lv_obj_get_style_text_letter_space(o.title.obj, LV_PART_MAIN), 0, LV_COORD_MAX, LV_TEXT_FLAG_NONE);
    const lv_coord_t s32TextW = LV_MIN(stText.x, s32LabelW);
    lv_obj_align_to(o.filetype_img.obj, o.title.obj, LV_ALIGN_LEFT_MID, (s32LabelW + s32TextW) / 2 + 4, 2);
}

void StatusBar_UpdateTitleCont(const StatusBarMsg *info) {
    if (info == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "info");
        return;
    }
    if (!s_stBar.bCreated || !ShowsTitle()) {
        return;
    }
    StatusBarObjs &o = s_stBar.stObjs;
    if (info->bCustomFont && info->pcFontPath != nullptr && info->pcFontPath[0] != '\0') {
        SetTitleFont(o.title.obj, info->pcFontPath, 23, &s_stTitleFont);
        SetTitleFont(o.shadow_title.obj, info->pcFontPath, 23, &s_stShadowFont);
    } else {
        /* The shadow takes the title's size: at any other size its centred text does not lie
         * under the title's and the clock is drawn ghosted. */
        SetTitleFont(o.title.obj, SYS_PATH_FONT_BODY, 20, &s_stTitleFont);
        SetTitleFont(o.shadow_title.obj, SYS_PATH_FONT_BODY, 20, &s_stShadowFont);
    }

    if (info->pcFocus != nullptr && info->pcFocus[0] != '\0') {
        lv_label_set_text(o.focus.obj, info->pcFocus);
        _lv_obj_clear_hidden_flag(&o.focus);
    } else {
        _lv_obj_add_hidden_flag(&o.focus);
    }

    if (info->pcTitle != nullptr) {
        _lv_obj_clear_hidden_flag(&o.title);
        if (info->bTitleIsLangId) {
            lv_label_set_text_tr(o.title.obj, info->pcTitle);
        } else {
            if (strcmp(lv_label_get_text(o.title.obj), info->pcTitle) != 0) {
                lv_label_set_text(o.title.obj, info->pcTitle);
            }
            if (info->bShadow) {
                /* Aligned again only when something moved: aligning redraws it. */
                bool bMove = s_bShadowAlignDue || lv_obj_has_flag(o.shadow_title.obj, LV_OBJ_FLAG_HIDDEN);
                if (strcmp(lv_label_get_text(o.shadow_title.obj), info->pcTitle) != 0) {
                    lv_label_set_text(o.shadow_title.obj, info->pcTitle);
                    bMove = true;
                }
                _lv_obj_clear_hidden_flag(&o.shadow_title);
                if (bMove) {
                    AlignShadowToTitle();
                    s_bShadowAlignDue = false;
                }
            } else {
                _lv_obj_add_hidden_flag(&o.shadow_title);
            }
        }
    } else {
        _lv_obj_add_hidden_flag(&o.title);
        _lv_obj_add_hidden_flag(&o.shadow_title);
    }

    if (info->pcFileType != nullptr) {
        static const char *const s_apcTypes[][2] = {
            {"rear", "album/rear.png"}, {"front", "album/front.png"}, {"inside", "album/inside.png"}};
        bool bKnown = false;
        for (const auto &t : s_apcTypes) {
            if (strcmp(info->pcFileType, t[0]) == 0) {
                lv_img_set_src(o.filetype_img.obj, UI_ResPath(t[1], UI_RES_PIC_ROOT));
                bKnown = true;
            }
        }
        if (!bKnown) {
            LOG_WARN("file type [%s] unknown\n", info->pcFileType);
        }
        AlignFileTypeToTitleText();
        _lv_obj_clear_hidden_flag(&o.filetype_img);
    } else {
        _lv_obj_add_hidden_flag(&o.filetype_img);
    }
}

void StatusBar_AlignTitle(int eCmd) {
    if (!s_stBar.bCreated) {
        return;
    }
    lv_obj_t *title = s_stBar.stObjs.title.obj;
    if (eCmd == STATUSBAR_CMD_TITLE_LEFT) {
        lv_obj_align(title, LV_ALIGN_TOP_LEFT, lv_pct(18), 0);
    } else if (eCmd == STATUSBAR_CMD_TITLE_CENTER) {
        lv_obj_align(title, LV_ALIGN_CENTER, -10, 0);
    }
    s_bShadowAlignDue = true; /* the shadow follows with the next title update */
}

const StatusBarObjs *StatusBar_GetObjs(void) {
    return s_stBar.bCreated ? &s_stBar.stObjs : nullptr;
}

int StatusBar_GetRecIconStyle(void) {
    return s_stBar.eTypeName;
}

bool StatusBar_RecIconBreathing(void) {
    return s_stBar.bRecIconBreath;
}

uint32_t StatusBar_GetItemCount(bool bLeft) {
    return s_stBar.bCreated ? (bLeft ? s_stBar.stLeft : s_stBar.stRight).Count() : 0;
}

bool StatusBar_GetItem(bool bLeft, uint32_t u32Index, const char **ppcTypeName, const char **ppcIconName,
                       bool *pbBreath) {
    if (!s_stBar.bCreated) {
        return false;
    }
    ItemList &list = bLeft ? s_stBar.stLeft : s_stBar.stRight;
    uint32_t i = 0;
    for (ItemNode *n = list.stHead.pstNext; n != &list.stHead; n = n->pstNext, ++i) {
        if (i == u32Index) {
            if (ppcTypeName != nullptr) {
                *ppcTypeName = n->szTypeName;
            }
            if (ppcIconName != nullptr) {
                *ppcIconName = n->szIconName;
            }
            if (pbBreath != nullptr) {
                *pbBreath = n->u32Breath != 0;
            }
            return true;
        }
    }
    return false;
}
