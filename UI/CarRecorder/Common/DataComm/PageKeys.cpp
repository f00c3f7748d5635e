#include "PageKeys.h"

void PageKeys_Send(const KeyEvtInfo *pstEvtInfo, const PageNavButtons &stButtons, uint32_t *pu32PressTick) {
    lv_obj_t *pstTarget = nullptr;
    switch (pstEvtInfo->keycode) {
    case KEY_CODE_OK:
        pstTarget = stButtons.ok;
        break;
    case KEY_CODE_NEXT:
        pstTarget = stButtons.next;
        break;
    case KEY_CODE_PREV:
        pstTarget = stButtons.prev;
        break;
    case KEY_CODE_BACK:
        pstTarget = stButtons.back;
        break;
    default:
        return;
    }
    if (pstTarget == nullptr || lv_obj_has_flag(pstTarget, LV_OBJ_FLAG_HIDDEN)) {
        return;
    }
    Key_PageSendEvents(pstTarget, pstEvtInfo->keyvalue, pu32PressTick);
}
