/*
 * The 4G modem's state: ten numbers queried from the recorder ("IPCMSG_LTEINFO_QUERY", 10 s
 * time-out).
 */
#ifndef IPCMSG_LTEINFO_H
#define IPCMSG_LTEINFO_H

#include <assert.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct {
    int32_t iHardware; /* "hardware" */
    int32_t iSimCard;  /* "sim_card" */
    int32_t iUuid;     /* "uuid" */
    int32_t iDns;      /* "dns" */
    int32_t iNetwork;  /* "network" */
    int32_t iSignal;   /* "signal" */
    int32_t iApn;      /* "apn" */
    int32_t iFlow;     /* "flow" */
    int32_t iMqtt;     /* "mqtt" */
    int32_t iHttp;     /* "http" */
} LteInfo;

/* Queries the recorder and fills the record (cleared first); the first missing member ends the
 * query with -1, keeping those read. 0, -1 or the agent's error. */
int IpcMsg_LteInfoQuerylHandle(void);
/* Clears the record and queries. */
int IpcMsg_LteInfoLoad(void);
int IpcMsg_LteInfoCopy(LteInfo *pstDst);

#ifdef __cplusplus
}
#endif

static_assert(sizeof(LteInfo) == 40, "4G information is 40 bytes");

#endif /* IPCMSG_LTEINFO_H */
