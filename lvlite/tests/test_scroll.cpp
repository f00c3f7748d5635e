// Scrolling, and scrolling focused objects into view.
#include "lv_test_env.h"

namespace {

class Scroll : public LvTest {};

lv_obj_t *list_with_rows(lv_obj_t **rows, int n) {
    lv_obj_t *list = lv_obj_create(lv_scr_act());
    lv_obj_remove_style_all(list);
    lv_obj_set_size(list, 200, 100);
    lv_obj_set_flex_flow(list, LV_FLEX_FLOW_COLUMN);
    lv_obj_set_scroll_snap_y(list, LV_SCROLL_SNAP_NONE);
    for (int i = 0; i < n; i++) {
        rows[i] = lv_btn_create(list);
        lv_obj_remove_style_all(rows[i]);
        lv_obj_set_size(rows[i], 200, 40);
    }
    return list;
}

TEST_F(Scroll, ScrollOnFocusScrollsJustEnoughWithEaseOut) {
    lv_obj_t *rows[5];
    lv_obj_t *list = list_with_rows(rows, 5);
    lv_group_t *g = lv_group_create();
    for (lv_obj_t *r : rows)
        lv_group_add_obj(g, r);
    lv_obj_update_layout(list);
    EXPECT_EQ(lv_obj_get_scroll_bottom(list), 100);
    lv_group_focus_obj(rows[2]); // rows[2] spans 80 .. 119: 20 px below the list
    lv_point_t end;
    lv_obj_get_scroll_end(list, &end);
    EXPECT_EQ(end.y, 20);
    EXPECT_EQ(lv_obj_get_scroll_y(list), 0);
    EXPECT_FALSE(lv_obj_is_scrolling(list)); // only dragging by an input device counts as scrolling
    advance(100, 10);
    lv_coord_t early = lv_obj_get_scroll_y(list);
    EXPECT_GT(early, 10); // ease-out: more than linear progress early on
    advance(310, 10);
    EXPECT_EQ(lv_obj_get_scroll_y(list), 20);
    lv_obj_get_scroll_end(list, &end);
    EXPECT_EQ(end.y, 20);
    lv_group_focus_obj(rows[0]);
    advance(410, 10);
    EXPECT_EQ(lv_obj_get_scroll_y(list), 0);
    lv_group_del(g);
}

TEST_F(Scroll, ScrollToViewWithoutAnimationAndScrollGetters) {
    lv_obj_t *rows[6];
    lv_obj_t *list = list_with_rows(rows, 6);
    lv_obj_update_layout(list);
    lv_obj_scroll_to_view(rows[5], LV_ANIM_OFF);
    EXPECT_EQ(lv_obj_get_scroll_y(list), 140);
    EXPECT_EQ(lv_obj_get_scroll_top(list), 140);
    EXPECT_EQ(lv_obj_get_scroll_bottom(list), 0);
    lv_obj_scroll_to_y(list, 1000, LV_ANIM_OFF);
    EXPECT_EQ(lv_obj_get_scroll_y(list), 140);
    lv_obj_scroll_by(list, 0, 40, LV_ANIM_OFF);
    EXPECT_EQ(lv_obj_get_scroll_y(list), 100);
    EXPECT_EQ(lv_obj_get_y(rows[0]), 0);
    EXPECT_EQ(rows[0]->coords.y1, list->coords.y1 - 100);
}

TEST_F(Scroll, NonScrollableParentDoesNotScroll) {
    lv_obj_t *rows[4];
    lv_obj_t *list = list_with_rows(rows, 4);
    lv_obj_clear_flag(list, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_update_layout(list);
    lv_obj_scroll_to_view(rows[3], LV_ANIM_ON);
    advance(500, 10);
    EXPECT_EQ(lv_obj_get_scroll_y(list), 0);
}

TEST_F(Scroll, SnapPlacesTheObjectAndBoundedScrollsStopAtTheEnds) {
    lv_obj_t *rows[6];
    lv_obj_t *list = list_with_rows(rows, 6); // 240 px of rows in a 100 px list
    lv_obj_update_layout(list);
    lv_obj_set_scroll_snap_y(list, LV_SCROLL_SNAP_START);
    lv_obj_scroll_to_view(rows[3], LV_ANIM_OFF); // rows[3]: 120 .. 159
    EXPECT_EQ(lv_obj_get_scroll_y(list), 120);
    lv_obj_set_scroll_snap_y(list, LV_SCROLL_SNAP_CENTER);
    lv_obj_scroll_to_view(rows[3], LV_ANIM_OFF);
    EXPECT_EQ(lv_obj_get_scroll_y(list), 90);
    lv_obj_set_scroll_snap_y(list, LV_SCROLL_SNAP_END);
    lv_obj_scroll_to_view(rows[3], LV_ANIM_OFF);
    EXPECT_EQ(lv_obj_get_scroll_y(list), 60);
    lv_obj_scroll_by_bounded(list, 0, 1000, LV_ANIM_OFF);
    EXPECT_EQ(lv_obj_get_scroll_y(list), 0);
    lv_obj_scroll_by_bounded(list, 0, -1000, LV_ANIM_OFF);
    EXPECT_EQ(lv_obj_get_scroll_y(list), 140);
    EXPECT_EQ(lv_obj_get_scroll_bottom(list), 0);
    lv_obj_scroll_by_bounded(list, -50, 0, LV_ANIM_OFF); // nothing to scroll sideways
    EXPECT_EQ(lv_obj_get_scroll_x(list), 0);
    // The content shrinks: the list scrolls back so that no empty space shows at the end.
    lv_obj_add_flag(rows[5], LV_OBJ_FLAG_HIDDEN);
    lv_obj_add_flag(rows[4], LV_OBJ_FLAG_HIDDEN);
    lv_obj_set_scroll_snap_y(list, LV_SCROLL_SNAP_NONE);
    lv_obj_readjust_scroll(list, LV_ANIM_OFF);
    EXPECT_EQ(lv_obj_get_scroll_y(list), 60);
}

} // namespace
