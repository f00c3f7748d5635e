/* The sound page's model: the account "SysSetingSoundSetModel" and the rule that turns the stored
 * speaker volume back into the marked option. */
#ifndef SYS_SETING_SOUND_SET_MODEL_H
#define SYS_SETING_SOUND_SET_MODEL_H

#include "PagesCommon.h"

namespace Page {

class SysSetingSoundSetModel : public SysSetingModel {
  public:
    /* Option position of a stored volume: 67-100 and above 100 high, 34-66 middle, 1-33 low,
     * 0 off; a negative value is logged and marks the first option. */
    static int32_t MenuChangeVolumeValToLevel(int32_t s32Value);
    static int32_t MenuGetDefault_GeneralSetting(SetMenu *pstMenu, int32_t s32Index, SetMenuItem **ppstItems);
};

} // namespace Page

#endif /* SYS_SETING_SOUND_SET_MODEL_H */
