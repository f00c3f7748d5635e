// Key messages through the key timer, the keypad device and the page rule, on manual LVGL time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "key.h"

namespace {

struct Delivery {
    uint32_t code, value;
    void *user;
    bool diverted;
};
std::vector<Delivery> g_got;

void PageCb(KeyEvtInfo *e) {
    g_got.push_back({e->keycode, e->keyvalue, e->pcUserDate, false});
}
void DivertCb(KeyEvtInfo *e) {
    g_got.push_back({e->keycode, e->keyvalue, e->pcUserDate, true});
}

std::string KeyMsg(int code, int value) {
    return "{\"msgHdr\":{\"protVer\":0,\"msgID\":\"IPCMSG_KEYEVENT\",\"transID\":1,\"isAck\":0,\"needAck\":0}"
           ","
           "\"keycode\":" +
           std::to_string(code) + ",\"keyvalue\":" + std::to_string(value) + "}";
}

int g_page, g_dialog;

class KeyInput : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        lv_init();
        static lv_color_t buf[64 * 16];
        static lv_disp_draw_buf_t draw;
        static lv_disp_drv_t drv;
        lv_disp_draw_buf_init(&draw, buf, nullptr, 64 * 16);
        lv_disp_drv_init(&drv);
        drv.hor_res = 64;
        drv.ver_res = 16;
        drv.draw_buf = &draw;
        drv.flush_cb = [](lv_disp_drv_t *d, const lv_area_t *, lv_color_t *) { lv_disp_flush_ready(d); };
        lv_disp_drv_register(&drv);
        ASSERT_EQ(Key_Init(), 0);
    }
    void SetUp() override {
        Key_SetInvalidFun(nullptr, false, nullptr);
        Key_SetNavRemap(false);
        Key_SetEventCallback(PageCb, &g_page);
        Run(60);
        g_got.clear();
    }
    static void Run(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 5) {
            lv_tick_inc(5);
            lv_timer_handler();
        }
    }
    static void Send(int code, int value) {
        ASSERT_EQ(Key_IpcMsgEventCallbcak(KeyMsg(code, value).c_str(), nullptr), 0);
    }
    // What LVGL's keypad sees now.
    static lv_indev_data_t Read() {
        lv_indev_data_t d{};
        d.state = LV_INDEV_STATE_RELEASED;
        Key_ReadKeypad(nullptr, &d);
        return d;
    }
};

} // namespace

TEST_F(KeyInput, KeyReachesPageCallbackAndKeypad) {
    Send(KEY_CODE_OK, KEY_VALUE_PRESS);
    lv_indev_data_t d = Read();
    EXPECT_EQ(d.key, (uint32_t)LV_KEY_ENTER);
    EXPECT_EQ(d.state, LV_INDEV_STATE_PRESSED);
    Run(30);
    ASSERT_EQ(g_got.size(), 1u);
    EXPECT_EQ(g_got[0].code, 0u);
    EXPECT_EQ(g_got[0].value, 3u);
    EXPECT_EQ(g_got[0].user, &g_page);
    // Nothing new: the keypad repeats the last key and state, the page hears nothing more.
    d = Read();
    EXPECT_EQ(d.key, (uint32_t)LV_KEY_ENTER);
    EXPECT_EQ(d.state, LV_INDEV_STATE_PRESSED);
    Run(90);
    EXPECT_EQ(g_got.size(), 1u);
    Send(KEY_CODE_NEXT, KEY_VALUE_RELEASE);
    d = Read();
    EXPECT_EQ(d.key, (uint32_t)LV_KEY_NEXT);
    EXPECT_EQ(d.state, LV_INDEV_STATE_RELEASED);
    Run(30);
    ASSERT_EQ(g_got.size(), 2u);
    EXPECT_EQ(g_got[1].value, 4u);
    EXPECT_EQ(Key_CodeToLvKey(KEY_CODE_PREV), (uint32_t)LV_KEY_PREV);
    EXPECT_EQ(Key_CodeToLvKey(KEY_CODE_BACK), (uint32_t)LV_KEY_ESC);
    EXPECT_EQ(Key_CodeToLvKey(1), 0u);
}

TEST_F(KeyInput, DivertTakesKeysFromPageAndLvglAndReleasesAHeldKey) {
    Send(KEY_CODE_OK, KEY_VALUE_PRESS);
    ASSERT_EQ(Read().state, LV_INDEV_STATE_PRESSED);
    Key_SetInvalidFun(DivertCb, true, &g_dialog);
    EXPECT_EQ(Read().state, LV_INDEV_STATE_RELEASED);
    Run(30);
    g_got.clear();
    Send(KEY_CODE_BACK, KEY_VALUE_PRESS);
    lv_indev_data_t d = Read();
    EXPECT_EQ(d.key, (uint32_t)LV_KEY_ENTER); // LVGL got nothing new
    EXPECT_EQ(d.state, LV_INDEV_STATE_RELEASED);
    Run(30);
    ASSERT_EQ(g_got.size(), 1u);
    EXPECT_TRUE(g_got[0].diverted);
    EXPECT_EQ(g_got[0].code, 6u);
    EXPECT_EQ(g_got[0].user, &g_dialog);
    // Divert mode off again: the page has the keys back.
    Key_SetInvalidMode(false);
    Send(KEY_CODE_BACK, KEY_VALUE_RELEASE);
    Run(30);
    ASSERT_EQ(g_got.size(), 2u);
    EXPECT_FALSE(g_got[1].diverted);
}

TEST_F(KeyInput, BadMessagesChangeNothing) {
    Send(KEY_CODE_OK, KEY_VALUE_PRESS);
    Run(30);
    g_got.clear();
    const char *bad[] = {"{\"keycode\":2}",
                         "{\"keyvalue\":3}",
                         "{\"keycode\":\"2\",\"keyvalue\":3}",
                         "{\"keycode\":-1,\"keyvalue\":3}",
                         "not json",
                         "",
                         "{\"keycode\":2,\"keyvalue\":1e99}",
                         // Numbers outside the code and value tables, or not whole numbers.
                         "{\"keycode\":99,\"keyvalue\":3}",
                         "{\"keycode\":1,\"keyvalue\":3}",
                         "{\"keycode\":4294967295,\"keyvalue\":3}",
                         "{\"keycode\":2.7,\"keyvalue\":3}",
                         "{\"keycode\":2,\"keyvalue\":9}",
                         "{\"keycode\":2,\"keyvalue\":4294967295}",
                         "{\"keycode\":2,\"keyvalue\":3.5}",
                         "{\"keycode\":0,\"keyvalue\":0}"};
    for (const char *m : bad)
        EXPECT_EQ(Key_IpcMsgEventCallbcak(m, nullptr), -1) << m;
    EXPECT_EQ(Key_IpcMsgEventCallbcak(nullptr, nullptr), -1);
    lv_indev_data_t d = Read();
    EXPECT_EQ(d.key, (uint32_t)LV_KEY_ENTER);
    EXPECT_EQ(d.state, LV_INDEV_STATE_PRESSED);
    Run(90);
    EXPECT_TRUE(g_got.empty());
}

TEST_F(KeyInput, RemapSendsBackAsNextAndDropsPrevNextForLvglOnly) {
    Key_SetNavRemap(true);
    Send(KEY_CODE_BACK, KEY_VALUE_PRESS);
    EXPECT_EQ(Read().key, (uint32_t)LV_KEY_NEXT);
    Send(KEY_CODE_PREV, KEY_VALUE_PRESS);
    EXPECT_EQ(Read().key, 0u);
    Send(KEY_CODE_NEXT, KEY_VALUE_PRESS);
    EXPECT_EQ(Read().key, 0u);
    Send(KEY_CODE_OK, KEY_VALUE_PRESS);
    EXPECT_EQ(Read().key, (uint32_t)LV_KEY_ENTER);
    Send(KEY_CODE_BACK, KEY_VALUE_RELEASE);
    Run(30);
    ASSERT_EQ(g_got.size(), 1u);
    EXPECT_EQ(g_got[0].code, 6u);
}

TEST_F(KeyInput, TwoMessagesInOnePeriodDeliverTheSecond) {
    Send(KEY_CODE_NEXT, KEY_VALUE_PRESS);
    Send(KEY_CODE_PREV, KEY_VALUE_RELEASE);
    Run(60);
    ASSERT_EQ(g_got.size(), 1u);
    EXPECT_EQ(g_got[0].code, 3u);
    EXPECT_EQ(g_got[0].value, 4u);
}

TEST_F(KeyInput, KeypadMovesTheDefaultGroupFocus) {
    lv_obj_t *a = lv_btn_create(lv_scr_act());
    lv_obj_t *b = lv_btn_create(lv_scr_act());
    lv_group_t *g = Key_GetGroup();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(lv_group_get_default(), g);
    lv_group_focus_obj(a);
    Send(KEY_CODE_NEXT, KEY_VALUE_PRESS);
    Run(60);
    Send(KEY_CODE_NEXT, KEY_VALUE_RELEASE);
    Run(60);
    EXPECT_EQ(lv_group_get_focused(g), b);
    lv_obj_del(a);
    lv_obj_del(b);
}

namespace {
std::vector<lv_event_code_t> g_events;
void Record(lv_event_t *e) {
    g_events.push_back(lv_event_get_code(e));
}
} // namespace

TEST_F(KeyInput, PageRuleShortClickUpTo799Ms) {
    lv_obj_t *btn = lv_obj_create(lv_scr_act());
    lv_obj_add_event_cb(btn, Record, LV_EVENT_PRESSED, nullptr);
    lv_obj_add_event_cb(btn, Record, LV_EVENT_RELEASED, nullptr);
    lv_obj_add_event_cb(btn, Record, LV_EVENT_SHORT_CLICKED, nullptr);
    uint32_t tick = 0;
    for (uint32_t held : {799u, 800u}) {
        g_events.clear();
        EXPECT_EQ(Key_PageSendEvents(btn, KEY_VALUE_PRESS, &tick), KEY_PAGE_PRESS);
        lv_tick_inc(held);
        KeyPageAction a = Key_PageSendEvents(btn, KEY_VALUE_RELEASE, &tick);
        if (held == 799) {
            EXPECT_EQ(a, KEY_PAGE_SHORT_CLICK);
            EXPECT_EQ(g_events, (std::vector<lv_event_code_t>{LV_EVENT_PRESSED, LV_EVENT_RELEASED,
                                                              LV_EVENT_SHORT_CLICKED}));
        } else {
            EXPECT_EQ(a, KEY_PAGE_RELEASE);
            EXPECT_EQ(g_events, (std::vector<lv_event_code_t>{LV_EVENT_PRESSED, LV_EVENT_RELEASED}));
        }
    }
    g_events.clear();
    EXPECT_EQ(Key_PageSendEvents(btn, 7, &tick), KEY_PAGE_NONE);
    EXPECT_TRUE(g_events.empty());
    lv_obj_del(btn);

    KeyEvtInfo info{0, 3, nullptr};
    EXPECT_FALSE(Key_PageCheckInfo(nullptr));
    EXPECT_FALSE(Key_PageCheckInfo(&info));
    info.pcUserDate = &g_page;
    EXPECT_TRUE(Key_PageCheckInfo(&info));
}

TEST_F(KeyInput, ReleasedHandlerDeletingTheObjectGetsNoClick) {
    lv_obj_t *btn = lv_obj_create(lv_scr_act());
    lv_obj_add_event_cb(
        btn, [](lv_event_t *e) { lv_obj_del(lv_event_get_target(e)); }, LV_EVENT_RELEASED, nullptr);
    uint32_t tick = 0;
    Key_PageSendEvents(btn, KEY_VALUE_PRESS, &tick);
    EXPECT_EQ(Key_PageSendEvents(btn, KEY_VALUE_RELEASE, &tick), KEY_PAGE_SHORT_CLICK);
}
