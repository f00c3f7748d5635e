#include "AlbumCommon.h"

#include <string.h>

#include "key.h"
#include "log.h"
#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace Page {

VYX_UI_Album_FileType_E Album_CategoryFileType(int32_t eCategory) {
    switch (eCategory) {
    case ALBUM_CATEGORY_REC:
        return VYX_UI_ALBUM_REC;
    case ALBUM_CATEGORY_PHOTO:
        return VYX_UI_ALBUM_SNAP_EVENT;
    case ALBUM_CATEGORY_EMR:
        return VYX_UI_ALBUM_EMER_EVENT;
    default:
        return VYX_UI_ALBUM_TYPE_NOT_SET;
    }
}

AlbumSession &Album_Session() {
    static AlbumSession s_stSession;
    return s_stSession;
}

const char *Album_CamBadge(const char *pcName) {
    switch (VYX_UI_ALBUM_GetFileType(pcName)) {
    case VYX_UI_ALBUM_CAM_REAR:
        return "album/rear.png";
    case VYX_UI_ALBUM_CAM_INSIDE:
        return "album/inside.png";
    default:
        return "album/front.png";
    }
}

const char *Album_CamName(const char *pcName) {
    switch (VYX_UI_ALBUM_GetFileType(pcName)) {
    case VYX_UI_ALBUM_CAM_REAR:
        return "rear";
    case VYX_UI_ALBUM_CAM_INSIDE:
        return "inside";
    default:
        return "front";
    }
}

bool Album_IsClip(const char *pcName) {
    return pcName != nullptr && strstr(pcName, ".mp4") != nullptr;
}

bool Album_IsPhoto(const char *pcName) {
    return pcName != nullptr && strstr(pcName, ".jpg") != nullptr;
}

void Album_SetImg(lv_obj_t *img, const char *pcRelPath) {
    if (img != nullptr) {
        lv_img_set_src(img, UI_ResPath(pcRelPath, UI_RES_PIC_ROOT));
    }
}

void Album_SetHidden(lv_obj_t *obj, bool bHidden) {
    if (obj == nullptr) {
        return;
    }
    if (bHidden) {
        lv_obj_add_flag(obj, LV_OBJ_FLAG_HIDDEN);
    } else {
        lv_obj_clear_flag(obj, LV_OBJ_FLAG_HIDDEN);
    }
}

lv_obj_t *Album_CreatePlain(lv_obj_t *parent) {
    lv_obj_t *obj = lv_obj_create(parent);
    lv_obj_remove_style_all(obj);
    lv_obj_clear_flag(obj, LV_OBJ_FLAG_SCROLLABLE);
    return obj;
}

lv_obj_t *Album_CreateLabel(lv_obj_t *parent, uint16_t u16Size, const char *pcFont) {
    lv_obj_t *label = lv_label_create(parent);
    lv_obj_set_style_text_color(label, lv_color_white(), LV_PART_MAIN);
    lv_label_freetype_set_text_normal(label, pcFont != nullptr ? pcFont : SYS_PATH_FONT_BODY, u16Size,
                                      LV_PART_MAIN);
    lv_label_set_text(label, "");
    return label;
}

void Album_SetInheritedFont(lv_obj_t *cont, uint16_t u16Size) {
    lv_obj_set_style_text_color(cont, lv_color_white(), LV_PART_MAIN);
    lv_label_freetype_set_text_normal(cont, SYS_PATH_FONT_BODY, u16Size, LV_PART_MAIN);
}

void AlbumNaviBar::Create(lv_obj_t *parent, const char *pcOkIcon, lv_event_cb_t event_cb, void *user_data) {
    bar = Album_CreatePlain(parent);
    lv_obj_set_size(bar, lv_pct(100), kAlbumNaviBarH);
    lv_obj_align(bar, LV_ALIGN_BOTTOM_MID, 0, 0);
    lv_obj_set_style_bg_color(bar, lv_color_hex(0x1b1f26), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(bar, LV_OPA_COVER, LV_PART_MAIN);
    struct {
        lv_obj_t **ppObj;
        const char *pcIcon;
        int32_t s32Pct;
    } const astImgs[] = {
        {&back, "setmenu/navibar/goback_icon.png", 6},
        {&prev, "setmenu/navibar/lastitem_icon.png", 31},
        {&next, "setmenu/navibar/nextitem_icon.png", 56},
        {&ok, pcOkIcon, 81},
    };
    for (const auto &i : astImgs) {
        lv_obj_t *img = lv_img_create(bar);
        Album_SetImg(img, i.pcIcon);
        lv_obj_align(img, LV_ALIGN_LEFT_MID, lv_pct(i.s32Pct), 0);
        lv_obj_add_flag(img, LV_OBJ_FLAG_CLICKABLE);
        lv_obj_add_event_cb(img, event_cb, LV_EVENT_ALL, user_data);
        *i.ppObj = img;
    }
}

lv_obj_t *AlbumNaviBar::ForKey(uint32_t u32KeyCode) const {
    switch (u32KeyCode) {
    case KEY_CODE_BACK:
        return back;
    case KEY_CODE_PREV:
        return prev;
    case KEY_CODE_NEXT:
        return next;
    case KEY_CODE_OK:
        return ok;
    default:
        return nullptr;
    }
}

/* ---- model base ---- */

int AlbumModelBase::CreateAccount(const char *pcName, std::initializer_list<const char *> subscriptions) {
    Destroy();
    return Create(pcName, subscriptions, onEvent, this);
}

int AlbumModelBase::onEvent(Account *account, Account::EventParam *param) {
    return static_cast<AlbumModelBase *>(account->UserData)->OnAccountEvent(param);
}

int AlbumModelBase::OnAccountEvent(Account::EventParam *param) {
    (void)param;
    return Account::RES_UNSUPPORTED;
}

int AlbumModelBase::CtrlGeneralCtrlItem(int32_t eElem, const char *pcValue) {
    return PageAccount::CtrlGeneralCtrlItem(false, eElem, pcValue);
}

int AlbumModelBase::SetStatusBarTitle(const char *pcTitle, const char *pcFocus, const char *pcFileType) {
    StatusBarMsg stMsg;
    memset(&stMsg, 0, sizeof stMsg);
    stMsg.eCmd = STATUSBAR_CMD_UPDATE_TITLE;
    stMsg.pcTitle = pcTitle;
    stMsg.pcFocus = pcFocus;
    stMsg.pcFileType = pcFileType;
    return CtrlStatusBarItem(&stMsg);
}

} // namespace Page
