/* The factory of the program's pages: creates a page object by its class name. */
#ifndef APP_FACTORY_H
#define APP_FACTORY_H

#include "PageManager.h"

class AppFactory : public PageFactory {
  public:
    /* A new page of the class called name, or null for a class the program does not have. */
    PageBase *CreatePage(const char *name) override;
};

#endif /* APP_FACTORY_H */
