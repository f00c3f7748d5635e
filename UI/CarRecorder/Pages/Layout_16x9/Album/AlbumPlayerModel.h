/*
 * The player's model: the account "AlbumPlayerModel" (subscribed to "Player" for the end of
 * playback), the player commands, the page-busy flag of the status record and the counting and
 * filtering of event files.
 */
#ifndef ALBUM_PLAYER_MODEL_H
#define ALBUM_PLAYER_MODEL_H

#include <stdint.h>

#include <functional>

#include "AlbumCommon.h"

namespace Page {

/* Player states as "Player" reports them. */
enum AlbumPlayerState : int32_t {
    PLAYER_STATE_BUSY = 2,
    PLAYER_STATE_PLAYING = 3,
    PLAYER_STATE_PAUSED = 5,
    PLAYER_STATE_ENDED = 9,
};

class AlbumPlayerModel : public AlbumModelBase {
  public:
    /* Player events that end playback. */
    static bool IsEndEvent(int32_t eEvent) { return eEvent == 1 || eEvent == 5; }
    static bool IsStopped(int32_t eState) { return eState == 0 || eState == 1 || eState == 6 || eState == 7; }

    int Init(std::function<void(const PlayerState &)> fnOnEvent);
    void Deinit();
    int InitPlayer();
    int DeInitPlayer();

    /* One command to "Player" (PlayerCmdType); seek in ms, prepare with the clip's path. */
    int PlayerCommand(int32_t eCmd, int64_t s64SeekMs = 0, const char *pcFile = nullptr);
    int PlayerPlayerPrepare(const char *pcPath) { return PlayerCommand(PLAYER_CMD_PREPARE, 0, pcPath); }
    int PlayerSeek(int64_t s64Ms) { return PlayerCommand(PLAYER_CMD_SEEK, s64Ms); }
    /* Stop unless the player is stopped or idle already. */
    int PlayerStopCtrl(int32_t eState);
    /* The player's state from the recorder; -1 when it cannot be had. */
    int32_t PlayerGetState();
    /* Writes the page-busy flag into the status record. */
    int PlayerSetPageIsBusy(bool bBusy);

    /* Clips and photos of an event list, "_D" names left out. */
    static void CalEventFilesCnt(const std::vector<VYX_UI_Album_FileEntry_S> &astFiles, uint32_t *pu32Rec,
                                 uint32_t *pu32Photo);
    static std::vector<VYX_UI_Album_FileEntry_S>
    FilterEventFiles(const std::vector<VYX_UI_Album_FileEntry_S> &astFiles);

  protected:
    int OnAccountEvent(Account::EventParam *param) override;

  private:
    std::function<void(const PlayerState &)> m_fnOnEvent;
};

} // namespace Page

#endif /* ALBUM_PLAYER_MODEL_H */
