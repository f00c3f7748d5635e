// Requests before the agent is started.
#include <gtest/gtest.h>

#include <cstring>

#include "vyx_ipcmsg.h"

TEST(IpcMsgNotInit, EveryKindOfSendReportsNotInitialised) {
    const char *msg = "{\"msgHdr\":{\"protVer\":0,\"msgID\":\"X\",\"transID\":1,\"isAck\":0,\"needAck\":1}}";
    uint32_t len = (uint32_t)strlen(msg) + 1;
    char rsp[128];
    EXPECT_EQ(VYX_IPCMSG_SendSync(msg, len, 100, rsp, sizeof(rsp)), VYX_IPCMSG_ERR_NOT_INIT);
    EXPECT_EQ(VYX_IPCMSG_SendAsync(msg, len, nullptr), VYX_IPCMSG_ERR_NOT_INIT);
    EXPECT_EQ(VYX_IPCMSG_SendNoRsp(msg, len), VYX_IPCMSG_ERR_NOT_INIT);
    EXPECT_EQ(VYX_IPCMSG_SendSync(nullptr, 0, 100, rsp, sizeof(rsp)), -1);
    EXPECT_EQ(VYX_IPCMSG_PendingCount(), 0);
}

TEST(IpcMsgNotInit, HandlingWithoutTableDropsTheMessage) {
    const char *req = "{\"msgHdr\":{\"protVer\":0,\"msgID\":\"X\",\"transID\":1,\"isAck\":0,\"needAck\":1}}";
    EXPECT_EQ(VYX_IPCMSG_HandleMsg(req), -1);
    EXPECT_EQ(VYX_IPCMSG_HandleMsg("garbage"), -1);
    // An answer without any pending request is dropped.
    const char *ans = "{\"msgHdr\":{\"protVer\":0,\"msgID\":\"X\",\"transID\":1,\"isAck\":1,\"needAck\":0}}";
    EXPECT_EQ(VYX_IPCMSG_HandleMsg(ans), 0);
}
