/*
 * The album's data layer. It asks the recorder for the lists of recorded files, reads them from
 * the list files the recorder writes in /tmp, filters, sorts and groups them for the album
 * pages, builds file paths, obtains thumbnails and photo bitmaps from the recorder, keeps the
 * thumbnail cache warm in the background, follows the recorder's new-file and deleted-file
 * notices, and sends delete requests.
 *
 * Every function logs its failures and returns -1 (or NULL); tables are allocated here and freed
 * by whoever holds them (VYX_UI_Album_FreeTable, VYX_UI_Album_FreeCatTable).
 */
#ifndef VYX_UI_ALBUM_H
#define VYX_UI_ALBUM_H

#include <stdbool.h>
#include <stdint.h>
#include <time.h>

#include "vyx_ipcmsg.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Which list: the four raw lists the recorder writes, and the camera views of three of them. */
typedef enum {
    VYX_UI_ALBUM_REC = 0,        /* recordings, "GET_REC_LIST" */
    VYX_UI_ALBUM_SNAP_EVENT = 1, /* snapshot events, "GET_SNAP_EVENT_LIST" */
    VYX_UI_ALBUM_EMER_EVENT = 2, /* emergency events, "GET_EMER_EVENT_LIST" */
    VYX_UI_ALBUM_RADA_EVENT = 3, /* radar events, "GET_RADA_EVENT_LIST" */
    VYX_UI_ALBUM_FRONT_REC = 4,  /* list 0 without rear names */
    VYX_UI_ALBUM_FRONT_SNAP = 5, /* list 1, names with "N_" */
    VYX_UI_ALBUM_FRONT_EMER = 6, /* list 2, names with "G_" */
    VYX_UI_ALBUM_REAR_REC = 7,   /* list 0, names with "_A", "R_" or "Q_" */
    VYX_UI_ALBUM_REAR_SNAP = 8,  /* list 1, names with "R_" */
    VYX_UI_ALBUM_REAR_EMER = 9,  /* list 2, names with "U_" */
    VYX_UI_ALBUM_TYPE_NOT_SET = 10,
} VYX_UI_Album_FileType_E;

#define VYX_UI_ALBUM_RAW_LISTS 4

/* Camera of a file, from its name. */
#define VYX_UI_ALBUM_CAM_FRONT  0
#define VYX_UI_ALBUM_CAM_REAR   1
#define VYX_UI_ALBUM_CAM_INSIDE 2

/* One entry of "/tmp/filelist_info": 152 bytes, little-endian, entries back to back. */
#define VYX_UI_ALBUM_NAME_SIZE 64
typedef struct {
    uint32_t u32Kind;                           /* file kind code, see VYX_UI_Album_KindIsKnown */
    char szFileName[VYX_UI_ALBUM_NAME_SIZE];    /* NUL-terminated */
    char szRelatedName[VYX_UI_ALBUM_NAME_SIZE]; /* the clip of an event photo, may be empty */
    int32_t s32TimeStamp;                       /* seconds, broken down with the UTC rules */
    uint8_t au8Reserved[12];
    uint32_t u32StorIndex; /* 0 internal card "/app/sd", else "/mnt/sd" */
} VYX_UI_Album_FileEntry_S;

/* One entry of "/tmp/catfilelist_info": an event with up to eight member files, 1224 bytes. */
#define VYX_UI_ALBUM_CAT_MEMBERS   8
#define VYX_UI_ALBUM_CAT_PATH_SIZE 128
typedef struct {
    char szFilePath[VYX_UI_ALBUM_CAT_PATH_SIZE];
    uint32_t u32StartTime;
    uint32_t u32EndTime;
} VYX_UI_Album_CatMember_S;

typedef struct {
    VYX_UI_Album_CatMember_S astMembers[VYX_UI_ALBUM_CAT_MEMBERS];
    char szCatFileName[VYX_UI_ALBUM_CAT_PATH_SIZE]; /* the key */
    uint32_t u32Duration;                           /* seconds */
    uint32_t u32FileCount;                          /* members in use, at most 8 */
} VYX_UI_Album_CatEntry_S;

/* What VYX_UI_Album_GetActualFileInfoByCatFileName hands out: the eight member slots, then the
 * duration and the member count. */
typedef struct {
    VYX_UI_Album_CatMember_S astMembers[VYX_UI_ALBUM_CAT_MEMBERS];
    uint32_t ulDuartion;
    uint32_t ulTotalFiles;
} VYX_UI_Album_CatFileInfo_S;

/* The list tables handed to the pages. */
typedef struct {
    VYX_UI_Album_FileEntry_S *pstFileList;
    uint32_t ulCount;
} VYX_UI_Album_FileListTable_S;

typedef struct {
    VYX_UI_Album_CatEntry_S *pstCatList;
    uint32_t ulCount;
} VYX_UI_Album_CatListTable_S;

/* One group of the album home's statistics (208 bytes on the device), in a doubly linked list. */
#define VYX_UI_ALBUM_GROUP_TEXT 64
typedef struct VYX_UI_Album_Group {
    char szDate[VYX_UI_ALBUM_GROUP_TEXT];  /* "%04d-%02d-%02d" or "%02d-%02d" */
    char szStart[VYX_UI_ALBUM_GROUP_TEXT]; /* "%02d:%02d" */
    char szEnd[VYX_UI_ALBUM_GROUP_TEXT];   /* "%02d:%02d" */
    uint32_t u32FileCount;
    uint32_t u32Index; /* index of the group's first entry in the table */
    struct VYX_UI_Album_Group *pstPrev;
    struct VYX_UI_Album_Group *pstNext;
} VYX_UI_Album_Group_S;

typedef struct {
    VYX_UI_Album_Group_S *pstHead;
    VYX_UI_Album_Group_S *pstTail;
} VYX_UI_Album_GroupList_S;

/* ---- counts and offsets of the last list answers ---- */
int VYX_UI_Album_SetTotalFiles(VYX_UI_Album_FileType_E eFileType, uint32_t u32FileCount);
int VYX_UI_Album_SetFileListOffsetAddr(VYX_UI_Album_FileType_E eFileType, uint32_t u32OffsetAddr);
int VYX_UI_Album_SetTotalCatlFiles(VYX_UI_Album_FileType_E eFileType, uint32_t u32FileCount);
int VYX_UI_Album_SetCatFileListOffsetAddr(VYX_UI_Album_FileType_E eFileType, uint32_t u32OffsetAddr);
uint32_t VYX_UI_Album_GetTotalFiles(VYX_UI_Album_FileType_E eFileType);

/* ---- queries to the recorder (synchronous, 10 s time-out) ---- */
#define VYX_UI_ALBUM_QUERY_TIMEOUT_MS 10000
int VYX_UI_Album_QueryRecFiles(void);
int VYX_UI_Album_QuerySnapEventFiles(void);
int VYX_UI_Album_QueryEmrEventFiles(void);
int VYX_UI_Album_QueryRadaEventFiles(void);
int VYX_UI_Album_QueryRelatedFileCnt(const char *pcFileName);

/* ---- tables ---- */
/* Reads exactly u32Size bytes at u32Offset of the list file (0) or fails (-1). */
int VYX_UI_Album_ReadFileList(void *pBuf, uint32_t u32Size, uint32_t u32Offset);
int VYX_UI_Album_ReadCatFileList(void *pBuf, uint32_t u32Size, uint32_t u32Offset);
/* Reads the raw list behind eFileType into a new table (entries that are not sound are left
 * out, with a message). The table's old entries are not freed: pass an empty table. */
int VYX_UI_Album_QueryRecordTable(VYX_UI_Album_FileType_E eFileType, VYX_UI_Album_FileListTable_S *pstTable);
int VYX_UI_Album_ParseRecordTable(VYX_UI_Album_FileType_E eFileType, VYX_UI_Album_FileListTable_S *pstTable);
int VYX_UI_Album_SortRecordTableByTime(VYX_UI_Album_FileType_E eFileType,
                                       VYX_UI_Album_FileListTable_S *pstTable);
int VYX_UI_Album_ParseEventFileListTable(VYX_UI_Album_FileListTable_S *pstTable);
int VYX_UI_Album_QueryRalatedFilesTable(VYX_UI_Album_FileType_E eFileType,
                                        VYX_UI_Album_CatListTable_S *pstTable);
uint32_t VYX_UI_Album_GetDurationByCatFileName(const VYX_UI_Album_CatListTable_S *pstTable,
                                               const char *pcName);
int VYX_UI_Album_GetActualFileInfoByCatFileName(const VYX_UI_Album_CatListTable_S *pstTable,
                                                const char *pcName, VYX_UI_Album_CatFileInfo_S *pstOut);
void VYX_UI_Album_FreeTable(VYX_UI_Album_FileListTable_S *pstTable);
void VYX_UI_Album_FreeCatTable(VYX_UI_Album_CatListTable_S *pstTable);

/* ---- statistics for the album home: groups appended to pstList, their number in *pu32Groups */
int VYX_UI_Album_StatisticalFilesByDateHour(const VYX_UI_Album_FileListTable_S *pstTable,
                                            VYX_UI_Album_GroupList_S *pstList, uint32_t *pu32Groups);
int VYX_UI_Album_StatisticalFilesByDate(const VYX_UI_Album_FileListTable_S *pstTable,
                                        VYX_UI_Album_GroupList_S *pstList, uint32_t *pu32Groups);
int VYX_UI_Album_StatisticalFilesByEvent(const VYX_UI_Album_FileListTable_S *pstTable,
                                         VYX_UI_Album_GroupList_S *pstList, uint32_t *pu32Groups);
void VYX_UI_Album_FreeGroups(VYX_UI_Album_GroupList_S *pstList);
/* Time stamp broken down with the UTC rules. */
int VYX_UI_Album_TranStamp2TM(int32_t s32Stamp, struct tm *pstTm);
/* Milliseconds to seconds, rounding up a remainder above 500 ms. */
uint32_t VYX_UI_Album_Ms2Sec(uint32_t u32Ms);

/* ---- paths ---- */
/* VYX_UI_ALBUM_CAM_FRONT, _REAR or _INSIDE by the name's markers; -1 for a NULL name. */
int VYX_UI_ALBUM_GetFileType(const char *pcFileName);
/* Whole path of a file by its name; a module buffer overwritten by the next call, or NULL. */
const char *VYX_UI_ALBUM_GetFileAbsPath(const char *pcFileName, bool bExternal);
/* "%s/%s" of the entry's directory (by kind code and storage index) and name; empty for a kind
 * that has no directory. 0 or -1. */
int VYX_UI_ALBUM_GetFilePathByRecNode(const VYX_UI_Album_FileEntry_S *pstEntry, char *pszFilePath,
                                      uint32_t u32Size);
/* Known kind codes: front and rear videos and photos. */
bool VYX_UI_Album_KindIsKnown(uint32_t u32Kind);

/* ---- thumbnails and photo bitmaps (made by the recorder on request) ---- */
#define VYX_UI_ALBUM_THUMB_WIDTH      144
#define VYX_UI_ALBUM_THUMB_HEIGHT     88
#define VYX_UI_ALBUM_PHOTO_WIDTH      640
#define VYX_UI_ALBUM_PHOTO_HEIGHT     360
#define VYX_UI_ALBUM_THUMB_TIMEOUT_MS 3000
int VYX_UI_ALBUM_GetThmInMp4Ex(const char *pcFilePath, const char *pcThumbPath);
int VYX_UI_ALBUM_GetThmInJpgEx(const char *pcFilePath, const char *pcThumbPath);
int VYX_UI_ALBUM_GetPhotoDateEx(const char *pcPhotoPath, const char *pcDatePath);
/* The cached thumbnail (or photo bitmap) of a file, asked for when missing; its path in pcOut. */
int VYX_UI_ALBUM_LoadThumbHandle(const char *pcFileName, bool bExternal, char *pcOut, uint32_t u32OutSize);
int VYX_UI_ALBUM_LoadPhotoDateHandle(const char *pcFileName, bool bExternal, char *pcOut,
                                     uint32_t u32OutSize);

/* ---- background work and notices ---- */
/* Starts the thumbnail scan and the new-file threads (once). */
int VYX_UI_ALBUM_LoadThumbTask(void);
/* Clears the run flags and waits until both threads have ended (start-up of tests, shutdown). */
void VYX_UI_ALBUM_StopThumbTask(void);
int VYX_UI_ALBUM_ScanDirLoadThumb(const char *pcDir);
/* Handlers of "IPCMSG_HASANEW_FILE" and "IPCMSG_DELFILE_MSG" for the agent's table. */
int VYX_UI_ALBUM_HasANewFile(const char *pcMsg, const MsgHeader *pstHdr);
int VYX_UI_ALBUM_DelFileCb(const char *pcMsg, const MsgHeader *pstHdr);
/* Called with the deleted name ("" when the recorder could not delete) and the user data. */
typedef void (*VYX_UI_ALBUM_DelFileFn)(const char *pcFileName, void *pUserData);
void VYX_UI_ALBUM_RegisterDelFileCb(VYX_UI_ALBUM_DelFileFn fnCb, void *pUserData);
/* New files still waiting for their thumbnail. */
uint32_t VYX_UI_ALBUM_NewFilesPending(void);

/* ---- requests without an answer ---- */
int VYX_UI_Album_SendDelFilesMsg(const char *pcFileName);
int VYX_UI_Album_ClearRecFilesUsedFlag(void);

/* ---- page state ---- */
void VYX_UI_Album_SetCurPlayIndex(int32_t s32Index);
int32_t VYX_UI_Album_GetCurPlayIndex(void);
void VYX_UI_Album_SetDelAllFileFlag(bool bFlag);
bool VYX_UI_Album_GetDelAllFileFlag(void);
void VYX_UI_Album_SetDelFileFlag(bool bFlag);
bool VYX_UI_Album_GetDelFileFlag(void);
uint32_t VYX_UI_Album_GetRelatedFileCnt(void);
void VYX_UI_Album_SetFileDuration(uint32_t u32Seconds);
uint32_t VYX_UI_Album_GetFileDuration(void);
/* While set, the background scan waits (the player has the recorder's attention). */
void VYX_UI_Album_SetPlayerBusy(bool bBusy);
bool VYX_UI_Album_GetPlayerBusy(void);

#ifdef __cplusplus
}
#endif

#endif /* VYX_UI_ALBUM_H */
