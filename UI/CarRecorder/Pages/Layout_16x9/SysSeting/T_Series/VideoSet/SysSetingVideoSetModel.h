/* The video page's model: the account "SysSetingVideoSetModel", the resolution list the
 * recorder offers and the rule that marks the stored resolution. */
#ifndef SYS_SETING_VIDEO_SET_MODEL_H
#define SYS_SETING_VIDEO_SET_MODEL_H

#include "PagesCommon.h"

namespace Page {

class SysSetingVideoSetModel : public SysSetingModel {
  public:
    static constexpr uint32_t kResoMax = 9;
    static constexpr int32_t kResoFirstId = 36; /* option ids 36 ... 44 */
    static constexpr int32_t kResoMaxValue = 28;

    /* A resolution the recorder may offer: its name in the capability text, its label and the
     * value of "res_cur_lvl". */
    struct ResoEntry {
        const char *pcName;
        const char *pcLabel;
        int32_t s32Value;
    };
    /* Every resolution known, in the order they are listed. */
    static const ResoEntry *KnownResolutions(uint32_t *pu32Num);

    /* Fills the resolution menu with the entries whose names are words of pcAbility (a comma
     * list, "api_query_ability"), at most kResoMax. The number offered. */
    static uint32_t ResoInit(const char *pcAbility);
    static uint32_t ResoNum();
    static const ResoEntry *ResoAt(uint32_t u32Pos);
    /* Position of the offered entry with this value; above kResoMaxValue the first (logged);
     * -1 when none is offered with it. */
    static int32_t MenuChangeResoValToLevel(int32_t s32Value);

    static int32_t MenuGetDefault_GeneralSetting(SetMenu *pstMenu, int32_t s32Index, SetMenuItem **ppstItems);
};

} // namespace Page

#endif /* SYS_SETING_VIDEO_SET_MODEL_H */
