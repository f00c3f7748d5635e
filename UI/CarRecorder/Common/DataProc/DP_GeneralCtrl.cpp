/* "GeneralCtrl": control items for the recorder, waiting for its answer or not. */
#include "DataProc.h"

#include "log.h"

namespace {

int DP_GeneralCtrl_onEvent(Account *pstAccount, Account::EventParam *pstParam) {
    (void)pstAccount;
    if (pstParam->event != Account::EVENT_NOTIFY) {
        return Account::RES_UNSUPPORTED;
    }
    if (pstParam->size != sizeof(GeneralCtrlReq) || pstParam->data_p == nullptr) {
        return Account::RES_SIZE_MISMATCH;
    }
    const GeneralCtrlReq *pstReq = static_cast<const GeneralCtrlReq *>(pstParam->data_p);
    int s32Ret = pstReq->bNoBlock == 0 ? IpcMsg_GeneralCtrlBlockingPublish(pstReq->eElem, pstReq->pcValue)
                                       : IpcMsg_GeneralCtrlNoBlockingPublish(pstReq->eElem, pstReq->pcValue);
    if (s32Ret != 0) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
        return Account::RES_FAILED;
    }
    return Account::RES_OK;
}

} // namespace

int DP_GeneralCtrl_Init(Account *pstAccount) {
    pstAccount->SetEventCallback(DP_GeneralCtrl_onEvent);
    return 0;
}
