// Records the time-out of every synchronous exchange and waits at most kWrappedTimeoutMs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datalayer {

constexpr uint32_t kWrappedTimeoutMs = 300;

struct SyncCall {
    std::string msgID;
    uint32_t timeoutMs;
    uint32_t rspLen;
};

std::vector<SyncCall> SyncCalls();
void ClearSyncCalls();

} // namespace datalayer
