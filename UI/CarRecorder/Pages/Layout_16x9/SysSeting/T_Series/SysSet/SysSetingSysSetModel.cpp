#include "SysSetingSysSetModel.h"

#include <stdio.h>

#include "log.h"

namespace Page {

int32_t SysSetingSysSetModel::MenuChangeTimeFmtValToLevel(int32_t s32Value) {
    int32_t s32Level = 0;
    switch (s32Value) {
    case 0:
        s32Level = 3;
        break;
    case 1:
    case 5:
        s32Level = 0;
        break;
    case 2:
        s32Level = 1;
        break;
    case 3:
        s32Level = 2;
        break;
    case 4:
        s32Level = 4;
        break;
    default:
        LOG_WARN("no support  %d ,skip \n", (int)s32Value);
        return 0;
    }
    LOG_INFO("uTimeFmtLevel = %d\n", (int)s32Level);
    return s32Level;
}

int32_t SysSetingSysSetModel::MenuChangeLangValToLevel(int32_t s32Value) {
    if (s32Value == 2) {
        return 0;
    }
    if (s32Value == 3) {
        return 1;
    }
    LOG_WARN("no support\n");
    return -1;
}

bool SysSetingSysSetModel::Is12HourFormat(int32_t s32Format) {
    return s32Format == 1 || s32Format == 4 || s32Format == 5;
}

int32_t SysSetingSysSetModel::MenuGetDefault_GeneralSetting(SetMenu *pstMenu, int32_t s32Index,
                                                            SetMenuItem **ppstItems) {
    (void)s32Index;
    SysSetingModel *pstModel = Current();
    if (pstModel == nullptr || pstMenu == nullptr || pstMenu->s32ItemNum <= 0) {
        return -1;
    }
    /* The menu is told by its first option: time formats start at 92, languages at 98. */
    switch (ppstItems[0]->s32ItemId) {
    case 92:
        return MenuChangeTimeFmtValToLevel(pstModel->m_stInfo.time_format);
    case 98:
        return MenuChangeLangValToLevel(pstModel->m_stInfo.language);
    default:
        return MenuGetDefault_Binding(pstMenu, s32Index, ppstItems);
    }
}

uint32_t SysSetingSysSetModel::DaysOfMonth(uint32_t u32Year, uint32_t u32Month) {
    static const uint8_t s_au8Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (u32Month < 1 || u32Month > 12) {
        return 31;
    }
    bool bLeap = (u32Year % 4 == 0 && u32Year % 100 != 0) || u32Year % 400 == 0;
    return u32Month == 2 && bLeap ? 29 : s_au8Days[u32Month - 1];
}

SysSetingSysSetModel::DateTimeEdit SysSetingSysSetModel::DateTimeFromTm(const struct tm &stTm, bool b12Hour) {
    DateTimeEdit e = {};
    e.u32Year = (uint32_t)(stTm.tm_year + 1900);
    e.u32Month = (uint32_t)(stTm.tm_mon + 1);
    e.u32Day = (uint32_t)stTm.tm_mday;
    e.u32Minute = (uint32_t)stTm.tm_min;
    e.u32Second = (uint32_t)(stTm.tm_sec > 59 ? 59 : stTm.tm_sec);
    e.b12Hour = b12Hour;
    uint32_t u32Hour = (uint32_t)stTm.tm_hour;
    if (b12Hour) {
        e.bPm = u32Hour >= 12;
        e.u32Hour = u32Hour % 12 == 0 ? 12 : u32Hour % 12;
    } else {
        e.u32Hour = u32Hour;
    }
    return e;
}

namespace {

uint32_t Clamp(int64_t s64Value, uint32_t u32Min, uint32_t u32Max) {
    if (s64Value < (int64_t)u32Min) {
        return u32Min;
    }
    return s64Value > (int64_t)u32Max ? u32Max : (uint32_t)s64Value;
}

uint32_t Wrap(int64_t s64Value, uint32_t u32Count) {
    return (uint32_t)((s64Value % u32Count + u32Count) % u32Count);
}

} // namespace

void SysSetingSysSetModel::DateTimeStep(DateTimeEdit *pstEdit, uint32_t u32Field, int32_t s32Oper) {
    DateTimeEdit &e = *pstEdit;
    switch (u32Field) {
    case DT_YEAR:
        e.u32Year = Clamp((int64_t)e.u32Year + s32Oper, kYearMin, kYearMax);
        break;
    case DT_MONTH:
        e.u32Month = Clamp((int64_t)e.u32Month + s32Oper, 1, 12);
        break;
    case DT_DAY:
        e.u32Day = Clamp((int64_t)e.u32Day + s32Oper, 1, DaysOfMonth(e.u32Year, e.u32Month));
        break;
    case DT_HOUR:
        e.u32Hour = e.b12Hour ? Clamp((int64_t)e.u32Hour + s32Oper, 1, 12)
                              : Clamp((int64_t)e.u32Hour + s32Oper, 0, 23);
        break;
    case DT_MINUTE:
        e.u32Minute = Wrap((int64_t)e.u32Minute + s32Oper, 60);
        break;
    case DT_SECOND:
        e.u32Second = Wrap((int64_t)e.u32Second + s32Oper, 60);
        break;
    case DT_AMPM:
        e.bPm = !e.bPm;
        break;
    default:
        return;
    }
    /* A shorter month or a year that is no longer leap takes the day down with it. */
    e.u32Day = Clamp(e.u32Day, 1, DaysOfMonth(e.u32Year, e.u32Month));
}

void SysSetingSysSetModel::DateTimeText(const DateTimeEdit &stEdit, char *pcBuf, size_t size) {
    uint32_t u32Hour = stEdit.u32Hour;
    if (stEdit.b12Hour) {
        u32Hour = stEdit.u32Hour % 12 + (stEdit.bPm ? 12 : 0);
    }
    snprintf(pcBuf, size, "%04u%02u%02u%02u%02u%02u", (unsigned)stEdit.u32Year, (unsigned)stEdit.u32Month,
             (unsigned)stEdit.u32Day, (unsigned)u32Hour, (unsigned)stEdit.u32Minute,
             (unsigned)stEdit.u32Second);
}

} // namespace Page
