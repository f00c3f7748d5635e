// The factory test on the page harness: pushed by the real page manager, keys delivered as the
// recorder's key messages. The key colours, the long press, the busy flag and the status bar.
#include <gtest/gtest.h>

#include <memory>

#include "AppFactory.h"
#include "DataProc.h"
#include "FacTest.h"
#include "StatusBar.h"
#include "key.h"
#include "page_test_env.h"

namespace {

using pagetest::Advance;

uint8_t PageBusy() {
    SystemStatusInfo st;
    IpcMsg_GetSystemStatusInfo(&st, sizeof st);
    return st.bPageBusy;
}

class FacTestTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pagetest::Up("US");
        pagetest::Recorder().Reset();
        if (StatusBar_GetObjs() == nullptr) {
            ASSERT_EQ(StatusBar_Create(lv_layer_top()), 0);
        }
        mgr = std::make_unique<PageManager>(&factory);
        ASSERT_NE(mgr->Install("FacTest", "Pages/FacTest"), nullptr);
        page = static_cast<Page::FacTest *>(mgr->Push("Pages/FacTest"));
        ASSERT_NE(page, nullptr);
        Advance(700);
    }
    void TearDown() override {
        mgr.reset();
        Advance(50);
    }
    // The whole panel is one colour: every pixel but the tolerance of none.
    static size_t Off(uint32_t rgb) {
        pagetest::Refresh();
        return pagetest::CountNot(rgb, 0, 0, pagetest::kW - 1, pagetest::kH - 1);
    }

    AppFactory factory;
    std::unique_ptr<PageManager> mgr;
    Page::FacTest *page = nullptr;
};

TEST_F(FacTestTest, StartsWhiteFullScreenBusyAndWithoutStatusBar) {
    EXPECT_EQ(lv_obj_get_width(page->root), pagetest::kW);
    EXPECT_EQ(lv_obj_get_height(page->root), pagetest::kH);
    EXPECT_EQ(StatusBar_GetShowType(), STATUSBAR_SHOW_NONE);
    EXPECT_EQ(PageBusy(), 1);
    EXPECT_EQ(Off(0xFFFFFF), 0u);
    EXPECT_TRUE(pagetest::MatchesReference(PAGE_TEST_REF_DIR, "factest_white_US"));
}

TEST_F(FacTestTest, EachKeyPaintsItsColour) {
    struct Row {
        uint32_t key;
        uint32_t rgb;
    } const rows[] = {
        {KEY_CODE_OK, 0xFF0000},   {KEY_CODE_NEXT, 0x008000}, {KEY_CODE_PREV, 0x0000FF},
        {KEY_CODE_BACK, 0xFFFF00}, {KEY_CODE_OK, 0xFF0000}, // again after another colour
    };
    for (const Row &r : rows) {
        pagetest::Click(r.key);
        EXPECT_EQ(Off(r.rgb), 0u) << "key " << r.key;
    }
    EXPECT_TRUE(pagetest::MatchesReference(PAGE_TEST_REF_DIR, "factest_red_US"));
}

TEST_F(FacTestTest, LongPressesAndOtherKeysChangeNothing) {
    pagetest::Click(KEY_CODE_NEXT);
    ASSERT_EQ(Off(0x008000), 0u);
    // Held 800 ms or more: no colour.
    pagetest::Key(KEY_CODE_OK, KEY_VALUE_PRESS);
    Advance(800);
    pagetest::Key(KEY_CODE_OK, KEY_VALUE_RELEASE);
    EXPECT_EQ(Off(0x008000), 0u);
    // A press alone paints nothing; the colour comes with the release.
    pagetest::Key(KEY_CODE_PREV, KEY_VALUE_PRESS);
    EXPECT_EQ(Off(0x008000), 0u);
    pagetest::Key(KEY_CODE_PREV, KEY_VALUE_RELEASE);
    EXPECT_EQ(Off(0x0000FF), 0u);
    // Key records the page does not know, given to its callback directly.
    for (uint32_t code : {1u, 4u, 5u, 7u, 99u}) {
        KeyEvtInfo info = {code, KEY_VALUE_PRESS, page};
        Page::FacTest::KeyEventCallBack(&info);
        info.keyvalue = KEY_VALUE_RELEASE;
        Page::FacTest::KeyEventCallBack(&info);
    }
    Page::FacTest::KeyEventCallBack(nullptr);
    KeyEvtInfo noUser = {KEY_CODE_OK, KEY_VALUE_RELEASE, nullptr};
    Page::FacTest::KeyEventCallBack(&noUser);
    EXPECT_EQ(Off(0x0000FF), 0u);
}

TEST_F(FacTestTest, LeavingClearsBusyAndGivesTheKeysBack) {
    ASSERT_NE(mgr->Install("Home", "Pages/Home"), nullptr);
    mgr.reset(); // unloads the page (will disappear, then unload)
    Advance(50);
    EXPECT_EQ(PageBusy(), 0);
    // The keys go nowhere now: a click must not reach the deleted page.
    pagetest::Click(KEY_CODE_OK);
    mgr = std::make_unique<PageManager>(&factory);
}

} // namespace
