#include "sendsync_wrap.h"

#include <algorithm>
#include <mutex>

#include "vyx_ipcmsg.h"

extern "C" int __real_VYX_IPCMSG_SendSync(const char *pcMsg, uint32_t len, uint32_t timeoutMs, char *pcRspBuf,
                                          uint32_t rspLen);

namespace datalayer {
namespace {
std::mutex s_mu;
std::vector<SyncCall> s_calls;
} // namespace

std::vector<SyncCall> SyncCalls() {
    std::lock_guard<std::mutex> l(s_mu);
    return s_calls;
}

void ClearSyncCalls() {
    std::lock_guard<std::mutex> l(s_mu);
    s_calls.clear();
}

} // namespace datalayer

extern "C" int __wrap_VYX_IPCMSG_SendSync(const char *pcMsg, uint32_t len, uint32_t timeoutMs, char *pcRspBuf,
                                          uint32_t rspLen) {
    MsgHeader h{};
    if (pcMsg != nullptr && VYX_IPCMSG_DecodeMsgHeader(pcMsg, &h) == 0) {
        std::lock_guard<std::mutex> l(datalayer::s_mu);
        datalayer::s_calls.push_back({h.msgID, timeoutMs, rspLen});
    }
    return __real_VYX_IPCMSG_SendSync(pcMsg, len, std::min(timeoutMs, datalayer::kWrappedTimeoutMs), pcRspBuf,
                                      rspLen);
}
