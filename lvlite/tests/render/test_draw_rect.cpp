/* Rectangles: fills, opacity, antialiased radius, borders by side, outlines and clipping. */
#include <gtest/gtest.h>

#include "render_util.h"

using namespace render_test;

namespace {

lv_draw_rect_dsc_t solid(uint32_t rgb, lv_opa_t opa = LV_OPA_COVER) {
    lv_draw_rect_dsc_t d;
    lv_draw_rect_dsc_init(&d);
    d.bg_color = lv_color_hex(rgb);
    d.bg_opa = opa;
    return d;
}

void draw(Canvas &c, const lv_draw_rect_dsc_t &d, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    lv_area_t a = {x1, y1, x2, y2};
    lv_draw_rect(c.ctx, &d, &a);
}

} // namespace

TEST(DrawRect, OpaqueFillCoversExactlyItsArea) {
    Canvas c(20, 10);
    draw(c, solid(0x123456), 2, 3, 11, 6);
    EXPECT_EQ(c.at(2, 3), 0xFF123456u);
    EXPECT_EQ(c.at(11, 6), 0xFF123456u);
    EXPECT_EQ(c.at(1, 3), 0xFFFFFFFFu);
    EXPECT_EQ(c.at(12, 6), 0xFFFFFFFFu);
    EXPECT_EQ(c.at(2, 7), 0xFFFFFFFFu);
    EXPECT_EQ(c.count_not(0xFFFFFFFFu), 10u * 4u);
}

TEST(DrawRect, OpacityBlendsWithTheBackgroundAndKeepsAlphaOpaque) {
    Canvas c(4, 1, 0xFF000000);
    draw(c, solid(0xFFFFFF, LV_OPA_50), 0, 0, 3, 0);
    /* 255 * 127 / 255 */
    EXPECT_EQ(c.at(0, 0), 0xFF7F7F7Fu);
    EXPECT_EQ(c.at(3, 0), 0xFF7F7F7Fu);

    Canvas d(1, 1, 0xFF0000FF);
    draw(d, solid(0xFF0000, 64), 0, 0, 0, 0);
    EXPECT_EQ(ch_r(d.at(0, 0)), 64);
    EXPECT_EQ(ch_b(d.at(0, 0)), 191);
    EXPECT_EQ(ch_a(d.at(0, 0)), 0xFF);

    /* Below LV_OPA_MIN nothing is drawn. */
    Canvas e(2, 2);
    draw(e, solid(0x000000, 1), 0, 0, 1, 1);
    EXPECT_EQ(e.count_not(0xFFFFFFFFu), 0u);
}

TEST(DrawRect, RoundedCornersAreAntialiasedAndSymmetric) {
    Canvas c(40, 30);
    lv_draw_rect_dsc_t d = solid(0x000000);
    d.radius = 8;
    draw(c, d, 5, 5, 34, 24);

    EXPECT_EQ(c.at(5, 5), 0xFFFFFFFFu) << "corner pixel is outside the arc";
    EXPECT_EQ(c.at(20, 15), 0xFF000000u);
    EXPECT_EQ(c.at(5, 15), 0xFF000000u) << "straight edge is solid";
    EXPECT_EQ(c.at(20, 5), 0xFF000000u);

    /* Some corner pixels are partly covered. */
    int partial = 0;
    for (int y = 5; y < 13; y++)
        for (int x = 5; x < 13; x++) {
            uint8_t v = ch_r(c.at(x, y));
            if (v != 0 && v != 255)
                partial++;
        }
    EXPECT_GT(partial, 6);

    /* The four corners mirror each other exactly. */
    for (int j = 0; j < 8; j++)
        for (int i = 0; i < 8; i++) {
            uint32_t tl = c.at(5 + i, 5 + j);
            ASSERT_EQ(tl, c.at(34 - i, 5 + j)) << i << "," << j;
            ASSERT_EQ(tl, c.at(5 + i, 24 - j)) << i << "," << j;
            ASSERT_EQ(tl, c.at(34 - i, 24 - j)) << i << "," << j;
        }
}

TEST(DrawRect, CircleRadiusMakesAPill) {
    Canvas c(30, 10);
    lv_draw_rect_dsc_t d = solid(0x000000);
    d.radius = LV_RADIUS_CIRCLE;
    draw(c, d, 0, 0, 29, 9);
    EXPECT_EQ(c.at(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(c.at(0, 9), 0xFFFFFFFFu);
    EXPECT_EQ(c.at(15, 0), 0xFF000000u);
    EXPECT_LT(ch_r(c.at(0, 5)), 16) << "the ends are half circles reaching the edge at mid-height";
    EXPECT_NE(c.at(1, 1), 0xFF000000u);
}

TEST(DrawRect, BorderSidesAndWidth) {
    Canvas c(20, 20);
    lv_draw_rect_dsc_t d = solid(0xFFFFFF, LV_OPA_TRANSP);
    d.border_width = 2;
    d.border_color = lv_color_hex(0xFF0000);
    d.border_side = LV_BORDER_SIDE_BOTTOM;
    draw(c, d, 0, 0, 19, 19);
    EXPECT_EQ(c.at(10, 19), 0xFFFF0000u);
    EXPECT_EQ(c.at(10, 18), 0xFFFF0000u);
    EXPECT_EQ(c.at(10, 17), 0xFFFFFFFFu);
    EXPECT_EQ(c.at(0, 10), 0xFFFFFFFFu) << "no left border";
    EXPECT_EQ(c.at(10, 0), 0xFFFFFFFFu) << "no top border";
    EXPECT_EQ(c.count_not(0xFFFFFFFFu), 40u);

    Canvas f(20, 20);
    d.border_side = LV_BORDER_SIDE_FULL;
    d.border_width = 3;
    draw(f, d, 0, 0, 19, 19);
    EXPECT_EQ(f.count_not(0xFFFFFFFFu), 20u * 20u - 14u * 14u);
    EXPECT_EQ(f.at(10, 10), 0xFFFFFFFFu);
}

TEST(DrawRect, BorderOverBackgroundWithOpacity) {
    Canvas c(10, 10, 0xFF000000);
    lv_draw_rect_dsc_t d = solid(0x0000FF);
    d.border_width = 1;
    d.border_color = lv_color_hex(0xFFFFFF);
    d.border_opa = LV_OPA_50;
    draw(c, d, 0, 0, 9, 9);
    EXPECT_EQ(c.at(5, 5), 0xFF0000FFu);
    EXPECT_EQ(c.at(0, 5), 0xFF7F7FFFu) << "half white over blue";
}

TEST(DrawRect, NothingIsDrawnOutsideTheClipArea) {
    Canvas c(30, 30);
    c.set_clip(10, 10, 19, 19);
    lv_draw_rect_dsc_t d = solid(0x000000);
    d.radius = 5;
    d.border_width = 2;
    d.border_color = lv_color_hex(0xFF0000);
    d.outline_width = 3;
    d.outline_pad = 1;
    d.outline_color = lv_color_hex(0x00FF00);
    draw(c, d, 0, 0, 29, 29);
    for (int y = 0; y < 30; y++)
        for (int x = 0; x < 30; x++)
            if (x < 10 || x > 19 || y < 10 || y > 19) {
                ASSERT_EQ(c.at(x, y), 0xFFFFFFFFu) << x << "," << y;
            }
    EXPECT_EQ(c.at(15, 15), 0xFF000000u);
}

TEST(DrawRect, BufferAreaOffsetIsHonoured) {
    /* The buffer holds only the dirty area (100,50)-(109,54), packed. */
    Canvas c(10, 5, 0xFFFFFFFF, 100, 50);
    draw(c, solid(0x00FF00), 95, 52, 104, 60);
    EXPECT_EQ(c.at(100, 52), 0xFF00FF00u);
    EXPECT_EQ(c.at(104, 54), 0xFF00FF00u);
    EXPECT_EQ(c.at(105, 52), 0xFFFFFFFFu);
    EXPECT_EQ(c.at(100, 51), 0xFFFFFFFFu);
}

TEST(DrawRect, DegenerateAreasDrawNothing) {
    Canvas c(10, 10);
    lv_draw_rect_dsc_t d = solid(0x000000);
    d.radius = LV_RADIUS_CIRCLE;
    d.border_width = 100;
    draw(c, d, 5, 5, 4, 8);
    draw(c, d, 5, 5, 5, 4);
    EXPECT_EQ(c.count_not(0xFFFFFFFFu), 0u);
    draw(c, d, 3, 3, 3, 3); /* one pixel with a huge border and radius */
    EXPECT_EQ(c.at(3, 3), 0xFF000000u);
}

TEST(DrawRect, GradientRunsBetweenItsStops) {
    Canvas c(1, 256);
    lv_draw_rect_dsc_t d = solid(0x000000);
    d.bg_grad.dir = LV_GRAD_DIR_VER;
    d.bg_grad.stops[0].color = lv_color_hex(0x000000);
    d.bg_grad.stops[1].color = lv_color_hex(0xFFFFFF);
    draw(c, d, 0, 0, 0, 255);
    EXPECT_EQ(c.at(0, 0), 0xFF000000u);
    EXPECT_EQ(c.at(0, 255), 0xFFFFFFFFu);
    for (int y = 1; y < 256; y++)
        ASSERT_GE(ch_r(c.at(0, y)), ch_r(c.at(0, y - 1)));
}

TEST(DrawRect, AlphaCompositionOfTransparentScreens) {
    /* Blending over a transparent buffer (screen_transp) keeps the colour and takes the opacity
     * as alpha; a second layer adds alpha as 1 - (1 - a1)(1 - a2). */
    lv_color_t res;
    lv_opa_t res_a;
    lv_color_mix_with_alpha(lv_color_hex(0), LV_OPA_TRANSP, lv_color_hex(0xFF0000), LV_OPA_50, &res, &res_a);
    EXPECT_EQ(res.full & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(res_a, LV_OPA_50);

    lv_color_mix_with_alpha(lv_color_hex(0xFF0000), LV_OPA_50, lv_color_hex(0x0000FF), LV_OPA_50, &res,
                            &res_a);
    EXPECT_EQ(res_a, 191);
    EXPECT_GT(res.ch.blue, res.ch.red) << "the upper layer weighs more";
    EXPECT_GT(res.ch.red, 0);

    lv_color_mix_with_alpha(lv_color_hex(0x00FF00), LV_OPA_COVER, lv_color_hex(0x0000FF), LV_OPA_COVER, &res,
                            &res_a);
    EXPECT_EQ(res.full & 0xFFFFFFu, 0x0000FFu);
    EXPECT_EQ(res_a, LV_OPA_COVER);
}

TEST(DrawRect, Gallery) {
    Canvas c(160, 60, 0xFFE0E0E0);
    lv_draw_rect_dsc_t d = solid(0x2196F3);
    d.radius = 10;
    draw(c, d, 5, 5, 50, 30);
    d.border_width = 3;
    d.border_color = lv_color_hex(0xF44336);
    draw(c, d, 55, 5, 100, 30);
    d.bg_opa = LV_OPA_40;
    d.radius = LV_RADIUS_CIRCLE;
    d.border_opa = LV_OPA_70;
    draw(c, d, 105, 5, 150, 50);
    lv_draw_rect_dsc_t o = solid(0xFFFFFF);
    o.radius = 4;
    o.outline_width = 2;
    o.outline_pad = 2;
    o.outline_color = lv_color_hex(0x4CAF50);
    draw(c, o, 10, 38, 95, 52);
    EXPECT_TRUE(matches_reference(c, "rect_gallery"));
}

TEST(DrawArc, QuarterArcStaysInItsQuadrant) {
    Canvas c(40, 40);
    lv_draw_arc_dsc_t d;
    lv_draw_arc_dsc_init(&d);
    d.width = 4;
    lv_point_t center = {20, 20};
    /* 0 degrees is 3 o'clock, angles grow clockwise: 0..90 is the lower right quarter. */
    lv_draw_arc(c.ctx, &d, &center, 15, 0, 90);
    EXPECT_EQ(c.at(27, 25), 0xFFFFFFFFu) << "inside the stroke's inner radius";
    EXPECT_EQ(ch_r(c.at(29, 29)), 0) << "on the stroke at 45 degrees";
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 40; x++) {
            if (x < 19 || y < 19) {
                ASSERT_EQ(c.at(x, y), 0xFFFFFFFFu) << x << "," << y;
            }
        }

    /* A full ring is symmetric; rounded ends reach past the angular cut. */
    Canvas ring(40, 40);
    lv_draw_arc(ring.ctx, &d, &center, 15, 0, 360);
    for (int k = 0; k < 20; k++)
        ASSERT_EQ(ring.at(20 + k, 20 + k / 2), ring.at(19 - k, 19 - k / 2)) << k;
    Canvas round(40, 40);
    d.rounded = 1;
    lv_draw_arc(round.ctx, &d, &center, 15, 0, 90);
    EXPECT_NE(round.at(32, 18), 0xFFFFFFFFu) << "the cap at 0 degrees bulges upwards";
    EXPECT_EQ(c.at(32, 18), 0xFFFFFFFFu);
}

TEST(DrawLine, HorizontalDashedAndDiagonal) {
    Canvas c(20, 10);
    lv_draw_line_dsc_t d;
    lv_draw_line_dsc_init(&d);
    d.width = 2;
    d.dash_width = 3;
    d.dash_gap = 2;
    lv_point_t a = {0, 4}, b = {19, 4};
    lv_draw_line(c.ctx, &d, &a, &b);
    EXPECT_EQ(c.at(0, 4), 0xFF000000u);
    EXPECT_EQ(c.at(0, 5), 0xFF000000u) << "two pixels wide";
    EXPECT_EQ(c.at(2, 4), 0xFF000000u);
    EXPECT_EQ(c.at(3, 4), 0xFFFFFFFFu) << "gap";
    EXPECT_EQ(c.at(5, 4), 0xFF000000u) << "next dash";
    EXPECT_EQ(c.at(0, 3), 0xFFFFFFFFu);

    Canvas g(10, 10);
    d.width = 1;
    d.dash_width = d.dash_gap = 0;
    lv_point_t p = {0, 0}, q = {9, 9};
    lv_draw_line(g.ctx, &d, &p, &q);
    for (int k = 0; k < 10; k++)
        EXPECT_EQ(g.at(k, k), 0xFF000000u) << k;
    EXPECT_EQ(g.count_not(0xFFFFFFFFu), 10u);
}

TEST(DrawRect, ShadowFadesOutsideAndIsNotDrawnUnderTheObject) {
    Canvas c(60, 60);
    lv_draw_rect_dsc_t d = solid(0xFFFFFF, LV_OPA_TRANSP);
    d.shadow_width = 10;
    d.shadow_color = lv_color_hex(0x000000);
    draw(c, d, 20, 20, 39, 39);
    EXPECT_EQ(c.at(30, 30), 0xFFFFFFFFu) << "nothing under the object";
    uint8_t edge = ch_r(c.at(30, 40)), mid = ch_r(c.at(30, 42)), far = ch_r(c.at(30, 43));
    EXPECT_LT(edge, 80) << "dark right at the object's edge";
    EXPECT_LT(edge, mid);
    EXPECT_LT(mid, far);
    EXPECT_LT(far, 255);
    EXPECT_EQ(ch_r(c.at(30, 45)), 255) << "the blur ends half its width outside";
    EXPECT_EQ(c.at(30, 41), c.at(18, 30)) << "same fall-off on every side";

    /* Offset and spread move and grow the shadow. */
    Canvas o(60, 60);
    d.shadow_ofs_x = 6;
    d.shadow_spread = 2;
    draw(o, d, 20, 20, 39, 39);
    EXPECT_LT(ch_r(o.at(44, 30)), ch_r(o.at(15, 30)));
    EXPECT_TRUE(matches_reference(o, "rect_shadow"));
}
