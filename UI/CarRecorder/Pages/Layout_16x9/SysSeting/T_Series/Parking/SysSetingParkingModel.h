/* The parking page's model: the account "SysSetingParkingModel", the parking modes the recorder
 * offers, and the rules that turn stored values back into marked options. */
#ifndef SYS_SETING_PARKING_MODEL_H
#define SYS_SETING_PARKING_MODEL_H

#include "PagesCommon.h"

namespace Page {

class SysSetingParkingModel : public SysSetingModel {
  public:
    /* The four parking modes in table order: name in the recorder's option text, item id, value
     * of "parking_status", label. */
    struct ParkingMode {
        const char *pcName;
        int32_t s32ItemId;
        int32_t s32Value;
        const char *pcLabel;
    };
    static constexpr int32_t kModeNum = 4;
    static const ParkingMode kModes[kModeNum];

    /* Which modes the option text offers ("na" stands for "timelapse_hibernate_normal"):
     * abOffered[i] for kModes[i]; the count (0 logs "ParkingModeNum err!"). */
    static int32_t ParkingModeInit(const char *pcOption, bool abOffered[kModeNum]);

    /* Option position of a stored parking mode (item id - 104), -1 for values above 3. */
    static int32_t MenuChangeParkingModeValToLevel(int32_t s32Value);
    /* Option position of a stored duration in minutes: 15 -> 0, 720 -> 1, 1440 -> 2, 2880 -> 3,
     * 4320 -> 4, 7200 -> 5, 11520 -> 6; others rejected: 0. */
    static int32_t MenuChangeParkingDurationValToLevel_new(int32_t s32Value);
    /* The older three-level values: 0 -> 1, 1 -> 2, 2 -> 3; others 0. */
    static int32_t MenuChangeParkingDurationValToLevel_old(int32_t s32Value);
    /* Whether a stored duration is of the older three-level scheme (0 to 2). */
    static bool IsOldDurationScheme(int32_t s32Value) { return s32Value >= 0 && s32Value <= 2; }
    /* Option position of a stored battery-protection level: five levels 0-5 -> 0-5; otherwise
     * 0 -> 3, 1 -> 2, 2 -> 0; others rejected: -1. */
    static int32_t MenuChangeBatProtectValToLevel(int32_t s32Value, bool bFiveLevel);

    /* The duration item that belongs to a parking mode. */
    static int32_t DurationElem(int32_t s32Mode);
    int32_t CurDuration() const;
    bool IsSupportLowPower5Level() const { return m_stInfo.showLowPower5Level != 0; }
    bool GetAccInsertedStatus() const { return m_stInfo.acc_status != 0; }

    static int32_t MenuGetDefault_ParkingMode(SetMenu *pstMenu, int32_t s32Index, SetMenuItem **ppstItems);
    static int32_t MenuGetDefault_Duration(SetMenu *pstMenu, int32_t s32Index, SetMenuItem **ppstItems);
    static int32_t MenuGetDefault_BatProtect(SetMenu *pstMenu, int32_t s32Index, SetMenuItem **ppstItems);
};

} // namespace Page

#endif /* SYS_SETING_PARKING_MODEL_H */
