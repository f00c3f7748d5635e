#include "AlbumPlayerModel.h"

#include <string.h>

#include "log.h"

namespace Page {

int AlbumPlayerModel::Init(std::function<void(const PlayerState &)> fnOnEvent) {
    m_fnOnEvent = std::move(fnOnEvent);
    return CreateAccount("AlbumPlayerModel",
                         {DP_ACCOUNT_PLAYER, DP_ACCOUNT_STATUS_BAR, DP_ACCOUNT_SYSTEM_STATUS,
                          DP_ACCOUNT_GENERAL_CTRL, DP_ACCOUNT_INFO_TIPS});
}

void AlbumPlayerModel::Deinit() {
    DeleteAccount();
    m_fnOnEvent = nullptr;
}

int AlbumPlayerModel::InitPlayer() {
    LOG_INFO("Will init player\n");
    return PlayerCommand(PLAYER_CMD_INIT);
}

int AlbumPlayerModel::DeInitPlayer() {
    return PlayerCommand(PLAYER_CMD_DEINIT);
}

int AlbumPlayerModel::OnAccountEvent(Account::EventParam *param) {
    if (param->event != Account::EVENT_PUBLISH) {
        return Account::RES_UNSUPPORTED;
    }
    if (strcmp(param->tran->ID, DP_ACCOUNT_PLAYER) != 0 || param->size != sizeof(PlayerState)) {
        return -1;
    }
    PlayerState stEvent;
    memcpy(&stEvent, param->data_p, sizeof stEvent);
    LOG_INFO("playevnet:%d\n", (int)stEvent.eEvent);
    if (m_fnOnEvent) {
        m_fnOnEvent(stEvent);
    }
    return Account::RES_OK;
}

int AlbumPlayerModel::PlayerCommand(int32_t eCmd, int64_t s64SeekMs, const char *pcFile) {
    PlayerCtrlReq stReq;
    memset(&stReq, 0, sizeof stReq);
    stReq.eCmd = eCmd;
    stReq.llSeekPos = s64SeekMs;
    stReq.pcFileName = pcFile;
    return Notify(DP_ACCOUNT_PLAYER, &stReq, sizeof stReq);
}

int AlbumPlayerModel::PlayerStopCtrl(int32_t eState) {
    if (IsStopped(eState)) {
        return 0;
    }
    return PlayerCommand(PLAYER_CMD_STOP);
}

int32_t AlbumPlayerModel::PlayerGetState() {
    if (CheckAccount() != 0) {
        return -1;
    }
    PlayerState stState;
    memset(&stState, 0, sizeof stState);
    if (m_pstAccount->Pull(DP_ACCOUNT_PLAYER, &stState, sizeof stState) != Account::RES_OK) {
        return -1;
    }
    return stState.eState;
}

int AlbumPlayerModel::PlayerSetPageIsBusy(bool bBusy) {
    if (CheckAccount() != 0) {
        return -1;
    }
    SystemStatusInfo stInfo;
    if (m_pstAccount->Pull(DP_ACCOUNT_SYSTEM_STATUS, &stInfo, sizeof stInfo) != Account::RES_OK) {
        LOG_ERROR("Pull error\n");
        return -1;
    }
    stInfo.bPageBusy = bBusy ? 1 : 0;
    if (m_pstAccount->Notify(DP_ACCOUNT_SYSTEM_STATUS, &stInfo, sizeof stInfo) != Account::RES_OK) {
        LOG_ERROR("Notify error\n");
        return -1;
    }
    return 0;
}

void AlbumPlayerModel::CalEventFilesCnt(const std::vector<VYX_UI_Album_FileEntry_S> &astFiles,
                                        uint32_t *pu32Rec, uint32_t *pu32Photo) {
    uint32_t u32Rec = 0, u32Photo = 0;
    for (const auto &stEntry : FilterEventFiles(astFiles)) {
        if (Album_IsClip(stEntry.szFileName)) {
            ++u32Rec;
        } else if (Album_IsPhoto(stEntry.szFileName)) {
            ++u32Photo;
        }
    }
    LOG_INFO("rec[%d] photo[%d]\n", (int)u32Rec, (int)u32Photo);
    *pu32Rec = u32Rec;
    *pu32Photo = u32Photo;
}

std::vector<VYX_UI_Album_FileEntry_S>
AlbumPlayerModel::FilterEventFiles(const std::vector<VYX_UI_Album_FileEntry_S> &astFiles) {
    std::vector<VYX_UI_Album_FileEntry_S> astOut;
    for (const auto &stEntry : astFiles) {
        const char *pcName = stEntry.szFileName;
        if ((Album_IsClip(pcName) || Album_IsPhoto(pcName)) && strstr(pcName, "_D") == nullptr) {
            astOut.push_back(stEntry);
        }
    }
    return astOut;
}

} // namespace Page
