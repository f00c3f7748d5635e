#include "page_test_env.h"

#include <png.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "DataProc.h"
#include "IpcMsg_DevFacTest.h"
#include "key.h"
#include "log.h"
#include "lv_label_ext_func.h"

namespace pagetest {

namespace {

std::vector<uint32_t> s_frame((size_t)kW *kH, 0);
std::vector<lv_color_t> s_buf((size_t)kW *kH);
lv_disp_draw_buf_t s_drawBuf;
lv_disp_drv_t s_drv;

/* The user interface's inbound rows (album rows join when the album module exists). */
const VYX_IPCMSG_HandlerRow s_astRows[] = {
    {"IPCMSG_SYSTEMSTATUS", IpcMsg_UpdateStatuslCallbcak},
    {"IPCMSG_TRIGGEREVT", IpcMsg_TriggerEvtlCallbcak},
    {"IPCMSG_KEYEVENT", Key_IpcMsgEventCallbcak},
    {"IPCMSG_DEV_FACTEST_CB", IpcMsg_DevFacTestStatuslCallbcak},
};

void FlushCb(lv_disp_drv_t *drv, const lv_area_t *area, lv_color_t *px) {
    const lv_coord_t w = lv_area_get_width(area);
    for (lv_coord_t y = area->y1; y <= area->y2; y++)
        for (lv_coord_t x = area->x1; x <= area->x2; x++)
            s_frame[(size_t)y * kW + (size_t)x] =
                px[(size_t)(y - area->y1) * (size_t)w + (size_t)(x - area->x1)].full;
    lv_disp_flush_ready(drv);
}

int TestAccountEvent(Account *, Account::EventParam *p) {
    if (p->event == Account::EVENT_PUBLISH) {
        const uint8_t *d = static_cast<const uint8_t *>(p->data_p);
        PublishedLog().push_back({p->tran->ID, std::vector<uint8_t>(d, d + p->size)});
        return 0;
    }
    return Account::RES_UNSUPPORTED;
}

void Mkdirs(const std::string &path) {
    for (size_t i = 1; i <= path.size(); i++)
        if (i == path.size() || path[i] == '/')
            mkdir(path.substr(0, i).c_str(), 0755);
}

} // namespace

void Up(const char *pcLangCode) {
    static bool s_up = false;
    Lang_SetCode(pcLangCode);
    if (s_up)
        return;
    s_up = true;
    Log_Config(true, true, LOG_LEVEL_WARN);
    lv_init();
    lv_disp_draw_buf_init(&s_drawBuf, s_buf.data(), nullptr, (uint32_t)s_buf.size());
    lv_disp_drv_init(&s_drv);
    s_drv.hor_res = kW;
    s_drv.ver_res = kH;
    s_drv.flush_cb = FlushCb;
    s_drv.draw_buf = &s_drawBuf;
    lv_disp_drv_register(&s_drv);
    lv_obj_t *scr = lv_scr_act();
    lv_obj_remove_style_all(scr);
    lv_obj_set_style_bg_opa(scr, LV_OPA_COVER, 0);
    lv_obj_set_style_bg_color(scr, lv_color_black(), 0);
    lv_obj_clear_flag(scr, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_set_size(scr, kW, kH);
    Key_Init();
    DP_Init();
    Recorder().Start();
    VYX_IPCMSG_AgentInit(VYX_IPCMSG_KEY_UI_RECV, VYX_IPCMSG_KEY_UI_SEND, s_astRows,
                         (int)(sizeof(s_astRows) / sizeof(s_astRows[0])));
    TestAccount();
    Refresh();
}

void SetBackground(uint32_t u32Rgb) {
    lv_obj_set_style_bg_color(lv_scr_act(), lv_color_hex(u32Rgb), 0);
}

void Advance(uint32_t ms, uint32_t step) {
    for (uint32_t t = 0; t < ms; t += step) {
        lv_tick_inc(step);
        lv_timer_handler();
    }
}

void Refresh() {
    lv_refr_now(nullptr);
}

const std::vector<uint32_t> &Frame() {
    return s_frame;
}

int Deliver(const std::string &doc) {
    return VYX_IPCMSG_HandleMsg(doc.c_str());
}

void Key(uint32_t u32Code, uint32_t u32Value) {
    Deliver(FakeRecorder::Msg("IPCMSG_KEYEVENT", "{\"keycode\":" + std::to_string(u32Code) +
                                                     ",\"keyvalue\":" + std::to_string(u32Value) + "}"));
    Advance(30);
}

void Click(uint32_t u32Code) {
    Key(u32Code, KEY_VALUE_PRESS);
    Advance(70);
    Key(u32Code, KEY_VALUE_RELEASE);
}

FakeRecorder &Recorder() {
    static FakeRecorder *s_rec = new FakeRecorder(); /* lives as long as the receive threads */
    return *s_rec;
}

std::vector<Published> &PublishedLog() {
    static std::vector<Published> s_log;
    return s_log;
}

Account *TestAccount() {
    static Account *s_acc = [] {
        Account *a = new Account("PageTest", DataProc_GetCenter());
        for (const char *name : {DP_ACCOUNT_GENERAL_SETING, DP_ACCOUNT_PLAYER, DP_ACCOUNT_SYSTEM_STATUS,
                                 DP_ACCOUNT_STATUS_BAR, DP_ACCOUNT_GENERAL_CTRL, DP_ACCOUNT_DEVS_INFO,
                                 DP_ACCOUNT_INFO_TIPS, DP_ACCOUNT_KOVAR_INFO, DP_ACCOUNT_LTE_INFO})
            a->Subscribe(name);
        a->SetEventCallback(TestAccountEvent);
        return a;
    }();
    return s_acc;
}

bool WritePng(const std::string &path, int w, int h, const uint32_t *argb) {
    png_image img;
    memset(&img, 0, sizeof(img));
    img.version = PNG_IMAGE_VERSION;
    img.width = (png_uint_32)w;
    img.height = (png_uint_32)h;
    img.format = PNG_FORMAT_BGRA;
    return png_image_write_to_file(&img, path.c_str(), 0, argb, 0, nullptr) != 0;
}

bool ReadPng(const std::string &path, int &w, int &h, std::vector<uint32_t> &argb) {
    png_image img;
    memset(&img, 0, sizeof(img));
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str()))
        return false;
    img.format = PNG_FORMAT_BGRA;
    w = (int)img.width;
    h = (int)img.height;
    argb.resize((size_t)w * (size_t)h);
    bool ok = png_image_finish_read(&img, nullptr, argb.data(), 0, nullptr) != 0;
    png_image_free(&img);
    return ok;
}

::testing::AssertionResult MatchesReference(const std::string &refDir, const std::string &name) {
    Refresh();
    const char *build = std::getenv("RECORDER_BUILD_DIR");
    const std::string outDir = std::string(build != nullptr ? build : ".") + "/page_test_out";
    Mkdirs(outDir);
    WritePng(outDir + "/" + name + ".png", kW, kH, s_frame.data());
    const std::string ref = refDir + "/" + name + ".png";
    const char *update = std::getenv("RECORDER_UPDATE_REFS");
    if (update != nullptr && strcmp(update, "1") == 0) {
        Mkdirs(refDir);
        return WritePng(ref, kW, kH, s_frame.data())
                   ? ::testing::AssertionSuccess()
                   : ::testing::AssertionFailure() << "cannot write " << ref;
    }
    int w = 0, h = 0;
    std::vector<uint32_t> expected;
    if (!ReadPng(ref, w, h, expected))
        return ::testing::AssertionFailure()
               << "no reference " << ref << " (run with RECORDER_UPDATE_REFS=1)";
    if (w != kW || h != kH)
        return ::testing::AssertionFailure() << ref << " is " << w << "x" << h;
    size_t bad = 0;
    int worst = 0;
    for (size_t i = 0; i < expected.size(); i++) {
        int d = 0;
        for (int s = 0; s < 24; s += 8)
            d = std::max(d, std::abs((int)((s_frame[i] >> s) & 0xFF) - (int)((expected[i] >> s) & 0xFF)));
        worst = std::max(worst, d);
        bad += d > kChannelTolerance;
    }
    if (bad > (size_t)kMaxDifferingPixels)
        return ::testing::AssertionFailure() << name << ": " << bad << " pixels differ (worst by " << worst
                                             << "); the frame is in " << outDir;
    return ::testing::AssertionSuccess();
}

size_t CountNot(uint32_t rgb, int x1, int y1, int x2, int y2) {
    size_t n = 0;
    for (int y = y1; y <= y2; y++)
        for (int x = x1; x <= x2; x++)
            n += (s_frame[(size_t)y * kW + (size_t)x] & 0xFFFFFF) != (rgb & 0xFFFFFF);
    return n;
}

} // namespace pagetest
