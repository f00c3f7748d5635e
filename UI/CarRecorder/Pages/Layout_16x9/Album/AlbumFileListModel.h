/*
 * The file list's model: the account "AlbumFileListModel", the file table of the chosen category
 * (read, filtered, sorted newest first and, for events, regrouped), its groups for the main list,
 * the files of the opened group with their thumbnail records, and the clip durations of events.
 */
#ifndef ALBUM_FILE_LIST_MODEL_H
#define ALBUM_FILE_LIST_MODEL_H

#include <stdint.h>

#include <memory>
#include <mutex>
#include <vector>

#include "AlbumCommon.h"

namespace Page {

/* Thumbnail states of a sub item. */
enum AlbumThumbState : int32_t {
    THUMB_STATE_CREATED = 0, /* the item exists, its widgets not yet */
    THUMB_STATE_LOAD = 1,    /* widgets built, the thumbnail thread fetches the picture */
    THUMB_STATE_READY = 2,   /* the picture is in the cache: the page shows it */
    THUMB_STATE_NONE = 3,    /* no picture could be had: the item stays without one */
    THUMB_STATE_DELETE = 4,  /* to be freed by the page */
    THUMB_STATE_SHOWN = 5,   /* the picture is on screen */
};

/* One group of the main list. */
struct AlbumMainItem {
    char szDate[VYX_UI_ALBUM_GROUP_TEXT];
    char szStart[VYX_UI_ALBUM_GROUP_TEXT];
    char szEnd[VYX_UI_ALBUM_GROUP_TEXT];
    uint32_t u32FileCount;
    uint32_t u32First; /* index of the group's first file in the table */
};

/* One file of the opened group with its thumbnail record. The state and the path are guarded by
 * the item's lock (the thumbnail thread writes them, the page reads them). */
struct AlbumSubItem {
    VYX_UI_Album_FileEntry_S stEntry;
    uint32_t u32Duration = 0; /* seconds, 0 unknown */
    lv_obj_t *item = nullptr;
    lv_obj_t *img = nullptr;
    std::mutex lock;
    int32_t eState = THUMB_STATE_CREATED;
    char szThumbPath[256] = "";
};

class AlbumFileListModel : public AlbumModelBase {
  public:
    /* The file load failed because the category has no files. */
    static constexpr int kNoFiles = -3;

    int Init();
    void Deinit();

    /* Reads the category's table and builds the main items; kNoFiles without files. */
    int AlbumLoadInfo(int32_t eCategory);
    /* Asks the recorder for the category's list again, then AlbumLoadInfo. */
    int ReloadInfo(int32_t eCategory);
    /* Makes the sub items of main item u32Main (created state). */
    int SetSubThumbNameInfo(uint32_t u32Main);
    void FreeSubItems();
    /* Seconds of an event clip from the related-files table; 0 when unknown or for "F_" names. */
    uint32_t GetMp4FileDurationByFileName(const char *pcName) const;
    /* "HH:MM" of an entry's time stamp. */
    static void GetFileTimeInfo(const VYX_UI_Album_FileEntry_S &stEntry, char *pcOut, uint32_t u32Size);
    /* Sends the recorder back to recording. */
    int CtrlExitPlaybackMode();

    int32_t g_eFileType = ALBUM_CATEGORY_REC;
    VYX_UI_Album_FileListTable_S m_stTable = {nullptr, 0};
    VYX_UI_Album_CatListTable_S m_stCatTable = {nullptr, 0};
    std::vector<AlbumMainItem> g_stMainItemList;
    std::vector<std::unique_ptr<AlbumSubItem>> g_stSubItemList;

  private:
    void FreeTables();
};

} // namespace Page

#endif /* ALBUM_FILE_LIST_MODEL_H */
