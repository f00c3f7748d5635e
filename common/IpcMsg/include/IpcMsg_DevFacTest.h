/*
 * The factory-test record: what the recorder reports while the factory test runs
 * ("IPCMSG_DEV_FACTEST_CB", the same key/value lists as the status message). No notice is sent
 * and nothing is stored; the factory test page reads the record.
 */
#ifndef IPCMSG_DEVFACTEST_H
#define IPCMSG_DEVFACTEST_H

#include <stdint.h>

#include "vyx_ipcmsg.h"

#ifdef __cplusplus
extern "C" {
#endif

#define FACTEST_SNAP_FILE_SIZE 128

typedef struct {
    uint8_t bFacAccOn;
    uint8_t bFacVoiceOk;
    uint8_t bFacKeyOk;
    uint8_t bFacGsensorOk;
    char szFrontSnapFile[FACTEST_SNAP_FILE_SIZE];
    char szRearSnapFile[FACTEST_SNAP_FILE_SIZE];
} DevFacTestInfo;

/* Inbound handler of "IPCMSG_DEV_FACTEST_CB". 0, or -1 for a body that is not JSON. */
int IpcMsg_DevFacTestStatuslCallbcak(const char *pcMsg, const MsgHeader *pstHdr);

/* Copies the record under its lock (at most its size). 0, or -1 for a null pointer. */
int IpcMsg_DevFacTestCopy(DevFacTestInfo *pstDst);
/* Clears the record (at the start of a test run). */
void IpcMsg_DevFacTestReset(void);

#ifdef __cplusplus
}
#endif

#endif /* IPCMSG_DEVFACTEST_H */
