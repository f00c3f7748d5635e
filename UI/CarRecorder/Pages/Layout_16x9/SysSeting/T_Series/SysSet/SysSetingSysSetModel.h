/* The system page's model: the account "SysSetingSysSetModel", the rules that mark the stored
 * time format and language, and the date and time editor's fields and their limits. */
#ifndef SYS_SETING_SYS_SET_MODEL_H
#define SYS_SETING_SYS_SET_MODEL_H

#include <time.h>

#include "PagesCommon.h"

namespace Page {

class SysSetingSysSetModel : public SysSetingModel {
  public:
    /* Time-format option position of a stored format: 0 -> 3, 1 and 5 -> 0, 2 -> 1, 3 -> 2,
     * 4 -> 4; other values are logged and mark the first. */
    static int32_t MenuChangeTimeFmtValToLevel(int32_t s32Value);
    /* Language option position: 2 (US) -> 0, 3 (RU) -> 1; other languages mark none (-1). */
    static int32_t MenuChangeLangValToLevel(int32_t s32Value);
    static int32_t MenuGetDefault_GeneralSetting(SetMenu *pstMenu, int32_t s32Index, SetMenuItem **ppstItems);
    /* Whether a stored time format shows the hour on a 12-hour clock. */
    static bool Is12HourFormat(int32_t s32Format);

    /* The date and time editor: seven fields, the AM/PM flag only with a 12-hour format. */
    enum DateTimeField {
        DT_YEAR = 0,
        DT_MONTH,
        DT_DAY,
        DT_HOUR,
        DT_MINUTE,
        DT_SECOND,
        DT_AMPM,
        DT_FIELD_NUM
    };
    struct DateTimeEdit {
        uint32_t u32Year;
        uint32_t u32Month;
        uint32_t u32Day;
        uint32_t u32Hour; /* 0-23, or 1-12 with b12Hour */
        uint32_t u32Minute;
        uint32_t u32Second;
        bool bPm;
        bool b12Hour;
    };
    static constexpr uint32_t kYearMin = 1970;
    static constexpr uint32_t kYearMax = 9999;

    static uint32_t DaysOfMonth(uint32_t u32Year, uint32_t u32Month);
    /* The editor on a local time, in the given format's clock. */
    static DateTimeEdit DateTimeFromTm(const struct tm &stTm, bool b12Hour);
    /* One step (s32Oper +1 up, -1 down) of a field: year, month, day and hour stop at their
     * limits, minute and second wrap, AM/PM toggles; the day follows a shorter month. */
    static void DateTimeStep(DateTimeEdit *pstEdit, uint32_t u32Field, int32_t s32Oper);
    /* "YYYYMMDDHHMMSS" with the hour on the 24-hour clock. */
    static void DateTimeText(const DateTimeEdit &stEdit, char *pcBuf, size_t size);
    /* Number of fields the editor walks (the AM/PM flag only on a 12-hour clock). */
    static uint32_t FieldNum(const DateTimeEdit &stEdit) { return stEdit.b12Hour ? DT_FIELD_NUM : DT_AMPM; }
};

} // namespace Page

#endif /* SYS_SETING_SYS_SET_MODEL_H */
