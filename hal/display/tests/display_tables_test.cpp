#include "disp_dev.h"
#include "disp_port.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(DisplayTables, RotationCodes) {
    EXPECT_EQ(disp_port_rotation_code(0), 0);
    EXPECT_EQ(disp_port_rotation_code(90), 1);
    EXPECT_EQ(disp_port_rotation_code(180), 2);
    EXPECT_EQ(disp_port_rotation_code(270), 3);
    EXPECT_EQ(disp_port_rotation_code(45), 0);
    EXPECT_EQ(disp_port_rotation_code(-90), 0);
    EXPECT_EQ(disp_port_rotation_code(360), 0);
}

TEST(DisplayTables, DeviceSelectionFallsBackToTheFramebuffer) {
    EXPECT_STREQ(disp_port_device_name(0), "FB_DEV");
    EXPECT_STREQ(disp_port_device_name(1), "SPI_DEV");
    EXPECT_EQ(disp_port_device_name(2), nullptr);
    EXPECT_EQ(disp_port_find_device("SPI_DEV"), 1);
    EXPECT_EQ(disp_port_find_device("FB_DEV"), 0);
    EXPECT_EQ(disp_port_find_device(""), 0);
    EXPECT_EQ(disp_port_find_device(nullptr), 0);
    EXPECT_EQ(disp_port_find_device("spi_dev"), 0);
    EXPECT_EQ(disp_port_find_device("SPI_DEV2"), 0);
    EXPECT_EQ(disp_port_find_device("SPI"), 0);
}

struct GeoCase {
    int code;
    uint32_t w, h;
    disp_geometry expect;
};

TEST(DisplayTables, GeometryByRotation) {
    const GeoCase cases[] = {
        {0, 320, 170, {320, 170, 0, 0, false, 0}},   // the SPI panel: the band fills it
        {0, 480, 640, {480, 170, 0, 235, false, 0}}, // the framebuffer: a centred band
        {0, 480, 641, {480, 170, 0, 235, false, 0}}, // (641 - 170) / 2 rounds toward zero
        {1, 480, 640, {170, 640, 155, 0, true, 3}},  {2, 480, 640, {480, 640, 0, 0, true, 2}},
        {3, 480, 640, {640, 480, 0, 0, true, 2}},
    };
    for (const GeoCase &c : cases) {
        disp_geometry g = disp_port_geometry(c.code, c.w, c.h);
        SCOPED_TRACE(::testing::Message() << "code " << c.code << " " << c.w << "x" << c.h);
        EXPECT_EQ(g.s32HorRes, c.expect.s32HorRes);
        EXPECT_EQ(g.s32VerRes, c.expect.s32VerRes);
        EXPECT_EQ(g.s32OffsetX, c.expect.s32OffsetX);
        EXPECT_EQ(g.s32OffsetY, c.expect.s32OffsetY);
        EXPECT_EQ(g.bSwRotate, c.expect.bSwRotate);
        EXPECT_EQ(g.s32Rotated, c.expect.s32Rotated);
    }
}

TEST(FlushRecord, LittleEndianWithZeroTrailer) {
    disp_area a = {1, 0x01020304, -1, -2147483647 - 1};
    disp_flush_record r;
    disp_flush_record_encode(&a, &r);
    const uint8_t expect[20] = {1,    0,    0,    0,    0x04, 0x03, 0x02, 0x01, 0xFF, 0xFF,
                                0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 0,    0,    0,    0};
    EXPECT_EQ(0, memcmp(r.au8Bytes, expect, sizeof expect));

    disp_area back{};
    ASSERT_EQ(disp_flush_record_decode(&r, &back), 0);
    EXPECT_EQ(back.x1, a.x1);
    EXPECT_EQ(back.y1, a.y1);
    EXPECT_EQ(back.x2, a.x2);
    EXPECT_EQ(back.y2, a.y2);

    r.au8Bytes[19] = 1; // not an area record
    EXPECT_EQ(disp_flush_record_decode(&r, &back), -1);
}

TEST(FlushRecord, SharedBufferRoundsUpToPages) {
    EXPECT_EQ(disp_shm_size(320 * 170), 221184u); // 217600 bytes -> 54 pages
    EXPECT_EQ(disp_shm_size(1024), 4096u);
    EXPECT_EQ(disp_shm_size(1025), 8192u);
    EXPECT_EQ(disp_shm_size(0), 0u);
}

// A 8 x 4 screen in a framebuffer of 10-pixel lines.
class FbCopy : public ::testing::Test {
  protected:
    static constexpr uint32_t kLine = 10 * 4;
    std::vector<uint8_t> fb = std::vector<uint8_t>(kLine * 6, 0);
    uint32_t At(uint32_t x, uint32_t y) const {
        uint32_t v;
        memcpy(&v, &fb[y * kLine + x * 4], 4);
        return v;
    }
    static std::vector<uint32_t> Pattern(const disp_area &a) {
        std::vector<uint32_t> px;
        for (int32_t y = a.y1; y <= a.y2; ++y) {
            for (int32_t x = a.x1; x <= a.x2; ++x) {
                px.push_back(0xFF000000u | static_cast<uint32_t>((y + 100) << 8 | (x + 100)));
            }
        }
        return px;
    }
};

TEST_F(FbCopy, ClipsToTheScreenKeepingTheSourceStride) {
    disp_area a = {-2, -1, 3, 1}; // sticks out at the left and the top
    std::vector<uint32_t> px = Pattern(a);
    EXPECT_EQ(disp_fb_copy_area(fb.data(), fb.size(), kLine, 8, 4, 0, 0, &a, px.data()), 2);
    for (uint32_t y = 0; y <= 1; ++y) {
        for (uint32_t x = 0; x <= 3; ++x) {
            EXPECT_EQ(At(x, y), 0xFF000000u | ((y + 100) << 8 | (x + 100))) << x << "," << y;
        }
        EXPECT_EQ(At(4, y), 0u);
    }
    EXPECT_EQ(At(0, 2), 0u);
}

TEST_F(FbCopy, ClipsRightAndBottomAndAppliesOffsets) {
    disp_area a = {6, 2, 9, 5};
    std::vector<uint32_t> px = Pattern(a);
    EXPECT_EQ(disp_fb_copy_area(fb.data(), fb.size(), kLine, 8, 4, 1, 1, &a, px.data()), 2);
    EXPECT_EQ(At(7, 3), 0xFF000000u | (102u << 8 | 106u)); // (6,2) lands at (7,3)
    EXPECT_EQ(At(8, 4), 0xFF000000u | (103u << 8 | 107u));
    EXPECT_EQ(At(9, 4), 0u); // x 8 is outside the 8-pixel screen
    EXPECT_EQ(At(7, 5), 0u); // y 4 is outside the 4-line screen
}

TEST_F(FbCopy, RefusesAreasOutsideAndNeverWritesPastTheMapping) {
    disp_area outside = {8, 0, 12, 3};
    std::vector<uint32_t> px = Pattern(outside);
    EXPECT_EQ(disp_fb_copy_area(fb.data(), fb.size(), kLine, 8, 4, 0, 0, &outside, px.data()), 0);
    disp_area inverted = {3, 0, 1, 1};
    EXPECT_EQ(disp_fb_copy_area(fb.data(), fb.size(), kLine, 8, 4, 0, 0, &inverted, px.data()), 0);

    // A driver whose y offset puts rows past its memory: those rows are skipped.
    disp_area full = {0, 0, 7, 3};
    std::vector<uint32_t> fullpx = Pattern(full);
    EXPECT_EQ(disp_fb_copy_area(fb.data(), fb.size(), kLine, 8, 4, 0, 4, &full, fullpx.data()), 2);
    EXPECT_EQ(disp_fb_copy_area(fb.data(), fb.size(), kLine, 8, 4, 0, 1000000, &full, fullpx.data()), 0);
}

} // namespace
