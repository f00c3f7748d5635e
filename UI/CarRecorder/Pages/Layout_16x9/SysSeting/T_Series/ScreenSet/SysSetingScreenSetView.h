/* The screen page's widgets: the framework's navigation bar and lists only. */
#ifndef SYS_SETING_SCREEN_SET_VIEW_H
#define SYS_SETING_SCREEN_SET_VIEW_H

#include "PagesCommon.h"

namespace Page {

class SysSetingScreenSetView : public SysSetingView {};

} // namespace Page

#endif /* SYS_SETING_SCREEN_SET_VIEW_H */
