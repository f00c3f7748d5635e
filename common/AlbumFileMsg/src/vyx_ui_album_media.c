/*
 * Album media: file paths, thumbnails and photo bitmaps asked of the recorder, the background
 * thumbnail scan, the new-file and deleted-file notices, the delete requests and the page state.
 */
#include <dirent.h>
#include <errno.h>
#include <pthread.h>
#include <semaphore.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "IpcMsg_Common.h"
#include "log.h"
#include "sys_paths.h"
#include "vyx_pthread.h"
#include "vyx_ui_album.h"
#include "vyx_ui_album_internal.h"

#define ALBUM_VIDEO_DIR(card) card "/DCIM/200video/"
#define ALBUM_PHOTO_DIR(card) card "/DCIM/201photo/"
#define ALBUM_INTERNAL        SYS_PATH("/app/sd")
#define ALBUM_EXTERNAL        SYS_PATH("/mnt/sd")
#define ALBUM_BACKUP_DIR      SYS_PATH("/usrcfg/backup/")
#define ALBUM_NEW_FILE_TRIES  4
#define ALBUM_THREAD_STACK    0x80000

/* ---- page state ------------------------------------------------------------------------------ */

static atomic_int s_s32CurPlayIndex;
static atomic_bool s_bDelAll, s_bDel, s_bPlayerBusy;
static atomic_uint s_u32RelatedCnt, s_u32Duration;

void VYX_UI_Album_SetCurPlayIndex(int32_t s32Index) {
    LOG_INFO("slIndex[%d]\n", s32Index);
    s_s32CurPlayIndex = s32Index;
}
int32_t VYX_UI_Album_GetCurPlayIndex(void) {
    return s_s32CurPlayIndex;
}
void VYX_UI_Album_SetDelAllFileFlag(bool bFlag) {
    LOG_INFO("flag[%d]\n", bFlag);
    s_bDelAll = bFlag;
}
bool VYX_UI_Album_GetDelAllFileFlag(void) {
    return s_bDelAll;
}
void VYX_UI_Album_SetDelFileFlag(bool bFlag) {
    LOG_INFO("flag[%d]\n", bFlag);
    s_bDel = bFlag;
}
bool VYX_UI_Album_GetDelFileFlag(void) {
    return s_bDel;
}
void AlbumState_SetRelatedFileCnt(uint32_t u32Count) {
    s_u32RelatedCnt = u32Count;
}
uint32_t VYX_UI_Album_GetRelatedFileCnt(void) {
    LOG_INFO("file cnt[%d]\n", (int)s_u32RelatedCnt);
    return s_u32RelatedCnt;
}
void VYX_UI_Album_SetFileDuration(uint32_t u32Seconds) {
    s_u32Duration = u32Seconds;
}
uint32_t VYX_UI_Album_GetFileDuration(void) {
    LOG_INFO("file Duration[%d]\n", (int)s_u32Duration);
    return s_u32Duration;
}
void VYX_UI_Album_SetPlayerBusy(bool bBusy) {
    s_bPlayerBusy = bBusy;
}
bool VYX_UI_Album_GetPlayerBusy(void) {
    return s_bPlayerBusy;
}

/* ---- paths -------------------------------------------------------------------------------- */

int VYX_UI_ALBUM_GetFileType(const char *pcFileName) {
    static const char *const apcRear[] = {"_A", "R_", "Q_", "U_", "X_"};
    static const char *const apcInside[] = {"_B", "I_", "V_", "J_", "Y_"};
    if (pcFileName == NULL) {
        LOG_ERROR("pcFileName is NULL\n");
        return -1;
    }
    for (size_t i = 0; i < sizeof(apcRear) / sizeof(apcRear[0]); i++)
        if (strstr(pcFileName, apcRear[i]) != NULL)
            return VYX_UI_ALBUM_CAM_REAR;
    for (size_t i = 0; i < sizeof(apcInside) / sizeof(apcInside[0]); i++)
        if (strstr(pcFileName, apcInside[i]) != NULL)
            return VYX_UI_ALBUM_CAM_INSIDE;
    return VYX_UI_ALBUM_CAM_FRONT;
}

static const char *CameraDir(int s32Camera) {
    return s32Camera == VYX_UI_ALBUM_CAM_REAR     ? "rear/"
           : s32Camera == VYX_UI_ALBUM_CAM_INSIDE ? "inside/"
                                                  : "front/";
}

static bool IsVideo(const char *pcName) {
    return strstr(pcName, ".mp4") != NULL;
}
static bool IsPhoto(const char *pcName) {
    return strstr(pcName, ".jpg") != NULL || strstr(pcName, ".jpeg") != NULL;
}

/* The directory (with its camera part) a file of this name lives in; NULL for other names. */
static const char *FileDir(const char *pcFileName, bool bExternal, char *pcBuf, size_t size) {
    const char *pcBase;
    if (strstr(pcFileName, "F_") != NULL)
        pcBase = ALBUM_BACKUP_DIR;
    else if (IsVideo(pcFileName))
        pcBase = bExternal ? ALBUM_VIDEO_DIR(ALBUM_EXTERNAL) : ALBUM_VIDEO_DIR(ALBUM_INTERNAL);
    else if (IsPhoto(pcFileName))
        pcBase = bExternal ? ALBUM_PHOTO_DIR(ALBUM_EXTERNAL) : ALBUM_PHOTO_DIR(ALBUM_INTERNAL);
    else {
        LOG_ERROR("Not Support file:%s\n", pcFileName);
        return NULL;
    }
    int n = snprintf(pcBuf, size, "%s%s", pcBase, CameraDir(VYX_UI_ALBUM_GetFileType(pcFileName)));
    return n > 0 && (size_t)n < size ? pcBuf : NULL;
}

const char *VYX_UI_ALBUM_GetFileAbsPath(const char *pcFileName, bool bExternal) {
    static char s_szPath[256];
    char szDir[192];
    if (pcFileName == NULL) {
        LOG_ERROR("pcFileName is NULL\n");
        return NULL;
    }
    if (FileDir(pcFileName, bExternal, szDir, sizeof(szDir)) == NULL)
        return NULL;
    int n = snprintf(s_szPath, sizeof(s_szPath), "%s%s", szDir, pcFileName);
    if (n < 0 || (size_t)n >= sizeof(s_szPath)) {
        LOG_ERROR("path of %s is too long\n", pcFileName);
        return NULL;
    }
    return s_szPath;
}

int VYX_UI_ALBUM_GetFilePathByRecNode(const VYX_UI_Album_FileEntry_S *pstEntry, char *pszFilePath,
                                      uint32_t u32Size) {
    if (pszFilePath == NULL || u32Size == 0) {
        LOG_ERROR("pointer[%s] is NULL\n", "pszFilePath");
        return -1;
    }
    pszFilePath[0] = '\0';
    if (pstEntry == NULL || memchr(pstEntry->szFileName, '\0', sizeof(pstEntry->szFileName)) == NULL ||
        pstEntry->szFileName[0] == '\0') {
        LOG_ERROR("file name is NULL\n");
        return -1;
    }
    int s32Camera = AlbumKind_Camera(pstEntry->u32Kind);
    if (s32Camera < 0)
        return 0;
    bool bExternal = pstEntry->u32StorIndex != 0;
    const char *pcCard = bExternal ? ALBUM_EXTERNAL : ALBUM_INTERNAL;
    const char *pcKind = AlbumKind_IsPhoto(pstEntry->u32Kind) ? "201photo" : "200video";
    int n = snprintf(pszFilePath, u32Size, "%s/DCIM/%s/%s/%s", pcCard, pcKind,
                     s32Camera == VYX_UI_ALBUM_CAM_REAR ? "rear" : "front", pstEntry->szFileName);
    if (n < 0 || (uint32_t)n >= u32Size) {
        pszFilePath[0] = '\0';
        LOG_ERROR("path of %s is too long\n", pstEntry->szFileName);
        return -1;
    }
    return 0;
}

/* ---- requests to the recorder for pictures ------------------------------------------------ */

/* One kind of picture request: its message, its lock (one in flight), the semaphore its answer
 * posts and what the answer said (0 the picture is there, -1 refused), written before the post. */
typedef struct {
    const char *pcMsgID;
    pthread_mutex_t mutex;
    sem_t sem;
    int s32Answer;
} AlbumPictureReq;

static AlbumPictureReq s_astReq[] = {
    {"IPCMSG_GETMP4_THUMB", PTHREAD_MUTEX_INITIALIZER, {{0}}, -1},
    {"IPCMSG_GETJPG_THUMB", PTHREAD_MUTEX_INITIALIZER, {{0}}, -1},
    {"IPCMSG_GETPHOTO_DATE", PTHREAD_MUTEX_INITIALIZER, {{0}}, -1},
};
#define REQ_MP4   0
#define REQ_JPG   1
#define REQ_PHOTO 2
#define REQ_KINDS 3
static pthread_once_t s_stReqOnce = PTHREAD_ONCE_INIT;

static void ReqInit(void) {
    for (int i = 0; i < REQ_KINDS; i++)
        sem_init(&s_astReq[i].sem, 0, 0);
}

/* Runs on a receive thread: a "result" of 0 tells the waiting request that the picture is there;
 * any other answer ends the wait as a failure at once instead of at the time-out. */
static void PictureAnswer(const char *pcMsg, const MsgHeader *pstHdr) {
    cJSON *pstRoot = cJSON_Parse(pcMsg);
    const cJSON *pstResult = cJSON_GetObjectItemCaseSensitive(pstRoot, "result");
    int s32Answer = -1;
    if (!cJSON_IsNumber(pstResult))
        LOG_ERROR("cJSON_GetObjectItem error\n");
    else if (pstResult->valuedouble == 0)
        s32Answer = 0;
    cJSON_Delete(pstRoot);
    for (int i = 0; i < REQ_KINDS; i++) {
        if (strcmp(pstHdr->msgID, s_astReq[i].pcMsgID) != 0)
            continue;
        s_astReq[i].s32Answer = s32Answer;
        if (sem_post(&s_astReq[i].sem) != 0)
            LOG_ERROR("sem_post error\n");
    }
}

/* Sends one picture request and waits up to 3 s for its answer. */
static int RequestPicture(int s32Kind, const char *apcKeys[4], int s32Width, int s32Height, const char *pcSrc,
                          const char *pcDst) {
    AlbumPictureReq *pstReq = &s_astReq[s32Kind];
    if (pcSrc == NULL || pcDst == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", pcSrc == NULL ? "pcFilePath" : "pcThumbPath");
        return -1;
    }
    pthread_once(&s_stReqOnce, ReqInit);
    cJSON *pstBody = cJSON_CreateObject();
    if (pstBody == NULL || cJSON_AddNumberToObject(pstBody, apcKeys[0], s32Width) == NULL ||
        cJSON_AddNumberToObject(pstBody, apcKeys[1], s32Height) == NULL ||
        cJSON_AddStringToObject(pstBody, apcKeys[2], pcSrc) == NULL ||
        cJSON_AddStringToObject(pstBody, apcKeys[3], pcDst) == NULL) {
        IPCMSG_CJSON_CREATE_ERROR();
        cJSON_Delete(pstBody);
        return -1;
    }
    char *pcText = IpcMsg_BuildRequest(pstReq->pcMsgID, true, pstBody);
    if (pcText == NULL)
        return -1;
    pthread_mutex_lock(&pstReq->mutex);
    // A late answer to an earlier request that gave up must not count for this one.
    while (sem_trywait(&pstReq->sem) == 0) {
    }
    int s32Ret = VYX_IPCMSG_SendAsync(pcText, (uint32_t)strlen(pcText) + 1, PictureAnswer);
    if (s32Ret == 0) {
        struct timespec stUntil;
        clock_gettime(CLOCK_REALTIME, &stUntil);
        stUntil.tv_sec += VYX_UI_ALBUM_THUMB_TIMEOUT_MS / 1000;
        stUntil.tv_nsec += (long)(VYX_UI_ALBUM_THUMB_TIMEOUT_MS % 1000) * 1000000L;
        if (stUntil.tv_nsec >= 1000000000L) {
            stUntil.tv_sec++;
            stUntil.tv_nsec -= 1000000000L;
        }
        while ((s32Ret = sem_timedwait(&pstReq->sem, &stUntil)) != 0 && errno == EINTR) {
        }
        if (s32Ret != 0) {
            LOG_WARN("\33[0;32;32mGet file(%s) thumb time out\n\33[m", pcSrc);
            s32Ret = -1;
        } else if (pstReq->s32Answer != 0) {
            LOG_WARN("Get file(%s) thumb refused\n", pcSrc);
            s32Ret = -1;
        }
    } else {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
        s32Ret = -1;
    }
    pthread_mutex_unlock(&pstReq->mutex);
    cJSON_free(pcText);
    return s32Ret;
}

static const char *s_apcThumbKeys[4] = {"thumb_width", "thumb_height", "filepath", "thumbpath"};
static const char *s_apcPhotoKeys[4] = {"photo_width", "photo_height", "photo_path", "date_path"};

int VYX_UI_ALBUM_GetThmInMp4Ex(const char *pcFilePath, const char *pcThumbPath) {
    return RequestPicture(REQ_MP4, s_apcThumbKeys, VYX_UI_ALBUM_THUMB_WIDTH, VYX_UI_ALBUM_THUMB_HEIGHT,
                          pcFilePath, pcThumbPath);
}

int VYX_UI_ALBUM_GetThmInJpgEx(const char *pcFilePath, const char *pcThumbPath) {
    return RequestPicture(REQ_JPG, s_apcThumbKeys, VYX_UI_ALBUM_THUMB_WIDTH, VYX_UI_ALBUM_THUMB_HEIGHT,
                          pcFilePath, pcThumbPath);
}

int VYX_UI_ALBUM_GetPhotoDateEx(const char *pcPhotoPath, const char *pcDatePath) {
    return RequestPicture(REQ_PHOTO, s_apcPhotoKeys, VYX_UI_ALBUM_PHOTO_WIDTH, VYX_UI_ALBUM_PHOTO_HEIGHT,
                          pcPhotoPath, pcDatePath);
}

static pthread_mutex_t s_stHandleMutex = PTHREAD_MUTEX_INITIALIZER;

static bool Exists(const char *pcPath) {
    return access(pcPath, F_OK) == 0;
}

/* The cache file of a picture: cache directory, the name up to its first dot, suffix. Asks the
 * recorder for it when it is missing. bPhoto: the 640 x 360 bitmap, else the thumbnail. */
static int LoadPicture(const char *pcFileName, bool bExternal, char *pcOut, uint32_t u32OutSize,
                       bool bPhoto) {
    const char *pcCache = bPhoto ? SYS_PATH_PLAYER_CACHE : SYS_PATH_THUMB_CACHE;
    if (pcFileName == NULL || pcOut == NULL || u32OutSize == 0) {
        LOG_ERROR("pointer[%s] is NULL\n", pcFileName == NULL ? "pcFileName" : "pcOut");
        return -1;
    }
    if (bPhoto && strstr(pcFileName, ".jpg") == NULL) {
        LOG_ERROR("Not Support file:%s\n", pcFileName);
        return -1;
    }
    pthread_mutex_lock(&s_stHandleMutex);
    int s32Ret = -1;
    char szBase[128], szCache[512], szSrc[320], szDir[192];
    size_t baseLen = strcspn(pcFileName, ".");
    if (pcFileName[baseLen] != '.')
        LOG_WARN("Failed to parse base filename from: %s.\n", pcFileName);
    if (baseLen == 0 || baseLen >= sizeof(szBase)) {
        LOG_ERROR("Get filename failed\n");
        pthread_mutex_unlock(&s_stHandleMutex);
        usleep(500 * 1000);
        return -1;
    }
    memcpy(szBase, pcFileName, baseLen);
    szBase[baseLen] = '\0';
    if (!Exists(pcCache)) {
        LOG_INFO("will mkdir %s\n", pcCache);
        if (mkdir(pcCache, 0777) != 0 && errno != EEXIST)
            LOG_ERROR("mkdir %s: %s\n", pcCache, strerror(errno));
    }
    int n = snprintf(szCache, sizeof(szCache), bPhoto ? "%s/%s.rgba8888" : "%s/%s_T.jpg", pcCache, szBase);
    if (n < 0 || (size_t)n >= sizeof(szCache) || (uint32_t)n >= u32OutSize) {
        LOG_ERROR("path of %s does not fit\n", szBase);
        goto out;
    }
    memcpy(pcOut, szCache, (size_t)n + 1);
    if (Exists(szCache)) {
        usleep(50 * 1000);
        s32Ret = 0;
        goto out;
    }
    if (FileDir(pcFileName, bExternal, szDir, sizeof(szDir)) == NULL)
        goto out;
    n = snprintf(szSrc, sizeof(szSrc), "%s%s", szDir, pcFileName);
    if (n < 0 || (size_t)n >= sizeof(szSrc) || !Exists(szSrc)) {
        LOG_ERROR("File not exit:%s\n", szSrc);
        goto out;
    }
    if (bPhoto)
        s32Ret = VYX_UI_ALBUM_GetPhotoDateEx(szSrc, szCache);
    else if (IsVideo(pcFileName))
        s32Ret = VYX_UI_ALBUM_GetThmInMp4Ex(szSrc, szCache);
    else
        s32Ret = VYX_UI_ALBUM_GetThmInJpgEx(szSrc, szCache);
    if (!Exists(szCache)) {
        LOG_WARN("Not found szThumbName:%s\n", szCache);
        s32Ret = -1;
    }
out:
    pthread_mutex_unlock(&s_stHandleMutex);
    return s32Ret;
}

int VYX_UI_ALBUM_LoadThumbHandle(const char *pcFileName, bool bExternal, char *pcOut, uint32_t u32OutSize) {
    return LoadPicture(pcFileName, bExternal, pcOut, u32OutSize, false);
}

int VYX_UI_ALBUM_LoadPhotoDateHandle(const char *pcFileName, bool bExternal, char *pcOut,
                                     uint32_t u32OutSize) {
    return LoadPicture(pcFileName, bExternal, pcOut, u32OutSize, true);
}

/* ---- background work ------------------------------------------------------------------------ */

typedef struct AlbumNewFile {
    char szName[128];
    uint32_t u32StorIndex;
    uint32_t u32Tries;
    struct AlbumNewFile *pstNext;
} AlbumNewFile;

static pthread_mutex_t s_stQueueMutex = PTHREAD_MUTEX_INITIALIZER;
static AlbumNewFile *s_pstQueueHead, *s_pstQueueTail;
static atomic_bool s_bQueueReady, s_bRun, s_bStarted;
static pthread_t s_stScanTid, s_stNewTid;
static pthread_mutex_t s_stDelMutex = PTHREAD_MUTEX_INITIALIZER;
static VYX_UI_ALBUM_DelFileFn s_fnDelCb;
static void *s_pDelUser;

static bool IsDir(const char *pcPath) {
    struct stat st;
    return stat(pcPath, &st) == 0 && S_ISDIR(st.st_mode);
}

/* Sleeps in steps of 50 ms so that a cleared run flag is seen soon. */
static void Nap(unsigned ms) {
    for (unsigned t = 0; t < ms && s_bRun; t += 50)
        usleep(50 * 1000);
}

static int CompareNames(const void *a, const void *b) {
    return strcmp(*(char *const *)a, *(char *const *)b);
}

int VYX_UI_ALBUM_ScanDirLoadThumb(const char *pcDir) {
    DIR *pDir = pcDir != NULL ? opendir(pcDir) : NULL;
    if (pDir == NULL) {
        LOG_ERROR("opendir %s: %s\n", pcDir != NULL ? pcDir : "(null)", strerror(errno));
        return -1;
    }
    // Names first, then the work in alphabetical order.
    char **ppcNames = NULL;
    size_t count = 0, cap = 0;
    struct dirent *pEnt;
    while ((pEnt = readdir(pDir)) != NULL) {
        const char *pc = pEnt->d_name;
        if ((strstr(pc, ".mp4") == NULL && strstr(pc, ".jpg") == NULL) || strstr(pc, "0000") != NULL)
            continue;
        if (count == cap) {
            size_t newCap = cap ? cap * 2 : 64;
            char **pp = realloc(ppcNames, newCap * sizeof(*pp));
            if (pp == NULL)
                break;
            ppcNames = pp;
            cap = newCap;
        }
        if ((ppcNames[count] = strdup(pc)) != NULL)
            count++;
    }
    closedir(pDir);
    if (count > 0)
        qsort(ppcNames, count, sizeof(*ppcNames), CompareNames);
    bool bExternal = strncmp(pcDir, ALBUM_EXTERNAL, strlen(ALBUM_EXTERNAL)) == 0;
    for (size_t i = 0; i < count; i++) {
        if (!s_bRun) {
            LOG_INFO("load thumb thread unrun!\n");
            break;
        }
        while (s_bPlayerBusy && s_bRun)
            Nap(500);
        char szThumb[512];
        if (s_bRun && VYX_UI_ALBUM_LoadThumbHandle(ppcNames[i], bExternal, szThumb, sizeof(szThumb)) != 0)
            LOG_WARN("LoadThum Error,filename:%s\n", ppcNames[i]);
    }
    for (size_t i = 0; i < count; i++)
        free(ppcNames[i]);
    free(ppcNames);
    return 0;
}

static void *LoadThumbThread(void *pArg) {
    (void)pArg;
    while (s_bRun && !(IsDir(SYS_PATH_APP_SD_DCIM) && IsDir(SYS_PATH_MNT_SD_DCIM)))
        Nap(500);
    if (!s_bRun)
        return NULL;
    if (!Exists(SYS_PATH_THUMB_CACHE) && mkdir(SYS_PATH_THUMB_CACHE, 0777) != 0 && errno != EEXIST)
        LOG_ERROR("mkdir %s: %s\n", SYS_PATH_THUMB_CACHE, strerror(errno));
    static const char *const apcDirs[] = {
        ALBUM_VIDEO_DIR(ALBUM_INTERNAL) "front", ALBUM_VIDEO_DIR(ALBUM_INTERNAL) "rear",
        ALBUM_VIDEO_DIR(ALBUM_EXTERNAL) "front", ALBUM_VIDEO_DIR(ALBUM_EXTERNAL) "rear"};
    for (size_t i = 0; i < sizeof(apcDirs) / sizeof(apcDirs[0]) && s_bRun; i++)
        VYX_UI_ALBUM_ScanDirLoadThumb(apcDirs[i]);
    return NULL;
}

/* One pass over the new-file queue: each entry gets one try; it leaves the queue when its
 * thumbnail is there or after its fourth failure. The queue lock is not held while trying. */
static void NewFilesPass(void) {
    pthread_mutex_lock(&s_stQueueMutex);
    AlbumNewFile *pstCur = s_pstQueueHead;
    pthread_mutex_unlock(&s_stQueueMutex);
    while (pstCur != NULL && s_bRun) {
        char szThumb[512];
        int s32Ret =
            VYX_UI_ALBUM_LoadThumbHandle(pstCur->szName, pstCur->u32StorIndex != 0, szThumb, sizeof(szThumb));
        pstCur->u32Tries++;
        bool bDone = s32Ret == 0 || pstCur->u32Tries >= ALBUM_NEW_FILE_TRIES;
        pthread_mutex_lock(&s_stQueueMutex);
        AlbumNewFile *pstNext = pstCur->pstNext;
        if (bDone) {
            // Unlink pstCur (new entries are only ever appended at the tail).
            AlbumNewFile **pp = &s_pstQueueHead, *pstPrev = NULL;
            while (*pp != pstCur) {
                pstPrev = *pp;
                pp = &(*pp)->pstNext;
            }
            *pp = pstNext;
            if (s_pstQueueTail == pstCur)
                s_pstQueueTail = pstPrev;
        }
        pthread_mutex_unlock(&s_stQueueMutex);
        if (bDone)
            free(pstCur);
        else
            Nap(1000);
        pstCur = pstNext;
    }
}

static void *HasANewFileThread(void *pArg) {
    (void)pArg;
    while (s_bRun) {
        NewFilesPass();
        usleep(50 * 1000);
    }
    LOG_INFO("end\n");
    return NULL;
}

int VYX_UI_ALBUM_LoadThumbTask(void) {
    if (s_bStarted)
        return 0;
    pthread_once(&s_stReqOnce, ReqInit);
    s_bQueueReady = true;
    s_bRun = true;
    pthread_attr_t stAttr;
    pthread_attr_init(&stAttr);
    pthread_attr_setstacksize(&stAttr, ALBUM_THREAD_STACK);
    int s32Err =
        VYX_pthread_create(&s_stScanTid, &stAttr, LoadThumbThread, NULL, __func__, "LoadThumbThread");
    if (s32Err == 0) {
        s32Err =
            VYX_pthread_create(&s_stNewTid, &stAttr, HasANewFileThread, NULL, __func__, "HasANewFileThd");
        if (s32Err != 0) {
            s_bRun = false;
            pthread_join(s_stScanTid, NULL);
        }
    }
    pthread_attr_destroy(&stAttr);
    if (s32Err != 0) {
        LOG_ERROR("pthread_create failed: %s !\n", strerror(s32Err));
        s_bRun = false;
        return -1;
    }
    s_bStarted = true;
    return 0;
}

void VYX_UI_ALBUM_StopThumbTask(void) {
    if (!s_bStarted)
        return;
    s_bRun = false;
    pthread_join(s_stScanTid, NULL);
    pthread_join(s_stNewTid, NULL);
    s_bStarted = false;
}

uint32_t VYX_UI_ALBUM_NewFilesPending(void) {
    uint32_t n = 0;
    pthread_mutex_lock(&s_stQueueMutex);
    for (AlbumNewFile *p = s_pstQueueHead; p != NULL; p = p->pstNext)
        n++;
    pthread_mutex_unlock(&s_stQueueMutex);
    return n;
}

/* ---- notices ------------------------------------------------------------------------------ */

/* A text member that fits size bytes with its NUL, else NULL. */
static const char *TextOf(const cJSON *pstRoot, const char *pcKey, size_t size) {
    const cJSON *pstItem = cJSON_GetObjectItemCaseSensitive(pstRoot, pcKey);
    if (!cJSON_IsString(pstItem) || pstItem->valuestring == NULL || strlen(pstItem->valuestring) >= size)
        return NULL;
    return pstItem->valuestring;
}

int VYX_UI_ALBUM_HasANewFile(const char *pcMsg, const MsgHeader *pstHdr) {
    (void)pstHdr;
    if (!s_bQueueReady) {
        LOG_WARN("List not init\n");
        return -1;
    }
    cJSON *pstRoot = cJSON_Parse(pcMsg);
    if (pstRoot == NULL) {
        LOG_ERROR("cJSON_Parse ERROR\n");
        return -1;
    }
    const char *pcName = TextOf(pstRoot, "filename", sizeof(((AlbumNewFile *)0)->szName));
    const cJSON *pstStor = cJSON_GetObjectItemCaseSensitive(pstRoot, "storIndex");
    if (pcName == NULL || pcName[0] == '\0' || !cJSON_IsNumber(pstStor) || pstStor->valuedouble < 0 ||
        pstStor->valuedouble > 255) {
        LOG_ERROR("cJSON_GetObjectItem ERROR\n");
        cJSON_Delete(pstRoot);
        return -1;
    }
    AlbumNewFile *pstNew = calloc(1, sizeof(*pstNew));
    if (pstNew == NULL) {
        LOG_ERROR("malloc ERROR\n");
        cJSON_Delete(pstRoot);
        return -1;
    }
    snprintf(pstNew->szName, sizeof(pstNew->szName), "%s", pcName);
    pstNew->u32StorIndex = (uint32_t)pstStor->valuedouble;
    cJSON_Delete(pstRoot);
    pthread_mutex_lock(&s_stQueueMutex);
    if (s_pstQueueTail != NULL)
        s_pstQueueTail->pstNext = pstNew;
    else
        s_pstQueueHead = pstNew;
    s_pstQueueTail = pstNew;
    pthread_mutex_unlock(&s_stQueueMutex);
    return 0;
}

void VYX_UI_ALBUM_RegisterDelFileCb(VYX_UI_ALBUM_DelFileFn fnCb, void *pUserData) {
    pthread_mutex_lock(&s_stDelMutex);
    s_fnDelCb = fnCb;
    s_pDelUser = pUserData;
    pthread_mutex_unlock(&s_stDelMutex);
}

int VYX_UI_ALBUM_DelFileCb(const char *pcMsg, const MsgHeader *pstHdr) {
    (void)pstHdr;
    LOG_INFO("pMsgBuf:%s\n", pcMsg != NULL ? pcMsg : "(null)");
    cJSON *pstRoot = pcMsg != NULL ? cJSON_Parse(pcMsg) : NULL;
    if (pstRoot == NULL) {
        LOG_ERROR("cJSON_Parse ERROR\n");
        return -1;
    }
    char szName[129] = "";
    const cJSON *pstResult = cJSON_GetObjectItemCaseSensitive(pstRoot, "result");
    if (!(cJSON_IsNumber(pstResult) && pstResult->valuedouble == -1)) {
        const char *pcName = TextOf(pstRoot, "filename", sizeof(szName));
        if (pcName != NULL)
            snprintf(szName, sizeof(szName), "%s", pcName);
    }
    cJSON_Delete(pstRoot);
    pthread_mutex_lock(&s_stDelMutex);
    if (s_fnDelCb != NULL)
        s_fnDelCb(szName, s_pDelUser);
    pthread_mutex_unlock(&s_stDelMutex);
    return 0;
}

/* ---- requests without an answer --------------------------------------------------------- */

int VYX_UI_Album_SendDelFilesMsg(const char *pcFileName) {
    if (pcFileName == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pcFileName");
        return -1;
    }
    cJSON *pstBody = cJSON_CreateObject();
    cJSON *pstFiles = cJSON_AddArrayToObject(pstBody, "file");
    cJSON *pstOne = cJSON_CreateObject();
    if (pstBody == NULL || pstFiles == NULL || pstOne == NULL ||
        cJSON_AddStringToObject(pstOne, "filename", pcFileName) == NULL) {
        IPCMSG_CJSON_CREATE_ERROR();
        cJSON_Delete(pstOne);
        cJSON_Delete(pstBody);
        return -1;
    }
    cJSON_AddItemToArray(pstFiles, pstOne);
    return IpcMsg_RequestNoRsp("IPCMSG_DELETE_FILES", pstBody);
}

int VYX_UI_Album_ClearRecFilesUsedFlag(void) {
    return IpcMsg_RequestNoRsp("CLEAR_REC_LIST_USEDFLAG", NULL);
}
