// The key message text as it arrives from the recorder.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "key.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    char text[2048];
    size_t n = size < sizeof(text) - 1 ? size : sizeof(text) - 1;
    memcpy(text, data, n);
    text[n] = '\0';
    Key_IpcMsgEventCallbcak(text, nullptr);
    lv_indev_data_t d{};
    Key_ReadKeypad(nullptr, &d);
    return 0;
}
