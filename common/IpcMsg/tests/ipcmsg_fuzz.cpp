// Every inbound text the agent parses: header decoding and dispatch of a received document.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "vyx_ipcmsg.h"

static int Row(const char *, const MsgHeader *) {
    return 0;
}
static const VYX_IPCMSG_HandlerRow kRows[] = {{"IPCMSG_SYSTEMSTATUS", Row}, {"", Row}};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static bool started = VYX_IPCMSG_AgentInit(0x5A5A0001, 0x5A5A0002, kRows, 2) == 0;
    (void)started;
    char text[VYX_IPCMSG_TEXT_SIZE];
    size_t n = size < sizeof(text) - 1 ? size : sizeof(text) - 1;
    memcpy(text, data, n);
    text[n] = '\0';
    MsgHeader hdr;
    VYX_IPCMSG_DecodeMsgHeader(text, &hdr);
    VYX_IPCMSG_HandleMsg(text);
    return 0;
}
