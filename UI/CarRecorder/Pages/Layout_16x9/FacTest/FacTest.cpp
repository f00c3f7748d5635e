#include "FacTest.h"

#include "StatusBar.h"
#include "log.h"

namespace Page {

FacTest::FacTest()
    : m_stBack(lv_color_hex(kColorBack)), m_stPrev(lv_color_hex(kColorPrev)),
      m_stNext(lv_color_hex(kColorNext)), m_stOk(lv_color_hex(kColorOk)) {}

FacTest::~FacTest() {
    Model.Deinit();
}

void FacTest::onAttrConfig() {
    SetLoadAnim(PageManager::LOAD_ANIM_GLOBAL, 500, lv_anim_path_ease_out);
}

void FacTest::onViewLoad() {
    Model.Init();
    View.CreateScreenTest(root);
}

void FacTest::onViewDidLoad() {
    StatusBar_ShowType(STATUSBAR_SHOW_NONE);
    Model.CtrlStatusBarTitleIsNull();
}

void FacTest::onViewWillAppear() {
    /* Busy: the automatic return to the home page stays away while the test runs. */
    Model.SetPageBusy(true);
}

void FacTest::onViewDidAppear() {
    Key_SetEventCallback(KeyEventCallBack, this);
}

void FacTest::onViewWillDisappear() {
    Key_SetEventCallback(nullptr, nullptr);
    Model.SetPageBusy(false);
}

void FacTest::onViewDidUnload() {
    Model.Deinit();
    View.Delete();
}

void FacTest::KeyEventCallBack(KeyEvtInfo *pstEvtInfo) {
    if (!Key_PageCheckInfo(pstEvtInfo)) {
        return;
    }
    FacTest *self = static_cast<FacTest *>(pstEvtInfo->pcUserDate);
    const lv_color_t *pstColor = nullptr;
    switch (pstEvtInfo->keycode) {
    case KEY_CODE_OK:
        pstColor = &self->m_stOk;
        break;
    case KEY_CODE_NEXT:
        pstColor = &self->m_stNext;
        break;
    case KEY_CODE_PREV:
        pstColor = &self->m_stPrev;
        break;
    case KEY_CODE_BACK:
        pstColor = &self->m_stBack;
        break;
    default:
        return;
    }
    /* Only a short press paints: a key held 800 ms or more changes nothing. */
    if (Key_PageTrack(pstEvtInfo->keyvalue, &self->m_u32PressTick) == KEY_PAGE_SHORT_CLICK) {
        self->View.SetColor(*pstColor);
    }
}

} // namespace Page
