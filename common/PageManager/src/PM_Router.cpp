/* Push, pop and the page switch. */
#include "PageManager.h"

#include <string.h>

#include "log.h"

bool PageManager::SwitchAnimStateCheck() {
    if (AnimState.IsSwitchReq || AnimState.IsBusy) {
        LOG_WARN("Page switch busy[AnimState.IsSwitchReq = %d,AnimState.IsBusy = %d],request ignored\r\n",
                 AnimState.IsSwitchReq, AnimState.IsBusy);
        return false;
    }
    return true;
}

PageBase *PageManager::Push(const char *name, const PageBase::Stash_t *stash) {
    if (!SwitchAnimStateCheck()) {
        return nullptr;
    }
    if (name == nullptr) {
        LOG_ERROR("pointer[%s] is NULL\n", "name");
        return nullptr;
    }
    if (FindPageInStack(name) != nullptr) {
        LOG_ERROR("Page(%s) was multi push\r\n", name);
        return nullptr;
    }
    PageBase *base = FindPageInPool(name);
    if (base == nullptr) {
        LOG_ERROR("Page(%s) was not install\r\n", name);
        return nullptr;
    }

    base->priv.IsDisableAutoCache = base->priv.ReqDisableAutoCache;
    PageStack.push(base);
    LOG_INFO("Page(%s) push >> [Screen] (stash = 0x%p)\r\n", name, (const void *)stash);
    SwitchTo(base, true, stash);
    return base;
}

PageBase *PageManager::Pop() {
    if (!SwitchAnimStateCheck()) {
        return nullptr;
    }
    PageBase *top = GetStackTop();
    if (top == nullptr) {
        LOG_WARN("Page stack is empty, cat't pop\r\n");
        return nullptr;
    }

    if (!top->priv.IsDisableAutoCache) {
        LOG_INFO("Page(%s) has auto cache, cache disabled\r\n", top->Name);
        top->priv.IsCached = false;
    }

    LOG_INFO("Page(%s) pop << [Screen]\r\n", top->Name);
    PageStack.pop();

    top = GetStackTop();
    if (top != nullptr) {
        SwitchTo(top, false, nullptr);
    }
    return top;
}

bool PageManager::PopToBottom() {
    if (!SwitchAnimStateCheck()) {
        return false;
    }
    SetStackClear(true);
    PagePrev = nullptr;
    SwitchTo(GetStackTop(), false, nullptr);
    return true;
}

bool PageManager::SwitchTo(PageBase *newNode, bool isPushAct, const PageBase::Stash_t *stash) {
    if (newNode == nullptr) {
        LOG_ERROR("newNode is nullptr\r\n");
        return false;
    }
    if (AnimState.IsSwitchReq) {
        LOG_WARN("Page switch busy, reqire(%s) is ignore\r\n", newNode->Name);
        return false;
    }
    AnimState.IsSwitchReq = true;

    if (stash != nullptr) {
        LOG_INFO("stash is detect, %s >> stash(0x%p) >> %s\r\n", GetPagePrevName(), stash->ptr,
                 newNode->Name);
        if (stash->ptr == nullptr || stash->size == 0) {
            LOG_WARN("stash(0x%p) is empty, nothing to copy\r\n", stash->ptr);
        } else {
            void *buffer = nullptr;
            if (newNode->priv.Stash.ptr == nullptr) {
                buffer = lv_mem_alloc(stash->size);
                if (buffer == nullptr) {
                    LOG_ERROR("stash malloc failed\r\n");
                } else {
                    LOG_INFO("stash(0x%p) malloc[%d]\r\n", buffer, (int)stash->size);
                }
            } else if (newNode->priv.Stash.size == stash->size) {
                buffer = newNode->priv.Stash.ptr;
                LOG_INFO("stash(0x%p) is exist\r\n", buffer);
            } else {
                LOG_WARN("stash(0x%p) holds %d bytes, a stash of %d bytes is not copied\r\n",
                         newNode->priv.Stash.ptr, (int)newNode->priv.Stash.size, (int)stash->size);
            }
            if (buffer != nullptr) {
                memcpy(buffer, stash->ptr, stash->size);
                LOG_INFO("stash memcpy[%d] 0x%p >> 0x%p\r\n", (int)stash->size, stash->ptr, buffer);
                newNode->priv.Stash.ptr = buffer;
                newNode->priv.Stash.size = stash->size;
            }
        }
    }

    PageCurrent = newNode;
    if (PageCurrent->priv.IsCached) {
        LOG_INFO("Page(%s) has cached, appear driectly\r\n", PageCurrent->Name);
        PageCurrent->priv.State = PageBase::PAGE_STATE_WILL_APPEAR;
    } else {
        PageCurrent->priv.State = PageBase::PAGE_STATE_LOAD;
    }

    if (PagePrev != nullptr) {
        PagePrev->priv.Anim.IsEnter = false;
    }
    PageCurrent->priv.Anim.IsEnter = true;
    AnimState.IsPushing = isPushAct;

    if (AnimState.IsPushing) {
        SwitchAnimTypeUpdate(PageCurrent);
    }

    StateUpdate(PagePrev);
    StateUpdate(PageCurrent);

    if (AnimState.IsPushing) {
        LOG_INFO("Page PUSH is detect, move Page(%s) to foreground\r\n", PageCurrent->Name);
        if (PagePrev != nullptr && PagePrev->root != nullptr) {
            lv_obj_move_foreground(PagePrev->root);
        }
        if (PageCurrent->root != nullptr) {
            lv_obj_move_foreground(PageCurrent->root);
        }
    } else {
        LOG_INFO("Page POP is detect, move Page(%s) to foreground\r\n", PageCurrent->Name);
        if (PageCurrent->root != nullptr) {
            lv_obj_move_foreground(PageCurrent->root);
        } else {
            LOG_ERROR("PageCurrent or PageCurrent->root is NULL during POP!\r\n");
        }
        if (PagePrev != nullptr && PagePrev->root != nullptr) {
            lv_obj_move_foreground(PagePrev->root);
        }
    }
    return true;
}

void PageManager::SwitchAnimTypeUpdate(PageBase *base) {
    if (base->priv.Anim.Attr.Type == LOAD_ANIM_GLOBAL) {
        LOG_INFO("Page(%s) Anim.Type was not set, use AnimState.Global.Type = %d\r\n", base->Name,
                 AnimState.Global.Type);
        AnimState.Current = AnimState.Global;
    } else if (base->priv.Anim.Attr.Type > _LOAD_ANIM_LAST) {
        LOG_ERROR("Page(%s) ERROR custom Anim.Type = %d, use AnimState.Global.Type = %d\r\n", base->Name,
                  base->priv.Anim.Attr.Type, AnimState.Global.Type);
        base->priv.Anim.Attr = AnimState.Global;
        AnimState.Current = AnimState.Global;
    } else {
        LOG_INFO("Page(%s) custom Anim.Type set = %d\r\n", base->Name, base->priv.Anim.Attr.Type);
        AnimState.Current = base->priv.Anim.Attr;
    }
}

bool PageManager::SwitchReqCheck() {
    bool isLastBusy = PagePrev != nullptr && PagePrev->priv.Anim.IsBusy;
    bool isCurrentBusy = PageCurrent != nullptr && PageCurrent->priv.Anim.IsBusy;
    if (isCurrentBusy) {
        LOG_WARN("Page PageCurrent(%s) is busy\r\n", PageCurrent->Name);
        return false;
    }
    if (isLastBusy) {
        LOG_WARN("Page PagePrev(%s) is busy\r\n", PagePrev->Name);
        return false;
    }
    LOG_INFO("----Page switch was all finished----\r\n");
    AnimState.IsSwitchReq = false;
    PagePrev = PageCurrent;
    return true;
}

void PageManager::onSwitchAnimFinish(lv_anim_t *a) {
    PageBase *base = static_cast<PageBase *>(lv_anim_get_user_data(a));
    PageManager *manager = base->Manager;

    LOG_INFO("Page(%s) Anim finish\r\n", base->Name);
    manager->StateUpdate(base);
    base->priv.Anim.IsBusy = false;
    bool isFinished = manager->SwitchReqCheck();
    if (!manager->AnimState.IsPushing && isFinished && manager->PageCurrent != nullptr) {
        manager->SwitchAnimTypeUpdate(manager->PageCurrent);
    }
}

bool PageManager::FourceUnload(PageBase *base) {
    if (base == nullptr) {
        LOG_ERROR("Page is nullptr, Unload failed\r\n");
        return false;
    }
    LOG_INFO("Page(%s) Fource unloading...\r\n", base->Name);
    if (base->priv.State == PageBase::PAGE_STATE_ACTIVITY) {
        LOG_INFO("Page state is ACTIVITY, Disappearing...\r\n");
        base->onViewWillDisappear();
        base->onViewDidDisappear();
    }
    base->priv.State = StateUnloadExecute(base);
    return true;
}

void PageManager::RemovePageFromStack(const char *name) {
    if (PageStack.empty()) {
        LOG_INFO("Page stack is empty, breaking...\r\n");
        return;
    }
    PageBase *top = PageStack.top();
    PageStack.pop();
    LOG_INFO("PageStack.size():%ld\r\n", (long)PageStack.size());
    LOG_INFO("top:%s   %s\r\n", top->Name, name);

    if (strcmp(top->Name, name) != 0) {
        RemovePageFromStack(name);
        PageStack.push(top);
    } else if (PageStack.empty()) {
        PagePrev = nullptr;
    }
}
