#include "SysSetingSoundSetModel.h"

#include "log.h"

namespace Page {

int32_t SysSetingSoundSetModel::MenuChangeVolumeValToLevel(int32_t s32Value) {
    if (s32Value > 66) {
        return 0;
    }
    if (s32Value > 33) {
        return 1;
    }
    if (s32Value > 0) {
        return 2;
    }
    if (s32Value == 0) {
        return 3;
    }
    LOG_WARN("no support  %d ,skip \n", (int)s32Value);
    return 0;
}

int32_t SysSetingSoundSetModel::MenuGetDefault_GeneralSetting(SetMenu *pstMenu, int32_t s32Index,
                                                              SetMenuItem **ppstItems) {
    (void)pstMenu;
    (void)s32Index;
    (void)ppstItems;
    SysSetingModel *pstModel = Current();
    if (pstModel == nullptr) {
        return -1;
    }
    return MenuChangeVolumeValToLevel(pstModel->m_stInfo.speaker_turn);
}

} // namespace Page
