/* The more page's model: the account "SysSetingMoreModel" (the framework's model, also
 * subscribed to the device-link and 4G information) and the texts of the about screen. */
#ifndef SYS_SETING_MORE_MODEL_H
#define SYS_SETING_MORE_MODEL_H

#include "PagesCommon.h"

namespace Page {

class SysSetingMoreModel : public SysSetingModel {
  public:
    /* The maker's contacts and the operating system shown on the about screen. */
    static constexpr const char *kWebsite = "www.vyx-recorder.example";
    static constexpr const char *kMail = "support@vyx-recorder.example";
    static constexpr const char *kPhone = "+1 555 0100";
    static constexpr const char *kOsVersion = "Linux 4.19";

    /* One 4G check: its text id and the state the recorder reported. */
    struct LteCheck {
        const char *pcMainText;
        int32_t s32State;
    };
    static constexpr int32_t kLteCheckNum = 6;
    /* The six checks from a 4G record ("i : %d ,MainText : %s ,State : %d \n"). */
    static int32_t LteInfoInit(const LteInfo &stInfo, LteCheck astChecks[kLteCheckNum]);
    /* The state text of a check: 1 normal, 2 abnormal, 0 not checked; null for any other. */
    static const char *LteStateText(int32_t s32State);
    /* "%s: %dG/%dG" of free and total megabytes. */
    static void StorageText(const char *pcLabel, int32_t s32FreeMb, int32_t s32TotalMb, char *pcOut,
                            size_t len);

    /* Subscribes to "KovarInfo" and "LteInfo" as well. */
    int SubscribeInfo();
    int GetKovarInfo(KovarInfo *pstInfo);
    /* Asks the recorder for the 4G record, then pulls it. */
    int GetLteInfo(LteInfo *pstInfo);
};

} // namespace Page

#endif /* SYS_SETING_MORE_MODEL_H */
