/* The settings home's model: the account "SysSetingHomeModel" (the framework's model). */
#ifndef SYS_SETING_HOME_MODEL_H
#define SYS_SETING_HOME_MODEL_H

#include "PagesCommon.h"

namespace Page {

class SysSetingHomeModel : public SysSetingModel {};

} // namespace Page

#endif /* SYS_SETING_HOME_MODEL_H */
