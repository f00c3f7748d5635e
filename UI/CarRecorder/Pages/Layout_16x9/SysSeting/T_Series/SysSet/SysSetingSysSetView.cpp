#include "SysSetingSysSetView.h"

#include <stdio.h>
#include <string.h>

#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace Page {

namespace {

constexpr uint16_t kFieldFont = 30;

lv_obj_t *Line(lv_obj_t *parent, lv_coord_t y) {
    lv_obj_t *row = lv_obj_create(parent);
    lv_obj_remove_style_all(row);
    lv_obj_set_size(row, lv_pct(100), 44);
    lv_obj_align(row, LV_ALIGN_TOP_MID, 0, y);
    lv_obj_clear_flag(row, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_set_flex_flow(row, LV_FLEX_FLOW_ROW);
    lv_obj_set_flex_align(row, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_CENTER);
    lv_obj_set_style_pad_column(row, 2, LV_PART_MAIN);
    return row;
}

lv_obj_t *Text(lv_obj_t *parent, const char *pcText, bool bField) {
    lv_obj_t *label = lv_label_create(parent);
    lv_label_freetype_set_text_normal(label, SYS_PATH_FONT_DIGITS, kFieldFont, LV_PART_MAIN);
    lv_obj_set_style_text_color(label, lv_color_white(), LV_PART_MAIN);
    lv_obj_set_style_text_opa(label, bField ? 178 : 127, LV_PART_MAIN);
    if (bField) {
        lv_obj_set_style_pad_hor(label, 6, LV_PART_MAIN);
        lv_obj_set_style_pad_ver(label, 2, LV_PART_MAIN);
        lv_obj_set_style_radius(label, 8, LV_PART_MAIN);
        lv_obj_set_style_bg_color(label, lv_color_white(), LV_PART_MAIN);
        lv_obj_set_style_bg_opa(label, LV_OPA_TRANSP, LV_PART_MAIN);
        lv_obj_set_style_bg_opa(label, 51, LV_STATE_FOCUSED);
        lv_obj_set_style_text_opa(label, LV_OPA_COVER, LV_STATE_FOCUSED);
    }
    lv_label_set_text(label, pcText);
    return label;
}

} // namespace

void SysSetingSysSetView::CreateSetDateTimePage(lv_obj_t *root) {
    lv_obj_t *scr = CreateScreen(root);
    m_pstEditor = scr;
    using M = SysSetingSysSetModel;
    lv_obj_t *date = Line(scr, 38);
    m_apstField[M::DT_YEAR] = Text(date, "", true);
    Text(date, "-", false);
    m_apstField[M::DT_MONTH] = Text(date, "", true);
    Text(date, "-", false);
    m_apstField[M::DT_DAY] = Text(date, "", true);
    lv_obj_t *time = Line(scr, 84);
    m_apstField[M::DT_HOUR] = Text(time, "", true);
    Text(time, ":", false);
    m_apstField[M::DT_MINUTE] = Text(time, "", true);
    Text(time, ":", false);
    m_apstField[M::DT_SECOND] = Text(time, "", true);
    m_apstField[M::DT_AMPM] = Text(time, "", true);
}

void SysSetingSysSetView::SetDateTimePageItemRefresh(const SysSetingSysSetModel::DateTimeEdit &e,
                                                     uint32_t u32Field) {
    using M = SysSetingSysSetModel;
    if (m_pstEditor == nullptr || m_pstEditor != ui.cur_bg) {
        return; /* the editor is not on screen */
    }
    const uint32_t au32Values[M::DT_AMPM] = {e.u32Year, e.u32Month,  e.u32Day,
                                             e.u32Hour, e.u32Minute, e.u32Second};
    for (uint32_t i = 0; i < M::DT_FIELD_NUM; ++i) {
        lv_obj_t *label = m_apstField[i];
        if (label == nullptr) {
            continue;
        }
        char szText[8];
        if (i == M::DT_AMPM) {
            snprintf(szText, sizeof szText, "%s", e.bPm ? "PM" : "AM");
            SetHidden(label, !e.b12Hour);
        } else {
            snprintf(szText, sizeof szText, i == M::DT_YEAR ? "%04u" : "%02u", (unsigned)au32Values[i]);
        }
        if (strcmp(lv_label_get_text(label), szText) != 0) {
            lv_label_set_text(label, szText);
        }
        if (i == u32Field) {
            lv_obj_add_state(label, LV_STATE_FOCUSED);
        } else {
            lv_obj_clear_state(label, LV_STATE_FOCUSED);
        }
    }
}

} // namespace Page
