/* The factory-test record, filled from "IPCMSG_DEV_FACTEST_CB". */
#define _GNU_SOURCE
#include "IpcMsg_DevFacTest.h"

#include <pthread.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include "IpcMsg_Common.h"
#include "log.h"

static DevFacTestInfo m_stDevFacTest;
static pthread_mutex_t s_stFacLock = PTHREAD_MUTEX_INITIALIZER;

#define FAC_CHECK_ARG(p)                                                                                     \
    do {                                                                                                     \
        if ((p) == NULL) {                                                                                   \
            printf("[%s %d] addr is null!\n", __func__, __LINE__);                                           \
            return -1;                                                                                       \
        }                                                                                                    \
    } while (0)

static int IpcMsg_FacUpdateAcc(const char *pcValue) {
    FAC_CHECK_ARG(pcValue);
    m_stDevFacTest.bFacAccOn = strcasecmp(pcValue, "on") == 0;
    return 0;
}

/* A rear camera's snapshot has "R_" in its name. */
static int IpcMsg_FacUpdateSnap(const char *pcValue) {
    FAC_CHECK_ARG(pcValue);
    char *pcDst =
        strstr(pcValue, "R_") != NULL ? m_stDevFacTest.szRearSnapFile : m_stDevFacTest.szFrontSnapFile;
    IpcMsg_CopyText(pcDst, FACTEST_SNAP_FILE_SIZE, pcValue);
    return 0;
}

static int IpcMsg_FacUpdateKey(const int32_t *ps32Value) {
    FAC_CHECK_ARG(ps32Value);
    m_stDevFacTest.bFacKeyOk = *ps32Value != 0;
    return 0;
}

static int IpcMsg_FacUpdateGsensor(const int32_t *ps32Value) {
    FAC_CHECK_ARG(ps32Value);
    m_stDevFacTest.bFacGsensorOk = *ps32Value != 0;
    return 0;
}

static int IpcMsg_FacUpdateVoice(const int32_t *ps32Value) {
    FAC_CHECK_ARG(ps32Value);
    m_stDevFacTest.bFacVoiceOk = *ps32Value != 0;
    return 0;
}

static const struct {
    const char *pcKey;
    int (*pfnUpdate)(const char *);
} s_astFacStrTable[] = {
    {"acc_status", IpcMsg_FacUpdateAcc},
    {"snap_status", IpcMsg_FacUpdateSnap},
};

static const struct {
    const char *pcKey;
    int (*pfnUpdate)(const int32_t *);
} s_astFacIntTable[] = {
    {"key_status", IpcMsg_FacUpdateKey},
    {"gsensor_status", IpcMsg_FacUpdateGsensor},
    {"aispecch_status", IpcMsg_FacUpdateVoice},
};

/* Runs the first row of the key (case-insensitive) under the record lock. */
#define FAC_RUN(table, key, value)                                                                           \
    do {                                                                                                     \
        for (size_t i = 0; i < sizeof(table) / sizeof((table)[0]); i++) {                                    \
            if (strcasecmp((table)[i].pcKey, key) != 0) {                                                    \
                continue;                                                                                    \
            }                                                                                                \
            if ((table)[i].pfnUpdate == NULL) {                                                              \
                LOG_ERROR("Invalid [%d]pfnUpdate", (int)i);                                                  \
                return -1;                                                                                   \
            }                                                                                                \
            pthread_mutex_lock(&s_stFacLock);                                                                \
            int s32Ret = (table)[i].pfnUpdate(value);                                                        \
            pthread_mutex_unlock(&s_stFacLock);                                                              \
            if (s32Ret != 0) {                                                                               \
                LOG_ERROR("[%d]pfnUpdate fail\n", (int)i);                                                   \
            }                                                                                                \
            return s32Ret;                                                                                   \
        }                                                                                                    \
        return 0;                                                                                            \
    } while (0)

static int IpcMsg_FacIntHandle(const char *pcKey, const int32_t *ps32Value) {
    if (ps32Value != NULL) {
        LOG_INFO("[%s = %d]\n", pcKey, *ps32Value);
    }
    FAC_RUN(s_astFacIntTable, pcKey, ps32Value);
}

static int IpcMsg_FacStrHandle(const char *pcKey, const char *pcValue) {
    if (pcValue != NULL) {
        LOG_INFO("[%s = %s]\n", pcKey, pcValue);
    }
    FAC_RUN(s_astFacStrTable, pcKey, pcValue);
}

int IpcMsg_DevFacTestStatuslCallbcak(const char *pcMsg, const MsgHeader *pstHdr) {
    (void)pstHdr;
    return IpcMsg_HandleKeyValueBody(pcMsg, IpcMsg_FacIntHandle, IpcMsg_FacStrHandle, "factory-test");
}

int IpcMsg_DevFacTestCopy(DevFacTestInfo *pstDst) {
    if (pstDst == NULL) {
        printf("[%s %d] addr is null!\n", __func__, __LINE__);
        return -1;
    }
    pthread_mutex_lock(&s_stFacLock);
    *pstDst = m_stDevFacTest;
    pthread_mutex_unlock(&s_stFacLock);
    return 0;
}

void IpcMsg_DevFacTestReset(void) {
    pthread_mutex_lock(&s_stFacLock);
    memset(&m_stDevFacTest, 0, sizeof(m_stDevFacTest));
    pthread_mutex_unlock(&s_stFacLock);
}
