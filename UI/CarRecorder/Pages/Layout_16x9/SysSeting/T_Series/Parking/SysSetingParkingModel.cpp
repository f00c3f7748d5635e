#include "SysSetingParkingModel.h"

#include <string.h>

#include "log.h"

namespace Page {

const SysSetingParkingModel::ParkingMode SysSetingParkingModel::kModes[kModeNum] = {
    {"timelapse", 104, 0, "LANG_RES_ID_PARKING_MODE_TIMELAPSE"},
    {"aovtimelapse", 105, 3, "LANG_RES_ID_PARKING_MODE_AOV_TIMELAPSE"},
    {"hibernate", 106, 2, "LANG_RES_ID_PARKING_MODE_HIBERNATE"},
    {"normal", 107, 1, "LANG_RES_ID_PARKING_MODE_NORMAL"},
};

namespace {

int32_t Occurrences(const char *pcText, const char *pcWord) {
    int32_t n = 0;
    const size_t len = strlen(pcWord);
    for (const char *p = strstr(pcText, pcWord); p != nullptr; p = strstr(p + len, pcWord)) {
        ++n;
    }
    return n;
}

const int32_t kDurations[] = {15, 720, 1440, 2880, 4320, 7200, 11520};

} // namespace

int32_t SysSetingParkingModel::ParkingModeInit(const char *pcOption, bool abOffered[kModeNum]) {
    char szText[GENERAL_SETING_TEXT_SIZE + 1] = "";
    strncpy(szText, pcOption != nullptr ? pcOption : "", GENERAL_SETING_TEXT_SIZE);
    if (strcmp(szText, "na") == 0) {
        strcpy(szText, "timelapse_hibernate_normal");
    }
    int32_t s32Num = 0;
    for (int32_t i = 0; i < kModeNum; ++i) {
        bool bOffered = strstr(szText, kModes[i].pcName) != nullptr;
        /* "aovtimelapse" holds "timelapse": alone it does not offer the plain one. */
        if (i == 0 && strstr(szText, "aovtimelapse") != nullptr && Occurrences(szText, "timelapse") == 1) {
            bOffered = false;
        }
        abOffered[i] = bOffered;
        if (bOffered) {
            LOG_INFO("i : %d ,MatchStr : %s ,MainText : %s\n", (int)i, kModes[i].pcName, kModes[i].pcLabel);
            ++s32Num;
        }
    }
    LOG_INFO("Cfg init over,ParkingModeNum = %d\n", (int)s32Num);
    if (s32Num == 0) {
        LOG_ERROR("ParkingModeNum err!\n");
    }
    return s32Num;
}

int32_t SysSetingParkingModel::MenuChangeParkingModeValToLevel(int32_t s32Value) {
    for (const ParkingMode &m : kModes) {
        if (m.s32Value == s32Value) {
            LOG_INFO("uParkingModeLevel = %d\n", (int)(m.s32ItemId - 104));
            return m.s32ItemId - 104;
        }
    }
    LOG_WARN("no support  %d ,skip \n", (int)s32Value);
    return -1;
}

int32_t SysSetingParkingModel::MenuChangeParkingDurationValToLevel_new(int32_t s32Value) {
    for (int32_t i = 0; i < (int32_t)(sizeof kDurations / sizeof kDurations[0]); ++i) {
        if (kDurations[i] == s32Value) {
            return i;
        }
    }
    LOG_WARN("no support  %d ,skip \n", (int)s32Value);
    return 0;
}

int32_t SysSetingParkingModel::MenuChangeParkingDurationValToLevel_old(int32_t s32Value) {
    if (IsOldDurationScheme(s32Value)) {
        return s32Value + 1;
    }
    LOG_WARN("no support  %d ,skip \n", (int)s32Value);
    return 0;
}

int32_t SysSetingParkingModel::MenuChangeBatProtectValToLevel(int32_t s32Value, bool bFiveLevel) {
    int32_t s32Level = -1;
    if (bFiveLevel) {
        s32Level = s32Value >= 0 && s32Value <= 5 ? s32Value : -1;
    } else if (s32Value == 0) {
        s32Level = 3;
    } else if (s32Value == 1) {
        s32Level = 2;
    } else if (s32Value == 2) {
        s32Level = 0;
    }
    if (s32Level < 0) {
        LOG_WARN("no support  %d ,skip \n", (int)s32Value);
    } else {
        LOG_INFO("uBatProtectLevel = %d \n", (int)s32Level);
    }
    return s32Level;
}

int32_t SysSetingParkingModel::DurationElem(int32_t s32Mode) {
    switch (s32Mode) {
    case 0:
        return GS_PARKTIMELAPSEDUR;
    case 3:
        return GS_PARKAOVTIMELAPSEDUR;
    default:
        return GS_PARKNORMDUR;
    }
}

int32_t SysSetingParkingModel::CurDuration() const {
    int32_t s32Value = 0;
    SetMenu_GetSettingValue(&m_stInfo, DurationElem(m_stInfo.parking_status), &s32Value);
    return s32Value;
}

int32_t SysSetingParkingModel::MenuGetDefault_ParkingMode(SetMenu *, int32_t, SetMenuItem **) {
    SysSetingModel *pstModel = Current();
    return pstModel != nullptr ? MenuChangeParkingModeValToLevel(pstModel->m_stInfo.parking_status) : -1;
}

int32_t SysSetingParkingModel::MenuGetDefault_Duration(SetMenu *, int32_t, SetMenuItem **) {
    const SysSetingParkingModel *pstModel = static_cast<SysSetingParkingModel *>(Current());
    if (pstModel == nullptr) {
        return -1;
    }
    const int32_t s32Value = pstModel->CurDuration();
    return IsOldDurationScheme(s32Value) ? MenuChangeParkingDurationValToLevel_old(s32Value)
                                         : MenuChangeParkingDurationValToLevel_new(s32Value);
}

int32_t SysSetingParkingModel::MenuGetDefault_BatProtect(SetMenu *, int32_t, SetMenuItem **) {
    const SysSetingParkingModel *pstModel = static_cast<SysSetingParkingModel *>(Current());
    if (pstModel == nullptr) {
        return -1;
    }
    return MenuChangeBatProtectValToLevel(pstModel->m_stInfo.parking_voltlvl,
                                          pstModel->IsSupportLowPower5Level());
}

} // namespace Page
