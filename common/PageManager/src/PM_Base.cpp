/* Pages, the pool of installed pages and the stack queries. */
#include "PageManager.h"

#include <string.h>

#include <algorithm>
#include <string>

#include "log.h"

PageBase::PageBase() : root(nullptr), Manager(nullptr), Name(nullptr), ID(0), UserData(nullptr), priv() {}

void PageBase::SetAutoCacheEnable(bool en) {
    priv.ReqDisableAutoCache = !en;
}

void PageBase::SetCacheEnable(bool en) {
    priv.ReqDisableAutoCache = true;
    priv.ReqEnableCache = en;
}

void PageBase::SetLoadAnim(uint8_t anim, uint16_t time, lv_anim_path_cb_t path) {
    priv.Anim.Attr.Type = anim;
    priv.Anim.Attr.Time = time;
    priv.Anim.Attr.Path = path;
}

bool PageBase::StashRead(void *ptr, uint32_t size) {
    if (ptr == nullptr || priv.Stash.ptr == nullptr || priv.Stash.size != size) {
        return false;
    }
    memcpy(ptr, priv.Stash.ptr, size);
    return true;
}

PageManager::PageManager(PageFactory *factory)
    : Factory(factory), PagePrev(nullptr), PageCurrent(nullptr), AnimState() {
    SetGlobalLoadAnimType(LOAD_ANIM_OVER_LEFT, 500, lv_anim_path_ease_out);
}

PageManager::~PageManager() {
    LOG_INFO("in...\r\n");
    /* Uninstall takes the page's name from the page it deletes; keep copies. */
    std::vector<std::string> names;
    for (PageBase *base : PagePool) {
        names.emplace_back(base->Name);
    }
    for (const std::string &name : names) {
        Uninstall(name.c_str());
    }
}

PageBase *PageManager::FindPageInPool(const char *name) {
    if (name == nullptr) {
        return nullptr;
    }
    for (PageBase *base : PagePool) {
        if (strcmp(name, base->Name) == 0) {
            return base;
        }
    }
    return nullptr;
}

PageBase *PageManager::FindPageInStack(const char *name) {
    if (name == nullptr) {
        return nullptr;
    }
    std::stack<PageBase *> stk = PageStack;
    while (!stk.empty()) {
        PageBase *base = stk.top();
        if (strcmp(name, base->Name) == 0) {
            return base;
        }
        stk.pop();
    }
    return nullptr;
}

PageBase *PageManager::Install(const char *className, const char *appName) {
    if (Factory == nullptr) {
        LOG_ERROR("Factory is not regsite, can't install page\r\n");
        return nullptr;
    }
    if (className == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "className");
        return nullptr;
    }

    PageBase *base = Factory->CreatePage(className);
    if (base == nullptr) {
        LOG_ERROR("Factory has not %s\r\n", className);
        return nullptr;
    }

    base->root = nullptr;
    base->Manager = nullptr;
    base->ID = 0;
    base->UserData = nullptr;
    base->priv = {};
    base->onAttrConfig();

    if (appName == nullptr) {
        LOG_WARN("appName has not set\r\n");
        appName = className;
    }
    LOG_INFO("Install Page[class = %s, name = %s]\r\n", className, appName);
    if (!Register(base, appName)) {
        /* Not in the pool, so nothing else owns it. */
        delete base;
        return nullptr;
    }
    return base;
}

bool PageManager::Uninstall(const char *appName) {
    LOG_INFO("Page(%s) uninstall...\r\n", appName);
    PageBase *base = FindPageInPool(appName);
    if (base == nullptr) {
        LOG_ERROR("Page(%s) was not found\r\n", appName);
        return false;
    }
    if (!Unregister(appName)) {
        LOG_ERROR("Page(%s) unregister failed\r\n", appName);
        return false;
    }
    delete base;
    LOG_INFO("Uninstall OK\r\n");
    return true;
}

bool PageManager::Register(PageBase *base, const char *name) {
    if (base == nullptr || name == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", base == nullptr ? "base" : "name");
        return false;
    }
    if (FindPageInPool(name) != nullptr) {
        LOG_ERROR("Page(%s) was multi registered\r\n", name);
        return false;
    }
    base->Manager = this;
    base->Name = name;
    PagePool.push_back(base);
    return true;
}

bool PageManager::Unregister(const char *name) {
    LOG_INFO("Page(%s) unregister...\r\n", name);

    PageBase *base = FindPageInStack(name);
    if (base != nullptr) {
        FourceUnload(base);
        RemovePageFromStack(name);
    } else {
        LOG_WARN("Page(%s) was not found in stack\r\n", name);
        /* A cached page that was popped still holds its views and stash. */
        base = FindPageInPool(name);
        if (base != nullptr && base->root != nullptr) {
            FourceUnload(base);
        }
    }
    if (PagePrev == base && base != nullptr) {
        PagePrev = nullptr;
    }
    if (PageCurrent == base && base != nullptr) {
        PageCurrent = nullptr;
    }

    auto it = std::find_if(PagePool.begin(), PagePool.end(),
                           [name](PageBase *p) { return strcmp(p->Name, name) == 0; });
    if (it == PagePool.end()) {
        LOG_ERROR("Page(%s) was not found in PagePool\r\n", name);
        return false;
    }
    PagePool.erase(it);
    LOG_INFO("Unregister OK\r\n");
    return true;
}

PageBase *PageManager::GetStackTop() {
    return PageStack.empty() ? nullptr : PageStack.top();
}

PageBase *PageManager::GetStackTopAfter() {
    PageBase *top = GetStackTop();
    if (top == nullptr) {
        return nullptr;
    }
    PageStack.pop();
    PageBase *after = GetStackTop();
    PageStack.push(top);
    return after;
}

const char *PageManager::GetPagePrevName() {
    return PagePrev != nullptr ? PagePrev->Name : "EMPTY_PAGE";
}

void PageManager::SetStackClear(bool keepBottom) {
    while (true) {
        PageBase *top = GetStackTop();
        if (top == nullptr) {
            LOG_INFO("Page stack is empty, breaking...\r\n");
            break;
        }
        PageBase *after = GetStackTopAfter();
        if (after == nullptr) {
            if (keepBottom) {
                PagePrev = top;
                LOG_INFO("Keep page stack bottom(%s), breaking...\r\n", top->Name);
                break;
            }
            PagePrev = nullptr;
        }
        FourceUnload(top);
        PageStack.pop();
    }
    LOG_INFO("Stack clear done\r\n");
}
