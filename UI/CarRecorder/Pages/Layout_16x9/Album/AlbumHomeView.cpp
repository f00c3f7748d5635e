#include "AlbumHomeView.h"

#include "lv_label_ext_func.h"

namespace Page {

namespace {

constexpr uint32_t kTileBg = 0x1b1f26;
constexpr uint32_t kFocusBg = 0x2263d3;

struct TileDef {
    const char *pcTextId;
    const char *pcIcon;
};
const TileDef s_astTiles[AlbumHomeView::kTileNum] = {
    {"LANG_RES_ID_ALBUM_REC_TITLE", "album/home_rec_icon.png"},
    {"LANG_RES_ID_ALBUM_EMR_TITLE", "album/home_emr_icon.png"},
    {"LANG_RES_ID_ALBUM_PHOTO_TITLE", "album/home_photo_icon.png"},
};

} // namespace

void AlbumHomeView::Create(lv_obj_t *root, lv_event_cb_t event_cb, void *user_data) {
    lv_obj_set_size(root, lv_pct(100), lv_pct(100));
    lv_obj_set_style_bg_color(root, lv_color_black(), LV_PART_MAIN);
    lv_obj_set_style_bg_opa(root, LV_OPA_COVER, LV_PART_MAIN);
    lv_obj_clear_flag(root, LV_OBJ_FLAG_SCROLLABLE);

    ui.cont = Album_CreatePlain(root);
    lv_obj_set_size(ui.cont, lv_pct(97), 170 - kAlbumContentY - kAlbumNaviBarH - 4);
    lv_obj_align(ui.cont, LV_ALIGN_TOP_MID, 0, kAlbumContentY + 2);
    lv_obj_set_flex_flow(ui.cont, LV_FLEX_FLOW_ROW);
    lv_obj_set_flex_align(ui.cont, LV_FLEX_ALIGN_SPACE_EVENLY, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER);
    Album_SetInheritedFont(ui.cont, 16);

    /* Chinese texts are short: they sit a little lower, closer to the icon. */
    const int32_t s32LabelY = Lang_CodeContains("CN") ? -4 : -2;
    for (uint32_t i = 0; i < kTileNum; ++i) {
        lv_obj_t *tile = Album_CreatePlain(ui.cont);
        lv_obj_set_size(tile, 98, 94);
        lv_obj_set_style_radius(tile, 10, LV_PART_MAIN);
        lv_obj_set_style_bg_color(tile, lv_color_hex(kTileBg), LV_PART_MAIN);
        lv_obj_set_style_bg_opa(tile, LV_OPA_COVER, LV_PART_MAIN);
        lv_obj_set_style_bg_color(tile, lv_color_hex(kFocusBg), LV_STATE_FOCUSED);
        lv_obj_add_flag(tile, LV_OBJ_FLAG_CLICKABLE);
        lv_obj_add_event_cb(tile, event_cb, LV_EVENT_ALL, user_data);

        lv_obj_t *icon = lv_img_create(tile);
        Album_SetImg(icon, s_astTiles[i].pcIcon);
        lv_obj_align(icon, LV_ALIGN_TOP_MID, 0, 4);
        lv_obj_set_style_img_opa(icon, LV_OPA_70, LV_PART_MAIN);
        lv_obj_set_style_img_opa(icon, LV_OPA_COVER, LV_STATE_FOCUSED);

        lv_obj_t *label = lv_label_create(tile);
        lv_obj_set_width(label, 94);
        lv_label_set_long_mode(label, LV_LABEL_LONG_DOT);
        lv_obj_set_style_text_align(label, LV_TEXT_ALIGN_CENTER, LV_PART_MAIN);
        lv_obj_set_style_text_opa(label, LV_OPA_70, LV_PART_MAIN);
        lv_obj_set_style_text_opa(label, LV_OPA_COVER, LV_STATE_FOCUSED);
        lv_label_set_text_tr(label, s_astTiles[i].pcTextId);
        lv_obj_align(label, LV_ALIGN_BOTTOM_MID, 0, s32LabelY);

        ui.tile[i] = tile;
        ui.icon[i] = icon;
        ui.label[i] = label;
    }
    ui.navi.Create(root, "setmenu/navibar/confirm_icon.png", event_cb, user_data);
}

void AlbumHomeView::Delete() {
    ui = {};
}

void AlbumHomeView::SetFocus(uint32_t u32Index) {
    for (uint32_t i = 0; i < kTileNum; ++i) {
        for (lv_obj_t *obj : {ui.tile[i], ui.icon[i], ui.label[i]}) {
            if (i == u32Index) {
                lv_obj_add_state(obj, LV_STATE_FOCUSED);
            } else {
                lv_obj_clear_state(obj, LV_STATE_FOCUSED);
            }
        }
    }
}

} // namespace Page
