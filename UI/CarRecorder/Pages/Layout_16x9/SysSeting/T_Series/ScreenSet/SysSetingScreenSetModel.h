/* The screen page's model: the account "SysSetingScreenSetModel" and the wallpaper rule. */
#ifndef SYS_SETING_SCREEN_SET_MODEL_H
#define SYS_SETING_SCREEN_SET_MODEL_H

#include "PagesCommon.h"

namespace Page {

class SysSetingScreenSetModel : public SysSetingModel {
  public:
    /* Position of a stored wallpaper in the wallpaper list: 1 the clock, 3 none, other 0 (a
     * position with no option shown, so nothing is marked). */
    static int32_t MenuChangeWallPaperValToLevel(int32_t s32Value);
    static int32_t MenuGetDefault_GeneralSetting(SetMenu *pstMenu, int32_t s32Index, SetMenuItem **ppstItems);
};

} // namespace Page

#endif /* SYS_SETING_SCREEN_SET_MODEL_H */
