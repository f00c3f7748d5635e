/* The system page's widgets: the framework's lists and the date and time editor. */
#ifndef SYS_SETING_SYS_SET_VIEW_H
#define SYS_SETING_SYS_SET_VIEW_H

#include "PagesCommon.h"
#include "SysSetingSysSetModel.h"

namespace Page {

class SysSetingSysSetView : public SysSetingView {
  public:
    /* One label per editor field; the AM/PM label only on a 12-hour clock. */
    lv_obj_t *m_apstField[SysSetingSysSetModel::DT_FIELD_NUM] = {};
    lv_obj_t *m_pstEditor = nullptr; /* the editor's screen while it is the one shown */

    void CreateSetDateTimePage(lv_obj_t *root);
    /* Field texts from the editor, the field being edited highlighted. */
    void SetDateTimePageItemRefresh(const SysSetingSysSetModel::DateTimeEdit &stEdit, uint32_t u32Field);
};

} // namespace Page

#endif /* SYS_SETING_SYS_SET_VIEW_H */
