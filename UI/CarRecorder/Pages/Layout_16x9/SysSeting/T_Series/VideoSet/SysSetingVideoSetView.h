/* The video page's widgets: the framework's navigation bar and lists only. */
#ifndef SYS_SETING_VIDEO_SET_VIEW_H
#define SYS_SETING_VIDEO_SET_VIEW_H

#include "PagesCommon.h"

namespace Page {

class SysSetingVideoSetView : public SysSetingView {};

} // namespace Page

#endif /* SYS_SETING_VIDEO_SET_VIEW_H */
