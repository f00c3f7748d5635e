// Geometry of objects and the flex layout.
#include "lv_test_env.h"

namespace {

class Layout : public LvTest {};

lv_obj_t *plain(lv_obj_t *parent, lv_coord_t w, lv_coord_t h) {
    lv_obj_t *o = lv_obj_create(parent);
    lv_obj_remove_style_all(o);
    lv_obj_set_size(o, w, h);
    return o;
}

TEST_F(Layout, GeometryIsLazyUntilLayoutUpdate) {
    lv_obj_t *o = plain(lv_scr_act(), 50, 20);
    lv_obj_update_layout(o);
    lv_obj_set_pos(o, 10, 12);
    lv_obj_set_size(o, 80, 30);
    EXPECT_EQ(lv_obj_get_x(o), 0);
    EXPECT_EQ(lv_obj_get_width(o), 50);
    lv_obj_update_layout(o);
    EXPECT_EQ(lv_obj_get_x(o), 10);
    EXPECT_EQ(lv_obj_get_y(o), 12);
    EXPECT_EQ(lv_obj_get_width(o), 80);
    EXPECT_EQ(lv_obj_get_height(o), 30);
}

TEST_F(Layout, UnsizedObjectIsDpiSquareAndLabelFollowsText) {
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    lv_obj_t *l = lv_label_create(lv_scr_act());
    lv_label_set_text(l, "");
    lv_obj_update_layout(o);
    EXPECT_EQ(lv_obj_get_width(o), LV_DPI_DEF);
    EXPECT_EQ(lv_obj_get_height(o), LV_DPI_DEF);
    EXPECT_EQ(lv_obj_get_width(l), 0);
    EXPECT_EQ(lv_obj_get_height(l), lv_font_get_line_height(LV_FONT_DEFAULT));
}

TEST_F(Layout, CentringUsesTwoIntegerDivisions) {
    lv_obj_t *p = plain(lv_scr_act(), 200, 100);
    lv_obj_t *c = plain(p, 31, 11);
    lv_obj_center(c);
    lv_obj_update_layout(c);
    EXPECT_EQ(lv_obj_get_x(c), 85);
    EXPECT_EQ(lv_obj_get_y(c), 45);
}

TEST_F(Layout, AlignIsRememberedAndSetXIsAnOffset) {
    lv_obj_t *p = plain(lv_scr_act(), 200, 100);
    lv_obj_t *c = plain(p, 20, 10);
    lv_obj_align(c, LV_ALIGN_BOTTOM_RIGHT, -5, -5);
    lv_obj_update_layout(c);
    EXPECT_EQ(lv_obj_get_x(c), 175);
    EXPECT_EQ(lv_obj_get_y(c), 85);
    lv_obj_set_x(c, -10);
    lv_obj_set_size(p, 100, 50);
    lv_obj_update_layout(c);
    EXPECT_EQ(lv_obj_get_x(c), 70);
    EXPECT_EQ(lv_obj_get_y(c), 35);
}

TEST_F(Layout, AlignToIsComputedOnceAndRespectsBasePadding) {
    lv_obj_t *base = plain(lv_scr_act(), 100, 40);
    lv_obj_set_pos(base, 20, 30);
    lv_obj_set_style_pad_left(base, 7, 0);
    lv_obj_set_style_pad_top(base, 3, 0);
    lv_obj_t *o = plain(lv_scr_act(), 10, 10);
    lv_obj_align_to(o, base, LV_ALIGN_TOP_LEFT, 1, 2);
    lv_obj_update_layout(o);
    EXPECT_EQ(lv_obj_get_x(o), 20 + 7 + 1);
    EXPECT_EQ(lv_obj_get_y(o), 30 + 3 + 2);
    lv_obj_t *right = plain(lv_scr_act(), 10, 10);
    lv_obj_align_to(right, base, LV_ALIGN_OUT_RIGHT_MID, 0, 0);
    lv_obj_update_layout(right);
    EXPECT_EQ(lv_obj_get_x(right), 120);
    EXPECT_EQ(lv_obj_get_y(right), 30 + 20 - 5);
    // Moving the base later does not move the aligned object.
    lv_obj_set_pos(base, 60, 60);
    lv_obj_update_layout(o);
    EXPECT_EQ(lv_obj_get_x(o), 28);
    EXPECT_EQ(lv_obj_get_y(o), 35);
}

TEST_F(Layout, PositionIsRelativeToContentAreaAndIgnoresScroll) {
    lv_obj_t *p = plain(lv_scr_act(), 200, 100);
    lv_obj_set_pos(p, 10, 10);
    lv_obj_set_style_pad_all(p, 6, 0);
    lv_obj_set_style_border_width(p, 2, 0);
    lv_obj_t *c = plain(p, 20, 300);
    lv_obj_set_pos(c, 4, 5);
    lv_obj_update_layout(c);
    EXPECT_EQ(c->coords.x1, 10 + 6 + 2 + 4);
    EXPECT_EQ(lv_obj_get_x(c), 4);
    lv_obj_scroll_to_y(p, 40, LV_ANIM_OFF);
    EXPECT_EQ(lv_obj_get_scroll_y(p), 40);
    EXPECT_EQ(c->coords.y1, 10 + 6 + 2 + 5 - 40);
    EXPECT_EQ(lv_obj_get_y(c), 5);
    EXPECT_EQ(lv_obj_get_content_width(p), 200 - 12 - 4);
}

TEST_F(Layout, PercentSizeAndContentSize) {
    lv_obj_t *p = plain(lv_scr_act(), 200, 100);
    lv_obj_set_style_pad_hor(p, 10, 0);
    lv_obj_t *c = plain(p, lv_pct(50), lv_pct(25));
    lv_obj_t *fit = plain(lv_scr_act(), LV_SIZE_CONTENT, LV_SIZE_CONTENT);
    lv_obj_set_style_pad_all(fit, 4, 0);
    lv_obj_t *inner = plain(fit, 30, 12);
    lv_obj_set_pos(inner, 5, 6);
    lv_obj_update_layout(c);
    EXPECT_EQ(lv_obj_get_width(c), 90);
    EXPECT_EQ(lv_obj_get_height(c), 25);
    EXPECT_EQ(lv_obj_get_width(fit), 4 + 5 + 30 + 4);
    EXPECT_EQ(lv_obj_get_height(fit), 4 + 6 + 12 + 4);
}

TEST_F(Layout, FlexSpaceBetweenGapIsTruncatedAndAddedToColumnPad) {
    lv_obj_t *p = plain(lv_scr_act(), 100, 20);
    lv_obj_set_flex_flow(p, LV_FLEX_FLOW_ROW);
    lv_obj_set_flex_align(p, LV_FLEX_ALIGN_SPACE_BETWEEN, LV_FLEX_ALIGN_START, LV_FLEX_ALIGN_START);
    lv_obj_set_style_pad_column(p, 2, 0);
    lv_obj_t *a = plain(p, 10, 10);
    lv_obj_t *b = plain(p, 10, 10);
    lv_obj_t *c = plain(p, 10, 10);
    lv_obj_t *d = plain(p, 10, 10);
    lv_obj_update_layout(p);
    // free = 100 - (40 + 3 * 2) = 54, gap = 54 / 3 = 18 on top of the 2 px column pad
    EXPECT_EQ(lv_obj_get_x(a), 0);
    EXPECT_EQ(lv_obj_get_x(b), 30);
    EXPECT_EQ(lv_obj_get_x(c), 60);
    EXPECT_EQ(lv_obj_get_x(d), 90);
}

TEST_F(Layout, FlexSpaceBetweenOverlapsWhenItemsDoNotFitAndCentresALoneItem) {
    lv_obj_t *p = plain(lv_scr_act(), 50, 20);
    lv_obj_set_flex_flow(p, LV_FLEX_FLOW_ROW);
    lv_obj_set_flex_align(p, LV_FLEX_ALIGN_SPACE_BETWEEN, LV_FLEX_ALIGN_START, LV_FLEX_ALIGN_START);
    lv_obj_t *a = plain(p, 30, 10);
    lv_obj_t *b = plain(p, 30, 10);
    lv_obj_update_layout(p);
    EXPECT_EQ(lv_obj_get_x(a), 0);
    EXPECT_EQ(lv_obj_get_x(b), 20);
    lv_obj_del(b);
    lv_obj_set_width(a, 20);
    lv_obj_update_layout(p);
    EXPECT_EQ(lv_obj_get_x(a), 15);
}

TEST_F(Layout, FlexCrossCenterCentresWithinTheTrack) {
    lv_obj_t *p = plain(lv_scr_act(), 200, 100);
    lv_obj_set_flex_flow(p, LV_FLEX_FLOW_ROW);
    lv_obj_set_flex_align(p, LV_FLEX_ALIGN_START, LV_FLEX_ALIGN_CENTER, LV_FLEX_ALIGN_START);
    lv_obj_t *tall = plain(p, 10, 40);
    lv_obj_t *small = plain(p, 10, 10);
    lv_obj_update_layout(p);
    EXPECT_EQ(lv_obj_get_y(tall), 0);
    EXPECT_EQ(lv_obj_get_y(small), 15);
    EXPECT_EQ(lv_obj_get_x(small), 10);
}

TEST_F(Layout, FlexHiddenChildrenTakeNoPlace) {
    lv_obj_t *p = plain(lv_scr_act(), 200, 100);
    lv_obj_set_flex_flow(p, LV_FLEX_FLOW_COLUMN);
    lv_obj_set_style_pad_row(p, 4, 0);
    lv_obj_t *a = plain(p, 10, 10);
    lv_obj_t *h = plain(p, 10, 10);
    lv_obj_t *b = plain(p, 10, 10);
    lv_obj_add_flag(h, LV_OBJ_FLAG_HIDDEN);
    lv_obj_update_layout(p);
    EXPECT_EQ(lv_obj_get_y(a), 0);
    EXPECT_EQ(lv_obj_get_y(b), 14);
    lv_obj_clear_flag(h, LV_OBJ_FLAG_HIDDEN);
    lv_obj_update_layout(p);
    EXPECT_EQ(lv_obj_get_y(b), 28);
}

TEST_F(Layout, LocalFlexFlowOverridesSharedStyle) {
    static lv_style_t st;
    lv_style_init(&st);
    lv_style_set_flex_flow(&st, LV_FLEX_FLOW_COLUMN);
    lv_style_set_layout(&st, LV_LAYOUT_FLEX);
    lv_obj_t *p = plain(lv_scr_act(), 200, 100);
    lv_obj_add_style(p, &st, 0);
    lv_obj_t *a = plain(p, 10, 10);
    lv_obj_t *b = plain(p, 10, 10);
    lv_obj_update_layout(p);
    EXPECT_EQ(lv_obj_get_y(b), 10);
    lv_obj_set_flex_flow(p, LV_FLEX_FLOW_ROW);
    lv_obj_update_layout(p);
    EXPECT_EQ(lv_obj_get_x(b), 10);
    EXPECT_EQ(lv_obj_get_y(b), 0);
    EXPECT_EQ(lv_obj_get_x(a), 0);
    lv_obj_del(p);
    lv_style_reset(&st);
}

TEST_F(Layout, FlexRowWrapPlacesTracksAndGrowFillsTheRest) {
    lv_obj_t *p = plain(lv_scr_act(), 100, 100);
    lv_obj_set_flex_flow(p, LV_FLEX_FLOW_ROW_WRAP);
    lv_obj_set_style_pad_row(p, 5, 0);
    lv_obj_t *a = plain(p, 40, 10);
    lv_obj_t *b = plain(p, 40, 20);
    lv_obj_t *c = plain(p, 40, 10);
    lv_obj_update_layout(p);
    EXPECT_EQ(lv_obj_get_x(b), 40);
    EXPECT_EQ(lv_obj_get_x(c), 0);
    EXPECT_EQ(lv_obj_get_y(c), 25);
    lv_obj_t *g = plain(p, 10, 10);
    lv_obj_set_flex_grow(g, 1);
    lv_obj_update_layout(p);
    EXPECT_EQ(lv_obj_get_width(g), 60);
    EXPECT_EQ(lv_obj_get_x(g), 40);
    (void)a;
}

TEST_F(Layout, FlexGrowSharesByWeightAndAClampedItemLeavesTheRestToTheOthers) {
    lv_obj_t *p = plain(lv_scr_act(), 100, 100);
    lv_obj_set_flex_flow(p, LV_FLEX_FLOW_ROW);
    lv_obj_t *fixed = plain(p, 20, 10);
    lv_obj_t *one = plain(p, 5, 10);
    lv_obj_t *three = plain(p, 5, 10);
    lv_obj_set_flex_grow(one, 1);
    lv_obj_set_flex_grow(three, 3);
    lv_obj_update_layout(p);
    // 80 px free: 20 and 60.
    EXPECT_EQ(lv_obj_get_width(one), 20);
    EXPECT_EQ(lv_obj_get_width(three), 60);
    EXPECT_EQ(lv_obj_get_x(three), 40);
    // Held at 30 by its max width, the rest (50) goes to the other one.
    lv_obj_set_style_max_width(three, 30, 0);
    lv_obj_update_layout(p);
    EXPECT_EQ(lv_obj_get_width(three), 30);
    EXPECT_EQ(lv_obj_get_width(one), 50);
    EXPECT_EQ(lv_obj_get_x(one), 20);
    EXPECT_EQ(lv_obj_get_x(three), 70);
    (void)fixed;
}

TEST_F(Layout, FlexReverseFlowNewTrackFlagAndCrossEnd) {
    lv_obj_t *p = plain(lv_scr_act(), 100, 100);
    lv_obj_set_flex_flow(p, LV_FLEX_FLOW_ROW_REVERSE);
    lv_obj_set_flex_align(p, LV_FLEX_ALIGN_START, LV_FLEX_ALIGN_END, LV_FLEX_ALIGN_START);
    lv_obj_t *a = plain(p, 10, 10);
    lv_obj_t *b = plain(p, 20, 30);
    lv_obj_update_layout(p);
    // The last child comes first; the shorter item sits at the end of the track's height.
    EXPECT_EQ(lv_obj_get_x(b), 0);
    EXPECT_EQ(lv_obj_get_x(a), 20);
    EXPECT_EQ(lv_obj_get_y(a), 20);

    lv_obj_t *w = plain(lv_scr_act(), 100, 100);
    lv_obj_set_flex_flow(w, LV_FLEX_FLOW_ROW_WRAP);
    lv_obj_set_style_pad_row(w, 4, 0);
    lv_obj_t *c = plain(w, 10, 10);
    lv_obj_t *d = plain(w, 10, 10);
    lv_obj_add_flag(d, LV_OBJ_FLAG_FLEX_IN_NEW_TRACK);
    lv_obj_update_layout(w);
    EXPECT_EQ(lv_obj_get_x(d), 0);
    EXPECT_EQ(lv_obj_get_y(d), 14);
    (void)c;
}

TEST_F(Layout, FlexTrackPlaceCentresTheTracks) {
    lv_obj_t *p = plain(lv_scr_act(), 100, 100);
    lv_obj_set_flex_flow(p, LV_FLEX_FLOW_ROW);
    lv_obj_set_flex_align(p, LV_FLEX_ALIGN_END, LV_FLEX_ALIGN_START, LV_FLEX_ALIGN_CENTER);
    lv_obj_t *a = plain(p, 10, 20);
    lv_obj_update_layout(p);
    EXPECT_EQ(lv_obj_get_x(a), 90);
    EXPECT_EQ(lv_obj_get_y(a), 40);
}

} // namespace
