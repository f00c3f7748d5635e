#include "AlbumPlayerView.h"

#include <stdio.h>
#include <string.h>

#include "log.h"
#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace Page {

void AlbumPlayerView::Create(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data) {
    m_root = root;
    lv_obj_set_size(root, lv_pct(100), lv_pct(100));
    lv_obj_set_style_bg_opa(root, LV_OPA_TRANSP, LV_PART_MAIN);
    lv_obj_clear_flag(root, LV_OBJ_FLAG_SCROLLABLE);

    ui.photo = lv_img_create(root);
    lv_obj_align(ui.photo, LV_ALIGN_CENTER, 0, 0);
    Album_SetHidden(ui.photo, true);

    ui.navi.Create(root, "setmenu/navibar/navibar_album_play_icon.png", event_cb, user_data);

    ui.progress = Album_CreateLabel(root, 22, SYS_PATH_FONT_DIGITS);
    lv_obj_set_style_bg_color(ui.progress, lv_color_black(), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(ui.progress, LV_OPA_50, LV_PART_MAIN);
    lv_obj_set_style_pad_left(ui.progress, 4, LV_PART_MAIN);
    lv_obj_set_style_pad_right(ui.progress, 4, LV_PART_MAIN);
    lv_obj_set_style_radius(ui.progress, 4, LV_PART_MAIN);
    lv_obj_align(ui.progress, LV_ALIGN_BOTTOM_RIGHT, -4, -kAlbumNaviBarH - 4);
    Album_SetHidden(ui.progress, true);
}

void AlbumPlayerView::Delete() {
    ui = {};
    m_root = nullptr;
    m_au8Photo.clear();
    m_au8Photo.shrink_to_fit();
}

bool AlbumPlayerView::ShowPhoto(const char *pcBitmapPath) {
    constexpr size_t kSrcW = VYX_UI_ALBUM_PHOTO_WIDTH, kSrcH = VYX_UI_ALBUM_PHOTO_HEIGHT;
    std::vector<uint8_t> au8Src(kSrcW * kSrcH * 4);
    FILE *fp = fopen(pcBitmapPath, "rb");
    size_t u32Read = 0;
    char cExtra = 0;
    bool bExact = false;
    if (fp != nullptr) {
        u32Read = fread(au8Src.data(), 1, au8Src.size(), fp);
        bExact = u32Read == au8Src.size() && fread(&cExtra, 1, 1, fp) == 0;
        fclose(fp);
    }
    if (!bExact) {
        LOG_ERROR("photo bitmap %s is not %ux%u RGBA\n", pcBitmapPath, (unsigned)kSrcW, (unsigned)kSrcH);
        HidePhoto();
        return false;
    }
    /* Each picture pixel is the mean of a 2 x 2 block, in LVGL's blue, green, red, alpha order. */
    m_au8Photo.assign((size_t)kPhotoW * kPhotoH * 4, 0);
    for (size_t y = 0; y < (size_t)kPhotoH; ++y) {
        for (size_t x = 0; x < (size_t)kPhotoW; ++x) {
            uint32_t au32Sum[3] = {0, 0, 0};
            for (size_t dy = 0; dy < 2; ++dy) {
                for (size_t dx = 0; dx < 2; ++dx) {
                    const uint8_t *p = &au8Src[((y * 2 + dy) * kSrcW + x * 2 + dx) * 4];
                    au32Sum[0] += p[0];
                    au32Sum[1] += p[1];
                    au32Sum[2] += p[2];
                }
            }
            uint8_t *q = &m_au8Photo[(y * kPhotoW + x) * 4];
            q[0] = (uint8_t)(au32Sum[2] / 4);
            q[1] = (uint8_t)(au32Sum[1] / 4);
            q[2] = (uint8_t)(au32Sum[0] / 4);
            q[3] = 0xFF;
        }
    }
    m_stPhoto.header.always_zero = 0;
    m_stPhoto.header.cf = LV_IMG_CF_TRUE_COLOR_ALPHA;
    m_stPhoto.header.w = kPhotoW;
    m_stPhoto.header.h = kPhotoH;
    m_stPhoto.data_size = (uint32_t)m_au8Photo.size();
    m_stPhoto.data = m_au8Photo.data();
    lv_img_cache_invalidate_src(&m_stPhoto);
    lv_img_set_src(ui.photo, &m_stPhoto);
    lv_obj_invalidate(ui.photo);
    Album_SetHidden(ui.photo, false);
    return true;
}

void AlbumPlayerView::HidePhoto() {
    Album_SetHidden(ui.photo, true);
}

void AlbumPlayerView::SetProgress(uint32_t u32PlayedS, uint32_t u32TotalS) {
    char szText[32];
    if (u32TotalS > 0) {
        snprintf(szText, sizeof szText, "%02d:%02d/%02d:%02d", (int)(u32PlayedS / 60), (int)(u32PlayedS % 60),
                 (int)(u32TotalS / 60), (int)(u32TotalS % 60));
    } else {
        /* No length known (recordings): the played time only. */
        snprintf(szText, sizeof szText, "%02d:%02d/--:--", (int)(u32PlayedS / 60), (int)(u32PlayedS % 60));
    }
    if (strcmp(lv_label_get_text(ui.progress), szText) != 0) {
        lv_label_set_text(ui.progress, szText);
    }
}

void AlbumPlayerView::CreateDelFileTitlePage(const char *pcTitle) {
    if (ui.del_page != nullptr) {
        RefrashDelRalatedFilePageTitle(pcTitle);
        return;
    }
    lv_obj_t *page = Album_CreatePlain(m_root);
    lv_obj_set_size(page, lv_pct(100), 170 - kAlbumContentY - kAlbumNaviBarH);
    lv_obj_align(page, LV_ALIGN_TOP_MID, 0, kAlbumContentY);
    lv_obj_set_style_bg_color(page, lv_color_hex(0x15191f), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(page, LV_OPA_90, LV_PART_MAIN);
    lv_obj_t *icon = lv_img_create(page);
    Album_SetImg(icon, "album/del_icon.png");
    lv_obj_align(icon, LV_ALIGN_TOP_MID, 0, 8);
    ui.del_title = Album_CreateLabel(page, 20);
    lv_obj_set_width(ui.del_title, lv_pct(90));
    lv_label_set_long_mode(ui.del_title, LV_LABEL_LONG_WRAP);
    lv_obj_set_style_text_align(ui.del_title, LV_TEXT_ALIGN_CENTER, LV_PART_MAIN);
    lv_obj_align(ui.del_title, LV_ALIGN_TOP_MID, 0, 46);
    ui.del_page = page;
    RefrashDelRalatedFilePageTitle(pcTitle);
    Album_SetHidden(ui.progress, true);
    /* The navigation bar turns into cancel and confirm. */
    Album_SetHidden(ui.navi.prev, true);
    Album_SetHidden(ui.navi.next, true);
    Album_SetImg(ui.navi.ok, "setmenu/navibar/confirm_icon.png");
    Album_SetHidden(ui.navi.ok, false);
}

void AlbumPlayerView::DeleteDelFileTitlePage() {
    if (ui.del_page == nullptr) {
        return;
    }
    lv_obj_del(ui.del_page);
    ui.del_page = nullptr;
    ui.del_title = nullptr;
}

void AlbumPlayerView::RefrashDelRalatedFilePageTitle(const char *pcTitle) {
    if (ui.del_title != nullptr) {
        lv_label_set_text(ui.del_title, pcTitle);
    }
}

} // namespace Page
