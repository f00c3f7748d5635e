#include <gtest/gtest.h>

#include <string.h>

#include <list>

#include "PageManager.h"
#include "pm_test_env.h"

using namespace pmtest;
using Strings = std::vector<std::string>;

namespace {

class PageManagerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { LvglUp(); }

    void SetUp() override {
        Journal().clear();
        manager = new PageManager(&factory);
    }

    void TearDown() override {
        delete manager;
        Advance(50); /* lets the asynchronous deletions of page roots run */
        EXPECT_EQ(lv_obj_get_child_cnt(lv_scr_act()), 0u);
    }

    PageBase *InstallPage(const char *name, PageConfig config = PageConfig()) {
        factory.configs[name] = config;
        return manager->Install(name, Keep(name));
    }

    /* Page names are not copied by the manager; keep them alive for the test. */
    const char *Keep(const char *name) {
        names.push_back(std::string("Pages/") + name);
        return names.back().c_str();
    }

    static int32_t X(PageBase *page) {
        lv_obj_update_layout(page->root);
        return lv_obj_get_x(page->root);
    }

    TestFactory factory;
    PageManager *manager = nullptr;
    std::list<std::string> names;
};

TEST_F(PageManagerTest, PushAndPopWithoutAnimation) {
    manager->SetGlobalLoadAnimType(PageManager::LOAD_ANIM_NONE);
    PageBase *a = InstallPage("A");
    PageBase *b = InstallPage("B");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);

    EXPECT_EQ(manager->Push("Pages/A"), a);
    EXPECT_EQ(JournalOf("Pages/A"), Strings({"onViewLoad", "onViewDidLoad", "onViewWillAppear"}));
    EXPECT_EQ(a->priv.State, PageBase::PAGE_STATE_DID_APPEAR);
    Advance(50);
    EXPECT_EQ(a->priv.State, PageBase::PAGE_STATE_ACTIVITY);
    EXPECT_TRUE(a->priv.IsCached);

    Journal().clear();
    EXPECT_EQ(manager->Push("Pages/B"), b);
    Advance(50);
    EXPECT_EQ(JournalOf("Pages/A"), Strings({"onViewWillDisappear", "onViewDidDisappear"}));
    EXPECT_EQ(JournalOf("Pages/B"),
              Strings({"onViewLoad", "onViewDidLoad", "onViewWillAppear", "onViewDidAppear"}));
    /* The covered page keeps its views and waits to reappear. */
    EXPECT_EQ(a->priv.State, PageBase::PAGE_STATE_WILL_APPEAR);
    ASSERT_NE(a->root, nullptr);
    EXPECT_EQ(b->priv.State, PageBase::PAGE_STATE_ACTIVITY);
    EXPECT_EQ(lv_obj_get_child(lv_scr_act(), -1), b->root);
    EXPECT_EQ(manager->GetStackTop(), b);
    EXPECT_EQ(manager->GetStackTopAfter(), a);
    EXPECT_STREQ(manager->GetPagePrevName(), "Pages/B");

    Journal().clear();
    EXPECT_EQ(manager->Pop(), a);
    /* While it leaves, the popped page stays on top of the one coming back. */
    EXPECT_EQ(lv_obj_get_child(lv_scr_act(), -1), b->root);
    Advance(50);
    EXPECT_EQ(JournalOf("Pages/A"), Strings({"onViewWillAppear", "onViewDidAppear"}));
    EXPECT_EQ(JournalOf("Pages/B"),
              Strings({"onViewWillDisappear", "onViewDidDisappear", "onViewDidUnload"}));
    EXPECT_EQ(b->root, nullptr);
    EXPECT_EQ(b->priv.State, PageBase::PAGE_STATE_IDLE);
    EXPECT_EQ(a->priv.State, PageBase::PAGE_STATE_ACTIVITY);
    EXPECT_EQ(lv_obj_get_child_cnt(lv_scr_act()), 1u);

    /* The last page cannot be popped away: it leaves the stack but nothing runs. */
    Journal().clear();
    EXPECT_EQ(manager->Pop(), nullptr);
    Advance(50);
    EXPECT_TRUE(Journal().empty());
    EXPECT_EQ(manager->GetStackTop(), nullptr);
    EXPECT_EQ(a->priv.State, PageBase::PAGE_STATE_ACTIVITY);
    EXPECT_NE(a->root, nullptr);
    EXPECT_EQ(manager->Pop(), nullptr);
}

TEST_F(PageManagerTest, AnimatedSwitchFollowsTicksAndRefusesRequests) {
    PageConfig slide;
    slide.animType = PageManager::LOAD_ANIM_MOVE_LEFT;
    slide.animTime = 300;
    PageBase *a = InstallPage("A", slide);
    PageBase *b = InstallPage("B", slide);
    InstallPage("C", slide);

    manager->Push("Pages/A");
    Advance(400);
    ASSERT_EQ(a->priv.State, PageBase::PAGE_STATE_ACTIVITY);

    manager->Push("Pages/B");
    Advance(150);
    /* Half way: the new page comes in from the right, the old one moves out to the left. */
    EXPECT_GT(X(b), 0);
    EXPECT_LT(X(b), kHor);
    EXPECT_LT(X(a), 0);
    EXPECT_GT(X(a), -kHor);
    EXPECT_EQ(b->priv.State, PageBase::PAGE_STATE_DID_APPEAR);
    EXPECT_EQ(a->priv.State, PageBase::PAGE_STATE_DID_DISAPPEAR);
    EXPECT_TRUE(b->priv.Anim.IsBusy);

    /* A switch in progress refuses every other request and changes nothing. */
    EXPECT_EQ(manager->Push("Pages/C"), nullptr);
    EXPECT_EQ(manager->Pop(), nullptr);
    EXPECT_FALSE(manager->PopToBottom());
    EXPECT_EQ(manager->GetStackTop(), b);
    EXPECT_EQ(manager->FindPageInStack("Pages/C"), nullptr);

    Advance(250);
    EXPECT_EQ(X(b), 0);
    EXPECT_EQ(X(a), -kHor);
    EXPECT_EQ(b->priv.State, PageBase::PAGE_STATE_ACTIVITY);
    EXPECT_FALSE(b->priv.Anim.IsBusy);

    Journal().clear();
    ASSERT_EQ(manager->Pop(), a);
    Advance(150);
    EXPECT_GT(X(a), -kHor);
    EXPECT_LT(X(a), 0);
    EXPECT_GT(X(b), 0);
    Advance(250);
    EXPECT_EQ(X(a), 0);
    EXPECT_EQ(b->root, nullptr);
    EXPECT_EQ(JournalOf("Pages/B"),
              Strings({"onViewWillDisappear", "onViewDidDisappear", "onViewDidUnload"}));
    EXPECT_EQ(JournalOf("Pages/A"), Strings({"onViewWillAppear", "onViewDidAppear"}));
    EXPECT_NE(manager->Push("Pages/C"), nullptr);
}

TEST_F(PageManagerTest, CachingChoices) {
    PageConfig noCache;
    noCache.setCache = true;
    noCache.cache = false;
    PageConfig keep;
    keep.setCache = true;
    keep.cache = true;
    manager->SetGlobalLoadAnimType(PageManager::LOAD_ANIM_FADE_ON, 100);
    PageBase *a = InstallPage("A", noCache);
    PageBase *b = InstallPage("B", keep);

    manager->Push("Pages/A");
    Advance(200);
    manager->Push("Pages/B");
    Advance(200);
    /* A page that does not cache is unloaded as soon as it is covered. */
    EXPECT_EQ(a->root, nullptr);
    EXPECT_EQ(a->priv.State, PageBase::PAGE_STATE_IDLE);

    manager->Pop();
    Advance(200);
    /* A page that asked to be cached keeps its views after it was popped; a faded page is hidden. */
    ASSERT_NE(b->root, nullptr);
    EXPECT_TRUE(lv_obj_has_flag(b->root, LV_OBJ_FLAG_HIDDEN));
    EXPECT_EQ(b->priv.State, PageBase::PAGE_STATE_WILL_APPEAR);
    ASSERT_NE(a->root, nullptr);
    EXPECT_EQ(lv_obj_get_style_bg_opa(a->root, LV_PART_MAIN), LV_OPA_COVER);

    Journal().clear();
    manager->Push("Pages/B");
    Advance(200);
    EXPECT_EQ(JournalOf("Pages/B"), Strings({"onViewWillAppear", "onViewDidAppear"}));
    EXPECT_FALSE(lv_obj_has_flag(b->root, LV_OBJ_FLAG_HIDDEN));
}

TEST_F(PageManagerTest, StashIsCopiedOnlyIntoAMatchingBuffer) {
    manager->SetGlobalLoadAnimType(PageManager::LOAD_ANIM_NONE);
    PageConfig keep;
    keep.setCache = true;
    keep.cache = true;
    InstallPage("Home");
    PageBase *s = InstallPage("S", keep);
    manager->Push("Pages/Home");
    Advance(50);

    uint32_t first = 0x11111111;
    PageBase::Stash_t stash = {&first, sizeof(first)};
    manager->Push("Pages/S", &stash);
    first = 0; /* the page holds its own copy */
    uint32_t got = 0;
    EXPECT_TRUE(s->StashRead(&got, sizeof(got)));
    EXPECT_EQ(got, 0x11111111u);
    uint64_t wide = 0;
    EXPECT_FALSE(s->StashRead(&wide, sizeof(wide)));
    Advance(50);
    manager->Pop();
    Advance(50);

    /* Same size: the held buffer takes the new stash. */
    uint32_t second = 0x22222222;
    stash = {&second, sizeof(second)};
    manager->Push("Pages/S", &stash);
    Advance(50);
    EXPECT_TRUE(s->StashRead(&got, sizeof(got)));
    EXPECT_EQ(got, 0x22222222u);
    manager->Pop();
    Advance(50);

    /* Another size: not copied, the page keeps what it holds. */
    uint64_t third = 0x3333333333333333ull;
    stash = {&third, sizeof(third)};
    manager->Push("Pages/S", &stash);
    Advance(50);
    EXPECT_FALSE(s->StashRead(&wide, sizeof(wide)));
    EXPECT_TRUE(s->StashRead(&got, sizeof(got)));
    EXPECT_EQ(got, 0x22222222u);

    /* An empty stash copies nothing and is harmless. */
    manager->Pop();
    Advance(50);
    stash = {nullptr, 16};
    EXPECT_EQ(manager->Push("Pages/S", &stash), s);
    Advance(50);
    EXPECT_TRUE(s->StashRead(&got, sizeof(got)));
}

TEST_F(PageManagerTest, RegistryAndStackEdgeCases) {
    manager->SetGlobalLoadAnimType(PageManager::LOAD_ANIM_NONE);
    PageBase *a = InstallPage("A");
    PageBase *b = InstallPage("B");
    PageBase *c = InstallPage("C");

    EXPECT_EQ(manager->Install("Unknown", "Pages/Unknown"), nullptr);
    EXPECT_EQ(manager->FindPageInPool("Pages/Unknown"), nullptr);
    TestPage duplicate{PageConfig()};
    EXPECT_FALSE(manager->Register(&duplicate, "Pages/A"));
    EXPECT_EQ(manager->Push("Pages/Nope"), nullptr);

    /* Without a page name the class name is used. */
    factory.configs["D"] = PageConfig();
    PageBase *d = manager->Install("D", nullptr);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(manager->FindPageInPool("D"), d);

    manager->Push("Pages/A");
    Advance(50);
    EXPECT_EQ(manager->Push("Pages/A"), nullptr); /* already on the stack */
    manager->Push("Pages/B");
    Advance(50);
    manager->Push("Pages/C");
    Advance(50);
    EXPECT_EQ(manager->FindPageInStack("Pages/B"), b);

    /* Clearing down to the bottom unloads the others; the bottom page becomes the previous one. */
    Journal().clear();
    manager->SetStackClear(true);
    Advance(50);
    EXPECT_EQ(manager->GetStackTop(), a);
    EXPECT_EQ(manager->GetStackTopAfter(), nullptr);
    EXPECT_STREQ(manager->GetPagePrevName(), "Pages/A");
    EXPECT_EQ(b->root, nullptr);
    EXPECT_EQ(c->root, nullptr);
    EXPECT_EQ(b->priv.State, PageBase::PAGE_STATE_IDLE);
    EXPECT_EQ(JournalOf("Pages/C"),
              Strings({"onViewWillDisappear", "onViewDidDisappear", "onViewDidUnload"}));
    EXPECT_EQ(JournalOf("Pages/B"), Strings({"onViewDidUnload"}));
    EXPECT_TRUE(JournalOf("Pages/A").empty());

    /* Unregistering a page in the middle of the stack keeps the others in order. */
    manager->Push("Pages/B");
    Advance(50);
    manager->Push("Pages/C");
    Advance(50);
    EXPECT_TRUE(manager->Uninstall("Pages/B"));
    EXPECT_EQ(manager->FindPageInPool("Pages/B"), nullptr);
    EXPECT_EQ(manager->GetStackTop(), c);
    EXPECT_EQ(manager->GetStackTopAfter(), a);
    EXPECT_FALSE(manager->Uninstall("Pages/B"));
    EXPECT_FALSE(manager->Unregister("Pages/B"));

    /* Back to the bottom page in one step. */
    EXPECT_TRUE(manager->PopToBottom());
    Advance(50);
    EXPECT_EQ(manager->GetStackTop(), a);
    EXPECT_EQ(a->priv.State, PageBase::PAGE_STATE_ACTIVITY);
    EXPECT_EQ(c->root, nullptr);
}

TEST_F(PageManagerTest, LoadAnimationTypes) {
    PageManager::LoadAnimAttr_t attr;
    EXPECT_FALSE(manager->GetLoadAnimAttr(PageManager::LOAD_ANIM_GLOBAL, &attr));
    EXPECT_FALSE(manager->GetLoadAnimAttr(11, &attr));
    ASSERT_TRUE(manager->GetLoadAnimAttr(PageManager::LOAD_ANIM_OVER_BOTTOM, &attr));
    EXPECT_EQ(attr.dragDir, PageManager::ROOT_DRAG_DIR_VER);
    EXPECT_EQ(attr.push.enter.start, -kVer);
    EXPECT_EQ(attr.pop.exit.end, -kVer);
    ASSERT_TRUE(manager->GetLoadAnimAttr(PageManager::LOAD_ANIM_NONE, &attr));
    EXPECT_EQ(attr.setter, nullptr);

    /* A page asking for an unknown type gets the global animation instead. */
    PageConfig bad;
    bad.animType = 42;
    manager->SetGlobalLoadAnimType(200, 0); /* out of range: no animation */
    PageBase *p = InstallPage("P", bad);
    manager->Push("Pages/P");
    EXPECT_EQ(p->priv.Anim.Attr.Type, PageManager::LOAD_ANIM_NONE);
    Advance(50);
    EXPECT_EQ(p->priv.State, PageBase::PAGE_STATE_ACTIVITY);
}

/* Presses at x0, moves through the given positions (one per input read) and releases there; the
 * release carries the movement of the last read. */
void Drag(int32_t x0, std::vector<int32_t> xs) {
    Pointer &p = TestPointer();
    p.point = {(lv_coord_t)x0, 80};
    p.pressed = true;
    Advance(40);
    for (int32_t x : xs) {
        p.point.x = (lv_coord_t)x;
        Advance(30);
    }
    p.pressed = false;
    Advance(30);
}

class DragTest : public PageManagerTest {
  protected:
    void SetUp() override {
        PageManagerTest::SetUp();
        manager->SetGlobalLoadAnimType(PageManager::LOAD_ANIM_OVER_LEFT, 200, lv_anim_path_linear);
        a = InstallPage("A");
        b = InstallPage("B");
        manager->Push("Pages/A");
        Advance(300);
        manager->Push("Pages/B");
        Advance(300);
        ASSERT_EQ(b->priv.State, PageBase::PAGE_STATE_ACTIVITY);
        lv_obj_add_event_cb(
            b->root, [](lv_event_t *e) { (*static_cast<int *>(lv_event_get_user_data(e)))++; },
            LV_EVENT_LEAVE, &leaves);
    }
    PageBase *a = nullptr;
    PageBase *b = nullptr;
    int leaves = 0;
};

TEST_F(DragTest, ShortDragSpringsBack) {
    Drag(40, {55, 70, 85, 85});
    Advance(10);
    EXPECT_EQ(leaves, 0);
    Advance(300);
    EXPECT_EQ(X(b), 0);
    /* The spring-back animation is over, so the manager takes requests again. */
    EXPECT_EQ(manager->Pop(), a);
}

TEST_F(DragTest, LongDragOrThrowLeaves) {
    Drag(40, {100, 160, 220, 240});
    EXPECT_EQ(leaves, 1);
    leaves = 0;
    Advance(300);
    /* A page that ignores the leave event stays where it was dropped; a throw past the middle
     * leaves as well. */
    manager->Pop();
    Advance(300);
    manager->Push("Pages/B");
    Advance(300);
    lv_obj_add_event_cb(
        b->root, [](lv_event_t *e) { (*static_cast<int *>(lv_event_get_user_data(e)))++; }, LV_EVENT_LEAVE,
        &leaves);
    Drag(40, {60, 80, 130});
    EXPECT_LT(X(b), kHor / 2);
    EXPECT_EQ(leaves, 1);
}

TEST_F(DragTest, DragStaysWithinTheScreen) {
    Pointer &p = TestPointer();
    p.point = {200, 80};
    p.pressed = true;
    Advance(40);
    p.point.x = 20; /* leftwards: the page cannot move past its place */
    Advance(60);
    EXPECT_EQ(X(b), 0);
    p.pressed = false;
    Advance(300);
    EXPECT_EQ(leaves, 0);
}

} // namespace
