/* The page lifecycle state machine. */
#include "PageManager.h"

#include "log.h"

void PageManager::StateUpdate(PageBase *base) {
    if (base == nullptr) {
        return;
    }

    switch (base->priv.State) {
    case PageBase::PAGE_STATE_IDLE:
        LOG_INFO("Page(%s) state idle\r\n", base->Name);
        break;

    case PageBase::PAGE_STATE_LOAD:
        base->priv.State = StateLoadExecute(base);
        StateUpdate(base);
        break;

    case PageBase::PAGE_STATE_WILL_APPEAR:
        base->priv.State = StateWillAppearExecute(base);
        break;

    case PageBase::PAGE_STATE_DID_APPEAR:
        base->priv.State = StateDidAppearExecute(base);
        LOG_INFO("Page(%s) state active\r\n", base->Name);
        break;

    case PageBase::PAGE_STATE_ACTIVITY:
        LOG_INFO("Page(%s) state active break\r\n", base->Name);
        base->priv.State = PageBase::PAGE_STATE_WILL_DISAPPEAR;
        StateUpdate(base);
        break;

    case PageBase::PAGE_STATE_WILL_DISAPPEAR:
        base->priv.State = StateWillDisappearExecute(base);
        break;

    case PageBase::PAGE_STATE_DID_DISAPPEAR:
        base->priv.State = StateDidDisappearExecute(base);
        if (base->priv.State == PageBase::PAGE_STATE_UNLOAD) {
            StateUpdate(base);
        }
        break;

    case PageBase::PAGE_STATE_UNLOAD:
        base->priv.State = StateUnloadExecute(base);
        break;

    default:
        LOG_ERROR("Page(%s) state[%d] was NOT FOUND!\r\n", base->Name, (int)base->priv.State);
        break;
    }
}

PageBase::State_t PageManager::StateLoadExecute(PageBase *base) {
    LOG_INFO("Page(%s) state load\r\n", base->Name);

    if (base->root != nullptr) {
        LOG_ERROR("Page(%s) root must be nullptr\r\n", base->Name);
    }

    lv_obj_t *root_obj = lv_obj_create(lv_scr_act());
    lv_obj_remove_style_all(root_obj);
    lv_obj_set_size(root_obj, lv_disp_get_hor_res(nullptr), lv_disp_get_ver_res(nullptr));
    lv_obj_clear_flag(root_obj, LV_OBJ_FLAG_SCROLLABLE);
    lv_obj_align(root_obj, LV_ALIGN_CENTER, 0, 0);
    lv_obj_set_user_data(root_obj, base);
    base->root = root_obj;
    base->onViewLoad();

    /* A page that slides over a cached page can be dragged away to uncover it. */
    uint8_t type = AnimState.Current.Type;
    if (type >= LOAD_ANIM_OVER_LEFT && type <= LOAD_ANIM_OVER_BOTTOM) {
        PageBase *bottomPage = GetStackTopAfter();
        LoadAnimAttr_t animAttr;
        if (bottomPage != nullptr && bottomPage->priv.IsCached && GetCurrentLoadAnimAttr(&animAttr) &&
            animAttr.dragDir != ROOT_DRAG_DIR_NONE) {
            RootEnableDrag(base->root);
        }
    }

    base->onViewDidLoad();

    if (base->priv.IsDisableAutoCache) {
        LOG_INFO("Page(%s) disable auto cache, ReqEnableCache = %d\r\n", base->Name,
                 base->priv.ReqEnableCache);
        base->priv.IsCached = base->priv.ReqEnableCache;
    } else {
        LOG_INFO("Page(%s) AUTO cached\r\n", base->Name);
        base->priv.IsCached = true;
    }
    return PageBase::PAGE_STATE_WILL_APPEAR;
}

PageBase::State_t PageManager::StateWillAppearExecute(PageBase *base) {
    LOG_INFO("Page(%s) state will appear\r\n", base->Name);
    base->onViewWillAppear();
    lv_obj_clear_flag(base->root, LV_OBJ_FLAG_HIDDEN);
    SwitchAnimCreate(base);
    return PageBase::PAGE_STATE_DID_APPEAR;
}

PageBase::State_t PageManager::StateDidAppearExecute(PageBase *base) {
    LOG_INFO("Page(%s) state did appear\r\n", base->Name);
    base->onViewDidAppear();
    return PageBase::PAGE_STATE_ACTIVITY;
}

PageBase::State_t PageManager::StateWillDisappearExecute(PageBase *base) {
    LOG_INFO("Page(%s) state will disappear\r\n", base->Name);
    base->onViewWillDisappear();
    SwitchAnimCreate(base);
    return PageBase::PAGE_STATE_DID_DISAPPEAR;
}

PageBase::State_t PageManager::StateDidDisappearExecute(PageBase *base) {
    LOG_INFO("Page(%s) state did disappear\r\n", base->Name);
    if (AnimState.Current.Type == LOAD_ANIM_FADE_ON) {
        LOG_INFO("AnimState.TypeCurrent == LOAD_ANIM_FADE_ON, Page(%s) hidden\r\n", base->Name);
        lv_obj_add_flag(base->root, LV_OBJ_FLAG_HIDDEN);
    }
    base->onViewDidDisappear();
    if (base->priv.IsCached) {
        LOG_INFO("Page(%s) has cached\r\n", base->Name);
        return PageBase::PAGE_STATE_WILL_APPEAR;
    }
    return PageBase::PAGE_STATE_UNLOAD;
}

PageBase::State_t PageManager::StateUnloadExecute(PageBase *base) {
    LOG_INFO("Page(%s) state unload\r\n", base->Name);
    if (base->root == nullptr) {
        LOG_WARN("Page is loaded!\r\n");
        return PageBase::PAGE_STATE_IDLE;
    }

    if (base->priv.Stash.ptr != nullptr) {
        LOG_INFO("Page(%s) free stash(0x%p)[%d]\r\n", base->Name, base->priv.Stash.ptr,
                 (int)base->priv.Stash.size);
        lv_mem_free(base->priv.Stash.ptr);
        base->priv.Stash.ptr = nullptr;
        base->priv.Stash.size = 0;
    }

    lv_obj_del_async(base->root);
    base->root = nullptr;
    base->priv.IsCached = false;
    base->onViewDidUnload();
    return PageBase::PAGE_STATE_IDLE;
}
