#include "AlbumFileListModel.h"

#include <stdio.h>

#include <algorithm>
#include <string.h>

#include "log.h"

namespace Page {

int AlbumFileListModel::Init() {
    return CreateAccount("AlbumFileListModel", {DP_ACCOUNT_STATUS_BAR, DP_ACCOUNT_GENERAL_CTRL,
                                                DP_ACCOUNT_SYSTEM_STATUS, DP_ACCOUNT_INFO_TIPS});
}

void AlbumFileListModel::Deinit() {
    FreeSubItems();
    FreeTables();
    g_stMainItemList.clear();
    DeleteAccount();
}

void AlbumFileListModel::FreeTables() {
    VYX_UI_Album_FreeTable(&m_stTable);
    VYX_UI_Album_FreeCatTable(&m_stCatTable);
}

int AlbumFileListModel::AlbumLoadInfo(int32_t eCategory) {
    g_eFileType = eCategory;
    LOG_INFO("%s:  %d\n", "g_eFileType", (int)eCategory);
    FreeTables();
    g_stMainItemList.clear();
    VYX_UI_Album_FileType_E eType = Album_CategoryFileType(eCategory);
    if (VYX_UI_Album_QueryRecordTable(eType, &m_stTable) != 0 || m_stTable.ulCount == 0) {
        LOG_INFO("file is null!\n");
        FreeTables();
        return kNoFiles;
    }
    VYX_UI_Album_ParseRecordTable(eType, &m_stTable);
    if (VYX_UI_Album_SortRecordTableByTime(eType, &m_stTable) != 0) {
        LOG_INFO("file is null!\n");
        FreeTables();
        return kNoFiles;
    }
    VYX_UI_Album_GroupList_S stGroups = {nullptr, nullptr};
    uint32_t u32Groups = 0;
    bool bByHour = eCategory == ALBUM_CATEGORY_REC;
    if (bByHour) {
        VYX_UI_Album_StatisticalFilesByDateHour(&m_stTable, &stGroups, &u32Groups);
    } else {
        VYX_UI_Album_ParseEventFileListTable(&m_stTable);
        VYX_UI_Album_StatisticalFilesByEvent(&m_stTable, &stGroups, &u32Groups);
        /* The related-files table gives the clips' durations (front and rear share one block). */
        VYX_UI_Album_QueryRalatedFilesTable(eCategory == ALBUM_CATEGORY_PHOTO ? VYX_UI_ALBUM_FRONT_SNAP
                                                                              : VYX_UI_ALBUM_FRONT_EMER,
                                            &m_stCatTable);
    }
    /* Hour groups run from the oldest file (the end of the table), event groups from the start;
     * the main list shows the newest group first either way. */
    uint32_t u32Walked = 0;
    for (VYX_UI_Album_Group_S *p = stGroups.pstHead; p != nullptr; p = p->pstNext) {
        AlbumMainItem stItem;
        memset(&stItem, 0, sizeof stItem);
        memcpy(stItem.szDate, p->szDate, sizeof stItem.szDate);
        memcpy(stItem.szStart, p->szStart, sizeof stItem.szStart);
        memcpy(stItem.szEnd, p->szEnd, sizeof stItem.szEnd);
        stItem.u32FileCount = p->u32FileCount;
        if (u32Walked + p->u32FileCount > m_stTable.ulCount) {
            break; /* cannot happen with sound statistics; never point past the table */
        }
        stItem.u32First = bByHour ? m_stTable.ulCount - u32Walked - p->u32FileCount : u32Walked;
        u32Walked += p->u32FileCount;
        g_stMainItemList.push_back(stItem);
    }
    VYX_UI_Album_FreeGroups(&stGroups);
    if (bByHour) {
        std::reverse(g_stMainItemList.begin(), g_stMainItemList.end());
    }
    LOG_INFO("ulItemNum:%u\n", (unsigned)g_stMainItemList.size());
    return g_stMainItemList.empty() ? kNoFiles : 0;
}

int AlbumFileListModel::ReloadInfo(int32_t eCategory) {
    int s32Ret = 0;
    switch (eCategory) {
    case ALBUM_CATEGORY_REC:
        s32Ret = VYX_UI_Album_QueryRecFiles();
        break;
    case ALBUM_CATEGORY_PHOTO:
        s32Ret = VYX_UI_Album_QuerySnapEventFiles();
        break;
    case ALBUM_CATEGORY_EMR:
        s32Ret = VYX_UI_Album_QueryEmrEventFiles();
        break;
    default:
        s32Ret = -1;
        break;
    }
    if (s32Ret != 0) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
    }
    return AlbumLoadInfo(eCategory);
}

int AlbumFileListModel::SetSubThumbNameInfo(uint32_t u32Main) {
    FreeSubItems();
    if (u32Main >= g_stMainItemList.size()) {
        return -1;
    }
    const AlbumMainItem &stMain = g_stMainItemList[u32Main];
    for (uint32_t i = 0; i < stMain.u32FileCount; ++i) {
        auto pstItem = std::make_unique<AlbumSubItem>();
        pstItem->stEntry = m_stTable.pstFileList[stMain.u32First + i];
        if (Album_IsClip(pstItem->stEntry.szFileName)) {
            pstItem->u32Duration = GetMp4FileDurationByFileName(pstItem->stEntry.szFileName);
        }
        g_stSubItemList.push_back(std::move(pstItem));
    }
    return 0;
}

void AlbumFileListModel::FreeSubItems() {
    g_stSubItemList.clear();
}

uint32_t AlbumFileListModel::GetMp4FileDurationByFileName(const char *pcName) const {
    if (pcName == nullptr || strstr(pcName, "F_") != nullptr || m_stCatTable.pstCatList == nullptr) {
        return 0;
    }
    return VYX_UI_Album_GetDurationByCatFileName(&m_stCatTable, pcName);
}

void AlbumFileListModel::GetFileTimeInfo(const VYX_UI_Album_FileEntry_S &stEntry, char *pcOut,
                                         uint32_t u32Size) {
    struct tm stTm;
    if (VYX_UI_Album_TranStamp2TM(stEntry.s32TimeStamp, &stTm) != 0) {
        snprintf(pcOut, u32Size, "--:--");
        return;
    }
    snprintf(pcOut, u32Size, "%02d:%02d", stTm.tm_hour, stTm.tm_min);
}

int AlbumFileListModel::CtrlExitPlaybackMode() {
    return CtrlGeneralCtrlItem(CTRL_ELEM_PLAYBACKMODE, "exit");
}

} // namespace Page
