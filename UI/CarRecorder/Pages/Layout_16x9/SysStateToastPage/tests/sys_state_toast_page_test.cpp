// The system toast page pushed with each argument: what it shows, its keys and buttons, the
// camera notices that refresh or close it, and its reference pictures in three languages.
#include "SysStateToastPage.h"
#include "sys_state_test_fixture.h"

namespace sysstatetest {

namespace {

class ToastPageTest : public SysStateCheckTest {
  protected:
    Page::SysStateToastPage *Push(uint8_t u8Type) {
        PageBase::Stash_t stash = {&u8Type, 1};
        auto *page = static_cast<Page::SysStateToastPage *>(Mgr()->Push("Pages/SysStateToastPage", &stash));
        Advance(700); /* the load animation; the keys come with the appearance */
        return page;
    }
    static bool Visible(lv_obj_t *obj) { return obj != nullptr && !lv_obj_has_flag(obj, LV_OBJ_FLAG_HIDDEN); }
};

} // namespace

TEST_F(ToastPageTest, FormatReminderCountsDaysAndLeadsToTheResetPage) {
    SetSetting("format_ontime", 7);
    Page::SysStateToastPage *page = Push(5);
    ASSERT_NE(page, nullptr);
    std::string title = lv_label_get_text(page->View.ui.label_title);
    EXPECT_EQ(title, Tr("LANG_RES_ID_FORMAT_ONTIME_REMINDER_TITLE_1") + " 7 " +
                         Tr("LANG_RES_ID_FORMAT_ONTIME_REMINDER_TITLE_2"));
    EXPECT_TRUE(HasText(page->root, "LANG_RES_ID_FORMAT_ONTIME_REMINDER_TIP"));
    pagetest::Click(KEY_CODE_NEXT); /* hidden button: nothing */
    EXPECT_STREQ(TopPage(), "Pages/SysStateToastPage");
    pagetest::Click(KEY_CODE_OK);
    Advance(700);
    ASSERT_STREQ(TopPage(), "Pages/SysSetingReset");
    uint8_t u8Arg = 0;
    EXPECT_TRUE(Mgr()->GetStackTop()->StashRead(&u8Arg, 1));
    EXPECT_EQ(u8Arg, 1);
}

TEST_F(ToastPageTest, BackPopsEveryType) {
    for (uint8_t u8Type : {0, 2, 3, 4, 5, 200}) {
        SCOPED_TRACE((int)u8Type);
        ASSERT_NE(Push(u8Type), nullptr);
        pagetest::Click(KEY_CODE_BACK);
        Advance(700);
        EXPECT_STREQ(TopPage(), "Pages/Home");
    }
}

TEST_F(ToastPageTest, UnsupportedTypeShowsOnlyTheBackButton) {
    Page::SysStateToastPage *page = Push(2);
    EXPECT_FALSE(Visible(page->View.ui.bottom.confirm_obj));
    EXPECT_EQ(page->View.ui.lock, nullptr);
    EXPECT_EQ(page->View.ui.format, nullptr);
    EXPECT_EQ(page->View.ui.digicam_err_toast.obj, nullptr);
    pagetest::Click(KEY_CODE_OK);
    Advance(700);
    EXPECT_STREQ(TopPage(), "Pages/SysStateToastPage");
}

TEST_F(ToastPageTest, RearCameraPageFollowsTheCameraAndClosesWhenItIsBack) {
    Send("digicam_rear_status", 6);
    SysStateCheck_Deinit(); /* the page alone, without the supervision's own error page */
    Page::SysStateToastPage *page = Push(3);
    const SysStateDigiCamView &v = page->View.ui.digicam_err_toast;
    EXPECT_EQ(std::string(lv_label_get_text(v.label)), Tr("LANG_RES_ID_CHANGE_DIGICAM_ERROR"));
    EXPECT_TRUE(Visible(v.label_title));
    EXPECT_EQ(ImgFile(v.img), "home/digicam_warning.png");
    Send("digicam_rear_status", 8);
    EXPECT_EQ(std::string(lv_label_get_text(v.label)), Tr("LANG_RES_ID_CHANGE_DIGICAM_DEV_ERROR"));
    EXPECT_FALSE(Visible(v.label_title));
    EXPECT_FALSE(Visible(v.img));
    Send("digicam_rear_status", 3);
    Advance(700);
    EXPECT_STREQ(TopPage(), "Pages/Home");
    ASSERT_EQ(SysStateCheck_Init(Mgr()), 0);
}

TEST_F(ToastPageTest, InsideCameraPageFollowsTheInsideCamera) {
    Send("digicam_inside_status", 0);
    SysStateCheck_Deinit();
    Page::SysStateToastPage *page = Push(4);
    const SysStateDigiCamView &v = page->View.ui.digicam_err_toast;
    EXPECT_EQ(std::string(lv_label_get_text(v.label)), Tr("LANG_RES_ID_CHANGE_INSIDE_PLOGOUT"));
    Send("digicam_inside_status", 7);
    EXPECT_EQ(std::string(lv_label_get_text(v.label)), Tr("LANG_RES_ID_CHANGE_INSIDE_STREAM_ERROR"));
    pagetest::Click(KEY_CODE_OK); /* confirm closes the camera pages */
    Advance(700);
    EXPECT_STREQ(TopPage(), "Pages/Home");
    ASSERT_EQ(SysStateCheck_Init(Mgr()), 0);
}

TEST_F(ToastPageTest, Screens) {
    bool bFirst = true;
    for (const char *lang : {"US", "CN", "GE"}) {
        for (uint8_t u8Type : {0, 3, 4, 5}) {
            std::string name = "toast_page_" + std::to_string(u8Type) + "_" + lang;
            SCOPED_TRACE(name);
            if (!bFirst) {
                Restart();
            }
            bFirst = false;
            Lang_SetCode(lang);
            SetSetting("format_ontime", 30);
            Send("digicam_rear_status", 6);
            Send("digicam_inside_status", 0);
            SysStateCheck_Deinit(); /* the page alone */
            Advance(50);
            ASSERT_NE(Push(u8Type), nullptr);
            DrainTips();
            pagetest::Refresh();
            EXPECT_TRUE(pagetest::MatchesReference(PAGE_TEST_REF_DIR, name));
            pagetest::Click(KEY_CODE_BACK);
            Advance(700);
        }
    }
}

} // namespace sysstatetest
