#include "SysSetingAlgorAssistModel.h"

#include "SysSetingAlgorAssist.h"
#include "log.h"

namespace Page {

int32_t SysSetingAlgorAssistModel::MenuChangeGsnSensitityValToLevel(int32_t s32Value) {
    static const int32_t s_as32Levels[] = {100, 75, 50, 25, 1, 0};
    for (int32_t i = 0; i < (int32_t)(sizeof s_as32Levels / sizeof s_as32Levels[0]); ++i) {
        if (s_as32Levels[i] == s32Value) {
            return i;
        }
    }
    if (s32Value > 0 && s32Value < 100) {
        return 6; /* set in the phone app */
    }
    LOG_WARN("no support  %d ,skip \n", (int)s32Value);
    return 0;
}

int32_t SysSetingAlgorAssistModel::MenuChangeAdasSensitityValToLevel(int32_t s32Value) {
    if (s32Value >= 0 && s32Value <= 3) {
        return 3 - s32Value;
    }
    LOG_WARN("no support  %d ,skip \n", (int)s32Value);
    return 0;
}

int32_t SysSetingAlgorAssistModel::MenuGetDefault_Collision(SetMenu *pstMenu, int32_t, SetMenuItem **) {
    SysSetingModel *pstModel = Current();
    int32_t s32Value = 0;
    const int32_t eElem = SysSetingAlgorAssist::CollisionElemOf(pstMenu);
    if (pstModel == nullptr || eElem < 0 || !SetMenu_GetSettingValue(&pstModel->m_stInfo, eElem, &s32Value)) {
        return -1;
    }
    return MenuChangeGsnSensitityValToLevel(s32Value);
}

int32_t SysSetingAlgorAssistModel::MenuGetDefault_Adas(SetMenu *pstMenu, int32_t, SetMenuItem **) {
    SysSetingModel *pstModel = Current();
    int32_t s32Value = 0;
    const int32_t eElem = SysSetingAlgorAssist::AdasElemOf(pstMenu);
    if (pstModel == nullptr || eElem < 0 || !SetMenu_GetSettingValue(&pstModel->m_stInfo, eElem, &s32Value)) {
        return -1;
    }
    return MenuChangeAdasSensitityValToLevel(s32Value);
}

} // namespace Page
