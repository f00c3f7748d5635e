/*
 * General control: asks the recorder to do something ("IPCMSG_GENERALCTRL"), naming a control
 * item and an optional value text. The blocking form waits up to 15 s for the recorder's
 * "result"; the other sends and returns.
 */
#ifndef IPCMSG_GENERALCTRL_H
#define IPCMSG_GENERALCTRL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Control item codes (eElem of a control request; a code space of its own). 8 has no item. */
typedef enum {
    CTRL_ELEM_SNAP = 0,
    CTRL_ELEM_FORMAT = 1,
    CTRL_ELEM_RESETDEV = 2,
    CTRL_ELEM_REC = 3,
    CTRL_ELEM_SCRDOMANT_TIMER = 4,
    CTRL_ELEM_PLAYBACKMODE = 5,
    CTRL_ELEM_DISPLAYINIT = 6,
    CTRL_ELEM_BTPAIR = 7,
    CTRL_ELEM_SCREENDORMANT = 9,
    CTRL_ELEM_MARUPAIR = 10,
    CTRL_ELEM_TOUCHPADTESTEND = 11,
    CTRL_ELEM_DISPLAYDEINIT = 12,
    CTRL_ELEM_REVERSING = 13,
    CTRL_ELEM_SYNCDATE = 14,
    CTRL_ELEM_AUTHENTICATION = 15,
    CTRL_ELEM_AUDIOPLAY = 16,
    CTRL_ELEM_APPLOGOUT = 17,
    CTRL_ELEM_KOVAR_STARTREVIEW = 18,
    CTRL_ELEM_KOVAR_STOPREVIEW = 19,
    CTRL_ELEM_KOVAR_UNBIND = 20,
    CTRL_ELEM_KOVAR_START_BIND = 21,
    CTRL_ELEM_KOVAR_STOP_BIND = 22,
    CTRL_ELEM_TFCARD_SPEEDTEXT = 23,
    CTRL_ELEM_KOVAR_RESETDEV = 24,
    CTRL_ELEM_KOVAR_FORMAT = 25,
} GeneralCtrlElem;

#define GENERAL_CTRL_ITEM_NUM   25
#define GENERAL_CTRL_TIMEOUT_MS 15000

/* The item name sent as "key" ("ctrl_snap", ...), NULL for an unknown code. */
const char *IpcMsg_ItemNameParser(int32_t eElem);

/* Sends the item with its value (NULL is sent as an empty text) and waits for the answer.
 * 0 when the recorder answered "result" 0; -1 for an unknown item, a failed exchange or any
 * other result. */
int IpcMsg_GeneralCtrlBlockingPublish(int32_t eElem, const char *pcValue);
/* Sends the item without waiting. 0, -1 for an unknown item or a message that cannot be built,
 * or the agent's send error. */
int IpcMsg_GeneralCtrlNoBlockingPublish(int32_t eElem, const char *pcValue);

#ifdef __cplusplus
}
#endif

#endif /* IPCMSG_GENERALCTRL_H */
