/*
 * Album lists: the list queries, reading the recorder's list files, filtering by camera,
 * sorting by time, the event grouping and the statistics of the album home.
 */
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "IpcMsg_Common.h"
#include "log.h"
#include "sys_paths.h"
#include "vyx_ui_album.h"
#include "vyx_ui_album_internal.h"

_Static_assert(sizeof(VYX_UI_Album_FileEntry_S) == 152, "list entry is 152 bytes");
_Static_assert(sizeof(VYX_UI_Album_CatEntry_S) == 1224, "category entry is 1224 bytes");
#if UINTPTR_MAX == 0xFFFFFFFFu
_Static_assert(sizeof(VYX_UI_Album_Group_S) == 208, "group node is 208 bytes on the device");
#endif

/* Counts and offsets of the last answers, per raw list. */
static struct {
    uint32_t au32Count[VYX_UI_ALBUM_RAW_LISTS];
    uint32_t au32Offset[VYX_UI_ALBUM_RAW_LISTS];
    uint32_t au32CatCount[VYX_UI_ALBUM_RAW_LISTS];
    uint32_t au32CatOffset[VYX_UI_ALBUM_RAW_LISTS];
} s_stLists;

/* The raw list (0-3) behind a type, or -1. */
static int RawListOf(VYX_UI_Album_FileType_E eFileType) {
    static const int8_t as8Raw[] = {0, 1, 2, 3, 0, 1, 2, 0, 1, 2};
    if ((unsigned)eFileType >= sizeof(as8Raw))
        return -1;
    return as8Raw[eFileType];
}

static int SetSlot(uint32_t *pu32Slots, VYX_UI_Album_FileType_E eFileType, uint32_t u32Value) {
    if ((unsigned)eFileType >= VYX_UI_ALBUM_RAW_LISTS) {
        LOG_ERROR("FileType isn't set\n");
        return -1;
    }
    pu32Slots[eFileType] = u32Value;
    return 0;
}

int VYX_UI_Album_SetTotalFiles(VYX_UI_Album_FileType_E eFileType, uint32_t u32FileCount) {
    LOG_INFO("eFileType:%d  u32FileCount=%d\n", eFileType, u32FileCount);
    return SetSlot(s_stLists.au32Count, eFileType, u32FileCount);
}

int VYX_UI_Album_SetFileListOffsetAddr(VYX_UI_Album_FileType_E eFileType, uint32_t u32OffsetAddr) {
    LOG_INFO("eFileType:%d  OffsetAddr=%d\n", eFileType, u32OffsetAddr);
    return SetSlot(s_stLists.au32Offset, eFileType, u32OffsetAddr);
}

int VYX_UI_Album_SetTotalCatlFiles(VYX_UI_Album_FileType_E eFileType, uint32_t u32FileCount) {
    LOG_INFO("eFileType:%d  u32FileCount=%d\n", eFileType, u32FileCount);
    return SetSlot(s_stLists.au32CatCount, eFileType, u32FileCount);
}

int VYX_UI_Album_SetCatFileListOffsetAddr(VYX_UI_Album_FileType_E eFileType, uint32_t u32OffsetAddr) {
    LOG_INFO("eFileType:%d  OffsetAddr=%d\n", eFileType, u32OffsetAddr);
    return SetSlot(s_stLists.au32CatOffset, eFileType, u32OffsetAddr);
}

uint32_t VYX_UI_Album_GetTotalFiles(VYX_UI_Album_FileType_E eFileType) {
    int s32Raw = RawListOf(eFileType);
    return s32Raw < 0 ? 0 : s_stLists.au32Count[s32Raw];
}

/* ---- queries ---------------------------------------------------------------------------- */

/* A count or offset of an answer: a whole number from 0 to UINT32_MAX. */
static bool GetU32(const cJSON *pstRoot, const char *pcKey, uint32_t *pu32Out) {
    const cJSON *pstItem = cJSON_GetObjectItemCaseSensitive(pstRoot, pcKey);
    if (!cJSON_IsNumber(pstItem) || pstItem->valuedouble < 0 || pstItem->valuedouble > 4294967295.0 ||
        pstItem->valuedouble != (double)(uint32_t)pstItem->valuedouble) {
        LOG_ERROR("cJSON_GetObjectItem error: \"%s\"\n", pcKey);
        return false;
    }
    *pu32Out = (uint32_t)pstItem->valuedouble;
    return true;
}

/* Takes the counts and offsets of a list answer, only when all of them are sound, so a broken
 * answer leaves the previous ones in place. */
int AlbumList_TakeAnswer(const char *pcAnswer, VYX_UI_Album_FileType_E eFileType, bool bWithCat) {
    cJSON *pstRoot = pcAnswer != NULL ? cJSON_Parse(pcAnswer) : NULL;
    if (pstRoot == NULL) {
        LOG_ERROR("parse error\n");
        return -1;
    }
    uint32_t u32Count = 0, u32Offset = 0, u32CatCount = 0, u32CatOffset = 0;
    bool bOk = GetU32(pstRoot, "filecount", &u32Count) && GetU32(pstRoot, "offsetaddr", &u32Offset);
    if (bOk && bWithCat)
        bOk = GetU32(pstRoot, "catfilecount", &u32CatCount) &&
              GetU32(pstRoot, "catfileoffsetaddr", &u32CatOffset);
    cJSON_Delete(pstRoot);
    if (!bOk || (unsigned)eFileType >= VYX_UI_ALBUM_RAW_LISTS)
        return -1;
    LOG_INFO("filecount:%d\n", u32Count);
    VYX_UI_Album_SetTotalFiles(eFileType, u32Count);
    VYX_UI_Album_SetFileListOffsetAddr(eFileType, u32Offset);
    if (bWithCat) {
        VYX_UI_Album_SetTotalCatlFiles(eFileType, u32CatCount);
        VYX_UI_Album_SetCatFileListOffsetAddr(eFileType, u32CatOffset);
    }
    return 0;
}

static int QueryList(const char *pcMsgID, VYX_UI_Album_FileType_E eFileType, bool bWithCat,
                     uint32_t u32RspSize) {
    char szRsp[2048];
    MsgHeader stHdr;
    if (u32RspSize > sizeof(szRsp))
        u32RspSize = sizeof(szRsp);
    int s32Ret = IpcMsg_RequestSync(pcMsgID, NULL, VYX_UI_ALBUM_QUERY_TIMEOUT_MS, szRsp, u32RspSize, &stHdr);
    if (s32Ret != 0) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
        return -1;
    }
    return AlbumList_TakeAnswer(szRsp, eFileType, bWithCat);
}

int VYX_UI_Album_QueryRecFiles(void) {
    // A 128-byte answer buffer would cut an ordinary answer (a ten-digit transID and a
    // seven-digit offset make it 128 characters before its NUL): the same room as the others.
    return QueryList("GET_REC_LIST", VYX_UI_ALBUM_REC, false, 2048);
}

int VYX_UI_Album_QuerySnapEventFiles(void) {
    return QueryList("GET_SNAP_EVENT_LIST", VYX_UI_ALBUM_SNAP_EVENT, true, 2048);
}

int VYX_UI_Album_QueryEmrEventFiles(void) {
    return QueryList("GET_EMER_EVENT_LIST", VYX_UI_ALBUM_EMER_EVENT, true, 2048);
}

int VYX_UI_Album_QueryRadaEventFiles(void) {
    return QueryList("GET_RADA_EVENT_LIST", VYX_UI_ALBUM_RADA_EVENT, true, 2048);
}

int VYX_UI_Album_QueryRelatedFileCnt(const char *pcFileName) {
    if (pcFileName == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pcFileName");
        return -1;
    }
    cJSON *pstBody = cJSON_CreateObject();
    if (pstBody == NULL || cJSON_AddStringToObject(pstBody, "filename", pcFileName) == NULL) {
        IPCMSG_CJSON_CREATE_ERROR();
        cJSON_Delete(pstBody);
        return -1;
    }
    char szRsp[512];
    MsgHeader stHdr;
    int s32Ret = IpcMsg_RequestSync("GET_RELATEDFILE_CNT", pstBody, VYX_UI_ALBUM_QUERY_TIMEOUT_MS, szRsp,
                                    sizeof(szRsp), &stHdr);
    if (s32Ret != 0) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
        return -1;
    }
    cJSON *pstRoot = cJSON_Parse(szRsp);
    if (pstRoot == NULL) {
        LOG_ERROR("parse error\n");
        return -1;
    }
    uint32_t u32Count = 0;
    bool bOk = GetU32(pstRoot, "filecount", &u32Count);
    cJSON_Delete(pstRoot);
    if (!bOk)
        return -1;
    AlbumState_SetRelatedFileCnt(u32Count);
    return 0;
}

/* ---- reading the list files -------------------------------------------------------------- */

static int ReadExactly(const char *pcPath, void *pBuf, uint32_t u32Size, uint32_t u32Offset) {
    if (pBuf == NULL && u32Size > 0) {
        LOG_ERROR("pointer[%s] is NULL\n", "pBuf");
        return -1;
    }
    int fd = open(pcPath, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        LOG_ERROR("open %s ERROR\n", pcPath);
        perror("open");
        return -1;
    }
    uint32_t u32Done = 0;
    while (u32Done < u32Size) {
        ssize_t n = pread(fd, (char *)pBuf + u32Done, u32Size - u32Done, (off_t)u32Offset + u32Done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            LOG_ERROR("pread %s ERROR\n", pcPath);
            close(fd);
            return -1;
        }
        u32Done += (uint32_t)n;
    }
    close(fd);
    return 0;
}

int VYX_UI_Album_ReadFileList(void *pBuf, uint32_t u32Size, uint32_t u32Offset) {
    return ReadExactly(SYS_PATH_FILELIST, pBuf, u32Size, u32Offset);
}

int VYX_UI_Album_ReadCatFileList(void *pBuf, uint32_t u32Size, uint32_t u32Offset) {
    return ReadExactly(SYS_PATH_CATFILELIST, pBuf, u32Size, u32Offset);
}

bool VYX_UI_Album_KindIsKnown(uint32_t u32Kind) {
    return AlbumKind_Camera(u32Kind) >= 0;
}

/* A text field that holds its NUL. */
static bool Terminated(const char *pc, size_t size) {
    return memchr(pc, '\0', size) != NULL;
}

/* Whether one entry read from the recorder's file can be used; says why not. */
static bool EntryIsSound(const VYX_UI_Album_FileEntry_S *pstEntry, uint32_t u32Index) {
    if (!Terminated(pstEntry->szFileName, sizeof(pstEntry->szFileName)) || pstEntry->szFileName[0] == '\0' ||
        !Terminated(pstEntry->szRelatedName, sizeof(pstEntry->szRelatedName))) {
        LOG_WARN("entry %u skipped: name not terminated or empty\n", u32Index);
        return false;
    }
    if (!VYX_UI_Album_KindIsKnown(pstEntry->u32Kind)) {
        LOG_WARN("entry %u (%s) skipped: unknown file kind %u\n", u32Index, pstEntry->szFileName,
                 pstEntry->u32Kind);
        return false;
    }
    if (pstEntry->s32TimeStamp < 0) {
        LOG_WARN("entry %u (%s) skipped: time stamp %d out of range\n", u32Index, pstEntry->szFileName,
                 pstEntry->s32TimeStamp);
        return false;
    }
    return true;
}

/* The largest list the module reads: ten times any card's worth, and far below what would
 * overflow a size on the device. */
#define ALBUM_MAX_ENTRIES 100000u

int VYX_UI_Album_QueryRecordTable(VYX_UI_Album_FileType_E eFileType, VYX_UI_Album_FileListTable_S *pstTable) {
    if (pstTable == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstTable");
        return -1;
    }
    int s32Raw = RawListOf(eFileType);
    if (s32Raw < 0) {
        LOG_ERROR("FileType isn't set\n");
        return -1;
    }
    uint32_t u32Count = s_stLists.au32Count[s32Raw], u32Offset = s_stLists.au32Offset[s32Raw];
    LOG_INFO("u32TotalFileCount = %d,offset = %d\n", u32Count, u32Offset);
    pstTable->pstFileList = NULL;
    pstTable->ulCount = 0;
    if (u32Count == 0)
        return 0;
    if (u32Count > ALBUM_MAX_ENTRIES) {
        LOG_ERROR("file count %u is more than %u\n", u32Count, ALBUM_MAX_ENTRIES);
        return -1;
    }
    VYX_UI_Album_FileEntry_S *pstList = malloc((size_t)u32Count * sizeof(*pstList));
    if (pstList == NULL) {
        LOG_ERROR("Malloc ERROR\n");
        return -1;
    }
    if (VYX_UI_Album_ReadFileList(pstList, u32Count * (uint32_t)sizeof(*pstList), u32Offset) != 0) {
        LOG_ERROR("VYX_UI_Album_ReadFrontRecFileList ERROR\n");
        free(pstList);
        return -1;
    }
    uint32_t u32Kept = 0;
    for (uint32_t i = 0; i < u32Count; i++)
        if (EntryIsSound(&pstList[i], i))
            pstList[u32Kept++] = pstList[i];
    pstTable->pstFileList = pstList;
    pstTable->ulCount = u32Kept;
    return 0;
}

void VYX_UI_Album_FreeTable(VYX_UI_Album_FileListTable_S *pstTable) {
    if (pstTable == NULL)
        return;
    free(pstTable->pstFileList);
    pstTable->pstFileList = NULL;
    pstTable->ulCount = 0;
}

/* ---- filtering and sorting ------------------------------------------------------------------ */

static bool HasAny(const char *pcName, const char *const *ppcMarks) {
    for (; *ppcMarks != NULL; ppcMarks++)
        if (strstr(pcName, *ppcMarks) != NULL)
            return true;
    return false;
}

static const char *const s_apcRearRec[] = {"_A", "R_", "Q_", NULL};

static bool KeepForType(VYX_UI_Album_FileType_E eFileType, const char *pcName) {
    static const char *const apcN[] = {"N_", NULL}, *const apcG[] = {"G_", NULL};
    static const char *const apcR[] = {"R_", NULL}, *const apcU[] = {"U_", NULL};
    switch (eFileType) {
    case VYX_UI_ALBUM_FRONT_REC:
        return !HasAny(pcName, s_apcRearRec);
    case VYX_UI_ALBUM_REAR_REC:
        return HasAny(pcName, s_apcRearRec);
    case VYX_UI_ALBUM_FRONT_SNAP:
        return HasAny(pcName, apcN);
    case VYX_UI_ALBUM_FRONT_EMER:
        return HasAny(pcName, apcG);
    case VYX_UI_ALBUM_REAR_SNAP:
        return HasAny(pcName, apcR);
    case VYX_UI_ALBUM_REAR_EMER:
        return HasAny(pcName, apcU);
    default:
        return true;
    }
}

int VYX_UI_Album_ParseRecordTable(VYX_UI_Album_FileType_E eFileType, VYX_UI_Album_FileListTable_S *pstTable) {
    if (pstTable == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstTable");
        return -1;
    }
    if ((unsigned)eFileType < VYX_UI_ALBUM_RAW_LISTS) {
        LOG_INFO("Dont't need to parse\n");
        return 0;
    }
    if (eFileType >= VYX_UI_ALBUM_TYPE_NOT_SET) {
        LOG_ERROR("FileType isn't set\n");
        return -1;
    }
    // The kept entries keep their order; filtering in place is the same as copying them out.
    uint32_t u32Kept = 0;
    for (uint32_t i = 0; i < pstTable->ulCount; i++)
        if (KeepForType(eFileType, pstTable->pstFileList[i].szFileName))
            pstTable->pstFileList[u32Kept++] = pstTable->pstFileList[i];
    pstTable->ulCount = u32Kept;
    return 0;
}

/* Newest first; entries with the same time keep their order (a stable insertion sort: the lists
 * arrive nearly sorted, so it runs in about linear time). */
static void SortNewestFirst(VYX_UI_Album_FileEntry_S *pstList, uint32_t u32Count) {
    for (uint32_t i = 1; i < u32Count; i++) {
        VYX_UI_Album_FileEntry_S stCur = pstList[i];
        uint32_t j = i;
        while (j > 0 && pstList[j - 1].s32TimeStamp < stCur.s32TimeStamp) {
            pstList[j] = pstList[j - 1];
            j--;
        }
        pstList[j] = stCur;
    }
}

int VYX_UI_Album_SortRecordTableByTime(VYX_UI_Album_FileType_E eFileType,
                                       VYX_UI_Album_FileListTable_S *pstTable) {
    if (pstTable == NULL || pstTable->ulCount == 0 || pstTable->pstFileList == NULL) {
        LOG_INFO("No File\n");
        return -1;
    }
    VYX_UI_Album_FileEntry_S *pstList = pstTable->pstFileList;
    uint32_t u32Count = pstTable->ulCount;
    if (eFileType == VYX_UI_ALBUM_REC || eFileType == VYX_UI_ALBUM_FRONT_REC ||
        eFileType == VYX_UI_ALBUM_REAR_REC) {
        SortNewestFirst(pstList, u32Count);
        return 0;
    }
    // Event lists: the clips, newest first, then everything else in its previous order.
    VYX_UI_Album_FileEntry_S *pstTmp = malloc((size_t)u32Count * sizeof(*pstTmp));
    if (pstTmp == NULL) {
        LOG_ERROR("Malloc ERROR\n");
        return -1;
    }
    uint32_t u32Videos = 0, u32Others = 0;
    for (uint32_t i = 0; i < u32Count; i++)
        if (strstr(pstList[i].szFileName, ".mp4") != NULL)
            pstList[u32Videos++] = pstList[i];
        else
            pstTmp[u32Others++] = pstList[i];
    memcpy(pstList + u32Videos, pstTmp, (size_t)u32Others * sizeof(*pstTmp));
    free(pstTmp);
    SortNewestFirst(pstList, u32Videos);
    return 0;
}

/* ---- event grouping ------------------------------------------------------------------------- */

static bool IsEventPhoto(const VYX_UI_Album_FileEntry_S *pstEntry) {
    return strstr(pstEntry->szFileName, ".jpg") != NULL && strstr(pstEntry->szFileName, "F_") == NULL;
}

/* Builds the event table: "F_" entries first, then each photo followed by the clips it names; a
 * clip named again by a later photo moves behind that photo, so every clip stands once. */
int VYX_UI_Album_ParseEventFileListTable(VYX_UI_Album_FileListTable_S *pstTable) {
    if (pstTable == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstTable");
        return -1;
    }
    LOG_INFO("pstFileListTable->ulCount:%d\n", pstTable->ulCount);
    uint32_t u32Count = pstTable->ulCount;
    const VYX_UI_Album_FileEntry_S *pstSrc = pstTable->pstFileList;
    if (u32Count == 0 || pstSrc == NULL) {
        LOG_INFO("no tolal file\n");
        return 0;
    }
    // Every source entry lands at most once: F_ entries and photos once each, and each clip
    // once (an earlier copy is removed before it is placed again).
    VYX_UI_Album_FileEntry_S *pstOut = malloc((size_t)u32Count * sizeof(*pstOut));
    uint32_t *pu32Placed = calloc(u32Count, sizeof(*pu32Placed)); /* out position + 1 of a clip */
    if (pstOut == NULL || pu32Placed == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", pstOut == NULL ? "pNewItem" : "pItem");
        free(pstOut);
        free(pu32Placed);
        return -1;
    }
    uint32_t n = 0;
    for (uint32_t i = 0; i < u32Count; i++)
        if (strstr(pstSrc[i].szFileName, "F_") != NULL)
            pstOut[n++] = pstSrc[i];
    for (uint32_t i = 0; i < u32Count; i++) {
        const VYX_UI_Album_FileEntry_S *pstPhoto = &pstSrc[i];
        if (!IsEventPhoto(pstPhoto))
            continue;
        pstOut[n++] = *pstPhoto;
        if (pstPhoto->szRelatedName[0] == '\0')
            continue;
        for (uint32_t k = 0; k < u32Count; k++) {
            // Photos and "F_" entries have their own places; only the other entries follow a photo.
            if (IsEventPhoto(&pstSrc[k]) || strstr(pstSrc[k].szFileName, "F_") != NULL ||
                strncmp(pstSrc[k].szFileName, pstPhoto->szRelatedName, VYX_UI_ALBUM_NAME_SIZE) != 0)
                continue;
            if (pu32Placed[k] != 0) {
                // Remove the earlier copy and close the gap; positions behind it move up.
                uint32_t u32At = pu32Placed[k] - 1;
                memmove(&pstOut[u32At], &pstOut[u32At + 1], (size_t)(n - u32At - 1) * sizeof(*pstOut));
                n--;
                for (uint32_t m = 0; m < u32Count; m++)
                    if (pu32Placed[m] > u32At + 1)
                        pu32Placed[m]--;
            }
            pstOut[n++] = pstSrc[k];
            pu32Placed[k] = n;
        }
    }
    free(pu32Placed);
    if (n == 0) {
        LOG_INFO("no tolal file\n");
        free(pstOut);
        return 0;
    }
    free(pstTable->pstFileList);
    pstTable->pstFileList = pstOut;
    pstTable->ulCount = n;
    return 0;
}

/* ---- related files ------------------------------------------------------------------------ */

int VYX_UI_Album_QueryRalatedFilesTable(VYX_UI_Album_FileType_E eFileType,
                                        VYX_UI_Album_CatListTable_S *pstTable) {
    if (pstTable == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstTable");
        return -1;
    }
    int s32Raw;
    switch (eFileType) {
    case VYX_UI_ALBUM_FRONT_SNAP:
    case VYX_UI_ALBUM_REAR_SNAP:
        s32Raw = 1;
        break;
    case VYX_UI_ALBUM_FRONT_EMER:
    case VYX_UI_ALBUM_REAR_EMER:
        s32Raw = 2;
        break;
    default:
        LOG_ERROR("FileType Error\n");
        return -1;
    }
    uint32_t u32Count = s_stLists.au32CatCount[s32Raw], u32Offset = s_stLists.au32CatOffset[s32Raw];
    LOG_INFO("u32TotalFileCount = %d,offset = %d\n", u32Count, u32Offset);
    pstTable->pstCatList = NULL;
    pstTable->ulCount = 0;
    if (u32Count == 0)
        return 0;
    if (u32Count > ALBUM_MAX_ENTRIES / 8) {
        LOG_ERROR("file count %u is more than %u\n", u32Count, ALBUM_MAX_ENTRIES / 8);
        return -1;
    }
    VYX_UI_Album_CatEntry_S *pstList = malloc((size_t)u32Count * sizeof(*pstList));
    if (pstList == NULL) {
        LOG_ERROR("Malloc ERROR\n");
        return -1;
    }
    if (VYX_UI_Album_ReadCatFileList(pstList, u32Count * (uint32_t)sizeof(*pstList), u32Offset) != 0) {
        free(pstList);
        return -1;
    }
    // Entries whose texts lack their NUL or that claim more than eight members are left out.
    uint32_t u32Kept = 0;
    for (uint32_t i = 0; i < u32Count; i++) {
        VYX_UI_Album_CatEntry_S *pstCat = &pstList[i];
        bool bSound = Terminated(pstCat->szCatFileName, sizeof(pstCat->szCatFileName)) &&
                      pstCat->u32FileCount <= VYX_UI_ALBUM_CAT_MEMBERS;
        for (uint32_t m = 0; bSound && m < pstCat->u32FileCount; m++)
            bSound = Terminated(pstCat->astMembers[m].szFilePath, VYX_UI_ALBUM_CAT_PATH_SIZE);
        if (!bSound) {
            LOG_WARN("category entry %u skipped: unterminated text or %u members\n", i, pstCat->u32FileCount);
            continue;
        }
        pstList[u32Kept++] = *pstCat;
    }
    pstTable->pstCatList = pstList;
    pstTable->ulCount = u32Kept;
    return 0;
}

void VYX_UI_Album_FreeCatTable(VYX_UI_Album_CatListTable_S *pstTable) {
    if (pstTable == NULL)
        return;
    free(pstTable->pstCatList);
    pstTable->pstCatList = NULL;
    pstTable->ulCount = 0;
}

static const VYX_UI_Album_CatEntry_S *FindCat(const VYX_UI_Album_CatListTable_S *pstTable,
                                              const char *pcName) {
    if (pstTable == NULL || pcName == NULL)
        return NULL;
    for (uint32_t i = 0; i < pstTable->ulCount; i++)
        if (strcmp(pstTable->pstCatList[i].szCatFileName, pcName) == 0)
            return &pstTable->pstCatList[i];
    return NULL;
}

uint32_t VYX_UI_Album_GetDurationByCatFileName(const VYX_UI_Album_CatListTable_S *pstTable,
                                               const char *pcName) {
    const VYX_UI_Album_CatEntry_S *pstCat = FindCat(pstTable, pcName);
    return pstCat != NULL ? pstCat->u32Duration : 0;
}

int VYX_UI_Album_GetActualFileInfoByCatFileName(const VYX_UI_Album_CatListTable_S *pstTable,
                                                const char *pcName, VYX_UI_Album_CatFileInfo_S *pstOut) {
    if (pstOut == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstOut");
        return -1;
    }
    const VYX_UI_Album_CatEntry_S *pstCat = FindCat(pstTable, pcName);
    if (pstCat == NULL)
        return -1;
    memset(pstOut, 0, sizeof(*pstOut));
    for (uint32_t m = 0; m < pstCat->u32FileCount; m++) {
        pstOut->astMembers[m] = pstCat->astMembers[m];
        LOG_INFO("szFilePath:%s    ulStartTime:%d  ulEndTime:%d\n", pstOut->astMembers[m].szFilePath,
                 pstOut->astMembers[m].u32StartTime, pstOut->astMembers[m].u32EndTime);
    }
    pstOut->ulDuartion = pstCat->u32Duration;
    pstOut->ulTotalFiles = pstCat->u32FileCount;
    LOG_INFO("ulDuartion:%d    ulTotalFiles:%d\n", pstOut->ulDuartion, pstOut->ulTotalFiles);
    return 0;
}
