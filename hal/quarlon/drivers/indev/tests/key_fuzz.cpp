// The key message text as it arrives from the recorder, through to the page callback and LVGL's
// keypad device.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "key.h"

static void Page(KeyEvtInfo *pstEvtInfo) {
    Key_PageCheckInfo(pstEvtInfo);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static int page;
    static bool once = (Key_SetEventCallback(Page, &page), true);
    (void)once;
    char text[2048];
    size_t n = size < sizeof(text) - 1 ? size : sizeof(text) - 1;
    memcpy(text, data, n);
    text[n] = '\0';
    Key_IpcMsgEventCallbcak(text, nullptr);
    lv_indev_data_t d{};
    Key_ReadKeypad(nullptr, &d);
    KEY_EventLoop(nullptr);
    return 0;
}
