/* The driving-assistance page's widgets: the framework's navigation bar and lists only. */
#ifndef SYS_SETING_ALGOR_ASSIST_VIEW_H
#define SYS_SETING_ALGOR_ASSIST_VIEW_H

#include "PagesCommon.h"

namespace Page {

class SysSetingAlgorAssistView : public SysSetingView {};

} // namespace Page

#endif /* SYS_SETING_ALGOR_ASSIST_VIEW_H */
