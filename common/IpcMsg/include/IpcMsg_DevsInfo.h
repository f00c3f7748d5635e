/*
 * Device information: model, Wi-Fi name and password, firmware version, serial number and
 * Bluetooth name, queried from the recorder ("IPCMSG_DEVINFO_QUERY", 5 s time-out).
 */
#ifndef IPCMSG_DEVSINFO_H
#define IPCMSG_DEVSINFO_H

#include <assert.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define DEVS_INFO_TEXT_SIZE 32 /* at most 31 characters and the NUL */

typedef struct {
    char szModel[DEVS_INFO_TEXT_SIZE];       /* "model" */
    char szWifiSsid[DEVS_INFO_TEXT_SIZE];    /* "wifi_ssid" */
    char szWifiPwd[DEVS_INFO_TEXT_SIZE];     /* "wifi_pwd" */
    char szSoftVersion[DEVS_INFO_TEXT_SIZE]; /* "soft_version" */
    char szSnCode[DEVS_INFO_TEXT_SIZE];      /* "sn_code" */
    char szBtInfo[DEVS_INFO_TEXT_SIZE];      /* "bt_info" */
} DevsInfo;

/* Queries the recorder and fills the record (cleared first; a missing member stays empty).
 * 0, or -1 / the agent's error. */
int IpcMsg_DevsInfoQuerylHandle(void);
/* Clears the record and queries. */
int IpcMsg_DevsInfoLoad(void);
/* Copies the record (under its lock). 0, or -1 for a null pointer. */
int IpcMsg_DevsInfoCopy(DevsInfo *pstDst);

#ifdef __cplusplus
}
#endif

static_assert(sizeof(DevsInfo) == 192, "device information is 192 bytes");

#endif /* IPCMSG_DEVSINFO_H */
