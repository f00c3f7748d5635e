/* General control items: "IPCMSG_GENERALCTRL" with one {"key": item, "value": text}. */
#include "IpcMsg_GeneralCtrl.h"

#include <stdio.h>
#include <string.h>

#include "IpcMsg_Common.h"
#include "log.h"

#define GENERAL_CTRL_MSGID "IPCMSG_GENERALCTRL"

static const struct {
    int32_t eElem;
    const char *pcName;
} s_astCtrlItems[GENERAL_CTRL_ITEM_NUM] = {
    {CTRL_ELEM_SNAP, "ctrl_snap"},
    {CTRL_ELEM_FORMAT, "ctrl_format"},
    {CTRL_ELEM_RESETDEV, "ctrl_resetdev"},
    {CTRL_ELEM_REC, "ctrl_rec"},
    {CTRL_ELEM_SCRDOMANT_TIMER, "ctrl_scrdomant_timer"},
    {CTRL_ELEM_PLAYBACKMODE, "ctrl_playbackmode"},
    {CTRL_ELEM_DISPLAYINIT, "ctrl_displayinit"},
    {CTRL_ELEM_DISPLAYDEINIT, "ctrl_displaydeinit"},
    {CTRL_ELEM_BTPAIR, "ctrl_btpair"},
    {CTRL_ELEM_SCREENDORMANT, "ctrl_screendormant"},
    {CTRL_ELEM_MARUPAIR, "ctrl_marupair"},
    {CTRL_ELEM_TOUCHPADTESTEND, "ctrl_touchpadtestend"},
    {CTRL_ELEM_REVERSING, "ctrl_reversing"},
    {CTRL_ELEM_SYNCDATE, "ctrl_syncdate"},
    {CTRL_ELEM_AUTHENTICATION, "ctrl_authentication"},
    {CTRL_ELEM_AUDIOPLAY, "ctrl_audioplay"},
    {CTRL_ELEM_APPLOGOUT, "ctrl_applogout"},
    {CTRL_ELEM_KOVAR_STARTREVIEW, "ctrl_kovar_startreview"},
    {CTRL_ELEM_KOVAR_STOPREVIEW, "ctrl_kovar_stopreview"},
    {CTRL_ELEM_KOVAR_UNBIND, "ctrl_kovar_unbind"},
    {CTRL_ELEM_KOVAR_START_BIND, "ctrl_kovar_start_bind"},
    {CTRL_ELEM_KOVAR_STOP_BIND, "ctrl_kovar_stop_bind"},
    {CTRL_ELEM_KOVAR_RESETDEV, "ctrl_kovar_resetdev"},
    {CTRL_ELEM_KOVAR_FORMAT, "ctrl_kovar_format"},
    {CTRL_ELEM_TFCARD_SPEEDTEXT, "ctrl_tfcard_speedtext"},
};

const char *IpcMsg_ItemNameParser(int32_t eElem) {
    for (int i = 0; i < GENERAL_CTRL_ITEM_NUM; i++) {
        if (s_astCtrlItems[i].eElem == eElem) {
            return s_astCtrlItems[i].pcName;
        }
    }
    LOG_ERROR("eElem[%d] No find\n", eElem);
    return NULL;
}

/* The request body for an item, or NULL (logged) for an unknown item. */
static cJSON *IpcMsg_GeneralCtrlBody(int32_t eElem, const char *pcValue) {
    const char *pCtrlItemName = IpcMsg_ItemNameParser(eElem);
    if (pCtrlItemName == NULL) {
        LOG_ERROR("pointer[%s] is NULL\n", "pCtrlItemName");
        return NULL;
    }
    return IpcMsg_BuildStringParam(pCtrlItemName, pcValue);
}

int IpcMsg_GeneralCtrlBlockingPublish(int32_t eElem, const char *pcValue) {
    cJSON *pstBody = IpcMsg_GeneralCtrlBody(eElem, pcValue);
    if (pstBody == NULL) {
        return -1;
    }
    int32_t s32Result = -1;
    int32_t s32Ret = IpcMsg_RequestResult(GENERAL_CTRL_MSGID, pstBody, GENERAL_CTRL_TIMEOUT_MS, &s32Result);
    if (s32Ret == 0) {
        s32Ret = s32Result;
    }
    if (s32Ret != 0) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
        return -1;
    }
    return 0;
}

int IpcMsg_GeneralCtrlNoBlockingPublish(int32_t eElem, const char *pcValue) {
    cJSON *pstBody = IpcMsg_GeneralCtrlBody(eElem, pcValue);
    if (pstBody == NULL) {
        return -1;
    }
    int s32Ret = IpcMsg_RequestNoRsp(GENERAL_CTRL_MSGID, pstBody);
    if (s32Ret != 0) {
        LOG_ERROR("Error Code: [0x%08X]\n\n", (unsigned)s32Ret);
    }
    return s32Ret;
}
