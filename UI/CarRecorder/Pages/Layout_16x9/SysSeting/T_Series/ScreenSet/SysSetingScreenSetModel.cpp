#include "SysSetingScreenSetModel.h"

namespace Page {

int32_t SysSetingScreenSetModel::MenuChangeWallPaperValToLevel(int32_t s32Value) {
    return s32Value == 1 || s32Value == 3 ? s32Value : 0;
}

int32_t SysSetingScreenSetModel::MenuGetDefault_GeneralSetting(SetMenu *pstMenu, int32_t s32Index,
                                                               SetMenuItem **ppstItems) {
    return MenuGetDefault_BindingOr(pstMenu, s32Index, ppstItems, [](const GeneralSetingInfo &stInfo) {
        return MenuChangeWallPaperValToLevel(stInfo.wallpaper);
    });
}

} // namespace Page
