#include "SysSetingHomeView.h"

#include <string.h>

#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace Page {

void SysSetingHomeView::CreateTiles(lv_obj_t *root, const SetMenu *pstMenu, lv_event_cb_t event_cb,
                                    void *user_data) {
    memset(m_astTiles, 0, sizeof m_astTiles); /* the old tiles' focus events find no tile */
    lv_obj_t *scr = CreateScreen(root);
    m_pstRow = lv_obj_create(scr);
    lv_obj_remove_style_all(m_pstRow);
    lv_obj_set_size(m_pstRow, lv_pct(97), lv_pct(70));
    lv_obj_align(m_pstRow, LV_ALIGN_TOP_MID, 0, 32);
    lv_obj_set_flex_flow(m_pstRow, LV_FLEX_FLOW_ROW);
    lv_obj_set_flex_align(m_pstRow, LV_FLEX_ALIGN_START, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER);
    lv_obj_set_style_pad_left(m_pstRow, 5, LV_PART_MAIN);
    lv_obj_set_style_pad_right(m_pstRow, 5, LV_PART_MAIN);
    lv_obj_set_style_pad_column(m_pstRow, 11, LV_PART_MAIN);
    lv_obj_set_scrollbar_mode(m_pstRow, LV_SCROLLBAR_MODE_OFF);
    uint32_t u32Num = pstMenu->s32ItemNum < (int32_t)kTileNum ? (uint32_t)pstMenu->s32ItemNum : kTileNum;
    if (u32Num <= 4) {
        lv_obj_clear_flag(m_pstRow, LV_OBJ_FLAG_SCROLLABLE);
    }
    lv_group_t *pstGroup = lv_group_get_default();
    for (uint32_t i = 0; i < u32Num; ++i) {
        const SetMenuItem *pstItem = pstMenu->ppstItems[i];
        Tile &t = m_astTiles[i];
        t.btn = lv_obj_create(m_pstRow);
        lv_obj_remove_style_all(t.btn);
        lv_obj_set_size(t.btn, 90, lv_pct(100));
        lv_obj_clear_flag(t.btn, LV_OBJ_FLAG_SCROLLABLE);
        lv_obj_add_flag(t.btn, LV_OBJ_FLAG_CLICKABLE | LV_OBJ_FLAG_SCROLL_ON_FOCUS);
        lv_obj_set_style_radius(t.btn, 12, LV_PART_MAIN);
        lv_obj_set_style_bg_color(t.btn, lv_color_white(), LV_PART_MAIN);
        lv_obj_set_style_bg_opa(t.btn, LV_OPA_TRANSP, LV_PART_MAIN);
        lv_obj_set_style_bg_opa(t.btn, 51, LV_STATE_FOCUSED);
        lv_obj_set_style_img_opa(t.btn, 153, LV_PART_MAIN);
        lv_obj_set_style_img_opa(t.btn, LV_OPA_COVER, LV_STATE_FOCUSED);
        t.img = lv_img_create(t.btn);
        SetImg(t.img, SetMenu_PicPath(pstItem->s32Icon));
        lv_obj_center(t.img);
        t.label = lv_label_create(t.btn);
        lv_obj_add_flag(t.label, LV_OBJ_FLAG_HIDDEN);
        lv_label_set_text_tr(t.label, pstItem->pcLabel);
        lv_obj_add_event_cb(t.btn, event_cb, LV_EVENT_ALL, user_data);
        if (pstGroup != nullptr) {
            lv_group_add_obj(pstGroup, t.btn);
        }
    }
}

int32_t SysSetingHomeView::TileOf(lv_obj_t *obj) const {
    for (uint32_t i = 0; i < kTileNum; ++i) {
        if (obj != nullptr && m_astTiles[i].btn == obj) {
            return (int32_t)i;
        }
    }
    return -1;
}

} // namespace Page
