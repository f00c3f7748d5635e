/*
 * Statistics of the album home: the entries of a sorted table gathered into groups (an hour, a
 * day, or one event) for the group list, oldest group first.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "log.h"
#include "vyx_ui_album.h"

#define ALBUM_MAX_GROUPS 256

int VYX_UI_Album_TranStamp2TM(int32_t s32Stamp, struct tm *pstTm) {
    if (pstTm == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pstTm");
        return -1;
    }
    time_t t = (time_t)s32Stamp;
    return gmtime_r(&t, pstTm) != NULL ? 0 : -1;
}

uint32_t VYX_UI_Album_Ms2Sec(uint32_t u32Ms) {
    return u32Ms / 1000 + (u32Ms % 1000 > 500 ? 1 : 0);
}

void VYX_UI_Album_FreeGroups(VYX_UI_Album_GroupList_S *pstList) {
    if (pstList == NULL)
        return;
    for (VYX_UI_Album_Group_S *p = pstList->pstHead, *pNext; p != NULL; p = pNext) {
        pNext = p->pstNext;
        free(p);
    }
    pstList->pstHead = pstList->pstTail = NULL;
}

/* "HH:MM" of a time stamp; hour 24 stands for the midnight that ends a window. */
static void ClockText(char *pc, int32_t s32Stamp, bool bWindowEnd) {
    struct tm stTm;
    VYX_UI_Album_TranStamp2TM(s32Stamp, &stTm);
    int hour = stTm.tm_hour;
    if (bWindowEnd && hour == 0 && stTm.tm_min == 0)
        hour = 24;
    snprintf(pc, VYX_UI_ALBUM_GROUP_TEXT, "%02d:%02d", hour, stTm.tm_min);
}

static void DateText(char *pc, int32_t s32Stamp, bool bWithYear) {
    struct tm stTm;
    VYX_UI_Album_TranStamp2TM(s32Stamp, &stTm);
    if (bWithYear)
        snprintf(pc, VYX_UI_ALBUM_GROUP_TEXT, "%04d-%02d-%02d", stTm.tm_year + 1900, stTm.tm_mon + 1,
                 stTm.tm_mday);
    else
        snprintf(pc, VYX_UI_ALBUM_GROUP_TEXT, "%02d-%02d", stTm.tm_mon + 1, stTm.tm_mday);
}

/* Appends the next group with its first entry: the date of s32Stamp, the clock texts of s32Start
 * and s32End. NULL when the list is full or memory is short. */
static VYX_UI_Album_Group_S *OpenGroup(VYX_UI_Album_GroupList_S *pstList, uint32_t *pu32Groups,
                                       int32_t s32Stamp, bool bWithYear, int32_t s32Start, int32_t s32End,
                                       bool bWindow) {
    if (*pu32Groups >= ALBUM_MAX_GROUPS)
        return NULL;
    VYX_UI_Album_Group_S *pstNode = calloc(1, sizeof(*pstNode));
    if (pstNode == NULL) {
        LOG_ERROR("malloc ERROR\n");
        return NULL;
    }
    pstNode->u32Index = (*pu32Groups)++;
    pstNode->u32FileCount = 1;
    DateText(pstNode->szDate, s32Stamp, bWithYear);
    ClockText(pstNode->szStart, s32Start, false);
    ClockText(pstNode->szEnd, s32End, bWindow);
    pstNode->pstPrev = pstList->pstTail;
    if (pstList->pstTail != NULL)
        pstList->pstTail->pstNext = pstNode;
    else
        pstList->pstHead = pstNode;
    pstList->pstTail = pstNode;
    LOG_DEBUG("[%s %s]   %d\n", pstNode->szDate, pstNode->szStart, pstNode->u32FileCount);
    return pstNode;
}

static bool CheckArgs(const VYX_UI_Album_FileListTable_S *pstTable, VYX_UI_Album_GroupList_S *pstList,
                      uint32_t *pu32Groups) {
    if (pstList == NULL || pu32Groups == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", pstList == NULL ? "pstList" : "pu32Groups");
        return false;
    }
    *pu32Groups = 0;
    if (pstTable == NULL || pstTable->ulCount == 0 || pstTable->pstFileList == NULL) {
        LOG_INFO("No File\n");
        return false;
    }
    return true;
}

/* Windows of s32Span seconds, aligned to the span in the time stamps' own clock, walked from the
 * oldest entry (the table is sorted newest first). */
static int GroupByWindow(const VYX_UI_Album_FileListTable_S *pstTable, VYX_UI_Album_GroupList_S *pstList,
                         uint32_t *pu32Groups, int32_t s32Span, bool bWithYear) {
    if (!CheckArgs(pstTable, pstList, pu32Groups))
        return -1;
    VYX_UI_Album_Group_S *pstCur = NULL;
    int64_t s64WinStart = 0;
    for (uint32_t k = pstTable->ulCount; k-- > 0;) {
        int32_t s32Stamp = pstTable->pstFileList[k].s32TimeStamp;
        if (pstCur != NULL && s32Stamp >= s64WinStart && s32Stamp < s64WinStart + s32Span) {
            pstCur->u32FileCount++;
            continue;
        }
        s64WinStart = (int64_t)s32Stamp - (int64_t)s32Stamp % s32Span;
        pstCur = OpenGroup(pstList, pu32Groups, s32Stamp, bWithYear, (int32_t)s64WinStart,
                           (int32_t)(s64WinStart + s32Span), true);
        if (pstCur == NULL)
            break;
    }
    LOG_INFO("Traverse list end\n");
    return 0;
}

int VYX_UI_Album_StatisticalFilesByDateHour(const VYX_UI_Album_FileListTable_S *pstTable,
                                            VYX_UI_Album_GroupList_S *pstList, uint32_t *pu32Groups) {
    return GroupByWindow(pstTable, pstList, pu32Groups, 3600, true);
}

int VYX_UI_Album_StatisticalFilesByDate(const VYX_UI_Album_FileListTable_S *pstTable,
                                        VYX_UI_Album_GroupList_S *pstList, uint32_t *pu32Groups) {
    return GroupByWindow(pstTable, pstList, pu32Groups, 86400, false);
}

/* Event tables hold each photo followed by its clips: a group opens at every photo, and at a clip
 * or a continuation part ("_X") that no photo opened; clips and parts join the open group. The
 * texts are the date and the times of the group's first and last entries. */
int VYX_UI_Album_StatisticalFilesByEvent(const VYX_UI_Album_FileListTable_S *pstTable,
                                         VYX_UI_Album_GroupList_S *pstList, uint32_t *pu32Groups) {
    if (!CheckArgs(pstTable, pstList, pu32Groups))
        return -1;
    VYX_UI_Album_Group_S *pstCur = NULL;
    for (uint32_t k = 0; k < pstTable->ulCount; k++) {
        const VYX_UI_Album_FileEntry_S *pstEntry = &pstTable->pstFileList[k];
        bool bClip =
            strstr(pstEntry->szFileName, ".mp4") != NULL || strstr(pstEntry->szFileName, "_X") != NULL;
        LOG_DEBUG("=====in[%d][%d]==========\n", k, bClip);
        if (pstCur != NULL && bClip) {
            pstCur->u32FileCount++;
            ClockText(pstCur->szEnd, pstEntry->s32TimeStamp, false);
            continue;
        }
        int32_t s32Stamp = pstEntry->s32TimeStamp;
        pstCur = OpenGroup(pstList, pu32Groups, s32Stamp, true, s32Stamp, s32Stamp, false);
        if (pstCur == NULL)
            break;
        LOG_DEBUG("cont:%d k%d\n", *pu32Groups, k);
    }
    LOG_INFO("Traverse list end\n");
    return 0;
}
