#include "audio_common.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

TEST(AudioLog, WritesOneLineWithFunctionAndLine) {
    testing::internal::CaptureStderr();
    audio_log("vx_some_init", 42, "invalid out_rate(%d).\n", 7);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "[Func]:vx_some_init [Line]:42 [Info]:invalid out_rate(7).\n");
}

TEST(AudioLog, OverlongMessageIsCutButStillEndsTheLine) {
    std::string longtext(2000, 'x');
    testing::internal::CaptureStderr();
    audio_log("f", 1, "%s\n", longtext.c_str());
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_FALSE(err.empty());
    EXPECT_LT(err.size(), 600u);
    EXPECT_EQ(err.back(), '\n');
    EXPECT_EQ(err.rfind("[Func]:f [Line]:1 [Info]:xxx", 0), 0u);
}

TEST(AudioBlock, AlignedZeroedAndFreed) {
    EXPECT_EQ(audio_block_alloc(0), nullptr);
    EXPECT_EQ(audio_block_alloc(SIZE_MAX), nullptr);
    for (size_t size : {1u, 7u, 8u, 13u, 4096u}) {
        auto *p = static_cast<unsigned char *>(audio_block_alloc(size));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 8u, 0u);
        for (size_t i = 0; i < size; i++) {
            ASSERT_EQ(p[i], 0);
        }
        std::memset(p, 0xFF, size); /* the whole block is usable */
        audio_block_free(p);
    }
    audio_block_free(nullptr);
}

TEST(AudioLayout, MeasureThenCarveGivesAlignedGuardedRegions) {
    audio_layout layout;
    audio_layout_begin(&layout, nullptr, 0);
    EXPECT_EQ(audio_layout_take(&layout, 10), nullptr);
    EXPECT_EQ(audio_layout_take(&layout, 3), nullptr);
    size_t need = audio_layout_used(&layout);
    EXPECT_FALSE(audio_layout_failed(&layout));

    void *block = audio_block_alloc(need);
    ASSERT_NE(block, nullptr);
    audio_layout_begin(&layout, block, need);
    auto *a = static_cast<unsigned char *>(audio_layout_take(&layout, 10));
    auto *b = static_cast<unsigned char *>(audio_layout_take(&layout, 3));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(audio_layout_failed(&layout));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b) % 8u, 0u);
    EXPECT_GE(b, a + 10);
    EXPECT_TRUE(audio_guard_ok(a, 10));
    EXPECT_TRUE(audio_guard_ok(b, 3));
    std::memset(a, 0, 17); /* runs over into a's guard */
    EXPECT_FALSE(audio_guard_ok(a, 10));
    EXPECT_TRUE(audio_guard_ok(b, 3));
    EXPECT_FALSE(audio_guard_ok(nullptr, 3));

    audio_layout_begin(&layout, block, need);
    audio_layout_take(&layout, 10);
    EXPECT_EQ(audio_layout_take(&layout, 64), nullptr); /* more than was measured */
    EXPECT_TRUE(audio_layout_failed(&layout));
    audio_block_free(block);
}

TEST(AudioCopies, RefuseOverrunsAndAcceptZeroLength) {
    unsigned char dst[8] = {0};
    const unsigned char src[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(audio_copy(dst, sizeof(dst), src, 4), 0);
    EXPECT_EQ(dst[3], 4);
    EXPECT_NE(audio_copy(dst, sizeof(dst), src, 16), 0);
    EXPECT_EQ(dst[3], 0); /* a refused copy clears the destination */
    EXPECT_EQ(audio_copy(dst, sizeof(dst), src, 0), 0);
    EXPECT_EQ(audio_copy(dst, sizeof(dst), src, 8), 0);
    EXPECT_EQ(audio_move(dst, sizeof(dst), dst + 2, 4), 0);
    EXPECT_EQ(dst[0], 3);
    EXPECT_NE(audio_move(dst, 4, src, 8), 0);
    EXPECT_EQ(audio_fill(dst, sizeof(dst), 0x7F, 8), 0);
    EXPECT_EQ(dst[7], 0x7F);
    EXPECT_NE(audio_fill(dst, 4, 0, 8), 0);
    EXPECT_EQ(audio_fill(dst, sizeof(dst), 0, 0), 0);
}

TEST(AudioSamples, Saturate) {
    EXPECT_EQ(audio_sat16(40000), 32767);
    EXPECT_EQ(audio_sat16(-40000), -32768);
    EXPECT_EQ(audio_sat16(-5), -5);
}
