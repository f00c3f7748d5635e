/* "DevsInfo", "KovarInfo", "LteInfo": a pull copies the record, a notify clears it (and, for
 * DevsInfo and LteInfo, queries the recorder again on the notifying thread). */
#include "DataProc.h"

#include "log.h"

namespace {

template <typename Record, int (*Copy)(Record *), int (*Load)(void)>
int DP_InfoEvent(Account *pstAccount, Account::EventParam *pstParam) {
    (void)pstAccount;
    switch (pstParam->event) {
    case Account::EVENT_PULL:
        if (pstParam->size != sizeof(Record) || pstParam->data_p == nullptr) {
            return Account::RES_SIZE_MISMATCH;
        }
        return Copy(static_cast<Record *>(pstParam->data_p)) == 0 ? Account::RES_OK : Account::RES_FAILED;
    case Account::EVENT_NOTIFY: {
        int s32Ret = Load();
        if (s32Ret != 0) {
            LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
            return Account::RES_FAILED;
        }
        return Account::RES_OK;
    }
    default:
        return Account::RES_UNSUPPORTED;
    }
}

} // namespace

int DP_DevsInfo_Init(Account *pstAccount) {
    pstAccount->SetEventCallback(DP_InfoEvent<DevsInfo, IpcMsg_DevsInfoCopy, IpcMsg_DevsInfoLoad>);
    return 0;
}

int DP_KovarInfo_Init(Account *pstAccount) {
    pstAccount->SetEventCallback(DP_InfoEvent<KovarInfo, IpcMsg_KovarInfoCopy, IpcMsg_KovarInfoLoad>);
    return 0;
}

int DP_LteInfo_Init(Account *pstAccount) {
    pstAccount->SetEventCallback(DP_InfoEvent<LteInfo, IpcMsg_LteInfoCopy, IpcMsg_LteInfoLoad>);
    return 0;
}
