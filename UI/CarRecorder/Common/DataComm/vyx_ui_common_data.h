/*
 * Data the pages share that belongs to no single page: the installation guide's current step.
 *
 * The guide page sets the step to 1 each time it loads; the language, time and app-connection
 * settings pages move it on when the user confirms inside the guide, and the guide page moves it
 * back and to the end. System state supervision reads it to know the guide is over (step 6).
 * Everything runs on the LVGL thread.
 */
#ifndef VYX_UI_COMMON_DATA_H
#define VYX_UI_COMMON_DATA_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The guide's steps. Step 3 (the 4G introduction) is skipped by SwitchGuideStep. */
typedef enum {
    GUIDE_STEP_NONE = 0, /* the guide never loaded in this run */
    GUIDE_STEP_LANGUAGE = 1,
    GUIDE_STEP_TIME = 2,
    GUIDE_STEP_4G_INTRO = 3,
    GUIDE_STEP_APP_CONNECT = 4,
    GUIDE_STEP_CLOSING = 5,
    GUIDE_STEP_FINISHED = 6,
} GuideStep;

/* Step 1 (language). */
void GuideStepInit(void);
uint32_t GetGuideStep(void);
/* Step += s32Delta, and once more when that lands on step 3, so that 2 -> 4 going forward and
 * 4 -> 2 going back. A step that would fall below 1 stays at 1. Returns the new step. */
uint32_t SwitchGuideStep(int32_t s32Delta);

#ifdef __cplusplus
}
#endif

#endif /* VYX_UI_COMMON_DATA_H */
