// Dirty areas: what is redrawn and flushed, and what the flushed pixels hold.
#include "lv_test_env.h"

#include <algorithm>

namespace {

class Invalidation : public LvTest {};

lv_obj_t *box(lv_obj_t *parent, lv_coord_t x, lv_coord_t y, lv_coord_t w, lv_coord_t h, uint32_t color) {
    lv_obj_t *o = lv_obj_create(parent);
    lv_obj_remove_style_all(o);
    lv_obj_set_pos(o, x, y);
    lv_obj_set_size(o, w, h);
    lv_obj_set_style_bg_opa(o, LV_OPA_COVER, 0);
    lv_obj_set_style_bg_color(o, lv_color_hex(color), 0);
    return o;
}

bool same(const lv_area_t &a, lv_coord_t x1, lv_coord_t y1, lv_coord_t x2, lv_coord_t y2) {
    return a.x1 == x1 && a.y1 == y1 && a.x2 == x2 && a.y2 == y2;
}

TEST_F(Invalidation, NothingChangedNothingFlushed) {
    refresh();
    advance(100, 10);
    EXPECT_TRUE(flushes_.empty());
}

TEST_F(Invalidation, AreaIsGrownByFivePixelsAndClippedToTheDisplay) {
    lv_obj_t *o = box(lv_scr_act(), 100, 50, 20, 10, 0xFF0000);
    refresh();
    flushes_.clear();
    lv_obj_set_style_bg_color(o, lv_color_hex(0x00FF00), 0);
    refresh();
    ASSERT_EQ(flushes_.size(), 1u);
    EXPECT_TRUE(same(flushes_[0], 95, 45, 124, 64));
    lv_obj_t *corner = box(lv_scr_act(), 0, 0, 10, 10, 0xFF0000);
    refresh();
    flushes_.clear();
    lv_obj_invalidate(corner);
    refresh();
    ASSERT_EQ(flushes_.size(), 1u);
    EXPECT_TRUE(same(flushes_[0], 0, 0, 14, 14));
}

TEST_F(Invalidation, SeparateAreasAreFlushedOneByOneAndTouchingOnesJoin) {
    lv_obj_t *a = box(lv_scr_act(), 10, 10, 10, 10, 0xFF0000);
    lv_obj_t *b = box(lv_scr_act(), 200, 100, 10, 10, 0xFF0000);
    refresh();
    flushes_.clear();
    lv_obj_invalidate(a);
    lv_obj_invalidate(b);
    refresh();
    ASSERT_EQ(flushes_.size(), 2u);
    EXPECT_TRUE(same(flushes_[0], 5, 5, 24, 24));
    EXPECT_TRUE(same(flushes_[1], 195, 95, 214, 114));
    // Overlapping areas are joined when that saves pixels.
    lv_obj_t *c = box(lv_scr_act(), 22, 10, 10, 10, 0xFF0000);
    refresh();
    flushes_.clear();
    lv_obj_invalidate(a);
    lv_obj_invalidate(c);
    refresh();
    ASSERT_EQ(flushes_.size(), 1u);
    EXPECT_TRUE(same(flushes_[0], 5, 5, 36, 24));
}

TEST_F(Invalidation, ChangingStackingOrderRedrawsTheWholeParent) {
    lv_obj_t *p = box(lv_scr_act(), 20, 20, 100, 60, 0x000080);
    lv_obj_t *a = box(p, 0, 0, 10, 10, 0xFF0000);
    box(p, 50, 20, 10, 10, 0x00FF00);
    refresh();
    flushes_.clear();
    lv_obj_move_foreground(a);
    refresh();
    ASSERT_EQ(flushes_.size(), 1u);
    EXPECT_TRUE(same(flushes_[0], 15, 15, 124, 84));
    flushes_.clear();
    lv_obj_move_foreground(a); // already in front: nothing to do
    refresh();
    EXPECT_TRUE(flushes_.empty());
}

TEST_F(Invalidation, OpaqueScreenGivesOpaquePixelsTopLayerIsOverAndChildrenAreClipped) {
    lv_obj_t *p = box(lv_scr_act(), 10, 10, 50, 50, 0x0000FF);
    box(p, 40, 40, 40, 40, 0xFF0000); // sticks out of p
    lv_obj_t *top = box(lv_layer_top(), 0, 0, 20, 20, 0x00FF00);
    (void)top;
    lv_obj_invalidate(lv_scr_act());
    refresh();
    for (lv_coord_t y = 0; y < kH; y += 7) {
        for (lv_coord_t x = 0; x < kW; x += 7)
            ASSERT_EQ(pixel(x, y) >> 24, 0xFFu) << x << "," << y;
    }
    EXPECT_EQ(pixel(15, 15) & 0xFFFFFF, 0x00FF00u); // top layer over the blue box
    EXPECT_EQ(pixel(30, 30) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(pixel(55, 55) & 0xFFFFFF, 0xFF0000u); // child inside its parent
    EXPECT_EQ(pixel(65, 65) & 0xFFFFFF, 0x000000u); // the part outside the parent is clipped
}

TEST_F(Invalidation, HiddenObjectsAreNotDrawnAndHidingInvalidates) {
    lv_obj_t *o = box(lv_scr_act(), 100, 100, 10, 10, 0xFF0000);
    refresh();
    EXPECT_EQ(pixel(105, 105) & 0xFFFFFF, 0xFF0000u);
    flushes_.clear();
    lv_obj_add_flag(o, LV_OBJ_FLAG_HIDDEN);
    refresh();
    ASSERT_EQ(flushes_.size(), 1u);
    EXPECT_EQ(pixel(105, 105) & 0xFFFFFF, 0u);
}

TEST_F(Invalidation, RefreshTimerRedrawsOnItsOwnAfterAChange) {
    lv_obj_t *o = box(lv_scr_act(), 100, 100, 10, 10, 0xFF0000);
    advance(40, 10);
    flushes_.clear();
    lv_obj_set_style_bg_color(o, lv_color_hex(0x0000FF), 0);
    advance(40, 10);
    ASSERT_EQ(flushes_.size(), 1u);
    EXPECT_EQ(pixel(105, 105) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(Invalidation, MainOpacityComposesTheObjectWithItsChildren) {
    lv_obj_t *o = box(lv_scr_act(), 100, 100, 20, 20, 0xFFFFFF);
    box(o, 0, 0, 10, 10, 0xFFFFFF);
    lv_obj_set_style_opa(o, LV_OPA_50, 0);
    refresh();
    uint32_t p1 = pixel(102, 102) & 0xFF;
    uint32_t p2 = pixel(115, 115) & 0xFF;
    EXPECT_NEAR((int)p1, 127, 2);
    EXPECT_EQ(p1, p2); // the child is not drawn twice over
}

TEST_F(Invalidation, OpacityIsInheritedAndAppliedByEveryElement) {
    // A transparent box at 60 % holding a white label and a white box: each child takes the 60 % too,
    // so what it draws reaches the screen at 60 % of 60 %.
    lv_obj_t *o = box(lv_scr_act(), 40, 40, 120, 60, 0x000000);
    lv_obj_set_style_bg_opa(o, LV_OPA_TRANSP, 0);
    lv_obj_set_style_opa(o, LV_OPA_60, 0);
    lv_obj_t *l = lv_label_create(o);
    lv_obj_set_style_text_color(l, lv_color_hex(0xFFFFFF), 0);
    lv_label_set_text(l, "HIH");
    box(o, 0, 40, 10, 10, 0xFFFFFF);
    refresh();
    uint32_t peak = 0;
    for (lv_coord_t y = 40; y < 60; y++)
        for (lv_coord_t x = 40; x < 80; x++)
            peak = std::max(peak, pixel(x, y) & 0xFFu);
    EXPECT_NEAR((int)peak, 255 * 60 / 100 * 60 / 100, 3) << "the label";
    EXPECT_NEAR((int)(pixel(45, 85) & 0xFF), 255 * 60 / 100 * 60 / 100, 3) << "the white box";
    // A child with an opacity of its own keeps it (and is still inside the parent's).
    lv_obj_set_style_opa(l, LV_OPA_COVER, 0);
    refresh();
    peak = 0;
    for (lv_coord_t y = 40; y < 60; y++)
        for (lv_coord_t x = 40; x < 80; x++)
            peak = std::max(peak, pixel(x, y) & 0xFFu);
    EXPECT_NEAR((int)peak, 255 * 60 / 100, 3);
}

class OffsetDisplay : public LvTest {
  protected:
    // Draw everything, then redraw only what invalidating o asks for.
    void invalidate_alone(lv_obj_t *o) {
        refresh();
        flushes_.clear();
        lv_obj_invalidate(o);
        refresh();
    }
};

TEST_F(OffsetDisplay, OffsetsAreAddedToFlushedAreas) {
    disp_->driver->offset_x = 7;
    disp_->driver->offset_y = 3;
    lv_obj_t *o = box(lv_scr_act(), 100, 50, 20, 10, 0xFF0000);
    invalidate_alone(o);
    ASSERT_EQ(flushes_.size(), 1u);
    EXPECT_TRUE(same(flushes_[0], 102, 48, 131, 67));
    disp_->driver->offset_x = 0;
    disp_->driver->offset_y = 0;
}

TEST_F(OffsetDisplay, SoftwareRotationTurnsAreaAndPixels) {
    disp_->driver->sw_rotate = 1;
    disp_->driver->rotated = LV_DISP_ROT_180;
    lv_obj_t *o = box(lv_scr_act(), 0, 0, 10, 4, 0xFF0000);
    invalidate_alone(o);
    ASSERT_EQ(flushes_.size(), 1u);
    EXPECT_TRUE(same(flushes_[0], kW - 15, kH - 9, kW - 1, kH - 1));
    EXPECT_EQ(pixel(kW - 1, kH - 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(pixel(kW - 10, kH - 4) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(pixel(kW - 11, kH - 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(pixel(kW - 1, kH - 5) & 0xFFFFFF, 0u);
    disp_->driver->rotated = LV_DISP_ROT_NONE;
    disp_->driver->sw_rotate = 0;
}

TEST_F(OffsetDisplay, SoftwareRotationByAQuarterTurnSwapsRowsAndColumns) {
    disp_->driver->sw_rotate = 1;
    disp_->driver->rotated = LV_DISP_ROT_90; // the program sees 170 x 320
    lv_obj_t *o = box(lv_scr_act(), 0, 0, 10, 4, 0xFF0000);
    invalidate_alone(o);
    ASSERT_EQ(flushes_.size(), 1u);
    // (0, 0) .. (14, 8) with the 5 px margin; program (x, y) lands on panel (y, 169 - x).
    EXPECT_TRUE(same(flushes_[0], 0, kH - 15, 8, kH - 1));
    EXPECT_EQ(pixel(0, kH - 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(pixel(3, kH - 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(pixel(4, kH - 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(pixel(0, kH - 11) & 0xFFFFFF, 0u);
    disp_->driver->rotated = LV_DISP_ROT_270; // program (x, y) lands on panel (319 - y, x)
    invalidate_alone(o);
    ASSERT_EQ(flushes_.size(), 1u);
    EXPECT_TRUE(same(flushes_[0], kW - 9, 0, kW - 1, 14));
    EXPECT_EQ(pixel(kW - 1, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(pixel(kW - 4, 9) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(pixel(kW - 5, 0) & 0xFFFFFF, 0u);
    disp_->driver->rotated = LV_DISP_ROT_NONE;
    disp_->driver->sw_rotate = 0;
}

TEST_F(OffsetDisplay, TransparentScreenLeavesUncoveredPixelsTransparent) {
    disp_->driver->screen_transp = 1;
    lv_obj_t *scr = lv_scr_act();
    lv_obj_set_style_bg_opa(scr, LV_OPA_TRANSP, 0);
    box(scr, 10, 10, 10, 10, 0xFF0000);
    lv_obj_invalidate(scr);
    refresh();
    EXPECT_EQ(pixel(100, 100), 0u);
    EXPECT_EQ(pixel(15, 15), 0xFFFF0000u);
}

} // namespace
