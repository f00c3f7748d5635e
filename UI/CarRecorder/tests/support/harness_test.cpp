// The harness itself: notices delivered on the test thread reach the subscribers on the next
// tick, keys reach the page callback through the key timer, the frame shows what is drawn.
#include <gtest/gtest.h>

#include <vector>

#include "DataProc.h"
#include "key.h"
#include "page_test_env.h"

namespace {

using namespace pagetest;

std::vector<KeyEvtInfo> g_keys;

void OnKey(KeyEvtInfo *info) {
    g_keys.push_back(*info);
}

TEST(PageHarness, DeliveredNoticesAndKeysAndTheFrame) {
    Up();
    PublishedLog().clear();
    ASSERT_EQ(Deliver(FakeRecorder::Msg("IPCMSG_SYSTEMSTATUS",
                                        R"({"string_params":[{"key":"rec_status","value":"start"}]})")),
              0);
    Advance(10);
    ASSERT_EQ(PublishedLog().size(), 1u);
    EXPECT_EQ(PublishedLog()[0].from, DP_ACCOUNT_SYSTEM_STATUS);

    Key_SetEventCallback(OnKey, nullptr);
    Click(KEY_CODE_NEXT);
    Key_SetEventCallback(nullptr, nullptr);
    ASSERT_EQ(g_keys.size(), 2u);
    EXPECT_EQ(g_keys[0].keycode, (uint32_t)KEY_CODE_NEXT);
    EXPECT_EQ(g_keys[0].keyvalue, (uint32_t)KEY_VALUE_PRESS);
    EXPECT_EQ(g_keys[1].keyvalue, (uint32_t)KEY_VALUE_RELEASE);

    SetBackground(0x102030);
    Refresh();
    EXPECT_EQ(CountNot(0x102030, 0, 0, kW - 1, kH - 1), 0u);
    lv_obj_t *box = lv_obj_create(lv_scr_act());
    lv_obj_remove_style_all(box);
    lv_obj_set_style_bg_opa(box, LV_OPA_COVER, 0);
    lv_obj_set_style_bg_color(box, lv_color_hex(0xFF0000), 0);
    lv_obj_set_pos(box, 10, 20);
    lv_obj_set_size(box, 30, 40);
    Refresh();
    EXPECT_EQ(CountNot(0x102030, 0, 0, kW - 1, kH - 1), 30u * 40u);
    EXPECT_EQ(Frame()[(size_t)25 * kW + 15] & 0xFFFFFF, 0xFF0000u);
    lv_obj_del(box);
    SetBackground(0x000000);
}

} // namespace
