#include "AlbumPlayer.h"

#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <chrono>

#include "log.h"
#include "lv_label_ext_func.h"
#include "sys_paths.h"

namespace Page {

namespace {

AlbumPlayer *s_pstCurrent = nullptr;

} // namespace

AlbumPlayer::AlbumPlayer() = default;

AlbumPlayer::~AlbumPlayer() {
    StopCheckThread();
    VYX_UI_ALBUM_RegisterDelFileCb(nullptr, nullptr);
    if (m_pstTimer != nullptr) {
        lv_timer_del(m_pstTimer);
    }
    VYX_UI_Album_FreeCatTable(&m_stCatTable);
    if (s_pstCurrent == this) {
        s_pstCurrent = nullptr;
    }
}

AlbumPlayer *AlbumPlayer::Current() {
    return s_pstCurrent;
}

void AlbumPlayer::onViewLoad() {
    Model.Init([this](const ::PlayerState &stEvent) {
        if (AlbumPlayerModel::IsEndEvent(stEvent.eEvent)) {
            std::lock_guard<std::mutex> stGuard(m_stLock);
            m_bPlayEnd = true;
            LOG_INFO("============Play end==========\n");
        }
    });
    Model.InitPlayer();
    m_bReleased = false;
    View.Create(root, onEvent, this);

    const char *pcPath = static_cast<const char *>(priv.Stash.ptr);
    std::string strPath =
        pcPath != nullptr && priv.Stash.size > 0 ? std::string(pcPath, strnlen(pcPath, priv.Stash.size)) : "";
    uint32_t u32Index = 0;
    const AlbumSession &stSession = Album_Session();
    /* Events play their clips and photos only ("_D" names stay out). */
    bool bEvents = stSession.eCategory != ALBUM_CATEGORY_REC;
    std::vector<VYX_UI_Album_FileEntry_S> astFiles =
        bEvents ? AlbumPlayerModel::FilterEventFiles(stSession.astFiles) : stSession.astFiles;
    if (bEvents) {
        uint32_t u32Rec = 0, u32Photo = 0;
        AlbumPlayerModel::CalEventFilesCnt(astFiles, &u32Rec, &u32Photo);
    }
    for (uint32_t i = 0; i < astFiles.size(); ++i) {
        char szPath[256] = "";
        if (VYX_UI_ALBUM_GetFilePathByRecNode(&astFiles[i], szPath, sizeof szPath) == 0 &&
            strPath == szPath) {
            u32Index = i;
            break;
        }
    }
    if (stSession.eCategory != ALBUM_CATEGORY_REC) {
        VYX_UI_Album_QueryRalatedFilesTable(
            stSession.eCategory == ALBUM_CATEGORY_PHOTO ? VYX_UI_ALBUM_FRONT_SNAP : VYX_UI_ALBUM_FRONT_EMER,
            &m_stCatTable);
    }
    {
        std::lock_guard<std::mutex> stGuard(m_stLock);
        m_astFiles = astFiles;
        m_ulCurIndex = u32Index;
        m_bSwitchReq = !m_astFiles.empty();
        m_u32SwitchTries = 0;
    }
    m_stDelSt = DelState();
    VYX_UI_ALBUM_RegisterDelFileCb(DelFilesCbFun, this);
    StartCheckThread();
}

void AlbumPlayer::onViewDidLoad() {}

void AlbumPlayer::onViewWillAppear() {
    lv_obj_clear_flag(root, LV_OBJ_FLAG_HIDDEN);
    s_pstCurrent = this;
    StatusBar_ShowType(STATUSBAR_SHOW_REC_TITLE);
    m_u32LastTick = lv_tick_get();
    m_pstTimer = lv_timer_create([](lv_timer_t *t) { static_cast<AlbumPlayer *>(t->user_data)->onTimer(); },
                                 kTimerPeriod, this);
}

void AlbumPlayer::onViewDidAppear() {
    AttachEvent();
}

void AlbumPlayer::AttachEvent() {
    Key_SetEventCallback(KeyEventCallBack, this);
}

void AlbumPlayer::onViewWillDisappear() {
    lv_obj_add_flag(root, LV_OBJ_FLAG_HIDDEN); /* a page on top may be see-through */
    Key_SetEventCallback(nullptr, nullptr);
    for (const char *pcList : {SYS_PATH_FILELIST, SYS_PATH_CATFILELIST}) {
        if (access(pcList, F_OK) == 0) {
            unlink(pcList);
        }
    }
    ReleasePlayer();
    if (m_pstTimer != nullptr) {
        lv_timer_del(m_pstTimer);
        m_pstTimer = nullptr;
    }
    if (s_pstCurrent == this) {
        s_pstCurrent = nullptr;
    }
}

void AlbumPlayer::onViewDidUnload() {
    VYX_UI_ALBUM_RegisterDelFileCb(nullptr, nullptr);
    VYX_UI_Album_FreeCatTable(&m_stCatTable);
    Model.Deinit();
    View.Delete();
}

void AlbumPlayer::ReleasePlayer() {
    StopCheckThread();
    if (m_bReleased) {
        return;
    }
    m_bReleased = true;
    Model.PlayerStopCtrl(m_ePlayerState);
    if (m_bBusy) {
        m_bBusy = false;
        VYX_UI_Album_SetPlayerBusy(false);
    }
    Model.PlayerSetPageIsBusy(false);
    Model.CtrlGeneralCtrlItem(CTRL_ELEM_SCRDOMANT_TIMER, "resume");
    Model.DeInitPlayer();
    m_ePlayerState = 0;
}

/* ---- the play-check thread ---- */

void AlbumPlayer::StartCheckThread() {
    if (m_stPlayCheckTid.joinable()) {
        return;
    }
    m_bCheckRun = true;
    m_stPlayCheckTid = std::thread([this] { PlayCheck_Thread(); });
}

void AlbumPlayer::StopCheckThread() {
    if (!m_stPlayCheckTid.joinable()) {
        return;
    }
    LOG_INFO("\33[0;32;32mJoin m_stPriv.stPlayCheckTid \n\33[m");
    m_bCheckRun = false;
    m_stPlayCheckTid.join();
    LOG_INFO("\33[0;32;32mJoin m_stPriv.stPlayCheckTid finish\n\33[m");
}

void AlbumPlayer::PlayCheck_Thread() {
    while (m_bCheckRun) {
        int32_t eState = Model.PlayerGetState();
        if (eState >= 0) {
            m_ePlayerState = eState;
        }
        bool bEnd, bSwitch, bPlayPause;
        {
            std::lock_guard<std::mutex> stGuard(m_stLock);
            bEnd = m_bPlayEnd;
            bSwitch = m_bSwitchReq;
            bPlayPause = m_bPlayPauseReq;
        }
        if (bEnd) {
            if (PlayerPlayEndHandle() != 0) {
                LOG_ERROR("PlayerPlayEndHandle Error\n");
            }
            std::lock_guard<std::mutex> stGuard(m_stLock);
            m_bPlayEnd = false;
        }
        if (bSwitch) {
            if (m_ePlayerState == PLAYER_STATE_BUSY) {
                LOG_INFO("\33[0;32;32mPlayer is busy now \n\33[m");
            } else {
                VYX_UI_Album_FileEntry_S stEntry;
                bool bHave = false;
                uint32_t u32Index = 0;
                {
                    std::lock_guard<std::mutex> stGuard(m_stLock);
                    if (m_ulCurIndex < m_astFiles.size()) {
                        stEntry = m_astFiles[m_ulCurIndex];
                        u32Index = m_ulCurIndex;
                        bHave = true;
                    }
                }
                LOG_INFO("switch to index[%d]\n", (int)u32Index);
                bool bDone = bHave && PlayerPlayFile(stEntry) == 0;
                bool bStop = false;
                {
                    std::lock_guard<std::mutex> stGuard(m_stLock);
                    if (bDone || m_astFiles.empty() || ++m_u32SwitchTries >= m_astFiles.size()) {
                        m_bSwitchReq = false; /* played, or every file failed once */
                        m_u32SwitchTries = 0;
                    } else {
                        LOG_WARN("PlayerSwitchFile Error,Will auto switch to next file\n");
                        m_ulCurIndex = (m_ulCurIndex + 1) % (uint32_t)m_astFiles.size();
                        bStop = true;
                    }
                }
                if (bStop) {
                    Model.PlayerStopCtrl(m_ePlayerState);
                }
            }
        }
        if (bPlayPause) {
            PlayerPlayPauseCtrl(m_ePlayerState);
            std::lock_guard<std::mutex> stGuard(m_stLock);
            m_bPlayPauseReq = false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kCheckPeriod));
    }
    LOG_INFO("end\n");
}

int AlbumPlayer::PlayerPlayEndHandle() {
    m_ePlayerState = PLAYER_STATE_ENDED;
    return 0;
}

int AlbumPlayer::PlayerPlayPauseCtrl(int32_t eState) {
    switch (eState) {
    case PLAYER_STATE_PLAYING:
        return Model.PlayerCommand(PLAYER_CMD_PAUSE);
    case PLAYER_STATE_PAUSED:
        return Model.PlayerCommand(PLAYER_CMD_RESUME);
    case PLAYER_STATE_ENDED: {
        std::lock_guard<std::mutex> stGuard(m_stLock);
        m_bSwitchReq = true; /* the same file from its start */
        return 0;
    }
    default:
        return 0;
    }
}

uint32_t AlbumPlayer::GetMp4FileDurationByName(const char *pcName) const {
    if (strstr(pcName, "F_") != nullptr || m_stCatTable.pstCatList == nullptr) {
        return 0;
    }
    return VYX_UI_Album_GetDurationByCatFileName(&m_stCatTable, pcName);
}

int AlbumPlayer::PlayerPlayFile(const VYX_UI_Album_FileEntry_S &stEntry) {
    const char *pcName = stEntry.szFileName;
    Model.PlayerStopCtrl(m_ePlayerState);
    if (Album_IsClip(pcName)) {
        LOG_INFO("==============Play Mp4 file===============\n");
        char szPath[256] = "";
        if (VYX_UI_ALBUM_GetFilePathByRecNode(&stEntry, szPath, sizeof szPath) != 0 || szPath[0] == '\0') {
            return -1;
        }
        if (Model.PlayerPlayerPrepare(szPath) != 0 || Model.PlayerCommand(PLAYER_CMD_PLAY) != 0) {
            return -1;
        }
        uint32_t u32Duration = GetMp4FileDurationByName(pcName);
        LOG_INFO("m_stPriv.ulDuration:  %d    %02d:%02d\n", (int)u32Duration, (int)(u32Duration / 60),
                 (int)(u32Duration % 60));
        std::lock_guard<std::mutex> stGuard(m_stLock);
        m_bCurIsClip = true;
        m_ulDuration = u32Duration;
        m_strPhoto.clear();
        m_bUiDirty = true;
        return 0;
    }
    if (Album_IsPhoto(pcName)) {
        LOG_INFO("==============Play Jpg file===============\n");
        return PlayerPlayJpgFile(stEntry);
    }
    LOG_ERROR("Not support file:%s\n", pcName);
    return -1;
}

int AlbumPlayer::PlayerPlayJpgFile(const VYX_UI_Album_FileEntry_S &stEntry) {
    char szBitmap[512] = "";
    if (VYX_UI_ALBUM_LoadPhotoDateHandle(stEntry.szFileName, stEntry.u32StorIndex != 0, szBitmap,
                                         sizeof szBitmap) != 0) {
        return -1;
    }
    std::lock_guard<std::mutex> stGuard(m_stLock);
    m_bCurIsClip = false;
    m_ulDuration = 0;
    m_strPhoto = szBitmap;
    m_bUiDirty = true;
    return 0;
}

/* ---- requests from the page ---- */

uint32_t AlbumPlayer::PlayerUpdatePlayIndex(int32_t s32Step) {
    std::lock_guard<std::mutex> stGuard(m_stLock);
    uint32_t u32Num = (uint32_t)m_astFiles.size();
    if (u32Num == 0) {
        return 0;
    }
    int64_t s64Next = (int64_t)m_ulCurIndex + s32Step;
    if (s64Next >= (int64_t)u32Num) {
        s64Next = 0;
    } else if (s64Next < 0) {
        s64Next = u32Num - 1;
    }
    m_ulCurIndex = (uint32_t)s64Next;
    LOG_INFO("eOption:%d   ulCurIndex[%d]\n", (int)s32Step, (int)m_ulCurIndex);
    return m_ulCurIndex;
}

bool AlbumPlayer::RequestSwitch() {
    std::lock_guard<std::mutex> stGuard(m_stLock);
    if (m_bSwitchReq) {
        LOG_INFO("erre return\n");
        return false;
    }
    m_bSwitchReq = true;
    m_u32SwitchTries = 0;
    return true;
}

void AlbumPlayer::RequestPlayPause() {
    std::lock_guard<std::mutex> stGuard(m_stLock);
    m_bPlayPauseReq = true;
}

std::vector<VYX_UI_Album_FileEntry_S> AlbumPlayer::CopyFiles() {
    std::lock_guard<std::mutex> stGuard(m_stLock);
    return m_astFiles;
}

uint32_t AlbumPlayer::CurIndex() {
    std::lock_guard<std::mutex> stGuard(m_stLock);
    return m_ulCurIndex;
}

uint32_t AlbumPlayer::Duration() {
    std::lock_guard<std::mutex> stGuard(m_stLock);
    return m_ulDuration;
}

/* ---- the page timer ---- */

void AlbumPlayer::onTimer() {
    uint32_t u32Elapsed = lv_tick_elaps(m_u32LastTick);
    m_u32LastTick = lv_tick_get();
    TakeDelResults();
    if (m_bLeaveReq) {
        m_bLeaveReq = false;
        if (Manager != nullptr) {
            Manager->Pop();
        }
        return;
    }
    bool bDirty;
    std::string strPhoto;
    bool bClip;
    {
        std::lock_guard<std::mutex> stGuard(m_stLock);
        bDirty = m_bUiDirty;
        m_bUiDirty = false;
        strPhoto = m_strPhoto;
        bClip = m_bCurIsClip;
    }
    if (bDirty) {
        m_u32PlayedMs = 0;
        if (bClip || strPhoto.empty()) {
            View.HidePhoto();
        } else {
            View.ShowPhoto(strPhoto.c_str());
        }
        SetNaviForPlaying(m_bBusy);
        Album_SetHidden(View.ui.progress, !bClip);
        Album_SetHidden(View.ui.navi.ok, !bClip && View.ui.del_page == nullptr);
        PlayerRefershStatusBar();
    }
    FollowPlayerState();
    if (bClip && View.ui.del_page == nullptr) {
        PlayerRefershUiProgress(u32Elapsed);
    }
}

/* Playing: the screen stays on and the page is busy; stopped again: both undone. */
void AlbumPlayer::FollowPlayerState() {
    bool bPlaying = m_ePlayerState == PLAYER_STATE_PLAYING;
    if (bPlaying && !m_bBusy) {
        m_bBusy = true;
        VYX_UI_Album_SetPlayerBusy(true);
        Model.CtrlGeneralCtrlItem(CTRL_ELEM_SCRDOMANT_TIMER, "pause");
        Model.PlayerSetPageIsBusy(true);
        SetNaviForPlaying(true);
    } else if (!bPlaying && m_bBusy) {
        m_bBusy = false;
        VYX_UI_Album_SetPlayerBusy(false);
        Model.PlayerSetPageIsBusy(false);
        Model.CtrlGeneralCtrlItem(CTRL_ELEM_SCRDOMANT_TIMER, "resume");
        SetNaviForPlaying(false);
    }
}

void AlbumPlayer::SetNaviForPlaying(bool bPlaying) {
    if (View.ui.del_page != nullptr) {
        return; /* the question keeps its cancel and confirm */
    }
    AlbumNaviBar &n = View.ui.navi;
    Album_SetImg(n.ok, bPlaying ? "setmenu/navibar/navibar_album_pause_icon.png"
                                : "setmenu/navibar/navibar_album_play_icon.png");
    Album_SetImg(n.prev, "album/del_icon.png");
    Album_SetHidden(n.prev, bPlaying);
    Album_SetHidden(n.next, bPlaying);
}

void AlbumPlayer::PlayerRefershUiProgress(uint32_t u32ElapsedMs) {
    uint32_t u32Total = Duration();
    int32_t eState = m_ePlayerState;
    if (eState == PLAYER_STATE_PLAYING) {
        m_u32PlayedMs += u32ElapsedMs;
    } else if (eState == PLAYER_STATE_ENDED && u32Total > 0) {
        m_u32PlayedMs = u32Total * 1000;
    }
    uint32_t u32Played = m_u32PlayedMs / 1000;
    if (u32Total > 0 && u32Played > u32Total) {
        u32Played = u32Total;
    }
    View.SetProgress(u32Played, u32Total);
}

void AlbumPlayer::PlayerRefershStatusBar() {
    VYX_UI_Album_FileEntry_S stEntry;
    uint32_t u32Index, u32Num;
    {
        std::lock_guard<std::mutex> stGuard(m_stLock);
        u32Num = (uint32_t)m_astFiles.size();
        if (m_ulCurIndex >= u32Num) {
            return;
        }
        u32Index = m_ulCurIndex;
        stEntry = m_astFiles[u32Index];
    }
    LOG_INFO("file index[%d]\n", (int)u32Index);
    char szDate[48] = "";
    struct tm stTm;
    if (VYX_UI_Album_TranStamp2TM(stEntry.s32TimeStamp, &stTm) == 0) {
        snprintf(szDate, sizeof szDate, "%04d-%02d-%02d %02d:%02d:%02d", stTm.tm_year + 1900, stTm.tm_mon + 1,
                 stTm.tm_mday, stTm.tm_hour, stTm.tm_min, stTm.tm_sec);
    }
    char szFocus[24];
    snprintf(szFocus, sizeof szFocus, "%d/%d", (int)u32Index + 1, (int)u32Num);
    Model.SetStatusBarTitle(szDate, szFocus, Album_CamName(stEntry.szFileName));
}

/* ---- keys ---- */

void AlbumPlayer::onEvent(lv_event_t *e) {
    if (lv_event_get_code(e) != LV_EVENT_SHORT_CLICKED) {
        return;
    }
    AlbumPlayer *self = static_cast<AlbumPlayer *>(lv_event_get_user_data(e));
    self->onShortClick(lv_event_get_target(e));
}

void AlbumPlayer::onShortClick(lv_obj_t *obj) {
    AlbumNaviBar &n = View.ui.navi;
    if (View.ui.del_page != nullptr) {
        if (obj == n.back) {
            CloseDelPage();
        } else if (obj == n.ok) {
            LOG_INFO("del ctrl\n");
            DelFilesHandler();
        }
        return;
    }
    bool bPlaying = m_ePlayerState == PLAYER_STATE_PLAYING;
    if (obj == n.back) {
        if (Manager != nullptr) {
            Manager->Pop();
        }
    } else if (obj == n.ok) {
        bool bClip;
        {
            std::lock_guard<std::mutex> stGuard(m_stLock);
            bClip = m_bCurIsClip;
        }
        if (bClip) {
            RequestPlayPause();
        }
    } else if (obj == n.next) {
        if (bPlaying) {
            LOG_INFO("mp4 is playing\n");
            return;
        }
        LOG_INFO("SITCH\n");
        bool bPending;
        {
            std::lock_guard<std::mutex> stGuard(m_stLock);
            bPending = m_bSwitchReq;
        }
        if (bPending) {
            LOG_INFO("erre return\n");
            return;
        }
        PlayerUpdatePlayIndex(1);
        RequestSwitch();
    } else if (obj == n.prev) {
        if (bPlaying) {
            LOG_INFO("mp4 is playing\n");
            return;
        }
        OpenDelPage();
    }
}

void AlbumPlayer::KeyEventCallBack(KeyEvtInfo *pstEvtInfo) {
    if (!Key_PageCheckInfo(pstEvtInfo)) {
        return;
    }
    AlbumPlayer *self = static_cast<AlbumPlayer *>(pstEvtInfo->pcUserDate);
    lv_obj_t *pstTarget = self->View.ui.navi.ForKey(pstEvtInfo->keycode);
    if (pstTarget != nullptr && !lv_obj_has_flag(pstTarget, LV_OBJ_FLAG_HIDDEN)) {
        Key_PageSendEvents(pstTarget, pstEvtInfo->keyvalue, &self->m_u32PressTick);
    } else if (pstTarget != nullptr && pstEvtInfo->keyvalue == KEY_VALUE_RELEASE &&
               self->m_ePlayerState == PLAYER_STATE_PLAYING) {
        LOG_INFO("mp4 is playing\n");
    }
}

/* ---- deleting ---- */

/* The files that go with the current one: an event photo takes the clip it names along. */
static std::vector<std::string> FilesToDelete(const std::vector<VYX_UI_Album_FileEntry_S> &astFiles,
                                              uint32_t u32Index) {
    std::vector<std::string> astNames;
    if (u32Index >= astFiles.size()) {
        return astNames;
    }
    const VYX_UI_Album_FileEntry_S &stEntry = astFiles[u32Index];
    astNames.push_back(stEntry.szFileName);
    if (Album_IsPhoto(stEntry.szFileName) && stEntry.szRelatedName[0] != '\0') {
        bool bFound = false;
        for (const auto &stOther : astFiles) {
            if (strncmp(stOther.szFileName, stEntry.szRelatedName, VYX_UI_ALBUM_NAME_SIZE) == 0) {
                astNames.push_back(stOther.szFileName);
                bFound = true;
                break;
            }
        }
        if (!bFound) {
            LOG_INFO("Not find related file\n");
        }
    }
    return astNames;
}

void AlbumPlayer::OpenDelPage() {
    LOG_INFO("Create del page\n");
    std::vector<std::string> astNames;
    {
        std::lock_guard<std::mutex> stGuard(m_stLock);
        astNames = FilesToDelete(m_astFiles, m_ulCurIndex);
    }
    if (astNames.empty()) {
        return;
    }
    char szTitle[256] = "";
    if (astNames.size() > 1) {
        char szOne[96] = "", szTwo[96] = "";
        lv_label_get_text_tr("LANG_RES_ID_DEL_RELATED_ONE", szOne, sizeof szOne);
        lv_label_get_text_tr("LANG_RES_ID_DEL_RELATED_TWO", szTwo, sizeof szTwo);
        snprintf(szTitle, sizeof szTitle, "%s%d%s", szOne, (int)(astNames.size() - 1), szTwo);
    } else {
        lv_label_get_text_tr("LANG_RES_ID_DEL_FILE", szTitle, sizeof szTitle);
    }
    View.CreateDelFileTitlePage(szTitle);
}

void AlbumPlayer::CloseDelPage() {
    View.DeleteDelFileTitlePage();
    SetNaviForPlaying(m_ePlayerState == PLAYER_STATE_PLAYING);
    bool bClip;
    {
        std::lock_guard<std::mutex> stGuard(m_stLock);
        bClip = m_bCurIsClip;
    }
    Album_SetHidden(View.ui.navi.ok, !bClip);
    Album_SetHidden(View.ui.progress, !bClip);
}

void AlbumPlayer::DelFilesHandler() {
    std::vector<std::string> astNames;
    {
        std::lock_guard<std::mutex> stGuard(m_stLock);
        astNames = FilesToDelete(m_astFiles, m_ulCurIndex);
    }
    /* The recorder lets go of a clip before it is deleted. */
    Model.PlayerStopCtrl(m_ePlayerState);
    for (const std::string &strName : astNames) {
        LOG_INFO("del file[%s]\n", strName.c_str());
        std::lock_guard<std::mutex> stGuard(m_stDelLock);
        if (VYX_UI_Album_SendDelFilesMsg(strName.c_str()) == 0) {
            ++m_stDelSt.ulPending;
        }
    }
    CloseDelPage();
}

void AlbumPlayer::DelFilesCbFun(const char *pcFileName, void *pUserData) {
    AlbumPlayer *self = static_cast<AlbumPlayer *>(pUserData);
    if (self == nullptr) {
        return;
    }
    std::lock_guard<std::mutex> stGuard(self->m_stDelLock);
    self->m_astDelResults.push_back(pcFileName != nullptr ? pcFileName : "");
}

void AlbumPlayer::TakeDelResults() {
    std::vector<std::string> astResults;
    {
        std::lock_guard<std::mutex> stGuard(m_stDelLock);
        astResults.swap(m_astDelResults);
    }
    if (astResults.empty()) {
        return;
    }
    bool bAnyDone = false;
    for (const std::string &strName : astResults) {
        int s32Result = strName.empty() ? -1 : 0;
        LOG_INFO("result[%d]\n", s32Result);
        if (m_stDelSt.ulPending == 0) {
            continue; /* a file that left the cards for another reason */
        }
        if (s32Result != 0) {
            --m_stDelSt.ulPending;
            LOG_ERROR("Del failed\n");
            m_stDelSt.bAnyFailed = true;
            continue;
        }
        if (DelFilesFromListHanlder(strName.c_str())) {
            --m_stDelSt.ulPending;
            bAnyDone = true;
        }
    }
    if (!bAnyDone) {
        return;
    }
    Model.ShowTips("LANG_RES_ID_DEL_FILE_SUCCESS");
    std::lock_guard<std::mutex> stGuard(m_stLock);
    if (m_astFiles.empty()) {
        LOG_INFO("no file can play! back\n");
        m_bLeaveReq = true;
        return;
    }
    if (m_ulCurIndex >= m_astFiles.size()) {
        m_ulCurIndex = 0;
    }
    m_bSwitchReq = true; /* the file now at this place plays */
    m_u32SwitchTries = 0;
}

bool AlbumPlayer::DelFilesFromListHanlder(const char *pcFileName) {
    std::lock_guard<std::mutex> stGuard(m_stLock);
    for (size_t i = 0; i < m_astFiles.size(); ++i) {
        if (strncmp(m_astFiles[i].szFileName, pcFileName, VYX_UI_ALBUM_NAME_SIZE) == 0) {
            LOG_INFO("delete:%s\n", pcFileName);
            m_astFiles.erase(m_astFiles.begin() + (ptrdiff_t)i);
            if (i < m_ulCurIndex) {
                --m_ulCurIndex;
            }
            ++m_stDelSt.ulDelCnt;
            ++Album_Session().u32Deleted;
            return true;
        }
    }
    return false;
}

} // namespace Page
