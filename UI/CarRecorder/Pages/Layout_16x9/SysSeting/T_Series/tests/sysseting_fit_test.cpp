// Every settings page of the build in each of the sixteen languages: no text of a list row is cut
// off or runs past the screen, and no text of the other screens runs below them. Every list of
// every page's menu tree and every screen of the reset, more and device-link pages is built and
// each shown label measured: a one-line label must hold its whole text, every label must end
// inside the panel.
#include <algorithm>
#include <functional>
#include <set>

#include "SysSetingAlgorAssist.h"
#include "SysSetingHome.h"
#include "SysSetingKovar.h"
#include "SysSetingMore.h"
#include "SysSetingParking.h"
#include "SysSetingReset.h"
#include "SysSetingSoundSet.h"
#include "sysseting_env.h"

namespace {

using namespace syssettest;

const char *const kLangs[] = {"US", "CN", "TW", "JP", "GE", "FR", "ES", "PT",
                              "RU", "PL", "TU", "AR", "TH", "VN", "HL", "SK"};

// What did not fit, as "LANG page: text (why)".
std::vector<std::string> &Misfits() {
    static std::vector<std::string> v;
    return v;
}

bool Visible(lv_obj_t *obj) {
    for (lv_obj_t *o = obj; o != nullptr; o = lv_obj_get_parent(o)) {
        if (lv_obj_has_flag(o, LV_OBJ_FLAG_HIDDEN)) {
            return false;
        }
    }
    return true;
}

// Checks every shown label below obj; the page's screens end above the navigation bar (bottom).
void CheckLabels(lv_obj_t *obj, const std::string &where, lv_coord_t bottom) {
    if (obj == nullptr || !Visible(obj)) {
        return;
    }
    if (lv_obj_check_type(obj, &lv_label_class)) {
        const char *text = lv_label_get_text(obj);
        if (text != nullptr && text[0] != '\0') {
            lv_area_t a;
            lv_obj_get_coords(obj, &a);
            const lv_label_long_mode_t mode = lv_label_get_long_mode(obj);
            const bool oneLine = mode != LV_LABEL_LONG_WRAP;
            std::string why;
            if (oneLine) {
                lv_point_t size;
                const lv_font_t *font = lv_obj_get_style_text_font(obj, LV_PART_MAIN);
                lv_txt_get_size(&size, text, font, lv_obj_get_style_text_letter_space(obj, LV_PART_MAIN),
                                lv_obj_get_style_text_line_space(obj, LV_PART_MAIN), LV_COORD_MAX,
                                LV_TEXT_FLAG_NONE);
                if (size.x > lv_obj_get_content_width(obj)) {
                    why = "cut off: " + std::to_string(size.x) + " px in " +
                          std::to_string(lv_obj_get_content_width(obj));
                }
            }
            if (why.empty() && (a.x2 >= pagetest::kW || a.x1 < 0)) {
                why = "runs past the screen";
            }
            bool scrolls = false; // a label of a scrolling screen is reached by scrolling
            for (lv_obj_t *o = lv_obj_get_parent(obj); o != nullptr; o = lv_obj_get_parent(o)) {
                scrolls = scrolls || lv_obj_get_scroll_bottom(o) > 0 || lv_obj_get_scroll_top(o) > 0;
            }
            if (why.empty() && !oneLine && !scrolls && a.y2 > bottom) {
                why = "runs below the screen (" + std::to_string(a.y2) + ")";
            }
            if (!why.empty()) {
                Misfits().push_back(where + ": \"" + text + "\" " + why);
            }
        }
    }
    for (uint32_t i = 0; i < lv_obj_get_child_cnt(obj); ++i) {
        CheckLabels(lv_obj_get_child(obj, (int32_t)i), where, bottom);
    }
}

class Fit : public SettingsTest, public ::testing::WithParamInterface<const char *> {
  protected:
    void SetUp() override {
        Start(GetParam());
        for (const auto &p : kMore) {
            ASSERT_NE(mgr->Install(p[0], p[1]), nullptr) << p[0];
        }
        ASSERT_NE(Open<PageBase>("Pages/SysSetingHome"), nullptr);
    }
    void Check(PageBase *page, const std::string &what) {
        lv_obj_update_layout(page->root);
        CheckLabels(page->root, std::string(GetParam()) + " " + what, pagetest::kH - 40);
    }
    // Every list of the tree below menu, built as the page builds it.
    void WalkLists(Page::SysSetingPage *page, SetMenu *menu, std::set<SetMenu *> &seen) {
        if (menu == nullptr || menu->s32ItemNum == 0 || !seen.insert(menu).second) {
            return;
        }
        page->Model.m_pstTopMenu = menu;
        page->CreateListPageHandle(0);
        Advance(50);
        Check(page, page->Name + std::string(" ") + (menu->pcTitle != nullptr ? menu->pcTitle : ""));
        for (int i = 0; i < menu->s32ItemNum; ++i) {
            WalkLists(page, menu->ppstItems[i]->pstSubMenu, seen);
        }
        page->Model.m_pstTopMenu = menu;
    }
    void Close() {
        mgr->Pop();
        Advance(700);
    }
    static constexpr const char *kMore[][2] = {
        {"SysSetingParking", "Pages/SysSetingParking"},
        {"SysSetingAlgorAssist", "Pages/SysSetingAlgorAssist"},
        {"SysSetingMore", "Pages/SysSetingMore"},
        {"SysSetingKovar", "Pages/SysSetingKovar"},
        {"SysSetingReset", "Pages/SysSetingReset"},
    };
};

TEST_P(Fit, EveryRowAndScreenFits) {
    const size_t before = Misfits().size();
    SetSetting("acc_status", 1);
    SetSetting("showLowPower5Level", 1);
    SetSetting("support_4gnet_test", 1);
    SetSettingText("parking_mode_option", "timelapse_aovtimelapse_hibernate_normal");
    // The settings home (its tiles' labels are hidden) and the framework's list pages.
    for (const char *name : {"Pages/SysSetingVideoSet", "Pages/SysSetingSysSet", "Pages/SysSetingSoundSet",
                             "Pages/SysSetingScreenSet", "Pages/SysSetingParking",
                             "Pages/SysSetingAlgorAssist", "Pages/SysSetingMore"}) {
        auto *page = Open<Page::SysSetingPage>(name);
        ASSERT_NE(page, nullptr) << name;
        std::set<SetMenu *> seen;
        SetMenu *root = page->m_pstRootMenu;
        WalkLists(page, root, seen);
        page->Model.m_pstTopMenu = root;
        page->CreateListPageHandle(0);
        Close();
    }
    // The parking page without the ACC line.
    SetSetting("acc_status", 0);
    {
        auto *page = Open<Page::SysSetingParking>("Pages/SysSetingParking");
        Check(page, "Parking (no ACC)");
        Close();
    }
    // The more page's screens, opened with the keys.
    {
        auto *page = Open<Page::SysSetingMore>("Pages/SysSetingMore");
        const struct {
            std::vector<uint32_t> keys;
            const char *what;
        } screens[] = {
            {{KEY_CODE_OK}, "More update"},
            {{KEY_CODE_BACK, KEY_CODE_NEXT, KEY_CODE_OK}, "More about"},
            {{KEY_CODE_BACK, KEY_CODE_NEXT, KEY_CODE_NEXT, KEY_CODE_OK, KEY_CODE_OK}, "More 4G service"},
            {{KEY_CODE_BACK, KEY_CODE_NEXT, KEY_CODE_OK}, "More 4G check"},
        };
        for (const auto &s : screens) {
            for (uint32_t k : s.keys) {
                Press(k);
                Advance(450);
            }
            Check(page, s.what);
        }
        Close();
    }
    // The reset page's screens.
    {
        auto *page = Open<Page::SysSetingReset>("Pages/SysSetingReset");
        Check(page, "Reset main");
        const std::pair<const char *, std::function<void()>> screens[] = {
            {"reset ask", [&] { page->View.CreateResetAskPage(page->root); }},
            {"reset done", [&] { page->View.CreateResetOkPage(page->root); }},
            {"format ask", [&] { page->View.CreateFormatAskPage(page->root, 0); }},
            {"format ask (internal)", [&] { page->View.CreateFormatAskPage(page->root, 1); }},
            {"formatting", [&] { page->View.CreateFormatingPage(page->root, 0); }},
            {"format success", [&] { page->View.CreateFormatSuccessPage(page->root, 0); }},
            {"format failure", [&] { page->View.CreateFormatFailPage(page->root, 0); }},
        };
        for (const auto &s : screens) {
            s.second();
            Advance(50);
            Check(page, std::string("Reset ") + s.first);
        }
        page->CreateMainPageHandle(0);
        Close();
    }
    // The device-link page's screens.
    {
        auto *page = Open<Page::SysSetingKovar>("Pages/SysSetingKovar");
        Check(page, "Kovar main");
        page->m_stView.CreateMainScreen(page->root, true, "Rear link(VR-K1)", Page::SysSetingPage::onEvent,
                                        page);
        Advance(50);
        Check(page, "Kovar main (linked)");
        const char *asks[] = {"LANG_RES_ID_KOVAR_UNBIND_ASK_CONTENT",
                              "LANG_RES_ID_KOVAR_STOP_BINDING_ASK_CONTENT"};
        for (const char *id : asks) {
            page->m_stView.CreateAskScreen(page->root, id);
            Advance(50);
            Check(page, std::string("Kovar ") + id);
        }
        page->CreateBindingPageHandle();
        Advance(50);
        Check(page, "Kovar pairing");
        for (bool ok : {true, false}) {
            page->m_stView.CreateResultScreen(page->root, ok);
            Advance(50);
            Check(page, ok ? "Kovar paired" : "Kovar pairing failed");
        }
        Close();
    }
    // Every text must fit. The one exception is the date format a time-format row shows as its
    // value: no row leaves that much room beside its label, so the label stays whole and the
    // format ends in dots; its option list, walked above, shows each format whole.
    size_t shortened = 0;
    for (size_t i = before; i < Misfits().size(); ++i) {
        const std::string &m = Misfits()[i];
        const bool bDateFormat = m.find("LANG_RES_ID_TIME_SET: \"") != std::string::npos &&
                                 m.find("YYYY") != std::string::npos &&
                                 m.find("\" cut off") != std::string::npos;
        if (bDateFormat) {
            ++shortened;
        } else {
            ADD_FAILURE() << m;
        }
    }
    RecordProperty("date_formats_in_dots", (int)shortened);
}

INSTANTIATE_TEST_SUITE_P(Languages, Fit, ::testing::ValuesIn(kLangs));

} // namespace
