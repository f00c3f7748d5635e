/*
 * The factory test: the whole screen in one colour that changes with each key, so that an
 * operator on the production line can check every key and the display's colours. System state
 * supervision pushes it when the recorder reports "test_screenkey" non-zero and pops it when the
 * item returns to zero. Installed as "FacTest", pushed as "Pages/FacTest".
 */
#ifndef FAC_TEST_H
#define FAC_TEST_H

#include <stdint.h>

#include "FacTestModel.h"
#include "FacTestView.h"
#include "PageManager.h"
#include "key.h"

namespace Page {

class FacTest : public PageBase {
  public:
    /* The colour of each key (RGB). */
    static constexpr uint32_t kColorBack = 0xFFFF00; /* yellow */
    static constexpr uint32_t kColorPrev = 0x0000FF; /* blue */
    static constexpr uint32_t kColorNext = 0x008000; /* green */
    static constexpr uint32_t kColorOk = 0xFF0000;   /* red */

    FacTest();
    ~FacTest() override;

    void onAttrConfig() override;
    void onViewLoad() override;
    void onViewDidLoad() override;
    void onViewWillAppear() override;
    void onViewDidAppear() override;
    void onViewWillDisappear() override;
    void onViewDidUnload() override;

    static void KeyEventCallBack(KeyEvtInfo *pstEvtInfo);

    FacTestView View;
    FacTestModel Model;

  private:
    lv_color_t m_stBack;
    lv_color_t m_stPrev;
    lv_color_t m_stNext;
    lv_color_t m_stOk;
    uint32_t m_u32PressTick = 0;
};

} // namespace Page

#endif /* FAC_TEST_H */
