/*
 * The linked second camera ("device link"): connection, link state, client id, its model,
 * name, Bluetooth name, version and storage, queried from the recorder
 * ("IPCMSG_KOVARINFO_QUERY", 5 s time-out).
 */
#ifndef IPCMSG_KOVARINFO_H
#define IPCMSG_KOVARINFO_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define KOVAR_INFO_TEXT_SIZE 32

typedef struct {
    uint8_t bConnect;
    int32_t eStatus; /* 1..3 */
    int32_t iClientId;
    char szModel[KOVAR_INFO_TEXT_SIZE];
    char szName[KOVAR_INFO_TEXT_SIZE];
    char szBle[KOVAR_INFO_TEXT_SIZE];
    char szVersion[KOVAR_INFO_TEXT_SIZE];
    int32_t iAvailableSize;
    int32_t iTotalSize;
} KovarInfo;

/* Queries the recorder and fills the record (cleared first). The members are read in order;
 * the first missing one ends the query with -1, keeping those read. 0, -1 or the agent's error. */
int IpcMsg_KovarInfoQuerylHandle(void);
/* Only clears the record. */
int IpcMsg_KovarInfoLoad(void);
int IpcMsg_KovarInfoCopy(KovarInfo *pstDst);

#ifdef __cplusplus
}
#endif

#endif /* IPCMSG_KOVARINFO_H */
