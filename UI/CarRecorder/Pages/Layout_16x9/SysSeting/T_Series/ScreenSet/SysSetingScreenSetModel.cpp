#include "SysSetingScreenSetModel.h"

namespace Page {

int32_t SysSetingScreenSetModel::MenuChangeWallPaperValToLevel(int32_t s32Value) {
    return s32Value == 1 || s32Value == 3 ? s32Value : 0;
}

int32_t SysSetingScreenSetModel::MenuGetDefault_GeneralSetting(SetMenu *pstMenu, int32_t s32Index,
                                                               SetMenuItem **ppstItems) {
    SysSetingModel *pstModel = Current();
    if (pstModel == nullptr) {
        return -1;
    }
    if (pstModel->FindBinding(pstMenu) != nullptr) {
        return MenuGetDefault_Binding(pstMenu, s32Index, ppstItems);
    }
    return MenuChangeWallPaperValToLevel(pstModel->m_stInfo.wallpaper);
}

} // namespace Page
