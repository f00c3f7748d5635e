/* The driving-assistance page's model: the account "SysSetingAlgorAssistModel" and the rules
 * that turn stored sensitivities back into marked options. */
#ifndef SYS_SETING_ALGOR_ASSIST_MODEL_H
#define SYS_SETING_ALGOR_ASSIST_MODEL_H

#include "PagesCommon.h"

namespace Page {

class SysSetingAlgorAssistModel : public SysSetingModel {
  public:
    /* Collision sensitivity: 100 -> 0, 75 -> 1, 50 -> 2, 25 -> 3, 1 -> 4, 0 -> 5, any other value
     * of 0 to 100 -> 6 (custom); others rejected: 0. */
    static int32_t MenuChangeGsnSensitityValToLevel(int32_t s32Value);
    /* ADAS sensitivity: 3 -> 0, 2 -> 1, 1 -> 2, 0 -> 3; others rejected: 0. */
    static int32_t MenuChangeAdasSensitityValToLevel(int32_t s32Value);

    static int32_t MenuGetDefault_Collision(SetMenu *pstMenu, int32_t s32Index, SetMenuItem **ppstItems);
    static int32_t MenuGetDefault_Adas(SetMenu *pstMenu, int32_t s32Index, SetMenuItem **ppstItems);
};

} // namespace Page

#endif /* SYS_SETING_ALGOR_ASSIST_MODEL_H */
