#include "AlbumFileListView.h"

#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "log.h"
#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace Page {

namespace {

constexpr uint32_t kRowBg = 0x1b1f26;
constexpr uint32_t kFocusColor = 0x2263d3;
constexpr int32_t kRowH = 32;
constexpr int32_t kContH = 170 - kAlbumContentY - kAlbumNaviBarH;

lv_obj_t *CreateCont(lv_obj_t *root) {
    lv_obj_t *cont = lv_obj_create(root);
    lv_obj_remove_style_all(cont);
    lv_obj_set_size(cont, lv_pct(100), kContH);
    lv_obj_align(cont, LV_ALIGN_TOP_MID, 0, kAlbumContentY);
    lv_obj_set_style_pad_all(cont, 4, LV_PART_MAIN);
    lv_obj_set_style_pad_row(cont, 4, LV_PART_MAIN);
    lv_obj_set_style_pad_column(cont, 8, LV_PART_MAIN);
    lv_obj_set_scrollbar_mode(cont, LV_SCROLLBAR_MODE_OFF);
    return cont;
}

/* A small label with a dark backing, for texts laid over a thumbnail. */
lv_obj_t *CreateOverlayText(lv_obj_t *parent, const char *pcText, lv_align_t eAlign, int32_t s32X,
                            int32_t s32Y) {
    lv_obj_t *label = lv_label_create(parent);
    lv_obj_set_style_bg_color(label, lv_color_black(), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(label, LV_OPA_50, LV_PART_MAIN);
    lv_obj_set_style_pad_left(label, 3, LV_PART_MAIN);
    lv_obj_set_style_pad_right(label, 3, LV_PART_MAIN);
    lv_obj_set_style_radius(label, 3, LV_PART_MAIN);
    lv_label_set_text(label, pcText);
    lv_obj_align(label, eAlign, s32X, s32Y);
    return label;
}

} // namespace

void AlbumFileListView::Create(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data) {
    lv_obj_set_size(root, lv_pct(100), lv_pct(100));
    lv_obj_set_style_bg_color(root, lv_color_black(), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(root, LV_OPA_COVER, LV_PART_MAIN);
    lv_obj_clear_flag(root, LV_OBJ_FLAG_SCROLLABLE);

    ui.main_cont = CreateCont(root);
    lv_obj_set_flex_flow(ui.main_cont, LV_FLEX_FLOW_COLUMN);
    Album_SetInheritedFont(ui.main_cont, 18);
    ui.sub_cont = CreateCont(root);
    Album_SetInheritedFont(ui.sub_cont, 14);
    lv_obj_set_flex_flow(ui.sub_cont, LV_FLEX_FLOW_ROW_WRAP);
    lv_obj_set_flex_align(ui.sub_cont, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_START, LV_FLEX_ALIGN_START);
    Album_SetHidden(ui.sub_cont, true);
    ui.navi.Create(root, "setmenu/navibar/confirm_icon.png", event_cb, user_data);
}

void AlbumFileListView::Delete() {
    ui = {};
}

void AlbumFileListView::CreateMainPage(const std::vector<AlbumMainItem> &astItems, lv_event_cb_t event_cb,
                                       void *user_data) {
    lv_obj_clean(ui.main_cont);
    for (const AlbumMainItem &stItem : astItems) {
        lv_obj_t *row = Album_CreatePlain(ui.main_cont);
        lv_obj_set_size(row, lv_pct(100), kRowH);
        lv_obj_set_style_radius(row, 6, LV_PART_MAIN);
        lv_obj_set_style_bg_color(row, lv_color_hex(kRowBg), LV_PART_MAIN);
        lv_obj_set_style_bg_opa(row, LV_OPA_COVER, LV_PART_MAIN);
        lv_obj_set_style_bg_color(row, lv_color_hex(kFocusColor), LV_STATE_FOCUSED);
        lv_obj_add_flag(row, LV_OBJ_FLAG_CLICKABLE);
        lv_obj_add_event_cb(row, event_cb, LV_EVENT_ALL, user_data);

        lv_obj_t *icon = lv_img_create(row);
        Album_SetImg(icon, "album/file.png");
        lv_obj_align(icon, LV_ALIGN_LEFT_MID, 6, 0);

        char szText[3 * VYX_UI_ALBUM_GROUP_TEXT + 4];
        snprintf(szText, sizeof szText, "%s %s-%s", stItem.szDate, stItem.szStart, stItem.szEnd);
        lv_obj_t *time = lv_label_create(row);
        lv_label_set_text(time, szText);
        lv_obj_align(time, LV_ALIGN_LEFT_MID, 42, 0);

        char szCount[16];
        snprintf(szCount, sizeof szCount, "(%d)", (int)stItem.u32FileCount);
        lv_obj_t *count = lv_label_create(row);
        lv_label_set_text(count, szCount);
        lv_obj_align(count, LV_ALIGN_RIGHT_MID, -8, 0);
    }
}

void AlbumFileListView::CreateSubPage() {
    lv_obj_clean(ui.sub_cont);
    lv_obj_scroll_to_y(ui.sub_cont, 0, LV_ANIM_OFF);
}

lv_obj_t *AlbumFileListView::CreateSubPageThumbItem(AlbumSubItem &stItem, lv_event_cb_t event_cb,
                                                    void *user_data) {
    lv_obj_t *item = Album_CreatePlain(ui.sub_cont);
    lv_obj_set_size(item, kThumbW, kThumbH);
    lv_obj_set_style_bg_color(item, lv_color_hex(kRowBg), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(item, LV_OPA_COVER, LV_PART_MAIN);
    lv_obj_set_style_outline_color(item, lv_color_hex(kFocusColor), LV_PART_MAIN);
    lv_obj_set_style_outline_width(item, 0, LV_PART_MAIN);
    lv_obj_set_style_outline_width(item, 3, LV_STATE_FOCUSED);
    lv_obj_add_flag(item, LV_OBJ_FLAG_CLICKABLE);
    lv_obj_add_event_cb(item, event_cb, LV_EVENT_ALL, user_data);

    /* The picture goes first so that the badge and the texts lie over it. */
    stItem.img = lv_img_create(item);
    lv_obj_align(stItem.img, LV_ALIGN_TOP_LEFT, 0, 0);

    const char *pcName = stItem.stEntry.szFileName;
    lv_obj_t *badge = lv_img_create(item);
    Album_SetImg(badge, Album_CamBadge(pcName));
    lv_obj_align(badge, LV_ALIGN_TOP_LEFT, 3, 3);

    char szTime[16];
    AlbumFileListModel::GetFileTimeInfo(stItem.stEntry, szTime, sizeof szTime);
    CreateOverlayText(item, szTime, LV_ALIGN_BOTTOM_LEFT, 3, -3);
    if (Album_IsPhoto(pcName)) {
        lv_obj_t *pic = lv_img_create(item);
        Album_SetImg(pic, "album/pic.png");
        lv_obj_align(pic, LV_ALIGN_TOP_RIGHT, -3, 3);
    } else if (stItem.u32Duration > 0) {
        char szDur[16];
        snprintf(szDur, sizeof szDur, "%02u:%02u", (unsigned)(stItem.u32Duration / 60),
                 (unsigned)(stItem.u32Duration % 60));
        CreateOverlayText(item, szDur, LV_ALIGN_BOTTOM_RIGHT, -3, -3);
    }
    stItem.item = item;
    return item;
}

bool AlbumFileListView::CreateSubPageThumbImg(AlbumSubItem &stItem, const char *pcThumbPath) {
    if (stItem.img == nullptr) {
        return false;
    }
    if (access(pcThumbPath, F_OK) != 0) {
        LOG_WARN("Not found szThumbName:%s\n", pcThumbPath);
        return false;
    }
    /* LVGL's '/' drive starts at the system root: the path is given below it. */
    const size_t u32Root = strlen(SYS_PATH(""));
    const char *pcDevPath =
        strncmp(pcThumbPath, SYS_PATH(""), u32Root) == 0 ? pcThumbPath + u32Root : pcThumbPath;
    char szSrc[300];
    snprintf(szSrc, sizeof szSrc, "/:%s", pcDevPath);
    /* A file that is not a readable picture leaves the item without one. */
    lv_img_header_t stHeader;
    if (lv_img_decoder_get_info(szSrc, &stHeader) != LV_RES_OK || stHeader.w == 0 || stHeader.h == 0) {
        LOG_WARN("thumb %s is not a picture\n", pcThumbPath);
        return false;
    }
    lv_img_set_src(stItem.img, szSrc);
    return true;
}

void AlbumFileListView::ShowSub(bool bSub) {
    Album_SetHidden(ui.main_cont, bSub);
    Album_SetHidden(ui.sub_cont, !bSub);
}

void AlbumFileListView::FocusChild(lv_obj_t *cont, uint32_t u32Index) {
    uint32_t u32Num = lv_obj_get_child_cnt(cont);
    for (uint32_t i = 0; i < u32Num; ++i) {
        lv_obj_t *child = lv_obj_get_child(cont, (int32_t)i);
        if (i == u32Index) {
            lv_obj_add_state(child, LV_STATE_FOCUSED);
            lv_obj_scroll_to_view(child, LV_ANIM_OFF);
        } else {
            lv_obj_clear_state(child, LV_STATE_FOCUSED);
        }
    }
}

} // namespace Page
