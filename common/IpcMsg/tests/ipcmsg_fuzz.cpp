// Every inbound text the agent parses: header decoding and dispatch of a received document, to a
// handler row for a request and to a waiting request (asynchronous or synchronous) for an answer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "vyx_ipcmsg.h"

static int Row(const char *, const MsgHeader *) {
    return 0;
}
static void Answered(const char *, const MsgHeader *) {}
static const VYX_IPCMSG_HandlerRow kRows[] = {{"IPCMSG_SYSTEMSTATUS", Row}, {"", Row}};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static bool started = VYX_IPCMSG_AgentInit(0x5A5A0001, 0x5A5A0002, kRows, 2) == 0;
    (void)started;
    char text[VYX_IPCMSG_TEXT_SIZE];
    size_t n = size < sizeof(text) - 1 ? size : sizeof(text) - 1;
    memcpy(text, data, n);
    text[n] = '\0';
    MsgHeader hdr;
    VYX_IPCMSG_ReqNode *node = nullptr;
    char answer[64];
    if (VYX_IPCMSG_DecodeMsgHeader(text, &hdr) == 0 && hdr.isAck) {
        // Someone waits for this answer: odd transaction ids synchronously, even ones not.
        bool sync = hdr.transID % 2 != 0;
        VYX_IPCMSG_AddReqListItem(sync ? VYX_IPCMSG_NODE_SYNC : VYX_IPCMSG_NODE_ASYNC,
                                  sync ? nullptr : Answered, &node, &hdr, sync ? answer : nullptr,
                                  sync ? sizeof(answer) : 0);
        if (!sync) {
            node = nullptr; // the answer removes it
        }
    }
    VYX_IPCMSG_HandleMsg(text);
    if (node != nullptr) {
        VYX_IPCMSG_RemoveReqListItem(node);
    }
    return 0;
}
