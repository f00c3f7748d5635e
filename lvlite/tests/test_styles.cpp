// Style precedence, inheritance and transitions.
#include "lv_test_env.h"

namespace {

class Styles : public LvTest {
  protected:
    void SetUp() override {
        LvTest::SetUp();
        for (lv_style_t *s : {&pressed_, &focused_, &user1_, &base_})
            lv_style_init(s);
    }
    void TearDown() override {
        lv_obj_clean(lv_scr_act());
        for (lv_style_t *s : {&pressed_, &focused_, &user1_, &base_})
            lv_style_reset(s);
        LvTest::TearDown();
    }
    lv_style_t pressed_, focused_, user1_, base_;
};

uint32_t bg(lv_obj_t *o) {
    return lv_obj_get_style_bg_color(o, LV_PART_MAIN).full & 0xFFFFFF;
}

TEST_F(Styles, HighestStateWinsEvenOverALocalDefault) {
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_style_set_bg_color(&pressed_, lv_color_hex(0x0000AA));
    lv_style_set_bg_color(&focused_, lv_color_hex(0x00AA00));
    lv_style_set_bg_color(&user1_, lv_color_hex(0xAA0000));
    lv_obj_add_style(o, &user1_, LV_STATE_USER_1);
    lv_obj_add_style(o, &pressed_, LV_STATE_PRESSED);
    lv_obj_add_style(o, &focused_, LV_STATE_FOCUSED);
    lv_obj_set_style_bg_color(o, lv_color_hex(0x123456), 0);
    EXPECT_EQ(bg(o), 0x123456u);
    lv_obj_add_state(o, LV_STATE_FOCUSED);
    EXPECT_EQ(bg(o), 0x00AA00u);
    lv_obj_add_state(o, LV_STATE_PRESSED);
    EXPECT_EQ(bg(o), 0x0000AAu);
    lv_obj_add_state(o, LV_STATE_USER_1);
    EXPECT_EQ(bg(o), 0xAA0000u);
    lv_obj_clear_state(o, LV_STATE_USER_1 | LV_STATE_PRESSED);
    EXPECT_EQ(bg(o), 0x00AA00u);
    lv_obj_clear_state(o, LV_STATE_FOCUSED);
    EXPECT_EQ(bg(o), 0x123456u);
}

TEST_F(Styles, NewerStylesAndLocalValuesComeFirstAndDefaultsApply) {
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    EXPECT_EQ(lv_obj_get_style_bg_opa(o, 0), LV_OPA_TRANSP);
    EXPECT_EQ(lv_obj_get_style_text_font(o, 0), LV_FONT_DEFAULT);
    EXPECT_EQ(lv_obj_get_style_opa(o, 0), LV_OPA_COVER);
    EXPECT_EQ(bg(o), 0xFFFFFFu);
    lv_style_set_radius(&base_, 3);
    lv_style_set_radius(&focused_, 7);
    lv_obj_add_style(o, &base_, 0);
    lv_obj_add_style(o, &focused_, 0);
    EXPECT_EQ(lv_obj_get_style_radius(o, 0), 7);
    lv_obj_set_style_radius(o, 9, 0);
    EXPECT_EQ(lv_obj_get_style_radius(o, 0), 9);
    EXPECT_TRUE(lv_obj_remove_local_style_prop(o, LV_STYLE_RADIUS, 0));
    lv_obj_remove_style(o, &focused_, 0);
    EXPECT_EQ(lv_obj_get_style_radius(o, 0), 3);
    lv_obj_remove_style_all(o);
    EXPECT_EQ(lv_obj_get_style_radius(o, 0), 0);
}

TEST_F(Styles, AmongStylesOfOneStateTheLocalOneThenTheNewestWins) {
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_style_set_radius(&pressed_, 4);
    lv_style_set_radius(&user1_, 5);
    lv_style_set_radius(&base_, 6);
    lv_obj_add_style(o, &pressed_, LV_STATE_PRESSED);
    lv_obj_add_style(o, &user1_, LV_STATE_PRESSED);
    // A default-state style added later does not beat a state style in that state.
    lv_obj_add_style(o, &base_, LV_STATE_DEFAULT);
    EXPECT_EQ(lv_obj_get_style_radius(o, 0), 6);
    lv_obj_add_state(o, LV_STATE_PRESSED);
    EXPECT_EQ(lv_obj_get_style_radius(o, 0), 5) << "the newer of two PRESSED styles";
    lv_obj_set_style_radius(o, 9, LV_STATE_PRESSED);
    EXPECT_EQ(lv_obj_get_style_radius(o, 0), 9) << "the local PRESSED value";
    lv_obj_remove_style(o, &user1_, LV_STATE_PRESSED);
    lv_obj_remove_local_style_prop(o, LV_STYLE_RADIUS, LV_STATE_PRESSED);
    EXPECT_EQ(lv_obj_get_style_radius(o, 0), 4);
    // A style for another part does not count for MAIN; a state the object lacks does not either.
    lv_obj_set_style_radius(o, 11, LV_PART_INDICATOR | LV_STATE_PRESSED);
    lv_obj_set_style_radius(o, 12, LV_STATE_PRESSED | LV_STATE_CHECKED);
    EXPECT_EQ(lv_obj_get_style_radius(o, 0), 4);
    EXPECT_EQ(lv_obj_get_style_radius(o, LV_PART_INDICATOR), 11);
    lv_obj_add_state(o, LV_STATE_CHECKED);
    EXPECT_EQ(lv_obj_get_style_radius(o, 0), 12);
}

TEST_F(Styles, TextPropertiesAndOpacityAreInheritedButOtherOpacitiesAreNot) {
    lv_obj_t *p = lv_obj_create(lv_scr_act());
    lv_obj_t *c = lv_label_create(p);
    lv_obj_set_style_text_color(p, lv_color_hex(0x445566), 0);
    lv_obj_set_style_text_opa(p, 100, 0);
    lv_obj_set_style_text_letter_space(p, 2, 0);
    lv_obj_set_style_bg_opa(p, LV_OPA_COVER, 0);
    lv_obj_set_style_img_opa(p, 50, 0);
    EXPECT_EQ(lv_obj_get_style_text_color(c, 0).full & 0xFFFFFF, 0x445566u);
    EXPECT_EQ(lv_obj_get_style_text_opa(c, 0), 100);
    EXPECT_EQ(lv_obj_get_style_text_letter_space(c, 0), 2);
    EXPECT_EQ(lv_obj_get_style_bg_opa(c, 0), LV_OPA_TRANSP);
    EXPECT_EQ(lv_obj_get_style_img_opa(c, 0), LV_OPA_COVER);
    // The object's opacity is inherited, and multiplied again at every level.
    lv_obj_set_style_opa(p, LV_OPA_50, 0);
    EXPECT_EQ(lv_obj_get_style_opa(c, 0), LV_OPA_50);
    EXPECT_NEAR(lv_obj_get_style_opa_recursive(c, LV_PART_MAIN), LV_OPA_50 * LV_OPA_50 / 255, 2);
    lv_obj_set_style_opa(c, LV_OPA_COVER, 0);
    EXPECT_NEAR(lv_obj_get_style_opa_recursive(c, LV_PART_MAIN), LV_OPA_50, 1);
    // A part without its own value takes the MAIN value, then the parent's.
    EXPECT_EQ(lv_obj_get_style_text_opa(c, LV_PART_INDICATOR), 100);
    lv_obj_set_style_text_opa(c, 200, 0);
    EXPECT_EQ(lv_obj_get_style_text_opa(c, LV_PART_INDICATOR), 200);
}

TEST_F(Styles, SharedStyleChangeIsReported) {
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_obj_set_size(o, 10, 10);
    lv_style_set_pad_left(&base_, 0);
    lv_obj_add_style(o, &base_, 0);
    lv_obj_t *c = lv_obj_create(o);
    lv_obj_remove_style_all(c);
    lv_obj_set_size(c, 2, 2);
    lv_obj_update_layout(c);
    EXPECT_EQ(lv_obj_get_x(c), 0);
    lv_style_set_pad_left(&base_, 4);
    lv_obj_report_style_change(&base_);
    lv_obj_update_layout(c);
    EXPECT_EQ(c->coords.x1 - o->coords.x1, 4);
}

const lv_style_prop_t kTransProps[] = {LV_STYLE_BG_OPA, LV_STYLE_PROP_INV};

TEST_F(Styles, TransitionAnimatesOnEnteringTheStateOnly) {
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    static lv_style_transition_dsc_t tr;
    lv_style_transition_dsc_init(&tr, kTransProps, lv_anim_path_linear, 200, 0, nullptr);
    lv_obj_set_style_bg_opa(o, 0, 0);
    lv_style_set_bg_opa(&pressed_, 200);
    lv_style_set_transition(&pressed_, &tr);
    lv_obj_add_style(o, &pressed_, LV_STATE_PRESSED);
    lv_obj_add_state(o, LV_STATE_PRESSED);
    EXPECT_EQ(lv_obj_get_style_bg_opa(o, 0), 0);
    advance(100, 10);
    lv_opa_t mid = lv_obj_get_style_bg_opa(o, 0);
    EXPECT_GT(mid, 50);
    EXPECT_LT(mid, 150);
    advance(150, 10);
    EXPECT_EQ(lv_obj_get_style_bg_opa(o, 0), 200);
    // Leaving is immediate: the default state carries no transition.
    lv_obj_clear_state(o, LV_STATE_PRESSED);
    EXPECT_EQ(lv_obj_get_style_bg_opa(o, 0), 0);
    // With a transition on the default state, leaving animates too.
    lv_obj_set_style_transition(o, &tr, 0);
    lv_obj_add_state(o, LV_STATE_PRESSED);
    advance(250, 10);
    lv_obj_clear_state(o, LV_STATE_PRESSED);
    EXPECT_EQ(lv_obj_get_style_bg_opa(o, 0), 200);
    advance(100, 10);
    mid = lv_obj_get_style_bg_opa(o, 0);
    EXPECT_GT(mid, 50);
    EXPECT_LT(mid, 150);
    advance(150, 10);
    EXPECT_EQ(lv_obj_get_style_bg_opa(o, 0), 0);
}

TEST_F(Styles, DeletingAnObjectDuringATransitionIsSafe) {
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    static lv_style_transition_dsc_t tr;
    lv_style_transition_dsc_init(&tr, kTransProps, nullptr, 200, 0, nullptr);
    lv_style_set_bg_opa(&pressed_, 200);
    lv_style_set_transition(&pressed_, &tr);
    lv_obj_add_style(o, &pressed_, LV_STATE_PRESSED);
    lv_obj_add_state(o, LV_STATE_PRESSED);
    advance(50, 10);
    lv_obj_del(o);
    advance(300, 10);
    EXPECT_EQ(lv_anim_count_running(), 0);
}

} // namespace

namespace {

class MoreStyles : public LvTest {};

const lv_style_prop_t kColorProps[] = {LV_STYLE_BG_COLOR, LV_STYLE_PROP_INV};

TEST_F(MoreStyles, ColourTransitionMixesAndDelayWaits) {
    static lv_style_t focused;
    lv_style_init(&focused);
    static lv_style_transition_dsc_t tr;
    lv_style_transition_dsc_init(&tr, kColorProps, lv_anim_path_linear, 100, 50, nullptr);
    lv_style_set_bg_color(&focused, lv_color_hex(0xFF0000));
    lv_style_set_transition(&focused, &tr);
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_obj_set_style_bg_color(o, lv_color_hex(0x0000FF), 0);
    lv_obj_add_style(o, &focused, LV_STATE_FOCUSED);
    lv_obj_add_state(o, LV_STATE_FOCUSED);
    advance(40, 10);
    EXPECT_EQ(lv_obj_get_style_bg_color(o, 0).full & 0xFFFFFF, 0x0000FFu); // still in the delay
    advance(60, 10);
    lv_color_t mid = lv_obj_get_style_bg_color(o, 0);
    EXPECT_GT(mid.ch.red, 0);
    EXPECT_GT(mid.ch.blue, 0);
    advance(200, 10);
    EXPECT_EQ(lv_obj_get_style_bg_color(o, 0).full & 0xFFFFFF, 0xFF0000u);
    lv_obj_del(o);
    lv_style_reset(&focused);
}

TEST_F(MoreStyles, StyleSetGetRemoveAndCustomProperties) {
    lv_style_t st;
    lv_style_init(&st);
    EXPECT_TRUE(lv_style_is_empty(&st));
    lv_style_set_pad_all(&st, 3);
    lv_style_set_text_align(&st, LV_TEXT_ALIGN_CENTER);
    lv_style_value_t v;
    ASSERT_EQ(lv_style_get_prop(&st, LV_STYLE_PAD_BOTTOM, &v), LV_STYLE_RES_FOUND);
    EXPECT_EQ(v.num, 3);
    EXPECT_TRUE(lv_style_remove_prop(&st, LV_STYLE_PAD_BOTTOM));
    EXPECT_FALSE(lv_style_remove_prop(&st, LV_STYLE_PAD_BOTTOM));
    EXPECT_EQ(lv_style_get_prop(&st, LV_STYLE_PAD_BOTTOM, &v), LV_STYLE_RES_NOT_FOUND);
    lv_style_prop_t custom = lv_style_register_prop(LV_STYLE_PROP_INHERIT);
    EXPECT_GE(custom, (lv_style_prop_t)_LV_STYLE_LAST_BUILT_IN_PROP);
    lv_style_value_t v77;
    v77.num = 77;
    lv_style_set_prop(&st, custom, v77);
    lv_obj_t *p = lv_obj_create(lv_scr_act());
    lv_obj_t *c = lv_obj_create(p);
    lv_obj_add_style(p, &st, 0);
    EXPECT_EQ(lv_obj_get_style_prop(c, 0, custom).num, 77); // inherited
    EXPECT_EQ(lv_obj_get_style_text_align(c, 0), LV_TEXT_ALIGN_CENTER);
    lv_obj_del(p);
    lv_style_reset(&st);
    EXPECT_TRUE(lv_style_is_empty(&st));
}

} // namespace
