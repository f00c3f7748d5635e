/* The parking page's widgets: the framework's navigation bar and lists only. */
#ifndef SYS_SETING_PARKING_VIEW_H
#define SYS_SETING_PARKING_VIEW_H

#include "PagesCommon.h"

namespace Page {

class SysSetingParkingView : public SysSetingView {};

} // namespace Page

#endif /* SYS_SETING_PARKING_VIEW_H */
