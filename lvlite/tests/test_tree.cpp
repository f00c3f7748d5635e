// The object tree, flags, user data and screens.
#include "lv_test_env.h"

#include <vector>

namespace {

class Tree : public LvTest {};

TEST_F(Tree, ChildrenIndexOrderAndParent) {
    lv_obj_t *p = lv_obj_create(lv_scr_act());
    lv_obj_t *a = lv_obj_create(p);
    lv_obj_t *b = lv_obj_create(p);
    lv_obj_t *c = lv_obj_create(p);
    EXPECT_EQ(lv_obj_get_child_cnt(p), 3u);
    EXPECT_EQ(lv_obj_get_child(p, 0), a);
    EXPECT_EQ(lv_obj_get_child(p, -1), c);
    EXPECT_EQ(lv_obj_get_child(p, 3), nullptr);
    EXPECT_EQ(lv_obj_get_child(p, -4), nullptr);
    EXPECT_EQ(lv_obj_get_index(b), 1u);
    lv_obj_move_foreground(a);
    EXPECT_EQ(lv_obj_get_child(p, 2), a);
    EXPECT_EQ(lv_obj_get_index(b), 0u);
    lv_obj_move_background(c);
    EXPECT_EQ(lv_obj_get_child(p, 0), c);
    lv_obj_move_to_index(a, 1);
    EXPECT_EQ(lv_obj_get_index(a), 1u);
    lv_obj_t *q = lv_obj_create(lv_scr_act());
    lv_obj_set_parent(b, q);
    EXPECT_EQ(lv_obj_get_parent(b), q);
    EXPECT_EQ(lv_obj_get_child_cnt(p), 2u);
    EXPECT_EQ(lv_obj_get_screen(b), lv_scr_act());
    EXPECT_EQ(lv_obj_get_disp(b), disp_);
    lv_obj_clean(p);
    EXPECT_EQ(lv_obj_get_child_cnt(p), 0u);
    EXPECT_TRUE(lv_obj_is_valid(b));
    EXPECT_FALSE(lv_obj_is_valid(a));
}

TEST_F(Tree, FlagsStatesAndUserData) {
    lv_obj_t *o = lv_obj_create(lv_scr_act());
    EXPECT_TRUE(lv_obj_has_flag(o, LV_OBJ_FLAG_CLICKABLE | LV_OBJ_FLAG_SCROLLABLE));
    EXPECT_FALSE(lv_obj_has_flag(o, LV_OBJ_FLAG_SCROLL_ON_FOCUS));
    lv_obj_add_flag(o, LV_OBJ_FLAG_USER_1 | LV_OBJ_FLAG_USER_2);
    lv_obj_clear_flag(o, LV_OBJ_FLAG_USER_2 | LV_OBJ_FLAG_CLICKABLE);
    EXPECT_TRUE(lv_obj_has_flag(o, LV_OBJ_FLAG_USER_1));
    EXPECT_FALSE(lv_obj_has_flag_any(o, LV_OBJ_FLAG_USER_2 | LV_OBJ_FLAG_CLICKABLE));
    lv_obj_add_state(o, LV_STATE_CHECKED | LV_STATE_USER_1);
    EXPECT_EQ(lv_obj_get_state(o), LV_STATE_CHECKED | LV_STATE_USER_1);
    lv_obj_clear_state(o, LV_STATE_CHECKED);
    EXPECT_TRUE(lv_obj_has_state(o, LV_STATE_USER_1));
    EXPECT_FALSE(lv_obj_has_state(o, LV_STATE_CHECKED));
    int data = 0;
    lv_obj_set_user_data(o, &data);
    EXPECT_EQ(lv_obj_get_user_data(o), &data);
    lv_obj_t *label = lv_label_create(lv_scr_act());
    EXPECT_FALSE(lv_obj_has_flag(label, LV_OBJ_FLAG_CLICKABLE));
    EXPECT_TRUE(lv_obj_check_type(label, &lv_label_class));
    EXPECT_TRUE(lv_obj_has_class(label, &lv_obj_class));
    lv_obj_t *btn = lv_btn_create(lv_scr_act());
    EXPECT_TRUE(lv_obj_has_flag(btn, LV_OBJ_FLAG_SCROLL_ON_FOCUS));
    EXPECT_FALSE(lv_obj_has_flag(btn, LV_OBJ_FLAG_SCROLLABLE));
}

TEST_F(Tree, DisplayScreensAndLayers) {
    EXPECT_EQ(lv_disp_get_default(), disp_);
    EXPECT_EQ(lv_disp_get_hor_res(nullptr), kW);
    EXPECT_EQ(lv_disp_get_ver_res(nullptr), kH);
    lv_obj_t *scr = lv_scr_act();
    lv_obj_update_layout(scr);
    EXPECT_EQ(lv_obj_get_width(scr), kW);
    EXPECT_EQ(lv_obj_get_height(lv_layer_top()), kH);
    EXPECT_FALSE(lv_obj_has_flag(lv_layer_top(), LV_OBJ_FLAG_CLICKABLE));
    lv_obj_t *next = lv_obj_create(nullptr);
    lv_scr_load(next);
    EXPECT_EQ(lv_scr_act(), next);
    lv_scr_load(scr);
    lv_obj_del(next);
    EXPECT_EQ(lv_scr_act(), scr);
}

TEST_F(Tree, MemoryAllocatorCountsBlocksAndHandlesZeroSizes) {
    lv_mem_monitor_t before, after;
    lv_mem_monitor(&before);
    void *p = lv_mem_alloc(100);
    ASSERT_NE(p, nullptr);
    void *z = lv_mem_alloc(0);
    EXPECT_NE(z, nullptr);
    p = lv_mem_realloc(p, 300);
    lv_mem_monitor(&after);
    EXPECT_EQ(after.total_size - before.total_size, 300u);
    EXPECT_EQ(after.used_cnt - before.used_cnt, 1u);
    lv_mem_free(p);
    lv_mem_free(z);
    lv_mem_free(nullptr);
    lv_mem_monitor(&after);
    EXPECT_EQ(after.total_size, before.total_size);
}

struct Node {
    int v;
};

TEST_F(Tree, LinkedListOrderAndMoves) {
    lv_ll_t ll;
    _lv_ll_init(&ll, sizeof(Node));
    Node *a = static_cast<Node *>(_lv_ll_ins_tail(&ll));
    a->v = 1;
    Node *b = static_cast<Node *>(_lv_ll_ins_tail(&ll));
    b->v = 2;
    Node *c = static_cast<Node *>(_lv_ll_ins_head(&ll));
    c->v = 0;
    Node *d = static_cast<Node *>(_lv_ll_ins_prev(&ll, b));
    d->v = 5;
    std::vector<int> order;
    void *n;
    _LV_LL_READ(&ll, n) order.push_back(static_cast<Node *>(n)->v);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 5, 2}));
    _lv_ll_move_before(&ll, c, nullptr);
    _lv_ll_remove(&ll, d);
    lv_mem_free(d);
    order.clear();
    _LV_LL_READ_BACK(&ll, n) order.push_back(static_cast<Node *>(n)->v);
    EXPECT_EQ(order, (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(_lv_ll_get_len(&ll), 3u);
    _lv_ll_clear(&ll);
    EXPECT_TRUE(_lv_ll_is_empty(&ll));
}

} // namespace
