#include "SysSetingVideoSetModel.h"

#include <string.h>

#include "log.h"

namespace Page {

namespace {

const SysSetingVideoSetModel::ResoEntry s_astKnown[] = {
    {"2160p30", "3840x2160 30P", 3}, {"1440p60", "2560x1440 60P", 4}, {"1440p30", "2560x1440 30P", 0},
    {"1080p60", "1920x1080 60P", 1}, {"1080p30", "1920x1080 30P", 2}, {"720p60", "1280x720 60P", 5},
    {"720p30", "1280x720 30P", 6},
};

const SysSetingVideoSetModel::ResoEntry *s_apstOffered[SysSetingVideoSetModel::kResoMax];
uint32_t s_u32Offered = 0;

/* Whether word is one of the comma-separated words of list. */
bool HasWord(const char *pcList, const char *pcWord) {
    size_t len = strlen(pcWord);
    for (const char *p = pcList; p != nullptr && *p != '\0';) {
        const char *pcEnd = strchr(p, ',');
        size_t n = pcEnd != nullptr ? (size_t)(pcEnd - p) : strlen(p);
        if (n == len && strncmp(p, pcWord, len) == 0) {
            return true;
        }
        p = pcEnd != nullptr ? pcEnd + 1 : nullptr;
    }
    return false;
}

} // namespace

const SysSetingVideoSetModel::ResoEntry *SysSetingVideoSetModel::KnownResolutions(uint32_t *pu32Num) {
    *pu32Num = sizeof s_astKnown / sizeof s_astKnown[0];
    return s_astKnown;
}

uint32_t SysSetingVideoSetModel::ResoInit(const char *pcAbility) {
    s_u32Offered = 0;
    for (const ResoEntry &e : s_astKnown) {
        if (s_u32Offered < kResoMax && HasWord(pcAbility, e.pcName)) {
            s_apstOffered[s_u32Offered++] = &e;
        }
    }
    LOG_INFO("Cfg init over,ResoNum = %u\n", (unsigned)s_u32Offered);
    return s_u32Offered;
}

uint32_t SysSetingVideoSetModel::ResoNum() {
    return s_u32Offered;
}

const SysSetingVideoSetModel::ResoEntry *SysSetingVideoSetModel::ResoAt(uint32_t u32Pos) {
    return u32Pos < s_u32Offered ? s_apstOffered[u32Pos] : nullptr;
}

int32_t SysSetingVideoSetModel::MenuChangeResoValToLevel(int32_t s32Value) {
    if (s32Value < 0 || s32Value > kResoMaxValue) {
        LOG_WARN("no support  %d ,skip \n", (int)s32Value);
        return 0;
    }
    for (uint32_t i = 0; i < s_u32Offered; ++i) {
        if (s_apstOffered[i]->s32Value == s32Value) {
            LOG_INFO("uResoLevel = %u\n", (unsigned)i);
            return (int32_t)i;
        }
    }
    return -1;
}

int32_t SysSetingVideoSetModel::MenuGetDefault_GeneralSetting(SetMenu *pstMenu, int32_t s32Index,
                                                              SetMenuItem **ppstItems) {
    return MenuGetDefault_BindingOr(pstMenu, s32Index, ppstItems, [](const GeneralSetingInfo &stInfo) {
        return MenuChangeResoValToLevel(stInfo.res_cur_lvl);
    });
}

} // namespace Page
