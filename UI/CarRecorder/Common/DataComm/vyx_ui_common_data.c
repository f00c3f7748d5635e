#include "vyx_ui_common_data.h"

#include "log.h"

static uint32_t s_u32GuideStep = GUIDE_STEP_NONE;

void GuideStepInit(void) {
    s_u32GuideStep = GUIDE_STEP_LANGUAGE;
    LOG_INFO("init GuideStep = %d\n", (int)s_u32GuideStep);
}

uint32_t GetGuideStep(void) {
    return s_u32GuideStep;
}

uint32_t SwitchGuideStep(int32_t s32Delta) {
    int64_t s64Step = (int64_t)s_u32GuideStep + s32Delta;
    if (s64Step == GUIDE_STEP_4G_INTRO) {
        s64Step += s32Delta;
    }
    if (s64Step < GUIDE_STEP_LANGUAGE) {
        /* A back press on the first step: there is no step before it. */
        s64Step = GUIDE_STEP_LANGUAGE;
    }
    s_u32GuideStep = (uint32_t)s64Step;
    LOG_INFO("Step = %d , Switch GuideStep to %d\n", (int)s32Delta, (int)s_u32GuideStep);
    return s_u32GuideStep;
}
