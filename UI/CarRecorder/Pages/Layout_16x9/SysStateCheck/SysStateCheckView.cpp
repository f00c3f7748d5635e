/* The overlays' objects: locks, toasts with their key bars, the wallpaper and the alerts. All of
 * them lie on the display's top layer, above the pages and the status bar. */
#include <stdio.h>
#include <string.h>

#include "StatusBar.h"
#include "SysStateCheckPriv.h"
#include "log.h"
#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace sysstate {

namespace {

constexpr uint32_t kPanelBg = 0x15191f;
constexpr int32_t kBarH = 40;
constexpr uint32_t kWallGifMs = 30000;
constexpr uint32_t kClockMs = 500;
constexpr uint32_t kFullHourMs = 100;
constexpr uint32_t kWakeMs = 200;
/* The camera error text, title and picture fit above the key bar in two-line languages too. */
constexpr int32_t kCamTextTop = 12;

lv_obj_t *FullScreen(lv_obj_t *parent, uint32_t u32Color) {
    lv_obj_t *obj = lv_obj_create(parent);
    lv_obj_remove_style_all(obj);
    lv_obj_set_size(obj, lv_pct(100), lv_pct(100));
    lv_obj_align(obj, LV_ALIGN_TOP_LEFT, 0, 0);
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_add_flag(obj, LV_OBJ_FLAG_CLICKABLE); /* nothing below takes a touch */
    lv_obj_set_style_bg_color(obj, lv_color_hex(u32Color), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(obj, LV_OPA_COVER, LV_PART_MAIN);
    return obj;
}

/* A centred column for picture and texts; its height leaves room for a key bar. */
lv_obj_t *Column(lv_obj_t *parent) {
    lv_obj_t *col = lv_obj_create(parent);
    lv_obj_remove_style_all(col);
    lv_obj_set_size(col, lv_pct(100), lv_pct(100));
    lv_obj_clear_flag(col, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_set_flex_flow(col, LV_FLEX_FLOW_COLUMN);
    lv_obj_set_flex_align(col, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER);
    lv_obj_set_style_pad_row(col, 6, LV_PART_MAIN);
    return col;
}

void StopWallpaperTimers() {
    StopTimer(TIMER_WALLPAPER);
    StopTimer(TIMER_WALLPAPER_ON);
}

void WallGifNext(lv_timer_t *t) {
    (void)t;
    State &s = S();
    if (s.pstWallGif == nullptr) {
        return;
    }
    s.u32WallGifIndex = s.u32WallGifIndex % 8 + 1;
    char szName[32];
    snprintf(szName, sizeof szName, "robot_nomal%u.gif", (unsigned)s.u32WallGifIndex);
    LOG_INFO("Switch to:%s\n", szName);
    lv_gif_set_src(s.pstWallGif, UI_ResPath(szName, UI_RES_GIF_ROOT));
}

void ClockRefresh(lv_timer_t *t) {
    (void)t;
    State &s = S();
    if (s.pstClockHour == nullptr) {
        return;
    }
    time_t now = s.pfnNow != nullptr ? s.pfnNow() : time(nullptr);
    struct tm stTm;
    localtime_r(&now, &stTm);
    char szBuf[32];
    snprintf(szBuf, sizeof szBuf, "%02d", stTm.tm_hour);
    if (strcmp(lv_label_get_text(s.pstClockHour), szBuf) != 0) {
        lv_label_set_text(s.pstClockHour, szBuf);
    }
    snprintf(szBuf, sizeof szBuf, "%02d", stTm.tm_min);
    if (strcmp(lv_label_get_text(s.pstClockMin), szBuf) != 0) {
        lv_label_set_text(s.pstClockMin, szBuf);
    }
    snprintf(szBuf, sizeof szBuf, "%04d - %02d - %02d", stTm.tm_year + 1900, stTm.tm_mon + 1, stTm.tm_mday);
    if (strcmp(lv_label_get_text(s.pstClockDate), szBuf) != 0) {
        lv_label_set_text(s.pstClockDate, szBuf);
    }
}

lv_obj_t *ClockLabel(lv_obj_t *parent, const char *pcFont, uint16_t u16Size) {
    lv_obj_t *label = lv_label_create(parent);
    lv_obj_set_style_text_color(label, lv_color_white(), LV_PART_MAIN);
    lv_label_freetype_set_text_normal(label, pcFont, u16Size, LV_PART_MAIN);
    lv_label_set_text(label, "");
    return label;
}

void WallpaperAwake(lv_timer_t *t) {
    (void)t;
    S().apstTimer[TIMER_WALLPAPER_ON] = nullptr; /* one-shot */
    if (SysStateCheck_ScreenIsOn() == 0) {
        SysStateCheck_CtrlScreen("on");
    }
    SysStateCheck_CtrlScreen("pause");
}

void FullHourTick(lv_timer_t *t) {
    (void)t;
    State &s = S();
    time_t now = s.pfnNow != nullptr ? s.pfnNow() : time(nullptr);
    struct tm stTm;
    localtime_r(&now, &stTm);
    if (stTm.tm_min == 0 && stTm.tm_sec == 0) {
        LOG_INFO("Destroy full hour toast page\n");
        DeleteOverlay(SYS_OVERLAY_FULL_HOUR);
        s.bFullHourGone = true;
        s.u32FullHourGoneTick = lv_tick_get();
    }
}

void TriggerTimeout(lv_timer_t *t) {
    (void)t;
    LOG_INFO("Destroy Timer\n");
    S().apstTimer[TIMER_TRIGGER] = nullptr; /* one-shot */
    LOG_INFO("Destroy trigger toast page\n");
    DeleteOverlay(SYS_OVERLAY_TRIGGER);
}

void OnBarButton(lv_event_t *e);

} // namespace

void SetImg(lv_obj_t *img, const char *pcRelPath) {
    lv_img_set_src(img, UI_ResPath(pcRelPath, UI_RES_PIC_ROOT));
}

lv_obj_t *AddLabel(lv_obj_t *parent, const char *pcTextId, uint16_t u16Size) {
    lv_obj_t *label = lv_label_create(parent);
    lv_obj_set_width(label, lv_pct(92));
    lv_label_set_long_mode(label, LV_LABEL_LONG_WRAP);
    lv_obj_set_style_text_color(label, lv_color_white(), LV_PART_MAIN);
    lv_obj_set_style_text_align(label, LV_TEXT_ALIGN_CENTER, LV_PART_MAIN);
    lv_obj_set_style_text_line_space(label, 2, LV_PART_MAIN);
    lv_label_freetype_set_text_normal(label, SYS_PATH_FONT_BODY, u16Size, LV_PART_MAIN);
    lv_label_set_text(label, "");
    if (pcTextId != nullptr) {
        lv_label_set_text_tr(label, pcTextId);
    }
    return label;
}

lv_obj_t *CreateLockPanel(const char *pcImg, const char *pcTextId, lv_obj_t **ppstImg, lv_obj_t **ppstLabel) {
    return CreateLockPanelOn(lv_layer_top(), pcImg, pcTextId, ppstImg, ppstLabel);
}

lv_obj_t *CreateLockPanelOn(lv_obj_t *parent, const char *pcImg, const char *pcTextId, lv_obj_t **ppstImg,
                            lv_obj_t **ppstLabel) {
    lv_obj_t *panel = FullScreen(parent, kPanelBg);
    lv_obj_t *col = Column(panel);
    lv_obj_t *img = nullptr;
    if (pcImg != nullptr) {
        img = lv_img_create(col);
        SetImg(img, pcImg);
    }
    lv_obj_t *label = AddLabel(col, pcTextId, 22);
    if (ppstImg != nullptr) {
        *ppstImg = img;
    }
    if (ppstLabel != nullptr) {
        *ppstLabel = label;
    }
    return panel;
}

void DeleteOverlay(SysStateOverlay e) {
    State &s = S();
    lv_obj_t *obj = s.apstObj[e];
    if (obj == nullptr) {
        return;
    }
    switch (e) {
    case SYS_OVERLAY_WALLPAPER:
        StopWallpaperTimers();
        s.pstWallGif = nullptr;
        s.pstClockHour = s.pstClockMin = s.pstClockDate = nullptr;
        break;
    case SYS_OVERLAY_FULL_HOUR:
        StopTimer(TIMER_FULL_HOUR);
        break;
    case SYS_OVERLAY_TRIGGER:
        StopTimer(TIMER_TRIGGER);
        break;
    case SYS_OVERLAY_4G_LOCK:
        s.pst4GImg = s.pst4GLabel = s.pst4GTipLabel = nullptr;
        break;
    case SYS_OVERLAY_UPDATING:
        StopTimer(TIMER_UPDATING);
        break;
    case SYS_OVERLAY_DIGICAM_UPDATING:
        StopTimer(TIMER_DIGICAM_UPDATING);
        break;
    case SYS_OVERLAY_EMPOWER:
        s.apstObj[SYS_OVERLAY_EMPOWER_FAIL] = nullptr; /* a child of the empower page */
        break;
    case SYS_OVERLAY_EMPOWER_FAIL:
        s.apstObj[e] = nullptr; /* removed with its page */
        return;
    default:
        break;
    }
    for (int t = 0; t < TOAST_NONE; ++t) {
        static const SysStateOverlay s_aeOverlay[TOAST_NONE] = {
            SYS_OVERLAY_EMPOWER, SYS_OVERLAY_APP_LOCK, SYS_OVERLAY_STORAGE_ERR, SYS_OVERLAY_DIGICAM_REAR,
            SYS_OVERLAY_DIGICAM_INSIDE};
        if (s_aeOverlay[t] == e) {
            s.astBottom[t] = {};
            SysStateCheck_PopToastPage(static_cast<ToastType>(t));
        }
    }
    lv_obj_del(obj);
    s.apstObj[e] = nullptr;
}

void CreateToastBottom(ToastType eType, lv_obj_t *parent, bool bHidePrevNext, bool bHideConfirm) {
    State &s = S();
    if (SysStateCheck_PushToastPage(eType) != 0) {
        LOG_ERROR("failed to push toast page type: %d\n", (int)eType);
    }
    BottomInfo &b = s.astBottom[eType];
    SysStateCheck_CreateBottomBar(parent, &b, OnBarButton, reinterpret_cast<void *>((intptr_t)eType));
    if (bHidePrevNext) {
        lv_obj_add_flag(b.prev_obj, LV_OBJ_FLAG_HIDDEN);
        lv_obj_add_flag(b.next_obj, LV_OBJ_FLAG_HIDDEN);
    }
    if (bHideConfirm) {
        lv_obj_add_flag(b.confirm_obj, LV_OBJ_FLAG_HIDDEN);
    }
    s.eActive = eType;
}

void BringLocksToFront() {
    State &s = S();
    for (SysStateOverlay e :
         {SYS_OVERLAY_TRIGGER, SYS_OVERLAY_FULL_HOUR, SYS_OVERLAY_UPDATING, SYS_OVERLAY_DIGICAM_UPDATING}) {
        if (s.apstObj[e] != nullptr) {
            lv_obj_move_foreground(s.apstObj[e]);
        }
    }
}

void CreateWallpaper(int32_t s32Kind) {
    State &s = S();
    DeleteOverlay(SYS_OVERLAY_WALLPAPER);
    lv_obj_t *page = FullScreen(lv_layer_top(), 0x000000);
    s.apstObj[SYS_OVERLAY_WALLPAPER] = page;
    s.s32WallpaperKind = s32Kind;
    if (s32Kind == 0) {
        s.pstWallGif = lv_gif_create(page);
        s.u32WallGifIndex = 1;
        lv_gif_set_src(s.pstWallGif, UI_ResPath("robot_nomal1.gif", UI_RES_GIF_ROOT));
        lv_obj_center(s.pstWallGif);
        StartTimer(TIMER_WALLPAPER, kWallGifMs, false, WallGifNext);
    } else if (s32Kind == 1) {
        s.pstClockDate = ClockLabel(page, SYS_PATH_FONT_BODY, 30);
        lv_obj_align(s.pstClockDate, LV_ALIGN_TOP_MID, 0, 16);
        lv_obj_t *colon = ClockLabel(page, SYS_PATH_FONT_DIGITS, 95);
        lv_label_set_text(colon, ":");
        lv_obj_align(colon, LV_ALIGN_TOP_MID, 0, 46);
        s.pstClockHour = ClockLabel(page, SYS_PATH_FONT_DIGITS, 95);
        lv_obj_align(s.pstClockHour, LV_ALIGN_TOP_RIGHT, -172, 46);
        s.pstClockMin = ClockLabel(page, SYS_PATH_FONT_DIGITS, 95);
        lv_obj_align(s.pstClockMin, LV_ALIGN_TOP_LEFT, 172, 46);
        ClockRefresh(nullptr);
        StartTimer(TIMER_WALLPAPER, kClockMs, false, ClockRefresh);
    }
    lv_obj_move_foreground(page);
    StatusBar_ShowType(STATUSBAR_SHOW_REC);
    BringLocksToFront();
    /* Drawn first, then the screen comes on (the old picture never shows). */
    StartTimer(TIMER_WALLPAPER_ON, kWakeMs, true, WallpaperAwake);
}

void CreateFullHourToast(int32_t s32Hour) {
    State &s = S();
    if (s.apstObj[SYS_OVERLAY_FULL_HOUR] != nullptr) {
        return;
    }
    LOG_INFO("Create full hour toast page\n");
    if (SysStateCheck_ScreenIsOn() == 0) {
        SysStateCheck_CtrlScreen("on");
    }
    lv_obj_t *page = FullScreen(lv_layer_top(), 0x000000);
    s.apstObj[SYS_OVERLAY_FULL_HOUR] = page;
    char szGifBuf[64];
    snprintf(szGifBuf, sizeof szGifBuf, "robot_clock%u.gif", (unsigned)s32Hour);
    LOG_INFO("szGifBuf = %s\n", szGifBuf);
    lv_obj_t *gif = lv_gif_create(page);
    if (gif == nullptr) {
        LOG_WARN("obj_gif is null\n");
    } else {
        lv_gif_set_src(gif, UI_ResPath(szGifBuf, UI_RES_GIF_ROOT));
        lv_obj_center(gif);
    }
    for (SysStateOverlay e : {SYS_OVERLAY_UPDATING, SYS_OVERLAY_DIGICAM_UPDATING}) {
        if (s.apstObj[e] != nullptr) {
            lv_obj_move_foreground(s.apstObj[e]);
        }
    }
    StartTimer(TIMER_FULL_HOUR, kFullHourMs, false, FullHourTick);
}

void CreateTriggerToast(int32_t eType) {
    State &s = S();
    static const struct {
        int32_t eType;
        const char *pcImg;
    } s_astImgs[] = {
        {SYS_STATUS_CAR_FORWARD, "other/car_forward.png"},
        {SYS_STATUS_DRIVING_REMIND, "other/driving_remind.png"},
        {SYS_STATUS_CROSS_LANE, "other/cross_lane.png"},
        {SYS_STATUS_TOO_CLOSE, "other/too_closed.png"},
        {SYS_STATUS_PEDESTRIAN, "other/notict_pedestrian.png"},
    };
    const char *pcImg = nullptr;
    for (const auto &row : s_astImgs) {
        if (row.eType == eType) {
            pcImg = row.pcImg;
        }
    }
    lv_obj_t *page = s.apstObj[SYS_OVERLAY_TRIGGER];
    if (page != nullptr) {
        LOG_INFO("reset timer\n");
        lv_obj_t *img = lv_obj_get_child(page, 1);
        if (img != nullptr) {
            if (pcImg != nullptr) {
                SetImg(img, pcImg);
            }
            lv_obj_set_style_img_opa(img, pcImg != nullptr ? LV_OPA_COVER : LV_OPA_TRANSP, LV_PART_MAIN);
        }
        lv_timer_reset(s.apstTimer[TIMER_TRIGGER]);
    } else {
        page = lv_obj_create(lv_layer_top());
        lv_obj_remove_style_all(page);
        lv_obj_set_size(page, lv_disp_get_hor_res(nullptr), lv_disp_get_ver_res(nullptr));
        lv_obj_clear_flag(page, LV_OBJ_FLAG_SCROLLABLE);
        /* Transparent: the alert's picture lies over the live camera picture and the page. */
        lv_obj_t *gif = lv_gif_create(page);
        lv_obj_center(gif);
        lv_obj_t *img = lv_img_create(page);
        if (pcImg != nullptr) {
            SetImg(img, pcImg);
        } else {
            lv_obj_set_style_img_opa(img, LV_OPA_TRANSP, LV_PART_MAIN);
        }
        lv_obj_center(img);
        s.apstObj[SYS_OVERLAY_TRIGGER] = page;
        StartTimer(TIMER_TRIGGER, SYS_STATE_TRIGGER_TOAST_MS, true, TriggerTimeout);
        lv_obj_fade_in(page, 200, 0);
    }
    for (SysStateOverlay e : {SYS_OVERLAY_UPDATING, SYS_OVERLAY_DIGICAM_UPDATING}) {
        if (s.apstObj[e] != nullptr) {
            lv_obj_move_foreground(s.apstObj[e]);
        }
    }
}

void CreateEmpowerPage() {
    State &s = S();
    lv_obj_t *page = s.apstObj[SYS_OVERLAY_EMPOWER];
    if (page != nullptr) {
        LOG_INFO("EmpowerPage is show\n");
        if (s.astBottom[TOAST_EMPOWER].confirm_obj != nullptr) {
            lv_obj_clear_flag(s.astBottom[TOAST_EMPOWER].confirm_obj, LV_OBJ_FLAG_HIDDEN);
        }
        lv_obj_move_foreground(page);
        RouteKeys();
        return;
    }
    page = FullScreen(lv_layer_top(), kPanelBg);
    LOG_INFO("\33[0;32;32mcreate empower page [:%p]\n\33[m", (void *)page);
    s.apstObj[SYS_OVERLAY_EMPOWER] = page;
    lv_obj_t *col = Column(page);
    lv_obj_set_height(col, lv_pct(76));
    /* Chinese titles are set larger, Russian ones smaller than the Latin ones. */
    bool bHan = Lang_CodeContains("CN") || Lang_CodeContains("TW");
    bool bRu = Lang_CodeContains("RU");
    lv_obj_t *title = AddLabel(col, "LANG_RES_ID_EMPOWER_TITLE", bHan ? 27 : (bRu ? 20 : 24));
    lv_obj_set_width(title, lv_pct(94));
    CreateToastBottom(TOAST_EMPOWER, page, true, false);
    BringLocksToFront();
    RouteKeys();
}

void CreateFailEmpowerPage() {
    State &s = S();
    if (s.apstObj[SYS_OVERLAY_EMPOWER] == nullptr) {
        CreateEmpowerPage();
    }
    lv_obj_t *page = s.apstObj[SYS_OVERLAY_EMPOWER];
    if (page == nullptr || s.apstObj[SYS_OVERLAY_EMPOWER_FAIL] != nullptr) {
        return;
    }
    LOG_INFO("\33[0;32;32mcreate empower fail page [:%p]\n\33[m", (void *)page);
    lv_obj_t *col = lv_obj_get_child(page, 0);
    lv_obj_t *title = lv_obj_get_child(col, 0);
    if (title != nullptr) {
        lv_label_set_text_tr(title, "LANG_RES_ID_EMPOWER_FAIL_TITLE");
    }
    s.apstObj[SYS_OVERLAY_EMPOWER_FAIL] = title;
}

void ShowEmpowerSuccess() {
    State &s = S();
    lv_obj_t *page = s.apstObj[SYS_OVERLAY_EMPOWER];
    if (page == nullptr) {
        return;
    }
    lv_obj_t *col = lv_obj_get_child(page, 0);
    lv_obj_clean(col);
    lv_obj_t *img = lv_img_create(col);
    SetImg(img, "setmenu/sub/com/opersuccess.png");
    AddLabel(col, "LANG_RES_ID_EMPOWER_SUCCESS", 24);
    s.apstObj[SYS_OVERLAY_EMPOWER_FAIL] = nullptr;
}

void CreateDigiCamErrPage(ToastType eType, int32_t s32Status) {
    State &s = S();
    SysStateOverlay e = eType == TOAST_DIGICAM_REAR ? SYS_OVERLAY_DIGICAM_REAR : SYS_OVERLAY_DIGICAM_INSIDE;
    if (s.apstObj[e] != nullptr) {
        LOG_INFO("already show\n");
        return;
    }
    lv_obj_t *page = FullScreen(lv_layer_top(), kPanelBg);
    s.apstObj[e] = page;
    SysStateDigiCamView stView;
    SysStateCheck_CreateDigiCamView(page, &stView);
    SysStateCheck_RefreshDigiCamView(&stView, eType == TOAST_DIGICAM_REAR ? 1 : 2, s32Status);
    CreateToastBottom(eType, page, true, false);
    lv_obj_add_flag(s.astBottom[eType].back_obj, LV_OBJ_FLAG_HIDDEN);
    BringLocksToFront();
    RouteKeys();
}

namespace {

void OnBarButton(lv_event_t *e) {
    ToastType eType = static_cast<ToastType>((intptr_t)lv_event_get_user_data(e));
    lv_obj_t *obj = lv_event_get_target(e);
    const BottomInfo &b = S().astBottom[eType];
    if (obj == b.back_obj) {
        SysStateCheck_HandleBackButton(eType);
    } else if (obj == b.confirm_obj) {
        SysStateCheck_HandleConfirmButton(eType);
    }
}

} // namespace

} // namespace sysstate

using namespace sysstate;

lv_obj_t *SysStateCheck_CreatePanel(lv_obj_t *parent) {
    return FullScreen(parent, kPanelBg);
}

lv_obj_t *SysStateCheck_CreateLabel(lv_obj_t *parent, const char *pcTextId, uint16_t u16Size) {
    return AddLabel(parent, pcTextId, u16Size);
}

lv_obj_t *SysStateCheck_CreateLockView(lv_obj_t *parent, const char *pcImg, const char *pcTextId) {
    if (parent == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "parent");
        return nullptr;
    }
    lv_obj_t *panel = CreateLockPanelOn(parent, pcImg, pcTextId, nullptr, nullptr);
    lv_obj_set_height(lv_obj_get_child(panel, 0), lv_pct(76));
    return panel;
}

void SysStateCheck_CreateBottomBar(lv_obj_t *parent, SysStateBottomBar *pstBar, lv_event_cb_t event_cb,
                                   void *user_data) {
    if (parent == nullptr || pstBar == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", parent == nullptr ? "parent" : "pstBar");
        return;
    }
    pstBar->bar = lv_obj_create(parent);
    lv_obj_remove_style_all(pstBar->bar);
    lv_obj_set_size(pstBar->bar, lv_pct(100), kBarH);
    lv_obj_align(pstBar->bar, LV_ALIGN_BOTTOM_LEFT, 0, 0);
    lv_obj_clear_flag(pstBar->bar, LV_OBJ_FLAG_SCROLLABLE);
    struct {
        lv_obj_t **ppObj;
        const char *pcIcon;
        int32_t s32Pct;
    } const astButtons[] = {
        {&pstBar->back_obj, "setmenu/navibar/goback_icon.png", 10},
        {&pstBar->prev_obj, "setmenu/navibar/lastitem_icon.png", 33},
        {&pstBar->next_obj, "setmenu/navibar/nextitem_icon.png", 57},
        {&pstBar->confirm_obj, "setmenu/navibar/confirm_icon.png", 80},
    };
    for (const auto &btn : astButtons) {
        lv_obj_t *img = lv_img_create(pstBar->bar);
        SetImg(img, btn.pcIcon);
        lv_obj_align(img, LV_ALIGN_LEFT_MID, lv_pct(btn.s32Pct), 0);
        lv_obj_add_flag(img, LV_OBJ_FLAG_CLICKABLE);
        if (event_cb != nullptr) {
            lv_obj_add_event_cb(img, event_cb, LV_EVENT_SHORT_CLICKED, user_data);
        }
        *btn.ppObj = img;
    }
}

void SysStateCheck_CreateDigiCamView(lv_obj_t *parent, SysStateDigiCamView *pstView) {
    if (parent == nullptr || pstView == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", parent == nullptr ? "parent" : "pstView");
        return;
    }
    pstView->obj = parent;
    pstView->label = AddLabel(parent, nullptr, 24);
    lv_obj_align(pstView->label, LV_ALIGN_TOP_MID, 0, kCamTextTop);
    pstView->label_title = AddLabel(parent, nullptr, 20);
    lv_obj_set_style_text_opa(pstView->label_title, 153, LV_PART_MAIN);
    lv_obj_add_flag(pstView->label_title, LV_OBJ_FLAG_HIDDEN);
    pstView->img = lv_img_create(parent);
    lv_obj_add_flag(pstView->img, LV_OBJ_FLAG_HIDDEN);
}

bool SysStateCheck_RefreshDigiCamView(SysStateDigiCamView *pstView, int32_t s32Cam, int32_t s32Status) {
    if (pstView == nullptr || pstView->obj == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "instance->View.ui.digicam_err_toast.obj");
        return false;
    }
    if (pstView->label_title == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "label_title");
        return false;
    }
    if (pstView->label == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "label");
        return false;
    }
    LOG_INFO("digicam[%d] staus[%d]\n", (int)s32Cam, (int)s32Status);
    bool bInside = s32Cam == 2;
    const char *pcText = nullptr;
    const char *pcTitle = nullptr;
    const char *pcImg = nullptr;
    switch (s32Status) {
    case 6:
        pcText = bInside ? "LANG_RES_ID_CHANGE_INSIDE_ERROR" : "LANG_RES_ID_CHANGE_DIGICAM_ERROR";
        pcTitle =
            bInside ? "LANG_RES_ID_CHANGE_INSIDE_ERROR_TITLE" : "LANG_RES_ID_CHANGE_DIGICAM_ERROR_TITLE";
        pcImg = bInside ? "home/inside_warning.png" : "home/digicam_warning.png";
        break;
    case 7:
        pcText =
            bInside ? "LANG_RES_ID_CHANGE_INSIDE_STREAM_ERROR" : "LANG_RES_ID_CHANGE_DIGICAM_STREAM_ERROR";
        break;
    case 8:
        pcText = bInside ? "LANG_RES_ID_CHANGE_INSIDE_DEV_ERROR" : "LANG_RES_ID_CHANGE_DIGICAM_DEV_ERROR";
        break;
    case 0:
        pcText = bInside ? "LANG_RES_ID_CHANGE_INSIDE_PLOGOUT" : "LANG_RES_ID_CHANGE_REAR_ERROR";
        pcTitle = bInside ? "LANG_RES_ID_CHANGE_INSIDE_PLOGOUT_TITLE" : "LANG_RES_ID_CHANGE_REAR_ERROR_TITLE";
        pcImg = "home/rear_warning.png";
        break;
    default:
        return false;
    }
    lv_label_set_text_tr(pstView->label, pcText);
    if (pcTitle == nullptr) {
        lv_obj_align(pstView->label, LV_ALIGN_CENTER, 0, -kBarH / 2);
        lv_obj_add_flag(pstView->label_title, LV_OBJ_FLAG_HIDDEN);
        lv_obj_add_flag(pstView->img, LV_OBJ_FLAG_HIDDEN);
        return true;
    }
    lv_obj_align(pstView->label, LV_ALIGN_TOP_MID, 0, kCamTextTop);
    lv_label_set_text_tr(pstView->label_title, pcTitle);
    lv_obj_clear_flag(pstView->label_title, LV_OBJ_FLAG_HIDDEN);
    lv_obj_align_to(pstView->label_title, pstView->label, LV_ALIGN_OUT_BOTTOM_MID, 0, 0);
    SetImg(pstView->img, pcImg);
    lv_obj_clear_flag(pstView->img, LV_OBJ_FLAG_HIDDEN);
    lv_obj_align_to(pstView->img, pstView->label_title, LV_ALIGN_OUT_BOTTOM_MID, 0, 3);
    return true;
}

void SysStateCheck_CreateScreenLockPage(void) {
    State &s = S();
    BackToHomeHandle();
    GeneralSetingInfo stInfo;
    int32_t s32Kind = 0;
    if (SysStateCheck_QueryGeneralSeting(&stInfo) == 0) {
        s32Kind = stInfo.wallpaper;
    }
    (void)s;
    CreateWallpaper(s32Kind == 0 || s32Kind == 1 ? s32Kind : 2);
    RouteKeys();
}

void SysStateCheck_DestroyScreenLockAndFullHourPage(void) {
    State &s = S();
    bool bWall = s.apstObj[SYS_OVERLAY_WALLPAPER] != nullptr;
    if (bWall) {
        LOG_INFO("Destroy screen lock page\n");
    }
    DeleteOverlay(SYS_OVERLAY_WALLPAPER);
    if (s.apstObj[SYS_OVERLAY_FULL_HOUR] != nullptr) {
        DeleteOverlay(SYS_OVERLAY_FULL_HOUR);
        s.bFullHourGone = true;
        s.u32FullHourGoneTick = lv_tick_get();
    }
    RouteKeys();
    if (bWall) {
        BackLastTypeShow();
        SysStateCheck_CtrlScreen("resume");
    }
}
