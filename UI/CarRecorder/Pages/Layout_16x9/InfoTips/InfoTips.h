/*
 * InfoTips: the processor of the account "InfoTips". Any part shows a short tip by notifying the
 * account with a TipsInfo (DataProc.h). One tip is on screen at a time, on the display's top
 * layer; the others wait in a queue and follow one another every 2.1 s.
 */
#ifndef INFO_TIPS_H
#define INFO_TIPS_H

#include <stdint.h>

#include "DataProc.h"

/* How long a tip stays before it is hidden, and the show and hide animations. */
#define INFO_TIPS_PERIOD_MS 2100
#define INFO_TIPS_ANIM_MS   200
#define INFO_TIPS_FONT_SIZE 23
/* Tips waiting behind the one on screen, at most (about half a minute of tips). */
#define INFO_TIPS_QUEUE_MAX 16u

/* Tips waiting behind the one on screen. */
uint32_t InfoTips_QueueSize(void);
/* Objects of the tip on screen (0 when none). */
uint32_t InfoTips_OnScreenCount(void);
/* The top object of the tip on screen (the label of a normal tip), or null. */
lv_obj_t *InfoTips_OnScreenObj(void);

#endif /* INFO_TIPS_H */
